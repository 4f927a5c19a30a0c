#include "QtText.h"

#include "Cp1252.h"

namespace {

bool IsAscii(std::string_view text) {
  for (unsigned char c : text) {
    if (c >= 0x80) return false;
  }
  return true;
}

QString Converted(std::string_view cp1252) {
  // Most cells are plain ASCII (codes, amounts, dates); they need no table.
  if (IsAscii(cp1252)) return QString::fromLatin1(cp1252.data(), static_cast<qsizetype>(cp1252.size()));
  const std::string utf8 = Cp1252ToUtf8(std::string(cp1252));
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace

QString ToQString(const std::string& cp1252) { return Converted(cp1252); }

std::string_view DrawnPart(const std::string& cp1252) {
  return std::string_view(cp1252).substr(0, kMaxDrawnChars);
}

QString ToQDrawnString(const std::string& cp1252) { return Converted(DrawnPart(cp1252)); }

std::string FromQString(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return Utf8ToCp1252(std::string(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}
