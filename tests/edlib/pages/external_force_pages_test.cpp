// The external force/moment page with its chained blocks, the dynamic
// positioning page and the constant-force page.
#include "edlib/pages/external_force_pages.hpp"

#include <gtest/gtest.h>

#include <string>

#include "edlib/record/data_record.hpp"
#include "sysutl/session.hpp"
#include "test_page.hpp"

namespace kelp {
namespace {

using testing::iw;
using testing::kNewValue;
using testing::kSelect;
using testing::PageCase;
using testing::PageFn;
using testing::rw;

const PageFn kForces = [](Session& s) { extfrc2(s, "11"); };
const PageFn kDp = [](Session& s) { dpfrc(s, "11b"); };

void expect_cases(const PageFn& page, std::initializer_list<PageCase> cases) {
  for (const PageCase& c : cases) testing::expect_page_case(page, c);
}

testing::Words with(testing::Words w, std::initializer_list<testing::Word> more) {
  w.insert(w.end(), more);
  return w;
}

const std::string kForcesHeader = "   ****  Page 11: External Force/Moment Specifications  ****\n\n";
const std::string kBlock1Off = kForcesHeader + "\n 1) ++> Simulate auxiliary force/moment on vessel:  No \n";
const std::string kBlock1 =
    kForcesHeader +
    "\n"
    " 1) ++> Simulate auxiliary force/moment on vessel:  Yes\n"
    "\n"
    "  2) Coordinate system of applied force .......   <<vessel>>         \n"
    "  3) Force applied to .........................   <<moorings>>\n"
    "  4) Mean X force component ...................     100.00 kips           \n"
    "  5) Mean Y force component ...................     -25.50 kips           \n"
    "  6) Mean applied Z moment (force couple) value   0.123E+05 k. ft-lbs   \n"
    "  7) Spectral value of force at resonance .....  0.250E+03 (kips)^2/(rad/s)   \n"
    "  8) Spectral value of Z moment at yaw resonance   0.000E+00 (ft*kip)^2/(rad/s) \n"
    "  9) Force-related damping at resonance .......      12.00 kips/(ft/s)        \n"
    " 10) Moment-related damping at yaw resonance ..       0.00 kip-ft/(rad/s)     \n"
    " 11) Peak Factor Multiplier ...................       2.50\n"
    "\n"
    "    <<Vessel>>-System Coordinates of Applied Force:\n"
    " 12) Applied force X-coordinate (from c.g.) ...     150.00 feet           \n"
    " 13) Applied force Y-coordinate (from c.g.) ...       0.00 feet           \n"
    "\n"
    "21) ++> Simulate SECOND auxiliary force/moment on vessel:  No \n";
const testing::Words kBlock1Values = {iw(kAuxForceOn, 1),  iw(kAuxForceFrame, 1), iw(789, 1),
                                      rw(1434, 100.0f),    rw(1435, -25.5f),      rw(1436, 12345.0f),
                                      rw(1459, 250.0f),    rw(1461, 12.0f),       rw(1463, 2.5f),
                                      rw(1438, 150.0f)};

TEST(ExternalForcePage, ScreensEndToEnd) {
  expect_cases(kForces,
               {
                   // Block 1 off: item 1 only, and the later switches cleared.
                   {"block 1 off", "\n", {iw(kAuxForce2On, 1), iw(kAuxForce3On, 1)},
                    {iw(kAuxForce2On, 0), iw(kAuxForce3On, 0)}, {}, {}, {}, 15, kUnitsEnglish, kBlock1Off + kSelect},
                   // Block 2 off clears the third switch.
                   {"block 1 on", "\n", with(kBlock1Values, {iw(kAuxForce3On, 1)}), {iw(kAuxForce3On, 0)}, {}, {},
                    {}, 15, kUnitsEnglish, kBlock1 + kSelect},
               });
}

const testing::Words kAllOn = {iw(kAuxForceOn, 1), iw(kAuxForce2On, 1), iw(kAuxForce3On, 1)};

TEST(ExternalForcePage, BlocksChainAndKindsShowTheHeight) {
  expect_cases(
      kForces,
      {
          {"three blocks, kind 14", "\n", kAllOn, {iw(kAuxForce3On, 1)},
           {"\n 14) Applied force Z-coordinate (from keel) ...       0.00 feet",
            "\n41) ++> Simulate THIRD  auxiliary force/moment on vessel:  Yes\n", " 54) Applied force Z"},
           {}, {{"-System Coordinates", 3}}, 14},
          {"kind 17 edits the height", "34\n7.5\n\n", kAllOn, {rw(1477, 7.5f)},
           {" 34) Applied force Z-coordinate (from keel) ...       0.00 feet           \n" + testing::kNewValue}, {},
           {}, 17},
          {"kind 15 neither shows nor edits it", "14\n54\n\n", kAllOn, {}, {}, {"Z-coordinate", kNewValue}, {}, 15},
          {"a peak factor of 0", "\n", {iw(kAuxForceOn, 1)}, {}, {" 11) Peak Factor Multiplier ...................            Rayleigh\n"}, {}, {}, 15},
          {"a negative peak factor", "\n", {iw(kAuxForceOn, 1), rw(1463, -1.0f)}, {}, {"            Rayleigh\n"}, {}, {}, 15},
          {"metric labels", "\n", kAllOn, {},
           {"       0.00 metric tons    \n", "  0.000E+00 m.ton-meters\n", "  0.000E+00 (m.ton)^2/(rad/s)  \n",
            "  0.000E+00 (m.ton*m)^2/(rad/s)\n", "       0.00 m.ton/(m/s)        \n",
            "       0.00 m.ton-meter/(rad/s)\n", "       0.00 meters         \n"},
           {}, {}, 15, kUnitsMetric},
      });
}

TEST(ExternalForcePage, Edits) {
  expect_cases(
      kForces,
      {
          {"item 5 of a block that is off", "5\n\n", {}, {iw(kAuxForceOn, 0)}, {}, {kNewValue}, {}, 15},
          {"item 1 flips", "1\n\n", {}, {iw(kAuxForceOn, 1)}, {}, {}, {}, 15},
          {"item 1 asks in batch mode", "1\n7\n1\n1\n\n", {iw(kBatchFlag, 1)}, {iw(kAuxForceOn, 1)},
           {"Enter 1 for \"Yes\", 0 for \"No\": "}, {}, {}, 15},
          // 21 flips the hidden switch, but block 1 off clears it again.
          {"item 21 behind a block that is off", "21\n\n", {}, {iw(kAuxForce2On, 0)}, {}, {}, {}, 15},
          {"items 15 to 20 and above 60 redisplay", "15\n20\n61\n\n", kAllOn, {}, {}, {kNewValue},
           {{"Page 11: External", 4}}, 15},
          {"frame and target of block 2", "22\n23\n\n", kAllOn, {iw(792, 1), iw(793, 1)}, {}, {}, {}, 15},
          {"a block value", "26\n-42.5\n\n", kAllOn, {rw(1472, -42.5f)},
           {" 26) Mean applied Z moment (force couple) value   0.000E+00 k. ft-lbs   \n" + kNewValue}, {}, {}, 15},
          // Entering 0 restores the Rayleigh factor.
          {"peak factor 0", "51\n0\n\n", with(kAllOn, {rw(1494, 2.0f)}), {rw(1494, 0.0f)},
           {" 51) Peak Factor Multiplier ...................       2.00\n" + kNewValue, "Rayleigh"}, {}, {}, 15},
      });
}

TEST(ExternalForcePage, Help) {
  expect_cases(kForces,
               {
                   {"item 27 shows item 7", "?27\n\n\n", kAllOn, {},
                    {"            ****  Vessel Auxiliary External Load Notes  ****\n\n ++> Item Number  27\n",
                     "     The fluctuation of a load"}},
                   {"item 16", "?16\n\n\n", {}, {}, {" ++> Sorry, no help for this line..."}, {" ++> Item Number"}},
                   {"the page", "?\n\n\n\n\n\n\n\n\n\n\n", {}, {},
                    {" ++> Item Number  1\n", " ++> Item Number  3\n", " ++> Item Numbers 4 -> 5\n",
                     " ++> Item Number  6\n", " ++> Item Numbers 7 -> 8\n", " ++> Item Numbers 9 -> 10\n",
                     " ++> Item Number  11\n", " ++> Item Numbers 12 -> 14\n"},
                    {}, {{testing::kReturn, 9}}},
               });
}

// ---- Dynamic positioning ----

const std::string kDpOn =
    "   ****  Page 11b: Dynamic Positioning Controls  ****\n"
    "\n"
    "\n"
    "  1) Simulate Dynamic Heading Control: ........ Yes\n"
    "\n"
    "  2) Global DP Heading Target .................      90.00 deg\n"
    "  3) DP-imposed Yaw Damping ...................      10.00 percent\n"
    "  4) Use simulation DP torsion spring estimate  No \n"
    "  5) DP Torsional Spring Constant .............   25000.00 ft*kip/radian  \n";

TEST(DynamicPositioningPage, ScreenEndToEnd) {
  expect_cases(kDp, {{"heading control", "\n",
                      {iw(kDpFlags, 0xFF1), rw(kDpHeadingTarget, 90.0f), rw(kDpYawDamping, 10.0f),
                       rw(kDpTorsionSpring, 25000.0f)},
                      {}, {}, {}, {}, 15, kUnitsEnglish, kDpOn + kSelect}});
}

TEST(DynamicPositioningPage, BitsAndItems) {
  const testing::Words on = {iw(kDpFlags, 0xFF1)};
  expect_cases(
      kDp,
      {
          // Items 1 and 4 change only their bits of word 1442.
          {"item 1 from 0xFF0", "1\n\n", {iw(kDpFlags, 0xFF0)}, {iw(kDpFlags, 0xFF1)}, {}, {}, {}, 15},
          {"item 4 twice", "4\n4\n4\n\n", on, {iw(kDpFlags, 0xFF3)}, {}, {}, {}, 15},
          {"item 1 off and on keeps the values", "1\n1\n\n", with(on, {rw(kDpHeadingTarget, 5.0f)}),
           {iw(kDpFlags, 0xFF1), rw(kDpHeadingTarget, 5.0f)}, {}, {}, {}, 15},
          {"off: only item 1, 2 to 5 change nothing", "2\n3\n4\n5\n\n", {iw(kDpFlags, 0xFF0)},
           {iw(kDpFlags, 0xFF0)}, {}, {"  2) Global", kNewValue}, {}, 15},
          {"the spring estimate hides item 5", "5\n\n", {iw(kDpFlags, 0xFF3)}, {}, {},
           {"  5) DP Torsional", kNewValue}, {}, 15},
          {"item 2", "2\n-30\n\n", on, {rw(kDpHeadingTarget, -30.0f)},
           {"  2) Global DP Heading Target .................       0.00 deg\n" + kNewValue}, {}, {}, 15},
          {"item 5", "5\n1200\n\n", on, {rw(kDpTorsionSpring, 1200.0f)}, {}, {}, {}, 15},
          {"item 11, never shown, switches position control", "11\n\n", {iw(kDpPositionFlags, 0x100)},
           {iw(kDpPositionFlags, 0x101)}, {}, {" 11)"}, {}, 15},
          {"metric spring unit", "\n", on, {}, {"       0.00 m.ton*m./radian\n"}, {}, {}, 15, kUnitsMetric},
          {"help on item 3", "?3\n\n\n", {}, {},
           {"                 ****  Vessel Environmental Load Notes  ****\n\n ++> Item Number  3\n",
            "sufficient\n     thruster force"}},
          {"help on item 7", "?7\n\n\n", {}, {}, {" ++> Sorry, no help for this line..."}, {}, {}, 15},
          {"help on the page", "?\n\n\n", {}, {}, {" ++> Item Number  1 -> 5, 11 ->19\n"}, {}, {}, 15},
      });
  EXPECT_EQ(sprunit(1, kUnitsEnglish), " k.lb/ft        ");
  EXPECT_EQ(sprunit(1, kUnitsMetric), " m.ton/m        ");
  EXPECT_EQ(sprunit(3, kUnitsEnglish), " ft*kip/radian  ");
  EXPECT_EQ(sprunit(3, kUnitsMetric), " m.ton*m./radian");
}

// ---- The constant-force page ----

struct Constant {
  int on = 1;
  float fx = 10.0f, fy = -2.0f, x = 50.0f, y = 0.0f, moment = 1500.0f;
  int frame = 1;
};

// The page on values of the test's own, checked after the run.
PageFn constant_page(Constant& c) {
  return [&c](Session& s) { extfrc(s, "9", "Vessel", {c.on, c.fx, c.fy, c.x, c.y, c.moment, c.frame}); };
}

const std::string kConstantOn =
    "   ****  Page 9: Vessel External Force/Moment Specification  ****\n"
    "\n"
    "\n"
    " 1) Simulate constant force/moment on vessel:   Yes\n"
    "\n"
    " 2) X force component ........................      10.00 kips           \n"
    " 3) Y force component ........................      -2.00 kips           \n"
    " 4) Applied moment (force couple) value ......  0.150E+04 k. ft-lbs \n"
    " 5) Auxiliary force components defined in <<vessel>> coordinate system\n"
    "\n"
    "    ++> Coordinates of Applied Force are in <<vessel>> system\n"
    "\n"
    " 6) Applied force X-coordinate (from c.g.) ...      50.00 feet           \n"
    " 7) Applied force Y-coordinate (from c.g.) ...       0.00 feet           \n";

TEST(ConstantForcePage, ScreensAndEdits) {
  {
    Constant c;
    expect_cases(constant_page(c), {{"on", "\n", {}, {}, {}, {}, {}, 15, kUnitsEnglish, kConstantOn + kSelect}});
  }
  {
    Constant c;
    c.on = 0;
    expect_cases(constant_page(c), {{"off refuses 2 to 7", "2\n5\n7\n\n", {}, {}, {}, {kNewValue, " 2) X"}}});
    EXPECT_EQ(c.frame, 1);
    EXPECT_EQ(c.fx, 10.0f);
  }
  {
    Constant c;
    expect_cases(constant_page(c),
                 {{"metric labels", "\n", {}, {},
                   {"     10.00 metric tons    \n", "  0.150E+04 ton-meters\n", "      50.00 meters         \n"},
                   {}, {}, 15, kUnitsMetric}});
  }
  {
    Constant c;
    expect_cases(constant_page(c), {{"5 flips the frame, 4 edits", "5\n4\n-7.5\n?3\n\n\n", {}, {},
                                     {"in <<global>> coordinate system",
                                      " 4) Applied moment (force couple) value ......  0.150E+04 k. ft-lbs \n" +
                                          kNewValue,
                                      " ++> Item Number  3\n", "independent\n     of the moment given here."}}});
    EXPECT_EQ(c.frame, 0);
    EXPECT_EQ(c.moment, -7.5f);
  }
}

}  // namespace
}  // namespace kelp
