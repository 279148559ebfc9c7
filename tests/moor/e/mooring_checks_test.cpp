// The mooring data checks: each step found and not found on a record that
// is otherwise quiet, the words the checks derive, the wave steepness ratio,
// hostile counts, and hardwire.
#include "moor/e/mooring_checks.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "edlib/record/data_record.hpp"
#include "moor/e/record_edits.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using testing::ScriptedSession;

using testing::Edit;
using testing::Edits;
using testing::edit_record;
using testing::operator+;

// Words of the tables, by their indices.
std::size_t len(int s, int type) { return *element_word(ElementField::kLength, s, type); }
std::size_t strength(int s, int type) { return *element_word(ElementField::kBreakingStrength, s, type); }
std::size_t dry(int s, int type) { return *element_word(ElementField::kDryWeight, s, type); }
std::size_t alpha(int s, int type, int k) { return *compliance_word(s, type, k); }
std::size_t fl(int leg, int k) { return *fairlead_word(leg, k); }
std::size_t angle(int leg) { return *departure_angle_word(leg); }
std::size_t legs_of(int type) { return *type_legs_word(type); }
std::size_t line(int type, int k) { return *type_line_word(type, k); }
std::size_t bottom(int type) { return *bottom_flag_word(type); }

Edits curve(int s, int type, float a, float b, float c) { return {{alpha(s, type, 1), a}, {alpha(s, type, 2), b}, {alpha(s, type, 3), c}}; }
Edits lines_of(int type, std::vector<int> lines) {
  Edits e = {{legs_of(type), static_cast<std::int32_t>(lines.size())}};
  for (std::size_t k = 0; k < lines.size(); ++k) e.push_back({line(type, static_cast<int>(k) + 1), lines[k]});
  return e;
}
Edits fairlead(int leg, float x, float y, float z) { return {{fl(leg, 1), x}, {fl(leg, 2), y}, {fl(leg, 3), z}}; }
Edits no_fairleads() { return fairlead(1, 0, 0, 0) + fairlead(2, 0, 0, 0) + fairlead(3, 0, 0, 0) + fairlead(4, 0, 0, 0); }
Edits no_angles() { return {{angle(1), 0.0f}, {angle(2), 0.0f}, {angle(3), 0.0f}, {angle(4), 0.0f}}; }

// A kind-15 turret record on which no check finds anything: two line types
// sharing the legs, two sublines of 300 each (all 25 slots filled), anchors
// 100 below the waterline, fairleads 10 above the keel on a circle of radius
// 3 about the turret centroid x = 20, beam 50, length 200, water depth 100.
void quiet_record(Tpcm& t, int legs = 4) {
  edit_record(t, {{kProgramKind, 15}, {kOutputUnit, 6}, {787, 1}, {kUnitSystem, kUnitsMetric}, {kInterpTableSize, 90},
            {kMooringLegs, legs}, {kLineTypes, 2}, {kInterpLayers, 29}, {kInterpSpan, 0.5f}, {kDynamicLines, 1},
            {*dynamic_line_word(1), 1}, {1674, 500.0f}, {1411, 10.0f}, {1418, 50.0f}, {1419, 200.0f},
            {1374, 20.0f}, {kMomentCentre, 20.0f}, {445, 100.0f}, {447, 1.0f}});
  const int half = legs - legs / 2;
  for (int type = 1; type <= 2; ++type) {
    edit_record(t, {{*type_sublines_word(type), 2}, {bottom(type), 1}, {*anchor_depth_word(type), 100.0f},
              {legs_of(type), type == 1 ? half : legs - half}});
    for (int k = 1; k <= (type == 1 ? half : legs - half); ++k) t.i(line(type, k)) = (type == 1 ? 0 : half) + k;
    for (int s = 1; s <= kSublineCapacity; ++s) {
      edit_record(t, Edits{{len(s, type), 300.0f}, {strength(s, type), 1000.0f}, {dry(s, type), 0.1f}} +
                   curve(s, type, 1.0e-4f, 0.0f, 0.0f));
    }
  }
  for (int leg = 1; leg <= legs; ++leg) {
    const double a = 2.0 * std::numbers::pi * (leg - 1) / legs;
    edit_record(t, fairlead(leg, static_cast<float>(20.0 + 3.0 * std::cos(a)), static_cast<float>(3.0 * std::sin(a)), 10));
    t.set_r(angle(leg), 45.0f + 360.0f * static_cast<float>(leg - 1) / static_cast<float>(legs));
  }
}

// Kind 14 with a valid grid; kind 13 with a hawser (type 2 holds line 4
// alone) and a spread of fairleads wider than a fifth of its beam.
const Edits kKind14 = {{kProgramKind, 14}, {kInterpLayers, 3}, {kInterpSpan, 1.0f}};
const Edits kTanker = Edits{{kProgramKind, 13}, {775, 1}, {787, 0}, {1418, 10.0f}, {kHawserType, 2},
                            {kHawserLine, 4},   {904, 50.0f}, {905, 1.0f}, {906, 12.0f}} +
                      lines_of(1, {1, 2, 3}) + lines_of(2, {4});

struct Outcome {
  std::string screen;
  int warnings = 0;
  int fatals = 0;
};

Outcome run_checks(const Edits& edits, int legs = 4, Tpcm* after = nullptr, std::string replies = "") {
  ScriptedSession t(std::move(replies));
  quiet_record(t.s.tpcm, legs);
  edit_record(t.s.tpcm, edits);
  Outcome got;
  linwrn(t.s, got.warnings, got.fatals);
  got.screen = t.shown();
  if (after != nullptr) *after = t.s.tpcm;
  return got;
}

// A finding as the screen shows it: a blank line, then its lines.
std::string F(std::initializer_list<const char*> lines) {
  std::string text = "\n";
  for (const char* l : lines) text += std::string(l) + "\n";
  return text;
}

const std::string kUnrealizable =
    F({" ++> Warning: Physically unrealizable elastic characteristics or",
       "     multi-valued stress-elongation curve detected for ", "     (type,element) = (1,2)."}) +
    F({"     The simulation may run to completion but the interpolation tables will",
       "     possibly be meaningless. You should re-check your Alpha coefficients."});
const std::string kSpread = "\n ++> Warning: Fairlead positions appear to be inconsistent with a spread mooring system.\n"
                            "If your mooring centroid is displaced longitudinally from your vessel centroid,\n";
const std::string kTooFew = F({" ++> Fatal Warning: This simulation requires a minimum of three interpolation",
                               "layers and a positive-definite vertical interpolation span"});
const std::string kMismatch = F({" ++> Warning: Logical inconsistency between the number of interpolation layers",
                                 "and the specified vertical interpolation span."});
const std::string kTotal = " total line number.\n     total line number = 4\n     total line types  = ";
const std::string kLineNumber = F({" ++> Fatal Warning: Line identification number error"}) +
                                "or line number duplication in line type ";
const std::string kHawser = F({" ++> Fatal Warning: Hawser line type has more than a single line"}) +
                            "OR hawser-associated line number is not equal to ";
const std::string kForcePoint = F({" ++> Warning: An external mooring force application point appears",
                                   "inconsistent with fairlead centroid."});
const std::string kNoDirection = F({" ++> Fatal Warning: A nonzero auxiliary force spectrum has no assigned direction."});
const std::string kDynamic = F({" ++> Fatal Warning: A line number for dynamic evaluation", "exceeds the total line number."});
const std::string kLfNegative = F({" ++> Fatal Warning: Nonpositive user-specified low-frequency damping coefficient."});
const std::string kLfZero = F({" ++> Fatal Warning: A user-specified low-frequency damping is nonpositive."});
const std::string kLargeNoSpan = F({" ++> Warning: Large-amplitude wave-frequency line load algorithm selected and",
                                    "no interpolation layers or zero vertical interpolation span."});

struct StepCase {
  const char* name;
  Edits edits;
  std::string screen;
  int warnings;
  int fatals;
  int legs = 4;
};

const std::vector<StepCase> kSteps = {
    {"quiet record", {}, "", 0, 0},
    {"1 kind 14, tension profile", kKind14 + Edits{{kProfileMode, 2}},
     F({" ++> Tendra generally performs best if you specify",
        "     the mean line profile by distance to anchor, horizontal tension",
        "     or fairlead line angle, after first setting the tendon length."}), 1, 0},
    {"1 kind 14, distance profile", kKind14 + Edits{{kProfileMode, 1}}, "", 0, 0},
    {"1 kind 15, tension profile", {{kProfileMode, 2}}, "", 0, 0},
    {"3 table size 89", {{kInterpTableSize, 89}},
     F({" ++> Warning: Specified table size (89) is less than optimum.",
        "     Consider increasing table size to the maximum value of 90."}), 1, 0},
    {"3 table size 90", {{kInterpTableSize, 90}}, "", 0, 0},
    {"5 legs of a type at two heights", {{fl(2, 3), 11.0f}},
     F({" ++> Warning: Vertical positions of fairleads inconsistent",
        "with the specified number of distinct line types."}), 1, 0},
    {"5 types at two heights", {{fl(3, 3), 12.0f}, {fl(4, 3), 12.0f}}, "", 0, 0},
    {"6 non-positive sublines, last type named", {{len(1, 1), -1.0f}, {len(2, 2), 0.0f}},
     F({" ++> Fatal Warning: The line length for line type 2, ", "     and possibly others, is non-positive."}), 0, 1},
    {"6 short positive subline", {{len(2, 2), 0.001f}}, "", 0, 0},
    {"7 too short for the anchor", {{len(1, 1), 40.0f}, {len(2, 1), 40.0f}},
     F({" ++> Warning: The line length for line type 1, and possibly others,",
        "     is insufficient to reach the anchor."}), 1, 0},
    {"7 too short, bottom transparent", {{len(1, 1), 40.0f}, {len(2, 1), 40.0f}, {bottom(1), 0}, {bottom(2), 0}},
     "", 0, 0},
    {"7 exactly long enough", {{len(1, 1), 50.0f}, {len(2, 1), 50.0f}}, "", 0, 0},
    {"8 c = 0 and b < 0", curve(2, 1, 1, -1, 0), kUnrealizable, 2, 0},
    {"8 a < 0", curve(2, 1, -1, 0, 0), kUnrealizable, 2, 0},
    {"8 c < 0", curve(2, 1, 1, 0, -1), kUnrealizable, 2, 0},
    {"8 b^2 > 3ac", curve(2, 1, 1, 2, 1), kUnrealizable, 2, 0},
    {"8 b^2 = 3ac passes", curve(2, 1, 1, 3, 3), "", 0, 0},
    {"8 measured curve passes", curve(2, 1, 0.811f, -0.584f, 0.154f), "", 0, 0},
    {"8 c = 0 and b = 0 passes", curve(2, 1, 0, 0, 0), "", 0, 0},
    {"8 data from the file not checked", curve(2, 1, -1, -1, -1) + Edits{{*elastic_file_bits_word(1), 2}}, "", 0, 0},
    {"8 unused slot not checked", curve(3, 1, -1, 0, 0), "", 0, 0},
    {"9 weakest below half the table load", {{strength(2, 2), 249.0f}},
     F({" ++> Warning: Maximum horizontal load is greater than", "TWICE the breaking strength of the weakest line."}),
     1, 0},
    {"9 weakest at half the table load", {{strength(2, 2), 250.0f}}, "", 0, 0},
    {"10 dry weights, first named", {{dry(1, 2), 0.0f}, {dry(2, 2), -1.0f}},
     F({" ++> Warning: Nonpositive dry weight detected for", "     (type,element) = (2,1), and possibly others.",
        "     Default estimates will be applied."}), 1, 0},
    {"10 small dry weight", {{dry(1, 2), 1.0e-6f}}, "", 0, 0},
    {"11 spectral estimates at end points", {{146, 1}, {5008, 1}},
     F({" ++> Warning: The option \"Spectral estimates for line load WF standard",
        "     deviations\" is untested at nodes other than fairlead and anchor when",
        "     combined with \"Line loads and motions at element end points\";", "consider disabling one or the other if possible."}),
     1, 0},
    {"11 spectral estimates alone", {{146, 1}}, "", 0, 0},
    {"12 irregular seas 10 in depth 100", {{171, 1}, {429, 10.0f}},
     F({" ++> Warning: [Wave Height]/[Water Depth] ratio suggests use of",
        "\"large-amplitude\" wave-frequency line load algorithm."}), 1, 0},
    {"12 irregular seas 2.5 in depth 100", {{171, 1}, {429, 2.5f}}, "", 0, 0},
    {"12 large amplitude chosen", {{171, 1}, {429, 10.0f}, {4994, 1}}, "", 0, 0},
    {"12 water depth 0", {{171, 1}, {429, 10.0f}, {445, 0.0f}}, "", 0, 0},
    {"13 large amplitude, no span", {{4994, 1}, {kInterpSpan, 0.0f}}, kLargeNoSpan, 1, 0},
    {"13 large amplitude, one layer", {{4994, 1}, {kInterpLayers, 1}}, kLargeNoSpan, 1, 0},
    {"13 large amplitude with a grid", {{4994, 1}}, "", 0, 0},
    {"14 legs do not add up", lines_of(2, {3}), "\n ++> Fatal Warning: Incorrect" + kTotal + "2\n", 0, 1},
    {"14 fewer legs than types", {{kLineTypes, 5}}, "\n ++> Warning: Incorrect" + kTotal + "5\n", 1, 0},
    {"15 kind 7, four sublines", {{kProgramKind, 7}, {*type_sublines_word(2), 4}},
     F({" ++> Fatal Warning: More than three sublines in type 2, and possibly others.",
        "Consolidate sublines or use clump weight/spring buoy options."}), 0, 1},
    {"15 kind 7, three sublines", {{kProgramKind, 7}, {*type_sublines_word(2), 3}}, "", 0, 0},
    {"15 kind 15, four sublines", {{*type_sublines_word(2), 4}}, "", 0, 0},
    {"16 duplicate: first type met", lines_of(2, {2, 4}), kLineNumber + "1\n", 0, 1},
    {"16 number above the legs", lines_of(2, {3, 5}), kLineNumber + "2\n", 0, 1},
    {"16 number 0", lines_of(2, {0, 3}), kLineNumber + "2\n", 0, 1},
    {"16 numbers in any order", lines_of(1, {4, 1}) + lines_of(2, {2, 3}), "", 0, 0},
    {"18 turret fairleads beyond a fifth of the beam", {{1418, 20.0f}},
     F({" ++> Warning: Fairlead positions appear to be", "inconsistent with a turret mooring system."}), 1, 0},
    {"18 turret fairleads within a fifth of the beam", {{1418, 31.0f}}, "", 0, 0},
    {"18 spread, close fairleads", {{kProgramKind, 12}, {787, 0}},
     kSpread + "consider using Pivara with the \"locked turret\" option.\n", 1, 0},
    {"18 spread of kind 8", {{kProgramKind, 8}, {787, 0}}, kSpread + "consider using the \"locked turret\" option.\n",
     1, 0},
    {"18 spread, wide fairleads", {{kProgramKind, 12}, {787, 0}, {1418, 20.0f}}, "", 0, 0},
    {"19 locked turret", {{161, 1}},
     F({" ++> Warning: With a locked turret, you probably want to use",
        "the \"Tethran-style 3-DOF equilibrium search\" option."}), 1, 0},
    {"19 locked turret, 3-DOF search", {{161, 1}, {145, 1}}, "", 0, 0},
    {"20 force on the moorings off the turret", {{1440, 1}, {789, 1}, {1438, 21.0f}}, kForcePoint, 1, 0},
    {"20 third block off the turret", {{795, 1}, {797, 1}, {1489, 20.0f}, {1490, 1.0f}}, kForcePoint, 1, 0},
    {"20 force on the moorings at the turret", {{1440, 1}, {789, 1}, {1438, 20.0f}}, "", 0, 0},
    {"20 force on the vessel", {{1440, 1}, {1438, 21.0f}}, "", 0, 0},
    {"21 spectrum without direction", {{1440, 1}, {1459, 5.0f}}, kNoDirection, 0, 1},
    {"21 second block", {{1440, 1}, {791, 1}, {1473, 5.0f}}, kNoDirection, 0, 1},
    {"21 spectrum with a direction", {{1440, 1}, {1459, 5.0f}, {1435, 1.0f}}, "", 0, 0},
    {"22 tanker hawser in order", kTanker, "", 0, 0},
    {"22 hawser line number elsewhere", kTanker + Edits{{kHawserLine, 3}}, kHawser + "3\n", 0, 1},
    {"22 hawser type with two lines", kTanker + lines_of(1, {1, 2}) + lines_of(2, {4, 3}), kHawser + "4\n", 0, 1},
    {"22 hawser type outside the table", kTanker + Edits{{kHawserType, 151}}, kHawser + "4\n", 0, 1},
    {"22 missing tanker fairlead", kTanker + Edits{{904, 0.0f}, {905, 0.0f}, {906, 0.0f}},
     F({" ++> Warning: Missing tanker fairlead data?"}), 1, 0},
    {"23 fairleads off the turret", {{1374, 25.0f}, {kMomentCentre, 25.0f}},
     F({" ++> Warning: Fairlead locations appear inconsistent", "with specified turret centroid x-coordinate."}), 1, 0},
    {"23 fairleads near the turret", {{1374, 20.9f}, {kMomentCentre, 20.9f}}, "", 0, 0},
    {"24 no fairleads, turret", no_fairleads() + Edits{{1419, 10000.0f}}, F({" ++> Warning: Missing fairlead data?"}),
     1, 0},
    {"24 no fairleads, spread", no_fairleads() + Edits{{787, 0}, {1418, 0.0f}},
     F({" ++> Fatal Warning: Missing fairlead data."}), 0, 1},
    {"24 one fairlead off the origin", no_fairleads() + fairlead(4, 0, 1, 0) + Edits{{1419, 10000.0f}}, "", 0, 0},
    {"25 no angles, turret", no_angles(), F({" ++> Warning: Missing line departure angle data?"}), 1, 0},
    {"25 no angles, kind 8", no_angles() + Edits{{kProgramKind, 8}, {787, 0}, {1418, 0.0f}},
     F({" ++> Warning: Missing line departure angle data?"}), 1, 0},
    {"25 no angles, spread", no_angles() + Edits{{787, 0}, {1418, 0.0f}},
     F({" ++> Fatal Warning: Missing line departure angle data."}), 0, 1},
    {"25 no angles, tendon kind", no_angles() + kKind14 + Edits{{787, 0}, {1418, 0.0f}}, "", 0, 0},
    {"26 turret centroid at 0", {{1374, 0.0f}, {kMomentCentre, 0.0f}, {1419, 10000.0f}},
     F({" ++> Warning: Missing turret centroid data?"}), 1, 0},
    {"26 tanker bow fairlead at 0", kTanker + Edits{{787, 1}, {1418, 30.5f}, {904, 0.0f}},
     F({" ++> Warning: Missing barge or tanker bow fairlead?"}), 1, 0},
    {"26 turret centroid near 0", {{1374, 0.001f}, {kMomentCentre, 0.001f}, {1419, 10000.0f}}, "", 0, 0},
    {"27 moment centre off the turret", {{kMomentCentre, 21.0f}},
     F({" ++> Warning: Differing x values for {turret centroid, moment reporting center}:", "    20.0    21.0",
        "Is that what you really want?"}), 1, 0},
    {"27 moment centre off, hawser", {{kMomentCentre, 21.0f}, {775, 1}}, "", 0, 0},
    {"28 single line, no turret",
     Edits{{kProgramKind, 12}, {787, 0}, {1418, 0.0f}, {kMooringLegs, 1}, {kLineTypes, 1}} + lines_of(1, {1}),
     F({" ++> Fatal Warning: Single line systems MUST use Pivara."}), 0, 1},
    {"28 single line, turret", Edits{{kMooringLegs, 1}, {kLineTypes, 1}} + lines_of(1, {1}), "", 0, 0},
    {"28 more dynamic lines than legs", {{kDynamicLines, 5}}, kDynamic, 0, 1},
    {"28 dynamic line above the legs", {{*dynamic_line_word(1), 5}}, kDynamic, 0, 1},
    {"28 dynamic line at the legs", {{*dynamic_line_word(1), 4}}, "", 0, 0},
    {"28 150 legs", {}, F({" ++> Fatal Warning: This simulation supports a maximum of 150 lines."}), 0, 1, 150},
    {"28 149 legs", {}, "", 0, 0, 149},
    {"29 kind 17, one layer", {{kProgramKind, 17}, {kInterpLayers, 1}}, kTooFew + kMismatch, 1, 1},
    {"29 kind 17, no span", {{kProgramKind, 17}, {kInterpLayers, 3}, {kInterpSpan, 0.0f}}, kTooFew + kMismatch, 1, 1},
    {"29 kind 17, one layer, no span", {{kProgramKind, 17}, {kInterpLayers, 1}, {kInterpSpan, 0.0f}}, kTooFew, 0, 1},
    {"29 kind 17, three layers", {{kProgramKind, 17}, {kInterpLayers, 3}}, "", 0, 0},
    {"29 kind 15, one layer", {{kInterpLayers, 1}}, "", 0, 0},
    {"30 negative low-frequency damping", {{1911, 1}, {1676, -1.0f}}, kLfNegative, 0, 1},
    {"30 negative damping switched off", {{1676, -1.0f}}, "", 0, 0},
    {"30 and 32 with dynamics on", {{1919, 1}, {1910, 1}, {1675, -1.0f}}, kLfNegative + kLfZero, 0, 2},
    {"32 zero damping with dynamics on", {{1919, 1}, {1912, 1}}, kLfZero, 0, 1},
    {"32 positive damping with dynamics on", {{1919, 1}, {1910, 1}, {1675, 0.1f}}, "", 0, 0},
    {"31 moor-modified damping", {{779, 1}, {780, 1}, {1382, -1.0f}},
     F({" ++> Fatal Warning: Nonpositive user-specified moor-modified damping coefficient."}), 0, 1},
    {"31 moor-modified period", {{779, 1}, {785, 1}, {1378, -0.5f}},
     F({" ++> Fatal Warning: Nonpositive user-specified moor-modified natural period."}), 0, 1},
    {"31 buoy dynamics off", {{780, 1}, {1382, -1.0f}, {785, 1}, {1378, -0.5f}}, "", 0, 0},
    {"33 legacy modes, time domain", {{153, 1}, {kTimeDomainSwitch, 1}},
     F({" ++> Fatal Warning: Legacy modal treatment untested with time-domain analysis."}), 0, 1},
    {"33 legacy modes alone", {{153, 1}}, "", 0, 0},
    // The reach of a type is measured from the fairlead of its first line:
    // type 2's first line is leg 3; leg 2 (type 1) sits 1000 up over an
    // anchor raised to match.
    {"4 reach from the type's first line", fairlead(1, 23, 0, 1000) + fairlead(2, 20, 3, 1000) +
                                               Edits{{*anchor_depth_word(1), -900.0f}}, "", 0, 0},
};

TEST(MooringChecks, EachStepFoundAndNotFound) {
  for (const StepCase& c : kSteps) {
    const Outcome got = run_checks(c.edits, c.legs);
    EXPECT_EQ(got.screen, c.screen) << c.name;
    EXPECT_EQ(got.warnings, c.warnings) << c.name;
    EXPECT_EQ(got.fatals, c.fatals) << c.name;
  }
}

TEST(MooringChecks, CountsAddToTheCallersAndPageBySeven) {
  // Six findings already listed by the vessel checks: the seventh waits.
  ScriptedSession t("\n");
  quiet_record(t.s.tpcm);
  t.s.tpcm.i(kInterpTableSize) = 10;
  int warnings = 4, fatals = 2;
  linwrn(t.s, warnings, fatals);
  EXPECT_EQ(warnings, 5);
  EXPECT_EQ(fatals, 2);
  EXPECT_NE(t.shown().find("Press <RETURN> to continue: "), std::string::npos);
}

TEST(MooringChecks, DerivedWords) {
  struct Case {
    const char* name;
    Edits edits;
    std::size_t word;
    testing::WordValue value;
  };
  const Edits kFourFairleads = fairlead(1, 10, 1, 5) + fairlead(2, 12, 2, 6) + fairlead(3, 14, 3, 7) +
                               fairlead(4, 30, 0, 9);
  const std::vector<Case> cases = {
      {"solid bottom somewhere", {}, 4998, 1},
      {"transparent everywhere", {{bottom(1), 0}, {bottom(2), 0}}, 4998, 0},
      {"only the hawser type solid", kTanker + Edits{{bottom(1), 0}}, 4998, 0},
      {"longest line", {{*type_sublines_word(2), 3}}, 4999, 900.0f},
      {"shortest line", {{*type_sublines_word(2), 3}}, 5000, 600.0f},
      {"no types: longest", {{kLineTypes, 0}}, 4999, 0.0f},
      {"no types: shortest", {{kLineTypes, 0}}, 5000, 1.0e30f},
      {"an RAO output", {{4980, 1}}, 101, 1},
      {"no RAO output", {{101, 1}}, 101, 0},
      {"kind 14 tendon-like", kKind14, 149, 1},
      {"kind 15 not", {{149, 1}}, 149, 0},
      {"kind 8 keeps it", {{kProgramKind, 8}, {149, 1}}, 149, 1},
      {"kind 14 drops large amplitude", kKind14 + Edits{{4994, 1}}, 4994, 0},
      {"kind 15 keeps large amplitude", {{4994, 1}}, 4994, 1},
      {"kind 13 hawser bottom", kTanker, bottom(2), 0},
      {"kind 13 other bottom", kTanker, bottom(1), 1},
      {"kind 13 hawser anchor: draft - z", kTanker, *anchor_depth_word(2), -2.0f},
      {"kind 13 buoy table", kTanker + kFourFairleads, *buoy_fairlead_word(3, 2), 3.0f},
      {"kind 13 mean moored x: 36 / 3", kTanker + kFourFairleads, 2608, 12.0f},
      {"kind 13 hawser fairlead z", kTanker + kFourFairleads, 2896, 9.0f},
      {"kind 13 turret x from the hawser point", kTanker, 1374, 50.0f},
      {"kind 13 hawser z copy", kTanker, 1662, 12.0f},
      {"kind 13 single leg: no mean", kTanker + Edits{{kMooringLegs, 1}, {2608, 7.5f}}, 2608, 7.5f},
      {"kind 13 hawser line beyond the legs", kTanker + Edits{{kHawserLine, 1000}, {2896, 7.5f}}, 2896, 7.5f},
  };
  for (const Case& c : cases) {
    Tpcm after;
    run_checks(c.edits, 4, &after);
    EXPECT_TRUE(testing::word_holds(after, c.word, c.value)) << c.name;
  }
}

TEST(MooringChecks, Kind10CopiesTheTugFairlead) {
  Tpcm r;
  run_checks({{kProgramKind, 10}, {2138, 7.0f}, {2139, 8.0f}, {2140, 9.0f}, {904, 1.0f},
                                  {905, 2.0f}, {906, 3.0f}}, 4, &r);
  // Fairlead 1 is the tug's, in its plane, and goes back to the buoy table.
  EXPECT_EQ(r.r(fl(1, 1)), 7.0f);
  EXPECT_EQ(r.r(fl(1, 2)), 0.0f);
  EXPECT_EQ(r.r(fl(1, 3)), 9.0f);
  EXPECT_EQ(r.r(2139), 0.0f);
  EXPECT_EQ(r.r(*buoy_fairlead_word(2, 3)), 10.0f);
  EXPECT_EQ(r.r(2608), 7.0f);
  EXPECT_EQ(r.r(2896), 9.0f);
  for (std::size_t k = 0; k < 3; ++k) EXPECT_EQ(r.r(907 + k), 1.0f + static_cast<float>(k));
  EXPECT_EQ(r.r(1374), 1.0f);
  EXPECT_EQ(r.r(1662), 3.0f);
  // Every type is the towline: transparent bottom, anchor at draft - z.
  for (int type = 1; type <= 2; ++type) {
    EXPECT_EQ(r.i(bottom(type)), 0);
    EXPECT_EQ(r.r(*anchor_depth_word(type)), 7.0f);
  }
  EXPECT_EQ(r.i(4998), 0);
  const Outcome no_point = run_checks({{kProgramKind, 10}, {2138, 7.0f}, {2140, 9.0f}});
  EXPECT_NE(no_point.screen.find(F({" ++> Warning: Missing barge fairlead data?"})), std::string::npos);
}

TEST(MooringChecks, HostileCountsStayInsideTheTables) {
  Edits edits = {{kMooringLegs, 100000}, {kLineTypes, 100000}, {kDynamicLines, 100000}, {line(1, 1), 100000},
                 {line(2, 1), -3},       {kHawserLine, 100000}, {kHawserType, -1},      {kProgramKind, 13},
                 {775, 1}};
  for (int type = 1; type <= kLineTypeCapacity; ++type)
    edits = edits + Edits{{legs_of(type), 100000}, {*type_sublines_word(type), -7}};
  edits = edits + fairlead(kLegCapacity, 1, 2, 3);
  Tpcm r;
  Outcome got;
  ASSERT_NO_THROW(got = run_checks(edits, 4, &r, std::string(20, '\n')));
  EXPECT_NE(got.screen.find("or line number duplication in line type 1\n"), std::string::npos);
  EXPECT_NE(got.screen.find("maximum of 150 lines."), std::string::npos);
  EXPECT_NE(got.screen.find("Hawser line type has more than a single line"), std::string::npos);
  // The buoy table holds 149 rows: leg 150 is not copied past it.
  EXPECT_EQ(r.i(*buoy_fairlead_word(kBuoyFairleadCapacity, 3) + 1), 0);
}

TEST(MooringChecks, WaveSteepnessRatio) {
  // Periods 1, 2, ... 100 in the table, and a word before it never read.
  Edits slope = {{107, 1}, {447, 2.0f}, {316, 1.0e6f}};
  for (int n = 1; n <= 100; ++n) slope.push_back({316 + static_cast<std::size_t>(n), static_cast<float>(n)});
  struct Case {
    const char* name;
    Edits edits;
    std::optional<float> ratio;
  };
  const std::vector<Case> cases = {
      {"irregular seas 10 in depth 100", {{171, 1}, {429, 10.0f}}, 0.186f},
      {"seas 3 and swell 4 make 5", {{171, 1}, {173, 1}, {429, 3.0f}, {450, 4.0f}}, 0.093f},
      {"swell alone", {{173, 1}, {450, 4.0f}, {429, 30.0f}}, 0.0744f},
      {"kind 8 takes the swell", {{kProgramKind, 8}, {450, 5.0f}}, 0.093f},
      {"regular height", {{447, 7.0f}}, 0.07f},
      // T^2 g slope / (2261.95 depth) with T the middle period.
      {"slope, metric, 30 periods", slope + Edits{{kWaveFrequencies, 30}}, 0.01949645f},    // 15^2 9.8 2 / 226195
      {"slope, English", slope + Edits{{kWaveFrequencies, 30}, {kUnitSystem, 0}}, 0.06396428f},  // 32.152
      {"slope, one period: the first", slope + Edits{{kWaveFrequencies, 1}}, 8.665090e-5f},
      {"slope, no periods: the first", slope + Edits{{kWaveFrequencies, -9}}, 8.665090e-5f},
      {"slope, 5000 periods: the last", slope + Edits{{kWaveFrequencies, 5000}}, 0.8665090f},
      {"depth 0", {{445, 0.0f}}, std::nullopt},
      {"depth below 0", {{445, -5.0f}}, std::nullopt},
  };
  for (const Case& c : cases) {
    Tpcm t;
    quiet_record(t);
    edit_record(t, c.edits);
    const auto ratio = wave_steepness_ratio(t);
    ASSERT_EQ(ratio.has_value(), c.ratio.has_value()) << c.name;
    if (c.ratio) {
      EXPECT_NEAR(*ratio, *c.ratio, 1.0e-6f * *c.ratio) << c.name;
    }
  }
}

TEST(Hardwire, ClearsWhatTheSettingsDoNotAllow) {
  struct Case {
    const char* name;
    Edits edits;
    std::vector<std::size_t> cleared;
    std::vector<std::size_t> kept;
  };
  const Edits blocks = {{1440, 1}, {789, 1}, {791, 1}, {793, 1}, {795, 1}, {797, 0}};
  const std::vector<Case> cases = {
      {"turret, blocks on the moorings", blocks, {1436, 1472}, {1486, 779, 778}},
      {"third block on the moorings too", blocks + Edits{{797, 1}}, {1436, 1472, 1486}, {}},
      {"no turret", blocks + Edits{{787, 0}}, {}, {1436, 1472, 1486}},
      {"forces off", blocks + Edits{{1440, 0}}, {}, {1436, 1472, 1486}},
      {"not a disc buoy", {{kVesselType, 1}}, {779, 778}, {}},
  };
  for (const Case& c : cases) {
    ScriptedSession t;
    edit_record(t.s.tpcm, Edits{{787, 1}, {kVesselType, 4}, {1436, 5.0f}, {1472, 5.0f}, {1486, 5.0f}, {779, 1}, {778, 1}} +
                        c.edits);
    hardwire(t.s);
    for (std::size_t w : c.cleared) EXPECT_EQ(t.s.tpcm.i(w), 0) << c.name << " word " << w;
    for (std::size_t w : c.kept) EXPECT_NE(t.s.tpcm.i(w), 0) << c.name << " word " << w;
  }
}

}  // namespace
}  // namespace kelp
