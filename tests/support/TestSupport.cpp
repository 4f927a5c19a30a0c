#include "TestSupport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

TTraceCapture::TTraceCapture() {
  fPreviousSink = SetTraceSink(&Sink);
  fPreviousDialogs = SetDialogService(&Dialogs);
}

TTraceCapture::~TTraceCapture() {
  SetTraceSink(fPreviousSink);
  SetDialogService(fPreviousDialogs);
}

TTempDir::TTempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quorix-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  fPath = pattern;
}

TTempDir::~TTempDir() {
  std::error_code ec;
  std::filesystem::remove_all(fPath, ec);
}

TScopedCwd::TScopedCwd(const std::string& path) {
  fPrevious = std::filesystem::current_path().string();
  std::filesystem::current_path(path);
}

TScopedCwd::~TScopedCwd() {
  std::error_code ec;
  std::filesystem::current_path(fPrevious, ec);
}

std::string ReadFileBytes(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& fileName, const std::string& bytes) {
  std::filesystem::path p(fileName);
  if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
  std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void CopyTree(const std::string& from, const std::string& to) {
  std::filesystem::create_directories(to);
  std::filesystem::copy(from, to,
                        std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
}

__attribute__((weak)) void QuorixTestInit(int& argc, char** argv) {
  (void)argc;
  (void)argv;
}

namespace {

// No test may ever open a modal box or depend on another test's trace: this
// recorder is in place whenever a test has not installed its own capture.
class TQuietEnvironment : public ::testing::Environment {
public:
  void SetUp() override {
    SetTraceSink(&fSink);
    SetDialogService(&fDialogs);
  }
  void TearDown() override {
    SetTraceSink(nullptr);
    SetDialogService(nullptr);
  }

private:
  TMemoryTraceSink fSink;
  TRecordingDialogService fDialogs;
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QuorixTestInit(argc, argv);
  ::testing::AddGlobalTestEnvironment(new TQuietEnvironment);
  return RUN_ALL_TESTS();
}

int PdfPages(const std::string& file) {
  const std::string bytes = ReadFileBytes(file);
  int pages = 0;
  for (std::size_t at = bytes.find("/Type"); at != std::string::npos; at = bytes.find("/Type", at + 1)) {
    std::size_t next = at + 5;
    while (next < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[next]))) ++next;
    if (bytes.compare(next, 5, "/Page") == 0 && next + 5 < bytes.size() && bytes[next + 5] != 's') ++pages;
  }
  return pages;
}
