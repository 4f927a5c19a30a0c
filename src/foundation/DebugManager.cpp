#include "DebugManager.h"

namespace {
TDebug_Manager* gDebugManager = nullptr;
TChrono* gChrono = nullptr;
}  // namespace

TDebug_Manager::TDebug_Manager() { gDebugManager = this; }

TDebug_Manager::~TDebug_Manager() {
  if (gDebugManager == this) gDebugManager = nullptr;
}

TDebug_Manager* DebugManager() { return gDebugManager; }

TChrono::TChrono() { gChrono = this; }

TChrono::~TChrono() {
  for (TChronoEntry* e : Entries) delete e;
  Entries.clear();
  if (gChrono == this) gChrono = nullptr;
}

TChrono* Chrono() { return gChrono; }
