#include "DateTime.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace {

constexpr long long kMsPerDay = 86400000LL;

// Days since 1 January 1970 of a proleptic Gregorian date.
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2 ? 1 : 0;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& year, int& month, int& day) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long y = static_cast<long long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(y + (month <= 2 ? 1 : 0));
}

// Day 0 of the count is 30 December 1899.
const long long kEpochOffset = DaysFromCivil(1899, 12, 30);

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

// Splits a value into its day number and the milliseconds of its time of
// day. The day is the integral part and the time the fraction, also for the
// days before 30/12/1899 (where -1.25 is 29/12/1899 06:00).
void Split(TDateTime value, long long& day, long long& ms) {
  if (!std::isfinite(value)) {
    day = 0;
    ms = 0;
    return;
  }
  day = static_cast<long long>(std::trunc(value));
  ms = std::llround(std::fabs(value - static_cast<double>(day)) * static_cast<double>(kMsPerDay));
  if (ms >= kMsPerDay) {
    ms -= kMsPerDay;
    day += value < 0 ? -1 : 1;
  }
}

std::string TwoDigits(int n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", n);
  return buf;
}

}  // namespace

TDateTime EncodeDate(int year, int month, int day) {
  return static_cast<TDateTime>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                                kEpochOffset);
}

TDateTime EncodeTime(int hour, int minute, int second) {
  return static_cast<TDateTime>(hour * 3600LL + minute * 60LL + second) / 86400.0;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
  long long d = 0;
  long long ms = 0;
  Split(value, d, ms);
  CivilFromDays(d + kEpochOffset, year, month, day);
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second) {
  long long d = 0;
  long long ms = 0;
  Split(value, d, ms);
  const long long s = ms / 1000;
  hour = static_cast<int>(s / 3600);
  minute = static_cast<int>(s / 60 % 60);
  second = static_cast<int>(s % 60);
}

TDateTime Now() {
  const auto now = std::chrono::system_clock::now();
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
  const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
  std::tm local{};
  localtime_r(&seconds, &local);
  const double secondsOfDay = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + (ms % 1000) / 1000.0;
  return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) + secondsOfDay / 86400.0;
}

TDateTime Date() { return std::trunc(Now()); }

std::string DateToStr(TDateTime value) {
  int y = 0;
  int m = 0;
  int d = 0;
  DecodeDate(value, y, m, d);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d, m, y);
  return buf;
}

std::string TimeToStr(TDateTime value) {
  int h = 0;
  int mi = 0;
  int s = 0;
  DecodeTime(value, h, mi, s);
  return TwoDigits(h) + ":" + TwoDigits(mi) + ":" + TwoDigits(s);
}

std::string DateTimeToStr(TDateTime value) { return DateToStr(value) + " " + TimeToStr(value); }

bool TryStrToDate(const std::string& text, TDateTime& value) {
  // Day and month of one or two digits, a year of four (or of two, read in
  // the window 1950-2049), separated by "/"; blanks around are ignored.
  std::size_t i = 0;
  std::size_t n = text.size();
  while (i < n && text[i] == ' ') ++i;
  while (n > i && text[n - 1] == ' ') --n;
  int parts[3] = {0, 0, 0};
  std::size_t widths[3] = {0, 0, 0};
  for (int k = 0; k < 3; ++k) {
    while (i < n && text[i] >= '0' && text[i] <= '9' && widths[k] < 5) {
      parts[k] = parts[k] * 10 + (text[i] - '0');
      ++widths[k];
      ++i;
    }
    if (k < 2) {
      if (i >= n || text[i] != '/') return false;
      ++i;
    }
  }
  if (i != n) return false;
  if (widths[0] < 1 || widths[0] > 2 || widths[1] < 1 || widths[1] > 2) return false;
  int year = parts[2];
  if (widths[2] == 2) {
    year += year < 50 ? 2000 : 1900;
  } else if (widths[2] != 4) {
    return false;
  }
  const int month = parts[1];
  const int day = parts[0];
  if (year < 1 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return false;
  value = EncodeDate(year, month, day);
  return true;
}
