#include "edlib/vessel_pages.hpp"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>

#include "edlib/data_record.hpp"
#include "edlib/page_output.hpp"
#include "edlib/page_pattern.hpp"
#include "edlib/tanker.hpp"
#include "kelpkit/report_lines.hpp"
#include "kelpkit/toggles.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

// Record words of the vessel pages.
constexpr std::size_t kVesselType = 776;       // 1 ship .. 6 caisson spar
constexpr std::size_t kTypeCompanion = 790;    // 1 for types 3, 5 and 6
constexpr std::size_t kBilgeKeel = 761;        // toggle
constexpr std::size_t kUserRaos = 777;         // toggle
constexpr std::size_t kDeckVertical = 788;     // toggle
constexpr std::size_t kMooringFeedback = 779;  // toggle
constexpr std::size_t kOffsetsOutput = 778;    // toggle
constexpr std::size_t kSpeed = 1424;           // ft/s or m/s
constexpr std::size_t kMotionDirection = 1405;
constexpr std::size_t kTrim = 1364;
// Word 13 (set when the session began in batch mode) also decides how the
// toggles ask: 0 flips at once, otherwise the user types 1 or 0.
constexpr std::size_t kToggleMode = kBatchFlag;
constexpr std::size_t kHeel = 1365;

// Knots per record speed unit: ft/s (English) or m/s (metric).
constexpr float kFeetPerSecondPerKnot = 1.687f;
constexpr float kMetersPerSecondPerKnot = 0.514f;

// eunit codes (plus word 116).
constexpr int kWeightUnit = 0;
constexpr int kLengthUnit = 7;
constexpr int kAreaUnit = 19;
// The blank label, the same in both unit systems (looked up with unit word 0).
constexpr int kNoUnit = 21;

int kind_of(const Session& s) { return s.tpcm.i(kProgramKind); }

// Reads a new value of a real word with enterf (a blank or unreadable reply
// keeps it).
void edit_real(Session& s, std::size_t word, int out) {
  float v = s.tpcm.r(word);
  enterf(s, v, out, kKeyboard);
  s.tpcm.set_r(word, v);
}

// ---- Hydrostatics ----

struct HydroItem {
  std::string_view label;
  std::size_t word;
  int unit;
};

constexpr std::array<HydroItem, 10> kHydroItems = {{
    {"Vessel displacement", 1408, kWeightUnit},
    {"Transverse metacentric height (KMT)", 1416, kLengthUnit},
    {"Longitudinal metacentric height (KML)", 1417, kLengthUnit},
    {"Vertical center of buoyancy (VKB)", 1409, kLengthUnit},
    {"Vertical center of gravity (VKG)", 1410, kLengthUnit},
    {"LCG-to-Midships distance", 1649, kLengthUnit},
    {"Vessel water plane area", 1412, kAreaUnit},
    {"Length of vessel at waterline", 1418, kLengthUnit},
    {"Beam of vessel at waterline", 1419, kLengthUnit},
    {"Mean vessel draft", 1411, kLengthUnit},
}};

constexpr int kTypeItem = 11;
constexpr int kTankerItem = 12;

// Help keys of the hydrostatics items 1 to 12.
constexpr std::array<int, 13> kHydroHelpKey = {0, 1, 2, 3, 4, 5, 15, 6, 7, 8, 9, 10, 11};

// The vessel-type item belongs to the kinds that simulate several types.
bool shows_vessel_type(int kind) { return kind == 3 || (kind > 9 && kind != 14 && kind != 17); }

bool is_companion_type(int type) { return type == 3 || type == 5 || type == 6; }

void choose_vessel_type(Session& s, int out) {
  auto& t = s.tpcm;
  const int kind = kind_of(s);
  int reply = 0;
  for (;;) {
    clear(s, out);
    lines(s, out, 2);
    s.write_line(out, " +++   Vessel type for wave-frequency dynamics simulation  +++");
    lines(s, out, 1);
    if (kind == 3) {
      help_lines(s, out, {" 3) Semisubmersible", " 5) Tension Leg Platform", " 6) Caisson Spar"});
      t.i(kTypeCompanion) = 1;
    } else {
      help_lines(s, out,
                 {" 1) Displacement hull (ship/barge/tanker)", " 2) Floating Jack-up", " 3) Semisubmersible",
                  " 4) Disc-shaped vessel (CALM buoy, arctic drillship)", " 5) Tension Leg Platform",
                  " 6) Caisson Spar"});
    }
    lines(s, out, 1);
    entsel(s, reply, out, kKeyboard, t.i(kPageCounter));
    if (reply != kNavHelp) break;
    mrhp3b(s, out, kKeyboard, t.i(kPageCounter), kind);
  }
  maxchk(reply, 6);
  if (reply == 0) return;
  t.i(kVesselType) = reply;
  t.i(kTypeCompanion) = is_companion_type(reply) ? 1 : 0;
}

// ---- Period and damping ----

struct Motion {
  std::size_t mode_word;   // 0 computed, otherwise specified
  std::size_t value_word;  // the user value
  std::string_view mode_label;
  std::string_view value_label;
};

// In item order: item 2k+1 is the mode of motion k, item 2k+2 its value.
constexpr std::array<Motion, 6> kMotions = {{
    {766, 1370, "Heave damping is", "Heave damping (percent of critical)"},
    {764, 1368, "Pitch damping is", "Pitch damping (percent of critical)"},
    {765, 1369, "Roll damping is", "Roll damping (percent of critical)"},
    {769, 1373, "Heave period is", "Heave period (sec)"},
    {767, 1371, "Pitch period is", "Pitch period (sec)"},
    {768, 1372, "Roll period is", "Roll period (sec)"},
}};

constexpr int kFeedbackItem = 13;
constexpr int kOffsetsItem = 14;

// The mode text, in a field of 10 characters.
std::string mode_text(int mode) { return mode != 0 ? " Specified" : " Computed "; }

bool shows_feedback(const Session& s) {
  const int kind = kind_of(s);
  return kind > 9 && kind != 16 && s.tpcm.i(kVesselType) == 4;
}

bool shows_offsets(const Session& s) { return kind_of(s) > 9 && s.tpcm.i(kVesselType) == 4; }

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

void vesel1(Session& s, std::string_view label, std::string_view noun) {
  auto& t = s.tpcm;
  PageHooks page;
  page.draw = [&](PageItems& w) {
    page_header(s, label, noun, " Hydrostatic Characteristics", w.out());
    const int u = t.i(kUnitSystem);
    for (const auto& item : kHydroItems) w.value(item.label, t.r(item.word), kValueF11Unit, u, item.unit);
    if (shows_vessel_type(kind_of(s))) {
      w.blank();
      w.text("Vessel type for simulation", vessel_type_name(t.i(kVesselType)));
    } else {
      w.hidden();
    }
    if (t.i(kVesselType) == 1) {
      w.blank();
      w.action("Help for Tanker-Type Physical Characteristics");
    } else {
      w.hidden();
    }
  };
  page.edit = [&](int item) {
    const int out = t.i(kOutputUnit);
    if (item >= 1 && item <= static_cast<int>(kHydroItems.size())) {
      edit_real(s, kHydroItems[static_cast<std::size_t>(item - 1)].word, out);
    } else if (item == kTypeItem) {
      choose_vessel_type(s, out);
    } else if (item == kTankerItem) {
      tanker(s);
    }
  };
  page.help = [&](int item) {
    const int kind = kind_of(s);
    const int flag = (kind < 10 || kind == 17) ? 1 : 2;
    const int key = item >= 1 && item <= kTankerItem ? kHydroHelpKey[static_cast<std::size_t>(item)] : 0;
    v1hlp(s, t.i(kOutputUnit), kKeyboard, item, key, flag);
  };
  run_page(s, page);
}

void vesel2(Session& s, std::string_view label, std::string_view noun) {
  auto& t = s.tpcm;
  // Help keys of items 1 to 14.
  static constexpr std::array<int, 15> kHelpKey = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 14, 10, 11, 12, 13};
  // Real words of the value items (0 for the toggles and the speed).
  static constexpr std::array<std::size_t, 15> kWord = {0,    1413, 1414, 1415, 1420, 0,    1421, 1422,
                                                        1423, 0,    1405, 1364, 1365, 0,    0};
  const auto metric = [&] { return t.i(kUnitSystem) == kUnitsMetric; };
  const auto per_knot = [&] { return metric() ? kMetersPerSecondPerKnot : kFeetPerSecondPerKnot; };

  PageHooks page;
  page.draw = [&](PageItems& w) {
    page_header(s, label, noun, " Gyradii and Bilge Specifications", w.out());
    const int u = t.i(kUnitSystem);
    const int kind = kind_of(s);
    w.value("Pitch Gyradius", t.r(1413), kValueF10Unit, u, kLengthUnit);
    w.value("Roll Gyradius", t.r(1414), kValueF10Unit, u, kLengthUnit);
    w.value("Yaw Gyradius", t.r(1415), kValueF10Unit, u, kLengthUnit);
    w.blank();
    w.value("Bilge radius at maximum beam station", t.r(1420), kValueF10Unit, u, kLengthUnit);
    w.yes_no("Is there a bilge keel", t.i(kBilgeKeel));
    if (t.i(kBilgeKeel) != 0) {
      w.value("Bilge keel length", t.r(1421), kValueF10Unit, u, kLengthUnit);
      w.value("Bilge keel width", t.r(1422), kValueF10Unit, u, kLengthUnit);
      w.value("Inboard keel-to-vessel centerline distance", t.r(1423), kValueF10Unit, u, kLengthUnit);
    } else {
      w.hidden();
      w.hidden();
      w.hidden();
    }
    w.blank();
    w.value("Vessel speed (knots)", t.r(kSpeed) / per_knot(), kValueF10Unit, kUnitsEnglish, kNoUnit);
    if (t.r(kSpeed) != 0.0f) {
      w.value("Global direction of vessel motion (degrees)", t.r(kMotionDirection), kValueF10Unit, kUnitsEnglish,
              kNoUnit);
    } else {
      w.hidden();
    }
    // Kind 16 has no attitude items; their numbers stay taken.
    if (kind != 16) {
      w.blank();
      w.value("Trim angle (deg; bow down positive)", t.r(kTrim), kValueF10Unit, kUnitsEnglish, kNoUnit);
      w.value("Heel angle (deg; starboard down positive)", t.r(kHeel), kValueF10Unit, kUnitsEnglish, kNoUnit);
    } else {
      w.hidden();
      w.hidden();
    }
    if (kind != 8) {
      w.blank();
      w.yes_no("Utilize user-supplied vessel RAO data", t.i(kUserRaos));
    } else {
      w.hidden();
    }
    if (t.i(kUserRaos) != 0 && (t.r(kHeel) != 0.0f || t.r(kTrim) != 0.0f)) {
      w.yes_no("User RAOs in Deck-Vertical Coordinate System?", t.i(kDeckVertical));
    } else {
      w.hidden();
    }
  };
  page.edit = [&](int item) {
    const int out = t.i(kOutputUnit);
    const int ask = t.i(kToggleMode);
    switch (item) {
      case 5: toggle2(s, t.i(kBilgeKeel), ask, out, kKeyboard); break;
      case 13: toggle2(s, t.i(kUserRaos), ask, out, kKeyboard); break;
      case 14: toggle2(s, t.i(kDeckVertical), ask, out, kKeyboard); break;
      case 9: {
        // Shown and typed in knots, stored in ft/s or m/s. A reply that
        // leaves the knots as they were leaves the stored speed untouched,
        // so a blank reply never changes the record by round-off.
        const float shown = t.r(kSpeed) / per_knot();
        float knots = shown;
        enterf(s, knots, out, kKeyboard);
        if (std::bit_cast<std::int32_t>(knots) != std::bit_cast<std::int32_t>(shown)) {
          store_real(s, t.i(kSpeed), knots * per_knot(), out);
        }
        break;
      }
      default:
        if (item >= 1 && item <= 14 && kWord[static_cast<std::size_t>(item)] != 0) {
          edit_real(s, kWord[static_cast<std::size_t>(item)], out);
        }
    }
  };
  page.help = [&](int item) {
    const int key = item >= 1 && item <= 14 ? kHelpKey[static_cast<std::size_t>(item)] : 0;
    v2help(s, t.i(kOutputUnit), kKeyboard, item, key);
  };
  run_page(s, page);
}

void vesel3(Session& s, std::string_view label, std::string_view noun) {
  auto& t = s.tpcm;
  PageHooks page;
  page.draw = [&](PageItems& w) {
    page_header(s, label, noun, " Period and Damping Specifications", w.out());
    for (std::size_t k = 0; k < kMotions.size(); ++k) {
      const auto& m = kMotions[k];
      w.text(m.mode_label, mode_text(t.i(m.mode_word)));
      if (t.i(m.mode_word) != 0) {
        w.value(m.value_label, t.r(m.value_word), kValueF9);
        if (k + 1 < kMotions.size()) w.blank();  // not after the roll period
      } else {
        w.hidden();
      }
      if (k == 2) w.blank();  // between the damping and the period groups
    }
    if (shows_feedback(s)) {
      w.blank();
      w.yes_no("Feedback mooring forces to wave-frequency motions? ", t.i(kMooringFeedback));
    } else {
      w.hidden();
    }
    if (shows_offsets(s)) {
      w.blank();
      w.yes_no("Output static wave force vs mooring force analysis? ", t.i(kOffsetsOutput));
    } else {
      w.hidden();
    }
  };
  page.edit = [&](int item) {
    const int out = t.i(kOutputUnit);
    const int ask = t.i(kToggleMode);
    if (item == kFeedbackItem) {
      toggle2(s, t.i(kMooringFeedback), ask, out, kKeyboard);
      return;
    }
    if (item == kOffsetsItem) {
      toggle2(s, t.i(kOffsetsOutput), ask, out, kKeyboard);
      return;
    }
    if (item < 1 || item > 2 * static_cast<int>(kMotions.size())) return;
    const auto& m = kMotions[static_cast<std::size_t>((item - 1) / 2)];
    if (item % 2 == 1) {
      // The mode; a motion that becomes specified asks for its value at once.
      toggle3(s, t.i(m.mode_word), ask, out, kKeyboard, "Specified", "Computed");
      if (t.i(m.mode_word) == 0) return;
      int value_item = item + 1;
      outcf0(s, value_item, m.value_label, t.r(m.value_word), kValueF9, out, kLeaderWidth);
    }
    edit_real(s, m.value_word, out);
  };
  page.help = [&](int item) {
    int key = 0;
    if (item >= 1 && item <= 6) key = 1;
    else if (item >= 7 && item <= 12) key = 2;
    else if (item == kFeedbackItem) key = 3;
    else if (item == kOffsetsItem) key = 4;
    const int flag = (kind_of(s) == 13 || t.i(kVesselType) == 4) ? 2 : 1;
    v3hlp(s, t.i(kOutputUnit), kKeyboard, item, key, flag);
  };
  run_page(s, page);
}

}  // namespace kelp
