#pragma once

#include <QRect>

#include <functional>
#include <string>

#include "ListDescriptors.h"
#include "RecordSave.h"

class QFrame;
class QWidget;
class TDesk;
class TMyDatabase;
class TMyStringGrid;
class TRecordList;

// What differs between the client and the article panels' flow.
struct TRecordPanelKind {
  // The panel's object name and its place when it opens.
  const char* PanelName;
  QRect Geometry;
  // The key field and the reports of a refused save.
  const TRecordKind* Record;
  // What is reported when the list's key has several records.
  const char* DuplicatesError;
};

namespace RecordPanelKinds {
extern const TRecordPanelKind Client;
extern const TRecordPanelKind Article;
}  // namespace RecordPanelKinds

// The flow the client and article panels share: the panel, hidden until a
// record of its list opens; the record of the list's selected row looked up
// (or the row of a key chosen first); the list shown again after a save, a
// cancel or a deletion.
class TRecordPanelFlow {
public:
  TRecordPanelFlow(const TRecordPanelKind& kind, QWidget* parent, TDesk& desk, TRecordList& list);

  QFrame* Panel() const { return fPanel; }
  TRecordList& List() const { return fList; }
  TMyDatabase& Table() const;
  // The list's grid, whose cell types check the panel's edits.
  TMyStringGrid* Checker() const;

  // Hides the lists, takes the selected row's key and looks its record up;
  // the panel is then shown. False, with the panel not shown, when the key
  // is no valid pattern or names several records (reported); otherwise the
  // table's query result holds the record, or nothing for a new one.
  bool Open(std::string& loadedKey);
  // Selects the first row of the list with that key (none: the row stays).
  void SelectKey(const std::string& key);
  // The record saved as the panel holds it, through the given save; the list
  // is shown again when it was saved.
  void Save(const TRecordToSave& record, const std::function<TRecordSaveResult(const TRecordToSave&)>& save);
  void Cancel();
  // The record of the list's selected row deleted through the given
  // deletion; the list is shown again unless it was refused.
  void Delete(const std::function<TRecordDeleteResult(const std::string& key)>& deletion);
  void Hide();

private:
  const TRecordPanelKind& fKind;
  TDesk& fDesk;
  TRecordList& fList;
  QFrame* fPanel;
};
