// This file implements the fields of a dataset: TField and its descendants (text, numbers,
// booleans, dates and times, bytes and blobs), TLookupList, and TFields, the ordered list of the
// fields of one dataset.
//
// A field reads and writes its value through its dataset (GetFieldData/SetFieldData) in the native
// form of DBConsts.h, and converts between that form and the As... accessors, the texts a user
// sees (DisplayText, with DisplayFormat) and edits (Text, with EditFormat), and Variant. A field
// made from a form description is owned by the form or data module and placed in its dataset by
// SetParentComponent; a field the dataset makes from its definitions is owned by the dataset.
#pragma once

#include <bitset>
#include <cstdint>
#include <utility>
#include <vector>

#include "AnsiString.h"
#include "Component.h"
#include "DBConsts.h"
#include "Event.h"
#include "Variant.h"

class TDataSet;
class TFields;
class TField;
class TStream;
class TStrings;
class TReader;

using TFieldNotifyEvent = TEvent<void(TField* Sender)>;
// Text is the value shown (DisplayText true) or edited (false); the handler replaces it.
using TFieldGetTextEvent = TEvent<void(TField* Sender, String& Text, bool DisplayText)>;
using TFieldSetTextEvent = TEvent<void(TField* Sender, const String& Text)>;

// The characters a field accepts from a keyboard, one bit per 1252 byte.
using TFieldChars = std::bitset<256>;

// Key-value pairs of a lookup field whose LookupCache is set: the whole lookup dataset's keys and
// results, read once.
class TLookupList {
 public:
  void Add(const Variant& AKey, const Variant& AValue) { FList.emplace_back(AKey, AValue); }
  void Clear() { FList.clear(); }
  int Count() const { return int(FList.size()); }
  // Null when no key equals AKey (Variant equality: a text key compares as the platform does).
  Variant ValueOfKey(const Variant& AKey) const;

 private:
  std::vector<std::pair<Variant, Variant>> FList;
};

class TField : public TComponent {
  VELBOR_DECLARE_CLASS(TField, TComponent)
 public:
  explicit TField(TComponent* AOwner);
  // Leaves its dataset's field list.
  ~TField() override;

  // --- Identity ---------------------------------------------------------------------------------
  TDataSet* DataSet() const { return FDataSet; }
  // Moves the field to another dataset's list (both closed); EDatabaseError for a name already
  // there.
  void SetDataSet(TDataSet* Value);
  const String& FieldName() const { return FFieldName; }
  void SetFieldName(const String& Value);
  TFieldKind FieldKind() const { return FFieldKind; }
  void SetFieldKind(TFieldKind Value);
  bool Calculated() const { return FFieldKind == fkCalculated; }
  void SetCalculated(bool Value);
  bool Lookup() const { return FFieldKind == fkLookup; }
  void SetLookup(bool Value);
  TFieldType DataType() const { return FDataType; }
  // The column's number in the dataset's definitions (from 1); -1 for calculated and lookup
  // fields, 0 while unbound.
  int FieldNo() const { return FFieldNo; }
  // Where the value lies in the calculation area of a record (calculated and lookup fields).
  int Offset() const { return FOffset; }
  // Characters of a string, bytes of a binary value, decimals of a BCD value; 0 for the others.
  int Size() const { return FSize; }
  void SetSize(int Value);
  // Bytes of the native value in a record buffer (0 for blobs, kept by the dataset elsewhere).
  virtual int DataSize() const { return 0; }
  // Position in the dataset's field list; setting it moves the field there.
  int Index() const;
  void SetIndex(int Value);
  // Where the value came from ("TABLE.COLUMN"), for the program's own use.
  String Origin;
  bool IsIndexField() const;
  // The name used in messages: DisplayLabel, which falls back on FieldName.
  String DisplayName() const { return DisplayLabel(); }

  // --- Presentation -----------------------------------------------------------------------------
  String DisplayLabel() const { return FDisplayLabel.empty() ? FFieldName : FDisplayLabel; }
  void SetDisplayLabel(const String& Value);
  // Characters; the type's default width until set.
  int DisplayWidth() const { return FDisplayWidth > 0 ? FDisplayWidth : GetDefaultWidth(); }
  void SetDisplayWidth(int Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  const String& EditMask() const { return FEditMask; }
  void SetEditMask(const String& Value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  // Checked when the record is posted: "Le champ '%s' doit avoir une valeur".
  bool Required() const { return FRequired; }
  void SetRequired(bool Value) { FRequired = Value; }
  // An expression the database applies to new rows; the field does not evaluate it.
  String DefaultExpression;
  // The type's characters (digits and signs for numbers, everything for text).
  const TFieldChars& ValidChars() const { return FValidChars; }
  void SetValidChars(const TFieldChars& Value) { FValidChars = Value; }
  virtual bool IsValidChar(char InputChar) const;

  // --- Lookup -----------------------------------------------------------------------------------
  // The field's value is LookupDataSet's LookupResultField on the record whose LookupKeyFields
  // equal this dataset's KeyFields (';'-separated lists of the same length).
  TDataSet* LookupDataSet() const { return FLookupDataSet; }
  void SetLookupDataSet(TDataSet* Value);
  const String& KeyFields() const { return FKeyFields; }
  void SetKeyFields(const String& Value);
  const String& LookupKeyFields() const { return FLookupKeyFields; }
  void SetLookupKeyFields(const String& Value);
  const String& LookupResultField() const { return FLookupResultField; }
  void SetLookupResultField(const String& Value);
  bool LookupCache() const { return FLookupCache; }
  void SetLookupCache(bool Value);
  TLookupList& LookupList() { return FLookupList; }
  // Reloads the cache from an open LookupDataSet (its position is kept).
  void RefreshLookupList();
  // Computes this lookup field's value on the dataset's record being calculated; the dataset
  // calls it in dsCalcFields. A missing key gives Null.
  void CalcLookupValue();

  // --- Values -----------------------------------------------------------------------------------
  // The As... getters of a type that cannot give that form raise "Le champ '%s' ne peut pas
  // être converti en %s"; a null value reads as "", 0, false, 0.0.
  virtual String AsString();
  virtual void SetAsString(const String& Value);
  virtual int AsInteger();
  virtual void SetAsInteger(int Value);
  virtual long long AsLargeInt();
  virtual void SetAsLargeInt(long long Value);
  virtual double AsFloat();
  virtual void SetAsFloat(double Value);
  virtual double AsCurrency() { return AsFloat(); }
  virtual void SetAsCurrency(double Value) { SetAsFloat(Value); }
  virtual bool AsBoolean();
  virtual void SetAsBoolean(bool Value);
  virtual TDateTime AsDateTime();
  virtual void SetAsDateTime(TDateTime Value);
  // Null for a null value; an unassigned or null Variant clears the field.
  virtual Variant AsVariant();
  void SetAsVariant(const Variant& Value);
  Variant Value() { return AsVariant(); }
  void SetValue(const Variant& Value) { SetAsVariant(Value); }
  // The value being edited (OnGetText with DisplayText false, else the edit form) and its entry
  // (OnSetText, else SetAsString).
  String Text();
  void SetText(const String& Value);
  String EditText() { return Text(); }
  void SetEditText(const String& Value) { SetText(Value); }
  // The value as shown (OnGetText with DisplayText true, else the display form).
  String DisplayText();
  virtual bool IsNull();
  virtual void Clear();
  // The value before this edit began (dsOldValue) and the edited value (dsNewValue).
  Variant OldValue();
  Variant NewValue();
  void SetNewValue(const Variant& Value);
  // False for calculated and lookup fields, read-only fields and read-only datasets.
  bool CanModify();
  // Copies Source's value (or clears this field when Source is null).
  void AssignValue(const Variant& Value) { SetAsVariant(Value); }
  void Assign(TPersistent* Source) override;

  // The native value: Buffer receives DataSize() bytes (or nothing when null); false when null.
  // Inside OnValidate these read the value being written.
  bool GetData(void* Buffer);
  // Writes the native value (null Buffer: null) through the dataset. This is where a write is
  // checked and told, so that SetFieldData only stores: the dataset must be in a writing state
  // (only calculated and lookup fields in dsCalcFields), a read-only data field refuses; then
  // OnValidate runs with the new value, SetFieldData stores it, and, outside dsCalcFields,
  // dsInternalCalc, dsFilter and dsNewValue, the dataset hears deFieldChange and OnChange fires.
  void SetData(const void* Buffer);

  // --- Operations -------------------------------------------------------------------------------
  // Asks the controls showing this field to take the focus (deFocusControl).
  void FocusControl();
  // Runs OnValidate with Buffer as the value the field will take (what GetData reads meanwhile);
  // an exception raised there leaves the field as it was. SetData calls it; a call made while
  // SetData runs (from a dataset's SetFieldData) does nothing more.
  void Validate(const void* Buffer);
  // Fires OnChange; SetData calls it once the dataset has stored and told the new value.
  virtual void Change();
  // Called by the dataset when it binds its fields on opening (and unbinds them on closing): a
  // lookup field checks its definition ("Les informations de référence du champ '%s' sont
  // incomplètes") and fills its cache.
  virtual void Bind(bool Binding);

  // --- Streaming --------------------------------------------------------------------------------
  TComponent* GetParentComponent() const override;
  bool HasParent() const override { return true; }
  // A field joins its parent dataset; one being read from a description joins it once its
  // properties (FieldName first of all) are read.
  void SetParentComponent(TComponent* AParent) override;

  // --- Events -----------------------------------------------------------------------------------
  TFieldNotifyEvent OnChange;
  TFieldNotifyEvent OnValidate;
  TFieldGetTextEvent OnGetText;
  TFieldSetTextEvent OnSetText;

 protected:
  friend class TDataSet;
  friend class TFields;
  friend class TFieldDef;
  friend class TFieldDefs;

  // Writes a value that is neither null nor unassigned (SetAsVariant has cleared for those);
  // "ne peut pas être converti en Variant" in the base.
  virtual void SetVarValue(const Variant& Value);
  // The text of the value: shown (DisplayText) or edited; AsString in the base.
  virtual void GetText(String& Text, bool DisplayText);
  // The width in characters when DisplayWidth was never set.
  virtual int GetDefaultWidth() const { return 10; }
  // "Le champ '%s' ne peut pas être converti en <TypeName>".
  [[noreturn]] void AccessError(const char* TypeName);
  // "(Memo)", "(MEMO)" when not null: what blobs and binary fields show.
  String ClassDesc();
  void SetDataType(TFieldType Value) { FDataType = Value; }
  // The checks of a write (see SetData); answers whether the dataset must then hear of it.
  bool BeginWrite();
  // deFieldChange and OnChange after a write that BeginWrite said to tell.
  void EndWrite(bool Tell);
  // Sizes a subclass accepts; EDatabaseError "Taille de champ incorrecte" otherwise.
  virtual void CheckTypeSize(int Value);
  // Tells the dataset's controls: layout (label, width, visibility, order) or values.
  void PropertyChanged(bool LayoutAffected);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void ReadState(TReader* Reader) override;
  // Asks a dataset to read its definitions (TFieldDefs::Update), through this class's access.
  static void InitFieldDefsOf(TDataSet* DataSet);
  void SetFieldNo(int Value) { FFieldNo = Value; }
  void SetOffset(int Value) { FOffset = Value; }
  // Raises "Les informations de référence du champ '%s' sont incomplètes" unless every part
  // is given, and checks the names; opens the lookup dataset.
  void ValidateLookupInfo();
  bool IsDisplayLabelStored() const { return !FDisplayLabel.empty(); }
  bool IsDisplayWidthStored() const { return FDisplayWidth > 0; }

  TFieldChars FValidChars;
  int FSize = 0;
  TAlignment FAlignment = taLeftJustify;

 private:
  TDataSet* FDataSet = nullptr;
  String FFieldName;
  TFieldKind FFieldKind = fkData;
  TFieldType FDataType = ftUnknown;
  int FFieldNo = 0;
  int FOffset = 0;
  String FDisplayLabel;
  int FDisplayWidth = 0;
  bool FVisible = true;
  bool FReadOnly = false;
  String FEditMask;
  TDataSet* FLookupDataSet = nullptr;
  String FKeyFields;
  String FLookupKeyFields;
  String FLookupResultField;
  bool FLookupCache = false;
  TLookupList FLookupList;
  // Inside Validate: the value being written (null: a null value), read back by GetData.
  const void* FValueBuffer = nullptr;
  bool FValidating = false;
  bool FRequired = false;
  bool FSettingData = false;  // inside SetData: Validate has run
};

// --- Text ---------------------------------------------------------------------------------------

// A fixed-size 8-bit string: Size characters of 1252 text (20 by default), zero-terminated in the
// record. A longer value is cut to Size characters.
class TStringField : public TField {
  VELBOR_DECLARE_CLASS(TStringField, TField)
 public:
  explicit TStringField(TComponent* AOwner);
  int DataSize() const override { return Size() + 1; }
  // Trailing blanks are cut on reading, as fixed-width columns pad with them.
  bool FixedChar = false;
  bool Transliterate = true;  // kept for form descriptions; text is already 1252

  String AsString() override;
  void SetAsString(const String& Value) override;
  int AsInteger() override;
  void SetAsInteger(int Value) override { SetAsString(IntToText(Value)); }
  long long AsLargeInt() override;
  void SetAsLargeInt(long long Value) override { SetAsString(IntToText(Value)); }
  double AsFloat() override;
  void SetAsFloat(double Value) override;
  bool AsBoolean() override;
  void SetAsBoolean(bool Value) override;
  TDateTime AsDateTime() override;
  void SetAsDateTime(TDateTime Value) override;
  Variant AsVariant() override;
  void SetVarValue(const Variant& Value) override { SetAsString(Value.AsString()); }

 protected:
  // The value when not null; false for null.
  virtual bool GetValue(String& Value);
  int GetDefaultWidth() const override { return Size(); }
  void CheckTypeSize(int Value) override;

 private:
  static String IntToText(long long Value);
};

// A string of Size UTF-16 characters in the record (a uint32 byte count, then the code units),
// read and written as 1252 text through AsString; AsWideString gives the stored characters.
class TWideStringField : public TStringField {
  VELBOR_DECLARE_CLASS(TWideStringField, TStringField)
 public:
  explicit TWideStringField(TComponent* AOwner);
  int DataSize() const override { return 4 + 2 * Size(); }
  WideString AsWideString();
  void SetAsWideString(const WideString& Value);
  void SetAsString(const String& Value) override { SetAsWideString(AnsiToWide(Value)); }

 protected:
  bool GetValue(String& Value) override;
};

// --- Numbers ------------------------------------------------------------------------------------

// The numbers: right-aligned, shown with DisplayFormat and edited with EditFormat (FormatFloat
// patterns; EditFormat falls back on DisplayFormat, then on the plain form).
class TNumericField : public TField {
  VELBOR_DECLARE_CLASS(TNumericField, TField)
 public:
  explicit TNumericField(TComponent* AOwner);
  const String& DisplayFormat() const { return FDisplayFormat; }
  void SetDisplayFormat(const String& Value);
  const String& EditFormat() const { return FEditFormat; }
  void SetEditFormat(const String& Value);

 protected:
  // The pattern for the text asked for: DisplayFormat when shown or when EditFormat is empty.
  const String& FormatFor(bool DisplayText) const;

 private:
  String FDisplayFormat;
  String FEditFormat;
};

// A 32-bit signed integer (int32 in the record); TSmallintField (int16), TWordField (uint16) and
// TAutoIncField narrow it. MinValue/MaxValue, when either is not 0, restrict the values accepted;
// otherwise the storage type's range does.
class TIntegerField : public TNumericField {
  VELBOR_DECLARE_CLASS(TIntegerField, TNumericField)
 public:
  explicit TIntegerField(TComponent* AOwner);
  int DataSize() const override { return 4; }
  int MinValue() const { return FMinValue; }
  void SetMinValue(int Value);
  int MaxValue() const { return FMaxValue; }
  void SetMaxValue(int Value);

  String AsString() override;
  // An empty text clears; other texts must be integers: "'%s' n'est pas une valeur entière
  // correcte pour le champ '%s'".
  void SetAsString(const String& Value) override;
  int AsInteger() override;
  void SetAsInteger(int Value) override;
  long long AsLargeInt() override { return AsInteger(); }
  void SetAsLargeInt(long long Value) override;
  double AsFloat() override { return AsInteger(); }
  // Rounded half to even.
  void SetAsFloat(double Value) override;
  Variant AsVariant() override;
  void SetVarValue(const Variant& Value) override;

 protected:
  void GetText(String& Text, bool DisplayText) override;
  int GetDefaultWidth() const override { return 11; }
  virtual bool ReadValue(int& Value);
  virtual void WriteValue(int Value);
  // The storage type's range.
  int FMinRange;
  int FMaxRange;

 private:
  int FMinValue = 0;
  int FMaxValue = 0;
};

class TSmallintField : public TIntegerField {
  VELBOR_DECLARE_CLASS(TSmallintField, TIntegerField)
 public:
  explicit TSmallintField(TComponent* AOwner);
  int DataSize() const override { return 2; }

 protected:
  int GetDefaultWidth() const override { return 6; }
  bool ReadValue(int& Value) override;
  void WriteValue(int Value) override;
};

class TWordField : public TIntegerField {
  VELBOR_DECLARE_CLASS(TWordField, TIntegerField)
 public:
  explicit TWordField(TComponent* AOwner);
  int DataSize() const override { return 2; }

 protected:
  int GetDefaultWidth() const override { return 5; }
  bool ReadValue(int& Value) override;
  void WriteValue(int Value) override;
};

// A counter the database assigns.
class TAutoIncField : public TIntegerField {
  VELBOR_DECLARE_CLASS(TAutoIncField, TIntegerField)
 public:
  explicit TAutoIncField(TComponent* AOwner);
};

// A 64-bit signed integer (int64 in the record).
class TLargeintField : public TNumericField {
  VELBOR_DECLARE_CLASS(TLargeintField, TNumericField)
 public:
  explicit TLargeintField(TComponent* AOwner);
  int DataSize() const override { return 8; }
  long long MinValue() const { return FMinValue; }
  void SetMinValue(long long Value) { FMinValue = Value; }
  long long MaxValue() const { return FMaxValue; }
  void SetMaxValue(long long Value) { FMaxValue = Value; }

  String AsString() override;
  void SetAsString(const String& Value) override;
  int AsInteger() override;
  void SetAsInteger(int Value) override { SetAsLargeInt(Value); }
  long long AsLargeInt() override;
  void SetAsLargeInt(long long Value) override;
  double AsFloat() override { return double(AsLargeInt()); }
  void SetAsFloat(double Value) override;
  Variant AsVariant() override;
  void SetVarValue(const Variant& Value) override;

 protected:
  void GetText(String& Text, bool DisplayText) override;
  int GetDefaultWidth() const override { return 15; }

 private:
  long long FMinValue = 0;
  long long FMaxValue = 0;
};

// A double. Without a format it is shown in the general form with Precision significant digits
// (15 by default), or, when Currency is set, as an amount ("1 234,50 €", edited "1234,50").
class TFloatField : public TNumericField {
  VELBOR_DECLARE_CLASS(TFloatField, TNumericField)
 public:
  explicit TFloatField(TComponent* AOwner);
  int DataSize() const override { return 8; }
  bool Currency() const { return FCurrency; }
  void SetCurrency(bool Value);
  int Precision() const { return FPrecision; }
  void SetPrecision(int Value);
  double MinValue() const { return FMinValue; }
  void SetMinValue(double Value) { FMinValue = Value; }
  double MaxValue() const { return FMaxValue; }
  void SetMaxValue(double Value) { FMaxValue = Value; }

  String AsString() override;
  // An empty text clears; other texts must be numbers with the locale's decimal separator:
  // "'%s' n'est pas une valeur à virgule flottante correcte pour le champ '%s'".
  void SetAsString(const String& Value) override;
  int AsInteger() override;
  void SetAsInteger(int Value) override { SetAsFloat(Value); }
  long long AsLargeInt() override;
  void SetAsLargeInt(long long Value) override { SetAsFloat(double(Value)); }
  double AsFloat() override;
  // Outside MinValue..MaxValue (when either is set): "... Les valeurs autorisées vont de ...".
  void SetAsFloat(double Value) override;
  Variant AsVariant() override;
  void SetVarValue(const Variant& Value) override;

 protected:
  void GetText(String& Text, bool DisplayText) override;
  int GetDefaultWidth() const override { return FPrecision < 15 ? FPrecision + 2 : 10; }
  bool FCurrency = false;
  int FPrecision = 15;

 private:
  double FMinValue = 0;
  double FMaxValue = 0;
};

class TCurrencyField : public TFloatField {
  VELBOR_DECLARE_CLASS(TCurrencyField, TFloatField)
 public:
  explicit TCurrencyField(TComponent* AOwner);
};

// A fixed-point number, kept as a double in the record and rounded to Size decimals (4 by
// default) when written; Precision is the count of digits the column holds.
class TBCDField : public TFloatField {
  VELBOR_DECLARE_CLASS(TBCDField, TFloatField)
 public:
  explicit TBCDField(TComponent* AOwner);
  void SetAsFloat(double Value) override;
  Variant AsVariant() override;

 protected:
  void CheckTypeSize(int Value) override;
};

// --- Booleans -----------------------------------------------------------------------------------

// An int16 in the record (0 false, anything else true). Shown and entered as the texts of
// DisplayValues ("Oui;Non": true text, then false text); "Vrai;Faux" when it is empty. An entry
// matches a text when it starts it, without regard to case.
class TBooleanField : public TField {
  VELBOR_DECLARE_CLASS(TBooleanField, TField)
 public:
  explicit TBooleanField(TComponent* AOwner);
  int DataSize() const override { return 2; }
  const String& DisplayValues() const { return FDisplayValues; }
  void SetDisplayValues(const String& Value);

  String AsString() override;
  // "'%s' n'est pas une valeur booléenne correcte pour le champ '%s'" when neither text matches.
  void SetAsString(const String& Value) override;
  bool AsBoolean() override;
  void SetAsBoolean(bool Value) override;
  int AsInteger() override;
  void SetAsInteger(int Value) override { SetAsBoolean(Value != 0); }
  Variant AsVariant() override;
  void SetVarValue(const Variant& Value) override;

 protected:
  int GetDefaultWidth() const override;

 private:
  String FDisplayValues;
  String FTrueText;
  String FFalseText;
};

// --- Dates and times ----------------------------------------------------------------------------

// A TDateTime (double) in the record. Shown with DisplayFormat (FormatDateTime), else as the
// type's short form: "c" for date-time, ShortDateFormat for dates, LongTimeFormat for times; the
// edit text ignores DisplayFormat. A date field keeps the day only, a time field the time only.
class TDateTimeField : public TField {
  VELBOR_DECLARE_CLASS(TDateTimeField, TField)
 public:
  explicit TDateTimeField(TComponent* AOwner);
  int DataSize() const override { return 8; }
  const String& DisplayFormat() const { return FDisplayFormat; }
  void SetDisplayFormat(const String& Value);

  String AsString() override;
  // An empty text clears; other texts are read with StrToDate, StrToTime or StrToDateTime
  // (their EConvertError passes).
  void SetAsString(const String& Value) override;
  double AsFloat() override { return AsDateTime(); }
  void SetAsFloat(double Value) override { SetAsDateTime(Value); }
  TDateTime AsDateTime() override;
  void SetAsDateTime(TDateTime Value) override;
  Variant AsVariant() override;
  void SetVarValue(const Variant& Value) override;

 protected:
  void GetText(String& Text, bool DisplayText) override;
  int GetDefaultWidth() const override { return 18; }

 private:
  String FDisplayFormat;
};

class TDateField : public TDateTimeField {
  VELBOR_DECLARE_CLASS(TDateField, TDateTimeField)
 public:
  explicit TDateField(TComponent* AOwner);

 protected:
  int GetDefaultWidth() const override { return 10; }
};

class TTimeField : public TDateTimeField {
  VELBOR_DECLARE_CLASS(TTimeField, TDateTimeField)
 public:
  explicit TTimeField(TComponent* AOwner);

 protected:
  int GetDefaultWidth() const override { return 10; }
};

// --- Binary values ------------------------------------------------------------------------------

// Raw bytes: AsString gives them as they are, AsVariant as an array of bytes; the texts shown are
// "(Bytes)" / "(BYTES)".
class TBinaryField : public TField {
  VELBOR_DECLARE_CLASS(TBinaryField, TField)
 public:
  explicit TBinaryField(TComponent* AOwner);
  String AsString() override;
  void SetAsString(const String& Value) override;
  Variant AsVariant() override;
  void SetVarValue(const Variant& Value) override;

 protected:
  void GetText(String& Text, bool) override { Text = ClassDesc(); }
  void CheckTypeSize(int Value) override;
  virtual bool GetBytes(String& Bytes) = 0;
  virtual void SetBytes(const String& Bytes) = 0;
};

// Size bytes in the record; a shorter value is padded with zeros.
class TBytesField : public TBinaryField {
  VELBOR_DECLARE_CLASS(TBytesField, TBinaryField)
 public:
  explicit TBytesField(TComponent* AOwner);
  int DataSize() const override { return Size(); }

 protected:
  bool GetBytes(String& Bytes) override;
  void SetBytes(const String& Bytes) override;
};

// Up to Size bytes in the record after a uint16 length.
class TVarBytesField : public TBinaryField {
  VELBOR_DECLARE_CLASS(TVarBytesField, TBinaryField)
 public:
  explicit TVarBytesField(TComponent* AOwner);
  int DataSize() const override { return Size() + 2; }

 protected:
  bool GetBytes(String& Bytes) override;
  void SetBytes(const String& Bytes) override;
};

// --- Blobs --------------------------------------------------------------------------------------

// A value of any length kept by the dataset and reached through CreateBlobStream. AsString is the
// whole content; the texts shown are "(Blob)", "(Memo)", "(Graphic)", in capitals when not
// empty. An empty blob is null.
class TBlobField : public TField {
  VELBOR_DECLARE_CLASS(TBlobField, TField)
 public:
  explicit TBlobField(TComponent* AOwner);
  int BlobSize();
  bool Modified() const { return FModified; }
  void SetModified(bool Value) { FModified = Value; }
  void LoadFromStream(TStream* Stream);
  void SaveToStream(TStream* Stream);
  void LoadFromFile(const String& FileName);
  void SaveToFile(const String& FileName);

  String AsString() override;
  void SetAsString(const String& Value) override;
  Variant AsVariant() override;
  void SetVarValue(const Variant& Value) override;
  bool IsNull() override;
  void Clear() override;
  void Assign(TPersistent* Source) override;

 protected:
  void GetText(String& Text, bool) override { Text = ClassDesc(); }
  void CheckTypeSize(int Value) override;

 private:
  bool FModified = false;
};

class TMemoField : public TBlobField {
  VELBOR_DECLARE_CLASS(TMemoField, TBlobField)
 public:
  explicit TMemoField(TComponent* AOwner);
};

class TGraphicField : public TBlobField {
  VELBOR_DECLARE_CLASS(TGraphicField, TBlobField)
 public:
  explicit TGraphicField(TComponent* AOwner);
};

// --- The field list -----------------------------------------------------------------------------

// The fields of one dataset in display order. Each field belongs to its owner (the dataset for
// fields made from definitions, a form for persistent fields) and leaves the list when it is
// destroyed; Clear, which the dataset calls when it goes, frees every field of the list, as the
// platform does with persistent fields too.
class TFields : public TObject {
  VELBOR_DECLARE_CLASS(TFields, TObject)
 public:
  explicit TFields(TDataSet* ADataSet) : FDataSet(ADataSet) {}
  ~TFields() override;

  TDataSet* DataSet() const { return FDataSet; }
  int Count() const { return int(FList.size()); }
  // EDatabaseError "Index de champ hors limites" outside 0 .. Count() - 1.
  TField* Fields(int Index) const;
  TField* operator[](int Index) const { return Fields(Index); }
  // Case-insensitive; FieldByName raises "Champ '%s' non trouvé".
  TField* FindField(const String& FieldName) const;
  TField* FieldByName(const String& FieldName) const;
  TField* FieldByNumber(int FieldNo) const;
  int IndexOf(const TField* Field) const;
  void GetFieldNames(TStrings* List) const;
  // Raises "Nom de champ '%s' en double" when a field of the list has that name.
  void CheckFieldName(const String& FieldName) const;
  void CheckFieldNames(const String& FieldNames) const;

  // Add and Remove set and clear the field's DataSet.
  void Add(TField* Field);
  void Remove(TField* Field);
  // Frees the fields of the list and empties it.
  void Clear();
  void SetFieldIndex(TField* Field, int Value);

 private:
  void Changed();

  TDataSet* FDataSet;
  std::vector<TField*> FList;
};

// The messages of fields and parameters, in the program's French texts (1252).
namespace FieldConsts {
inline const char* const SFieldAccessError = "Le champ '%s' ne peut pas être converti en %s"_a;
inline const char* const SInvalidIntegerValue = "'%s' n'est pas une valeur entière correcte pour le champ '%s'"_a;
inline const char* const SInvalidFloatValue =
    "'%s' n'est pas une valeur à virgule flottante correcte pour le champ '%s'"_a;
inline const char* const SInvalidBoolValue = "'%s' n'est pas une valeur booléenne correcte pour le champ '%s'"_a;
inline const char* const SFieldRangeError =
    "%s n'est pas une valeur correcte pour le champ '%s'. Les valeurs autorisées vont de %s à %s"_a;
inline const char* const SFieldReadOnly = "Le champ '%s' ne peut pas être modifié"_a;
inline const char* const SDataSetMissing = "Le champ '%s' n'a pas d'ensemble de données"_a;
inline const char* const SInvalidFieldSize = "Taille de champ incorrecte"_a;
inline const char* const SFieldNameMissing = "Nom de champ manquant"_a;
inline const char* const SListIndexError = "Index de liste hors limites (%d)"_a;
inline const char* const SLookupInfoError = "Les informations de référence du champ '%s' sont incomplètes"_a;
inline const char* const SCircularDataLink = "Les liens de données circulaires ne sont pas autorisés"_a;
inline const char* const SParameterNotFound = "Paramètre '%s' non trouvé"_a;
inline const char* const STextTrue = "Vrai";
inline const char* const STextFalse = "Faux";
}  // namespace FieldConsts
