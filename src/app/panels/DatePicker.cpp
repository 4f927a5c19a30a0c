#include "DatePicker.h"

bool TDatePicker::focusNextPrevChild(bool next) { return QWidget::focusNextPrevChild(next); }
