#include "FileUtils.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>

bool FileExists(const std::string& fileName) {
  struct stat st;
  return !fileName.empty() && ::stat(fileName.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool SameFile(const std::string& a, const std::string& b) {
  if (a == b) return true;
  struct stat sa;
  struct stat sb;
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

namespace {

// Reads a whole file into any resizable array of bytes.
template <class Bytes>
TReadResult ReadInto(const std::string& fileName, Bytes& contents, std::size_t maxBytes) {
  contents.clear();
  int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? TReadResult::Missing : TReadResult::Failed;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return TReadResult::Failed;
  }
  if (static_cast<unsigned long long>(st.st_size) > maxBytes) {
    ::close(fd);
    return TReadResult::TooLarge;
  }
  contents.resize(static_cast<std::size_t>(st.st_size));
  std::size_t done = 0;
  while (true) {
    if (done == contents.size()) {
      // The file may have grown since fstat; keep reading up to the limit.
      if (contents.size() >= maxBytes) {
        char probe;
        ssize_t k = ::read(fd, &probe, 1);
        if (k > 0) {
          ::close(fd);
          contents.clear();
          return TReadResult::TooLarge;
        }
        break;
      }
      contents.resize(std::min(maxBytes, contents.size() + 65536));
    }
    ssize_t k = ::read(fd, &contents[done], contents.size() - done);
    if (k < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      contents.clear();
      return TReadResult::Failed;
    }
    if (k == 0) break;
    done += static_cast<std::size_t>(k);
  }
  contents.resize(done);
  ::close(fd);
  return TReadResult::Ok;
}

}  // namespace

TReadResult ReadWholeFile(const std::string& fileName, std::string& contents, std::size_t maxBytes) {
  return ReadInto(fileName, contents, maxBytes);
}

TReadResult ReadWholeFile(const std::string& fileName, TFileBytes& contents, std::size_t maxBytes) {
  return ReadInto(fileName, contents, maxBytes);
}

namespace {

std::string FolderOf(const std::string& fileName) {
  const std::string::size_type slash = fileName.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : fileName.substr(0, slash);
}

// The file a name designates once every symbolic link on the way is followed
// (the last target need not exist yet). Empty when the links loop.
std::string FollowLinks(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::vector<char> target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
    if (n < 0 || static_cast<std::size_t>(n) >= target.size()) return std::string();
    const std::string link(target.data(), static_cast<std::size_t>(n));
    path = link.front() == '/' ? link : FolderOf(path) + "/" + link;
  }
  return std::string();
}

}  // namespace

bool MayBeWritten(const std::string& fileName) {
  struct stat st;
  if (::stat(fileName.c_str(), &st) != 0) return true;
  // The permission bits bind everyone here, the administrator included: a
  // file the desk made read-only stays as it is.
  if ((st.st_mode & 0222) == 0) return false;
  return ::faccessat(AT_FDCWD, fileName.c_str(), W_OK, AT_EACCESS) == 0;
}

bool WriteFileAtomically(const std::string& fileName, const std::function<bool(const TPieceSink&)>& fill) {
  if (fileName.empty()) return false;
  // A table kept elsewhere through a link is replaced where it lives, so the
  // link stays a link and the other side sees the new bytes.
  const std::string target = FollowLinks(fileName);
  if (target.empty() || !MayBeWritten(target)) return false;
  const std::string folder = FolderOf(target);
  std::string temp = target + ".tmpXXXXXX";
  std::vector<char> pattern(temp.begin(), temp.end());
  pattern.push_back('\0');
  int fd = ::mkstemp(pattern.data());
  if (fd < 0) return false;
  std::string tempName(pattern.data());
  const TPieceSink put = [fd](std::string_view piece) {
    std::size_t done = 0;
    while (done < piece.size()) {
      const ssize_t k = ::write(fd, piece.data() + done, piece.size() - done);
      if (k < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      done += static_cast<std::size_t>(k);
    }
    return true;
  };
  bool ok = fill(put);
  // Keep the permissions and, where allowed, the owner of the file being
  // replaced; a new file gets the usual permissions.
  struct stat st;
  mode_t mode = 0666;
  if (::stat(target.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
    // Only the administrator may give a file away; for the desk's own files
    // the owner is already the right one, so a refusal changes nothing.
    [[maybe_unused]] const int owned = ::fchown(fd, st.st_uid, st.st_gid);
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  if (ok && ::fchmod(fd, mode) != 0) ok = false;
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  if (ok && ::rename(tempName.c_str(), target.c_str()) != 0) ok = false;
  if (!ok) {
    ::unlink(tempName.c_str());
    return false;
  }
  int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return true;
}

bool WriteFileAtomically(const std::string& fileName, std::string_view contents) {
  return WriteFileAtomically(fileName, [contents](const TPieceSink& put) { return put(contents); });
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t end = text.find('\0');
  if (end == std::string::npos) end = text.size();
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < end) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(text, start, i - start);
      if (c == '\r' && i + 1 < end && text[i + 1] == '\n') ++i;
      ++i;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < end) lines.emplace_back(text, start, end - start);
  return lines;
}

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// The entry of the folder named as the part is, or one named so but for the
// case of its letters; "" when there is none.
std::string FindEntryIgnoringCase(const std::string& folder, const std::string& part) {
  struct stat st;
  const std::string exact = folder + part;
  if (::stat(exact.c_str(), &st) == 0) return part;
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return "";
  std::string found;
  while (struct dirent* e = ::readdir(dir)) {
    if (SameIgnoringCase(e->d_name, part)) {
      found = e->d_name;
      break;
    }
  }
  ::closedir(dir);
  return found;
}

}  // namespace

std::string FindFileIgnoringCase(const std::string& fileName) {
  if (FileExists(fileName)) return fileName;
  if (fileName.empty()) return "";
  // Walk the name part by part from its start, keeping the parts that exist
  // as written and looking the others up in their folder.
  std::string resolved = fileName[0] == '/' ? "/" : "";
  std::size_t start = resolved.size();
  while (start <= fileName.size()) {
    std::size_t end = fileName.find('/', start);
    if (end == std::string::npos) end = fileName.size();
    const std::string part = fileName.substr(start, end - start);
    const bool last = end == fileName.size();
    if (!part.empty()) {
      if (part == "." || part == "..") {
        resolved += part;
      } else {
        const std::string entry = FindEntryIgnoringCase(resolved, part);
        if (entry.empty()) return "";
        resolved += entry;
      }
      if (!last) resolved += '/';
    }
    start = end + 1;
  }
  return FileExists(resolved) ? resolved : "";
}

std::vector<std::string> ListFiles(const std::string& folder, const std::string& wildcard) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return names;
  std::string base = folder;
  if (!base.empty() && base.back() != '/') base += '/';
  const bool everyFile = wildcard == "*.*";
  while (struct dirent* e = ::readdir(dir)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    if (!everyFile && ::fnmatch(wildcard.c_str(), name.c_str(), FNM_CASEFOLD) != 0) continue;
    struct stat st;
    if (::stat((base + name).c_str(), &st) == 0 && S_ISREG(st.st_mode)) names.push_back(name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

std::string FreeFileName(const std::string& folder, const std::string& name) {
  std::string base = folder;
  if (!base.empty() && base.back() != '/') base += '/';
  struct stat st;
  if (::lstat((base + name).c_str(), &st) != 0) return name;
  const std::size_t dot = name.rfind('.');
  const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
  const std::string extension = dot == std::string::npos || dot == 0 ? std::string() : name.substr(dot);
  for (unsigned long n = 1;; ++n) {
    const std::string candidate = stem + "_" + std::to_string(n) + extension;
    if (::lstat((base + candidate).c_str(), &st) != 0) return candidate;
  }
}

bool MoveFileNoReplace(const std::string& source, const std::string& target) {
  struct stat st;
  if (::lstat(target.c_str(), &st) == 0) return false;
  // A hard link never replaces its target, so a file that appears meanwhile
  // is not overwritten either.
  if (::link(source.c_str(), target.c_str()) == 0) {
    if (::unlink(source.c_str()) == 0) return true;
    ::unlink(target.c_str());
    return false;
  }
  if (errno != EXDEV && errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP) return false;
  // Another file system (or one without links): copy, then remove.
  std::string bytes;
  if (ReadWholeFile(source, bytes, static_cast<std::size_t>(-1)) != TReadResult::Ok) return false;
  const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool ok = true;
  std::size_t written = 0;
  while (ok && written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
    } else {
      written += static_cast<std::size_t>(n);
    }
  }
  if (::close(fd) != 0) ok = false;
  if (ok && ::unlink(source.c_str()) == 0) return true;
  ::unlink(target.c_str());
  return false;
}
