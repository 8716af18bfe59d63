// This file implements the record search of the data-aware library (see qvRecordSearch.h).
#include "qvRecordSearch.h"

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "ADODB.h"
#include "Table.h"
#include "Dialogs.h"
#include "Field.h"
#include "FloatFormat.h"
#include "Forms.h"
#include "Qvintl.h"
#include "RichEdit.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "Streams.h"
#include "TextOrder.h"
#include "qvControlUtils.h"
#include "qvDataSetUtils.h"
#include "qvDateScan.h"

namespace {

// The locale's upper case of each character, for comparing without copies.
const std::array<char, 256>& UpperTable() {
  static const std::array<char, 256> Table = [] {
    std::array<char, 256> T{};
    for (int i = 0; i < 256; ++i) T[std::size_t(i)] = AnsiUpperChar(char(i));
    return T;
  }();
  return Table;
}

bool IsFloatLike(TFieldType Type) {
  return Type == ftFloat || Type == ftCurrency || Type == ftBCD || Type == ftFMTBcd;
}

bool IsMemo(TField* Field) { return Field->DataType() == ftMemo || Field->DataType() == ftFmtMemo; }

bool IsTextType(TFieldType Type) {
  return Type == ftString || Type == ftFixedChar || Type == ftWideString || Type == ftGuid;
}

// How one record's value is judged: its text against the search text, a number against the
// number searched, a memo's plain text.
class TValueTest {
 public:
  TValueTest(TField* Field, const String& Text, TqvLocateMatchType MatchType, bool CaseSensitive)
      : FText(Text), FMatchType(MatchType), FCaseSensitive(CaseSensitive), FMemo(IsMemo(Field)) {
    FNumeric = MatchType == mtExactMatch && !Text.empty() && IsFloatLike(Field->DataType());
    if (FNumeric) FValidNumber = qvIsValidFloatText(Text) && TryStrToFloat(Text, FNumber);
  }
  ~TValueTest() {
    delete FRichEdit;
    delete FStream;
    if (FOwnForm != nullptr) FOwnForm->Free();
  }
  TValueTest(const TValueTest&) = delete;
  TValueTest& operator=(const TValueTest&) = delete;

  // A number is searched, and the text is none: nothing can match.
  bool Hopeless() const { return FNumeric && !FValidNumber; }

  bool operator()(std::string_view Value) {
    if (FNumeric) {
      double Number;
      return !Value.empty() && TryStrToFloat(String(Value), Number) && Number == FNumber;
    }
    if (FMemo && Value.substr(0, 5) == "{\\rtf") return qvTextMatches(PlainText(Value), FText, FMatchType, FCaseSensitive);
    return qvTextMatches(Value, FText, FMatchType, FCaseSensitive);
  }

 private:
  // A memo holding rich text reads as its plain text, through a hidden rich edit on the active
  // form, or on a hidden form of its own when none is active (made on the first such memo, freed
  // with the test).
  String PlainText(std::string_view Rich) {
    TCustomForm* Form = Screen->ActiveForm();
    if (Form == nullptr) {
      if (FOwnForm == nullptr) FOwnForm = CreateForm<TForm>(nullptr);
      Form = FOwnForm;
    }
    std::vector<char> Buffer(Rich.begin(), Rich.end());
    Buffer.push_back(0);
    int Length = int(Rich.size());
    qvRichTextToPlainBuffer(Form, Buffer.data(), Length, FStream, FRichEdit);
    return String(Buffer.data(), std::size_t(Length));
  }

  String FText;
  TqvLocateMatchType FMatchType;
  bool FCaseSensitive;
  bool FMemo;
  bool FNumeric = false;
  bool FValidNumber = false;
  double FNumber = 0;
  TMemoryStream* FStream = nullptr;
  TRichEdit* FRichEdit = nullptr;
  TForm* FOwnForm = nullptr;
};

// The search through the records themselves: the current one first when From the beginning,
// then each next one, until a match (or, with StopAtMismatch, a record that does not match).
bool ScanRecords(TDataSet* DataSet, TField* Field, TValueTest& Test, bool FromBeginning, bool StopAtMismatch) {
  bool Disable = qvNeedsRecordScan(Field) || IsMemo(Field);
  if (Disable) DataSet->DisableControls();
  TScopeGuard enable([&] {
    if (Disable) DataSet->EnableControls();
  });
  if (FromBeginning) {
    DataSet->First();
    if (!DataSet->Eof() && Test(Field->AsString())) return true;
  }
  for (;;) {
    DataSet->Next();
    if (DataSet->Eof()) return false;
    if (Test(Field->AsString())) return true;
    if (StopAtMismatch) return false;
  }
}

}  // namespace

bool qvTextMatches(std::string_view Value, const String& Text, TqvLocateMatchType MatchType, bool CaseSensitive) {
  // An empty text is found nowhere in a value: it matches only an empty value, exactly.
  if (Text.empty()) return MatchType == mtExactMatch && Value.empty();
  const std::array<char, 256>& Upper = UpperTable();
  auto Same = [&](char A, char B) { return (CaseSensitive ? A : Upper[static_cast<unsigned char>(A)]) == B; };
  switch (MatchType) {
    case mtExactMatch:
      return Value.size() == Text.size() && std::equal(Value.begin(), Value.end(), Text.begin(), Same);
    case mtPartialMatchStart:
      return Value.size() >= Text.size() && std::equal(Text.begin(), Text.end(), Value.begin(),
                                                       [&](char T, char V) { return Same(V, T); });
    case mtPartialMatchAny:
      return std::search(Value.begin(), Value.end(), Text.begin(), Text.end(), Same) != Value.end();
  }
  return false;
}

TqvKeySearch qvTableKeySearch(TDataSet* DataSet, TField* Field, const String& Text, TqvLocateMatchType MatchType,
                              bool CaseSensitive, bool FromBeginning) {
  auto* Table = dynamic_cast<TTable*>(DataSet);
  if (Table == nullptr || Field->DataType() == ftMemo || qvTableHasQuery(DataSet) || MatchType == mtPartialMatchAny)
    return TqvKeySearch::None;
  Table->UpdateIndexDefs();
  if (Table->IndexFieldCount() == 0 || !AnsiSameText(Table->IndexField(0)->FieldName(), Field->FieldName()))
    return TqvKeySearch::None;
  bool IndexCaseInsensitive = false;
  for (const TIndexDef& Def : Table->IndexDefs())
    if (AnsiSameText(Def.Name, Table->IndexName())) IndexCaseInsensitive = Def.CaseInsensitive;
  bool IsText = IsTextType(Field->DataType());
  if (IsText && IndexCaseInsensitive == CaseSensitive) return TqvKeySearch::None;
  String Current = CaseSensitive ? Field->AsString() : AnsiUpperCase(Field->AsString());
  if (MatchType == mtExactMatch) {
    if (Field->DataType() == ftBoolean || (Current == Text && !FromBeginning)) return TqvKeySearch::None;
    return Table->FindKey({Variant(Text)}) ? TqvKeySearch::Found : TqvKeySearch::NotFound;
  }
  if (!IsText) return TqvKeySearch::None;
  bool CurrentMatches = Current.compare(0, Text.size(), Text) == 0;
  if (!FromBeginning && CurrentMatches) return TqvKeySearch::ScanWhileMatching;
  // Keys in index order: a text sorting before the current key lies behind the search.
  if (!FromBeginning && Text < Current) return TqvKeySearch::NotFound;
  TBookmark Start = Table->GetBookmark();
  Table->FindNearest({Variant(Text)});
  String Reached = CaseSensitive ? Field->AsString() : AnsiUpperCase(Field->AsString());
  if (Reached.compare(0, Text.size(), Text) == 0) return TqvKeySearch::Found;
  Table->GotoBookmark(Start);
  return TqvKeySearch::NotFound;
}

bool qvFindFieldValue(bool FromBeginning, TDataSet* DataSet, const String& FieldName, const String& SearchValue,
                      TqvLocateMatchType MatchType, bool CaseSensitive, bool UseLocate) {
  DataSet->CheckBrowseMode();
  TField* Field = DataSet->FindField(FieldName);
  if (Field == nullptr) {
    MessageDlg("Field " + FieldName + " not found.", mtWarning, TMsgDlgButtons{mbOK}, 0);
    return false;
  }
  String Text = CaseSensitive ? SearchValue : AnsiUpperCase(SearchValue);

  bool StopAtMismatch = false;
  switch (qvTableKeySearch(DataSet, Field, Text, MatchType, CaseSensitive, FromBeginning)) {
    case TqvKeySearch::Found: return true;
    case TqvKeySearch::NotFound: return false;
    case TqvKeySearch::ScanWhileMatching:
      StopAtMismatch = true;
      FromBeginning = false;
      break;
    case TqvKeySearch::None: break;
  }

  TValueTest Test(Field, Text, MatchType, CaseSensitive);
  if (Test.Hopeless()) return false;
  bool Stored = !qvIsCalcOrLookupField(Field);
  auto* Ado = dynamic_cast<TCustomADODataSet*>(DataSet);

  // A text field from the first record, exactly or at its start: the dataset's own Locate.
  bool AdoLocate = qvIntl->ADO()->UseLocateWhenFindingValue && DataSet->InheritsFrom("TCustomADODataSet");
  if (FromBeginning && MatchType != mtPartialMatchAny && (AdoLocate || UseLocate) && Stored &&
      IsTextType(Field->DataType())) {
    TLocateOptions Options;
    if (!CaseSensitive) Options.Include(loCaseInsensitive);
    if (MatchType == mtPartialMatchStart) Options.Include(loPartialKey);
    return DataSet->Locate(Field->FieldName(), Variant(SearchValue), Options);
  }

  TCursor SavedCursor = Screen->Cursor();
  Screen->SetCursor(crHourGlass);
  TScopeGuard restoreCursor([&] { Screen->SetCursor(SavedCursor); });

  // A stored field of an SQLite dataset: its rows in memory, without moving through them.
  if (Ado != nullptr && Stored && !StopAtMismatch) {
    bool Handled = false;
    bool Found = Ado->SearchRows(Field, [&Test](std::string_view Value) { return Test(Value); }, FromBeginning, Handled);
    if (Handled) return Found;
  }

  TBookmark Start = DataSet->GetBookmark();
  bool Found = false;
  TScopeGuard back([&] {
    if (!Found && !Start.empty()) DataSet->GotoBookmark(Start);
  });
  Found = ScanRecords(DataSet, Field, Test, FromBeginning, StopAtMismatch);
  if (Found) {
    DataSet->UpdateCursorPos();
    DataSet->Resync(TResyncMode{rmExact, rmCenter});
  }
  return Found;
}

bool qvLocateFieldValue(TDataSet* DataSet, const String& Value, const String& FieldName, TqvLocateMatchType MatchType,
                        bool CaseSensitive) {
  if (TField* Field = DataSet->FindField(FieldName)) {
    String Current = Field->AsString();
    if (CaseSensitive ? Current == Value : AnsiLowerCase(Current) == AnsiLowerCase(Value)) return true;
  }
  return qvFindFieldValue(true, DataSet, FieldName, Value, MatchType, CaseSensitive, false);
}
