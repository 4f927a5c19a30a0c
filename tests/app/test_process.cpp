#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "SingleInstanceLock.h"
#include "TestSupport.h"

// These tests start the real program, as the desk does, in a temporary
// working folder, drawing offscreen.

namespace {

using namespace std::chrono_literals;

const std::string kSample = std::string(QUORIX_SOURCE_DIR) + "/sample/Data";

pid_t StartQuorix(const std::string& workDir, const std::string& outputFile) {
  pid_t pid = ::fork();
  if (pid == 0) {
    if (::chdir(workDir.c_str()) != 0) ::_exit(126);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::FILE* out = std::freopen(outputFile.c_str(), "w", stdout);
    std::FILE* err = std::freopen(outputFile.c_str(), "a", stderr);
    (void)out;
    (void)err;
    ::execl(QUORIX_BINARY, QUORIX_BINARY, static_cast<char*>(nullptr));
    ::_exit(127);
  }
  return pid;
}

// The inode of the socket bound to the guard's name, read from the system's
// list of sockets (an abstract name shows with "@" for its leading zero
// byte); empty when nobody holds the guard.
std::string GuardInode() {
  std::ifstream sockets("/proc/net/unix");
  std::string line;
  const std::string wanted = std::string(" @") + TSingleInstanceLock::kDefaultName;
  while (std::getline(sockets, line)) {
    if (line.size() < wanted.size() || line.compare(line.size() - wanted.size(), wanted.size(), wanted) != 0) continue;
    std::istringstream in(line);
    std::string slot, refs, protocol, flags, type, state, inode;
    in >> slot >> refs >> protocol >> flags >> type >> state >> inode;
    return inode;
  }
  return std::string();
}

// Whether process pid holds the guard: one of its descriptors is the guard's
// socket. Looking never takes the guard, so it cannot disturb a start.
bool HoldsGuard(pid_t pid) {
  const std::string inode = GuardInode();
  if (inode.empty()) return false;
  std::error_code error;
  const std::string socket = "socket:[" + inode + "]";
  for (const auto& fd : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
    std::error_code readError;
    if (std::filesystem::read_symlink(fd.path(), readError).string() == socket) return true;
  }
  return false;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    std::this_thread::sleep_for(20ms);
  }
  return condition();
}

// Waits for the process to end; -1 when it is still running at the limit.
int WaitForExit(pid_t pid, std::chrono::milliseconds limit) {
  int status = 0;
  bool ended = WaitUntil([&] { return ::waitpid(pid, &status, WNOHANG) == pid; }, limit);
  if (!ended) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool Running(pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) == 0; }

void KillAndReap(pid_t pid) {
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
}

// Without a display the program says so in one line instead of an abort.
void CheckStartWithoutDisplay() {
  TTempDir dir;
  pid_t pid = ::fork();
  if (pid == 0) {
    if (::chdir(dir.Path().c_str()) != 0) ::_exit(126);
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    ::unsetenv("QT_QPA_PLATFORM");
    std::FILE* err = std::freopen(dir.File("out.txt").c_str(), "w", stderr);
    (void)err;
    ::execl(QUORIX_BINARY, QUORIX_BINARY, static_cast<char*>(nullptr));
    ::_exit(127);
  }
  const int status = WaitForExit(pid, 10s);
  if (status < 0) KillAndReap(pid);
  EXPECT_EQ(status, 1);
  const std::string out = ReadFileBytes(dir.File("out.txt"));
  EXPECT_NE(out.find("no display available"), std::string::npos) << out;
  EXPECT_NE(out.find("xvfb-run"), std::string::npos) << out;
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
}

}  // namespace

TEST(QuorixProcess, SecondStartEndsSilentlyAndAKilledInstanceNeverBlocksTheNext) {
  // A desk instance running on this machine would make the checks below
  // meaningless.
  if (!GuardInode().empty()) GTEST_SKIP() << "Quorix is running on this machine";
  CheckStartWithoutDisplay();

  TTempDir dir;
  CopyTree(kSample, dir.File("Data"));

  pid_t first = StartQuorix(dir.Path(), dir.File("first.txt"));
  ASSERT_GT(first, 0);
  ASSERT_TRUE(WaitUntil([&] { return HoldsGuard(first); }, 20s)) << ReadFileBytes(dir.File("first.txt"));

  // What a temporary-file cleaner does while the desk works: the lock file
  // of earlier versions goes, and nothing of the guard goes with it.
  std::filesystem::remove("/tmp/Quorix.lock");

  // The second copy ends at once, with status 0 and without a word.
  const auto started = std::chrono::steady_clock::now();
  pid_t second = StartQuorix(dir.Path(), dir.File("second.txt"));
  const int status = WaitForExit(second, 5s);
  const auto took = std::chrono::steady_clock::now() - started;
  if (status < 0) KillAndReap(second);
  EXPECT_EQ(status, 0);
  EXPECT_LT(took, 1s);
  EXPECT_EQ(ReadFileBytes(dir.File("second.txt")), "");
  EXPECT_TRUE(Running(first)) << "the first instance is unaffected";
  EXPECT_TRUE(HoldsGuard(first));

  // A crash of the running copy leaves nothing that blocks the next start.
  KillAndReap(first);
  pid_t third = StartQuorix(dir.Path(), dir.File("third.txt"));
  ASSERT_GT(third, 0);
  EXPECT_TRUE(WaitUntil([&] { return HoldsGuard(third); }, 20s)) << ReadFileBytes(dir.File("third.txt"));
  EXPECT_TRUE(Running(third));
  KillAndReap(third);
}
