// The layout engine: pagination, the items of a page and where they land,
// and the templates it refuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ColorNames.h"
#include "IniManager.h"
#include "PrintTestSupport.h"

namespace {

using Texts = std::vector<std::string>;

Texts RowTexts(int first, int last) {
  Texts t;
  for (int i = first; i <= last; ++i) t.push_back("r" + IntToStr(i));
  return t;
}

Texts With(Texts t, const std::string& more) {
  t.push_back(more);
  return t;
}

TEST(Pagination, RowsGoToBigThenShortPagesAndTheFooterToTheLastOnly) {
  // 20 rows fit above the long body limit, 15 above the short one.
  struct Row {
    const char* name;
    int n;
    const char* keys;  // nbTotPages nbBigPages nbShortPages nbLinesFact
    std::vector<Texts> pages;
  };
  const std::vector<Row> rows = {
      {"n20_short_then_last", 20, "2 0 1 20", {RowTexts(1, 15), With(RowTexts(16, 20), "FOOT")}},
      {"n21_big_then_last", 21, "2 1 0 21", {RowTexts(1, 20), {"r21", "FOOT"}}},
      {"n15_one_page", 15, "1 0 0 15", {With(RowTexts(1, 15), "FOOT")}},
      {"n16_short_then_one_row", 16, "2 0 1 16", {RowTexts(1, 15), {"r16", "FOOT"}}},
      {"n0_footer_only", 0, "1 0 0 0", {{"FOOT"}}},
      {"n1", 1, "1 0 0 1", {{"r1", "FOOT"}}},
      {"n56_big_big_short_last", 56, "4 2 1 56",
       {RowTexts(1, 20), RowTexts(21, 40), RowTexts(41, 55), {"r56", "FOOT"}}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TPrintFixture f;
    const std::string modele = f.Template(GeneralData() + TableItem() + FooterItem());
    f.Rows(row.n);
    f.Manager.PrintDoc(modele, &f.Datas, false);
    EXPECT_EQ(f.PrintedTexts(), row.pages);
    const std::string keys = f.Datas.getData("nbTotPages") + " " + f.Datas.getData("nbBigPages") + " " +
                             f.Datas.getData("nbShortPages") + " " + f.Datas.getData("nbLinesFact");
    EXPECT_EQ(keys, row.keys);
    EXPECT_EQ(f.Datas.getData("nbLinesInBig"), "20");
    EXPECT_EQ(f.Datas.getData("nbLinesInShort"), "15");
    EXPECT_TRUE(f.Capture.Boxes().empty()) << f.Capture.Boxes().front();
  }
}

TEST(Pagination, WithoutTableOnePageAndNoFooter) {
  TPrintFixture f;
  const std::string modele = f.Template(GeneralData() + Item("Corps1", "type = Data\nDataCode = Page\nx1 = 0\nx2 = 500\ny1 = 0\ny2 = 50") +
                                        FooterItem());
  f.Manager.PrintDoc(modele, &f.Datas, false);
  EXPECT_EQ(f.PrintedTexts(), (std::vector<Texts>{{"1 / 1"}}));
  EXPECT_EQ(f.Datas.getData("nbTotPages"), "1");
  EXPECT_FALSE(f.Datas.exists("nbBigPages"));
}

TEST(Pagination, PageRangeChosenInTheDialogPrintsThosePagesNumberedOfTheWhole) {
  TPrintFixture f;
  const std::string modele =
      f.Template(GeneralData() + TableItem() + Item("Entete1", "type = Data\nDataCode = Page\nx1 = 0\nx2 = 500\ny1 = 0\ny2 = 50"));
  f.Rows(56);  // four pages
  f.View.Dialog = [](TPrintDialogOptions& o) {
    o.PageRangeChosen = true;
    o.FromPage = 2;
    o.ToPage = 3;
    return true;
  };
  f.Manager.PrintDoc(modele, &f.Datas, false);
  EXPECT_EQ(f.PrintedTexts(), (std::vector<Texts>{With(RowTexts(21, 40), "2 / 4"), With(RowTexts(41, 55), "3 / 4")}));
  ASSERT_EQ(f.View.DialogsShown.size(), 1u);
  EXPECT_EQ(f.View.DialogsShown[0].MaxPage, 4);
  EXPECT_EQ(f.View.DialogsShown[0].ToPage, 4);
  EXPECT_TRUE(f.View.DialogsShown[0].PageNumbersEnabled);
}

TEST(Pagination, TwelvePagesPreviewAsTenAndPrintAsTwelve) {
  TPrintFixture f;
  const std::string modele = f.Template(GeneralData() + TableItem() + FooterItem());
  f.Rows(20 * 11 + 1);  // eleven big pages and the last one
  f.Manager.PrintDoc(modele, &f.Datas, true);
  EXPECT_TRUE(f.View.Visible);
  EXPECT_EQ(f.View.CurrentTab, 0);
  EXPECT_EQ(f.View.Previews[0]->Texts(), RowTexts(1, 20));
  EXPECT_EQ(f.View.Previews[9]->Texts(), RowTexts(181, 200));
  EXPECT_TRUE(f.Capture.Traced("Warning : Apercu pour maximum 10 pages"));
  EXPECT_EQ(f.View.MemoryPrinter.Begun, 0);

  f.Manager.PrintDoc(modele, &f.Datas, false);
  ASSERT_EQ(f.View.MemoryPrinter.Pages.size(), 12u);
  EXPECT_EQ(f.View.MemoryPrinter.Pages[11]->Texts(), (Texts{"r221", "FOOT"}));
}

TEST(Layout, AlignmentWordsAndHalfPixelsGoToTheEvenSide) {
  // "abc" at 10 points is 30 wide and 20 high in memory.
  struct Row {
    const char* name;
    const char* alignment;  // "" = no key
    int x1, x2, y1, y2;
    int x, y;
  };
  const std::vector<Row> rows = {
      {"left", "left", 100, 300, 0, 40, 100, 10},
      {"right", "right", 100, 300, 0, 40, 270, 10},
      {"center", "center", 100, 300, 0, 40, 185, 10},
      {"Left_with_capital_is_centred", "Left", 100, 300, 0, 40, 185, 10},
      {"Center_with_capital", "Center", 100, 300, 0, 40, 185, 10},
      {"other_word", "droite", 100, 300, 0, 40, 185, 10},
      {"absent", "", 100, 300, 0, 40, 185, 10},
      {"minus_half_to_even", "", 0, 25, 0, 25, -2, 2},
      {"plus_half_to_even", "", 0, 37, 0, 27, 4, 4},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TPrintFixture f;
    std::string keys = "type = Text\nText = abc\nx1 = " + IntToStr(row.x1) + "\nx2 = " + IntToStr(row.x2) +
                       "\ny1 = " + IntToStr(row.y1) + "\ny2 = " + IntToStr(row.y2);
    if (*row.alignment) keys += std::string("\nalignement = ") + row.alignment;
    f.Manager.PrintDoc(f.Template(GeneralData() + Item("Entete1", keys)), &f.Datas, false);
    ASSERT_EQ(f.View.MemoryPrinter.Pages.size(), 1u);
    const auto texts = f.View.MemoryPrinter.Pages[0]->OpsOf(TDrawOp::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].X, row.x);
    EXPECT_EQ(texts[0].Y, row.y);
    EXPECT_EQ(texts[0].Rect, (TDrawRect{row.x1, row.y1, row.x2, row.y2}));
  }
}

TEST(Layout, BodyLinesWithoutBottomRunToTheLimitSetByTheTableBeforeThem) {
  TPrintFixture f;
  const std::string line = "type = Line\nx1 = 50\nx2 = 50\ny1 = 90";
  const std::string modele =
      f.Template(GeneralData() + Item("Corps1", line) + TableItem("Corps2") + Item("Corps3", line) + FooterItem());
  f.Rows(37);  // a big page, a short page, the last page
  f.Manager.PrintDoc(modele, &f.Datas, false);
  ASSERT_EQ(f.View.MemoryPrinter.Pages.size(), 3u);
  struct Row {
    const char* name;
    int page;
    int lineBeforeEnd, lineAfterEnd;
    TDrawRect firstRow, secondRow;
  };
  const std::vector<Row> rows = {
      // On a big page a row keeps the item's own bottom, shifted.
      {"big", 0, 0, 300, {100, 100, 400, 108}, {100, 110, 400, 118}},
      // On the other pages a row is one row pitch high.
      {"short", 1, 0, 250, {100, 100, 400, 110}, {100, 110, 400, 120}},
      {"last", 2, 0, 250, {100, 100, 400, 110}, {100, 110, 400, 120}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const TMemoryDrawingSurface& page = *f.View.MemoryPrinter.Pages[row.page];
    const auto lines = page.OpsOf(TDrawOp::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].Rect, (TDrawRect{50, 90, 50, row.lineBeforeEnd}));
    EXPECT_EQ(lines[1].Rect, (TDrawRect{50, 90, 50, row.lineAfterEnd}));
    EXPECT_EQ(lines[0].PenWidth, 3);
    const auto texts = page.OpsOf(TDrawOp::Text);
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[0].Rect, row.firstRow);
    EXPECT_EQ(texts[1].Rect, row.secondRow);
  }
}

TEST(Layout, ItemsConvertEveryCoordinateHorizontallyAndBodyLimitsVertically) {
  // Template units to pixels: x2 horizontally, x3 vertically.
  TPrintFixture f(2000, 3000);
  const std::string modele = f.Template(
      "[GeneralData]\nPageSizeX = 1000\nPageSizeY = 1000\nCorpsAvecPiedDePagey2 = 100\nCorpsSansPiedDePagey2 = 100\n" +
      Item("Corps1",
           "type = MultiData\nDataCode = .Code\nx1 = 10\nx2 = 20\ny1 = 30\ny2 = 40\nvariationX = 1\nvariationY = 10") +
      Item("Corps2", "type = Line\nx1 = 1\nx2 = 2\ny1 = 3") +
      Item("Logo1", "type = RoundRect\nx1 = 1\nx2 = 2\ny1 = 3\ny2 = 4\nx3 = 5\ny3 = 6"));
  f.Rows(2);
  f.Manager.PrintDoc(modele, &f.Datas, false);
  ASSERT_EQ(f.View.MemoryPrinter.Pages.size(), 1u);
  const TMemoryDrawingSurface& page = *f.View.MemoryPrinter.Pages[0];
  // Row pitch 30 pixels vertically, 2 horizontally; the row box starts at 2 x 30.
  const auto texts = page.OpsOf(TDrawOp::Text);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].Rect, (TDrawRect{20, 60, 40, 90}));
  EXPECT_EQ(texts[1].Rect, (TDrawRect{22, 90, 42, 120}));
  EXPECT_EQ(f.Datas.getData("variationX"), "2");
  EXPECT_EQ(f.Datas.getData("variationY"), "30");
  // The line without bottom ends at the short body limit, 100 x 3.
  EXPECT_EQ(page.OpsOf(TDrawOp::Line)[0].Rect, (TDrawRect{2, 6, 4, 300}));
  const auto frames = page.OpsOf(TDrawOp::RoundRect);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].Rect, (TDrawRect{1, 5, 5, 9}));
  EXPECT_EQ(frames[0].X, 10);
  EXPECT_EQ(frames[0].Y, 12);
}

TEST(Layout, ConversionsRoundHalvesToEven) {
  struct Row {
    int v, device, page, expected;
  };
  const std::vector<Row> rows = {{1, 1, 2, 0}, {3, 1, 2, 2}, {5, 1, 2, 2}, {-1, 1, 2, 0},
                                 {-3, 1, 2, -2}, {2100, 4961, 2100, 4961}, {1000000, 4961, 2100, 2362381}};
  for (const Row& row : rows) {
    TPrintFixture f(row.device, row.device);
    f.Template("[GeneralData]\nPageSizeX = " + IntToStr(row.page) + "\nPageSizeY = " + IntToStr(row.page) + "\n");
    ASSERT_TRUE(f.Manager.DocumentManager->OpenModele("Modele.ini", "test"));
    EXPECT_EQ(f.Manager.DocumentManager->ToDeviceX(row.v), row.expected) << row.v << " x " << row.device;
    EXPECT_EQ(f.Manager.DocumentManager->ToDeviceY(row.v), row.expected) << row.v << " x " << row.device;
  }
}

TEST(Layout, PreviewScalesPrinterPixelsToThePreviewPage) {
  // Printer page 2067 x 2883 pixels = 3 x 4 times 689 x 961 (less a tenth).
  TPrintFixture f(2067, 2883);
  const std::string modele = f.Template("[GeneralData]\nPageSizeX = 2067\nPageSizeY = 2883\n" +
                                        Item("Entete1", "type = Text\nText = abc\nfontSize = 12\nx1 = 300\nx2 = 601\n"
                                                        "y1 = 6\ny2 = 14\nalignement = left"));
  f.Manager.PrintDoc(modele, &f.Datas, true);
  const auto texts = f.View.Previews[0]->OpsOf(TDrawOp::Text);
  ASSERT_EQ(texts.size(), 1u);
  // x by 1/3 (200.33 -> 200, 100), y by 1/3 too, since item y values are
  // converted horizontally and then scaled by the height ratio: 6 -> 2, 14 -> 4.67 -> 5.
  EXPECT_EQ(texts[0].Rect, (TDrawRect{100, 2, 200, 5}));
  EXPECT_EQ(texts[0].FontSize, 12);  // font sizes are not scaled
}

TEST(Pictures, TheFileNameSaysTheFormatAndUnreadablePicturesAbandonThePrint) {
  const std::string jpeg = std::string("\xFF\xD8\xFF\xE0", 4) + "JFIF";
  const std::string bmp = "BM" + std::string(60, '\0');
  struct Row {
    const char* name;
    const char* path;
    std::string bytes;
    bool drawn;
    TPictureFormat format;
  };
  const std::vector<Row> rows = {
      {"jpg_lower", "Code Barre 12.jpg", jpeg, true, TPictureFormat::Jpeg},
      {"JPG_capitals_read_as_bitmap", "Photo.JPG", jpeg, false, TPictureFormat::Bitmap},
      {"bmp", "LogoEntete.bmp", bmp, true, TPictureFormat::Bitmap},
      {"bitmap_named_jpg", "Logo.jpg", bmp, false, TPictureFormat::Jpeg},
      {"missing", "", "", false, TPictureFormat::Bitmap},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TPrintFixture f;
    if (*row.path) WriteFileBytes(row.path, row.bytes);
    f.Datas.put("LogoEnteteFilename", *row.path ? row.path : "Absent.bmp");
    const std::string modele =
        f.Template(GeneralData() + Item("Entete1", "type = Text\nText = SOCIETE\nx1 = 0\nx2 = 900\ny1 = 0\ny2 = 50") +
                   Item("Logo1", "type = Image\nfilename = LogoEnteteFilename\nx1 = 10\nx2 = 210\ny1 = 20\ny2 = 120"));
    f.Manager.PrintDoc(modele, &f.Datas, false);
    if (row.drawn) {
      ASSERT_EQ(f.View.MemoryPrinter.Pages.size(), 1u);
      const auto pictures = f.View.MemoryPrinter.Pages[0]->OpsOf(TDrawOp::Picture);
      ASSERT_EQ(pictures.size(), 1u);
      EXPECT_EQ(pictures[0].Format, row.format);
      EXPECT_EQ(pictures[0].Rect, (TDrawRect{10, 20, 210, 120}));
      EXPECT_EQ(f.View.MemoryPrinter.Ended, 1);
    } else {
      EXPECT_TRUE(f.Boxed("TDocumentManager.Draw : image illisible : ")) << row.name;
      EXPECT_EQ(f.View.MemoryPrinter.Abandoned, 1);
      EXPECT_EQ(f.View.MemoryPrinter.Ended, 0);
      EXPECT_FALSE(f.View.MemoryPrinter.DocOpen);
    }
  }
}

TEST(Colours, NamesNumbersAndHexadecimal) {
  struct Row {
    const char* text;
    bool valid;
    TColor color;
  };
  const std::vector<Row> rows = {
      {"clBlack", true, 0x000000}, {"clRed", true, 0x0000FF},     {"clNavy", true, 0x800000},
      {"CLNAVY", true, 0x800000},  {"clBtnFace", true, 0x8000000F}, {"255", true, 255},
      {"$FF0000", true, 0xFF0000}, {"$00c0ff", true, 0x00C0FF},   {"0x10", true, 16},
      {"16777215", true, 0xFFFFFF}, {"16777216", false, 0},       {"-1", false, 0},
      {"clPurpl", false, 0},       {"", false, 0},                {"$", false, 0},
      {"12a", false, 0},           {"red", false, 0},             {"$1FFFFFFFF", false, 0},
  };
  for (const Row& row : rows) {
    TColor color = 0x123456;
    EXPECT_EQ(StringToColor(row.text, color), row.valid) << row.text;
    if (row.valid) {
      EXPECT_EQ(color, row.color) << row.text;
    }
  }
  EXPECT_EQ(ColorToRGB(0x8000000F), 0xF0F0F0u);
  EXPECT_EQ(ColorToRGB(0x800000), 0x800000u);
}

TEST(Refusals, TemplatesThatCannotBeLaidOutAreRefusedBeforeAnythingIsPrinted) {
  const std::string table = TableItem();
  std::string manyItems = GeneralData() + table;
  for (int i = 1; i <= TDocumentManager::kMaxItems; ++i)
    manyItems += Item("Entete" + IntToStr(i), "type = Line\nx1 = 0\nx2 = 9\ny1 = 0\ny2 = 9");
  struct Row {
    const char* name;
    std::string modele;
    const char* message;
  };
  const std::vector<Row> rows = {
      {"page_width_0", "[GeneralData]\nPageSizeX = 0\nPageSizeY = 2970\n", "PageSizeX et PageSizeY"},
      {"page_height_missing", "[GeneralData]\nPageSizeX = 2100\n", "PageSizeX et PageSizeY"},
      {"empty_file", "", "PageSizeX et PageSizeY"},
      {"row_pitch_0", GeneralData() + TableItem("Corps1", 0), "aucune ligne ne tient"},
      {"body_shorter_than_a_row", GeneralData(105, 300) + table, "aucune ligne ne tient"},
      {"body_limits_missing", "[GeneralData]\nPageSizeX = 2100\nPageSizeY = 2970\n" + table, "aucune ligne ne tient"},
      // Colours are read with the template, before the printer is asked for.
      {"invalid_colour", GeneralData() + table + Item("Entete1", "type = Text\nText = x\ncolor = clPurpl\nx1 = 0\nx2 = 9\ny1 = 0\ny2 = 9"),
       "couleur non conforme : clPurpl"},
      {"more_items_than_any_desk_template", manyItems, "modele refuse, plus de 2000 elements : Modele.ini"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TPrintFixture f;
    const std::string modele = f.Template(row.modele);
    f.Rows(3);
    f.Manager.NbCopies = 3;
    f.Manager.PrintDoc(modele, &f.Datas, false);
    EXPECT_TRUE(f.Boxed(row.message)) << (f.Capture.Boxes().empty() ? "no box" : f.Capture.Boxes().back());
    EXPECT_TRUE(f.View.DialogsShown.empty());
    EXPECT_EQ(f.View.MemoryPrinter.Begun, 0);
    EXPECT_FALSE(f.View.MemoryPrinter.DocOpen);
    EXPECT_EQ(f.Manager.NbCopies, 1);

    // A preview of the same template shows nothing.
    f.Manager.PrintDoc(modele, &f.Datas, true);
    EXPECT_FALSE(f.View.Visible);
    EXPECT_TRUE(f.View.Previews[0]->Ops.empty());
  }
}

TEST(Refusals, ATemplateThatCannotBeReadIsOneBoxNamingItAndNothingPrinted) {
  struct Row {
    const char* name;
    const char* file;
    const char* message;
  };
  const Row rows[] = {
      {"missing", "./Data/Modeles/Absent.ini", "*ERROR*TPrintManager.PreparePages : Bad Modele Filename : ./Data/Modeles/Absent.ini"},
      {"a_folder", "Dossier.ini", "*ERROR*TPrintManager.PreparePages : modele illisible : Dossier.ini"},
      {"over_1_MB", "Enorme.ini", "*ERROR*TPrintManager.PreparePages : modele illisible, plus de 1048576 octets : Enorme.ini"},
  };
  for (const Row& row : rows) {
    for (const char* how : {"dialog", "automatic", "preview"}) {
      SCOPED_TRACE(std::string(row.name) + " " + how);
      TPrintFixture f;
      std::filesystem::create_directory("Dossier.ini");
      WriteFileBytes("Enorme.ini", GeneralData() + std::string(kMaxIniFileBytes, ';'));
      f.Rows(3);
      f.View.MemoryPrinter.Name = "HP Entete";
      f.Manager.AutoPrint = std::string(how) == "automatic";
      f.Manager.NbCopies = 4;
      f.Manager.PrintDoc(row.file, &f.Datas, std::string(how) == "preview");
      EXPECT_EQ(f.Capture.Boxes(), std::vector<std::string>{row.message});
      EXPECT_TRUE(f.View.DialogsShown.empty());
      EXPECT_EQ(f.View.MemoryPrinter.Begun, 0);
      EXPECT_TRUE(f.View.MemoryPrinter.Pages.empty());
      EXPECT_FALSE(f.View.Visible);
    }
  }
}

}  // namespace
