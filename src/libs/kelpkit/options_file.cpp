#include "kelpkit/options_file.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

#include "sysutl/file_replace.hpp"
#include "sysutl/files_shell.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/fortran_read.hpp"
#include "sysutl/record.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"
#include "sysutl/text.hpp"

namespace kelp {

namespace {

using G = Gustrcom;
using fin::ListReader;

constexpr std::size_t kHeaderChars = 80;
constexpr std::string_view kTab = "\t";

// One value of a file line: written under `edit`, or under `wide` when it
// does not fit there.
struct Field {
  fmt::Item value;
  std::string_view edit;
  std::string_view wide;
};

bool fits(const Field& f) {
  std::string format = "(";
  format.append(f.edit).append(",$)");
  return fmt::format(format, {f.value}).find('*') == std::string::npos;
}

// One line of TAB-led fields, formatted in one go.
std::string tab_line(const std::vector<Field>& fields) {
  std::string format = "(";
  std::vector<fmt::Item> items;
  for (const Field& f : fields) {
    if (!items.empty()) format += ',';
    format += "A,";
    format += fits(f) ? f.edit : f.wide;
    items.emplace_back(std::string(kTab));
    items.push_back(f.value);
  }
  format += ')';
  return fmt::format(format, items);
}

Field int_field(std::int32_t v) { return {v, "I3", "I0"}; }

std::string int_line(std::span<const std::int32_t> values) {
  std::vector<Field> fields;
  for (std::int32_t v : values) fields.push_back(int_field(v));
  return tab_line(fields);
}

std::string logical_line(std::span<const std::int32_t> values) {
  std::vector<Field> fields;
  for (std::int32_t v : values) fields.push_back({v != 0, "L1", "L1"});
  return tab_line(fields);
}

std::string real_line(const G& g) {
  std::vector<Field> fields;
  for (std::size_t k = 0; k < G::kRealCount; ++k) {
    fields.push_back({g.words.r(G::kRealFirst + k), "E14.7", "E14.7"});
  }
  return tab_line(fields);
}

std::span<const std::int32_t> slots(const G& g, std::size_t first, std::size_t count) {
  return g.words.words().subspan(first, count);
}

// The first `count` picks of a list, never past its end.
std::span<const std::int32_t> picks(std::span<const std::int32_t> list, std::int32_t count) {
  return list.first(std::min(list.size(), static_cast<std::size_t>(std::max(count, 0))));
}

std::string options_text(const G& g, float editorVersion, int editorVersionMinor, float formatVersion,
                         int formatVersionMinor, float stormHours, int defaultReportCount,
                         std::span<const std::int32_t> page4Picks, std::span<const std::int32_t> currentPicks) {
  const std::int32_t reports = g.words.i(kNFldReportsWord);
  std::string t = fmt::fortran("(A)", std::string(kTdOptsHeaderLine));
  t += fmt::fortran("(7A)", std::string("GUSTRDAT Ver ["), trimmed(version_string2(formatVersion, formatVersionMinor)),
                    std::string("];"), std::string(kTab), std::string(" Brenvik Ver ["),
                    trimmed(version_string2(editorVersion, editorVersionMinor)), std::string("]"));
  const std::array<std::int32_t, 3> sizes = {G::kLogicalCount, G::kIntegerCount, G::kRealCount};
  t += int_line(sizes);
  t += tab_line({{3600.0f * stormHours, "F10.2", "F0.2"}, int_field(defaultReportCount)});
  t += logical_line(slots(g, G::kLogicalFirst, G::kLogicalCount));
  t += int_line(slots(g, G::kIntegerFirst, G::kIntegerCount));
  t += int_line(picks(page4Picks, reports));
  t += int_line(picks(currentPicks, reports));
  t += real_line(g);
  return t;
}

// What a read fills, staged so that an unreadable file changes nothing.
struct Staged {
  WordRecord<G::kWords> words;
  std::vector<std::int32_t> current;
  std::vector<std::int32_t> defaults;
  std::optional<std::string> version;
};

bool in_range(std::int32_t v, std::size_t limit) { return v >= 0 && static_cast<std::size_t>(v) <= limit; }

// Reads the file's statements into the staged copies; the status, or nullopt
// when the file is unreadable.
std::optional<int> read_groups(ListReader& in, Staged& st) {
  const std::optional<std::string> header = in.text(kHeaderChars);
  if (!header) return std::nullopt;
  const std::string_view lead = std::string_view(*header).substr(0, 10);
  if (lead != " Gustrevan" && lead != "Gustrevan ") {
    st.version = in.text(kHeaderChars);
    if (!st.version) return std::nullopt;
  }

  std::array<std::int32_t, 3> sizes{};
  if (!in.statement() || !in.ints(sizes)) return std::nullopt;
  const auto [nl, ni, nr] = sizes;
  if (!in_range(nl, G::kLogicalCount) || !in_range(ni, G::kIntegerCount) || !in_range(nr, G::kRealCount)) {
    return std::nullopt;
  }

  float duration = 0.0f;
  if (!in.statement() || !in.reals(std::span(&duration, 1)) ||
      !in.ints(st.words.words().subspan(kDefaultNFldReportsWord, 1))) {
    return std::nullopt;
  }
  st.words.set_r(kDefaultFullDurationWord, duration);

  auto group = st.words.words();
  if (!in.statement() || !in.logicals(group.subspan(G::kLogicalFirst, static_cast<std::size_t>(nl)))) {
    return std::nullopt;
  }
  if (!in.statement() || !in.ints(group.subspan(G::kIntegerFirst, static_cast<std::size_t>(ni)))) {
    return std::nullopt;
  }

  const std::int32_t reports = st.words.i(kNFldReportsWord);
  const std::size_t capacity = std::min({static_cast<std::size_t>(kPickCapacity), st.current.size(), st.defaults.size()});
  if (!in_range(reports, capacity)) return std::nullopt;
  const auto n = static_cast<std::size_t>(reports);
  if (!in.statement() || !in.ints(std::span(st.defaults).first(n))) return std::nullopt;
  if (!in.statement() || !in.ints(std::span(st.current).first(n))) return std::nullopt;

  std::array<float, G::kRealCount> reals{};
  const auto real_values = std::span(reals).first(static_cast<std::size_t>(nr));
  if (!in.statement() || !in.reals(real_values)) return std::nullopt;
  for (std::size_t k = 0; k < real_values.size(); ++k) st.words.set_r(G::kRealFirst + k, real_values[k]);

  const bool same_sizes = nl == G::kLogicalCount && ni == G::kIntegerCount && nr == G::kRealCount;
  return same_sizes ? kTdOptsRead : kTdOptsResized;
}

}  // namespace

std::string version_string2(float x, int n) {
  const std::string sign = x > 0.0f ? " " : "b";
  return fixed(n <= 9 ? fmt::fortran("(F4.2,'.0',I1,A,$)", std::fabs(x), n, sign)
                      : fmt::fortran("(F4.2,'.',I2,A,$)", std::fabs(x), n, sign),
               17);
}

bool write_td_opts(Session& s, std::string_view fileName, float editorVersion, int editorVersionMinor,
                   float formatVersion, int formatVersionMinor, float stormHours, int defaultReportCount,
                   std::span<const std::int32_t> page4Picks, std::span<const std::int32_t> currentPicks,
                   int out, int also) {
  const std::string text = options_text(s.gustrcom, editorVersion, editorVersionMinor, formatVersion,
                                        formatVersionMinor, stormHours, defaultReportCount, page4Picks, currentPicks);
  // A failure leaves the old file as it was and no temporary behind
  // (sysutl/file_replace.hpp).
  const std::string name = trimmed(fileName);
  Refusal why = Refusal::kFailed;
  if (replace_file(s.files(), name, text, &why)) return true;
  // The session goes on with the record intact: the user can leave the page
  // and save, or try again. The file is named with why on the lines after
  // the message, as every refused file is; the wait is on the screen,
  // whichever unit the page writes to (in a print pass, the listing).
  const auto say = [&](int unit) {
    s.write_line(unit, "++> I/O Error in WRITE_TD_OPTS; " + std::string(kOptionsFileName) +
                           " not written, the session continues...");
    file_name_lines(s, name, unit, why);
  };
  if (also != kScreen && s.is_open(also)) say(also);
  say(kScreen);
  int reply = 0;
  if (!is_silent(out)) prsret(s, kScreen, kKeyboard, reply);
  return false;
}

int read_td_opts(Session& s, std::string_view fileName, std::span<std::int32_t> currentPicks,
                 std::span<std::int32_t> defaultPicks, std::string& versionText) {
  const std::string name = trimmed(fileName);
  if (!s.open_input(kOptionsUnit, name)) {
    s.write_line(kScreen,
                 "++> I/O Error in READ_TD_OPTS (missing " + std::string(kOptionsFileName) + "?); aborting...");
    throw ProgramStop(kTdOptsStopStatus);
  }
  Staged st{s.gustrcom.words, {currentPicks.begin(), currentPicks.end()},
            {defaultPicks.begin(), defaultPicks.end()}, std::nullopt};
  ListReader in([&s] { return s.try_read_line(kOptionsUnit); });
  const std::optional<int> status = read_groups(in, st);
  s.close_unit(kOptionsUnit);
  // An unreadable file stays where it is: the caller writes it anew at once,
  // and the new file then keeps the protection of the one it replaces.
  if (!status) return kTdOptsUnreadable;
  s.gustrcom.words = st.words;
  std::copy(st.current.begin(), st.current.end(), currentPicks.begin());
  std::copy(st.defaults.begin(), st.defaults.end(), defaultPicks.begin());
  if (st.version) versionText = *st.version;
  return *status;
}

bool overridelinepicks_f(std::span<const std::int32_t> currentPicks, int count,
                         std::span<const std::int32_t> page4Picks, int defaultCount) {
  if (count != defaultCount) return true;
  const auto a = picks(currentPicks, count);
  const auto b = picks(page4Picks, count);
  const std::size_t n = std::min(a.size(), b.size());
  return !std::equal(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(n), b.begin());
}

bool overridefullduration_f(float durationHours, float stormHours) {
  if (std::isnan(durationHours) || std::isnan(stormHours)) return true;
  if (durationHours == stormHours) return false;
  return fmt::fortran("(E14.7)", 3600.0f * durationHours) != fmt::fortran("(E14.7)", 3600.0f * stormHours);
}

}  // namespace kelp
