// This file implements the standard controls of the class library: TLabel (a window-less caption
// with its accelerator), TCustomEdit/TEdit and TCustomMemo/TMemo over the native EDIT control,
// TButton, TCheckBox and TRadioButton over the native BUTTON control, TGroupBox (a self-painted
// frame), and TScrollBar over the native SCROLLBAR control.
// Implemented one file per control: Label.cpp, Edit.cpp, Memo.cpp, Button.cpp, CheckBox.cpp
// (check box and radio button), GroupBox.cpp and ScrollBar.cpp.
#pragma once

#include "Controls.h"
#include "Forms.h"
#include "Strings.h"

class TCustomForm;

enum TTextLayout { tlTop, tlCenter, tlBottom };
VELBOR_ENUM(TTextLayout, "tlTop", "tlCenter", "tlBottom")

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
VELBOR_ENUM(TEditCharCase, "ecNormal", "ecUpperCase", "ecLowerCase")

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
VELBOR_ENUM(TScrollStyle, "ssNone", "ssHorizontal", "ssVertical", "ssBoth")

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
VELBOR_ENUM(TCheckBoxState, "cbUnchecked", "cbChecked", "cbGrayed")

using TLeftRight = TAlignment;  // taLeftJustify or taRightJustify

enum TScrollBarKind { sbHorizontal, sbVertical };
VELBOR_ENUM(TScrollBarKind, "sbHorizontal", "sbVertical")

enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
VELBOR_ENUM(TScrollCode, "scLineUp", "scLineDown", "scPageUp", "scPageDown", "scPosition", "scTrack", "scTop",
            "scBottom", "scEndScroll")
using TScrollEvent = TEvent<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

// --- Label ------------------------------------------------------------------------------------

class TCustomLabel : public TGraphicControl {
  VELBOR_DECLARE_CLASS(TCustomLabel, TGraphicControl)
 public:
  explicit TCustomLabel(TComponent* AOwner);

  // Properties.
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  // A transparent label leaves its parent's background where it draws no text.
  bool Transparent() const { return !ControlStyle.Contains(csOpaque); }
  void SetTransparent(bool Value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  // The control an accelerator of the caption focuses (cleared when it goes away).
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  void SetAutoSize(bool Value) override;

 protected:
  // The caption as drawn (a label draws an empty caption as nothing).
  virtual String GetLabelText() const { return Caption(); }
  // Draws the caption in Rect with Flags.
  virtual void DoDrawText(TRect& Rect, UINT Flags);
  // The rectangle the caption takes in Rect with Flags.
  TRect TextBounds(TRect Rect, UINT Flags) const;
  void Paint() override;
  void AdjustBounds();
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CMTextChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMDialogChar(TMessage& Message);

 private:
  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FWordWrap = false;
  bool FShowAccelChar = true;
  TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
  VELBOR_DECLARE_CLASS(TLabel, TCustomLabel)
 public:
  explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
};

// --- Edit -------------------------------------------------------------------------------------

class TCustomEdit : public TWinControl {
  VELBOR_DECLARE_CLASS(TCustomEdit, TWinControl)
 public:
  explicit TCustomEdit(TComponent* AOwner);

  // Properties.
  bool AutoSelect = true;
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase Value);
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  // The most characters the user may type (0: no limit); text set by the program is not cut.
  int MaxLength() const { return FMaxLength; }
  virtual void SetMaxLength(int Value);
  bool Modified() const;
  void SetModified(bool Value);
  bool OEMConvert() const { return FOEMConvert; }
  void SetOEMConvert(bool Value);
  char PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(char Value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  // The selection, 0-based: its start (the caret when nothing is selected), length and text.
  int SelStart() const;
  void SetSelStart(int Value);
  int SelLength() const;
  void SetSelLength(int Value);
  String SelText() const;
  void SetSelText(const String& Value);
  bool CanUndo() const;

  // Operations.
  void Clear();
  void ClearSelection();
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void Undo();
  void ClearUndo();
  void SelectAll();

  TNotifyEvent OnChange;

 protected:
  // Fires OnChange (the text changed, by the user or the program).
  virtual void Change();
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  bool CanAutoSize(int& NewWidth, int& NewHeight) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CNCommand(TMessage& Message);
  void CMEnter(TMessage& Message);
  void CMTextChanged(TMessage& Message);
  void WMSetFont(TMessage& Message);
  void WMSetText(TMessage& Message);

  // Creation of the window's text: the saved modified flag is put back after the window exists.
  bool FCreating = false;

 private:
  // Set while the window takes a text from the program: its own change notification, which a
  // multi-line window does not send, is not counted then.
  bool FSettingText = false;
  TBorderStyle FBorderStyle = bsSingle;
  TEditCharCase FCharCase = ecNormal;
  bool FHideSelection = true;
  int FMaxLength = 0;
  bool FModified = false;
  bool FOEMConvert = false;
  char FPasswordChar = 0;
  bool FReadOnly = false;
  int FSavedSelStart = 0;
  int FSavedSelLength = 0;
};

class TEdit : public TCustomEdit {
  VELBOR_DECLARE_CLASS(TEdit, TCustomEdit)
 public:
  explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

// --- Memo -------------------------------------------------------------------------------------

class TCustomMemo;

// The lines of a memo, read from and written to its window (its text, while it has none).
class TMemoStrings : public TStrings {
  VELBOR_DECLARE_CLASS(TMemoStrings, TStrings)
 public:
  explicit TMemoStrings(TCustomMemo* AMemo = nullptr) : FMemo(AMemo) {}
  String Get(int Index) const override;
  void Put(int Index, const String& S) override;
  int GetCount() const override;
  String GetTextStr() const override;
  void SetTextStr(const String& Value) override;
  void Clear() override;
  void Delete(int Index) override;
  void Insert(int Index, const String& S) override;

 protected:
  void SetUpdateState(bool Updating) override;

 private:
  TCustomMemo* FMemo;
};

class TCustomMemo : public TCustomEdit {
  VELBOR_DECLARE_CLASS(TCustomMemo, TCustomEdit)
  friend class TMemoStrings;

 public:
  explicit TCustomMemo(TComponent* AOwner);
  ~TCustomMemo() override;

  // Properties.
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TStrings* Lines() const { return FLines; }
  void SetLines(TStrings* Value) { FLines->Assign(Value); }
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  bool WantReturns = true;
  bool WantTabs = false;
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  // The caret's line and column (0-based).
  TPoint CaretPos() const;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void KeyPress(char& Key) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void WMGetDlgCode(TMessage& Message);

 private:
  TStrings* FLines;
  TAlignment FAlignment = taLeftJustify;
  TScrollStyle FScrollBars = ssNone;
  bool FWordWrap = true;
};

class TMemo : public TCustomMemo {
  VELBOR_DECLARE_CLASS(TMemo, TCustomMemo)
 public:
  explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
};

// --- Buttons over the native BUTTON -------------------------------------------------------------

class TButtonControl : public TWinControl {
  VELBOR_DECLARE_CLASS(TButtonControl, TWinControl)
 public:
  explicit TButtonControl(TComponent* AOwner);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  bool Checked() const { return GetChecked(); }
  virtual void SetChecked(bool) {}

 protected:
  virtual bool GetChecked() const { return false; }
  void CreateParams(TCreateParams& Params) override;
  // While set, state changes made by the program do not fire OnClick.
  bool ClicksDisabled = false;

 private:
  bool FWordWrap = false;
};

class TButton : public TButtonControl {
  VELBOR_DECLARE_CLASS(TButton, TButtonControl)
 public:
  explicit TButton(TComponent* AOwner);

  // Properties.
  // Return clicks the default button unless another button has the focus.
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  // Escape clicks a cancel button.
  bool Cancel = false;
  // Given to the parent form when the button is clicked (ending a modal form).
  TModalResult ModalResult = mrNone;

  // Operations.
  void Click() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  // Shows the default frame on the button Return would click now.
  virtual void SetButtonStyle(bool ADefault);
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CNCommand(TMessage& Message);
  void CMDialogKey(TMessage& Message);
  void CMDialogChar(TMessage& Message);
  void CMFocusChanged(TMessage& Message);

  bool FActive = false;  // Return clicks this button

 private:
  bool FDefault = false;
};

class TCustomCheckBox : public TButtonControl {
  VELBOR_DECLARE_CLASS(TCustomCheckBox, TButtonControl)
 public:
  explicit TCustomCheckBox(TComponent* AOwner);

  // Properties.
  TLeftRight Alignment() const { return FAlignment; }
  void SetAlignment(TLeftRight Value);
  bool AllowGrayed = false;
  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState Value);
  void SetChecked(bool Value) override { SetState(Value ? cbChecked : cbUnchecked); }

 protected:
  // The user's click: unchecked, (grayed,) checked, unchecked...
  virtual void Toggle();
  bool GetChecked() const override { return FState == cbChecked; }
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CNCommand(TMessage& Message);
  void CMDialogChar(TMessage& Message);

 private:
  TLeftRight FAlignment = taRightJustify;
  TCheckBoxState FState = cbUnchecked;
};

class TCheckBox : public TCustomCheckBox {
  VELBOR_DECLARE_CLASS(TCheckBox, TCustomCheckBox)
 public:
  explicit TCheckBox(TComponent* AOwner) : TCustomCheckBox(AOwner) {}
};

// A radio button: checking it unchecks the other radio buttons of its parent.
class TRadioButton : public TButtonControl {
  VELBOR_DECLARE_CLASS(TRadioButton, TButtonControl)
 public:
  explicit TRadioButton(TComponent* AOwner);
  TLeftRight Alignment() const { return FAlignment; }
  void SetAlignment(TLeftRight Value);
  void SetChecked(bool Value) override;

 protected:
  bool GetChecked() const override { return FChecked; }
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CNCommand(TMessage& Message);
  void CMDialogChar(TMessage& Message);
  void WMSetFocus(TMessage& Message);

 private:
  TLeftRight FAlignment = taRightJustify;
  bool FChecked = false;
};

// --- Group box --------------------------------------------------------------------------------

class TCustomGroupBox : public TCustomControl {
  VELBOR_DECLARE_CLASS(TCustomGroupBox, TCustomControl)
 public:
  explicit TCustomGroupBox(TComponent* AOwner);

 protected:
  void AdjustClientRect(TRect& Rect) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CMDialogChar(TMessage& Message);
  void CMTextChanged(TMessage& Message);
};

class TGroupBox : public TCustomGroupBox {
  VELBOR_DECLARE_CLASS(TGroupBox, TCustomGroupBox)
 public:
  explicit TGroupBox(TComponent* AOwner) : TCustomGroupBox(AOwner) {}
};

// --- Scroll bar -------------------------------------------------------------------------------

class TScrollBar : public TWinControl {
  VELBOR_DECLARE_CLASS(TScrollBar, TWinControl)
 public:
  explicit TScrollBar(TComponent* AOwner);

  // Properties.
  TScrollBarKind Kind() const { return FKind; }
  void SetKind(TScrollBarKind Value);
  int Position() const { return FPosition; }
  void SetPosition(int Value);
  int Min() const { return FMin; }
  void SetMin(int Value);
  int Max() const { return FMax; }
  void SetMax(int Value);
  // The size of the thumb in position units (0: the system's square thumb).
  int PageSize() const { return FPageSize; }
  void SetPageSize(int Value);
  int SmallChange = 1;
  int LargeChange = 1;

  // Operations. Keeps Min <= Position <= Max (EInvalidOperation for Min > Max).
  void SetParams(int APosition, int AMin, int AMax);

  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

 protected:
  virtual void Change();
  virtual void Scroll(TScrollCode ScrollCode, int& ScrollPos);
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CNScroll(TMessage& Message);

 private:
  void UpdateScrollInfo();
  TScrollBarKind FKind = sbHorizontal;
  int FPosition = 0;
  int FMin = 0;
  int FMax = 100;
  int FPageSize = 0;
};
