#pragma once
// The line-material calculator: from a nominal diameter and a material of the
// built-in table (chain, wire rope, synthetic rope) it estimates the weight
// per unit length in air, freshwater or seawater, the breaking strength, or
// the three compliance coefficients of e(T) = a1 T + a2 T^2 + a3 T^3, which
// may instead be fitted to a measured curve. Its three help routines explain
// its menus.
#include <array>
#include <string_view>

namespace kelp {

class Session;

// What help_materials estimates (argument mode).
inline constexpr int kEstimateSubmergedWeight = 0;  // kips/ft or metric tons/m
inline constexpr int kEstimateCompliance = 1;       // coeff j in (kips)^-j or (metric tons)^-j
inline constexpr int kEstimateStrength = 2;         // kips or metric tons
inline constexpr int kEstimateDryWeight = 3;        // kips/ft or metric tons/m

// One row of the built-in material table. The dry weight of a line of
// nominal diameter d inches is 0.001 wia d^2 kips/ft, its breaking strength
// bc1 d^bc2 kips, and its strain at tension T is elas1 (T/BS) + elas2
// (T/BS)^2 + elas3 (T/BS)^3. Rows without a menu text are not offered.
struct LineMaterial {
  std::string_view menu;
  float spg;
  float wia;
  float bc1;
  float bc2;
  float elas1;
  float elas2;
  float elas3;
};
inline constexpr int kMaterialRows = 20;
// Row m (1..20) of the table.
const LineMaterial& line_material(int m);

// The calculator. units is word 116 of tpcm (0 English: d in inches; 1
// metric: d in millimetres). Modes 0, 2 and 3 store their estimate in
// result; mode 1 stores the coefficients in coeff (from the fit, or from the
// table, the breaking strength then going to result too). Leaving a menu
// with 0 or a command, or an estimate that is not a finite number, changes
// nothing.
void help_materials(Session& s, float& result, std::array<float, 3>& coeff, int units, float d, int mode, int out,
                    int in);

// Help of the compliance-method menu, the medium menu and the material menu:
// item 0 for all notes, n for the note of item n.
void hhlp1(Session& s, int out, int in, int item);
void hhlp2(Session& s, int out, int in, int item);
void hhlp3(Session& s, int out, int in, int item);

// The pieces of every material help screen: the screen cleared and the
// headline "****  Material Properties Help Notes  ****" from column 19; an
// empty line and " ++> Item Number  " with the number.
void material_notes_title(Session& s, int out);
void material_item_number(Session& s, int out, int item);

}  // namespace kelp
