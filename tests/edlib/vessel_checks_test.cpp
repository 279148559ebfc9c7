#include "edlib/vessel_checks.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "edlib/create_record.hpp"
#include "edlib/data_record.hpp"
#include "member_fixture.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using testing::column;
using testing::ScriptedSession;

constexpr std::size_t kTwin = 1234;

void set_vessel(Tpcm& t, std::size_t offset) {
  const auto r = [&t, offset](std::size_t w, float v) { t.set_r(w + offset, v); };
  r(1408, 500.0f);  // displacement
  r(1410, 5.0f);    // centre of gravity
  r(1411, 10.0f);   // draft
  r(1412, 300.0f);  // waterplane area
  for (std::size_t w : {1413, 1414, 1415}) r(w, 10.0f);
  r(1416, 20.0f);
  r(1417, 20.0f);
  r(1418, 30.0f);
  r(1419, 30.0f);
  for (std::size_t w : {1352, 1354, 1361, 1356, 1358}) r(w, 1.0f);
  t.i(786 + offset) = 0x111;
}

// A record every check accepts: a disc buoy for kinds below 10, a tanker for
// the moored kinds, and for kinds 10 and 13 a buoy as the second vessel.
// Irregular waves and swells are off, but their data are sound: one case
// (and two Ochi-Hubble components) of height 10 and period 10, a regular
// wave of 0.707 times that height.
void sound(Tpcm& t, int kind) {
  t.i(kProgramKind) = kind;
  t.i(kOutputUnit) = kScreen;
  t.i(kVesselKind) = kind < 10 ? 4 : 1;
  set_vessel(t, 0);
  if (kind == 10 || kind == 13) {
    set_vessel(t, kTwin);
    t.i(776 + kTwin) = 4;
  }
  t.set_r(1406, 1.0f);
  t.set_r(1407, 1.0f);
  t.i(kWindSelector) = 0x111;  // coefficients from "LOWDAT"
  t.i(kCurrentSelector) = 0x111;
  t.set_r(445, 100.0f);  // depth
  t.set_r(449, 1.0f);    // storm duration
  t.i(166) = 30;
  for (std::size_t k = 0; k < 100; ++k) t.set_r(317 + k, 5.0f + 0.5f * static_cast<float>(k));
  t.set_r(447, 7.07f);
  t.i(163) = 5;
  t.i(170) = 1;
  t.i(191) = 2;
  for (std::size_t w : {429, 430, 435, 436, 450, 451, 490, 491}) t.set_r(w, 10.0f);
}

// Slopes in degrees of a wave of height 7.07 in a depth of 100 (English
// units), from the dispersion relation solved by bisection: period 10, and
// the Pierson-Moskowitz peak period of a height of 10.
constexpr float kSlopeT10 = 2.816f;
constexpr float kSlopePm10 = 3.478f;

const std::string kW1 = "\n ++> Warning: Nonzero forward speed with User-specified vessel RAOs.\n";
const std::string kW2 = "\n ++> Warning: A vessel GM is zero.\n";
const std::string kF3 = "\n ++> Fatal Warning: A vessel gyradii is nonpositive.\n";
const std::string kF4 = "\n ++> Fatal Warning: Only *ONE* vessel can be type \"Semisubmersible\".\n";
const std::string kW6 = "\n ++> Warning: No member crosses the waterline.\n";
const std::string kW7 = "\n ++> Warning: Nonpositive semisubmersible geometry & shadowing factors detected.\n";
const std::string kW8 = "\n ++> Warning: A wind area or coefficient is nonpositive.\n";
const std::string kW9 = "\n ++> Warning: A current area or coefficient is nonpositive.\n";
const std::string kW10 = "\n ++> Warning: Nonpositive storm duration detected.\n";
const std::string kF11 =
    "\n ++> Fatal Warning: Irregular wave specification problem. Check for:\n"
    "     - A nonpositive significant wave height.\n"
    "     - A nonpositive peak period.\n";
const std::string kW12 =
    "\n ++> Warning: discrepancy between regular and irregular wave heights.\n"
    "     To disable warning, use regular ht. = (irregular ht.)/sqrt(2).\n";
const std::string kF13 = "\n ++> Fatal Warning: The water depth is nonpositive.\n";
const std::string kW14 = "\n ++> Warning: A vessel GM is negative.\n";
const std::string kW15 = "\n ++> Warning: A vessel beam, length, draft,\n     or displacement is nonpositive.\n";
const std::string kF16 = "\n ++> Fatal Warning: A vessel water plane area is nonpositive.\n";
const std::string kF17 = "\n ++> Fatal Warning: A vessel draft exceeds water depth.\n";
const std::string kW18 = "\n ++> Warning: Unequal buoy/tug, tanker/barge speed values.\n";
const std::string kW19 = "\n ++> Warning: Unequal buoy/tug, tanker/barge motion direction.\n";
const std::string kW20 = "\n ++> Warning: Haulex rigorously supports only forward speed towards Golbal 0.\n";
const std::string kF21 = "\n ++> Fatal Warning: A wave drift factor is nonpositive.\n";
const std::string kW22 =
    "\n ++> Warning: Mixed \"legacy\" flags detected for tanker, wave-current,\n"
    "     wave dissipation and wave reflection peak load models;\n"
    "     this is not generally recommended...\n";
const std::string kF23 =
    "\n ++> Fatal Warning: Mixing \"spar\" and \"Semi (2001) wave force models\n     is not permitted.\n";
const std::string kF24 = "\n ++> Fatal Warning: Nonpositive user-specified damping coefficient.\n";
const std::string kF25 = "\n ++> Fatal Warning: Nonpositive user-specified natural period.\n";
const std::string kW26 = "\n ++> Warning: Possible vessel type/wave drift force type mismatch.\n";
const std::string kW27 =
    "\n ++> Warning: Discontinuous user-specified wind/current coefficients about\n"
    "     zero degrees.  Specify a second coefficient close to zero degrees\n"
    "     (e.g. at 0.1 degree) in a \"LOWDAT\" file, or use a user-supplied\n"
    "     text file such as \"WINDCOFS.txt\".\n";
const std::string kF28 =
    "\n ++> Fatal Warning: Azimuthal ASSYMMETRY detected in vessel of\n     \"Azimuthally Symmetric\" type.\n";
const std::string kF29 =
    "\n ++> Fatal Warning: Swell direction locked to irregular waves \n"
    "     but no irregular waves are specified.\n";
const std::string kF30 =
    "\n ++> Fatal Warning: Wave period array problem. Check for:\n"
    "     - Unequal RAO period intervals.\n"
    "     - A nonpositive wave period.\n"
    "     - A period array of only one value.\n"
    "     Either deselect random wave option, or go back to the\n"
    "     RAO period table and correct the problem.\n";

using Change = std::function<void(Session&)>;

struct Finding {
  std::string name;
  int kind;
  Change change;
  std::string shown;
  int warnings;
  int fatal;
};

// Helpers for the rows below.
Change reals(std::vector<std::pair<std::size_t, float>> values) {
  return [values](Session& s) {
    for (const auto& [w, v] : values) s.tpcm.set_r(w, v);
  };
}
Change ints(std::vector<std::pair<std::size_t, int>> values) {
  return [values](Session& s) {
    for (const auto& [w, v] : values) s.tpcm.i(w) = v;
  };
}
Change both(Change a, Change b) {
  return [a, b](Session& s) {
    a(s);
    b(s);
  };
}
Change periods(std::function<float(int)> period) {
  return [period](Session& s) {
    for (int k = 0; k < 30; ++k) s.tpcm.set_r(317 + static_cast<std::size_t>(k), period(k));
  };
}
Change member_model(testing::MemberSpec m) {
  return [m](Session& s) {
    s.tpcm.i(kVesselKind) = 3;
    testing::put_member(s.tpcm, 1, m);
  };
}

const Change kWaves = ints({{171, 1}});
const Change kSwell = ints({{173, 1}});
const auto kWet = column(0.0f, 20.0f, member::kWaterPiercing);
const auto kSubmerged = column(0.0f, 5.0f, member::kWaterPiercing);
// Its top below its base, its coefficients typed.
const auto kFallen = [] {
  auto m = column(0.0f, -5.0f, member::kWaterPiercing);
  m.dims[2] = 5.0f;
  m.source = member::kUserCoefficients;
  return m;
}();

TEST(VesselChecks, EveryCheckOnAndOff) {
  const std::vector<Finding> cases = {
      {"1 speed with RAOs", 4, both(reals({{1424, 2}}), ints({{777, 1}})), kW1, 1, 0},
      {"1 speed without RAOs", 4, reals({{1424, 2}}), "", 0, 0},
      {"1 second vessel", 13, both(reals({{1424, 2}, {1424 + kTwin, 2}}), ints({{777 + kTwin, 1}})), kW1, 1, 0},
      {"2 GM zero", 4, reals({{1410, 20}}), kW2, 1, 0},
      {"2 GM zero, kind 14", 14, reals({{1410, 20}}), "", 0, 0},
      {"3 gyradius 0", 4, reals({{1414, 0}}), kF3, 0, 1},
      {"3 second vessel", 10, reals({{1414 + kTwin, -1}}), kF3, 0, 1},
      {"3 small gyradius", 4, reals({{1414, 0.01f}}), "", 0, 0},
      {"4 two semisubmersibles", 10, ints({{776, 3}, {776 + kTwin, 3}, {790 + kTwin, 1}}), kF4, 0, 1},
      {"4 one semisubmersible", 10, ints({{776, 3}}), "", 0, 0},
      {"5 a fatal member counts twice", 4, member_model(kFallen),
       "\n ++> Fatal Warning: Top of member  1 is below the base!\n", 1, 1},
      {"5 a dry member", 4, member_model(column(20.0f, 30.0f, member::kWaterPiercing)),
       "\n ++> Warning: Member number  1 is completely dry!\n" + kW6, 2, 0},
      {"5, 6 a sound member crossing the waterline", 4, member_model(kWet), "", 0, 0},
      {"6 no member crosses", 4, member_model(kSubmerged), kW6, 1, 0},
      {"6 no member crosses, no waterplane", 4, both(member_model(kSubmerged), reals({{1412, 0}})), "", 0, 0},
      {"6 member model off: members not checked", 4, [](Session& s) { testing::put_member(s.tpcm, 1, kFallen); },
       "", 0, 0},
      {"7 semisubmersible factor", 15, both(member_model(kWet), reals({{1406, 0}})), kW7, 1, 0},
      {"7 semisubmersible factor, kind 4", 4, both(member_model(kWet), reals({{1406, 0}})), "", 0, 0},
      {"8 wind coefficient", 15, both(ints({{174, 1}}), reals({{1361, 0}})), kW8, 1, 0},
      {"8 second vessel", 10, both(ints({{174, 1}}), reals({{1361 + kTwin, 0}})), kW8, 1, 0},
      {"8 wind off", 15, reals({{1361, 0}}), "", 0, 0},
      {"9 current area", 15, both(ints({{175, 1}}), reals({{1358, 0}})), kW9, 1, 0},
      {"9 current off", 15, reals({{1358, 0}}), "", 0, 0},
      {"10 storm duration", 15, reals({{449, 0}}), kW10, 1, 0},
      {"10 storm duration, kind 13", 13, reals({{449, 0}}), "", 0, 0},
      {"11 peak period", 4, both(kWaves, reals({{435, 0}})), kF11, 0, 1},
      {"11 Ochi-Hubble component 2", 4, both(kWaves, both(ints({{163, 9}}), reals({{436, 0}}))), kF11, 0, 1},
      {"11 Ochi-Hubble: cases do not count", 4, both(kWaves, both(ints({{163, 9}, {170, 2}, {191, 1}}), reals({{436, 0}}))),
       "", 0, 0},
      {"11 spectrum file: no heights", 4, both(kWaves, both(ints({{163, 7}}), reals({{429, 0}, {435, 0}}))), "", 0, 0},
      {"11 Pierson-Moskowitz: no period", 4, both(kWaves, both(ints({{163, 1}}), reals({{435, 0}}))), "", 0, 0},
      {"11 swell period", 4, both(kSwell, reals({{451, 0}})), kF11, 0, 1},
      {"11 swell from a spectrum file", 4, both(kSwell, both(ints({{189, 7}}), reals({{450, 0}}))), "", 0, 0},
      {"11 second swell height", 4, both(ints({{173, 1}, {193, 1}}), reals({{490, 0}})), kF11, 0, 1},
      {"11 second swell without the first", 4, both(ints({{193, 1}}), reals({{490, 0}})), "", 0, 0},
      {"12 regular wave 41% above", 4, both(kWaves, reals({{447, 10}})), kW12, 1, 0},
      {"12 regular wave 18% below", 4, both(kWaves, reals({{447, 6}})), "", 0, 0},
      {"12 one case of two matches", 4, both(kWaves, both(ints({{170, 2}}), reals({{429, 20}}))), "", 0, 0},
      {"12 slope matches", 4, both(kWaves, both(ints({{107, 1}}), reals({{447, kSlopeT10}}))), "", 0, 0},
      {"12 slope twice as steep", 4, both(kWaves, both(ints({{107, 1}}), reals({{447, 2 * kSlopeT10}}))), kW12, 1, 0},
      {"12 swell slope by its own spectrum", 4,
       both(kSwell, both(ints({{107, 1}, {189, 1}}), reals({{451, 0}, {447, kSlopePm10}}))), "", 0, 0},
      {"12 slope without depth", 4, both(kWaves, both(ints({{107, 1}}), reals({{445, 0}}))), kW12 + kF13 + kF17, 1, 2},
      {"13 depth 0", 4, reals({{445, 0}}), kF13 + kF17, 0, 2},
      {"13 depth just below the keel", 4, reals({{445, 10.5f}}), "", 0, 0},
      {"14 GM negative", 4, reals({{1410, 25}}), kW14, 1, 0},
      {"14 GM negative, kind 14", 14, reals({{1410, 25}}), "", 0, 0},
      {"15 displacement", 4, reals({{1408, 0}}), kW15, 1, 0},
      {"15 second vessel", 13, reals({{1408 + kTwin, 0}}), kW15, 1, 0},
      {"15 small displacement", 4, reals({{1408, 0.001f}}), "", 0, 0},
      {"16 waterplane", 4, reals({{1412, 0}}), kF16, 0, 1},
      {"16 waterplane of a member model", 4, both(ints({{776, 3}}), reals({{1412, 0}})), "", 0, 0},
      {"17 draft at the depth", 4, reals({{1411, 100}}), kF17, 0, 1},
      {"17 draft just above", 4, reals({{1411, 99.9f}}), "", 0, 0},
      {"18 speeds", 10, reals({{1424 + kTwin, 2}}), kW18, 1, 0},
      {"18 equal speeds", 10, reals({{1424, 2}, {1424 + kTwin, 2}}), "", 0, 0},
      {"19 directions", 13, reals({{1424, 2}, {1424 + kTwin, 2}, {1405, 90}}), kW19, 1, 0},
      {"19 equal directions", 13, reals({{1424, 2}, {1424 + kTwin, 2}, {1405, 90}, {1405 + kTwin, 90}}), "", 0, 0},
      {"20 direction", 10, reals({{1424, 2}, {1424 + kTwin, 2}, {1405, 90}, {1405 + kTwin, 90}}), kW20, 1, 0},
      {"20 direction without speed", 10, reals({{1405, 90}, {1405 + kTwin, 90}}), "", 0, 0},
      {"21 legacy tanker factor", 15, both(ints({{786, 0x222}}), reals({{1360, -1}})), kF21, 0, 1},
      {"21 2001 tanker factor", 15, both(ints({{786, 0x666}}), reals({{1403, -1}})), kF21, 0, 1},
      {"21 factor of an unused model", 15, reals({{1360, -1}}), "", 0, 0},
      {"22 mixed legacy flags", 15, both(kWaves, ints({{175, 1}, {184, 1}, {185, 1}})), kW22, 1, 0},
      {"22 all legacy", 15, both(kWaves, ints({{175, 1}, {183, 1}, {184, 1}, {185, 1}})), "", 0, 0},
      {"22 legacy tanker drift without legacy flags", 15, both(kWaves, ints({{786, 0x222}})), kW22, 1, 0},
      {"23 spar and 2001 semi", 15, both(ints({{776, 3}, {786, 0x751}}), reals({{1412, 0}})), kF23, 0, 1},
      {"23 spar alone", 15, both(ints({{776, 3}, {786, 0x711}}), reals({{1412, 0}})), "", 0, 0},
      {"24 damping", 4, ints({{764, 1}}), kF24, 0, 1},
      {"24 damping given", 4, both(ints({{764, 1}}), reals({{1368, 0.5f}})), "", 0, 0},
      {"25 period", 4, ints({{768, 1}}), kF25, 0, 1},
      {"25 period given", 4, both(ints({{768, 1}}), reals({{1372, 0.5f}})), "", 0, 0},
      {"26 buoy drift on a tanker", 15, ints({{786, 0x444}}), kW26, 1, 0},
      {"26 only the three axes count", 15, ints({{786, 0x4000621}}), "", 0, 0},
      {"26 second vessel", 10, ints({{786 + kTwin, 0x222}}), kW26, 1, 0},
      {"27 wind", 4, [](Session& s) { s.lowcof.set_r(46, 0.5f); }, kW27, 1, 0},
      {"27 current", 4, [](Session& s) { s.lowcof.set_r(151, 0.5f); }, kW27, 1, 0},
      {"27 wind Cy not from LOWDAT", 4,
       [](Session& s) {
         s.tpcm.i(774) = 0x121;
         s.lowcof.set_r(46, 0.5f);
       },
       "", 0, 0},
      {"28 metacentres", 4, reals({{1416, 21}}), kF28, 0, 1},
      {"28 beam and length", 4, reals({{1418, 31}}), kF28, 0, 1},
      {"28 not a buoy", 4, both(ints({{776, 1}}), reals({{1416, 21}})), "", 0, 0},
      {"29 swell locked without waves", 4, ints({{173, 1}, {180, 1}}), kF29, 0, 1},
      {"29 swell locked to waves", 4, ints({{171, 1}, {173, 1}, {180, 1}}), "", 0, 0},
      {"30 one period", 4, ints({{166, 1}}), kF30, 0, 1},
      {"30 zig-zag with waves", 4, both(kWaves, periods([](int k) { return 5.0f + 0.5f * static_cast<float>(k % 2); })),
       kF30, 0, 1},
      {"30 falling with waves", 4, both(kWaves, periods([](int k) { return 20.0f - 0.5f * static_cast<float>(k); })),
       kF30, 0, 1},
      {"30 from zero with waves", 4, both(kWaves, periods([](int k) { return 0.5f * static_cast<float>(k); })), kF30, 0,
       1},
      {"30 uneven with swell", 4, both(kSwell, reals({{330, 12.0f}})), kF30, 0, 1},
      {"30 zig-zag without waves", 4, periods([](int k) { return 5.0f + 0.5f * static_cast<float>(k % 2); }), "", 0,
       0},
  };
  for (const auto& c : cases) {
    ScriptedSession t;
    sound(t.s.tpcm, c.kind);
    c.change(t.s);
    int warnings = 0;
    int fatal = 0;
    veswrn(t.s, warnings, fatal);
    EXPECT_EQ(t.shown(), c.shown) << c.name;
    EXPECT_EQ(warnings, c.warnings) << c.name;
    EXPECT_EQ(fatal, c.fatal) << c.name;
  }
}

TEST(VesselChecks, FreshDiscBuoyRecord) {
  // A new record has no vessel particulars and no water depth; its periods,
  // selectors and sea switches pass. Worked out check by check: GM zero (2),
  // gyradii (3), depth (13), particulars (15), waterplane (16), draft not
  // above the depth (17).
  ScriptedSession t;
  create_record(t.s, 4, 1987);
  t.s.tpcm.i(kOutputUnit) = kScreen;
  int warnings = 0;
  int fatal = 0;
  veswrn(t.s, warnings, fatal);
  EXPECT_EQ(t.shown(), kW2 + kF3 + kF13 + kW15 + kF16 + kF17);
  EXPECT_EQ(warnings, 2);
  EXPECT_EQ(fatal, 4);
}

TEST(VesselChecks, TheEighthMessageWaitsForReturn) {
  ScriptedSession t("\n");
  create_record(t.s, 4, 1987);
  auto& w = t.s.tpcm;
  w.i(kOutputUnit) = kScreen;
  w.set_r(1424, 2.0f);
  w.i(777) = 1;
  w.i(764) = 1;
  w.i(767) = 1;
  int warnings = 0;
  int fatal = 0;
  veswrn(t.s, warnings, fatal);
  EXPECT_EQ(t.shown(), kW1 + kW2 + kF3 + kF13 + kW15 + kF16 + kF17 + " \n Press <RETURN> to continue: " + kF24 + kF25);
  EXPECT_EQ(warnings, 3);
  EXPECT_EQ(fatal, 6);
}

TEST(VesselChecks, NormalisedWords) {
  ScriptedSession t;
  sound(t.s.tpcm, 10);
  auto& w = t.s.tpcm;
  w.i(193) = 1;                // second swell without the first
  w.set_r(1405, 45.0f);        // directions without speed
  w.set_r(1405 + kTwin, 45.0f);
  w.i(1440) = 1;               // a chain of dependent flags
  w.i(791) = 0;
  w.i(795) = 1;
  w.i(776) = 6;                // a caisson spar is described by members
  w.i(790) = 0;
  w.i(162) = 7;
  int warnings = 0;
  int fatal = 0;
  veswrn(t.s, warnings, fatal);
  EXPECT_EQ(w.i(193), 0);
  EXPECT_EQ(w.r(1405), 0.0f);
  EXPECT_EQ(w.r(1405 + kTwin), 0.0f);
  EXPECT_EQ(w.i(795), 0);
  EXPECT_EQ(w.i(790), 1);
  EXPECT_EQ(w.i(162), 0);
}

}  // namespace
}  // namespace kelp
