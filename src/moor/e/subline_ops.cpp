#include "moor/e/subline_ops.hpp"

#include <array>
#include <cstddef>
#include <optional>
#include <utility>

#include "edlib/record/data_record.hpp"
#include "sysutl/fortran_read.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

// Type numbers accepted from a reply.
constexpr int kHighestTypeReply = 998;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Defaults a cleared element takes.

// The words of one element, in the order copy and swap move them: the two
// words of its composition, then its values.
struct ElementView {
  std::size_t composition;
  std::array<std::size_t, 11> values;
};

std::optional<ElementView> element_view(int s, int t) {
  const auto name = composition_word(s, t);
  if (!name) return std::nullopt;
  ElementView v{*name, {}};
  std::size_t k = 0;
  for (ElementField f : {ElementField::kLength, ElementField::kDiameter, ElementField::kImmersedWeight,
                         ElementField::kDryWeight, ElementField::kReserve, ElementField::kAddedMass,
                         ElementField::kDrag, ElementField::kBreakingStrength}) {
    v.values[k++] = *element_word(f, s, t);
  }
  for (int c = 1; c <= 3; ++c) v.values[k++] = *compliance_word(s, t, c);
  return v;
}

// The per-type values that travel with elements. Clump weight and buoyancy
// go with every element, in this order; anchor depth and bottom flag only
// between last sublines.
//
// The buoyancy (78391 + t) and clump-weight (78403 + t) tables are 12 words
// apart, so from type 13 on the buoyancy of type t is the clump weight of
// type t - 12, and the clump weights of the higher types lie on words that
// other tables use. The operations still move these words for every type, as
// the editor always has: data files rely on the words as they stand.
struct TypeView {
  std::size_t clump;
  std::size_t buoyancy;
  std::size_t anchor_depth;
  std::size_t bottom_flag;
  std::size_t sublines;
};

std::optional<TypeView> type_view(int t) {
  const auto depth = anchor_depth_word(t);
  if (!depth) return std::nullopt;
  const auto type = static_cast<std::size_t>(t);
  return TypeView{78403 + type, 78391 + type, *depth, *bottom_flag_word(t), *type_sublines_word(t)};
}

bool is_last(const Tpcm& r, int s, const TypeView& t) { return s == r.i(t.sublines); }

}  // namespace

void clrdat(Tpcm& r, int s, int t) {
  const auto e = element_view(s, t);
  const auto ty = type_view(t);
  if (!e || !ty) return;
  r.set_text(e->composition, kSegmentNameChars, "");
  for (std::size_t w : e->values) r.set_r(w, 0.0f);
  r.i(*element_word(ElementField::kAddedMass, s, t)) = r.bits(kElementAddedMass);
  r.i(*element_word(ElementField::kDrag, s, t)) = r.bits(kElementDrag);
  if (is_last(r, s, *ty)) {
    r.i(ty->anchor_depth) = r.bits(kDefaultAnchorDepth);
    r.i(ty->bottom_flag) = r.i(kDefaultBottomFlag);
  }
  r.set_r(ty->clump, 0.0f);
  r.set_r(ty->buoyancy, 0.0f);
}

// Values move as whole words, so every bit pattern arrives as it left.
void copy_subline(Tpcm& r, int s_to, int s_from, int t_to, int t_from) {
  const auto to = element_view(s_to, t_to);
  const auto from = element_view(s_from, t_from);
  const auto tt = type_view(t_to);
  const auto tf = type_view(t_from);
  if (!to || !from || !tt || !tf) return;
  r.set_text(to->composition, kSegmentNameChars, r.text(from->composition, kSegmentNameChars));
  for (std::size_t k = 0; k < to->values.size(); ++k) r.i(to->values[k]) = r.i(from->values[k]);
  r.i(tt->clump) = r.i(tf->clump);
  r.i(tt->buoyancy) = r.i(tf->buoyancy);
  if (is_last(r, s_to, *tt) && is_last(r, s_from, *tf)) {
    r.i(tt->anchor_depth) = r.i(tf->anchor_depth);
    r.i(tt->bottom_flag) = r.i(tf->bottom_flag);
  }
}

void swap_subline(Tpcm& r, int s1, int s2, int t1, int t2) {
  const auto a = element_view(s1, t1);
  const auto b = element_view(s2, t2);
  const auto ta = type_view(t1);
  const auto tb = type_view(t2);
  if (!a || !b || !ta || !tb) return;
  std::string name_a = r.text(a->composition, kSegmentNameChars);
  std::string name_b = r.text(b->composition, kSegmentNameChars);
  swapc(name_a, name_b);
  r.set_text(a->composition, kSegmentNameChars, name_a);
  r.set_text(b->composition, kSegmentNameChars, name_b);
  for (std::size_t k = 0; k < a->values.size(); ++k) swapi(r.i(a->values[k]), r.i(b->values[k]));
  swapi(r.i(ta->clump), r.i(tb->clump));
  swapi(r.i(ta->buoyancy), r.i(tb->buoyancy));
  if (is_last(r, s1, *ta) && is_last(r, s2, *tb)) {
    swapi(r.i(ta->anchor_depth), r.i(tb->anchor_depth));
    swapi(r.i(ta->bottom_flag), r.i(tb->bottom_flag));
  }
}

void swapi(int& a, int& b) { std::swap(a, b); }

void swapx(float& a, float& b) { std::swap(a, b); }

void swapc(std::string& a, std::string& b) {
  std::string old_a = a;
  const auto na = a.size();
  const auto nb = b.size();
  a = b;
  a.resize(na, ' ');
  b = std::move(old_a);
  b.resize(nb, ' ');
}

void read_type(Session& s, int& blank, char& letter, int& number, int in) {
  const std::string field = s.read_field(in, 3);
  if (field.find_first_not_of(' ') == std::string::npos) {
    blank = 1;
    number = 0;
    return;
  }
  blank = 0;
  if (!is_digit(field[0])) {
    number = 0;
    letter = field[0];
    return;
  }
  letter = ' ';
  const auto n = fin::read_int_bn(field);
  if (!n) {
    blank = 1;
    number = 0;
    return;
  }
  number = *n > kHighestTypeReply || *n < 1 ? 0 : *n;
}

void enter_type(Session& s, char& letter, int out, int in) {
  wrtlin(s, "Enter new type: ", out);
  readc(s, letter, in);
}

}  // namespace kelp
