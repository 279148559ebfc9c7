#pragma once
// What every data-file upgrader shares: the change notes with their heading
// and pager, the fairlead resize at the end, the closing " ++> None..." and
// newer-version warning, and the steps that several kinds take alike.
//
// An upgrader runs inside the loader, which has opened the warning report
// "DATUPWRN.stxt" on unit 21 (not in a silent run: writes to a unit that is
// not open are dropped). Every line goes to the output unit and to unit 21.
// Thresholds are compared in single precision on the absolute stored
// version, in ascending order, so an old file receives every later change in
// turn.
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

#include "sysutl/record.hpp"

namespace kelp {

class Session;

// Files below this version (or with layout marker 49) hold the old fairlead
// layout.
inline constexpr float kResizeVersion = 6.00999f;

// One run of an upgrader: built at entry, closed at the end.
class UpgradeNotes {
 public:
  // Takes at entry the absolute stored version (word 216), the absolute
  // program version and the output unit (word 702), keeps the editor-state
  // words 699 to 702 for close(), and sets status to 1.
  UpgradeNotes(Session& s, float program_version, int& status);

  Session& session() { return s_; }
  Tpcm& record();
  // The stored version is below the threshold.
  bool before(float threshold) const { return v_ < threshold; }
  float stored() const { return v_; }
  float program() const { return p_; }
  int out() const { return out_; }

  // "**** Data File Changes Since Version  v.vv: ****" from column 16.
  void heading();
  // One change note: the note counter is raised, the pager may wait (every
  // five notes), then a blank line and the note's lines (each ending in a
  // line end) are written.
  void note(std::string_view text);
  // The counter and pager alone, for a change that has no note of its own.
  void count();
  // A blank line and a note written without raising the counter.
  void write_note(std::string_view text);
  // Text as it stands, on the output unit and on unit 21.
  void write(std::string_view text);

  // The fairlead resize, when word 14 is 49 or the file is older than
  // 6.00999: the note " ++> Data file resized for 149 fairleads" and
  // resize(record, nwords). A record whose marker already says 149 is not
  // resized a second time; a note says so.
  void fairlead_resize(int nwords, void (*resize)(std::span<std::int32_t>, int));

  // Puts back the editor-state words 699 to 702 that the moves shifted,
  // sets word 14 to 149, writes " ++> None..." (status 0) when nothing was
  // counted, and warns when the file is newer than the program.
  void close();

 private:
  Session& s_;
  float v_;
  float p_;
  int out_;
  int& status_;
  int counter_ = -1;
  std::int32_t state_[4];
};

// ---- Steps shared by several kinds ----

// Opens a gap of `by` words at word `first` in the older files' layout:
// words first..last move up by `by` (last word first), and the words
// first..first+by-1 become 0. Both ranges are cut to the record.
struct Gap {
  int first;
  int last;
  int by;
};
void open_gaps(Tpcm& t, std::initializer_list<Gap> gaps);

// Words first..last := the real value.
void set_reals(Tpcm& t, int first, int last, float value);

// The output unit after the oldest files' moves: 41 in a silent run (word 6
// is 3), else 6.
void reset_output_unit(Tpcm& t);

// Below 4.9, the records of 1,987 words (ship and disc buoy): the gaps at
// words 257, 357 and 1,462, words 1,658 to 1,661 := 1.0, and the output unit.
void version49_vessel_moves(Tpcm& t);

// The check of the interpolation table size (word 1,914): an anomalous
// value (below 0, above 90 or 1; 0 too when zero_is_anomalous) and a size
// of 2 to 30 each have a note.
void table_size_check(UpgradeNotes& n, bool zero_is_anomalous);

// Below 3.91, with word 757 or 758 set: word 753 := 12 and its note.
void point_coordinates_step(UpgradeNotes& n);
// Below 3.52: swell spectral width 0.1 (word 460) and its note.
void swell_width_step(UpgradeNotes& n);
// Below 3.92: the swell and irregular-wave directions (word 477 := 180,
// words 441 to 444 to 713 to 716) and their note.
void swell_directions_step(UpgradeNotes& n);
// Below 4.41: the note of the version-5.0 layout.
void version5_note(UpgradeNotes& n);
// Below 5.0: the defaults of version 5.0 (words 1,363, 1,367, 1,403, 1,404,
// 1,651 to 1,654).
void version5_defaults(Tpcm& t);
// The note on reworked wave drag and drift forces.
void drag_rework_note(UpgradeNotes& n);
// Below 5.59 with word 489 at 0.0: 32.81 in English units, else 10.0.
void reference_height_step(UpgradeNotes& n);

// Texts shared with the upgraders of the other kinds.
extern const std::string_view kAddedMassNote;
extern const std::string_view kVersion5Note;

}  // namespace kelp
