// pivlorn end to end through the load pages: the external force/moment page
// (11), dynamic positioning (11b), wind (14) and current (15) on a record
// with wind and current switched on, in English and metric units, their
// help, their edits saved, and the print pass that lists them.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "e2e/e2e_util.hpp"

namespace kelp::e2e {
namespace {

namespace fs = std::filesystem;

const std::string kSelect = "\n Enter number of selection (\"H\" for help): ";

const std::string kPage11 =
    "   ****  Page 11: External Force/Moment Specifications  ****\n"
    "\n"
    "\n"
    " 1) ++> Simulate auxiliary force/moment on vessel:  Yes\n"
    "\n"
    "  2) Coordinate system of applied force .......   <<global>>         \n"
    "  3) Force applied to .........................   <<vessel>>\n"
    "  4) Mean X force component ...................      50.00 kips           \n"
    "  5) Mean Y force component ...................       0.00 kips           \n"
    "  6) Mean applied Z moment (force couple) value   0.000E+00 k. ft-lbs   \n"
    "  7) Spectral value of force at resonance .....  0.000E+00 (kips)^2/(rad/s)   \n"
    "  8) Spectral value of Z moment at yaw resonance   0.000E+00 (ft*kip)^2/(rad/s) \n"
    "  9) Force-related damping at resonance .......       0.00 kips/(ft/s)        \n"
    " 10) Moment-related damping at yaw resonance ..       0.00 kip-ft/(rad/s)     \n"
    " 11) Peak Factor Multiplier ...................            Rayleigh\n"
    "\n"
    "    <<Vessel>>-System Coordinates of Applied Force:\n"
    " 12) Applied force X-coordinate (from c.g.) ...       0.00 feet           \n"
    " 13) Applied force Y-coordinate (from c.g.) ...       0.00 feet           \n"
    "\n"
    "21) ++> Simulate SECOND auxiliary force/moment on vessel:  No \n"
    " ";

const std::string kPage11b =
    "   ****  Page 11b: Dynamic Positioning Controls  ****\n"
    "\n"
    "\n"
    "  1) Simulate Dynamic Heading Control: ........ Yes\n"
    "\n"
    "  2) Global DP Heading Target .................      45.00 deg\n"
    "  3) DP-imposed Yaw Damping ...................       0.00 percent\n"
    "  4) Use simulation DP torsion spring estimate  No \n"
    "  5) DP Torsional Spring Constant .............       0.00 ft*kip/radian  \n"
    " ";

const std::string kPage14 =
    "                   ****  Page 14: Wind Conditions  ****\n"
    "\n"
    "\n"
    "\n"
    "  1) Wind speed .................................      40.00 knots\n"
    "  2) Wind heading ...............................       0.00 degrees\n"
    "\n"
    "  3) Wind spectral type .........................  N.P.D.                       \n"
    "     N.P.D. Spectral Evaluation Height ..........      10.00 feet           \n"
    "\n"
    " ";

const std::string kPage15 =
    "                 ****  Page 15: Current Conditions  ****\n"
    "\n"
    "\n"
    "\n"
    "  1) Current speed ..............................       2.00 knots\n"
    "  2) Current heading ............................       0.00 degrees\n"
    "  3) Current variation with depth ............... 1/7 power law                 \n"
    "\n"
    "  6) Current spectral type ...................... Band-limited white spectrum  \n"
    "     Current speed spectral density .............  0.906E+00 feet^2/sec\n"
    "\n"
    "  7) Fractional RMS current variation ...........      0.100\n"
    " ";

class PivlornEnvironment : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(program_path("pivlorn"))) FAIL() << "pivlorn is not built: " << program_path("pivlorn");
    // A new record, saved, then prepared: wind and current on, the first
    // external load and heading control on, a few values.
    ASSERT_EQ(run({"C", "L", "1"}).status, 0);
    write_file(dir_ / "LOWDAT", encode_record(std::vector<std::int32_t>(680, 0)));
    data_ = slurp(dir_ / "PIVADAT");
    set(174, 1);
    set(175, 1);
    set(1440, 1);
    real(1434, 50.0f);
    set(1442, 0xFF1);
    real(1444, 45.0f);
    real(454, 40.0f);
    set(164, 5);
    real(489, 10.0f);
  }
  RunResult run(const std::vector<std::string>& replies) { return e2e::run(dir_, "pivlorn", script(replies)); }
  void set(std::size_t word, std::int32_t v) { data_.replace(4 + 4 * word, 4, be32(static_cast<std::uint32_t>(v))); }
  void real(std::size_t word, float v) { set(word, std::bit_cast<std::int32_t>(v)); }
  void write() { write_file(dir_ / "PIVADAT", data_); }

  TempDir dir_;
  std::string data_;
};

TEST_F(PivlornEnvironment, PagesEditsAndHelpInEnglishUnits) {
  write();
  // Page 11 and its help on item 27; 11b and its page help; page 14 (page
  // 12 and 13 are passed by a jump); page 15: the speed, then the band-limited
  // spectrum with a fraction of 0.1; page 22, then the finish page saves.
  const RunResult r = run({"M", "J11", "?27", "", "", "?", "", "J14", "?2", "", "", "1", "2", "6", "4", "0.1", "", "", "L",
                           "1"});
  EXPECT_EQ(r.status, 0) << r.screen;
  // Each page again after its help or edit.
  EXPECT_EQ(page_labels(r.screen).substr(0, 34), "1 11 11 11b 11b 14 14 15 15 15 16 ") << page_labels(r.screen);
  EXPECT_EQ(count_of(r.screen, kPage11 + kSelect), 2) << r.screen;
  EXPECT_EQ(count_of(r.screen, kPage11b + kSelect), 2);
  EXPECT_EQ(count_of(r.screen, kPage14 + kSelect), 2);
  EXPECT_EQ(count_of(r.screen, kPage15 + kSelect), 1);
  // "?27": the note of item 7; "?": the one note of page 11b; "?2" on 14.
  EXPECT_NE(r.screen.find(" ++> Item Number  27\n     The fluctuation of a load"), std::string::npos);
  EXPECT_NE(r.screen.find("\n ++> Item Number  1 -> 5, 11 ->19\n     To emulate thrusters"), std::string::npos);
  EXPECT_NE(r.screen.find("****  Wind Definition Notes  ****\n\n ++> Item Number  2\n"), std::string::npos);

  const std::string saved = slurp(dir_ / "PIVADAT");
  EXPECT_EQ(file_real(saved, 457), 2.0f);
  EXPECT_EQ(file_word(saved, 165), 3);
  EXPECT_EQ(file_word(saved, 458), 0x3F67D894);  // 0.90564847, worked out by hand
  // The print pass of the save lists the four pages without a prompt.
  const std::string listing = slurp(dir_ / "PIVAIN.stxt");
  EXPECT_EQ(page_labels(listing), "1 6 7 8 9 10 11 11b 13 14 15 16 17 18 19 20 21 22 ");
  for (const std::string* page : {&kPage11, &kPage11b, &kPage14, &kPage15}) {
    EXPECT_NE(listing.find(page->substr(0, page->size() - 1)), std::string::npos) << *page;
  }
  EXPECT_EQ(listing.find("Enter number of selection"), std::string::npos);
}

TEST_F(PivlornEnvironment, MetricLabelsAndTheSecondBlockSwitchedOff) {
  set(116, 1);
  set(791, 0);
  set(795, 1);  // a third block left on behind the second is cleared
  set(165, 1);
  write();
  const RunResult r = run({"M", "J11", "", "", "", "", "L", "1"});
  EXPECT_EQ(r.status, 0) << r.screen;
  for (const char* line : {"  4) Mean X force component ...................      50.00 metric tons    \n",
                           "  6) Mean applied Z moment (force couple) value   0.000E+00 m.ton-meters\n",
                           " 12) Applied force X-coordinate (from c.g.) ...       0.00 meters         \n",
                           "  5) DP Torsional Spring Constant .............       0.00 m.ton*m./radian\n",
                           "     N.P.D. Spectral Evaluation Height ..........      10.00 meters         \n",
                           "     Current speed spectral density .............  0.000E+00 meters^2/sec\n"}) {
    EXPECT_NE(r.screen.find(line), std::string::npos) << line;
  }
  EXPECT_EQ(file_word(slurp(dir_ / "PIVADAT"), 795), 0);
}

}  // namespace
}  // namespace kelp::e2e
