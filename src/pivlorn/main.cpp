// pivlorn: the single-point-mooring data editor.
#include <unistd.h>

#include <exception>
#include <iostream>

#include "edlib/data_record.hpp"
#include "edlib/kind_dispatch.hpp"
#include "moor/e/moored.hpp"
#include "pivlorn/spmtop.hpp"
#include "sysutl/session.hpp"

namespace {

constexpr int kSpmKind = 15;
// Exit status when the program meets an error it has no message for.
constexpr int kInternalErrorStatus = 70;

int run(kelp::Session& s) {
  kelp::kind_dispatch(s).set_identity(kSpmKind, kelp::spmtop);
  try {
    // The kind is set before the loop runs: it picks the identity routine
    // and checks the data file against kind 15.
    s.tpcm.i(kelp::kProgramKind) = kSpmKind;
    kelp::moored(s);
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
    std::cerr << " ++> pivlorn stopped on an internal error: " << e.what() << '\n';
    status = kInternalErrorStatus;
  }
  std::cout.flush();
  std::cerr.flush();
  return status;
}
