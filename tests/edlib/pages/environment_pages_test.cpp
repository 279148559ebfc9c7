// The wind and current pages: screens, the spectral types and their
// parameters, the profile table and its checks, the band-limited density.
#include "edlib/pages/environment_pages.hpp"

#include <gtest/gtest.h>

#include <string>

#include "edlib/record/data_record.hpp"
#include "sysutl/session.hpp"
#include "test_page.hpp"

namespace kelp {
namespace {

using testing::iw;
using testing::kNewValue;
using testing::kReturn;
using testing::kSelect;
using testing::PageCase;
using testing::PageFn;
using testing::rw;

const PageFn kWind = [](Session& s) { wind(s, "14"); };
const PageFn kCurrent = [](Session& s) { curent(s, "15", 0); };
const PageFn kCurrentWithoutSpectrum = [](Session& s) { curent(s, "15", 1); };

void expect_cases(const PageFn& page, std::initializer_list<PageCase> cases) {
  for (const PageCase& c : cases) testing::expect_page_case(page, c);
}

const std::string kWindHeader = "                   ****  Page 14: Wind Conditions  ****\n\n\n\n";
const std::string kWindType2 =
    kWindHeader +
    "  1) Wind speed .................................      25.50 knots\n"
    "  2) Wind heading ...............................      45.00 degrees\n"
    "\n"
    "  3) Wind spectral type .........................  Legacy point spectrum        \n"
    "     Wind speed spectral density ................  0.123E-01 feet^2/sec\n"
    "\n";
const std::string kApiLine = "     A.P.I. wind spectrum parameter .............       3.50000\n";

TEST(WindPage, ScreenEndToEnd) {
  expect_cases(kWind, {{"type 2, English", "\n",
                        {rw(kWindSpeed, 25.5f), rw(kWindHeading, 45.0f), iw(kWindSpectrum, 2),
                         rw(kWindDensity, 0.0123f)},
                        {iw(kNavCode, 0)}, {}, {}, {}, 15, kUnitsEnglish, kWindType2 + kSelect}});
}

TEST(WindPage, SpectralTypesAndTheirParameter) {
  const testing::Words api = {iw(kWindSpectrum, 4), rw(kApiWindParameter, 3.5f)};
  expect_cases(
      kWind,
      {
          // Type 4, then 1 (its line hidden, the value kept), then 4 again:
          // the old value shown and asked for at once.
          {"4 to 1 and back", "3\n1\n3\n4\n\n\n", api, {iw(kWindSpectrum, 4), rw(kApiWindParameter, 3.5f)},
           {kApiLine, "  3) Wind spectral type .........................  Davenport", "\n 6)  WINDSPEC.txt input file",
            kApiLine + kNewValue},
           {}, {{kNewValue, 1}}, 15},
          {"type 2 asks its density", "3\n2\n0.5\n\n", {}, {iw(kWindSpectrum, 2), rw(kWindDensity, 0.5f)},
           {" -- Wind type --\n\n\n 1)  Davenport"}, {}, {}, 15},
          {"type 5 in metric units", "3\n5\n12\n\n", {}, {iw(kWindSpectrum, 5), rw(kNpdHeight, 12.0f)},
           {"     N.P.D. Spectral Evaluation Height ..........       0.00 meters         \n" + kNewValue}, {}, {},
           15, kUnitsMetric},
          {"density in metric units", "\n", {iw(kWindSpectrum, 2)}, {},
           {"     Wind speed spectral density ................  0.000E+00 meters^2/sec\n"}, {}, {}, 15, kUnitsMetric},
          // "L" in the sub-page is no navigation: the page comes back.
          {"L stays on the page", "3\nL\n\n", api, {iw(kWindSpectrum, 4), iw(kNavCode, 0)}, {}, {},
           {{"Page 14: Wind Conditions", 2}}, 15},
          {"above 6 shows the choices again", "3\n7\n\n\n", api, {iw(kWindSpectrum, 4)}, {}, {},
           {{"-- Wind type --", 2}}, 15},
          {"4 without a parameter does nothing", "4\n\n", {iw(kWindSpectrum, 1)}, {}, {}, {kNewValue}, {}, 15},
          {"4 edits the parameter", "4\n7.25\n\n", api, {rw(kApiWindParameter, 7.25f)}, {kApiLine + kNewValue}, {},
           {}, 15},
          {"a damaged type", "\n", {iw(kWindSpectrum, 9)}, {},
           {"  3) Wind spectral type .........................  Index error"}, {}, {}, 15},
          {"a heading of 400 as typed", "2\n400\n\n", {}, {rw(kWindHeading, 400.0f)},
           {"  2) Wind heading ...............................       0.00 degrees\n" + kNewValue}, {}, {}, 15},
      });
}

TEST(WindPage, Help) {
  expect_cases(kWind,
               {
                   {"item 2", "?2\n\n\n", {}, {},
                    {"                       ****  Wind Definition Notes  ****\n\n ++> Item Number  2\n",
                     "towards positive y", kReturn, "Page 14"}},
                   {"an item without a note", "?4\n\n\n", {}, {},
                    {"****  Wind Definition Notes  ****\n\n ++> Sorry, no help for this line...\n"}},
                   {"the page: three notes, three waits", "?\n\n\n\n\n", {}, {},
                    {" ++> Item Number  1", " ++> Item Number  2", " ++> Item Number  3"}, {}, {{kReturn, 3}}},
                   {"a spectral type", "3\n?4\n\n\n\n", {}, {}, {" ++> Item Number  4", "A.P.I. wind spectrum"}},
               });
}

// ---- Current ----

const std::string kCurrentHeader = "                 ****  Page 15: Current Conditions  ****\n\n\n\n";
const std::string kCurrentLegacy =
    kCurrentHeader +
    "  1) Current speed ..............................       2.00 knots\n"
    "  2) Current heading ............................     270.00 degrees\n"
    "  3) Current variation with depth ............... User-Specified (legacy)       \n"
    "  4) Number of points in current profile (Max 5)           2\n"
    "  5) Specify current variation with depth\n"
    "\n"
    "  6) Current spectral type ...................... Band-limited white spectrum  \n"
    "     Current speed spectral density .............  0.906E+00 feet^2/sec\n"
    "\n"
    "  7) Fractional RMS current variation ...........      0.100\n";
const std::string kProfileTable =
    " ++> Enter Current Speed Profile Specification\n"
    "\n"
    "        Depth Below    Current\n"
    "          Surface       Speed\n"
    "            (x)        (y, kts)\n"
    "\n"
    "  1)        50.00        2.00\n"
    "  2)       100.00        0.00\n"
    "\n"
    "  3) Change the number of points in current profile\n"
    "  4) Eliminate a row and collapse array\n"
    "  5) Insert a null row and expand array\n"
    "  6) Abort entry\n";

// Two rows that pass the check: the last one without current.
const testing::Words kTwoRows = {iw(kCurrentProfilePoints, 2), rw(461, 50.0f), rw(462, 100.0f), rw(466, 2.0f),
                                 rw(467, 0.0f)};
testing::Words with(testing::Words w, std::initializer_list<testing::Word> more) {
  w.insert(w.end(), more);
  return w;
}

// The band-limited density of 2 knots and an RMS fraction of 0.1, worked
// out by hand in single precision: 0.1f x 2 = 0.2f, squared 0.04f; times
// 2.846 and over 0.1257: 0.90564847 (English, bits 0x3F67D894); times 0.2644
// and over 0.1257: 0.084136844 (metric, bits 0x3DAC4FF0).
constexpr std::int32_t kDensityEnglish = 0x3F67D894;
constexpr std::int32_t kDensityMetric = 0x3DAC4FF0;

TEST(CurrentPage, ScreenEndToEnd) {
  expect_cases(kCurrent, {{"legacy profile, band-limited spectrum", "\n",
                           with(kTwoRows, {rw(kCurrentSpeed, 2.0f), rw(kCurrentHeading, 270.0f),
                                           iw(kCurrentProfile, 2), iw(kCurrentSpectrum, 3),
                                           iw(kCurrentDensity, kDensityEnglish), rw(kCurrentRmsFraction, 0.1f)}),
                           {}, {}, {}, {}, 15, kUnitsEnglish, kCurrentLegacy + kSelect}});
  // The print pass writes the table after the page.
  expect_cases(kCurrent, {{"print pass", "",
                           with(kTwoRows, {rw(kCurrentSpeed, 2.0f), rw(kCurrentHeading, 270.0f),
                                           iw(kCurrentProfile, 2), iw(kCurrentSpectrum, 3),
                                           iw(kCurrentDensity, kDensityEnglish), rw(kCurrentRmsFraction, 0.1f),
                                           iw(kPrintPass, 2)}),
                           {iw(kPrintPass, 4), iw(kNavCode, 0)}, {kCurrentLegacy, kProfileTable}, {kSelect}}});
}

TEST(CurrentPage, BandLimitedDensity) {
  EXPECT_EQ(std::bit_cast<std::int32_t>(band_limited_density(0.1f, 2.0f, kUnitsEnglish)), kDensityEnglish);
  EXPECT_EQ(std::bit_cast<std::int32_t>(band_limited_density(0.1f, 2.0f, kUnitsMetric)), kDensityMetric);
  const testing::Words band = {iw(kCurrentSpectrum, 3)};
  expect_cases(
      kCurrent,
      {
          {"speed then fraction, English", "1\n2\n7\n0.1\n\n", band, {iw(kCurrentDensity, kDensityEnglish)},
           {"  0.906E+00 feet^2/sec\n"}, {}, {}, 15},
          {"speed then fraction, metric", "1\n2\n7\n0.1\n\n", band, {iw(kCurrentDensity, kDensityMetric)},
           {"  0.841E-01 meters^2/sec\n"}, {}, {}, 15, kUnitsMetric},
          // Choosing the band-limited spectrum asks the fraction.
          {"menu choice 4", "6\n4\n0.1\n\n", {rw(kCurrentSpeed, 2.0f)},
           {iw(kCurrentSpectrum, 3), iw(kCurrentDensity, kDensityEnglish)},
           {"-- Current Spectral Type --\n\n\n 1) Steady current", "  7) Fractional RMS current variation ........"
                                                                  "...      0.000\n" + kNewValue},
           {}, {}, 15},
          // The legacy point spectrum asks its density; no recompute.
          {"menu choice 2", "6\n2\n0.75\n1\n3\n\n", {}, {iw(kCurrentSpectrum, 1), rw(kCurrentDensity, 0.75f)},
           {"     Current speed spectral density .............  0.000E+00 feet^2/sec\n" + kNewValue}, {}, {}, 15},
          {"a command in the menu changes nothing", "6\nL\n\n", band, {iw(kCurrentSpectrum, 3), iw(kNavCode, 0)},
           {}, {}, {}, 15},
      });
}

TEST(CurrentPage, ItemsShownByModeTypeAndKind) {
  expect_cases(kCurrent, {
                             {"7 for the tendon kind with a point spectrum", "\n", {iw(kCurrentSpectrum, 1)}, {},
                              {"  7) Fractional RMS"}, {}, {}, 14},
                             {"never with a steady current", "7\n\n", {iw(kCurrentSpectrum, 0)}, {}, {},
                              {"  7) Fractional RMS", kNewValue}, {}, 14},
                             {"4 and 5 only in legacy mode", "4\n5\n\n", {iw(kCurrentProfile, 3)}, {}, {},
                              {"  4) Number", kNewValue, " ++> Enter"}, {}, 15},
                         });
  expect_cases(kCurrentWithoutSpectrum,
               {{"a flag leaves the spectrum out", "6\n7\n\n", {iw(kCurrentSpectrum, 3)}, {iw(kCurrentSpectrum, 3)},
                 {}, {"  6) Current", "  7) Fractional", "spectral density", kNewValue}, {}, 15}});
}

TEST(CurrentPage, DepthVariationMenu) {
  const testing::Words rows = with(kTwoRows, {iw(kCurrentProfile, 0)});
  expect_cases(
      kCurrent,
      {
          {"legacy with no count asks the count", "3\n3\n3\n\n", {iw(kCurrentProfilePoints, 0)},
           {iw(kCurrentProfile, 2), iw(kCurrentProfilePoints, 3)},
           {" +++ Current Profile Specification Options +++\n\n 1)  1/7 power law",
            "\n  4) Number of points in current profile (Max 5)           0\n" + kNewValue},
           {" ++> Enter"}, {}, 15},
          {"legacy with 2 rows opens the table", "3\n3\n\n\n", rows, {iw(kCurrentProfile, 2)}, {kProfileTable}, {},
           {}, 15},
          {"the same mode again opens nothing", "3\n3\n\n", with(kTwoRows, {iw(kCurrentProfile, 2)}),
           {iw(kCurrentProfile, 2)}, {}, {" ++> Enter"}, {}, 15},
          {"blank keeps the mode", "3\n\n\n", rows, {iw(kCurrentProfile, 0)}, {}, {}, {}, 15},
          {"CRNTPROF", "3\n4\n\n", rows, {iw(kCurrentProfile, 3)}, {}, {}, {}, 15},
          {"the menu help", "3\n?4\n\n\n\n\n", rows, {}, {"****  Current Depth Variation Notes  ****", "CRNTPROF.txt"},
           {}, {}, 15},
      });
}

TEST(CurrentPage, ProfileTable) {
  // Four rows whose last one reaches the bottom; slot 5 holds a row too.
  const testing::Words slots = {iw(kCurrentProfilePoints, 4), rw(kWaterDepth, 40.0f), rw(461, 10.0f),
                                rw(462, 20.0f), rw(463, 30.0f), rw(464, 40.0f), rw(465, 40.0f), rw(466, 1.0f),
                                rw(467, 2.0f), rw(468, 3.0f), rw(469, 4.0f), rw(470, 0.0f)};
  const testing::Words four = with(slots, {iw(kCurrentProfile, 2)});
  expect_cases(
      kCurrent,
      {
          // Rows 3 to 5 move up; slot 5 keeps its own; the count stays.
          {"eliminate row 2 of 4", "5\n6\n2\n\n\n", four,
           {iw(kCurrentProfilePoints, 4), rw(461, 10.0f), rw(462, 30.0f), rw(463, 40.0f), rw(464, 40.0f),
            rw(465, 40.0f), rw(466, 1.0f), rw(467, 3.0f), rw(468, 4.0f), rw(469, 0.0f), rw(470, 0.0f)},
           {" Enter row to eliminate: "}, {}, {}, 15},
          // Slots 2 to 4 move down into 3 to 5; row 2 becomes a null row.
          {"insert at row 2 of 3", "5\n6\n2\n\n\n",
           with(four, {iw(kCurrentProfilePoints, 3), rw(462, 40.0f)}),
           {rw(461, 10.0f), rw(462, 0.0f), rw(463, 40.0f), rw(464, 30.0f), rw(465, 40.0f), rw(466, 1.0f),
            rw(467, 0.0f), rw(468, 2.0f), rw(469, 3.0f), rw(470, 4.0f)},
           {" Enter row to nullify/insert: "}, {}, {}, 15},
          {"a row outside the table", "5\n6\n9\n\n\n", four, {rw(462, 20.0f)}, {}, {}, {}, 15},
          {"edit rows until a blank reply", "5\n3\n35,2.5\n\n\n\n", four,
           {rw(463, 35.0f), rw(468, 2.5f), rw(464, 40.0f)}, {" Enter new data for #  3 (x,y): "}, {}, {}, 15},
          // The last row neither at the bottom nor without current.
          {"the bottom warning", "5\n1\n10,1\n20,2\n30,3\n45,4\n\n\n8\n\n", four,
           {rw(464, 40.0f), rw(469, 4.0f)},
           {" ++> WARNING: If current-associated mooring loads are required,\n"
            "              the last row of data above must represent either\n"
            "              the current at the bottom or a zero current value\n"
            "              in the last row\n" +
            kReturn},
           {}, {}, 15},
          {"the surface-point warning", "5\n1\n0,1\n\n\n\n8\n\n", four, {rw(461, 10.0f)},
           {"\n ++> WARNING: A surface point at depth 0.00 is implicit. You must\n"
            "              therefore eliminate the surface point in this array.\n" +
            kReturn},
           {}, {}, 15},
          // "Abort entry" after an insert puts back all five slots, the count
          // and the mode of before the menu choice.
          {"abort restores slots, count and mode", "3\n3\n7\n1\n5\n2\n6\n\n",
           with(slots, {iw(kCurrentProfile, 1)}), with(slots, {iw(kCurrentProfile, 1)}), {}, {}, {}, 15},
          // "B" leaves the table like any other command: the mode chosen stays.
          {"B keeps the mode", "3\n3\nB\n\n", with(slots, {iw(kCurrentProfile, 0)}), {iw(kCurrentProfile, 2)}, {}, {},
           {}, 15},
          {"an empty table may be left", "5\n\n\n", {iw(kCurrentProfile, 2), iw(kCurrentProfilePoints, 0)},
           {iw(kCurrentProfilePoints, 0)}, {"  1) Change the number"}, {"WARNING"}, {}, 15},
          {"the count", "5\n5\n5\n\n\n", four, {iw(kCurrentProfilePoints, 5)}, {}, {}, {}, 15},
          {"the count held to 5", "4\n8\n\n", four, {iw(kCurrentProfilePoints, 5)}, {}, {}, {}, 15},
          {"the table help", "5\n?\n\n\n\n", four, {}, {"****  Current Profile Notes  ****", "surface point"}, {}, {},
           15},
      });
}

// A count of 9 from the file: the table holds five rows, so the speeds
// (words 466 on, where a sixth depth would lie) are never taken for depths.
TEST(CurrentPage, ACountFromTheFileIsHeldToTheFiveSlots) {
  const testing::Words nine = {iw(kCurrentProfile, 2), iw(kCurrentProfilePoints, 9), rw(kWaterDepth, 45.0f),
                               rw(461, 10.0f), rw(462, 20.0f), rw(463, 30.0f), rw(464, 40.0f), rw(465, 50.0f),
                               rw(466, 1.0f),  rw(467, 2.0f),  rw(468, 3.0f),  rw(469, 4.0f),  rw(470, 5.0f),
                               rw(471, 6.0f)};
  expect_cases(kCurrent, {{"rows 5 to the count", "5\n5\n45,0\n\n\n", nine,
                           {iw(kCurrentProfilePoints, 5), rw(465, 45.0f), rw(466, 1.0f), rw(467, 2.0f),
                            rw(468, 3.0f), rw(469, 4.0f), rw(470, 0.0f), rw(471, 6.0f)},
                           {"  5)        50.00        5.00\n\n  6) Change the number"}, {"  6)        "}, {}, 15}});
}

TEST(CurrentPage, Help) {
  expect_cases(kCurrent, {
                             {"item 7 of the tendon kind", "?7\n\n\n", {}, {},
                              {"                     ****  Current Definition Notes  ****\n\n ++> Item Number  7\n",
                               "(RMS/mean)", "low-frequency tendon and riser loads"},
                              {}, {}, 14},
                             {"item 7 of the other kinds", "?7\n\n\n", {}, {}, {"(RMS/mean)"},
                              {"tendon and riser"}, {}, 15},
                             {"the spectral types", "6\n?3\n\n\n\n", {}, {},
                              {"****  Current Spectrum Help  ****", "CRNTSPEC.txt"}, {}, {}, 15},
                         });
}

}  // namespace
}  // namespace kelp
