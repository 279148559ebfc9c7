#pragma once
// Trace lines of the line library: written on the current output unit (word
// 702 of the record) while the trace flag (word 114) is 1.
#include <string_view>
#include <vector>

namespace kelp {

class Session;

// Edit descriptor of a line, node or line-type number in the library's
// messages: two digits, three above 99 (lines and line types run past 99).
inline const char* number_field(int n) { return n > 99 ? "I3" : "I2"; }

class LineTrace {
 public:
  explicit LineTrace(Session& s);
  bool on() const { return on_; }
  int out() const { return out_; }
  Session& session() const { return s_; }
  // The label on a line of its own, then the values six to a line (E12.4).
  void values(std::string_view label, const std::vector<double>& v) const;
  // One line of text.
  void text(std::string_view line) const;

 private:
  Session& s_;
  bool on_;
  int out_;
};

}  // namespace kelp
