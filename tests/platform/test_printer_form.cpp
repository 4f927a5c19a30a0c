// The print window and the Qt printer: what a preview shows, the read-outs,
// "Annuler", and documents printed to PDF files through the dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <cstdlib>
#include <string>

#include "FileUtils.h"
#include "ListOfPairOfStrings.h"
#include "PrintManager.h"
#include "PrinterForm.h"
#include "QtText.h"
#include "TestSupport.h"
#include "Trace.h"

void QuorixTestInit(int& argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
}

namespace {

// An A4 template in tenths of millimetres: a framed title, a logo, a table
// of rows 6 mm apart (35 rows on a page without footer, 30 with it) and a
// footer with the page number.
const char* kModele = R"([GeneralData]
PageSizeX = 2100
PageSizeY = 2970
CorpsAvecPiedDePagey2 = 2400
CorpsSansPiedDePagey2 = 2700
[Corps1]
type = MultiData
DataCode = .Designation
x1 = 200
x2 = 1500
y1 = 600
y2 = 660
variationX = 0
variationY = 60
alignement = left
[Corps2]
type = Line
x1 = 150
x2 = 150
y1 = 580
[Entete1]
type = Text
Text = FACTURE
fontSize = 24
color = clNavy
x1 = 800
x2 = 2000
y1 = 150
y2 = 300
[Entete2]
type = RoundRect
x1 = 800
x2 = 2000
y1 = 150
y2 = 300
x3 = 60
y3 = 60
[Entete3]
type = Data
DataCode = Page
x1 = 1600
x2 = 2000
y1 = 2800
y2 = 2880
[Logo1]
type = Image
filename = LogoEnteteFilename
x1 = 150
x2 = 650
y1 = 100
y2 = 400
[PiedPage1]
type = Text
Text = Total TTC : 1 234,56
x1 = 1200
x2 = 2000
y1 = 2500
y2 = 2580
)";

struct TFormFixture {
  TFormFixture() : Cwd(Dir.Path()) {
    Form = std::make_unique<TPrinter_Form>();
    WriteFileBytes("Modele.ini", kModele);
    QImage logo(60, 40, QImage::Format_RGB32);
    logo.fill(QColor(0, 128, 0));
    logo.save("Logo.bmp", "BMP");
    logo.save("Logo.jpg", "JPEG");
    logo.save("Logo.JPG", "JPEG");
    Datas.put("LogoEnteteFilename", "Logo.bmp");
  }
  ~TFormFixture() { Datas.ClearAndFreeEachObject(); }
  void Rows(int n) {
    for (int i = 1; i <= n; ++i) Datas.put(IntToStr(i) + ".Designation", "BÉPANTHÈNE POMMADE " + IntToStr(i));
  }
  // Prints to a PDF file through the dialog, answered as the user would.
  std::string PrintToPdf(int from = 0, int to = 0) {
    const std::string pdf = Dir.File("out.pdf");
    Form->RunDialog = [&](QPrintDialog& dialog) {
      dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
      dialog.printer()->setOutputFileName(QString::fromStdString(pdf));
      if (from > 0) {
        dialog.printer()->setPrintRange(QPrinter::PageRange);
        dialog.printer()->setFromTo(from, to);
      }
      return true;
    };
    Manager.PrintDoc("Modele.ini", &Datas, false);
    return pdf;
  }
  bool Boxed(const std::string& text) const {
    for (const std::string& box : Capture.Boxes())
      if (box.find(text) != std::string::npos) return true;
    return false;
  }

  TTempDir Dir;
  TScopedCwd Cwd;
  TTraceCapture Capture;
  TPrintManager Manager;
  std::unique_ptr<TPrinter_Form> Form;
  TListOfPairOfStrings Datas;
};

int NonWhitePixels(const QImage& image, const QRect& area) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (image.pixel(x, y) != qRgb(255, 255, 255)) ++n;
  return n;
}

TEST(PrinterForm, WindowControlsAndTheirNames) {
  TFormFixture f;
  TPrinter_Form& form = *f.Form;
  EXPECT_EQ(form.windowTitle(), "Imprimer");
  EXPECT_EQ(f.Manager.GetView(), &form);
  EXPECT_FALSE(form.isVisible());
  auto* pages = form.findChild<QTabWidget*>("PageControl1");
  ASSERT_NE(pages, nullptr);
  ASSERT_EQ(pages->count(), 10);
  EXPECT_EQ(pages->tabText(9), "Page 10");
  for (const char* name : {"apercu_image1", "Apercu_image2", "apercu_Image3", "Apercu_Image4", "Apercu_Image10"}) {
    auto* image = form.findChild<TPreviewImage*>(name);
    ASSERT_NE(image, nullptr) << name;
    EXPECT_EQ(image->size(), QSize(689, 961)) << name;
  }
  EXPECT_EQ(form.findChild<QLabel*>("Label7")->text(), "Pixels X");
  EXPECT_EQ(form.findChild<QLabel*>("Label5")->text(), "Millimetres X");
  ASSERT_NE(form.findChild<QPrintDialog*>("PrintDialog1"), nullptr);
  auto* cancel = form.findChild<QPushButton*>("Annuler_Bouton");
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(cancel->text(), "&Annuler");

  form.show();
  QTest::mouseClick(cancel, Qt::LeftButton);
  EXPECT_FALSE(form.isVisible());
}

TEST(PrinterForm, ReadOutsGivePixelsAndMillimetresOfAnA4Sheet) {
  TFormFixture f;
  f.Form->apercu_image1MouseMove(689, 100);
  EXPECT_EQ(f.Form->Label1->text(), "689");
  EXPECT_EQ(f.Form->Label2->text(), "100");
  EXPECT_EQ(f.Form->Label3->text(), "210");
  EXPECT_EQ(f.Form->Label4->text(), "30,9053069719043");
}

TEST(PrinterForm, PreviewDrawsThePagesAndShowsTheWindow) {
  TFormFixture f;
  f.Rows(40);  // 35 rows on page 1, 5 and the footer on page 2
  f.Manager.PrintDoc("Modele.ini", &f.Datas, true);
  EXPECT_TRUE(f.Form->isVisible());
  EXPECT_TRUE(f.Capture.Boxes().empty()) << f.Capture.Boxes().front();
  const QImage& page1 = f.Form->ApercuImages[0]->Image();
  const QImage& page2 = f.Form->ApercuImages[1]->Image();
  // The logo is green, the title frame and the rows are drawn.
  EXPECT_EQ(QColor(page1.pixel(80, 50)), QColor(0, 128, 0));
  EXPECT_GT(NonWhitePixels(page1, QRect(70, 200, 300, 500)), 1000);
  // The footer (total) only on the last page, around y 2540 / 2970 x 961.
  EXPECT_EQ(NonWhitePixels(page1, QRect(400, 810, 250, 25)), 0);
  EXPECT_GT(NonWhitePixels(page2, QRect(400, 810, 250, 25)), 50);
  EXPECT_EQ(NonWhitePixels(f.Form->ApercuImages[2]->Image(), QRect(0, 0, 689, 961)), 0);
  EXPECT_EQ(f.Form->PageControl1->currentIndex(), 0);
}

TEST(PrinterForm, PrintsToAPdfFileWithTheRangeChosen) {
  struct Row {
    const char* name;
    int rows, from, to, pages;
  };
  const Row rows[] = {{"all", 100, 0, 0, 4}, {"range_2_to_3", 100, 2, 3, 2}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TFormFixture f;
    f.Rows(row.rows);
    const std::string pdf = f.PrintToPdf(row.from, row.to);
    EXPECT_TRUE(f.Capture.Boxes().empty()) << f.Capture.Boxes().front();
    EXPECT_EQ(PdfPages(pdf), row.pages);
  }
}

TEST(PrinterForm, PicturesThatCannotBeReadAbandonThePdf) {
  struct Row {
    const char* name;
    const char* picture;
    bool printed;
  };
  const Row rows[] = {{"bmp", "Logo.bmp", true},
                      {"jpg", "Logo.jpg", true},
                      {"JPG_read_as_a_bitmap", "Logo.JPG", false},
                      {"missing", "Absent.bmp", false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TFormFixture f;
    f.Rows(3);
    f.Datas.put("LogoEnteteFilename", row.picture);
    const std::string pdf = f.PrintToPdf();
    EXPECT_EQ(FileExists(pdf), row.printed);
    EXPECT_EQ(f.Boxed(std::string("TDocumentManager.Draw : image illisible : ") + row.picture), !row.printed);
  }
}

TEST(PrinterForm, APdfIsNamedAfterWhatIsPrintedAndReplacedOnlyIfTheUserSaysSo) {
  TFormFixture f;
  f.Rows(3);
  // The user keeps the file the dialog offers; the dialog stays on PDF.
  QString offered, printerFile;
  f.Form->RunDialog = [&](QPrintDialog& dialog) {
    offered = dialog.findChild<QLineEdit*>("filename")->text();
    printerFile = dialog.printer()->outputFileName();
    dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
    dialog.printer()->setOutputFileName(offered);
    return true;
  };
  const std::string pdf = f.Dir.File("PDF/FA31690.pdf");
  f.Manager.PrintDoc("Modele.ini", &f.Datas, false, "FA31690");
  EXPECT_EQ(FromQString(offered), pdf);
  EXPECT_EQ(PdfPages(pdf), 1);

  // The next document is offered its own name, not the last file printed.
  f.Manager.PrintDoc("Modele.ini", &f.Datas, false, "FA31691");
  EXPECT_EQ(FromQString(offered), f.Dir.File("PDF/FA31691.pdf"));
  EXPECT_EQ(printerFile, offered);
  EXPECT_TRUE(f.Capture.Dialogs.Questions.empty());

  // A file that is there already is replaced only on a yes.
  for (const bool yes : {false, true}) {
    SCOPED_TRACE(yes);
    WriteFileBytes(pdf, "older file");
    f.Capture.Dialogs.Questions.clear();
    f.Capture.Dialogs.NextAnswer = yes;
    f.Manager.PrintDoc("Modele.ini", &f.Datas, false, "FA31690");
    EXPECT_EQ(f.Capture.Dialogs.Questions, std::vector<std::string>{"Le fichier " + pdf + " existe deja. Le remplacer ?"});
    EXPECT_EQ(ReadFileBytes(pdf) == "older file", !yes);
  }
  EXPECT_TRUE(f.Capture.Boxes().empty()) << f.Capture.Boxes().front();
}

}  // namespace
