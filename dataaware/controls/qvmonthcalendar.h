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
VELBOR_ENUM(TqvMonthOption, "mdoDayState", "mdoWeekNumbers", "mdoNoToday", "mdoNoTodayCircle", "mdoMultiSelect")
using TqvMonthOptions = TSet<TqvMonthOption>;

enum TqvCalDayOfWeek {
  qvdowMonday, qvdowTuesday, qvdowWednesday, qvdowThursday, qvdowFriday, qvdowSaturday, qvdowSunday,
  qvdowLocaleDefault
};
VELBOR_ENUM(TqvCalDayOfWeek, "qvdowMonday", "qvdowTuesday", "qvdowWednesday", "qvdowThursday", "qvdowFriday",
            "qvdowSaturday", "qvdowSunday", "qvdowLocaleDefault")

// The first day of the week as the month-calendar control counts it (0 Monday ... 6 Sunday); the
// locale's default comes from the user's locale.
int qvFirstDayIndex(TqvCalDayOfWeek Value);

// The colours of the parts of a month calendar, in the platform control's order: background
// (not published), text, title background, title text, month background, trailing text (the days
// of the months before and after). Owned by a calendar, a colour set is sent to its window at once.
class TqvDateTimeColors : public TPersistent {
  VELBOR_DECLARE_CLASS(TqvDateTimeColors, TPersistent)
 public:
  enum { BackgroundIndex, TextIndex, TitleBackIndex, TitleTextIndex, MonthBackIndex, TrailingTextIndex, ColorCount };
  explicit TqvDateTimeColors(TControl* AOwner = nullptr);
  TColor GetColor(int Index) const { return FColors[Index]; }
  void SetColor(int Index, TColor Value);
  TColor BackColor() const { return FColors[BackgroundIndex]; }
  TColor TextColor() const { return FColors[TextIndex]; }
  void SetTextColor(TColor Value) { SetColor(TextIndex, Value); }
  TColor TitleBackColor() const { return FColors[TitleBackIndex]; }
  void SetTitleBackColor(TColor Value) { SetColor(TitleBackIndex, Value); }
  TColor TitleTextColor() const { return FColors[TitleTextIndex]; }
  void SetTitleTextColor(TColor Value) { SetColor(TitleTextIndex, Value); }
  TColor MonthBackColor() const { return FColors[MonthBackIndex]; }
  void SetMonthBackColor(TColor Value) { SetColor(MonthBackIndex, Value); }
  TColor TrailingTextColor() const { return FColors[TrailingTextIndex]; }
  void SetTrailingTextColor(TColor Value) { SetColor(TrailingTextIndex, Value); }
  // Sends all six to the owning calendar's window.
  void ApplyColors();
  // Copies the five published colours from another colour set; anything else raises EConvertError.
  void Assign(TPersistent* Source) override;

 private:
  void Send(int Index);
  TControl* FOwner;
  TColor FColors[ColorCount];
};

// Accept comes in False; set it to show the day in bold.
using TCalcBoldDayEvent =
    TEvent<void(TObject* Sender, TDateTime ADate, int Month, int Day, int Year, bool& Accept)>;

// The mouse over a calendar, with the date under it (Month, Day and Year 0 where there is no day).
using TmcMouseUPDownEvent = TEvent<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y,
                                        int Month, int Day, int Year)>;
using TmcMouseMoveEvent =
    TEvent<void(TObject* Sender, TShiftState Shift, int X, int Y, int Month, int Day, int Year)>;

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
  // The window that the press of the left button which closed the menu goes to next (the menu
  // leaves the press in the queue); null when no press closed it.
  HWND PressWindow() const { return FPressWindow; }

 private:
  bool FShowing = false;
  HWND FPressWindow = nullptr;
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
  // bsSingle draws a border round the calendar.
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  TqvMonthOptions Options() const { return FOptions; }
  void SetOptions(TqvMonthOptions Value);
  TqvCalDayOfWeek FirstDayOfWeek() const { return FFirstDayOfWeek; }
  void SetFirstDayOfWeek(TqvCalDayOfWeek Value);
  TqvDateTimeColors* CalColors() const { return FCalColors; }
  void SetCalColors(TqvDateTimeColors* Value) { FCalColors->Assign(Value); }
  // The longest range of days a multi-select calendar lets the user choose.
  int MaxSelectCount() const { return FMaxSelectCount; }
  void SetMaxSelectCount(int Value);
  // A size below the platform control's minimum is raised to it; the window is made again.
  void SetWidth(int Value);
  void SetHeight(int Value);
  // The selected range of a multi-select calendar (whole days, start first; 0 when not set).
  TDateTime SelStart() const { return FSelStart; }
  TDateTime SelEnd() const { return FSelEnd; }
  // A limit passed stores the limit and raises.
  void SetSelStart(TDateTime Value);
  void SetSelEnd(TDateTime Value);
  // Sends the range to a multi-select calendar; false when it is not one or the control refuses
  // the range (longer than MaxSelectCount).
  bool SetSelRange(TDateTime End, TDateTime Start);
  TqvPopupYearOptions* PopupYearOptions() const { return FPopupYearOptions; }
  void SetPopupYearOptions(TqvPopupYearOptions* Value) { FPopupYearOptions->Assign(Value); }
  TCalendarPopupMenu* MonthMenu() const { return FMonthMenu; }
  TCalendarPopupMenu* YearMenu() const { return FYearMenu; }
  // A title menu was closed by the click that came last (a second click on the same title closes
  // the menu rather than opening it again).
  bool AfterYearMenu() const { return FAfterYearMenu; }
  bool AfterMonthMenu() const { return FAfterMonthMenu; }
  TCalcBoldDayEvent OnCalcBoldDay;
  TNotifyEvent OnChange;
  // A press that OnMouseDown fails on does nothing more.
  TmcMouseUPDownEvent OnMouseDown;
  TmcMouseUPDownEvent OnMouseUp;
  TmcMouseMoveEvent OnMouseMove;

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
  void Loaded() override;
  void Dispatch(TMessage& Message) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  // Width and Height grow to the platform control's minimum size.
  void AdjustToMinSize();
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
  void MouseMoveOrUp(TMessage& Message);
  void CMColorChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);

 private:
  bool OutsideLimits(TDateTime Day) const;
  bool MultiSelect() const { return FOptions.Contains(mdoMultiSelect); }
  void ClearMenuFlags() { FAfterYearMenu = FAfterMonthMenu = false; }
  // Moves the anchor's other end of a multi-select range by Days.
  void ExtendRange(int Days);
  // Where a title menu opens (client coordinates) for a click on the title's month or year.
  POINT TitleMenuPoint(const MCHITTESTINFO& Hit);
  // How far left of the year the year menu opens when its edit item has a column of its own.
  int EditYearIndent();
  void FillDayStates(NMDAYSTATE* Request);
  void RefreshDayStates();

  TDateTime FDateTime;
  TDateTime FMinDate = 0;
  TDateTime FMaxDate = 0;
  TqvMonthOptions FOptions;
  TBorderStyle FBorderStyle = bsNone;
  TqvCalDayOfWeek FFirstDayOfWeek = qvdowLocaleDefault;
  TDateTime FSelStart = 0;
  TDateTime FSelEnd = 0;
  int FMaxSelectCount = 31;
  bool FSelectionChanged = false;
  TqvDateTimeColors* FCalColors;
  TqvPopupYearOptions* FPopupYearOptions;
  TCalendarPopupMenu* FMonthMenu;
  TCalendarPopupMenu* FYearMenu = nullptr;
  int FHitYear = 0;
  int FHitMonth = 0;
  int FPrevPopupMonth = 0;
  bool FAfterYearMenu = false;
  bool FAfterMonthMenu = false;
  bool FYearMenuWasShowing = false;
  bool FMonthMenuWasShowing = false;
  MONTHDAYSTATE FDayStates[14] = {};
};

// A hit-test result on a day of a month (not a week-day header nor a week number).
bool qvIsDateHit(UINT Hit);
