// Report sections I and II against the text gfortran writes from the same
// values (tests/disc/gfortran/disc_report.f90), on a report file and on the
// screen.
#include "disc/s/disc_report.hpp"

#include <gtest/gtest.h>

#include <string>

#include "disc/s/disc_fixture.hpp"
#include "disc/s/disc_work_area.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

using testing::DiscFixture;

std::string expected(const char* name) { return testing::slurp(std::string(KELP_TEST_DATA) + "/disc/" + name); }

const std::string kPrompt = " \n Press <RETURN> to continue: ";

// The values of the generator: section I of the cylinder (KMT 4.1), and the
// frequencies, dampings and masses of section II.
void report_values(DiscFixture& f) {
  Tpcm& t = f.t();
  Himem& h = f.h();
  t.set_r(kDisplacement, 161.01f);
  t.set_r(kWaterplaneArea, 78.54f);
  t.set_r(kMetacentreT, 4.1f);
  for (std::size_t w : {kHimemRollCentre, kHimemPitchCentre}) h.set_r(w, 1.2907f);
  for (std::size_t w : {kHimemGml, kHimemGmt}) h.set_r(w, 2.625f);
  wavcom(f.s()).mass_density = 1.025f;
  const float w[] = {1.2f, 1.25f, 1.4f, 0.2f, 0.21f, 0.3f};  // pitch, roll, heave, surge, sway, yaw
  for (int m = 0; m < kDiscModes; ++m) h.set_r(mode_words(m).frequency, w[m]);
  const float own[] = {0.06f, 0.05f, 0.1f, 0.02f, 0.03f, 0.0f};
  for (int m = 0; m < kDiscModes; ++m) h.set_r(mode_words(m).damping, own[m]);
  h.set_r(kHimemRollTotalInertia, 2100.0f);
  h.set_r(kHimemPitchTotalInertia, 2050.0f);
  h.set_r(kHimemHeaveMass, 400.0f);
  h.set_r(kHimemSurgeMass, 198.0f);
  h.set_r(kHimemYawInertia, 1924.0f);
}

// Moored, unit system 2, slope 5 degrees, roll and yaw dampings given, the
// user-RAO note.
void moored_values(DiscFixture& f) {
  Tpcm& t = f.t();
  t.i(kMooringFeedback) = 1;
  t.i(kUnitSystem) = 2;
  t.i(kConstantSlope) = 1;
  t.set_r(kRegularHeight, 5.0f);
  t.i(kUserRaos) = 1;
  f.given(kModeRoll, false, true, 0.0f, 3.0f);
  f.given(kModeYaw, false, true, 0.0f, 4.0f);
  t.set_r(mode_words(kModePitch).mooring_damping, 50.0f);
  t.set_r(mode_words(kModeHeave).mooring_damping, 20.0f);
}

TEST(DiscReport, SectionsOnAReportFileAreWrittenOnce) {
  struct Case {
    const char* file;
    void (*section)(Session&);
    bool moored;
  };
  const Case cases[] = {
      {"report_summary.txt", dsksum, false},
      {"report_unmoored.txt", dskout, false},
      {"report_moored.txt", dskout, true},
  };
  for (const Case& c : cases) {
    testing::TempDir dir;
    DiscFixture f;
    report_values(f);
    if (c.moored) moored_values(f);
    f.t().i(kOutputDevice) = kListingUnit;
    f.t().i(kNavCode) = -1;  // would repeat the section after a prompt
    ASSERT_TRUE(f.s().open_output(kListingUnit, dir.file("report")));
    c.section(f.s());
    ASSERT_TRUE(f.s().close_unit(kListingUnit));
    EXPECT_EQ(testing::slurp(dir.file("report")), "\f\n" + expected(c.file)) << c.file;
    EXPECT_EQ(f.run.shown(), "") << c.file;
  }
}

TEST(DiscReport, OnTheScreenANegativeReplyRepeatsTheSection) {
  DiscFixture f("-1\n\n");
  report_values(f);
  dskout(f.s());
  const std::string section = expected("report_unmoored.txt");
  EXPECT_EQ(f.run.shown(), section + kPrompt + section + kPrompt);
  EXPECT_EQ(f.t().i(kNavCode), 0);
}

}  // namespace
}  // namespace kelp
