#include "SingleInstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

TSingleInstanceLock::TSingleInstanceLock(std::string path) : fPath(std::move(path)) {}

TSingleInstanceLock::~TSingleInstanceLock() { Release(); }

namespace {

// Opens the lock file, creating it when it does not exist. The existing file
// is opened without O_CREAT: in a sticky world-writable folder such as /tmp
// the kernel refuses O_CREAT on a file another user owns, even when that user
// is not running the program. A new file is made readable by everyone, since
// a read-only descriptor is enough for flock.
int OpenLockFile(const std::string& path, int& error) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd >= 0) return fd;
    if (errno != ENOENT) {
      error = errno;
      return -1;
    }
    fd = ::open(path.c_str(), O_RDONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd >= 0) {
      ::fchmod(fd, 0644);
      return fd;
    }
    if (errno != EEXIST) {
      error = errno;
      return -1;
    }
    // Another process created it in between: open the existing file.
  }
  error = EAGAIN;
  return -1;
}

}  // namespace

int TSingleInstanceLock::Acquire() {
  if (fFd >= 0) return kAcquired;
  int error = 0;
  int fd = OpenLockFile(fPath, error);
  if (fd < 0) {
    if (error == EACCES || error == EPERM || error == ELOOP) return kAccessDenied;
    return kAcquired;
  }
  int rc;
  do {
    rc = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    int lockError = errno;
    ::close(fd);
    if (lockError == EWOULDBLOCK) return kAlreadyExists;
    return kAcquired;
  }
  fFd = fd;
  return kAcquired;
}

void TSingleInstanceLock::Release() {
  if (fFd < 0) return;
  ::flock(fFd, LOCK_UN);
  ::close(fFd);
  fFd = -1;
}
