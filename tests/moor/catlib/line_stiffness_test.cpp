#include "moor/catlib/line_stiffness.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "kelpkit/work_areas.hpp"
#include "sysutl/session.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using testing::ScriptedSession;

// Two elements of type 7: a chain with a dry weight and a rope whose inertia
// weight comes from its diameter and added mass.
LineType two_elements() {
  LineType lt;
  lt.t = 7;
  lt.nelem = 2;
  lt.length = {100.0f, 50.0f};
  lt.weight = {0.05f, 0.002f};
  lt.dry_weight = {0.06f, 0.0f};
  lt.diameter = {3.0f, 4.0f};
  lt.added_mass = {1.0f, 0.8f};
  lt.alpha = {1e-3f, 2e-5f, 0.0f, 4e-3f, 0.0f, 1e-7f};
  return lt;
}

TEST(Kelast, StiffnessAndWaveNumbersAgainstHandValues) {
  for (const int units : {0, 1}) {
    ScriptedSession t;
    t.s.tpcm.set_r(kWaterDensity, 64.0f);
    t.s.tpcm.i(116) = units;
    const LineType lt = two_elements();
    float ke = 0.0f;
    std::array<float, kSublineCapacity> k{};
    const float T = 10.0f, omega = 0.5f, g = 32.2f;
    wavcom(t.s).g = g;
    kelast(t.s, ke, lt, k, omega, T);
    const float d1 = 1e-3f + 2 * 2e-5f * T;
    const float d2 = 4e-3f + 3 * 1e-7f * T * T;
    const float area = 0.7853982f * 16.0f * (units ? 1e-6f : 1.0f / 144.0f);
    const float m2 = area * 64.0f * 0.8f / 1000.0f + 0.002f;
    EXPECT_NEAR(ke, 1.0f / (100.0f * d1 + 50.0f * d2), 1e-6f);
    EXPECT_NEAR(k[0], std::sqrt(d1 * 0.06f / g) * omega, 1e-7f);
    EXPECT_NEAR(k[1], std::sqrt(d2 * m2 / g) * omega, 1e-7f);
    EXPECT_EQ(t.s.tpcm.r(kElementAddedMass), 0.8f);
    EXPECT_EQ(t.shown(), "");
  }
  // No compliance at all: a rigid line.
  ScriptedSession t;
  LineType rigid = two_elements();
  rigid.alpha = {};
  float ke = 0.0f;
  std::array<float, kSublineCapacity> k{};
  wavcom(t.s).g = 9.81f;
  kelast(t.s, ke, rigid, k, 1.0f, 10.0f);
  EXPECT_EQ(ke, 1e28f);
  EXPECT_EQ(k[0], 0.0f);
}

TEST(Kelast, BadElementsWarnOncePerTypeAndAbortOnA) {
  // The type in two digits, three above 99.
  struct Case {
    int type;
    const char* shown;
  };
  for (const Case& c : {Case{7, " 7"}, Case{123, "123"}}) {
    LineType lt = two_elements();
    lt.t = c.type;
    lt.alpha[3] = -1e-2f;         // element 2: negative slope
    lt.dry_weight[0] = -1.0f;     // element 1: negative inertia weight
    lt.weight[0] = -1.0f;
    ScriptedSession t("\n\n\n");
    t.s.tpcm.i(702) = kScreen;
    wavcom(t.s).g = 32.2f;
    float ke = 0.0f;
    std::array<float, kSublineCapacity> k{};
    kelast(t.s, ke, lt, k, 1.0f, 10.0f);
    const std::string type = c.shown;
    const std::string expected =
        "\n"
        " ++> Warning: A negative dry segment weight was encountered\n"
        "              in line (type,element) = (" + type + ", 1).\n"
        "              The weight value will be replaced by zero\n"
        "              (weightless line) if you choose to continue\n"
        "\a Enter \"A\" to abort or Press <RETURN> to continue: "
        "\n"
        " ++> Warning: A negative stress-strain curve slope was encountered\n"
        "              in line (type,element) = (" + type + ", 2).\n"
        "              The slope value will be replaced by infinity\n"
        "              (inextensible line) if you choose to continue\n"
        "\a Enter \"A\" to abort or Press <RETURN> to continue: ";
    EXPECT_EQ(t.shown(), expected);
    EXPECT_EQ(k[0], 0.0f);  // weightless
    EXPECT_EQ(k[1], 0.0f);  // inextensible
    EXPECT_NEAR(ke, 1.0f / (100.0f * (1e-3f + 4e-4f)), 1e-4f);
    kelast(t.s, ke, lt, k, 1.0f, 10.0f);  // warned already
    EXPECT_EQ(t.shown(), expected);

    ScriptedSession abort("A\n");
    abort.s.tpcm.i(702) = kScreen;
    EXPECT_THROW(kelast(abort.s, ke, lt, k, 1.0f, 10.0f), ProgramStop);
  }
}

TEST(Kcatn, TotalAndCatenaryStiffness) {
  struct Case {
    std::complex<float> A, B;
    float s, p, ke, kt, kc;
  };
  const Case cases[] = {
      {{2, 0}, {0, 0}, 30.0f, 0.0f, 100.0f, 30.0f, 1.0f / (1 / 30.0f - 1 / 100.0f)},
      {{0, 3}, {0, -1}, 10.0f, 2.0f, 50.0f, 7.0f, 1.0f / (1 / 7.0f - 1 / 50.0f)},
      {{1, 1}, {1, 1}, 25.0f, 5.0f, 100.0f, 25.0f, 1.0f / (1 / 25.0f - 1 / 100.0f)},  // equal ends: kt = s
      {{1, 0}, {0, 0}, 200.0f, 0.0f, 100.0f, 200.0f, 1e7f},  // kt above ke: very stiff catenary
      {{1, 0}, {0, 0}, 0.0f, 0.0f, 100.0f, 0.0f, 0.0f},      // kt = 0: no division
  };
  for (const Case& c : cases) {
    float kc = -1.0f, kt = -1.0f;
    kcatn(kc, c.ke, kt, c.A, c.B, c.s, c.p);
    EXPECT_FLOAT_EQ(kt, c.kt);
    EXPECT_FLOAT_EQ(kc, c.kc);
  }
}

CatstrOutput split(const CatstrInput& in) {
  ScriptedSession t;
  CatstrOutput r;
  r.cq = -7.0f;
  catstr(t.s, in, r, 6, 5);
  EXPECT_EQ(t.shown(), "");
  return r;
}

// A catenary split with omega = 1, ke = 100, no mass: A = 1 + ratio, and the
// drag coefficient chosen for u = omega cq / ke.
CatstrInput case_of(float ratio, float u, float mass = 0.0f) {
  CatstrInput in;
  in.omega = 1.0f;
  in.motion = {0.6f, -0.8f};
  in.ratio = ratio;
  in.ke = 100.0f;
  in.mass = mass;
  in.drag = u * 100.0f / 0.848826f;
  return in;
}

TEST(Catstr, EndCasesSetOnlyWhatTheyName) {
  CatstrInput in = case_of(1.0f, 0.05f);
  in.motion = {};
  CatstrOutput r = split(in);
  EXPECT_EQ(r.yc, std::complex<float>());
  EXPECT_EQ(r.ye, std::complex<float>());
  EXPECT_EQ(r.y, 0.0f);
  EXPECT_EQ(r.cq, -7.0f);  // not set
  r = split(case_of(2e5f, 0.05f));
  EXPECT_EQ(r.ye, std::complex<float>(0.6f, -0.8f));
  EXPECT_EQ(r.yc, std::complex<float>());
  EXPECT_FLOAT_EQ(r.cq, 5.0f);
  r = split(case_of(0.0f, 0.05f));
  EXPECT_EQ(r.yc, std::complex<float>(0.6f, -0.8f));
  EXPECT_EQ(r.y, 1.0f);
}

TEST(Catstr, GainAndPhaseAgainstHandValues) {
  // Small drag: y = 1/A and phase -atan(u / A^2).
  CatstrOutput r = split(case_of(1.0f, 0.004f));
  EXPECT_FLOAT_EQ(r.y, 0.5f);
  EXPECT_NEAR(std::arg(r.yc / std::complex<float>(0.6f, -0.8f)), -std::atan(0.001f), 1e-7f);
  // Larger drag: y solves y^2 (A^2 + y^2 u^2) = 1 and the phase is -atan(y u / A).
  r = split(case_of(1.0f, 0.8f));
  const double A = 2.0, u = 0.8;
  const double y = std::sqrt((-A * A + std::sqrt(A * A * A * A + 4 * u * u)) / (2 * u * u));
  EXPECT_NEAR(r.y, y, 1e-6);
  EXPECT_NEAR(std::arg(r.yc / std::complex<float>(0.6f, -0.8f)), -std::atan(y * u / A), 1e-6);
  EXPECT_NEAR(std::abs(r.ye), std::abs(r.yc) * std::hypot(A - 1, y * u), 1e-6);
}

TEST(Catstr, PartsAddUpToTheMotionForEveryA) {
  // A = 1 + ratio - mass / 100 runs through negative, zero and positive.
  for (const float mass : {0.0f, 50.0f, 100.0f, 109.99999f, 110.0f, 110.00001f, 150.0f, 200.0f, 400.0f, 2000.0f}) {
    for (const float u : {0.0f, 0.003f, 0.05f, 0.7f, 4.0f}) {
      // Near A = 0 without drag the two parts grow without bound and their
      // sum keeps only the parts' own single-precision accuracy.
      if (u == 0.0f && mass > 109.0f && mass < 111.0f) continue;
      const CatstrInput in = case_of(0.1f, u, mass);
      const CatstrOutput r = split(in);
      const std::complex<float> sum = r.yc + r.ye;
      EXPECT_NEAR(sum.real(), 0.6f, 5e-5f) << mass << " " << u;
      EXPECT_NEAR(sum.imag(), -0.8f, 5e-5f) << mass << " " << u;
    }
  }
}

TEST(Catstr, AmplitudeEquationRootsAboveTheOldBracket) {
  // Mode 1 without drag and slope: 1 - (A y)^2 = 0, y = 1/A = 10.
  CatstrInput in = case_of(0.1f, 0.0f, 100.0f);
  in.mode = 1;
  CatstrOutput r = split(in);
  EXPECT_NEAR(r.y, 10.0f, 1e-3f);
  EXPECT_NEAR(std::abs(r.yc), 10.0f, 1e-3f);
  // With drag and a slope the root satisfies the equation.
  in = case_of(1.0f, 0.3f);
  in.mode = 1;
  in.sigma = 40.0f;
  in.parity = -1.0f;
  r = split(in);
  const float c = 40.0f * 1.0f / 100.0f;
  EXPECT_NEAR(nultmp(r.y, 2.0f, 0.09f, c), 0.0f, 1e-3f);
}

TEST(Setlyr, PositionOnTheLayerGrid) {
  // Five layers 10 apart, layer 2 at height 0: the grid runs from -10 to 30.
  struct Case {
    int n, r;
    float d, s, z;
    int k;
    float f;
    int o;
  };
  const Case cases[] = {
      {5, 2, 10.0f, 40.0f, 5.0f, 2, 0.5f, 0},     // inside
      {5, 2, 10.0f, 40.0f, 10.0f, 3, 0.0f, 0},    // on a layer
      {5, 2, 10.0f, 40.0f, 30.0f, 4, 1.0f, 0},    // at the top: held to the last pair
      {5, 2, 10.0f, 40.0f, 35.0f, 4, 1.5f, 1},    // above: extrapolated
      {5, 2, 10.0f, 40.0f, -15.0f, 1, -0.5f, 1},  // below layer 1
      {1, 1, 10.0f, 40.0f, 50.0f, 1, 0.0f, 1},    // one layer
      {1, 1, 10.0f, 40.0f, 5.0f, 1, 0.0f, 0},
      {5, 2, 0.0f, 40.0f, 5.0f, 1, 0.0f, 1},      // no spacing
  };
  for (const Case& c : cases) {
    int k = -1, o = -1;
    float f = -9.0f;
    setlyr(c.n, c.r, c.d, c.s, c.z, k, f, o);
    EXPECT_EQ(k, c.k) << c.z;
    EXPECT_FLOAT_EQ(f, c.f) << c.z;
    EXPECT_EQ(o, c.o) << c.z;
    double fd = -9.0;
    setldp(c.n, c.r, c.d, c.s, c.z, k, fd, o);
    EXPECT_EQ(k, c.k) << c.z;
    EXPECT_DOUBLE_EQ(fd, c.f) << c.z;
  }
}

}  // namespace
}  // namespace kelp
