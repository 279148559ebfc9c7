// The added-mass and damping fits of the disc.
#include "disc/s/disc_fits.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace kelp {
namespace {

struct FitCase {
  const char* name;
  float (*fit)(float);
  float at_zero;  // x = 0
  float at_one;   // x = 1, worked by hand from the fit's formula
  float limit;    // x = 1000
};

const std::vector<FitCase> kFits = {
    {"surge added mass", smasd, 0.15f, 0.15f, 0.15f},
    {"surge damping", sdmpd, 0.0f, 0.0813285f, 0.0f},
    {"pitch added mass", pmasd, 0.199f, 0.2276889f, 0.11f},
    {"pitch damping", pdmpd, 0.0f, 0.0582812f, 0.0f},
    {"roll added mass", rmasd, 0.199f, 0.2276889f, 0.11f},
    {"roll damping", rdmpd, 0.0f, 0.0582812f, 0.0f},
    {"heave added mass", hmasd, 2.7f, 1.4998877f, 1.0f},
    {"heave damping", hdmpd, 0.0f, 0.9136150f, 0.0f},
};

TEST(DiscFits, ValuesAtZeroAtOneAndTheirLimits) {
  for (const FitCase& c : kFits) {
    EXPECT_NEAR(c.fit(0.0f), c.at_zero, 1e-6f) << c.name;
    EXPECT_NEAR(c.fit(1.0f), c.at_one, 2e-6f) << c.name;
    EXPECT_NEAR(c.fit(1000.0f), c.limit, 1e-3f) << c.name;
  }
  // An axisymmetric disc rolls as it pitches.
  for (float x : {0.3f, 2.0f, 7.5f}) EXPECT_EQ(rmasd(x) + rdmpd(x), pmasd(x) + pdmpd(x)) << x;
}

}  // namespace
}  // namespace kelp
