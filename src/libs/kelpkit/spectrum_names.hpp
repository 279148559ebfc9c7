#pragma once
// Display names of the spectrum codes: wave and swell spectra (the codes of
// kelpkit/wave_spectra.hpp), wind spectra and current spectra. The three
// name functions return 30 characters: a blank, the name, blanks; a code
// outside the table gives " Index error".
#include <cstddef>
#include <string>

namespace kelp {

inline constexpr std::size_t kSpectrumNameWidth = 30;

std::string wavprt(int code);
std::string wndprt(int code);
std::string curprt(int code);

// The name of the irregular-wave spectrum in the wave report's "Spectral
// Type" line (no leading blank, not padded); "Missing!" outside the table.
std::string report_spectrum_name(int code);

// The swell pages' name of a swell spectrum: "Brenvik default swell" for
// code 0 (not padded), the wavprt name otherwise.
std::string swell_spectrum_name(int code);

}  // namespace kelp
