// This file implements the lenient scanning of dates, times and numbers typed in the locale's
// short formats (blanks skipped, month names, two-digit years completed by a century pivot, AM/PM
// suffixes), the part of a date or time text under the caret, and the reading back of a number
// shown through a display format. Every routine reads the global FormatSettings when called.
#pragma once

#include <array>
#include <cstdint>

#include "AnsiString.h"
#include "DateTime.h"

// Parts of a date or time text (qvGetDateTimePartAt, qvGetTimePartAt).
enum : int { dpDay = 0, dpMonth = 1, dpYear = 2, dpHour = 3, dpMinute = 4, dpSecond = 5, dpAmPm = 6 };

// Date orders of a short date format: month first, day first, year first.
enum : int { doMDY = 0, doDMY = 1, doYMD = 2 };

// The first of D, M, Y (either case) in Format decides; none gives month first.
int qvGetDateOrder(const String& Format);

// Scanning primitives over 1-based positions.
void qvSkipBlanks(const String& Text, int& Pos);
// Blanks, then up to four significant digits (leading zeros without limit), or a short month name
// of exactly three characters (ASCII case ignored), which gives its month number.
bool qvScanNumber(const String& Text, int& Pos, int& Value);
// Blanks, then S without regard to case; false for an empty S.
bool qvScanText(const String& Text, int& Pos, const String& S);
// Blanks, then exactly C.
bool qvScanChar(const String& Text, int& Pos, char C);

int qvCurrentYear();
bool qvIsLeapYear(int Year);
const std::array<std::uint16_t, 12>& qvDaysInMonthTable(int Year);
bool qvTryEncodeDate(int Year, int Month, int Day, TDateTime& Date);
bool qvTryEncodeTime(int Hour, int Minute, int Second, int MilliSecond, TDateTime& Time);

// A date in the locale's order and separator from Pos; a two-digit year falls in the hundred
// years from Pivot; day and month alone take the current year. Trailing blanks are passed over.
bool qvScanDate(const String& Text, int& Pos, TDateTime& Date, int Pivot);
bool qvScanDateAt(const String& Text, int& Pos, TDateTime& Date);  // pivot 1950
bool qvScanDateText(const String& Text, TDateTime& Date);
bool qvScanDateTextPivot(const String& Text, TDateTime& Date, int Pivot);
// Hours, minutes, optional seconds, an optional AM/PM suffix (the locale's or "AM"/"PM").
bool qvScanTime(const String& Text, int& Pos, TDateTime& Time);

// The whole text (trailing blanks included) is a date, a time, or a date followed by a time.
bool qvIsValidDateText(const String& Text);
bool qvIsValidTimeText(const String& Text);
bool qvIsValidDateTimeText(const String& Text);

// The value read, or 0 when there is none. 0 is also 30/12/1899 (and midnight): callers that must
// tell "nothing read" from that day use the qvTry forms, which answer whether a value was read.
// A date is read from the start of the text (what follows is ignored); a time, or a date and a
// time, must be the whole text.
TDateTime qvTextToDate(const String& Text);
TDateTime qvTextToTime(const String& Text);
TDateTime qvTextToDateTime(const String& Text);
bool qvTryTextToDate(const String& Text, TDateTime& Date);
bool qvTryTextToTime(const String& Text, TDateTime& Time);
bool qvTryTextToDateTime(const String& Text, TDateTime& Value);

// Digits, with an optional leading "-" before at least one digit; an empty text is valid.
bool qvIsValidIntegerText(const String& Text);
// The whole text converts with the locale's decimal separator; an empty text is valid.
bool qvIsValidFloatText(const String& Text);

// The part (dp...) under the caret.
int qvGetDateTimePartAt(int Caret, const String& Text, bool TimeOnly);
int qvGetTimePartAt(int Caret, const String& Text);

// A number shown through DisplayFormat (thousand separators, currency, "-" or parentheses) read
// back; false when no number can be read. An empty text is 0.
bool qvDisplayTextToFloat(const String& Text, double& Value, const String& DisplayFormat);
