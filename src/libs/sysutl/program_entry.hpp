#pragma once
// The process entry of an editor program.
#include <functional>
#include <string_view>

namespace kelp {

class Session;

// Runs `body` in a session on the standard streams and returns the exit
// status. SIGXFSZ is ignored from the start, so that a file-size limit
// refuses a write instead of ending the program. However the body ends,
// the run's own reports still open are written (close_run_reports; after
// an internal error only by the session's end, without a word). The
// status: 0 when the body returns, the status of a ProgramStop it throws,
// 2 (a file error) instead when a run's report cannot be written at the
// end, and 70 after any other error, reported on the error stream with the
// program's name. Both streams are flushed before the status is returned.
int run_editor_program(std::string_view name, const std::function<void(Session&)>& body);

}  // namespace kelp
