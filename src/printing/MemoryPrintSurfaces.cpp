#include "MemoryPrintSurfaces.h"

#include "FileUtils.h"

void TMemoryDrawingSurface::TextOut(int x, int y, const std::string& text) {
  TDrawOp op;
  op.Kind = TDrawOp::Text;
  op.Content = text;
  op.X = x;
  op.Y = y;
  op.Rect = TDrawRect{x, y, x + TextWidth(text), y + TextHeight(text)};
  op.FontSize = fFont.Size;
  op.Color = fColor;
  Ops.push_back(op);
}

void TMemoryDrawingSurface::TextRect(const TDrawRect& clip, int x, int y, const std::string& text) {
  TDrawOp op;
  op.Kind = TDrawOp::Text;
  op.Content = text;
  op.X = x;
  op.Y = y;
  op.Rect = clip;
  op.FontSize = fFont.Size;
  op.Color = fColor;
  Ops.push_back(op);
}

void TMemoryDrawingSurface::LineTo(int x, int y) {
  TDrawOp op;
  op.Kind = TDrawOp::Line;
  op.X = fPenX;
  op.Y = fPenY;
  op.Rect = TDrawRect{fPenX, fPenY, x, y};
  op.PenWidth = fPenWidth;
  op.Color = fPenColor;
  Ops.push_back(op);
  fPenX = x;
  fPenY = y;
}

void TMemoryDrawingSurface::RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) {
  TDrawOp op;
  op.Kind = TDrawOp::RoundRect;
  op.Rect = TDrawRect{x1, y1, x2, y2};
  op.X = cornerWidth;
  op.Y = cornerHeight;
  op.PenWidth = fPenWidth;
  op.Color = fPenColor;
  Ops.push_back(op);
}

bool TMemoryDrawingSurface::StretchDrawPicture(const TDrawRect& rect, const std::string& fileName,
                                               TPictureFormat format) {
  // Found whatever the case of its folders, as the printer's surface does.
  std::string bytes;
  const std::string existing = FindFileIgnoringCase(fileName);
  if (existing.empty() || ReadWholeFile(existing, bytes, 64 * 1024 * 1024) != TReadResult::Ok) return false;
  const bool readable = format == TPictureFormat::Jpeg ? bytes.rfind("\xFF\xD8", 0) == 0 : bytes.rfind("BM", 0) == 0;
  if (!readable) return false;
  TDrawOp op;
  op.Kind = TDrawOp::Picture;
  op.Content = fileName;
  op.Rect = rect;
  op.Format = format;
  Ops.push_back(op);
  return true;
}

std::vector<std::string> TMemoryDrawingSurface::Texts() const {
  std::vector<std::string> texts;
  for (const TDrawOp& op : Ops)
    if (op.Kind == TDrawOp::Text) texts.push_back(op.Content);
  return texts;
}

std::vector<TDrawOp> TMemoryDrawingSurface::OpsOf(TDrawOp::TKind kind) const {
  std::vector<TDrawOp> ops;
  for (const TDrawOp& op : Ops)
    if (op.Kind == kind) ops.push_back(op);
  return ops;
}

bool TMemoryPrinter::SelectPrinterContaining(const std::string& part) {
  if (!Name.empty() && Name.find(part) != std::string::npos) return true;
  for (const std::string& printer : Printers) {
    if (printer.find(part) == std::string::npos) continue;
    Name = printer;
    return true;
  }
  return false;
}

bool TMemoryPrinter::BeginDoc() {
  if (RefuseBegin) return false;
  Pages.clear();
  Pages.push_back(std::make_unique<TMemoryDrawingSurface>(fPageWidth, fPageHeight));
  DocOpen = true;
  ++Begun;
  return true;
}

void TMemoryPrinter::NewPage() {
  if (DocOpen) Pages.push_back(std::make_unique<TMemoryDrawingSurface>(fPageWidth, fPageHeight));
}

void TMemoryPrinter::EndDoc() {
  if (!DocOpen) return;
  DocOpen = false;
  ++Ended;
}

void TMemoryPrinter::AbortDoc() {
  if (!DocOpen) return;
  DocOpen = false;
  Pages.clear();
  ++Abandoned;
}

TMemoryPrintView::TMemoryPrintView(int pageWidth, int pageHeight, int resolution)
    : MemoryPrinter(pageWidth, pageHeight, resolution) {
  for (auto& page : Previews) page = std::make_unique<TMemoryDrawingSurface>(kPreviewWidth, kPreviewHeight);
}

bool TMemoryPrintView::ExecutePrintDialog(TPrintDialogOptions& options) {
  DialogsShown.push_back(options);
  return Dialog ? Dialog(options) : true;
}

void TMemoryPrintView::ClearPreviews() {
  for (auto& page : Previews) page->Clear();
}

TDrawingSurface* TMemoryPrintView::PreviewSurface(int page) {
  if (page < 1 || page > kPreviewPages) return nullptr;
  return Previews[page - 1].get();
}
