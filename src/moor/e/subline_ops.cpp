#include "moor/e/subline_ops.hpp"

#include <utility>

#include "sysutl/fortran_read.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

// Type numbers accepted from a reply.
constexpr int kHighestTypeReply = 998;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

void swapi(int& a, int& b) { std::swap(a, b); }

void swapx(float& a, float& b) { std::swap(a, b); }

void swapc(std::string& a, std::string& b) {
  std::string old_a = a;
  const auto na = a.size();
  const auto nb = b.size();
  a = b;
  a.resize(na, ' ');
  b = std::move(old_a);
  b.resize(nb, ' ');
}

void read_type(Session& s, int& blank, char& letter, int& number, int in) {
  const std::string field = s.read_field(in, 3);
  if (field.find_first_not_of(' ') == std::string::npos) {
    blank = 1;
    number = 0;
    return;
  }
  blank = 0;
  if (!is_digit(field[0])) {
    number = 0;
    letter = field[0];
    return;
  }
  letter = ' ';
  const auto n = fin::read_int_bn(field);
  if (!n) {
    blank = 1;
    number = 0;
    return;
  }
  number = *n > kHighestTypeReply || *n < 1 ? 0 : *n;
}

void enter_type(Session& s, char& letter, int out, int in) {
  wrtlin(s, "Enter new type: ", out);
  readc(s, letter, in);
}

}  // namespace kelp
