#pragma once

#include <QSpinBox>

#include <functional>

class QKeyEvent;
class QWheelEvent;

// The up-down arrows of the price tools: every click on an arrow, or press
// of the Up or Down key, is one call of OnClick, whatever the position, which
// only runs between 0 and 1000. Paging keys and the wheel do nothing here: a
// page would reprice every line ten times, and a wheel turned over the
// arrows on the way to the lines would reprice them unnoticed.
class TUpDown : public QSpinBox {
public:
  explicit TUpDown(QWidget* parent);
  std::function<void(bool up)> OnClick;
  void stepBy(int steps) override;

protected:
  StepEnabled stepEnabled() const override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
};
