#include "SignalPanel.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "QtPainterSurface.h"
#include "QtText.h"

void AppendSignal(QTextEdit* panel, const std::string& text, TColor color) {
  if (panel == nullptr) return;
  QTextDocument* doc = panel->document();
  QTextCursor cursor(doc);
  cursor.movePosition(QTextCursor::End);
  QTextCharFormat format;
  format.setForeground(ToQColor(color));
  const bool empty = doc->isEmpty();
  if (!empty) cursor.insertBlock();
  cursor.insertText(ToQString(text), format);
  // An empty panel holds one empty block, which the first line fills.
  for (int pass = 0; pass < 2 && doc->blockCount() > kSignalLines; ++pass) {
    QTextCursor first(doc->firstBlock());
    first.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
    first.removeSelectedText();
  }
  QTextCursor end(doc);
  end.movePosition(QTextCursor::End);
  panel->setTextCursor(end);
  panel->ensureCursorVisible();
}
