#include "edlib/pages/sea_pages.hpp"

#include <gtest/gtest.h>

#include <string>

#include "edlib/record/data_record.hpp"
#include "test_page.hpp"

namespace kelp {
namespace {

using namespace testing;

void regular(Session& s) { reglar(s, "5"); }
void irregular(Session& s) { random(s, "6"); }

// n reals from word `first`: first value v0, then steps of dv.
Words list(std::size_t first, int n, float v0, float dv) {
  Words w;
  for (int k = 0; k < n; ++k) w.push_back(rw(first + static_cast<std::size_t>(k), v0 + static_cast<float>(k) * dv));
  return w;
}

const Words kRegularWaves = Words{iw(kWaveFrequencies, 8), iw(kConstantSlope, 1), rw(kRegularHeight, 3.5f),
                                  iw(kRegularHeadingLimit, 12), iw(kRegularHeadingCount, 2),
                                  rw(kRegularHeadings + 1, 45.5f)} +
                            list(kPeriods, 8, 5.0f, 1.0f);

TEST(RegularWaves, PageOfSlopeWavesWithHeadings) {
  const auto t = testing::run_page_case(regular, {"", "\n", kRegularWaves});
  EXPECT_EQ(t->shown(),
            "       ****  Page 5: Regular Wave Characteristics  ****\n"
            "\n"
            "\n"
            " 1) Number of different periods (Max 100):   8\n"
            " 2) Periods (seconds) --\n"
            "          5.00         6.00         7.00         8.00         9.00        10.00\n"
            "         11.00        12.00\n"
            "\n"
            " 3) Use constant wave height or wave slope:  slope \n"
            " 4) Wave slope        3.50 degrees        \n"
            "\n"
            "\n"
            " 5) Number of wave headings (Max  12):   2\n"
            " 6) Wave headings (degrees) --\n"
            "          0.00        45.50\n" +
                kSelect);
}

TEST(RegularWaves, ItemsCountsAndLimits) {
  const PageCase cases[] = {
      {"count held to 100", "1\n250\n\n", {}, {iw(kWaveFrequencies, 100)}},
      {"negative count stores 0, the list goes", "1\n-5\n\n", kRegularWaves, {iw(kWaveFrequencies, 0)}, {},
       {}, {{" 2) Periods (seconds) --", 1}}},
      {"a stored 150 shows and keeps 100", "\n", {iw(kWaveFrequencies, 150)}, {iw(kWaveFrequencies, 100)},
       {"(Max 100): 100\n"}},
      {"period list edited from row 2", "2\n2\n7.5\n\n\n\n", kRegularWaves,
       {rw(kPeriods + 1, 7.5f), rw(kPeriods + 2, 7.0f)}, {"  -- Table of wave periods (seconds) --"}},
      {"list opens while hidden", "2\n\n\n", {}, {}, {"  -- Table of wave periods (seconds) --\n\n\n"}},
      {"height or slope flips", "3\n\n", {}, {iw(kConstantSlope, 1)},
       {" 3) Use constant wave height or wave slope:  slope \n 4) Wave slope        0.00 degrees"}},
      {"batch mode asks with the labels", "3\n0\n\n", {iw(kBatchFlag, 1), iw(kConstantSlope, 1)},
       {iw(kConstantSlope, 0)}, {"Enter 1 for \"Slope\", 0 for \"Height\": "}},
      {"height in metric units", "4\n2.5\n\n", {}, {rw(kRegularHeight, 2.5f)},
       {kSelect + " 4) Wave height       0.00 meters         \n" + kNewValue}, {}, {}, 4, kUnitsMetric},
      {"headings held to word 27", "5\n40\n\n", {iw(kRegularHeadingLimit, 12)}, {iw(kRegularHeadingCount, 12)}},
      {"a limit past the list's room: the editor stops at word 428", "6\n13\n1\n1\n\n\n",
       {iw(kRegularHeadingLimit, 50), iw(kRegularHeadingCount, 50), rw(kSeaHeights, 9.0f)},
       {iw(kRegularHeadingLimit, 12), iw(kRegularHeadingCount, 12), rw(kRegularHeadings + 11, 12.0f),
        rw(kSeaHeights, 9.0f)}},
      {"mooring kinds hide 5 and 6 but edit them", "5\n3\n\n", {iw(kRegularHeadingLimit, 12)},
       {iw(kRegularHeadingCount, 3)}, {kSelect + "\n 5) Number of wave headings (Max  12):   0\n" + kNewValue},
       {}, {}, 12},
      {"a number above 6 leaves with it", "7\n", {}, {iw(kNavCode, 7)}, {}, {}, {{"Page 5", 1}}},
      {"print pass: the page once", "", {iw(kPrintPass, 1)}, {iw(kNavCode, 0), iw(kPrintPass, 2)}, {},
       {"Enter number"}},
  };
  for (const PageCase& c : cases) testing::expect_page_case(regular, c);
}

TEST(RegularWaves, HelpNotes) {
  const std::string title = "                  ****  Regular Wave Definition Notes  ****\n";
  const PageCase cases[] = {
      {"page help: three screens", "?\n\n\n\n\n", {}, {},
       {title + "\n ++> Item Number   2\n     The period array", kReturn + "\n ++> Item Numbers 3 -> 4\n     RAOs",
        kReturn + "\n ++> Item Number   6\n     Angle convention"},
       {"mooring extension"}, {{"Press <RETURN>", 3}}},
      {"item 4 shares the note of 3", "?4\n\n\n", {}, {}, {title + "\n ++> Item Number   4\n     RAOs are computed"}},
      {"no note", "?5\n\n\n", {}, {}, {"\n ++> Item Number   5\n\n ++> Sorry, no help for this line...\n\n" + kReturn}},
      {"mooring kinds: none for 5 and 6", "?6\n\n", {}, {}, {}, {"Definition Notes"}, {}, 12},
      {"mooring kinds: the others", "?3\n\n\n", {}, {}, {"RAOs are computed"}, {}, {}, 12},
  };
  for (const PageCase& c : cases) testing::expect_page_case(regular, c);

  // The mooring editor's flag adds the mooring-extension note to 3 and 4.
  const auto mooring = [](Session& s) { reghlp(s, 3, kRegularHelpMooring); };
  testing::expect_page_case(mooring, {"flag 2", "\n", {}, {}, {"the spectrum of greatest engineering interest decides.\n"
                                                               "\n     The amplitude of a \"mooring extension\""}});
}

// ---------------------------------------------------------------- random

const Words kJonswapSea = Words{iw(kIrregularOn, 1), iw(kSeaSpectrum, 5), iw(kIrregularHeadingLimit, 37),
                                iw(kIrregularHeadingCount, 2), rw(kIrregularHeadings + 1, 30.0f),
                                iw(kIrregularCases, 2), rw(kSeaGamma, 3.3f), rw(kSeaSigmaA, 0.07f), rw(kSeaSigmaB, 0.09f),
                                iw(kSpreadingOn, 1), rw(kSpreadPower, 2.0f), rw(kSpreadSector, 180.0f),
                                iw(kSpreadLimit, 36), iw(kSpreadWedges, 12)} +
                          list(kSeaHeights, 2, 10.0f, 2.0f) + list(kSeaPeriods, 2, 8.0f, 1.0f);

TEST(IrregularSeas, PageOfASpreadGeneralJonswapSea) {
  const auto t = testing::run_page_case(irregular, {"", "\n", kJonswapSea});
  EXPECT_EQ(t->shown(),
            "        ****  Page 6: Irregular wave specifications  ****\n"
            "\n"
            "  1) Simulate irregular waves? Yes\n"
            "  2) Wave type:  General JONSWAP       \n"
            "  3) Number of wave headings (Max  37):   2\n"
            "  4) Wave headings (degrees) --\n"
            "          0.00        30.00\n"
            "\n"
            "                          -- Wave parameters --\n"
            "\n"
            "  5) Number of irregular wave cases for each heading (Max   6):   2\n"
            "  6) Significant height in feet           \n"
            "         10.00        12.00\n"
            "  7) Spectrum peak period (seconds)\n"
            "          8.00         9.00\n"
            "  8) JONSWAP \"Gamma\":     3.3000\n"
            "  9) JONSWAP \"Sigma a\":   0.0700\n"
            " 10) JONSWAP \"Sigma b\":   0.0900\n"
            " 11) Compute JONSWAP \"Alpha\" parameter\n"
            "\n"
            " 20) Use azimuthal spreading of irregular wave energy\n"
            " 21) Wave spreading index:                   2.00\n"
            " 22) Sector size containing wave energy:   180.00 deg\n"
            " 23) Number of angular wedges (Max  36):  12\n" +
                kSelect);
  EXPECT_EQ(t->s.tpcm.i(kSeaCaseLimit), 6);
}

TEST(IrregularSeas, WhatTheCodeShows) {
  const Words on = {iw(kIrregularOn, 1), iw(kIrregularCases, 1)};
  const PageCase cases[] = {
      {"off: item 1 only", "\n", {}, {}, {"  1) Simulate irregular waves? No \n" + kSelect}, {"  2)"}},
      {"Pierson-Moskowitz: no peak periods", "\n", on + Words{iw(kSeaSpectrum, 1)}, {}, {"  6) Significant"},
       {"  7)", "  8)"}},
      {"user file: no parameters", "\n", on + Words{iw(kSeaSpectrum, 7)}, {}, {"  4) Wave headings"},
       {"Wave parameters", "  5)"}},
      {"swell spectrum: bandwidth", "\n", on + Words{iw(kSeaSpectrum, 0), rw(kSeaBandwidth, 0.07f)}, {},
       {"  8) Spectral bandwidth parameter:   0.0700\n\n 20)"}},
      {"Ochi-Hubble: four components at most, lambdas", "\n",
       on + Words{iw(kSeaSpectrum, 9), iw(kOchiCount, 6)} + list(kOchiShapes, 4, 1.5f, 1.0f),
       {iw(kOchiCount, 4), iw(kSeaCaseLimit, 4)},
       {"  5) Number of Ochi-Hubble wave components (Max   4):   4\n  6) Component heights in feet",
        "  7) Component peak periods (seconds)",
        "  8) Component Lambda Values\n       1.50000      2.50000      3.50000      4.50000\n"}},
      {"no components stored: two", "\n", on + Words{iw(kSeaSpectrum, 9), iw(kOchiCount, 0)}, {iw(kOchiCount, 2)}},
      {"stored counts past the lists are held", "\n",
       on + Words{iw(kIrregularHeadingLimit, 80), iw(kIrregularHeadingCount, 100), iw(kIrregularCases, 9),
                  iw(kSpreadLimit, 99), iw(kSpreadWedges, 99), iw(kWaveFrequencies, 150)},
       {iw(kIrregularHeadingLimit, 37), iw(kIrregularHeadingCount, 37), iw(kIrregularCases, 6),
        iw(kSpreadLimit, 36), iw(kSpreadWedges, 36), iw(kWaveFrequencies, 100)}},
      {"metric heights", "\n", on, {}, {"  6) Significant height in meters         \n"}, {}, {}, 4, kUnitsMetric},
  };
  for (const PageCase& c : cases) testing::expect_page_case(irregular, c);
}

TEST(IrregularSeas, Edits) {
  const Words on = {iw(kIrregularOn, 1), iw(kIrregularCases, 1)};
  const Words jonswap = on + Words{iw(kSeaSpectrum, 5)};
  const Words wedges = on + Words{iw(kSpreadingOn, 1), iw(kSpreadLimit, 36)};
  const PageCase cases[] = {
      {"irregular waves on", "1\n\n", {}, {iw(kIrregularOn, 1)}},
      {"off: other items only redisplay", "3\n20\n\n", {}, {iw(kSpreadingOn, 0)}, {}, {kNewValue},
       {{"Page 6", 3}}},
      {"type 9 is the legacy spectrum and opens its densities", "2\n9\n\n\n", on + Words{iw(kWaveFrequencies, 3)},
       {iw(kSeaSpectrum, 8)}, {" Specify spectral densities at regular wave periods\n\n   1)", "   3)      0.00\n"}},
      {"type list: above 11 asks again, blank keeps", "2\n12\n\n\n", jonswap, {iw(kSeaSpectrum, 5)}, {},
       {}, {{" -- Irregular wave types --\n\n  1)  Brenvik swell spectrum\n", 2}}},
      {"headings: 0 becomes 1", "3\n0\n\n", on, {iw(kIrregularHeadingCount, 1)}},
      {"headings: held to word 28", "3\n50\n\n", on + Words{iw(kIrregularHeadingLimit, 37)},
       {iw(kIrregularHeadingCount, 37)}},
      {"components held to 4", "5\n6\n\n", on + Words{iw(kSeaSpectrum, 9)}, {iw(kOchiCount, 4)}},
      {"gamma asked again on 0 and below", "8\n0\n-2\n4.5\n\n", jonswap, {rw(kSeaGamma, 4.5f)}, {},
       {}, {{kNewValue, 3}}},
      {"gamma: a blank reply leaves it", "8\n\n\n", jonswap, {rw(kSeaGamma, 0.0f)}, {}, {}, {{kNewValue, 1}}},
      {"sigma a: below 0 asked again, 0 taken", "9\n-1\n0\n\n", jonswap + Words{rw(kSeaSigmaA, 0.07f)}, {rw(kSeaSigmaA, 0.0f)},
       {}, {}, {{kNewValue, 2}}},
      {"sigma b", "10\n0.1\n\n", jonswap, {rw(kSeaSigmaB, 0.1f)}},
      {"bandwidth: below 0 asked again", "8\n-1\n0.1\n\n", on + Words{iw(kSeaSpectrum, 0)}, {rw(kSeaBandwidth, 0.1f)}},
      {"hidden 8 to 11 only redisplay", "8\n9\n10\n11\n\n", on + Words{iw(kSeaSpectrum, 1)},
       {iw(kSpreadingOn, 0), rw(kSeaBandwidth, 0.0f)}, {}, {kNewValue}, {{"Page 6", 5}}},
      {"lambdas stop at the fourth", "8\n5\n1\n1\n\n\n",
       on + Words{iw(kSeaSpectrum, 9), iw(kOchiCount, 9), rw(kWaterDepth, 100.0f)},
       {rw(kOchiShapes + 3, 4.0f), rw(kWaterDepth, 100.0f)}},
      {"long-crested or spread", "20\n\n", on, {iw(kSpreadingOn, 1)}},
      {"spreading index and sector", "21\n2.5\n22\n90\n\n", on + Words{iw(kSpreadingOn, 1)},
       {rw(kSpreadPower, 2.5f), rw(kSpreadSector, 90.0f)}},
      {"wedges: odd rounds down", "23\n7\n\n", wedges, {iw(kSpreadWedges, 6)}},
      {"wedges: 1 gives 0", "23\n1\n\n", wedges, {iw(kSpreadWedges, 0)}},
      {"wedges: held to word 31", "23\n50\n\n", wedges, {iw(kSpreadWedges, 36)}},
  };
  for (const PageCase& c : cases) testing::expect_page_case(irregular, c);
}

TEST(IrregularSeas, AlphaCalculator) {
  // Hs 4 and Tp 2 pi leave 1 / (C g^2): C = 0.30499 for gamma 3.3 and widths
  // 0.07, 0.09 (the JONSWAP shape integrated by Simpson's rule on a fine
  // grid); in metric units g^2 = 96.04, so Alpha = 0.03414.
  const Words sea = {iw(kIrregularOn, 1), iw(kSeaSpectrum, 10), rw(kSeaGamma, 3.3f), rw(kSeaSigmaA, 0.07f), rw(kSeaSigmaB, 0.09f)};
  const std::string prompt = kSelect + " Enter [Sig. Height, Peak Period]: ";
  const PageCase cases[] = {
      {"metric", "11\n4 6.2831855\n\n\n", sea, {}, {prompt + "\n ++> The JONSWAP \"Alpha\" Parameter is:  0.0341\n" + kReturn},
       {}, {}, 4, kUnitsMetric},
      {"the typed values are kept for the next time", "11\n4 6.2831855\n\n11\n,\n\n\n", sea, {},
       {}, {}, {{"Parameter is:  0.0341", 2}}, 4, kUnitsMetric},
      {"blank reply", "11\n\n\n", sea, {}, {}, {"Parameter is"}},
      {"period not above 0", "11\n4 0\n\n", sea, {}, {}, {"Parameter is"}},
      {"not listed while a width is 0", "11\n\n", sea + Words{rw(kSeaSigmaB, 0.0f)}, {}, {}, {"Enter [Sig"}},
  };
  for (const PageCase& c : cases) testing::expect_page_case(irregular, c);
}

TEST(IrregularSeas, HelpNotes) {
  const std::string title = "                  ****  Random Wave Definition Notes  ****\n";
  const Words on = {iw(kIrregularOn, 1)};
  const PageCase cases[] = {
      {"categories", "?2\n\n\n", {}, {}, {title + "\n ++> Item Number   2\n     The built-in wave spectra fall into seven"}},
      {"no swell heading on this page", "?3\n\n\n", {}, {}, {"\n ++> Item Number   3\n\n ++> Sorry, no help"}},
      {"item 8 by code: bandwidth", "?8\n\n\n", on + Words{iw(kSeaSpectrum, 0)}, {}, {"spectral bandwidth parameter is"}},
      {"item 8 by code: JONSWAP", "?8\n\n\n", on + Words{iw(kSeaSpectrum, 10)}, {}, {"\"General\" JONSWAP and the TMA"}},
      {"item 9 without JONSWAP", "?9\n\n\n", on + Words{iw(kSeaSpectrum, 1)}, {}, {"Sorry, no help"}},
      {"spreading index with the sector note", "?21\n\n\n", {}, {},
       {"Sd(w,A) = S(w) K [cos(pi A/Ac)]^p", "Ac = 180 degrees is the usual choice"}},
      {"page help of a JONSWAP sea", "?\n\n\n\n\n\n\n\n\n\n", on + Words{iw(kSeaSpectrum, 5)}, {},
       {"\n ++> Item Numbers 8-10\n     The \"General\" JONSWAP"}, {"Sigma a and Sigma b set"},
       {{"Press <RETURN>", 8}}},
      {"page help of a Pierson-Moskowitz sea", "?\n\n\n\n\n\n\n\n", on + Words{iw(kSeaSpectrum, 1)}, {}, {},
       {"Item Numbers 8-10"}, {{"Press <RETURN>", 6}}},
      {"type notes: JONSWAP for 3 to 6", "2\n?5\n\n\n\n", on, {}, {"\n ++> Item Number   5\n     The JONSWAP spectra"}},
      {"type notes: the user file on two screens", "2\n?8\n\n\n\n\n", on, {},
       {"\n ++> Item Number   8\n     The spectrum is read from the text file \"WAVSPEC.txt\"",
        kReturn + "\n ++> Normalising user-supplied spectra\n"}},
      {"type notes: none past 11", "2\n?12\n\n\n\n", on, {}, {"\n ++> Item Number  12\n\n ++> Sorry"}},
  };
  for (const PageCase& c : cases) testing::expect_page_case(irregular, c);
}

TEST(IrregularSeas, PrintPassListsTheLegacyDensitiesOnAHalfPageOfTheirOwn) {
  const auto t = testing::run_page_case(
      irregular, {"", "", Words{iw(kPrintPass, 1), iw(kIrregularOn, 1), iw(kSeaSpectrum, 8), iw(kWaveFrequencies, 2),
                                iw(kIrregularHeadingLimit, 37), rw(kLegacyDensities, 0.5f)}});
  const std::string shown = t->shown();
  EXPECT_NE(shown.find("  2) Wave type:  Legacy custom spectrum\n"
                       "  3) Number of wave headings (Max  37):   0\n"
                       "  4) Wave headings (degrees) --\n"
                       "\n"
                       "\n"
                       " 20) Use long-crested irregular wave model\n"
                       "\n\n\n"
                       "  Specify spectral densities at regular wave periods\n"
                       "\n"
                       "   1)      0.50\n"
                       "   2)      0.00\n"
                       "\n\n\n"),
            std::string::npos)
      << shown;
  EXPECT_EQ(t->s.tpcm.i(kPrintPass), 4);
  EXPECT_EQ(t->s.tpcm.i(kNavCode), 0);
}

}  // namespace
}  // namespace kelp
