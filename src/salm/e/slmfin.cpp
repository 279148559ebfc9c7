#include "salm/e/slmfin.hpp"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>
#include <string_view>

#include "edlib/frame/final_page.hpp"
#include "edlib/frame/kind_files.hpp"
#include "edlib/model/vessel_checks.hpp"
#include "edlib/record/data_record.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

constexpr int kMaxMomentElements = 10;
constexpr float kAreaTolerance = 0.05f;

struct SlmfinState : FinalPageState {};

class ElementChecks : CheckReporter {
 public:
  ElementChecks(Session& s, int& nwarn, int& nfatal)
      : CheckReporter(s, s.tpcm.i(kOutputUnit), nwarn, nfatal), t_(s.tpcm) {}

  void run();

 private:
  // Element n (1 to the clamped count) of a table.
  int joint(int n) const { return t_.i(IntWord{kElementJoints + static_cast<std::size_t>(n - 1)}); }
  int moment_flag(int n) const { return t_.i(IntWord{kElementMomentFlags + static_cast<std::size_t>(n - 1)}); }
  float length(int n) const { return t_.r(RealWord{kElementLengths + static_cast<std::size_t>(n - 1)}); }
  float volume(int n) const { return t_.r(RealWord{kElementVolumes + static_cast<std::size_t>(n - 1)}); }

  bool piercing_volume_inconsistent(int k) const;
  int moment_elements(int count) const;

  Tpcm& t_;
};

// A piercing element without length cannot match its waterplane area: it is
// reported as inconsistent rather than divided by.
bool ElementChecks::piercing_volume_inconsistent(int k) const {
  const float len = length(k);
  const float area = t_.r(kPiercingWaterplaneArea);
  if (len == 0.0f) return true;
  return std::fabs(volume(k) / len - area) > kAreaTolerance * area;
}

// Elements from the first free joint upward whose bending moment is asked for.
int ElementChecks::moment_elements(int count) const {
  int first_free = 0;
  for (int n = 1; n <= count && first_free == 0; ++n) {
    if (joint(n) != 0) first_free = n;
  }
  if (first_free == 0) return 0;
  int selected = 0;
  for (int n = first_free; n <= count; ++n) {
    if (moment_flag(n) != 0) ++selected;
  }
  return selected;
}

void ElementChecks::run() {
  t_.i(kTurretFlag) = 1;
  // The count read from the file indexes tables of 40.
  const int count = std::clamp(t_.i(kElementCount), 0, kMaxSalmElements);
  const int piercing = t_.i(kPiercingElement);
  const bool piercing_listed = piercing >= 1 && piercing <= count;
  int free_joints = 0;
  float height = 0.0f;
  for (int n = 1; n <= count; ++n) {
    if (joint(n) != 0) ++free_joints;
    if (n < piercing) height += length(n);
  }
  const bool free_salm = t_.i(kNoQuasiStatics) != 0;
  const int attachment = t_.i(kHawserFlag);

  if (free_joints == 1 && !free_salm) {
    warning({" ++> Warning: only one member specified; EQUIANCH may fail to execute."});
  }
  if (free_joints > 3) {
    warning({" ++> Warning: no dynamic analysis will be done, because there are more than",
             "              three free joints."});
  }
  const int submergence = t_.i(kSubmergenceOption);
  const float depth = t_.r(kWaterDepth);
  const float piercing_length = piercing_listed ? length(piercing) : 0.0f;
  if (count != 0 && submergence != 1 && submergence < 4 && attachment < 3 &&
      (depth <= height || height + piercing_length <= depth)) {
    warning({" ++> Warning: apparent inconsistency between",
             "              water depth and height of water-piercing element."});
  }
  if (piercing_listed && piercing_volume_inconsistent(piercing)) {
    warning({" ++> Warning: apparent inconsistency between volume,",
             "     length and waterplane area of piercing element."});
  }
  if (attachment > 0) {
    const std::string version = fmt::fortran("(A,F3.1,A)", std::string(" ++> Warning: Version "), t_.r(kVersion),
                                             std::string(" supports only free SALMS"));
    warning({std::string_view(version).substr(0, version.size() - 1),
             "     and vessel-yoke type systems; proceed at your own risk."});
  }

  t_.i(kMomentElements) = moment_elements(count);
  if (t_.i(kDebug) != 0) fwrite(s_, out_, "(' NMOMT = :'/I6)", {t_.i(kMomentElements)});

  if (t_.i(kMomentElements) > kMaxMomentElements) {
    const std::string reduce =
        fmt::fortran("(A,I2,A)", std::string("     Reduce total to "), kMaxMomentElements, std::string(" or less."));
    fatal({" ++> Fatal Warning: Too many elements selected for shear/moment computation.",
           std::string_view(reduce).substr(0, reduce.size() - 1)});
  }
  if (t_.r(kWaterlineLength) * t_.r(kWaterlineBeam) * t_.r(kDraft) <= 0.0f && t_.i(kLowFrequencyOn) != 0 &&
      !free_salm) {
    fatal({" ++> Fatal Warning: Tanker draft, beam, or length incorrectly specified."});
  }
}

}  // namespace

void slmchk(Session& s, int& warnings, int& fatal) {
  veswrn_counts(s, warnings, fatal);
  ElementChecks(s, warnings, fatal).run();
}

void slmfin(Session& s, std::string_view label) {
  const int kind = s.tpcm.i(kProgramKind);
  const FinalPageSetup setup{listing_of(FinalPageFamily::kSlmfin, kind), editor_of(FinalPageFamily::kSlmfin, kind),
                             "???FIN", {}, slmchk, {kNavExecute}};
  final_page(s, label, s.state<SlmfinState>(), setup);
}

}  // namespace kelp
