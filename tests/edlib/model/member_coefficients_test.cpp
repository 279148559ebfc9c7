#include "edlib/model/member_coefficients.hpp"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "edlib/model/member_fixture.hpp"
#include "edlib/record/member_table.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using testing::column;
using testing::kPi;
using testing::MemberSpec;
using testing::pontoon;
using testing::kAbortAsk;
using testing::ScriptedSession;
using Triple = std::array<float, 3>;

constexpr int kShip = 1;
constexpr int kTlp = 5;
constexpr int kSpar = 6;
constexpr int kMember = 3;

// Added-mass and added-moment coefficients of a prolate spheroid from the
// closed forms of potential-flow theory (axial k1, transverse k2, rotation
// about a transverse axis k'), for length over diameter 2 and 10.
constexpr float kK1Ratio2 = 0.2100150f, kK2Ratio2 = 0.7042104f, kKRotRatio2 = 0.2394239f;
constexpr float kK1Ratio10 = 0.0207059f, kK2Ratio10 = 0.9602349f, kKRotRatio10 = 0.8835384f;

struct Computed {
  std::string name;
  MemberSpec m;
  int type;
  float draft;
  float waterplane;
  Triple mass;
  Triple moment;
  float tol;
};

TEST(MemberCoefficients, AgainstIndependentResults) {
  // A column with one free end is mirrored at its closed end: a column of
  // diameter 2 and submerged length 10 is half a spheroid of length 20. The
  // 400 intervals of the integration hold its transverse mass to 5e-4.
  const Triple mirrored_moment = {kKRotRatio10, kKRotRatio10, 0.0f};
  const std::vector<Computed> cases = {
      {"closed circular", pontoon(10.0f), kShip, 100.0f, 0.0f, {1, 1, 0}, {1, 1, 0}, 1e-6f},
      {"closed rectangular",
       [] { auto m = pontoon(10.0f); m.profile = member::kRectangular; return m; }(), kShip, 100.0f, 0.0f,
       {1.215488f, 1.215488f, 0}, {1.215488f, 1.215488f, 0}, 1e-6f},
      {"closed intermediate",
       [] { auto m = pontoon(10.0f); m.profile = member::kIntermediate; return m; }(), kShip, 100.0f, 0.0f,
       {1.107744f, 1.107744f, 0}, {1.107744f, 1.107744f, 0}, 1e-6f},
      {"sphere", {{0, 0, 10}, {0, 0, 12}, {2, 2, 2}}, kShip, 100.0f, 0.0f, {0.5f, 0.5f, 0.5f}, {0, 0, 0}, 1e-3f},
      {"free spheroid, length twice the diameter", {{0, 0, 10}, {0, 0, 14}, {2, 2, 4}}, kShip, 100.0f, 0.0f,
       {kK2Ratio2, kK2Ratio2, kK1Ratio2}, {kKRotRatio2, kKRotRatio2, 0}, 2e-4f},
      {"submerged column, one free end", column(10.0f, 20.0f, member::kWallTerminated), kShip, 100.0f, 0.0f,
       {kK2Ratio10, kK2Ratio10, kK1Ratio10}, mirrored_moment, 5e-4f},
      // Water-piercing columns: the submerged length is 10 below a draft of
      // 10, the end diameter 2 from the area pi.
      {"ship column: axial raised to 0.849 De / draft", column(0.0f, 20.0f, member::kWaterPiercing), kShip, 10.0f,
       0.0f, {kK2Ratio10, kK2Ratio10, 0.849f * 2.0f / 10.0f}, mirrored_moment, 5e-4f},
      {"tension-leg column: 0.125 De / submerged length added", column(0.0f, 20.0f, member::kWaterPiercing), kTlp,
       10.0f, 0.0f, {kK2Ratio10, kK2Ratio10, kK1Ratio10 + 0.125f * 2.0f / 10.0f}, mirrored_moment, 5e-4f},
      {"spar column: mirrored at the waterplane diameter", column(0.0f, 20.0f, member::kWaterPiercing), kSpar, 10.0f,
       kPi, {kK2Ratio10, kK2Ratio10, kK1Ratio10}, mirrored_moment, 5e-4f},
      {"waterplane at the keel: no end term", column(-10.0f, 10.0f, member::kWaterPiercing), kShip, 0.0f, 0.0f,
       {kK2Ratio10, kK2Ratio10, kK1Ratio10}, mirrored_moment, 5e-4f},
  };
  for (const auto& c : cases) {
    ScriptedSession t;
    testing::member_vessel(t.s.tpcm, c.type, c.draft, c.waterplane);
    testing::put_member(t.s.tpcm, kMember, c.m);
    int ierr = -5;
    mscalc(t.s, kMember, ierr);
    EXPECT_EQ(ierr, -5) << c.name;
    EXPECT_EQ(t.shown(), "") << c.name;
    EXPECT_EQ(t.s.tpcm.i(member::coef_source(kMember)), member::kDeepWater) << c.name;
    const Triple mass = testing::added_mass(t.s.tpcm, kMember);
    const Triple moment = testing::added_moment(t.s.tpcm, kMember);
    for (std::size_t k = 0; k < 3; ++k) {
      EXPECT_NEAR(mass[k], c.mass[k], c.tol) << c.name << " mass " << k + 1;
      EXPECT_NEAR(moment[k], c.moment[k], c.tol) << c.name << " moment " << k + 1;
    }
  }
}

const std::string kMissingData =
    "\n ++> All member dimension data and member endpoint data must be\n"
    "     specified before mass/damping coefficients can be computed.\n"
    "     Check for missing or incorrect data...\n";

struct Missing {
  std::string name;
  MemberSpec m;
  int type;
  float waterplane;
};

TEST(MemberCoefficients, MissingDataLeavesTheCoefficientsToTheUser) {
  const auto with = [](MemberSpec m, auto change) {
    change(m);
    return m;
  };
  const MemberSpec sound = column(10.0f, 20.0f, member::kWallTerminated);
  const std::vector<Missing> cases = {
      {"a dimension of 0", with(sound, [](MemberSpec& m) { m.dims[1] = 0.0f; }), kShip, 0.0f},
      {"no length", with(sound, [](MemberSpec& m) { m.top = m.base; }), kShip, 0.0f},
      {"an end type outside 0..2", with(sound, [](MemberSpec& m) { m.top_end = 3; }), kShip, 0.0f},
      {"spar member with one free end below the waterplane", sound, kSpar, kPi},
      {"spar column without waterplane area", column(0.0f, 20.0f, member::kWaterPiercing), kSpar, 0.0f},
      {"water-piercing column without area",
       with(column(0.0f, 20.0f, member::kWaterPiercing), [](MemberSpec& m) { m.area = 0.0f; }), kShip, 0.0f},
  };
  for (const auto& c : cases) {
    ScriptedSession t;
    testing::member_vessel(t.s.tpcm, c.type, 10.0f, c.waterplane);
    testing::put_member(t.s.tpcm, kMember, c.m);
    for (int k = 1; k <= 3; ++k) t.s.tpcm.set_r(member::added_mass(kMember, k), 9.0f);
    int ierr = 0;
    mscalc(t.s, kMember, ierr);
    EXPECT_EQ(t.shown(), kMissingData) << c.name;
    EXPECT_EQ(ierr, 1) << c.name;
    EXPECT_EQ(t.s.tpcm.i(member::coef_source(kMember)), member::kUserCoefficients) << c.name;
    EXPECT_EQ(testing::added_mass(t.s.tpcm, kMember), (Triple{9.0f, 9.0f, 9.0f})) << c.name;
  }
}


struct Corrected {
  std::string name;
  MemberSpec m;
  std::string replies;
  float factor;  // on the Mx added mass and the My added moment; 0: not applied
  int source;
  int ierr;
  std::string shown;
};

TEST(MemberCoefficients, SurfaceCorrectionOfHorizontalMembers) {
  const auto corrected = [](MemberSpec m) {
    m.source = member::kSurfaceCorrected;
    return m;
  };
  MemberSpec sloping = corrected(pontoon(6.0f));
  sloping.top[2] = 7.0f;
  // A flat ellipse (Mx extent 2, My extent 0.04) 1.1 below a draft of 10:
  // the map of this section fails.
  MemberSpec flat = corrected(pontoon(8.9f));
  flat.dims = {2.0f, 0.04f, 20.0f};
  flat.area = 0.02f * kPi;
  MemberSpec vertical = corrected(column(0.0f, 5.0f, member::kWallTerminated));
  vertical.base_end = member::kWallTerminated;
  MemberSpec no_area = corrected(pontoon(6.0f));
  no_area.area = 0.0f;
  const std::string sloping_note =
      "\n ++> Member  3 is not perfectly horizontal; the surface\n"
      "     proximity correction applies rigorously only to horizontal\n"
      "     members.  Proceed with caution or enter \"A\" at the \n"
      "     \"Press Return\" prompt to abort surface correction\n" +
      kAbortAsk;
  // Factors of the algorithm for a circular section (t1 = 1), worked out
  // in double precision: t0 = 8 and t0 = 7.
  const std::vector<Corrected> cases = {
      {"pontoon 4 below the waterplane", corrected(pontoon(6.0f)), "", 1.0317618f, member::kSurfaceCorrected, -5, ""},
      {"vertical member", vertical, "", 0.0f, member::kDeepWater, 1,
       "\n ++> Member  3 is perfectly vertical; no surface\n proximity correction applies...\n"},
      {"sloping member, abandoned", sloping, "A\n", 0.0f, member::kDeepWater, 0, sloping_note},
      {"sloping member, corrected at its mean height", sloping, "\n", 1.0417023f, member::kSurfaceCorrected, 0,
       sloping_note},
      {"map failure abandons the correction only", flat, "A\n", 0.0f, member::kDeepWater, 0,
       "\n ++> Warning: conformal map failure in surface added-mass correction algorithm;\n" + kAbortAsk},
      {"no area", no_area, "", 0.0f, member::kUserCoefficients, 1, kMissingData},
  };
  for (const auto& c : cases) {
    ScriptedSession t(c.replies);
    testing::member_vessel(t.s.tpcm, kShip, 10.0f);
    testing::put_member(t.s.tpcm, kMember, c.m);
    int ierr = -5;
    mscalc(t.s, kMember, ierr);
    EXPECT_EQ(t.shown(), c.shown) << c.name;
    EXPECT_EQ(ierr, c.ierr) << c.name;
    EXPECT_EQ(t.s.tpcm.i(member::coef_source(kMember)), c.source) << c.name;
    // Deep-water values of the closed member: mass (1/t, t, 0), moment (t, 1/t, 0).
    const float t1 = c.m.dims[0] / c.m.dims[1];
    const float f = c.factor != 0.0f ? c.factor : 1.0f;
    const Triple mass = testing::added_mass(t.s.tpcm, kMember);
    const Triple moment = testing::added_moment(t.s.tpcm, kMember);
    EXPECT_NEAR(mass[0], f / t1, 2e-5f * f / t1) << c.name;
    EXPECT_NEAR(mass[1], t1, 1e-6f * t1) << c.name;
    EXPECT_NEAR(moment[0], t1, 1e-6f * t1) << c.name;
    EXPECT_NEAR(moment[1], f / t1, 2e-5f * f / t1) << c.name;
  }
}

TEST(MemberCoefficients, DefaultDragAndMembersOutsideTheTable) {
  // Drag along the axis only when an end is free.
  for (const auto& [base_end, top_end, axial] :
       std::vector<std::tuple<int, int, float>>{{0, 0, 1.0f}, {0, 2, 1.0f}, {1, 0, 1.0f}, {1, 2, 0.0f}}) {
    ScriptedSession t;
    t.s.tpcm.i(member::base_end(kMember)) = base_end;
    t.s.tpcm.i(member::top_end(kMember)) = top_end;
    dgcalc(t.s, kMember);
    for (int k = 1; k <= 3; ++k) {
      EXPECT_EQ(t.s.tpcm.r(member::drag(kMember, k)), k < 3 ? 1.0f : axial);
      EXPECT_EQ(t.s.tpcm.r(member::drag_moment(kMember, k)), k < 3 ? 1.0f : 0.0f);
    }
  }
  ScriptedSession t;
  const Tpcm before = t.s.tpcm;
  int ierr = -5;
  for (const int n : {0, 51}) {
    mscalc(t.s, n, ierr);
    dgcalc(t.s, n);
  }
  EXPECT_EQ(ierr, -5);
  EXPECT_TRUE(t.s.tpcm == before);
}

TEST(EllipticIntegrals, AgainstQuadrature) {
  // K(k) and E(k) by Simpson's rule in double precision.
  for (const auto& [k, big_k, big_e] : std::vector<std::tuple<float, float, float>>{
           {0.0f, 1.5707963f, 1.5707963f}, {0.5f, 1.6857504f, 1.4674622f}, {0.95f, 2.5900112f, 1.1027216f}}) {
    float res = 0.0f;
    int ier = -1;
    cel1(res, k, ier);
    EXPECT_NEAR(res, big_k, 2e-6f * big_k) << k;
    EXPECT_EQ(ier, 0);
    cel2(res, k, 1.0f, 1.0f - k * k, ier);
    EXPECT_NEAR(res, big_e, 2e-6f * big_e) << k;
    EXPECT_EQ(ier, 0);
  }
  // Modulus 1 and beyond.
  float res = 0.0f;
  int ier = 0;
  cel1(res, 1.0f, ier);
  EXPECT_EQ(res, 1.0e38f);
  cel1(res, 1.5f, ier);
  EXPECT_EQ(ier, 1);
  cel2(res, 1.0f, 3.0f, -2.0f, ier);
  EXPECT_EQ(res, -1.0e38f);
  cel2(res, 1.0f, 3.0f, 0.0f, ier);
  EXPECT_EQ(res, 3.0f);
}

}  // namespace
}  // namespace kelp
