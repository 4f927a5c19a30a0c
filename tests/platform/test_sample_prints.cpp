// The templates of the sample installation, laid out with the sample's own
// records: every document previews and prints without a report, over the
// pages its lines need. With QUORIX_SCREENSHOT_DIR set, the PDF of every
// document (a 40-line invoice among them) and pictures of its preview are
// written there for a person to look at.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPrintDialog>
#include <QScreen>
#include <QTest>
#include <QTabWidget>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "Catalogue.h"
#include "ListOfPairOfStrings.h"
#include "MemoryGridSurface.h"
#include "MyStringGrid.h"
#include "MyDatabase.h"
#include "PrintJobs.h"
#include "PrintManager.h"
#include "PrinterForm.h"
#include "StringManager.h"
#include "TestSupport.h"
#include "Trace.h"

void QuorixTestInit(int& argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
}

namespace {

std::string Amount(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.2f", v);
  return StringManager().PointToComma(buffer);
}

struct TSampleFixture {
  TSampleFixture() : Cwd((CopyTree(std::string(QUORIX_SOURCE_DIR) + "/sample/Data", Dir.File("Data")), Dir.Path())) {
    // The barcode pictures are looked for under "./data/", in lower case.
    std::filesystem::create_directory_symlink("Data", Dir.File("data"));
    Form = std::make_unique<TPrinter_Form>();
  }
  ~TSampleFixture() { Datas.ClearAndFreeEachObject(); }

  // The invoice FA31690 of the sample with n lines taken from the catalogue.
  void Invoice(int n, const std::string& kind = "Facture", const std::string& mainKey = "Num Facture",
               bool preparation = false) {
    TMyDatabase articles(Catalogue::Articles::File);
    TMyDatabase clients(Catalogue::Clients::File);
    std::string lines = mainKey + ";Quantite;Code;Designation;Prix Uni. TTC;Montant TTC\r\n";
    double total = 0;
    for (int i = 0; i < n; ++i) {
      const int record = i % articles.RecordCount();
      const int quantity = 1 + (i * 7) % 12;
      const double price = StringManager().MyStrToFloat(articles.DBGetString(articles.GetFieldPos("Prix Vente"), record));
      total += quantity * price;
      lines += "FA31690;" + IntToStr(quantity) + ";" + articles.DBGetString(0, record) + ";" +
               articles.DBGetString(articles.GetFieldPos("Designation"), record) + ";" + Amount(price) + ";" +
               Amount(quantity * price) + "\r\n";
    }
    auto header = std::unique_ptr<TMyDatabase>(TMyDatabase::CreateEmpty("h.db", ""));
    header->LoadFromText(mainKey + ";Date;Code client;Societe;Port;Poids;Total HT;Total TTC\r\nFA31690;20/07/2025;0105;"
                         "PHARMACIE SAINT-EXUPÉRY;35;28,7181;" + Amount(total) + ";" + Amount(total + 35) + "\r\n");
    auto table = std::unique_ptr<TMyDatabase>(TMyDatabase::CreateEmpty("l.db", ""));
    table->LoadFromText(lines);
    header->QueryAll();
    table->QueryAll();
    clients.Query("Code", "0105", Exact);
    TPieceDocument piece{kind, mainKey, "FR12812345678", "19/08/2025", true, preparation};
    AddPieceKeys(Datas, piece, *header, clients, *table);
  }

  std::string PrintToPdf(const std::string& modele, const std::string& pdf) {
    Form->RunDialog = [&](QPrintDialog& dialog) {
      dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
      dialog.printer()->setOutputFileName(QString::fromStdString(pdf));
      return true;
    };
    Manager.PrintDoc(modele, &Datas, false);
    return pdf;
  }

  TTempDir Dir;
  TScopedCwd Cwd;
  TTraceCapture Capture;
  TPrintManager Manager;
  std::unique_ptr<TPrinter_Form> Form;
  TListOfPairOfStrings Datas;
};

struct TSampleDocument {
  const char* modele;
  int lines;  // -1: client sheet, -2: article sheet
  const char* kind;
  const char* mainKey;
  int pages;
};

const TSampleDocument kDocuments[] = {
    {Catalogue::Modeles::Facture, 40, "Facture", "Num Facture", 2},
    {Catalogue::Modeles::FactureAvecLogo, 40, "Facture", "Num Facture", 2},
    {Catalogue::Modeles::Devis, 12, "Devis", "Num Devis", 1},
    {Catalogue::Modeles::DevisAvecLogo, 31, "Devis", "Num Devis", 2},
    {Catalogue::Modeles::Avoir, 3, "Avoir", "Num Avoir", 1},
    {Catalogue::Modeles::AvoirAvecLogo, 3, "Avoir", "Num Avoir", 1},
    {Catalogue::Modeles::Commande, 60, "Facture", "Num Facture", 3},
    {Catalogue::Modeles::BonDePreparation, 40, "Facture", "Num Facture", 2},
    {Catalogue::Modeles::Client, -1, "", "", 1},
    {Catalogue::Modeles::Article, -2, "", "", 1},
};

void Fill(TSampleFixture& f, const TSampleDocument& doc) {
  if (doc.lines == -1) {
    TMyDatabase clients(Catalogue::Clients::File);
    clients.Query("Code", "0103", Exact);
    AddClientKeys(f.Datas, clients);
  } else if (doc.lines == -2) {
    TMyDatabase articles(Catalogue::Articles::File);
    articles.Query("Code", "7968532", Exact);
    AddArticleKeys(f.Datas, articles);
  } else {
    f.Invoice(doc.lines, doc.kind, doc.mainKey, doc.modele == std::string(Catalogue::Modeles::BonDePreparation));
  }
}

TEST(SamplePrints, EveryTemplateLaysOutItsDocumentWithoutReport) {
  for (const TSampleDocument& doc : kDocuments) {
    SCOPED_TRACE(doc.modele);
    TSampleFixture f;
    Fill(f, doc);
    f.Manager.PrintDoc(doc.modele, &f.Datas, true);
    EXPECT_TRUE(f.Capture.Boxes().empty()) << f.Capture.Boxes().front();
    EXPECT_TRUE(f.Form->isVisible());
    EXPECT_EQ(f.Datas.getData("nbTotPages"), IntToStr(doc.pages));
    const std::string pdf = f.PrintToPdf(doc.modele, f.Dir.File("doc.pdf"));
    EXPECT_EQ(PdfPages(pdf), doc.pages);
  }
}

TEST(SamplePrints, ScreenshotsOfEveryDocumentForAPersonToLookAt) {
  const char* out = std::getenv("QUORIX_SCREENSHOT_DIR");
  if (out == nullptr || *out == '\0') GTEST_SKIP() << "QUORIX_SCREENSHOT_DIR is not set";
  for (const TSampleDocument& doc : kDocuments) {
    TSampleFixture f;
    Fill(f, doc);
    std::string name = doc.modele;
    name = name.substr(name.rfind('/') + 1);
    name = std::string(out) + "/" + name.substr(0, name.size() - 4);
    f.PrintToPdf(doc.modele, name + ".pdf");
    f.Manager.PrintDoc(doc.modele, &f.Datas, true);
    for (int page = 0; page < doc.pages && page < 2; ++page) {
      f.Form->PageControl1->setCurrentIndex(page);
      QApplication::processEvents();
      f.Form->grab().save(QString::fromStdString(name + "_preview_" + IntToStr(page + 1) + ".png"));
    }
    // Under a real display (xvfb-run with QT_QPA_PLATFORM=xcb) the whole screen too.
    if (QGuiApplication::platformName() == "xcb") {
      QTest::qWait(200);
      QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromStdString(name + "_screen.png"));
    }
    EXPECT_TRUE(f.Capture.Boxes().empty());
  }
}

// The two grid prints over several pages, as PDF files: a search over the
// invoices and a wholesaler order of 150 articles, every page's rows between
// its title and its page number.
TEST(SamplePrints, ScreenshotsOfTheGridPrintsOverSeveralPages) {
  const char* out = std::getenv("QUORIX_SCREENSHOT_DIR");
  if (out == nullptr || *out == '\0') GTEST_SKIP() << "QUORIX_SCREENSHOT_DIR is not set";
  struct TGridDocument {
    const char* title;
    int rows;
    std::vector<const char*> columns;
  };
  const TGridDocument documents[] = {
      {"Recherche", 110, {"Num Facture", "Date", "Code client", "Societe", "Total TTC"}},
      {"Commande", 151, {"Code", "Designation", "Quantite"}},
  };
  for (const TGridDocument& doc : documents) {
    TSampleFixture f;
    const int cols = static_cast<int>(doc.columns.size());
    TMemoryGridSurface surface(cols, doc.rows, 0, 1);
    TMyStringGrid grid(&surface);
    grid.SetAutomatic(false);
    for (int c = 0; c < cols; ++c) {
      surface.SetColWidth(c, c == 1 || c == 3 ? 220 : 90);
      surface.SetCells(c, 0, doc.columns[static_cast<std::size_t>(c)]);
    }
    for (int r = 1; r < doc.rows; ++r)
      for (int c = 0; c < cols; ++c) surface.SetCells(c, r, std::string(doc.columns[static_cast<std::size_t>(c)]).substr(0, 4) + " " + IntToStr(r));
    const std::string pdf = std::string(out) + "/Grid_" + doc.title + ".pdf";
    f.Form->RunDialog = [&](QPrintDialog& dialog) {
      dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
      dialog.printer()->setOutputFileName(QString::fromStdString(pdf));
      return true;
    };
    f.Manager.PrintGrid(&grid, doc.title);
    EXPECT_TRUE(f.Capture.Boxes().empty());
    EXPECT_GE(PdfPages(pdf), 3);
  }
}

}  // namespace
