#pragma once

#include <QSpinBox>

#include <functional>

// The up-down arrows of the price tools: every click on an arrow (or step by
// key or wheel) is one call of OnClick, whatever the position, which only
// runs between 0 and 1000.
class TUpDown : public QSpinBox {
public:
  explicit TUpDown(QWidget* parent);
  std::function<void(bool up)> OnClick;
  void stepBy(int steps) override;

protected:
  StepEnabled stepEnabled() const override;
};
