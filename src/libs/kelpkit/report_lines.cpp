#include "kelpkit/report_lines.hpp"

#include <algorithm>
#include <array>
#include <cmath>

#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"
#include "sysutl/text.hpp"

namespace kelp {

namespace {

// Width of the label field plus dot leader after the 10-blank margin.
constexpr int kLeaderWidth = 37;
constexpr std::size_t kLabelWidth = 40;
constexpr std::size_t kUnitLabelWidth = 16;

}  // namespace

void lines(Session& s, int out, int n) {
  for (int k = 0; k < n; ++k) s.write_line(out, "");
}

void onelin(Session& s, std::string_view label, int nlab, float value, const UnitLabelFn& unitf, int icode,
            int out) {
  const int width = std::clamp(nlab, 1, 36);
  const std::string lab = fixed(label, kLabelWidth).substr(0, static_cast<std::size_t>(width));
  const std::string leader(static_cast<std::size_t>(kLeaderWidth - width), '.');
  const std::string unit = fixed(unitf ? unitf(icode) : std::string(), kUnitLabelWidth);
  fwrite(s, out, "(10X,A,1X,A,F10.2,1X,A)", {lab, leader, value, unit});
}

std::string capun(int icode) {
  static constexpr std::array<const char*, 12> kWords = {"FEET",  "METERS", "FT",  "M.",    "K.LBS",  "M.TONS",
                                                         "LBS",   "KGW",    "FT",  "DEG",   "SLOPE",  "HEIGHT"};
  if (icode < 0 || icode >= static_cast<int>(kWords.size())) return "ERROR ! ";
  return fixed(kWords[static_cast<std::size_t>(icode)], 8);
}

std::string version_string(float v) {
  return fmt::fortran("(A,F4.2,A,A)", std::string("Version: "), std::fabs(v), std::string(".00"),
                      std::string(v > 0.0f ? " " : "b"))
      .substr(0, 17);
}

void inbug(Session& s, int& nbug, int out, int in) {
  nbug = 0;
  wrtlin(s, "Input NBUG: ", out);
  int number = 0;
  readi(s, nbug, in, number);
}

}  // namespace kelp
