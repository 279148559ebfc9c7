#pragma once
// The identity of the disc-buoy editor as its identity routine fills it, for
// tests of the shared frame that cannot link the program itself.
#include "edlib/kind_dispatch.hpp"

namespace kelp::testing {

inline Identity ronvaske_identity() {
  Identity id;
  id.program_name = "Rondixa ";
  id.main_name = "RONDIXA     ";
  id.editor_name = "ronvaske    ";
  id.data_file = "RONDDAT     ";
  id.backup_file = "RONDBAK     ";
  id.version = 6.8f;
  id.kind = 4;
  id.year = 2020;
  id.os_code = 21;
  id.layout_code = 49;
  id.run_mode = 2;
  return id;
}

}  // namespace kelp::testing
