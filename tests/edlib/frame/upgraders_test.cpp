// The upgraders of the ship, semisubmersible, single-anchor-leg and moored
// kinds: for a file of each threshold version, exactly the notes (on the
// screen and in the warning report) and the word changes; paging; the
// refusal of old moored files; the fairlead resize at the end.
#include "edlib/frame/upgraders.hpp"
#include "edlib/record/member_table.hpp"

#include <gtest/gtest.h>

#include "edlib/frame/kind_dispatch.hpp"
#include "edlib/frame/loading.hpp"
#include "test_upgrade.hpp"

namespace kelp {
namespace {

using namespace testing;

// ---- Ship and semisubmersible (the steps they share with the disc buoy are
// covered version by version in the disc-buoy upgrader's tests) ----
const Words kShipFile = {iw(757, 1), iw(1914, 25)};
const Words kSemiFile = {iw(757, 1), iw(1914, 1), iw(3657, 0)};
const Words kPoints = {iw(753, 12)};
const Words kSwellWidth = {rw(460, 0.1f)};
const Words kCompanion0 = {iw(790, 0)};
const std::string kNtab25 = ntab_information("25");
const std::string kMembers =
    "\n ++> This file shows an anomalous number of members\n\n"
    "     It may not have been properly converted using the\n"
    "     Brenvik \"16-49 Line Conversion Utility\". Proceed with caution.\n";

TEST(VesselUpgraders, EachThresholdVersionGetsItsNotesAndChanges) {
  const Words sd = swell_directions_changes();
  const std::string later = kPointsNote + kSwellDirectionsNote + kVersion5Note;
  const std::vector<std::pair<UpgradeCase, const char*>> cases = {
      {{"ship 3.50", shpupd, 1, 3.5f, kShipFile, kSwellWidthNote + kNtab25 + later + kNotResizedAgain,
        {kOnesAt1658, kSwellWidth, kPoints, sd, kVersion5Defaults, kCompanion0}}, " 3.50"},
      {{"ship 3.52", shpupd, 1, 3.52f, kShipFile, kNtab25 + later + kNotResizedAgain,
        {kOnesAt1658, kPoints, sd, kVersion5Defaults, kCompanion0}}, " 3.52"},
      {{"ship 3.90", shpupd, 1, 3.9f, kShipFile, later + kNotResizedAgain,
        {kOnesAt1658, kPoints, sd, kVersion5Defaults, kCompanion0}}, " 3.90"},
      {{"ship 5.00", shpupd, 1, 5.0f, kShipFile, kNotResizedAgain, {kCompanion0}}, " 5.00"},
      {{"ship 6.01", shpupd, 1, 6.00999f, kShipFile, kNoneNote, {}, 0}, " 6.01"},
      {{"semi 3.50", semupd, 3, 3.5f, kSemiFile,
        kSwellWidthNote + kMembers + anomalous_ntab("           1") + later + kAddedMassNote + kNotResizedAgain,
        {kSwellWidth, kPoints, sd, kVersion5Defaults}}, " 3.50"},
      {{"semi 3.90", semupd, 3, 3.9f, kSemiFile, later + kAddedMassNote + kNotResizedAgain,
        {kPoints, sd, kVersion5Defaults}}, " 3.90"},
      {{"semi 5.00", semupd, 3, 5.0f, kSemiFile, kAddedMassNote + kNotResizedAgain, {}}, " 5.00"},
      {{"semi 5.57", semupd, 3, 5.57f, kSemiFile, kNotResizedAgain, {}}, " 5.57"},
  };
  for (const auto& [c, heading] : cases) expect_upgrade(c, heading);
}

// ---- Single-anchor-leg mooring ----
const Words kSalmFile = {iw(2, 3),          iw(4, 7),         iw(kWindSelector, 0), iw(kCurrentSelector, 0x712),
                         iw(kDriftSelector, 0x112), iw(kVesselType, 4), rw(1665, 224000.0f), iw(1914, 0),
                         iw(177, 7),        rw(489, 0.0f)};
const std::string kN321 =
    "\n ++> Specif" "ication of (X,Y) coordinate for application of auxiliary\n     external force/moment.\n";
const std::string kN333 =
    "\n ++> Changed Tanker Load Specif" "ication from a Ballasted/Loaded \"toggle\"\n"
    "     to a continuous range: (Ballasted = 32%, Loaded = 100%).\n";
const std::string kN347 =
    "\n ++> Changed data sp" "ecs for \"user supplied\" vessel dynamics;\n"
    "     these will be adjusted automatically if you \"Continue\".\n";
const std::string kTanker =
    "\n ++> Changed tanker \"SIZE\" determination from a two-way \"toggle\" based\n"
    "     on Deadweight Tonnage to a continuous range: (Small < 80 kDWT, Large >\n"
    "140 kDWT, interpolation for intermediate sizes). No data file changes,\n"
    "     but \"intermediate\" size tanker simulation will be affected.\n";
const std::string kAux =
    "\n ++> Modified auxiliary force/torque data specif" "ications; these will be\n"
    "     adjusted automatically if you \"Continue\".\n";
const std::string kEnv =
    "\n ++> Updated & enhanced environmental forcing options; implemented user\n"
    "     specif" "ication of force coefficients.\n";
const std::string kDrift = "\n ++> Added variable wave drift spectrum enhancement factor.\n";
const std::string kAnch = "\n ++> Changed ANCHDAT file size.\n";
const std::string kSurface =
    "\n ++> Eliminated surface point for current depth distribution. \n     See Current definition page.\n";
const std::string kDrag = "\n ++> Wave drag and drift forces on semi/tlp/spar shapes \n     reworked from the ground up.\n";
const std::string kDamping = "\n ++> Overhaul of low-frequency damping.\n";

float real_of(std::size_t w) { return static_cast<float>(background(w)); }
const Words kSalm49 = {kOnesAt1658[0], kOnesAt1658[1], kOnesAt1658[2], kOnesAt1658[3], iw(183, 1), iw(184, 1),
                       iw(185, 1)};
const Words kSalm347 = {iw(kVesselType, 3), iw(777, 7)};
const Words kSalm351 = {iw(1440, background(1905)), iw(1441, background(1906))};
const Words kSalm36 = {iw(770, 0), iw(771, 0), iw(772, 0), rw(1388, real_of(770)), rw(1389, real_of(771)),
                       rw(1391, real_of(771)), rw(1390, real_of(772)), rw(1392, real_of(772)), rw(1394, real_of(772))};
const Words kSalm37 = {rw(1366, 1.0f)};
// The surface point dropped from a profile of 7 points: six remain, and the
// shift stops after the five entries of a column.
const Words kSalm441 = {iw(177, 6),
                        iw(461, background(462)), iw(462, background(463)), iw(463, background(464)),
                        iw(464, background(465)), iw(465, background(467)), iw(466, background(467)),
                        iw(467, background(468)), iw(468, background(469)), iw(469, background(470)),
                        iw(470, background(471))};
const Words kSalm553 = {iw(153, 1)};
const Words kSalm559 = {rw(489, 32.81f)};
Words selectors(std::int32_t wind, std::int32_t current, std::int32_t drift) {
  return {iw(kWindSelector, wind), iw(kCurrentSelector, current), iw(kDriftSelector, drift)};
}

TEST(SalmUpgrader, EachThresholdVersionGetsItsNotesAndChanges) {
  const Words sd = swell_directions_changes();
  const std::string from392 = kSwellDirectionsNote + kAnch + kSurface + kVersion5Note + kDrag + kDamping;
  const std::string from36 = kEnv + kDrift + anomalous_ntab("           0") + from392;
  const Words wind_0x123 = {iw(kWindSelector, 0x123)};
  const std::vector<std::pair<UpgradeCase, const char*>> cases = {
      {{"3.00", slmupd, 11, 3.0f, kSalmFile,
        kN321 + kN333 + kN347 + kTanker + kAux + kSwellWidthNote + from36 + kNotResizedAgain,
        {kSalm49, kSalm347, kSalm351, kSwellWidth, kSalm36, kSalm37, sd, selectors(0x444, 0x333, 0x333), kSalm441,
         kVersion5Defaults, kSalm553, {iw(790, 1)}, kSalm559}}, " 3.00"},
      {{"3.47", slmupd, 11, 3.47f, kSalmFile, kTanker + kAux + kSwellWidthNote + from36 + kNotResizedAgain,
        {kSalm49, kSalm351, kSwellWidth, kSalm36, kSalm37, sd, selectors(0x444, 0x333, 0x444), kSalm441,
         kVersion5Defaults, kSalm553, {iw(790, 0)}, kSalm559}}, " 3.47"},
      {{"3.51", slmupd, 11, 3.51f, kSalmFile, kSwellWidthNote + from36 + kNotResizedAgain,
        {kSalm49, kSwellWidth, kSalm36, kSalm37, sd, selectors(0x444, 0x333, 0x444), kSalm441, kVersion5Defaults,
         kSalm553, {iw(790, 0)}, kSalm559}}, " 3.51"},
      {{"3.60", slmupd, 11, 3.6f, kSalmFile, kDrift + anomalous_ntab("           0") + from392 + kNotResizedAgain,
        {kSalm49, kSalm37, sd, {iw(kCurrentSelector, 0xF64), iw(kDriftSelector, 0x441)}, kSalm441,
         kVersion5Defaults, kSalm553, {iw(790, 0)}, kSalm559}}, " 3.60"},
      {{"4.20", slmupd, 11, 4.2f, wind_0x123, kSurface + kVersion5Note + kDrag + kDamping + kNotResizedAgain,
        {kSalm49, {iw(kWindSelector, 0x431), iw(kCurrentSelector, 0x666), iw(kDriftSelector, 0x222)},
         {iw(177, 2), iw(461, background(462)), iw(462, background(463)), iw(466, background(467)),
          iw(467, background(468))},
         kVersion5Defaults, kSalm553, {iw(790, 0)}}}, " 4.20"},
      {{"4.28", slmupd, 11, 4.28f, kSalmFile, kSurface + kVersion5Note + kDrag + kDamping + kNotResizedAgain,
        {kSalm49, {iw(kCurrentSelector, 0xF12)}, kSalm441, kVersion5Defaults, kSalm553, {iw(790, 0)}, kSalm559}},
       " 4.28"},
      {{"4.90", slmupd, 11, 4.9f, kSalmFile, kDrag + kDamping + kNotResizedAgain,
        {{iw(kCurrentSelector, 0xF12)}, kVersion5Defaults, kSalm553, {iw(790, 0)}, kSalm559}}, " 4.90"},
      {{"5.38", slmupd, 11, 5.38f, kSalmFile, kDamping + kNotResizedAgain, {kSalm553, {iw(790, 0)}, kSalm559}},
       " 5.38"},
      {{"5.53", slmupd, 11, 5.53f, kSalmFile, kNotResizedAgain, {{iw(790, 0)}, kSalm559}}, " 5.53"},
      {{"5.57", slmupd, 11, 5.57f, kSalmFile, kNotResizedAgain, {kSalm559}}, " 5.57"},
      {{"5.59", slmupd, 11, 5.59f, kSalmFile, kNotResizedAgain, {}}, " 5.59"},
  };
  for (const auto& [c, heading] : cases) expect_upgrade(c, heading);
}

TEST(SalmUpgrader, NotesArePagedEveryFiveCounts) {
  // Count-only steps (4.28, 5.57) and the two notes of 4.41 under one count
  // move the waits as they move the counter.
  const UpgradeRun r = run_upgrade(slmupd, 11, 3.0f, 149, kSalmFile, "\n\n\n");
  EXPECT_EQ(r.screen, upgrade_heading(" 3.00") + kN321 + kN333 + kN347 + kTanker + kAux + kReturn + kSwellWidthNote +
                          kEnv + kDrift + anomalous_ntab("           0") + kSwellDirectionsNote + kReturn + kAnch +
                          kSurface + kVersion5Note + kDrag + kDamping + kReturn + kNotResizedAgain);
}

// ---- Moored kinds ----
const std::string kDryWeight =
    "\n ++> Dry weight specif" "ication now required for moorings.\n     See line specif" "ication pages.\n";
const std::string kIsolation = "\n ++> Isolation database for excluding lines from inertial load correction.\n";
const std::string kLowFrequency =
    "\n ++> Overhaul of low-frequency normal modes, damping and correlations.\n"
    "     Review new \"Legacy\" items in \"Output options 1\"; \"Version 5.x flags\" list.\n";
const Words kSpmFile = {iw(kVesselType, 5), rw(489, 0.0f)};
const Words kIsolationCleared = {iw(5011, 0), iw(5012, 0), iw(5013, 0), iw(5014, 0), iw(5015, 0)};
const Words kLowFrequencyFlags = {iw(153, 1), iw(154, 0), iw(155, 0)};

TEST(MooringUpgrader, EachThresholdVersionGetsItsNotesAndChanges) {
  const Words height = {rw(489, 32.81f)};
  const Words companion = {iw(790, 1)};
  const std::vector<std::pair<UpgradeCase, const char*>> cases = {
      {{"5.00", morupd, 15, 5.0f, kSpmFile, kDryWeight + kIsolation + kLowFrequency + kAddedMassNote + kNotResizedAgain,
        {kIsolationCleared, kLowFrequencyFlags, companion, height}}, " 5.00"},
      {{"5.02", morupd, 15, 5.02f, kSpmFile, kIsolation + kLowFrequency + kAddedMassNote + kNotResizedAgain,
        {kIsolationCleared, kLowFrequencyFlags, companion, height}}, " 5.02"},
      // 5.35 is not below 5.35 in single precision: the isolation words stay.
      {{"5.35", morupd, 15, 5.35f, kSpmFile, kLowFrequency + kAddedMassNote + kNotResizedAgain,
        {kLowFrequencyFlags, companion, height}}, " 5.35"},
      {{"5.50", morupd, 15, 5.5f, kSpmFile, kAddedMassNote + kNotResizedAgain, {companion, height}}, " 5.50"},
      {{"5.57", morupd, 15, 5.57f, kSpmFile, kNotResizedAgain, {height}}, " 5.57"},
      {{"5.59", morupd, 15, 5.59f, kSpmFile, kNotResizedAgain, {}}, " 5.59"},
      {{"kind 12, 5.36, metric", morupd, 12, 5.36f, {iw(kUnitSystem, 1), rw(489, 0.0f)},
        kDrag + kLowFrequency + kNotResizedAgain, {kLowFrequencyFlags, {iw(790, 0)}, {rw(489, 10.0f)}}}, " 5.36"},
      {{"kind 14, 5.56", morupd, 14, 5.56f, {iw(kVesselType, 3)}, kAddedMassNote + kNotResizedAgain,
        {companion, {iw(kVesselType, 5)}}}, " 5.56"},
  };
  for (const auto& [c, heading] : cases) expect_upgrade(c, heading);
}

TEST(MooringUpgrader, FilesBelowVersion5AreRefused) {
  const UpgradeRun r = run_upgrade(morupd, 15, 4.99f, 149, kSpmFile, "\n");
  const std::string refusal =
      "\n\n ++> This Brenvik data file, from version  4.99, is too old to update using version  6.80.\n"
      "     You must first update it using Brenvik version 5.x or 6.00.\n\n\n";
  EXPECT_EQ(r.stop, kLoadStopStatus);
  EXPECT_EQ(r.report, refusal);
  EXPECT_EQ(r.screen, refusal + kReturn);
  EXPECT_TRUE(r.changed.empty());
}

// ---- The fairlead resize at the end, and the dispatch ----

TEST(Upgraders, OldLayoutMarkerResizesAndKeepsTheSessionWords) {
  const std::vector<std::pair<Upgrader, int>> kinds = {{shpupd, 1}, {semupd, 3}, {slmupd, 11}, {morupd, 15}};
  for (const auto& [upgrader, kind] : kinds) {
    const UpgradeRun r = run_upgrade(upgrader, kind, 6.8f, 49, {});
    EXPECT_EQ(r.report, upgrade_heading(" 6.80") + kResizedNote) << kind;
    EXPECT_EQ(r.status, 1) << kind;
    EXPECT_EQ(r.after.i(kFairleadLayout), 149) << kind;
    EXPECT_EQ(r.after.i(800), r.seen.i(600)) << kind;  // moved 200 words on
    EXPECT_EQ(r.after.i(600), 0) << kind;
    for (std::size_t w = kNavCode; w <= kOutputUnit; ++w) EXPECT_EQ(r.after.i(w), r.seen.i(w)) << kind << " " << w;
  }
}

TEST(Upgraders, MembersOfComputedSourceAreRecomputedBelow557) {
  // Member 1 computed, member 2 user-specified: only member 1's words move.
  const auto touched = [](const UpgradeRun& r, int m) {
    for (const auto& [w, v] : r.changed) {
      if (w == member::coef_source(m) || (w >= member::added_mass(m, 1) && w <= member::added_mass(m, 3))) return true;
    }
    return false;
  };
  const UpgradeRun r = run_upgrade(semupd, 3, 5.5f, 149,
                                   {iw(kVesselType, 3), iw(member::coef_source(1), member::kDeepWater),
                                    iw(member::coef_source(2), member::kUserCoefficients)});
  EXPECT_TRUE(touched(r, 1));
  EXPECT_FALSE(touched(r, 2));
}

TEST(Upgraders, DefaultDispatchReachesTheRealUpgraders) {
  const KindDispatch table;
  for (int kind : {1, 3, 11, 12, 14, 15, 17}) {
    const UpgradeRun r = run_upgrade(
        [&](Session& s, float v, int& status) { table.run_upgrader(s, kind, v, status); }, kind, 6.8f, 149, {});
    EXPECT_EQ(r.report, upgrade_heading(" 6.80") + kNoneNote) << kind;
    EXPECT_EQ(r.status, 0) << kind;
  }
}

}  // namespace
}  // namespace kelp
