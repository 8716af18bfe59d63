// Tests of the date and time picker with real keys and clicks: a table of keystrokes part by part
// (day, month, year with the epoch, hour, minute with an interval, AM/PM) with the text and value
// after each; the limits and their two messages; the drop-down calendar opened by Alt+Down and by
// the button, a day chosen by a click and by keys, Escape keeping the old value, the title arrows
// stopping at a limit; empty dates shown empty and written as null; a date field of an SQL query
// written on leaving; and pictures of the picker and of the open calendar.
#include "CalendarTestSupport.h"

#include <commctrl.h>

#include "ADODB.h"
#include "Clipbrd.h"
#include "DateTimeFormat.h"
#include "SqliteSession.h"
#include "SqliteQueryData.h"
#include "TestFolder.h"
#include "qvdbdatetimepicker.h"

namespace {

TDateTime Day(int Year, int Month, int D) { return EncodeDate(Year, Month, D); }
TDateTime At(int Year, int Month, int D, int Hour, int Minute) {
  return EncodeDate(Year, Month, D) + EncodeTime(Hour, Minute, 0, 0);
}

class DateTimePickerTest : public ControlsFormTest {
 protected:
  TqvDBDateTimePicker* Make(TqvDTEditDataType Type, const String& Format, TDateTime Value, int Top = 20) {
    auto* P = Add<TqvDBDateTimePicker>(20, Top, 160);
    P->SetUnboundDataType(Type);
    P->SetDisplayFormat(Format);
    P->SetDateTime(Value);
    return P;
  }
  bool CalendarShown(TqvDBDateTimePicker* P) {
    return P->IsDroppedDown() && P->Calendar() != nullptr && IsWindowVisible(P->Calendar()->Handle());
  }
  bool PointOf(TqvMonthCalendar* C, TPoint& Point, UINT Wanted, TDateTime Date = 0) {
    return CalendarPoint(C, Point, Wanted, Date);
  }
  // Gives the focus and leaves the first part current.
  void Focus(TqvDBDateTimePicker* P) {
    ShowUnfocused();
    ASSERT_TRUE(GiveFocus(P));
  }
};

// --- Keys, part by part -------------------------------------------------------------------------

struct TKeyCase {
  const char* Name;
  TqvDTEditDataType Type;
  const char* Format;
  TDateTime Start;
  int Part;  // the part the keys go to (reached with Right from the first)
  std::vector<WORD> Keys;
  const char* Text;
  TDateTime Value;
  int Epoch = 1950;
  int Interval = 1;
  bool RoundMinutes = false;
  TqvCalDayOfWeek FirstDay = qvdowLocaleDefault;
};

class PickerKeys : public DateTimePickerTest, public ::testing::WithParamInterface<TKeyCase> {};

TEST_P(PickerKeys, EachKeyChangesItsPartOnly) {
  const TKeyCase& Case = GetParam();
  auto* P = Make(Case.Type, Case.Format, Case.Start);
  P->Epoch = Case.Epoch;
  P->Interval()->SetMinutesInterval(Case.Interval);
  P->Interval()->RoundMinutes = Case.RoundMinutes;
  P->CalendarAttributes()->FirstDayOfWeek = Case.FirstDay;
  Focus(P);
  Press(VK_HOME, true);  // all text selected: the next key starts at the first part
  for (int i = 1; i < Case.Part; ++i) Press(VK_RIGHT);
  ASSERT_EQ(P->CurrentPart(), Case.Part);
  for (WORD Key : Case.Keys) Press(Key);
  EXPECT_EQ(P->Text(), Case.Text);
  EXPECT_NEAR(P->DateTime(), Case.Value, 1e-7) << FormatDateTime("dd/mm/yyyy hh:nn:ss", P->DateTime());
}

// dd/mm/yyyy: part 1 the day, 2 the month, 3 the year; hh:nn: 1 the hour, 2 the minute.
const TKeyCase KeyCases[] = {
    {"DayTwoDigits", qvDTEdtDate, "dd/mm/yyyy", Day(2024, 3, 15), 1, {'3', '1'}, "31/03/2024", Day(2024, 3, 31)},
    {"DayDigitThatTakesNoSecond", qvDTEdtDate, "dd/mm/yyyy", Day(2024, 3, 15), 1, {'4'}, "04/03/2024", Day(2024, 3, 4)},
    {"DayUpWrapsInTheMonth", qvDTEdtDate, "dd/mm/yyyy", Day(2024, 1, 31), 1, {VK_UP}, "01/01/2024", Day(2024, 1, 1)},
    {"DayDownWrapsInTheMonth", qvDTEdtDate, "dd/mm/yyyy", Day(2024, 3, 1), 1, {VK_DOWN}, "31/03/2024", Day(2024, 3, 31)},
    {"DayEnd", qvDTEdtDate, "dd/mm/yyyy", Day(2023, 2, 10), 1, {VK_END}, "28/02/2023", Day(2023, 2, 28)},
    // 31 does not exist in February: refused, and the month stays February.
    {"Day31InFebruaryIsRefused", qvDTEdtDate, "dd/mm/yyyy", Day(2024, 2, 15), 1, {'3', '1'}, "3/02/2024", Day(2024, 2, 15)},
    {"Day31InFebruaryThenRightTakesThe3", qvDTEdtDate, "dd/mm/yyyy", Day(2024, 2, 15), 1, {'3', '1', VK_RIGHT},
     "03/02/2024", Day(2024, 2, 3)},
    {"Day29InACommonYearIsRefused", qvDTEdtDate, "dd/mm/yyyy", Day(2023, 2, 15), 1, {'2', '9'}, "2/02/2023",
     Day(2023, 2, 15)},
    {"MonthTwoDigits", qvDTEdtDate, "dd/mm/yyyy", Day(2024, 3, 15), 2, {'1', '2'}, "15/12/2024", Day(2024, 12, 15)},
    {"MonthUpCutsTheDay", qvDTEdtDate, "dd/mm/yyyy", Day(2024, 1, 31), 2, {VK_UP}, "29/02/2024", Day(2024, 2, 29)},
    {"MonthUpWrapsInTheYear", qvDTEdtDate, "dd/mm/yyyy", Day(2024, 12, 5), 2, {VK_UP}, "05/01/2024", Day(2024, 1, 5)},
    {"MonthByLetters", qvDTEdtDate, "dd mmmm yyyy", Day(2024, 1, 10), 2, {'M'}, "10 mars 2024", Day(2024, 3, 10)},
    {"MonthByLettersAgain", qvDTEdtDate, "dd mmmm yyyy", Day(2024, 1, 10), 2, {'M', 'M'}, "10 mai 2024",
     Day(2024, 5, 10)},
    {"FourDigitYear", qvDTEdtDate, "dd/mm/yyyy", Day(2024, 3, 15), 3, {'2', '0', '3', '0'}, "15/03/2030",
     Day(2030, 3, 15)},
    {"TwoDigitYearBelowTheEpoch", qvDTEdtDate, "dd/mm/yy", Day(2024, 3, 15), 3, {'4', '9'}, "15/03/49",
     Day(2049, 3, 15)},
    {"TwoDigitYearAtTheEpoch", qvDTEdtDate, "dd/mm/yy", Day(2024, 3, 15), 3, {'5', '0'}, "15/03/50", Day(1950, 3, 15)},
    {"TwoDigitYearWithEpoch2000", qvDTEdtDate, "dd/mm/yy", Day(2024, 3, 15), 3, {'9', '9'}, "15/03/99",
     Day(2099, 3, 15), 2000},
    {"YearUpOnTheLeapDay", qvDTEdtDate, "dd/mm/yyyy", Day(2024, 2, 29), 3, {VK_UP}, "28/02/2025", Day(2025, 2, 28)},
    {"HourTwoDigits", qvDTEdtTime, "hh:nn", At(1899, 12, 30, 10, 30), 1, {'2', '3'}, "23:30",
     At(1899, 12, 30, 23, 30)},
    {"HourDigitThatTakesNoSecond", qvDTEdtTime, "hh:nn", At(1899, 12, 30, 10, 30), 1, {'9'}, "09:30",
     At(1899, 12, 30, 9, 30)},
    {"HourUpWraps", qvDTEdtTime, "hh:nn", At(1899, 12, 30, 23, 30), 1, {VK_UP}, "00:30", At(1899, 12, 30, 0, 30)},
    {"Hour24Refused", qvDTEdtTime, "hh:nn", At(1899, 12, 30, 10, 30), 1, {'2', '4'}, "2:30", At(1899, 12, 30, 10, 30)},
    {"MinuteTwoDigits", qvDTEdtTime, "hh:nn", At(1899, 12, 30, 10, 30), 2, {'4', '5'}, "10:45",
     At(1899, 12, 30, 10, 45)},
    {"MinuteUpByTheInterval", qvDTEdtTime, "hh:nn", At(1899, 12, 30, 10, 7), 2, {VK_UP}, "10:15",
     At(1899, 12, 30, 10, 15), 1950, 15, true},
    {"MinuteDownRoundsToTheInterval", qvDTEdtTime, "hh:nn", At(1899, 12, 30, 10, 7), 2, {VK_DOWN}, "10:00",
     At(1899, 12, 30, 10, 0), 1950, 15, true},
    {"MinuteDownFromZeroWraps", qvDTEdtTime, "hh:nn", At(1899, 12, 30, 10, 0), 2, {VK_DOWN}, "10:45",
     At(1899, 12, 30, 10, 45), 1950, 15, true},
    {"MinuteIntervalZeroStepsByOne", qvDTEdtTime, "hh:nn", At(1899, 12, 30, 10, 7), 2, {VK_UP, VK_UP}, "10:09",
     At(1899, 12, 30, 10, 9), 1950, 0, true},
    {"AmPmShowsTheAfternoon", qvDTEdtTime, "hh:nn a/p", At(1899, 12, 30, 14, 5), 3, {}, "02:05 p",
     At(1899, 12, 30, 14, 5)},
    {"AmPmLetterA", qvDTEdtTime, "hh:nn a/p", At(1899, 12, 30, 14, 5), 3, {'A'}, "02:05 a", At(1899, 12, 30, 2, 5)},
    {"AmPmUp", qvDTEdtTime, "hh:nn a/p", At(1899, 12, 30, 2, 5), 3, {VK_UP}, "02:05 p", At(1899, 12, 30, 14, 5)},
    {"AmPmHourTyped12InTheMorning", qvDTEdtTime, "hh:nn a/p", At(1899, 12, 30, 2, 5), 1, {'1', '2'}, "12:05 a",
     At(1899, 12, 30, 0, 5)},
    // The week-day part: Home and End go to the first and last days of the week, which starts
    // on the day the picker is given. 13/03/2024 is a Wednesday, 29/03/2024 a Friday.
    {"WeekDayHomeFromMonday", qvDTEdtDate, "dddd dd/mm/yyyy", Day(2024, 3, 13), 1, {VK_HOME}, "lundi 11/03/2024",
     Day(2024, 3, 11), 1950, 1, false, qvdowMonday},
    {"WeekDayEndFromMonday", qvDTEdtDate, "dddd dd/mm/yyyy", Day(2024, 3, 13), 1, {VK_END}, "dimanche 17/03/2024",
     Day(2024, 3, 17), 1950, 1, false, qvdowMonday},
    {"WeekDayHomeFromSunday", qvDTEdtDate, "dddd dd/mm/yyyy", Day(2024, 3, 13), 1, {VK_HOME}, "dimanche 10/03/2024",
     Day(2024, 3, 10), 1950, 1, false, qvdowSunday},
    {"WeekDayEndFromSunday", qvDTEdtDate, "dddd dd/mm/yyyy", Day(2024, 3, 13), 1, {VK_END}, "samedi 16/03/2024",
     Day(2024, 3, 16), 1950, 1, false, qvdowSunday},
    {"WeekDayEndFromThursdayCrossesTheMonth", qvDTEdtDate, "dddd dd/mm/yyyy", Day(2024, 3, 29), 1, {VK_END},
     "mercredi 03/04/2024", Day(2024, 4, 3), 1950, 1, false, qvdowThursday},
    // Up and Down go round within the week: past its last day back to its first, and before its
    // first on to its last. 17/03/2024 is a Sunday, 11/03/2024 a Monday.
    {"WeekDayUpInTheWeek", qvDTEdtDate, "dddd dd/mm/yyyy", Day(2024, 3, 13), 1, {VK_UP}, "jeudi 14/03/2024",
     Day(2024, 3, 14), 1950, 1, false, qvdowMonday},
    {"WeekDayUpFromTheLastDayGoesBackToTheFirst", qvDTEdtDate, "dddd dd/mm/yyyy", Day(2024, 3, 17), 1, {VK_UP},
     "lundi 11/03/2024", Day(2024, 3, 11), 1950, 1, false, qvdowMonday},
    {"WeekDayDownFromTheFirstDayGoesOnToTheLast", qvDTEdtDate, "dddd dd/mm/yyyy", Day(2024, 3, 11), 1, {VK_DOWN},
     "dimanche 17/03/2024", Day(2024, 3, 17), 1950, 1, false, qvdowMonday},
    {"WeekDayDownInTheWeek", qvDTEdtDate, "dddd dd/mm/yyyy", Day(2024, 3, 13), 1, {VK_DOWN}, "mardi 12/03/2024",
     Day(2024, 3, 12), 1950, 1, false, qvdowMonday},
    {"WeekDayUpFromSaturdayInAWeekFromSunday", qvDTEdtDate, "dddd dd/mm/yyyy", Day(2024, 3, 16), 1, {VK_UP},
     "dimanche 10/03/2024", Day(2024, 3, 10), 1950, 1, false, qvdowSunday},
    {"WeekDayDownFromSundayInAWeekFromSunday", qvDTEdtDate, "dddd dd/mm/yyyy", Day(2024, 3, 10), 1, {VK_DOWN},
     "samedi 16/03/2024", Day(2024, 3, 16), 1950, 1, false, qvdowSunday},
    {"DateTimeMinuteAfterTheDate", qvDTEdtDateTime, "dd/mm/yyyy hh:nn", At(2024, 3, 15, 10, 30), 5, {'0', '5'},
     "15/03/2024 10:05", At(2024, 3, 15, 10, 5)},
};

INSTANTIATE_TEST_SUITE_P(Parts, PickerKeys, ::testing::ValuesIn(KeyCases),
                         [](const ::testing::TestParamInfo<TKeyCase>& Info) { return std::string(Info.param.Name); });

TEST_F(DateTimePickerTest, PartsFollowTheFormat) {
  auto* P = Make(qvDTEdtDateTime, "dd/mm/yyyy hh:mm", At(2024, 3, 15, 10, 30));
  EXPECT_EQ(P->PartCount(), 5);
  EXPECT_EQ(P->GetPartInfo(5, P->DateTime()).Token, "nn");
  EXPECT_EQ(P->GetPartInfo(2, P->DateTime()).Token, "mm");
  auto* D = Make(qvDTEdtDate, "dd/mm/yyyy hh:nn", Day(2024, 3, 15), 60);
  EXPECT_EQ(D->PartCount(), 3);
  auto* T = Make(qvDTEdtTime, "hh:nn a/p", At(1899, 12, 30, 14, 5), 100);
  TqvDTPartInfo AmPm = T->GetPartInfo(3, T->DateTime());
  EXPECT_EQ(AmPm.Start, 6);
  EXPECT_EQ(AmPm.Length, 1);
  // The default format shows the time only when there is one.
  auto* C = Make(qvDTEdtDateTime, "", Day(2024, 3, 15), 140);
  EXPECT_EQ(C->Text(), "15/03/2024");
  EXPECT_EQ(C->VisiblePartCount(), 3);
  EXPECT_EQ(C->PartCount(), 6);
}

TEST_F(DateTimePickerTest, MovingPastTheYearOfTheDefaultFormatShowsTheTime) {
  auto* P = Make(qvDTEdtDateTime, "", Day(2024, 3, 15));
  Focus(P);
  Press(VK_HOME, true);
  for (int i = 0; i < 3; ++i) Press(VK_RIGHT);
  EXPECT_EQ(P->CurrentPart(), 4);
  EXPECT_EQ(P->Text().size(), String("15/03/2024 10:00:00").size()) << P->Text();
  EXPECT_EQ(P->Text().substr(0, 10), "15/03/2024");
}

TEST_F(DateTimePickerTest, AClickSelectsThePartUnderTheMouse) {
  auto* P = Make(qvDTEdtDate, "dd/mm/yyyy", Day(2024, 3, 15));
  Focus(P);
  ASSERT_TRUE(Painted(P));
  // The year is the last part: a click near the end of the text lands in it.
  ClickAt(OnScreen(P, 50, P->ClientHeight() / 2));
  EXPECT_EQ(P->CurrentPart(), 3);
  EXPECT_EQ(P->SelStart(), 6);
  EXPECT_EQ(P->SelLength(), 4);
  ClickAt(OnScreen(P, 5, P->ClientHeight() / 2));
  EXPECT_EQ(P->CurrentPart(), 1);
  EXPECT_EQ(P->SelLength(), 2);
}

TEST_F(DateTimePickerTest, EscapeBringsBackTheValueOnEntry) {
  auto* P = Make(qvDTEdtDate, "dd/mm/yyyy", Day(2024, 3, 15));
  Focus(P);
  Press(VK_HOME, true);
  Press(VK_UP);
  Press(VK_UP);
  EXPECT_EQ(P->Text(), "17/03/2024");
  Press(VK_ESCAPE);
  EXPECT_EQ(P->Text(), "15/03/2024");
  EXPECT_EQ(P->DateTime(), Day(2024, 3, 15));
  EXPECT_FALSE(P->Modified());
}

// --- Limits -----------------------------------------------------------------------------------------

TEST_F(DateTimePickerTest, ValuesBeyondTheLimitsAreRefusedWithTheirMessageAndNeverStored) {
  auto* P = Make(qvDTEdtDate, "", Day(2024, 6, 1));
  P->SetMinDate(Day(2024, 1, 1));
  P->SetMaxDate(Day(2024, 12, 31));
  struct {
    TDateTime Value;
    const char* Message;
  } Cases[] = {{Day(2025, 1, 1), "La date dépasse le maximum de 31/12/2024"_a},
               {Day(2023, 12, 31), "La date est inférieure au minimum de 01/01/2024"_a}};
  for (const auto& Case : Cases) {
    try {
      P->SetDateTime(Case.Value);
      ADD_FAILURE() << "no error for " << DateToStr(Case.Value);
    } catch (const EDateTimeError& E) {
      EXPECT_EQ(E.Message, Case.Message);
    }
    EXPECT_EQ(P->DateTime(), Day(2024, 6, 1));
    EXPECT_EQ(P->Text(), "01/06/2024");
    try {
      P->SetDate(Case.Value);
      ADD_FAILURE() << "no error for " << DateToStr(Case.Value);
    } catch (const EDateTimeError& E) {
      EXPECT_EQ(E.Message, Case.Message);
    }
    EXPECT_EQ(P->DateTime(), Day(2024, 6, 1));
  }
  // Limits that cross are refused with the other limit.
  try {
    P->SetMinDate(Day(2025, 1, 1));
    ADD_FAILURE() << "a minimum after the maximum was taken";
  } catch (const EDateTimeError& E) {
    EXPECT_EQ(E.Message, "La date dépasse le maximum de 31/12/2024"_a);
  }
  try {
    P->SetMaxDate(Day(2023, 1, 1));
    ADD_FAILURE() << "a maximum before the minimum was taken";
  } catch (const EDateTimeError& E) {
    EXPECT_EQ(E.Message, "La date est inférieure au minimum de 01/01/2024"_a);
  }
}

// The limits are days: a value with a time of day on the last allowed day is within them.
TEST_F(DateTimePickerTest, DateOnTheMaximumDayKeepsItsTimeOfDay) {
  auto* P = Make(qvDTEdtDateTime, "dd/mm/yyyy hh:nn", At(2024, 12, 30, 10, 0));
  P->SetMaxDate(Day(2024, 12, 31));
  P->SetDate(Day(2024, 12, 31));
  EXPECT_NEAR(P->DateTime(), At(2024, 12, 31, 10, 0), 1e-7);
  EXPECT_EQ(P->Text(), "31/12/2024 10:00");
}

TEST_F(DateTimePickerTest, KeysStopAtTheLimits) {
  auto* P = Make(qvDTEdtDate, "dd/mm/yyyy", Day(2024, 11, 20));
  P->SetMaxDate(Day(2024, 12, 10));
  P->SetMinDate(Day(2024, 11, 5));
  Focus(P);
  Press(VK_HOME, true);
  Press(VK_RIGHT);
  Press(VK_UP);  // December 20th is past the maximum: the maximum
  EXPECT_EQ(P->DateTime(), Day(2024, 12, 10));
  Press(VK_RIGHT);
  Press(VK_END);
  EXPECT_EQ(P->DateTime(), Day(2024, 12, 10));
  Press(VK_LEFT);
  Press(VK_LEFT);
  Press('1');
  Press('1');  // December 11th is past the maximum: refused
  EXPECT_EQ(P->DateTime(), Day(2024, 12, 10));
  Press(VK_RIGHT);
  Press(VK_DOWN);  // November 10th
  Press(VK_DOWN);  // October 10th is before the minimum: the minimum
  EXPECT_EQ(P->DateTime(), Day(2024, 11, 5));
  EXPECT_TRUE(Script.Unexpected.empty());
}

TEST_F(DateTimePickerTest, TheFirstKeyOnAnEmptyPickerStartsWithinTheLimits) {
  auto* P = Make(qvDTEdtDate, "dd/mm/yyyy", 0);
  TDateTime Min = std::trunc(Date()) + 400;
  P->SetMinDate(Min);
  Focus(P);
  EXPECT_EQ(P->Text(), "");
  Press('2');
  EXPECT_EQ(P->DateTime(), Min);
  EXPECT_TRUE(P->Typing());
  EXPECT_EQ(P->Text(), "2" + DateToStr(Min).substr(2));
}

// --- Clipboard ------------------------------------------------------------------------------------

struct TPasteCase {
  const char* Name;
  TqvDTEditDataType Type;
  const char* Format;
  const char* Pasted;
  const char* Text;
  TDateTime Value;
};

class PickerPaste : public DateTimePickerTest, public ::testing::WithParamInterface<TPasteCase> {};

// The whole pasted text is read as the picker's kind of value; one that does not read, or lies
// beyond the limits, leaves the value and the text as they were, with no message.
TEST_P(PickerPaste, APastedTextReplacesTheValueOnlyWhenItReadsWithinTheLimits) {
  const TPasteCase& Case = GetParam();
  TDateTime Start = Case.Type == qvDTEdtTime ? At(1899, 12, 30, 10, 30) : Day(2024, 3, 15);
  auto* P = Make(Case.Type, Case.Format, Start);
  P->SetMaxDate(Day(2030, 12, 31));
  Focus(P);
  Clipboard()->SetAsText(Case.Pasted);
  SendMessageA(P->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(P->Text(), Case.Text);
  EXPECT_NEAR(P->DateTime(), Case.Value, 1e-7) << FormatDateTime("dd/mm/yyyy hh:nn:ss", P->DateTime());
  EXPECT_EQ(Clipboard()->AsText(), Case.Pasted) << "the clipboard is only read";
}

const TPasteCase PasteCases[] = {
    {"ADate", qvDTEdtDate, "dd/mm/yyyy", "20/04/2025", "20/04/2025", Day(2025, 4, 20)},
    {"ADateAndTime", qvDTEdtDateTime, "dd/mm/yyyy hh:nn", "20/04/2025 08:15", "20/04/2025 08:15",
     At(2025, 4, 20, 8, 15)},
    {"NoDate", qvDTEdtDate, "dd/mm/yyyy", "bonjour", "15/03/2024", Day(2024, 3, 15)},
    {"NoSuchDay", qvDTEdtDate, "dd/mm/yyyy", "31/02/2025", "15/03/2024", Day(2024, 3, 15)},
    {"BeyondTheMaximum", qvDTEdtDate, "dd/mm/yyyy", "01/01/2031", "15/03/2024", Day(2024, 3, 15)},
    {"ATime", qvDTEdtTime, "hh:nn", "14:45", "14:45", At(1899, 12, 30, 14, 45)},
    {"NoSuchHour", qvDTEdtTime, "hh:nn", "25:00", "10:30", At(1899, 12, 30, 10, 30)},
};

INSTANTIATE_TEST_SUITE_P(Texts, PickerPaste, ::testing::ValuesIn(PasteCases),
                         [](const ::testing::TestParamInfo<TPasteCase>& Info) { return std::string(Info.param.Name); });

TEST_F(DateTimePickerTest, CutTakesTheSelectedTextAndEmptiesTheValue) {
  auto* P = Make(qvDTEdtDate, "dd/mm/yyyy", Day(2024, 3, 15));
  Focus(P);
  Press(VK_HOME, true);
  SendMessageA(P->Handle(), WM_CUT, 0, 0);
  EXPECT_EQ(Clipboard()->AsText(), "15/03/2024");
  EXPECT_EQ(P->Text(), "");
  EXPECT_EQ(P->DateTime(), 0);
  EXPECT_TRUE(P->Modified());
}

TEST_F(DateTimePickerTest, AReadOnlyPickerKeepsItsValueOnCutAndPaste) {
  auto* P = Make(qvDTEdtDate, "dd/mm/yyyy", Day(2024, 3, 15));
  P->SetReadOnly(true);
  Focus(P);
  Press(VK_HOME, true);
  Clipboard()->SetAsText("20/04/2025");
  SendMessageA(P->Handle(), WM_PASTE, 0, 0);
  SendMessageA(P->Handle(), WM_CUT, 0, 0);
  EXPECT_EQ(P->Text(), "15/03/2024");
  EXPECT_EQ(P->DateTime(), Day(2024, 3, 15));
}

// --- Drop-down calendar -------------------------------------------------------------------------

TEST_F(DateTimePickerTest, AltDownOpensTheCalendarAndKeysChooseADay) {
  auto* P = Make(qvDTEdtDate, "", Day(2024, 3, 15));
  Focus(P);
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(CalendarShown(P));
  EXPECT_TRUE(qvDateTimePickerHookInstalled());
  EXPECT_EQ(P->Calendar()->Date(), Day(2024, 3, 15));
  // The calendar's window never takes the focus from the picker.
  EXPECT_EQ(GetFocus(), P->Handle());
  Press(VK_RIGHT);
  Press(VK_DOWN);
  EXPECT_EQ(P->Calendar()->Date(), Day(2024, 3, 23));
  EXPECT_EQ(P->Text(), "23/03/2024");
  Press(VK_NEXT);
  EXPECT_EQ(P->Text(), "23/04/2024");
  Press(VK_RETURN);
  EXPECT_FALSE(CalendarShown(P));
  EXPECT_FALSE(qvDateTimePickerHookInstalled());
  EXPECT_EQ(P->DateTime(), Day(2024, 4, 23));
}

TEST_F(DateTimePickerTest, EscapeClosesTheCalendarAndKeepsTheOldValue) {
  auto* P = Make(qvDTEdtDate, "", Day(2024, 3, 15));
  Focus(P);
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(CalendarShown(P));
  Press(VK_RIGHT);
  Press(VK_RIGHT);
  EXPECT_EQ(P->Text(), "17/03/2024");
  Press(VK_ESCAPE);
  EXPECT_FALSE(CalendarShown(P));
  EXPECT_EQ(P->DateTime(), Day(2024, 3, 15));
  EXPECT_EQ(P->Text(), "15/03/2024");
}

TEST_F(DateTimePickerTest, TheButtonOpensTheCalendarAndAClickOnADayChoosesIt) {
  auto* P = Make(qvDTEdtDate, "", Day(2024, 3, 15));
  ShowUnfocused();
  ClickControl(P->Button());
  ASSERT_TRUE(WaitFor("the calendar", [&] { return CalendarShown(P); }));
  EXPECT_TRUE(P->Focused());
  TPoint Point;
  ASSERT_TRUE(PointOf(P->Calendar(), Point, 0, Day(2024, 3, 20)));
  ClickAt(Point);
  ASSERT_TRUE(WaitFor("the calendar to close", [&] { return !CalendarShown(P); }));
  EXPECT_EQ(P->DateTime(), Day(2024, 3, 20));
  EXPECT_EQ(P->Text(), "20/03/2024");
  // The button closes what it opened.
  ClickControl(P->Button());
  ASSERT_TRUE(WaitFor("the calendar", [&] { return CalendarShown(P); }));
  ClickControl(P->Button());
  EXPECT_FALSE(CalendarShown(P));
}

TEST_F(DateTimePickerTest, AClickOutsideClosesTheCalendarWithItsDate) {
  auto* P = Make(qvDTEdtDate, "", Day(2024, 3, 15));
  Focus(P);
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(CalendarShown(P));
  Press(VK_LEFT);
  HWND Plain = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 300, 20, 100, 60, Form->Handle(),
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  UpdateWindow(Plain);
  RECT R{};
  GetWindowRect(Plain, &R);
  ClickAt(TPoint((R.left + R.right) / 2, (R.top + R.bottom) / 2));
  EXPECT_TRUE(WaitFor("the calendar to close", [&] { return !CalendarShown(P); }));
  EXPECT_EQ(P->DateTime(), Day(2024, 3, 14));
  DestroyWindow(Plain);
}

// A picker wider than its calendar: the calendar opens under its left edge, under its right edge
// short of a scroll bar's width, or in its middle short of the same.
TEST_F(DateTimePickerTest, TheCalendarOpensWhereTheAlignmentSays) {
  int ScrollBar = std::max(GetSystemMetrics(SM_CXVSCROLL), 15);
  const TqvDTCalAlignment Cases[] = {qvdtaLeft, qvdtaRight, qvdtaCenter};
  int Top = 20;
  for (TqvDTCalAlignment Alignment : Cases) {
    SCOPED_TRACE(int(Alignment));
    auto* P = Add<TqvDBDateTimePicker>(20, Top, 420);
    Top += 40;
    P->SetUnboundDataType(qvDTEdtDate);
    P->SetDateTime(Day(2024, 3, 15));
    P->CalendarAttributes()->Alignment = Alignment;
    Focus(P);
    PressCombo(VK_MENU, VK_DOWN);
    ASSERT_TRUE(WaitFor("the calendar to show", [&] { return CalendarShown(P); }));
    RECT Picker{}, Calendar{};
    GetWindowRect(P->Handle(), &Picker);
    GetWindowRect(P->Calendar()->Handle(), &Calendar);
    ASSERT_LT(Calendar.right - Calendar.left, Picker.right - Picker.left - ScrollBar);
    switch (Alignment) {
      case qvdtaLeft: EXPECT_EQ(Calendar.left, Picker.left + 1); break;
      case qvdtaRight: EXPECT_EQ(Calendar.right, Picker.right - ScrollBar); break;
      case qvdtaCenter:
        EXPECT_NEAR((Calendar.left + Calendar.right) / 2.0, (Picker.left + Picker.right - ScrollBar) / 2.0, 1.0);
        break;
    }
    Press(VK_ESCAPE);
    ASSERT_TRUE(WaitFor("the calendar to close", [&] { return !CalendarShown(P); }));
  }
}

TEST_F(DateTimePickerTest, TheTitleArrowStopsAtTheMaximum) {
  auto* P = Make(qvDTEdtDate, "", Day(2024, 3, 15));
  P->SetMaxDate(Day(2024, 4, 10));
  Focus(P);
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(CalendarShown(P));
  TPoint Next;
  ASSERT_TRUE(PointOf(P->Calendar(), Next, MCHT_TITLEBTNNEXT));
  ClickAt(Next);  // April 15th is past the maximum: the maximum
  EXPECT_EQ(P->Calendar()->Date(), Day(2024, 4, 10));
  ClickAt(Next);
  EXPECT_EQ(P->Calendar()->Date(), Day(2024, 4, 10));
  EXPECT_TRUE(CalendarShown(P));
  EXPECT_EQ(P->Text(), "10/04/2024");
  EXPECT_TRUE(Script.Unexpected.empty());
}

TEST_F(DateTimePickerTest, DroppingDownAnEmptyPickerStartsAtTheLimit) {
  auto* P = Make(qvDTEdtDate, "", 0);
  TDateTime Max = std::trunc(Date()) - 30;
  P->SetMaxDate(Max);
  Focus(P);
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(CalendarShown(P));
  EXPECT_EQ(P->Calendar()->Date(), Max);
  EXPECT_EQ(P->Text(), DateToStr(Max));
  Press(VK_ESCAPE);
}

TEST_F(DateTimePickerTest, ATimeOnlyPickerNeverDropsDown) {
  auto* P = Make(qvDTEdtTime, "hh:nn", At(1899, 12, 30, 10, 0));
  Focus(P);
  PressCombo(VK_MENU, VK_DOWN);
  EXPECT_FALSE(P->IsDroppedDown());
  EXPECT_FALSE(P->ShowButton());
}

// --- The calendar's title menus ----------------------------------------------------------------

class MonthCalendarTest : public DateTimePickerTest {
 protected:
  void SetUp() override {
    DateTimePickerTest::SetUp();
    Calendar = Add<TqvMonthCalendar>(20, 20);
    Calendar->SetMinDate(Day(2000, 1, 1));
    Calendar->SetMaxDate(Day(2010, 12, 31));
    Calendar->SetDate(Day(2005, 6, 15));
    Calendar->PopupYearOptions()->ShowEditYear = true;
    ShowForm();
    ASSERT_TRUE(Painted(Calendar));
  }
  // Opens the title menu under Hit, goes Downs entries down with the keys and presses Last there.
  void Choose(UINT Hit, int Downs, WORD Last = VK_RETURN) {
    TPoint Point;
    ASSERT_TRUE(PointOf(Calendar, Point, Hit));
    LaterInMenu([Downs, Last] {
      for (int i = 0; i < Downs; ++i) PressKey(VK_DOWN);
      PressKey(Last);
    });
    ClickAt(Point);
    ASSERT_TRUE(WaitFor("the menu to close", [&] { return !Calendar->IsPopupMenuShowing(); }));
  }
  TqvMonthCalendar* Calendar = nullptr;
};

// The control counts the first day 0 Monday ... 6 Sunday; the locale's default is the user locale's.
TEST_F(MonthCalendarTest, TheFirstDayOfTheWeekGoesToTheControl) {
  auto Sent = [&] { return int(LOWORD(SendMessageA(Calendar->Handle(), MCM_GETFIRSTDAYOFWEEK, 0, 0))); };
  char Digit[8] = {};
  ASSERT_NE(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IFIRSTDAYOFWEEK, Digit, sizeof(Digit)), 0);
  EXPECT_EQ(Calendar->FirstDayOfWeek(), qvdowLocaleDefault);
  EXPECT_EQ(Sent(), Digit[0] - '0');
  const std::pair<TqvCalDayOfWeek, int> Cases[] = {
      {qvdowSunday, 6}, {qvdowWednesday, 2}, {qvdowMonday, 0}, {qvdowLocaleDefault, Digit[0] - '0'}};
  for (auto [Value, Index] : Cases) {
    Calendar->SetFirstDayOfWeek(Value);
    EXPECT_EQ(Calendar->FirstDayOfWeek(), Value);
    EXPECT_EQ(Sent(), Index) << int(Value);
  }
}

// A calendar given its first day before its window exists starts with it.
TEST_F(DateTimePickerTest, TheDropDownCalendarStartsTheWeekOnThePickersDay) {
  auto* P = Make(qvDTEdtDate, "dd/mm/yyyy", Day(2024, 3, 13));
  P->CalendarAttributes()->FirstDayOfWeek = qvdowSaturday;
  Focus(P);
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(WaitFor("the calendar to show", [&] { return CalendarShown(P); }));
  EXPECT_EQ(P->Calendar()->FirstDayOfWeek(), qvdowSaturday);
  EXPECT_EQ(LOWORD(SendMessageA(P->Calendar()->Handle(), MCM_GETFIRSTDAYOFWEEK, 0, 0)), 5);
  Press(VK_ESCAPE);
  ASSERT_TRUE(WaitFor("the calendar to close", [&] { return !CalendarShown(P); }));
}

TEST_F(MonthCalendarTest, TheMonthMenuMovesToTheChosenMonth) {
  Choose(MCHT_TITLEMONTH, 9);  // septembre
  EXPECT_EQ(std::trunc(Calendar->Date()), Day(2005, 9, 15));
}

TEST_F(MonthCalendarTest, TheYearMenuHasTheEditItemAndOneColumnPerTenYears) {
  Choose(MCHT_TITLEYEAR, 0, VK_ESCAPE);
  TMenuItem* Items = Calendar->YearMenu()->Items();
  ASSERT_EQ(Items->Count(), 22);
  EXPECT_EQ(Items->Items(0)->Caption(), "Edit Year");
  EXPECT_EQ(Items->Items(1)->Caption(), "-");
  EXPECT_EQ(Items->Items(2)->Caption(), "1990");
  EXPECT_EQ(Items->Items(2)->Break(), mbBarBreak);
  EXPECT_EQ(Items->Items(12)->Caption(), "2000");
  EXPECT_EQ(Items->Items(12)->Break(), mbBarBreak);
  EXPECT_FALSE(Items->Items(11)->Enabled());
  EXPECT_TRUE(Items->Items(12)->Enabled());
  EXPECT_TRUE(Items->Items(17)->Checked());
  EXPECT_EQ(std::trunc(Calendar->Date()), Day(2005, 6, 15));
}

TEST_F(MonthCalendarTest, TheYearMenuMovesToTheChosenYear) {
  Calendar->PopupYearOptions()->StartYear = 2000;
  Choose(MCHT_TITLEYEAR, 3);  // the edit item, 2000, 2001
  EXPECT_EQ(std::trunc(Calendar->Date()), Day(2001, 6, 15));
  EXPECT_FALSE(Calendar->YearMenu()->Items()->Items(13)->Enabled()) << "2011 lies past the maximum";
}

// The question ends on a year within the limits, or on Cancel, never goes round for ever.
TEST_F(MonthCalendarTest, TheYearQuestionEndsOnAnAdmissibleYearOrOnCancel) {
  Script.Push(1, "deux mille");
  Script.Push(1, "1999");
  Script.Push(1, "2008");
  Choose(MCHT_TITLEYEAR, 1);
  ASSERT_EQ(Script.Asked.size(), 3u) << AskedTexts(Script);
  EXPECT_EQ(Script.Asked[0].Caption, "Enter Valid Year (2000-2010)");
  EXPECT_EQ(Script.Asked[0].Value, "2005");
  EXPECT_EQ(std::trunc(Calendar->Date()), Day(2008, 6, 15));
  Script.Asked.clear();
  Script.Push(1, "2020");
  Script.Push(0, "");
  Choose(MCHT_TITLEYEAR, 1);
  EXPECT_EQ(Script.Asked.size(), 2u) << AskedTexts(Script);
  EXPECT_EQ(std::trunc(Calendar->Date()), Day(2008, 6, 15));
}

// --- Data -------------------------------------------------------------------------------------------

TEST_F(DateTimePickerTest, ANullDateShowsEmptyAndAClearedOneIsWrittenAsNull) {
  auto* P = Bound<TqvDBDateTimePicker>("DATE_OBS", 20);
  ShowUnfocused();
  EXPECT_EQ(P->Text(), "15/03/2024");
  DataSet->Next();
  EXPECT_EQ(P->Text(), "");
  EXPECT_EQ(P->DateTime(), 0);
  DataSet->First();
  ASSERT_TRUE(GiveFocus(P));
  Press(VK_DELETE);
  EXPECT_EQ(P->Text(), "");
  Other();
  Press(VK_TAB);
  ASSERT_TRUE(WaitFor("the focus to leave", [&] { return !P->Focused(); }));
  EXPECT_TRUE(FieldOf("DATE_OBS")->IsNull());
  EXPECT_EQ(DataSet->State(), dsEdit);
}

class SqlDatePickerTest : public TestFolder, public SqliteQueryData, public TObject {
 protected:
  void SetUp() override {
    TestFolder::SetUp();
    OpenQueryData(PathOf("dates.db"),
                  {"CREATE TABLE T (ID INTEGER PRIMARY KEY, D DATETIME)",
                   "INSERT INTO T VALUES (1, 38058.0)",
                   "INSERT INTO T VALUES (2, NULL)",
                   "INSERT INTO T VALUES (3, 38058.5)"},
                  "SELECT ID, D FROM T ORDER BY ID");
    Form.reset(CreateForm<TForm>(nullptr));
    Form->SetBounds(100, 100, 420, 320);
    Other = new TEdit(Form.get());
    Other->SetParent(Form.get());
    Other->SetBounds(10, 250, 100, 21);
    Picker = new TqvDBDateTimePicker(Form.get());
    Picker->SetParent(Form.get());
    Picker->SetBounds(10, 10, 160, 21);
    Picker->SetDataSource(Source.get());
    Picker->SetDataField("D");
  }
  void TearDown() override {
    Form.reset();
    PumpPending();
    CloseQueryData();
    TestFolder::TearDown();
    EXPECT_TRUE(Script.Unexpected.empty()) << "unexpected question: " << Script.Unexpected.front().Text;
  }
  TDateTime FileDate(int Id) {
    TADOQuery Check(nullptr);
    Check.SetConnection(Connection.get());
    Check.SQL()->SetText("SELECT D FROM T WHERE ID = " + std::to_string(Id));
    Check.Open();
    return Check.FieldByName("D")->IsNull() ? -1 : Check.FieldByName("D")->AsDateTime();
  }

  TModalScript Script;
  TFormPtr<TForm> Form;
  TEdit* Other = nullptr;
  TqvDBDateTimePicker* Picker = nullptr;
};

TEST_F(SqlDatePickerTest, ADayTypedIsWrittenWhenThePickerIsLeft) {
  Form->Show();
  Activate(Form.get());
  EXPECT_EQ(Picker->Text(), "12/03/2004");
  ASSERT_TRUE(GiveFocus(Picker));
  Press(VK_HOME, true);
  Press('2');
  Press('0');
  EXPECT_EQ(Picker->Text(), "20/03/2004");
  EXPECT_DOUBLE_EQ(Query->FieldByName("D")->AsDateTime(), 38058.0) << "written before leaving";
  Press(VK_TAB);
  ASSERT_TRUE(WaitFor("the focus to leave", [&] { return !Picker->Focused(); }));
  EXPECT_DOUBLE_EQ(Query->FieldByName("D")->AsDateTime(), EncodeDate(2004, 3, 20));
  Query->Post();
  EXPECT_DOUBLE_EQ(FileDate(1), EncodeDate(2004, 3, 20));
}

// On a required field Delete never empties the date: all text selected or a date part current, it
// is refused; on the time of a date shown with its time (the default format) it drops the time only.
TEST_F(SqlDatePickerTest, DeleteOnARequiredFieldDropsAtMostTheTime) {
  struct TCase {
    const char* Name;
    int Row;
    int Rights;  // after all text is selected; none keeps all text selected
    const char* Text;
    TDateTime Value;
  };
  const TCase Cases[] = {
      {"AllTextSelected", 1, 0, "12/03/2004", 38058.0},
      {"OnTheMonth", 1, 1, "12/03/2004", 38058.0},
      {"AllTextOfADateAndTime", 3, 0, "12/03/2004 12:00:00", 38058.5},
      {"OnTheYearOfADateAndTime", 3, 2, "12/03/2004 12:00:00", 38058.5},
      {"OnTheHour", 3, 3, "12/03/2004", 38058.0},
      {"OnTheMinute", 3, 4, "12/03/2004", 38058.0},
  };
  Query->FieldByName("D")->SetRequired(true);
  Form->Show();
  Activate(Form.get());
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    Query->First();
    for (int i = 1; i < Case.Row; ++i) Query->Next();
    ASSERT_TRUE(GiveFocus(Picker));
    Press(VK_HOME, true);
    for (int i = 0; i < Case.Rights; ++i) Press(VK_RIGHT);
    Press(VK_DELETE);
    EXPECT_EQ(Picker->Text(), Case.Text);
    EXPECT_DOUBLE_EQ(Picker->DateTime(), Case.Value);
    ASSERT_TRUE(GiveFocus(Other));
    EXPECT_DOUBLE_EQ(Query->FieldByName("D")->AsDateTime(), Case.Value);
    Query->Cancel();
  }
}

TEST_F(SqlDatePickerTest, AnEmptyDateTakesTodayOnTheFirstKeyAndANullStaysNull) {
  Form->Show();
  Activate(Form.get());
  Query->Next();
  EXPECT_EQ(Picker->Text(), "");
  ASSERT_TRUE(GiveFocus(Picker));
  Press(VK_TAB);
  ASSERT_TRUE(WaitFor("the focus to leave", [&] { return !Picker->Focused(); }));
  EXPECT_TRUE(Query->FieldByName("D")->IsNull());
  ASSERT_TRUE(GiveFocus(Picker));
  Press('0');
  Press('1');
  EXPECT_EQ(std::trunc(Picker->DateTime()), EncodeDate(YearOf(Date()), MonthOf(Date()), 1));
  Press(VK_TAB);
  ASSERT_TRUE(WaitFor("the focus to leave", [&] { return !Picker->Focused(); }));
  Query->Post();
  EXPECT_DOUBLE_EQ(std::trunc(FileDate(2)), EncodeDate(YearOf(Date()), MonthOf(Date()), 1));
}

// --- Pictures ---------------------------------------------------------------------------------------

TEST_F(DateTimePickerTest, PicturesOfThePickerAndOfTheOpenCalendar) {
  auto* P = Make(qvDTEdtDate, "", Day(2024, 3, 15));
  auto* Long = Make(qvDTEdtDateTime, "dddd d mmmm yyyy hh:nn", At(2024, 9, 25, 17, 45), 50);
  Long->SetWidth(260);
  ShowUnfocused();
  ASSERT_TRUE(Painted(Form.get()));
  EXPECT_TRUE(WritePng(CaptureArea(Form.get(), Bounds(10, 10, 290, 70)), BuildPicturePath("qvdbdatetimepicker.png")));
  ASSERT_TRUE(GiveFocus(P));
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(CalendarShown(P));
  ASSERT_TRUE(Painted(P->Calendar()));
  RECT E{}, C{};
  GetWindowRect(P->Handle(), &E);
  GetWindowRect(P->Calendar()->Handle(), &C);
  TPixelArea Picture = CaptureScreen(Rect(std::min(E.left, C.left) - 10, E.top - 10, std::max(E.right, C.right) + 10, C.bottom + 10));
  EXPECT_TRUE(WritePng(Picture, BuildPicturePath("qvdbdatetimepicker_calendar_open.png")));
  Press(VK_ESCAPE);
}

}  // namespace
