#pragma once
// Running a data-file upgrader on a record built for the test, with the
// warning report open on unit 21 as the loader opens it: what the screen
// and the report show, the status, and every word that changed.
//
// The test describes the record as the upgrade steps see it (after the
// moves that files older than 4.9 go through); for such files the fixture
// builds the older record that those moves turn into it, so that the words
// that change are exactly the steps' own.
#include <bit>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "edlib/frame/kind_dispatch.hpp"
#include "edlib/record/data_record.hpp"
#include "sysutl/session.hpp"
#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp::testing {

// Every word the test does not set holds a value that tells its number and
// that no upgrade step writes.
inline std::int32_t background(std::size_t w) { return 0x5A000000 + static_cast<std::int32_t>(w); }

// Where the words of a file older than 4.9 go before the upgrade steps run,
// worked out by hand from the gaps each kind opens: words first..last come
// from the old words from `old` on; kCleared words are 0; kStepWritten words
// are set by the move step itself.
inline constexpr int kCleared = -1;
inline constexpr int kStepWritten = -2;
struct Region {
  int first;
  int last;
  int old;
};
inline std::vector<Region> layout_before_4_9(int kind) {
  const int n = static_cast<int>(Tpcm::kWords) - 1;
  switch (kind) {
    case 1:
    case 4:  // gaps at 257 (60), 357 (60) and 1,462 (200) in 1,987 words
      return {{0, 256, 0},        {257, 316, kCleared},       {317, 356, 257},   {357, 416, kCleared},
              {417, 1461, 297},   {1462, 1657, kCleared},     {1658, 1661, kStepWritten},
              {1662, 1986, 1342}, {1987, n, 1987}};
    case 3:  // the same in 4,975 words, and a gap at 2,696 (200)
      return {{0, 256, 0},        {257, 316, kCleared},   {317, 356, 257},    {357, 416, kCleared},
              {417, 1461, 297},   {1462, 1661, kCleared}, {1662, 2695, 1342}, {2696, 2895, kCleared},
              {2896, 4974, 2376}, {4975, n, 4975}};
    default:  // 11: gaps at 257, 357 and 1,462 in 4,975 words
      return {{0, 182, 0},      {183, 185, kStepWritten}, {186, 256, 186},          {257, 316, kCleared},
              {317, 356, 257},  {357, 416, kCleared},     {417, 1461, 297},         {1462, 1657, kCleared},
              {1658, 1661, kStepWritten},                 {1662, 4974, 1342},       {4975, n, 4975}};
  }
}

// The record the steps see, for a file of `kind` stored with `version` and
// layout marker `marker`: the background, then frame words that no step
// reacts to (screen output, English units, a table size of 90, no members,
// default selectors), then the test's own words.
inline void prepare(Tpcm& t, int kind, float version, std::int32_t marker, const Words& words) {
  for (std::size_t w = 0; w < Tpcm::kWords; ++w) t.i(w) = background(w);
  const Words frame = {
      iw(0, record_size(kind)), iw(kProgramKind, kind),  iw(kWriterRunMode, 2),    iw(kFairleadLayout, marker),
      iw(kUnitSystem, 0),       rw(kVersion, version),   iw(kInterpTableSize, 90), iw(757, 0),
      iw(758, 0),               iw(kCurrentSelector, 0x111), iw(kWindSelector, 0x111), iw(kDriftSelector, 0x111),
      iw(kVesselType, 1),       iw(3657, 1),             rw(489, 1.0f),            iw(177, 3)};
  for (const Word& x : frame) t.i(x.word) = x.bits;
  for (std::size_t m = 1; m <= 50; ++m) t.i(3556 + m) = 0;
  for (const Word& x : words) t.i(x.word) = x.bits;
  // The editor-state words as the loader leaves them.
  for (const Word& x : {iw(kNavCode, 0), iw(kPageCounter, 0), iw(kPrintPass, 0), iw(kOutputUnit, kScreen)}) {
    t.i(x.word) = x.bits;
  }
}

// The older record that the moves of a file below 4.9 turn into `seen`
// (whose cleared words are set to 0 here). The loader's editor-state words
// sit at 699 to 702 of the older record too.
inline Tpcm older_record(Tpcm& seen, int kind) {
  Tpcm old;
  for (std::size_t w = 0; w < Tpcm::kWords; ++w) old.i(w) = background(w);
  for (const Region& r : layout_before_4_9(kind)) {
    for (int w = r.first; w <= r.last; ++w) {
      const auto now = static_cast<std::size_t>(w);
      if (r.old == kCleared) seen.i(now) = 0;
      if (r.old < 0) continue;
      const auto from = static_cast<std::size_t>(r.old + w - r.first);
      if (from >= kNavCode && from <= kOutputUnit) seen.i(now) = seen.i(from);
      old.i(from) = seen.i(now);
    }
  }
  return old;
}

struct UpgradeRun {
  std::string screen;
  std::string report;  // "DATUPWRN.stxt"
  int status = -1;
  int stop = -1;  // the stop status, or -1 when the upgrader returned
  std::map<std::size_t, std::int32_t> changed;
  Tpcm seen;  // the record as the steps see it
  Tpcm after;
};

inline UpgradeRun run_upgrade(const Upgrader& upgrader, int kind, float version, std::int32_t marker,
                              const Words& words, std::string replies = {}, float program = 6.8f) {
  ScriptedSession ss(std::move(replies));
  auto files = std::make_shared<DirFiles>();
  ss.s.set_files(files);
  ss.s.open_output(kWarningUnit, "DATUPWRN.stxt");
  UpgradeRun r;
  prepare(r.seen, kind, version, marker, words);
  ss.s.tpcm = std::fabs(version) < 4.9f ? older_record(r.seen, kind) : r.seen;
  try {
    upgrader(ss.s, program, r.status);
  } catch (const ProgramStop& stop) {
    r.stop = stop.status();
  }
  ss.s.close_unit(kWarningUnit);
  r.screen = ss.shown();
  r.report = files->get("DATUPWRN.stxt");
  r.after = ss.s.tpcm;
  for (std::size_t w = 0; w < Tpcm::kWords; ++w) {
    if (r.after.i(w) != r.seen.i(w)) r.changed[w] = r.after.i(w);
  }
  return r;
}

// The changes a test expects, in the form run_upgrade reports them; later
// sets override earlier ones.
inline std::map<std::size_t, std::int32_t> changes(const std::vector<Words>& sets) {
  std::map<std::size_t, std::int32_t> m;
  for (const Words& set : sets) {
    for (const Word& x : set) m[x.word] = x.bits;
  }
  return m;
}

inline std::string upgrade_heading(const std::string& version) {
  return "               **** Data File Changes Since Version " + version + ": ****\n";
}

// The screen without the pager's waits (" \n Press <RETURN> to continue: ").
inline std::string without_waits(std::string screen) {
  for (auto at = screen.find(kReturn); at != std::string::npos; at = screen.find(kReturn)) screen.erase(at, kReturn.size());
  return screen;
}

// One file of a table-driven test: the upgrader, the record as the steps see
// it, the notes expected after the heading and the words expected to change.
struct UpgradeCase {
  const char* name;
  Upgrader upgrader;
  int kind;
  float version;
  Words words;
  std::string notes;
  std::vector<Words> changed;
  int status = 1;
  float program = 6.8f;
};

// Runs a case (marker 149, replies for three pager waits) and checks the
// report, the screen (without the waits), the changes and the status.
inline void expect_upgrade(const UpgradeCase& c, const std::string& heading_version) {
  const UpgradeRun r = run_upgrade(c.upgrader, c.kind, c.version, 149, c.words, "\n\n\n", c.program);
  const std::string report = upgrade_heading(heading_version) + c.notes;
  EXPECT_EQ(r.report, report) << c.name;
  EXPECT_EQ(without_waits(r.screen), report) << c.name;
  EXPECT_EQ(r.changed, changes(c.changed)) << c.name;
  EXPECT_EQ(r.status, c.status) << c.name;
}

// Notes that several kinds share.
inline const std::string kNotResizedAgain =
    "\n ++> Data file already laid out for 149 fairleads; not resized again.\n";
inline const std::string kResizedNote = "\n ++> Data file resized for 149 fairleads\n";
inline const std::string kNoneNote = " ++> None...\n";
inline const std::string kSwellWidthNote = "\n ++> Incorporated user-specified swell spectal width.\n";
inline const std::string kPointsNote =
    "\n ++> Specif" "ication of point coordinates for motion output have changed;\n"
    "     see Output Option Items: \"Number of points of interest\" and\n"
    "     \"Enter point coordinates\"\n";
inline const std::string kSwellDirectionsNote =
    "\n ++> Changed handling of swell and irregular wave directions and options.\n";
inline const std::string kVersion5Note = "\n ++> Data file resized for version 5.0\n";
inline const std::string kAddedMassNote = "\n ++> Added mass of water-piercing members adjusted.\n";
inline const std::string kNewerWarning =
    " ++> Warning: The data file loaded was created by a more recent program\n"
    "     version than this one; you should inspect each data page THOROUGHLY\n"
    "     before proceeding...\n";
inline std::string anomalous_ntab(const std::string& value12) {
  return "\n ++> This file shows an anomalous NTAB =" + value12 +
         "\n\n     It may not have been properly converted using the\n"
         "     Brenvik \"16-49 Line Conversion Utility\". Proceed with caution.\n";
}
inline std::string ntab_information(const std::string& value2) {
  return "\n ++> Point of information: This file had an interpolation table size of " + value2 +
         ";\n     it may have been converted from an earlier simulation version\n"
         "     supporting a maximum table size of 30.\n";
}

// Word changes that several kinds share.
inline Words swell_directions_changes() {
  return {rw(477, 180.0f), iw(713, background(441)), iw(714, background(442)), iw(715, background(443)),
          iw(716, background(444)), iw(441, 0), iw(442, 0), iw(443, 0), iw(444, 0)};
}
inline const Words kVersion5Defaults = {rw(1367, 1.25f), rw(1403, 1.0f), rw(1363, 1.0f), rw(1404, 1.0f),
                                        rw(1651, 1.0f),  rw(1652, 1.0f), rw(1653, 1.0f), rw(1654, 1.0f)};
inline const Words kOnesAt1658 = {rw(1658, 1.0f), rw(1659, 1.0f), rw(1660, 1.0f), rw(1661, 1.0f)};

}  // namespace kelp::testing
