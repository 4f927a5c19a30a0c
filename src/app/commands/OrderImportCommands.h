#pragma once

#include <QObject>

#include <string>

class QTimer;
class QToolButton;
class TDesk;
class TDeskTables;
class TPieceEditor;
class TRecordLists;

// The order import of the main window: `Importations_Timer` watches the
// waiting folder and enables "Importer" while an order waits and the invoice
// or quote list is shown; "Importer" (button and "Fonctions" menu) turns the
// first waiting order into a new piece in the editor, "Importer Depuis
// Fichier" a piece line table chosen with the open-file dialog. The new
// piece stays in the editor unsaved. The reading of the orders is
// OrderImport (exchange layer).
class TOrderImportCommands : public QObject {
public:
  // Polling period of the waiting folder.
  static constexpr int kTimerInterval = 5000;

  // The polling timer belongs to the owner (the window).
  TOrderImportCommands(QObject* owner, QToolButton* importer, TDesk& desk, TDeskTables& tables, TRecordLists& lists,
                       TPieceEditor& editor);
  TOrderImportCommands(const TOrderImportCommands&) = delete;
  TOrderImportCommands& operator=(const TOrderImportCommands&) = delete;

  void Importations_TimerTimer();
  void Importer_BitBtnClick();
  void Importer1Click();
  void ImporterDepuisFichier1Click();
  // Imports the first waiting order into a new invoice (invoice list shown)
  // or quote (quote list shown); nothing when neither list is shown or no
  // order waits.
  void ImporterCommande();
  // Makes a new piece of the lines of the table file folder + "/" + name;
  // its kind is the one its name begins with ("FA", "DE", "AV"), else the
  // kind of the piece list shown. The file stays where it is. Also the
  // history window's restore.
  void ImporterPiece(const std::string& folder, const std::string& name);
  // Stops the polling (the window is closing).
  void Stop();

  QTimer* Importations_Timer;

private:
  bool PieceListShown(bool withCreditNotes) const;
  void FinishImport();

  QToolButton* fImporter;
  TDesk& fDesk;
  TDeskTables& fTables;
  TRecordLists& fLists;
  TPieceEditor& fEditor;
};
