#include <gtest/gtest.h>

#include <memory>

#include "GridTestSupport.h"
#include "StringManager.h"

namespace {

struct TTypeRow {
  const char* Name;
  std::string Text;
  int Code;
  bool Expected;
};

std::ostream& operator<<(std::ostream& out, const TTypeRow& row) { return out << row.Name; }

class CheckTypeTest : public ::testing::TestWithParam<TTypeRow> {};

// Codes that need no reference table.
const TTypeRow kRows[] = {
    {"Integer_SpacesStripped", " 12 ", 9, true},
    {"Integer_TabNotStripped", "12\t", 0, false},
    {"Integer_LeadingZero", "0012", 0, false},
    {"Digits_LeadingZero", "0012", 12, true},
    {"Integer_Negative", "-5", 0, true},
    {"Integer_TooLong", "1234567890123456789", 0, false},
    {"Real_MinusZero", "-0", 1, false},
    {"Real_Comma", "0,5", 1, true},
    {"Real_Point", "0.5", 1, true},
    {"Boolean_Lower", "true", 2, true},
    {"Boolean_Upper", "TRUE", 2, false},
    {"Always3", "anything", 3, true},
    {"Never4", "", 4, false},
    {"Empty5_Spaces", "   ", 5, true},
    {"Empty5_Text", "a", 5, false},
    {"NotEmpty6", "a", 6, true},
    {"Always7", "", 7, true},
    {"IntGE0_Zero", "0", 8, true},
    {"IntGE0_Negative", "-1", 8, false},
    {"IntGT0_Zero", "0", 9, false},
    {"IntLE0_Zero", "0", 10, true},
    {"IntLE0_Real", "-0,5", 10, false},
    {"IntOrEmpty_Empty", "", 11, true},
    {"IntOrEmpty_Real", "1,5", 11, false},
    {"RealGE0_Zero", "0,0", 13, true},
    {"RealGE0_Negative", "-0,1", 13, false},
    {"EmptyOrRealGE0_Empty", "", 14, true},
    {"RealGT0_Zero", "0", 15, false},
    {"Typing16_TrailingComma", "12,", 16, true},
    {"Typing16_CommaAlone", ",", 16, false},
    {"Typing16_LeadingZeroInteger", "012,", 16, false},
    {"Typing17_Empty", "", 17, true},
    {"RealGE1_One", "1", 18, true},
    {"RealGE1_Half", "0,5", 18, false},
    {"RealLE0_Zero", "0", 19, true},
    {"RealLT0_Zero", "0", 20, false},
    {"RealLT0_Negative", "-2,5", 20, true},
    {"Phone_Ok", "+33 1 23.45.67", 21, true},
    {"Phone_Empty", "", 21, true},
    {"Phone_Letters", "01 AB", 21, false},
    {"Email_Ok", "a@b.fr", 22, true},
    {"Email_Empty", "", 22, true},
    {"Email_NoDot", "a@b", 22, false},
    {"Length13_Yes", "1234567890123", 24, true},
    {"Length13_No", "123456789012", 24, false},
    {"FourDigits_Yes", "0123", 25, true},
    {"FourDigits_Five", "01234", 25, false},
    {"CIP_CheckDigit", "1234562", 26, true},
    {"CIP_WrongCheckDigit", "1234563", 26, false},
    {"Date_Ok", "01/02/2024", 27, true},
    {"Date_ShortYear", "01/02/24", 27, false},
    {"CIPNotStartingWith3_Yes", "1234562", 33, true},
    {"CIPNotStartingWith3_Three", "3400007", 33, false},
    {"Facture_Ok", "FA00001", 34, true},
    {"Facture_Short", "FA0001", 34, false},
    {"Devis_Four", "DE1234", 35, true},
    {"Devis_Five", "DE12345", 35, true},
    {"Devis_Three", "DE123", 35, false},
    {"Avoir_Three", "AV123", 36, true},
    {"Avoir_Five", "AV12345", 36, false},
    {"NotReal_Text", "abc", 37, true},
    {"NotReal_Number", "3", 37, false},
    {"NotDigits", "12a", 38, true},
    {"NotPhone", "abc", 39, true},
    {"NotCIP", "1234563", 40, true},
    {"NotFourDigits_Empty", "", 41, true},
    {"NotFourDigitsNotEmpty_Empty", "", 42, false},
    {"NotFourDigitsNotEmpty_Three", "123", 42, true},
    {"NotPhoneNotEmpty_Empty", "", 43, false},
    {"NotCIPNotEmpty_Bad", "12", 44, true},
    {"NotGE1_Half", "0,5", 45, true},
    {"NotGE1_Text", "x", 45, true},
    {"NotFacture_Empty", "", 46, false},
    {"NotFacture_Other", "XY1", 46, true},
    {"NotDevis_Facture", "FA00001", 47, true},
    {"NotAvoir_Avoir", "AV123", 48, false},
    {"NotEmail", "x", 49, true},
    {"NotDate_Empty", "", 50, true},
    {"NotInteger_Real", "1,5", 51, true},
    {"NotInteger_Integer", "15", 51, false},
    {"Country52_Empty", "", 52, true},
};

INSTANTIATE_TEST_SUITE_P(Codes, CheckTypeTest, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<TTypeRow>& info) { return std::string(info.param.Name); });

TEST_P(CheckTypeTest, Answers) {
  TGridFixture f(1);
  EXPECT_EQ(f.Grid->CheckType(GetParam().Text, GetParam().Code), GetParam().Expected);
  EXPECT_TRUE(f.Capture.Lines().empty());
}

TEST(CheckTypeUnknown, IsTracedAndFalse) {
  TGridFixture f(1);
  EXPECT_FALSE(f.Grid->CheckType("x", 60));
  EXPECT_FALSE(f.Grid->CheckType("x", 54));
  EXPECT_TRUE(f.Capture.Traced("TMyStringGrid.CheckType: Analyse de ce type pas encore implémentée"));
  EXPECT_TRUE(f.Capture.Boxes().empty());
}

// The reference tables live in ./Data of the working folder.
class ReferenceLookupTest : public ::testing::Test {
protected:
  void SetUp() override {
    Write("Data/ListePays.db", "Nom Pays", {"FRANCE", "COTE D'IVOIRE", "GABON"});
    Write("Data/ListePsychotropes.db", "CIP Psychotrope", {"1234562"});
    Write("Data/ListeStupefiants.db", "CIP Stupefiant", {"3400007"});
    Cwd = std::make_unique<TScopedCwd>(Dir.Path());
  }
  void TearDown() override { Cwd.reset(); }

  void Write(const std::string& name, const std::string& field, const std::vector<std::string>& values) {
    std::string bytes = field + "\r\n";
    for (const std::string& value : values) bytes += value + "\r\n";
    WriteFileBytes(Dir.File(name), bytes);
  }

  TTempDir Dir;
  std::unique_ptr<TScopedCwd> Cwd;
};

TEST_F(ReferenceLookupTest, CountriesAreLookedUpInUpperCase) {
  TGridFixture f(1);
  EXPECT_TRUE(f.Grid->CheckType("france", 23));
  EXPECT_TRUE(f.Grid->CheckType(" Gabon ", 23));
  EXPECT_FALSE(f.Grid->CheckType("belgique", 23));
  EXPECT_FALSE(f.Grid->CheckType("", 23));
  EXPECT_TRUE(f.Grid->CheckType("", 52));
  EXPECT_TRUE(f.Grid->CheckType("cote d'ivoire", 52));
  EXPECT_TRUE(f.Grid->CheckType("belgique", 53));
  EXPECT_FALSE(f.Grid->CheckType("france", 53));
  // The text is a pattern: a full stop stands for any character.
  EXPECT_TRUE(f.Grid->CheckType("fr.nce", 23));
  EXPECT_TRUE(f.Capture.Boxes().empty());
}

TEST_F(ReferenceLookupTest, OnlyTheLettersAToZAreUpperCased) {
  Write("Data/ListePays.db", "Nom Pays", {"ÉTHIOPIE", "éTHIOPIE"});
  TGridFixture f(1);
  EXPECT_TRUE(f.Grid->CheckType("éthiopie", 23));
  EXPECT_FALSE(f.Grid->CheckType("Éthiopiex", 23));
}

TEST_F(ReferenceLookupTest, PsychotropicAndNarcoticCodes) {
  TGridFixture f(1);
  EXPECT_TRUE(f.Grid->CheckType("1234562", 30));
  EXPECT_FALSE(f.Grid->CheckType("3400007", 30));
  EXPECT_TRUE(f.Grid->CheckType("3400007", 31));
  EXPECT_FALSE(f.Grid->CheckType("1234562", 28));  // a CIP code, but psychotropic
  EXPECT_TRUE(f.Grid->CheckType("3400007", 28));
  EXPECT_TRUE(f.Grid->CheckType("1234562", 29));
  EXPECT_FALSE(f.Grid->CheckType("3400007", 29));
  EXPECT_TRUE(f.Grid->CheckType("abc", 29));  // not a CIP code: nothing to warn about
  EXPECT_FALSE(f.Grid->CheckType("", 32));     // empty: "^$" finds nothing
  EXPECT_TRUE(f.Grid->CheckType("abc", 32));
  EXPECT_TRUE(f.Grid->CheckType("1234562", 32));
}

TEST_F(ReferenceLookupTest, TablesAreOpenedOncePerGrid) {
  TGridFixture f(1);
  EXPECT_FALSE(f.Grid->CheckType("belgique", 23));
  Write("Data/ListePays.db", "Nom Pays", {"BELGIQUE"});
  EXPECT_FALSE(f.Grid->CheckType("belgique", 23));
  TGridFixture other(1);
  EXPECT_TRUE(other.Grid->CheckType("belgique", 23));
}

// A text that is not a valid expression names nothing in the list, without a
// box: otherwise one client whose country holds "(" would make every fill,
// sort and paint of the client list fail.
TEST_F(ReferenceLookupTest, ATextThatIsNotAnExpressionIsNotListed) {
  TGridFixture f(1);
  struct Row {
    const char* name;
    std::string text;
    int code;
    bool expected;
  };
  const Row rows[] = {
      {"country, unbalanced parenthesis", "cote d'ivoire (abidjan", 23, false},
      {"country or empty", "fra(nce", 52, false},
      {"not a country", "fra(nce", 53, true},
      {"psychotropic, bad repetition", "*1234562", 30, false},
      {"narcotic, unbalanced bracket", "[3400007", 31, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    bool answer = !row.expected;
    EXPECT_NO_THROW(answer = f.Grid->CheckType(row.text, row.code));
    EXPECT_EQ(answer, row.expected);
  }
  EXPECT_TRUE(f.Capture.Boxes().empty());
  // Other searches still report a bad pattern.
  EXPECT_THROW(StringManager().RegExMatch("fra(nce", "x"), ERegExError);
}

// ---------------------------------------------------------------------------
// Colour rules

TEST(ColorRules, TheWarningAddedFirstWins) {
  TGridFixture f(1, true);
  f.Grid->AddColColorConstraint(1, 46, kYellow);
  f.Grid->AddColColorConstraint(1, 5, kRed);
  f.Fill({{""}, {"XY1"}, {"FA00001"}});
  EXPECT_EQ(f.Grid->GetCellColor(1, 1), kRed);
  EXPECT_EQ(f.Grid->GetCellColor(1, 2), kYellow);
  EXPECT_EQ(f.Grid->GetCellColor(1, 3), kWhite);
  f.Grid->SetCell(1, 3, "");
  EXPECT_EQ(f.Grid->GetCellColor(1, 3), kRed);
}

TEST(ColorRules, FixedCellsAreNotEvaluated) {
  TGridFixture f(1, true);
  f.Grid->AddColColorConstraint(1, 3, kRed);
  f.Grid->AddColColorConstraint(0, 3, kRed);
  EXPECT_EQ(f.Grid->GetCellColor(1, 0), kWhite);
  EXPECT_EQ(f.Grid->GetCellColor(0, 1), kWhite);
  EXPECT_EQ(f.Grid->GetCellColor(1, 1), kRed);
}

TEST(ColorRules, RowConstraintsAndClearing) {
  TGridFixture f(2, true);
  f.Fill({{"a", "b"}, {"c", "d"}});
  f.Grid->AddRowColorConstraint(2, 7, kYellow);
  EXPECT_EQ(f.Grid->GetCellColor(1, 2), kYellow);
  EXPECT_EQ(f.Grid->GetCellColor(2, 2), kYellow);
  EXPECT_EQ(f.Grid->GetCellColor(1, 1), kWhite);
  f.Grid->ClearColorConstraints();
  EXPECT_EQ(f.Grid->GetCellColor(1, 2), kYellow);  // not recomputed yet
  f.Grid->UpdateRowColors(2);
  EXPECT_EQ(f.Grid->GetCellColor(1, 2), kWhite);
}

TEST(ColorRules, TheDefaultColourIsTheScreensChoice) {
  TGridFixture f(1, true);
  f.Grid->fDefaultColor = 0x00FF00;
  f.Grid->InitColors();
  EXPECT_EQ(f.Grid->GetCellColor(1, 1), 0x00FF00u);
}

TEST(ColorRules, BadIndexesAreReported) {
  TGridFixture f(1, true);
  EXPECT_EQ(f.Grid->GetCellColor(-1, 0), 255u);
  f.Grid->AddColColorConstraint(2, 3, kRed);
  f.Grid->AddRowColorConstraint(2, 3, kRed);
  f.Grid->InitColors(2, 0);
  f.Grid->ExecuteColorconstraints(0, 5);
  f.Grid->ExecuteColorconstraints(4, 0);
  f.Grid->ExecuteColorconstraints(3);
  f.Grid->UpdateRowColors(-1);
  EXPECT_EQ(f.Capture.Boxes(), (std::vector<std::string>{
                                   "*ERROR*TMyStringGrid.GetCellColor: bad params",
                                   "*ERROR*TMyStringGrid.AddColColorConstraint : Bad Col Param : 2",
                                   "*ERROR*TMyStringGrid.AddRowColorConstraint : Bad Row Param : 2",
                                   "*ERROR*TMyStringGrid.InitColors: Bad Params 2 0",
                                   "*ERROR*TMyStringGrid.ExecuteColorconstraints: Bad Params Row 5",
                                   "*ERROR*TMyStringGrid.ExecuteColorconstraints: Bad Params Col 4",
                                   "*ERROR*TMyStringGrid.ExecuteColorconstraints: Bad Params col 3",
                                   "*ERROR*TMyStringGrid.UpdateRowColors: Bad Params Row -1",
                               }));
}

TEST(ColorRules, NothingIsRecolouredWhileAutomaticWorkIsOff) {
  TGridFixture f(1, true);
  f.Grid->AddColColorConstraint(1, 5, kRed);
  f.Fill({{"x"}});
  f.Grid->SetAutomatic(false);
  f.Grid->SetCellForced(1, 1, "");
  EXPECT_EQ(f.Grid->GetCellColor(1, 1), kWhite);
  f.Grid->SetAutomatic(true);
  f.Grid->UpdateDimensions();
  EXPECT_EQ(f.Grid->GetCellColor(1, 1), kRed);
}

// ---------------------------------------------------------------------------
// Painting

const TMemoryGridSurface::TDrawOp* FindFill(const TMemoryGridSurface& s, const TGridRect& rect) {
  for (const auto& op : s.DrawOps)
    if (!op.IsText && op.Rect.Left == rect.Left && op.Rect.Top == rect.Top) return &op;
  return nullptr;
}

const TMemoryGridSurface::TDrawOp* FindText(const TMemoryGridSurface& s, const std::string& text) {
  for (const auto& op : s.DrawOps)
    if (op.IsText && op.Text == text) return &op;
  return nullptr;
}

TEST(Painting, CellsTakeTheirColourTheSelectionIsNavyWithWhiteText) {
  TGridFixture f(2, true);
  f.Grid->setTitles("Code;Nom");
  f.Grid->AddColColorConstraint(1, 5, kRed);
  f.Grid->AddColColorConstraint(2, 6, kYellow);
  f.Fill({{"", "Dupont"}, {"C1", ""}});
  f.Grid->SetCol(2);
  f.Grid->SetRow(1);
  f.Surface.PaintVisibleCells();

  EXPECT_EQ(FindFill(f.Surface, f.Surface.CellRect(1, 1))->Color, kRed);
  EXPECT_EQ(FindFill(f.Surface, f.Surface.CellRect(2, 1))->Color, 0x800000u);  // selected
  EXPECT_EQ(FindText(f.Surface, "Dupont")->Color, 0xFFFFFFu);
  EXPECT_EQ(f.Grid->GetCellColor(2, 1), kYellow);
  EXPECT_EQ(FindFill(f.Surface, f.Surface.CellRect(1, 2))->Color, kWhite);
  EXPECT_EQ(FindFill(f.Surface, f.Surface.CellRect(1, 0))->Color, clBtnFace);
  EXPECT_EQ(FindFill(f.Surface, f.Surface.CellRect(0, 1))->Color, clBtnFace);
  const auto* title = FindText(f.Surface, "Code");
  EXPECT_EQ(title->Color, 0u);
  EXPECT_EQ(title->Font, (TGridFont{0, 8, 0}));
}

TEST(Painting, TextIsCentred) {
  TGridFixture f(1, true);
  f.Fill({{"ABC"}});
  f.Surface.SetColWidth(1, 64);
  f.Surface.DrawOps.clear();
  f.Surface.PaintCell(1, 1);
  const TGridRect r = f.Surface.CellRect(1, 1);
  const auto* op = FindText(f.Surface, "ABC");
  ASSERT_NE(op, nullptr);
  EXPECT_EQ(op->X, (r.Left + r.Right - 21) / 2);
  EXPECT_EQ(op->Y, (r.Top + r.Bottom - 13) / 2);
}

TEST(Painting, TheFormsHandlerRunsAfterThePainting) {
  TTraceCapture capture;
  TMemoryGridSurface surface(2, 2, 1, 1);
  int calls = 0;
  surface.Events.OnDrawCell = [&](int, int, const TGridRect&, TGridDrawState) {
    ++calls;
    EXPECT_FALSE(surface.DrawOps.empty());
  };
  TMyStringGrid grid(&surface);
  surface.PaintCell(1, 1);
  EXPECT_EQ(calls, 1);
}

}  // namespace
