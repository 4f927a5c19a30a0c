#include "QtPainterSurface.h"

#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPen>

#include <algorithm>

#include "ColorNames.h"
#include "FileUtils.h"
#include "QtText.h"

namespace {

// A template may ask for any size; beyond these bounds the text would not be
// readable, or would not fit any page.
constexpr int kMinPoints = 1;
constexpr int kMaxPoints = 500;

}  // namespace

QColor ToQColor(TColor color) {
  const TColor rgb = ColorToRGB(color);
  return QColor(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF), static_cast<int>((rgb >> 16) & 0xFF));
}

QFont TQtPainterSurface::DocumentFont() {
  QFont font;
  // The usual office face, or the metric-compatible faces of a Linux desk.
  font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(10);
  return font;
}

TQtPainterSurface::TQtPainterSurface(QPainter* painter, int width, int height)
    : fPainter(painter), fWidth(width), fHeight(height) {
  Reset();
}

void TQtPainterSurface::Reset() {
  fFont = DocumentFont();
  fMetrics.reset();
  fFontColor = Qt::black;
  fPenColor = Qt::black;
  fPenWidth = 1;
  fPenPos = QPoint();
}

const QFontMetrics& TQtPainterSurface::Metrics() {
  if (!fMetrics) fMetrics.emplace(fFont, fPainter->device());
  return *fMetrics;
}

void TQtPainterSurface::SetFontSize(int points) {
  points = std::clamp(points, kMinPoints, kMaxPoints);
  if (fFont.pointSize() == points) return;
  fFont.setPointSize(points);
  fMetrics.reset();
}

void TQtPainterSurface::SetFontColor(TColor color) { fFontColor = ToQColor(color); }

void TQtPainterSurface::SetPenColor(TColor color) { fPenColor = ToQColor(color); }

void TQtPainterSurface::SetFont(const TPrintFont& font) {
  QFont f = DocumentFont();
  if (!font.Face.empty()) f.setFamilies({ToQString(font.Face)});
  f.setPointSize(std::clamp(font.Size, kMinPoints, kMaxPoints));
  f.setBold((font.Style & fsBold) != 0);
  f.setItalic((font.Style & fsItalic) != 0);
  f.setUnderline((font.Style & fsUnderline) != 0);
  f.setStrikeOut((font.Style & fsStrikeOut) != 0);
  fFont = f;
  fMetrics.reset();
}

int TQtPainterSurface::TextWidth(const std::string& text) { return Metrics().horizontalAdvance(ToQDrawnString(text)); }

int TQtPainterSurface::TextHeight(const std::string&) { return Metrics().height(); }

void TQtPainterSurface::DrawText(int x, int y, const std::string& text) {
  fPainter->setFont(fFont);
  fPainter->setPen(fFontColor);
  // Positions name the top-left corner of the text, Qt draws on the baseline.
  fPainter->drawText(x, y + Metrics().ascent(), ToQDrawnString(text));
}

void TQtPainterSurface::TextOut(int x, int y, const std::string& text) {
  if (text.empty()) return;
  DrawText(x, y, text);
}

void TQtPainterSurface::TextRect(const TDrawRect& clip, int x, int y, const std::string& text) {
  if (text.empty() || clip.Right <= clip.Left || clip.Bottom <= clip.Top) return;
  fPainter->save();
  fPainter->setClipRect(QRect(clip.Left, clip.Top, clip.Right - clip.Left, clip.Bottom - clip.Top));
  DrawText(x, y, text);
  fPainter->restore();
}

QPen TQtPainterSurface::LinePen() const {
  QPen pen(fPenColor);
  pen.setWidth(fPenWidth);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

void TQtPainterSurface::LineTo(int x, int y) {
  fPainter->setPen(LinePen());
  fPainter->drawLine(fPenPos, QPoint(x, y));
  fPenPos = QPoint(x, y);
}

void TQtPainterSurface::RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) {
  fPainter->setPen(LinePen());
  fPainter->setBrush(Qt::NoBrush);
  fPainter->drawRoundedRect(QRectF(x1, y1, x2 - x1, y2 - y1), cornerWidth / 2.0, cornerHeight / 2.0);
}

bool TQtPainterSurface::StretchDrawPicture(const TDrawRect& rect, const std::string& fileName,
                                           TPictureFormat format) {
  // The format is the one the file name asked for, never guessed from the
  // bytes: a JPEG named as a bitmap is not read.
  // The templates name the barcode folder in lower case ("./data/"): the
  // file is found whatever the case of its folders.
  const std::string existing = FindFileIgnoringCase(fileName);
  if (existing.empty()) return false;
  const QString path = ToQString(existing);
  QImageReader reader(path, format == TPictureFormat::Jpeg ? "jpeg" : "bmp");
  reader.setAutoDetectImageFormat(false);
  QImage image;
  if (!reader.read(&image) || image.isNull()) return false;
  fPainter->save();
  fPainter->setRenderHint(QPainter::SmoothPixmapTransform, true);
  fPainter->drawImage(QRect(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top), image);
  fPainter->restore();
  return true;
}
