#include "SplashLaunchForm.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>

#include <algorithm>

#include "QtText.h"

TSplashLaunch_Form::TSplashLaunch_Form() : QWidget(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName("SplashLaunch_Form");
  setWindowTitle(ToQString("Chargement Quorix"));
  move(223, 211);
  setFixedSize(350, 85);
  setAttribute(Qt::WA_DeleteOnClose, false);

  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName("ProgressBar1");
  ProgressBar1->setGeometry(24, 24, 313, 17);
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);

  Label1 = new QLabel(this);
  Label1->setObjectName("Label1");
  Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  Label1->setText(ToQString("Chargement en cours..."));
  FitLabel();

  // The window shows itself on creation, so that it is on screen before the
  // main window starts loading.
  show();
  PaintNow();
}

void TSplashLaunch_Form::SetProgress(int value) {
  ProgressBar1->setValue(value);
  PaintNow();
}

void TSplashLaunch_Form::SetProgressMax(int value) {
  ProgressBar1->setMaximum(value);
  PaintNow();
}

void TSplashLaunch_Form::SetLabel(const std::string& text) {
  Label1->setText(ToQString(text));
  FitLabel();
  PaintNow();
}

// The label sizes itself to its text and keeps its right edge where the
// design puts it, so a wider font grows it to the left instead of cutting it.
void TSplashLaunch_Form::FitLabel() {
  const int right = kLabelLeft + kLabelWidth;
  const int width = std::max(kLabelWidth, Label1->sizeHint().width());
  Label1->setGeometry(right - width, kLabelTop, width, Label1->sizeHint().height());
}

void TSplashLaunch_Form::PaintNow() {
  repaint();
  // Lets the window system map and draw the window; user input is kept for
  // later so nothing can act on the half-built main window.
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
