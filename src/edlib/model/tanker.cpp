#include "edlib/model/tanker.hpp"

#include <cctype>
#include <cmath>
#include <string_view>

#include "edlib/pagekit/page_output.hpp"
#include "edlib/record/data_record.hpp"
#include "kelpkit/root_finders.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/fortran_read.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

constexpr int kCopyAll = -1977;
constexpr float kCubicFeetPerLongTon = 35.0f;
// unitp code of the English length label ("feet"; "meters" the next).
constexpr int kLengthLabel = 7;

void blank_line(Session& s, int out) { s.write_line(out, ""); }

// The draft warning of the estimation; returns true when the user aborts.
bool draft_warning(Session& s, int out, int in, std::string_view more_less, std::string_view bound) {
  clear(s, out);
  blank_line(s, out);
  fwrite(s, out, "(A,A,A,A)", {std::string(" ++> Requested draft is "), std::string(more_less),
                                std::string(" than the "), std::string(bound)});
  s.write_line(out, "     allowed draft for the specified deadweight...");
  s.write_line(out, "     To continue, the draft will be replaced by ");
  fwrite(s, out, "(A,A,A)", {std::string("     the "), std::string(bound), std::string(" allowable value")});
  int reply = 0;
  abort0(s, out, in, reply);
  return reply == -1;
}

std::string displacement_unit(int unit_system) {
  if (unit_system == 0) return "Kips  ";
  if (unit_system == 1) return "M.Tons";
  return "Whoops";
}

void show_page(Session& s, const TankerSet& v, int out, int unit_system) {
  const std::string draft_unit = unitp(unit_system, kLengthLabel);
  clear(s, out);
  blank_line(s, out);
  fwrite(s, out, "(' >>> Independent variables for',T36,'1. Deadweight (DWT).... ',F8.0,' Long Tons')",
         {v[kTkDeadweight]});
  fwrite(s, out, "('     tanker property estimates:',T36,'2. Simulation Draft ... ',F7.2,1X,A)",
         {v[kTkDraft], draft_unit});

  blank_line(s, out);
  fwrite(s, out, "('A. Vessel Displacement   ',F9.0,1X,A6,T43,'L. Freeboard-based load...',F8.1,'%')",
         {v[kTkDisplacement], displacement_unit(unit_system), v[kTkFreeboardLoad]});
  fwrite(s, out, "('B. Displacement-based load',F9.1,'%',T43,'M. Draft-based load.......',F8.1,'%')",
         {v[kTkDisplacementLoad], v[kTkDraftLoad]});

  blank_line(s, out);
  fwrite(s, out, "('C. Length (LPP) ..........',F9.2,T43,'N. Transverse KM .........',F9.2)",
         {v[kTkLength], v[kTkTransverseKM]});
  fwrite(s, out, "('D. Beam ..................',F9.2,T43,'O. Longitudinal KM .......',F9.2)",
         {v[kTkBeam], v[kTkLongitudinalKM]});
  fwrite(s, out, "('E. Draft .................',F9.2,T43,'P. VKB ...................',F9.2)",
         {v[kTkDraft], v[kTkVKB]});
  fwrite(s, out, "('F. Roll Gyradius..........',F9.2,T43,'Q. VKG ...................',F9.2)",
         {v[kTkRollGyradius], v[kTkVKG]});
  fwrite(s, out, "('G. Pitch Gyradius ........',F9.2,T43,'R. Bilge radius ..........',F9.2)",
         {v[kTkPitchGyradius], v[kTkBilgeRadius]});
  fwrite(s, out, "('H. Yaw Gyradius ..........',F9.2)", {v[kTkYawGyradius]});

  blank_line(s, out);
  fwrite(s, out, "('I. Water Plane Area ...... ',F9.0,T43,'S. Deadweight (DWT) ...... ',F9.0)",
         {v[kTkWaterplaneArea], v[kTkDeadweight]});
  fwrite(s, out, "('J. Head-on Current Area .. ',F9.0,T43,'T. Head-on Wind Area ..... ',F9.0)",
         {v[kTkHeadCurrentArea], v[kTkHeadWindArea]});
  fwrite(s, out, "('K. Beam-on Current Area .. ',F9.0,T43,'U. Beam-on Wind Area ..... ',F9.0)",
         {v[kTkBeamCurrentArea], v[kTkBeamWindArea]});
}

void fill_from_record(Session& s, TankerState& st, std::size_t offset, int unit_system) {
  for (std::size_t k = 0; k < kTankerValues; ++k) st.set[k] = s.tpcm.r(kTankerWords[k] + offset);
  st.set[kTkDeadweight] *= tanker_deadweight_factor(unit_system);
  st.filled_units = unit_system;
  st.frstim = false;
}

void copy_to_record(Session& s, const TankerSet& set, std::size_t k, std::size_t offset, int unit_system) {
  float value = set[k];
  if (k == kTkDeadweight) value /= tanker_deadweight_factor(unit_system);
  store_real(s, s.tpcm.i(kTankerWords[k] + offset), value, s.tpcm.i(kOutputUnit));
}

}  // namespace

float tanker_deadweight_factor(int unit_system) { return unit_system == 1 ? 0.9842f : 0.44642857f; }

float volfun(float x, float e) { return ((1.0f - e) * x * x / 2.0f + e * x) * 2.0f / (1.0f + e); }

float alpha(float t, float e, float tmax) { return e + (1.0f - e) * t / tmax; }

float nulfun(float x, float e, float lightship_fraction) { return lightship_fraction - volfun(x, e); }

EstimateStatus estim8(Session& s, TankerSet& set, int out, int in, int unit_system) {
  TankerSet v = set;
  float dwt = v[kTkDeadweight];
  float t = v[kTkDraft];
  if (unit_system == 1) t /= 0.3048f;

  if (!(dwt >= 2000.0f)) {
    clear(s, out);
    blank_line(s, out);
    s.write_line(out, " ++> Requested deadweight is less than 2000 long tons.");
    s.write_line(out, "     To continue, the deadweight will be replaced by 2000...");
    int reply = 0;
    abort0(s, out, in, reply);
    if (reply == -1) return EstimateStatus::kAborted;
    dwt = 2000.0f;
    v[kTkDeadweight] = dwt;
  }

  // Weights (long tons) and volumes (cubic feet).
  const float w1 = 0.0422f * dwt;
  const float w2 = 6.78f * std::pow(dwt, 2.0f / 3.0f);
  const float ls = w1 + w2;
  const float vls = kCubicFeetPerLongTon * ls;
  const float df = dwt + ls;
  const float vf = kCubicFeetPerLongTon * df;
  const float c = std::pow(vf, 1.0f / 3.0f);
  const float d = 0.4039f * c;
  const float zls = 0.54f * d;

  // Hull-shape parameters handed to the hull functions.
  const float lsfrac = vls / vf;
  const float tmax = 0.01673f * std::sqrt(vf) + 13.32f - 1.502e-7f * vf;
  if (!(tmax > 0.0f) || !std::isfinite(tmax) || !std::isfinite(vf)) {
    // Beyond the fitted range the full-load draft comes out zero or negative.
    blank_line(s, out);
    s.write_line(out, " ++> Requested deadweight is too large for the tanker database.");
    s.write_line(out, "     The deadweight is not changed.");
    int reply = 0;
    prsret(s, out, in, reply);
    return EstimateStatus::kRefused;
  }

  const float b = 0.25f * c * c / tmax;
  const float bilge = 0.07f * b;
  const float cb = 0.275f * std::exp(-194.0f / c) + 0.725f;
  const float cw = 0.3f * std::exp(-69.0f / c) + 0.7f;
  const float e = 2.0f * cb / cw - 1.0f;
  const float l = vf / (tmax * cb * b);
  const float af = b * l * cw;
  const float ff = d - tmax;
  float head_wind = 0.1f * c * c + 3000.0f;
  float beam_wind = 16.0f * c + 3000.0f;

  // Minimum draft: where the hull displaces only its lightship weight.
  float x = 0.0f;
  float fx = 0.0f;
  int ier = 0;
  rtmi1(x, fx, [&](float xr) { return nulfun(xr, e, lsfrac); }, 0.0f, 1.0f, 1e-5f, 1e-5f, 100, ier);
  if (ier != 0) {
    blank_line(s, out);
    fwrite(s, out, "(A,A)", {std::string(" ++> RTMI failure in minimum "),
                              std::string("draft determination (subroutine ESTIM8)")});
    fwrite(s, out, "('     Error Index = ',I2)", {ier});
    int reply = 0;
    prsret(s, out, in, reply);
    return EstimateStatus::kAborted;
  }
  const float tmin = tmax * x * 1.00001f;

  // Lightship gyradii.
  const float h = w1 / w2;
  const float sarea = l * d + b * l + b * d;
  const float d2 = d * d;
  const float b2 = b * b;
  const float l2 = l * l;
  const float roll_ls =
      std::sqrt((((d2 + b2) * h + (b2 * (3.0f * d * l + l * b + b * d) + d2 * (l * d + 3.0f * l * b + b * d)) / sarea) /
                 12.0f) /
                (1.0f + h));
  const float pitch_ls =
      std::sqrt((((d2 + l2) * h + (l2 * (3.0f * d * b + l * b + l * d) + d2 * (l * d + 3.0f * l * b + b * d)) / sarea) /
                 12.0f) /
                (1.0f + h));
  const float yaw_ls =
      std::sqrt((((l2 + b2) * h + (b2 * (3.0f * d * l + l * b + b * d) + l2 * (l * d + 3.0f * b * d + l * b)) / sarea) /
                 12.0f) /
                (1.0f + h));

  // Draft check.
  float vol = 0.0f;
  if (!(t > tmax)) {
    vol = vf * volfun(t / tmax, e);
    if (vol < vls) {
      if (draft_warning(s, out, in, "less", "minimum")) return EstimateStatus::kAborted;
      t = tmin;
      vol = vls;
    }
  } else {
    if (draft_warning(s, out, in, "greater", "maximum")) return EstimateStatus::kAborted;
    t = tmax;
    vol = vf;
  }

  const float xr = t / tmax;
  const float displacement = vol / kCubicFeetPerLongTon;
  float cargo = displacement - ls;
  if (cargo < 0.0f) cargo = 0.0f;
  const float fb = d - t;

  const float load_freeboard = 100.0f * ff / fb;
  const float load_draft = 100.0f * xr;
  const float load_displacement = 100.0f * displacement / df;

  const float awp = alpha(t, e, tmax) * af;
  const float cwt = awp / (b * l);
  const float cbt = vol / (b * l * t);

  const float vkb = t * (cwt / cbt + 2.0f) / 6.0f;
  const float vkg = (0.5f * d * cargo + zls * ls) / displacement;
  const float kmt = vkb + b2 * (3.0f * cwt - 1.0f) / (24.0f * t * cbt);
  const float kml = vkb + l2 * cwt * (2.0f * cwt * cwt - 2.0f * cwt + 1.0f) / (12.0f * t * cbt);

  const float lw = l * cwt;
  const float roll_cg = std::sqrt((d2 + b2) / 12.0f);
  const float pitch_cg = std::sqrt((d2 + lw * lw) / 12.0f);
  const float yaw_cg = std::sqrt((b2 + lw * lw) / 12.0f);
  const float xc = cargo / ls;
  const float a1 = vkg - 0.5f * d;
  const float a2 = vkg - zls;
  const float roll = std::sqrt(((a1 * a1 + roll_cg * roll_cg) * xc + a2 * a2 + roll_ls * roll_ls) / (1.0f + xc));
  const float pitch = std::sqrt(((a1 * a1 + pitch_cg * pitch_cg) * xc + a2 * a2 + pitch_ls * pitch_ls) / (1.0f + xc));
  const float yaw = std::sqrt((yaw_cg * yaw_cg * xc + yaw_ls * yaw_ls) / (1.0f + xc));

  head_wind += b * fb;
  beam_wind += l * fb;
  const float head_current = t * b;
  const float beam_current = t * l;

  // Record units.
  float lf = 1.0f;
  float af2 = 1.0f;
  float wf = 2.24f;
  if (unit_system == 1) {
    lf = 0.3048f;
    af2 = 0.09290304f;
    wf = 1.0160469f;
  }
  v[kTkDisplacement] = displacement * wf;
  v[kTkDisplacementLoad] = load_displacement;
  v[kTkLength] = l * lf;
  v[kTkBeam] = b * lf;
  v[kTkDraft] = t * lf;
  v[kTkRollGyradius] = roll * lf;
  v[kTkPitchGyradius] = pitch * lf;
  v[kTkYawGyradius] = yaw * lf;
  v[kTkWaterplaneArea] = awp * af2;
  v[kTkHeadCurrentArea] = head_current * af2;
  v[kTkBeamCurrentArea] = beam_current * af2;
  v[kTkFreeboardLoad] = load_freeboard;
  v[kTkDraftLoad] = load_draft;
  v[kTkTransverseKM] = kmt * lf;
  v[kTkLongitudinalKM] = kml * lf;
  v[kTkVKB] = vkb * lf;
  v[kTkVKG] = vkg * lf;
  v[kTkBilgeRadius] = bilge * lf;
  v[kTkDeadweight] = dwt;
  v[kTkHeadWindArea] = head_wind * af2;
  v[kTkBeamWindArea] = beam_wind * af2;
  set = v;
  return EstimateStatus::kDone;
}

int entest(Session& s, int out, int in, std::string& letters) {
  blank_line(s, out);
  s.write_line(out, " >>> Change items 1 or 2 for new estimates or input letter(s) (\"ACD...\")");
  s.write_line(out, "     to select individual replacements (or \"Z\" to replace all);");
  std::string prompt = "    \"?\" for help, <Return> to continue WITHOUT replacement: ";
  prompt.resize(60, ' ');
  wrtlin(s, prompt, out);

  std::string buffer = s.read_field(in, 20);
  buffer.resize(40, ' ');
  const char first = buffer[0];
  if (first == 'Z' || first == 'z') return kCopyAll;
  if (first == '1' || first == '2' || first == ' ') {
    // An unreadable number reads as an empty reply.
    return fin::read_int_bn(std::string_view(buffer).substr(0, 6)).value_or(0);
  }
  if (first == '?') return kNavHelp;
  letters.clear();
  for (char ch : buffer) {
    const char up = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    if (up >= 'A' && up <= 'Y') letters += up;
  }
  letters += ' ';
  return kNavBack;
}

void tnkhlp(Session& s, int out, int in, int /*item*/) {
  clear(s, out);
  static constexpr std::string_view kText[] = {
      "",
      " ++> Average-tanker estimates",
      "",
      "     The tanker database gives an internally consistent set of vessel",
      "     properties of an average crude-oil tanker from two independent",
      "     variables: the deadweight (ALWAYS in long tons) and the simulation",
      "     draft (in the units of the simulation, feet or meters). Change",
      "     item 1 or item 2 to compute a new set of estimates.",
      "",
      "     To copy estimates into the data file, enter the letter of a value",
      "     to copy that value, \"Z\" to copy all of them, or a string of",
      "     letters, with or without delimiters (AGQ or A,G,Q), to copy a",
      "     subset. <Return> leaves this page without changing the data file.",
      "",
      "     Use the estimates with care: tankers of equal deadweight differ",
      "     by 15% or more in their properties. The maximum displacement of",
      "     a tanker is its deadweight plus its lightship weight.",
  };
  for (std::string_view line : kText) s.write_line(out, line);
  int reply = 0;
  prsret(s, out, in, reply);
}

void tanker(Session& s, int in, std::size_t vessel_offset) {
  TankerState& st = s.state<TankerState>();
  const int out = s.tpcm.i(kOutputUnit);
  const int unit_system = s.tpcm.i(kUnitSystem);

  // The set lives for the run; it is refilled from the record on the first
  // visit and whenever the record's unit system changed since it was filled.
  if (st.frstim || st.filled_units != unit_system) fill_from_record(s, st, vessel_offset, unit_system);
  TankerSet& set = st.set;
  bool recompute = set[kTkDeadweight] > 0.0f && set[kTkDraft] > 0.0f;

  for (;;) {
    if (recompute) {
      estim8(s, set, out, in, unit_system);
      recompute = false;
    }
    show_page(s, set, out, unit_system);

    std::string letters;
    const int code = entest(s, out, in, letters);
    s.tpcm.i(kNavCode) = code;

    if (code == kNavHelp) {
      tnkhlp(s, out, in, s.tpcm.i(kPageCounter));
      continue;
    }
    if (code == kNavBack) {
      for (char letter : letters) {
        if (letter == ' ') break;
        const auto k = static_cast<std::size_t>(letter - 'A');
        if (k < kTankerValues) copy_to_record(s, set, k, vessel_offset, unit_system);
      }
      return;
    }
    if (code == kCopyAll) {
      for (std::size_t k = 0; k < kTankerValues; ++k) copy_to_record(s, set, k, vessel_offset, unit_system);
      return;
    }
    if (code < 1) return;

    // A new deadweight or draft: the set is estimated again at once. When
    // the estimation does not complete (the deadweight is refused, or the
    // user aborts at a warning) the whole previous set stays, the typed
    // value with it, so the page never shows estimates that do not belong
    // to its independent variables.
    const TankerSet previous = set;
    if (code == 1) {
      blank_line(s, out);
      fwrite(s, out, "('1. Deadweight ............... ',F7.0,' Long Tons')", {set[kTkDeadweight]});
      enterf(s, set[kTkDeadweight], out, in);
    } else if (code == 2) {
      blank_line(s, out);
      fwrite(s, out, "('2. Simulation Draft ......... ',F6.2,1X,A)", {set[kTkDraft], unitp(unit_system, kLengthLabel)});
      enterf(s, set[kTkDraft], out, in);
    }
    if (estim8(s, set, out, in, unit_system) != EstimateStatus::kDone) set = previous;
    recompute = false;
  }
}

}  // namespace kelp
