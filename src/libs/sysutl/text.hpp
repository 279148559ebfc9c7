#pragma once
// Small text helpers for blank-padded fixed-width fields.
#include <cstddef>
#include <string>
#include <string_view>

namespace kelp {

// The text without its trailing blanks (names arrive in blank-padded fields).
inline std::string trimmed(std::string_view text) {
  const auto end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

// The text cut or blank-padded to exactly `width` characters, as a character
// variable of that length holds it.
inline std::string fixed(std::string_view text, std::size_t width) {
  std::string s(text.substr(0, width));
  s.resize(width, ' ');
  return s;
}

// The text starting in the given column (1 = first) of a line.
inline std::string at_column(int column, std::string_view text) {
  return std::string(static_cast<std::size_t>(column > 1 ? column - 1 : 0), ' ').append(text);
}

}  // namespace kelp
