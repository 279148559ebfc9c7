// The single-anchor-leg editor over its own pages, behind an identity routine
// the test registers for the kind: the pages its slots show under the record
// states that show them, and the constant-force page's edits kept in the
// record, the listing and the data file.
#include "salm/e/salmed.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "edlib/data_record.hpp"
#include "edlib/kind_dispatch.hpp"
#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

using testing::DirFiles;

struct SalmRun {
  std::string screen;
  Tpcm tpcm;
};

// Runs the editor on `replies` over the files of `fs` until it ends or the
// replies run out.
SalmRun run_salmed(const std::shared_ptr<DirFiles>& fs, const std::string& replies) {
  testing::ScriptedSession ss(replies);
  ss.s.set_files(fs);
  kind_dispatch(ss.s).set_identity(kSalmKind, [](Session&, Identity& id) {
    id.program_name = "Testkind";
    id.main_name = "TESTMAIN    ";
    id.editor_name = "TESTEDIT    ";
    id.data_file = "TESTDAT     ";
    id.backup_file = "TESTBAK     ";
    id.version = 6.8f;
    id.kind = kSalmKind;
    id.year = 2020;
    id.os_code = 21;
    id.layout_code = 49;
    id.run_mode = 2;
  });
  try {
    salmed(ss.s);
  } catch (const ProgramStop&) {
  }
  return {ss.shown(), ss.s.tpcm};
}

// The labels of the page headers in the order shown, as " 1 8 9 ".
std::string page_labels(const std::string& screen) {
  std::string labels = " ";
  for (auto p = screen.find("  Page "); p != std::string::npos; p = screen.find("  Page ", p + 1)) {
    const auto colon = screen.find(':', p);
    labels += screen.substr(p + 7, colon - p - 7) + " ";
  }
  return labels;
}

TEST(Salmed, EachSlotShowsItsPageWhileTheRecordShowsIt) {
  struct Case {
    std::string replies;  // after "C" (create) at the menu, from page 1 on
    std::string shown;    // the labels shown, from the start
    std::vector<std::string> passed;
  };
  const Case cases[] = {
      // A new data set: lowves (low-frequency dynamics on, a vessel
      // attached), extfrc and areas; wind and current off pass to extend.
      {"J8\n0\n0\n0\n", " 1 8 9 10 13 ", {"11", "12"}},
      // Wind and current switched on at areas: wind, then curent.
      {"J10\n1\n11\n0\n0\n", " 1 10 10 10 11 12 ", {}},
      // Low-frequency dynamics off at quasck: vesel3 goes past lowves.
      {"J4\n1\nJ7\n0\n", " 1 4 4 7 ", {"8"}},
      // The swell page after the irregular waves.
      {"J15\n0\n", " 1 15 16 ", {}},
  };
  for (const Case& c : cases) {
    const std::string labels = page_labels(run_salmed(std::make_shared<DirFiles>(), "C\n" + c.replies).screen);
    EXPECT_EQ(labels.substr(0, c.shown.size()), c.shown) << c.replies;
    for (const std::string& label : c.passed) {
      EXPECT_EQ(labels.find(" " + label + " "), std::string::npos) << label << " in" << labels;
    }
  }
}

TEST(Salmed, ConstantForceEditsStayInTheRecordListingAndFile) {
  const ForceBlockWords& b = kExternalForces[0];
  const auto check_words = [&b](const Tpcm& t) {
    EXPECT_EQ(t.i(b.on), 1);
    EXPECT_EQ(t.i(b.frame), 1);
    EXPECT_EQ(t.r(b.mean_x), 250.0f);
    EXPECT_EQ(t.r(b.mean_y), 0.0f);
    EXPECT_EQ(t.r(b.moment), -3500.0f);
    EXPECT_EQ(t.r(b.x), 12.5f);
    EXPECT_EQ(t.r(b.y), -4.0f);
  };
  const std::string page9 =
      "   ****  Page 9: Vessel External Force/Moment Specification  ****\n"
      "\n"
      "\n"
      " 1) Simulate constant force/moment on vessel:   Yes\n"
      "\n"
      " 2) X force component ........................     250.00 kips           \n"
      " 3) Y force component ........................       0.00 kips           \n"
      " 4) Applied moment (force couple) value ...... -0.350E+04 k. ft-lbs \n"
      " 5) Auxiliary force components defined in <<vessel>> coordinate system\n"
      "\n"
      "    ++> Coordinates of Applied Force are in <<vessel>> system\n"
      "\n"
      " 6) Applied force X-coordinate (from c.g.) ...      12.50 feet           \n"
      " 7) Applied force Y-coordinate (from c.g.) ...      -4.00 feet           \n";
  const auto fs = std::make_shared<DirFiles>();
  // Edit every item of the page, leave it, make the listing ("5", a print
  // pass over every page), then save and exit ("1").
  const SalmRun first =
      run_salmed(fs, "C\nJ9\n1\n2\n250\n4\n-3.5e3\n5\n6\n12.5\n7\n-4\n0\nL\n5\n1\n");
  check_words(first.tpcm);
  EXPECT_EQ(testing::count_of(fs->get("ANCHIN.stxt"), page9), 1);
  // The saved data set shows the page as it was left.
  const SalmRun second = run_salmed(fs, "M\n\nJ9\n");
  check_words(second.tpcm);
  EXPECT_EQ(testing::count_of(second.screen, page9), 1);
  // Replies that run out on the page still leave the edit in the record.
  EXPECT_EQ(run_salmed(std::make_shared<DirFiles>(), "C\nJ9\n1\n2\n-7\n").tpcm.r(b.mean_x), -7.0f);
}

}  // namespace
}  // namespace kelp
