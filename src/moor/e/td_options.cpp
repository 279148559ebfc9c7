#include "moor/e/td_options.hpp"

#include <algorithm>
#include <string>

#include "edlib/record/data_record.hpp"
#include "kelpkit/options_file.hpp"
#include "sysutl/session.hpp"

namespace kelp {

namespace {

using G = Gustrcom;

// Every slot is named exactly once, either in the table or as a spare, and
// every run of spares ends at "z".
constexpr bool slots_named_once() {
  std::array<int, G::kSlots> seen{};
  for (const NamedOption& o : kNamedOptions) ++seen[o.word];
  for (const SpareRun& r : kSpareOptions) {
    if (r.first_letter + static_cast<int>(r.last - r.first) != 'z') return false;
    for (std::size_t k = r.first; k <= r.last; ++k) ++seen[k];
  }
  return std::all_of(seen.begin(), seen.end(), [](int n) { return n == 1; });
}
static_assert(slots_named_once());
static_assert(option_word("nFldReports") == kNFldReportsWord);
static_assert(option_word("nFldReports") + G::kDefaultOffset == kDefaultNFldReportsWord);
static_assert(option_word("fullDuration") + G::kDefaultOffset == kDefaultFullDurationWord);
static_assert(kLegCapacity == kPickCapacity);

constexpr std::size_t kFullDuration = option_word("fullDuration");
constexpr std::size_t kOverRideFullDuration = option_word("overRideFullDuration");
constexpr std::size_t kOverRideLinePicks = option_word("overRideLinePicks");
constexpr std::size_t kRelSolvTolFac = option_word("relSolvTolFac");
constexpr std::size_t kAbsSolvTolFac = option_word("absSolvTolFac");

bool is_real_slot(std::size_t word) { return word >= G::kRealFirst; }

}  // namespace

std::span<const std::int32_t> page4_picks(const Session& s) {
  return s.tpcm.words().subspan(*dynamic_line_word(1), static_cast<std::size_t>(kLegCapacity));
}

void init_gustrcom(Gustrcom& g) {
  g.words.clear();
  for (const NamedOption& o : kNamedOptions) {
    g.names[o.word] = o.name;
    const std::size_t d = G::default_word(o.word);
    if (is_real_slot(o.word)) {
      g.words.set_r(d, o.value);
    } else {
      g.words.i(d) = static_cast<std::int32_t>(o.value);
    }
  }
  for (const SpareRun& r : kSpareOptions) {
    for (std::size_t k = r.first; k <= r.last; ++k) {
      g.names[k] = std::string(r.prefix) + static_cast<char>(r.first_letter + static_cast<int>(k - r.first));
    }
  }
  for (std::string& name : g.names) name.resize(G::kNameChars, ' ');
}

void load_default_opts(Session& s, std::span<std::int32_t> currentPicks, float& durationHours) {
  auto& g = s.gustrcom.words;
  for (std::size_t k = 0; k < G::kSlots; ++k) g.i(G::value_word(k)) = g.i(G::default_word(k));
  s.tpcm.i(kIgnoreDragVariability) = s.tpcm.i(kExcludeWaveAbsorption) == 1 ? 1 : 0;
  s.tpcm.i(kForceRebuild) = 0;
  s.tpcm.set_r(kExcursionDiameter, 0.0f);
  g.i(kOverRideLinePicks) = 0;
  durationHours = s.tpcm.r(kStormDuration);
  g.set_r(kFullDuration, 3600.0f * durationHours);
  g.set_r(kDefaultFullDurationWord, g.r(kFullDuration));
  const std::int32_t reports = std::min(g.i(kDefaultNFldReportsWord), kMaxFairleadReports);
  g.i(kNFldReportsWord) = reports;
  g.i(kDefaultNFldReportsWord) = reports;
  const auto from = page4_picks(s);
  const std::size_t n = std::min({currentPicks.size(), from.size(), static_cast<std::size_t>(std::max(reports, 0))});
  std::copy_n(from.begin(), n, currentPicks.begin());
}

float settle_read_opts(Session& s, std::span<const std::int32_t> currentPicks) {
  auto& g = s.gustrcom.words;
  for (std::size_t word : {kRelSolvTolFac, kAbsSolvTolFac}) {
    if (g.r(word) <= 0.0f) g.set_r(word, 1.0f);
  }
  const float storm = s.tpcm.r(kStormDuration);
  const float seconds = g.r(kFullDuration);
  // A file whose full duration is 0 or below holds no usable run length: the
  // run takes the storm duration instead, as a new options file does.
  const float hours = seconds > 0.0f ? seconds / 3600.0f : storm;
  g.i(kOverRideFullDuration) = overridefullduration_f(hours, storm) ? 1 : 0;
  g.i(kOverRideLinePicks) =
      overridelinepicks_f(currentPicks, g.i(kNFldReportsWord), page4_picks(s), g.i(kDefaultNFldReportsWord)) ? 1 : 0;
  return hours;
}

}  // namespace kelp
