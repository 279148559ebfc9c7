#include "kelpkit/nohelp.hpp"

#include "kelpkit/report_lines.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

void nohelp(Session& s, int out, int in, int& reply) {
  clear(s, out);
  lines(s, out, 2);
  fwrite(s, out, "(A)", {std::string(" ++> Sorry, no help for this page...")});
  lines(s, out, 1);
  prsret(s, out, in, reply);
}

}  // namespace kelp
