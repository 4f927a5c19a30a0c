#include "FieldText.h"

namespace {

bool IsFieldBreak(char c) { return c == ';' || c == '\r' || c == '\n' || c == '\0'; }

}  // namespace

bool HoldsFieldBreak(std::string_view text) {
  for (char c : text) {
    if (IsFieldBreak(c)) return true;
  }
  return false;
}

std::string ReplaceFieldBreaks(std::string_view text) {
  std::string clean;
  clean.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!IsFieldBreak(text[i])) {
      clean += text[i];
      continue;
    }
    clean += ',';
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
  }
  return clean;
}
