#include "DocumentManager.h"

#include <algorithm>
#include <cmath>

#include "ColorNames.h"
#include "FileUtils.h"
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

std::string TDocumentManager::GetOptional(const std::string& section, const std::string& key) const {
  if (!Modele || !Modele->KeyExists(section, key)) return "";
  return Modele->Get(section, key);
}

bool TDocumentManager::OpenModele(const std::string& fileName, const std::string& operation) {
  Modele = std::make_unique<TIniManager>(fileName);
  fDeviceWidth = fView != nullptr ? fView->Printer().PageWidth() : 0;
  fDeviceHeight = fView != nullptr ? fView->Printer().PageHeight() : 0;
  PageSizeX = Modele->GetIntStrict("GeneralData", "PageSizeX");
  PageSizeY = Modele->GetIntStrict("GeneralData", "PageSizeY");
  // Every coordinate is divided by the page size: a template without a
  // usable one cannot be laid out at all.
  if (FileExists(fileName) && (PageSizeX <= 0 || PageSizeY <= 0)) {
    Error(operation + " : modele refuse, PageSizeX et PageSizeY de [GeneralData] doivent etre des entiers positifs : " +
          fileName);
    Modele.reset();
    return false;
  }
  if (Modele->SectionExists("Corps1")) {
    LimitAvecPied = ToDeviceY(Modele->GetIntStrict("GeneralData", "CorpsAvecPiedDePagey2"));
    LimitSansPied = ToDeviceY(Modele->GetIntStrict("GeneralData", "CorpsSansPiedDePagey2"));
  } else {
    LimitAvecPied = 0;
    LimitSansPied = 0;
  }
  return true;
}

int TDocumentManager::ReadX(const std::string& section, const std::string& key) {
  return ToDeviceX(Modele->GetInt(section, key));
}

int TDocumentManager::ReadOptionalX(const std::string& section, const std::string& key, int absent) {
  return Modele->KeyExists(section, key) ? ReadX(section, key) : absent;
}

bool TDocumentManager::ReadLook(const std::string& section, TWorking& w) {
  w.FontSize = Modele->KeyExists(section, "fontSize") ? Modele->GetInt(section, "fontSize") : 10;
  w.Color = 0;
  if (Modele->KeyExists(section, "color")) {
    const std::string text = Modele->Get(section, "color");
    if (!StringToColor(text, w.Color)) {
      Error("TDocumentManager.BuildDoc : couleur non conforme : " + text + " (section " + section + ")");
      return false;
    }
  }
  const std::string alignment = GetOptional(section, "alignement");
  w.Alignment = alignment == "left" ? 0 : alignment == "right" ? 2 : 6;
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
  if (!FileExists(fileName)) {
    Error("TDocumentManager.BuildDoc : Bad Modele Filename");
    return true;
  }
  if (!OpenModele(fileName, "TDocumentManager.BuildDoc")) return false;

  TWorking w;
  const bool drawn = DrawBody(*datas, preview, w) && (!w.Footer || DrawFamily("PiedPage", false, *datas, preview, w)) &&
                     DrawFamily("Entete", false, *datas, preview, w) && DrawFamily("Logo", true, *datas, preview, w);
  Modele.reset();
  return drawn;
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

  for (int i = 1; Modele->SectionExists(Family("Corps", i)); ++i) {
    const std::string section = Family("Corps", i);
    GetOptional(section, "tag");
    const std::string type = GetOptional(section, "type");
    if (type == "Text") w.Text = GetOptional(section, "Text");
    if (type == "Data") w.Text = datas.getData(GetOptional(section, "DataCode"));
    if ((type == "Text" || type == "Data" || type == "MultiData") && !ReadLook(section, w)) return false;
    const int x1 = ReadX(section, "x1");
    const int x2 = ReadX(section, "x2");
    const int y1 = ReadX(section, "y1");
    // A body item without its own bottom runs down to the limit of the body
    // that the last table set on this page.
    const int y2 = ReadOptionalX(section, "y2", w.Limit);
    const int x3 = ReadOptionalX(section, "x3", 0);
    const int y3 = ReadOptionalX(section, "y3", 0);

    if (type != "MultiData") {
      if (!Draw(type, w.Text, x1, x2, x3, y1, y2, y3, w.FontSize, w.Alignment, w.Color, preview, fPage)) return false;
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
    const std::string code = GetOptional(section, "DataCode");
    first = std::max(first, 1LL);
    last = std::min(last, N);
    for (long long j = first, k = 0; j <= last; ++j, ++k) {
      const long long dx = k * VX, dy = k * VY;
      const int top = ClampCoordinate(y1 + dy);
      const int bottom = oneRowHigh ? ClampCoordinate(y1 + dy + VY) : ClampCoordinate(y2 + dy);
      if (!Draw(type, datas.getData(IntToStr(j) + code), ClampCoordinate(x1 + dx), ClampCoordinate(x2 + dx), x3, top,
                bottom, y3, w.FontSize, w.Alignment, w.Color, preview, fPage))
        return false;
    }
  }
  return true;
}

bool TDocumentManager::DrawFamily(const std::string& family, bool logos, TListOfPairOfStrings& datas, bool preview,
                                  TWorking& w) {
  for (int i = 1; Modele->SectionExists(Family(family, i)); ++i) {
    const std::string section = Family(family, i);
    GetOptional(section, "tag");
    const std::string type = GetOptional(section, "type");
    if ((type == "Text" || type == "Data") && !ReadLook(section, w)) return false;
    if (type == "Text") w.Text = GetOptional(section, "Text");
    if (type == "Data") w.Text = datas.getData(GetOptional(section, "DataCode"));
    const int x1 = ReadX(section, "x1");
    const int x2 = ReadX(section, "x2");
    const int y1 = ReadX(section, "y1");
    const int y2 = ReadX(section, "y2");
    const int x3 = ReadOptionalX(section, "x3", 0);
    const int y3 = ReadOptionalX(section, "y3", 0);
    // A logo names a data key; the job puts the picture's path under it.
    if (logos && type == "Image") w.Text = datas.getData(GetOptional(section, "filename"));
    if (!Draw(type, w.Text, x1, x2, x3, y1, y2, y3, w.FontSize, w.Alignment, w.Color, preview, fPage)) return false;
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
    const TPictureFormat format = text.find(".jpg") != std::string::npos ? TPictureFormat::Jpeg : TPictureFormat::Bitmap;
    if (!surface->StretchDrawPicture(TDrawRect{x1, y1, x2, y2}, text, format)) {
      Error("TDocumentManager.Draw : image illisible : " + text);
      return false;
    }
  }
  return true;
}
