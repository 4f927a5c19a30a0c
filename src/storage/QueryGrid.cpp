#include "QueryGrid.h"

namespace {
TTableDebugWindow* gDebugWindow = nullptr;
}

TTableDebugWindow* SetTableDebugWindow(TTableDebugWindow* window) {
  TTableDebugWindow* previous = gDebugWindow;
  gDebugWindow = window;
  return previous;
}

TTableDebugWindow* GetTableDebugWindow() { return gDebugWindow; }
