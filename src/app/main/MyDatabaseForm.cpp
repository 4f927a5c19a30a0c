#include "MyDatabaseForm.h"

#include <QHeaderView>
#include <QTableWidget>

#include <vector>

#include "QtText.h"
#include "StringManager.h"

namespace {

// What a table needs to show a query result in the debug window: titles from
// the column filter, then the values, one row per result.
class TDebugTableGrid : public TQueryGrid {
public:
  explicit TDebugTableGrid(QTableWidget* grid) : fGrid(grid) {}
  int GetFixedCols() override { return 1; }
  int GetFixedRows() override { return 1; }
  void ClearCells() override { fGrid->clearContents(); }
  void SetColCount(int n) override { fGrid->setColumnCount(n); }
  void SetRowCount(int n) override { fGrid->setRowCount(n); }
  void setTitles(const std::string& titles) override {
    TStringManager& sm = StringManager();
    const int n = sm.CountTokens(titles, ';');
    if (fGrid->columnCount() < n + 1) fGrid->setColumnCount(n + 1);
    for (int i = 1; i <= n; ++i) SetCellForced(i, 0, sm.GetToken(titles, i, ';'));
  }
  void SetCellForced(int col, int row, const std::string& text) override {
    if (col < 0 || row < 0) return;
    if (col >= fGrid->columnCount()) fGrid->setColumnCount(col + 1);
    if (row >= fGrid->rowCount()) fGrid->setRowCount(row + 1);
    fGrid->setItem(row, col, new QTableWidgetItem(ToQString(text)));
  }
  void UpdateDimensions() override {}

private:
  QTableWidget* fGrid;
};

}  // namespace

TMyDatabase_Form::TMyDatabase_Form() : QWidget(nullptr, Qt::Window) {
  setObjectName("MyDatabase_Form");
  setWindowTitle(ToQString("MyDatabase_Form"));
  resize(841, 434);

  DBStringGrid = new QTableWidget(this);
  DBStringGrid->setObjectName("DBStringGrid");
  DBStringGrid->setGeometry(8, 8, 689, 385);
  DBStringGrid->setColumnCount(4);
  DBStringGrid->setRowCount(5);
  DBStringGrid->horizontalHeader()->hide();
  DBStringGrid->verticalHeader()->hide();
  const int widths[] = {64, 75, 258, 68};
  for (int c = 0; c < 4; ++c) DBStringGrid->setColumnWidth(c, widths[c]);

  SetTableDebugWindow(this);
}

TMyDatabase_Form::~TMyDatabase_Form() {
  if (GetTableDebugWindow() == this) SetTableDebugWindow(nullptr);
}

TQueryGrid* TMyDatabase_Form::CreateTableGrid() { return new TDebugTableGrid(DBStringGrid); }

void TMyDatabase_Form::ShowWindow() {
  show();
  raise();
}
