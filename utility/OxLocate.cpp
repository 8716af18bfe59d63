// This file implements the record-locate object of the lookup controls and its factory.
#include "OxLocate.h"

#include "Field.h"
#include "FloatFormat.h"
#include "Format.h"
#include "Forms.h"
#include "OxFileUtils.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "TextOrder.h"

VELBOR_IMPLEMENT_CLASS(TOxLocateObject)
VELBOR_IMPLEMENT_CLASS(TOxDBLocate)

namespace {

TOxLocateObject* MakeDBLocate() { return new TOxDBLocate(); }

bool IsStringField(TField* Field) {
  TFieldType type = Field->DataType();
  return type == ftString || type == ftFixedChar || type == ftWideString;
}

// Restores the screen cursor when a search ends, however it ends.
class TCursorScope {
 public:
  explicit TCursorScope(TCursor Cursor) {
    if (!Screen) return;
    FSaved = Screen->Cursor();
    Screen->SetCursor(Cursor);
  }
  ~TCursorScope() {
    if (Screen) Screen->SetCursor(FSaved);
  }
  TCursorScope(const TCursorScope&) = delete;
  TCursorScope& operator=(const TCursorScope&) = delete;

 private:
  TCursor FSaved = crDefault;
};

}  // namespace

TOxLocateObjectFactory LocateObjectFactory = &MakeDBLocate;

TOxLocateObject* NewLocateObject(TDataSet* DataSet) {
  TOxLocateObject* result = LocateObjectFactory ? LocateObjectFactory() : new TOxLocateObject();
  if (DataSet != nullptr) result->SetDataSet(DataSet);
  return result;
}

// --- TOxLocateObject ------------------------------------------------------------------------------

void TOxLocateObject::SetDataSet(TDataSet* Value) {
  DataSetChanged();
  SearchDataSet = Value;
}

void TOxLocateObject::CheckValue(TField*) {}

bool TOxLocateObject::MatchesCurrent(TField* Field) {
  // An empty dataset has no current row to match, whatever is sought.
  if (Field->DataSet()->IsEmpty()) return false;
  String text = Field->AsString();
  if (!WholeValue && text.size() > SearchText.size()) text.resize(SearchText.size());
  return MatchCase ? AnsiCompareStr(text, SearchText) == 0 : AnsiCompareText(text, SearchText) == 0;
}

bool TOxLocateObject::LocateByFilter() {
  TCursorScope hourglass(crHourGlass);
  TLocateOptions options;
  if (!MatchCase) options.Include(loCaseInsensitive);
  if (!WholeValue) options.Include(loPartialKey);
  Variant key = SearchText.empty() ? Variant() : Variant(SearchText);
  return SearchDataSet->Locate(SearchField->FieldName(), key, options);
}

bool TOxLocateObject::LocateByScan() {
  SearchDataSet->First();
  while (!SearchDataSet->Eof()) {
    if (MatchesCurrent(SearchField)) return true;
    SearchDataSet->Next();
  }
  return false;
}

bool TOxLocateObject::CanUseFilter() {
  TFieldKind kind = SearchField->FieldKind();
  return kind == fkData || kind == fkInternalCalc;
}

bool TOxLocateObject::Locate(const String& FieldName, const String& Value, bool Exact, bool CaseSensitive) {
  if (SearchDataSet == nullptr) return false;
  SearchDataSet->CheckBrowseMode();
  TField* field = SearchDataSet->FieldByName(FieldName);
  SearchDataSet->CursorPosChanged();
  SearchField = field;
  SearchText = Value;
  WholeValue = Exact;
  MatchCase = CaseSensitive;
  auto endSearch = [this] {
    SearchText.clear();
    SearchField = nullptr;
    StartRecord.clear();
  };
  if (!IsStringField(field)) {
    MatchCase = true;
    try {
      CheckValue(field);
    } catch (...) {
      // A text the field cannot hold matches no row.
      endSearch();
      return false;
    }
  }
  StartRecord = SearchDataSet->GetBookmark();
  SearchDataSet->DisableControls();
  bool result = false;
  TScopeGuard enableControls([&] {
    SearchDataSet->EnableControls();
    endSearch();
  });
  result = MatchesCurrent(field);
  if (!result) {
    if (CanUseKey()) result = LocateByKey();
    else if (CanUseFilter()) result = LocateByFilter();
    else result = LocateByScan();
    if (!result && SearchDataSet->Active() && !StartRecord.empty() &&
        !(SearchDataSet->Bof() && SearchDataSet->Eof()) && SearchDataSet->BookmarkValid(StartRecord)) {
      try {
        SearchDataSet->GotoBookmark(StartRecord);
      } catch (...) {
        // The row the search started from went away meanwhile: the cursor stays where it is.
      }
    }
  }
  return result;
}

// --- TOxDBLocate ----------------------------------------------------------------------------------

void TOxDBLocate::CheckValue(TField* Field) {
  auto notInteger = [&] {
    RaiseDatabaseError(Format("'%s' n'est pas une valeur entière correcte pour le champ '%s'"_a,
                              {SearchText, Field->DisplayName()}));
  };
  switch (Field->DataType()) {
    case ftSmallint:
    case ftWord:
    case ftInteger:
    case ftAutoInc: {
      long long value = 0;
      if (!TryStrToInt64(SearchText, value)) notInteger();
      long long low = -2147483648LL, high = 2147483647LL;
      if (Field->DataType() == ftSmallint) low = -32768, high = 32767;
      if (Field->DataType() == ftWord) low = 0, high = 65535;
      if (value < low || value > high) notInteger();
      break;
    }
    case ftLargeint: {
      long long value = 0;
      if (!TryStrToInt64(SearchText, value)) notInteger();
      break;
    }
    case ftFloat:
    case ftCurrency:
    case ftBCD:
      // The platform's conversion error names the text.
      StrToFloat(SearchText);
      break;
    default:
      // Text, booleans (true for a text starting with 1, T, Y), bytes and blobs take any text;
      // dates and times are compared as text.
      break;
  }
}
