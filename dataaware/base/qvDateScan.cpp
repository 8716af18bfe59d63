// This file implements the lenient scanning of dates, times and numbers in the locale's formats.
#include "qvDateScan.h"

#include "FloatFormat.h"
#include "FormatSettings.h"
#include "StrUtils.h"
#include "TextOrder.h"
#include "qvStrUtils.h"

namespace {

constexpr std::array<std::uint16_t, 12> CommonYear = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr std::array<std::uint16_t, 12> LeapYear = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

bool IsDigit(char C) { return C >= '0' && C <= '9'; }

// The character at a 1-based position, or 0 beyond the text.
char At(const String& Text, int Pos) { return Pos >= 1 && Pos <= int(Text.size()) ? Text[std::size_t(Pos - 1)] : '\0'; }

// A date and a time of day joined as TDateTime holds them: before 30/12/1899 the time is
// subtracted, so that the fraction stays the time of day.
TDateTime JoinDateTime(TDateTime Date, TDateTime Time) { return Date < 0 ? Date - Time : Date + Time; }

// Counts the Separator-delimited parts that end before the caret, from Start; Resume is how far
// the scan moves after each separator beyond it. MinuteEnd receives where the second part ends.
int CountPartsBefore(int Caret, const String& Text, int Start, char Separator, int Resume, int& MinuteEnd) {
  String Delimiter(1, Separator);
  String Part;
  int P = Start;
  int Count = 0;
  MinuteEnd = 100;
  for (;;) {
    qvGetToken(Text, Delimiter, P, Part);
    if (Part.empty() || P == -1 || Caret < P - 1) break;
    if (Count == 1) MinuteEnd = P - 1;
    P += Resume;
    ++Count;
  }
  return Count;
}

int TimePartFrom(int Caret, const String& Text, int Start) {
  int MinuteEnd;
  // The scan resumes one character after each separator, as the library always did.
  int Count = CountPartsBefore(Caret, Text, Start, FormatSettings.TimeSeparator, 1, MinuteEnd);
  if (Count == 0) return dpHour;
  if (Count == 1) return dpMinute;
  if (Count == 2 && Caret > MinuteEnd + 2) return dpAmPm;
  return dpSecond;
}

}  // namespace

int qvGetDateOrder(const String& Format) {
  for (char C : Format) {
    switch (C) {
      case 'M':
      case 'm':
        return doMDY;
      case 'D':
      case 'd':
        return doDMY;
      case 'Y':
      case 'y':
        return doYMD;
      default:
        break;
    }
  }
  return doMDY;
}

void qvSkipBlanks(const String& Text, int& Pos) {
  while (At(Text, Pos) == ' ') ++Pos;
}

bool qvScanNumber(const String& Text, int& Pos, int& Value) {
  qvSkipBlanks(Text, Pos);
  Value = 0;
  int Digits = 0;
  while (IsDigit(At(Text, Pos)) && Value <= 999) {
    Value = Value * 10 + (At(Text, Pos) - '0');
    ++Pos;
    ++Digits;
  }
  if (Digits > 0) return true;
  if (Pos < 1) return false;
  // A month name: only names of exactly three characters can match the three characters read.
  String Three = UpperCase(Copy(Text, Pos, 3));
  for (int Month = 0; Month < 12; ++Month) {
    if (UpperCase(FormatSettings.ShortMonthNames[std::size_t(Month)]) == Three && Three.size() == 3) {
      Value = Month + 1;
      Pos += 3;
      return true;
    }
  }
  return false;
}

bool qvScanText(const String& Text, int& Pos, const String& S) {
  if (S.empty()) return false;
  qvSkipBlanks(Text, Pos);
  if (Pos < 1) return false;
  String Next = Copy(Text, Pos, int(S.size()));
  if (Next.size() != S.size() || !AnsiSameText(Next, S)) return false;
  Pos += int(S.size());
  return true;
}

bool qvScanChar(const String& Text, int& Pos, char C) {
  qvSkipBlanks(Text, Pos);
  if (Pos < 1 || At(Text, Pos) != C || C == '\0') return false;
  ++Pos;
  return true;
}

int qvCurrentYear() { return YearOf(Now()); }

bool qvIsLeapYear(int Year) { return (Year % 4 == 0 && Year % 100 != 0) || Year % 400 == 0; }

const std::array<std::uint16_t, 12>& qvDaysInMonthTable(int Year) { return qvIsLeapYear(Year) ? LeapYear : CommonYear; }

bool qvTryEncodeDate(int Year, int Month, int Day, TDateTime& Date) {
  if (Year <= 0 || Year > 9999 || Month < 1 || Month > 12) return false;
  const auto& Table = qvDaysInMonthTable(Year);
  if (Day < 1 || Day > Table[std::size_t(Month - 1)]) return false;
  int DayOfYear = Day;
  for (int M = 1; M < Month; ++M) DayOfYear += Table[std::size_t(M - 1)];
  int Y = Year - 1;
  Date = double(Y * 365 + Y / 4 - Y / 100 + Y / 400 + DayOfYear - 693594);
  return true;
}

bool qvTryEncodeTime(int Hour, int Minute, int Second, int MilliSecond, TDateTime& Time) {
  if (Hour < 0 || Minute < 0 || Second < 0 || MilliSecond < 0) return false;
  if (Hour > 23 || Minute > 59 || Second > 59 || MilliSecond > 999) return false;
  Time = double((Hour * 60 + Minute) * 60000 + Second * 1000 + MilliSecond) / double(MSecsPerDay);
  return true;
}

bool qvScanDate(const String& Text, int& Pos, TDateTime& Date, int Pivot) {
  int Order = qvGetDateOrder(FormatSettings.ShortDateFormat);
  char Separator = FormatSettings.DateSeparator;
  int A, B, C;
  if (!qvScanNumber(Text, Pos, A) || !qvScanChar(Text, Pos, Separator) || !qvScanNumber(Text, Pos, B)) return false;
  int Year, Month, Day;
  if (qvScanChar(Text, Pos, Separator)) {
    if (!qvScanNumber(Text, Pos, C)) return false;
    switch (Order) {
      case doMDY:
        Month = A, Day = B, Year = C;
        break;
      case doDMY:
        Day = A, Month = B, Year = C;
        break;
      default:
        Year = A, Month = B, Day = C;
        break;
    }
    if (Year <= 99) {
      Year += (Pivot / 100) * 100;
      if (Year < Pivot) Year += 100;
    }
  } else {
    Year = qvCurrentYear();
    if (Order == doDMY) {
      Day = A, Month = B;
    } else {
      Month = A, Day = B;
    }
  }
  qvSkipBlanks(Text, Pos);
  return qvTryEncodeDate(Year, Month, Day, Date);
}

bool qvScanDateAt(const String& Text, int& Pos, TDateTime& Date) { return qvScanDate(Text, Pos, Date, 1950); }

bool qvScanDateText(const String& Text, TDateTime& Date) {
  int Pos = 1;
  return qvScanDateAt(Text, Pos, Date);
}

bool qvScanDateTextPivot(const String& Text, TDateTime& Date, int Pivot) {
  int Pos = 1;
  return qvScanDate(Text, Pos, Date, Pivot);
}

bool qvScanTime(const String& Text, int& Pos, TDateTime& Time) {
  char Separator = FormatSettings.TimeSeparator;
  int Hour, Minute, Second = 0;
  if (!qvScanNumber(Text, Pos, Hour) || !qvScanChar(Text, Pos, Separator) || !qvScanNumber(Text, Pos, Minute))
    return false;
  if (qvScanChar(Text, Pos, Separator) && !qvScanNumber(Text, Pos, Second)) return false;
  int Offset = -1;
  if (qvScanText(Text, Pos, FormatSettings.TimeAMString) || qvScanText(Text, Pos, "AM"))
    Offset = 0;
  else if (qvScanText(Text, Pos, FormatSettings.TimePMString) || qvScanText(Text, Pos, "PM"))
    Offset = 12;
  if (Offset >= 0) {
    if (Hour < 1 || Hour > 12) return false;
    if (Hour == 12) Hour = 0;
    Hour += Offset;
  }
  qvSkipBlanks(Text, Pos);
  return qvTryEncodeTime(Hour, Minute, Second, 0, Time);
}

bool qvIsValidDateText(const String& Text) {
  int Pos = 1;
  TDateTime Date;
  return qvScanDateAt(Text, Pos, Date) && Pos > int(Text.size());
}

bool qvIsValidTimeText(const String& Text) {
  TDateTime Time;
  return qvTryTextToTime(Text, Time);
}

bool qvIsValidDateTimeText(const String& Text) {
  TDateTime Value;
  return qvTryTextToDateTime(Text, Value);
}

bool qvTryTextToDate(const String& Text, TDateTime& Date) {
  int Pos = 1;
  return qvScanDateAt(Text, Pos, Date);
}

bool qvTryTextToTime(const String& Text, TDateTime& Time) {
  int Pos = 1;
  return qvScanTime(Text, Pos, Time) && Pos > int(Text.size());
}

bool qvTryTextToDateTime(const String& Text, TDateTime& Value) {
  int Pos = 1;
  TDateTime Date, Time;
  if (!qvScanDateAt(Text, Pos, Date) || !qvScanTime(Text, Pos, Time) || Pos <= int(Text.size())) return false;
  Value = JoinDateTime(Date, Time);
  return true;
}

TDateTime qvTextToDate(const String& Text) {
  TDateTime Date;
  return qvTryTextToDate(Text, Date) ? Date : 0;
}

TDateTime qvTextToTime(const String& Text) {
  TDateTime Time;
  return qvTryTextToTime(Text, Time) ? Time : 0;
}

TDateTime qvTextToDateTime(const String& Text) {
  TDateTime Value;
  return qvTryTextToDateTime(Text, Value) ? Value : 0;
}

bool qvIsValidIntegerText(const String& Text) {
  for (std::size_t i = 0; i < Text.size(); ++i) {
    if (IsDigit(Text[i])) continue;
    if (i == 0 && Text[i] == '-' && Text.size() > 1) continue;
    return false;
  }
  return true;
}

bool qvIsValidFloatText(const String& Text) {
  if (Text.empty()) return true;
  // The whole text is read: a number followed by anything, however far, is not a number.
  double Value;
  return TryStrToFloat(Text, Value);
}

int qvGetTimePartAt(int Caret, const String& Text) {
  if (Caret < 1) return dpHour;
  return TimePartFrom(Caret, Text, 1);
}

int qvGetDateTimePartAt(int Caret, const String& Text, bool TimeOnly) {
  if (TimeOnly) return TimePartFrom(Caret, Text, 1);
  int Pos = 1;
  TDateTime Date;
  if (qvScanDateAt(Text, Pos, Date) && (Caret >= Pos || (Caret == Pos - 1 && At(Text, Caret) == ' ')))
    return TimePartFrom(Caret, Text, Pos);
  int Unused;
  int Part = CountPartsBefore(Caret, Text, 1, FormatSettings.DateSeparator, 0, Unused);
  int Order = qvGetDateOrder(FormatSettings.ShortDateFormat);
  switch (Part) {
    case 0:
      return Order == doMDY ? dpMonth : Order == doDMY ? dpDay : dpYear;
    case 1:
      return Order == doMDY ? dpDay : dpMonth;
    case 2:
      return Order == doYMD ? dpDay : dpYear;
    default:
      return dpDay;
  }
}

bool qvDisplayTextToFloat(const String& Text, double& Value, const String& DisplayFormat) {
  Value = 0;
  if (Text.empty()) return true;
  char Decimal = FormatSettings.DecimalSeparator;
  auto Starts = [&](char C, bool AllowMinus) { return C == '(' || IsDigit(C) || C == Decimal || (AllowMinus && C == '-'); };
  std::size_t Start = 0;
  while (Start < Text.size() && !Starts(Text[Start], true)) ++Start;
  bool Negative = Start < Text.size() && Text[Start] == '-';
  if (Negative)
    while (Start < Text.size() && !Starts(Text[Start], false)) ++Start;
  String Number;
  for (std::size_t i = Start; i < Text.size(); ++i) {
    char C = Text[i];
    if (C == '(')
      Number += '-';
    else if (IsDigit(C) || C == Decimal)
      Number += C;
  }
  if (Negative) Number.insert(Number.begin(), '-');
  double Read;
  if (!TryStrToFloat(Number, Read)) return false;
  Value = Read;
  // A format whose negative section shows neither "-" nor "(" is told by formatting both signs.
  if (Value > 0 && !DisplayFormat.empty() && FormatFloat(DisplayFormat, Value) != Text &&
      FormatFloat(DisplayFormat, -Value) == Text)
    Value = -Value;
  return true;
}
