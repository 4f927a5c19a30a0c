#include "SingleInstanceLock.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>

TSingleInstanceLock::TSingleInstanceLock(std::string name) : fName(std::move(name)) {}

TSingleInstanceLock::~TSingleInstanceLock() { Release(); }

int TSingleInstanceLock::Acquire() {
  if (fFd >= 0) return kAcquired;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  // A leading zero byte puts the name in the abstract namespace.
  if (fName.empty() || fName.size() + 1 > sizeof address.sun_path) return kAcquired;
  std::memcpy(address.sun_path + 1, fName.data(), fName.size());
  const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + fName.size());

  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return kAcquired;
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
    const int error = errno;
    ::close(fd);
    if (error == EADDRINUSE) return kAlreadyExists;
    if (error == EACCES || error == EPERM) return kAccessDenied;
    return kAcquired;
  }
  fFd = fd;
  return kAcquired;
}

void TSingleInstanceLock::Release() {
  if (fFd < 0) return;
  ::close(fFd);
  fFd = -1;
}
