#include "TraceRecorder.h"

#include <algorithm>

void TMemoryTraceSink::AddLine(const std::string& line) {
  if (Lines.size() >= MaxLines && !Lines.empty()) Lines.erase(Lines.begin(), Lines.begin() + Lines.size() / 2);
  Lines.push_back(line);
}

bool TMemoryTraceSink::Contains(const std::string& line) const {
  return std::find(Lines.begin(), Lines.end(), line) != Lines.end();
}
