#include "UpDown.h"

#include <cstdlib>

TUpDown::TUpDown(QWidget* parent) : QSpinBox(parent) {
  setRange(0, 1000);
  setValue(500);
}

void TUpDown::stepBy(int steps) {
  for (int i = 0; i < std::abs(steps); ++i) {
    if (OnClick) OnClick(steps > 0);
  }
  QSpinBox::stepBy(steps);
}

// Each click applies the tool once more, even when the position has reached
// an end of its range.
QAbstractSpinBox::StepEnabled TUpDown::stepEnabled() const { return StepUpEnabled | StepDownEnabled; }
