#pragma once
// The wave report "WAVEOUT.stxt" of the End of Session page: linear-theory
// kinematics of the regular waves at every period of the period table, the
// spectral densities of the irregular waves and of the first swell on that
// period grid, and their wave-group spectra.
#include <string_view>

namespace kelp {

class Session;

inline constexpr std::string_view kWaveReportFile = "WAVEOUT.stxt";

// Writes the wave report from the record (word 108: 6 on the screen, with a
// wait after each section; any other value the file "WAVEOUT.stxt"); fills
// wavcom with the period grid and the spectra on the way. Word 699 := 0.
//
// Nothing here ends the session. The sea state is checked before anything
// is written: 2 to 100 periods, all above zero and rising in equal steps, a
// water depth above zero, and a first swell whose period lies on the grid
// and whose spectrum is not Ochi-Hubble. A sea state that fails a check, a
// spectrum that cannot be evaluated or whose densities, heights, slopes or
// group spectra are not finite in single precision, and a report file that
// cannot be written each give their message and a wait, and the report is
// abandoned with the record untouched. Returns true when the report was
// written.
bool wavout(Session& s);

}  // namespace kelp
