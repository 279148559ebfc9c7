#include "edlib/pages/vessel_pages.hpp"

#include <bit>
#include <cstdint>
#include <string>

#include "edlib/model/tanker.hpp"
#include "edlib/pagekit/page_table.hpp"
#include "edlib/record/data_record.hpp"
#include "kelpkit/report_lines.hpp"
#include "kelpkit/toggles.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

// Value lines of the three pages: the 57-column label field, the value and,
// on the first two, a blank and the 6-character unit label.
constexpr std::string_view kHydrostaticsValue = "(A57,F11.2,1X,A6)";
constexpr std::string_view kGyradiiValue = "(A57,F10.2,1X,A6)";
constexpr std::string_view kPeriodValue = "(A57,F9.2)";

int kind_of(const Session& s) { return s.tpcm.i(kProgramKind); }

// ---- Hydrostatics ----

// The vessel-type item belongs to the kinds that simulate several types.
bool shows_vessel_type(const Session& s) {
  const int kind = kind_of(s);
  return kind == 3 || (kind > 9 && kind != 14 && kind != 17);
}

bool is_tanker(const Session& s) { return s.tpcm.i(kVesselType) == 1; }

std::string type_name(const Session& s) { return vessel_type_name(s.tpcm.i(kVesselType)); }

void choose_vessel_type(Session& s, int) {
  auto& t = s.tpcm;
  const int out = t.i(kOutputUnit);
  const bool short_menu = kind_of(s) == 3;
  int reply = choose(
      s, out,
      [&] {
        clear(s, out);
        lines(s, out, 2);
        write_text(s, out, " +++   Vessel type for wave-frequency dynamics simulation  +++\n");
        if (short_menu) {
          write_text(s, out, " 3) Semisubmersible\n 5) Tension Leg Platform\n 6) Caisson Spar\n");
          t.i(kMemberModel) = 1;
        } else {
          write_text(s, out,
                     " 1) Displacement hull (ship/barge/tanker)\n"
                     " 2) Floating Jack-up\n"
                     " 3) Semisubmersible\n"
                     " 4) Disc-shaped vessel (CALM buoy, arctic drillship)\n"
                     " 5) Tension Leg Platform\n"
                     " 6) Caisson Spar\n");
        }
      },
      [&](int item) { show_help(s, kVesselTypeHelp, item, item); });
  maxchk(reply, 6);
  if (reply == 0) return;
  t.i(kVesselType) = reply;
  t.i(kMemberModel) = reply == 3 || reply == 5 || reply == 6 ? 1 : 0;
}

void run_tanker(Session& s, int) { tanker(s); }

const Row kHydrostaticsRows[] = {
    Row::real("Vessel displacement", kDisplacement, kWeightLabel),
    Row::real("Transverse metacentric height (KMT)", kMetacentreT, kLengthLabel),
    Row::real("Longitudinal metacentric height (KML)", kMetacentreL, kLengthLabel).help(2),
    Row::real("Vertical center of buoyancy (VKB)", kBuoyancyCentre, kLengthLabel),
    Row::real("Vertical center of gravity (VKG)", kGravityCentre, kLengthLabel),
    Row::real("LCG-to-Midships distance", kLcgToMidships, kLengthLabel),
    Row::real("Vessel water plane area", kWaterplaneArea, kAreaLabel),
    Row::real("Length of vessel at waterline", kWaterlineLength, kLengthLabel),
    Row::real("Beam of vessel at waterline", kWaterlineBeam, kLengthLabel).help(8),
    Row::real("Mean vessel draft", kDraft, kLengthLabel),
    Row::text("Vessel type for simulation", type_name, choose_vessel_type).when(shows_vessel_type).blank(),
    Row::action("Help for Tanker-Type Physical Characteristics", run_tanker).when(is_tanker).blank(),
};

const TablePage kHydrostaticsPage = {.title = " Hydrostatic Characteristics",
                                 .value_format = kHydrostaticsValue,
                                 .rows = kHydrostaticsRows,
                                 .book = &kHydrostaticsHelp};

// ---- Gyradii and bilge ----

// Knots per record speed unit: ft/s (English) or m/s (metric).
float per_knot(const Session& s) { return s.tpcm.i(kUnitSystem) == kUnitsMetric ? 0.514f : 1.687f; }

void draw_speed(Session& s, PageItems& w) {
  w.value("Vessel speed (knots)", s.tpcm.r(kSpeed) / per_knot(s), kGyradiiValue, kUnitsEnglish, kBlankLabel.code);
}

// Shown and typed in knots, stored in ft/s or m/s. A reply that leaves the
// knots as they were leaves the stored speed untouched, so a blank reply
// never changes the record by round-off.
void edit_speed(Session& s, int) {
  const int out = s.tpcm.i(kOutputUnit);
  const float shown = s.tpcm.r(kSpeed) / per_knot(s);
  float knots = shown;
  enterf(s, knots, out, kKeyboard);
  if (std::bit_cast<std::int32_t>(knots) != std::bit_cast<std::int32_t>(shown)) {
    store_real(s, kSpeed, knots * per_knot(s), out);
  }
}

bool has_keel(const Session& s) { return s.tpcm.i(kBilgeKeel) != 0; }
bool moving(const Session& s) { return s.tpcm.r(kSpeed) != 0.0f; }
// Kind 16 has no attitude items (their numbers stay taken), kind 8 no RAOs.
bool has_attitude(const Session& s) { return kind_of(s) != 16; }
bool has_raos(const Session& s) { return kind_of(s) != 8; }
bool raos_tilted(const Session& s) {
  const auto& t = s.tpcm;
  return t.i(kUserRaos) != 0 && (t.r(kHeel) != 0.0f || t.r(kTrim) != 0.0f);
}

const Row kGyradiiRows[] = {
    Row::real("Pitch Gyradius", kPitchGyradius, kLengthLabel),
    Row::real("Roll Gyradius", kRollGyradius, kLengthLabel),
    Row::real("Yaw Gyradius", kYawGyradius, kLengthLabel),
    Row::real("Bilge radius at maximum beam station", kBilgeRadius, kLengthLabel).blank(),
    Row::toggle("Is there a bilge keel", kBilgeKeel),
    Row::real("Bilge keel length", kBilgeKeelLength, kLengthLabel).when(has_keel),
    Row::real("Bilge keel width", kBilgeKeelWidth, kLengthLabel).when(has_keel),
    Row::real("Inboard keel-to-vessel centerline distance", kBilgeKeelInboard, kLengthLabel).when(has_keel),
    Row::custom(draw_speed, edit_speed).blank(),
    Row::real("Global direction of vessel motion (degrees)", kMotionDirection, kBlankLabel).when(moving),
    Row::real("Trim angle (deg; bow down positive)", kTrim, kBlankLabel).when(has_attitude).blank(),
    Row::real("Heel angle (deg; starboard down positive)", kHeel, kBlankLabel).when(has_attitude).help(11),
    Row::toggle("Utilize user-supplied vessel RAO data", kUserRaos).when(has_raos).blank(),
    Row::toggle("User RAOs in Deck-Vertical Coordinate System?", kDeckVertical).when(raos_tilted),
};

const TablePage kGyradiiPage = {.title = " Gyradii and Bilge Specifications",
                            .value_format = kGyradiiValue,
                            .rows = kGyradiiRows,
                            .book = &kGyradiiHelp};

// ---- Period and damping; dynamics ----
// The two pages of a body's motions: heave, pitch and roll, and surge, sway
// and yaw. For each motion a damping and a period are computed or
// specified; a specified one shows its value on the next item, and a
// motion that becomes specified asks for that value at once.

template <IntWord mode>
bool specified(const Session& s) {
  return s.tpcm.i(mode) != 0;
}

bool shows_feedback(const Session& s) {
  const int kind = kind_of(s);
  return kind > 9 && kind != 16 && s.tpcm.i(kVesselType) == 4;
}
bool shows_offsets(const Session& s) { return kind_of(s) > 9 && s.tpcm.i(kVesselType) == 4; }

extern const TablePage kPeriodPage;
extern const TablePage kDynamicsPage;

// A motion that has just become specified asks for its value (the next
// item) at once.
template <const TablePage& page, IntWord mode>
void ask_value(Session& s, int item) {
  if (s.tpcm.i(mode) != 0) redo_item(s, page, item + 1);
}

// The mode of heave, pitch or roll, switched with the labelled question.
template <IntWord mode>
constexpr Row motion_mode(std::string_view label, int key) {
  return Row::mode(label, mode, "Specified", "Computed").then(ask_value<kPeriodPage, mode>).help(key);
}

// The mode of surge, sway or yaw, switched with the plain yes/no question.
template <IntWord mode>
std::string mode_shown(const Session& s) {
  return mode_text(Row::mode({}, mode, "Specified", "Computed"), s.tpcm.i(mode));
}
template <IntWord mode>
void switch_mode(Session& s, int item) {
  toggle2(s, s.tpcm.i(mode), s.tpcm.i(kBatchFlag), s.tpcm.i(kOutputUnit), kKeyboard);
  ask_value<kDynamicsPage, mode>(s, item);
}
template <IntWord mode>
constexpr Row horizontal_mode(std::string_view label, int key) {
  return Row::text(label, mode_shown<mode>, switch_mode<mode>).help(key);
}

// The value of a motion, shown while it is specified.
template <IntWord mode>
constexpr Row motion_value(std::string_view label, RealWord word, int key) {
  return Row::real(label, word).when(specified<mode>).help(key);
}

// Items 1 to 6 are the damping, 7 to 12 the periods; every shown value but
// the last period's is followed by an empty line.
const Row kPeriodRows[] = {
    motion_mode<kHeaveDampingMode>("Heave damping is", 1),
    motion_value<kHeaveDampingMode>("Heave damping (percent of critical)", kHeaveDamping, 1).blank_after(),
    motion_mode<kPitchDampingMode>("Pitch damping is", 1),
    motion_value<kPitchDampingMode>("Pitch damping (percent of critical)", kPitchDamping, 1).blank_after(),
    motion_mode<kRollDampingMode>("Roll damping is", 1),
    motion_value<kRollDampingMode>("Roll damping (percent of critical)", kRollDamping, 1).blank_after(),
    motion_mode<kHeavePeriodMode>("Heave period is", 7).blank(),
    motion_value<kHeavePeriodMode>("Heave period (sec)", kHeavePeriod, 7).blank_after(),
    motion_mode<kPitchPeriodMode>("Pitch period is", 7),
    motion_value<kPitchPeriodMode>("Pitch period (sec)", kPitchPeriod, 7).blank_after(),
    motion_mode<kRollPeriodMode>("Roll period is", 7),
    motion_value<kRollPeriodMode>("Roll period (sec)", kRollPeriod, 7),
    Row::toggle("Feedback mooring forces to wave-frequency motions? ", kMooringFeedback).when(shows_feedback).blank(),
    Row::toggle("Output static wave force vs mooring force analysis? ", kStaticWaveForce).when(shows_offsets).blank(),
};

const Row kDynamicsRows[] = {
    horizontal_mode<kSurgeDampingMode>("Surge damping is", 1),
    motion_value<kSurgeDampingMode>("Surge damping (percent of critical)", kSurgeDamping, 1).blank_after(),
    horizontal_mode<kSwayDampingMode>("Sway damping is", 1),
    motion_value<kSwayDampingMode>("Sway damping (percent of critical)", kSwayDamping, 1).blank_after(),
    horizontal_mode<kYawDampingMode>("Yaw damping is", 1),
    motion_value<kYawDampingMode>("Yaw damping (percent of critical)", kYawDamping, 1).blank_after(),
    horizontal_mode<kSurgePeriodMode>("Surge period is", 7).blank(),
    motion_value<kSurgePeriodMode>("Surge period (sec)", kSurgePeriod, 7).blank_after(),
    horizontal_mode<kSwayPeriodMode>("Sway period is", 7),
    motion_value<kSwayPeriodMode>("Sway period (sec)", kSwayPeriod, 7).blank_after(),
    horizontal_mode<kYawPeriodMode>("Yaw period is", 7),
    motion_value<kYawPeriodMode>("Yaw period (sec)", kYawPeriod, 7),
};

const TablePage kPeriodPage = {.title = " Period and Damping Specifications",
                               .value_format = kPeriodValue,
                               .rows = kPeriodRows,
                               .book = &kPeriodHelp};

const TablePage kDynamicsPage = {.title = " Dynamics Specifications",
                                 .value_format = kPeriodValue,
                                 .rows = kDynamicsRows,
                                 .book = &kDynamicsHelp};

}  // namespace

std::string vessel_type_name(int type) {
  switch (type) {
    case 1: return " Ship/barge/tanker";
    case 2: return " Floating Jack-up";
    case 3: return " Semisubmersible";
    case 4: return " Disc-shaped vessel";
    case 5: return " Tension Leg Platform";
    case 6: return " Caisson Spar";
    default: return " Undefined!";
  }
}

void vesel1(Session& s, std::string_view label, std::string_view noun) { run_table(s, kHydrostaticsPage, label, noun); }
void vesel2(Session& s, std::string_view label, std::string_view noun) { run_table(s, kGyradiiPage, label, noun); }
void vesel3(Session& s, std::string_view label, std::string_view noun) { run_table(s, kPeriodPage, label, noun); }
void vesel4(Session& s, std::string_view label, std::string_view noun) { run_table(s, kDynamicsPage, label, noun); }

}  // namespace kelp
