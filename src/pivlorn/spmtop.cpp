#include "pivlorn/spmtop.hpp"

#include "edlib/frame/kind_files.hpp"

namespace kelp {

void spmtop(Session& /*s*/, Identity& id) {
  id.program_name = "Pivara  ";
  id.main_name = "PIVARA      ";
  id.editor_name = "PIVLORN     ";
  id.version = 6.8f;
  id.kind = 15;
  id.data_file = data_file_of(id.kind);
  id.backup_file = backup_file_of(id.kind);
  id.year = 2020;
  id.os_code = 21;
  id.layout_code = 49;
  id.run_mode = 2;
}

}  // namespace kelp
