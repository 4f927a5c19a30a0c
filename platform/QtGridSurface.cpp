#include "QtGridSurface.h"

#include <QApplication>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>

#include "QtText.h"

// ---------------------------------------------------------------------------
// Keys

std::uint16_t VirtualKeyOf(const QKeyEvent* event) {
  const int k = event->key();
  if ((event->modifiers() & Qt::KeypadModifier) != 0) {
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return static_cast<std::uint16_t>(vk::Numpad0 + (k - Qt::Key_0));
    switch (k) {
      case Qt::Key_Asterisk: return vk::Multiply;
      case Qt::Key_Plus: return vk::Add;
      case Qt::Key_Minus: return vk::Subtract;
      case Qt::Key_Period:
      case Qt::Key_Comma: return vk::Decimal;
      case Qt::Key_Slash: return vk::Divide;
      case Qt::Key_Enter: return vk::Return;
      default: break;
    }
  }
  if (k >= Qt::Key_0 && k <= Qt::Key_9) return static_cast<std::uint16_t>(0x30 + (k - Qt::Key_0));
  if (k >= Qt::Key_A && k <= Qt::Key_Z) return static_cast<std::uint16_t>(0x41 + (k - Qt::Key_A));
  if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return static_cast<std::uint16_t>(vk::F1 + (k - Qt::Key_F1));
  switch (k) {
    case Qt::Key_Space: return vk::Space;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vk::Return;
    case Qt::Key_Escape: return vk::Escape;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return vk::Tab;
    case Qt::Key_Backspace: return vk::Back;
    case Qt::Key_Delete: return vk::Delete;
    case Qt::Key_Insert: return vk::Insert;
    case Qt::Key_Left: return vk::Left;
    case Qt::Key_Up: return vk::Up;
    case Qt::Key_Right: return vk::Right;
    case Qt::Key_Down: return vk::Down;
    case Qt::Key_PageUp: return vk::Prior;
    case Qt::Key_PageDown: return vk::Next;
    case Qt::Key_Home: return vk::Home;
    case Qt::Key_End: return vk::End;
    case Qt::Key_Shift: return vk::Shift;
    case Qt::Key_Control: return vk::Control;
    case Qt::Key_Alt: return vk::Menu;
    case Qt::Key_Semicolon: return 0xBA;
    case Qt::Key_Plus:
    case Qt::Key_Equal: return 0xBB;
    case Qt::Key_Comma: return 0xBC;
    case Qt::Key_Minus: return 0xBD;
    case Qt::Key_Period: return 0xBE;
    case Qt::Key_Slash: return 0xBF;
    default: return 0;
  }
}

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  TShiftState s = 0;
  if ((modifiers & Qt::ShiftModifier) != 0) s |= ssShift;
  if ((modifiers & Qt::AltModifier) != 0) s |= ssAlt;
  if ((modifiers & Qt::ControlModifier) != 0) s |= ssCtrl;
  if ((buttons & Qt::LeftButton) != 0) s |= ssLeft;
  if ((buttons & Qt::RightButton) != 0) s |= ssRight;
  if ((buttons & Qt::MiddleButton) != 0) s |= ssMiddle;
  return s;
}

namespace {

TMouseButton ButtonOf(Qt::MouseButton b) {
  if (b == Qt::RightButton) return TMouseButton::Right;
  if (b == Qt::MiddleButton) return TMouseButton::Middle;
  return TMouseButton::Left;
}

bool IsNavigationKey(int key) {
  switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End: return true;
    default: return false;
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// Model

TQtGridModel::TQtGridModel(TQtGridSurface* surface) : QAbstractTableModel(surface), fSurface(surface) {}

int TQtGridModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return std::max(0, fSurface->fRowCount - fSurface->fFixedRows);
}

int TQtGridModel::columnCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return std::max(0, fSurface->fColCount - fSurface->fFixedCols);
}

QVariant TQtGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return QVariant();
  return ToQString(fSurface->GetCells(index.column() + fSurface->fFixedCols, index.row() + fSurface->fFixedRows));
}

QVariant TQtGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return QVariant();
  if (orientation == Qt::Horizontal) return ToQString(fSurface->GetCells(section + fSurface->fFixedCols, 0));
  return ToQString(fSurface->GetCells(0, section + fSurface->fFixedRows));
}

Qt::ItemFlags TQtGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (fSurface->fEditing) f |= Qt::ItemIsEditable;
  return f;
}

void TQtGridModel::Reset(const std::function<void()>& change) {
  beginResetModel();
  change();
  endResetModel();
}

void TQtGridModel::InsertRowsAtEnd(int first, int last, const std::function<void()>& change) {
  beginInsertRows(QModelIndex(), first, last);
  change();
  endInsertRows();
}

void TQtGridModel::RemoveRowsAtEnd(int first, int last, const std::function<void()>& change) {
  beginRemoveRows(QModelIndex(), first, last);
  change();
  endRemoveRows();
}

// ---------------------------------------------------------------------------
// Delegate and headers

TQtGridDelegate::TQtGridDelegate(TQtGridSurface* surface) : QStyledItemDelegate(surface), fSurface(surface) {}

void TQtGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  fSurface->PaintCell(painter, index.column() + fSurface->GetFixedCols(), index.row() + fSurface->GetFixedRows(),
                      option.rect);
}

QWidget* TQtGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const {
  auto* editor = new QLineEdit(parent);
  editor->setFrame(false);
  fSurface->EditorCreated(editor, index.column() + fSurface->GetFixedCols(), index.row() + fSurface->GetFixedRows());
  return editor;
}

void TQtGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  auto* line = qobject_cast<QLineEdit*>(editor);
  if (line == nullptr) return;
  // The editor is filled once, when it opens; afterwards the cell follows
  // the editor, not the other way round.
  if (line->property("quorixFilled").toBool()) return;
  line->setProperty("quorixFilled", true);
  // The view has put the delegate's key filter on the editor by now; the
  // grid's goes on last so that it sees the keys first.
  line->installEventFilter(fSurface);
  line->setText(ToQString(
      fSurface->EditTextFor(index.column() + fSurface->GetFixedCols(), index.row() + fSurface->GetFixedRows())));
  line->selectAll();
}

void TQtGridDelegate::setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const {}

TQtGridHeader::TQtGridHeader(Qt::Orientation orientation, TQtGridSurface* surface)
    : QHeaderView(orientation, surface), fSurface(surface) {}

void TQtGridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  if (orientation() == Qt::Horizontal) {
    fSurface->PaintCell(painter, logicalIndex + fSurface->GetFixedCols(), 0, rect);
  } else {
    fSurface->PaintCell(painter, 0, logicalIndex + fSurface->GetFixedRows(), rect);
  }
}

// ---------------------------------------------------------------------------
// Surface

// Text widths of one font. The toolkit lays a Latin text out without
// shaping (the grid font asks for none and no kerning) by adding up the
// characters' advances, which are fractions of a pixel in 64ths, and rounds
// the total. Whether that holds for a font is checked once, on every pair of
// printable ASCII characters; when it does, ASCII texts are measured by
// adding up a table, which gives the toolkit's own figure without laying the
// text out. Other texts are measured once each and remembered.
struct TQtGridSurface::TFontMetricsCache {
  QFont Font;
  int Height = 0;
  bool Additive = false;
  std::array<std::int64_t, 128> Advance64{};
  std::unordered_map<std::string, int> Widths;

  explicit TFontMetricsCache(const QFont& font) : Font(font) {
    const QFontMetrics fm(Font);
    const QFontMetricsF fmf(Font);
    Height = fm.height();
    for (int c = 0x20; c < 0x7F; ++c)
      Advance64[static_cast<std::size_t>(c)] = qRound64(fmf.horizontalAdvance(QChar(c)) * 64.0);
    Additive = true;
    for (int a = 0x20; a < 0x7F && Additive; ++a) {
      for (int b = 0x20; b < 0x7F; ++b) {
        const QString pair = QString(QChar(a)) + QChar(b);
        if (fm.horizontalAdvance(pair) != Round(Advance64[static_cast<std::size_t>(a)] + Advance64[static_cast<std::size_t>(b)])) {
          Additive = false;
          break;
        }
      }
    }
  }

  static int Round(std::int64_t width64) { return static_cast<int>((width64 + 32) >> 6); }

  static bool Printable(const std::string& text) {
    for (unsigned char c : text) {
      if (c < 0x20 || c >= 0x7F) return false;
    }
    return true;
  }

  int Width(const std::string& text) {
    if (Additive && Printable(text)) {
      std::int64_t w = 0;
      for (unsigned char c : text) w += Advance64[c];
      return Round(w);
    }
    auto it = Widths.find(text);
    if (it != Widths.end()) return it->second;
    const int w = QFontMetrics(Font).horizontalAdvance(ToQString(text));
    Widths.emplace(text, w);
    return w;
  }
};

namespace {

// Metrics are shared by every grid of the process: the check of a font is
// made once, whatever the number of grids using it.
std::unordered_map<std::string, std::unique_ptr<TQtGridSurface::TFontMetricsCache>>& SharedMetrics() {
  static std::unordered_map<std::string, std::unique_ptr<TQtGridSurface::TFontMetricsCache>> metrics;
  return metrics;
}

}  // namespace

TQtGridSurface::TQtGridSurface(QWidget* parent, int colCount, int rowCount) : QTableView(parent) {
  fModel = new TQtGridModel(this);
  fDelegate = new TQtGridDelegate(this);
  fTitles = new TQtGridHeader(Qt::Horizontal, this);
  fNumbers = new TQtGridHeader(Qt::Vertical, this);
  setHorizontalHeader(fTitles);
  setVerticalHeader(fNumbers);
  setItemDelegate(fDelegate);
  Resize(std::max(0, colCount), std::max(0, rowCount));
  fFixedCols = fColCount > 1 ? 1 : 0;
  fFixedRows = fRowCount > 1 ? 1 : 0;
  fCol = fFixedCols;
  fRow = fFixedRows;
  setModel(fModel);

  QFont base = font();
  base.setPointSize(8);
  base.setKerning(false);
  base.setStyleStrategy(QFont::PreferNoShaping);
  setFont(base);
  fTitles->setFont(base);
  fNumbers->setFont(base);

  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::NoSelection);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setCornerButtonEnabled(false);
  setWordWrap(false);
  // Tab leaves the grid for the next control, as in a string grid without
  // tab navigation.
  setTabKeyNavigation(false);
  setMouseTracking(true);
  for (QHeaderView* h : {static_cast<QHeaderView*>(fTitles), static_cast<QHeaderView*>(fNumbers)}) {
    h->setSectionsClickable(false);
    h->setHighlightSections(false);
    h->setMinimumSectionSize(1);
    h->viewport()->installEventFilter(this);
    h->viewport()->setMouseTracking(true);
  }
  fNumbers->setSectionResizeMode(QHeaderView::Fixed);
  fNumbers->setDefaultSectionSize(kRowHeight);
  fTitles->setFixedHeight(kRowHeight);
  fTitles->setDefaultSectionSize(kDefaultColWidth);
  // A column the user widens by dragging its title border keeps that width.
  connect(fTitles, &QHeaderView::sectionResized, this, [this](int section, int, int size) {
    if (fShaping) return;
    const int col = section + fFixedCols;
    if (col >= 0 && col < fColCount) fColWidths[static_cast<std::size_t>(col)] = size;
  });
  ApplyLayout();
  connect(qApp, &QApplication::focusChanged, this, &TQtGridSurface::FocusChanged);
}

TQtGridSurface::~TQtGridSurface() {
  // Nothing may reach the handlers while the widget is being taken apart:
  // QWidget's destructor still moves the focus away.
  disconnect(qApp, nullptr, this, nullptr);
  Events = TGridEvents();
}

void TQtGridSurface::Resize(int cols, int rows) {
  fTexts.Resize(cols, rows);
  fColWidths.resize(static_cast<std::size_t>(cols), kDefaultColWidth);
  fColCount = cols;
  fRowCount = rows;
}

const std::string& TQtGridSurface::GetCells(int col, int row) const { return fTexts.Get(col, row); }

void TQtGridSurface::SetCells(int col, int row, const std::string& text) {
  if (!fTexts.Set(col, row, text)) return;
  if (fEditor != nullptr && col == fEditCol && row == fEditRow) {
    const QString q = ToQString(text);
    if (fEditor->text() != q) fEditor->setText(q);
  }
  ScheduleRepaint();
}

void TQtGridSurface::PermuteRows(int firstCol, int firstRow, const std::vector<int>& sourceRows) {
  SetEditorMode(false);
  fTexts.PermuteRows(firstCol, firstRow, sourceRows);
  ScheduleRepaint();
}

void TQtGridSurface::ScheduleRepaint() {
  // A fill writes millions of cells; the window is repainted once, after it.
  if (fRepaintPending) return;
  fRepaintPending = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        fRepaintPending = false;
        Repaint();
      },
      Qt::QueuedConnection);
}

void TQtGridSurface::Repaint() {
  viewport()->update();
  fTitles->viewport()->update();
  fNumbers->viewport()->update();
}

void TQtGridSurface::ChangeShape(const std::function<void()>& change) {
  SetEditorMode(false);
  const int top = verticalScrollBar()->value();
  const int left = horizontalScrollBar()->value();
  fShaping = true;
  fModel->Reset(change);
  ApplyLayout();
  fShaping = false;
  updateGeometries();
  verticalScrollBar()->setValue(top);
  horizontalScrollBar()->setValue(left);
  SyncCurrentIndex();
  Repaint();
}

void TQtGridSurface::ApplyLayout() {
  fTitles->setVisible(fFixedRows > 0);
  fNumbers->setVisible(fFixedCols > 0);
  if (fFixedCols > 0 && fColCount > 0) fNumbers->setFixedWidth(fColWidths[0]);
  for (int col = fFixedCols; col < fColCount; ++col)
    fTitles->resizeSection(col - fFixedCols, fColWidths[static_cast<std::size_t>(col)]);
}

void TQtGridSurface::SetColCount(int n) {
  n = std::max(0, n);
  if (n == fColCount) return;
  ChangeShape([&] {
    Resize(n, fRowCount);
    if (fFixedCols >= n) fFixedCols = std::max(0, n - 1);
  });
  ClampCurrentCell();
}

void TQtGridSurface::SetRowCount(int n) {
  n = std::max(0, n);
  if (n == fRowCount) return;
  if (fFixedRows < n && fFixedRows < fRowCount && std::abs(n - fRowCount) <= 64) {
    // A few rows added or removed at the end: the view keeps its state and
    // only learns of those rows. A fill of thousands of rows is cheaper as a
    // reset, which keeps the scroll position too.
    SetEditorMode(false);
    const int oldRows = fRowCount - fFixedRows;
    const int newRows = n - fFixedRows;
    if (newRows > oldRows) {
      fModel->InsertRowsAtEnd(oldRows, newRows - 1, [&] { Resize(fColCount, n); });
    } else {
      fModel->RemoveRowsAtEnd(newRows, oldRows - 1, [&] { Resize(fColCount, n); });
    }
    ClampCurrentCell();
    Repaint();
    return;
  }
  ChangeShape([&] {
    Resize(fColCount, n);
    if (fFixedRows >= n) fFixedRows = std::max(0, n - 1);
  });
  ClampCurrentCell();
}

void TQtGridSurface::SetFixedCols(int n) {
  n = std::clamp(n, 0, std::max(0, fColCount - 1));
  if (n != fFixedCols) ChangeShape([&] { fFixedCols = n; });
  if (fCol < fFixedCols) SetCurrentCell(fFixedCols, fRow);
}

void TQtGridSurface::SetFixedRows(int n) {
  n = std::clamp(n, 0, std::max(0, fRowCount - 1));
  if (n != fFixedRows) ChangeShape([&] { fFixedRows = n; });
  if (fRow < fFixedRows) SetCurrentCell(fCol, fFixedRows);
}

void TQtGridSurface::ClampCurrentCell() {
  const int col = std::clamp(fCol, 0, std::max(0, fColCount - 1));
  const int row = std::clamp(fRow, 0, std::max(0, fRowCount - 1));
  if (col != fCol || row != fRow) SetCurrentCell(col, row);
  SyncCurrentIndex();
}

void TQtGridSurface::SetCurrentCell(int col, int row) {
  if (col < 0 || row < 0 || col >= fColCount || row >= fRowCount) return;
  if (col == fCol && row == fRow) return;
  bool canSelect = true;
  if (Events.OnSelectCell) Events.OnSelectCell(col, row, canSelect);
  if (!canSelect) return;
  if (fEditor != nullptr) SetEditorMode(false);
  fCol = col;
  fRow = row;
  SyncCurrentIndex();
  Repaint();
  if (Events.OnClick) Events.OnClick();
}

void TQtGridSurface::SyncCurrentIndex() {
  if (selectionModel() == nullptr) return;
  fSyncing = true;
  if (fCol >= fFixedCols && fRow >= fFixedRows && fCol < fColCount && fRow < fRowCount) {
    const QModelIndex index = fModel->index(fRow - fFixedRows, fCol - fFixedCols);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    scrollTo(index);
  } else {
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
  }
  fSyncing = false;
}

void TQtGridSurface::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (fSyncing || !current.isValid()) return;
  const int col = current.column() + fFixedCols;
  const int row = current.row() + fFixedRows;
  if (col == fCol && row == fRow) return;
  bool canSelect = true;
  if (Events.OnSelectCell) Events.OnSelectCell(col, row, canSelect);
  if (canSelect) {
    if (fEditor != nullptr) SetEditorMode(false);
    fCol = col;
    fRow = row;
    fMovedByPress = true;
  }
  // Put the view's current index where the grid's current cell is (back on
  // the old cell when the move was refused).
  SyncCurrentIndex();
  Repaint();
  if (canSelect && Events.OnClick) Events.OnClick();
}

int TQtGridSurface::GetTopRow() const { return verticalScrollBar()->value() + fFixedRows; }

void TQtGridSurface::SetTopRow(int row) {
  const_cast<TQtGridSurface*>(this)->updateGeometries();
  verticalScrollBar()->setValue(row - fFixedRows);
}

int TQtGridSurface::GetVisibleRowCount() const {
  int h = viewport()->height();
  if (!isVisible()) {
    h = height() - 2 * frameWidth() - (fFixedRows > 0 ? kRowHeight : 0);
  }
  return std::max(0, h / kRowHeight);
}

int TQtGridSurface::GetColWidth(int col) const {
  if (col < 0 || col >= fColCount) return 0;
  return fColWidths[static_cast<std::size_t>(col)];
}

void TQtGridSurface::SetColWidth(int col, int width) {
  if (col < 0 || col >= fColCount) return;
  fColWidths[static_cast<std::size_t>(col)] = width;
  if (col < fFixedCols) {
    if (col == 0) fNumbers->setFixedWidth(width);
  } else {
    fTitles->resizeSection(col - fFixedCols, width);
  }
}

// ---------------------------------------------------------------------------
// Canvas

QColor TQtGridSurface::ToQColor(TColor color) const {
  if ((color & 0x80000000u) != 0) {
    switch (color & 0xFF) {
      case 0x05: return palette().color(QPalette::Base);
      case 0x08: return palette().color(QPalette::Text);
      case 0x0D: return palette().color(QPalette::Highlight);
      case 0x0E: return palette().color(QPalette::HighlightedText);
      case 0x0F: return palette().color(QPalette::Button);
      case 0x12: return palette().color(QPalette::ButtonText);
      default: return palette().color(QPalette::Window);
    }
  }
  return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

QFont TQtGridSurface::QtFontFor(const TGridFont& f) const {
  QFont q = font();
  q.setPointSize(std::max(1, f.Size));
  q.setBold((f.Style & fsBold) != 0);
  q.setItalic((f.Style & fsItalic) != 0);
  q.setUnderline((f.Style & fsUnderline) != 0);
  q.setStrikeOut((f.Style & fsStrikeOut) != 0);
  return q;
}

TQtGridSurface::TFontMetricsCache& TQtGridSurface::MetricsFor(const TGridFont& f) {
  if (fLastMetrics != nullptr && fLastFont == f) return *fLastMetrics;
  const QFont q = QtFontFor(f);
  auto& shared = SharedMetrics();
  const std::string key = q.key().toStdString();
  auto it = shared.find(key);
  if (it == shared.end()) it = shared.emplace(key, std::make_unique<TFontMetricsCache>(q)).first;
  fLastFont = f;
  fLastMetrics = it->second.get();
  return *fLastMetrics;
}

int TQtGridSurface::TextWidth(const std::string& text) { return MetricsFor(fCanvasFont).Width(text); }

int TQtGridSurface::TextHeight(const std::string&) { return MetricsFor(fCanvasFont).Height; }

void TQtGridSurface::SetBrushColor(TColor color) { fBrush = ToQColor(color); }

void TQtGridSurface::FillRect(const TGridRect& r) {
  if (fPainter != nullptr) fPainter->fillRect(QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top), fBrush);
}

void TQtGridSurface::SetFont(const TGridFont& f) {
  fCanvasFont = f;
  if (fPainter != nullptr) {
    fPainter->setFont(MetricsFor(f).Font);
    fPainter->setPen(ToQColor(f.Color));
  }
}

void TQtGridSurface::TextRect(const TGridRect& r, int x, int y, const std::string& text) {
  if (fPainter == nullptr) return;
  fPainter->save();
  fPainter->setClipRect(QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top), Qt::IntersectClip);
  const QFontMetrics fm(fPainter->font());
  fPainter->drawText(x, y + fm.ascent(), ToQString(text));
  fPainter->restore();
}

void TQtGridSurface::DefaultPaint(int col, int row, const TGridRect& rect, bool fixed) {
  SetBrushColor(fixed ? clBtnFace : 0xFFFFFF);
  FillRect(rect);
  SetFont(TGridFont{});
  const std::string& text = GetCells(col, row);
  TextRect(rect, (rect.Left + rect.Right - TextWidth(text)) / 2, (rect.Top + rect.Bottom - TextHeight(text)) / 2, text);
}

void TQtGridSurface::PaintCell(QPainter* painter, int col, int row, const QRect& rect) {
  TGridDrawState state;
  state.Fixed = col < fFixedCols || row < fFixedRows;
  state.Focused = hasFocus() && col == fCol && row == fRow;
  state.Selected = !state.Fixed && row == fRow && (fRowSelect || col == fCol);
  const TGridRect r{rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1};
  QPainter* previous = fPainter;
  const TGridFont previousFont = fCanvasFont;
  fPainter = painter;
  painter->save();
  if (Events.OnDrawCell) {
    Events.OnDrawCell(col, row, r, state);
  } else {
    DefaultPaint(col, row, r, state.Fixed);
  }
  painter->restore();
  if (state.Fixed) {
    // The raised edge of a fixed cell, as a classic string grid draws it.
    painter->save();
    painter->setPen(palette().color(QPalette::Light));
    painter->drawLine(rect.topLeft(), rect.topRight());
    painter->drawLine(rect.topLeft(), rect.bottomLeft());
    painter->setPen(palette().color(QPalette::Dark));
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->restore();
  }
  fPainter = previous;
  fCanvasFont = previousFont;
}

QRect TQtGridSurface::CellRectInWidget(int col, int row) const {
  if (col < 0 || row < 0 || col >= fColCount || row >= fRowCount) return QRect();
  if (row < fFixedRows && col < fFixedCols) {
    return QRect(frameWidth(), frameWidth(), fNumbers->width(), fTitles->height());
  }
  if (row < fFixedRows) {
    const int section = col - fFixedCols;
    const QPoint origin = fTitles->viewport()->mapTo(this, QPoint(0, 0));
    return QRect(origin.x() + fTitles->sectionViewportPosition(section), origin.y(), fTitles->sectionSize(section),
                 fTitles->height());
  }
  if (col < fFixedCols) {
    const int section = row - fFixedRows;
    const QPoint origin = fNumbers->viewport()->mapTo(this, QPoint(0, 0));
    return QRect(origin.x(), origin.y() + fNumbers->sectionViewportPosition(section), fNumbers->width(),
                 fNumbers->sectionSize(section));
  }
  const QRect inViewport = visualRect(fModel->index(row - fFixedRows, col - fFixedCols));
  return inViewport.translated(viewport()->mapTo(this, QPoint(0, 0)));
}

// ---------------------------------------------------------------------------
// Editing

void TQtGridSurface::SetEditing(bool on) {
  if (on == fEditing) return;
  if (!on) SetEditorMode(false);
  fEditing = on;
}

void TQtGridSurface::SetRowSelect(bool on) {
  fRowSelect = on;
  setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
  Repaint();
}

void TQtGridSurface::SetEditorMode(bool on) {
  if (!on) {
    if (fEditor == nullptr) return;
    QWidget* editor = fEditor;
    fEditor = nullptr;
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    return;
  }
  if (fEditor != nullptr || !fEditing) return;
  if (fCol < fFixedCols || fRow < fFixedRows || fCol >= fColCount || fRow >= fRowCount) return;
  const QModelIndex index = fModel->index(fRow - fFixedRows, fCol - fFixedCols);
  SyncCurrentIndex();
  edit(index, QAbstractItemView::AllEditTriggers, nullptr);
}

void TQtGridSurface::EditorCreated(QLineEdit* editor, int col, int row) {
  fEditor = editor;
  fEditCol = col;
  fEditRow = row;
  fEditOriginal = GetCells(col, row);
  connect(editor, &QLineEdit::textEdited, this, [this, editor](const QString& text) {
    if (editor != fEditor) return;
    const std::string value = FromQString(text);
    fTexts.Set(fEditCol, fEditRow, value);
    if (Events.OnSetEditText) Events.OnSetEditText(fEditCol, fEditRow, value);
  });
}

std::string TQtGridSurface::EditTextFor(int col, int row) {
  std::string value = GetCells(col, row);
  if (Events.OnGetEditText) Events.OnGetEditText(col, row, value);
  return value;
}

void TQtGridSurface::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  if (editor == fEditor) {
    fEditor = nullptr;
    // Abandoning the edit gives the cell back the text it had.
    if (hint == QAbstractItemDelegate::RevertModelCache) SetCells(fEditCol, fEditRow, fEditOriginal);
  }
  QTableView::closeEditor(editor, hint);
  Repaint();
}

int TQtGridSurface::GetEditorSelStart() const {
  if (fEditor == nullptr) return 0;
  return fEditor->hasSelectedText() ? fEditor->selectionStart() : fEditor->cursorPosition();
}

void TQtGridSurface::SetEditorSelStart(int pos) {
  if (fEditor == nullptr) return;
  const int length = GetEditorSelLength();
  pos = std::clamp(pos, 0, static_cast<int>(fEditor->text().size()));
  if (length > 0) {
    fEditor->setSelection(pos, std::min<int>(length, static_cast<int>(fEditor->text().size()) - pos));
  } else {
    fEditor->setCursorPosition(pos);
  }
}

int TQtGridSurface::GetEditorSelLength() const {
  if (fEditor == nullptr || !fEditor->hasSelectedText()) return 0;
  return static_cast<int>(fEditor->selectedText().size());
}

void TQtGridSurface::SetEditorSelLength(int length) {
  if (fEditor == nullptr) return;
  const int start = GetEditorSelStart();
  length = std::clamp(length, 0, static_cast<int>(fEditor->text().size()) - start);
  if (length == 0) {
    fEditor->deselect();
    fEditor->setCursorPosition(start);
  } else {
    fEditor->setSelection(start, length);
  }
}

// ---------------------------------------------------------------------------
// Pointer

void TQtGridSurface::MouseToCell(int x, int y, int& col, int& row) const {
  col = -1;
  row = -1;
  const QPoint p(x, y);
  const QRect titles = fTitles->isVisible() || fFixedRows > 0 ? fTitles->geometry() : QRect();
  const QRect numbers = fNumbers->isVisible() || fFixedCols > 0 ? fNumbers->geometry() : QRect();
  const QRect area = viewport()->geometry();
  int c = -1;
  int r = -1;
  if (fFixedRows > 0 && titles.contains(p)) {
    const int section = fTitles->logicalIndexAt(p.x() - titles.x());
    if (section >= 0) c = section + fFixedCols;
    r = 0;
  } else if (fFixedCols > 0 && numbers.contains(p)) {
    const int section = fNumbers->logicalIndexAt(p.y() - numbers.y());
    if (section >= 0) r = section + fFixedRows;
    c = 0;
  } else if (fFixedRows > 0 && fFixedCols > 0 && p.x() < numbers.right() && p.y() < titles.bottom() &&
             p.x() >= frameWidth() && p.y() >= frameWidth()) {
    c = 0;
    r = 0;
  } else if (area.contains(p)) {
    const QModelIndex index = indexAt(p - area.topLeft());
    if (index.isValid()) {
      c = index.column() + fFixedCols;
      r = index.row() + fFixedRows;
    }
  }
  if (c < 0 || r < 0 || c >= fColCount || r >= fRowCount) return;
  col = c;
  row = r;
}

void TQtGridSurface::GetPointerPos(int& x, int& y) const {
  x = fPointer.x();
  y = fPointer.y();
}

void TQtGridSurface::RecordPointer(const QPoint& widgetPos) { fPointer = widgetPos; }

// ---------------------------------------------------------------------------
// Events

bool TQtGridSurface::IsInside(const QWidget* w) const { return w != nullptr && (w == this || isAncestorOf(w)); }

void TQtGridSurface::FocusChanged(QWidget* old, QWidget* now) {
  const bool wasInside = IsInside(old);
  const bool isInside = IsInside(now);
  if (wasInside && !isInside) {
    SetEditorMode(false);
    if (Events.OnExit) Events.OnExit();
  } else if (!wasInside && isInside) {
    if (Events.OnEnter) Events.OnEnter();
  }
  Repaint();
}

bool TQtGridSurface::DeliverKeyDown(QKeyEvent* event) {
  std::uint16_t key = VirtualKeyOf(event);
  if (key == 0) return true;
  if (Events.OnKeyDown) Events.OnKeyDown(key, ShiftStateOf(event->modifiers()));
  return key != 0;
}

// The character of a key event goes to OnKeyPress, which may swallow it (0)
// or change it; a changed character is delivered as a new event.
bool TQtGridSurface::DeliverChar(QKeyEvent* event, QKeyEvent** replacement) {
  *replacement = nullptr;
  const QString text = event->text();
  if (text.isEmpty()) return true;
  const std::string bytes = FromQString(text.left(1));
  if (bytes.empty()) return true;
  char ch = bytes[0];
  const char before = ch;
  if (Events.OnKeyPress) Events.OnKeyPress(ch);
  if (ch == 0) return false;
  if (ch != before) {
    *replacement = new QKeyEvent(QEvent::KeyPress, event->key(), event->modifiers(), ToQString(std::string(1, ch)));
  }
  return true;
}

void TQtGridSurface::keyPressEvent(QKeyEvent* event) {
  if (!DeliverKeyDown(event)) {
    event->accept();
    return;
  }
  QKeyEvent* replacement = nullptr;
  if (!DeliverChar(event, &replacement)) {
    event->accept();
    return;
  }
  std::unique_ptr<QKeyEvent> owned(replacement);
  QKeyEvent* forwarded = replacement != nullptr ? replacement : event;
  const QString text = forwarded->text();
  const bool printable = !text.isEmpty() && text[0].isPrint() &&
                         (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0;
  if (printable && fEditor == nullptr && fEditing) {
    // Typing into a cell that is not being edited opens the editor on it.
    SetEditorMode(true);
  }
  if (printable && fEditor != nullptr) {
    QApplication::sendEvent(fEditor, forwarded);
    event->accept();
    return;
  }
  if (event->key() == Qt::Key_F2 && fEditing) {
    SetEditorMode(true);
    event->accept();
    return;
  }
  // Only navigation is left to the view: its keyboard search would move the
  // current row on a typed letter.
  if (IsNavigationKey(event->key())) {
    QTableView::keyPressEvent(event);
  } else {
    event->accept();
  }
}

void TQtGridSurface::keyReleaseEvent(QKeyEvent* event) {
  std::uint16_t key = VirtualKeyOf(event);
  if (key != 0 && Events.OnKeyUp) Events.OnKeyUp(key, ShiftStateOf(event->modifiers()));
  event->accept();
}

// Keys typed into the in-place editor reach the grid's handlers first, as a
// string grid's editor passes them to its grid.
bool TQtGridSurface::EditorKey(QKeyEvent* event) {
  if (!DeliverKeyDown(event)) return true;
  if (event->key() == Qt::Key_Escape) {
    const int col = fEditCol;
    const int row = fEditRow;
    const std::string original = fEditOriginal;
    SetEditorMode(false);
    SetCells(col, row, original);
    setFocus(Qt::OtherFocusReason);
    return true;
  }
  if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down || event->key() == Qt::Key_PageUp ||
      event->key() == Qt::Key_PageDown) {
    SetEditorMode(false);
    setFocus(Qt::OtherFocusReason);
    QTableView::keyPressEvent(event);
    return true;
  }
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    char ch = 13;
    if (Events.OnKeyPress) Events.OnKeyPress(ch);
    SetEditorMode(false);
    setFocus(Qt::OtherFocusReason);
    return true;
  }
  QKeyEvent* replacement = nullptr;
  if (!DeliverChar(event, &replacement)) return true;
  if (replacement != nullptr) {
    std::unique_ptr<QKeyEvent> owned(replacement);
    if (fEditor != nullptr) {
      fEditor->removeEventFilter(this);
      QApplication::sendEvent(fEditor, replacement);
      fEditor->installEventFilter(this);
    }
    return true;
  }
  return false;
}

void TQtGridSurface::MouseEventFrom(QWidget* source, QEvent* event) {
  auto* me = static_cast<QMouseEvent*>(event);
  const QPoint p = source->mapTo(this, me->position().toPoint());
  RecordPointer(p);
  const TShiftState shift = ShiftStateOf(me->modifiers(), me->buttons());
  switch (event->type()) {
    case QEvent::MouseButtonPress:
      if (Events.OnMouseDown) Events.OnMouseDown(ButtonOf(me->button()), shift, p.x(), p.y());
      break;
    case QEvent::MouseButtonRelease:
      if (Events.OnMouseUp) Events.OnMouseUp(ButtonOf(me->button()), shift, p.x(), p.y());
      if (source == viewport() && me->button() == Qt::LeftButton && !fMovedByPress && Events.OnClick) Events.OnClick();
      break;
    case QEvent::MouseButtonDblClick:
      if (Events.OnDblClick) Events.OnDblClick();
      break;
    case QEvent::MouseMove:
      if (Events.OnMouseMove) Events.OnMouseMove(shift, p.x(), p.y());
      break;
    default: break;
  }
}

bool TQtGridSurface::eventFilter(QObject* watched, QEvent* event) {
  if (fEditor != nullptr && watched == fEditor && event->type() == QEvent::KeyPress) {
    return EditorKey(static_cast<QKeyEvent*>(event));
  }
  if (watched == fTitles->viewport() || watched == fNumbers->viewport()) {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove:
        MouseEventFrom(static_cast<QWidget*>(watched), event);
        break;
      default: break;
    }
  }
  return QTableView::eventFilter(watched, event);
}

void TQtGridSurface::mousePressEvent(QMouseEvent* event) {
  fMovedByPress = false;
  setFocus(Qt::MouseFocusReason);
  QTableView::mousePressEvent(event);
  MouseEventFrom(viewport(), event);
}

void TQtGridSurface::mouseReleaseEvent(QMouseEvent* event) {
  QTableView::mouseReleaseEvent(event);
  MouseEventFrom(viewport(), event);
}

void TQtGridSurface::mouseDoubleClickEvent(QMouseEvent* event) {
  MouseEventFrom(viewport(), event);
  int col = -1;
  int row = -1;
  MouseToCell(fPointer.x(), fPointer.y(), col, row);
  if (fEditing && col == fCol && row == fRow) SetEditorMode(true);
  event->accept();
}

void TQtGridSurface::mouseMoveEvent(QMouseEvent* event) {
  MouseEventFrom(viewport(), event);
  // Dragging would make the view extend a selection the grid does not have.
  if (event->buttons() == Qt::NoButton) QTableView::mouseMoveEvent(event);
}

void TQtGridSurface::wheelEvent(QWheelEvent* event) {
  QTableView::wheelEvent(event);
  const QPoint p = viewport()->mapTo(this, event->position().toPoint());
  RecordPointer(p);
  bool handled = false;
  const TShiftState shift = ShiftStateOf(event->modifiers(), event->buttons());
  if (event->angleDelta().y() < 0) {
    if (Events.OnMouseWheelDown) Events.OnMouseWheelDown(shift, p.x(), p.y(), handled);
  } else if (event->angleDelta().y() > 0) {
    if (Events.OnMouseWheelUp) Events.OnMouseWheelUp(shift, p.x(), p.y(), handled);
  }
}
