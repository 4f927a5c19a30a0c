#pragma once

#include <string>

#include "DateTime.h"
#include "PieceKinds.h"

class TMyDatabase;
class TMyStringGrid;

// A piece as the editor holds it when it is saved: its kind and header table,
// the number it was opened under (empty for a new piece) and the header
// values as shown.
struct TPieceToSave {
  const TPieceKind* Kind = nullptr;
  TMyDatabase* HeaderTable = nullptr;
  std::string LoadedNumber;
  std::string Number;
  std::string Date;
  std::string CodeClient;
  std::string Societe;
  std::string Port;
  std::string Poids;
  std::string TotalHT;
  std::string TotalTTC;
  // The piece date, for the comparison with the client's other pieces.
  TDateTime PieceDate = 0;
  // One of the header edits (number, client code, date, port) is red.
  bool RedEdit = false;
};

enum class TPieceSaveResult {
  Saved,
  // "Veuillez corriger les champs en rouge": nothing was written.
  RedFields,
  // An error was reported; the tables and files are as they were.
  Failed
};

// The save of a piece from its lines grid, once the weight and totals are
// known:
//   1. empty lines are dropped (never the only line); one that holds a code
//      nobody looked up stops the save with a box naming it;
//   2. each pair of lines with the same code is reported ("Lignes 1 et 3
//      identiques : ..."), and the save goes on;
//   3. a red cell or a red header edit stops it;
//   4. the header record of the number is found or added; a piece saved under
//      a new number then gives its old line file and record to the trash
//      (beside older copies there), and loses its old record;
//   5. the header record is written, the line file written whole, the header
//      table saved;
//   6. the client's other pieces of the last thirty days that share most of
//      their articles with this one are pointed out.
TPieceSaveResult SavePieceSequence(TMyStringGrid& lines, const TPieceToSave& piece);

// How much two pieces of a kind share: the lines of other whose code this
// piece also has, x 200, over the two pieces' line counts; 100 for two pieces
// with the same codes, 0 when neither has a line.
double PieceSimilarity(const TPieceKind& kind, const std::string& other, const std::string& self);
