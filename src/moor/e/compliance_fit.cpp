#include "moor/e/compliance_fit.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>

#include "kelpkit/nohelp.hpp"
#include "kelpkit/report_lines.hpp"
#include "kelpkit/toggles.hpp"
#include "moor/morlib/polynomial_fit.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

// Rows of the entry screen: entries 16 and on share a row with entry r - 15.
constexpr int kArrayRows = 15;

// Terms of the fitted ratio e/T = a1 + a2 T + a3 T^2.
constexpr int kComplianceTerms = 3;

// What the curve fit keeps between its calls in one session: the points as
// last entered (so a restart only needs the wrong ones retyped), their count
// and the weighting mode chosen.
struct CurveFitState {
  int n = 0;
  std::array<float, kFitMaxPoints> x{};
  std::array<float, kFitMaxPoints> y{};
  std::array<float, kFitMaxPoints> yp{};
  int mode = kFitUnweighted;
  float chisqr = 0.0f;
};

void list_entries(Session& s, int out, std::span<const float> a, int count) {
  for (int r = 1; r <= std::min(count, kArrayRows); ++r) {
    const float left = a[static_cast<std::size_t>(r - 1)];
    if (count > kArrayRows && r + kArrayRows <= count) {
      fwrite(s, out, "(1X,I2,')',F13.4,2X,I2,')',F13.4)",
             {r, left, r + kArrayRows, a[static_cast<std::size_t>(r + kArrayRows - 1)]});
    } else {
      fwrite(s, out, "(1X,I2,')',F13.4)", {r, left});
    }
  }
}

// Reads the point count; false when the user leaves the fit.
bool ask_count(Session& s, CurveFitState& st, int out, int in) {
  for (;;) {
    lines(s, out, 1);
    wrtlin(s, "Enter number of data points (max " + fmt::fortran("(I2,$)", kFitMaxPoints) + ", min 4; -1 to abort): ",
           out);
    int scratch = 0;
    readi(s, st.n, in, scratch);
    if (st.n < 1) return false;
    maxchk(st.n, kFitMaxPoints);
    if (st.n >= kFitMinPoints) return true;
  }
}

// Asks whether to keep the weighting mode until the user goes on.
void choose_weighting(Session& s, CurveFitState& st, int out, int in) {
  for (;;) {
    s.write_line(out, std::string(" Curve fit will be ") +
                          (st.mode == kFitUnweighted ? "unweighted" : "weighted by 1/elongation") +
                          "; to CHANGE weighting method,");
    wrtlin(s, "enter \"C\"; otherwise press <Return> to continue:", out);
    if (is_silent(out)) return;
    char ch = ' ';
    readc(s, ch, in);
    if (ch != 'C' && ch != 'c') return;
    st.mode = st.mode == kFitUnweighted ? kFitWeightByValue : kFitUnweighted;
  }
}

}  // namespace

void arayin(Session& s, int n, int /*nmax*/, int out, int in, std::span<float> a, int& sel, std::string_view title) {
  const int count = std::clamp(n, 0, static_cast<int>(a.size()));
  for (;;) {
    clear(s, out);
    s.write_line(out, " -->> Array input for " + std::string(title));
    lines(s, out, 2);
    list_entries(s, out, a, count);
    int code = 0;
    int number = 0;
    entsel(s, code, out, in, number);
    if (code == kNavHelp) {
      int reply = 0;
      nohelp(s, out, in, reply);
      continue;
    }
    if (code == 0) {
      sel = 0;
      return;
    }
    if (code < 0) continue;
    int m = code;
    maxchk(m, count);
    for (; m >= 1 && m <= count; ++m) {
      wrtlni(s, "Enter new value for # ", m, out);
      float& entry = a[static_cast<std::size_t>(m - 1)];
      float value = entry;
      int blank = 0;
      crread(s, value, blank, in);
      if (blank != 0) break;
      entry = value;
    }
  }
}

void fitcrv(Session& s, std::array<float, 3>& coeff, int out, int in) {
  auto& st = s.state<CurveFitState>();
  for (;;) {
    if (!ask_count(s, st, out, in)) return;
    int sel = 0;
    arayin(s, st.n, kFitMaxPoints, out, in, st.x, sel, "NONZERO Tension values (a point at [0,0] is ASSUMED)");
    arayin(s, st.n, kFitMaxPoints, out, in, st.y, sel, "NONZERO Elongation values (a point at [0,0] is ASSUMED)");
    const auto points = static_cast<std::size_t>(st.n);
    bool zero = false;
    for (std::size_t i = 0; i < points && !zero; ++i) zero = st.x[i] == 0.0f || st.y[i] == 0.0f;
    if (!zero) break;
    lines(s, out, 1);
    s.write_line(out, " A tension or elongation of zero is not allowed;");
    s.write_line(out, " a point at (0,0) is ASSUMED! - reenter arrays");
    lines(s, out, 1);
  }
  for (std::size_t i = 0; i < static_cast<std::size_t>(st.n); ++i) st.yp[i] = st.y[i] / st.x[i];

  choose_weighting(s, st, out, in);
  std::array<float, kComplianceTerms> fitted = coeff;
  const int status = polfit(st.x, st.yp, {}, st.n, kComplianceTerms, st.mode, fitted, st.chisqr);
  const bool finite = std::all_of(fitted.begin(), fitted.end(), [](float v) { return std::isfinite(v); });
  if (status == kFitSingular || !finite) {
    // A singular fit would hand back three zeros, turning an elastic line
    // into an inextensible one without a word: keep the old coefficients.
    lines(s, out, 1);
    s.write_line(out, " ++> The curve fit failed: these points do not determine the coefficients");
    s.write_line(out, "     (are all tensions equal?); the coefficients are left unchanged.");
    int reply = 0;
    prsret(s, out, in, reply);
    return;
  }
  coeff = fitted;
}

}  // namespace kelp
