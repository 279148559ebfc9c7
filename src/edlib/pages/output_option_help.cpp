// Help books of the two output-option pages. Keys are the item numbers of
// the pages (items sharing a note use the key of the first).
#include "edlib/pages/output_option_pages.hpp"

namespace kelp {

namespace {

constexpr std::string_view kTitle = "                     ****  Output Definition Notes  ****";
constexpr std::string_view kNoHelp = "\n ++> Sorry, no help for this line...\n";

constexpr HelpText kOutputTexts[] = {
    {1,
     "     The output of each degree of freedom (surge, sway, heave, roll,\n"
     "     pitch and yaw) can be included in or excluded from the reports.",
     false, nullptr, " ++> Item Numbers 1 -> 6"},
    {7,
     "     Angular RAOs are given either per degree of wave slope, which\n"
     "     makes them dimensionless, or per foot or meter of wave amplitude."},
    {8,
     "     The \"natural\" rotation centers of a floating body differ from its\n"
     "     center of gravity. The roll center, for example, is the point above\n"
     "     the keel through which a sway force produces no roll moment.\n"
     "     Motions and loads are reported either at these centers or at the\n"
     "     vessel c.g.",
     true},
    {11,
     "     Accelerations are given as an accelerometer fixed to the vessel at\n"
     "     the point would measure them: they include the variable component\n"
     "     of gravity that the angular motions bring along the vessel axes.",
     true},
    {12,
     "     Velocities are the first time derivative of the displacements at\n"
     "     the point.",
     true},
    {15,
     "     Point coordinates are given in the vessel system: x forward, y to\n"
     "     port and z up, with the origin at keel level directly below the\n"
     "     plan-view center of gravity.\n"
     "\n"
     "                      x\n"
     "                      ^\n"
     "                     / \\\n"
     "                    |   |\n"
     "               y <--|-+ |     + : plan-view c.g.\n"
     "                    |   |\n"
     "                    |___|",
     true},
    {16,
     "     \"Yes\" replaces the displacement RAOs at the points by RAOs of the\n"
     "     relative motion between the vessel points and the undisturbed\n"
     "     water particles, for example to obtain air-gap statistics."},
    {17,
     "     Relative motion is taken either against the water surface above or\n"
     "     below the point, or against the fluid at the depth of the point,\n"
     "     whose motion is attenuated with depth."},
};

constexpr HelpText kMoreOutputTexts[] = {
    {1,
     "     The output of the motion RAOs and of the load (force and torque)\n"
     "     RAOs can be included in or excluded from the reports.",
     false, nullptr, " ++> Item Numbers 1 -> 2"},
    {3,
     "     With azimuthal spreading of the irregular seas, the RAOs of the\n"
     "     intermediate wave angles around the main direction can be included\n"
     "     in or excluded from the reports."},
    {9,
     "     With the debug option on, debugging information is written to the\n"
     "     screen during the run. It serves discussions with Brenvik support.",
     true},
};

}  // namespace

const HelpBook kOutputOptionsHelp = {.title = kTitle,
                                     .no_help = kNoHelp,
                                     .heading_on_no_help = false,
                                     .numbered_page_help = true,
                                     .texts = kOutputTexts};

const HelpBook kMoreOutputOptionsHelp = {.title = kTitle,
                                         .no_help = kNoHelp,
                                         .heading_on_no_help = false,
                                         .numbered_page_help = true,
                                         .texts = kMoreOutputTexts};

}  // namespace kelp
