#pragma once

#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Desk.h"
#include "DeskTables.h"
#include "RecordLists.h"

class QAction;
class QFrame;
class QLineEdit;
class QMenu;
class QToolButton;
class QWidget;
class TArticlePanel;
class TBarCodeManager;
class TChrono;
class TClientPanel;
class TCommandeAlliance_Form;
class TCourierPanel;
class TCltStatsSocket;
class TDebug_Manager;
class THistorique_Form;
class TMyDatabase;
class TMyStringGrid;
class TOrderImportCommands;
class TPieceCommands;
class TPieceEditor;
class TPrintManager;
class TSearchResults;
class TSplashLaunch_Form;
class TSplitPanel;
class TStatsDisplay;
class TStatsRequests;
class TStringManager;

// The main window: the button bar, the menu, the search edit, and the hub of
// the desk tables, the five record lists and the panels. It owns the shared
// services and the nine main tables from its creation to its close; creating
// it runs the whole loading sequence. The panels reach it only through the
// desk interface.
class TQuorix_Form : public QMainWindow, public TDesk {
public:
  // The splash window reports the loading progress and is destroyed at the
  // end of the loading; it may be null (nothing is then shown).
  explicit TQuorix_Form(std::unique_ptr<TSplashLaunch_Form> splash);
  ~TQuorix_Form() override;

  // Loading sequence, close sequence and resize layout of the window.
  void FormCreate();
  void FormClose();
  void FormResize();

  // The desk: what the panels ask of the window.
  void ShowList(TListId list) override;
  void ShowCurrentPieceList() override;
  void ShowPieceList(const TPieceKind& kind) override;
  void OpenPiece(const std::string& kind, const std::string& number) override;
  void HideAll() override;
  void SetActionButtons(bool enabled) override;

  // The record lists.
  void InitGrids();
  void ShowClients();
  void ShowArticles();
  void ShowFactures();
  void ShowDevis();
  void ShowAvoirs();
  void Creer_BitBtnClick();
  // Deletes the current row's record of the visible list, through the code of
  // that kind of record.
  void Supprimer_BitBtnClick();
  void Liste_Clients_StringGridDblClick();
  void Liste_Clients_StringGridKeyPress(char& key);
  void Liste_Articles_StringGridDblClick();
  void Liste_Articles_StringGridKeyPress(char& key);
  void Liste_Factures_StringGridDblClick();
  void Liste_Factures_StringGridKeyPress(char& key);
  void Liste_Devis_StringGridDblClick();
  void Liste_Devis_StringGridKeyPress(char& key);
  void Liste_Avoirs_StringGridDblClick();
  void Liste_Avoirs_StringGridKeyPress(char& key);

  // Opening a record from its list: the record panels and the piece editor.
  void AfficherFicheClient();
  void AfficherFicheArticle();
  void AfficherClientCode(const std::string& code);
  void AfficherArticleCode(const std::string& code);
  void AfficherPiece(const std::string& kind);
  void AfficherPieceNumero(const std::string& kind, const std::string& number);
  // Shows or hides the courier panel of the piece editor (CourierPanel.*).
  void AfficherChronopost(bool visible);
  // The invoice split (SplitPanel.*): its controls, and "Fonctions" >
  // "Scinder" on the invoice selected in the invoice list.
  void ShowScinderControls(bool visible);
  void Scinder1Click();

  // Whether the preparation the event loop does when idle after start-up
  // (PrepareWhenIdle) has nothing left to do.
  bool IdlePreparationDone() const { return fIdleDone; }

  // The nine main tables and the invoice number base, and the five lists.
  TDeskTables& Tables() { return fTables; }
  TRecordLists& Lists() { return *fLists; }

  // The panels, the commands and the side windows, built with the design.
  TPieceEditor& PieceEditor() { return *fPieceEditor; }
  TSearchResults& SearchResults() { return *fSearch; }
  TClientPanel& ClientPanel() { return *fClientPanel; }
  TArticlePanel& ArticlePanel() { return *fArticlePanel; }
  TSplitPanel& SplitPanel() { return *fSplitPanel; }
  TCourierPanel& CourierPanel() { return *fCourierPanel; }
  TPieceCommands& PieceCommands() { return *fPieceCommands; }
  TOrderImportCommands& OrderImport() { return *fOrderImport; }
  THistorique_Form& Historique() { return *fHistorique; }
  TCommandeAlliance_Form& CommandeAlliance() { return *fCommandeAlliance; }

  // Where the editor sends its questions to the statistics server.
  void SetStatsRequests(std::unique_ptr<TStatsRequests> requests);
  // The statistics server connection, opened at the end of the loading and
  // closed at close (null outside that time). The piece editor sends its
  // requests through it: DemanderInfosClient (client code) when a client code
  // is entered, DemanderStatsArticles (the search grid's "Code" column)
  // after an article lookup. The answers reach StatsDisplay().
  TCltStatsSocket* StatsSocket() const { return fCltStatsSocket.get(); }
  TStatsDisplay& StatsDisplay() { return *fStatsDisplay; }
  // The barcode merge, made by the loading when the shared barcode table
  // exists (null otherwise); it has nothing more to do afterwards.
  TBarCodeManager* BarCodeManager() const { return fBarCodeManager.get(); }
  // The shared barcode table when the server share is mounted, else empty.
  const std::string& RemoteBarcodeTable() const { return fRemoteBarcodeTable; }

  void Apropos1Click();

  // The side windows, created hidden after the main window and shown from
  // the menu: "Historique" (Fonctions) and "Commande Alliance" (Impression).
  void Historique1Click();
  void CommandeAlliance1Click();

  // The print commands (QuorixFormPrint.cpp). kind 0 prints the piece
  // itself, 1 its order form, 2 its preparation sheet; the article and client
  // lists print their record sheet, the search results their grid.
  void ImprimerOuApercu(bool preview, bool letterhead, int kind);
  // The automatic print of one invoice, as the invoice split and the courier
  // hand-off ask for it: the invoice list is shown with that invoice
  // selected, then the piece is printed without dialog in that many copies
  // on the current printer, which must be a letterhead printer ("Entete" in
  // its name; otherwise "auto print sur feuille blanche" and nothing
  // printed). False, with nothing printed and the print manager's copies and
  // automatic mode untouched, when the invoice is not in the list.
  bool AutoPrintFacture(const std::string& number, int copies);
  void Imprimer_BitBtnClick();
  void BonDePreparation_BitBtnClick();
  void ImprimeravecEntete1Click();
  void ImprimerCommande1Click();
  void ImprimerApercuClick();

  // Called once the window has been closed (the program then ends).
  std::function<void()> OnClosed;

protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

private:
  void BuildDesign();
  void BuildButtonBar();
  void BuildMenu();
  // The panels and commands on the window, and what they tell each other.
  void BuildPanels(QWidget* client);
  void ConnectPanels();
  void ConnectCommands();
  void ConnectPrintCommands();
  void ConnectStatsServer();
  void CreateSideWindows();
  // Hides the side windows and takes back the tables they were given.
  void ReleaseSideWindows();
  void Progress(int value);
  void PrepareWhenIdle(int delayMs = 0);
  // One slice of the search grid's rows reserved; false when they all are.
  bool ReserveSearchRows();
  void CreateGrids();
  void PlaceListGrid(TMyStringGrid* grid);
  void PlacePiecePanel();
  void PlacePieceLines();
  // The handlers of the lists' platform grids.
  void ConnectLists();
  void OpenFromList(TListId list);
  void OpenOnEnter(char& key, void (TQuorix_Form::*open)());
  int ClientWidth() const;
  int ClientHeight() const;

  // Design controls (object names are the component names).
  QFrame* Menu_Panel;
  QToolButton* Imprimer_BitBtn;
  QToolButton* Client_BitBtn;
  QToolButton* Articles_BitBtn;
  QToolButton* Factures_BitBtn;
  QToolButton* Devis_BitBtn;
  QToolButton* Creer_BitBtn;
  QToolButton* Dupliquer_BitBtn;
  QToolButton* Supprimer_BitBtn;
  QToolButton* BonDePreparation_BitBtn;
  QToolButton* Avoir_BitBtn;
  QToolButton* Importer_BitBtn;
  QLineEdit* Recherche_Edit;
  QToolButton* Recherche_BitBtn;

  // Main menu.
  QMenu* Fonctions_Menu;
  QMenu* Impression_Menu;
  QMenu* Aide_Menu;
  QAction* Importer1;
  QAction* ImporterDepuisFichier1;
  QAction* DevisFacture1;
  QAction* FactureDevis1;
  QAction* Scinder1;
  QAction* Historique1;
  QAction* Nettoyer1;
  QAction* ImprimeravecEntete1;
  QAction* ImprimerCommande1;
  QAction* CommandeAlliance1;
  QAction* ImprimerApercu;
  QAction* Apropos1;

  std::unique_ptr<TSplashLaunch_Form> fSplash;
  bool fClosed = false;
  bool fIdleDone = false;
  int fSearchRowsReserved = 0;
  // The room being taken: for how many rows, the columns done, and the rows
  // of the next column touched so far.
  int fSearchRowsWanted = 0;
  int fSearchColsReserved = 0;
  int fSearchRowsTouched = 0;
  // True from the creation of the grids on; the resize layout waits for it.
  bool fGridsCreated = false;
  std::string fRemoteBarcodeTable;
  // Commands of the button bar that this version provides.
  std::vector<QToolButton*> fAvailableActions;

  std::unique_ptr<TStringManager> fStringManager;
  std::unique_ptr<TPrintManager> fPrintManager;
  std::unique_ptr<TDebug_Manager> fDebugManager;
  std::unique_ptr<TChrono> fChrono;

  TDeskTables fTables;
  std::unique_ptr<TRecordLists> fLists;
  std::unique_ptr<THistorique_Form> fHistorique;
  std::unique_ptr<TCommandeAlliance_Form> fCommandeAlliance;
  // Members go in the reverse order: the connection before the panels it
  // shows its answers on, the panels and commands before the lists they
  // were given.
  std::unique_ptr<TPieceEditor> fPieceEditor;
  std::unique_ptr<TSearchResults> fSearch;
  std::unique_ptr<TClientPanel> fClientPanel;
  std::unique_ptr<TArticlePanel> fArticlePanel;
  std::unique_ptr<TSplitPanel> fSplitPanel;
  std::unique_ptr<TCourierPanel> fCourierPanel;
  std::unique_ptr<TPieceCommands> fPieceCommands;
  std::unique_ptr<TOrderImportCommands> fOrderImport;
  std::unique_ptr<TStatsDisplay> fStatsDisplay;
  std::unique_ptr<TCltStatsSocket> fCltStatsSocket;
  std::unique_ptr<TBarCodeManager> fBarCodeManager;
};
