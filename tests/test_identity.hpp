#pragma once
// The identities of the two editors as their identity routines fill them,
// for tests of the shared frame that cannot link the programs themselves.
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
