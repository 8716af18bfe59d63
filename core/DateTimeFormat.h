// This file implements date and time text: FormatDateTime with its format tokens, the short
// conversions (DateToStr, TimeToStr, DateTimeToStr) and the scanners StrToDate, StrToTime and
// StrToDateTime. Every function reads FormatSettings when it is called.
#pragma once

#include "AnsiString.h"
#include "DateTime.h"

// Tokens, letters in either case:
//   c        short date, then a blank and the long time when hours, minutes or seconds are not zero
//   d dd     day of the month;  ddd dddd  short and long day name;  ddddd  short date;  dddddd  long date
//   m mm     month (minutes when it follows an h token);  mmm mmmm  short and long month name
//   y yy     two-digit year;  yyy yyyy  full year
//   h hh     hour (12-hour form when am/pm, a/p or ampm follows before the next h token)
//   n nn     minutes;  s ss  seconds;  z zzz  milliseconds
//   t tt     short and long time
//   am/pm a/p  the letters as written, first or second half by the hour
//   ampm     TimeAMString or TimePMString;  aaa aaaa  short and long day name
//   /  :     DateSeparator and TimeSeparator
//   '...' "..."  literal text;  any other character is copied.
// An empty format formats as "c".
String FormatDateTime(const String& Format, TDateTime Value);

String DateToStr(TDateTime Value);      // ShortDateFormat
String TimeToStr(TDateTime Value);      // LongTimeFormat
String DateTimeToStr(TDateTime Value);  // "c": the time is left out at midnight

// Dates are read as numbers separated by DateSeparator, blanks allowed around each part, in the order
// of day, month and year that ShortDateFormat shows. A year of one or two digits lands within the
// hundred years that start TwoDigitYearCenturyWindow years before the clock's current year (window 50
// in 2026: 1976..2075; window 0: the current century); two parts alone are day and month of the
// current year. Times are hours, then optionally ":minutes", ":seconds" and DecimalSeparator with
// milliseconds, with an AM/PM marker (TimeAMString/TimePMString or "AM"/"PM") before or after.
// The whole text must be read; EConvertError otherwise.
TDateTime StrToDate(const String& S);
TDateTime StrToTime(const String& S);
// A date, then optionally a time after blanks; a text that is no date is read as a time alone.
TDateTime StrToDateTime(const String& S);
bool TryStrToDate(const String& S, TDateTime& Value);
bool TryStrToTime(const String& S, TDateTime& Value);
bool TryStrToDateTime(const String& S, TDateTime& Value);
TDateTime StrToDateDef(const String& S, TDateTime Default);
TDateTime StrToTimeDef(const String& S, TDateTime Default);
TDateTime StrToDateTimeDef(const String& S, TDateTime Default);
