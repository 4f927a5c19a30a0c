#include "ArticleCode.h"

#include "StringManager.h"

namespace {

constexpr std::string_view kCip13Prefix = "34009";
constexpr std::string_view kGs1Gtin = "010";
constexpr std::size_t kCipLength = 7;
constexpr std::size_t kEan13Length = 13;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The EAN-13 check: from the left, digits in odd places count once and in
// even places three times; the thirteenth digit brings the sum to a
// multiple of ten.
bool Ean13CheckRight(std::string_view digits) {
  int sum = 0;
  for (std::size_t i = 0; i < 12; ++i) sum += (digits[i] - '0') * (i % 2 == 0 ? 1 : 3);
  return digits[12] - '0' == (10 - sum % 10) % 10;
}

bool IsCip13Shaped(std::string_view digits) {
  return digits.size() == kEan13Length && digits.substr(0, kCip13Prefix.size()) == kCip13Prefix;
}

// What one run of digits says: a code, a box code with a wrong check digit,
// or nothing.
TArticleCode FromRun(std::string_view run) {
  TArticleCode read;
  std::string_view cip13;
  if (run.size() == kCipLength) {
    if (StringManager().IsCIP(std::string(run))) read.Code = run;
    return read;
  }
  if (IsCip13Shaped(run)) {
    cip13 = run;
  } else if (run.size() >= kGs1Gtin.size() + kEan13Length && run.substr(0, kGs1Gtin.size()) == kGs1Gtin &&
             IsCip13Shaped(run.substr(kGs1Gtin.size(), kEan13Length))) {
    cip13 = run.substr(kGs1Gtin.size(), kEan13Length);
  } else {
    return read;
  }
  if (Ean13CheckRight(cip13)) {
    read.Code = cip13.substr(kCip13Prefix.size(), kCipLength);
  } else {
    read.WrongCheck = true;
  }
  return read;
}

bool Decides(const TArticleCode& read) { return !read.Code.empty() || read.WrongCheck; }

}  // namespace

TArticleCode ReadArticleCode(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    if (!IsDigit(text[i])) {
      ++i;
      continue;
    }
    const std::size_t start = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    const std::string_view run = text.substr(start, i - start);
    // A scanner may send the symbology before a GS1 string: "]", a letter
    // and one digit, glued to the string's first element.
    if (start >= 2 && text[start - 2] == ']' && IsLetter(text[start - 1]) && run.size() > 1) {
      const TArticleCode read = FromRun(run.substr(1));
      if (Decides(read)) return read;
    }
    const TArticleCode read = FromRun(run);
    if (Decides(read)) return read;
  }
  return {};
}
