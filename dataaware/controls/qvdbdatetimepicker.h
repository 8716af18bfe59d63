// This file implements the data-aware date and time picker: TqvDBCustomDateTimePicker and the
// published TqvDBDateTimePicker, an edit that shows one date, time or date-time in a display
// format and edits it part by part (day, month, year, hour, minute, second, AM/PM) from the
// keyboard, with a month calendar (TqvPopupCalendar) dropped down from its button; and the
// format services the picker's parts are read with.
// Implemented in qvdbdatetimepicker.cpp (value, limits, data link, focus, drop-down) and
// qvdbdatetimepickerKeys.cpp (formats and parts, keys, typed digits, the clipboard).
#pragma once

#include "Qvdotdot.h"
#include "qvmonthcalendar.h"

class TqvDBCustomDateTimePicker;

enum TqvDTEditDataType { qvDTEdtDate, qvDTEdtTime, qvDTEdtDateTime };
VELBOR_ENUM(TqvDTEditDataType, "qvDTEdtDate", "qvDTEdtTime", "qvDTEdtDateTime")

enum TDTDateFormat { dfShort, dfLong };
VELBOR_ENUM(TDTDateFormat, "dfShort", "dfLong")

// The step of the minute part.
class TqvDTInterval : public TPersistent {
  VELBOR_DECLARE_CLASS(TqvDTInterval, TPersistent)
 public:
  TqvDTInterval() = default;
  // 0 (or less) steps by 1; more than 60 by 60.
  int MinutesInterval() const { return FMinutesInterval; }
  void SetMinutesInterval(int Value) { FMinutesInterval = Value; }
  int EffectiveMinutesInterval() const { return FMinutesInterval < 1 ? 1 : FMinutesInterval > 60 ? 60 : FMinutesInterval; }
  bool RoundMinutes = false;
  void Assign(TPersistent* Source) override;

 private:
  int FMinutesInterval = 1;
};

// Where the drop-down calendar opens under the picker.
enum TqvDTCalAlignment { qvdtaLeft, qvdtaRight, qvdtaCenter };
VELBOR_ENUM(TqvDTCalAlignment, "qvdtaLeft", "qvdtaRight", "qvdtaCenter")

// What the picker's drop-down calendar takes from the picker.
class TqvCalendarOptions : public TPersistent {
  VELBOR_DECLARE_CLASS(TqvCalendarOptions, TPersistent)
 public:
  TqvCalendarOptions();
  ~TqvCalendarOptions() override;
  TqvDTCalAlignment Alignment = qvdtaLeft;
  TqvCalDayOfWeek FirstDayOfWeek = qvdowLocaleDefault;
  TqvMonthOptions Options{mdoDayState};
  TqvDateTimeColors* Colors() const { return FColors; }
  void SetColors(TqvDateTimeColors* Value) { FColors->Assign(Value); }
  TFont* Font() const { return FFont; }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TqvPopupYearOptions* PopupYearOptions() const { return FPopupYearOptions; }
  void SetPopupYearOptions(TqvPopupYearOptions* Value) { FPopupYearOptions->Assign(Value); }
  // The calendar's size; 0, or less than the calendar needs, gives the size it needs.
  int Width = 0;
  int Height = 0;
  void Assign(TPersistent* Source) override;

 private:
  TqvDateTimeColors* FColors;
  TFont* FFont;
  TqvPopupYearOptions* FPopupYearOptions;
};

// The picker's drop-down calendar: a top-most window that never takes the focus from the picker;
// its date follows into the picker, and a click on a day closes it.
class TqvPopupCalendar : public TqvMonthCalendar {
  VELBOR_DECLARE_CLASS(TqvPopupCalendar, TqvMonthCalendar)
 public:
  using TOwnerClass = TqvDBCustomDateTimePicker;
  explicit TqvPopupCalendar(TqvDBCustomDateTimePicker* APicker);
  TqvDBCustomDateTimePicker* Picker() const { return FPicker; }
  void Change() override;
  void FocusCalendar() override {}

 protected:
  void CreateParams(TCreateParams& Params) override;
  // A top-level window has no child identifier.
  void CreateWindowHandle(const TCreateParams& Params) override { TWinControl::CreateWindowHandle(Params); }
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;

 private:
  TqvDBCustomDateTimePicker* FPicker;
};

// One part of the shown text: where it starts (0-based), how long it is, its format token.
struct TqvDTPartInfo {
  String Text;  // the text up to and including the part; empty when there is no such part
  int Start = 0;
  int Length = 0;
  String Token;
};

class TqvDBCustomDateTimePicker : public TqvDBCustomCombo {
  VELBOR_DECLARE_CLASS(TqvDBCustomDateTimePicker, TqvDBCustomCombo)
  friend class TqvPopupCalendar;

 public:
  explicit TqvDBCustomDateTimePicker(TComponent* AOwner);
  ~TqvDBCustomDateTimePicker() override;

  // Properties.
  // The value: whole days from 1899-12-30 and the time of day; 0 is empty.
  TDateTime DateTime() const { return FValue; }
  // The central setter: a value outside the limits raises EDateTimeError and is not stored.
  void SetDateTime(TDateTime Value);
  // Typed digits are applied first.
  TDateTime GetDate();
  void SetDate(TDateTime Value);
  TDateTime GetTime();
  void SetTime(TDateTime Value);
  TDateTime MinDate() const { return FMinDate; }
  void SetMinDate(TDateTime Value);
  TDateTime MaxDate() const { return FMaxDate; }
  void SetMaxDate(TDateTime Value);
  TDateTime EffectiveMinDate() const;
  TDateTime EffectiveMaxDate() const;
  TqvDTEditDataType UnboundDataType() const { return FUnboundDataType; }
  void SetUnboundDataType(TqvDTEditDataType Value);
  String GetDisplayFormat() override { return FDisplayFormatDT; }
  void SetDisplayFormat(const String& Value) override;
  TDTDateFormat DateFormat() const { return FDateFormat; }
  void SetDateFormat(TDTDateFormat Value);
  int Epoch = 1950;
  TqvCalendarOptions* CalendarAttributes() const { return FCalendarAttributes; }
  void SetCalendarAttributes(TqvCalendarOptions* Value) { FCalendarAttributes->Assign(Value); }
  TqvDTInterval* Interval() const { return FInterval; }
  void SetInterval(TqvDTInterval* Value) { FInterval->Assign(Value); }
  bool AutoFillDateAndTime = false;
  bool Verinta() const { return false; }
  int CurrentPart() const { return FCurrentPart; }
  bool Typing() const { return FTyping; }
  bool EmptyFlag() const { return FEmpty; }
  TqvPopupCalendar* Calendar() const { return FCalendar; }
  TNotifyEvent OnCloseUp;
  TNotifyEvent OnDropDown;
  TCalcBoldDayEvent OnCalcBoldDay;

  // Operations: formats and parts.
  // The picker's own format, else the field's, else (UseDefaults) the locale's for its kind.
  String GetEffectiveDisplayFormat(bool UseDefaults);
  // The effective format with its shorthands (c, ddddd, dddddd, t, tt) written out.
  String GetExpandedDisplayFormat();
  int PartCount();
  TqvDTPartInfo GetPartInfo(int N, TDateTime Value);
  bool UsesDefaultFormat();
  int VisiblePartCount();
  bool IsTextComplete();
  TqvDTEditDataType Kind();
  // False for a date-only picker (or a date-time field shown without its time).
  bool HasTimePart();
  String FormatValue(TDateTime Value);
  String GetDisplayText(TDateTime Value);
  void RefreshText();
  void SelectCurrentPart();
  // Applies the digits typed into the current part.
  void ApplyTypedText();
  bool CanEditValue();
  int TwoDigitYearToFull(int YY) const;

  // Overridables.
  virtual bool CanEditField();
  bool IsDroppedDown() override;
  void DropDown() override;
  void CloseUp(bool Accept) override;

 protected:
  void DataChange() override;
  void EditingChange() override;
  void UpdateData() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void Change() override;
  void DoExit() override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // Turning on tells the data link the record changed (not for a read-only field).
  void SetModifiedFlag(bool On);
  // Shows a text the program composed: not the user's change, Modified kept.
  void ShowText(const String& Value);
  void StartLinkEdit();

  // protected messages
  void CMEnter(TMessage& Message);
  void CMExit(TMessage& Message);
  void CMCancelMode(TMessage& Message);
  void CNKeyDown(TMessage& Message);
  void WMKillFocus(TMessage& Message);
  void WMLButtonDown(TMessage& Message);
  void WMLButtonDblClk(TMessage& Message);
  void WMCut(TMessage& Message);
  void WMPaste(TMessage& Message);
  void WMDestroyCalendar(TMessage& Message);

 private:
  struct TWorking {
    int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0, MSec = 0;
  };
  TWorking Decode(TDateTime Value) const;
  void ComposeParts(const TWorking& W);
  bool InsideLimits(int Year, int Month, int Day) const;
  void ClampToLimits(TWorking& W) const;
  bool IsValidPartValue(char Kind, int Number, TWorking& W);
  // The digit's number once the part is complete, the digit itself while more may follow,
  // -1 when refused.
  int TypedDigit(int Digit, TWorking& W, const TqvDTPartInfo& Part, bool WasTyping);
  void ShowTypedDigits(const TqvDTPartInfo& Part);
  // Days from the first day of the week to D.
  int DaysIntoWeek(TDateTime D) const;
  void StepKey(WORD Key, TWorking& W, const String& Token);
  bool HandGridKey(TWinControl* Grid, WORD& Key, TShiftState Shift);
  void HomeEndKey(bool End, TWorking& W, const String& Token);
  bool LetterKey(char Letter, TWorking& W, const String& Token);
  int PartUnderMouse(int X);
  TDateTime InitialValue();

  TDateTime FValue = 0;
  TDateTime FEntryValue = 0;
  TDateTime FValueAtDropDown = 0;
  TDateTime FMinDate = 0;
  TDateTime FMaxDate = 0;
  TqvDTEditDataType FUnboundDataType = qvDTEdtDateTime;
  String FDisplayFormatDT;
  TDTDateFormat FDateFormat = dfShort;
  TqvDTInterval* FInterval;
  TqvCalendarOptions* FCalendarAttributes;
  TqvPopupCalendar* FCalendar = nullptr;
  int FCurrentPart = 1;
  bool FTyping = false;
  String FTypedDigits;
  bool FEmpty = true;
  bool FClosing = false;
  bool FClosedByEsc = false;
  bool FSettingFromCalendar = false;
  bool FSavedShowHint = false;
  bool FFocused = false;
};

class TqvDBDateTimePicker : public TqvDBCustomDateTimePicker {
  VELBOR_DECLARE_CLASS(TqvDBDateTimePicker, TqvDBCustomDateTimePicker)
 public:
  explicit TqvDBDateTimePicker(TComponent* AOwner) : TqvDBCustomDateTimePicker(AOwner) {}
};

// The picker's shared mouse hook: whether it is installed now.
bool qvDateTimePickerHookInstalled();
