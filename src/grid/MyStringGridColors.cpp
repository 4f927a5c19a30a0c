// Cell typing, colour constraints and the painting of a managed grid.

#include <algorithm>

#include "Catalogue.h"
#include "Cp1252.h"
#include "FieldText.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "StringManager.h"
#include "Trace.h"

namespace {

bool IsEmptyText(const std::string& t) { return t.empty(); }

}  // namespace

bool TMyStringGrid::ReferenceLookup(TReference& reference, const char* fileName, const char* field,
                                    const std::string& text) {
  auto known = reference.Answers.find(text);
  if (known != reference.Answers.end()) return known->second;
  if (!reference.Table) reference.Table = std::make_unique<TMyDatabase>(fileName);
  // The lists hold their names in capitals, those typed with an accent
  // written both with and without it.
  const std::string upper = UpperCaseAToZ(text);
  // An Exact query is the search for "^" + text + "$", answered from the
  // index when the text holds no pattern character.
  bool listed = false;
  try {
    reference.Table->Query(field, upper, Exact);
    listed = reference.Table->QueryResultCount() >= 1;
  } catch (const ERegExError&) {
    // A text that is not a valid expression ("COTE D'IVOIRE (ABIDJAN)") names
    // nothing in the list. Raising the pattern error here would abandon
    // every fill, sort and paint of the grid that holds it.
    listed = false;
  }
  // The tables are read once per grid and never change under it, so an
  // answer stays true; the memory is bounded all the same.
  if (reference.Answers.size() >= 4096) reference.Answers.clear();
  reference.Answers.emplace(text, listed);
  return listed;
}

bool TMyStringGrid::CheckType(const std::string& text, int code) {
  TStringManager& sm = StringManager();
  // Only the space character is stripped; a tab stays part of the text.
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && text[first] == ' ') ++first;
  while (last > first && text[last - 1] == ' ') --last;
  std::string stripped;
  const bool whole = first == 0 && last == text.size();
  if (!whole) stripped.assign(text, first, last - first);
  const std::string& t = whole ? text : stripped;

  auto isReal = [&] { return sm.IsReal(t); };
  auto value = [&] { return sm.MyStrToFloat(t); };
  auto isInteger = [&] { return sm.IsInteger(t); };
  auto intValue = [&] { return sm.MyStrToFloat(t); };
  auto clientCode = [&] { return sm.IsDigits(t) && t.size() == 4; };
  auto pays = [&] { return ReferenceLookup(fPaysDb, Catalogue::ListePays::File, Catalogue::ListePays::NomPays, t); };
  auto psycho = [&] {
    return ReferenceLookup(fPsychotropesDb, Catalogue::ListePsychotropes::File,
                           Catalogue::ListePsychotropes::CIPPsychotrope, t);
  };
  auto realBeingTyped = [&] {
    if (isReal()) return true;
    if (t.size() < 2 || t.back() != sm.DecimalSeparator()) return false;
    return sm.IsInteger(t.substr(0, t.size() - 1));
  };
  auto countryOrEmpty = [&] { return IsEmptyText(t) || pays(); };

  switch (code) {
    case ctInteger: return isInteger();
    case ctReal: return isReal();
    case ctBoolean: return sm.IsBoolean(t);
    case ctAnyText: return true;
    case ctNoText: return false;
    case ctEmpty: return IsEmptyText(t);
    case ctNotEmpty: return !IsEmptyText(t);
    case ctShadedRow: return true;
    case ctNaturalInteger: return isInteger() && intValue() >= 0;
    case ctPositiveInteger: return isInteger() && intValue() > 0;
    case ctNonPositiveInteger: return isInteger() && intValue() <= 0;
    case ctIntegerOrEmpty: return isInteger() || IsEmptyText(t);
    case ctDigits: return sm.IsDigits(t);
    case ctNonNegativeReal: return isReal() && value() >= 0;
    case ctNonNegativeRealOrEmpty: return IsEmptyText(t) || (isReal() && value() >= 0);
    case ctPositiveReal: return isReal() && value() > 0;
    case ctRealBeingTyped: return realBeingTyped();
    case ctRealBeingTypedOrEmpty: return realBeingTyped() || IsEmptyText(t);
    case ctRealOfAtLeastOne: return isReal() && value() >= 1;
    case ctNonPositiveReal: return isReal() && value() <= 0;
    case ctNegativeReal: return isReal() && value() < 0;
    case ctPhoneOrEmpty: return sm.IsPhone(t) || IsEmptyText(t);
    case ctEmailOrEmpty: return sm.IsEmail(t) || IsEmptyText(t);
    case ctListedCountry: return pays();
    case ctThirteenCharacters: return t.size() == 13;
    case ctClientCode: return clientCode();
    case ctCIP: return sm.IsCIP(t);
    case ctDate: return sm.IsDate(t);
    case ctCIPNotPsychotrope: return sm.IsCIP(t) && !psycho();
    case ctPsychotropeIfCIP: return sm.IsCIP(t) ? psycho() : true;
    case ctPsychotrope: return psycho();
    case ctStupefiant:
      return ReferenceLookup(fStupefiantsDb, Catalogue::ListeStupefiants::File,
                             Catalogue::ListeStupefiants::CIPStupefiant, t);
    case ctPsychotropeIfCIPOrEmpty: return (sm.IsCIP(t) || IsEmptyText(t)) ? psycho() : true;
    case ctParapharmacy: return sm.IsCIP(t) && t[0] != '3';
    case ctFactureNumber: return sm.IsFactureNumber(t);
    case ctDevisNumber: return sm.IsDevisNumber(t);
    case ctAvoirNumber: return sm.IsAvoirNumber(t);
    case ctNotReal: return !isReal();
    case ctNotDigits: return !sm.IsDigits(t);
    case ctNotPhone: return !sm.IsPhone(t);
    case ctNotCIP: return !sm.IsCIP(t);
    case ctNotClientCode: return !clientCode();
    case ctNotClientCodeNorEmpty: return !clientCode() && !IsEmptyText(t);
    case ctNotPhoneNorEmpty: return !sm.IsPhone(t) && !IsEmptyText(t);
    case ctNotCIPNorEmpty: return !sm.IsCIP(t) && !IsEmptyText(t);
    case ctNotRealOfAtLeastOne: return !(isReal() && value() >= 1);
    case ctNotFactureNumberNorEmpty: return !sm.IsFactureNumber(t) && !IsEmptyText(t);
    case ctNotDevisNumberNorEmpty: return !sm.IsDevisNumber(t) && !IsEmptyText(t);
    case ctNotAvoirNumberNorEmpty: return !sm.IsAvoirNumber(t) && !IsEmptyText(t);
    case ctNotEmailNorEmpty: return !sm.IsEmail(t) && !IsEmptyText(t);
    case ctNotDate: return !sm.IsDate(t);
    case ctNotInteger: return !isInteger();
    case ctListedCountryOrEmpty: return countryOrEmpty();
    case ctNotListedCountryNorEmpty: return !countryOrEmpty();
    case ctFieldBreak: return HoldsFieldBreak(text);
    default:
      Trace("TMyStringGrid.CheckType: Analyse de ce type pas encore implémentée");
      return false;
  }
}

void TMyStringGrid::AddColColorConstraint(int col, int code, TColor color) {
  if (col < 0 || col >= fGrid->GetColCount() || col >= static_cast<int>(fColorConstraints.size())) {
    ErrorInt("TMyStringGrid.AddColColorConstraint : Bad Col Param : ", col);
    return;
  }
  const TColorConstraint constraint{static_cast<std::uint8_t>(code), color};
  // The cells of a column nearly always share one list, so the last answer
  // of the pool is reused instead of looking it up for every row.
  TConstraintsHandle lastFrom = 0;
  TConstraintsHandle lastTo = fConstraints.Append(0, constraint);
  for (auto& handle : fColorConstraints[static_cast<std::size_t>(col)]) {
    if (handle != lastFrom) {
      lastFrom = handle;
      lastTo = fConstraints.Append(handle, constraint);
    }
    handle = lastTo;
  }
  RecolourColumnLater(col);
}

void TMyStringGrid::AddRowColorConstraint(int row, int code, TColor color) {
  if (row < 0 || row >= fGrid->GetRowCount() || fColorConstraints.empty() ||
      row >= static_cast<int>(fColorConstraints[0].size())) {
    ErrorInt("TMyStringGrid.AddRowColorConstraint : Bad Row Param : ", row);
    return;
  }
  const TColorConstraint constraint{static_cast<std::uint8_t>(code), color};
  for (auto& column : fColorConstraints) {
    auto& handle = column[static_cast<std::size_t>(row)];
    handle = fConstraints.Append(handle, constraint);
  }
  for (int col = 0; col < static_cast<int>(fColorConstraints.size()); ++col) {
    InitColors(col, row);
    ExecuteColorconstraints(col, row);
  }
}

void TMyStringGrid::ReplaceRowColorConstraint(int row, int code, TColor color) {
  if (row < 0 || row >= fGrid->GetRowCount() || fColorConstraints.empty() ||
      row >= static_cast<int>(fColorConstraints[0].size())) {
    ErrorInt("TMyStringGrid.ReplaceRowColorConstraint : Bad Row Param : ", row);
    return;
  }
  const auto r = static_cast<std::size_t>(row);
  const std::vector<TColorConstraint>& first = fConstraints.Get(fColorConstraints[0][r]);
  bool replace = !first.empty() && first.back().Type == code;
  for (std::size_t col = 1; replace && col < fColorConstraints.size(); ++col) {
    const std::vector<TColorConstraint>& list = fConstraints.Get(fColorConstraints[col][r]);
    replace = !list.empty() && list.back() == first.back();
  }
  if (!replace) {
    AddRowColorConstraint(row, code, color);
    return;
  }
  const TColorConstraint constraint{static_cast<std::uint8_t>(code), color};
  for (auto& column : fColorConstraints) column[r] = fConstraints.ReplaceLast(column[r], constraint);
  for (int col = 0; col < static_cast<int>(fColorConstraints.size()); ++col) {
    InitColors(col, row);
    ExecuteColorconstraints(col, row);
  }
}

void TMyStringGrid::ClearColorConstraints() {
  for (auto& column : fColorConstraints) std::fill(column.begin(), column.end(), 0);
}

void TMyStringGrid::InitColors(int col, int row) {
  if (!fColorsOn) return;
  if (!InGrid(col, row) || !InArrays(col, row)) {
    ErrorIntInt("TMyStringGrid.InitColors: Bad Params ", col, row);
    return;
  }
  fGridBackColor[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)] = fDefaultColor;
}

void TMyStringGrid::InitColors(int col) {
  if (!fColorsOn) return;
  if (col < 0 || col >= static_cast<int>(fGridBackColor.size()) || col >= fGrid->GetColCount()) {
    // One report for the column rather than one box per row.
    ErrorIntInt("TMyStringGrid.InitColors: Bad Params ", col, 0);
    return;
  }
  auto& column = fGridBackColor[static_cast<std::size_t>(col)];
  std::fill(column.begin(), column.end(), fDefaultColor);
}

void TMyStringGrid::InitColors() {
  if (!fColorsOn) return;
  for (auto& column : fGridBackColor) std::fill(column.begin(), column.end(), fDefaultColor);
}

void TMyStringGrid::ExecuteColorconstraints(int col, int row) {
  if (!fColorsOn) return;
  if (col < 0 || col >= fGrid->GetColCount() || col >= static_cast<int>(fGridBackColor.size())) {
    ErrorInt("TMyStringGrid.ExecuteColorconstraints: Bad Params Col ", col);
    return;
  }
  if (row < 0 || row >= fGrid->GetRowCount() || row >= static_cast<int>(fGridBackColor[static_cast<std::size_t>(col)].size())) {
    ErrorInt("TMyStringGrid.ExecuteColorconstraints: Bad Params Row ", row);
    return;
  }
  const auto c = static_cast<std::size_t>(col);
  const auto r = static_cast<std::size_t>(row);
  // A pending cell is worked out in full, which is this evaluation.
  if (fGridBackColor[c][r] == kColorPending) {
    ColorAt(col, row);
    return;
  }
  if (col < fGrid->GetFixedCols() || row < fGrid->GetFixedRows()) return;
  const auto& constraints = fConstraints.Get(fColorConstraints[c][r]);
  if (constraints.empty()) return;
  const std::string& text = fGrid->GetCells(col, row);
  for (const TColorConstraint& constraint : constraints) {
    if (CheckType(text, constraint.Type)) {
      fGridBackColor[c][r] = constraint.Color;
      return;
    }
  }
}

void TMyStringGrid::RecolourAllLater() {
  if (!fColorsOn) return;
  fPendingBase = fDefaultColor;
  for (auto& column : fGridBackColor) std::fill(column.begin(), column.end(), kColorPending);
  // The current cell is the one the user types into: its colour is settled
  // now, from the text it has now.
  const int col = fGrid->GetCol();
  const int row = fGrid->GetRow();
  if (InGrid(col, row) && InArrays(col, row)) ColorAt(col, row);
}

void TMyStringGrid::RecolourColumnLater(int col) {
  if (!fColorsOn || col < 0 || col >= static_cast<int>(fGridBackColor.size())) return;
  auto& column = fGridBackColor[static_cast<std::size_t>(col)];
  if (fPendingBase != fDefaultColor) {
    // The pending cells elsewhere start from the former default: work them
    // out before the base changes.
    for (int c = 0; c < static_cast<int>(fGridBackColor.size()); ++c) {
      for (int r = 0; r < static_cast<int>(fGridBackColor[static_cast<std::size_t>(c)].size()); ++r) ColorAt(c, r);
    }
    fPendingBase = fDefaultColor;
  }
  std::fill(column.begin(), column.end(), kColorPending);
}

TColor TMyStringGrid::ColorAt(int col, int row) const {
  const auto c = static_cast<std::size_t>(col);
  const auto r = static_cast<std::size_t>(row);
  TColor& color = fGridBackColor[c][r];
  if (color != kColorPending) return color;
  color = fPendingBase;
  if (col < fGrid->GetFixedCols() || row < fGrid->GetFixedRows()) return color;
  const auto& constraints = fConstraints.Get(fColorConstraints[c][r]);
  if (constraints.empty()) return color;
  const std::string& text = fGrid->GetCells(col, row);
  // CheckType changes nothing a reader of the grid sees: it only opens and
  // queries the grid's own reference tables.
  auto* self = const_cast<TMyStringGrid*>(this);
  for (const TColorConstraint& constraint : constraints) {
    if (self->CheckType(text, constraint.Type)) {
      color = constraint.Color;
      break;
    }
  }
  return color;
}

void TMyStringGrid::ExecuteColorconstraints(int col) {
  if (!fColorsOn) return;
  if (col < 0 || col >= fGrid->GetColCount() || col >= static_cast<int>(fGridBackColor.size())) {
    ErrorInt("TMyStringGrid.ExecuteColorconstraints: Bad Params col ", col);
    return;
  }
  const int rows = std::min<int>(fGrid->GetRowCount(), static_cast<int>(fGridBackColor[static_cast<std::size_t>(col)].size()));
  for (int row = 0; row < rows; ++row) ExecuteColorconstraints(col, row);
}

void TMyStringGrid::ExecuteColorconstraints() {
  if (!fColorsOn) return;
  const int cols = std::min<int>(fGrid->GetColCount(), static_cast<int>(fGridBackColor.size()));
  for (int col = 0; col < cols; ++col) ExecuteColorconstraints(col);
}

void TMyStringGrid::UpdateRowColors(int row) {
  if (row < 0 || row >= fGrid->GetRowCount()) {
    ErrorInt("TMyStringGrid.UpdateRowColors: Bad Params Row ", row);
    return;
  }
  for (int col = 0; col < fGrid->GetColCount(); ++col) {
    InitColors(col, row);
    ExecuteColorconstraints(col, row);
  }
}

TColor TMyStringGrid::GetCellColor(int col, int row) const {
  if (!InGrid(col, row) || !InArrays(col, row)) {
    Error("TMyStringGrid.GetCellColor: bad params");
    return 255;
  }
  return ColorAt(col, row);
}

void TMyStringGrid::OnDrawCell(int col, int row, const TGridRect& rect, TGridDrawState state) {
  const std::string text = GetCell(col, row);
  bool paint = true;
  if (!InArrays(col, row) && !fDimensionsOn) {
    // A bulk update is under way and the attributes have not followed the
    // grid's new size yet: the cell is painted plain, without a report, so
    // that a box shown during the update cannot set off one box per cell.
    const bool fixed = state.Fixed || col < fGrid->GetFixedCols() || row < fGrid->GetFixedRows();
    fGrid->SetBrushColor(state.Selected ? fSelectedColor : fixed ? fFixedColor : fDefaultColor);
    fGrid->FillRect(rect);
    paint = false;
  } else if (fGridBackColor.empty()) {
    Error("TMyStringGrid.OnDrawCell: fGridBackColor not assigned");
    paint = false;
  } else if (col < 0 || col >= static_cast<int>(fGridBackColor.size())) {
    ErrorInt("TMyStringGrid.OnDrawCell: bad Col ", col);
    paint = false;
  } else if (row < 0 || row >= static_cast<int>(fGridBackColor[static_cast<std::size_t>(col)].size())) {
    ErrorInt("TMyStringGrid.OnDrawCell: bad Row ", row);
    paint = false;
  }
  if (paint) {
    const auto c = static_cast<std::size_t>(col);
    const auto r = static_cast<std::size_t>(row);
    TColor background = ColorAt(col, row);
    TGridFont font = fFonts.Get(fCellFonts[c][r]);
    if (state.Fixed) {
      background = fFixedColor;
      font.Color = fDefaultFont.Color;
    }
    if (state.Selected) {
      background = fSelectedColor;
      font.Color = 0xFFFFFF;
    }
    fGrid->SetBrushColor(background);
    fGrid->FillRect(rect);
    fGrid->SetFont(font);
    const int x = (rect.Left + rect.Right - fGrid->TextWidth(text)) / 2;
    const int y = (rect.Top + rect.Bottom - fGrid->TextHeight(text)) / 2;
    fGrid->TextRect(rect, x, y, text);
  }
  if (fFormEvents.OnDrawCell) fFormEvents.OnDrawCell(col, row, rect, state);
}
