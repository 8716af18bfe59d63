// This file implements TqvMonthCalendar, a window over the platform's month-calendar control
// (SysMonthCal32) that keeps its own date, limits and bold days, moves by its own keys and title
// arrows, and never lets a date outside its limits be chosen; and EDateTimeError with the helpers
// that raise it.
#pragma once

#include "Controls.h"
#include "DateTime.h"
#include "Event.h"
#include "Exceptions.h"
#include "Menus.h"

VELBOR_EXCEPTION(EDateTimeError, Exception)

// "La date dépasse le maximum de <Limit>" and "La date est inférieure au minimum de <Limit>",
// with the limit as a short date.
[[noreturn]] void qvRaiseAboveMaximum(TDateTime Limit);
[[noreturn]] void qvRaiseBelowMinimum(TDateTime Limit);

enum TqvMonthOption { mdoDayState, mdoWeekNumbers, mdoNoToday, mdoNoTodayCircle, mdoMultiSelect };
using TqvMonthOptions = TSet<TqvMonthOption>;

enum TqvCalDayOfWeek {
  qvdowMonday, qvdowTuesday, qvdowWednesday, qvdowThursday, qvdowFriday, qvdowSaturday, qvdowSunday,
  qvdowLocaleDefault
};

// The first day of the week as the month-calendar control counts it (0 Monday ... 6 Sunday); the
// locale's default comes from the user's locale.
int qvFirstDayIndex(TqvCalDayOfWeek Value);

// Accept comes in False; set it to show the day in bold.
using TCalcBoldDayEvent =
    TEvent<void(TObject* Sender, TDateTime ADate, int Month, int Day, int Year, bool& Accept)>;

// The layout of the year menu opened from the title's year.
class TqvPopupYearOptions : public TPersistent {
  VELBOR_DECLARE_CLASS(TqvPopupYearOptions, TPersistent)
 public:
  TqvPopupYearOptions() = default;
  int YearsPerColumn = 10;
  int NumberColumns = 2;
  int StartYear = 1990;
  // An item that asks for any year.
  bool ShowEditYear = false;
  void Assign(TPersistent* Source) override;
};

// A title menu: it knows while it is showing (its loop is modal).
class TCalendarPopupMenu : public TPopupMenu {
  VELBOR_DECLARE_CLASS(TCalendarPopupMenu, TPopupMenu)
 public:
  explicit TCalendarPopupMenu(TComponent* AOwner) : TPopupMenu(AOwner) {}
  void Popup(int X, int Y) override;
  bool Showing() const { return FShowing; }

 private:
  bool FShowing = false;
};

class TqvMonthCalendar : public TWinControl {
  VELBOR_DECLARE_CLASS(TqvMonthCalendar, TWinControl)
 public:
  explicit TqvMonthCalendar(TComponent* AOwner);
  ~TqvMonthCalendar() override;

  // Properties.
  // The date with its time of day.
  TDateTime DateTime() const { return FDateTime; }
  TDateTime Date() const { return FDateTime; }
  // The new day with the current time of day; a day outside the limits raises and leaves the
  // calendar as it was.
  void SetDate(TDateTime Value);
  void SetTime(TDateTime Value);
  TDateTime MinDate() const { return FMinDate; }
  void SetMinDate(TDateTime Value);
  TDateTime MaxDate() const { return FMaxDate; }
  void SetMaxDate(TDateTime Value);
  TqvMonthOptions Options() const { return FOptions; }
  void SetOptions(TqvMonthOptions Value);
  TqvCalDayOfWeek FirstDayOfWeek() const { return FFirstDayOfWeek; }
  void SetFirstDayOfWeek(TqvCalDayOfWeek Value);
  TqvPopupYearOptions* PopupYearOptions() const { return FPopupYearOptions; }
  void SetPopupYearOptions(TqvPopupYearOptions* Value) { FPopupYearOptions->Assign(Value); }
  TCalendarPopupMenu* MonthMenu() const { return FMonthMenu; }
  TCalendarPopupMenu* YearMenu() const { return FYearMenu; }
  TCalcBoldDayEvent OnCalcBoldDay;
  TNotifyEvent OnChange;

  // Operations.
  // Shows D (clamped to the limits) as the selected day.
  void ApplyDate(TDateTime D);
  // Sends the limits that are set to the platform control.
  void SetRange(TDateTime Max, TDateTime Min);
  // The platform control's minimum size.
  TSize MinimumSize();
  // The first and last months on view (whole days of their first days).
  void VisibleMonths(TDateTime& First, TDateTime& Last);
  // The calendar's key handling (arrows, Page Up and Page Down); true when the key was one of them.
  bool HandleKey(WORD Key, TShiftState Shift);
  // The month or the year menu of the title is showing.
  bool IsPopupMenuShowing() const;
  // The year menu's edit item: asks for a year until one within the limits is given, or the
  // question is cancelled (false then, and nothing changes).
  bool AskYear();

  // Overridables.
  virtual void Change();
  virtual void FocusCalendar();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;
  // Moves to the month before or after those on view, stopping at the limits.
  void ScrollByArrow(bool Next);
  // Sets Date from a click or a key: a day beyond a limit becomes the limit.
  void SetClampedDate(TDateTime Day);
  void SelectDay(TDateTime D);
  void OpenMonthMenu(POINT At, const SYSTEMTIME& Hit);
  void OpenYearMenu(POINT At, const SYSTEMTIME& Hit);
  void MonthMenuClick(TObject* Sender);
  void YearMenuClick(TObject* Sender);
  // The current month and day in Year (the day cut to the month) lies within the limits.
  bool YearAllowed(int Year) const;
  void MoveToYear(int Year);

  // protected messages
  void CNNotify(TMessage& Message);
  void CNKeyDown(TMessage& Message);
  void WMLButtonDown(TMessage& Message);
  void WMMouseMoveOrUp(TMessage& Message);

 private:
  bool OutsideLimits(TDateTime Day) const;
  void FillDayStates(NMDAYSTATE* Request);

  TDateTime FDateTime;
  TDateTime FMinDate = 0;
  TDateTime FMaxDate = 0;
  TqvMonthOptions FOptions;
  TqvCalDayOfWeek FFirstDayOfWeek = qvdowLocaleDefault;
  TqvPopupYearOptions* FPopupYearOptions;
  TCalendarPopupMenu* FMonthMenu;
  TCalendarPopupMenu* FYearMenu = nullptr;
  int FHitYear = 0;
  int FHitMonth = 0;
  MONTHDAYSTATE FDayStates[14] = {};
};

// A hit-test result on a day of a month (not a week-day header nor a week number).
bool qvIsDateHit(UINT Hit);
