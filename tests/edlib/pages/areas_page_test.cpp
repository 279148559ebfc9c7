// The environmental areas page (areas): the screen, the items each kind and
// each coefficient source shows, the managed factor groups with their
// warning, and help.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "edlib/pages/areas_page.hpp"
#include "edlib/record/data_record.hpp"
#include "test_page.hpp"

namespace kelp {
namespace {

using testing::expect_page_case;
using testing::iw;
using testing::kAbortAsk;
using testing::kNewValue;
using testing::kSelect;
using testing::PageCase;
using testing::rw;
using testing::Words;

constexpr int kSpm = 15;
const std::string kWarning = " >>> Warning: Completing this request will reset all wave ";

void page13(Session& s) { areas(s, "13", "Vessel"); }

// The factors as a new record holds them.
Words defaults() {
  return {rw(kBowShapeFactor, 1.0f),  rw(kSternShapeFactor, 1.25f), rw(kReflectionHead, 1.0f),
          rw(kReflectionBeam, 1.0f),  rw(kReflectionMoment, 1.0f),  rw(kDriftEnhancement, 1.0f),
          rw(kAbsorptionHead, 1.0f),  rw(kAbsorptionBeam, 1.0f),    rw(kAbsorptionMoment, 1.0f),
          rw(kAbsorptionVariable, 1.0f), rw(kWindEnhancement, 1.0f), rw(kCurrentEnhancement, 1.0f)};
}

Words with(Words w, const Words& more) {
  w.insert(w.end(), more.begin(), more.end());
  return w;
}

TEST(AreasPage, ScreenOfKind17WithTheBargeSourcesAndManagedReflection) {
  PageCase c{.name = "kind 17, metric",
             .replies = "\n",
             .preset = with(defaults(), {iw(kWindSelector, 0x333), iw(kCurrentSelector, 0x777), iw(kWindOn, 1),
                                         rw(kSternShapeFactor, 1.3f), rw(kWindHeadArea, 1200.0f)}),
             .kind = 17,
             .units = kUnitsMetric};
  c.screen = std::string(
                 " ****  Page 13: Vessel Environmental Area, Moment and Enhancement Data  ****\n"
                 "\n"
                 "  1) Simulate <<Wind>>?   Yes\n"
                 "\n"
                 "  2) Head-on effective drag area ....................    1200.00 square meters\n"
                 "  3) Head-on drag area centroid (y, from CG) ........       0.00 meters\n"
                 "  4) Head-on drag area centroid (z, from Keel) ......       0.00 meters\n"
                 "\n"
                 "  5) Beam-on effective drag area ....................       0.00 square meters\n"
                 "  6) Beam-on drag area centroid (x, from CG) ........       0.00 meters\n"
                 "  7) Beam-on drag area centroid (z, from Keel) ......       0.00 meters\n"
                 "\n"
                 "  8) Wind force enhancement factor ..................       1.00\n"
                 "\n"
                 "\n"
                 " 11) Simulate <<Current>>?   No \n"
                 "\n"
                 " 12) Head-on effective drag area ....................       0.00 square meters\n"
                 " 13) Head-on drag area centroid (y, from CG) ........       0.00 meters\n"
                 " 14) Head-on drag area centroid (z, from Keel) ......       0.00 meters\n"
                 "\n"
                 " 15) Beam-on effective drag area ....................       0.00 square meters\n"
                 " 16) Beam-on drag area centroid (x, from CG) ........       0.00 meters\n"
                 " 17) Beam-on drag area centroid (z, from Keel) ......       0.00 meters\n"
                 "\n"
                 " 18) Current force enhancement factor ...............       1.00\n"
                 "\n"
                 "\n"
                 " 20) Micromanage wave reflection (aka \"drift\") settings?     Yes\n"
                 "\n"
                 " 21) Bow shape factor ...............................       1.00\n"
                 " 22) Stern shape factor .............................       1.30\n"
                 " 23) Wave reflection HEAD-ON enhancement factor .....       1.00\n"
                 " 24) Wave reflection BEAM-ON enhancement factor .....       1.00\n"
                 " 25) Wave reflection MOMENT enhancement factor.......       1.00\n"
                 " 26) Variable wave reflection enhancement factor ....       1.00\n"
                 "\n"
                 "\n"
                 " 30) Micromanage wave absorption (aka \"drag\") settings?      No \n"
                 "\n") +
             kSelect;
  expect_page_case(page13, c);
}

TEST(AreasPage, ShownAndAcceptedItems) {
  const Words plain = with(defaults(), {iw(kWindSelector, 0x111), iw(kCurrentSelector, 0x111)});
  const std::vector<PageCase> cases = {
      {.name = "kind 15: no keel centroids, a one-blank line in their place",
       .replies = "4\n7\n14\n17\n\n",
       .preset = plain,
       .shows = {"  2) Head-on effective drag area ....................       0.00 square feet  \n \n"
                 "  5) Beam-on effective drag area ....................       0.00 square feet  \n \n"
                 "  8) "},
       .never = {"from Keel", kNewValue},
       .kind = kSpm},
      {.name = "kind 17 edits them", .replies = "4\n6.5\n\n", .preset = plain, .expect = {rw(kWindHeadCentroidZ, 6.5f)},
       .shows = {"  4) Head-on drag area centroid (z, from Keel) ......       0.00 feet  \n" + kNewValue}, .kind = 17},
      {.name = "item 3 without a barge or cylinder source only redraws", .replies = "3\n\n", .preset = plain,
       .never = {"(y, from CG)", kNewValue}, .kind = kSpm},
      {.name = "item 13 with the current barge source", .replies = "13\n-4\n\n",
       .preset = with(defaults(), {iw(kCurrentSelector, 0x313)}), .expect = {rw(kCurrentHeadCentroidY, -4.0f)},
       .kind = kSpm},
      {.name = "item 18", .replies = "18\n1.2\n\n", .preset = plain, .expect = {rw(kCurrentEnhancement, 1.2f)},
       .kind = kSpm},
      {.name = "items 1 and 11 switch wind and current", .replies = "1\n11\n\n", .preset = plain,
       .expect = {iw(kWindOn, 1), iw(kCurrentOn, 1)}, .kind = kSpm},
      {.name = "item 23 hidden while the factors are not managed", .replies = "23\n\n", .preset = plain,
       .never = {kNewValue}, .kind = kSpm},
      {.name = "item 23 writes its line before the prompt", .replies = "20\n23\n1.4\n\n", .preset = plain,
       .expect = {rw(kReflectionHead, 1.4f)},
       .shows = {" 23) Wave reflection HEAD-ON enhancement factor .....       1.00\n" + kNewValue}, .kind = kSpm},
      {.name = "item 32", .replies = "30\n32\n0.8\n\n", .preset = plain, .expect = {rw(kAbsorptionBeam, 0.8f)},
       .kind = kSpm},
  };
  for (const PageCase& c : cases) expect_page_case(page13, c);
}

// Items 20 and 30: managed on entry when a factor differs from its default;
// switching off warns when a factor differs, "A" keeps everything, RETURN
// resets them; an answer that keeps the group managed keeps the factors.
TEST(AreasPage, ManagedFactorGroups) {
  const Words stern13 = with(defaults(), {rw(kSternShapeFactor, 1.3f), rw(kReflectionHead, 2.0f)});
  const Words absorbed = with(defaults(), {rw(kAbsorptionMoment, 0.5f)});
  const std::vector<PageCase> cases = {
      {.name = "stern 1.25: item 20 No, 21-26 hidden", .replies = "21\n\n", .preset = defaults(),
       .shows = {"settings?     No \n\n\n\n 30)"}, .never = {" 21) ", kNewValue}, .kind = kSpm},
      {.name = "at the defaults: on and off without a warning", .replies = "20\n20\n\n", .preset = defaults(),
       .never = {kWarning}, .counts = {{"settings?     Yes", 1}}, .kind = kSpm},
      {.name = "A keeps the factors",
       .replies = "20\nA\n\n",
       .preset = stern13,
       .expect = {rw(kSternShapeFactor, 1.3f), rw(kReflectionHead, 2.0f)},
       .shows = {"\n" + kWarning + "reflection\n              parameters to their default values.\n" + kAbortAsk},
       .counts = {{" 22) ", 2}},
       .kind = kSpm},
      {.name = "RETURN resets them",
       .replies = "20\n\n\n",
       .preset = stern13,
       .expect = {rw(kSternShapeFactor, 1.25f), rw(kReflectionHead, 1.0f)},
       .counts = {{" 22) ", 1}},
       .kind = kSpm},
      {.name = "yes/no mode: 1 keeps managing and keeps the factors",
       .replies = "20\n\n1\n\n",
       .preset = with(stern13, {iw(kBatchFlag, 1)}),
       .expect = {rw(kSternShapeFactor, 1.3f), rw(kReflectionHead, 2.0f)},
       .kind = kSpm},
      {.name = "yes/no mode: an unreadable answer keeps them too",
       .replies = "30\n\nx\n\n",
       .preset = with(absorbed, {iw(kBatchFlag, 1)}),
       .expect = {rw(kAbsorptionMoment, 0.5f)},
       .kind = kSpm},
      {.name = "yes/no mode: 0 resets",
       .replies = "30\n\n0\n\n",
       .preset = with(absorbed, {iw(kBatchFlag, 1)}),
       .expect = {rw(kAbsorptionMoment, 1.0f)},
       .shows = {kWarning + "absorption\n"},
       .kind = kSpm},
  };
  for (const PageCase& c : cases) expect_page_case(page13, c);
}

TEST(AreasPage, Help) {
  const std::vector<PageCase> cases = {
      {.name = "?23: the group's note", .replies = "?23\n\n\n", .shows = {"Vessel Environmental Load Notes",
       "\n ++> Item Number 23\n", "enhancement factors multiply"}, .kind = kSpm},
      {.name = "?8: one blank", .replies = "?8\n\n\n", .shows = {"\n ++> Item Number 8\n"}, .kind = kSpm},
      {.name = "?21: bow factor range", .replies = "?21\n\n\n", .shows = {"2.78"}, .kind = kSpm},
      {.name = "?9: Sorry", .replies = "?9\n\n\n", .shows = {" ++> Sorry, no help for this line..."}, .kind = kSpm},
      {.name = "?: every note", .replies = "?\n\n\n\n\n\n\n\n", .shows = {"\n ++> Item Numbers 2 -> 7\n",
       "\n ++> Item Number 8\n", "\n ++> Item Numbers 12 -> 17\n", "\n ++> Item Number 18\n",
       "\n ++> Item Number 20\n", "\n ++> Item Number 21\n", "\n ++> Item Number 22\n",
       "\n ++> Item Numbers 23-25\n", "\n ++> Item Number 26\n", "\n ++> Item Number 30\n",
       "\n ++> Item Numbers 31-34\n"}, .kind = kSpm},
  };
  for (const PageCase& c : cases) expect_page_case(page13, c);
}

TEST(AreasPage, SetfgsTestsTheSixReflectionFactors) {
  Tpcm t;
  testing::set_words(t, defaults());
  EXPECT_EQ(setfgs(t), 0);
  t.set_r(kSternShapeFactor, 1.0f);
  EXPECT_EQ(setfgs(t), 1);
  t.set_r(kSternShapeFactor, 1.25f);
  t.set_r(kDriftEnhancement, 1.0001f);
  EXPECT_EQ(setfgs(t), 1);
}

}  // namespace
}  // namespace kelp
