#include "SignalPanel.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

#include "QtPainterSurface.h"
#include "QtText.h"

void AppendSignal(QTextEdit* panel, const std::string& text, TColor color) { AppendSignals(panel, {{text, color}}); }

void AppendSignals(QTextEdit* panel, const std::vector<TSignalLine>& lines) {
  if (panel == nullptr || lines.empty()) return;
  QTextDocument* doc = panel->document();
  // A read-only panel has nothing to undo: a history would only grow with
  // every line written.
  if (doc->isUndoRedoEnabled()) doc->setUndoRedoEnabled(false);
  // Lines beyond the last kSignalLines would be dropped as soon as written.
  const std::size_t kept = kSignalLines;
  const std::size_t first = lines.size() > kept ? lines.size() - kept : 0;
  QTextCursor cursor(doc);
  cursor.beginEditBlock();
  cursor.movePosition(QTextCursor::End);
  // An empty panel holds one empty block, which the first line fills.
  bool empty = doc->isEmpty();
  for (std::size_t i = first; i < lines.size(); ++i) {
    QTextCharFormat format;
    format.setForeground(ToQColor(lines[i].Color));
    if (!empty) cursor.insertBlock();
    empty = false;
    cursor.insertText(ToQString(lines[i].Text), format);
  }
  const int excess = doc->blockCount() - kSignalLines;
  if (excess > 0) {
    QTextCursor oldest(doc);
    oldest.movePosition(QTextCursor::Start);
    oldest.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, excess);
    oldest.removeSelectedText();
  }
  cursor.endEditBlock();
  QTextCursor end(doc);
  end.movePosition(QTextCursor::End);
  panel->setTextCursor(end);
  panel->ensureCursorVisible();
}

TSignalQueue::TSignalQueue(QTextEdit* panel) : fPanel(panel) {}

void TSignalQueue::Add(const std::vector<TSignalLine>& lines) {
  fWaiting.insert(fWaiting.end(), lines.begin(), lines.end());
  const std::size_t kept = kSignalLines;
  if (fWaiting.size() > kept) fWaiting.erase(fWaiting.begin(), fWaiting.end() - static_cast<std::ptrdiff_t>(kept));
  if (fQueued || fWaiting.empty()) return;
  fQueued = true;
  QTimer::singleShot(0, &fContext, [this] { Flush(); });
}

void TSignalQueue::Flush() {
  fQueued = false;
  std::vector<TSignalLine> lines;
  lines.swap(fWaiting);
  AppendSignals(fPanel.data(), lines);
}
