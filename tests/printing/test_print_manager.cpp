// The print manager: the dialog and the automatic prints, the document
// title, copies, a spooler that cancels, and grids printed as ruled tables.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "MemoryGridSurface.h"
#include "MyStringGrid.h"
#include "PrintTestSupport.h"

namespace {

std::string OnePageModele(TPrintFixture& f) {
  return f.Template(GeneralData() + TableItem() + FooterItem());
}

TEST(PrintManager, DialogAndAutomaticPrintRules) {
  struct Row {
    const char* name;
    bool autoPrint;
    const char* printer;
    int copies;
    bool cancel;
    bool dialogShown;
    bool printed;
    const char* message;  // "" = none
    int copiesAfter;
    int printerCopies;
  };
  const std::vector<Row> rows = {
      {"dialog_accepted", false, "HP LaserJet", 2, false, true, true, "", 1, 2},
      {"dialog_cancelled", false, "HP LaserJet", 2, true, true, false, "", 1, 0},
      {"auto_on_letterhead", true, "HP Entete 2eme etage", 4, false, false, true, "", 1, 4},
      // A refused automatic print keeps its copies for the next dialog.
      {"auto_on_plain_paper", true, "HP LaserJet", 4, false, false, false, "auto print sur feuille blanche", 4, 0},
      {"auto_test_is_case_sensitive", true, "HP entete", 4, false, false, false, "auto print sur feuille blanche", 4, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TPrintFixture f;
    const std::string modele = OnePageModele(f);
    f.Rows(3);
    f.View.MemoryPrinter.Name = row.printer;
    f.View.Dialog = [&row](TPrintDialogOptions&) { return !row.cancel; };
    f.Manager.AutoPrint = row.autoPrint;
    f.Manager.NbCopies = row.copies;
    f.Manager.PrintDoc(modele, &f.Datas, false);

    EXPECT_EQ(f.View.DialogsShown.size(), row.dialogShown ? 1u : 0u);
    if (row.dialogShown) {
      EXPECT_EQ(f.View.DialogsShown[0].Copies, row.copies);
    }
    EXPECT_EQ(f.View.MemoryPrinter.Ended, row.printed ? 1 : 0);
    if (*row.message) {
      EXPECT_EQ(f.Capture.Boxes(), (std::vector<std::string>{row.message}));
    } else {
      EXPECT_TRUE(f.Capture.Boxes().empty());
    }
    EXPECT_EQ(f.Manager.NbCopies, row.copiesAfter);
    EXPECT_FALSE(f.Manager.AutoPrint);
    EXPECT_EQ(f.View.MemoryPrinter.Copies, row.printerCopies);
    if (row.printed) {
      EXPECT_TRUE(f.View.MemoryPrinter.Portrait);
    }
  }
}

TEST(PrintManager, DocumentTitleIsThePieceNumberAndTheCustomer) {
  struct Row {
    const char* name;
    std::vector<std::pair<const char*, const char*>> keys;
    const char* title;
  };
  const std::vector<Row> rows = {
      {"invoice",
       {{"TypePiece", "Facture"},
        {"MainKey", "Num Facture"},
        {"Facture.Num Facture", "FA31690"},
        {"Facture.NomPharmacie", "PHARMACIE DE L'ÉTOILE"}},
       "FA31690-PHARMACIE DE L'ÉTOILE"},
      {"quote", {{"TypePiece", "Devis"}, {"MainKey", "Num Devis"}, {"Devis.Num Devis", "DE1234"}}, "DE1234-"},
      {"client_sheet", {{"Client.Code", "0101"}}, "-"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TPrintFixture f;
    for (const auto& [key, value] : row.keys) f.Datas.put(key, value);
    f.Manager.PrintDoc(OnePageModele(f), &f.Datas, false);
    EXPECT_EQ(f.View.MemoryPrinter.Title, row.title);
  }
}

TEST(PrintManager, CopiesTheDeviceCannotMakeAreSentAsRepeatedPages) {
  TPrintFixture f;
  const std::string modele = OnePageModele(f);
  f.Rows(21);  // two pages
  f.View.MemoryPrinter.DeviceCopies = false;
  f.Manager.NbCopies = 2;
  f.Manager.AutoPrint = true;
  f.View.MemoryPrinter.Name = "Entete";
  f.Manager.PrintDoc(modele, &f.Datas, false);
  ASSERT_EQ(f.View.MemoryPrinter.Pages.size(), 4u);
  EXPECT_EQ(f.View.MemoryPrinter.Pages[2]->Texts(), f.View.MemoryPrinter.Pages[0]->Texts());
  EXPECT_EQ(f.View.MemoryPrinter.Pages[3]->Texts(), (std::vector<std::string>{"r21", "FOOT"}));
}

TEST(PrintManager, NoNewPageOnceTheSpoolerCancelledTheDocument) {
  TPrintFixture f;
  const std::string modele = OnePageModele(f);
  f.Rows(56);  // four pages
  f.View.MemoryPrinter.AbortAfterPages = 2;
  f.Manager.PrintDoc(modele, &f.Datas, false);
  EXPECT_EQ(f.View.MemoryPrinter.Pages.size(), 2u);
  EXPECT_EQ(f.View.MemoryPrinter.Ended, 1);
  EXPECT_EQ(f.Manager.NbCopies, 1);
}

TEST(PrintManager, PrinterThatCannotStartIsReported) {
  TPrintFixture f;
  f.View.MemoryPrinter.RefuseBegin = true;
  f.View.MemoryPrinter.Name = "PDF";
  f.Manager.NbCopies = 3;
  f.Manager.PrintDoc(OnePageModele(f), &f.Datas, false);
  EXPECT_TRUE(f.Boxed("TPrintManager.PrintDoc : impossible de commencer l'impression sur PDF"));
  EXPECT_EQ(f.Manager.NbCopies, 1);
}

// A grid of 3 columns of 50 screen pixels and rows 24 high, printed at 192
// pixels per inch: every screen size doubles.
struct TGridPrint {
  explicit TGridPrint(int fixedRows, int rows, int pageHeight = 2970)
      : Print(2100, pageHeight), Surface(3, rows, 0, fixedRows), Grid(&Surface) {
    Grid.SetAutomatic(false);
    Print.View.MemoryPrinter.Resolution = 192;
    for (int c = 0; c < 3; ++c) Surface.SetColWidth(c, 50);
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < 3; ++c) Surface.SetCells(c, r, std::string(1, static_cast<char>('a' + c)) + IntToStr(r));
    Print.Manager.PrintGrid(&Grid, "Recherche");
  }
  const TMemoryDrawingSurface& Page(int i) const { return *Print.View.MemoryPrinter.Pages.at(i); }

  TPrintFixture Print;
  TMemoryGridSurface Surface;
  TMyStringGrid Grid;
};

TEST(PrintGrid, TitlePageNumberAndCellsOfTheFirstPage) {
  struct Row {
    const char* name;
    int fixedRows;
    int firstCellX;  // where "a0" is drawn
  };
  // A column runs from 10 after the previous one over 100 + 10 pixels; the
  // text "a0" is 16 wide in the grid font (8 points): centred in the first
  // column it starts at 10 + (110 - 16) / 2.
  const std::vector<Row> rows = {{"with_title_row", 1, 57}, {"without_fixed_row", 0, 20}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TGridPrint g(row.fixedRows, 3);
    const auto& printer = g.Print.View.MemoryPrinter;
    ASSERT_EQ(printer.Pages.size(), 1u);
    EXPECT_EQ(printer.Title, "Recherche");
    const auto texts = g.Page(0).OpsOf(TDrawOp::Text);
    ASSERT_EQ(texts.size(), 2u + 9u);
    // "Recherche" is 9 x 16 wide in the 16-point title font.
    EXPECT_EQ(texts[0].Content, "Recherche");
    EXPECT_EQ(texts[0].X, (2100 - 144) / 2);
    EXPECT_EQ(texts[0].Y, 100);
    EXPECT_EQ(texts[1].Content, "- 1 -");
    EXPECT_EQ(texts[1].Y, 2970 - 90);
    EXPECT_EQ(texts[2].Content, "a0");
    EXPECT_EQ(texts[2].X, row.firstCellX);
    EXPECT_EQ(texts[2].Rect, (TDrawRect{10, 300, 120, 348}));
    EXPECT_EQ(texts[2].Y, 300 + (48 - 16) / 2);
    // The data rows are never centred.
    EXPECT_EQ(texts[5].Content, "a1");
    EXPECT_EQ(texts[5].X, 20);
    EXPECT_EQ(texts[6].Rect, (TDrawRect{130, 348, 240, 396}));
    EXPECT_EQ(g.Page(0).OpsOf(TDrawOp::Line).size(), 9u * 4u);
  }
}

TEST(PrintGrid, RowsThatOverflowContinueAtTheTopOfANewPage) {
  // 300 + 4 rows of 48 fit in 500; the fifth row starts page 2 at y = 0.
  TGridPrint g(1, 6, 500);
  const auto& printer = g.Print.View.MemoryPrinter;
  ASSERT_EQ(printer.Pages.size(), 2u);
  const auto texts = g.Page(1).OpsOf(TDrawOp::Text);
  ASSERT_EQ(texts.size(), 2u + 6u);
  EXPECT_EQ(texts[0].Content, "Recherche");
  EXPECT_EQ(texts[1].Content, "- 2 -");
  EXPECT_EQ(texts[2].Content, "a4");
  EXPECT_EQ(texts[2].Rect, (TDrawRect{10, 0, 120, 48}));
  EXPECT_EQ(texts[5].Rect, (TDrawRect{10, 48, 120, 96}));
}

TEST(PrintGrid, CancelledDialogPrintsNothing) {
  TPrintFixture f;
  TMemoryGridSurface surface(2, 2, 0, 1);
  TMyStringGrid grid(&surface);
  f.View.Dialog = [](TPrintDialogOptions&) { return false; };
  f.Manager.PrintGrid(&grid, "Recherche");
  EXPECT_EQ(f.View.MemoryPrinter.Begun, 0);
}

}  // namespace
