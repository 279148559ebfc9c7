// Help books of the vessel pages (hydrostatics, vessel types, gyradii and
// bilge, period and damping, dynamics). Keys are the item numbers of the pages.
#include "edlib/pages/vessel_pages.hpp"

#include "edlib/record/data_record.hpp"
#include "sysutl/session.hpp"

namespace kelp {

namespace {

constexpr std::string_view kTitle20 =
    " ********************  Vessel Definition Notes  ********************\n";
constexpr std::string_view kTitle21 =
    " *********************  Vessel Definition Notes  *********************\n";

// The mooring kinds that simulate several vessel types: page help of the
// hydrostatics page adds the vessel-type note.
bool several_types(const Session& s) {
  const int kind = s.tpcm.i(kProgramKind);
  return kind >= 10 && kind != 17;
}

// Page help of the period page goes on to the two mooring notes.
bool mooring_notes(const Session& s) { return s.tpcm.i(kProgramKind) == 13 || s.tpcm.i(kVesselType) == 4; }

constexpr HelpText kHydrostaticsTexts[] = {
    {1,
     "     Displacement comprises total simulated vessel weight: hull,\n"
     "     machinery, ballast, cargo and consumables, as the vessel floats\n"
     "     at the mean draft of this page."},
    {2,
     "     The metacentric heights (KM, GM), the centers of gravity and of\n"
     "     buoyancy (VKG, VKB) and the second moment of the water plane area\n"
     "     (IWP) are related by:\n"
     "\n"
     "          GM = KM - VKG\n"
     "          GM = IWP/(Displacement Volume) - (VKG-VKB)\n"
     "\n"
     "     For a rectangular water plane of length L and beam B:\n"
     "          IWP = L*B^3/12  (transverse)\n"
     "          IWP = B*L^3/12  (longitudinal)\n"
     "     For a circular water plane of radius R:\n"
     "          IWP = pi*R^4/4  (transverse and longitudinal)"},
    {4,
     "     VKB, the height of the center of buoyancy above the keel, is taken\n"
     "     from the vessel's hydrostatics. For displacement hulls it is\n"
     "     usually 1.0 to 1.2 times Draft/2.",
     true},
    {5,
     "     VKG, the height of the center of gravity above the keel.\n"
     "     VKG should include free-surface corrections, if any."},
    {6,
     "     The LCG-to-Midships distance is the longitudinal distance from the\n"
     "     vessel's center of gravity to midships. It is used with the\n"
     "     OCIMF-type moment coefficients, and is positive for a center of\n"
     "     gravity aft of midships."},
    {7,
     "     The water plane area may be obtained in three ways:\n"
     "       1) by calculation from the vessel's lines;\n"
     "       2) as beam times length times the water plane coefficient;\n"
     "       3) from the immersion curve (weight per unit of immersion)\n"
     "          divided by the water density.",
     true},
    {8,
     "     Length and beam are the total waterline length and beam, projected\n"
     "     on the vertical planes. For semisubmersibles use the sum of the\n"
     "     column waterlines, ignoring blanketing."},
    {10,
     "     The mean draft is the draft at zero trim and zero heel that gives\n"
     "     the same displacement.",
     true},
    {11,
     "     The vessel type selects the wave-frequency simulation that is used\n"
     "     for the vessel motions.",
     true, several_types},
    {12,
     "     This item opens a built-in database of nominal crude-oil tankers\n"
     "     that estimates a consistent set of vessel properties. Variations\n"
     "     about the mean values can reach 20%. The estimates suit hulls with\n"
     "     block coefficients above about .75."},
};

constexpr HelpText kVesselTypeTexts[] = {
    {1,
     "     This item causes the simulation to search for Hulvane\n"
     "     to evaluate wave-frequency vessel motion response."},
    {2,
     "     This item causes the simulation to search for Legrove\n"
     "     to evaluate wave-frequency vessel motion response."},
    {3,
     "     This item causes the simulation to search for Duvanta\n"
     "     to evaluate wave-frequency vessel motion response."},
    {4,
     "     This item causes the simulation to search for Rondixa\n"
     "     to evaluate wave-frequency vessel motion response."},
};

constexpr HelpText kGyradiiTexts[] = {
    {1,
     "     Pitch gyradii of slender displacement hulls are usually between\n"
     "     .24*Length and .30*Length."},
    {2,
     "     Roll gyradii are usually between .28*Beam and .40*Beam; most lie\n"
     "     between .32*Beam and .36*Beam. Vessels with loaded wing tanks, and\n"
     "     deep hulls, lie near the upper limit."},
    {3,
     "     The yaw gyradius is slightly larger than the pitch gyradius:\n"
     "\n"
     "          Yaw gyradius = SQRT(Pg^2 + Rg^2)\n"
     "\n"
     "     where Pg and Rg are the pitch and roll gyradii."},
    {5,
     "     The bilge radius and the bilge keel set the square-law roll\n"
     "     damping. When there is a bilge keel, the bilge radius is not used.",
     true},
    {6,
     "     The bilge keel length must be given. For Rondixa it is normally\n"
     "     the vessel circumference."},
    {7,
     "     The bilge keel width is the average width from the attach line to\n"
     "     the outboard edge of the keel."},
    {8,
     "     The average plan-view distance from the vessel centerline (the\n"
     "     axis of symmetry for Rondixa) to the bilge keel attach line."},
    {9,
     "     The vessel speed changes the wave encounter frequency. With large\n"
     "     negative speeds the encounter period can be multivalued, so results\n"
     "     in irregular waves need care. The item is best used for the effects\n"
     "     of forward speed on the RAOs.",
     true},
    {10,
     "     The direction of vessel motion in global coordinates: 0 degrees\n"
     "     for forward speed. Motion toward 90 degrees is the same as a\n"
     "     current heading of 270 degrees."},
    {11,
     "     Trim and heel are given in degrees, as right-hand-rule rotations\n"
     "     about the pitch (Vy) and roll (Vx) axes. The responses remain\n"
     "     earth-relative. The corrections are valid for angles below\n"
     "     10 degrees.",
     true},
    {13,
     "     User RAOs need a formatted file of complex, dimensionless RAOs\n"
     "     about the center of gravity for all six degrees of freedom, over\n"
     "     frequencies and headings; values between them are interpolated.\n"
     "     Maximum number of array frequencies = 121\n"
     "     Maximum number of attack angles in [0,360] circle = 145",
     true},
    {14,
     "     With user RAOs and a nonzero trim or heel, the RAOs apply either\n"
     "     in the \"Deck Vertical\" or in the \"Earth Vertical\" coordinate\n"
     "     system. This toggle chooses: \"Yes\" for Deck Vertical, \"No\" for\n"
     "     Earth Vertical."},
};

constexpr HelpText kPeriodTexts[] = {
    {1,
     "     Damping is computed internally unless it is specified, in percent\n"
     "     of critical damping. User values are simple linear damping,\n"
     "     independent of the waves; the internal estimates are an\n"
     "     \"equivalent linear damping\" that grows with wave height."},
    {7,
     "     Natural periods are normally computed internally. They may be\n"
     "     specified in special circumstances."},
    {13,
     "     Mooring loads are usually negligible against wave loads. For very\n"
     "     small vessels, such as the CALM buoy of a CALM-tanker system, stiff\n"
     "     moorings shift the surge, sway and yaw periods into the wave band.\n"
     "     This toggle evaluates the wave-frequency motions with or without\n"
     "     mooring feedback.",
     true, mooring_notes},
    {14,
     "     An unsupported and undocumented debugging option of Brenvik;\n"
     "     normally \"no\". It writes an \"OFFSETS\" output file of the static\n"
     "     force and moment balance of the vessel and mooring under\n"
     "     first-order wave forces, one row per 10 degree phase shift of the\n"
     "     wave field.",
     true, mooring_notes},
};

constexpr HelpText kDynamicsTexts[] = {
    {1,
     "     Wave-frequency surge, sway and yaw damping of the buoy motions\n"
     "     induced by the mooring is computed internally unless it is\n"
     "     specified, in percent of critical damping. It is distinct from the\n"
     "     low-frequency damping of the tanker-buoy system. User values are\n"
     "     simple linear damping; the internal estimates are an \"equivalent\n"
     "     linear damping\" that grows with the waves."},
    {7,
     "     The wave-frequency surge, sway and yaw natural periods of the buoy\n"
     "     in the hawser and mooring system are computed unless they are\n"
     "     specified. Because of the small inertia of the buoy they fall\n"
     "     inside the band of wave periods, unlike the periods of the\n"
     "     tanker-buoy system."},
};

}  // namespace

const HelpBook kHydrostaticsHelp = {.title = kTitle20, .texts = kHydrostaticsTexts};

const HelpBook kVesselTypeHelp = {.title = "                 ****  Vessel Definition Notes  ****",
                                  .item_heading = " ++> Item Number  ",
                                  .number_width = 1,
                                  .no_help = "\n ++> Sorry, no help for this line...\n",
                                  .heading_on_no_help = false,
                                  .numbered_page_help = true,
                                  .texts = kVesselTypeTexts};

const HelpBook kGyradiiHelp = {
    .title = kTitle21, .no_help = "\n ++> Sorry, no help for this item...\n", .texts = kGyradiiTexts};

const HelpBook kPeriodHelp = {.title = kTitle21, .texts = kPeriodTexts};

const HelpBook kDynamicsHelp = {.title = kTitle21, .texts = kDynamicsTexts};

}  // namespace kelp
