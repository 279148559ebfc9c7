#include "moor/e/mooring_checks.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "edlib/record/data_record.hpp"
#include "kelpkit/flag_fields.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

constexpr int kPeriodCapacity = 100;

constexpr int kMaxLines = 150;                  // named in the message; 150 itself is refused
constexpr int kOptimumTableSize = 90;
constexpr float kNoLength = 1.0e30f;
constexpr float kNoStrength = 1.0e22f;

// One external force block: its switches, application point, spectral value
// and direction words.
struct ForceBlock {
  std::size_t on;          // 0: the first block's switch is word 1440 itself
  std::size_t on_moorings; // 1: force applied to the moorings
  std::size_t x, y;        // application point
  std::size_t spectrum;
  std::size_t dir_x, dir_y;
  std::size_t z_moment;    // mean Z moment, cleared by hardwire
};
constexpr std::array<ForceBlock, 3> kForceBlocks = {{
    {kAuxForceOn, 789, 1438, 1439, 1459, 1434, 1435, 1436},
    {791, 793, 1475, 1476, 1473, 1467, 1468, 1472},
    {795, 797, 1489, 1490, 1487, 1481, 1482, 1486},
}};

// A user-specified value with the flag that switches it on.
struct FlaggedValue {
  std::size_t flag;
  std::size_t value;
};
constexpr std::array<FlaggedValue, 3> kLowFrequencyDamping = {{{1910, 1675}, {1911, 1676}, {1912, 1677}}};
constexpr std::array<FlaggedValue, 3> kMoorModifiedDamping = {{{780, 1382}, {781, 1383}, {782, 1384}}};
constexpr std::array<FlaggedValue, 3> kMoorModifiedPeriod = {{{783, 1376}, {784, 1377}, {785, 1378}}};

// ---- Messages ----
using Lines = std::vector<std::string>;

const Lines kTendraProfile = {
    " ++> Tendra generally performs best if you specify",
    "     the mean line profile by distance to anchor, horizontal tension",
    "     or fairlead line angle, after first setting the tendon length."};
const Lines kVerticalFairleads = {" ++> Warning: Vertical positions of fairleads inconsistent",
                                  "with the specified number of distinct line types."};
const Lines kUnrealizableSummary = {
    "     The simulation may run to completion but the interpolation tables will",
    "     possibly be meaningless. You should re-check your Alpha coefficients."};
const Lines kWeakestLine = {" ++> Warning: Maximum horizontal load is greater than",
                            "TWICE the breaking strength of the weakest line."};
const Lines kSpectralAtEndpoints = {
    " ++> Warning: The option \"Spectral estimates for line load WF standard",
    "     deviations\" is untested at nodes other than fairlead and anchor when",
    "     combined with \"Line loads and motions at element end points\";",
    "consider disabling one or the other if possible."};
const Lines kSuggestLargeAmplitude = {" ++> Warning: [Wave Height]/[Water Depth] ratio suggests use of",
                                      "\"large-amplitude\" wave-frequency line load algorithm."};
const Lines kLargeAmplitudeNoLayers = {
    " ++> Warning: Large-amplitude wave-frequency line load algorithm selected and",
    "no interpolation layers or zero vertical interpolation span."};
const Lines kTurretInconsistent = {" ++> Warning: Fairlead positions appear to be",
                                   "inconsistent with a turret mooring system."};
const Lines kUseThreeDof = {" ++> Warning: With a locked turret, you probably want to use",
                            "the \"Tethran-style 3-DOF equilibrium search\" option."};
const Lines kForcePoint = {" ++> Warning: An external mooring force application point appears",
                           "inconsistent with fairlead centroid."};
const Lines kForceNoDirection = {" ++> Fatal Warning: A nonzero auxiliary force spectrum has no assigned direction."};
const Lines kTurretCentroidX = {" ++> Warning: Fairlead locations appear inconsistent",
                                "with specified turret centroid x-coordinate."};
const Lines kMissingFairleadsWarning = {" ++> Warning: Missing fairlead data?"};
const Lines kMissingFairleadsFatal = {" ++> Fatal Warning: Missing fairlead data."};
const Lines kMissingAnglesWarning = {" ++> Warning: Missing line departure angle data?"};
const Lines kMissingAnglesFatal = {" ++> Fatal Warning: Missing line departure angle data."};
const Lines kSingleLine = {" ++> Fatal Warning: Single line systems MUST use Pivara."};
const Lines kDynamicLineNumber = {" ++> Fatal Warning: A line number for dynamic evaluation",
                                  "exceeds the total line number."};
const Lines kTooFewLayers = {" ++> Fatal Warning: This simulation requires a minimum of three interpolation",
                             "layers and a positive-definite vertical interpolation span"};
const Lines kLayersSpanMismatch = {
    " ++> Warning: Logical inconsistency between the number of interpolation layers",
    "and the specified vertical interpolation span."};
const Lines kLowFrequencyDampingNegative = {
    " ++> Fatal Warning: Nonpositive user-specified low-frequency damping coefficient."};
const Lines kMoorDampingNegative = {
    " ++> Fatal Warning: Nonpositive user-specified moor-modified damping coefficient."};
const Lines kMoorPeriodNegative = {" ++> Fatal Warning: Nonpositive user-specified moor-modified natural period."};
const Lines kLowFrequencyDampingNotPositive = {
    " ++> Fatal Warning: A user-specified low-frequency damping is nonpositive."};
const Lines kLegacyModal = {" ++> Fatal Warning: Legacy modal treatment untested with time-domain analysis."};

// One line under a format, without its record end.
template <class... T>
std::string formatted(std::string_view format, const T&... items) {
  std::string text = fmt::fortran(format, items...);
  text.pop_back();
  return text;
}

// An integer in as many digits as it needs.
std::string num(std::int32_t n) { return formatted("(I0)", n); }

bool is_buoy_kind(int kind) { return kind == 13 || kind == 10; }

// The checks of one call, with the state the steps hand on to later steps.
class MooringChecks {
 public:
  MooringChecks(Session& s, int& nwarn, int& nfatal)
      : s_(s), t_(s.tpcm), nwarn_(nwarn), nfatal_(nfatal), out_(t_.i(kOutputUnit)), kind_(t_.i(kProgramKind)) {}

  void run() {
    tendon_kind();          // 1
    derived_flags();        // 2
    table_size();           // 3
    line_types();           // 4 to 7
    elastic_curves();       // 8 to 10
    if (t_.i(kSpectralLineSd) == 1 && t_.i(kEndpointLoads) == 1) warning(kSpectralAtEndpoints);  // 11
    wave_steepness();       // 12 and 13
    line_counts();          // 14 to 16
    fairleads();            // 17 to 21
    buoy_hawser();          // 22
    fairlead_summaries();   // 23 to 27
    system_limits();        // 28 and 29
    user_damping();         // 30 to 33
  }

 private:
  // ---- Reporting ----
  void report(int& counter, const Lines& lines) {
    s_.write_line(out_, "");
    for (const std::string& line : lines) s_.write_line(out_, line);
    wrninc(s_, counter, nwarn_, nfatal_, out_, kKeyboard, kMooringFindingsPerScreen);
  }
  void warning(const Lines& lines) { report(nwarn_, lines); }
  void fatal(const Lines& lines) { report(nfatal_, lines); }

  // ---- Record access ----
  std::int32_t word(std::size_t n) const { return t_.i(n); }
  float real(std::size_t n) const { return t_.r(n); }
  int types() const { return table_count(word(kLineTypes), kLineTypeCapacity); }
  int legs() const { return table_count(word(kMooringLegs), kLegCapacity); }
  int sublines(int type) const { return table_count(word(*type_sublines_word(type)), kSublineCapacity); }
  int legs_of(int type) const { return table_count(word(*type_legs_word(type)), kLegCapacity); }
  std::int32_t line_number(int type, int k) const { return word(*type_line_word(type, k)); }
  // A line number that can index the leg tables: 1..min(legs, 150).
  bool valid_line(std::int32_t line) const { return line >= 1 && line <= legs(); }
  float fairlead(int leg, int coord) const { return real(*fairlead_word(leg, coord)); }
  float element(ElementField f, int s, int type) const { return real(*element_word(f, s, type)); }
  bool hawser_type(int type) const {
    return ((kind_ == 13 || kind_ == 8) && type == word(kHawserType) && word(kHawserFlag) == 1) || kind_ == 10;
  }

  // ---- Steps ----
  void tendon_kind() {
    if (kind_ == 14) {
      t_.i(kLargeAmplitude) = 0;
      t_.i(kTendonLike) = 1;
      if (word(kProfileMode) == 2) warning(kTendraProfile);
    } else if (kind_ != 8) {
      t_.i(kTendonLike) = 0;
    }
  }

  void derived_flags() {
    const bool any = word(kRaoComparisons) != 0 || word(kRaoComparisons + 1) != 0 || word(kRaoComparisons + 2) != 0;
    t_.i(kAnyRaoOutput) = any ? 1 : 0;
    if (kind_ == 10) {
      // The tug's fairlead is the one of the barge table, in its plane.
      t_.set_r(*fairlead_word(1, 1), real(*buoy_fairlead_word(1, 1)));
      t_.set_r(*fairlead_word(1, 2), 0.0f);
      t_.set_r(*fairlead_word(1, 3), real(*buoy_fairlead_word(1, 3)));
    }
  }

  void table_size() {
    const std::int32_t n = word(kInterpTableSize);
    if (n > kOptimumTableSize - 1) return;
    warning({" ++> Warning: Specified table size (" + num(n) + ") is less than optimum.",
             formatted("('     Consider increasing table size to the maximum value of ',I2,'.')",
                       kOptimumTableSize)});
  }

  void line_types() {
    bool any_solid = false, vertical = false;
    int non_positive = 0, too_short = 0;
    float longest = 0.0f, shortest = kNoLength;
    for (int type = 1; type <= types(); ++type) {
      if (hawser_type(type)) {
        t_.i(*bottom_flag_word(type)) = 0;
        t_.set_r(*anchor_depth_word(type), real(kDraft) - real(kHawserPoint + 2));
      }
      if (word(*bottom_flag_word(type)) != 0) any_solid = true;

      // Fairlead heights of the type's legs, in the order of its line numbers.
      bool have_z = false;
      float last_z = 0.0f;
      for (int k = 1; k <= legs_of(type); ++k) {
        const std::int32_t line = line_number(type, k);
        if (!valid_line(line)) continue;
        const float z = fairlead(line, 3);
        if (have_z && z != last_z) vertical = true;
        have_z = true;
        last_z = z;
      }

      float total = 0.0f;
      for (int s = 1; s <= sublines(type); ++s) {
        const float length = element(ElementField::kLength, s, type);
        total += length;
        if (length <= 0.0f) non_positive = type;
      }
      longest = std::max(longest, total);
      shortest = std::min(shortest, total);

      // Reach: the line must span the height from its fairlead (of the
      // type's first line) to the anchor.
      const std::int32_t first = line_number(type, 1);
      if (!valid_line(first)) continue;
      const float height = fairlead(first, 3) + real(*anchor_depth_word(type)) - real(kDraft);
      const float margin = total - height;
      if (margin >= 0.0f) continue;
      if (kind_ != 14) {
        too_short = type;
      } else if (total != 0.0f && std::fabs(margin / total) > 0.02f) {
        too_short = type;
      }
    }
    t_.i(kAnySolidBottom) = any_solid ? 1 : 0;
    t_.set_r(kLongestLine, longest);
    t_.set_r(kShortestLine, shortest);

    if (vertical) warning(kVerticalFairleads);  // 5
    if (non_positive != 0) {                    // 6
      fatal({" ++> Fatal Warning: The line length for line type " + num(non_positive) + ", ",
             "     and possibly others, is non-positive."});
    }
    if (too_short != 0 && word(kAnySolidBottom) == 1 && kind_ != 17 && word(kTendonLike) == 0) {  // 7
      warning({" ++> Warning: The line length for line type " + num(too_short) + ", and possibly others,",
               "     is insufficient to reach the anchor."});
    }
  }

  // A compliance curve a T + b T^2 + c T^3 that is not single-valued and
  // rising: a or c negative, b negative without a cubic term, or b^2 > 3ac.
  static bool unrealizable(float a, float b, float c) {
    if (a < 0.0f || c < 0.0f) return true;
    if (c == 0.0f) return b < 0.0f;
    return b * b > 3.0f * a * c;
  }

  void elastic_curves() {
    bool any_rejected = false;
    float weakest = kNoStrength;
    int dry_type = 0, dry_sub = 0;
    for (int type = 1; type <= types(); ++type) {
      const std::int32_t from_file = word(*elastic_file_bits_word(type));
      for (int s = 1; s <= sublines(type); ++s) {
        weakest = std::min(weakest, element(ElementField::kBreakingStrength, s, type));
        if (dry_type == 0 && element(ElementField::kDryWeight, s, type) <= 0.0f) {
          dry_type = type;
          dry_sub = s;
        }
        if (bitval(from_file, s) != 0) continue;
        const float a = real(*compliance_word(s, type, 1));
        const float b = real(*compliance_word(s, type, 2));
        const float c = real(*compliance_word(s, type, 3));
        if (!unrealizable(a, b, c)) continue;
        any_rejected = true;
        warning({" ++> Warning: Physically unrealizable elastic characteristics or",
                 "     multi-valued stress-elongation curve detected for ",
                 "     (type,element) = (" + num(type) + "," + num(s) + ")."});
      }
    }
    if (any_rejected) warning(kUnrealizableSummary);
    if (weakest < 0.5f * real(kMaxTableLoad)) warning(kWeakestLine);  // 9
    if (dry_type != 0) {                                               // 10
      warning({" ++> Warning: Nonpositive dry weight detected for",
               "     (type,element) = (" + num(dry_type) + "," + num(dry_sub) + "), and possibly others.",
               "     Default estimates will be applied."});
    }
  }

  void wave_steepness() {
    const auto ratio = wave_steepness_ratio(t_);
    if (ratio && word(kTendonLike) == 0 && kind_ != 8 && *ratio > 0.05f && word(kLargeAmplitude) == 0 &&
        word(kAnySolidBottom) == 1) {
      warning(kSuggestLargeAmplitude);
    }
    if (word(kLargeAmplitude) != 0 && kind_ != 8 && (word(kInterpLayers) < 2 || real(kInterpSpan) <= 0.0f)) {
      warning(kLargeAmplitudeNoLayers);  // 13
    }
  }

  void line_counts() {
    // 14: the legs of the types must add up to the leg count.
    long long sum = 0;
    for (int type = 1; type <= types(); ++type) sum += word(*type_legs_word(type));
    const Lines counts = {"     total line number = " + num(word(kMooringLegs)),
                          "     total line types  = " + num(word(kLineTypes))};
    auto with_counts = [&](std::string head) {
      Lines lines = {std::move(head)};
      lines.insert(lines.end(), counts.begin(), counts.end());
      return lines;
    };
    if (sum != word(kMooringLegs)) {
      fatal(with_counts(" ++> Fatal Warning: Incorrect total line number."));
    } else if (word(kMooringLegs) < word(kLineTypes)) {
      warning(with_counts(" ++> Warning: Incorrect total line number."));
    }

    // 15: kind 7 takes at most three sublines per type.
    if (kind_ == 7) {
      int many = 0;
      for (int type = 1; type <= types(); ++type)
        if (word(*type_sublines_word(type)) > 3) many = type;
      if (many != 0) {
        fatal({" ++> Fatal Warning: More than three sublines in type " + num(many) + ", and possibly others.",
               "Consolidate sublines or use clump weight/spring buoy options."});
      }
    }

    // 16: every line number in range and used once; the first slot that
    // fails names its type.
    std::array<int, kLegCapacity + 1> uses{};
    for (int type = 1; type <= types(); ++type)
      for (int k = 1; k <= legs_of(type); ++k)
        if (const std::int32_t line = line_number(type, k); valid_line(line)) ++uses[static_cast<std::size_t>(line)];
    for (int type = 1; type <= types(); ++type) {
      for (int k = 1; k <= legs_of(type); ++k) {
        const std::int32_t line = line_number(type, k);
        if (valid_line(line) && uses[static_cast<std::size_t>(line)] == 1) continue;
        fatal({" ++> Fatal Warning: Line identification number error",
               "or line number duplication in line type " + num(type)});
        return;
      }
    }
  }

  void fairleads() {
    const bool buoy = is_buoy_kind(kind_);
    const bool hawser = word(kHawserFlag) == 1;
    float x_sum_moored = 0.0f;
    all_fairleads_zero_ = true;
    all_angles_zero_ = true;
    float widest = 0.0f;
    turret_offset_ = 0.0f;
    for (int leg = 1; leg <= legs(); ++leg) {
      const float x = fairlead(leg, 1), y = fairlead(leg, 2), z = fairlead(leg, 3);
      if (buoy && leg <= kBuoyFairleadCapacity) {
        for (int k = 1; k <= 3; ++k) t_.set_r(*buoy_fairlead_word(leg, k), fairlead(leg, k));
      }
      if (buoy && hawser && leg != word(kHawserLine)) x_sum_moored += x;
      if (x != 0.0f || y != 0.0f || z != 0.0f) all_fairleads_zero_ = false;
      if (real(*departure_angle_word(leg)) != 0.0f) all_angles_zero_ = false;
      const float dx = x - fairlead(1, 1), dy = y - fairlead(1, 2);
      widest = std::max(widest, dx * dx + dy * dy);
      turret_offset_ += x - real(kTurretX);
    }
    if (kind_ == 13) {
      const long long others = static_cast<long long>(word(kMooringLegs)) - 1;
      if (others != 0) t_.set_r(kMeanFairleadX, x_sum_moored / static_cast<float>(others));
      if (valid_line(word(kHawserLine))) t_.set_r(kHawserFairleadZ, fairlead(word(kHawserLine), 3));
    } else if (kind_ == 10) {
      t_.set_r(kMeanFairleadX, real(*buoy_fairlead_word(1, 1)));
      t_.set_r(kHawserFairleadZ, real(*buoy_fairlead_word(1, 3)));
      for (std::size_t k = 0; k < 3; ++k) t_.set_r(kHawserPointCopy + k, real(kHawserPoint + k));
    }

    // 18: a turret keeps its fairleads within a fifth of the beam of the
    // first one; a spread mooring does not.
    const float reach = 0.2f * real(kWaterlineLength);
    const float scale = reach * reach;
    const std::int32_t turret = word(kTurretFlag);
    if ((turret != 1 && widest < scale) || (turret != 0 && scale < widest)) {
      if (kind_ == 15) {
        warning(kTurretInconsistent);
      } else {
        warning({" ++> Warning: Fairlead positions appear to be inconsistent with a spread mooring system.",
                 "If your mooring centroid is displaced longitudinally from your vessel centroid,",
                 std::string("consider using") + (kind_ == 8 ? " " : " Pivara with ") +
                     "the \"locked turret\" option."});
      }
    }
    if (turret != 0 && word(kLockTurret) == 1 && word(kThreeDofSearch) == 0) warning(kUseThreeDof);  // 19

    // 20: the application points of active force blocks on the moorings.
    if (turret != 0) {
      for (const ForceBlock& b : kForceBlocks) {
        if (!force_block_on(b) || word(b.on_moorings) != 1) continue;
        if (real(b.x) != real(kTurretX) || real(b.y) != 0.0f) {
          warning(kForcePoint);
          break;
        }
      }
    }
    // 21: a force spectrum needs a direction.
    if (word(kAuxForceOn) == 1) {
      for (const ForceBlock& b : kForceBlocks) {
        if (!force_block_on(b)) continue;
        if (real(b.spectrum) != 0.0f && real(b.dir_x) == 0.0f && real(b.dir_y) == 0.0f) {
          fatal(kForceNoDirection);
          break;
        }
      }
    }
  }

  bool force_block_on(const ForceBlock& b) const { return word(b.on) == 1; }

  void buoy_hawser() {
    if (!is_buoy_kind(kind_)) return;
    t_.set_r(kTurretX, real(kHawserPoint));
    t_.set_r(kHawserZCopy, real(kHawserPoint + 2));
    if (word(kHawserFlag) == 1) {
      const std::int32_t type = word(kHawserType);
      const auto bottom = bottom_flag_word(type);
      if (bottom) t_.i(*bottom) = 0;
      const bool single = bottom && word(*type_legs_word(type)) == 1 && line_number(type, 1) == word(kHawserLine);
      if (!single) {
        fatal({" ++> Fatal Warning: Hawser line type has more than a single line",
               "OR hawser-associated line number is not equal to " + num(word(kHawserLine))});
      }
    }
    if (real(kHawserPoint) == 0.0f && real(kHawserPoint + 1) == 0.0f && real(kHawserPoint + 2) == 0.0f) {
      warning({std::string(" ++> Warning: Missing") + (kind_ == 13 ? " tanker " : " barge ") + "fairlead data?"});
    }
  }

  void fairlead_summaries() {
    const std::int32_t turret = word(kTurretFlag);
    // 23
    if (turret != 0 && !is_buoy_kind(kind_) && kind_ != 8 &&
        std::fabs(turret_offset_) > 0.02f * real(kWaterlineBeam)) {
      warning(kTurretCentroidX);
    }
    // 24
    if (all_fairleads_zero_) {
      if (turret != 0) {
        warning(kMissingFairleadsWarning);
      } else {
        fatal(kMissingFairleadsFatal);
      }
    }
    // 25
    if (all_angles_zero_) {
      if ((turret != 0 && word(kMooringLegs) > 1) || kind_ == 8) {
        warning(kMissingAnglesWarning);
      } else if (turret != 1 && word(kTendonLike) == 0) {
        fatal(kMissingAnglesFatal);
      }
    }
    // 26
    if (turret != 0 && kind_ != 8 && real(kTurretX) == 0.0f) {
      warning({std::string(" ++> Warning: Missing ") +
               (is_buoy_kind(kind_) ? "barge or tanker bow fairlead?" : "turret centroid data?")});
    }
    // 27
    if (real(kMomentCentre) != real(kTurretX) && !is_buoy_kind(kind_) && word(kHawserFlag) != 1) {
      warning({" ++> Warning: Differing x values for {turret centroid, moment reporting center}:",
               formatted("(2F8.1)", real(kTurretX), real(kMomentCentre)), "Is that what you really want?"});
    }
  }

  void system_limits() {
    if (kind_ > 9) {
      if (word(kMooringLegs) <= 1 && word(kTurretFlag) != 1) fatal(kSingleLine);
      bool beyond = word(kDynamicLines) > word(kMooringLegs);
      for (int i = 1; i <= table_count(word(kDynamicLines), kLegCapacity); ++i)
        if (word(*dynamic_line_word(i)) > word(kMooringLegs)) beyond = true;
      if (beyond) fatal(kDynamicLineNumber);
      if (word(kMooringLegs) > kMaxLines - 1 || word(kLineTypes) > kMaxLines - 1) {
        fatal({formatted("(' ++> Fatal Warning: This simulation supports a maximum of ',I3,' lines.')",
                         kMaxLines)});
      }
    }
    if (kind_ == 17 || word(kTendonLike) == 1) {
      const std::int32_t layers = word(kInterpLayers);
      const float span = real(kInterpSpan);
      if (layers < 2 || span <= 0.0f) fatal(kTooFewLayers);
      if ((layers <= 1 && span > 0.0f) || (layers > 1 && span <= 0.0f)) warning(kLayersSpanMismatch);
    }
  }

  // Whether any switched-on value fails the test.
  bool any_flagged(std::span<const FlaggedValue> values, bool (*fails)(float)) const {
    return std::any_of(values.begin(), values.end(),
                       [&](const FlaggedValue& v) { return word(v.flag) != 0 && fails(real(v.value)); });
  }

  void user_damping() {
    const auto negative = [](float v) { return v < 0.0f; };
    const auto not_positive = [](float v) { return v <= 0.0f; };
    if (any_flagged(kLowFrequencyDamping, negative)) fatal(kLowFrequencyDampingNegative);  // 30
    if (word(kMooringFeedback) != 0) {                                                         // 31
      if (any_flagged(kMoorModifiedDamping, negative)) fatal(kMoorDampingNegative);
      if (any_flagged(kMoorModifiedPeriod, negative)) fatal(kMoorPeriodNegative);
    }
    if (word(kLowFrequencyOn) != 0 && any_flagged(kLowFrequencyDamping, not_positive)) {  // 32
      fatal(kLowFrequencyDampingNotPositive);
    }
    if (word(kLegacyModes) == 1 && word(kTimeDomainSwitch) == 1) fatal(kLegacyModal);  // 33
  }

  Session& s_;
  Tpcm& t_;
  int& nwarn_;
  int& nfatal_;
  int out_;
  int kind_;
  // Handed from the fairlead survey to the later steps.
  bool all_fairleads_zero_ = true;
  bool all_angles_zero_ = true;
  float turret_offset_ = 0.0f;
};

}  // namespace

std::optional<float> wave_steepness_ratio(const Tpcm& t) {
  const float depth = t.r(kWaterDepth);
  if (!(depth > 0.0f)) return std::nullopt;
  const bool seas = t.i(kIrregularOn) != 0;
  const bool swell = t.i(kSwellOn) != 0;
  if (t.i(kProgramKind) == 8 || seas || swell) {
    float height = t.r(kSwellHeight);
    if (seas && swell) {
      height = std::sqrt(t.r(kSeaHeights) * t.r(kSeaHeights) + t.r(kSwellHeight) * t.r(kSwellHeight));
    } else if (seas) {
      height = t.r(kSeaHeights);
    }
    return 1.86f * height / depth;
  }
  if (t.i(kConstantSlope) == 1) {
    const int n = std::clamp(t.i(kWaveFrequencies) / 2, 1, kPeriodCapacity);
    const float period = t.r(kPeriods + static_cast<std::size_t>(n - 1));
    const float g = t.i(kUnitSystem) == 0 ? 32.152f : 9.8f;
    return period * period * g * t.r(kRegularHeight) / (2261.95f * depth);
  }
  return t.r(kRegularHeight) / depth;
}

void linwrn(Session& s, int& nwarn, int& nfatal) { MooringChecks(s, nwarn, nfatal).run(); }

void hardwire(Session& s) {
  Tpcm& t = s.tpcm;
  if (t.i(kTurretFlag) != 0 && t.i(kAuxForceOn) == 1) {
    for (const ForceBlock& b : kForceBlocks) {
      if (t.i(b.on) == 1 && t.i(b.on_moorings) == 1) t.set_r(b.z_moment, 0.0f);
    }
  }
  if (t.i(kVesselType) != 4) {
    t.i(kMooringFeedback) = 0;
    t.i(kStaticWaveForce) = 0;
  }
}

}  // namespace kelp
