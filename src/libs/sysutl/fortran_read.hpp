#pragma once
// Fortran-style input conversions of reply text: blank-null ("BN") integer and
// real fields and list-directed lists. None of them ever fails loudly: an
// unreadable field gives nullopt and the caller keeps its value.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace kelp::fin {

// "(BN,Iw)" over the whole field: blanks are ignored, one leading sign is
// allowed; an all-blank field reads as 0. A sign elsewhere, a point, a letter
// or a value outside 32 bits gives nullopt.
std::optional<std::int32_t> read_int_bn(std::string_view field);

// "(BN,Fw.d)" over the whole field: blanks are ignored; sign, digits, point and
// exponent ("E", "D", "Q" or a signed exponent without letter) are accepted.
// Without a point the value is the digits scaled by 10^-d. An all-blank field
// reads as 0. Unreadable text, and non-finite values ("NaN", "Inf",
// "Infinity", or an overflow), give nullopt.
std::optional<float> read_real_bn(std::string_view field, int d = 0);

// List-directed read of up to values.size() items from text: items separated
// by blanks or commas, null items (",,", "r*") keep their values, "r*c"
// repeats c, "/" ends the list. Reading ends quietly at the end of the text or
// at the first unreadable item; values read before it are kept. Returns the
// number of items consumed (null items included).
int read_list(std::string_view text, std::span<float> values);
int read_list(std::string_view text, std::span<std::int32_t> values);

}  // namespace kelp::fin
