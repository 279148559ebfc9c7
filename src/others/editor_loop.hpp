#pragma once
// The one page loop of the semisubmersible, ship and single-anchor-leg
// editors. Each editor is data: its slots in order (the page, the test that
// shows it, where a hidden slot passes the code on to), the routing of every
// navigation code out of every slot, its record size and its defaults. The
// loop calls the identity routine of the kind, loads, runs the slots, makes
// the print pass and ends through finish.
#include <functional>
#include <span>

#include "sysutl/record.hpp"

namespace kelp {

class Session;

// Where a route leads when the session goes on to the end step (finish).
inline constexpr int kEditorEndStep = 0;

using WordTest = bool (*)(const Tpcm&);
using SlotTarget = int (*)(const Tpcm&);

// Where each navigation code leads out of one slot (a slot number, or
// kEditorEndStep). First (-1980) always leads to slot 1 and jump (-1984) to
// the slot of word 700.
struct SlotRoute {
  int keys;      // -1979, redisplay
  int skip;      // -1982
  int back;      // -1
  int other;     // every other negative code
  int zero;      // 0
  int positive;  // above 0
  int last;      // -1981
  int execute;   // -1983
  // When set and true for the record, -1 leads to back_alt instead.
  WordTest back_test = nullptr;
  int back_alt = 0;
};

// A slot shown only under a condition of the record. A hidden slot runs no
// page and passes the code on unchanged: -1 goes back as the slot's route
// says (so the back code reaches the slot before it), any other code goes
// to passed_to.
struct SlotCondition {
  WordTest shown = nullptr;  // nullptr: always shown
  SlotTarget passed_to = nullptr;
};

// One page of the loop: it shows itself, reads the user's choices and leaves
// its navigation code in word 699.
using EditorPage = std::function<void(Session&)>;

struct EditorLoop {
  int kind;          // program kind of the identity routine
  int record_words;  // record size loaded and saved
  std::span<const SlotRoute> routes;          // slot k at k - 1; the last slot is the final page
  std::span<const SlotCondition> conditions;  // as many as routes, or none
  // Defaults of an editing run (not of a print pass or an execute); the
  // letter is the user's choice at the main menu ('C' create).
  void (*defaults)(Tpcm& t, char choice);
  // Run after the page of a slot (may be null).
  void (*after_slot)(Tpcm& t, int slot) = nullptr;
};

// The slot of a jump to page n: 2 up to the final slot as typed, anything
// else slot 1.
int editor_jump_slot(const EditorLoop& e, int n);

// The slot that follows `slot` for `code`, word 700 at `jump_target`.
// `empty` tells that the slot ran no page: an empty slot before the final one
// keeps the code the last page left and sends redisplay and the unknown
// negative codes on to the next slot, so the loop never spins on a slot that
// shows nothing.
int editor_route(const EditorLoop& e, int slot, int code, int jump_target, const Tpcm& t, bool empty);

// True when `slot` shows its page for this record.
bool editor_slot_shown(const EditorLoop& e, int slot, const Tpcm& t);

// Runs the editor over its pages (slot k at k - 1, an empty function for an
// empty slot). Returns when finish ends the session; every stop is a
// ProgramStop.
void run_editor(Session& s, const EditorLoop& e, std::span<const EditorPage> pages);

}  // namespace kelp

namespace kelp {

// The 17 slots of the semisubmersible and ship editors: slot 17 is the final
// page; redisplay on slot 4 shows slot 3, skip from 3 goes to 6, from 16 to
// 1; on slots 10 to 16 only -1 goes back, the other negative codes go on.
std::span<const SlotRoute> vessel_editor_routes();

}  // namespace kelp
