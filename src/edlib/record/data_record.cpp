#include "edlib/record/data_record.hpp"

#include <algorithm>

namespace kelp {

namespace {

// Product names by program kind 1..20, seven characters each.
constexpr std::array<std::string_view, kKindCount> kProductNames = {
    "HULVANE", "LEGROVE", "DUVANTA", "RONDIXA", "       ", "       ", "EQUILOR",
    "CURVEL ", "UNKNOWN", "HAULEX ", "ANCHIRA", "TETHRAN", "BUOYRAL", "TENDRA ",
    "PIVARA ", "DRIFTEL", "KOLUMAR", "       ", "       ", "       "};

// Record words by program kind 1..17; 0 where the size is not checked.
constexpr std::array<int, kSizedKindCount> kRecordSizes = {
    1987,   // 1
    0,      // 2
    4975,   // 3
    1987,   // 4
    0,      // 5
    0,      // 6
    79524,  // 7
    79676,  // 8
    0,      // 9
    78635,  // 10
    4975,   // 11
    78635,  // 12
    78635,  // 13
    78635,  // 14
    78635,  // 15
    4975,   // 16
    78635,  // 17
};

}  // namespace

std::string_view styp(int kind) {
  if (kind < 1 || kind > kKindCount) return "UNKNOWN";
  return kProductNames[static_cast<std::size_t>(kind - 1)];
}

int record_size(int kind) {
  if (kind < 1 || kind > kSizedKindCount) return 0;
  return kRecordSizes[static_cast<std::size_t>(kind - 1)];
}

bool has_segment_names(int kind) {
  switch (kind) {
    case 7:
    case 8:
    case 10:
    case 12:
    case 13:
    case 14:
    case 15:
    case 17:
      return true;
    default:
      return false;
  }
}

std::optional<std::size_t> segment_name_word(int line, int segment) {
  if (line < 1 || line > static_cast<int>(kSegmentNameLines)) return std::nullopt;
  if (segment < 1 || segment > static_cast<int>(kSegmentsPerLine)) return std::nullopt;
  return kSegmentNames + 50 * static_cast<std::size_t>(line - 1) + 2 * static_cast<std::size_t>(segment - 1);
}

// ---- Mooring region ----

namespace {

constexpr bool in_range(int index, int capacity) { return index >= 1 && index <= capacity; }

std::size_t from_one(int index) { return static_cast<std::size_t>(index - 1); }

// Word of entry `index` (1..capacity) of a table whose entry 1 is `first`.
std::optional<std::size_t> entry(std::size_t first, int index, int capacity) {
  if (!in_range(index, capacity)) return std::nullopt;
  return first + from_one(index);
}

// Element index e = (s - 1) + 25 (t - 1); nullopt outside the tables.
std::optional<std::size_t> element_index(int subline, int type) {
  if (!in_range(subline, kSublineCapacity) || !in_range(type, kLineTypeCapacity)) return std::nullopt;
  return from_one(subline) + static_cast<std::size_t>(kSublineCapacity) * from_one(type);
}

// Word of coordinate k of row `row` of a table of 3-word rows starting at `first`.
std::optional<std::size_t> xyz_entry(std::size_t first, int row, int coord, int capacity) {
  if (!in_range(row, capacity) || !in_range(coord, 3)) return std::nullopt;
  return first + 3 * from_one(row) + from_one(coord);
}

constexpr std::size_t kProfileValues = 62331;
constexpr std::size_t kDepartureAngles = 77931;
constexpr std::size_t kFairleads = 62481;
constexpr std::size_t kDynamicLineList = 28383;
constexpr std::size_t kBuoyFairleads = 2138;
constexpr std::size_t kTypeLegs = 28076;
constexpr std::size_t kTypeSublines = 28228;
constexpr std::size_t kTypeLines = 5426;
constexpr std::size_t kTypeLineRows = 151;  // rows of each column of the line-number table
constexpr std::size_t kAnchorDepths = 78081;
constexpr std::size_t kBottomFlags = 5276;
constexpr std::size_t kElasticFileBits = 5126;
constexpr std::size_t kSpringBuoys = 78392;
constexpr std::size_t kClumpWeights = 78404;
constexpr std::size_t kCompliance = 47331;

}  // namespace

int table_count(std::int32_t count, int capacity) { return std::clamp<std::int32_t>(count, 0, capacity); }

std::optional<std::size_t> profile_value_word(int leg) { return entry(kProfileValues, leg, kLegCapacity); }
std::optional<std::size_t> departure_angle_word(int leg) { return entry(kDepartureAngles, leg, kLegCapacity); }
std::optional<std::size_t> fairlead_word(int leg, int coord) {
  return xyz_entry(kFairleads, leg, coord, kLegCapacity);
}
std::optional<std::size_t> dynamic_line_word(int i) { return entry(kDynamicLineList, i, kLegCapacity); }
std::optional<std::size_t> buoy_fairlead_word(int leg, int coord) {
  return xyz_entry(kBuoyFairleads, leg, coord, kBuoyFairleadCapacity);
}

std::optional<std::size_t> type_legs_word(int type) { return entry(kTypeLegs, type, kLineTypeCapacity); }
std::optional<std::size_t> type_sublines_word(int type) { return entry(kTypeSublines, type, kLineTypeCapacity); }
std::optional<std::size_t> type_line_word(int type, int k) {
  if (!in_range(type, kLineTypeCapacity) || !in_range(k, kLegCapacity)) return std::nullopt;
  return kTypeLines + kTypeLineRows * from_one(type) + from_one(k);
}
std::optional<std::size_t> anchor_depth_word(int type) { return entry(kAnchorDepths, type, kLineTypeCapacity); }
std::optional<std::size_t> bottom_flag_word(int type) { return entry(kBottomFlags, type, kLineTypeCapacity); }
std::optional<std::size_t> elastic_file_bits_word(int type) {
  return entry(kElasticFileBits, type, kLineTypeCapacity);
}
std::optional<std::size_t> spring_buoy_word(int type) { return entry(kSpringBuoys, type, kClumpTypeCapacity); }
std::optional<std::size_t> clump_weight_word(int type) { return entry(kClumpWeights, type, kClumpTypeCapacity); }

std::optional<std::size_t> element_word(ElementField field, int subline, int type) {
  const auto e = element_index(subline, type);
  if (!e) return std::nullopt;
  return static_cast<std::size_t>(field) + *e;
}
std::optional<std::size_t> compliance_word(int subline, int type, int k) {
  const auto e = element_index(subline, type);
  if (!e || !in_range(k, 3)) return std::nullopt;
  return kCompliance + 3 * *e + from_one(k);
}
std::optional<std::size_t> composition_word(int subline, int type) { return segment_name_word(type, subline); }

bool needs_text_repair(int writer_os, int reader_os) { return (writer_os < 5) != (reader_os < 5); }

std::int32_t reverse_text_word(std::int32_t word) {
  const auto v = static_cast<std::uint32_t>(word);
  const std::uint32_t r = (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
  return static_cast<std::int32_t>(r);
}

void repair_text_order(Tpcm& tpcm, int kind) {
  const std::size_t ident_words = 2 * kIdentLineChars / 4;
  for (std::size_t n = kIdentLine1; n < kIdentLine1 + ident_words; ++n) tpcm.i(n) = reverse_text_word(tpcm.i(n));
  if (!has_segment_names(kind)) return;
  for (int line = 1; line <= static_cast<int>(kSegmentNameLines); ++line) {
    for (int seg = 1; seg <= static_cast<int>(kSegmentsPerLine); ++seg) {
      const std::size_t first = *segment_name_word(line, seg);
      for (std::size_t n = first; n < first + kSegmentNameChars / 4; ++n) tpcm.i(n) = reverse_text_word(tpcm.i(n));
    }
  }
}

std::optional<std::size_t> lowcof_count_word(int table) {
  if (table < 1 || table > static_cast<int>(kLowcofTables)) return std::nullopt;
  return static_cast<std::size_t>(table - 1);
}

std::optional<std::size_t> lowcof_table_word(int table) {
  if (table < 1 || table > static_cast<int>(kLowcofTables)) return std::nullopt;
  return kLowcofFirstTable + kLowcofTableWords * static_cast<std::size_t>(table - 1);
}

std::optional<std::size_t> lowcof_word(int table, int column, int row) {
  const auto first = lowcof_table_word(table);
  if (!first) return std::nullopt;
  if (column < 0 || column >= static_cast<int>(kLowcofColumns)) return std::nullopt;
  if (row < 1 || row > static_cast<int>(kLowcofRows)) return std::nullopt;
  return *first + kLowcofRows * static_cast<std::size_t>(column) + static_cast<std::size_t>(row - 1);
}

}  // namespace kelp
