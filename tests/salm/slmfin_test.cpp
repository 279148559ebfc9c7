// The checks of the single-anchor-leg final page: each finding with and
// without its trigger, texts exact, and the elements selected for shear and
// moment computation. Then the final pages of the single-anchor-leg and the
// semisubmersible editors as a user meets them, over their own checks: when
// findings pause, the silent run stopped by a fatal finding, and the one
// listing of the print pass.
#include "salm/e/slmfin.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "edlib/frame/create_record.hpp"
#include "edlib/frame/final_page.hpp"
#include "edlib/record/data_record.hpp"
#include "salm/e/salmed.hpp"
#include "semi/e/semied.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

void set_element(Tpcm& t, int n, int joint, float length, float volume, int moment = 0) {
  const auto k = static_cast<std::size_t>(n - 1);
  t.i(IntWord{kElementJoints + k}) = joint;
  t.i(IntWord{kElementMomentFlags + k}) = moment;
  t.set_r(RealWord{kElementLengths + k}, length);
  t.set_r(RealWord{kElementVolumes + k}, volume);
}

// Two free elements of length 10, the second piercing the water with volume
// 200 over a waterplane area of 20, in 15 of water; a free SALM.
void consistent_salm(Tpcm& t) {
  t.i(kProgramKind) = 11;
  t.i(kOutputUnit) = 6;
  t.i(kElementCount) = 2;
  set_element(t, 1, 1, 10.0f, 100.0f);
  set_element(t, 2, 1, 10.0f, 200.0f);
  t.i(kPiercingElement) = 2;
  t.set_r(kPiercingWaterplaneArea, 20.0f);
  t.set_r(kWaterDepth, 15.0f);
  t.i(kHawserFlag) = -1;
  t.i(kNoQuasiStatics) = 1;
  t.set_r(kVersion, 6.8f);
}

struct Found {
  std::string screen;
  int warnings = 0;
  int fatal = 0;
  int moment_elements = 0;
};

Found check(const std::function<void(Tpcm&)>& change) {
  testing::ScriptedSession ss(std::string(40, '\n'));
  consistent_salm(ss.s.tpcm);
  change(ss.s.tpcm);
  Found f;
  slmchk(ss.s, f.warnings, f.fatal);
  f.screen = ss.shown();
  f.moment_elements = ss.s.tpcm.i(kMomentElements);
  return f;
}

const std::string kOneMember = "\n ++> Warning: only one member specified; EQUIANCH may fail to execute.\n";
const std::string kFreeJoints =
    "\n ++> Warning: no dynamic analysis will be done, because there are more than\n"
    "              three free joints.\n";
const std::string kDepth =
    "\n ++> Warning: apparent inconsistency between\n"
    "              water depth and height of water-piercing element.\n";
const std::string kVolume =
    "\n ++> Warning: apparent inconsistency between volume,\n"
    "     length and waterplane area of piercing element.\n";
const std::string kVersion68 =
    "\n ++> Warning: Version 6.8 supports only free SALMS\n"
    "     and vessel-yoke type systems; proceed at your own risk.\n";
const std::string kVersionStars = " ++> Warning: Version *** supports only free SALMS\n";
const std::string kTooMany =
    "\n ++> Fatal Warning: Too many elements selected for shear/moment computation.\n"
    "     Reduce total to 10 or less.\n";
const std::string kTanker = "\n ++> Fatal Warning: Tanker draft, beam, or length incorrectly specified.\n";
const std::vector<std::string> kAll = {kOneMember, kFreeJoints, kDepth, kVolume, kVersion68, kTooMany, kTanker};

TEST(Slmchk, EachFindingWithAndWithoutItsTrigger) {
  struct Case {
    const char* name;
    std::function<void(Tpcm&)> change;
    std::vector<std::string> shown;  // of kAll, the texts expected; the others are absent
  };
  const auto vessel_attached = [](Tpcm& t) {
    t.i(kHawserFlag) = 0;
    t.i(kNoQuasiStatics) = 0;
  };
  const Case cases[] = {
      {"consistent", [](Tpcm&) {}, {}},
      {"one free joint, vessel attached",
       [&](Tpcm& t) {
         vessel_attached(t);
         t.i(kElementJoints) = 0;
       },
       {kOneMember}},
      {"one free joint, free SALM", [](Tpcm& t) { t.i(kElementJoints) = 0; }, {}},
      {"four free joints",
       [](Tpcm& t) {
         t.i(kElementCount) = 4;
         set_element(t, 3, 1, 1.0f, 0.0f);
         set_element(t, 4, 1, 1.0f, 0.0f);
       },
       {kFreeJoints}},
      {"water deeper than the piercing element reaches", [](Tpcm& t) { t.set_r(kWaterDepth, 20.0f); }, {kDepth}},
      {"water no deeper than the elements below", [](Tpcm& t) { t.set_r(kWaterDepth, 10.0f); }, {kDepth}},
      {"surface-piercing option", [](Tpcm& t) {
         t.set_r(kWaterDepth, 20.0f);
         t.i(kSubmergenceOption) = 1;
       }, {}},
      {"area within 5 per cent", [](Tpcm& t) { t.set_r(kPiercingWaterplaneArea, 21.0f); }, {}},
      {"area outside 5 per cent", [](Tpcm& t) { t.set_r(kPiercingWaterplaneArea, 19.0f); }, {kVolume}},
      {"piercing element of zero length",
       [](Tpcm& t) {
         set_element(t, 2, 1, 0.0f, 200.0f);
         t.set_r(kWaterDepth, 5.0f);
       },
       {kDepth, kVolume}},
      {"yoke attachment", [](Tpcm& t) { t.i(kHawserFlag) = 1; }, {kVersion68}},
      {"tanker without dimensions",
       [&](Tpcm& t) {
         vessel_attached(t);
         t.i(kLowFrequencyOn) = 1;
       },
       {kTanker}},
      {"free SALM without dimensions", [](Tpcm& t) { t.i(kLowFrequencyOn) = 1; }, {}},
  };
  for (const Case& c : cases) {
    const Found f = check(c.change);
    for (const std::string& text : kAll) {
      const bool expected = std::find(c.shown.begin(), c.shown.end(), text) != c.shown.end();
      EXPECT_EQ(f.screen.find(text) != std::string::npos, expected) << c.name << "\n" << text;
    }
  }
}

TEST(Slmchk, VersionFromTenOnPrintsStars) {
  const Found f = check([](Tpcm& t) {
    t.i(kHawserFlag) = 2;
    t.set_r(kVersion, 10.0f);
  });
  EXPECT_NE(f.screen.find(kVersionStars), std::string::npos);
}

TEST(Slmchk, ElementsSelectedForShearAndMoment) {
  // Eleven elements above the first free joint (element 2) with the flag,
  // element 1 below it flagged too: eleven selected, one too many.
  const Found many = check([](Tpcm& t) {
    t.i(kElementCount) = 12;
    set_element(t, 1, 0, 1.0f, 0.0f, 1);
    for (int n = 2; n <= 12; ++n) set_element(t, n, 1, 1.0f, 0.0f, 1);
    t.i(kPiercingElement) = 0;
  });
  EXPECT_EQ(many.moment_elements, 11);
  EXPECT_NE(many.screen.find(kTooMany), std::string::npos);
  EXPECT_EQ(many.screen.find("NMOMT"), std::string::npos);

  const Found ten = check([](Tpcm& t) {
    t.i(kDebug) = 1;
    t.i(kElementCount) = 3;
    set_element(t, 1, 0, 10.0f, 0.0f, 1);
    set_element(t, 2, 1, 10.0f, 200.0f, 1);
    set_element(t, 3, 1, 10.0f, 0.0f, 1);
    t.set_r(kWaterDepth, 15.0f);
  });
  EXPECT_EQ(ten.moment_elements, 2);
  EXPECT_NE(ten.screen.find(" NMOMT = :\n     2\n"), std::string::npos);
  EXPECT_EQ(ten.screen.find(kTooMany), std::string::npos);
}

TEST(Slmchk, ACountFromTheFileIsClampedToFortyElements) {
  const Found f = check([](Tpcm& t) {
    t.i(kElementCount) = 100000;
    for (int n = 1; n <= 40; ++n) set_element(t, n, 0, 0.0f, 0.0f, 0);
  });
  EXPECT_EQ(f.moment_elements, 0);
}

// ---- The final pages ----

// A new data set of the page's kind standing on its final page; the vessel
// checks find what a new record lacks.
struct FinalPageKind {
  const char* name;
  void (*page)(Session&, std::string_view);
  int kind;
  const char* listing;
  // Changes to a new record that leave six findings, seven findings, and
  // warnings without any fatal one.
  std::function<void(Tpcm&)> six, seven, warnings_only;
};

// The gyradii and the water depth that a new record lacks.
void particulars(Tpcm& t) {
  for (std::size_t k = 0; k < 3; ++k) t.set_r(RealWord{kPitchGyradius + k}, 10.0f);
  t.set_r(kWaterDepth, 100.0f);
}

void forward_speed(Tpcm& t) {
  t.set_r(kSpeed, 1.0f);
  t.i(kUserRaos) = 1;
}

const FinalPageKind kFinalPages[] = {
    {"semfin", semfin, kSemiKind, "DUVAIN.stxt",
     // Forward speed with user RAOs adds a warning, a negative GM one more.
     forward_speed,
     [](Tpcm& t) {
       forward_speed(t);
       t.set_r(kMetacentreL, -1.0f);
     },
     particulars},
    {"slmfin", slmfin, kSalmKind, "ANCHIN.stxt",
     // A free SALM has no tanker to check.
     [](Tpcm& t) { t.i(kNoQuasiStatics) = 1; }, [](Tpcm&) {},
     [](Tpcm& t) {
       particulars(t);
       t.set_r(kWaterplaneArea, 10.0f);
       t.i(kNoQuasiStatics) = 1;
     }},
};

struct OnFinalPage : testing::InTempDir {
  static void ready(testing::ScriptedSession& t, const FinalPageKind& p, const std::function<void(Tpcm&)>& change) {
    create_record(t.s, p.kind, 4975);
    Tpcm& r = t.s.tpcm;
    r.i(kProgramKind) = p.kind;
    r.i(kOutputUnit) = kScreen;
    r.i(kNavCode) = 0;
    change(r);
  }
};

int findings(const std::string& screen) {
  return testing::count_of(screen, " ++> Warning") + testing::count_of(screen, " ++> Fatal Warning");
}

TEST_F(OnFinalPage, SixFindingsPauseOnThePageSevenPauseOnlyInTheChecks) {
  for (const FinalPageKind& p : kFinalPages) {
    for (const int n : {6, 7}) {
      SCOPED_TRACE(std::string(p.name) + " " + std::to_string(n));
      // Run, one wait, then leave without saving: a second wait would take
      // the "2" and leave the script without a reply.
      testing::ScriptedSession t("3\n\n2\n");
      ready(t, p, n == 6 ? p.six : p.seven);
      p.page(t.s, "11");
      const std::string shown = t.shown();
      EXPECT_EQ(findings(shown), n);
      EXPECT_EQ(testing::count_of(shown, "Press <RETURN> to continue"), 1);
      EXPECT_EQ(t.s.tpcm.i(kNavCode), 101);
    }
  }
}

TEST_F(OnFinalPage, FatalFindingInASilentRunClosesTheReportAndStops) {
  for (const FinalPageKind& p : kFinalPages) {
    SCOPED_TRACE(p.name);
    testing::ScriptedSession t("4\n");
    ready(t, p, p.six);
    EXPECT_THROW(p.page(t.s, "11"), ProgramStop);
    EXPECT_FALSE(t.s.is_open(kSilentUnit));
    EXPECT_NE(read("Diagnostics.stxt").find(" ++> Fatal Warning: A vessel gyradii is nonpositive."), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(p.listing));
  }
}

TEST_F(OnFinalPage, ExecuteMakesTheListingWithTheOutputUnitSaved) {
  for (const FinalPageKind& p : kFinalPages) {
    for (const int unit : {kScreen, kSilentUnit}) {
      SCOPED_TRACE(std::string(p.name) + " " + std::to_string(unit));
      // Interactive: run, the wait after the warnings, run again over them;
      // later the same once more. Silent: the warnings do not stop the run.
      testing::ScriptedSession t(unit == kScreen ? "3\n\n3\n3\n\n3\n" : "4\n");
      ready(t, p, p.warnings_only);
      Tpcm& r = t.s.tpcm;
      p.page(t.s, "11");
      EXPECT_EQ(r.i(kNavCode), kNavFirst);
      EXPECT_EQ(r.i(kPrintPass), 1);
      EXPECT_EQ(r.i(kOutputUnit), kListingUnit);
      t.s.write_line(kListingUnit, "page 1");
      // Back from the print pass: listing closed, the saved unit restored.
      p.page(t.s, "11");
      EXPECT_EQ(r.i(kNavCode), kNavExecute);
      EXPECT_EQ(r.i(kOutputUnit), unit);
      EXPECT_EQ(read(p.listing), "page 1\n");
      // The page's print-pass flag is its own, not the shared final page's.
      EXPECT_EQ(t.s.state<FinalPageState>().hcdone, 0);
      if (unit != kScreen) continue;
      // A save that failed brings the user back: the next run lists the
      // pages again, as they are now.
      r.i(kNavCode) = 0;
      p.page(t.s, "11");
      EXPECT_EQ(r.i(kNavCode), kNavFirst);
      EXPECT_EQ(r.i(kPrintPass), 1);
    }
  }
}

}  // namespace
}  // namespace kelp
