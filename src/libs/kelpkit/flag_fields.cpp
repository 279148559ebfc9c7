#include "kelpkit/flag_fields.hpp"

#include <string_view>

#include "sysutl/session.hpp"

namespace kelp {

namespace {

[[noreturn]] void flag_error(Session& s, std::string_view message, int out) {
  s.write_line(out, message);
  s.write_line(out, " Press <Return> to continue");
  if (!is_silent(out)) s.read_line(kKeyboard);
  throw ProgramStop(2);
}

std::uint32_t bits(std::int32_t word) { return static_cast<std::uint32_t>(word); }
std::int32_t word_of(std::uint32_t bits) { return static_cast<std::int32_t>(bits); }

unsigned field_shift(int ifld) { return 4u * static_cast<unsigned>(ifld - 1); }

}  // namespace

int nibval(Session& s, std::int32_t iword, int ifld, int out) {
  if (ifld < 1 || ifld > 8) flag_error(s, " Incorrect NIBBLE value in NIBVAL; contact Brenvik", out);
  return static_cast<int>((bits(iword) >> field_shift(ifld)) & 0xFu);
}

void nibset(Session& s, std::int32_t& iword, int ifld, int ival, int out) {
  if (ifld < 1 || ifld > 8 || ival < 0 || ival > 15)
    flag_error(s, " Incorrect NIBBLE/position value in NIBSET; contact Brenvik.", out);
  if (ifld == 8 && ival >= 8) flag_error(s, " Attempt to set most significant bit in NIBSET; contact Brenvik", out);
  const unsigned shift = field_shift(ifld);
  const std::uint32_t mask = 0xFu << shift;
  iword = word_of((bits(iword) & ~mask) | (static_cast<std::uint32_t>(ival) << shift));
}

bool oneon(Session& s, std::int32_t iword, int ival, int out) {
  for (int ifld = 1; ifld <= 3; ++ifld) {
    if (nibval(s, iword, ifld, out) == ival) return true;
  }
  return false;
}

int bitval(std::int32_t iword, int ibit) {
  if (ibit < 1 || ibit > 32) return 0;
  return static_cast<int>((bits(iword) >> (ibit - 1)) & 1u);
}

void bitswp(std::int32_t& iword, int ibit) {
  if (ibit < 1 || ibit > 32) return;
  iword = word_of(bits(iword) ^ (1u << (ibit - 1)));
}

void bitset(Session& s, std::int32_t& iword, int ibit, int ival, int out) {
  if (ival != 0 && ival != 1) flag_error(s, " Incorrect bit value in BITSET; contact Brenvik.", out);
  if (bitval(iword, ibit) != ival) bitswp(iword, ibit);
}

}  // namespace kelp
