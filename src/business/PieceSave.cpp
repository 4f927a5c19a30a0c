#include "PieceSave.h"

#include <cmath>
#include <filesystem>
#include <memory>
#include <system_error>
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

bool Differs(const std::string& text, const char* value) { return !text.empty() && text != value; }

// Drops the lines nobody filled: no designation and nothing but the values a
// new line starts with. The grid keeps its only line whatever it holds.
void RemoveEmptyLines(TMyStringGrid& lines) {
  const int fixedRows = lines.GetGrid()->GetFixedRows();
  int row = fixedRows;
  while (row < lines.GetRowCount()) {
    const bool filled = Differs(lines.GetCellByName(F::Quantite, row), "1") ||
                        Differs(lines.GetCellByName(F::PrixUniTTC, row), "0") ||
                        Differs(lines.GetCellByName(F::MontantTTC, row), "0");
    if (!filled && lines.GetCellByName(F::Designation, row).empty() && lines.GetRowCount() - fixedRows > 1) {
      lines.DeleteLine(row);
      continue;
    }
    ++row;
  }
}

void ReportDuplicateLines(const TMyStringGrid& lines) {
  const int fixedRows = lines.GetGrid()->GetFixedRows();
  const int codeCol = lines.GetColIndex(F::Code);
  if (codeCol < 0) return;
  for (int p = fixedRows; p < lines.GetRowCount(); ++p) {
    const std::string code = lines.GetCell(codeCol, p);
    if (code.empty()) continue;
    for (int s = p + 1; s < lines.GetRowCount(); ++s) {
      if (lines.GetCell(codeCol, s) != code) continue;
      ShowMessage("Lignes " + IntToStr(p) + " et " + IntToStr(s) + " identiques : " +
                  lines.GetCellByName(F::Designation, s));
    }
  }
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
  const int fields = sm.CountTokens(kPieceLinesFilter, ';');
  for (int p = 0; p < count; ++p) {
    table->SetData(kind.KeyField(), p, number);
    for (int i = 1; i <= fields; ++i) {
      table->SetData(sm.GetToken(kPieceLinesFilter, i, ';'), p, lines.GetCell(fixedCols + i - 1, fixedRows + p));
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
  RemoveEmptyLines(lines);
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
