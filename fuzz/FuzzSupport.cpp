#include "FuzzSupport.h"

#include <cstdio>
#include <cstdlib>

TFuzzQuiet::TFuzzQuiet() {
  Sink.MaxLines = 1000;
  fPreviousSink = SetTraceSink(&Sink);
  fPreviousDialogs = SetDialogService(&Dialogs);
}

TFuzzQuiet::~TFuzzQuiet() {
  SetTraceSink(fPreviousSink);
  SetDialogService(fPreviousDialogs);
}

void FuzzFail(const char* file, int line, const std::string& what) {
  std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, what.c_str());
  std::fflush(stderr);
  std::abort();
}

std::string FuzzShow(const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size() && i < 300; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 32 && c < 127 && c != '\\' && c != '"') {
      out += static_cast<char>(c);
    } else {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  if (text.size() > 300) out += "...";
  return out + "\"";
}

std::vector<std::string> FuzzLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string current;
  bool pending = false;  // a line has started since the last line end
  for (std::size_t i = 0; i < text.size() && text[i] != '\0'; ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(current);
      current.clear();
      pending = false;
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      current += c;
      pending = true;
    }
  }
  if (pending) lines.push_back(current);
  return lines;
}
