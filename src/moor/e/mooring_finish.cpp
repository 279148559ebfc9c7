#include "moor/e/mooring_finish.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "edlib/model/vessel_checks.hpp"
#include "edlib/record/data_record.hpp"
#include "moor/e/mooring_checks.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/text.hpp"

namespace kelp {

namespace {

constexpr std::int32_t kCodeSaveExit = -2;

// Per program kind: listing, editor name, and the turret flag and centroid
// the page sets on entry.
struct KindNames {
  int kind;
  std::string_view listing;
  std::string_view editor;
  std::optional<std::int32_t> turret;
  bool clears_turret_x;
};

constexpr std::array<KindNames, 4> kKindNames = {{
    {15, "PIVAIN.stxt", "pivlorn", 1, false},
    {14, "TENDIN.stxt", "Tendvik", 0, false},
    {12, "TETHIN.stxt", "Tethwick", 0, true},
    {17, "KOLUIN.stxt", "Kolwerth", 0, true},
}};
constexpr KindNames kOtherKind = {0, "WHOIN.stxt", "WhoAmI?", std::nullopt, false};

const KindNames& names_of(int kind) {
  for (const KindNames& k : kKindNames) {
    if (k.kind == kind) return k;
  }
  return kOtherKind;
}

// Flags that follow from other settings, made consistent on every entry.
void tidy(Session& s) {
  Tpcm& t = s.tpcm;
  const KindNames& names = names_of(t.i(kProgramKind));
  if (names.turret) t.i(kTurretFlag) = *names.turret;
  if (names.clears_turret_x) t.set_r(kTurretX, 0.0f);

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

std::string morfin_listing_name(int kind) { return fixed(names_of(kind).listing, 12); }
std::string morfin_editor_name(int kind) { return fixed(names_of(kind).editor, 12); }

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
