#include "moor/e/td_options_page.hpp"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "edlib/pagekit/help_book.hpp"
#include "edlib/pagekit/page_output.hpp"
#include "edlib/pagekit/page_pattern.hpp"
#include "edlib/pagekit/page_table.hpp"
#include "edlib/record/data_record.hpp"
#include "kelpkit/coordinate_table.hpp"
#include "kelpkit/report_lines.hpp"
#include "kelpkit/toggles.hpp"
#include "moor/e/line_lists.hpp"
#include "moor/e/td_options.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"
#include "sysutl/text.hpp"

namespace kelp {

namespace {

constexpr std::string_view kTitle = "Time-Domain Options";
// Run mode of a server run, in which a missing options file is fatal.
constexpr int kServerRunMode = 3;

// Value lines after the 57-column label field.
// Values after the 57-column label field (the line is ended by the label
// field's format): a real and its unit label, an integer.
constexpr std::string_view kFixedValue = "(F10.2,1X,A6,$)";
constexpr std::string_view kExponentValue = "(E11.3,1X,A6,$)";
constexpr std::string_view kIntegerValue = "(1X,I3,$)";
// The three values shown under items 12 and 13.
constexpr std::string_view kTripleLine = "(5X,'{',E10.4,', ',E10.4,', ',E10.4,'}')";

// Option slots of gustrcom the page reads or writes.
constexpr std::size_t kSqualls = option_word("existSquall");
constexpr std::size_t kOverRideSquall = option_word("overRideSquallHeading");
constexpr std::size_t kEddies = option_word("existEddy");
constexpr std::size_t kOverRideEddy = option_word("overRideEddyHeading");
constexpr std::size_t kStillwater = option_word("stillWaterLinearDmpg");
constexpr std::size_t kOverRideDuration = option_word("overRideFullDuration");
constexpr std::size_t kFullDuration = option_word("fullDuration");
constexpr std::size_t kOverRidePicks = option_word("overRideLinePicks");
constexpr std::size_t kSwayYaw = option_word("tdSwayYawDamping");
constexpr std::size_t kEmulation = option_word("emulationFlag");
constexpr std::size_t kLegacySwayYaw = option_word("fasterButLessPrecise");
constexpr std::size_t kDampIndex = option_word("addDampIndex");
constexpr std::size_t kInterpOrder = option_word("interpOrder");
constexpr std::size_t kInitialCondition = option_word("initialCondition");
constexpr std::size_t kOutputChoice = option_word("batchDataSupress");
constexpr std::size_t kSaveLineStats = option_word("saveWFLineStats");
constexpr std::size_t kBatch = option_word("batchRun");
constexpr std::size_t kProfiles = option_word("squalProfiles");
constexpr std::size_t kInitialPosition = option_word("initX");  // initX, initY, initZ
constexpr std::size_t kInitialRates = option_word("initVx");    // initVx, initVy, initVz

TdOptionsState& state(Session& s) { return s.state<TdOptionsState>(); }
int out_of(const Session& s) { return s.tpcm.i(kOutputUnit); }
auto& options(Session& s) { return s.gustrcom.words; }
const auto& options(const Session& s) { return s.gustrcom.words; }
std::int32_t& report_count(Session& s) { return options(s).i(kNFldReportsWord); }
bool support_on(const Session& s) { return s.tpcm.i(kTimeDomainSwitch) != 0; }

template <std::size_t slot>
bool option_on(const Session& s) {
  return options(s).i(slot) != 0;
}
template <std::size_t slot>
bool option_off(const Session& s) {
  return options(s).i(slot) == 0;
}

// ---- Rows of the options of gustrcom ----
// Every item after the first is shown only while the support files are on.

template <PageTest test>
bool on_page(const Session& s) {
  return support_on(s) && test(s);
}

// A yes/no option: a logical slot (the logical toggle) or an integer one
// (the integer toggle).
template <std::size_t slot>
std::string logical_text(const Session& s) {
  return yesno_l(options(s).i(slot) != 0);
}
// `then`: what follows the flip.
template <std::size_t slot, RowEdit then>
void flip_logical(Session& s, int item) {
  bool on = options(s).i(slot) != 0;
  toggle2_l(s, on, s.tpcm.i(kBatchFlag), out_of(s), kKeyboard);
  options(s).i(slot) = on ? 1 : 0;
  if constexpr (then != nullptr) then(s, item);
}
template <std::size_t slot>
std::string flag_text(const Session& s) {
  return yesno(options(s).i(slot));
}
template <std::size_t slot>
void flip_flag(Session& s, int) {
  toggle2(s, options(s).i(slot), s.tpcm.i(kBatchFlag), out_of(s), kKeyboard);
}

template <std::size_t slot, RowEdit then = nullptr>
constexpr Row logical(std::string_view label) {
  return Row::text(label, logical_text<slot>, flip_logical<slot, then>).format(kYesNoLine).when(support_on);
}
template <std::size_t slot>
constexpr Row flag(std::string_view label) {
  return Row::text(label, flag_text<slot>, flip_flag<slot>).format(kYesNoLine).when(support_on);
}
constexpr Row record_flag(std::string_view label, IntWord word) { return Row::toggle(label, word).when(support_on); }

// A value item writes its line again before it asks for the new value.
void reprint(Session& s, int item);

std::string real_text(float v, std::string_view format) {
  return fmt::fortran(format, v, eunit(kUnitsEnglish, kBlankLabel.code));
}
template <std::size_t slot, bool exponent>
std::string option_real_text(const Session& s) {
  return real_text(options(s).r(slot), exponent ? kExponentValue : kFixedValue);
}
template <std::size_t slot>
void edit_option_real(Session& s, int item) {
  reprint(s, item);
  float v = options(s).r(slot);
  enterf(s, v, out_of(s), kKeyboard);
  if (std::bit_cast<std::int32_t>(v) != options(s).i(slot)) store_real(s, options(s).i(slot), v, out_of(s));
}
template <std::size_t slot, bool exponent = false>
constexpr Row real(std::string_view label) {
  return Row::text(label, option_real_text<slot, exponent>, edit_option_real<slot>).when(support_on);
}

template <std::size_t slot>
std::string option_integer_text(const Session& s) {
  return fmt::fortran(kIntegerValue, options(s).i(slot));
}

// ---- Items 1 and 2 ----

// Item 1; with the support files on, the steps that precede item 2.
void draw_switch(Session& s, PageItems& w);

void edit_switch(Session& s, int) {
  auto& t = s.tpcm;
  toggle2(s, t.i(kTimeDomainSwitch), t.i(kBatchFlag), out_of(s), kKeyboard);
  if (t.i(kTimeDomainSwitch) == 0) {
    t.i(kFreeFloating) = 0;
    t.i(kSkipEquilibrium) = 0;
  }
}

void draw_restore(Session& s, PageItems& w) {
  w.custom();
  w.blank();
  s.write_line(w.out(), " 2) Restore default settings");
  w.blank();
}

void edit_restore(Session& s, int) {
  const int out = out_of(s);
  clear(s, out);
  lines(s, out, 1);
  s.write_line(out, " >>> Continuing will reset all your options!");
  s.write_line(out, "     If you Continue, it cannot be undone...");
  int reply = 0;
  abort0(s, out, kKeyboard, reply);
  if (reply != -1) load_default_opts(s, state(s).current, state(s).hours);
}

// ---- The row editor of three values ----

// Edits three consecutive real words (given by their bits) as one row of
// the coordinate-table editor; every value typed goes through the checked
// store.
void edit_three(Session& s, std::string_view title, std::span<std::int32_t> words) {
  std::array<float, 3> row{};
  for (std::size_t k = 0; k < row.size(); ++k) row[k] = std::bit_cast<float>(words[k]);
  const int out = out_of(s);
  int code = 0;
  int npage = s.tpcm.i(kPrintPass);
  cordin(s, title, row, 1, out, kKeyboard, code, npage, s.tpcm.i(kPageCounter));
  for (std::size_t k = 0; k < row.size(); ++k) {
    if (std::bit_cast<std::int32_t>(row[k]) != words[k]) store_real(s, words[k], row[k], out);
  }
}

std::span<std::int32_t> record_three(Session& s, RealWord first) {
  return s.tpcm.words().subspan(first.n, 3);
}
std::span<std::int32_t> option_three(Session& s, std::size_t first) { return options(s).words().subspan(first, 3); }

void write_three(Session& s, int out, std::string_view heading, std::span<const std::int32_t> words) {
  lines(s, out, 1);
  s.write_line(out, heading);
  fwrite(s, out, kTripleLine,
         {std::bit_cast<float>(words[0]), std::bit_cast<float>(words[1]), std::bit_cast<float>(words[2])});
}

// ---- Item 3 ----

std::string excursion_text(const Session& s) {
  return fmt::fortran(kFixedValue, s.tpcm.r(kExcursionDiameter), eunit(s.tpcm.i(kUnitSystem), kLengthLabel.code));
}

void edit_excursion(Session& s, int item) {
  reprint(s, item);
  edit_real(s, kExcursionDiameter, out_of(s));
}

// ---- Item 5: the initial condition ----

std::string condition_text(const Session& s) {
  switch (options(s).i(kInitialCondition)) {
    case 0: return " Quiescent Mean";
    case 1: return " Environmental Mean";
    case 2: return " User Specified";
    default: return " Invalid condition!";
  }
}

void choose_condition(Session& s, int) {
  const int out = out_of(s);
  int reply = choose(
      s, out,
      [&] {
        clear(s, out);
        lines(s, out, 1);
        s.write_line(out, " +++   Initial Condition Specification  +++");
        lines(s, out, 1);
        s.write_line(out, " 1) Quiescent mean:     {Gx, Gy, heading}");
        s.write_line(out, " 2) Environmental mean: {Gx, Gy, heading}");
        s.write_line(out, " 3) Specified {Gx,Gy, heading}, plus 3 rates");
      },
      [&](int) {
        clear(s, out);
        s.write_line(out, " Initial global mooring centroid location relative to quiescent equilibrium (" +
                              trimmed(units(s.tpcm.i(kUnitSystem), 7)) +
                              "), plus vessel initial orientation (degrees)");
        int wait = 0;
        prsret(s, out, kKeyboard, wait);
      });
  maxchk(reply, 3);
  if (reply == 0) return;
  options(s).i(kInitialCondition) = reply - 1;
  if (reply != 3) return;
  edit_three(s, "Initial position/heading (Gx, Gy, heading [deg])", option_three(s, kInitialPosition));
  edit_three(s, "Initial rates (Gvx, Gvy, yaw rate [deg/sec])", option_three(s, kInitialRates));
}

void draw_initial_values(Session& s, PageItems& w) {
  if (options(s).i(kInitialCondition) != 2) return;
  const int out = w.out();
  const auto& g = options(s);
  lines(s, out, 1);
  fwrite(s, out, "(5X,A,3F10.2)",
         {std::string("Inital global position (Gx,Gy,Yaw): "), g.r(kInitialPosition), g.r(kInitialPosition + 1),
          g.r(kInitialPosition + 2)});
  fwrite(s, out, "(5X,A,3F10.2)",
         {std::string("Inital global rates (Vx,Vy,YawDot): "), g.r(kInitialRates), g.r(kInitialRates + 1),
          g.r(kInitialRates + 2)});
}

// ---- Items 6, 12 and 13 ----

void rebuild_chosen(Session& s, int) {
  if (s.tpcm.i(kForceRebuild) == 1) s.tpcm.i(kIgnoreDragVariability) = 0;
}

bool builtin_damping(const Session& s) { return s.tpcm.i(kUserStillwaterDamping) == 0; }
std::string builtin_damping_text(const Session& s) { return yesno_l(builtin_damping(s)); }

void choose_damping_source(Session& s, int) {
  auto& t = s.tpcm;
  bool builtin = builtin_damping(s);
  toggle2_l(s, builtin, t.i(kBatchFlag), out_of(s), kKeyboard);
  if (builtin != builtin_damping(s)) t.i(kUserStillwaterDamping) = builtin ? 0 : 1;
  if (t.i(kUserStillwaterDamping) == 1) {
    edit_three(s, "Desired {Cx,Cy,Cz} linear damping values", record_three(s, kStillwaterDamping));
  }
}

void draw_damping_values(Session& s, PageItems& w) {
  if (options(s).i(kStillwater) == 0 || s.tpcm.i(kUserStillwaterDamping) != 1) return;
  write_three(s, w.out(), "     Dimensional linear damping values {Cx,Cy,Cz}:", record_three(s, kStillwaterDamping));
}

void edit_virtual_mass(Session& s, int) {
  if (s.tpcm.i(kUserVirtualMass) != 1) return;
  edit_three(s, " Zero-frequency virtual mass coefficients {Cmx,Cmy,Cmz}", record_three(s, kVirtualMassCoefs));
}

void draw_virtual_mass(Session& s, PageItems& w) {
  if (s.tpcm.i(kUserVirtualMass) != 1) return;
  write_three(s, w.out(), "     Zero-frequency virtual mass coefficients {Cmx,Cmy,Cmz}:",
              record_three(s, kVirtualMassCoefs));
}

// ---- Items 15 to 24 ----

bool drag_variability_shown(const Session& s) { return s.tpcm.i(kExcludeWaveAbsorption) == 0; }
bool squall_heading_shown(const Session& s) { return option_on<kSqualls>(s) && option_off<kBatch>(s); }
bool squall_heading_set(const Session& s) { return option_on<kSqualls>(s) && option_on<kOverRideSquall>(s); }
bool eddy_heading_set(const Session& s) { return option_on<kEddies>(s) && option_on<kOverRideEddy>(s); }

std::string interp_text(const Session& s) {
  switch (options(s).i(kInterpOrder)) {
    case 1: return "  Linear";
    case 3: return "  Cubic Spline";
    default: return "  Invalid order!";
  }
}

void choose_interp(Session& s, int) {
  int cubic = options(s).i(kInterpOrder) == 3 ? 1 : 0;
  toggle3(s, cubic, s.tpcm.i(kBatchFlag), out_of(s), kKeyboard, "cubic", "linear");
  options(s).i(kInterpOrder) = cubic == 1 ? 3 : 1;
}

// ---- Items 25 to 29: duration and fairlead picks ----

void duration_override_set(Session& s, int) {
  if (option_off<kOverRideDuration>(s)) state(s).hours = s.tpcm.r(kStormDuration);
}

void draw_duration(Session& s, PageItems& w) {
  w.text("Time domain duration (hours)", real_text(state(s).hours, kFixedValue));
}

// A duration of 0 or less is the storm duration; the hours are kept only
// when their seconds can be stored.
void edit_duration(Session& s, int item) {
  reprint(s, item);
  float hours = state(s).hours;
  enterf(s, hours, out_of(s), kKeyboard);
  if (hours <= 0.0f) hours = s.tpcm.r(kStormDuration);
  if (store_real(s, options(s).i(kFullDuration), 3600.0f * hours, out_of(s))) state(s).hours = hours;
}

void draw_too_many(Session& s, PageItems& w) {
  const int n = report_count(s);
  if (n <= kMaxFairleadReports) return;
  lines(s, w.out(), 1);
  fwrite(s, w.out(),
         "(' >>> Too many fairleads (',I3,') requested for evaluation.'/"
         "'     Limit is (',I3,'); please adjust your selection.')",
         {n, kMaxFairleadReports});
}

void picks_override_set(Session& s, int) {
  if (option_on<kOverRidePicks>(s)) return;
  const std::int32_t n = options(s).i(kDefaultNFldReportsWord);
  report_count(s) = n;
  const auto page4 = page4_picks(s);
  const auto count = static_cast<std::size_t>(std::clamp(n, 0, kPickCapacity));
  std::copy_n(page4.begin(), std::min(count, page4.size()), state(s).current.begin());
}


// Negative gives the default count; the count never exceeds the lines of
// the mooring nor the most the program reports.
void edit_report_count(Session& s, int item) {
  reprint(s, item);
  int n = report_count(s);
  enteri(s, n, out_of(s), kKeyboard);
  if (n < 0) n = options(s).i(kDefaultNFldReportsWord);
  n = std::min(n, s.tpcm.i(kMooringLegs));
  if (n > kMaxFairleadReports) n = kMaxFairleadReports;
  report_count(s) = std::max(n, 0);
}

void draw_picks(Session& s, PageItems& w) {
  const int out = w.out();
  fwrite(s, out, "(1X,I2,') Modify fairlead selection')", {w.custom()});
  lines(s, out, 1);
  s.write_line(out, " >>> Active fairlead choice array: ");
  lines(s, out, 1);
  const int n = std::clamp(report_count(s), 0, kPickCapacity);
  std::vector<fmt::Item> picks(state(s).current.begin(), state(s).current.begin() + n);
  fwrite(s, out, "(1X,I3,20(',',I3))", picks);
}

void edit_picks(Session& s, int) {
  const int lines_in_use = s.tpcm.i(kMooringLegs);
  std::int32_t& n = report_count(s);
  n = std::max(0, std::min(n, lines_in_use));
  edit_line_list(s, "--- Fairleads Selected for Load Evaluation ---", state(s).current, n, lines_in_use,
                 out_of(s));
}

// ---- Items 30 to 47 ----

bool legacy_swayyaw_shown(const Session& s) { return option_on<kSwayYaw>(s) && option_off<kEmulation>(s); }
bool spin_shown(const Session& s) { return s.tpcm.i(kSkipEquilibrium) == 1; }

void set_damp_index(Session& s, int) {
  auto& g = options(s);
  g.i(kDampIndex) = g.i(kEmulation) != 0 ? 5 : (g.i(kLegacySwayYaw) != 0 ? 2 : 1);
}

std::string output_text(const Session& s) {
  switch (options(s).i(kOutputChoice)) {
    case 0: return " Everything";
    case 1: return " Only to screen";
    case 2: return " Only statistics";
    case 3: return " Everything BUT WF data";
    default: return " Invalid choice!";
  }
}

void choose_output(Session& s, int) {
  const int out = out_of(s);
  int reply = choose(
      s, out,
      [&] {
        clear(s, out);
        lines(s, out, 1);
        s.write_line(out, " +++   Output Control Options  +++");
        for (std::string_view choice : {" 1) Output everything (including all time histories).",
                                        " 2) Suppress EVERYTHING but runtime data to screen (no files).",
                                        " 3) Output ONLY a statistical summary (TD_Statistics.stxt);\n"
                                        "    this option will suppress motion & load time histories.",
                                        " 4) Output everything BUT fairlead W-F load statistics."}) {
          lines(s, out, 1);
          write_text(s, out, choice);
        }
      },
      [&](int) {
        clear(s, out);
        s.write_line(out, " Get help on the parent page (\"" + std::string(kTitle) + "\") for more detail.");
        int wait = 0;
        prsret(s, out, kKeyboard, wait);
      });
  maxchk(reply, 4);
  if (reply == 0) return;
  options(s).i(kSaveLineStats) = reply == 1 ? 1 : 0;
  options(s).i(kOutputChoice) = reply - 1;
}

void free_floating_set(Session& s, int) {
  if (s.tpcm.i(kFreeFloating) != 1) return;
  report_count(s) = 0;
  options(s).i(kOverRidePicks) = 1;
}

void edit_profiles(Session& s, int item) {
  reprint(s, item);
  auto& profiles = options(s).i(kProfiles);
  enteri(s, profiles, out_of(s), kKeyboard);
  profiles = std::max(profiles, 1);
}

// The empty line that follows item 23 whether it is shown or not.
void after_eddies(Session&, PageItems& w) { w.blank(); }

constexpr std::size_t opt(std::string_view name) { return option_word(name); }

const Row kRows[] = {
    Row::custom(draw_switch, edit_switch),
    Row::custom(draw_restore, edit_restore).when(support_on),
    Row::text("Diameter of L-F excursion disc (0 for default)", excursion_text, edit_excursion).when(support_on),
    real<opt("deltaT")>("Time step for time history output (seconds)").blank(),
    Row::text("Initial condition", condition_text, choose_condition).when(support_on).blank(),
    Row::line(draw_initial_values).when(support_on),
    record_flag("Force-rebuild all support data?", kForceRebuild).then(rebuild_chosen).blank(),
    logical<opt("showProgress")>("Include run-time progress reports?").blank(),
    flag<opt("DEBUG")>("Activate debugging stream?").blank(),
    logical<opt("repeatableSequences")>("Random seed choices reproduce time histories?").blank(),
    logical<opt("importWfLineDamp")>("Include damping from W-F line motions?").blank(),
    logical<kStillwater>("Apply supplemental stillwater linear damping?").blank(),
    Row::text("Use Brenvik stillwater linear damping estimates?", builtin_damping_text, choose_damping_source)
        .format(kYesNoLine)
        .when(on_page<option_on<kStillwater>>),
    Row::line(draw_damping_values).when(support_on),
    record_flag("User supplies zero-frequency virtual mass coeffs?", kUserVirtualMass)
        .then(edit_virtual_mass)
        .blank(),
    Row::line(draw_virtual_mass).when(support_on),
    logical<opt("lfWaveVariability")>("Include low-frequency wave variability?").blank(),
    record_flag("Ignore wave drag variability to low-frequency force?", kIgnoreDragVariability)
        .when(on_page<drag_variability_shown>)
        .blank(),
    logical<kSqualls>("Analyze wind squall?").blank(),
    logical<opt("squallIncludesBackgroundWnd")>("Squall_Hist.txt includes background wind?")
        .when(on_page<option_on<kSqualls>>),
    logical<kOverRideSquall>("Over-ride Squall_Hist.txt wind headings?").when(on_page<squall_heading_shown>),
    real<opt("squallHeading")>("Squall_Hist.txt over-ride heading (deg)").when(on_page<squall_heading_set>),
    logical<kEddies>("Analyze current eddy?").blank(),
    logical<opt("eddyIncludesBackgroundCrnt")>("Eddy_Hist.txt includes background current?")
        .when(on_page<option_on<kEddies>>),
    logical<kOverRideEddy>("Over-ride Eddy_Hist.txt headings?").when(on_page<option_on<kEddies>>),
    real<opt("eddyHeading")>("Eddy_Hist.txt over-ride heading (deg)").when(on_page<eddy_heading_set>),
    Row::line(after_eddies).when(support_on),
    Row::text("Interpolation option", interp_text, choose_interp).when(support_on),
    logical<kOverRideDuration, duration_override_set>("Over-ride specified storm duration?").blank(),
    Row::custom(draw_duration, edit_duration).when(on_page<option_on<kOverRideDuration>>),
    Row::line(draw_too_many).when(support_on),
    logical<kOverRidePicks, picks_override_set>("Over-ride default fairlead report selection?").blank(),
    // The most fairleads reported, 39, is part of the label.
    Row::text("Number of fairleads to report; max  39", option_integer_text<kNFldReportsWord>, edit_report_count)
        .when(on_page<option_on<kOverRidePicks>>),
    Row::custom(draw_picks, edit_picks).when(on_page<option_on<kOverRidePicks>>),
    logical<kSwayYaw>("Include Brenvik supplemental sway-yaw damping?").when(on_page<option_off<kEmulation>>).blank(),
    logical<kEmulation, set_damp_index>("Emulate Orcaflex?").blank(),
    real<opt("cfpReduction")>("Cross flow principle reduction factor").when(on_page<option_on<kEmulation>>),
    real<opt("kYawSofec"), true>("Orcaflex added yaw-damping coefficient").when(on_page<option_on<kEmulation>>),
    real<opt("kSwaySofec"), true>("Orcaflex added sway-damping coefficient").when(on_page<option_on<kEmulation>>),
    logical<opt("maneuvering")>("Emulate Orcaflex Maneuvering Loads?").when(on_page<option_on<kEmulation>>),
    logical<kLegacySwayYaw, set_damp_index>("Use legacy sway-yaw damping model?")
        .when(on_page<legacy_swayyaw_shown>)
        .blank(),
    Row::text("Output", output_text, choose_output).when(support_on).blank(),
    logical<opt("mmaSupport")>("Create auxiliary support files (Brenvik only)?").blank(),
    logical<opt("massVariability")>("Use Brenvik motion model?").when(on_page<option_off<kEmulation>>).blank(),
    real<opt("relSolvTolFac")>("Solver relative tolerance factor").blank(),
    real<opt("absSolvTolFac")>("Solver absolute tolerance factor").blank(),
    record_flag("Freefloating vessel (no moorings)?", kFreeFloating).then(free_floating_set).blank(),
    record_flag("Skip background equilibrium search?", kSkipEquilibrium).blank(),
    record_flag("Mooring map uses cylindrical coordinates?", kCylindricalMap).blank(),
    logical<opt("lspin")>("Find Sweet Spot & give spin test analytic solution?").when(on_page<spin_shown>).blank(),
    logical<kBatch>("Execute in batch mode?").blank(),
    Row::text("Number of distinct squall profiles in batch", option_integer_text<kProfiles>, edit_profiles)
        .when(on_page<option_on<kBatch>>)
        .blank(),
};

// Writes the line of a value item again (a text or custom row).
void reprint(Session& s, int item) {
  int n = 0;
  for (const Row& row : kRows) {
    n += row.numbers;
    if (n < item) continue;
    PageItems w(s, out_of(s), item);
    if (row.value != nullptr) {
      w.text(row.label, row.value(s), row.value_format.empty() ? kTextLine : row.value_format);
    } else if (row.draw != nullptr) {
      row.draw(s, w);
    }
    return;
  }
}

// ---- The options file ----

// A file that cannot be written is named with why on the screen, and in a
// silent run's report too: the silent run's print pass writes it when the
// page is first shown there.
bool write_options(Session& s) {
  const auto& t = s.tpcm;
  return write_td_opts(s, kOptionsFileName, t.r(kVersion), 0, kTdOptsFormatVersion, kTdOptsFormatMinor,
                       t.r(kStormDuration), options(s).i(kDefaultNFldReportsWord), page4_picks(s),
                       state(s).current, out_of(s), kSilentUnit);
}

void restore_and_write(Session& s) {
  load_default_opts(s, state(s).current, state(s).hours);
  write_options(s);
}

void box(Session& s, std::initializer_list<std::string_view> text) {
  lines(s, kScreen, 1);
  for (std::string_view line : text) s.write_line(kScreen, line);
}

// The first display of the run with the support files on: the options come
// from the file, or from the defaults when it is missing or unreadable (the
// file is then written at once; an unreadable one is written over, so the
// new file keeps its protection, and a write that fails leaves it as it
// was, to be found unreadable again).
void settle_file(Session& s, int out) {
  if (s.files().open_read(std::string(kOptionsFileName)) == nullptr) {
    if (s.tpcm.i(kWriterRunMode) == kServerRunMode) {
      for (int unit : {kSilentUnit, out}) {
        if (unit == kSilentUnit && out == kSilentUnit) continue;
        lines(s, unit, 1);
        s.write_line(unit, " >>> " + std::string(kOptionsFileName) + " not found; aborting...");
        lines(s, unit, 1);
      }
      throw ProgramStop(kTdOptsStopStatus);
    }
    lines(s, out, 1);
    s.write_line(out, "          >>> " + std::string(kOptionsFileName) + " not found; loading defaults <<<");
    restore_and_write(s);
    return;
  }
  std::string version;
  TdOptionsState& st = state(s);
  switch (read_td_opts(s, kOptionsFileName, st.current, st.defaults, version)) {
    case kTdOptsResized:
      box(s, {" +----------------------------------------------------+",
              " | >>> Changes to " + std::string(kOptionsFileName) + " version structure!         |",
              " |     Please review your options VERY carefully!     |",
              " +----------------------------------------------------+"});
      st.hours = settle_read_opts(s, st.current);
      break;
    case kTdOptsUnreadable:
      box(s, {" +--------------------------------------------------+",
              " |   >>> Incompatible " + std::string(kOptionsFileName) + " file found           |",
              " |      Creating new file using defaults.           |",
              " |    Please review your options carefully!         |",
              " +--------------------------------------------------+"});
      // The old editor made the file anew empty here and wrote it only when
      // the user next left the page with the support files on. It is
      // written in full at once instead: a user who switches the support
      // files off right after this box would otherwise be left with an
      // empty options file; this way a readable file of defaults stays.
      restore_and_write(s);
      break;
    default:
      st.hours = settle_read_opts(s, st.current);
      write_options(s);
      break;
  }
}

// Steps of every display with the support files on, after item 1: the
// default duration and report count from the data record, the alert of a
// page-4 count above what the time-domain program reports (first display
// only), the options file (first display only), and the options that
// follow from the others at every display.
void prepare(Session& s, int out) {
  auto& t = s.tpcm;
  auto& g = options(s);
  TdOptionsState& st = state(s);
  g.set_r(kDefaultFullDurationWord, 3600.0f * t.r(kStormDuration));
  if (t.i(kMooringLegs) < t.i(kDynamicLines)) t.i(kDynamicLines) = t.i(kMooringLegs);
  const std::int32_t dynamic_lines = t.i(kDynamicLines);
  if (dynamic_lines > kMaxFairleadReports) {
    g.i(kDefaultNFldReportsWord) = kMaxFairleadReports;
    if (st.first_entry) {
      fwrite(s, out,
             "(/' >>> Alert: The Page 4 fairlead reporting number (',I3,') was greater'/"
             "'            than that provisioned for time domain analysis (',I3,');'/"
             "'            the time domain default has been reduced to ',I3,'.')",
             {dynamic_lines, kMaxFairleadReports, kMaxFairleadReports});
    }
  } else {
    g.i(kDefaultNFldReportsWord) = std::max(dynamic_lines, 0);
  }
  if (st.first_entry) {
    settle_file(s, out);
    st.first_entry = false;
  }
  if (t.i(kExcludeWaveAbsorption) != 0) t.i(kIgnoreDragVariability) = 1;
  if (!squall_heading_shown(s)) g.i(kOverRideSquall) = 0;
  if (report_count(s) > kMaxFairleadReports) g.i(kOverRidePicks) = 1;
}

void draw_switch(Session& s, PageItems& w) {
  w.custom();
  fwrite(s, w.out(), "(' 1) Prepare Gustrevan support files? ...................   ',A3)",
         {yesno(s.tpcm.i(kTimeDomainSwitch))});
  if (support_on(s)) prepare(s, w.out());
}

const TablePage kPage = {.title = kTitle, .rows = kRows, .help = gustr_hlp};

}  // namespace

void gustropts(Session& s, std::string_view label) {
  auto& t = s.tpcm;
  if (t.i(kPrintPass) == 0) clear(s, out_of(s));
  t.i(kNavCode) = 0;
  run_table(s, kPage, label, " ");
  if (t.i(kPrintPass) != 0 || !support_on(s)) return;
  // Leaving the page: the duration goes to the options, and the file is
  // written again.
  store_real(s, options(s).i(kFullDuration), 3600.0f * state(s).hours, out_of(s));
  write_options(s);
}

}  // namespace kelp
