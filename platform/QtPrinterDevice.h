#pragma once

#include <QPainter>
#include <QPrinter>

#include <memory>
#include <string>

#include "PrintSurfaces.h"

class TQtPainterSurface;

// The printer of the program: the system's printers through the toolkit (CUPS
// on a Linux desk) or a PDF file. Pages are A4 unless the print dialog says
// otherwise, addressed from the paper's corner at 300 pixels per inch.
class TQtPrinterDevice : public TPrinterDevice {
public:
  static constexpr int kResolution = 300;

  TQtPrinterDevice();
  ~TQtPrinterDevice() override;

  QPrinter& GetPrinter() { return fPrinter; }

  std::string PrinterName() const override;
  bool SelectPrinterContaining(const std::string& part) override;
  int PageWidth() const override;
  int PageHeight() const override;
  int ResolutionX() const override { return fPrinter.resolution(); }
  void SetPortrait() override;
  void SetCopies(int copies) override { fPrinter.setCopyCount(copies); }
  bool HandlesCopies() const override;
  void SetTitle(const std::string& title) override;
  bool BeginDoc() override;
  void NewPage() override;
  void EndDoc() override;
  void AbortDoc() override;
  bool Aborted() const override { return fPrinter.printerState() == QPrinter::Aborted; }
  TDrawingSurface* Canvas() override;

private:
  // The dialog or the printer's defaults may change these between documents.
  void Prepare();

  QPrinter fPrinter;
  QPainter fPainter;
  std::unique_ptr<TQtPainterSurface> fCanvas;
};
