#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "PrintSurfaces.h"

// Drawing, printing and previewing in memory: what the tests, the benchmarks
// and the fuzz targets lay documents out on. Nothing is drawn; every
// operation is recorded.

// One recorded drawing operation.
struct TDrawOp {
  enum TKind { Text, Line, RoundRect, Picture };
  TKind Kind = Text;
  std::string Content;  // the text, or the picture's file name
  int X = 0, Y = 0;     // text position, line start, corner sizes of a rounded rectangle
  TDrawRect Rect;       // clip of a text, box of a picture or rounded rectangle; line end in Right, Bottom
  int FontSize = 0;
  TColor Color = 0;
  int PenWidth = 0;
  TPictureFormat Format = TPictureFormat::Bitmap;
};

// Text metrics are simple and exact: a character is as wide as the font
// size in points, a line twice as high. A picture is readable when its file
// starts like the format asked for ("BM" for a bitmap, FF D8 for a JPEG).
class TMemoryDrawingSurface : public TDrawingSurface {
public:
  TMemoryDrawingSurface(int width, int height) : fWidth(width), fHeight(height) {}

  int GetWidth() const override { return fWidth; }
  int GetHeight() const override { return fHeight; }
  void SetFontSize(int points) override { fFont.Size = points; }
  void SetFontColor(TColor color) override { fColor = color; }
  void SetFont(const TPrintFont& font) override { fFont = font; }
  int TextWidth(const std::string& text) override { return static_cast<int>(text.size()) * fFont.Size; }
  int TextHeight(const std::string&) override { return 2 * fFont.Size; }
  void TextOut(int x, int y, const std::string& text) override;
  void TextRect(const TDrawRect& clip, int x, int y, const std::string& text) override;
  void SetPenWidth(int width) override { fPenWidth = width; }
  void SetPenColor(TColor color) override { fPenColor = color; }
  void MoveTo(int x, int y) override {
    fPenX = x;
    fPenY = y;
  }
  void LineTo(int x, int y) override;
  void SetBrushHollow() override { fHollow = true; }
  void RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) override;
  bool StretchDrawPicture(const TDrawRect& rect, const std::string& fileName, TPictureFormat format) override;

  void Clear() { Ops.clear(); }
  // The texts drawn, in order.
  std::vector<std::string> Texts() const;
  // The operations of one kind, in order.
  std::vector<TDrawOp> OpsOf(TDrawOp::TKind kind) const;
  const TPrintFont& Font() const { return fFont; }

  std::vector<TDrawOp> Ops;

private:
  int fWidth, fHeight;
  TPrintFont fFont{"", 10, 0};
  TColor fColor = 0;
  TColor fPenColor = 0;
  int fPenWidth = 1;
  int fPenX = 0, fPenY = 0;
  bool fHollow = false;
};

// A printer that keeps every page of the last document.
class TMemoryPrinter : public TPrinterDevice {
public:
  TMemoryPrinter(int pageWidth, int pageHeight, int resolution)
      : Resolution(resolution), fPageWidth(pageWidth), fPageHeight(pageHeight) {}

  std::string PrinterName() const override { return Name; }
  bool SelectPrinterContaining(const std::string& part) override;
  int PageWidth() const override { return fPageWidth; }
  int PageHeight() const override { return fPageHeight; }
  int ResolutionX() const override { return Resolution; }
  void SetPortrait() override { Portrait = true; }
  void SetCopies(int copies) override { Copies = copies; }
  bool HandlesCopies() const override { return DeviceCopies; }
  void SetTitle(const std::string& title) override { Title = title; }
  bool BeginDoc() override;
  void NewPage() override;
  void EndDoc() override;
  void AbortDoc() override;
  bool Aborted() const override { return AbortAfterPages >= 0 && static_cast<int>(Pages.size()) >= AbortAfterPages; }
  TDrawingSurface* Canvas() override { return DocOpen && !Pages.empty() ? Pages.back().get() : nullptr; }

  int Resolution;
  // The printer selected ("" after a print to a file) and the system's
  // printers.
  std::string Name = "Imprimante";
  std::vector<std::string> Printers;
  bool Portrait = false;
  int Copies = 0;
  bool DeviceCopies = true;
  std::string Title;
  // Failures to play: BeginDoc refused; the spooler cancels the document
  // once it holds this many pages (-1: never).
  bool RefuseBegin = false;
  int AbortAfterPages = -1;

  bool DocOpen = false;
  int Begun = 0, Ended = 0, Abandoned = 0;
  // The pages of the last document, in order.
  std::vector<std::unique_ptr<TMemoryDrawingSurface>> Pages;

private:
  int fPageWidth, fPageHeight;
};

// The print window in memory: a printer, ten preview pages of 689 x 961 and
// a print dialog whose answer the test chooses.
class TMemoryPrintView : public TPrintView {
public:
  TMemoryPrintView(int pageWidth, int pageHeight, int resolution = 300);

  TPrinterDevice& Printer() override { return MemoryPrinter; }
  bool ExecutePrintDialog(TPrintDialogOptions& options) override;
  void ClearPreviews() override;
  void BeginPreview() override { ++PreviewsBegun; }
  TDrawingSurface* PreviewSurface(int page) override;
  void EndPreview() override { ++PreviewsEnded; }
  void ShowWindow() override { Visible = true; }
  void HideWindow() override { Visible = false; }
  void SelectFirstTab() override { CurrentTab = 0; }
  int PixelsPerInch() const override { return 96; }
  TPrintFont GridFont(const TMyStringGrid&) const override { return TPrintFont{"MS Sans Serif", 8, 0}; }
  int GridRowHeight(const TMyStringGrid&, int) const override { return RowHeight; }

  TMemoryPrinter MemoryPrinter;
  std::array<std::unique_ptr<TMemoryDrawingSurface>, kPreviewPages> Previews;
  // The dialog: given the preset options, returns false to cancel or
  // changes them as the user would. Unset, it accepts as preset.
  std::function<bool(TPrintDialogOptions&)> Dialog;
  std::vector<TPrintDialogOptions> DialogsShown;
  bool Visible = false;
  int CurrentTab = -1;
  int PreviewsBegun = 0, PreviewsEnded = 0;
  int RowHeight = 24;
};
