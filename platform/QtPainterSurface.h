#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPoint>

#include <optional>
#include <string>

#include "PrintSurfaces.h"

class QPainter;

// The drawing surface of printed and previewed documents over a QPainter
// that is active on a printer or an image. The surface keeps its own font,
// colours and pen, and sets on the painter what each operation needs.
class TQtPainterSurface : public TDrawingSurface {
public:
  TQtPainterSurface(QPainter* painter, int width, int height);

  // The state of a fresh page: the document font at 10 points, black text
  // and pen, pen width 1, hollow brush.
  void Reset();
  // The face every document is drawn in (templates set only size and colour).
  static QFont DocumentFont();

  int GetWidth() const override { return fWidth; }
  int GetHeight() const override { return fHeight; }
  void SetFontSize(int points) override;
  void SetFontColor(TColor color) override;
  void SetFont(const TPrintFont& font) override;
  int TextWidth(const std::string& text) override;
  int TextHeight(const std::string& text) override;
  void TextOut(int x, int y, const std::string& text) override;
  void TextRect(const TDrawRect& clip, int x, int y, const std::string& text) override;
  void SetPenWidth(int width) override { fPenWidth = width < 0 ? 0 : width; }
  void SetPenColor(TColor color) override;
  void MoveTo(int x, int y) override { fPenPos = QPoint(x, y); }
  void LineTo(int x, int y) override;
  void SetBrushHollow() override {}
  void RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) override;
  bool StretchDrawPicture(const TDrawRect& rect, const std::string& fileName, TPictureFormat format) override;

private:
  const QFontMetrics& Metrics();
  void DrawText(int x, int y, const std::string& text);
  QPen LinePen() const;

  QPainter* fPainter;
  int fWidth, fHeight;
  QFont fFont;
  std::optional<QFontMetrics> fMetrics;
  QColor fFontColor;
  QColor fPenColor;
  int fPenWidth = 1;
  QPoint fPenPos;
};

// A Windows colour value (0x00BBGGRR, or a system colour) as a QColor.
QColor ToQColor(TColor color);
