#pragma once
// The work areas of the mooring-line library: lincom (line solutions, load
// tables, stress-strain curves) and catcom (the static line state per line
// and the dynamic model's stiffnesses and motions).
//
// One of each lives as long as the session (Session::state<Lincom>() and
// Session::state<Catcom>(), each allocated once on the heap); routines take
// them explicitly. Line types t run 1..150, lines 1..150, elements i 1..25
// with nodes 1..26 (node 1 at the fairlead), table points j 1..90 and layer
// columns k 1..29.
//
// The disc-buoy kernel addresses some fields by their old word numbers
// (counted from 0); those numbers are noted beside the fields.
#include <array>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "moor/catlib/line_type.hpp"
#include "sysutl/session.hpp"

namespace kelp {

inline constexpr int kTablePoints = 90;
inline constexpr int kLayerColumns = 29;
inline constexpr int kCurvePoints = 30;
// Values of one load table: 90 points by 29 layer columns by 150 types.
inline constexpr std::size_t kLoadTableSize = std::size_t{kTablePoints} * kLayerColumns * kLineTypeCapacity;
// Values of one stress-strain array: 30 points by 25 elements by 150 types.
inline constexpr std::size_t kCurveArraySize = std::size_t{kCurvePoints} * kSublineCapacity * kLineTypeCapacity;

// Request code of a line: the line type is the code modulo 1024; a code
// above 1024 excludes the line.
inline constexpr int kRequestTypeModulus = 1024;

struct Lincom {
  Lincom();

  // ---- Solver state of the current line and step ----
  std::array<double, kSublineCapacity> sclwt{};       // SCLWT: w(i) / H, negative for a buoyant element
  std::array<double, kSublineCapacity> sclwt_pert{};  // SCLWT of the tension-step state
  std::array<double, 3 * kSublineCapacity> scaled_coef{};       // alpha_n(i) H^n (betald)
  std::array<double, 3 * kSublineCapacity> scaled_coef_pert{};  // the same at the perturbed tension
  std::array<double, kMaxNodes> tmptan{};  // TMPTAN: tangent of the line angle at each node
  std::array<double, kMaxNodes> secarr{};  // SECARR: sqrt(1 + TMPTAN^2)
  std::array<double, kMaxNodes> mean_tmptan{};
  std::array<double, kMaxNodes> mean_secarr{};
  std::array<float, kSublineCapacity> wave_numbers{};  // axial wave numbers of the current type (kelast)
  double dphld = 0.0;   // DPHLD: horizontal tension H of the solvers
  double dphld2 = 0.0;  // DPHLD2: the perturbed tension
  float span = 0.0f;          // vertical span that the solved line must meet
  float buoy_target = 0.0f;   // target depth of the buoyant element's middle below the fairlead; set by the caller
  float total_length = 0.0f;  // unstretched length of the current type
  float hmean = 0.0f;         // HMEAN: horizontal tension at the mean position
  double tpten0 = 0.0;        // TPTEN0: top tension of the mean state
  double btten0 = 0.0;        // BTTEN0: bottom tension of the mean state
  std::array<double, 2> tension_step_tensions{};   // top, bottom after the tension step
  std::array<double, 2> fairlead_step_tensions{};  // top, bottom after the fairlead step
  std::array<float, 2> end_tangents{};             // top, bottom tangent of the mean state
  float fxcomp = 0.0f, fzcomp = 0.0f;  // FXCOMP, FZCOMP: cosine and sine of the top angle
  float bxcomp = 0.0f, bzcomp = 0.0f;  // BXCOMP, BZCOMP: the same of the bottom angle
  double bottom_tangent = 0.0;         // slope of the sea bottom at touchdown; set by the caller (0 flat)
  double botln = 0.0;                  // BOTLN: grounded (stretched) length of the current solution
  double botlnm = 0.0;                 // BOTLNM: that of the mean state
  double dhfrac = 0.0;                 // DHFRAC: relative tension step, word 2,834,513 in the kernel's view
  float fairlead_step = 0.0f;          // fairlead step as a fraction of the line length
  int ityp = 0;                        // ITYP: current line type (kernel word 2,834,505)
  int touchdown_element = 0;           // element reaching the bottom, 0 for none; set by the caller
  int layer = 1;                       // layer column of the plain search, and setlyr's first-layer offset
  int layer_blended = 1;               // layer column found by setlyr
  float layer_spacing = 0.0f;          // spacing of the layer grid handed to setlyr
  int ielem = 0;                       // IELEM: the buoyant element of the buoyant-element search
  int strain_law_master = 0;           // non-zero lets load_alphas run (kernel word 2,834,696)

  // ---- Per line (index line - 1) ----
  std::array<std::int32_t, kLegCapacity> request_code{};       // kernel words 99 + line
  std::array<float, kLegCapacity> heading{};                   // line heading in degrees, kernel words 249 + line
  std::array<std::int32_t, kLegCapacity> inertia_exclusion{};  // non-zero: no inertia correction
  std::array<float, kLegCapacity> ranchr{};                    // RANCHR: range at the mean position, kernel words 849 + line
  std::array<float, kLegCapacity> line_offset{};               // vertical fairlead offset (kinds 14 and 17)
  std::array<double, kLegCapacity> top_angle_rate{};           // top-angle change per fairlead motion along the line

  // ---- Per type (index t - 1) ----
  std::array<float, kLineTypeCapacity> ref_tension{};  // reference tension handed to vrtlin

  // ---- Load tables ----
  std::array<float, kTablePoints> tension_points{};  // horizontal tensions indexing every table
  // (j, k, t) with the point index fastest; a column (k, t) is 90 values and
  // column (k + 1, t) follows it directly.
  std::vector<float> range_table;          // horizontal range at which point j is reached
  std::vector<float> bottom_length_table;  // grounded length
  std::vector<float> further_table;        // the dynamic spring routine's own table
  std::vector<float> top_tension_table;
  std::vector<float> top_angle_table;      // radians
  std::vector<float> bottom_angle_table;   // radians
  std::vector<float> topt_start;           // (90, 29): start tangents of load_alphas, per layer column

  // ---- Stress-strain curves (point, element, type), point index fastest ----
  std::vector<std::int32_t> curve_points;  // (25, 150): points of each element's curve
  std::vector<float> curve_tension;        // ascending
  std::vector<float> curve_strain;
  std::vector<float> curve_y2;             // spline second derivatives (natural ends)

  // ---- The disc-buoy kernel's nonlinear-correction table ----
  float nonlinear_step = 0.0f;                          // kernel word 2,834,514
  std::array<float, kTablePoints> nonlinear_table{};    // kernel words 2,834,605..2,834,694

  // Position of (j, k, t) in a load table; the indices are held to the table.
  static std::size_t table_index(int j, int k, int t);
  // Column (k, t) of a load table and everything after it, so that a search
  // blended towards the next column reads it.
  static std::span<const float> column(const std::vector<float>& table, int k, int t);
  // Curve of element i of type t: its first point and the points after it.
  static std::size_t curve_index(int i, int t);
  std::span<const float> curve(const std::vector<float>& a, int i, int t) const;
  int curve_count(int i, int t) const;  // held to 2..30
};

struct Catcom {
  // ---- Dynamic model of the current line ----
  double dxfdp = 0.0, dxfdt = 0.0, dzfdp = 0.0, dzfdt = 0.0;  // fairlead span derivatives (damping)
  float k_elastic = 0.0f;        // axial stiffness of the line
  float k_catenary = 0.0f;       // catenary stiffness
  float k_total = 0.0f;          // total stiffness
  float stiffness_ratio = 0.0f;  // catenary over elastic
  double span_determinant = 0.0;
  std::complex<float> top_motion{};
  std::complex<float> bottom_motion{};
  std::complex<float> base_value{};  // zero: the value that means "no motion"

  // ---- Static line state per line: nodes (node, line), node index fastest ----
  static constexpr std::size_t kNodeArray = std::size_t{kMaxNodes} * kLegCapacity;
  std::array<float, kNodeArray> dxsdzf{};  // DXSDZF: horizontal distance node-anchor per fairlead rise (kernel words 26(line-1) + 41 + node)
  std::array<float, kNodeArray> dzsdzf{};  // DZSDZF: node height per fairlead rise
  std::array<float, kNodeArray> dxsdh{};   // DXSDH: horizontal distance per horizontal tension (kernel words 26(line-1) + 7841 + node)
  std::array<float, kNodeArray> dzsdh{};   // DZSDH: node height per horizontal tension
  // Per line (index line - 1).
  std::array<float, kLegCapacity> top_rise_rate{};      // top tension per fairlead rise at fixed range (kernel 15641 + line)
  std::array<float, kLegCapacity> bottom_rise_rate{};
  std::array<float, kLegCapacity> top_axial_rate{};     // top tension per fairlead motion along the line
  std::array<float, kLegCapacity> bottom_axial_rate{};
  std::array<float, kLegCapacity> top_range_rate{};     // top tension per unit range (kernel 16241 + line)
  std::array<float, kLegCapacity> bottom_range_rate{};
  std::array<float, kLegCapacity> vforce_rise_rate{};     // minus top vertical force per fairlead rise (kernel 16541 + line)
  std::array<float, kLegCapacity> vforce_tension_rate{};  // minus top vertical force per horizontal tension (kernel 16691 + line)
  std::array<float, kNodeArray> mean_tangent{};      // mean-state node tangents

  static std::size_t node_index(int node, int line) {
    return static_cast<std::size_t>(node - 1) + std::size_t{kMaxNodes} * static_cast<std::size_t>(line - 1);
  }
};

// The session's work areas.
inline Lincom& lincom(Session& s) { return s.state<Lincom>(); }
inline Catcom& catcom(Session& s) { return s.state<Catcom>(); }

}  // namespace kelp
