#include "others/editor_loop.hpp"

#include <array>

#include "edlib/frame/kind_dispatch.hpp"
#include "edlib/frame/loading.hpp"
#include "edlib/frame/page_loop.hpp"
#include "edlib/record/data_record.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"

namespace kelp {

namespace {

int slots(const EditorLoop& e) { return static_cast<int>(e.routes.size()); }

const SlotRoute& route_of(const EditorLoop& e, int slot) { return e.routes[static_cast<std::size_t>(slot - 1)]; }

// Loads (or starts a print pass) and returns the first slot.
int start(Session& s, const EditorLoop& e, const Identity& id) {
  char letter = ' ';
  const int status = ioinit(s, id, e.record_words, letter);
  if (status == kLoadPrintPass) return 1;
  if (status == kLoadExecute) return slots(e);
  e.defaults(s.tpcm, letter);
  return 1;
}

}  // namespace

int editor_jump_slot(const EditorLoop& e, int n) { return n >= 2 && n <= slots(e) ? n : 1; }

bool editor_slot_shown(const EditorLoop& e, int slot, const Tpcm& t) {
  if (e.conditions.empty()) return true;
  const SlotCondition& c = e.conditions[static_cast<std::size_t>(slot - 1)];
  return c.shown == nullptr || c.shown(t);
}

int editor_route(const EditorLoop& e, int slot, int code, int jump_target, const Tpcm& t, bool empty) {
  const SlotRoute& r = route_of(e, slot);
  const bool passes_on = empty && slot != slots(e);
  switch (code) {
    case kNavJump: return editor_jump_slot(e, jump_target);
    case kNavFirst: return 1;
    case kNavLast: return r.last;
    case kNavExecute: return r.execute;
    case kNavSkip: return r.skip;
    case kNavKeys: return passes_on ? slot + 1 : r.keys;
    case kNavBack: return r.back_test != nullptr && r.back_test(t) ? r.back_alt : r.back;
    case 0: return r.zero;
    default: break;
  }
  if (code > 0) return r.positive;
  return passes_on ? slot + 1 : r.other;
}

void run_editor(Session& s, const EditorLoop& e, std::span<const EditorPage> pages) {
  Tpcm& t = s.tpcm;
  Identity id;
  kind_dispatch(s).run_identity(s, e.kind, id);
  t.i(kPrintPass) = 0;

  const int final_slot = slots(e);
  int slot = start(s, e, id);
  for (;;) {
    if (slot == kEditorEndStep) {
      if (!end_step(s, id, e.record_words, false)) return;
      slot = final_slot;
      continue;
    }
    enter_page(t);

    if (!editor_slot_shown(e, slot, t)) {
      const int code = t.i(kNavCode);
      slot = code == kNavBack ? editor_route(e, slot, code, t.i(kPageCounter), t, true)
                              : e.conditions[static_cast<std::size_t>(slot - 1)].passed_to(t);
      continue;
    }
    const std::size_t index = static_cast<std::size_t>(slot - 1);
    const bool ran = index < pages.size() && pages[index];
    if (ran) pages[index](s);
    if (e.after_slot != nullptr) e.after_slot(t, slot);

    // A print pass requested or running on the final page: the banner goes
    // to the listing and every page runs again in print mode.
    if (slot == final_slot && t.i(kPrintPass) != 0) {
      slot = start(s, e, id);
      continue;
    }
    slot = editor_route(e, slot, t.i(kNavCode), t.i(kPageCounter), t, !ran);
  }
}

}  // namespace kelp

namespace kelp {

namespace {

constexpr int kVesselSlots = 17;

constexpr std::array<SlotRoute, kVesselSlots> make_vessel_routes() {
  std::array<SlotRoute, kVesselSlots> a{};
  for (int k = 1; k < kVesselSlots; ++k) {
    const int previous = k == 1 ? kVesselSlots : k - 1;
    a[static_cast<std::size_t>(k - 1)] = {.keys = k,
                                          .skip = k + 2,
                                          .back = previous,
                                          .other = k <= 9 ? previous : k + 1,
                                          .zero = k + 1,
                                          .positive = k + 1,
                                          .last = kVesselSlots,
                                          .execute = kVesselSlots};
  }
  a[3].keys = 3;
  a[2].skip = 6;
  a[15].skip = 1;
  a[16] = {.keys = 17, .skip = 2, .back = 16, .other = kEditorEndStep, .zero = 1,
           .positive = kEditorEndStep, .last = 17, .execute = kEditorEndStep};
  return a;
}

constexpr std::array<SlotRoute, kVesselSlots> kVesselRoutes = make_vessel_routes();

}  // namespace

std::span<const SlotRoute> vessel_editor_routes() { return kVesselRoutes; }

}  // namespace kelp
