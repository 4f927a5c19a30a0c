#include "DocumentManager.h"

#include <algorithm>
#include <cmath>

#include "ColorNames.h"
#include "FileUtils.h"
#include "IniManager.h"
#include "ListOfPairOfStrings.h"
#include "StringManager.h"
#include "Trace.h"

namespace {

// Coordinates are kept well inside int so that sums and row offsets of any
// template stay defined; nothing drawn is ever that far away.
constexpr long long kCoordinateLimit = 1LL << 28;

int ClampCoordinate(long long v) { return static_cast<int>(std::clamp(v, -kCoordinateLimit, kCoordinateLimit)); }

int Convert(int v, int deviceSize, int pageSize) {
  if (pageSize == 0) return 0;
  const long long product = static_cast<long long>(v) * deviceSize;
  return RoundHalfEven(static_cast<double>(product) / pageSize);
}

std::string Family(const std::string& family, int i) { return family + IntToStr(i); }

}  // namespace

int RoundHalfEven(double value) {
  if (std::isnan(value)) return 0;
  const double limit = static_cast<double>(kCoordinateLimit);
  return static_cast<int>(std::nearbyint(std::clamp(value, -limit, limit)));
}

int TDocumentManager::ToDeviceX(int v) const { return Convert(v, fDeviceWidth, PageSizeX); }

int TDocumentManager::ToDeviceY(int v) const { return Convert(v, fDeviceHeight, PageSizeY); }

void TDocumentManager::TakeDeviceSize() {
  fDeviceWidth = fView != nullptr ? fView->Printer().PageWidth() : 0;
  fDeviceHeight = fView != nullptr ? fView->Printer().PageHeight() : 0;
  LimitAvecPied = ToDeviceY(fAvecPied);
  LimitSansPied = ToDeviceY(fSansPied);
}

void TDocumentManager::CloseModele() {
  fFileName.clear();
  fHasTable = false;
  fTable = TTable{};
  fCorps.clear();
  fPiedPage.clear();
  fEntete.clear();
  fLogo.clear();
}

bool TDocumentManager::Table(TTable& table) const {
  if (!fHasTable) return false;
  table = fTable;
  return true;
}

bool TDocumentManager::OpenModele(const std::string& fileName, const std::string& operation) {
  CloseModele();
  // A template that cannot be read is one report naming it, and no page:
  // laid out anyway it gave a report per page and blank sheets.
  std::string text;
  switch (ReadWholeFile(fileName, text, kMaxIniFileBytes)) {
    case TReadResult::Ok:
      break;
    case TReadResult::Missing:
      Error(operation + " : Bad Modele Filename : " + fileName);
      return false;
    case TReadResult::TooLarge:
      Error(operation + " : modele illisible, plus de " + IntToStr(static_cast<long long>(kMaxIniFileBytes)) +
            " octets : " + fileName);
      return false;
    case TReadResult::Failed:
      Error(operation + " : modele illisible : " + fileName);
      return false;
  }
  TIniManager modele;
  modele.LoadFromText(text);
  fAvecPied = fSansPied = 0;
  PageSizeX = modele.GetIntStrict("GeneralData", "PageSizeX");
  PageSizeY = modele.GetIntStrict("GeneralData", "PageSizeY");
  // Every coordinate is divided by the page size: a template without a
  // usable one cannot be laid out at all.
  if (PageSizeX <= 0 || PageSizeY <= 0) {
    Error(operation + " : modele refuse, PageSizeX et PageSizeY de [GeneralData] doivent etre des entiers positifs : " +
          fileName);
    return false;
  }
  if (modele.SectionExists("Corps1")) {
    fAvecPied = modele.GetIntStrict("GeneralData", "CorpsAvecPiedDePagey2");
    fSansPied = modele.GetIntStrict("GeneralData", "CorpsSansPiedDePagey2");
  }
  TakeDeviceSize();
  // The items are counted before any is read: a template of tens of
  // thousands of items is no desk's document.
  int count = 0;
  for (const char* family : {"Corps", "PiedPage", "Entete", "Logo"})
    for (int i = 1; count <= kMaxItems && modele.SectionExists(Family(family, i)); ++i) ++count;
  if (count > kMaxItems) {
    Error(operation + " : modele refuse, plus de " + IntToStr(kMaxItems) + " elements : " + fileName);
    return false;
  }
  if (!ReadFamily(modele, "Corps", true, false, fCorps) || !ReadFamily(modele, "PiedPage", false, false, fPiedPage) ||
      !ReadFamily(modele, "Entete", false, false, fEntete) || !ReadFamily(modele, "Logo", false, true, fLogo)) {
    CloseModele();
    return false;
  }
  fFileName = fileName;
  return true;
}

bool TDocumentManager::ReadFamily(TIniManager& modele, const std::string& family, bool body, bool logos,
                                  std::vector<TItem>& items) {
  const auto optional = [&modele](const std::string& section, const char* key) {
    return modele.KeyExists(section, key) ? modele.Get(section, key) : std::string();
  };
  for (int i = 1; modele.SectionExists(Family(family, i)); ++i) {
    const std::string section = Family(family, i);
    TItem item;
    item.Type = optional(section, "type");
    if (item.Type == "Text") item.Text = optional(section, "Text");
    if (item.Type == "Data" || item.Type == "MultiData") item.DataCode = optional(section, "DataCode");
    // Outside the body a table is no table: its rows are never drawn.
    item.SetsLook = item.Type == "Text" || item.Type == "Data" || (body && item.Type == "MultiData");
    if (item.SetsLook) {
      item.FontSize = modele.KeyExists(section, "fontSize") ? modele.GetInt(section, "fontSize") : 10;
      if (modele.KeyExists(section, "color")) {
        const std::string text = modele.Get(section, "color");
        if (!StringToColor(text, item.Color)) {
          Error("TDocumentManager.BuildDoc : couleur non conforme : " + text + " (section " + section + ")");
          return false;
        }
      }
      const std::string alignment = optional(section, "alignement");
      item.Alignment = alignment == "left" ? 0 : alignment == "right" ? 2 : 6;
    }
    item.X1 = modele.GetInt(section, "x1");
    item.X2 = modele.GetInt(section, "x2");
    item.Y1 = modele.GetInt(section, "y1");
    // A body item without its own bottom runs down to the limit of the body
    // that the last table set on the page; elsewhere the bottom is required.
    item.HasY2 = !body || modele.KeyExists(section, "y2");
    if (item.HasY2) item.Y2 = modele.GetInt(section, "y2");
    item.HasX3 = modele.KeyExists(section, "x3");
    if (item.HasX3) item.X3 = modele.GetInt(section, "x3");
    item.HasY3 = modele.KeyExists(section, "y3");
    if (item.HasY3) item.Y3 = modele.GetInt(section, "y3");
    // A logo names a data key; the job puts the picture's path under it.
    item.NamesPicture = logos && item.Type == "Image";
    if (item.NamesPicture) item.Picture = optional(section, "filename");
    if (body && item.Type == "MultiData" && !fHasTable) {
      fHasTable = true;
      fTable.DataCode = item.DataCode;
      fTable.Y1 = item.Y1;
      fTable.VariationX = modele.GetInt(section, "variationX");
      fTable.VariationY = modele.GetIntStrict(section, "variationY");
    }
    items.push_back(std::move(item));
  }
  return true;
}

bool TDocumentManager::BuildDoc(const std::string& fileName, TListOfPairOfStrings* datas, bool preview) {
  if (datas == nullptr) {
    Error("TDocumentManager.BuildDoc : Datas not Assigned");
    return false;
  }
  TStringManager& sm = StringManager();
  fPage = sm.MyStrToInt(datas->getData("Page Courante"));
  const int total = sm.MyStrToInt(datas->getData("nbTotPages"));
  datas->put("Page", IntToStr(fPage) + " / " + IntToStr(total));
  if (fFileName != fileName && !OpenModele(fileName, "TDocumentManager.BuildDoc")) return false;
  TakeDeviceSize();

  TWorking w;
  return DrawBody(*datas, preview, w) && (!w.Footer || DrawFamily(fPiedPage, *datas, preview, w)) &&
         DrawFamily(fEntete, *datas, preview, w) && DrawFamily(fLogo, *datas, preview, w);
}

bool TDocumentManager::DrawBody(TListOfPairOfStrings& datas, bool preview, TWorking& w) {
  TStringManager& sm = StringManager();
  const long long B = sm.MyStrToInt(datas.getData("nbBigPages"));
  const long long K = sm.MyStrToInt(datas.getData("nbShortPages"));
  const long long T = sm.MyStrToInt(datas.getData("nbTotPages"));
  const long long N = sm.MyStrToInt(datas.getData("nbLinesFact"));
  const long long VX = sm.MyStrToInt(datas.getData("variationX"));
  const long long VY = sm.MyStrToInt(datas.getData("variationY"));
  const long long LS = sm.MyStrToInt(datas.getData("nbLinesInShort"));
  const long long LB = sm.MyStrToInt(datas.getData("nbLinesInBig"));
  const long long P = fPage;

  for (const TItem& item : fCorps) {
    if (item.Type == "Text") w.Text = item.Text;
    if (item.Type == "Data") w.Text = datas.getData(item.DataCode);
    if (item.SetsLook) {
      w.FontSize = item.FontSize;
      w.Color = item.Color;
      w.Alignment = item.Alignment;
    }
    const int x1 = ToDeviceX(item.X1);
    const int x2 = ToDeviceX(item.X2);
    const int y1 = ToDeviceX(item.Y1);
    const int y2 = item.HasY2 ? ToDeviceX(item.Y2) : w.Limit;
    const int x3 = item.HasX3 ? ToDeviceX(item.X3) : 0;
    const int y3 = item.HasY3 ? ToDeviceX(item.Y3) : 0;

    if (item.Type != "MultiData") {
      if (!Draw(item.Type, w.Text, x1, x2, x3, y1, y2, y3, w.FontSize, w.Alignment, w.Color, preview, fPage))
        return false;
      continue;
    }
    // The rows of the table that fall on this page: full pages with the
    // long body first, then pages with the short one, then the last page,
    // which alone carries the footer.
    long long first = 0, last = -1;
    bool oneRowHigh = true;
    if (P <= B) {
      w.Limit = LimitSansPied;
      w.Footer = false;
      first = (P - 1) * LB + 1;
      last = P * LB;
      oneRowHigh = false;
    } else if (B < P && P <= B + K) {
      w.Limit = LimitAvecPied;
      w.Footer = false;
      const long long s = LB * B + (P - B - 1) * LS;
      first = s + 1;
      last = s + LS;
    } else if (P == T) {
      w.Limit = LimitAvecPied;
      w.Footer = true;
      first = LB * B + LS * K + 1;
      last = N;
    }
    // Rows beyond the table do not exist: a data list that does not match
    // the template must not make the loop run for ever.
    first = std::max(first, 1LL);
    last = std::min(last, N);
    for (long long j = first, k = 0; j <= last; ++j, ++k) {
      const long long dx = k * VX, dy = k * VY;
      const int top = ClampCoordinate(y1 + dy);
      const int bottom = oneRowHigh ? ClampCoordinate(y1 + dy + VY) : ClampCoordinate(y2 + dy);
      if (!Draw(item.Type, datas.getData(IntToStr(j) + item.DataCode), ClampCoordinate(x1 + dx),
                ClampCoordinate(x2 + dx), x3, top, bottom, y3, w.FontSize, w.Alignment, w.Color, preview, fPage))
        return false;
    }
  }
  return true;
}

bool TDocumentManager::DrawFamily(const std::vector<TItem>& items, TListOfPairOfStrings& datas, bool preview,
                                  TWorking& w) {
  for (const TItem& item : items) {
    if (item.SetsLook) {
      w.FontSize = item.FontSize;
      w.Color = item.Color;
      w.Alignment = item.Alignment;
    }
    if (item.Type == "Text") w.Text = item.Text;
    if (item.Type == "Data") w.Text = datas.getData(item.DataCode);
    if (item.NamesPicture) w.Text = datas.getData(item.Picture);
    if (!Draw(item.Type, w.Text, ToDeviceX(item.X1), ToDeviceX(item.X2), item.HasX3 ? ToDeviceX(item.X3) : 0,
              ToDeviceX(item.Y1), ToDeviceX(item.Y2), item.HasY3 ? ToDeviceX(item.Y3) : 0, w.FontSize, w.Alignment,
              w.Color, preview, fPage))
      return false;
  }
  return true;
}

bool TDocumentManager::Draw(const std::string& type, const std::string& text, int x1, int x2, int x3, int y1, int y2,
                            int y3, int fontSize, int alignment, TColor color, bool preview, int page) {
  for (int* v : {&x1, &x2, &x3, &y1, &y2, &y3}) *v = ClampCoordinate(*v);
  if (fView == nullptr) {
    Error("TDocumentManager.Draw : aucune imprimante");
    return false;
  }
  TDrawingSurface* surface = nullptr;
  if (preview) {
    if (page < 1 || page > TPrintView::kPreviewPages) {
      Warning("Apercu pour maximum 10 pages");
      return true;
    }
    surface = fView->PreviewSurface(page);
    const int pw = fView->Printer().PageWidth(), ph = fView->Printer().PageHeight();
    if (surface == nullptr || pw <= 0 || ph <= 0) return true;
    const double sx = surface->GetWidth(), sy = surface->GetHeight();
    for (int* x : {&x1, &x2, &x3}) *x = RoundHalfEven(*x * sx / pw);
    for (int* y : {&y1, &y2, &y3}) *y = RoundHalfEven(*y * sy / ph);
  } else {
    surface = fView->Printer().Canvas();
    if (surface == nullptr) {
      Error("TDocumentManager.Draw : aucun document en cours d'impression");
      return false;
    }
  }

  if (type == "RoundRect") {
    surface->SetBrushHollow();
    surface->SetPenWidth(3);
    surface->RoundRect(x1 - 1, y1 - 1, x2 + 1, y2 + 1, x3, y3);
  } else if (type == "Line") {
    surface->SetPenWidth(3);
    surface->MoveTo(x1, y1);
    surface->LineTo(x2, y2);
  } else if (type == "Text" || type == "Data" || type == "MultiData") {
    surface->SetFontSize(fontSize);
    surface->SetFontColor(color);
    const int h = surface->TextHeight(text);
    const int w = surface->TextWidth(text);
    const int ty = y1 + RoundHalfEven((static_cast<double>(y2) - y1 - h) / 2);
    int tx = x1;
    if (alignment == 0) {
      tx = x1;
    } else if (alignment == 2) {
      tx = x2 - w;
    } else if (alignment == 6) {
      tx = x1 + RoundHalfEven((static_cast<double>(x2) - x1 - w) / 2);
    } else {
      Error("TDocumentManager.Draw : mode d'alignement non conforme");
    }
    surface->TextRect(TDrawRect{x1, y1, x2, y2}, tx, ty, text);
  } else if (type == "Image") {
    // No picture named (a barcode never made): nothing to draw.
    if (text.empty()) return true;
    const TPictureFormat format = text.find(".jpg") != std::string::npos ? TPictureFormat::Jpeg : TPictureFormat::Bitmap;
    if (!surface->StretchDrawPicture(TDrawRect{x1, y1, x2, y2}, text, format)) {
      Error("TDocumentManager.Draw : image illisible : " + text);
      return false;
    }
  }
  return true;
}
