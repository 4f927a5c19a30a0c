#include "UpDown.h"

#include <QKeyEvent>
#include <QWheelEvent>

TUpDown::TUpDown(QWidget* parent) : QSpinBox(parent) {
  setRange(0, 1000);
  setValue(500);
}

void TUpDown::stepBy(int steps) {
  if (steps == 0) return;
  if (OnClick) OnClick(steps > 0);
  QSpinBox::stepBy(steps > 0 ? 1 : -1);
}

// Each click applies the tool once more, even when the position has reached
// an end of its range.
QAbstractSpinBox::StepEnabled TUpDown::stepEnabled() const { return StepUpEnabled | StepDownEnabled; }

void TUpDown::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown) {
    event->ignore();
    return;
  }
  QSpinBox::keyPressEvent(event);
}

void TUpDown::wheelEvent(QWheelEvent* event) { event->ignore(); }
