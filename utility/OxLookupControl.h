// This file implements TOxLookupControl, the base of the dataset lookup controls, with its two data
// links: TOxDataSourceLink (the data source whose field receives the chosen key) and
// TLookupSourceLink (the rows to choose from). The control keeps the chosen key and its display
// text, finds rows by key, by display text and by a typed prefix (incremental search), writes the
// key into the data field and knows an optional empty entry.
#pragma once

#include <vector>

#include "DataSource.h"
#include "OxBase.h"

class TField;
class TOxLocateObject;
class TOxLookupControl;
class TOxDBLookupList;
class TOxDBLookupCombo;

enum TLookupListStyle { lsFixed, lsDelimited };
VELBOR_ENUM(TLookupListStyle, "lsFixed", "lsDelimited")

// Asked for the picture of a row: the handler sets Graphic (which it keeps owning) and the width
// kept for it left of the text.
using TGetImageEvent = TEvent<void(TObject* Sender, bool IsEmpty, TGraphic*& Graphic, int& TextMargin)>;

// The link to DataSource: the field that receives the key.
class TOxDataSourceLink : public TDataLink {
 public:
  explicit TOxDataSourceLink(TOxLookupControl* Control) : FControl(Control) {}

 protected:
  void ActiveChanged() override;
  void LayoutChanged() override;
  void RecordChanged(TField* Field) override;
  void FocusControl(TField** Field) override;

 private:
  friend class TOxLookupControl;
  TOxLookupControl* FControl;
};

// The link to LookupSource: the rows to choose from.
class TLookupSourceLink : public TDataLink {
 public:
  explicit TLookupSourceLink(TOxLookupControl* Control) : FControl(Control) {}

 protected:
  void ActiveChanged() override;
  void LayoutChanged() override;
  void DataSetChanged() override;

 private:
  friend class TOxLookupControl;
  TOxLookupControl* FControl;
};

class TOxLookupControl : public TOxCustomControl {
  VELBOR_DECLARE_CLASS(TOxLookupControl, TOxCustomControl)
  friend class TOxDataSourceLink;
  friend class TLookupSourceLink;
  friend class TOxDBLookupCombo;

 public:
  explicit TOxLookupControl(TComponent* AOwner);
  ~TOxLookupControl() override;

  // Properties.
  TDataSource* DataSource() const { return FDataLink->DataSource(); }
  void SetDataSource(TDataSource* Value);
  const String& DataField() const { return FDataFieldName; }
  void SetDataField(const String& Value);
  // LookupSource and LookupField read empty while the data field is a lookup field (they come
  // from the field then) and refuse a change meanwhile.
  TDataSource* LookupSource() const { return FLookupMode ? nullptr : FLookupLink->DataSource(); }
  void SetLookupSource(TDataSource* Value);
  String LookupField() const { return FLookupMode ? String() : FLookupFieldName; }
  void SetLookupField(const String& Value);
  // The fields shown, separated by ';'.
  const String& LookupDisplay() const { return FLookupDisplay; }
  void SetLookupDisplay(const String& Value);
  // Which of the LookupDisplay fields is the one shown as the row's text.
  int LookupDisplayIndex() const { return FLookupDisplayIndex; }
  void SetLookupDisplayIndex(int Value);
  // "%s" for each display field in order, "%%" for a percent sign.
  const String& LookupFormat() const { return FLookupFormat; }
  void SetLookupFormat(const String& Value);
  TLookupListStyle ListStyle() const { return FListStyle; }
  virtual void SetListStyle(TLookupListStyle Value);
  char FieldsDelimiter() const { return FFieldsDelimiter; }
  virtual void SetFieldsDelimiter(char Value);
  // The text of the empty entry; none when empty.
  const String& DisplayEmpty() const { return FDisplayEmpty; }
  void SetDisplayEmpty(const String& Value);
  // The key that stands for "nothing chosen".
  const String& EmptyValue() const { return FEmptyValue; }
  void SetEmptyValue(const String& Value);
  // The empty entry writes a null rather than an empty text (when EmptyValue is empty).
  bool EmptyStrIsNull() const { return FEmptyStrIsNull; }
  void SetEmptyStrIsNull(bool Value);
  TColor EmptyItemColor() const { return FEmptyItemColor; }
  void SetEmptyItemColor(TColor Value);
  bool IgnoreCase = true;
  bool IndexSwitch = true;
  // The height of a row: the font's text height at least.
  int ItemHeight() const;
  void SetItemHeight(int Value);
  bool ReadOnly() const { return FDataLink->ReadOnly(); }
  void SetReadOnly(bool Value) { FDataLink->SetReadOnly(Value); }
  // A sunken client edge rather than a flat border.
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool Value);
  // The key of the chosen row (EmptyValue when none), and the shown text of that row.
  const String& Value() const { return FValue; }
  void SetValue(const String& Value);
  const String& DisplayValue() const { return FDisplayValue; }
  void SetDisplayValue(const String& Value) { PutDisplayText(Value); }
  // The data field, once bound.
  TField* Field() const { return FDataField; }
  // The key and display fields are resolved.
  bool ListActive() const { return FListActive; }

  TNotifyEvent OnChange;
  TGetImageEvent OnGetImage;

  // Operations.
  // Puts Key in as the value: into the data field (the dataset entering edit mode) when there is
  // a data source and the value may change, as the control's own value otherwise.
  void PutKeyText(const String& Key);
  // Chooses the row whose shown field equals Text.
  void PutDisplayText(const String& Text);
  // The width that shows every display field: their display widths in "M"s plus 4 pixels each and
  // a scroll bar, at most the screen's width.
  int NaturalListWidth() const;

  // The time of the last search key of any lookup control that is not a drop-down list: a pause
  // of more than 2 s before the next key starts a new search.
  static DWORD SearchTick;

 protected:
  // Overridables.
  // The value (key) changed: show its row.
  virtual void ShowValueRow() {}
  // The display value changed: show its row.
  virtual void ShowDisplayRow() {}
  // Resolves the key, display and list fields of the lookup dataset.
  virtual void RebuildLookupFields();
  // The lookup dataset changed (records, position).
  virtual void LookupDataChanged() {}
  // The picture of a row from OnGetImage (nullptr when none); Current asks for the chosen row.
  virtual TGraphic* FetchRowImage(bool Current, bool IsEmpty, int& TextMargin);
  // DisplayEmpty is about to become NewText.
  virtual void EmptyTextChanged(const String& NewText) { (void)NewText; }
  // Chooses the empty entry.
  virtual void ClearToEmpty();
  virtual void Change();

  // What the descendants share.
  // The value may change: the list is active, the control is not read-only, and the field (when
  // there is a data source) can be modified.
  bool CanModify() const;
  bool ValueIsEmpty(const String& S) const { return S == FEmptyValue; }
  bool ValueIsEmpty() const { return FValue == FEmptyValue; }
  int EmptyRows() const { return FDisplayEmpty.empty() ? 0 : 1; }
  TDataSet* LookupDataSet() const { return FLookupLink->Active() ? FLookupLink->DataSet() : nullptr; }
  // Makes Key the value: written into the master field when there is one, kept as the value
  // otherwise; then the control repaints and clicks.
  void ChooseKey(const String& Key);
  // Makes the lookup row whose Field equals Text (begins with it unless Exact) the current one;
  // false when there is none (errors included).
  bool LocateRow(TField* Field, const String& Text, bool Exact);
  bool LocateKey();
  bool LocateDisplay();
  // Finds a display text beginning with S and chooses its row, S becoming the found text's first
  // characters; an empty S goes to the first row (and answers false).
  bool LocatePrefix(String& S);
  // The incremental search: one typed character, Backspace, Tab or Esc.
  void ProcessSearchKey(char Key);
  // The current lookup row as one text: LookupFormat over the display fields, or their texts
  // joined by the delimiter and a blank.
  String RowText();
  // The height of a line of text in the control's font.
  int FontTextHeight() const;
  void UpdateDisplayValue();
  // The value becomes Value, ShowValueRow when it changed.
  void SetValueKey(const String& Value);
  // The form description is being read: what depends on other components waits for Loaded.
  bool Reading() const;

  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void WMGetDlgCode(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void WMKillFocus(TMessage& Message);

  TOxDataSourceLink* FDataLink;
  TLookupSourceLink* FLookupLink;
  TDataSource* FOwnLookupSource;  // in lookup-field mode: the lookup field's dataset
  TOxLocateObject* FLocate;
  String FDataFieldName;
  String FLookupFieldName;
  String FLookupDisplay;
  int FLookupDisplayIndex = 0;
  TField* FDataField = nullptr;
  TField* FMasterField = nullptr;  // receives the key: the data field, or the lookup field's key field
  TField* FKeyField = nullptr;
  TField* FDisplayField = nullptr;
  std::vector<TField*> FListFields;
  String FValue;
  String FDisplayValue;
  String FDisplayEmpty;
  String FSearchText;
  String FEmptyValue;
  bool FEmptyStrIsNull = true;
  TColor FEmptyItemColor;
  bool FListActive = false;
  bool FPopup = false;  // a drop-down list: its search never times out
  bool FFocused = false;
  bool FLookupMode = false;  // the data field is a lookup field of its dataset
  int FItemHeight = 0;
  char FFieldsDelimiter = ',';
  TLookupListStyle FListStyle = lsFixed;
  String FLookupFormat;
  bool FCtl3D = true;

 private:
  void BindDataField();
  void DataLinkLayoutChanged();
  void TakeFieldValue(TField* Field);
  void FocusRequested(TField** Field);
  void CheckNotCircular();
  void CheckNotFixed();
  void WriteKey(TField* Field, const String& Key);
  void SetLookupMode(bool Value);
  bool IsItemHeightStored() const;
};
