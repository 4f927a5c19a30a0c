#include "PaymentTerms.h"

#include "Trace.h"

const char* EcheanceWord(TEcheance term) {
  switch (term) {
    case TEcheance::Comptant: return Echeances::Comptant;
    case TEcheance::Quinzaine: return Echeances::Quinzaine;
    case TEcheance::TrenteJours: break;
  }
  return Echeances::TrenteJours;
}

TEcheance EcheanceOf(const std::string& term) {
  if (term == Echeances::Comptant) return TEcheance::Comptant;
  if (term == Echeances::Quinzaine) return TEcheance::Quinzaine;
  return TEcheance::TrenteJours;
}

TDateTime DueDate(const std::string& term, TDateTime date) {
  if (term == Echeances::Comptant) return date + 7;
  if (term == Echeances::Quinzaine) return date + 15;
  if (!term.empty() && term != Echeances::TrenteJours) ShowMessage("Echeance non valide, Parametrage à 30 jours");
  return date + 30;
}
