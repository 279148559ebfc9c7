// pivlorn: the single-point-mooring data editor.
#include "edlib/record/data_record.hpp"
#include "edlib/frame/kind_dispatch.hpp"
#include "moor/e/moored.hpp"
#include "pivlorn/spmtop.hpp"
#include "sysutl/program_entry.hpp"
#include "sysutl/session.hpp"

namespace {
constexpr int kSpmKind = 15;
}  // namespace

int main() {
  return kelp::run_editor_program("pivlorn", [](kelp::Session& s) {
    kelp::kind_dispatch(s).set_identity(kSpmKind, kelp::spmtop);
    // The kind is set before the loop runs: it picks the identity routine
    // and checks the data file against kind 15.
    s.tpcm.i(kelp::kProgramKind) = kSpmKind;
    kelp::moored(s);
  });
}
