#include "edlib/frame/kind_dispatch.hpp"

#include <string_view>
#include <utility>

#include "edlib/frame/upgraders.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/session.hpp"

namespace kelp {

namespace {

[[noreturn]] void inoperative(Session& s, std::string_view message) {
  // List-directed output: each line opens with a blank.
  fwrite(s, kScreen, "(1X,A)", {std::string(message)});
  fwrite(s, kScreen, "(1X,A)", {std::string("    Press <Return> to quit")});
  s.read_line(kKeyboard);
  throw ProgramStop(kInoperativeStopStatus);
}

}  // namespace

void inoperative_top(Session& s) { inoperative(s, "++> You are in an inoperative ???TOP file!"); }
void inoperative_upd(Session& s) { inoperative(s, "++> You are in an inoperative ???UPD file!"); }

void jckupd(Session& s, float, int&) { inoperative_upd(s); }
void stmupd(Session& s, float, int&) { inoperative_upd(s); }
void catupd(Session& s, float, int&) { inoperative_upd(s); }
void towupd(Session& s, float, int&) { inoperative_upd(s); }
void clmupd(Session& s, float, int&) { inoperative_upd(s); }
void sloupd(Session& s, float, int&) { inoperative_upd(s); }
void dscupd_stub(Session& s, float, int&) { inoperative_upd(s); }

void shptop(Session& s, Identity&) { inoperative_top(s); }
void semtop(Session& s, Identity&) { inoperative_top(s); }
void slmtop(Session& s, Identity&) { inoperative_top(s); }
void mortop(Session& s, Identity&) { inoperative_top(s); }
void tlptop(Session& s, Identity&) { inoperative_top(s); }
void spmtop_stub(Session& s, Identity&) { inoperative_top(s); }
void sprtop(Session& s, Identity&) { inoperative_top(s); }

void catimport(Session&, int) {}
void sloimport(Session&, int) {}

KindDispatch::KindDispatch() {
  const auto top_stub = [](Session& s, Identity&) { inoperative_top(s); };

  identity_[1] = shptop;
  identity_[3] = semtop;
  identity_[4] = top_stub;  // dsctop: registered by ronvaske
  identity_[11] = slmtop;
  identity_[12] = mortop;
  identity_[14] = tlptop;
  identity_[15] = spmtop_stub;  // registered by pivlorn
  identity_[17] = sprtop;

  upgrader_[1] = shpupd;
  upgrader_[2] = jckupd;
  upgrader_[3] = semupd;
  upgrader_[4] = dscupd_stub;  // the disc-buoy upgrader: registered by ronvaske
  upgrader_[7] = stmupd;
  upgrader_[8] = catupd;
  upgrader_[10] = towupd;
  upgrader_[11] = slmupd;
  for (int k : {12, 14, 15, 17}) upgrader_[slot(k)] = morupd;
  upgrader_[13] = clmupd;
  upgrader_[16] = sloupd;

  import_[8] = catimport;
  import_[16] = sloimport;
}

void KindDispatch::set_identity(int kind, IdentityRoutine routine) {
  if (in_range(kind)) identity_[slot(kind)] = std::move(routine);
}

void KindDispatch::set_upgrader(int kind, Upgrader routine) {
  if (in_range(kind)) upgrader_[slot(kind)] = std::move(routine);
}

void KindDispatch::set_import(int kind, ImportRoutine routine) {
  if (in_range(kind)) import_[slot(kind)] = std::move(routine);
}

bool KindDispatch::has_identity(int kind) const { return in_range(kind) && identity_[slot(kind)]; }
bool KindDispatch::has_upgrader(int kind) const { return in_range(kind) && upgrader_[slot(kind)]; }
bool KindDispatch::has_import(int kind) const { return in_range(kind) && import_[slot(kind)]; }

bool KindDispatch::run_identity(Session& s, int kind, Identity& id) const {
  if (!has_identity(kind)) return false;
  identity_[slot(kind)](s, id);
  return true;
}

bool KindDispatch::run_upgrader(Session& s, int kind, float version, int& status) const {
  if (!has_upgrader(kind)) return false;
  upgrader_[slot(kind)](s, version, status);
  return true;
}

bool KindDispatch::run_import(Session& s, int kind, int program_kind) const {
  if (!has_import(kind)) return false;
  import_[slot(kind)](s, program_kind);
  return true;
}

KindDispatch& kind_dispatch(Session& s) { return s.state<KindDispatch>(); }

}  // namespace kelp
