#include "edlib/frame/fairlead_resize.hpp"

#include <algorithm>
#include <cstddef>

#include "kelpkit/array_utils.hpp"

namespace kelp {

namespace {

// Lines of the old layout that get their own gap in a per-line step.
constexpr int kOldLines = 50;

// One gap-opening step: the block from word `from` up to word N - keep - 1
// goes to word `to`, in rows of `width` words. A step with a stride runs for
// i = 1 to 50 in turn, at from + stride * i and to + stride * i: it opens
// the gap after line i of a table whose lines grow.
struct Step {
  int from;
  int to;
  int keep;
  int width = 1;
  int stride = 0;
};

// One move, cut to the record: the block is shortened so that it ends at
// the record's last word, and rows count up to whole rows. A row that would
// straddle the end is written up to the last word only.
void move_block(std::span<std::int32_t> rec, int from, int to, int keep, int width) {
  const auto n = static_cast<long long>(rec.size());
  if (from < 0 || to <= from || to >= n) return;
  const long long count = std::min(n - keep - from, n - to);
  if (count <= 0) return;
  const long long rows = (count + width - 1) / width;
  const long long words = std::min(rows * width, n - to);
  const long long whole = words / width;
  const long long part = words - whole * width;
  // Last word first: the cut row lies above every whole row.
  if (part > 0) movdwn(static_cast<int>(part), words_from(rec, from + whole * width), words_from(rec, to + whole * width));
  const int nrows = static_cast<int>(whole);
  switch (width) {
    case 2: movdwn2(nrows, words_from(rec, from), words_from(rec, to)); break;
    case 3: movdwn3(nrows, words_from(rec, from), words_from(rec, to)); break;
    default: movdwn(nrows, words_from(rec, from), words_from(rec, to)); break;
  }
}

void run(std::span<std::int32_t> rec, const Step& step) {
  if (step.stride == 0) {
    move_block(rec, step.from, step.to, step.keep, step.width);
    return;
  }
  for (int i = 1; i <= kOldLines; ++i) {
    move_block(rec, step.from + step.stride * i, step.to + step.stride * i, step.keep, step.width);
  }
}

void clear_words(std::span<std::int32_t> rec, int first, int last) {
  clear_1d(rec, static_cast<int>(rec.size()), first + 1, last + 1);
}

// Entries first..last (from 1) of every row of a table of rows of `width`
// words that starts at word `base`.
void clear_rows(std::span<std::int32_t> rec, int base, int width, int rows, int first, int last) {
  clear_2d(words_from(rec, base), width, rows, 1, width, first, last);
}

// ---- The vessel block ----
constexpr Step kVesselSteps[] = {{499, 699, 200}, {803, 903, 100}, {1051, 1351, 300}, {1986, 1987, 1}};

// ---- The second-vessel block ----
constexpr Step kSecondVesselSteps[] = {{2037, 2137, 100}, {2285, 2585, 300}};

// ---- The mooring tables ----
// The per-line steps open 15 words (30 for the two-word names, 45 for the
// three-word rows) after the first 10 entries of each of the first 50 lines,
// at T + 25 i - 15 for a table of lines of 25 words at word T, so that a
// table of 10 segments by 50 lines becomes one of 25 segments by 150 lines;
// the step after each per-line step opens lines 51 to 150 behind it.
//
// For the tables at words 36081, 62931, 66681, 70431 and 74181 the old
// converter's offsets started these moves 8 words later (from T + 25 i - 7
// to T + 25 i + 8), off the boundary between the old lines, so that each
// gap would open inside a line. Here they start at T + 25 i - 15, as for the
// tables at 39831, 43581 and 58581, so each old line of 10 segments moves
// whole.
constexpr Step kMooringSteps[] = {
    {5026, 5126, 100},
    {5176, 5276, 100},
    {5326, 5426, 100},
    {5326, 5426, 100, 1, 151},
    {12976, 28076, 9900},
    {28126, 28226, 100},
    {28278, 28378, 100},
    {28433, 28533, 100},
    {28551, 28581, 15, 2, 50},
    {31081, 36081, 2970, 2},
    {36066, 36081, 15, 1, 25},
    {37331, 39831, 1485},
    {39816, 39831, 15, 1, 25},
    {41081, 43581, 1485},
    {43566, 43581, 15, 1, 25},
    {44831, 47331, 1485},
    {47286, 47331, 15, 3, 75},
    {51081, 58581, 4455, 3},
    {58566, 58581, 15, 1, 25},
    {59831, 62331, 1485},
    {62381, 62481, 15},
    {62631, 62931, 100, 3},
    {62916, 62931, 15, 1, 25},
    {64181, 66681, 1485},
    {66666, 66681, 15, 1, 25},
    {67931, 70431, 1485},
    {70416, 70431, 15, 1, 25},
    {71681, 74181, 1485},
    {74166, 74181, 15, 1, 25},
    {75431, 77931, 1485},
    {77981, 78081, 100},
    {78131, 78231, 100},
    {78285, 78385, 100},
    {78433, 78633, 200},
};

// Tables of one word per fairlead (150 entries).
constexpr int kFairleadTables[] = {5126, 5276, 28076, 28228, 28383, 62331, 77931, 78081, 78235};
// Tables of one word per segment (25 segments by 150 lines).
constexpr int kSegmentTables[] = {36081, 39831, 43581, 58581, 62931, 66681, 70431, 74181};

constexpr int kOldSegments = 10;
constexpr int kSegments = 25;
constexpr int kLines = 150;

// Segments 11 to 25 of every line and lines 51 to 150 whole, of a table of
// `width` words per segment, 25 segments per line, at word `base`.
void clear_segment_table(std::span<std::int32_t> rec, int base, int width) {
  clear_3d(words_from(rec, base), width, kSegments, kLines, 1, width, kOldSegments + 1, kSegments, 1, kLines);
  clear_3d(words_from(rec, base), width, kSegments, kLines, 1, width, 1, kSegments, kOldLines + 1, kLines);
}

void resize_second_vessel_block(std::span<std::int32_t> rec) {
  for (const Step& step : kSecondVesselSteps) run(rec, step);
  clear_words(rec, 2037, 2136);
  clear_rows(rec, 2138, 3, 149, 50, 149);
}

void resize_mooring_tables(std::span<std::int32_t> rec) {
  for (const Step& step : kMooringSteps) run(rec, step);
  for (int base : kFairleadTables) clear_words(rec, base + kOldLines, base + kLines - 1);
  clear_words(rec, 5026, 5125);
  clear_words(rec, 78433, 78632);
  // The 151 x 150 table at word 5426: rows 52 to 151 of every column, and
  // columns 51 to 150 whole.
  clear_2d(words_from(rec, 5426), 151, kLines, 52, 151, 1, kLines);
  clear_2d(words_from(rec, 5426), 151, kLines, 1, 151, kOldLines + 1, kLines);
  for (int base : kSegmentTables) clear_segment_table(rec, base, 1);
  clear_segment_table(rec, 28581, 2);  // segment names
  clear_segment_table(rec, 47331, 3);
  clear_rows(rec, 62481, 3, kLines, kOldLines + 1, kLines);
}

}  // namespace

std::span<std::int32_t> words_from(std::span<std::int32_t> record, long long w) {
  return record.subspan(static_cast<std::size_t>(std::clamp<long long>(w, 0, static_cast<long long>(record.size()))));
}

void resize_vessel_block(std::span<std::int32_t> record, int nwords) {
  const auto rec = record.first(static_cast<std::size_t>(std::clamp<long long>(nwords, 0, record.size())));
  for (const Step& step : kVesselSteps) run(rec, step);
  clear_words(rec, 499, 698);
  clear_words(rec, 803, 902);
  clear_rows(rec, 904, 3, 149, 50, 149);
}

void update_to_149(std::span<std::int32_t> record, int nwords) {
  const auto rec = record.first(static_cast<std::size_t>(std::clamp<long long>(nwords, 0, record.size())));
  resize_vessel_block(rec, nwords);
  if (rec.size() < 2) return;
  const std::int32_t kind = rec[1];
  if (kind == 1 || kind == 4 || kind == 11) return;
  resize_second_vessel_block(rec);
  if (kind == 3 || kind == 16) return;
  resize_mooring_tables(rec);
}

}  // namespace kelp
