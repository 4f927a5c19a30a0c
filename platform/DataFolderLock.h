#pragma once

#include <string>

// The lock a desk holds on its data folder for its whole run, so that two
// desks never both write one folder (a server share mounted on two
// machines, where the machine's single-instance guard cannot see the other
// desk). It is an open-file-description lock on a file inside the folder:
// the system releases it whenever the holding process ends, even by a crash
// or kill -9, and a network file system forwards it to the server. The file
// itself is no marker: it stays between runs and only tells a refused desk
// which machine holds the folder, and since when.
class TDataFolderLock {
public:
  // The file inside the data folder.
  static constexpr const char* kFileName = "Quorix.verrou";

  enum class TResult {
    // This desk holds the folder until the object goes.
    Acquired,
    // Another desk holds it: nothing was written.
    HeldElsewhere,
    // No lock could be taken (a missing folder, a file system without
    // locks): the desk works as before, unprotected (a warning is traced).
    NotLocked
  };

  explicit TDataFolderLock(std::string folder);
  ~TDataFolderLock();
  TDataFolderLock(const TDataFolderLock&) = delete;
  TDataFolderLock& operator=(const TDataFolderLock&) = delete;

  TResult Acquire();
  void Release();
  bool Held() const { return fFd >= 0; }

  // After HeldElsewhere: what the holding desk wrote, its machine and the
  // time it started (empty when it could not be read).
  const std::string& HolderMachine() const { return fHolderMachine; }
  const std::string& HolderSince() const { return fHolderSince; }
  // The box shown to the refused desk.
  std::string RefusalMessage() const;

private:
  std::string fFolder;
  int fFd = -1;
  std::string fHolderMachine;
  std::string fHolderSince;
};
