#pragma once

// The cell types: what a text is tested for, by TMyStringGrid::CheckType and
// by the colour constraints that paint a cell light yellow or red when its
// type holds. The numbers are those the system has always used.
enum TCellType : int {
  ctInteger = 0,
  ctReal = 1,
  ctBoolean = 2,
  ctAnyText = 3,
  ctNoText = 4,
  ctEmpty = 5,
  ctNotEmpty = 6,
  // Holds for any text as ctAnyText does; the statistics replies shade
  // whole rows with it.
  ctShadedRow = 7,
  ctNaturalInteger = 8,
  ctPositiveInteger = 9,
  ctNonPositiveInteger = 10,
  ctIntegerOrEmpty = 11,
  ctDigits = 12,
  ctNonNegativeReal = 13,
  ctNonNegativeRealOrEmpty = 14,
  ctPositiveReal = 15,
  // A real, or an integer followed by the decimal separator (a real being
  // typed).
  ctRealBeingTyped = 16,
  ctRealBeingTypedOrEmpty = 17,
  ctRealOfAtLeastOne = 18,
  ctNonPositiveReal = 19,
  ctNegativeReal = 20,
  ctPhoneOrEmpty = 21,
  ctEmailOrEmpty = 22,
  ctListedCountry = 23,
  ctThirteenCharacters = 24,
  // Four digits.
  ctClientCode = 25,
  ctCIP = 26,
  ctDate = 27,
  ctCIPNotPsychotrope = 28,
  // A CIP on the psychotropic list, or no CIP at all.
  ctPsychotropeIfCIP = 29,
  ctPsychotrope = 30,
  ctStupefiant = 31,
  ctPsychotropeIfCIPOrEmpty = 32,
  // A CIP that does not begin with 3: parapharmacy.
  ctParapharmacy = 33,
  ctFactureNumber = 34,
  ctDevisNumber = 35,
  ctAvoirNumber = 36,
  ctNotReal = 37,
  ctNotDigits = 38,
  ctNotPhone = 39,
  ctNotCIP = 40,
  ctNotClientCode = 41,
  ctNotClientCodeNorEmpty = 42,
  ctNotPhoneNorEmpty = 43,
  ctNotCIPNorEmpty = 44,
  ctNotRealOfAtLeastOne = 45,
  ctNotFactureNumberNorEmpty = 46,
  ctNotDevisNumberNorEmpty = 47,
  ctNotAvoirNumberNorEmpty = 48,
  ctNotEmailNorEmpty = 49,
  ctNotDate = 50,
  ctNotInteger = 51,
  ctListedCountryOrEmpty = 52,
  ctNotListedCountryNorEmpty = 53,
  // The text holds ";", CR, LF or NUL, which no table value may hold: an
  // edit or a cell that is stored shows it red.
  ctFieldBreak = 54,
};
