#pragma once

#include <memory>
#include <string>

#include "IniManager.h"
#include "PrintSurfaces.h"

class TListOfPairOfStrings;

// The layout engine: reads a document template ("./Data/Modeles/*.ini") and
// draws one page of it, filled from a print job's data list, on the printer
// page or on one of the ten preview pages. It knows sections, item types,
// data keys and coordinates, nothing of invoices.
//
// Template coordinates are converted to printer pixels; the preview pages
// are drawn scaled once more from the printer page to the preview image.
class TDocumentManager {
public:
  TDocumentManager() = default;
  TDocumentManager(const TDocumentManager&) = delete;
  TDocumentManager& operator=(const TDocumentManager&) = delete;

  // The print window whose printer and preview pages are drawn on (not
  // owned; nullptr draws nothing).
  void SetView(TPrintView* view) { fView = view; }
  TPrintView* GetView() const { return fView; }

  // Draws the page numbered "Page Courante" in datas. False when the job
  // must be abandoned: no data list, a template whose page size is not
  // positive, an invalid colour, a picture that cannot be read, no printer
  // document open. A missing template is reported and leaves the page blank.
  bool BuildDoc(const std::string& fileName, TListOfPairOfStrings* datas, bool preview);

  // Draws one item, coordinates in printer pixels; alignment 0 left, 2
  // right, 6 centred. False only when a picture cannot be read or nothing
  // can be drawn on.
  bool Draw(const std::string& type, const std::string& text, int x1, int x2, int x3, int y1, int y2, int y3,
            int fontSize, int alignment, TColor color, bool preview, int page);

  // Template units to printer pixels: v x printer page size / page size of
  // the template, rounded to nearest with ties to even.
  int ToDeviceX(int v) const;
  int ToDeviceY(int v) const;

  // Opens the template: page sizes, and the two body limits when the
  // template has a body. A template that exists with a page size that is
  // not positive is refused (reported under the operation's name).
  bool OpenModele(const std::string& fileName, const std::string& operation);
  void CloseModele() { Modele.reset(); }
  // A key's value, or "" without any report when the key is absent.
  std::string GetOptional(const std::string& section, const std::string& key) const;

  std::unique_ptr<TIniManager> Modele;
  int PageSizeX = 0;
  int PageSizeY = 0;
  int LimitAvecPied = 0;
  int LimitSansPied = 0;

private:
  // What one item leaves to the next: body limit, footer flag, font size,
  // colour, alignment and text.
  struct TWorking {
    int Limit = 0;
    bool Footer = false;
    int FontSize = 10;
    TColor Color = 0;
    int Alignment = 6;
    std::string Text;
  };

  bool ReadLook(const std::string& section, TWorking& w);
  bool DrawBody(TListOfPairOfStrings& datas, bool preview, TWorking& w);
  bool DrawFamily(const std::string& family, bool logos, TListOfPairOfStrings& datas, bool preview, TWorking& w);
  int ReadX(const std::string& section, const std::string& key);
  int ReadOptionalX(const std::string& section, const std::string& key, int absent);

  TPrintView* fView = nullptr;
  int fPage = 0;
  // The printer page in pixels, taken when the template is opened.
  int fDeviceWidth = 0;
  int fDeviceHeight = 0;
};

// Rounds to the nearest integer, halves to the even neighbour, clamped to
// what drawing coordinates can hold.
int RoundHalfEven(double value);
