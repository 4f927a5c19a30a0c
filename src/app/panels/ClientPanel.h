#pragma once

#include <QObject>

#include <string>

#include "RecordPanelFlow.h"

class QCheckBox;
class QFrame;
class QEvent;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TDesk;
class TDeskTables;
class TMyStringGrid;
class TRecordList;

// The client record panel `Client_Panel`: one client opened from the client
// list (or a new one from "Créer"), its edits checked and coloured while
// typing, saved with its membership of the distributor list, or deleted from
// the list. The save and deletion rules are those of the business layer.
class TClientPanel : public QObject {
public:
  // Makes the panel, hidden, on the window's client area.
  TClientPanel(QWidget* parent, TDesk& desk, TDeskTables& tables, TRecordList& clients);
  ~TClientPanel() override;
  TClientPanel(const TClientPanel&) = delete;
  TClientPanel& operator=(const TClientPanel&) = delete;

  // Opens the client of the client list's current row; a row whose code has
  // no record opens a new client under the next free code.
  void AfficherFicheClient();
  // Selects the first row of the client list with that code (none: the row
  // stays) and opens it.
  void AfficherClientCode(const std::string& code);
  std::string NextClientCode();
  // Deletes the client of the list's current row, unless it has invoices.
  void SupprimerClient();
  void Hide() { fFlow.Hide(); }

  // The edits' checks while typing.
  void ClientCodeClientEditChange();
  void ClientNomPharmacieEditChange();
  void ClientTelEditChange();
  void ClientFaxEditChange();
  void ClientPortableEditChange();
  void ClientEmailEditChange();
  void ClientFacturationPaysEditChange();
  void ClientLivraisonPaysEditChange();

  void ClientEnregistrer_ButtonClick();
  void ClientAnnuler_ButtonClick();

  // The code of the list row the panel was opened from (empty for a new
  // client).
  std::string loadedClientCode;

  // Design controls (object names are the component names).
  QFrame* Client_Panel;
  QLineEdit* ClientCodeClientEdit;
  QLineEdit* ClientNomPharmacieEdit;
  QLineEdit* ClientTelEdit;
  QLineEdit* ClientFaxEdit;
  QLineEdit* ClientPortableEdit;
  QLineEdit* ClientEmailEdit;
  QLineEdit* ClientIdCEEEdit;
  QLineEdit* ClientFacturationPharmacienEdit;
  QLineEdit* ClientFacturationAdd1Edit;
  QLineEdit* ClientFacturationAdd2Edit;
  QLineEdit* ClientFacturationAdd3Edit;
  QLineEdit* ClientFacturationCodeEdit;
  QLineEdit* ClientFacturationVilleEdit;
  QLineEdit* ClientFacturationPaysEdit;
  QLineEdit* ClientLivraisonPharmacienEdit;
  QLineEdit* ClientLivraisonAdd1Edit;
  QLineEdit* ClientLivraisonAdd2Edit;
  QLineEdit* ClientLivraisonAdd3Edit;
  QLineEdit* ClientLivraisonCodeEdit;
  QLineEdit* ClientLivraisonVilleEdit;
  QLineEdit* ClientLivraisonPaysEdit;
  QRadioButton* TrenteJ_RadioButton;
  QRadioButton* Comptant_RadioButton;
  QRadioButton* Quinzaine_RadioButton;
  QCheckBox* Ubipharm_CheckBox;
  QPushButton* ClientEnregistrer_Button;
  QPushButton* ClientAnnuler_Button;

private:
  void BuildDesign();
  void SetTabOrder();
  // Runs the edit's change handler once after setting its text, whether or
  // not the text differs from the one it had.
  void SetEditText(QLineEdit* edit, const std::string& text);
  void RunChange(QLineEdit* edit);
  void OpenExisting();
  void OpenNew();
  TMyStringGrid* Checker() const;

  TRecordPanelFlow fFlow;
  TDeskTables& fTables;
};
