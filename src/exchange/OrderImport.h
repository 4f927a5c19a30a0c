#pragma once

#include <string>
#include <vector>

#include "StringManager.h"

class TMyDatabase;
class TMyStringGrid;

// Customer orders dropped as text files into "Data/Importation/Todo" of the
// working folder, one order per file, and moved to "Data/Importation/Done"
// once imported. Each line of an order becomes one line of the piece editor:
// a seven-digit CIP code, a quantity of one to three digits, or the first word
// of an article name, recognised by five regular expressions. No widget here:
// the main window opens the new piece and hands its lines grid over.

// The five expressions, matched as written (greedy, case-sensitive) on one
// line, inside which only CR and LF could be line breaks: a "..." (byte 0x85),
// a form feed or a vertical tab is text like any other.
namespace OrderPatterns {
// Seven digits, each optionally followed by one blank and then one point; the
// greedy ".*" before them takes the last such run of the line.
inline constexpr const char* Code = "^.*(([0-9] ?\\.?){7}).*$";
// One to three digits after a blank, ending the line.
inline constexpr const char* QuantityAtEnd = "^.* ([0-9]{1,3})$";
// One to three digits beginning the line, followed by a blank.
inline constexpr const char* QuantityAtStart = "^([0-9]{1,3}) .*$";
// The first run of letters when the line begins with a letter.
inline constexpr const char* NameAtStart = "^([a-zA-Z]+).*$";
// The first run of letters after a leading run of digits and blanks.
inline constexpr const char* NameAfterNumbers = "^[0-9 ]+ ([a-zA-Z]+).*$";
}  // namespace OrderPatterns

// A line as it is recognised: tabs become blanks, two blanks become one in a
// single pass that does not look at its own output (four blanks give two,
// three give two), then the blanks at both ends go.
std::string NormaliseOrderLine(const std::string& line);

// What is found on a normalised line, already cleaned: the code (below), the
// quantity without blanks and leading zeros ("007" gives "7", "000" gives
// "0"; the quantity at the start of the line wins over the one at its end),
// the name in upper case. A name is looked for only when no code was found.
// Only digits and the letters A to Z reach these texts, so nothing of a line
// can bring a ";" into the editor's cells.
struct TOrderLineMatch {
  bool HasCode = false;
  std::string Code;
  bool HasQuantity = false;
  std::string Quantite;
  bool HasName = false;
  std::string Name;
  // An expression stopped at the pattern library's limits on this line, so
  // what it would have found is missing.
  bool LimitHit = false;
};

// The reading of order lines, its expressions compiled once for an order.
// The code is first what ReadArticleCode finds (a run of exactly seven
// digits that is a valid CIP, a CIP13, a GS1 string), so that the common
// "3408919 12" reads the code 3408919 and the quantity 12; a box code with
// a wrong check digit (a misread scan) gives no code at all, rather than
// seven of its digits; only a line without any of these is read by the
// code expression, which takes the last seven
// digits that may be separated by single blanks and points ("3.400.936",
// and "3400936 12", whose check digit is wrong, gives 0093612), without its
// points and blanks.
class TOrderLineReader {
public:
  TOrderLineReader();
  TOrderLineMatch Read(const std::string& normalisedLine);

private:
  bool Match(TCompiledPattern& pattern, const std::string& line, TOrderLineMatch& match);

  TCompiledPattern fCode;
  TCompiledPattern fQuantityAtEnd;
  TCompiledPattern fQuantityAtStart;
  TCompiledPattern fNameAtStart;
  TCompiledPattern fNameAfterNumbers;
};

// Fills the editor's lines grid from the lines of an order: one grid row per
// line (recognised or not; one empty row for an empty order), after the
// grid's fixed rows. A code found in the articles ("Code", Exact) brings the
// article's designation and "Prix Vente"; a name brings code, designation
// and price only when exactly one designation begins with it (Prefix); a
// line with both a quantity and a price gets its amount. "Code",
// "Designation", "Quantite" and "Prix Uni. TTC" are written like typed
// cells, "Montant TTC" (read-only in the editor) past the read-only check.
// The grid is refreshed once at the end. A line an expression could not
// read to its end (the pattern library's limits) is reported once per order
// with its number; the limits of ReadOrderFile keep lines far below that.
void FillOrderLines(TMyStringGrid& lines, TMyDatabase& articles, const std::vector<std::string>& orderLines);

// "Montant TTC" of an imported line: the price as a real times the quantity as
// an integer, with the decimal comma and exactly two decimals.
std::string OrderLineAmount(const std::string& prix, const std::string& quantite);

// The lines of an order file's bytes: split at CR LF, LF or CR, no empty last
// line for a final line break.
std::vector<std::string> OrderFileLines(const std::string& bytes);

// What an order may hold: far more than any customer's order, and little
// enough that the editor's lines, their checks and the save stay quick.
namespace OrderLimits {
inline constexpr std::size_t MaxLines = 2000;
inline constexpr std::size_t MaxLineLength = 1000;
// No order within both limits is longer (each line with its CR LF).
inline constexpr std::size_t MaxBytes = MaxLines * (MaxLineLength + 2);
}  // namespace OrderLimits

// Why an order cannot be imported as it is.
enum class TOrderRefusal {
  None,
  Unreadable,
  // A NUL byte: UTF-16 or UTF-32 text, or not text at all.
  NulByte,
  // Text in a multi-byte encoding: a UTF-16 or UTF-8 byte order mark, or a
  // text that is valid UTF-8 and holds characters of two bytes or more (a
  // Windows-1252 text with accents is almost never valid UTF-8).
  NotSingleByte,
  TooLarge,
  TooManyLines,
  LineTooLong
};

struct TOrderFile {
  TOrderRefusal Refusal = TOrderRefusal::None;
  std::vector<std::string> Lines;
};

// The lines of an order's bytes, or why it is refused; first reason found.
TOrderFile CheckOrderBytes(const std::string& bytes);

// Reads the waiting order of that name. A refused order is reported in one
// box naming it and the reason ("... : commande laissee en attente"); the
// caller imports nothing of it and leaves it waiting.
TOrderFile ReadWaitingOrder(const std::string& name);

// The waiting orders: names of the "*.txt" files (letter case ignored) of the
// waiting folder, in the order they are imported (by name).
std::vector<std::string> WaitingOrders();
// The first waiting order, or an empty text when none waits.
std::string FirstWaitingOrder();

// Moves an imported order from the waiting folder to the done folder (made
// when missing). A name already used there gets a counter before its
// extension ("commande.txt" goes in as "commande_1.txt"), so that an order
// never stays waiting to be imported a second time. Gives the name under
// which the order now lies in the done folder, or an empty text when it
// could not be moved (reported).
std::string MoveOrderToDone(const std::string& name);

// Puts an order back in the waiting folder when the piece made of it was not
// saved: doneName as MoveOrderToDone gave it, name the order's own name
// (with a counter before its extension should another order of that name be
// waiting by then). False when it could not be moved (reported).
bool MoveOrderBackToWaiting(const std::string& doneName, const std::string& name);

// An imported order lies in the done folder while its piece is open and not
// yet saved. A program that ends without closing (killed, power cut) would
// leave it there, neither waiting nor made into a piece: the order is noted
// in a file of its own while it is held, the note dropped when the piece is
// saved or the order put back, and an order still noted at the next start
// waits again.
void NoteOrderHeld(const std::string& doneName, const std::string& name);
void ForgetHeldOrder();
// At start: the order a program that ended without closing left held goes
// back to the waiting folder. Its name, or an empty text when none was held
// (or it could not be put back: reported, and tried again at the next start).
std::string GiveBackOrderLeftHeld();
