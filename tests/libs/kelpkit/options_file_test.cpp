#include "kelpkit/options_file.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <iterator>
#include <functional>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "sysutl/record.hpp"
#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

using G = Gustrcom;
using Picks = std::array<std::int32_t, kPickCapacity>;

const std::string kName = "GUSTRDAT                      ";  // as the page passes it: 30 characters

// Distinct values in every slot: alternating logicals, integers from -50 up,
// reals that E14.7 holds exactly.
void fill_slots(G& g) {
  for (std::size_t k = 0; k < G::kLogicalCount; ++k) g.words.i(G::kLogicalFirst + k) = k % 3 == 0 ? 1 : 0;
  for (std::size_t k = 0; k < G::kIntegerCount; ++k) {
    g.words.i(G::kIntegerFirst + k) = static_cast<std::int32_t>(7 * k) - 50;
  }
  for (std::size_t k = 0; k < G::kRealCount; ++k) {
    g.words.set_r(G::kRealFirst + k, 0.25f * static_cast<float>(k) - 5.0f);
  }
  g.words.set_r(G::kRealFirst + 1, 1.5e20f);
  g.words.set_r(G::kRealFirst + 2, -2.5e-20f);
  g.words.i(kNFldReportsWord) = 4;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string text_of(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

// Files in the directory of a file layer: a replacement leaves no temporary.
int files_in(const testing::DirFiles& files) {
  const auto dir = std::filesystem::path(files.at("x")).parent_path();
  return static_cast<int>(std::distance(std::filesystem::directory_iterator(dir), {}));
}

std::span<const std::int32_t> slot_values(const G& g) { return g.words.words().first(G::kSlots); }

class OptionsFile : public ::testing::Test {
 protected:
  OptionsFile() { t.s.set_files(files); }

  bool write(float storm = 3.0f, int default_count = 4) {
    return write_td_opts(t.s, kName, 6.8f, 0, kTdOptsFormatVersion, kTdOptsFormatMinor, storm, default_count, page4,
                         current, kScreen);
  }
  int read() { return read_td_opts(t.s, kName, current, defaults, version); }
  std::string file() const { return files->get("GUSTRDAT"); }
  std::vector<std::string> file_lines() const { return lines_of(file()); }

  testing::ScriptedSession t{"\n\n\n"};
  std::shared_ptr<testing::DirFiles> files = std::make_shared<testing::DirFiles>();
  Picks page4{7, 3, 12, 1, 99};
  Picks current{2, 4, 6, 8, 98};
  Picks defaults{};
  std::string version = "unchanged";
};

// Values that fit their fixed fields keep them; wider ones are written in
// full, and every file reads back.
TEST_F(OptionsFile, WrittenFileReadsBackWithTheSameValues) {
  struct Case {
    float storm;
    std::int32_t reports;
    std::int32_t integer;  // in the first integer slot
    const char* line4;
    const char* field;     // the first field of line 6
  };
  const std::vector<Case> cases = {
      {3.0f, 4, 999, "\t  10800.00\t  5", "\t999"},
      {3.0f, 0, 17, "\t  10800.00\t  5", "\t 17"},
      {2777.0f, 4, -99, "\t9997200.00\t  5", "\t-99"},
      {2778.0f, 4, 1000, "\t10000800.00\t  5", "\t1000"},
      {-300.0f, 4, -100, "\t-1080000.00\t  5", "\t-100"},
      {0.5f, 4, std::numeric_limits<std::int32_t>::min(), "\t   1800.00\t  5", "\t-2147483648"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line4);
    fill_slots(t.s.gustrcom);
    t.s.gustrcom.words.i(kNFldReportsWord) = c.reports;
    t.s.gustrcom.words.i(G::kIntegerFirst) = c.integer;
    const G written = t.s.gustrcom;
    const Picks written_current = current;
    ASSERT_TRUE(write(c.storm, 5));
    const auto lines = file_lines();
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], kTdOptsHeaderLine);
    EXPECT_EQ(lines[3], c.line4);
    EXPECT_EQ(lines[5].substr(0, lines[5].find('\t', 1)), c.field);
    EXPECT_EQ(files_in(*files), 1);

    t.s.gustrcom = G{};
    current.fill(-1);
    defaults.fill(-1);
    ASSERT_EQ(read(), kTdOptsRead);
    const auto got = slot_values(t.s.gustrcom);
    const auto want = slot_values(written);
    EXPECT_TRUE(std::equal(got.begin(), got.end(), want.begin()));
    EXPECT_EQ(t.s.gustrcom.words.r(kDefaultFullDurationWord), 3600.0f * c.storm);
    EXPECT_EQ(t.s.gustrcom.words.i(kDefaultNFldReportsWord), 5);
    const auto n = static_cast<std::size_t>(c.reports);
    for (std::size_t k = 0; k < kPickCapacity; ++k) {
      EXPECT_EQ(defaults[k], k < n ? page4[k] : -1) << "default pick " << k;
      EXPECT_EQ(current[k], k < n ? written_current[k] : -1) << "current pick " << k;
    }
    EXPECT_EQ(version, std::string("GUSTRDAT Ver [1.25.02];\t Brenvik Ver [6.80.00]").append(34, ' '));
    current = written_current;
  }
}

TEST_F(OptionsFile, OtherFilesAreReadOrRejectedWhole) {
  fill_slots(t.s.gustrcom);
  ASSERT_TRUE(write());
  const std::vector<std::string> good = file_lines();
  auto with = [&](std::size_t line, std::string text) {
    auto lines = good;
    lines[line - 1] = std::move(text);
    return lines;
  };
  auto without = [&](std::size_t first, std::size_t count) {
    auto lines = good;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(first - 1),
                lines.begin() + static_cast<std::ptrdiff_t>(first - 1 + count));
    return lines;
  };
  auto shorter_logicals = with(3, "\t 50\t 32\t 52");
  shorter_logicals[4] = good[4].substr(0, 100);  // 50 logicals of two characters
  auto picks_line6 = [&](const std::string& count) {
    auto line = good[5];
    return with(6, line.replace(line.find("\t  4"), 4, count));
  };
  auto gustrevan_header = [&](const std::string& header) {
    auto lines = without(2, 1);
    lines[0] = header;
    return lines;
  };
  struct Case {
    const char* what;
    std::vector<std::string> lines;
    int status;
  };
  const std::vector<Case> cases = {
      {"older, shorter logical group", shorter_logicals, kTdOptsResized},
      {"more reals than the group holds", with(3, "\t 53\t 32\t 60"), kTdOptsUnreadable},
      {"negative group size", with(3, "\t -1\t 32\t 52"), kTdOptsUnreadable},
      {"ends after line 6", std::vector<std::string>(good.begin(), good.begin() + 6), kTdOptsUnreadable},
      {"empty", {}, kTdOptsUnreadable},
      {"asterisks", picks_line6("\t***"), kTdOptsUnreadable},
      {"151 picks", picks_line6("\t151"), kTdOptsUnreadable},
      {"negative pick count", picks_line6("\t -1"), kTdOptsUnreadable},
      {"header of Gustrevan", gustrevan_header(" Gustrevan options"), kTdOptsRead},
      {"other header of Gustrevan", gustrevan_header("Gustrevan options"), kTdOptsRead},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    files->put("GUSTRDAT", text_of(c.lines));
    G before;
    for (std::size_t k = 0; k < G::kSlots; ++k) before.words.i(k) = 7;
    t.s.gustrcom = before;
    const Picks current_before = current;
    version = "unchanged";
    ASSERT_EQ(read(), c.status);
    EXPECT_EQ(file(), text_of(c.lines));  // an unreadable file is left for the page to write over
    const auto got = slot_values(t.s.gustrcom);
    if (c.status == kTdOptsUnreadable) {
      EXPECT_EQ(t.s.gustrcom.words, before.words);
      EXPECT_EQ(current, current_before);
      EXPECT_EQ(version, "unchanged");
    } else if (c.status == kTdOptsResized) {
      for (std::size_t k = 50; k < 53; ++k) EXPECT_EQ(got[k], 7) << "word " << k;
      EXPECT_EQ(got[49], 0);
      EXPECT_EQ(got[53 + 1], 4);
    } else {
      EXPECT_EQ(version, "unchanged");
      EXPECT_EQ(got[53 + 1], 4);
    }
  }
}

TEST_F(OptionsFile, AFailedWriteKeepsTheOldFileAndGoesOn) {
  // Each step of the replacement fails in turn.
  struct Failing : testing::DirFiles {
    int step = 0;
    NewFile create_new(const Place& p, const Protection* like) override {
      if (step == 1) return {};
      NewFile made = DirFiles::create_new(p, like);
      if (step == 2 && made.out) made.out = std::make_unique<std::ostream>(nullptr);  // every write fails
      return made;
    }
    bool rename_at(const Place& f, const Place& to) override {
      return step == 3 ? (errno = EIO, false) : DirFiles::rename_at(f, to);
    }
  };
  auto failing = std::make_shared<Failing>();
  t.s.set_files(failing);
  // The file is named with why, as every refused file is.
  const std::string io = "the disk reports an input or output error";
  for (const auto& [step, why] : {std::pair{1, std::string("the system refuses it")}, {2, io}, {3, io}}) {
    SCOPED_TRACE(step);
    failing->put("GUSTRDAT", "old file\n");
    failing->step = step;
    const std::size_t shown = t.shown().size();
    EXPECT_FALSE(write());
    EXPECT_EQ(failing->get("GUSTRDAT"), "old file\n");
    EXPECT_EQ(files_in(*failing), 1);
    EXPECT_EQ(t.shown().substr(shown),
              "++> I/O Error in WRITE_TD_OPTS; GUSTRDAT not written, the session continues...\n"
              "     File name: GUSTRDAT\n     Reason: " +
                  why + "\n \n Press <RETURN> to continue: ");
  }
}

TEST_F(OptionsFile, AMissingFileStopsTheRead) {
  try {
    read();
    FAIL() << "no stop";
  } catch (const ProgramStop& stop) {
    EXPECT_NE(stop.status(), 0);
  }
  EXPECT_EQ(t.shown(), "++> I/O Error in READ_TD_OPTS (missing GUSTRDAT?); aborting...\n");
}

TEST(OptionsFileTexts, VersionString) {
  struct Case {
    float x;
    int n;
    const char* text;
  };
  const std::vector<Case> cases = {
      {6.8f, 0, "6.80.00 "}, {1.25f, 12, "1.25.12 "}, {-1.25f, 2, "1.25.02b"},
      {0.0f, 0, "0.00.00b"}, {10.0f, 0, "****.00 "}, {12.5f, 3, "****.03 "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(version_string2(c.x, c.n), std::string(c.text).append(9, ' ')) << c.x << " " << c.n;
  }
}

TEST(OptionsFileTexts, OverrideOfThePicks) {
  const Picks page4{7, 3, 12, 1, 5};
  struct Case {
    Picks current;
    int count;
    int default_count;
    bool differs;
  };
  const std::vector<Case> cases = {
      {{7, 3, 12, 1, 40}, 4, 4, false},  // later entries do not count
      {{7, 3, 12, 2}, 4, 4, true},
      {{7, 3, 12, 1}, 3, 4, true},
      {{}, 0, 0, false},
      {{7, 3}, 400, 400, true},  // a count beyond the lists compares what they hold
      {{}, -1, -1, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(overridelinepicks_f(c.current, c.count, page4, c.default_count), c.differs) << c.count;
  }
}

TEST(OptionsFileTexts, OverrideOfTheDuration) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    float hours;
    float storm;
    bool differs;
  };
  const std::vector<Case> cases = {
      {3.0f, 3.0f, false},
      {3.0f, 3.5f, true},
      {(3600.0f * 0.27f) / 3600.0f, 0.27f, false},  // read back from the file: 0.27000004
      {0.2700001f, 0.27f, true},
      {nan, nan, true},
      {nan, 3.0f, true},
      {0.0f, -0.0f, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(overridefullduration_f(c.hours, c.storm), c.differs) << c.hours << " " << c.storm;
  }
}

}  // namespace
}  // namespace kelp
