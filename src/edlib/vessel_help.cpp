// Help texts of the vessel pages (hydrostatics, vessel types, gyradii and
// bilge, period and damping).
#include <string>
#include <string_view>

#include "edlib/page_pattern.hpp"
#include "edlib/vessel_pages.hpp"
#include "kelpkit/report_lines.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

constexpr std::string_view kNoItemHelp = " ++> Sorry, no help for this item ...";
constexpr std::string_view kNoItemHelpShort = " ++> Sorry, no help for this item...";
constexpr std::string_view kNoLineHelp = " ++> Sorry, no help for this line...";

// ---- Hydrostatics (v1hlp) ----

// Writes the text of a help key; false when the key has none.
bool hydro_text(Session& s, int out, int key) {
  switch (key) {
    case 1:
      help_lines(s, out,
                 {"     Displacement comprises total simulated vessel weight: hull,",
                  "     machinery, ballast, cargo and consumables, as the vessel floats",
                  "     at the mean draft of this page."});
      return true;
    case 2:
    case 3:
      help_lines(s, out,
                 {"     The metacentric heights (KM, GM), the centers of gravity and of",
                  "     buoyancy (VKG, VKB) and the second moment of the water plane area",
                  "     (IWP) are related by:", "",
                  "          GM = KM - VKG",
                  "          GM = IWP/(Displacement Volume) - (VKG-VKB)", "",
                  "     For a rectangular water plane of length L and beam B:",
                  "          IWP = L*B^3/12  (transverse)",
                  "          IWP = B*L^3/12  (longitudinal)",
                  "     For a circular water plane of radius R:",
                  "          IWP = pi*R^4/4  (transverse and longitudinal)"});
      return true;
    case 4:
      help_lines(s, out,
                 {"     VKB, the height of the center of buoyancy above the keel, is taken",
                  "     from the vessel's hydrostatics. For displacement hulls it is",
                  "     usually 1.0 to 1.2 times Draft/2."});
      return true;
    case 5:
      help_lines(s, out,
                 {"     VKG, the height of the center of gravity above the keel.",
                  "     VKG should include free-surface corrections, if any."});
      return true;
    case 6:
      help_lines(s, out,
                 {"     The water plane area may be obtained in three ways:",
                  "       1) by calculation from the vessel's lines;",
                  "       2) as beam times length times the water plane coefficient;",
                  "       3) from the immersion curve (weight per unit of immersion)",
                  "          divided by the water density."});
      return true;
    case 7:
    case 8:
      help_lines(s, out,
                 {"     Length and beam are the total waterline length and beam, projected",
                  "     on the vertical planes. For semisubmersibles use the sum of the",
                  "     column waterlines, ignoring blanketing."});
      return true;
    case 9:
      help_lines(s, out,
                 {"     The mean draft is the draft at zero trim and zero heel that gives",
                  "     the same displacement."});
      return true;
    case 10:
      help_lines(s, out,
                 {"     The vessel type selects the wave-frequency simulation that is used",
                  "     for the vessel motions."});
      return true;
    case 11:
      help_lines(s, out,
                 {"     This item opens a built-in database of nominal crude-oil tankers",
                  "     that estimates a consistent set of vessel properties. Variations",
                  "     about the mean values can reach 20%. The estimates suit hulls with",
                  "     block coefficients above about .75."});
      return true;
    case 15:
      help_lines(s, out,
                 {"     The LCG-to-Midships distance is the longitudinal distance from the",
                  "     vessel's center of gravity to midships. It is used with the",
                  "     OCIMF-type moment coefficients, and is positive for a center of",
                  "     gravity aft of midships."});
      return true;
    default:
      return false;
  }
}

// ---- Gyradii and bilge (v2help) ----

bool gyradii_text(Session& s, int out, int key) {
  switch (key) {
    case 1:
      help_lines(s, out,
                 {"     Pitch gyradii of slender displacement hulls are usually between",
                  "     .24*Length and .30*Length."});
      return true;
    case 2:
      help_lines(s, out,
                 {"     Roll gyradii are usually between .28*Beam and .40*Beam; most lie",
                  "     between .32*Beam and .36*Beam. Vessels with loaded wing tanks, and",
                  "     deep hulls, lie near the upper limit."});
      return true;
    case 3:
      help_lines(s, out,
                 {"     The yaw gyradius is slightly larger than the pitch gyradius:", "",
                  "          Yaw gyradius = SQRT(Pg^2 + Rg^2)", "",
                  "     where Pg and Rg are the pitch and roll gyradii."});
      return true;
    case 5:
      help_lines(s, out,
                 {"     The bilge radius and the bilge keel set the square-law roll",
                  "     damping. When there is a bilge keel, the bilge radius is not used."});
      return true;
    case 6:
      help_lines(s, out,
                 {"     The bilge keel length must be given. For Rondixa it is normally",
                  "     the vessel circumference."});
      return true;
    case 7:
      help_lines(s, out,
                 {"     The bilge keel width is the average width from the attach line to",
                  "     the outboard edge of the keel."});
      return true;
    case 8:
      help_lines(s, out,
                 {"     The average plan-view distance from the vessel centerline (the",
                  "     axis of symmetry for Rondixa) to the bilge keel attach line."});
      return true;
    case 9:
      help_lines(s, out,
                 {"     The vessel speed changes the wave encounter frequency. With large",
                  "     negative speeds the encounter period can be multivalued, so results",
                  "     in irregular waves need care. The item is best used for the effects",
                  "     of forward speed on the RAOs."});
      return true;
    case 10:
    case 11:
      help_lines(s, out,
                 {"     Trim and heel are given in degrees, as right-hand-rule rotations",
                  "     about the pitch (Vy) and roll (Vx) axes. The responses remain",
                  "     earth-relative. The corrections are valid for angles below",
                  "     10 degrees."});
      return true;
    case 12:
      help_lines(s, out,
                 {"     User RAOs need a formatted file of complex, dimensionless RAOs",
                  "     about the center of gravity for all six degrees of freedom, over",
                  "     frequencies and headings; values between them are interpolated."});
      fwrite(s, out, "(5X,A,I3)", {std::string("Maximum number of array frequencies = "), 121});
      fwrite(s, out, "(5X,A,I3)", {std::string("Maximum number of attack angles in [0,360] circle = "), 145});
      return true;
    case 13:
      help_lines(s, out,
                 {"     With user RAOs and a nonzero trim or heel, the RAOs apply either",
                  "     in the \"Deck Vertical\" or in the \"Earth Vertical\" coordinate",
                  "     system. This toggle chooses: \"Yes\" for Deck Vertical, \"No\" for",
                  "     Earth Vertical."});
      return true;
    case 14:
      help_lines(s, out,
                 {"     The direction of vessel motion in global coordinates: 0 degrees",
                  "     for forward speed. Motion toward 90 degrees is the same as a",
                  "     current heading of 270 degrees."});
      return true;
    default:
      return false;
  }
}

// ---- Period and damping (v3hlp) ----

bool period_text(Session& s, int out, int key) {
  switch (key) {
    case 1:
      help_lines(s, out,
                 {"     Damping is computed internally unless it is specified, in percent",
                  "     of critical damping. User values are simple linear damping,",
                  "     independent of the waves; the internal estimates are an",
                  "     \"equivalent linear damping\" that grows with wave height."});
      return true;
    case 2:
      help_lines(s, out,
                 {"     Natural periods are normally computed internally. They may be",
                  "     specified in special circumstances."});
      return true;
    case 3:
      help_lines(s, out,
                 {"     Mooring loads are usually negligible against wave loads. For very",
                  "     small vessels, such as the CALM buoy of a CALM-tanker system, stiff",
                  "     moorings shift the surge, sway and yaw periods into the wave band.",
                  "     This toggle evaluates the wave-frequency motions with or without",
                  "     mooring feedback."});
      return true;
    case 4:
      help_lines(s, out,
                 {"     An unsupported and undocumented debugging option of Brenvik;",
                  "     normally \"no\". It writes an \"OFFSETS\" output file of the static",
                  "     force and moment balance of the vessel and mooring under",
                  "     first-order wave forces, one row per 10 degree phase shift of the",
                  "     wave field."});
      return true;
    default:
      return false;
  }
}

// Item help: the item header and the key's text, or the no-help line.
template <class Text>
void item_help(Session& s, int out, int item, int key, Text text, std::string_view sorry) {
  itemno(s, out, item);
  if (!text(s, out, key)) help_sorry(s, out, sorry);
}

// One text of a page help, after an empty line.
template <class Text>
void page_text(Session& s, int out, int key, Text text) {
  lines(s, out, 1);
  text(s, out, key);
}

}  // namespace

void v1hlp(Session& s, int out, int in, int item, int key, int flag) {
  vessel_notes_title(s, out, 20);
  if (item != 0) {
    item_help(s, out, item, key, hydro_text, kNoItemHelp);
  } else {
    page_text(s, out, 1, hydro_text);
    page_text(s, out, 2, hydro_text);
    help_pause(s, out, in);
    page_text(s, out, 4, hydro_text);
    page_text(s, out, 5, hydro_text);
    page_text(s, out, 15, hydro_text);
    help_pause(s, out, in);
    page_text(s, out, 6, hydro_text);
    page_text(s, out, 7, hydro_text);
    help_pause(s, out, in);
    page_text(s, out, 9, hydro_text);
    if (flag == 2) {
      help_pause(s, out, in);
      page_text(s, out, 10, hydro_text);
    }
    page_text(s, out, 11, hydro_text);
  }
  help_done(s, out, in);
}

void mrhp3b(Session& s, int out, int in, int item, int /*kind*/) {
  static constexpr std::string_view kPrograms[] = {"Hulvane", "Legrove", "Duvanta", "Rondixa"};
  clear(s, out);
  fwrite(s, out, "(T18,A)", {std::string("****  Vessel Definition Notes  ****")});
  const auto choice = [&](int n) {
    fwrite(s, out, "(/' ++> Item Number  ',I1)", {n});
    s.write_line(out, "     This item causes the simulation to search for " +
                          std::string(kPrograms[static_cast<std::size_t>(n - 1)]));
    s.write_line(out, "     to evaluate wave-frequency vessel motion response.");
  };
  if (item == 0) {
    for (int n = 1; n <= 4; ++n) choice(n);
  } else if (item >= 1 && item <= 4) {
    choice(item);
  } else {
    help_sorry(s, out, kNoLineHelp);
  }
  help_done(s, out, in);
}

void v2help(Session& s, int out, int in, int item, int key) {
  vessel_notes_title(s, out, 21);
  if (item != 0) {
    item_help(s, out, item, key, gyradii_text, kNoItemHelpShort);
  } else {
    for (int k : {1, 2, 3}) page_text(s, out, k, gyradii_text);
    help_pause(s, out, in);
    for (int k : {5, 6, 7, 8}) page_text(s, out, k, gyradii_text);
    help_pause(s, out, in);
    for (int k : {9, 14}) page_text(s, out, k, gyradii_text);
    help_pause(s, out, in);
    page_text(s, out, 10, gyradii_text);
    help_pause(s, out, in);
    for (int k : {12, 13}) page_text(s, out, k, gyradii_text);
  }
  help_done(s, out, in);
}

void v3hlp(Session& s, int out, int in, int item, int key, int flag) {
  vessel_notes_title(s, out, 21);
  if (item != 0) {
    item_help(s, out, item, key, period_text, kNoItemHelp);
  } else {
    page_text(s, out, 1, period_text);
    page_text(s, out, 2, period_text);
    if (flag == 2) {
      help_pause(s, out, in);
      page_text(s, out, 3, period_text);
      help_pause(s, out, in);
      page_text(s, out, 4, period_text);
    }
  }
  help_done(s, out, in);
}

}  // namespace kelp
