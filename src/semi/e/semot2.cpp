// Page 10 of the semisubmersible editor: a table of rows, most of them
// yes/no switches; the square-law treatment and the output device are
// chosen in menus of their own.
#include "semi/e/semot2.hpp"

#include <array>
#include <string_view>

#include "edlib/pagekit/output_menus.hpp"
#include "edlib/pagekit/page_output.hpp"
#include "edlib/pagekit/page_pattern.hpp"
#include "edlib/pagekit/page_table.hpp"
#include "edlib/pagekit/square_law_help.hpp"
#include "edlib/record/data_record.hpp"
#include "kelpkit/toggles.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"

namespace kelp {

namespace {

bool always(const Session&) { return true; }
bool spread_seas(const Session& s) { return s.tpcm.i(kSpreadingOn) != 0; }
bool phantom_weight(const Session& s) { return s.tpcm.i(kPhantomWeightOn) != 0; }

int out_of(const Session& s) { return s.tpcm.i(kOutputUnit); }

void text_line(Session& s, PageItems& w, std::string_view text) {
  w.custom();
  s.write_line(w.out(), text);
}

// ---- Item 4: the square-law driving force treatment (word 142, 0-based) ----

constexpr std::array<std::string_view, 5> kSquareLawTexts = {
    "<<Resonant damping ONLY, no square-law driving forces>>",
    "<<Full square-law driving force calculation at all wave periods>>",
    "<<Resonant damping PLUS square-law driving forces on fixed vessel>>",
    "",
    "",
};

// A value from the file outside the table shows the blank entry and is kept
// as it is.
void draw_square_law(Session& s, PageItems& w) {
  int item = w.custom();
  outtxt(s, item, "Square-law driving force treatment:", w.out());
  indented_entry(s, w, menu_entry(kSquareLawTexts, s.tpcm.i(kSquareLawTreatment)));
}
void edit_square_law(Session& s, int) { choose_square_law(s, kSquareLawTexts, smo3hp); }

// ---- Item 7: the phantom weight ----

void write_phantom_weight(Session& s, int item, int out) {
  fwrite(s, out, "(A57,F9.2,A)",
         {edlnot(item, "Phantom weight value", kLeaderWidth), s.tpcm.r(kPhantomWeight),
          unitp(s.tpcm.i(kUnitSystem), 0)});
}
void draw_phantom_weight(Session& s, PageItems& w) { write_phantom_weight(s, w.custom(), w.out()); }
void edit_phantom_weight(Session& s, int item) {
  write_phantom_weight(s, item, out_of(s));
  edit_real(s, kPhantomWeight, out_of(s));
}

// ---- Item 9: the output device ----

// The console is the screen (unit 6); a disk drive above 0 is named by its
// letter.
void draw_device(Session& s, PageItems& w) { output_device_item(s, w, kScreen, DriveName::kLetter); }
void choose_device(Session& s, int) { choose_output_device(s, {}); }

// ---- Item 10: debug ----

void draw_debug(Session& s, PageItems& w) {
  text_line(s, w, s.tpcm.i(kDebug) != 0 ? " 10) Debug option is on" : " 10) Debug option is off");
}
void edit_debug(Session& s, int) {
  toggle3(s, s.tpcm.i(kDebug), s.tpcm.i(kBatchFlag), out_of(s), kKeyboard, "On", "Off");
}

// Item 8 is no item; 3 and 7 are edited whether shown or not.
constexpr Row kRows[] = {
    Row::toggle("Output force/torque RAOs", kForceRaos),
    Row::toggle("Output motion RAOs", kMotionRaos),
    Row::toggle("Output RAOs for all spread sea angles", kOutputSpreadRaos).when(spread_seas).accept_when(always),
    Row::custom(draw_square_law, edit_square_law).blank(),
    Row::toggle("Utilize ONLY square law driving forces", kOnlySquareLaw),
    Row::toggle("Simulate TLP mooring (\"phantom weight\")", kPhantomWeightOn),
    Row::custom(draw_phantom_weight, edit_phantom_weight).when(phantom_weight).accept_when(always),
    Row::gap(1),
    Row::custom(draw_device, choose_device).blank(),
    Row::custom(draw_debug, edit_debug),
};

const TablePage kPage = {
    .header_format = "(T18,' ****  Page ',A,': More output options  ****'/)",
    .rows = kRows,
    .help = smo2hp,
    .help_for = HelpFor::kAnyNumber,
    .above_last = AboveLast::kLeave,
};

}  // namespace

void semot2(Session& s, std::string_view label) { run_table(s, kPage, label); }

}  // namespace kelp
