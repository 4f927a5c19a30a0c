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

TEST(PrintManager, AutomaticPrintsChooseTheLetterheadPrinterByNameWhateverTheLastPrintDid) {
  struct Row {
    const char* name;
    const char* current;  // "" after a print to a PDF file
    std::vector<std::string> printers;
    const char* printedOn;  // "" when refused
  };
  const std::vector<Row> rows = {
      {"after_a_print_to_a_file", "", {"HP LaserJet", "HP Entete 2eme etage"}, "HP Entete 2eme etage"},
      {"after_a_print_on_plain_paper", "HP LaserJet", {"HP LaserJet", "Entete RDC"}, "Entete RDC"},
      {"the_letterhead_printer_already_chosen", "Entete RDC", {"Entete 2eme", "Entete RDC"}, "Entete RDC"},
      {"no_letterhead_printer", "", {"HP LaserJet"}, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TPrintFixture f;
    const std::string modele = OnePageModele(f);
    f.View.MemoryPrinter.Name = row.current;
    f.View.MemoryPrinter.Printers = row.printers;
    f.Manager.AutoPrint = true;
    f.Manager.NbCopies = 4;
    f.Manager.PrintDoc(modele, &f.Datas, false);
    EXPECT_TRUE(f.View.DialogsShown.empty());
    EXPECT_EQ(f.View.MemoryPrinter.Ended, *row.printedOn ? 1 : 0);
    if (*row.printedOn) {
      EXPECT_EQ(f.View.MemoryPrinter.Name, row.printedOn);
      EXPECT_EQ(f.View.MemoryPrinter.Copies, 4);
      EXPECT_TRUE(f.Capture.Boxes().empty());
    } else {
      EXPECT_EQ(f.Capture.Boxes(), std::vector<std::string>{"auto print sur feuille blanche"});
    }
  }
}

TEST(PrintManager, APrintOfMoreThanTwoHundredPagesIsOnlyMadeIfTheUserSaysSo) {
  struct Row {
    const char* name;
    int rows;          // 20 a page but the last (15 and the footer)
    int from, to;      // a range chosen in the dialog, 0 for all
    bool answer;
    bool asked;
    std::size_t pages;
  };
  const std::vector<Row> rows = {
      {"two_hundred_pages", 20 * 199 + 1, 0, 0, false, false, 200},
      {"two_hundred_and_one_pages_yes", 20 * 200 + 1, 0, 0, true, true, 201},
      {"two_hundred_and_one_pages_no", 20 * 200 + 1, 0, 0, false, true, 0},
      {"a_few_pages_of_a_long_document", 20 * 200 + 1, 3, 4, false, false, 2},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TPrintFixture f;
    const std::string modele = OnePageModele(f);
    f.Rows(row.rows);
    f.Capture.Dialogs.NextAnswer = row.answer;
    f.View.Dialog = [&row](TPrintDialogOptions& options) {
      options.PageRangeChosen = row.from > 0;
      options.FromPage = row.from;
      options.ToPage = row.to;
      return true;
    };
    f.Manager.PrintDoc(modele, &f.Datas, false);
    EXPECT_EQ(f.Capture.Dialogs.Questions.size(), row.asked ? 1u : 0u);
    if (row.asked) {
      EXPECT_EQ(f.Capture.Dialogs.Questions[0], "Le document compte 201 pages a imprimer. Les imprimer ?");
    }
    EXPECT_EQ(f.View.MemoryPrinter.Pages.size(), row.pages);
    EXPECT_EQ(f.View.MemoryPrinter.Begun, row.pages > 0 ? 1 : 0);
    EXPECT_EQ(f.Manager.NbCopies, 1);
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
  explicit TGridPrint(int fixedRows, int rows, int pageHeight = 2970, int copies = 1)
      : Print(2100, pageHeight), Surface(3, rows, 0, fixedRows), Grid(&Surface) {
    Grid.SetAutomatic(false);
    Print.View.MemoryPrinter.Resolution = 192;
    Print.View.MemoryPrinter.DeviceCopies = false;
    Print.View.Dialog = [copies](TPrintDialogOptions& options) {
      options.Copies = copies;
      return true;
    };
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
    ASSERT_EQ(g.Print.View.DialogsShown.size(), 1u);
    EXPECT_EQ(g.Print.View.DialogsShown[0].PdfFileName, "PDF/Recherche.pdf");
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

TEST(PrintGrid, EveryPageRowsStartBelowTheTitleAndEndAboveThePageNumber) {
  // Rows of 48 from 300 down to 30 above the page number: four rows on a
  // page 612 high (the fourth ends at 492 = 612 - 90 - 30), so ten rows make
  // three pages, and with two copies on a PDF file the three pages twice.
  for (const int copies : {1, 2}) {
    SCOPED_TRACE(copies);
    TGridPrint g(1, 10, 612, copies);
    const auto& printer = g.Print.View.MemoryPrinter;
    ASSERT_EQ(printer.Pages.size(), 3u * copies);
    const std::vector<std::vector<std::string>> firsts = {{"a0", "a3"}, {"a4", "a7"}, {"a8", "a9"}};
    for (std::size_t p = 0; p < printer.Pages.size(); ++p) {
      SCOPED_TRACE(p);
      const auto texts = g.Page(static_cast<int>(p)).OpsOf(TDrawOp::Text);
      ASSERT_GE(texts.size(), 2u + 3u);
      EXPECT_EQ(texts[0].Content, "Recherche");
      EXPECT_EQ(texts[1].Content, "- " + IntToStr(static_cast<long long>(p % 3 + 1)) + " -");
      const int titleBottom = texts[0].Rect.Bottom, numberTop = texts[1].Rect.Top;
      EXPECT_EQ(texts[2].Content, firsts[p % 3][0]);
      EXPECT_EQ(texts[2].Rect.Top, 300);
      EXPECT_EQ(texts[texts.size() - 3].Content, firsts[p % 3][1]);
      for (std::size_t t = 2; t < texts.size(); ++t) {
        EXPECT_GT(texts[t].Rect.Top, titleBottom) << texts[t].Content;
        EXPECT_LT(texts[t].Rect.Bottom, numberTop) << texts[t].Content;
      }
    }
  }
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
