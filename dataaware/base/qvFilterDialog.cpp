// This file implements the filter dialog component without its windows.
#include "qvFilterDialog.h"

#include "ADODB.h"
#include "Controls.h"
#include "DBTables.h"
#include "DateTimeFormat.h"
#include "Dialogs.h"
#include "Field.h"
#include "FieldDefs.h"
#include "FloatFormat.h"
#include "Forms.h"
#include "IniFiles.h"
#include "OsPort.h"
#include "ScopeGuard.h"
#include "SqlTokens.h"
#include "StrUtils.h"
#include "TextOrder.h"
#include "qvControlUtils.h"
#include "qvDBDataSets.h"
#include "qvDataSetUtils.h"
#include "qvFilterDialogForm.h"
#include "qvPropAccess.h"
#include "qvStrUtils.h"

TqvFilterDialogWindow qvFilterDialogWindow = &qvShowFilterDlg;

// Tells the dialog when its dataset opens or closes.
class TqvFilterDataLink : public TDataLink {
 public:
  explicit TqvFilterDataLink(TqvFilterDialog* Dialog) : FDialog(Dialog) {}

 protected:
  void ActiveChanged() override { FDialog->DataSetActiveChanged(Active()); }

 private:
  TqvFilterDialog* FDialog;
};

namespace {

void Warn(const String& Text) { MessageDlg(Text, mtWarning, TMsgDlgButtons{mbOK}, 0); }

bool IsIntegerType(TFieldType T) { return T == ftSmallint || T == ftInteger || T == ftWord || T == ftAutoInc; }
bool IsNumberType(TFieldType T) {
  return IsIntegerType(T) || T == ftBoolean || T == ftFloat || T == ftCurrency || T == ftBCD || T == ftFMTBcd;
}
bool IsTextType(TFieldType T) { return T == ftString || T == ftFixedChar || T == ftWideString; }

// The datasets of the library have their own record filter, OnFilter.
bool SetLibraryFilter(TDataSet* DataSet, TFilterRecordEvent Handler) {
  if (auto* T = dynamic_cast<TqvTable*>(DataSet)) T->SetOnFilter(Handler);
  else if (auto* Q = dynamic_cast<TqvQuery*>(DataSet)) Q->SetOnFilter(Handler);
  else if (auto* P = dynamic_cast<TqvStoredProc*>(DataSet)) P->SetOnFilter(Handler);
  else if (auto* B = dynamic_cast<TqvQBE*>(DataSet)) B->SetOnFilter(Handler);
  else return false;
  return true;
}

TFilterRecordEvent LibraryFilter(TDataSet* DataSet) {
  if (auto* T = dynamic_cast<TqvTable*>(DataSet)) return T->OnFilter();
  if (auto* Q = dynamic_cast<TqvQuery*>(DataSet)) return Q->OnFilter();
  if (auto* P = dynamic_cast<TqvStoredProc*>(DataSet)) return P->OnFilter();
  if (auto* B = dynamic_cast<TqvQBE*>(DataSet)) return B->OnFilter();
  return TFilterRecordEvent();
}

const char* const MatchNames[] = {"fdMatchStart", "fdMatchAny", "fdMatchExact", "fdMatchEnd", "fdMatchRange", "fdMatchNone"};

// Values are written between quotes (blanks at either end survive the file) with "\" escaping
// "\", CR and LF (line ends too).
String EncodeValue(const String& Value) {
  String Out = "\"";
  for (char C : Value) {
    if (C == '\\') Out += "\\\\";
    else if (C == '\r') Out += "\\r";
    else if (C == '\n') Out += "\\n";
    else Out += C;
  }
  return Out + "\"";
}

// A value without its quotes and escapes; false for a trailing or unknown escape.
bool DecodeValue(const String& Quoted, String& Value) {
  String Text = Quoted;
  if (Text.size() >= 2 && Text.front() == '"' && Text.back() == '"') Text = Text.substr(1, Text.size() - 2);
  Value.clear();
  for (std::size_t i = 0; i < Text.size(); ++i) {
    char C = Text[i];
    if (C != '\\') {
      Value += C;
      continue;
    }
    if (++i >= Text.size()) return false;
    switch (Text[i]) {
      case '\\': Value += '\\'; break;
      case 'r': Value += '\r'; break;
      case 'n': Value += '\n'; break;
      default: return false;
    }
  }
  return true;
}

constexpr const char* CriteriaSection = "FilterCriteria";
constexpr int CriteriaFormat = 1;

}  // namespace

// --- The tables of query modification ----------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TqvSQLTablesCollectionItem)
VELBOR_PUBLISHED(TqvSQLTablesCollectionItem,
  Prop("TableName", &Self::TableName),
  Prop("TableAliasName", &Self::TableAliasName))
VELBOR_IMPLEMENT_CLASS(TqvSQLTablesCollection)

String TqvSQLTablesCollectionItem::DisplayName() const {
  String Shown = !TableAliasName.empty() ? TableAliasName : !TableName.empty() ? TableName : String("<Unassigned>");
  return IntToStr(Index()) + " - " + Shown;
}

void TqvSQLTablesCollectionItem::Assign(TPersistent* Source) {
  if (auto* Other = dynamic_cast<TqvSQLTablesCollectionItem*>(Source)) {
    TableName = Other->TableName;
    TableAliasName = Other->TableAliasName;
    return;
  }
  TCollectionItem::Assign(Source);
}

// --- The component -------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TqvFilterDialog)
VELBOR_PUBLISHED(TqvFilterDialog,
  Prop("DataSource", &Self::DataSource, &Self::SetDataSource),
  Prop("Options", &Self::Options),
  Prop("SortBy", &Self::SortBy).Default(fdSortByFieldNo),
  Prop("Caption", &Self::Caption),
  Prop("FilterMethod", &Self::FilterMethod, &Self::SetFilterMethod).Default(fdByFilter),
  Prop("DefaultField", &Self::DefaultField),
  Prop("FieldsFetchMethod", &Self::FieldsFetchMethod).Default(fmUseTTable),
  Prop("OnFilterPropertyOptions", &Self::OnFilterPropertyOptions),
  Prop("SelectedFields", &Self::SelectedFields, &Self::SetSelectedFields),
  Prop("FilterOptimization", &Self::FilterOptimization).Default(fdNone),
  Prop("DlgHeight", &Self::DlgHeight, &Self::SetDlgHeight).Default(267),
  Prop("SQLTables", &Self::SQLTables, &Self::SetSQLTables),
  Prop("SQLUpperString", &Self::SQLUpperString),
  Prop("SQLPropertyName", &Self::SQLPropertyName),
  Prop("OnInitDialog", &Self::OnInitDialog),
  Prop("OnExecuteSQL", &Self::OnExecuteSQL),
  Prop("OnEncodeValue", &Self::OnEncodeValue),
  Prop("OnInitTempDataSet", &Self::OnInitTempDataSet),
  Prop("OnAcceptFilterRecord", &Self::OnAcceptFilterRecord),
  Prop("OnSelectField", &Self::OnSelectField),
  Prop("OnDialogSummary", &Self::OnDialogSummary))

TqvFilterDialog::TqvFilterDialog(TComponent* AOwner)
    : TqvCustomDialog(AOwner),
      FDataLink(std::make_unique<TqvFilterDataLink>(this)),
      FSelectedFields(std::make_unique<TStringList>()),
      FSavedSQL(std::make_unique<TStringList>()),
      FSQLTables(std::make_unique<TqvSQLTablesCollection>(this)) {
  FRecordFilter.OnAcceptFilterRecord = TqvOnAcceptFilterRecord(this, &TqvFilterDialog::AcceptRecord);
}

TqvFilterDialog::~TqvFilterDialog() {
  // The dataset keeps no handler of a dialog that is gone.
  if (TDataSet* DataSet = GetPrimaryDataSet()) {
    TFilterRecordEvent Own(&FRecordFilter, &TqvRecordFilter::FilterRecord);
    if (LibraryFilter(DataSet) == Own) SetLibraryFilter(DataSet, TFilterRecordEvent());
    auto* Engine = dynamic_cast<TDBDataSet*>(DataSet);
    if ((Engine ? Engine->UserFilterRecord() : DataSet->OnFilterRecord()) == Own)
      DataSet->SetOnFilterRecord(TFilterRecordEvent());
  }
  FDataLink->SetDataSource(nullptr);
}

TDataSource* TqvFilterDialog::DataSource() const { return FDataLink->DataSource(); }

void TqvFilterDialog::SetDataSource(TDataSource* Value) {
  if (Value != nullptr && Value->DataSet() != nullptr && Value->DataSet()->InheritsFrom("TTable"))
    FFilterMethod = fdByFilter;
  if (TDataSource* Old = FDataLink->DataSource()) Old->RemoveFreeNotification(this);
  FDataLink->SetDataSource(Value);
  if (Value != nullptr) Value->FreeNotification(this);
}

void TqvFilterDialog::Notification(TComponent* AComponent, TOperation Operation) {
  TqvCustomDialog::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDataLink->DataSource()) FDataLink->SetDataSource(nullptr);
}

TDataSet* TqvFilterDialog::GetPrimaryDataSet() { return DataSource() != nullptr ? DataSource()->DataSet() : nullptr; }

bool TqvFilterDialog::HasSQLProperty() {
  TDataSet* DataSet = GetFilterDataSet(nullptr);
  if (DataSet == nullptr) return false;
  return DataSet->InheritsFrom("TQuery") || GetPropInfo(DataSet, GetSQLPropertyName()) != nullptr;
}

void TqvFilterDialog::SetFilterMethod(TqvFilterMethod Value) {
  TDataSet* DataSet = GetPrimaryDataSet();
  if (DataSet == nullptr || Value == fdByFilter || HasSQLProperty() || DataSet->InheritsFrom("TSimpleDataSet")) {
    FFilterMethod = Value;
    return;
  }
  FFilterMethod = fdByFilter;
  Warn("Invalid FilterMethod for Dataset. \rOnly fdByFilter is supported for this type of Dataset");
}

void TqvFilterDialog::SetOperator(String& Word, const String& Value) {
  if (Value != Word) {
    Word = Value;
    qvTrimBlanks(Word);
  }
  if (FOperators.Ambiguous()) Warn("Operators do not have a unique value.");
}

void TqvFilterDialog::SetOrChar(const String& Value) { SetOperator(FOperators.OrChar, Value); }
void TqvFilterDialog::SetAndChar(const String& Value) { SetOperator(FOperators.AndChar, Value); }
void TqvFilterDialog::SetNullChar(const String& Value) { SetOperator(FOperators.NullChar, Value); }

void TqvFilterDialog::SetDlgHeight(int Value) {
  if (Value > 267) FDlgHeight = Value;
}

String TqvFilterDialog::GetSQLPropertyName() {
  if (!SQLPropertyName.empty()) return SQLPropertyName;
  TDataSet* DataSet = GetPrimaryDataSet();
  if (DataSet != nullptr && (DataSet->InheritsFrom("TClientDataSet") || DataSet->InheritsFrom("TADODataSet") ||
                             DataSet->InheritsFrom("TSimpleDataSet")))
    return "CommandText";
  return "SQL";
}

TDataSet* TqvFilterDialog::GetFilterDataSet(TDataSet* DataSet) {
  if (DataSet == nullptr) DataSet = GetPrimaryDataSet();
  if (DataSet != nullptr && DataSet->InheritsFrom("TSimpleDataSet"))
    if (TDataSet* Inner = qvGetDataSetProperty(DataSet)) return Inner;
  return DataSet;
}

TqvDBFieldInfo* TqvFilterDialog::FindDBFieldInfo(const String& FieldName) {
  for (TqvDBFieldInfo& Entry : DBFieldInfos)
    if (qvSameText(Entry.FieldName, FieldName)) return &Entry;
  return nullptr;
}

TqvDBFieldInfo& TqvFilterDialog::AddDBFieldInfo() { return DBFieldInfos.emplace_back(); }

void TqvFilterDialog::DataSetActiveChanged(bool Active) {
  TDataSet* DataSet = GetPrimaryDataSet();
  if (Active || DataSet == nullptr || DataSet->State() == dsOpening || FInternalChange ||
      !OnFilterPropertyOptions.Contains(fdClearWhenCloseDataSet) || FFilterMethod != fdByFilter)
    return;
  if (!FieldInfos.empty() && DataSet->InheritsFrom("TDBDataSet")) qvSetFilterEnabled(DataSet, false);
  ClearCriteria();
}

void TqvFilterDialog::ShowSummary(const std::vector<TqvFieldInfo>& Criteria) {
  bool DoDefault = !OnDialogSummary;
  if (OnDialogSummary) OnDialogSummary(this, Criteria, DoDefault);
  if (DoDefault) qvShowFilterSummary(this, Criteria);
}

void TqvFilterDialog::DoInitDialog() {
  if (OnInitDialog) OnInitDialog(FFilterDlg);
}

void TqvFilterDialog::DoSelectField(const String& FieldName, String& PictureMask, TStrings* ComboList) {
  if (OnSelectField) OnSelectField(this, FieldName, PictureMask, ComboList);
}

void TqvFilterDialog::DoInitTempDataSet(TDataSet* DataSet, TDataSet* TempDataSet) {
  if (OnInitTempDataSet) OnInitTempDataSet(this, DataSet, TempDataSet);
}

void TqvFilterDialog::AcceptRecord(TObject*, TDataSet* DataSet, bool& Accept, bool& DefaultFiltering) {
  if (OnAcceptFilterRecord) OnAcceptFilterRecord(this, DataSet, Accept, DefaultFiltering);
}

// --- The field catalogue -------------------------------------------------------------------------

void TqvFilterDialog::BuildFieldInfos() {
  if (FFilterMethod == fdByQueryModify) BuildFieldInfosFromSQL();
  else BuildFieldInfosFromFields();
}

void TqvFilterDialog::BuildFieldInfosFromFields() {
  DBFieldInfos.clear();
  TDataSet* DataSet = GetPrimaryDataSet();
  if (DataSet == nullptr) return;
  for (int i = 0; i < DataSet->Fields()->Count(); ++i) {
    TField* Field = DataSet->Fields()->Fields(i);
    TqvDBFieldInfo& Entry = AddDBFieldInfo();
    Entry.FieldName = Entry.SQLFieldName = Field->FieldName();
    Entry.FieldType = Field->DataType();
    Entry.DisplayLabel = Field->DisplayLabel();
    Entry.Size = Field->Size();
  }
}

void TqvFilterDialog::GetSQLText(TStrings* Lines) {
  Lines->Clear();
  TDataSet* DataSet = GetFilterDataSet(nullptr);
  if (DataSet == nullptr) return;
  const TPropInfo* Prop = GetPropInfo(DataSet, GetSQLPropertyName());
  if (Prop == nullptr) return;
  if (Prop->Kind == tkClass) {
    if (auto* List = dynamic_cast<TStrings*>(GetObjectProp(DataSet, Prop))) Lines->Assign(List);
  } else {
    Lines->Add(GetStrProp(DataSet, Prop));
  }
}

void TqvFilterDialog::SetSQLText(TStrings* Lines) {
  if (TDataSet* DataSet = GetFilterDataSet(nullptr)) qvSetStringsProperty(DataSet, Lines, GetSQLPropertyName());
}

void TqvFilterDialog::BuildFieldInfosFromSQL() {
  DBFieldInfos.clear();
  TDataSet* DataSet = GetFilterDataSet(nullptr);
  if (DataSet == nullptr) return;
  if (FieldsFetchMethod == fmUseTFields) {
    DataSet->FieldDefs()->Update();
    String Table;
    if (FSQLTables->Count() > 0) {
      TqvSQLTablesCollectionItem* First = FSQLTables->Items(0);
      Table = !First->TableAliasName.empty() ? First->TableAliasName : First->TableName;
    }
    for (int i = 0; i < DataSet->Fields()->Count(); ++i) {
      TField* Field = DataSet->Fields()->Fields(i);
      TqvDBFieldInfo& Entry = AddDBFieldInfo();
      Entry.FieldName = Entry.SQLFieldName = Field->FieldName();
      Entry.TableName = Table;
      // "table.column": the column and the table it comes from.
      if (UseFieldOrigin && !Field->Origin.empty()) {
        std::size_t Dot = Field->Origin.rfind('.');
        Entry.SQLFieldName = Trim(Field->Origin.substr(Dot == String::npos ? 0 : Dot + 1));
        if (Dot != String::npos) Entry.TableName = Trim(Field->Origin.substr(0, Dot));
        for (String* Part : {&Entry.SQLFieldName, &Entry.TableName})
          if (Part->size() >= 2 && (Part->front() == '"' || Part->front() == '[')) *Part = Part->substr(1, Part->size() - 2);
      }
      Entry.FieldType = Field->DataType();
      Entry.Size = Field->Size();
      Entry.DisplayLabel = Field->DisplayLabel();
    }
    return;
  }
  // The tables of the statement's FROM list, with their aliases.
  std::vector<TqvSQLTable> Tables;
  for (int i = 0; i < FSQLTables->Count(); ++i) {
    const TqvSQLTablesCollectionItem* Item = FSQLTables->Items(i);
    if (!Item->TableName.empty())
      Tables.push_back({Item->TableName, Item->TableAliasName.empty() ? Item->TableName : Item->TableAliasName});
  }
  if (FSQLTables->Count() == 0) {
    TStringList Lines;
    GetSQLText(&Lines);
    std::vector<TSqlToken> Tokens = TokenizeSql(Lines.Text());
    std::vector<const TSqlToken*> Meaning;
    for (const TSqlToken& T : Tokens)
      if (!T.IsSpace() && T.Kind != TSqlTokenKind::End) Meaning.push_back(&T);
    std::size_t i = 0;
    int Depth = 0;
    for (; i < Meaning.size(); ++i) {
      if (Meaning[i]->IsSymbol("(")) ++Depth;
      else if (Meaning[i]->IsSymbol(")")) --Depth;
      else if (Depth == 0 && Meaning[i]->IsWord("FROM")) break;
    }
    for (++i; i < Meaning.size();) {
      const TSqlToken& Name = *Meaning[i];
      if (Name.Kind != TSqlTokenKind::Word && Name.Kind != TSqlTokenKind::QuotedName && Name.Kind != TSqlTokenKind::BracketName) break;
      TqvSQLTable Table{Name.Name(), Name.Name()};
      ++i;
      if (i < Meaning.size() && Meaning[i]->IsWord("AS")) ++i;
      if (i < Meaning.size() && (Meaning[i]->Kind == TSqlTokenKind::Word || Meaning[i]->Kind == TSqlTokenKind::QuotedName) &&
          !Meaning[i]->IsWord("WHERE") && !Meaning[i]->IsWord("ORDER") && !Meaning[i]->IsWord("GROUP"))
        Table.TableAliasName = Meaning[i++]->Name();
      Tables.push_back(Table);
      if (i < Meaning.size() && Meaning[i]->IsSymbol(",")) ++i;
      else break;
    }
  }
  auto* Source = dynamic_cast<TCustomADODataSet*>(DataSet);
  for (const TqvSQLTable& Table : Tables) {
    // The table's columns, read through a query on the same database.
    TADOQuery Temp(nullptr);
    if (Source != nullptr) {
      if (Source->Connection() != nullptr) Temp.SetConnection(Source->Connection());
      else Temp.SetConnectionString(Source->ConnectionString());
    }
    Temp.MaxRecords = 1;
    Temp.SQL()->SetText("Select * from " + QuoteSql(Table.TableName));
    DoInitTempDataSet(DataSet, &Temp);
    try {
      Temp.FieldDefs()->Update();
    } catch (const Exception& E) {
      Warn("TqvFilterDialog: " + E.Message);
      continue;
    }
    for (int f = 0; f < Temp.FieldDefs()->Count(); ++f) {
      TFieldDef* Def = Temp.FieldDefs()->Items(f);
      if (FindDBFieldInfo(Def->Name()) != nullptr) continue;
      TqvDBFieldInfo& Entry = AddDBFieldInfo();
      Entry.FieldName = Entry.SQLFieldName = Def->Name();
      Entry.TableName = Table.TableAliasName;
      Entry.FieldType = Def->DataType();
      Entry.Size = Def->Size();
      TField* Own = DataSet->FindField(Def->Name());
      Entry.DisplayLabel = Own != nullptr ? Own->DisplayLabel() : Def->Name();
    }
  }
}

// --- Execution -----------------------------------------------------------------------------------

bool TqvFilterDialog::Execute() {
  TDataSet* DataSet = GetPrimaryDataSet();
  if (DataSet == nullptr) return false;
  if (!DataSet->Active() && FFilterMethod == fdByFilter) {
    MessageDlg("Dataset must be active to perform local filtering (FilterMethod=fdByFilter).", mtError,
               TMsgDlgButtons{mbOK}, 0);
    return false;
  }
  if (FOperators.OrChar == FOperators.AndChar) Warn("And and Or Operators have the same value.");
  TCursor SavedCursor = Screen->Cursor();
  Screen->SetCursor(crHourGlass);
  TScopeGuard RestoreCursor([&] { Screen->SetCursor(SavedCursor); });
  if (!ShowDialog) {
    ApplyCriteria();
    return true;
  }
  if (qvFilterDialogWindow == nullptr) {
    MessageDlg("TqvFilterDialog: the filter window is not available in this program.", mtError,
               TMsgDlgButtons{mbOK}, 0);
    return false;
  }
  bool Changed = false;
  bool Confirmed = qvFilterDialogWindow(this, Changed);
  if (Confirmed && (Changed || !qvGetFilterOptions(DataSet).Contains(ofoEnabled))) ApplyCriteria();
  return Confirmed;
}

bool TqvFilterDialog::ApplyCriteria() {
  TDataSet* DataSet = GetPrimaryDataSet();
  if (DataSet == nullptr) return false;
  if (auto* Form = dynamic_cast<TCustomForm*>(Owner())) Form->Update();
  qvSetFilterEnabled(DataSet, true);
  if (!HasSQLProperty() || FFilterMethod == fdByFilter) {
    ApplyLocalFilter();
    return true;
  }
  return ApplyQueryFilter();
}

void TqvFilterDialog::ClearFilterEvent(TDataSet* DataSet) {
  if (!SetLibraryFilter(DataSet, TFilterRecordEvent())) DataSet->SetOnFilterRecord(TFilterRecordEvent());
}

void TqvFilterDialog::SetFilterEvent(TDataSet* DataSet) {
  TFilterRecordEvent Handler(&FRecordFilter, &TqvRecordFilter::FilterRecord);
  if (SetLibraryFilter(DataSet, Handler)) return;
  DataSet->SetOnFilterRecord(Handler);
  // The dataset filters again through the new handler.
  FInternalChange = true;
  TScopeGuard Done([&] { FInternalChange = false; });
  DataSet->SetFiltered(false);
  DataSet->SetFiltered(true);
}

void TqvFilterDialog::ApplyLocalFilter() {
  TDataSet* DataSet = GetPrimaryDataSet();
  if (DataSet == nullptr) return;
  TqvDatasetFilterType Type = FilterPropertyOptions.DatasetFilterType;
  if (Type == fdUseFilterProp || Type == fdUseBothFilterTypes) {
    if (!ApplyFilterProperty() || Type == fdUseFilterProp) return;
  }
  if (!DataSet->Active()) DataSet->Open();
  ClearFilterEvent(DataSet);
  if (auto* Table = dynamic_cast<TqvTable*>(DataSet)) ApplyIndexRange(Table);
  if (FieldInfos.empty() && OnFilterPropertyOptions.Contains(fdClearWhenNoCriteria)) {
    DataSet->SetFiltered(false);
    return;
  }
  FRecordFilter.Criteria = FieldInfos;
  FRecordFilter.Operators = FOperators;
  FRecordFilter.Epsilon = Epsilon;
  FRecordFilter.UpperRangePadChar = UpperRangePadChar;
  FRecordFilter.Reset();
  SetFilterEvent(DataSet);
}

bool TqvFilterDialog::ApplyQueryFilter() {
  TDataSet* DataSet = GetFilterDataSet(nullptr);
  if (DataSet == nullptr) return false;
  TStringList Current;
  GetSQLText(&Current);
  FInternalChange = true;
  TScopeGuard Done([&] { FInternalChange = false; });
  DataSet->Close();
  if (FSavedSQL->Count() > 0) SetSQLText(FSavedSQL.get());
  else FSavedSQL->Assign(&Current);
  // A criterion without field name is found by its label, or by the label a SelectedFields line
  // gives its field.
  std::vector<TqvFieldInfo> Criteria = FieldInfos;
  for (TqvFieldInfo& C : Criteria) {
    if (!C.FieldName.empty()) continue;
    C.FieldName = C.DisplayLabel;
    for (int i = 0; i < FSelectedFields->Count(); ++i) {
      String Line = FSelectedFields->Strings(i);
      std::size_t Semi = Line.find(';');
      if (Semi != String::npos && qvSameText(Line.substr(Semi + 1), C.DisplayLabel)) C.FieldName = Line.substr(0, Semi);
    }
  }
  TqvWhereOptions Options;
  Options.Operators = FOperators;
  Options.UpperFunction = GetSQLUpperFunction();
  Options.QuoteFieldNames = QuoteFieldNames;
  Options.UpperRangePadChar = UpperRangePadChar;
  try {
    FLastWhereClause = qvBuildWhereClause(Criteria, DBFieldInfos, Options);
  } catch (const EDatabaseError& E) {
    // A field missing from the catalogue, or a value of the wrong type: the query stays closed.
    Warn(E.Message);
    return false;
  }
  String Merged = qvMergeWhereClause(FSavedSQL->Text(), FLastWhereClause.Text());
  TStringList Lines;
  Lines.SetText(Merged);
  SetSQLText(&Lines);
  // The values travel as parameters, never inside the text.
  if (auto* Ado = dynamic_cast<TCustomADODataSet*>(DataSet)) {
    Ado->Parameters()->ParseSQL(Ado->CommandText());
    for (const auto& [Name, Value] : FLastWhereClause.Params) Ado->Parameters()->ParamByName(Name)->SetValue(Value);
  } else if (TParams* Params = qvGetParams(DataSet)) {
    for (const auto& [Name, Value] : FLastWhereClause.Params)
      if (TParam* Param = Params->FindParam(Name)) Param->SetValue(Value);
  }
  if (OnExecuteSQL && DataSet->InheritsFrom("TQuery")) OnExecuteSQL(nullptr, DataSet);
  try {
    DataSet->Open();
  } catch (const Exception&) {
    String Text = "Unable to Execute SQL:\r";
    for (int i = 0; i < Lines.Count(); ++i) Text += Lines.Strings(i) + "\r";
    Warn(Text);
    throw;
  }
  return true;
}

// --- The filter text -----------------------------------------------------------------------------

namespace {

// A number as the filter text reads it (a point before the decimals); false for a text that is
// not a number, which never reaches the filter.
bool FilterNumber(const String& Part, String& Out) {
  double Value;
  String Text = Trim(Part);
  if (!TryStrToFloat(Text, Value)) return false;
  char Buffer[40];
  std::snprintf(Buffer, sizeof Buffer, "%.15g", Value);
  Out = Buffer;
  return true;
}

}  // namespace

std::vector<String> TqvFilterDialog::BuildFilterText() {
  TDataSet* DataSet = GetPrimaryDataSet();
  std::vector<String> Lines;
  if (DataSet == nullptr) return Lines;
  const TqvFilterPropertyOptions& P = FilterPropertyOptions;
  for (std::size_t i = 0; i < FieldInfos.size(); ++i) {
    TqvFieldInfo& C = FieldInfos[i];
    if (C.FieldName.empty()) C.FieldName = qvFieldNameFromDisplayLabel(DataSet, C.DisplayLabel);
    bool Value = C.MatchType == fdMatchStart || C.MatchType == fdMatchAny || C.MatchType == fdMatchExact;
    if (!Value && C.MatchType != fdMatchRange) continue;
    String F = P.UseBracketsAroundFields ? "[" + C.FieldName + "]" : C.FieldName;
    TField* Field = DataSet->FindField(C.FieldName);
    if (Field == nullptr) DatabaseError("Field Name not found in referenced tables. \r" + F);
    if (dynamic_cast<TBlobField*>(Field) || Field->Lookup() || Field->Calculated()) continue;
    TFieldType Type = Field->DataType();
    auto Invalid = [&](const String& Text) { DatabaseError("Invalid value for " + C.FieldName + ": " + Text); };
    auto Encode = [&](String& Text) {
      if (OnEncodeValue) OnEncodeValue(Type, F, Text);
    };
    std::vector<String> Own;
    if (Value) {
      String Joining = qvFindValueOperator(C.FilterValue, FOperators);
      bool Or = !Joining.empty() && AnsiSameText(Joining, FOperators.OrChar);
      bool Upper = P.UseLikeOperator && P.LikeSupportsUpperKeyword && !C.CaseSensitive && !IsNumberType(Type) &&
                   Type != ftDate && Type != ftTime && Type != ftDateTime && Type != ftTimeStamp;
      String Ref = Upper ? GetSQLUpperFunction() + "(" + F + ")" : F;
      String Clause;
      for (String Part : qvValueParts(C.FilterValue, Joining, FOperators)) {
        if (Upper) Part = AnsiUpperCase(Part);
        String Test;
        if (AnsiSameText(Part, FOperators.NullChar)) {
          Test = Ref + " is NULL";
        } else if (IsNumberType(Type)) {
          String Number;
          if (Type == ftBoolean) {
            String U = AnsiUpperCase(Trim(Part));
            Number = U == "TRUE" || U == "VRAI" || U == "1" || U == "-1" ? "1" : U == "FALSE" || U == "FAUX" || U == "0" ? "0" : "";
            if (Number.empty()) Invalid(Part);
          } else if (!FilterNumber(Part, Number)) {
            Invalid(Part);
          }
          Encode(Number);
          Test = Ref + "=" + Number;
        } else {
          String Wild = P.UseLikeOperator ? String(1, P.LikeWildcardChar) : String("*");
          if (C.MatchType == fdMatchStart) Part += Wild;
          else if (C.MatchType == fdMatchAny) Part = Wild + Part + Wild;
          Encode(Part);
          // A value that fills the field loses the wildcard it cannot use.
          if (auto* Str = dynamic_cast<TStringField*>(Field); Str && Str->Size() > 0 && int(Part.size()) > Str->Size())
            Part.resize(std::size_t(Str->Size()));
          String Quoted = QuoteSql(Part, '\'');
          if (C.MatchType == fdMatchExact) Test = Ref + "=" + Quoted;
          else if (P.UseLikeOperator) Test = Ref + " like " + Quoted;
          else if (C.MatchType == fdMatchAny) continue;
          else Test = Ref + "=" + Quoted;
        }
        Clause += (Clause.empty() ? "" : Or ? " or " : " and ") + Test;
      }
      if (Clause.empty()) continue;  // dropped: nothing of it is written, no connector either
      Own.push_back("(" + Clause + ")");
    } else {
      String Low = C.MinValue, High = C.MaxValue;
      bool Number = IsNumberType(Type);
      if (IsTextType(Type) && !High.empty()) High = PadUpperRange(Field->Size(), High);
      if (Number) {
        if (!Low.empty() && !FilterNumber(Low, Low)) Invalid(C.MinValue);
        if (!High.empty() && !FilterNumber(High, High)) Invalid(C.MaxValue);
      }
      if (!Low.empty()) Encode(Low);
      if (!High.empty()) Encode(High);
      auto Side = [&](const char* Op, const String& V) { return "(" + F + Op + (Number ? V : QuoteSql(V, '\'')) + ")"; };
      if (!Low.empty()) Own.push_back(Side(" >= ", Low));
      if (!High.empty()) {
        if (!Low.empty()) Own.push_back(" and");
        Own.push_back(Side(" <= ", High));
      }
      if (Own.empty()) continue;
    }
    // The connector joins a criterion to the last one written, so a dropped criterion never
    // leaves two criteria without one between them.
    bool First = Lines.empty();
    if (Value && C.NonMatching) Lines.push_back(First ? "  not" : "  and not");
    else if (!First) Lines.push_back(" and");
    Lines.insert(Lines.end(), Own.begin(), Own.end());
  }
  return Lines;
}

bool TqvFilterDialog::ApplyFilterProperty() {
  TDataSet* DataSet = GetPrimaryDataSet();
  if (DataSet == nullptr) return false;
  std::vector<String> Lines;
  try {
    Lines = BuildFilterText();
  } catch (const EDatabaseError& E) {
    // Nothing of the dataset is touched.
    Warn(E.Message);
    return false;
  }
  String Text;
  for (const String& Line : Lines) Text += " " + Line;
  FLastFilterText = Text;
  TCursor SavedCursor = Screen->Cursor();
  try {
    FInternalChange = true;
    TScopeGuard Done([&] { FInternalChange = false; });
    DataSet->Close();
    Screen->SetCursor(crHourGlass);
    DataSet->SetFiltered(false);
    DataSet->SetFilterText(Text);
    DataSet->SetFiltered(!Lines.empty() || !OnFilterPropertyOptions.Contains(fdClearWhenNoCriteria));
    if (FilterPropertyOptions.DatasetFilterType == fdUseBothFilterTypes) ClearFilterEvent(DataSet);
    DataSet->Open();
    Screen->SetCursor(SavedCursor);
  } catch (const Exception&) {
    Screen->SetCursor(SavedCursor);
    FInternalChange = true;
    TScopeGuard Done([&] { FInternalChange = false; });
    DataSet->Close();
    DataSet->SetFiltered(false);
    DataSet->SetFilterText(String());
    DataSet->Open();
    String Message = "Unable to Execute Filter:\r";
    for (const String& Line : Lines) Message += Line + "\r";
    Warn(Message);
    return false;
  }
  return true;
}

// --- Index ranges --------------------------------------------------------------------------------

namespace {

// A range end as a key of the index field.
Variant KeyValue(TField* Field, const String& Text) {
  double Number;
  TDateTime Moment;
  TFieldType Type = Field != nullptr ? Field->DataType() : ftString;
  if ((IsNumberType(Type) || Type == ftLargeint) && TryStrToFloat(Text, Number)) return Variant(Number);
  if ((Type == ftDate || Type == ftDateTime || Type == ftTimeStamp) && TryStrToDateTime(Text, Moment)) return Variant(Moment);
  return Variant(Text);
}

}  // namespace

void TqvFilterDialog::ApplyIndexRange(TqvTable* Table) {
  if (FRangeApplied) {
    FInternalChange = true;
    TScopeGuard Done([&] { FInternalChange = false; });
    Table->CancelSearchRange();
    FRangeApplied = false;
  }
  if (FilterOptimization == fdNone || Table->GetDataSource() != nullptr) return;
  // The range of a criterion on the active index's first field; false when it gives none.
  auto SetRangeFor = [&](const TqvFieldInfo& C) {
    TField* Field = Table->FindField(C.FieldName);
    int Size = Field != nullptr ? Field->Size() : 0;
    bool Text = Field != nullptr && IsTextType(Field->DataType());
    std::vector<Variant> Low, High;
    if (C.MatchType == fdMatchExact && !C.FilterValue.empty()) {
      Low = High = {KeyValue(Field, C.FilterValue)};
    } else if (C.MatchType == fdMatchStart && !C.FilterValue.empty() && Text) {
      Low = {Variant(C.FilterValue)};
      High = {Variant(PadUpperRange(Size, C.FilterValue))};
    } else if (C.MatchType == fdMatchRange && (!C.MinValue.empty() || !C.MaxValue.empty())) {
      if (!C.MinValue.empty()) Low = {KeyValue(Field, C.MinValue)};
      if (!C.MaxValue.empty()) High = {Text ? Variant(PadUpperRange(Size, C.MaxValue)) : KeyValue(Field, C.MaxValue)};
    } else {
      return false;
    }
    FInternalChange = true;
    TScopeGuard Done([&] { FInternalChange = false; });
    Table->SetRange(Low, High);
    FRangeApplied = true;
    return true;
  };
  auto Usable = [&](const TqvFieldInfo& C) {
    return !C.NonMatching && !C.FieldName.empty() &&
           (C.MatchType == fdMatchRange || qvFindValueOperator(C.FilterValue, FOperators).empty());
  };
  if (FilterOptimization == fdUseActiveIndex) {
    if (Table->IndexFieldCount() == 0) return;
    String First = Table->FirstIndexFieldName();
    for (const TqvFieldInfo& C : FieldInfos)
      if (Usable(C) && C.FieldName == First && SetRangeFor(C)) return;
    return;
  }
  for (const TqvFieldInfo& C : FieldInfos) {
    if (!Usable(C)) continue;
    bool CaseFirst = C.MatchType == fdMatchRange ? false : C.CaseSensitive;
    String Name = Table->IndexForFields(C.FieldName, CaseFirst);
    if (Name.empty()) Name = Table->IndexForFields(C.FieldName, !CaseFirst);
    if (Name.empty()) continue;
    {
      // The table opens again on its new index: that closing is not the operator's.
      FInternalChange = true;
      TScopeGuard Done([&] { FInternalChange = false; });
      Table->SwitchToIndex(Name);
    }
    if (SetRangeFor(C)) return;
  }
}

// --- Saved criteria ------------------------------------------------------------------------------

void TqvFilterDialog::SaveCriteria(const String& FileName) {
  TMemIniFile Ini(FileName);
  Ini.Clear();
  Ini.WriteInteger(CriteriaSection, "Format", CriteriaFormat);
  Ini.WriteInteger(CriteriaSection, "Count", int(FieldInfos.size()));
  for (std::size_t i = 0; i < FieldInfos.size(); ++i) {
    const TqvFieldInfo& C = FieldInfos[i];
    String Section = "Criterion" + IntToStr(int(i) + 1);
    Ini.WriteString(Section, "FieldName", EncodeValue(C.FieldName));
    Ini.WriteString(Section, "DisplayLabel", EncodeValue(C.DisplayLabel));
    Ini.WriteString(Section, "MatchType", MatchNames[C.MatchType]);
    Ini.WriteString(Section, "FilterValue", EncodeValue(C.FilterValue));
    Ini.WriteString(Section, "MinValue", EncodeValue(C.MinValue));
    Ini.WriteString(Section, "MaxValue", EncodeValue(C.MaxValue));
    Ini.WriteBool(Section, "CaseSensitive", C.CaseSensitive);
    Ini.WriteBool(Section, "NonMatching", C.NonMatching);
  }
  Ini.UpdateFile();
}

bool TqvFilterDialog::LoadCriteria(const String& FileName) {
  auto Refuse = [&](const String& Why) {
    MessageDlg("The saved search criteria of " + FileName + " cannot be read: " + Why + ".", mtError,
               TMsgDlgButtons{mbOK}, 0);
    return false;
  };
  if (!OsPort::FileExists(FileName)) return Refuse("the file does not exist");
  std::unique_ptr<TMemIniFile> Ini;
  try {
    Ini = std::make_unique<TMemIniFile>(FileName);
  } catch (const Exception& E) {
    return Refuse(E.Message);
  }
  if (Ini->ReadString(CriteriaSection, "Format", "") != IntToStr(CriteriaFormat)) return Refuse("it is not a criteria file");
  int Count;
  if (!TryStrToInt(Ini->ReadString(CriteriaSection, "Count", ""), Count) || Count < 0 || Count > 10000)
    return Refuse("the number of criteria is damaged");
  std::vector<TqvFieldInfo> Read;
  for (int i = 1; i <= Count; ++i) {
    String Section = "Criterion" + IntToStr(i);
    String Where = " (criterion " + IntToStr(i) + ")";
    if (!Ini->SectionExists(Section)) return Refuse("a criterion is missing" + Where);
    TqvFieldInfo C;
    struct {
      const char* Key;
      String* Value;
    } Texts[] = {{"FieldName", &C.FieldName}, {"DisplayLabel", &C.DisplayLabel}, {"FilterValue", &C.FilterValue},
                 {"MinValue", &C.MinValue},   {"MaxValue", &C.MaxValue}};
    for (auto& Text : Texts)
      if (!Ini->ValueExists(Section, Text.Key) || !DecodeValue(Ini->ReadString(Section, Text.Key, ""), *Text.Value))
        return Refuse(String("the value ") + Text.Key + " is damaged" + Where);
    if (C.FieldName.empty() && C.DisplayLabel.empty()) return Refuse("a criterion names no field" + Where);
    String Match = Ini->ReadString(Section, "MatchType", "");
    int Type = -1;
    for (int t = 0; t <= fdMatchNone; ++t)
      if (Match == MatchNames[t]) Type = t;
    if (Type < 0 || Type == fdMatchNone) return Refuse("the match type is damaged" + Where);
    C.MatchType = TqvFilterMatchType(Type);
    for (auto [Key, Flag] : {std::pair<const char*, bool*>{"CaseSensitive", &C.CaseSensitive}, {"NonMatching", &C.NonMatching}}) {
      String Text = Ini->ReadString(Section, Key, "");
      if (Text != "0" && Text != "1") return Refuse(String("the flag ") + Key + " is damaged" + Where);
      *Flag = Text == "1";
    }
    Read.push_back(C);
  }
  FieldInfos = std::move(Read);
  return true;
}

namespace {

// Navigators open the dialog by class name.
struct TFilterDialogRegistration {
  TFilterDialogRegistration() { RegisterClass(TqvFilterDialog::StaticClass()); }
} FilterDialogRegistration;

}  // namespace
