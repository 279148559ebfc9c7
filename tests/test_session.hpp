#pragma once
// A session with scripted replies and a captured screen, for tests.
#include <sstream>
#include <string>

#include "sysutl/session.hpp"

namespace kelp::testing {

struct ScriptedSession {
  explicit ScriptedSession(std::string replies = {}) : in(std::move(replies)), s(in, screen, errors) {}
  std::string shown() const { return screen.str(); }
  std::istringstream in;
  std::ostringstream screen;
  std::ostringstream errors;
  Session s;
};

}  // namespace kelp::testing
