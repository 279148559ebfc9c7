#include "edlib/pages/external_force_pages.hpp"

#include <cstddef>
#include <string>

#include "edlib/pagekit/leader_lines.hpp"
#include "edlib/pagekit/page_output.hpp"
#include "edlib/pagekit/page_pattern.hpp"
#include "edlib/pagekit/page_table.hpp"
#include "edlib/record/data_record.hpp"
#include "kelpkit/flag_fields.hpp"
#include "kelpkit/report_lines.hpp"
#include "kelpkit/toggles.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"
#include "sysutl/text.hpp"

namespace kelp {

namespace {

// Item heads and dot leaders of pages 11 and 11b end in column 47.
constexpr std::size_t kLeaderEnd = 47;
constexpr int kBlockItems = 20;  // numbers per block of page 11
constexpr int kBlocks = 3;

int out_of(const Session& s) { return s.tpcm.i(kOutputUnit); }
bool metric(const Session& s) { return s.tpcm.i(kUnitSystem) == kUnitsMetric; }
int ask_mode(const Session& s) { return s.tpcm.i(kBatchFlag); }

// ---- Page 11: the blocks ----

// Item 14 of a block (the height of the point of application) belongs to
// the kinds with vertical loads.
bool has_height(const Session& s) {
  const int kind = s.tpcm.i(kProgramKind);
  return kind == 14 || kind == 17;
}

enum class BlockUnit { kForce, kMoment, kSpectralForce, kSpectralMoment, kForceDamping, kMomentDamping, kLength };

struct BlockValue {
  int offset;
  std::string_view label;
  RealWord ForceBlockWords::*word;
  std::string_view descriptor;
  BlockUnit unit;
};

constexpr int kPeakOffset = 11;
constexpr int kHeightOffset = 14;

constexpr BlockValue kBlockValues[] = {
    {4, "Mean X force component", &ForceBlockWords::mean_x, "F11.2", BlockUnit::kForce},
    {5, "Mean Y force component", &ForceBlockWords::mean_y, "F11.2", BlockUnit::kForce},
    {6, "Mean applied Z moment (force couple) value", &ForceBlockWords::moment, "E11.3", BlockUnit::kMoment},
    {7, "Spectral value of force at resonance", &ForceBlockWords::spectral_force, "E11.3",
     BlockUnit::kSpectralForce},
    {8, "Spectral value of Z moment at yaw resonance", &ForceBlockWords::spectral_moment, "E11.3",
     BlockUnit::kSpectralMoment},
    {9, "Force-related damping at resonance", &ForceBlockWords::force_damping, "F11.2", BlockUnit::kForceDamping},
    {10, "Moment-related damping at yaw resonance", &ForceBlockWords::moment_damping, "F11.2",
     BlockUnit::kMomentDamping},
    {kPeakOffset, "Peak Factor Multiplier", &ForceBlockWords::peak_factor, "F11.2", BlockUnit::kForce},
    {12, "Applied force X-coordinate (from c.g.)", &ForceBlockWords::x, "F11.2", BlockUnit::kLength},
    {13, "Applied force Y-coordinate (from c.g.)", &ForceBlockWords::y, "F11.2", BlockUnit::kLength},
    {kHeightOffset, "Applied force Z-coordinate (from keel)", &ForceBlockWords::z, "F11.2", BlockUnit::kLength},
};

const BlockValue* block_value(int offset) {
  for (const BlockValue& v : kBlockValues) {
    if (v.offset == offset) return &v;
  }
  return nullptr;
}

std::string block_unit(const Session& s, BlockUnit unit, std::string_view moment_unit) {
  const int units = s.tpcm.i(kUnitSystem);
  const bool m = metric(s);
  switch (unit) {
    case BlockUnit::kForce: return unitp(units, 0);
    case BlockUnit::kMoment: return fixed(moment_unit, 13);
    case BlockUnit::kSpectralForce: return fixed(m ? " (m.ton)^2/(rad/s)" : " (kips)^2/(rad/s)", 20);
    case BlockUnit::kSpectralMoment: return fixed(m ? " (m.ton*m)^2/(rad/s)" : " (ft*kip)^2/(rad/s)", 20);
    case BlockUnit::kForceDamping: return fixed(m ? " m.ton/(m/s)" : " kips/(ft/s)", 20);
    case BlockUnit::kMomentDamping: return fixed(m ? " m.ton-meter/(rad/s)" : " kip-ft/(rad/s)", 20);
    case BlockUnit::kLength: return unitp(units, 7);
  }
  return {};
}

const ForceBlockWords& block_of(int base) {
  const int k = base / kBlockItems;
  return kExternalForces[static_cast<std::size_t>(k < 0 ? 0 : (k >= kBlocks ? kBlocks - 1 : k))];
}

// The line of item base + offset (2 to 14) of a block.
void block_line(Session& s, int out, const ForceBlockWords& b, int base, int offset, std::string_view moment_unit) {
  const auto& t = s.tpcm;
  const int item = base + offset;
  switch (offset) {
    case 2:
      fwrite(s, out, "(A,A)",
             {item_head(item, "Coordinate system of applied force", kLeaderEnd),
              fixed(t.i(b.frame) == 1 ? "   <<vessel>>" : "   <<global>>", 22)});
      return;
    case 3:
      fwrite(s, out, "(A,A)",
             {item_head(item, "Force applied to", kLeaderEnd), std::string(t.i(b.target) == 1 ? "   <<moorings>>"
                                                                                                : "   <<vessel>>")});
      return;
    default: break;
  }
  const BlockValue* v = block_value(offset);
  if (v == nullptr) return;
  const std::string head = item_head(item, v->label, kLeaderEnd);
  const float value = t.r(b.*(v->word));
  if (offset == kPeakOffset) {
    if (value <= 0.0f) {
      fwrite(s, out, "(A,11X,A)", {head, std::string(" Rayleigh")});
    } else {
      value_line(s, out, head, value, v->descriptor);
    }
    return;
  }
  value_line(s, out, head, value, v->descriptor, block_unit(s, v->unit, moment_unit));
}

void draw_block(Session& s, int out, const ForceBlockWords& b, int base, std::string_view moment_unit) {
  lines(s, out, 1);
  for (int offset = 2; offset <= 11; ++offset) block_line(s, out, b, base, offset, moment_unit);
  lines(s, out, 1);
  s.write_line(out, "    <<Vessel>>-System Coordinates of Applied Force:");
  block_line(s, out, b, base, 12, moment_unit);
  block_line(s, out, b, base, 13, moment_unit);
  if (has_height(s)) block_line(s, out, b, base, kHeightOffset, moment_unit);
}

void edit_block(Session& s, const ForceBlockWords& b, int base, int offset, std::string_view moment_unit) {
  auto& t = s.tpcm;
  const int out = out_of(s);
  if (offset == 1) toggle2(s, t.i(b.on), ask_mode(s), out, kKeyboard);
  // Nothing else of a block that is off can be edited.
  if (t.i(b.on) != 1) return;
  if (offset == 2) toggle3(s, t.i(b.frame), ask_mode(s), out, kKeyboard, "Vessel", "Global");
  if (offset == 3) toggle3(s, t.i(b.target), ask_mode(s), out, kKeyboard, "Moorings", "Vessel");
  const BlockValue* v = block_value(offset);
  if (v == nullptr || (offset == kHeightOffset && !has_height(s))) return;
  block_line(s, out, b, base, offset, moment_unit);
  edit_real(s, b.*(v->word), out);
}

constexpr std::string_view kSwitchLines[kBlocks] = {
    "(/' 1) ++> Simulate auxiliary force/moment on vessel:  ',A)",
    "(/'21) ++> Simulate SECOND auxiliary force/moment on vessel:  ',A)",
    "(/'41) ++> Simulate THIRD  auxiliary force/moment on vessel:  ',A)",
};

// ---- Page 11b ----

template <IntWord word, int bit>
bool bit_on(const Session& s) {
  return bitval(s.tpcm.i(word), bit) == 1;
}
bool spring_given(const Session& s) { return bit_on<kDpFlags, 1>(s) && !bit_on<kDpFlags, 2>(s); }
bool never(const Session&) { return false; }
bool always(const Session&) { return true; }

template <IntWord word, int bit>
void toggle_bit(Session& s, int) {
  auto& t = s.tpcm;
  const int out = out_of(s);
  int flag = bitval(t.i(word), bit);
  toggle2(s, flag, ask_mode(s), out, kKeyboard);
  bitset(s, t.i(word), bit, flag, out);
}

void heading_control_line(Session& s, int out) {
  fwrite(s, out, "(A,1X,A)",
         {item_head(1, "Simulate Dynamic Heading Control:", kLeaderEnd), yesno(bitval(s.tpcm.i(kDpFlags), 1))});
}
void heading_target_line(Session& s, int out) {
  value_line(s, out, item_head(2, "Global DP Heading Target", kLeaderEnd), s.tpcm.r(kDpHeadingTarget), "F11.2",
             " deg");
}
void yaw_damping_line(Session& s, int out) {
  value_line(s, out, item_head(3, "DP-imposed Yaw Damping", kLeaderEnd), s.tpcm.r(kDpYawDamping), "F11.2",
             " percent");
}
void spring_estimate_line(Session& s, int out) {
  fwrite(s, out, "(A,1X,A)",
         {item_head(4, "Use simulation DP torsion spring estimate", kLeaderEnd),
          yesno(bitval(s.tpcm.i(kDpFlags), 2))});
}
void spring_line(Session& s, int out) {
  value_line(s, out, item_head(5, "DP Torsional Spring Constant", kLeaderEnd), s.tpcm.r(kDpTorsionSpring), "F11.2",
             sprunit(3, s.tpcm.i(kUnitSystem)));
}

template <void (*line)(Session&, int)>
void draw_dp(Session& s, PageItems& w) {
  w.custom();
  line(s, w.out());
}

template <void (*line)(Session&, int), RealWord word>
void edit_dp(Session& s, int) {
  const int out = out_of(s);
  line(s, out);
  edit_real(s, word, out);
}

void no_line(Session&, PageItems&) {}

const Row kDpRows[] = {
    Row::custom(draw_dp<heading_control_line>, toggle_bit<kDpFlags, 1>).blank(),
    Row::custom(draw_dp<heading_target_line>, edit_dp<heading_target_line, kDpHeadingTarget>)
        .when(bit_on<kDpFlags, 1>)
        .blank(),
    Row::custom(draw_dp<yaw_damping_line>, edit_dp<yaw_damping_line, kDpYawDamping>).when(bit_on<kDpFlags, 1>),
    Row::custom(draw_dp<spring_estimate_line>, toggle_bit<kDpFlags, 2>).when(bit_on<kDpFlags, 1>),
    Row::custom(draw_dp<spring_line>, edit_dp<spring_line, kDpTorsionSpring>).when(spring_given),
    Row::gap(5),
    // Position control: no line of its own, but the switch answers to 11.
    Row::custom(no_line, toggle_bit<kDpPositionFlags, 1>).when(never).accept_when(always),
};

void dp_help(Session& s, int item) { dynfhp(s, item); }

const TablePage kDpPage = {.header_format = "(T4,'****  Page ',A,': Dynamic Positioning Controls  ****'/)",
                           .rows = kDpRows,
                           .help = dp_help,
                           .help_for = HelpFor::kAnyNumber};

// ---- The constant-force page ----

// Item heads of the constant-force page end in column 46.
constexpr std::size_t kConstantLeaderEnd = 46;

std::string constant_head(int item, std::string_view label) {
  return dotted(fmt::fortran("(1X,I1,') ',A,$)", item, std::string(label)), kConstantLeaderEnd);
}

void constant_line(Session& s, int out, const ConstantForce& f, int item) {
  const int units = s.tpcm.i(kUnitSystem);
  switch (item) {
    case 2: value_line(s, out, constant_head(2, "X force component"), f.x_force, "F11.2", unitp(units, 0)); break;
    case 3: value_line(s, out, constant_head(3, "Y force component"), f.y_force, "F11.2", unitp(units, 0)); break;
    case 4:
      value_line(s, out, constant_head(4, "Applied moment (force couple) value"), f.moment, "E11.3",
                 metric(s) ? " ton-meters" : " k. ft-lbs ");
      break;
    case 5:
      fwrite(s, out, "(1X,'5) Auxiliary force components defined in ',A,' coordinate system')",
             {std::string(f.frame == 1 ? "<<vessel>>" : "<<global>>")});
      break;
    case 6:
      value_line(s, out, constant_head(6, "Applied force X-coordinate (from c.g.)"), f.x, "F11.2", unitp(units, 7));
      break;
    case 7:
      value_line(s, out, constant_head(7, "Applied force Y-coordinate (from c.g.)"), f.y, "F11.2", unitp(units, 7));
      break;
    default: break;
  }
}

float* constant_value(const ConstantForce& f, int item) {
  switch (item) {
    case 2: return &f.x_force;
    case 3: return &f.y_force;
    case 4: return &f.moment;
    case 6: return &f.x;
    case 7: return &f.y;
    default: return nullptr;
  }
}

}  // namespace

void frcblok(Session& s, int base, int mode, int selection, std::string_view moment_unit) {
  const ForceBlockWords& b = block_of(base);
  if (mode == 0) {
    draw_block(s, out_of(s), b, base, moment_unit);
  } else {
    edit_block(s, b, base, selection - base, moment_unit);
  }
}

void extfrc2(Session& s, std::string_view label) {
  auto& t = s.tpcm;
  std::string moment_unit;
  PageHooks page;
  page.help_for = HelpFor::kAnyNumber;
  page.draw = [&](PageItems& w) {
    const int out = w.out();
    if (t.i(kPrintPass) == 0) clear(s, out);
    moment_unit = metric(s) ? " m.ton-meters" : " k. ft-lbs";
    fwrite(s, out, "(T4,'****  Page ',A,': External Force/Moment Specifications  ****'/)", {std::string(label)});
    // A block is offered while the one before it is on; the switches behind
    // a block that is off are cleared.
    bool offered[kBlocks] = {true, false, false};
    for (int k = 0; k < kBlocks; ++k) {
      const ForceBlockWords& b = kExternalForces[static_cast<std::size_t>(k)];
      if (!offered[k]) {
        t.i(b.on) = 0;
        continue;
      }
      fwrite(s, out, kSwitchLines[k], {yesno(t.i(b.on))});
      if (t.i(b.on) == 0) continue;
      frcblok(s, k * kBlockItems, 0, 0, moment_unit);
      if (k + 1 < kBlocks) offered[k + 1] = true;
    }
    // The numbers of the three blocks: a switch answers while hidden (its
    // block checks the switch before anything else).
    for (int k = 0; k < kBlocks; ++k) {
      const bool on = offered[k] && t.i(kExternalForces[static_cast<std::size_t>(k)].on) != 0;
      for (int offset = 1; offset <= kBlockItems; ++offset) {
        const bool shown = offset == 1 ? offered[k]
                                       : on && (offset < kHeightOffset || (offset == kHeightOffset && has_height(s)));
        if (shown) {
          w.custom();
        } else {
          w.hidden(offset == 1);
        }
      }
    }
  };
  page.edit = [&](int item) { frcblok(s, (item - 1) / kBlockItems * kBlockItems, 1, item, moment_unit); };
  page.help = [&](int item) { extfhp2(s, item); };
  run_page(s, page);
}

std::string sprunit(int kind, int unit_system) {
  const bool m = unit_system == kUnitsMetric;
  if (kind == 1) return fixed(m ? " m.ton/m" : " k.lb/ft", 16);
  return fixed(m ? " m.ton*m./radian" : " ft*kip/radian", 16);
}

void dpfrc(Session& s, std::string_view label) { run_table(s, kDpPage, label); }

void extfrc(Session& s, std::string_view label, std::string_view noun, const ConstantForce& f) {
  auto& t = s.tpcm;
  PageHooks page;
  page.help_for = HelpFor::kAnyNumber;
  page.draw = [&](PageItems& w) {
    const int out = w.out();
    if (t.i(kPrintPass) == 0) clear(s, out);
    fwrite(s, out, "(T4,'****  Page ',A,': ',A,' External Force/Moment Specification  ****'/)",
           {std::string(label), std::string(noun)});
    fwrite(s, out, "(/1X,'1) Simulate constant force/moment on vessel: ',A5)", {yesno(f.on)});
    w.custom();
    if (f.on == 0) {
      for (int item = 2; item <= 7; ++item) w.hidden();
      return;
    }
    lines(s, out, 1);
    for (int item = 2; item <= 7; ++item) {
      if (item == 6) {
        lines(s, out, 1);
        s.write_line(out, "    ++> Coordinates of Applied Force are in <<vessel>> system");
        lines(s, out, 1);
      }
      constant_line(s, out, f, item);
      w.custom();
    }
  };
  page.edit = [&](int item) {
    const int out = out_of(s);
    if (item == 1) {
      toggle2(s, f.on, ask_mode(s), out, kKeyboard);
    } else if (item == 5) {
      toggle3(s, f.frame, ask_mode(s), out, kKeyboard, "Vessel", "Global");
    } else if (float* value = constant_value(f, item)) {
      constant_line(s, out, f, item);
      enterf(s, *value, out, kKeyboard);
    }
  };
  page.help = [&](int item) { extfhp(s, item); };
  run_page(s, page);
}

}  // namespace kelp
