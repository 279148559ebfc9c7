// Pages 20 and 21 of the mooring editor: the output options. Each page is a
// table of rows; what a row shows under and what it is edited under stand
// in the row, block A and "waves" being the two conditions most rows share.
#include "moor/e/output_options.hpp"

#include <algorithm>
#include <cmath>
#include <span>

#include "edlib/pagekit/help_book.hpp"
#include "edlib/pagekit/output_menus.hpp"
#include "edlib/pagekit/page_output.hpp"
#include "edlib/pagekit/page_pattern.hpp"
#include "edlib/pagekit/page_table.hpp"
#include "edlib/pagekit/square_law_help.hpp"
#include "edlib/record/data_record.hpp"
#include "kelpkit/flag_fields.hpp"
#include "kelpkit/report_lines.hpp"
#include "kelpkit/toggles.hpp"
#include "sysutl/diskio.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

int kind(const Session& s) { return s.tpcm.i(kProgramKind); }
int word(const Session& s, IntWord w) { return s.tpcm.i(w); }
int out_unit(const Session& s) { return s.tpcm.i(kOutputUnit); }
int legs(const Session& s) { return table_count(s.tpcm.i(kMooringLegs), kLegCapacity); }
bool always(const Session&) { return true; }

// ---- Page 20 ----

// Block A: low-frequency dynamics on, and a kind that simulates them.
bool block_a(const Session& s) { return word(s, kLowFrequencyOn) != 0 && kind(s) != 8; }
// Waves: irregular seas or swell.
bool waves(const Session& s) { return word(s, kIrregularOn) == 1 || word(s, kSwellOn) != 0; }
// The wave-frequency items 7 to 27.
bool wave_frequency(const Session& s) { return block_a(s) && word(s, kWaveFrequencyOn) != 0; }

bool kind8(const Session& s) { return kind(s) == 8; }
bool kind15(const Session& s) { return kind(s) == 15; }
bool kind17(const Session& s) { return kind(s) == 17; }
bool two_vessels(const Session& s) { return kind(s) == 10 || kind(s) == 13; }
bool not_kind14(const Session& s) { return kind(s) != 14; }
bool three_dof_kind(const Session& s) { return kind(s) != 12 && kind(s) != 14 && kind(s) != 17; }
bool only_raos_kind(const Session& s) { return word(s, kExtensionOn) == 1 && kind(s) != 13 && kind(s) != 8; }
bool snapshot_kind(const Session& s) { return kind(s) > 10 && kind(s) != 13; }
bool box_kind(const Session& s) { return kind(s) >= 10; }
bool current_on(const Session& s) { return word(s, kCurrentOn) == 1; }
bool endpoints_on(const Session& s) { return word(s, kEndpointLoads) == 1; }
bool correction_on(const Session& s) { return word(s, kInertiaCorrection) != 0; }
bool list_accepted(const Session& s) { return correction_on(s) && word(s, kInertiaExclusion) >= 1; }
bool bit1_on(const Session& s) { return bitval(word(s, kOutputStaticOffsets), 1) == 1; }

bool wf_endpoints(const Session& s) { return wave_frequency(s) && endpoints_on(s); }
bool wf_not14(const Session& s) { return wave_frequency(s) && not_kind14(s); }
bool wf_correction(const Session& s) { return wave_frequency(s) && correction_on(s); }
bool wf_list(const Session& s) { return wf_correction(s) && word(s, kInertiaExclusion) > 0; }
bool wf_three_dof(const Session& s) { return wave_frequency(s) && three_dof_kind(s); }
bool wf_only_raos(const Session& s) { return wave_frequency(s) && only_raos_kind(s); }
bool a_kind15(const Session& s) { return block_a(s) && kind15(s); }
bool a_current(const Session& s) { return block_a(s) && current_on(s); }
bool a_snapshot(const Session& s) { return block_a(s) && snapshot_kind(s); }
bool a_box(const Session& s) { return block_a(s) && kind(s) > 10; }
bool a_current_waves(const Session& s) { return a_current(s) && waves(s); }
bool a_waves(const Session& s) { return block_a(s) && waves(s); }
bool a_cross_correlation(const Session& s) {
  // oneon writes only on a field number outside 1 to 8, never here.
  Session& m = const_cast<Session&>(s);
  const int selector = word(s, kDriftSelector);
  return a_waves(s) && (oneon(m, selector, 7, out_unit(s)) || oneon(m, selector, 5, out_unit(s)));
}
bool a_summary_kn(const Session& s) {
  return a_snapshot(s) && word(s, kUnitSystem) == kUnitsMetric && word(s, kTabSummary) == 1;
}
bool a_kind17(const Session& s) { return block_a(s) && kind17(s); }
bool a_two_vessels(const Session& s) { return block_a(s) && two_vessels(s); }

void toggle_word(Session& s, IntWord w) {
  toggle2(s, s.tpcm.i(w), s.tpcm.i(kBatchFlag), out_unit(s), kKeyboard);
}

// The labels of page 20 run to 60 characters (item 17), more than the
// house's 57-column label field holds with the item number: the page has a
// label column of 70, so that every label shows whole with its dot leader
// and the values stand in one column.
constexpr int kLabelColumns20 = 70;
constexpr std::string_view kYesNoLine20 = "(A70,3X,A3)";
constexpr std::string_view kStormFormat = "(A70,F6.2)";

void wide_yes_no(Session& s, PageItems& w, std::string_view label, int flag) {
  int item = w.custom();
  outcc0(s, item, label, yesno(flag), kYesNoLine20, w.out(), kLabelColumns20 - 1);
}

// A yes/no item of page 20: its label and word, toggled with word 13.
template <std::size_t N>
struct Label {
  char text[N];
  constexpr Label(const char (&s)[N]) { std::copy_n(s, N, text); }
  constexpr std::string_view view() const { return {text, N - 1}; }
};
template <Label L, IntWord W>
void draw_yes_no(Session& s, PageItems& w) {
  wide_yes_no(s, w, L.view(), s.tpcm.i(W));
}
template <IntWord W>
void edit_yes_no(Session& s, int) {
  toggle_word(s, W);
}
template <Label L, IntWord W>
constexpr Row yes_no_row() {
  return Row::custom(draw_yes_no<L, W>, edit_yes_no<W>);
}

// Items 1 and 2: bits 1 and 2 of word 4983.
template <int Bit>
void draw_bit(Session& s, PageItems& w) {
  wide_yes_no(s, w, Bit == 1 ? "Output static offset data" : "Output element endpoint & angle interpolation tables",
              bitval(s.tpcm.i(kOutputStaticOffsets), Bit));
}
template <int Bit>
void edit_bit(Session& s, int) {
  auto& t = s.tpcm;
  int flag = bitval(t.i(kOutputStaticOffsets), Bit);
  toggle2(s, flag, t.i(kBatchFlag), out_unit(s), kKeyboard);
  bitset(s, t.i(kOutputStaticOffsets), Bit, flag, out_unit(s));
}

// Display side effects of block A: no endpoint loads without wave-frequency
// dynamics, and no tab-delimited summary for the kinds that have none.
void block_a_resets(Session& s, PageItems&) {
  if (s.tpcm.i(kWaveFrequencyOn) == 0) s.tpcm.i(kEndpointLoads) = 0;
}
void summary_reset(Session& s, PageItems&) {
  if (!snapshot_kind(s)) s.tpcm.i(kTabSummary) = 0;
}

void draw_endpoint_axes(Session& s, PageItems& w) {
  int item = w.custom();
  outtxt(s, item,
         s.tpcm.i(kEndpointAxes) == 0 ? "Report endpoint motion parallel & perpendicular to waterplane"
                                      : "Report endpoint motion parallel & perpendicular to line tangent",
         w.out());
}
void edit_endpoint_axes(Session& s, int) {
  toggle3(s, s.tpcm.i(kEndpointAxes), s.tpcm.i(kBatchFlag), out_unit(s), kKeyboard, "Tangent", "Waterplane");
}

void draw_comparisons(Session& s, PageItems& w) {
  wide_yes_no(s, w,
              kind(s) == 10 ? "Output static/dynamic line load RAO comparisons at tug .... "
                            : "Output static/dynamic line load RAO comparisons at fairlead ",
              s.tpcm.i(kRaoComparisons));
}
void edit_comparisons(Session& s, int) { toggle_word(s, kRaoComparisons); }
void draw_anchor_raos(Session& s, PageItems& w) {
  wide_yes_no(s, w,
              kind(s) == 10 ? "Output wave-frequency line load RAOs at barge "
                            : "Output wave-frequency line load RAOs at anchor",
              s.tpcm.i(kAnchorRaos));
}
void edit_anchor_raos(Session& s, int) { toggle_word(s, kAnchorRaos); }

// Items 22 and 23: the lines excluded from the inertial correction.
constexpr std::string_view kExclusionCountLabel = "Total number of lines EXCLUDED from correction: ";

void write_exclusion_count(Session& s, int item, int out) {
  fwrite(s, out, "(1X,I2,') ',A,I2)", {item, std::string(kExclusionCountLabel), s.tpcm.i(kInertiaExclusion)});
}
void draw_exclusion_count(Session& s, PageItems& w) {
  write_exclusion_count(s, w.custom(), w.out());
  if (s.tpcm.i(kInertiaExclusion) == 0) w.blank();
}
void edit_exclusion_count(Session& s, int item) {
  auto& t = s.tpcm;
  const int out = out_unit(s);
  write_exclusion_count(s, item, out);
  enteri(s, t.i(kInertiaExclusion), out, kKeyboard);
  maxchk(t.i(kInertiaExclusion), legs(s));
}

std::span<std::int32_t, kExclusionBitWords> exclusion_bits(Session& s) {
  return s.tpcm.words().subspan(kInertiaExclusionBits).first<kExclusionBitWords>();
}

void draw_exclusion_list(Session& s, PageItems& w) {
  int item = w.custom();
  outtxt(s, item, "Line numbers selected for exclusion:", w.out());
  int count = s.tpcm.i(kInertiaExclusion);
  if (count < 0 || count > kLineListCapacity) count = kLineListCapacity;
  const auto& list = s.state<OutputOptionsState>().excluded;
  constexpr int kPerRow = 16;
  constexpr int kRows = 10;
  for (int row = 0; row < kRows && row * kPerRow < count; ++row) {
    std::vector<fmt::Item> values;
    for (int k = row * kPerRow; k < std::min(count, (row + 1) * kPerRow); ++k) {
      values.emplace_back(list[static_cast<std::size_t>(k)]);
    }
    fwrite(s, w.out(), "(5X,16(I2,','))", values);
  }
  w.blank();
}
void edit_exclusion_list(Session& s, int) {
  auto& t = s.tpcm;
  const int out = out_unit(s);
  auto& list = s.state<OutputOptionsState>().excluded;
  const int count = t.i(kInertiaExclusion);
  const bool valid =
      edit_line_numbers(s, "--- Lines Selected for Exclusion  ---", list, count, t.i(kMooringLegs), 2, out);
  if (valid && count >= 1) loadexclude(s, count, list, exclusion_bits(s), legs(s), ExcludeMode::kPack, out);
}

// Item 51: the storm duration.
void draw_storm(Session& s, PageItems& w) {
  int item = w.custom();
  outcf0(s, item, "Storm duration (hours) for peak motion/load statistics", s.tpcm.r(kStormDuration), kStormFormat,
         w.out(), kLabelColumns20 - 1);
}
void edit_storm(Session& s, int item) {
  PageItems again(s, out_unit(s), item);
  draw_storm(s, again);
  edit_real(s, kStormDuration, out_unit(s));
}

// Item 55: the rotation, after the warning on a user current profile and the
// angle prompt; "A" or a blank angle change nothing.
void edit_rotation(Session& s, int) {
  auto& t = s.tpcm;
  const int out = out_unit(s);
  constexpr int kUserProfile = 3;
  if (t.i(kCurrentProfile) == kUserProfile) {
    clear(s, out);
    lines(s, out, 1);
    s.write_line(out, " ++> Warning: This rotation will not (cannot) be applied to your CRNTPROF.txt");
    s.write_line(out, "              user-supplied current profile; that must be done manually...");
    lines(s, out, 1);
    int reply = 0;
    abort0(s, out, kKeyboard, reply);
    if (reply == -1) return;
    lines(s, out, 2);
  }
  wrtlin(s, "Enter clockwise rotation angle in degrees (<RETURN> to abort): ", out);
  float angle = 0.0f;
  int blank = 0;
  crread(s, angle, blank, kKeyboard);
  if (blank != 0) return;
  rotate_global_system(s, angle, out);
}

// Item 56: the two vessel blocks exchanged (its own inverse).
void draw_swap(Session& s, PageItems& w) {
  int item = w.custom();
  outtxt(s, item, kind(s) == 10 ? "Swap tug, barge data " : "Swap tanker, buoy data ", w.out());
}
void edit_swap(Session& s, int) {
  auto words = s.tpcm.words();
  swpcom(static_cast<int>(kVesselBlockWords), words.subspan(kVesselBlock + kTwinOffset, kVesselBlockWords),
         words.subspan(kVesselBlock, kVesselBlockWords));
}

constexpr Row kPage1Rows[] = {
    Row::custom(draw_bit<1>, edit_bit<1>),
    Row::custom(draw_bit<2>, edit_bit<2>).when(bit1_on).accept_when(always),
    yes_no_row<"Compute quiescent equilibrium", kQuiescentEquilibrium>().when(kind8).accept_when(kind8),
    yes_no_row<"Output mean orientation & line loads data", kOutputMeanLoads>(),
    yes_no_row<"Output low-frequency motions/loads data", kOutputLowFrequency>().when(block_a).accept_when(always),
    yes_no_row<"Simulate wave-frequency dynamics", kWaveFrequencyOn>().when(block_a).accept_when(always),
    Row::line(block_a_resets).when(block_a),
    yes_no_row<"Output line loads and motions at element endpoints", kEndpointLoads>()
        .when(wave_frequency)
        .accept_when(always),
    Row::custom(draw_endpoint_axes, edit_endpoint_axes).when(wf_endpoints).accept_when(endpoints_on),
    yes_no_row<"Output \"chain hinge\" relative motion at fairlead", kChainHinge>()
        .when(wave_frequency)
        .accept_when(always),
    Row::gap(6),
    yes_no_row<"Output wave-frequency fairlead motions and line load RAOs", kFairleadRaos>()
        .blank()
        .when(wave_frequency)
        .accept_when(always),
    Row::custom(draw_comparisons, edit_comparisons).when(wave_frequency).accept_when(always),
    Row::custom(draw_anchor_raos, edit_anchor_raos).when(wave_frequency).accept_when(always),
    yes_no_row<"Analyze wave-frequency motion/loads at specified LF offset", kOffsetAnalysis>()
        .when(wave_frequency)
        .accept_when(always),
    yes_no_row<"Use large-amplitude nonlinear model for w.f. loads", kLargeAmplitude>()
        .blank()
        .when(wf_not14)
        .accept_when(not_kind14),
    yes_no_row<"Apply inertial correction to wave-frequency catenary loads", kInertiaCorrection>()
        .when(wave_frequency)
        .accept_when(always),
    Row::custom(draw_exclusion_count, edit_exclusion_count).when(wf_correction).accept_when(always),
    Row::custom(draw_exclusion_list, edit_exclusion_list).when(wf_list).accept_when(list_accepted).help(22),
    Row::gap(1),
    yes_no_row<"Use constant tension surface for wave-frequency loads", kEndTangentSource>()
        .when(wave_frequency)
        .accept_when(always),
    yes_no_row<"Use Tethran-style 3-DOF equilibrium search", kThreeDofSearch>()
        .when(wf_three_dof)
        .accept_when(three_dof_kind),
    yes_no_row<"Produce *only* wave-frequency line load RAOs", kOnlyWfRaos>()
        .when(wf_only_raos)
        .accept_when(only_raos_kind),
    yes_no_row<"Search for alternate equilibrium position", kAlternateEquilibrium>().when(block_a).accept_when(always),
    yes_no_row<"Lock the turret to the hull", kLockTurret>().when(a_kind15).accept_when(kind15),
    Row::line(begin_version5_flags).when(block_a),
    yes_no_row<"Estimate current loads on mooring lines and risers", kCurrentLineLoads>()
        .when(a_current)
        .accept_when(current_on),
    yes_no_row<"Eliminate individual line load reports in SNAPOUT", kNoLineLoadReports>()
        .when(a_snapshot)
        .accept_when(snapshot_kind),
    yes_no_row<"Use elliptical bounding box for snapshot coordinates", kEllipticalBox>().when(a_box).accept_when(box_kind),
    yes_no_row<"Use \"Legacy\" current-wave drift force interaction model", kLegacyCurrentDrift>()
        .when(a_current_waves)
        .accept_when(current_on)
        .help(33),
    yes_no_row<"Use \"Legacy\" peak low-frequency motion and loads model", kLegacyPeakModel>()
        .when(a_waves)
        .accept_when(always)
        .help(33),
    yes_no_row<"Exclude wave absorption damping and excitation", kExcludeWaveAbsorption>()
        .when(a_waves)
        .accept_when(always),
    yes_no_row<"Use \"Legacy\" surge/sway normal mode processing", kLegacyModes>().when(block_a).accept_when(always),
    yes_no_row<"Force Gaussian peak factors for low-frequency motions", kGaussianPeaks>()
        .when(block_a)
        .accept_when(always),
    yes_no_row<"Expanded frequency grid for cross-correlation integration", kExpandedGrid>()
        .when(a_cross_correlation)
        .accept_when(always),
    Row::gap(1),
    Row::line(summary_reset).when(block_a),
    yes_no_row<"Prepare tab-delimited output summary file (XCLDAT.stxt)", kTabSummary>()
        .when(a_snapshot)
        .accept_when(always),
    yes_no_row<"Use basin load units (kiloNewtons) for XCLDAT.stxt file", kTabSummaryKiloNewtons>()
        .when(a_summary_kn)
        .accept_when(always),
    yes_no_row<"Estimate wind and current vertical suction magnitudes", kVerticalSuction>()
        .when(a_kind17)
        .accept_when(always),
    Row::gap(1),
    yes_no_row<"Use legacy wave-frequency line load algorithms", kAddedMassModel>().when(a_kind17).accept_when(always),
    Row::line(end_version5_flags).when(block_a),
    Row::gap(6),
    Row::custom(draw_storm, edit_storm).blank().when(block_a).accept_when(always),
    yes_no_row<"Estimate peak variability across an ensemble of storms", kPeakVariability>()
        .when(block_a)
        .accept_when(always),
    Row::gap(2),
    Row::action("Apply clockwise rotation to Global Coordinate System", edit_rotation)
        .blank()
        .when(block_a)
        .accept_when(always),
    Row::custom(draw_swap, edit_swap).when(a_two_vessels).accept_when(two_vessels),
};

const TablePage kPage1 = {
    .header_format = "(T20,' ****  Page ',A,': Output options 1 ****'/)",
    .rows = kPage1Rows,
    .help = mothp1,
    .help_for = HelpFor::kAnyNumber,
};

// ---- Page 21 ----

bool lf_on(const Session& s) { return word(s, kLowFrequencyOn) != 0; }
bool lf_wf_on(const Session& s) { return lf_on(s) && word(s, kWaveFrequencyOn) != 0; }
bool spread_raos(const Session& s) {
  return lf_wf_on(s) && word(s, kSpreadingOn) != 0 && word(s, kAnyRaoOutput) != 0;
}
bool members(const Session& s) { return lf_wf_on(s) && word(s, kMemberModel) != 0; }
bool motions_summary(const Session& s) { return lf_wf_on(s) && word(s, kNoMotionsSummary) == 0; }
bool quasi_static_kind(const Session& s) { return lf_wf_on(s) && !two_vessels(s); }
bool not_printing(const Session& s) { return s.tpcm.i(kPrintPass) == 0; }

// A line of page 21 exactly as it stands (the items' leading blanks differ).
void line21(Session& s, PageItems& w, std::string_view text) {
  w.custom();
  s.write_line(w.out(), text);
}
void yes_no21(Session& s, PageItems& w, std::string_view text, int flag) {
  line21(s, w, std::string(text) + yesno(flag));
}

void draw_sigma(Session& s, PageItems& w) {
  line21(s, w,
         s.tpcm.i(kOneSigma) != 0 ? " 1) Use <<one>> sigma values for statistical estimates"
                                  : " 1) Use <<two>> sigma values for statistical estimates");
}
void edit_sigma(Session& s, int) {
  toggle3(s, s.tpcm.i(kOneSigma), s.tpcm.i(kBatchFlag), out_unit(s), kKeyboard, "One", "Two");
}
void draw_spectral(Session& s, PageItems& w) {
  yes_no21(s, w, " 2) Use spectral estimates for line load WF standard deviations? ", s.tpcm.i(kSpectralLineSd));
}
void edit_spectral(Session& s, int) { toggle_word(s, kSpectralLineSd); }

void draw_peak_load(Session& s, PageItems& w) {
  line21(s, w, " 3) Line peak load calculation treatment:");
  indented_entry(s, w, menu_entry(s.state<OutputOptionsState>().pkldtp, s.tpcm.i(kPeakLoadAlgorithm)));
}
void edit_peak_load(Session& s, int) {
  auto& t = s.tpcm;
  const int out = out_unit(s);
  const auto& texts = s.state<OutputOptionsState>().pkldtp;
  constexpr int kChoices = 6;
  constexpr int kNotBuilt = 6;
  constexpr int kLastChoice = 5;
  for (;;) {
    const int reply = choose(
        s, out,
        [&] {
          clear(s, out);
          s.write_line(out, " +++ Peak Line Load Computation Options +++");
          lines(s, out, 1);
          for (int n = 1; n <= kChoices; ++n) {
            fwrite(s, out, "(1X,I1,') ',A)", {n, menu_entry(texts, n - 1)});
          }
        },
        [&](int item) { mothp3(s, item); });
    if (reply == 0) {
      // The current choice stays, held to the entries that can be chosen.
      t.i(kPeakLoadAlgorithm) = std::clamp(t.i(kPeakLoadAlgorithm), 0, kLastChoice - 1);
      return;
    }
    if (reply == kNotBuilt) {
      clear(s, out);
      lines(s, out, 1);
      s.write_line(out, " ++> This item not yet implemented; see help notes");
      lines(s, out, 1);
      int wait = 0;
      prsret(s, out, kKeyboard, wait);
      continue;
    }
    if (reply >= 1 && reply <= kLastChoice) {
      t.i(kPeakLoadAlgorithm) = reply - 1;
      return;
    }
  }
}

void draw_spread_raos(Session& s, PageItems& w) {
  yes_no21(s, w, " 5) Output RAOs at all intermediate angles (spread sea case) ... ", s.tpcm.i(kOutputSpreadRaos));
}
void edit_spread_raos(Session& s, int) { toggle_word(s, kOutputSpreadRaos); }

void draw_square_law(Session& s, PageItems& w) {
  w.blank();
  line21(s, w, " 6) Square-law driving force treatment:");
  indented_entry(s, w, menu_entry(kSqltyp, s.tpcm.i(kSquareLawTreatment)));
}
void edit_square_law(Session& s, int) { choose_square_law(s, kSqltyp, smo3hp); }

void draw_only_square_law(Session& s, PageItems& w) {
  yes_no21(s, w, " 7) Utilize ONLY square law driving forces ..... ", s.tpcm.i(kOnlySquareLaw));
}
void edit_only_square_law(Session& s, int) { toggle_word(s, kOnlySquareLaw); }

// Item 8: word 103 holds the inverse of what the line shows.
void draw_motions_summary(Session& s, PageItems& w) {
  int shown = s.tpcm.i(kNoMotionsSummary);
  toggle(s, shown);
  yes_no21(s, w, " 8) Output vessel motions summary ..... ", shown);
}
void edit_motions_summary(Session& s, int) {
  int& flag = s.tpcm.i(kNoMotionsSummary);
  toggle(s, flag);
  toggle2(s, flag, s.tpcm.i(kBatchFlag), out_unit(s), kKeyboard);
  toggle(s, flag);
}

void draw_motion_centre(Session& s, PageItems& w) {
  line21(s, w,
         s.tpcm.i(kReportAtCg) != 0 ? "  9) Motions & loads reported at vessel c.g."
                                     : "  9) Motions & loads reported at \"natural\" rotation centers");
}
void edit_motion_centre(Session& s, int) {
  toggle3(s, s.tpcm.i(kReportAtCg), s.tpcm.i(kBatchFlag), out_unit(s), kKeyboard, "c.g.", "Rotation center");
}

void draw_rao_units(Session& s, PageItems& w) {
  constexpr int kLengthCode = 7;
  constexpr int kDegreesCode = 2;
  // The unit label in its 16 characters, as on the ship's output page.
  w.custom();
  fwrite(s, w.out(), "(A,A16)",
         {std::string(" 10) RAO units for angular motions: degrees/"),
          s.tpcm.i(kAngularRaoUnits) == 1 ? unitp(s.tpcm.i(kUnitSystem), kLengthCode)
                                          : unitp(kUnitsEnglish, kDegreesCode)});
}
void edit_rao_units(Session& s, int) {
  toggle3(s, s.tpcm.i(kAngularRaoUnits), s.tpcm.i(kBatchFlag), out_unit(s), kKeyboard, "degrees/height",
          "degrees/degree");
}

void draw_quasi_static(Session& s, PageItems& w) {
  yes_no21(s, w, "11) Use \"2-d API quasi-static\" wave-frequency fairlead loads ... ", s.tpcm.i(kQuasiStaticTension));
}
void edit_quasi_static(Session& s, int) { toggle_word(s, kQuasiStaticTension); }
void quasi_static_reset(Session& s, PageItems&) {
  if (two_vessels(s)) s.tpcm.i(kQuasiStaticTension) = 0;
}

void draw_debug(Session& s, PageItems& w) {
  w.blank();
  line21(s, w, s.tpcm.i(kDebug) == 1 ? "12) Debug option is on" : "12) Debug option is off");
}
void edit_debug(Session& s, int) {
  toggle3(s, s.tpcm.i(kDebug), s.tpcm.i(kBatchFlag), out_unit(s), kKeyboard, "On", "Off");
}

// Item 13: a disk drive above 0 is always named "C" on this page.
void draw_device(Session& s, PageItems& w) { output_device_item(s, w, out_unit(s), DriveName::kAlwaysC); }
void edit_device(Session& s, int) { choose_output_device(s, {}); }

// Entries 3 to 5 of the peak-load texts name the sigma level of item 1; they
// are rewritten at each display, before the items.
void sigma_texts(Session& s, PageItems&) {
  const auto& t = s.tpcm;
  if (t.i(kLowFrequencyOn) == 0) return;
  const std::string_view from = t.i(kOneSigma) != 0 ? "two-sigma" : "one-sigma";
  const std::string_view to = t.i(kOneSigma) != 0 ? "one-sigma" : "two-sigma";
  auto& texts = s.state<OutputOptionsState>().pkldtp;
  for (std::size_t k = 2; k <= 4; ++k) {
    if (const auto at = texts[k].find(from); at != std::string::npos) texts[k].replace(at, from.size(), to);
  }
}

constexpr Row kPage2Rows[] = {
    Row::line(sigma_texts),
    Row::custom(draw_sigma, edit_sigma).when(lf_on).accept_when(always),
    Row::custom(draw_spectral, edit_spectral).when(lf_wf_on).accept_when(always),
    Row::custom(draw_peak_load, edit_peak_load).when(lf_wf_on).accept_when(always),
    Row::gap(1),
    Row::custom(draw_spread_raos, edit_spread_raos).when(spread_raos).accept_when(always),
    Row::custom(draw_square_law, edit_square_law).when(members).accept_when(always),
    Row::custom(draw_only_square_law, edit_only_square_law).when(members).accept_when(always),
    Row::custom(draw_motions_summary, edit_motions_summary).when(lf_wf_on).accept_when(always),
    Row::custom(draw_motion_centre, edit_motion_centre).when(motions_summary).accept_when(always),
    Row::custom(draw_rao_units, edit_rao_units).when(motions_summary).accept_when(always),
    Row::line(quasi_static_reset),
    Row::custom(draw_quasi_static, edit_quasi_static).when(quasi_static_kind).accept_when(always),
    Row::custom(draw_debug, edit_debug),
    Row::custom(draw_device, edit_device).when(not_printing).accept_when(always),
};

const TablePage kPage2 = {
    .header_format = "(T20,' ****  Page ',A,': Output options 2 ****'/)",
    .rows = kPage2Rows,
    .help = mothp2,
    .help_for = HelpFor::kAnyNumber,
    .above_last = AboveLast::kLeave,
};

}  // namespace

void rotate_global_system(Session& s, float degrees, int out) {
  auto& t = s.tpcm;
  const auto turn_angle = [&](RealWord w) { store_real(s, w, t.r(w) - degrees, out); };
  for (int leg = 1; leg <= legs(s); ++leg) turn_angle(RealWord{*departure_angle_word(leg)});
  for (RealWord w : {kVesselHeading, kBuoyHeading, kIrregularHeadings, kRegularHeadings, kCurrentHeading,
                     kWindHeading, kSwellDirection, kMotionDirection}) {
    turn_angle(w);
  }
  if (t.i(kAuxForceOn) == 0) return;
  const float c = std::cos(degrees / 57.295776f);
  const float sn = std::sin(degrees / 57.295776f);
  // A vector given in the vessel frame (1) turns with the vessel; every
  // other frame is global and turns with the system.
  constexpr int kVesselFrame = 1;
  const auto turn_vector = [&](IntWord frame, RealWord xw, RealWord yw) {
    if (t.i(frame) == kVesselFrame) return;
    const float x = t.r(xw);
    const float y = t.r(yw);
    const float nx = x * c + y * sn;
    const float ny = y * c - x * sn;
    if (std::isfinite(nx) && std::isfinite(ny)) {
      t.set_r(xw, nx);
      t.set_r(yw, ny);
    } else {
      store_real(s, xw, nx, out);  // refused with its message; both keep their values
    }
  };
  turn_vector(kAuxForceFrame, kAuxForceX, kAuxForceY);
  if (t.i(kAuxForce2On) != 0) turn_vector(kAuxForce2Frame, kAuxForce2X, kAuxForce2Y);
  if (t.i(kAuxForce3On) != 0) turn_vector(kAuxForce3Frame, kAuxForce3X, kAuxForce3Y);
}

void morot1(Session& s, std::string_view label) {
  auto& t = s.tpcm;
  if (t.i(kInertiaExclusion) > 0) {
    loadexclude(s, t.i(kInertiaExclusion), s.state<OutputOptionsState>().excluded, exclusion_bits(s), legs(s),
                ExcludeMode::kUnpack, out_unit(s));
  }
  run_table(s, kPage1, label);
}

void morot2(Session& s, std::string_view label) {
  auto& t = s.tpcm;
  const bool any_rao = t.i(kRaoComparisons) != 0 || t.i(kFairleadRaos) != 0 || t.i(kAnchorRaos) != 0;
  t.i(kAnyRaoOutput) = any_rao ? 1 : 0;
  run_table(s, kPage2, label);
}

}  // namespace kelp
