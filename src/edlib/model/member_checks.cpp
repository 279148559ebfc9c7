#include "edlib/model/member_checks.hpp"

#include <algorithm>
#include <array>
#include <cmath>

#include "edlib/model/member_coefficients.hpp"
#include "edlib/record/data_record.hpp"
#include "edlib/record/member_table.hpp"
#include "kelpkit/linear_algebra.hpp"
#include "kelpkit/wave_formulas.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/session.hpp"

namespace kelp {

using namespace member;

void chkpak(Session& s, int imem, int& iwarn, int& ifatal, int& ipause, int& icross) {
  iwarn = 0;
  ifatal = 0;
  ipause = 0;
  Tpcm& t = s.tpcm;
  const int count = std::clamp(t.i(kCount), 0, kMaxMembers);
  if (imem < 1 || imem > count) return;
  const int out = t.i(kOutputUnit);
  const MemberAxis ax = member_axis(t, imem);
  const Vec3& base = ax.base;
  const Vec3& top = ax.top;
  const float slen = ax.length;
  const int crossing = ax.crossing;
  const bool has_length = std::isfinite(slen) && slen > 0.0f;

  const auto report = [&](bool fatal) {
    iwarn = 1;
    ipause = 1;
    if (fatal) {
      ifatal = 1;
      icross = 1;
    }
  };
  if (!has_length) {
    missing_member_data(s, out);
    report(true);
  } else {
    const float mz = t.r(dimension(imem, 3));
    const float length_ratio = mz > 0.0f ? slen / mz : 0.0f;
    if (!(length_ratio <= 1.01f && length_ratio >= 0.99f)) {
      fwrite(s, out, "(/' ++> Warning: Mz-dimension inconsistent with top/base',' locations for member ',I2)",
             {imem});
      report(false);
    }
    if (top[2] < base[2] || crossing == kSegmentDown) {
      fwrite(s, out, "(/' ++> Fatal Warning: Top of member ',I2,' is below the base!')", {imem});
      report(true);
    } else if (crossing == kSegmentAbove) {
      fwrite(s, out, "(/' ++> Warning: Member number ',I2,' is completely dry!')", {imem});
      report(false);
    } else if (crossing == kSegmentUp) {
      icross = 1;
      if (t.i(base_end(imem)) != kWaterPiercing && t.i(top_end(imem)) != kWaterPiercing) {
        fwrite(s, out, "(/' ++> Warning: Member number ',I2,' top/bottom types should be checked!')", {imem});
        report(false);
      }
    } else if (crossing != kSegmentBelow) {
      fwrite(s, out, "(/' ++> Fatal Warning: SOMETHING is seriously amiss with Member ',I2)", {imem});
      report(true);
    }
  }

  if (t.i(form(imem)) == 0) {
    float d = 0.0f;
    veclen(top, base, d, t.i(alignment(imem)));
  }
  if (has_length && t.i(coef_source(imem)) != kUserCoefficients) mscalc(s, imem, ipause);
  if (ipause == 1) iwarn = 1;
}

}  // namespace kelp
