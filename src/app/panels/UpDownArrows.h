#pragma once

#include <QSpinBox>

class QLineEdit;

// A pair of arrows beside an edit, which shows the position: the arrows and
// the keys Up and Down move the position within its range and write it into
// the edit; a number typed into the edit within the range becomes the
// position. Only the arrows are drawn, the number being the edit's.
class TUpDownArrows : public QSpinBox {
public:
  TUpDownArrows(QWidget* parent, int minimum, int maximum, int position);
  // The edit that shows the position (none at first).
  void Associate(QLineEdit* edit);
  int Position() const { return value(); }
  void SetPosition(int position) { setValue(position); }

private:
  void ShowInEdit();
  void TakeFromEdit();

  QLineEdit* fEdit = nullptr;
};
