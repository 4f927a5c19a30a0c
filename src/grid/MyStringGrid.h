#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "CellTypes.h"
#include "ColumnSort.h"
#include "GridAttributes.h"
#include "GridSurface.h"
#include "QueryGrid.h"
#include "TypedCompare.h"

class TMyDatabase;
class TMyStringGrid;

// Called when the user leaves a cell: its column, its row and the text it
// had when it was entered (the receiver compares it with the present text).
using TCellChangeProc = std::function<void(int col, int row, const std::string& previousText)>;

// A live view of one row or one column of a grid's texts.
class TGridStrings {
public:
  TGridStrings(TGridSurface* grid, int index, bool isRow) : fGrid(grid), fIndex(index), fIsRow(isRow) {}
  int Count() const;
  std::string Get(int i) const;
  void Set(int i, const std::string& text);
  // Position of the first entry equal to text, or -1.
  int IndexOf(const std::string& text) const;

private:
  TGridSurface* fGrid;
  int fIndex;
  bool fIsRow;
};

// The model of every grid on screen. It wraps a grid surface (which keeps the
// texts, the dimensions, the current cell and the scrolling) and adds what a
// plain string grid lacks: a colour, a font, a read-only flag and a list of
// colour constraints per cell, named columns, sorting by a title click, rows
// inserted and deleted with their attributes, a notification when the user
// leaves a changed cell, automatic column widths and its own painting.
//
// It takes over the surface's events at creation: the form sets its handlers
// on the surface first; the managed grid keeps them and calls them after its
// own work. Destroy the managed grid before its surface.
class TMyStringGrid : public TQueryGrid {
public:
  TMyStringGrid(TGridSurface* grid, TCellChangeProc onCellChange = nullptr);
  ~TMyStringGrid() override;
  TMyStringGrid(const TMyStringGrid&) = delete;
  TMyStringGrid& operator=(const TMyStringGrid&) = delete;

  // Dimensions and position.
  int GetCol() const { return fGrid->GetCol(); }
  int GetRow() const { return fGrid->GetRow(); }
  int GetColCount() const { return fGrid->GetColCount(); }
  int GetRowCount() const { return fGrid->GetRowCount(); }
  int GetFixedCols() override { return fGrid->GetFixedCols(); }
  int GetFixedRows() override { return fGrid->GetFixedRows(); }
  int GetTopRow() const { return fGrid->GetTopRow(); }
  int GetLeft() const { return fGrid->GetLeft(); }
  int GetTop() const { return fGrid->GetTop(); }
  int GetWidth() const { return fGrid->GetWidth(); }
  int GetHeight() const { return fGrid->GetHeight(); }
  bool GetVisible() const { return fGrid->GetVisible(); }
  TGridSurface* GetCanvas() const { return fGrid; }
  TGridSurface* GetGrid() const { return fGrid; }
  void SetCol(int col);
  void SetRow(int row);
  void SetRowCount(int n) override;
  void SetColCount(int n) override;
  void SetFixedCols(int n);
  void SetFixedRows(int n);
  void SetTopRow(int row);
  void SetLeft(int x) { fGrid->SetLeft(x); }
  void SetTop(int y) { fGrid->SetTop(y); }
  void SetWidth(int w);
  void SetHeight(int h);
  void SetVisible(bool visible);
  void SetFocus() { fGrid->SetFocus(); }

  // Cells and columns.
  std::string GetCell(int col, int row) const;
  void SetCell(int col, int row, const std::string& text);
  void SetCellForced(int col, int row, const std::string& text) override;
  // During a bulk update (automatic work off) the texts go to the surface
  // in one call; otherwise as SetCellForced writes them one by one.
  void SetColumnForced(int col, int firstRow, int count, const std::function<const std::string&(int k)>& textOf) override;
  std::string GetColName(int col) const;
  void SetColName(int col, const std::string& name);
  int GetColIndex(const std::string& name) const;
  void setTitles(const std::string& titles) override;
  std::string GetCellByName(const std::string& name, int row) const;
  void SetCellByName(const std::string& name, int row, const std::string& text);
  void SetCellForcedByName(const std::string& name, int row, const std::string& text);
  std::string GetCurrentCell(const std::string& name) const;
  TGridStrings GetRowStrings(int row) const { return TGridStrings(fGrid, row, true); }
  TGridStrings GetColStrings(int col) const { return TGridStrings(fGrid, col, false); }
  TGridStrings GetColStringsByName(const std::string& name) const {
    return TGridStrings(fGrid, GetColIndex(name), false);
  }
  void SetColReadOnly(int col, bool flag);
  void SetColReadOnlyByName(const std::string& name, bool flag);
  // (col, row) of the first cell equal to text, or (-1, -1).
  std::pair<int, int> FindCell(const std::string& text, const std::string& name) const;

  // Rows.
  void InsertEmptyLine(int row, bool keepAttributes);
  // A list kept sorted by fSortCol, in the direction fSortAscending, takes
  // one record in place, without being filled or sorted again.
  // SortedRowFor is the data row at which a row with that text in the
  // sorted column belongs: after the rows equal to it.
  int SortedRowFor(const std::string& text) const;
  // Inserts a data row (FixedRows .. RowCount) holding the texts, the data
  // columns in order (missing ones empty). The rows below move down with
  // their colours, fonts, read-only flags and constraints; the new row gets
  // the attributes of a row added at the end and its colours from its texts.
  // The row numbers stay where they are, one more at the end; the column
  // widths stay, widened where a new text is wider. The current row and the
  // top row stay on the records they showed.
  void InsertRowAt(int row, const std::vector<std::string>& texts);
  // Removes a data row the same way; the widths stay unless the row held
  // the widest text of a column. The only data row is never removed (the
  // SetRowCount report).
  void RemoveRowAt(int row);
  // Writes the texts over a data row (the data columns in order, missing
  // ones empty) as forced writes, then sizes the columns: a record changed
  // in place whose text in the sorted column stayed keeps its row.
  void ReplaceRowTexts(int row, const std::vector<std::string>& texts);
  void DeleteLine(int row);
  // DeleteLine for many rows at once, in one pass over the grid: the rows
  // below each deleted one move up with their attributes. A row out of the
  // data rows is reported and nothing is deleted.
  void DeleteLines(const std::vector<int>& rows);
  void ClearCells() override;
  void Clear() { ClearCells(); }
  void NumberRows();
  // NumberRows over rows first .. end - 1 only: a fill done a slice at a time
  // numbers each slice of rows as it writes it.
  void NumberRows(int first, int end);

  // Sorting, layout and bulk updates.
  // Sorts the data rows by the column; `from`, when given, receives for
  // each data row, in order, the row it held before the sort.
  void TrierColonne(int col, std::vector<int>* from = nullptr);
  void TrierColonne(const std::string& name) { TrierColonne(GetColIndex(name)); }
  void Resort(std::vector<int>* from = nullptr);
  // TrierColonne in steps, for a list sorted a slice at a time while the
  // program is idle (TrierColonne does them all at once). BeginSort
  // remembers the selected row and switches the automatic work off; it
  // answers null for a bad column, reported as TrierColonne reports it.
  // SortStep keys the column and sorts it, about `work` rows or comparisons
  // at a time, and answers true once sorted; FinishSort then moves the rows,
  // selects the row again, scrolls and recolours. Nothing may write to the
  // grid between BeginSort and FinishSort.
  std::unique_ptr<TColumnSort> BeginSort(int col);
  bool SortStep(TColumnSort& sort, std::size_t work);
  void FinishSort(TColumnSort& sort, std::vector<int>* from);
  // What the last sort found in the column it sorted, valid while the texts
  // are those it left (Version): whether they are all different and all
  // compared alike (all by their bytes, ComparesAsBytes, or all numbers,
  // dates or piece numbers of one kind, besides one empty text), so that any
  // sort of them,
  // whatever the order they come in, gives the one order it left; and that
  // family (Text for the bytes).
  struct TSortOrder {
    bool Strict = false;
    TValueKind Family = TValueKind::Text;
    int Col = -1;
    bool Ascending = true;
    std::uint64_t Version = 0;
  };
  const TSortOrder& LastSortOrder() const { return fLastSort; }
  // The rows listed (data rows, each once) in the order the sort by the
  // column leaves them when they come in the order listed, as a fill writes
  // them: first to last, before they are placed (from the top ascending,
  // from the bottom descending). What that sort finds goes to order, its
  // Version left at 0. `moved`, when given (rows listed being every data
  // row and col the column Resort sorts), lists the rows whose texts may
  // have left their sorted places since the last sort: the others are in
  // its order, which spares comparing long texts again (when that turns out
  // false, the texts are sorted as they are).
  std::vector<int> SortedRows(int col, const std::vector<int>& rows, TSortOrder& order,
                              const std::vector<int>* moved = nullptr);
  // A list whose rows are those of a fill, but not in the fill's order,
  // brought to what that fill followed by Resort shows, without writing a
  // text: fillOrder lists the data rows in the order the fill writes them;
  // the sort orders them exactly as it orders that fill (ties included)
  // and each row moves once to its place with its colours, fonts, read-only
  // flags and constraints. `moved` lists the rows written or added since the
  // rows were last sorted (see SortedRows). The row numbers and the widths
  // stay; the current row stays on the row it showed, the top row where it
  // is. `from`, when given, receives for each data row the row it held
  // before. A fillOrder that is not the data rows is refused with a report,
  // nothing moved.
  void ResortAsFilled(const std::vector<int>& fillOrder, const std::vector<int>& moved,
                      std::vector<int>* from = nullptr);
  // Whether a text put at `row` (SortedRowFor's answer) of a column whose
  // texts are all different and of that family keeps them so: of the family
  // and equal to none of them.
  bool KeepsStrictOrder(TValueKind family, int row, const std::string& text) const;
  void AutoSizeCols();
  int GetNeededWidth();
  // The widths AutoSizeCols works from (each column's widest text), measured
  // a slice of rows at a time, so that sizing a grid of 100 000 rows filled
  // while the program is idle finds them measured. A text written meanwhile
  // starts the measure again. True once the widths are those of the texts.
  struct TWidthsMeasure {
    std::uint64_t Version = 0;
    int NextRow = 0;
    std::vector<int> Widest;
  };
  bool MeasureWidthsStep(TWidthsMeasure& measure, int rows);
  // The size in points of the grid's font (8 unless set), for its cells and
  // for the widths AutoSizeCols and GetNeededWidth work out.
  void SetFontSize(int size);
  int GetFontSize() const { return fDefaultFont.Size; }
  void SetAutomatic(bool flag);
  void UpdateDimensions() override;
  // Room for that many rows in the texts and the attributes of the present
  // columns, its memory touched now: the first fill that large (the first
  // search over the invoices) then does not wait for fresh memory. For the
  // program's idle time.
  void ReserveRows(int rows);
  // The same for one column, its texts' memory touched up to row `touched`
  // only: the room of a long list is taken a slice at a time.
  void ReserveColumnRows(int col, int rows, int touched);
  void Refresh();

  // Cell typing and colours: the codes are the cell types (CellTypes.h).
  bool CheckType(const std::string& text, int code);
  void AddColColorConstraint(int col, int code, TColor color);
  void AddRowColorConstraint(int row, int code, TColor color);
  // The row's colour rule of that kind set to the colour: when the last rule
  // of every cell of the row is one rule of that kind (a row rule added after
  // the column rules), it is replaced; otherwise the rule is added. A row
  // shaded again and again keeps one rule.
  void ReplaceRowColorConstraint(int row, int code, TColor color);
  void ClearColorConstraints();
  void InitColors(int col, int row);
  void InitColors(int col);
  void InitColors();
  void ExecuteColorconstraints(int col, int row);
  void ExecuteColorconstraints(int col);
  void ExecuteColorconstraints();
  void UpdateRowColors(int row);
  TColor GetCellColor(int col, int row) const;
  void OnDrawCell(int col, int row, const TGridRect& rect, TGridDrawState state);

  // Per-cell attributes, for screens and tests that read them.
  bool GetReadOnly(int col, int row) const;
  TGridFont GetCellFont(int col, int row) const;
  const std::vector<TColorConstraint>& GetColorConstraints(int col, int row) const;
  const std::string& GetEnteredText() const { return fEnteredText; }
  // Bytes of per-cell attributes (texts aside) held for the whole grid.
  std::size_t AttributeBytes() const;

  // Screens read and write these four directly.
  bool fSortAscending = false;
  std::int32_t fSortCol = 0;
  TColor fDefaultColor = 0xFFFFFF;
  bool fNumberingOn = true;

private:
  template <class T>
  using TCellArray = std::vector<std::vector<T>>;

  // The answers of one reference table, by text: a grid asks the same
  // countries and codes again at every recolouring.
  struct TReference {
    std::unique_ptr<TMyDatabase> Table;
    std::unordered_map<std::string, bool> Answers;
  };

  // A colour that has not been worked out since the last recolouring of the
  // whole grid; it is worked out when the cell is painted or read.
  static constexpr TColor kColorPending = 0xFFFFFFFF;

  bool InArrays(int col, int row) const;
  bool InGrid(int col, int row) const;
  void SelectCellHandler(int col, int row, bool& canSelect);
  void TypingHandler(std::uint16_t key, TShiftState shift);
  void WheelHandler();
  void TitleClick(int x, int y);
  void DoubleClick();
  void ExitHandler();
  bool ReferenceLookup(TReference& reference, const char* fileName, const char* field, const std::string& text);
  // Every cell's colour to be worked out again from its text and constraints
  // (what InitColors and ExecuteColorconstraints over the whole grid do),
  // when it is next painted or read.
  void RecolourAllLater();
  void RecolourColumnLater(int col);
  // The colour of a cell, worked out first when it is pending.
  TColor ColorAt(int col, int row) const;
  void TitlePress(int x, int y);
  void CopyRowAttributes(int col, int from, int to);
  void InstallHandlers();
  int ColumnTextWidth(int col);
  const std::vector<int>& TextWidths();
  // Whether the measured widths hold for the texts as they are now.
  bool WidthsCurrent() const;
  // Writes one text; measured widths that held before it still hold after
  // it unless the text replaced may have been its column's widest.
  void WriteText(int col, int row, const std::string& text);
  // Whether a column whose widest text (of that width) was written over or
  // removed still has one as wide, looked for among its first rows: its
  // measured width then holds. The surface's font is the grid's.
  bool WidthHeldElsewhere(int col, int width);
  // The rows a finished sort (SortStep answered true) put in order, first
  // to last, and what it found in them: Strict and Family of order.
  static std::vector<int> SortedOf(const TColumnSort& sort, TSortOrder& order);
  // Whether the measured widths can be kept through changing the row count
  // to n: rows added are empty; the columns where a removed row may have held
  // the widest text are listed in remeasure, to be measured alone.
  bool RowCountKeepsWidths(int n, std::vector<int>& remeasure);
  int ScrollBarShown() const;
  void ReserveAttributeRows(int col, int rows);

  TGridSurface* fGrid;
  // Mutable: a pending colour is worked out by the reads that need it.
  mutable TCellArray<TColor> fGridBackColor;
  // The default colour the pending cells start from.
  TColor fPendingBase = 0xFFFFFF;
  TCellArray<TFontHandle> fCellFonts;
  TCellArray<std::uint8_t> fReadOnly;
  TCellArray<TConstraintsHandle> fColorConstraints;
  std::vector<std::string> fColNames;
  std::string fEnteredText;
  bool fNotifyOn = true;
  bool fColorsOn = true;
  bool fDimensionsOn = true;
  bool fAutoSizeOn = true;
  bool fRememberOn = true;
  bool fSelectOn = true;
  TGridFont fDefaultFont;
  TColor fSelectedColor = 0x800000;
  TColor fFixedColor = clBtnFace;
  TReference fPaysDb;
  TReference fPsychotropesDb;
  TReference fStupefiantsDb;
  // The cell under the last mouse press, (-1, -1) outside the cells; a title
  // click is a press and a release on the same title cell.
  int fPressCol = -1;
  int fPressRow = -1;
  bool fPressSeen = false;
  // True while the grid moves texts between rows itself; the moved cells are
  // all recoloured afterwards.
  bool fMovingTexts = false;
  TCellChangeProc fOnCellChange;
  TGridEvents fFormEvents;

  // The text widths of the columns, valid while the surface's texts are at
  // fWidthsVersion.
  std::vector<int> fTextWidths;
  std::uint64_t fWidthsVersion = 0;

  TSortOrder fLastSort;

  TGridFontPool fFonts;
  TConstraintPool fConstraints;
  TFontHandle fDefaultFontHandle = 0;
};

// Switches a grid's automatic work off for a bulk update (a fill, a sort) and
// guarantees it is switched back on whatever ends the update: a handler that
// throws in the middle (a pattern error in a form's click handler) must not
// leave the grid without colours, notifications and sizes. The update still
// ends as usual with SetAutomatic(true) and UpdateDimensions; when it is
// abandoned by an exception, the guard does both.
class TAutomaticOff {
public:
  explicit TAutomaticOff(TMyStringGrid& grid) : fGrid(grid), fExceptions(std::uncaught_exceptions()) {
    grid.SetAutomatic(false);
  }
  ~TAutomaticOff() {
    fGrid.SetAutomatic(true);
    if (std::uncaught_exceptions() > fExceptions) {
      try {
        fGrid.UpdateDimensions();
      } catch (...) {
        // Already leaving with an exception; the grid is usable again.
      }
    }
  }
  TAutomaticOff(const TAutomaticOff&) = delete;
  TAutomaticOff& operator=(const TAutomaticOff&) = delete;

private:
  TMyStringGrid& fGrid;
  int fExceptions;
};
