// This file implements the masked edit: TCustomMaskEdit, an edit whose text follows an edit mask
// (MaskUtils.h) as the user types (fixed positions, literals skipped, characters checked and
// case-converted, overtyping), with EditText (what shows) against Text (what the program reads)
// and ValidateEdit refusing an incomplete entry; and the published TMaskEdit.
#pragma once

#include "MaskUtils.h"
#include "StdCtrls.h"

// The masked edit refused its text: a required position is blank.
VELBOR_EXCEPTION(EDBEditError, Exception)

class TCustomMaskEdit : public TCustomEdit {
  VELBOR_DECLARE_CLASS(TCustomMaskEdit, TCustomEdit)
 public:
  explicit TCustomMaskEdit(TComponent* AOwner);

  // Properties.
  String EditMask() const { return FEditMask; }
  void SetEditMask(const String& Value);
  // The text as shown: literals in place and the blank character in empty positions.
  virtual String GetEditText() const;
  virtual void SetEditText(const String& Value);
  String EditText() const { return GetEditText(); }
  bool IsMasked() const { return !FMask.Empty(); }
  const TEditMaskInfo& MaskInfo() const { return FMask; }

  // Operations.
  // Raises EDBEditError (after taking the focus and putting the caret on the first missing
  // position) when the text was changed and a required position is left blank.
  virtual void ValidateEdit();
  // Puts back the text the edit had when it was entered (Escape does it).
  virtual void Reset();

 protected:
  // Whether the user may change the text now (the data-aware edits ask their field).
  virtual bool EditCanModify() { return true; }
  // True when EditText fills the mask; Pos: the first position that does not.
  bool Validate(const String& Value, int& Pos);
  virtual void ValidateError();
  String GetText() const override;
  void SetTextImpl(const String& Value) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CMEnter(TMessage& Message);
  void CMExit(TMessage& Message);
  void WMCut(TMessage& Message);
  void WMPaste(TMessage& Message);
  void WMClear(TMessage& Message);

 private:
  // Types one character at the caret (over the selection); false when the mask refuses it.
  bool InputChar(char Ch);
  // Blanks the input positions of [Start, End) and puts the caret at Start.
  void ClearRange(int Start, int End);
  void DeleteKey(bool Backspace);
  void ReplaceRange(int Start, int End, const String& Text);
  int NextInputPos(int Pos) const;
  int PrevInputPos(int Pos) const;
  bool CanEdit();

  String FEditMask;
  TEditMaskInfo FMask;
  String FOldValue;       // the edit text when the edit was entered, for Reset
  bool FReEntering = false;  // the focus comes back after a refused exit
};

class TMaskEdit : public TCustomMaskEdit {
  VELBOR_DECLARE_CLASS(TMaskEdit, TCustomMaskEdit)
 public:
  explicit TMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}
};
