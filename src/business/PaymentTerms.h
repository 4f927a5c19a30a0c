#pragma once

#include <string>

#include "DateTime.h"

// A client's payment term ("Echeance"), stored as one of three words or
// empty, and shown as three radio buttons on the client panel.
enum class TEcheance { TrenteJours, Comptant, Quinzaine };

namespace Echeances {
inline constexpr const char* TrenteJours = "30Jours";
inline constexpr const char* Comptant = "Comptant";
inline constexpr const char* Quinzaine = "Quinzaine";
}  // namespace Echeances

// The word stored for a choice.
const char* EcheanceWord(TEcheance term);
// The button a stored word checks: "Comptant" and "Quinzaine" theirs, any
// other word (empty and unknown ones too) the thirty days.
TEcheance EcheanceOf(const std::string& term);

// The date a piece of that date is due: seven days for "Comptant", fifteen
// for "Quinzaine", thirty otherwise. A word that is none of the three and not
// empty first shows "Echeance non valide, Parametrage à 30 jours".
TDateTime DueDate(const std::string& term, TDateTime date);
