#include "PrintManager.h"

#include <filesystem>

#include "ListOfPairOfStrings.h"
#include "MyStringGrid.h"
#include "StringManager.h"
#include "Trace.h"

namespace {

TPrintManager* gPrintManager = nullptr;

// Screen pixels to printer pixels: v x resolution / density, rounded to
// nearest with halves away from zero.
int MulDiv(int v, int numerator, int denominator) {
  if (denominator <= 0) return v;
  const long long product = static_cast<long long>(v) * numerator;
  const long long half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator : -((-product + half) / denominator));
}

// The print dialog of the platform may move the working directory, and every
// template, data and picture path is relative to it.
class TWorkingDirectory {
public:
  TWorkingDirectory() { fPath = std::filesystem::current_path(fError); }
  void Restore() const {
    if (fError) return;
    std::error_code ec;
    if (std::filesystem::current_path(ec) != fPath) std::filesystem::current_path(fPath, ec);
  }

private:
  std::filesystem::path fPath;
  std::error_code fError;
};

}  // namespace

TPrintManager* GetPrintManager() { return gPrintManager; }

TPrintManager::TPrintManager() : DocumentManager(std::make_unique<TDocumentManager>()) { gPrintManager = this; }

TPrintManager::~TPrintManager() {
  if (gPrintManager == this) gPrintManager = nullptr;
}

void TPrintManager::SetView(TPrintView* view) {
  fView = view;
  DocumentManager->SetView(view);
}

bool TPrintManager::PreparePages(const std::string& fileName, TListOfPairOfStrings* datas) {
  if (datas == nullptr) {
    Error("TPrintManager.PreparePages : Datas not Assigned");
    return false;
  }
  TDocumentManager& dm = *DocumentManager;
  if (!dm.OpenModele(fileName, "TPrintManager.PreparePages")) return false;

  std::string table;
  for (int i = 1; dm.Modele->SectionExists("Corps" + IntToStr(i)); ++i) {
    if (dm.GetOptional("Corps" + IntToStr(i), "type") == "MultiData") {
      table = "Corps" + IntToStr(i);
      break;
    }
  }
  if (table.empty()) {
    datas->put("nbTotPages", "1");
    dm.CloseModele();
    return true;
  }

  const std::string code = dm.GetOptional(table, "DataCode");
  const int y1 = dm.ToDeviceY(dm.Modele->GetInt(table, "y1"));
  const int vx = dm.ToDeviceX(dm.Modele->GetInt(table, "variationX"));
  const int vy = dm.ToDeviceY(dm.Modele->GetIntStrict(table, "variationY"));
  int n = 0;
  while (datas->exists(IntToStr(n + 1) + code)) ++n;

  // The rows per page divide the row count: a template whose row pitch or
  // body height leaves no row on a page cannot be laid out.
  const int big = vy > 0 ? (dm.LimitSansPied - y1) / vy : 0;
  const int shortRows = vy > 0 ? (dm.LimitAvecPied - y1) / vy : 0;
  dm.CloseModele();
  if (big <= 0 || shortRows <= 0) {
    Error("TPrintManager.PreparePages : modele refuse, aucune ligne ne tient dans le corps de la page (variationY de [" +
          table + "], CorpsAvecPiedDePagey2, CorpsSansPiedDePagey2) : " + fileName);
    return false;
  }
  // Pages with the long body first, then with the short one; the last page,
  // with the footer, takes what is left (no row at all for an empty table).
  const int bigPages = n == 0 ? 0 : (n - 1) / big;
  const int rest = n == 0 ? 0 : (n - 1) % big;
  const int shortPages = rest / shortRows;
  datas->putInt("nbTotPages", bigPages + shortPages + 1);
  datas->putInt("nbBigPages", bigPages);
  datas->putInt("nbShortPages", shortPages);
  datas->putInt("nbLinesFact", n);
  datas->putInt("variationX", vx);
  datas->putInt("variationY", vy);
  datas->putInt("nbLinesInBig", big);
  datas->putInt("nbLinesInShort", shortRows);
  return true;
}

void TPrintManager::PrintDoc(const std::string& fileName, TListOfPairOfStrings* datas, bool preview) {
  if (fView == nullptr) {
    Error("TPrintManager.PrintDoc : fenetre d'impression absente");
    return;
  }
  if (datas == nullptr) {
    Error("TPrintManager.PrintDoc : Datas not Assigned");
    return;
  }
  if (preview)
    PreviewDocument(fileName, *datas);
  else
    PrintDocument(fileName, *datas);
}

void TPrintManager::PrintDocument(const std::string& fileName, TListOfPairOfStrings& datas) {
  const auto reset = [this] {
    NbCopies = 1;
    AutoPrint = false;
  };
  if (!PreparePages(fileName, &datas)) {
    reset();
    return;
  }
  const int total = StringManager().MyStrToInt(datas.getData("nbTotPages"));
  TWorkingDirectory cwd;

  TPrintDialogOptions options;
  options.MinPage = 1;
  options.MaxPage = total;
  options.FromPage = 1;
  options.ToPage = total;
  options.Copies = NbCopies;
  options.PageNumbersEnabled = true;
  const bool dialogShown = !AutoPrint;
  if (dialogShown && !fView->ExecutePrintDialog(options)) {
    reset();
    return;
  }
  TPrinterDevice& printer = fView->Printer();
  // Automatic prints are for the letterhead paper: on any other printer the
  // request is refused, and its copies are kept for the next dialog.
  if (AutoPrint && printer.PrinterName().find("Entete") == std::string::npos) {
    ShowMessage("auto print sur feuille blanche");
    AutoPrint = false;
    return;
  }

  printer.SetPortrait();
  const std::string type = datas.getData("TypePiece");
  printer.SetTitle(datas.getData(type + "." + datas.getData("MainKey")) + "-" + datas.getData(type + ".NomPharmacie"));
  const int copies = options.Copies < 1 ? 1 : options.Copies;
  printer.SetCopies(copies);
  if (!printer.BeginDoc()) {
    Error("TPrintManager.PrintDoc : impossible de commencer l'impression sur " + printer.PrinterName());
    reset();
    return;
  }
  cwd.Restore();

  int first = 1, last = total;
  if (dialogShown && options.PageRangeChosen) {
    first = options.FromPage < 1 ? 1 : options.FromPage;
    last = options.ToPage > total ? total : options.ToPage;
  }
  // A device that cannot repeat a document itself gets the pages once per copy.
  const int passes = printer.HandlesCopies() ? 1 : copies;
  bool pageOpen = false;
  for (int pass = 0; pass < passes && !printer.Aborted(); ++pass) {
    for (int i = first; i <= last; ++i) {
      if (pageOpen) printer.NewPage();
      datas.putInt("Page Courante", i);
      if (!DocumentManager->BuildDoc(fileName, &datas, false)) {
        printer.AbortDoc();
        reset();
        return;
      }
      pageOpen = true;
      if (printer.Aborted()) break;
    }
  }
  printer.EndDoc();
  reset();
}

void TPrintManager::PreviewDocument(const std::string& fileName, TListOfPairOfStrings& datas) {
  fView->ClearPreviews();
  if (!PreparePages(fileName, &datas)) return;
  fView->ShowWindow();
  const int total = StringManager().MyStrToInt(datas.getData("nbTotPages"));
  fView->BeginPreview();
  for (int i = 1; i <= total; ++i) {
    datas.putInt("Page Courante", i);
    if (!DocumentManager->BuildDoc(fileName, &datas, true)) {
      // Half a document is not shown: the pages drawn so far go too.
      fView->EndPreview();
      fView->ClearPreviews();
      fView->HideWindow();
      return;
    }
  }
  fView->EndPreview();
  fView->SelectFirstTab();
}

void TPrintManager::GridPageHeader(TDrawingSurface& canvas, int width, int height, const std::string& title, int page,
                                   const TPrintFont& gridFont) {
  canvas.SetPenColor(0);
  canvas.SetFont(TPrintFont{"Times New Roman", 16, fsBold});
  canvas.TextOut((width - canvas.TextWidth(title)) / 2, 100, title);
  canvas.SetFont(TPrintFont{"Times New Roman", 16, 0});
  const std::string number = "- " + IntToStr(page) + " -";
  canvas.TextOut((width - canvas.TextWidth(number)) / 2, height - 90, number);
  canvas.SetFont(gridFont);
}

void TPrintManager::PrintGrid(TMyStringGrid* grid, const std::string& title) {
  if (grid == nullptr) return;
  if (fView == nullptr) {
    Error("TPrintManager.PrintGrid : fenetre d'impression absente");
    return;
  }
  TPrintDialogOptions options;
  if (!fView->ExecutePrintDialog(options)) return;
  TPrinterDevice& printer = fView->Printer();
  const int width = printer.PageWidth();
  const int height = printer.PageHeight();
  printer.SetTitle(title);
  printer.SetCopies(options.Copies < 1 ? 1 : options.Copies);
  if (!printer.BeginDoc()) {
    Error("TPrintManager.PrintGrid : impossible de commencer l'impression sur " + printer.PrinterName());
    return;
  }
  TDrawingSurface* canvas = printer.Canvas();
  if (canvas == nullptr) {
    printer.AbortDoc();
    return;
  }
  const TPrintFont gridFont = fView->GridFont(*grid);
  const int resolution = printer.ResolutionX();
  const int density = fView->PixelsPerInch();
  const auto s = [&](int v) { return MulDiv(v, resolution, density); };

  int page = 1;
  GridPageHeader(*canvas, width, height, title, page, gridFont);
  TDrawRect r{0, 0, 0, 300};
  const bool titled = grid->GetFixedRows() > 0;
  for (int row = 0; row < grid->GetRowCount() && !printer.Aborted(); ++row) {
    const int rowHeight = s(fView->GridRowHeight(*grid, row));
    r.Right = 0;
    r.Top = r.Bottom;
    r.Bottom = r.Top + rowHeight;
    if (r.Bottom > height) {
      ++page;
      printer.NewPage();
      canvas = printer.Canvas();
      if (canvas == nullptr) break;
      GridPageHeader(*canvas, width, height, title, page, gridFont);
      r.Top = 0;
      r.Bottom = rowHeight;
    }
    for (int col = 0; col < grid->GetColCount(); ++col) {
      r.Left = r.Right + 10;
      r.Right = r.Left + s(grid->GetGrid()->GetColWidth(col)) + 10;
      const std::string text = grid->GetCell(col, row);
      const int ty = r.Top + (r.Bottom - r.Top - canvas->TextHeight(text)) / 2;
      const int tx = (titled && row == 0) ? r.Left + (r.Right - r.Left - canvas->TextWidth(text)) / 2 : r.Left + 10;
      canvas->TextRect(r, tx, ty, text);
      canvas->MoveTo(r.Left, r.Top);
      canvas->LineTo(r.Right, r.Top);
      canvas->LineTo(r.Right, r.Bottom);
      canvas->LineTo(r.Left, r.Bottom);
      canvas->LineTo(r.Left, r.Top);
    }
  }
  printer.EndDoc();
}
