// This file implements the date and time picker's value, limits, data link, focus and drop-down
// calendar (see qvdbdatetimepicker.h).
#include "qvdbdatetimepicker.h"

#include <algorithm>
#include <cmath>

#include "DataSet.h"
#include "DateTimeFormat.h"
#include "Forms.h"
#include "Qvintl.h"
#include "ScopeGuard.h"
#include "qvControlUtils.h"
#include "qvMouseHook.h"
#include "qvPropAccess.h"

#include <commctrl.h>

VELBOR_IMPLEMENT_CLASS(TqvDTInterval)
VELBOR_IMPLEMENT_CLASS(TqvCalendarOptions)
VELBOR_PUBLISHED(TqvCalendarOptions,
  Prop("Alignment", &Self::Alignment).Default(qvdtaLeft),
  Prop("Colors", &Self::Colors, &Self::SetColors),
  Prop("Font", &Self::Font, &Self::SetFont),
  Prop("Options", &Self::Options).Default(TqvMonthOptions{mdoDayState}),
  Prop("PopupYearOptions", &Self::PopupYearOptions, &Self::SetPopupYearOptions),
  Prop("FirstDayOfWeek", &Self::FirstDayOfWeek).Default(qvdowLocaleDefault))
VELBOR_PUBLISHED(TqvDTInterval,
  Prop("MinutesInterval", &Self::MinutesInterval, &Self::SetMinutesInterval).Default(1),
  Prop("RoundMinutes", &Self::RoundMinutes).Default(false))
VELBOR_IMPLEMENT_CLASS(TqvPopupCalendar)
VELBOR_IMPLEMENT_CLASS(TqvDBCustomDateTimePicker)
VELBOR_IMPLEMENT_CLASS(TqvDBDateTimePicker)
VELBOR_PUBLISHED(TqvDBDateTimePicker,
  Prop("AutoFillDateAndTime", &Self::AutoFillDateAndTime).Default(false),
  Prop("CalendarAttributes", &Self::CalendarAttributes, &Self::SetCalendarAttributes),
  Prop("DateFormat", &Self::DateFormat, &Self::SetDateFormat).Default(dfShort),
  // The value, for the windows of lower libraries that make the picker by class name; the bound
  // field or the program sets it, a description never does.
  Prop("DateTime", &Self::DateTime, &Self::SetDateTime).Stored(false),
  Prop("DisplayFormat", &Self::GetDisplayFormat, &Self::SetDisplayFormat),
  Prop("Epoch", &Self::Epoch),
  Prop("Interval", &Self::Interval, &Self::SetInterval),
  Prop("MaxDate", &Self::MaxDate, &Self::SetMaxDate),
  Prop("MinDate", &Self::MinDate, &Self::SetMinDate),
  Prop("UnboundDataType", &Self::UnboundDataType, &Self::SetUnboundDataType).Default(qvDTEdtDateTime),
  Prop("OnCloseUp", &Self::OnCloseUp),
  Prop("OnDropDown", &Self::OnDropDown),
  Prop("OnCalcBoldDay", &Self::OnCalcBoldDay))

namespace {

struct TPickerClassRegistration {
  TPickerClassRegistration() { RegisterClass(TqvDBDateTimePicker::StaticClass()); }
} PickerClassRegistration;

const UINT DestroyCalendarMessage = RegisterWindowMessageA("VRDATEPICKERDESTROYCALENDAR");

LRESULT CALLBACK PickerMouseHookProc(int Code, WPARAM WParam, LPARAM LParam);

// The press seen while a title menu of the calendar was showing.
POINT PressClosingMenu{};
bool PressClosingMenuSeen = false;

// One hook for every picker: only one calendar is down at a time.
TqvThreadMouseHook PickerMouseHook(&PickerMouseHookProc);

// A press outside both the calendar and its picker closes the calendar, keeping its date.
LRESULT CALLBACK PickerMouseHookProc(int Code, WPARAM WParam, LPARAM LParam) {
  LRESULT Result = CallNextHookEx(nullptr, Code, WParam, LParam);
  if (Code < 0 || (WParam != WM_LBUTTONDOWN && WParam != WM_NCLBUTTONDOWN)) return Result;
  try {
    auto* Picker = Screen.Exists() ? dynamic_cast<TqvDBCustomDateTimePicker*>(Screen->ActiveControl()) : nullptr;
    if (Picker == nullptr || !Picker->IsDroppedDown() || !Picker->HandleAllocated()) return Result;
    POINT Point = reinterpret_cast<MOUSEHOOKSTRUCT*>(LParam)->pt;
    // A press that closes a title menu leaves the calendar down. The menu's loop looks at the
    // press without taking it, and leaves it to the window under it once the menu is closed: the
    // press is known again by its point when it is taken.
    if (Picker->Calendar()->IsPopupMenuShowing()) {
      PressClosingMenu = Point;
      PressClosingMenuSeen = true;
      return Result;
    }
    // A press only looked at is acted on when it is taken.
    if (Code != HC_ACTION) return Result;
    if (PressClosingMenuSeen) {
      PressClosingMenuSeen = false;
      if (Point.x == PressClosingMenu.x && Point.y == PressClosingMenu.y) return Result;
    }
    RECT CalendarRect{}, PickerRect{};
    GetWindowRect(Picker->Calendar()->Handle(), &CalendarRect);
    GetWindowRect(Picker->Handle(), &PickerRect);
    if (!PtInRect(&CalendarRect, Point) && !PtInRect(&PickerRect, Point))
      PostMessageA(Picker->Handle(), CM_CANCELMODE, 0, 0);
  } catch (...) {
  }
  return Result;
}

TDateTime WholeDay(TDateTime Value) { return std::trunc(Value); }
double TimeFraction(TDateTime Value) { return std::fabs(Value - std::trunc(Value)); }
TDateTime JoinDayAndTime(TDateTime Day, double Time) { return Day < 0 ? Day - Time : Day + Time; }

}  // namespace

bool qvDateTimePickerHookInstalled() { return PickerMouseHook.Installed(); }

TqvCalendarOptions::TqvCalendarOptions()
    : FColors(new TqvDateTimeColors), FFont(new TFont), FPopupYearOptions(new TqvPopupYearOptions) {}

TqvCalendarOptions::~TqvCalendarOptions() {
  delete FColors;
  delete FFont;
  delete FPopupYearOptions;
}

void TqvCalendarOptions::Assign(TPersistent* Source) {
  if (auto* From = dynamic_cast<TqvCalendarOptions*>(Source)) {
    Alignment = From->Alignment;
    FirstDayOfWeek = From->FirstDayOfWeek;
    Options = From->Options;
    Width = From->Width;
    Height = From->Height;
    FColors->Assign(From->FColors);
    FFont->Assign(From->FFont);
    FPopupYearOptions->Assign(From->FPopupYearOptions);
    return;
  }
  TPersistent::Assign(Source);
}

void TqvDTInterval::Assign(TPersistent* Source) {
  if (auto* From = dynamic_cast<TqvDTInterval*>(Source)) {
    FMinutesInterval = From->FMinutesInterval;
    RoundMinutes = From->RoundMinutes;
    return;
  }
  TPersistent::Assign(Source);
}

// --- TqvPopupCalendar ----------------------------------------------------------------------------

TqvPopupCalendar::TqvPopupCalendar(TqvDBCustomDateTimePicker* APicker) : TqvMonthCalendar(APicker), FPicker(APicker) {
  ControlStyle.Include(csReplicatable);
  SetVisible(false);
  SetTabStop(false);
}

void TqvPopupCalendar::CreateParams(TCreateParams& Params) {
  TqvMonthCalendar::CreateParams(Params);
  Params.Style = (Params.Style & ~DWORD(WS_CHILD | WS_VISIBLE)) | WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW;
  Params.WindowClass.style |= CS_SAVEBITS;
}

void TqvPopupCalendar::CreateWnd() {
  TqvMonthCalendar::CreateWnd();
  // The calendar believes it has the focus, so that it draws as focused while the picker keeps it.
  CallWindowProcA(FDefWndProc, FHandle, WM_SETFOCUS, 0, 0);
}

void TqvPopupCalendar::Change() {
  TqvMonthCalendar::Change();
  if (!FPicker->CanEditValue()) return;
  FPicker->StartLinkEdit();
  FPicker->SetModifiedFlag(true);
  FPicker->FSettingFromCalendar = true;
  TScopeGuard Done([&] { FPicker->FSettingFromCalendar = false; });
  FPicker->SetDate(Date());
}

void TqvPopupCalendar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEACTIVATE: Message.Result = MA_NOACTIVATE; break;
    case WM_LBUTTONUP: {
      MCHITTESTINFO Hit{};
      Hit.cbSize = sizeof(Hit);
      Hit.pt.x = short(LOWORD(Message.LParam));
      Hit.pt.y = short(HIWORD(Message.LParam));
      SendMessageA(FHandle, MCM_HITTEST, 0, LPARAM(&Hit));
      TqvMonthCalendar::Dispatch(Message);
      // A day chosen by the mouse closes the calendar; the week-day header and week numbers do not.
      if (qvIsDateHit(Hit.uHit) && FPicker->IsDroppedDown()) FPicker->CloseUp(true);
      break;
    }
    default: TqvMonthCalendar::Dispatch(Message); break;
  }
}

// --- TqvDBCustomDateTimePicker: settings ---------------------------------------------------------

TqvDBCustomDateTimePicker::TqvDBCustomDateTimePicker(TComponent* AOwner)
    : TqvDBCustomCombo(AOwner), FInterval(new TqvDTInterval), FCalendarAttributes(new TqvCalendarOptions) {
  SetButtonStyle(cbsDownArrow);
  Epoch = qvIntl != nullptr ? qvIntl->DefaultEpochYear : 1950;
  AutoSelect = false;
}

TqvDBCustomDateTimePicker::~TqvDBCustomDateTimePicker() {
  PickerMouseHook.RemoveUser(this);
  delete FCalendar;
  FCalendar = nullptr;
  delete FInterval;
  FInterval = nullptr;
  delete FCalendarAttributes;
  FCalendarAttributes = nullptr;
}

void TqvDBCustomDateTimePicker::Notification(TComponent* AComponent, TOperation Operation) {
  TqvDBCustomCombo::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FCalendar) FCalendar = nullptr;
}

void TqvDBCustomDateTimePicker::SetUnboundDataType(TqvDTEditDataType Value) {
  if (FUnboundDataType == Value) return;
  FUnboundDataType = Value;
  RefreshText();
  SetShowButton(Kind() != qvDTEdtTime);
}

void TqvDBCustomDateTimePicker::SetDisplayFormat(const String& Value) {
  if (FDisplayFormatDT == Value) return;
  FDisplayFormatDT = Value;
  RefreshText();
}

void TqvDBCustomDateTimePicker::SetDateFormat(TDTDateFormat Value) {
  if (FDateFormat == Value) return;
  FDateFormat = Value;
  RefreshText();
}

TDateTime TqvDBCustomDateTimePicker::EffectiveMinDate() const {
  return FMinDate != 0 ? FMinDate : EncodeDate(1899, 12, 31);
}

TDateTime TqvDBCustomDateTimePicker::EffectiveMaxDate() const {
  return FMaxDate != 0 ? FMaxDate : EncodeDate(9999, 12, 31);
}

void TqvDBCustomDateTimePicker::SetMinDate(TDateTime Value) {
  if (Value != 0 && FMaxDate != 0 && WholeDay(Value) > WholeDay(FMaxDate)) qvRaiseAboveMaximum(FMaxDate);
  FMinDate = Value;
}

void TqvDBCustomDateTimePicker::SetMaxDate(TDateTime Value) {
  if (Value != 0 && FMinDate != 0 && WholeDay(Value) < WholeDay(FMinDate)) qvRaiseBelowMinimum(FMinDate);
  FMaxDate = Value;
}

// --- Value ------------------------------------------------------------------------------------------

void TqvDBCustomDateTimePicker::ShowText(const String& Value) {
  if (Text() == Value) return;
  bool WasModified = Modified();
  FShowingField = true;
  TScopeGuard Restore([&] {
    FShowingField = false;
    SetModified(WasModified);
  });
  SetText(Value);
}

// The value is checked before it is stored: one outside the limits never reaches the picker.
void TqvDBCustomDateTimePicker::SetDateTime(TDateTime Value) {
  TField* F = Field();
  if ((F != nullptr || Value != 0) && Value != 0 && Value == FValue) {
    ShowText(FormatValue(FValue));
    return;
  }
  if (F == nullptr && Value == 0) FEmpty = false;
  if (Value == 0) {
    FValue = 0;
    if (Kind() != qvDTEdtTime) ShowText(String());
    return;
  }
  if (WholeDay(Value) != 0 || Kind() != qvDTEdtTime) {
    if (FMaxDate != 0 && WholeDay(Value) > WholeDay(FMaxDate)) qvRaiseAboveMaximum(FMaxDate);
    if (FMinDate != 0 && WholeDay(Value) < WholeDay(FMinDate)) qvRaiseBelowMinimum(FMinDate);
  }
  FValue = Value;
  ShowText(FormatValue(FValue));
  if (Focused()) SelectCurrentPart();
}

TDateTime TqvDBCustomDateTimePicker::GetDate() {
  ApplyTypedText();
  return Kind() == qvDTEdtTime ? 0 : WholeDay(FValue);
}

TDateTime TqvDBCustomDateTimePicker::GetTime() {
  ApplyTypedText();
  return HasTimePart() ? TimeFraction(FValue) : 0;
}

// The limits are days, and so is what they are compared with: the new day, not its time of day.
void TqvDBCustomDateTimePicker::SetDate(TDateTime Value) {
  if (Kind() == qvDTEdtTime) return;
  if (Field() == nullptr && Value == 0) {
    FEmpty = false;
    SetDateTime(0);
    return;
  }
  TDateTime New = FValue;
  if (WholeDay(Value) != WholeDay(FValue) || FValue == 0) New = JoinDayAndTime(WholeDay(Value), TimeFraction(FValue));
  if (New == 0) {
    FValue = 0;
    ShowText(String());
    Invalidate();
    return;
  }
  TDateTime Old = FValue;
  try {
    if (FMaxDate != 0 && WholeDay(New) > WholeDay(FMaxDate)) qvRaiseAboveMaximum(FMaxDate);
    if (FMinDate != 0 && WholeDay(New) < WholeDay(FMinDate)) qvRaiseBelowMinimum(FMinDate);
    SetDateTime(New);
  } catch (...) {
    FValue = Old;
    ShowText(FormatValue(Old));
    throw;
  }
}

void TqvDBCustomDateTimePicker::SetTime(TDateTime Value) {
  if (Kind() == qvDTEdtDate) return;
  if (Field() == nullptr && Value == 0 && FValue == 0) {
    FEmpty = false;
    SetDateTime(0);
    return;
  }
  if (TimeFraction(Value) == TimeFraction(FValue) && FValue != 0) return;
  TDateTime New = JoinDayAndTime(WholeDay(FValue), TimeFraction(Value));
  if (New == 0) {
    FValue = 0;
    ShowText(FormatValue(0));
    Invalidate();
    return;
  }
  SetDateTime(New);
}

String TqvDBCustomDateTimePicker::GetDisplayText(TDateTime Value) {
  TField* F = Field();
  bool Named = !DataField().empty() || DataSource() != nullptr;
  if (Named && F == nullptr) return String();
  if (F != nullptr && F->IsNull() && !IsDroppedDown()) return String();
  if (F == nullptr && Value == 0 && FEmpty) return String();
  return FormatValue(Value);
}

void TqvDBCustomDateTimePicker::RefreshText() {
  bool Named = !DataField().empty() || DataSource() != nullptr;
  if (Modified()) ShowText(FormatValue(FValue));
  else if (Field() != nullptr || (FValue != 0 && !Named)) ShowText(GetDisplayText(FValue));
  else ShowText(String());
  Invalidate();
}

bool TqvDBCustomDateTimePicker::CanEditValue() {
  if (ReadOnly()) return false;
  TField* F = Field();
  if (F == nullptr) return DataSource() == nullptr && DataField().empty();
  TDataSet* DataSet = F->DataSet();
  if (F->ReadOnly() || DataSet == nullptr || !DataSet->CanModify()) return false;
  if (DataSource() != nullptr && !DataSource()->AutoEdit)
    return DataSet->State() == dsEdit || DataSet->State() == dsInsert;
  return true;
}

bool TqvDBCustomDateTimePicker::CanEditField() {
  TField* F = Field();
  if (F == nullptr) return true;
  TDataSet* DataSet = F->DataSet();
  if (DataSet == nullptr) return false;
  if (DataSet->State() == dsEdit || DataSet->State() == dsInsert) return true;
  return !ReadOnly() && (F->Calculated() || F->Lookup()) && !F->ReadOnly() && DataSet->CanModify();
}

void TqvDBCustomDateTimePicker::SetModifiedFlag(bool On) {
  TField* F = Field();
  if (On && F != nullptr && (ReadOnly() || F->ReadOnly())) return;
  if (On && F != nullptr) FDataLink->Modified();
  SetModified(On);
}

void TqvDBCustomDateTimePicker::StartLinkEdit() {
  if (Field() != nullptr) FDataLink->Edit();
}

// --- Data link ------------------------------------------------------------------------------------

void TqvDBCustomDateTimePicker::DataChange() {
  TField* F = Field();
  if (F == nullptr) {
    if (!DataField().empty() || DataSource() != nullptr) RefreshText();
    return;
  }
  bool Browsing = DataSource() != nullptr && DataSource()->State() == dsBrowse;
  FTyping = false;
  FTypedDigits.clear();
  if (F->IsNull()) {
    FValue = 0;
    ShowText(String());
    if (Browsing || (DataSource() != nullptr && DataSource()->State() == dsInsert)) FCurrentPart = 1;
  } else {
    FValue = F->AsDateTime();
    ShowText(GetDisplayText(FValue));
    if (Browsing) FCurrentPart = 1;
  }
  SetModified(false);
  if (Focused()) SelectAll();
  SetShowButton(Kind() != qvDTEdtTime);
  Invalidate();
}

void TqvDBCustomDateTimePicker::EditingChange() { TCustomEdit::SetReadOnly(!CanEditValue()); }

void TqvDBCustomDateTimePicker::UpdateData() {
  TField* F = Field();
  if (F == nullptr || ReadOnly() || !Modified()) return;
  if (!FDataLink->Editing() && !F->Calculated() && !F->Lookup()) return;
  ApplyTypedText();
  if (Kind() == qvDTEdtTime) {
    TDateTime Day = F->IsNull() ? 0 : WholeDay(F->AsDateTime());
    FValue = JoinDayAndTime(Day, TimeFraction(FValue));
    if (FValue == 0 && Text().empty()) F->Clear();
    else F->SetAsDateTime(FValue);
    return;
  }
  if (!HasTimePart() && FValue != 0) {
    double FieldTime = F->IsNull() ? 0 : TimeFraction(F->AsDateTime());
    FValue = JoinDayAndTime(WholeDay(FValue), FieldTime);
  }
  if (FValue == 0) FEmpty = true;
  if (FValue != 0) F->SetAsDateTime(FValue);
  else if (FEmpty) F->Clear();
}

void TqvDBCustomDateTimePicker::Change() {
  if (FSettingFromCalendar) SetModified(true);
  TCustomEdit::Change();
}

// --- Focus ----------------------------------------------------------------------------------------

void TqvDBCustomDateTimePicker::CMEnter(TMessage& Message) {
  SetEditRect();
  FFocused = true;
  TField* F = Field();
  if (F != nullptr && F->IsNull()) {
    ShowText(String());
  } else {
    FEntryValue = FValue;
    ShowText(GetDisplayText(FValue));
  }
  TqvCustomMaskEdit::Dispatch(Message);
  if (Field() == nullptr) SetModified(false);
  TCustomEdit::SetReadOnly(!CanEditValue());
  if (!Text().empty()) SelectAll();
  if (Frame()->Enabled()) Invalidate();
}

void TqvDBCustomDateTimePicker::CMExit(TMessage& Message) {
  ApplyTypedText();
  if (Modified() && Field() != nullptr) {
    bool WasModified = Modified();
    try {
      FDataLink->UpdateRecord();
    } catch (...) {
      SelectCurrentPart();
      if (CanFocus()) SetFocus();
      SetModified(WasModified);
      throw;
    }
  }
  TqvCustomMaskEdit::Dispatch(Message);
  FFocused = false;
  SetFocusedState(false);
  Invalidate();
  if (Frame()->Enabled()) InvalidateFrameBackground(this);
}

void TqvDBCustomDateTimePicker::DoExit() {
  TqvDBCustomCombo::DoExit();
  if (HandleAllocated()) PostMessageA(FHandle, DestroyCalendarMessage, 0, 0);
}

void TqvDBCustomDateTimePicker::WMDestroyCalendar(TMessage&) {
  if (Focused() || FCalendar == nullptr) return;
  delete FCalendar;
  FCalendar = nullptr;
}

void TqvDBCustomDateTimePicker::WMKillFocus(TMessage& Message) {
  TqvDBCustomCombo::Dispatch(Message);
  CloseUp(true);
}

void TqvDBCustomDateTimePicker::CMCancelMode(TMessage& Message) {
  auto* Sender = reinterpret_cast<TControl*>(Message.LParam);
  if (Sender != nullptr && (Sender == FCalendar || Sender == FButton || Sender == this)) {
    ApplyTypedText();
    return;
  }
  CloseUp(true);
}

void TqvDBCustomDateTimePicker::CNKeyDown(TMessage& Message) {
  WORD Code = WORD(Message.WParam);
  TWinControl* Grid = ParentGrid("TCustomGrid");
  bool GridTabs = Grid != nullptr && (qvGetOrdPropByName(Grid, "Options") & (1LL << 7)) != 0;  // dgTabs
  if (Grid != nullptr && !IsDroppedDown() && (Code == VK_RETURN || (Code == VK_TAB && GridTabs))) {
    // The grid moves on from the cell.
    if (Grid->CanFocus()) Grid->SetFocus();
    if (Grid->Focused()) Grid->Perform(WM_KEYDOWN, Code, Message.LParam);
    Message.Result = 1;
    return;
  }
  if (IsDroppedDown()) {
    WORD Key = WORD(Message.WParam);
    if (Key == VK_TAB) CloseUp(true);
    else if (Key == VK_RETURN || Key == VK_ESCAPE) {
      // Not a dialog key while the calendar is down: the picker closes it with the key.
      Message.Result = 0;
      return;
    }
  }
  TqvDBCustomCombo::Dispatch(Message);
}

void TqvDBCustomDateTimePicker::Dispatch(TMessage& Message) {
  if (Message.Msg == DestroyCalendarMessage) {
    WMDestroyCalendar(Message);
    return;
  }
  switch (Message.Msg) {
    case CM_ENTER: CMEnter(Message); break;
    case CM_EXIT: CMExit(Message); break;
    case CM_CANCELMODE: CMCancelMode(Message); break;
    case CN_KEYDOWN: CNKeyDown(Message); break;
    case WM_KILLFOCUS: WMKillFocus(Message); break;
    case WM_LBUTTONDOWN: WMLButtonDown(Message); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(Message); break;
    case WM_CUT: WMCut(Message); break;
    case WM_PASTE: WMPaste(Message); break;
    default: TqvDBCustomCombo::Dispatch(Message); break;
  }
}

// --- Drop-down --------------------------------------------------------------------------------------

bool TqvDBCustomDateTimePicker::IsDroppedDown() {
  return FCalendar != nullptr && FCalendar->HandleAllocated() && IsWindowVisible(FCalendar->Handle());
}

// The value a picker takes when the user starts on an empty one: today, kept within the limits.
TDateTime TqvDBCustomDateTimePicker::InitialValue() {
  TDateTime Today = ::Date();
  if (AutoFillDateAndTime && HasTimePart() && !UsesDefaultFormat()) Today = Now();
  if (FMinDate != 0 && WholeDay(Today) < WholeDay(FMinDate)) return FMinDate;
  if (FMaxDate != 0 && WholeDay(Today) > WholeDay(FMaxDate)) return FMaxDate;
  return Today;
}

void TqvDBCustomDateTimePicker::DropDown() {
  if (IsDroppedDown()) return;
  bool Named = !DataField().empty() || DataSource() != nullptr;
  if ((Named && Field() == nullptr) || Kind() == qvDTEdtTime) return;
  if (!CanEditValue()) {
    if (HandleAllocated()) HideCaret(FHandle);
    TCustomEdit::SetReadOnly(true);
    return;
  }
  TCustomEdit::SetReadOnly(false);
  FValueAtDropDown = FValue;
  ApplyTypedText();
  if (HandleAllocated()) HideCaret(FHandle);

  TPoint TopLeft = Parent() != nullptr ? Parent()->ClientToScreen(TPoint(Left(), Top())) : ClientOrigin();
  int Y = TopLeft.Y + Height() - (BorderStyle() == bsSingle ? 1 : 0);
  bool Created = FCalendar == nullptr;
  if (Created) {
    FCalendar = new TqvPopupCalendar(this);
    FCalendar->SetParent(this);
  }
  FCalendar->OnCalcBoldDay = OnCalcBoldDay;
  FCalendar->SetOptions(FCalendarAttributes->Options);
  FCalendar->Font()->Assign(FCalendarAttributes->Font());
  FCalendar->SetPopupYearOptions(FCalendarAttributes->PopupYearOptions());
  FCalendar->SetFirstDayOfWeek(FCalendarAttributes->FirstDayOfWeek);
  FCalendar->HandleNeeded();
  FCalendar->SetCalColors(FCalendarAttributes->Colors());
  // The limits go over as they are: a new maximum below the calendar's old minimum must not raise.
  FCalendar->SetMinDate(0);
  FCalendar->SetMaxDate(FMaxDate);
  FCalendar->SetMinDate(FMinDate);

  if (Text().empty() || FValue == 0) {
    StartLinkEdit();
    SetModifiedFlag(true);
    FEmpty = false;
    SetDateTime(InitialValue());
  }
  ShowText(FormatValue(FValue));
  FCalendar->ApplyDate(FValue);
  SetSelStart(0);
  SetSelLength(0);
  if (OnDropDown) OnDropDown(this);
  FSavedShowHint = ShowHint();
  SetShowHint(false);

  TSize Size = FCalendar->MinimumSize();
  if (FCalendarAttributes->Width > Size.cx) Size.cx = FCalendarAttributes->Width;
  if (FCalendarAttributes->Height > Size.cy) Size.cy = FCalendarAttributes->Height;
  TRect Work;
  qvGetWorkArea(Work);
  if (Work.IsEmpty()) Work = Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  if (Y + Size.cy > Work.Bottom && TopLeft.Y - Size.cy > 0) Y = TopLeft.Y - Size.cy;
  // Right and centre leave the width of a scroll bar at the right, over the picker's button.
  int ScrollBar = std::max(GetSystemMetrics(SM_CXVSCROLL), 15);
  bool Fits = TopLeft.X + Size.cx < Work.Right;
  int RightAligned = TopLeft.X + Width() - Size.cx - 1;
  int X = TopLeft.X;
  switch (FCalendarAttributes->Alignment) {
    case qvdtaLeft: X = Fits ? TopLeft.X : RightAligned; break;
    case qvdtaRight: X = Fits ? RightAligned - ScrollBar : RightAligned; break;
    case qvdtaCenter: X = Fits ? TopLeft.X + (Width() - Size.cx - ScrollBar - 1) / 2 : RightAligned; break;
  }
  X = std::max(Work.Left, X);
  FCalendar->SetBounds(X + 1, Y, Size.cx, Size.cy);
  SetWindowPos(FCalendar->Handle(), HWND_TOPMOST, X + 1, Y, Size.cx, Size.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  PickerMouseHook.AddUser(this);
}

void TqvDBCustomDateTimePicker::CloseUp(bool Accept) {
  if (FClosing) return;
  FClosing = true;
  TScopeGuard Done([&] {
    FClosing = false;
    PickerMouseHook.RemoveUser(this);
  });
  if (!IsDroppedDown()) return;
  if (HWND Capture = GetCapture()) SendMessageA(Capture, WM_CANCELMODE, 0, 0);
  TDateTime Chosen = Accept ? WholeDay(FCalendar->Date()) : 0;
  SetWindowPos(FCalendar->Handle(), nullptr, 0, 0, 0, 0,
               SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  if (Accept) {
    if (CanEditField() && Chosen != 0 && Chosen != WholeDay(FValue)) {
      SetDate(Chosen);
      SetModifiedFlag(true);
    }
  } else {
    FValue = FValueAtDropDown;
    ShowText(FValue == 0 ? String() : FormatValue(FValue));
  }
  if (OnCloseUp) OnCloseUp(this);
  SetShowHint(FSavedShowHint);
  if (HandleAllocated()) ShowCaret(FHandle);
  Invalidate();
  SelectAll();
}
