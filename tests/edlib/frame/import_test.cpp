#include "edlib/frame/import.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <ios>
#include <istream>
#include <memory>
#include <streambuf>
#include <string>

#include "edlib/record/data_record.hpp"
#include "sysutl/diskio.hpp"
#include "sysutl/text.hpp"
#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

using testing::DirFiles;
using testing::ScriptedSession;

// A file layer on which "FAILING" opens but every read of it fails.
struct FailingReads : DirFiles {
  std::unique_ptr<ReadFile> open_read_at(const Place& p) override {
    if (p.path() == "FAILING") return std::make_unique<testing::FailingReadFile>();
    return DirFiles::open_read_at(p);
  }
};

// A header of a record; every other word w holds tag + w, so a test sees
// where each word came from. words: the count word (0: the kind's size).
struct Header {
  int kind;
  float version = 6.8f;
  int os = 21;
  int units = 0;
  int words = 0;
};
constexpr std::int32_t kMine = 0x11000000, kTheirs = 0x22000000;

Tpcm tagged(std::int32_t tag, const Header& h) {
  Tpcm t;
  for (std::size_t w = 0; w < Tpcm::kWords; ++w) t.i(w) = tag + static_cast<std::int32_t>(w);
  t.i(kRecordLength) = h.words != 0 ? h.words : record_size(h.kind);
  t.i(kProgramKind) = h.kind;
  t.set_r(kVersion, h.version);
  t.i(kWriterOs) = h.os;
  t.i(kUnitSystem) = h.units;
  return t;
}

// The record after an import of file words [first, end): the words an import
// never takes keep the record's values.
Tpcm imported(const Tpcm& record, const Tpcm& file, std::size_t first, std::size_t end) {
  Tpcm t = record;
  for (std::size_t w = first; w < end; ++w) t.i(w) = file.i(w);
  for (std::size_t w : {0, 1, 13, 117, 120, 699, 700, 701, 702}) t.i(w) = record.i(w);
  return t;
}

const std::string kWait = "\n \n Press <RETURN> to continue: ";
const std::string kAsk = "\a Enter \"A\" to abort or Press <RETURN> to continue: ";

// One session for all imports of a test, so the import buffer is the same.
class Import : public ::testing::Test {
 protected:
  Import() { ss_.s.set_files(files_); }
  // Writes `file` as one record of as many words as its count word says.
  void put(const std::string& name, const Tpcm& file) {
    files_->put(name, encode_record(file.words().first(static_cast<std::size_t>(file.i(kRecordLength)))));
  }
  // Runs one import and returns what it showed after the path.
  std::string run(const std::string& replies, int block) {
    ss_.in.clear();
    ss_.in.str(replies);
    ss_.screen.str("");
    datload(ss_.s, block);
    return ss_.shown().substr(ss_.shown().find(">>> Path: ") + 10);
  }
  std::shared_ptr<FailingReads> files_ = std::make_shared<FailingReads>();
  ScriptedSession ss_;
  Tpcm& record_ = ss_.s.tpcm;
};

TEST(ImportPath, TheReplyIsTheNameAsTyped) {
  for (const auto& [reply, path] : std::initializer_list<std::pair<std::string, std::string>>{
           {"RONDDAT", "RONDDAT"}, {"  ../data/src,v2/RONDDAT  ", "../data/src,v2/RONDDAT"},
           {"My Files/RONDDAT", "My Files/RONDDAT"}, {"\"C:\\Brenvik\\HULVDAT\"", "C:\\Brenvik\\HULVDAT"},
           {"'it''s here ' rest", "it's here"}, {"\"unclosed/name  ", "unclosed/name"},
           {std::string(159, ' ') + "X", "X"}}) {
    EXPECT_EQ(import_path(reply), path) << reply;
  }
  for (const std::string& reply :
       std::initializer_list<std::string>{"", "   ", "''", "\" \"", std::string(160, ' ') + "X"}) {
    EXPECT_EQ(import_path(reply), std::nullopt) << reply;
  }
}

TEST_F(Import, SameKindImportCopiesTheBlock) {
  struct Case {
    Header record;
    int block;
    std::size_t first, end;
    int file_units = 0;  // the whole record of kind 4 comes with its units
  };
  for (const Case& c : {Case{{4}, 1, 0, 1987, 1}, Case{{3}, 1, 0, 4975}, Case{{15}, 1, 0, 4975},
                        Case{{15}, 2, 4975, 78635}, Case{{12}, 2, 4975, 78635}, Case{{14}, 2, 4975, 78635},
                        Case{{13}, 3, 1987, 4975}, Case{{10}, 3, 1987, 4975}}) {
    record_ = tagged(kMine, c.record);
    Header h = c.record;
    h.units = c.file_units;
    const Tpcm file = tagged(kTheirs, h);
    put("SRC", file);
    EXPECT_EQ(run("SRC\n\n", c.block), "\n >>> Import successful!" + kWait) << c.record.kind << c.block;
    EXPECT_TRUE(record_ == imported(tagged(kMine, c.record), file, c.first, c.end)) << c.record.kind << c.block;
  }
}

TEST_F(Import, WarningsOfferAbortAndContinuingKeepsTheFrameWords) {
  const std::string advice =
      "     bad idea. You are strongly advised to \"Abort\" this operation, save\n"
      "     any data file changes you have made, and update the target file\n"
      "     with the latest version of its application before importing the data.\n";
  struct Case {
    Header record, file;
    int block;
    std::size_t first, end;
    std::string warning;
    bool succeeds = false;  // a read status of 0 and the same header: success after the warning
  };
  for (const Case& c : {
           Case{{4}, {4, -6.0f}, 1, 0, 1987,
                "\n >>> Importing data files across version number boundaries is a *very*\n" + advice +
                    "\n     Application version:    6.80\n     Import file version:    6.00\n\n"},
           Case{{15}, {15, 6.8f, 5}, 2, 4975, 78635,
                "\n >>> Importing data files between computer operating systems is a *very*\n" + advice},
           Case{{4}, {4, 6.8f, 21, 0, 1500}, 1, 0, 1500,
                " >>> Suspicious import file size;there may be a problem!\n"},
           Case{{15}, {15, 6.8f, 21, 1}, 1, 0, 4975,
                "\n >>> Importing data across unit systems mixes English and metric values\n"
                "     in one data file and corrupts them. You are strongly advised to\n"
                "     \"Abort\" this operation, convert one of the files to the units of\n"
                "     the other with its own editor, and import the data again.\n\n"
                "     Application units: English\n     Import file units: metric\n\n",
                true}}) {
    const Tpcm before = tagged(kMine, c.record), file = tagged(kTheirs, c.file);
    put("SRC", file);
    record_ = before;
    EXPECT_EQ(run("SRC\nA\n", c.block), "\n" + c.warning + kAsk) << c.warning;
    EXPECT_TRUE(record_ == before) << c.warning;
    const std::string success = c.succeeds ? " >>> Import successful!" + kWait : "";
    EXPECT_EQ(run("SRC\n\n\n", c.block), "\n" + c.warning + kAsk + success) << c.warning;
    EXPECT_TRUE(record_ == imported(before, file, c.first, c.end)) << c.warning;
  }
}

TEST_F(Import, FilesThatCannotBeImportedLeaveTheRecord) {
  files_->put("EMPTY", "");
  std::filesystem::create_directory(files_->at("ADIR"));
  put("DISC", tagged(kTheirs, {4}));
  const Tpcm before = tagged(kMine, {15});
  for (const auto& [reply, message] : std::initializer_list<std::pair<std::string, std::string>>{
           {"", " >>> Invalid Filename!"}, {std::string(161, 'X'), " >>> Invalid Filename!"},
           {"NOFILE", "\n >>> INPUT file not found!"}, {"ADIR", "\n >>> INPUT file not found!"},
           {"EMPTY", "\n >>> INPUT file not readable!"}, {"FAILING", "\n >>> INPUT file not readable!"},
           {"DISC", "\n >>> INPUT file holds no data for this block!"}}) {
    record_ = before;
    EXPECT_EQ(run(reply + "\n\n", 2), message + kWait) << reply;
    EXPECT_TRUE(record_ == before) << reply;
  }
}

TEST_F(Import, AShortFileLeavesTheRestOfTheBlockAsTheRecordHasIt) {
  // The second file's 200 words hold no header: its version reads as 0.0,
  // not as the version of the file read before.
  const Tpcm shorter = tagged(0x33000000, {4, 6.8f, 21, 0, 200});
  put("FULL", tagged(kTheirs, {4}));
  put("SHORT", shorter);
  record_ = tagged(kMine, {4});
  run("FULL\n\n", 1);
  const Tpcm after_first = record_;
  EXPECT_NE(run("SHORT\n\n", 1).find("     Import file version:    0.00\n"), std::string::npos);
  EXPECT_TRUE(record_ == imported(after_first, shorter, 0, 200));
}

// Four characters per group in the order a machine of the other byte order
// leaves them in our words.
std::string other_order(std::string text) {
  for (std::size_t k = 0; k + 4 <= text.size(); k += 4) std::reverse(text.begin() + k, text.begin() + k + 4);
  return text;
}

TEST_F(Import, TextsOfTheOtherByteOrderArePutInOurs) {
  const std::string ident = "Buoy written on a big-endian machine", name = "CHAIN76 ";
  Tpcm file = tagged(kTheirs, {15, 6.8f, 3});
  file.set_text(kIdentLine1, 80, other_order(ident));
  file.set_text(*segment_name_word(2, 3), 8, other_order(name));
  put("SRC", file);
  record_ = tagged(kMine, {15});
  run("SRC\n\n", 1);
  EXPECT_EQ(trimmed(record_.text(kIdentLine1, 80)), ident);
  EXPECT_EQ(record_.i(kWriterOs), 21);
  run("SRC\n\n", 2);
  EXPECT_EQ(record_.text(*segment_name_word(2, 3), 8), name);
}

}  // namespace
}  // namespace kelp
