// Tests of the date item: the date routines with the French settings, and the date combo in a tool
// bar on screen: dates typed ("10/12/2026"), stepped with "+" and "-", kept within the range, and
// picked in the drop-down calendar with the keys and the mouse, its title in French.
#include "DateTime.h"
#include "Filer.h"
#include "FormatSettings.h"
#include "ItemsTestSupport.h"
#include "StdCtrls.h"
#include "kwBarDateCombo.h"
#include "kwBarUtils.h"

namespace {

TDateTime D(int Year, int Month, int Day) { return EncodeDate(Year, Month, Day); }

TEST(DateRoutines, ATextIsReadWholeWithTheFrenchSettings) {
  struct Case {
    const char* Text;
    TDateTime Expected;
  };
  const Case cases[] = {
      {"10/12/2026", D(2026, 12, 10)},
      {"ven. 11/12/2026", D(2026, 12, 11)},
      {"vendredi 11.12.2026", D(2026, 12, 11)},
      {"11.12.2026", D(2026, 12, 11)},
      {"  1 2 2027 ", D(2027, 2, 1)},
      {"29/02/2028", D(2028, 2, 29)},
      {"29/02/2027", NullDate},
      {"", NullDate},
      {"demain", NullDate},
      {"ven.", NullDate},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(ParseDate(c.Text), c.Expected);
  }
  EXPECT_EQ(FormatDate(D(2026, 12, 10)), "10/12/2026");
  EXPECT_EQ(FormatDate(NullDate), "");
}

TEST(DateRoutines, MonthsWeeksAndLeapYears) {
  EXPECT_EQ(MonthLength(2026, 2), 28);
  EXPECT_EQ(MonthLength(2028, 2), 29);
  EXPECT_EQ(MonthLength(2100, 2), 28);
  EXPECT_EQ(MonthLength(2000, 2), 29);
  EXPECT_EQ(ClampDay(2026, 2, 31), 28);
  EXPECT_EQ(ClampDay(2026, 4, 0), 1);
  struct Shift {
    int Year, Month, Count, ToYear, ToMonth;
  };
  for (const Shift& s : {Shift{2026, 12, 1, 2027, 1}, Shift{2026, 1, -1, 2025, 12}, Shift{2026, 3, 25, 2028, 4},
                         Shift{2026, 3, -15, 2024, 12}}) {
    int year = s.Year, month = s.Month;
    ShiftMonths(year, month, s.Count);
    EXPECT_EQ(year, s.ToYear) << s.Year << "-" << s.Month << " + " << s.Count;
    EXPECT_EQ(month, s.ToMonth) << s.Year << "-" << s.Month << " + " << s.Count;
  }
  // The week starts on Monday.
  EXPECT_EQ(WeekdayIndex(D(2026, 12, 7)), 0);
  EXPECT_EQ(WeekdayIndex(D(2026, 12, 13)), 6);
  EXPECT_EQ(DayOfDate(D(2026, 12, 10) + 0.75), D(2026, 12, 10));
}

class DateCombos : public BarItemsTest {
 protected:
  void SetUp() override {
    BarItemsTest::SetUp();
    Bar = AddBar("Dates", false);
    Combo = AddItem<TkwBarDateCombo>("Date");
    Combo->SetWidth(150);
    Combo->OnChange = Counting();
    Link(Bar, Combo);
    Bar->SetVisible(true);
    ShowForm();
    ASSERT_TRUE(Painted());
  }
  TkwBarDateComboControl* Control() const {
    return dynamic_cast<TkwBarDateComboControl*>(Combo->GetLink(0)->Control());
  }
  TkwBarDateNavigator* Calendar() const { return Combo->Calendar(); }
  [[nodiscard]] testing::AssertionResult StartEditing() {
    ClickAt(CentreOf(Combo->GetLink(0)));
    return WaitFor("the editor open", [&] { return Control() && Control()->IsEditing(); });
  }
  [[nodiscard]] testing::AssertionResult OpenCalendar() {
    if (auto r = StartEditing(); !r) return r;
    PressCombo(VK_MENU, VK_DOWN);
    return WaitFor("the calendar shown", [&] {
      return Control()->IsDroppedDown() && Calendar()->HandleAllocated() && IsWindowVisible(Calendar()->Handle()) &&
             !GetUpdateRect(Calendar()->Handle(), nullptr, FALSE);
    });
  }
  [[nodiscard]] testing::AssertionResult Closed() {
    return WaitFor("the combo closed", [&] {
      return Control() && !Control()->IsEditing() &&
             !(Calendar()->HandleAllocated() && IsWindowVisible(Calendar()->Handle()));
    });
  }
  TPoint ScreenCentre(const TRect& ClientRect) const {
    TPoint p((ClientRect.Left + ClientRect.Right) / 2, (ClientRect.Top + ClientRect.Bottom) / 2);
    ClientToScreen(Calendar()->Handle(), AsPOINT(&p));
    return p;
  }
  TkwBar* Bar = nullptr;
  TkwBarDateCombo* Combo = nullptr;
};

TEST_F(DateCombos, ItStartsWithTodayAndWritesTheShortDayName) {
  EXPECT_EQ(Combo->Date(), DayOfDate(Date()));
  Combo->SetDate(D(2026, 12, 11));
  EXPECT_EQ(Combo->Text(), "ven. 11/12/2026");
  Combo->SetShowDayText(false);
  EXPECT_EQ(Combo->Text(), "11/12/2026");
  EXPECT_EQ(Combo->Date(), D(2026, 12, 11));
  Combo->SetText("");
  EXPECT_EQ(Combo->Date(), NullDate);
  EXPECT_EQ(Combo->Text(), "");
}

TEST_F(DateCombos, ATypedDateIsReadAndWrittenAgainAndEscapeKeepsTheDate) {
  Combo->SetDate(D(2026, 1, 5));
  Clicks.clear();
  ASSERT_TRUE(StartEditing());
  TypeText("10/12/2026");
  Press(VK_RETURN);
  ASSERT_TRUE(Closed());
  EXPECT_EQ(Combo->Date(), D(2026, 12, 10));
  EXPECT_EQ(Combo->Text(), "jeu. 10/12/2026");
  EXPECT_EQ(Clicks[Combo], 1);

  ASSERT_TRUE(StartEditing());
  TypeText("01/01/2027");
  Press(VK_ESCAPE);
  ASSERT_TRUE(Closed());
  EXPECT_EQ(Combo->Date(), D(2026, 12, 10));
  EXPECT_EQ(Clicks[Combo], 1);
}

TEST_F(DateCombos, PlusAndMinusStepTheTypedDateByADay) {
  Combo->SetDate(D(2026, 12, 31));
  Clicks.clear();
  ASSERT_TRUE(StartEditing());
  TypeText("++-+");
  ASSERT_TRUE(WaitFor("the text stepped", [&] { return ParseDate(Control()->GetText()) == D(2027, 1, 2); }));
  Press(VK_RETURN);
  ASSERT_TRUE(Closed());
  EXPECT_EQ(Combo->Date(), D(2027, 1, 2));
  EXPECT_EQ(Clicks[Combo], 1);
}

TEST_F(DateCombos, TheRangeKeepsTheDateWithinIt) {
  Combo->SetDate(D(2026, 6, 15));
  Combo->SetMinDate(D(2026, 1, 1));
  EXPECT_EQ(Combo->MinDate(), 0) << "a lower bound above the upper one takes the upper one";
  Combo->SetMaxDate(D(2026, 3, 31));
  EXPECT_EQ(Combo->Date(), D(2026, 3, 31)) << "a new bound moves the date inside the range";
  Combo->SetMinDate(D(2026, 2, 1));
  struct Case {
    TDateTime Set, Expected;
  };
  for (const Case& c : {Case{D(2025, 12, 24), D(2026, 2, 1)}, Case{D(2026, 2, 20), D(2026, 2, 20)},
                        Case{D(2026, 8, 1), D(2026, 3, 31)}, Case{NullDate, NullDate}}) {
    Combo->SetDate(c.Set);
    EXPECT_EQ(Combo->Date(), c.Expected) << FormatDate(c.Set);
  }
  Combo->SetMinDate(0);
  Combo->SetMaxDate(0);
  Combo->SetDate(D(1990, 5, 5));
  EXPECT_EQ(Combo->Date(), D(1990, 5, 5)) << "no range";
}

TEST_F(DateCombos, TheCalendarShowsTheMonthInFrenchAndTheWholeWeekBeforeAMondayFirst) {
  Combo->SetDate(D(2026, 6, 17));
  ASSERT_TRUE(OpenCalendar());
  EXPECT_EQ(Calendar()->FirstDate(), D(2026, 6, 1));
  EXPECT_EQ(Calendar()->SelStart(), D(2026, 6, 17));
  // The 1st of June 2026 is a Monday: the first row is the week before.
  EXPECT_EQ(Calendar()->GetFirstVisibleDate(), D(2026, 5, 25));
  // The title, as the same font writes "juin 2026" centred on the header's colour.
  TRect title = Calendar()->TitleRect();
  TBitmap expected;
  expected.SetPixelFormat(pf24bit);
  expected.SetSize(title.Width(), title.Height());
  HDC dc = expected.Canvas()->Handle();
  HBRUSH back = CreateSolidBrush(ItemPainterOf(Manager)->GetDateNavigatorHeaderColor());
  RECT all = {0, 0, title.Width(), title.Height()};
  FillRect(dc, &all, back);
  DeleteObject(back);
  SelectObject(dc, Calendar()->Font()->Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  DrawTextA(dc, "juin 2026", -1, &all, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  TPoint origin(title.Left, title.Top);
  ClientToScreen(Calendar()->Handle(), AsPOINT(&origin));
  // The header's edge runs along the title's top and bottom rows: the rows between are compared.
  int differing = 0;
  TWindowDC screen;
  for (int y = 2; y < title.Height() - 2; ++y)
    for (int x = 0; x < title.Width(); ++x)
      if (GetPixel(screen, origin.X + x, origin.Y + y) != GetPixel(dc, x, y)) ++differing;
  EXPECT_EQ(differing, 0);
  RECT w;
  GetWindowRect(Calendar()->Handle(), &w);
  TRect link = ScreenRectOf(Combo->GetLink(0));
  SaveScreenArea(TRect(link.Left - 4, link.Top - 4, std::max(link.Right, int(w.right)) + 4, w.bottom + 4),
                 "date-combo-open");
}

// Page Down from the 31st of January lands on the last day of February; Enter chooses it.
TEST_F(DateCombos, TheCalendarsKeysMoveTheSelectionAndEnterChoosesIt) {
  struct Case {
    TDateTime From;
    std::vector<WORD> Keys;
    TDateTime Chosen;
  };
  const Case cases[] = {
      {D(2026, 1, 31), {VK_NEXT}, D(2026, 2, 28)},
      {D(2028, 1, 31), {VK_NEXT}, D(2028, 2, 29)},
      {D(2026, 3, 31), {VK_PRIOR}, D(2026, 2, 28)},
      {D(2026, 12, 10), {VK_RIGHT, VK_DOWN}, D(2026, 12, 18)},
      {D(2026, 12, 10), {VK_HOME}, D(2026, 12, 7)},
      {D(2026, 12, 10), {VK_END}, D(2026, 12, 13)},
      {D(2026, 12, 10), {VK_LEFT, VK_UP}, D(2026, 12, 2)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(FormatDate(c.From));
    Combo->SetDate(c.From);
    Clicks.clear();
    ASSERT_TRUE(OpenCalendar());
    for (WORD key : c.Keys) Press(key);
    ASSERT_TRUE(WaitFor("the selection moved", [&] { return Calendar()->SelStart() == c.Chosen; }));
    Press(VK_RETURN);
    ASSERT_TRUE(Closed());
    EXPECT_EQ(Combo->Date(), c.Chosen);
    EXPECT_EQ(Clicks[Combo], 1);
  }
}

TEST_F(DateCombos, ADayClickedInTheCalendarIsChosenAndClearEmptiesTheText) {
  Combo->SetDate(D(2026, 12, 10));
  Clicks.clear();
  ASSERT_TRUE(OpenCalendar());
  ClickAt(ScreenCentre(Calendar()->DayRect(D(2026, 12, 24))));
  ASSERT_TRUE(Closed());
  EXPECT_EQ(Combo->Date(), D(2026, 12, 24));
  EXPECT_EQ(Clicks[Combo], 1);

  // The next-month arrow, then a day of January.
  ASSERT_TRUE(OpenCalendar());
  ClickAt(ScreenCentre(Calendar()->NextArrowRect()));
  ASSERT_TRUE(WaitFor("January shown", [&] { return Calendar()->FirstDate() == D(2027, 1, 1); }));
  ClickAt(ScreenCentre(Calendar()->DayRect(D(2027, 1, 6))));
  ASSERT_TRUE(Closed());
  EXPECT_EQ(Combo->Date(), D(2027, 1, 6));
  EXPECT_EQ(Clicks[Combo], 2);

  ASSERT_TRUE(OpenCalendar());
  ASSERT_FALSE(Calendar()->ClearButtonRect().IsEmpty());
  ClickAt(ScreenCentre(Calendar()->ClearButtonRect()));
  ASSERT_TRUE(Closed());
  EXPECT_EQ(Combo->Text(), "");
  EXPECT_EQ(Combo->Date(), NullDate);
  EXPECT_EQ(Clicks[Combo], 3);
}

// A press on the title opens the list of months, three before the calendar's: the month under the
// mouse when the button goes up is shown; nothing is chosen.
TEST_F(DateCombos, TheTitleOpensTheMonthListAndAMonthIsShownFromIt) {
  Combo->SetDate(D(2026, 6, 17));
  Clicks.clear();
  ASSERT_TRUE(OpenCalendar());
  TPoint title = ScreenCentre(Calendar()->TitleRect());
  AwaitNoDoubleClick(title);
  PressButton(title);
  ASSERT_TRUE(WaitFor("the month list shown", [&] {
    TAMonthListBox* list = Calendar()->MonthList();
    return list && list->HandleAllocated() && IsWindowVisible(list->Handle()) &&
           !GetUpdateRect(list->Handle(), nullptr, FALSE);
  }));
  TAMonthListBox* list = Calendar()->MonthList();
  EXPECT_EQ(list->TopDate(), D(2026, 3, 1));
  TRect row = list->RowRect(5);
  TPoint august((row.Left + row.Right) / 2, (row.Top + row.Bottom) / 2);
  ClientToScreen(list->Handle(), AsPOINT(&august));
  MoveMouseTo(august);
  ASSERT_TRUE(WaitFor("August selected", [&] { return list->SelectedRow() == 5; }));
  EXPECT_EQ(list->Value(), D(2026, 8, 1));
  RECT w, l;
  GetWindowRect(Calendar()->Handle(), &w);
  GetWindowRect(list->Handle(), &l);
  SaveScreenArea(TRect(std::min(w.left, l.left) - 4, std::min(w.top, l.top) - 4, std::max(w.right, l.right) + 4,
                       std::max(w.bottom, l.bottom) + 4),
                 "date-combo-month-list");
  ReleaseButton(august);
  ASSERT_TRUE(WaitFor("the list closed on August", [&] {
    return !Calendar()->MonthList() && Calendar()->FirstDate() == D(2026, 8, 1);
  }));
  EXPECT_EQ(Combo->Date(), D(2026, 6, 17));
  EXPECT_EQ(Clicks[Combo], 0);
  Press(VK_ESCAPE);
}

// Above or below the list the months scroll, faster the further the mouse is (at most one month
// every 50 ms, at speed 4).
TEST_F(DateCombos, TheMonthListScrollsFasterFurtherAway) {
  Combo->SetDate(D(2026, 6, 17));
  ASSERT_TRUE(OpenCalendar());
  TPoint title = ScreenCentre(Calendar()->TitleRect());
  AwaitNoDoubleClick(title);
  PressButton(title);
  ASSERT_TRUE(WaitFor("the month list shown", [&] { return Calendar()->MonthList() != nullptr; }));
  TAMonthListBox* list = Calendar()->MonthList();
  RECT r;
  GetWindowRect(list->Handle(), &r);
  POINT client = {0, 0};
  ClientToScreen(list->Handle(), &client);
  int x = (r.left + r.right) / 2;
  struct Case {
    int ScreenY, Speed;
  };
  const int top = client.y, bottom = client.y + list->ClientHeight();
  // 37 pixels above the list is the fastest speed already; the list lies lower on the screen.
  ASSERT_GE(top, 37);
  for (const Case& c : {Case{top - 5, -1}, Case{top - 30, -3}, Case{top - 37, -4}, Case{bottom + 12, 2}}) {
    SCOPED_TRACE(testing::Message() << "y " << c.ScreenY);
    MoveMouseTo(TPoint(x, c.ScreenY));
    ASSERT_TRUE(WaitFor("the speed set", [&] { return list->ScrollSpeed() == c.Speed; }));
    EXPECT_EQ(list->SelectedRow(), -1);
  }
  TDateTime before = list->TopDate();
  ASSERT_TRUE(WaitFor("later months shown", [&] { return list->TopDate() > before; }));
  MoveMouseTo(TPoint(x, top - 37));
  before = list->TopDate();
  ASSERT_TRUE(WaitFor("earlier months shown", [&] { return list->TopDate() < before; }));
  MoveMouseTo(title);
  ReleaseButton(title);
  ASSERT_TRUE(WaitFor("the list closed", [&] { return !Calendar()->MonthList(); }));
  Press(VK_ESCAPE);
}

// The controls of the running date dialog, by kind and caption.
template <class T>
T* DialogControl(TForm* Form, const String& Caption = String()) {
  for (int i = 0; i < Form->ComponentCount(); ++i) {
    auto* control = dynamic_cast<T*>(Form->Components(i));
    if (!control) continue;
    if (Caption.empty()) return control;
    if (auto* button = dynamic_cast<TButton*>(Form->Components(i)); button && button->Caption() == Caption)
      return control;
  }
  return nullptr;
}

// The combo's click opens the date dialog: its edit and calendar start with the combo's date and
// follow each other; OK takes the edit's date, Cancel nothing, Clear empties it.
TEST_F(DateCombos, AClickOpensTheDateDialog) {
  Combo->SetDate(D(2026, 12, 10));
  Clicks.clear();
  struct Seen {
    String EditText;
    TDateTime Calendar = 0, CalendarAfterTyping = 0, CalendarAfterClear = 0;
  } seen;
  Later([&] {
    TForm* form = Combo->DateDialog();
    if (!form) return;
    auto* edit = DialogControl<TEdit>(form);
    auto* calendar = DialogControl<TkwBarDateNavigator>(form);
    if (!edit || !calendar) {
      form->SetModalResult(mrCancel);
      return;
    }
    seen.EditText = edit->Text();
    seen.Calendar = calendar->SelStart();
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT w;
    GetWindowRect(form->Handle(), &w);
    SaveScreenArea(TRect(w.left, w.top, w.right, w.bottom), "date-combo-dialog");
    edit->SetText("24/12/2026");
    seen.CalendarAfterTyping = calendar->SelStart();
    form->SetModalResult(mrOk);
  });
  Combo->Click();
  EXPECT_EQ(seen.EditText, "jeu. 10/12/2026");
  EXPECT_EQ(seen.Calendar, D(2026, 12, 10));
  EXPECT_EQ(seen.CalendarAfterTyping, D(2026, 12, 24));
  EXPECT_EQ(Combo->Date(), D(2026, 12, 24));
  EXPECT_EQ(Clicks[Combo], 1);
  EXPECT_EQ(Combo->DateDialog(), nullptr) << "the dialog is freed";

  Later([&] {
    if (TForm* form = Combo->DateDialog()) {
      if (auto* edit = DialogControl<TEdit>(form)) edit->SetText("01/01/2027");
      form->SetModalResult(mrCancel);
    }
  });
  Combo->Click();
  EXPECT_EQ(Combo->Date(), D(2026, 12, 24));
  EXPECT_EQ(Clicks[Combo], 1);

  Later([&] {
    TForm* form = Combo->DateDialog();
    if (!form) return;
    auto* clear = DialogControl<TButton>(form, "Clear");
    auto* calendar = DialogControl<TkwBarDateNavigator>(form);
    if (!clear || !calendar) {
      form->SetModalResult(mrCancel);
      return;
    }
    clear->Click();
    seen.CalendarAfterClear = calendar->SelStart();
    form->SetModalResult(mrOk);
  });
  Combo->Click();
  EXPECT_EQ(seen.CalendarAfterClear, NullDate);
  EXPECT_EQ(Combo->Text(), "");
  EXPECT_EQ(Clicks[Combo], 2);
}

// Read from a form description, each item takes the date of its "date on start" once it is
// loaded: today, none, or the text read for a custom date. Written back, only a custom date keeps
// its text.
TEST_F(BarItemsTest, DateCombosTakeTheirDateOnStartWhenReadFromADescription) {
  RegisterBarManagerClasses();
  Form.reset(CreateForm<TForm>(nullptr));
  Manager = nullptr;
  Form->SetName("frmDates");
  ReadComponentFromText(Form.get(),
                        "object frmDates: TForm\n"
                        "  object kwBarManager1: TkwBarManager\n"
                        "    Categories = (\n"
                        "      'Default')\n"
                        "    object dcToday: TkwBarDateCombo\n"
                        "      Caption = 'Aujourd''hui'\n"
                        "      Category = 0\n"
                        "    end\n"
                        "    object dcCustom: TkwBarDateCombo\n"
                        "      Caption = 'Saisie'\n"
                        "      Category = 0\n"
                        "      DateOnStart = bdsCustom\n"
                        "      Text = '10.12.2026'\n"
                        "    end\n"
                        "    object dcNone: TkwBarDateCombo\n"
                        "      Caption = 'Vide'\n"
                        "      Category = 0\n"
                        "      DateOnStart = bdsNullDate\n"
                        "      ShowDayText = False\n"
                        "    end\n"
                        "  end\n"
                        "end\n",
                        "frmDates");
  auto* today = dynamic_cast<TkwBarDateCombo*>(Form->FindComponent("dcToday"));
  auto* custom = dynamic_cast<TkwBarDateCombo*>(Form->FindComponent("dcCustom"));
  auto* none = dynamic_cast<TkwBarDateCombo*>(Form->FindComponent("dcNone"));
  ASSERT_TRUE(today && custom && none);
  EXPECT_EQ(today->DateOnStart(), bdsToday);
  EXPECT_EQ(today->Date(), DayOfDate(Date()));
  EXPECT_EQ(custom->DateOnStart(), bdsCustom);
  EXPECT_EQ(custom->Text(), "jeu. 10/12/2026");
  EXPECT_EQ(none->Text(), "");
  EXPECT_EQ(none->Date(), NullDate);

  String text = WriteComponentToText(Form.get());
  String todayText = ObjectText(text, "dcToday"), customText = ObjectText(text, "dcCustom");
  ASSERT_FALSE(todayText.empty()) << text;
  EXPECT_EQ(todayText.find("Text ="), String::npos) << todayText;
  EXPECT_EQ(todayText.find("DateOnStart"), String::npos) << todayText;
  EXPECT_NE(customText.find("Text = 'jeu. 10/12/2026'"), String::npos) << customText;
  EXPECT_NE(ObjectText(text, "dcNone").find("ShowDayText = False"), String::npos) << text;
}

TEST_F(DateCombos, EscapeClosesTheCalendarAndKeepsTheDate) {
  Combo->SetDate(D(2026, 12, 10));
  Clicks.clear();
  ASSERT_TRUE(OpenCalendar());
  Press(VK_DOWN);
  ASSERT_TRUE(WaitFor("the selection moved", [&] { return Calendar()->SelStart() == D(2026, 12, 17); }));
  Press(VK_ESCAPE);
  ASSERT_TRUE(WaitFor("the calendar closed", [&] { return !IsWindowVisible(Calendar()->Handle()); }));
  Press(VK_ESCAPE);
  ASSERT_TRUE(Closed());
  EXPECT_EQ(Combo->Date(), D(2026, 12, 10));
  EXPECT_EQ(Clicks[Combo], 0);
}

}  // namespace
