#pragma once

#include <string>

// Trace and error reports. Every class reports problems through these
// functions: a plain trace line, a warning (a trace line starting with
// "Warning : ") or an error, which is traced and shown in a modal box whose
// text is "*ERROR*" followed by the message. Errors never abort the caller.

// Receives trace lines and warnings. The program runs without one; tests
// install a recorder to read what was traced.
class TTraceSink {
public:
  virtual ~TTraceSink() = default;
  virtual void AddLine(const std::string& line) = 0;
  virtual void Refresh() {}
  virtual void SaveToFile(const std::string& fileName) { (void)fileName; }
};

// Every modal message box of the program goes through this one service, so
// that tests can replace the Qt boxes with a recorder and never block.
class TDialogService {
public:
  virtual ~TDialogService() = default;
  // A modal box with the text and a single OK button.
  virtual void ShowMessage(const std::string& text) = 0;
  // A modal box asking yes or no; true for yes.
  virtual bool AskYesNo(const std::string& text) { (void)text; return false; }
  // The open-file dialog, starting in folder: the chosen file's path as the
  // file system names it, or an empty text when the user cancels.
  virtual std::string AskOpenFileName(const std::string& folder) { (void)folder; return std::string(); }
};

// Installs a sink or a service and returns the previous one. Neither is owned.
TTraceSink* SetTraceSink(TTraceSink* sink);
TTraceSink* GetTraceSink();
TDialogService* SetDialogService(TDialogService* service);
TDialogService* GetDialogService();

// A plain user message box ("Veuillez corriger les champs en rouge").
void ShowMessage(const std::string& text);

std::string IntToStr(long long n);

void Trace(const std::string& text);
void TraceIntInt(const std::string& text, long long a, long long b);
void Warning(const std::string& text);
void WarningInt(const std::string& text, long long n);
void Error(const std::string& text);
void ErrorInt(const std::string& text, long long n);
void ErrorIntText(const std::string& text, long long n, const std::string& tail);
void ErrorIntInt(const std::string& text, long long a, long long b);
// The trace file of the original installation; see the README.
inline constexpr const char* kTraceFileName = "C:\\Trace.txt";
void SaveTrace();
void RefreshTrace();
