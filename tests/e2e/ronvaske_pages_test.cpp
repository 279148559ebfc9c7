// ronvaske end to end through its pages: site conditions, hydrostatics,
// gyradii and bilge, period and damping, the output options. Each test drives the
// built program with a reply script and checks what it shows, the saved
// record words and the print-pass listing.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "e2e/e2e_util.hpp"

namespace kelp::e2e {
namespace {

std::uint32_t raw(const std::string& data, std::size_t word) { return get_be32(data, 4 + 4 * word); }

const std::string kSelect = " \n Enter number of selection (\"H\" for help): ";

// Page 1 of a new record.
const std::string kNewSitePage =
    "                    ****  Page 1: Site conditions  ****\n"
    "\n"
    "\n"
    "\n"
    "     Two-line Identification for this simulation:\n"
    "\n"
    " 1) [                                                                        ]\n"
    " 2) [                                                                        ]\n"
    "\n"
    " 3) Units of measure: English\n"
    "\n"
    " 4) Site water depth:            0.00 feet           \n"
    " 5) Water density:              64.00 lbs/cubic foot \n";

TEST(RonvaskePages, EditEveryPageAndSave) {
  TempDir dir;
  const auto r = run(dir, "ronvaske",
                     script({"C",
                             // page 1: identification, depth, freshwater
                             "1", "Test buoy off the north shore", "4", "150", "5", "2", "",
                             // page 2: displacement and draft, help on item 1
                             "1", "500", "10", "6.5", "?1", "", "",
                             // page 3: bilge keel on and its length, 2 knots; the key list
                             "5", "6", "80", "9", "2", "H", "", "",
                             // page 4: heave damping and roll period specified
                             "1", "5", "11", "20", "L",
                             // final page: save and exit
                             "1"}));
  ASSERT_FALSE(r.timed_out);
  EXPECT_EQ(r.status, 0) << r.screen << r.errors;
  EXPECT_EQ(page_labels(r.screen), "1 1 1 1 2 2 2 2 3 3 3 3 3 4 4 4 10 ");
  EXPECT_NE(r.screen.find(kNewSitePage + kSelect), std::string::npos);
  EXPECT_NE(r.screen.find(" ++> Item Number 1\n     Displacement comprises total simulated vessel weight"),
            std::string::npos);
  EXPECT_NE(r.screen.find(" (Jn) Jump to page \"n\"\n"), std::string::npos);
  EXPECT_NE(r.screen.find("  5) Is there a bilge keel ..............................   Yes\n"
                          "  6) Bilge keel length ..................................     80.00 ft    \n"),
            std::string::npos);
  EXPECT_NE(r.screen.find("  9) Vessel speed (knots) ...............................      2.00       \n"
                          " 10) Global direction of vessel motion (degrees) ........      0.00       \n"),
            std::string::npos);
  EXPECT_NE(r.screen.find(" 11) Roll period is ..................................... Specified\n"
                          " 12) Roll period (sec) ..................................    20.00\n"),
            std::string::npos);

  const std::string data = slurp(dir / "RONDDAT");
  ASSERT_EQ(data.size(), 7956u);
  std::string ident;
  for (std::size_t w = 59; w < 77; ++w) {
    const std::uint32_t v = raw(data, w);
    for (int k = 0; k < 4; ++k) ident += static_cast<char>((v >> (8 * k)) & 0xFFu);
  }
  EXPECT_EQ(ident, "Test buoy off the north shore" + std::string(43, ' '));
  EXPECT_EQ(file_real(data, 445), 150.0f);
  EXPECT_EQ(file_real(data, 446), 62.44f);
  EXPECT_EQ(file_real(data, 1408), 500.0f);
  EXPECT_EQ(file_real(data, 1411), 6.5f);
  EXPECT_EQ(file_word(data, 761), 1);
  EXPECT_EQ(file_real(data, 1421), 80.0f);
  EXPECT_EQ(file_real(data, 1424), 2.0f * 1.687f);
  EXPECT_EQ(file_word(data, 766), 1);
  EXPECT_EQ(file_real(data, 1370), 5.0f);
  EXPECT_EQ(file_word(data, 768), 1);
  EXPECT_EQ(file_real(data, 1372), 20.0f);
  EXPECT_EQ(file_word(data, 116), 0);
}

TEST(RonvaskePages, HiddenItemsKeepTheirNumbersAndKeysRedisplay) {
  TempDir dir;
  // Page 2: 11 and 12 are hidden (kind 4, vessel type 4); "?12" shows no
  // help; H leaves the redisplay to the loop. Page 3: 6 is hidden without a
  // keel. Page 4: 2 is hidden while heave damping is computed; H there
  // shows page 3, as the slot table routes it.
  const auto r = run(dir, "ronvaske",
                     script({"C", "", "11", "12", "?12", "H", "", "", "6", "", "2", "H", "", "L", "1"}));
  ASSERT_FALSE(r.timed_out);
  EXPECT_EQ(r.status, 0) << r.screen;
  EXPECT_EQ(page_labels(r.screen), "1 2 2 2 2 2 3 3 4 4 3 10 ");
  EXPECT_EQ(r.screen.find("Enter new value"), std::string::npos);
  EXPECT_EQ(r.screen.find("Vessel Definition Notes"), std::string::npos);
  EXPECT_EQ(r.screen.find("Vessel type for simulation"), std::string::npos);
  const std::string data = slurp(dir / "RONDDAT");
  EXPECT_EQ(file_word(data, 776), 4);
  EXPECT_EQ(file_word(data, 761), 0);
  EXPECT_EQ(file_word(data, 766), 0);
}

TEST(RonvaskePages, MetricSwitchConvertsTheRecordAndBack) {
  TempDir dir;
  {
    const auto r = run(dir, "ronvaske", script({"C", "4", "100", "3", "2", "", "", "", "L", "1"}));
    ASSERT_FALSE(r.timed_out);
    EXPECT_EQ(r.status, 0) << r.screen;
    EXPECT_NE(r.screen.find(" 3) Units of measure: Metric\n"
                            "\n"
                            " 4) Site water depth:           30.48 meters         \n"
                            " 5) Water density:            1025.18 kgw/cubic meter\n"),
              std::string::npos);
    EXPECT_NE(r.screen.find("  1) Vessel displacement ................................       0.00 m.ton \n"),
              std::string::npos);
    const std::string data = slurp(dir / "RONDDAT");
    EXPECT_EQ(file_word(data, 116), 1);
    EXPECT_EQ(raw(data, 445), 0x41F3D70Au);  // 100 x 0.3048 (gfortran)
    EXPECT_EQ(raw(data, 446), 0x448025D2u);  // 64 lb/ft^3 as kg/m^3
  }
  {
    const auto r = run(dir, "ronvaske", script({"M", "3", "2", "", "", "L", "1"}));
    EXPECT_EQ(r.status, 0) << r.screen;
    EXPECT_NE(r.screen.find(" 2) Convert ALL data values and units labels to English units\n"),
              std::string::npos);
    const std::string data = slurp(dir / "RONDDAT");
    EXPECT_EQ(file_word(data, 116), 0);
    EXPECT_EQ(file_real(data, 446), 64.0f);
    EXPECT_NEAR(file_real(data, 445), 100.0f, 100.0f * 2e-7f);  // within one unit in the last place
  }
}

TEST(RonvaskePages, PrintPassListsEachPageOnce) {
  TempDir dir;
  const auto r = run(dir, "ronvaske", sound_buoy_script({"L", "E", ""}));
  ASSERT_FALSE(r.timed_out);
  EXPECT_EQ(r.status, 0) << r.screen << r.errors;
  const std::string listing = slurp(dir / "RONDIN.stxt");
  for (const std::string header :
       {"  Page 1: Site conditions  ", "  Page 2: Vessel Hydrostatic Characteristics  ",
        "  Page 3: Vessel Gyradii and Bilge Specifications  ", "  Page 4: Vessel Period and Damping Specifications  "}) {
    EXPECT_EQ(count_of(listing, header), 1) << header;
  }
  EXPECT_EQ(listing.find("Enter number of selection"), std::string::npos);
  // Pages pair up as half pages: a page break before the odd ones, three
  // empty lines after the even ones.
  const std::string pages =
      "                    ****  Page 1: Site conditions  ****\n"
      "\n"
      "\n"
      "\n"
      "     Two-line Identification for this simulation:\n"
      "\n"
      " 1) [                                                                        ]\n"
      " 2) [                                                                        ]\n"
      "\n"
      " 3) Units of measure: English\n"
      "\n"
      " 4) Site water depth:          100.00 feet           \n"
      " 5) Water density:              64.00 lbs/cubic foot \n"
      "\f\n"
      " **************  Page 2: Vessel Hydrostatic Characteristics  **************\n"
      "\n"
      "  1) Vessel displacement ................................     500.00 k.lbs \n"
      "  2) Transverse metacentric height (KMT) ................      20.00 ft    \n"
      "  3) Longitudinal metacentric height (KML) ..............      20.00 ft    \n"
      "  4) Vertical center of buoyancy (VKB) ..................       0.00 ft    \n"
      "  5) Vertical center of gravity (VKG) ...................       5.00 ft    \n"
      "  6) LCG-to-Midships distance ...........................       0.00 ft    \n"
      "  7) Vessel water plane area ............................     300.00 ft^2  \n"
      "  8) Length of vessel at waterline ......................      30.00 ft    \n"
      "  9) Beam of vessel at waterline ........................      30.00 ft    \n"
      " 10) Mean vessel draft ..................................      10.00 ft    \n"
      "\n"
      "\n"
      "\n"
      " ***********  Page 3: Vessel Gyradii and Bilge Specifications  ***********\n"
      "\n"
      "  1) Pitch Gyradius .....................................     10.00 ft    \n"
      "  2) Roll Gyradius ......................................     10.00 ft    \n"
      "  3) Yaw Gyradius .......................................     10.00 ft    \n"
      "\n"
      "  4) Bilge radius at maximum beam station ...............      0.00 ft    \n"
      "  5) Is there a bilge keel ..............................   No \n"
      "\n"
      "  9) Vessel speed (knots) ...............................      0.00       \n"
      "\n"
      " 11) Trim angle (deg; bow down positive) ................      0.00       \n"
      " 12) Heel angle (deg; starboard down positive) ..........      0.00       \n"
      "\n"
      " 13) Utilize user-supplied vessel RAO data ..............   No \n"
      "\f\n"
      " ***********  Page 4: Vessel Period and Damping Specifications  ***********\n"
      "\n"
      "  1) Heave damping is ................................... Computed \n"
      "  3) Pitch damping is ................................... Computed \n"
      "  5) Roll damping is .................................... Computed \n"
      "\n"
      "  7) Heave period is .................................... Computed \n"
      "  9) Pitch period is .................................... Computed \n"
      " 11) Roll period is ..................................... Computed \n"
      "\n"
      "\n"
      "\n";
  EXPECT_NE(listing.find(pages), std::string::npos) << listing;
  const std::string data = slurp(dir / "RONDDAT");
  EXPECT_EQ(file_real(data, 445), 100.0f);
  EXPECT_EQ(file_real(data, 1408), 500.0f);
}

TEST(RonvaskePages, CommandLettersBlankAndUnreadableRepliesKeepTheValues) {
  TempDir dir;
  // Page 1: depth 50, then a letter, a blank and an unreadable reply at the
  // depth prompt, a blank identification reply, a help request and a key
  // list at the density sub-page. Page 2: the same at the displacement
  // prompt. Page 4: heave damping specified with 3, then a letter keeps it.
  const auto r = run(dir, "ronvaske",
                     script({"C", "4", "50", "4", "B", "4", "", "4", "x7", "1", "", "5", "?", "", "H", "", "",
                             "1", "B", "1", "", "1", "1.5.2", "", "", "1", "3", "2", "E", "L", "1"}));
  ASSERT_FALSE(r.timed_out);
  EXPECT_EQ(r.status, 0) << r.screen << r.errors;
  EXPECT_EQ(page_labels(r.screen), "1 1 1 1 1 1 1 2 2 2 2 3 4 4 4 10 ");
  EXPECT_NE(r.screen.find(" ++> Sorry, no help for this page..."), std::string::npos);
  const std::string data = slurp(dir / "RONDDAT");
  EXPECT_EQ(file_real(data, 445), 50.0f);
  EXPECT_EQ(file_real(data, 446), 64.0f);
  EXPECT_EQ(file_real(data, 1408), 0.0f);
  EXPECT_EQ(file_word(data, 766), 1);
  EXPECT_EQ(file_real(data, 1370), 3.0f);
  EXPECT_EQ(file_word(data, 116), 0);
}

TEST(RonvaskePages, EndOfInputInsideAPageWritesNothing) {
  // Each script ends at a prompt inside a page: an identification line, the
  // units and density sub-pages, the conversion warning, a value of page 2,
  // the bilge keel toggle's page, a period value.
  for (const auto& replies : std::vector<std::vector<std::string>>{
           {"C", "1"}, {"C", "3"}, {"C", "3", "2"}, {"C", "5"}, {"C", "5", "3"},
           {"C", "", "6"}, {"C", "", "", "5"}, {"C", "", "", "", "7"}}) {
    TempDir dir;
    const auto r = run(dir, "ronvaske", script(replies));
    ASSERT_FALSE(r.timed_out);
    EXPECT_EQ(r.status, 1) << replies.size() << r.screen;
    EXPECT_TRUE(r.screen.ends_with(" ++> End of input: session ended, nothing saved.\n")) << r.screen;
    EXPECT_FALSE(std::filesystem::exists(dir / "RONDDAT"));
  }
}

TEST(RonvaskePages, BuildFindTheFaultsFixThemExecuteAndSave) {
  TempDir dir;
  // A sound buoy, then faults on pages 3 and 4 (user RAOs at a forward
  // speed, a specified heave damping of 0) and the output options of pages
  // 8 and 9: velocities at two points typed in the point table, no force
  // RAOs, output to the console. Execute lists the two findings; after the
  // wait the End of Session page comes back, the faults are mended on
  // pages 4 and 3, and execute goes through to the save.
  const RunResult r =
      run(dir, "ronvaske",
          sound_buoy_script({"13", "9", "2", "",                       // page 3
                             "1", "0", "J8",                           // page 4
                             "12", "14", "2", "15", "1", "1,2,3", "-1,-2,-3", "", "",  // page 8
                             "1", "8", "1", "",                        // page 9
                             "3", "",                                  // findings
                             "F", "J4", "2", "5", "J3", "13", "L",     // mended
                             "3", ""}));
  ASSERT_FALSE(r.timed_out);
  EXPECT_EQ(r.status, 0) << r.screen;
  EXPECT_EQ(page_labels(r.screen),
            "1 1 2 2 2 2 2 2 2 2 2 3 3 3 3 3 3 4 4 8 8 8 8 9 9 9 10 10 1 4 4 3 3 10 ");
  EXPECT_NE(r.screen.find(kSelect +
                          "\n"
                          " ++> Warning: Nonzero forward speed with User-specified vessel RAOs.\n"
                          "\n"
                          " ++> Fatal Warning: Nonpositive user-specified damping coefficient.\n" +
                          " \n Press <RETURN> to continue: "),
            std::string::npos)
      << r.screen;
  EXPECT_EQ(count_of(r.screen, "Warning"), 2);
  EXPECT_NE(r.errors.find("it is ready for submission to the server."), std::string::npos);

  const std::string data = slurp(dir / "RONDDAT");
  ASSERT_EQ(data.size(), 7956u);
  EXPECT_EQ(file_word(data, 757), 1);
  EXPECT_EQ(file_word(data, 753), 2);
  const float points[] = {1.0f, 2.0f, 3.0f, -1.0f, -2.0f, -3.0f};
  for (std::size_t k = 0; k < 6; ++k) EXPECT_EQ(file_real(data, 904 + k), points[k]);
  EXPECT_EQ(file_word(data, 104), 0);
  EXPECT_EQ(file_word(data, 108), 6);
  EXPECT_EQ(file_word(data, 777), 0);
  EXPECT_EQ(file_real(data, 1370), 5.0f);

  // The listing holds the output pages and the point table.
  const std::string listing = slurp(dir / "RONDIN.stxt");
  EXPECT_EQ(page_labels(listing), "1 2 3 4 5 6 7 8 9 ");
  EXPECT_NE(listing.find(" ++> Enter point coordinates for motions evaluation\n"
                         "            x          y          z\n"
                         "   1)        1.00       2.00       3.00\n"
                         "   2)       -1.00      -2.00      -3.00\n"),
            std::string::npos)
      << listing;
}

}  // namespace
}  // namespace kelp::e2e
