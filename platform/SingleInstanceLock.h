#pragma once

#include <string>

// The machine-wide guard that keeps a second copy of the program from
// starting: a local socket bound to a name in the system's abstract
// namespace. Such a name lives only in the kernel, as long as its socket is
// open: no file on disk stands for it, so neither a hand nor a temporary-file
// cleaner can remove it while the program runs, and the system frees it the
// moment the holding process ends, even by a crash or kill -9. The codes are
// those of the named mutex the program has always used: 183 when another
// process holds the guard, 5 when the system refuses this process the name.
class TSingleInstanceLock {
public:
  static constexpr int kAcquired = 0;
  static constexpr int kAlreadyExists = 183;
  static constexpr int kAccessDenied = 5;

  // The program's guard name.
  static constexpr const char* kDefaultName = "Quorix";

  explicit TSingleInstanceLock(std::string name = kDefaultName);
  ~TSingleInstanceLock();
  TSingleInstanceLock(const TSingleInstanceLock&) = delete;
  TSingleInstanceLock& operator=(const TSingleInstanceLock&) = delete;

  // Tries to take the guard without waiting and returns one of the codes
  // above. Any other failure (no local sockets at all, say) returns kAcquired
  // without holding anything: the guard must never stop the desk from working.
  int Acquire();
  // Gives the guard back (also done by the destructor).
  void Release();
  bool Held() const { return fFd >= 0; }
  const std::string& Name() const { return fName; }

private:
  std::string fName;
  int fFd = -1;
};
