#include "sysutl/diskio.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <bit>
#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "sysutl/disk_stamp.hpp"
#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

namespace fs = std::filesystem;
using testing::be32;
using testing::FaultyFiles;
using testing::InTempDir;
using testing::ScriptedSession;
using testing::slurp;
using testing::write_file;
using Words = std::vector<std::int32_t>;

std::int32_t bits(float f) { return std::bit_cast<std::int32_t>(f); }

// A record of n words whose word 0 holds n and whose other words are distinct.
Words counted_record(int n) {
  Words w(static_cast<std::size_t>(n));
  w[0] = n;
  for (int k = 1; k < n; ++k)
    w[static_cast<std::size_t>(k)] = static_cast<std::int32_t>(1000003u * static_cast<std::uint32_t>(k) + 7u);
  return w;
}

std::string bare_words(const Words& words) {
  std::string bytes;
  for (std::int32_t w : words) bytes += be32(static_cast<std::uint32_t>(w));
  return bytes;
}

// Each test runs in a fresh directory of its own, since the "LOWDAT" rule
// looks at the file name as given; each case of a table starts it empty.
class DiskioTest : public InTempDir {
 protected:
  int write(const std::string& name, Words words, int n = -1) {
    if (n < 0) n = static_cast<int>(words.size());
    int status = -99;
    diskio(t.s, kDiskioWrite, n, name, 1, status, words, 21);
    return status;
  }
  int read(const std::string& name, int& nwords, Words& array) {
    int status = -99;
    diskio(t.s, kDiskioRead, nwords, name, 1, status, array, 21);
    return status;
  }
  std::set<std::string> entries() const {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.insert(e.path().filename().string());
    return names;
  }
  void empty_dir() const {
    for (const auto& e : fs::directory_iterator(dir_)) fs::remove_all(e.path());
  }

  ScriptedSession t;
};

// ---- The file format: bytes written, and read back bit for bit ----

TEST_F(DiskioTest, RecordsHaveTheOldByteLayoutAndComeBackBitForBit) {
  struct Case {
    const char* name;
    std::string file;
    Words words;
    std::size_t size;
    std::vector<std::pair<std::size_t, std::string>> bytes_at;
  };
  Words disc = counted_record(1987);
  disc[1] = 4;
  Words low(680);
  for (std::size_t k = 0; k < low.size(); ++k) low[k] = bits(0.25f * static_cast<float>(k));
  low[0] = 19;
  Words reals = counted_record(1987);
  reals[10] = bits(-0.0f);
  reals[11] = 0x7FC01234;  // quiet NaN with a payload
  reals[12] = 0x7F800001;  // signalling NaN
  reals[13] = bits(-std::numeric_limits<float>::infinity());
  reals[14] = bits(std::numeric_limits<float>::denorm_min());
  reals[15] = std::numeric_limits<std::int32_t>::min();
  const Case cases[] = {
      {"disc-buoy record", "RONDDAT", disc, 7956,
       {{0, std::string("\x00\x00\x1F\x0C\x00\x00\x07\xC3", 8)}, {8, be32(4)}, {7952, be32(0x1F0C)}}},
      {"mooring record", "PIVADAT", counted_record(78635), 314548,
       {{0, be32(314540)}, {4, be32(78635)}, {314544, be32(314540)}}},
      {"LOWDAT has no count word", "LOWDAT", low, 2728,
       {{0, std::string("\x00\x00\x0A\xA0", 4)}, {4, be32(19)}, {2724, std::string("\x00\x00\x0A\xA0", 4)}}},
      {"reals of every kind", "RONDDAT", reals, 7956, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    empty_dir();
    ASSERT_EQ(write(c.file, c.words), 0);
    const std::string bytes = slurp(c.file);
    ASSERT_EQ(bytes.size(), c.size);
    for (const auto& [at, expected] : c.bytes_at) EXPECT_EQ(bytes.substr(at, expected.size()), expected) << at;
    // Only the record remains in the directory: the temporary file is gone.
    EXPECT_EQ(entries(), std::set<std::string>{c.file});
    Words back(c.words.size(), 0);
    int n = static_cast<int>(c.words.size());
    EXPECT_EQ(read(c.file, n, back), 0);
    EXPECT_EQ(n, static_cast<int>(c.words.size()));
    EXPECT_EQ(back, c.words);
  }
}

TEST_F(DiskioTest, GfortranRecordRoundTripsByteForByte) {
  const std::string original = std::string(KELP_TEST_DATA) + "/records/gfortran_RONDDAT";
  Words words(1987, 0);
  int n = 1987;
  ASSERT_EQ(read(original, n, words), 0);
  ASSERT_EQ(write("RONDDAT", words), 0);
  EXPECT_EQ(slurp("RONDDAT"), slurp(original));
}

// ---- Reading: records of another length, and damaged files ----
// None crashes, none reports success, and nothing beyond the words really
// read is touched.

// `found` for a file cut short somewhere: any count below the one asked for.
constexpr int kFewer = -1;

TEST_F(DiskioTest, ReadsTakeWhatTheFileHoldsAndReportEveryShortfall) {
  struct Case {
    const char* name;
    std::string file;
    std::optional<std::string> bytes;  // none: no such file
    std::size_t size;                  // of the array, filled with `fill`
    std::int32_t fill;
    int asked;
    int status;
    int found;                                              // nwords after the read
    std::vector<std::pair<std::size_t, std::int32_t>> at = {};  // entries after the read
    std::optional<std::int32_t> rest = std::nullopt;        // every entry from `found` on
    std::optional<Words> whole = std::nullopt;              // the whole array after the read
  };
  const Words disc = counted_record(1987);
  const std::string record = encode_record(disc);
  Words low(680);
  for (std::size_t k = 0; k < low.size(); ++k) low[k] = static_cast<std::int32_t>(3 * k + 1);
  Words numbered(680);
  for (std::size_t k = 0; k < numbered.size(); ++k) numbered[k] = static_cast<std::int32_t>(k + 1);
  Words marker_first = low;
  marker_first[0] = kLowdatMarker;
  const int big = static_cast<int>(kDiskioStagingWords) + 100;
  const Words huge = counted_record(big);
  std::string bad_trailer = record;
  bad_trailer.replace(7952, 4, be32(7944));
  Words first_1987 = counted_record(4975);
  first_1987.resize(1987);
  const auto max = static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max());

  const Case cases[] = {
      // Records of another length.
      {"a longer file fills the asked words", "DUVADAT", encode_record(counted_record(4975)), 1987, 0, 1987, 4, 4975,
       {}, {}, first_1987},
      {"a shorter file leaves the rest as it was", "RONDDAT", record, 78635, -5, 78635, 4, 1987, {{1986, disc[1986]}},
       -5},
      {"a missing file changes nothing", "NOSUCHDAT", {}, 10, 7, 10, 1, 10, {}, {}, Words(10, 7)},
      {"an array smaller than the count is never overrun", "RONDDAT", record, 100, 0, 1987, 0, 1987,
       {{99, disc[99]}}},
      // No markers: the first word (1987) times 4 is not the first four bytes.
      {"a file of bare words is read whole", "RONDDAT", bare_words(disc), 1987, 0, 1987, 0, 1987, {}, {}, disc},
      {"LOWDAT rule: the first six characters", "LOWDAT2", encode_record(low), 680, 0, 680, 0, 680, {}, {}, low},
      // 2,720 bytes are 680 bare words, even when the first looks like the
      // marker: the record of 680 words takes 2,728 bytes.
      {"bare LOWDAT whose first word is 2720", "LOWDAT", bare_words(marker_first), 680, 99, 680, 0, 680, {}, {},
       marker_first},
      // Under another name the record fails the count test and is taken as
      // bare words, its two markers included.
      {"another name: bare words", "LOWBAK", encode_record(low), 682, 0, 680, 4, 682,
       {{0, 2720}, {1, low[0]}, {680, 0}}},
      {"a record longer than the staging area is cut", "BIGDAT",
       be32(static_cast<std::uint32_t>(4 * big)) + bare_words(huge) + be32(static_cast<std::uint32_t>(4 * big)),
       static_cast<std::size_t>(big), 0, big, 4, big,
       {{kDiskioStagingWords - 1, huge[kDiskioStagingWords - 1]}, {kDiskioStagingWords, 0}}},
      // Damaged files.
      {"cut at 0 bytes", "RONDDAT", record.substr(0, 0), 1987, -1, 1987, 4, kFewer, {}, -1},
      {"cut at 3 bytes", "RONDDAT", record.substr(0, 3), 1987, -1, 1987, 4, kFewer, {}, -1},
      {"cut at 7 bytes", "RONDDAT", record.substr(0, 7), 1987, -1, 1987, 4, kFewer, {}, -1},
      {"cut at 7948 bytes", "RONDDAT", record.substr(0, 7948), 1987, -1, 1987, 4, kFewer, {}, -1},
      // The marker, then 23 whole words of the record and room for its
      // trailing marker.
      {"cut at 100 bytes", "RONDDAT", record.substr(0, 100), 1987, -1, 1987, 4, 23, {{0, 1987}, {22, disc[22]}}, -1},
      {"markers that disagree", "RONDDAT", bad_trailer, 1987, 0, 1987, 4, 1987, {}, {}, disc},
      // A record short of any byte holds one whole word fewer than its count.
      {"trailing marker missing", "RONDDAT", record.substr(0, 7952), 1987, 0, 1987, 4, 1986},
      {"trailing marker cut", "RONDDAT", record.substr(0, 7955), 1987, 0, 1987, 4, 1986},
      // Marker -8 and count -2 agree in arithmetic, but no record has -2 words.
      {"a negative count is not well formed", "RONDDAT",
       be32(static_cast<std::uint32_t>(-8)) + be32(static_cast<std::uint32_t>(-2)) + be32(11) + be32(12) +
           be32(static_cast<std::uint32_t>(-8)),
       1987, -1, 1987, 4, 5, {{0, -8}, {4, -8}}, -1},
      // 0x40000000 words would be 2^32 bytes: in 32 bits the marker 0 "agrees".
      {"a count that wraps the marker", "RONDDAT", be32(0) + be32(0x40000000) + be32(1) + be32(0), 1987, -1, 1987, 4,
       4, {{1, 0x40000000}}},
      {"a count far beyond the file", "RONDDAT", be32(400000000) + be32(100000000) + be32(5) + be32(6), 1987, -1,
       1987, 4, 2, {{0, 100000000}, {1, 5}}, -1},
      {"the largest count with its wrapped marker", "RONDDAT",
       be32(static_cast<std::uint32_t>(-4)) + be32(max) + be32(9), 1987, -1, 1987, 4, 3},
      // A stale lowcof from an earlier read must not survive in the tail.
      {"a short LOWDAT zeroes the rest", "LOWDAT", encode_record(numbered).substr(0, 4 + 4 * 600), 680, 99, 680, 4,
       599, {{598, 599}}, 0},
      {"LOWDAT cut at 0 bytes", "LOWDAT", encode_record(numbered).substr(0, 0), 680, 99, 680, 4, 0, {}, 0},
      {"LOWDAT cut at 3 bytes", "LOWDAT", encode_record(numbered).substr(0, 3), 680, 99, 680, 4, 0, {}, 0},
      {"LOWDAT cut at 7 bytes", "LOWDAT", encode_record(numbered).substr(0, 7), 680, 99, 680, 4, 1, {}, 0},
      // A "LOWDAT" holding a record of another size is not taken as 680 words.
      {"LOWDAT of another size", "LOWDAT", encode_record(Words(681, 5)), 680, 99, 680, 4, 683, {{0, 2724}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    empty_dir();
    if (c.bytes) {
      write_file(c.file, *c.bytes);
    }
    Words back(c.size, c.fill);
    int n = c.asked;
    EXPECT_EQ(read(c.file, n, back), c.status);
    if (c.found == kFewer) {
      EXPECT_GE(n, 0);
      EXPECT_LT(n, c.asked);
    } else {
      EXPECT_EQ(n, c.found);
    }
    for (const auto& [k, v] : c.at) EXPECT_EQ(back[k], v) << k;
    if (c.rest) {
      for (auto k = static_cast<std::size_t>(std::max(n, 0)); k < back.size(); ++k) ASSERT_EQ(back[k], *c.rest) << k;
    }
    if (c.whole) {
      EXPECT_EQ(back, *c.whole);
    }
  }
}

TEST_F(DiskioTest, NamesThatAreNoRegularFileAreNotRead) {
  // A FIFO would block the program for good; a directory or a device is no
  // record. (Writing them is refused by the save, see the cascade's tests.)
  fs::create_directory("DIRDAT");
  ASSERT_EQ(::mkfifo("FIFODAT", 0600), 0);
  fs::create_symlink("/dev/zero", "DEVDAT");
  for (const char* name : {"DIRDAT", "FIFODAT", "DEVDAT"}) {
    Words back(1987, -1);
    int n = 1987;
    EXPECT_EQ(read(name, n, back), 1) << name;
    EXPECT_EQ(n, 1987);
    EXPECT_EQ(back, Words(1987, -1));
  }
}

// A file layer whose reads fail past the largest record, where a reader
// that went on to a huge file's end would meet them.
struct ReadsEndAtTheLargestRecord : FileSystem {
  struct Bounded : ReadFile, std::streambuf {
    using std::streambuf::int_type, std::streambuf::off_type, std::streambuf::pos_type, std::streambuf::traits_type;
    explicit Bounded(std::unique_ptr<ReadFile> file) : real(std::move(file)) { rdbuf(this); }
    std::optional<Protection> protection() override { return real->protection(); }
    std::optional<std::pair<std::uint64_t, std::uint64_t>> id() override { return real->id(); }
    int_type underflow() override {
      if (at >= kLargestRecordBytes) throw std::ios_base::failure("read past the largest record");
      return real->get(ch) ? (++at, setg(&ch, &ch, &ch + 1), traits_type::to_int_type(ch)) : traits_type::eof();
    }
    pos_type seekoff(off_type off, std::ios_base::seekdir dir, std::ios_base::openmode) override {
      if (dir == std::ios_base::cur) off -= egptr() - gptr();
      setg(nullptr, nullptr, nullptr);
      const std::streamoff now = real->seekg(off, dir).tellg();
      return at = static_cast<std::uint64_t>(std::max<std::streamoff>(now, 0)), pos_type(now);
    }
    pos_type seekpos(pos_type p, std::ios_base::openmode m) override { return seekoff(p, std::ios_base::beg, m); }
    std::unique_ptr<ReadFile> real;
    std::uint64_t at = 0;
    char ch = 0;
  };
  std::unique_ptr<ReadFile> open_read_at(const Place& at) override {
    auto real = FileSystem::open_read_at(at);
    return real ? std::make_unique<Bounded>(std::move(real)) : nullptr;
  }
};

TEST_F(DiskioTest, AFileLargerThanAnyRecordIsNeverReadToItsEnd) {
  // The load judges it by its size; its stamp is its size, its beginning
  // and which file it is.
  const auto layer = std::make_shared<ReadsEndAtTheLargestRecord>();
  t.s.set_files(layer);
  const std::string big(kLargestRecordBytes + 4000, 'x');
  const std::pair<std::function<void()>, bool> cases[] = {
      {[] {}, true},
      {[bytes = big]() mutable { bytes[0] = 'y', write_file("BIGDAT", bytes); }, false},
      {[&] { write_file("BIGDAT", big + "x"); }, false},
      {[&] { write_file("copy", big), fs::rename("copy", "BIGDAT"); }, false},  // the same bytes, another file
  };
  for (const auto& [change, same] : cases) {
    write_file("BIGDAT", big);
    const Resolution name = layer->resolve("BIGDAT");
    const auto was = stamp_at(*layer, name);
    ASSERT_TRUE(was);
    change();
    EXPECT_EQ(still_holds(*layer, name.at(), *was), same);
    Words back(10, 0);
    int n = 10;
    EXPECT_EQ(read("BIGDAT", n, back), 4);
    EXPECT_EQ(n, static_cast<int>(fs::file_size("BIGDAT") / 4));
  }
}

// ---- Writing ----

TEST_F(DiskioTest, AWriteReplacesTheFileWholeOrLeavesItAsItWas) {
  struct Case {
    const char* name;
    std::string file;
    std::optional<std::string> before;  // the file before the write (none: no file)
    Words words;
    int n;
    int status;
    std::optional<std::string> after;   // none: still no file
    FaultyFiles::Step fault = FaultyFiles::kNone;
  };
  const std::string old = encode_record(counted_record(1987));
  Words changed = counted_record(1987);
  changed[5] = 42;
  const Case cases[] = {
      {"an existing file becomes one record", "RONDDAT", encode_record(counted_record(4975)), counted_record(1987),
       1987, 0, old},
      {"a count beyond the array", "RONDDAT", "old contents", Words(10, 1), 11, 2, "old contents"},
      {"a count of 0", "RONDDAT", "old contents", Words(10, 1), 0, 2, "old contents"},
      {"a count of 0, new file", "NEWDAT", {}, Words(10, 1), 0, 3, {}},
      {"a full disk", "RONDDAT", old, changed, 1987, 2, old, FaultyFiles::kWrite},
      // A new file: bit 1 comes with bit 2, and no empty temporary is left.
      {"a full disk, new file", "PIVADAT", {}, changed, 1987, 3, {}, FaultyFiles::kWrite},
      {"no rename", "RONDDAT", old, changed, 1987, 2, old, FaultyFiles::kRename},
      {"no file can be created", "RONDDAT", old, changed, 1987, 2, old, FaultyFiles::kCreate},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    empty_dir();
    if (c.before) {
      write_file(c.file, *c.before);
    }
    t.s.set_files(std::make_shared<FaultyFiles>(c.fault));
    int n = c.n;
    int status = -99;
    Words words = c.words;
    diskio(t.s, kDiskioWrite, n, c.file, 1, status, words, 21);
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(n, c.n);  // the count is not changed
    if (c.after) {
      EXPECT_EQ(slurp(c.file), *c.after);
      EXPECT_EQ(entries(), std::set<std::string>{c.file});  // no temporary left
    } else {
      EXPECT_FALSE(fs::exists(c.file));
      EXPECT_TRUE(entries().empty());
    }
  }
}

// ---- Word helpers ----

TEST(WordHelpers, CopiesAreBitExactAndSafeForOverlappingBlocks) {
  std::vector<std::int32_t> a = {1, 2, 3, 4, 5, 6};
  // Shift a block up by one inside the same array.
  movcom(4, std::span<const std::int32_t>(a).subspan(0, 4), std::span<std::int32_t>(a).subspan(1));
  EXPECT_EQ(a, (std::vector<std::int32_t>{1, 1, 2, 3, 4, 6}));
  // And down by two.
  movcom(4, std::span<const std::int32_t>(a).subspan(2), a);
  EXPECT_EQ(a, (std::vector<std::int32_t>{2, 3, 4, 6, 4, 6}));
  // A count beyond either array is limited to the shorter one; 0 or less copies nothing.
  std::vector<std::int32_t> dst(3, 0);
  movcom(10, a, dst);
  EXPECT_EQ(dst, (std::vector<std::int32_t>{2, 3, 4}));
  movcom(-1, std::vector<std::int32_t>{9, 9, 9}, dst);
  EXPECT_EQ(dst, (std::vector<std::int32_t>{2, 3, 4}));

  const std::vector<float> src = {-0.0f, std::bit_cast<float>(0x7FC0BEEF), 2.5f};
  std::vector<float> out(3, 1.0f);
  movrel(3, src, out);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(out[0]), 0x80000000u);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(out[1]), 0x7FC0BEEFu);
  EXPECT_EQ(out[2], 2.5f);

  const std::vector<double> dsrc = {1.0 / 3.0, -0.0};
  std::vector<double> dout(2, 0.0);
  movdp(2, dsrc, dout);
  EXPECT_EQ(dout[0], 1.0 / 3.0);
  EXPECT_TRUE(std::signbit(dout[1]));

  std::int32_t w = 0;
  vrcvrt(0x7F800001, w);
  EXPECT_EQ(w, 0x7F800001);
}

TEST(WordHelpers, ExchangesSwapEveryElement) {
  std::vector<std::int32_t> a = {1, 2, 3}, b = {7, 8, 9, 10};
  swpcom(3, a, b);
  EXPECT_EQ(a, (std::vector<std::int32_t>{7, 8, 9}));
  EXPECT_EQ(b, (std::vector<std::int32_t>{1, 2, 3, 10}));
  swpcom(3, a, b);  // its own inverse
  EXPECT_EQ(a, (std::vector<std::int32_t>{1, 2, 3}));

  std::int32_t i = 1, j = 2;
  swpval(i, j);
  EXPECT_EQ(i, 2);
  EXPECT_EQ(j, 1);
  float x = -0.0f, y = std::bit_cast<float>(0x7FA00001);
  swpval(x, y);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(x), 0x7FA00001u);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(y), 0x80000000u);
  double d1 = 1.5, d2 = -2.25;
  dswpval(d1, d2);
  EXPECT_EQ(d1, -2.25);
  EXPECT_EQ(d2, 1.5);
  std::complex<float> c1(1, 2), c2(3, 4);
  cswpval(c1, c2);
  EXPECT_EQ(c1, std::complex<float>(3, 4));
  EXPECT_EQ(c2, std::complex<float>(1, 2));
}

TEST(WordHelpers, NochngComparesOnlyTheFirstNWords) {
  const std::vector<std::int32_t> a = {1, 2, 3}, b = {1, 2, 4};
  int same = -1;
  nochng(same, a, b, 2);
  EXPECT_EQ(same, 1);
  nochng(same, a, b, 3);
  EXPECT_EQ(same, 0);
  nochng(same, a, b, 0);
  EXPECT_EQ(same, 1);
  // NaNs with the same bits are the same word.
  const std::vector<std::int32_t> n1 = {0x7FC00001}, n2 = {0x7FC00001}, n3 = {0x7FC00002};
  nochng(same, n1, n2, 1);
  EXPECT_EQ(same, 1);
  nochng(same, n1, n3, 1);
  EXPECT_EQ(same, 0);
  // The change of sign of a zero is a change.
  const std::vector<std::int32_t> zero = {bits(0.0f)}, minus_zero = {bits(-0.0f)};
  nochng(same, minus_zero, minus_zero, 1);
  EXPECT_EQ(same, 1);
  nochng(same, minus_zero, zero, 1);
  EXPECT_EQ(same, 0);
}

}  // namespace
}  // namespace kelp
