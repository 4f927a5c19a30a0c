#include "RecordPanelFlow.h"

#include <QFrame>

#include "Desk.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "NamedWidgets.h"
#include "RecordList.h"
#include "StringManager.h"
#include "Trace.h"

namespace RecordPanelKinds {
const TRecordPanelKind Client{"Client_Panel", QRect(8, 72, 600, 350), &RecordKinds::Client,
                              "TQuorix_Form.AfficherFicheClient: duplicata(s) de fiche client detectes"};
const TRecordPanelKind Article{"Article_Panel", QRect(8, 72, 393, 273), &RecordKinds::Article,
                               "TQuorix_Form.AfficherFicheClient: trouve duplicata(s) de la fiche article"};
}  // namespace RecordPanelKinds

TRecordPanelFlow::TRecordPanelFlow(const TRecordPanelKind& kind, QWidget* parent, TDesk& desk, TRecordList& list)
    : fKind(kind), fDesk(desk), fList(list), fPanel(NewPanel(parent, kind.PanelName)) {
  fPanel->setGeometry(kind.Geometry);
  fPanel->hide();
}

TMyDatabase& TRecordPanelFlow::Table() const { return *fList.Table(); }

TMyStringGrid* TRecordPanelFlow::Checker() const { return fList.Grid(); }

bool TRecordPanelFlow::Open(std::string& loadedKey) {
  fDesk.SetActionButtons(false);
  fDesk.HideAll();
  TMyStringGrid* list = fList.Grid();
  loadedKey = list->GetCellByName(fKind.Record->KeyField, list->GetRow());
  TMyDatabase& table = Table();
  try {
    table.Query(fKind.Record->KeyField, loadedKey, Exact);
  } catch (const ERegExError& e) {
    ShowMessage(e.Message);
    return false;
  }
  if (table.QueryResultCount() >= 2) {
    Error(fKind.DuplicatesError);
    return false;
  }
  fPanel->setGeometry(fKind.Geometry);
  fPanel->show();
  return true;
}

void TRecordPanelFlow::SelectKey(const std::string& key) { fList.Select(key); }

void TRecordPanelFlow::Save(const TRecordToSave& record,
                            const std::function<TRecordSaveResult(const TRecordToSave&)>& save) {
  if (save(record) == TRecordSaveResult::Saved) fDesk.ShowList(fList.Id());
}

void TRecordPanelFlow::Cancel() { fDesk.ShowList(fList.Id()); }

void TRecordPanelFlow::Delete(const std::function<TRecordDeleteResult(const std::string& key)>& deletion) {
  if (deletion(fList.SelectedKey()) == TRecordDeleteResult::Refused) return;
  fDesk.ShowList(fList.Id());
}

void TRecordPanelFlow::Hide() { fPanel->hide(); }
