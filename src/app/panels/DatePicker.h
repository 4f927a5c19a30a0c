#pragma once

#include <QDateEdit>

// The piece date: Tab leaves it for the next control instead of going from
// the day to the month and the year, like every other edit of the panel.
class TDatePicker : public QDateEdit {
public:
  using QDateEdit::QDateEdit;

protected:
  bool focusNextPrevChild(bool next) override;
};
