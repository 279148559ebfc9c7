// ronvaske: the disc-buoy data editor.
#include "disc/e/disc_upgrader.hpp"
#include "disc/e/disced.hpp"
#include "edlib/frame/kind_dispatch.hpp"
#include "ronvaske/dsctop.hpp"
#include "sysutl/program_entry.hpp"

namespace {
constexpr int kDiscKind = 4;
}  // namespace

int main() {
  return kelp::run_editor_program("ronvaske", [](kelp::Session& s) {
    auto& dispatch = kelp::kind_dispatch(s);
    dispatch.set_identity(kDiscKind, kelp::dsctop);
    dispatch.set_upgrader(kDiscKind, kelp::dscupd);
    kelp::disced(s);
  });
}
