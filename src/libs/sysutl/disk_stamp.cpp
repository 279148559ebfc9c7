#include "sysutl/disk_stamp.hpp"

#include <algorithm>
#include <array>
#include <istream>
#include <limits>

namespace kelp {

namespace {

// FNV-1a, 64 bits, continued over `bytes`.
constexpr std::uint64_t kFnvOffset = 14695981039346656037ull;
constexpr std::uint64_t kFnvPrime = 1099511628211ull;
void digest_more(DiskStamp& stamp, std::string_view bytes) {
  for (const char c : bytes) stamp.digest = (stamp.digest ^ static_cast<unsigned char>(c)) * kFnvPrime;
  stamp.size += bytes.size();
}

// Reads the file at `at` in pieces into a stamp, until its end or until it
// has passed `most` bytes. nullopt when it cannot be opened or read.
std::optional<DiskStamp> stamp_reading(FileSystem& fs, const Place& at, std::uint64_t most) {
  auto in = fs.open_read_at(at);
  if (!in) return std::nullopt;
  DiskStamp stamp{0, kFnvOffset};
  std::array<char, 65536> buffer{};
  while (*in && stamp.size <= most) {
    in->read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    digest_more(stamp, std::string_view(buffer.data(), static_cast<std::size_t>(std::max<std::streamsize>(in->gcount(), 0))));
  }
  if (in->bad()) return std::nullopt;
  return stamp;
}

}  // namespace

DiskStamp stamp_of(std::string_view bytes) {
  DiskStamp stamp{0, kFnvOffset};
  digest_more(stamp, bytes);
  return stamp;
}

std::optional<DiskStamp> stamp_at(FileSystem& fs, const Place& at) {
  return stamp_reading(fs, at, std::numeric_limits<std::uint64_t>::max());
}

std::optional<DiskStamp> stamp_at(FileSystem& fs, const Resolution& name) {
  if (!name) return std::nullopt;
  return stamp_at(fs, name.at());
}

std::optional<bool> still_holds(FileSystem& fs, const Place& at, const DiskStamp& was) {
  const auto now = stamp_reading(fs, at, was.size);
  if (!now) return std::nullopt;
  return *now == was;
}

}  // namespace kelp
