#include "sysutl/diskio.hpp"

#include <algorithm>
#include <bit>
#include <functional>
#include <istream>
#include <limits>
#include <memory>
#include <ostream>
#include <utility>
#include <vector>

#include "sysutl/file_replace.hpp"
#include "sysutl/session.hpp"

namespace kelp {

namespace {

// The reader's staging area: the bytes of the largest record it takes (its
// two markers and 126,831 words), allocated once per session.
struct DiskioStaging {
  std::vector<char> bytes;
};

std::int32_t word_at(const std::vector<char>& bytes, std::size_t pos) {
  std::uint32_t v = 0;
  for (std::size_t k = 0; k < 4; ++k) v = (v << 8) | static_cast<unsigned char>(bytes[pos + k]);
  return static_cast<std::int32_t>(v);
}

void put_word(std::string& out, std::int32_t word) {
  const auto v = static_cast<std::uint32_t>(word);
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((v >> shift) & 0xFFu));
}

bool is_lowdat_name(const std::string& name) { return name.rfind("LOWDAT", 0) == 0; }

std::size_t limit(int n, std::size_t a, std::size_t b) {
  if (n <= 0) return 0;
  return std::min({static_cast<std::size_t>(n), a, b});
}

struct ReadResult {
  std::size_t first_byte = 0;  // where the words start in the staging bytes
  std::size_t words = 0;       // whole words of the record present in the file
  bool whole = true;           // the record was read whole and its markers agree
};

// Decides how the file holds its words and how many of them are present.
// `got` bytes are staged; the file holds `total` bytes (at least `got`).
ReadResult locate_words(const std::vector<char>& bytes, std::size_t got, std::size_t total, bool lowdat) {
  ReadResult r;
  if (got < 8) {
    // The marker and the first word cannot both be read.
    r.words = got / 4;
    r.whole = false;
    return r;
  }
  // 64-bit arithmetic: a count whose byte length passes 32 bits never matches.
  const std::int64_t marker = word_at(bytes, 0);
  const std::int64_t first = word_at(bytes, 4);
  // "LOWDAT" of exactly 2,720 bytes is its 680 words without markers, even
  // when its first word is 2,720: the record of 680 words takes 2,728 bytes.
  const bool well_formed = lowdat ? marker == kLowdatMarker && total != kBareLowdatBytes
                                  : (first >= 1 && first * 4 == marker);
  if (!well_formed) {
    // Bare words from the first byte.
    r.words = total / 4;
    return r;
  }
  // A record is its two markers and the words between them: of a file cut
  // short, only the words that leave room for the trailing marker count as
  // present (one byte short means one word fewer, never the full count).
  const auto count = static_cast<std::size_t>(marker / 4);
  const std::size_t trailer = 4 + 4 * count;
  r.first_byte = 4;
  if (total < trailer + 4) {
    r.words = (total - 8) / 4;
    r.whole = false;
  } else {
    r.words = count;
    r.whole = got >= trailer + 4 && word_at(bytes, trailer) == marker;
  }
  return r;
}

int read_record(Session& s, int& nwords, const std::string& name, std::unique_ptr<FileSystem::ReadFile> in,
                std::span<std::int32_t> array) {
  if (!in) return kDiskioNotFound;

  auto& bytes = s.state<DiskioStaging>().bytes;
  if (bytes.size() != kLargestRecordBytes) bytes.assign(kLargestRecordBytes, 0);
  in->read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  const auto got = static_cast<std::size_t>(std::max<std::streamsize>(in->gcount(), 0));
  // What lies beyond the staging area is not read: the file's end says how
  // much there is.
  std::size_t total = got;
  bool stream_error = in->bad();
  if (got == bytes.size()) {
    const std::streamoff end = in->seekg(0, std::ios::end).tellg();
    stream_error = stream_error || end < 0;
    total = std::max(total, static_cast<std::size_t>(std::max<std::streamoff>(end, 0)));
  }
  in.reset();

  const bool lowdat = is_lowdat_name(name);
  const ReadResult r = locate_words(bytes, got, total, lowdat);
  // Only staged words can be copied.
  const std::size_t staged = std::min({r.words, (got - std::min(got, r.first_byte)) / 4, kDiskioStagingWords});

  const std::size_t copied = limit(nwords, staged, array.size());
  for (std::size_t k = 0; k < copied; ++k) array[k] = word_at(bytes, r.first_byte + 4 * k);
  if (lowdat) {
    // "LOWDAT" fills its 680 words: what the file did not hold is zero, never
    // a stale word of an earlier read.
    const std::size_t end = limit(nwords, static_cast<std::size_t>(kLowdatWords), array.size());
    for (std::size_t k = copied; k < end; ++k) array[k] = 0;
  }

  int status = 0;
  if (!r.whole || stream_error || staged < r.words) status |= kDiskioReadFailed;
  if (nwords < 0 || static_cast<std::size_t>(nwords) != r.words) status |= kDiskioReadFailed;
  nwords = static_cast<int>(std::min<std::size_t>(r.words, std::numeric_limits<int>::max()));
  return status;
}

}  // namespace

RecordFrame record_frame(Session& s, const std::string& name) {
  RecordFrame frame;
  auto in = s.files().open_read(name);
  if (!in) return frame;
  frame.readable = true;
  std::string head(4, '\0');
  in->read(head.data(), 4);
  const auto got = static_cast<std::size_t>(std::max<std::streamsize>(in->gcount(), 0));
  in->clear();
  in->seekg(0, std::ios::end);
  const std::streamoff end = in->tellg();
  frame.bytes = end > 0 ? static_cast<std::size_t>(end) : got;
  if (got < 4) return frame;
  const std::vector<char> lead(head.begin(), head.end());
  frame.leading = word_at(lead, 0);
  // The trailing marker stands behind the leading one and the words it
  // announces; a negative marker announces nothing.
  if (*frame.leading < 0) return frame;
  const auto at = static_cast<std::size_t>(4 + static_cast<std::int64_t>(*frame.leading));
  if (at + 4 > frame.bytes) return frame;
  std::vector<char> tail(4, '\0');
  in->seekg(static_cast<std::streamoff>(at));
  in->read(tail.data(), 4);
  if (in->gcount() == 4) frame.trailing = word_at(tail, 0);
  return frame;
}

std::string encode_record(std::span<const std::int32_t> words) {
  std::string out;
  out.reserve(4 * (words.size() + 2));
  const auto marker = static_cast<std::int32_t>(static_cast<std::uint32_t>(4 * words.size()));
  put_word(out, marker);
  for (std::int32_t w : words) put_word(out, w);
  put_word(out, marker);
  return out;
}

void diskio(Session& s, int mode, int& nwords, const std::string& name, int /*unit*/, int& status,
            std::span<std::int32_t> array, int /*oscode*/) {
  if (mode == kDiskioWrite) {
    const bool existed = s.files().exists(name);
    if (nwords < 1 || static_cast<std::size_t>(nwords) > array.size() ||
        static_cast<std::size_t>(nwords) > kDiskioStagingWords) {
      status = kDiskioWriteFailed;
    } else {
      const std::string bytes = encode_record(array.first(static_cast<std::size_t>(nwords)));
      status = replace_file(s.files(), name, bytes) ? 0 : kDiskioWriteFailed;
    }
    if (status != 0 && !existed) status |= kDiskioNotFound;
    return;
  }
  status = read_record(s, nwords, name, s.files().open_read(name), array);
}

int diskio_read_at(Session& s, int& nwords, const Resolution& name, std::span<std::int32_t> array) {
  return read_record(s, nwords, name.name(), s.files().open_read(name), array);
}

namespace {

// Copies n elements; a destination that starts inside the source block is
// filled from the end, so overlapping blocks come out as if copied whole.
template <class T>
void move_block(int n, std::span<const T> src, std::span<T> dst) {
  const std::size_t m = limit(n, src.size(), dst.size());
  if (m == 0) return;
  const std::less<const T*> before;
  const T* from = src.data();
  const T* to = dst.data();
  if (before(from, to) && before(to, from + m)) {
    std::copy_backward(src.begin(), src.begin() + static_cast<std::ptrdiff_t>(m),
                       dst.begin() + static_cast<std::ptrdiff_t>(m));
  } else {
    std::copy(src.begin(), src.begin() + static_cast<std::ptrdiff_t>(m), dst.begin());
  }
}

}  // namespace

void movcom(int n, std::span<const std::int32_t> src, std::span<std::int32_t> dst) { move_block(n, src, dst); }

void movrel(int n, std::span<const float> src, std::span<float> dst) { move_block(n, src, dst); }

void movdp(int n, std::span<const double> src, std::span<double> dst) { move_block(n, src, dst); }

void vrcvrt(std::int32_t src, std::int32_t& dst) { dst = src; }

void swpcom(int n, std::span<std::int32_t> a, std::span<std::int32_t> b) {
  const std::size_t m = limit(n, a.size(), b.size());
  for (std::size_t k = 0; k < m; ++k) std::swap(a[k], b[k]);
}

void swpval(std::int32_t& a, std::int32_t& b) { std::swap(a, b); }

void swpval(float& a, float& b) {
  // Through the raw bits, so a signalling NaN keeps its payload.
  const auto ta = std::bit_cast<std::uint32_t>(a);
  a = std::bit_cast<float>(std::bit_cast<std::uint32_t>(b));
  b = std::bit_cast<float>(ta);
}

void dswpval(double& a, double& b) {
  const auto ta = std::bit_cast<std::uint64_t>(a);
  a = std::bit_cast<double>(std::bit_cast<std::uint64_t>(b));
  b = std::bit_cast<double>(ta);
}

void cswpval(std::complex<float>& a, std::complex<float>& b) { std::swap(a, b); }

void nochng(int& same, std::span<const std::int32_t> a, std::span<const std::int32_t> b, int n) {
  const std::size_t m = limit(n, a.size(), b.size());
  same = std::equal(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(m), b.begin()) ? 1 : 0;
}

}  // namespace kelp
