// The single-anchor-leg editor tried as a new user would, over its own pages
// behind a test identity: a data set created, given three elements, the
// vessel and sea data the checks ask for, then executed. The final page checks,
// lists every page and sub-page to "ANCHIN.stxt" and saves the edits.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "edlib/record/data_record.hpp"
#include "kelpkit/record_words.hpp"
#include "others/other_editor_fixture.hpp"
#include "salm/e/salmed.hpp"

namespace kelp {
namespace {

using testing::FakeRun;

// The element words of element n (1 to 3) of a table.
RealWord element(RealWord first, std::size_t n) { return RealWord{first + (n - 1)}; }

TEST(SalmedRun, CreateThreeElementsExecuteListAndSave) {
  FakeRun r = testing::salm_pages_run(
      "C\n"
      "1\nSALM trial\n4\n60\n\n"                    // 1: identification, water depth
      "1\n3\n2\n500\n5\n12.5\n6\n3\n\n"              // 2: three elements, load, waterplane, piercing 3
      "\n"                                           // 3: on to the element sub-pages
      "2\n20\n3\n300\n5\n150\n\n"                   //    element 1: length, volume, weight
      "2\n30\n3\n400\n5\n250\n\n"                   //    element 2
      "2\n40\n3\n500\n5\n350\n13\n5\n"              //    element 3, a pendular mass
      "14\n1\n15\n3\n25\n\n\n"                      //    its attachment: yoke height, separation
      "\n"                                           // 4
      "1\n50000\n7\n40000\n8\n300\n9\n50\n10\n15\n\n"  // 5: displacement, waterplane, size, draft
      "1\n75\n2\n18\n3\n75\n\n"                     // 6: gyradii
      "J15\n6\n10\nL\n"                              // 15: significant height
      "E\n\nE\n\n");  // execute: the warnings seen, execute again; the note after saving
  EXPECT_EQ(r.run(), -1) << r.ss.shown();
  EXPECT_NE(r.ss.shown().find(" ++> Warning: Version 6.8 supports only free SALMS"), std::string::npos);
  EXPECT_NE(r.ss.errors.str().find("This data file passed preliminary error checks;"), std::string::npos);

  // The listing: every page shown for this record in order, page 3 with its
  // three element sub-pages and the attachment sub-page.
  const std::string more = "****  Page 3: More Salm information  ****";
  const std::vector<std::string> expected = {
      "****  Page 1: Site conditions  ****",
      "****  Page 2: Salm information  ****",
      more,
      more,
      " --- Element attached to anchor ---",
      " 1) Element number:  1 of  3",
      more,
      " 1) Element number:  2 of  3",
      more,
      " --- Element attached to vessel ---\n --- Element that pierces water ---",
      " 1) Element number:  3 of  3",
      "13) Type of attachment to vessel ......... Pendular mass",
      more,
      " 1) Yoke to waterline height at vessel ...      15.00 feet",
      " 3) Separation of attachment points ......      25.00 feet",
      "Page 4: Low-frequency dynamics selection",
      "Page 5: Vessel Hydrostatic Characteristics",
      "Page 6: Vessel Gyradii and Bilge Specifications",
      "Page 7: Vessel Period and Damping Specifications",
      "Page 8: Vessel Low-Frequency Dynamics Characteristics",
      "Page 9: Vessel External Force/Moment Specification",
      "Page 10: Vessel Environmental Area, Moment and Enhancement Data",
      "Page 13: Salm Extension / Regular wave characteristics",
      "Page 14: Regular Wave Characteristics",
      "Page 15: Irregular wave specifications",
      "Page 16: Background swell characteristics",
      "Page 17: Output options 1",
      "Page 18: Output options 2",
  };
  const std::string listing = r.fs->get("ANCHIN.stxt");
  std::size_t at = 0;
  for (const std::string& text : expected) {
    at = listing.find(text, at);
    ASSERT_NE(at, std::string::npos) << "not in order in the listing: " << text << "\n" << listing;
    at += text.size();
  }

  // The saved data file, loaded again by a second session ("M").
  FakeRun back(salmed, kSalmKind, kSalmSlots, "M\n");
  back.fs->put("TESTDAT", r.fs->get("TESTDAT"));
  back.fs->put("LOWDAT", r.fs->get("LOWDAT"));
  EXPECT_EQ(back.run(), testing::kScriptDone) << back.ss.shown();
  const Tpcm& t = back.ss.s.tpcm;
  EXPECT_EQ(std::vector<int>({t.i(kElementCount), t.i(kPiercingElement), t.i(kHawserFlag)}),
            std::vector<int>({3, 3, 3}));
  std::vector<float> saved = {t.r(kWaterDepth), t.r(kMaxTableLoad), t.r(kPiercingWaterplaneArea),
                              t.r(kYokeHeight), t.r(kAttachmentSeparation), t.r(kWaterplaneArea),
                              t.r(kPitchGyradius)};
  for (std::size_t n = 1; n <= 3; ++n) {
    for (RealWord w : {kElementLengths, kElementVolumes, kElementWeights}) saved.push_back(t.r(element(w, n)));
  }
  EXPECT_EQ(saved, std::vector<float>({60, 500, 12.5f, 15, 25, 40000, 75,  //
                                       20, 300, 150, 30, 400, 250, 40, 500, 350}));
}

}  // namespace
}  // namespace kelp
