#include "ronvaske/dsctop.hpp"

#include <array>
#include <string_view>

#include "edlib/frame/kind_files.hpp"

namespace kelp {

namespace {
// The editor names of the suite, one entry per program of the family; the
// identity takes its own entry, cut to 12 characters.
constexpr std::array<std::string_view, 2> kEditorNames = {"ronvaske            ", "pivlorn             "};
}  // namespace

void dsctop(Session& /*s*/, Identity& id) {
  id.program_name = "Rondixa ";
  id.main_name = "RONDIXA     ";
  id.editor_name = std::string(kEditorNames[0].substr(0, 12));
  id.version = 6.8f;
  id.kind = 4;
  id.data_file = data_file_of(id.kind);
  id.backup_file = backup_file_of(id.kind);
  id.year = 2020;
  id.os_code = 21;
  id.layout_code = 49;
  id.run_mode = 2;
}

}  // namespace kelp
