// This file implements the incremental search edit (see Qvkeycb.h).
#include "Qvkeycb.h"

#include <vector>

#include "DataSet.h"
#include "DataSource.h"
#include "Dialogs.h"
#include "Field.h"
#include "Qvintl.h"
#include "Table.h"
#include "Timer.h"
#include "qvControlUtils.h"
#include "qvDataSetUtils.h"
#include "qvRecordSearch.h"
#include "qvStrUtils.h"

VELBOR_IMPLEMENT_CLASS(TqvIncrementalSearch)

namespace {

// The parts of Text between its ";" separators, in order (one empty part for an empty text).
std::vector<String> SplitParts(const String& Text) {
  std::vector<String> Parts(1);
  for (char C : Text) {
    if (C == ';')
      Parts.emplace_back();
    else
      Parts.back() += C;
  }
  return Parts;
}

String FirstPart(const String& Text) { return SplitParts(Text).front(); }

// Value cut to the field's size when the field is a string field of positive size.
String CutToField(TField* Field, const String& Value) {
  if (Field != nullptr && Field->DataType() == ftString && Field->Size() > 0 &&
      int(Value.size()) > Field->Size())
    return Value.substr(0, std::size_t(Field->Size()));
  return Value;
}

// The dataset's published IndexFieldNames, empty when it has none.
String IndexFieldNamesOf(TDataSet* DataSet) {
  if (!IsPublishedProp(DataSet, "IndexFieldNames")) return String();
  return GetStrProp(DataSet, "IndexFieldNames");
}

}  // namespace

TqvIncrementalSearch::TqvIncrementalSearch(TComponent* AOwner)
    : TCustomEdit(AOwner), FDataLink(new TDataLink()), FTimer(new TTimer(this)) {
  FTimer->SetEnabled(false);
  FTimer->SetInterval(BaseInterval);
  FTimer->SetOnTimer(TNotifyEvent(this, &TqvIncrementalSearch::FlushPendingSearch));
}

TqvIncrementalSearch::~TqvIncrementalSearch() {
  FTimer->SetEnabled(false);
  delete FDataLink;
}

TDataSource* TqvIncrementalSearch::DataSource() const { return FDataLink->DataSource(); }

void TqvIncrementalSearch::SetDataSource(TDataSource* Value) {
  FDataLink->SetDataSource(Value);
  if (Value != nullptr) Value->FreeNotification(this);
}

void TqvIncrementalSearch::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomEdit::Notification(AComponent, Operation);
  if (Operation == opRemove && FDataLink != nullptr && AComponent == DataSource()) FDataLink->SetDataSource(nullptr);
}

void TqvIncrementalSearch::Clear() {
  TCustomEdit::Clear();
  FLastSearchText.clear();
}

bool TqvIncrementalSearch::IsSearchKey(WORD Key) {
  return Key == VK_BACK || Key == VK_SPACE || Key == VK_DELETE || (Key >= 48 && Key <= 111) || Key > 145;
}

bool TqvIncrementalSearch::IsMultiFieldSearch() const {
  String Value = Text();
  std::size_t Semicolon = Value.find(';');
  return FSearchField.find(';') != String::npos && Semicolon != String::npos && Semicolon + 1 < Value.size();
}

void TqvIncrementalSearch::KeyUp(WORD& Key, TShiftState Shift) {
  TCustomEdit::KeyUp(Key, Shift);
  if (Text() == FLastSearchText || !IsSearchKey(Key)) return;
  // The completed part is being removed: no new search for it.
  if (ShowMatchText && (Key == VK_BACK || Key == VK_DELETE)) return;
  FTimer->SetEnabled(false);
  if (DataSource() == nullptr) {
    MessageDlg("DataSource not defined - object " + Name(), mtWarning, {mbOK}, 0);
    return;
  }
  if (DataSource()->DataSet() == nullptr) {
    MessageDlg("Dataset not defined for DataSource", mtWarning, {mbOK}, 0);
    return;
  }
  if (SearchDelay != 0) FTimer->SetInterval(unsigned(SearchDelay));
  FTimer->SetEnabled(true);
}

void TqvIncrementalSearch::KeyPress(char& Key) {
  TCustomEdit::KeyPress(Key);
  if (Key != 0 && !PictureMask.empty()) qvPictureMaskKeyPress(this, PictureMask, PictureMaskAutoFill, Key);
}

void TqvIncrementalSearch::FlushPendingSearch(TObject*) {
  if (!FTimer->Enabled()) return;
  FTimer->SetEnabled(false);
  String Value = Text();
  if (Value == FLastSearchText) return;
  ExecuteSearch();
  FLastSearchText = Value;
}

void TqvIncrementalSearch::DoPerformCustomSearch(const String& Field, const String& Value, bool& Found,
                                                 bool PerformLookup) {
  TDataSet* DataSet = DataSource() != nullptr ? DataSource()->DataSet() : nullptr;
  if (OnPerformCustomSearch && DataSet != nullptr) OnPerformCustomSearch(this, DataSet, Field, Value, PerformLookup, Found);
}

bool TqvIncrementalSearch::LocateMultiField(TDataSet* DataSet, bool CaseSensitive) {
  std::vector<String> Fields = SplitParts(FSearchField);
  std::vector<String> Values = SplitParts(Text());
  Variant KeyValues = VarArrayCreate(0, int(Fields.size()) - 1, varVariant);
  for (std::size_t i = 0; i < Fields.size(); ++i) {
    TField* Field = DataSet->FindField(Fields[i]);
    if (Field == nullptr) return false;
    KeyValues.PutElement(int(i), Variant(CutToField(Field, i < Values.size() ? Values[i] : String())));
  }
  TLocateOptions Options{loPartialKey};
  if (!CaseSensitive) Options.Include(loCaseInsensitive);
  return DataSet->Locate(FSearchField, KeyValues, Options);
}

void TqvIncrementalSearch::ExecuteSearch() {
  TDataSet* DataSet = DataSource() != nullptr ? DataSource()->DataSet() : nullptr;
  if (DataSet == nullptr) return;
  if (!OnPerformCustomSearch && !DataSet->Active()) return;
  String Value = Text();
  bool MatchFound = false;
  bool CaseSensitive = CaseSensitivity == qvcsCaseSensitive;
  String FieldName;

  auto* Table = dynamic_cast<TTable*>(DataSet);
  if (Table != nullptr) {
    // The active index decides the case and, without a search field, the field.
    for (const TIndexDef& Def : Table->IndexDefs())
      if (!Table->IndexName().empty() && qvSameText(Def.Name, Table->IndexName())) CaseSensitive = !Def.CaseInsensitive;
    if (CaseSensitivity == qvcsCaseSensitive) CaseSensitive = true;
    if (CaseSensitivity == qvcsCaseInsensitive) CaseSensitive = false;
  }

  if (OnPerformCustomSearch) {
    FieldName = FSearchField;
    if (FieldName.empty() && DataSet->FieldCount() > 0) FieldName = DataSet->Fields()->Fields(0)->FieldName();
    String SearchValue = CutToField(DataSet->FindField(FieldName), Value);
    DoPerformCustomSearch(FieldName, SearchValue, MatchFound, false);
  } else if (Table != nullptr) {
    if (IsMultiFieldSearch()) {
      FieldName = FSearchField;
      MatchFound = LocateMultiField(DataSet, CaseSensitive);
    } else {
      std::vector<String> IndexFields = SplitParts(Table->IndexFields());
      if (Table->IndexFields().empty()) IndexFields.clear();
      // The search field's place among the index fields (the last match), 0 when it has none.
      int K = 0;
      for (std::size_t i = 0; i < IndexFields.size(); ++i)
        if (!FSearchField.empty() && qvSameText(IndexFields[i], FSearchField)) K = int(i);
      bool ByLocate = IndexFields.empty() || CaseSensitivity != qvcsAutoDetect ||
                      (!FSearchField.empty() && K < 1 && FSearchField != IndexFields[0]);
      if (ByLocate) {
        FieldName = FirstPart(FSearchField);
        if (FieldName.empty() && DataSet->FieldCount() > 0) FieldName = DataSet->Fields()->Fields(0)->FieldName();
        MatchFound = qvLocateFieldValue(DataSet, Value, FieldName, mtPartialMatchStart, CaseSensitive);
      } else {
        // Positioned by the index; the match text is then the searched index field's value.
        MatchFound = qvFindNearestInIndex(DataSet, Value, K);
        FieldName = IndexFields[std::size_t(K)];
      }
    }
  } else {
    // An empty text goes back to the first record; nothing is reported.
    if (Value.empty()) {
      DataSet->First();
      return;
    }
    if (IsMultiFieldSearch()) {
      FieldName = FSearchField;
      MatchFound = LocateMultiField(DataSet, CaseSensitive);
    } else {
      FieldName = FSearchField;
      if (FieldName.empty()) FieldName = FirstPart(IndexFieldNamesOf(DataSet));
      if (FieldName.empty() && DataSet->FieldCount() > 0) FieldName = DataSet->Fields()->Fields(0)->FieldName();
      TField* Field = DataSet->FindField(FieldName);
      if (Field != nullptr && qvIsValidSearchText(Field, Value)) {
        bool Located = false;
        if (qvIntl->UseLocateMethodForSearch) {
          TLocateOptions Options{loPartialKey};
          if (!CaseSensitive) Options.Include(loCaseInsensitive);
          try {
            MatchFound = DataSet->Locate(FieldName, Variant(CutToField(Field, Value)), Options);
            Located = true;
          } catch (const Exception&) {
            // The scanning search below takes over.
          }
        }
        if (!Located) MatchFound = qvLocateFieldValue(DataSet, Value, FieldName, mtPartialMatchStart, CaseSensitive);
      }
    }
  }
  if (OnAfterSearch) OnAfterSearch(this, MatchFound);
  if (ShowMatchText && MatchFound) ShowMatch(DataSet, FieldName);
}

void TqvIncrementalSearch::ShowMatch(TDataSet* DataSet, const String& FieldName) {
  String Typed = Text();
  String Match;
  std::vector<String> Names = SplitParts(FieldName);
  for (std::size_t i = 0; i < Names.size(); ++i) {
    TField* Field = DataSet->FindField(Names[i]);
    if (i > 0) Match += ';';
    if (Field != nullptr) Match += Field->AsString();
  }
  SetText(Match);
  SetSelStart(int(Typed.size()));
  SetSelLength(int(Match.size()) - int(Typed.size()));
}
