#pragma once

#include <QWidget>

#include <string>

class QLabel;
class QProgressBar;

// The loading window: a progress bar and a label, on screen from the first
// window creation to the end of the main window's loading.
class TSplashLaunch_Form : public QWidget {
public:
  TSplashLaunch_Form();

  // Moves the bar and paints at once: the loading blocks the event loop, so
  // the window would otherwise show nothing until the end.
  void SetProgress(int value);
  void SetProgressMax(int value);
  void SetLabel(const std::string& text);

  QProgressBar* ProgressBar1;
  QLabel* Label1;

  // The label's design place: its right edge stays at left + width.
  static constexpr int kLabelLeft = 112;
  static constexpr int kLabelTop = 56;
  static constexpr int kLabelWidth = 110;

private:
  void PaintNow();
  void FitLabel();
};
