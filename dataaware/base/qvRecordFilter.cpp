// This file implements the record test of local filtering.
#include "qvRecordFilter.h"

#include <cmath>

#include "DateTimeFormat.h"
#include "Field.h"
#include "FloatFormat.h"
#include "FormatSettings.h"
#include "StrUtils.h"
#include "TextOrder.h"
#include "qvDataSetUtils.h"

VELBOR_IMPLEMENT_CLASS(TqvRecordFilter)

namespace {
bool IsIntegerType(TFieldType T) { return T == ftSmallint || T == ftInteger || T == ftWord || T == ftAutoInc || T == ftLargeint; }
bool IsFloatType(TFieldType T) { return T == ftFloat || T == ftCurrency || T == ftBCD || T == ftFMTBcd; }
bool IsTextType(TFieldType T) { return T == ftString || T == ftFixedChar || T == ftWideString; }
bool IsMemoType(TFieldType T) { return T == ftMemo || T == ftFmtMemo || T == ftBlob || T == ftOraClob || T == ftOraBlob; }

bool EndsWith(const String& Text, const String& Part) {
  return Text.size() >= Part.size() && Text.compare(Text.size() - Part.size(), Part.size(), Part) == 0;
}
}  // namespace

bool qvFilterValuesEqual(const String& Part, const String& Text, TFieldType Type, const String& NullChar) {
  if (Part == Text) return true;
  if (Type == ftString) return false;
  if (Trim(Part).empty() != Trim(Text).empty()) return false;
  if (AnsiSameText(Part, NullChar)) return false;
  if (IsIntegerType(Type)) {
    long long A, B;
    return TryStrToInt64(Trim(Part), A) && TryStrToInt64(Trim(Text), B) && A == B;
  }
  if (IsFloatType(Type)) {
    double A, B;
    return TryStrToFloat(Part, A) && TryStrToFloat(Text, B) && A == B;
  }
  TDateTime A, B;
  switch (Type) {
    case ftDate: return TryStrToDate(Part, A) && TryStrToDate(Text, B) && A == B;
    case ftTime: return TryStrToTime(Part, A) && TryStrToTime(Text, B) && A == B;
    case ftDateTime: case ftTimeStamp: return TryStrToDateTime(Part, A) && TryStrToDateTime(Text, B) && A == B;
    default: return false;
  }
}

void TqvRecordFilter::Install(TDataSet* DataSet) {
  FCancelled = false;
  FCallCount = 0;
  if (!DataSet->Active()) DataSet->Open();
  DataSet->SetOnFilterRecord(TFilterRecordEvent());
  if (Criteria.empty()) {
    DataSet->SetFiltered(false);
    return;
  }
  DataSet->SetOnFilterRecord(TFilterRecordEvent(this, &TqvRecordFilter::FilterRecord));
  // Filtered is set again so that the dataset re-reads its records through the new handler.
  DataSet->SetFiltered(false);
  DataSet->SetFiltered(true);
}

void TqvRecordFilter::FilterRecord(TDataSet* DataSet, bool& Accept) {
  Accept = true;
  if (FCancelled) return;
  if (CancelOnEscape) {
    FCallCount = FCallCount >= 31999 ? 0 : FCallCount + 1;
    // The probe takes an Escape key-down and leaves every other keystroke queued.
    if (FCallCount % 100 == 0 && qvFilterEscapePressed(DataSet)) {
      FCancelled = true;
      if (OnFilterEscape) OnFilterEscape(DataSet);
      return;
    }
  }
  bool DefaultFiltering = true;
  if (OnAcceptFilterRecord) OnAcceptFilterRecord(this, DataSet, Accept, DefaultFiltering);
  if (!Accept || !DefaultFiltering) return;
  for (TqvFieldInfo& C : Criteria) {
    if (C.FieldName.empty()) C.FieldName = qvFieldNameFromDisplayLabel(DataSet, C.DisplayLabel);
    bool Match = MatchCriterion(DataSet, C);
    if (C.MatchType != fdMatchRange && C.NonMatching) Match = !Match;
    if (!Match) {
      Accept = false;
      return;
    }
  }
}

bool TqvRecordFilter::MatchCriterion(TDataSet* DataSet, const TqvFieldInfo& C) {
  TField* Field = DataSet->FieldByName(C.FieldName);
  return C.MatchType == fdMatchRange ? MatchRange(Field, C) : MatchValue(Field, C);
}

bool TqvRecordFilter::MatchValue(TField* Field, const TqvFieldInfo& C) {
  TFieldType Type = Field->DataType();
  String Text;
  if (!Field->IsNull()) {
    switch (Type) {
      case ftDate: Text = DateToStr(Field->AsDateTime()); break;
      case ftTime: Text = TimeToStr(Field->AsDateTime()); break;
      case ftDateTime: case ftTimeStamp: Text = DateTimeToStr(Field->AsDateTime()); break;
      default: Text = Field->AsString(); break;  // a memo's whole text: no buffer cuts it
    }
  }
  if (!C.CaseSensitive) Text = AnsiUpperCase(Text);
  String Joining = qvFindValueOperator(C.FilterValue, Operators);
  bool Or = !Joining.empty() && AnsiSameText(Joining, Operators.OrChar);
  for (String Part : qvValueParts(C.FilterValue, Joining, Operators)) {
    bool Null = Text.empty() && AnsiSameText(Part, Operators.NullChar);
    if (!C.CaseSensitive) Part = AnsiUpperCase(Part);
    bool Match = Null;
    if (!Match) {
      switch (C.MatchType) {
        case fdMatchStart: Match = Text.compare(0, Part.size(), Part) == 0; break;
        case fdMatchAny: Match = Text.find(Part) != String::npos; break;
        case fdMatchEnd: Match = EndsWith(Text, Part); break;
        default: Match = IsMemoType(Type) ? Text == Part : qvFilterValuesEqual(Part, Text, Type, Operators.NullChar); break;
      }
    }
    if (Or && Match) return true;
    if (!Or && !Match) return false;
  }
  return !Or;
}

// An empty end leaves that side open; a null field is outside any range that has a side.
bool TqvRecordFilter::MatchRange(TField* Field, const TqvFieldInfo& C) {
  TFieldType Type = Field->DataType();
  const String &Min = C.MinValue, &Max = C.MaxValue;
  if (Min.empty() && Max.empty()) return true;
  if (IsMemoType(Type)) return true;
  if (Field->IsNull()) return false;
  if (IsTextType(Type)) {
    String Text = Field->AsString(), Low = Min, High = qvPadUpperRange(Max, Field->Size(), UpperRangePadChar);
    if (!C.CaseSensitive) {
      Text = AnsiUpperCase(Text);
      Low = AnsiUpperCase(Low);
      High = AnsiUpperCase(High);
    }
    return (Low.empty() || Low <= Text) && (Max.empty() || Text <= High);
  }
  if (IsIntegerType(Type)) {
    long long V = Field->AsLargeInt(), A, B;
    if ((!Min.empty() && !TryStrToInt64(Trim(Min), A)) || (!Max.empty() && !TryStrToInt64(Trim(Max), B))) return false;
    return (Min.empty() || A <= V) && (Max.empty() || V <= B);
  }
  if (IsFloatType(Type)) {
    double V = Field->AsFloat(), A, B;
    if ((!Min.empty() && !TryStrToFloat(Min, A)) || (!Max.empty() && !TryStrToFloat(Max, B))) return false;
    return (Min.empty() || A <= V + Epsilon) && (Max.empty() || V - Epsilon <= B);
  }
  TDateTime V = Field->AsDateTime(), A, B;
  switch (Type) {
    case ftDate:
      if ((!Min.empty() && !TryStrToDate(Min, A)) || (!Max.empty() && !TryStrToDate(Max, B))) return false;
      return (Min.empty() || A <= V) && (Max.empty() || V <= B);
    case ftTime:
      if ((!Min.empty() && !TryStrToTime(Min, A)) || (!Max.empty() && !TryStrToTime(Max, B))) return false;
      return (Min.empty() || A <= V) && (Max.empty() || V <= B);
    case ftDateTime: case ftTimeStamp: {
      if ((!Min.empty() && !TryStrToDateTime(Min, A)) || (!Max.empty() && !TryStrToDateTime(Max, B))) return false;
      if (!Min.empty() && V < A) return false;
      if (Max.empty()) return true;
      // An end given as a date alone takes in the whole of that day.
      bool HasTime = Max.find(FormatSettings.TimeSeparator) != String::npos;
      if (FormatSettings.TimeSeparator == FormatSettings.DateSeparator) HasTime = B != std::trunc(B);
      return HasTime ? V <= B : V < B + 1;
    }
    default:
      return true;
  }
}
