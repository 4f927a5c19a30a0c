#include "SampleWindow.h"

#include <QApplication>

#include "QuorixForm.h"
#include "SplashLaunchForm.h"

std::unique_ptr<TQuorix_Form> StartSampleWindow() {
  auto main = std::make_unique<TQuorix_Form>(std::make_unique<TSplashLaunch_Form>());
  main->setWindowState(Qt::WindowNoState);
  main->resize(1280, 800);
  main->activateWindow();
  QApplication::setActiveWindow(main.get());
  QApplication::processEvents();
  return main;
}
