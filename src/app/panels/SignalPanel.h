#pragma once

#include <QObject>
#include <QPointer>

#include <string>
#include <vector>

#include "GridSurface.h"
#include "StatsReplies.h"

class QTextEdit;

// The piece editor's message panel keeps the last lines only.
inline constexpr int kSignalLines = 100;

// Appends one line in the colour to a read-only text panel, drops the oldest
// lines beyond kSignalLines and scrolls the new line into view. The panel's
// own text colour and the keyboard focus are left as they were.
void AppendSignal(QTextEdit* panel, const std::string& text, TColor color);
// The same for several lines in one edit of the panel: one change of its
// text, one scroll, whatever the number of lines.
void AppendSignals(QTextEdit* panel, const std::vector<TSignalLine>& lines);

// Lines that arrive in bursts (the replies of a statistics server that
// floods) written to a panel at most once per pass of the event loop: lines
// given while a write waits join it, and only the last kSignalLines of them
// are kept, as the panel would keep them.
class TSignalQueue {
public:
  explicit TSignalQueue(QTextEdit* panel);
  void Add(const std::vector<TSignalLine>& lines);
  // Writes what waits now.
  void Flush();

private:
  QPointer<QTextEdit> fPanel;
  std::vector<TSignalLine> fWaiting;
  bool fQueued = false;
  // The write waiting for the next pass goes with this object.
  QObject fContext;
};
