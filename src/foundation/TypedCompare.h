#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The typed comparison of the program (the order of every index and every
// column sort), computed from a classification made once per value.
//
// The kinds follow the shape patterns of the string manager:
//   Integer  "^0$|^-?[1-9][0-9]*$" and fewer than 19 characters (also a real)
//   Real     "^-?0[\.\,][0-9]+$|^0$|^-?[1-9][0-9]*([\.\,][0-9]+)?$"
//   Date     "^[0-9]{2}/[0-9]{2}/[0-9]{4}$"
//   Avoir    "^AV[0-9]{3}[0-9]?$", Devis "^DE[0-9]{4}[0-9]?$", Facture "^FA[0-9]{5}$"
//   Text     anything else
enum class TValueKind : std::uint8_t { Text, Integer, Real, Date, Avoir, Devis, Facture };

struct TTypedKey {
  TValueKind Kind = TValueKind::Text;
  // Integer: the value. Date: year * 10000 + month * 100 + day.
  // Avoir, Devis, Facture: the number after the two letters.
  std::int64_t Int = 0;
  // Integer and Real: the value as MyStrToFloat reads it.
  double Real = 0;
};

TTypedKey ClassifyValue(std::string_view text);

// Hand-written shape tests that answer exactly like the string manager's
// patterns, including "$" matching before one final line break (CR LF, LF,
// CR, VT, FF or NEL 0x85): "12\n" is an integer.
bool TextIsInteger(std::string_view text);  // with the fewer-than-19-characters rule
bool TextIsReal(std::string_view text);
bool TextIsDigits(std::string_view text);
bool TextIsDate(std::string_view text);
bool TextIsAvoirNumber(std::string_view text);
bool TextIsDevisNumber(std::string_view text);
bool TextIsFactureNumber(std::string_view text);

// The value of a text that TextIsReal accepts, comma or point as separator,
// the final line break ignored: the double nearest to the decimal number
// (infinite beyond the double range). 0 for any other text.
double RealValueOf(std::string_view text);

// Length of the text without the one final line break that "$" may stand
// before.
std::size_t LengthBeforeFinalLineBreak(std::string_view text);

// Compare(a, b) for two values whose keys were computed by ClassifyValue.
int CompareClassified(std::string_view a, const TTypedKey& ka, std::string_view b, const TTypedKey& kb);

// Compare(a, b) in one call, for callers that do not keep the keys: the
// values are only read when both texts are of a kind that needs them.
int CompareTyped(std::string_view a, std::string_view b);

// Byte comparison of Windows-1252 texts (unsigned bytes; a prefix is smaller).
int CompareBytes(std::string_view a, std::string_view b);
