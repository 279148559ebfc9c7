#include "edlib/model/member_checks.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "edlib/model/member_fixture.hpp"
#include "edlib/record/member_table.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using testing::column;
using testing::MemberSpec;
using testing::pontoon;
using testing::ScriptedSession;

constexpr int kMember = 2;
constexpr float kDraft = 10.0f;

struct Check {
  std::string name;
  MemberSpec m;
  int iwarn, ifatal, ipause;
  int icross;  // after the call, from 0
  int alignment;
  std::string shown;
};

MemberSpec user_coefficients(MemberSpec m) {
  m.source = member::kUserCoefficients;
  return m;
}

MemberSpec with_length(MemberSpec m, float mz) {
  m.dims[2] = mz;
  return m;
}

TEST(MemberChecks, Findings) {
  const MemberSpec deep = user_coefficients(column(-20.0f, -10.0f, member::kWallTerminated));
  const MemberSpec through = user_coefficients(column(0.0f, 20.0f, member::kWallTerminated));
  const std::string missing =
      "\n ++> All member dimension data and member endpoint data must be\n"
      "     specified before mass/damping coefficients can be computed.\n"
      "     Check for missing or incorrect data...\n";
  const std::string mz = "\n ++> Warning: Mz-dimension inconsistent with top/base locations for member  2\n";
  const std::string dry = "\n ++> Warning: Member number  2 is completely dry!\n";
  const std::vector<Check> cases = {
      {"Mz within 1% of the length", with_length(deep, 10.05f), 0, 0, 0, 0, 3, ""},
      {"Mz 2% off", with_length(deep, 10.2f), 1, 0, 1, 0, 3, mz},
      {"Mz not positive", with_length(deep, 0.0f), 1, 0, 1, 0, 3, mz},
      {"top below the base",
       with_length(user_coefficients(column(-10.0f, -20.0f, member::kWallTerminated)), 10.0f), 1, 1, 1, 1, 3,
       "\n ++> Fatal Warning: Top of member  2 is below the base!\n"},
      {"crossing downward", with_length(user_coefficients(column(20.0f, 0.0f, member::kWallTerminated)), 20.0f), 1, 1,
       1, 1, 3, "\n ++> Fatal Warning: Top of member  2 is below the base!\n"},
      {"both ends above the waterplane", user_coefficients(column(12.0f, 22.0f, member::kWallTerminated)), 1, 0, 1, 0,
       3, dry},
      {"one end on the waterplane, the other above", user_coefficients(column(kDraft, 20.0f, 1)), 1, 0, 1, 0, 3, dry},
      {"one end on the waterplane, the other below", user_coefficients(column(0.0f, kDraft, 1)), 0, 0, 0, 0, 3, ""},
      {"crossing without a water-piercing end", through, 1, 0, 1, 1, 3,
       "\n ++> Warning: Member number  2 top/bottom types should be checked!\n"},
      {"crossing with a water-piercing end", user_coefficients(column(0.0f, 20.0f, member::kWaterPiercing)), 0, 0, 0,
       1, 3, ""},
      {"an empty slot within the count", MemberSpec{}, 1, 1, 1, 1, 4, missing},
      {"a member along Vx, coefficients recomputed", pontoon(0.0f), 0, 0, 0, 0, 1, ""},
      {"computed coefficients with a dimension missing",
       [] { auto m = pontoon(0.0f); m.dims[1] = 0.0f; return m; }(), 1, 0, 1, 0, 1, missing},
  };
  for (const auto& c : cases) {
    ScriptedSession t;
    testing::member_vessel(t.s.tpcm, 1, kDraft);
    testing::put_member(t.s.tpcm, kMember, c.m);
    int iwarn = -1;
    int ifatal = -1;
    int ipause = -1;
    int icross = 0;
    chkpak(t.s, kMember, iwarn, ifatal, ipause, icross);
    EXPECT_EQ(t.shown(), c.shown) << c.name;
    EXPECT_EQ(iwarn, c.iwarn) << c.name;
    EXPECT_EQ(ifatal, c.ifatal) << c.name;
    EXPECT_EQ(ipause, c.ipause) << c.name;
    EXPECT_EQ(icross, c.icross) << c.name;
    EXPECT_EQ(t.s.tpcm.i(member::alignment(kMember)), c.alignment) << c.name;
  }
}

TEST(MemberChecks, MembersOutsideTheCountAreNotChecked) {
  // The count comes from the file: above 50 it stands for 50.
  for (const auto& [count, member, checked] :
       std::vector<std::tuple<int, int, bool>>{{1, 2, false}, {2, 2, true}, {900, 50, true}, {900, 51, false},
                                               {-4, 1, false}, {3, 0, false}}) {
    ScriptedSession t;
    testing::member_vessel(t.s.tpcm, 1, kDraft);
    t.s.tpcm.i(member::kCount) = count;
    int iwarn = -1, ifatal = -1, ipause = -1, icross = 0;
    chkpak(t.s, member, iwarn, ifatal, ipause, icross);
    EXPECT_EQ(iwarn, checked ? 1 : 0) << count << " " << member;  // an empty slot is missing data
    EXPECT_EQ(ifatal, checked ? 1 : 0);
    EXPECT_EQ(ipause, checked ? 1 : 0);
    EXPECT_EQ(t.shown().empty(), !checked);
  }
}

}  // namespace
}  // namespace kelp
