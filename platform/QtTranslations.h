#pragma once

class QCoreApplication;
class QTranslator;

// The toolkit's own texts in French: the print dialog and its options, the
// file dialogs, the buttons of the boxes ("Oui", "Non", "Annuler"). They come
// from the translations Debian installs with qt6-translations-l10n; without
// them the dialogs simply stay in English. Returns the translator installed
// (owned by the application), or nullptr.
QTranslator* InstallFrenchQtTexts(QCoreApplication& app);
