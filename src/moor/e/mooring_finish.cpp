#include "moor/e/mooring_finish.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "edlib/frame/kind_files.hpp"
#include "edlib/model/vessel_checks.hpp"
#include "edlib/record/data_record.hpp"
#include "moor/e/mooring_checks.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"

namespace kelp {

namespace {

constexpr std::int32_t kCodeSaveExit = -2;

// Per program kind: the turret flag and centroid the page sets on entry (the
// kind's listing and editor name are in edlib/frame/kind_files).
struct KindTurret {
  int kind;
  std::optional<std::int32_t> turret;
  bool clears_turret_x;
};

constexpr std::array<KindTurret, 4> kKindTurrets = {{
    {15, 1, false},
    {14, 0, false},
    {12, 0, true},
    {17, 0, true},
}};
constexpr KindTurret kOtherKind = {0, std::nullopt, false};

const KindTurret& turret_of(int kind) {
  for (const KindTurret& k : kKindTurrets) {
    if (k.kind == kind) return k;
  }
  return kOtherKind;
}

// Flags that follow from other settings, made consistent on every entry.
void tidy(Session& s) {
  Tpcm& t = s.tpcm;
  const KindTurret& kind = turret_of(t.i(kProgramKind));
  if (kind.turret) t.i(kTurretFlag) = *kind.turret;
  if (kind.clears_turret_x) t.set_r(kTurretX, 0.0f);

  t.i(kOption106) = 0;  // relative motions at selected points
  // The spread-RAO output needs a spreading power and an RAO output.
  if (t.r(kSpreadPower) == 0.0f || t.i(kAnyRaoOutput) == 0) t.i(kOutputSpreadRaos) = 0;
  t.i(kSwellLocked) = 0;  // swell heading locked to the irregular waves
  // The wave heading follows the irregular seas, else the swell.
  if (t.i(kIrregularOn) != 0) {
    t.bits(kRegularHeadings) = t.bits(kIrregularHeadings);
  } else if (t.i(kSwellOn) != 0) {
    t.bits(kRegularHeadings) = t.bits(kSwellDirection);
  }
  if (t.i(kWindSpectrum) == 3) t.set_r(kWindDensity, 0.0f);  // a steady wind has no spectral parameter
  if (t.i(kCurrentSpectrum) == 0) t.set_r(kCurrentDensity, 0.0f);  // no current spectrum, no spectral density
  if (t.i(kLowFrequencyOn) == 0) t.i(kWaveFrequencyOn) = 0;     // low-frequency dynamics off
}

}  // namespace

std::string morfin_listing_name(int kind) { return listing_of(FinalPageFamily::kMorfin, kind); }
std::string morfin_editor_name(int kind) { return editor_of(FinalPageFamily::kMorfin, kind); }

void mooring_final_checks(Session& s, int& warnings, int& fatal) {
  veswrn(s, warnings, fatal);
  linwrn(s, warnings, fatal);
  hardwire(s);
  if (s.tpcm.i(kTimeDomainSwitch) == 1) s.tpcm.i(kTabSummary) = 0;
}

void morfin(Session& s, std::string_view label, int& chain) {
  const int kind = s.tpcm.i(kProgramKind);
  const FinalPageSetup setup{morfin_listing_name(kind), morfin_editor_name(kind), "MORFIN", tidy,
                             mooring_final_checks, {kNavExecute, kCodeSaveExit}};
  chain = final_page(s, label, s.state<MorfinState>(), setup) ? 1 : 0;
}

}  // namespace kelp
