#include "moor/e/td_options_page.hpp"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "edlib/data_record.hpp"
#include "edlib/help_book.hpp"
#include "edlib/page_output.hpp"
#include "edlib/page_pattern.hpp"
#include "edlib/page_table.hpp"
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

constexpr std::string_view kFileName = "GUSTRDAT";
constexpr std::string_view kTitle = "Time-Domain Options";
// Run mode of a server run, in which a missing options file is fatal.
constexpr int kServerRunMode = 3;

// Value lines after the 57-column label field.
constexpr std::string_view kFixedValue = "(A57,F10.2,1X,A6)";
constexpr std::string_view kExponentValue = "(A57,E11.3,1X,A6)";
constexpr std::string_view kIntegerValue = "(A57,1X,I3)";
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

// ---- The items ----

// How an item shows its value and is edited.
enum class Value {
  kRecordFlag,     // yes/no of an integer word of tpcm; the integer toggle
  kOptionLogical,  // yes/no of a logical option; the logical toggle
  kOptionFlag,     // yes/no of an integer option; the integer toggle
  kLength,         // real word of tpcm with the length unit label
  kOptionReal,     // real option with the blank unit label
  kOptionInteger,  // integer option
  kText,           // a text the page computes; its own edit
  kCustom,         // a line of the item's own layout; its own edit
  kLine,           // an unnumbered line
};

using Test = bool (*)(const Session&);
using Edit = void (*)(Session&, int item);
using Draw = void (*)(Session&, PageItems&);
using Text = std::string (*)(const Session&);
using Extra = void (*)(Session&, int out);

// Items with no note of their own name the item whose note they share; an
// item without any note names kNoNote.
constexpr int kNoNote = -1;

struct Item {
  Value value = Value::kCustom;
  std::string_view label = {};
  std::size_t word = 0;
  std::string_view format = {};
  Text text = nullptr;
  Draw draw = nullptr;
  Edit edit = nullptr;  // the edit of text and custom items; else what follows the toggle or entry
  Test shown = nullptr;
  Extra extra = nullptr;  // lines under the item while it is shown
  int before = 0;
  int note = 0;  // 0: its own

  static constexpr Item flag(std::string_view label, IntWord word) {
    return {.value = Value::kRecordFlag, .label = label, .word = word.n};
  }
  static constexpr Item option(std::string_view label, std::string_view name) {
    return {.value = Value::kOptionLogical, .label = label, .word = option_word(name)};
  }
  static constexpr Item option_flag(std::string_view label, std::string_view name) {
    return {.value = Value::kOptionFlag, .label = label, .word = option_word(name)};
  }
  static constexpr Item length(std::string_view label, RealWord word) {
    return {.value = Value::kLength, .label = label, .word = word.n, .format = kFixedValue};
  }
  static constexpr Item real(std::string_view label, std::string_view name, std::string_view format = kFixedValue) {
    return {.value = Value::kOptionReal, .label = label, .word = option_word(name), .format = format};
  }
  static constexpr Item integer(std::string_view label, std::string_view name) {
    return {.value = Value::kOptionInteger, .label = label, .word = option_word(name), .format = kIntegerValue};
  }
  static constexpr Item text_item(std::string_view label, Text text, Edit edit,
                                  std::string_view format = kTextLine) {
    return {.value = Value::kText, .label = label, .format = format, .text = text, .edit = edit};
  }
  static constexpr Item custom(Draw draw, Edit edit) { return {.value = Value::kCustom, .draw = draw, .edit = edit}; }
  static constexpr Item line(Draw draw) { return {.value = Value::kLine, .draw = draw}; }

  constexpr Item when(Test t) const {
    Item r = *this;
    r.shown = t;
    return r;
  }
  constexpr Item blank() const {
    Item r = *this;
    r.before = 1;
    return r;
  }
  constexpr Item then(Edit e) const {
    Item r = *this;
    r.edit = e;
    return r;
  }
  constexpr Item under(Extra e) const {
    Item r = *this;
    r.extra = e;
    return r;
  }
  constexpr Item help(int note_item) const {
    Item r = *this;
    r.note = note_item;
    return r;
  }
};

// Items are numbered by their place among the numbered rows.
const Item* item_row(int item);
void reprint(Session& s, int item);

// ---- Items 1 and 2 ----

void draw_switch(Session& s, PageItems& w) {
  w.custom();
  fwrite(s, w.out(), "(' 1) Prepare Gustrevan support files? ...................   ',A3)",
         {yesno(s.tpcm.i(kTimeDomainSwitch))});
}

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

void draw_initial_values(Session& s, int out) {
  if (options(s).i(kInitialCondition) != 2) return;
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

void draw_damping_values(Session& s, int out) {
  if (s.tpcm.i(kUserStillwaterDamping) != 1) return;
  write_three(s, out, "     Dimensional linear damping values {Cx,Cy,Cz}:", record_three(s, kStillwaterDamping));
}

void edit_virtual_mass(Session& s, int) {
  if (s.tpcm.i(kUserVirtualMass) != 1) return;
  edit_three(s, " Zero-frequency virtual mass coefficients {Cmx,Cmy,Cmz}", record_three(s, kVirtualMassCoefs));
}

void draw_virtual_mass(Session& s, int out) {
  if (s.tpcm.i(kUserVirtualMass) != 1) return;
  write_three(s, out, "     Zero-frequency virtual mass coefficients {Cmx,Cmy,Cmz}:",
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
  w.value("Time domain duration (hours)", state(s).hours, kFixedValue, kUnitsEnglish, kBlankLabel.code);
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

std::string report_count_label() {
  return fmt::fortran("(A,I3,$)", std::string("Number of fairleads to report; max "), kMaxFairleadReports);
}

void draw_report_count(Session& s, PageItems& w) {
  int item = w.custom();
  outci0(s, item, report_count_label(), report_count(s), kIntegerValue, w.out(), kLeaderWidth);
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

void at_least_one(Session& s, int) {
  auto& profiles = options(s).i(option_word("squalProfiles"));
  profiles = std::max(profiles, 1);
}

constexpr Item kItems[] = {
    Item::custom(draw_switch, edit_switch),
    Item::custom(draw_restore, edit_restore),
    Item::length("Diameter of L-F excursion disc (0 for default)", kExcursionDiameter),
    Item::real("Time step for time history output (seconds)", "deltaT").blank(),
    Item::text_item("Initial condition", condition_text, choose_condition).under(draw_initial_values).blank(),
    Item::flag("Force-rebuild all support data?", kForceRebuild).then(rebuild_chosen).blank(),
    Item::option("Include run-time progress reports?", "showProgress").blank(),
    Item::option_flag("Activate debugging stream?", "DEBUG").blank(),
    Item::option("Random seed choices reproduce time histories?", "repeatableSequences").blank(),
    Item::option("Include damping from W-F line motions?", "importWfLineDamp").blank(),
    Item::option("Apply supplemental stillwater linear damping?", "stillWaterLinearDmpg").blank(),
    Item::text_item("Use Brenvik stillwater linear damping estimates?", builtin_damping_text, choose_damping_source,
                    kYesNoLine)
        .when(option_on<kStillwater>)
        .under(draw_damping_values)
        .help(11),
    Item::flag("User supplies zero-frequency virtual mass coeffs?", kUserVirtualMass)
        .then(edit_virtual_mass)
        .under(draw_virtual_mass)
        .blank(),
    Item::option("Include low-frequency wave variability?", "lfWaveVariability").blank(),
    Item::flag("Ignore wave drag variability to low-frequency force?", kIgnoreDragVariability)
        .when(drag_variability_shown)
        .blank(),
    Item::option("Analyze wind squall?", "existSquall").blank(),
    Item::option("Squall_Hist.txt includes background wind?", "squallIncludesBackgroundWnd")
        .when(option_on<kSqualls>)
        .help(16),
    Item::option("Over-ride Squall_Hist.txt wind headings?", "overRideSquallHeading").when(squall_heading_shown),
    Item::real("Squall_Hist.txt over-ride heading (deg)", "squallHeading").when(squall_heading_set).help(18),
    Item::option("Analyze current eddy?", "existEddy").blank().help(16),
    Item::option("Eddy_Hist.txt includes background current?", "eddyIncludesBackgroundCrnt")
        .when(option_on<kEddies>)
        .help(16),
    Item::option("Over-ride Eddy_Hist.txt headings?", "overRideEddyHeading").when(option_on<kEddies>).help(18),
    Item::real("Eddy_Hist.txt over-ride heading (deg)", "eddyHeading").when(eddy_heading_set).help(18),
    // Item 23 is followed by an empty line whether it is shown or not.
    Item::text_item("Interpolation option", interp_text, choose_interp).blank(),
    Item::option("Over-ride specified storm duration?", "overRideFullDuration").then(duration_override_set).blank(),
    Item::custom(draw_duration, edit_duration).when(option_on<kOverRideDuration>).help(kNoNote),
    Item::line(draw_too_many),
    Item::option("Over-ride default fairlead report selection?", "overRideLinePicks")
        .then(picks_override_set)
        .blank(),
    Item::custom(draw_report_count, edit_report_count).when(option_on<kOverRidePicks>).help(kNoNote),
    Item::custom(draw_picks, edit_picks).when(option_on<kOverRidePicks>).help(kNoNote),
    Item::option("Include Brenvik supplemental sway-yaw damping?", "tdSwayYawDamping")
        .when(option_off<kEmulation>)
        .blank(),
    Item::option("Emulate Orcaflex?", "emulationFlag").then(set_damp_index).blank(),
    Item::real("Cross flow principle reduction factor", "cfpReduction").when(option_on<kEmulation>).help(31),
    Item::real("Orcaflex added yaw-damping coefficient", "kYawSofec", kExponentValue)
        .when(option_on<kEmulation>)
        .help(31),
    Item::real("Orcaflex added sway-damping coefficient", "kSwaySofec", kExponentValue)
        .when(option_on<kEmulation>)
        .help(31),
    Item::option("Emulate Orcaflex Maneuvering Loads?", "maneuvering").when(option_on<kEmulation>).help(31),
    Item::option("Use legacy sway-yaw damping model?", "fasterButLessPrecise")
        .when(legacy_swayyaw_shown)
        .then(set_damp_index)
        .blank(),
    Item::text_item("Output", output_text, choose_output).blank(),
    Item::option("Create auxiliary support files (Brenvik only)?", "mmaSupport").blank(),
    Item::option("Use Brenvik motion model?", "massVariability").when(option_off<kEmulation>).blank(),
    Item::real("Solver relative tolerance factor", "relSolvTolFac").blank(),
    Item::real("Solver absolute tolerance factor", "absSolvTolFac").blank().help(40),
    Item::flag("Freefloating vessel (no moorings)?", kFreeFloating).then(free_floating_set).blank(),
    Item::flag("Skip background equilibrium search?", kSkipEquilibrium).blank().help(42),
    Item::flag("Mooring map uses cylindrical coordinates?", kCylindricalMap).blank(),
    Item::option("Find Sweet Spot & give spin test analytic solution?", "lspin").when(spin_shown).blank(),
    Item::option("Execute in batch mode?", "batchRun").blank(),
    Item::integer("Number of distinct squall profiles in batch", "squalProfiles")
        .when(option_on<kBatch>)
        .then(at_least_one)
        .blank()
        .help(46),
};

const Item* item_row(int item) {
  int n = 0;
  for (const Item& row : kItems) {
    if (row.value != Value::kLine && ++n == item) return &row;
  }
  return nullptr;
}

// The line of a shown item (not its empty lines or the lines under it).
void write_item(Session& s, const Item& row, PageItems& w) {
  const auto& g = options(s);
  const auto& t = s.tpcm;
  switch (row.value) {
    case Value::kRecordFlag: w.yes_no(row.label, t.i(row.word)); break;
    case Value::kOptionLogical: w.text(row.label, yesno_l(g.i(row.word) != 0), kYesNoLine); break;
    case Value::kOptionFlag: w.yes_no(row.label, g.i(row.word)); break;
    case Value::kLength: w.value(row.label, t.r(row.word), row.format, t.i(kUnitSystem), kLengthLabel.code); break;
    case Value::kOptionReal: w.value(row.label, g.r(row.word), row.format, kUnitsEnglish, kBlankLabel.code); break;
    case Value::kOptionInteger: {
      int item = w.custom();
      outci0(s, item, row.label, g.i(row.word), row.format, w.out(), kLeaderWidth);
      break;
    }
    case Value::kText: w.text(row.label, row.text(s), row.format); break;
    case Value::kCustom:
    case Value::kLine: row.draw(s, w); break;
  }
}

void draw_row(Session& s, const Item& row, PageItems& w) {
  if (row.shown != nullptr && !row.shown(s)) {
    w.hidden();
    return;
  }
  w.blank(row.before);
  write_item(s, row, w);
  if (row.extra != nullptr) row.extra(s, w.out());
}

void reprint(Session& s, int item) {
  PageItems w(s, out_of(s), item);
  write_item(s, *item_row(item), w);
}

void edit_item(Session& s, int item) {
  const Item& row = *item_row(item);
  auto& t = s.tpcm;
  auto& g = options(s);
  const int out = out_of(s);
  const int ask = t.i(kBatchFlag);
  switch (row.value) {
    case Value::kRecordFlag: toggle2(s, t.i(row.word), ask, out, kKeyboard); break;
    case Value::kOptionLogical: {
      bool on = g.i(row.word) != 0;
      toggle2_l(s, on, ask, out, kKeyboard);
      g.i(row.word) = on ? 1 : 0;
      break;
    }
    case Value::kOptionFlag: toggle2(s, g.i(row.word), ask, out, kKeyboard); break;
    case Value::kLength:
      reprint(s, item);
      edit_real(s, RealWord{row.word}, out);
      break;
    case Value::kOptionReal: {
      reprint(s, item);
      float v = g.r(row.word);
      enterf(s, v, out, kKeyboard);
      if (std::bit_cast<std::int32_t>(v) != g.i(row.word)) store_real(s, g.i(row.word), v, out);
      break;
    }
    case Value::kOptionInteger:
      reprint(s, item);
      enteri(s, g.i(row.word), out, kKeyboard);
      break;
    default: break;
  }
  if (row.edit != nullptr) row.edit(s, item);
}

// ---- The options file ----

bool write_options(Session& s) {
  const auto& t = s.tpcm;
  return write_td_opts(s, kFileName, t.r(kVersion), 0, kTdOptsFormatVersion, kTdOptsFormatMinor,
                       t.r(kStormDuration), options(s).i(kDefaultNFldReportsWord), page4_picks(s),
                       state(s).current, out_of(s));
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
// file is then written at once).
void settle_file(Session& s, int out) {
  if (s.files().open_read(std::string(kFileName), false) == nullptr) {
    if (s.tpcm.i(kWriterRunMode) == kServerRunMode) {
      for (int unit : {kSilentUnit, out}) {
        if (unit == kSilentUnit && out == kSilentUnit) continue;
        lines(s, unit, 1);
        s.write_line(unit, " >>> GUSTRDAT not found; aborting...");
        lines(s, unit, 1);
      }
      throw ProgramStop(kTdOptsStopStatus);
    }
    lines(s, out, 1);
    s.write_line(out, "          >>> GUSTRDAT not found; loading defaults <<<");
    restore_and_write(s);
    return;
  }
  std::string version;
  TdOptionsState& st = state(s);
  switch (read_td_opts(s, kFileName, st.current, st.defaults, version)) {
    case kTdOptsResized:
      box(s, {" +----------------------------------------------------+",
              " | >>> Changes to GUSTRDAT version structure!         |",
              " |     Please review your options VERY carefully!     |",
              " +----------------------------------------------------+"});
      st.hours = settle_read_opts(s, st.current);
      break;
    case kTdOptsUnreadable:
      box(s, {" +--------------------------------------------------+",
              " |   >>> Incompatible " + std::string(kFileName) + " file found           |",
              " |      Creating new file using defaults.           |",
              " |    Please review your options carefully!         |",
              " +--------------------------------------------------+"});
      restore_and_write(s);
      break;
    default:
      st.hours = settle_read_opts(s, st.current);
      write_options(s);
      break;
  }
}

// Steps of every display with the support files on, before item 2: the
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

void draw_page(Session& s, std::string_view label, PageItems& w) {
  page_header(s, label, " ", kTitle, w.out());
  const std::span<const Item> rows = kItems;
  draw_row(s, rows.front(), w);
  if (!support_on(s)) return;
  prepare(s, w.out());
  for (const Item& row : rows.subspan(1)) draw_row(s, row, w);
}

void help_on(Session& s, int item) {
  if (item == 0) {
    gustr_hlp(s, 0, 0);
    return;
  }
  const Item* row = item_row(item);
  gustr_hlp(s, item, row == nullptr || row->note == 0 ? item : row->note);
}

}  // namespace

void gustropts(Session& s, std::string_view label) {
  auto& t = s.tpcm;
  if (t.i(kPrintPass) == 0) clear(s, out_of(s));
  t.i(kNavCode) = 0;
  PageHooks hooks;
  hooks.draw = [&](PageItems& w) { draw_page(s, label, w); };
  hooks.edit = [&](int item) { edit_item(s, item); };
  hooks.help = [&](int item) { help_on(s, item); };
  run_page(s, hooks);
  if (t.i(kPrintPass) != 0 || !support_on(s)) return;
  // Leaving the page: the duration goes to the options, and the file is
  // written again.
  store_real(s, options(s).i(kFullDuration), 3600.0f * state(s).hours, out_of(s));
  write_options(s);
}

}  // namespace kelp
