#pragma once
// Report lines, unit words and version text.
#include <functional>
#include <string>
#include <string_view>

namespace kelp {

class Session;

// A unit-label function such as units or unitp: 16-character label of a code.
using UnitLabelFn = std::function<std::string(int)>;

// n empty lines on out (none for n <= 0).
void lines(Session& s, int out, int n);

// One labelled value line: 10 blanks, the first nlab characters of label
// (nlab clamped to 1..36), a blank, 37 - nlab dots, the value in F10.2, a
// blank and the 16-character unitf(icode).
void onelin(Session& s, std::string_view label, int nlab, float value, const UnitLabelFn& unitf, int icode,
            int out);

// Upper-case unit word, 8 characters blank-padded ("ERROR ! " for an unknown
// code).
std::string capun(int icode);

// "Version: ", |v| in F4.2, ".00", then a blank when v > 0 and "b"
// otherwise (17 characters).
std::string version_string(float v);

// nbug := 0, prompt "Input NBUG: ", readi into nbug (blank leaves 0).
void inbug(Session& s, int& nbug, int out, int in);

}  // namespace kelp
