#include "edlib/frame/upgraders.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "edlib/frame/fairlead_resize.hpp"
#include "edlib/frame/loading.hpp"
#include "edlib/frame/upgrade_notes.hpp"
#include "edlib/model/member_coefficients.hpp"
#include "edlib/record/data_record.hpp"
#include "edlib/record/member_table.hpp"
#include "kelpkit/flag_fields.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

constexpr std::size_t kMemberCount = 3657;
// Options of the low-frequency overhaul of version 5.5, cleared by it.
constexpr IntWord kLowFrequencyDampingOption{154};
constexpr IntWord kLowFrequencyCorrelationOption{155};

bool columnar_type(std::int32_t vessel_type) { return vessel_type == 3 || vessel_type == 5 || vessel_type == 6; }

// Recomputes the coefficients of every member whose source is not
// user-specified.
void recompute_members(Session& s) {
  for (int m = 1; m <= member::kMaxMembers; ++m) {
    if (s.tpcm.i(member::coef_source(m)) == member::kUserCoefficients) continue;
    int ierr = 0;
    mscalc(s, m, ierr);
  }
}

// A table of new 4-bit source codes by old code (codes it does not name keep
// their value).
using CodeMap = std::array<int, 16>;
CodeMap codes(std::initializer_list<std::pair<int, int>> changes) {
  CodeMap map{};
  for (int c = 0; c < 16; ++c) map[static_cast<std::size_t>(c)] = c;
  for (const auto& [from, to] : changes) map[static_cast<std::size_t>(from)] = to;
  return map;
}

// Rewrites fields 1 to 3 of a selector word, each field once.
void recode(Session& s, std::size_t word, const CodeMap& map, int out) {
  std::int32_t& w = s.tpcm.i(word);
  for (int field = 1; field <= 3; ++field) {
    const int old = nibval(s, w, field, out);
    const int now = map[static_cast<std::size_t>(old)];
    if (now != old) nibset(s, w, field, now, out);
  }
}

[[noreturn]] void refuse_too_old(UpgradeNotes& n) {
  n.write("\n\n");
  n.write(fmt::fortran("(' ++> This Brenvik data file, from version',F6.2,', is too old to update using version',"
                       "F6.2,'.')",
                       n.stored(), n.program()));
  n.write("     You must first update it using Brenvik version 5.x or 6.00.\n\n\n");
  int reply = 0;
  prsret(n.session(), n.out(), kKeyboard, reply);
  throw ProgramStop(kLoadStopStatus);
}

}  // namespace

void close_vessel_upgrade(UpgradeNotes& n) {
  Tpcm& t = n.record();
  point_coordinates_step(n);
  swell_directions_step(n);
  version5_note(n);
  if (n.before(5.0f)) version5_defaults(t);
  if (n.before(5.57f)) t.i(kMemberModel) = 0;
  n.fairlead_resize(static_cast<int>(kVesselWords), update_to_149);
  n.close();
}

void shpupd(Session& s, float version, int& status) {
  UpgradeNotes n(s, version, status);
  if (n.before(4.9f)) version49_vessel_moves(n.record());
  n.heading();
  swell_width_step(n);
  if (n.before(3.9f) && n.program() > 3.88f) table_size_check(n, false);
  close_vessel_upgrade(n);
}

void semupd(Session& s, float version, int& status) {
  UpgradeNotes n(s, version, status);
  Tpcm& t = n.record();
  if (n.before(4.9f)) {
    open_gaps(t, {{257, 4914, 60}, {357, 4914, 60}, {1462, 4774, 200}, {2696, 4774, 200}});
    reset_output_unit(t);
  }
  n.heading();
  swell_width_step(n);
  if (n.before(3.9f) && n.program() > 3.88f) {
    if (t.i(kMemberCount) < 1) {
      n.note(
          " ++> This file shows an anomalous number of members\n"
          "\n"
          "     It may not have been properly converted using the\n"
          "     Brenvik \"16-49 Line Conversion Utility\". Proceed with caution.\n");
    }
    table_size_check(n, false);
  }
  point_coordinates_step(n);
  swell_directions_step(n);
  version5_note(n);
  if (n.before(5.0f)) version5_defaults(t);
  if (n.before(5.57f)) {
    recompute_members(s);
    n.note(kAddedMassNote);
  }
  n.fairlead_resize(static_cast<int>(kSecondVesselWords), update_to_149);
  n.close();
}

void slmupd(Session& s, float version, int& status) {
  UpgradeNotes n(s, version, status);
  Tpcm& t = n.record();
  const int out = n.out();
  if (n.before(4.9f)) {
    open_gaps(t, {{257, 4914, 60}, {357, 4914, 60}, {1462, 4774, 200}});
    set_reals(t, 1658, 1661, 1.0f);
    for (std::size_t w : {183, 184, 185}) t.i(w) = 1;
    reset_output_unit(t);
  }
  n.heading();
  if (n.before(3.21f)) {
    n.note(
        " ++> Specif" "ication of (X,Y) coordinate for application of auxiliary\n"
        "     external force/moment.\n");
  }
  if (n.before(3.33f)) {
    n.note(
        " ++> Changed Tanker Load Specif" "ication from a Ballasted/Loaded \"toggle\"\n"
        "     to a continuous range: (Ballasted = 32%, Loaded = 100%).\n");
  }
  if (n.before(3.47f)) {
    t.i(kVesselType) = t.i(kOldVesselType);
    t.i(kUserRaos) = t.i(kOldUserRaos);
    n.note(
        " ++> Changed data sp" "ecs for \"user supplied\" vessel dynamics;\n"
        "     these will be adjusted automatically if you \"Continue\".\n");
  }
  if (n.before(3.51f)) {
    if (t.i(kWindSelector) == 0) {
      // Deadweight in thousands of long or metric tons.
      const float kdwt = t.r(kDeadweight) * (t.i(kUnitSystem) == kUnitsEnglish ? 0.000446429f : 0.000984207f);
      if (kdwt >= 80.0f && kdwt <= 140.0f) {
        n.note(
            " ++> Changed tanker \"SIZE\" determination from a two-way \"toggle\" based\n"
            "     on Deadweight Tonnage to a continuous range: (Small < 80 kDWT, Large >\n"
            "140 kDWT, interpolation for intermediate sizes). No data file changes,\n"
            "     but \"intermediate\" size tanker simulation will be affected.\n");
      }
    }
    // The auxiliary force switch and frame move to words 1,440 and 1,441;
    // words 1,434 to 1,439 keep what they hold.
    t.i(kAuxForceOn) = t.i(kOldAuxForce);
    t.i(kAuxForceFrame) = t.i(kOldAuxFrame);
    n.note(
        " ++> Modified auxiliary force/torque data specif" "ications; these will be\n"
        "     adjusted automatically if you \"Continue\".\n");
  }
  swell_width_step(n);
  if (n.before(3.6f)) {
    t.i(kWindSelector) = t.i(kWindSelector) == 0 ? 0x111 : 0x222;
    t.i(kCurrentSelector) = t.i(kCurrentSelector) == 0 ? 0x111 : 0x444;
    t.i(kDriftSelector) = kSelectorDefault;
    // The three integer load settings of words 770 to 772 become the reals
    // of the load-model words 1,388 to 1,394.
    const auto real_of = [&](std::size_t w) { return static_cast<float>(t.i(w)); };
    const std::pair<std::size_t, std::size_t> moves[] = {{1388, 770}, {1389, 771}, {1391, 771},
                                                         {1390, 772}, {1392, 772}, {1394, 772}};
    for (const auto& [to, from] : moves) t.set_r(to, real_of(from));
    for (std::size_t w : {770, 771, 772}) t.i(w) = 0;
    n.note(
        " ++> Updated & enhanced environmental forcing options; implemented user\n"
        "     specif" "ication of force coefficients.\n");
  }
  if (n.before(3.7f)) {
    t.set_r(kDriftEnhancement, 1.0f);
    n.note(" ++> Added variable wave drift spectrum enhancement factor.\n");
  }
  if (n.before(3.9f) && n.program() > 3.88f) table_size_check(n, true);
  swell_directions_step(n);
  if (n.before(4.17f)) n.note(" ++> Changed ANCHDAT file size.\n");
  if (n.before(4.28f)) {
    n.count();
    recode(s, kWindSelector, codes({{1, 4}, {2, 3}, {3, 1}}), out);
    recode(s, kCurrentSelector, codes({{1, 6}, {2, 4}, {3, 5}, {4, 3}, {5, 1}, {6, 15}}), out);
    const std::int32_t type = t.i(kVesselType);
    recode(s, kDriftSelector, codes({{1, type == 3 ? 3 : type == 4 ? 4 : 2}, {2, 1}}), out);
  }
  if (n.before(4.41f)) {
    // The surface point of the current profile is dropped: both columns
    // (five entries each) move down one entry.
    std::int32_t& points = t.i(kCurrentProfilePoints);
    if (points > 1) --points;
    const int shifts = std::min(points, 5);
    for (std::size_t i = 0; static_cast<int>(i) < shifts; ++i) {
      t.i(kCurrentSpeeds + i) = t.i(kCurrentSpeeds + i + 1);
      t.i(kCurrentDepths + i) = t.i(kCurrentDepths + i + 1);
    }
    n.count();
    n.write_note(
        " ++> Eliminated surface point for current depth distribution. \n"
        "     See Current definition page.\n");
    n.write_note(kVersion5Note);
  }
  if (n.before(5.0f)) {
    version5_defaults(t);
    recode(s, kCurrentSelector, codes({{7, 15}}), out);
  }
  if (n.before(5.38f)) drag_rework_note(n);
  if (n.before(5.53f)) {
    t.i(kLegacyModes) = 1;
    n.note(" ++> Overhaul of low-frequency damping.\n");
  }
  if (n.before(5.57f)) {
    n.count();
    t.i(kMemberModel) = columnar_type(t.i(kVesselType)) ? 1 : 0;
  }
  reference_height_step(n);
  n.fairlead_resize(static_cast<int>(kSecondVesselWords), resize_vessel_block);
  n.close();
}

void morupd(Session& s, float version, int& status) {
  UpgradeNotes n(s, version, status);
  Tpcm& t = n.record();
  if (n.before(5.0f) && n.program() > 6.0f) refuse_too_old(n);
  n.heading();
  if (n.before(5.02f)) {
    n.note(
        " ++> Dry weight specif" "ication now required for moorings.\n"
        "     See line specif" "ication pages.\n");
  }
  if (n.before(5.35f)) {
    for (std::size_t w = 5011; w <= 5015; ++w) t.i(w) = 0;  // the exclusion count and list
    n.note(" ++> Isolation database for excluding lines from inertial load correction.\n");
  }
  if (n.before(5.38f) && t.i(kProgramKind) != 15) drag_rework_note(n);
  if (n.before(5.5f)) {
    t.i(kLegacyModes) = 1;
    t.i(kLowFrequencyDampingOption) = 0;
    t.i(kLowFrequencyCorrelationOption) = 0;
    n.note(
        " ++> Overhaul of low-frequency normal modes, damping and correlations.\n"
        "     Review new \"Legacy\" items in \"Output options 1\"; \"Version 5.x flags\" list.\n");
  }
  if (n.before(5.57f)) {
    n.count();
    if (columnar_type(t.i(kVesselType))) {
      t.i(kMemberModel) = 1;
      if (t.i(kProgramKind) == 14) t.i(kVesselType) = 5;
      recompute_members(s);
      n.write_note(kAddedMassNote);
    } else {
      t.i(kMemberModel) = 0;
    }
  }
  reference_height_step(n);
  n.fairlead_resize(static_cast<int>(kMooredWords), update_to_149);
  n.close();
}

}  // namespace kelp
