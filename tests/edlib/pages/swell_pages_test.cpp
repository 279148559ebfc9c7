#include <gtest/gtest.h>

#include <string>

#include "edlib/pages/sea_pages.hpp"
#include "edlib/record/data_record.hpp"
#include "test_page.hpp"

namespace kelp {
namespace {

using namespace testing;

void swells(Session& s) { swell2(s, "7"); }
void one_swell(Session& s) { swell(s, "16", kFirstSwellWords); }


const SwellWords& kOne = kFirstSwellWords;
const SwellWords& kTwo = kSecondSwellWords;

// A JONSWAP first swell beside irregular waves.
const Words kFirst = {iw(kIrregularOn, 1), iw(kOne.on, 1),        iw(kOne.code, 5),       rw(kOne.heading, 30.0f),
                      rw(kOne.height, 6.0f), rw(kOne.period, 12.0f), rw(kOne.gamma, 3.3f), rw(kOne.sigma_a, 0.07f),
                      rw(kOne.sigma_b, 0.09f)};
// A second swell of the default spectrum.
const Words kSecond = {iw(kTwo.on, 1), iw(kTwo.code, 0), rw(kTwo.heading, 45.0f), rw(kTwo.height, 2.0f),
                       rw(kTwo.period, 15.0f), rw(kTwo.bandwidth, 0.07f)};

const std::string kHeader =
    "                ****  Page 7: Background swell characteristics  ***\n"
    "\n";

TEST(Swell, PageOfTwoSwells) {
  const auto t = testing::run_page_case(swells, {"", "\n", kFirst + kSecond});
  EXPECT_EQ(t->shown(),
            kHeader +
                "  1) Simulate swell? ...........................         Yes\n"
                "\n"
                "  2) Swell type:  General JONSWAP              \n"
                "  4) Global swell heading ......................       30.00 degrees\n"
                "  6) Swell significant height ..................        6.00 feet        \n"
                "  7) Swell peak period .........................       12.00 seconds\n"
                "  8) JONSWAP \"Gamma\" Parameter .................        3.3000\n"
                "  9) JONSWAP \"Sigma a\" Shape Parameter .........        0.0700\n"
                " 10) JONSWAP \"Sigma b\" Shape Parameter .........        0.0900\n"
                "\n"
                " 21) ++> Simulate SECOND, *smaller* swell? .....         Yes\n"
                "\n"
                " 22) Swell type: Brenvik default swell\n"
                " 24) Global swell heading ......................       45.00 degrees\n"
                " 26) Swell significant height ..................        2.00 feet        \n"
                " 27) Swell peak period .........................       15.00 seconds\n"
                " 28) Swell spectral bandwidth parameter ........        0.07\n"
                "\n"
                " 41) Lock swell heading to irregular waves?              No \n" +
                kSelect);
}

TEST(Swell, WhatIsShown) {
  const PageCase cases[] = {
      {"first swell off: nothing else, the second goes off", "\n", {iw(kTwo.on, 1)}, {iw(kTwo.on, 0)}, {},
       {"  2)", " 21)", " 41)"}},
      {"mooring kinds: no lock", "\n", kFirst + Words{iw(kSwellLocked, 1)}, {iw(kSwellLocked, 0)}, {}, {" 41)"},
       {}, 12},
      {"locked: relative heading", "\n", kFirst + Words{iw(kSwellLocked, 1)}, {iw(kSwellLocked, 1)},
       {"  4) Relative swell heading ....................       30.00 degrees\n"}},
      {"Pierson-Moskowitz: no period", "\n", kFirst + Words{iw(kOne.code, 1)}, {}, {"  6) Swell significant"},
       {"  7)", "  8)"}},
      {"user spectra: no height", "\n", kFirst + Words{iw(kOne.code, 7)}, {}, {"  4) Global"}, {"  6)"}},
      {"metric heights", "\n", kFirst, {}, {"        6.00 meters      \n"}, {}, {}, 4, kUnitsMetric},
      {"a stored period count past the list is held", "\n", kFirst + Words{iw(kWaveFrequencies, 150)},
       {iw(kWaveFrequencies, 100)}},
      {"without irregular waves the wave heading follows the swell", "\n", kFirst + Words{iw(kIrregularOn, 0)},
       {rw(kRegularHeadings, 30.0f)}},
  };
  for (const PageCase& c : cases) testing::expect_page_case(swells, c);
}

TEST(Swell, Edits) {
  const std::string ochi = "\n ++> The Ochi-Hubble spectrum cannot be used for swell seas.\n\n" + kReturn;
  const std::string warning = " ++> Warning: a value at or below zero leaves this swell's spectrum undefined.";
  const Words zero_band = kFirst + Words{iw(kOne.code, 0)};
  const PageCase cases[] = {
      {"swell on", "1\n\n", {}, {iw(kOne.on, 1)}},
      {"type list", "2\n4\n\n", kFirst, {iw(kOne.code, 3)}, {" -- Irregular swell types --\n\n  1)  Brenvik"}},
      {"type list: above 11 or a navigation code asks again", "2\n12\nB\n\n\n", kFirst, {iw(kOne.code, 5)}, {},
       {}, {{" -- Irregular swell types --", 3}}},
      {"Ochi-Hubble refused; RETURN keeps the code", "2\n10\n\n\n\n", kFirst, {iw(kOne.code, 5)}, {ochi}},
      {"legacy spectrum opens its densities", "2\n9\n\n\n", kFirst + Words{iw(kWaveFrequencies, 2)},
       {iw(kOne.code, 8)}, {" Specify spectral densities at regular wave periods"}},
      {"heading", "4\n60\n\n", kFirst, {rw(kOne.heading, 60.0f)},
       {kSelect + "  4) Global swell heading ......................       30.00 degrees\n" + kNewValue}},
      {"height and period", "6\n5\n7\n11\n\n", kFirst, {rw(kOne.height, 5.0f), rw(kOne.period, 11.0f)}},
      {"no period for Pierson-Moskowitz", "7\n\n", kFirst + Words{iw(kOne.code, 1)}, {}, {}, {kNewValue}},
      {"bandwidth at 0 warns and is kept", "8\n0\n\n\n", zero_band + Words{rw(kOne.bandwidth, 0.1f)},
       {rw(kOne.bandwidth, 0.0f)}, {warning}},
      {"bandwidth above 0: no warning", "8\n0.1\n\n", zero_band, {rw(kOne.bandwidth, 0.1f)}, {}, {warning}},
      {"gamma below 0 warns", "8\n-1\n\n\n", kFirst, {rw(kOne.gamma, -1.0f)}, {warning}},
      {"sigma b", "10\n0.1\n\n", kFirst, {rw(kOne.sigma_b, 0.1f)}, {}, {warning}},
      {"Alpha: blank reply, no message", "11\n\n\n", kFirst, {}, {kSelect + " Enter [Sig. Height, Peak Period]: "},
       {"Parameter is", "must be above zero"}},
      {"Alpha refused while a width is 0", "11\n4 8\n\n\n", kFirst + Words{rw(kOne.sigma_a, 0.0f)}, {},
       {" ++> Gamma, Sigma a and Sigma b must be above zero for \"Alpha\"."}},
      {"second swell items wait for it", "22\n24\n\n", kFirst, {}, {}, {kNewValue, "Irregular swell types"}},
      {"second swell on and edited", "21\n26\n3\n\n", kFirst, {iw(kTwo.on, 1), rw(kTwo.height, 3.0f)}},
      {"lock", "41\n\n", kFirst, {iw(kSwellLocked, 1)}},
  };
  for (const PageCase& c : cases) testing::expect_page_case(swells, c);
}

TEST(Swell, HelpIsTheRandomWaveHelpOfASwell) {
  const PageCase cases[] = {
      {"swell heading", "?3\n\n\n", kFirst, {}, {" ++> Item Number   3\n     The swell heading is given"}},
      {"no spreading for swell", "?20\n\n\n", kFirst, {}, {" ++> Item Number  20\n\n ++> Sorry"}},
      {"item 8 of the first swell's code", "?8\n\n\n", kFirst, {}, {"\"General\" JONSWAP"}},
      {"page help without spreading", "?\n\n\n\n\n\n\n", kFirst, {}, {"     The swell heading is given"},
       {"long-crested"}, {{"Press <RETURN>", 5}}},
  };
  for (const PageCase& c : cases) testing::expect_page_case(swells, c);
}

TEST(Swell, PrintPassListsLegacyDensitiesInTheBlock) {
  const auto t = testing::run_page_case(
      swells, {"", "", kFirst + Words{iw(kOne.code, 8), iw(kWaveFrequencies, 1), iw(kPrintPass, 1)}});
  EXPECT_NE(t->shown().find("  4) Global swell heading ......................       30.00 degrees\n"
                            "\n\n\n"
                            "  Specify spectral densities at regular wave periods\n"
                            "\n"
                            "   1)      0.00\n"
                            "\n"
                            " 21) ++> Simulate"),
            std::string::npos)
      << t->shown();
  EXPECT_EQ(t->s.tpcm.i(kPrintPass), 4);
}

TEST(SingleSwell, PageAndItsOwnItems) {
  const auto t = testing::run_page_case(one_swell, {"", "\n", kFirst});
  EXPECT_EQ(t->shown(),
            "                ****  Page 16: Background swell characteristics  ***\n"
            "\n"
            "  1) Simulate swell? ...........................         Yes\n"
            "  2) Swell type:  General JONSWAP              \n"
            "  3) Lock swell heading to irregular waves? No \n"
            "  4) Global swell heading .........................       30.00 degrees\n"
            "\n"
            "                          -- Swell parameters --\n"
            "\n"
            "  6) Swell significant height .....................        6.00 feet           \n"
            "  7) Swell peak period ............................       12.00 seconds\n"
            "  8) JONSWAP \"Gamma\" Parameter ....................        3.3000\n"
            "  9) JONSWAP \"Sigma a\" Shape Parameter ............        0.0700\n"
            " 10) JONSWAP \"Sigma b\" Shape Parameter ............        0.0900\n"
            " 11) Compute JONSWAP \"Alpha\" parameter\n" +
                kSelect);

  const PageCase cases[] = {
      {"lock", "3\n\n", kFirst, {iw(kSwellLocked, 1)}},
      {"Alpha keeps the typed values", "11\n4 6.2831855\n\n11\n,\n\n\n", kFirst, {}, {},
       {}, {{"Parameter is:  0.0341", 2}}, 4, kUnitsMetric},
      {"Alpha not listed, not asked", "11\n\n", kFirst + Words{rw(kOne.gamma, 0.0f)}, {}, {}, {"Enter [Sig"}},
  };
  for (const PageCase& c : cases) testing::expect_page_case(one_swell, c);
}

}  // namespace
}  // namespace kelp
