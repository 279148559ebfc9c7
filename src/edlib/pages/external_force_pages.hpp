#pragma once
// Auxiliary loads on the vessel: the external force/moment page with its
// three chained blocks (page 11 of the mooring editor), the dynamic
// positioning page (page 11b), and the single constant-force page of the
// editors that hand it their own values.
//
// Every page leaves its navigation code in word 699 (the number after a
// command letter in word 700), draws on the output unit of word 702, asks
// yes/no questions by word 13 and prints itself once into the listing
// during a print pass (word 701).
#include <string>
#include <string_view>

namespace kelp {

class Session;

// "Page <label>: External Force/Moment Specifications": up to three
// auxiliary loads; block 2 is offered while block 1 is on, block 3 while
// block 2 is on (the switches behind a block that is off are cleared).
void extfrc2(Session& s, std::string_view label);

// One block of the page: base 0, 20 or 40 (items base + 1 to base + 14).
// Mode 0 writes the block's items 2 to 14, mode 1 edits item `selection`.
// The moment unit is the page's 13-character text.
void frcblok(Session& s, int base, int mode, int selection, std::string_view moment_unit);

// "Page <label>: Dynamic Positioning Controls": heading control (bit 1 of
// word 1442), its target, yaw damping and torsional spring, or the
// simulation's spring estimate (bit 2).
void dpfrc(Session& s, std::string_view label);

// The unit of a spring constant in 16 characters: kind 1 translational,
// any other rotational; metric when the unit system is 1.
std::string sprunit(int kind, int unit_system);

// The values of the constant-force page, owned by its caller.
struct ConstantForce {
  int& on;
  float& x_force;
  float& y_force;
  float& x;       // point of application from the c.g., vessel system
  float& y;
  float& moment;
  int& frame;     // 1 vessel, otherwise global
};

// "Page <label>: <noun> External Force/Moment Specification": one constant
// force with a moment.
void extfrc(Session& s, std::string_view label, std::string_view noun, const ConstantForce& f);

// Help of the three pages (external_force_help.cpp); item 0: the page.
void extfhp2(Session& s, int item);
void dynfhp(Session& s, int item);
void extfhp(Session& s, int item);

}  // namespace kelp
