// This file implements the edit every text-entry control of the data-aware library derives from:
// TqvCustomMaskEdit (the platform's masked edit with a picture mask, a frame, word wrap and a
// check-value event), TqvDBCustomEdit (the same bound to one field: display text while unfocused,
// edit text while focused, display formats, automatic edit state, date and time completion on
// Space, and its own painting of the unfocused text), the published TqvDBEdit, and TqvDBPicture,
// the picture-mask settings.
// Implemented in qvdbedit.cpp (settings, data link, focus), qvdbeditKeys.cpp (typing, keys and
// the clipboard) and qvdbeditPaint.cpp (window, formatting rectangle, painting, mouse).
#pragma once

#include "DBCtrls.h"
#include "FieldControl.h"
#include "Mask.h"
#include "qvframe.h"

class TqvController;
class TqvDBCustomEdit;

enum TqvEditDataType { qvDefault, qvEdtDate, qvEdtTime, qvEdtDateTime };
VELBOR_ENUM(TqvEditDataType, "qvDefault", "qvEdtDate", "qvEdtTime", "qvEdtDateTime")

enum TqvEditAlignment { eaLeftAlignEditing, eaRightAlignEditing };
VELBOR_ENUM(TqvEditAlignment, "eaLeftAlignEditing", "eaRightAlignEditing")

// Told after each check of the text against the picture.
using TqvValidateEvent = TEvent<void(TObject* Sender, bool PassesPictureTest)>;

// The picture-mask settings of an edit. The mask and auto-fill flag come from the bound dataset's
// "PictureMasks" line when PictureMaskFromDataSet is set and the dataset has such a list.
class TqvDBPicture : public TPersistent {
  VELBOR_DECLARE_CLASS(TqvDBPicture, TPersistent)
 public:
  using TOwnerClass = TComponent;
  explicit TqvDBPicture(TComponent* AOwner = nullptr);

  // Properties.
  bool PictureMaskFromDataSet = true;
  String PictureMask() const;
  // Refused with a warning when the bound table stores its own picture for the field.
  void SetPictureMask(const String& Value);
  bool AutoFill() const;
  void SetAutoFill(bool Value);
  // Always false, and not settable, when the mask comes from the dataset.
  bool AllowInvalidExit() const;
  void SetAllowInvalidExit(bool Value);
  TComponent* Owner() const { return FOwner; }

  // Operations.
  bool IsMaskFromDataSet() const;
  // Copies the effective mask and auto-fill flag.
  void Assign(TPersistent* Source) override;
  TPersistent* GetOwner() override { return FOwner; }
  // Writes the mask and flag back into the dataset's line (only when they come from there).
  void StoreInDataSet(bool MaskChanged, bool AutoFillChanged);

 private:
  TDataSet* BoundDataSet() const;
  String BoundFieldName() const;

  TComponent* FOwner;
  String FPictureMask;
  bool FAutoFill = true;
  bool FAllowInvalidExit = false;
};

class TqvCustomMaskEdit : public TCustomMaskEdit {
  VELBOR_DECLARE_CLASS(TqvCustomMaskEdit, TCustomMaskEdit)
 public:
  explicit TqvCustomMaskEdit(TComponent* AOwner);
  ~TqvCustomMaskEdit() override;

  // Properties.
  virtual TqvDBPicture* GetPicture() { return FPicture; }
  TqvDBPicture* Picture() { return GetPicture(); }
  virtual void SetPicture(TqvDBPicture* Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  bool UsePictureMask() const { return FUsePictureMask; }
  void SetUsePictureMask(bool Value) { FUsePictureMask = Value; }
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool Value);
  bool ShowVertScrollBar() const { return FShowVertScrollBar; }
  void SetShowVertScrollBar(bool Value);
  TqvEditFrame* Frame() const { return FFrame; }
  void SetFrame(TqvEditFrame* Value) { FFrame->Assign(Value); }
  bool MaskStoreLiteralTemplate = false;
  TqvValidateEvent OnCheckValue;
  // The last exit was refused by the picture check.
  bool ExitRefused() const { return FExitRefused; }

  // Operations.
  // A picture is active: UsePictureMask and a mask that is not empty.
  bool HasPicture();
  // An empty text, or an empty mask, passes; otherwise the text must complete the picture.
  // OnCheckValue hears of the result.
  bool IsValidText(const String& Text);
  // The edit mask's text holds nothing but literals and blanks.
  bool IsEmptyMaskedText();
  String StripLiterals(const String& Text);

  // Overridables.
  virtual bool IsOwnerDrawn() { return false; }
  // Recomputes the formatting rectangle (EM_SETRECTNP).
  virtual void SetEditRect();
  virtual void DoCheckValue(bool Passes);
  // Puts the dataset in edit state (bound edits).
  virtual void StartEditing() {}

 protected:
  void KeyPress(char& Key) override;
  void DoExit() override;
  void CreateParams(TCreateParams& Params) override;
  // The text as the picture logic sets it: counted as the user's change.
  void SetTextFromPicture(const String& Value);

  bool FExitRefused = false;
  bool FKeyHandledByPicture = false;
  bool FSettingTextFromPicture = false;

 private:
  TqvDBPicture* FPicture;
  TqvEditFrame* FFrame;
  bool FWordWrap = false;
  bool FUsePictureMask = true;
  bool FWantReturns = false;
  bool FShowVertScrollBar = false;
};

class TqvDBCustomEdit : public TFieldControl<TqvCustomMaskEdit> {
  VELBOR_DECLARE_CLASS(TqvDBCustomEdit, TFieldControl<TqvCustomMaskEdit>)
 public:
  explicit TqvDBCustomEdit(TComponent* AOwner);
  ~TqvDBCustomEdit() override;

  // Properties.
  TDataSource* DataSource() const { return FDataLink != nullptr ? FDataLink->DataSource() : nullptr; }
  TDataSource* GetDataSource() const { return DataSource(); }
  // Another source first makes the inner edit read-only.
  void SetDataSource(TDataSource* Value);
  String DataField() const { return FDataLink != nullptr ? FDataLink->FieldName() : String(); }
  String GetDataField() const { return DataField(); }
  // Outside design time a MaxLength equal to the old string field's size is cleared first.
  void SetDataField(const String& Value);
  // The link's read-only flag; setting it sets the inner edit's too (not True with a dataset, nor
  // while loading).
  bool ReadOnly() const { return FDataLink != nullptr && FDataLink->ReadOnly(); }
  void SetReadOnly(bool Value);
  TqvDBPicture* GetPicture() override;
  void SetPicture(TqvDBPicture* Value) override;
  String DisplayFormat() { return GetDisplayFormat(); }
  TAlignment FieldAlignment() const { return FFieldAlignment; }
  TAlignment UnboundAlignment() const { return FUnboundAlignment; }
  void SetUnboundAlignment(TAlignment Value);
  bool AutoFillDate = true;
  TqvEditDataType UnboundDataType() const { return FUnboundDataType; }
  void SetUnboundDataType(TqvEditDataType Value) { FUnboundDataType = Value; }
  TqvEditAlignment EditAlignment() const { return FEditAlignment; }
  void SetEditAlignment(TqvEditAlignment Value);
  bool DisableThemes = false;
  bool FocusedState() const { return FFocusedState; }
  TqvController* Controller() const { return FController; }
  // Copies the controller's frame and makes the window again.
  void SetController(TqvController* Value);

  // Operations.
  // With True, tells the data link the record changed (unless it is browsing); then sets the
  // inner edit's Modified. A read-only bound field takes no True.
  void MarkModified(bool Value);
  // Writes the text into the field now; a refusal selects the text, takes the focus back, puts
  // Modified back and goes on.
  void CommitToRecord();
  void SetFocusedState(bool Value);
  bool IsWholeTextSelected();
  bool IsTransparentFrame();
  TAlignment GetEffectiveAlignment();
  bool IsInFocusedGrid();
  bool GridDrawsRowLines();
  // The field's AsString for memos, its EditText otherwise (what editing starts from).
  String FieldEditText();

  // Overridables.
  virtual String GetDisplayFormat();
  virtual void SetDisplayFormat(const String& Value);
  virtual bool CannotAutoEdit();
  virtual bool IsMemoField();
  virtual bool CanEditText() { return true; }
  virtual TRect GetEditTextRect();
  // What UpdateData writes into the field.
  virtual String GetFieldText() { return Text(); }
  virtual void DrawTextInRect(TCanvas* Canvas, const TRect& R, const String& Text, int X, int Y);
  virtual bool GetShowButton() { return false; }
  virtual void SetShowButton(bool) {}
  virtual void PaintFrame(TCanvas* Canvas);
  // Beeps and raises EInvalidOperation with the library's message, unless its strings component
  // cancels it.
  virtual void ReportInvalidValue(TField* Field);
  virtual bool IsDroppedDown() { return false; }
  virtual void DoMouseEnter();
  virtual void DoMouseLeave();
  virtual void SetFieldAlignment(TAlignment Value);
  // A control that maps stored values to shown texts gives the text of Value (true).
  virtual bool MapValueToDisplay(const String& Value, String& Display) {
    (void)Value;
    (void)Display;
    return false;
  }
  void StartEditing() override;
  virtual int GetButtonWidth() { return 0; }
  virtual int GetTextRight() { return ClientWidth() - 1; }
  void SetEditRect() override;

 protected:
  // The data link's notifications.
  void DataChange() override;
  void EditingChange() override;
  void UpdateData() override;
  // Shows the field's text (the combo box shows its mapped text instead).
  void ShowFieldText(TField* Field);

  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  bool CanAutoSize(int& NewWidth, int& NewHeight) override;
  bool EditCanModify() override;
  void Reset() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void Change() override;
  void DoEnter() override;
  void DoExit() override;
  void Dispatch(TMessage& Message) override;

  // Date and time completion on Space; true when it took the key.
  bool AutoFillDateTime(char& Key);
  // The kind of date-time the edit holds (the bound field's class, or UnboundDataType).
  TqvEditDataType DateTimeKind();
  // Makes an unbound edit writable unless it is read-only; false when it is.
  bool MakeUnboundWritable();
  // The grid the edit sits in (by class name), null otherwise.
  TWinControl* ParentGrid(const char* ClassName);
  // Hands the key to the parent grid: it takes the focus and the key.
  void GiveKeyToGrid(TWinControl* Grid, WORD Key, TShiftState Shift);
  // The paint of the unfocused text, frame and highlight.
  void PaintSelf(HDC DC);
  bool PaintsItself();

  // protected messages
  void WMPaint(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void WMSetFont(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMVScroll(TMessage& Message);
  void WMCut(TMessage& Message);
  void WMPaste(TMessage& Message);
  void WMUndo(TMessage& Message);
  void CNKeyDown(TMessage& Message);
  void CMEnter(TMessage& Message);
  void CMExit(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMTextChanged(TMessage& Message);
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);

  TControlCanvas* FCanvas = nullptr;
  // Set while the field's text is being shown: no change of the user's.
  bool FShowingField = false;

 private:
  TAlignment FFieldAlignment = taLeftJustify;
  TAlignment FUnboundAlignment = taLeftJustify;
  String FSavedText;
  TqvEditDataType FUnboundDataType = qvDefault;
  TqvEditAlignment FEditAlignment = eaLeftAlignEditing;
  String FDisplayFormat;
  bool FFocusedState = false;
  TqvController* FController = nullptr;
};

class TqvDBEdit : public TqvDBCustomEdit {
  VELBOR_DECLARE_CLASS(TqvDBEdit, TqvDBCustomEdit)
 public:
  explicit TqvDBEdit(TComponent* AOwner) : TqvDBCustomEdit(AOwner) {}
};
