#pragma once
// The disc-buoy kernel's view of its records: the words of the work area
// himem that hold its results, the words of the data record each mode
// keeps, the per-frequency arrays of himem's storage pool, and the set-up a
// caller runs before the kernel to supply what the data record does not
// hold.
//
// The kernel keeps masses and inertias divided by the water density (masses
// are volumes, inertias volume times length squared).
#include <array>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "edlib/record/data_record.hpp"
#include "kelpkit/work_areas.hpp"

namespace kelp {

class Session;

// ---- Scalars of himem (reals unless marked int) ----
// Some values are kept twice, as the force and report routines read either.
inline constexpr std::size_t kHimemThicknessRatio = 9;       // h/a
inline constexpr std::size_t kHimemThicknessRatioCopy = 23;
inline constexpr std::size_t kHimemWaterplaneInertia = 11;   // I = V (KML - KB)
inline constexpr std::size_t kHimemWaterplaneInertiaCopy = 12;
inline constexpr std::size_t kHimemDiameter = 13;            // 2a
inline constexpr std::size_t kHimemDiameterCopy = 15;
inline constexpr std::size_t kHimemRollCentre = 18;          // VKR, natural roll centre above keel
inline constexpr std::size_t kHimemPitchCentre = 19;         // VKP, equal to VKR
inline constexpr std::size_t kHimemRollAddedInertia = 20;    // pitch added inertia of the last pass
inline constexpr std::size_t kHimemRollDamping = 21;         // quasi-linear roll damping
inline constexpr std::size_t kHimemThickness = 22;           // equivalent thickness h
inline constexpr std::size_t kHimemRadius = 24;              // equivalent radius a
inline constexpr std::size_t kHimemRadiusCopy = 43;
inline constexpr std::size_t kHimemGml = 26;                 // metacentric heights, equal
inline constexpr std::size_t kHimemGmt = 27;
inline constexpr std::size_t kHimemVolume = 28;              // displaced volume V
inline constexpr std::size_t kHimemVolumeCopy = 38;
inline constexpr std::size_t kHimemDepthRatio = 29;          // D/a
inline constexpr std::size_t kHimemPitchRestoring = 30;      // V GM g
inline constexpr std::size_t kHimemRollRestoring = 31;
inline constexpr std::size_t kHimemHeaveRestoring = 35;      // A_wp g
inline constexpr std::size_t kHimemPitchInertia = 36;        // V (d^2 c + k_pitch^2)
inline constexpr std::size_t kHimemRollInertia = 37;         // V (d^2 c + k_roll^2)
inline constexpr std::size_t kHimemCentreOffset = 39;        // e
inline constexpr std::size_t kHimemCentreOffsetRatio = 41;   // e/a
inline constexpr std::size_t kHimemInertiaRatio = 47;        // I / (V GM)
inline constexpr std::size_t kHimemPitchTotalInertia = 52;
inline constexpr std::size_t kHimemRollTotalInertia = 53;
inline constexpr std::size_t kHimemYawInertia = 54;          // V k_yaw^2
inline constexpr std::size_t kHimemHeaveMass = 55;           // total heave mass
inline constexpr std::size_t kHimemSurgeMass = 56;           // V (1 + c), surge and sway
inline constexpr std::size_t kHimemBesselTolerance = 59;     // relative accuracy handed to besj
inline constexpr std::size_t kHimemRadiusCubed = 60;
inline constexpr std::size_t kHimemRadiusFifth = 61;
inline constexpr std::size_t kHimemSwayCoefficient = 62;     // added-mass coefficient c of the spheroid
inline constexpr std::size_t kHimemSurgeCoefficient = 63;
inline constexpr std::size_t kHimemPitchAddedInertia = 89;
inline constexpr std::size_t kHimemKeelHeaveMass = 94;
inline constexpr std::size_t kHimemKeelInertia = 96;         // keel-ring added inertia in pitch and roll
inline constexpr std::size_t kHimemWaveSlope = 114;          // wave slope measure of the last mode
inline constexpr std::size_t kHimemForceMagnitude = 115;     // force magnitude of the last mode
inline constexpr std::size_t kHimemCentreFactor = 116;       // vertical-centre factor
inline constexpr std::size_t kHimemIndexBase = 165;          // int: i - 1
inline constexpr std::size_t kHimemHeadingTable = 19285;     // + entry: wave heading, degrees
inline constexpr std::size_t kHimemScaleFactors = 19935;     // six hydrostatic scale factors

// ---- Per-frequency arrays of the storage pool ----
// For the frequency index in word kHimemFrequencyIndex, indxup leaves each
// array's offset in its offset word. A real array's entry is pool word
// 19942 + offset; a complex array's real and imaginary parts are the words
// 19943 + 2 offset and the one after.
inline constexpr std::size_t kHimemOmegaAt = 166;        // real: omega
inline constexpr std::size_t kHimemSpareAt = 167;        // real: an array no routine here reads
inline constexpr std::size_t kHimemWaveNumberAt = 168;   // real: k
inline constexpr std::size_t kHimemHeaveForceAt = 169;   // complex arrays: forces, then responses
inline constexpr std::size_t kHimemSurgeForceAt = 170;
inline constexpr std::size_t kHimemSwayForceAt = 171;
inline constexpr std::size_t kHimemPitchForceAt = 172;
inline constexpr std::size_t kHimemRollForceAt = 173;
inline constexpr std::size_t kHimemYawForceAt = 174;
inline constexpr std::size_t kHimemComplexPool = 19943;

float pool_real(const Himem& h, std::size_t offset_word);
void set_pool_real(Himem& h, std::size_t offset_word, float v);
std::complex<float> pool_complex(const Himem& h, std::size_t offset_word);
void set_pool_complex(Himem& h, std::size_t offset_word, std::complex<float> v);

// For the index i in word kHimemFrequencyIndex: word 165 := i - 1, and each
// offset word 166..174 := i - 1 plus its array's base offset.
void indxup(Himem& h);

// The six modes, and the words each keeps. Surge, sway and yaw keep their
// given period and their computed stiffness in one word, and their given
// and computed damping in another.
enum DiscMode : int { kModePitch, kModeRoll, kModeHeave, kModeSurge, kModeSway, kModeYaw };
inline constexpr int kDiscModes = 6;

struct DiscModeWords {
  IntWord period_flag;          // 0 computed, 1 given
  IntWord damping_flag;         // 0 computed, 1 given
  RealWord given_period;        // s
  RealWord stiffness;           // computed mooring stiffness
  RealWord given_damping;       // percent of critical
  RealWord mooring_damping;     // computed mooring damping
  std::size_t frequency;        // himem real: natural frequency, rad/s
  std::size_t grid;             // himem int: grid index of the frequency
  std::size_t damping;          // himem real: quasi-linear damping
  std::size_t response;         // himem reals: complex response at the mode's own frequency
};

inline constexpr std::array<DiscModeWords, kDiscModes> kDiscModeWords = {{
    {kPitchPeriodMode, kPitchDampingMode, kPitchPeriod, kPitchMooringStiffness, kPitchDamping, kPitchMooringDamping,
     44, 49, 88, 102},
    {kRollPeriodMode, kRollDampingMode, kRollPeriod, kRollMooringStiffness, kRollDamping, kRollMooringDamping, 45, 50,
     21, 104},
    {kHeavePeriodMode, kHeaveDampingMode, kHeavePeriod, kHeaveMooringStiffness, kHeaveDamping, kHeaveMooringDamping,
     46, 51, 92, 100},
    {kSurgePeriodMode, kSurgeDampingMode, kSurgePeriod, kSurgePeriod, kSurgeDamping, kSurgeDamping, 82, 85, 90, 106},
    {kSwayPeriodMode, kSwayDampingMode, kSwayPeriod, kSwayPeriod, kSwayDamping, kSwayDamping, 83, 86, 91, 108},
    {kYawPeriodMode, kYawDampingMode, kYawPeriod, kYawPeriod, kYawDamping, kYawDamping, 84, 87, 93, 110},
}};

inline const DiscModeWords& mode_words(int mode) { return kDiscModeWords[static_cast<std::size_t>(mode)]; }

// ---- Small helpers of the kernel ----
inline constexpr float kDiscTwoPi = 6.2831855f;
inline constexpr float kDiscDegree = 57.295776f;  // degrees per radian

// The number of wave frequencies (word 166), held to 0..kWavePeriodsMax.
int disc_frequency_count(const Tpcm& t);
// The keel ratio r: width over root radius with a keel ring and a positive
// root radius, else 0.
float keel_ratio(const Tpcm& t);
// The wave heading of the heading-table entry in use, degrees.
float wave_heading(Session& s);
// The output unit of the kernel's messages (word 702).
int disc_out(const Session& s);
// The added-mass coefficient c = alpha / (2 - alpha) of the spheroid of
// radius a and half-height h, from the ellipsoid integral with the squared
// axis ratios (a/h)^2 and 1, given h/a. The large-count warning of the
// integral is shown once per session.
float spheroid_coefficient(Session& s, float thickness_ratio);
// x^5 as the old code multiplies it out.
inline float fifth_power(float x) {
  const float x2 = x * x;
  return x2 * x2 * x;
}

// ---- Set-up ----
// One mooring line as the line routines see it: its request code (the line
// type; above 1024 the line is left out), heading in degrees and horizontal
// range at the buoy's mean position. The record's line count (word 28381)
// says how many are used.
struct DiscLine {
  std::int32_t code = 0;
  float heading = 0.0f;
  float range = 0.0f;
};

// What the kernel needs that the data record does not hold.
struct DiscSetup {
  float gravity = 0.0f;            // g of the unit system
  float mass_density = 0.0f;       // water mass density for the true mooring forces
  float table_period = 0.0f;       // period of the nonlinear surge-correction table (moored), s
  float response_scale = 0.0f;     // response operator to surge amplitude
  float amplitude_scale = 0.0f;    // wave height to mode amplitude
  float wave_heading = 0.0f;       // degrees
  float equilibrium_heading = 0.0f;  // the buoy's mean heading the lines' headings are taken from, radians
  float bessel_tolerance = 1e-6f;  // relative accuracy of the Bessel functions
  std::vector<DiscLine> lines;     // a moored buoy's lines, at most kLegCapacity
};

inline constexpr int kDiscOk = 0;
inline constexpr int kDiscRefused = 1;

// The buoy's mean state the mooring is linearised about (the old record's
// word 1014, word 1045 for kind 13, of its equilibrium block).
struct Equilb {
  float heading = 0.0f;  // radians
};
inline Equilb& equilb(Session& s) { return s.state<Equilb>(); }

// Checks the set-up and the sea-state words of the record (word 166 at
// least 2, the periods and the depth positive, word 107 0 or 1, word 447
// positive) and fills the kernel's part of wavcom and himem: the frequency
// grid from the periods, the values above, the frequency scale
// sqrt(depth / g), and the per-frequency arrays laid out in the pool, with
// omega and k filled in; the lines go to the line work area. Refused: a
// message on the output unit, nothing set.
int disc_setup(Session& s, const DiscSetup& setup);

// Writes " ++> Disc buoy not analysed: <reason>" on the output unit and
// returns kDiscRefused.
int disc_refuse(Session& s, const char* reason);

}  // namespace kelp
