#pragma once
// Fortran-style input conversions of reply text: blank-null ("BN") integer and
// real fields and list-directed lists. None of them ever fails loudly: an
// unreadable field gives nullopt and the caller keeps its value.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
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

// Strict list-directed reading of a text file, one read statement after the
// other, as a program that must not take a damaged file for a good one reads
// it. Every statement starts on a new line and passes at least that line,
// even when it reads no value; its values may run on over further lines, and
// what is left of its last line is passed over. Values are separated by
// blanks, TABs or a comma; "r*c" repeats c within the values asked for;
// logicals are T, F, .TRUE. or .FALSE. (either case). Anything else fails the
// statement: an unreadable item, a null value, a "/", a repeat that runs past
// the values asked for, or the end of the file before every value was read.
// After a failure the reader reads nothing more.
class ListReader {
 public:
  // The next line of the file without its line end; nullopt at its end.
  using LineSource = std::function<std::optional<std::string>()>;

  explicit ListReader(LineSource next_line) : next_line_(std::move(next_line)) {}

  // The next line read as a text of width characters ("(A)"): blank-padded or
  // cut. nullopt at the end of the file.
  std::optional<std::string> text(std::size_t width);

  // Begins a new read statement at the next line; false at the end of the file.
  bool statement();

  // Reads exactly values.size() values of the current statement; false when
  // they cannot all be read. Values of a failed read are unspecified.
  bool reals(std::span<float> values);
  bool ints(std::span<std::int32_t> values);
  bool logicals(std::span<std::int32_t> values);  // 1 for true, 0 for false

 private:
  // The next line; ends the current statement, and fails the reader at the
  // end of the file.
  std::optional<std::string> next();
  template <class T, class Parse>
  bool items(std::span<T> values, Parse parse);

  LineSource next_line_;
  std::string line_;       // the current line of the statement
  std::size_t pos_ = 0;    // where its next value starts
  bool in_statement_ = false;
  bool failed_ = false;
};

}  // namespace kelp::fin
