// Inputs of unusual size for the printing and the settings: an invoice of
// many lines (its data list, pagination, preview and a print of 200 pages on
// the memory printer), a template of many items (laid out for one page) and a
// settings file of many sections written in descending order (read, looked
// up, written back). Each step is timed once, with the memory the process
// holds afterwards against the size of the input.
//
//   bench_printing_limits invoice <lines> | template <items> | settings <sections>
//   bench_printing_limits                  (invoice 6000, template 2000, settings 20000)

#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "BenchFigures.h"
#include "IniManager.h"
#include "ListOfPairOfStrings.h"
#include "MemoryPrintSurfaces.h"
#include "MyDatabase.h"
#include "PrintJobs.h"
#include "PrintManager.h"
#include "StringManager.h"
#include "Trace.h"
#include "TraceRecorder.h"

namespace {

// The resident memory of the process in MB.
double ResidentMb() {
  std::ifstream status("/proc/self/status");
  std::string word;
  while (status >> word) {
    if (word == "VmRSS:") {
      double kb = 0;
      status >> kb;
      return kb / 1024.0;
    }
  }
  return 0;
}

// The heap the process uses in MB: what is allocated and not freed, whether
// the allocator keeps the freed rest resident or not.
double HeapInUseMb() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<double>(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

struct TMemory {
  double Resident = ResidentMb();
  double Heap = HeapInUseMb();
};

void Step(const char* what, double ms, double inputMb, const TMemory& before) {
  const double held = ResidentMb() - before.Resident;
  const double heap = HeapInUseMb() - before.Heap;
  std::printf("  %-44s %9.1f ms   memory %7.1f MB (%.1fx the input), in use %.1f MB (%.1fx)\n", what, ms, held,
              inputMb > 0 ? held / inputMb : 0.0, heap, inputMb > 0 ? heap / inputMb : 0.0);
}

// A silent run: no box may stop a benchmark.
struct TQuiet {
  TQuiet() { fPrevious = SetDialogService(&Dialogs); }
  ~TQuiet() { SetDialogService(fPrevious); }
  TRecordingDialogService Dialogs;
  TDialogService* fPrevious;
};

// A printer that hands each page on once the next one starts, as the
// system's printer does to its spooler, or keeps them all as the memory
// printer of the tests does. The pages kept are the test surface's memory,
// not the program's: the long print is measured both ways.
class TSpoolingPrinter : public TMemoryPrinter {
public:
  using TMemoryPrinter::TMemoryPrinter;
  bool BeginDoc() override {
    Printed = 1;
    return TMemoryPrinter::BeginDoc();
  }
  void NewPage() override {
    ++Printed;
    if (KeepPages || !DocOpen || Pages.empty()) {
      TMemoryPrinter::NewPage();
    } else {
      Pages.back()->Clear();
      Pages.back()->Ops.shrink_to_fit();
    }
  }
  bool KeepPages = false;
  int Printed = 0;
};

class TSpoolingPrintView : public TMemoryPrintView {
public:
  TSpoolingPrintView(int width, int height) : TMemoryPrintView(width, height), Spooler(width, height, 300) {}
  TPrinterDevice& Printer() override { return Spooler; }
  TSpoolingPrinter Spooler;
};

void Invoice(const std::string& modele, int n) {
  std::string lines = "Num Facture;Quantite;Code;Designation;Prix Uni. TTC;Montant TTC\r\n";
  for (int i = 0; i < n; ++i)
    lines += "FA31690;" + IntToStr(1 + i % 12) + ";" + IntToStr(3400000 + i % 100000) + ";DOLIPRANE 1000MG CPR " +
             IntToStr(i) + ";2,18;" + IntToStr(2 * (1 + i % 12)) + ",36\r\n";
  const double inputMb = static_cast<double>(lines.size()) / (1024.0 * 1024.0);
  std::printf("invoice of %d lines (line file %.1f MB), template %s\n", n, inputMb, modele.c_str());
  const TMemory base;

  auto t = Clock::now();
  std::unique_ptr<TMyDatabase> header(TMyDatabase::CreateEmpty("h.db", ""));
  header->LoadFromText("Num Facture;Date;Code client;Societe;Port;Poids;Total HT;Total TTC\r\nFA31690;20/07/2025;0104;"
                       "PHARMACIE SAINT-EXUPERY;35;28,7181;100,00;135,00\r\n");
  std::unique_ptr<TMyDatabase> clients(TMyDatabase::CreateEmpty("c.db", ""));
  clients->LoadFromText("Code;Adresse 1;Adresse 2;Adresse 3;Ville;Pays;Imm. TVA\r\n0104;1 rue;;;LYON;FRANCE;FR1\r\n");
  std::unique_ptr<TMyDatabase> table(TMyDatabase::CreateEmpty("l.db", ""));
  table->LoadFromText(lines);
  header->QueryAll();
  clients->QueryAll();
  table->QueryAll();
  Step("line table read", Ms(t), inputMb, base);

  TListOfPairOfStrings datas;
  t = Clock::now();
  AddPieceKeys(datas, TPieceDocument{"Facture", "Num Facture", "FR12812345678", "19/08/2025", false, false}, *header,
               *clients, *table);
  Step("data list built", Ms(t), inputMb, base);

  TSpoolingPrintView view(2480, 3508);
  TPrintManager manager;
  manager.SetView(&view);
  t = Clock::now();
  manager.PreparePages(modele, &datas);
  Step(("pagination: " + datas.getData("nbTotPages") + " pages").c_str(), Ms(t), inputMb, base);

  t = Clock::now();
  manager.PrintDoc(modele, &datas, true);
  Step("preview (ten pages at most)", Ms(t), inputMb, base);

  view.Dialog = [](TPrintDialogOptions& options) {
    options.PageRangeChosen = true;
    options.FromPage = 1;
    options.ToPage = 200;
    return true;
  };
  t = Clock::now();
  manager.PrintDoc(modele, &datas, false);
  Step(("print of " + IntToStr(view.Spooler.Printed) + " pages").c_str(), Ms(t), inputMb, base);

  view.Spooler.KeepPages = true;
  t = Clock::now();
  manager.PrintDoc(modele, &datas, false);
  Step(("the same, its " + IntToStr(static_cast<long long>(view.Spooler.Pages.size())) + " pages kept in memory").c_str(),
       Ms(t), inputMb, base);
  view.Spooler.Pages.clear();

  t = Clock::now();
  datas.ClearAndFreeEachObject();
  Step("data list released", Ms(t), inputMb, base);
}

void Template(int items) {
  std::string text =
      "[GeneralData]\r\nPageSizeX = 2100\r\nPageSizeY = 2970\r\nCorpsAvecPiedDePagey2 = 2270\r\n"
      "CorpsSansPiedDePagey2 = 2650\r\n[Corps1]\r\ntype = MultiData\r\nDataCode = .Code\r\nx1 = 100\r\nx2 = 600\r\n"
      "y1 = 700\r\ny2 = 755\r\nvariationX = 0\r\nvariationY = 55\r\n";
  for (int i = 1; i < items; ++i)
    text += "[Entete" + IntToStr(i) + "]\r\ntag = texte\r\ntype = Text\r\nText = Ligne " + IntToStr(i) +
            "\r\nfontSize = 9\r\nalignement = left\r\nx1 = 100\r\nx2 = 900\r\ny1 = " + IntToStr(100 + i % 500) +
            "\r\ny2 = " + IntToStr(140 + i % 500) + "\r\n";
  const std::string file = "ModeleGrand.ini";
  std::ofstream(file, std::ios::binary) << text;
  const double inputMb = static_cast<double>(text.size()) / (1024.0 * 1024.0);
  std::printf("template of %d items (%.2f MB)\n", items, inputMb);
  const TMemory base;

  TListOfPairOfStrings datas;
  for (int i = 1; i <= 30; ++i) datas.put(IntToStr(i) + ".Code", "340093" + IntToStr(i));
  TMemoryPrintView view(2480, 3508);
  TPrintManager manager;
  manager.SetView(&view);
  auto t = Clock::now();
  manager.PreparePages(file, &datas);
  Step("pagination", Ms(t), inputMb, base);
  t = Clock::now();
  manager.PrintDoc(file, &datas, true);
  Step("preview of its one page", Ms(t), inputMb, base);
  datas.ClearAndFreeEachObject();
}

void Settings(int sections) {
  std::string text;
  for (int s = sections; s >= 1; --s) text += "[Section" + IntToStr(s) + "]\r\n   Cle = valeur " + IntToStr(s) + "\r\n";
  text += "[Positions]\r\n   CurrentClientListRow = 12\r\n";
  const std::string file = "parametres.ini";
  std::ofstream(file, std::ios::binary) << text;
  const double inputMb = static_cast<double>(text.size()) / (1024.0 * 1024.0);
  std::printf("settings file of %d sections in descending order (%.2f MB)\n", sections, inputMb);
  const TMemory base;

  auto t = Clock::now();
  auto ini = std::make_unique<TIniManager>(file);
  Step("read", Ms(t), inputMb, base);
  t = Clock::now();
  const int row = ini->GetInt("Positions", "CurrentClientListRow");
  Step(("a key looked up (" + IntToStr(row) + ")").c_str(), Ms(t), inputMb, base);
  t = Clock::now();
  ini->Set("Positions", "CurrentClientListRow", "13");
  const bool saved = ini->SaveToFile(file);
  Step(saved ? "a key set, the file written" : "a key set, the file left as it was", Ms(t), inputMb, base);
  t = Clock::now();
  ini.reset();
  Step("released", Ms(t), inputMb, base);
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path work = std::filesystem::temp_directory_path() / "quorix-bench-limits";
  std::filesystem::remove_all(work);
  std::filesystem::create_directories(work);
  std::filesystem::current_path(work);
  const std::string modele = std::string(QUORIX_SOURCE_DIR) + "/sample/Data/Modeles/ModeleFacture.ini";
  TStringManager strings;
  TQuiet quiet;

  // The program has read its settings before it prints anything: the
  // pattern library's compiled code and stack (most of a megabyte, once for
  // the process) belong to none of the inputs below.
  { TIniManager settings(modele); }

  const std::string what = argc > 1 ? argv[1] : "";
  const int size = argc > 2 ? std::atoi(argv[2]) : 0;
  if (what == "invoice" || what.empty()) Invoice(modele, size > 0 ? size : 6000);
  if (what == "template" || what.empty()) Template(size > 0 ? size : 2000);
  if (what == "settings" || what.empty()) Settings(size > 0 ? size : 20000);
  std::printf("%zu boxes\n", quiet.Dialogs.Messages.size() + quiet.Dialogs.Questions.size());

  std::filesystem::current_path(std::filesystem::temp_directory_path());
  std::filesystem::remove_all(work);
  return 0;
}
