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

  // Pages above which a print asks before it starts.
  static constexpr int kAskAbovePages = 200;
  // The folder of the working folder where prints to a PDF file go.
  static constexpr const char* kPdfFolder = "PDF";

  // Copies of the next document print; back to 1 after every completed,
  // cancelled or refused print.
  int NbCopies = 1;
  // The next document print goes without the dialog to the letterhead
  // printer (the one whose name holds "Entete"), chosen by its name whatever
  // the last print selected; false after every print attempt.
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
  // and shows the print window. pdfName is what a print to a PDF file is
  // named after (the piece number, the record's code); "" names it after the
  // document's title. A document of more than kAskAbovePages pages to print
  // is printed only if the user says so.
  void PrintDoc(const std::string& fileName, TListOfPairOfStrings* datas, bool preview,
                const std::string& pdfName = "");
  // Prints every row and column of the grid as a ruled table under the
  // title, with page numbers: on every page the rows start below the title
  // and end above the page number. A PDF file is named after the title.
  void PrintGrid(TMyStringGrid* grid, const std::string& title);

  // "PDF/" + the name made fit for a file name + ".pdf".
  static std::string PdfFileName(const std::string& name);

private:
  void PrintDocument(const std::string& fileName, TListOfPairOfStrings& datas, const std::string& pdfName);
  void PreviewDocument(const std::string& fileName, TListOfPairOfStrings& datas);
  void GridPageHeader(TDrawingSurface& canvas, int width, int height, const std::string& title, int page,
                      const TPrintFont& gridFont);

  TPrintView* fView = nullptr;
};

// The process-wide print manager; nullptr when none exists.
TPrintManager* GetPrintManager();
