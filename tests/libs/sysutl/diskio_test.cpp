#include "sysutl/diskio.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <bit>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <vector>

#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

namespace fs = std::filesystem;
using testing::InTempDir;
using testing::ScriptedSession;
using testing::slurp;
using testing::write_file;

std::string be32(std::int32_t w) {
  const auto v = static_cast<std::uint32_t>(w);
  return {static_cast<char>(v >> 24), static_cast<char>((v >> 16) & 0xFF), static_cast<char>((v >> 8) & 0xFF),
          static_cast<char>(v & 0xFF)};
}

std::int32_t bits(float f) { return std::bit_cast<std::int32_t>(f); }

// A record of n words whose word 0 holds n and whose other words are distinct.
std::vector<std::int32_t> counted_record(int n) {
  std::vector<std::int32_t> w(static_cast<std::size_t>(n));
  w[0] = n;
  for (int k = 1; k < n; ++k)
    w[static_cast<std::size_t>(k)] = static_cast<std::int32_t>(1000003u * static_cast<std::uint32_t>(k) + 7u);
  return w;
}

// Each test runs in a fresh directory of its own, since the "LOWDAT" rule
// looks at the file name as given.
class DiskioTest : public InTempDir {
 protected:
  int write(const std::string& name, std::vector<std::int32_t> words) {
    int n = static_cast<int>(words.size());
    int status = -99;
    diskio(t.s, kDiskioWrite, n, name, 1, status, words, 21);
    return status;
  }
  int read(const std::string& name, int& nwords, std::vector<std::int32_t>& array) {
    int status = -99;
    diskio(t.s, kDiskioRead, nwords, name, 1, status, array, 21);
    return status;
  }
  std::vector<std::string> dir_entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
    return names;
  }

  ScriptedSession t;
};

// ---- The file format ----

TEST_F(DiskioTest, DataFileOf1987WordsHasTheOldByteLayout) {
  auto words = counted_record(1987);
  words[1] = 4;
  ASSERT_EQ(write("RONDDAT", words), 0);
  const std::string bytes = slurp("RONDDAT");
  ASSERT_EQ(bytes.size(), 7956u);
  EXPECT_EQ(bytes.substr(0, 8), std::string("\x00\x00\x1F\x0C\x00\x00\x07\xC3", 8));
  EXPECT_EQ(bytes.substr(8, 4), std::string("\x00\x00\x00\x04", 4));
  EXPECT_EQ(bytes.substr(7952), std::string("\x00\x00\x1F\x0C", 4));
  // Only the record remains in the directory: the temporary file is gone.
  EXPECT_EQ(dir_entries(), std::vector<std::string>{"RONDDAT"});
}

TEST_F(DiskioTest, MooringRecordIs314548Bytes) {
  auto words = counted_record(78635);
  ASSERT_EQ(write("PIVADAT", words), 0);
  const std::string bytes = slurp("PIVADAT");
  ASSERT_EQ(bytes.size(), 314548u);
  EXPECT_EQ(bytes.substr(0, 4), be32(314540));
  EXPECT_EQ(bytes.substr(4, 4), be32(78635));
  EXPECT_EQ(bytes.substr(314544), be32(314540));

  std::vector<std::int32_t> back(78635, 0);
  int n = 78635;
  EXPECT_EQ(read("PIVADAT", n, back), 0);
  EXPECT_EQ(n, 78635);
  EXPECT_EQ(back, words);
}

TEST_F(DiskioTest, LowdatHasNoCountWord) {
  std::vector<std::int32_t> low(680);
  for (std::size_t k = 0; k < low.size(); ++k) low[k] = bits(0.25f * static_cast<float>(k));
  low[0] = 19;
  ASSERT_EQ(write("LOWDAT", low), 0);
  const std::string bytes = slurp("LOWDAT");
  ASSERT_EQ(bytes.size(), 2728u);
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x00\x00\x0A\xA0", 4));
  EXPECT_EQ(bytes.substr(4, 4), be32(19));  // word 0 of lowcof, not a count
  EXPECT_EQ(bytes.substr(2724), std::string("\x00\x00\x0A\xA0", 4));

  std::vector<std::int32_t> back(680, -1);
  int n = 680;
  EXPECT_EQ(read("LOWDAT", n, back), 0);
  EXPECT_EQ(n, 680);
  EXPECT_EQ(back, low);
}

TEST_F(DiskioTest, RealsComeBackBitForBit) {
  auto words = counted_record(1987);
  words[10] = bits(-0.0f);
  words[11] = 0x7FC01234;  // quiet NaN with a payload
  words[12] = 0x7F800001;  // signalling NaN
  words[13] = bits(-std::numeric_limits<float>::infinity());
  words[14] = bits(std::numeric_limits<float>::denorm_min());
  words[15] = std::numeric_limits<std::int32_t>::min();
  ASSERT_EQ(write("RONDDAT", words), 0);
  std::vector<std::int32_t> back(1987, 0);
  int n = 1987;
  ASSERT_EQ(read("RONDDAT", n, back), 0);
  EXPECT_EQ(back, words);

  // The change of sign of a zero is a change.
  int same = -1;
  nochng(same, words, back, 1987);
  EXPECT_EQ(same, 1);
  back[10] = bits(0.0f);
  nochng(same, words, back, 1987);
  EXPECT_EQ(same, 0);
}

TEST_F(DiskioTest, GfortranRecordRoundTripsByteForByte) {
  const std::string original = std::string(KELP_TEST_DATA) + "/records/gfortran_RONDDAT";
  std::vector<std::int32_t> words(1987, 0);
  int n = 1987;
  ASSERT_EQ(read(original, n, words), 0);
  ASSERT_EQ(write("RONDDAT", words), 0);
  EXPECT_EQ(slurp("RONDDAT"), slurp(original));
}

// ---- Reading records of another length ----

TEST_F(DiskioTest, LongerFileFillsTheAskedWordsAndReportsItsCount) {
  ASSERT_EQ(write("DUVADAT", counted_record(4975)), 0);
  std::vector<std::int32_t> back(1987, 0);
  int n = 1987;
  EXPECT_EQ(read("DUVADAT", n, back), 4);
  EXPECT_EQ(n, 4975);
  auto expect = counted_record(4975);
  expect.resize(1987);
  EXPECT_EQ(back, expect);
}

TEST_F(DiskioTest, ShorterFileLeavesTheRestOfTheArrayAsItWas) {
  ASSERT_EQ(write("RONDDAT", counted_record(1987)), 0);
  std::vector<std::int32_t> back(78635, -5);
  int n = 78635;
  EXPECT_EQ(read("RONDDAT", n, back), 4);
  EXPECT_EQ(n, 1987);
  EXPECT_EQ(back[1986], counted_record(1987)[1986]);
  EXPECT_EQ(back[1987], -5);
  EXPECT_EQ(back[78634], -5);
}

TEST_F(DiskioTest, MissingFileChangesNothing) {
  std::vector<std::int32_t> back(10, 7);
  int n = 10;
  EXPECT_EQ(read("NOSUCHDAT", n, back), 1);
  EXPECT_EQ(n, 10);
  EXPECT_EQ(back, std::vector<std::int32_t>(10, 7));
}

TEST_F(DiskioTest, ArraySmallerThanTheAskedCountIsNeverOverrun) {
  ASSERT_EQ(write("RONDDAT", counted_record(1987)), 0);
  std::vector<std::int32_t> back(100, 0);
  int n = 1987;  // more than the array holds
  EXPECT_EQ(read("RONDDAT", n, back), 0);
  EXPECT_EQ(n, 1987);
  EXPECT_EQ(back[99], counted_record(1987)[99]);
}

TEST_F(DiskioTest, FileOfBareWordsIsReadWhole) {
  // No markers: the first word (1987) times 4 is not the first four bytes.
  std::string bytes;
  for (std::int32_t w : counted_record(1987)) bytes += be32(w);
  write_file("RONDDAT", bytes);
  std::vector<std::int32_t> back(1987, 0);
  int n = 1987;
  EXPECT_EQ(read("RONDDAT", n, back), 0);
  EXPECT_EQ(n, 1987);
  EXPECT_EQ(back, counted_record(1987));
}

TEST_F(DiskioTest, LowdatRuleLooksAtTheFirstSixCharactersOfTheName) {
  std::vector<std::int32_t> low(680);
  for (std::size_t k = 0; k < low.size(); ++k) low[k] = static_cast<std::int32_t>(3 * k + 1);
  ASSERT_EQ(write("LOWDAT2", low), 0);
  ASSERT_EQ(write("LOWBAK", low), 0);

  std::vector<std::int32_t> back(680, 0);
  int n = 680;
  EXPECT_EQ(read("LOWDAT2", n, back), 0);
  EXPECT_EQ(n, 680);
  EXPECT_EQ(back, low);

  // Under another name the record fails the count test and is taken as bare
  // words, its two markers included.
  std::vector<std::int32_t> bare(682, 0);
  n = 680;
  EXPECT_EQ(read("LOWBAK", n, bare), 4);
  EXPECT_EQ(n, 682);
  EXPECT_EQ(bare[0], 2720);
  EXPECT_EQ(bare[1], low[0]);
  EXPECT_EQ(bare[680], 0);  // beyond the 680 words asked for: untouched
}

TEST_F(DiskioTest, RecordLongerThanTheStagingAreaIsCutAndReportedWithItsCount) {
  const int big = static_cast<int>(kDiskioStagingWords) + 100;
  auto words = counted_record(big);
  std::string bytes = be32(4 * big);
  for (std::int32_t w : words) bytes += be32(w);
  bytes += be32(4 * big);
  write_file("BIGDAT", bytes);
  std::vector<std::int32_t> back(static_cast<std::size_t>(big), 0);
  int n = big;
  EXPECT_EQ(read("BIGDAT", n, back), 4);
  EXPECT_EQ(n, big);
  EXPECT_EQ(back[kDiskioStagingWords - 1], words[kDiskioStagingWords - 1]);
  EXPECT_EQ(back[kDiskioStagingWords], 0);
}

// ---- Damaged files: none crashes, none reports success ----

TEST_F(DiskioTest, TruncatedFilesAreReportedWithWhatWasReallyRead) {
  ASSERT_EQ(write("FULLDAT", counted_record(1987)), 0);
  const std::string whole = slurp("FULLDAT");
  for (std::size_t cut : {0u, 3u, 7u, 100u, 7948u}) {
    SCOPED_TRACE(cut);
    write_file("RONDDAT", whole.substr(0, cut));
    std::vector<std::int32_t> back(1987, -1);
    int n = 1987;
    const int status = read("RONDDAT", n, back);
    EXPECT_EQ(status, 4);
    EXPECT_GE(n, 0);
    EXPECT_LT(n, 1987);
    // The words really read are copied; nothing beyond them is touched.
    for (std::size_t k = static_cast<std::size_t>(n); k < back.size(); ++k) ASSERT_EQ(back[k], -1) << k;
  }
  // Cut at 100 bytes: the marker, then 23 whole words of the record and
  // room for its trailing marker.
  write_file("RONDDAT", whole.substr(0, 100));
  std::vector<std::int32_t> back(1987, -1);
  int n = 1987;
  read("RONDDAT", n, back);
  EXPECT_EQ(n, 23);
  EXPECT_EQ(back[0], 1987);
  EXPECT_EQ(back[22], counted_record(1987)[22]);
  EXPECT_EQ(back[23], -1);
}

TEST_F(DiskioTest, MarkersThatDisagreeAreNotSuccess) {
  auto words = counted_record(1987);
  std::string bytes = encode_record(words);
  bytes.replace(7952, 4, be32(7944));
  write_file("RONDDAT", bytes);
  std::vector<std::int32_t> back(1987, 0);
  int n = 1987;
  EXPECT_EQ(read("RONDDAT", n, back), 4);
  EXPECT_EQ(n, 1987);
  EXPECT_EQ(back, words);

  // The trailing marker missing, whole or in part: a record short of any
  // byte holds one whole word fewer than its count.
  for (std::size_t cut : {7952u, 7955u}) {
    write_file("RONDDAT", encode_record(words).substr(0, cut));
    n = 1987;
    EXPECT_EQ(read("RONDDAT", n, back), 4);
    EXPECT_EQ(n, 1986);
  }
}

TEST_F(DiskioTest, NegativeCountIsNotWellFormed) {
  // Marker -8 and count -2 agree in arithmetic, but no record has -2 words.
  std::string bytes = be32(-8) + be32(-2) + be32(11) + be32(12) + be32(-8);
  write_file("RONDDAT", bytes);
  std::vector<std::int32_t> back(1987, -1);
  int n = 1987;
  EXPECT_EQ(read("RONDDAT", n, back), 4);
  EXPECT_EQ(n, 5);  // taken as five bare words
  EXPECT_EQ(back[0], -8);
  EXPECT_EQ(back[4], -8);
  EXPECT_EQ(back[5], -1);
}

TEST_F(DiskioTest, HugeCountsNeitherWrapNorOverrun) {
  // 0x40000000 words would be 2^32 bytes: in 32 bits the marker 0 "agrees".
  write_file("RONDDAT", be32(0) + be32(0x40000000) + be32(1) + be32(0));
  std::vector<std::int32_t> back(1987, -1);
  int n = 1987;
  EXPECT_EQ(read("RONDDAT", n, back), 4);
  EXPECT_EQ(n, 4);
  EXPECT_EQ(back[1], 0x40000000);

  // A count that agrees with its marker but far exceeds the file.
  write_file("RONDDAT", be32(400000000) + be32(100000000) + be32(5) + be32(6));
  std::fill(back.begin(), back.end(), -1);
  n = 1987;
  EXPECT_EQ(read("RONDDAT", n, back), 4);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(back[0], 100000000);
  EXPECT_EQ(back[1], 5);
  EXPECT_EQ(back[2], -1);

  // Largest positive count with its (wrapped) 32-bit marker.
  write_file("RONDDAT", be32(-4) + be32(std::numeric_limits<std::int32_t>::max()) + be32(9));
  n = 1987;
  EXPECT_EQ(read("RONDDAT", n, back), 4);
  EXPECT_EQ(n, 3);
}

TEST_F(DiskioTest, ShortLowdatCopiesOnlyWhatItHoldsAndZeroesTheRest) {
  std::vector<std::int32_t> low(680, 0);
  for (std::size_t k = 0; k < low.size(); ++k) low[k] = static_cast<std::int32_t>(k + 1);
  const std::string whole = encode_record(low);

  // A stale lowcof from an earlier read must not survive in the tail.
  std::vector<std::int32_t> back(680, 99);
  write_file("LOWDAT", whole.substr(0, 4 + 4 * 600));
  int n = 680;
  EXPECT_EQ(read("LOWDAT", n, back), 4);
  EXPECT_EQ(n, 599);
  EXPECT_EQ(back[598], 599);
  EXPECT_EQ(back[599], 0);
  EXPECT_EQ(back[679], 0);

  for (std::size_t cut : {0u, 3u, 7u}) {
    SCOPED_TRACE(cut);
    std::fill(back.begin(), back.end(), 99);
    write_file("LOWDAT", whole.substr(0, cut));
    n = 680;
    EXPECT_EQ(read("LOWDAT", n, back), 4);
    EXPECT_EQ(n, static_cast<int>(cut / 4));
    for (std::size_t k = static_cast<std::size_t>(n); k < 680; ++k) ASSERT_EQ(back[k], 0) << k;
  }

  // A "LOWDAT" holding a record of another size is not taken as 680 words.
  std::vector<std::int32_t> other(681, 5);
  write_file("LOWDAT", encode_record(other));
  n = 680;
  EXPECT_EQ(read("LOWDAT", n, back), 4);
  EXPECT_EQ(n, 683);
  EXPECT_EQ(back[0], 2724);
}

// ---- Writing ----

TEST_F(DiskioTest, WritingReplacesAnExistingFileByOneRecord) {
  ASSERT_EQ(write("RONDDAT", counted_record(4975)), 0);
  ASSERT_EQ(write("RONDDAT", counted_record(1987)), 0);
  EXPECT_EQ(slurp("RONDDAT"), encode_record(counted_record(1987)));
}

TEST_F(DiskioTest, WritingNeverReadsBeyondTheArrayOrWritesAnEmptyRecord) {
  write_file("RONDDAT", "old contents");
  std::vector<std::int32_t> words(10, 1);
  int status = 0;
  int n = 11;
  diskio(t.s, kDiskioWrite, n, "RONDDAT", 1, status, words, 21);
  EXPECT_EQ(status, 2);
  EXPECT_EQ(n, 11);
  n = 0;
  diskio(t.s, kDiskioWrite, n, "RONDDAT", 1, status, words, 21);
  EXPECT_EQ(status, 2);
  EXPECT_EQ(slurp("RONDDAT"), "old contents");
  n = 0;
  diskio(t.s, kDiskioWrite, n, "NEWDAT", 1, status, words, 21);
  EXPECT_EQ(status, 3);
  EXPECT_FALSE(fs::exists("NEWDAT"));
}

// Every new file is made, but what is written to it goes to /dev/full.
class FullDisk : public FileSystem {
 public:
  std::unique_ptr<std::ostream> create_new(const std::string& path) override {
    if (!FileSystem::create_new(path)) return nullptr;
    return std::make_unique<std::ofstream>("/dev/full", std::ios::out | std::ios::binary);
  }
};

// Files are written, but never renamed into place.
class NoRename : public FileSystem {
 public:
  bool rename(const std::string&, const std::string&) override { return false; }
};

// No file can be created.
class ReadOnly : public FileSystem {
 public:
  std::unique_ptr<std::ostream> create_new(const std::string&) override { return nullptr; }
};

TEST_F(DiskioTest, FailedWriteLeavesTheOldFileIntact) {
  ASSERT_EQ(write("RONDDAT", counted_record(1987)), 0);
  const std::string before = slurp("RONDDAT");
  auto changed = counted_record(1987);
  changed[5] = 42;

  t.s.set_files(std::make_shared<FullDisk>());
  EXPECT_EQ(write("RONDDAT", changed), 2);
  EXPECT_EQ(slurp("RONDDAT"), before);
  EXPECT_EQ(write("PIVADAT", changed), 3);  // new file: bit 1 comes with bit 2
  EXPECT_EQ(dir_entries(), std::vector<std::string>{"RONDDAT"});  // no empty temporary left

  t.s.set_files(std::make_shared<NoRename>());
  EXPECT_EQ(write("RONDDAT", changed), 2);
  EXPECT_EQ(slurp("RONDDAT"), before);
  EXPECT_EQ(dir_entries(), std::vector<std::string>{"RONDDAT"});  // temporary removed

  t.s.set_files(std::make_shared<ReadOnly>());
  EXPECT_EQ(write("RONDDAT", changed), 2);
  EXPECT_EQ(slurp("RONDDAT"), before);
}

TEST_F(DiskioTest, NamesThatAreNoRegularFileAreNotRead) {
  // A FIFO would block the program for good; a directory or a device is no
  // record. (Writing them is refused by the save, see the cascade's tests.)
  fs::create_directory("DIRDAT");
  ASSERT_EQ(::mkfifo("FIFODAT", 0600), 0);
  fs::create_symlink("/dev/zero", "DEVDAT");
  for (const char* name : {"DIRDAT", "FIFODAT", "DEVDAT"}) {
    std::vector<std::int32_t> back(1987, -1);
    int n = 1987;
    EXPECT_EQ(read(name, n, back), 1) << name;
    EXPECT_EQ(n, 1987);
    EXPECT_EQ(back, std::vector<std::int32_t>(1987, -1));
  }
}

// ---- Word helpers ----

TEST(WordHelpers, CopiesAreBitExactAndSafeForOverlappingBlocks) {
  std::vector<std::int32_t> a = {1, 2, 3, 4, 5, 6};
  // Shift a block up by one inside the same array.
  movcom(4, std::span<const std::int32_t>(a).subspan(0, 4), std::span<std::int32_t>(a).subspan(1));
  EXPECT_EQ(a, (std::vector<std::int32_t>{1, 1, 2, 3, 4, 6}));
  // And down by two.
  movcom(4, std::span<const std::int32_t>(a).subspan(2), a);
  EXPECT_EQ(a, (std::vector<std::int32_t>{2, 3, 4, 6, 4, 6}));
  // A count beyond either array is limited to the shorter one; 0 or less copies nothing.
  std::vector<std::int32_t> dst(3, 0);
  movcom(10, a, dst);
  EXPECT_EQ(dst, (std::vector<std::int32_t>{2, 3, 4}));
  movcom(-1, std::vector<std::int32_t>{9, 9, 9}, dst);
  EXPECT_EQ(dst, (std::vector<std::int32_t>{2, 3, 4}));

  const std::vector<float> src = {-0.0f, std::bit_cast<float>(0x7FC0BEEF), 2.5f};
  std::vector<float> out(3, 1.0f);
  movrel(3, src, out);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(out[0]), 0x80000000u);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(out[1]), 0x7FC0BEEFu);
  EXPECT_EQ(out[2], 2.5f);

  const std::vector<double> dsrc = {1.0 / 3.0, -0.0};
  std::vector<double> dout(2, 0.0);
  movdp(2, dsrc, dout);
  EXPECT_EQ(dout[0], 1.0 / 3.0);
  EXPECT_TRUE(std::signbit(dout[1]));

  std::int32_t w = 0;
  vrcvrt(0x7F800001, w);
  EXPECT_EQ(w, 0x7F800001);
}

TEST(WordHelpers, ExchangesSwapEveryElement) {
  std::vector<std::int32_t> a = {1, 2, 3}, b = {7, 8, 9, 10};
  swpcom(3, a, b);
  EXPECT_EQ(a, (std::vector<std::int32_t>{7, 8, 9}));
  EXPECT_EQ(b, (std::vector<std::int32_t>{1, 2, 3, 10}));
  swpcom(3, a, b);  // its own inverse
  EXPECT_EQ(a, (std::vector<std::int32_t>{1, 2, 3}));

  std::int32_t i = 1, j = 2;
  swpval(i, j);
  EXPECT_EQ(i, 2);
  EXPECT_EQ(j, 1);
  float x = -0.0f, y = std::bit_cast<float>(0x7FA00001);
  swpval(x, y);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(x), 0x7FA00001u);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(y), 0x80000000u);
  double d1 = 1.5, d2 = -2.25;
  dswpval(d1, d2);
  EXPECT_EQ(d1, -2.25);
  EXPECT_EQ(d2, 1.5);
  std::complex<float> c1(1, 2), c2(3, 4);
  cswpval(c1, c2);
  EXPECT_EQ(c1, std::complex<float>(3, 4));
  EXPECT_EQ(c2, std::complex<float>(1, 2));
}

TEST(WordHelpers, NochngComparesOnlyTheFirstNWords) {
  const std::vector<std::int32_t> a = {1, 2, 3}, b = {1, 2, 4};
  int same = -1;
  nochng(same, a, b, 2);
  EXPECT_EQ(same, 1);
  nochng(same, a, b, 3);
  EXPECT_EQ(same, 0);
  nochng(same, a, b, 0);
  EXPECT_EQ(same, 1);
  // NaNs with the same bits are the same word.
  const std::vector<std::int32_t> n1 = {0x7FC00001}, n2 = {0x7FC00001}, n3 = {0x7FC00002};
  nochng(same, n1, n2, 1);
  EXPECT_EQ(same, 1);
  nochng(same, n1, n3, 1);
  EXPECT_EQ(same, 0);
}

}  // namespace
}  // namespace kelp
