#include "edlib/pages/areas_page.hpp"

#include <algorithm>
#include <span>
#include <string>

#include "edlib/pagekit/page_output.hpp"
#include "edlib/pagekit/page_pattern.hpp"
#include "edlib/record/data_record.hpp"
#include "kelpkit/coef_sources.hpp"
#include "kelpkit/report_lines.hpp"
#include "kelpkit/toggles.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

// The value items of wind (2 to 8) and current (12 to 18): the effective
// drag areas, their centroids and the force enhancement factor.
enum class Unit { kArea, kLength, kNone };
enum class Shown { kAlways, kCentroid, kKeel };
struct AreaItem {
  std::string_view label;
  RealWord word;
  Unit unit;
  Shown shown;
};

constexpr AreaItem kWindItems[] = {
    {"Head-on effective drag area ..................", kWindHeadArea, Unit::kArea, Shown::kAlways},
    {"Head-on drag area centroid (y, from CG) ......", kWindHeadCentroidY, Unit::kLength, Shown::kCentroid},
    {"Head-on drag area centroid (z, from Keel) ....", kWindHeadCentroidZ, Unit::kLength, Shown::kKeel},
    {"Beam-on effective drag area ..................", kWindBeamArea, Unit::kArea, Shown::kAlways},
    {"Beam-on drag area centroid (x, from CG) ......", kWindBeamCentroidX, Unit::kLength, Shown::kCentroid},
    {"Beam-on drag area centroid (z, from Keel) ....", kWindBeamCentroidZ, Unit::kLength, Shown::kKeel},
    {"Wind force enhancement factor ................", kWindEnhancement, Unit::kNone, Shown::kAlways},
};
constexpr AreaItem kCurrentItems[] = {
    {"Head-on effective drag area ..................", kCurrentArea, Unit::kArea, Shown::kAlways},
    {"Head-on drag area centroid (y, from CG) ......", kCurrentHeadCentroidY, Unit::kLength, Shown::kCentroid},
    {"Head-on drag area centroid (z, from Keel) ....", kCurrentHeadCentroidZ, Unit::kLength, Shown::kKeel},
    {"Beam-on effective drag area ..................", kCurrentBeamArea, Unit::kArea, Shown::kAlways},
    {"Beam-on drag area centroid (x, from CG) ......", kCurrentBeamCentroidX, Unit::kLength, Shown::kCentroid},
    {"Beam-on drag area centroid (z, from Keel) ....", kCurrentBeamCentroidZ, Unit::kLength, Shown::kKeel},
    {"Current force enhancement factor .............", kCurrentEnhancement, Unit::kNone, Shown::kAlways},
};

// The wave-drift tuning factors: reflection (21 to 26), absorption (31 to 34).
struct Factor {
  std::string_view label;
  RealWord word;
  float standard;
};
constexpr Factor kReflection[] = {
    {"Bow shape factor .............................", kBowShapeFactor, 1.0f},
    {"Stern shape factor ...........................", kSternShapeFactor, 1.25f},
    {"Wave reflection HEAD-ON enhancement factor ...", kReflectionHead, 1.0f},
    {"Wave reflection BEAM-ON enhancement factor ...", kReflectionBeam, 1.0f},
    {"Wave reflection MOMENT enhancement factor.....", kReflectionMoment, 1.0f},
    {"Variable wave reflection enhancement factor ..", kDriftEnhancement, 1.0f},
};
constexpr Factor kAbsorption[] = {
    {"Wave absorption HEAD-ON enhancement factor ...", kAbsorptionHead, 1.0f},
    {"Wave absorption BEAM-ON enhancement factor ...", kAbsorptionBeam, 1.0f},
    {"Wave absorption MOMENT enhancement factor.....", kAbsorptionMoment, 1.0f},
    {"Variable wave absorption enhancement factor ..", kAbsorptionVariable, 1.0f},
};

constexpr int kWindFirst = 2, kCurrentFirst = 12, kReflectionItem = 20, kAbsorptionItem = 30;
constexpr int kLengthCode = 7;  // unitp: " feet", its metric twin " meters"
constexpr std::string_view kValueLine = "(1X,I2,') ',A,'..',F11.2,A)";

bool at_defaults(const Tpcm& t, std::span<const Factor> factors) {
  return std::all_of(factors.begin(), factors.end(), [&](const Factor& f) { return t.r(f.word) == f.standard; });
}

void reset(Tpcm& t, std::span<const Factor> factors) {
  for (const Factor& f : factors) t.set_r(f.word, f.standard);
}

// The page's flags, set on entry and kept while it is shown.
struct AreasState {
  int reflection = 0;  // the reflection factors are managed (shown)
  int absorption = 0;
  int wind_centroid = 0;  // a wind axis uses the barge or cylinder source
  int current_centroid = 0;
};

// Only the kinds that give the keel-relative centroids show them.
bool keel_kind(const Session& s) {
  const int kind = s.tpcm.i(kProgramKind);
  return kind == 14 || kind == 17;
}

bool shown(const Session& s, const AreaItem& a, int centroid) {
  switch (a.shown) {
    case Shown::kCentroid: return centroid == 1;
    case Shown::kKeel: return keel_kind(s);
    case Shown::kAlways: break;
  }
  return true;
}

void write_area(Session& s, int out, int item, const AreaItem& a) {
  const std::string length = unitp(s.tpcm.i(kUnitSystem), kLengthCode).substr(0, 7);
  const std::string unit = a.unit == Unit::kArea ? " square" + length : (a.unit == Unit::kLength ? length : "");
  fwrite(s, out, kValueLine, {item, std::string(a.label), s.tpcm.r(a.word), unit});
}

void write_factor(Session& s, int out, int item, const Factor& f) {
  fwrite(s, out, kValueLine, {item, std::string(f.label), s.tpcm.r(f.word), std::string()});
}

void draw_areas(Session& s, PageItems& w, std::span<const AreaItem> items, int centroid) {
  for (const AreaItem& a : items) {
    if (shown(s, a, centroid)) {
      write_area(s, w.out(), w.custom(), a);
      if (a.shown == Shown::kKeel) lines(s, w.out(), 1);
    } else {
      w.hidden();
      if (a.shown == Shown::kKeel) s.write_line(w.out(), " ");
    }
  }
}

void draw_factors(Session& s, PageItems& w, std::span<const Factor> factors, int managed) {
  for (const Factor& f : factors) {
    if (managed != 0) {
      write_factor(s, w.out(), w.custom(), f);
    } else {
      w.hidden();
    }
  }
}

// Items 20 and 30: switching a managed group off resets its factors to the
// defaults, after a warning that "A" can abort, unless they hold them already.
void switch_group(Session& s, int& managed, bool defaults, std::string_view noun, std::span<const Factor> factors) {
  auto& t = s.tpcm;
  const int out = t.i(kOutputUnit);
  if (managed == 0 || defaults) {
    toggle2(s, managed, t.i(kBatchFlag), out, kKeyboard);
    return;
  }
  lines(s, out, 1);
  s.write_line(out, " >>> Warning: Completing this request will reset all wave " + std::string(noun));
  s.write_line(out, "              parameters to their default values.");
  int reply = 0;
  abort0(s, out, kKeyboard, reply);
  t.i(kNavCode) = reply;
  if (reply == -1) return;
  toggle2(s, managed, t.i(kBatchFlag), out, kKeyboard);
  // A reply that keeps the group managed keeps its factors too.
  if (managed == 0) reset(t, factors);
}

}  // namespace

int setfgs(const Tpcm& t) { return at_defaults(t, kReflection) ? 0 : 1; }

void areas(Session& s, std::string_view label, std::string_view noun) {
  auto& t = s.tpcm;
  const int msg = t.i(kOutputUnit);
  AreasState st;
  st.reflection = setfgs(t);
  st.absorption = at_defaults(t, kAbsorption) ? 0 : 1;
  {
    int same_wind = 0, same_current = 0, same_drift = 0, wind_user = 0, current_user = 0, drift_user = 0;
    int current_tanker = 0, wind_ocimf = 0;
    initfm(s, t.i(kWindSelector), same_wind, t.i(kCurrentSelector), same_current, t.i(kDriftSelector), same_drift,
           msg);
    tnkrid(s, t.i(kWindSelector), same_wind, wind_user, t.i(kCurrentSelector), same_current, current_user,
           t.i(kDriftSelector), same_drift, drift_user, current_tanker, wind_ocimf, st.wind_centroid,
           st.current_centroid, msg);
  }

  PageHooks page;
  page.help_for = HelpFor::kAnyNumber;
  page.draw = [&](PageItems& w) {
    const int out = w.out();
    if (t.i(kPrintPass) == 0) clear(s, out);
    fwrite(s, out, "(' ****  Page ',A,': ',A,' Environmental ','Area, Moment and Enhancement Data  ****'/)",
           {std::string(label), std::string(noun)});
    w.custom();
    fwrite(s, out, "('  1) Simulate <<Wind>>? ',A5/)", {yesno(t.i(kWindOn))});
    draw_areas(s, w, kWindItems, st.wind_centroid);
    w.hidden();  // 9
    w.hidden();  // 10
    lines(s, out, 2);
    w.custom();
    fwrite(s, out, "(' 11) Simulate <<Current>>? ',A5/)", {yesno(t.i(kCurrentOn))});
    draw_areas(s, w, kCurrentItems, st.current_centroid);
    w.hidden();  // 19
    lines(s, out, 2);
    w.custom();
    fwrite(s, out, "(' 20) Micromanage wave reflection (aka \"drift\") settings?     ',A/)", {yesno(st.reflection)});
    draw_factors(s, w, kReflection, st.reflection);
    for (int k = 27; k <= 29; ++k) w.hidden();
    lines(s, out, 2);
    w.custom();
    fwrite(s, out, "(' 30) Micromanage wave absorption (aka \"drag\") settings?      ',A/)", {yesno(st.absorption)});
    draw_factors(s, w, kAbsorption, st.absorption);
  };
  page.edit = [&](int item) {
    const int out = t.i(kOutputUnit);
    const int ask = t.i(kBatchFlag);
    if (item == 1) toggle2(s, t.i(kWindOn), ask, out, kKeyboard);
    if (item == kCurrentFirst - 1) toggle2(s, t.i(kCurrentOn), ask, out, kKeyboard);
    if (item == kReflectionItem) switch_group(s, st.reflection, setfgs(t) == 0, "reflection", kReflection);
    if (item == kAbsorptionItem) switch_group(s, st.absorption, at_defaults(t, kAbsorption), "absorption", kAbsorption);
    // Value items (only shown ones reach here).
    const auto value = [&](const auto& items, int first, auto write) {
      const int k = item - first;
      if (k < 0 || k >= static_cast<int>(std::size(items))) return;
      const auto& row = items[static_cast<std::size_t>(k)];
      write(s, out, item, row);
      edit_real(s, row.word, out);
    };
    value(kWindItems, kWindFirst, write_area);
    value(kCurrentItems, kCurrentFirst, write_area);
    value(kReflection, kReflectionItem + 1, write_factor);
    value(kAbsorption, kAbsorptionItem + 1, write_factor);
  };
  page.help = [&](int item) { arhlp(s, item); };
  run_page(s, page);
}

}  // namespace kelp
