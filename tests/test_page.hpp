#pragma once
// The shared fixture of page tests: the prompts pages write, a count of a
// text on the screen, the record an editor's page loop leaves, and a page
// run with scripted replies whose screen and words a table of cases checks.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "edlib/data_record.hpp"
#include "sysutl/session.hpp"
#include "test_session.hpp"

namespace kelp::testing {

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

// One run of a page for a table of cases: the replies, the record (kind,
// units, words set before), and what must follow: the words after, texts
// shown in this order, texts never shown, and how often texts appear.
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
}

}  // namespace kelp::testing
