#include "edlib/pages/output_option_pages.hpp"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "edlib/pagekit/output_menus.hpp"
#include "edlib/pagekit/page_output.hpp"
#include "edlib/pagekit/page_table.hpp"
#include "edlib/record/data_record.hpp"
#include "kelpkit/coordinate_table.hpp"
#include "kelpkit/toggles.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"

namespace kelp {

namespace {

bool always(const Session&) { return true; }

int out_of(const Session& s) { return s.tpcm.i(kOutputUnit); }

void flip(Session& s, IntWord word) { toggle2(s, s.tpcm.i(word), s.tpcm.i(kBatchFlag), out_of(s), kKeyboard); }

// An item line of these pages: its fixed text and a yes/no.
void yes_no_line(Session& s, PageItems& w, std::string_view text, int flag) {
  w.custom();
  fwrite(s, w.out(), "(A,A3)", {std::string(text), yesno(flag)});
}

void text_line(Session& s, PageItems& w, std::string_view text) {
  w.custom();
  s.write_line(w.out(), text);
}

// ---- Output options ----

// The relative-motion word 106 as two flags while the page runs: whether
// relative motion replaces the displacements at the points, and whether it
// is taken against the fluid at the point's level (else the free surface).
struct RelativeMotion {
  int substitute = 0;
  int level = 0;
};

RelativeMotion& relative(Session& s) { return s.state<RelativeMotion>(); }

void store_relative(Session& s) {
  const RelativeMotion& r = relative(s);
  s.tpcm.i(kOption106) = r.substitute == 0 ? 0 : 1 + r.level;
}

bool angular_outputs(const Session& s) {
  const auto& t = s.tpcm;
  return t.i(kDofOutputs + 3) != 0 || t.i(kDofOutputs + 4) != 0 || t.i(kDofOutputs + 5) != 0;
}
bool point_outputs(const Session& s) {
  const auto& t = s.tpcm;
  return t.i(kPointAccelerations) != 0 || t.i(kPointVelocities) != 0 || t.i(kPointMotions) != 0;
}
bool point_motions(const Session& s) { return s.tpcm.i(kPointMotions) != 0; }
// Word 106 follows the two flags, so the lines read it.
bool substituting(const Session& s) { return point_motions(s) && s.tpcm.i(kOption106) != 0; }

void draw_dofs(Session& s, PageItems& w) {
  const auto& t = s.tpcm;
  std::vector<fmt::Item> flags;
  for (std::size_t k = 0; k < 6; ++k) {
    w.custom();
    flags.emplace_back(yesno(t.i(kDofOutputs + k)));
  }
  s.write_line(w.out(), "  1) Surge  2) Sway   3) Heave  4) Roll   5) Pitch  6) Yaw");
  fwrite(s, w.out(), "(5X,6(A3,7X))", flags);
}
void edit_dof(Session& s, int item) { flip(s, IntWord{kDofOutputs + static_cast<std::size_t>(item - 1)}); }

void draw_rao_units(Session& s, PageItems& w) {
  const auto& t = s.tpcm;
  w.custom();
  const std::string unit = t.i(kAngularRaoUnits) != 1 ? unitp(kUnitsEnglish, 2) : unitp(t.i(kUnitSystem), 7);
  fwrite(s, w.out(), "(A,A16)", {std::string("  7) RAO units for angular motions: degrees/"), unit});
}
void edit_rao_units(Session& s, int) {
  toggle3(s, s.tpcm.i(kAngularRaoUnits), s.tpcm.i(kBatchFlag), out_of(s), kKeyboard, "degrees/height",
          "degrees/degree");
}

void draw_reference(Session& s, PageItems& w) {
  text_line(s, w,
            s.tpcm.i(kReportAtCg) != 0 ? "  8) Report motions & loads at vessel c.g."
                                       : "  8) Report motions & loads at \"natural\" rotation centers");
}
void edit_reference(Session& s, int) {
  toggle3(s, s.tpcm.i(kReportAtCg), s.tpcm.i(kBatchFlag), out_of(s), kKeyboard, "c.g.", "Rotation center");
}

void draw_note(Session& s, PageItems& w) {
  fwrite(s, w.out(), "(A,A8)",
         {std::string(" Note ---> Coordinates for the following are in"), unitp(s.tpcm.i(kUnitSystem), 7)});
}

void draw_accelerations(Session& s, PageItems& w) {
  yes_no_line(s, w, " 11) Output accelerations at selected points on vessel?   ", s.tpcm.i(kPointAccelerations));
}
void draw_velocities(Session& s, PageItems& w) {
  yes_no_line(s, w, " 12) Output velocities at selected points on vessel?      ", s.tpcm.i(kPointVelocities));
}
void draw_motions(Session& s, PageItems& w) {
  yes_no_line(s, w,
              s.tpcm.i(kOption106) != 0 ? " 13) Output relative motion at selected points on vessel? "
                                        : " 13) Output displacements at selected points on vessel?   ",
              s.tpcm.i(kPointMotions));
}
template <IntWord word>
void edit_flag(Session& s, int) {
  flip(s, word);
}

void draw_point_count(Session& s, PageItems& w) {
  w.custom();
  fwrite(s, w.out(), "(A,I3,A,I3)",
         {std::string(" 14) Number of points of interest (Max "), kPointCapacity, std::string("): "),
          s.tpcm.i(kPointCount)});
}
void edit_point_count(Session& s, int item) {
  PageItems w(s, out_of(s), item);
  draw_point_count(s, w);
  int& count = s.tpcm.i(kPointCount);
  enteri(s, count, out_of(s), kKeyboard);
  maxchk(count, kPointCapacity);
}

// The coordinate-table editor on the point table (a copy of the record's
// rows; a value the editor changed is stored through the checked store).
// Returns the editor's code.
int run_point_table(Session& s) {
  auto& t = s.tpcm;
  std::vector<float> xyz(3 * kPointCapacity);
  for (std::size_t k = 0; k < xyz.size(); ++k) xyz[k] = t.r(kPointTable + k);
  int code = 0;
  cordin(s, "point coordinates for motions evaluation", xyz, t.i(kPointCount), out_of(s), kKeyboard, code,
         t.i(kPrintPass), t.i(kPageCounter));
  for (std::size_t k = 0; k < xyz.size(); ++k) {
    const RealWord word{kPointTable + k};
    if (std::bit_cast<std::int32_t>(xyz[k]) != t.i(word.n)) store_real(s, word, xyz[k], out_of(s));
  }
  return code;
}
void edit_points(Session& s, int) {
  int code = 0;
  do {
    code = run_point_table(s);
  } while (code > 0);
  if (code < 0) leave_page(s, code);
}

void draw_substitute(Session& s, PageItems& w) {
  yes_no_line(s, w, " 16) Substitute relative motion for displacement data?    ", s.tpcm.i(kOption106) != 0 ? 1 : 0);
}
void edit_substitute(Session& s, int) {
  toggle2(s, relative(s).substitute, s.tpcm.i(kBatchFlag), out_of(s), kKeyboard);
  store_relative(s);
}
void draw_level(Session& s, PageItems& w) {
  text_line(s, w,
            s.tpcm.i(kOption106) == 2 ? " 17) Motion is relative to fluid at specified level"
                                   : " 17) Motion is relative to free surface");
}
void edit_level(Session& s, int) {
  toggle2(s, relative(s).level, s.tpcm.i(kBatchFlag), out_of(s), kKeyboard);
  store_relative(s);
}

// Items 1 to 6 share one pair of lines; 9 and 10 are no items. Items 1 to
// 8, 11, 12 and 13 are edited whether shown or not.
const Row kOutputRows[] = {
    Row{.field = Field::kCustom, .edit = edit_dof, .draw = draw_dofs, .help_key = 1, .numbers = 6},
    Row::custom(draw_rao_units, edit_rao_units).when(angular_outputs).accept_when(always),
    Row::custom(draw_reference, edit_reference),
    Row::gap(2),
    Row::line(draw_note),
    Row::custom(draw_accelerations, edit_flag<kPointAccelerations>),
    Row::custom(draw_velocities, edit_flag<kPointVelocities>),
    Row::custom(draw_motions, edit_flag<kPointMotions>),
    Row::custom(draw_point_count, edit_point_count).when(point_outputs),
    Row::action("Enter point coordinates", edit_points).when(point_outputs),
    Row::custom(draw_substitute, edit_substitute).when(point_motions),
    Row::custom(draw_level, edit_level).when(substituting).accept_when(point_motions),
};

const TablePage kOutputPage = {.header_format = "(T20,' ****  Page ',A,': Output options  ****'/)",
                               .rows = kOutputRows,
                               .book = &kOutputOptionsHelp,
                               .help_for = HelpFor::kAnyNumber};

// ---- More output options ----

void draw_force_raos(Session& s, PageItems& w) {
  yes_no_line(s, w, "  1) Output force/torque RAOs ................. ", s.tpcm.i(kForceRaos));
}
void draw_motion_raos(Session& s, PageItems& w) {
  yes_no_line(s, w, "  2) Output motion RAOs ....................... ", s.tpcm.i(kMotionRaos));
}
void draw_spread_raos(Session& s, PageItems& w) {
  yes_no_line(s, w, "  3) Output RAOs for all spread sea angles .... ", s.tpcm.i(kOutputSpreadRaos));
}
bool spread_seas(const Session& s) { return s.tpcm.i(kSpreadingOn) != 0; }

bool to_console(const Session& s) { return s.tpcm.i(kOutputDevice) == kScreen; }
bool to_disk(const Session& s) { return s.tpcm.i(kLoggedDrive) == 0 && s.tpcm.i(kOutputDevice) == 1; }
bool device_shown(const Session& s) { return to_console(s) || to_disk(s); }

// Shown for the console or the logged drive only.
void draw_device(Session& s, PageItems& w) { output_device_item(s, w, kScreen, DriveName::kLetter); }
// The output device sub-page, with an empty line above its title.
void choose_device(Session& s, int) { choose_output_device(s, {.lines_above = 1}); }

void draw_debug(Session& s, PageItems& w) {
  text_line(s, w, s.tpcm.i(kDebug) != 0 ? "  9) Debug option is on" : "  9) Debug option is off");
}
void edit_debug(Session& s, int) {
  toggle3(s, s.tpcm.i(kDebug), s.tpcm.i(kBatchFlag), out_of(s), kKeyboard, "On", "Off");
}

// Items 4 to 7 are no items; 3 and 8 are edited whether shown or not.
const Row kMoreOutputRows[] = {
    Row::custom(draw_force_raos, edit_flag<kForceRaos>).help(1),
    Row::custom(draw_motion_raos, edit_flag<kMotionRaos>).help(1),
    Row::custom(draw_spread_raos, edit_flag<kOutputSpreadRaos>).when(spread_seas).accept_when(always),
    Row::gap(4),
    Row::custom(draw_device, choose_device).when(device_shown).accept_when(always),
    Row::custom(draw_debug, edit_debug),
};

const TablePage kMoreOutputPage = {.header_format = "(T18,' ****  Page ',A,': More output options  ****'//)",
                                   .rows = kMoreOutputRows,
                                   .book = &kMoreOutputOptionsHelp,
                                   .help_for = HelpFor::kAnyNumber,
                                   .above_last = AboveLast::kLeave};

}  // namespace

void shpot1(Session& s, std::string_view label) {
  auto& t = s.tpcm;
  // Both words come from the file: the count indexes the point table.
  t.i(kPointCount) = std::clamp(t.i(kPointCount), 0, kPointCapacity);
  int& word106 = t.i(kOption106);
  if (word106 < 0 || word106 > 2) word106 = 0;
  relative(s) = {.substitute = word106 != 0 ? 1 : 0, .level = word106 == 2 ? 1 : 0};

  run_table(s, kOutputPage, label);
  // The print pass lists the point table after the page.
  if (t.i(kPrintPass) != 0 && point_outputs(s)) {
    run_point_table(s);
    t.i(kNavCode) = 0;
  }
}

void shpot2(Session& s, std::string_view label) { run_table(s, kMoreOutputPage, label); }

}  // namespace kelp
