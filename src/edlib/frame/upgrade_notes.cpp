#include "edlib/frame/upgrade_notes.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "edlib/frame/fairlead_resize.hpp"
#include "edlib/record/data_record.hpp"
#include "kelpkit/array_utils.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

constexpr int kSilentRunMode = 3;

const std::string_view kResizedNote = " ++> Data file resized for 149 fairleads\n";
const std::string_view kAlreadyResizedNote =
    " ++> Data file already laid out for 149 fairleads; not resized again.\n";
const std::string_view kNoneNote = " ++> None...\n";
const std::string_view kNewerWarning =
    " ++> Warning: The data file loaded was created by a more recent program\n"
    "     version than this one; you should inspect each data page THOROUGHLY\n"
    "     before proceeding...\n";
const std::string_view kConversionCaution =
    "\n"
    "     It may not have been properly converted using the\n"
    "     Brenvik \"16-49 Line Conversion Utility\". Proceed with caution.\n";

}  // namespace

const std::string_view kAddedMassNote = " ++> Added mass of water-piercing members adjusted.\n";
const std::string_view kVersion5Note = " ++> Data file resized for version 5.0\n";

UpgradeNotes::UpgradeNotes(Session& s, float program_version, int& status)
    : s_(s),
      v_(std::fabs(s.tpcm.r(kVersion))),
      p_(std::fabs(program_version)),
      out_(s.tpcm.i(kOutputUnit)),
      status_(status) {
  for (std::size_t k = 0; k < 4; ++k) state_[k] = s.tpcm.i(kNavCode + k);
  status_ = 1;
}

Tpcm& UpgradeNotes::record() { return s_.tpcm; }

void UpgradeNotes::write(std::string_view text) {
  s_.write(out_, text);
  s_.write(kWarningUnit, text);
}

void UpgradeNotes::heading() { write(fmt::fortran("(T16,'**** Data File Changes Since Version ',F5.2,': ****')", v_)); }

void UpgradeNotes::count() {
  ++counter_;
  wrnful(s_, counter_, out_, kKeyboard);
}

void UpgradeNotes::write_note(std::string_view text) {
  write("\n");
  write(text);
}

void UpgradeNotes::note(std::string_view text) {
  count();
  write_note(text);
}

void UpgradeNotes::fairlead_resize(int nwords, void (*resize)(std::span<std::int32_t>, int)) {
  Tpcm& t = s_.tpcm;
  if (t.i(kFairleadLayout) != kLayoutOld && !before(kResizeVersion)) return;
  if (t.i(kFairleadLayout) == kLayoutCurrent) {
    note(kAlreadyResizedNote);
    return;
  }
  note(kResizedNote);
  resize(t.words(), nwords);
}

void UpgradeNotes::close() {
  Tpcm& t = s_.tpcm;
  // The moves of the older layouts shift whatever the file held into the
  // editor-state words; they belong to this session.
  for (std::size_t k = 0; k < 4; ++k) t.i(kNavCode + k) = state_[k];
  t.i(kFairleadLayout) = kLayoutCurrent;
  if (counter_ == -1) {
    status_ = 0;
    write(kNoneNote);
  }
  if (v_ > p_) write(kNewerWarning);
}

// ---- Shared steps ----

void open_gaps(Tpcm& t, std::initializer_list<Gap> gaps) {
  const int n = static_cast<int>(Tpcm::kWords);
  for (const Gap& g : gaps) {
    movdwn(g.last - g.first + 1, words_from(t.words(), g.first), words_from(t.words(), g.first + g.by));
    clear_1d(t.words(), n, g.first + 1, g.first + g.by);
  }
}

void set_reals(Tpcm& t, int first, int last, float value) {
  for (int w = std::max(first, 0); w <= last && w < static_cast<int>(Tpcm::kWords); ++w) {
    t.set_r(static_cast<std::size_t>(w), value);
  }
}

void reset_output_unit(Tpcm& t) { t.i(kOutputUnit) = t.i(kWriterRunMode) == kSilentRunMode ? kSilentUnit : kScreen; }

void version49_vessel_moves(Tpcm& t) {
  open_gaps(t, {{257, 1926, 60}, {357, 1926, 60}, {1462, 1786, 200}});
  set_reals(t, 1658, 1661, 1.0f);
  reset_output_unit(t);
}

void table_size_check(UpgradeNotes& n, bool zero_is_anomalous) {
  const std::int32_t ntab = n.record().i(kInterpTableSize);
  if (ntab < 0 || ntab > 90 || ntab == 1 || (zero_is_anomalous && ntab == 0)) {
    n.note(fmt::fortran("(' ++> This file shows an anomalous NTAB =',I12)", ntab) + std::string(kConversionCaution));
  } else if (ntab >= 2 && ntab <= 30) {
    n.note(fmt::fortran("(' ++> Point of information: This file had an interpolation table size of ',I2,';')",
                        ntab) +
           "     it may have been converted from an earlier simulation version\n"
           "     supporting a maximum table size of 30.\n");
  }
}

void point_coordinates_step(UpgradeNotes& n) {
  Tpcm& t = n.record();
  if (!n.before(3.91f) || (t.i(kPointVelocities) == 0 && t.i(kPointMotions) == 0)) return;
  t.i(kPointCount) = 12;
  n.note(
      " ++> Specif" "ication of point coordinates for motion output have changed;\n"
      "     see Output Option Items: \"Number of points of interest\" and\n"
      "     \"Enter point coordinates\"\n");
}

void swell_width_step(UpgradeNotes& n) {
  if (!n.before(3.52f)) return;
  n.record().set_r(kSwellBandwidth, 0.1f);
  n.note(" ++> Incorporated user-specified swell spectal width.\n");
}

void swell_directions_step(UpgradeNotes& n) {
  if (!n.before(3.92f)) return;
  Tpcm& t = n.record();
  t.set_r(kSpreadSector, 180.0f);
  for (std::size_t k = 0; k < 4; ++k) {
    t.i(kIrregularHeadings + k) = t.i(kOchiShapes + k);
    t.i(kOchiShapes + k) = 0;
  }
  n.note(" ++> Changed handling of swell and irregular wave directions and options.\n");
}

void version5_note(UpgradeNotes& n) {
  if (n.before(4.41f)) n.note(kVersion5Note);
}

void version5_defaults(Tpcm& t) {
  // The wave-drift factors of the 2001 tanker model (words 1,363, 1,367,
  // 1,403, 1,404) and words 1,651 to 1,654.
  set_reals(t, 1363, 1363, 1.0f);
  set_reals(t, 1367, 1367, 1.25f);
  set_reals(t, 1403, 1404, 1.0f);
  set_reals(t, 1651, 1654, 1.0f);
}

void drag_rework_note(UpgradeNotes& n) {
  n.note(
      " ++> Wave drag and drift forces on semi/tlp/spar shapes \n"
      "     reworked from the ground up.\n");
}

void reference_height_step(UpgradeNotes& n) {
  Tpcm& t = n.record();
  if (!n.before(5.59f) || t.r(kNpdHeight) != 0.0f) return;
  t.set_r(kNpdHeight, t.i(kUnitSystem) == kUnitsEnglish ? 32.81f : 10.0f);
}

}  // namespace kelp
