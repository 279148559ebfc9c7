#include "disc/e/disc_upgrader.hpp"

#include "edlib/frame/fairlead_resize.hpp"
#include "edlib/frame/upgrade_notes.hpp"
#include "edlib/record/data_record.hpp"

namespace kelp {

void dscupd(Session& s, float version, int& status) {
  UpgradeNotes n(s, version, status);
  Tpcm& t = n.record();
  if (n.before(4.9f)) version49_vessel_moves(t);
  n.heading();
  if (n.before(1.4f) && n.program() > 1.31f) table_size_check(n, false);
  point_coordinates_step(n);
  swell_directions_step(n);
  version5_note(n);
  if (n.before(5.0f)) version5_defaults(t);
  if (n.before(5.57f)) t.i(kMemberModel) = 0;
  n.fairlead_resize(static_cast<int>(kVesselWords), update_to_149);
  n.close();
}

}  // namespace kelp
