// The template reader and the layout engine against any template text.
//
// The input's first byte gives the number of table rows (0 to 63), the
// second the printer page (a real A4 page, the template's own size, a page
// of one pixel or none) and whether the preview comes before the print; the
// rest is the template. Each input is previewed and printed on the memory
// print window, automatically on a letterhead printer (no dialog).
//
// What must hold for any template: no crash, no hang, no division by zero;
// the printer document is always ended or abandoned; copies and automatic
// mode are reset; a completed print has exactly "nbTotPages" pages; and every
// row of the table is drawn at least once per table item of the body that
// shows it (no row lost between pages).
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

#include "FileUtils.h"
#include "FuzzSupport.h"
#include "IniManager.h"
#include "ListOfPairOfStrings.h"
#include "MemoryPrintSurfaces.h"
#include "PrintManager.h"
#include "StringManager.h"
#include "Trace.h"

namespace {

std::string TempFile(const char* name) {
  return "/tmp/quorix-fuzz-" + std::to_string(::getpid()) + "-" + name;
}

// A plain write: the replace-and-flush of the program's writer would cost
// a disk flush per input.
bool WriteFile(const std::string& name, const std::string& bytes) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

struct TPictures {
  TPictures() : Bitmap(TempFile("logo.bmp")), Jpeg(TempFile("code.jpg")) {
    WriteFile(Bitmap, "BM" + std::string(60, '\0'));
    WriteFile(Jpeg, std::string("\xFF\xD8\xFF\xE0", 4) + "JFIF");
  }
  std::string Bitmap, Jpeg;
};

std::string RowValue(int j) { return "R" + std::to_string(j) + "#"; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const TPictures pictures;
  static const std::string modele = TempFile("Modele.ini");
  if (size < 2) return 0;
  TFuzzQuiet quiet;
  const int rows = data[0] % 64;
  const int pageChoice = data[1] & 3;
  const bool previewFirst = (data[1] & 4) != 0;
  const std::string text(reinterpret_cast<const char*>(data) + 2, size - 2);
  if (!WriteFile(modele, text)) return 0;

  // The table's data code, and how many body items show it.
  std::string code;
  int tableItems = 0;
  {
    TIniManager reading(modele);
    for (int i = 1; reading.SectionExists("Corps" + IntToStr(i)); ++i) {
      const std::string section = "Corps" + IntToStr(i);
      if (!reading.KeyExists(section, "type") || reading.Get(section, "type") != "MultiData") continue;
      const std::string itemCode = reading.KeyExists(section, "DataCode") ? reading.Get(section, "DataCode") : "";
      if (tableItems == 0) code = itemCode;
      if (itemCode == code) ++tableItems;
    }
  }

  const int sizes[4][2] = {{2480, 3508}, {2100, 2970}, {1, 1}, {0, 0}};
  TMemoryPrintView view(sizes[pageChoice][0], sizes[pageChoice][1]);
  view.MemoryPrinter.Name = "Laser Entete";
  TPrintManager manager;
  manager.SetView(&view);
  TListOfPairOfStrings datas;
  for (int j = 1; j <= rows; ++j) datas.put(IntToStr(j) + code, RowValue(j));
  datas.put("LogoEnteteFilename", pictures.Bitmap);
  datas.put("LogoPiedDePageFilename", pictures.Bitmap);
  datas.put("CodeBarreFilename", pictures.Jpeg);

  const auto print = [&] {
    manager.NbCopies = 1;
    manager.AutoPrint = true;
    manager.PrintDoc(modele, &datas, false);
  };
  if (previewFirst) manager.PrintDoc(modele, &datas, true);
  print();
  if (!previewFirst) manager.PrintDoc(modele, &datas, true);

  const TMemoryPrinter& printer = view.MemoryPrinter;
  FUZZ_CHECK(!printer.DocOpen, "the printer document was left open");
  FUZZ_CHECK(printer.Begun == printer.Ended + printer.Abandoned, "a document neither ended nor abandoned");
  FUZZ_CHECK(manager.NbCopies == 1 && !manager.AutoPrint, "copies or automatic mode not reset");
  if (printer.Ended == 1) {
    const int total = StringManager().MyStrToInt(datas.getData("nbTotPages"));
    FUZZ_CHECK(total >= 1 && static_cast<int>(printer.Pages.size()) == total,
               std::to_string(printer.Pages.size()) + " pages printed, nbTotPages " + std::to_string(total));
    if (tableItems > 0 && datas.exists("nbLinesFact")) {
      for (int j = 1; j <= rows; ++j) {
        int seen = 0;
        for (const auto& page : printer.Pages)
          for (const TDrawOp& op : page->Ops)
            if (op.Kind == TDrawOp::Text && op.Content == RowValue(j)) ++seen;
        FUZZ_CHECK(seen >= tableItems, "row " + std::to_string(j) + " of " + std::to_string(rows) + " drawn " +
                                           std::to_string(seen) + " times for " + std::to_string(tableItems) +
                                           " table items");
      }
    }
  }
  datas.ClearAndFreeEachObject();
  return 0;
}
