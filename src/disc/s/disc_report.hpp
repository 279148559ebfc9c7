#pragma once
// The first two sections of the disc-buoy analysis report, on the report
// unit (word 108): section I, the physical characteristics of site and buoy;
// section II, the natural periods and quasi-linear dampings the kernel found,
// unmoored or with the mooring, and the regular wave used. When the report
// goes to the current output unit each section ends with the press-RETURN
// prompt and is written again while the reply is negative; on any other
// unit it is written once.

namespace kelp {

class Session;

void dsksum(Session& s);
void dskout(Session& s);

}  // namespace kelp
