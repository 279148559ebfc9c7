#include "sysutl/replies.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <string_view>

#include "sysutl/fortran_format.hpp"
#include "sysutl/fortran_read.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"
#include "sysutl/text.hpp"

namespace kelp {

namespace {

bool all_blank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

// The most integers readni reads from one reply.
constexpr int kReadniMax = 50;

}  // namespace

int nav_code_of(char c) {
  switch (c) {
    case '!': return kNavBang;
    case '?': return kNavHelp;
    case 'H': case 'h': return kNavKeys;
    case 'F': case 'f': return kNavFirst;
    case 'L': case 'l': return kNavLast;
    case 'S': case 's': return kNavSkip;
    case 'E': case 'e': return kNavExecute;
    case 'J': case 'j': return kNavJump;
    case 'M': case 'm': return kNavTableM;
    case 'C': case 'c': return kNavTableC;
    case 'D': case 'd': return kNavTableD;
    case 'I': case 'i': return kNavTableI;
    case 'X': case 'x': return kNavTableX;
    case 'B': case 'b': return kNavBack;
    default: return 0;
  }
}

void readi(Session& s, int& code, int in, int& number) {
  // The work field is seven characters: the six read and one blank, so that
  // positions 2 to 7 form a six-character integer field.
  std::string field = s.read_field(in, 6);
  if (all_blank(field)) return;
  if (field[0] == '!') {
    code = kNavBang;
    return;
  }
  const std::string tail = field.substr(1) + ' ';
  const auto n = fin::read_int_bn(tail);
  if (!n) return;
  number = *n;
  code = 0;
  if (const int nav = nav_code_of(field[0]); nav != 0) {
    code = nav;
    return;
  }
  if (const auto whole = fin::read_int_bn(field)) code = *whole < -1 ? 0 : *whole;
}

void entsel(Session& s, int& code, int out, int in, int& number) {
  s.write_line(out, " ");
  wrtlin(s, "Enter number of selection (\"H\" for help): ", out);
  code = 0;
  readi(s, code, in, number);
  if (code == kNavBang) {
    code = kNavKeys;
    return;
  }
  if (code != kNavKeys) return;
  clear(s, out);
  static constexpr std::array<std::string_view, 13> kKeyList = {
      "",
      "",
      " At any \"Enter number of selection\" prompt:",
      "",
      " (F)  First page",
      " (L)  Last page",
      " (S)  Skip ahead a page",
      " (E)  Execute program",
      " (B)  Back a page",
      " (Jn) Jump to page \"n\"",
      " (?)  Help summary for current page",
      " (?n) Help on current page for selection \"n\"",
      "",
  };
  for (auto line : kKeyList) s.write_line(out, line);
  int reply = 0;
  prsret(s, out, in, reply);
}

void enteri(Session& s, int& value, int out, int in) {
  wrtlin(s, "Enter new value: ", out);
  int scratch = 0;
  readi(s, value, in, scratch);
}

void enterf(Session& s, float& value, int out, int in) {
  wrtlin(s, "Enter new value: ", out);
  int blank = 0;
  crread(s, value, blank, in);
}

bool store_real(Session& s, std::int32_t& word, float value, int out) {
  if (std::isfinite(value)) {
    word = std::bit_cast<std::int32_t>(value);
    return true;
  }
  s.write_line(out, kRefusedResult);
  int reply = 0;
  prsret(s, out, kKeyboard, reply);
  return false;
}

bool store_real(Session& s, RealWord word, float value, int out) {
  return store_real(s, s.tpcm.bits(word), value, out);
}

bool edit_real(Session& s, RealWord word, int out) {
  wrtlin(s, "Enter new value: ", out);
  float value = s.tpcm.r(word);
  int blank = 0;
  crread(s, value, blank, kKeyboard);
  return blank == 0 && store_real(s, word, value, out);
}

void entera(Session& s, std::string& text, int out, int in) {
  wrtlin(s, "Enter new character string: ", out);
  text = fixed(s.read_line(in), text.size());
}

void crread(Session& s, float& value, int& blank, int in) {
  const std::string line = s.read_line(in);
  // The field is twelve characters; a reply that goes on past them is read
  // whole, so that a long number is never cut into a different one.
  const bool longer = line.size() > 12 && line.find_first_not_of(' ', 12) != std::string::npos;
  std::string field = line;
  if (!longer) field.resize(12, ' ');
  if (all_blank(field)) {
    blank = 1;
    return;
  }
  const auto v = fin::read_real_bn(field, 0);
  if (!v || !std::isfinite(*v)) {
    blank = 1;
    return;
  }
  blank = 0;
  value = *v;
}

void crreal(Session& s, float& x, float& y, float& z, int& blank, int in) {
  const std::string field = s.read_field(in, 63);
  blank = all_blank(field) ? 1 : 0;
  std::array<float, 3> v = {x, y, z};
  const std::array<float, 3> old = v;
  fin::read_list(field, v);
  // A non-finite value is unreadable: it and everything after it keep theirs.
  for (std::size_t k = 0; k < v.size(); ++k) {
    if (!std::isfinite(v[k])) {
      std::copy(old.begin() + static_cast<std::ptrdiff_t>(k), old.end(), v.begin() + static_cast<std::ptrdiff_t>(k));
      break;
    }
  }
  x = v[0];
  y = v[1];
  z = v[2];
}

void readni(Session& s, std::span<std::int32_t> values, int n, int in, int out, int& blank) {
  int count = n;
  if (count > kReadniMax) {
    s.write_line(out, "");
    s.write_line(out, " ++> Error in READNI...");
    s.write_line(out, "");
    int reply = 0;
    abort0(s, out, in, reply);
    if (reply == -1) throw ProgramStop(1);
    count = kReadniMax;
  }
  count = std::clamp(count, 0, static_cast<int>(std::min<std::size_t>(values.size(), kReadniMax)));
  const std::string field = s.read_field(in, 69);
  blank = all_blank(field) ? 1 : 0;
  fin::read_list(field, values.first(static_cast<std::size_t>(count)));
}

void entcrd(Session& s, int item, float& x, float& y, float& z, int ndim, int /*out*/, int in, int& blank) {
  const char* what = ndim == 2 ? "(x,y): " : ndim == 3 ? "(x,y,z): " : "ERROR!";
  fwrite(s, kScreen, "(' Enter new data for #',I3,1X,A,$)", {item, std::string(what)});
  s.unit(kScreen).flush();
  crreal(s, x, y, z, blank, in);
}

void readc(Session& s, char& ch, int in) { ch = s.read_field(in, 1)[0]; }

void readcp(Session& s, char& ch) { ch = s.read_field(kKeyboard, 1)[0]; }

void upcase(char& ch, int& kind) {
  auto code = static_cast<unsigned char>(ch);
  if (code > 'Z') code = static_cast<unsigned char>(code - 32);
  ch = static_cast<char>(code);
  if (ch >= 'A' && ch <= 'Z') {
    kind = 0;
  } else if (ch == ' ') {
    kind = 2;
  } else {
    kind = 1;
  }
}

}  // namespace kelp
