#pragma once

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

// Compare(a, b) for two values whose keys were computed by ClassifyValue.
int CompareClassified(std::string_view a, const TTypedKey& ka, std::string_view b, const TTypedKey& kb);

// Byte comparison of Windows-1252 texts (unsigned bytes; a prefix is smaller).
int CompareBytes(std::string_view a, std::string_view b);
