// ronvaske: the disc-buoy data editor.
#include <unistd.h>

#include <exception>
#include <iostream>

#include "disc/e/disc_upgrader.hpp"
#include "disc/e/disced.hpp"
#include "edlib/kind_dispatch.hpp"
#include "ronvaske/dsctop.hpp"
#include "sysutl/session.hpp"

namespace {

constexpr int kDiscKind = 4;
// Exit status when the program meets an error it has no message for.
constexpr int kInternalErrorStatus = 70;

int run(kelp::Session& s) {
  auto& dispatch = kelp::kind_dispatch(s);
  dispatch.set_identity(kDiscKind, kelp::dsctop);
  dispatch.set_upgrader(kDiscKind, kelp::dscupd);
  try {
    kelp::disced(s);
    return 0;
  } catch (const kelp::ProgramStop& stop) {
    return stop.status();
  }
}

}  // namespace

int main() {
  int status = 0;
  try {
    kelp::Session session(std::cin, std::cout, std::cerr, ::isatty(1) == 1);
    status = run(session);
  } catch (const std::exception& e) {
    std::cout.flush();
    std::cerr << " ++> ronvaske stopped on an internal error: " << e.what() << '\n';
    status = kInternalErrorStatus;
  }
  std::cout.flush();
  std::cerr.flush();
  return status;
}
