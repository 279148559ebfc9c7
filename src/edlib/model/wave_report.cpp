#include "edlib/model/wave_report.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <string>
#include <vector>

#include "edlib/pagekit/page_output.hpp"
#include "edlib/record/data_record.hpp"
#include "kelpkit/report_lines.hpp"
#include "kelpkit/spectrum_names.hpp"
#include "kelpkit/table_search.hpp"
#include "kelpkit/wave_formulas.hpp"
#include "kelpkit/wave_spectra.hpp"
#include "kelpkit/work_areas.hpp"
#include "sysutl/conversions.hpp"
#include "sysutl/files_shell.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

constexpr std::string_view kCaller = "WAVEOUT";
constexpr float kTwoPi = 6.2831855f;
constexpr float kDegreesPerRadian = 57.295776f;
constexpr int kNoCarriageControl = 99;  // page(): none of the report's units takes the "1" line

// Steps of the period table may differ by this share of the first step
// (periods typed to two decimals).
constexpr float kStepTolerance = 0.01f;

// Group frequencies of the group table: 0, 0.0025, ... 0.185 rad/s.
constexpr int kGroupRows = 75;
constexpr float kGroupStep = 0.0025f;

// Row formats of the four tables, and their heading formats: each heading
// field spans the blanks before a value field and the field itself, so the
// heading texts end where the values do.
constexpr std::string_view kPropertyRow = "(1X,5(F8.2,3X),E10.3,2X,F8.3)";
constexpr std::string_view kPropertyHead = "(A9,4(A11),A13,A10)";
constexpr std::string_view kParticleRow = "(1X,F7.2,1X,3(F9.3,2X,F9.3,3X))";
constexpr std::string_view kParticleHead = "(A8,A10,A11,2(A12,A11))";
constexpr std::string_view kParticlePairs = "(A8,A21,2(A23))";
constexpr std::string_view kSpectrumRow2 = "(F11.3,3(F13.3),2(F13.4))";
constexpr std::string_view kSpectrumRow1 = "(F11.3,3(F13.3),F13.4)";
constexpr std::string_view kSpectrumHead = "(A11,5(A13))";
constexpr std::string_view kGroupRow2 = "(2X,F5.4,5X,F8.2,4X,F11.2,3X,F11.2,4X,1P,E9.2,5X,E9.2)";
constexpr std::string_view kGroupRow1 = "(2X,F5.4,5X,F8.2,4X,F11.2,4X,1P,E9.2)";
constexpr std::string_view kGroupInfinity2 = "(2X,F5.4,5X,A8,4X,A11,3X,A11,4X,1P,E9.2,5X,E9.2)";
constexpr std::string_view kGroupInfinity1 = "(2X,F5.4,5X,A8,4X,A11,4X,1P,E9.2)";
constexpr std::string_view kGroupHead2 = "(A7,A13,A15,A14,A13,A14)";
constexpr std::string_view kGroupHead1 = "(A7,A13,A15,A13)";

// Unit labels of the characteristics lines.
enum class Unit { kNone, kLength, kDegrees, kSeconds, kSpeed };

// One regular wave of the period table.
struct RegularWave {
  float period;
  float omega;
  float k;
  float length;     // 2 pi / k
  float other;      // the slope in degrees (height mode) or the height (slope mode)
  float phase;      // phase speed
  float group;      // group speed
  float amplitude;
  float tanh_kh;
};

// The group frequency of row j of the group table.
float group_frequency(int j) { return kGroupStep * static_cast<float>(j); }

// One sea system of the report as evaluated.
struct SeaReport {
  bool on = false;
  int code = 0;
  float height = 0.0f;      // the requested height shown and used for the slope
  float period = 0.0f;      // the peak period shown
  float calculated = 0.0f;  // 4 sqrt(m0)
  float peak_k = 0.0f;      // wave number at the peak
  int index = 1;            // grid index nearest the peak period
  float wind_speed = 0.0f;  // characteristic wind speed, 0.1412 g Tp
  float slope = 0.0f;       // slope of the significant wave at the peak, degrees
  // The group spectrum at the group frequencies of the group table.
  std::vector<float> group;
};

// The grid index nearest period t: the integer part of (t - T1) / dT + 1.5.
int nearest_index(float t, float first, float step) { return trunc_saturating((t - first) / step + 1.5f); }

std::string stars(std::size_t n) { return std::string(n, '*'); }

class WaveReport {
 public:
  explicit WaveReport(Session& s)
      : s_(s),
        t_(s.tpcm),
        out_(t_.i(kOutputUnit)),
        metric_(t_.i(kUnitSystem) != kUnitsEnglish ? 1 : 0),
        g_(metric_ != 0 ? 9.8f : 32.152f),
        len_(metric_ != 0 ? "m." : "ft"),
        slope_mode_(t_.i(kConstantSlope) == 1),
        depth_(t_.r(kWaterDepth)),
        count_(t_.i(kWaveFrequencies)) {}

  bool run() {
    t_.i(kNavCode) = 0;
    if (!check()) return false;
    if (!evaluate()) return false;

    s_.write_line(out_, "");
    s_.write_line(out_, " >>> Outputting wave kinematics data...");
    s_.write_line(out_, "");
    const bool to_file = t_.i(kOutputDevice) != kScreen;
    unit_ = to_file ? kListingUnit : kScreen;
    if (to_file && !open_staged_report(s_, std::string(kWaveReportFile), unit_, kCaller, out_)) return false;
    write();
    return !to_file || close_report(s_, unit_, kWaveReportFile, kCaller, out_);
  }

 private:
  // ---- Checks before anything is written ----

  bool refuse(std::string_view message) {
    s_.write_line(out_, "");
    s_.write_line(out_, message);
    int reply = 0;
    prsret(s_, out_, kKeyboard, reply);
    return false;
  }

  bool refuse_because(std::string_view reason) {
    return refuse(std::string(" ++> Wave report not written: ").append(reason));
  }

  bool check() {
    if (count_ < 2 || count_ > kWavePeriodsMax) {
      return refuse_because("the number of wave periods must lie between 2 and 100.");
    }
    for (int i = 0; i < count_; ++i) periods_.push_back(t_.r(kPeriods + static_cast<std::size_t>(i)));
    for (const float p : periods_) {
      if (!(std::isfinite(p) && p > 0.0f)) return refuse_because("the wave periods must be greater than zero.");
    }
    const float step = periods_[1] - periods_[0];
    for (std::size_t i = 1; i < periods_.size(); ++i) {
      if (!(step > 0.0f) || std::fabs(periods_[i] - periods_[i - 1] - step) > kStepTolerance * step) {
        return refuse_because("the wave periods must rise in equal steps.");
      }
    }
    if (!(std::isfinite(depth_) && depth_ > 0.0f)) return refuse_because("the water depth must be greater than zero.");
    if (t_.i(kSwellOn) != 0) {
      if (t_.i(kSwell1Spectrum) == kOchiHubble) {
        return refuse(" ++> The Ochi-Hubble spectrum cannot be used for swell seas.");
      }
      const int m = nearest_index(t_.r(kSwellPeriod), periods_.front(), step);
      if (m < 1 || m > count_) return refuse(" ++> Swell outside wave period range");
    }
    return true;
  }

  // ---- The grid, the regular waves and the spectra ----

  bool evaluate() {
    Wavcom& w = wavcom(s_);
    w.wave_density.fill(0.0f);
    w.swell_density.fill(0.0f);
    if (build_grid(w, g_, depth_, periods_) != kWaveOk) {
      return refuse_because("no wave number for a period of the table.");
    }
    const float value = t_.r(kRegularHeight);
    for (std::size_t i = 0; i < periods_.size(); ++i) {
      RegularWave r{};
      r.period = periods_[i];
      r.omega = w.omega[i];
      r.k = w.wave_number[i];
      const float kh = r.k * depth_;
      r.amplitude = slope_mode_ ? (value / kDegreesPerRadian) / r.k : value / 2.0f;
      r.other = slope_mode_ ? 2.0f * r.amplitude : r.amplitude * r.k * kDegreesPerRadian;
      r.length = kTwoPi / r.k;
      r.phase = r.omega / r.k;
      r.group = kh >= 80.0f ? r.phase / 2.0f
                            : (g_ / 2.0f) * (std::sinh(kh) + kh / std::cosh(kh)) / (r.omega * std::cosh(kh));
      r.tanh_kh = r.omega * r.omega / (g_ * r.k);
      waves_.push_back(r);
    }
    // A height or slope so large that a table value overflows is refused
    // like a spectrum that cannot be evaluated.
    if (!std::all_of(waves_.begin(), waves_.end(), [&](const RegularWave& r) { return regular_finite(r); })) {
      return refuse_because("the regular waves cannot be evaluated for this height or slope.");
    }

    waves_report_.on = t_.i(kIrregularOn) != 0;
    if (waves_report_.on && !evaluate_waves(w)) return false;
    swell_report_.on = t_.i(kSwellOn) != 0;
    if (swell_report_.on && !evaluate_swell(w)) return false;
    return true;
  }

  bool evaluate_waves(Wavcom& w) {
    SeaReport& r = waves_report_;
    r.code = t_.i(kSeaSpectrum);
    float hs = t_.r(kSeaHeights);
    float tp = t_.r(kSeaPeriods);
    if (r.code == kOchiHubble) {
      // The sea of all components, at the peak of the highest.
      const SeaState sea = sea_state(t_, kIrregularWaves);
      float sum = 0.0f;
      for (int j = 0; j < sea.ochi_count; ++j) {
        const float h = sea.ochi_height[static_cast<std::size_t>(j)];
        sum += h * h;
      }
      int imin = 1;
      int imax = 1;
      float hmin = 0.0f;
      float hmax = 0.0f;
      int mono = 0;
      int up = 0;
      max_min(sea.ochi_height, sea.ochi_count, imin, imax, hmin, hmax, mono, up);
      hs = std::sqrt(sum);
      tp = sea.ochi_period[static_cast<std::size_t>(std::clamp(imax, 1, kOchiComponentsMax) - 1)];
    }
    float wp = 0.0f;
    if (!spectrum(w, kIrregularWaves, w.wave_density, hs, tp, wp, r)) return false;
    r.height = hs;
    r.period = tp;
    // A peak off the grid takes the group speed of the nearest end.
    r.index = std::clamp(nearest_index(tp, w.first_period, w.period_step), 1, w.count);
    w.wave_code = r.code;
    w.wave_height = hs;
    w.wave_period = tp;
    w.wave_peak_omega = wp;
    w.wave_peak_k = r.peak_k;
    return derive_and_check(w, w.wave_density, r, "the wave spectrum cannot be evaluated for these values.");
  }

  bool evaluate_swell(Wavcom& w) {
    SeaReport& r = swell_report_;
    r.code = t_.i(kSwell1Spectrum);
    r.height = t_.r(kSwellHeight);
    r.period = t_.r(kSwellPeriod);
    r.index = nearest_index(r.period, w.first_period, w.period_step);  // on the grid (checked)
    float hs = r.height;
    float tp = r.period;
    float wp = 0.0f;
    if (!spectrum(w, kFirstSwell, w.swell_density, hs, tp, wp, r)) return false;
    w.swell_bandwidth = t_.r(kSeaSystemWords[kFirstSwell].bandwidth);
    w.swell_index = r.index;
    w.swell_height = r.calculated;
    w.swell_peak_omega = wp;
    w.swell_peak_k = r.peak_k;
    return derive_and_check(w, w.swell_density, r, "the swell spectrum cannot be evaluated for these values.");
  }

  // The densities of one sea system and the height of their zeroth moment.
  bool spectrum(const Wavcom& w, int isea, std::span<float> dens, float& hs, float& tp, float& wp, SeaReport& r) {
    float wk = 0.0f;
    if (wvspec(s_, r.code, dens, hs, tp, wp, wk, isea) != kSpectrumOk) return false;
    float m0 = 0.0f;
    float m2 = 0.0f;
    smpint(w, dens, m0, m2);
    r.calculated = 4.0f * std::sqrt(m0);
    r.peak_k = wk;
    return true;
  }

  // The values the report derives from a sea system's densities, and the
  // check that every value shown of it is finite. Single precision overflows
  // or divides by zero for some finite sea states (a huge height, a tiny
  // sigma, huge densities in the user file); such a sea system is refused
  // here, before anything is written, rather than reported as "NaN" or
  // "Infinity".
  bool derive_and_check(const Wavcom& w, std::span<const float> dens, SeaReport& r, std::string_view reason) {
    r.wind_speed = 0.1412f * g_ * r.period;
    r.slope = 0.5f * kDegreesPerRadian * r.height * r.peak_k;
    r.group.assign(kGroupRows, 0.0f);
    for (int j = 0; j < kGroupRows; ++j) grpspc(w, dens, r.group[static_cast<std::size_t>(j)], group_frequency(j));
    const auto finite = [](std::span<const float> values) {
      return std::all_of(values.begin(), values.end(), [](float v) { return std::isfinite(v); });
    };
    const std::array<float, 5> shown = {r.height, r.period, r.calculated, r.wind_speed, r.slope};
    if (finite(shown) && finite(dens.first(waves_.size())) && finite(r.group)) return true;
    return refuse_because(reason);
  }

  // ---- Writing ----

  void pause() {
    if (unit_ != out_) return;
    int reply = 0;
    prsret(s_, out_, kKeyboard, reply);
  }

  void page_break() { page(s_, unit_, kScreen, kNoCarriageControl); }

  void line(std::string_view text) { s_.write_line(unit_, text); }

  void put(std::string_view format, const std::vector<fmt::Item>& items) { fwrite(s_, unit_, format, items); }

  void write() {
    regular_section(" >>> Wave Properties");
    property_table();
    pause();
    page_break();
    regular_section(" >>> Water Particle Dynamics At Surface");
    particle_table();
    pause();
    if (!waves_report_.on && !swell_report_.on) return;
    page_break();
    spectral_title(20, "   Irregular Wave Spectral", 19);
    characteristics();
    spectrum_table();
    page_break();
    spectral_title(16, "   Irregular Wave Group Spectral", 17);
    characteristics();
    group_table();
    pause();
    page_break();
  }

  std::string length_unit(std::string_view before = "(", std::string_view after = ")") const {
    return std::string(before).append(len_).append(after);
  }

  // The third column: the quantity the record does not fix.
  std::string other_name() const { return slope_mode_ ? "Height" : "Slope"; }
  std::string other_unit() const { return slope_mode_ ? length_unit() : "(deg)"; }

  void regular_section(std::string_view heading) {
    line("");
    line("   " + stars(15) + "       REGULAR WAVE KINEMATICS" + " SUMMARY      " + stars(15));
    lines(s_, unit_, 2);
    line(heading);
    lines(s_, unit_, 2);
    put("(T28,'Water Depth    =',F10.2,1X,A)", {depth_, len_});
    put("(T28,'Wave ',A,'   =',F10.2,1X,A)",
        {std::string(slope_mode_ ? "Slope  " : "Height "), t_.r(kRegularHeight),
         std::string(slope_mode_ ? "degrees" : len_)});
    lines(s_, unit_, 3);
  }

  void property_table() {
    const std::string speed = length_unit("(", "/Sec)");
    put(kPropertyHead, {"Wave", "Wave", "Wave", "Wave", "Wave", "Wave", "Circular"});
    put(kPropertyHead, {"Period", "Length", other_name(), "Phase", "Group", "Number", "Frequency"});
    put(kPropertyHead, {"(Sec)", length_unit(), other_unit(), "Speed", "Speed", length_unit("(1/"), "(Rad/Sec)"});
    put(kPropertyHead, {"", "", "", speed, speed, "", ""});
    line("");
    for (const RegularWave& r : waves_) {
      put(kPropertyRow, {r.period, r.length, r.other, r.phase, r.group, r.k, r.omega});
    }
  }

  // The particle motions at the surface of one regular wave: horizontal and
  // vertical acceleration (in g), velocity and displacement.
  std::array<float, 6> particle_motions(const RegularWave& r) const {
    const float disp = r.amplitude;
    const float vel = r.amplitude * r.omega;
    const float acc = r.amplitude * r.omega * r.omega / g_;
    return {acc / r.tanh_kh, acc, vel / r.tanh_kh, vel, disp / r.tanh_kh, disp};
  }

  // Whether every value the property and particle tables show of a regular
  // wave is finite.
  bool regular_finite(const RegularWave& r) const {
    const std::array<float, 7> shown = {r.k, r.length, r.other, r.phase, r.group, r.amplitude, r.tanh_kh};
    const auto motions = particle_motions(r);
    const auto finite = [](float v) { return std::isfinite(v); };
    return std::all_of(shown.begin(), shown.end(), finite) && std::all_of(motions.begin(), motions.end(), finite);
  }

  void particle_table() {
    put(kParticlePairs, {"Wave", "Acceleration (G's)", "Velocity " + length_unit("(", "/Sec)"),
                         "Displacement " + length_unit()});
    put(kParticleHead, {"Period", "Horiz.", "Vertical", "Horiz.", "Vertical", "Horiz.", "Vertical"});
    put(kParticleHead, {"(Sec)", "", "", "", "", "", ""});
    line("");
    for (const RegularWave& r : waves_) {
      const auto m = particle_motions(r);
      put(kParticleRow, {r.period, m[0], m[1], m[2], m[3], m[4], m[5]});
    }
  }

  void spectral_title(std::size_t before, std::string_view title, std::size_t after) {
    line("   " + stars(before) + std::string(title) + " Values  " + stars(after));
    line("");
  }

  void value_line(std::string_view label, float value, Unit unit) {
    UnitLabelFn label_of;
    int code = 0;
    const int metric = metric_;
    switch (unit) {
      case Unit::kNone:
        break;
      case Unit::kLength:
      case Unit::kSpeed:
        label_of = [metric](int offset) { return unitp(metric, offset); };
        code = unit == Unit::kLength ? 7 : 14;
        break;
      case Unit::kDegrees:
      case Unit::kSeconds:
        label_of = [](int offset) { return unitp(kUnitsEnglish, offset); };
        code = unit == Unit::kDegrees ? 2 : 16;
        break;
    }
    onelin(s_, label, static_cast<int>(label.size()), value, label_of, code, unit_);
  }

  void characteristics() {
    put("(5X,'----  Wave Characteristics  ----'/)", {});
    if (const SeaReport& r = waves_report_; r.on) {
      const bool short_crested = t_.i(kSpreadingOn) != 0;
      put("(5X,A,' Spectral Type -- ',A/)",
          {"Wave", report_spectrum_name(r.code) + (short_crested ? "; Short-crested seas" : "; Long-crested seas")});
      if (short_crested) value_line("Power of Cosine in spreading factor", t_.r(kSpreadPower), Unit::kNone);
      if (r.code != kUserSpectrum && r.code != kLegacySpectrum) {
        value_line("Requested Significant wave height", r.height, Unit::kLength);
      }
      value_line("Calculated Significant wave height", r.calculated, Unit::kLength);
      value_line("Direction of maximum seas", t_.r(kIrregularHeadings), Unit::kDegrees);
      value_line("Spectrum peak period", r.period, Unit::kSeconds);
      value_line("Spectrum characteristic wind speed", r.wind_speed, Unit::kSpeed);
      value_line("Spectrum characteristic wave slope", r.slope, Unit::kDegrees);
      if (r.code == kSwellSpectrum) {
        value_line("Swell spectral bandwidth", t_.r(kSeaSystemWords[kIrregularWaves].bandwidth), Unit::kNone);
      }
    }
    if (const SeaReport& r = swell_report_; r.on) {
      put("(/5X,A,' Spectral Type -- ',A/)", {"Swell", wavprt(r.code)});
      value_line("Requested Significant swell height", r.height, Unit::kLength);
      value_line("Calculated Significant swell height", r.calculated, Unit::kLength);
      value_line("Swell direction", t_.r(kSwellDirection), Unit::kDegrees);
      value_line("Swell period", r.period, Unit::kSeconds);
      value_line("Swell characteristic wave slope", r.slope, Unit::kDegrees);
      value_line("Swell spectral bandwidth", t_.r(kSeaSystemWords[kFirstSwell].bandwidth), Unit::kNone);
    }
  }

  // The sea systems that are on, waves first: their column heading,
  // densities and group spectrum, and the group speed at their peak.
  struct SeaColumn {
    std::string heading;
    std::span<const float> density;
    std::span<const float> group;
    float peak_group_speed;
  };

  std::vector<SeaColumn> sea_columns() const {
    const Wavcom& w = wavcom(s_);
    std::vector<SeaColumn> seas;
    const auto group_speed = [&](const SeaReport& r) { return waves_[static_cast<std::size_t>(r.index - 1)].group; };
    if (waves_report_.on) seas.push_back({"Wave ", w.wave_density, waves_report_.group, group_speed(waves_report_)});
    if (swell_report_.on) seas.push_back({"Swell", w.swell_density, swell_report_.group, group_speed(swell_report_)});
    return seas;
  }

  using Heading = std::vector<std::vector<fmt::Item>>;

  // Adds one column to each line of a heading.
  static void add_column(Heading& head, const std::vector<std::string>& texts) {
    for (std::size_t k = 0; k < head.size(); ++k) head[k].emplace_back(texts[k]);
  }

  void put_heading(std::string_view format, const Heading& head) {
    line("");
    for (const auto& l : head) put(format, l);
    line("");
  }

  void spectrum_table() {
    const std::vector<SeaColumn> seas = sea_columns();
    Heading head = {{"Wave", "Wave", "Wave", "Wave"},
                    {"Period", "Frequency", "Length", other_name()},
                    {"(Sec)", "(rad/sec)", length_unit(), other_unit()},
                    {"", "", "", ""}};
    for (const SeaColumn& sea : seas) add_column(head, {sea.heading, "Spectrum", len_ + "^2", "/[rad/sec]"});
    put_heading(kSpectrumHead, head);
    for (std::size_t i = 0; i < waves_.size(); ++i) {
      const RegularWave& r = waves_[i];
      std::vector<fmt::Item> row = {r.period, r.omega, r.length, r.other};
      for (const SeaColumn& sea : seas) row.emplace_back(sea.density[i]);
      put(seas.size() == 2 ? kSpectrumRow2 : kSpectrumRow1, row);
    }
  }

  void group_table() {
    const std::vector<SeaColumn> seas = sea_columns();
    const bool both = seas.size() == 2;
    Heading head = {{"Group", "Group"}, {"Freq.", "Period"}, {"(rad/s)", "(Sec)"}, {"", ""}, {"", ""}};
    for (const SeaColumn& sea : seas) add_column(head, {sea.heading, "Intergroup", "Spacing", length_unit(), ""});
    for (const SeaColumn& sea : seas) add_column(head, {sea.heading, "Group", "Spectrum", len_ + "^4", "/[rad/sec]"});
    put_heading(both ? kGroupHead2 : kGroupHead1, head);

    for (int j = 0; j < kGroupRows; ++j) {
      const float mu = group_frequency(j);
      // The group period and the distance between groups, infinite at mu = 0.
      const auto infinite_or = [&](float factor) -> fmt::Item {
        if (j == 0) return std::string("Infinity");
        return kTwoPi / mu * factor;
      };
      std::vector<fmt::Item> row = {mu, infinite_or(1.0f)};
      for (const SeaColumn& sea : seas) row.push_back(infinite_or(sea.peak_group_speed));
      for (const SeaColumn& sea : seas) row.emplace_back(sea.group[static_cast<std::size_t>(j)]);
      if (j == 0) {
        put(both ? kGroupInfinity2 : kGroupInfinity1, row);
      } else {
        put(both ? kGroupRow2 : kGroupRow1, row);
      }
    }
  }

  Session& s_;
  Tpcm& t_;
  const int out_;
  const int metric_;  // unit word: 0 English, 1 metric
  const float g_;
  const std::string len_;
  const bool slope_mode_;
  const float depth_;
  const int count_;
  int unit_ = kScreen;  // the unit the report goes to
  std::vector<float> periods_;
  std::vector<RegularWave> waves_;
  SeaReport waves_report_;
  SeaReport swell_report_;
};

}  // namespace

bool wavout(Session& s) { return WaveReport(s).run(); }

}  // namespace kelp
