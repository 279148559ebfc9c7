#pragma once
// The vessel and environment consistency checks run before the data leave
// the editor: vessel particulars (of both bodies for the two-vessel kinds 10
// and 13), the member model, regular and irregular seas, swell, wind,
// current and the load-model selectors.
#include <initializer_list>
#include <string_view>

namespace kelp {

class Session;

// Writes the findings of a consistency check on one output unit, each
// opened by an empty line: a message as it stands, a warning or a fatal
// warning counted as well (count_warning, count_fatal), through wrninc,
// which pauses after every seventh message.
class CheckReporter {
 public:
  CheckReporter(Session& s, int out, int& nwarn, int& nfatal) : s_(s), out_(out), nwarn_(nwarn), nfatal_(nfatal) {}

  void message(std::initializer_list<std::string_view> lines);
  void warning(std::initializer_list<std::string_view> lines);
  void fatal(std::initializer_list<std::string_view> lines);
  // One more warning or fatal warning, whose lines were written already.
  void count_warning();
  void count_fatal();

 protected:
  Session& s_;
  int out_;
  int& nwarn_;
  int& nfatal_;
};

// Runs every check on tpcm (and the first wind and current coefficients of
// lowcof), after normalising a few dependent words. Each finding is a block
// opened by a blank line and " ++> Warning: " or " ++> Fatal Warning: " on
// the unit in word 702 (the screen is cleared first unless a print pass
// runs), counted through wrninc, which pauses after every seventh message:
// nwarn and nfatal grow by one per warning and per fatal warning. A member
// with findings counts as a warning, and also as a fatal warning when one of
// them is fatal. Never stops the program.
void veswrn(Session& s, int& nwarn, int& nfatal);

}  // namespace kelp
