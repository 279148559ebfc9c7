#include "edlib/model/free_surface.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "kelpkit/root_finders.hpp"
#include "sysutl/session.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using testing::ScriptedSession;

TEST(SurfaceFactor, AgainstTheAlgorithmInDoublePrecision) {
  // The same map, root and series evaluated in double precision with a
  // bisection search. For a circle (t1 = 1) the factor is (t0^2 - 4) times
  // the first series: above 1 near the surface, tending to 1 in deep water
  // (where single precision keeps fewer digits of F - 1).
  struct Row {
    float t0, t1, f;
  };
  for (const auto& r : std::vector<Row>{{3.0f, 1.0f, 1.2587812f},
                                        {4.0f, 1.0f, 1.1345751f},
                                        {6.0f, 1.0f, 1.0572376f},
                                        {10.0f, 1.0f, 1.0202061f},
                                        {20.0f, 1.0f, 1.0050125f},
                                        {50.0f, 1.0f, 1.0007998f},
                                        {4.0f, 0.5f, 1.2736166f},
                                        {10.0f, 0.5f, 1.0443595f},
                                        {4.0f, 2.0f, 1.0771262f},
                                        {10.0f, 2.0f, 1.0114098f}}) {
    Tempcm par{r.t0, r.t1};
    const SurfaceFit fit = surface_fit(par);
    EXPECT_NEAR(fit.f, r.f, 5e-5f * r.f) << r.t0 << " " << r.t1;
    EXPECT_FALSE(fit.raised);
    EXPECT_FALSE(fit.map_failed);
    EXPECT_EQ(fit.root_status, kRootFound);
    EXPECT_EQ(par.t0, r.t0);
  }
}

TEST(SurfaceFactor, DepthLimitAndMapFailure) {
  // At or above the limit (2 / t1 + 12) / 7 the member is taken to lie at
  // the limit: 2 for a circle.
  Tempcm par{1.0f, 1.0f};
  SurfaceFit fit = surface_fit(par);
  EXPECT_TRUE(fit.raised);
  EXPECT_EQ(fit.limit, 2.0f);
  EXPECT_EQ(par.t0, 2.0f + 0.00001f);
  EXPECT_GT(fit.f, 2.0f);
  // A very flat section close to the surface has no valid map.
  par = {2.2f, 50.0f};
  fit = surface_fit(par);
  EXPECT_FALSE(fit.raised);
  EXPECT_TRUE(fit.map_failed);
  EXPECT_NEAR(fit.x, 3.5310045f, 1e-4f);
  // Parameters that are not numbers give no factor.
  par = {std::numeric_limits<float>::quiet_NaN(), 1.0f};
  EXPECT_FALSE(surface_fit(par).finite);
  par = {4.0f, 0.0f};
  EXPECT_FALSE(surface_fit(par).finite);
}

TEST(SurfaceSeries, DumsumByHand) {
  struct Row {
    float q;
    int nmax;
    float sgn;
    float sum, term;
    int ierr;
  };
  // q = 0.5, n = 1, tolerance 0.3: terms 1.5, 0.83333, 0.48214, 0.28333.
  for (const auto& r : std::vector<Row>{{0.5f, 100, 1.0f, 3.0988095f, 0.2833333f, 0},
                                        {0.5f, 2, 1.0f, 2.3333333f, 0.8333333f, 1},
                                        {0.5f, 100, -1.0f, 0.1666667f, 0.1666667f, 0},
                                        {1.0f, 100, 1.0f, 0.0f, 0.0f, 1}}) {
    float sum = -1.0f;
    float term = -1.0f;
    int ierr = -1;
    dumsum(sum, r.q, 1, 0.3f, r.nmax, ierr, term, r.sgn);
    EXPECT_NEAR(sum, r.sum, 1e-6f) << r.q << " " << r.nmax << " " << r.sgn;
    EXPECT_NEAR(term, r.term, 1e-6f);
    EXPECT_EQ(ierr, r.ierr);
  }
}

const std::string kPauseResumed =
    "PAUSE \nTo resume execution, type go.  Other input will terminate the job.\nRESUMED\n";
const std::string kDepthWarning =
    "\n ++> Warning: Member  7 center draft parameter too small;\n"
    "              limiting value for this aspect ratio is   2.0000.\n"
    "              Added mass will default to its limiting value.\n"
    "\n"
    "     Press <RETURN> to continue\n";

struct Dialogue {
  std::string name;
  SurfaceFit fit;
  int out;
  std::string replies;
  int status;
  int ierr;
  std::string shown;
  std::string errors;
};

TEST(SurfaceCorrection, MessagesPausesAndOutcomes) {
  const auto fit_with = [](auto change) {
    SurfaceFit fit;
    fit.f = 1.25f;
    fit.limit = 2.0f;
    change(fit);
    return fit;
  };
  const SurfaceFit raised = fit_with([](SurfaceFit& f) { f.raised = true; });
  const SurfaceFit no_sign = fit_with([](SurfaceFit& f) { f.root_status = kRootNoSignChange; });
  const SurfaceFit no_root = fit_with([](SurfaceFit& f) { f.root_status = kRootNoConvergence; });
  const SurfaceFit bad_map = fit_with([](SurfaceFit& f) { f.map_failed = true; });
  const SurfaceFit not_finite = fit_with([](SurfaceFit& f) { f.finite = false; });
  const std::string map_warning =
      "\n ++> Warning: conformal map failure in surface added-mass correction algorithm;\n"
      "\a Enter \"A\" to abort or Press <RETURN> to continue: ";
  const std::vector<Dialogue> cases = {
      {"depth limit: RETURN resumes", raised, kScreen, "\n", kSurfaceApplied, 0, kDepthWarning, kPauseResumed},
      {"depth limit: other replies ask again", raised, kScreen, "stop\nx\ngo\n", kSurfaceApplied, 0, kDepthWarning,
       "PAUSE \n"
       "To resume execution, type go.  Other input will terminate the job.\n"
       "To resume execution, type go.  Other input will terminate the job.\n"
       "To resume execution, type go.  Other input will terminate the job.\n"
       "RESUMED\n"},
      {"depth limit in a silent run", raised, kSilentUnit, "", kSurfaceApplied, 1, "", ""},
      {"root outside the bracket: deep water", no_sign, kScreen, "\n", kSurfaceDeepWater, 1,
       "\n ++> SRFCOR:RTMI1 - Root not found within initial bounds; contact Brenvik.\n\n"
       "     Press <RETURN> to Continue\n",
       kPauseResumed},
      {"root search overflow: deep water", no_root, kScreen, "go\n", kSurfaceDeepWater, 1,
       "\n ++> Iteration overflow in SRFCOR:RTMI1 at; 100 iterations, contact Brenvik.\n\n"
       "     Press <RETURN> to continue\n",
       kPauseResumed},
      {"root search overflow in a silent run", no_root, kSilentUnit, "", kSurfaceDeepWater, 1, "", ""},
      {"map failure: go on", bad_map, kScreen, "\n", kSurfaceApplied, 0, map_warning, ""},
      {"map failure: abandon", bad_map, kScreen, "a\n", kSurfaceAbandoned, 0, map_warning, ""},
      {"factor not a number", not_finite, kScreen, "", kSurfaceDeepWater, 1,
       "\n ++> Warning: Member  7 surface correction failed; deep-water\n     coefficients are used.\n", ""},
  };
  for (const auto& c : cases) {
    ScriptedSession t(c.replies);
    float f = 1.0f;
    int ierr = -5;
    const int status = surface_dialogue(t.s, c.fit, f, 7, c.out, ierr);
    EXPECT_EQ(status, c.status) << c.name;
    EXPECT_EQ(f, status == kSurfaceApplied ? 1.25f : 1.0f) << c.name;
    EXPECT_EQ(ierr, c.ierr) << c.name;
    EXPECT_EQ(t.shown(), c.shown) << c.name;
    EXPECT_EQ(t.errors.str(), c.errors) << c.name;
    EXPECT_EQ(t.in.tellg(), static_cast<std::streamoff>(c.replies.size())) << c.name << ": replies left";
  }
}

}  // namespace
}  // namespace kelp
