#include "moor/e/moored.hpp"

#include <string>

#include "edlib/frame/create_record.hpp"
#include "edlib/frame/loading.hpp"
#include "edlib/frame/page_loop.hpp"
#include "edlib/record/data_record.hpp"
#include "moor/e/mooring_routing.hpp"
#include "moor/e/td_options.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"

namespace kelp {

namespace {

bool has_identity_routine(int kind) { return kind == 12 || kind == 15 || kind == 14 || kind == 17; }

// Loads (or starts a print pass) and returns the first block.
int start(Session& s, const Identity& id) {
  char letter = ' ';
  const int status = ioinit(s, id, static_cast<int>(kMooredWords), letter);
  if (status == kLoadPrintPass) return 1;
  if (status == kLoadExecute) return kMoorFinishBlock;
  mrinit(s, letter, s.tpcm.i(kProgramKind));
  return 1;
}

}  // namespace

Identity moor_identity(Session& s, int kind) {
  Identity id;
  if (has_identity_routine(kind) && kind_dispatch(s).run_identity(s, kind, id)) return id;
  id.program_name = std::string(8, ' ');
  for (std::string* text : {&id.main_name, &id.editor_name, &id.data_file, &id.backup_file}) {
    *text = std::string(12, ' ');
  }
  return id;
}

void moored(Session& s) {
  MoorPageTable pages{};
  install_moor_pages(pages);
  moored(s, pages);
}

void moored(Session& s, const MoorPageTable& pages) {
  Tpcm& t = s.tpcm;
  s.state<MooredState>().chain = 0;
  init_gustrcom(s.gustrcom);
  const Identity id = moor_identity(s, t.i(kProgramKind));
  t.i(kPrintPass) = 0;

  int block = start(s, id);
  for (;;) {
    if (block == kMoorExecute) {
      if (!end_step(s, id, static_cast<int>(kMooredWords), s.state<MooredState>().chain != 0)) return;
      block = kMoorFinishBlock;
      continue;
    }
    enter_page(t);

    // Whether the block shows its page is decided as it is entered.
    const MoorShowWords show = MoorShowWords::from(t);
    const int kind = t.i(kProgramKind);
    const MoorPage& page = pages[static_cast<std::size_t>(block - 1)];
    const bool ran = page && moor_block_shown(block, show, kind);
    if (ran) page(s);

    // A print pass requested or running on the finish page: the banner goes
    // to the listing and every page runs again in print mode.
    if (block == kMoorFinishBlock && t.i(kPrintPass) != 0) {
      block = start(s, id);
      continue;
    }
    const MoorRoute route = moor_route(block, t.i(kNavCode), t.i(kPageCounter), show, kind);
    t.i(kNavCode) = route.code;
    // A block that showed nothing never holds the loop on itself.
    block = !ran && route.block == block ? block % kMoorBlocks + 1 : route.block;
  }
}

}  // namespace kelp
