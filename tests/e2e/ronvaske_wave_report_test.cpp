// End-to-end run of the wave report: a record created by ronvaske, given a
// sea state in its data file, and item 6 of the End of Session page.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <string>

#include "e2e/e2e_util.hpp"
#include "edlib/record/data_record.hpp"

namespace kelp::e2e {
namespace {

// Word n of a data file, replaced.
void put_word(std::string& bytes, std::size_t n, std::uint32_t v) { bytes.replace(4 + 4 * n, 4, be32(v)); }
void put_real(std::string& bytes, std::size_t n, float v) { put_word(bytes, n, std::bit_cast<std::uint32_t>(v)); }

TEST(RonvaskeWaveReport, ItemSixWritesTheReportAndShowsThePageAgain) {
  if (!std::filesystem::exists(program_path("ronvaske"))) FAIL() << "ronvaske is not built";
  TempDir dir;
  // A new record (periods 5.0 to 19.5 s by 0.5 s, English units) with 100 ft
  // of water, saved.
  RunResult r = run(dir, "ronvaske", script({"C", "4", "100", "L", "1"}));
  ASSERT_EQ(r.status, 0) << r.screen;
  // A regular height of 2 ft and a Pierson-Moskowitz sea of Hs 10 ft.
  std::string data = slurp(dir / "RONDDAT");
  put_real(data, kRegularHeight, 2.0f);
  put_word(data, kIrregularOn, 1);
  put_word(data, kSeaSpectrum, 1);
  put_real(data, kSeaHeights, 10.0f);
  write_file(dir / "RONDDAT", data);

  r = run(dir, "ronvaske", script({"M", "L", "6", "2"}));
  EXPECT_EQ(r.status, 0) << r.screen;
  EXPECT_EQ(count_of(r.screen, " >>> Outputting wave kinematics data...\n"), 1);
  EXPECT_EQ(count_of(r.screen, "End of Session"), 2);
  EXPECT_EQ(slurp(dir / "RONDDAT"), data);

  const std::string report = slurp(dir / "WAVEOUT.stxt");
  // T = 10 s in 100 ft (g = 32.152): kh = 1.3902, L 451.96 ft, slope ak
  // 0.80 deg, c 45.20 ft/s, cg 30.42 ft/s.
  EXPECT_EQ(count_of(report, "\n    10.00     451.96       0.80      45.20      30.42    0.139E-01     0.628\n"), 1);
  // The Pierson-Moskowitz peak period 15.66 sqrt(Hs / g).
  EXPECT_EQ(count_of(report, "\n          Spectrum peak period .................      8.73  seconds        \n"), 2);
}

}  // namespace
}  // namespace kelp::e2e
