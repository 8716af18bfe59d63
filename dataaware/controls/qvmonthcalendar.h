// This file implements TqvMonthCalendar, a window over the platform's month-calendar control
// (SysMonthCal32) that keeps its own date, limits and bold days, moves by its own keys and title
// arrows, and never lets a date outside its limits be chosen; and EDateTimeError with the helpers
// that raise it.
#pragma once

#include "Controls.h"
#include "DateTime.h"
#include "Event.h"
#include "Exceptions.h"

VELBOR_EXCEPTION(EDateTimeError, Exception)

// "La date dépasse le maximum de <Limit>" and "La date est inférieure au minimum de <Limit>",
// with the limit as a short date.
[[noreturn]] void qvRaiseAboveMaximum(TDateTime Limit);
[[noreturn]] void qvRaiseBelowMinimum(TDateTime Limit);

enum TqvMonthOption { mdoDayState, mdoWeekNumbers, mdoNoToday, mdoNoTodayCircle, mdoMultiSelect };
using TqvMonthOptions = TSet<TqvMonthOption>;

// Accept comes in False; set it to show the day in bold.
using TCalcBoldDayEvent =
    TEvent<void(TObject* Sender, TDateTime ADate, int Month, int Day, int Year, bool& Accept)>;

class TqvMonthCalendar : public TWinControl {
  VELBOR_DECLARE_CLASS(TqvMonthCalendar, TWinControl)
 public:
  explicit TqvMonthCalendar(TComponent* AOwner);

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
  MONTHDAYSTATE FDayStates[14] = {};
};

// A hit-test result on a day of a month (not a week-day header nor a week number).
bool qvIsDateHit(UINT Hit);
