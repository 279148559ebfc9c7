#pragma once
// The stamp by which a save tells whether a data file changed on disk since
// this session loaded or last saved it.
#include <cstdint>
#include <optional>
#include <string_view>

#include "sysutl/file_system.hpp"

namespace kelp {

// What a file held when it was last seen: its size and a 64-bit digest of
// its bytes (FNV-1a). Enough to tell another session's save from this one's
// without keeping the bytes. A file larger than any record
// (kLargestRecordBytes, sysutl/diskio.hpp) is never read to its end: its
// stamp is its size, the digest of its first kLargestRecordBytes bytes and
// which file it is (device and inode numbers), so that it is told from any
// record and from another file of that size and beginning.
struct DiskStamp {
  std::uint64_t size = 0;
  std::uint64_t digest = 0;
  std::uint64_t device = 0;  // of a file larger than any record only, else 0
  std::uint64_t inode = 0;
  bool operator==(const DiskStamp&) const = default;
};
DiskStamp stamp_of(std::string_view bytes);
// The stamp of the regular file at `at`, read in pieces; nullopt when it
// cannot be opened or read (or, larger than any record, examined).
std::optional<DiskStamp> stamp_at(FileSystem& fs, const Place& at);
// The same for a resolved name: nullopt also when the name was refused or
// leads nowhere.
std::optional<DiskStamp> stamp_at(FileSystem& fs, const Resolution& name);
// Whether the regular file at `at` still holds what `was` stamps. nullopt
// when the file cannot be stamped.
std::optional<bool> still_holds(FileSystem& fs, const Place& at, const DiskStamp& was);

}  // namespace kelp
