// Text measuring for the grids, cached per font.

#include "QtGridFontMetrics.h"

#include <QFontMetrics>
#include <QFontMetricsF>

#include <memory>

#include "QtText.h"

TQtFontMetrics& TQtFontMetrics::Shared(const QFont& font) {
  static std::unordered_map<std::string, std::unique_ptr<TQtFontMetrics>> metrics;
  const std::string key = font.key().toStdString();
  auto it = metrics.find(key);
  if (it == metrics.end()) it = metrics.emplace(key, std::make_unique<TQtFontMetrics>(font)).first;
  return *it->second;
}

TQtFontMetrics::TQtFontMetrics(const QFont& font) : fFont(font) {
  const QFontMetrics fm(fFont);
  const QFontMetricsF fmf(fFont);
  fHeight = fm.height();
  for (int c = 0x20; c < 0x7F; ++c)
    fAdvance64[static_cast<std::size_t>(c)] = qRound64(fmf.horizontalAdvance(QChar(c)) * 64.0);
  fAdditive = true;
  for (int a = 0x20; a < 0x7F && fAdditive; ++a) {
    for (int b = 0x20; b < 0x7F; ++b) {
      const QString pair = QString(QChar(a)) + QChar(b);
      if (fm.horizontalAdvance(pair) !=
          Round(fAdvance64[static_cast<std::size_t>(a)] + fAdvance64[static_cast<std::size_t>(b)])) {
        fAdditive = false;
        break;
      }
    }
  }
}

int TQtFontMetrics::Width(const std::string& whole) {
  // A value is measured as it is drawn: its first characters only.
  const std::string_view text = DrawnPart(whole);
  if (fAdditive) {
    std::int64_t w = 0;
    bool printable = true;
    for (unsigned char c : text) {
      if (c < 0x20 || c >= 0x7F) {
        printable = false;
        break;
      }
      w += fAdvance64[c];
    }
    if (printable) return Round(w);
  }
  const std::string key(text);
  auto it = fWidths.find(key);
  if (it != fWidths.end()) return it->second;
  const int w = QFontMetrics(fFont).horizontalAdvance(ToQString(key));
  fWidths.emplace(key, w);
  return w;
}
