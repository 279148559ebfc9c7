#include "disc/s/disc_work_area.hpp"

#include <algorithm>
#include <cmath>
#include <span>
#include <stdexcept>
#include <string>

#include "kelpkit/numeric_messages.hpp"
#include "kelpkit/wave_formulas.hpp"
#include "moor/s/work_areas.hpp"
#include "sysutl/session.hpp"

namespace kelp {

namespace {

// Each offset word of indxup and the word holding its array's base offset.
struct ArrayBase {
  std::size_t offset_word;
  std::size_t base_word;
  bool is_complex;
};
constexpr std::array<ArrayBase, 9> kArrayBases = {{
    {kHimemOmegaAt, 19902, false},
    {kHimemSpareAt, 19904, false},
    {kHimemWaveNumberAt, 19903, false},
    {kHimemHeaveForceAt, 19898, true},
    {kHimemSurgeForceAt, 19896, true},
    {kHimemSwayForceAt, 19897, true},
    {kHimemPitchForceAt, 19900, true},
    {kHimemRollForceAt, 19899, true},
    {kHimemYawForceAt, 19901, true},
}};

// The pool word of an offset: offsets are non-negative by construction, so a
// negative one is a broken set-up and is refused like any word outside.
std::size_t pool_word(const Himem& h, std::size_t offset_word, std::size_t first, int stride) {
  const std::int64_t off = h.i(offset_word);
  const std::int64_t word = static_cast<std::int64_t>(first) + stride * off;
  if (off < 0 || word >= static_cast<std::int64_t>(kHimemWords)) {
    throw std::out_of_range("pool offset " + std::to_string(off) + " outside the work area");
  }
  return static_cast<std::size_t>(word);
}

bool positive(float v) { return std::isfinite(v) && v > 0.0f; }

}  // namespace

float pool_real(const Himem& h, std::size_t offset_word) { return h.r(pool_word(h, offset_word, kHimemPool, 1)); }

void set_pool_real(Himem& h, std::size_t offset_word, float v) { h.set_r(pool_word(h, offset_word, kHimemPool, 1), v); }

std::complex<float> pool_complex(const Himem& h, std::size_t offset_word) {
  const std::size_t w = pool_word(h, offset_word, kHimemComplexPool, 2);
  return {h.r(w), h.r(w + 1)};
}

void set_pool_complex(Himem& h, std::size_t offset_word, std::complex<float> v) {
  const std::size_t w = pool_word(h, offset_word, kHimemComplexPool, 2);
  h.set_r(w, v.real());
  h.set_r(w + 1, v.imag());
}

void indxup(Himem& h) {
  const std::int32_t before = h.i(kHimemFrequencyIndex) - 1;
  h.i(kHimemIndexBase) = before;
  for (const ArrayBase& a : kArrayBases) h.i(a.offset_word) = before + h.i(a.base_word);
}

int disc_frequency_count(const Tpcm& t) { return std::clamp(t.i(kWaveFrequencies), 0, kWavePeriodsMax); }

float keel_ratio(const Tpcm& t) {
  if (t.i(kBilgeKeel) == 0) return 0.0f;
  const float root = t.r(kBilgeKeelInboard);
  return root > 0.0f ? t.r(kBilgeKeelWidth) / root : 0.0f;
}

float wave_heading(Session& s) {
  const std::int64_t word = static_cast<std::int64_t>(kHimemHeadingTable) + wavcom(s).heading_index;
  return himem(s).r(static_cast<std::size_t>(std::clamp<std::int64_t>(word, 0, kHimemWords - 1)));
}

int disc_out(const Session& s) { return s.tpcm.i(kOutputUnit); }

namespace {
struct SpheroidWarning {
  int warned = 0;
};
}  // namespace

float spheroid_coefficient(Session& s, float thickness_ratio) {
  const float q = 1.0f / (thickness_ratio * thickness_ratio);
  float alpha = 0.0f;
  elpcof(s, q, 1.0f, 0, 1, alpha, disc_out(s), kKeyboard, s.state<SpheroidWarning>().warned, 0);
  return cofclc(1, alpha, q, 1.0f);
}

int disc_refuse(Session& s, const char* reason) {
  s.write_line(disc_out(s), std::string(" ++> Disc buoy not analysed: ").append(reason));
  return kDiscRefused;
}

namespace {

const char* invalid_setup(const Tpcm& t, const DiscSetup& set) {
  if (t.i(kWaveFrequencies) < 2) return "fewer than 2 wave periods.";
  const int n = disc_frequency_count(t);
  for (int i = 0; i < n; ++i) {
    if (!positive(t.r(kPeriods + static_cast<std::size_t>(i)))) return "a wave period is not positive.";
  }
  if (!positive(t.r(kWaterDepth))) return "the water depth is not positive.";
  const std::int32_t mode = t.i(kConstantSlope);
  if (mode != 0 && mode != 1) return "the wave size is neither a height (0) nor a slope (1).";
  if (!positive(t.r(kRegularHeight))) return "the wave height or slope is not positive.";
  if (!positive(set.gravity)) return "gravity is not positive.";
  if (!positive(set.mass_density)) return "the water mass density is not positive.";
  if (!positive(set.amplitude_scale)) return "the wave amplitude scale is not positive.";
  if (!std::isfinite(set.response_scale)) return "the surge amplitude scale is not a number.";
  if (t.i(kMooringFeedback) == 1 && !positive(set.table_period)) return "the correction-table period is not positive.";
  if (!std::isfinite(set.wave_heading) || !std::isfinite(set.equilibrium_heading)) {
    return "the wave or equilibrium heading is not a number.";
  }
  if (!positive(set.bessel_tolerance)) return "the Bessel tolerance is not positive.";
  if (set.lines.size() > static_cast<std::size_t>(kLegCapacity)) return "more than 150 mooring lines.";
  for (const DiscLine& line : set.lines) {
    if (!std::isfinite(line.heading) || !std::isfinite(line.range)) {
      return "a mooring line's heading or range is not a number.";
    }
  }
  return nullptr;
}

}  // namespace

int disc_setup(Session& s, const DiscSetup& set) {
  const Tpcm& t = s.tpcm;
  if (const char* reason = invalid_setup(t, set)) return disc_refuse(s, reason);
  const int n = disc_frequency_count(t);
  const float depth = t.r(kWaterDepth);
  std::array<float, kWavePeriodsMax> periods{};
  for (int i = 0; i < n; ++i) periods[static_cast<std::size_t>(i)] = t.r(kPeriods + static_cast<std::size_t>(i));

  Wavcom& w = wavcom(s);
  if (build_grid(w, set.gravity, depth, std::span<const float>(periods.data(), static_cast<std::size_t>(n))) !=
      kWaveOk) {
    return disc_refuse(s, "no wave number for a wave period.");
  }
  w.mass_density = set.mass_density;
  w.table_period = set.table_period;
  w.response_scale = set.response_scale;
  w.amplitude_scale = set.amplitude_scale;
  w.heading_index = 1;

  equilb(s).heading = set.equilibrium_heading;
  Lincom& lc = lincom(s);
  for (std::size_t j = 0; j < set.lines.size(); ++j) {
    lc.request_code[j] = set.lines[j].code;
    lc.heading[j] = set.lines[j].heading;
    lc.ranchr[j] = set.lines[j].range;
  }

  Himem& h = himem(s);
  h.set_r(kHimemHeadingTable + 1, set.wave_heading);
  h.set_r(kHimemBesselTolerance, set.bessel_tolerance);
  h.set_r(kHimemDepthScale, std::sqrt(depth / set.gravity));

  // The arrays one after the other: the real ones n words each, then the
  // complex ones n pairs each, starting past the real ones.
  std::int32_t next_real = 0;
  std::int32_t next_complex = 3 * n / 2;
  for (const ArrayBase& a : kArrayBases) {
    std::int32_t& next = a.is_complex ? next_complex : next_real;
    h.i(a.base_word) = next;
    next += n;
  }
  for (int i = 1; i <= n; ++i) {
    h.i(kHimemFrequencyIndex) = i;
    indxup(h);
    const auto k = static_cast<std::size_t>(i - 1);
    set_pool_real(h, kHimemOmegaAt, w.omega[k]);
    set_pool_real(h, kHimemWaveNumberAt, w.wave_number[k]);
  }
  return kDiscOk;
}

}  // namespace kelp
