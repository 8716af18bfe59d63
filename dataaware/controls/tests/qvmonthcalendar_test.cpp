// Tests of the month calendar on real windows: the colours of its parts as the screen shows them,
// its size never below what the control needs, ranges of days chosen by keys, by the mouse and by
// the program within MaxSelectCount, the title menus opened at the edges of the title's text and
// closed by a second click on it, and the same settings given through a date picker's
// CalendarAttributes to its drop-down calendar.
#include "CalendarTestSupport.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "DateTimeFormat.h"
#include "qvdbdatetimepicker.h"

namespace {

TDateTime Day(int Year, int Month, int D) { return EncodeDate(Year, Month, D); }

// Colours no default part of the calendar has.
constexpr TColor TitleBack = TColor(0x00306020);
constexpr TColor TitleText = TColor(0x0000E0F0);
constexpr TColor MonthBack = TColor(0x00D0F0E0);
constexpr TColor DayText = TColor(0x00800010);
constexpr TColor Trailing = TColor(0x000070E0);

void SetTestColours(TqvDateTimeColors* Colors) {
  Colors->SetTitleBackColor(TitleBack);
  Colors->SetTitleTextColor(TitleText);
  Colors->SetMonthBackColor(MonthBack);
  Colors->SetTextColor(DayText);
  Colors->SetTrailingTextColor(Trailing);
}

class CalendarTest : public ControlsFormTest {
 protected:
  // A calendar on 15/06/2005 (a month that starts on a Wednesday: days of May trail before it).
  TqvMonthCalendar* MakeCalendar(TqvMonthOptions Options = {mdoDayState}) {
    auto* C = Add<TqvMonthCalendar>(20, 20);
    C->SetOptions(Options);
    C->SetDate(Day(2005, 6, 15));
    C->OnChange = TNotifyEvent(this, &CalendarTest::Changed);
    return C;
  }
  void Changed(TObject*) { ++Changes; }
  // What the mouse events were given: X, Y, Month, Day, Year.
  using TMouseAt = std::array<int, 5>;
  void Down(TObject*, TMouseButton, TShiftState, int X, int Y, int Month, int D, int Year) {
    Downs.push_back({X, Y, Month, D, Year});
    if (FailDown) throw Exception("refusé"_a);
  }
  void Up(TObject*, TMouseButton, TShiftState, int X, int Y, int Month, int D, int Year) {
    Ups.push_back({X, Y, Month, D, Year});
  }
  void Moved(TObject*, TShiftState, int X, int Y, int Month, int D, int Year) { Moves.push_back({X, Y, Month, D, Year}); }
  std::vector<TMouseAt> Downs, Ups, Moves;
  // Every day asked about, as the event gives it; the 10th of each month is bold.
  void Bold(TObject* Sender, TDateTime ADate, int Month, int D, int Year, bool& Accept) {
    EXPECT_FALSE(Accept);
    EXPECT_EQ(ADate, EncodeDate(Year, Month, D));
    Asked.push_back(ADate);
    AskedBy.push_back(Sender);
    Accept = D == 10;
  }
  std::vector<TDateTime> Asked;
  std::vector<TObject*> AskedBy;
  void WatchBoldDays(TqvMonthCalendar* C) { C->OnCalcBoldDay = TCalcBoldDayEvent(this, &CalendarTest::Bold); }
  void WatchMouse(TqvMonthCalendar* C) {
    C->OnMouseDown = TmcMouseUPDownEvent(this, &CalendarTest::Down);
    C->OnMouseUp = TmcMouseUPDownEvent(this, &CalendarTest::Up);
    C->OnMouseMove = TmcMouseMoveEvent(this, &CalendarTest::Moved);
  }
  bool FailDown = false;
  // The range the control itself holds.
  std::pair<TDateTime, TDateTime> ControlRange(TqvMonthCalendar* C) {
    SYSTEMTIME Range[2] = {};
    SendMessageA(C->Handle(), MCM_GETSELRANGE, 0, LPARAM(Range));
    return {EncodeDate(Range[0].wYear, Range[0].wMonth, Range[0].wDay),
            EncodeDate(Range[1].wYear, Range[1].wMonth, Range[1].wDay)};
  }
  COLORREF ControlColour(TqvMonthCalendar* C, int Index) {
    return COLORREF(SendMessageA(C->Handle(), MCM_GETCOLOR, WPARAM(Index), 0));
  }
  // Checks each part of the calendar on screen against the colours of SetTestColours.
  void ExpectTestColoursShown(TqvMonthCalendar* C) {
    const std::pair<int, TColor> Sent[] = {{TqvDateTimeColors::TextIndex, DayText},
                                           {TqvDateTimeColors::TitleBackIndex, TitleBack},
                                           {TqvDateTimeColors::TitleTextIndex, TitleText},
                                           {TqvDateTimeColors::MonthBackIndex, MonthBack},
                                           {TqvDateTimeColors::TrailingTextIndex, Trailing}};
    for (auto [Index, Colour] : Sent) EXPECT_EQ(ControlColour(C, Index), ColorToRGB(Colour)) << Index;
    auto Title = CalendarColours(C, IsTitleHit);
    EXPECT_EQ(MostCommon(Title), PixelValue(TitleBack));
    EXPECT_GT(Title[PixelValue(TitleText)], 0) << "the month and year in the title";
    auto Days = CalendarColours(C, IsMonthDayHit);
    EXPECT_EQ(MostCommon(Days), PixelValue(MonthBack));
    EXPECT_GT(Days[PixelValue(DayText)], 0) << "the days of the month";
    EXPECT_EQ(Days[PixelValue(Trailing)], 0) << "the days of the month are not trailing days";
    auto Around = CalendarColours(C, TTrailingDayHit{6});
    EXPECT_GT(Around[PixelValue(Trailing)], 0) << "the days of May and July";
  }
  int Changes = 0;
};

// --- Colours ----------------------------------------------------------------------------------------

TEST_F(CalendarTest, EachColourIsDrawnInItsPart) {
  auto* C = MakeCalendar();
  ShowForm();
  ASSERT_TRUE(Painted(C));
  // Before: none of the test colours is on screen, so the checks below can fail.
  auto Before = CalendarColours(C, [](const MCHITTESTINFO&) { return true; });
  for (TColor Colour : {TitleBack, TitleText, MonthBack, DayText, Trailing}) EXPECT_EQ(Before[PixelValue(Colour)], 0);
  SetTestColours(C->CalColors());
  ASSERT_TRUE(Painted(C));
  ExpectTestColoursShown(C);
  EXPECT_TRUE(WritePng(CaptureArea(C, Rect(0, 0, C->Width(), C->Height())), BuildPicturePath("qvmonthcalendar_colours.png")));
}

// A calendar made again (its options changed) shows the colours it was given before.
TEST_F(CalendarTest, ColoursSurviveTheWindowMadeAgain) {
  auto* C = MakeCalendar();
  SetTestColours(C->CalColors());
  ShowForm();
  ASSERT_TRUE(Painted(C));
  HWND Old = C->Handle();
  C->SetOptions({mdoDayState, mdoNoTodayCircle});
  ASSERT_TRUE(WaitFor("the window made again", [&] { return C->HandleAllocated() && C->Handle() != Old; }));
  ASSERT_TRUE(Painted(C));
  ExpectTestColoursShown(C);
}

TEST_F(CalendarTest, ColoursAreCopiedFromColoursOnly) {
  TqvDateTimeColors From, To;
  SetTestColours(&From);
  To.Assign(&From);
  EXPECT_EQ(To.TitleBackColor(), TitleBack);
  EXPECT_EQ(To.TitleTextColor(), TitleText);
  EXPECT_EQ(To.MonthBackColor(), MonthBack);
  EXPECT_EQ(To.TextColor(), DayText);
  EXPECT_EQ(To.TrailingTextColor(), Trailing);
  TqvPopupYearOptions Other;
  try {
    To.Assign(&Other);
    ADD_FAILURE() << "no error";
  } catch (const EConvertError& E) {
    EXPECT_STREQ(E.what(), "Impossible d'affecter TqvPopupYearOptions à TqvDateTimeColors"_a);
  }
  try {
    To.Assign(nullptr);
    ADD_FAILURE() << "no error";
  } catch (const EConvertError& E) {
    EXPECT_STREQ(E.what(), "Impossible d'affecter nil à TqvDateTimeColors"_a);
  }
  EXPECT_EQ(To.TitleBackColor(), TitleBack);
}

// --- Size -------------------------------------------------------------------------------------------

TEST_F(CalendarTest, WidthAndHeightNeverGoBelowWhatTheControlNeeds) {
  auto* C = MakeCalendar();
  ShowForm();
  ASSERT_TRUE(Painted(C));
  TSize Min = C->MinimumSize();
  ASSERT_GT(Min.cx, 0);
  ASSERT_GT(Min.cy, 0);
  EXPECT_GE(C->Width(), Min.cx) << "155 is raised once the window exists";
  struct TCase {
    int Width, Height, WantWidth, WantHeight;
  };
  const TCase Cases[] = {{10, 10, Min.cx, Min.cy},
                         {Min.cx + 40, Min.cy + 30, Min.cx + 40, Min.cy + 30},
                         {Min.cx - 1, Min.cy - 1, Min.cx, Min.cy}};
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(std::to_string(Case.Width) + "x" + std::to_string(Case.Height));
    C->SetWidth(Case.Width);
    C->SetHeight(Case.Height);
    ASSERT_TRUE(Painted(C));
    EXPECT_EQ(C->Width(), Case.WantWidth);
    EXPECT_EQ(C->Height(), Case.WantHeight);
    RECT R{};
    GetWindowRect(C->Handle(), &R);
    EXPECT_EQ(R.right - R.left, Case.WantWidth);
    EXPECT_EQ(R.bottom - R.top, Case.WantHeight);
  }
}

TEST_F(CalendarTest, ASingleBorderIsDrawnRoundTheCalendar) {
  auto* C = MakeCalendar();
  ShowForm();
  ASSERT_TRUE(Painted(C));
  EXPECT_FALSE(GetWindowLongA(C->Handle(), GWL_STYLE) & WS_BORDER);
  HWND Old = C->Handle();
  C->SetBorderStyle(bsSingle);
  ASSERT_TRUE(WaitFor("the window made again", [&] { return C->HandleAllocated() && C->Handle() != Old; }));
  EXPECT_TRUE(GetWindowLongA(C->Handle(), GWL_STYLE) & WS_BORDER);
  EXPECT_EQ(std::trunc(C->Date()), Day(2005, 6, 15));
}

// The control asks for the months it shows (and those partly shown around them); the event is
// asked about each of their days, and only with mdoDayState.
TEST_F(CalendarTest, BoldDaysAreAskedForEachDayOfTheMonthsOnView) {
  auto* C = MakeCalendar();
  WatchBoldDays(C);
  auto* Plain = Add<TqvMonthCalendar>(220, 20);
  Plain->SetOptions({});
  Plain->SetDate(Day(2005, 6, 15));
  WatchBoldDays(Plain);
  ShowForm();
  ASSERT_TRUE(Painted(C));
  ASSERT_TRUE(Painted(Plain));
  ASSERT_FALSE(Asked.empty());
  EXPECT_EQ(std::count(AskedBy.begin(), AskedBy.end(), Plain), 0) << "a calendar without mdoDayState is never asked";
  // June 2005 whole.
  for (int D = 1; D <= 30; ++D) EXPECT_NE(std::find(Asked.begin(), Asked.end(), Day(2005, 6, D)), Asked.end()) << D;
  for (TDateTime A : Asked) {
    EXPECT_GE(MonthOf(A), 5) << "only the months around June";
    EXPECT_LE(MonthOf(A), 7) << "only the months around June";
  }
  Asked.clear();
  C->SetDate(Day(2005, 9, 15));
  ASSERT_TRUE(Painted(C));
  EXPECT_NE(std::find(Asked.begin(), Asked.end(), Day(2005, 9, 30)), Asked.end()) << "a new month is asked for";
}

// --- Mouse ------------------------------------------------------------------------------------------

TEST_F(CalendarTest, MouseEventsTellTheDayUnderTheMouse) {
  auto* C = MakeCalendar();
  WatchMouse(C);
  ShowForm();
  ASSERT_TRUE(Painted(C));
  TPoint At20, At22, At25;
  ASSERT_TRUE(CalendarPoint(C, At20, 0, Day(2005, 6, 20)));
  ASSERT_TRUE(CalendarPoint(C, At22, 0, Day(2005, 6, 22)));
  ASSERT_TRUE(CalendarPoint(C, At25, 0, Day(2005, 6, 25)));
  auto Client = [&](TPoint P) { return C->ScreenToClient(P); };
  ClickAt(At20);
  ASSERT_EQ(Downs.size(), 1u);
  EXPECT_EQ(Downs[0], (TMouseAt{Client(At20).X, Client(At20).Y, 6, 20, 2005}));
  ASSERT_EQ(Ups.size(), 1u);
  EXPECT_EQ(Ups[0], Downs[0]);
  EXPECT_EQ(std::trunc(C->Date()), Day(2005, 6, 20));
  // A press the handler fails on does nothing more: no day is chosen, no message is shown.
  FailDown = true;
  ClickAt(At22);
  EXPECT_EQ(Downs.size(), 2u);
  EXPECT_EQ(std::trunc(C->Date()), Day(2005, 6, 20));
  EXPECT_TRUE(Script.Unexpected.empty());
  FailDown = false;
  ClickAt(At22);
  EXPECT_EQ(std::trunc(C->Date()), Day(2005, 6, 22));
  MoveMouseTo(At25);
  ASSERT_TRUE(WaitFor("the move", [&] { return !Moves.empty() && Moves.back()[3] == 25; }));
  EXPECT_EQ(Moves.back(), (TMouseAt{Client(At25).X, Client(At25).Y, 6, 25, 2005}));
}

// --- Ranges -----------------------------------------------------------------------------------------

TEST_F(CalendarTest, ARangeIsTakenWithinMaxSelectCountAndOnlyWithMultiSelect) {
  auto* Single = MakeCalendar();
  Single->SetVisible(false);
  auto* C = Add<TqvMonthCalendar>(20, 20);
  C->SetOptions({mdoDayState, mdoMultiSelect});
  C->SetMaxSelectCount(7);
  C->SetDate(Day(2005, 6, 15));
  ShowForm();
  ASSERT_TRUE(Painted(C));
  EXPECT_EQ(SendMessageA(C->Handle(), MCM_GETMAXSELCOUNT, 0, 0), 7);
  EXPECT_EQ(C->SelStart(), Day(2005, 6, 15));
  EXPECT_EQ(C->SelEnd(), Day(2005, 6, 15));

  EXPECT_FALSE(Single->SetSelRange(Day(2005, 6, 20), Day(2005, 6, 15))) << "not a multi-select calendar";
  // The ends may come in either order; they are kept in order.
  EXPECT_TRUE(C->SetSelRange(Day(2005, 6, 15), Day(2005, 6, 21)));
  EXPECT_EQ(C->SelStart(), Day(2005, 6, 15));
  EXPECT_EQ(C->SelEnd(), Day(2005, 6, 21));
  EXPECT_EQ(ControlRange(C), std::make_pair(Day(2005, 6, 15), Day(2005, 6, 21)));
  // Eight days are more than 7: refused, the range stays.
  EXPECT_FALSE(C->SetSelRange(Day(2005, 6, 22), Day(2005, 6, 15)));
  EXPECT_EQ(C->SelEnd(), Day(2005, 6, 21));
  EXPECT_EQ(ControlRange(C), std::make_pair(Day(2005, 6, 15), Day(2005, 6, 21)));
  C->SetMaxSelectCount(31);
  EXPECT_EQ(SendMessageA(C->Handle(), MCM_GETMAXSELCOUNT, 0, 0), 31);
  EXPECT_TRUE(C->SetSelRange(Day(2005, 6, 22), Day(2005, 6, 15)));

  // An end moved alone keeps the other one.
  C->SetSelEnd(Day(2005, 6, 25));
  EXPECT_EQ(ControlRange(C), std::make_pair(Day(2005, 6, 15), Day(2005, 6, 25)));
  C->SetSelStart(Day(2005, 6, 18));
  EXPECT_EQ(ControlRange(C), std::make_pair(Day(2005, 6, 18), Day(2005, 6, 25)));
  // An end beyond a limit becomes the limit, and the error is raised.
  C->SetMaxDate(Day(2005, 6, 28));
  try {
    C->SetSelEnd(Day(2005, 7, 2));
    ADD_FAILURE() << "no error";
  } catch (const EDateTimeError& E) {
    EXPECT_STREQ(E.what(), ("La date dépasse le maximum de "_a + DateToStr(Day(2005, 6, 28))).c_str());
  }
  EXPECT_EQ(C->SelEnd(), Day(2005, 6, 28));
}

// A range made while the window does not exist is the one it starts with.
TEST_F(CalendarTest, ANewWindowTakesTheRangeSetBefore) {
  auto* C = MakeCalendar({mdoDayState, mdoMultiSelect});
  EXPECT_TRUE(C->SetSelRange(Day(2005, 6, 20), Day(2005, 6, 16)));
  ShowForm();
  ASSERT_TRUE(Painted(C));
  EXPECT_EQ(ControlRange(C), std::make_pair(Day(2005, 6, 16), Day(2005, 6, 20)));
}

TEST_F(CalendarTest, ShiftAndTheArrowsStretchTheRangeFromTheDayOnView) {
  auto* C = MakeCalendar({mdoDayState, mdoMultiSelect});
  ShowForm();
  ASSERT_TRUE(GiveFocus(C));
  struct TStep {
    WORD Key;
    bool Shift;
    TDateTime Start, End;
  };
  // The calendar stays on the 15th; the other end moves, on either side of it.
  const TStep Steps[] = {
      {VK_RIGHT, true, Day(2005, 6, 15), Day(2005, 6, 16)},
      {VK_RIGHT, true, Day(2005, 6, 15), Day(2005, 6, 17)},
      {VK_DOWN, true, Day(2005, 6, 15), Day(2005, 6, 24)},
      {VK_NEXT, false, Day(2005, 6, 15), Day(2005, 6, 24)},  // months do not move a range
      {VK_UP, true, Day(2005, 6, 15), Day(2005, 6, 17)},
      {VK_LEFT, true, Day(2005, 6, 15), Day(2005, 6, 16)},
      {VK_LEFT, true, Day(2005, 6, 15), Day(2005, 6, 15)},
      {VK_LEFT, true, Day(2005, 6, 14), Day(2005, 6, 15)},
      {VK_UP, true, Day(2005, 6, 7), Day(2005, 6, 15)},
      {VK_RIGHT, false, Day(2005, 6, 16), Day(2005, 6, 16)},  // without Shift: one day again
  };
  int Step = 0;
  for (const TStep& S : Steps) {
    SCOPED_TRACE(Step++);
    Press(S.Key, S.Shift);
    EXPECT_EQ(C->SelStart(), S.Start);
    EXPECT_EQ(C->SelEnd(), S.End);
    EXPECT_EQ(ControlRange(C), std::make_pair(S.Start, S.End));
  }
  EXPECT_EQ(std::trunc(C->Date()), Day(2005, 6, 16));
}

TEST_F(CalendarTest, ARangeDraggedWithTheMouseIsOneChange) {
  auto* C = MakeCalendar({mdoDayState, mdoMultiSelect});
  ShowForm();
  ASSERT_TRUE(Painted(C));
  TPoint From, To;
  ASSERT_TRUE(CalendarPoint(C, From, 0, Day(2005, 6, 8)));
  ASSERT_TRUE(CalendarPoint(C, To, 0, Day(2005, 6, 10)));
  Changes = 0;
  DragMouse(From, To);
  ASSERT_TRUE(WaitFor("the range", [&] { return C->SelEnd() == Day(2005, 6, 10); }));
  EXPECT_EQ(C->SelStart(), Day(2005, 6, 8));
  EXPECT_EQ(ControlRange(C), std::make_pair(Day(2005, 6, 8), Day(2005, 6, 10)));
  EXPECT_EQ(Changes, 2) << "the press on the 8th, then the range once the button is up";
  ASSERT_TRUE(Painted(C));
  EXPECT_TRUE(WritePng(CaptureArea(C, Rect(0, 0, C->Width(), C->Height())), BuildPicturePath("qvmonthcalendar_range.png")));
}

// --- Title menus ------------------------------------------------------------------------------------

// Finds the menu window the thread shows.
HWND ShownMenu() {
  HWND Menu = nullptr;
  while ((Menu = FindWindowExA(nullptr, Menu, "#32768", nullptr)) != nullptr)
    if (IsWindowVisible(Menu)) return Menu;
  return nullptr;
}

class TitleMenuTest : public CalendarTest {
 protected:
  void SetUp() override {
    CalendarTest::SetUp();
    Calendar = MakeCalendar();
    ShowForm();
    ASSERT_TRUE(Painted(Calendar));
  }
  // Opens the menu of the title's Hit and takes the menu window's rectangle, then Escape.
  RECT MenuRectangle(UINT Hit) {
    TPoint Point;
    RECT Shown{};
    EXPECT_TRUE(CalendarPoint(Calendar, Point, Hit));
    LaterInMenu([&Shown] {
      if (HWND Menu = ShownMenu()) GetWindowRect(Menu, &Shown);
      PressKey(VK_ESCAPE);
    });
    ClickAt(Point);
    EXPECT_TRUE(WaitFor("the menu to close", [&] { return !Calendar->IsPopupMenuShowing(); }));
    return Shown;
  }
  TqvMonthCalendar* Calendar = nullptr;
};

TEST_F(TitleMenuTest, TheYearMenuOpensUnderTheYearsLeftEdge) {
  Calendar->PopupYearOptions()->ShowEditYear = false;
  TRect Year = CalendarArea(Calendar, MCHT_TITLEYEAR);
  ASSERT_LE(Year.Left, Year.Right);
  RECT Menu = MenuRectangle(MCHT_TITLEYEAR);
  TPoint Expected = Calendar->ClientToScreen(TPoint(Year.Left, Year.Bottom + 2));
  EXPECT_EQ(Menu.left, Expected.X);
  EXPECT_EQ(Menu.top, Expected.Y);
}

// With the edit item in a column of its own, the menu starts that much further left, so that the
// years stand under the title's year.
TEST_F(TitleMenuTest, TheEditItemsColumnMovesTheYearMenuLeft) {
  Calendar->PopupYearOptions()->ShowEditYear = true;
  TRect Year = CalendarArea(Calendar, MCHT_TITLEYEAR);
  RECT Menu = MenuRectangle(MCHT_TITLEYEAR);
  TPoint Under = Calendar->ClientToScreen(TPoint(Year.Left, Year.Bottom + 2));
  HDC DC = GetDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, Form->Font()->Handle());
  SIZE Caption{};
  GetTextExtentPoint32A(DC, "Edit Year", 9, &Caption);
  SelectObject(DC, Old);
  ReleaseDC(nullptr, DC);
  ASSERT_GT(Caption.cx, 0);
  EXPECT_EQ(Menu.left, std::max(0L, long(Under.X - Caption.cx - 45)));
  EXPECT_EQ(Menu.top, Under.Y);
}

TEST_F(TitleMenuTest, TheMonthMenuOpensWithItsRightSideUnderTheMonthsRightEdge) {
  TRect Month = CalendarArea(Calendar, MCHT_TITLEMONTH);
  ASSERT_LE(Month.Left, Month.Right);
  RECT Menu = MenuRectangle(MCHT_TITLEMONTH);
  TPoint Expected = Calendar->ClientToScreen(TPoint(Month.Right, Month.Bottom + 2));
  EXPECT_EQ(Menu.right, Expected.X);
  EXPECT_EQ(Menu.top, Expected.Y);
}

// A press that closes a title menu reaches, once the menu is closed, the window under it. On the
// same title it must not open the menu again; a menu closed in any other way leaves the next click
// on the title free to open it. Presses are sent from inside the menu's loop, not awaited there,
// and a timer ends any menu still open after a while, so that a fault fails the test instead of
// holding it.
TEST_F(TitleMenuTest, APressOnTheTitleClosesItsMenuWithoutOpeningItAgain) {
  // The month menu opens leftwards from the month's right edge: the last column of days stays free.
  TPoint Month, Day26;
  ASSERT_TRUE(CalendarPoint(Calendar, Month, MCHT_TITLEMONTH));
  ASSERT_TRUE(CalendarPoint(Calendar, Day26, 0, Day(2005, 6, 26)));
  int Opened = 0;
  // Opens the month menu and presses At from inside it; true when no menu is open a while later.
  auto CloseByPressAt = [&](TPoint At) {
    bool MenuLeftOpen = false, GuardRan = false;
    LaterInMenu([&] {
      ++Opened;
      MouseButton(true, At);
      MouseButton(false, At);
      Later(
          [&] {
            MenuLeftOpen = Calendar->IsPopupMenuShowing();
            if (MenuLeftOpen) EndMenu();
            GuardRan = true;
          },
          1500);
    });
    ClickAt(Month);
    EXPECT_TRUE(WaitFor("the guard", [&] { return GuardRan; }));
    return !MenuLeftOpen;
  };
  EXPECT_TRUE(CloseByPressAt(Month)) << "the press that closed the menu opened it again";
  EXPECT_EQ(Opened, 1);
  EXPECT_FALSE(Calendar->AfterMonthMenu()) << "the press that closed the menu is spent";
  // A press on a day closes the menu and chooses the day.
  EXPECT_TRUE(CloseByPressAt(Day26));
  EXPECT_EQ(Opened, 2) << "the title opens its menu again";
  EXPECT_FALSE(Calendar->AfterMonthMenu());
  EXPECT_EQ(std::trunc(Calendar->Date()), Day(2005, 6, 26));
  // Closed by Escape: the next click opens it.
  LaterInMenu([&] {
    ++Opened;
    PressKey(VK_ESCAPE);
  });
  ClickAt(Month);
  ASSERT_TRUE(WaitFor("the menu to close", [&] { return !Calendar->IsPopupMenuShowing(); }));
  EXPECT_EQ(Opened, 3);
  EXPECT_FALSE(Calendar->AfterMonthMenu());
  LaterInMenu([&] {
    ++Opened;
    PressKey(VK_ESCAPE);
  });
  ClickAt(Month);
  ASSERT_TRUE(WaitFor("the menu to close", [&] { return !Calendar->IsPopupMenuShowing(); }));
  EXPECT_EQ(Opened, 4);
}

// --- Through the picker's CalendarAttributes --------------------------------------------------------

TEST_F(CalendarTest, ThePickersCalendarAttributesGoToItsDropDown) {
  auto* P = Add<TqvDBDateTimePicker>(20, 20, 160);
  P->SetUnboundDataType(qvDTEdtDate);
  P->SetDateTime(Day(2005, 6, 15));
  TqvCalendarOptions* A = P->CalendarAttributes();
  SetTestColours(A->Colors());
  A->Options = {mdoDayState, mdoWeekNumbers};
  A->PopupYearOptions()->StartYear = 2000;
  A->Font()->SetSize(10);
  ShowUnfocused();
  ASSERT_TRUE(GiveFocus(P));
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(WaitFor("the calendar", [&] { return P->IsDroppedDown(); }));
  TqvPopupCalendar* C = P->Calendar();
  ASSERT_TRUE(Painted(C));
  EXPECT_TRUE(GetWindowLongA(C->Handle(), GWL_STYLE) & MCS_WEEKNUMBERS);
  EXPECT_EQ(C->PopupYearOptions()->StartYear, 2000);
  EXPECT_EQ(C->Font()->Size(), 10);
  ExpectTestColoursShown(C);
  RECT E{}, R{};
  GetWindowRect(P->Handle(), &E);
  GetWindowRect(C->Handle(), &R);
  EXPECT_TRUE(WritePng(CaptureScreen(Rect(E.left - 10, E.top - 10, std::max(E.right, R.right) + 10, R.bottom + 10)),
                       BuildPicturePath("qvdbdatetimepicker_calendar_colours.png")));
  // Its size: what it needs, or more when the attributes ask for more.
  TSize Min = C->MinimumSize();
  EXPECT_EQ(R.right - R.left, Min.cx);
  EXPECT_EQ(R.bottom - R.top, Min.cy);
  Press(VK_ESCAPE);
  ASSERT_TRUE(WaitFor("the calendar to close", [&] { return !P->IsDroppedDown(); }));
  A->Width = Min.cx + 60;
  A->Height = Min.cy - 20;
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(WaitFor("the calendar", [&] { return P->IsDroppedDown(); }));
  GetWindowRect(C->Handle(), &R);
  EXPECT_EQ(R.right - R.left, Min.cx + 60);
  EXPECT_EQ(R.bottom - R.top, Min.cy) << "less than it needs gives what it needs";
  Press(VK_ESCAPE);
}

// While a title menu of the drop-down calendar is open, a press outside both the calendar and the
// picker closes the menu only; the same press with no menu open closes the calendar. The press is
// sent from inside the menu's loop, not awaited there, and a timer ends a menu still open after a
// while, so that a fault fails the test instead of holding it.
TEST_F(CalendarTest, APressThatClosesATitleMenuLeavesTheDropDownOpen) {
  auto* P = Add<TqvDBDateTimePicker>(20, 20, 160);
  P->SetUnboundDataType(qvDTEdtDate);
  P->SetDateTime(Day(2005, 6, 15));
  ShowUnfocused();
  HWND Plain = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 300, 200, 90, 60, Form->Handle(),
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  UpdateWindow(Plain);
  RECT R{};
  GetWindowRect(Plain, &R);
  TPoint Outside((R.left + R.right) / 2, (R.top + R.bottom) / 2);
  ASSERT_TRUE(GiveFocus(P));
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(WaitFor("the calendar", [&] { return P->IsDroppedDown(); }));
  TqvPopupCalendar* C = P->Calendar();
  ASSERT_TRUE(Painted(C));
  TPoint Month;
  ASSERT_TRUE(CalendarPoint(C, Month, MCHT_TITLEMONTH));
  bool MenuShown = false, GuardRan = false, MenuLeftOpen = false;
  LaterInMenu([&] {
    MenuShown = C->IsPopupMenuShowing();
    MouseButton(true, Outside);
    MouseButton(false, Outside);
    Later(
        [&] {
          MenuLeftOpen = C->IsPopupMenuShowing();
          if (MenuLeftOpen) EndMenu();
          GuardRan = true;
        },
        1500);
  });
  ClickAt(Month);
  ASSERT_TRUE(WaitFor("the guard", [&] { return GuardRan; }));
  EXPECT_TRUE(MenuShown);
  EXPECT_FALSE(MenuLeftOpen) << "the press outside did not close the menu";
  EXPECT_TRUE(P->IsDroppedDown()) << "the press that closed the menu closed the calendar too";
  EXPECT_EQ(GetFocus(), P->Handle());
  ClickAt(Outside);
  EXPECT_TRUE(WaitFor("the calendar to close", [&] { return !P->IsDroppedDown(); }));
  EXPECT_EQ(P->DateTime(), Day(2005, 6, 15));
  DestroyWindow(Plain);
}

}  // namespace
