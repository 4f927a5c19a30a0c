#include "DataFolderLock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include "DateTime.h"
#include "Trace.h"

namespace {

std::string MachineName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return std::string();
  return name;
}

// The holder's two lines: machine, then start time.
void ReadHolder(int fd, std::string& machine, std::string& since) {
  char buffer[512];
  const ssize_t n = ::pread(fd, buffer, sizeof buffer, 0);
  if (n <= 0) return;
  const std::string text(buffer, static_cast<std::size_t>(n));
  const std::size_t first = text.find('\n');
  machine = text.substr(0, first);
  if (first == std::string::npos) return;
  const std::size_t second = text.find('\n', first + 1);
  since = text.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
}

}  // namespace

TDataFolderLock::TDataFolderLock(std::string folder) : fFolder(std::move(folder)) {}

TDataFolderLock::~TDataFolderLock() { Release(); }

TDataFolderLock::TResult TDataFolderLock::Acquire() {
  if (fFd >= 0) return TResult::Acquired;
  struct stat st;
  if (::stat(fFolder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return TResult::NotLocked;
  const std::string file = fFolder + "/" + kFileName;
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) {
    Warning("TDataFolderLock.Acquire : ouverture impossible de " + file + " : " + std::strerror(errno));
    return TResult::NotLocked;
  }
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = 0;
  lock.l_len = 0;
  if (::fcntl(fd, F_OFD_SETLK, &lock) != 0) {
    const int error = errno;
    if (error == EAGAIN || error == EACCES) {
      ReadHolder(fd, fHolderMachine, fHolderSince);
      ::close(fd);
      return TResult::HeldElsewhere;
    }
    Warning("TDataFolderLock.Acquire : verrouillage impossible de " + file + " : " + std::strerror(error));
    ::close(fd);
    return TResult::NotLocked;
  }
  fFd = fd;
  const std::string holder = MachineName() + "\n" + DateTimeToStr(Now()) + "\n";
  if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, holder.data(), holder.size(), 0) != static_cast<ssize_t>(holder.size())) {
    Warning("TDataFolderLock.Acquire : ecriture impossible de " + file);
  }
  return TResult::Acquired;
}

void TDataFolderLock::Release() {
  if (fFd < 0) return;
  ::close(fFd);
  fFd = -1;
}

std::string TDataFolderLock::RefusalMessage() const {
  const std::string machine = fHolderMachine.empty() ? "inconnue" : fHolderMachine;
  const std::string since = fHolderSince.empty() ? "" : " depuis le " + fHolderSince;
  return "Les donnees " + fFolder + " sont deja ouvertes par Quorix sur la machine " + machine + since +
         " : elles ne peuvent pas etre ouvertes ici en meme temps.";
}
