// This file implements the date and time fields: TDateTimeField, TDateField and TTimeField.
#include "DataSet.h"
#include "DateTime.h"
#include "DateTimeFormat.h"
#include "Field.h"
#include "FormatSettings.h"

VELBOR_IMPLEMENT_CLASS(TDateTimeField)
VELBOR_PUBLISHED(TDateTimeField, Prop("DisplayFormat", &Self::DisplayFormat, &Self::SetDisplayFormat))

TDateTimeField::TDateTimeField(TComponent* AOwner) : TField(AOwner) { SetDataType(ftDateTime); }

void TDateTimeField::SetDisplayFormat(const String& Value) {
  FDisplayFormat = Value;
  PropertyChanged(false);
}

TDateTime TDateTimeField::AsDateTime() {
  double Value = 0;
  return GetData(&Value) ? Value : 0;
}

void TDateTimeField::SetAsDateTime(TDateTime Value) {
  // The column keeps its part of the value only.
  if (DataType() == ftDate) Value = DateOf(Value);
  else if (DataType() == ftTime) Value = TimeOf(Value);
  SetData(&Value);
}

void TDateTimeField::GetText(String& Text, bool DisplayText) {
  double Value = 0;
  if (!GetData(&Value)) {
    Text.clear();
    return;
  }
  String Pattern;
  if (DisplayText && !FDisplayFormat.empty()) Pattern = FDisplayFormat;
  else if (DataType() == ftDate) Pattern = FormatSettings.ShortDateFormat;
  else if (DataType() == ftTime) Pattern = FormatSettings.LongTimeFormat;
  // An empty pattern is "c": the date, and the time unless it is midnight.
  Text = FormatDateTime(Pattern, Value);
}

String TDateTimeField::AsString() {
  String Text;
  GetText(Text, false);
  return Text;
}

void TDateTimeField::SetAsString(const String& Value) {
  if (Value.empty()) {
    Clear();
    return;
  }
  TDateTime Parsed;
  if (DataType() == ftDate) Parsed = StrToDate(Value);
  else if (DataType() == ftTime) Parsed = StrToTime(Value);
  else Parsed = StrToDateTime(Value);
  SetAsDateTime(Parsed);
}

Variant TDateTimeField::AsVariant() {
  double Value = 0;
  if (!GetData(&Value)) return Variant::Null();
  return Variant::FromDate(Value);
}

void TDateTimeField::SetVarValue(const Variant& Value) { SetAsDateTime(Value.AsDate()); }

VELBOR_IMPLEMENT_CLASS(TDateField)

TDateField::TDateField(TComponent* AOwner) : TDateTimeField(AOwner) { SetDataType(ftDate); }

VELBOR_IMPLEMENT_CLASS(TTimeField)

TTimeField::TTimeField(TComponent* AOwner) : TDateTimeField(AOwner) { SetDataType(ftTime); }
