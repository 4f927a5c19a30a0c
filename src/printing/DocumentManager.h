#pragma once

#include <string>
#include <vector>

#include "PrintSurfaces.h"

class TIniManager;
class TListOfPairOfStrings;

// The layout engine: reads a document template ("./Data/Modeles/*.ini") and
// draws one page of it, filled from a print job's data list, on the printer
// page or on one of the ten preview pages. It knows sections, item types,
// data keys and coordinates, nothing of invoices.
//
// A template is read once per document (OpenModele, which the pagination
// calls) and every page is drawn from what was read; template units are
// converted to printer pixels when a page is drawn, so that the paper chosen
// in the print dialog counts. The preview pages are drawn scaled once more
// from the printer page to the preview image.
class TDocumentManager {
public:
  // More items than any desk's template holds: such a file is refused
  // rather than laid out for minutes.
  static constexpr int kMaxItems = 2000;

  TDocumentManager() = default;
  TDocumentManager(const TDocumentManager&) = delete;
  TDocumentManager& operator=(const TDocumentManager&) = delete;

  // The print window whose printer and preview pages are drawn on (not
  // owned; nullptr draws nothing).
  void SetView(TPrintView* view) { fView = view; }
  TPrintView* GetView() const { return fView; }

  // Draws the page numbered "Page Courante" in datas. False when the job
  // must be abandoned: no data list, a template that cannot be read or laid
  // out, an invalid colour, a picture that cannot be read, no printer
  // document open. The template read by the last OpenModele of the same
  // file is used; otherwise it is read here.
  bool BuildDoc(const std::string& fileName, TListOfPairOfStrings* datas, bool preview);

  // Draws one item, coordinates in printer pixels; alignment 0 left, 2
  // right, 6 centred. An "Image" whose path is empty draws nothing. False
  // only when a picture cannot be read or nothing can be drawn on.
  bool Draw(const std::string& type, const std::string& text, int x1, int x2, int x3, int y1, int y2, int y3,
            int fontSize, int alignment, TColor color, bool preview, int page);

  // Template units to printer pixels: v x printer page size / page size of
  // the template, rounded to nearest with ties to even.
  int ToDeviceX(int v) const;
  int ToDeviceY(int v) const;

  // Reads the template and every item of it, reported under the operation's
  // name and refused (false) when the file is missing or cannot be read
  // (one report naming it), when its page size is not positive, when it
  // holds more than kMaxItems items or an invalid colour.
  bool OpenModele(const std::string& fileName, const std::string& operation);
  // Forgets the template read.
  void CloseModele();

  // The first body item of type "MultiData": its data code, its top and its
  // row pitch in template units. False when the body has none.
  struct TTable {
    std::string DataCode;
    int Y1 = 0;
    int VariationX = 0;
    int VariationY = 0;
  };
  bool Table(TTable& table) const;

  int PageSizeX = 0;
  int PageSizeY = 0;
  // The two body limits in printer pixels, for the page being drawn.
  int LimitAvecPied = 0;
  int LimitSansPied = 0;

private:
  // One item of the template as read: its texts and coordinates in template
  // units, what it sets of the working values.
  struct TItem {
    std::string Type;
    std::string Text;      // "Text"
    std::string DataCode;  // "Data", "MultiData"
    std::string Picture;   // "Image" of a logo: the data key of the path
    bool NamesPicture = false;
    bool SetsLook = false;
    int FontSize = 10;
    TColor Color = 0;
    int Alignment = 6;
    int X1 = 0, X2 = 0, Y1 = 0, Y2 = 0, X3 = 0, Y3 = 0;
    bool HasY2 = true, HasX3 = false, HasY3 = false;
  };
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

  bool ReadFamily(TIniManager& modele, const std::string& family, bool body, bool logos, std::vector<TItem>& items);
  bool DrawBody(TListOfPairOfStrings& datas, bool preview, TWorking& w);
  bool DrawFamily(const std::vector<TItem>& items, TListOfPairOfStrings& datas, bool preview, TWorking& w);
  void TakeDeviceSize();

  TPrintView* fView = nullptr;
  int fPage = 0;
  // The printer page in pixels, taken when the template is read and again
  // for each page drawn.
  int fDeviceWidth = 0;
  int fDeviceHeight = 0;

  // The template read, empty when none is.
  std::string fFileName;
  int fAvecPied = 0;
  int fSansPied = 0;
  bool fHasTable = false;
  TTable fTable;
  std::vector<TItem> fCorps, fPiedPage, fEntete, fLogo;
};

// Rounds to the nearest integer, halves to the even neighbour, clamped to
// what drawing coordinates can hold.
int RoundHalfEven(double value);
