#include "moor/e/td_options.hpp"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "edlib/record/data_record.hpp"
#include "kelpkit/options_file.hpp"
#include "sysutl/session.hpp"
#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

using G = Gustrcom;
using Picks = std::array<std::int32_t, kPickCapacity>;

// A session as the options page finds it when the mooring editor has started:
// gustrcom filled, a storm of 3 hours and page 4's reporting list 7, 3, 12, 1.
struct OptionsSession {
  OptionsSession() {
    init_gustrcom(t.s.gustrcom);
    t.s.tpcm.set_r(kStormDuration, 3.0f);
    set_page4({7, 3, 12, 1});
  }
  G& g() { return t.s.gustrcom; }
  void set_page4(const std::vector<std::int32_t>& list) {
    for (std::size_t k = 0; k < list.size(); ++k) t.s.tpcm.i(*dynamic_line_word(static_cast<int>(k) + 1)) = list[k];
  }
  testing::ScriptedSession t;
  Picks current{};
  float hours = -1.0f;
};

TEST(TdOptions, SlotsAreNamedOnceEachWithSparesInLetterOrder) {
  OptionsSession o;
  std::set<std::string> names(o.g().names.begin(), o.g().names.end());
  EXPECT_EQ(names.size(), G::kSlots);
  for (const std::string& name : o.g().names) EXPECT_EQ(name.size(), G::kNameChars) << name;
  const std::vector<std::pair<std::size_t, std::string>> expected = {
      {0, "aaLogical"}, {31, "maneuvering"}, {32, "LLf"}, {33, "LLg"}, {52, "LLz"},
      {53, "aaInteger"}, {60, "squalProfiles"}, {61, "IIc"}, {84, "IIz"},
      {85, "aaReal"}, {112, "absSolvTolFac"}, {113, "RRc"}, {136, "RRz"},
  };
  for (const auto& [slot, name] : expected) EXPECT_EQ(o.g().names[slot], name + std::string(30 - name.size(), ' '));
  for (std::size_t k = 0; k < G::kSlots; ++k) EXPECT_EQ(o.g().words.i(k), 0) << "current value " << k;
}

TEST(TdOptions, RestoringTheDefaults) {
  struct Case {
    const char* what;
    std::int32_t stored_reports;  // default of nFldReports before the restore
    std::int32_t drag_selector;
    std::int32_t reports;         // nFldReports and its default after it
    std::int32_t ignore_drag;
  };
  const std::vector<Case> cases = {
      {"page 4 asks for 45", 45, 1, 39, 1},
      {"four reports", 4, 0, 4, 0},
      {"other selector", 4, 2, 4, 0},
      {"none", 0, 1, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    OptionsSession o;
    std::vector<std::int32_t> page4(kPickCapacity);
    for (std::size_t k = 0; k < page4.size(); ++k) page4[k] = static_cast<std::int32_t>(k + 1);
    o.set_page4(page4);
    for (std::size_t k = 0; k < G::kSlots; ++k) o.g().words.i(k) = 5;
    o.g().words.i(kDefaultNFldReportsWord) = c.stored_reports;
    o.t.s.tpcm.i(kExcludeWaveAbsorption) = c.drag_selector;
    o.t.s.tpcm.i(kForceRebuild) = 1;
    o.t.s.tpcm.set_r(kExcursionDiameter, 12.5f);
    o.current.fill(-1);

    load_default_opts(o.t.s, o.current, o.hours);
    const auto& w = o.g().words;
    EXPECT_EQ(o.hours, 3.0f);
    EXPECT_EQ(w.r(option_word("fullDuration")), 10800.0f);
    EXPECT_EQ(w.r(kDefaultFullDurationWord), 10800.0f);
    EXPECT_EQ(w.i(kNFldReportsWord), c.reports);
    EXPECT_EQ(w.i(kDefaultNFldReportsWord), c.reports);
    EXPECT_EQ(o.t.s.tpcm.i(kIgnoreDragVariability), c.ignore_drag);
    EXPECT_EQ(o.t.s.tpcm.i(kForceRebuild), 0);
    EXPECT_EQ(o.t.s.tpcm.r(kExcursionDiameter), 0.0f);
    for (std::size_t k = 0; k < kPickCapacity; ++k) {
      EXPECT_EQ(o.current[k], k < static_cast<std::size_t>(c.reports) ? page4[k] : -1) << "pick " << k;
    }
    // Group headers, spares and the flags come back false or 0.
    for (std::size_t word : {0, 32, 52, 53, 61, 84, 85, 113, 136}) EXPECT_EQ(w.i(word), 0) << word;
    EXPECT_EQ(w.i(option_word("overRideLinePicks")), 0);
  }
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(TdOptions, DefaultsFileMatchesTheReferenceWrittenByGfortran) {
  OptionsSession o;
  auto files = std::make_shared<testing::DirFiles>();
  o.t.s.set_files(files);
  o.g().words.i(kDefaultNFldReportsWord) = 4;
  load_default_opts(o.t.s, o.current, o.hours);
  ASSERT_TRUE(write_td_opts(o.t.s, "GUSTRDAT", 6.8f, 0, kTdOptsFormatVersion, kTdOptsFormatMinor, o.hours,
                            o.g().words.i(kDefaultNFldReportsWord), page4_picks(o.t.s), o.current, kScreen));
  const auto got = lines_of(files->get("GUSTRDAT"));
  const auto want = lines_of(testing::slurp(std::string(KELP_TEST_DATA) + "/options/gfortran_GUSTRDAT"));
  ASSERT_EQ(got.size(), 9u);
  ASSERT_EQ(want.size(), 9u);
  for (std::size_t k = 1; k < 9; ++k) EXPECT_EQ(got[k], want[k]) << "line " << k + 1;
}

TEST(TdOptions, SettlingAfterARead) {
  struct Case {
    const char* what;
    float full_duration;   // seconds, as read
    std::int32_t reports;  // nFldReports as read
    Picks current;
    float tolerance;       // both solver tolerance factors as read
    float hours;
    bool override_duration;
    bool override_picks;
    float settled_tolerance;
  };
  const std::vector<Case> cases = {
      {"as the data record implies", 10800.0f, 4, {7, 3, 12, 1, 50}, 2.0f, 3.0f, false, false, 2.0f},
      {"no duration in the file", 0.0f, 4, {7, 3, 12, 1}, 0.0f, 3.0f, false, false, 1.0f},
      {"negative duration", -3600.0f, 4, {7, 3, 12, 1}, -1.0f, 3.0f, false, false, 1.0f},
      {"own duration", 7200.0f, 4, {7, 3, 12, 1}, 1.0f, 2.0f, true, false, 1.0f},
      {"own picks", 10800.0f, 4, {7, 3, 1, 12}, 1.0f, 3.0f, false, true, 1.0f},
      {"fewer picks", 10800.0f, 3, {7, 3, 12}, 1.0f, 3.0f, false, true, 1.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    OptionsSession o;
    auto& w = o.g().words;
    w.set_r(option_word("fullDuration"), c.full_duration);
    w.i(kNFldReportsWord) = c.reports;
    w.i(kDefaultNFldReportsWord) = 4;
    w.set_r(option_word("relSolvTolFac"), c.tolerance);
    w.set_r(option_word("absSolvTolFac"), c.tolerance);
    w.i(option_word("overRideFullDuration")) = 7;
    w.i(option_word("overRideLinePicks")) = 7;
    EXPECT_EQ(settle_read_opts(o.t.s, c.current), c.hours);
    EXPECT_EQ(w.i(option_word("overRideFullDuration")), c.override_duration ? 1 : 0);
    EXPECT_EQ(w.i(option_word("overRideLinePicks")), c.override_picks ? 1 : 0);
    EXPECT_EQ(w.r(option_word("relSolvTolFac")), c.settled_tolerance);
    EXPECT_EQ(w.r(option_word("absSolvTolFac")), c.settled_tolerance);
  }
}

}  // namespace
}  // namespace kelp
