#pragma once

#include <QWidget>

#include "QueryGrid.h"

class QTableWidget;

// The table debug window: hidden for the whole run, shown only when a table
// displays a query result without being given a grid to fill. While it
// exists, every table created gets its own grid over DBStringGrid.
class TMyDatabase_Form : public QWidget, public TTableDebugWindow {
public:
  TMyDatabase_Form();
  ~TMyDatabase_Form() override;

  TQueryGrid* CreateTableGrid() override;
  void ShowWindow() override;

  QTableWidget* DBStringGrid;
};
