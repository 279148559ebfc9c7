#include "edlib/data_record.hpp"

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
