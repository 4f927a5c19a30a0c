// The canvas of a grid surface (colours, fonts, text measuring and drawing)
// and the painting of its cells, title row and row numbers through OnDrawCell.

#include "QtGridSurface.h"

#include <QPainter>

#include <algorithm>

#include "QtGridFontMetrics.h"
#include "QtGridHeader.h"
#include "QtGridModel.h"
#include "QtText.h"

QColor TQtGridSurface::ToQColor(TColor color) const {
  if ((color & 0x80000000u) != 0) {
    switch (color & 0xFF) {
      case 0x05: return palette().color(QPalette::Base);
      case 0x08: return palette().color(QPalette::Text);
      case 0x0D: return palette().color(QPalette::Highlight);
      case 0x0E: return palette().color(QPalette::HighlightedText);
      case 0x0F: return palette().color(QPalette::Button);
      case 0x12: return palette().color(QPalette::ButtonText);
      default: return palette().color(QPalette::Window);
    }
  }
  return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

QFont TQtGridSurface::QtFontFor(const TGridFont& f) const {
  QFont q = font();
  q.setPointSize(std::max(1, f.Size));
  q.setBold((f.Style & fsBold) != 0);
  q.setItalic((f.Style & fsItalic) != 0);
  q.setUnderline((f.Style & fsUnderline) != 0);
  q.setStrikeOut((f.Style & fsStrikeOut) != 0);
  return q;
}

TQtFontMetrics& TQtGridSurface::MetricsFor(const TGridFont& f) {
  if (fLastMetrics != nullptr && fLastFont == f) return *fLastMetrics;
  const QFont q = QtFontFor(f);
  fLastFont = f;
  fLastMetrics = &TQtFontMetrics::Shared(q);
  return *fLastMetrics;
}

int TQtGridSurface::TextWidth(const std::string& text) { return MetricsFor(fCanvasFont).Width(text); }

int TQtGridSurface::WidestText(int col) {
  TQtFontMetrics& metrics = MetricsFor(fCanvasFont);
  int widest = 0;
  fTexts.VisitColumn(col, 0, [&](int, const std::string& text) { widest = std::max(widest, metrics.Width(text)); });
  return widest;
}

int TQtGridSurface::TextHeight(const std::string&) { return MetricsFor(fCanvasFont).Height(); }

void TQtGridSurface::SetBrushColor(TColor color) { fBrush = ToQColor(color); }

void TQtGridSurface::FillRect(const TGridRect& r) {
  if (fPainter != nullptr) fPainter->fillRect(QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top), fBrush);
}

void TQtGridSurface::SetFont(const TGridFont& f) {
  fCanvasFont = f;
  if (fPainter != nullptr) {
    fPainter->setFont(MetricsFor(f).Font());
    fPainter->setPen(ToQColor(f.Color));
  }
}

void TQtGridSurface::TextRect(const TGridRect& r, int x, int y, const std::string& text) {
  if (fPainter == nullptr) return;
  fPainter->save();
  fPainter->setClipRect(QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top), Qt::IntersectClip);
  const QFontMetrics fm(fPainter->font());
  fPainter->drawText(x, y + fm.ascent(), ToQDrawnString(text));
  fPainter->restore();
}

void TQtGridSurface::DefaultPaint(int col, int row, const TGridRect& rect, bool fixed) {
  SetBrushColor(fixed ? clBtnFace : 0xFFFFFF);
  FillRect(rect);
  SetFont(TGridFont{});
  const std::string& text = GetCells(col, row);
  TextRect(rect, (rect.Left + rect.Right - TextWidth(text)) / 2, (rect.Top + rect.Bottom - TextHeight(text)) / 2, text);
}

void TQtGridSurface::PaintCell(QPainter* painter, int col, int row, const QRect& rect) {
  TGridDrawState state;
  state.Fixed = col < fFixedCols || row < fFixedRows;
  state.Focused = hasFocus() && col == fCol && row == fRow;
  state.Selected = !state.Fixed && row == fRow && (fRowSelect || col == fCol);
  const TGridRect r{rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1};
  QPainter* previous = fPainter;
  const TGridFont previousFont = fCanvasFont;
  fPainter = painter;
  painter->save();
  if (Events.OnDrawCell) {
    Events.OnDrawCell(col, row, r, state);
  } else {
    DefaultPaint(col, row, r, state.Fixed);
  }
  painter->restore();
  if (state.Fixed) {
    // The raised edge of a fixed cell, as a classic string grid draws it.
    painter->save();
    painter->setPen(palette().color(QPalette::Light));
    painter->drawLine(rect.topLeft(), rect.topRight());
    painter->drawLine(rect.topLeft(), rect.bottomLeft());
    painter->setPen(palette().color(QPalette::Dark));
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->restore();
  }
  fPainter = previous;
  fCanvasFont = previousFont;
}

QRect TQtGridSurface::CellRectInWidget(int col, int row) const {
  if (col < 0 || row < 0 || col >= fColCount || row >= fRowCount) return QRect();
  if (row < fFixedRows && col < fFixedCols) {
    return QRect(frameWidth(), frameWidth(), fNumbers->width(), fTitles->height());
  }
  if (row < fFixedRows) {
    const int section = col - fFixedCols;
    const QPoint origin = fTitles->viewport()->mapTo(this, QPoint(0, 0));
    return QRect(origin.x() + fTitles->sectionViewportPosition(section), origin.y(), fTitles->sectionSize(section),
                 fTitles->height());
  }
  if (col < fFixedCols) {
    const int section = row - fFixedRows;
    const QPoint origin = fNumbers->viewport()->mapTo(this, QPoint(0, 0));
    return QRect(origin.x(), origin.y() + fNumbers->sectionViewportPosition(section), fNumbers->width(),
                 fNumbers->sectionSize(section));
  }
  const QRect inViewport = visualRect(fModel->index(row - fFixedRows, col - fFixedCols));
  return inViewport.translated(viewport()->mapTo(this, QPoint(0, 0)));
}
