#pragma once

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "DatePicker.h"
#include "DateTime.h"
#include "GridSurface.h"
#include "PieceKinds.h"
#include "UpDown.h"

class QEvent;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;
class QToolButton;
class TMyDatabase;
class TDesk;
class TDeskTables;
class TMyStringGrid;
class TQtGridSurface;
class TRecordLists;
class TStatsRequests;

// The piece editor: the panel `Facture_Panel` with the lines grid
// `Facture_StringGrid`, the side panel `Facture_ExtraData_Panel` (number,
// date, client, totals, weight, port, line and save buttons, price tools),
// the place of the courier panel `Chronopost_Panel` and the message panel
// `Signaling_RichEdit` below the lines. It opens a piece of the current kind
// from the kind's list, edits its lines and saves it; the rules it applies
// are those of the business layer.
class TPieceEditor : public QObject {
public:
  // Makes the panel, hidden, on the window's client area; the lines grid's
  // own handlers are in place before CreateGrid wraps it.
  TPieceEditor(QWidget* parent, TDesk& desk, TDeskTables& tables, TRecordLists& lists);
  ~TPieceEditor() override;
  TPieceEditor(const TPieceEditor&) = delete;
  TPieceEditor& operator=(const TPieceEditor&) = delete;

  // The managed lines grid, made once the tables are loaded, and its rows,
  // columns and colour rules before the first piece.
  void CreateGrid();
  void ReleaseGrid();
  void InitGrid();
  TMyStringGrid* Lines() const { return fLines.get(); }
  // Hides the panel and the first-order mark.
  void Hide();

  // Opening a piece.
  void AfficherPiece(const std::string& kind);
  void AfficherPieceNumero(const std::string& kind, const std::string& number);
  void ShowPieceTools(bool visible);
  bool IsOpen() const;

  // One coloured line in the message panel, which keeps the last 100.
  void AfficherSignal(const std::string& text, TColor color);

  // The lines.
  void FactAjouterLigne_ButtonClick();
  void FactInsertLigne_ButtonClick();
  void FactSupprLigne_ButtonClick();
  void Facture_StringGridKeyPress(char& key);
  void Facture_StringGridSelectCell(int col, int row, bool& canSelect);
  // The lines grid's change callback: the user left (col, row), which held
  // enteredText when it was entered.
  void OnCellLeave(int col, int row, const std::string& enteredText);
  void ValidateCell(int col, int row);
  // Fills the line of the last lookup from a row of the results grid.
  void ValidateSearchChoice(const TMyStringGrid& search, int searchRow);
  void ComputeTotals();
  void ComputeWeight();

  // The header.
  void FactureNumFactureEditChange();
  void FactureNumFactureEditMouseUp(Qt::KeyboardModifiers modifiers);
  void FactureCodeClientEditChange();
  void FacturePortEditChange();
  void FacturePortEditExit();
  void SearchClientInEditor();
  void FactureRechercherClientSpeedButtonClick();

  // The price tools.
  void moins50_ButtonClick();
  void Para_ButtonClick();
  void UpDown1Click(bool up);

  // Saving and leaving. SavePiece is true when the piece was saved (the list
  // of its kind is then shown again); false leaves the editor open.
  // StorePiece is the save alone, for the operations that stay in the editor.
  bool SavePiece();
  bool StorePiece();
  void FactureOK_ButtonClick();
  void FactureAnnuler_ButtonClick();

  // Whether the piece opened last was not cancelled and has changed since it
  // was opened or last saved (an imported order has, from the start).
  bool HasUnsavedChanges() const;
  // True when nothing unsaved would be lost by opening another piece, or the
  // user says so ("Oui"; "Non" is the default).
  bool MayReplacePiece();
  // What to do if the open piece is left without being saved (an imported
  // order goes back to the waiting folder), and once it is saved (then the
  // first is forgotten).
  void HoldUntilSaved(std::function<void()> giveBack, std::function<void()> kept);
  // The open piece is left unsaved: what was held for it is given back.
  void AbandonPiece();

  // The piece kind of the list the editor works for ("Facture" at first):
  // the kind a new piece gets and the list shown again after a save.
  const std::string& CurrentListKind() const { return fCurrentListKind; }
  void SetCurrentListKind(const std::string& kind) { fCurrentListKind = kind; }
  // The number the open piece was taken from its list under (empty for a new
  // piece).
  const std::string& LoadedPieceNumber() const { return fLoadedPieceNumber; }
  // The column of the last article lookup, where the cursor goes after a
  // quantity.
  int PendingLookupCol() const { return fPendingLookupCol; }

  // Where the editor's questions to the statistics server go: nowhere until
  // the connection gives its own.
  void SetStatsRequests(std::unique_ptr<TStatsRequests> requests);
  // Shows the articles of a lookup (the table's query result) as candidates
  // and gives their codes in the order shown.
  std::function<std::vector<std::string>(TMyDatabase& articles)> ShowCandidates;

  // Design controls (object names are the component names).
  QFrame* Facture_Panel;
  TQtGridSurface* Facture_StringGrid;
  QFrame* Facture_ExtraData_Panel;
  QFrame* Chronopost_Panel;
  QLabel* Label15;
  QLabel* NumPiece_Label;
  QLineEdit* FactureNumFactureEdit;
  TDatePicker* FactureDateTimePicker;
  QLineEdit* FactureCodeClientEdit;
  QLabel* Label20;
  QLineEdit* FactureRechercherClientEdit;
  QToolButton* FactureRechercherClientSpeedButton;
  QLabel* Label34;
  QLabel* Label35;
  QLabel* Label23;
  QLabel* Label33;
  QLineEdit* FacturePortEdit;
  QLabel* Label28;
  QPushButton* FactAjouterLigne_Button;
  QPushButton* FactInsertLigne_Button;
  QPushButton* FactSupprLigne_Button;
  QPushButton* FactureOK_Button;
  QPushButton* FactureAnnuler_Button;
  QPushButton* moins50_Button;
  QPushButton* Para_Button;
  TUpDown* UpDown1;
  QTextEdit* Signaling_RichEdit;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void BuildDesign();
  void SetTabOrder();
  void PlaceSignals();
  void OpenExistingPiece(const TPieceKind& kind, TMyDatabase& header);
  void OpenNewPiece(const TPieceKind& kind);
  void SelectFirstCell();
  // Sets an edit's text and runs its change handler once, whether or not the
  // text differs from the one it had.
  void SetEditText(QLineEdit* edit, const std::string& text, void (TPieceEditor::*change)());
  void SetLabel(QLabel* label, const std::string& text);
  std::string Text(const QLineEdit* edit) const;
  std::string Text(const QLabel* label) const;
  TPieceTables Tables() const;
  const TPieceKind* CurrentKind() const;
  TMyStringGrid* ListOf(const TPieceKind& kind) const;
  TDateTime PieceDate() const;
  // A digest of what the user can change: header edits and lines.
  std::uint64_t StateDigest() const;

  TDesk& fDesk;
  TDeskTables& fTables;
  TRecordLists& fLists;
  std::unique_ptr<TMyStringGrid> fLines;
  std::unique_ptr<TStatsRequests> fStatsRequests;
  std::string fCurrentListKind = "Facture";
  std::string fLoadedPieceNumber;
  int fPendingLookupCol = 1;
  int fPendingLookupRow = 0;
  // The piece could not be opened (two records of its number, a number that
  // is no valid pattern): the panel is empty and nothing can be saved.
  bool fOpenFailed = false;
  bool fHeld = false;
  std::uint64_t fOpenedState = 0;
  std::function<void()> fGiveBack;
  std::function<void()> fKept;
};
