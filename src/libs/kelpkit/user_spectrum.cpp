#include "kelpkit/user_spectrum.hpp"

#include <array>
#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "kelpkit/table_search.hpp"
#include "sysutl/files_shell.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/fortran_read.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"
#include "sysutl/text.hpp"

namespace kelp {

namespace {

// Width of the file name as the spectrum routine passes it.
constexpr std::size_t kNameWidth = 13;

// The file in memory, kept for the session.
struct UserSpectrum {
  bool loaded = false;
  std::string name;  // 13 characters
  int count = 0;
  std::array<float, kUserSpectrumMax> freq{};
  std::array<float, kUserSpectrumMax> dens{};
  bool warned = false;  // the out-of-range warning was given and accepted
};

// The items of one list-directed read: from the next line that is not
// blank, which must hold them all. false at the end of the file or when
// an item is missing or unreadable.
template <class T>
bool read_record(std::istream& in, std::span<T> items) {
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    return fin::read_list(line, items) == static_cast<int>(items.size());
  }
  return false;
}

enum class Load { kOk, kMissing, kUnreadable, kBadCount };

// Reads the file into memory; count receives what was read of N.
Load load(Session& s, const std::string& path, UserSpectrum& u) {
  const std::unique_ptr<std::istream> in = s.files().open_read(path);
  if (!in || !*in) return Load::kMissing;
  std::int32_t n = 0;
  if (!read_record(*in, std::span<std::int32_t>(&n, 1))) return Load::kUnreadable;
  u.count = n;
  if (n < kUserSpectrumMin || n > kUserSpectrumMax) return Load::kBadCount;
  for (std::size_t k = 0; k < static_cast<std::size_t>(n); ++k) {
    std::array<float, 2> pair{};
    if (!read_record(*in, std::span<float>(pair))) return Load::kUnreadable;
    u.freq[k] = pair[0];
    u.dens[k] = pair[1];
  }
  return Load::kOk;
}

// The message of a load that failed, with its wait.
void report(Session& s, Load what, const std::string& name, int count, int out, int in) {
  int reply = 0;
  switch (what) {
    case Load::kMissing:
      s.write_line(out, "");
      s.write_line(out, " ++>  User-supplied wave spectrum file \"" + name + "\" not found");
      s.write_line(out, "");
      abort0(s, out, in, reply);
      break;
    case Load::kUnreadable:
      filerr_report(s, name, "UWVSPC", out, in);
      break;
    case Load::kBadCount:
      s.write_line(out, "");
      s.write_line(out, " ++>  User-supplied wave spectral array in " + name);
      fwrite(s, out, "('      dimension = [',I0,'] out of range; allowable')", {count});
      if (count > kUserSpectrumMax) {
        fwrite(s, out, "('      dimension = [',I0,']')", {kUserSpectrumMax});
      } else {
        fwrite(s, out, "('      dimension = [',I0,'] at least')", {kUserSpectrumMin});
      }
      s.write_line(out, "");
      prsret(s, out, in, reply);
      break;
    case Load::kOk:
      break;
  }
}

}  // namespace

int uwvspc(Session& s, float w, int out, int in, std::string_view fname, float& value) {
  UserSpectrum& u = s.state<UserSpectrum>();
  const std::string name = fixed(fname, kNameWidth);
  if (!u.loaded || name != u.name) {
    u.loaded = false;
    u.name = name;
    const Load status = load(s, trimmed(name), u);
    if (status != Load::kOk) {
      report(s, status, name, u.count, out, in);
      return kUserSpectrumFailed;
    }
    u.loaded = true;
  }

  const std::span<const float> freq(u.freq.data(), static_cast<std::size_t>(u.count));
  const std::span<const float> dens(u.dens.data(), static_cast<std::size_t>(u.count));
  int iflag = kInsideTable;
  int ilow = 1;
  bsrch(freq, w, iflag, ilow, u.count);
  if (iflag != kInsideTable && !u.warned) {
    s.write_line(out, "");
    s.write_line(out, " ++> Warning: Frequency outside user-supplied wave spectrum");
    s.write_line(out, "     range; \"continue\" to extrapolate outside available range.");
    int reply = 0;
    abort0(s, out, in, reply);
    if (reply == -1 || is_silent(out)) return kUserSpectrumFailed;
    u.warned = true;
  }
  interp(freq, dens, w, value, ilow);
  return kUserSpectrumOk;
}

}  // namespace kelp
