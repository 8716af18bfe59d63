// This file implements the combo edits: TOxCustomComboEdit, a single-line masked edit with a button
// (TOxEditButton) inside its right edge and the protocol by which a descendant's popup window is
// opened below or above it, fed the text, closed and its value taken; TOxComboEdit publishes it.
// It settles the button's place and glyph kinds, the read-only and direct-input rules, the
// clipboard commands allowed, the disabled look and the key that clicks the button.
#pragma once

#include "ActnList.h"
#include "Mask.h"
#include "OxSpeedButton.h"

class Variant;

enum TPopupAlign { epaRight, epaLeft };
VELBOR_ENUM(TPopupAlign, "epaRight", "epaLeft")

enum TGlyphKind { gkCustom, gkDefault, gkDropDown, gkEllipsis };
VELBOR_ENUM(TGlyphKind, "gkCustom", "gkDefault", "gkDropDown", "gkEllipsis")

enum TClipboardCommand { caCopy, caCut, caPaste, caUndo };
VELBOR_ENUM(TClipboardCommand, "caCopy", "caCut", "caPaste", "caUndo")
using TClipboardCommands = TSet<TClipboardCommand>;

VELBOR_EXCEPTION(EComboEditError, ENorvixException)

class TOxCustomComboEdit;

// The button of a combo edit; its owner is the edit.
class TOxEditButton : public TOxSpeedButton {
  VELBOR_DECLARE_CLASS(TOxEditButton, TOxSpeedButton)
 public:
  explicit TOxEditButton(TComponent* AOwner);

  // The next click is swallowed (the press closed the popup).
  bool NoAction = false;
  // A press while the popup shows closes it taking its value.
  bool Standard = true;
  // Painted as the visual styles' combo-box drop-down button.
  bool DrawThemedDropDown = false;

  void Click() override;

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Paint() override;

 private:
  TOxCustomComboEdit* Edit() const;
};

class TOxCustomComboEdit : public TCustomMaskEdit {
  VELBOR_DECLARE_CLASS(TOxCustomComboEdit, TCustomMaskEdit)
  friend class TOxEditButton;

 public:
  explicit TOxCustomComboEdit(TComponent* AOwner);
  ~TOxCustomComboEdit() override;

  // Properties.
  // Changing it re-creates the window (the edit style holds it).
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool ButtonFlat() const;
  void SetButtonFlat(bool Value);
  String ButtonHint() const;
  void SetButtonHint(const String& Value);
  // The room of the button at the right; 0 hides it (and the click key does nothing).
  int ButtonWidth() const;
  void SetButtonWidth(int Value);
  TShortCut ClickKey() const { return FClickKey; }
  void SetClickKey(TShortCut Value) { FClickKey = Value; }
  // Only caCopy (or nothing) makes the edit read-only.
  TClipboardCommands ClipboardCommands() const { return FClipboardCommands; }
  void SetClipboardCommands(TClipboardCommands Value);
  // Off: a single border is a plain frame instead of the sunken edge.
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool Value);
  // Off: the text can only come from the button or the popup.
  bool DirectInput() const { return FDirectInput; }
  void SetDirectInput(bool Value);
  // The colours of a disabled edit's background and text (a descendant may repaint more).
  TColor DisabledColor() const { return FDisabledColor; }
  virtual void SetDisabledColor(TColor Value);
  TColor DisabledTextColor() const { return FDisabledTextColor; }
  virtual void SetDisabledTextColor(TColor Value);
  TBitmap* Glyph() const;
  // Makes the kind gkCustom.
  void SetGlyph(TBitmap* Value);
  TGlyphKind GlyphKind() const { return FGlyphKind; }
  void SetGlyphKind(TGlyphKind Value);
  TOxNumGlyphs NumGlyphs() const;
  void SetNumGlyphs(TOxNumGlyphs Value);
  TPopupAlign PopupAlign = epaRight;
  // The combo edit's own read-only flag; the edit window is read-only when this is set or direct
  // input is off.
  bool ReadOnly() const { return GetReadOnly(); }
  void SetReadOnly(bool Value);
  TOxEditButton* Button() const { return FButton; }
  // The popup window (a descendant's), nullptr in the base.
  TWinControl* Popup() const { return FPopup; }
  bool PopupVisible() const { return FPopupVisible; }

  // Operations.
  // Shows the popup under (or over) the edit with the current text; DisableEdit keeps the user
  // from typing meanwhile. Nothing without a popup, when read-only or already shown.
  virtual void OpenPopup(bool DisableEdit);
  // Hides the popup; with Accept its value becomes the text when the popup confirms it.
  virtual void ClosePopup(TObject* Sender, bool Accept);
  // The button's click: PressButton unless the edit is read-only.
  void HandleButtonClick(TObject* Sender);

  TNotifyEvent OnButtonClick;

 protected:
  // Overridables (a descendant with a popup overrides the popup ones).
  // The bitmap of gkDefault; DestroyAfter: the caller frees it.
  virtual TBitmap* DefaultGlyphBitmap(bool& DestroyAfter);
  virtual void ShowPopupAt(TPoint ScreenPoint);
  virtual void HidePopupWindow();
  // The text changed while no popup shows: OnChange.
  virtual void PopupTextChanged();
  virtual bool ConfirmPopupValue(Variant& Value);
  virtual void ApplyPopupValue(const Variant& Value);
  virtual void PutPopupValue(const Variant& Value);
  virtual Variant TakePopupValue();
  // The text changed while the popup shows.
  virtual void CompleteTypedText() {}
  virtual bool GetReadOnly() const { return FReadOnly; }
  // OnButtonClick, then the popup opened or closed.
  virtual void PressButton();

  void Change() override;
  bool EditCanModify() override { return !GetReadOnly(); }
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void WMSize(TMessage& Message);
  void WMPaint(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void WMKillFocus(TMessage& Message);
  void WMLButtonDown(TMessage& Message);
  void WMClipboardCommand(TMessage& Message);
  void CMEnter(TMessage& Message);
  void CMCancelMode(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CNCtlColor(TMessage& Message);

  // Set by a descendant that has a popup.
  TWinControl* FPopup = nullptr;
  bool FPopupVisible = false;
  bool FFocused = false;
  TOxNumGlyphs FDefNumGlyphs = 1;

 private:
  // The edit's height from its font, and the formatting rectangle left of the button.
  void PlaceTextArea();
  void PlaceButton();
  void RecreateGlyph();
  int FontTextHeight();
  int MinHeight();
  bool PaintDisabled(HDC DC);
  bool IsGlyphStored() const { return FGlyphKind == gkCustom; }
  bool IsButtonWidthStored() const;

  TWinControl* FButtonHolder;
  TOxEditButton* FButton;
  TControlCanvas* FCanvas;
  TShortCut FClickKey;
  bool FReadOnly = false;
  bool FDirectInput = true;
  bool FCtl3D = true;
  TAlignment FAlignment = taLeftJustify;
  TGlyphKind FGlyphKind = gkCustom;
  TClipboardCommands FClipboardCommands = {caCopy, caCut, caPaste, caUndo};
  TColor FDisabledColor = clWindow;
  TColor FDisabledTextColor = clGrayText;
};

class TOxComboEdit : public TOxCustomComboEdit {
  VELBOR_DECLARE_CLASS(TOxComboEdit, TOxCustomComboEdit)
 public:
  explicit TOxComboEdit(TComponent* AOwner) : TOxCustomComboEdit(AOwner) {}
};
