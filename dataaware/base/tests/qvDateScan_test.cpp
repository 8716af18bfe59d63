// Tests of the date, time and number scanning under changed locale settings and a fixed clock.
#include <gtest/gtest.h>

#include "DateTime.h"
#include "FormatSettings.h"
#include "qvDateScan.h"

namespace {

// A day-month-year locale with "/" and ":", English three-letter month names and AM/PM texts of
// its own; the clock stands on 15 June 2024 at noon.
class DateScanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FormatSettings = TFormatSettings::French();
    FormatSettings.ShortDateFormat = "dd/mm/yyyy";
    FormatSettings.DateSeparator = '/';
    FormatSettings.TimeSeparator = ':';
    FormatSettings.ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    SetClock(&Clock);
  }
  void TearDown() override {
    SetClock(nullptr);
    FormatSettings = TFormatSettings::French();
  }
  TFixedClock Clock{EncodeDate(2024, 6, 15) + 0.5};
};

struct TDateCase {
  const char* Name;
  const char* Format;
  char Separator;
  String Text;
  int Pivot;
  bool Ok;
  int Year, Month, Day;
};

class DateCases : public DateScanTest, public ::testing::WithParamInterface<TDateCase> {};

TEST_P(DateCases, ScanDateFromTheStart) {
  const TDateCase& C = GetParam();
  FormatSettings.ShortDateFormat = C.Format;
  FormatSettings.DateSeparator = C.Separator;
  TDateTime Date = -99;
  EXPECT_EQ(qvScanDateTextPivot(C.Text, Date, C.Pivot), C.Ok);
  if (C.Ok) {
    EXPECT_EQ(Date, EncodeDate(C.Year, C.Month, C.Day));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DateCases,
    ::testing::Values(
        TDateCase{"TwoDigitYearBelowPivotIsNextCentury", "dd/mm/yyyy", '/', "3/4/49", 1950, true, 2049, 4, 3},
        TDateCase{"TwoDigitYearAtPivot", "dd/mm/yyyy", '/', "3/4/50", 1950, true, 1950, 4, 3},
        TDateCase{"OtherPivot", "dd/mm/yyyy", '/', "1/1/99", 2000, true, 2099, 1, 1},
        TDateCase{"HundredAndMoreUnchanged", "dd/mm/yyyy", '/', "1/1/150", 1950, true, 150, 1, 1},
        TDateCase{"DayAndMonthTakeTheCurrentYear", "dd/mm/yyyy", '/', "3/4", 1950, true, 2024, 4, 3},
        TDateCase{"BlanksAroundParts", "dd/mm/yyyy", '/', " 3 / 4 / 2024 ", 1950, true, 2024, 4, 3},
        TDateCase{"MonthFirst", "mm/dd/yyyy", '/', "4/3/2024", 1950, true, 2024, 4, 3},
        TDateCase{"MonthNameThenDay", "mm/dd/yyyy", '/', "feb/3", 1950, true, 2024, 2, 3},
        TDateCase{"MonthNameInDayFirstLocale", "dd/mm/yyyy", '/', "3/MAR/2020", 1950, true, 2020, 3, 3},
        TDateCase{"YearFirst", "yyyy-mm-dd", '-', "2024-06-01", 1950, true, 2024, 6, 1},
        TDateCase{"YearFirstTwoPartsAreMonthDay", "yyyy-mm-dd", '-', "6-1", 1950, true, 2024, 6, 1},
        TDateCase{"February30Refused", "dd/mm/yyyy", '/', "31/02/2004", 1950, false, 0, 0, 0},
        TDateCase{"NotLeap1900", "dd/mm/yyyy", '/', "29/02/1900", 1950, false, 0, 0, 0},
        TDateCase{"Leap2000", "dd/mm/yyyy", '/', "29/02/2000", 1950, true, 2000, 2, 29},
        TDateCase{"Month13", "dd/mm/yyyy", '/', "1/13/2000", 1950, false, 0, 0, 0},
        TDateCase{"DayZero", "dd/mm/yyyy", '/', "0/1/2000", 1950, false, 0, 0, 0},
        TDateCase{"MissingThirdPart", "dd/mm/yyyy", '/', "1/2/", 1950, false, 0, 0, 0},
        TDateCase{"WrongSeparator", "dd/mm/yyyy", '/', "1.2.2000", 1950, false, 0, 0, 0},
        TDateCase{"Letters", "dd/mm/yyyy", '/', "abc", 1950, false, 0, 0, 0},
        TDateCase{"Empty", "dd/mm/yyyy", '/', "", 1950, false, 0, 0, 0}),
    [](const auto& Info) { return Info.param.Name; });

TEST_F(DateScanTest, EncodingLimits) {
  TDateTime Date = -1;
  EXPECT_FALSE(qvTryEncodeDate(0, 1, 1, Date));
  EXPECT_FALSE(qvTryEncodeDate(10000, 1, 1, Date));
  EXPECT_TRUE(qvTryEncodeDate(9999, 12, 31, Date));
  EXPECT_EQ(Date, EncodeDate(9999, 12, 31));
  EXPECT_TRUE(qvTryEncodeDate(1899, 12, 30, Date));
  EXPECT_EQ(Date, 0);
  EXPECT_TRUE(qvTryEncodeDate(1, 1, 1, Date));
  EXPECT_EQ(Date, EncodeDate(1, 1, 1));
  EXPECT_EQ(qvDaysInMonthTable(2024)[1], 29);
  EXPECT_EQ(qvDaysInMonthTable(2100)[1], 28);
  TDateTime Time = -1;
  EXPECT_TRUE(qvTryEncodeTime(23, 59, 59, 999, Time));
  EXPECT_FALSE(qvTryEncodeTime(24, 0, 0, 0, Time));
  EXPECT_FALSE(qvTryEncodeTime(0, 60, 0, 0, Time));
  EXPECT_FALSE(qvTryEncodeTime(0, 0, 0, 1000, Time));
}

TEST_F(DateScanTest, ScanNumberReadsFourSignificantDigitsAtMost) {
  int Pos = 1, Value = 0;
  EXPECT_TRUE(qvScanNumber("0002024x", Pos, Value));
  EXPECT_EQ(Value, 2024);
  EXPECT_EQ(Pos, 8);
  Pos = 1;
  EXPECT_TRUE(qvScanNumber("12345", Pos, Value));
  EXPECT_EQ(Value, 1234);
  EXPECT_EQ(Pos, 5);
  // Only three-letter names can match the three characters read.
  FormatSettings.ShortMonthNames[0] = "janv.";
  Pos = 1;
  EXPECT_FALSE(qvScanNumber("janv./2", Pos, Value));
}

struct TTimeCase {
  const char* Name;
  String Text;
  bool Ok;
  int Hour, Minute, Second;
};

class TimeCases : public DateScanTest, public ::testing::WithParamInterface<TTimeCase> {};

TEST_P(TimeCases, WholeTextIsATime) {
  const TTimeCase& C = GetParam();
  FormatSettings.TimeAMString = "matin";
  FormatSettings.TimePMString = "soir";
  TDateTime Time = -1;
  EXPECT_EQ(qvTryTextToTime(C.Text, Time), C.Ok);
  EXPECT_EQ(qvIsValidTimeText(C.Text), C.Ok);
  if (C.Ok) {
    EXPECT_DOUBLE_EQ(Time, EncodeTime(C.Hour, C.Minute, C.Second, 0));
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, TimeCases,
                         ::testing::Values(TTimeCase{"NoonPM", "12:30 PM", true, 12, 30, 0},
                                           TTimeCase{"MidnightAM", "12:30 AM", true, 0, 30, 0},
                                           TTimeCase{"ThirteenPMRefused", "13:00 PM", false, 0, 0, 0},
                                           TTimeCase{"ThirteenAlone", "13:00", true, 13, 0, 0},
                                           TTimeCase{"ZeroAMRefused", "0:10 am", false, 0, 0, 0},
                                           TTimeCase{"LocalePM", "9:05 soir", true, 21, 5, 0},
                                           TTimeCase{"LocaleAMAnyCase", "9:05 MATIN", true, 9, 5, 0},
                                           TTimeCase{"Seconds", "10:20:30", true, 10, 20, 30},
                                           TTimeCase{"SeparatorWithoutSeconds", "10:20:", false, 0, 0, 0},
                                           TTimeCase{"TrailingBlanks", "10:20  ", true, 10, 20, 0},
                                           TTimeCase{"TrailingText", "10:20 x", false, 0, 0, 0},
                                           TTimeCase{"Hour24", "24:00", false, 0, 0, 0},
                                           TTimeCase{"Midnight", "00:00", true, 0, 0, 0}),
                         [](const auto& Info) { return Info.param.Name; });

TEST_F(DateScanTest, NoDateIsToldApartFromDayZero) {
  TDateTime Date = -1;
  EXPECT_TRUE(qvTryTextToDate("30/12/1899", Date));
  EXPECT_EQ(Date, 0);
  EXPECT_FALSE(qvTryTextToDate("pas de date", Date));
  EXPECT_EQ(qvTextToDate("pas de date"), 0);
  TDateTime Time = -1;
  EXPECT_TRUE(qvTryTextToTime("0:00", Time));
  EXPECT_EQ(Time, 0);
  EXPECT_FALSE(qvTryTextToTime("0:", Time));
}

TEST_F(DateScanTest, TextToDateIgnoresWhatFollowsButDateTimeNeedsTheWholeText) {
  EXPECT_EQ(qvTextToDate("3/4/2024 et la suite"), EncodeDate(2024, 4, 3));
  EXPECT_FALSE(qvIsValidDateText("3/4/2024 et la suite"));
  EXPECT_TRUE(qvIsValidDateText("3/4/2024  "));
  EXPECT_DOUBLE_EQ(qvTextToDateTime("3/4/2024 10:30"), EncodeDate(2024, 4, 3) + EncodeTime(10, 30, 0, 0));
  EXPECT_TRUE(qvIsValidDateTimeText("3/4/2024 10:30"));
  EXPECT_FALSE(qvIsValidDateTimeText("3/4/2024"));
  EXPECT_EQ(qvTextToDateTime("3/4/2024 10:30 x"), 0);
  EXPECT_EQ(qvTextToTime("3/4/2024"), 0);
  // Before 30/12/1899 the time of day is subtracted, as the date-time type holds it.
  TDateTime Early = qvTextToDateTime("29/12/1899 6:00");
  int H, M, S, Ms;
  DecodeTime(Early, H, M, S, Ms);
  EXPECT_EQ(DateOf(Early), -1);
  EXPECT_EQ(H, 6);
}

TEST(NumberTexts, IntegerTexts) {
  struct {
    String Text;
    bool Ok;
  } Cases[] = {{"", true}, {"-", false}, {"-12", true}, {"12-", false}, {"0123", true}, {"1 2", false}, {"+1", false}};
  for (const auto& C : Cases) EXPECT_EQ(qvIsValidIntegerText(C.Text), C.Ok) << C.Text;
}

TEST(NumberTexts, FloatTextsReadTheWholeText) {
  FormatSettings = TFormatSettings::French();
  EXPECT_TRUE(qvIsValidFloatText(""));
  EXPECT_TRUE(qvIsValidFloatText("1,5"));
  EXPECT_TRUE(qvIsValidFloatText("-0,25"));
  EXPECT_FALSE(qvIsValidFloatText("1.5"));
  EXPECT_FALSE(qvIsValidFloatText("abc"));
  String Long(63, '1');
  EXPECT_TRUE(qvIsValidFloatText(Long));
  // Text past the 63rd character still counts.
  EXPECT_FALSE(qvIsValidFloatText(Long + "x"));
}

TEST(DateOrder, FirstOfDMY) {
  EXPECT_EQ(qvGetDateOrder("dd/mm/yyyy"), doDMY);
  EXPECT_EQ(qvGetDateOrder("M/d/yy"), doMDY);
  EXPECT_EQ(qvGetDateOrder("yyyy-MM-dd"), doYMD);
  EXPECT_EQ(qvGetDateOrder("xx"), doMDY);
}

TEST_F(DateScanTest, PartUnderTheCaret) {
  const String Text = "15/06/2024 10:20:30 PM";
  struct {
    int Caret;
    int Part;
  } Cases[] = {{1, dpDay}, {2, dpDay}, {3, dpMonth}, {5, dpMonth}, {7, dpYear}, {10, dpYear},
               {11, dpHour}, {12, dpHour}, {15, dpMinute}, {18, dpSecond}, {21, dpAmPm}};
  for (const auto& C : Cases) EXPECT_EQ(qvGetDateTimePartAt(C.Caret, Text, false), C.Part) << C.Caret;

  FormatSettings.ShortDateFormat = "mm/dd/yyyy";
  EXPECT_EQ(qvGetDateTimePartAt(1, "06/15/2024", false), dpMonth);
  EXPECT_EQ(qvGetDateTimePartAt(4, "06/15/2024", false), dpDay);
  FormatSettings.ShortDateFormat = "yyyy/mm/dd";
  EXPECT_EQ(qvGetDateTimePartAt(1, "2024/06/15", false), dpYear);
  EXPECT_EQ(qvGetDateTimePartAt(9, "2024/06/15", false), dpDay);

  EXPECT_EQ(qvGetTimePartAt(0, "10:20"), dpHour);
  EXPECT_EQ(qvGetTimePartAt(1, "10:20"), dpHour);
  EXPECT_EQ(qvGetTimePartAt(4, "10:20"), dpMinute);
  EXPECT_EQ(qvGetDateTimePartAt(4, "10:20", true), dpMinute);
}

TEST(DisplayTextToFloat, ReadsBackFormattedNumbers) {
  FormatSettings = TFormatSettings::French();
  String Nbsp(1, '\xA0');
  struct {
    String Text;
    String Format;
    bool Ok;
    double Value;
  } Cases[] = {
      {"", "", true, 0},
      {"1" + Nbsp + "234,50 \x80", "", true, 1234.5},
      {"(1" + Nbsp + "234,50)", "", true, -1234.5},
      {"-12,5", "", true, -12.5},
      {"EUR -3", "", true, -3},
      {"abc", "", false, 0},
      // A negative section that shows no sign: the format tells.
      {"12,50 DR", "0.00;0.00' DR'", true, -12.5},
      {"12,50", "0.00;0.00' DR'", true, 12.5},
  };
  for (const auto& C : Cases) {
    double Value = -99;
    EXPECT_EQ(qvDisplayTextToFloat(C.Text, Value, C.Format), C.Ok) << C.Text;
    if (C.Ok) {
      EXPECT_DOUBLE_EQ(Value, C.Value) << C.Text;
    }
  }
}

}  // namespace
