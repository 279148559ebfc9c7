#include "edlib/record/data_record.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <climits>
#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sysutl/diskio.hpp"
#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

namespace fs = std::filesystem;
using testing::InTempDir;
using testing::ScriptedSession;
using testing::slurp;
using testing::TempDir;
using testing::write_file;

const std::string kRecords = std::string(KELP_TEST_DATA) + "/records/";

std::uint32_t bits(float f) { return std::bit_cast<std::uint32_t>(f); }

// ---- Tables ----

TEST(ProductKinds, NamesBySevenCharacters) {
  EXPECT_EQ(styp(1), "HULVANE");
  EXPECT_EQ(styp(4), "RONDIXA");
  EXPECT_EQ(styp(5), "       ");
  EXPECT_EQ(styp(8), "CURVEL ");
  EXPECT_EQ(styp(9), "UNKNOWN");
  EXPECT_EQ(styp(10), "HAULEX ");
  EXPECT_EQ(styp(15), "PIVARA ");
  EXPECT_EQ(styp(17), "KOLUMAR");
  EXPECT_EQ(styp(18), "       ");
  EXPECT_EQ(styp(20), "       ");
  for (int kind = 1; kind <= 20; ++kind) EXPECT_EQ(styp(kind).size(), 7u) << kind;
}

TEST(ProductKinds, AnyKindOutsideTheTableIsUnknown) {
  for (int kind : {0, -1, 21, INT_MIN, INT_MAX}) EXPECT_EQ(styp(kind), "UNKNOWN") << kind;
}

TEST(ProductKinds, RecordSizes) {
  EXPECT_EQ(record_size(1), 1987);
  EXPECT_EQ(record_size(4), 1987);
  EXPECT_EQ(record_size(3), 4975);
  EXPECT_EQ(record_size(11), 4975);
  EXPECT_EQ(record_size(16), 4975);
  EXPECT_EQ(record_size(7), 79524);
  EXPECT_EQ(record_size(8), 79676);
  for (int kind : {10, 12, 13, 14, 15, 17}) EXPECT_EQ(record_size(kind), 78635) << kind;
  for (int kind : {2, 5, 6, 9, 0, 18, -3, INT_MAX}) EXPECT_EQ(record_size(kind), 0) << kind;
  // The load buffers hold the largest record of any kind.
  for (int kind = 1; kind <= 17; ++kind) EXPECT_LE(record_size(kind), static_cast<int>(kLoadBufferWords));
}

TEST(RecordLayout, SegmentNamesLieInsideTheMooringRegion) {
  EXPECT_EQ(segment_name_word(1, 1), 28581u);
  EXPECT_EQ(segment_name_word(2, 1), 28631u);
  EXPECT_EQ(segment_name_word(1, 25), 28629u);
  EXPECT_EQ(segment_name_word(150, 25), 36079u);
  EXPECT_LT(*segment_name_word(150, 25) + 1, kTpcmWords);
  EXPECT_FALSE(segment_name_word(0, 1));
  EXPECT_FALSE(segment_name_word(151, 1));
  EXPECT_FALSE(segment_name_word(1, 26));
  EXPECT_FALSE(segment_name_word(1, 0));
  EXPECT_TRUE(has_segment_names(15));
  EXPECT_TRUE(has_segment_names(7));
  EXPECT_FALSE(has_segment_names(4));
  EXPECT_FALSE(has_segment_names(11));
  EXPECT_FALSE(has_segment_names(16));
}

TEST(RecordLayout, LowcofTablesHoldTheWordsTheChecksRead) {
  // The consistency checks read the y and z coefficients at the first angle
  // of the wind table (words 46, 67) and of the current table (130, 151).
  EXPECT_EQ(lowcof_word(kLowcofWindTable, kLowcofCy, 1), 46u);
  EXPECT_EQ(lowcof_word(kLowcofWindTable, kLowcofCz, 1), 67u);
  EXPECT_EQ(lowcof_word(kLowcofCurrentTable, kLowcofCy, 1), 130u);
  EXPECT_EQ(lowcof_word(kLowcofCurrentTable, kLowcofCz, 1), 151u);
  EXPECT_EQ(lowcof_word(1, kLowcofAngle, 1), 4u);
  EXPECT_EQ(lowcof_word(4, kLowcofCz, 21), 339u);
  EXPECT_EQ(kLowcofUnusedFirst, 340u);
  EXPECT_EQ(lowcof_count_word(1), 0u);
  EXPECT_EQ(lowcof_count_word(4), 3u);
  EXPECT_FALSE(lowcof_count_word(0));
  EXPECT_FALSE(lowcof_count_word(5));
  EXPECT_FALSE(lowcof_table_word(5));
  EXPECT_FALSE(lowcof_word(1, 4, 1));
  EXPECT_FALSE(lowcof_word(1, -1, 1));
  EXPECT_FALSE(lowcof_word(1, 0, 22));
  EXPECT_FALSE(lowcof_word(1, 0, 0));
}

// Every table of the mooring region: its accessor over (index) or (index,
// second index), the first and last word as the record layout places them,
// and its bounds.
struct MooringTable {
  const char* name;
  std::function<std::optional<std::size_t>(int, int)> word;
  int rows;     // first index 1..rows
  int columns;  // second index 1..columns (1 for one-index tables)
  std::size_t first;
  std::size_t last;
};

std::vector<MooringTable> mooring_tables() {
  auto one = [](auto f) { return [f](int i, int) { return f(i); }; };
  auto element = [](ElementField f) { return [f](int s, int t) { return element_word(f, s, t); }; };
  return {
      {"profile value", one(profile_value_word), 150, 1, 62331, 62480},
      {"departure angle", one(departure_angle_word), 150, 1, 77931, 78080},
      {"fairlead", fairlead_word, 150, 3, 62481, 62930},
      {"dynamic line", one(dynamic_line_word), 150, 1, 28383, 28532},
      {"buoy fairlead", buoy_fairlead_word, 149, 3, 2138, 2584},
      {"legs of type", one(type_legs_word), 150, 1, 28076, 28225},
      {"sublines of type", one(type_sublines_word), 150, 1, 28228, 28377},
      {"line number", type_line_word, 150, 150, 5426, 28074},
      {"anchor depth", one(anchor_depth_word), 150, 1, 78081, 78230},
      {"bottom flag", one(bottom_flag_word), 150, 1, 5276, 5425},
      {"elastic file bits", one(elastic_file_bits_word), 150, 1, 5126, 5275},
      {"spring buoy", one(spring_buoy_word), 12, 1, 78392, 78403},
      {"clump weight", one(clump_weight_word), 12, 1, 78404, 78415},
      {"composition", composition_word, 25, 150, 28581, 36079},
      {"length", element(ElementField::kLength), 25, 150, 36081, 39830},
      {"diameter", element(ElementField::kDiameter), 25, 150, 39831, 43580},
      {"immersed weight", element(ElementField::kImmersedWeight), 25, 150, 43581, 47330},
      {"breaking strength", element(ElementField::kBreakingStrength), 25, 150, 58581, 62330},
      {"added mass", element(ElementField::kAddedMass), 25, 150, 62931, 66680},
      {"drag", element(ElementField::kDrag), 25, 150, 66681, 70430},
      {"dry weight", element(ElementField::kDryWeight), 25, 150, 70431, 74180},
      {"reserve", element(ElementField::kReserve), 25, 150, 74181, 77930},
      {"compliance 1", [](int s, int t) { return compliance_word(s, t, 1); }, 25, 150, 47331, 58578},
      {"compliance 2", [](int s, int t) { return compliance_word(s, t, 2); }, 25, 150, 47332, 58579},
      {"compliance 3", [](int s, int t) { return compliance_word(s, t, 3); }, 25, 150, 47333, 58580},
  };
}

TEST(MooringRegion, TablesStartEndAndRefuseIndicesOutside) {
  for (const auto& t : mooring_tables()) {
    SCOPED_TRACE(t.name);
    EXPECT_EQ(t.word(1, 1), t.first);
    EXPECT_EQ(t.word(t.rows, t.columns), t.last);
    for (auto [i, j] : {std::pair{0, 1}, {t.rows + 1, 1}, {1, 0}, {1, t.columns + 1}, {INT_MIN, 1}, {1, INT_MAX}}) {
      if (t.columns == 1 && j != 1) continue;  // one-index tables ignore the second index
      EXPECT_FALSE(t.word(i, j)) << i << "," << j;
    }
  }
  // Subline s of type t is element (s - 1) + 25 (t - 1); leg i's z is word
  // 62480 + 3i; line k of type t is word 5425 + k + 151 (t - 1).
  EXPECT_EQ(element_word(ElementField::kLength, 3, 2), 36081u + 2 + 25);
  EXPECT_EQ(compliance_word(2, 2, 2), 47331u + 3 * 26 + 1);
  EXPECT_EQ(fairlead_word(7, 3), 62480u + 21);
  EXPECT_EQ(type_line_word(3, 4), 5425u + 4 + 302);
  EXPECT_FALSE(compliance_word(1, 1, 4));
  EXPECT_FALSE(fairlead_word(1, 4));
}

TEST(MooringRegion, NoTwoTablesShareAWord) {
  // Each word of the region belongs to one table at most (the composition
  // takes two words).
  std::map<std::size_t, std::string> owner;
  for (const auto& t : mooring_tables()) {
    const std::size_t width = std::string(t.name) == "composition" ? 2 : 1;
    for (int i = 1; i <= t.rows; ++i) {
      for (int j = 1; j <= t.columns; ++j) {
        const std::size_t w = *t.word(i, j);
        for (std::size_t n = w; n < w + width; ++n) {
          ASSERT_LT(n, kTpcmWords);
          const auto [it, fresh] = owner.emplace(n, t.name);
          ASSERT_TRUE(fresh) << t.name << " (" << i << "," << j << ") word " << n << " is " << it->second;
        }
      }
    }
  }
  EXPECT_EQ(table_count(-5, 150), 0);
  EXPECT_EQ(table_count(1000, 150), 150);
  EXPECT_EQ(table_count(17, 25), 17);
}

TEST(RecordLayout, GustrcomStartsZeroAndBlank) {
  Gustrcom g;
  EXPECT_EQ(Gustrcom::kLogicalCount + Gustrcom::kIntegerCount + Gustrcom::kRealCount, Gustrcom::kSlots);
  EXPECT_EQ(Gustrcom::kIntegerFirst, Gustrcom::kLogicalFirst + Gustrcom::kLogicalCount);
  EXPECT_EQ(Gustrcom::kRealFirst, Gustrcom::kIntegerFirst + Gustrcom::kIntegerCount);
  EXPECT_EQ(Gustrcom::default_word(54), 191u);  // the default of nFldReports
  for (std::int32_t w : g.words.words()) ASSERT_EQ(w, 0);
  for (const auto& name : g.names) ASSERT_EQ(name, std::string(30, ' '));
}

// ---- Text byte order ----

TEST(TextOrder, IdentificationLineIsStoredAsTheOldLinuxProgramWroteIt) {
  TempDir dir;
  const std::string path = dir.file("RONDDAT");
  ScriptedSession t;
  t.s.tpcm.i(kRecordLength) = 1987;
  t.s.tpcm.set_text(kIdentLine1, kIdentLineChars, "ABCDEFGH test line");
  int n = 1987, status = -1;
  diskio(t.s, kDiskioWrite, n, path, 1, status, t.s.tpcm.words(), kOsLinux);
  ASSERT_EQ(status, 0);
  const std::string bytes = slurp(path);
  EXPECT_EQ(bytes.substr(240, 8), "DCBAHGFE");
  EXPECT_EQ(bytes.substr(248, 4), "set ");  // " tes" reversed
}

TEST(TextOrder, RepairIsNeededAcrossCodeFive) {
  EXPECT_FALSE(needs_text_repair(21, 21));
  EXPECT_FALSE(needs_text_repair(5, 21));
  EXPECT_FALSE(needs_text_repair(3, 4));
  EXPECT_TRUE(needs_text_repair(3, 21));
  EXPECT_TRUE(needs_text_repair(4, 5));
  EXPECT_TRUE(needs_text_repair(21, 0));
  EXPECT_EQ(reverse_text_word(pack_text4("ABCD")), pack_text4("DCBA"));
}

// Stores text as a big-endian machine holds it: the first character in the
// most significant byte of each word.
void set_big_endian_text(Tpcm& rec, std::size_t first, std::size_t nchars, std::string text) {
  text.resize(nchars, ' ');
  for (std::size_t w = 0; w < nchars / 4; ++w) {
    std::uint32_t v = 0;
    for (std::size_t k = 0; k < 4; ++k) v = (v << 8) | static_cast<unsigned char>(text[4 * w + k]);
    rec.i(first + w) = static_cast<std::int32_t>(v);
  }
}

TEST(TextOrder, FileOfABigEndianWriterIsRepairedOnRead) {
  const std::string line1 = "PPC identification line";
  const std::string name = "SEG-0001";
  Tpcm ppc;  // the words as the program with code 3 held them
  ppc.i(kRecordLength) = 78635;
  ppc.i(kProgramKind) = 15;
  ppc.i(kWriterOs) = 3;
  set_big_endian_text(ppc, kIdentLine1, kIdentLineChars, line1);
  set_big_endian_text(ppc, kIdentLine2, kIdentLineChars, "second");
  set_big_endian_text(ppc, *segment_name_word(150, 25), kSegmentNameChars, name);
  set_big_endian_text(ppc, *segment_name_word(1, 1), kSegmentNameChars, name);
  const std::string bytes = encode_record(std::vector<std::int32_t>(ppc.words().begin(), ppc.words().end()));
  EXPECT_EQ(bytes.substr(240, 4), "PPC ");  // natural order in the file

  TempDir dir;
  const std::string path = dir.file("PIVADAT");
  write_file(path, bytes);
  ScriptedSession t;
  Tpcm& tpcm = t.s.tpcm;
  int n = 78635, status = -1;
  diskio(t.s, kDiskioRead, n, path, 1, status, tpcm.words(), kOsLinux);
  ASSERT_EQ(status, 0);

  ASSERT_TRUE(needs_text_repair(tpcm.i(kWriterOs), kOsLinux));
  EXPECT_EQ(tpcm.text(kIdentLine1, 4), " CPP");
  repair_text_order(tpcm, tpcm.i(kProgramKind));
  EXPECT_EQ(tpcm.text(kIdentLine1, kIdentLineChars), line1 + std::string(80 - line1.size(), ' '));
  EXPECT_EQ(tpcm.text(kIdentLine2, 6), "second");
  EXPECT_EQ(tpcm.text(*segment_name_word(150, 25), kSegmentNameChars), name);
  EXPECT_EQ(tpcm.text(*segment_name_word(1, 1), kSegmentNameChars), name);
  // Numbers are never touched.
  EXPECT_EQ(tpcm.i(kRecordLength), 78635);
  EXPECT_EQ(tpcm.i(kWriterOs), 3);
}

TEST(TextOrder, KindsWithoutSegmentNamesKeepTheMooringRegion) {
  Tpcm rec;
  rec.i(*segment_name_word(1, 1)) = pack_text4("ABCD");
  repair_text_order(rec, 4);
  EXPECT_EQ(rec.text(*segment_name_word(1, 1), 4), "ABCD");
}

// ---- Records written by gfortran ----

TEST(GfortranRecords, DataFileReadsBackToTheValuesWritten) {
  ScriptedSession t;
  int n = 1987, status = -1;
  diskio(t.s, kDiskioRead, n, kRecords + "gfortran_RONDDAT", 1, status, t.s.tpcm.words(), kOsLinux);
  ASSERT_EQ(status, 0);
  ASSERT_EQ(n, 1987);
  const Tpcm& r = t.s.tpcm;
  EXPECT_EQ(r.i(kRecordLength), 1987);
  EXPECT_EQ(r.i(kProgramKind), 4);
  EXPECT_EQ(r.i(kFairleadLayout), kLayoutCurrent);
  EXPECT_EQ(r.i(kYear), 2020);
  EXPECT_EQ(r.i(kUnitSystem), kUnitsMetric);
  EXPECT_EQ(r.i(kWriterOs), kOsLinux);
  EXPECT_EQ(r.i(kWaveFrequencies), 30);
  EXPECT_EQ(r.r(kVersion), 6.8f);
  EXPECT_EQ(r.i(kNavCode), -1983);
  EXPECT_EQ(r.i(kPageCounter), 5);
  EXPECT_EQ(r.i(kCurrentSelector), kSelectorDefault);
  EXPECT_EQ(r.i(kWindSelector), kSelectorDefault);
  EXPECT_EQ(r.i(kDriftSelector), kSelectorDefault);
  EXPECT_FALSE(needs_text_repair(r.i(kWriterOs), kOsLinux));
  EXPECT_EQ(r.text(kIdentLine1, kIdentLineChars),
            "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghijklmnopqrstuvwxyz!#$%&()*+,-./:;<=>");
  EXPECT_EQ(r.text(kIdentLine2, kIdentLineChars), "Disc buoy written by gfortran" + std::string(51, ' '));
  EXPECT_EQ(bits(r.r(300)), 0x80000000u);  // -0.0
  EXPECT_EQ(r.i(301), 0x7FC01234);
  EXPECT_EQ(r.i(302), 0x7F800001);
  EXPECT_EQ(r.r(303), 3.14159274f);
  EXPECT_EQ(r.r(304), -1.0e-30f);
  EXPECT_EQ(r.r(305), FLT_MAX);
  EXPECT_EQ(r.i(306), INT_MIN);
  EXPECT_EQ(r.i(307), -1);
  EXPECT_EQ(r.r(308), 28.65f);
  EXPECT_EQ(r.text(400, 8), "LINE-A01");
  EXPECT_EQ(r.i(1986), 123456789);
  EXPECT_EQ(r.i(1987), 0);
}

// The "LOWDAT" rule looks at the name as given: read it in a working directory.
using GfortranLowdat = InTempDir;

TEST_F(GfortranLowdat, ReadsBackIntoTheTables) {
  ScriptedSession t;
  int n = 680, status = -1;
  fs::copy_file(kRecords + "gfortran_LOWDAT", "LOWDAT");
  diskio(t.s, kDiskioRead, n, "LOWDAT", 1, status, t.s.lowcof.words(), kOsLinux);

  EXPECT_EQ(status, 0);
  EXPECT_EQ(n, 680);
  const Lowcof& low = t.s.lowcof;
  EXPECT_EQ(low.i(*lowcof_count_word(kLowcofWindTable)), 19);
  EXPECT_EQ(low.i(*lowcof_count_word(kLowcofCurrentTable)), 10);
  EXPECT_EQ(low.r(*lowcof_word(kLowcofWindTable, kLowcofAngle, 19)), 180.0f);
  EXPECT_EQ(low.r(*lowcof_word(kLowcofWindTable, kLowcofCx, 1)), -0.5f);
  EXPECT_EQ(low.r(*lowcof_word(kLowcofWindTable, kLowcofCy, 2)), 0.1f);
  // -0.01 x 0 in gfortran is -0.0: equal to zero, with the sign bit set.
  EXPECT_EQ(low.r(*lowcof_word(kLowcofWindTable, kLowcofCz, 1)), 0.0f);
  EXPECT_TRUE(std::signbit(low.r(*lowcof_word(kLowcofWindTable, kLowcofCz, 1))));
  EXPECT_EQ(low.r(*lowcof_word(kLowcofCurrentTable, kLowcofCy, 1)), 0.75f);
  EXPECT_EQ(low.r(*lowcof_word(kLowcofCurrentTable, kLowcofCz, 1)), -0.125f);
  EXPECT_EQ(low.i(679), 679);
}

}  // namespace
}  // namespace kelp
