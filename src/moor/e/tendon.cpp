#include "moor/e/tendon.hpp"

#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <string_view>

#include "edlib/record/data_record.hpp"
#include "kelpkit/root_finders.hpp"
#include "moor/morlib/line_helpers.hpp"
#include "moor/morlib/taut_tendon.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

constexpr int kTensionProfile = 2;        // word 28537: pretensions are fairlead tensions

// Root search: bisection steps per pass, and attempts with a widened
// tolerance before giving up.
constexpr int kSearchSteps = 100;
constexpr int kSearchAttempts = 20;

// The wait after a failure: a key (not on the silent unit).
void failure_wait(Session& s, int out) {
  if (is_silent(out)) return;
  char ch = ' ';
  readcp(s, ch);
}

void refuse(Session& s, int out, std::string_view message) {
  s.write_line(out, message);
  s.write_line(out, " Press <Return> to Continue...");
  failure_wait(s, out);
}

// A warning the user may abort at; true when aborted.
bool warned_off(Session& s, int out, std::initializer_list<std::string_view> text) {
  clear(s, out);
  for (auto line : text) s.write_line(out, line);
  int reply = 0;
  abort0(s, out, kKeyboard, reply);
  return reply == -1;
}

// Stores a new length of subline 1 when it is a usable length.
bool store_length(Tpcm& r, int t, double x) {
  const auto length = static_cast<float>(x);
  if (!std::isfinite(length) || length <= 0.0f) return false;
  r.set_r(*element_word(ElementField::kLength, 1, t), length);
  return true;
}

constexpr std::string_view kNoLength =
    " ++> No positive fairlead subline length spans this depth; nothing is changed.";

}  // namespace

void tendndp(Session& s, int t) {
  Tpcm& r = s.tpcm;
  const int out = r.i(kOutputUnit);

  // The first line of the type gives span and tension; an empty or stale
  // line number must not reach into other tables.
  const auto first_line = type_line_word(t, 1);
  const int line = first_line ? r.i(*first_line) : 0;
  if (line < 1 || line > table_count(r.i(kMooringLegs), kLegCapacity)) {
    refuse(s, out, " ++> This line type has no valid first line number; nothing is changed.");
    return;
  }
  const int n = table_count(r.i(*type_sublines_word(t)), kSublineCapacity);
  if (n < 1) {
    refuse(s, out, " ++> This line type has no sublines; nothing is changed.");
    return;
  }

  TendonData d;
  d.type = t;
  d.sublines = n;
  d.span = std::fabs(r.r(*anchor_depth_word(t)) - r.r(kDraft) + r.r(*fairlead_word(line, 3)));
  d.top_tension = r.r(*profile_value_word(line));
  double others = 0.0;
  for (int j = 2; j <= n; ++j) others += r.r(*element_word(ElementField::kLength, j, t));

  if (r.i(kProfileMode) != kTensionProfile &&
      warned_off(s, out,
                 {" ++> WARNING: Pretension specification must be determined by ",
                  "     fairlead tension for the exercise of this help option..."})) {
    return;
  }
  if (d.top_tension <= 0.0 &&
      warned_off(s, out, {" ++> WARNING: The specified pretension for this line type is not positive"})) {
    return;
  }

  bool elastic = false;
  for (int j = 1; j <= n; ++j) {
    const auto k = static_cast<std::size_t>(j - 1);
    d.length[k] = r.r(*element_word(ElementField::kLength, j, t));
    d.weight[k] = r.r(*element_word(ElementField::kImmersedWeight, j, t));
    for (int c = 1; c <= 3; ++c) {
      d.compliance[k][static_cast<std::size_t>(c - 1)] = r.r(*compliance_word(j, t, c));
      elastic = elastic || d.compliance[k][static_cast<std::size_t>(c - 1)] != 0.0;
    }
  }

  if (!elastic) {
    if (warned_off(s, out, {" ++> WARNING: This line type is totally inelastic..."})) return;
    // The other sublines may already reach the anchor: a length of zero or
    // less is no answer.
    if (!store_length(r, t, d.span - others)) refuse(s, out, kNoLength);
    return;
  }

  double xl = 1.1 * (d.span - others);
  double xr = 0.0;
  double eps = 1e-17 * d.span;
  const auto residual = [&d](double x) { return dvster(d, x); };
  for (int failures = 0;;) {
    double x = 0.0;
    double f = 0.0;
    int ier = kRootFound;
    int iter = 0;
    rtmidp(x, f, residual, xl, xr, eps, kSearchSteps, ier, iter);
    if (ier == kRootFound) {
      if (!store_length(r, t, x)) refuse(s, out, kNoLength);
      return;
    }
    if (ier == kRootNoSignChange) {
      s.write_line(out, "++> Bounds error in TENDON ");
      break;
    }
    if (++failures >= kSearchAttempts) {
      s.write_line(out, " ++> Iteration overflow in TENDON");
      break;
    }
    eps *= 5.0;
    xr = x / 2.0;
    xl = 2.0 * x;
  }
  s.write_line(out, " Press <Return> to Continue...");
  failure_wait(s, out);
}

}  // namespace kelp
