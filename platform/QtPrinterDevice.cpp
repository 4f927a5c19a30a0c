#include "QtPrinterDevice.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinterInfo>

#include "QtPainterSurface.h"
#include "QtText.h"

TQtPrinterDevice::TQtPrinterDevice() : fPrinter(QPrinter::HighResolution) {
  fPrinter.setPageSize(QPageSize(QPageSize::A4));
  Prepare();
}

TQtPrinterDevice::~TQtPrinterDevice() {
  if (fPainter.isActive()) AbortDoc();
}

void TQtPrinterDevice::Prepare() {
  // Templates place everything from the paper's corner; their margins keep
  // the texts inside what printers can reach.
  fPrinter.setFullPage(true);
  fPrinter.setResolution(kResolution);
}

std::string TQtPrinterDevice::PrinterName() const {
  if (fPrinter.outputFormat() == QPrinter::PdfFormat) return "";
  return FromQString(fPrinter.printerName());
}

bool TQtPrinterDevice::SelectPrinterContaining(const std::string& part) {
  const QString wanted = ToQString(part);
  QString chosen;
  if (fPrinter.outputFormat() == QPrinter::NativeFormat && fPrinter.printerName().contains(wanted)) {
    chosen = fPrinter.printerName();
  } else {
    // After a print to a file the printer is still set to write PDF: the
    // letterhead printer is chosen again by its name.
    for (const QString& name : QPrinterInfo::availablePrinterNames()) {
      if (!name.contains(wanted)) continue;
      chosen = name;
      break;
    }
  }
  if (chosen.isEmpty()) return false;
  fPrinter.setOutputFileName(QString());
  fPrinter.setOutputFormat(QPrinter::NativeFormat);
  fPrinter.setPrinterName(chosen);
  return fPrinter.outputFormat() == QPrinter::NativeFormat && fPrinter.printerName() == chosen;
}

int TQtPrinterDevice::PageWidth() const {
  return fPrinter.pageLayout().fullRectPixels(fPrinter.resolution()).width();
}

int TQtPrinterDevice::PageHeight() const {
  return fPrinter.pageLayout().fullRectPixels(fPrinter.resolution()).height();
}

void TQtPrinterDevice::SetPortrait() { fPrinter.setPageOrientation(QPageLayout::Portrait); }

bool TQtPrinterDevice::HandlesCopies() const {
  // A PDF file holds one copy; printers repeat the document themselves.
  return fPrinter.outputFormat() != QPrinter::PdfFormat && fPrinter.supportsMultipleCopies();
}

void TQtPrinterDevice::SetTitle(const std::string& title) { fPrinter.setDocName(ToQString(title)); }

bool TQtPrinterDevice::BeginDoc() {
  if (fPainter.isActive()) return false;
  Prepare();
  if (!fPainter.begin(&fPrinter)) return false;
  fPainter.setRenderHint(QPainter::Antialiasing, true);
  fPainter.setRenderHint(QPainter::TextAntialiasing, true);
  fCanvas = std::make_unique<TQtPainterSurface>(&fPainter, PageWidth(), PageHeight());
  return true;
}

void TQtPrinterDevice::NewPage() {
  if (fPainter.isActive()) fPrinter.newPage();
}

void TQtPrinterDevice::EndDoc() {
  fCanvas.reset();
  if (fPainter.isActive()) fPainter.end();
}

void TQtPrinterDevice::AbortDoc() {
  fCanvas.reset();
  if (!fPainter.isActive()) return;
  fPrinter.abort();
  fPainter.end();
  // A PDF engine cannot take back what it wrote: the half-written file goes.
  if (fPrinter.outputFormat() == QPrinter::PdfFormat && !fPrinter.outputFileName().isEmpty())
    QFile::remove(fPrinter.outputFileName());
}

TDrawingSurface* TQtPrinterDevice::Canvas() { return fCanvas.get(); }
