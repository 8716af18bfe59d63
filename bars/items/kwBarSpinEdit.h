// This file implements the spin edit: TkwBarSpinEdit, an edit item holding a number (integer or
// floating) with an optional prefix text, limits and an increment; TkwBarSpinEditControl, its view,
// which draws two arrow buttons at the right of the edit part and steps the value while one is
// held (once, then again after the double-click time and every 100 ms).
#pragma once

#include "kwBarEdit.h"

enum TkwBarSpinEditValueType { svtInteger, svtFloat };
VELBOR_ENUM(TkwBarSpinEditValueType, "svtInteger", "svtFloat")
enum TkwBarSpinEditPrefixPlace { ppStart, ppEnd };
VELBOR_ENUM(TkwBarSpinEditPrefixPlace, "ppStart", "ppEnd")
enum TkwBarSpinEditButton { sbNone, sbUp, sbDown };

class TkwBarSpinEdit;
using TkwBarSpinEditButtonClickEvent = TEvent<void(TkwBarSpinEdit* Sender, TkwBarSpinEditButton Button)>;

class TkwBarSpinEdit : public TkwBarEdit {
  VELBOR_DECLARE_CLASS(TkwBarSpinEdit, TkwBarEdit)
 public:
  explicit TkwBarSpinEdit(TComponent* AOwner);

  // Properties. The value is not kept apart: it is read from Text.
  double Increment() const { return FIncrement; }
  // Rounded for integers; below 1 (integers) or not above 0 (floats) it becomes 1.
  void SetIncrement(double Value);
  double MaxValue() const { return FMaxValue; }
  // Below MinValue, MinValue follows it down; the value is clamped again.
  void SetMaxValue(double Value);
  double MinValue() const { return FMinValue; }
  // Above MaxValue, MaxValue follows it up; the value is clamped again.
  void SetMinValue(double Value);
  const String& Prefix() const { return FPrefix; }
  void SetPrefix(const String& Value);
  TkwBarSpinEditPrefixPlace PrefixPlace() const { return FPrefixPlace; }
  void SetPrefixPlace(TkwBarSpinEditPrefixPlace Value);
  double GetValue() const { return ParseValue(Text()); }
  void SetValue(double Value);
  TkwBarSpinEditValueType ValueType() const { return FValueType; }
  void SetValueType(TkwBarSpinEditValueType Value);
  TkwBarSpinEditButtonClickEvent OnButtonClick;

  // Operations.
  // The number of a text (its prefix removed); a text that is no number gives MinValue.
  double ParseValue(const String& Value) const;
  // The text of a number with its prefix.
  String FormatValue(double Value) const;
  // Rounded to an integer for integer values.
  double RoundValue(double Value) const;
  // Rounded, then kept within the limits (both limits 0: no limits).
  double ClampValue(double Value) const;
  // The value being typed in an open editor (else the value).
  double GetEditValue() const;
  // Into the open editor (else into the value).
  void SetEditValue(double Value);
  // One step up or down from the edit value, then OnButtonClick.
  void Step(TkwBarSpinEditButton Button);

  // Overrides. A text that is no number of the value type is ignored.
  void SetText(const String& Value) override;
  void DoKeyDown(WORD& Key, TShiftState Shift) override;
  void DoKeyPress(char& Key) override;
  void DoKeyUp(WORD& Key, TShiftState Shift) override;

  // Overridables.
  virtual void DoButtonClick(TkwBarSpinEditButton Button);

 private:
  bool IsIncrementStored() const { return FIncrement != 1; }
  bool IsMaxValueStored() const { return FMaxValue != 0; }
  bool IsMinValueStored() const { return FMinValue != 0; }
  bool IsValueStored() const { return GetValue() != 0; }
  // The text as the description reads and writes it (not stored: the value is).
  String GetText() const { return Text(); }
  void PutText(const String& Value) { SetText(Value); }
  // Whether a text (prefix removed) is a number of the value type.
  bool IsNumber(const String& Value, double& Number) const;
  String WithoutPrefix(const String& Value) const;
  class TkwBarSpinEditControl* ActiveSpinControl() const;
  // Formats the value into Text again (after a prefix change).
  void Reformat();

  double FIncrement = 1;
  double FMaxValue = 0;
  double FMinValue = 0;
  String FPrefix;
  TkwBarSpinEditPrefixPlace FPrefixPlace = ppEnd;
  TkwBarSpinEditValueType FValueType = svtInteger;
};

class TkwBarSpinEditControl : public TkwBarEditControl {
  VELBOR_DECLARE_CLASS(TkwBarSpinEditControl, TkwBarEditControl)
 public:
  using TOwnerClass = TkwBarItemLink;
  explicit TkwBarSpinEditControl(TkwBarItemLink* ALink) : TkwBarEditControl(ALink) {}
  ~TkwBarSpinEditControl() override;

  TkwBarSpinEdit* Spin() const { return dynamic_cast<TkwBarSpinEdit*>(GetItem()); }
  // The rectangle of both buttons in the bar window (empty when none is drawn).
  const TRect& ButtonRect() const { return FButtonRect; }
  // The button under a point of the bar window (none for a read-only item).
  TkwBarSpinEditButton HitButton(const TPoint& Point) const;
  // The button held by the mouse (sbNone: none).
  TkwBarSpinEditButton PressedButton() const { return FPressedButton; }
  // The button drawn pressed (by the mouse or by Up and Down), sbNone when none is.
  TkwBarSpinEditButton ShownButton() const { return FButtonShownPressed ? FShownButton : sbNone; }
  // Shows a button pressed (sbNone: none) and repaints the buttons when the look changes.
  void ShowPressed(TkwBarSpinEditButton Button, bool Pressed);

  // Overrides.
  void Draw(const TRect& Rect, int Kind) override;
  void EditWndProc(TMessage& Message) override;

 private:
  // Ends a press of the mouse: capture, pressed look and repeat timer.
  void ReleaseButton();
  void InvalidateButtons();

  TkwBarSpinEditButton FPressedButton = sbNone;
  TkwBarSpinEditButton FShownButton = sbNone;
  bool FButtonShownPressed = false;
  TRect FButtonRect;
  UINT_PTR FRepeatTimer = 0;
};
