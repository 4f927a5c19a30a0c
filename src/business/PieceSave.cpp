#include "PieceSave.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <unordered_map>
#include <vector>

#include "Catalogue.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "PieceTrash.h"
#include "StringManager.h"
#include "Trace.h"

namespace F = Catalogue::Field;

namespace {

constexpr const char* kRedFields = "Veuillez corriger les champs en rouge";
constexpr const char* kSaveUnit = "TQuorix_Form.FactureOK_ButtonClick:";
// The pairs of identical lines the box lists; the others are counted.
constexpr int kListedPairs = 20;

bool Differs(const std::string& text, const char* value) { return !text.empty() && text != value; }

// The lines nobody filled: no designation and nothing but the values a new
// line starts with. The grid keeps its only line whatever it holds (of lines
// all empty, the last one stays). One pass: an imported order may have
// hundreds of thousands of lines.
std::vector<int> EmptyLines(TMyStringGrid& lines) {
  const int fixedRows = lines.GetGrid()->GetFixedRows();
  const int quantite = lines.GetColIndex(F::Quantite);
  const int prix = lines.GetColIndex(F::PrixUniTTC);
  const int montant = lines.GetColIndex(F::MontantTTC);
  const int designation = lines.GetColIndex(F::Designation);
  auto cell = [&](int col, int row) { return col >= 0 ? lines.GetCell(col, row) : std::string(); };
  std::vector<int> empty;
  for (int row = fixedRows; row < lines.GetRowCount(); ++row) {
    const bool filled = Differs(cell(quantite, row), "1") || Differs(cell(prix, row), "0") ||
                        Differs(cell(montant, row), "0");
    if (!filled && cell(designation, row).empty()) empty.push_back(row);
  }
  if (static_cast<int>(empty.size()) == lines.GetRowCount() - fixedRows) empty.pop_back();
  return empty;
}

// A line that would be dropped though a code was typed in it: its article
// was never looked up ("Ok" clicked while still in the cell). Dropping it
// would lose the line without a word; the save stops and names it.
bool ReportUnsearchedCode(TMyStringGrid& lines, const std::vector<int>& empty) {
  const int codeCol = lines.GetColIndex(F::Code);
  if (codeCol < 0) return false;
  for (const int row : empty) {
    const std::string code = StringManager().TrimChar(lines.GetCell(codeCol, row), ' ');
    if (code.empty()) continue;
    ShowMessage("Ligne " + IntToStr(row) + " : le code " + code +
                " n'a pas de designation (article non recherche), rien n'est enregistre");
    return true;
  }
  return false;
}

// Every pair of lines with the same code, in one box: the first pairs by
// their first line then their second, and how many there are. One pass over
// the lines, whatever their number.
void ReportDuplicateLines(const TMyStringGrid& lines) {
  const int fixedRows = lines.GetGrid()->GetFixedRows();
  const int codeCol = lines.GetColIndex(F::Code);
  if (codeCol < 0) return;
  const int rows = lines.GetRowCount();
  // For each code its last line so far and how many lines have it; for each
  // line the next one with the same code.
  struct TSeen {
    int Last;
    long long Count;
  };
  std::unordered_map<std::string, TSeen> seen;
  seen.reserve(static_cast<std::size_t>(std::max(rows - fixedRows, 0)));
  std::vector<int> nextSame(static_cast<std::size_t>(std::max(rows, 0)), -1);
  long long pairs = 0;
  for (int row = fixedRows; row < rows; ++row) {
    std::string code = lines.GetCell(codeCol, row);
    if (code.empty()) continue;
    const auto [found, added] = seen.try_emplace(std::move(code), TSeen{row, 0});
    if (!added) nextSame[static_cast<std::size_t>(found->second.Last)] = row;
    pairs += found->second.Count;
    found->second.Last = row;
    ++found->second.Count;
  }
  if (pairs == 0) return;

  std::string text;
  int listed = 0;
  for (int p = fixedRows; p < rows && listed < kListedPairs; ++p) {
    for (int s = nextSame[static_cast<std::size_t>(p)]; s >= 0 && listed < kListedPairs;
         s = nextSame[static_cast<std::size_t>(s)]) {
      if (!text.empty()) text += "\n";
      text += "Lignes " + IntToStr(p) + " et " + IntToStr(s) + " identiques : " + lines.GetCellByName(F::Designation, s);
      ++listed;
    }
  }
  if (pairs > 1) {
    text += "\n" + IntToStr(pairs) + " paires de lignes identiques";
    if (pairs > listed) text += ", les " + IntToStr(listed) + " premieres ci-dessus";
  }
  ShowMessage(text);
}

bool HasRedCell(const TMyStringGrid& lines) {
  for (int col = lines.GetGrid()->GetFixedCols(); col < lines.GetColCount(); ++col) {
    for (int row = lines.GetGrid()->GetFixedRows(); row < lines.GetRowCount(); ++row) {
      if (lines.GetCellColor(col, row) == clErrorRed) return true;
    }
  }
  return false;
}

// The line file of the piece, written whole from the grid: the key column
// repeats the number, then the grid's data columns in their order.
bool WriteLineFile(const TMyStringGrid& lines, const TPieceKind& kind, const std::string& number) {
  const std::string file = kind.LineFile(number);
  std::unique_ptr<TMyDatabase> table(TMyDatabase::CreateEmpty(file, kind.LineFields()));
  TStringManager& sm = StringManager();
  const int fixedRows = lines.GetGrid()->GetFixedRows();
  const int fixedCols = lines.GetGrid()->GetFixedCols();
  const int count = lines.GetRowCount() - fixedRows;
  table->SetRecordCount(count);
  // The field of each grid column, looked up once for all the lines.
  std::vector<int> fields;
  for (int i = 1; i <= sm.CountTokens(kPieceLinesFilter, ';'); ++i) {
    fields.push_back(table->GetFieldPos(sm.GetToken(kPieceLinesFilter, i, ';')));
  }
  const int key = table->GetFieldPos(kind.KeyField());
  for (int p = 0; p < count; ++p) {
    table->SetData(key, p, number);
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (fields[i] >= 0) table->SetData(fields[i], p, lines.GetCell(fixedCols + static_cast<int>(i), fixedRows + p));
    }
  }
  std::error_code ec;
  std::filesystem::create_directories(kind.LineFolder(), ec);
  if (!table->Save()) {
    Error(std::string(kSaveUnit) + "Ecriture impossible de " + file);
    return false;
  }
  return true;
}

// Points out the client's pieces of the last thirty days (either way) that
// share most of their articles with this one: probably the same order typed
// twice. An older piece whose date cannot be read is passed over.
void WarnSimilarPieces(const TPieceToSave& piece) {
  TMyDatabase& header = *piece.HeaderTable;
  const TPieceKind& kind = *piece.Kind;
  TStringManager& sm = StringManager();
  header.Query(F::CodeClient, piece.CodeClient, Exact);
  std::vector<int> records;
  for (int i = 0; i < header.QueryResultCount(); ++i) records.push_back(header.QueryGetDataIndex(i));
  const int keyField = header.GetFieldPos(kind.KeyField());
  const int dateField = header.FieldExists(F::Date) ? header.GetFieldPos(F::Date) : -1;
  if (keyField < 0) return;
  for (const int record : records) {
    const std::string other = header.DBGetString(keyField, record);
    if (other == piece.Number) continue;
    TDateTime otherDate = 0;
    if (dateField < 0 || !TryStrToDate(header.DBGetString(dateField, record), otherDate)) {
      Trace("Similitude : date illisible pour " + other);
      continue;
    }
    if (std::fabs(std::trunc(piece.PieceDate - otherDate)) > 30) continue;
    if (&kind == &PieceKinds::Facture && !(sm.IsFactureNumber(other) && sm.IsFactureNumber(piece.Number))) continue;
    if (PieceSimilarity(kind, other, piece.Number) > 85) ShowMessage("ATTENTION : similitude poussee avec " + other);
  }
}

// A piece saved under a new number gives up its old one: the old line file
// goes to the trash beside older copies, with the old header record, and only
// then is that record deleted. Files that cannot go to the trash leave the
// old piece as it was (it then exists under both numbers, nothing lost), and
// one box says so.
void RetireLoadedNumber(const TPieceToSave& piece) {
  TMyDatabase& header = *piece.HeaderTable;
  header.Query(piece.Kind->KeyField(), piece.LoadedNumber, Exact);
  const int old = header.QueryResultCount() == 1 ? header.QueryGetDataIndex(0) : -1;
  std::string failed;
  if (!TrashPiece(*piece.Kind, header, old, piece.LoadedNumber, failed)) {
    ShowMessage(TrashFailureMessage(piece.LoadedNumber, failed));
    return;
  }
  if (old >= 0) header.Delete(old);
}

TPieceSaveResult SaveChecked(TMyStringGrid& lines, const TPieceToSave& piece) {
  TMyDatabase& header = *piece.HeaderTable;
  const TPieceKind& kind = *piece.Kind;
  const std::string key = kind.KeyField();

  // The record of the number is found, or made, before anything of the piece
  // as it was is given up: a refused save must leave a renumbered piece under
  // its old number, record and line file intact.
  header.Query(key, piece.Number, Exact);
  if (header.QueryResultCount() >= 2) {
    Error(std::string(kSaveUnit) + "Nombre de pieces non conforme");
    return TPieceSaveResult::Failed;
  }
  int record = -1;
  int added = -1;
  if (header.QueryResultCount() == 0) {
    added = header.AddRecord();
    if (added >= 0) header.SetData(key, added, piece.Number);
    header.Query(key, piece.Number, Exact);
    if (header.QueryResultCount() == 0) {
      if (added >= 0 && added < header.RecordCount()) header.Delete(added);
      Error(std::string(kSaveUnit) + "Probleme a la creation nouvelle piece");
      return TPieceSaveResult::Failed;
    }
  }
  record = header.QueryGetDataIndex(0);

  if (!WriteLineFile(lines, kind, piece.Number)) {
    if (added >= 0) header.Delete(added);
    return TPieceSaveResult::Failed;
  }

  if (!piece.LoadedNumber.empty() && piece.LoadedNumber != piece.Number) RetireLoadedNumber(piece);

  header.SetData(key, record, piece.Number);
  header.SetData(F::Date, record, piece.Date);
  header.SetData(F::CodeClient, record, piece.CodeClient);
  header.SetData(F::Societe, record, piece.Societe);
  header.SetData(F::Port, record, piece.Port);
  header.SetData(F::Poids, record, piece.Poids);
  header.SetData(F::TotalHT, record, piece.TotalHT);
  header.SetData(F::TotalTTC, record, piece.TotalTTC);
  if (!header.Save()) {
    Error(std::string(kSaveUnit) + "Ecriture impossible de " + header.GetFileName());
    return TPieceSaveResult::Failed;
  }

  WarnSimilarPieces(piece);
  return TPieceSaveResult::Saved;
}

}  // namespace

TPieceSaveResult SavePieceSequence(TMyStringGrid& lines, const TPieceToSave& piece) {
  if (piece.Kind == nullptr || piece.HeaderTable == nullptr) {
    Error(std::string(kSaveUnit) + "Piece non reconnue");
    return TPieceSaveResult::Failed;
  }
  const std::vector<int> empty = EmptyLines(lines);
  if (ReportUnsearchedCode(lines, empty)) return TPieceSaveResult::Failed;
  if (!empty.empty()) lines.DeleteLines(empty);
  ReportDuplicateLines(lines);
  if (HasRedCell(lines) || piece.RedEdit) {
    ShowMessage(kRedFields);
    return TPieceSaveResult::RedFields;
  }
  try {
    return SaveChecked(lines, piece);
  } catch (const ERegExError& e) {
    // A number typed with pattern characters: the query that would have
    // found its record cannot run, and nothing has been written.
    ShowMessage(e.Message);
    return TPieceSaveResult::Failed;
  }
}

double PieceSimilarity(const TPieceKind& kind, const std::string& other, const std::string& self) {
  TMyDatabase otherLines(kind.LineFile(other));
  TMyDatabase selfLines(kind.LineFile(self));
  selfLines.QueryAll();
  const int selfCount = selfLines.QueryResultCount();
  otherLines.QueryAll();
  std::vector<std::string> codes;
  for (int i = 0; i < otherLines.QueryResultCount(); ++i) codes.push_back(otherLines.GetQueryResultString(F::Code, i));
  int common = 0;
  for (const std::string& code : codes) {
    selfLines.Query(F::Code, code, Exact);
    if (selfLines.QueryResultCount() > 0) ++common;
  }
  const int total = static_cast<int>(codes.size()) + selfCount;
  if (total == 0) return 0;
  return common * 200.0 / total;
}
