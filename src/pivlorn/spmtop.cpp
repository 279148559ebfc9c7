#include "pivlorn/spmtop.hpp"

namespace kelp {

void spmtop(Session& /*s*/, Identity& id) {
  id.program_name = "Pivara  ";
  id.main_name = "PIVARA      ";
  id.editor_name = "PIVLORN     ";
  id.data_file = "PIVADAT     ";
  id.backup_file = "PIVABAK     ";
  id.version = 6.8f;
  id.kind = 15;
  id.year = 2020;
  id.os_code = 21;
  id.layout_code = 49;
  id.run_mode = 2;
}

}  // namespace kelp
