// The print commands of the main window on memory lists and the memory print
// window: which document each command prints for each list in view, the
// archive copy of a printed piece, and the keys worked out for a piece (due
// date, distributor rule, the company's VAT number, records not found).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Catalogue.h"
#include "FileUtils.h"
#include "MemoryGridSurface.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "PrintCommands.h"
#include "PrintTestSupport.h"

namespace {

const char* kLineHeader = "Num Facture;Quantite;Code;Designation;Prix Uni. TTC;Montant TTC\r\n";

// A list of the main window: titles and one data row, selected.
struct TList {
  TList(const std::string& titles, const std::vector<std::string>& row, int fixedCols = 1)
      : Surface(static_cast<int>(row.size()) + fixedCols, 2, fixedCols, 1), Grid(&Surface) {
    Grid.setTitles(titles);
    for (std::size_t i = 0; i < row.size(); ++i) Grid.SetCellForced(static_cast<int>(i) + fixedCols, 1, row[i]);
    Grid.SetRow(1);
    Grid.SetVisible(false);
  }
  TMemoryGridSurface Surface;
  TMyStringGrid Grid;
};

std::unique_ptr<TMyDatabase> Table(const std::string& text) {
  std::unique_ptr<TMyDatabase> table(TMyDatabase::CreateEmpty("", "x"));
  table->LoadFromText(text);
  return table;
}

// The installation: every template draws its own name and the keys the
// tests look at; the tables hold a few pieces and their clients.
struct TCommandFixture : TPrintFixture {
  TCommandFixture() {
    for (const char* modele : Catalogue::Modeles::All) {
      std::string name = modele;
      name = name.substr(name.rfind('/') + 1);
      std::string items = Item("Entete1", "type = Text\nText = " + name + "\nx1 = 0\nx2 = 900\ny1 = 0\ny2 = 50");
      const char* keys[] = {"NIdCEE",      "Facture.NomPharmacie", "Facture.Echeance", "Devis.NomPharmacie",
                            "Client.adr1", "Client.adr6",          "Client.Societe",   "Article.Designation",
                            "1.Designation"};
      int i = 2;
      for (const char* key : keys) {
        items += Item("Entete" + IntToStr(i), "type = Data\nDataCode = " + std::string(key) + "\nx1 = 0\nx2 = 900\ny1 = " +
                                                  IntToStr(60 * i) + "\ny2 = " + IntToStr(60 * i + 50));
        ++i;
      }
      WriteFileBytes(modele, GeneralData() + items);
    }
    WriteFileBytes(Catalogue::Settings::File, "[Entreprise]\r\n   NIdCEE = FR12812345678\r\n");
    WriteFileBytes("./Data/Factures/FA31690.db",
                   std::string(kLineHeader) + "FA31690;11;6670227;KARD\xC9GIC 75MG B/30;25,38;279,18\r\n");
    WriteFileBytes("./Data/Devis/DE1234.db", "Num Devis;Quantite;Code;Designation;Prix Uni. TTC;Montant TTC\r\n"
                                             "DE1234;2;7677125;NIVAQUINE 100MG;44,28;88,56\r\n");
    articles = Table("Code;Designation;Prix Vente\r\n7677125;NIVAQUINE 100MG CPR B/20;44,28\r\n");
    clients = Table(
        "Code;Societe;Adresse 1;Adresse 2;Adresse 3;Ville;Pays;Imm. TVA;Echeance\r\n"
        "0105;PHARMACIE SAINT-EXUP\xC9RY;RUE 12;BP 4;AKWA;DOUALA;CAMEROUN;CM123;Comptant\r\n"
        "0102;PHARMACIE DU PLATEAU;BD DE LA R\xC9PUBLIQUE;;;ABIDJAN;COTE D'IVOIRE;;Quinzaine\r\n"
        "0103;PHARMACIE DU LAC;RUE 4;;;TUNIS;TUNISIE;;30Jours\r\n"
        "0104;PHARMACIE DU PORT;QUAI 1;;;DAKAR;SENEGAL;;60Jours\r\n");
    factures = Table(
        "Num Facture;Date;Code client;Societe;Port;Total HT;Total TTC\r\n"
        "FA31690;20/07/2025;0105;PHARMACIE SAINT-EXUP\xC9RY;35;244,18;279,18\r\n"
        "FA31691;30/12/2025;0102;PHARMACIE DU PLATEAU;0;10;10\r\n"
        "FA31692;20/07/2025;0103;PHARMACIE DU LAC;0;10;10\r\n"
        "FA31693;20/07/2025;0104;PHARMACIE DU PORT;0;10;10\r\n"
        "FA31694;20/07/2025;0199;PHARMACIE INCONNUE;0;10;10\r\n"
        "FA31695;;0103;PHARMACIE DU LAC;0;10;10\r\n"
        "FA31696;20/07/2025;01(;PHARMACIE MAL SAISIE;0;10;10\r\n");
    devis = Table("Num Devis;Date;Code client;Societe;Total TTC\r\nDE1234;01/02/2026;0102;PHARMACIE DU PLATEAU;88,56\r\n");
    avoirs = Table("Num Avoir;Date;Code client;Societe;Total TTC\r\nAV123;01/02/2026;0103;PHARMACIE DU LAC;10\r\n");
    ubipharm = Table("Code\r\n0101\r\n0105\r\n");
    tables.Pieces = {articles.get(), clients.get(), factures.get(), devis.get(), avoirs.get()};
    tables.Ubipharm = ubipharm.get();
    screen.Recherche = &recherche.Grid;
    screen.Articles = &articleList.Grid;
    screen.Clients = &clientList.Grid;
    screen.Pieces[0] = &factureList.Grid;
    screen.Pieces[1] = &devisList.Grid;
    screen.Pieces[2] = &avoirList.Grid;
  }

  void Run(bool preview, bool letterhead, TPieceDocumentKind document) {
    ImprimerOuApercu(Manager, screen, tables, preview, letterhead, document, EncodeDate(2026, 12, 8) + EncodeTime(14, 5, 9));
  }

  // The non-empty texts of the first page printed or previewed.
  std::vector<std::string> FirstPage(bool preview) const {
    std::vector<std::string> texts;
    const TMemoryDrawingSurface* page = nullptr;
    if (preview) page = View.Previews[0].get();
    else if (!View.MemoryPrinter.Pages.empty()) page = View.MemoryPrinter.Pages[0].get();
    if (page == nullptr) return texts;
    for (const std::string& t : page->Texts())
      if (!t.empty()) texts.push_back(t);
    return texts;
  }

  std::unique_ptr<TMyDatabase> articles, clients, factures, devis, avoirs, ubipharm;
  TPrintTables tables;
  TList recherche{"Num Facture;Societe", {"FA31690", "PHARMACIE SAINT-EXUP\xC9RY"}, 0};
  TList articleList{"Code;Designation", {"7677125", "NIVAQUINE 100MG CPR B/20"}};
  TList clientList{"Code;Societe", {"0102", "PHARMACIE DU PLATEAU"}};
  TList factureList{"Num Facture;Date;Code client", {"FA31690", "20/07/2025", "0105"}};
  TList devisList{"Num Devis;Date;Code client", {"DE1234", "01/02/2026", "0102"}};
  TList avoirList{"Num Avoir;Date;Code client", {"AV123", "01/02/2026", "0103"}};
  TPrintScreen screen;
};

TEST(PrintCommands, EachCommandPrintsTheDocumentOfTheListInView) {
  using K = TPieceDocumentKind;
  struct Row {
    const char* name;
    std::vector<TMyStringGrid* TPrintScreen::*> visible;  // Pieces are given by index below
    int pieceList;                                        // -1: none
    K document;
    bool letterhead, preview, cancel;
    const char* printed;  // the template drawn, "Recherche" for the grid, "" for nothing
    const char* archive;  // the archive file written, "" for none
    const char* pdf;      // the PDF file the dialog proposes, "" without a dialog
  };
  const char* kFA = "./Data/Elements imprimes/FA3169008-12-2026-14-05-09.db";
  const char* kDE = "./Data/Elements imprimes/DE123408-12-2026-14-05-09.db";
  const std::vector<Row> rows = {
      {"invoice", {}, 0, K::Piece, false, false, false, "ModeleFacture.ini", kFA, "PDF/FA31690.pdf"},
      {"invoice_letterhead", {}, 0, K::Piece, true, false, false, "ModeleFactureAvecLogo.ini", kFA, "PDF/FA31690.pdf"},
      {"invoice_preview", {}, 0, K::Piece, false, true, false, "ModeleFacture.ini", kFA, ""},
      {"invoice_dialog_cancelled_still_archived", {}, 0, K::Piece, false, false, true, "", kFA, "PDF/FA31690.pdf"},
      {"invoice_preparation_ignores_letterhead", {}, 0, K::Preparation, true, false, false,
       "ModeleBonDePreparation.ini", kFA, "PDF/FA31690 Preparation.pdf"},
      {"quote_letterhead", {}, 1, K::Piece, true, false, false, "ModeleDevisAvecLogo.ini", kDE, "PDF/DE1234.pdf"},
      {"quote_order_form", {}, 1, K::Commande, true, false, false, "ModeleCommande.ini", kDE, "PDF/DE1234 Commande.pdf"},
      {"credit_note", {}, 2, K::Piece, false, false, false, "ModeleAvoir.ini", "", "PDF/AV123.pdf"},
      {"client_list_preparation_prints_the_client_sheet", {&TPrintScreen::Clients}, -1, K::Preparation, false, false,
       false, "ModeleClient.ini", "", "PDF/0102.pdf"},
      {"article_list_order_form_prints_the_article_sheet", {&TPrintScreen::Articles}, -1, K::Commande, true, true,
       false, "ModeleArticle.ini", "", ""},
      {"search_results_over_the_invoices", {&TPrintScreen::Recherche}, 0, K::Piece, false, false, false, "Recherche",
       "", "PDF/Recherche.pdf"},
      {"nothing_in_view", {}, -1, K::Piece, false, false, false, "", "", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TCommandFixture f;
    for (auto list : row.visible) (f.screen.*list)->SetVisible(true);
    if (row.pieceList >= 0) f.screen.Pieces[row.pieceList]->SetVisible(true);
    f.View.Dialog = [&row](TPrintDialogOptions&) { return !row.cancel; };
    f.Run(row.preview, row.letterhead, row.document);

    const std::vector<std::string> page = f.FirstPage(row.preview);
    if (*row.printed == '\0') {
      EXPECT_TRUE(page.empty());
    } else {
      ASSERT_FALSE(page.empty());
      EXPECT_EQ(page[0], row.printed);
    }
    const std::vector<std::string> archived = ListFiles(Catalogue::ElementsImprimes::Folder, "*.*");
    if (*row.archive == '\0') {
      EXPECT_TRUE(archived.empty());
    } else {
      ASSERT_EQ(archived.size(), 1u);
      EXPECT_EQ(std::string(Catalogue::ElementsImprimes::Folder) + archived[0], row.archive);
      const std::string source = row.pieceList == 0 ? "./Data/Factures/FA31690.db" : "./Data/Devis/DE1234.db";
      EXPECT_EQ(ReadFileBytes(row.archive), ReadFileBytes(source)) << "the lines as they were read";
    }
    if (*row.pdf == '\0') {
      EXPECT_TRUE(f.View.DialogsShown.empty());
    } else {
      ASSERT_EQ(f.View.DialogsShown.size(), 1u);
      EXPECT_EQ(f.View.DialogsShown[0].PdfFileName, row.pdf);
    }
    EXPECT_FALSE(f.recherche.Grid.GetVisible()) << "the search results are hidden after any print";
    EXPECT_TRUE(f.Capture.Boxes().empty()) << f.Capture.Boxes().front();
  }
}

TEST(PrintCommands, PieceKeysFollowTheClientAndTheSettings) {
  struct Row {
    const char* name;
    const char* number;
    bool preparation;
    std::vector<std::string> texts;  // after the template's name
    std::vector<std::string> boxes;
    const char* title;
  };
  const std::vector<Row> rows = {
      {"distributor_cash", "FA31690", false,
       {"FR12812345678", "LABOREX C.I.", "27/07/2025", "VIA PHARMACIE SAINT-EXUP\xC9RY", "CAMEROUN",
        "KARD\xC9GIC 75MG B/30"},
       {}, "FA31690-LABOREX C.I."},
      {"distributor_preparation_keeps_the_client_name", "FA31690", true,
       {"FR12812345678", "PHARMACIE SAINT-EXUP\xC9RY", "27/07/2025", "VIA PHARMACIE SAINT-EXUP\xC9RY", "CAMEROUN",
        "KARD\xC9GIC 75MG B/30"},
       {}, "FA31690-PHARMACIE SAINT-EXUP\xC9RY"},
      // Fifteen days across the new year; five address lines, no line file.
      {"fortnight_over_the_year_end", "FA31691", false,
       {"FR12812345678", "PHARMACIE DU PLATEAU", "14/01/2026", "BD DE LA R\xC9PUBLIQUE"}, {}, nullptr},
      {"thirty_days", "FA31692", false, {"FR12812345678", "PHARMACIE DU LAC", "19/08/2025", "RUE 4"}, {}, nullptr},
      {"unknown_term_says_so_and_counts_thirty", "FA31693", false,
       {"FR12812345678", "PHARMACIE DU PORT", "19/08/2025", "QUAI 1"},
       {"Echeance non valide, Parametrage \xE0 30 jours"}, nullptr},
      {"client_not_found_still_printed", "FA31694", false, {"FR12812345678", "PHARMACIE INCONNUE", "19/08/2025"},
       {"*ERROR*TQuorix_Form.ImprimerOuApercu / Piece : Impossible de trouver Client : 0199"}, nullptr},
      // A code that is no valid pattern finds no client and no distributor.
      {"client_code_with_pattern_characters", "FA31696", false,
       {"FR12812345678", "PHARMACIE MAL SAISIE", "19/08/2025"},
       {"*ERROR*TQuorix_Form.ImprimerOuApercu / Piece : Impossible de trouver Client : 01("}, nullptr},
      {"piece_without_a_date_has_no_due_date", "FA31695", false, {"FR12812345678", "PHARMACIE DU LAC", "RUE 4"}, {},
       nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TCommandFixture f;
    f.factureList.Grid.SetCellForced(1, 1, row.number);
    f.factureList.Grid.SetVisible(true);
    f.Run(false, false, row.preparation ? TPieceDocumentKind::Preparation : TPieceDocumentKind::Piece);
    std::vector<std::string> expected = {row.preparation ? "ModeleBonDePreparation.ini" : "ModeleFacture.ini"};
    expected.insert(expected.end(), row.texts.begin(), row.texts.end());
    EXPECT_EQ(f.FirstPage(false), expected);
    EXPECT_EQ(f.Capture.Boxes(), row.boxes);
    if (row.title != nullptr) {
      EXPECT_EQ(f.View.MemoryPrinter.Title, row.title);
    }
  }
}

TEST(PrintCommands, PreparationSheetWithoutItsBarcodePictureIsPrintedWithoutIt) {
  // The sheet shows the piece's barcode picture, which only some pieces have
  // (FA31690 gives "Code Barre 2690.jpg").
  const std::string jpeg = std::string("\xFF\xD8\xFF\xE0", 4) + "JFIF";
  for (const bool made : {false, true}) {
    SCOPED_TRACE(made ? "picture made" : "no picture");
    TCommandFixture f;
    WriteFileBytes(Catalogue::Modeles::BonDePreparation,
                   GeneralData() + Item("Entete1", "type = Text\nText = PREPARATION\nx1 = 0\nx2 = 900\ny1 = 0\ny2 = 50") +
                       Item("Logo1", "type = Image\nfilename = CodeBarreFilename\nx1 = 1250\nx2 = 1950\ny1 = 110\ny2 = 380"));
    std::filesystem::create_directories("./Data/Barcodes");
    if (made) WriteFileBytes("./Data/Barcodes/Code Barre 2690.jpg", jpeg);
    std::vector<std::string> signals;
    f.screen.Signal = [&signals](const std::string& text, TColor) { signals.push_back(text); };
    f.factureList.Grid.SetVisible(true);
    f.View.MemoryPrinter.DeviceCopies = false;
    f.View.Dialog = [](TPrintDialogOptions& options) {
      options.Copies = 2;
      return true;
    };
    f.Run(false, false, TPieceDocumentKind::Preparation);
    EXPECT_TRUE(f.Capture.Boxes().empty()) << f.Capture.Boxes().front();
    ASSERT_EQ(f.View.MemoryPrinter.Pages.size(), 2u);
    EXPECT_EQ(f.View.MemoryPrinter.Ended, 1);
    EXPECT_EQ(f.View.MemoryPrinter.Pages[1]->Texts(), std::vector<std::string>{"PREPARATION"});
    EXPECT_EQ(f.View.MemoryPrinter.Pages[1]->OpsOf(TDrawOp::Picture).size(), made ? 1u : 0u);
    if (made) {
      EXPECT_TRUE(signals.empty());
    } else {
      EXPECT_EQ(signals, std::vector<std::string>{"Bon de preparation FA31690 imprime sans code barre : image absente "
                                                  "./data/Barcodes/Code Barre 2690.jpg"});
    }
  }
}

TEST(PrintCommands, RecordSheetsAndSettingsThatAreMissing) {
  TCommandFixture f;
  // No "Entreprise" section: the place stays blank, nothing is shown.
  WriteFileBytes(Catalogue::Settings::File, "[Connexion]\r\n   InformerIP = 127.0.0.1\r\n");
  EXPECT_EQ(ReadNIdCEE(Catalogue::Settings::File), "");
  EXPECT_EQ(ReadNIdCEE("./Data/absent.ini"), "");
  EXPECT_TRUE(f.Capture.Boxes().empty());

  f.clientList.Grid.SetCellForced(1, 1, "0999");
  f.clientList.Grid.SetVisible(true);
  f.Run(false, false, TPieceDocumentKind::Piece);
  EXPECT_EQ(f.Capture.Boxes(),
            (std::vector<std::string>{"*ERROR*TQuorix_Form.ImprimerOuApercu : Impossible de trouver Client : 0999"}));
  EXPECT_EQ(f.FirstPage(false), (std::vector<std::string>{"ModeleClient.ini"}));
  EXPECT_EQ(f.View.MemoryPrinter.Title, "-");

  f.Capture.Clear();
  f.clientList.Grid.SetVisible(false);
  f.articleList.Grid.SetVisible(true);
  f.Run(false, false, TPieceDocumentKind::Piece);
  EXPECT_TRUE(f.Capture.Boxes().empty());
  EXPECT_EQ(f.FirstPage(false), (std::vector<std::string>{"ModeleArticle.ini", "NIVAQUINE 100MG CPR B/20"}));
}

}  // namespace
