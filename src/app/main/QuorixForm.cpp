#include "QuorixForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QIcon>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QResizeEvent>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

#include "ArticlePanel.h"
#include "BarCodeManager.h"
#include "Catalogue.h"
#include "ClientPanel.h"
#include "CommandeAllianceForm.h"
#include "CltStatsSocket.h"
#include "CourierPanel.h"
#include "DebugManager.h"
#include "HistoriqueForm.h"
#include "ListDescriptors.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "NamedWidgets.h"
#include "NetworkShares.h"
#include "OrderImport.h"
#include "OrderImportCommands.h"
#include "PieceCommands.h"
#include "PieceEditor.h"
#include "PieceSignals.h"
#include "PrintManager.h"
#include "QtText.h"
#include "SearchResults.h"
#include "SplashLaunchForm.h"
#include "SplitPanel.h"
#include "StatsRequests.h"
#include "StringManager.h"
#include "Trace.h"

namespace {

QIcon ButtonIcon(const char* themeName, QStyle::StandardPixmap fallback) {
  return QIcon::fromTheme(QString::fromLatin1(themeName), QApplication::style()->standardIcon(fallback));
}

}  // namespace

TQuorix_Form::TQuorix_Form(std::unique_ptr<TSplashLaunch_Form> splash) : fSplash(std::move(splash)) {
  BuildDesign();
  FormCreate();
  CreateSideWindows();
}

// Closing is what saves; a window destroyed without being closed releases
// what it holds without writing anything. The lists' grids go first: they
// put back on their platform grids the handlers the commands set there,
// which the commands then clear.
TQuorix_Form::~TQuorix_Form() {
  if (fLists) fLists->ReleaseGrids();
}

// ---------------------------------------------------------------------------
// Design

void TQuorix_Form::BuildDesign() {
  setObjectName("Quorix_Form");
  setWindowTitle(QStringLiteral(" "));
  setGeometry(71, 5, 892, 638);

  auto* client = new QWidget(this);
  client->setObjectName("Quorix_Client");
  setCentralWidget(client);

  Menu_Panel = NewPanel(client, "Menu_Panel");
  Menu_Panel->setGeometry(8, 0, 817, 65);
  BuildButtonBar();

  Recherche_Edit = new QLineEdit(client);
  Recherche_Edit->setObjectName("Recherche_Edit");
  Recherche_Edit->setGeometry(16, 568, 177, 21);
  Recherche_BitBtn = new QToolButton(client);
  Recherche_BitBtn->setObjectName("Recherche_BitBtn");
  Recherche_BitBtn->setGeometry(197, 566, 25, 25);
  Recherche_BitBtn->setIcon(ButtonIcon("edit-find", QStyle::SP_FileDialogContentsView));

  fLists = std::make_unique<TRecordLists>(fTables, client);
  ConnectLists();

  BuildPanels(client);
  BuildMenu();
  ConnectPanels();
  ConnectCommands();
}

// In the order of their places on the window: the editor, the results grid
// that floats over it, the record panels, the split under the lists, the
// courier panel in the editor; the commands once the menu is there.
void TQuorix_Form::BuildPanels(QWidget* client) {
  fPieceEditor = std::make_unique<TPieceEditor>(client, *this, fTables, *fLists);
  fSearch = std::make_unique<TSearchResults>(client, Recherche_Edit, Recherche_BitBtn, Menu_Panel, *this, fTables,
                                             *fLists);
  fClientPanel = std::make_unique<TClientPanel>(client, *this, fTables, fLists->Of(kClientsList));
  fArticlePanel = std::make_unique<TArticlePanel>(client, *this, fTables, fLists->Of(kArticlesList));
  fSplitPanel = std::make_unique<TSplitPanel>(client, *this, fTables, fLists->Of(kFacturesList), *fPieceEditor);
  fCourierPanel = std::make_unique<TCourierPanel>(*fPieceEditor, *this, fTables);
}

// The editor and the results grid talk through callbacks, as the history
// window restores through one; so do the courier panel and the split.
void TQuorix_Form::ConnectPanels() {
  TPieceEditor& editor = *fPieceEditor;
  TSearchResults& search = *fSearch;
  editor.ShowCandidates = [&editor, &search](TMyDatabase& articles) {
    return search.ShowArticleCandidates(articles,
                                        editor.Facture_Panel->x() + editor.Facture_ExtraData_Panel->x());
  };
  search.EditorOpen = [&editor] { return editor.IsOpen(); };
  search.ChooseCandidate = [&editor](const TMyStringGrid& results, int row) {
    editor.ValidateSearchChoice(results, row);
  };
  search.FocusEditor = [&editor] { editor.Lines()->SetFocus(); };
  search.OpenRecord = [this](TListRecord record, const std::string& code) {
    if (record == TListRecord::Client) AfficherClientCode(code);
    if (record == TListRecord::Article) AfficherArticleCode(code);
  };
  const TPrintInvoice print = [this](const std::string& number, int copies) { AutoPrintFacture(number, copies); };
  fSplitPanel->PrintInvoice = print;
  fCourierPanel->PrintInvoice = print;
  fCourierPanel->ScinderParColis = [this](const std::string& number, int parcels) {
    fSplitPanel->ScinderParColis(number, parcels);
  };
}

void TQuorix_Form::ConnectCommands() {
  fPieceCommands = std::make_unique<TPieceCommands>(Dupliquer_BitBtn, *this, fTables, *fLists);
  connect(DevisFacture1, &QAction::triggered, this, [this] { fPieceCommands->DevisFacture1Click(); });
  connect(FactureDevis1, &QAction::triggered, this, [this] { fPieceCommands->FactureDevis1Click(); });
  connect(Nettoyer1, &QAction::triggered, this, [this] { fPieceCommands->Nettoyer1Click(); });
  fOrderImport = std::make_unique<TOrderImportCommands>(this, Importer_BitBtn, *this, fTables, *fLists, *fPieceEditor);
  connect(Importer1, &QAction::triggered, this, [this] { fOrderImport->Importer1Click(); });
  connect(ImporterDepuisFichier1, &QAction::triggered, this, [this] { fOrderImport->ImporterDepuisFichier1Click(); });
}

void TQuorix_Form::SetStatsRequests(std::unique_ptr<TStatsRequests> requests) {
  fPieceEditor->SetStatsRequests(std::move(requests));
}

void TQuorix_Form::BuildButtonBar() {
  struct Button {
    QToolButton** field;
    const char* name;
    const char* caption;
    const char* theme;
    QStyle::StandardPixmap fallback;
  };
  const Button buttons[] = {
      {&Imprimer_BitBtn, "Imprimer_BitBtn", "Imprimer", "document-print", QStyle::SP_DialogSaveButton},
      {&Client_BitBtn, "Client_BitBtn", "Clients", "system-users", QStyle::SP_DirHomeIcon},
      {&Articles_BitBtn, "Articles_BitBtn", "Articles", "package-x-generic", QStyle::SP_FileDialogContentsView},
      {&Factures_BitBtn, "Factures_BitBtn", "Factures", "x-office-document", QStyle::SP_FileDialogDetailedView},
      {&Devis_BitBtn, "Devis_BitBtn", "Devis", "x-office-spreadsheet", QStyle::SP_FileDialogInfoView},
      {&Creer_BitBtn, "Creer_BitBtn", "Créer", "document-new", QStyle::SP_FileDialogNewFolder},
      {&Dupliquer_BitBtn, "Dupliquer_BitBtn", "Dupliquer", "edit-copy", QStyle::SP_FileLinkIcon},
      {&Supprimer_BitBtn, "Supprimer_BitBtn", "Supprimer", "edit-delete", QStyle::SP_TrashIcon},
      {&BonDePreparation_BitBtn, "BonDePreparation_BitBtn", "Préparation", "view-list-details",
       QStyle::SP_FileDialogListView},
      {&Avoir_BitBtn, "Avoir_BitBtn", "Avoirs", "edit-undo", QStyle::SP_ArrowBack},
      {&Importer_BitBtn, "Importer_BitBtn", "Importer", "document-import", QStyle::SP_ArrowDown},
  };
  // Eleven buttons share the bar's 817 pixels.
  int left = 1;
  for (const Button& b : buttons) {
    auto* button = new QToolButton(Menu_Panel);
    button->setObjectName(b.name);
    button->setText(ToQString(b.caption));
    button->setIcon(ButtonIcon(b.theme, b.fallback));
    button->setIconSize(QSize(24, 24));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setGeometry(left, 3, 74, 59);
    left += 74;
    *b.field = button;
  }
  const std::pair<QToolButton*, TListId> listButtons[] = {{Client_BitBtn, kClientsList},
                                                           {Articles_BitBtn, kArticlesList},
                                                           {Factures_BitBtn, kFacturesList},
                                                           {Devis_BitBtn, kDevisList},
                                                           {Avoir_BitBtn, kAvoirsList}};
  for (const auto& [button, id] : listButtons) {
    connect(button, &QToolButton::clicked, this, [this, id = id] { ShowList(id); });
  }
  connect(Creer_BitBtn, &QToolButton::clicked, this, [this] { Creer_BitBtnClick(); });
  connect(Supprimer_BitBtn, &QToolButton::clicked, this, [this] { Supprimer_BitBtnClick(); });
  fAvailableActions = {Creer_BitBtn, Dupliquer_BitBtn, Supprimer_BitBtn};
}

void TQuorix_Form::BuildMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName("Quorix_MainMenu");
  auto item = [this](QMenu* menu, const char* name, const char* caption) {
    QAction* action = menu->addAction(ToQString(caption));
    action->setObjectName(name);
    return action;
  };
  Fonctions_Menu = bar->addMenu(ToQString("Fonctions"));
  Fonctions_Menu->setObjectName("Fonctions1");
  Importer1 = item(Fonctions_Menu, "Importer1", "Importer");
  ImporterDepuisFichier1 = item(Fonctions_Menu, "ImporterDepuisFichier1", "Importer Depuis Fichier");
  DevisFacture1 = item(Fonctions_Menu, "DevisFacture1", "Devis --> Facture");
  FactureDevis1 = item(Fonctions_Menu, "FactureDevis1", "Facture --> Devis");
  Scinder1 = item(Fonctions_Menu, "Scinder1", "Scinder");
  Historique1 = item(Fonctions_Menu, "Historique1", "Historique");
  Nettoyer1 = item(Fonctions_Menu, "Nettoyer1", "Nettoyer");
  Impression_Menu = bar->addMenu(ToQString("Impression"));
  Impression_Menu->setObjectName("Impression1");
  ImprimeravecEntete1 = item(Impression_Menu, "ImprimeravecEntete1", "Imprimer avec Entete");
  ImprimerCommande1 = item(Impression_Menu, "ImprimerCommande1", "Imprimer Commande");
  CommandeAlliance1 = item(Impression_Menu, "CommandeAlliance1", "Commande Alliance");
  ImprimerApercu = item(Impression_Menu, "ImprimerApercu", "Aperçu");
  Aide_Menu = bar->addMenu(ToQString("?"));
  Aide_Menu->setObjectName("N1");
  Apropos1 = item(Aide_Menu, "Apropos1", "A propos");
  connect(Apropos1, &QAction::triggered, this, [this] { Apropos1Click(); });
  connect(Historique1, &QAction::triggered, this, [this] { Historique1Click(); });
  connect(CommandeAlliance1, &QAction::triggered, this, [this] { CommandeAlliance1Click(); });

  connect(Scinder1, &QAction::triggered, this, [this] { Scinder1Click(); });

  // "Dupliquer" follows the list shown; "Importer" waits for an order.
  for (QToolButton* button : {Dupliquer_BitBtn, Importer_BitBtn}) {
    button->setEnabled(false);
  }
  ConnectPrintCommands();
}

void TQuorix_Form::Apropos1Click() { ShowMessage("Quorix - Service commercial export - 2026 - version 0.1.0"); }

int TQuorix_Form::ClientWidth() const { return centralWidget()->width(); }

int TQuorix_Form::ClientHeight() const { return centralWidget()->height(); }

// ---------------------------------------------------------------------------
// Loading

void TQuorix_Form::Progress(int value) {
  if (fSplash) fSplash->SetProgress(value);
}

void TQuorix_Form::FormCreate() {
  if (fSplash) {
    fSplash->SetLabel("Chargement en cours");
    fSplash->SetProgressMax(100);
  }
  if (TTableDebugWindow* debug = GetTableDebugWindow()) {
    if (auto* window = dynamic_cast<QWidget*>(debug)) window->hide();
  }
  ShowScinderControls(false);
  AfficherChronopost(false);

  fStringManager = std::make_unique<TStringManager>();
  fPrintManager = std::make_unique<TPrintManager>();
  fDebugManager = std::make_unique<TDebug_Manager>();
  fChrono = std::make_unique<TChrono>();

  // The splash bar moves after the articles and after the quote headers.
  fTables.Load([this](TDeskTable loaded) {
    if (loaded == TDeskTable::Articles) Progress(25);
    if (loaded == TDeskTable::Devis) Progress(50);
  });
  CreateGrids();
  Progress(75);

  // The barcode merge runs only when the server share holds the table.
  fRemoteBarcodeTable = NetworkShares::RemoteBarcodeTable(Catalogue::Settings::File);
  if (!fRemoteBarcodeTable.empty()) {
    fBarCodeManager = std::make_unique<TBarCodeManager>(fTables.Articles(), fRemoteBarcodeTable);
    for (const std::string& line : fBarCodeManager->Signals()) fPieceEditor->AfficherSignal(line, clSignalRed);
  }
  // An order whose piece was open when the program last ended without
  // closing waits again.
  const std::string heldOrder = GiveBackOrderLeftHeld();
  if (!heldOrder.empty()) {
    fPieceEditor->AfficherSignal("Commande " + heldOrder + " remise en attente : sa piece n'avait pas ete enregistree",
                                 clSignalRed);
  }

  setWindowState(windowState() | Qt::WindowMaximized);
  InitGrids();
  show();
  ShowCurrentPieceList();
  Progress(100);
  ConnectStatsServer();

  fSplash.reset();
  // The first preparation waits until the window has surely been painted.
  PrepareWhenIdle(250);
}

// Once the window is up, the event loop prepares what the desk asks for next
// whenever it has nothing else to do, one step at a time: the lists not
// shown yet are filled and sorted, then the indexes of the tables, which are
// otherwise sorted at their first use, so that the first switch to a list of
// 100 000 articles and the first search find them ready.
void TQuorix_Form::PrepareWhenIdle(int delayMs) {
  QTimer::singleShot(delayMs, this, [this] {
    if (fClosed) return;
    if (fLists->PrepareNextList()) {
      PrepareWhenIdle();
      return;
    }
    if (fTables.BuildWaitingIndex() || ReserveSearchRows()) {
      PrepareWhenIdle();
      return;
    }
    fIdleDone = true;
  });
}

// The first search over every invoice would otherwise wait for the memory
// of 200 000 rows: it is taken a slice at a time while the program is idle,
// a column and two megabytes of its texts at a time, as fresh memory touched
// all at once would keep an event waiting.
bool TQuorix_Form::ReserveSearchRows() {
  TMyStringGrid* grid = fSearch->Grid();
  TMyDatabase* factures = fTables.Factures();
  if (grid == nullptr || factures == nullptr) return false;
  constexpr int kSlice = 65536;
  const int wanted = factures->RecordCount() + grid->GetFixedRows();
  if (fSearchRowsReserved >= wanted) return false;
  if (wanted != fSearchRowsWanted) {
    fSearchRowsWanted = wanted;
    fSearchColsReserved = 0;
    fSearchRowsTouched = 0;
  }
  if (fSearchColsReserved < grid->GetColCount()) {
    fSearchRowsTouched = std::min(wanted, fSearchRowsTouched + kSlice);
    grid->ReserveColumnRows(fSearchColsReserved, wanted, fSearchRowsTouched);
    if (fSearchRowsTouched >= wanted) {
      ++fSearchColsReserved;
      fSearchRowsTouched = 0;
    }
    return true;
  }
  grid->ReserveRows(wanted);
  fSearchRowsReserved = wanted;
  return true;
}

void TQuorix_Form::CreateGrids() {
  fLists->CreateGrids();
  fPieceEditor->CreateGrid();
  fSearch->CreateGrid();
  fGridsCreated = true;
}

// ---------------------------------------------------------------------------
// Close

void TQuorix_Form::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
  if (OnClosed) OnClosed();
}

void TQuorix_Form::FormClose() {
  if (fClosed) return;
  fClosed = true;
  // The list on screen has moved since it was shown: what is written is
  // where each list is now.
  if (fGridsCreated) fLists->StoreAllPositions();
  fLists->SavePositions();
  SaveTrace();
  if (fOrderImport) fOrderImport->Stop();
  // An imported order whose piece was not saved waits again.
  fPieceEditor->AbandonPiece();
  if (fCltStatsSocket) fCltStatsSocket->Close();
  fCltStatsSocket.reset();
  ReleaseSideWindows();

  fTables.SaveAndRelease();
  fLists->ReleaseGrids();
  fPieceEditor->ReleaseGrid();
  fSearch->ReleaseGrid();
  fStringManager.reset();
  fPrintManager.reset();
  fDebugManager.reset();
  fChrono.reset();
}

// ---------------------------------------------------------------------------
// Resize

void TQuorix_Form::PlaceListGrid(TMyStringGrid* grid) {
  const int top = Menu_Panel->y() + Menu_Panel->height() + 5;
  grid->SetLeft(Menu_Panel->x());
  grid->SetTop(top);
  grid->SetWidth(Menu_Panel->width());
  grid->SetHeight(Recherche_Edit->y() - top - 5);
}

void TQuorix_Form::PlacePiecePanel() {
  const int top = Menu_Panel->y() + Menu_Panel->height() + 1;
  fPieceEditor->Facture_Panel->setGeometry(4, top, ClientWidth() - 4 - 2, ClientHeight() - top - 2);
}

// The lines fill the editor left of its side panel, down to the search edit.
void TQuorix_Form::PlacePieceLines() {
  TMyStringGrid* lines = fPieceEditor->Lines();
  QFrame* side = fPieceEditor->Facture_ExtraData_Panel;
  lines->SetLeft(0);
  lines->SetTop(0);
  lines->SetWidth(Menu_Panel->width() - side->width() - 3);
  lines->SetHeight(Recherche_Edit->y() - Menu_Panel->height() - 6);
  side->setGeometry(lines->GetLeft() + lines->GetWidth() + 3, lines->GetTop(), side->width(), lines->GetHeight());
}

void TQuorix_Form::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
}

void TQuorix_Form::FormResize() {
  if (!fGridsCreated) return;
  for (const auto& list : fLists->All()) PlaceListGrid(list->Grid());
  PlacePiecePanel();
  PlacePieceLines();
}
