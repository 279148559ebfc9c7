#include "kelpkit/spectrum_names.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace kelp {
namespace {

TEST(SpectrumNames, PaddedNamesAndIndexErrors) {
  struct Case {
    std::function<std::string(int)> name;
    int code;
    std::string text;
  };
  const Case cases[] = {
      {wavprt, 0, " Brenvik swell spectrum"}, {wavprt, 1, " Pierson-Moskowitz"},
      {wavprt, 7, " WAVSPEC.txt input file"}, {wavprt, 8, " Legacy custom spectrum"},
      {wavprt, 10, " TMA Shallow Water"},      {wavprt, -1, " Index error"},
      {wavprt, 11, " Index error"},            {wndprt, 1, " Davenport"},
      {wndprt, 6, " WINDSPEC.txt input file"}, {wndprt, 0, " Index error"},
      {wndprt, 7, " Index error"},             {curprt, 1, " Steady current"},
      {curprt, 4, " Band-limited white spectrum"}, {curprt, 0, " Index error"},
      {curprt, 5, " Index error"},
  };
  for (const Case& c : cases) {
    const std::string text = c.name(c.code);
    EXPECT_EQ(text, c.text + std::string(kSpectrumNameWidth - c.text.size(), ' ')) << c.code;
  }
}

TEST(SpectrumNames, ReportAndSwellPageNames) {
  EXPECT_EQ(report_spectrum_name(0), "Brenvik Default Swell");
  EXPECT_EQ(report_spectrum_name(10), "TMA Shallow Water");
  EXPECT_EQ(report_spectrum_name(11), "Missing!");
  EXPECT_EQ(report_spectrum_name(-1), "Missing!");
  EXPECT_EQ(swell_spectrum_name(0), "Brenvik default swell");
  EXPECT_EQ(swell_spectrum_name(5), wavprt(5));
}

}  // namespace
}  // namespace kelp
