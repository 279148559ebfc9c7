#include "edlib/pages/member_page.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "edlib/model/member_fixture.hpp"
#include "edlib/record/data_record.hpp"
#include "edlib/record/member_table.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "test_page.hpp"

namespace kelp {
namespace {

using namespace member;
using testing::iw;
using testing::kNewValue;
using testing::kReturn;
using testing::kSelect;
using testing::MemberSpec;
using testing::PageCase;
using testing::rw;
using testing::Words;

constexpr float kDraftHere = 100.0f;
constexpr int kMooringKind = 15;

void page12(Session& s) { cylndr(s, "12"); }

Words member_words(int n, const MemberSpec& m) {
  Words w = {rw(area(n), m.area), iw(base_end(n), m.base_end), iw(top_end(n), m.top_end),
             iw(profile(n), m.profile), iw(coef_source(n), m.source)};
  for (int k = 1; k <= 3; ++k) {
    const auto i = static_cast<std::size_t>(k - 1);
    w.push_back(rw(base_point(n, k), m.base[i]));
    w.push_back(rw(top_point(n, k), m.top[i]));
    w.push_back(rw(dimension(n, k), m.dims[i]));
    w.push_back(rw(drag(n, k), k == 3 ? 0.0f : 1.0f));
    w.push_back(rw(drag_moment(n, k), k == 3 ? 0.0f : 1.0f));
  }
  return w;
}

// Three members of a vessel of draft 100: a circular pontoon along Vx at
// height 10 (computed in deep water), a water-piercing column at the origin
// and a user-specified pontoon along Vy; 50 slots, the three defaults 1.
Words three_members(const Words& extra = {}) {
  Words w = {iw(kMaximum, 50), iw(kCount, 3), rw(kDraft, kDraftHere), rw(default_drag(1), 1.0f),
             rw(default_drag(2), 1.0f), rw(default_drag(3), 1.0f)};
  MemberSpec pontoon = testing::pontoon(10.0f);
  MemberSpec column = testing::column(0.0f, 120.0f, kWaterPiercing);
  MemberSpec cross = {{0.0f, -5.0f, 20.0f}, {0.0f, 5.0f, 20.0f}, {2.0f, 3.0f, 10.0f}, 6.0f, kWallTerminated,
                      kWallTerminated, kRectangular, kUserCoefficients};
  for (const auto& [n, m] : {std::pair{1, pontoon}, std::pair{2, column}, std::pair{3, cross}}) {
    const Words mw = member_words(n, m);
    w.insert(w.end(), mw.begin(), mw.end());
  }
  w.insert(w.end(), extra.begin(), extra.end());
  return w;
}

PageCase member_case(const char* name, std::string replies, Words extra, Words expect,
                     std::vector<std::string> shows = {}, std::vector<std::string> never = {},
                     std::vector<std::pair<std::string, int>> counts = {}) {
  return {name, std::move(replies), three_members(extra), std::move(expect), std::move(shows),
          std::move(never),     std::move(counts),        kMooringKind};
}

const std::string kGeneral =
    "                  ****  Page 12: Member Particulars  ****\n"
    "\n"
    "  1) Number of members (Max 50):  3\n"
    "  2) Default member Mx-damping coefficient ...........      1.00\n"
    "  3) Default member My-damping coefficient ...........      1.00\n"
    "  4) Default member Mz-damping coefficient ...........      1.00\n"
    "\n"
    "  5) Suppress hydrostatic warning messages ........... No \n"
    "\n"
    " Note: the next  3 sub-pages consist of individual member information.\n";

const std::string kMemberHeader = "                      +++ Member Specification +++\n\n";

TEST(MemberPage, ScreensOfTheGeneralAndAMemberSubPage) {
  const auto t = testing::run_page_case(page12, member_case("screens", "\nL\n", {}, {}));
  EXPECT_EQ(t->shown(),
            kGeneral + kSelect + kMemberHeader +
                "  1) Member number:  1 of  3\n"
                "  3) Axial cross-section profile: Circular/elliptic                       \n"
                "\n"
                "  4) Member dimensions (Mx,My,Mz) ..........      2.00      2.00     20.00\n"
                "  5) Cross-sectional area ............................      3.14 square feet           \n"
                "\n"
                " 10) (Vx,Vy,Vz) coordinate of member base:        0.00      0.00     10.00\n"
                " 11) Base end termination type: Wall terminated \n"
                "\n"
                " 12) (Vx,Vy,Vz) coordinate of member top:        20.00      0.00     10.00\n"
                " 13) Top end termination type:  Wall terminated \n"
                "\n"
                " 15) Added mass/moment coefficients: Computed (deep water assumption)        \n"
                " 16) (Mx,My,Mz) Added mass coefficients:          0.00      0.00      0.00\n"
                " 17) (Mx,My,Mz) Added moment coefficients:        0.00      0.00      0.00\n"
                "\n"
                " 18) Drag/drag moment coefficients: User-specified  \n"
                " 19) (Mx,My,Mz) Drag coefficients                 1.00      1.00      0.00\n"
                " 20) (Mx,My,Mz) Drag moment coefficients:         1.00      1.00      0.00\n"
                "\n"
                "  (\"C\", \"D\", \"I\" to Copy, Delete, Insert)\n" +
                kSelect);
  EXPECT_EQ(t->s.tpcm.i(kNavCode), kNavLast);
  EXPECT_EQ(t->s.tpcm.i(kCountCopy), 3);
  EXPECT_EQ(t->s.tpcm.i(alignment(1)), 1);  // a stored 0 shows as 1
}

TEST(MemberPage, GeneralSubPage) {
  const std::string kHint =
      "\n ++> To fill all member values with an EXISTING default value,\n"
      "     first change to an (intermediate) NEW value,\n"
      "     then BACK to the desired original value.\n" + kReturn;
  const PageCase cases[] = {
      {"no members: RETURN leaves at once", "\n", {iw(kMaximum, 50)}, {iw(kNavCode, 0)}, {}, {"Note:", "+++"}, {},
       kMooringKind},
      member_case("count clamped to the maximum", "1\n60\nB\n", {}, {iw(kCount, 50), iw(kNavCode, kNavBack)},
                  {kSelect + "  1) Number of members (Max 50):  3\n" + kNewValue}),
      member_case("count and maximum from the file held to the table", "B\n", {iw(kMaximum, 99), iw(kCount, 75)},
                  {iw(kMaximum, 50), iw(kCount, 50)}, {"(Max 50): 50\n"}),
      member_case("count above a lower maximum", "B\n", {iw(kMaximum, 5), iw(kCount, 7)}, {iw(kCount, 5)}),
      member_case("a new default fills that axis of every member", "3\n0.5\nB\n", {iw(drag_source(4), 1)},
                  {rw(default_drag(2), 0.5f), rw(drag(1, 2), 0.5f), rw(drag_moment(3, 2), 0.5f),
                   rw(drag(1, 1), 1.0f), iw(drag_source(2), 0), iw(drag_source(4), 1), rw(drag(4, 2), 0.0f)},
                  {" ++> NOTE: This will change the coefficient for ALL members;\n"
                   "           press <RETURN> to abort change operation\n\n"
                   "  3) Default member My-damping coefficient ...........      1.00\n" + kNewValue},
                  {kHint}),
      member_case("the same default changes nothing and says how", "2\n1\n\nB\n",
                  {iw(drag_source(1), 1), rw(drag(1, 1), 0.7f)}, {iw(drag_source(1), 1), rw(drag(1, 1), 0.7f)},
                  {kHint}),
      member_case("a blank default reply changes nothing", "4\n\n\nB\n", {rw(drag(1, 3), 0.3f)},
                  {rw(drag(1, 3), 0.3f)}, {kHint}),
      member_case("5 toggles the warning switch", "5\nB\n", {}, {iw(kSuppressHydroWarnings, 1)}),
      member_case("a number above 5 goes to the members", "9\nJ4\n", {}, {iw(kNavCode, kNavJump)},
                  {kMemberHeader}),
      member_case("print pass: every sub-page, no reply", "", {iw(kPrintPass, 1)},
                  {iw(kNavCode, 0), iw(kPrintPass, 5)},
                  {kGeneral, "  1) Member number:  1 of  3\n", "  1) Member number:  2 of  3\n",
                   "  1) Member number:  3 of  3\n"},
                  {"Enter number"}),
  };
  for (const PageCase& c : cases) testing::expect_page_case(page12, c);
}

TEST(MemberPage, MovingBetweenMembers) {
  const PageCase cases[] = {
      member_case("RETURN past the last member leaves with 1", "\n\n\n\n", {}, {iw(kNavCode, 1)}, {}, {},
                  {{" of  3\n", 3}}),
      member_case("B walks back to the general sub-page", "\n\nB\nB\nF\n", {}, {iw(kNavCode, kNavFirst)},
                  {"  1) Member number:  2 of  3\n", "  1) Member number:  1 of  3\n", kGeneral}),
      member_case("item 1 chooses a member", "\n1\n99\n1\n0\nX\n", {}, {iw(kNavCode, kNavTableX)},
                  {"  1) Member number:  3 of  3\n", "  1) Member number:  1 of  3\n"}),
      member_case("M shows the member again; 2 and 21 are no items", "\nM\n2\n21\nS\n", {},
                  {iw(kNavCode, kNavSkip)}, {}, {kNewValue}, {{"  1) Member number:  1 of  3\n", 4}}),
      member_case("codes outside the name tables show blank", "\nL\n",
                  {iw(profile(1), 7), iw(base_end(1), -3), iw(coef_source(1), 9)}, {},
                  {"  3) Axial cross-section profile: " + std::string(40, ' ') + "\n",
                   " 11) Base end termination type: " + std::string(16, ' ') + "\n",
                   " 15) Added mass/moment coefficients: " + std::string(40, ' ') + "\n"}),
      member_case("a member that is not sectional hides 3 and 5", "\n3\n5\nL\n", {iw(form(1), 1)}, {},
                  {"  1) Member number:  1 of  3\n\n  4) Member dimensions"}, {"  5) Cross", "Profile Selection"}),
  };
  for (const PageCase& c : cases) testing::expect_page_case(page12, c);
}

TEST(MemberPage, MemberItems) {
  const std::string kAxialWarning =
      "\n\n ++> WARNING: The largest member dimension is NOT the axial dimension Mz.\n"
      "              Be sure this is what you want...\n" + kReturn;
  const PageCase cases[] = {
      // The closed circular pontoon computed in deep water: (1, 1, 0).
      member_case("profile chosen, coefficients recomputed", "\n3\n2\nL\n", {iw(profile(1), kRectangular)},
                  {iw(profile(1), kElliptic), rw(added_mass(1, 1), 1.0f), rw(added_mass(1, 2), 1.0f),
                   rw(added_mass(1, 3), 0.0f)},
                  {"\n +++ Axial Cross-Section Profile Selection +++\n\n 1) Rectangular\n 2) Circular/elliptic\n"
                   " 3) Rectangular/elliptic (intermediate)\n\n" + kNewValue}),
      member_case("dimensions with Mz not the largest warn", "\n4\n2,3,1\n\n\nL\n", {},
                  {rw(dimension(1, 1), 2.0f), rw(dimension(1, 2), 3.0f), rw(dimension(1, 3), 1.0f)},
                  {"  4) Member dimensions (Mx,My,Mz) ..........      2.00      2.00     20.00\n"
                   " Enter new (Mx,My,Mz) dimensions: ",
                   kAxialWarning}),
      member_case("a round section does not", "\n4\n2,2,1\n\nL\n", {}, {rw(dimension(1, 3), 1.0f)}, {},
                  {"NOT the axial"}),
      member_case("values left out keep theirs", "\n4\n,,30\n\nL\n", {},
                  {rw(dimension(1, 1), 2.0f), rw(dimension(1, 3), 30.0f)}),
      member_case("area", "\n5\n7.5\nL\n", {}, {rw(area(1), 7.5f)}, {kSelect + "  5) Cross-sectional area"}),
      // A new end point gives the axis its code; computed values stay.
      member_case("end point: alignment code only", "\n12\n0,0,30\nL\n", {rw(added_mass(1, 1), 9.0f)},
                  {rw(top_point(1, 3), 30.0f), rw(top_point(1, 1), 0.0f), iw(alignment(1), 3),
                   rw(added_mass(1, 1), 9.0f)},
                  {" Enter new (Vx,Vy,Vz) coordinate: "}),
      member_case("end type chosen and recomputed", "\n11\n1\nL\n", {},
                  {iw(base_end(1), kFreeEnd)},
                  {"\n +++ Base-End Termination Type Selection +++\n\n 1) Free, Submerged\n"
                   " 2) Water-piercing\n 3) Wall-terminated\n\n" + kNewValue}),
      member_case("end type: 0 changes nothing", "\n13\n0\nL\n", {}, {iw(top_end(1), kWallTerminated)},
                  {"+++  Top-End Termination Type Selection +++"}),
      member_case("source: user-specified coefficients are typed", "\n15\n1\n16\n0.8,0.9,0.1\nL\n", {},
                  {iw(coef_source(1), kUserCoefficients), rw(added_mass(1, 1), 0.8f), rw(added_mass(1, 3), 0.1f)},
                  {"\n +++ Added Mass Specification Options +++\n\n 1) User-specified\n"
                   " 2) Computed (deep water assumption)\n 3) Computed (with surface correction)\n" + kNewValue,
                   " Enter new (Mx,My,Mz) coefficients: "}),
      member_case("computed coefficients are not typed", "\n17\nL\n", {}, {}, {}, {"Enter new"}),
      // The top below the base is fatal: the coefficients become user-specified.
      member_case("a fatal check makes the source user-specified", "\n15\n2\n\nL\n", {rw(top_point(1, 3), 5.0f)},
                  {iw(coef_source(1), kUserCoefficients)},
                  {" ++> Fatal Warning: Top of member  1 is below the base!\n" + kReturn}),
      member_case("default drag", "\n18\n19\nL\n", {iw(base_end(1), kFreeEnd)},
                  {iw(drag_source(1), 1), rw(drag(1, 3), 1.0f), rw(drag_moment(1, 3), 0.0f)},
                  {" 18) Drag/drag moment coefficients: Default         \n"}, {"Enter new"}),
      member_case("default drag asked in batch mode", "\n18\n1\nL\n", {iw(kBatchFlag, 1)}, {iw(drag_source(1), 1)},
                  {"Enter 1 for \"Default\", 0 for \"User-Specified\": "}),
      member_case("user drag typed", "\n20\n0.5\nL\n", {}, {rw(drag_moment(1, 1), 0.5f), rw(drag_moment(1, 2), 1.0f)}),
  };
  for (const PageCase& c : cases) testing::expect_page_case(page12, c);
}

// The fields of slot n as the fixture wrote them (area, a coordinate, an
// end type) to follow a slot through delete and insert.
Words slot_marks(int slot, int from) {
  return {rw(area(slot), from == 1 ? testing::kPi : from == 3 ? 6.0f : from == 2 ? testing::kPi : 0.0f),
          rw(top_point(slot, 3), from == 1 ? 10.0f : from == 2 ? 120.0f : from == 3 ? 20.0f : 0.0f),
          iw(top_end(slot), from == 2 ? kWaterPiercing : from == 0 ? 0 : kWallTerminated)};
}

TEST(MemberPage, CopyDeleteInsert) {
  const auto join = [](std::initializer_list<Words> parts) {
    Words w;
    for (const Words& p : parts) w.insert(w.end(), p.begin(), p.end());
    return w;
  };
  const std::string kMenu =
      "\n\n +++   Coordinate Transformation Properties  +++\n"
      "         (<Return> for no transformation)\n\n"
      " 1) Reflect about Vx-Vz plane  (x,y) -> (x, -y)\n";
  const PageCase cases[] = {
      member_case("copy 3 into 2, mirrored in y", "\n\nC\n3\n1\nL\n", {},
                  join({slot_marks(2, 3),
                        {rw(base_point(2, 2), 5.0f), rw(top_point(2, 2), -5.0f), rw(dimension(2, 2), 3.0f),
                         iw(profile(2), kRectangular), iw(coef_source(2), kUserCoefficients)}}),
                  {" Copy data from which member? : ", kMenu, "          (Vz is out of screen)\n" + kSelect}),
      member_case("copy with reflection help, then unchanged", "\n\nC\n3\n?2\n\n\nL\n", {},
                  join({slot_marks(2, 3), {rw(base_point(2, 2), -5.0f)}}),
                  {"****  Reflection Definition Notes  ****", "\n ++> Item Numbers 1,2,3\n     The Vx-Vz plane"}),
      member_case("a choice above 5 keeps the member's own ends", "\n\nC\n3\n7\nL\n", {},
                  {rw(area(2), 6.0f), rw(top_point(2, 3), 120.0f)}),
      member_case("copy source above the count is the last", "\nC\n9\n\nL\n", {}, slot_marks(1, 3)),
      member_case("copy from 0, blank or a letter copies nothing", "\nC\n0\nC\n\nC\nB\nL\n", {}, slot_marks(1, 1), {},
                  {"Coordinate Transformation"}),
      member_case("delete member 1: slots move up, the last stays, the count too", "\nD\nL\n",
                  {rw(area(50), 50.0f), rw(area(49), 49.0f)},
                  join({slot_marks(1, 2), slot_marks(2, 3), slot_marks(3, 0),
                        {rw(area(48), 49.0f), rw(area(49), 50.0f), rw(area(50), 50.0f), iw(kCount, 3)}})),
      member_case("insert at 2: a cleared slot, the last one lost", "\n\nI\nL\n",
                  {rw(area(50), 50.0f), rw(area(49), 49.0f)},
                  join({slot_marks(1, 1), slot_marks(2, 0), slot_marks(3, 2), slot_marks(4, 3),
                        {rw(area(50), 49.0f), iw(kCount, 3)}})),
  };
  for (const PageCase& c : cases) testing::expect_page_case(page12, c);
}

TEST(MemberPage, RotatedCopyTurnsCounterClockwise) {
  // (20, 0) turned by 90 degrees lies on the Vy axis.
  const auto t = testing::run_page_case(page12, member_case("", "\n\nC\n1\n5\n90\nL\n", {}, {}));
  EXPECT_NE(t->shown().find(" Enter C-Clockwise rotation about vertical (degrees): "), std::string::npos);
  EXPECT_NEAR(t->s.tpcm.r(top_point(2, 1)), 0.0f, 1e-5f);
  EXPECT_FLOAT_EQ(t->s.tpcm.r(top_point(2, 2)), 20.0f);
  EXPECT_FLOAT_EQ(t->s.tpcm.r(dimension(2, 3)), 20.0f);
}

TEST(MemberPage, Help) {
  const std::string kTitle = "                     ****  Member Definition Notes  ****\n";
  const PageCase cases[] = {
      member_case("general item sharing a note", "?3\n\nB\n", {}, {},
                  {kTitle + "\n ++> Item Numbers 2,3,4\n     A changed default"}),
      member_case("general item without a note", "?7\n\nB\n", {}, {},
                  {kTitle + "\n ++> Item Number  7\n\n ++> Sorry, no help for this line...\n" + kReturn}),
      member_case("general page help: one topic a screen", "?\n\n\n\nB\n", {}, {}, {"\n ++> Item Number  1\n"},
                  {}, {{"Press <RETURN>", 3}}),
      member_case("member item sharing a note", "\n?12\n\nL\n", {}, {},
                  {"\n ++> Item Numbers 10,12\n     End coordinates are given in the vessel system"}),
      member_case("member item with its own note", "\n?4\n\nL\n", {}, {}, {"\n ++> Item Number  4\n     Member"}),
      member_case("member page help", "\n?\n\n\n\n\n\n\n\n\nL\n", {}, {}, {"\n ++> Item Numbers 18,19,20\n"}, {},
                  {{"Press <RETURN>", 8}}),
  };
  for (const PageCase& c : cases) testing::expect_page_case(page12, c);
}

}  // namespace
}  // namespace kelp
