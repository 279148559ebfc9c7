#include "disc/s/disc_report.hpp"

#include <array>
#include <functional>
#include <string>

#include "disc/s/disc_work_area.hpp"
#include "kelpkit/report_lines.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

constexpr int kCarriageControlUnit = 99;
constexpr char kBannerEdge[] = "(3X,'**',72X,'**')";

// New page, the section, and at the current output unit the prompt; again
// while the reply there is negative. Elsewhere nothing asks, so once.
void report_section(Session& s, const std::function<void(int)>& write) {
  Tpcm& t = s.tpcm;
  const int report = t.i(kOutputDevice);
  for (;;) {
    page(s, report, kScreen, kCarriageControlUnit);
    write(report);
    if (report != t.i(kOutputUnit)) return;
    prsret(s, report, kKeyboard, t.i(kNavCode));
    if (t.i(kNavCode) >= 0) return;
  }
}

// An item of section I: label and dot leader, F10.2 and the unit text.
void item(Session& s, int out, const char* label, int dots, float value, const std::string& unit) {
  fwrite(s, out, "(15X,A,A,F10.2,1X,A)", {std::string(label), std::string(static_cast<std::size_t>(dots), '.'), value, unit});
}

void write_summary(Session& s, int out) {
  const Tpcm& t = s.tpcm;
  const Himem& h = himem(s);
  const int units = t.i(kUnitSystem);
  const std::string length = capun(units);
  const std::string density = capun(units + 6) + "/CUBIC " + (units == kUnitsEnglish ? "FOOT " : length.substr(0, 5));
  fwrite(s, out, kBannerEdge);
  fwrite(s, out, "(3X,'*****************   I.  PHYSICAL CHARACTERISTICS SUMMARY   ','*****************')");
  fwrite(s, out, kBannerEdge);
  fwrite(s, out, "(1X,//,5X,'----  SITE CHARACTERISTICS  ----'//)");
  item(s, out, "WATER DEPTH ", 27, t.r(kWaterDepth), length);
  item(s, out, "WATER DENSITY ", 25, t.r(kWaterDensity), density);
  fwrite(s, out, "(1X,//,5X,'----  VESSEL CHARACTERISTICS  ----'//)");
  item(s, out, "DISPLACEMENT ", 26, t.r(kDisplacement), capun(units + 4));
  item(s, out, "WATER PLANE AREA ", 22, t.r(kWaterplaneArea), " SQUARE " + length);
  item(s, out, "VERTICAL (Z) KB ", 23, t.r(kBuoyancyCentre), length);
  item(s, out, "DRAFT ", 33, t.r(kDraft), length);
  lines(s, out, 1);
  item(s, out, "VERTICAL (Z) KG ", 23, t.r(kGravityCentre), length);
  item(s, out, "NATURAL ROLL CENTER (VKR) ", 13, h.r(kHimemRollCentre), length);
  item(s, out, "NATURAL PITCH CENTER (VKP) ", 12, h.r(kHimemPitchCentre), length);
  lines(s, out, 1);
  item(s, out, "PITCH GYRADIUS ", 24, t.r(kPitchGyradius), length);
  item(s, out, "ROLL GYRADIUS ", 25, t.r(kRollGyradius), length);
  item(s, out, "YAW GYRADIUS ", 26, t.r(kYawGyradius), length);
  lines(s, out, 1);
  item(s, out, "LONGITUDINAL GM (GML) ", 17, h.r(kHimemGml), length);
  item(s, out, "LONGITUDINAL KM (KML) ", 17, t.r(kMetacentreL), length);
  item(s, out, "LONGITUDINAL IWP/DELTA ", 16, t.r(kMetacentreL) - t.r(kBuoyancyCentre), length);
  lines(s, out, 1);
  // One metacentric height serves both axes: the transverse line shows it
  // whatever word 1416 says.
  item(s, out, "TRANSVERSE GM (GMT) ", 19, h.r(kHimemGmt), length);
  item(s, out, "TRANSVERSE KM (KMT) ", 19, t.r(kMetacentreT), length);
  item(s, out, "TRANSVERSE IWP/DELTA ", 18, t.r(kMetacentreT) - t.r(kBuoyancyCentre), length);
}

// The lines of section II, per mode in the order printed.
struct ModeLines {
  int mode;
  const char* unmoored_period;
  const char* moored_period;
  const char* unmoored_damping;
  const char* moored_damping;
  std::size_t mass;  // himem: the total inertia or mass of the mode
  bool rotation;
};

constexpr std::array<ModeLines, kDiscModes> kModeLines = {{
    {kModeRoll, "UNMOORED ROLL PERIOD ...................", "MOOR-MODIFIED ROLL PERIOD ..............",
     "UNMOORED ROLL DAMPING ..................", "MOOR-MODIFIED ROLL DAMPING .............", kHimemRollTotalInertia,
     true},
    {kModePitch, "UNMOORED PITCH PERIOD ..................", "MOOR-MODIFIED PITCH PERIOD .............",
     "UNMOORED PITCH DAMPING .................", "MOOR-MODIFIED PITCH DAMPING ............", kHimemPitchTotalInertia,
     true},
    {kModeHeave, "UNMOORED HEAVE PERIOD ..................", "MOOR-MODIFIED HEAVE PERIOD .............",
     "UNMOORED HEAVE DAMPING .................", "MOOR-MODIFIED HEAVE DAMPING ............", kHimemHeaveMass, false},
    {kModeSurge, "", "MOOR-MODIFIED SURGE PERIOD .............", "", "MOOR-MODIFIED SURGE DAMPING ............",
     kHimemSurgeMass, false},
    {kModeSway, "", "MOOR-MODIFIED SWAY PERIOD ..............", "", "MOOR-MODIFIED SWAY DAMPING .............",
     kHimemSurgeMass, false},
    {kModeYaw, "", "MOOR-MODIFIED YAW PERIOD ...............", "", "MOOR-MODIFIED YAW DAMPING ..............",
     kHimemYawInertia, true},
}};

// Damping in percent of critical as the report gives it.
float percent_damping(Session& s, const ModeLines& m, bool moored) {
  const Tpcm& t = s.tpcm;
  const Himem& h = himem(s);
  const DiscModeWords& mw = mode_words(m.mode);
  if (t.i(mw.damping_flag) == 1) return t.r(mw.given_damping);
  const float own = 50.0f * h.r(mw.damping);
  if (!moored || m.mode >= kModeSurge) return own;
  const float w = h.r(mw.frequency);
  return 50.0f * t.r(mw.mooring_damping) / (wavcom(s).mass_density * w * h.r(m.mass)) + own;
}

void write_motions(Session& s, int out) {
  const Tpcm& t = s.tpcm;
  const Himem& h = himem(s);
  const int units = t.i(kUnitSystem);
  const bool moored = t.i(kMooringFeedback) == 1;
  const int modes = moored ? kDiscModes : 3;
  std::string translation = " PROBLEM here!";
  std::string rotation = translation;
  if (units == kUnitsMetric) {
    translation = " m.ton/(m/sec)";
    rotation = " m.ton*m./(rad/sec)";
  } else if (units == kUnitsEnglish) {
    translation = " k.lb/(ft/sec)";
    rotation = " ft*kip/(rad/sec)";
  }
  translation.resize(24, ' ');
  rotation.resize(24, ' ');

  fwrite(s, out, kBannerEdge);
  fwrite(s, out, "(3X,'***************  II.  UNMOORED VESSEL MOTION ','CHARACTERISTICS  ','**************')");
  fwrite(s, out, kBannerEdge);
  if (t.i(kUserRaos) != 0) {
    lines(s, out, 1);
    fwrite(s, out,
           "(' >>> NOTE:  The data on this page represent RONDIXA estimates;',/,"
           "'            Motion data on subsequent pages derive ','from USER-SUPPLIED RAOs',/,"
           "'            which may or may not be consistent with ','the data on this page.')");
    lines(s, out, 1);
  }
  fwrite(s, out, "(1X,///,5X,'----  NATURAL PERIODS AT ZERO SPEED  ----'///)");
  if (moored) lines(s, out, 1);
  for (int k = 0; k < modes; ++k) {
    const ModeLines& m = kModeLines[static_cast<std::size_t>(k)];
    const float period = kDiscTwoPi / h.r(mode_words(m.mode).frequency);
    fwrite(s, out, "(15X,A,F6.1,1X,A)",
           {std::string(moored ? m.moored_period : m.unmoored_period), period, std::string("SECONDS ")});
  }
  lines(s, out, 3);
  fwrite(s, out, "(5X,'----  QUASI-LINEAR DAMPING ','COEFFICIENTS  ----')");
  lines(s, out, 3);
  if (moored) lines(s, out, 1);
  const float rho = wavcom(s).mass_density;
  for (int k = 0; k < modes; ++k) {
    const ModeLines& m = kModeLines[static_cast<std::size_t>(k)];
    fwrite(s, out, "(15X,A,F6.1,1X,A)",
           {std::string(moored ? m.moored_damping : m.unmoored_damping), percent_damping(s, m, moored),
            std::string("PERCENT ")});
    const float conversion = h.r(mode_words(m.mode).frequency) * 0.02f * rho * h.r(m.mass);
    fwrite(s, out, "(15X,'Damping conversion: 1% = ',E10.3,A/)", {conversion, m.rotation ? rotation : translation});
  }
  const bool slope = t.i(kConstantSlope) == 1;
  fwrite(s, out, "(///,15X,'REGULAR WAVE ',A6,'.....................',F6.1,1X,A8)",
         {std::string(slope ? "SLOPE " : "HEIGHT"), t.r(kRegularHeight), slope ? std::string("DEGREES ") : capun(units)});
  fwrite(s, out, "(15X,'WATER DEPTH ............................',F6.1,1X,A8)", {t.r(kWaterDepth), capun(units)});
}

}  // namespace

void dsksum(Session& s) {
  report_section(s, [&](int out) { write_summary(s, out); });
}

void dskout(Session& s) {
  report_section(s, [&](int out) { write_motions(s, out); });
}

}  // namespace kelp
