#pragma once

#include <cstdint>
#include <string>

#include "GridSurface.h"

class TMyStringGrid;

// A rectangle in device pixels; Right and Bottom are one past the last pixel.
struct TDrawRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  bool operator==(const TDrawRect&) const = default;
};

// A whole font: face, size in points and TFontStyle bits.
struct TPrintFont {
  std::string Face;
  int Size = 8;
  std::uint8_t Style = 0;
};

enum class TPictureFormat { Jpeg, Bitmap };

// Where a document page is drawn: the printer's page or a preview image.
// Coordinates are the surface's own pixels; texts are Windows-1252. The font
// face and style stay what the surface has unless SetFont changes them.
class TDrawingSurface {
public:
  TDrawingSurface() = default;
  virtual ~TDrawingSurface() = default;
  TDrawingSurface(const TDrawingSurface&) = delete;
  TDrawingSurface& operator=(const TDrawingSurface&) = delete;

  virtual int GetWidth() const = 0;
  virtual int GetHeight() const = 0;

  virtual void SetFontSize(int points) = 0;
  virtual void SetFontColor(TColor color) = 0;
  virtual void SetFont(const TPrintFont& font) = 0;
  virtual int TextWidth(const std::string& text) = 0;
  virtual int TextHeight(const std::string& text) = 0;
  // The text with its top-left corner at (x, y).
  virtual void TextOut(int x, int y, const std::string& text) = 0;
  // The same, clipped to the rectangle.
  virtual void TextRect(const TDrawRect& clip, int x, int y, const std::string& text) = 0;

  virtual void SetPenWidth(int width) = 0;
  virtual void SetPenColor(TColor color) = 0;
  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;
  virtual void SetBrushHollow() = 0;
  // An outline from (x1, y1) to (x2, y2) whose corners are quarter ellipses
  // cornerWidth wide and cornerHeight high.
  virtual void RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) = 0;
  // Loads the picture file as the format says and draws it stretched into
  // the rectangle; false (nothing drawn) when the file cannot be read as such.
  virtual bool StretchDrawPicture(const TDrawRect& rect, const std::string& fileName, TPictureFormat format) = 0;
};

// The printer as the print manager drives it.
class TPrinterDevice {
public:
  TPrinterDevice() = default;
  virtual ~TPrinterDevice() = default;
  TPrinterDevice(const TPrinterDevice&) = delete;
  TPrinterDevice& operator=(const TPrinterDevice&) = delete;

  // The printer currently selected ("" when printing to a file).
  virtual std::string PrinterName() const = 0;
  // Selects, for printing on paper, the printer whose name contains part
  // (case counts): the current one when its name does, else the first of the
  // system's printers that does. False, nothing changed, when none does.
  virtual bool SelectPrinterContaining(const std::string& part) = 0;
  // The page in device pixels, and the device's pixels per inch.
  virtual int PageWidth() const = 0;
  virtual int PageHeight() const = 0;
  virtual int ResolutionX() const = 0;

  virtual void SetPortrait() = 0;
  virtual void SetCopies(int copies) = 0;
  // True when the device repeats the document itself for several copies;
  // otherwise the print manager sends the pages once per copy.
  virtual bool HandlesCopies() const = 0;
  virtual void SetTitle(const std::string& title) = 0;

  // Starts a document; false when the printer or the file cannot be opened.
  virtual bool BeginDoc() = 0;
  virtual void NewPage() = 0;
  virtual void EndDoc() = 0;
  // Ends the document without printing anything of it.
  virtual void AbortDoc() = 0;
  // The user or the spooler cancelled the document being printed.
  virtual bool Aborted() const = 0;
  // The page being printed; nullptr outside a document.
  virtual TDrawingSurface* Canvas() = 0;
};

// What the print dialog is preset with and what the user chose in it.
struct TPrintDialogOptions {
  int MinPage = 1;
  int MaxPage = 1;
  int FromPage = 1;
  int ToPage = 1;
  int Copies = 1;
  // The page-range choice is offered.
  bool PageNumbersEnabled = false;
  // Answer: the user chose a page range (FromPage to ToPage) rather than all.
  bool PageRangeChosen = false;
  // The file proposed when the user prints to a PDF file, relative to the
  // working folder ("PDF/FA31690.pdf").
  std::string PdfFileName;
};

// The print window: the print dialog, the printer it selects and the ten
// preview pages.
class TPrintView {
public:
  static constexpr int kPreviewPages = 10;
  static constexpr int kPreviewWidth = 689;
  static constexpr int kPreviewHeight = 961;

  TPrintView() = default;
  virtual ~TPrintView() = default;
  TPrintView(const TPrintView&) = delete;
  TPrintView& operator=(const TPrintView&) = delete;

  virtual TPrinterDevice& Printer() = 0;
  // Shows the dialog preset with options; false when the user cancels,
  // otherwise the choice is written back into options.
  virtual bool ExecutePrintDialog(TPrintDialogOptions& options) = 0;

  // Preview pages: cleared to blank, then drawn between BeginPreview and
  // EndPreview through PreviewSurface (page 1 to 10, nullptr otherwise).
  virtual void ClearPreviews() = 0;
  virtual void BeginPreview() = 0;
  virtual TDrawingSurface* PreviewSurface(int page) = 0;
  virtual void EndPreview() = 0;
  virtual void ShowWindow() = 0;
  virtual void HideWindow() = 0;
  virtual void SelectFirstTab() = 0;

  // The window's pixels per inch (screen sizes are converted with it).
  virtual int PixelsPerInch() const = 0;
  // The font and row heights the grid shows on screen.
  virtual TPrintFont GridFont(const TMyStringGrid& grid) const = 0;
  virtual int GridRowHeight(const TMyStringGrid& grid, int row) const = 0;
};
