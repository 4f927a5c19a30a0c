#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "SingleInstanceLock.h"
#include "TestSupport.h"

namespace {

// A child process that takes the lock with the raw system calls, tells the
// parent through a pipe, then waits to be killed.
pid_t SpawnHolder(const std::string& path) {
  int fds[2];
  if (::pipe(fds) != 0) return -1;
  pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    int fd = ::open(path.c_str(), O_RDONLY | O_CREAT, 0644);
    char ok = (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0) ? '1' : '0';
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

}  // namespace

TEST(SingleInstanceLock, FirstStartTakesTheGuardAndASecondIsRefusedWith183) {
  TTempDir dir;
  TSingleInstanceLock first(dir.File("Quorix.lock"));
  EXPECT_EQ(first.Acquire(), TSingleInstanceLock::kAcquired);
  EXPECT_TRUE(first.Held());

  TSingleInstanceLock second(dir.File("Quorix.lock"));
  EXPECT_EQ(second.Acquire(), TSingleInstanceLock::kAlreadyExists);
  EXPECT_FALSE(second.Held());
  EXPECT_TRUE(first.Held()) << "the refused start must not disturb the running one";

  first.Release();
  EXPECT_EQ(second.Acquire(), TSingleInstanceLock::kAcquired);
}

TEST(SingleInstanceLock, TheGuardGoesWithTheObject) {
  TTempDir dir;
  {
    TSingleInstanceLock first(dir.File("Quorix.lock"));
    ASSERT_EQ(first.Acquire(), TSingleInstanceLock::kAcquired);
  }
  TSingleInstanceLock again(dir.File("Quorix.lock"));
  EXPECT_EQ(again.Acquire(), TSingleInstanceLock::kAcquired);
}

TEST(SingleInstanceLock, AnotherProcessHoldingTheGuardGives183UntilItIsKilled) {
  TTempDir dir;
  const std::string path = dir.File("Quorix.lock");
  pid_t holder = SpawnHolder(path);
  ASSERT_GT(holder, 0);

  TSingleInstanceLock lock(path);
  EXPECT_EQ(lock.Acquire(), TSingleInstanceLock::kAlreadyExists);

  // A crash of the holder (nothing cleaned up) must free the guard at once.
  ::kill(holder, SIGKILL);
  ::waitpid(holder, nullptr, 0);
  EXPECT_EQ(lock.Acquire(), TSingleInstanceLock::kAcquired);
  EXPECT_TRUE(std::filesystem::exists(path)) << "the lock file stays; only the lock goes";
}

TEST(SingleInstanceLock, LeftOverLockFileFromAnEarlierRunDoesNotBlock) {
  TTempDir dir;
  WriteFileBytes(dir.File("Quorix.lock"), "");
  ::chmod(dir.File("Quorix.lock").c_str(), 0444);
  TSingleInstanceLock lock(dir.File("Quorix.lock"));
  EXPECT_EQ(lock.Acquire(), TSingleInstanceLock::kAcquired);
  EXPECT_TRUE(lock.Held());
}

TEST(SingleInstanceLock, LockFileThatCannotBeOpenedGivesAccessDenied) {
  TTempDir dir;
  // A link planted in place of the lock file is never followed.
  std::filesystem::create_symlink(dir.File("elsewhere"), dir.File("Quorix.lock"));
  TSingleInstanceLock link(dir.File("Quorix.lock"));
  EXPECT_EQ(link.Acquire(), TSingleInstanceLock::kAccessDenied);
  EXPECT_FALSE(std::filesystem::exists(dir.File("elsewhere")));

  if (::geteuid() != 0) {
    // Another user's private file (root may open anything, so only as a user).
    WriteFileBytes(dir.File("private.lock"), "");
    ::chmod(dir.File("private.lock").c_str(), 0000);
    TSingleInstanceLock denied(dir.File("private.lock"));
    EXPECT_EQ(denied.Acquire(), TSingleInstanceLock::kAccessDenied);
  }
}

TEST(SingleInstanceLock, MissingFolderDoesNotStopTheProgram) {
  TSingleInstanceLock lock("/nonexistent-quorix-folder/Quorix.lock");
  EXPECT_EQ(lock.Acquire(), TSingleInstanceLock::kAcquired);
  EXPECT_FALSE(lock.Held());
}

TEST(SingleInstanceLock, NewLockFileIsReadableByOtherUsers) {
  TTempDir dir;
  TSingleInstanceLock lock(dir.File("Quorix.lock"));
  ASSERT_EQ(lock.Acquire(), TSingleInstanceLock::kAcquired);
  struct stat st {};
  ASSERT_EQ(::stat(dir.File("Quorix.lock").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
}
