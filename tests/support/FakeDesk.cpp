#include "FakeDesk.h"

#include <QApplication>

#include "MyStringGrid.h"
#include "PieceEditor.h"
#include "QtGridSurface.h"

TFakeDesk::TFakeDesk() : fWindow(std::make_unique<QWidget>()) {
  fWindow->setObjectName("FakeDesk");
  fWindow->resize(1280, 800);
  fTables.Load();
  fLists = std::make_unique<TRecordLists>(fTables, fWindow.get());
  for (const auto& list : fLists->All()) {
    const TListId id = list->Id();
    list->Surface()->Events.OnDblClick = [this, id] {
      if (fOpeners[id]) fOpeners[id]();
    };
    list->Surface()->Events.OnKeyPress = [this, id](char& key) {
      if (key != 13) return;
      key = 0;
      if (fOpeners[id]) fOpeners[id]();
    };
  }
}

TFakeDesk::~TFakeDesk() {
  fLists->ReleaseGrids();
  fLists.reset();
}

void TFakeDesk::SetOpener(TListId list, std::function<void()> open) { fOpeners[list] = std::move(open); }

void TFakeDesk::Start() {
  fLists->CreateGrids();
  for (const auto& list : fLists->All()) {
    list->Grid()->SetLeft(8);
    list->Grid()->SetTop(70);
    list->Grid()->SetWidth(817);
    list->Grid()->SetHeight(493);
    list->Init();
  }
  fLists->ReadPositions();
  for (const auto& list : fLists->All()) InstallColumnColorRules(list->Grid(), list->Descriptor().ColorRules());
  fWindow->show();
  fWindow->activateWindow();
  QApplication::setActiveWindow(fWindow.get());
  QApplication::processEvents();
}

void TFakeDesk::Creer() {
  TRecordList* list = fLists->Visible();
  if (list == nullptr) return;
  list->AddEmptyRow();
  if (fOpeners[list->Id()]) fOpeners[list->Id()]();
}

void TFakeDesk::ShowList(TListId id) {
  Calls.push_back("ShowList " + std::string(ListDescriptor(id).SurfaceName));
  TRecordList& list = fLists->Of(id);
  list.TakeRowBeforeShow();
  HideAll();
  SetActionButtons(true);
  list.Show();
  if (list.Kind() != nullptr && fEditor != nullptr) fEditor->SetCurrentListKind(list.Kind()->Kind());
}

void TFakeDesk::ShowCurrentPieceList() {
  Calls.push_back("ShowCurrentPieceList");
  const TPieceKind* kind = fEditor != nullptr ? PieceKinds::Find(fEditor->CurrentListKind()) : nullptr;
  ShowList(fLists->Of(kind != nullptr ? *kind : PieceKinds::Facture).Id());
}

void TFakeDesk::ShowPieceList(const TPieceKind& kind) {
  if (fEditor != nullptr) fEditor->SetCurrentListKind(kind.Kind());
  ShowCurrentPieceList();
}

void TFakeDesk::OpenPiece(const std::string& kind, const std::string& number) {
  Calls.push_back("OpenPiece " + kind + " " + number);
  if (fEditor != nullptr) fEditor->AfficherPieceNumero(kind, number);
}

void TFakeDesk::HideAll() {
  Calls.push_back("HideAll");
  fLists->HideAll();
  if (fEditor != nullptr && fEditor->Lines() != nullptr) fEditor->Lines()->SetVisible(false);
  for (const auto& hide : fHiders) hide();
  if (fEditor != nullptr) fEditor->Hide();
}

void TFakeDesk::SetActionButtons(bool enabled) {
  Calls.push_back(enabled ? "SetActionButtons on" : "SetActionButtons off");
  ActionButtons = enabled;
}
