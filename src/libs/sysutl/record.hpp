#pragma once
// Shared word records: fixed-size arrays of 32-bit words that hold integers,
// IEEE single reals and packed text side by side, addressed by word number
// (numbered from 0). Access is bit-exact; text packing is host-independent.
#include <algorithm>
#include <array>
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

// The name of a word, typed by what the word holds: an integer, an IEEE
// single real, or text of `chars` characters over the words from `n` on. The
// record accessors take the matching kind only (i() an IntWord, r() and
// set_r() a RealWord, text() and set_text() a TextWord), so a real word
// cannot be read as an integer by mistake; a name converts to its word
// number for address arithmetic (`kIdentLine1 + k`).
struct IntWord {
  std::size_t n;
  constexpr operator std::size_t() const { return n; }
};
struct RealWord {
  std::size_t n;
  constexpr operator std::size_t() const { return n; }
};
struct TextWord {
  std::size_t n;
  std::size_t chars;
  constexpr operator std::size_t() const { return n; }
};

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

  // Named words, by their kind.
  std::int32_t& i(IntWord w) { return i(w.n); }
  std::int32_t i(IntWord w) const { return i(w.n); }
  float r(RealWord w) const { return r(w.n); }
  void set_r(RealWord w, float v) { set_r(w.n, v); }
  std::string text(TextWord w) const { return text(w.n, w.chars); }
  void set_text(TextWord w, std::string_view t) { set_text(w.n, w.chars, t); }
  std::int32_t& i(RealWord) = delete;  // a real word is read with r()
  std::int32_t i(RealWord) const = delete;
  float r(IntWord) const = delete;     // an integer word is read with i()
  void set_r(IntWord, float) = delete;
  // The 32 bits of a real word, for the checked store (store_real) and copies.
  std::int32_t& bits(RealWord w) { return i(w.n); }

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

// The options record of the time-domain program: 137 option slots in three
// groups (53 logical, 32 integer, 52 real, each opened by a header slot), the
// 137 current values in words 0..136, the defaults in words 137..273 (slot
// k's default at word k + 137), and 137 option names of 30 characters,
// blank-padded. Logical slots hold 1/0, integer slots a 32-bit integer, real
// slots an IEEE single. Everything starts zero and blank here; the options
// module fills the defaults and names.
struct Gustrcom {
  static constexpr std::size_t kSlots = 137;
  static constexpr std::size_t kLogicalFirst = 0;
  static constexpr std::size_t kLogicalCount = 53;
  static constexpr std::size_t kIntegerFirst = 53;
  static constexpr std::size_t kIntegerCount = 32;
  static constexpr std::size_t kRealFirst = 85;
  static constexpr std::size_t kRealCount = 52;
  static constexpr std::size_t kDefaultOffset = kSlots;
  static constexpr std::size_t kWords = 2 * kSlots;  // 274
  static constexpr std::size_t kNameChars = 30;

  WordRecord<kWords> words;               // current values, then defaults
  std::array<std::string, kSlots> names;  // 30 characters each

  Gustrcom() { names.fill(std::string(kNameChars, ' ')); }

  // Word of the current value and of the default of slot k (0..136).
  static constexpr std::size_t value_word(std::size_t k) { return k; }
  static constexpr std::size_t default_word(std::size_t k) { return k + kDefaultOffset; }
};

}  // namespace kelp
