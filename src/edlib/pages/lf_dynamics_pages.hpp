#pragma once
// The pages that choose the dynamics of a moored vessel and its regular
// excitation:
//   quasck  whether low-frequency dynamics are computed, and whether the
//           surge, sway and yaw damping is computed or user-specified;
//   extend  imposed line (or SALM) extension or regular waves;
//   morreg  the periods and the amplitude of that excitation.
// Each works on the session's record, leaves its navigation code in word 699
// (the number after a command letter in word 700), draws on the output unit
// of word 702 and prints itself once into the listing during a print pass
// (word 701). Their help (quashp, exthlp, reghlp_extension) is in
// lf_dynamics_help.cpp.
#include <string_view>

namespace kelp {

class Session;

// "Page <label>: Low-frequency dynamics selection". The page is not left
// while a user-specified damping is not above 0 (low-frequency dynamics on).
void quasck(Session& s, std::string_view label);
// The notes of the page: item 0 all of them, n the note of item n.
void quashp(Session& s, int item);

// "Page <label>: Line (Salm) Extension / Regular wave characteristics": one
// item, the switch of word 1907; any other selection leaves the page.
void extend(Session& s, std::string_view label);
// The notes of the page; variant 0 for the SALM kind (11), 11 for kind 10
// (a tugboat), 1 otherwise.
void exthlp(Session& s, int item, int variant);

// "Page <label>: Regular Wave Characteristics" (or "<name> Extension
// Characteristics" while word 1907 is set): the periods, height or slope,
// amplitude and wave heading.
void morreg(Session& s, std::string_view label);
// Most periods of the regular excitation.
inline constexpr int kPeriodsMax = 100;
// The regular-wave notes in the mooring editor's form: those of the
// regular-wave page, with the note on the extension amplitude after the
// height note.
void reghlp_extension(Session& s, int item);

}  // namespace kelp
