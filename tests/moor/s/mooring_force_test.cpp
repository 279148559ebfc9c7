#include "moor/s/mooring_force.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "moor/s/work_areas.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

constexpr int kType = 3;
constexpr float kX0 = 50.0f;   // range at which the horizontal tension is 0
constexpr float kK = 2.0f;     // horizontal tension per unit range
constexpr float kMean = 70.3f; // mean range of every line
constexpr float kRadius = 10.0f;
constexpr float kPi = 3.1415927f;

// Three lines of type 3 at 0, 120 and 240 degrees from fairleads on a
// circle of radius 10, on a linear table: H = k (x - x0), horizontal at the
// top, nothing on the bottom.
struct Spread {
  testing::ScriptedSession t;
  std::unique_ptr<Lincom> lc = std::make_unique<Lincom>();
  std::vector<float> anchor = std::vector<float>(kLineTypeCapacity, 100.0f);
  std::vector<float> y2 = std::vector<float>(kLoadTableSize);
  std::vector<float> layers{1.0f};
  std::vector<std::int32_t> codes{kType, kType, kType};
  std::vector<float> directions{0.0f, 120.0f, 240.0f};
  std::vector<float> means{kMean, kMean, kMean};
  std::vector<float> fairleads;
  MooringForceInput in;
  MooringForceOutput out;

  // columns: layer columns, all alike, 10 apart (layer 2 at height 0 when
  // there are several); angle: top angle of every point.
  explicit Spread(std::string replies = "", int columns = 1, float angle = 0.0f) : t(std::move(replies)) {
    for (int k = 1; k <= columns; ++k) {
      for (int j = 1; j <= kTablePoints; ++j) {
        const std::size_t at = Lincom::table_index(j, k, kType);
        lc->tension_points[static_cast<std::size_t>(j - 1)] = kK * static_cast<float>(j - 1);
        lc->range_table[at] = kX0 + static_cast<float>(j - 1);
        lc->top_tension_table[at] = kK * static_cast<float>(j - 1) / std::cos(angle);
        lc->top_angle_table[at] = angle;
      }
      layers.resize(static_cast<std::size_t>(columns));
      layers[static_cast<std::size_t>(k - 1)] = static_cast<float>(k);
    }
    in.layers = columns;
    in.first_layer = columns > 1 ? 2 : 1;
    for (const float dir : directions) {
      const float a = dir / 57.295776f;
      fairleads.insert(fairleads.end(), {kRadius * std::cos(a), kRadius * std::sin(a), 0.0f});
    }
    in.spacing = 10.0f;
    in.grid_span = 5.0f;
    in.first_line = 1;
    in.last_line = 3;
    in.line_outputs = 2;
    in.out = kScreen;
    in.in = kKeyboard;
  }
  MooringForceOutput& run() {
    in.request_code = codes;
    in.direction = directions;
    in.mean_range = means;
    in.fairleads = fairleads;
    in.tables = loadup_tables(*lc, anchor, y2, layers);
    fmoor2(t.s, in, out);
    return out;
  }
  // Distance from line i's anchor to its fairlead moved to p (global).
  float distance_to_anchor(int i, float px, float py) const {
    const auto e = static_cast<std::size_t>(i - 1);
    const float a = directions[e] / 57.295776f;
    const float ax = fairleads[3 * e] + kMean * std::cos(a);
    const float ay = fairleads[3 * e + 1] + kMean * std::sin(a);
    return std::hypot(ax - px, ay - py);
  }
};

TEST(Fmoor2, NoMotionKeepsEveryLineAtItsMeanRange) {
  Spread sp;
  const MooringForceOutput& r = sp.run();
  const float h = kK * (kMean - kX0);
  for (int i = 1; i <= 3; ++i) {
    const LineForce& l = r.lines[static_cast<std::size_t>(i - 1)];
    EXPECT_FLOAT_EQ(l.new_range, kMean);
    EXPECT_EQ(l.dz, 0.0f);
    EXPECT_NEAR(l.new_direction, sp.directions[static_cast<std::size_t>(i - 1)] - (i == 3 ? 360.0f : 0.0f), 1e-3f);
    EXPECT_NEAR(l.h, h, 1e-4f * h);
    EXPECT_NEAR(l.energy, 0.5f * kK * (kMean - kX0) * (kMean - kX0), 1e-5f * l.energy);
  }
  EXPECT_NEAR(r.energy, 1.5f * kK * (kMean - kX0) * (kMean - kX0), 1e-5f * r.energy);
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_NEAR(r.force[k], 0.0f, 1e-4f * h);
    EXPECT_NEAR(r.moment[k], 0.0f, 1e-4f * h * kRadius);
    EXPECT_EQ(r.angles[k], 0.0f);
  }
  EXPECT_EQ(sp.t.shown(), "");

  // One line, its fairlead off the centre: moment r x F by hand.
  Spread one;
  one.fairleads = {10.0f, 5.0f, -2.0f};
  one.in.last_line = 1;
  one.in.moment_point = {1.0f, 0.0f, 0.0f};
  const MooringForceOutput& m = one.run();
  EXPECT_NEAR(m.force[0], h, 1e-4f * h);
  EXPECT_NEAR(m.body_moment[1], -2.0f * h, 1e-3f * h);
  EXPECT_NEAR(m.body_moment[2], -5.0f * h, 1e-3f * h);
  EXPECT_NEAR(m.moment[2], -5.0f * h, 1e-3f * h);
}

TEST(Fmoor2, DisplacedFairleadsAgainstGeometry) {
  struct Case {
    const char* name;
    float ox, oy, heave, rotation;
    Vec3 axis;
    float rx, ry;  // where line 1's fairlead (10, 0) goes, global
  };
  const Case cases[] = {
      {"offset along line 1", 2.0f, 0.0f, 0.0f, 0.0f, {0, 0, 1}, 12.0f, 0.0f},
      {"offset against line 1, with heave", -3.0f, 0.0f, 1.5f, 0.0f, {0, 0, 1}, 7.0f, 0.0f},
      {"offset across", 0.0f, 4.0f, 0.0f, 0.0f, {0, 0, 1}, 10.0f, 4.0f},
      {"yaw about an axis of length 2", 0.0f, 0.0f, 0.0f, 90.0f, {0, 0, 2}, 0.0f, 10.0f},
      {"no axis: no rotation", 1.0f, 0.0f, 0.0f, 90.0f, {0, 0, 0}, 11.0f, 0.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Spread sp;
    sp.in.offset = {c.ox, c.oy};
    sp.in.heave = c.heave;
    sp.in.rotation = c.rotation;
    sp.in.axis = c.axis;
    const MooringForceOutput& r = sp.run();
    const LineForce& l = r.lines[0];
    const float dist = sp.distance_to_anchor(1, c.rx, c.ry);
    EXPECT_NEAR(l.new_range, dist, 1e-4f * dist);
    EXPECT_NEAR(l.dz, c.heave, 1e-5f);
    EXPECT_NEAR(l.h, kK * (dist - kX0), 1e-3f);
    EXPECT_NEAR(l.energy, 0.5f * kK * (dist - kX0) * (dist - kX0), 1e-3f * l.energy);
    if (c.ox != 0.0f && c.oy == 0.0f && c.rotation == 0.0f) {
      EXPECT_NEAR(l.new_range, kMean - c.ox, 1e-4f);
    }
    EXPECT_NEAR(r.angles[2], c.rotation != 0.0f && c.axis[2] != 0.0f ? kPi / 2.0f : 0.0f, 1e-3f);
  }
}

TEST(Fmoor2, SpanWarningOncePerFlag) {
  const std::string translation =
      "\n ++> Warning: A vertical translation of amount     8.00 has carried\n"
      "     fairlead number  1 outside the bounds of the specified vertical\n"
      "     interpolation span. This may lead to interpolation errors.\n"
      "     Consider increasing the vertical interpolation span.\n";
  Spread sp("\n\n");
  sp.in.heave = 8.0f;  // the span is 0 to 5
  sp.run();
  EXPECT_EQ(sp.out.warned, 99);
  EXPECT_EQ(sp.out.warned_line, 3);
  EXPECT_EQ(sp.t.shown().find(translation), 0u);
  EXPECT_EQ(sp.t.shown().find("Warning", translation.size()), std::string::npos);
  sp.run();  // the flag is kept: no second warning
  EXPECT_EQ(sp.t.shown().find("Warning", translation.size()), std::string::npos);
  sp.out.warned = 0;
  sp.run();
  EXPECT_NE(sp.t.shown().find(translation, translation.size()), std::string::npos);

  // Warnings only below the span: a fairlead above it sets the flag quietly.
  Spread above;
  above.in.heave = 8.0f;
  above.in.warn_below_only = true;
  above.run();
  EXPECT_EQ(above.out.warned, 99);
  EXPECT_EQ(above.t.shown(), "");

  // Turning 30 degrees about y (right-handed) lowers fairlead 1 by 10 sin 30
  // below the span.
  Spread pitch("\n");
  pitch.in.rotation = 30.0f;
  pitch.in.axis = {0.0f, 1.0f, 0.0f};
  pitch.run();
  EXPECT_NEAR(pitch.out.lines[0].dz, -5.0f, 1e-4f);
  EXPECT_EQ(pitch.t.shown().find("\n ++> Warning: A rotation of amount  30.0 degrees about direction\n"
                                 "     ( 0.0, 1.0, 0.0) has carried fairlead number  1 outside \n"
                                 "     the bounds of the specified vertical interpolation span.\n"
                                 "     This may lead to interpolation errors. Consider increasing\n"
                                 "     the vertical interpolation span.\n"),
            0u);
  Spread stop("A\n");
  stop.in.heave = 8.0f;
  EXPECT_THROW(stop.run(), ProgramStop);
}

TEST(Fmoor2, EnergyClimbsTheLayers) {
  // Alike layers with top angle 0.2: the vertical force is -H tan 0.2
  // everywhere, so raising the fairlead from layer 1 (10 below the mean
  // height) to the heave z stores (z + 10) H tan 0.2 beside the work of the
  // horizontal tension.
  for (const float heave : {0.0f, 3.0f, -4.5f}) {
    SCOPED_TRACE(heave);
    Spread sp("", 3, 0.2f);
    sp.in.grid_span = 20.0f;
    sp.in.heave = heave;
    const LineForce& l = sp.run().lines[0];
    const float h = kK * (kMean - kX0);
    EXPECT_NEAR(l.vertical_force, -h * std::tan(0.2f), 1e-3f * h);
    const float expected = 0.5f * kK * (kMean - kX0) * (kMean - kX0) + (heave + 10.0f) * h * std::tan(0.2f);
    EXPECT_NEAR(l.energy, expected, 1e-4f * expected);
  }
}

TEST(Fmoor2, ExcludedLinesGiveZeros) {
  Spread sp;
  sp.codes[1] = 1025;
  sp.codes[2] = 1024;  // type 0
  sp.in.offset = {2.0f, 1.0f};
  const MooringForceOutput& r = sp.run();
  for (const std::size_t e : {std::size_t{1}, std::size_t{2}}) {
    const LineForce& l = r.lines[e];
    EXPECT_EQ(l.h + l.top_tension + l.vertical_force + l.energy + l.dz, 0.0f);
    EXPECT_EQ(l.new_range, kMean);
    EXPECT_EQ(l.new_direction, sp.directions[e]);
  }
  EXPECT_NEAR(r.energy, r.lines[0].energy, 1e-6f);
  EXPECT_NEAR(std::hypot(r.force[0], r.force[1]), r.lines[0].h, 1e-4f * r.lines[0].h);
}

}  // namespace
}  // namespace kelp
