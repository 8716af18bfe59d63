// This file implements TqvDBLookupComboDlg, the lookup combo whose button (and F4, Alt+arrows,
// typing with AutoDropDown) opens the modal lookup window over its lookup table instead of the
// drop-down list. The row confirmed there becomes the combo's value: its key is written into the
// bound field (or, for a lookup field, into the field's key fields) and its display value shown.
// Binding, display and typing are the lookup combo's.
#pragma once

#include "qvdblook.h"
#include "qvidlg.h"

class TqvDBLookupComboDlg : public TqvDBCustomLookupCombo {
  VELBOR_DECLARE_CLASS(TqvDBLookupComboDlg, TqvDBCustomLookupCombo)
 public:
  explicit TqvDBLookupComboDlg(TComponent* AOwner);
  ~TqvDBLookupComboDlg() override;

  // Properties: the lookup window's settings.
  TqvDBLookupDlgOptions DialogOptions = qvDefaultLookupDlgOptions;
  TqvDBGridOptions GridOptions = qvLookupDlgGridOptions;
  TColor GridColor = clWhite;
  TAlignment GridTitleAlignment = taLeftJustify;
  String Caption = "Lookup";
  int MaxWidth = 0;
  int MaxHeight = 209;
  String UserButton1Caption, UserButton2Caption;
  TStrings* ControlType() const { return FControlType; }
  void SetControlType(TStrings* Value);
  TStrings* PictureMasks() const { return FPictureMasks; }
  void SetPictureMasks(TStrings* Value);
  bool PictureMaskFromDataset = true;
  bool PictureMaskFromField = false;
  TEditCharCase SearchCharCase = ecNormal;

  // Events.
  TqvUserButtonEvent OnUserButton1Click, OnUserButton2Click;
  TqvOnInitDialogEvent OnInitDialog, OnCloseDialog;
  TNotifyEvent OnSortChange;

  // Opens the lookup window; a confirmed row is written. Nothing at all on a read-only combo.
  void DropDown() override;
  bool UsesLookupDialog() override { return true; }

 private:
  // Writes the lookup table's current row as the combo's value; true when the stored value changed.
  bool TakeDialogRow();

  TStringList* FControlType;
  TStringList* FPictureMasks;
};
