#include "moor/e/line_materials.hpp"

#include <cmath>
#include <cstddef>
#include <string>

#include "edlib/pagekit/page_pattern.hpp"
#include "kelpkit/report_lines.hpp"
#include "moor/e/compliance_fit.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"
#include "sysutl/text.hpp"

namespace kelp {

namespace {

// spg: specific gravity; wia: lbs/ft dry at one inch; bc1 (kips), bc2:
// breaking strength factor and exponent; elas1..3: strain coefficients per
// power of T/BS.
constexpr std::array<LineMaterial, kMaterialRows> kMaterials = {{
    {"  1) Stud-link chain (generic O.R.Q.; 1975)", 7.82f, 10.0f, 107.8f, 2.0f, 0.00948f, 0.0f, 0.0f},
    {"  2) Stud-link chain (Ramnas  O.R.Q.; 1994)", 7.82f, 9.5f, 101.3f, 2.0f, 0.00695f, 0.0f, 0.0f},
    {"  3) Studless Grade RQ4 Chain", 7.82f, 8.67f, 101.3f, 2.0f, 0.007548f, 0.0f, 0.0f},
    {"  4) Inextensible stud-link chain", 7.82f, 10.0f, 107.8f, 2.0f, 0.0f, 0.0f, 0.0f},
    {"", 7.82f, 10.0f, 107.8f, 2.0f, 0.0f, 0.0f, 0.0f},
    {"  6) I.W.R.C. wire rope (O.R.Q.)", 6.03f, 1.856f, 91.9f, 2.0f, 0.013f, 0.0f, 0.0f},
    {"  7) Brydon spiral strand wire rope (unsheathed)", 7.93f, 2.16f, 123.1f, 1.981f, 0.008868f, 0.0f, 0.0f},
    {"  8) Brydon spiral strand wire rope (unsheathed; remodeled 1995)", 7.93f, 2.16f, 174.0f, 1.77f, 0.009524f,
     0.0f, 0.0f},
    {"", 6.03f, 1.856f, 91.9f, 2.0f, 0.0f, 0.0f, 0.0f},
    {"", 6.03f, 1.856f, 91.9f, 2.0f, 0.0f, 0.0f, 0.0f},
    {" 11) Kevlar stranded rope (Samson)", 1.42f, 0.26f, 60.0f, 2.0f, 0.0223f, 0.0f, 0.0f},
    {" 12) Braided nylon rope (Samson \"two-in-one\")", 1.14f, 0.29f, 38.38f, 1.791f, 0.811f, -0.584f, 0.154f},
    {" 13) Samson Nystron rope", 1.24f, 0.316f, 42.18f, 1.792f, 0.509f, -0.308f, 0.083f},
    {" 14) Vermeire 100% polyester braided rope", 1.38f, 0.306f, 33.09f, 1.861f, 0.676f, -0.42f, 0.112f},
    {" 15) Vermeire \"Monogrip\" 100% polypropylene rope", 0.9f, 0.172f, 17.62f, 1.821f, 0.509f, -0.296f, 0.076f},
    {" 16) Vermeire manilla rope", 1.42f, 0.34f, 52.12f, 1.717f, 0.313f, -0.176f, 0.043f},
    {},
    {},
    {},
    {},
}};

// The highest material number the menu offers.
constexpr int kLastOffered = 16;

// Specific gravity of the surrounding medium: air, freshwater, seawater.
constexpr std::array<float, 3> kMediumGravity = {0.0f, 1.0f, 1.025f};

// Metric conversions: inches to millimetres, kips to metric tons, kips/ft
// per square inch to metric tons/m per square millimetre, and the powers of
// kips per metric ton for the coefficients.
constexpr float kMmPerInch = 25.4f;
constexpr float kKipsPerTon = 2.204f;
constexpr float kWeightPerMm2 = 0.00231f;
constexpr std::array<float, 3> kComplianceToMetric = {2.204f, 4.858f, 10.706f};

constexpr std::string_view kNoLineHelp = " ++> Sorry, no help for this line...";

void header(Session& s, int out, std::string_view title) {
  clear(s, out);
  s.write_line(out, title);
  lines(s, out, 1);
}

void material_menu(Session& s, int out) {
  const auto group = [&](std::string_view heading, std::initializer_list<int> rows) {
    s.write_line(out, heading);
    for (int m : rows) s.write_line(out, line_material(m).menu);
  };
  group("        >>> Chain Types <<<", {1, 2, 3, 4});
  lines(s, out, 1);
  group("        >>> Wire Rope Types <<<", {6, 7, 8});
  lines(s, out, 1);
  group("        >>> Synthetic Rope Types <<<", {11, 12, 13, 14, 15, 16});
}

// A choice from one menu of the calculator: the number chosen, or 0 when the
// user leaves; "?" shows the menu's help and asks again. draw writes the
// screen; accept says whether a number is on the menu (others ask again).
template <class Draw, class Accept, class Help>
int choose(Session& s, int out, int in, Draw draw, Accept accept, Help help) {
  for (;;) {
    draw();
    int code = 0;
    int item = 0;
    entsel(s, code, out, in, item);
    if (code == kNavHelp) {
      help(s, out, in, item);
      continue;
    }
    if (code <= 0) return 0;
    if (accept(code)) return code;
  }
}

bool offered(int m) { return m >= 1 && m <= kLastOffered && !line_material(m).menu.empty(); }

// Breaking strength in kips of a line of diameter d (inches, or millimetres
// when metric).
float strength_kips(const LineMaterial& row, int units, float d) {
  const float inches = units == 1 ? d / kMmPerInch : d;
  return row.bc1 * std::pow(inches, row.bc2);
}

// Kips, or metric tons when metric.
float in_record_units(float kips, int units) { return units == 1 ? kips / kKipsPerTon : kips; }

void no_estimate(Session& s, int out, int in) {
  lines(s, out, 1);
  s.write_line(out, " ++> No estimate is possible for this diameter; nothing is changed.");
  int reply = 0;
  prsret(s, out, in, reply);
}

}  // namespace

const LineMaterial& line_material(int m) {
  static constexpr LineMaterial kNone{};
  return m >= 1 && m <= kMaterialRows ? kMaterials[static_cast<std::size_t>(m - 1)] : kNone;
}

void help_materials(Session& s, float& result, std::array<float, 3>& coeff, int units, float d, int mode, int out,
                    int in) {
  std::string_view title;
  float medium = kMediumGravity[0];
  switch (mode) {
    case kEstimateStrength:
      title = " ***  Help for breaking strengths  ***";
      break;
    case kEstimateSubmergedWeight:
    case kEstimateDryWeight:
      title = " ***  Help for line weight/length  ***";
      if (mode == kEstimateSubmergedWeight) {
        const int i = choose(
            s, out, in,
            [&] {
              header(s, out, title);
              s.write_line(out, "  >>> Select submergence medium:");
              lines(s, out, 1);
              for (std::string_view m : {" 1) Air", " 2) Freshwater", " 3) Seawater"}) s.write_line(out, m);
            },
            [](int c) { return c <= 3; }, hhlp2);
        if (i == 0) return;
        medium = kMediumGravity[static_cast<std::size_t>(i - 1)];
      }
      break;
    case kEstimateCompliance: {
      title = " ***  Help for line compliance coefficients  ***";
      const int how = choose(
          s, out, in,
          [&] {
            header(s, out, title);
            s.write_line(out, " 1) User-specified stress/strain curve");
            s.write_line(out, " 2) Built-in compliance coefficients");
          },
          [](int c) { return c == 1 || c == 2; }, hhlp1);
      if (how == 0) return;
      if (how == 1) {
        fitcrv(s, coeff, out, in);
        return;
      }
      break;
    }
    default:
      return;
  }

  const int m = choose(
      s, out, in,
      [&] {
        header(s, out, title);
        material_menu(s, out);
      },
      offered, hhlp3);
  if (m == 0) return;
  const LineMaterial& row = line_material(m);
  const float metric_weight = units == 1 ? kWeightPerMm2 : 1.0f;
  float value = 0.0f;
  std::array<float, 3> fitted = coeff;
  switch (mode) {
    case kEstimateSubmergedWeight:
      value = (row.spg - medium) / row.spg * 0.001f * row.wia * (d * d) * metric_weight;
      break;
    case kEstimateDryWeight:
      value = row.wia * 0.001f * (d * d) * metric_weight;
      break;
    case kEstimateStrength:
      value = in_record_units(strength_kips(row, units, d), units);
      break;
    default: {
      const float bs = strength_kips(row, units, d);
      fitted = {row.elas1 / bs, row.elas2 / (bs * bs), row.elas3 / (bs * bs * bs)};
      if (units == 1) {
        for (std::size_t j = 0; j < fitted.size(); ++j) fitted[j] *= kComplianceToMetric[j];
      }
      value = in_record_units(bs, units);
      break;
    }
  }
  bool finite = std::isfinite(value);
  for (float c : fitted) finite = finite && std::isfinite(c);
  if (!finite) {
    no_estimate(s, out, in);
    return;
  }
  result = value;
  coeff = fitted;
}

// ---- Help notes ----

void material_notes_title(Session& s, int out) {
  clear(s, out);
  s.write_line(out, at_column(19, "****  Material Properties Help Notes  ****"));
}

void material_item_number(Session& s, int out, int item) {
  fwrite(s, out, item <= 9 ? "(/' ++> Item Number  ',I1)" : "(/' ++> Item Number  ',I2)", {item});
}

void hhlp1(Session& s, int out, int in, int item) {
  material_notes_title(s, out);
  const auto note = [&](int n) {
    material_item_number(s, out, n);
    if (n == 1) {
      help_lines(s, out,
                 {"     The three compliance coefficients are fitted to an array of",
                  "     (tension, elongation) points that you enter. Tensions are in kips",
                  "     (English units) or metric tons (metric units); elongations are",
                  "     decimal fractions (an elongation of 10% is entered as 0.1).",
                  "     The point (0,0) is included automatically; zero values are not",
                  "     accepted."});
    } else {
      help_lines(s, out,
                 {"     The coefficients are estimated from the built-in database for the",
                  "     line type and diameter. Chain, wire rope and Kevlar rope follow",
                  "     Hooke's law: only the first coefficient is non-zero. The other",
                  "     synthetic ropes have three non-zero coefficients."});
    }
  };
  if (item == 0) {
    note(1);
    note(2);
  } else if (item == 1 || item == 2) {
    note(item);
  } else {
    help_sorry(s, out, kNoLineHelp);
  }
  help_done(s, out, in);
}

void hhlp2(Session& s, int out, int in, int item) {
  material_notes_title(s, out);
  if (item == 0) {
    fwrite(s, out, "(/' ++> Item Numbers ',A)", {std::string("1 -> 3")});
  } else if (item >= 1 && item <= 3) {
    material_item_number(s, out, item);
  } else {
    help_sorry(s, out, kNoLineHelp);
    help_done(s, out, in);
    return;
  }
  help_lines(s, out,
             {"     The weight per unit length is estimated from the built-in database",
              "     for the chosen medium (air, freshwater or seawater), the line type",
              "     and the diameter."});
  help_done(s, out, in);
}

void hhlp3(Session& s, int out, int in, int item) {
  struct Note {
    int item;
    std::initializer_list<std::string_view> text;
  };
  static const Note kNotes[] = {
      {1, {"     Oil-rig-quality (O.R.Q.) stud-link chain; data compiled from",
           "     various sources by Brenvik, circa 1975."}},
      {2, {"     Stud-link chain data from the Ramnas catalogue, circa 1994."}},
      {3, {"     Studless grade RQ4 chain data from the 1993 Vicinay Cadenas catalogue."}},
      {4, {"     Inextensible chain has no tension-related elongation; use it to",
           "     compare with results that neglect line elasticity."}},
      {6, {"     Oil-rig-quality I.W.R.C. wire rope data from various sources."}},
      {7, {"     Brydon data for blocked, unsheathed spiral strand wire rope",
           "     (the model before 1995)."}},
      {8, {"     Brydon data for blocked, unsheathed spiral strand wire rope,",
           "     as revised in 1995."}},
      {11, {"     Samson Kevlar stranded rope with a Dacron sheath; wet rope data,",
            "     circa 1983."}},
      {12, {"     Samson braided nylon rope; wet rope data, circa 1983."}},
      {13, {"     Samson Nystron rope, a nylon-polyester composite with a Dacron",
            "     sheath; wet rope data, circa 1983."}},
      {14, {"     Vermeire polyester braided rope data, circa 1985."}},
      {15, {"     Vermeire polypropylene rope data, circa 1985."}},
      {16, {"     Vermeire manilla rope data, circa 1985."}},
  };
  material_notes_title(s, out);
  const auto show = [&](const Note& n) {
    material_item_number(s, out, n.item);
    help_lines(s, out, n.text);
  };
  if (item == 0) {
    // One screen per group of the menu: chain, wire rope, synthetic rope.
    for (const Note& n : kNotes) {
      if (n.item == 6 || n.item == 11) help_pause(s, out, in);
      show(n);
    }
  } else {
    bool found = false;
    for (const Note& n : kNotes) {
      if (n.item == item) {
        show(n);
        found = true;
      }
    }
    if (!found) help_sorry(s, out, kNoLineHelp);
  }
  help_done(s, out, in);
}

}  // namespace kelp
