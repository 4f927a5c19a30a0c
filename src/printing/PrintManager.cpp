#include "PrintManager.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string_view>
#include <vector>

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

// Where the rows of a grid print go: below the title and the space under it,
// above the page number at the foot of the page and a gap over it.
constexpr int kGridTitleY = 100;
constexpr int kGridFirstRowY = 300;
constexpr int kGridPageNumberFromBottom = 90;
constexpr int kGridGapOverPageNumber = 30;

struct TGridRowPlace {
  int Page = 1;
  int Top = 0;
  int Bottom = 0;
};

// Every page's rows start at the same height below its title, and a row that
// would reach the page number starts the next page. A row too tall for any
// page goes alone on its own page rather than making pages without end.
std::vector<TGridRowPlace> PlaceGridRows(const std::vector<int>& heights, int pageHeight) {
  const int limit = pageHeight - kGridPageNumberFromBottom - kGridGapOverPageNumber;
  std::vector<TGridRowPlace> places;
  places.reserve(heights.size());
  int page = 1;
  int top = kGridFirstRowY;
  for (const int height : heights) {
    if (top > kGridFirstRowY && top + height > limit) {
      ++page;
      top = kGridFirstRowY;
    }
    places.push_back(TGridRowPlace{page, top, top + height});
    top += height;
  }
  return places;
}

// A print of many pages is worth a question before the paper goes.
bool ConfirmPages(int pages) {
  if (pages <= TPrintManager::kAskAbovePages) return true;
  TDialogService* dialogs = GetDialogService();
  return dialogs == nullptr ||
         dialogs->AskYesNo("Le document compte " + IntToStr(pages) + " pages a imprimer. Les imprimer ?");
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

std::string TPrintManager::PdfFileName(const std::string& name) {
  // The name of what is printed, without what a file name cannot hold.
  std::string file;
  bool named = false;
  for (const char c : name) {
    const unsigned char u = static_cast<unsigned char>(c);
    const bool bad = u < 0x20 || u == 0x7F || std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos;
    file += bad ? '_' : c;
    named = named || (u >= 0x80 || std::isalnum(u));
  }
  if (!named) file = "Document";
  if (file.size() > 100) file.resize(100);
  return std::string(kPdfFolder) + "/" + file + ".pdf";
}

bool TPrintManager::PreparePages(const std::string& fileName, TListOfPairOfStrings* datas) {
  if (datas == nullptr) {
    Error("TPrintManager.PreparePages : Datas not Assigned");
    return false;
  }
  TDocumentManager& dm = *DocumentManager;
  // The template is read here once for the whole document.
  if (!dm.OpenModele(fileName, "TPrintManager.PreparePages")) return false;

  TDocumentManager::TTable table;
  if (!dm.Table(table)) {
    datas->put("nbTotPages", "1");
    return true;
  }
  const int y1 = dm.ToDeviceY(table.Y1);
  const int vx = dm.ToDeviceX(table.VariationX);
  const int vy = dm.ToDeviceY(table.VariationY);
  int n = 0;
  while (datas->exists(IntToStr(n + 1) + table.DataCode)) ++n;

  // The rows per page divide the row count: a template whose row pitch or
  // body height leaves no row on a page cannot be laid out.
  const int big = vy > 0 ? (dm.LimitSansPied - y1) / vy : 0;
  const int shortRows = vy > 0 ? (dm.LimitAvecPied - y1) / vy : 0;
  if (big <= 0 || shortRows <= 0) {
    dm.CloseModele();
    Error("TPrintManager.PreparePages : modele refuse, aucune ligne ne tient dans le corps de la page (variationY de la "
          "table, CorpsAvecPiedDePagey2, CorpsSansPiedDePagey2) : " + fileName);
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

void TPrintManager::PrintDoc(const std::string& fileName, TListOfPairOfStrings* datas, bool preview,
                             const std::string& pdfName) {
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
    PrintDocument(fileName, *datas, pdfName);
  DocumentManager->CloseModele();
}

void TPrintManager::PrintDocument(const std::string& fileName, TListOfPairOfStrings& datas,
                                  const std::string& pdfName) {
  const auto reset = [this] {
    NbCopies = 1;
    AutoPrint = false;
  };
  if (!PreparePages(fileName, &datas)) {
    reset();
    return;
  }
  const int total = StringManager().MyStrToInt(datas.getData("nbTotPages"));
  const std::string type = datas.getData("TypePiece");
  const std::string title =
      datas.getData(type + "." + datas.getData("MainKey")) + "-" + datas.getData(type + ".NomPharmacie");
  TWorkingDirectory cwd;

  TPrintDialogOptions options;
  options.MinPage = 1;
  options.MaxPage = total;
  options.FromPage = 1;
  options.ToPage = total;
  options.Copies = NbCopies;
  options.PageNumbersEnabled = true;
  options.PdfFileName = PdfFileName(pdfName.empty() ? title : pdfName);
  const bool dialogShown = !AutoPrint;
  if (dialogShown && !fView->ExecutePrintDialog(options)) {
    reset();
    return;
  }
  TPrinterDevice& printer = fView->Printer();
  // Automatic prints are for the letterhead paper, whatever printer or file
  // the last print went to: without such a printer the request is refused,
  // and its copies are kept for the next dialog.
  if (AutoPrint && !printer.SelectPrinterContaining("Entete")) {
    ShowMessage("auto print sur feuille blanche");
    AutoPrint = false;
    return;
  }
  int first = 1, last = total;
  if (dialogShown && options.PageRangeChosen) {
    first = options.FromPage < 1 ? 1 : options.FromPage;
    last = options.ToPage > total ? total : options.ToPage;
  }
  if (!ConfirmPages(last - first + 1)) {
    reset();
    return;
  }

  printer.SetPortrait();
  printer.SetTitle(title);
  const int copies = options.Copies < 1 ? 1 : options.Copies;
  printer.SetCopies(copies);
  if (!printer.BeginDoc()) {
    Error("TPrintManager.PrintDoc : impossible de commencer l'impression sur " + printer.PrinterName());
    reset();
    return;
  }
  cwd.Restore();

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
  // The pages beyond the preview's ten are not laid out at all.
  if (total > TPrintView::kPreviewPages) Warning("Apercu pour maximum 10 pages");
  const int shown = std::min(total, TPrintView::kPreviewPages);
  fView->BeginPreview();
  for (int i = 1; i <= shown; ++i) {
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
  canvas.TextOut((width - canvas.TextWidth(title)) / 2, kGridTitleY, title);
  canvas.SetFont(TPrintFont{"Times New Roman", 16, 0});
  const std::string number = "- " + IntToStr(page) + " -";
  canvas.TextOut((width - canvas.TextWidth(number)) / 2, height - kGridPageNumberFromBottom, number);
  canvas.SetFont(gridFont);
}

void TPrintManager::PrintGrid(TMyStringGrid* grid, const std::string& title) {
  if (grid == nullptr) return;
  if (fView == nullptr) {
    Error("TPrintManager.PrintGrid : fenetre d'impression absente");
    return;
  }
  TPrintDialogOptions options;
  options.PdfFileName = PdfFileName(title);
  if (!fView->ExecutePrintDialog(options)) return;
  TPrinterDevice& printer = fView->Printer();
  const int width = printer.PageWidth();
  const int height = printer.PageHeight();
  const int resolution = printer.ResolutionX();
  const int density = fView->PixelsPerInch();
  const auto s = [&](int v) { return MulDiv(v, resolution, density); };
  std::vector<int> heights;
  heights.reserve(static_cast<std::size_t>(std::max(0, grid->GetRowCount())));
  for (int row = 0; row < grid->GetRowCount(); ++row) heights.push_back(s(fView->GridRowHeight(*grid, row)));
  const std::vector<TGridRowPlace> places = PlaceGridRows(heights, height);
  if (!ConfirmPages(places.empty() ? 1 : places.back().Page)) return;

  printer.SetTitle(title);
  const int copies = options.Copies < 1 ? 1 : options.Copies;
  printer.SetCopies(copies);
  if (!printer.BeginDoc()) {
    Error("TPrintManager.PrintGrid : impossible de commencer l'impression sur " + printer.PrinterName());
    return;
  }
  const TPrintFont gridFont = fView->GridFont(*grid);
  const bool titled = grid->GetFixedRows() > 0;
  // A PDF file holds one copy: the pages are sent once per copy, as for a
  // document.
  const int passes = printer.HandlesCopies() ? 1 : copies;
  TDrawingSurface* canvas = nullptr;
  for (int pass = 0; pass < passes && !printer.Aborted(); ++pass) {
    int page = 0;
    for (int row = 0; row < grid->GetRowCount() && !printer.Aborted(); ++row) {
      const TGridRowPlace& place = places[static_cast<std::size_t>(row)];
      if (place.Page != page) {
        if (pass > 0 || page > 0) printer.NewPage();
        page = place.Page;
        canvas = printer.Canvas();
        if (canvas == nullptr) break;
        GridPageHeader(*canvas, width, height, title, page, gridFont);
      }
      TDrawRect r{0, place.Top, 0, place.Bottom};
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
    if (canvas == nullptr && grid->GetRowCount() > 0) break;
    // A grid without rows still prints its page with the title.
    if (grid->GetRowCount() == 0) {
      if (pass > 0) printer.NewPage();
      if (TDrawingSurface* empty = printer.Canvas()) GridPageHeader(*empty, width, height, title, 1, gridFont);
    }
  }
  printer.EndDoc();
}
