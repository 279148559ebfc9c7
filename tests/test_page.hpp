#pragma once
// The shared fixture of page tests: the record an editor's page loop leaves,
// and a page run with scripted replies whose screen and words a table of
// cases checks (the prompts and count_of are in test_session.hpp).
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "edlib/record/data_record.hpp"
#include "sysutl/session.hpp"
#include "test_session.hpp"

namespace kelp::testing {

// The record as the page loop of the editor of `kind` leaves it: the kind,
// its vessel type (4, the disc buoy, for kind 4; 1 otherwise), the screen as
// output unit and the unit system.
inline void page_record(Tpcm& t, int kind = 4, int units = kUnitsEnglish) {
  t.i(kProgramKind) = kind;
  t.i(kVesselType) = kind == 4 ? 4 : 1;
  t.i(kOutputUnit) = kScreen;
  t.i(kUnitSystem) = units;
}

using PageFn = std::function<void(Session&)>;

// A real expected within a tolerance of a value worked out by hand.
struct Near {
  std::size_t word;
  float value;
  float tolerance;
};

// One run of a page for a table of cases: the replies, the record (kind,
// units, words set before), and what must follow: the words after (bit for
// bit, or near a value), texts shown in this order, texts never shown, how
// often texts appear, and the whole screen or its end.
struct PageCase {
  const char* name;
  std::string replies;
  Words preset = {};
  Words expect = {};
  std::vector<std::string> shows = {};
  std::vector<std::string> never = {};
  std::vector<std::pair<std::string, int>> counts = {};
  int kind = 4;
  int units = kUnitsEnglish;
  std::optional<std::string> screen = std::nullopt;
  std::string ends_with = {};
  std::vector<Near> near = {};
};

// Runs the page on a fresh session and returns it (screen and record).
inline std::unique_ptr<ScriptedSession> run_page_case(const PageFn& page, const PageCase& c) {
  auto t = std::make_unique<ScriptedSession>(c.replies);
  page_record(t->s.tpcm, c.kind, c.units);
  set_words(t->s.tpcm, c.preset);
  page(t->s);
  return t;
}

// Runs a case and checks everything it names.
inline void expect_page_case(const PageFn& page, const PageCase& c) {
  SCOPED_TRACE(c.name);
  const auto t = run_page_case(page, c);
  const std::string screen = t->shown();
  for (const Word& w : c.expect) EXPECT_EQ(t->s.tpcm.i(w.word), w.bits) << "word " << w.word;
  std::size_t at = 0;
  for (const std::string& text : c.shows) {
    const auto found = screen.find(text, at);
    ASSERT_NE(found, std::string::npos) << "missing, in order:\n" << text << "\nin\n" << screen;
    at = found + text.size();
  }
  for (const std::string& text : c.never) EXPECT_EQ(screen.find(text), std::string::npos) << text;
  for (const auto& [text, n] : c.counts) EXPECT_EQ(count_of(screen, text), n) << text;
  for (const Near& x : c.near) EXPECT_NEAR(t->s.tpcm.r(x.word), x.value, x.tolerance) << "word " << x.word;
  if (c.screen) {
    EXPECT_EQ(screen, *c.screen);
  }
  EXPECT_TRUE(screen.ends_with(c.ends_with)) << screen;
}

}  // namespace kelp::testing
