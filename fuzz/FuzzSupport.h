#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "TraceRecorder.h"

// The routines under test report through message boxes and trace lines. A
// fuzz input must never reach a real box, and the recorders must not grow
// without bound over millions of inputs: each input starts with empty ones.
class TFuzzQuiet {
public:
  TFuzzQuiet();
  ~TFuzzQuiet();
  TFuzzQuiet(const TFuzzQuiet&) = delete;
  TFuzzQuiet& operator=(const TFuzzQuiet&) = delete;

  TMemoryTraceSink Sink;
  TRecordingDialogService Dialogs;

private:
  TTraceSink* fPreviousSink;
  TDialogService* fPreviousDialogs;
};

// Stops the run with the broken property and the input's size, so that the
// fuzzer keeps the input as a crash artefact.
[[noreturn]] void FuzzFail(const char* file, int line, const std::string& what);

#define FUZZ_CHECK(cond, what)                                   \
  do {                                                           \
    if (!(cond)) FuzzFail(__FILE__, __LINE__, std::string(what)); \
  } while (0)

// Printable form of a value for failure messages (bytes outside 32..126 as
// \xHH), cut after a few hundred characters.
std::string FuzzShow(const std::string& text);

// The lines of a file as the readers must see them, written independently of
// them: CR LF, a lone LF or a lone CR ends a line, a final line end makes no
// empty line, a NUL ends the text.
std::vector<std::string> FuzzLines(const std::string& text);
