#pragma once

#include <string>
#include <utility>
#include <vector>

class TMyDatabase;

// What differs between the client and the article record when one is saved:
// the key field and the words of the reports of a refused save.
struct TRecordKind {
  const char* KeyField;
  // The operation the reports name, with its trailing ":".
  const char* SaveUnit;
  const char* CountError;
  const char* CreateError;
};

namespace RecordKinds {
extern const TRecordKind Client;
extern const TRecordKind Article;
}  // namespace RecordKinds

// A client or article as its panel holds it when it is saved.
struct TRecordToSave {
  const TRecordKind* Kind = nullptr;
  TMyDatabase* Table = nullptr;
  // The key the record was opened under (empty for a new record).
  std::string LoadedKey;
  // Field and value as shown, in the order they are written; the key field is
  // one of them.
  std::vector<std::pair<std::string, std::string>> Values;
  // One of the panel's edits is red.
  bool RedEdit = false;
};

enum class TRecordSaveResult {
  Saved,
  // "Veuillez corriger les champs en rouge": nothing was written.
  RedFields,
  // An error was reported; the record of the key it was opened under is as
  // it was.
  Failed
};

// The save of a client or article:
//   1. a red edit stops it;
//   2. the record of the key is found, or added; two records of the key stop
//      it;
//   3. the values are written on it;
//   4. a record saved under a new key then gives up the record of its old
//      key, so that it keeps one record;
//   5. the table is saved.
// The old record is given up only once the new one holds the values: a save
// refused at step 2 leaves a renamed record under its old key.
TRecordSaveResult SaveRecordSequence(const TRecordToSave& record);

// The client's save, then its membership of the distributor list: a checked
// box adds the client's code once, an unchecked one removes it.
TRecordSaveResult SaveClientSequence(const TRecordToSave& client, TMyDatabase& ubipharm, bool parUbipharm);

// Whether the distributor table lists the code.
bool IsParUbipharm(TMyDatabase& ubipharm, const std::string& code);

// The code of a new client: "0" followed by one more than the highest number
// the clients' codes carry after their first character (0124 after 0123,
// 01000 after 0999).
std::string NextClientCode(TMyDatabase& clients);

enum class TRecordDeleteResult {
  Deleted,
  // The client has invoices; the message said how many.
  Refused,
  // An error was reported and nothing was deleted.
  Failed
};

// Deletes the client of a code unless the invoice table names it ("La
// suppression de ce client est impossible, il est present dans 2 Factures").
// Quotes and credit notes do not hold a client back.
TRecordDeleteResult DeleteClientSequence(TMyDatabase& clients, TMyDatabase& factures, const std::string& code);

// Deletes the article of a code; the pieces that use it keep their lines.
TRecordDeleteResult DeleteArticleSequence(TMyDatabase& articles, const std::string& code);
