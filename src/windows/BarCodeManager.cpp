#include "BarCodeManager.h"

#include <utility>
#include <vector>

#include "Catalogue.h"
#include "FieldText.h"
#include "MyDatabase.h"
#include "StringManager.h"
#include "Trace.h"

namespace {

namespace Field = Catalogue::Field;
namespace Remote = Catalogue::RemoteBarcodes;

// A queued barcode must be longer than this to be merged.
constexpr std::size_t kShortestIgnored = 5;

bool HasFields(const TMyDatabase& table, std::initializer_list<const char*> names) {
  for (const char* name : names) {
    if (!table.FieldExists(name)) return false;
  }
  return true;
}

}  // namespace

TBarCodeManager::TBarCodeManager(TMyDatabase* articles, const std::string& barcodeTablePath)
    : fArticles(articles), fBarcodes(std::make_unique<TMyDatabase>(barcodeTablePath)), fPath(barcodeTablePath) {
  Merge();
}

TBarCodeManager::TBarCodeManager(TMyDatabase* articles, std::unique_ptr<TMyDatabase> barcodes)
    : fArticles(articles), fBarcodes(std::move(barcodes)) {
  if (fBarcodes) fPath = fBarcodes->GetFileName();
  Merge();
}

TBarCodeManager::~TBarCodeManager() = default;

void TBarCodeManager::Merge() {
  if (fArticles == nullptr || !fBarcodes) return;
  // A table without the fields the merge reads has nothing to merge (an
  // empty or foreign file); it would otherwise report once per entry.
  if (!HasFields(*fBarcodes, {Remote::Code, Remote::CodeBarre}) ||
      !HasFields(*fArticles, {Field::Code, Field::CodeBarre, Field::Designation})) {
    Warning("TBarCodeManager : champs Code / Code Barre absents, fusion ignoree : " + fPath);
    return;
  }
  const int queueCode = fBarcodes->GetFieldPos(Remote::Code);
  const int queueBarcode = fBarcodes->GetFieldPos(Remote::CodeBarre);
  const int articleBarcode = fArticles->GetFieldPos(Field::CodeBarre);
  const int articleDesignation = fArticles->GetFieldPos(Field::Designation);

  fBarcodes->QueryAll();
  std::vector<int> records;
  records.reserve(static_cast<std::size_t>(fBarcodes->QueryResultCount()));
  for (int i = 0; i < fBarcodes->QueryResultCount(); ++i) records.push_back(fBarcodes->QueryGetDataIndex(i));

  TStringManager& sm = StringManager();
  // The barcodes the articles had, to give back if the queue cannot be saved.
  std::vector<std::pair<int, std::string>> previous;
  std::vector<std::string> signals;
  std::vector<TQueueEntry> completed;
  for (int record : records) {
    const std::string code = fBarcodes->DBGetString(queueCode, record);
    const std::string queued = fBarcodes->DBGetString(queueBarcode, record);
    // What reaches the article never holds ";" or a line break (the queue's
    // reader turns a written "\n" into one).
    const std::string barcode = ReplaceFieldBreaks(queued);
    if (!sm.IsCIP(code) || barcode.size() <= kShortestIgnored) continue;
    try {
      fArticles->Query(Field::Code, code, Exact);
    } catch (const ERegExError&) {
      continue;
    }
    if (fArticles->QueryResultCount() != 1) continue;
    const int article = fArticles->QueryGetDataIndex(0);
    const std::string current = fArticles->DBGetString(articleBarcode, article);
    if (current != barcode) {
      previous.emplace_back(article, current);
      fArticles->SetData(articleBarcode, article, barcode);
      Trace("Code en cours : " + code);
      if (barcode != queued) {
        signals.push_back("Code barre de l'article " + code +
                          " : ';', retour a la ligne ou octet nul remplace par ','");
      }
    } else {
      completed.push_back({code, queued});
      Trace("Cycle complet réalisé pour :");
      Trace("  CIP : " + code);
      Trace("  Code Barre " + barcode);
      Trace("  Désignation : " + fArticles->DBGetString(articleDesignation, article));
    }
  }

  if (!completed.empty() && !RemoveFromQueue(completed)) {
    for (auto it = previous.rbegin(); it != previous.rend(); ++it) fArticles->SetData(articleBarcode, it->first, it->second);
    Warning("TBarCodeManager : table partagee non enregistree, articles laisses tels quels : " + fPath);
    return;
  }
  if (!previous.empty()) fArticles->Save();
  fCopied = static_cast<int>(previous.size());
  fCompleted = static_cast<int>(completed.size());
  fSignals = std::move(signals);
}

bool TBarCodeManager::RemoveFromQueue(const std::vector<TQueueEntry>& completed) {
  // The capture station may have queued more entries since the merge read
  // the queue: it is read again just before it is written, and only the
  // entries whose cycle completed leave it.
  auto queue = std::make_unique<TMyDatabase>(fPath);
  if (queue->LoadFailed() || !HasFields(*queue, {Remote::Code, Remote::CodeBarre})) return false;
  const int queueCode = queue->GetFieldPos(Remote::Code);
  const int queueBarcode = queue->GetFieldPos(Remote::CodeBarre);
  for (const TQueueEntry& entry : completed) {
    for (int record = 0; record < queue->RecordCount(); ++record) {
      if (!queue->IsDeleted(record) && queue->DBGetString(queueCode, record) == entry.Code &&
          queue->DBGetString(queueBarcode, record) == entry.Barcode) {
        queue->Delete(record);
        break;
      }
    }
  }
  if (!queue->Save()) return false;
  fBarcodes = std::move(queue);
  return true;
}
