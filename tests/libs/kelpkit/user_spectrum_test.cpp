#include "kelpkit/user_spectrum.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "sysutl/session.hpp"
#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

using testing::DirFiles;
using testing::kAbortAsk;
using testing::kReturn;
using testing::ScriptedSession;

const std::string kThreePairs = "3\n1.0 2.0\n2.0, 4.0\n\n3.0 3.0\n";
const std::string kNotFound =
    "\n ++>  User-supplied wave spectrum file \"WAVSPEC.txt  \" not found\n\n" + kAbortAsk;
const std::string kReadError =
    "\n ++> End of file or related file error in routine UWVSPC\n     file name WAVSPEC.txt  \n" + kReturn;

// A session whose files live in a directory of their own.
struct Files {
  explicit Files(std::string replies = {}) : t(std::move(replies)), files(std::make_shared<DirFiles>()) {
    t.s.set_files(files);
  }
  int at(float w, float& value, std::string_view name = kUserSpectrumFile, int out = kScreen) {
    return uwvspc(t.s, w, out, kKeyboard, name, value);
  }
  ScriptedSession t;
  std::shared_ptr<DirFiles> files;
};

TEST(Uwvspc, ReadsEachFileOnceAndInterpolates) {
  Files f("\n");
  f.files->put("WAVSPEC.txt", kThreePairs);
  f.files->put("OTHER.txt", "2\n3.0 1.0\n1.0 5.0\n");  // falling frequencies
  float v = 0.0f;
  ASSERT_EQ(f.at(1.5f, v), kUserSpectrumOk);
  EXPECT_FLOAT_EQ(v, 3.0f);
  ASSERT_TRUE(std::filesystem::remove(f.files->at("WAVSPEC.txt")));
  ASSERT_EQ(f.at(2.5f, v), kUserSpectrumOk);  // from memory
  EXPECT_FLOAT_EQ(v, 3.5f);
  ASSERT_EQ(f.at(2.0f, v, "OTHER.txt"), kUserSpectrumOk);
  EXPECT_FLOAT_EQ(v, 3.0f);
  EXPECT_EQ(f.t.shown(), "");
  // Back to the first name: the file is read again, and it is gone now.
  EXPECT_EQ(f.at(2.0f, v), kUserSpectrumFailed);
  EXPECT_FLOAT_EQ(v, 3.0f);
  EXPECT_EQ(f.t.shown(), kNotFound);
}

TEST(Uwvspc, FileFailuresReturnWithTheirMessageWhateverTheAnswer) {
  std::string full = "1000\n";
  for (int i = 1; i <= 1000; ++i) full += std::to_string(i) + " " + std::to_string(2 * i) + "\n";
  const std::string dimension = "\n ++>  User-supplied wave spectral array in WAVSPEC.txt  \n";
  const std::string at_least = "\n      dimension = [2] at least\n\n" + kReturn;
  struct Case {
    std::optional<std::string> file;
    std::string reply;
    std::string shown;
  };
  const Case cases[] = {
      {std::nullopt, "\n", kNotFound},
      {std::nullopt, "A\n", kNotFound},
      {"x\n1 2\n", "\n", kReadError},
      {"3\n1 2\n2 3\n", "\n", kReadError},
      {"2\n1 2\n2 x\n", "\n", kReadError},
      {"2\n1 2\n3\n", "\n", kReadError},
      {"1001\n1 2\n", "\n",
       dimension + "      dimension = [1001] out of range; allowable\n      dimension = [1000]\n\n" + kReturn},
      {"1\n1 2\n", "\n", dimension + "      dimension = [1] out of range; allowable" + at_least},
      {"0\n", "\n", dimension + "      dimension = [0] out of range; allowable" + at_least},
  };
  for (const Case& c : cases) {
    Files f(c.reply);
    if (c.file) f.files->put("WAVSPEC.txt", *c.file);
    float v = -7.0f;
    EXPECT_EQ(f.at(1.5f, v), kUserSpectrumFailed) << f.t.shown();
    EXPECT_EQ(v, -7.0f);
    EXPECT_EQ(f.t.shown(), c.shown);
    // Mended, the file is read at the next request.
    f.files->put("WAVSPEC.txt", full);
    ASSERT_EQ(f.at(1.5f, v), kUserSpectrumOk);
    EXPECT_FLOAT_EQ(v, 3.0f);
  }
}

TEST(Uwvspc, OutOfRangeWarningIsGivenOnceWhenAccepted) {
  const std::string warning =
      "\n ++> Warning: Frequency outside user-supplied wave spectrum\n"
      "     range; \"continue\" to extrapolate outside available range.\n" + kAbortAsk;
  struct Step {
    float w;
    int status;
    float value;
    std::string shown;
  };
  struct Case {
    std::string replies;
    int out;
    std::vector<Step> steps;
  };
  const Case cases[] = {
      // Continue: extrapolated along the end segment, and no second warning.
      {"\n", kScreen, {{4.0f, kUserSpectrumOk, 2.0f, warning}, {0.5f, kUserSpectrumOk, 1.0f, ""}}},
      // Abort: nothing is computed, and the next request asks again.
      {"A\n\n", kScreen, {{4.0f, kUserSpectrumFailed, -1.0f, warning}, {4.0f, kUserSpectrumOk, 2.0f, warning}}},
      // A silent run cannot be asked: it gives up.
      {"", kSilentUnit, {{4.0f, kUserSpectrumFailed, -1.0f, ""}}},
  };
  for (const Case& c : cases) {
    Files f(c.replies);
    f.files->put("WAVSPEC.txt", kThreePairs);
    for (const Step& step : c.steps) {
      const std::string before = f.t.shown();
      float v = -1.0f;
      EXPECT_EQ(f.at(step.w, v, kUserSpectrumFile, c.out), step.status);
      EXPECT_FLOAT_EQ(v, step.value);
      EXPECT_EQ(f.t.shown().substr(before.size()), step.shown);
    }
  }
}

}  // namespace
}  // namespace kelp
