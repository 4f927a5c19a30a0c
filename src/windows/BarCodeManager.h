#pragma once

#include <memory>
#include <string>

class TMyDatabase;

// Barcodes captured on another workstation wait in a shared barcode table on
// the server share ("Code", "Code Barre"). At every start the queue is
// merged into the articles: a barcode the article does not carry yet is
// written into it, and a queued barcode the article already carries leaves
// the queue, which completes its cycle (an assignment takes two starts).
// The merge runs once, in the constructor; progress goes to the trace only.
//
// The queue and the articles change together: when the shared table cannot
// be written, the articles get back the barcodes they had and neither file
// is written, so the next start finds everything as it was.
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

private:
  void Merge();

  TMyDatabase* fArticles;
  std::unique_ptr<TMyDatabase> fBarcodes;
  std::string fPath;
  int fCopied = 0;
  int fCompleted = 0;
};
