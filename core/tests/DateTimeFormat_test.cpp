// This file tests date and time formatting and scanning with the locale settings and a fixed clock.
#include "DateTimeFormat.h"

#include <gtest/gtest.h>

#include "Exceptions.h"
#include "FormatSettings.h"

namespace {

// French settings and a clock fixed on 2026-06-15 10:00 for every test; both restored afterwards.
class DateTimeText : public testing::Test {
 protected:
  void SetUp() override {
    FormatSettings = TFormatSettings::French();
    SetClock(&Clock);
  }
  void TearDown() override {
    SetClock(nullptr);
    FormatSettings = TFormatSettings::French();
  }

  TFixedClock Clock{EncodeDateTime(2026, 6, 15, 10, 0, 0, 0)};
  // Thursday 5 February 2026, 14:07:09.045.
  const TDateTime Sample = EncodeDateTime(2026, 2, 5, 14, 7, 9, 45);
};

struct FormatCase {
  const char* Format;
  const char* Expected;
};

TEST_F(DateTimeText, EveryFormatToken) {
  const FormatCase cases[] = {
      {"d", "5"},
      {"dd", "05"},
      {"ddd", "jeu."},
      {"dddd", "jeudi"},
      {"ddddd", "05/02/2026"},
      {"dddddd", "jeudi 5 février 2026"_a},
      {"m", "2"},
      {"mm", "02"},
      {"mmm", "févr."_a},
      {"mmmm", "février"_a},
      {"y", "26"},
      {"yy", "26"},
      {"yyy", "2026"},
      {"yyyy", "2026"},
      {"h", "14"},
      {"hh", "14"},
      {"hhh", "14"},
      {"n", "7"},
      {"nn", "07"},
      {"s", "9"},
      {"ss", "09"},
      {"z", "45"},
      {"zzz", "045"},
      {"t", "14:07"},
      {"tt", "14:07:09"},
      {"c", "05/02/2026 14:07:09"},
      {"", "05/02/2026 14:07:09"},
      {"aaa", "jeu."},
      {"aaaa", "jeudi"},
      {"D/M/YYYY HH:NN", "5/2/2026 14:07"},
      // m after an hour token is minutes, also across separators and literals; otherwise months.
      {"hh:mm", "14:07"},
      {"h mm", "14 07"},
      {"hh'h'mm", "14h07"},
      {"mm/hh", "02/14"},
      {"hh:mm:ss mm", "14:07:09 02"},
      // Half-day tokens keep the letters as written and put the hours on the 12-hour clock.
      {"hh:nn am/pm", "02:07 pm"},
      {"hh:nn AM/PM", "02:07 PM"},
      {"h a/p", "2 p"},
      {"h A/P", "2 P"},
      {"hh:nn ampm", "02:07 "},  // French settings have no AM/PM texts
      {"am/pm h", "pm 2"},
      {"h 'am/pm'", "14 am/pm"},  // quoted: literal, and no 12-hour clock
      {"h a", "14 a"},
      // Literals and other characters.
      {"'le' d", "le 5"},
      {"\"h:n\" h", "h:n 14"},
      {"'abc", "abc"},
      {"d-m_y!x", "5-2_26!x"},
  };
  for (const FormatCase& c : cases) {
    EXPECT_EQ(FormatDateTime(c.Format, Sample), c.Expected) << "format \"" << c.Format << "\"";
  }
}

TEST_F(DateTimeText, TwelveHourClockAroundMidnightAndNoon) {
  struct Case {
    int Hour, Min;
    const char* Expected;
  } cases[] = {
      {0, 30, "12:30 am"}, {11, 59, "11:59 am"}, {12, 0, "12:00 pm"}, {23, 5, "11:05 pm"}};
  for (const Case& c : cases) {
    EXPECT_EQ(FormatDateTime("h:nn am/pm", EncodeTime(c.Hour, c.Min, 0, 0)), c.Expected);
  }
  FormatSettings.TimeAMString = "matin";
  FormatSettings.TimePMString = "soir";
  EXPECT_EQ(FormatDateTime("hh ampm", EncodeTime(9, 0, 0, 0)), "09 matin");
  EXPECT_EQ(FormatDateTime("hh ampm", EncodeTime(21, 0, 0, 0)), "09 soir");
}

TEST_F(DateTimeText, DatesBeforeTheEpochAndSmallYears) {
  EXPECT_EQ(FormatDateTime("dddd dd/mm/yyyy hh:nn", -1.25), "vendredi 29/12/1899 06:00");
  EXPECT_EQ(FormatDateTime("yyyy yy", EncodeDate(5, 3, 1)), "0005 05");
}

TEST_F(DateTimeText, ShortConversionsLeaveOutAMidnightTime) {
  EXPECT_EQ(DateToStr(Sample), "05/02/2026");
  EXPECT_EQ(TimeToStr(Sample), "14:07:09");
  EXPECT_EQ(DateTimeToStr(Sample), "05/02/2026 14:07:09");
  EXPECT_EQ(DateTimeToStr(EncodeDate(2026, 2, 5)), "05/02/2026");
  // Milliseconds alone do not count as a time.
  EXPECT_EQ(DateTimeToStr(EncodeDateTime(2026, 2, 5, 0, 0, 0, 500)), "05/02/2026");
  EXPECT_EQ(DateTimeToStr(EncodeDateTime(2026, 2, 5, 0, 0, 1, 0)), "05/02/2026 00:00:01");
}

TEST_F(DateTimeText, SettingsChangedAtRunTimeAreRead) {
  FormatSettings.DateSeparator = '-';
  FormatSettings.TimeSeparator = '.';
  FormatSettings.ShortDateFormat = "yyyy/mm/dd";
  FormatSettings.LongTimeFormat = "hh:nn:ss.zzz";
  FormatSettings.LongDayNames[4] = "JEUDI";
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:nn", Sample), "05-02-2026 14.07");
  EXPECT_EQ(DateTimeToStr(Sample), "2026-02-05 14.07.09.045");
  EXPECT_EQ(FormatDateTime("dddd", Sample), "JEUDI");

  EXPECT_EQ(StrToDate("2026-02-05"), EncodeDate(2026, 2, 5));
  EXPECT_EQ(StrToTime("14.07"), EncodeTime(14, 7, 0, 0));
  TDateTime v;
  EXPECT_FALSE(TryStrToDate("05/02/2026", v));
  EXPECT_FALSE(TryStrToTime("14:07", v));
}

TEST_F(DateTimeText, ASettingsFormatNamingAShorthandStopsOneLevelDown) {
  FormatSettings.ShortDateFormat = "ddddd";
  EXPECT_EQ(DateToStr(Sample), "");
  FormatSettings.ShortDateFormat = "dd/mm/yyyy";
  FormatSettings.LongDateFormat = "dddddd d";
  EXPECT_EQ(FormatDateTime("dddddd", Sample), " 5");
}

// ---- scanning ----

struct ScanCase {
  const char* Text;
  int Year, Month, Day;
};

TEST_F(DateTimeText, StrToDateReadsDayMonthYearWithBlanksAroundParts) {
  const ScanCase cases[] = {
      {"05/02/2026", 2026, 2, 5},
      {"5/2/2026", 2026, 2, 5},
      {"  5 / 2 / 2026  ", 2026, 2, 5},
      {"05/02/2026/", 2026, 2, 5},  // one trailing separator is allowed
      {"5/2", 2026, 2, 5},          // the clock's year
      {"29/02/2024", 2024, 2, 29},
      {"31/12/9999", 9999, 12, 31},
      {"1/1/0001", 1, 1, 1},
      {"1/1/999", 999, 1, 1},  // three digits are a year as written
      {"0005/02/2026", 2026, 2, 5},
  };
  for (const ScanCase& c : cases) {
    EXPECT_EQ(StrToDate(c.Text), EncodeDate(c.Year, c.Month, c.Day)) << '"' << c.Text << '"';
  }
}

TEST_F(DateTimeText, TwoDigitYearsFallWithinTheWindowAroundTheClocksYear) {
  struct Case {
    int Window;
    const char* Text;
    int Year;
  } cases[] = {
      // Window 50 in 2026: 1976..2075.
      {50, "01/01/76", 1976}, {50, "01/01/75", 2075}, {50, "01/01/77", 1977},
      {50, "01/01/30", 2030}, {50, "01/01/00", 2000}, {50, "01/01/5", 2005},
      {50, "01/01/99", 1999},
      // Window 20: 2006..2105.
      {20, "01/01/06", 2006}, {20, "01/01/05", 2105}, {20, "01/01/99", 2099},
      // Window 0: the current century.
      {0, "01/01/99", 2099}, {0, "01/01/00", 2000},
  };
  for (const Case& c : cases) {
    FormatSettings.TwoDigitYearCenturyWindow = c.Window;
    EXPECT_EQ(YearOf(StrToDate(c.Text)), c.Year) << "window " << c.Window << " " << c.Text;
  }
  // The window moves with the clock.
  FormatSettings.TwoDigitYearCenturyWindow = 50;
  Clock.Value = EncodeDate(2080, 1, 1);
  EXPECT_EQ(YearOf(StrToDate("01/01/29")), 2129);
  EXPECT_EQ(YearOf(StrToDate("01/01/30")), 2030);
}

TEST_F(DateTimeText, DateOrderFollowsTheShortDateFormat) {
  struct Case {
    const char* ShortDateFormat;
    const char* Text;
    int Year, Month, Day;
  } cases[] = {
      {"mm/dd/yyyy", "02/05/2026", 2026, 2, 5},
      {"m/d/yy", "2/5", 2026, 2, 5},
      {"yyyy/mm/dd", "2026/02/05", 2026, 2, 5},
      {"yy/mm/dd", "26/02/05", 2026, 2, 5},
      {"'month' dd/mm/yyyy", "05/02/2026", 2026, 2, 5},  // quoted letters do not count
  };
  for (const Case& c : cases) {
    FormatSettings.ShortDateFormat = c.ShortDateFormat;
    EXPECT_EQ(StrToDate(c.Text), EncodeDate(c.Year, c.Month, c.Day)) << c.ShortDateFormat;
  }
}

TEST_F(DateTimeText, BadDatesRaiseWithTheTextQuoted) {
  const char* bad[] = {"",           "   ",         "29/02/2026",  "32/01/2026", "05/13/2026",
                       "0/1/2026",   "05/02/2026x", "05-02-2026",  "05/02/20260", "/02/2026",
                       "05//2026",   "05/02/",      "05/02 14:00", "5",          "1/1/0000"};
  for (const char* text : bad) {
    SCOPED_TRACE(text);
    TDateTime v = 42;
    EXPECT_FALSE(TryStrToDate(text, v));
    EXPECT_EQ(v, 42);
    EXPECT_EQ(StrToDateDef(text, 7), 7);
    try {
      StrToDate(text);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message, String("'") + text + "' n'est pas une date correcte");
    }
  }
}

TEST_F(DateTimeText, StrToTimeReadsHoursMinutesSecondsMillisecondsAndHalfDays) {
  struct Case {
    const char* Text;
    int H, M, S, MS;
  } cases[] = {
      {"14:07", 14, 7, 0, 0},      {"14:07:09", 14, 7, 9, 0},   {"14:07:09,045", 14, 7, 9, 45},
      {"14", 14, 0, 0, 0},         {" 9 : 5 ", 9, 5, 0, 0},     {"2:30 PM", 14, 30, 0, 0},
      {"2:30 pm", 14, 30, 0, 0},   {"PM 2:30", 14, 30, 0, 0},   {"12:00 AM", 0, 0, 0, 0},
      {"12:00 PM", 12, 0, 0, 0},   {"11:59 am", 11, 59, 0, 0},  {"0:00", 0, 0, 0, 0},
      {"23:59:59,999", 23, 59, 59, 999},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(StrToTime(c.Text), EncodeTime(c.H, c.M, c.S, c.MS)) << '"' << c.Text << '"';
  }
  FormatSettings.TimeAMString = "matin";
  FormatSettings.TimePMString = "soir";
  EXPECT_DOUBLE_EQ(StrToTime("2:30 soir"), EncodeTime(14, 30, 0, 0));
  EXPECT_DOUBLE_EQ(StrToTime("2:30 SOIR"), EncodeTime(14, 30, 0, 0));
  EXPECT_DOUBLE_EQ(StrToTime("matin 12:15"), EncodeTime(0, 15, 0, 0));
  EXPECT_DOUBLE_EQ(StrToTime("2:30 PM"), EncodeTime(14, 30, 0, 0));  // still understood
}

TEST_F(DateTimeText, BadTimesRaiseWithTheTextQuoted) {
  const char* bad[] = {"",         "24:00",       "14:60",       "14:07:60",  "13:00 PM",
                       "0:30 AM",  "14:",         "14:07x",      "14h07",     "14:07:09:00",
                       "14:07:09.045", "14:07:09,", ":07",       "AM",        "2:07 PM PM"};
  for (const char* text : bad) {
    SCOPED_TRACE(text);
    TDateTime v = 42;
    EXPECT_FALSE(TryStrToTime(text, v));
    EXPECT_EQ(v, 42);
    EXPECT_EQ(StrToTimeDef(text, 7), 7);
    try {
      StrToTime(text);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message, String("'") + text + "' n'est pas une heure correcte");
    }
  }
}

TEST_F(DateTimeText, StrToDateTimeReadsADateThenATimeOrATimeAlone) {
  EXPECT_DOUBLE_EQ(StrToDateTime("05/02/2026 14:07:09"), EncodeDateTime(2026, 2, 5, 14, 7, 9, 0));
  EXPECT_DOUBLE_EQ(StrToDateTime("05/02/2026"), EncodeDate(2026, 2, 5));
  EXPECT_DOUBLE_EQ(StrToDateTime("5/2 2:30 PM"), EncodeDateTime(2026, 2, 5, 14, 30, 0, 0));
  EXPECT_DOUBLE_EQ(StrToDateTime("14:07"), EncodeTime(14, 7, 0, 0));
  EXPECT_DOUBLE_EQ(StrToDateTime("29/12/1899 06:00"), -1.25);

  const char* bad[] = {"", "05/02/2026 14:07 x", "05/02/2026 25:00", "31/02/2026 10:00", "x"};
  for (const char* text : bad) {
    SCOPED_TRACE(text);
    TDateTime v = 42;
    EXPECT_FALSE(TryStrToDateTime(text, v));
    EXPECT_EQ(v, 42);
    EXPECT_EQ(StrToDateTimeDef(text, 7), 7);
    try {
      StrToDateTime(text);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message, String("'") + text + "' n'est pas une date et heure correcte");
    }
  }
}

TEST_F(DateTimeText, WrittenValuesReadBack) {
  const TDateTime values[] = {EncodeDateTime(2026, 2, 5, 14, 7, 9, 0), EncodeDate(2000, 2, 29),
                              EncodeDateTime(1899, 12, 29, 6, 0, 0, 0),
                              EncodeDateTime(9999, 12, 31, 23, 59, 59, 0)};
  for (int pass = 0; pass < 2; ++pass) {
    if (pass == 1) {
      FormatSettings.ShortDateFormat = "m/d/yyyy";
      FormatSettings.DateSeparator = '.';
      FormatSettings.LongTimeFormat = "h:nn:ss AM/PM";
    }
    for (TDateTime v : values) {
      String text = DateTimeToStr(v);
      EXPECT_DOUBLE_EQ(StrToDateTime(text), v) << text;
    }
  }
}

}  // namespace
