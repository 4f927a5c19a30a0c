#pragma once

#include <QObject>

#include <functional>
#include <string>

#include "CourierHandOff.h"
#include "Desk.h"

class QEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class TDeskTables;
class TPieceEditor;
class TUpDownArrows;

// The courier hand-off panel `Chronopost_Panel` of the piece editor, opened
// by Ctrl+Shift+click on "Poids (kg)": the parcels are weighed one by one
// (Enter in the weight registers one), their tariffs summed, the copies to
// print counted; "Proceed" saves and prints the invoice and makes the
// half-value second invoice or the split per parcel. Thin handlers over the
// rules of CourierHandOff.
class TCourierPanel : public QObject {
public:
  // Builds the panel in the editor's `Chronopost_Panel`.
  TCourierPanel(TPieceEditor& editor, TDesk& desk, TDeskTables& tables);
  ~TCourierPanel() override;
  TCourierPanel(const TCourierPanel&) = delete;
  TCourierPanel& operator=(const TCourierPanel&) = delete;

  void AfficherChronopost(bool visible);
  void Label23MouseUp(Qt::KeyboardModifiers modifiers);
  void PoidsChronopost_EditKeyPress(char& key);
  void Launch_Chronopost();
  void SpeedButton1Click();
  void Chronopost_Proceed_ButtonClick();

  // The parcels registered since the panel was opened.
  int Parcels() const { return fState.Parcels; }
  // Where the hand-off files' numbers come from (random unless a test says).
  std::function<int()> Random = HandOffRandom;
  // How the invoices are printed, and the split of the second invoice into
  // one invoice per parcel.
  TPrintInvoice PrintInvoice;
  std::function<void(const std::string& number, int parcels)> ScinderParColis;

  QLabel* Label24;
  QLineEdit* PoidsChronopost_Edit;
  QLabel* Label25;
  QToolButton* SpeedButton1;
  QLabel* Label26;
  QLineEdit* NbFa_Edit;
  TUpDownArrows* NbFa_UpDown;
  QRadioButton* FA0_RadioButton;
  QLineEdit* NbFa0_Edit;
  TUpDownArrows* NbFa0_UpDown;
  QRadioButton* Scission_RadioButton;
  QLabel* Label27;
  QPushButton* Chronopost_Proceed_Button;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void BuildDesign();
  // Shows the total, the copies and the split option of fState.
  void ShowCounts();
  // Takes the copy counts as the user may have changed them.
  void ReadCopies();
  // True, with the box that says so, when one of the panel's edits is red.
  bool RefuseRedInputs() const;
  static void SetChecked(QRadioButton* button, bool checked);

  TPieceEditor& fEditor;
  TDesk& fDesk;
  TDeskTables& fTables;
  TCourierState fState;
};
