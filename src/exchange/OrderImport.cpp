#include "OrderImport.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "ArticleCode.h"
#include "Catalogue.h"
#include "Cp1252.h"
#include "FileUtils.h"
#include "MyDatabase.h"
#include "MyStringGrid.h"
#include "Trace.h"

namespace F = Catalogue::Field;

namespace {

std::string Without(std::string text, const char* characters) {
  text.erase(std::remove_if(text.begin(), text.end(),
                            [characters](char c) { return std::string_view(characters).find(c) != std::string_view::npos; }),
             text.end());
  return text;
}

void WriteAmount(TMyStringGrid& lines, int row) {
  lines.SetCellForcedByName(F::MontantTTC, row,
                            OrderLineAmount(lines.GetCellByName(F::PrixUniTTC, row), lines.GetCellByName(F::Quantite, row)));
}

bool QuantityIsInteger(TMyStringGrid& lines, int row) {
  return lines.CheckType(lines.GetCellByName(F::Quantite, row), ctInteger);
}

// One line of the order into one row of the grid, in the order that makes
// each line's amount right: a code brings its price before the quantity is
// written (the amount is computed then), a name comes after the quantity
// (the amount is computed with the article's price). False when an
// expression stopped at its limits on the line.
bool FillRow(TMyStringGrid& lines, TMyDatabase& articles, TOrderLineReader& reader, const std::string& line, int row) {
  const TOrderLineMatch match = reader.Read(NormaliseOrderLine(line));
  if (match.HasCode) {
    lines.SetCellByName(F::Code, row, match.Code);
    articles.Query(F::Code, match.Code, Exact);
    if (articles.QueryResultCount() > 0) {
      lines.SetCellByName(F::Designation, row, articles.GetQueryResultString(F::Designation, 0));
      lines.SetCellByName(F::PrixUniTTC, row, articles.GetQueryResultString(F::PrixVente, 0));
      if (QuantityIsInteger(lines, row)) WriteAmount(lines, row);
    }
  }
  if (match.HasQuantity) {
    lines.SetCellByName(F::Quantite, row, match.Quantite);
    if (lines.CheckType(lines.GetCellByName(F::PrixUniTTC, row), ctNonNegativeReal)) WriteAmount(lines, row);
  }
  if (!match.HasCode && match.HasName) {
    lines.SetCellByName(F::Designation, row, match.Name);
    articles.Query(F::Designation, match.Name, Prefix);
    if (articles.QueryResultCount() == 1) {
      lines.SetCellByName(F::Code, row, articles.GetQueryResultString(F::Code, 0));
      lines.SetCellByName(F::Designation, row, articles.GetQueryResultString(F::Designation, 0));
      lines.SetCellByName(F::PrixUniTTC, row, articles.GetQueryResultString(F::PrixVente, 0));
      if (QuantityIsInteger(lines, row)) WriteAmount(lines, row);
    }
  }
  return !match.LimitHit;
}

// True when the whole text is UTF-8 and holds at least one character of two
// bytes or more (overlong forms, surrogates and values past U+10FFFF are not
// UTF-8).
bool IsMultiByteUtf8(std::string_view text) {
  bool multiByte = false;
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
      if (c == 0xE0) low = 0xA0;
      if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
      if (c == 0xF0) low = 0x90;
      if (c == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (text.size() - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const unsigned char next = static_cast<unsigned char>(text[i + k]);
      if (k == 1 ? (next < low || next > high) : (next < 0x80 || next > 0xBF)) return false;
    }
    multiByte = true;
    i += length;
  }
  return multiByte;
}

bool BeginsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

}  // namespace

std::string NormaliseOrderLine(const std::string& line) {
  TStringManager& sm = StringManager();
  std::string text = line;
  std::replace(text.begin(), text.end(), '\t', ' ');
  text = sm.ReplaceAll(text, "  ", " ");
  return sm.TrimChar(text, ' ');
}

TOrderLineReader::TOrderLineReader()
    : fCode(OrderPatterns::Code, TLineBreaks::CrLf),
      fQuantityAtEnd(OrderPatterns::QuantityAtEnd, TLineBreaks::CrLf),
      fQuantityAtStart(OrderPatterns::QuantityAtStart, TLineBreaks::CrLf),
      fNameAtStart(OrderPatterns::NameAtStart, TLineBreaks::CrLf),
      fNameAfterNumbers(OrderPatterns::NameAfterNumbers, TLineBreaks::CrLf) {}

bool TOrderLineReader::Match(TCompiledPattern& pattern, const std::string& line, TOrderLineMatch& match) {
  const bool found = pattern.Match(line);
  if (pattern.LimitHit()) match.LimitHit = true;
  return found;
}

TOrderLineMatch TOrderLineReader::Read(const std::string& normalisedLine) {
  TOrderLineMatch match;
  const TArticleCode code = ReadArticleCode(normalisedLine);
  if (!code.Code.empty()) {
    match.HasCode = true;
    match.Code = code.Code;
  } else if (!code.WrongCheck && Match(fCode, normalisedLine, match)) {
    match.HasCode = true;
    match.Code = Without(fCode.Group(1), ". ");
  }
  const bool atEnd = Match(fQuantityAtEnd, normalisedLine, match);
  const bool atStart = Match(fQuantityAtStart, normalisedLine, match);
  if (atEnd || atStart) {
    std::string quantite = Without(atStart ? fQuantityAtStart.Group(1) : fQuantityAtEnd.Group(1), " ");
    while (quantite.size() > 1 && quantite[0] == '0') quantite.erase(0, 1);
    match.HasQuantity = true;
    match.Quantite = quantite;
  }
  if (!match.HasCode) {
    const bool atStartName = Match(fNameAtStart, normalisedLine, match);
    const bool afterNumbers = Match(fNameAfterNumbers, normalisedLine, match);
    if (atStartName || afterNumbers) {
      match.HasName = true;
      match.Name = StringManager().TrimChar(
          UpperCaseAToZ(afterNumbers ? fNameAfterNumbers.Group(1) : fNameAtStart.Group(1)), ' ');
    }
  }
  return match;
}

void FillOrderLines(TMyStringGrid& lines, TMyDatabase& articles, const std::vector<std::string>& orderLines) {
  TOrderLineReader reader;
  const int fixedRows = lines.GetFixedRows();
  // An empty order still leaves the editor its one empty line.
  lines.SetRowCount(fixedRows + std::max<int>(1, static_cast<int>(orderLines.size())));
  std::size_t unread = 0;
  for (std::size_t i = 0; i < orderLines.size(); ++i) {
    if (!FillRow(lines, articles, reader, orderLines[i], fixedRows + static_cast<int>(i)) && unread == 0) unread = i + 1;
  }
  lines.Refresh();
  if (unread > 0) {
    Error("Importation : ligne " + std::to_string(unread) +
          " trop longue pour etre reconnue en entier (limite des expressions), verifiez-la");
  }
}

std::string OrderLineAmount(const std::string& prix, const std::string& quantite) {
  TStringManager& sm = StringManager();
  const long double amount =
      static_cast<long double>(sm.MyStrToFloat(prix)) * static_cast<long double>(sm.MyStrToInt(quantite));
  return sm.FormatRealStringStrict(sm.RealToText(amount), ',', 2);
}

std::vector<std::string> OrderFileLines(const std::string& bytes) { return SplitLines(bytes); }

TOrderFile CheckOrderBytes(const std::string& bytes) {
  TOrderFile order;
  if (bytes.find('\0') != std::string::npos) {
    order.Refusal = TOrderRefusal::NulByte;
  } else if (BeginsWith(bytes, "\xFF\xFE") || BeginsWith(bytes, "\xFE\xFF") || BeginsWith(bytes, "\xEF\xBB\xBF") ||
             IsMultiByteUtf8(bytes)) {
    order.Refusal = TOrderRefusal::NotSingleByte;
  } else if (bytes.size() > OrderLimits::MaxBytes) {
    order.Refusal = TOrderRefusal::TooLarge;
  } else {
    order.Lines = OrderFileLines(bytes);
    if (order.Lines.size() > OrderLimits::MaxLines) {
      order.Refusal = TOrderRefusal::TooManyLines;
    } else if (std::any_of(order.Lines.begin(), order.Lines.end(),
                           [](const std::string& line) { return line.size() > OrderLimits::MaxLineLength; })) {
      order.Refusal = TOrderRefusal::LineTooLong;
    }
  }
  if (order.Refusal != TOrderRefusal::None) order.Lines.clear();
  return order;
}

TOrderFile ReadWaitingOrder(const std::string& name) {
  const std::string file = std::string(Catalogue::Importation::TodoFolderLocal) + name;
  std::string bytes;
  TOrderFile order;
  // A file past the size no order within the limits reaches is not read.
  switch (ReadWholeFile(file, bytes, OrderLimits::MaxBytes)) {
    case TReadResult::Ok: order = CheckOrderBytes(bytes); break;
    case TReadResult::TooLarge: order.Refusal = TOrderRefusal::TooLarge; break;
    default: order.Refusal = TOrderRefusal::Unreadable; break;
  }
  std::string reason;
  const std::string lines = std::to_string(OrderLimits::MaxLines);
  const std::string length = std::to_string(OrderLimits::MaxLineLength);
  switch (order.Refusal) {
    case TOrderRefusal::None: return order;
    case TOrderRefusal::Unreadable:
      Error("Importation : lecture impossible de " + file);
      return order;
    case TOrderRefusal::NulByte: reason = "un octet nul, ce n'est pas un texte Windows-1252 (UTF-16 ?)"; break;
    case TOrderRefusal::NotSingleByte: reason = "texte UTF-8 ou UTF-16, a enregistrer en Windows-1252 (ANSI)"; break;
    case TOrderRefusal::TooLarge:
      reason = "plus grande que " + lines + " lignes de " + length + " caracteres";
      break;
    case TOrderRefusal::TooManyLines: reason = "plus de " + lines + " lignes"; break;
    case TOrderRefusal::LineTooLong: reason = "une ligne de plus de " + length + " caracteres"; break;
  }
  Error("Importation : " + file + " : " + reason + ", commande laissee en attente");
  return order;
}

std::vector<std::string> WaitingOrders() {
  return ListFiles(Catalogue::Importation::TodoFolderLocal, Catalogue::Importation::OrderWildcard);
}

std::string FirstWaitingOrder() {
  const std::vector<std::string> names = WaitingOrders();
  return names.empty() ? std::string() : names.front();
}

std::string MoveOrderToDone(const std::string& name) {
  const std::string done = Catalogue::Importation::DoneFolderLocal;
  std::error_code ec;
  std::filesystem::create_directories(done, ec);
  const std::string source = std::string(Catalogue::Importation::TodoFolderLocal) + name;
  // A name taken meanwhile is simply tried again with the next counter.
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string target = FreeFileName(done, name);
    if (MoveFileNoReplace(source, done + target)) return target;
    if (!FileExists(done + target)) break;
  }
  Error("Importation : impossible de deplacer " + source + " vers " + done);
  return std::string();
}

bool MoveOrderBackToWaiting(const std::string& doneName, const std::string& name) {
  const std::string todo = Catalogue::Importation::TodoFolderLocal;
  const std::string source = std::string(Catalogue::Importation::DoneFolderLocal) + doneName;
  std::error_code ec;
  std::filesystem::create_directories(todo, ec);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string target = FreeFileName(todo, name);
    if (MoveFileNoReplace(source, todo + target)) return true;
    if (!FileExists(todo + target)) break;
  }
  Error("Importation : impossible de remettre " + source + " dans " + todo);
  return false;
}

void NoteOrderHeld(const std::string& doneName, const std::string& name) {
  if (!WriteFileAtomically(Catalogue::Importation::HeldOrderFile, doneName + "\r\n" + name + "\r\n")) {
    Warning(std::string("Importation : impossible d'ecrire ") + Catalogue::Importation::HeldOrderFile);
  }
}

void ForgetHeldOrder() {
  std::error_code ec;
  std::filesystem::remove(Catalogue::Importation::HeldOrderFile, ec);
}

std::string GiveBackOrderLeftHeld() {
  std::string note;
  if (ReadWholeFile(Catalogue::Importation::HeldOrderFile, note, 4096) != TReadResult::Ok) return std::string();
  const std::size_t first = note.find("\r\n");
  const std::size_t second = first == std::string::npos ? first : note.find("\r\n", first + 2);
  if (second == std::string::npos) {
    // Cut short while it was written: it names nothing that can be found.
    ForgetHeldOrder();
    return std::string();
  }
  const std::string doneName = note.substr(0, first);
  const std::string name = note.substr(first + 2, second - first - 2);
  // Put back just before the end, with the note not yet dropped.
  if (!FileExists(std::string(Catalogue::Importation::DoneFolderLocal) + doneName)) {
    ForgetHeldOrder();
    return std::string();
  }
  if (!MoveOrderBackToWaiting(doneName, name)) return std::string();
  ForgetHeldOrder();
  return name;
}
