#pragma once

#include <string>

#include "GridSurface.h"

class QTextEdit;

// The piece editor's message panel keeps the last lines only.
inline constexpr int kSignalLines = 100;

// Appends one line in the colour to a read-only text panel, drops the oldest
// lines beyond kSignalLines and scrolls the new line into view. The panel's
// own text colour and the keyboard focus are left as they were.
void AppendSignal(QTextEdit* panel, const std::string& text, TColor color);
