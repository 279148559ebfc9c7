// ronvaske end to end: start, banner and menu, create or load, the page
// loop's navigation codes, end of input, and damaged data files.
//
// The navigation scripts need pages in slots 1 to 4 and slots 12 to 16
// empty; every page reads one reply per navigation code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/e2e_util.hpp"

namespace kelp::e2e {
namespace {

const std::string kPage = "Page 10: End of Session";
const std::string kPage1 = "Page 1: Site conditions";

const std::string kEndOfInput = " ++> End of input: session ended, nothing saved.\n";

// The start screen as the banner's layout gives it, worked out by hand.
std::string expected_banner() {
  const std::string m(11, ' ');
  const std::string rule = m + "+" + std::string(56, '=') + "+\n";
  const std::string empty = m + "|" + std::string(56, ' ') + "|\n";
  std::string b = "\n" + rule + empty + empty + empty;
  b += m + "|" + std::string(14, ' ') + "**   Welcome to Rondixa   **" + std::string(14, ' ') + "|\n";
  b += empty + empty;
  b += m + "|" + std::string(17, ' ') + "Rondixa Version: 6.80.00 " + std::string(14, ' ') + "|\n";
  b += m + "|" + std::string(14, ' ') + "Motion Evaluations: 149 points" + std::string(12, ' ') + "|\n";
  b += empty + empty + empty + empty + rule;
  b += "\n\n\n\n " + std::string(78, '-') + "\n";
  b += "\n (M) Modify existing, (C) Create new, (E) Execute simulation, (B) Batch modify\n\n";
  b += " Enter letter of selection: ";
  return b;
}

TEST(RonvaskeStart, CreateShowTheFinalPageSaveAndExit) {
  TempDir dir;
  const auto r = run(dir, "ronvaske", script({"C", "L", "1"}));
  ASSERT_FALSE(r.timed_out);
  EXPECT_EQ(r.status, 0) << r.screen;
  EXPECT_EQ(r.screen.substr(0, expected_banner().size()), expected_banner());
  EXPECT_EQ(page_labels(r.screen), "1 10 ");

  const std::string data = slurp(dir / "RONDDAT");
  ASSERT_EQ(data.size(), 7956u);
  EXPECT_EQ(get_be32(data, 0), 0x1F0Cu);
  EXPECT_EQ(get_be32(data, 7952), 0x1F0Cu);
  EXPECT_EQ(file_word(data, 0), 1987);
  EXPECT_EQ(file_word(data, 1), 4);
  EXPECT_EQ(file_real(data, 216), 6.8f);
  EXPECT_EQ(get_be32(data, 4 + 4 * 216), 0x40D9999Au);
  EXPECT_EQ(file_word(data, 776), 4);
  EXPECT_EQ(file_word(data, 786), 0x444);
  EXPECT_EQ(file_word(data, 773), 0x111);
  EXPECT_EQ(file_real(data, 416), 54.5f);
  EXPECT_EQ(file_word(data, 28), 37);   // session defaults are saved with the record
  EXPECT_EQ(file_word(data, 699), 0);
  EXPECT_EQ(file_word(data, 700), 0);
  EXPECT_EQ(file_word(data, 702), 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "RONDBAK"));
  EXPECT_FALSE(std::filesystem::exists(dir / "LASTBAK"));
}

TEST(RonvaskeStart, AnUnchangedFileIsNotWrittenAgain) {
  TempDir dir;
  ASSERT_EQ(run(dir, "ronvaske", script({"C", "L", "1"})).status, 0);
  const auto before = snapshot(dir.path());
  const auto r = run(dir, "ronvaske", script({"m", "L", "1"}));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.screen.find("Input File Characteristics"), std::string::npos);
  EXPECT_EQ(snapshot(dir.path()), before);
}

TEST(RonvaskeNavigation, EveryCodeOfTheSlotTable) {
  TempDir dir;
  // A record that passes the consistency checks, so that E executes.
  ASSERT_EQ(run(dir, "ronvaske", sound_buoy_script({"L", "1"})).status, 0);
  const auto r = run(dir, "ronvaske",
                     script({"M", "F", "L", "S", "S", "H", "", "!", "B", "J0", "J1", "J12", "J18", "J-3", "B", "?",
                             "", "E", ""}));
  ASSERT_FALSE(r.timed_out);
  // M: page 1; F: 1; L: 10; S from the final page: 2; S: 4; H on page 4:
  // key list, then page 3; !: 3 again; B: 2; J0 and J1: 1; J12 through the
  // empty slots: 10; J18 and J-3: 1; B from page 1: 10; ?: help, then 10
  // again; E: the print pass, saving and the submission note.
  EXPECT_EQ(page_labels(r.screen), "1 1 10 2 4 3 3 2 1 1 10 1 1 10 10 ") << r.screen;
  EXPECT_NE(r.screen.find(" (Jn) Jump to page \"n\"\n"), std::string::npos);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(slurp(dir / "RONDDAT").size(), 7956u);
  EXPECT_TRUE(std::filesystem::exists(dir / "RONDIN.stxt"));
  EXPECT_NE(r.errors.find("it is ready for submission to the server."), std::string::npos);
}

TEST(RonvaskeNavigation, EndOfInputOnThePageLeavesNoFile) {
  TempDir dir;
  const auto r = run(dir, "ronvaske", script({"C", "L"}));
  EXPECT_EQ(page_labels(r.screen), "1 10 ");
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.screen.ends_with(kEndOfInput));
  EXPECT_TRUE(snapshot(dir.path()).empty());
}

TEST(RonvaskeNavigation, ExecuteRunsThePrintPassSavesAndShowsTheSubmissionNote) {
  TempDir dir;
  const auto r = run(dir, "ronvaske", sound_buoy_script({"L", "E", ""}));
  ASSERT_FALSE(r.timed_out);
  EXPECT_EQ(r.status, 0) << r.screen << r.errors;
  EXPECT_TRUE(std::filesystem::exists(dir / "RONDDAT"));
  EXPECT_TRUE(std::filesystem::exists(dir / "RONDIN.stxt"));
  EXPECT_NE(r.errors.find("it is ready for submission to the server."), std::string::npos);
  // The listing starts with the banner, written without a menu.
  const std::string listing = slurp(dir / "RONDIN.stxt");
  EXPECT_NE(listing.find("**   Welcome to Rondixa   **"), std::string::npos);
  EXPECT_EQ(listing.find("Enter letter of selection"), std::string::npos);
}

TEST(RonvaskeNavigation, ExitWithoutUpdatingAnsweredAWritesNothing) {
  TempDir dir;
  const auto r = run(dir, "ronvaske", script({"C", "L", "2", "A"}));
  EXPECT_NE(r.screen.find(" This action will result in the loss of data changes to RONDDAT"), std::string::npos)
      << r.screen;
  EXPECT_EQ(page_labels(r.screen), "1 10 10 ");
  EXPECT_EQ(r.status, 1);  // the replies ran out on the page shown again
  EXPECT_TRUE(snapshot(dir.path()).empty());
}

TEST(RonvaskeFiles, ModifyWithoutDataFileIsAFileError) {
  TempDir dir;
  const auto r = run(dir, "ronvaske", script({"M", ""}));
  EXPECT_NE(r.screen.find("\n ++> File not found or file access error in ronvaske"), std::string::npos);
  EXPECT_NE(r.screen.find("\n     File name: RONDDAT"), std::string::npos);
  EXPECT_NE(r.status, 0);
  EXPECT_TRUE(snapshot(dir.path()).empty());
}

TEST(RonvaskeFiles, EndOfInputAtTheMenu) {
  for (const std::string replies : {"", "X\n", "\n"}) {
    TempDir dir;
    write_file(dir / "RONDDAT", encode_record(disc_buoy_words()));
    const auto before = snapshot(dir.path());
    const auto r = run(dir, "ronvaske", replies);
    ASSERT_FALSE(r.timed_out);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.screen.ends_with(" Enter letter of selection: \n" + kEndOfInput)) << r.screen;
    EXPECT_EQ(snapshot(dir.path()), before);
  }
}

TEST(RonvaskeFiles, EndOfInputOnAPageLeavesTheFileAlone) {
  TempDir dir;
  auto words = disc_buoy_words();
  words[111] = 2019;  // the load stamps a new year: a change that is never saved
  write_file(dir / "RONDDAT", encode_record(words));
  const auto before = snapshot(dir.path());
  const auto r = run(dir, "ronvaske", script({"M"}));
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.screen.ends_with(kEndOfInput));
  EXPECT_EQ(page_labels(r.screen), "1 ");
  EXPECT_EQ(snapshot(dir.path()), before);
}

// ---- Damaged data files ----

struct Damaged {
  std::string name;
  std::string bytes;
  std::string report;  // a text the load must show
};

std::vector<Damaged> damaged_files() {
  const std::string good = encode_record(disc_buoy_words());
  auto kind0 = disc_buoy_words();
  kind0[1] = 0;
  auto kind18 = disc_buoy_words();
  kind18[1] = 18;
  auto longer = disc_buoy_words();
  longer.push_back(0);
  longer[0] = 1988;
  // Every word with its bytes in the other order, markers included.
  std::string swapped = good;
  for (std::size_t k = 0; k + 4 <= swapped.size(); k += 4) {
    std::swap(swapped[k], swapped[k + 3]);
    std::swap(swapped[k + 1], swapped[k + 2]);
  }
  const std::string text4 =
      " ++> Warning: Data file is seriously corrupt.\n"
      "              It will very probably crash the simulation if you continue...\n";
  return {
      {"truncated", good.substr(0, 4000), " ++> Input Data File smaller than expected:\n"},
      {"truncated to 3 bytes", good.substr(0, 3), text4},
      {"kind 0", encode_record(kind0), text4},
      {"kind 18", encode_record(kind18), text4},
      {"one word long", encode_record(longer),
       " ++> Warning: Data file is seriously corrupt or from a very early version.\n"
       "              Inspect all editor pages with particular care...\n"},
      {"other byte order", swapped, text4},
  };
}

TEST(RonvaskeCorrupt, ReportedAndLeftAsItWasWhenTheUserAborts) {
  for (const auto& d : damaged_files()) {
    TempDir dir;
    write_file(dir / "RONDDAT", d.bytes);
    const auto r = run(dir, "ronvaske", script({"M", "A"}));
    ASSERT_FALSE(r.timed_out) << d.name;
    EXPECT_NE(r.screen.find(d.report), std::string::npos) << d.name << "\n" << r.screen;
    EXPECT_NE(r.screen.find("Enter \"A\" to abort or Press <RETURN> to continue: "), std::string::npos) << d.name;
    EXPECT_EQ(r.status, 1) << d.name;
    EXPECT_TRUE(slurp(dir / "RONDDAT") == d.bytes) << d.name;
    // Besides the data file, at most the warning report of the load.
    auto files = snapshot(dir.path());
    files.erase("DATUPWRN.stxt");
    EXPECT_EQ(files.size(), 1u) << d.name;
  }
}

TEST(RonvaskeCorrupt, GoingOnNeverCrashesAndNeverWritesUnasked) {
  for (const auto& d : damaged_files()) {
    TempDir dir;
    write_file(dir / "RONDDAT", d.bytes);
    // Go on at every question, then leave without saving.
    const auto r = run(dir, "ronvaske", script({"M", "", "", "", "L", "2", ""}));
    ASSERT_FALSE(r.timed_out) << d.name;
    EXPECT_LT(r.status, 128) << d.name << "\n" << r.screen << r.errors;
    EXPECT_TRUE(slurp(dir / "RONDDAT") == d.bytes) << d.name;
    EXPECT_FALSE(std::filesystem::exists(dir / "RONDBAK")) << d.name;
  }
}

TEST(RonvaskeCorrupt, ShortFileLoadsAsOlderAndSavesTheFullRecord) {
  TempDir dir;
  auto words = disc_buoy_words();
  words.pop_back();
  words[0] = 1986;
  const std::string bytes = encode_record(words);
  write_file(dir / "RONDDAT", bytes);
  const auto r = run(dir, "ronvaske", script({"M", "", "L", "1"}));
  EXPECT_EQ(r.status, 0) << r.screen;
  EXPECT_NE(r.screen.find(" ++> Input Data File smaller than expected:\n"
                          "     Expected   1987 I*4s, found   1986 I*4s... CAUTION!\n"),
            std::string::npos);
  EXPECT_EQ(slurp(dir / "RONDDAT").size(), 7956u);
  EXPECT_TRUE(slurp(dir / "RONDBAK") == bytes);
  EXPECT_TRUE(std::filesystem::exists(dir / "DATUPWRN.stxt"));
}

TEST(RonvaskeCorrupt, TextFromTheOtherByteOrderIsRepairedWhenSaved) {
  TempDir dir;
  auto words = disc_buoy_words();
  words[120] = 3;  // written on a big-endian machine: texts in its order
  for (std::size_t k = 59; k < 79; ++k) words[k] = 0x41424344;
  const std::string bytes = encode_record(words);
  write_file(dir / "RONDDAT", bytes);

  // Leaving without saving keeps the file as it was.
  auto r = run(dir, "ronvaske", script({"M", "", "", "L", "2", ""}));
  EXPECT_NE(r.screen.find(" ++> File was produced on a Macintosh PPC computer.\n"), std::string::npos) << r.screen;
  EXPECT_TRUE(slurp(dir / "RONDDAT") == bytes);

  // Saving writes the texts in this machine's order.
  r = run(dir, "ronvaske", script({"M", "", "", "L", "1"}));
  EXPECT_EQ(r.status, 0);
  const std::string saved = slurp(dir / "RONDDAT");
  EXPECT_EQ(file_word(saved, 59), 0x44434241);
  EXPECT_EQ(file_word(saved, 120), 21);
}

}  // namespace
}  // namespace kelp::e2e
