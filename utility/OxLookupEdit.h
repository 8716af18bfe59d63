// This file implements TOxLookupEdit, a combo edit that is not data-aware: the user types freely,
// the typed text is completed from a lookup dataset, a list of the lookup rows drops down under the
// edit, and GetLookupValue gives the key of the row whose shown field is the text; and
// TOxPopupDataWindow, that drop-down list bound to its edit.
#pragma once

#include "OxComboEdit.h"
#include "OxLookupList.h"

class TOxLookupEdit;

// Closes a popup; Accept takes the row it stands on.
using TCloseUpCallback = TEvent<void(TObject* Sender, bool Accept)>;

// The drop-down list of a lookup edit: a pick writes the row's shown text into the edit at once,
// and the release of the left button closes it.
class TOxPopupDataWindow : public TOxPopupDataList {
  VELBOR_DECLARE_CLASS(TOxPopupDataWindow, TOxPopupDataList)
  friend class TOxLookupEdit;

 public:
  // The owner is the lookup edit it drops from.
  explicit TOxPopupDataWindow(TComponent* AOwner);

  TOxLookupEdit* Editor() const { return FEditor; }
  // Set by the editor to its ClosePopup.
  TCloseUpCallback CloseUp;

  // Operations.
  // Makes Text the display text and finds the row it names (the key of the row whose shown field
  // equals it, case aside), even when it is the text found last: the rows may have changed since,
  // and the key may have been cleared by a failed completion. No row: the first row and no key.
  void ResolveDisplayText(const String& Text);

 protected:
  void ShowDisplayRow() override;
  TGraphic* FetchRowImage(bool Current, bool IsEmpty, int& TextMargin) override;
  void Click() override;
  void KeyPress(char& Key) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  // Repaints the text area of the editor (left of its button) at once.
  void RepaintEditorText();

  TOxLookupEdit* FEditor;
};

class TOxLookupEdit : public TOxCustomComboEdit {
  VELBOR_DECLARE_CLASS(TOxLookupEdit, TOxCustomComboEdit)
  friend class TOxPopupDataWindow;

 public:
  explicit TOxLookupEdit(TComponent* AOwner);
  ~TOxLookupEdit() override;

  // Properties (those of the lookup rows are kept by the drop-down list).
  TDataSource* LookupSource() const;
  void SetLookupSource(TDataSource* Value);
  String LookupField() const;
  void SetLookupField(const String& Value);
  // The fields listed, separated by ";"; the one at LookupDisplayIndex is the text of the edit.
  String LookupDisplay() const;
  void SetLookupDisplay(const String& Value);
  int LookupDisplayIndex() const;
  void SetLookupDisplayIndex(int Value);
  TLookupListStyle ListStyle() const;
  void SetListStyle(TLookupListStyle Value);
  char FieldsDelimiter() const;
  void SetFieldsDelimiter(char Value);
  // Asked for the picture of a row; the sender is the edit.
  TGetImageEvent OnGetImage() const;
  void SetOnGetImage(TGetImageEvent Value);
  // The rows the drop-down shows: 1 .. 50.
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int Value);
  // The drop-down's width: this many pixels when above 0; the edit's width when 0; below 0, wide
  // enough for every display field but never narrower than the edit.
  int DropDownWidth = 0;
  // Typing completes the text only while the drop-down is shown.
  bool PopupOnlyLocate = true;
  TOxPopupDataWindow* PopupWindow() const { return FPopupWindow; }

  TNotifyEvent OnCloseUp;
  TNotifyEvent OnDropDown;

  // Operations.
  // The LookupField value of the lookup row whose shown field equals the text (case aside), as a
  // string; empty when no row does (the lookup dataset then stands on its first row), when the
  // text is empty or when the lookup rows are not there.
  String GetLookupValue();
  // Takes the popup's size, colours and rows from the edit, then shows it; typing stays possible.
  void OpenPopup(bool DisableEdit) override;

 protected:
  bool ConfirmPopupValue(Variant& Value) override;
  void PutPopupValue(const Variant& Value) override;
  Variant TakePopupValue() override;
  // Completes the text from the lookup rows: the first shown text that begins with it, the part
  // beyond what was typed selected.
  void CompleteTypedText() override;
  void Change() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;

 private:
  // The popup writes a row's text: no completion meanwhile; OnChange when the list is closed.
  void TakeRowText(const String& RowText);

  TOxPopupDataWindow* FPopupWindow;
  // The edit is setting its own text.
  bool FChanging = false;
  // The last key deleted text: the change it makes is not completed.
  bool FIgnoreChange = false;
  int FDropDownCount = 8;
};

// Registers the lookup edit with the form reader.
void RegisterOxLookupEdit();
