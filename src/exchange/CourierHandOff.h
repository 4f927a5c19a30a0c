#pragma once

#include <functional>
#include <optional>
#include <string>

class TMyDatabase;

// The courier hand-off (Chronopost): the parcels of an invoice are weighed
// one by one; each gets a hand-off file on the shipping station's share, its
// tariff added to the shipping total and more invoice copies to print. These
// are the rules; the panel of the piece editor holds the controls.

namespace Courier {
// The client city whose invoices are split per parcel.
inline constexpr const char* ScissionCity = "DOUALA";
// The city whose second-invoice clients get two copies of the invoice.
inline constexpr const char* TwoCopiesCity = "YAOUNDE";
inline constexpr const char* ScissionCaption = "scission en ";
// The editor's total before tax from which a client of the duplicate list
// gets the half-value second invoice.
inline constexpr double SecondInvoiceThreshold = 500.0;
inline constexpr int CopiesPerParcel = 3;
inline constexpr double MaxWeight = 30.0;
}  // namespace Courier

// What the panel shows and counts from its opening on.
struct TCourierState {
  int Parcels = 0;
  // The sum of the parcels' tariffs (`Label25`).
  int Total = 0;
  // The half-value second invoice ("Fa0"), decided at the opening.
  bool SecondInvoice = false;
  // Copies of the invoice and of the second invoice to print.
  int NbFa = 0;
  int NbFa0 = 0;
  // The client's city in capitals (`Label27`).
  std::string City;
  // "Scission" enabled and checked, with its caption.
  bool Scission = false;
  std::string ScissionCaption = "Scission";
};

// True for a client code of exactly four digits.
bool IsCourierClientCode(const std::string& code);

// The state at the opening of the panel for this client and this total
// before tax (the editor's "Total H.T"): the second invoice for a client of
// the duplicate list ("Code") who is not in the no-duplicate list ("Client")
// with a total of at least 500; the city from the client table (empty unless
// exactly one client has the code); 4 copies (2 in YAOUNDE) and 1 of the
// second invoice with it, 2 and 0 without.
TCourierState OpenCourierState(TMyDatabase& dupli, TMyDatabase& noFa, TMyDatabase& clients,
                               const std::string& clientCode, const std::string& totalHT);

// A weight the panel registers: a number above 0 ("0", "0,0" and "-0,0" are
// not) up to 30 kg inclusive.
bool IsParcelWeight(const std::string& weight);

// The tariff step of a weight: rounded up to the next half kilogram and
// written as the tariff table writes it ("0,2" gives "0,5", "1,2" gives
// "1,5", "2" gives "2").
std::string WeightStep(const std::string& weight);

// The "Tarif" of the step in the tariff table ("Poids", exact match); none
// when the table has no such step or its tariff is not an integer.
std::optional<int> LookupTariff(TMyDatabase& tarifs, const std::string& step);

// The hand-off file of a parcel: client code + "-" + a random number + ".txt"
// in the station's folder, holding the client code and the weight as typed,
// each on a line ended by CR LF. An existing file of that name is replaced.
std::string HandOffFileName(const std::string& folder, const std::string& clientCode, int random);
std::string HandOffContents(const std::string& clientCode, const std::string& weight);

enum class TParcelResult {
  // The code or the weight does not allow a parcel: nothing happened.
  Ignored,
  // The station's folder is not configured or the file could not be
  // written: reported, the parcel neither counted nor priced.
  NotWritten,
  // Written and counted, but the weight step has no tariff: reported, the
  // total left as it was.
  NoTariff,
  Registered
};

// Registers a parcel: writes its hand-off file into folder (the station's
// "C$/Chronopost-Tampon/", empty when the installation names no station),
// counts it, adds its tariff, adds 3 copies (to the second invoice's when the
// state has one, else to the invoice's) and, in DOUALA from the second
// parcel on, checks "Scission" with the caption "scission en " + parcels.
// random gives the file's number, from 0 to 9999999.
TParcelResult RegisterParcel(TCourierState& state, const std::string& clientCode, const std::string& weight,
                             const std::string& folder, TMyDatabase& tarifs, const std::function<int()>& random);

// A random number from 0 to 9999999 for the hand-off files' names.
int HandOffRandom();
