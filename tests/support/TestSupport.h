#pragma once

#include <string>
#include <vector>

#include "TraceRecorder.h"

// Captures every trace line and message box for the life of the object and
// puts the previous sink and dialog service back afterwards.
class TTraceCapture {
public:
  TTraceCapture();
  ~TTraceCapture();
  TTraceCapture(const TTraceCapture&) = delete;
  TTraceCapture& operator=(const TTraceCapture&) = delete;

  // Texts of the message boxes shown, in order ("*ERROR*..." for errors).
  const std::vector<std::string>& Boxes() const { return Dialogs.Messages; }
  const std::vector<std::string>& Lines() const { return Sink.Lines; }
  bool Traced(const std::string& line) const { return Sink.Contains(line); }
  void Clear() {
    Sink.Clear();
    Dialogs.Clear();
  }

  TMemoryTraceSink Sink;
  TRecordingDialogService Dialogs;

private:
  TTraceSink* fPreviousSink;
  TDialogService* fPreviousDialogs;
};

// A fresh folder under the system's temporary folder, removed with its
// contents when the object dies.
class TTempDir {
public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;
  const std::string& Path() const { return fPath; }
  // Path() + "/" + name.
  std::string File(const std::string& name) const { return fPath + "/" + name; }

private:
  std::string fPath;
};

// Makes a folder the working directory for the life of the object.
class TScopedCwd {
public:
  explicit TScopedCwd(const std::string& path);
  ~TScopedCwd();
  TScopedCwd(const TScopedCwd&) = delete;
  TScopedCwd& operator=(const TScopedCwd&) = delete;

private:
  std::string fPrevious;
};

std::string ReadFileBytes(const std::string& fileName);
void WriteFileBytes(const std::string& fileName, const std::string& bytes);
// Copies a folder tree (for example the sample installation into a temporary
// working folder).
void CopyTree(const std::string& from, const std::string& to);

// Called once by the test main before the tests run; a test executable that
// needs a QApplication defines it (the default does nothing).
void QuorixTestInit(int& argc, char** argv);

// Pages of a PDF file written by the printer: its "/Type /Page" objects (not
// the "/Pages" tree).
int PdfPages(const std::string& file);
