#include "edlib/pagekit/leader_lines.hpp"

#include "sysutl/fortran_format.hpp"

namespace kelp {

std::string dotted(std::string_view head, std::size_t width) {
  std::string line(head);
  line += ' ';
  if (line.size() + 1 < width) line.append(width - line.size(), '.');
  return line;
}

std::string item_head(int item, std::string_view label, std::size_t width) {
  return dotted(fmt::fortran("(1X,I2,') ',A,$)", item, std::string(label)), width);
}

void value_line(Session& s, int out, const std::string& head, float value, std::string_view descriptor,
                const std::string& unit) {
  fwrite(s, out, "(A," + std::string(descriptor) + ",A)", {head, value, unit});
}

}  // namespace kelp
