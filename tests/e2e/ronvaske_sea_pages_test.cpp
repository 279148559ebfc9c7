// ronvaske end to end through its sea-state pages: regular waves, irregular
// seas and swell are edited, the run executes, and the print pass lists the
// three pages in "RONDIN.stxt" as they were left.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "e2e/e2e_util.hpp"

namespace kelp::e2e {
namespace {

TEST(RonvaskeSeaPages, EditedSeaStateIsListedByThePrintPass) {
  TempDir dir;
  const auto r = run(dir, "ronvaske",
                     sound_buoy_script({"", "",
                                        // page 5: regular wave height Hs/sqrt(2)
                                        "4", "2.8284", "",
                                        // page 6: a General JONSWAP sea of Hs 4 ft, Tp 9 s
                                        "1", "2", "6", "6", "1", "4", "", "7", "1", "9", "", "8", "3.3", "9", "0.07",
                                        "10", "0.09", "",
                                        // page 7: a swell of 2 ft, 14 s from 30 degrees
                                        "1", "4", "30", "6", "2", "7", "14", "",
                                        // final page: execute
                                        "E", ""}));
  ASSERT_FALSE(r.timed_out);
  EXPECT_EQ(r.status, 0) << r.screen << r.errors;
  const std::string listing = slurp(dir / "RONDIN.stxt");
  const std::string pages =
      "       ****  Page 5: Regular Wave Characteristics  ****\n"
      "\n"
      "\n"
      " 1) Number of different periods (Max 100):  30\n"
      " 2) Periods (seconds) --\n"
      "          5.00         5.50         6.00         6.50         7.00         7.50\n"
      "          8.00         8.50         9.00         9.50        10.00        10.50\n"
      "         11.00        11.50        12.00        12.50        13.00        13.50\n"
      "         14.00        14.50        15.00        15.50        16.00        16.50\n"
      "         17.00        17.50        18.00        18.50        19.00        19.50\n"
      "\n"
      " 3) Use constant wave height or wave slope:  height\n"
      " 4) Wave height       2.83 feet           \n"
      "\n"
      "\n"
      " 5) Number of wave headings (Max  12):   1\n"
      " 6) Wave headings (degrees) --\n"
      "          0.00\n"
      "\f\n"
      "        ****  Page 6: Irregular wave specifications  ****\n"
      "\n"
      "  1) Simulate irregular waves? Yes\n"
      "  2) Wave type:  General JONSWAP       \n"
      "  3) Number of wave headings (Max  37):   1\n"
      "  4) Wave headings (degrees) --\n"
      "          0.00\n"
      "\n"
      "                          -- Wave parameters --\n"
      "\n"
      "  5) Number of irregular wave cases for each heading (Max   6):   1\n"
      "  6) Significant height in feet           \n"
      "          4.00\n"
      "  7) Spectrum peak period (seconds)\n"
      "          9.00\n"
      "  8) JONSWAP \"Gamma\":     3.3000\n"
      "  9) JONSWAP \"Sigma a\":   0.0700\n"
      " 10) JONSWAP \"Sigma b\":   0.0900\n"
      " 11) Compute JONSWAP \"Alpha\" parameter\n"
      "\n"
      " 20) Use long-crested irregular wave model\n"
      "\n"
      "\n"
      "\n"
      "                ****  Page 7: Background swell characteristics  ***\n"
      "\n"
      "  1) Simulate swell? ...........................         Yes\n"
      "\n"
      "  2) Swell type: Brenvik default swell\n"
      "  4) Global swell heading ......................       30.00 degrees\n"
      "  6) Swell significant height ..................        2.00 feet        \n"
      "  7) Swell peak period .........................       14.00 seconds\n"
      "  8) Swell spectral bandwidth parameter ........        0.10\n"
      "\n"
      " 21) ++> Simulate SECOND, *smaller* swell? .....         No \n"
      "\n"
      " 41) Lock swell heading to irregular waves?              No \n"
      "\f\n";
  EXPECT_NE(listing.find(pages), std::string::npos) << listing;
  EXPECT_EQ(listing.find("Enter number of selection"), std::string::npos);

  const std::string data = slurp(dir / "RONDDAT");
  for (const auto& [word, value] : {std::pair{171, 1}, {163, 5}, {173, 1}}) {
    EXPECT_EQ(file_word(data, word), value) << word;
  }
  for (const auto& [word, value] :
       {std::pair{447, 2.8284f}, {429, 4.0f}, {435, 9.0f}, {476, 3.3f}, {452, 30.0f}, {450, 2.0f}, {451, 14.0f}}) {
    EXPECT_EQ(file_real(data, word), value) << word;
  }
}

}  // namespace
}  // namespace kelp::e2e
