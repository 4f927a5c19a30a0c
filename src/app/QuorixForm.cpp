#include "QuorixForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QIcon>
#include <QLabel>
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
#include "NetworkShares.h"
#include "OrderImportCommands.h"
#include "PieceCommands.h"
#include "PieceEditorPanel.h"
#include "PieceSignals.h"
#include "PrintManager.h"
#include "QtGridSurface.h"
#include "QtText.h"
#include "RecordLists.h"
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

QFrame* MakePanel(QWidget* parent, const char* name) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(name);
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setFrameShadow(QFrame::Raised);
  return panel;
}

TQtGridSurface* MakeGrid(QWidget* parent, const char* name) {
  auto* grid = new TQtGridSurface(parent);
  grid->setObjectName(name);
  return grid;
}

}  // namespace

TQuorix_Form::TQuorix_Form(std::unique_ptr<TSplashLaunch_Form> splash)
    : fSplash(std::move(splash)), fStatsRequests(std::make_unique<TStatsRequests>()) {
  BuildDesign();
  FormCreate();
  CreateSideWindows();
}

// Closing is what saves; a window destroyed without being closed releases
// what it holds without writing anything.
TQuorix_Form::~TQuorix_Form() = default;

// ---------------------------------------------------------------------------
// Design

void TQuorix_Form::BuildDesign() {
  setObjectName("Quorix_Form");
  setWindowTitle(QStringLiteral(" "));
  setGeometry(71, 5, 892, 638);

  auto* client = new QWidget(this);
  client->setObjectName("Quorix_Client");
  setCentralWidget(client);

  Menu_Panel = MakePanel(client, "Menu_Panel");
  Menu_Panel->setGeometry(8, 0, 817, 65);
  BuildButtonBar();

  Recherche_Edit = new QLineEdit(client);
  Recherche_Edit->setObjectName("Recherche_Edit");
  Recherche_Edit->setGeometry(16, 568, 177, 21);
  Recherche_BitBtn = new QToolButton(client);
  Recherche_BitBtn->setObjectName("Recherche_BitBtn");
  Recherche_BitBtn->setGeometry(197, 566, 25, 25);
  Recherche_BitBtn->setIcon(ButtonIcon("edit-find", QStyle::SP_FileDialogContentsView));

  for (const TListDescriptor& list : ListDescriptors()) {
    TQtGridSurface* grid = MakeGrid(client, list.SurfaceName);
    this->*list.Surface = grid;
    grid->SetRowSelect(true);
    grid->hide();
    grid->Events.OnDblClick = [this, &list] { (this->*list.DblClick)(); };
    grid->Events.OnKeyPress = [this, &list](char& key) { (this->*list.KeyPress)(key); };
  }

  Facture_Panel = MakePanel(client, "Facture_Panel");
  Facture_Panel->setGeometry(4, 66, 880, 540);
  Facture_StringGrid = MakeGrid(Facture_Panel, "Facture_StringGrid");
  Facture_StringGrid->setGeometry(0, 0, 614, 497);
  Facture_StringGrid->SetEditing(true);
  Facture_ExtraData_Panel = MakePanel(Facture_Panel, "Facture_ExtraData_Panel");
  Facture_ExtraData_Panel->setGeometry(617, 0, 200, 497);
  Chronopost_Panel = MakePanel(Facture_Panel, "Chronopost_Panel");
  Chronopost_Panel->setGeometry(617, 498, 200, 150);
  Chronopost_Panel->hide();
  Facture_Panel->hide();

  Client_Panel = MakePanel(client, "Client_Panel");
  Client_Panel->setGeometry(8, 72, 600, 350);
  Client_Panel->hide();
  Article_Panel = MakePanel(client, "Article_Panel");
  Article_Panel->setGeometry(8, 72, 393, 273);
  Article_Panel->hide();

  Label15 = new QLabel(client);
  Label15->setObjectName("Label15");
  Label15->setText(ToQString("1ere COMMANDE"));
  Label15->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
  Label15->setGeometry(640, 40, 177, 20);
  Label15->hide();

  Recherche_StringGrid = MakeGrid(client, "Recherche_StringGrid");
  Recherche_StringGrid->SetRowSelect(true);
  Recherche_StringGrid->hide();

  fPieceEditor = std::make_unique<TPieceEditor>(*this);
  fSearch = std::make_unique<TSearchResults>(*this);
  fClientPanel = std::make_unique<TClientPanel>(*this);
  fArticlePanel = std::make_unique<TArticlePanel>(*this);
  fSplitPanel = std::make_unique<TSplitPanel>(*this);
  fCourierPanel = std::make_unique<TCourierPanel>(*this);

  BuildMenu();
  fPieceCommands = std::make_unique<TPieceCommands>(*this);
  fOrderImport = std::make_unique<TOrderImportCommands>(*this);
}

void TQuorix_Form::SetStatsRequests(std::unique_ptr<TStatsRequests> requests) {
  if (requests) fStatsRequests = std::move(requests);
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
  for (int id = 0; id < kListCount; ++id) {
    connect(this->*ListDescriptor(static_cast<TListId>(id)).Button, &QToolButton::clicked, this,
            [this, id] { ShowList(id); });
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

  printAfterSplit = false;
  currentListKind = "Facture";
  pendingLookupCol = 1;
  factureNumberBase = 31700;

  fStringManager = std::make_unique<TStringManager>();
  fPrintManager = std::make_unique<TPrintManager>();
  fDebugManager = std::make_unique<TDebug_Manager>();
  fChrono = std::make_unique<TChrono>();

  LoadTables();
  CreateGrids();
  Progress(75);

  // The barcode merge runs only when the server share holds the table.
  remoteBarcodeTable = NetworkShares::RemoteBarcodeTable(Catalogue::Settings::File);
  if (!remoteBarcodeTable.empty()) {
    fBarCodeManager = std::make_unique<TBarCodeManager>(fArticles.get(), remoteBarcodeTable);
    for (const std::string& line : fBarCodeManager->Signals()) fPieceEditor->AfficherSignal(line, clSignalRed);
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
    if (PrepareNextList()) {
      PrepareWhenIdle();
      return;
    }
    for (TMyDatabase* table : {fArticles.get(), fClients.get(), fFactures.get(), fDevis.get(), fAvoirs.get(),
                               fDupli.get(), fNoFa.get(), fUbipharm.get(), fTarifsChronopost.get()}) {
      if (table != nullptr && table->BuildWaitingIndex()) {
        PrepareWhenIdle();
        return;
      }
    }
  });
}

void TQuorix_Form::LoadTables() {
  fArticles = std::make_unique<TMyDatabase>(Catalogue::Articles::File);
  Progress(25);
  fClients = std::make_unique<TMyDatabase>(Catalogue::Clients::File);
  fFactures = std::make_unique<TMyDatabase>(Catalogue::Factures::File);
  fDevis = std::make_unique<TMyDatabase>(Catalogue::Devis::File);
  Progress(50);
  fAvoirs = std::make_unique<TMyDatabase>(Catalogue::Avoirs::File);
  fDupli = std::make_unique<TMyDatabase>(Catalogue::Dupli::File);
  fNoFa = std::make_unique<TMyDatabase>(Catalogue::NoFa::File);
  fUbipharm = std::make_unique<TMyDatabase>(Catalogue::Ubipharm::File);
  fTarifsChronopost = std::make_unique<TMyDatabase>(Catalogue::TarifsChronopost::File);
}

void TQuorix_Form::CreateGrids() {
  fFacturesGrid = std::make_unique<TMyStringGrid>(Liste_Factures_StringGrid);
  fDevisGrid = std::make_unique<TMyStringGrid>(Liste_Devis_StringGrid);
  fAvoirsGrid = std::make_unique<TMyStringGrid>(Liste_Avoirs_StringGrid);
  fClientsGrid = std::make_unique<TMyStringGrid>(Liste_Clients_StringGrid);
  fArticlesGrid = std::make_unique<TMyStringGrid>(Liste_Articles_StringGrid);
  // Leaving a cell of the piece lines validates it.
  fLignesGrid = std::make_unique<TMyStringGrid>(Facture_StringGrid, [this](int col, int row, const std::string& text) {
    if (fPieceEditor) fPieceEditor->OnCellLeave(col, row, text);
  });
  fRechercheGrid = std::make_unique<TMyStringGrid>(Recherche_StringGrid);
  gridsCreated = true;
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
  if (gridsCreated) StoreAllPositions();
  SavePositions();
  SaveTrace();
  if (fOrderImport) fOrderImport->Stop();
  if (fCltStatsSocket) fCltStatsSocket->Close();
  fCltStatsSocket.reset();
  ReleaseSideWindows();

  // A table that cannot be written reports its own warning; the others are
  // still saved.
  fClients->Save();
  fArticles->Save();
  fFactures->Save();
  fDupli->Save();
  fUbipharm->Save();

  fClients.reset();
  fArticles.reset();
  fFactures.reset();
  fDupli.reset();
  fNoFa.reset();
  fUbipharm.reset();
  fTarifsChronopost.reset();
  fFacturesGrid.reset();
  fClientsGrid.reset();
  fArticlesGrid.reset();
  fLignesGrid.reset();
  fRechercheGrid.reset();
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
  Facture_Panel->setGeometry(4, top, ClientWidth() - 4 - 2, ClientHeight() - top - 2);
}

void TQuorix_Form::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
}

void TQuorix_Form::FormResize() {
  if (!gridsCreated) return;
  for (const TListDescriptor& list : ListDescriptors()) PlaceListGrid((this->*list.Grid).get());
  PlacePiecePanel();
  fLignesGrid->SetLeft(0);
  fLignesGrid->SetTop(0);
  fLignesGrid->SetWidth(Menu_Panel->width() - Facture_ExtraData_Panel->width() - 3);
  fLignesGrid->SetHeight(Recherche_Edit->y() - Menu_Panel->height() - 6);
  Facture_ExtraData_Panel->setGeometry(fLignesGrid->GetLeft() + fLignesGrid->GetWidth() + 3, fLignesGrid->GetTop(),
                                       Facture_ExtraData_Panel->width(), fLignesGrid->GetHeight());
}
