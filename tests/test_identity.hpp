#pragma once
// The identities of the two editors, for tests of the shared frame: the
// disc-buoy editor's as its own identity routine fills it.
#include "edlib/frame/kind_dispatch.hpp"
#include "ronvaske/dsctop.hpp"
#include "test_session.hpp"

namespace kelp::testing {

inline Identity ronvaske_identity() {
  ScriptedSession t;
  Identity id;
  dsctop(t.s, id);
  return id;
}

inline Identity pivlorn_identity() {
  Identity id = ronvaske_identity();
  id.program_name = "Pivara  ";
  id.main_name = "PIVARA      ";
  id.editor_name = "PIVLORN     ";
  id.data_file = "PIVADAT     ";
  id.backup_file = "PIVABAK     ";
  id.kind = 15;
  return id;
}

}  // namespace kelp::testing
