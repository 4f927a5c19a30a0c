// The wholesaler order's rules on memory grids: which invoices are in
// progress, choosing them, adding up their lines per CIP code, and the
// printed layout in blocks of 44.

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "AllianceOrder.h"
#include "MemoryGridSurface.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "TestSupport.h"

namespace {

constexpr const char* kHeader = "Num Facture;Date;Code client;Societe;Port;Poids;Total HT;Total TTC\r\n";

std::string Invoice(const std::string& number, const std::string& date, const std::string& port) {
  return number + ";" + date + ";0104;PHARMACIE " + number + ";" + port + ";1,5;100,00;100,00\r\n";
}

struct TLine {
  const char* Quantite;
  const char* Code;
  const char* Designation;
};

// The window's four grids on memory surfaces (a title row and a row-number
// column each), the invoice table and a folder of line files.
class AllianceOrderTest : public ::testing::Test {
protected:
  AllianceOrderTest()
      : fInvoicesSurface(5, 2), fChosenSurface(5, 2), fArticlesSurface(4, 2), fBufferSurface(10, 2),
        fInvoices(&fInvoicesSurface), fChosen(&fChosenSurface), fArticles(&fArticlesSurface),
        fBuffer(&fBufferSurface), fOrder(fInvoices, fChosen, fArticles, fBuffer) {}

  void Load(const std::string& records, TDateTime since) {
    fFactures.reset(TMyDatabase::CreateEmpty("", "x"));
    fFactures->LoadFromText(std::string(kHeader) + records);
    fOrder.Charger(fFactures.get(), fDir.Path() + "/", since);
  }
  void Lines(const std::string& number, const std::vector<TLine>& lines) {
    std::string text = "Num Facture;Quantite;Code;Designation;Prix Uni. TTC;Montant TTC\r\n";
    for (const TLine& l : lines) text += number + ";" + l.Quantite + ";" + l.Code + ";" + l.Designation + ";1,00;1,00\r\n";
    WriteFileBytes(fDir.File(number + ".db"), text);
  }
  // Double-clicks the invoice of that number in the invoice list.
  void Choose(const std::string& number) {
    const int row = fInvoices.FindCell(number, "Num Facture").second;
    ASSERT_GE(row, 1) << number;
    fInvoices.SetRow(row);
    fOrder.Choisir();
  }
  static std::vector<std::string> Column(const TMyStringGrid& grid, const std::string& name) {
    std::vector<std::string> out;
    for (int row = 1; row < grid.GetRowCount(); ++row) out.push_back(grid.GetCellByName(name, row));
    return out;
  }
  std::vector<std::string> Articles() const {
    std::vector<std::string> out;
    for (int row = 1; row < fArticles.GetRowCount(); ++row) {
      out.push_back(fArticles.GetCellByName("Qte", row) + " " + fArticles.GetCellByName("CIP", row) + " " +
                    fArticles.GetCellByName("Designation", row));
    }
    return out;
  }

  TTraceCapture fCapture;
  TTempDir fDir;
  TMemoryGridSurface fInvoicesSurface, fChosenSurface, fArticlesSurface, fBufferSurface;
  TMyStringGrid fInvoices, fChosen, fArticles, fBuffer;
  TAllianceOrder fOrder;
  std::unique_ptr<TMyDatabase> fFactures;
};

TEST_F(AllianceOrderTest, InvoicesInProgressSinceThePickersMoment) {
  // The picker on 10/03/2026 at 09:30.
  const TDateTime since = EncodeDate(2026, 3, 10) + EncodeTime(9, 30, 0);
  struct Row {
    const char* name;
    const char* number;
    const char* date;
    const char* port;
    bool listed;
  };
  const Row rows[] = {
      {"port 0 the next day", "FA1", "11/03/2026", "0", true},
      {"port 0,00 is not the text 0", "FA2", "11/03/2026", "0,00", false},
      {"shipped", "FA3", "11/03/2026", "15", false},
      {"empty port", "FA4", "11/03/2026", "", false},
      {"the picker's own day, before its time of day", "FA5", "10/03/2026", "0", false},
      {"the day before", "FA6", "09/03/2026", "0", false},
      {"a later year", "FA7", "01/01/2027", "0", true},
      {"a date that cannot be read stays in sight", "FA8", "31/02/2026", "0", true},
  };
  std::string records;
  std::vector<std::string> expected;
  for (const Row& row : rows) {
    records += Invoice(row.number, row.date, row.port);
    if (row.listed) expected.push_back(row.number);
  }
  Load(records, since);
  EXPECT_EQ(Column(fInvoices, "Num Facture"), expected);
  EXPECT_EQ(fInvoices.GetColName(4), "Total TTC");
  // The chosen invoices start empty: titles and one empty row.
  EXPECT_EQ(Column(fChosen, "Num Facture"), std::vector<std::string>{""});

  // At midnight the same day's invoice is in; with no invoice left the list
  // keeps one empty row, without a message.
  Load(Invoice("FA5", "10/03/2026", "0"), EncodeDate(2026, 3, 10));
  EXPECT_EQ(Column(fInvoices, "Num Facture"), std::vector<std::string>{"FA5"});
  Load(Invoice("FA6", "09/03/2026", "0"), since);
  EXPECT_EQ(Column(fInvoices, "Num Facture"), std::vector<std::string>{""});
  EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(AllianceOrderTest, ChoosingAndRemovingInvoices) {
  Load(Invoice("FA1", "11/03/2026", "0") + Invoice("FA2", "12/03/2026", "0"), EncodeDate(2026, 3, 1));
  Choose("FA2");
  Choose("FA2");
  Choose("FA1");
  EXPECT_EQ(Column(fChosen, "Num Facture"), (std::vector<std::string>{"FA2", "FA1", ""}));
  EXPECT_EQ(fChosen.GetCellByName("Societe", 1), "PHARMACIE FA2");
  EXPECT_EQ(fChosen.GetCellByName("Date", 1), "12/03/2026");

  // The empty row at the end is where the next invoice goes: a double click
  // on it removes nothing.
  fChosen.SetRow(3);
  fOrder.Enlever();
  EXPECT_EQ(Column(fChosen, "Num Facture"), (std::vector<std::string>{"FA2", "FA1", ""}));
  fChosen.SetRow(1);
  fOrder.Enlever();
  EXPECT_EQ(Column(fChosen, "Num Facture"), (std::vector<std::string>{"FA1", ""}));
  Choose("FA2");
  EXPECT_EQ(Column(fChosen, "Num Facture"), (std::vector<std::string>{"FA1", "FA2", ""}));

  // Changing the date reloads the list and empties the chosen invoices.
  fOrder.Recharger(EncodeDate(2026, 3, 12));
  EXPECT_EQ(Column(fInvoices, "Num Facture"), std::vector<std::string>{"FA2"});
  EXPECT_EQ(Column(fChosen, "Num Facture"), std::vector<std::string>{""});
  EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(AllianceOrderTest, GoAddsUpTheLinesPerCip) {
  struct Row {
    const char* name;
    std::vector<TLine> first;
    std::vector<TLine> second;  // empty: the second invoice has no line file
    std::vector<std::string> articles;
    const char* label;
  };
  const Row rows[] = {
      {"3 + 3 give 6",
       {{"3", "3408919", "DOLIPRANE 1000MG"}},
       {{"3", "3408919", "DOLIPRANE 1000MG"}},
       {"6 3408919 DOLIPRAN"},
       "1 / 2"},
      {"2,5 keeps 2,5 and the second quantity is lost",
       {{"2,5", "3408919", "DOLIPRANE"}},
       {{"3", "3408919", "DOLIPRANE"}},
       {"2,5 3408919 DOLIPRAN"},
       "1 / 2"},
      {"a quantity that is no integer adds nothing",
       {{"4", "3408919", "DOLIPRANE"}},
       {{"1,5", "3408919", "DOLIPRANE"}},
       {"4 3408919 DOLIPRAN"},
       "1 / 2"},
      {"short designation taken whole, in the order met",
       {{"1", "4674592", "ASPI"}, {"2", "3408919", "B\xC9PANTH\xC8NE CR\xC8ME"}},
       {{"5", "4674592", "ASPIRINE"}},
       {"6 4674592 ASPI", "2 3408919 B\xC9PANTH\xC8"},
       "2 / 3"},
      {"a chosen invoice without line file adds nothing", {{"7", "4674592", "ASPIRINE"}}, {}, {"7 4674592 ASPIRINE"}, "1 / 1"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::remove(fDir.File("FA2.db").c_str());
    Lines("FA1", row.first);
    if (!row.second.empty()) Lines("FA2", row.second);
    Load(Invoice("FA1", "11/03/2026", "0") + Invoice("FA2", "12/03/2026", "0"), EncodeDate(2026, 3, 1));
    Choose("FA1");
    Choose("FA2");
    EXPECT_EQ(fOrder.Go(), row.label);
    EXPECT_EQ(Articles(), row.articles);
  }
  EXPECT_EQ(fArticles.GetColName(1), "Qte");

  // Nothing chosen: no article, no line, and no message.
  Load(Invoice("FA1", "11/03/2026", "0"), EncodeDate(2026, 3, 1));
  EXPECT_EQ(fOrder.Go(), "0 / 0");
  EXPECT_EQ(Articles(), std::vector<std::string>{"  "});
  EXPECT_TRUE(fCapture.Boxes().empty());
}

TEST_F(AllianceOrderTest, PrintedLayoutHasThreeBlocksOf44PerBand) {
  struct Row {
    const char* name;
    int articles;  // rows of the article list besides its title
    int bufferRows;
  };
  const Row rows[] = {
      {"130 articles: one band", 130, 46},
      {"132 rows with the title", 131, 90},
      {"133 rows: the last one starts the second band", 132, 90},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    // Listed in reverse: the layout sorts them by designation.
    std::vector<TLine> lines;
    std::vector<std::string> texts;
    texts.reserve(static_cast<std::size_t>(row.articles) * 2);
    for (int k = row.articles; k >= 1; --k) {
      texts.push_back(std::to_string(1000000 + k));
      texts.push_back("ART" + std::to_string(1000 + k));
    }
    for (std::size_t k = 0; k < texts.size(); k += 2) lines.push_back({"1", texts[k].c_str(), texts[k + 1].c_str()});
    Lines("FA1", lines);
    Load(Invoice("FA1", "11/03/2026", "0"), EncodeDate(2026, 3, 1));
    Choose("FA1");
    fOrder.Go();
    fOrder.MettreEnPage();

    EXPECT_EQ(fBuffer.GetColCount(), 10);
    EXPECT_EQ(fBuffer.GetRowCount(), row.bufferRows);
    // Titles first, in the order CIP, Qte, Designation; column 0 empty.
    EXPECT_EQ(fBuffer.GetCell(1, 0), "CIP");
    EXPECT_EQ(fBuffer.GetCell(2, 0), "Qte");
    EXPECT_EQ(fBuffer.GetCell(3, 0), "Designation");
    EXPECT_EQ(fBuffer.GetCell(0, 1), "");
    // Article rows 1, 43, 44, 88 and 131 of the sorted list.
    auto designation = [](int i) { return "ART" + std::to_string(1000 + i); };
    EXPECT_EQ(fBuffer.GetCell(3, 1), designation(1));
    EXPECT_EQ(fBuffer.GetCell(1, 1), "1000001");
    EXPECT_EQ(fBuffer.GetCell(2, 1), "1");
    EXPECT_EQ(fBuffer.GetCell(3, 43), designation(43));
    EXPECT_EQ(fBuffer.GetCell(6, 0), designation(44));
    EXPECT_EQ(fBuffer.GetCell(9, 0), designation(88));
    EXPECT_EQ(fBuffer.GetCell(9, 43), row.articles >= 131 ? designation(131) : "");
    EXPECT_EQ(fBuffer.GetCell(3, 44), row.articles >= 132 ? designation(132) : "");
    EXPECT_EQ(fBuffer.GetCell(3, 45), "");
  }
  EXPECT_TRUE(fCapture.Boxes().empty());
}

}  // namespace
