#pragma once
// The vessel pages shared by the disc-buoy editor (pages 2, 3 and 4) and the
// mooring editor (pages 7, 8 and 9): hydrostatics, gyradii and bilge, period
// and damping, with their help texts. Both editors hand the pages the same
// words of tpcm, so every page works on the session's record directly; the
// page label and the vessel noun are the only arguments.
//
// Every page leaves its navigation code in word 699 (the number after a
// command letter in word 700), draws on the output unit of word 702 and
// prints itself once into the listing during a print pass (word 701).
#include <string>
#include <string_view>

namespace kelp {

class Session;

// ---- Hydrostatics ----
// "Page <label>: <noun> Hydrostatic Characteristics": displacement, KMT,
// KML, VKB, VKG, LCG-to-midships, waterplane area, waterline length and
// beam, mean draft; the vessel type (kinds 3, and above 9 except 14 and 17)
// and the average-tanker estimates (vessel type 1).
void vesel1(Session& s, std::string_view label, std::string_view noun);

// Help of the hydrostatics page: item help (item >= 1, text of `key`) or
// page help (item 0; flag 2 adds the vessel-type text). Ends with a wait.
void v1hlp(Session& s, int out, int in, int item, int key, int flag);

// Help on the vessel-type choices: choice n (1 to 4), all four for n = 0.
void mrhp3b(Session& s, int out, int in, int item, int kind);

// Name of a vessel type as shown on the hydrostatics page (" Undefined!"
// outside 1..6).
std::string vessel_type_name(int type);

// ---- Gyradii and bilge ----
// "Page <label>: <noun> Gyradii and Bilge Specifications".
void vesel2(Session& s, std::string_view label, std::string_view noun);

// Help of the gyradii page: item help (item >= 1) or page help (item 0).
void v2help(Session& s, int out, int in, int item, int key);

// ---- Period and damping ----
// "Page <label>: <noun> Period and Damping Specifications".
void vesel3(Session& s, std::string_view label, std::string_view noun);

// Help of the period and damping page: item help (item >= 1) or page help
// (item 0; flag 2 adds the two mooring texts).
void v3hlp(Session& s, int out, int in, int item, int key, int flag);

}  // namespace kelp
