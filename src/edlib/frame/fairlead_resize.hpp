#pragma once
// Growing a record of the old fairlead layout (word 14 = 49: tables of 49 or
// 50 fairleads, 10 segments per line) to the current one (149 or 150
// fairleads, 25 segments per line) in place.
//
// Every step opens a gap by copying the tail of the record toward its end
// (last word first) and then clears the slots that opened up. A tail that
// would run past the record's last word is cut there: words pushed past the
// end are lost, and nothing beyond the record is ever written.
#include <cstdint>
#include <span>

namespace kelp {

// Converts the first nwords words of `record` (the record size of its kind;
// cut to the span). How far the conversion goes depends on the kind in word
// 1: the vessel block for every kind; the second-vessel block as well for
// kinds other than 1, 4 and 11; the mooring tables as well for kinds other
// than 1, 3, 4, 11 and 16. The caller sets word 14 to 149.
void update_to_149(std::span<std::int32_t> record, int nwords);

// The words of a record from word w on (empty from its end on).
std::span<std::int32_t> words_from(std::span<std::int32_t> record, long long w);

// The vessel-block stage alone (words 499 to 1,986 and the tail behind
// them): the whole resize of kinds 1, 4 and 11.
void resize_vessel_block(std::span<std::int32_t> record, int nwords);

}  // namespace kelp
