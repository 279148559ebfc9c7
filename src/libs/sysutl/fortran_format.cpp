// Fortran FORMAT interpreter for output. The record model follows gfortran's
// run-time library: positioning (X, T, TL, TR) is held back until something is
// written, so trailing positioning adds no blanks and a tab to the left lets
// later fields overwrite earlier ones; "$" leaves every later record end of the
// statement undone; when the items run out, output stops at the next data edit
// descriptor; when items remain at the end of the format, the record ends and
// the format starts again at the last top-level group.
#include "sysutl/fortran_format.hpp"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "sysutl/session.hpp"

namespace kelp {
namespace fmt {
namespace {

enum class Op { I, F, E, D, A, L, X, T, TL, TR, Slash, Dollar, Colon, Lit, Scale, Open, Close };

struct Ins {
  Op op = Op::Lit;
  int w = -1;  // field width (-1: none given)
  int d = -1;  // digits after the point
  int e = -1;  // exponent digits of Ew.dEe
  int m = -1;  // minimum digits of Iw.m
  int n = 1;   // count of X, T, TL, TR, "/", scale factor, group repeat
  bool reversion_target = false;  // a top-level parenthesised group
  std::size_t match = 0;          // Open: index of its Close; Close: of its Open
  std::string text;               // literal text
};

[[noreturn]] void bad_format(std::string_view f, const std::string& why) {
  throw std::invalid_argument("malformed format \"" + std::string(f) + "\": " + why);
}

class Parser {
 public:
  explicit Parser(std::string_view f) : f_(f) {}

  std::vector<Ins> parse() {
    skip_blanks();
    if (p_ >= f_.size() || f_[p_] != '(') bad_format(f_, "no opening parenthesis");
    ++p_;
    list(1);
    skip_blanks();
    if (p_ != f_.size()) bad_format(f_, "text after the closing parenthesis");
    return std::move(prog_);
  }

 private:
  void skip_blanks() {
    while (p_ < f_.size() && (f_[p_] == ' ' || f_[p_] == '\t')) ++p_;
  }
  char peek() {
    skip_blanks();
    return p_ < f_.size() ? static_cast<char>(std::toupper(static_cast<unsigned char>(f_[p_]))) : '\0';
  }
  bool digit_next() { return std::isdigit(static_cast<unsigned char>(peek())) != 0; }
  // An unsigned number; blanks inside are insignificant, as in Fortran.
  int number() {
    if (!digit_next()) bad_format(f_, "number expected");
    long long v = 0;
    while (digit_next()) {
      v = v * 10 + (f_[p_] - '0');
      if (v > 100000) bad_format(f_, "number too large");
      ++p_;
    }
    return static_cast<int>(v);
  }
  int optional_number() { return digit_next() ? number() : -1; }

  void emit(Ins ins, int repeat) {
    if (repeat <= 1) {
      prog_.push_back(std::move(ins));
      return;
    }
    // "3I4" runs like "3(I4)", except that it is never a reversion target.
    Ins open;
    open.op = Op::Open;
    open.n = repeat;
    const std::size_t at = prog_.size();
    prog_.push_back(open);
    prog_.push_back(std::move(ins));
    Ins close;
    close.op = Op::Close;
    close.match = at;
    prog_[at].match = prog_.size();
    prog_.push_back(close);
  }

  void literal(char quote) {
    ++p_;
    Ins lit;
    lit.op = Op::Lit;
    for (;;) {
      if (p_ >= f_.size()) bad_format(f_, "unterminated literal");
      if (f_[p_] == quote) {
        if (p_ + 1 < f_.size() && f_[p_ + 1] == quote) {
          lit.text += quote;
          p_ += 2;
          continue;
        }
        ++p_;
        break;
      }
      lit.text += f_[p_++];
    }
    prog_.push_back(std::move(lit));
  }

  void list(int level) {
    for (;;) {
      const char c = peek();
      if (c == '\0') bad_format(f_, "missing closing parenthesis");
      if (c == ')') {
        ++p_;
        return;
      }
      if (c == ',') {
        ++p_;
        continue;
      }
      if (c == '\'' || c == '"') {
        literal(f_[p_]);
        continue;
      }
      int sign = 1;
      if (c == '-' || c == '+') {
        if (c == '-') sign = -1;
        ++p_;
        if (!digit_next()) bad_format(f_, "number expected after sign");
      }
      const int r = optional_number();
      if (sign < 0 || c == '+') {
        if (peek() != 'P') bad_format(f_, "signed number without P");
      }
      item(level, r, sign);
    }
  }

  void item(int level, int r, int sign) {
    const char c = peek();
    const int repeat = r < 0 ? 1 : r;
    Ins ins;
    switch (c) {
      case '(': {
        ++p_;
        Ins open;
        open.op = Op::Open;
        open.n = repeat;
        open.reversion_target = level == 1;
        const std::size_t at = prog_.size();
        prog_.push_back(open);
        list(level + 1);
        Ins close;
        close.op = Op::Close;
        close.match = at;
        prog_[at].match = prog_.size();
        prog_.push_back(close);
        return;
      }
      case 'P':
        ++p_;
        if (r < 0) bad_format(f_, "P without scale factor");
        ins.op = Op::Scale;
        ins.n = sign * r;
        prog_.push_back(ins);
        return;
      case 'X':
        ++p_;
        ins.op = Op::X;
        ins.n = repeat;
        prog_.push_back(ins);
        return;
      case 'H': {
        ++p_;
        if (r <= 0) bad_format(f_, "H without count");
        if (p_ + static_cast<std::size_t>(r) > f_.size()) bad_format(f_, "short H literal");
        ins.op = Op::Lit;
        ins.text = std::string(f_.substr(p_, static_cast<std::size_t>(r)));
        p_ += static_cast<std::size_t>(r);
        prog_.push_back(ins);
        return;
      }
      case '/':
        ++p_;
        ins.op = Op::Slash;
        ins.n = repeat;
        prog_.push_back(ins);
        return;
      case '$':
      case ':':
        ++p_;
        if (r >= 0) bad_format(f_, "count before $ or :");
        ins.op = c == '$' ? Op::Dollar : Op::Colon;
        prog_.push_back(ins);
        return;
      case 'T': {
        ++p_;
        const char next = peek();
        ins.op = Op::T;
        if (next == 'L' || next == 'R') {
          ++p_;
          ins.op = next == 'L' ? Op::TL : Op::TR;
        }
        ins.n = number();
        if (r >= 0) bad_format(f_, "count before T");
        prog_.push_back(ins);
        return;
      }
      case 'B': {  // BN, BZ: input only
        ++p_;
        const char next = peek();
        if (next != 'N' && next != 'Z') bad_format(f_, "unknown descriptor B");
        ++p_;
        return;
      }
      case 'S': {  // S, SS: the default sign rule; SP is not supported
        ++p_;
        const char next = peek();
        if (next == 'P') bad_format(f_, "SP is not supported");
        if (next == 'S') ++p_;
        return;
      }
      case 'I':
        ++p_;
        ins.op = Op::I;
        ins.w = number();
        if (peek() == '.') {
          ++p_;
          ins.m = number();
        }
        emit(ins, repeat);
        return;
      case 'F':
      case 'E':
      case 'D':
        ++p_;
        ins.op = c == 'F' ? Op::F : (c == 'E' ? Op::E : Op::D);
        ins.w = number();
        if (peek() != '.') bad_format(f_, "point expected in real descriptor");
        ++p_;
        ins.d = number();
        if (ins.op != Op::F && peek() == 'E') {
          const std::size_t save = p_;
          ++p_;
          if (digit_next()) {
            ins.e = number();
          } else {
            p_ = save;
          }
        }
        if (ins.op != Op::F && ins.w == 0) bad_format(f_, "zero width for E");
        emit(ins, repeat);
        return;
      case 'A':
        ++p_;
        ins.op = Op::A;
        ins.w = optional_number();
        emit(ins, repeat);
        return;
      case 'L':
        ++p_;
        ins.op = Op::L;
        ins.w = optional_number();
        if (ins.w < 0) ins.w = 2;
        emit(ins, repeat);
        return;
      default:
        bad_format(f_, std::string("unknown descriptor '") + c + "'");
    }
  }

  std::string_view f_;
  std::size_t p_ = 0;
  std::vector<Ins> prog_;
};

bool is_data(Op op) {
  return op == Op::I || op == Op::F || op == Op::E || op == Op::D || op == Op::A || op == Op::L;
}

std::string stars(int w) { return std::string(static_cast<std::size_t>(w), '*'); }

std::string right(const std::string& s, int w) {
  if (w <= 0) return s;
  if (static_cast<int>(s.size()) > w) return stars(w);
  return std::string(static_cast<std::size_t>(w) - s.size(), ' ') + s;
}

std::string printf_double(const char* conversion, int precision, double v) {
  const int n = std::snprintf(nullptr, 0, conversion, precision, v);
  std::string out(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(out.data(), out.size(), conversion, precision, v);
  out.resize(static_cast<std::size_t>(n));
  return out;
}

std::string non_finite(double v, int w) {
  if (std::isnan(v)) return w > 0 && w < 3 ? stars(w) : right("NaN", w);
  const bool neg = std::signbit(v);
  if (w >= (neg ? 9 : 8) || w == 0) return right(neg ? "-Infinity" : "Infinity", w);
  if (w >= (neg ? 4 : 3)) return right(neg ? "-Inf" : "Inf", w);
  return stars(w);
}

std::string format_i(std::int32_t v, int w, int m) {
  const long long a = std::llabs(static_cast<long long>(v));
  std::string digits = std::to_string(a);
  if (m == 0 && v == 0) digits.clear();
  if (m > 0 && static_cast<int>(digits.size()) < m) {
    digits.insert(0, static_cast<std::size_t>(m) - digits.size(), '0');
  }
  if (v < 0) digits.insert(0, 1, '-');
  return right(digits, w);
}

std::string format_f(double v, int w, int d, int scale) {
  if (!std::isfinite(v)) return non_finite(v, w);
  const bool neg = std::signbit(v);
  double a = std::fabs(v);
  if (scale != 0) a = static_cast<double>(static_cast<long double>(a) * std::pow(10.0L, scale));
  std::string s = printf_double("%.*f", d, a);
  if (d == 0) s += '.';
  if (neg) s.insert(0, 1, '-');
  if (w == 0 || static_cast<int>(s.size()) <= w) return right(s, w);
  // The zero before the point is dropped when that makes the value fit.
  const std::size_t zero = neg ? 1 : 0;
  if (d > 0 && s.compare(zero, 2, "0.") == 0 && static_cast<int>(s.size()) - 1 <= w) {
    s.erase(zero, 1);
    return s;
  }
  return stars(w);
}

std::string format_e(double v, int w, int d, int e, int scale, char letter) {
  if (!std::isfinite(v)) return non_finite(v, w);
  if (scale <= -d || scale >= d + 2) {
    throw std::invalid_argument("scale factor out of range for E format");
  }
  const bool neg = std::signbit(v);
  const double a = std::fabs(v);
  const int significant = scale > 0 ? d + 1 : d + scale;
  std::string digits;
  int exponent = 0;
  if (a == 0.0) {
    digits.assign(static_cast<std::size_t>(significant), '0');
  } else {
    const std::string s = printf_double("%.*e", significant - 1, a);  // "D.DDDe+XX"
    const std::size_t epos = s.find('e');
    for (std::size_t k = 0; k < epos; ++k) {
      if (s[k] != '.') digits += s[k];
    }
    exponent = std::atoi(s.c_str() + epos + 1) + 1 - scale;
  }
  std::string mantissa;
  bool optional_zero = false;
  if (scale > 0) {
    mantissa = digits.substr(0, static_cast<std::size_t>(scale)) + "." +
               digits.substr(static_cast<std::size_t>(scale));
  } else {
    mantissa = "0." + std::string(static_cast<std::size_t>(-scale), '0') + digits;
    optional_zero = true;
  }
  const int ae = std::abs(exponent);
  const char esign = exponent < 0 ? '-' : '+';
  std::string exp_text;
  if (e > 0) {
    std::string num = std::to_string(ae);
    if (static_cast<int>(num.size()) > e) return stars(w);
    exp_text = std::string(1, letter) + esign + std::string(static_cast<std::size_t>(e) - num.size(), '0') + num;
  } else if (ae <= 99) {
    exp_text = std::string(1, letter) + esign + (ae < 10 ? "0" : "") + std::to_string(ae);
  } else if (ae <= 999) {
    exp_text = std::string(1, esign) + std::to_string(ae);
  } else {
    return stars(w);
  }
  std::string s = (neg ? "-" : "") + mantissa + exp_text;
  if (static_cast<int>(s.size()) <= w) return right(s, w);
  if (optional_zero && static_cast<int>(s.size()) - 1 <= w) {
    s.erase(neg ? 1 : 0, 1);
    return s;
  }
  return stars(w);
}

double real_item(const Item& item, const char* what) {
  if (const float* f = std::get_if<float>(&item)) return static_cast<double>(*f);
  if (const double* d = std::get_if<double>(&item)) return *d;
  throw std::invalid_argument(std::string(what) + " edit descriptor needs a real item");
}

// The record being built, with gfortran's held-back positioning.
class Record {
 public:
  explicit Record(std::string& out) : out_(out) {}

  // Writes a field (or literal) at the current position.
  void put(const std::string& s) {
    discharge();
    if (rec_.size() < cur_ + s.size()) rec_.resize(cur_ + s.size(), ' ');
    rec_.replace(cur_, s.size(), s);
    cur_ += s.size();
    settle();
  }

  void right_by(int n) {
    skips_ += n;
    const long long pos = static_cast<long long>(cur_) + skips_ - 1;
    pending_ = pos - max_pos_ + 1;
    settle();
  }

  void tab(Op op, int n) {
    long long pos = 0;
    const long long used = static_cast<long long>(cur_);
    if (op == Op::TL) {
      if (used == 0) {
        pending_ -= n;
        skips_ -= n;
        if (skips_ < 0) skips_ = 0;
      } else {
        pos = used - n;
      }
    } else {
      pos = n - 1;
    }
    if (pos < 0) pos = 0;
    skips_ += pos - used;
    pending_ += pos - max_pos_;
    if (pending_ < 0) pending_ = 0;
    if (skips_ < 0) {
      cur_ = static_cast<std::size_t>(used + skips_);
      skips_ = 0;
      pending_ = 0;
    }
    settle();
  }

  // Ends the record: its text and a line end go to the output.
  void end() {
    out_ += rec_;
    out_ += '\n';
    rec_.clear();
    cur_ = 0;
    max_pos_ = 0;
    skips_ = 0;
    pending_ = 0;
  }

  // Leaves the record open at the end of the statement.
  void flush_open() { out_ += rec_; }

 private:
  void discharge() {
    if (skips_ > 0) {
      const std::size_t len = static_cast<std::size_t>(skips_);
      if (rec_.size() < cur_ + len) rec_.resize(cur_ + len, ' ');
      if (pending_ > 0 && static_cast<long long>(len) >= pending_) {
        rec_.replace(cur_ + len - static_cast<std::size_t>(pending_), static_cast<std::size_t>(pending_),
                     static_cast<std::size_t>(pending_), ' ');
      }
      cur_ += len;
      if (static_cast<long long>(cur_) > max_pos_) max_pos_ = static_cast<long long>(cur_);
    } else if (skips_ < 0) {
      cur_ = static_cast<std::size_t>(static_cast<long long>(cur_) + skips_);
    }
    skips_ = 0;
    pending_ = 0;
  }
  void settle() {
    if (static_cast<long long>(cur_) > max_pos_) max_pos_ = static_cast<long long>(cur_);
  }

  std::string& out_;
  std::string rec_;
  std::size_t cur_ = 0;
  long long max_pos_ = 0;
  long long skips_ = 0;
  long long pending_ = 0;
};

std::string format_item(const Ins& ins, const Item& item, int scale) {
  switch (ins.op) {
    case Op::I: {
      const std::int32_t* v = std::get_if<std::int32_t>(&item);
      if (v == nullptr) throw std::invalid_argument("I edit descriptor needs an integer item");
      return format_i(*v, ins.w, ins.m);
    }
    case Op::F:
      return format_f(real_item(item, "F"), ins.w, ins.d, scale);
    case Op::E:
    case Op::D:
      return format_e(real_item(item, "E"), ins.w, ins.d, ins.e, scale, ins.op == Op::E ? 'E' : 'D');
    case Op::A: {
      const std::string* s = std::get_if<std::string>(&item);
      if (s == nullptr) throw std::invalid_argument("A edit descriptor needs a text item");
      if (ins.w < 0) return *s;
      if (static_cast<int>(s->size()) >= ins.w) return s->substr(0, static_cast<std::size_t>(ins.w));
      return std::string(static_cast<std::size_t>(ins.w) - s->size(), ' ') + *s;
    }
    case Op::L: {
      const bool* b = std::get_if<bool>(&item);
      if (b == nullptr) throw std::invalid_argument("L edit descriptor needs a logical item");
      return std::string(static_cast<std::size_t>(ins.w > 0 ? ins.w - 1 : 0), ' ') + (*b ? 'T' : 'F');
    }
    default:
      return {};
  }
}

struct Frame {
  std::size_t open;
  int left;
};

}  // namespace

std::string format(std::string_view f, const std::vector<Item>& items) {
  const std::vector<Ins> prog = Parser(f).parse();
  std::size_t revert = 0;
  bool has_data = false;
  for (std::size_t k = 0; k < prog.size(); ++k) {
    if (prog[k].op == Op::Open && prog[k].reversion_target) revert = k;
    if (is_data(prog[k].op)) has_data = true;
  }
  if (!items.empty() && !has_data) bad_format(f, "items but no data edit descriptor");

  std::string out;
  Record rec(out);
  bool dollar = false;
  int scale = 0;
  std::size_t next = 0;  // next item
  std::size_t items_at_pass = static_cast<std::size_t>(-1);
  std::vector<Frame> frames;
  std::size_t pc = 0;
  auto record_end = [&] {
    if (!dollar) rec.end();
  };
  for (;;) {
    if (pc == prog.size()) {
      if (next == items.size()) break;
      // A pass that wrote no item would repeat for ever ("(0(I3))").
      if (next == items_at_pass) bad_format(f, "no data edit descriptor is reached");
      items_at_pass = next;
      record_end();
      pc = revert;
      frames.clear();
      continue;
    }
    const Ins& ins = prog[pc];
    if (is_data(ins.op)) {
      if (next == items.size()) break;
      rec.put(format_item(ins, items[next++], scale));
      ++pc;
      continue;
    }
    switch (ins.op) {
      case Op::Open:
        if (ins.n <= 0) {
          pc = ins.match + 1;
          continue;
        }
        frames.push_back({pc, ins.n});
        break;
      case Op::Close:
        if (--frames.back().left > 0) {
          pc = frames.back().open + 1;
          continue;
        }
        frames.pop_back();
        break;
      case Op::Lit:
        rec.put(ins.text);
        break;
      case Op::X:
      case Op::TR:
        rec.right_by(ins.n);
        break;
      case Op::T:
      case Op::TL:
        rec.tab(ins.op, ins.n);
        break;
      case Op::Slash:
        for (int k = 0; k < ins.n; ++k) record_end();
        break;
      case Op::Dollar:
        dollar = true;
        break;
      case Op::Colon:  // stops the output when no item is left
        break;
      case Op::Scale:
        scale = ins.n;
        break;
      default:
        break;
    }
    if (ins.op == Op::Colon && next == items.size()) break;
    ++pc;
  }
  if (dollar) {
    rec.flush_open();
  } else {
    rec.end();
  }
  return out;
}

}  // namespace fmt

void fwrite(Session& s, int unit, std::string_view format, const std::vector<fmt::Item>& items) {
  s.unit(unit) << fmt::format(format, items);
}

}  // namespace kelp
