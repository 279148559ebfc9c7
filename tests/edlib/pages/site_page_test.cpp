#include "edlib/pages/site_page.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>

#include "edlib/pages/vessel_pages.hpp"
#include "edlib/record/data_record.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "test_page.hpp"

namespace kelp {
namespace {

using testing::count_of;
using testing::kReturn;
using testing::kSelect;
using testing::ScriptedSession;

std::uint32_t bits(float v) { return std::bit_cast<std::uint32_t>(v); }

// A disc-buoy record in English units: 100 ft of water, seawater.
void site_record(Session& s, int units = kUnitsEnglish) {
  auto& t = s.tpcm;
  testing::page_record(t, 4, units);
  t.set_text(kIdentLine1, 80, "Buoy at site A");
  t.set_text(kIdentLine2, 80, "");
  t.set_r(445, 100.0f);
  t.set_r(446, 64.0f);
}

const std::string kSiteEnglish =
    "                    ****  Page 1: Site conditions  ****\n"
    "\n"
    "\n"
    "\n"
    "     Two-line Identification for this simulation:\n"
    "\n"
    " 1) [Buoy at site A                                                          ]\n"
    " 2) [                                                                        ]\n"
    "\n"
    " 3) Units of measure: English\n"
    "\n"
    " 4) Site water depth:          100.00 feet           \n"
    " 5) Water density:              64.00 lbs/cubic foot \n";

TEST(SitePage, EnglishPage) {
  ScriptedSession t("\n");
  site_record(t.s);
  static_page(t.s);
  EXPECT_EQ(t.shown(), kSiteEnglish + kSelect);
  EXPECT_EQ(t.s.tpcm.i(kNavCode), 0);
}

TEST(SitePage, MetricPage) {
  ScriptedSession t("\n");
  site_record(t.s, kUnitsMetric);
  t.s.tpcm.set_r(445, 30.48f);
  t.s.tpcm.set_r(446, 1025.18f);
  static_page(t.s);
  EXPECT_NE(t.shown().find(" 3) Units of measure: Metric\n"
                           "\n"
                           " 4) Site water depth:           30.48 meters         \n"
                           " 5) Water density:            1025.18 kgw/cubic meter\n" +
                           kSelect),
            std::string::npos);
}

TEST(SitePage, RepliesAboveTheLastItemLeaveThePage) {
  ScriptedSession t("6\n");
  site_record(t.s);
  static_page(t.s);
  EXPECT_EQ(t.s.tpcm.i(kNavCode), 6);
  EXPECT_EQ(count_of(t.shown(), "Page 1: Site conditions"), 1);
}

TEST(SitePage, IdentificationLines) {
  // A blank reply keeps line 1; 80 characters store only their first 72 and
  // the two words after them stay as they were.
  const std::string long_reply = std::string(70, 'x') + "YZ" + "12345678";
  ScriptedSession t("1\n\n2\n" + long_reply + "\n1\nShort\n\n");
  site_record(t.s);
  t.s.tpcm.i(97) = 0x11223344;
  t.s.tpcm.i(98) = 0x55667788;
  static_page(t.s);
  EXPECT_EQ(t.s.tpcm.text(kIdentLine2, 72), std::string(70, 'x') + "YZ");
  EXPECT_EQ(t.s.tpcm.i(97), 0x11223344);
  EXPECT_EQ(t.s.tpcm.i(98), 0x55667788);
  EXPECT_EQ(t.s.tpcm.text(kIdentLine1, 72), "Short" + std::string(67, ' '));
  // The chosen line is shown again before the prompt "1) :".
  EXPECT_NE(t.shown().find(kSelect + " 1) [Buoy at site A" + std::string(58, ' ') + "]\n 1) :"),
            std::string::npos);
}

TEST(SitePage, WaterDepth) {
  ScriptedSession t("4\n250.5\n4\n\n\n");
  site_record(t.s);
  static_page(t.s);
  EXPECT_FLOAT_EQ(t.s.tpcm.r(445), 250.5f);
  EXPECT_NE(t.shown().find(kSelect + " 4) Site water depth:          100.00 feet           \n Enter new value: "),
            std::string::npos);
}

TEST(SitePage, DensitySubPage) {
  {
    // Seawater in English units is exactly 64.
    ScriptedSession t("5\n1\n\n");
    site_record(t.s);
    t.s.tpcm.set_r(446, 1.0f);
    static_page(t.s);
    EXPECT_EQ(t.s.tpcm.r(446), 64.0f);
    EXPECT_NE(t.shown().find(kSelect + " -- Water density --\n"
                                       "\n"
                                       " 1) Seawater\n"
                                       " 2) Freshwater\n"
                                       " 3) User-specified fluid density in lbs/cubic foot \n" +
                             kSelect),
              std::string::npos);
  }
  {
    // Freshwater in metric units: 62.44 x 16.0185 (bits from gfortran).
    ScriptedSession t("5\n2\n\n");
    site_record(t.s, kUnitsMetric);
    static_page(t.s);
    EXPECT_EQ(bits(t.s.tpcm.r(446)), 0x447A0C7Cu);
  }
  {
    // 3 shows the density line and reads a value; 7 changes nothing; "?"
    // gives the no-help page.
    ScriptedSession t("5\n3\n1030\n5\n7\n5\n?\n\n\n\n");
    site_record(t.s, kUnitsMetric);
    static_page(t.s);
    EXPECT_FLOAT_EQ(t.s.tpcm.r(446), 1030.0f);
    EXPECT_NE(t.shown().find(" 5) Water density:              64.00 kgw/cubic meter\n Enter new value: "),
              std::string::npos);
    EXPECT_NE(t.shown().find(" ++> Sorry, no help for this page..."), std::string::npos);
  }
}

TEST(SitePage, UnitsOptionOneRelabelsAndConvertsOnlyTheDensity) {
  ScriptedSession t("3\n1\n\n");
  site_record(t.s);
  static_page(t.s);
  EXPECT_EQ(t.s.tpcm.i(kUnitSystem), kUnitsMetric);
  EXPECT_EQ(bits(t.s.tpcm.r(446)), 0x448025E3u);  // 64 x 16.0185 (gfortran)
  EXPECT_EQ(t.s.tpcm.r(445), 100.0f);
  EXPECT_NE(t.shown().find(kSelect + "      >>> Units Conversion Options <<<\n"
                                     "\n"
                                     " 1) Convert only water density and unit labels to metric  units\n"
                                     " 2) Convert ALL data values and units labels to metric  units\n" +
                           kSelect),
            std::string::npos);
  EXPECT_NE(t.shown().find(" 3) Units of measure: Metric"), std::string::npos);
}

TEST(SitePage, UnitsOptionOneTwiceRestoresTheRecord) {
  ScriptedSession t("3\n1\n3\n1\n\n");
  site_record(t.s);
  const Tpcm before = t.s.tpcm;
  static_page(t.s);
  EXPECT_NE(t.shown().find("labels to English units\n"), std::string::npos);
  Tpcm after = t.s.tpcm;
  after.i(kNavCode) = before.i(kNavCode);
  after.i(kPageCounter) = before.i(kPageCounter);
  EXPECT_TRUE(after == before);  // 64 -> 1025.184 -> 64 exactly (gfortran agrees)
}

TEST(SitePage, UnitsOptionTwoConvertsTheWholeRecord) {
  ScriptedSession t("3\n2\n\n\n");
  site_record(t.s);
  t.s.tpcm.set_r(1411, 10.0f);  // mean draft, a vessel length
  static_page(t.s);
  const auto& w = t.s.tpcm;
  EXPECT_EQ(w.i(kUnitSystem), kUnitsMetric);
  EXPECT_EQ(bits(w.r(445)), 0x41F3D70Au);  // 100 x 0.3048 (gfortran)
  EXPECT_EQ(bits(w.r(446)), 0x448025D2u);  // 64 lb/ft^3 as kg/m^3
  EXPECT_FLOAT_EQ(w.r(1411), 3.048f);
  const std::string shown = t.shown();
  EXPECT_NE(shown.find("      >>> Warning <<<\n"), std::string::npos);
  EXPECT_NE(shown.find(" This option should be exercised with care."), std::string::npos);
  EXPECT_NE(shown.find("Enter \"A\" to abort or Press <RETURN> to continue: "), std::string::npos);
  EXPECT_EQ(shown.find(">>> NOTE:"), std::string::npos);
}

TEST(SitePage, UnitsOptionTwoCanBeAborted) {
  ScriptedSession t("3\n2\nA\n\n");
  site_record(t.s);
  t.s.tpcm.i(164) = 6;  // a user wind spectrum file: the note is shown
  const Tpcm before = t.s.tpcm;
  static_page(t.s);
  EXPECT_NE(t.shown().find(" >>> NOTE: This data set uses a user-supplied spectrum file"), std::string::npos);
  Tpcm after = t.s.tpcm;
  after.i(kNavCode) = before.i(kNavCode);
  after.i(kPageCounter) = before.i(kPageCounter);
  EXPECT_TRUE(after == before);
}

TEST(SitePage, NoteAboutSpectrumFilesOnlyForUserSpectra) {
  for (int current : {0, 1, 2, 3}) {
    ScriptedSession t("3\n2\nA\n\n");
    site_record(t.s);
    t.s.tpcm.i(165) = current;
    static_page(t.s);
    EXPECT_EQ(t.shown().find(">>> NOTE:") != std::string::npos, current == 2) << current;
  }
}

TEST(SitePage, UnitsSubPageHelpAndOtherChoices) {
  // "?2" shows the conversion notes for option 2, then 5 changes nothing.
  ScriptedSession t("3\n?2\n\n5\n3\n?\n\n\n\n");
  site_record(t.s);
  const Tpcm before = t.s.tpcm;
  static_page(t.s);
  const std::string shown = t.shown();
  EXPECT_NE(shown.find("                     ****  Units Conversion Notes  ****\n"
                       "\n"
                       " ++> Item Number   2\n"
                       " This option should be exercised with care."),
            std::string::npos);
  EXPECT_NE(shown.find(" ++> Item Number  1\n     Option 1 changes only the displayed units"), std::string::npos);
  EXPECT_EQ(t.s.tpcm.i(kUnitSystem), before.i(kUnitSystem));
  EXPECT_EQ(t.s.tpcm.r(446), before.r(446));
}

TEST(SitePage, DamagedUnitWordIsNeverSwitched) {
  // Word 116 = 5: no units line; item 3 refuses with a message for either
  // option and nothing in the record changes.
  ScriptedSession t("3\n2\n3\n1\n\n");
  site_record(t.s);
  t.s.tpcm.i(kUnitSystem) = 5;
  const Tpcm before = t.s.tpcm;
  static_page(t.s);
  const std::string shown = t.shown();
  EXPECT_EQ(shown.find("Units of measure:"), std::string::npos);
  EXPECT_EQ(count_of(shown, " ++> The units of measure code of this data file is neither English"), 2);
  EXPECT_EQ(shown.find("Units Conversion Options"), std::string::npos);
  EXPECT_EQ(shown.find("Invalid argument in Toggle"), std::string::npos);
  Tpcm after = t.s.tpcm;
  after.i(kNavCode) = before.i(kNavCode);
  after.i(kPageCounter) = before.i(kPageCounter);
  EXPECT_TRUE(after == before);
}

TEST(SitePage, ComputedValuesOutOfRangeAreRefusedAndTheRecordKept) {
  struct Case {
    int units;
    std::size_t word;
    float value;
    void (*page)(Session&);
    const char* replies;
    std::string message;
  };
  const std::string refused = std::string(kRefusedResult) + "\n" + kReturn;
  const Case cases[] = {
      // 3e38 knots x 1.687 ft/s per knot, on the gyradii page.
      {kUnitsEnglish, 1424, 0.0f, [](Session& s) { vesel2(s, "3", "Vessel"); }, "9\n3e38\n\n\n", refused},
      // 3e38 lb/ft^3 x 16.0185: the labels stay English too.
      {kUnitsEnglish, 446, 3e38f, static_page, "3\n1\n\n\n", refused},
      // 3.3e38 m x 3.28084: the whole record stays metric.
      {kUnitsMetric, 445, 3.3e38f, static_page, "3\n2\n\n\n\n",
       " ++> A value of this data file would be out of range in the other\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.word);
    ScriptedSession t(c.replies);
    site_record(t.s, c.units);
    t.s.tpcm.set_r(c.word, c.value);
    const Tpcm before = t.s.tpcm;
    c.page(t.s);
    EXPECT_NE(t.shown().find(c.message), std::string::npos) << t.shown();
    Tpcm after = t.s.tpcm;
    after.i(kNavCode) = before.i(kNavCode);
    after.i(kPageCounter) = before.i(kPageCounter);
    EXPECT_TRUE(after == before);
  }
}

TEST(SitePage, HelpTexts) {
  {
    ScriptedSession t("?1\n\n?4\n\n\n");
    site_record(t.s);
    static_page(t.s);
    const std::string shown = t.shown();
    EXPECT_NE(shown.find("                     ****  Site Definition Notes  ****\n"
                         "\n"
                         " ++> Item Number   1\n"
                         "     The \"Units of measure\" item selects English units"),
              std::string::npos);
    EXPECT_NE(shown.find("the kiloNewton"), std::string::npos);
    EXPECT_NE(shown.find(" ++> Item Number   4\n ++> Sorry, no help for this line...\n" + kReturn),
              std::string::npos);
  }
  {
    ScriptedSession t("?\n\n\n");
    site_record(t.s);
    static_page(t.s);
    const std::string shown = t.shown();
    EXPECT_NE(shown.find(" ++> Item Number  3\n     The \"Units of measure\""), std::string::npos);
    EXPECT_NE(shown.find(" ++> Item Number  5\n     Changing the water density changes nothing else"),
              std::string::npos);
    EXPECT_EQ(count_of(shown, "Press <RETURN>"), 1);
  }
}

TEST(SitePage, PrintPassWritesThePageOnce) {
  ScriptedSession t("");
  site_record(t.s);
  t.s.tpcm.i(kPrintPass) = 1;
  static_page(t.s);
  EXPECT_EQ(t.shown(), kSiteEnglish + "\n\n\n");
  EXPECT_EQ(t.s.tpcm.i(kNavCode), 0);
}

}  // namespace
}  // namespace kelp
