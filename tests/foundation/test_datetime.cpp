#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <string>

#include "DateTime.h"

TEST(DateTime, DaysCountFromTheEndOf1899) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(EncodeDate(1900, 3, 1), 61.0);
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
  EXPECT_EQ(EncodeDate(2024, 2, 29), 45351.0);
  EXPECT_EQ(EncodeDate(1899, 12, 29), -1.0);
  EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0), 0.5);
  EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0), 0.25);
}

TEST(DateTime, DecodeRoundTrips) {
  for (int y : {1900, 1999, 2000, 2024, 2026, 2100}) {
    for (int m = 1; m <= 12; ++m) {
      for (int d : {1, 15, 28}) {
        int yy = 0;
        int mm = 0;
        int dd = 0;
        DecodeDate(EncodeDate(y, m, d) + 0.75, yy, mm, dd);
        EXPECT_EQ(yy * 10000 + mm * 100 + dd, y * 10000 + m * 100 + d);
      }
    }
  }
  int h = 0;
  int mi = 0;
  int s = 0;
  DecodeTime(EncodeDate(2026, 12, 8) + EncodeTime(23, 59, 59), h, mi, s);
  EXPECT_EQ(h * 10000 + mi * 100 + s, 235959);
  // Just under midnight rounds to the millisecond, never to 24:00:00.
  DecodeTime(EncodeDate(2026, 12, 8) + 0.9999999999, h, mi, s);
  EXPECT_EQ(h * 10000 + mi * 100 + s, 0);
}

TEST(DateTime, Texts) {
  const TDateTime t = EncodeDate(2026, 1, 8) + EncodeTime(4, 5, 9);
  EXPECT_EQ(DateToStr(t), "08/01/2026");
  EXPECT_EQ(TimeToStr(t), "04:05:09");
  EXPECT_EQ(DateTimeToStr(t), "08/01/2026 04:05:09");
  EXPECT_EQ(DateTimeToStr(EncodeDate(2026, 1, 8)), "08/01/2026 00:00:00");
  // Seconds are not rounded up by a fraction of a second.
  EXPECT_EQ(TimeToStr(EncodeTime(10, 0, 59) + 0.9 / 86400), "10:00:59");
  // Before 30/12/1899 the time is still the fraction.
  EXPECT_EQ(DateTimeToStr(-1.25), "29/12/1899 06:00:00");
}

TEST(DateTime, ReadingDates) {
  TDateTime v = 0;
  ASSERT_TRUE(TryStrToDate("08/12/2026", v));
  EXPECT_EQ(v, EncodeDate(2026, 12, 8));
  ASSERT_TRUE(TryStrToDate("8/2/2026", v));
  EXPECT_EQ(v, EncodeDate(2026, 2, 8));
  ASSERT_TRUE(TryStrToDate("29/02/2024", v));
  ASSERT_TRUE(TryStrToDate("01/01/26", v));
  EXPECT_EQ(v, EncodeDate(2026, 1, 1));
  EXPECT_FALSE(TryStrToDate("29/02/2023", v));
  EXPECT_FALSE(TryStrToDate("31/04/2026", v));
  EXPECT_FALSE(TryStrToDate("99/99/2024", v));
  EXPECT_FALSE(TryStrToDate("2026-12-08", v));
  EXPECT_FALSE(TryStrToDate("08/12/2026x", v));
  EXPECT_FALSE(TryStrToDate("", v));
}

TEST(DateTime, NowIsTheLocalClock) {
  const std::time_t before = std::time(nullptr);
  const TDateTime now = Now();
  std::tm local{};
  localtime_r(&before, &local);
  const TDateTime expected = EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
                             EncodeTime(local.tm_hour, local.tm_min, local.tm_sec);
  // Within a few seconds of the clock read just before.
  EXPECT_NEAR(now, expected, 5.0 / 86400);
  EXPECT_EQ(Date(), std::floor(Now()));
}
