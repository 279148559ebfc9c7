#include "disc/e/disced.hpp"

#include "edlib/frame/loading.hpp"
#include "edlib/frame/page_loop.hpp"
#include "edlib/record/data_record.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"

namespace kelp {

namespace {

constexpr int kFinalSlot = 17;
constexpr int kDiscKind = 4;

// Session defaults of an editing run (not of a print pass or an execute).
void session_defaults(Tpcm& t) {
  t.i(kSubEditorKind) = 0;
  t.i(kSessionReserved) = 0;
  t.i(kIrregularHeadingLimit) = 37;
  t.i(kSeaCaseLimit) = 6;
  t.i(kSpreadLimit) = 36;
  t.i(kRegularHeadingLimit) = 12;
  t.i(kVesselType) = 4;
  t.i(kMemberModel) = 0;
  t.i(kNoMotionsSummary) = 0;
}

// Loads (or starts a print pass) and returns the first slot.
int start(Session& s, const Identity& id) {
  char letter = ' ';
  const int status = ioinit(s, id, kDiscRecordWords, letter);
  if (status == kLoadPrintPass) return 1;
  if (status == kLoadExecute) return kFinalSlot;
  session_defaults(s.tpcm);
  return 1;
}

}  // namespace

int disc_jump_slot(int n) { return n >= 2 && n <= kFinalSlot ? n : 1; }

int disc_route(int slot, int code, int jump_target, bool empty) {
  if (slot == kFinalSlot) {
    switch (code) {
      case kNavJump: return disc_jump_slot(jump_target);
      case kNavSkip: return 2;
      case kNavLast:
      case kNavKeys: return kFinalSlot;
      case kNavFirst:
      case 0: return 1;
      case kNavBack: return 16;
      default: return kDiscEndStep;  // execute, and every other code
    }
  }
  switch (code) {
    case kNavJump: return disc_jump_slot(jump_target);
    case kNavExecute:
    case kNavLast: return kFinalSlot;
    case kNavSkip:
      if (slot == 3) return 6;
      if (slot == 16) return 1;
      return slot + 2;
    case kNavFirst: return 1;
    case kNavKeys:
      if (empty) return slot + 1;
      return slot == 4 ? 3 : slot;
    case kNavBack: return slot == 1 ? kFinalSlot : slot - 1;
    case 0: return slot + 1;
    default:
      if (!empty && code < 0) return slot == 1 ? kFinalSlot : slot - 1;
      return slot + 1;
  }
}

void disced(Session& s) {
  PageTable pages{};
  install_disc_pages(pages);
  disced(s, pages);
}

void disced(Session& s, const PageTable& pages) {
  Tpcm& t = s.tpcm;
  Identity id;
  kind_dispatch(s).run_identity(s, kDiscKind, id);
  t.i(kPrintPass) = 0;

  int slot = start(s, id);
  for (;;) {
    if (slot == kDiscEndStep) {
      if (!end_step(s, id, kDiscRecordWords, false)) return;
      slot = kFinalSlot;
      continue;
    }
    enter_page(t);

    const DiscPage& page = pages[static_cast<std::size_t>(slot - 1)];
    if (page) page(s);

    // A print pass requested or running on the final page: the banner goes
    // to the listing and every page runs again in print mode.
    if (slot == kFinalSlot && t.i(kPrintPass) != 0) {
      slot = start(s, id);
      continue;
    }
    slot = disc_route(slot, t.i(kNavCode), t.i(kPageCounter), !page);
  }
}

}  // namespace kelp
