#pragma once

#include <cstddef>

#include "Trace.h"

// Every file, folder and table field of the system, named once. Code that
// opens a table, builds a path or reads a field by name uses these constants,
// so that no path or field name is spelled anywhere else.
//
// Paths are relative to the working directory and written as the system has
// always written them: "/" separators and a leading "./", except the import
// folders, whose "\" form is kept beside the form this platform opens. The
// barcode picture folder is spelled with a lower-case "data".
//
// The system addresses fields by name only: the order of the fields in a
// table file is the order of its header line, whatever it is. Only the line
// files of the pieces are created by the system, with the headers below.
namespace Catalogue {

// Field names, each spelled once; the table namespaces below say which
// table has which.
namespace Field {
inline constexpr const char* Code = "Code";
inline constexpr const char* Designation = "Designation";
inline constexpr const char* PrixAchat = "Prix Achat";
inline constexpr const char* PrixVente = "Prix Vente";
inline constexpr const char* Coef = "Coef";
inline constexpr const char* Poids = "Poids";
inline constexpr const char* CodeBarre = "Code Barre";
inline constexpr const char* Societe = "Societe";
inline constexpr const char* Telephone = "Telephone";
inline constexpr const char* Fax = "Fax";
inline constexpr const char* Portable = "Portable";
inline constexpr const char* Adresse1 = "Adresse 1";
inline constexpr const char* Adresse2 = "Adresse 2";
inline constexpr const char* Adresse3 = "Adresse 3";
inline constexpr const char* Ville = "Ville";
inline constexpr const char* Pays = "Pays";
inline constexpr const char* ImmTVA = "Imm. TVA";
inline constexpr const char* Email = "E-mail";
inline constexpr const char* CodePostal = "Code postal";
inline constexpr const char* SocieteLivraison = "Societe livraison";
inline constexpr const char* Adresse1Livraison = "Adresse 1 livraison";
inline constexpr const char* Adresse2Livraison = "Adresse 2 livraison";
inline constexpr const char* Adresse3Livraison = "Adresse 3 livraison";
inline constexpr const char* CodePostalLivraison = "Code postal livraison";
inline constexpr const char* VilleLivraison = "Ville livraison";
inline constexpr const char* PaysLivraison = "Pays livraison";
inline constexpr const char* Echeance = "Echeance";
inline constexpr const char* Contact = "Contact";
inline constexpr const char* NumFacture = "Num Facture";
inline constexpr const char* NumDevis = "Num Devis";
inline constexpr const char* NumAvoir = "Num Avoir";
inline constexpr const char* Date = "Date";
inline constexpr const char* CodeClient = "Code client";
inline constexpr const char* Port = "Port";
inline constexpr const char* TotalHT = "Total HT";
inline constexpr const char* TotalTTC = "Total TTC";
inline constexpr const char* Client = "Client";
inline constexpr const char* Tarif = "Tarif";
inline constexpr const char* Quantite = "Quantite";
inline constexpr const char* PrixUniTTC = "Prix Uni. TTC";
inline constexpr const char* MontantTTC = "Montant TTC";
inline constexpr const char* NomPays = "Nom Pays";
inline constexpr const char* CIPPsychotrope = "CIP Psychotrope";
inline constexpr const char* CIPStupefiant = "CIP Stupefiant";
inline constexpr const char* Fichier = "Fichier";
}  // namespace Field

// The data folder.
inline constexpr const char* DataFolder = "./Data";
inline constexpr const char* DataFolderSlash = "./Data/";
inline constexpr const char* TableExtension = ".db";
// Every file of a folder, as the history and clean-up enumerations ask.
inline constexpr const char* AllFiles = "*.*";

// ---------------------------------------------------------------------------
// Main tables, in the order they are loaded at start-up.

namespace Articles {
inline constexpr const char* File = "./Data/BaseDeDonneeArticles.db";
inline constexpr const char* Code = Field::Code;  // CIP code, the key
inline constexpr const char* Designation = Field::Designation;
inline constexpr const char* PrixAchat = Field::PrixAchat;
inline constexpr const char* PrixVente = Field::PrixVente;
inline constexpr const char* Coef = Field::Coef;
inline constexpr const char* Poids = Field::Poids;
inline constexpr const char* CodeBarre = Field::CodeBarre;
// In the order the article screen writes them.
inline constexpr const char* const Fields[] = {Code, Designation, PrixAchat, PrixVente, Coef, Poids, CodeBarre};
}  // namespace Articles

namespace Clients {
inline constexpr const char* File = "./Data/BaseDeDonneesClients.db";
inline constexpr const char* Code = Field::Code;  // the key
inline constexpr const char* Societe = Field::Societe;
inline constexpr const char* Telephone = Field::Telephone;
inline constexpr const char* Fax = Field::Fax;
inline constexpr const char* Portable = Field::Portable;
inline constexpr const char* Adresse1 = Field::Adresse1;
inline constexpr const char* Adresse2 = Field::Adresse2;
inline constexpr const char* Adresse3 = Field::Adresse3;
inline constexpr const char* Ville = Field::Ville;
inline constexpr const char* Pays = Field::Pays;
inline constexpr const char* ImmTVA = Field::ImmTVA;
inline constexpr const char* Email = Field::Email;
inline constexpr const char* CodePostal = Field::CodePostal;
inline constexpr const char* SocieteLivraison = Field::SocieteLivraison;
inline constexpr const char* Adresse1Livraison = Field::Adresse1Livraison;
inline constexpr const char* Adresse2Livraison = Field::Adresse2Livraison;
inline constexpr const char* Adresse3Livraison = Field::Adresse3Livraison;
inline constexpr const char* CodePostalLivraison = Field::CodePostalLivraison;
inline constexpr const char* VilleLivraison = Field::VilleLivraison;
inline constexpr const char* PaysLivraison = Field::PaysLivraison;
inline constexpr const char* Echeance = Field::Echeance;
// Read only (search and client print).
inline constexpr const char* Contact = Field::Contact;
// The fields the client screen writes, in its order.
inline constexpr const char* const Fields[] = {
    Code, Societe, Telephone, Fax, Portable, Adresse1, Adresse2, Adresse3, Ville, Pays, ImmTVA, Email, CodePostal,
    SocieteLivraison, Adresse1Livraison, Adresse2Livraison, Adresse3Livraison, CodePostalLivraison, VilleLivraison,
    PaysLivraison, Echeance};
// The fields the client search runs its pattern on.
inline constexpr const char* const SearchFields[] = {Code,   Societe,   Contact, Adresse1, Adresse2,
                                                     Adresse3, CodePostal, Ville, Pays,     Telephone,
                                                     Fax,    Portable,  ImmTVA,  Email};
}  // namespace Clients

namespace Factures {
inline constexpr const char* File = "./Data/BaseDeDonneesFactures.db";
inline constexpr const char* NumFacture = Field::NumFacture;  // the key
inline constexpr const char* Date = Field::Date;
inline constexpr const char* CodeClient = Field::CodeClient;
inline constexpr const char* Societe = Field::Societe;
inline constexpr const char* Port = Field::Port;
inline constexpr const char* Poids = Field::Poids;
inline constexpr const char* TotalHT = Field::TotalHT;
inline constexpr const char* TotalTTC = Field::TotalTTC;
inline constexpr const char* const Fields[] = {NumFacture, Date, CodeClient, Societe, Port, Poids, TotalHT, TotalTTC};
// The clean-up's pattern for the invoice numbers it deletes (the special
// duplicates).
inline constexpr const char* CleanUpPattern = "^FA0.*";
}  // namespace Factures

namespace Devis {
inline constexpr const char* File = "./Data/BaseDeDonneesDevis.db";
inline constexpr const char* NumDevis = Field::NumDevis;  // the key
inline constexpr const char* Date = Field::Date;
inline constexpr const char* CodeClient = Field::CodeClient;
inline constexpr const char* Societe = Field::Societe;
inline constexpr const char* Port = Field::Port;
inline constexpr const char* Poids = Field::Poids;
inline constexpr const char* TotalHT = Field::TotalHT;
inline constexpr const char* TotalTTC = Field::TotalTTC;
inline constexpr const char* const Fields[] = {NumDevis, Date, CodeClient, Societe, Port, Poids, TotalHT, TotalTTC};
}  // namespace Devis

namespace Avoirs {
inline constexpr const char* File = "./Data/BaseDeDonneesAvoirs.db";
inline constexpr const char* NumAvoir = Field::NumAvoir;  // the key
inline constexpr const char* Date = Field::Date;
inline constexpr const char* CodeClient = Field::CodeClient;
inline constexpr const char* Societe = Field::Societe;
inline constexpr const char* TotalTTC = Field::TotalTTC;
// Written by the piece save only when the file's header has them.
inline constexpr const char* Port = Field::Port;
inline constexpr const char* Poids = Field::Poids;
inline constexpr const char* TotalHT = Field::TotalHT;
// The fields the credit-note list reads.
inline constexpr const char* const Fields[] = {NumAvoir, Date, CodeClient, Societe, TotalTTC};
}  // namespace Avoirs

// Client codes recorded by the duplicate-invoice operations.
namespace Dupli {
inline constexpr const char* File = "./Data/BaseDeDonneesDupli.db";
inline constexpr const char* Code = Field::Code;
}  // namespace Dupli

// Client codes for which no duplicate invoice is made (maintained outside).
namespace NoFa {
inline constexpr const char* File = "./Data/BaseDeDonneesNoFa.db";
inline constexpr const char* Client = Field::Client;
}  // namespace NoFa

// Client codes of the clients supplied through Ubipharm.
namespace Ubipharm {
inline constexpr const char* File = "./Data/BaseDeDonneesUbipharm.db";
inline constexpr const char* Code = Field::Code;
}  // namespace Ubipharm

// The Chronopost tariff, one record per weight step (maintained outside).
namespace TarifsChronopost {
inline constexpr const char* File = "./Data/BaseDeDonneesTarifsChronopost.db";
inline constexpr const char* Poids = Field::Poids;
inline constexpr const char* Tarif = Field::Tarif;
}  // namespace TarifsChronopost

// The nine main tables in their loading order.
inline constexpr const char* const MainTables[] = {Articles::File, Clients::File,  Factures::File,
                                                   Devis::File,    Avoirs::File,   Dupli::File,
                                                   NoFa::File,     Ubipharm::File, TarifsChronopost::File};

// ---------------------------------------------------------------------------
// Piece line files: one table per piece, named piece number + ".db" in the
// folder of its kind, created anew by each save with the header below.

// The fields every line file has after its piece number.
namespace PieceLines {
inline constexpr const char* Quantite = Field::Quantite;
inline constexpr const char* Code = Field::Code;
inline constexpr const char* Designation = Field::Designation;
inline constexpr const char* PrixUniTTC = Field::PrixUniTTC;
inline constexpr const char* MontantTTC = Field::MontantTTC;
}  // namespace PieceLines

namespace FactureLines {
inline constexpr const char* Folder = "./Data/Factures/";
inline constexpr const char* Header = "Num Facture;Quantite;Code;Designation;Prix Uni. TTC;Montant TTC";
inline constexpr const char* NumFacture = Field::NumFacture;
}  // namespace FactureLines

namespace DevisLines {
inline constexpr const char* Folder = "./Data/Devis/";
inline constexpr const char* Header = "Num Devis;Quantite;Code;Designation;Prix Uni. TTC;Montant TTC";
inline constexpr const char* NumDevis = Field::NumDevis;
}  // namespace DevisLines

namespace AvoirLines {
inline constexpr const char* Folder = "./Data/Avoirs/";
inline constexpr const char* Header = "Num Avoir;Quantite;Code;Designation;Prix Uni. TTC;Montant TTC";
inline constexpr const char* NumAvoir = Field::NumAvoir;
}  // namespace AvoirLines

// The three piece kinds side by side, for code that handles any of them.
struct TPieceKindFiles {
  const char* Kind;        // "Facture", "Devis", "Avoir"
  const char* KeyField;    // key field of the header table and first field of the lines
  const char* Prefix;      // number prefix
  const char* HeaderTable; // header table file
  const char* LineFolder;  // folder of the line files
  const char* LineHeader;  // header line of a line file
};

namespace Pieces {
inline constexpr const char* Facture = "Facture";
inline constexpr const char* Devis = "Devis";
inline constexpr const char* Avoir = "Avoir";
inline constexpr const char* FacturePrefix = "FA";
inline constexpr const char* DevisPrefix = "DE";
inline constexpr const char* AvoirPrefix = "AV";
inline constexpr TPieceKindFiles Kinds[] = {
    {Facture, Field::NumFacture, FacturePrefix, Factures::File, FactureLines::Folder, FactureLines::Header},
    {Devis, Field::NumDevis, DevisPrefix, Devis::File, DevisLines::Folder, DevisLines::Header},
    {Avoir, Field::NumAvoir, AvoirPrefix, Avoirs::File, AvoirLines::Folder, AvoirLines::Header},
};
}  // namespace Pieces

// ---------------------------------------------------------------------------
// Reference tables read by the cell checks, never written.

namespace ListePays {
inline constexpr const char* File = "./Data/ListePays.db";
inline constexpr const char* NomPays = Field::NomPays;
}  // namespace ListePays

namespace ListePsychotropes {
inline constexpr const char* File = "./Data/ListePsychotropes.db";
inline constexpr const char* CIPPsychotrope = Field::CIPPsychotrope;
}  // namespace ListePsychotropes

namespace ListeStupefiants {
inline constexpr const char* File = "./Data/ListeStupefiants.db";
inline constexpr const char* CIPStupefiant = Field::CIPStupefiant;
}  // namespace ListeStupefiants

// ---------------------------------------------------------------------------
// History folders and their listing tables (single field "Fichier", one
// record per file of the folder, regenerated by the history window).

namespace Poubelle {
inline constexpr const char* Folder = "./Data/Poubelle Officielle/";
inline constexpr const char* Files = "./Data/Poubelle Officielle/*.*";
// The header record of each deleted piece, under the name its lines got.
inline constexpr const char* HeadersFolder = "./Data/Poubelle Officielle/Entetes/";
inline constexpr const char* ListingFile = "./Data/BaseDeDonneesSupprimes.db";
inline constexpr const char* Fichier = Field::Fichier;
}  // namespace Poubelle

namespace ElementsImprimes {
inline constexpr const char* Folder = "./Data/Elements imprimes/";
inline constexpr const char* Files = "./Data/Elements imprimes/*.*";
inline constexpr const char* ListingFile = "./Data/BaseDeDonneesImprimes.db";
inline constexpr const char* Fichier = Field::Fichier;
}  // namespace ElementsImprimes

// ---------------------------------------------------------------------------
// Other files under the data folder.

namespace Settings {
inline constexpr const char* File = "./Data/parametres.ini";
}  // namespace Settings

namespace Modeles {
inline constexpr const char* Folder = "./Data/Modeles/";
inline constexpr const char* Article = "./Data/Modeles/ModeleArticle.ini";
inline constexpr const char* Client = "./Data/Modeles/ModeleClient.ini";
inline constexpr const char* Commande = "./Data/Modeles/ModeleCommande.ini";
inline constexpr const char* BonDePreparation = "./Data/Modeles/ModeleBonDePreparation.ini";
inline constexpr const char* Facture = "./Data/Modeles/ModeleFacture.ini";
inline constexpr const char* FactureAvecLogo = "./Data/Modeles/ModeleFactureAvecLogo.ini";
inline constexpr const char* Devis = "./Data/Modeles/ModeleDevis.ini";
inline constexpr const char* DevisAvecLogo = "./Data/Modeles/ModeleDevisAvecLogo.ini";
inline constexpr const char* Avoir = "./Data/Modeles/ModeleAvoir.ini";
inline constexpr const char* AvoirAvecLogo = "./Data/Modeles/ModeleAvoirAvecLogo.ini";
inline constexpr const char* const All[] = {Article, Client,          Commande, BonDePreparation, Facture,
                                            FactureAvecLogo, Devis, DevisAvecLogo, Avoir, AvoirAvecLogo};
}  // namespace Modeles

namespace Bitmaps {
inline constexpr const char* Folder = "./Data/Bitmaps/";
inline constexpr const char* LogoEntete = "./Data/Bitmaps/LogoEntete.bmp";
inline constexpr const char* LogoPiedDePage = "./Data/Bitmaps/LogoPiedDePage.bmp";
}  // namespace Bitmaps

// Barcode pictures of the pieces: Folder + NamePrefix + (number without its
// two letters, minus NumberOffset) + Extension.
namespace Barcodes {
inline constexpr const char* Folder = "./data/Barcodes/";
inline constexpr const char* NamePrefix = "Code Barre ";
inline constexpr const char* Extension = ".jpg";
inline constexpr int NumberOffset = 29000;
}  // namespace Barcodes

// Order files waiting for import and already imported. The "\" spellings are
// the system's own; the "/" ones are what this platform opens.
namespace Importation {
inline constexpr const char* TodoFolder = ".\\Data\\Importation\\Todo\\";
inline constexpr const char* TodoSearch = ".\\Data\\Importation\\Todo\\\\*.txt";
inline constexpr const char* DoneFolder = ".\\Data\\Importation\\Done\\";
inline constexpr const char* TodoFolderLocal = "./Data/Importation/Todo/";
inline constexpr const char* DoneFolderLocal = "./Data/Importation/Done/";
inline constexpr const char* OrderWildcard = "*.txt";
// The order moved to the done folder for the piece open in the editor, until
// that piece is saved or given up: kept beside the two folders, never in the
// waiting one.
inline constexpr const char* HeldOrderFile = "./Data/Importation/Commande en cours.txt";
}  // namespace Importation

// ---------------------------------------------------------------------------
// Files outside the data folder. The share paths follow "//" + host, the
// hosts being settings of the installation.

namespace RemoteBarcodes {
inline constexpr const char* Folder = "C$/Quorix Server/Data/";
inline constexpr const char* FileName = "BaseDeDonneesCodeBarre.db";
inline constexpr const char* PathTail = "/C$/Quorix Server/Data/BaseDeDonneesCodeBarre.db";
inline constexpr const char* Code = Field::Code;
inline constexpr const char* CodeBarre = Field::CodeBarre;
}  // namespace RemoteBarcodes

namespace Chronopost {
inline constexpr const char* Folder = "C$/Chronopost-Tampon/";
inline constexpr const char* PathTail = "/C$/Chronopost-Tampon/";
inline constexpr const char* Extension = ".txt";
}  // namespace Chronopost

inline constexpr const char* TraceFile = kTraceFileName;

template <class T, std::size_t N>
constexpr std::size_t CountOf(const T (&)[N]) {
  return N;
}

}  // namespace Catalogue
