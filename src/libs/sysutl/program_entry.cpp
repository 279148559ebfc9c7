#include "sysutl/program_entry.hpp"

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
