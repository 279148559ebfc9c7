#include "sysutl/held_signals.hpp"

#include <initializer_list>

namespace kelp {

HeldSignals::HeldSignals() {
  sigset_t held;
  sigemptyset(&held);
  for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&held, sig);
  ::sigprocmask(SIG_BLOCK, &held, &old_);
}

HeldSignals::~HeldSignals() { ::sigprocmask(SIG_SETMASK, &old_, nullptr); }

}  // namespace kelp
