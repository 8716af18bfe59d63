// This file implements the data-aware edit with a button at its right edge: TqvDBCustomCombo, the
// base of every edit that drops something down from its button (the button and the small window
// holding it, their layout and painting, and the drop-down and close-up protocol with its keys
// and clicks), and TqvDBComboDlg, whose ellipsis button (or F4, or Alt+Down) fires OnCustomDlg,
// where the program opens its own dialog.
#pragma once

#include "ListControls.h"
#include "qvcombobutton.h"
#include "qvdbedit.h"

class TqvDBCustomCombo;

// The edit's Style: only csDropDown (typing allowed) and csDropDownList (a choice only) are
// meaningful; the combo box adds the others.
using TqvDBLookupComboStyle = TComboBoxStyle;

enum TqvComboButtonStyle { cbsEllipsis, cbsDownArrow, cbsCustom };
VELBOR_ENUM(TqvComboButtonStyle, "cbsEllipsis", "cbsDownArrow", "cbsCustom")

// The window at the edit's right edge that holds the button.
class TBtnWinControl : public TWinControl {
  VELBOR_DECLARE_CLASS(TBtnWinControl, TWinControl)
 public:
  // The owner is the combo.
  explicit TBtnWinControl(TComponent* AOwner);
  TqvDBCustomCombo* Combo() const;
  // The combo's, so that the button's themes test finds it on its parent.
  bool DisableThemes() const;
  void SetDisableThemes(bool) {}

 protected:
  void Dispatch(TMessage& Message) override;
  // protected messages
  void WMEraseBkgnd(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
};

// The dialog edit's button: the combo may draw its face (arrow or ellipsis) before the button's
// own painting, and an edge goes round it.
class TqvComboDlgButton : public TqvComboButton {
  VELBOR_DECLARE_CLASS(TqvComboDlgButton, TqvComboButton)
 public:
  explicit TqvComboDlgButton(TComponent* AOwner) : TqvComboButton(AOwner) {}
  TqvDBCustomCombo* Combo() const;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
};

// The button effects of a combo: a change of look reloads the button's glyph.
class TqvComboButtonEffects : public TqvButtonEffects {
  VELBOR_DECLARE_CLASS(TqvComboButtonEffects, TqvButtonEffects)
 public:
  explicit TqvComboButtonEffects(TComponent* AControl = nullptr, TControl* AButton = nullptr)
      : TqvButtonEffects(AControl, AButton) {}

 protected:
  void Changed() override;
};

class TqvDBCustomCombo : public TqvDBCustomEdit {
  VELBOR_DECLARE_CLASS(TqvDBCustomCombo, TqvDBCustomEdit)
  friend class TBtnWinControl;
  friend class TqvComboDlgButton;

 public:
  explicit TqvDBCustomCombo(TComponent* AOwner);
  ~TqvDBCustomCombo() override;

  // Properties.
  TqvDBLookupComboStyle Style() const { return FStyle; }
  virtual void SetStyle(TqvDBLookupComboStyle Value);
  TqvComboButtonStyle ButtonStyle() const { return FButtonStyle; }
  void SetButtonStyle(TqvComboButtonStyle Value);
  // 0: the system's scroll-bar width, at least 15.
  int ButtonWidth() const { return FButtonWidth; }
  void SetButtonWidth(int Value);
  TBitmap* ButtonGlyph() const { return FButton->Glyph(); }
  void SetButtonGlyph(TBitmap* Value);
  bool ShowButton() { return GetShowButton(); }
  // The formatting rectangle stops before the button (the window is made multi-line).
  bool LimitEditRect() const { return FLimitEditRect; }
  void SetLimitEditRect(bool Value);
  TqvComboButtonEffects* ButtonEffects() const { return FButtonEffects; }
  void SetButtonEffects(TqvButtonEffects* Value) { FButtonEffects->Assign(Value); }
  // The dataset goes into edit state before OnCustomDlg.
  bool AutoEnableEdit = true;
  TqvComboDlgButton* Button() const { return FButton; }
  TBtnWinControl* ButtonHolder() const { return FButtonHolder; }
  bool ButtonHot() const { return FButtonHot; }
  TNotifyEvent OnCustomDlg;

  // Operations.
  // The button's click: closes what is down, else takes the focus and drops down.
  void ButtonClick(TObject* Sender);
  void PositionButton();
  void UpdateButtonGlyph();
  // Brings back what a flat or transparent button leaves behind it.
  void RefreshButtonArea();
  // F4, Alt+Up/Down toggle; Enter and Escape close what is down. Handled keys become 0.
  void HandleDropDownKeys(WORD& Key, TShiftState Shift);

  // Overridables.
  virtual bool IsButtonGlyphStored() { return FButtonStyle == cbsCustom; }
  // May draw the face itself (DefaultPaint cleared).
  virtual void PaintButtonFace(TCanvas* Canvas, const TRect& R, bool& DefaultPaint, TControlState ControlState,
                               TButtonState ButtonState);
  virtual bool AllowsTyping() { return FStyle != csDropDownList; }
  virtual void CloseUp(bool Accept);
  // The dialog edit's: OnCustomDlg, with the dataset in edit state first.
  virtual void DropDown();
  bool CanEditText() override { return FStyle != csDropDownList || IsDroppedDown(); }
  bool GetShowButton() override { return FButtonHolder->Visible(); }
  void SetShowButton(bool Value) override;
  bool IsDroppedDown() override { return FDialogOpen; }
  void SetEditRect() override;
  int GetButtonWidth() override { return FButtonHolder->Width(); }
  int GetTextRight() override { return FButtonHolder->Left() - 1; }

 protected:
  // Toggles the drop-down from a click on a combo that takes no typing.
  void ClickToDropDown(TMessage& Message);
  void CreateParams(TCreateParams& Params) override;
  void Loaded() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void WMPaint(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void WMSetFont(TMessage& Message);
  void WMLButtonDown(TMessage& Message);
  void WMLButtonUp(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMEnter(TMessage& Message);
  void CMExit(TMessage& Message);

  TBtnWinControl* FButtonHolder;
  TqvComboDlgButton* FButton;
  TqvComboButtonEffects* FButtonEffects;
  bool FDialogOpen = false;
  bool FButtonHot = false;
  bool FRepaintingParent = false;

 private:
  void EmptyMouseHandler(TObject*, TMouseButton, TShiftState, int, int) {}

  TqvDBLookupComboStyle FStyle = csDropDown;
  TqvComboButtonStyle FButtonStyle = cbsEllipsis;
  bool FLimitEditRect = false;
  int FButtonWidth = 0;
};

class TqvDBComboDlg : public TqvDBCustomCombo {
  VELBOR_DECLARE_CLASS(TqvDBComboDlg, TqvDBCustomCombo)
 public:
  explicit TqvDBComboDlg(TComponent* AOwner) : TqvDBCustomCombo(AOwner) {}
};

// The width the button takes when ButtonWidth is 0.
int qvDefaultComboButtonWidth();
