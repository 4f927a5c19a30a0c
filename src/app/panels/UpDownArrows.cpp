#include "UpDownArrows.h"

#include <QLineEdit>
#include <QSignalBlocker>

TUpDownArrows::TUpDownArrows(QWidget* parent, int minimum, int maximum, int position) : QSpinBox(parent) {
  setRange(minimum, maximum);
  setValue(position);
  // The number is shown by the associated edit: the spin box keeps only its
  // arrows.
  lineEdit()->hide();
  setFocusPolicy(Qt::ClickFocus);
  connect(this, &QSpinBox::valueChanged, this, [this] { ShowInEdit(); });
}

void TUpDownArrows::Associate(QLineEdit* edit) {
  fEdit = edit;
  if (fEdit == nullptr) return;
  ShowInEdit();
  connect(fEdit, &QLineEdit::textEdited, this, [this] { TakeFromEdit(); });
}

void TUpDownArrows::ShowInEdit() {
  if (fEdit == nullptr) return;
  const QString text = QString::number(value());
  if (fEdit->text() != text) fEdit->setText(text);
}

void TUpDownArrows::TakeFromEdit() {
  bool ok = false;
  const int typed = fEdit->text().toInt(&ok);
  if (!ok || typed < minimum() || typed > maximum()) return;
  const QSignalBlocker blocker(this);
  setValue(typed);
}
