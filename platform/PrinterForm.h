#pragma once

#include <QImage>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "PrintSurfaces.h"
#include "QtPrinterDevice.h"

class QLabel;
class QPainter;
class QPrintDialog;
class QPushButton;
class QTabWidget;
class TQtPainterSurface;

// One preview page: an image of 689 x 961 pixels, white until a preview
// draws on it.
class TPreviewImage : public QWidget {
public:
  explicit TPreviewImage(QWidget* parent);
  QImage& Image() { return fImage; }
  void Clear();
  // Called with the pointer's position over the image.
  std::function<void(int x, int y)> OnMouseMove;

protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

private:
  QImage fImage;
};

// The print window "Imprimer": ten preview pages, the pointer read-outs in
// pixels and millimetres, "Annuler", and the print dialog with the printer
// it selects. Created hidden at start; a preview shows it. It is the view of
// the process-wide print manager from its creation to its destruction.
class TPrinter_Form : public QWidget, public TPrintView {
public:
  explicit TPrinter_Form(QWidget* parent = nullptr);
  ~TPrinter_Form() override;

  void FormCreate();
  void apercu_image1MouseMove(int x, int y);
  void Annuler_BoutonClick();

  // TPrintView.
  TPrinterDevice& Printer() override { return fPrinter; }
  bool ExecutePrintDialog(TPrintDialogOptions& options) override;
  void ClearPreviews() override;
  void BeginPreview() override;
  TDrawingSurface* PreviewSurface(int page) override;
  void EndPreview() override;
  void ShowWindow() override;
  void HideWindow() override { hide(); }
  void SelectFirstTab() override;
  int PixelsPerInch() const override { return 96; }
  TPrintFont GridFont(const TMyStringGrid& grid) const override;
  int GridRowHeight(const TMyStringGrid& grid, int row) const override;

  QPrinter& GetQPrinter() { return fPrinter.GetPrinter(); }
  // Runs the dialog; true when accepted. Tests answer it instead of a user.
  std::function<bool(QPrintDialog& dialog)> RunDialog;

  QTabWidget* PageControl1;
  std::array<QWidget*, kPreviewPages> TabSheets{};
  std::array<TPreviewImage*, kPreviewPages> ApercuImages{};
  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;
  QLabel* Label4;
  QLabel* Label5;
  QLabel* Label6;
  QLabel* Label7;
  QLabel* Label8;
  QPushButton* Annuler_Bouton;
  QPrintDialog* PrintDialog1;

private:
  // After the dialog: true unless the output is a PDF file that exists and
  // the user does not want it replaced.
  bool ConfirmOutputFile();

  TQtPrinterDevice fPrinter;
  std::array<std::unique_ptr<QPainter>, kPreviewPages> fPreviewPainters;
  std::array<std::unique_ptr<TQtPainterSurface>, kPreviewPages> fPreviewSurfaces;
};
