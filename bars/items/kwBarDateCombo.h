// This file implements the date item of the bars and what it is made of: the date routines (month
// stepping, month lengths, reading and writing a date with the locale settings); TkwBarCustomCalendar,
// a control with a first date and a selection; TkwBarDateNavigator, the month calendar with its
// header arrows and its "Today" and "Clear" buttons, which the date combo drops down;
// TkwBarDateCombo, an edit item holding a date as text, kept within a range; and its control,
// TkwBarDateComboControl, in which "+" and "-" step the date by a day.
#pragma once

#include "Forms.h"
#include "kwBarCombo.h"

// No date: reading a text that is no date gives it, and it is written as the empty text.
inline constexpr TDateTime NullDate = -700000;

// The date routines.
void StepMonthBack(int& Year, int& Month);
void StepMonthForward(int& Year, int& Month);
void ShiftMonths(int& Year, int& Month, int Count);
// Kind 1 the year, 2 the month, 3 the day; -1 for another kind.
int DatePart(TDateTime Date, int Kind);
int MonthLength(int Year, int Month);
// The day brought into the month (1 .. its length).
int ClampDay(int Year, int Month, int Day);
// The day of a date and time (its time dropped).
TDateTime DayOfDate(TDateTime Date);
// Reads a date with the locale settings: a day name before it is skipped, dots and blanks between
// the numbers are read as the date separator; the empty text and a text that is no date give
// NullDate.
TDateTime ParseDate(const String& Text);
// The date in the locale's short format; NullDate gives the empty text.
String FormatDate(TDateTime Date);
// The day of the week counted from the locale's first day of the week, 0 to 6.
int WeekdayIndex(TDateTime Date);

class TkwBarDateCombo;
class TkwBarDateNavigator;

// The list of months that the calendar's title opens: seven months from its top date, the one under
// the mouse selected; with the mouse above or below it, it scrolls, faster the further away.
class TAMonthListBox : public TCustomControl {
  VELBOR_DECLARE_CLASS(TAMonthListBox, TCustomControl)
 public:
  TAMonthListBox(TComponent* AOwner, TkwBarDateNavigator* Calendar);
  ~TAMonthListBox() override;

  TDateTime TopDate() const { return FTopDate; }
  void SetTopDate(TDateTime Value);
  int SelectedRow() const { return FSelected; }
  int RowHeight() const { return FRowHeight; }
  // A row's rectangle (client coordinates).
  TRect RowRect(int Row) const;
  // The first of the selected month, NullDate when none is.
  TDateTime Value() const;
  // The calendar holds the mouse: it passes its moves on (client coordinates of the list).
  void TrackMouse(TPoint Point);
  // The scrolling speed: -4 .. 4, 0 still.
  int ScrollSpeed() const { return FTimerId ? FTimerId - 5 : 0; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;

 private:
  void SetScrollSpeed(int Speed);

  TkwBarDateNavigator* FCalendar;  // not owned: the calendar owns the list
  TDateTime FTopDate;
  int FSelected = -1;
  int FRowHeight = 0;
  UINT_PTR FTimerId = 0;
};

using TkwBarDateChosenEvent = TEvent<void(TObject* Sender)>;

class TkwBarCustomCalendar : public TCustomControl {
  VELBOR_DECLARE_CLASS(TkwBarCustomCalendar, TCustomControl)
 public:
  explicit TkwBarCustomCalendar(TComponent* AOwner);

  // 0 plain, 1 default, 2 flat.
  int CalendarStyle() const { return FStyle; }
  void SetCalendarStyle(int Value);
  TDateTime FirstDate() const { return FFirstDate; }
  // The calendar's month: the first of the month of Value.
  virtual void SetFirstDate(TDateTime Value);
  // The first and last dates shown.
  virtual TDateTime GetFirstVisibleDate() const;
  virtual TDateTime GetLastVisibleDate() const { return GetFirstVisibleDate() + 41; }
  virtual TDateTime GetLastDateOfFirstMonth() const;
  // The earlier and the later end of the selection (the finish ignored when it is NullDate).
  TDateTime SelStart() const;
  TDateTime SelFinish() const;
  // Selects one date (NullDate: none).
  virtual void SelectDate(TDateTime Value);
  virtual void SetSelFinish(TDateTime Value);
  virtual void MakeSelectionVisible();
  // The date under a client point, NullDate when none.
  virtual TDateTime GetDateAtPos(TPoint) const { return NullDate; }
  TkwBarDateChosenEvent OnDateChosen;

 protected:
  TDateTime FFirstDate;
  TDateTime FSelStart;
  TDateTime FSelFinish;
  // The selection's start when a drag started.
  TDateTime FDragDate = NullDate;
  int FStyle = 1;
};

class TkwBarDateNavigator : public TkwBarCustomCalendar {
  VELBOR_DECLARE_CLASS(TkwBarDateNavigator, TkwBarCustomCalendar)
 public:
  // IsPopup: the drop-down of Combo (a top-level window), else a calendar in a form.
  TkwBarDateNavigator(TComponent* AOwner, TkwBarDateCombo* Combo, bool IsPopup);
  ~TkwBarDateNavigator() override;

  bool IsPopup() const { return FIsPopup; }
  bool ShowTodayButton = true;
  bool ShowClearButton = false;
  // The size of the calendar for its font.
  TSize CalcSize();
  // Regions, client coordinates.
  TRect TitleRect() const;
  TRect PrevArrowRect() const;
  TRect NextArrowRect() const;
  TRect TodayButtonRect() const;
  TRect ClearButtonRect() const;
  // The cell of a date shown (empty when not shown).
  TRect DayRect(TDateTime Date) const;
  TDateTime GetDateAtPos(TPoint Point) const override;
  int ColumnWidth() const { return FColWidth; }
  int RowHeight() const { return FRowHeight; }
  int TodayButtonWidth() const { return FTodayWidth; }
  int ButtonsHeight() const { return FButtonsHeight; }
  void SetSelFinish(TDateTime Value) override;
  // Stops the arrow timer and a drag, and closes the month list.
  void CancelTracking();
  // The open month list (nullptr: none).
  TAMonthListBox* MonthList() const { return FMonthList; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void CreateWnd() override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void WMLButtonDown(TMessage& Message);
  void WMLButtonUp(TMessage& Message);
  void WMMouseMove(TMessage& Message);
  void WMKeyDown(TMessage& Message);
  void WMTimer(TMessage& Message);
  void WMNCCalcSize(TMessage& Message);
  void WMNCPaint(TMessage& Message);
  void WMSize(TMessage& Message);
  void CMFontChanged(TMessage& Message);

 private:
  // The hidden owner window's procedure.
  void OwnerWndProc(TMessage& Message);
  bool HasOwnBorder() const { return !FIsPopup && FStyle != 0; }
  bool HasButtons() const { return FIsPopup && (ShowTodayButton || ShowClearButton); }
  void CalcMetrics();
  void StepMonth(int Delta);
  void DoDateChosen();
  void PaintButton(HDC DC, const TRect& Rect, const String& Caption, bool Pressed);
  // Selects a date from the keyboard: the same as a click without choosing.
  void KeySelect(TDateTime Date);
  void OpenMonthList();
  void CloseMonthList();

  TkwBarDateCombo* FCombo;  // not owned: the combo owns its drop-down
  bool FIsPopup;
  HWND FOwnerWindow = nullptr;
  int FColWidth = 0, FSideWidth = 0, FRowHeight = 0, FHeaderHeight = 0, FDayNamesHeight = 0;
  int FTodayWidth = 0, FClearWidth = 0, FButtonsHeight = 0, FButtonsOffset = 0, FButtonsRegionHeight = 0;
  // The arrow held: -1 back, 1 forward, 0 none.
  int FArrowHeld = 0;
  bool FDragging = false;
  // The button held: 1 today, 2 clear, 0 none; pressed while the mouse is over it.
  int FButtonActive = 0;
  bool FButtonPressed = false;
  TAMonthListBox* FMonthList = nullptr;  // owned while open
};

enum TkwBarDateOnStart { bdsToday, bdsNullDate, bdsCustom };
VELBOR_ENUM(TkwBarDateOnStart, "bdsToday", "bdsNullDate", "bdsCustom")

class TkwBarDateCombo : public TCustomkwBarCombo {
  VELBOR_DECLARE_CLASS(TkwBarDateCombo, TCustomkwBarCombo)
 public:
  explicit TkwBarDateCombo(TComponent* AOwner);
  ~TkwBarDateCombo() override;

  // Properties.
  // The date of the text (NullDate when it holds none).
  TDateTime Date() const;
  // Writes the date, kept within the range.
  void SetDate(TDateTime Value);
  TkwBarDateOnStart DateOnStart() const { return FDateOnStart; }
  void SetDateOnStart(TkwBarDateOnStart Value);
  TDateTime MinDate() const { return FMinDate; }
  void SetMinDate(TDateTime Value);
  TDateTime MaxDate() const { return FMaxDate; }
  void SetMaxDate(TDateTime Value);
  bool IsMinDateStored() const { return FMinDate != 0; }
  bool IsMaxDateStored() const { return FMaxDate != 0; }
  bool ShowDayText() const { return FShowDayText; }
  void SetShowDayText(bool Value);
  bool ShowTodayButton() const { return FShowTodayButton; }
  void SetShowTodayButton(bool Value) { FShowTodayButton = Value; }
  bool ShowClearButton() const { return FShowClearButton; }
  void SetShowClearButton(bool Value) { FShowClearButton = Value; }
  bool IsTextStored() const { return FDateOnStart == bdsCustom; }
  TkwBarDateNavigator* Calendar() const { return FCalendar; }

  // Operations.
  // The date within the range (unchanged without one).
  TDateTime ClampDate(TDateTime Value) const;
  // The text of a date as the combo writes it ("ven. 11/12/2026", or without the day name).
  String FormatDateText(TDateTime Value) const;

  // Overrides.
  // The text is read, kept within the range and written again before it is stored.
  void SetText(const String& Value) override;
  // All keys but Tab and Escape go to the open calendar (Enter chooses its date).
  bool CheckKeyForDropDownWindow(WORD Key, TShiftState Shift) override;
  HWND GetDropDownWindow() override;
  void PrepareDropDownWindow() override;
  void CloseUp() override;
  // The date dialog, while it runs (nullptr otherwise).
  TForm* DateDialog() const { return FDialog; }

 protected:
  void Loaded() override;
  // The date dialog, unless OnClick is assigned or the item is read-only: its date is taken when
  // it ends with OK.
  void DoClick() override;

 private:
  friend class TkwBarDateNavigator;
  void DateChosen(TObject* Sender);
  // Applies DateOnStart.
  void ApplyDateOnStart();

  TkwBarDateNavigator* FCalendar;  // owned
  TForm* FDialog = nullptr;         // owned while it runs
  TkwBarDateOnStart FDateOnStart = bdsToday;
  TDateTime FMinDate = 0;
  TDateTime FMaxDate = 0;
  bool FShowDayText = true;
  bool FShowTodayButton = true;
  bool FShowClearButton = true;
  // Set while the item writes its own text (DateOnStart stays as it is).
  bool FSelfChange = false;
};

class TkwBarDateComboControl : public TCustomkwBarComboControl {
  VELBOR_DECLARE_CLASS(TkwBarDateComboControl, TCustomkwBarComboControl)
 public:
  using TOwnerClass = TkwBarItemLink;
  explicit TkwBarDateComboControl(TkwBarItemLink* ALink) : TCustomkwBarComboControl(ALink) {}

  TkwBarDateCombo* DateCombo() const { return dynamic_cast<TkwBarDateCombo*>(GetItem()); }
  // "+" and "-" step the typed date by a day.
  void EditWndProc(TMessage& Message) override;
};
