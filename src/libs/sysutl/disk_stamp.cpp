#include "sysutl/disk_stamp.hpp"

#include <algorithm>
#include <array>
#include <ios>
#include <istream>

#include "sysutl/diskio.hpp"

namespace kelp {

namespace {

// FNV-1a, 64 bits, continued over `bytes`.
constexpr std::uint64_t kFnvOffset = 14695981039346656037ull;
constexpr std::uint64_t kFnvPrime = 1099511628211ull;
void digest_more(DiskStamp& stamp, std::string_view bytes) {
  for (const char c : bytes) stamp.digest = (stamp.digest ^ static_cast<unsigned char>(c)) * kFnvPrime;
  stamp.size += bytes.size();
}

}  // namespace

DiskStamp stamp_of(std::string_view bytes) {
  DiskStamp stamp{0, kFnvOffset};
  digest_more(stamp, bytes);
  return stamp;
}

std::optional<DiskStamp> stamp_at(FileSystem& fs, const Place& at) {
  auto in = fs.open_read_at(at);
  if (!in) return std::nullopt;
  // The size from the file's end, without reading to it.
  const std::streamoff end = in->seekg(0, std::ios::end).tellg();
  if (end < 0 || !in->seekg(0)) return std::nullopt;
  DiskStamp stamp{0, kFnvOffset};
  std::array<char, 65536> buffer{};
  while (*in && stamp.size < kLargestRecordBytes) {
    const auto piece = std::min<std::uint64_t>(buffer.size(), kLargestRecordBytes - stamp.size);
    in->read(buffer.data(), static_cast<std::streamsize>(piece));
    digest_more(stamp, std::string_view(buffer.data(), static_cast<std::size_t>(std::max<std::streamsize>(in->gcount(), 0))));
  }
  if (in->bad()) return std::nullopt;
  if (static_cast<std::uint64_t>(end) <= kLargestRecordBytes) return stamp;
  const auto id = in->id();
  if (!id) return std::nullopt;
  stamp.size = static_cast<std::uint64_t>(end);
  stamp.device = id->first;
  stamp.inode = id->second;
  return stamp;
}

std::optional<DiskStamp> stamp_at(FileSystem& fs, const Resolution& name) {
  if (!name) return std::nullopt;
  return stamp_at(fs, name.at());
}

std::optional<bool> still_holds(FileSystem& fs, const Place& at, const DiskStamp& was) {
  const auto now = stamp_at(fs, at);
  if (!now) return std::nullopt;
  return *now == was;
}

}  // namespace kelp
