#pragma once

#include <QApplication>

#include <string>

// The application object of the program. Every event handler runs inside its
// notify(), which is the screen's last line of defence: an operation abandoned
// by ERegExError (a search pattern that does not compile) or by any C++
// exception from a library call ends there, its message is shown through the
// dialog service, and the event loop goes on.
class TQuorixApplication : public QApplication {
public:
  TQuorixApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

// Runs an action the same way notify() runs an event handler: returns false
// when the action was abandoned by an exception, after showing its message.
// Used for the work done outside the event loop (the start-up sequence).
template <typename F>
bool RunGuarded(F&& action);

// Shows the message of the exception being handled (call inside a catch).
void ShowCurrentException();

template <typename F>
bool RunGuarded(F&& action) {
  try {
    action();
    return true;
  } catch (...) {
    ShowCurrentException();
    return false;
  }
}
