#include "PrinterForm.h"

#include <QAbstractPrintDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <cstdio>

#include "MyStringGrid.h"
#include "PrintManager.h"
#include "QtPainterSurface.h"
#include "QtText.h"
#include "Trace.h"

namespace {

// The preview images as the window names them.
constexpr const char* kImageNames[TPrintView::kPreviewPages] = {
    "apercu_image1", "Apercu_image2", "apercu_Image3", "Apercu_Image4", "Apercu_Image5",
    "Apercu_Image6", "Apercu_Image7", "Apercu_Image8", "Apercu_Image9", "Apercu_Image10"};

// A number in the general format of the desk's locale: up to 15 significant
// digits, no trailing zeros, "," before the decimals.
std::string FloatToStr(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15G", value);
  std::string text = buffer;
  for (char& c : text)
    if (c == '.') c = ',';
  return text;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const char* caption, int x, int y, int width) {
  auto* label = new QLabel(ToQString(caption), parent);
  label->setObjectName(name);
  label->setGeometry(x, y, width, 20);
  return label;
}

}  // namespace

TPreviewImage::TPreviewImage(QWidget* parent)
    : QWidget(parent), fImage(TPrintView::kPreviewWidth, TPrintView::kPreviewHeight, QImage::Format_RGB32) {
  setFixedSize(TPrintView::kPreviewWidth, TPrintView::kPreviewHeight);
  Clear();
}

void TPreviewImage::Clear() {
  fImage.fill(Qt::white);
  update();
}

void TPreviewImage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, fImage);
}

void TPreviewImage::mouseMoveEvent(QMouseEvent* event) {
  if (OnMouseMove) OnMouseMove(event->position().toPoint().x(), event->position().toPoint().y());
  QWidget::mouseMoveEvent(event);
}

TPrinter_Form::TPrinter_Form(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("Printer_Form");
  setWindowTitle(ToQString("Imprimer"));
  resize(881, 653);

  // The ten pages are taller than the window: the window scrolls.
  auto* scroll = new QScrollArea(this);
  scroll->setWidgetResizable(false);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(scroll);
  auto* content = new QWidget;
  content->setFixedSize(865, 8 + 993 + 8);
  scroll->setWidget(content);

  PageControl1 = new QTabWidget(content);
  PageControl1->setObjectName("PageControl1");
  PageControl1->setGeometry(8, 8, 697, 993);
  for (int i = 0; i < kPreviewPages; ++i) {
    auto* sheet = new QWidget;
    sheet->setObjectName(QStringLiteral("TabSheet%1").arg(i + 1));
    TabSheets[i] = sheet;
    auto* image = new TPreviewImage(sheet);
    image->setObjectName(kImageNames[i]);
    image->move(0, 0);
    ApercuImages[i] = image;
    PageControl1->addTab(sheet, QString());
  }
  ApercuImages[0]->setMouseTracking(true);
  ApercuImages[0]->OnMouseMove = [this](int x, int y) { apercu_image1MouseMove(x, y); };

  Label7 = MakeLabel(content, "Label7", "Pixels X", 716, 30, 90);
  Label1 = MakeLabel(content, "Label1", "", 806, 30, 56);
  Label8 = MakeLabel(content, "Label8", "Pixels Y", 716, 54, 90);
  Label2 = MakeLabel(content, "Label2", "", 806, 54, 56);
  Label5 = MakeLabel(content, "Label5", "Millimetres X", 716, 86, 90);
  Label3 = MakeLabel(content, "Label3", "", 806, 86, 56);
  Label6 = MakeLabel(content, "Label6", "Millimetres Y", 716, 110, 90);
  Label4 = MakeLabel(content, "Label4", "", 806, 110, 56);

  Annuler_Bouton = new QPushButton(ToQString("&Annuler"), content);
  Annuler_Bouton->setObjectName("Annuler_Bouton");
  Annuler_Bouton->setGeometry(740, 150, 100, 28);
  QObject::connect(Annuler_Bouton, &QPushButton::clicked, this, [this] { Annuler_BoutonClick(); });

  PrintDialog1 = new QPrintDialog(&fPrinter.GetPrinter(), this);
  PrintDialog1->setObjectName("PrintDialog1");
  // The dialog would ask itself before replacing a PDF file, and the window
  // asks again through the program's dialogs (which tests answer): the
  // dialog's button only accepts, so that the question is asked once.
  for (QDialogButtonBox* buttons : PrintDialog1->findChildren<QDialogButtonBox*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (QObject::disconnect(buttons, SIGNAL(accepted()), PrintDialog1, SLOT(_q_checkFields())))
      QObject::connect(buttons, &QDialogButtonBox::accepted, PrintDialog1, &QDialog::accept);
  }

  FormCreate();
  if (TPrintManager* manager = GetPrintManager()) manager->SetView(this);
}

TPrinter_Form::~TPrinter_Form() {
  EndPreview();
  // The dialog works on the printer, which goes before the window's children.
  delete PrintDialog1;
  PrintDialog1 = nullptr;
  if (TPrintManager* manager = GetPrintManager(); manager != nullptr && manager->GetView() == this)
    manager->SetView(nullptr);
}

void TPrinter_Form::FormCreate() {
  for (int i = 0; i < kPreviewPages; ++i) PageControl1->setTabText(i, QStringLiteral("Page %1").arg(i + 1));
}

void TPrinter_Form::apercu_image1MouseMove(int x, int y) {
  const QImage& image = ApercuImages[0]->Image();
  Label1->setText(QString::number(x));
  Label2->setText(QString::number(y));
  Label3->setText(ToQString(FloatToStr(x * 210.0 / image.width())));
  Label4->setText(ToQString(FloatToStr(y * 297.0 / image.height())));
}

void TPrinter_Form::Annuler_BoutonClick() { hide(); }

bool TPrinter_Form::ExecutePrintDialog(TPrintDialogOptions& options) {
  QPrinter& printer = fPrinter.GetPrinter();
  PrintDialog1->setOption(QAbstractPrintDialog::PrintToFile, true);
  PrintDialog1->setOption(QAbstractPrintDialog::PrintPageRange, options.PageNumbersEnabled);
  PrintDialog1->setMinMax(options.MinPage, options.MaxPage);
  printer.setPrintRange(QPrinter::AllPages);
  if (options.PageNumbersEnabled) printer.setFromTo(options.FromPage, options.ToPage);
  printer.setCopyCount(options.Copies < 1 ? 1 : options.Copies);
  // A print to a PDF file is offered a name of what is printed in the "PDF"
  // folder of the working folder, rather than the last file printed.
  if (!options.PdfFileName.empty()) {
    const QString proposed = QDir::current().absoluteFilePath(QFile::decodeName(QByteArray::fromStdString(options.PdfFileName)));
    if (auto* file = PrintDialog1->findChild<QLineEdit*>("filename")) file->setText(proposed);
    if (printer.outputFormat() == QPrinter::PdfFormat) printer.setOutputFileName(proposed);
  }
  const bool accepted = RunDialog ? RunDialog(*PrintDialog1) : PrintDialog1->exec() == QDialog::Accepted;
  if (!accepted || !ConfirmOutputFile()) return false;
  options.Copies = printer.copyCount();
  options.PageRangeChosen = printer.printRange() == QPrinter::PageRange;
  if (options.PageRangeChosen) {
    options.FromPage = printer.fromPage();
    options.ToPage = printer.toPage();
  }
  return true;
}

bool TPrinter_Form::ConfirmOutputFile() {
  QPrinter& printer = fPrinter.GetPrinter();
  if (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty()) return true;
  const QFileInfo file(printer.outputFileName());
  if (file.exists()) {
    TDialogService* dialogs = GetDialogService();
    const std::string question = "Le fichier " + FromQString(file.filePath()) + " existe deja. Le remplacer ?";
    return dialogs != nullptr && dialogs->AskYesNo(question);
  }
  // The "PDF" folder offered is made at the first print into it.
  QDir().mkpath(file.absolutePath());
  return true;
}

void TPrinter_Form::ClearPreviews() {
  EndPreview();
  for (TPreviewImage* image : ApercuImages) image->Clear();
}

void TPrinter_Form::BeginPreview() {
  for (int i = 0; i < kPreviewPages; ++i) {
    if (fPreviewPainters[i]) continue;
    QImage& image = ApercuImages[i]->Image();
    fPreviewPainters[i] = std::make_unique<QPainter>(&image);
    fPreviewPainters[i]->setRenderHint(QPainter::Antialiasing, true);
    fPreviewPainters[i]->setRenderHint(QPainter::TextAntialiasing, true);
    fPreviewSurfaces[i] = std::make_unique<TQtPainterSurface>(fPreviewPainters[i].get(), image.width(), image.height());
  }
}

TDrawingSurface* TPrinter_Form::PreviewSurface(int page) {
  if (page < 1 || page > kPreviewPages) return nullptr;
  return fPreviewSurfaces[page - 1].get();
}

void TPrinter_Form::EndPreview() {
  for (int i = 0; i < kPreviewPages; ++i) {
    fPreviewSurfaces[i].reset();
    if (fPreviewPainters[i]) fPreviewPainters[i]->end();
    fPreviewPainters[i].reset();
    ApercuImages[i]->update();
  }
}

void TPrinter_Form::ShowWindow() {
  show();
  raise();
  activateWindow();
}

void TPrinter_Form::SelectFirstTab() { PageControl1->setCurrentIndex(0); }

TPrintFont TPrinter_Form::GridFont(const TMyStringGrid& grid) const {
  const auto* view = dynamic_cast<const QWidget*>(grid.GetGrid());
  const QFont font = view != nullptr ? view->font() : QWidget::font();
  TPrintFont result;
  result.Face = FromQString(font.family());
  result.Size = font.pointSize() > 0 ? font.pointSize() : 8;
  result.Style = static_cast<std::uint8_t>((font.bold() ? fsBold : 0) | (font.italic() ? fsItalic : 0) |
                                           (font.underline() ? fsUnderline : 0) | (font.strikeOut() ? fsStrikeOut : 0));
  return result;
}

int TPrinter_Form::GridRowHeight(const TMyStringGrid& grid, int) const {
  const auto* view = dynamic_cast<const QTableView*>(grid.GetGrid());
  return view != nullptr ? view->verticalHeader()->defaultSectionSize() : 24;
}
