#include "disc/e/disc_upgrader.hpp"

#include "edlib/frame/upgrade_notes.hpp"
#include "edlib/frame/upgraders.hpp"

namespace kelp {

void dscupd(Session& s, float version, int& status) {
  UpgradeNotes n(s, version, status);
  if (n.before(4.9f)) version49_vessel_moves(n.record());
  n.heading();
  if (n.before(1.4f) && n.program() > 1.31f) table_size_check(n, false);
  close_vessel_upgrade(n);
}

}  // namespace kelp
