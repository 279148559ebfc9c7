#include "semi/e/semied.hpp"

#include <array>

#include "edlib/frame/final_page.hpp"
#include "edlib/frame/kind_files.hpp"
#include "edlib/pages/member_page.hpp"
#include "edlib/pages/output_option_pages.hpp"
#include "edlib/pages/sea_pages.hpp"
#include "edlib/pages/site_page.hpp"
#include "edlib/pages/vessel_pages.hpp"
#include "edlib/record/data_record.hpp"
#include "edlib/record/member_table.hpp"
#include "semi/e/semot2.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"

namespace kelp {

namespace {

void semi_defaults(Tpcm& t, char choice) {
  t.i(kSubEditorKind) = 0;
  t.i(kSessionReserved) = 0;
  t.i(kIrregularHeadingLimit) = 37;
  t.i(kSeaCaseLimit) = 6;
  t.i(kSpreadLimit) = 36;
  t.i(kRegularHeadingLimit) = 12;
  t.i(kMemberModel) = 1;
  t.i(member::kMaximum) = member::kMaxMembers;
  t.i(kSemiTableLimit3664) = 16;
  t.i(kSemiTableLimit3661) = 100;
  t.i(kSemiTableLimit3658) = 50;
  t.i(kNoMotionsSummary) = 0;
  if (choice != 'C') return;
  for (std::size_t k = 0; k < 3; ++k) t.set_r(RealWord{kMemberScales + k}, 1.0f);
  t.i(member::kCount) = 1;
  t.set_r(kStormDuration, 1.0f);
  t.i(kIrregularOn) = 1;
  t.i(kIrregularHeadingCount) = 1;
  t.i(kIrregularCases) = 1;
  for (int n = 1; n <= member::kMaxMembers; ++n) {
    for (int k = 1; k <= 3; ++k) {
      for (std::size_t w : {member::added_mass(n, k), member::added_moment(n, k), member::drag(n, k),
                            member::drag_moment(n, k)}) {
        t.set_r(RealWord{w}, 1.0f);
      }
    }
  }
}

const EditorLoop kSemiLoop{.kind = kSemiKind,
                           .record_words = static_cast<int>(kSecondVesselWords),
                           .routes = vessel_editor_routes(),
                           .conditions = {},
                           .defaults = semi_defaults};

struct SemfinState : FinalPageState {};

}  // namespace

const EditorLoop& semi_loop() { return kSemiLoop; }

void semfin(Session& s, std::string_view label) {
  const int kind = s.tpcm.i(kProgramKind);
  const FinalPageSetup setup{listing_of(FinalPageFamily::kSemfin, kind), editor_of(FinalPageFamily::kSemfin, kind),
                             "???FIN", {}, veswrn_counts, {kNavExecute}};
  final_page(s, label, s.state<SemfinState>(), setup);
}

void semied(Session& s) {
  std::array<EditorPage, kSemiSlots> pages{};
  pages[0] = [](Session& x) { static_page(x); };
  pages[1] = [](Session& x) { vesel1(x, "2", "Vessel"); };
  pages[2] = [](Session& x) { vesel2(x, "3", "Vessel"); };
  pages[3] = [](Session& x) { vesel3(x, "4", "Vessel"); };
  pages[4] = [](Session& x) { cylndr(x, "5"); };
  pages[5] = [](Session& x) { reglar(x, "6"); };
  pages[6] = [](Session& x) { random(x, "7"); };
  pages[7] = [](Session& x) { swell2(x, "8"); };
  pages[8] = [](Session& x) { shpot1(x, "9"); };
  pages[9] = [](Session& x) { semot2(x, "10"); };
  pages[16] = [](Session& x) { semfin(x, "11"); };
  semied(s, pages);
}

void semied(Session& s, std::span<const EditorPage> pages) { run_editor(s, kSemiLoop, pages); }

}  // namespace kelp
