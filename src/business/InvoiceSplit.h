#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

class TMyDatabase;
class TMyStringGrid;

// The split of a large invoice into 2 to 9 new invoices of about equal
// value ("Scinder"). Each new invoice takes a run of consecutive lines of the
// source invoice and a share of its port; it is made by copying the source
// invoice, cutting the copy's lines down to its run and saving it from the
// piece editor. The source invoice is never changed.

inline constexpr int kSplitMin = 2;
inline constexpr int kSplitMax = 9;

// What the computation gives, for invoices k = 1 .. 9 (index 0 unused).
struct TSplitPlan {
  // N, the number of new invoices, and L, the number of source lines.
  int Count = 0;
  int LineCount = 0;
  // The source invoice's number.
  std::string Number;
  // Sum of the "Montant TTC" of the lines given to invoice k (0 beyond N).
  std::array<double, kSplitMax + 1> Total{};
  // Positions (in record order of the source lines) of the first and last
  // line of invoice k; Last < First when it gets no line.
  std::array<int, kSplitMax + 1> First{};
  std::array<int, kSplitMax + 1> Last{};
  // Port of invoice k, known once the commit has read the source's port.
  std::array<int, kSplitMax + 1> Port{};

  // The number of new invoice k: the source number followed by the digit k
  // (FA31750 gives FA317501).
  std::string Name(int k) const;
};

// The invoice to split, fixed when the split starts: its number and its
// "Total HT" as the invoice list shows them, and its lines, recorded
// together. The preview and the commit work on it whatever row the list shows
// by then.
struct TSplitSource {
  std::string Number;
  std::string TotalHT;
  std::unique_ptr<TMyDatabase> Lines;
  // The lines as the table writer gives them back, to tell at the commit
  // whether the stored lines changed since.
  std::string LinesText;
};

// Records the invoice at the invoice list's current row and loads its line
// file. False when it has no line (nothing to split).
bool StartSplit(const TMyStringGrid& factureList, TSplitSource& source);

// The computation shared by the preview and the commit, on the recorded
// invoice. The target of each invoice is the recorded "Total HT" divided by
// n (clamped to 2 .. 9); each of the first n - 1 invoices takes lines in
// order until its total first exceeds the target, and the last line always
// goes to invoice n. False, with the plan empty, when the source has no line.
bool ComputeSplit(const TSplitSource& source, int n, TSplitPlan& plan);

// The texts of the nine preview edits: the plain text of each total ("150",
// "16,5"), "0" beyond N.
std::array<std::string, kSplitMax> SplitPreviewTexts(const TSplitPlan& plan);

// The port of each new invoice: the source's port, an integer, divided by N
// and truncated, the last invoice taking the remainder (100 in 3 gives 33,
// 33, 34). False, with message naming the value ("'12,50' n'est pas une
// valeur entiere correcte"), when the port is not an integer.
bool SplitPorts(const std::string& portText, TSplitPlan& plan, std::string& message);

// Keeps, in the line file, only the lines of positions first .. last (in
// record order) and writes it back. False, after a report, when the file
// cannot be read or written.
bool CutLineFile(const std::string& fileName, int first, int last);

// What the commit asks of the window for each new invoice.
struct TSplitSteps {
  // Copies the source invoice under the new number: a header record with
  // today's date (the table saved) and the line file. False when nothing was
  // made (already reported).
  std::function<bool(const std::string& source, const std::string& name)> Duplicate;
  // Opens the new invoice in the piece editor from the invoice list and saves
  // it there (weight and totals recomputed, header and lines written). False
  // when the editor refused the save (it said why).
  std::function<bool(const std::string& name)> SaveInEditor;
  // Prints the new invoice; empty when nothing is to be printed.
  std::function<void(const std::string& name)> Print;
};

enum class TSplitCommit {
  Done,
  // The source has no line: nothing was made.
  NoLines,
  // Reported, and nothing was made: the invoice is gone or changed since the
  // split started, an invoice would get no line, the port is not an integer,
  // or a new number is already taken.
  Refused,
  // A copy, a cut or a save failed: reported; the invoices made before stay
  // complete and the split stops.
  Stopped
};

// The commit: checks that the recorded invoice is still as it was (its
// header's "Total HT" and its line file), that every new invoice gets a line,
// reads the source's port from the invoice header table and checks that none
// of the new numbers exists yet. Then, for k = 1 .. N in order: copies the
// source, cuts the copy's lines to its run, writes its port, Total HT, Total
// TTC and weight from its own lines (the header table saved), has the window
// save it in the editor and, when the editor accepted it, print it. Each new
// invoice is complete before the next one is made; one that could not be
// copied or cut is taken away again.
TSplitCommit CommitSplit(TMyDatabase& factures, TMyDatabase& articles, const TSplitSource& source, TSplitPlan& plan,
                         const TSplitSteps& steps);
