// This file implements the date routines, the calendars and the date combo with its control.
#include "kwBarDateCombo.h"

#include <algorithm>
#include <cmath>

#include "DateTime.h"
#include "StdCtrls.h"
#include "DateTimeFormat.h"
#include "FormatSettings.h"
#include "Resources.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "UtilityWindow.h"
#include "kwBarControl.h"
#include "kwBarItems.h"
#include "kwBarManager.h"
#include "kwBarUtils.h"
#include "kwBars.h"

namespace {

TPoint PointOf(LPARAM LParam) { return TPoint(short(LOWORD(LParam)), short(HIWORD(LParam))); }

// The timer of the header's arrows.
constexpr UINT_PTR ArrowTimer = 1;
constexpr UINT ArrowRepeat = 170;

bool SameName(String A, String B) {
  while (!A.empty() && A.back() == '.') A.pop_back();
  while (!B.empty() && B.back() == '.') B.pop_back();
  return !A.empty() && AnsiUpperCase(A) == AnsiUpperCase(B);
}

bool IsDayName(const String& Word) {
  for (int i = 0; i < 7; ++i)
    if (SameName(Word, FormatSettings.ShortDayNames[i]) || SameName(Word, FormatSettings.LongDayNames[i]))
      return true;
  return false;
}

void FillColor(HDC DC, const TRect& Rect, COLORREF Color) {
  HBRUSH brush = CreateSolidBrush(Color);
  FillRect(DC, AsRECT(Rect), brush);
  DeleteObject(brush);
}

void TextIn(HDC DC, const TRect& Rect, const String& Text, UINT Format) {
  RECT r = *AsRECT(Rect);
  DrawTextA(DC, Text.c_str(), int(Text.size()), &r, Format | DT_SINGLELINE | DT_NOPREFIX);
}


// The form of the date dialog, made without a description.
class TkwBarDateDialogForm : public TForm {
 public:
  TkwBarDateDialogForm() : TForm(nullptr, true) {}
};

// The date dialog of the combo's click: an edit and a calendar that follow each other, OK and
// Cancel, and the Today and Clear buttons when the combo shows them.
class TkwBarDateDialog : public TObject {
 public:
  TkwBarDateDialog(TkwBarDateCombo* Combo, TForm* Form) : FCombo(Combo), FForm(Form) {
    Form->SetBorderStyle(bsDialog);
    Form->SetPosition(poScreenCenter);
    Form->SetCaption(GetLocalizedResourceString(&kwSSelectDate));
    FEdit = new TEdit(Form);
    FEdit->SetParent(Form);
    FCalendar = new TkwBarDateNavigator(Form, Combo, false);
    FCalendar->SetCalendarStyle(0);
    FCalendar->SetParent(Form);
    FCalendar->SetVisible(true);
    FCalendar->HandleNeeded();
    FCalendar->Perform(CM_FONTCHANGED);
    FOk = AddButton(GetLocalizedResourceString(&kwSOK), mrOk);
    FOk->SetDefault(true);
    FCancel = AddButton(GetLocalizedResourceString(&kwSCancel), mrCancel);
    FCancel->Cancel = true;
    if (Combo->ShowTodayButton()) FToday = AddButton(GetLocalizedResourceString(&kwSToday), mrNone);
    if (Combo->ShowClearButton()) FClear = AddButton(GetLocalizedResourceString(&kwSClear), mrNone);
    Place();
    TDateTime date = Combo->Date();
    FEdit->SetText(Combo->FormatDateText(date));
    FCalendar->SelectDate(date == NullDate ? DayOfDate(::Date()) : date);
    if (date == NullDate) FCalendar->SelectDate(NullDate);
    FEdit->OnChange = TNotifyEvent(this, &TkwBarDateDialog::EditChanged);
    FCalendar->OnDateChosen = TkwBarDateChosenEvent(this, &TkwBarDateDialog::CalendarChosen);
    Form->SetActiveControl(FEdit);
  }
  TDateTime Value() const { return ParseDate(FEdit->Text()); }

 private:
  TButton* AddButton(const String& Caption, TModalResult Result) {
    auto* button = new TButton(FForm);
    button->SetParent(FForm);
    button->SetCaption(Caption);
    button->ModalResult = Result;
    if (Result == mrNone) button->OnClick = TNotifyEvent(this, &TkwBarDateDialog::ButtonClicked);
    return button;
  }
  void Place() {
    TSize calendar = FCalendar->CalcSize();
    int buttonWidth = FCalendar->TodayButtonWidth() * 3 / 2;
    int buttonHeight = FCalendar->ButtonsHeight() * 7 / 6;
    int gap = std::max(2, FCalendar->ButtonsHeight() / 4);
    int editHeight = FEdit->Height();
    FEdit->SetBounds(gap, gap, calendar.cx, editHeight);
    FCalendar->SetBounds(gap, 2 * gap + editHeight, calendar.cx, calendar.cy);
    int column = 2 * gap + calendar.cx;
    FOk->SetBounds(column, gap, buttonWidth, buttonHeight);
    FCancel->SetBounds(column, 2 * gap + buttonHeight, buttonWidth, buttonHeight);
    int clientHeight = 3 * gap + editHeight + calendar.cy;
    int bottom = clientHeight - gap;
    if (FClear) {
      FClear->SetBounds(column, bottom - buttonHeight, buttonWidth, buttonHeight);
      bottom -= buttonHeight + gap;
    }
    if (FToday) FToday->SetBounds(column, bottom - buttonHeight, buttonWidth, buttonHeight);
    FForm->SetClientWidth(calendar.cx + buttonWidth + 3 * gap);
    FForm->SetClientHeight(clientHeight);
  }
  void EditChanged(TObject*) {
    if (FWriting) return;
    String text = Trim(FEdit->Text());
    TDateTime date = ParseDate(text);
    if (date != NullDate || text.empty()) FCalendar->SelectDate(date);
  }
  void Write(TDateTime Date) {
    FWriting = true;
    TScopeGuard reset([&] { FWriting = false; });
    FEdit->SetText(FCombo->FormatDateText(Date));
  }
  void CalendarChosen(TObject*) { Write(FCalendar->SelStart()); }
  void ButtonClicked(TObject* Sender) {
    TDateTime date = Sender == FToday ? DayOfDate(::Date()) : NullDate;
    FCalendar->SelectDate(date);
    Write(date);
  }

  TkwBarDateCombo* FCombo;
  TForm* FForm;
  TEdit* FEdit = nullptr;
  TkwBarDateNavigator* FCalendar = nullptr;
  TButton *FOk = nullptr, *FCancel = nullptr, *FToday = nullptr, *FClear = nullptr;
  bool FWriting = false;
};

}  // namespace

// --- Date routines ----------------------------------------------------------------------------------

void StepMonthBack(int& Year, int& Month) {
  if (Month == 1) {
    Month = 12;
    --Year;
  } else {
    --Month;
  }
}

void StepMonthForward(int& Year, int& Month) {
  if (Month == 12) {
    Month = 1;
    ++Year;
  } else {
    ++Month;
  }
}

void ShiftMonths(int& Year, int& Month, int Count) {
  Year += Count / 12;
  Month += Count % 12;
  if (Month > 12) {
    Month -= 12;
    ++Year;
  } else if (Month < 1) {
    Month += 12;
    --Year;
  }
}

int DatePart(TDateTime Date, int Kind) {
  int year, month, day;
  DecodeDate(Date, year, month, day);
  switch (Kind) {
    case 1: return year;
    case 2: return month;
    case 3: return day;
    default: return -1;
  }
}

int MonthLength(int Year, int Month) {
  static const int Lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (Month < 1 || Month > 12) return 0;
  return Month == 2 && IsLeapYear(Year) ? 29 : Lengths[Month - 1];
}

int ClampDay(int Year, int Month, int Day) { return std::clamp(Day, 1, std::max(1, MonthLength(Year, Month))); }

TDateTime DayOfDate(TDateTime Date) { return std::trunc(Date + 1e-11); }

TDateTime ParseDate(const String& Text) {
  String s = Trim(Text);
  // A day name before the date ("ven. 11/12/2026") is skipped.
  std::size_t blank = s.find(' ');
  if (blank != String::npos && IsDayName(s.substr(0, blank))) s = Trim(s.substr(blank + 1));
  if (s.empty()) return NullDate;
  // Dots, blanks and dashes between the numbers are the date separator.
  String numbers;
  bool separator = false;
  for (char c : s) {
    if (c >= '0' && c <= '9') {
      if (separator && !numbers.empty()) numbers += FormatSettings.DateSeparator;
      separator = false;
      numbers += c;
    } else if (c == '.' || c == ' ' || c == '-' || c == '/' || c == FormatSettings.DateSeparator) {
      separator = true;
    } else {
      return NullDate;
    }
  }
  TDateTime date;
  return TryStrToDate(numbers, date) ? date : NullDate;
}

String FormatDate(TDateTime Date) {
  if (Date == NullDate) return String();
  return FormatDateTime(FormatSettings.ShortDateFormat, Date);
}

int WeekdayIndex(TDateTime Date) {
  // DayOfWeek counts from Sunday (1); the first day of the week from Monday (1).
  int fromMonday = (DayOfWeek(Date) + 5) % 7;
  return (fromMonday - (FormatSettings.FirstDayOfWeek - 1) + 7) % 7;
}

// --- TkwBarCustomCalendar ---------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarCustomCalendar)

TkwBarCustomCalendar::TkwBarCustomCalendar(TComponent* AOwner) : TCustomControl(AOwner) {
  TDateTime today = DayOfDate(::Date());
  FFirstDate = EncodeDate(DatePart(today, 1), DatePart(today, 2), 1);
  FSelStart = today;
  FSelFinish = today;
}

void TkwBarCustomCalendar::SetCalendarStyle(int Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  // The frame follows the style: the window is made again when it is next needed.
  if (HandleAllocated()) DestroyHandle();
}

void TkwBarCustomCalendar::SetFirstDate(TDateTime Value) {
  if (Value == NullDate) return;
  TDateTime first = EncodeDate(DatePart(Value, 1), DatePart(Value, 2), 1);
  if (first == FFirstDate) return;
  FFirstDate = first;
  Invalidate();
}

TDateTime TkwBarCustomCalendar::GetFirstVisibleDate() const {
  int index = WeekdayIndex(FFirstDate);
  // A month that starts on the first day of the week shows the whole week before it.
  return FFirstDate - (index == 0 ? 7 : index);
}

TDateTime TkwBarCustomCalendar::GetLastDateOfFirstMonth() const {
  int year = DatePart(FFirstDate, 1), month = DatePart(FFirstDate, 2);
  return EncodeDate(year, month, MonthLength(year, month));
}

TDateTime TkwBarCustomCalendar::SelStart() const {
  if (FSelFinish == NullDate) return FSelStart;
  return std::min(FSelStart, FSelFinish);
}

TDateTime TkwBarCustomCalendar::SelFinish() const {
  if (FSelFinish == NullDate) return FSelStart;
  return std::max(FSelStart, FSelFinish);
}

void TkwBarCustomCalendar::SelectDate(TDateTime Value) {
  FSelStart = Value;
  FSelFinish = NullDate;
  SetSelFinish(Value);
}

void TkwBarCustomCalendar::SetSelFinish(TDateTime Value) {
  if (Value == FSelFinish) return;
  FSelFinish = Value;
  MakeSelectionVisible();
  Invalidate();
}

void TkwBarCustomCalendar::MakeSelectionVisible() {
  TDateTime start = SelStart();
  if (start == NullDate) return;
  if (start < FFirstDate || start > GetLastDateOfFirstMonth()) SetFirstDate(start);
}

// --- TAMonthListBox ---------------------------------------------------------------------------------

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TAMonthListBox)

TAMonthListBox::TAMonthListBox(TComponent* AOwner, TkwBarDateNavigator* Calendar)
    : TCustomControl(AOwner), FCalendar(Calendar), FTopDate(Calendar->FirstDate()) {
  SetVisible(false);
  Font()->Assign(Calendar->Font());
  FRowHeight = std::max(1, Calendar->RowHeight() - 2);
  // A top-level window owned by the calendar's.
  SetParentWindow(Calendar->Handle());
  SetBounds(0, 0, 2 * GetSystemMetrics(SM_CXBORDER) + 6 * Calendar->ColumnWidth(),
            2 * GetSystemMetrics(SM_CYBORDER) + 7 * FRowHeight);
}

TAMonthListBox::~TAMonthListBox() {
  if (FTimerId && HandleAllocated()) KillTimer(Handle(), FTimerId);
  if (HandleAllocated()) DestroyHandle();
}

void TAMonthListBox::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = (Params.Style & ~WS_CHILD) | WS_POPUP | WS_BORDER;
  Params.ExStyle |= WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  Params.WindowClass.style |= CS_SAVEBITS;
  Params.WndParent = FCalendar->Handle();
}

void TAMonthListBox::CreateWindowHandle(const TCreateParams& Params) {
  CreateWindowExA(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(), Params.Style, Params.X,
                  Params.Y, Params.Width, Params.Height, Params.WndParent, nullptr, Params.WindowClass.hInstance,
                  Params.Param);
}

void TAMonthListBox::SetTopDate(TDateTime Value) {
  TDateTime first = EncodeDate(DatePart(Value, 1), DatePart(Value, 2), 1);
  if (first == FTopDate) return;
  FTopDate = first;
  Invalidate();
}

TRect TAMonthListBox::RowRect(int Row) const { return TRect(0, Row * FRowHeight, ClientWidth(), (Row + 1) * FRowHeight); }

TDateTime TAMonthListBox::Value() const {
  if (FSelected < 0) return NullDate;
  int year = DatePart(FTopDate, 1), month = DatePart(FTopDate, 2);
  ShiftMonths(year, month, FSelected);
  return EncodeDate(year, month, 1);
}

void TAMonthListBox::Paint() {
  HDC dc = Canvas()->Handle();
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  SetBkMode(dc, TRANSPARENT);
  int year = DatePart(FTopDate, 1), month = DatePart(FTopDate, 2);
  for (int row = 0; row < 7; ++row) {
    bool selected = row == FSelected;
    FillColor(dc, RowRect(row), GetSysColor(selected ? COLOR_WINDOWTEXT : COLOR_WINDOW));
    SetTextColor(dc, GetSysColor(selected ? COLOR_WINDOW : COLOR_WINDOWTEXT));
    TextIn(dc, RowRect(row), FormatSettings.LongMonthNames[month - 1] + " " + IntToStr(year), DT_CENTER | DT_VCENTER);
    StepMonthForward(year, month);
  }
  SelectObject(dc, old);
}

void TAMonthListBox::TrackMouse(TPoint Point) {
  int row = -1;
  int distance = 0;
  if (ClientRect().Contains(Point))
    row = Point.Y / FRowHeight;
  else if (Point.Y < 0)
    distance = Point.Y;
  else if (Point.Y >= ClientHeight())
    distance = Point.Y - ClientHeight() + 1;
  if (row != FSelected) {
    FSelected = row;
    Invalidate();
  }
  int speed = distance == 0 ? 0 : (distance > 0 ? 1 : -1) + distance / 12;
  SetScrollSpeed(std::clamp(speed, -4, 4));
}

void TAMonthListBox::SetScrollSpeed(int Speed) {
  UINT_PTR id = Speed ? UINT_PTR(Speed + 5) : 0;
  if (id == FTimerId || !HandleAllocated()) return;
  if (FTimerId) KillTimer(Handle(), FTimerId);
  FTimerId = id;
  static const UINT Intervals[4] = {500, 250, 100, 50};
  if (id) SetTimer(Handle(), id, Intervals[std::abs(Speed) - 1], nullptr);
}

void TAMonthListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_TIMER:
      if (FTimerId && Message.WParam == FTimerId) {
        // Mouse moves can come merged or late: the speed follows where the pointer is now.
        POINT cursor;
        if (GetCursorPos(&cursor) && ::ScreenToClient(Handle(), &cursor)) TrackMouse(TPoint(cursor.x, cursor.y));
        if (!FTimerId) return;
        int year = DatePart(FTopDate, 1), month = DatePart(FTopDate, 2);
        // The timers above the list have the ids below 6.
        if (FTimerId < 6)
          StepMonthBack(year, month);
        else
          StepMonthForward(year, month);
        SetTopDate(EncodeDate(year, month, 1));
        return;
      }
      TCustomControl::Dispatch(Message);
      break;
    case WM_ERASEBKGND: Message.Result = 1; break;
    case WM_MOUSEACTIVATE: Message.Result = MA_NOACTIVATE; break;
    default: TCustomControl::Dispatch(Message); break;
  }
}

// --- TkwBarDateNavigator ----------------------------------------------------------------------------

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TkwBarDateNavigator)

TkwBarDateNavigator::TkwBarDateNavigator(TComponent* AOwner, TkwBarDateCombo* Combo, bool IsPopup)
    : TkwBarCustomCalendar(AOwner), FCombo(Combo), FIsPopup(IsPopup) {
  SetVisible(false);
  if (FIsPopup) {
    // A top-level window: owned by a hidden window, never by a form.
    FOwnerWindow = AllocateHWnd(TWndMethod(this, &TkwBarDateNavigator::OwnerWndProc));
    SetParentWindow(FOwnerWindow);
  }
  CalcMetrics();
}

TkwBarDateNavigator::~TkwBarDateNavigator() {
  CloseMonthList();
  if (HandleAllocated()) DestroyHandle();
  if (FOwnerWindow) DeallocateHWnd(FOwnerWindow);
  FOwnerWindow = nullptr;
}

void TkwBarDateNavigator::OwnerWndProc(TMessage& Message) {
  Message.Result = DefWindowProcA(FOwnerWindow, Message.Msg, Message.WParam, Message.LParam);
}

void TkwBarDateNavigator::CreateParams(TCreateParams& Params) {
  TkwBarCustomCalendar::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
  if (FIsPopup) {
    Params.Style = (Params.Style & ~WS_CHILD) | WS_POPUP;
    if (FStyle != 2) Params.Style |= WS_DLGFRAME;
    Params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    Params.WindowClass.style |= CS_SAVEBITS;
    Params.WndParent = FOwnerWindow;
  } else if (!HasOwnBorder()) {
    Params.ExStyle |= WS_EX_CLIENTEDGE;
  }
}

void TkwBarDateNavigator::CreateWindowHandle(const TCreateParams& Params) {
  if (!FIsPopup) {
    TkwBarCustomCalendar::CreateWindowHandle(Params);
    return;
  }
  // A top-level window takes no child identifier (it would be read as a menu handle).
  CreateWindowExA(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(), Params.Style, Params.X,
                  Params.Y, Params.Width, Params.Height, Params.WndParent, nullptr, Params.WindowClass.hInstance,
                  Params.Param);
}

void TkwBarDateNavigator::CreateWnd() {
  TkwBarCustomCalendar::CreateWnd();
  Perform(CM_FONTCHANGED);
}

void TkwBarDateNavigator::CalcMetrics() {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  SIZE zero{}, today{}, clear{};
  GetTextExtentPoint32A(dc, "0", 1, &zero);
  String todayText = GetLocalizedResourceString(&kwSToday);
  String clearText = GetLocalizedResourceString(&kwSClear);
  GetTextExtentPoint32A(dc, todayText.c_str(), int(todayText.size()), &today);
  GetTextExtentPoint32A(dc, clearText.c_str(), int(clearText.size()), &clear);
  // The locale's short day names ("lun.", "mer.") are wider than three digits: a column takes the
  // widest, right-aligned 3 pixels from its edge, with a pixel to spare on its left.
  int names = 0;
  for (const String& name : FormatSettings.ShortDayNames) {
    SIZE size{};
    GetTextExtentPoint32A(dc, name.c_str(), int(name.size()), &size);
    names = std::max(names, int(size.cx));
  }
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  FColWidth = std::max(3 * zero.cx, names + 4);
  FSideWidth = 2 * zero.cx;
  FRowHeight = zero.cy + 2;
  FHeaderHeight = zero.cy + 4 + (HasOwnBorder() ? 1 : 0);
  FDayNamesHeight = FRowHeight + 1;
  FTodayWidth = today.cx + FColWidth;
  FClearWidth = clear.cx + FColWidth;
  int size = std::abs(Font()->Size());
  FButtonsOffset = size / 2;
  FButtonsHeight = size * 5 / 2;
  FButtonsRegionHeight = size * 3 / 4 + FButtonsHeight + FButtonsOffset;
}

TSize TkwBarDateNavigator::CalcSize() {
  int ncWidth = 0, ncHeight = 0;
  if (HandleAllocated()) {
    RECT window, client;
    GetWindowRect(Handle(), &window);
    GetClientRect(Handle(), &client);
    ncWidth = (window.right - window.left) - client.right;
    ncHeight = (window.bottom - window.top) - client.bottom;
  }
  int width = ncWidth + 2 * FSideWidth + 7 * FColWidth;
  int height = ncHeight + FHeaderHeight + FDayNamesHeight + 6 * FRowHeight + 1 + (HasOwnBorder() ? 0 : 1);
  if (HasButtons()) height += FButtonsRegionHeight;
  return TSize(width, height);
}

TRect TkwBarDateNavigator::TitleRect() const {
  return TRect(FColWidth, 0, ClientWidth() - FColWidth, FHeaderHeight);
}

TRect TkwBarDateNavigator::PrevArrowRect() const { return TRect(1, 1, FColWidth - 1, FHeaderHeight - 1); }

TRect TkwBarDateNavigator::NextArrowRect() const {
  return TRect(ClientWidth() - FColWidth, 1, ClientWidth() - (HasOwnBorder() ? 0 : 1), FHeaderHeight - 1);
}

TRect TkwBarDateNavigator::TodayButtonRect() const {
  if (!HasButtons() || !ShowTodayButton) return TRect();
  int width = ClientWidth();
  int top = ClientHeight() + FButtonsOffset - FButtonsRegionHeight;
  int left = ShowClearButton ? (width - FTodayWidth - FClearWidth) / 3 : (width - FTodayWidth) / 2;
  return TRect(left, top, left + FTodayWidth, top + FButtonsHeight);
}

TRect TkwBarDateNavigator::ClearButtonRect() const {
  if (!HasButtons() || !ShowClearButton) return TRect();
  int width = ClientWidth();
  int top = ClientHeight() + FButtonsOffset - FButtonsRegionHeight;
  int left = ShowTodayButton ? width - (width - FTodayWidth - FClearWidth) / 3 - FClearWidth
                             : (width - FClearWidth) / 2;
  return TRect(left, top, left + FClearWidth, top + FButtonsHeight);
}

TRect TkwBarDateNavigator::DayRect(TDateTime Date) const {
  int index = int(DayOfDate(Date) - GetFirstVisibleDate());
  if (index < 0 || index > 41) return TRect();
  int top = FHeaderHeight + (HasOwnBorder() ? 0 : 1) + FDayNamesHeight + (index / 7) * FRowHeight;
  int left = FSideWidth + (index % 7) * FColWidth;
  return TRect(left, top, left + FColWidth, top + FRowHeight);
}

TDateTime TkwBarDateNavigator::GetDateAtPos(TPoint Point) const {
  int top = FHeaderHeight + (HasOwnBorder() ? 0 : 1) + FDayNamesHeight;
  if (Point.X < FSideWidth || Point.Y < top || FColWidth <= 0 || FRowHeight <= 0) return NullDate;
  int column = (Point.X - FSideWidth) / FColWidth, row = (Point.Y - top) / FRowHeight;
  if (column > 6 || row > 5) return NullDate;
  return GetFirstVisibleDate() + row * 7 + column;
}

void TkwBarDateNavigator::SetSelFinish(TDateTime Value) { TkwBarCustomCalendar::SetSelFinish(Value); }

void TkwBarDateNavigator::StepMonth(int Delta) {
  int year = DatePart(FFirstDate, 1), month = DatePart(FFirstDate, 2);
  ShiftMonths(year, month, Delta);
  SetFirstDate(EncodeDate(year, month, 1));
}

void TkwBarDateNavigator::DoDateChosen() {
  if (OnDateChosen) OnDateChosen(this);
}

void TkwBarDateNavigator::CancelTracking() {
  if (FArrowHeld && HandleAllocated()) KillTimer(Handle(), ArrowTimer);
  FArrowHeld = 0;
  FDragging = false;
  FButtonActive = 0;
  FButtonPressed = false;
  CloseMonthList();
  if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
}

void TkwBarDateNavigator::OpenMonthList() {
  CloseMonthList();
  FMonthList = new TAMonthListBox(nullptr, this);
  int year = DatePart(FFirstDate, 1), month = DatePart(FFirstDate, 2);
  ShiftMonths(year, month, -3);
  FMonthList->SetTopDate(EncodeDate(year, month, 1));
  FMonthList->HandleNeeded();
  // Centred over the title; the calendar keeps the mouse and passes its moves on.
  TRect title = TitleRect();
  POINT centre = {(title.Left + title.Right) / 2, (title.Top + title.Bottom) / 2};
  ::ClientToScreen(Handle(), &centre);
  int width = FMonthList->Width(), height = FMonthList->Height();
  SetWindowPos(FMonthList->Handle(), HWND_TOPMOST, centre.x - width / 2, centre.y - height / 2, 0, 0,
               SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  SetCapture(Handle());
}

void TkwBarDateNavigator::CloseMonthList() {
  delete FMonthList;
  FMonthList = nullptr;
}

void TkwBarDateNavigator::PaintButton(HDC DC, const TRect& Rect, const String& Caption, bool Pressed) {
  TkwBarItemLink* link = FCombo ? FCombo->GetActiveLink() : nullptr;
  const TkwBarItemControlPainter* painter = ItemPainterOf(FCombo ? FCombo->BarManager() : nullptr);
  if (painter) painter->DrawDateNavigatorButton(link ? link->Control() : nullptr, DC, Pressed, Caption, Rect);
}

void TkwBarDateNavigator::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Font()->Assign(Font());
  HDC dc = canvas->Handle();
  TRect client = ClientRect();
  const TkwBarItemControlPainter* painter = ItemPainterOf(FCombo ? FCombo->BarManager() : nullptr);
  FillColor(dc, client, GetSysColor(COLOR_WINDOW));
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldFont = SelectObject(dc, Font()->Handle());

  // The header: its edge, the arrows and the month's title.
  TRect header(0, 0, client.Right, FHeaderHeight);
  COLORREF headerColor = painter ? painter->GetDateNavigatorHeaderColor() : GetSysColor(COLOR_BTNFACE);
  FillColor(dc, header, headerColor);
  if (FStyle == 2) {
    FillRect(dc, AsRECT(TRect(0, header.Bottom - 1, header.Right, header.Bottom)), SysBrush(COLOR_BTNSHADOW));
  } else {
    RECT r = *AsRECT(header);
    DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
  }
  int arrow = FHeaderHeight / 2;
  if (arrow % 2 == 0) --arrow;
  HBRUSH arrowBrush = SysBrush(COLOR_BTNTEXT);
  for (int side : {-1, 1}) {
    TRect box = side < 0 ? PrevArrowRect() : NextArrowRect();
    int half = arrow / 2;
    int cy = (box.Top + box.Bottom) / 2;
    int tip = side < 0 ? box.Left + (box.Width() - half) / 2 : box.Right - (box.Width() - half) / 2 - 1;
    // One column of the triangle per step away from its tip.
    for (int i = 0; i <= half; ++i) {
      int x = tip - side * i;
      FillRect(dc, AsRECT(TRect(x, cy - i, x + 1, cy + i + 1)), arrowBrush);
    }
    ExcludeClipRect(dc, box.Left, box.Top, box.Right, box.Bottom);
  }
  int year = DatePart(FFirstDate, 1), month = DatePart(FFirstDate, 2);
  String title = FormatSettings.LongMonthNames[month - 1] + " " + IntToStr(year);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  TextIn(dc, TitleRect(), title, DT_CENTER | DT_VCENTER);
  SelectClipRgn(dc, nullptr);

  // The day names, right-aligned in their columns, over a shadow line.
  int namesTop = FHeaderHeight + (HasOwnBorder() ? 0 : 1);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  for (int i = 0; i < 7; ++i) {
    const String& name = FormatSettings.ShortDayNames[(FormatSettings.FirstDayOfWeek + i) % 7];
    int left = FSideWidth + i * FColWidth;
    TextIn(dc, TRect(left, namesTop, left + FColWidth - 3, namesTop + FRowHeight), name, DT_RIGHT | DT_VCENTER);
  }
  int lineY = namesTop + FDayNamesHeight - 2;
  FillRect(dc, AsRECT(TRect(FSideWidth, lineY, client.Right - FSideWidth, lineY + 1)), SysBrush(COLOR_BTNSHADOW));

  // The six weeks.
  TDateTime first = GetFirstVisibleDate();
  TDateTime today = DayOfDate(::Date());
  TDateTime selStart = SelStart(), selFinish = SelFinish();
  bool flat = FStyle == 2;
  TkwBarManager* manager = FCombo ? FCombo->BarManager() : nullptr;
  COLORREF selectedBack = flat && manager && manager->FlatBrush(4) ? BrushColor(manager->FlatBrush(4))
                          : HasOwnBorder()                          ? GetSysColor(COLOR_BTNFACE)
                                                                    : GetSysColor(COLOR_HIGHLIGHT);
  COLORREF selectedText = flat ? GetSysColor(COLOR_WINDOWTEXT) : GetSysColor(COLOR_HIGHLIGHTTEXT);
  for (int i = 0; i < 42; ++i) {
    TDateTime day = first + i;
    TRect cell = DayRect(day);
    bool inMonth = DatePart(day, 2) == month;
    String number = IntToStr(DatePart(day, 3));
    if (day == today) {
      HBRUSH frame = CreateSolidBrush(RGB(128, 0, 0));
      FrameRect(dc, AsRECT(cell), frame);
      DeleteObject(frame);
      InflateBy(cell, -1, -1);
    }
    bool selected = selStart != NullDate && day >= selStart && day <= selFinish;
    if (selected) {
      FillColor(dc, cell, selectedBack);
      SetTextColor(dc, selectedText);
    } else {
      SetTextColor(dc, GetSysColor(inMonth ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    }
    TextIn(dc, TRect(cell.Left, cell.Top, cell.Right - 3, cell.Bottom), number, DT_RIGHT | DT_VCENTER);
  }

  // The buttons of a popup calendar under a shadow line.
  if (HasButtons()) {
    int top = client.Bottom - FButtonsRegionHeight;
    FillRect(dc, AsRECT(TRect(FSideWidth, top, client.Right - FSideWidth, top + 1)), SysBrush(COLOR_BTNSHADOW));
    if (ShowTodayButton)
      PaintButton(dc, TodayButtonRect(), GetLocalizedResourceString(&kwSToday), FButtonActive == 1 && FButtonPressed);
    if (ShowClearButton)
      PaintButton(dc, ClearButtonRect(), GetLocalizedResourceString(&kwSClear), FButtonActive == 2 && FButtonPressed);
  }
  SelectObject(dc, oldFont);
}

void TkwBarDateNavigator::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: WMLButtonDown(Message); break;
    case WM_LBUTTONUP: WMLButtonUp(Message); break;
    case WM_MOUSEMOVE: WMMouseMove(Message); break;
    case WM_KEYDOWN: WMKeyDown(Message); break;
    case WM_TIMER: WMTimer(Message); break;
    case WM_NCCALCSIZE: WMNCCalcSize(Message); break;
    case WM_NCPAINT: WMNCPaint(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case WM_ERASEBKGND: Message.Result = 1; break;
    case WM_MOUSEACTIVATE: Message.Result = MA_NOACTIVATE; break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
      if ((FDragging || FButtonActive || FArrowHeld || FMonthList) &&
          (Message.Msg == WM_CANCELMODE || HWND(Message.LParam) != Handle())) {
        // A drag ends as if the button went up nowhere.
        TMessage up;
        up.Msg = WM_LBUTTONUP;
        up.LParam = MAKELPARAM(WORD(-1), WORD(-1));
        WMLButtonUp(up);
      }
      TkwBarCustomCalendar::Dispatch(Message);
      break;
    default: TkwBarCustomCalendar::Dispatch(Message); break;
  }
}

void TkwBarDateNavigator::WMLButtonDown(TMessage& Message) {
  TPoint point = PointOf(Message.LParam);
  // In the date dialog a double click on a date is OK.
  if (Message.Msg == WM_LBUTTONDBLCLK && !FIsPopup && GetDateAtPos(point) != NullDate) {
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(mrOk);
    return;
  }
  if (HasButtons() && point.Y >= ClientHeight() - FButtonsRegionHeight) {
    if (TodayButtonRect().Contains(point))
      FButtonActive = 1;
    else if (ClearButtonRect().Contains(point))
      FButtonActive = 2;
    else
      return;
    FButtonPressed = true;
    SetCapture(Handle());
    Invalidate();
    return;
  }
  if (TitleRect().Contains(point)) {
    OpenMonthList();
    return;
  }
  for (int side : {-1, 1}) {
    if ((side < 0 ? PrevArrowRect() : NextArrowRect()).Contains(point)) {
      StepMonth(side);
      FArrowHeld = side;
      SetTimer(Handle(), ArrowTimer, ArrowRepeat, nullptr);
      SetCapture(Handle());
      return;
    }
  }
  FDragDate = SelStart();
  TDateTime date = GetDateAtPos(point);
  if (date != NullDate) SelectDate(date);
  FDragging = true;
  SetCapture(Handle());
}

void TkwBarDateNavigator::WMMouseMove(TMessage& Message) {
  TPoint point = PointOf(Message.LParam);
  if (FMonthList) {
    MapWindowPoints(Handle(), FMonthList->Handle(), AsPOINT(&point), 1);
    FMonthList->TrackMouse(point);
    return;
  }
  if (FButtonActive) {
    bool over = (FButtonActive == 1 ? TodayButtonRect() : ClearButtonRect()).Contains(point);
    if (over != FButtonPressed) {
      FButtonPressed = over;
      Invalidate();
    }
    return;
  }
  if (!FDragging || GetCapture() != Handle()) return;
  if (!ClientRect().Contains(point)) {
    SelectDate(FDragDate);
    return;
  }
  TDateTime date = GetDateAtPos(point);
  if (date != NullDate) SetSelFinish(date);
}

void TkwBarDateNavigator::WMLButtonUp(TMessage& Message) {
  TPoint point = PointOf(Message.LParam);
  if (FArrowHeld) {
    KillTimer(Handle(), ArrowTimer);
    FArrowHeld = 0;
    if (GetCapture() == Handle()) ReleaseCapture();
    return;
  }
  if (FMonthList) {
    TDateTime month = FMonthList->Value();
    CloseMonthList();
    if (GetCapture() == Handle()) ReleaseCapture();
    if (month != NullDate) SetFirstDate(month);
    Invalidate();
    return;
  }
  bool inside = ClientRect().Contains(point);
  if (FButtonActive) {
    int button = FButtonActive;
    bool pressed = FButtonPressed;
    FButtonActive = 0;
    FButtonPressed = false;
    if (GetCapture() == Handle()) ReleaseCapture();
    Invalidate();
    if (!pressed) return;
    SelectDate(button == 1 ? DayOfDate(::Date()) : NullDate);
    if (inside) DoDateChosen();
    return;
  }
  if (!FDragging) return;
  FDragging = false;
  if (GetCapture() == Handle()) ReleaseCapture();
  if (inside && GetDateAtPos(point) != NullDate)
    DoDateChosen();
  else
    SelectDate(FDragDate);
}

void TkwBarDateNavigator::KeySelect(TDateTime Date) { SelectDate(Date); }

void TkwBarDateNavigator::WMKeyDown(TMessage& Message) {
  WORD key = WORD(Message.WParam);
  bool ctrl = GetKeyState(VK_CONTROL) < 0;
  TDateTime date = SelStart();
  if (date == NullDate) date = DayOfDate(::Date());
  int year = DatePart(date, 1), month = DatePart(date, 2), day = DatePart(date, 3);
  switch (key) {
    case VK_RETURN:
      if (!FMonthList) DoDateChosen();
      return;
    case VK_PRIOR:
    case VK_NEXT:
      if (key == VK_PRIOR)
        StepMonthBack(year, month);
      else
        StepMonthForward(year, month);
      KeySelect(EncodeDate(year, month, ClampDay(year, month, day)));
      return;
    case VK_END:
      KeySelect(ctrl ? EncodeDate(year, month, MonthLength(year, month)) : date + 6 - WeekdayIndex(date));
      return;
    case VK_HOME: KeySelect(ctrl ? EncodeDate(year, month, 1) : date - WeekdayIndex(date)); return;
    case VK_LEFT: KeySelect(date - 1); return;
    case VK_RIGHT: KeySelect(date + 1); return;
    case VK_UP: KeySelect(date - 7); return;
    case VK_DOWN: KeySelect(date + 7); return;
    default: TkwBarCustomCalendar::Dispatch(Message); return;
  }
}

void TkwBarDateNavigator::WMTimer(TMessage& Message) {
  if (Message.WParam != ArrowTimer || !FArrowHeld) {
    TkwBarCustomCalendar::Dispatch(Message);
    return;
  }
  POINT p;
  GetCursorPos(&p);
  ::ScreenToClient(Handle(), &p);
  if ((FArrowHeld < 0 ? PrevArrowRect() : NextArrowRect()).Contains(TPoint(p.x, p.y))) StepMonth(FArrowHeld);
}

void TkwBarDateNavigator::WMNCCalcSize(TMessage& Message) {
  TkwBarCustomCalendar::Dispatch(Message);
  if (HasOwnBorder()) InflateRect(reinterpret_cast<RECT*>(Message.LParam), -1, -1);
}

void TkwBarDateNavigator::WMNCPaint(TMessage& Message) {
  TkwBarCustomCalendar::Dispatch(Message);
  if (!HasOwnBorder()) return;
  HDC dc = GetWindowDC(Handle());
  RECT w;
  GetWindowRect(Handle(), &w);
  RECT r = {0, 0, w.right - w.left, w.bottom - w.top};
  if (FStyle == 1)
    DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
  else
    FrameRect(dc, &r, SysBrush(COLOR_BTNSHADOW));
  ReleaseDC(Handle(), dc);
}

void TkwBarDateNavigator::WMSize(TMessage& Message) {
  TkwBarCustomCalendar::Dispatch(Message);
  // The calendar keeps the size its font gives.
  TSize size = CalcSize();
  RECT w;
  GetWindowRect(Handle(), &w);
  if (w.right - w.left != size.cx || w.bottom - w.top != size.cy)
    SetWindowPos(Handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TkwBarDateNavigator::CMFontChanged(TMessage& Message) {
  TkwBarCustomCalendar::Dispatch(Message);
  CalcMetrics();
  if (!HandleAllocated()) return;
  TSize size = CalcSize();
  SetWindowPos(Handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Invalidate();
}

// --- TkwBarDateCombo --------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarDateCombo)
VELBOR_PUBLISHED(TkwBarDateCombo,
  Prop("DateOnStart", &Self::DateOnStart, &Self::SetDateOnStart).Default(bdsToday),
  Prop("MinDate", &Self::MinDate, &Self::SetMinDate).Stored(&Self::IsMinDateStored),
  Prop("MaxDate", &Self::MaxDate, &Self::SetMaxDate).Stored(&Self::IsMaxDateStored),
  Prop("ShowDayText", &Self::ShowDayText, &Self::SetShowDayText).Default(true),
  Prop("ShowTodayButton", &Self::ShowTodayButton, &Self::SetShowTodayButton).Default(true),
  Prop("ShowClearButton", &Self::ShowClearButton, &Self::SetShowClearButton).Default(true),
  Prop("Text", static_cast<const String& (Self::*)() const>(&Self::Text),
       static_cast<void (Self::*)(const String&)>(&Self::SetText))
      .Stored(&Self::IsTextStored))

TkwBarDateCombo::TkwBarDateCombo(TComponent* AOwner) : TCustomkwBarCombo(AOwner) {
  FCalendar = new TkwBarDateNavigator(nullptr, this, true);
  FCalendar->OnDateChosen = TkwBarDateChosenEvent(this, &TkwBarDateCombo::DateChosen);
  Glyph()->LoadFromResourceName(MainInstance(), "KWBARDATECOMBO");
  ApplyDateOnStart();
}

TkwBarDateCombo::~TkwBarDateCombo() {
  delete FCalendar;
  FCalendar = nullptr;
}

TDateTime TkwBarDateCombo::Date() const { return ParseDate(Text()); }

void TkwBarDateCombo::SetDate(TDateTime Value) {
  TDateTime date = Value == NullDate ? NullDate : ClampDate(DayOfDate(Value));
  if (!FSelfChange) FDateOnStart = bdsCustom;
  TCustomkwBarCombo::SetText(FormatDateText(date));
}

TDateTime TkwBarDateCombo::ClampDate(TDateTime Value) const {
  if (Value == NullDate || (FMinDate == 0 && FMaxDate == 0)) return Value;
  return std::min(std::max(Value, FMinDate), FMaxDate);
}

String TkwBarDateCombo::FormatDateText(TDateTime Value) const {
  if (Value == NullDate) return String();
  String date = FormatDate(Value);
  return FShowDayText ? FormatDateTime("ddd ", Value) + date : date;
}

void TkwBarDateCombo::SetText(const String& Value) { SetDate(ParseDate(Value)); }

void TkwBarDateCombo::SetMinDate(TDateTime Value) {
  Value = std::min(Value, FMaxDate);
  if (Value == FMinDate) return;
  FMinDate = Value;
  TDateTime date = Date();
  if (date != NullDate && ClampDate(date) != date) {
    FSelfChange = true;
    TScopeGuard reset([&] { FSelfChange = false; });
    SetDate(date);
  }
}

void TkwBarDateCombo::SetMaxDate(TDateTime Value) {
  Value = std::max(Value, FMinDate);
  if (Value == FMaxDate) return;
  FMaxDate = Value;
  TDateTime date = Date();
  if (date != NullDate && ClampDate(date) != date) {
    FSelfChange = true;
    TScopeGuard reset([&] { FSelfChange = false; });
    SetDate(date);
  }
}

void TkwBarDateCombo::SetShowDayText(bool Value) {
  if (Value == FShowDayText) return;
  TDateTime date = Date();
  FShowDayText = Value;
  FSelfChange = true;
  TScopeGuard reset([&] { FSelfChange = false; });
  SetDate(date);
}

void TkwBarDateCombo::SetDateOnStart(TkwBarDateOnStart Value) {
  if (Value == FDateOnStart) return;
  FDateOnStart = Value;
  if (!IsLoading()) ApplyDateOnStart();
}

void TkwBarDateCombo::ApplyDateOnStart() {
  FSelfChange = true;
  TScopeGuard reset([&] { FSelfChange = false; });
  switch (FDateOnStart) {
    case bdsToday: SetDate(::Date()); break;
    case bdsNullDate: SetDate(NullDate); break;
    case bdsCustom: SetDate(Date()); break;
  }
}

void TkwBarDateCombo::Loaded() {
  TCustomkwBarCombo::Loaded();
  ApplyDateOnStart();
}

bool TkwBarDateCombo::CheckKeyForDropDownWindow(WORD Key, TShiftState Shift) {
  // The calendar's own keys; the others edit the text.
  bool accept = Key == VK_RETURN || Key == VK_PRIOR || Key == VK_NEXT || Key == VK_HOME || Key == VK_END ||
                Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN;
  if (OnCheckKeyForDropDownWindow) OnCheckKeyForDropDownWindow(this, Key, Shift, accept);
  return accept;
}

HWND TkwBarDateCombo::GetDropDownWindow() {
  if (HWND window = TCustomkwBarCombo::GetDropDownWindow()) return window;
  if (FCalendar->ControlState.Contains(csCreating)) return nullptr;
  // The style decides the window's frame: it is set before the window is made.
  const TkwBarItemControlPainter* painter = ItemPainterOf(BarManager());
  FCalendar->SetCalendarStyle(painter && painter->HasFlatDateNavigatorButtons() ? 2 : 1);
  FCalendar->HandleNeeded();
  return FCalendar->Handle();
}

void TkwBarDateCombo::PrepareDropDownWindow() {
  // The calendar writes in the font of the window the combo shows in.
  TkwBarItemLink* link = GetActiveLink();
  if (auto* window = link ? dynamic_cast<TCustomkwBarControl*>(link->GetBarControl()) : nullptr) {
    TOwnedFont font(CloneFontHandle(window->GetFont()));
    FCalendar->Font()->SetHandle(font.Release());
    FCalendar->Font()->SetColor(clWindowText);
  }
  FCalendar->ShowTodayButton = FShowTodayButton;
  FCalendar->ShowClearButton = FShowClearButton;
  FCalendar->HandleNeeded();
  FCalendar->Perform(CM_FONTCHANGED);
  TDateTime date = Date();
  if (date == NullDate) date = DayOfDate(::Date());
  FCalendar->SetFirstDate(date);
  FCalendar->SelectDate(date);
}

void TkwBarDateCombo::CloseUp() {
  if (!FCalendar->HandleAllocated()) {
    if (OnCloseUp) OnCloseUp(this);
    return;
  }
  FCalendar->CancelTracking();
  TCustomkwBarCombo::CloseUp();
}

void TkwBarDateCombo::DateChosen(TObject*) {
  if (TkwBarItemLink* link = GetActiveLink()) link->GetOriginalLink()->MarkUsed(true);
  TDateTime date = FCalendar->SelStart();
  if (TkwBarManager* manager = BarManager()) manager->HideAllMenus();
  SetDate(date);
}

// --- TkwBarDateComboControl -------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarDateComboControl)

void TkwBarDateComboControl::EditWndProc(TMessage& Message) {
  TkwBarDateCombo* combo = DateCombo();
  if (Message.Msg == WM_CHAR && combo && (Message.WParam == '+' || Message.WParam == '-')) {
    TDateTime date = ParseDate(GetText());
    if (date != NullDate) SetText(combo->FormatDateText(combo->ClampDate(date + (Message.WParam == '+' ? 1 : -1))));
    return;
  }
  TCustomkwBarComboControl::EditWndProc(Message);
}

void TkwBarDateCombo::DoClick() {
  if (OnClick || ReadOnly()) {
    TCustomkwBarCombo::DoClick();
    return;
  }
  // The form, its edit and its calendar exist only while the dialog runs.
  TForm* form = new TkwBarDateDialogForm();
  TScopeGuard free([&] {
    FDialog = nullptr;
    form->Free();
  });
  TkwBarDateDialog dialog(this, form);
  FDialog = form;
  if (form->ShowModal() == mrOk) SetDate(dialog.Value());
}
