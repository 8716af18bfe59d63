// This file implements TDataSet's searches by value: Locate and Lookup over one or several fields,
// by a scan of the visible records (descendants with indexes override them).
#include "DataSet.h"
#include "DataSource.h"
#include "Field.h"
#include "ScopeGuard.h"
#include "TextOrder.h"

namespace {

bool TextMatches(const String& Value, const String& Key, TLocateOptions Options) {
  String Compared = Value;
  if (Options.Contains(loPartialKey) && Compared.size() > Key.size()) Compared.resize(Key.size());
  if (Options.Contains(loCaseInsensitive)) return AnsiCompareText(Compared, Key) == 0;
  return Compared == Key;
}

}  // namespace

bool TDataSet::RecordMatches(const std::vector<TField*>& Fields, const Variant& KeyValues, TLocateOptions Options) {
  for (std::size_t i = 0; i < Fields.size(); ++i) {
    TField* Field = Fields[i];
    Variant Key = Fields.size() == 1 && !VarIsArray(KeyValues) ? KeyValues : KeyValues.GetElement(int(i));
    if (VarIsNull(Key) || VarIsEmpty(Key)) {
      if (!Field->IsNull()) return false;
      continue;
    }
    if (Field->IsNull()) return false;
    if (IsTextFieldType(Field->DataType())) {
      if (!TextMatches(Field->AsString(), Key.AsString(), Options)) return false;
    } else {
      Variant Value = Field->Value();
      if (!(Value == Key)) return false;
    }
  }
  return true;
}

bool TDataSet::SearchRecord(const String& KeyFields, const Variant& KeyValues, TLocateOptions Options) {
  CheckBrowseMode();
  std::vector<TField*> Fields;
  GetFieldList(Fields, KeyFields);
  if (Fields.size() > 1 && !VarIsArray(KeyValues)) DatabaseError("Nombre de valeurs incorrect"_a, this);
  if (IsEmpty()) return false;
  TBookmark Start = GetBookmark();
  bool Found = false;
  DisableControls();
  FSearching = true;
  TScopeGuard enableControls([&] {
    FSearching = false;
    EnableControls();
  });
  First();
  while (!FEOF) {
    if (RecordMatches(Fields, KeyValues, Options)) {
      Found = true;
      break;
    }
    MoveBy(1);
  }
  if (!Found && !Start.empty()) GotoBookmark(Start);
  return Found;
}

bool TDataSet::Locate(const String& KeyFields, const Variant& KeyValues, TLocateOptions Options) {
  CheckBrowseMode();
  DoBeforeScroll();
  bool Result = SearchRecord(KeyFields, KeyValues, Options);
  SetFound(Result);
  if (Result) DoAfterScroll();
  return Result;
}

Variant TDataSet::Lookup(const String& KeyFields, const Variant& KeyValues, const String& ResultFields) {
  CheckBrowseMode();
  TBookmark Start = GetBookmark();
  Variant Result = Variant::Null();
  DisableControls();
  TScopeGuard enableControls([&] {
    FSearching = false;
    EnableControls();
  });
  if (SearchRecord(KeyFields, KeyValues, TLocateOptions{})) {
    Result = FieldValues(ResultFields);
    FSearching = true;
    if (!Start.empty()) GotoBookmark(Start);
    FSearching = false;
  }
  return Result;
}
