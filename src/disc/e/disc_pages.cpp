#include "disc/e/disc_pages.hpp"

#include <stdexcept>
#include <utility>

#include "edlib/frame/final_page.hpp"
#include "edlib/pages/output_option_pages.hpp"
#include "edlib/pages/sea_pages.hpp"
#include "edlib/pages/site_page.hpp"
#include "edlib/pages/vessel_pages.hpp"

namespace kelp {

void set_disc_page(PageTable& pages, int slot, DiscPage page) {
  if (slot < 1 || slot > kDiscSlots) throw std::out_of_range("disc page slot outside 1 to 17");
  pages[static_cast<std::size_t>(slot - 1)] = std::move(page);
}

void install_disc_pages(PageTable& pages) {
  // Slot, then the page routine with the label it prints after "Page ".
  set_disc_page(pages, 1, [](Session& s) { static_page(s); });
  set_disc_page(pages, 2, [](Session& s) { vesel1(s, "2", "Vessel"); });
  set_disc_page(pages, 3, [](Session& s) { vesel2(s, "3", "Vessel"); });
  set_disc_page(pages, 4, [](Session& s) { vesel3(s, "4", "Vessel"); });
  set_disc_page(pages, 5, [](Session& s) { reglar(s, "5"); });
  set_disc_page(pages, 6, [](Session& s) { random(s, "6"); });
  set_disc_page(pages, 7, [](Session& s) { swell2(s, "7"); });
  set_disc_page(pages, 8, [](Session& s) { shpot1(s, "8"); });
  set_disc_page(pages, 9, [](Session& s) { shpot2(s, "9"); });
  set_disc_page(pages, 17, [](Session& s) { shpfin(s, "10"); });
}

}  // namespace kelp
