#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "MemoryGridSurface.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "PieceKinds.h"
#include "PieceSignals.h"
#include "TestSupport.h"

inline std::unique_ptr<TMyDatabase> TableOf(const std::string& text) {
  std::unique_ptr<TMyDatabase> table(TMyDatabase::CreateEmpty("", "x"));
  table->LoadFromText(text);
  return table;
}

// The piece-lines grid as the editor has it, on a memory surface: one fixed
// row of titles, one fixed column of row numbers, the five line columns.
struct TLinesFixture {
  TLinesFixture() : Surface(6, 2, 1, 1) {
    Surface.SetEditing(true);
    Grid = std::make_unique<TMyStringGrid>(&Surface);
    Grid->SetFixedRows(1);
    Grid->SetFixedCols(1);
    Grid->setTitles(kPieceLinesFilter);
  }

  // Rows of Code, Designation, Quantite, Prix Uni. TTC, Montant TTC.
  void Fill(const std::vector<std::vector<std::string>>& rows) {
    Grid->SetAutomatic(false);
    Grid->SetRowCount(static_cast<int>(std::max<std::size_t>(rows.size(), 1)) + 1);
    for (std::size_t r = 0; r < rows.size(); ++r)
      for (std::size_t c = 0; c < rows[r].size(); ++c)
        Grid->SetCellForced(1 + static_cast<int>(c), 1 + static_cast<int>(r), rows[r][c]);
    Grid->SetAutomatic(true);
    Grid->UpdateDimensions();
  }

  std::vector<std::string> Column(const std::string& name) const {
    std::vector<std::string> out;
    for (int row = 1; row < Grid->GetRowCount(); ++row) out.push_back(Grid->GetCellByName(name, row));
    return out;
  }

  // Collects the message panel's lines.
  TSignalProc Signal() {
    return [this](const std::string& text, TColor color) { Signals.emplace_back(text, color); };
  }

  TTraceCapture Capture;
  TMemoryGridSurface Surface;
  std::unique_ptr<TMyStringGrid> Grid;
  std::vector<std::pair<std::string, TColor>> Signals;
};
