#pragma once
// Screens that several tests expect character for character.

namespace kelp::testing {

// The End of Session page of the disc-buoy editor, up to its prompt.
inline constexpr const char* kDiscEndOfSessionPage =
    "                   ****  Page 10: End of Session  ****\n"
    "\n"
    "\n"
    " 1) Exit to operating system and update data file\n"
    " 2) Exit to operating system WITHOUT updating data file\n"
    "\n"
    " 3) Execute simulation in interactive mode\n"
    " 4) Execute simulation in silent mode\n"
    "\n"
    " 5) Produce diskfile of input data\n"
    " 6) Produce \"WAVEOUT\" file containing regular wave kinematics data\n"
    "\n"
    " 7) Import Vessel and environment data from an external file\n"
    "\n"
    "  (Press <RETURN> to review data)\n"
    " \n"
    " Enter number of selection (\"H\" for help): ";

// The vessel findings of a new record of either editor, as a run request
// lists them after the selection prompt: no particulars, no water depth.
inline constexpr const char* kNewRecordVesselFindings =
    " Enter number of selection (\"H\" for help): \n"
    " ++> Warning: A vessel GM is zero.\n"
    "\n"
    " ++> Fatal Warning: A vessel gyradii is nonpositive.\n"
    "\n"
    " ++> Fatal Warning: The water depth is nonpositive.\n"
    "\n"
    " ++> Warning: A vessel beam, length, draft,\n"
    "     or displacement is nonpositive.\n"
    "\n"
    " ++> Fatal Warning: A vessel water plane area is nonpositive.\n"
    "\n"
    " ++> Fatal Warning: A vessel draft exceeds water depth.\n";

}  // namespace kelp::testing
