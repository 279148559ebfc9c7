// Page 2 of the single-anchor-leg editor: the screen, the clamps, the reset
// of the water-piercing element and the default element coefficients.
#include "salm/e/salm.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "edlib/data_record.hpp"
#include "test_page.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using testing::iw;
using testing::PageCase;
using testing::rw;

void page2(Session& s) { salm(s, "2"); }

// Three elements, the second piercing the water, in metric units.
const testing::Words kThreeElements = {
    iw(kElementCount, 3),         rw(kMaxTableLoad, 500.0f),          rw(kOffsetIncrement, 2.5f),
    iw(kInterpTableSize, 90),     rw(kPiercingWaterplaneArea, 12.0f), iw(kPiercingElement, 2),
    rw(kDefaultElementAddedMass, 1.0f), rw(kDefaultElementDrag, 0.8f)};

TEST(SalmInformation, Screen) {
  testing::expect_page_case(
      page2, {.name = "three elements, metric",
              .replies = "\n",
              .preset = kThreeElements,
              .kind = 11,
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

TEST(SalmInformation, EditsClampsAndThePiercingReset) {
  const testing::Words no_elements = {iw(kElementCount, 0), iw(kPiercingElement, 2)};
  const std::vector<PageCase> cases = {
      {.name = "a count of 45 is stored as 40", .replies = "1\n45\n\n", .expect = {iw(kElementCount, 40)}},
      {.name = "a table size of 95 is stored as 90",
       .replies = "4\n95\n\n",
       .expect = {iw(kInterpTableSize, 90)},
       .shows = {" Interpolation table size (Max 90):  90\n"}},
      {.name = "any piercing element is taken", .replies = "6\n55\n\n", .expect = {iw(kPiercingElement, 55)}},
      {.name = "a letter for the piercing element keeps it", .replies = "6\nE\n\n", .expect = {iw(kPiercingElement, 2)}},
      {.name = "option 5 sets the piercing element above the top",
       .replies = "\n",
       .preset = {iw(kSubmergenceOption, 5)},
       .expect = {iw(kPiercingElement, 4)}},
      {.name = "option 4 keeps it", .replies = "\n", .preset = {iw(kSubmergenceOption, 4)},
       .expect = {iw(kPiercingElement, 2)}},
      {.name = "no elements: no reset, items 5 to 8 hidden and not edited",
       .replies = "7\n\n",
       .preset = no_elements + testing::Words{iw(kSubmergenceOption, 6)},
       .expect = {iw(kPiercingElement, 2)},
       .never = {" 5) ", " 8) ", "Current default"}},
      {.name = "a count from a damaged file never sets past the table",
       .replies = "\n",
       .preset = {iw(kElementCount, 2147483647), iw(kSubmergenceOption, 5)},
       .expect = {iw(kPiercingElement, 41)}},
      {.name = "numbers above 8 redisplay", .replies = "9\n\n", .counts = {{"Page 2: Salm information", 2}}},
      {.name = "help is none", .replies = "?\n\n\n", .shows = {" ++> Sorry, no help for this page..."}},
  };
  for (const PageCase& c : cases) {
    PageCase k = c;
    k.preset = kThreeElements + c.preset;
    k.kind = 11;
    testing::expect_page_case(page2, k);
  }
}

TEST(SalmInformation, ADefaultCoefficientGoesToAllFortyElements) {
  struct Case {
    const char* replies;
    RealWord def;
    RealWord table;
    float expected;  // default and every element
  };
  const std::vector<Case> cases = {
      {"7\n\n\n", kDefaultElementAddedMass, kElementAddedMassTable, 0.3f},  // blank: all kept
      {"7\n2.5\n\n", kDefaultElementAddedMass, kElementAddedMassTable, 2.5f},
      {"8\n0.7\n\n", kDefaultElementDrag, kElementDragTable, 0.7f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.replies);
    testing::ScriptedSession t(c.replies);
    testing::page_record(t.s.tpcm, 11);
    auto& r = t.s.tpcm;
    r.i(kElementCount) = 1;
    for (std::size_t n = 0; n < 40; ++n) {
      r.set_r(RealWord{kElementAddedMassTable + n}, 0.3f);
      r.set_r(RealWord{kElementDragTable + n}, 0.3f);
    }
    r.set_r(c.def, 0.3f);
    salm(t.s, "2");
    EXPECT_EQ(r.r(c.def), c.expected);
    for (std::size_t n = 0; n < 40; ++n) EXPECT_EQ(r.r(RealWord{c.table + n}), c.expected) << n;
    const RealWord other = c.table == kElementDragTable ? kElementAddedMassTable : kElementDragTable;
    EXPECT_EQ(r.r(RealWord{other + 39}), 0.3f);
  }
}

}  // namespace
}  // namespace kelp
