#include "QtGuard.h"

#include <exception>
#include <new>

#include "StringManager.h"
#include "Trace.h"

TQuorixApplication::TQuorixApplication(int& argc, char** argv) : QApplication(argc, argv) {}

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
    throw;
  } catch (const ERegExError& e) {
    ShowMessage(e.Message);
  } catch (const std::bad_alloc&) {
    ShowMessage("Memoire insuffisante pour terminer l'operation");
  } catch (const std::exception& e) {
    ShowMessage(e.what());
  } catch (...) {
    ShowMessage("Erreur inattendue : operation abandonnee");
  }
}
