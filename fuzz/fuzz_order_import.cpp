// The order-file reader against any bytes.
//
// The bytes are one order file. Its lines must be the lines of the file
// format (checked against the independent reading of FuzzSupport); each line
// is normalised and recognised, and checked against a reading of the five
// expressions written here without regular expressions:
// - the normalisation turns tabs into blanks, halves runs of blanks in one
//   pass, and trims the blanks at both ends;
// - a code is seven digits, a quantity one to three digits without a leading
//   zero (or "0"), a name letters A to Z; a name only when there is no code;
// - the code is the first run of digits (touching no other digit) that is a
//   valid CIP of seven digits, a CIP13 "34009" + seven + its EAN-13 check
//   digit, or a GS1 string "010" + such a CIP13 (after a "]" + letter +
//   digit symbology or not); none when such a box code has a wrong check
//   digit; otherwise the last run of seven digits each followed by at most
//   one blank and one point; the quantity the one to three digits beginning
//   the line before a blank, else those ending it after a blank, the name the
//   letters beginning the line, or those after a leading run of digits and
//   blanks that ends with a blank. A "..." (0x85), form feed or vertical tab
//   is an ordinary character.
// Orders of at most a few hundred lines are also filled into a memory grid
// with a small article table: one row per line, the recognised code and
// quantity in their cells, and never a message box. Long lines must not
// make the expressions hang (the fuzzer's time limit catches it).
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "MemoryGridSurface.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "OrderImport.h"

namespace {

constexpr std::size_t kMaxFilledLines = 300;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool ValidCip(const std::string& d) {
  const int sum = (d[0] - '0') * 2 + (d[1] - '0') * 3 + (d[2] - '0') * 4 + (d[3] - '0') * 5 + (d[4] - '0') * 6 +
                  (d[5] - '0') * 7;
  return d[6] - '0' == sum % 11 % 10;
}

// "c:" + the seven digits of a box code, "x" for one with a wrong check
// digit, "" for a run that is neither.
std::string BoxCode(const std::string& run) {
  std::string cip13;
  if (run.size() == 13 && run.rfind("34009", 0) == 0) {
    cip13 = run;
  } else if (run.size() >= 16 && run.rfind("01034009", 0) == 0) {
    cip13 = run.substr(3, 13);
  } else {
    return "";
  }
  int sum = 0;
  for (int i = 0; i < 12; ++i) sum += (cip13[i] - '0') * (i % 2 == 0 ? 1 : 3);
  return (cip13[12] - '0') == (10 - sum % 10) % 10 ? "c:" + cip13.substr(5, 7) : "x";
}

// The code of the runs of digits, "x" when a box code with a wrong check
// digit comes first, "" when they give none.
std::string RunCode(const std::string& s) {
  for (std::size_t i = 0; i < s.size();) {
    if (!IsDigit(s[i])) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < s.size() && IsDigit(s[end])) ++end;
    const std::string run = s.substr(i, end - i);
    if (i >= 2 && s[i - 2] == ']' && IsLetter(s[i - 1]) && run.size() > 1) {
      const std::string box = BoxCode(run.substr(1));
      if (!box.empty()) return box == "x" ? box : box.substr(2);
    }
    if (run.size() == 7 && ValidCip(run)) return run;
    const std::string box = BoxCode(run);
    if (!box.empty()) return box == "x" ? box : box.substr(2);
    i = end;
  }
  return "";
}

std::string Normalised(const std::string& line) {
  std::string tabs = line;
  for (char& c : tabs) {
    if (c == '\t') c = ' ';
  }
  std::string halved;
  for (std::size_t i = 0; i < tabs.size(); ++i) {
    halved += tabs[i];
    if (tabs[i] == ' ' && i + 1 < tabs.size() && tabs[i + 1] == ' ') ++i;
  }
  const std::size_t first = halved.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return halved.substr(first, halved.find_last_not_of(' ') - first + 1);
}

// The seven digits from position i, each followed by at most one blank and
// then one point; empty when there are not seven.
std::string DigitsFrom(const std::string& s, std::size_t i) {
  std::string digits;
  while (digits.size() < 7) {
    if (i >= s.size() || !IsDigit(s[i])) return "";
    digits += s[i++];
    if (i < s.size() && s[i] == ' ') ++i;
    if (i < s.size() && s[i] == '.') ++i;
  }
  return digits;
}

std::string Code(const std::string& s) {
  const std::string fromRuns = RunCode(s);
  if (fromRuns == "x") return "";
  if (!fromRuns.empty()) return fromRuns;
  for (std::size_t i = s.size(); i-- > 0;) {
    const std::string digits = DigitsFrom(s, i);
    if (!digits.empty()) return digits;
  }
  return "";
}

std::string WithoutLeadingZeros(std::string q) {
  while (q.size() > 1 && q[0] == '0') q.erase(0, 1);
  return q;
}

std::string Quantity(const std::string& s) {
  std::size_t k = 0;
  while (k < s.size() && IsDigit(s[k])) ++k;
  if (k >= 1 && k <= 3 && k < s.size() && s[k] == ' ') return WithoutLeadingZeros(s.substr(0, k));
  const std::size_t blank = s.rfind(' ');
  if (blank == std::string::npos) return "";
  const std::string tail = s.substr(blank + 1);
  if (tail.empty() || tail.size() > 3) return "";
  for (char c : tail) {
    if (!IsDigit(c)) return "";
  }
  return WithoutLeadingZeros(tail);
}

std::string Letters(const std::string& s, std::size_t from) {
  std::string name;
  for (std::size_t i = from; i < s.size() && IsLetter(s[i]); ++i) {
    name += static_cast<char>(s[i] >= 'a' ? s[i] - 'a' + 'A' : s[i]);
  }
  return name;
}

std::string Name(const std::string& s) {
  if (!s.empty() && IsLetter(s[0])) return Letters(s, 0);
  std::size_t k = 0;
  while (k < s.size() && (IsDigit(s[k]) || s[k] == ' ')) ++k;
  if (k >= 2 && s[k - 1] == ' ' && k < s.size() && IsLetter(s[k])) return Letters(s, k);
  return "";
}

bool AllOf(const std::string& s, bool (*pred)(char)) {
  for (char c : s) {
    if (!pred(c)) return false;
  }
  return true;
}

TMemoryGridSurface* Editable(TMemoryGridSurface& surface) {
  surface.SetEditing(true);
  return &surface;
}

struct TFuzzLines {
  // The editor's lines grid: editable, one title row, one column of row
  // numbers, the five line columns.
  TFuzzLines() : Surface(6, 2, 1, 1), Grid(Editable(Surface)) {
    Grid.SetFixedRows(1);
    Grid.SetFixedCols(1);
    Grid.setTitles("Code;Designation;Quantite;Prix Uni. TTC;Montant TTC");
    Articles.reset(TMyDatabase::CreateEmpty("", "x"));
    Articles->LoadFromText(
        "Code;Designation;Prix Achat;Prix Vente;Coef;Poids\r\n"
        "3408919;DOLIPRANE 1000MG CPR B/8;43,62;55,90;1,2815;0,7189\r\n"
        "7968532;DOLIPRANE 500MG GELULES B/16;19,49;26,96;1,3833;0,3797\r\n"
        "7195018;SMECTA 3G POUDRE SACHETS B/30;41,42;59,88;1,4457;0,8333\r\n");
  }
  TMemoryGridSurface Surface;
  TMyStringGrid Grid;
  std::unique_ptr<TMyDatabase> Articles;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFuzzQuiet quiet;
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> lines = OrderFileLines(input);
  FUZZ_CHECK(lines == FuzzLines(input), "lines of " + FuzzShow(input));

  TOrderLineReader reader;
  std::vector<TOrderLineMatch> matches;
  for (const std::string& line : lines) {
    const std::string n = NormaliseOrderLine(line);
    FUZZ_CHECK(n == Normalised(line), "normalisation of " + FuzzShow(line) + " gives " + FuzzShow(n));
    const TOrderLineMatch m = reader.Read(n);
    matches.push_back(m);
    FUZZ_CHECK(!m.HasCode || (m.Code.size() == 7 && AllOf(m.Code, IsDigit)), "code " + FuzzShow(m.Code));
    FUZZ_CHECK(!m.HasQuantity || (m.Quantite.size() >= 1 && m.Quantite.size() <= 3 && AllOf(m.Quantite, IsDigit) &&
                                  (m.Quantite == "0" || m.Quantite[0] != '0')),
               "quantity " + FuzzShow(m.Quantite));
    FUZZ_CHECK(!m.HasName || (!m.HasCode && !m.Name.empty() && AllOf(m.Name, IsLetter)), "name " + FuzzShow(m.Name));
    // A line past the expressions' limits is reported, not read whole.
    if (m.LimitHit) continue;
    FUZZ_CHECK((m.HasCode ? m.Code : "") == Code(n), "code of " + FuzzShow(n) + ": " + FuzzShow(m.Code));
    FUZZ_CHECK((m.HasQuantity ? m.Quantite : "") == Quantity(n), "quantity of " + FuzzShow(n));
    FUZZ_CHECK((m.HasName ? m.Name : "") == (m.HasCode ? "" : Name(n)), "name of " + FuzzShow(n));
  }

  if (lines.size() <= kMaxFilledLines) {
    TFuzzLines grid;
    FillOrderLines(grid.Grid, *grid.Articles, lines);
    FUZZ_CHECK(grid.Grid.GetRowCount() == 1 + static_cast<int>(std::max<std::size_t>(lines.size(), 1)), "row count");
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const TOrderLineMatch& m = matches[i];
      const int row = 1 + static_cast<int>(i);
      if (m.HasCode) FUZZ_CHECK(grid.Grid.GetCellByName("Code", row) == m.Code, "code cell of line " + FuzzShow(lines[i]));
      FUZZ_CHECK(grid.Grid.GetCellByName("Quantite", row) == (m.HasQuantity ? m.Quantite : ""),
                 "quantity cell of line " + FuzzShow(lines[i]));
    }
  }
  FUZZ_CHECK(quiet.Dialogs.Messages.empty(), "box " + FuzzShow(quiet.Dialogs.Messages.empty() ? "" : quiet.Dialogs.Messages[0]));
  return 0;
}
