#pragma once

#include <memory>
#include <string>

#include "DocumentManager.h"
#include "PrintSurfaces.h"

class TListOfPairOfStrings;
class TMyStringGrid;

// The single entry point for printing: prints or previews a template
// document filled from a data list, and prints any grid as a ruled table.
// One instance for the whole program, created by the main window; the print
// window attaches itself as the view (printer, dialog, preview pages).
class TPrintManager {
public:
  // Creating an instance makes it the process-wide one.
  TPrintManager();
  ~TPrintManager();
  TPrintManager(const TPrintManager&) = delete;
  TPrintManager& operator=(const TPrintManager&) = delete;

  // Copies of the next document print; back to 1 after every completed,
  // cancelled or refused print.
  int NbCopies = 1;
  // The next document print goes to the current printer without the
  // dialog, which must then be a letterhead printer; false after every
  // print attempt.
  bool AutoPrint = false;
  std::unique_ptr<TDocumentManager> DocumentManager;

  void SetView(TPrintView* view);
  TPrintView* GetView() const { return fView; }

  // Counts the rows of the document's table and works out the pages,
  // writing the results into datas ("nbTotPages", "nbBigPages", ...). False,
  // with a message, when the template cannot be laid out (page size or row
  // pitch that leaves no row on a page).
  bool PreparePages(const std::string& fileName, TListOfPairOfStrings* datas);
  // Prints the document, or draws its first ten pages on the preview pages
  // and shows the print window.
  void PrintDoc(const std::string& fileName, TListOfPairOfStrings* datas, bool preview);
  // Prints every row and column of the grid as a ruled table under the
  // title, with page numbers.
  void PrintGrid(TMyStringGrid* grid, const std::string& title);

private:
  void PrintDocument(const std::string& fileName, TListOfPairOfStrings& datas);
  void PreviewDocument(const std::string& fileName, TListOfPairOfStrings& datas);
  void GridPageHeader(TDrawingSurface& canvas, int width, int height, const std::string& title, int page,
                      const TPrintFont& gridFont);

  TPrintView* fView = nullptr;
};

// The process-wide print manager; nullptr when none exists.
TPrintManager* GetPrintManager();
