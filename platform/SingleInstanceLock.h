#pragma once

#include <string>

// The machine-wide guard that keeps a second copy of the program from
// starting. It is an advisory lock (flock) on a lock file: the system drops
// it when the holding process ends in any way, so a crash never blocks the
// next start. The codes are those of the named mutex the program has always
// used: 183 when another process holds the guard, 5 when the lock file cannot
// be opened at all (another user's file that this user may not read).
class TSingleInstanceLock {
public:
  static constexpr int kAcquired = 0;
  static constexpr int kAlreadyExists = 183;
  static constexpr int kAccessDenied = 5;

  // The installation's lock file.
  static constexpr const char* kDefaultPath = "/tmp/Quorix.lock";

  explicit TSingleInstanceLock(std::string path = kDefaultPath);
  ~TSingleInstanceLock();
  TSingleInstanceLock(const TSingleInstanceLock&) = delete;
  TSingleInstanceLock& operator=(const TSingleInstanceLock&) = delete;

  // Tries to take the guard without waiting and returns one of the codes
  // above. Any other failure (no temporary folder, say) returns kAcquired
  // without holding anything: the guard must never stop the desk from working.
  int Acquire();
  // Gives the guard back (also done by the destructor).
  void Release();
  bool Held() const { return fFd >= 0; }
  const std::string& Path() const { return fPath; }

private:
  std::string fPath;
  int fFd = -1;
};
