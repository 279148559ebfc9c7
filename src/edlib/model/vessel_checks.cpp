#include "edlib/model/vessel_checks.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "edlib/model/member_checks.hpp"
#include "edlib/record/data_record.hpp"
#include "edlib/record/member_table.hpp"
#include "kelpkit/flag_fields.hpp"
#include "kelpkit/wave_formulas.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

constexpr int kMaxPeriods = 100;
constexpr int kMaxCases = 6;       // entries of the height and period lists
constexpr int kMaxComponents = 4;  // Ochi-Hubble components the irregular-seas page offers

// Spectrum codes.
constexpr int kPiersonMoskowitz = 1;
constexpr int kUserSpectrumFile = 7;
constexpr int kLegacyCustom = 8;
constexpr int kOchiHubble = 9;

// Wave-drift source codes of word 786.
constexpr int kDriftUserFile = 1;
constexpr int kDriftTankerLegacy = 2;
constexpr int kDriftSemiLegacy = 3;
constexpr int kDriftBuoy = 4;
constexpr int kDriftSpar = 5;
constexpr int kDriftTanker2001 = 6;
constexpr int kDriftSemi2001 = 7;

constexpr int kUserLowdat = 1;  // code of the wind and current selectors
constexpr int kMessagesPerScreen = 7;

bool two_vessels(int kind) { return kind == 10 || kind == 13; }

// Spectra given as densities (a user file, or the legacy densities at the
// regular-wave periods) rather than from a height and a peak period.
bool given_as_densities(int code) { return code == kUserSpectrumFile || code == kLegacyCustom; }

// One vessel's words: the first vessel, or the second one of kinds 10 and 13.
class Vessel {
 public:
  Vessel(const Tpcm& t, std::size_t offset) : t_(t), offset_(offset) {}
  float r(std::size_t word) const { return t_.r(word + offset_); }
  int i(std::size_t word) const { return t_.i(word + offset_); }
  bool any_nonpositive(std::initializer_list<std::size_t> words) const {
    return std::ranges::any_of(words, [this](std::size_t w) { return r(w) <= 0.0f; });
  }

 private:
  const Tpcm& t_;
  std::size_t offset_;
};

class Checks : CheckReporter {
 public:
  Checks(Session& s, int& nwarn, int& nfatal)
      : CheckReporter(s, s.tpcm.i(kOutputUnit), nwarn, nfatal), t_(s.tpcm), kind_(t_.i(kProgramKind)) {
    vessels_.emplace_back(t_, 0);
    if (two_vessels(kind_)) vessels_.emplace_back(t_, kTwinOffset);
  }

  void run();

 private:
  template <class Test>
  bool any_vessel(Test test) const {
    return std::ranges::any_of(vessels_, test);
  }
  bool field_holds(std::int32_t selector, int code) { return oneon(s_, selector, code, out_); }
  int field(std::int32_t selector, int f) { return nibval(s_, selector, f, out_); }

  void normalise();
  bool member_checks();
  bool irregular_problem();
  bool regular_height_mismatch();
  bool height_matches(float hs, float peak, int code) const;
  bool drift_factor_problem(const Vessel& v);
  bool legacy_flags_mixed();
  bool drift_type_mismatch(const Vessel& v);
  bool period_array_problem() const;

  Tpcm& t_;
  int kind_;
  std::vector<Vessel> vessels_;
};

}  // namespace

void CheckReporter::message(std::initializer_list<std::string_view> lines) {
  s_.write_line(out_, "");
  for (auto line : lines) s_.write_line(out_, line);
}

void CheckReporter::warning(std::initializer_list<std::string_view> lines) {
  message(lines);
  count_warning();
}

void CheckReporter::fatal(std::initializer_list<std::string_view> lines) {
  message(lines);
  count_fatal();
}

void CheckReporter::count_warning() { wrninc(s_, nwarn_, nwarn_, nfatal_, out_, kKeyboard, kMessagesPerScreen); }

void CheckReporter::count_fatal() { wrninc(s_, nfatal_, nwarn_, nfatal_, out_, kKeyboard, kMessagesPerScreen); }

namespace {

void Checks::normalise() {
  if (t_.i(kSwellOn) == 0) t_.i(kSwell2On) = 0;
  if (t_.r(kSpeed) == 0.0f) t_.set_r(kMotionDirection, 0.0f);
  if (t_.r(kSpeed + kTwinOffset) == 0.0f) t_.set_r(kMotionDirection + kTwinOffset, 0.0f);
  if (t_.i(kAuxForceOn) == 0) {
    t_.i(kAuxForce2On) = 0;
    t_.i(kAuxForce3On) = 0;
  } else if (t_.i(kAuxForce2On) == 0) {
    t_.i(kAuxForce3On) = 0;
  }
  const int type = t_.i(kVesselType);
  t_.i(kMemberModel) = (type == 3 || type == 5 || type == 6) ? 1 : 0;
  t_.i(kVersionIncrement) = 0;
}

// Members 1 to 50; returns whether any member crosses the waterline (or has
// a fatal finding). The two-vessel kinds start as if one did.
bool Checks::member_checks() {
  int icross = two_vessels(kind_) ? 1 : 0;
  for (int m = 1; m <= member::kMaxMembers; ++m) {
    int iwarn = 0;
    int ifatal = 0;
    int ipause = 0;
    chkpak(s_, m, iwarn, ifatal, ipause, icross);
    if (ifatal != 0) count_fatal();
    if (iwarn != 0) count_warning();
  }
  return icross != 0;
}

// The cases of the irregular seas: the Ochi-Hubble components for code 9,
// else the cases of each heading, within the lists they index.
int irregular_case_count(const Tpcm& t) {
  if (t.i(kSeaSpectrum) == kOchiHubble) return std::clamp(t.i(kOchiCount), 0, kMaxComponents);
  return std::clamp(t.i(kIrregularCases), 0, kMaxCases);
}

// Every case's height must be positive whatever the spectrum; the peak period
// only where the spectrum takes it (not for Pierson-Moskowitz, whose period
// follows from the height, nor for the user and legacy density spectra). A
// swell that is on needs a positive height and period whatever its code.
bool Checks::irregular_problem() {
  if (t_.i(kIrregularOn) != 0) {
    const int code = t_.i(kSeaSpectrum);
    const bool takes_period = code != kPiersonMoskowitz && !given_as_densities(code);
    for (int c = 0; c < irregular_case_count(t_); ++c) {
      const auto k = static_cast<std::size_t>(c);
      if (t_.r(kSeaHeights + k) <= 0.0f) return true;
      if (takes_period && t_.r(kSeaPeriods + k) <= 0.0f) return true;
    }
  }
  const auto swell_problem = [this](std::size_t on, std::size_t height, std::size_t period) {
    return t_.i(on) != 0 && (t_.r(height) <= 0.0f || t_.r(period) <= 0.0f);
  };
  return swell_problem(kSwellOn, kSwellHeight, kSwellPeriod) || swell_problem(kSwell2On, kSwell2Height, kSwell2Period);
}

// Whether the regular wave (height, or slope in degrees) matches 0.707 times
// the significant height hs of one sea state.
bool Checks::height_matches(float hs, float peak, int code) const {
  const float g = t_.i(kUnitSystem) == kUnitsEnglish ? 32.152f : 9.8f;
  const float period = code == kPiersonMoskowitz ? 15.66f * std::sqrt(hs / g) : peak;
  float h = 0.707f * hs;
  // The slope needs a positive period and depth; without them (reported as
  // fatal elsewhere) this sea state matches nothing.
  if (t_.i(kConstantSlope) == 1 && cnhtsp(h, period, t_.r(kWaterDepth), g) != kWaveOk) return false;
  const float regular = t_.r(kRegularHeight);
  return regular != 0.0f && std::fabs(h / regular - 1.0f) <= 0.2f;
}

// The regular wave is compared when the irregular seas are not given as
// densities, or a swell is on; then every irregular case (whatever its
// spectrum) and the swell are candidates, and one match is enough.
bool Checks::regular_height_mismatch() {
  const bool irregular_on = t_.i(kIrregularOn) != 0;
  const bool swell_on = t_.i(kSwellOn) != 0;
  const bool compared = (irregular_on && !given_as_densities(t_.i(kSeaSpectrum))) || swell_on;
  if (!compared) return false;
  if (irregular_on) {
    for (int c = 0; c < irregular_case_count(t_); ++c) {
      const auto k = static_cast<std::size_t>(c);
      if (height_matches(t_.r(kSeaHeights + k), t_.r(kSeaPeriods + k), t_.i(kSeaSpectrum))) return false;
    }
  }
  return !(swell_on && height_matches(t_.r(kSwellHeight), t_.r(kSwellPeriod), t_.i(kSwell1Spectrum)));
}

bool Checks::drift_factor_problem(const Vessel& v) {
  const std::int32_t selector = v.i(kDriftSelector);
  const auto negative = [&v](std::initializer_list<std::size_t> words) {
    return std::ranges::any_of(words, [&v](std::size_t w) { return v.r(w) < 0.0f; });
  };
  if ((field_holds(selector, kDriftTankerLegacy) || field_holds(selector, kDriftTanker2001)) &&
      negative({1360, 1366})) {
    return true;
  }
  return field_holds(selector, kDriftTanker2001) && negative({1363, 1367, 1403, 1404});
}

bool Checks::legacy_flags_mixed() {
  const bool current = t_.i(kCurrentOn) == 1;
  const int wave_current = t_.i(kLegacyCurrentDrift);
  const int dissipation = t_.i(kLegacyPeakModel);
  const int reflection = t_.i(kExcludeWaveAbsorption);
  int state = 0;  // 0 none legacy, 1 all legacy, 2 mixed
  if (dissipation == 1 && reflection == 1) {
    state = current && wave_current != 1 ? 2 : 1;
  } else if (dissipation == 0 && reflection == 0) {
    state = current && wave_current != 0 ? 2 : 0;
  }
  const std::int32_t selector = t_.i(kDriftSelector);
  return state == 2 || (field_holds(selector, kDriftTankerLegacy) && state != 1) ||
         ((field_holds(selector, kDriftSpar) || field_holds(selector, kDriftTanker2001) ||
           field_holds(selector, kDriftSemi2001)) &&
          state != 0);
}

// The wave-drift models of the three axes against the vessel type.
bool Checks::drift_type_mismatch(const Vessel& v) {
  std::vector<int> allowed;
  const int type = v.i(kVesselType);
  if (type == 1) {
    allowed = {kDriftUserFile, kDriftTankerLegacy, kDriftTanker2001};
  } else if (v.i(kMemberModel) != 0) {
    allowed = {kDriftUserFile, kDriftSemiLegacy, kDriftSpar, kDriftSemi2001};
  } else if (type == 4) {
    allowed = {kDriftUserFile, kDriftBuoy};
  } else {
    return false;
  }
  for (int f = 1; f <= 3; ++f) {
    if (std::ranges::find(allowed, field(v.i(kDriftSelector), f)) == allowed.end()) return true;
  }
  return false;
}

// The regular-wave periods must rise in equal steps from a positive first
// period; returns whether they do not.
bool Checks::period_array_problem() const {
  const int n = std::clamp(t_.i(kWaveFrequencies), 0, kMaxPeriods);
  if (n < 2) return true;
  const float step = t_.r(kPeriods + 1) - t_.r(kPeriods);
  if (!(step > 0.0f) || t_.r(kPeriods) <= 0.0f) return true;
  for (int i = 1; i < n; ++i) {
    const auto k = static_cast<std::size_t>(i);
    const float interval = t_.r(kPeriods + k) - t_.r(kPeriods + k - 1);
    if (!(std::fabs(interval - step) <= 0.001f) || t_.r(kPeriods + k) <= 0.0f) return true;
  }
  return false;
}

void Checks::run() {
  if (t_.i(kPrintPass) == 0) clear(s_, out_);
  normalise();
  const Vessel& first = vessels_.front();
  const bool irregular_on = t_.i(kIrregularOn) != 0;
  const bool swell_on = t_.i(kSwellOn) != 0;

  // 1
  if (any_vessel([](const Vessel& v) { return v.r(kSpeed) != 0.0f && v.i(kUserRaos) != 0; })) {
    warning({" ++> Warning: Nonzero forward speed with User-specified vessel RAOs."});
  }
  // 2
  if (kind_ != 14 && any_vessel([](const Vessel& v) {
        return v.r(kMetacentreT) == v.r(kGravityCentre) || v.r(kMetacentreL) == v.r(kGravityCentre);
      })) {
    warning({" ++> Warning: A vessel GM is zero."});
  }
  // 3
  if (any_vessel([](const Vessel& v) { return v.any_nonpositive({kPitchGyradius, kPitchGyradius + 1, kPitchGyradius + 2}); })) {
    fatal({" ++> Fatal Warning: A vessel gyradii is nonpositive."});
  }
  // 4
  if (two_vessels(kind_) && t_.i(kMemberModel) != 0 && t_.i(kMemberModel + kTwinOffset) != 0) {
    fatal({" ++> Fatal Warning: Only *ONE* vessel can be type \"Semisubmersible\"."});
  }
  // 5, 6 and 7: the member model.
  if (any_vessel([](const Vessel& v) { return v.i(kMemberModel) != 0; })) {
    const bool crossing = member_checks();
    if (!two_vessels(kind_) && !crossing && t_.r(kWaterplaneArea) != 0.0f) {
      warning({" ++> Warning: No member crosses the waterline."});
    }
    if ((two_vessels(kind_) || kind_ > 9) && first.any_nonpositive({kSemiFactors, kSemiFactors + 1})) {
      warning({" ++> Warning: Nonpositive semisubmersible geometry & shadowing factors detected."});
    }
  }
  // 8, 9 and 10
  if (kind_ >= 10) {
    if (t_.i(kWindOn) != 0 && any_vessel([](const Vessel& v) { return v.any_nonpositive({1352, 1354, 1361}); })) {
      warning({" ++> Warning: A wind area or coefficient is nonpositive."});
    }
    if (t_.i(kCurrentOn) != 0 && any_vessel([](const Vessel& v) { return v.any_nonpositive({1356, 1358}); })) {
      warning({" ++> Warning: A current area or coefficient is nonpositive."});
    }
    if (kind_ > 10 && kind_ != 13 && t_.r(kStormDuration) <= 0.0f) {
      warning({" ++> Warning: Nonpositive storm duration detected."});
    }
  }
  // 11
  if (irregular_problem()) {
    fatal({" ++> Fatal Warning: Irregular wave specif" "ication problem. Check for:",
           "     - A nonpositive significant wave height.", "     - A nonpositive peak period."});
  }
  // 12
  if (regular_height_mismatch()) {
    warning({" ++> Warning: discrepancy between regular and irregular wave heights.",
             "     To disable warning, use regular ht. = (irregular ht.)/sqrt(2)."});
  }
  // 13
  if (t_.r(kWaterDepth) <= 0.0f) fatal({" ++> Fatal Warning: The water depth is nonpositive."});
  // 14
  if (kind_ != 14 && any_vessel([](const Vessel& v) {
        return v.r(kMetacentreT) < v.r(kGravityCentre) || v.r(kMetacentreL) < v.r(kGravityCentre);
      })) {
    warning({" ++> Warning: A vessel GM is negative."});
  }
  // 15
  if (any_vessel([](const Vessel& v) { return v.any_nonpositive({kDisplacement, kDraft, kWaterlineLength, kWaterlineBeam}); })) {
    warning({" ++> Warning: A vessel beam, length, draft,", "     or displacement is nonpositive."});
  }
  // 16
  if (any_vessel([](const Vessel& v) { return v.r(kWaterplaneArea) <= 0.0f && v.i(kMemberModel) != 1; })) {
    fatal({" ++> Fatal Warning: A vessel water plane area is nonpositive."});
  }
  // 17
  const float depth = t_.r(kWaterDepth);
  if (any_vessel([depth](const Vessel& v) { return v.r(kDraft) >= depth; })) {
    fatal({" ++> Fatal Warning: A vessel draft exceeds water depth."});
  }
  // 18, 19 and 20
  if (two_vessels(kind_)) {
    if (t_.r(kSpeed) != t_.r(kSpeed + kTwinOffset)) {
      warning({" ++> Warning: Unequal buoy/tug, tanker/barge speed values."});
    } else if (t_.r(kSpeed) != 0.0f && t_.r(kMotionDirection) != t_.r(kMotionDirection + kTwinOffset)) {
      warning({" ++> Warning: Unequal buoy/tug, tanker/barge motion direction."});
    }
  }
  if (kind_ == 10 && (t_.r(kMotionDirection) != 0.0f || t_.r(kMotionDirection + kTwinOffset) != 0.0f)) {
    warning({" ++> Warning: Haulex rigorously supports only forward speed towards Golbal 0."});
  }
  // 21
  if (kind_ >= 10 && any_vessel([this](const Vessel& v) { return drift_factor_problem(v); })) {
    fatal({" ++> Fatal Warning: A wave drift factor is nonpositive."});
  }
  // 22 and 23
  if (kind_ >= 10 && kind_ != 16) {
    if ((irregular_on || swell_on) && legacy_flags_mixed()) {
      warning({" ++> Warning: Mixed \"legacy\" flags detected for tanker, wave-current,",
               "     wave dissipation and wave reflection peak load models;",
               "     this is not generally recommended..."});
    }
    if (field_holds(t_.i(kDriftSelector), kDriftSpar) && field_holds(t_.i(kDriftSelector), kDriftSemi2001)) {
      fatal({" ++> Fatal Warning: Mixing \"spar\" and \"Semi (2001) wave force models", "     is not permitted."});
    }
  }
  // 24 and 25
  const auto flagged_nonpositive = [this](std::size_t flags, std::size_t values) {
    for (std::size_t k = 0; k < 3; ++k) {
      if (t_.i(flags + k) != 0 && t_.r(values + k) <= 0.0f) return true;
    }
    return false;
  };
  if (flagged_nonpositive(kPitchDampingMode, kPitchDamping)) {
    fatal({" ++> Fatal Warning: Nonpositive user-specified damping coefficient."});
  }
  if (flagged_nonpositive(kPitchPeriodMode, kPitchPeriod)) {
    fatal({" ++> Fatal Warning: Nonpositive user-specified natural period."});
  }
  // 26: the first vessel for kinds above 10, the second for kinds 10 and 13.
  if ((kind_ > 10 && drift_type_mismatch(first)) || (two_vessels(kind_) && drift_type_mismatch(vessels_.back()))) {
    warning({" ++> Warning: Possible vessel type/wave drift force type mismatch."});
  }
  // 27
  const auto discontinuous = [this](std::size_t selector, int table) {
    const Lowcof& low = s_.lowcof;
    return (field(t_.i(selector), 2) == kUserLowdat && low.r(*lowcof_word(table, kLowcofCy, 1)) != 0.0f) ||
           (field(t_.i(selector), 3) == kUserLowdat && low.r(*lowcof_word(table, kLowcofCz, 1)) != 0.0f);
  };
  if (discontinuous(kWindSelector, kLowcofWindTable) || discontinuous(kCurrentSelector, kLowcofCurrentTable)) {
    warning({" ++> Warning: Discontinuous user-specified wind/current coefficients about",
             "     zero degrees.  Specify a second coefficient close to zero degrees",
             "     (e.g. at 0.1 degree) in a \"LOWDAT\" file, or use a user-supplied",
             "     text file such as \"WINDCOFS.txt\"."});
  }
  // 28
  if (any_vessel([](const Vessel& v) {
        return v.i(kVesselType) == 4 && (v.r(kWaterlineLength) != v.r(kWaterlineBeam) || v.r(kMetacentreT) != v.r(kMetacentreL));
      })) {
    fatal({" ++> Fatal Warning: Azimuthal ASSYMMETRY detected in vessel of", "     \"Azimuthally Symmetric\" type."});
  }
  // 29
  if (t_.i(kSwellOn) == 1 && t_.i(kSwellLocked) == 1 && !irregular_on) {
    fatal({" ++> Fatal Warning: Swell direction locked to irregular waves ",
           "     but no irregular waves are specified."});
  }
  // 30
  // A table of one period or none is wrong even for regular waves alone.
  if (t_.i(kWaveFrequencies) <= 1 || ((irregular_on || swell_on) && period_array_problem())) {
    fatal({" ++> Fatal Warning: Wave period array problem. Check for:", "     - Unequal RAO period intervals.",
           "     - A nonpositive wave period.", "     - A period array of only one value.",
           "     Either deselect random wave option, or go back to the",
           "     RAO period table and correct the problem."});
  }
}

}  // namespace

void veswrn(Session& s, int& nwarn, int& nfatal) { Checks(s, nwarn, nfatal).run(); }

}  // namespace kelp
