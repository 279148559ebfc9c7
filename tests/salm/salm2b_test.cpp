#include "salm/e/salm2b.hpp"

#include <gtest/gtest.h>
#include <iostream>

#include "test_page.hpp"

namespace kelp {
namespace {
using testing::iw;
using testing::rw;

TEST(Salm2b, Dump) {
  testing::PageCase c{.name = "dump", .replies = "\n2\n0\n\n14\n-1\n\n\n"};
  c.kind = 11;
  c.preset = {iw(kElementCount, 2), iw(kSubmergenceOption, 3), iw(kAuxYawTableOn, 1), iw(kAuxLateralTableOn, 1),
              iw(kPiercingElement, 2), rw(RealWord{kElementLengths.n + 1}, 12.5f), iw(kHawserFlag, 0),
              rw(kYokeHeight, 3.0f)};
  auto t = testing::run_page_case([](Session& s) { salm2b(s, "3"); }, c);
  std::cout << t->shown() << "\n@@" << t->s.tpcm.i(kNavCode) << std::endl;
}
}  // namespace
}  // namespace kelp
