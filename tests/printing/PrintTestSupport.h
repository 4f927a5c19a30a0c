#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "ListOfPairOfStrings.h"
#include "MemoryPrintSurfaces.h"
#include "PrintManager.h"
#include "TestSupport.h"
#include "Trace.h"

// A print manager over the memory print window, in a fresh working folder.
// The printer page is 2100 x 2970 pixels, so a template of the same page
// size converts its coordinates unchanged.
struct TPrintFixture {
  explicit TPrintFixture(int pageWidth = 2100, int pageHeight = 2970) : Cwd(Dir.Path()), View(pageWidth, pageHeight) {
    Manager.SetView(&View);
  }
  ~TPrintFixture() { Datas.ClearAndFreeEachObject(); }

  // Writes the template and returns its file name.
  std::string Template(const std::string& text, const std::string& name = "Modele.ini") {
    WriteFileBytes(name, text);
    return name;
  }
  // Table rows 1 .. n under the key n + code, valued "r" + n.
  void Rows(int n, const std::string& code = ".Code") {
    for (int i = 1; i <= n; ++i) Datas.put(IntToStr(i) + code, "r" + IntToStr(i));
  }
  // The texts of each printed page.
  std::vector<std::vector<std::string>> PrintedTexts() const {
    std::vector<std::vector<std::string>> pages;
    for (const auto& page : View.MemoryPrinter.Pages) pages.push_back(page->Texts());
    return pages;
  }
  bool Boxed(const std::string& text) const {
    for (const std::string& box : Capture.Boxes())
      if (box.find(text) != std::string::npos) return true;
    return false;
  }

  TTempDir Dir;
  TScopedCwd Cwd;
  TTraceCapture Capture;
  TMemoryPrintView View;
  TPrintManager Manager;
  TListOfPairOfStrings Datas;
};

inline void PrintTo(const TDrawRect& r, std::ostream* os) {
  *os << "{" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << "}";
}

// A one-item template section.
inline std::string Item(const std::string& section, const std::string& keys) {
  return "[" + section + "]\n" + keys + "\n";
}

// The general section of a 2100 x 2970 template whose body ends at 250 on
// pages with the footer and at 300 on the others.
inline std::string GeneralData(int avecPied = 250, int sansPied = 300) {
  return "[GeneralData]\nPageSizeX = 2100\nPageSizeY = 2970\nCorpsAvecPiedDePagey2 = " + IntToStr(avecPied) +
         "\nCorpsSansPiedDePagey2 = " + IntToStr(sansPied) + "\n";
}

// A table of rows from y 100, one row every 10: 20 rows on a page without
// footer, 15 on a page with it.
inline std::string TableItem(const std::string& section = "Corps1", int variationY = 10) {
  return Item(section,
              "tag = lignes\ntype = MultiData\nDataCode = .Code\nx1 = 100\nx2 = 400\ny1 = 100\ny2 = 108\n"
              "variationX = 0\nvariationY = " +
                  IntToStr(variationY));
}

inline std::string FooterItem() {
  return Item("PiedPage1", "tag = total\ntype = Text\nText = FOOT\nx1 = 100\nx2 = 400\ny1 = 2800\ny2 = 2850");
}
