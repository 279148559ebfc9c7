#include "ship/e/shiped.hpp"

#include <array>

#include "edlib/frame/final_page.hpp"
#include "edlib/pages/output_option_pages.hpp"
#include "edlib/pages/sea_pages.hpp"
#include "edlib/pages/site_page.hpp"
#include "edlib/pages/vessel_pages.hpp"
#include "edlib/record/data_record.hpp"
#include "sysutl/session.hpp"

namespace kelp {

namespace {

void ship_defaults(Tpcm& t, char) {
  t.i(kSubEditorKind) = 0;
  t.i(kSessionReserved) = 0;
  t.i(kIrregularHeadingLimit) = 37;
  t.i(kSeaCaseLimit) = 6;
  t.i(kSpreadLimit) = 36;
  t.i(kRegularHeadingLimit) = 12;
  t.i(kVesselType) = 1;
  t.i(kMemberModel) = 0;
  t.i(kNoMotionsSummary) = 0;
}

const EditorLoop kShipLoop{.kind = kShipKind,
                           .record_words = static_cast<int>(kVesselWords),
                           .routes = vessel_editor_routes(),
                           .conditions = {},
                           .defaults = ship_defaults};

}  // namespace

const EditorLoop& ship_loop() { return kShipLoop; }

void shiped(Session& s) {
  // Slots 10 to 16 are empty by design.
  std::array<EditorPage, kShipSlots> pages{};
  pages[0] = [](Session& x) { static_page(x); };
  pages[1] = [](Session& x) { vesel1(x, "2", "Vessel"); };
  pages[2] = [](Session& x) { vesel2(x, "3", "Vessel"); };
  pages[3] = [](Session& x) { vesel3(x, "4", "Vessel"); };
  pages[4] = [](Session& x) { reglar(x, "5"); };
  pages[5] = [](Session& x) { random(x, "6"); };
  pages[6] = [](Session& x) { swell2(x, "7"); };
  pages[7] = [](Session& x) { shpot1(x, "8"); };
  pages[8] = [](Session& x) { shpot2(x, "9"); };
  pages[16] = [](Session& x) { shpfin(x, "10"); };
  shiped(s, pages);
}

void shiped(Session& s, std::span<const EditorPage> pages) { run_editor(s, kShipLoop, pages); }

}  // namespace kelp
