#pragma once
// Access lists, read and set through libacl: who may write in a folder,
// and the list that opens a file to exactly those users.
//
// A folder shared between people without a common group usually names
// them in its access list (a named user or group entry with write). There
// the group bits the folder shows are the list's mask, not its group's
// right; who may write is read from the entries themselves. A file system
// that keeps no lists has none, and the permission bits say it all.
#include <sys/stat.h>

#include <vector>

namespace kelp {

// A user or group that an access list names, and whether its entry,
// within the list's mask, lets it write.
struct NamedEntry {
  unsigned id = 0;
  bool writes = false;
};

// Who may write in a folder: its owner; its owning group by that group's
// own entry, within the mask; others; and each user and group its access
// list names, by its entry within the mask.
struct FolderWriters {
  bool group = false;
  bool others = false;
  std::vector<NamedEntry> users;
  std::vector<NamedEntry> groups;
  // Whether its list names a user or group.
  bool named() const { return !users.empty() || !groups.empty(); }
  // Whether its list names a user or group that may write.
  bool named_writer() const;
};

// Who may write in the folder open on `folder` (an O_PATH descriptor
// serves) whose status is `st`: read from its access list where its file
// system keeps one, else from its permission bits.
FolderWriters writers_in(int folder, const struct stat& st);

// An access list for a file: the owner, the owning group and others by the
// permission bits `mode` (0666 at most); each named user and group read
// and write where it writes, nothing where it does not; and the mask what
// those entries need.
struct AccessList {
  unsigned mode = 0;
  std::vector<NamedEntry> users;
  std::vector<NamedEntry> groups;
};

// Gives the file open on `fd` the list `list` in place of any it had (its
// permission bits follow from it). false, with errno set, when that cannot
// be done; the file then keeps what it had.
bool set_access_list(int fd, const AccessList& list);

// Whether the file open on `fd` has an access list beyond its permission
// bits; false where none can be read.
bool has_access_list(int fd);

// Takes every right from the owning group's own entry of the access list
// of the file open on `fd`, keeping the others and the mask; false, with
// errno set, when that cannot be done.
bool drop_group_entry(int fd);

}  // namespace kelp
