#include "kelpkit/spectrum_names.hpp"

#include <array>
#include <span>
#include <string_view>

#include "sysutl/text.hpp"

namespace kelp {

namespace {

constexpr std::array<std::string_view, 11> kWaveNames = {
    "Brenvik swell spectrum", "Pierson-Moskowitz",      "Mean JONSWAP",           "Sharp JONSWAP",
    "Squat JONSWAP",          "General JONSWAP",        "Bretschneider",          "WAVSPEC.txt input file",
    "Legacy custom spectrum", "Ochi-Hubble",            "TMA Shallow Water",
};

// Wind codes 1 to 6.
constexpr std::array<std::string_view, 6> kWindNames = {
    "Davenport", "Legacy point spectrum", "Steady wind", "A.P.I.", "N.P.D.", "WINDSPEC.txt input file",
};

// Current codes 1 to 4.
constexpr std::array<std::string_view, 4> kCurrentNames = {
    "Steady current", "Legacy point spectrum", "CRNTSPEC.txt input file", "Band-limited white spectrum",
};

constexpr std::array<std::string_view, 11> kReportNames = {
    "Brenvik Default Swell", "Standard Pierson-Moskowitz", "Mean JONSWAP",      "Sharp JONSWAP",
    "Squat JONSWAP",         "General JONSWAP",            "Bretschneider",     "WAVSPEC.txt input file",
    "Legacy User Spectrum",  "Ochi-Hubble",                "TMA Shallow Water",
};

// The name of code in a table whose first entry has code `first`, or
// `none`.
std::string_view lookup(std::span<const std::string_view> table, int first, int code, std::string_view none) {
  const long k = static_cast<long>(code) - first;
  return k >= 0 && k < static_cast<long>(table.size()) ? table[static_cast<std::size_t>(k)] : none;
}

// A blank, the name, and blanks to the full width.
std::string padded(std::string_view name) {
  std::string text(1, ' ');
  text += name;
  return fixed(text, kSpectrumNameWidth);
}

constexpr std::string_view kIndexError = "Index error";

}  // namespace

std::string wavprt(int code) { return padded(lookup(kWaveNames, 0, code, kIndexError)); }
std::string wndprt(int code) { return padded(lookup(kWindNames, 1, code, kIndexError)); }
std::string curprt(int code) { return padded(lookup(kCurrentNames, 1, code, kIndexError)); }

std::string report_spectrum_name(int code) { return std::string(lookup(kReportNames, 0, code, "Missing!")); }

std::string swell_spectrum_name(int code) { return code == 0 ? "Brenvik default swell" : wavprt(code); }

}  // namespace kelp
