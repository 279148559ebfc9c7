#pragma once
// The vessel pages shared by the disc-buoy editor (pages 2, 3 and 4) and the
// mooring editor (pages 7, 8, 9 and 9b): hydrostatics, gyradii and bilge,
// period and damping, dynamics, with their help books. Both editors hand the pages the same
// words of tpcm, so every page works on the session's record directly; the
// page label and the vessel noun are the only arguments.
//
// Every page leaves its navigation code in word 699 (the number after a
// command letter in word 700), draws on the output unit of word 702 and
// prints itself once into the listing during a print pass (word 701).
#include <string>
#include <string_view>

#include "edlib/pagekit/help_book.hpp"

namespace kelp {

class Session;

// ---- Hydrostatics ----
// "Page <label>: <noun> Hydrostatic Characteristics": displacement, KMT,
// KML, VKB, VKG, LCG-to-midships, waterplane area, waterline length and
// beam, mean draft; the vessel type (kinds 3, and above 9 except 14 and 17)
// and the average-tanker estimates (vessel type 1).
void vesel1(Session& s, std::string_view label, std::string_view noun);

// Name of a vessel type as shown on the hydrostatics page (" Undefined!"
// outside 1..6).
std::string vessel_type_name(int type);

// ---- Gyradii and bilge ----
// "Page <label>: <noun> Gyradii and Bilge Specifications".
void vesel2(Session& s, std::string_view label, std::string_view noun);

// ---- Period and damping ----
// "Page <label>: <noun> Period and Damping Specifications": heave, pitch
// and roll damping and periods, computed or specified.
void vesel3(Session& s, std::string_view label, std::string_view noun);

// ---- Dynamics ----
// "Page <label>: <noun> Dynamics Specifications": the surge, sway and yaw
// twin of the period and damping page (the mooring editor's page 9b).
void vesel4(Session& s, std::string_view label, std::string_view noun);

// The help books of the pages (vessel_help.cpp), keyed by item number; the
// vessel-type book by choice number.
extern const HelpBook kHydrostaticsHelp;
extern const HelpBook kVesselTypeHelp;
extern const HelpBook kGyradiiHelp;
extern const HelpBook kPeriodHelp;
extern const HelpBook kDynamicsHelp;

}  // namespace kelp
