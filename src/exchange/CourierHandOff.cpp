#include "CourierHandOff.h"

#include <QRandomGenerator>

#include "Catalogue.h"
#include "FileUtils.h"
#include "MyDatabase.h"
#include "MyList.h"
#include "StringManager.h"
#include "Trace.h"

namespace {

constexpr const char* kUnit = "TQuorix_Form.Launch_Chronopost : ";

bool Found(TMyDatabase& table, const char* field, const std::string& value) {
  if (table.FieldCount() == 0) return false;
  table.Query(field, value, Exact);
  return table.QueryResultCount() > 0;
}

// Capitals as the system makes them: a to z only.
std::string Capitals(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

}  // namespace

bool IsCourierClientCode(const std::string& code) { return code.size() == 4 && StringManager().IsDigits(code); }

TCourierState OpenCourierState(TMyDatabase& dupli, TMyDatabase& noFa, TMyDatabase& clients,
                               const std::string& clientCode, const std::string& totalHT) {
  TStringManager& sm = StringManager();
  TCourierState state;
  const double total = sm.IsReal(totalHT) ? sm.MyStrToFloat(totalHT) : 0.0;
  state.SecondInvoice = Found(dupli, Catalogue::Dupli::Code, clientCode) &&
                        !Found(noFa, Catalogue::NoFa::Client, clientCode) && total >= Courier::SecondInvoiceThreshold;
  if (clients.FieldCount() > 0) {
    clients.Query(Catalogue::Clients::Code, clientCode, Exact);
    if (clients.QueryResultCount() == 1) state.City = Capitals(clients.GetQueryResultString(Catalogue::Clients::Ville, 0));
  }
  if (state.SecondInvoice) {
    state.NbFa = state.City == Courier::TwoCopiesCity ? 2 : 4;
    state.NbFa0 = 1;
  } else {
    state.NbFa = 2;
    state.NbFa0 = 0;
  }
  return state;
}

bool IsParcelWeight(const std::string& weight) {
  TStringManager& sm = StringManager();
  if (!sm.IsReal(weight)) return false;
  // "0,0" or "-0,0" weighs no more than "0": such a parcel has no tariff
  // step, so it is refused before its hand-off file is written.
  const double value = sm.MyStrToFloat(weight);
  return value > 0.0 && value <= Courier::MaxWeight;
}

std::string WeightStep(const std::string& weight) {
  TStringManager& sm = StringManager();
  return sm.RealToText(RoundUpToHalf(sm.MyStrToFloat(weight)));
}

std::optional<int> LookupTariff(TMyDatabase& tarifs, const std::string& step) {
  if (!Found(tarifs, Catalogue::TarifsChronopost::Poids, step)) return std::nullopt;
  const std::string tarif = tarifs.GetQueryResultString(Catalogue::TarifsChronopost::Tarif, 0);
  if (!StringManager().IsInteger(tarif)) return std::nullopt;
  return StringManager().MyStrToInt(tarif);
}

std::string HandOffFileName(const std::string& folder, const std::string& clientCode, int random) {
  return folder + clientCode + "-" + IntToStr(random) + ".txt";
}

std::string HandOffContents(const std::string& clientCode, const std::string& weight) {
  return clientCode + "\r\n" + weight + "\r\n";
}

TParcelResult RegisterParcel(TCourierState& state, const std::string& clientCode, const std::string& weight,
                             const std::string& folder, TMyDatabase& tarifs, const std::function<int()>& random) {
  if (!IsCourierClientCode(clientCode) || !IsParcelWeight(weight)) return TParcelResult::Ignored;
  if (folder.empty()) {
    ShowMessage("Station Chronopost non configur\xE9" "e : indiquez son dossier (cl\xE9 StationChronopost de la "
                "section [Partages] de " +
                std::string(Catalogue::Settings::File) + "). Colis non enregistr\xE9.");
    return TParcelResult::NotWritten;
  }
  const std::string file = HandOffFileName(folder, clientCode, random ? random() : HandOffRandom());
  // The folder is the station's share: it is never made here, so that an
  // unmounted share is not mistaken for an empty one.
  if (!DirectoryExists(folder) || !WriteFileAtomically(file, HandOffContents(clientCode, weight))) {
    ShowMessage("Impossible de cr\xE9" "er le fichier " + file + " sur la station Chronopost. Colis non enregistr\xE9.");
    return TParcelResult::NotWritten;
  }
  ++state.Parcels;

  TParcelResult result = TParcelResult::Registered;
  const std::string step = WeightStep(weight);
  if (const std::optional<int> tarif = LookupTariff(tarifs, step)) {
    state.Total += *tarif;
  } else {
    Warning(std::string(kUnit) + "pas de tarif pour " + step);
    ShowMessage("Pas de tarif Chronopost pour " + step + " kg : le total n'a pas chang\xE9.");
    result = TParcelResult::NoTariff;
  }

  if (state.SecondInvoice) {
    state.NbFa0 += Courier::CopiesPerParcel;
  } else {
    state.NbFa += Courier::CopiesPerParcel;
  }
  if (state.City == Courier::ScissionCity && state.Parcels > 1) {
    state.Scission = true;
    state.ScissionCaption = Courier::ScissionCaption + IntToStr(state.Parcels);
  }
  return result;
}

int HandOffRandom() { return static_cast<int>(QRandomGenerator::global()->bounded(10000000)); }
