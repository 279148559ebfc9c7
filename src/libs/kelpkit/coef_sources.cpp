#include "kelpkit/coef_sources.hpp"

#include <array>
#include <string_view>

#include "kelpkit/flag_fields.hpp"
#include "sysutl/text.hpp"

namespace kelp {

namespace {

// Current code 15: NSMB '91 with the "Mean" curve, a table row of 4.
constexpr int kCurrentNsmbMean = 15;
constexpr int kCurrentNsmb = 4;

constexpr std::array<std::string_view, 5> kWindNames = {
    "User-Specified LOWDAT", "User-Specified WINDCOFS.txt", "Barge (Brenvik)", "OCIMF Tanker '77 (extended)",
    "Cylindrical Vessel"};
constexpr std::array<std::string_view, 7> kCurrentNames = {
    "User-Specified LOWDAT", "User-Specified CRNTCOFS.txt", "Barge (Brenvik)", "NSMB Tanker '91",
    "Extreme Cylindrical Bow '91", "OCIMF Tanker '77", "Cylindrical Vessel"};
constexpr std::array<std::string_view, 7> kDriftNames = {
    "User-Specified DRFTCOFS.txt", "Tanker (Legacy)", "Semi (Legacy)", "Buoy or round ship",
    "Caisson Spar", "Tanker (2001)", "Semi/TLP (2001)"};

template <std::size_t N>
std::string name_of(const std::array<std::string_view, N>& table, int code) {
  const bool known = code >= 1 && code <= static_cast<int>(N);
  return fixed(known ? table[static_cast<std::size_t>(code - 1)] : std::string_view(), kSourceNameWidth);
}

int current_row(int code) { return code == kCurrentNsmbMean ? kCurrentNsmb : code; }

// Which user source a selector needs: 1 the LOWDAT table, 2 the file, 0 none.
int user_source(Session& s, std::int32_t word, int msgunit) {
  if (oneon(s, word, 1, msgunit)) return 1;
  if (oneon(s, word, 2, msgunit)) return 2;
  return 0;
}

void copy_first_field(Session& s, std::int32_t& word, int value, int msgunit) {
  nibset(s, word, 2, value, msgunit);
  nibset(s, word, 3, value, msgunit);
}

}  // namespace

std::string wind_source_name(int code) { return name_of(kWindNames, code); }
std::string current_source_name(int code) { return name_of(kCurrentNames, current_row(code)); }
std::string drift_source_name(int code) { return name_of(kDriftNames, code); }

void initfm(Session& s, std::int32_t wind, int& windsame, std::int32_t current, int& cursame, std::int32_t drift,
            int& driftsame, int msgunit) {
  const auto same = [&](std::int32_t word, bool current_word) {
    int f1 = nibval(s, word, 1, msgunit);
    if (current_word) f1 = current_row(f1);
    return f1 == nibval(s, word, 2, msgunit) && f1 == nibval(s, word, 3, msgunit) ? 1 : 0;
  };
  windsame = same(wind, false);
  cursame = same(current, true);
  driftsame = same(drift, false);
}

void tnkrid(Session& s, std::int32_t& wind, int windsame, int& winduser, std::int32_t& current, int cursame,
            int& curuser, std::int32_t& drift, int driftsame, int& driftuser, int& curtanker, int& windocimf,
            int& windshape, int& curshape, int msgunit) {
  if (windsame == 1) copy_first_field(s, wind, nibval(s, wind, 1, msgunit), msgunit);
  winduser = user_source(s, wind, msgunit);
  windshape = oneon(s, wind, 3, msgunit) || oneon(s, wind, 5, msgunit) ? 1 : 0;

  curshape = oneon(s, current, 3, msgunit) || oneon(s, current, 7, msgunit) ? 1 : 0;
  if (cursame == 1) copy_first_field(s, current, current_row(nibval(s, current, 1, msgunit)), msgunit);
  curuser = user_source(s, current, msgunit);

  if (driftsame == 1) copy_first_field(s, drift, nibval(s, drift, 1, msgunit), msgunit);
  driftuser = oneon(s, drift, 1, msgunit) ? 1 : 0;

  curtanker = 0;
  if (oneon(s, current, 6, msgunit)) curtanker = 1;
  if (nibval(s, current, 1, msgunit) == kCurrentNsmbMean || oneon(s, current, kCurrentNsmb, msgunit)) curtanker = 2;
  windocimf = oneon(s, wind, 4, msgunit) ? 1 : 0;
}

}  // namespace kelp
