#pragma once
// Checks of captured dialogue screens shared by the mooring editor tests.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace kelp::testing {

// Success when the texts appear on the screen in the given order.
template <class Texts>
::testing::AssertionResult shows_in_order(const std::string& screen, const Texts& texts) {
  std::size_t at = 0;
  for (std::string_view text : texts) {
    at = screen.find(text, at);
    if (at == std::string::npos) return ::testing::AssertionFailure() << "missing \"" << text << "\" in\n" << screen;
    at += text.size();
  }
  return ::testing::AssertionSuccess();
}

// How often a text appears on the screen.
inline int occurrences(const std::string& screen, std::string_view text) {
  int n = 0;
  for (auto at = screen.find(text); at != std::string::npos; at = screen.find(text, at + 1)) ++n;
  return n;
}

}  // namespace kelp::testing
