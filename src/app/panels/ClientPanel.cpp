#include "ClientPanel.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include <iterator>
#include <vector>

#include "Catalogue.h"
#include "DeskTables.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "NamedWidgets.h"
#include "QtText.h"
#include "RecordEditTools.h"
#include "RecordSave.h"
#include "StringManager.h"
#include "Trace.h"

namespace C = Catalogue::Clients;

namespace {

// Where an edit sits: on the panel itself or in one of the two address boxes.
enum TPlace { kPanel, kFacturation, kLivraison };

// One edit of the panel, in reading (and Tab) order: its caption, shown on
// its left, the field it shows and writes (none for the company name shown
// again above the invoicing address), and its place.
struct TClientEdit {
  QLineEdit* TClientPanel::*Edit;
  const char* Name;
  const char* Caption;
  const char* Field;
  TPlace Place;
  int Left;
  int Top;
  int Width;
  int CaptionWidth;
  void (TClientPanel::*Change)();
};

// The address boxes hold seven rows of the same layout.
constexpr int kBoxEditLeft = 86;
constexpr int kBoxEditWidth = 192;
constexpr int kBoxCaption = 74;
constexpr int Row(int i) { return 20 + 24 * i; }

const TClientEdit kEdits[] = {
    {&TClientPanel::ClientCodeClientEdit, "ClientCodeClientEdit", Catalogue::Field::CodeClient, C::Code, kPanel, 92, 8,
     64, 80, &TClientPanel::ClientCodeClientEditChange},
    {&TClientPanel::ClientNomPharmacieEdit, "ClientNomPharmacieEdit", "Nom Pharmacie", C::Societe, kPanel, 276, 8, 316,
     108, &TClientPanel::ClientNomPharmacieEditChange},
    {&TClientPanel::ClientTelEdit, "ClientTelEdit", "Téléphone", C::Telephone, kPanel, 92, 34, 120, 80,
     &TClientPanel::ClientTelEditChange},
    {&TClientPanel::ClientFaxEdit, "ClientFaxEdit", "Fax", C::Fax, kPanel, 262, 34, 120, 36,
     &TClientPanel::ClientFaxEditChange},
    {&TClientPanel::ClientPortableEdit, "ClientPortableEdit", "Portable", C::Portable, kPanel, 456, 34, 136, 60,
     &TClientPanel::ClientPortableEditChange},
    {&TClientPanel::ClientEmailEdit, "ClientEmailEdit", C::Email, C::Email, kPanel, 92, 60, 290, 80,
     &TClientPanel::ClientEmailEditChange},
    {&TClientPanel::ClientIdCEEEdit, "ClientIdCEEEdit", "Id CEE", C::ImmTVA, kPanel, 456, 60, 136, 60, nullptr},
    {&TClientPanel::ClientFacturationPharmacienEdit, "ClientFacturationPharmacienEdit", "Pharmacien", nullptr,
     kFacturation, kBoxEditLeft, Row(0), kBoxEditWidth, kBoxCaption, nullptr},
    {&TClientPanel::ClientFacturationAdd1Edit, "ClientFacturationAdd1Edit", C::Adresse1, C::Adresse1, kFacturation,
     kBoxEditLeft, Row(1), kBoxEditWidth, kBoxCaption, nullptr},
    {&TClientPanel::ClientFacturationAdd2Edit, "ClientFacturationAdd2Edit", C::Adresse2, C::Adresse2, kFacturation,
     kBoxEditLeft, Row(2), kBoxEditWidth, kBoxCaption, nullptr},
    {&TClientPanel::ClientFacturationAdd3Edit, "ClientFacturationAdd3Edit", C::Adresse3, C::Adresse3, kFacturation,
     kBoxEditLeft, Row(3), kBoxEditWidth, kBoxCaption, nullptr},
    {&TClientPanel::ClientFacturationCodeEdit, "ClientFacturationCodeEdit", C::CodePostal, C::CodePostal,
     kFacturation, kBoxEditLeft, Row(4), kBoxEditWidth, kBoxCaption, nullptr},
    {&TClientPanel::ClientFacturationVilleEdit, "ClientFacturationVilleEdit", "Ville", C::Ville, kFacturation,
     kBoxEditLeft, Row(5), kBoxEditWidth, kBoxCaption, nullptr},
    {&TClientPanel::ClientFacturationPaysEdit, "ClientFacturationPaysEdit", "Pays", C::Pays, kFacturation,
     kBoxEditLeft, Row(6), kBoxEditWidth, kBoxCaption, &TClientPanel::ClientFacturationPaysEditChange},
    {&TClientPanel::ClientLivraisonPharmacienEdit, "ClientLivraisonPharmacienEdit", "Pharmacien", C::SocieteLivraison,
     kLivraison, kBoxEditLeft, Row(0), kBoxEditWidth, kBoxCaption, nullptr},
    {&TClientPanel::ClientLivraisonAdd1Edit, "ClientLivraisonAdd1Edit", C::Adresse1, C::Adresse1Livraison,
     kLivraison, kBoxEditLeft, Row(1), kBoxEditWidth, kBoxCaption, nullptr},
    {&TClientPanel::ClientLivraisonAdd2Edit, "ClientLivraisonAdd2Edit", C::Adresse2, C::Adresse2Livraison,
     kLivraison, kBoxEditLeft, Row(2), kBoxEditWidth, kBoxCaption, nullptr},
    {&TClientPanel::ClientLivraisonAdd3Edit, "ClientLivraisonAdd3Edit", C::Adresse3, C::Adresse3Livraison,
     kLivraison, kBoxEditLeft, Row(3), kBoxEditWidth, kBoxCaption, nullptr},
    {&TClientPanel::ClientLivraisonCodeEdit, "ClientLivraisonCodeEdit", C::CodePostal, C::CodePostalLivraison,
     kLivraison, kBoxEditLeft, Row(4), kBoxEditWidth, kBoxCaption, nullptr},
    {&TClientPanel::ClientLivraisonVilleEdit, "ClientLivraisonVilleEdit", "Ville", C::VilleLivraison, kLivraison,
     kBoxEditLeft, Row(5), kBoxEditWidth, kBoxCaption, nullptr},
    {&TClientPanel::ClientLivraisonPaysEdit, "ClientLivraisonPaysEdit", "Pays", C::PaysLivraison, kLivraison,
     kBoxEditLeft, Row(6), kBoxEditWidth, kBoxCaption, &TClientPanel::ClientLivraisonPaysEditChange},
};

// Cell types of the checks: ok (white), red, light yellow.
struct TChecks {
  TCellType Ok, Red, Yellow;
};
constexpr TChecks kCodeChecks{ctClientCode, ctEmpty, ctNotClientCodeNorEmpty};
constexpr TChecks kNomChecks{ctNotEmpty, ctEmpty, ctNoText};
constexpr TChecks kPhoneChecks{ctPhoneOrEmpty, ctNoText, ctNotPhoneNorEmpty};
constexpr TChecks kEmailChecks{ctEmailOrEmpty, ctNoText, ctNotEmailNorEmpty};
constexpr TChecks kPaysChecks{ctListedCountryOrEmpty, ctNoText, ctNotListedCountryNorEmpty};
// An edit with no rule of its own is white, unless it holds what no stored
// text may hold.
constexpr TChecks kPlainChecks{ctAnyText, ctNoText, ctNoText};

void Color(TMyStringGrid* checker, QLineEdit* edit, const TChecks& checks) {
  if (checker != nullptr) ColorEdit(edit, *checker, checks.Ok, checks.Red, checks.Yellow);
}

// The country list is searched with the typed text as a pattern; a text that
// is no valid pattern is no listed country either.
void ColorCountry(TMyStringGrid* checker, QLineEdit* edit) {
  try {
    Color(checker, edit, kPaysChecks);
  } catch (const ERegExError&) {
    SetEditColor(edit, clWarningYellow);
  }
}

QLabel* MakeCaption(QWidget* parent, const std::string& name, const char* caption, QRect geometry, QWidget* buddy) {
  QLabel* label = NewLabel(parent, name, caption, geometry);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  label->setBuddy(buddy);
  return label;
}

std::string Text(const QLineEdit* edit) { return FromQString(edit->text()); }

}  // namespace

TClientPanel::TClientPanel(QWidget* parent, TDesk& desk, TDeskTables& tables, TRecordList& clients)
    : fFlow(RecordPanelKinds::Client, parent, desk, clients), fTables(tables) {
  Client_Panel = fFlow.Panel();
  BuildDesign();
}

TClientPanel::~TClientPanel() = default;

void TClientPanel::BuildDesign() {
  QFrame* panel = Client_Panel;
  auto* facturation = new QGroupBox(ToQString("Facturation"), panel);
  facturation->setObjectName("ClientFacturation_GroupBox");
  facturation->setGeometry(8, 88, 288, 194);
  auto* livraison = new QGroupBox(ToQString("Livraison"), panel);
  livraison->setObjectName("ClientLivraison_GroupBox");
  livraison->setGeometry(304, 88, 288, 194);
  QWidget* const parents[] = {panel, facturation, livraison};

  for (const TClientEdit& e : kEdits) {
    QWidget* parent = parents[e.Place];
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(e.Name);
    edit->setGeometry(e.Left, e.Top, e.Width, 22);
    this->*e.Edit = edit;
    const std::string name(e.Name);
    MakeCaption(parent, name.substr(0, name.size() - 4) + "_Label", e.Caption,
                QRect(e.Left - e.CaptionWidth - 4, e.Top, e.CaptionWidth, 22), edit);
    if (e.Field != nullptr) connect(edit, &QLineEdit::textChanged, this, [this, e] { RunChange(this->*e.Edit); });
  }
  QFont bold = ClientCodeClientEdit->font();
  bold.setBold(true);
  ClientCodeClientEdit->setFont(bold);
  // It shows the company name again; what is typed there would not be kept.
  ClientFacturationPharmacienEdit->setReadOnly(true);
  ClientFacturationPharmacienEdit->setFocusPolicy(Qt::ClickFocus);

  auto* echeance = new QGroupBox(ToQString(C::Echeance), panel);
  echeance->setObjectName("ClientEcheance_GroupBox");
  echeance->setGeometry(8, 288, 288, 50);
  TrenteJ_RadioButton = new QRadioButton(ToQString("30 Jours"), echeance);
  TrenteJ_RadioButton->setObjectName("TrenteJ_RadioButton");
  TrenteJ_RadioButton->setGeometry(10, 20, 84, 22);
  Comptant_RadioButton = new QRadioButton(ToQString("Comptant"), echeance);
  Comptant_RadioButton->setObjectName("Comptant_RadioButton");
  Comptant_RadioButton->setGeometry(100, 20, 86, 22);
  Quinzaine_RadioButton = new QRadioButton(ToQString("Quinzaine"), echeance);
  Quinzaine_RadioButton->setObjectName("Quinzaine_RadioButton");
  Quinzaine_RadioButton->setGeometry(192, 20, 90, 22);
  TrenteJ_RadioButton->setChecked(true);

  Ubipharm_CheckBox = new QCheckBox(ToQString("par Ubipharm"), panel);
  Ubipharm_CheckBox->setObjectName("Ubipharm_CheckBox");
  Ubipharm_CheckBox->setGeometry(312, 292, 160, 22);

  ClientEnregistrer_Button = NewButton(panel, "ClientEnregistrer_Button", "&Enregistrer", QRect(392, 310, 96, 30));
  ClientAnnuler_Button = NewButton(panel, "ClientAnnuler_Button", "&Annuler", QRect(496, 310, 96, 30));
  connect(ClientEnregistrer_Button, &QPushButton::clicked, this, [this] { ClientEnregistrer_ButtonClick(); });
  connect(ClientAnnuler_Button, &QPushButton::clicked, this, [this] { ClientAnnuler_ButtonClick(); });

  SetTabOrder();
}

// Tab follows the panel in reading order: the client's own edits, the
// invoicing address, the delivery address, the term, the distributor box and
// the buttons.
void TClientPanel::SetTabOrder() {
  std::vector<QWidget*> order;
  for (const TClientEdit& e : kEdits) {
    if (this->*e.Edit != ClientFacturationPharmacienEdit) order.push_back(this->*e.Edit);
  }
  for (QWidget* w : std::initializer_list<QWidget*>{TrenteJ_RadioButton, Comptant_RadioButton, Quinzaine_RadioButton,
                                                     Ubipharm_CheckBox, ClientEnregistrer_Button,
                                                     ClientAnnuler_Button}) {
    order.push_back(w);
  }
  for (std::size_t i = 0; i + 1 < order.size(); ++i) QWidget::setTabOrder(order[i], order[i + 1]);
}

TMyStringGrid* TClientPanel::Checker() const { return fFlow.Checker(); }

// A code with pattern characters cannot be looked for; it is no other
// client's code, and the save will say why it cannot be kept. A check that
// stopped on a limit is said.
void TClientPanel::RunChange(QLineEdit* edit) {
  for (const TClientEdit& e : kEdits) {
    if (this->*e.Edit != edit) continue;
    if (e.Change == nullptr) {
      if (e.Field != nullptr) Color(Checker(), edit, kPlainChecks);
      return;
    }
    try {
      (this->*e.Change)();
    } catch (const ERegExError& error) {
      ShowIfLimitReached(error);
    }
    return;
  }
}

void TClientPanel::SetEditText(QLineEdit* edit, const std::string& text) {
  {
    const QSignalBlocker blocker(edit);
    edit->setText(ToQString(text));
  }
  RunChange(edit);
}

// ---------------------------------------------------------------------------
// Checks while typing

void TClientPanel::ClientCodeClientEditChange() {
  Color(Checker(), ClientCodeClientEdit, kCodeChecks);
  MarkDuplicateKey(ClientCodeClientEdit, loadedClientCode, *fTables.Clients(), C::Code);
}

void TClientPanel::ClientNomPharmacieEditChange() {
  Color(Checker(), ClientNomPharmacieEdit, kNomChecks);
  ClientFacturationPharmacienEdit->setText(ClientNomPharmacieEdit->text());
}

void TClientPanel::ClientTelEditChange() { Color(Checker(), ClientTelEdit, kPhoneChecks); }

void TClientPanel::ClientFaxEditChange() { Color(Checker(), ClientFaxEdit, kPhoneChecks); }

void TClientPanel::ClientPortableEditChange() { Color(Checker(), ClientPortableEdit, kPhoneChecks); }

void TClientPanel::ClientEmailEditChange() { Color(Checker(), ClientEmailEdit, kEmailChecks); }

void TClientPanel::ClientFacturationPaysEditChange() { ColorCountry(Checker(), ClientFacturationPaysEdit); }

void TClientPanel::ClientLivraisonPaysEditChange() { ColorCountry(Checker(), ClientLivraisonPaysEdit); }

// ---------------------------------------------------------------------------
// Opening

void TClientPanel::AfficherFicheClient() {
  if (!fFlow.Open(loadedClientCode)) return;
  if (fFlow.Table().QueryResultCount() == 1) {
    OpenExisting();
  } else {
    OpenNew();
  }
  Ubipharm_CheckBox->setChecked(IsParUbipharm(*fTables.Ubipharm(), Text(ClientCodeClientEdit)));
}

void TClientPanel::OpenExisting() {
  TMyDatabase& clients = fFlow.Table();
  // Every value is read before the edits' handlers run queries of their own.
  std::vector<std::string> values;
  for (const TClientEdit& e : kEdits) {
    values.push_back(e.Field != nullptr ? clients.GetQueryResultString(e.Field, 0) : std::string());
  }
  const std::string term = clients.GetQueryResultString(C::Echeance, 0);
  for (std::size_t i = 0; i < std::size(kEdits); ++i) {
    if (kEdits[i].Field != nullptr) SetEditText(this->*kEdits[i].Edit, values[i]);
  }
  SetEcheance(term, TrenteJ_RadioButton, Comptant_RadioButton, Quinzaine_RadioButton);
  ClientCodeClientEdit->setFocus();
}

void TClientPanel::OpenNew() {
  for (const TClientEdit& e : kEdits) SetEditText(this->*e.Edit, "");
  SetEditText(ClientCodeClientEdit, NextClientCode());
  TrenteJ_RadioButton->setChecked(true);
  // The company name is what a new client needs first.
  ClientNomPharmacieEdit->setFocus();
}

void TClientPanel::AfficherClientCode(const std::string& code) {
  fFlow.SelectKey(code);
  AfficherFicheClient();
}

std::string TClientPanel::NextClientCode() { return ::NextClientCode(*fTables.Clients()); }

// ---------------------------------------------------------------------------
// Saving and deleting

void TClientPanel::ClientEnregistrer_ButtonClick() {
  TRecordToSave client;
  client.Kind = &RecordKinds::Client;
  client.Table = fTables.Clients();
  client.LoadedKey = loadedClientCode;
  for (const TClientEdit& e : kEdits) {
    if (GetEditColor(this->*e.Edit) == clErrorRed) client.RedEdit = true;
  }
  for (const char* field : C::Fields) {
    if (field == std::string(C::Echeance)) {
      client.Values.emplace_back(field, GetEcheance(TrenteJ_RadioButton, Comptant_RadioButton, Quinzaine_RadioButton));
      continue;
    }
    for (const TClientEdit& e : kEdits) {
      if (e.Field != nullptr && field == std::string(e.Field)) client.Values.emplace_back(field, Text(this->*e.Edit));
    }
  }
  fFlow.Save(client, [this](const TRecordToSave& record) {
    return SaveClientSequence(record, *fTables.Ubipharm(), Ubipharm_CheckBox->isChecked());
  });
}

void TClientPanel::ClientAnnuler_ButtonClick() { fFlow.Cancel(); }

void TClientPanel::SupprimerClient() {
  fFlow.Delete([this](const std::string& code) {
    return DeleteClientSequence(*fTables.Clients(), *fTables.Factures(), code);
  });
}
