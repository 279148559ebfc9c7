#pragma once
// A session with scripted replies and a captured screen, and the words a
// test sets in a record or expects there, for tests.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "sysutl/session.hpp"

namespace kelp::testing {

// A word a test sets (or expects), as bits.
struct Word {
  std::size_t word;
  std::int32_t bits;
};
inline Word iw(std::size_t w, std::int32_t v) { return {w, v}; }
inline Word rw(std::size_t w, float v) { return {w, std::bit_cast<std::int32_t>(v)}; }
using Words = std::vector<Word>;

inline void set_words(Tpcm& t, const Words& words) {
  for (const Word& x : words) t.i(x.word) = x.bits;
}

struct ScriptedSession {
  // terminal: whether the captured screen counts as a real terminal (screen
  // clears are written only there).
  explicit ScriptedSession(std::string replies = {}, bool terminal = false)
      : in(std::move(replies)), s(in, screen, errors, terminal) {}
  std::string shown() const { return screen.str(); }
  std::istringstream in;
  std::ostringstream screen;
  std::ostringstream errors;
  Session s;
};

}  // namespace kelp::testing
