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
  // Answers the open-file dialog with NextFileName (empty: cancelled) and
  // keeps the folder it was asked to start in.
  std::string AskOpenFileName(const std::string& folder) override {
    FileQuestions.push_back(folder);
    return NextFileName;
  }
  std::vector<std::string> Messages;
  std::vector<std::string> Questions;
  std::vector<std::string> FileQuestions;
  bool NextAnswer = true;
  std::string NextFileName;
  void Clear() {
    Messages.clear();
    Questions.clear();
    FileQuestions.clear();
  }
};
