#include "QtGuard.h"

#include <cstdio>
#include <exception>
#include <new>

#include "StringManager.h"
#include "Trace.h"

namespace {

// Memory set aside from the start for the report of its running out: the box
// that says so needs some to be built, and there was none left.
constexpr std::size_t kReserveBytes = std::size_t(16) * 1024 * 1024;
char* gReserve = nullptr;
bool gReportingMemory = false;

void ReserveMemory() {
  if (gReserve == nullptr) gReserve = new (std::nothrow) char[kReserveBytes];
}

void ShowOutOfMemory() {
  static const char kText[] = "Memoire insuffisante pour terminer l'operation";
  // The event loop runs inside the box: a shortage met meanwhile is not one
  // more box.
  if (gReportingMemory) {
    std::fprintf(stderr, "Quorix: %s\n", kText);
    return;
  }
  gReportingMemory = true;
  // Most often one very large request failed and the box finds what it
  // needs; otherwise the memory set aside is given back for it.
  for (int attempt = 0; attempt < 2; ++attempt) {
    try {
      ShowMessage(kText);
      break;
    } catch (...) {
      delete[] gReserve;
      gReserve = nullptr;
      // Not even then could the box be made: the report goes where it can.
      if (attempt == 1) std::fprintf(stderr, "Quorix: %s\n", kText);
    }
  }
  gReportingMemory = false;
  ReserveMemory();
}

}  // namespace

TQuorixApplication::TQuorixApplication(int& argc, char** argv) : QApplication(argc, argv) { ReserveMemory(); }

bool TQuorixApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ShowCurrentException();
    return true;
  }
}

void ShowCurrentException() {
  try {
    try {
      throw;
    } catch (const ERegExError& e) {
      ShowMessage(e.Message);
    } catch (const std::bad_alloc&) {
      ShowOutOfMemory();
    } catch (const std::exception& e) {
      ShowMessage(e.what());
    } catch (...) {
      ShowMessage("Erreur inattendue : operation abandonnee");
    }
  } catch (...) {
    // The report itself failed, for want of memory most likely: what is
    // thrown out of here would end the program.
    ShowOutOfMemory();
  }
}
