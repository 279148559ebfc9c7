#include "edlib/final_page.hpp"

#include "edlib/end_session.hpp"
#include "edlib/vessel_checks.hpp"
#include "sysutl/files_shell.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"
#include "sysutl/text.hpp"

namespace kelp {

namespace {

constexpr int kFindingsPerScreen = 7;
// Exit status of a silent run stopped by fatal findings.
constexpr int kFatalFindingsStatus = 1;

// Names of the listing file and the editor: 12 characters.
std::string name12(std::string_view text) { return fixed(text, 12); }

}  // namespace

void veswrn_counts(Session& s, int& warnings, int& fatal) {
  warnings = 0;
  fatal = 0;
  veswrn(s, warnings, fatal);
}

std::string final_listing_name(int kind) {
  switch (kind) {
    case 1:
      return name12("HULVIN.stxt");
    case 16:
      return name12("DRIFIN.stxt");
    case 4:
      return name12("RONDIN.stxt");
    default:
      return name12("INPUT.stxt");
  }
}

std::string final_editor_name(int kind) {
  switch (kind) {
    case 1:
      return name12("Hulbrand");
    case 16:
      return name12("Driftwel");
    case 4:
      return name12("ronvaske");
    default:
      return name12("WhoamI?");
  }
}

namespace {

// Alternates the End of Session page with the consistency checks until a
// choice stands; the choice is left in word 699.
void choose(Session& s, std::string_view label, int kind, const std::string& listing, const std::string& editor) {
  Tpcm& t = s.tpcm;
  auto& st = s.state<FinalPageState>();
  int warnings = 0;
  int fatal = 0;
  for (;;) {
    int status = 0;
    fintop(s, label, kind, status, listing, editor, t.i(700), t.i(701), t.i(702), st.untsav, t.i(699), warnings,
           fatal, t.i(120), t.i(1866));
    if (status == 1) return;

    warnings = 0;
    fatal = 0;
    if (st.checks) {
      st.checks(s, warnings, fatal);
    } else {
      veswrn_counts(s, warnings, fatal);
    }

    if (is_silent(t.i(702))) {
      t.i(114) = 0;
      t.i(113) = 0;
      t.i(108) = 1;
      if (fatal != 0) {
        close_report(s, kSilentUnit, "Diagnostics.stxt", "???FIN", kScreen);
        // On a terminal item 4 has cleared the screen; elsewhere the cursor
        // still stands behind the selection prompt.
        if (!s.screen_is_terminal()) s.write(kScreen, "\n");
        s.write_line(kScreen,
                     " ++> Fatal warnings stop the silent run: see \"Diagnostics.stxt\"; nothing was saved.");
        s.unit(kScreen).flush();
        throw ProgramStop(kFatalFindingsStatus);
      }
      if (warnings != 0) return;
    }
    if (warnings == 0 && fatal == 0) return;

    // The checks page their findings every 7 messages; a last partial screen
    // still needs its wait before the End of Session page replaces it.
    if ((warnings + fatal) % kFindingsPerScreen != 0) {
      int reply = 0;
      prsret(s, t.i(702), kKeyboard, reply);
      clear(s, t.i(702));
    }
  }
}

}  // namespace

void shpfin(Session& s, std::string_view label) {
  Tpcm& t = s.tpcm;
  auto& st = s.state<FinalPageState>();
  const int kind = t.i(1);
  const std::string listing = final_listing_name(kind);
  const std::string editor = final_editor_name(kind);

  for (;;) {
    choose(s, label, kind, listing, editor);
    if (t.i(699) != kNavExecute) return;
    if (st.hcdone == 1) return;

    // The one print pass of the run: every page writes itself to the listing.
    if (open_report(s, trimmed(listing), kListingUnit, trimmed(editor), kScreen)) {
      st.hcdone = 1;
      t.i(701) = 1;
      t.i(699) = kNavFirst;
      st.untsav = t.i(702);
      t.i(702) = kListingUnit;
      return;
    }
    // The listing cannot be written: back to the End of Session page with
    // the record as it is; nothing has been saved yet.
    t.i(699) = 0;
  }
}

}  // namespace kelp
