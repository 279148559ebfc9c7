#include "edlib/frame/kind_files.hpp"

#include <array>
#include <cstddef>
#include <initializer_list>
#include <span>
#include <string_view>

#include "edlib/frame/loading.hpp"
#include "edlib/frame/saving.hpp"
#include "edlib/model/wave_report.hpp"
#include "kelpkit/options_file.hpp"
#include "sysutl/session.hpp"
#include "sysutl/text.hpp"

namespace kelp {

namespace {

// Listings and editor names are character fields of 12.
constexpr std::size_t kNameWidth = 12;

struct PageNames {
  int kind;
  std::string_view listing;
  std::string_view editor;
};

// The names of one final page: those of the kinds it names, and those of
// every other kind (`other.kind` is unused).
struct FamilyNames {
  std::span<const PageNames> kinds;
  PageNames other;
};

constexpr std::array<PageNames, 3> kShpfinKinds = {{
    {1, "HULVIN.stxt", "Hulbrand"},
    {16, "DRIFIN.stxt", "Driftwel"},
    {4, "RONDIN.stxt", "ronvaske"},
}};

constexpr std::array<PageNames, 4> kMorfinKinds = {{
    {15, "PIVAIN.stxt", "pivlorn"},
    {14, "TENDIN.stxt", "Tendvik"},
    {12, "TETHIN.stxt", "Tethwick"},
    {17, "KOLUIN.stxt", "Kolwerth"},
}};

// In the order of FinalPageFamily.
constexpr std::array<FamilyNames, 4> kFamilies = {{
    {kShpfinKinds, {0, "INPUT.stxt", "WhoamI?"}},
    {kMorfinKinds, {0, "WHOIN.stxt", "WhoAmI?"}},
    {{}, {0, "ANCHIN.stxt", "ANCHWELD"}},
    {{}, {0, "DUVAIN.stxt", "DUVWORTH"}},
}};

const PageNames& names_of(FinalPageFamily page, int kind) {
  const FamilyNames& family = kFamilies[static_cast<std::size_t>(page)];
  for (const PageNames& k : family.kinds) {
    if (k.kind == kind) return k;
  }
  return family.other;
}

// The data file and backup of each program's kind.
struct ProgramFiles {
  int kind;
  std::string_view data;
  std::string_view backup;
};

constexpr std::array<ProgramFiles, 2> kProgramFiles = {{
    {4, "RONDDAT", "RONDBAK"},
    {15, "PIVADAT", "PIVABAK"},
}};

constexpr ProgramFiles kNoProgram = {0, "", ""};

const ProgramFiles& files_of(int kind) {
  for (const ProgramFiles& p : kProgramFiles) {
    if (p.kind == kind) return p;
  }
  return kNoProgram;
}

}  // namespace

std::string listing_of(FinalPageFamily page, int kind) { return fixed(names_of(page, kind).listing, kNameWidth); }
std::string editor_of(FinalPageFamily page, int kind) { return fixed(names_of(page, kind).editor, kNameWidth); }

std::string data_file_of(int kind) { return fixed(files_of(kind).data, kNameWidth); }
std::string backup_file_of(int kind) { return fixed(files_of(kind).backup, kNameWidth); }

std::set<std::string> written_file_names() {
  std::set<std::string> names;
  for (const FamilyNames& family : kFamilies) {
    for (const PageNames& k : family.kinds) names.emplace(k.listing);
    names.emplace(family.other.listing);
  }
  for (const ProgramFiles& p : kProgramFiles) {
    names.emplace(p.data);
    names.emplace(p.backup);
  }
  for (const std::string_view name : {kLastBak, kLowdatFile, kLowBak, kLastLow, kOptionsFileName,
                                      kWarningReportFile, kWaveReportFile, kSilentReportFile}) {
    names.emplace(name);
  }
  return names;
}

}  // namespace kelp
