#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A colour as the platform stores it: 0x00BBGGRR for a plain colour, or a
// system-colour code with the top bit set (0x8000000F is the button face).
using TColor = std::uint32_t;

inline constexpr TColor clBtnFace = 0x8000000F;
inline constexpr TColor clWindow = 0x80000005;
inline constexpr TColor clWindowText = 0x80000008;

// The validation palette of every screen: valid (also every grid's default),
// warning, error. A cell or edit in the error colour blocks saving.
inline constexpr TColor clValidWhite = 0xFFFFFF;
inline constexpr TColor clWarningYellow = 0x9BF4FF;
inline constexpr TColor clErrorRed = 0x443EFA;

enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// What a cell font is made of: colour, size in points and a set of
// TFontStyle bits.
struct TGridFont {
  TColor Color = 0;
  int Size = 8;
  std::uint8_t Style = 0;
  bool operator==(const TGridFont&) const = default;
};

// A cell rectangle in the grid's own coordinates; Right and Bottom are one
// past the last pixel.
struct TGridRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
};

struct TGridDrawState {
  bool Selected = false;
  bool Focused = false;
  bool Fixed = false;
};

enum class TMouseButton { Left, Right, Middle };

// Keyboard and mouse state that comes with an event.
using TShiftState = std::uint8_t;
enum : std::uint8_t { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };

// Windows virtual-key codes: the key codes every key handler of the program
// receives, whatever the toolkit underneath.
namespace vk {
inline constexpr std::uint16_t Back = 0x08, Tab = 0x09, Return = 0x0D, Shift = 0x10, Control = 0x11, Menu = 0x12,
                               Escape = 0x1B, Space = 0x20, Prior = 0x21, Next = 0x22, End = 0x23, Home = 0x24,
                               Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28, Insert = 0x2D, Delete = 0x2E,
                               Numpad0 = 0x60, Multiply = 0x6A, Add = 0x6B, Separator = 0x6C, Subtract = 0x6D,
                               Decimal = 0x6E, Divide = 0x6F, F1 = 0x70, F12 = 0x7B;
}

// The events of an on-screen string grid. A form sets the ones it wants
// before it wraps the grid in a managed grid; the managed grid keeps them,
// puts its own in their place and calls the form's after its own work.
struct TGridEvents {
  // After every change of the current cell, whoever made it, and after a
  // left click that left the current cell where it was.
  std::function<void()> OnClick;
  std::function<void()> OnDblClick;
  std::function<void(int col, int row, const TGridRect& rect, TGridDrawState state)> OnDrawCell;
  std::function<void()> OnEnter;
  std::function<void()> OnExit;
  // The text the in-place editor starts with; the handler may change it.
  std::function<void(int col, int row, std::string& value)> OnGetEditText;
  // A character typed (Windows-1252); setting it to 0 swallows it.
  std::function<void(char& key)> OnKeyPress;
  // Setting key to 0 swallows the key.
  std::function<void(std::uint16_t& key, TShiftState shift)> OnKeyDown;
  std::function<void(std::uint16_t& key, TShiftState shift)> OnKeyUp;
  std::function<void(TMouseButton button, TShiftState shift, int x, int y)> OnMouseDown;
  std::function<void(TShiftState shift, int x, int y)> OnMouseMove;
  std::function<void(TMouseButton button, TShiftState shift, int x, int y)> OnMouseUp;
  std::function<void(TShiftState shift, int x, int y, bool& handled)> OnMouseWheelDown;
  std::function<void(TShiftState shift, int x, int y, bool& handled)> OnMouseWheelUp;
  // The in-place editor's text changed.
  std::function<void(int col, int row, const std::string& value)> OnSetEditText;
  // The user or the program is about to make (col, row) the current cell;
  // clearing canSelect keeps the current cell where it is.
  std::function<void(int col, int row, bool& canSelect)> OnSelectCell;
};

// Everything the managed grid needs of an on-screen string grid: a table of
// text cells with leading fixed (title) rows and columns, a current cell, a
// scroll position, an in-place editor and a drawing canvas. Texts are
// Windows-1252. Columns and rows count from 0, the fixed ones first.
//
// Moving the current cell, by the user or through SetCol/SetRow/SetCurrentCell,
// first calls Events.OnSelectCell; while that handler runs GetCol and GetRow
// still answer the cell being left. Reads and writes outside the cells are
// ignored (a read answers an empty text).
class TGridSurface {
public:
  TGridSurface() = default;
  virtual ~TGridSurface() = default;
  TGridSurface(const TGridSurface&) = delete;
  TGridSurface& operator=(const TGridSurface&) = delete;

  TGridEvents Events;

  // Called before a cell's text is replaced, whoever replaces it (the
  // program, or the user through the in-place editor), while the old text is
  // still in the cell. The managed grid uses it to settle the colour the cell
  // had, which a text typed into the cell must not change before the cell is
  // left. Surfaces call it from every write of a text.
  std::function<void(int col, int row)> BeforeTextChange;

  // Cells.
  virtual const std::string& GetCells(int col, int row) const = 0;
  virtual void SetCells(int col, int row, const std::string& text) = 0;

  // Dimensions. The counts never go below 0; the fixed counts stay below
  // the counts.
  virtual int GetColCount() const = 0;
  virtual void SetColCount(int n) = 0;
  virtual int GetRowCount() const = 0;
  virtual void SetRowCount(int n) = 0;
  virtual int GetFixedCols() const = 0;
  virtual void SetFixedCols(int n) = 0;
  virtual int GetFixedRows() const = 0;
  virtual void SetFixedRows(int n) = 0;

  // Current cell and scrolling. Making a cell current scrolls it into view.
  virtual int GetCol() const = 0;
  virtual int GetRow() const = 0;
  virtual void SetCol(int col) = 0;
  virtual void SetRow(int row) = 0;
  virtual int GetTopRow() const = 0;
  virtual void SetTopRow(int row) = 0;
  // Data rows shown in full in the window.
  virtual int GetVisibleRowCount() const = 0;
  virtual int GetColWidth(int col) const = 0;
  virtual void SetColWidth(int col, int width) = 0;

  // Canvas: measuring uses the font last set; drawing works inside the
  // OnDrawCell handler.
  virtual int TextWidth(const std::string& text) = 0;
  // The width of the widest text of a column (0 for none), as TextWidth
  // measures each.
  virtual int WidestText(int col);
  virtual int TextHeight(const std::string& text) = 0;
  virtual void SetBrushColor(TColor color) = 0;
  virtual void FillRect(const TGridRect& rect) = 0;
  virtual void SetFont(const TGridFont& font) = 0;
  // Draws the text with its top-left corner at (x, y), clipped to rect.
  virtual void TextRect(const TGridRect& rect, int x, int y, const std::string& text) = 0;

  // Options.
  virtual bool GetEditing() const = 0;
  virtual void SetEditing(bool on) = 0;
  virtual bool GetRowSelect() const = 0;
  virtual void SetRowSelect(bool on) = 0;

  // The in-place editor. Entering edit mode opens it on the current cell
  // (only when editing is allowed); what is typed goes into the cell at once.
  virtual bool GetEditorMode() const = 0;
  virtual void SetEditorMode(bool on) = 0;
  virtual bool HasEditor() const = 0;
  virtual int GetEditorSelStart() const = 0;
  virtual void SetEditorSelStart(int pos) = 0;
  virtual int GetEditorSelLength() const = 0;
  virtual void SetEditorSelLength(int length) = 0;

  // Pointer: the cell under a point of the grid (-1, -1 outside the cells)
  // and the last pointer position seen by the grid.
  virtual void MouseToCell(int x, int y, int& col, int& row) const = 0;
  virtual void GetPointerPos(int& x, int& y) const = 0;

  // Window.
  virtual int GetLeft() const = 0;
  virtual void SetLeft(int x) = 0;
  virtual int GetTop() const = 0;
  virtual void SetTop(int y) = 0;
  virtual int GetWidth() const = 0;
  virtual void SetWidth(int w) = 0;
  virtual int GetHeight() const = 0;
  virtual void SetHeight(int h) = 0;
  virtual bool GetVisible() const = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual void SetFocus() = 0;
  virtual void Repaint() = 0;

  // Puts the texts of rows sourceRows[0], sourceRows[1] ... into rows
  // firstRow, firstRow + 1 ..., in the columns from firstCol to the last; the
  // rows listed are a permutation of the rows written. The texts are moved,
  // not copied, where the surface can.
  virtual void PermuteRows(int firstCol, int firstRow, const std::vector<int>& sourceRows);

  // Calls visit(row, text) once for each row from firstRow of the column, in
  // whatever order the surface reads its texts fastest.
  using TTextVisitor = std::function<void(int row, const std::string& text)>;
  virtual void VisitColumn(int col, int firstRow, const TTextVisitor& visit) const;

  // An empty row at data row `row` (fixed rows .. row count) in the columns
  // from firstCol, the rows from there on one further down; the columns
  // before get an empty row at their end (the row numbers stay where they
  // are). RemoveRow takes data row `row` out of the columns from firstCol,
  // the rows after it one further up, and the last row out of the columns
  // before. The current cell stays at the same numbers (clamped).
  virtual void InsertRow(int firstCol, int row);
  virtual void RemoveRow(int firstCol, int row);

  // Writes count texts down a column from firstRow, as SetCells would one by
  // one: textOf(k) is the k-th.
  using TTextSource = std::function<const std::string&(int k)>;
  virtual void SetColumnTexts(int col, int firstRow, int count, const TTextSource& textOf);

  // Makes room for that many rows ahead of time (a surface may do nothing).
  virtual void ReserveRows(int /*rows*/) {}
  // The same for one column, its memory touched up to row `touched` only:
  // room made a slice at a time.
  virtual void ReserveColumnRows(int /*col*/, int /*rows*/, int /*touched*/) {}

  // Told before many texts are written row after row (a fill): a surface
  // that keeps reordered rows through a row order may put the texts back in
  // row order first.
  virtual void PutRowsInPlace() {}

  // A number that changes whenever a text of the grid changes (written,
  // typed, moved, or the grid resized); 0 when the surface cannot tell, and
  // then nothing worked out from the texts is ever reused.
  virtual std::uint64_t GetTextsVersion() const { return 0; }

  // True when the user has dragged a column border (resizing the column)
  // since the last mouse press on the grid.
  virtual bool ColumnResizedSincePress() const { return false; }

  // Both coordinates at once; the default sets the column then the row.
  virtual void SetCurrentCell(int col, int row) {
    SetCol(col);
    SetRow(row);
  }
};
