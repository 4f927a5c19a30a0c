#pragma once

#include <string>
#include <vector>

#include "Trace.h"

// Keeps every trace line in memory. Used by tests, benchmarks and fuzzers.
class TMemoryTraceSink : public TTraceSink {
public:
  void AddLine(const std::string& line) override;
  std::vector<std::string> Lines;
  // Lines that are kept at most; older ones are dropped (a fuzzer traces a lot).
  size_t MaxLines = 100000;
  bool Contains(const std::string& line) const;
  void Clear() { Lines.clear(); }
};

// Records the message boxes instead of showing them.
class TRecordingDialogService : public TDialogService {
public:
  void ShowMessage(const std::string& text) override { Messages.push_back(text); }
  bool AskYesNo(const std::string& text) override {
    Questions.push_back(text);
    return NextAnswer;
  }
  std::vector<std::string> Messages;
  std::vector<std::string> Questions;
  bool NextAnswer = true;
  void Clear() { Messages.clear(); Questions.clear(); }
};
