#pragma once

#include <memory>

class TMyDatabase_Form;
class TPrinter_Form;
class TQuorix_Form;

// The windows of the program, created in their fixed order: the splash
// window, the table debug window (which must exist before any table is
// loaded), then the main window, whose creation runs the loading sequence
// and destroys the splash window at its end, then the print window (the
// view of the print manager that the main window created).
class TQuorixWindows {
public:
  TQuorixWindows();
  ~TQuorixWindows();
  TQuorixWindows(const TQuorixWindows&) = delete;
  TQuorixWindows& operator=(const TQuorixWindows&) = delete;

  // The tables hold grids over the debug window: the main window goes first.
  std::unique_ptr<TMyDatabase_Form> DebugWindow;
  std::unique_ptr<TQuorix_Form> MainWindow;
  std::unique_ptr<TPrinter_Form> PrinterWindow;
};

// The process entry after the single-instance guard: the application object,
// the windows and the event loop. Returns the process exit status.
int RunQuorix(int argc, char** argv);

// True when the toolkit has somewhere to draw: a display, or a platform
// chosen explicitly (offscreen).
bool DisplayAvailable();
