#include "edlib/model/vessel_checks.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "edlib/frame/create_record.hpp"
#include "edlib/model/member_fixture.hpp"
#include "edlib/record/data_record.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using testing::column;
using testing::ScriptedSession;

// A record every check accepts: a disc buoy for kinds below 10, a tanker for
// the moored kinds, and a buoy as the second vessel of kinds 10 and 13.
// Waves and swells are off but sound: height 10 and period 10 for the case,
// both Ochi-Hubble components and both swells; a regular wave of 7.07.
void sound(Tpcm& t, int kind) {
  t.i(kProgramKind) = kind;
  t.i(kOutputUnit) = kScreen;
  t.i(kVesselType) = kind < 10 ? 4 : 1;
  for (const std::size_t v : {std::size_t{0}, kTwinOffset}) {
    if (v != 0 && kind != 10 && kind != 13) break;
    // displacement, centre of gravity, draft, waterplane, gyradii, KMT, KML, beam, length
    for (const auto& [w, x] : std::vector<std::pair<std::size_t, float>>{
             {1408, 500}, {1410, 5}, {1411, 10}, {1412, 300}, {1413, 10}, {1414, 10}, {1415, 10}, {1416, 20},
             {1417, 20}, {1418, 30}, {1419, 30}, {1352, 1}, {1354, 1}, {1361, 1}, {1356, 1}, {1358, 1}}) {
      t.set_r(w + v, x);
    }
    t.i(kDriftSelector + v) = 0x111;
  }
  if (kind == 10 || kind == 13) t.i(kVesselType + kTwinOffset) = 4;
  for (const auto& [w, x] : std::vector<std::pair<std::size_t, float>>{
           {1406, 1}, {1407, 1}, {445, 100}, {449, 1}, {447, 7.07f}, {429, 10}, {430, 10}, {435, 10}, {436, 10},
           {450, 10}, {451, 10}, {490, 10}, {491, 10}}) {
    t.set_r(w, x);
  }
  for (const auto& [w, n] : std::vector<std::pair<std::size_t, int>>{
           {kWindSelector, 0x111}, {kCurrentSelector, 0x111}, {166, 30}, {163, 5}, {170, 1}, {191, 2}}) {
    t.i(w) = n;
  }
  for (std::size_t k = 0; k < 100; ++k) t.set_r(317 + k, 5.0f + 0.5f * static_cast<float>(k));
}

// Slopes in degrees of a wave of height 7.07 in a depth of 100 (English
// units), from the dispersion relation solved by bisection: period 10, and
// the Pierson-Moskowitz peak period of a height of 10.
constexpr float kSlopeT10 = 2.816f;
constexpr float kSlopePm10 = 3.478f;

std::string block(const char* kind, std::string first, std::initializer_list<const char*> more) {
  std::string text = "\n ++> " + std::string(kind) + ": " + first + "\n";
  for (const char* line : more) text += std::string("     ") + line + "\n";
  return text;
}
std::string warning(std::string first, std::initializer_list<const char*> more = {}) {
  return block("Warning", std::move(first), more);
}
std::string fatal(std::string first, std::initializer_list<const char*> more = {}) {
  return block("Fatal Warning", std::move(first), more);
}

const std::string kW1 = warning("Nonzero forward speed with User-specified vessel RAOs.");
const std::string kW2 = warning("A vessel GM is zero.");
const std::string kF3 = fatal("A vessel gyradii is nonpositive.");
const std::string kF4 = fatal("Only *ONE* vessel can be type \"Semisubmersible\".");
const std::string kW6 = warning("No member crosses the waterline.");
const std::string kW7 = warning("Nonpositive semisubmersible geometry & shadowing factors detected.");
const std::string kW8 = warning("A wind area or coefficient is nonpositive.");
const std::string kW9 = warning("A current area or coefficient is nonpositive.");
const std::string kW10 = warning("Nonpositive storm duration detected.");
const std::string kF11 = fatal("Irregular wave specif" "ication problem. Check for:",
                               {"- A nonpositive significant wave height.", "- A nonpositive peak period."});
const std::string kW12 = warning("discrepancy between regular and irregular wave heights.",
                                 {"To disable warning, use regular ht. = (irregular ht.)/sqrt(2)."});
const std::string kF13 = fatal("The water depth is nonpositive.");
const std::string kW14 = warning("A vessel GM is negative.");
const std::string kW15 = warning("A vessel beam, length, draft,", {"or displacement is nonpositive."});
const std::string kF16 = fatal("A vessel water plane area is nonpositive.");
const std::string kF17 = fatal("A vessel draft exceeds water depth.");
const std::string kW18 = warning("Unequal buoy/tug, tanker/barge speed values.");
const std::string kW19 = warning("Unequal buoy/tug, tanker/barge motion direction.");
const std::string kW20 = warning("Haulex rigorously supports only forward speed towards Golbal 0.");
const std::string kF21 = fatal("A wave drift factor is nonpositive.");
const std::string kW22 = warning("Mixed \"legacy\" flags detected for tanker, wave-current,",
                                 {"wave dissipation and wave reflection peak load models;",
                                  "this is not generally recommended..."});
const std::string kF23 = fatal("Mixing \"spar\" and \"Semi (2001) wave force models", {"is not permitted."});
const std::string kF24 = fatal("Nonpositive user-specified damping coefficient.");
const std::string kF25 = fatal("Nonpositive user-specified natural period.");
const std::string kW26 = warning("Possible vessel type/wave drift force type mismatch.");
const std::string kW27 = warning("Discontinuous user-specified wind/current coefficients about",
                                 {"zero degrees.  Specify a second coefficient close to zero degrees",
                                  "(e.g. at 0.1 degree) in a \"LOWDAT\" file, or use a user-supplied",
                                  "text file such as \"WINDCOFS.txt\"."});
const std::string kF28 = fatal("Azimuthal ASSYMMETRY detected in vessel of", {"\"Azimuthally Symmetric\" type."});
const std::string kF29 = fatal("Swell direction locked to irregular waves ", {"but no irregular waves are specified."});
const std::string kF30 = fatal("Wave period array problem. Check for:",
                               {"- Unequal RAO period intervals.", "- A nonpositive wave period.",
                                "- A period array of only one value.",
                                "Either deselect random wave option, or go back to the",
                                "RAO period table and correct the problem."});

// A word to set: an integer, or a real when real is true.
struct Set {
  std::size_t word;
  double value;
  bool real = true;
};
Set I(std::size_t word, int value) { return {word, static_cast<double>(value), false}; }

using Extra = std::function<void(Session&)>;

struct Finding {
  std::string name;
  int kind;
  std::vector<Set> sets;
  std::string shown;
  int warnings, fatal;
  Extra extra = {};
};

Extra member_model(testing::MemberSpec m) {
  return [m](Session& s) {
    s.tpcm.i(kVesselType) = 3;
    testing::put_member(s.tpcm, 1, m);
  };
}
Extra periods(std::function<float(int)> period) {
  return [period](Session& s) {
    for (int k = 0; k < 30; ++k) s.tpcm.set_r(317 + static_cast<std::size_t>(k), period(k));
  };
}

const Set kWaves = I(171, 1);
const Set kSwell = I(173, 1);
const auto kWet = column(0.0f, 20.0f, member::kWaterPiercing);
const auto kSubmerged = column(0.0f, 5.0f, member::kWaterPiercing);
// Its top below its base, its coefficients typed.
const auto kFallen = [] {
  auto m = column(0.0f, -5.0f, member::kWaterPiercing);
  m.dims[2] = 5.0f;
  m.source = member::kUserCoefficients;
  return m;
}();
const auto kZigZag = [](int k) { return 5.0f + 0.5f * static_cast<float>(k % 2); };

TEST(VesselChecks, EveryCheckOnAndOff) {
  const std::vector<Finding> cases = {
      {"1 speed with RAOs", 4, {{1424, 2}, I(777, 1)}, kW1, 1, 0},
      {"1 speed without RAOs", 4, {{1424, 2}}, "", 0, 0},
      {"1 second vessel", 13, {{1424, 2}, {1424 + kTwinOffset, 2}, I(777 + kTwinOffset, 1)}, kW1, 1, 0},
      {"2 GM zero", 4, {{1410, 20}}, kW2, 1, 0},
      {"2 GM zero, kind 14", 14, {{1410, 20}}, "", 0, 0},
      {"3 gyradius 0", 4, {{1414, 0}}, kF3, 0, 1},
      {"3 second vessel", 10, {{1414 + kTwinOffset, -1}}, kF3, 0, 1},
      {"3 small gyradius", 4, {{1414, 0.01f}}, "", 0, 0},
      {"4 two semisubmersibles", 10, {I(776, 3), I(776 + kTwinOffset, 3), I(790 + kTwinOffset, 1)}, kF4, 0, 1},
      {"4 one semisubmersible", 10, {I(776, 3)}, "", 0, 0},
      {"5 a fatal member counts twice", 4, {}, "\n ++> Fatal Warning: Top of member  1 is below the base!\n", 1, 1,
       member_model(kFallen)},
      {"5 a dry member", 4, {}, "\n ++> Warning: Member number  1 is completely dry!\n" + kW6, 2, 0,
       member_model(column(20.0f, 30.0f, member::kWaterPiercing))},
      {"5, 6 a sound member crossing the waterline", 4, {}, "", 0, 0, member_model(kWet)},
      {"6 no member crosses", 4, {}, kW6, 1, 0, member_model(kSubmerged)},
      {"6 no member crosses, no waterplane", 4, {{1412, 0}}, "", 0, 0, member_model(kSubmerged)},
      {"6 member model off: neither checks nor warning", 4, {}, "", 0, 0,
       [](Session& s) { testing::put_member(s.tpcm, 1, kFallen); }},
      {"7 semisubmersible factor", 15, {{1406, 0}}, kW7, 1, 0, member_model(kWet)},
      {"7 semisubmersible factor, kind 4", 4, {{1406, 0}}, "", 0, 0, member_model(kWet)},
      {"8 wind coefficient", 15, {I(174, 1), {1361, 0}}, kW8, 1, 0},
      {"8 second vessel", 10, {I(174, 1), {1361 + kTwinOffset, 0}}, kW8, 1, 0},
      {"8 wind off", 15, {{1361, 0}}, "", 0, 0},
      {"9 current area", 15, {I(175, 1), {1358, 0}}, kW9, 1, 0},
      {"9 current off", 15, {{1358, 0}}, "", 0, 0},
      {"10 storm duration", 15, {{449, 0}}, kW10, 1, 0},
      {"10 storm duration, kind 13", 13, {{449, 0}}, "", 0, 0},
      {"10 storm duration, kind 10", 10, {{449, 0}}, "", 0, 0},
      {"11 peak period", 4, {kWaves, {435, 0}}, kF11, 0, 1},
      {"11 Ochi-Hubble component 2", 4, {kWaves, I(163, 9), {436, 0}}, kF11, 0, 1},
      {"11 Ochi-Hubble: cases do not count", 4, {kWaves, I(163, 9), I(170, 2), I(191, 1), {436, 0}}, "", 0, 0},
      {"11 spectrum file: heights count", 4, {kWaves, I(163, 7), {429, 0}, {435, 0}}, kF11, 0, 1},
      {"11 legacy densities: heights count", 4, {kWaves, I(163, 8), {429, 0}}, kF11, 0, 1},
      {"11 spectrum file: no period", 4, {kWaves, I(163, 7), {435, 0}}, "", 0, 0},
      {"11 Pierson-Moskowitz: no period", 4, {kWaves, I(163, 1), {435, 0}}, "", 0, 0},
      {"11 swell period", 4, {kSwell, {451, 0}}, kF11, 0, 1},
      // A swell's height and period count whatever its spectrum; its height
      // of 0 also misses the regular wave.
      {"11 swell from a spectrum file", 4, {kSwell, I(189, 7), {450, 0}}, kF11 + kW12, 1, 1},
      {"11 second swell of legacy densities", 4, {kSwell, I(193, 1), I(194, 8), {491, 0}}, kF11, 0, 1},
      {"11 second swell height", 4, {kSwell, I(193, 1), {490, 0}}, kF11, 0, 1},
      {"11 second swell without the first", 4, {I(193, 1), {490, 0}}, "", 0, 0},
      {"12 regular wave 41% above", 4, {kWaves, {447, 10}}, kW12, 1, 0},
      {"12 regular wave 18% below", 4, {kWaves, {447, 6}}, "", 0, 0},
      {"12 one case of two matches", 4, {kWaves, I(170, 2), {429, 20}}, "", 0, 0},
      {"12 slope matches", 4, {kWaves, I(107, 1), {447, kSlopeT10}}, "", 0, 0},
      {"12 slope twice as steep", 4, {kWaves, I(107, 1), {447, 2 * kSlopeT10}}, kW12, 1, 0},
      {"12 swell slope by its own spectrum", 4, {kSwell, I(107, 1), I(189, 1), {451, 0}, {447, kSlopePm10}}, kF11, 0, 1},
      {"12 swell from a spectrum file, regular 41% above", 4, {kSwell, I(189, 7), {447, 10}}, kW12, 1, 0},
      {"12 density seas alone are not compared", 4, {kWaves, I(163, 7), {447, 10}}, "", 0, 0},
      {"12 with the swell on, a density-sea case matches", 4, {kWaves, I(163, 7), kSwell, {450, 20}}, "", 0, 0},
      {"12 slope without depth", 4, {kWaves, I(107, 1), {445, 0}}, kW12 + kF13 + kF17, 1, 2},
      {"13 depth 0", 4, {{445, 0}}, kF13 + kF17, 0, 2},
      {"13 depth just below the keel", 4, {{445, 10.5f}}, "", 0, 0},
      {"14 GM negative", 4, {{1410, 25}}, kW14, 1, 0},
      {"14 GM negative, kind 14", 14, {{1410, 25}}, "", 0, 0},
      {"15 displacement", 4, {{1408, 0}}, kW15, 1, 0},
      {"15 second vessel", 13, {{1408 + kTwinOffset, 0}}, kW15, 1, 0},
      {"15 small displacement", 4, {{1408, 0.001f}}, "", 0, 0},
      {"16 waterplane", 4, {{1412, 0}}, kF16, 0, 1},
      {"16 waterplane of a member model", 4, {I(776, 3), {1412, 0}}, "", 0, 0},
      {"17 draft at the depth", 4, {{1411, 100}}, kF17, 0, 1},
      {"17 draft just above", 4, {{1411, 99.9f}}, "", 0, 0},
      {"18 speeds", 10, {{1424 + kTwinOffset, 2}}, kW18, 1, 0},
      {"18 equal speeds", 10, {{1424, 2}, {1424 + kTwinOffset, 2}}, "", 0, 0},
      {"19 directions", 13, {{1424, 2}, {1424 + kTwinOffset, 2}, {1405, 90}}, kW19, 1, 0},
      {"19 equal directions", 13, {{1424, 2}, {1424 + kTwinOffset, 2}, {1405, 90}, {1405 + kTwinOffset, 90}}, "", 0, 0},
      {"20 direction", 10, {{1424, 2}, {1424 + kTwinOffset, 2}, {1405, 90}, {1405 + kTwinOffset, 90}}, kW20, 1, 0},
      {"20 direction without speed", 10, {{1405, 90}, {1405 + kTwinOffset, 90}}, "", 0, 0},
      {"21 legacy tanker factor", 15, {I(786, 0x222), {1360, -1}}, kF21, 0, 1},
      {"21 2001 tanker factor", 15, {I(786, 0x666), {1403, -1}}, kF21, 0, 1},
      {"21 factor of an unused model", 15, {{1360, -1}}, "", 0, 0},
      {"22 mixed legacy flags", 15, {kWaves, I(175, 1), I(184, 1), I(185, 1)}, kW22, 1, 0},
      {"22 all legacy", 15, {kWaves, I(175, 1), I(183, 1), I(184, 1), I(185, 1)}, "", 0, 0},
      {"22 legacy tanker drift without legacy flags", 15, {kWaves, I(786, 0x222)}, kW22, 1, 0},
      {"23 spar and 2001 semi", 15, {I(776, 3), I(786, 0x751), {1412, 0}}, kF23, 0, 1},
      {"23 spar alone", 15, {I(776, 3), I(786, 0x711), {1412, 0}}, "", 0, 0},
      {"24 damping", 4, {I(764, 1)}, kF24, 0, 1},
      {"24 damping given", 4, {I(764, 1), {1368, 0.5f}}, "", 0, 0},
      {"25 period", 4, {I(768, 1)}, kF25, 0, 1},
      {"25 period given", 4, {I(768, 1), {1372, 0.5f}}, "", 0, 0},
      {"26 buoy drift on a tanker", 15, {I(786, 0x444)}, kW26, 1, 0},
      {"26 only the three axes count", 15, {I(786, 0x4000621)}, "", 0, 0},
      {"26 second vessel", 10, {I(786 + kTwinOffset, 0x222)}, kW26, 1, 0},
      {"27 wind", 4, {}, kW27, 1, 0, [](Session& s) { s.lowcof.set_r(46, 0.5f); }},
      {"27 current", 4, {}, kW27, 1, 0, [](Session& s) { s.lowcof.set_r(151, 0.5f); }},
      {"27 wind Cy not from LOWDAT", 4, {I(774, 0x121)}, "", 0, 0, [](Session& s) { s.lowcof.set_r(46, 0.5f); }},
      {"28 metacentres", 4, {{1416, 21}}, kF28, 0, 1},
      {"28 beam and length", 4, {{1418, 31}}, kF28, 0, 1},
      {"28 not a buoy", 4, {I(776, 1), {1416, 21}}, "", 0, 0},
      {"29 swell locked without waves", 4, {kSwell, I(180, 1)}, kF29, 0, 1},
      {"29 swell locked to waves", 4, {kWaves, kSwell, I(180, 1)}, "", 0, 0},
      {"30 one period", 4, {I(166, 1)}, kF30, 0, 1},
      {"30 zig-zag with waves", 4, {kWaves}, kF30, 0, 1, periods(kZigZag)},
      {"30 falling with waves", 4, {kWaves}, kF30, 0, 1, periods([](int k) { return 20.0f - 0.5f * k; })},
      {"30 from zero with waves", 4, {kWaves}, kF30, 0, 1, periods([](int k) { return 0.5f * k; })},
      {"30 uneven with swell", 4, {kSwell, {330, 12}}, kF30, 0, 1},
      {"30 zig-zag without waves", 4, {}, "", 0, 0, periods(kZigZag)},
  };
  for (const auto& c : cases) {
    ScriptedSession t;
    sound(t.s.tpcm, c.kind);
    if (c.extra) c.extra(t.s);
    for (const auto& set : c.sets) {
      if (set.real) {
        t.s.tpcm.set_r(set.word, static_cast<float>(set.value));
      } else {
        t.s.tpcm.i(set.word) = static_cast<int>(set.value);
      }
    }
    int warnings = 0;
    int fatal = 0;
    veswrn(t.s, warnings, fatal);
    EXPECT_EQ(t.shown(), c.shown) << c.name;
    EXPECT_EQ(warnings, c.warnings) << c.name;
    EXPECT_EQ(fatal, c.fatal) << c.name;
  }
}

TEST(VesselChecks, FreshDiscBuoyRecordAndPaging) {
  // A new record has no vessel particulars and no water depth; its periods,
  // selectors and sea switches pass. Worked out check by check: GM zero (2),
  // gyradii (3), depth (13), particulars (15), waterplane (16), draft not
  // above the depth (17).
  ScriptedSession t("\n");
  create_record(t.s, 4, 1987);
  t.s.tpcm.i(kOutputUnit) = kScreen;
  int warnings = 0;
  int fatal = 0;
  veswrn(t.s, warnings, fatal);
  const std::string fresh = kW2 + kF3 + kF13 + kW15 + kF16 + kF17;
  EXPECT_EQ(t.shown(), fresh);
  EXPECT_EQ(warnings, 2);
  EXPECT_EQ(fatal, 4);
  // Three findings more: the eighth message waits for RETURN.
  t.screen.str("");
  warnings = 0;
  fatal = 0;
  t.s.tpcm.set_r(1424, 2.0f);
  t.s.tpcm.i(777) = 1;
  t.s.tpcm.i(764) = 1;
  t.s.tpcm.i(767) = 1;
  veswrn(t.s, warnings, fatal);
  EXPECT_EQ(t.shown(), kW1 + fresh + " \n Press <RETURN> to continue: " + kF24 + kF25);
  EXPECT_EQ(warnings, 3);
  EXPECT_EQ(fatal, 6);
}

TEST(VesselChecks, NormalisedWords) {
  ScriptedSession t;
  auto& w = t.s.tpcm;
  sound(w, 10);
  w.i(193) = 1;  // a second swell without the first
  w.set_r(1405, 45.0f);  // directions without speed
  w.set_r(1405 + kTwinOffset, 45.0f);
  w.i(1440) = 1;  // a chain of dependent flags
  w.i(795) = 1;
  w.i(776) = 6;  // a caisson spar is described by members
  w.i(162) = 7;
  int warnings = 0;
  int fatal = 0;
  veswrn(t.s, warnings, fatal);
  EXPECT_EQ(w.i(193), 0);
  EXPECT_EQ(w.r(1405), 0.0f);
  EXPECT_EQ(w.r(1405 + kTwinOffset), 0.0f);
  EXPECT_EQ(w.i(795), 0);
  EXPECT_EQ(w.i(790), 1);
  EXPECT_EQ(w.i(162), 0);
}

}  // namespace
}  // namespace kelp
