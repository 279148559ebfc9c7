// Page 10 of the semisubmersible editor: a table of rows, most of them
// yes/no switches; the square-law treatment and the output device are
// chosen in menus of their own.
#include "semi/e/semot2.hpp"

#include <array>
#include <string>
#include <string_view>

#include "edlib/data_record.hpp"
#include "edlib/help_book.hpp"
#include "edlib/page_output.hpp"
#include "edlib/page_pattern.hpp"
#include "edlib/page_table.hpp"
#include "edlib/square_law_help.hpp"
#include "kelpkit/nohelp.hpp"
#include "kelpkit/report_lines.hpp"
#include "kelpkit/toggles.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"
#include "sysutl/text.hpp"

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

constexpr std::size_t kSquareLawTextChars = 75;
constexpr std::array<std::string_view, 5> kSquareLawTexts = {
    "<<Resonant damping ONLY, no square-law driving forces>>",
    "<<Full square-law driving force calculation at all wave periods>>",
    "<<Resonant damping PLUS square-law driving forces on fixed vessel>>",
    "",
    "",
};
constexpr int kTreatments = 3;

// The entry of a stored treatment, blank-padded; a value from the file
// outside the table shows the blank entry and is kept as it is.
std::string square_law_text(int treatment) {
  const bool inside = treatment >= 0 && static_cast<std::size_t>(treatment) < kSquareLawTexts.size();
  return fixed(inside ? kSquareLawTexts[static_cast<std::size_t>(treatment)] : std::string_view(),
               kSquareLawTextChars);
}

void draw_square_law(Session& s, PageItems& w) {
  int item = w.custom();
  outtxt(s, item, "Square-law driving force treatment:", w.out());
  w.blank();
  s.write_line(w.out(), "     " + square_law_text(s.tpcm.i(kSquareLawTreatment)));
  w.blank();
}

// The menu stays up through help and "H"; a reply above the menu is held to
// its last entry, a blank reply or a navigation code keeps the treatment.
void choose_square_law(Session& s, int) {
  const int out = out_of(s);
  int reply = 0;
  do {
    reply = choose(
        s, out,
        [&] {
          clear(s, out);
          s.write_line(out, " +++ Square-Law Driving Force Treatment Options +++");
          lines(s, out, 1);
          for (int n = 1; n <= kTreatments; ++n) {
            fwrite(s, out, "(1X,I1,') ',A)", {n, square_law_text(n - 1)});
            lines(s, out, 1);
          }
        },
        [&](int item) { smo3hp(s, item); });
  } while (reply == kNavKeys);
  maxchk(reply, kTreatments);
  if (reply != 0) s.tpcm.i(kSquareLawTreatment) = reply - 1;
}

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

// The drive of disk output: the character 64 + n (1 "A", 3 "C"). Past 62
// ("~") no printable character is left, and "?" stands for the drive.
char drive_letter(int n) {
  constexpr int kLastPrintable = 62;
  return n >= 1 && n <= kLastPrintable ? static_cast<char>('@' + n) : '?';
}

// A device the lines below do not name (a disk drive below 0, a unit other
// than the console or the disk) leaves the item without a line.
void draw_device(Session& s, PageItems& w) {
  const int device = s.tpcm.i(kOutputDevice);
  const int drive = s.tpcm.i(kLoggedDrive);
  if (device == kScreen) {
    text_line(s, w, "  9) Output goes to Console");
  } else if (device == 1 && drive == 0) {
    text_line(s, w, "  9) Output goes to Disk, on logged drive");
  } else if (device == 1 && drive > 0) {
    text_line(s, w, std::string("  9) Output goes to Disk, on drive ") + drive_letter(drive));
  } else {
    w.custom();
  }
}

// 1 the current output unit (the console), 2 the disk; any other reply keeps
// the device.
void choose_device(Session& s, int) {
  const int out = out_of(s);
  const int reply = choose(
      s, out,
      [&] {
        clear(s, out);
        s.write_line(out, " >>> Output Device Selection: <<<");
        lines(s, out, 1);
        s.write_line(out, " 1) Console");
        s.write_line(out, " 2) Disc");
        lines(s, out, 1);
      },
      [&](int) {
        int ignored = 0;
        nohelp(s, out, kKeyboard, ignored);
      });
  if (reply == 1) s.tpcm.i(kOutputDevice) = out;
  if (reply == 2) s.tpcm.i(kOutputDevice) = 1;
}

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
    Row::custom(draw_square_law, choose_square_law).blank(),
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
