#pragma once

#include <memory>
#include <string>

#include "Trace.h"

class QMessageBox;
class QWidget;

// Caption of every message box of the program.
inline constexpr const char* kApplicationName = "Quorix";

// The program's message boxes: modal, captioned with the application's name,
// with a single OK button (or Yes and No when a question is asked). The texts
// are Windows-1252 and are converted at this boundary only.
class TQtDialogService : public TDialogService {
public:
  void ShowMessage(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  std::string AskOpenFileName(const std::string& folder) override;

  // The box ShowMessage runs, built but not shown (tests read it).
  static std::unique_ptr<QMessageBox> CreateMessageBox(const std::string& text, QWidget* parent = nullptr);
  static std::unique_ptr<QMessageBox> CreateQuestionBox(const std::string& text, QWidget* parent = nullptr);
};
