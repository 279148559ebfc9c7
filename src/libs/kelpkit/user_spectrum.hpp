#pragma once
// The user wave spectrum file "WAVSPEC.txt": a count N (2 to 1,000) on its
// first line, then N lines of circular frequency (rad/s) and spectral density,
// the frequencies rising or falling. The file is read once per name and kept
// for the session; densities between the given frequencies are interpolated
// linearly, and outside them the end segment is extended after a one-time
// warning.
#include <string_view>

namespace kelp {

class Session;

inline constexpr std::string_view kUserSpectrumFile = "WAVSPEC.txt";
inline constexpr int kUserSpectrumMax = 1000;
inline constexpr int kUserSpectrumMin = 2;

// Status of uwvspc.
inline constexpr int kUserSpectrumOk = 0;
inline constexpr int kUserSpectrumFailed = 1;

// value := the density at circular frequency w from the file fname (shown in
// messages as 13 characters, blank-padded). A missing or unreadable file, a
// count outside 2..1,000, or an answer "A" to the out-of-range warning (or
// that warning in a silent run) gives its message and kUserSpectrumFailed;
// value is then unchanged, and a file that failed is read afresh next time.
int uwvspc(Session& s, float w, int out, int in, std::string_view fname, float& value);

}  // namespace kelp
