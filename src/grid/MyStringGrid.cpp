#include "MyStringGrid.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

#include "ColumnSort.h"
#include "LargeAllocator.h"
#include "MyDatabase.h"
#include "SortKey.h"
#include "StringManager.h"
#include "Trace.h"
#include "TypedCompare.h"
#include "TypedSort.h"

int TGridStrings::Count() const {
  if (fGrid == nullptr) return 0;
  return fIsRow ? fGrid->GetColCount() : fGrid->GetRowCount();
}

std::string TGridStrings::Get(int i) const {
  if (fGrid == nullptr) return std::string();
  return fIsRow ? fGrid->GetCells(i, fIndex) : fGrid->GetCells(fIndex, i);
}

void TGridStrings::Set(int i, const std::string& text) {
  if (fGrid == nullptr) return;
  if (fIsRow) {
    fGrid->SetCells(i, fIndex, text);
  } else {
    fGrid->SetCells(fIndex, i, text);
  }
}

int TGridStrings::IndexOf(const std::string& text) const {
  const int n = Count();
  for (int i = 0; i < n; ++i) {
    if (Get(i) == text) return i;
  }
  return -1;
}

TMyStringGrid::TMyStringGrid(TGridSurface* grid, TCellChangeProc onCellChange)
    : fGrid(grid), fOnCellChange(std::move(onCellChange)) {
  InstallHandlers();
  fNumberingOn = true;
  fAutoSizeOn = true;
  fNotifyOn = true;
  fColorsOn = true;
  fDimensionsOn = true;
  fRememberOn = true;
  fSelectOn = true;
  fSortAscending = false;
  fDefaultColor = 0xFFFFFF;
  fDefaultFont = TGridFont{0, 8, 0};
  fDefaultFontHandle = fFonts.Intern(fDefaultFont);
  fSelectedColor = 0x800000;
  fFixedColor = clBtnFace;
  InitColors();
  ClearColorConstraints();
  UpdateDimensions();
}

TMyStringGrid::~TMyStringGrid() {
  // The surface may outlive this object; it must not keep calling handlers
  // that point into it, so the form's own handlers go back in place.
  fGrid->Events = fFormEvents;
  fGrid->BeforeTextChange = nullptr;
}

bool TMyStringGrid::InGrid(int col, int row) const {
  return col >= 0 && row >= 0 && col < fGrid->GetColCount() && row < fGrid->GetRowCount();
}

bool TMyStringGrid::InArrays(int col, int row) const {
  if (col < 0 || row < 0 || col >= static_cast<int>(fGridBackColor.size())) return false;
  return row < static_cast<int>(fGridBackColor[static_cast<std::size_t>(col)].size());
}

// ---------------------------------------------------------------------------
// Dimensions and position

void TMyStringGrid::SetCol(int col) {
  const int count = fGrid->GetColCount();
  if (col < 0 || col >= count) {
    WarningInt("TMyStringGrid.SetCol : Bad new Col : ", col);
    col = std::clamp(col, 0, std::max(0, count - 1));
  }
  if (col == fGrid->GetCol()) return;
  fGrid->SetCol(col);
  if (fRememberOn) fEnteredText = GetCell(fGrid->GetCol(), fGrid->GetRow());
  fGrid->SetEditorMode(false);
}

void TMyStringGrid::SetRow(int row) {
  const int count = fGrid->GetRowCount();
  if (row < 0 || row >= count) {
    WarningInt("TMyStringGrid.SetRow : Bad new Row : ", row);
    row = std::clamp(row, 0, std::max(0, count - 1));
  }
  const int before = fGrid->GetRow();
  fGrid->SetRow(row);
  if (fRememberOn) fEnteredText = GetCell(fGrid->GetCol(), fGrid->GetRow());
  if (fGrid->GetRow() != before) fGrid->SetEditorMode(false);
}

void TMyStringGrid::SetRowCount(int n) {
  if (n <= fGrid->GetFixedRows()) {
    Error("TMyStringGrid.SetRowCount : impossible de supprimer la premiere ligne");
    return;
  }
  if (n == fGrid->GetRowCount()) return;
  // A row added to or removed from a long list (a new record opened from it,
  // its empty row taken away again) must not measure every text again.
  std::vector<int> remeasure;
  const bool keepWidths = RowCountKeepsWidths(n, remeasure);
  const std::uint64_t before = fGrid->GetTextsVersion();
  fSelectOn = false;
  fGrid->SetRowCount(n);
  fSelectOn = true;
  if (keepWidths && fGrid->GetTextsVersion() == before + 1) {
    if (!remeasure.empty()) fGrid->SetFont(fDefaultFont);
    for (int col : remeasure) {
      int& width = fTextWidths[static_cast<std::size_t>(col)];
      if (!WidthHeldElsewhere(col, width)) width = ColumnTextWidth(col);
    }
    fWidthsVersion = fGrid->GetTextsVersion();
  }
  UpdateDimensions();
}

void TMyStringGrid::SetColCount(int n) {
  if (n == fGrid->GetColCount()) return;
  fSelectOn = false;
  fGrid->SetColCount(n);
  fSelectOn = true;
  UpdateDimensions();
}

void TMyStringGrid::SetFixedCols(int n) {
  fGrid->SetFixedCols(n);
  for (int col = 0; col < n; ++col) SetColReadOnly(col, true);
}

void TMyStringGrid::SetFixedRows(int n) { fGrid->SetFixedRows(n); }

void TMyStringGrid::SetTopRow(int row) {
  if (row >= fGrid->GetFixedRows() && row <= fGrid->GetRowCount() - 1) fGrid->SetTopRow(row);
}

void TMyStringGrid::SetWidth(int w) {
  fGrid->SetWidth(w);
  AutoSizeCols();
}

void TMyStringGrid::SetHeight(int h) {
  fGrid->SetHeight(h);
  AutoSizeCols();
}

void TMyStringGrid::SetVisible(bool visible) {
  fGrid->SetVisible(visible);
  if (visible) fGrid->SetEditorMode(false);
}

// ---------------------------------------------------------------------------
// Cells and columns

std::string TMyStringGrid::GetCell(int col, int row) const {
  if (!InGrid(col, row)) {
    TraceIntInt("TMyStringGrid.GetCell: bad col row : ", col, row);
    return std::string();
  }
  return fGrid->GetCells(col, row);
}

void TMyStringGrid::SetCell(int col, int row, const std::string& text) {
  if (!InGrid(col, row) || !InArrays(col, row)) {
    // Writing outside the grid (or outside the attributes during a bulk
    // update) would read a read-only flag that does not exist.
    TraceIntInt("TMyStringGrid.SetCell: bad col row : ", col, row);
    return;
  }
  if (fReadOnly[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)] != 0) {
    ErrorIntInt("TMyStringGrid.SetCell:Trying to write in a read-only cell ", col, row);
    return;
  }
  WriteText(col, row, text);
  InitColors(col, row);
  ExecuteColorconstraints(col, row);
}

void TMyStringGrid::SetCellForced(int col, int row, const std::string& text) {
  fRememberOn = false;
  WriteText(col, row, text);
  InitColors(col, row);
  ExecuteColorconstraints(col, row);
  fRememberOn = true;
}

void TMyStringGrid::SetColumnForced(int col, int firstRow, int count,
                                    const std::function<const std::string&(int k)>& textOf) {
  if (fDimensionsOn || fColorsOn || col < fGrid->GetFixedCols() || col >= fGrid->GetColCount()) {
    TQueryGrid::SetColumnForced(col, firstRow, count, textOf);
    return;
  }
  // What SetCellForced does for each cell with colours and dimensions off:
  // the text written, nothing recoloured or measured.
  fGrid->PutRowsInPlace();
  fGrid->SetColumnTexts(col, firstRow, count, textOf);
  fRememberOn = true;
}

std::string TMyStringGrid::GetColName(int col) const {
  if (col < 0 || col >= fGrid->GetColCount() || col >= static_cast<int>(fColNames.size())) {
    Error("TMyStringGrid.GetColName: trying to access a bad col");
    return std::string();
  }
  return fColNames[static_cast<std::size_t>(col)];
}

void TMyStringGrid::SetColName(int col, const std::string& name) {
  if (col < 0 || col >= fGrid->GetColCount() || col >= static_cast<int>(fColNames.size())) {
    Error("TMyStringGrid.SetColName: trying to access a bad col");
    return;
  }
  fColNames[static_cast<std::size_t>(col)] = name;
  SetCellForced(col, 0, name);
}

int TMyStringGrid::GetColIndex(const std::string& name) const {
  const int count = std::min<int>(fGrid->GetColCount(), static_cast<int>(fColNames.size()));
  for (int col = 0; col < count; ++col) {
    if (fColNames[static_cast<std::size_t>(col)] == name) return col;
  }
  Error("TMyStringGrid.GetColIndex : colonne n'existe pas : " + name);
  return -1;
}

void TMyStringGrid::setTitles(const std::string& titles) {
  TStringManager& sm = StringManager();
  const int n = sm.CountTokens(titles, ';');
  if (n + fGrid->GetFixedCols() != fGrid->GetColCount()) {
    Error("TMyStringGrid.setTitles : donnees de titre pas a la bonne taille");
    return;
  }
  for (int i = 1; i <= n; ++i) SetColName(fGrid->GetFixedCols() + i - 1, sm.GetToken(titles, i, ';'));
}

std::string TMyStringGrid::GetCellByName(const std::string& name, int row) const {
  return GetCell(GetColIndex(name), row);
}

void TMyStringGrid::SetCellByName(const std::string& name, int row, const std::string& text) {
  SetCell(GetColIndex(name), row, text);
}

void TMyStringGrid::SetCellForcedByName(const std::string& name, int row, const std::string& text) {
  SetCellForced(GetColIndex(name), row, text);
}

std::string TMyStringGrid::GetCurrentCell(const std::string& name) const { return GetCell(GetColIndex(name), GetRow()); }

void TMyStringGrid::SetColReadOnly(int col, bool flag) {
  if (col < 0 || col >= static_cast<int>(fReadOnly.size())) return;
  auto& column = fReadOnly[static_cast<std::size_t>(col)];
  std::fill(column.begin(), column.end(), flag ? 1 : 0);
}

void TMyStringGrid::SetColReadOnlyByName(const std::string& name, bool flag) {
  const int col = GetColIndex(name);
  if (col >= 0 && col < fGrid->GetColCount()) SetColReadOnly(col, flag);
}

std::pair<int, int> TMyStringGrid::FindCell(const std::string& text, const std::string& name) const {
  // The named column is looked up once: an unknown name is reported once and
  // finds nothing, instead of being reported again for every column.
  int named = -1;
  if (!name.empty()) {
    named = GetColIndex(name);
    if (named < 0) return {-1, -1};
  }
  const int fixedRows = fGrid->GetFixedRows();
  const int rows = fGrid->GetRowCount();
  for (int k = fGrid->GetFixedCols(); k < fGrid->GetColCount(); ++k) {
    const int col = name.empty() ? k : named;
    for (int row = fixedRows; row < rows; ++row) {
      if (fGrid->GetCells(col, row) == text) return {col, row};
    }
  }
  return {-1, -1};
}

// ---------------------------------------------------------------------------
// Rows

void TMyStringGrid::CopyRowAttributes(int col, int from, int to) {
  if (!InArrays(col, from) || !InArrays(col, to)) return;
  const auto c = static_cast<std::size_t>(col);
  const auto f = static_cast<std::size_t>(from);
  const auto t = static_cast<std::size_t>(to);
  fGridBackColor[c][t] = fGridBackColor[c][f];
  fCellFonts[c][t] = fCellFonts[c][f];
  fReadOnly[c][t] = fReadOnly[c][f];
  fColorConstraints[c][t] = fColorConstraints[c][f];
}

void TMyStringGrid::InsertEmptyLine(int row, bool keepAttributes) {
  if (row < fGrid->GetFixedRows() || row > fGrid->GetRowCount()) {
    ErrorInt("TMyStringGrid.InsertEmptyLine: bad Row Position ", row);
    return;
  }
  SetRowCount(fGrid->GetRowCount() + 1);
  const int rows = fGrid->GetRowCount();
  const int cols = fGrid->GetColCount();
  for (int col = 0; col < cols; ++col) {
    for (int r = rows - 1; r >= row + 1; --r) CopyRowAttributes(col, r - 1, r);
    if (!keepAttributes && InArrays(col, row)) {
      const auto c = static_cast<std::size_t>(col);
      const auto r = static_cast<std::size_t>(row);
      fGridBackColor[c][r] = fDefaultColor;
      fCellFonts[c][r] = fDefaultFontHandle;
      fReadOnly[c][r] = 0;
    }
  }
  fMovingTexts = true;
  for (int r = rows - 2; r >= row; --r) {
    for (int col = 0; col < cols; ++col) fGrid->SetCells(col, r + 1, fGrid->GetCells(col, r));
  }
  fMovingTexts = false;
  for (int col = fGrid->GetFixedCols(); col < cols; ++col) SetCellForced(col, row, "");
  SetCol(fGrid->GetFixedCols());
  SetRow(row);
  UpdateDimensions();
}

void TMyStringGrid::DeleteLine(int row) {
  if (row < fGrid->GetFixedRows() || row > fGrid->GetRowCount() - 1) {
    ErrorInt("TMyStringGrid.DeleteLine: bad Row Position ", row);
    return;
  }
  const int rows = fGrid->GetRowCount();
  const int cols = fGrid->GetColCount();
  for (int col = fGrid->GetFixedCols(); col < cols; ++col) {
    for (int r = row; r <= rows - 2; ++r) CopyRowAttributes(col, r + 1, r);
  }
  fMovingTexts = true;
  for (int r = row; r <= rows - 2; ++r) {
    for (int col = 0; col < cols; ++col) fGrid->SetCells(col, r, fGrid->GetCells(col, r + 1));
  }
  fMovingTexts = false;
  SetRowCount(rows - 1);
  SetRow(GetRow());
}

void TMyStringGrid::DeleteLines(const std::vector<int>& rows) {
  const int count = fGrid->GetRowCount();
  const int cols = fGrid->GetColCount();
  std::vector<char> deleted(static_cast<std::size_t>(std::max(count, 0)), 0);
  int first = count;
  for (const int row : rows) {
    if (row < fGrid->GetFixedRows() || row > count - 1) {
      ErrorInt("TMyStringGrid.DeleteLines: bad Row Position ", row);
      return;
    }
    deleted[static_cast<std::size_t>(row)] = 1;
    first = std::min(first, row);
  }
  if (first == count) return;
  int to = first;
  fMovingTexts = true;
  for (int from = first; from < count; ++from) {
    if (deleted[static_cast<std::size_t>(from)] != 0) continue;
    for (int col = fGrid->GetFixedCols(); col < cols; ++col) CopyRowAttributes(col, from, to);
    for (int col = 0; col < cols; ++col) fGrid->SetCells(col, to, fGrid->GetCells(col, from));
    ++to;
  }
  fMovingTexts = false;
  SetRowCount(to);
  SetRow(GetRow());
}

void TMyStringGrid::ClearCells() {
  for (int col = fGrid->GetFixedCols(); col < fGrid->GetColCount(); ++col) {
    for (int row = fGrid->GetFixedRows(); row < fGrid->GetRowCount(); ++row) SetCellForced(col, row, "");
  }
}

void TMyStringGrid::NumberRows() { NumberRows(1, fGrid->GetRowCount()); }

void TMyStringGrid::NumberRows(int first, int end) {
  if (!fNumberingOn) return;
  fSelectOn = false;
  if (fGrid->GetColCount() > 0) {
    // Rows keep their numbers through fills and sorts: only a number that
    // differs is written (a fixed cell takes no colour of its own).
    const int rows = fGrid->GetRowCount();
    char digits[16];
    for (int row = std::max(1, first); row < std::min(end, rows); ++row) {
      const char* const last = std::to_chars(digits, digits + sizeof digits, row).ptr;
      const std::string_view number(digits, static_cast<std::size_t>(last - digits));
      if (fGrid->GetCells(0, row) != number) SetCellForced(0, row, std::string(number));
    }
    // As the forced writes leave it.
    if (rows > 1) fRememberOn = true;
  }
  fSelectOn = true;
}

// ---------------------------------------------------------------------------
// Sorting, layout and bulk updates

namespace {

TRanks RanksOf(const std::vector<TSortEntry>& list) {
  bool texts = true;
  bool typed = true;
  bool seen = false;
  TValueKind family = TValueKind::Text;
  for (const TSortEntry& e : list) {
    if (e.Key.Kind == TValueKind::Text) {
      if (e.Text.size() > 7) texts = false;
      if (!e.Text.empty()) typed = false;
    } else {
      texts = false;
      if (e.Key.Kind == TValueKind::Integer && (e.Key.Int > kExactDoubleLimit || e.Key.Int < -kExactDoubleLimit)) {
        typed = false;
      }
      const TValueKind f = FamilyOf(e.Key.Kind);
      if (seen && f != family) typed = false;
      family = f;
      seen = true;
    }
    if (!texts && !typed) return TRanks::None;
  }
  return texts ? TRanks::ShortTexts : TRanks::Typed;
}

std::uint64_t ShortTextRank(std::string_view text) { return (BytesAt(text, 0) & ~std::uint64_t(0xFF)) | text.size(); }

// Ranks for the entries (every data row of the grid once) that decide each
// comparison exactly as their keys do, read from the places of the rows
// instead of a sort of the keys: the rows not moved are in sorted order on
// the grid (from the top ascending, from the bottom descending), so that,
// with the few moved ones merged in, equal neighbours share a rank and a
// greater one takes the next. Only for texts that all compare by their
// bytes, which orders them totally; false for others, or when the rows turn
// out not to be in order.
bool RanksFromPlaces(const TGridSurface& grid, bool ascending, const std::vector<TSortEntry>& list,
                     const std::vector<int>& moved, std::vector<TRankEntry>& ranks) {
  const int fixedRows = grid.GetFixedRows();
  const int rows = grid.GetRowCount();
  const std::size_t count = list.size();
  if (static_cast<int>(count) != rows - fixedRows) return false;
  if (!std::all_of(list.begin(), list.end(), [](const TSortEntry& e) { return ComparesAsBytes(e.Key, e.Text); }))
    return false;
  std::vector<int> entryOf(count, -1);
  for (std::size_t k = 0; k < count; ++k) {
    const int slot = list[k].Row - fixedRows;
    if (slot < 0 || slot >= static_cast<int>(count) || entryOf[static_cast<std::size_t>(slot)] >= 0) return false;
    entryOf[static_cast<std::size_t>(slot)] = static_cast<int>(k);
  }
  const auto compare = [&list](int a, int b) {
    return TCompareEntries()(list[static_cast<std::size_t>(a)], list[static_cast<std::size_t>(b)]);
  };
  std::vector<std::uint8_t> isMoved(count, 0);
  std::vector<int> movedEntries;
  for (const int row : moved) {
    const int slot = row - fixedRows;
    if (slot < 0 || slot >= static_cast<int>(count) || isMoved[static_cast<std::size_t>(slot)] != 0) continue;
    isMoved[static_cast<std::size_t>(slot)] = 1;
    movedEntries.push_back(entryOf[static_cast<std::size_t>(slot)]);
  }
  // The rows in place, walked in the sort's direction, are in sorted
  // order; each moved one goes after those not above it, found by halving.
  std::vector<int> kept;
  kept.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t slot = ascending ? i : count - 1 - i;
    if (isMoved[slot] == 0) kept.push_back(entryOf[slot]);
  }
  std::vector<std::pair<std::size_t, int>> inserts;
  for (const int e : movedEntries) {
    const auto at = std::upper_bound(kept.begin(), kept.end(), e, [&compare](int a, int b) { return compare(a, b) < 0; });
    inserts.emplace_back(static_cast<std::size_t>(at - kept.begin()), e);
  }
  std::sort(inserts.begin(), inserts.end(), [&compare](const auto& a, const auto& b) {
    return a.first != b.first ? a.first < b.first : compare(a.second, b.second) < 0;
  });
  std::vector<int> inOrder;
  inOrder.reserve(count);
  std::size_t next = 0;
  for (std::size_t k = 0; k <= kept.size(); ++k) {
    while (next < inserts.size() && inserts[next].first == k) inOrder.push_back(inserts[next++].second);
    if (k < kept.size()) inOrder.push_back(kept[k]);
  }
  // Neighbours compared in turn; the entries and the texts a few steps
  // ahead are fetched early, as they lie all over memory.
  constexpr std::size_t kAhead = 16;
  ranks.resize(count);
  std::uint64_t rank = 0;
  for (std::size_t k = 0; k < count; ++k) {
    if (k + kAhead < count) __builtin_prefetch(&list[static_cast<std::size_t>(inOrder[k + kAhead])]);
    if (k + kAhead / 2 < count) __builtin_prefetch(list[static_cast<std::size_t>(inOrder[k + kAhead / 2])].Text.data());
    const int e = inOrder[k];
    if (k > 0) {
      const int c = compare(inOrder[k - 1], e);
      if (c > 0) return false;
      if (c < 0) ++rank;
    }
    ranks[static_cast<std::size_t>(e)] = TRankEntry{rank, list[static_cast<std::size_t>(e)].Row};
  }
  return true;
}

}  // namespace

void TMyStringGrid::TrierColonne(int col, std::vector<int>* from) {
  const std::unique_ptr<TColumnSort> sort = BeginSort(col);
  if (sort == nullptr) return;
  TAutomaticOff automaticOff(*this);
  while (!SortStep(*sort, static_cast<std::size_t>(-1))) {
  }
  FinishSort(*sort, from);
}

std::unique_ptr<TColumnSort> TMyStringGrid::BeginSort(int col) {
  if (col < 0 || col >= fGrid->GetColCount()) {
    ErrorInt("TMyStringGrid.TrierColonne: bad col : ", col);
    fGrid->Repaint();
    return nullptr;
  }
  auto sort = std::make_unique<TColumnSort>();
  sort->fCol = col;
  sort->fRows = fGrid->GetRowCount();
  const int currentRow = GetRow();
  for (int c = fGrid->GetFixedCols(); c < fGrid->GetColCount(); ++c) sort->fRemembered.push_back(fGrid->GetCells(c, currentRow));
  sort->fOffset = GetRow() - GetTopRow();
  SetAutomatic(false);
  const int fixedRows = fGrid->GetFixedRows();
  sort->fNextRow = fixedRows;
  sort->fList.reserve(static_cast<std::size_t>(std::max(0, sort->fRows - fixedRows)));
  return sort;
}

bool TMyStringGrid::SortStep(TColumnSort& sort, std::size_t work) {
  // Every text of the sorted column is keyed once; the quicksort then
  // compares keys instead of matching shapes at each comparison. The texts
  // are read in place: nothing writes to the grid until the rows move.
  std::vector<TSortEntry>& list = sort.fList;
  if (sort.fNextRow < sort.fRows) {
    const auto left = static_cast<std::size_t>(sort.fRows - sort.fNextRow);
    if (work >= left) {
      fGrid->VisitColumn(sort.fCol, sort.fNextRow, [&list](int row, const std::string& text) {
        list.push_back(TSortEntry{SortKeyOf(text), row, text});
      });
      sort.fNextRow = sort.fRows;
      work -= left;
    } else {
      const int end = sort.fNextRow + static_cast<int>(work);
      for (int row = sort.fNextRow; row < end; ++row) {
        const std::string& text = fGrid->GetCells(sort.fCol, row);
        list.push_back(TSortEntry{SortKeyOf(text), row, text});
      }
      sort.fNextRow = end;
      return false;
    }
  }
  if (!sort.fRanked) {
    sort.fRanked = true;
    sort.fByRanks = RanksOf(list);
    if (sort.fByRanks != TRanks::None) {
      sort.fRanks.resize(list.size());
      for (std::size_t k = 0; k < list.size(); ++k) {
        const TSortEntry& e = list[k];
        sort.fRanks[k] = TRankEntry{sort.fByRanks == TRanks::Typed ? TypedRankOf(e.Key) : ShortTextRank(e.Text), e.Row};
      }
      sort.fRankSort.emplace(sort.fRanks, TCompareRanks());
    } else {
      sort.fEntrySort.emplace(list, TCompareEntries());
    }
  }
  if (!sort.fSorted) {
    sort.fSorted = sort.fRankSort ? sort.fRankSort->Step(work) : sort.fEntrySort->Step(work);
    return false;
  }
  // Whether the texts are all different and compared alike, seen on the
  // sorted entries: then no other sort could order them otherwise.
  const std::size_t count = sort.fByRanks != TRanks::None ? sort.fRanks.size() : list.size();
  const std::size_t end = sort.fChecked + std::min(count - std::min(count, sort.fChecked), work);
  for (std::size_t k = std::max<std::size_t>(1, sort.fChecked); k < end && sort.fStrict; ++k) {
    if (sort.fByRanks != TRanks::None) {
      if (sort.fRanks[k].Rank == sort.fRanks[k - 1].Rank) sort.fStrict = false;
    } else if (TCompareEntries()(list[k - 1], list[k]) == 0) {
      sort.fStrict = false;
    }
  }
  sort.fChecked = sort.fStrict ? end : count;
  return sort.fChecked >= count;
}

std::vector<int> TMyStringGrid::SortedOf(const TColumnSort& sort, TSortOrder& order) {
  const std::vector<TSortEntry>& list = sort.fList;
  std::vector<int> sorted(list.size());
  order.Strict = sort.fStrict;
  order.Family = TValueKind::Text;
  if (sort.fByRanks != TRanks::None) {
    for (std::size_t k = 0; k < sorted.size(); ++k) sorted[k] = sort.fRanks[k].Row;
  } else {
    for (std::size_t k = 0; k < sorted.size(); ++k) sorted[k] = list[k].Row;
  }
  const bool bytes =
      std::all_of(list.begin(), list.end(), [](const TSortEntry& e) { return ComparesAsBytes(e.Key, e.Text); });
  if (!bytes && sort.fByRanks == TRanks::Typed) {
    for (const TSortEntry& e : list) {
      if (e.Key.Kind == TValueKind::Text) continue;
      order.Family = FamilyOf(e.Key.Kind);
      break;
    }
  } else if (!bytes) {
    order.Strict = false;
  }
  return sorted;
}

void TMyStringGrid::FinishSort(TColumnSort& sort, std::vector<int>* from) {
  const int col = sort.fCol;
  const int fixedCols = fGrid->GetFixedCols();
  const int fixedRows = fGrid->GetFixedRows();
  const int cols = fGrid->GetColCount();
  const int rows = sort.fRows;
  const std::vector<std::string>& remembered = sort.fRemembered;
  std::vector<TSortEntry>& list = sort.fList;

  TSortOrder order;
  order.Col = col;
  order.Ascending = fSortAscending;
  const std::vector<int> sorted = SortedOf(sort, order);

  // Whole rows of the data area move to their sorted places in one pass
  // (the k-th entry to row FixedRows + k ascending, to the k-th row from the
  // bottom descending); the fixed columns stay, so the row numbers do too.
  // This is the forced write of every data cell from a scratch copy, done by
  // moving the texts: colours are off, so the writes have nothing else to do.
  std::vector<int> sources(sorted.size());
  std::vector<int> placeOf(sorted.size());
  for (std::size_t k = 0; k < sorted.size(); ++k) {
    const std::size_t target = fSortAscending ? k : sorted.size() - 1 - k;
    sources[target] = sorted[k];
    placeOf[static_cast<std::size_t>(sorted[k] - fixedRows)] = fixedRows + static_cast<int>(target);
  }
  if (from != nullptr) *from = sources;

  // The row selected again is the last row whose texts are those of the row
  // selected before. Only rows with its text in the sorted column can be,
  // and they are found among the keyed texts before anything moves.
  int selectAfter = -1;
  const bool byDataColumn = col >= fixedCols;
  if (byDataColumn) {
    const std::string& mine = remembered[static_cast<std::size_t>(col - fixedCols)];
    const TSortKey mineKey = SortKeyOf(mine);
    for (const TSortEntry& entry : list) {
      // Keys that differ are texts that differ, known without reading them.
      const int byKeys = CompareSortKeys(entry.Key, mineKey);
      if (byKeys == -1 || byKeys == 1 || entry.Text != mine) continue;
      bool same = true;
      for (int c = fixedCols; c < cols && same; ++c)
        same = fGrid->GetCells(c, entry.Row) == remembered[static_cast<std::size_t>(c - fixedCols)];
      if (same) selectAfter = std::max(selectAfter, placeOf[static_cast<std::size_t>(entry.Row - fixedRows)]);
    }
  }
  list.clear();
  // Moving whole rows changes no column's widest text.
  const bool widthsCurrent = fWidthsVersion != 0 && fWidthsVersion == fGrid->GetTextsVersion();
  fRememberOn = false;
  fGrid->PermuteRows(fixedCols, fixedRows, sources);
  fRememberOn = true;
  if (widthsCurrent) fWidthsVersion = fGrid->GetTextsVersion();
  if (byDataColumn) {
    if (selectAfter >= 0) SetRow(selectAfter);
  } else {
    for (int row = fixedRows; row < rows; ++row) {
      bool same = true;
      for (int c = fixedCols; c < cols && same; ++c)
        same = fGrid->GetCells(c, row) == remembered[static_cast<std::size_t>(c - fixedCols)];
      if (same) SetRow(row);
    }
  }
  SetTopRow(std::min(std::max(GetRow() - sort.fOffset, fixedRows), rows - fGrid->GetVisibleRowCount()));

  NumberRows();
  SetAutomatic(true);
  RecolourAllLater();
  order.Version = fGrid->GetTextsVersion();
  fLastSort = order;
  fGrid->Repaint();
}

void TMyStringGrid::Resort(std::vector<int>* from) {
  if (fSortCol >= 0 && fSortCol < fGrid->GetColCount()) {
    TrierColonne(fSortCol, from);
  } else {
    TrierColonne(0, from);
  }
}

std::vector<int> TMyStringGrid::SortedRows(int col, const std::vector<int>& rows, TSortOrder& order,
                                           const std::vector<int>* moved) {
  order.Col = col;
  order.Ascending = fSortAscending;
  order.Version = 0;
  if (col < 0 || col >= fGrid->GetColCount()) {
    order.Strict = false;
    return rows;
  }
  // The column sort's own steps, over the rows keyed here in the order
  // given.
  TColumnSort sort;
  sort.fCol = col;
  std::vector<TSortEntry>& list = sort.fList;
  list.reserve(rows.size());
  for (const int row : rows) {
    const std::string& text = fGrid->GetCells(col, row);
    list.push_back(TSortEntry{SortKeyOf(text), row, text});
  }
  // Long texts otherwise compared through their keys at each step of the
  // quicksort: ranks from the rows' places make the same moves far faster.
  if (moved != nullptr && col == (fSortCol >= 0 && fSortCol < fGrid->GetColCount() ? fSortCol : 0) &&
      RanksOf(list) == TRanks::None && RanksFromPlaces(*fGrid, fSortAscending, list, *moved, sort.fRanks)) {
    sort.fRanked = true;
    sort.fByRanks = TRanks::Places;
    sort.fRankSort.emplace(sort.fRanks, TCompareRanks());
  }
  while (!SortStep(sort, static_cast<std::size_t>(-1))) {
  }
  return SortedOf(sort, order);
}

int TMyStringGrid::ColumnTextWidth(int col) { return std::max(25, fGrid->WidestText(col)); }

int TMyStringGrid::ScrollBarShown() const {
  return fGrid->GetFixedRows() + fGrid->GetVisibleRowCount() < fGrid->GetRowCount() ? 1 : 0;
}

namespace {

// Rounds to the nearest integer, a half going to the even neighbour.
int RoundHalfEven(double value) {
  const double lower = std::floor(value);
  const double diff = value - lower;
  if (diff > 0.5) return static_cast<int>(lower) + 1;
  if (diff < 0.5) return static_cast<int>(lower);
  const auto l = static_cast<long long>(lower);
  return static_cast<int>(l % 2 == 0 ? l : l + 1);
}

}  // namespace

void TMyStringGrid::AutoSizeCols() {
  if (!fAutoSizeOn) return;
  const int cols = fGrid->GetColCount();
  if (cols <= 0) return;
  std::vector<int> widths = TextWidths();
  const int scroll = ScrollBarShown();
  auto total = [&widths] {
    long long sum = 0;
    for (int w : widths) sum += w;
    return sum;
  };
  long long sum = total();
  long long extra = fGrid->GetWidth() - (sum + 15LL * scroll + 12 + cols);
  if (extra > 0) {
    for (int& w : widths) w += RoundHalfEven(static_cast<double>(w) / static_cast<double>(sum) * static_cast<double>(extra));
    sum = total();
    extra = fGrid->GetWidth() - (sum + 15LL * scroll + 12 + cols);
    if (extra > 0) widths.back() = std::max<int>(25, widths.back() + static_cast<int>(extra));
  }
  for (int col = 0; col < cols; ++col) fGrid->SetColWidth(col, widths[static_cast<std::size_t>(col)]);
}

void TMyStringGrid::SetFontSize(int size) {
  if (size < 1 || size == fDefaultFont.Size) return;
  const TFontHandle previous = fDefaultFontHandle;
  fDefaultFont.Size = size;
  fDefaultFontHandle = fFonts.Intern(fDefaultFont);
  for (auto& column : fCellFonts) std::replace(column.begin(), column.end(), previous, fDefaultFontHandle);
  // Every width was measured in the previous size.
  fTextWidths.clear();
  fGrid->Repaint();
}

int TMyStringGrid::GetNeededWidth() {
  const int cols = fGrid->GetColCount();
  long long sum = 0;
  for (int w : TextWidths()) sum += w;
  return static_cast<int>(sum + cols + 15 * ScrollBarShown() + 12);
}

// The width each column's texts need, measured again only when a text has
// changed since: resizing a window of long lists must not measure every cell
// of every list.
const std::vector<int>& TMyStringGrid::TextWidths() {
  const int cols = std::max(0, fGrid->GetColCount());
  const std::uint64_t version = fGrid->GetTextsVersion();
  if (version == 0 || version != fWidthsVersion || static_cast<int>(fTextWidths.size()) != cols) {
    fGrid->SetFont(fDefaultFont);
    fTextWidths.resize(static_cast<std::size_t>(cols));
    for (int col = 0; col < cols; ++col) fTextWidths[static_cast<std::size_t>(col)] = ColumnTextWidth(col);
    fWidthsVersion = version;
  }
  return fTextWidths;
}

bool TMyStringGrid::MeasureWidthsStep(TWidthsMeasure& measure, int rows) {
  const std::uint64_t version = fGrid->GetTextsVersion();
  // A surface that cannot tell its texts have changed is measured whole
  // whenever sized.
  if (version == 0 || WidthsCurrent()) return true;
  const int cols = std::max(0, fGrid->GetColCount());
  if (measure.Version != version || static_cast<int>(measure.Widest.size()) != cols) {
    measure.Version = version;
    measure.NextRow = 0;
    measure.Widest.assign(static_cast<std::size_t>(cols), 0);
  }
  // As WidestText measures each text of a column.
  fGrid->SetFont(fDefaultFont);
  const int end = measure.NextRow + std::min(fGrid->GetRowCount() - measure.NextRow, std::max(1, rows));
  for (int col = 0; col < cols; ++col) {
    int& widest = measure.Widest[static_cast<std::size_t>(col)];
    for (int row = measure.NextRow; row < end; ++row) {
      const std::string& text = fGrid->GetCells(col, row);
      if (!text.empty()) widest = std::max(widest, fGrid->TextWidth(text));
    }
  }
  measure.NextRow = end;
  if (end < fGrid->GetRowCount()) return false;
  fTextWidths.resize(static_cast<std::size_t>(cols));
  for (int col = 0; col < cols; ++col) {
    fTextWidths[static_cast<std::size_t>(col)] = std::max(25, measure.Widest[static_cast<std::size_t>(col)]);
  }
  fWidthsVersion = version;
  return true;
}

bool TMyStringGrid::WidthsCurrent() const {
  const std::uint64_t version = fGrid->GetTextsVersion();
  return version != 0 && fWidthsVersion == version &&
         static_cast<int>(fTextWidths.size()) == std::max(0, fGrid->GetColCount());
}

// A bulk update (automatic work off) writes many texts and measures them
// once at its end instead.
void TMyStringGrid::WriteText(int col, int row, const std::string& text) {
  // A bulk write of the data (a fill) goes through the rows in order: rows
  // reordered by a sort are put back in place first.
  if (!fDimensionsOn && col >= fGrid->GetFixedCols()) fGrid->PutRowsInPlace();
  if (!fDimensionsOn || !InGrid(col, row) || !WidthsCurrent()) {
    fGrid->SetCells(col, row, text);
    return;
  }
  int& width = fTextWidths[static_cast<std::size_t>(col)];
  const std::string& old = fGrid->GetCells(col, row);
  fGrid->SetFont(fDefaultFont);
  // A text that may have been the widest narrows its column only when the
  // one written over it is narrower (a price changed keeps its width).
  const int oldWidth = old.empty() ? 0 : fGrid->TextWidth(old);
  const bool mayNarrow = oldWidth >= width && (text.empty() || fGrid->TextWidth(text) < oldWidth);
  const std::uint64_t before = fGrid->GetTextsVersion();
  fGrid->SetCells(col, row, text);
  // Anything else written meanwhile (by a handler of the surface) is not
  // known here: the widths are then measured again when needed, as they are
  // when the widest text narrowed and no other as wide is found.
  if (fGrid->GetTextsVersion() != before + 1 || (mayNarrow && !WidthHeldElsewhere(col, width))) return;
  if (!text.empty()) width = std::max(width, fGrid->TextWidth(text));
  fWidthsVersion = fGrid->GetTextsVersion();
}

bool TMyStringGrid::WidthHeldElsewhere(int col, int width) {
  // A column is never narrower than 25, whatever its texts.
  if (width <= 25) return true;
  // Texts of a few widths (prices, weights, codes) have one as wide among
  // the first rows; a text wider than the others is not looked for further.
  constexpr int kLook = 64;
  const int rows = std::min(fGrid->GetRowCount(), kLook);
  for (int row = 0; row < rows; ++row) {
    const std::string& text = fGrid->GetCells(col, row);
    if (!text.empty() && fGrid->TextWidth(text) >= width) return true;
  }
  return false;
}

bool TMyStringGrid::RowCountKeepsWidths(int n, std::vector<int>& remeasure) {
  remeasure.clear();
  if (!fDimensionsOn || !WidthsCurrent()) return false;
  const int rows = fGrid->GetRowCount();
  if (n >= rows) return true;
  if (rows - n > 64) return false;
  fGrid->SetFont(fDefaultFont);
  const int cols = fGrid->GetColCount();
  for (int col = 0; col < cols; ++col) {
    const int width = fTextWidths[static_cast<std::size_t>(col)];
    bool widestRemoved = false;
    for (int row = n; row < rows && !widestRemoved; ++row) {
      const std::string& text = fGrid->GetCells(col, row);
      widestRemoved = !text.empty() && fGrid->TextWidth(text) >= width;
    }
    // The last row kept often holds as wide a text (the row numbers do):
    // then the column keeps its width without being measured again.
    if (widestRemoved && (n < 1 || fGrid->TextWidth(fGrid->GetCells(col, n - 1)) < width)) remeasure.push_back(col);
  }
  return true;
}

void TMyStringGrid::SetAutomatic(bool flag) {
  fNotifyOn = flag;
  fColorsOn = flag;
  fDimensionsOn = flag;
  fRememberOn = flag;
  fSelectOn = flag;
}

void TMyStringGrid::UpdateDimensions() {
  if (!fDimensionsOn) return;
  const int cols = std::max(0, fGrid->GetColCount());
  const int rows = std::max(0, fGrid->GetRowCount());
  const int oldCols = static_cast<int>(fGridBackColor.size());
  const int oldRows = oldCols == 0 ? 0 : static_cast<int>(fGridBackColor[0].size());
  const int fixedRows = fGrid->GetFixedRows();
  const std::uint8_t newColReadOnly = fGrid->GetEditing() ? 0 : 1;

  fGridBackColor.resize(static_cast<std::size_t>(cols));
  fCellFonts.resize(static_cast<std::size_t>(cols));
  fReadOnly.resize(static_cast<std::size_t>(cols));
  fColorConstraints.resize(static_cast<std::size_t>(cols));
  for (int col = 0; col < cols; ++col) {
    const auto c = static_cast<std::size_t>(col);
    const auto r = static_cast<std::size_t>(rows);
    if (col >= oldCols) {
      fGridBackColor[c].assign(r, fDefaultColor);
      fCellFonts[c].assign(r, fDefaultFontHandle);
      fReadOnly[c].assign(r, newColReadOnly);
      fColorConstraints[c].assign(r, 0);
      continue;
    }
    const int firstNew = std::min(oldRows, rows);
    const TColor color = fixedRows < firstNew ? fGridBackColor[c][static_cast<std::size_t>(fixedRows)] : fDefaultColor;
    // A row added to a long list must not double the arrays' memory.
    if (r > fGridBackColor[c].capacity()) {
      const std::size_t capacity = fGridBackColor[c].capacity();
      const std::size_t room = r > 2 * capacity ? r : r + r / 16 + 16;
      fGridBackColor[c].reserve(room);
      fCellFonts[c].reserve(room);
      fReadOnly[c].reserve(room);
      fColorConstraints[c].reserve(room);
    }
    const std::uint8_t readOnly = firstNew > 0 ? fReadOnly[c][0] : newColReadOnly;
    const TConstraintsHandle constraints = firstNew > 0 ? fColorConstraints[c][0] : 0;
    fGridBackColor[c].resize(r, color);
    fCellFonts[c].resize(r, fDefaultFontHandle);
    fReadOnly[c].resize(r, readOnly);
    fColorConstraints[c].resize(r, constraints);
  }
  fColNames.resize(static_cast<std::size_t>(cols));

  NumberRows();
  // InitColors and ExecuteColorconstraints over every cell, done for the
  // cells as they are painted or read: a list of 200 000 rows shows thirty.
  RecolourAllLater();
  AutoSizeCols();
}

void TMyStringGrid::ReserveRows(int rows) {
  fGrid->ReserveRows(rows);
  for (int col = 0; col < static_cast<int>(fGridBackColor.size()); ++col) ReserveAttributeRows(col, rows);
}

void TMyStringGrid::ReserveColumnRows(int col, int rows, int touched) {
  fGrid->ReserveColumnRows(col, rows, touched);
  ReserveAttributeRows(col, rows);
}

void TMyStringGrid::ReserveAttributeRows(int col, int rows) {
  if (col < 0 || col >= static_cast<int>(fGridBackColor.size())) return;
  const auto n = static_cast<std::size_t>(std::max(0, rows));
  auto reserve = [n](auto& column) {
    if (column.capacity() >= n) return;
    const std::size_t size = column.size();
    column.resize(n);
    column.resize(size);
  };
  const auto c = static_cast<std::size_t>(col);
  reserve(fGridBackColor[c]);
  reserve(fCellFonts[c]);
  reserve(fReadOnly[c]);
  reserve(fColorConstraints[c]);
}

void TMyStringGrid::Refresh() {
  UpdateDimensions();
  fGrid->Repaint();
}

// ---------------------------------------------------------------------------
// Attributes

bool TMyStringGrid::GetReadOnly(int col, int row) const {
  if (!InArrays(col, row)) return false;
  return fReadOnly[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)] != 0;
}

TGridFont TMyStringGrid::GetCellFont(int col, int row) const {
  if (!InArrays(col, row)) return fDefaultFont;
  return fFonts.Get(fCellFonts[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)]);
}

const std::vector<TColorConstraint>& TMyStringGrid::GetColorConstraints(int col, int row) const {
  if (!InArrays(col, row)) return fConstraints.Get(0);
  return fConstraints.Get(fColorConstraints[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)]);
}

std::size_t TMyStringGrid::AttributeBytes() const {
  std::size_t bytes = 0;
  for (std::size_t c = 0; c < fGridBackColor.size(); ++c) {
    bytes += fGridBackColor[c].capacity() * sizeof(TColor) + fCellFonts[c].capacity() * sizeof(TFontHandle) +
             fReadOnly[c].capacity() * sizeof(std::uint8_t) +
             fColorConstraints[c].capacity() * sizeof(TConstraintsHandle);
  }
  bytes += 4 * fGridBackColor.size() * sizeof(std::vector<int>);
  for (std::size_t h = 0; h < fConstraints.Count(); ++h)
    bytes += sizeof(std::vector<TColorConstraint>) + fConstraints.Get(static_cast<TConstraintsHandle>(h)).capacity() * sizeof(TColorConstraint);
  return bytes;
}
