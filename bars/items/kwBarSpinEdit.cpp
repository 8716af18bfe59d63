// This file implements the spin edit item and its control.
#include "kwBarSpinEdit.h"

#include <cmath>

#include "FloatFormat.h"
#include "FormatSettings.h"
#include "StrUtils.h"
#include "kwBarItemControlPainter.h"
#include "kwBarUtils.h"
#include "kwBars.h"

namespace {

// The edit window's timers: the first wait of a held button, then the repeat.
constexpr UINT_PTR FirstRepeatTimer = 1;
constexpr UINT_PTR RepeatTimer = 2;
constexpr UINT RepeatInterval = 100;

}  // namespace

// --- TkwBarSpinEdit -----------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarSpinEdit)
VELBOR_PUBLISHED(TkwBarSpinEdit,
  Prop("ValueType", &Self::ValueType, &Self::SetValueType).Default(svtInteger),
  Prop("Increment", &Self::Increment, &Self::SetIncrement).Stored(&Self::IsIncrementStored),
  Prop("MaxValue", &Self::MaxValue, &Self::SetMaxValue).Stored(&Self::IsMaxValueStored),
  Prop("MinValue", &Self::MinValue, &Self::SetMinValue).Stored(&Self::IsMinValueStored),
  Prop("Prefix", &Self::Prefix, &Self::SetPrefix),
  Prop("PrefixPlace", &Self::PrefixPlace, &Self::SetPrefixPlace).Default(ppEnd),
  Prop("Text", &Self::GetText, &Self::PutText).Stored(false),
  Prop("Value", &Self::GetValue, &Self::SetValue).Stored(&Self::IsValueStored),
  Prop("OnButtonClick", &Self::OnButtonClick))

TkwBarSpinEdit::TkwBarSpinEdit(TComponent* AOwner) : TkwBarEdit(AOwner) { StoreText("0"); }

String TkwBarSpinEdit::WithoutPrefix(const String& Value) const {
  if (FPrefix.empty()) return Value;
  String s = Value;
  std::size_t at = s.find(FPrefix);
  if (at != String::npos) s.erase(at, FPrefix.size());
  return s;
}

bool TkwBarSpinEdit::IsNumber(const String& Value, double& Number) const {
  String s = WithoutPrefix(Value);
  if (FValueType == svtFloat) return TryStrToFloat(s, Number);
  long long n = 0;
  if (!TryStrToInt64(s, n)) return false;
  Number = double(n);
  return true;
}

double TkwBarSpinEdit::ParseValue(const String& Value) const {
  double number = 0;
  return IsNumber(Value, number) ? number : FMinValue;
}

String TkwBarSpinEdit::FormatValue(double Value) const {
  String number = FValueType == svtFloat ? FloatToStr(Value) : IntToStr(static_cast<long long>(RoundValue(Value)));
  return FPrefixPlace == ppStart ? FPrefix + number : number + FPrefix;
}

double TkwBarSpinEdit::RoundValue(double Value) const {
  // Halves go to the even neighbour, as the platform's rounding does.
  return FValueType == svtInteger ? std::nearbyint(Value) : Value;
}

double TkwBarSpinEdit::ClampValue(double Value) const {
  double v = RoundValue(Value);
  if (FMinValue != FMaxValue || FMinValue != 0) {
    if (v < FMinValue) v = FMinValue;
    if (v > FMaxValue) v = FMaxValue;
  }
  return v;
}

void TkwBarSpinEdit::SetValue(double Value) {
  double v = ClampValue(Value);
  if (v != GetValue()) TkwBarEdit::SetText(FormatValue(v));
}

double TkwBarSpinEdit::GetEditValue() const { return ParseValue(GetCurrentText()); }

void TkwBarSpinEdit::SetEditValue(double Value) {
  double v = ClampValue(Value);
  if (v != GetEditValue()) SetCurrentText(FormatValue(v));
}

void TkwBarSpinEdit::SetText(const String& Value) {
  double number = 0;
  if (!IsNumber(Value, number)) return;
  TkwBarEdit::SetText(FormatValue(ClampValue(number)));
}

void TkwBarSpinEdit::Reformat() { TkwBarEdit::SetText(FormatValue(GetValue())); }

void TkwBarSpinEdit::SetIncrement(double Value) {
  double v = RoundValue(Value);
  if ((FValueType == svtInteger && v < 1) || (FValueType == svtFloat && v <= 0)) v = 1;
  FIncrement = v;
}

void TkwBarSpinEdit::SetMaxValue(double Value) {
  double v = RoundValue(Value);
  if (v == FMaxValue) return;
  FMaxValue = v;
  if (FMaxValue < FMinValue) FMinValue = FMaxValue;
  if (IsLoading()) return;
  SetValue(GetValue());
  SetEditValue(GetEditValue());
}

void TkwBarSpinEdit::SetMinValue(double Value) {
  double v = RoundValue(Value);
  if (v == FMinValue) return;
  FMinValue = v;
  if (FMinValue > FMaxValue) FMaxValue = FMinValue;
  if (IsLoading()) return;
  SetValue(GetValue());
  SetEditValue(GetEditValue());
}

void TkwBarSpinEdit::SetPrefix(const String& Value) {
  if (Value == FPrefix) return;
  // The number is read with the old prefix, and written with the new one.
  double value = GetValue();
  FPrefix = Value;
  TkwBarEdit::SetText(FormatValue(value));
}

void TkwBarSpinEdit::SetPrefixPlace(TkwBarSpinEditPrefixPlace Value) {
  if (Value == FPrefixPlace) return;
  FPrefixPlace = Value;
  Reformat();
}

void TkwBarSpinEdit::SetValueType(TkwBarSpinEditValueType Value) {
  if (Value == FValueType) return;
  double value = GetValue();
  double editValue = GetEditValue();
  FValueType = Value;
  if (FValueType != svtInteger) return;
  // Every number is rounded to an integer through its setter. The limits are rounded by hand
  // first: a setter returns at once for a value that rounds to itself.
  SetIncrement(FIncrement);
  FMinValue = RoundValue(FMinValue);
  FMaxValue = RoundValue(FMaxValue);
  TkwBarEdit::SetText(FormatValue(ClampValue(value)));
  if (GetActiveWinControl()) SetEditValue(editValue);
}

void TkwBarSpinEdit::Step(TkwBarSpinEditButton Button) {
  if (Button == sbUp)
    SetEditValue(GetEditValue() + FIncrement);
  else if (Button == sbDown)
    SetEditValue(GetEditValue() - FIncrement);
  DoButtonClick(Button);
}

void TkwBarSpinEdit::DoButtonClick(TkwBarSpinEditButton Button) {
  if (OnButtonClick) OnButtonClick(this, Button);
}

TkwBarSpinEditControl* TkwBarSpinEdit::ActiveSpinControl() const {
  return dynamic_cast<TkwBarSpinEditControl*>(GetActiveWinControl());
}

void TkwBarSpinEdit::DoKeyDown(WORD& Key, TShiftState Shift) {
  TkwBarEdit::DoKeyDown(Key, Shift);
  if (Key != VK_UP && Key != VK_DOWN) return;
  TkwBarSpinEditControl* control = ActiveSpinControl();
  if (!control || !control->Focused() || ReadOnly()) return;
  TkwBarSpinEditButton button = Key == VK_UP ? sbUp : sbDown;
  Key = 0;
  // A button held by the mouse wins over the keys.
  if (control->PressedButton() != sbNone) return;
  control->ShowPressed(button, true);
  Step(button);
}

void TkwBarSpinEdit::DoKeyUp(WORD& Key, TShiftState Shift) {
  TkwBarEdit::DoKeyUp(Key, Shift);
  if (Key != VK_UP && Key != VK_DOWN) return;
  TkwBarSpinEditControl* control = ActiveSpinControl();
  if (control && control->PressedButton() == sbNone) control->ShowPressed(sbNone, false);
}

void TkwBarSpinEdit::DoKeyPress(char& Key) {
  TkwBarEdit::DoKeyPress(Key);
  if (Key == 0 || Key == '\b' || (Key >= '0' && Key <= '9')) return;
  if (Key == '-' && FMinValue < 0) return;
  if (FValueType == svtFloat && Key == FormatSettings.DecimalSeparator) return;
  Key = 0;
}

// --- TkwBarSpinEditControl ----------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarSpinEditControl)

TkwBarSpinEditControl::~TkwBarSpinEditControl() {
  if (FRepeatTimer && FEditWindow) KillTimer(FEditWindow, FRepeatTimer);
}

TkwBarSpinEditButton TkwBarSpinEditControl::HitButton(const TPoint& Point) const {
  TkwBarSpinEdit* item = Spin();
  if (!item || item->ReadOnly() || FButtonRect.IsEmpty() || !FButtonRect.Contains(Point)) return sbNone;
  return Point.Y < FButtonRect.Top + FButtonRect.Height() / 2 ? sbUp : sbDown;
}

void TkwBarSpinEditControl::InvalidateButtons() {
  TCustomkwBarControl* window = Window();
  if (window && window->HandleAllocated() && !FButtonRect.IsEmpty())
    InvalidateRect(window->Handle(), AsRECT(FButtonRect), FALSE);
}

void TkwBarSpinEditControl::ShowPressed(TkwBarSpinEditButton Button, bool Pressed) {
  if (Button == sbNone) Pressed = false;
  TkwBarSpinEditButton shown = Pressed ? Button : sbNone;
  TkwBarSpinEditButton before = FButtonShownPressed ? FShownButton : sbNone;
  FShownButton = Button;
  FButtonShownPressed = Pressed;
  if (shown != before) InvalidateButtons();
}

void TkwBarSpinEditControl::ReleaseButton() {
  if (FPressedButton == sbNone) return;
  FPressedButton = sbNone;
  if (FRepeatTimer && FEditWindow) KillTimer(FEditWindow, FRepeatTimer);
  FRepeatTimer = 0;
  if (FEditWindow && GetCapture() == FEditWindow) ReleaseCapture();
  ShowPressed(sbNone, false);
}

void TkwBarSpinEditControl::Draw(const TRect& Rect, int Kind) {
  TCustomkwBarControl* window = Window();
  TkwBarSpinEdit* item = Spin();
  if (!window || !item || Rect.Width() == 0) return;
  const TkwBarItemControlPainter* painter = window->Painter();
  HDC dc = window->Canvas()->Handle();
  bool selected = IsSelected();
  TRect inner = DrawCaptionAndFrame(Rect, Kind, selected);
  int h = inner.Height();
  int arrow = ((h / 2) - 2) / 2;
  int width = 4 * arrow + 3;
  TRect edit = inner;
  bool buttons = arrow > 0 && width < Rect.Width() / 2;
  if (buttons) edit.Right -= width;
  if (GetEnabled()) SetEditRectField(edit);
  if (!(Focused() && GetEnabled())) DrawValuePart(dc, edit);
  if (!buttons) {
    FButtonRect = TRect();
    return;
  }
  TRect area(edit.Right, inner.Top, inner.Right, inner.Bottom);
  painter->DrawSpinButtonsMargin(this, dc, area);
  FButtonRect = area;
  TkwBarSpinEditButton held = FButtonShownPressed ? FShownButton : sbNone;
  int upper = area.Height() / 2;
  for (TkwBarSpinEditButton button : {sbUp, sbDown})
    painter->DrawSpinButton(this, dc, FButtonShownPressed, int(held), int(button), selected, upper, arrow,
                            2 * arrow - 1, area);
}

void TkwBarSpinEditControl::EditWndProc(TMessage& Message) {
  TCustomkwBarControl* window = Window();
  TkwBarSpinEdit* item = Spin();
  HWND edit = FEditWindow;
  // The point of a mouse message in the bar window.
  auto barPoint = [&] {
    POINT p = {short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam))};
    MapWindowPoints(edit, window->Handle(), &p, 1);
    return TPoint(p.x, p.y);
  };
  if (item && window && window->HandleAllocated() && edit) {
    switch (Message.Msg) {
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK: {
        if (FPressedButton != sbNone) break;
        TkwBarSpinEditButton button = HitButton(barPoint());
        if (button == sbNone) break;
        FPressedButton = button;
        SetCapture(edit);
        ShowPressed(button, true);
        FRepeatTimer = SetTimer(edit, FirstRepeatTimer, std::max<UINT>(GetDoubleClickTime(), 200) - 100, nullptr);
        item->Step(button);
        return;
      }
      case WM_TIMER:
        if (Message.WParam == FirstRepeatTimer) {
          KillTimer(edit, FirstRepeatTimer);
          FRepeatTimer = SetTimer(edit, RepeatTimer, RepeatInterval, nullptr);
          return;
        }
        if (Message.WParam == RepeatTimer) {
          if (FPressedButton != sbNone && FButtonShownPressed) item->Step(FPressedButton);
          return;
        }
        break;
      case WM_MOUSEMOVE:
        if (FPressedButton == sbNone) break;
        // The pressed look, and the repeat with it, only while the pointer is over the button.
        ShowPressed(FPressedButton, HitButton(barPoint()) == FPressedButton);
        return;
      case WM_LBUTTONUP:
        if (FPressedButton == sbNone) break;
        ReleaseButton();
        return;
      case WM_CAPTURECHANGED:
      case WM_KILLFOCUS:
        ReleaseButton();
        break;
      default:
        break;
    }
  }
  TkwBarEditControl::EditWndProc(Message);
}
