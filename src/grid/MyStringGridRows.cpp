// One row of a long sorted list inserted or removed in place: the rows
// around it keep their texts, colours and widths, and nothing is filled or
// sorted again. A list whose sorted column has equal texts is sorted again
// over the texts it holds, its rows moved once.

#include <algorithm>

#include "MyStringGrid.h"
#include "SortKey.h"
#include "Trace.h"

int TMyStringGrid::SortedRowFor(const std::string& text) const {
  const int fixedRows = fGrid->GetFixedRows();
  const int col = fSortCol >= 0 && fSortCol < fGrid->GetColCount() ? fSortCol : 0;
  const TSortKey key = SortKeyOf(text);
  // The first row the text goes before: ascending, the first row above it;
  // descending, the first row below it. Rows equal to it stay before it.
  int lo = fixedRows;
  int hi = fGrid->GetRowCount();
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    const std::string& other = fGrid->GetCells(col, mid);
    const int c = CompareWithKeys(other, SortKeyOf(other), text, key);
    if (fSortAscending ? c <= 0 : c >= 0) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return lo;
}

void TMyStringGrid::InsertRowAt(int row, const std::vector<std::string>& texts) {
  const int fixedRows = fGrid->GetFixedRows();
  const int fixedCols = fGrid->GetFixedCols();
  if (row < fixedRows || row > fGrid->GetRowCount()) {
    ErrorInt("TMyStringGrid.InsertRowAt: bad Row Position ", row);
    return;
  }
  const bool widthsCurrent = WidthsCurrent();
  const int current = fGrid->GetRow();
  const int top = fGrid->GetTopRow();
  const int cols = fGrid->GetColCount();
  const std::uint8_t newColReadOnly = fGrid->GetEditing() ? 0 : 1;

  fSelectOn = false;
  fGrid->InsertRow(fixedCols, row);
  const int rows = fGrid->GetRowCount();
  // The attributes move with the texts; the new row gets what a row added
  // at the end gets. The fixed columns keep their rows and get one more at
  // their end.
  for (int col = 0; col < cols && col < static_cast<int>(fGridBackColor.size()); ++col) {
    const auto c = static_cast<std::size_t>(col);
    auto& colors = fGridBackColor[c];
    const bool any = !fReadOnly[c].empty();
    const TColor color = fixedRows < static_cast<int>(colors.size()) ? colors[static_cast<std::size_t>(fixedRows)]
                                                                     : fDefaultColor;
    const std::uint8_t readOnly = any ? fReadOnly[c][0] : newColReadOnly;
    const TConstraintsHandle constraints = any ? fColorConstraints[c][0] : 0;
    const auto at = static_cast<std::ptrdiff_t>(col < fixedCols ? colors.size() : static_cast<std::size_t>(row));
    colors.insert(colors.begin() + at, color);
    fCellFonts[c].insert(fCellFonts[c].begin() + at, fDefaultFontHandle);
    fReadOnly[c].insert(fReadOnly[c].begin() + at, readOnly);
    fColorConstraints[c].insert(fColorConstraints[c].begin() + at, constraints);
  }

  // The texts, each cell coloured from its text as a forced write does.
  std::vector<int> written;
  for (int col = fixedCols; col < cols; ++col) {
    const auto i = static_cast<std::size_t>(col - fixedCols);
    if (i >= texts.size() || texts[i].empty()) {
      SetCellForced(col, row, std::string());
      continue;
    }
    SetCellForced(col, row, texts[i]);
    written.push_back(col);
  }
  if (fNumberingOn && cols > 0) {
    if (fixedCols > 0) {
      SetCellForced(0, rows - 1, IntToStr(rows - 1));
    } else {
      NumberRows();
    }
  }

  // The widths measured before still hold, widened where a text written is
  // wider than its column.
  if (widthsCurrent) {
    fGrid->SetFont(fDefaultFont);
    for (int col : written) {
      int& width = fTextWidths[static_cast<std::size_t>(col)];
      width = std::max(width, fGrid->TextWidth(fGrid->GetCells(col, row)));
    }
    if (fNumberingOn && cols > 0) fTextWidths[0] = std::max(fTextWidths[0], fGrid->TextWidth(fGrid->GetCells(0, rows - 1)));
    fWidthsVersion = fGrid->GetTextsVersion();
  }

  // The current row and the top row stay on the records they showed.
  fGrid->SetRow(current >= row ? std::min(current + 1, rows - 1) : current);
  if (top > row) SetTopRow(top + 1);
  fSelectOn = true;
  AutoSizeCols();
  fGrid->Repaint();
}

void TMyStringGrid::RemoveRowAt(int row) {
  const int fixedRows = fGrid->GetFixedRows();
  const int fixedCols = fGrid->GetFixedCols();
  const int rows = fGrid->GetRowCount();
  if (row < fixedRows || row > rows - 1) {
    ErrorInt("TMyStringGrid.RemoveRowAt: bad Row Position ", row);
    return;
  }
  if (rows - 1 <= fixedRows) {
    Error("TMyStringGrid.SetRowCount : impossible de supprimer la premiere ligne");
    return;
  }
  const bool widthsCurrent = WidthsCurrent();
  const int current = fGrid->GetRow();
  const int top = fGrid->GetTopRow();
  const int cols = fGrid->GetColCount();

  // A column whose widest text goes with the row is measured again.
  std::vector<int> remeasure;
  if (widthsCurrent) {
    fGrid->SetFont(fDefaultFont);
    for (int col = 0; col < cols; ++col) {
      const std::string& text = fGrid->GetCells(col, col < fixedCols ? rows - 1 : row);
      if (!text.empty() && fGrid->TextWidth(text) >= fTextWidths[static_cast<std::size_t>(col)]) remeasure.push_back(col);
    }
  }

  fSelectOn = false;
  fGrid->RemoveRow(fixedCols, row);
  for (int col = 0; col < cols && col < static_cast<int>(fGridBackColor.size()); ++col) {
    const auto c = static_cast<std::size_t>(col);
    auto erase = [&](auto& v) {
      if (v.empty()) return;
      v.erase(col < fixedCols ? v.end() - 1 : v.begin() + row);
    };
    erase(fGridBackColor[c]);
    erase(fCellFonts[c]);
    erase(fReadOnly[c]);
    erase(fColorConstraints[c]);
  }
  if (fNumberingOn && cols > 0 && fixedCols == 0) NumberRows();

  if (widthsCurrent) {
    for (int col : remeasure) {
      int& width = fTextWidths[static_cast<std::size_t>(col)];
      if (!WidthHeldElsewhere(col, width)) width = ColumnTextWidth(col);
    }
    fWidthsVersion = fGrid->GetTextsVersion();
  }

  // The current row stays on its record, or on the one that took the place
  // of the record removed; the top row on the record it showed.
  const int last = fGrid->GetRowCount() - 1;
  fGrid->SetRow(std::min(current > row ? current - 1 : current, last));
  if (top > row) SetTopRow(top - 1);
  fSelectOn = true;
  if (fRememberOn) fEnteredText = GetCell(fGrid->GetCol(), fGrid->GetRow());
  AutoSizeCols();
  fGrid->Repaint();
}

bool TMyStringGrid::KeepsStrictOrder(TValueKind family, int row, const std::string& text) const {
  const TSortKey key = SortKeyOf(text);
  if (!text.empty()) {
    if (family == TValueKind::Text ? !ComparesAsBytes(key, text) : FamilyOf(key.Kind) != family) return false;
    if (key.Kind == TValueKind::Integer && (key.Int > kExactDoubleLimit || key.Int < -kExactDoubleLimit)) return false;
  }
  // SortedRowFor puts a text after the texts equal to it: only the row
  // before can be one.
  const int col = fSortCol >= 0 && fSortCol < fGrid->GetColCount() ? fSortCol : 0;
  if (row - 1 < fGrid->GetFixedRows() || row - 1 >= fGrid->GetRowCount()) return true;
  const std::string& before = fGrid->GetCells(col, row - 1);
  return CompareWithKeys(before, SortKeyOf(before), text, key) != 0;
}

void TMyStringGrid::ReplaceRowTexts(int row, const std::vector<std::string>& texts) {
  if (row < fGrid->GetFixedRows() || row >= fGrid->GetRowCount()) {
    ErrorInt("TMyStringGrid.ReplaceRowTexts: bad Row Position ", row);
    return;
  }
  const int fixedCols = fGrid->GetFixedCols();
  const std::string empty;
  for (int col = fixedCols; col < fGrid->GetColCount(); ++col) {
    const auto i = static_cast<std::size_t>(col - fixedCols);
    const std::string& text = i < texts.size() ? texts[i] : empty;
    if (fGrid->GetCells(col, row) != text) SetCellForced(col, row, text);
  }
  AutoSizeCols();
  fGrid->Repaint();
}

void TMyStringGrid::ResortAsFilled(const std::vector<int>& fillOrder, const std::vector<int>& moved,
                                   std::vector<int>* from) {
  const int fixedRows = fGrid->GetFixedRows();
  const int fixedCols = fGrid->GetFixedCols();
  const int rows = fGrid->GetRowCount();
  const auto count = static_cast<std::size_t>(std::max(0, rows - fixedRows));
  std::vector<std::uint8_t> seen(count, 0);
  bool rowsListed = fillOrder.size() == count;
  for (std::size_t k = 0; k < fillOrder.size() && rowsListed; ++k) {
    const int row = fillOrder[k];
    rowsListed = row >= fixedRows && row < rows && seen[static_cast<std::size_t>(row - fixedRows)]++ == 0;
  }
  if (!rowsListed) {
    ErrorInt("TMyStringGrid.ResortAsFilled: bad rows : ", static_cast<int>(fillOrder.size()));
    return;
  }
  const int col = fSortCol >= 0 && fSortCol < fGrid->GetColCount() ? fSortCol : 0;
  TSortOrder order;
  const std::vector<int> sorted = SortedRows(col, fillOrder, order, &moved);

  // The k-th row sorted goes to data row k ascending, to the k-th from the
  // bottom descending, as the column sort places them.
  std::vector<int> sources(count);
  for (std::size_t k = 0; k < count; ++k) sources[fSortAscending ? k : count - 1 - k] = sorted[k];

  const bool widthsCurrent = WidthsCurrent();
  const int current = fGrid->GetRow();
  const bool remember = fRememberOn;
  fSelectOn = false;
  fRememberOn = false;
  fGrid->PermuteRows(fixedCols, fixedRows, sources);
  fRememberOn = remember;
  // The attributes of the data columns go with the texts: each row keeps
  // the colours worked out from its texts.
  auto permute = [&](auto& cells) {
    if (cells.size() < static_cast<std::size_t>(rows)) return;
    auto placed = cells;
    for (std::size_t k = 0; k < count; ++k) placed[fixedRows + k] = cells[static_cast<std::size_t>(sources[k])];
    cells.swap(placed);
  };
  for (int c = fixedCols; c < static_cast<int>(fGridBackColor.size()); ++c) {
    const auto i = static_cast<std::size_t>(c);
    permute(fGridBackColor[i]);
    permute(fCellFonts[i]);
    permute(fReadOnly[i]);
    permute(fColorConstraints[i]);
  }
  // Moving whole rows changes no column's widest text.
  if (widthsCurrent) fWidthsVersion = fGrid->GetTextsVersion();

  if (current >= fixedRows && current < rows) {
    for (std::size_t k = 0; k < count; ++k) {
      if (sources[k] != current) continue;
      fGrid->SetRow(fixedRows + static_cast<int>(k));
      break;
    }
  }
  fSelectOn = true;
  if (fRememberOn) fEnteredText = GetCell(fGrid->GetCol(), fGrid->GetRow());
  order.Version = fGrid->GetTextsVersion();
  fLastSort = order;
  if (from != nullptr) *from = std::move(sources);
  fGrid->Repaint();
}
