#pragma once

#include <memory>
#include <string>
#include <vector>

class TMyDatabase;

// Barcodes captured on another workstation wait in a shared barcode table on
// the server share ("Code", "Code Barre"). At every start the queue is
// merged into the articles: a barcode the article does not carry yet is
// written into it, and a queued barcode the article already carries leaves
// the queue, which completes its cycle (an assignment takes two starts).
// The merge runs once, in the constructor; progress goes to the trace only.
//
// The queue is written only when an entry leaves it, and then read again
// just before, so that an entry the capture station added meanwhile stays.
// The queue and the articles change together: when the shared table cannot
// be written, the articles get back the barcodes they had and neither file
// is written, so the next start finds everything as it was. A queued
// barcode holding ";", a line break or a NUL reaches the article with ","
// in their place, and says so (Signals).
class TBarCodeManager {
public:
  // Merges the barcode table read from its file into the articles (shared,
  // not owned).
  TBarCodeManager(TMyDatabase* articles, const std::string& barcodeTablePath);
  // The same over a barcode table already read; it is written to its own
  // file name.
  TBarCodeManager(TMyDatabase* articles, std::unique_ptr<TMyDatabase> barcodes);
  ~TBarCodeManager();
  TBarCodeManager(const TBarCodeManager&) = delete;
  TBarCodeManager& operator=(const TBarCodeManager&) = delete;

  TMyDatabase* GetBarcodeTable() const { return fBarcodes.get(); }
  const std::string& GetPath() const { return fPath; }
  // Articles given a new barcode and queue entries completed by the merge
  // (both 0 when the merge could not be saved).
  int Copied() const { return fCopied; }
  int Completed() const { return fCompleted; }
  // One line per article whose new barcode had characters replaced, for the
  // signal panel.
  const std::vector<std::string>& Signals() const { return fSignals; }

private:
  struct TQueueEntry {
    std::string Code;
    std::string Barcode;
  };
  void Merge();
  // Deletes the entries from the queue as it is on disk now and writes it;
  // false when it could not be read or written (nothing written then).
  bool RemoveFromQueue(const std::vector<TQueueEntry>& completed);

  TMyDatabase* fArticles;
  std::unique_ptr<TMyDatabase> fBarcodes;
  std::string fPath;
  int fCopied = 0;
  int fCompleted = 0;
  std::vector<std::string> fSignals;
};
