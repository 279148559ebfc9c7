#include "edlib/pages/environment_pages.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>

#include "edlib/pagekit/leader_lines.hpp"
#include "edlib/pagekit/page_output.hpp"
#include "edlib/pagekit/page_table.hpp"
#include "edlib/record/data_record.hpp"
#include "kelpkit/report_lines.hpp"
#include "kelpkit/spectrum_names.hpp"
#include "kelpkit/toggles.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

// Both pages write one blank before each line, so their item heads and
// dot leaders end in column 49, where the value begins.
constexpr std::size_t kLeaderEnd = 49;

int out_of(const Session& s) { return s.tpcm.i(kOutputUnit); }
bool metric(const Session& s) { return s.tpcm.i(kUnitSystem) == kUnitsMetric; }

std::string spectral_density_unit(const Session& s) { return metric(s) ? " meters^2/sec" : " feet^2/sec"; }

// ---- Wind ----

void wind_speed_line(Session& s, int out) {
  value_line(s, out, item_head(1, "Wind speed", kLeaderEnd), s.tpcm.r(kWindSpeed), "F11.2", " knots");
}
void wind_heading_line(Session& s, int out) {
  value_line(s, out, item_head(2, "Wind heading", kLeaderEnd), s.tpcm.r(kWindHeading), "F11.2", " degrees");
}

// The parameter of the spectral type in word 164, if it has one: its line
// (and true), or nothing (false).
bool wind_parameter_line(Session& s, int out) {
  const auto& t = s.tpcm;
  switch (t.i(kWindSpectrum)) {
    case 2:
      value_line(s, out, dotted("     Wind speed spectral density", kLeaderEnd), t.r(kWindDensity), "E11.3",
                 spectral_density_unit(s));
      return true;
    case 4:
      value_line(s, out, dotted("     A.P.I. wind spectrum parameter", kLeaderEnd), t.r(kApiWindParameter),
                 "F14.5");
      return true;
    case 5:
      value_line(s, out, dotted("     N.P.D. Spectral Evaluation Height", kLeaderEnd), t.r(kNpdHeight), "F11.2",
                 unitp(t.i(kUnitSystem), 7));
      return true;
    default: return false;
  }
}

RealWord wind_parameter_word(const Session& s) {
  switch (s.tpcm.i(kWindSpectrum)) {
    case 2: return kWindDensity;
    case 4: return kApiWindParameter;
    default: return kNpdHeight;
  }
}

// Writes the parameter line of the current type and reads its new value;
// nothing for a type without parameter.
void edit_wind_parameter(Session& s, int) {
  const int out = out_of(s);
  if (wind_parameter_line(s, out)) edit_real(s, wind_parameter_word(s), out);
}

void choose_wind_type(Session& s, int) {
  auto& t = s.tpcm;
  const int out = out_of(s);
  for (;;) {
    int reply = choose(
        s, out,
        [&] {
          clear(s, out);
          fwrite(s, out, "(1X,'-- Wind type --'//)");
          for (int n = 1; n <= 6; ++n) fwrite(s, out, "(1X,I1,') ',A)", {n, wndprt(n)});
        },
        [&](int item) { wndhp2(s, item); });
    // Blank or a navigation command: back to the page, the code not passed on.
    if (reply <= 0) return;
    if (reply > 6) continue;
    maxchk(reply, 6);
    t.i(kWindSpectrum) = reply;
    edit_wind_parameter(s, 4);
    return;
  }
}

template <void (*line)(Session&, int)>
void draw_item(Session& s, PageItems& w) {
  w.custom();
  line(s, w.out());
}

template <void (*line)(Session&, int), RealWord word>
void edit_item(Session& s, int) {
  const int out = out_of(s);
  line(s, out);
  edit_real(s, word, out);
}

void draw_wind_type(Session& s, PageItems& w) {
  w.custom();
  fwrite(s, w.out(), "(A,1X,A)", {item_head(3, "Wind spectral type", kLeaderEnd), wndprt(s.tpcm.i(kWindSpectrum))});
}

// The parameter line is no numbered line of its own, but 4 edits it.
void draw_wind_parameter(Session& s, PageItems& w) {
  w.custom();
  if (wind_parameter_line(s, w.out())) w.blank();
}

void wind_help(Session& s, int item) { wndhp1(s, item); }

const Row kWindRows[] = {
    Row::custom(draw_item<wind_speed_line>, edit_item<wind_speed_line, kWindSpeed>),
    Row::custom(draw_item<wind_heading_line>, edit_item<wind_heading_line, kWindHeading>).blank_after(),
    Row::custom(draw_wind_type, choose_wind_type),
    Row::custom(draw_wind_parameter, edit_wind_parameter),
};

const TablePage kWindPage = {.header_format = "(T20,'****  Page ',A,': Wind Conditions  ****'///)",
                             .rows = kWindRows,
                             .help = wind_help,
                             .help_for = HelpFor::kAnyNumber};

// ---- Current ----

constexpr int kProfileSlots = 5;
constexpr int kLegacyProfile = 2;  // word 176: the profile table of this page
constexpr std::string_view kProfileTitle = "Current Speed Profile Specification";

RealWord depth_word(int slot) { return RealWord{kCurrentDepths.n + static_cast<std::size_t>(slot - 1)}; }
RealWord speed_word(int slot) { return RealWord{kCurrentSpeeds.n + static_cast<std::size_t>(slot - 1)}; }

bool legacy(const Session& s) { return s.tpcm.i(kCurrentProfile) == kLegacyProfile; }
bool density_shown(const Session& s) {
  const int type = s.tpcm.i(kCurrentSpectrum);
  return type == 1 || type == 3;
}
bool rms_shown(const Session& s) {
  const int type = s.tpcm.i(kCurrentSpectrum);
  return (type == 3 || (s.tpcm.i(kProgramKind) == 14 && type != 0));
}

std::string profile_name(int mode) {
  switch (mode) {
    case 0: return " 1/7 power law                 ";
    case 1: return " No variation                  ";
    case 2: return " User-Specified (legacy)       ";
    case 3: return " User-Specified (CRNTPROF)     ";
    default: return " Index error                   ";
  }
}

// The current spectrum name of word 165 (0 to 3; curprt counts from 1).
std::string current_type_name(int type) { return curprt(type >= 0 && type <= 3 ? type + 1 : 0); }

void current_speed_line(Session& s, int out) {
  value_line(s, out, item_head(1, "Current speed", kLeaderEnd), s.tpcm.r(kCurrentSpeed), "F11.2", " knots");
}
void current_heading_line(Session& s, int out) {
  value_line(s, out, item_head(2, "Current heading", kLeaderEnd), s.tpcm.r(kCurrentHeading), "F11.2",
             " degrees");
}
void profile_mode_line(Session& s, int out) {
  fwrite(s, out, "(A,A)",
         {item_head(3, "Current variation with depth", kLeaderEnd), profile_name(s.tpcm.i(kCurrentProfile))});
}
void profile_count_line(Session& s, int out) {
  const std::string label = fmt::fortran("(A,I1,')',$)", std::string("Number of points in current profile (Max "),
                                         kProfileSlots);
  fwrite(s, out, "(A,I11)", {item_head(4, label, kLeaderEnd), s.tpcm.i(kCurrentProfilePoints)});
}
void profile_table_line(Session& s, int out) {
  fwrite(s, out, "(1X,I2,') ',A)", {5, std::string("Specify current variation with depth")});
}
void current_type_line(Session& s, int out) {
  fwrite(s, out, "(A,A)",
         {item_head(6, "Current spectral type", kLeaderEnd), current_type_name(s.tpcm.i(kCurrentSpectrum))});
}
void current_density_line(Session& s, int out) {
  value_line(s, out, dotted("     Current speed spectral density", kLeaderEnd), s.tpcm.r(kCurrentDensity),
             "E11.3", spectral_density_unit(s));
}
void rms_line(Session& s, int out) {
  value_line(s, out, item_head(7, "Fractional RMS current variation", kLeaderEnd), s.tpcm.r(kCurrentRmsFraction),
             "F11.3");
}

// The band-limited density from the speed and RMS fraction of the record.
void recompute_density(Session& s) {
  const auto& t = s.tpcm;
  store_real(s, kCurrentDensity,
             band_limited_density(t.r(kCurrentRmsFraction), t.r(kCurrentSpeed), t.i(kUnitSystem)), out_of(s));
}

void recompute_if_band_limited(Session& s) {
  if (s.tpcm.i(kCurrentSpectrum) == 3) recompute_density(s);
}

void edit_current_speed(Session& s, int item) {
  edit_item<current_speed_line, kCurrentSpeed>(s, item);
  recompute_if_band_limited(s);
}

void edit_rms(Session& s, int item) {
  edit_item<rms_line, kCurrentRmsFraction>(s, item);
  recompute_if_band_limited(s);
}

void edit_profile_count(Session& s, int) {
  const int out = out_of(s);
  profile_count_line(s, out);
  int& count = s.tpcm.i(kCurrentProfilePoints);
  enteri(s, count, out, kKeyboard);
  maxchk(count, kProfileSlots);
}

// The profile table; "Abort entry" puts the mode back to what it was before
// the menu choice that opened the table.
void open_profile_table(Session& s, int mode_before) {
  if (crntin(s, kProfileTitle).aborted) s.tpcm.i(kCurrentProfile) = mode_before;
}

void edit_profile_table(Session& s, int) { open_profile_table(s, kLegacyProfile); }

void choose_profile_mode(Session& s, int) {
  auto& t = s.tpcm;
  const int out = out_of(s);
  const int before = t.i(kCurrentProfile);
  int reply = 0;
  do {
    reply = choose(
        s, out,
        [&] {
          clear(s, out);
          fwrite(s, out, "(/' +++ Current Profile Specification Options +++'/)");
          for (int n = 1; n <= 4; ++n) fwrite(s, out, "(1X,I1,') ',A)", {n, profile_name(n - 1)});
        },
        [&](int item) { curhlp4(s, item); });
    if (reply == 0) return;  // blank: the mode stays
  } while (reply < 1 || reply > 4);
  t.i(kCurrentProfile) = reply - 1;
  if (reply - 1 != kLegacyProfile || before == kLegacyProfile) return;
  // The table mode newly chosen: the count first when there is none, else
  // the table itself.
  const int count = t.i(kCurrentProfilePoints);
  if (count < 1 || count > kProfileSlots) {
    lines(s, out, 1);
    edit_profile_count(s, 4);
  } else {
    open_profile_table(s, before);
  }
}

void choose_current_type(Session& s, int) {
  auto& t = s.tpcm;
  const int out = out_of(s);
  int reply = 0;
  do {
    reply = choose(
        s, out,
        [&] {
          clear(s, out);
          fwrite(s, out, "('-- Current Spectral Type --'//)");
          for (int n = 1; n <= 4; ++n) fwrite(s, out, "(' ',I1,')',A)", {n, curprt(n)});
        },
        [&](int item) { curhlp2(s, item); });
    if (reply < 1) return;  // blank or a command: the page again, nothing changed
  } while (reply >= 5);
  maxchk(reply, 4);
  t.i(kCurrentSpectrum) = reply - 1;
  if (reply - 1 == 1) {
    current_density_line(s, out);
    edit_real(s, kCurrentDensity, out);
  } else if (reply - 1 == 3) {
    rms_line(s, out);
    edit_real(s, kCurrentRmsFraction, out);
    recompute_density(s);
  }
}

void draw_current_density(Session& s, PageItems& w) { current_density_line(s, w.out()); }

void current_help(Session& s, int item) { curhlp1(s, item); }

const Row kCurrentRows[] = {
    Row::custom(draw_item<current_speed_line>, edit_current_speed),
    Row::custom(draw_item<current_heading_line>, edit_item<current_heading_line, kCurrentHeading>),
    Row::custom(draw_item<profile_mode_line>, choose_profile_mode),
    Row::custom(draw_item<profile_count_line>, edit_profile_count).when(legacy),
    Row::custom(draw_item<profile_table_line>, edit_profile_table).when(legacy),
    // The spectral items, which editors calling with a nonzero flag leave out.
    Row::custom(draw_item<current_type_line>, choose_current_type).blank(),
    Row::line(draw_current_density).when(density_shown),
    Row::custom(draw_item<rms_line>, edit_rms).when(rms_shown).blank(),
};

constexpr std::size_t kCurrentItemsWithoutSpectrum = 5;

constexpr TablePage current_page(std::span<const Row> rows) {
  return {.header_format = "(T18,'****  Page ',A,': Current Conditions  ****'///)",
          .rows = rows,
          .help = current_help,
          .help_for = HelpFor::kAnyNumber};
}
const TablePage kCurrentPage = current_page(kCurrentRows);
const TablePage kCurrentPageWithoutSpectrum =
    current_page(std::span<const Row>(kCurrentRows).first(kCurrentItemsWithoutSpectrum));

// ---- The profile table ----

void profile_heads(Session& s, int out, std::string_view title) {
  fwrite(s, out, "(' ++> Enter ',A/)", {std::string(title)});
  fwrite(s, out, "(5X,A)", {std::string("   Depth Below    Current")});
  fwrite(s, out, "(5X,A)", {std::string("     Surface       Speed")});
  fwrite(s, out, "(5X,A/)", {std::string("       (x)        (y, kts)")});
}

void draw_profile(Session& s, int out, std::string_view title, int count) {
  const auto& t = s.tpcm;
  if (t.i(kPrintPass) == 0) clear(s, out);
  profile_heads(s, out, title);
  for (int row = 1; row <= count; ++row) {
    fwrite(s, out, "(1X,I2,') ',2F12.2)", {row, t.r(depth_word(row)), t.r(speed_word(row))});
  }
  lines(s, out, 1);
  static constexpr std::array<std::string_view, 4> kOperations = {
      "Change the number of points in current profile", "Eliminate a row and collapse array",
      "Insert a null row and expand array", "Abort entry"};
  for (int k = 0; k < 4; ++k) {
    fwrite(s, out, "(1X,I2,') ',A)", {count + 1 + k, std::string(kOperations[static_cast<std::size_t>(k)])});
  }
}

// Reads a row number of the table (1 to count), or 0 when the reply is none.
int read_row(Session& s, int out, std::string_view prompt, int count) {
  wrtlin(s, prompt, out);
  int code = 0;
  int row = 0;
  readi(s, code, kKeyboard, row);
  return code >= 1 && code <= count ? code : 0;
}

void copy_slot(Tpcm& t, int from, int to) {
  t.bits(depth_word(to)) = t.bits(depth_word(from));
  t.bits(speed_word(to)) = t.bits(speed_word(from));
}

// Rows from `first` to the count in turn, until an all-blank reply.
void edit_rows(Session& s, int out, int first, int count) {
  auto& t = s.tpcm;
  for (int row = first; row <= count; ++row) {
    float depth = t.r(depth_word(row));
    float speed = t.r(speed_word(row));
    float unused = 0.0f;
    int blank = 0;
    entcrd(s, row, depth, speed, unused, 2, out, kKeyboard, blank);
    if (blank == 1) return;
    t.set_r(depth_word(row), depth);
    t.set_r(speed_word(row), speed);
  }
}

void profile_warning(Session& s, int out, std::initializer_list<std::string_view> text) {
  lines(s, out, 1);
  help_lines(s, out, text);
  int reply = 0;
  prsret(s, out, kKeyboard, reply);
}

// Whether the table may be left: the last row reaches the bottom or has no
// current, and the surface point is not entered. An empty table has nothing
// to check.
bool profile_complete(Session& s, int out, int count) {
  const auto& t = s.tpcm;
  if (count == 0) return true;
  if (t.r(depth_word(count)) != t.r(kWaterDepth) && t.r(speed_word(count)) != 0.0f) {
    profile_warning(s, out,
                    {" ++> WARNING: If current-associated mooring loads are required,",
                     "              the last row of data above must represent either",
                     "              the current at the bottom or a zero current value",
                     "              in the last row"});
    return false;
  }
  if (t.r(depth_word(1)) != 0.0f) return true;
  profile_warning(s, out,
                  {" ++> WARNING: A surface point at depth 0.00 is implicit. You must",
                   "              therefore eliminate the surface point in this array."});
  return false;
}

}  // namespace

float band_limited_density(float rms_fraction, float speed_knots, int unit_system) {
  const float c = unit_system == kUnitsMetric ? 0.2644f : 2.846f;
  const float rms = rms_fraction * speed_knots;
  return rms * rms * c / 0.1257f;
}

void wind(Session& s, std::string_view label) { run_table(s, kWindPage, label); }

void curent(Session& s, std::string_view label, int flag) {
  const bool printing = s.tpcm.i(kPrintPass) != 0;
  run_table(s, flag == 0 ? kCurrentPage : kCurrentPageWithoutSpectrum, label);
  // The print pass walks the profile table after the page.
  if (printing && legacy(s)) crntin(s, kProfileTitle);
}

ProfileExit crntin(Session& s, std::string_view title) {
  auto& t = s.tpcm;
  const int out = out_of(s);
  int& count = t.i(kCurrentProfilePoints);
  // A count from the file never reaches past the five slots.
  maxchk(count, kProfileSlots);
  // All five slots and the count, for "Abort entry" (an insert moves them all).
  std::array<std::int32_t, 2 * kProfileSlots> saved{};
  for (int k = 1; k <= kProfileSlots; ++k) {
    saved[static_cast<std::size_t>(2 * (k - 1))] = t.bits(depth_word(k));
    saved[static_cast<std::size_t>(2 * k - 1)] = t.bits(speed_word(k));
  }
  const int saved_count = count;

  for (;;) {
    const int n = count;
    draw_profile(s, out, title, n);
    if (t.i(kPrintPass) != 0) {
      twopg(s, t.i(kPrintPass), out);
      return {};
    }
    int code = 0;
    entsel(s, code, out, kKeyboard, t.i(kPageCounter));
    if (code == kNavHelp) {
      curhlp3(s, t.i(kPageCounter));
    } else if (code <= 0) {
      if (profile_complete(s, out, n)) return {code, false};
    } else if (code <= n) {
      edit_rows(s, out, code, n);
    } else if (code == n + 1) {
      enteri(s, count, out, kKeyboard);
      maxchk(count, kProfileSlots);
    } else if (code == n + 2) {
      if (const int row = read_row(s, out, "Enter row to eliminate: ", n)) {
        for (int k = row; k < kProfileSlots; ++k) copy_slot(t, k + 1, k);
      }
    } else if (code == n + 3) {
      if (const int row = read_row(s, out, "Enter row to nullify/insert: ", n)) {
        for (int k = kProfileSlots; k > row; --k) copy_slot(t, k - 1, k);
        t.set_r(depth_word(row), 0.0f);
        t.set_r(speed_word(row), 0.0f);
      }
    } else if (code == n + 4) {
      for (int k = 1; k <= kProfileSlots; ++k) {
        t.bits(depth_word(k)) = saved[static_cast<std::size_t>(2 * (k - 1))];
        t.bits(speed_word(k)) = saved[static_cast<std::size_t>(2 * k - 1)];
      }
      count = saved_count;
      return {-1, true};
    }
  }
}

}  // namespace kelp
