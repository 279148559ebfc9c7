#pragma once
// The two output-option pages of the mooring editor: what the simulation
// computes and reports (page 20: output switches, storm duration, lines
// excluded from the inertial correction, rotation of the global system,
// exchange of the two vessel blocks; page 21: statistics, peak line loads,
// square-law forces, motion reports, debug and output device), and their
// help routines.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "moor/e/line_exclusions.hpp"

namespace kelp {

class Session;

// Page 20 and page 21; label is the text printed after "Page ".
void morot1(Session& s, std::string_view label);
void morot2(Session& s, std::string_view label);

// Help of page 20 (item 0: every note the kind has), of page 21 and of its
// peak-load menu.
void mothp1(Session& s, int item);
void mothp2(Session& s, int item);
void mothp3(Session& s, int item);

// Kept for the run: the list of lines excluded from the inertial correction
// (refreshed from the record at each entry to page 20 while its count is
// above 0), and the peak line-load texts, whose entries 3 to 5 follow the
// sigma level of page 21 from its first display on.
inline constexpr std::size_t kPeakLoadEntries = 7;
inline constexpr std::size_t kSquareLawEntries = 5;
inline constexpr std::size_t kMenuTextChars = 75;
struct OutputOptionsState {
  std::array<std::int32_t, kLineListCapacity> excluded{};
  std::array<std::string, kPeakLoadEntries> pkldtp = {
      "++> Brenvik \"lower bound\" algorithm",
      "++> Brenvik \"upper bound\" algorithm",
      "++> API \"two-sigma LF, peak HF\" algorithm",
      "++> Brenvik \"two-sigma LF, peak HF\" algorithm",
      "++> API \"peak LF, two-sigma HF\" algorithm",
      "++> Brenvik \"full joint probability distribution\" algorithm",
      "",
  };
};

// The square-law treatments of word 142 (entries 4 and 5 blank).
inline constexpr std::array<std::string_view, kSquareLawEntries> kSqltyp = {
    "++> Resonant damping ONLY, no square-law driving forces",
    "++> Full square-law driving force calculation at all wave periods",
    "++> Resonant damping PLUS square-law driving forces on fixed vessel",
    "",
    "",
};

// Turns every global angle and force of the record clockwise by `degrees`
// (item 55 of page 20, after its prompts).
void rotate_global_system(Session& s, float degrees, int out);

}  // namespace kelp
