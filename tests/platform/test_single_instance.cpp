#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>
#include <filesystem>
#include <string>

#include "SingleInstanceLock.h"
#include "TestSupport.h"

namespace {

// A guard name of this test process alone, so that a Quorix running on the
// machine and the tests running beside this one are never disturbed.
std::string TestName(const char* what) { return "QuorixTest-" + std::to_string(::getpid()) + "-" + what; }

// A child process that binds the name with the raw system calls, tells the
// parent through a pipe, then waits to be killed.
pid_t SpawnHolder(const std::string& name) {
  int fds[2];
  if (::pipe(fds) != 0) return -1;
  pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    char ok = (fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0) ? '1' : '0';
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
  const std::string name = TestName("second");
  TSingleInstanceLock first(name);
  EXPECT_EQ(first.Acquire(), TSingleInstanceLock::kAcquired);
  EXPECT_TRUE(first.Held());

  TSingleInstanceLock second(name);
  EXPECT_EQ(second.Acquire(), TSingleInstanceLock::kAlreadyExists);
  EXPECT_FALSE(second.Held());
  EXPECT_TRUE(first.Held()) << "the refused start must not disturb the running one";

  first.Release();
  EXPECT_EQ(second.Acquire(), TSingleInstanceLock::kAcquired);
}

TEST(SingleInstanceLock, TheGuardGoesWithTheObject) {
  const std::string name = TestName("object");
  {
    TSingleInstanceLock first(name);
    ASSERT_EQ(first.Acquire(), TSingleInstanceLock::kAcquired);
  }
  TSingleInstanceLock again(name);
  EXPECT_EQ(again.Acquire(), TSingleInstanceLock::kAcquired);
}

TEST(SingleInstanceLock, AnotherProcessHoldingTheGuardGives183UntilItIsKilled) {
  const std::string name = TestName("killed");
  pid_t holder = SpawnHolder(name);
  ASSERT_GT(holder, 0);

  TSingleInstanceLock lock(name);
  EXPECT_EQ(lock.Acquire(), TSingleInstanceLock::kAlreadyExists);

  // A crash of the holder (nothing cleaned up) must free the guard at once.
  ::kill(holder, SIGKILL);
  ::waitpid(holder, nullptr, 0);
  EXPECT_EQ(lock.Acquire(), TSingleInstanceLock::kAcquired);
}

// Nothing on disk stands for the guard: emptying the temporary folder, or
// the left-over lock file of an earlier version, changes nothing.
TEST(SingleInstanceLock, NoFileTakesOrFreesTheGuard) {
  const std::string name = TestName("files");
  const std::filesystem::path temp = std::filesystem::temp_directory_path();
  std::filesystem::remove(temp / name);
  TSingleInstanceLock first(name);
  ASSERT_EQ(first.Acquire(), TSingleInstanceLock::kAcquired);
  EXPECT_FALSE(std::filesystem::exists(temp / name));
  EXPECT_FALSE(std::filesystem::exists(temp / (name + ".lock")));

  WriteFileBytes((temp / (name + ".lock")).string(), "");
  TSingleInstanceLock second(name);
  EXPECT_EQ(second.Acquire(), TSingleInstanceLock::kAlreadyExists);
  std::filesystem::remove(temp / (name + ".lock"));
  EXPECT_EQ(second.Acquire(), TSingleInstanceLock::kAlreadyExists);
  EXPECT_TRUE(first.Held());
}

TEST(SingleInstanceLock, NamesThatCannotBeBoundNeverStopTheProgram) {
  TSingleInstanceLock empty("");
  EXPECT_EQ(empty.Acquire(), TSingleInstanceLock::kAcquired);
  EXPECT_FALSE(empty.Held());
  TSingleInstanceLock tooLong(std::string(200, 'Q'));
  EXPECT_EQ(tooLong.Acquire(), TSingleInstanceLock::kAcquired);
  EXPECT_FALSE(tooLong.Held());
}
