#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StringManager.h"
#include "TypedCompare.h"

namespace {

int Sign(int n) { return n < 0 ? -1 : (n > 0 ? 1 : 0); }

}  // namespace

struct TCompareRow {
  const char* Name;
  const char* A;
  const char* B;
  int Expected;  // sign
};

TEST(TypedCompare, RulesAcrossKinds) {
  const std::vector<TCompareRow> rows = {
      {"identical", "abc", "abc", 0},
      {"integers", "9", "10", -1},
      {"integersReverse", "10", "9", 1},
      {"negativeIntegers", "-10", "-9", -1},
      {"bigIntegers", "123456789012345678", "123456789012345677", 1},
      {"integerAgainstReal", "9", "2,5", 1},
      {"realsWithPointAndComma", "2.5", "2,25", 1},
      {"sameRealTwoSeparators", "2.5", "2,5", 0},
      {"sameIntegerLineBreak", "12", "12\n", 0},
      {"integerAgainstText", "10", "abc", -1},
      {"textAgainstInteger", "abc", "10", 1},
      {"leadingZeroIsText", "012", "9", -1},
      {"dates", "01/02/2024", "15/01/2024", 1},
      {"datesAcrossYears", "31/12/2023", "01/01/2024", -1},
      {"dateAgainstInteger", "01/02/2024", "5", -1},
      {"avoirs", "AV999", "AV1000", -1},
      {"devis", "DE99999", "DE1000", 1},
      {"factures", "FA00010", "FA00009", 1},
      {"avoirAgainstFacture", "AV999", "FA00001", -1},
      {"factureAgainstText", "FA00010", "FA0009x", -1},
      {"bytesCaseSensitive", "B", "a", -1},
      {"bytesAccentAfterAscii", "a", "é", -1},
      {"bytesAccents", "é", "è", 1},
      {"prefixIsSmaller", "Cr", "Crème", -1},
      {"empty", "", "a", -1},
      // 19-character integers are reals: their doubles are equal.
      {"longIntegersAsReals", "1234567890123456789", "1234567890123456788", 0},
  };
  for (const TCompareRow& row : rows) {
    EXPECT_EQ(Sign(StringManager().Compare(row.A, row.B)), row.Expected) << row.Name;
    EXPECT_EQ(Sign(StringManager().Compare(row.B, row.A)), -row.Expected) << row.Name;
    EXPECT_EQ(Sign(StringManager().CompareByPatterns(row.A, row.B)), row.Expected) << row.Name;
  }
}

TEST(TypedCompare, ByteOrderOfWindows1252) {
  // "B" 0x42 < "a" 0x61 < "é" 0xE9: bytes compare unsigned.
  const std::string e = "é";
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(static_cast<unsigned char>(e[0]), 0xE9);
  EXPECT_LT(CompareBytes("B", "a"), 0);
  EXPECT_LT(CompareBytes("a", "é"), 0);
  EXPECT_LT(CompareBytes("z", "\x80"), 0);
  EXPECT_GT(CompareBytes(std::string_view("a\0b", 3), std::string_view("a\0a", 3)), 0);
  EXPECT_EQ(CompareBytes("", ""), 0);
}

TEST(TypedCompare, PrefixComparison) {
  TStringManager& s = StringManager();
  EXPECT_EQ(s.ComparePrefix("ABC", "AB"), 0);
  EXPECT_EQ(s.ComparePrefix("AB", "ABC"), 0);
  EXPECT_LT(s.ComparePrefix("ABC", "ABD"), 0);
  EXPECT_LT(s.ComparePrefix("", "A"), 0);
  EXPECT_GT(s.ComparePrefix("A", ""), 0);
  EXPECT_EQ(s.ComparePrefix("", ""), 0);
  EXPECT_EQ(s.ComparePrefix("Crè", "Crème"), 0);
  // Prefix search is by bytes: "10" does not begin "9".
  EXPECT_LT(s.ComparePrefix("10", "9"), 0);
}

TEST(TypedCompare, ClassificationKeys) {
  struct TRow {
    const char* Text;
    TValueKind Kind;
    long long Int;
    double Real;
  };
  const std::vector<TRow> rows = {
      {"42", TValueKind::Integer, 42, 42.0},
      {"-7\r\n", TValueKind::Integer, -7, -7.0},
      {"0", TValueKind::Integer, 0, 0.0},
      {"3,25", TValueKind::Real, 0, 3.25},
      {"-0.5", TValueKind::Real, 0, -0.5},
      {"1234567890123456789", TValueKind::Real, 0, 1234567890123456789.0},
      {"08/12/2026", TValueKind::Date, 20261208, 0},
      {"AV0999", TValueKind::Avoir, 999, 0},
      {"DE12345", TValueKind::Devis, 12345, 0},
      {"FA31702\n", TValueKind::Facture, 31702, 0},
      {"FA3170", TValueKind::Text, 0, 0},
      {"Doliprane", TValueKind::Text, 0, 0},
      {"", TValueKind::Text, 0, 0},
  };
  for (const TRow& row : rows) {
    const TTypedKey key = ClassifyValue(row.Text);
    EXPECT_EQ(key.Kind, row.Kind) << row.Text;
    if (row.Kind != TValueKind::Real && row.Kind != TValueKind::Text) {
      EXPECT_EQ(key.Int, row.Int) << row.Text;
    }
    if (row.Kind == TValueKind::Integer || row.Kind == TValueKind::Real) {
      EXPECT_EQ(key.Real, row.Real) << row.Text;
    }
  }
}

TEST(TypedCompare, RealsBeyondTheDoubleRange) {
  const std::string huge = "1" + std::string(400, '0');
  const std::string tiny = "0," + std::string(400, '0') + "1";
  EXPECT_TRUE(TextIsReal(huge));
  EXPECT_GT(StringManager().Compare(huge, "5"), 0);
  EXPECT_LT(StringManager().Compare("-" + huge, "-5"), 0);
  EXPECT_LT(StringManager().Compare(tiny, "0,5"), 0);
  EXPECT_EQ(StringManager().Compare(tiny, "0"), 0);
  EXPECT_EQ(StringManager().Compare(huge, huge + "1"), 0);
}
