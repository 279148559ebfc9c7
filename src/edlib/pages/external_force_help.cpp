// Help books of the external force/moment page, the dynamic positioning
// page and the constant-force page.
#include "edlib/pagekit/help_book.hpp"
#include "edlib/pages/external_force_pages.hpp"
#include "sysutl/session.hpp"

namespace kelp {

namespace {

constexpr std::string_view kNoLineHelp = "\n ++> Sorry, no help for this line...";
constexpr std::string_view kLoadNotesTitle = "                 ****  Vessel Environmental Load Notes  ****";

bool never(const Session&) { return false; }

// ---- External force/moment page ----

#define KELP_POINT_OF_APPLICATION                                           \
  "     The (x,y) force acts at the point given by the applied force\n"    \
  "     coordinates, in the vessel coordinate system: x towards the bow,\n" \
  "     y to port and z up, with the plan origin at the vessel's center\n" \
  "     of gravity."
#define KELP_OWN_MOMENT                                                    \
  "\n"                                                                    \
  "     A force applied away from the center of gravity produces a\n"     \
  "     moment of its own, independent of the moments given on this page."

constexpr std::string_view kForceAtPoint = KELP_POINT_OF_APPLICATION KELP_OWN_MOMENT;
constexpr std::string_view kCoordinates = KELP_POINT_OF_APPLICATION;
constexpr std::string_view kCouple =
    "     The applied moment is a pure force couple about an earth-vertical\n"
    "     axis.\n" KELP_OWN_MOMENT;

#undef KELP_POINT_OF_APPLICATION
#undef KELP_OWN_MOMENT

constexpr std::string_view kSpectral =
    "     The fluctuation of a load about its mean is set by a spectral\n"
    "     value at the natural period of the system: it excites that mode\n"
    "     at the resonance period the simulation estimates (a lightly damped\n"
    "     system under broad-band excitation). A zero-mean variable force is\n"
    "     made from a negligible mean force in the desired direction, for\n"
    "     example a global mean force of (0, 0.1), with a large spectral\n"
    "     value.";
constexpr std::string_view kDamping =
    "     The damping is a linearised incremental damping coefficient C of\n"
    "     the external load: force per velocity, acting in the direction of\n"
    "     the force, or moment per angular rate, acting about z. For a load\n"
    "     from square-law flow C is about 2F/V, with F the mean force and V\n"
    "     the mean speed.";

constexpr HelpText kAuxTexts[] = {
    {1,
     "     Up to three independent steady or variable forces and/or moments\n"
     "     can act on the vessel, each vessel-fixed or globally fixed. They\n"
     "     simulate thrusters, tugboats, constant-tension lines to an\n"
     "     earth-fixed point, or loads for which the simulation has no\n"
     "     built-in model, such as vortex-induced oscillation."},
    {2,
     "     The force components are given relative to a vessel-bound system\n"
     "     or to a globally fixed, stationary system. A thruster on the\n"
     "     vessel is vessel-fixed; a tug pulling in a constant earth-fixed\n"
     "     direction is global. Moments are pure force couples about a\n"
     "     vertical axis.",
     true},
    {3,
     "     Applying the load to the vessel or to the mooring structures\n"
     "     changes the reported net vessel (turret) loads, not the vessel's\n"
     "     offset. For example, for a turret-moored vessel a load applied to\n"
     "     the moorings is added to the turret loads, while the same load\n"
     "     applied to the vessel is taken up by the hull and is not seen in\n"
     "     the turret loads.",
     true},
    {4, kForceAtPoint, true, nullptr, " ++> Item Numbers 4 -> 5"},
    {5, kForceAtPoint, false, never},
    {6, kCouple, true},
    {7, kSpectral, true, nullptr, " ++> Item Numbers 7 -> 8"},
    {8, kSpectral, false, never},
    {9, kDamping, true, nullptr, " ++> Item Numbers 9 -> 10"},
    {10, kDamping, false, never},
    {11,
     "     The peak factor is the ratio of the peak to the RMS response; it\n"
     "     matters only when a spectral value is given. The default,\n"
     "     \"Rayleigh\", applies the factor of Rayleigh-distributed peaks for\n"
     "     the storm duration and the oscillation period (typically 2 to 4).\n"
     "     Entering 0 restores the default. A factor of sqrt(2) = 1.414\n"
     "     mimics a pure sinusoid.",
     true},
    {12, kCoordinates, true, nullptr, " ++> Item Numbers 12 -> 14"},
    {13, kCoordinates, false, never},
    {14, kCoordinates, false, never},
};

constexpr HelpBook kAuxHelp = {.title = "            ****  Vessel Auxiliary External Load Notes  ****",
                               .item_heading = " ++> Item Number  ",
                               .no_help = kNoLineHelp,
                               .heading_on_no_help = false,
                               .numbered_page_help = true,
                               .texts = kAuxTexts};

// ---- Dynamic positioning ----

constexpr HelpText kDpTexts[] = {
    {1,
     "     To emulate thrusters for dynamic heading and/or position control,\n"
     "     give the target vessel heading and position and the desired\n"
     "     linear damping coefficients. The simulation assumes sufficient\n"
     "     thruster force for the requested control in the given\n"
     "     environment; the thrust required can be estimated afterwards\n"
     "     from the thruster force and moment data of the simulation output.",
     false, nullptr, " ++> Item Number  1 -> 5, 11 ->19"},
};

constexpr HelpBook kDpHelp = {.title = kLoadNotesTitle,
                              .item_heading = " ++> Item Number  ",
                              .no_help = kNoLineHelp,
                              .heading_on_no_help = false,
                              .texts = kDpTexts};

// ---- Constant force ----

constexpr HelpText kConstantTexts[] = {
    {1,
     "     A constant force with a moment acts on the vessel. It represents\n"
     "     thrusters, tugs or constant-tension lines to an earth-fixed point."},
    {2,
     "     The force and the moment act at the given point on the vessel,\n"
     "     whose coordinates are in the vessel system. A force applied away\n"
     "     from the center of gravity adds a moment of its own, independent\n"
     "     of the moment given here.",
     false, nullptr, " ++> Item Numbers 2 -> 4"},
    {5,
     "     The force components are given in the vessel or in the global\n"
     "     coordinate system: a thruster fixed to the vessel uses the vessel\n"
     "     system.",
     false, nullptr, " ++> Item Number  5"},
    {6,
     "     The coordinates of the point of application, from the center of\n"
     "     gravity, in the vessel coordinate system.",
     false, nullptr, " ++> Item Numbers 6 -> 7"},
};

constexpr HelpBook kConstantHelp = {.title = kLoadNotesTitle,
                                    .item_heading = " ++> Item Number  ",
                                    .no_help = kNoLineHelp,
                                    .heading_on_no_help = false,
                                    .texts = kConstantTexts};

}  // namespace

// Items of the second and third blocks show the notes of the first.
void extfhp2(Session& s, int item) { show_help(s, kAuxHelp, item, item % 20); }

void dynfhp(Session& s, int item) {
  const bool covered = (item >= 1 && item <= 5) || (item >= 11 && item <= 19);
  show_help(s, kDpHelp, item, covered ? 1 : 0);
}

void extfhp(Session& s, int item) {
  int key = item;
  if (item >= 2 && item <= 4) key = 2;
  if (item == 7) key = 6;
  show_help(s, kConstantHelp, item, key);
}

}  // namespace kelp
