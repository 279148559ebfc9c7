#pragma once
// The layout of the data record `tpcm`, the product-kind tables, the text
// byte-order rule of data files and the layout of `lowcof` ("LOWDAT").
//
// The records themselves (Tpcm, Lowcof, Gustrcom) are in sysutl/record.hpp,
// because the Session owns them; this header names their words.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sysutl/record.hpp"

namespace kelp {

// ---- Header and frame words of tpcm ----
inline constexpr std::size_t kRecordLength = 0;     // int: words in the record as written
inline constexpr std::size_t kProgramKind = 1;      // int: program kind 1..17
inline constexpr std::size_t kPreviousRunMode = 5;  // int: run mode of the session before the last save
inline constexpr std::size_t kWriterRunMode = 6;    // int: run mode of the program that last wrote
inline constexpr std::size_t kBatchFlag = 13;       // int: 1 when the session started with "B"
inline constexpr std::size_t kFairleadLayout = 14;  // int: 49 old layout, 149 current
inline constexpr std::size_t kPrecisionMarker = 15; // int: 1 = written with another real precision
inline constexpr std::size_t kIdentLine1 = 59;      // text: 80 characters, words 59..78
inline constexpr std::size_t kIdentLine2 = 79;      // text: 80 characters, words 79..98
inline constexpr std::size_t kIdentLineChars = 80;
inline constexpr std::size_t kOption106 = 106;      // int: 0, 1 or 2
inline constexpr std::size_t kOutputDevice = 108;   // int: 1, 6 or 99
inline constexpr std::size_t kOldVersion = 110;     // real: version in files of the oldest layout
inline constexpr std::size_t kYear = 111;           // int: year of the writing program
inline constexpr std::size_t kUnitSystem = 116;     // int: 0 English, 1 metric
inline constexpr std::size_t kSubEditorKind = 117;  // int: 0 disc buoy, 3..8 mooring kinds
inline constexpr std::size_t kWriterOs = 120;       // int: operating-system code of the writer
inline constexpr std::size_t kReservedText = 123;   // text: 72 characters, words 123..140
inline constexpr std::size_t kReservedTextChars = 72;
inline constexpr std::size_t kLayoutCode = 141;     // int: layout code of the writer (49)
inline constexpr std::size_t kVersionIncrement = 162;  // int: 0 in every file written here
inline constexpr std::size_t kWaveFrequencies = 166;   // int: number of wave frequencies
inline constexpr std::size_t kVersion = 216;        // real: data-file version (sign ignored)
inline constexpr std::size_t kNavCode = 699;        // int: navigation code of the last page
inline constexpr std::size_t kPageCounter = 700;    // int: page counter and jump target
inline constexpr std::size_t kPrintPass = 701;      // int: print-pass flag (0 none)
inline constexpr std::size_t kOutputUnit = 702;     // int: 6 screen, 41 silent report, 1 listing
inline constexpr std::size_t kCurrentSelector = 773;  // int: 4-bit source codes Cx, Cy, Cz
inline constexpr std::size_t kWindSelector = 774;
inline constexpr std::size_t kVesselKind = 776;     // int: vessel type (4 disc buoy)
inline constexpr std::size_t kDriftSelector = 786;
inline constexpr std::size_t kTimeDomainSwitch = 1866;  // int: nonzero = Gustrevan support on
inline constexpr std::size_t kInterpTableSize = 1914;   // int: 90 in a new mooring record

// Values of header words.
inline constexpr std::int32_t kLayoutOld = 49;
inline constexpr std::int32_t kLayoutCurrent = 149;
inline constexpr std::int32_t kSelectorDefault = 0x111;  // source code 1 on all three axes
inline constexpr std::int32_t kOsLinux = 21;
inline constexpr std::int32_t kOsWindows = 5;
inline constexpr std::int32_t kUnitsEnglish = 0;
inline constexpr std::int32_t kUnitsMetric = 1;

// Words stamped at every load and so carried by every save.
inline constexpr std::array<std::size_t, 12> kStampedWords = {
    kRecordLength, kProgramKind, kPreviousRunMode, kWriterRunMode, kBatchFlag, kOption106,
    kOutputDevice, kYear,        kWriterOs,        kLayoutCode,    kVersion,   kOutputUnit};

// ---- Regions and record sizes ----
inline constexpr std::size_t kVesselWords = 1987;    // header and vessel data: kinds 1 and 4
inline constexpr std::size_t kSecondVesselWords = 4975;  // up to the slow-drift data: kinds 3, 11, 16
inline constexpr std::size_t kMooredWords = kTpcmWords;  // 78,635: moored kinds
inline constexpr std::size_t kMooringRegionFirst = 4975;
// The largest record of any kind (kind 8); the load buffers have this size.
inline constexpr std::size_t kLoadBufferWords = 79676;

// Eight-character segment names of the moored kinds: 25 segments by 150
// lines, two words each, line i and segment j (from 1) at
// 28,581 + 50 (i - 1) + 2 (j - 1).
inline constexpr std::size_t kSegmentNames = 28581;
inline constexpr std::size_t kSegmentNameLines = 150;
inline constexpr std::size_t kSegmentsPerLine = 25;
inline constexpr std::size_t kSegmentNameChars = 8;
// Word of the name of segment j of line i; nullopt outside the table.
std::optional<std::size_t> segment_name_word(int line, int segment);

// ---- Mooring region: legs, line types and their sublines ----
// Every table of the mooring region is addressed through the accessors
// below, 1-based as the pages number legs, types and sublines. Each returns
// nullopt for an index outside its table, so a count read from the record
// can never reach a word of a neighbouring table. Loops over the tables run
// to the count word clamped with table_count().
inline constexpr int kLegCapacity = 150;      // mooring legs (fairleads)
inline constexpr int kLineTypeCapacity = 150; // line types
inline constexpr int kSublineCapacity = static_cast<int>(kSegmentsPerLine);  // sublines per type

// Count words of the mooring region (integers unless said).
inline constexpr std::size_t kMooringLegs = 28381;      // legs in use
inline constexpr std::size_t kMooringLegsMax = 28382;   // largest leg count allowed
inline constexpr std::size_t kLineTypes = 28226;        // line types in use
inline constexpr std::size_t kLineTypesMax = 28227;     // largest type count allowed
inline constexpr std::size_t kSublinesMax = 28378;      // largest subline count of a type
inline constexpr std::size_t kInterpLayers = 28379;     // vertical interpolation layers
inline constexpr std::size_t kDynamicLines = 28380;     // lines selected for dynamic evaluation
inline constexpr std::size_t kProfileMode = 28537;      // 0 angle, 1 distance, 2 tension, 3 horizontal force
inline constexpr std::size_t kHawserType = 28540;       // line type of the hawser
inline constexpr std::size_t kHawserLine = 28541;       // line number of the hawser
inline constexpr std::size_t kDefaultAnchorDepth = 78231;  // real
inline constexpr std::size_t kInterpSpan = 78385;       // real: span of the vertical interpolation region
inline constexpr std::size_t kMomentCentre = 78386;     // reals: x, y, z of the moment evaluation centre

// A count word held within 0..capacity, the bound of every loop over a table.
int table_count(std::int32_t count, int capacity);

// Per leg i (1..150): the mean-profile value (real, in the quantity of word
// 28537), the plan-view departure angle (real, degrees), coordinate k (1 x,
// 2 y, 3 z) of the fairlead, and the number of the i-th line selected for
// dynamic evaluation.
std::optional<std::size_t> profile_value_word(int leg);
std::optional<std::size_t> departure_angle_word(int leg);
std::optional<std::size_t> fairlead_word(int leg, int coord);
std::optional<std::size_t> dynamic_line_word(int i);
// Coordinate k of the copy of fairlead i in the buoy table of kinds 10 and
// 13: a table of 149 rows, so leg 150 has no copy.
inline constexpr int kBuoyFairleadCapacity = 149;
std::optional<std::size_t> buoy_fairlead_word(int leg, int coord);

// Per line type t (1..150): the number of legs and of sublines, the line
// number of its k-th leg (k 1..150), the anchor depth (real), the bottom flag
// (1 solid, 0 transparent) and the bits (bit s for subline s) of the sublines
// whose elastic data come from the database file.
std::optional<std::size_t> type_legs_word(int type);
std::optional<std::size_t> type_sublines_word(int type);
std::optional<std::size_t> type_line_word(int type, int k);
std::optional<std::size_t> anchor_depth_word(int type);
std::optional<std::size_t> bottom_flag_word(int type);
std::optional<std::size_t> elastic_file_bits_word(int type);
// Spring-buoy buoyancy and clump weight of type t (reals, kind 7). The two
// tables lie 12 words apart, so only types 1..12 have them.
inline constexpr int kClumpTypeCapacity = 12;
std::optional<std::size_t> spring_buoy_word(int type);
std::optional<std::size_t> clump_weight_word(int type);

// The real fields of element (subline s, type t): one word each at
// first + (s - 1) + 25 (t - 1). The value is the first word of the table.
enum class ElementField : std::size_t {
  kLength = 36081,
  kDiameter = 39831,
  kImmersedWeight = 43581,  // per unit length
  kBreakingStrength = 58581,
  kAddedMass = 62931,
  kDrag = 66681,            // transverse square-law drag coefficient
  kDryWeight = 70431,       // per unit length
  kReserve = 74181,
};
std::optional<std::size_t> element_word(ElementField field, int subline, int type);
// Compliance coefficient k (1..3) of element (s, t): 47331 + 3e + (k - 1).
std::optional<std::size_t> compliance_word(int subline, int type, int k);
// First of the two words of the 8-character composition of element (s, t):
// the segment name of line t, segment s.
std::optional<std::size_t> composition_word(int subline, int type);

// ---- Program kinds ----
inline constexpr int kKindCount = 20;       // entries of styp
inline constexpr int kSizedKindCount = 17;  // kinds with a record size: 1..17

// Seven-character product name of a program kind (blank for kinds 5, 6 and
// 18 to 20); "UNKNOWN" for a kind outside 1 to 20.
std::string_view styp(int kind);

// Record size (words written and read) of a program kind; 0 where the size
// is not checked (kinds 2, 5, 6, 9 and kinds outside 1 to 17).
int record_size(int kind);

// True for the moored kinds whose records hold segment names (7, 8, 10, 12
// to 15 and 17).
bool has_segment_names(int kind);

// ---- Text byte order ----
// Text words keep the byte order of the machine that wrote them. Codes below
// 5 are big-endian machines, 5 and above little-endian: text written on one
// side and read on the other needs its four characters reversed per word.
bool needs_text_repair(int writer_os, int reader_os);

// Reverses the four characters of one text word.
std::int32_t reverse_text_word(std::int32_t word);

// Reverses the characters of each word of the record's texts: the two
// identification lines and, for the kinds with segment names, every segment
// name.
void repair_text_order(Tpcm& tpcm, int kind);

// ---- lowcof ("LOWDAT") ----
// Words 0..3 hold the row counts of tables 1 to 4 (wind, current, 3, 4);
// table t (1..4) holds 84 reals from word 4 + 84 (t - 1): four columns of 21
// values (attack angle, Cx, Cy, Cz). Words 340..679 are not used and are
// kept as loaded.
inline constexpr std::size_t kLowcofTables = 4;
inline constexpr std::size_t kLowcofRows = 21;
inline constexpr std::size_t kLowcofColumns = 4;
inline constexpr std::size_t kLowcofTableWords = kLowcofRows * kLowcofColumns;  // 84
inline constexpr std::size_t kLowcofFirstTable = 4;
inline constexpr std::size_t kLowcofUnusedFirst = kLowcofFirstTable + kLowcofTables * kLowcofTableWords;  // 340
inline constexpr int kLowcofWindTable = 1;
inline constexpr int kLowcofCurrentTable = 2;
inline constexpr int kLowcofAngle = 0;
inline constexpr int kLowcofCx = 1;
inline constexpr int kLowcofCy = 2;
inline constexpr int kLowcofCz = 3;

// Word of the row count of table t (1..4); nullopt outside.
std::optional<std::size_t> lowcof_count_word(int table);
// First word of table t (1..4); nullopt outside.
std::optional<std::size_t> lowcof_table_word(int table);
// Word of row `row` (1..21) of column `column` (0 angle, 1 Cx, 2 Cy, 3 Cz) of
// table t (1..4); nullopt outside.
std::optional<std::size_t> lowcof_word(int table, int column, int row);


}  // namespace kelp
