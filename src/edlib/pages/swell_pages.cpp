// The swell pages: swell2 with the block of each swell (swel_blok), and the
// one-swell page swell. Both draw a swell's values with the same lines, in
// the numbering of the block (offset 0 or 20) or the fixed numbering of the
// one-swell page, and edit them alike.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "edlib/pagekit/help_book.hpp"
#include "edlib/pagekit/page_output.hpp"
#include "edlib/pagekit/page_pattern.hpp"
#include "edlib/pages/sea_pages.hpp"
#include "kelpkit/spectrum_names.hpp"
#include "kelpkit/toggles.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

int out_of(const Session& s) { return s.tpcm.i(kOutputUnit); }
bool locked(const Session& s) { return s.tpcm.i(kSwellLocked) != 0; }
bool jonswap_code(int code) { return code == kGeneralJonswap || code == kTmaSpectrum; }

// The value lines of one swell: the item number, the label with its dot
// leader and the value. The block of swell2 and the one-swell page differ
// only in the width of the label field and of the unit label.
struct SwellLayout {
  std::string_view type;
  std::string_view global_heading;
  std::string_view relative_heading;
  std::string_view height;
  std::string_view period;
  std::string_view bandwidth;
  std::string_view gamma;
  std::string_view sigma_a;
  std::string_view sigma_b;
};

constexpr SwellLayout kBlockLayout = {
    "(/1X,I2,') Swell type: ',A)",
    "(1X,I2,') Global swell heading ...................... ',F11.2,' degrees')",
    "(1X,I2,') Relative swell heading .................... ',F11.2,' degrees')",
    "(1X,I2,') Swell significant height .................. ',F11.2,A13)",
    "(1X,I2,') Swell peak period ......................... ',F11.2,' seconds')",
    "(1X,I2,') Swell spectral bandwidth parameter ........ ',F11.2)",
    "(1X,I2,') JONSWAP \"Gamma\" Parameter ................. ',F13.4)",
    "(1X,I2,') JONSWAP \"Sigma a\" Shape Parameter ......... ',F13.4)",
    "(1X,I2,') JONSWAP \"Sigma b\" Shape Parameter ......... ',F13.4)",
};

constexpr SwellLayout kSingleLayout = {
    "(1X,I2,') Swell type: ',A)",
    "(1X,I2,') Global swell heading ......................... ',F11.2,' degrees')",
    "(1X,I2,') Relative swell heading ....................... ',F11.2,' degrees')",
    "(1X,I2,') Swell significant height ..................... ',F11.2,A16)",
    "(1X,I2,') Swell peak period ............................ ',F11.2,' seconds')",
    "(1X,I2,') Swell spectral bandwidth parameter ........... ',F11.2)",
    "(1X,I2,') JONSWAP \"Gamma\" Parameter .................... ',F13.4)",
    "(1X,I2,') JONSWAP \"Sigma a\" Shape Parameter ............ ',F13.4)",
    "(1X,I2,') JONSWAP \"Sigma b\" Shape Parameter ............ ',F13.4)",
};

// One value of a swell: its item (from the offset), its word, its line, and
// whether a value at or below zero leaves the swell's spectrum undefined.
struct SwellValue {
  int k;
  RealWord SwellWords::*word;
  std::string_view SwellLayout::*line;
  bool must_be_positive = false;
};

constexpr SwellValue kHeading = {4, &SwellWords::heading, &SwellLayout::global_heading};
constexpr SwellValue kHeight = {6, &SwellWords::height, &SwellLayout::height};
constexpr SwellValue kPeriod = {7, &SwellWords::period, &SwellLayout::period};
constexpr SwellValue kBandwidth = {8, &SwellWords::bandwidth, &SwellLayout::bandwidth, true};
constexpr SwellValue kGamma = {8, &SwellWords::gamma, &SwellLayout::gamma, true};
constexpr SwellValue kSigmaA = {9, &SwellWords::sigma_a, &SwellLayout::sigma_a, true};
constexpr SwellValue kSigmaB = {10, &SwellWords::sigma_b, &SwellLayout::sigma_b, true};

// The value of item k (from the offset) for a spectrum code; nullptr where
// the code has none. The user spectra have neither height nor period, and
// Pierson-Moskowitz takes its period from the height.
const SwellValue* value_of(int k, int code) {
  const bool user = code == kUserSpectrum || code == kLegacySpectrum;
  switch (k) {
    case 4: return &kHeading;
    case 6: return user ? nullptr : &kHeight;
    case 7: return user || code == kPiersonMoskowitz ? nullptr : &kPeriod;
    case 8: return code == kSwellSpectrum ? &kBandwidth : jonswap_code(code) ? &kGamma : nullptr;
    case 9: return jonswap_code(code) ? &kSigmaA : nullptr;
    case 10: return jonswap_code(code) ? &kSigmaB : nullptr;
    default: return nullptr;
  }
}

void write_value(Session& s, int out, const SwellLayout& layout, int offset, const SwellWords& sw,
                 const SwellValue& v) {
  const auto& t = s.tpcm;
  std::string_view format = layout.*v.line;
  std::vector<fmt::Item> items = {offset + v.k, t.r(sw.*v.word)};
  if (&v == &kHeading && locked(s)) format = layout.relative_heading;
  if (&v == &kHeight) items.emplace_back(unitp(t.i(kUnitSystem), 7));
  fwrite(s, out, format, items);
}

// Takes the item numbers up to `item` (those before it hidden) and returns it.
int number(PageItems& w, int item) {
  while (w.next() < item) w.hidden();
  return w.custom();
}

void draw_type(PageItems& w, const SwellLayout& layout, int offset, const SwellWords& sw) {
  Session& s = w.session();
  fwrite(s, w.out(), layout.type, {number(w, offset + 2), swell_spectrum_name(s.tpcm.i(sw.code))});
}

// The heading; a legacy spectrum is listed with it in a print pass.
void draw_heading(PageItems& w, const SwellLayout& layout, int offset, const SwellWords& sw) {
  Session& s = w.session();
  auto& t = s.tpcm;
  number(w, offset + kHeading.k);
  write_value(s, w.out(), layout, offset, sw, kHeading);
  if (t.i(sw.code) == kLegacySpectrum && t.i(kPrintPass) != 0) {
    twopg(s, t.i(kPrintPass), w.out());
    edit_legacy_densities(s);
  }
}

// Height, period and the spectral parameters the code has.
void draw_parameters(PageItems& w, const SwellLayout& layout, int offset, const SwellWords& sw) {
  Session& s = w.session();
  const int code = s.tpcm.i(sw.code);
  for (int k = 6; k <= 10; ++k) {
    const SwellValue* v = value_of(k, code);
    if (v == nullptr) continue;
    number(w, offset + k);
    write_value(s, w.out(), layout, offset, sw, *v);
  }
}

// A message between empty lines, then the wait for RETURN.
void notice(Session& s, int out, std::string_view text) {
  help_sorry(s, out, text);
  int reply = 0;
  prsret(s, out, kKeyboard, reply);
}

// The type list. Ochi-Hubble is refused and the code kept; the legacy
// spectrum goes on to its densities.
void choose_swell_type(Session& s, const SwellWords& sw) {
  const int out = out_of(s);
  for (;;) {
    const int reply = choose(
        s, out, [&] { write_spectrum_types(s, out, "(' -- Irregular swell types --'/)"); },
        [&](int item) { ranhp2(s, item); });
    if (reply < 0 || reply > kLastSpectrumCode + 1) continue;
    if (reply == 0) return;
    const int code = reply - 1;
    if (code == kOchiHubble) {
      notice(s, out, " ++> The Ochi-Hubble spectrum cannot be used for swell seas.");
      continue;
    }
    s.tpcm.i(sw.code) = code;
    if (code == kLegacySpectrum) edit_legacy_densities(s);
    return;
  }
}

// The height and period typed for "Alpha".
struct AlphaInput {
  float hs = 0.0f;
  float tp = 0.0f;
};

// ---- The block of one swell ----

// Draws the block: items offset + 2 to offset + 10; offset + 11, the "Alpha"
// calculator, is not listed but taken for the JONSWAP codes.
void swel_blok(PageItems& w, int offset, const SwellWords& sw) {
  draw_type(w, kBlockLayout, offset, sw);
  draw_heading(w, kBlockLayout, offset, sw);
  draw_parameters(w, kBlockLayout, offset, sw);
  while (w.next() < offset + 11) w.hidden();
  w.hidden(jonswap_code(w.session().tpcm.i(sw.code)));
}

// Edits item `selection` of the swell whose items start after `offset`:
// offset + 1 turns it on or off; with the swell off nothing else is edited.
void swel_blok(Session& s, const SwellLayout& layout, int offset, int selection, const SwellWords& sw,
               AlphaInput& typed) {
  auto& t = s.tpcm;
  const int out = out_of(s);
  const int k = selection - offset;
  if (k == 1) {
    toggle2(s, t.i(sw.on), t.i(kBatchFlag), out, kKeyboard);
    return;
  }
  if (t.i(sw.on) == 0) return;
  const int code = t.i(sw.code);
  if (k == 2) {
    choose_swell_type(s, sw);
  } else if (k == 11) {
    if (jonswap_code(code)) jonswap_alpha(s, t.r(sw.sigma_a), t.r(sw.sigma_b), t.r(sw.gamma), typed.hs, typed.tp);
  } else if (const SwellValue* v = value_of(k, code)) {
    write_value(s, out, layout, offset, sw, *v);
    edit_real(s, sw.*v->word, out);
    if (v->must_be_positive && !(t.r(sw.*v->word) > 0.0f)) {
      notice(s, out, " ++> Warning: a value at or below zero leaves this swell's spectrum undefined.");
    }
  }
}

// The "Alpha" item of the one-swell page, listed when gamma and both widths
// are above zero.
bool alpha_listed(const Session& s, const SwellWords& sw) {
  const auto& t = s.tpcm;
  return jonswap_code(t.i(sw.code)) && t.r(sw.gamma) > 0.0f && t.r(sw.sigma_a) > 0.0f && t.r(sw.sigma_b) > 0.0f;
}

// What the one-swell page keeps of the "Alpha" replies.
struct SingleSwellAlpha : AlphaInput {};

// Runs a swell page: the period count held to its list, then the header
// and item 1 (the swell of `words` on or off) before the page's own lines;
// help is the random-wave help of that swell.
void run_swell_page(Session& s, std::string_view label, const SwellWords& words,
                    const std::function<void(PageItems&)>& rest, const std::function<void(int)>& edit) {
  auto& t = s.tpcm;
  t.i(kWaveFrequencies) = table_count(t.i(kWaveFrequencies), kWavePeriodsMax);
  PageHooks page;
  page.help_for = HelpFor::kAnyNumber;
  page.draw = [&](PageItems& w) {
    if (t.i(kPrintPass) == 0) clear(s, w.out());
    fwrite(s, w.out(), "(T16,' ****  Page ',A,': Background swell characteristics  ***'/)", {std::string(label)});
    fwrite(s, w.out(), "(1X,I2,') Simulate swell? ...........................       ',A5)",
           {number(w, 1), yesno(t.i(words.on))});
    rest(w);
  };
  page.edit = edit;
  page.help = [&](int item) { ranhp1(s, item, t.i(kProgramKind), 1, t.i(words.code)); };
  run_page(s, page);
}

}  // namespace

void swell2(Session& s, std::string_view label) {
  auto& t = s.tpcm;
  // Without irregular waves the wave heading follows the swell.
  if (t.i(kSwellOn) != 0 && t.i(kIrregularOn) == 0) t.bits(kRegularHeadings) = t.bits(kSwellDirection);
  const auto rest = [&](PageItems& w) {
    const int out = w.out();
    if (t.i(kSwellOn) != 0) {
      swel_blok(w, 0, kFirstSwellWords);
      w.blank();
      fwrite(s, out, "(1X,I2,') ++> Simulate SECOND, *smaller* swell? .....       ',A5)",
             {number(w, 21), yesno(t.i(kSwell2On))});
      if (t.i(kSwell2On) != 0) swel_blok(w, 20, kSecondSwellWords);
    } else {
      t.i(kSwell2On) = 0;
    }
    if (t.i(kProgramKind) <= 9 && t.i(kIrregularOn) == 1 && t.i(kSwellOn) >= 1) {
      w.blank();
      fwrite(s, out, "(1X,I2,') Lock swell heading to irregular waves?            ',A5)",
             {number(w, 41), yesno(t.i(kSwellLocked))});
    } else {
      t.i(kSwellLocked) = 0;
      while (w.next() <= 41) w.hidden();
    }
  };
  const auto edit = [&](int item) {
    AlphaInput typed;
    if (item == 41) {
      toggle2(s, t.i(kSwellLocked), t.i(kBatchFlag), out_of(s), kKeyboard);
    } else if (item <= 20) {
      swel_blok(s, kBlockLayout, 0, item, kFirstSwellWords, typed);
    } else {
      swel_blok(s, kBlockLayout, 20, item, kSecondSwellWords, typed);
    }
  };
  run_swell_page(s, label, kFirstSwellWords, rest, edit);
}

void swell(Session& s, std::string_view label, const SwellWords& words) {
  auto& t = s.tpcm;
  const auto rest = [&](PageItems& w) {
    const int out = w.out();
    if (t.i(words.on) == 0) return;
    draw_type(w, kSingleLayout, 0, words);
    fwrite(s, out, "(1X,I2,') Lock swell heading to irregular waves? ',A)", {number(w, 3), yesno(t.i(kSwellLocked))});
    draw_heading(w, kSingleLayout, 0, words);
    const int code = t.i(words.code);
    if (code == kUserSpectrum || code == kLegacySpectrum) return;
    fwrite(s, out, "(/25X,' -- Swell parameters --'/)");
    draw_parameters(w, kSingleLayout, 0, words);
    if (alpha_listed(s, words)) fwrite(s, out, "(1X,I2,') Compute JONSWAP \"Alpha\" parameter')", {number(w, 11)});
  };
  const auto edit = [&](int item) {
    if (item == 3) {
      if (t.i(words.on) != 0) toggle2(s, t.i(kSwellLocked), t.i(kBatchFlag), out_of(s), kKeyboard);
    } else {
      swel_blok(s, kSingleLayout, 0, item, words, s.state<SingleSwellAlpha>());
    }
  };
  run_swell_page(s, label, words, rest, edit);
}

}  // namespace kelp
