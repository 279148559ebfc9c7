#pragma once
// A session with scripted replies and a captured screen, for tests.
#include <sstream>
#include <string>

#include "sysutl/session.hpp"

namespace kelp::testing {

struct ScriptedSession {
  // terminal: whether the captured screen counts as a real terminal (screen
  // clears are written only there).
  explicit ScriptedSession(std::string replies = {}, bool terminal = false)
      : in(std::move(replies)), s(in, screen, errors, terminal) {}
  std::string shown() const { return screen.str(); }
  std::istringstream in;
  std::ostringstream screen;
  std::ostringstream errors;
  Session s;
};

}  // namespace kelp::testing
