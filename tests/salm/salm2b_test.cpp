// Page 3 of the single-anchor-leg editor: the main page, the element and
// attachment sub-pages, their navigation, the element table commands and the
// print pass, with record counts that lie outside the tables.
#include "salm/e/salm2b.hpp"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "test_page.hpp"

namespace kelp {
namespace {

using namespace testing;

void page3(Session& s) { salm2b(s, "3"); }

// The first words of the fields an element carries, and a record whose
// element n holds 100 n + f in field f, elements 1 to 40.
constexpr std::array<std::size_t, 10> kFields = {
    kElementLengths.n,   kElementAddedMassTable.n, kElementDragTable.n,      kElementVolumes.n, kElementCentroids.n,
    kElementWeights.n,   kElementGravityCentres.n, kElementJoints.n,         kElementSpare.n,   kElementGyradii.n};
std::size_t word_of(std::size_t field, int n) { return kFields[field] + static_cast<std::size_t>(n - 1); }
Words numbered_elements() {
  Words w;
  for (int n = 1; n <= 40; ++n) {
    for (std::size_t f = 0; f < kFields.size(); ++f) w.push_back(iw(word_of(f, n), 100 * n + static_cast<int>(f)));
  }
  return w;
}
// Element n as element `from` was (0: cleared).
Words element_as(int n, int from) {
  Words w;
  for (std::size_t f = 0; f < kFields.size(); ++f) {
    w.push_back(iw(word_of(f, n), from == 0 ? 0 : 100 * from + static_cast<int>(f)));
  }
  return w;
}

PageCase salm_case(const char* name, std::string replies, Words preset, Words expect) {
  return {.name = name, .replies = std::move(replies), .preset = std::move(preset), .expect = std::move(expect),
          .kind = 11};
}

const std::string kMain =
    "                 ****  Page 3: More Salm information  ****\n\n"
    " 1) Change statics/dynamics \"submergence\" option, currently:\n\n"
    "   7)  Total system \"submergence\" for dynamics AND statics as follows: \n"
    "       \"WET\" buoy top, \"WET yoke\",  <<NO>>  dynamic waterplane correction\n\n"
    "10) Specify auxiliary lateral offset table ...... No \n"
    "12) Specify auxiliary yaw offset table .......... Yes\n"
    "13) Equilibrium yaw angle (deg) .................      15.00\n"
    "14) Yaw increment to use in yaw table (deg) .....       2.50\n"
    "15) Input new auxiliary yaw offset table\n\n"
    " Note: the next  1 pages consist of individual Salm element information.\n";
const std::string kElement =
    "                 ****  Page 3: More Salm information  ****\n\n"
    " --- Element attached to anchor ---\n"
    " --- Element attached to vessel ---\n"
    " --- Element that pierces water ---\n\n"
    " 1) Element number:  1 of  1\n"
    " 2) Length of element ....................      30.00 meters\n"
    " 3) Total volume of element ..............     250.00 cubic meters\n"
    " 4) Centroid of volume above lower end ...       0.00 meters\n"
    " 5) Total dry weight of element ..........      40.00 metric tons\n"
    " 6) Center of gravity above lower end ....       0.00 meters\n"
    " 7) Constraint at lower joint ............ free to rotate\n"
    " 8) Gyradius of element ..................       0.00 meters\n"
    " 9) Added mass coefficient ...............       1.00\n"
    "10) Effective drag coefficient ...........       0.70\n"
    "11) Compute bending moment at top of element: Yes\n\n"
    "12) Copy another element, Delete or Insert an element\n"
    "13) Type of attachment to vessel ......... Pendular mass\n"
    "14) Modify vessel attachment specifics\n";
const std::string kAttachment =
    "                 ****  Page 3: More Salm information  ****\n\n"
    " 1) Yoke to waterline height at vessel ...       4.00 meters\n"
    " 2) X-Coordinate of Salm attachment ......     -12.00 meters\n"
    " 3) Separation of attachment points ......       6.00 meters\n";

TEST(Salm2b, MainElementAndAttachmentScreens) {
  PageCase c = salm_case("screens", "\n14\n0\n\n", {}, {iw(kNavCode, 1)});
  c.units = kUnitsMetric;
  c.preset = {iw(kElementCount, 1),           iw(kSubmergenceOption, 5),  iw(kAuxYawTableOn, 1),
              rw(kAuxEquilibriumYaw, 15.0f),  rw(kAuxYawIncrement, 2.5f), iw(kPiercingElement, 1),
              rw(kElementLengths, 30.0f),     rw(kElementVolumes, 250.0f), rw(kElementWeights, 40.0f),
              iw(kElementJoints, 1),          rw(kElementAddedMassTable, 1.0f), rw(kElementDragTable, 0.7f),
              iw(kElementMomentFlags, 1),     iw(kHawserFlag, 3),         rw(kYokeHeight, 4.0f),
              rw(kTurretX, -12.0f),           rw(kAttachmentSeparation, 6.0f)};
  c.screen = kMain + kSelect + kElement + kSelect + kAttachment + kSelect + kElement + kSelect;
  expect_page_case(page3, c);
}

// Where the page goes, and what a count, an option or a row count from the
// file that lies outside its table does.
TEST(Salm2b, NavigationAndCountsOutsideTheTables) {
  const std::string map = " ********* Buoy Top/Yoke Submergence Options Map   *********";
  const Words two = {iw(kElementCount, 2)};
  const std::vector<PageCase> cases = {
      {.name = "no elements: the sub-pages are skipped", .replies = "\n", .expect = {iw(kNavCode, 1)},
       .never = {"Element number"}, .kind = 11},
      {.name = "no elements, a number above 15", .replies = "20\n", .expect = {iw(kNavCode, 1)}, .kind = 11},
      {.name = "a negative count reads as none", .replies = "\n", .preset = {iw(kElementCount, -3)},
       .expect = {iw(kNavCode, 1)}, .never = {"Element number", "Note:"}, .kind = 11},
      {.name = "count 45 walks 40 elements", .replies = "\n1\n99\n\n", .preset = {iw(kElementCount, 45)},
       .expect = {iw(kNavCode, 1), iw(kElementCount, 45)}, .shows = {" 1) Element number: 40 of 40"}, .kind = 11},
      {.name = "back from element 1 to the main page, then a jump", .replies = "\nB\nJ7\n", .preset = two,
       .expect = {iw(kNavCode, kNavJump), iw(kPageCounter, 7)},
       .counts = {{"Change statics", 2}, {"Element number:  1 of  2", 1}}, .kind = 11},
      {.name = "element 2 back to 1, M stays, X leaves", .replies = "\n\nB\nM\nX\n", .preset = two,
       .expect = {iw(kNavCode, kNavTableX)},
       .shows = {"number:  1 of  2", "number:  2 of  2", "number:  1 of  2", "number:  1 of  2"}, .kind = 11},
      {.name = "13 on an element but the last is ignored", .replies = "\n13\nS\n", .preset = two,
       .expect = {iw(kNavCode, kNavSkip)}, .never = {"Type of attachment"}, .kind = 11},
      {.name = "map reply 9 is held to option 6", .replies = "1\n9\nS\n", .preset = {iw(kElementCount, 1)},
       .expect = {iw(kSubmergenceOption, 6)}, .counts = {{map, 1}}, .kind = 11},
      {.name = "map reply 4 is option 2", .replies = "4\n4\nS\n", .preset = {iw(kElementCount, 1)},
       .expect = {iw(kSubmergenceOption, 2)}, .counts = {{map, 1}}, .kind = 11},
      {.name = "map reply 1 keeps an option outside the table, shown without text", .replies = "1\n1\nS\n",
       .preset = {iw(kElementCount, 1), iw(kSubmergenceOption, 9)}, .expect = {iw(kSubmergenceOption, 9)},
       .never = {"  2)  No above-water"}, .counts = {{map, 1}}, .kind = 11},
      {.name = "no map without elements", .replies = "1\nS\n", .preset = {iw(kSubmergenceOption, 3)},
       .expect = {iw(kSubmergenceOption, 3)}, .never = {map}, .kind = 11},
      {.name = "yaw table off: 13 and 15 are not edited", .replies = "13\n15\nS\n",
       .expect = {iw(kNavCode, kNavSkip)}, .never = {kNewValue, "Yaw Offset"}, .kind = 11},
  };
  for (const PageCase& c : cases) expect_page_case(page3, c);
}

// Copy, delete and insert on element 2 of 3, through the commands and item 12;
// the count never changes.
TEST(Salm2b, ElementTableCommands) {
  const Words three = numbered_elements() + Words{iw(kElementCount, 3)};
  const auto moved = [](std::initializer_list<std::pair<int, int>> to_from) {
    Words w = {iw(kElementCount, 3), iw(kNavCode, kNavSkip)};
    for (auto [n, from] : to_from) w = w + element_as(n, from);
    return w;
  };
  const std::vector<PageCase> cases = {
      salm_case("delete 2: 3 moves down, 40 is cleared", "\n\nD\nS\n", three,
                moved({{2, 3}, {3, 4}, {39, 40}, {40, 0}})),
      salm_case("delete through item 12", "\n\n12\nd\nS\n", three, moved({{2, 3}, {40, 0}})),
      salm_case("insert at 2: 2 moves up, 40 is lost", "\n\nI\nS\n", three, moved({{2, 0}, {3, 2}, {40, 39}})),
      salm_case("copy 3 into 2", "\n\nC\n3\nS\n", three, moved({{2, 3}, {3, 3}})),
      salm_case("copy from 7 is held to 3", "\n\n12\nc\n7\nS\n", three, moved({{2, 3}})),
      salm_case("copy with a blank reply does nothing", "\n\nC\n\nS\n", three, moved({{2, 2}, {40, 40}})),
      salm_case("another letter does nothing", "\n\n12\nq\nS\n", three, moved({{2, 2}})),
  };
  for (const PageCase& c : cases) expect_page_case(page3, c);
}

TEST(Salm2b, FreeSalmHidesTheAttachmentSpecifics) {
  PageCase c = salm_case("attachment 1", "\n13\n1\n14\nS\n", {iw(kElementCount, 1)},
                         {iw(kHawserFlag, -1), iw(kNavCode, kNavSkip)});
  c.shows = {" --- Element attached to vessel ---", "14) Modify vessel attachment specifics",
             " ----  Type of attachment to vessel:  ----", " --- Topmost element ---",
             "13) Type of attachment to vessel ......... Free Salm"};
  c.counts = {{"14) Modify", 1}, {"Yoke to waterline", 0}, {"Topmost", 2}};
  expect_page_case(page3, c);
}

// The print pass lists the main page, the tables that are on (at most 90
// rows whatever word 1914 says), every element and the attachment sub-page.
TEST(Salm2b, PrintPassWalksEverySubPage) {
  const std::vector<std::pair<int, int>> rows = {{160, 90}, {45, 45}, {-4, 0}};
  for (auto [stored, listed] : rows) {
    PageCase c = salm_case("print pass", "", {iw(kPrintPass, 1), iw(kElementCount, 3), iw(kAuxLateralTableOn, 1),
                                              iw(kInterpTableSize, stored)},
                           {iw(kNavCode, 0), iw(kInterpTableSize, stored)});
    c.counts = {{"More Salm information", 5},  {"Element number:", 3}, {"Yoke to waterline", 1},
                {"Lateral Offset Force", 1},   {"Yaw Offset Torque", 0}, {"Element attached to vessel", 1}};
    const auto row = [](int n) { return fmt::fortran("(I3,')',F10.2,$)", n, 0.0f); };
    if (listed > 0) c.shows = {row(listed)};
    c.never = {row(listed + 1)};
    expect_page_case(page3, c);
  }
}

}  // namespace
}  // namespace kelp
