#pragma once

#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Desk.h"
#include "DeskTables.h"
#include "RecordLists.h"

class TPieceEditor;

// A small desk for the panels' tests, in place of the main window: the nine
// tables of ./Data, the five record lists on a plain window, and what a panel
// asks of the desk done on them as the window does it, each request also
// written down in Calls. The panels under test are built on Window() and
// added, so that hiding everything hides them and a chosen row opens them.
class TFakeDesk : public TDesk {
public:
  // Loads the tables and makes the lists, hidden.
  TFakeDesk();
  ~TFakeDesk() override;
  TFakeDesk(const TFakeDesk&) = delete;
  TFakeDesk& operator=(const TFakeDesk&) = delete;

  QWidget* Window() const { return fWindow.get(); }
  TDeskTables& Tables() { return fTables; }
  TRecordLists& Lists() const { return *fLists; }

  // A panel hidden with everything else; what Enter, a double click and
  // "Créer" open on a list; the piece editor, whose current kind a shown
  // piece list sets and where OpenPiece opens.
  void AddPanel(std::function<void()> hide) { fHiders.push_back(std::move(hide)); }
  void SetOpener(TListId list, std::function<void()> open);
  void SetEditor(TPieceEditor* editor) { fEditor = editor; }
  // Once the panels are built: the lists' grids made and laid out as the
  // window does at start-up, the positions read, the window shown at
  // 1280 x 800 and active.
  void Start();
  // "Créer" on the list on screen: an empty row added and opened.
  void Creer();

  void ShowList(TListId list) override;
  void ShowCurrentPieceList() override;
  void ShowPieceList(const TPieceKind& kind) override;
  void OpenPiece(const std::string& kind, const std::string& number) override;
  void HideAll() override;
  void SetActionButtons(bool enabled) override;

  // The list commands' state as SetActionButtons left it.
  bool ActionButtons = true;
  std::vector<std::string> Calls;

private:
  std::unique_ptr<QWidget> fWindow;
  TDeskTables fTables;
  std::unique_ptr<TRecordLists> fLists;
  std::vector<std::function<void()>> fHiders;
  std::function<void()> fOpeners[kListCount];
  TPieceEditor* fEditor = nullptr;
};
