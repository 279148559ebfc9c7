#pragma once
// Coefficient sources of the low-frequency load model. Three selector words
// (wind 774, current 773, wave drift 786 of tpcm) hold the source of each
// axis as a 4-bit field: field 1 Cx, field 2 Cy, field 3 Cz. A current code
// of 15 (NSMB '91 with the "Mean" curve, field 1 only) counts as code 4
// wherever a current code is compared or shown as a table row.
#include <cstddef>
#include <cstdint>
#include <string>

namespace kelp {

class Session;

// Width of a source-name text.
inline constexpr std::size_t kSourceNameWidth = 29;

// The 29-character name of a source code (blank outside the table: wind 1 to
// 5, current 1 to 7 and 15, wave drift 1 to 7).
std::string wind_source_name(int code);
std::string current_source_name(int code);
std::string drift_source_name(int code);

// Tells for each selector whether its three axes use the same source
// (1) or not (0); a current field 1 of 15 is compared as 4. The words are
// not changed. msgunit takes the messages of the flag-field routines.
void initfm(Session& s, std::int32_t wind, int& windsame, std::int32_t current, int& cursame,
            std::int32_t drift, int& driftsame, int msgunit);

// Applies "one source for all axes" (windsame, cursame, driftsame = 1 copy
// field 1 into fields 2 and 3; a current 15 is copied as 4, field 1 keeps
// 15) and condenses the selectors into the flags the loader and the
// load-model pages act on:
//   winduser, curuser: 1 when any axis has code 1 (the LOWDAT table), else 2
//     when any has code 2 (the user coefficient file), else 0;
//   driftuser: 1 when any drift axis has code 1 (the drift file);
//   curtanker: 2 when current field 1 is 15 or any axis has code 4, else 1
//     when any has code 6, else 0;
//   windocimf: 1 when any wind axis has code 4;
//   windshape: 1 when any wind axis has code 3 or 5;
//   curshape: 1 when any current axis has code 3 or 7, judged on the
//     current word as given (before the copy).
void tnkrid(Session& s, std::int32_t& wind, int windsame, int& winduser, std::int32_t& current, int cursame,
            int& curuser, std::int32_t& drift, int driftsame, int& driftuser, int& curtanker, int& windocimf,
            int& windshape, int& curshape, int msgunit);

}  // namespace kelp
