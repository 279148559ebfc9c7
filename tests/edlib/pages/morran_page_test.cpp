#include <gtest/gtest.h>

#include <string>

#include "edlib/pages/sea_pages.hpp"
#include "edlib/record/data_record.hpp"
#include "test_page.hpp"

namespace kelp {
namespace {

using namespace testing;

void one_sea(Session& s) { morran(s, "18"); }

const Words kOn = {iw(kIrregularOn, 1)};
const Words kOchi = kOn + Words{iw(kSeaSpectrum, 9), iw(kOchiCount, 2)};

TEST(OneSeaState, PageOfAGeneralJonswapSea) {
  const Words sea = kOn + Words{iw(kSeaSpectrum, 5), iw(kIrregularHeadingCount, 3), iw(kIrregularCases, 4),
                                rw(kIrregularHeadings, 30.0f), rw(kSeaHeights, 10.0f), rw(kSeaPeriods, 8.0f),
                                rw(kSeaGamma, 3.3f), rw(kSeaSigmaA, 0.07f), rw(kSeaSigmaB, 0.09f), iw(kSeaCaseLimit, 6)};
  const auto t = run_page_case(one_sea, {"", "\n", sea});
  EXPECT_EQ(t->shown(),
            "           ****  Page 18: Irregular wave specifications  ****\n"
            "\n"
            "\n"
            "  1) Simulate irregular waves? Yes\n"
            "  2) Wave type:  General JONSWAP       \n"
            "  4) Wave heading:    30.00 degrees\n"
            "\n"
            "                          -- Wave parameters --\n"
            "\n"
            "  6) Significant height:      10.00 feet           \n"
            "  7) Spectrum peak period:     8.00 seconds\n"
            "  8) JONSWAP \"Gamma\":     3.3000\n"
            "  9) JONSWAP \"Sigma a\":   0.0700\n"
            " 10) JONSWAP \"Sigma b\":   0.0900\n"
            " 11) Compute JONSWAP \"Alpha\" parameter\n"
            "\n"
            " 20) Use long-crested irregular wave model\n" +
                kSelect);
  // One heading and one case on every entry; word 29 left for this code.
  EXPECT_EQ(t->s.tpcm.i(kIrregularHeadingCount), 1);
  EXPECT_EQ(t->s.tpcm.i(kIrregularCases), 1);
  EXPECT_EQ(t->s.tpcm.i(kSeaCaseLimit), 6);
}

TEST(OneSeaState, WhatTheCodeShows) {
  const PageCase cases[] = {
      {"Pierson-Moskowitz: no peak period", "\n", kOn + Words{iw(kSeaSpectrum, 1)}, {}, {"  6) Significant height:"},
       {"  7)"}},
      {"metric height", "\n", kOn + Words{iw(kSeaSpectrum, 2)}, {}, {"       0.00 meters         \n"}, {}, {}, 15,
       kUnitsMetric},
      {"user spectrum file: heading only", "\n", kOn + Words{iw(kSeaSpectrum, 7)}, {}, {"  4) Wave heading:"},
       {"Wave parameters", "  6)"}},
      {"Ochi-Hubble: four components at most, their lists", "\n", kOn + Words{iw(kSeaSpectrum, 9), iw(kOchiCount, 7)},
       {iw(kSeaCaseLimit, 4), iw(kOchiCount, 4)},
       {"  4) Wave heading:     0.00 degrees\n",
        "  5) Number of Ochi-Hubble wave components (Max   4):   4\n  6) Component heights in feet",
        "  7) Component peak periods (seconds)\n", "  8) Component Lambda Values\n"}},
      {"Ochi-Hubble without components: two", "\n", kOchi + Words{iw(kOchiCount, 0)}, {iw(kOchiCount, 2)}},
  };
  for (const PageCase& c : cases) expect_page_case(one_sea, c);
}

TEST(OneSeaState, Edits) {
  const Words jonswap = kOn + Words{iw(kSeaSpectrum, 5), iw(kSeaCaseLimit, 6)};
  const PageCase cases[] = {
      {"heading", "4\n45\n\n", jonswap, {rw(kIrregularHeadings, 45.0f), iw(kIrregularHeadingCount, 1)}},
      {"height and peak period", "6\n12.5\n7\n9\n\n", jonswap, {rw(kSeaHeights, 12.5f), rw(kSeaPeriods, 9.0f)}},
      {"no item 3: it only redisplays", "3\n\n", jonswap, {iw(kIrregularHeadingCount, 1)}, {}, {kNewValue},
       {{"Page 18", 2}}},
      {"item 5 does nothing for other codes", "5\n\n", jonswap, {iw(kIrregularCases, 1), iw(kOchiCount, 2)}, {},
       {kNewValue}, {{"Page 18", 2}}},
      {"Ochi-Hubble components: 0 becomes 1", "5\n0\n\n", kOchi, {iw(kOchiCount, 1)}},
      {"Ochi-Hubble components held to 4", "5\n9\n\n", kOchi, {iw(kOchiCount, 4)}},
      {"Ochi-Hubble heading: a table of one row", "4\n1\n50\n\n\n",
       kOchi + Words{iw(kIrregularHeadingLimit, 37), iw(kIrregularHeadingCount, 5)}, {rw(kIrregularHeadings, 50.0f)},
       {" --- Irregular wave headings ---\n\n   1)      0.00\n\n   2) Auto repeat\n"}},
      {"Ochi-Hubble heights: the list of the components", "6\n2\n3.5\n\n\n", kOchi, {rw(kSeaHeights + 1, 3.5f)},
       {"--- Irregular wave significant heights ---"}},
      {"leaving Ochi-Hubble keeps word 29 at 4", "2\n6\n\n", kOchi + Words{iw(kSeaCaseLimit, 6)},
       {iw(kSeaSpectrum, 5), iw(kSeaCaseLimit, 4)}},
      {"gamma asked again at 0", "8\n0\n2\n\n", jonswap, {rw(kSeaGamma, 2.0f)}, {}, {}, {{kNewValue, 2}}},
      {"off: only item 1 acts", "4\n6\n\n", {}, {rw(kIrregularHeadings, 0.0f)}, {}, {kNewValue}, {{"Page 18", 3}}},
  };
  for (const PageCase& c : cases) expect_page_case(one_sea, c);
}

TEST(OneSeaState, HelpIsTheIrregularSeasHelp) {
  // Item 4's note: the heading convention; item 3 has none on this page.
  const PageCase cases[] = {
      {"item 4", "?4\n\n\n", kOn, {}, {"Random Wave Definition Notes", "right-handed"}},
      {"item 3", "?3\n\n\n", kOn, {}, {" ++> Sorry, no help for this line..."}},
  };
  for (const PageCase& c : cases) expect_page_case(one_sea, c);
}

}  // namespace
}  // namespace kelp
