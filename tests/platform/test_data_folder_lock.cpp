#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <string>

#include "DataFolderLock.h"
#include "StringManager.h"
#include "TestSupport.h"

namespace {

// A second desk: a child process that takes the lock on folder, tells the
// parent through a pipe whether it got it, then waits to be killed.
pid_t SpawnDesk(const std::string& folder) {
  int fds[2];
  if (::pipe(fds) != 0) return -1;
  pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    TDataFolderLock lock(folder);
    const char ok = lock.Acquire() == TDataFolderLock::TResult::Acquired ? '1' : '0';
    (void)!::write(fds[1], &ok, 1);
    for (;;) ::pause();
  }
  ::close(fds[1]);
  char ok = '0';
  (void)!::read(fds[0], &ok, 1);
  ::close(fds[0]);
  if (ok != '1') {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return -1;
  }
  return pid;
}

std::string ThisMachine() {
  char name[HOST_NAME_MAX + 1] = {};
  ::gethostname(name, sizeof name - 1);
  return name;
}

}  // namespace

TEST(DataFolderLock, ADeskOnTheFolderRefusesASecondOneUntilItEnds) {
  TTempDir dir;
  const std::string data = dir.File("Data");
  std::filesystem::create_directories(data);
  const std::string file = data + "/" + TDataFolderLock::kFileName;

  pid_t first = SpawnDesk(data);
  ASSERT_GT(first, 0);
  const std::string holder = ReadFileBytes(file);

  TDataFolderLock second(data);
  EXPECT_EQ(second.Acquire(), TDataFolderLock::TResult::HeldElsewhere);
  EXPECT_FALSE(second.Held());
  EXPECT_EQ(second.HolderMachine(), ThisMachine());
  EXPECT_TRUE(StringManager().RegExMatch("^[0-9]{2}/[0-9]{2}/[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}$", second.HolderSince()))
      << second.HolderSince();
  EXPECT_EQ(second.RefusalMessage(), "Les donnees " + data + " sont deja ouvertes par Quorix sur la machine " +
                                         ThisMachine() + " depuis le " + second.HolderSince() +
                                         " : elles ne peuvent pas etre ouvertes ici en meme temps.");
  EXPECT_EQ(ReadFileBytes(file), holder) << "the refused desk writes nothing";

  // A desk that ends, even killed, leaves nothing that holds the folder.
  ::kill(first, SIGKILL);
  ::waitpid(first, nullptr, 0);
  EXPECT_EQ(second.Acquire(), TDataFolderLock::TResult::Acquired);
  EXPECT_TRUE(second.Held());

  // The lock belongs to the open file, not to the process: another one in
  // this very process is refused as well, until the first goes.
  TDataFolderLock third(data);
  EXPECT_EQ(third.Acquire(), TDataFolderLock::TResult::HeldElsewhere);
  second.Release();
  EXPECT_EQ(third.Acquire(), TDataFolderLock::TResult::Acquired);
}

TEST(DataFolderLock, AMissingFolderIsNeitherLockedNorMade) {
  TTempDir dir;
  TDataFolderLock lock(dir.File("Data"));
  EXPECT_EQ(lock.Acquire(), TDataFolderLock::TResult::NotLocked);
  EXPECT_FALSE(std::filesystem::exists(dir.File("Data")));
}
