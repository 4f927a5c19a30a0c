#include "RecordSave.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "Catalogue.h"
#include "MyDatabase.h"
#include "StringManager.h"
#include "Trace.h"

namespace {

constexpr const char* kRedFields = "Veuillez corriger les champs en rouge";

std::string KeyOf(const TRecordToSave& record) {
  for (const auto& [field, value] : record.Values) {
    if (field == record.Kind->KeyField) return value;
  }
  return std::string();
}

bool SaveTable(TMyDatabase& table, const char* unit) {
  if (table.Save()) return true;
  Error(std::string(unit) + "Ecriture impossible de " + table.GetFileName());
  return false;
}

TRecordSaveResult SaveChecked(const TRecordToSave& r) {
  TMyDatabase& table = *r.Table;
  const TRecordKind& kind = *r.Kind;
  const std::string key = KeyOf(r);
  const std::string unit = kind.SaveUnit;

  // The record of the old key, when the record is saved under a new one. A
  // new record has no old one: an empty key names nothing.
  int old = -1;
  if (!r.LoadedKey.empty() && r.LoadedKey != key) {
    table.Query(kind.KeyField, r.LoadedKey, Exact);
    if (table.QueryResultCount() == 1) old = table.QueryGetDataIndex(0);
  }

  table.Query(kind.KeyField, key, Exact);
  if (table.QueryResultCount() >= 2) {
    Error(unit + kind.CountError);
    return TRecordSaveResult::Failed;
  }
  if (table.QueryResultCount() == 0) {
    const int added = table.AddRecord();
    // The fields the panel does not show (the client's contact) go with the
    // record to its new key.
    if (old >= 0) table.CopyRecord(old, added);
    table.SetData(kind.KeyField, added, key);
    table.Query(kind.KeyField, key, Exact);
    if (table.QueryResultCount() == 0) {
      // The empty record would be written at the next save of the table.
      if (added >= 0 && added < table.RecordCount()) table.Delete(added);
      Error(unit + kind.CreateError);
      return TRecordSaveResult::Failed;
    }
  }
  const int record = table.QueryGetDataIndex(0);
  for (const auto& [field, value] : r.Values) table.SetData(field, record, value);

  // Only now that the new key holds the record is the old one given up.
  if (old >= 0 && old != record) table.Delete(old);
  return SaveTable(table, kind.SaveUnit) ? TRecordSaveResult::Saved : TRecordSaveResult::Failed;
}

}  // namespace

namespace RecordKinds {
const TRecordKind Client{Catalogue::Clients::Code, "TQuorix_Form.ClientEnregistrer_ButtonClick:",
                         "Nombre de clients non conforme", "Probleme a la creation nouveau client"};
const TRecordKind Article{Catalogue::Articles::Code, "TQuorix_Form.ArticleEnregistrer_ButtonClick:",
                          "Nombre d'articles non conforme", "Probleme a la creation nouvel article"};
}  // namespace RecordKinds

TRecordSaveResult SaveRecordSequence(const TRecordToSave& record) {
  if (record.Kind == nullptr || record.Table == nullptr) {
    Error("SaveRecordSequence: fiche sans table");
    return TRecordSaveResult::Failed;
  }
  if (record.RedEdit) {
    ShowMessage(kRedFields);
    return TRecordSaveResult::RedFields;
  }
  try {
    return SaveChecked(record);
  } catch (const ERegExError& e) {
    // A key typed with pattern characters cannot be looked for; nothing has
    // been written.
    ShowMessage(e.Message);
    return TRecordSaveResult::Failed;
  }
}

TRecordSaveResult SaveClientSequence(const TRecordToSave& client, TMyDatabase& ubipharm, bool parUbipharm) {
  const TRecordSaveResult result = SaveRecordSequence(client);
  if (result != TRecordSaveResult::Saved) return result;
  const std::string code = KeyOf(client);
  const char* field = Catalogue::Ubipharm::Code;
  try {
    ubipharm.Query(field, code, Exact);
  } catch (const ERegExError& e) {
    ShowMessage(e.Message);
    return TRecordSaveResult::Failed;
  }
  const int count = ubipharm.QueryResultCount();
  if (count == 0 && parUbipharm) {
    const int added = ubipharm.AddRecord();
    ubipharm.SetData(field, added, code);
  } else if (count > 0 && !parUbipharm) {
    // Every record of the code goes, or the client would still be listed.
    std::vector<int> records;
    for (int i = 0; i < count; ++i) records.push_back(ubipharm.QueryGetDataIndex(i));
    for (const int record : records) ubipharm.Delete(record);
  }
  return SaveTable(ubipharm, client.Kind->SaveUnit) ? TRecordSaveResult::Saved : TRecordSaveResult::Failed;
}

bool IsParUbipharm(TMyDatabase& ubipharm, const std::string& code) {
  try {
    ubipharm.Query(Catalogue::Ubipharm::Code, code, Exact);
  } catch (const ERegExError& e) {
    // A code with pattern characters is no distributor's; one whose search
    // stopped on a limit is not known to be, and the user is told.
    ShowIfLimitReached(e);
    return false;
  }
  return ubipharm.QueryResultCount() > 0;
}

std::string NextClientCode(TMyDatabase& clients) {
  clients.QueryAll();
  std::int64_t highest = 0;
  for (int i = 0; i < clients.QueryResultCount(); ++i) {
    const std::string code = clients.GetQueryResultString(Catalogue::Clients::Code, i);
    // The number is what follows the first character; leading zeros are
    // part of the layout, not of the number (0012 carries 12).
    if (code.size() < 2 || code.size() > 18) continue;
    const std::string digits = code.substr(1);
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) continue;
    highest = std::max<std::int64_t>(highest, std::stoll(digits));
  }
  // Four characters up to 0999; a longer number simply makes the code longer.
  char text[32];
  std::snprintf(text, sizeof text, "0%03lld", static_cast<long long>(highest + 1));
  return text;
}

TRecordDeleteResult DeleteClientSequence(TMyDatabase& clients, TMyDatabase& factures, const std::string& code) {
  try {
    factures.Query(Catalogue::Factures::CodeClient, code, Exact);
    const int invoices = factures.QueryResultCount();
    if (invoices > 0) {
      ShowMessage("La suppression de ce client est impossible, il est present dans " + IntToStr(invoices) +
                  " Factures");
      return TRecordDeleteResult::Refused;
    }
    clients.Query(Catalogue::Clients::Code, code, Exact);
  } catch (const ERegExError& e) {
    ShowMessage(e.Message);
    return TRecordDeleteResult::Failed;
  }
  // A row whose code has no record: the table reports the missing result and
  // the deletion it refuses, and nothing is deleted.
  const int record = clients.QueryGetDataIndex(0);
  clients.Delete(record);
  if (record < 0) return TRecordDeleteResult::Failed;
  return SaveTable(clients, "TQuorix_Form.Supprimer_BitBtnClick:") ? TRecordDeleteResult::Deleted
                                                                    : TRecordDeleteResult::Failed;
}

TRecordDeleteResult DeleteArticleSequence(TMyDatabase& articles, const std::string& code) {
  try {
    articles.Query(Catalogue::Articles::Code, code, Exact);
  } catch (const ERegExError& e) {
    ShowMessage(e.Message);
    return TRecordDeleteResult::Failed;
  }
  // A row whose code has no record: the table reports the missing result and
  // the deletion it refuses, and nothing is deleted.
  const int record = articles.QueryGetDataIndex(0);
  articles.Delete(record);
  if (record < 0) return TRecordDeleteResult::Failed;
  return SaveTable(articles, "TQuorix_Form.Supprimer_BitBtnClick:") ? TRecordDeleteResult::Deleted
                                                                     : TRecordDeleteResult::Failed;
}
