// This file implements the locale settings that every formatting and scanning function reads:
// one global object with the French values, changeable at run time (the program forces the
// decimal separator to "," at start; tests change any value).
#pragma once

#include <array>

#include "AnsiString.h"

struct TFormatSettings {
  char DecimalSeparator;
  char ThousandSeparator;
  char DateSeparator;
  char TimeSeparator;
  char ListSeparator;
  String ShortDateFormat;
  String LongDateFormat;
  String ShortTimeFormat;
  String LongTimeFormat;
  String TimeAMString;
  String TimePMString;
  String CurrencyString;
  int CurrencyFormat;     // 0 "€1", 1 "1€", 2 "€ 1", 3 "1 €"
  int NegCurrFormat;      // the platform's 16 negative currency layouts
  int CurrencyDecimals;
  std::array<String, 12> ShortMonthNames;
  std::array<String, 12> LongMonthNames;
  std::array<String, 7> ShortDayNames;  // Sunday first
  std::array<String, 7> LongDayNames;   // Sunday first
  int FirstDayOfWeek;                   // 1 Monday .. 7 Sunday
  int TwoDigitYearCenturyWindow;        // years read within this many years of the current one

  static TFormatSettings French();
};

// The settings in force; reset with FormatSettings = TFormatSettings::French().
extern TFormatSettings FormatSettings;
