// Pages 17 and 18 of the single-anchor-leg editor: the output options. Each
// page is a table of rows read by one loop; a row holds what it shows under,
// and every listed item is edited whether shown or not.
#include "salm/e/slmout.hpp"

#include "edlib/pagekit/output_menus.hpp"
#include "edlib/pagekit/page_pattern.hpp"
#include "edlib/pagekit/page_table.hpp"
#include "edlib/record/data_record.hpp"
#include "kelpkit/nohelp.hpp"
#include "kelpkit/toggles.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"

namespace kelp {

namespace {

int word(const Session& s, IntWord w) { return s.tpcm.i(w); }
int out_of(const Session& s) { return s.tpcm.i(kOutputUnit); }
bool always(const Session&) { return true; }

void no_help(Session& s, int) {
  int reply = 0;
  nohelp(s, out_of(s), kKeyboard, reply);
}

// ---- Page 17 ----

// Waves: irregular seas or swell.
bool waves(const Session& s) { return word(s, kIrregularOn) == 1 || word(s, kSwellOn) == 1; }
bool static_data(const Session& s) { return word(s, kSalmOption1995) != 0; }
// Low-frequency output: no static data, or a vessel with low-frequency dynamics.
bool low_frequency(const Session& s) {
  return word(s, kSalmOption1995) == 0 || (word(s, kNoQuasiStatics) == 0 && word(s, kLowFrequencyOn) != 0);
}
bool wave_frequency_item(const Session& s) { return low_frequency(s) || word(s, kNoQuasiStatics) != 0; }
bool joint_raos(const Session& s) { return wave_frequency_item(s) && word(s, kWaveFrequencyOn) != 0; }
bool current_on(const Session& s) { return word(s, kCurrentOn) == 1; }
bool current_waves(const Session& s) { return current_on(s) && waves(s); }

// At each display the load-variation output follows its twin word 1993.
void load_variation_copy(Session& s, PageItems&) { s.tpcm.i(kLoadVariationCopy) = s.tpcm.i(kSalmOption1993); }

void draw_decomposition(Session& s, PageItems& w) {
  w.custom();
  s.write_line(w.out(), word(s, kMemberFixedLoads) == 0
                            ? "12) Use << Salm-Plane >> Coordinates for load decomposition"
                            : "12) Use <<Member-fixed>> Coordinates for load decomposition");
}
void edit_decomposition(Session& s, int) {
  toggle3(s, s.tpcm.i(kMemberFixedLoads), s.tpcm.i(kBatchFlag), out_of(s), kKeyboard, "Member-fixed", "Salm-plane");
}

void draw_storm(Session& s, PageItems& w) {
  w.value("Storm duration (hours) for peak motion/load statistics", s.tpcm.r(kStormDuration), "(A57,F6.2)");
}
void edit_storm(Session& s, int item) {
  PageItems again(s, out_of(s), item);
  draw_storm(s, again);
  edit_real(s, kStormDuration, out_of(s));
}

constexpr Row kPage17Rows[] = {
    Row::toggle("Output static offset and Salm mass data", kSalmOption1995).blank(),
    Row::toggle("Output static load interpolation table", kSalmOption2469).when(static_data).accept_when(always),
    Row::toggle("Output static loads at prescribed offsets", kSalmOption2001).when(static_data).accept_when(always),
    Row::toggle("Output low-frequency motions/loads data", kSalmOption1994)
        .blank()
        .blank_after()
        .when(low_frequency)
        .accept_when(always),
    Row::toggle("Simulate wave-frequency dynamics", kWaveFrequencyOn)
        .blank_after()
        .when(wave_frequency_item)
        .accept_when(always),
    Row::toggle("Output position RAOs at free joints", kJointPositionRaos).when(joint_raos).accept_when(always),
    Row::toggle("Output Angle RAOs for articulated members", kArticulationAngleRaos)
        .when(joint_raos)
        .accept_when(always),
    Row::line(load_variation_copy),
    Row::toggle("Output net load variation RAOs at free joints", kSalmOption1993).when(joint_raos).accept_when(always),
    Row::gap(3),
    Row::custom(draw_decomposition, edit_decomposition),
    Row::gap(20),
    Row::line(begin_version5_flags),
    Row::toggle("Use \"Legacy\" current-wave drift force interaction model", kLegacyCurrentDrift)
        .when(current_waves)
        .accept_when(current_on),
    Row::toggle("Use \"Legacy\" peak low-frequency motion and loads model", kLegacyPeakModel)
        .when(waves)
        .accept_when(always),
    Row::toggle("Exclude wave absorption damping and excitation", kExcludeWaveAbsorption)
        .when(waves)
        .accept_when(always),
    Row::gap(1),
    Row::toggle("Force Gaussian peak factors for low-frequency motions", kGaussianPeaks),
    Row::line(end_version5_flags),
    Row::gap(13),
    Row::custom(draw_storm, edit_storm),
};

const TablePage kPage17 = {
    .header_format = "(T19,' ****  Page ',A,': Output options 1 ****'//)",
    .rows = kPage17Rows,
    .help = no_help,
    .help_for = HelpFor::kAnyNumber,
    .above_last = AboveLast::kLeave,
};

// ---- Page 18 ----

bool dynamics(const Session& s) { return word(s, kLowFrequencyOn) != 0 || word(s, kNoQuasiStatics) != 0; }
bool wf_dynamics(const Session& s) { return dynamics(s) && word(s, kWaveFrequencyOn) != 0; }
bool spread_raos(const Session& s) {
  return wf_dynamics(s) && word(s, kSpreadingOn) != 0 && word(s, kAnyRaoOutput) != 0 &&
         word(s, kNoQuasiStatics) == 0;
}
bool spectral_raos(const Session& s) { return wf_dynamics(s) && word(s, kAnyRaoOutput) != 0; }
bool vessel_motions(const Session& s) { return wf_dynamics(s) && word(s, kNoQuasiStatics) == 0; }
bool not_printing(const Session& s) { return s.tpcm.i(kPrintPass) == 0; }

void draw_sigma(Session& s, PageItems& w) {
  w.custom();
  s.write_line(w.out(), word(s, kOneSigma) != 0
                            ? " 1) Use <<one>> standard deviation (sigma) statistical output values"
                            : " 1) Use <<two>> standard deviation (sigma) statistical output values");
}
void edit_sigma(Session& s, int) {
  toggle3(s, s.tpcm.i(kOneSigma), s.tpcm.i(kBatchFlag), out_of(s), kKeyboard, "One", "Two");
}

// Item 7: word 103 holds the inverse of what the line shows.
void draw_motions_summary(Session& s, PageItems& w) {
  int shown = word(s, kNoMotionsSummary);
  toggle(s, shown);
  w.yes_no("Output vessel motions summary", shown);
}
void edit_motions_summary(Session& s, int) {
  int& flag = s.tpcm.i(kNoMotionsSummary);
  toggle(s, flag);
  toggle2(s, flag, s.tpcm.i(kBatchFlag), out_of(s), kKeyboard);
  toggle(s, flag);
}

void draw_debug(Session& s, PageItems& w) {
  w.custom();
  s.write_line(w.out(), word(s, kDebug) != 0 ? "12) Debug option is on" : "12) Debug option is off");
}
void edit_debug(Session& s, int) {
  toggle3(s, s.tpcm.i(kDebug), s.tpcm.i(kBatchFlag), out_of(s), kKeyboard, "On", "Off");
}

// Item 13: the console is the current output unit, a disk drive above 0 is
// named by its letter; the menu has no title, three empty lines above the
// entries.
void draw_device(Session& s, PageItems& w) { output_device_item(s, w, out_of(s), DriveName::kLetter); }
void edit_device(Session& s, int) { choose_output_device(s, {.lines_above = 3, .title = false, .lines_below = 0}); }

constexpr Row kPage18Rows[] = {
    Row::custom(draw_sigma, edit_sigma).when(dynamics).accept_when(always),
    Row::toggle("Utilize simplified member drag model", kSimplifiedMemberDrag).when(wf_dynamics).accept_when(always),
    Row::toggle("Output RAOs for principal wave directions", kAnyRaoOutput).when(wf_dynamics).accept_when(always),
    Row::toggle("Output RAOs at all intermediate angles (spread sea case)", kOutputSpreadRaos)
        .when(spread_raos)
        .accept_when(always),
    Row::toggle("Substitute spectral densities for RAO output", kSpectralRaoOutput)
        .when(spectral_raos)
        .accept_when(always),
    Row::gap(1),
    Row::custom(draw_motions_summary, edit_motions_summary).when(vessel_motions).accept_when(always),
    Row::gap(1),
    Row::toggle("User-supplied vessel wave-frequency RAO data", kUserRaos)
        .blank_after()
        .when(vessel_motions)
        .accept_when(always),
    Row::gap(1),
    Row::toggle("Create plotter file", kPlotterFile),
    Row::custom(draw_debug, edit_debug).blank(),
    Row::custom(draw_device, edit_device).when(not_printing).accept_when(always),
};

const TablePage kPage18 = {
    .header_format = "(T19,' ****  Page ',A,': Output options 2 ****'//)",
    .rows = kPage18Rows,
    .help = no_help,
    .help_for = HelpFor::kAnyNumber,
    .above_last = AboveLast::kLeave,
};

}  // namespace

void slmout(Session& s, std::string_view label) { run_table(s, kPage17, label); }

void slmot2(Session& s, std::string_view label) { run_table(s, kPage18, label); }

}  // namespace kelp
