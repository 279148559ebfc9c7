#include "salm/e/salmed.hpp"
#include "salm/e/salm.hpp"
#include "salm/e/salm2b.hpp"
#include "salm/e/slmfin.hpp"
#include "salm/e/slmout.hpp"

#include <array>
#include <bit>
#include <cstdint>
#include <string_view>

#include "edlib/pages/areas_page.hpp"
#include "edlib/pages/environment_pages.hpp"
#include "edlib/pages/external_force_pages.hpp"
#include "edlib/pages/lf_dynamics_pages.hpp"
#include "edlib/pages/load_model_page.hpp"
#include "edlib/pages/sea_pages.hpp"
#include "edlib/pages/site_page.hpp"
#include "edlib/pages/vessel_pages.hpp"
#include "edlib/record/data_record.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"

namespace kelp {

namespace {

constexpr int kSlmout = 17;
constexpr int kCurentSlot = 12;
constexpr int kFreeSalmHawser = -1;  // word 775: a free SALM, no vessel attached

void salm_defaults(Tpcm& t, char choice) {
  t.i(kSessionReserved) = 0;
  t.i(kIrregularHeadingLimit) = 1;
  t.i(kSeaCaseLimit) = 1;
  t.i(kSpreadLimit) = 36;
  t.i(kRegularHeadingLimit) = 1;
  t.i(kVesselType) = 1;
  t.i(kSubEditorKind) = 1;
  if (choice == 'C') {
    for (IntWord w : {kSalmOption760, kSalmOption763, kExtensionOn, kMotionRaos, kSalmOption2006,
                      kSalmOption2372, kSalmOption2007, kLfSurgeDampingMode}) {
      t.i(w) = 0;
    }
    t.set_r(kMaxTableLoad, 0.0f);
    for (IntWord w : {kElementCount, kPiercingElement, kLowFrequencyOn, kSalmOption2469, kSalmOption2001,
                      kWaveFrequencyOn, kSalmOption1994, kAnyRaoOutput, kSalmOption1995, kIrregularOn,
                      kSalmOption1993}) {
      t.i(w) = 1;
    }
    for (RealWord w : {kDefaultElementAddedMass, kDefaultElementDrag, kAttachmentSeparation, kStormDuration}) {
      t.set_r(w, 1.0f);
    }
    t.set_r(kFreeboardLoad, 100.0f);
    t.i(kInterpTableSize) = 90;
    for (std::size_t n = 0; n < 40; ++n) {
      t.set_r(RealWord{kElementAddedMassTable + n}, 1.0f);
      t.set_r(RealWord{kElementDragTable + n}, 1.0f);
    }
  }
  t.i(kOption106) = 0;
  // Word 776 was set to 1 above, so the rule "1 unless it is 1 or 2" keeps it.
}

// After salm2b: a free SALM (hawser flag -1) has no imposed extension and no
// low-frequency dynamics, and passes the vessel pages (word 2470).
void after_salm_slot(Tpcm& t, int slot) {
  if (slot != 3) return;
  const bool free_salm = t.i(kHawserFlag) == kFreeSalmHawser;
  if (free_salm) {
    t.i(kExtensionOn) = 0;
    t.i(kLowFrequencyOn) = 0;
  }
  t.i(kNoQuasiStatics) = free_salm ? 1 : 0;
}

bool no_vessel_dynamics(const Tpcm& t) { return t.i(kNoQuasiStatics) + t.i(kLowFrequencyOn) == 0; }
bool vessel_attached(const Tpcm& t) { return t.i(kNoQuasiStatics) == 0; }
bool vessel_pages_shown(const Tpcm& t) { return !no_vessel_dynamics(t) && vessel_attached(t); }
int past_vessel_pages(const Tpcm& t) { return no_vessel_dynamics(t) ? kSlmout : kCurentSlot; }
bool wind_shown(const Tpcm& t) { return t.i(kWindOn) == 1; }
bool current_shown(const Tpcm& t) { return t.i(kCurrentOn) == 1; }

constexpr std::array<SlotCondition, kSalmSlots> kConditions = {{
    {},                                                       // 1 static
    {},                                                       // 2 salm
    {},                                                       // 3 salm2b
    {vessel_attached, [](const Tpcm&) { return 6; }},         // 4 quasck
    {vessel_pages_shown, past_vessel_pages},                  // 5 vesel1
    {vessel_pages_shown, past_vessel_pages},                  // 6 vesel2
    {},                                                       // 7 vesel3
    {vessel_pages_shown, past_vessel_pages},                  // 8 lowves
    {},                                                       // 9 extfrc
    {},                                                       // 10 areas
    {wind_shown, [](const Tpcm&) { return 12; }},             // 11 wind
    {current_shown, [](const Tpcm&) { return 13; }},          // 12 curent
    {}, {}, {}, {}, {}, {}, {}, {},                           // 13 to 20
}};

constexpr std::array<SlotRoute, kSalmSlots> make_salm_routes() {
  std::array<SlotRoute, kSalmSlots> a{};
  for (int k = 1; k < kSalmSlots; ++k) {
    const int previous = k == 1 ? kSalmSlots : k - 1;
    a[static_cast<std::size_t>(k - 1)] = {.keys = k,
                                          .skip = k == 19 ? 1 : k + 2,
                                          .back = previous,
                                          .other = previous,
                                          .zero = k + 1,
                                          .positive = k + 1,
                                          .last = kSalmSlots,
                                          .execute = kSalmSlots};
  }
  a[2].keys = 4;  // after salm2b
  a[2].skip = 6;
  a[7].skip = 11;  // after lowves
  a[kSlmout - 1].back_test = no_vessel_dynamics;
  a[kSlmout - 1].back_alt = 4;
  a[19] = {.keys = 20, .skip = 2, .back = 18, .other = kEditorEndStep, .zero = 1,
           .positive = kEditorEndStep, .last = 20, .execute = kEditorEndStep};
  return a;
}

constexpr std::array<SlotRoute, kSalmSlots> kRoutes = make_salm_routes();

const EditorLoop kSalmLoop{.kind = kSalmKind,
                           .record_words = static_cast<int>(kSecondVesselWords),
                           .routes = kRoutes,
                           .conditions = kConditions,
                           .defaults = salm_defaults,
                           .after_slot = after_salm_slot};

// The constant-force page edits the record's first auxiliary force block: its
// switch and frame, the mean X and Y force, the mean moment and the point of
// application, the words the simulation reads for a constant load on the
// vessel. The page works on references; the integers are handed over in
// place, the reals (kept as bits in the record) through copies that are
// written back when the page returns, also when the session stops inside it,
// and only where the bits changed, so that a print pass or a look at the page
// leaves every word exactly as it was.
class ConstantForceWords {
 public:
  explicit ConstantForceWords(Tpcm& t) : t_(t) {
    for (std::size_t k = 0; k < kReals; ++k) value_[k] = std::bit_cast<float>(t_.bits(kWords[k]));
  }
  ConstantForceWords(const ConstantForceWords&) = delete;
  ConstantForceWords& operator=(const ConstantForceWords&) = delete;
  ~ConstantForceWords() {
    for (std::size_t k = 0; k < kReals; ++k) {
      const auto bits = std::bit_cast<std::int32_t>(value_[k]);
      if (bits != t_.bits(kWords[k])) t_.bits(kWords[k]) = bits;
    }
  }

  ConstantForce force() {
    return {t_.i(kBlock.on), value_[0], value_[1], value_[2], value_[3], value_[4], t_.i(kBlock.frame)};
  }

 private:
  static constexpr const ForceBlockWords& kBlock = kExternalForces[0];
  static constexpr std::size_t kReals = 5;
  // In the order of ConstantForce: X and Y force, X and Y point, moment.
  static constexpr std::array<RealWord, kReals> kWords = {kBlock.mean_x, kBlock.mean_y, kBlock.x, kBlock.y,
                                                         kBlock.moment};
  Tpcm& t_;
  std::array<float, kReals> value_{};
};

void constant_force(Session& s, std::string_view label) {
  ConstantForceWords words(s.tpcm);
  extfrc(s, label, "Vessel", words.force());
}

}  // namespace

const EditorLoop& salm_loop() { return kSalmLoop; }

void salmed(Session& s) {
  // Slot 19 is empty by design.
  std::array<EditorPage, kSalmSlots> pages{};
  pages[0] = [](Session& x) { static_page(x); };
  pages[1] = [](Session& x) { salm(x, "2"); };
  pages[2] = [](Session& x) { salm2b(x, "3"); };
  pages[3] = [](Session& x) { quasck(x, "4"); };
  pages[4] = [](Session& x) { vesel1(x, "5", "Vessel"); };
  pages[5] = [](Session& x) { vesel2(x, "6", "Vessel"); };
  pages[6] = [](Session& x) { vesel3(x, "7", "Vessel"); };
  pages[7] = [](Session& x) { lowves(x, "8", "Vessel", {kWindSelector, kCurrentSelector, kDriftSelector}); };
  pages[8] = [](Session& x) { constant_force(x, "9"); };
  pages[9] = [](Session& x) { areas(x, "10", "Vessel"); };
  pages[10] = [](Session& x) { wind(x, "11"); };
  pages[11] = [](Session& x) { curent(x, "12", 0); };
  pages[12] = [](Session& x) { extend(x, "13"); };
  pages[13] = [](Session& x) { morreg(x, "14"); };
  pages[14] = [](Session& x) { morran(x, "15"); };
  pages[15] = [](Session& x) { swell(x, "16", kFirstSwellWords); };
  pages[16] = [](Session& x) { slmout(x, "17"); };
  pages[17] = [](Session& x) { slmot2(x, "18"); };
  pages[19] = [](Session& x) { slmfin(x, "19"); };
  salmed(s, pages);
}

void salmed(Session& s, std::span<const EditorPage> pages) { run_editor(s, kSalmLoop, pages); }

}  // namespace kelp
