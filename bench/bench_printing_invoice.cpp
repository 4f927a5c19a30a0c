// Previewing an invoice and printing it to a PDF file with the sample's
// letterhead invoice template: one invoice of 200 lines (7 pages) and one of
// 280 lines (10 pages, as many as the preview shows). Medians of several runs,
// each run laying out and drawing every page. Run with
// QT_QPA_PLATFORM=offscreen.
//
//   bench_printing_invoice [runs]

#include <QApplication>
#include <QPrintDialog>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Catalogue.h"
#include "ListOfPairOfStrings.h"
#include "MyDatabase.h"
#include "PrintJobs.h"
#include "PrintManager.h"
#include "PrinterForm.h"
#include "StringManager.h"
#include "Trace.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from) { return std::chrono::duration<double, std::milli>(Clock::now() - from).count(); }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

std::string Amount(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.2f", v);
  return StringManager().PointToComma(buffer);
}

// The data of invoice FA31690 of the sample with n lines from the catalogue.
void InvoiceData(TListOfPairOfStrings& datas, int n) {
  TMyDatabase articles(Catalogue::Articles::File);
  TMyDatabase clients(Catalogue::Clients::File);
  std::string lines = "Num Facture;Quantite;Code;Designation;Prix Uni. TTC;Montant TTC\r\n";
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
  std::unique_ptr<TMyDatabase> header(TMyDatabase::CreateEmpty("h.db", ""));
  header->LoadFromText("Num Facture;Date;Code client;Societe;Port;Poids;Total HT;Total TTC\r\nFA31690;20/07/2025;0104;"
                       "PHARMACIE SAINT-EXUPÉRY;35;28,7181;" + Amount(total) + ";" + Amount(total + 35) + "\r\n");
  std::unique_ptr<TMyDatabase> table(TMyDatabase::CreateEmpty("l.db", ""));
  table->LoadFromText(lines);
  header->QueryAll();
  table->QueryAll();
  clients.Query("Code", "0104", Exact);
  AddPieceKeys(datas, TPieceDocument{"Facture", "Num Facture", "FR12812345678", "19/08/2025", false, false}, *header,
               clients, *table);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  QApplication app(argc, argv);
  const std::filesystem::path work = std::filesystem::temp_directory_path() / "quorix-bench-printing";
  std::filesystem::remove_all(work);
  std::filesystem::create_directories(work);
  std::filesystem::copy(std::string(QUORIX_SOURCE_DIR) + "/sample/Data", work / "Data",
                        std::filesystem::copy_options::recursive);
  std::filesystem::current_path(work);

  TStringManager strings;
  TPrintManager manager;
  TPrinter_Form form;
  const std::string pdf = (work / "facture.pdf").string();
  form.RunDialog = [&](QPrintDialog& dialog) {
    dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
    dialog.printer()->setOutputFileName(QString::fromStdString(pdf));
    return true;
  };

  std::printf("invoice template %s, %d runs each (medians)\n", Catalogue::Modeles::FactureAvecLogo, runs);
  for (int lines : {200, 280}) {
    TListOfPairOfStrings datas;
    InvoiceData(datas, lines);
    std::vector<double> preview, print;
    for (int r = 0; r < runs; ++r) {
      auto t = Clock::now();
      manager.PrintDoc(Catalogue::Modeles::FactureAvecLogo, &datas, true);
      QApplication::processEvents();
      preview.push_back(Ms(t));
      t = Clock::now();
      manager.PrintDoc(Catalogue::Modeles::FactureAvecLogo, &datas, false);
      print.push_back(Ms(t));
    }
    std::printf("%3d lines, %s pages: preview %6.1f ms, print to PDF %6.1f ms (%lld bytes)\n", lines,
                datas.getData("nbTotPages").c_str(), Median(preview), Median(print),
                static_cast<long long>(std::filesystem::file_size(pdf)));
    datas.ClearAndFreeEachObject();
  }
  std::filesystem::current_path(std::filesystem::temp_directory_path());
  std::filesystem::remove_all(work);
  return 0;
}
