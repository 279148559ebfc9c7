#include "edlib/frame/end_session.hpp"

#include <string>
#include <vector>

#include "edlib/frame/import.hpp"
#include "edlib/frame/silent_run.hpp"
#include "edlib/model/wave_report.hpp"
#include "sysutl/files_shell.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"
#include "sysutl/text.hpp"

namespace kelp {

namespace {

constexpr int kCodeSaveExit = -2;
constexpr int kCodeExitNoSave = 101;
constexpr int kStatusChecks = 0;
constexpr int kStatusLeave = 1;
constexpr int kStatusChain = 999;

bool shows_wave_report(int kind) { return kind < 7 || kind > 9; }
bool shows_mooring_import(int kind) { return kind > 6 && kind != 16; }
bool has_third_block(int kind) { return kind == 10 || kind == 13; }

std::string import_word(int kind) {
  if (kind == 10) return "Barge";
  if (kind == 13) return "Tanker";
  return "Vessel";
}

std::string third_block_word(int kind) { return kind == 10 ? "Tug" : "Buoy"; }

void show_page(Session& s, std::string_view label, int kind, bool chaining) {
  constexpr int out = kScreen;
  clear(s, out);
  s.write_line(out, at_column(20, std::string("****  Page ").append(label).append(": End of Session  ****")));
  s.write_line(out, "");
  s.write_line(out, "");
  s.write_line(out, " 1) Exit to operating system and update data file");
  s.write_line(out, " 2) Exit to operating system WITHOUT updating data file");
  s.write_line(out, "");
  s.write_line(out, " 3) Execute simulation in interactive mode");
  s.write_line(out, " 4) Execute simulation in silent mode");
  s.write_line(out, "");
  s.write_line(out, " 5) Produce diskfile of input data");
  if (shows_wave_report(kind)) {
    s.write_line(out, " 6) Produce \"WAVEOUT\" file containing regular wave kinematics data");
  }
  s.write_line(out, "");
  s.write_line(out, " 7) Import " + import_word(kind) + " and environment data from an external file");
  if (shows_mooring_import(kind)) s.write_line(out, " 8) Import mooring system data from an external file");
  if (has_third_block(kind)) s.write_line(out, " 9) Import " + third_block_word(kind) + " data from an external file");
  if (chaining) {
    s.write_line(out, "");
    s.write_line(out, "10) Chain to Gustrevan");
  }
  s.write_line(out, "");
  s.write_line(out, "  (Press <RETURN> to review data)");
}

// The execute choice: while fatal findings remain the checks run again; with
// only ordinary warnings, which the user has now seen, it goes through; with
// none the checks have not yet run in this loop.
int execute_status(int warnings, int fatal) {
  if (fatal != 0) return kStatusChecks;
  if (warnings != 0) return kStatusLeave;
  return kStatusChecks;
}

// Navigation codes the page hands to the page loop as typed.
bool passes_through(int code) {
  switch (code) {
    case 0:
    case kNavBack:
    case kNavKeys:
    case kNavFirst:
    case kNavLast:
    case kNavSkip:
    case kNavJump:
      return true;
    default:
      return false;
  }
}

// The request a print pass of the way out ends with is the last one made:
// a save, a chain, or (neither) an execute.
void choose_request(FintopState& flags, int savedata, int gustrevan_go) {
  flags.savedata = savedata;
  flags.gustrevan_go = gustrevan_go;
}

// ---- Help notes ----

const std::vector<std::string>& import_files_note() {
  static const std::vector<std::string> note = {
      "     The source file should carry the same version as this editor: bring a",
      "     legacy data file up to date with its own editor first.  Type the path in",
      "     the notation of your operating system, absolute or relative; a copy of",
      "     the source under a short name in the working directory is the safest.",
  };
  return note;
}

std::vector<std::string> item_note(int item) {
  switch (item) {
    case 1:
      return {
          "     Saves the data file and exits without error checking.  The previous",
          "     file is kept as the \"*BAK\" backup and the one before it as \"LASTBAK\".",
          "     Repeated use pushes the first state of the file out of the end of the",
          "     backup cascade, so work on a copy of valuable data.",
      };
    case 2:
      return {"     Stops the editor without writing anything."};
    case 3:
      return {
          "     Runs the simulation with the full console stream on the screen; the",
          "     same as \"E\" typed on any page or at the opening screen.",
      };
    case 4:
      return {
          "     Runs the simulation with the console stream written to",
          "     \"Diagnostics.stxt\" instead of the screen.  Faster, but the user has no",
          "     chance to intervene; repeat problem runs in interactive mode.",
      };
    case 5:
      return {
          "     Writes a text mirror of all editor screens.  The data file and its",
          "     backups are not updated.",
      };
    case 6:
      return {
          "     Writes \"WAVEOUT.stxt\" with tables of regular-wave properties for every",
          "     wave period the user has entered.",
      };
    case 7:
    case 9: {
      std::vector<std::string> note = {
          "     Imports vessel and environmental data from any data file of the family.",
      };
      note.insert(note.end(), import_files_note().begin(), import_files_note().end());
      return note;
    }
    case 8: {
      std::vector<std::string> note = {
          "     Imports an entire mooring system from another data file.",
      };
      note.insert(note.end(), import_files_note().begin(), import_files_note().end());
      return note;
    }
    case 10:
      return {
          "     Without changes to the parent data, chaining to Gustrevan gives a quick",
          "     turnaround for changes on the \"Time-Domain Options\" page.  A changed",
          "     excursion-disc diameter always needs the parent program first.",
      };
    default:
      return {};
  }
}

void write_item(Session& s, int out, int item) {
  s.write_line(out, "");
  s.write(out, fmt::fortran("(' ++> Item Number  ',I2)", item));
  for (const auto& line : item_note(item)) s.write_line(out, line);
}

}  // namespace

bool chaining_allowed(int kind, int chain_switch) { return (kind == 12 || kind == 15) && chain_switch != 0; }

void finhlp(Session& s, int out, int in, int item, int kind, bool chaining) {
  (void)kind;
  int reply = 0;
  clear(s, out);
  s.write_line(out, at_column(18, "****  Vessel Environmental Load Notes  ****"));
  if (item == 0) {
    for (int k = 1; k <= 9; ++k) write_item(s, out, k);
    prsret(s, out, in, reply);
    if (chaining) {
      clear(s, out);
      write_item(s, out, 10);
      prsret(s, out, in, reply);
    }
    return;
  }
  if ((item >= 1 && item <= 9) || (item == 10 && chaining)) {
    write_item(s, out, item);
  } else {
    s.write_line(out, "");
    s.write_line(out, " ++> Sorry, no help for this line...");
    s.write_line(out, "");
  }
  prsret(s, out, in, reply);
}

void fintop(Session& s, std::string_view label, int kind, int& status, std::string_view listing,
            std::string_view editor, int& help_item, int& print_counter, int& out, int& saved_unit, int& code,
            int& warnings, int& fatal, int oscode, int chain_switch) {
  (void)oscode;  // file opening here needs no operating-system code
  auto& flags = s.state<FintopState>();
  const bool chaining = chaining_allowed(kind, chain_switch);
  const std::string listing_name = trimmed(listing);
  const std::string editor_name = trimmed(editor);
  status = kStatusChecks;

  if (warnings == 0 && fatal == 0) {
    if (print_counter != 0) {
      // A print pass has just run through all pages.
      print_counter = 0;
      // A listing that cannot be written shows the file error (and a silent
      // run's report names it); a pass of the way out goes on with its
      // request all the same, so the data are saved whatever became of the
      // listing.
      if (out == kListingUnit) close_report(s, kListingUnit, listing_name, editor_name, kScreen, kSilentUnit);
      out = saved_unit;
      if (flags.usrhcp == 0) {
        // The pass the final page started on its way out: end with the
        // choice that led to it.
        if (flags.gustrevan_go != 0) {
          status = kStatusChain;
          code = kCodeExitNoSave;
        } else if (flags.savedata != 0) {
          status = kStatusLeave;
          code = kCodeSaveExit;
        } else {
          status = kStatusLeave;
          code = kNavExecute;
        }
        return;
      }
      flags.usrhcp = 0;
    }
    if (code == kNavExecute) {
      // Execute chosen on a page or at the start: the checks run first.
      choose_request(flags, 0, 0);
      return;
    }
  }

  for (;;) {
    show_page(s, label, kind, chaining);
    entsel(s, code, kScreen, kKeyboard, help_item);
    if (code == kNavExecute || code == 3) {
      choose_request(flags, 0, 0);
      code = kNavExecute;
      status = execute_status(warnings, fatal);
      return;
    }
    if (passes_through(code)) {
      status = kStatusLeave;
      return;
    }
    switch (code) {
      case 1:
        choose_request(flags, 1, 0);
        status = kStatusLeave;
        code = kCodeSaveExit;
        return;
      case 2:
        status = kStatusLeave;
        code = kCodeExitNoSave;
        return;
      case 4:
        clear(s, kScreen);
        // A report that cannot be created leaves the page as it was.
        if (!open_report(s, std::string(kSilentReportFile), kSilentUnit, "Fintop", kScreen,
                         " ++> The silent run did not start: nothing was saved.")) {
          break;
        }
        choose_request(flags, 0, 0);
        begin_silent_run(s, out);
        out = kSilentUnit;
        warnings = 0;
        fatal = 0;
        status = kStatusChecks;
        code = kNavExecute;
        return;
      case 5:
        if (!open_staged_report(s, listing_name, kListingUnit, editor_name, kScreen)) break;
        print_counter = 1;
        saved_unit = out;
        out = kListingUnit;
        flags.usrhcp = 1;
        status = kStatusLeave;
        code = kNavFirst;
        return;
      case 6:
        if (shows_wave_report(kind)) wavout(s);
        break;
      case 7:
        datload(s, kImportVesselBlock);
        break;
      case 8:
        if (kind > 6) datload(s, kImportMooringBlock);
        break;
      case 9:
        if (has_third_block(kind)) datload(s, kImportTugBlock);
        break;
      case 10:
        if (chaining) {
          choose_request(flags, 0, 1);
          status = kStatusChain;
          code = kNavExecute;
          return;
        }
        break;
      case kNavHelp:
        finhlp(s, kScreen, kKeyboard, help_item, kind, chaining);
        break;
      default:
        // Table commands and items the page does not offer: shown again.
        break;
    }
  }
}

}  // namespace kelp
