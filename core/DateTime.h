// This file implements TDateTime and its arithmetic: encoding and decoding dates and times,
// calendar helpers, month stepping, and the replaceable clock behind Now, Date, Time and the tick count.
#pragma once

#include <cstdint>

// Days counted from 1899-12-30; the fractional part is the time of day whatever the sign, so
// -1.25 is 1899-12-29 06:00 (the day is the integer part, the time the absolute fraction).
using TDateTime = double;

inline constexpr int HoursPerDay = 24;
inline constexpr int MinsPerDay = HoursPerDay * 60;
inline constexpr int SecsPerDay = MinsPerDay * 60;
inline constexpr int MSecsPerDay = SecsPerDay * 1000;

bool IsLeapYear(int Year);
// 0 when the month is outside 1..12.
int DaysInAMonth(int Year, int Month);

// Years 1..9999, months 1..12, days within the month; EConvertError otherwise.
TDateTime EncodeDate(int Year, int Month, int Day);
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date);
// Hours 0..23, minutes and seconds 0..59, milliseconds 0..999; EConvertError otherwise.
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Time);
// The date and the time joined with the sign convention above (a date before 1899-12-30 subtracts
// its time); EConvertError when either part is out of range.
TDateTime EncodeDateTime(int Year, int Month, int Day, int Hour, int Min, int Sec, int MSec);
bool TryEncodeDateTime(int Year, int Month, int Day, int Hour, int Min, int Sec, int MSec,
                       TDateTime& Value);

// Decoding rounds the value to the nearest millisecond first, then splits it into day and time, so
// a value a hair below midnight is the next day at 00:00:00.000 and never 24:00. A value before
// 0001-01-01 (or not finite) decodes to all zeros, as the platform leaves it.
void DecodeDate(TDateTime Value, int& Year, int& Month, int& Day);
void DecodeTime(TDateTime Value, int& Hour, int& Min, int& Sec, int& MSec);
void DecodeDateTime(TDateTime Value, int& Year, int& Month, int& Day, int& Hour, int& Min,
                    int& Sec, int& MSec);
int YearOf(TDateTime Value);
int MonthOf(TDateTime Value);
int DayOf(TDateTime Value);
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime Value);

// The day alone (time 00:00) and the time of day alone (a value in [0, 1)).
TDateTime DateOf(TDateTime Value);
TDateTime TimeOf(TDateTime Value);
// Moves by whole months, cutting the day to the target month's length and keeping the time of day.
TDateTime IncMonth(TDateTime Value, int NumberOfMonths = 1);

// The source of the current time. Tests install their own with SetClock and restore the system
// clock with SetClock(nullptr); the clock is not owned.
struct TClock {
  virtual ~TClock() = default;
  virtual TDateTime Now() = 0;
  virtual std::uint64_t TickCount() = 0;
};
void SetClock(TClock* Clock);

// A clock that reads back what it is given: the fake that tests install.
struct TFixedClock : TClock {
  TDateTime Value = 0;
  std::uint64_t Ticks = 0;
  TFixedClock() = default;
  explicit TFixedClock(TDateTime At, std::uint64_t TickCount = 0) : Value(At), Ticks(TickCount) {}
  TDateTime Now() override { return Value; }
  std::uint64_t TickCount() override { return Ticks; }
};

TDateTime Now();
TDateTime Date();
TDateTime Time();
// Milliseconds from the clock. Named apart from the Windows API's GetTickCount, which reads the
// system and could not be fixed by tests.
std::uint64_t ClockTicks();
