#pragma once

#include <QColor>
#include <QFont>
#include <QLineEdit>
#include <QPointer>
#include <QTableView>

#include <functional>
#include <string>
#include <vector>

#include "GridCellTexts.h"
#include "GridSurface.h"
#include "QtGridKeys.h"

class TQtFontMetrics;
class TQtGridDelegate;
class TQtGridHeader;
class TQtGridModel;

// The on-screen string grid: a QTableView over the grid's texts. The first
// fixed row is the horizontal header and the first fixed column the vertical
// header (grids have at most one of each); the corner is their meeting cell.
//
// A form creates it, names it, sets its options and its event handlers, then
// wraps it in a TMyStringGrid:
//
//   auto* surface = new TQtGridSurface(parent);
//   surface->setObjectName("Liste_Factures_StringGrid");
//   surface->SetRowSelect(true);
//   surface->Events.OnDblClick = [this] { Liste_Factures_StringGridDblClick(); };
//   fFacturesGrid = std::make_unique<TMyStringGrid>(surface);
//
// Coordinates of the events and of MouseToCell are the widget's own.
class TQtGridSurface : public QTableView, public TGridSurface {
  Q_OBJECT
public:
  static constexpr int kRowHeight = 20;
  static constexpr int kDefaultColWidth = 64;

  explicit TQtGridSurface(QWidget* parent = nullptr, int colCount = 5, int rowCount = 5);
  ~TQtGridSurface() override;

  const std::string& GetCells(int col, int row) const override;
  void SetCells(int col, int row, const std::string& text) override;

  void PermuteRows(int firstCol, int firstRow, const std::vector<int>& sourceRows) override;
  void VisitColumn(int col, int firstRow, const TTextVisitor& visit) const override {
    fTexts.VisitColumn(col, firstRow, visit);
  }
  void PutRowsInPlace() override { fTexts.PutRowsInPlace(); }
  void ReserveRows(int rows) override { fTexts.Reserve(rows); }
  void ReserveColumnRows(int col, int rows, int touched) override { fTexts.Reserve(col, rows, touched); }
  void SetColumnTexts(int col, int firstRow, int count, const TTextSource& textOf) override;
  void InsertRow(int firstCol, int row) override;
  void RemoveRow(int firstCol, int row) override;
  // Offset so that it never answers 0 ("cannot tell").
  std::uint64_t GetTextsVersion() const override { return fTexts.Version() + 1; }
  bool ColumnResizedSincePress() const override { return fResizedSincePress; }

  int GetColCount() const override { return fColCount; }
  void SetColCount(int n) override;
  int GetRowCount() const override { return fRowCount; }
  void SetRowCount(int n) override;
  int GetFixedCols() const override { return fFixedCols; }
  void SetFixedCols(int n) override;
  int GetFixedRows() const override { return fFixedRows; }
  void SetFixedRows(int n) override;

  int GetCol() const override { return fCol; }
  int GetRow() const override { return fRow; }
  void SetCol(int col) override { SetCurrentCell(col, fRow); }
  void SetRow(int row) override { SetCurrentCell(fCol, row); }
  void SetCurrentCell(int col, int row) override;
  int GetTopRow() const override;
  void SetTopRow(int row) override;
  int GetVisibleRowCount() const override;
  int GetColWidth(int col) const override;
  void SetColWidth(int col, int width) override;

  int TextWidth(const std::string& text) override;
  int WidestText(int col) override;
  int TextHeight(const std::string& text) override;
  void SetBrushColor(TColor color) override;
  void FillRect(const TGridRect& rect) override;
  void SetFont(const TGridFont& font) override;
  void TextRect(const TGridRect& rect, int x, int y, const std::string& text) override;

  bool GetEditing() const override { return fEditing; }
  void SetEditing(bool on) override;
  bool GetRowSelect() const override { return fRowSelect; }
  void SetRowSelect(bool on) override;

  bool GetEditorMode() const override { return fEditor != nullptr; }
  void SetEditorMode(bool on) override;
  bool HasEditor() const override { return fEditor != nullptr; }
  int GetEditorSelStart() const override;
  void SetEditorSelStart(int pos) override;
  int GetEditorSelLength() const override;
  void SetEditorSelLength(int length) override;

  void MouseToCell(int x, int y, int& col, int& row) const override;
  void GetPointerPos(int& x, int& y) const override;

  int GetLeft() const override { return x(); }
  void SetLeft(int x) override { move(x, y()); }
  int GetTop() const override { return y(); }
  void SetTop(int y) override { move(x(), y); }
  int GetWidth() const override { return width(); }
  void SetWidth(int w) override { resize(w, height()); }
  int GetHeight() const override { return height(); }
  void SetHeight(int h) override { resize(width(), h); }
  bool GetVisible() const override { return isVisible(); }
  void SetVisible(bool visible) override { setVisible(visible); }
  void SetFocus() override { setFocus(Qt::OtherFocusReason); }
  void Repaint() override;

  // The rectangle of a cell in widget coordinates (for tests and tools).
  QRect CellRectInWidget(int col, int row) const;
  // The platform colour of a TColor (system colours from the palette).
  QColor ToQColor(TColor color) const;
  // The editor widget while a cell is being edited.
  QLineEdit* Editor() const { return fEditor; }

  // Used by the model, the delegate and the headers.
  void PaintCell(QPainter* painter, int col, int row, const QRect& rect);
  void EditorCreated(QLineEdit* editor, int col, int row);
  std::string EditTextFor(int col, int row);

protected:
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void updateGeometries() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  friend class TQtGridModel;

  void Resize(int cols, int rows);
  void ChangeShape(const std::function<void()>& change);
  void ApplyLayout();
  void SyncCurrentIndex();
  void ClampCurrentCell();
  void AlignTopRow();
  void ScheduleRepaint();
  void RecordPointer(const QPoint& widgetPos);
  bool IsInside(const QWidget* w) const;
  void FocusChanged(QWidget* old, QWidget* now);
  bool EditorKey(QKeyEvent* event);
  bool DeliverKeyDown(QKeyEvent* event);
  bool DeliverChar(QKeyEvent* event, QKeyEvent** replacement);
  void MouseEventFrom(QWidget* source, QEvent* event);
  QFont QtFontFor(const TGridFont& font) const;
  TQtFontMetrics& MetricsFor(const TGridFont& font);
  void DefaultPaint(int col, int row, const TGridRect& rect, bool fixed);

  TQtGridModel* fModel;
  TQtGridDelegate* fDelegate;
  TQtGridHeader* fTitles;
  TQtGridHeader* fNumbers;

  TGridCellTexts fTexts;
  std::vector<int> fColWidths;
  int fColCount = 0;
  int fRowCount = 0;
  int fFixedCols = 0;
  int fFixedRows = 0;
  int fCol = 0;
  int fRow = 0;
  bool fEditing = false;
  bool fRowSelect = false;
  bool fSyncing = false;
  bool fRepaintPending = false;
  bool fShaping = false;
  bool fMovedByPress = false;
  // A title border was dragged since the last mouse press.
  bool fResizedSincePress = false;
  // A mouse button went down on the titles and is not released yet.
  bool fTitlesPressed = false;
  QPoint fPointer;

  QPointer<QLineEdit> fEditor;
  int fEditCol = -1;
  int fEditRow = -1;
  std::string fEditOriginal;

  // Canvas state while a cell is painted.
  QPainter* fPainter = nullptr;
  QColor fBrush = Qt::white;
  TGridFont fCanvasFont;
  TGridFont fLastFont;
  TQtFontMetrics* fLastMetrics = nullptr;
};
