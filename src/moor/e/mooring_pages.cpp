#include "moor/e/mooring_pages.hpp"

#include <stdexcept>
#include <utility>

#include "edlib/pages/areas_page.hpp"
#include "edlib/pages/environment_pages.hpp"
#include "edlib/pages/external_force_pages.hpp"
#include "edlib/pages/lf_dynamics_pages.hpp"
#include "edlib/pages/load_model_page.hpp"
#include "edlib/pages/member_page.hpp"
#include "edlib/pages/sea_pages.hpp"
#include "edlib/pages/site_page.hpp"
#include "edlib/pages/vessel_pages.hpp"
#include "edlib/record/data_record.hpp"
#include "moor/e/moored.hpp"
#include "moor/e/mooring_finish.hpp"
#include "moor/e/mooring_layout_pages.hpp"
#include "moor/e/output_options.hpp"
#include "moor/e/subline_page.hpp"
#include "moor/e/td_options_page.hpp"
#include "sysutl/session.hpp"

namespace kelp {

void set_moor_page(MoorPageTable& pages, int block, MoorPage page) {
  if (block < 1 || block > kMoorBlocks) throw std::out_of_range("mooring page block outside 1 to 25");
  pages[static_cast<std::size_t>(block - 1)] = std::move(page);
}

void install_moor_pages(MoorPageTable& pages) {
  // Block, then the page routine with the label it prints after "Page ".
  set_moor_page(pages, 1, [](Session& s) { static_page(s); });
  set_moor_page(pages, 2, [](Session& s) { moorln(s, "2"); });
  set_moor_page(pages, 3, [](Session& s) { morln2(s, "3"); });
  set_moor_page(pages, 4, [](Session& s) { morln3(s, "4"); });
  set_moor_page(pages, 5, [](Session& s) { oneleg(s, "5"); });
  set_moor_page(pages, 6, [](Session& s) { quasck(s, "6"); });
  set_moor_page(pages, 7, [](Session& s) { vesel1(s, "7", "Vessel"); });
  set_moor_page(pages, 8, [](Session& s) { vesel2(s, "8", "Vessel"); });
  set_moor_page(pages, 9, [](Session& s) { vesel3(s, "9", "Vessel"); });
  set_moor_page(pages, 10, [](Session& s) { vesel4(s, "9b", "Vessel"); });
  set_moor_page(pages, 11, [](Session& s) {
    lowves(s, "10", "Vessel", {kWindSelector, kCurrentSelector, kDriftSelector});
  });
  set_moor_page(pages, 12, [](Session& s) { extfrc2(s, "11"); });
  set_moor_page(pages, 13, [](Session& s) { dpfrc(s, "11b"); });
  set_moor_page(pages, 14, [](Session& s) { cylndr(s, "12"); });
  set_moor_page(pages, 15, [](Session& s) { areas(s, "13", "Vessel"); });
  set_moor_page(pages, 16, [](Session& s) { wind(s, "14"); });
  set_moor_page(pages, 17, [](Session& s) { curent(s, "15", 0); });
  set_moor_page(pages, 18, [](Session& s) { extend(s, "16"); });
  set_moor_page(pages, 19, [](Session& s) { morreg(s, "17"); });
  set_moor_page(pages, 20, [](Session& s) { morran(s, "18"); });
  set_moor_page(pages, 21, [](Session& s) { swell2(s, "19"); });
  set_moor_page(pages, 22, [](Session& s) { morot1(s, "20"); });
  set_moor_page(pages, 23, [](Session& s) { morot2(s, "21"); });
  set_moor_page(pages, 24, [](Session& s) { gustropts(s, "22"); });
  set_moor_page(pages, 25, [](Session& s) { morfin(s, "23", s.state<MooredState>().chain); });
}

}  // namespace kelp
