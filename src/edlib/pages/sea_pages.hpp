#pragma once
// The sea-state pages shared by the editors: regular waves (reglar),
// irregular seas (random), background swell (swell2, with the block of one
// swell, and the one-swell page swell), and their help (reghlp, ranhp1,
// ranhp2; sea_help.cpp).
//
// Every page works on the session's record, leaves its navigation code in
// word 699 (the number after a command letter in word 700), draws on the
// output unit of word 702 and prints itself once into the listing during a
// print pass (word 701). A count or list limit read from the record never
// reaches past the room of its list: the pages hold the counts and limits
// they use within their lists on entry, and every list editor gets a count
// and a limit held to the list's room.
#include <string_view>

#include "edlib/record/data_record.hpp"
#include "kelpkit/wave_spectra.hpp"
#include "kelpkit/work_areas.hpp"

namespace kelp {

class Session;

// Room of the lists of the record.
inline constexpr int kRegularHeadingsMax = 12;    // regular-wave headings, words 417..428
inline constexpr int kIrregularHeadingsMax = 37;  // irregular-wave headings, words 713..749
inline constexpr int kSeaCasesMax = 6;            // irregular cases: heights 429..434, periods 435..440
inline constexpr int kSpreadWedgesMax = 36;       // angular wedges of the spread seas

// ---- Regular waves ----
// "Page <label>: Regular Wave Characteristics": the regular-wave periods
// (also the frequency grid of the spectral work), constant height or slope
// and its value, and, for the kinds below 10, the wave headings.
void reglar(Session& s, std::string_view label);

// The regular-wave notes. Item 0 shows every note, one screen each; item n
// the note of item n or " ++> Sorry, no help for this line...". The flag
// kRegularHelpMooring adds the mooring-extension note to items 3 and 4.
inline constexpr int kRegularHelpPage = 1;
inline constexpr int kRegularHelpMooring = 2;
void reghlp(Session& s, int item, int flag);

// ---- Irregular seas ----
// "Page <label>: Irregular wave specifications": irregular waves on or off,
// the spectrum type, the headings, the cases (or Ochi-Hubble components)
// with their heights, peak periods and shape parameters, the JONSWAP
// parameters with the "Alpha" calculator, and long-crested or spread seas.
void random(Session& s, std::string_view label);

// "Page <label>: Irregular wave specifications" of the mooring editor: the
// irregular-seas page for one sea state, one heading and one case (the
// Ochi-Hubble components keep their lists). Each entry sets the heading and
// case counts to 1; there is no item 3.
void morran(Session& s, std::string_view label);

// The random-wave notes of the items of the irregular-seas and swell pages:
// item 0 the notes of the page, one screen each. kind is the program kind,
// swell 1 on the swell pages (0 otherwise), code the spectrum code of the
// sea the page edits.
void ranhp1(Session& s, int item, int kind, int swell, int code);

// The notes of the spectrum types, by their number on the type list (the
// code plus 1); item 0 shows them all.
void ranhp2(Session& s, int item);

// ---- Swell ----
// The words of one swell.
struct SwellWords {
  IntWord on;
  IntWord code;
  RealWord height;
  RealWord period;
  RealWord heading;
  RealWord sigma_a;
  RealWord sigma_b;
  RealWord gamma;
  RealWord bandwidth;
};
inline constexpr SwellWords kFirstSwellWords = {kSwellOn,     kSwell1Spectrum, kSwellHeight, kSwellPeriod,
                                                kSwellDirection, kSwellSigmaA, kSwellSigmaB, kSwellGamma,
                                                kSwellBandwidth};
inline constexpr SwellWords kSecondSwellWords = {kSwell2On,     kSwell2Spectrum, kSwell2Height, kSwell2Period,
                                                 kSwell2Direction, kSwell2SigmaA, kSwell2SigmaB, kSwell2Gamma,
                                                 kSwell2Bandwidth};

// "Page <label>: Background swell characteristics": up to two swells beside
// the irregular waves (items 1 to 11 the first, 21 to 31 the second) and the
// lock of the swell heading to the irregular waves (item 41).
void swell2(Session& s, std::string_view label);

// The one-swell form of the swell page, on the words of one swell, with the
// lock of its heading as item 3 and the "Alpha" calculator as item 11.
void swell(Session& s, std::string_view label, const SwellWords& words);

// ---- Pieces the sea-state pages share ----
// Edits the list of reals from word `first` with the value-list editor: the
// first `count` values shown, `room` values in all (both held to 0..room by
// the caller's table). In a print pass the list is printed instead.
void edit_word_list(Session& s, std::string_view title, RealWord first, int count, int room);

// The list of spectrum types under a title format: number i + 1 and the
// first 23 characters of the name of code i.
void write_spectrum_types(Session& s, int out, std::string_view title);

// The legacy spectral densities, one per regular-wave period.
void edit_legacy_densities(Session& s);

// The JONSWAP "Alpha" calculator: asks for a significant height and a peak
// period (hs and tp keep what was typed), and shows Alpha for the widths
// sigma_a, sigma_b and the peak enhancement gamma. A blank reply or a
// height or period not above 0 does nothing; widths or gamma not above 0
// are refused with a message. Nothing is stored in the record.
void jonswap_alpha(Session& s, float sigma_a, float sigma_b, float gamma, float& hs, float& tp);

}  // namespace kelp
