#pragma once

#include <string>
#include <vector>

// Diagnostic hooks that the main window creates and releases; they record
// nothing in the program.
class TDebug_Manager {
public:
  TDebug_Manager();
  ~TDebug_Manager();
  void Enter(const std::string& text) { (void)text; }
  void Leave(const std::string& text) { (void)text; }
};

// The process-wide debug manager, or nullptr outside the main window's life.
TDebug_Manager* DebugManager();

struct TChronoEntry {
  std::string Name;
  double Seconds = 0;
};

// The timing registry: becomes the process-wide one when created and owns its
// entries. Nothing in the program adds an entry.
class TChrono {
public:
  TChrono();
  ~TChrono();
  std::vector<TChronoEntry*> Entries;
};

TChrono* Chrono();
