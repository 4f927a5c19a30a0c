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

// The five expressions, matched as written (greedy, case-sensitive).
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

// What the expressions find on a normalised line, already cleaned: the code
// without its points and blanks, the quantity without blanks and leading
// zeros ("007" gives "7", "000" gives "0"; the quantity at the start of the
// line wins over the one at its end), the name in upper case. A name is
// looked for only when no code was found.
struct TOrderLineMatch {
  bool HasCode = false;
  std::string Code;
  bool HasQuantity = false;
  std::string Quantite;
  bool HasName = false;
  std::string Name;
};

// The five expressions, compiled once for a whole order.
class TOrderLineReader {
public:
  TOrderLineReader();
  TOrderLineMatch Read(const std::string& normalisedLine);

private:
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
// The grid is refreshed once at the end.
void FillOrderLines(TMyStringGrid& lines, TMyDatabase& articles, const std::vector<std::string>& orderLines);

// "Montant TTC" of an imported line: the price as a real times the quantity as
// an integer, with the decimal comma and exactly two decimals.
std::string OrderLineAmount(const std::string& prix, const std::string& quantite);

// The lines of an order file's bytes: split at CR LF, LF or CR, no empty last
// line for a final line break.
std::vector<std::string> OrderFileLines(const std::string& bytes);

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
