#include "kelpkit/toggles.hpp"

#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

// The longest toggle3 prompt before its closing blank.
constexpr std::size_t kToggle3Width = 60;

// Prompts with text and reads a reply with readi; returns the code, or
// `none` when the reply left it unchanged (blank, or not a number).
int ask_one_or_zero(Session& s, std::string_view text, int out, int in, int none) {
  wrtlin(s, text, out);
  int code = none;
  int number = 0;
  readi(s, code, in, number);
  return code;
}

}  // namespace

void toggle(Session& s, int& flag) {
  if (flag == 0) {
    flag = 1;
  } else if (flag == 1) {
    flag = 0;
  } else {
    s.write_line(kScreen, " >>> Invalid argument in Toggle");
  }
}

void toggle_l(bool& flag) { flag = !flag; }

void toggle2(Session& s, int& flag, int ask, int out, int in) {
  if (ask == 0) {
    flag = flag == 0 ? 1 : 0;
    return;
  }
  const int code = ask_one_or_zero(s, "Enter 1 for \"Yes\", 0 for \"No\": ", out, in, flag);
  if (code == 0 || code == 1) flag = code;
}

void toggle2_l(Session& s, bool& flag, int ask, int out, int in) {
  if (ask == 0) {
    flag = !flag;
    return;
  }
  const int code = ask_one_or_zero(s, "Enter 1 for \"Yes\", 0 for \"No\": ", out, in, 2);
  if (code == 0 || code == 1) flag = code == 1;
}

std::string toggle3_prompt(std::string_view label1, std::string_view label0) {
  std::string text = "Enter 1 for \"";
  text.append(label1).append("\", 0 for \"").append(label0).append("\": ");
  if (text.size() > kToggle3Width) text.resize(kToggle3Width);
  const auto last = text.find_last_not_of(' ');
  text.resize(last == std::string::npos ? 0 : last + 1);
  text += ' ';
  return text;
}

void toggle3(Session& s, int& flag, int ask, int out, int in, std::string_view label1, std::string_view label0) {
  if (ask == 0) {
    flag = flag == 0 ? 1 : 0;
    return;
  }
  const int code = ask_one_or_zero(s, toggle3_prompt(label1, label0), out, in, flag);
  if (code == 0 || code == 1) flag = code;
}

std::string yesno(int flag) {
  if (flag == 1) return "Yes";
  if (flag == 0) return "No ";
  return "Awk";
}

std::string yesno_l(bool flag) { return flag ? "Yes" : "No "; }

void maxchk(int& n, int nmax) {
  if (n > nmax) n = nmax;
  if (n < 0) n = 0;
}

void poschk(int& n, int nmax) {
  if (n > nmax) n = nmax;
  if (n < 1) n = 1;
}

void enter_count(Session& s, IntWord word, int max, int out) {
  int typed = s.tpcm.i(word);
  enteri(s, typed, out, kKeyboard);
  if (typed < 0) return;  // a navigation letter
  maxchk(typed, max);
  s.tpcm.i(word) = typed;
}

bool reset_default(Session& s, std::string_view intro, RealWord word, int out) {
  fwrite(s, out, intro, {s.tpcm.r(word)});
  wrtlin(s, "Enter new value (<RETURN> to abort replacement): ", out);
  float value = s.tpcm.r(word);
  int blank = 0;
  crread(s, value, blank, kKeyboard);
  return blank == 0 && store_real(s, word, value, out);
}

}  // namespace kelp
