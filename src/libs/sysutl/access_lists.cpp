#include "sysutl/access_lists.hpp"

#include <acl/libacl.h>
#include <fcntl.h>
#include <sys/acl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string>
#include <utility>

#include "sysutl/fd.hpp"

namespace kelp {

namespace {

// An acl_t freed with the object.
class Acl {
 public:
  explicit Acl(acl_t acl = nullptr) : acl_(acl) {}
  ~Acl() {
    if (acl_ != nullptr) acl_free(acl_);
  }
  Acl(Acl&& other) noexcept : acl_(std::exchange(other.acl_, nullptr)) {}
  Acl(const Acl&) = delete;
  Acl& operator=(const Acl&) = delete;
  acl_t get() const { return acl_; }
  acl_t* out() { return &acl_; }

 private:
  acl_t acl_;
};

// The access list of the folder open on `folder`, read through the
// descriptor's own name (an O_PATH descriptor cannot be read from), or,
// without /proc, through the folder opened for reading.
Acl folder_list(int folder) {
  const std::string self = "/proc/self/fd/" + std::to_string(folder);
  Acl acl(acl_get_file(self.c_str(), ACL_TYPE_ACCESS));
  if (acl.get() != nullptr || errno != ENOENT) return acl;
  const Fd readable(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return Acl(readable ? acl_get_fd(readable.get()) : nullptr);
}

bool may_write(acl_entry_t entry) {
  acl_permset_t perms = nullptr;
  return acl_get_permset(entry, &perms) == 0 && acl_get_perm(perms, ACL_WRITE) == 1;
}

std::optional<unsigned> qualifier(acl_entry_t entry) {
  void* q = acl_get_qualifier(entry);
  if (q == nullptr) return std::nullopt;
  const unsigned id = *static_cast<const unsigned*>(q);
  acl_free(q);
  return id;
}

// Adds to `acl` an entry of `tag` (for `id` where it names one) with read
// and write, or nothing.
bool add_entry(acl_t* acl, acl_tag_t tag, bool read_write, std::optional<unsigned> id = std::nullopt) {
  acl_entry_t entry = nullptr;
  acl_permset_t perms = nullptr;
  if (acl_create_entry(acl, &entry) != 0 || acl_set_tag_type(entry, tag) != 0) return false;
  if (id && acl_set_qualifier(entry, &*id) != 0) return false;
  if (acl_get_permset(entry, &perms) != 0 || acl_clear_perms(perms) != 0) return false;
  if (read_write && (acl_add_perm(perms, ACL_READ) != 0 || acl_add_perm(perms, ACL_WRITE) != 0)) return false;
  return acl_set_permset(entry, perms) == 0;
}

}  // namespace

bool FolderWriters::named_writer() const {
  const auto writes = [](const NamedEntry& e) { return e.writes; };
  return std::ranges::any_of(users, writes) || std::ranges::any_of(groups, writes);
}

FolderWriters writers_in(int folder, const struct stat& st) {
  FolderWriters writers{(st.st_mode & S_IWGRP) != 0, (st.st_mode & S_IWOTH) != 0, {}, {}};
  const Acl acl = folder_list(folder);
  if (acl.get() == nullptr) return writers;  // no list kept (or none to be read): the bits say it
  // The mask bounds every entry of the group class; without one (a list
  // of the three base entries) the group's own entry stands alone.
  bool mask = true;
  acl_entry_t entry = nullptr;
  for (int at = ACL_FIRST_ENTRY; acl_get_entry(acl.get(), at, &entry) == 1; at = ACL_NEXT_ENTRY) {
    acl_tag_t tag = ACL_UNDEFINED_TAG;
    if (acl_get_tag_type(entry, &tag) == 0 && tag == ACL_MASK) mask = may_write(entry);
  }
  for (int at = ACL_FIRST_ENTRY; acl_get_entry(acl.get(), at, &entry) == 1; at = ACL_NEXT_ENTRY) {
    acl_tag_t tag = ACL_UNDEFINED_TAG;
    if (acl_get_tag_type(entry, &tag) != 0) continue;
    const bool writes = may_write(entry);
    switch (tag) {
      case ACL_GROUP_OBJ:
        writers.group = writes && mask;
        break;
      case ACL_OTHER:
        writers.others = writes;
        break;
      case ACL_USER:
      case ACL_GROUP:
        if (const auto id = qualifier(entry)) {
          (tag == ACL_USER ? writers.users : writers.groups).push_back({*id, writes && mask});
        }
        break;
      default:
        break;
    }
  }
  return writers;
}

bool set_access_list(int fd, const AccessList& list) {
  Acl acl(acl_init(static_cast<int>(4 + list.users.size() + list.groups.size())));
  if (acl.get() == nullptr) return false;
  bool made = add_entry(acl.out(), ACL_USER_OBJ, (list.mode & 0600) != 0) &&
              add_entry(acl.out(), ACL_GROUP_OBJ, (list.mode & 0060) != 0) &&
              add_entry(acl.out(), ACL_OTHER, (list.mode & 0006) != 0);
  for (const NamedEntry& user : list.users) made = made && add_entry(acl.out(), ACL_USER, user.writes, user.id);
  for (const NamedEntry& group : list.groups) made = made && add_entry(acl.out(), ACL_GROUP, group.writes, group.id);
  // A list of the base entries alone has no mask: it is the bits.
  if (made && (!list.users.empty() || !list.groups.empty())) made = acl_calc_mask(acl.out()) == 0;
  if (!made) return false;
  return acl_set_fd(fd, acl.get()) == 0;
}

bool has_access_list(int fd) { return acl_extended_fd(fd) == 1; }

bool drop_group_entry(int fd) {
  Acl acl(acl_get_fd(fd));
  if (acl.get() == nullptr) return false;
  acl_entry_t entry = nullptr;
  for (int at = ACL_FIRST_ENTRY; acl_get_entry(acl.get(), at, &entry) == 1; at = ACL_NEXT_ENTRY) {
    acl_tag_t tag = ACL_UNDEFINED_TAG;
    acl_permset_t perms = nullptr;
    if (acl_get_tag_type(entry, &tag) != 0 || tag != ACL_GROUP_OBJ) continue;
    if (acl_get_permset(entry, &perms) != 0 || acl_clear_perms(perms) != 0 || acl_set_permset(entry, perms) != 0) {
      return false;
    }
  }
  return acl_set_fd(fd, acl.get()) == 0;
}

}  // namespace kelp
