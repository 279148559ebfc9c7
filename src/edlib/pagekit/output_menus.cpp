#include "edlib/pagekit/output_menus.hpp"

#include "edlib/pagekit/help_book.hpp"
#include "edlib/pagekit/page_pattern.hpp"
#include "edlib/record/data_record.hpp"
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

template <typename Text>
std::string entry_of(std::span<const Text> table, int index) {
  const bool inside = index >= 0 && static_cast<std::size_t>(index) < table.size();
  return fixed(inside ? std::string_view(table[static_cast<std::size_t>(index)]) : std::string_view(),
               kMenuEntryChars);
}

void version5_frame(Session& s, PageItems& w, std::string_view which) {
  w.blank();
  s.write_line(w.out(), std::string("++> ") + std::string(which) + " Version 5.x Flags");
  w.blank();
}

}  // namespace

std::string menu_entry(std::span<const std::string> table, int index) { return entry_of(table, index); }
std::string menu_entry(std::span<const std::string_view> table, int index) { return entry_of(table, index); }

void indented_entry(Session& s, PageItems& w, std::string_view entry) {
  w.blank();
  s.write_line(w.out(), "     " + std::string(entry));
  w.blank();
}

void choose_square_law(Session& s, std::span<const std::string_view> table, void (*help)(Session&, int item)) {
  const int out = s.tpcm.i(kOutputUnit);
  constexpr int kTreatments = 3;
  int reply = 0;
  do {
    reply = choose(
        s, out,
        [&] {
          clear(s, out);
          s.write_line(out, " +++ Square-Law Driving Force Treatment Options +++");
          lines(s, out, 1);
          for (int n = 1; n <= kTreatments; ++n) {
            fwrite(s, out, "(1X,I1,') ',A)", {n, menu_entry(table, n - 1)});
            lines(s, out, 1);
          }
        },
        [&](int item) { help(s, item); });
  } while (reply == kNavKeys);
  maxchk(reply, kTreatments);
  if (reply != 0) s.tpcm.i(kSquareLawTreatment) = reply - 1;
}

std::string drive_letter(int drive) {
  constexpr int kBeforeA = 64;
  constexpr int kLastPrintable = 126 - kBeforeA;  // "~"
  if (drive < 1 || drive > kLastPrintable) return "?";
  return std::string(1, static_cast<char>(kBeforeA + drive));
}

void output_device_item(Session& s, PageItems& w, int console, DriveName drive) {
  const auto& t = s.tpcm;
  const int item = w.custom();
  const int device = t.i(kOutputDevice);
  const int logged = t.i(kLoggedDrive);
  std::string text;
  if (device == console) {
    text = "Output goes to Console";
  } else if (device == 1 && logged == 0) {
    text = "Output goes to Disk, on logged drive";
  } else if (device == 1 && logged > 0) {
    text = "Output goes to Disk, on drive " + (drive == DriveName::kLetter ? drive_letter(logged) : "C");
  } else {
    return;
  }
  fwrite(s, w.out(), "(1X,I2,') ',A)", {item, text});
}

void choose_output_device(Session& s, const DeviceMenu& menu) {
  auto& t = s.tpcm;
  const int out = t.i(kOutputUnit);
  const int reply = choose(
      s, out,
      [&] {
        clear(s, out);
        lines(s, out, menu.lines_above);
        if (menu.title) {
          s.write_line(out, " >>> Output Device Selection: <<<");
          lines(s, out, 1);
        }
        s.write_line(out, " 1) Console");
        s.write_line(out, " 2) Disc");
        lines(s, out, menu.lines_below);
      },
      [&](int) {
        int ignored = 0;
        nohelp(s, out, kKeyboard, ignored);
      });
  if (reply == 1) t.i(kOutputDevice) = t.i(kOutputUnit);
  if (reply == 2) t.i(kOutputDevice) = 1;
}

void begin_version5_flags(Session& s, PageItems& w) { version5_frame(s, w, "Begin"); }
void end_version5_flags(Session& s, PageItems& w) { version5_frame(s, w, "End"); }

}  // namespace kelp
