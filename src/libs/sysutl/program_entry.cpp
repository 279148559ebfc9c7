#include "sysutl/program_entry.hpp"

#include <signal.h>
#include <unistd.h>

#include <exception>
#include <iostream>

#include "sysutl/files_shell.hpp"
#include "sysutl/session.hpp"

namespace kelp {

namespace {
// Exit status when the program meets an error it has no message for.
constexpr int kInternalErrorStatus = 70;
}  // namespace

int run_editor_program(std::string_view name, const std::function<void(Session&)>& body) {
  // A write past the file-size limit (ulimit -f) would otherwise end the
  // program in the middle of a save; ignored, it fails with EFBIG, and the
  // file layer refuses it as "larger than may be written".
  ::signal(SIGXFSZ, SIG_IGN);
  int status = 0;
  try {
    Session session(std::cin, std::cout, std::cerr, ::isatty(1) == 1);
    try {
      body(session);
    } catch (const ProgramStop& stop) {
      status = stop.status();
    }
    status = close_run_reports(session, status);
  } catch (const std::exception& e) {
    std::cout.flush();
    std::cerr << " ++> " << name << " stopped on an internal error: " << e.what() << '\n';
    status = kInternalErrorStatus;
  }
  std::cout.flush();
  std::cerr.flush();
  return status;
}

}  // namespace kelp
