#include "sysutl/fd.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace kelp {

void Fd::reset(int fd) {
  if (fd_ >= 0) {
    // The close says nothing the caller asked about: the error of the step
    // that made the caller let go stays in errno.
    const int error = errno;
    ::close(fd_);
    errno = error;
  }
  fd_ = fd;
}

bool Fd::close() {
  if (fd_ < 0) return true;
  return ::close(release()) == 0;
}

int try_record_lock(const Fd& fd, bool exclusive) {
  struct flock whole {};
  whole.l_type = exclusive ? F_WRLCK : F_RDLCK;
  whole.l_whence = SEEK_SET;  // from byte 0 to the end, however long
  return ::fcntl(fd.get(), F_OFD_SETLK, &whole);
}

bool lock_busy(int error) { return error == EAGAIN || error == EACCES; }

}  // namespace kelp
