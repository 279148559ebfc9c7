#pragma once
// The output-option pages of the single-anchor-leg editor: "Output options
// 1" (page 17: static offset and mass data, the interpolation table, loads at
// offsets, low- and wave-frequency outputs, the load decomposition frame, the
// version 5.x flags and the storm duration) and "Output options 2" (page 18:
// sigma level, member drag, RAO outputs, motions summary, user RAO data,
// plotter file, debug and output device). Neither has help texts of its
// own; every item is edited whether shown or not.
#include <string_view>

namespace kelp {

class Session;

// Page 17; a number above 51 leaves with that number in word 699.
void slmout(Session& s, std::string_view label);

// Page 18; a number above 13 leaves with that number in word 699.
void slmot2(Session& s, std::string_view label);

}  // namespace kelp
