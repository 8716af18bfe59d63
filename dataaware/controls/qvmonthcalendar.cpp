// This file implements the month calendar (see qvmonthcalendar.h).
#include "qvmonthcalendar.h"

#include <algorithm>
#include <cmath>

#include "DateTimeFormat.h"
#include "Dialogs.h"
#include "FormatSettings.h"
#include "Forms.h"
#include "Messages.h"
#include "Qvintl.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "qvControlUtils.h"

#include <commctrl.h>

VELBOR_IMPLEMENT_CLASS(TqvMonthCalendar)
VELBOR_IMPLEMENT_CLASS(TCalendarPopupMenu)
VELBOR_IMPLEMENT_CLASS(TqvPopupYearOptions)
VELBOR_IMPLEMENT_CLASS(TqvDateTimeColors)
VELBOR_PUBLISHED(TqvDateTimeColors,
  Prop("TextColor", &Self::TextColor, &Self::SetTextColor).Idents(ColorIdents).Default(clWindowText),
  Prop("TitleBackColor", &Self::TitleBackColor, &Self::SetTitleBackColor).Idents(ColorIdents).Default(clActiveCaption),
  Prop("TitleTextColor", &Self::TitleTextColor, &Self::SetTitleTextColor).Idents(ColorIdents).Default(clWhite),
  Prop("MonthBackColor", &Self::MonthBackColor, &Self::SetMonthBackColor).Idents(ColorIdents).Default(clWhite),
  Prop("TrailingTextColor", &Self::TrailingTextColor, &Self::SetTrailingTextColor).Idents(ColorIdents)
      .Default(clInactiveCaptionText))
VELBOR_PUBLISHED(TqvMonthCalendar,
  Prop("CalColors", &Self::CalColors, &Self::SetCalColors),
  Prop("MaxSelectCount", &Self::MaxSelectCount, &Self::SetMaxSelectCount).Default(31),
  Prop("PopupYearOptions", &Self::PopupYearOptions, &Self::SetPopupYearOptions),
  Prop("BorderStyle", &Self::BorderStyle, &Self::SetBorderStyle).Default(bsNone),
  Prop("Date", &Self::Date, &Self::SetDate),
  Prop("Time", &Self::DateTime, &Self::SetTime),
  Prop("Options", &Self::Options, &Self::SetOptions).Default(TqvMonthOptions{mdoDayState}),
  Prop("FirstDayOfWeek", &Self::FirstDayOfWeek, &Self::SetFirstDayOfWeek).Default(qvdowLocaleDefault),
  Prop("MaxDate", &Self::MaxDate, &Self::SetMaxDate),
  Prop("MinDate", &Self::MinDate, &Self::SetMinDate),
  Prop("OnCalcBoldDay", &Self::OnCalcBoldDay),
  Prop("OnChange", &Self::OnChange))
VELBOR_PUBLISHED(TqvPopupYearOptions,
  Prop("YearsPerColumn", &Self::YearsPerColumn).Default(10),
  Prop("NumberColumns", &Self::NumberColumns).Default(2),
  Prop("StartYear", &Self::StartYear).Default(1990),
  Prop("ShowEditYear", &Self::ShowEditYear).Default(false))

namespace {

void InitDateClasses() {
  static bool Done = false;
  if (Done) return;
  INITCOMMONCONTROLSEX Classes{};
  Classes.dwSize = sizeof(Classes);
  Classes.dwICC = ICC_DATE_CLASSES;
  Done = InitCommonControlsEx(&Classes) != FALSE;
}

// The day of a hit, 0 when the hit is on no day.
int HitDay(const MCHITTESTINFO& Hit) { return Hit.st.wDay >= 1 && Hit.st.wDay <= 32 ? Hit.st.wDay : 0; }

SYSTEMTIME ToSystemTime(TDateTime Value) {
  int Year = 0, Month = 0, Day = 0;
  DecodeDate(Value, Year, Month, Day);
  SYSTEMTIME T{};
  T.wYear = WORD(Year);
  T.wMonth = WORD(Month);
  T.wDay = WORD(Day);
  T.wDayOfWeek = WORD(DayOfWeek(Value) - 1);
  return T;
}

TDateTime FromSystemTime(const SYSTEMTIME& T) {
  TDateTime D = 0;
  if (!TryEncodeDate(T.wYear, T.wMonth, T.wDay, D)) return 0;
  return D;
}

// The day with the time of day of Time, with the sign convention of dates before 1899-12-30.
TDateTime WithTimeOf(TDateTime Day, TDateTime Time) {
  double Fraction = std::fabs(Time - std::trunc(Time));
  return Day < 0 ? Day - Fraction : Day + Fraction;
}

TDateTime WholeDay(TDateTime Value) { return std::trunc(Value); }

}  // namespace

// A hit on a day of a month (not its week-day header, nor a week number).
bool qvIsDateHit(UINT Hit) { return (Hit & MCHT_CALENDAR) == MCHT_CALENDAR && (Hit & 0xFFFF) == 1; }

namespace {

}  // namespace

void qvRaiseAboveMaximum(TDateTime Limit) {
  throw EDateTimeError("La date dépasse le maximum de "_a + DateToStr(Limit));
}

void qvRaiseBelowMinimum(TDateTime Limit) {
  throw EDateTimeError("La date est inférieure au minimum de "_a + DateToStr(Limit));
}

void TqvPopupYearOptions::Assign(TPersistent* Source) {
  if (auto* From = dynamic_cast<TqvPopupYearOptions*>(Source)) {
    YearsPerColumn = From->YearsPerColumn;
    NumberColumns = From->NumberColumns;
    StartYear = From->StartYear;
    ShowEditYear = From->ShowEditYear;
    return;
  }
  TPersistent::Assign(Source);
}

TqvDateTimeColors::TqvDateTimeColors(TControl* AOwner)
    : FOwner(AOwner),
      FColors{clWindow, clWindowText, clActiveCaption, clWhite, clWhite, clInactiveCaptionText} {}

void TqvDateTimeColors::Send(int Index) {
  auto* Calendar = dynamic_cast<TqvMonthCalendar*>(FOwner);
  if (Calendar == nullptr) return;
  // A calendar without a parent gets its colours when its window is made.
  if (!Calendar->HandleAllocated() && Calendar->Parent() == nullptr) return;
  SendMessageA(Calendar->Handle(), MCM_SETCOLOR, WPARAM(Index), LPARAM(ColorToRGB(FColors[Index])));
}

void TqvDateTimeColors::SetColor(int Index, TColor Value) {
  if (Index < 0 || Index >= ColorCount) return;
  FColors[Index] = Value;
  Send(Index);
}

void TqvDateTimeColors::ApplyColors() {
  for (int Index = 0; Index < ColorCount; ++Index) Send(Index);
}

void TqvDateTimeColors::Assign(TPersistent* Source) {
  if (auto* From = dynamic_cast<TqvDateTimeColors*>(Source)) {
    for (int Index = TextIndex; Index < ColorCount; ++Index) SetColor(Index, From->FColors[Index]);
    return;
  }
  String Name = Source != nullptr ? Source->ClassName() : String("nil");
  throw EConvertError("Impossible d'affecter "_a + Name + " à "_a + ClassName());
}

void TCalendarPopupMenu::Popup(int X, int Y) {
  FShowing = true;
  FPressWindow = nullptr;
  TScopeGuard Done([&] { FShowing = false; });
  TPopupMenu::Popup(X, Y);
  // A press that closed the menu is left in the queue for the window under it: looked at while
  // the menu still counts as showing, the mouse hooks of the thread see it as such.
  MSG Pending{};
  if (PeekMessageA(&Pending, nullptr, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, PM_NOREMOVE | PM_NOYIELD))
    FPressWindow = Pending.hwnd;
  PeekMessageA(&Pending, nullptr, WM_NCLBUTTONDOWN, WM_NCLBUTTONDBLCLK, PM_NOREMOVE | PM_NOYIELD);
}

TqvMonthCalendar::TqvMonthCalendar(TComponent* AOwner)
    : TWinControl(AOwner), FDateTime(Now()), FCalColors(new TqvDateTimeColors(this)),
      FPopupYearOptions(new TqvPopupYearOptions) {
  InitDateClasses();
  ControlStyle.Include(csClickEvents);
  ControlStyle.Include(csOpaque);
  ControlStyle.Include(csDoubleClicks);
  ControlStyle.Include(csFixedHeight);
  SetColor(clWindow);
  SetParentColor(false);
  SetTabStop(true);
  TWinControl::SetBounds(Left(), Top(), 155, Height());
  FOptions.Include(mdoDayState);
  FMonthMenu = new TCalendarPopupMenu(this);
  FMonthMenu->Alignment = paRight;
  for (int Month = 1; Month <= 12; ++Month) {
    auto* Item = new TMenuItem(FMonthMenu);
    Item->SetCaption(FormatSettings.LongMonthNames[Month - 1]);
    Item->Tag = Month;
    Item->OnClick = TNotifyEvent(this, &TqvMonthCalendar::MonthMenuClick);
    FMonthMenu->Items()->Add(Item);
  }
}

TqvMonthCalendar::~TqvMonthCalendar() {
  delete FCalColors;
  FCalColors = nullptr;
  delete FPopupYearOptions;
  FPopupYearOptions = nullptr;
}

bool TqvMonthCalendar::IsPopupMenuShowing() const {
  return FMonthMenu->Showing() || (FYearMenu != nullptr && FYearMenu->Showing());
}

// --- Title menus ----------------------------------------------------------------------------------

bool TqvMonthCalendar::YearAllowed(int Year) const {
  if (Year < 1 || Year > 9999) return false;
  int Y = 0, Month = 0, Day = 0;
  DecodeDate(FDateTime, Y, Month, Day);
  TDateTime D = EncodeDate(Year, Month, std::min(Day, DaysInAMonth(Year, Month)));
  return !OutsideLimits(D);
}

void TqvMonthCalendar::MoveToYear(int Year) {
  int Y = 0, Month = 0, Day = 0;
  DecodeDate(FDateTime, Y, Month, Day);
  if (Year == Y) return;
  SetDate(EncodeDate(Year, Month, std::min(Day, DaysInAMonth(Year, Month))));
  Change();
}

void TqvMonthCalendar::OpenMonthMenu(POINT At, const SYSTEMTIME& Hit) {
  FHitYear = Hit.wYear;
  FHitMonth = Hit.wMonth;
  int Y = 0, Month = 0, Day = 0;
  DecodeDate(FDateTime, Y, Month, Day);
  for (int i = 0; i < FMonthMenu->Items()->Count(); ++i) {
    TMenuItem* Item = FMonthMenu->Items()->Items(i);
    int M = Item->Tag;
    Item->SetChecked(M == FHitMonth);
    Item->SetEnabled(!OutsideLimits(EncodeDate(FHitYear, M, std::min(Day, DaysInAMonth(FHitYear, M)))));
  }
  TPoint Screen_ = ClientToScreen(TPoint(At.x, At.y));
  FMonthMenu->Popup(Screen_.X, Screen_.Y);
}

void TqvMonthCalendar::OpenYearMenu(POINT At, const SYSTEMTIME& Hit) {
  FHitYear = Hit.wYear;
  FHitMonth = Hit.wMonth;
  if (FYearMenu == nullptr) FYearMenu = new TCalendarPopupMenu(this);
  FYearMenu->Items()->Clear();
  TNotifyEvent Click(this, &TqvMonthCalendar::YearMenuClick);
  const TqvPopupYearOptions& Options = *FPopupYearOptions;
  if (Options.ShowEditYear) {
    auto* Edit = new TMenuItem(FYearMenu);
    Edit->SetCaption(qvIntl != nullptr ? qvIntl->MonthCalendar()->PopupYearLabel : String("Edit Year"));
    Edit->Tag = 0;
    Edit->OnClick = Click;
    FYearMenu->Items()->Add(Edit);
    auto* Line = new TMenuItem(FYearMenu);
    Line->SetCaption("-");
    FYearMenu->Items()->Add(Line);
  }
  int PerColumn = std::max(1, Options.YearsPerColumn);
  int Count = PerColumn * std::max(1, Options.NumberColumns);
  for (int i = 0; i < Count; ++i) {
    int Year = Options.StartYear + i;
    auto* Item = new TMenuItem(FYearMenu);
    Item->SetCaption(std::to_string(Year));
    Item->Tag = Year;
    Item->SetChecked(Year == FHitYear);
    Item->SetEnabled(YearAllowed(Year));
    if ((i != 0 && i % PerColumn == 0) || (i == 0 && Options.ShowEditYear && PerColumn != 1))
      Item->SetBreak(mbBarBreak);
    Item->OnClick = Click;
    FYearMenu->Items()->Add(Item);
  }
  TPoint Screen_ = ClientToScreen(TPoint(At.x, At.y));
  // The edit item stands in a column of its own, left of the year.
  if (Options.ShowEditYear && Options.YearsPerColumn != 1) Screen_.X -= EditYearIndent();
  FYearMenu->Popup(Screen_.X, Screen_.Y);
}

int TqvMonthCalendar::EditYearIndent() {
  TCustomForm* Form = GetParentForm(this);
  String Caption = FYearMenu->Items()->Items(0)->Caption();
  HDC DC = GetDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, Form != nullptr ? Form->Font()->Handle() : Font()->Handle());
  SIZE Size{};
  GetTextExtentPoint32A(DC, Caption.c_str(), int(Caption.size()), &Size);
  SelectObject(DC, Old);
  ReleaseDC(nullptr, DC);
  int Ppi = Form != nullptr ? Form->PixelsPerInch : 96;
  return Size.cx + 45 * Ppi / 96;
}

void TqvMonthCalendar::MonthMenuClick(TObject* Sender) {
  ClearMenuFlags();
  int M = static_cast<TMenuItem*>(Sender)->Tag;
  if (M == FHitMonth) return;
  int Y = 0, Month = 0, Day = 0;
  DecodeDate(FDateTime, Y, Month, Day);
  SetClampedDate(EncodeDate(FHitYear, M, std::min(Day, DaysInAMonth(FHitYear, M))));
  Change();
}

void TqvMonthCalendar::YearMenuClick(TObject* Sender) {
  ClearMenuFlags();
  int Year = static_cast<TMenuItem*>(Sender)->Tag;
  if (Year == 0) {
    AskYear();
    return;
  }
  if (YearAllowed(Year)) MoveToYear(Year);
}

// The question ends on an admissible year or on Cancel; with no admissible year it is not asked.
bool TqvMonthCalendar::AskYear() {
  int Y = 0, Month = 0, Day = 0;
  DecodeDate(FDateTime, Y, Month, Day);
  int Low = 0, High = 0;
  if (FMinDate != 0) {
    int MinY = 0, MinM = 0, MinD = 0;
    DecodeDate(FMinDate, MinY, MinM, MinD);
    Low = (Month < MinM || (Month == MinM && Day < MinD)) ? MinY + 1 : MinY;
  }
  if (FMaxDate != 0) {
    int MaxY = 0, MaxM = 0, MaxD = 0;
    DecodeDate(FMaxDate, MaxY, MaxM, MaxD);
    High = (MaxM < Month || (MaxM == Month && MaxD < Day)) ? MaxY - 1 : MaxY;
  }
  if (Low != 0 && High != 0 && Low > High) {
    MessageBeep(0);
    return false;
  }
  String Prompt = qvIntl != nullptr ? qvIntl->MonthCalendar()->EnterYearPrompt : String("Enter Valid Year");
  String Caption = Prompt, Question = " ";
  if (Low != 0 && High != 0) {
    Caption = Prompt + " (" + std::to_string(Low) + "-" + std::to_string(High) + ")";
    Question = String();
  } else if (Low != 0) {
    Caption = Prompt + " (>=" + std::to_string(Low) + ")";
    Question = "Enter New Year:";
  } else if (High != 0) {
    Caption = Prompt + " (<=" + std::to_string(High) + ")";
    Question = "Enter New Year:";
  }
  int Default = FHitYear != 0 ? FHitYear : Y;
  if (High != 0 && Default > High) Default = High;
  if (Low != 0 && Default < Low) Default = Low;
  for (;;) {
    String Answer = std::to_string(Default);
    if (!InputQuery(Caption, Question, Answer)) return false;
    int Year = 0;
    if (TryStrToInt(Answer, Year) && YearAllowed(Year)) {
      MoveToYear(Year);
      return true;
    }
  }
}

// --- Date and limits ---------------------------------------------------------------------------

bool TqvMonthCalendar::OutsideLimits(TDateTime Day) const {
  Day = WholeDay(Day);
  return (FMaxDate != 0 && Day > WholeDay(FMaxDate)) || (FMinDate != 0 && Day < WholeDay(FMinDate));
}

void TqvMonthCalendar::SetDate(TDateTime Value) {
  if (WholeDay(Value) == WholeDay(FDateTime) && Value != 0) return;
  TDateTime New = WithTimeOf(WholeDay(Value), FDateTime);
  if (New == 0) {
    Invalidate();
    return;
  }
  // The limits are days: the new day is compared with them, its time of day aside.
  if (FMaxDate != 0 && WholeDay(New) > WholeDay(FMaxDate)) qvRaiseAboveMaximum(FMaxDate);
  if (FMinDate != 0 && WholeDay(New) < WholeDay(FMinDate)) qvRaiseBelowMinimum(FMinDate);
  ApplyDate(New);
}

void TqvMonthCalendar::SetTime(TDateTime Value) {
  TDateTime New = WithTimeOf(WholeDay(FDateTime), Value);
  if (New == FDateTime) return;
  if (New == 0) Invalidate();
  else ApplyDate(New);
}

void TqvMonthCalendar::SetMinDate(TDateTime Value) {
  if (Value != 0 && FMaxDate != 0 && WholeDay(Value) > WholeDay(FMaxDate)) qvRaiseAboveMaximum(FMaxDate);
  if (Value == FMinDate) return;
  FMinDate = Value;
  SetRange(FMaxDate, FMinDate);
}

void TqvMonthCalendar::SetMaxDate(TDateTime Value) {
  if (Value != 0 && FMinDate != 0 && WholeDay(Value) < WholeDay(FMinDate)) qvRaiseBelowMinimum(FMinDate);
  if (Value == FMaxDate) return;
  FMaxDate = Value;
  SetRange(FMaxDate, FMinDate);
}

void TqvMonthCalendar::SetBorderStyle(TBorderStyle Value) {
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TqvMonthCalendar::Loaded() {
  TWinControl::Loaded();
  if (HandleAllocated()) RecreateWnd();
}

void TqvMonthCalendar::SetOptions(TqvMonthOptions Value) {
  if (Value == FOptions) return;
  FOptions = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TqvMonthCalendar::ApplyDate(TDateTime D) {
  if (FMaxDate != 0 && WholeDay(D) > WholeDay(FMaxDate)) D = WithTimeOf(WholeDay(FMaxDate), D);
  else if (FMinDate != 0 && WholeDay(D) < WholeDay(FMinDate)) D = WithTimeOf(WholeDay(FMinDate), D);
  else if (FMinDate == 0 && WholeDay(D) < 0) D = EncodeDate(1899, 12, 31);
  if (MultiSelect()) FSelStart = FSelEnd = WholeDay(D);
  SelectDay(D);
}

void TqvMonthCalendar::SelectDay(TDateTime D) {
  if (!HandleAllocated()) {
    FDateTime = D;
    return;
  }
  SYSTEMTIME T[2] = {ToSystemTime(D), ToSystemTime(D)};
  // A multi-select control takes a range only: the day is a range of one.
  UINT Msg = MultiSelect() ? MCM_SETSELRANGE : MCM_SETCURSEL;
  if (SendMessageA(FHandle, Msg, 0, LPARAM(T)) != 0) FDateTime = D;
  RefreshDayStates();
}

// The control asks for the bold days of the months it shows only when it scrolls them itself: the
// calendar gives them whenever the day it selects may have brought other months into view.
void TqvMonthCalendar::RefreshDayStates() {
  if (!HandleAllocated() || !FOptions.Contains(mdoDayState) || ComponentState().Contains(csLoading)) return;
  SYSTEMTIME Range[2] = {};
  int Count = int(SendMessageA(FHandle, MCM_GETMONTHRANGE, GMR_DAYSTATE, LPARAM(Range)));
  if (Count <= 0 || Count > 14) return;
  NMDAYSTATE Request{};
  Request.stStart = Range[0];
  Request.cDayState = Count;
  FillDayStates(&Request);
  SendMessageA(FHandle, MCM_SETDAYSTATE, WPARAM(Count), LPARAM(FDayStates));
}

bool TqvMonthCalendar::SetSelRange(TDateTime End, TDateTime Start) {
  if (!MultiSelect()) return false;
  End = WholeDay(End);
  Start = WholeDay(Start);
  if (End < Start) std::swap(End, Start);
  bool Accepted = true;
  if (HandleAllocated()) {
    SYSTEMTIME Range[2] = {ToSystemTime(Start), ToSystemTime(End)};
    Accepted = SendMessageA(FHandle, MCM_SETSELRANGE, 0, LPARAM(Range)) != 0;
  }
  // The control keeps its range when it refuses one: so do the stored ends.
  if (Accepted) {
    FSelStart = Start;
    FSelEnd = End;
  }
  return Accepted;
}

void TqvMonthCalendar::SetSelStart(TDateTime Value) {
  Value = WholeDay(Value);
  if (Value == 0) {
    Invalidate();
    return;
  }
  if (FMaxDate != 0 && Value > WholeDay(FMaxDate)) {
    FSelStart = WholeDay(FMaxDate);
    qvRaiseAboveMaximum(FMaxDate);
  }
  if (FMinDate != 0 && Value < WholeDay(FMinDate)) {
    FSelStart = WholeDay(FMinDate);
    qvRaiseBelowMinimum(FMinDate);
  }
  FSelStart = Value;
  if (FSelEnd != 0 && FSelEnd != Value) SetSelRange(FSelEnd, Value);
}

void TqvMonthCalendar::SetSelEnd(TDateTime Value) {
  Value = WholeDay(Value);
  if (Value == 0) {
    Invalidate();
    return;
  }
  if (FMaxDate != 0 && Value > WholeDay(FMaxDate)) {
    FSelEnd = WholeDay(FMaxDate);
    qvRaiseAboveMaximum(FMaxDate);
  }
  if (FMinDate != 0 && Value < WholeDay(FMinDate)) {
    FSelEnd = WholeDay(FMinDate);
    qvRaiseBelowMinimum(FMinDate);
  }
  FSelEnd = Value;
  if (FSelStart != 0 && FSelStart != Value) SetSelRange(Value, FSelStart);
}

void TqvMonthCalendar::SetMaxSelectCount(int Value) {
  if (Value == FMaxSelectCount) return;
  FMaxSelectCount = Value;
  if (HandleAllocated()) SendMessageA(FHandle, MCM_SETMAXSELCOUNT, WPARAM(Value), 0);
}

void TqvMonthCalendar::SetWidth(int Value) {
  if (Value == Width()) return;
  if (HandleAllocated()) Value = std::max(Value, MinimumSize().cx);
  SetBounds(Left(), Top(), Value, Height());
  if (HandleAllocated() && !ComponentState().Contains(csDesigning)) RecreateWnd();
}

void TqvMonthCalendar::SetHeight(int Value) {
  if (Value == Height()) return;
  if (HandleAllocated()) Value = std::max(Value, MinimumSize().cy);
  SetBounds(Left(), Top(), Width(), Value);
  if (HandleAllocated() && !ComponentState().Contains(csDesigning)) RecreateWnd();
}

void TqvMonthCalendar::AdjustToMinSize() {
  if (!HandleAllocated()) return;
  TSize Min = MinimumSize();
  if (Width() < Min.cx || Height() < Min.cy)
    SetBounds(Left(), Top(), std::max(Width(), Min.cx), std::max(Height(), Min.cy));
}

void TqvMonthCalendar::SetRange(TDateTime Max, TDateTime Min) {
  if (!HandleAllocated() || (Max == 0 && Min == 0)) return;
  SYSTEMTIME Range[2] = {};
  WPARAM Flags = 0;
  if (Min != 0) {
    Range[0] = ToSystemTime(Min);
    Flags |= GDTR_MIN;
  }
  if (Max != 0) {
    Range[1] = ToSystemTime(Max);
    Flags |= GDTR_MAX;
  }
  SendMessageA(FHandle, MCM_SETRANGE, Flags, LPARAM(Range));
}

TSize TqvMonthCalendar::MinimumSize() {
  RECT R{};
  HandleNeeded();
  SendMessageA(FHandle, MCM_GETMINREQRECT, 0, LPARAM(&R));
  return TSize{R.right - R.left, R.bottom - R.top};
}

void TqvMonthCalendar::VisibleMonths(TDateTime& First, TDateTime& Last) {
  SYSTEMTIME Range[2] = {};
  SendMessageA(Handle(), MCM_GETMONTHRANGE, GMR_VISIBLE, LPARAM(Range));
  First = FromSystemTime(Range[0]);
  Last = FromSystemTime(Range[1]);
}

void TqvMonthCalendar::SetClampedDate(TDateTime Day) {
  if (FMaxDate != 0 && WholeDay(Day) > WholeDay(FMaxDate)) Day = FMaxDate;
  else if (FMinDate != 0 && WholeDay(Day) < WholeDay(FMinDate)) Day = FMinDate;
  SetDate(Day);
}

void TqvMonthCalendar::Change() {
  if (OnChange) OnChange(this);
}

void TqvMonthCalendar::FocusCalendar() {
  if (Visible() && CanFocus()) SetFocus();
}

// --- Title arrows and keys ----------------------------------------------------------------------

// The arrows stop at the limits with a beep: the month on view never passes them.
void TqvMonthCalendar::ScrollByArrow(bool Next) {
  TDateTime First = 0, Last = 0;
  VisibleMonths(First, Last);
  int Delta = int(SendMessageA(FHandle, MCM_GETMONTHDELTA, 0, 0));
  if (Delta <= 0) Delta = 1;
  int Year = 0, Month = 0, Day = 0;
  DecodeDate(FDateTime, Year, Month, Day);
  int TargetYear = 0, TargetMonth = 0, Unused = 0;
  DecodeDate(Next ? Last : First, TargetYear, TargetMonth, Unused);
  TargetMonth += Next ? Delta : -Delta;
  while (TargetMonth < 1) {
    TargetMonth += 12;
    --TargetYear;
  }
  while (TargetMonth > 12) {
    TargetMonth -= 12;
    ++TargetYear;
  }
  if (TargetYear > 9999 || TargetYear < 1) {
    MessageBeep(0);
    return;
  }
  TDateTime Target = EncodeDate(TargetYear, TargetMonth, std::min(Day, DaysInAMonth(TargetYear, TargetMonth)));
  if (OutsideLimits(Target)) MessageBeep(0);
  SetClampedDate(Target);
  Change();
}

bool TqvMonthCalendar::HandleKey(WORD Key, TShiftState Shift) {
  if (Key != VK_PRIOR && Key != VK_NEXT && Key != VK_LEFT && Key != VK_RIGHT && Key != VK_UP && Key != VK_DOWN)
    return false;
  ClearMenuFlags();
  bool Range = MultiSelect() && FSelStart != 0 && FSelEnd != 0 && FSelStart != FSelEnd;
  // Months do not step a range of several days.
  if (Range && (Key == VK_PRIOR || Key == VK_NEXT)) return true;
  if (MultiSelect() && Shift.Contains(ssShift) && Key != VK_PRIOR && Key != VK_NEXT) {
    ExtendRange(Key == VK_LEFT ? -1 : Key == VK_RIGHT ? 1 : Key == VK_UP ? -7 : 7);
    Change();
    return true;
  }
  TDateTime Current = WholeDay(FDateTime);
  TDateTime Target = Current;
  switch (Key) {
    case VK_PRIOR: Target = std::trunc(IncMonth(Current, -1)); break;
    case VK_NEXT: Target = std::trunc(IncMonth(Current, 1)); break;
    case VK_LEFT: Target = Current - 1; break;
    case VK_RIGHT: Target = Current + 1; break;
    case VK_UP: Target = Current - 7; break;
    case VK_DOWN: Target = Current + 7; break;
  }
  // A step that would leave the limits stops on the limit.
  SetClampedDate(Target);
  Change();
  return true;
}

// The day the calendar is on stays one end of the range; the other end moves, and never past a
// limit or beyond the longest range the calendar allows.
void TqvMonthCalendar::ExtendRange(int Days) {
  TDateTime Anchor = WholeDay(FDateTime);
  if (FSelStart == 0 || FSelEnd == 0) FSelStart = FSelEnd = Anchor;
  TDateTime Moved = 0;
  if (Anchor < FSelEnd) Moved = FSelEnd + Days;
  else Moved = FSelStart + Days;
  if (FMaxDate != 0 && Moved > WholeDay(FMaxDate)) Moved = WholeDay(FMaxDate);
  if (FMinDate != 0 && Moved < WholeDay(FMinDate)) Moved = WholeDay(FMinDate);
  if (std::fabs(Moved - Anchor) + 1 > FMaxSelectCount) {
    MessageBeep(0);
    return;
  }
  SetSelRange(Moved, Anchor);
}

void TqvMonthCalendar::KeyDown(WORD& Key, TShiftState Shift) {
  TWinControl::KeyDown(Key, Shift);
  if (Key != 0 && !Shift.Contains(ssCtrl) && HandleKey(Key, Shift)) Key = 0;
}

int qvFirstDayIndex(TqvCalDayOfWeek Value) {
  if (Value != qvdowLocaleDefault) return int(Value);
  char Digit[8] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IFIRSTDAYOFWEEK, Digit, sizeof(Digit)) == 0) return 0;
  int Index = Digit[0] - '0';
  return Index >= 0 && Index <= 6 ? Index : 0;
}

void TqvMonthCalendar::SetFirstDayOfWeek(TqvCalDayOfWeek Value) {
  // A window made later gets it when it is made.
  if (HandleAllocated()) SendMessageA(FHandle, MCM_SETFIRSTDAYOFWEEK, 0, qvFirstDayIndex(Value));
  FFirstDayOfWeek = Value;
}

// --- Window ---------------------------------------------------------------------------------------

void TqvMonthCalendar::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, MONTHCAL_CLASSA);
  if (FOptions.Contains(mdoDayState)) Params.Style |= MCS_DAYSTATE;
  if (FOptions.Contains(mdoMultiSelect)) Params.Style |= MCS_MULTISELECT;
  if (FOptions.Contains(mdoWeekNumbers)) Params.Style |= MCS_WEEKNUMBERS;
  if (FOptions.Contains(mdoNoTodayCircle)) Params.Style |= MCS_NOTODAYCIRCLE;
  if (FOptions.Contains(mdoNoToday)) Params.Style |= MCS_NOTODAY;
  if (FBorderStyle == bsSingle) Params.Style |= WS_BORDER;
  Params.WindowClass.style = (Params.WindowClass.style & ~UINT(CS_HREDRAW | CS_VREDRAW)) | CS_DBLCLKS;
}

void TqvMonthCalendar::CreateWnd() {
  TWinControl::CreateWnd();
  SetRange(FMaxDate, FMinDate);
  if (MultiSelect()) {
    SendMessageA(FHandle, MCM_SETMAXSELCOUNT, WPARAM(FMaxSelectCount), 0);
    if (FSelStart != 0 && FSelEnd != 0) {
      TDateTime Start = FSelStart, End = FSelEnd;
      SetSelRange(End, Start);
    } else {
      ApplyDate(FDateTime);
    }
  } else {
    ApplyDate(FDateTime);
  }
  FCalColors->ApplyColors();
  SendMessageA(FHandle, MCM_SETFIRSTDAYOFWEEK, 0, qvFirstDayIndex(FFirstDayOfWeek));
  AdjustToMinSize();
}

void TqvMonthCalendar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_NOTIFY: CNNotify(Message); break;
    case CN_KEYDOWN: CNKeyDown(Message); break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: WMLButtonDown(Message); break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP: WMMouseMoveOrUp(Message); break;
    case CM_COLORCHANGED: CMColorChanged(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case CM_SHOWINGCHANGED:
      TWinControl::Dispatch(Message);
      ClearMenuFlags();
      break;
    default: TWinControl::Dispatch(Message); break;
  }
}

void TqvMonthCalendar::CMColorChanged(TMessage& Message) {
  TWinControl::Dispatch(Message);
  if (HandleAllocated()) InvalidateRect(FHandle, nullptr, TRUE);
}

void TqvMonthCalendar::CMFontChanged(TMessage& Message) {
  TWinControl::Dispatch(Message);
  AdjustToMinSize();
  if (HandleAllocated()) InvalidateRect(FHandle, nullptr, TRUE);
}

void TqvMonthCalendar::FillDayStates(NMDAYSTATE* Request) {
  int Count = std::min(int(Request->cDayState), 14);
  for (int i = 0; i < Count; ++i) {
    int Month = Request->stStart.wMonth + i;
    int Year = Request->stStart.wYear + (Month - 1) / 12;
    Month = (Month - 1) % 12 + 1;
    MONTHDAYSTATE State = 0;
    if (OnCalcBoldDay && Year < 10000) {
      for (int Day = 1; Day <= DaysInAMonth(Year, Month); ++Day) {
        bool Accept = false;
        OnCalcBoldDay(this, EncodeDate(Year, Month, Day), Month, Day, Year, Accept);
        if (Accept) State |= MONTHDAYSTATE(1) << (Day - 1);
      }
    }
    FDayStates[i] = State;
  }
  Request->prgDayState = FDayStates;
}

void TqvMonthCalendar::CNNotify(TMessage& Message) {
  auto* Header = reinterpret_cast<NMHDR*>(Message.LParam);
  switch (Header->code) {
    case MCN_SELCHANGE: {
      auto* Change_ = reinterpret_cast<NMSELCHANGE*>(Message.LParam);
      TDateTime Start = FromSystemTime(Change_->stSelStart);
      if (Start == 0) break;
      TDateTime OldStart = FSelStart, OldEnd = FSelEnd;
      // A range that would start before the minimum starts on it.
      if (FMinDate != 0 && Start < WholeDay(FMinDate)) Start = WholeDay(FMinDate);
      if (MultiSelect()) {
        TDateTime End = FromSystemTime(Change_->stSelEnd);
        if (End == 0) End = Start;
        if (FMaxDate != 0 && End > WholeDay(FMaxDate)) End = WholeDay(FMaxDate);
        if (End < Start) End = Start;
        if (Start != OldStart || End != OldEnd) {
          FSelStart = Start;
          FSelEnd = End;
          FSelectionChanged = true;
        }
      } else {
        FSelStart = FSelEnd = Start;
      }
      if (FSelStart == FSelEnd && FSelStart != WholeDay(FDateTime)) {
        SetClampedDate(FSelStart);
        Change();
      }
      break;
    }
    case MCN_GETDAYSTATE:
      if (!ComponentState().Contains(csLoading)) FillDayStates(reinterpret_cast<NMDAYSTATE*>(Message.LParam));
      break;
    default: TWinControl::Dispatch(Message); break;
  }
}

void TqvMonthCalendar::CNKeyDown(TMessage& Message) {
  WORD Key = WORD(Message.WParam);
  bool Ctrl = GetKeyState(VK_CONTROL) < 0;
  bool Arrow = Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN;
  bool Ours = (!Ctrl && (Arrow || Key == VK_PRIOR || Key == VK_NEXT)) ||
              (Ctrl && Arrow && Parent() != nullptr && qvIsInGrid(this));
  // These keys move the calendar rather than the focus.
  if (Ours) Message.Result = 0;
  else TWinControl::Dispatch(Message);
}

void TqvMonthCalendar::WMLButtonDown(TMessage& Message) {
  FYearMenuWasShowing = FYearMenu != nullptr && FYearMenu->Showing();
  FMonthMenuWasShowing = FMonthMenu->Showing();
  MCHITTESTINFO Hit{};
  Hit.cbSize = sizeof(Hit);
  Hit.pt.x = short(LOWORD(Message.LParam));
  Hit.pt.y = short(HIWORD(Message.LParam));
  SendMessageA(FHandle, MCM_HITTEST, 0, LPARAM(&Hit));
  if (OnMouseDown) {
    try {
      OnMouseDown(this, mbLeft, MouseKeysToShiftState(Message.WParam), Hit.pt.x, Hit.pt.y, Hit.st.wMonth,
                  HitDay(Hit), Hit.st.wYear);
    } catch (...) {
      ClearMenuFlags();
      return;
    }
  }
  if (Hit.uHit == MCHT_TITLEMONTH || Hit.uHit == MCHT_TITLEYEAR) {
    FocusCalendar();
    // The platform control may leave the date of a title hit empty: the month on view is meant.
    if (Hit.st.wYear == 0) {
      TDateTime First = 0, Last = 0;
      VisibleMonths(First, Last);
      Hit.st = ToSystemTime(First != 0 ? First : FDateTime);
    }
    bool Year = Hit.uHit == MCHT_TITLEYEAR;
    if (Year) FAfterMonthMenu = false;
    else FAfterYearMenu = false;
    // The click that closed this title's menu closes it only.
    bool& After = Year ? FAfterYearMenu : FAfterMonthMenu;
    bool WasShowing = Year ? FYearMenuWasShowing : FMonthMenuWasShowing;
    if ((WasShowing || After) && Hit.st.wMonth == FPrevPopupMonth) {
      After = false;
      return;
    }
    FPrevPopupMonth = Hit.st.wMonth;
    POINT At = TitleMenuPoint(Hit);
    After = false;
    if (Year) OpenYearMenu(At, Hit.st);
    else OpenMonthMenu(At, Hit.st);
    // A press that closed the menu comes to the calendar next; a menu closed by a key, a choice
    // or a press elsewhere leaves the next click on the title free to open it again.
    After = (Year ? FYearMenu : FMonthMenu)->PressWindow() == FHandle;
    return;
  }
  ClearMenuFlags();
  if (Hit.uHit == MCHT_TITLEBTNNEXT || Hit.uHit == MCHT_TITLEBTNPREV) {
    FocusCalendar();
    ScrollByArrow(Hit.uHit == MCHT_TITLEBTNNEXT);
    return;
  }
  if (qvIsDateHit(Hit.uHit) && Hit.st.wYear > 9999) return;
  if (qvIsDateHit(Hit.uHit) && OutsideLimits(FromSystemTime(Hit.st))) {
    // A day beyond a limit is not chosen; the limit is.
    FocusCalendar();
    SetClampedDate(FromSystemTime(Hit.st));
    Change();
    return;
  }
  FocusCalendar();
  TWinControl::Dispatch(Message);
}

// The year menu opens under the year's leftmost column, the month menu (aligned on its right)
// under the month's rightmost one, both one pixel below the first row under the text.
POINT TqvMonthCalendar::TitleMenuPoint(const MCHITTESTINFO& Hit) {
  auto HitAt = [&](int X, int Y) {
    MCHITTESTINFO Probe{};
    Probe.cbSize = sizeof(Probe);
    Probe.pt = POINT{X, Y};
    SendMessageA(FHandle, MCM_HITTEST, 0, LPARAM(&Probe));
    return Probe.uHit;
  };
  int Bottom = Hit.pt.y;
  while (Bottom < Height() && HitAt(Hit.pt.x, Bottom) == Hit.uHit) ++Bottom;
  int Row = Bottom - 1;
  int X = Hit.pt.x;
  if (Hit.uHit == MCHT_TITLEYEAR) {
    while (X > 0 && HitAt(X - 1, Row) == Hit.uHit) --X;
  } else {
    while (X + 1 < Width() && HitAt(X + 1, Row) == Hit.uHit) ++X;
  }
  return POINT{X, Bottom + 1};
}

void TqvMonthCalendar::WMMouseMoveOrUp(TMessage& Message) {
  if (Message.Msg == WM_LBUTTONUP) {
    // A range chosen by the mouse is one change, told once the button is up.
    TScopeGuard Told([&] {
      bool Changed = FSelectionChanged && MultiSelect();
      FSelectionChanged = false;
      if (Changed) Change();
    });
    MouseMoveOrUp(Message);
    return;
  }
  MouseMoveOrUp(Message);
}

void TqvMonthCalendar::MouseMoveOrUp(TMessage& Message) {
  MCHITTESTINFO Hit{};
  Hit.cbSize = sizeof(Hit);
  Hit.pt.x = short(LOWORD(Message.LParam));
  Hit.pt.y = short(HIWORD(Message.LParam));
  SendMessageA(FHandle, MCM_HITTEST, 0, LPARAM(&Hit));
  TShiftState Shift = MouseKeysToShiftState(Message.WParam);
  if (Message.Msg == WM_LBUTTONUP && OnMouseUp)
    OnMouseUp(this, mbLeft, Shift, Hit.pt.x, Hit.pt.y, Hit.st.wMonth, HitDay(Hit), Hit.st.wYear);
  if (Message.Msg == WM_MOUSEMOVE && OnMouseMove)
    OnMouseMove(this, Shift, Hit.pt.x, Hit.pt.y, Hit.st.wMonth, HitDay(Hit), Hit.st.wYear);
  // The platform control would stretch its selection onto a day beyond a limit.
  if (qvIsDateHit(Hit.uHit) && OutsideLimits(FromSystemTime(Hit.st))) {
    if (Message.Msg == WM_LBUTTONUP && MouseCapture()) SetMouseCapture(false);
    return;
  }
  TWinControl::Dispatch(Message);
}
