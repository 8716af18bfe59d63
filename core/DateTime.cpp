// This file implements TDateTime encoding and decoding, the calendar helpers and the replaceable clock.
#include "DateTime.h"

#include <cmath>

#include "Exceptions.h"
#include "OsPort.h"

namespace {

// Days from 0001-01-01 (day 1) to 1899-12-30 (day 0 of TDateTime).
constexpr long long kDateDelta = 693594;
constexpr long long kDaysPer400Years = 146097;
constexpr long long kDaysPer100Years = 36524;
constexpr long long kDaysPer4Years = 1461;

constexpr int kMonthDays[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                   {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

// A value split the way every decoder sees it: rounded to the millisecond, then the day counted
// from 0001-01-01 (1-based) and the milliseconds of the day taken from the absolute value.
struct TStamp {
  long long Day = 0;
  int MSec = 0;
  bool Valid = false;
};

TStamp ToStamp(TDateTime Value) {
  TStamp s;
  // Beyond this the millisecond count loses precision; no calendar date lies there anyway.
  if (!std::isfinite(Value) || std::fabs(Value) > 1e9) return s;
  // nearbyint rounds half to even, as the platform's rounding does.
  long long ms = static_cast<long long>(std::nearbyint(Value * MSecsPerDay));
  s.Day = kDateDelta + ms / MSecsPerDay;  // truncates toward zero: the integer part is the day
  s.MSec = static_cast<int>((ms < 0 ? -ms : ms) % MSecsPerDay);
  s.Valid = s.Day > 0;
  return s;
}

void StampToDate(long long Day, int& Year, int& Month, int& Day0) {
  long long t = Day - 1;
  long long y = 1 + 400 * (t / kDaysPer400Years);
  t %= kDaysPer400Years;
  long long i = t / kDaysPer100Years;
  long long d = t % kDaysPer100Years;
  if (i == 4) {  // the last day of a 400-year cycle
    i = 3;
    d += kDaysPer100Years;
  }
  y += i * 100;
  y += 4 * (d / kDaysPer4Years);
  d %= kDaysPer4Years;
  i = d / 365;
  d %= 365;
  if (i == 4) {  // the last day of a 4-year cycle
    i = 3;
    d += 365;
  }
  y += i;
  const int* table = kMonthDays[IsLeapYear(static_cast<int>(y)) ? 1 : 0];
  int m = 0;
  while (d >= table[m]) {
    d -= table[m];
    ++m;
  }
  Year = static_cast<int>(y);
  Month = m + 1;
  Day0 = static_cast<int>(d) + 1;
}

class TSystemClock : public TClock {
 public:
  TDateTime Now() override { return OsPort::LocalNow(); }
  std::uint64_t TickCount() override { return OsPort::TickCount(); }
};

TSystemClock gSystemClock;
TClock* gClock = &gSystemClock;

}  // namespace

bool IsLeapYear(int Year) {
  return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0);
}

int DaysInAMonth(int Year, int Month) {
  if (Month < 1 || Month > 12) return 0;
  return kMonthDays[IsLeapYear(Year) ? 1 : 0][Month - 1];
}

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date) {
  if (Year < 1 || Year > 9999 || Month < 1 || Month > 12) return false;
  if (Day < 1 || Day > DaysInAMonth(Year, Month)) return false;
  long long dayOfYear = Day;
  for (int m = 1; m < Month; ++m) dayOfYear += DaysInAMonth(Year, m);
  long long y = Year - 1;
  Date = static_cast<double>(y * 365 + y / 4 - y / 100 + y / 400 + dayOfYear - kDateDelta);
  return true;
}

TDateTime EncodeDate(int Year, int Month, int Day) {
  TDateTime result;
  if (!TryEncodeDate(Year, Month, Day, result)) throw EConvertError("Argument de date incorrect");
  return result;
}

bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Time) {
  if (Hour < 0 || Hour >= HoursPerDay || Min < 0 || Min >= 60 || Sec < 0 || Sec >= 60 ||
      MSec < 0 || MSec >= 1000)
    return false;
  Time = (Hour * 3600000.0 + Min * 60000.0 + Sec * 1000.0 + MSec) / MSecsPerDay;
  return true;
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec) {
  TDateTime result;
  if (!TryEncodeTime(Hour, Min, Sec, MSec, result)) throw EConvertError("Argument d'heure incorrect");
  return result;
}

bool TryEncodeDateTime(int Year, int Month, int Day, int Hour, int Min, int Sec, int MSec,
                       TDateTime& Value) {
  TDateTime date, time;
  if (!TryEncodeDate(Year, Month, Day, date) || !TryEncodeTime(Hour, Min, Sec, MSec, time))
    return false;
  Value = date >= 0 ? date + time : date - time;
  return true;
}

TDateTime EncodeDateTime(int Year, int Month, int Day, int Hour, int Min, int Sec, int MSec) {
  TDateTime date = EncodeDate(Year, Month, Day);
  TDateTime time = EncodeTime(Hour, Min, Sec, MSec);
  return date >= 0 ? date + time : date - time;
}

void DecodeDate(TDateTime Value, int& Year, int& Month, int& Day) {
  TStamp s = ToStamp(Value);
  if (!s.Valid) {
    Year = Month = Day = 0;
    return;
  }
  StampToDate(s.Day, Year, Month, Day);
}

void DecodeTime(TDateTime Value, int& Hour, int& Min, int& Sec, int& MSec) {
  TStamp s = ToStamp(Value);
  int ms = s.Valid ? s.MSec : 0;
  Hour = ms / 3600000;
  Min = ms / 60000 % 60;
  Sec = ms / 1000 % 60;
  MSec = ms % 1000;
}

void DecodeDateTime(TDateTime Value, int& Year, int& Month, int& Day, int& Hour, int& Min,
                    int& Sec, int& MSec) {
  DecodeDate(Value, Year, Month, Day);
  DecodeTime(Value, Hour, Min, Sec, MSec);
}

int YearOf(TDateTime Value) {
  int y, m, d;
  DecodeDate(Value, y, m, d);
  return y;
}

int MonthOf(TDateTime Value) {
  int y, m, d;
  DecodeDate(Value, y, m, d);
  return m;
}

int DayOf(TDateTime Value) {
  int y, m, d;
  DecodeDate(Value, y, m, d);
  return d;
}

int DayOfWeek(TDateTime Value) {
  TStamp s = ToStamp(Value);
  if (!s.Valid) return 0;
  return static_cast<int>(s.Day % 7) + 1;
}

TDateTime DateOf(TDateTime Value) { return std::trunc(Value); }

TDateTime TimeOf(TDateTime Value) { return std::fabs(Value - std::trunc(Value)); }

TDateTime IncMonth(TDateTime Value, int NumberOfMonths) {
  int year, month, day;
  DecodeDate(Value, year, month, day);
  int sign = NumberOfMonths >= 0 ? 1 : -1;
  year += NumberOfMonths / 12;
  month += NumberOfMonths % 12;  // both truncate toward zero
  if (month < 1 || month > 12) {
    year += sign;
    month -= 12 * sign;
  }
  int last = DaysInAMonth(year, month);
  if (day > last) day = last;
  TDateTime result = EncodeDate(year, month, day);
  TDateTime time = TimeOf(Value);
  return result >= 0 ? result + time : result - time;
}

void SetClock(TClock* Clock) { gClock = Clock ? Clock : &gSystemClock; }

TDateTime Now() { return gClock->Now(); }

TDateTime Date() { return std::trunc(gClock->Now()); }

TDateTime Time() { return TimeOf(gClock->Now()); }

std::uint64_t ClockTicks() { return gClock->TickCount(); }
