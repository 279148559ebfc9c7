#pragma once
// The wind and current pages of the mooring editor (pages 14 and 15; the
// other kinds' editors show them too) with the current's profile table.
// Both work on the session's record: the page label is their argument, the
// navigation code is left in word 699 (the number after a command letter in
// word 700), they draw on the output unit of word 702 and print themselves
// into the listing during a print pass (word 701).
#include <string_view>

#include "edlib/pagekit/help_book.hpp"

namespace kelp {

class Session;

// "Page <label>: Wind Conditions": wind speed and heading, the wind speed
// spectrum and the one parameter the chosen spectrum needs.
void wind(Session& s, std::string_view label);

// "Page <label>: Current Conditions": surface speed and heading, the
// variation with depth (with the profile table), the spectral type and the
// RMS fraction of the band-limited spectrum. A nonzero flag hides the
// spectral items (6, 7 and the density line) for editors without them.
void curent(Session& s, std::string_view label, int flag);

// How the profile table was left: by a navigation code (the check passed),
// by "Abort entry" (the table is as it was on entry), or at the end of a
// print pass.
struct ProfileExit {
  int code = 0;
  bool aborted = false;
};

// The profile table sub-page (depths 461-465, speeds 466-470, count 177,
// checked against the water depth 445).
ProfileExit crntin(Session& s, std::string_view title);

// Spectral density of the band-limited white current spectrum: the RMS
// fraction times the mean speed in knots, squared, converted to (ft/s)^2 or
// (m/s)^2 (2.846 or 0.2644, the page's factors) and spread over a band of
// 0.1257 rad/s; single precision, in this order.
float band_limited_density(float rms_fraction, float speed_knots, int unit_system);

// Help of the two pages (environment_help.cpp): item 0 shows every note.
void wndhp1(Session& s, int item);  // the wind page
void wndhp2(Session& s, int item);  // the wind spectral types
void curhlp1(Session& s, int item); // the current page
void curhlp2(Session& s, int item); // the current spectral types
void curhlp3(Session& s, int item); // the profile table
void curhlp4(Session& s, int item); // the variations with depth

}  // namespace kelp
