// Page 2 of the single-anchor-leg editor: the screen, the clamps, the reset
// of the water-piercing element and the default element coefficients.
#include "salm/e/salm.hpp"

#include <gtest/gtest.h>

#include "edlib/record/data_record.hpp"
#include "test_page.hpp"

namespace kelp {
namespace {

using testing::iw;
using testing::rw;
using testing::Words;

void page2(Session& s) { salm(s, "2"); }

// Three elements, the second piercing the water.
const Words kThreeElements = {iw(kElementCount, 3), rw(kMaxTableLoad, 500.0f), rw(kOffsetIncrement, 2.5f),
                              iw(kInterpTableSize, 90), rw(kPiercingWaterplaneArea, 12.0f), iw(kPiercingElement, 2),
                              rw(kDefaultElementAddedMass, 1.0f), rw(kDefaultElementDrag, 0.8f)};

// A coefficient table of 40 elements all at v.
Words all40(RealWord table, float v) {
  Words w;
  for (std::size_t n = 0; n < 40; ++n) w.push_back(rw(table + n, v));
  return w;
}

TEST(SalmInformation, Screen) {
  testing::expect_page_case(
      page2, {.name = "three elements, metric", .replies = "\n", .preset = kThreeElements, .kind = 11,
              .units = kUnitsMetric,
              .screen = "                   ****  Page 2: Salm information  ****\n"
                        "\n"
                        " 1) Number of Salm elements (Max 40) ............     3\n"
                        " 2) Maximum horizontal load on Salm                   500.00 metric tons    \n"
                        " 3) Offset increment for static offset table            2.50 meters         \n"
                        " 4) Number of points in interpolation table          90\n"
                        " 5) Water plane area of water-piercing element         12.00 square meters\n"
                        " 6) Salm element that pierces water                   2\n"
                        " 7) Reset default added mass coefficient                1.00\n"
                        " 8) Reset default square-law drag coefficient           0.80\n"
                        " \n"
                        " Enter number of selection (\"H\" for help): "});
}

TEST(SalmInformation, EditsClampsResetsAndDefaults) {
  const Words low = all40(kElementAddedMassTable, 0.3f) + all40(kElementDragTable, 0.3f);
  const std::vector<testing::PageCase> cases = {
      {.name = "a count of 45 is stored as 40", .replies = "1\n45\n\n", .expect = {iw(kElementCount, 40)}},
      {.name = "a table size of 95 is stored as 90", .replies = "4\n95\n\n", .expect = {iw(kInterpTableSize, 90)},
       .shows = {" Interpolation table size (Max 90):  90\n"}},
      {.name = "any piercing element; a letter keeps it", .replies = "6\n55\n6\nE\n\n",
       .expect = {iw(kPiercingElement, 55)}},
      {.name = "option 5 moves the piercing element above the top", .replies = "\n",
       .preset = {iw(kSubmergenceOption, 5)}, .expect = {iw(kPiercingElement, 4)}},
      {.name = "option 4 keeps it", .replies = "\n", .preset = {iw(kSubmergenceOption, 4)},
       .expect = {iw(kPiercingElement, 2)}},
      {.name = "no elements: no reset, items 5 to 8 hidden and not edited", .replies = "7\n\n",
       .preset = {iw(kElementCount, 0), iw(kSubmergenceOption, 6)}, .expect = {iw(kPiercingElement, 2)},
       .never = {" 5) ", " 8) ", "Current default"}},
      {.name = "a count from a damaged file never sets past the table", .replies = "\n",
       .preset = {iw(kElementCount, 2147483647), iw(kSubmergenceOption, 5)}, .expect = {iw(kPiercingElement, 41)}},
      {.name = "numbers above 8 redisplay; no help", .replies = "9\n?\n\n\n",
       .shows = {" ++> Sorry, no help for this page..."}, .counts = {{"Page 2: Salm information", 3}}},
      {.name = "a blank default keeps every coefficient", .replies = "7\n\n\n", .preset = low,
       .expect = low + Words{rw(kDefaultElementAddedMass, 1.0f)},
       .shows = {"\nCurrent default elemental added mass coefficient =   1.00\n\n"}},
      {.name = "a new added mass goes to all 40 elements", .replies = "7\n2.5\n\n", .preset = low,
       .expect = all40(kElementAddedMassTable, 2.5f) + all40(kElementDragTable, 0.3f)},
      {.name = "a new drag goes to all 40 elements", .replies = "8\n0.7\n\n", .preset = low,
       .expect = all40(kElementAddedMassTable, 0.3f) + all40(kElementDragTable, 0.7f) +
                 Words{rw(kDefaultElementDrag, 0.7f)}},
  };
  for (testing::PageCase c : cases) {
    c.preset = kThreeElements + c.preset;
    c.kind = 11;
    testing::expect_page_case(page2, c);
  }
}

}  // namespace
}  // namespace kelp
