// Routing of the mooring page loop, by page label: both tables, the codes
// every page shares, the finish page, jumps and the hidden blocks.
#include "moor/e/mooring_routing.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "sysutl/replies.hpp"

namespace kelp {
namespace {

constexpr int kKind = 15;

// Every block shown.
MoorShowWords all_shown() { return {1, 1, 1, 1, 1}; }

int block_of(const std::string& label) {
  for (int b = 1; b <= kMoorBlocks; ++b)
    if (moor_block_label(b) == label) return b;
  ADD_FAILURE() << "no page " << label;
  return 1;
}

std::string label_of(int block) {
  return block == kMoorExecute ? "Execute" : std::string(moor_block_label(block));
}

// Where the page `from` leads with `code`, every page shown.
std::string route(const std::string& from, int code, int jump_target = 0) {
  return label_of(moor_route(block_of(from), code, jump_target, all_shown(), kKind).block);
}

// Follows the loop from the page `from` that left `code`: each block raises
// word 700 and clears a skip code; hidden blocks route on. Gives the label
// of the next page shown (or "Execute").
std::string next_shown(const std::string& from, int code, int w700, const MoorShowWords& show, int kind = kKind) {
  int block = block_of(from);
  for (int guard = 0; guard < 2 * kMoorBlocks; ++guard) {
    const MoorRoute r = moor_route(block, code, w700, show, kind);
    if (r.block == kMoorExecute) return "Execute";
    block = r.block;
    code = r.code;
    ++w700;
    if (code == kNavSkip) code = 0;
    if (moor_block_shown(block, show, kind)) return label_of(block);
  }
  return "spins";
}

const std::vector<std::string> kPages = {"1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",
                                         "9b", "10", "11", "11b", "12", "13", "14", "15", "16",
                                         "17", "18", "19", "20", "21", "22", "23"};

TEST(MooringRoute, BlocksInPageOrder) {
  for (int b = 1; b <= kMoorBlocks; ++b) EXPECT_EQ(moor_block_label(b), kPages[static_cast<std::size_t>(b - 1)]);
  EXPECT_EQ(moor_block_label(0), "");
  EXPECT_EQ(moor_block_label(26), "");
}

TEST(MooringRoute, SkipAndPreviousTables) {
  struct Row {
    std::string page, skip, previous;
  };
  const std::vector<Row> rows = {
      {"1", "3", "23"},   {"2", "4", "1"},    {"3", "5", "2"},     {"4", "6", "3"},    {"5", "7", "4"},
      {"6", "8", "5"},    {"7", "9", "6"},    {"8", "10", "7"},    {"9", "11", "8"},   {"9b", "11", "9"},
      {"10", "11b", "9"}, {"11", "12", "10"}, {"11b", "13", "11"}, {"12", "14", "11b"}, {"13", "15", "12"},
      {"14", "16", "13"}, {"15", "17", "14"}, {"16", "18", "15"},  {"17", "19", "16"}, {"18", "20", "17"},
      {"19", "21", "18"}, {"20", "22", "19"}, {"21", "23", "20"},  {"22", "1", "21"},
  };
  // Every negative code but the ones with a route of their own goes back.
  const std::vector<int> back_codes = {kNavBack, -2, kNavHelp, kNavTableM, kNavTableC,
                                       kNavTableD, kNavTableI, kNavTableX, kNavBang, -100000};
  for (const Row& r : rows) {
    SCOPED_TRACE("page " + r.page);
    EXPECT_EQ(route(r.page, kNavSkip), r.skip);
    for (int code : back_codes) EXPECT_EQ(route(r.page, code), r.previous) << code;
  }
}

TEST(MooringRoute, CodesEveryPageShares) {
  for (std::size_t k = 0; k + 1 < kPages.size(); ++k) {
    const std::string& page = kPages[k];
    SCOPED_TRACE("page " + page);
    EXPECT_EQ(route(page, kNavFirst), "1");
    EXPECT_EQ(route(page, kNavExecute), "23");
    EXPECT_EQ(route(page, kNavLast), "23");
    EXPECT_EQ(route(page, kNavKeys), page);
    EXPECT_EQ(route(page, 0), kPages[k + 1]);
    EXPECT_EQ(route(page, 17), kPages[k + 1]);
  }
}

TEST(MooringRoute, FinishPage) {
  struct Row {
    int code;
    std::string to;
  };
  const std::vector<Row> rows = {
      {kNavExecute, "Execute"}, {kNavLast, "23"}, {kNavFirst, "1"},      {kNavKeys, "23"},
      {kNavSkip, "2"},          {kNavBack, "22"}, {0, "1"},              {5, "Execute"},
      {-2, "Execute"},          {101, "Execute"}, {kNavHelp, "Execute"}, {kNavTableC, "Execute"},
      {kNavTableX, "Execute"},
  };
  for (const Row& r : rows) EXPECT_EQ(route("23", r.code), r.to) << r.code;
  EXPECT_EQ(route("23", kNavJump, 12), "12");
}

TEST(MooringRoute, Jumps) {
  struct Row {
    int n;
    std::string to;
  };
  const std::vector<Row> rows = {{0, "1"},   {1, "1"},   {2, "2"},   {9, "9"},    {10, "10"}, {11, "11"},
                                 {12, "12"}, {13, "13"}, {23, "23"}, {24, "1"},   {-3, "1"},  {INT32_MAX, "1"}};
  for (const Row& r : rows) {
    EXPECT_EQ(route("5", kNavJump, r.n), r.to) << r.n;
    EXPECT_EQ(route("23", kNavJump, r.n), r.to) << r.n;
    EXPECT_EQ(label_of(moor_jump_block(r.n)), r.to) << r.n;
  }
}

TEST(MooringRoute, ShowConditions) {
  const MoorShowWords none{0, 0, 0, 0, 0};
  for (int b = 1; b <= kMoorBlocks; ++b) {
    const std::string page = label_of(b);
    const bool conditional = page == "7" || page == "9b" || page == "12" || page == "14" || page == "15";
    EXPECT_EQ(moor_block_shown(b, none, kKind), !conditional) << page;
    EXPECT_TRUE(moor_block_shown(b, all_shown(), kKind)) << page;
  }
  // Page 9b, 14 and 15 want exactly 1; pages 7 and 12 any value but 0.
  const MoorShowWords twos{2, 2, 2, 2, 2};
  EXPECT_TRUE(moor_block_shown(block_of("7"), twos, kKind));
  EXPECT_FALSE(moor_block_shown(block_of("9b"), twos, kKind));
  EXPECT_TRUE(moor_block_shown(block_of("12"), twos, kKind));
  EXPECT_FALSE(moor_block_shown(block_of("14"), twos, kKind));
  EXPECT_FALSE(moor_block_shown(block_of("15"), twos, kKind));
  for (int kind : {12, 14, 15, 17}) EXPECT_TRUE(moor_block_shown(block_of("22"), none, kind)) << kind;
  for (int kind : {4, 8, 10, 13, 16}) EXPECT_FALSE(moor_block_shown(block_of("22"), none, kind)) << kind;
}

TEST(MooringRoute, HiddenBlocks) {
  struct Row {
    const char* what;
    MoorShowWords show;
    int kind;
    std::string from;
    int code;
    int w700;
    std::string shown_next;
  };
  const MoorShowWords no_lf{0, 1, 1, 1, 1};
  const MoorShowWords no_9b{1, 0, 1, 1, 1};
  const MoorShowWords no_12{1, 1, 0, 1, 1};
  const MoorShowWords no_wind{1, 1, 1, 0, 1};
  const MoorShowWords no_wind_current{1, 1, 1, 0, 0};
  const std::vector<Row> rows = {
      // Page 7 off: the loop goes on at page 20 whatever the code.
      {"next after 6", no_lf, kKind, "6", 0, 6, "20"},
      {"skip from 5", no_lf, kKind, "5", kNavSkip, 5, "20"},
      {"back from 20", no_lf, kKind, "20", kNavBack, 20, "6"},
      {"other negative from 20", no_lf, kKind, "20", -2, 20, "19"},
      {"jump to 8 still shows 8", no_lf, kKind, "3", kNavJump, 8, "8"},
      {"back from 8 passes page 7", no_lf, kKind, "8", kNavBack, 8, "20"},
      {"jump to 7", no_lf, kKind, "3", kNavJump, 7, "20"},
      // Page 9b off: "B" to page 9, everything else to page 10.
      {"next after 9", no_9b, kKind, "9", 0, 9, "10"},
      {"back from 10", no_9b, kKind, "10", kNavBack, 10, "9"},
      {"back from 10, 9b shown", all_shown(), kKind, "10", kNavBack, 10, "9"},
      // Page 12 off: every code but "B" becomes 0.
      {"next after 11b", no_12, kKind, "11b", 0, 12, "13"},
      {"back from 13", no_12, kKind, "13", kNavBack, 14, "11b"},
      {"help code from 13", no_12, kKind, "13", kNavHelp, 14, "13"},
      {"jump to 12", no_12, kKind, "4", kNavJump, 12, "13"},
      // Pages 14 and 15 off: the code routes on unchanged.
      {"back from 15", no_wind, kKind, "15", kNavBack, 15, "13"},
      {"next after 13", no_wind, kKind, "13", 0, 15, "15"},
      {"jump to 14", no_wind, kKind, "2", kNavJump, 14, "15"},
      {"jump to 14, no current", no_wind_current, kKind, "2", kNavJump, 14, "16"},
      {"back from 16, no current", no_wind_current, kKind, "16", kNavBack, 16, "13"},
      // Page 22 off (a kind without the time-domain page): on to page 23.
      {"next after 21", all_shown(), 4, "21", 0, 21, "23"},
      {"back from 23", all_shown(), 4, "23", kNavBack, 23, "23"},
      {"jump to 22", all_shown(), 8, "3", kNavJump, 22, "23"},
  };
  for (const Row& r : rows) EXPECT_EQ(next_shown(r.from, r.code, r.w700, r.show, r.kind), r.shown_next) << r.what;
}

TEST(MooringRoute, HiddenBlocksLeaveTheirCode) {
  const MoorShowWords none{0, 0, 0, 0, 0};
  const int page12 = block_of("12");
  const int page22 = block_of("22");
  EXPECT_EQ(moor_route(page12, kNavHelp, 0, none, kKind).code, 0);
  EXPECT_EQ(moor_route(page12, kNavBack, 0, none, kKind).code, kNavBack);
  EXPECT_EQ(moor_route(page22, kNavJump, 5, none, 4).code, 0);
  EXPECT_EQ(moor_route(page22, kNavBack, 5, none, 4).code, kNavBack);
  // The others pass the code on as it came.
  for (const char* page : {"7", "9b", "14", "15"}) EXPECT_EQ(moor_route(block_of(page), -2, 0, none, kKind).code, -2);
}

}  // namespace
}  // namespace kelp
