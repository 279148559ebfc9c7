#include "edlib/frame/create_record.hpp"

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <utility>

#include "edlib/record/data_record.hpp"
#include "edlib/record/member_table.hpp"
#include "sysutl/session.hpp"

namespace kelp {

namespace {

// The defaults are tables of {word, value}: words that code elsewhere reads
// by name appear by name; the rest keep the number under which the old
// record knows them.
void set_ints(Tpcm& t, std::initializer_list<std::pair<std::size_t, std::int32_t>> values) {
  for (const auto& [word, v] : values) t.i(word) = v;
}

void set_reals(Tpcm& t, std::initializer_list<std::size_t> words, float v) {
  for (auto w : words) t.set_r(w, v);
}

// Per-kind defaults of a new record.
void create_by_kind(Tpcm& t, int kind) {
  switch (kind) {
    case 10:
    case 13: {
      // The second body: the twins of the first vessel's defaults.
      const bool tanker = kind == 13;
      set_ints(t, {{1996, 1},
                   {kCurrentSelector + kTwinOffset, kSourceAll4},
                   {kWindSelector + kTwinOffset, kSourceAll2},
                   {kDriftSelector + kTwinOffset, tanker ? kSourceAll4 : kSourceAll1},
                   {kVesselType + kTwinOffset, tanker ? 4 : 1},
                   {kHawserFlag, tanker ? 1 : 0}});
      set_reals(t, {2594, 2595, 2596, 2597, 2600, 2637, 2638, 2640, 2641, 2885, 2886, 2887, 2888, 2892, 2893, 2894,
                    2895},
                1.0f);
      set_reals(t, {2623, 2625}, 100.0f);
      break;
    }
    case 1:
    case 7:
    case 8:
    case 11:
    case 12:
    case 15:
    case 16:
      t.i(kVesselType) = 1;
      break;
    case 2:
      t.i(kVesselType) = 2;
      break;
    case 3:
    case 14:
      t.i(kVesselType) = 3;
      t.i(kDriftSelector) = kSourceAll2;
      break;
    case 4:
      t.i(kVesselType) = 4;
      t.i(kDriftSelector) = kSourceAll4;
      break;
    case 17:
      t.i(kVesselType) = 3;
      t.i(kDriftSelector) = kSourceAll3;
      break;
    default:
      break;
  }
}

}  // namespace

void create_record(Session& s, int kind, int nwords) {
  Tpcm& t = s.tpcm;
  const auto n = static_cast<std::size_t>(std::clamp<long>(nwords, 0, static_cast<long>(Tpcm::kWords)));
  std::fill_n(t.words().begin(), n, 0);

  for (std::size_t k = 0; k < 6; ++k) t.i(kDofOutputs + k) = 1;
  t.set_text(kIdentLine1, "");  // the two identification lines, blank
  t.set_text(kIdentLine2, "");

  set_ints(t, {{kVersionIncrement, 0}, {kOutputDevice, 1},     {kSeaSpectrum, 1},           {kWindSpectrum, 1},
               {kWaveFrequencies, 30}, {kRegularHeadingCount, 1}, {kPointCount, 1},          {kCurrentProfilePoints, 2},
               {kForceRaos, 1},        {kMotionRaos, 1},       {kSpreadWedges, 6},          {762, 1},
               {kNoMotionsSummary, 0}, {kIrregularOn, 0},      {kSwellOn, 0},               {kSwell2On, 0},
               {kWaveFrequencyOn, 1},  {kLowFrequencyOn, 1},   {kAnyRaoOutput, 0},          {kIrregularHeadingCount, 1},
               {kIrregularCases, 1},   {kOchiCount, 2},        {kVesselType, 1}});

  t.set_r(kWaterDensity, 64.0f);
  set_reals(t, {1360}, 1.0f);
  set_reals(t, {1367}, 1.25f);
  set_reals(t, {kDriftEnhancement, 1404, 1403, 1363, 1658, 1659, 1660, 1661, 1651, 1652, 1653, 1654, 1361, 1362}, 1.0f);
  t.set_r(kSpreadPower, 2.0f);
  t.set_r(kSwellBandwidth, 0.1f);
  t.set_r(kSeaBandwidth, 0.1f);
  t.set_r(kSpreadSector, 180.0f);
  t.set_r(kStormDuration, 1.0f);
  set_reals(t, {1389, 1391}, 100.0f);
  set_reals(t, {kSemiFactors, kSemiFactors + 1}, 1.0f);

  t.i(kCurrentSelector) = kSourceAll1;
  t.i(kWindSelector) = kSourceAll1;
  t.i(kDriftSelector) = kSourceAll1;

  // The period table: 5.0, 5.5, ... 54.5, each step added to the previous value.
  float v = 5.0f;
  for (std::size_t k = 0; k < 100; ++k) {
    t.set_r(kPeriods + k, v);
    v += 0.5f;
  }

  create_by_kind(t, kind);
}

void mrinit(Session& s, char choice, int kind) {
  Tpcm& t = s.tpcm;
  set_ints(t, {{kSessionReserved, 0}, {kIrregularHeadingLimit, 1}, {kSeaCaseLimit, 1}, {kSpreadLimit, 36},
               {kRegularHeadingLimit, 1}, {112, 0}, {kSublinesMax, 25}});

  if (kind == 10) {
    t.i(kSubEditorKind) = 3;
    for (std::size_t w : {std::size_t{28533}, std::size_t{kMooringLegsMax}, std::size_t{kLineTypesMax},
                          std::size_t{kDynamicLines}, *dynamic_line_word(1), std::size_t{kLineTypes},
                          *type_legs_word(1), std::size_t{kMooringLegs}, *type_line_word(1, 1)}) {
      t.i(w) = 1;
    }
  } else {
    set_ints(t, {{28533, 149}, {kMooringLegsMax, 149}, {kLineTypesMax, 149}, {member::kMaximum, 50}, {3664, 16},
                 {3661, 100}, {3658, 50}});
    if (kind != 8) {
      t.i(kQuiescentEquilibrium) = 1;
      switch (kind) {
        case 12: t.i(kSubEditorKind) = 4; break;
        case 15: t.i(kSubEditorKind) = 5; break;
        case 14: t.i(kSubEditorKind) = 6; t.i(kVesselType) = 5; break;
        case 17: t.i(kSubEditorKind) = 8; t.i(kVesselType) = 6; break;
        case 13: t.i(kSubEditorKind) = 7; break;
        default: break;
      }
    }
  }

  if (choice != 'C') return;

  if (kind == 10 || kind == 13) {
    t.i(kDefaultBottomFlag) = 0;
  } else {
    t.i(kDefaultBottomFlag) = 1;
    set_reals(t, {3668, 3669, 3670}, 1.0f);
    t.i(member::kCount) = 1;
    // Member count from the record, kept within the 50 entries of the tables.
    const int members = std::clamp(t.i(member::kMaximum), 0, member::kMaxMembers);
    for (int i = 1; i <= members; ++i) {
      for (int j = 1; j <= 3; ++j) {
        set_reals(t, {member::added_mass(i, j), member::added_moment(i, j), member::drag(i, j),
                      member::drag_moment(i, j)},
                  1.0f);
      }
    }
  }

  set_ints(t, {{kLineTypes, 1}, {kMooringLegs, 1}, {kHawserType, 1}, {kHawserLine, 1}, {kInterpLayers, 1},
               {*dynamic_line_word(1), 1}, {kDynamicLines, 1}, {28538, 1}, {kQuiescentEquilibrium, 1},
               {kOutputStaticOffsets, 1}, {kOutputMeanLoads, 1}, {kOutputLowFrequency, 1}});
  t.set_r(kElementAddedMass, 1.0f);
  t.set_r(kElementDrag, 1.0f);
  t.i(kInterpTableSize) = 90;
  t.i(kBuoyantAtWaterline) = 0;

  // Counts from the record are clamped to the tables they index: 149 lines
  // (150 for the name table) and 25 segments per line.
  const int lines = std::clamp(t.i(kMooringLegsMax), 0, 149);
  for (int i = 1; i <= lines; ++i) t.i(*type_line_word(1, i)) = i;

  const int types = std::clamp(t.i(kLineTypesMax), 0, 149);
  const int segments = std::clamp(t.i(kSublinesMax), 0, kSublineCapacity);
  for (int i = 1; i <= types; ++i) {
    t.i(*type_legs_word(i)) = 1;
    t.i(*type_sublines_word(i)) = 1;
    t.i(*bottom_flag_word(i)) = kind == 10 ? 0 : 1;
    for (int j = 1; j <= segments; ++j) {
      t.set_text(*segment_name_word(i, j), kSegmentNameChars, "");
      t.set_r(*element_word(ElementField::kAddedMass, j, i), 1.0f);
      t.set_r(*element_word(ElementField::kDrag, j, i), 1.0f);
    }
  }
}

}  // namespace kelp
