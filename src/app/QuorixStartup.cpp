#include "QuorixStartup.h"

#include <cstdio>
#include <cstdlib>

#include "Catalogue.h"
#include "DataFolderLock.h"
#include "MyDatabaseForm.h"
#include "PrinterForm.h"
#include "QtDialogService.h"
#include "QtGuard.h"
#include "QtTranslations.h"
#include "QuorixForm.h"
#include "SplashLaunchForm.h"
#include "Trace.h"

TQuorixWindows::TQuorixWindows() {
  auto splash = std::make_unique<TSplashLaunch_Form>();
  DebugWindow = std::make_unique<TMyDatabase_Form>();
  MainWindow = std::make_unique<TQuorix_Form>(std::move(splash));
  PrinterWindow = std::make_unique<TPrinter_Form>();
}

TQuorixWindows::~TQuorixWindows() {
  PrinterWindow.reset();
  MainWindow.reset();
  DebugWindow.reset();
}

bool DisplayAvailable() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

int RunQuorix(int argc, char** argv) {
  if (!DisplayAvailable()) {
    std::fprintf(stderr,
                 "Quorix: no display available (DISPLAY is not set); run it under Xvfb: "
                 "xvfb-run -a -s '-screen 0 1280x800x24' %s\n",
                 argc > 0 ? argv[0] : "quorix");
    return 1;
  }
  TQuorixApplication app(argc, argv);
  app.setApplicationName(QString::fromLatin1(kApplicationName));
  InstallFrenchQtTexts(app);
  // The main window ends the program, even when the debug window is open.
  app.setQuitOnLastWindowClosed(false);

  // One desk per data folder, for the whole run: a second one (another
  // machine on the same share) is refused before it reads or writes anything.
  TDataFolderLock dataLock(Catalogue::DataFolder);
  if (dataLock.Acquire() == TDataFolderLock::TResult::HeldElsewhere) {
    ShowMessage(dataLock.RefusalMessage());
    return 1;
  }

  std::unique_ptr<TQuorixWindows> windows;
  if (!RunGuarded([&windows] { windows = std::make_unique<TQuorixWindows>(); })) return 1;
  windows->MainWindow->OnClosed = [] { QApplication::quit(); };
  const int status = TQuorixApplication::exec();
  windows.reset();
  return status;
}
