#pragma once

#include <memory>
#include <string>
#include <vector>

#include "MemoryGridSurface.h"
#include "MyStringGrid.h"
#include "TestSupport.h"

inline constexpr TColor kWhite = 0xFFFFFF;
inline constexpr TColor kYellow = 0x9BF4FF;
inline constexpr TColor kRed = 0x443EFA;

// A managed grid over a memory surface laid out as the program's lists are:
// one fixed title row, one fixed column of row numbers.
struct TGridFixture {
  explicit TGridFixture(int dataCols = 2, bool editing = false) : Surface(dataCols + 1, 2, 1, 1) {
    Surface.SetEditing(editing);
    Grid = std::make_unique<TMyStringGrid>(&Surface);
    Grid->SetFixedRows(1);
    Grid->SetFixedCols(1);
  }

  // Fills the data rows as the lists do: automatic work off, forced writes,
  // then one UpdateDimensions.
  void Fill(const std::vector<std::vector<std::string>>& rows) {
    Grid->SetAutomatic(false);
    Grid->SetRowCount(static_cast<int>(std::max<std::size_t>(rows.size(), 1)) + Grid->GetFixedRows());
    for (std::size_t r = 0; r < rows.size(); ++r)
      for (std::size_t c = 0; c < rows[r].size(); ++c)
        Grid->SetCellForced(Grid->GetFixedCols() + static_cast<int>(c), Grid->GetFixedRows() + static_cast<int>(r),
                            rows[r][c]);
    Grid->SetAutomatic(true);
    Grid->UpdateDimensions();
    Grid->SetRow(Grid->GetRow());
  }

  std::vector<std::string> Column(int col) const {
    std::vector<std::string> out;
    for (int row = Grid->GetFixedRows(); row < Grid->GetRowCount(); ++row) out.push_back(Surface.GetCells(col, row));
    return out;
  }

  TTraceCapture Capture;
  TMemoryGridSurface Surface;
  std::unique_ptr<TMyStringGrid> Grid;
};
