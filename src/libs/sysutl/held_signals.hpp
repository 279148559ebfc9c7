#pragma once
// The signals that end the program at a terminal, held back over the steps
// that must not be cut in two: a commit's renames, the emptying of a run's
// earlier report, and the birth of a folder's lock file.
#include <signal.h>

namespace kelp {

// The signals that end the program at a terminal (interrupt, quit,
// hang-up, termination), held back while an object of this class lives:
// one that comes meanwhile takes effect once it goes. Objects may nest.
class HeldSignals {
 public:
  HeldSignals();
  ~HeldSignals();
  HeldSignals(const HeldSignals&) = delete;
  HeldSignals& operator=(const HeldSignals&) = delete;

 private:
  sigset_t old_;
};

}  // namespace kelp
