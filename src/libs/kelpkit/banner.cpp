#include "kelpkit/banner.hpp"

#include <string>

#include "kelpkit/report_lines.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"
#include "sysutl/text.hpp"

namespace kelp {

namespace {

struct Capacity {
  const char* text;  // 20 characters
  int number;
  const char* unit;  // 7 characters
};

Capacity capacity_of(int kind) {
  if (kind <= 9) return {"Motion Evaluations: ", 149, " points"};
  if (kind == 10) return {"  Subline Capacity: ", 25, " items "};
  return {"  Mooring Capacity: ", 149, " lines "};
}

bool is_menu_letter(char c) { return c == 'M' || c == 'C' || c == 'E' || c == 'B'; }

}  // namespace

void title(Session& s, int kind, std::string_view name, float version, int out, int in, char& reply,
           int counter) {
  if (counter == 0) clear(s, out);
  const Capacity cap = capacity_of(kind);
  const std::string name8 = fixed(name, 8);
  const std::string rule(56, '=');
  const std::string blank_row = "(11X,'|',56X,'|')";

  lines(s, out, 1);
  fwrite(s, out, "(11X,'+',A,'+')", {rule});
  for (int i = 0; i < 3; ++i) fwrite(s, out, blank_row);
  fwrite(s, out, "(11X,'|',14X,'**   Welcome to ',A8,'  **',14X,'|')", {name8});
  for (int i = 0; i < 2; ++i) fwrite(s, out, blank_row);
  fwrite(s, out, "(11X,'|',17X,A8,A17,14X,'|')", {name8, fixed(version_string(version), 17)});
  fwrite(s, out, "(11X,'|',14X,A20,I3,A7,12X,'|')", {std::string(cap.text), cap.number, std::string(cap.unit)});
  for (int i = 0; i < 4; ++i) fwrite(s, out, blank_row);
  fwrite(s, out, "(11X,'+',A,'+')", {rule});
  lines(s, out, 4);
  fwrite(s, out, "(1X,A)", {std::string(78, '-')});
  if (counter != 0) return;

  // The menu asks again until the reply is one of the four letters. Every
  // round reads a line, so end of input stops the session here.
  for (;;) {
    lines(s, out, 1);
    fwrite(s, out, "(A,A)",
           {std::string(" (M) Modify existing, (C) Create new,"), std::string(" (E) Execute simulation, (B) Batch modify")});
    lines(s, out, 1);
    wrtlin(s, "Enter letter of selection: ", out);
    char ch = ' ';
    readc(s, ch, in);
    int kind_of_char = 1;
    upcase(ch, kind_of_char);
    if (kind_of_char == 0 && is_menu_letter(ch)) {
      reply = ch;
      return;
    }
  }
}

}  // namespace kelp
