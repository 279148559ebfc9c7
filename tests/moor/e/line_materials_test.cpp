#include "moor/e/line_materials.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "moor/e/screen_checks.hpp"
#include "test_session.hpp"

namespace kelp {
namespace {

using testing::occurrences;
using testing::ScriptedSession;
using testing::shows_in_order;

constexpr float kUntouched = -99.0f;

// Breaking strength in kips of a 3-inch chain of row 1: 107.8 x 3^2.
constexpr double kChainStrength = 970.2;

struct Estimate {
  float result = kUntouched;
  std::array<float, 3> coeff{kUntouched, kUntouched, kUntouched};
  std::string shown;
};

Estimate run(const std::string& replies, int mode, int units, float d) {
  ScriptedSession t(replies);
  Estimate e;
  help_materials(t.s, e.result, e.coeff, units, d, mode, kScreen, kKeyboard);
  e.shown = t.shown();
  EXPECT_EQ(t.in.peek(), EOF) << replies;
  return e;
}

TEST(LineMaterials, EstimatesMatchHandComputation) {
  // Worked in double from the table rows; nylon (12) at 2 inches = 50.8 mm:
  // BS = 38.38 x 2^1.791 kips.
  const double nylon = 38.38 * std::pow(2.0, 1.791);
  struct Case {
    const char* what;
    std::string replies;
    int mode;
    int units;
    float d;
    double result;
    std::array<double, 3> coeff;  // compared when mode 1
  };
  const Case cases[] = {
      {"chain dry", "1\n", kEstimateDryWeight, 0, 3.0f, 0.09, {}},
      {"chain in seawater", "3\n1\n", kEstimateSubmergedWeight, 0, 3.0f, 0.09 * (7.82 - 1.025) / 7.82, {}},
      {"chain in air", "1\n1\n", kEstimateSubmergedWeight, 0, 3.0f, 0.09, {}},
      {"chain in freshwater", "2\n1\n", kEstimateSubmergedWeight, 0, 3.0f, 0.09 * 6.82 / 7.82, {}},
      {"chain strength", "1\n", kEstimateStrength, 0, 3.0f, kChainStrength, {}},
      {"chain compliance", "2\n1\n", kEstimateCompliance, 0, 3.0f, kChainStrength, {0.00948 / kChainStrength, 0, 0}},
      {"metric chain strength", "1\n", kEstimateStrength, 1, 76.2f, kChainStrength / 2.204, {}},
      {"metric chain dry", "1\n", kEstimateDryWeight, 1, 76.2f, 10 * 0.001 * 76.2 * 76.2 * 0.00231, {}},
      {"metric chain compliance", "2\n1\n", kEstimateCompliance, 1, 76.2f, kChainStrength / 2.204,
       {0.00948 / kChainStrength * 2.204, 0, 0}},
      {"metric nylon compliance", "2\n12\n", kEstimateCompliance, 1, 50.8f, nylon / 2.204,
       {0.811 / nylon * 2.204, -0.584 / (nylon * nylon) * 4.858, 0.154 / (nylon * nylon * nylon) * 10.706}},
      {"polypropylene floats in seawater", "3\n15\n", kEstimateSubmergedWeight, 0, 4.0f,
       (0.9 - 1.025) / 0.9 * 0.001 * 0.172 * 16, {}},
      {"inextensible chain", "2\n4\n", kEstimateCompliance, 0, 3.0f, kChainStrength, {0, 0, 0}},
      {"wire strength", "7\n", kEstimateStrength, 0, 2.0f, 123.1 * std::pow(2.0, 1.981), {}},
  };
  for (const auto& c : cases) {
    const Estimate e = run(c.replies, c.mode, c.units, c.d);
    EXPECT_NEAR(e.result, c.result, std::abs(c.result) * 2e-6) << c.what;
    for (std::size_t j = 0; j < 3; ++j) {
      if (c.mode == kEstimateCompliance) {
        EXPECT_NEAR(e.coeff[j], c.coeff[j], std::abs(c.coeff[j]) * 2e-6) << c.what << " coefficient " << j + 1;
      } else {
        EXPECT_EQ(e.coeff[j], kUntouched) << c.what;
      }
    }
  }
}

TEST(LineMaterials, MenusAskAgainOrLeaveWithoutResult) {
  struct Case {
    const char* what;
    std::string replies;
    int mode;
    int menus;  // material menus drawn
    bool result;
  };
  const Case cases[] = {
      {"rows not offered redisplay", "5\n9\n10\n17\n1\n", kEstimateStrength, 5, true},
      {"zero leaves", "0\n", kEstimateStrength, 1, false},
      {"blank leaves", "\n", kEstimateStrength, 1, false},
      {"a command leaves", "B\n", kEstimateDryWeight, 1, false},
      {"help and redisplay", "?3\n\n1\n", kEstimateStrength, 2, true},
      {"medium above 3 asks again", "4\n3\n1\n", kEstimateSubmergedWeight, 1, true},
      {"medium menu left", "B\n", kEstimateSubmergedWeight, 0, false},
      {"method 3 asks again", "3\n2\n4\n", kEstimateCompliance, 1, true},
      {"method menu left", "0\n", kEstimateCompliance, 0, false},
      {"user curve aborted", "1\n-1\n", kEstimateCompliance, 0, false},
      {"unknown mode does nothing", "", 7, 0, false},
  };
  for (const auto& c : cases) {
    const Estimate e = run(c.replies, c.mode, 0, 3.0f);
    EXPECT_EQ(occurrences(e.shown, "Chain Types"), c.menus) << c.what;
    EXPECT_EQ(e.result != kUntouched, c.result) << c.what;
    if (!c.result) {
      EXPECT_EQ(e.coeff[0], kUntouched) << c.what;
    }
  }
}

TEST(LineMaterials, NoFiniteEstimateChangesNothing) {
  // Zero diameter: the compliance would divide by a zero strength.
  const Estimate e = run("2\n1\n\n", kEstimateCompliance, 0, 0.0f);
  EXPECT_EQ(e.result, kUntouched);
  EXPECT_EQ(e.coeff[0], kUntouched);
  EXPECT_NE(e.shown.find(" ++> No estimate is possible for this diameter; nothing is changed.\n"), std::string::npos);
}

TEST(LineMaterials, MaterialMenuScreen) {
  const Estimate e = run("0\n", kEstimateStrength, 0, 3.0f);
  EXPECT_EQ(e.shown,
            " ***  Help for breaking strengths  ***\n"
            "\n"
            "        >>> Chain Types <<<\n"
            "  1) Stud-link chain (generic O.R.Q.; 1975)\n"
            "  2) Stud-link chain (Ramnas  O.R.Q.; 1994)\n"
            "  3) Studless Grade RQ4 Chain\n"
            "  4) Inextensible stud-link chain\n"
            "\n"
            "        >>> Wire Rope Types <<<\n"
            "  6) I.W.R.C. wire rope (O.R.Q.)\n"
            "  7) Brydon spiral strand wire rope (unsheathed)\n"
            "  8) Brydon spiral strand wire rope (unsheathed; remodeled 1995)\n"
            "\n"
            "        >>> Synthetic Rope Types <<<\n"
            " 11) Kevlar stranded rope (Samson)\n"
            " 12) Braided nylon rope (Samson \"two-in-one\")\n"
            " 13) Samson Nystron rope\n"
            " 14) Vermeire 100% polyester braided rope\n"
            " 15) Vermeire \"Monogrip\" 100% polypropylene rope\n"
            " 16) Vermeire manilla rope\n"
            " \n"
            " Enter number of selection (\"H\" for help): ");
}

TEST(LineMaterials, HelpNotes) {
  constexpr const char* kTitle = "                  ****  Material Properties Help Notes  ****\n";
  constexpr const char* kSorry = "\n ++> Sorry, no help for this line...\n";
  struct Case {
    const char* what;
    void (*help)(Session&, int, int, int);
    int item;
    std::string replies;
    std::vector<std::string> shown;  // in order
  };
  const Case cases[] = {
      {"curve item", hhlp1, 1, "\n", {kTitle, "\n ++> Item Number  1\n     The three compliance"}},
      {"curve all", hhlp1, 0, "\n", {" ++> Item Number  1\n", " ++> Item Number  2\n     The coefficients are"}},
      {"curve none", hhlp1, 3, "\n", {kTitle, kSorry}},
      {"medium all", hhlp2, 0, "\n", {"\n ++> Item Numbers 1 -> 3\n     The weight per unit length"}},
      {"medium item", hhlp2, 2, "\n", {"\n ++> Item Number  2\n     The weight per unit length"}},
      {"medium none", hhlp2, 4, "\n", {kSorry}},
      {"material item", hhlp3, 12, "\n", {"\n ++> Item Number  12\n     Samson braided nylon"}},
      {"material not offered", hhlp3, 5, "\n", {kSorry}},
      {"material all, three screens", hhlp3, 0, "\n\n\n",
       {" ++> Item Number  4", "Press <RETURN>", " ++> Item Number  8", "Press <RETURN>", " ++> Item Number  16",
        "Press <RETURN>"}},
  };
  for (const auto& c : cases) {
    ScriptedSession t(c.replies);
    c.help(t.s, kScreen, kKeyboard, c.item);
    EXPECT_TRUE(shows_in_order(t.shown(), c.shown)) << c.what;
    EXPECT_EQ(t.in.peek(), EOF) << c.what;
    EXPECT_TRUE(t.shown().ends_with("Press <RETURN> to continue: ")) << c.what;
  }
}

}  // namespace
}  // namespace kelp
