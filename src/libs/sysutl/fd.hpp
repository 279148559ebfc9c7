#pragma once
// An open file descriptor with one owner, and the record locks taken on it.
//
// Every descriptor the file layer opens is held by an Fd, and only an Fd
// closes one: the folders, streams and locks built on a descriptor hold its
// Fd.
#include <utility>

namespace kelp {

// A descriptor, closed when its owner goes. Moved, never copied.
class Fd {
 public:
  Fd() = default;
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() { reset(); }
  Fd(Fd&& other) noexcept : fd_(other.release()) {}
  Fd& operator=(Fd&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;

  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  // Gives the descriptor up without closing it (to a library call that
  // takes it over).
  int release() { return std::exchange(fd_, -1); }
  // Closes the descriptor held, if any, and holds `fd` instead. errno is as
  // it was before.
  void reset(int fd = -1);
  // Closes the descriptor now. false when the close reported an error (a
  // write that the file system could not finish).
  bool close();

 private:
  int fd_ = -1;
};

// Tries a record lock of the whole file open on `fd` without waiting:
// shared (`exclusive` false) or exclusive. The lock belongs to the open
// file (F_OFD_SETLK), so two opens in one process exclude each other too,
// and it goes with the last descriptor of that open file. 0 when had, else
// -1 with errno set.
int try_record_lock(const Fd& fd, bool exclusive);
// Whether a lock attempt failed only because another holds the lock.
bool lock_busy(int error);

}  // namespace kelp
