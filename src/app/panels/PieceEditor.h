#pragma once

#include <QObject>

#include <functional>
#include <string>

#include "DatePicker.h"
#include "DateTime.h"
#include "GridSurface.h"
#include "PieceKinds.h"
#include "UpDown.h"

class QEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;
class QToolButton;
class TMyDatabase;
class TMyStringGrid;
class TQuorix_Form;

// The piece editor: the panel `Facture_Panel` of the main window with the
// lines grid `Facture_StringGrid`, the side panel `Facture_ExtraData_Panel`
// (number, date, client, totals, weight, port, line and save buttons, price
// tools) and the message panel `Signaling_RichEdit` below the lines. It opens
// a piece of the current list kind from its list, edits its lines and saves
// it; the rules it applies are those of the business layer.
//
// Created by the main window once its panels exist and before its grids are
// wrapped, so that the lines grid's key handler is in place.
class TPieceEditor : public QObject {
public:
  explicit TPieceEditor(TQuorix_Form& form);
  ~TPieceEditor() override;
  TPieceEditor(const TPieceEditor&) = delete;
  TPieceEditor& operator=(const TPieceEditor&) = delete;

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
  // Fills the line of the last lookup from a row of the search grid.
  void ValidateSearchChoice(int searchRow);
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

  // Design controls (object names are the component names).
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
  TMyStringGrid* Lines() const;
  TMyStringGrid* ListOf(const TPieceKind& kind) const;
  TDateTime PieceDate() const;

  TQuorix_Form& fForm;
};
