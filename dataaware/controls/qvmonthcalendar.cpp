// This file implements the month calendar (see qvmonthcalendar.h).
#include "qvmonthcalendar.h"

#include <algorithm>
#include <cmath>

#include "DateTimeFormat.h"
#include "Dialogs.h"
#include "FormatSettings.h"
#include "Messages.h"
#include "Qvintl.h"
#include "ScopeGuard.h"
#include "StrUtils.h"

#include <commctrl.h>

VELBOR_IMPLEMENT_CLASS(TqvMonthCalendar)
VELBOR_IMPLEMENT_CLASS(TCalendarPopupMenu)
VELBOR_IMPLEMENT_CLASS(TqvPopupYearOptions)
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

void TCalendarPopupMenu::Popup(int X, int Y) {
  FShowing = true;
  TScopeGuard Done([&] { FShowing = false; });
  TPopupMenu::Popup(X, Y);
}

TqvMonthCalendar::TqvMonthCalendar(TComponent* AOwner)
    : TWinControl(AOwner), FDateTime(Now()), FPopupYearOptions(new TqvPopupYearOptions) {
  InitDateClasses();
  ControlStyle.Include(csClickEvents);
  ControlStyle.Include(csOpaque);
  ControlStyle.Include(csDoubleClicks);
  ControlStyle.Include(csFixedHeight);
  SetColor(clWindow);
  SetParentColor(false);
  SetTabStop(true);
  SetWidth(155);
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
  FYearMenu->Popup(Screen_.X, Screen_.Y);
}

void TqvMonthCalendar::MonthMenuClick(TObject* Sender) {
  int M = static_cast<TMenuItem*>(Sender)->Tag;
  if (M == FHitMonth) return;
  int Y = 0, Month = 0, Day = 0;
  DecodeDate(FDateTime, Y, Month, Day);
  SetClampedDate(EncodeDate(FHitYear, M, std::min(Day, DaysInAMonth(FHitYear, M))));
  Change();
}

void TqvMonthCalendar::YearMenuClick(TObject* Sender) {
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

void TqvMonthCalendar::SetOptions(TqvMonthOptions Value) {
  FOptions = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TqvMonthCalendar::ApplyDate(TDateTime D) {
  if (FMaxDate != 0 && WholeDay(D) > WholeDay(FMaxDate)) D = WithTimeOf(WholeDay(FMaxDate), D);
  else if (FMinDate != 0 && WholeDay(D) < WholeDay(FMinDate)) D = WithTimeOf(WholeDay(FMinDate), D);
  else if (FMinDate == 0 && WholeDay(D) < 0) D = EncodeDate(1899, 12, 31);
  SelectDay(D);
}

void TqvMonthCalendar::SelectDay(TDateTime D) {
  if (!HandleAllocated()) {
    FDateTime = D;
    return;
  }
  SYSTEMTIME T = ToSystemTime(D);
  if (SendMessageA(FHandle, MCM_SETCURSEL, 0, LPARAM(&T)) != 0) FDateTime = D;
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
  TDateTime Current = WholeDay(FDateTime);
  TDateTime Target = Current;
  switch (Key) {
    case VK_PRIOR: Target = std::trunc(IncMonth(Current, -1)); break;
    case VK_NEXT: Target = std::trunc(IncMonth(Current, 1)); break;
    case VK_LEFT: Target = Current - 1; break;
    case VK_RIGHT: Target = Current + 1; break;
    case VK_UP: Target = Current - 7; break;
    case VK_DOWN: Target = Current + 7; break;
    default: return false;
  }
  (void)Shift;
  // A step that would leave the limits stops on the limit.
  SetClampedDate(Target);
  Change();
  return true;
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
  if (FOptions.Contains(mdoWeekNumbers)) Params.Style |= MCS_WEEKNUMBERS;
  if (FOptions.Contains(mdoNoTodayCircle)) Params.Style |= MCS_NOTODAYCIRCLE;
  if (FOptions.Contains(mdoNoToday)) Params.Style |= MCS_NOTODAY;
  Params.WindowClass.style = (Params.WindowClass.style & ~UINT(CS_HREDRAW | CS_VREDRAW)) | CS_DBLCLKS;
}

void TqvMonthCalendar::CreateWnd() {
  TWinControl::CreateWnd();
  SetRange(FMaxDate, FMinDate);
  ApplyDate(FDateTime);
  SendMessageA(FHandle, MCM_SETFIRSTDAYOFWEEK, 0, qvFirstDayIndex(FFirstDayOfWeek));
  TSize Min = MinimumSize();
  if (Width() < Min.cx || Height() < Min.cy) SetBounds(Left(), Top(), std::max(Width(), Min.cx), std::max(Height(), Min.cy));
}

void TqvMonthCalendar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_NOTIFY: CNNotify(Message); break;
    case CN_KEYDOWN: CNKeyDown(Message); break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: WMLButtonDown(Message); break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP: WMMouseMoveOrUp(Message); break;
    default: TWinControl::Dispatch(Message); break;
  }
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
      if (Start == 0 || WholeDay(Start) == WholeDay(FDateTime)) break;
      SetClampedDate(Start);
      Change();
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
  bool Ours = !Ctrl && (Key == VK_PRIOR || Key == VK_NEXT || Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP ||
                        Key == VK_DOWN);
  // These keys move the calendar rather than the focus.
  if (Ours) Message.Result = 0;
  else TWinControl::Dispatch(Message);
}

void TqvMonthCalendar::WMLButtonDown(TMessage& Message) {
  MCHITTESTINFO Hit{};
  Hit.cbSize = sizeof(Hit);
  Hit.pt.x = short(LOWORD(Message.LParam));
  Hit.pt.y = short(HIWORD(Message.LParam));
  SendMessageA(FHandle, MCM_HITTEST, 0, LPARAM(&Hit));
  if (Hit.uHit == MCHT_TITLEMONTH || Hit.uHit == MCHT_TITLEYEAR) {
    // The title's month and year open menus of their own, below the title.
    FocusCalendar();
    POINT Below = Hit.pt;
    for (MCHITTESTINFO Probe = Hit; Probe.uHit == Hit.uHit && Below.y < Height(); ++Below.y) {
      Probe.pt = Below;
      SendMessageA(FHandle, MCM_HITTEST, 0, LPARAM(&Probe));
      if (Probe.uHit != Hit.uHit) break;
    }
    // The platform control may leave the date of a title hit empty: the month on view is meant.
    if (Hit.st.wYear == 0) {
      TDateTime First = 0, Last = 0;
      VisibleMonths(First, Last);
      Hit.st = ToSystemTime(First != 0 ? First : FDateTime);
    }
    if (Hit.uHit == MCHT_TITLEMONTH) OpenMonthMenu(Below, Hit.st);
    else OpenYearMenu(Below, Hit.st);
    return;
  }
  if (Hit.uHit == MCHT_TITLEBTNNEXT || Hit.uHit == MCHT_TITLEBTNPREV) {
    FocusCalendar();
    ScrollByArrow(Hit.uHit == MCHT_TITLEBTNNEXT);
    return;
  }
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

void TqvMonthCalendar::WMMouseMoveOrUp(TMessage& Message) {
  MCHITTESTINFO Hit{};
  Hit.cbSize = sizeof(Hit);
  Hit.pt.x = short(LOWORD(Message.LParam));
  Hit.pt.y = short(HIWORD(Message.LParam));
  SendMessageA(FHandle, MCM_HITTEST, 0, LPARAM(&Hit));
  // The platform control would stretch its selection onto a day beyond a limit.
  if (qvIsDateHit(Hit.uHit) && OutsideLimits(FromSystemTime(Hit.st))) {
    if (Message.Msg == WM_LBUTTONUP && MouseCapture()) SetMouseCapture(false);
    return;
  }
  TWinControl::Dispatch(Message);
}
