// This file tests TDateTime encoding and decoding, the calendar helpers, IncMonth and the clock.
#include "DateTime.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

#include "Exceptions.h"

namespace {

struct YMD {
  int Year, Month, Day;
};

YMD Decoded(TDateTime v) {
  YMD r;
  DecodeDate(v, r.Year, r.Month, r.Day);
  return r;
}

struct HMS {
  int Hour, Min, Sec, MSec;
};

HMS DecodedTime(TDateTime v) {
  HMS r;
  DecodeTime(v, r.Hour, r.Min, r.Sec, r.MSec);
  return r;
}

// Serial numbers worked out independently of the code under test.
struct KnownDate {
  int Year, Month, Day;
  double Serial;
  int DayOfWeek;  // 1 = Sunday
};

const KnownDate kKnownDates[] = {
    {1899, 12, 30, 0, 7},         {1899, 12, 29, -1, 6},
    {1, 1, 1, -693593, 2},        {9999, 12, 31, 2958465, 6},
    {1900, 1, 1, 2, 2},           {1900, 2, 28, 60, 4},
    {1900, 3, 1, 61, 5},  // 1900 has no 29 February
    {2000, 2, 29, 36585, 3},      {2000, 3, 1, 36586, 4},
    {1600, 2, 29, -109512, 3},    {1970, 1, 1, 25569, 5},
    {2026, 2, 5, 46058, 5},
};

TEST(DateEncoding, KnownDatesEncodeDecodeAndFallOnTheirWeekday) {
  for (const KnownDate& k : kKnownDates) {
    SCOPED_TRACE(testing::Message() << k.Year << "-" << k.Month << "-" << k.Day);
    EXPECT_EQ(EncodeDate(k.Year, k.Month, k.Day), k.Serial);
    YMD d = Decoded(k.Serial);
    EXPECT_EQ(d.Year, k.Year);
    EXPECT_EQ(d.Month, k.Month);
    EXPECT_EQ(d.Day, k.Day);
    EXPECT_EQ(DayOfWeek(k.Serial), k.DayOfWeek);
  }
}

TEST(DateEncoding, EveryDayFromYear1To9999DecodesToTheNextCalendarDay) {
  // Walks the whole range, so the ends of 4-, 100- and 400-year cycles are all crossed.
  int y = 1, m = 1, d = 1;
  for (long long serial = -693593; serial <= 2958465; ++serial) {
    YMD got = Decoded(double(serial));
    if (got.Year != y || got.Month != m || got.Day != d) {
      FAIL() << "serial " << serial << " decodes to " << got.Year << "-" << got.Month << "-"
             << got.Day << ", expected " << y << "-" << m << "-" << d;
    }
    TDateTime back;
    ASSERT_TRUE(TryEncodeDate(y, m, d, back));
    ASSERT_EQ(back, double(serial));
    if (++d > DaysInAMonth(y, m)) {
      d = 1;
      if (++m > 12) {
        m = 1;
        ++y;
      }
    }
  }
}

TEST(DateEncoding, InvalidDatesAreRefused) {
  const YMD bad[] = {{1900, 2, 29}, {2026, 2, 29}, {2000, 2, 30}, {2026, 4, 31}, {2026, 1, 0},
                     {2026, 0, 1},  {2026, 13, 1}, {0, 1, 1},     {10000, 1, 1}, {-5, 1, 1}};
  for (const YMD& b : bad) {
    SCOPED_TRACE(testing::Message() << b.Year << "-" << b.Month << "-" << b.Day);
    TDateTime out = 123;
    EXPECT_FALSE(TryEncodeDate(b.Year, b.Month, b.Day, out));
    EXPECT_EQ(out, 123);
    try {
      EncodeDate(b.Year, b.Month, b.Day);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message, "Argument de date incorrect");
    }
  }
}

TEST(DateEncoding, LeapYearsAndMonthLengths) {
  struct Case {
    int Year;
    bool Leap;
  } leaps[] = {{1900, false}, {2000, true}, {2024, true}, {2026, false}, {2100, false}, {2400, true}};
  for (const Case& c : leaps) EXPECT_EQ(IsLeapYear(c.Year), c.Leap) << c.Year;

  const int common[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (int m = 1; m <= 12; ++m) {
    EXPECT_EQ(DaysInAMonth(2026, m), common[m - 1]) << m;
    EXPECT_EQ(DaysInAMonth(2000, m), m == 2 ? 29 : common[m - 1]) << m;
  }
  EXPECT_EQ(DaysInAMonth(1900, 2), 28);
  EXPECT_EQ(DaysInAMonth(2026, 0), 0);
  EXPECT_EQ(DaysInAMonth(2026, 13), 0);
}

TEST(TimeEncoding, EncodesFractionsOfADayAndDecodesThemBack) {
  struct Case {
    int H, M, S, MS;
    double Expected;
  } cases[] = {
      {0, 0, 0, 0, 0.0},
      {6, 0, 0, 0, 0.25},
      {12, 0, 0, 0, 0.5},
      {18, 0, 0, 0, 0.75},
      {0, 0, 0, 1, 1.0 / 86400000},
      {23, 59, 59, 999, 86399999.0 / 86400000},
      {14, 7, 9, 45, (14 * 3600000.0 + 7 * 60000 + 9 * 1000 + 45) / 86400000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.H << ":" << c.M << ":" << c.S << "." << c.MS);
    TDateTime t = EncodeTime(c.H, c.M, c.S, c.MS);
    EXPECT_DOUBLE_EQ(t, c.Expected);
    HMS back = DecodedTime(t);
    EXPECT_EQ(back.Hour, c.H);
    EXPECT_EQ(back.Min, c.M);
    EXPECT_EQ(back.Sec, c.S);
    EXPECT_EQ(back.MSec, c.MS);
  }
}

TEST(TimeEncoding, OutOfRangePartsAreRefused) {
  const HMS bad[] = {{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}, {-1, 0, 0, 0},
                     {0, -1, 0, 0}};
  for (const HMS& b : bad) {
    SCOPED_TRACE(testing::Message() << b.Hour << ":" << b.Min << ":" << b.Sec << "." << b.MSec);
    TDateTime out;
    EXPECT_FALSE(TryEncodeTime(b.Hour, b.Min, b.Sec, b.MSec, out));
    try {
      EncodeTime(b.Hour, b.Min, b.Sec, b.MSec);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message, "Argument d'heure incorrect");
    }
  }
}

TEST(DateTimeValues, BeforeTheEpochTheFractionIsStillTheTimeOfDay) {
  // -1.25: day -1 (1899-12-29) at 06:00, not 1899-12-28 18:00.
  EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);
  EXPECT_EQ(EncodeDateTime(1899, 12, 30, 6, 0, 0, 0), 0.25);
  EXPECT_EQ(EncodeDateTime(1899, 12, 28, 18, 0, 0, 0), -2.75);

  int y, mo, d, h, mi, s, ms;
  DecodeDateTime(-1.25, y, mo, d, h, mi, s, ms);
  EXPECT_EQ((std::array<int, 7>{y, mo, d, h, mi, s, ms}),
            (std::array<int, 7>{1899, 12, 29, 6, 0, 0, 0}));
  DecodeDateTime(-0.5, y, mo, d, h, mi, s, ms);  // the integer part is 0: the epoch day itself
  EXPECT_EQ((std::array<int, 7>{y, mo, d, h, mi, s, ms}),
            (std::array<int, 7>{1899, 12, 30, 12, 0, 0, 0}));

  EXPECT_EQ(DateOf(-1.25), -1.0);
  EXPECT_EQ(TimeOf(-1.25), 0.25);
  EXPECT_EQ(DateOf(46058.75), 46058.0);
  EXPECT_EQ(TimeOf(46058.75), 0.75);
}

TEST(DateTimeValues, DecodingRoundsToTheMillisecondBeforeSplittingDayAndTime) {
  // 0.99999999 day is 86399999.1 ms: still the same day at 23:59:59.999.
  EXPECT_EQ(DecodedTime(0.99999999).Hour, 23);
  EXPECT_EQ(DecodedTime(0.99999999).MSec, 999);
  EXPECT_EQ(Decoded(0.99999999).Day, 30);
  // 0.999999999 day is 86399999.9 ms: rounds to a full day, so it is the next day at midnight.
  HMS t = DecodedTime(0.999999999);
  EXPECT_EQ((std::array<int, 4>{t.Hour, t.Min, t.Sec, t.MSec}), (std::array<int, 4>{0, 0, 0, 0}));
  YMD d = Decoded(0.999999999);
  EXPECT_EQ((std::array<int, 3>{d.Year, d.Month, d.Day}), (std::array<int, 3>{1899, 12, 31}));
  EXPECT_EQ(DayOfWeek(0.999999999), 1);  // Sunday, with the decoded day
  // A time read back from its own encoding with a float error still gives the exact parts.
  TDateTime v = EncodeDate(2026, 2, 5) + EncodeTime(23, 59, 59, 999);
  HMS back = DecodedTime(v);
  EXPECT_EQ((std::array<int, 4>{back.Hour, back.Min, back.Sec, back.MSec}),
            (std::array<int, 4>{23, 59, 59, 999}));
  EXPECT_EQ(DayOf(v), 5);
}

TEST(DateTimeValues, ValuesOutsideTheCalendarDecodeToZeros) {
  const double outside[] = {-693594.0, -1e12, std::numeric_limits<double>::quiet_NaN(),
                            std::numeric_limits<double>::infinity()};
  for (double v : outside) {
    YMD d = Decoded(v);
    EXPECT_EQ((std::array<int, 3>{d.Year, d.Month, d.Day}), (std::array<int, 3>{0, 0, 0})) << v;
    EXPECT_EQ(DayOfWeek(v), 0) << v;
  }
}

TEST(DateTimeValues, EncodeDateTimeRefusesABadDateOrTime) {
  TDateTime out;
  EXPECT_FALSE(TryEncodeDateTime(2026, 2, 29, 0, 0, 0, 0, out));
  EXPECT_FALSE(TryEncodeDateTime(2026, 2, 28, 24, 0, 0, 0, out));
  EXPECT_THROW(EncodeDateTime(2026, 2, 29, 0, 0, 0, 0), EConvertError);
  EXPECT_THROW(EncodeDateTime(2026, 2, 28, 0, 61, 0, 0), EConvertError);
  ASSERT_TRUE(TryEncodeDateTime(2026, 2, 5, 18, 0, 0, 0, out));
  EXPECT_EQ(out, 46058.75);
  EXPECT_EQ(YearOf(out), 2026);
  EXPECT_EQ(MonthOf(out), 2);
  EXPECT_EQ(DayOf(out), 5);
}

TEST(IncMonthTest, StepsMonthsCuttingTheDayAndKeepingTheTime) {
  struct Case {
    YMD From;
    int Months;
    YMD To;
  } cases[] = {
      {{2026, 1, 31}, 1, {2026, 2, 28}},   {{2024, 1, 31}, 1, {2024, 2, 29}},
      {{2026, 3, 31}, -1, {2026, 2, 28}},  {{2026, 1, 15}, -1, {2025, 12, 15}},
      {{2026, 12, 15}, 1, {2027, 1, 15}},  {{2026, 5, 10}, 25, {2028, 6, 10}},
      {{2026, 5, 10}, -17, {2024, 12, 10}}, {{2026, 5, 10}, -12, {2025, 5, 10}},
      {{2026, 5, 10}, 0, {2026, 5, 10}},   {{2026, 8, 31}, 1, {2026, 9, 30}},
      {{2000, 2, 29}, 12, {2001, 2, 28}},
  };
  const TDateTime time = EncodeTime(13, 45, 0, 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.From.Year << "-" << c.From.Month << "-" << c.From.Day
                                    << " + " << c.Months);
    TDateTime got = IncMonth(EncodeDate(c.From.Year, c.From.Month, c.From.Day) + time, c.Months);
    EXPECT_DOUBLE_EQ(got, EncodeDate(c.To.Year, c.To.Month, c.To.Day) + time);
  }
}

TEST(IncMonthTest, CrossesTheEpochKeepingTheTimeOfDayAndStopsAtYear9999) {
  // 1899-12-29 06:00 plus one month is 1900-01-29 06:00: the time is added once the day is positive.
  EXPECT_DOUBLE_EQ(IncMonth(-1.25, 1), EncodeDate(1900, 1, 29) + 0.25);
  EXPECT_DOUBLE_EQ(IncMonth(EncodeDate(1900, 1, 29) + 0.25, -1), -1.25);
  EXPECT_THROW(IncMonth(EncodeDate(9999, 12, 1), 1), EConvertError);
}

TEST(Clock, NowDateTimeAndTicksComeFromTheInstalledClock) {
  TFixedClock clock(EncodeDate(2026, 2, 5) + EncodeTime(14, 7, 9, 0), 123456789012ULL);
  SetClock(&clock);
  EXPECT_EQ(Now(), clock.Value);
  EXPECT_EQ(Date(), EncodeDate(2026, 2, 5));
  EXPECT_NEAR(Time(), EncodeTime(14, 7, 9, 0), 1e-9);  // well under a millisecond (1.2e-8 day)
  EXPECT_EQ(ClockTicks(), 123456789012ULL);
  clock.Value = EncodeDate(2030, 7, 1);
  clock.Ticks = 5;
  EXPECT_EQ(Date(), EncodeDate(2030, 7, 1));
  EXPECT_EQ(Time(), 0.0);
  EXPECT_EQ(ClockTicks(), 5u);

  // Restoring the system clock: the real time is well after the fake one set here.
  clock.Value = EncodeDate(1, 1, 1);
  SetClock(nullptr);
  EXPECT_GT(Now(), EncodeDate(2020, 1, 1));
}

}  // namespace
