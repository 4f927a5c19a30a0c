#pragma once

#include <QFont>

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>

// Text widths of one font. The toolkit lays a Latin text out without
// shaping (the grid font asks for none and no kerning) by adding up the
// characters' advances, which are fractions of a pixel in 64ths, and rounds
// the total. Whether that holds for a font is checked once, on every pair of
// printable ASCII characters; when it does, ASCII texts are measured by
// adding up a table, which gives the toolkit's own figure without laying the
// text out. Other texts are measured once each and remembered.
class TQtFontMetrics {
public:
  // The metrics of a font, shared by every grid of the process: the check of
  // a font is made once, whatever the number of grids using it.
  static TQtFontMetrics& Shared(const QFont& font);

  explicit TQtFontMetrics(const QFont& font);
  TQtFontMetrics(const TQtFontMetrics&) = delete;
  TQtFontMetrics& operator=(const TQtFontMetrics&) = delete;

  const QFont& Font() const { return fFont; }
  int Height() const { return fHeight; }
  int Width(const std::string& text);

private:
  static int Round(std::int64_t width64) { return static_cast<int>((width64 + 32) >> 6); }

  QFont fFont;
  int fHeight = 0;
  bool fAdditive = false;
  std::array<std::int64_t, 128> fAdvance64{};
  std::unordered_map<std::string, int> fWidths;
};
