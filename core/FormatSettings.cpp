// This file implements the French locale settings.
#include "FormatSettings.h"

TFormatSettings TFormatSettings::French() {
  TFormatSettings s;
  s.DecimalSeparator = ',';
  s.ThousandSeparator = '\xA0';
  s.DateSeparator = '/';
  s.TimeSeparator = ':';
  s.ListSeparator = ';';
  s.ShortDateFormat = "dd/mm/yyyy";
  s.LongDateFormat = "dddd d mmmm yyyy";
  s.ShortTimeFormat = "hh:nn";
  s.LongTimeFormat = "hh:nn:ss";
  s.TimeAMString = "";
  s.TimePMString = "";
  s.CurrencyString = "€"_a;
  s.CurrencyFormat = 3;
  s.NegCurrFormat = 8;
  s.CurrencyDecimals = 2;
  s.ShortMonthNames = {"janv.", "févr."_a, "mars", "avr.", "mai", "juin",
                       "juil.", "août"_a, "sept.", "oct.", "nov.", "déc."_a};
  s.LongMonthNames = {"janvier", "février"_a, "mars", "avril", "mai", "juin",
                      "juillet", "août"_a, "septembre", "octobre", "novembre", "décembre"_a};
  s.ShortDayNames = {"dim.", "lun.", "mar.", "mer.", "jeu.", "ven.", "sam."};
  s.LongDayNames = {"dimanche", "lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi"};
  s.FirstDayOfWeek = 1;
  s.TwoDigitYearCenturyWindow = 50;
  return s;
}

TFormatSettings FormatSettings = TFormatSettings::French();
