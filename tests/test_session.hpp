#pragma once
// A session with scripted replies and a captured screen, the prompts the
// dialogue writes, a count of a text on the screen, and the words a test
// sets in a record or expects there, for tests.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
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

// The words of two presets, the second after the first.
inline Words operator+(Words a, const Words& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

inline void set_words(Tpcm& t, const Words& words) {
  for (const Word& x : words) t.i(x.word) = x.bits;
}

// The prompts of the dialogue, as the screen shows them.
inline const std::string kSelect = " \n Enter number of selection (\"H\" for help): ";
inline const std::string kNewValue = " Enter new value: ";
inline const std::string kReturn = " \n Press <RETURN> to continue: ";
inline const std::string kAbortAsk = "\a Enter \"A\" to abort or Press <RETURN> to continue: ";

// How often a text appears on the screen (occurrences that do not overlap).
inline int count_of(std::string_view hay, std::string_view needle) {
  int n = 0;
  for (auto p = hay.find(needle); p != std::string_view::npos; p = hay.find(needle, p + needle.size())) ++n;
  return n;
}

// Replies that run a hook when one of them (counted from 0) is first read:
// what another session or the user does while that prompt waits.
struct HookedReplies : std::streambuf {
  explicit HookedReplies(std::streambuf* replies) : replies(replies) {}
  int_type underflow() override { return run(), replies->sgetc(); }
  int_type uflow() override {
    run();
    const int_type c = replies->sbumpc();
    if (traits_type::eq_int_type(c, traits_type::to_int_type('\n'))) ++line;
    return c;
  }
  void run() {
    const auto hook = hooks.find(line);
    if (hook != hooks.end() && hook->second) std::exchange(hook->second, nullptr)();
  }
  std::streambuf* replies;
  std::map<std::size_t, std::function<void()>> hooks;
  std::size_t line = 0;
};

struct ScriptedSession {
  // terminal: whether the captured screen counts as a real terminal (screen
  // clears are written only there).
  explicit ScriptedSession(std::string replies = {}, bool terminal = false)
      : in(std::move(replies)), s(in, screen, errors, terminal) {}
  std::string shown() const { return screen.str(); }
  void before_first_reply(std::function<void()> hook) { before_reply(0, std::move(hook)); }
  void before_reply(std::size_t k, std::function<void()> hook) {
    if (!hooked) {
      hooked = std::make_unique<HookedReplies>(in.rdbuf());
      static_cast<std::istream&>(in).rdbuf(hooked.get());
    }
    hooked->hooks[k] = std::move(hook);
  }
  std::unique_ptr<HookedReplies> hooked;
  std::istringstream in;
  std::ostringstream screen;
  std::ostringstream errors;
  Session s;
};

}  // namespace kelp::testing
