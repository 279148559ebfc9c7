#pragma once
// Shared word records: fixed-size arrays of 32-bit words that hold integers,
// IEEE single reals and packed text side by side, addressed by word number
// (numbered from 0). Access is bit-exact; text packing is host-independent.
#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kelp {

// Character k (0..3) of a four-character group sits in bits 8k..8k+7 of the
// word value. Written big-endian, the group "ABCD" therefore appears in a data
// file as the bytes "DCBA", which is how every existing data file holds text.
inline std::int32_t pack_text4(std::string_view four) {
  std::uint32_t v = 0;
  for (std::size_t k = 0; k < 4; ++k) {
    const unsigned char c = k < four.size() ? static_cast<unsigned char>(four[k]) : ' ';
    v |= static_cast<std::uint32_t>(c) << (8 * k);
  }
  return static_cast<std::int32_t>(v);
}

inline std::string unpack_text4(std::int32_t word) {
  const auto v = static_cast<std::uint32_t>(word);
  std::string s(4, ' ');
  for (std::size_t k = 0; k < 4; ++k) s[k] = static_cast<char>((v >> (8 * k)) & 0xFFu);
  return s;
}

template <std::size_t N>
class WordRecord {
 public:
  static constexpr std::size_t kWords = N;

  WordRecord() : w_(N, 0) {}

  // Integer view of word n (a reference, so dialogue routines can edit it in place).
  std::int32_t& i(std::size_t n) { return w_[check(n)]; }
  std::int32_t i(std::size_t n) const { return w_[check(n)]; }

  // Real view of word n.
  float r(std::size_t n) const { return std::bit_cast<float>(w_[check(n)]); }
  void set_r(std::size_t n, float v) { w_[check(n)] = std::bit_cast<std::int32_t>(v); }

  // Text of nchars characters over the words from `first` on (nchars/4 words,
  // a partial last word keeps its other characters).
  std::string text(std::size_t first, std::size_t nchars) const {
    std::string s;
    s.reserve(nchars + 3);
    for (std::size_t k = 0; k * 4 < nchars; ++k) s += unpack_text4(i(first + k));
    s.resize(nchars);
    return s;
  }
  // Stores t blank-padded (or cut) to nchars characters.
  void set_text(std::size_t first, std::size_t nchars, std::string_view t) {
    for (std::size_t c = 0; c < nchars; ++c) {
      const std::size_t word = first + c / 4;
      const unsigned shift = static_cast<unsigned>(8 * (c % 4));
      const unsigned char ch = c < t.size() ? static_cast<unsigned char>(t[c]) : ' ';
      auto v = static_cast<std::uint32_t>(i(word));
      v = (v & ~(0xFFu << shift)) | (static_cast<std::uint32_t>(ch) << shift);
      i(word) = static_cast<std::int32_t>(v);
    }
  }

  std::span<std::int32_t> words() { return w_; }
  std::span<const std::int32_t> words() const { return w_; }
  void clear() { std::fill(w_.begin(), w_.end(), 0); }

  friend bool operator==(const WordRecord&, const WordRecord&) = default;

 private:
  static std::size_t check(std::size_t n) {
    if (n >= N) throw std::out_of_range("word number " + std::to_string(n) + " outside the record");
    return n;
  }
  std::vector<std::int32_t> w_;
};

// The central data record: the image of a data file.
inline constexpr std::size_t kTpcmWords = 78635;
using Tpcm = WordRecord<kTpcmWords>;

// The low-frequency coefficient tables: the image of "LOWDAT".
inline constexpr std::size_t kLowcofWords = 680;
using Lowcof = WordRecord<kLowcofWords>;

}  // namespace kelp
