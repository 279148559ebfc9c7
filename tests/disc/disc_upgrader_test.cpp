// The disc-buoy upgrader: the notes and word changes of each threshold
// version, the table-size check, and a file of version 3.9 written by
// gfortran loaded through the loader with the upgrader registered.
#include "disc/e/disc_upgrader.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include "edlib/frame/loading.hpp"
#include "test_identity.hpp"
#include "test_upgrade.hpp"

namespace kelp {
namespace {

using namespace testing;

const Words kDiscFile = {iw(757, 1), iw(1914, 95)};
const Words kPoints = {iw(753, 12)};
const Words kCompanion0 = {iw(790, 0)};

TEST(DiscUpgrader, EachThresholdVersionGetsItsNotesAndChanges) {
  const Words sd = swell_directions_changes();
  const std::string later = kPointsNote + kSwellDirectionsNote + kVersion5Note + kNotResizedAgain;
  const std::vector<std::pair<UpgradeCase, const char*>> cases = {
      {{"1.30", dscupd, 4, 1.3f, kDiscFile, anomalous_ntab("          95") + later,
        {kOnesAt1658, kPoints, sd, kVersion5Defaults, kCompanion0}}, " 1.30"},
      {{"1.00 read by 1.31", dscupd, 4, 1.0f, kDiscFile, later,
        {kOnesAt1658, kPoints, sd, kVersion5Defaults, kCompanion0}, 1, 1.31f}, " 1.00"},
      {{"1.40", dscupd, 4, 1.4f, kDiscFile, later, {kOnesAt1658, kPoints, sd, kVersion5Defaults, kCompanion0}},
       " 1.40"},
      {{"3.91", dscupd, 4, 3.91f, kDiscFile, kSwellDirectionsNote + kVersion5Note + kNotResizedAgain,
        {kOnesAt1658, sd, kVersion5Defaults, kCompanion0}}, " 3.91"},
      {{"3.92", dscupd, 4, 3.92f, kDiscFile, kVersion5Note + kNotResizedAgain,
        {kOnesAt1658, kVersion5Defaults, kCompanion0}}, " 3.92"},
      {{"4.41", dscupd, 4, 4.41f, kDiscFile, kNotResizedAgain, {kOnesAt1658, kVersion5Defaults, kCompanion0}},
       " 4.41"},
      {{"4.90", dscupd, 4, 4.9f, kDiscFile, kNotResizedAgain, {kVersion5Defaults, kCompanion0}}, " 4.90"},
      {{"5.00", dscupd, 4, 5.0f, kDiscFile, kNotResizedAgain, {kCompanion0}}, " 5.00"},
      {{"-5.00", dscupd, 4, -5.0f, kDiscFile, kNotResizedAgain, {kCompanion0}}, " 5.00"},
      {{"5.57", dscupd, 4, 5.57f, kDiscFile, kNotResizedAgain, {}}, " 5.57"},
      {{"6.80", dscupd, 4, 6.8f, kDiscFile, kNoneNote, {}, 0}, " 6.80"},
      {{"7.00", dscupd, 4, 7.0f, kDiscFile, kNoneNote + kNewerWarning, {}, 0}, " 7.00"},
  };
  for (const auto& [c, heading] : cases) expect_upgrade(c, heading);
}

TEST(DiscUpgrader, TableSizeCheck) {
  const std::vector<std::pair<std::int32_t, std::string>> cases = {
      {-1, anomalous_ntab("          -1")}, {0, ""}, {1, anomalous_ntab("           1")}, {2, ntab_information(" 2")},
      {30, ntab_information("30")},        {31, ""}, {90, ""},  {91, anomalous_ntab("          91")}};
  for (const auto& [ntab, note] : cases) {
    const UpgradeRun r = run_upgrade(dscupd, 4, 1.35f, 149, {iw(1914, ntab)});
    EXPECT_EQ(r.report, upgrade_heading(" 1.35") + note + kSwellDirectionsNote + kVersion5Note + kNotResizedAgain)
        << ntab;
  }
}

TEST(DiscUpgrader, CurrentVersionWithOldMarkerGetsOnlyTheFairleadNote) {
  const UpgradeRun r = run_upgrade(dscupd, 4, 6.8f, 49, {});
  EXPECT_EQ(r.report, upgrade_heading(" 6.80") + kResizedNote);
  EXPECT_EQ(r.after.i(kFairleadLayout), 149);
  EXPECT_EQ(r.after.i(1351), r.seen.i(751));
}

TEST(DiscUpgrader, GfortranFileOfVersion390LoadsUpgraded) {
  ScriptedSession ss("M\n\n");
  auto files = std::make_shared<DirFiles>();
  ss.s.set_files(files);
  files->put("RONDDAT", slurp(std::string(KELP_TEST_DATA) + "/records/gfortran_RONDDAT_390"));
  kind_dispatch(ss.s).set_upgrader(4, dscupd);
  char letter = ' ';
  ASSERT_EQ(ioinit(ss.s, ronvaske_identity(), 1987, letter), kLoadReady);
  ss.s.close_unit(kWarningUnit);

  const std::string report =
      " ++> Version mismatch: Data (version  3.90) predates simulation (version  6.80)\n"
      "     Although a reasonable effort has been made to insure forward\n"
      "     compatibility of data files, this cannot be guaranteed.\n"
      "     Carefully inspect each editor screen before proceeding...\n" +
      upgrade_heading(" 3.90") + kPointsNote + kSwellDirectionsNote + kVersion5Note + kResizedNote;
  EXPECT_EQ(files->get("DATUPWRN.stxt"), report);
  EXPECT_NE(ss.shown().find(report), std::string::npos);

  // Each old word through the moves of files below 4.9 and the resize (old
  // words 1,300 and 1,400 drop out); the steps' edits move with the resize.
  const Tpcm& t = ss.s.tpcm;
  const Words expected = {
      iw(100, 1000100),   iw(330, 1000270),   iw(470, 1000350),   iw(720, 1000400),   iw(920, 1000500),
      iw(1420, 1000700),  rw(1920, 28.65f),   iw(1013, 1000321),  iw(1014, 1000322),  iw(1015, 1000323),
      iw(1016, 1000324),  iw(441, 0),         iw(1357, 1000637),  iw(1353, 12),       rw(477, 180.0f),
      rw(1967, 1.25f),    rw(1963, 1.0f),     iw(kFairleadLayout, 149), iw(kNavCode, 0), iw(kPrintPass, 0),
      iw(kOutputUnit, kScreen)};
  for (const Word& x : expected) EXPECT_EQ(t.i(x.word), x.bits) << "word " << x.word;
  const auto words = t.words();
  for (std::int32_t gone : {1001300, 1001400}) EXPECT_EQ(std::count(words.begin(), words.end(), gone), 0);
}

}  // namespace
}  // namespace kelp
