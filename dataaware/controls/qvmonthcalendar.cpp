// This file implements the month calendar (see qvmonthcalendar.h).
#include "qvmonthcalendar.h"

#include <algorithm>
#include <cmath>

#include "DateTimeFormat.h"
#include "Messages.h"

#include <commctrl.h>

VELBOR_IMPLEMENT_CLASS(TqvMonthCalendar)

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

TqvMonthCalendar::TqvMonthCalendar(TComponent* AOwner) : TWinControl(AOwner), FDateTime(Now()) {
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
  // Monday first, as the locale's settings say.
  SendMessageA(FHandle, MCM_SETFIRSTDAYOFWEEK, 0, 0);
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
