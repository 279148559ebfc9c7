#include "edlib/frame/final_page.hpp"

#include <algorithm>

#include "edlib/frame/end_session.hpp"
#include "edlib/frame/kind_files.hpp"
#include "edlib/frame/silent_run.hpp"
#include "edlib/model/vessel_checks.hpp"
#include "edlib/record/data_record.hpp"
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
// What the End of Session page returns: leave the final page, or chaining.
constexpr int kPageLeave = 1;
constexpr int kPageChain = 999;
// Leave without saving; with chaining on, chain.
constexpr std::int32_t kCodeLeave = 101;

// Alternates the End of Session page with the consistency checks until a
// choice stands; the choice is left in word 699.
void choose(Session& s, std::string_view label, FinalPageState& st, const FinalPageSetup& setup) {
  Tpcm& t = s.tpcm;
  const ConsistencyChecks& checks = st.checks ? st.checks : setup.checks;
  int warnings = 0;
  int fatal = 0;
  for (;;) {
    fintop(s, label, t.i(kProgramKind), st.lretrn, setup.listing, setup.editor, t.i(kPageCounter), t.i(kPrintPass), t.i(kOutputUnit), st.untsav,
           t.i(kNavCode), warnings, fatal, t.i(kWriterOs), t.i(kTimeDomainSwitch));
    if (st.lretrn == kPageLeave || st.lretrn == kPageChain) return;

    warnings = 0;
    fatal = 0;
    if (checks) checks(s, warnings, fatal);

    if (is_silent(t.i(kOutputUnit))) {
      force_silent_settings(s);
      if (fatal != 0) {
        // A report that cannot be written has shown its findings on the
        // screen instead: then no line sends the user to it, and the run
        // ends as on a file error.
        const bool written = close_run_report(s, kSilentUnit, setup.caller);
        // On a terminal item 4 has cleared the screen; elsewhere the cursor
        // still stands behind the selection prompt.
        if (!s.screen_is_terminal()) s.write(kScreen, "\n");
        s.write_line(kScreen, written ? " ++> Fatal warnings stop the silent run: see \"" +
                                            std::string(kSilentReportFile) + "\";"
                                      : std::string(" ++> Fatal warnings stop the silent run;"));
        s.write_line(kScreen, "     nothing was saved.");
        s.unit(kScreen).flush();
        throw ProgramStop(written ? kFatalFindingsStatus : kFileErrorStatus);
      }
      if (warnings != 0) return;
    }
    if (warnings == 0 && fatal == 0) return;

    // The checks page their findings every 7 messages; a last partial screen
    // still needs its wait before the End of Session page replaces it.
    if ((warnings + fatal) % kFindingsPerScreen != 0) {
      int reply = 0;
      prsret(s, t.i(kOutputUnit), kKeyboard, reply);
      clear(s, t.i(kOutputUnit));
    }
  }
}

}  // namespace

bool final_page(Session& s, std::string_view label, FinalPageState& st, const FinalPageSetup& setup) {
  Tpcm& t = s.tpcm;
  if (setup.tidy) setup.tidy(s);
  // Back on the page after this run's print pass without the session having
  // ended (a chain that did not happen, a save that failed): the edits made
  // since are not in the listing, so the next request prints the pages again.
  if (st.hcdone == 1 && t.i(kPrintPass) == 0) st.hcdone = 0;
  choose(s, label, st, setup);
  const bool chained = st.lretrn == kPageChain;
  const std::int32_t code = t.i(kNavCode);
  const bool pass_code = std::ranges::find(setup.pass_codes, code) != setup.pass_codes.end();
  // The one print pass of the request: every page writes itself to the listing.
  if (pass_code && st.hcdone == 0 &&
      open_staged_report(s, trimmed(setup.listing), kListingUnit, trimmed(setup.editor), kScreen, kSilentUnit)) {
    st.hcdone = 1;
    t.i(kPrintPass) = 1;
    t.i(kNavCode) = kNavFirst;
    st.untsav = t.i(kOutputUnit);
    t.i(kOutputUnit) = kListingUnit;
    return chained;
  }
  // The print pass is behind us, or its listing cannot be written (the file
  // error has been shown, and named in a silent run's report): the request
  // goes on, and the data are saved all the same. A chain request goes to
  // the chain, not to the execute path.
  if (chained && code == kNavExecute) t.i(kNavCode) = kCodeLeave;
  return chained;
}

void veswrn_counts(Session& s, int& warnings, int& fatal) {
  warnings = 0;
  fatal = 0;
  veswrn(s, warnings, fatal);
}

std::string final_listing_name(int kind) { return listing_of(FinalPageFamily::kShpfin, kind); }
std::string final_editor_name(int kind) { return editor_of(FinalPageFamily::kShpfin, kind); }

void shpfin(Session& s, std::string_view label) {
  const int kind = s.tpcm.i(kProgramKind);
  const FinalPageSetup setup{final_listing_name(kind), final_editor_name(kind), "???FIN", {}, veswrn_counts,
                             {kNavExecute}};
  final_page(s, label, s.state<FinalPageState>(), setup);
}

}  // namespace kelp
