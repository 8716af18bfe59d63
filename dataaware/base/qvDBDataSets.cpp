// This file implements the library's four dataset classes and the part they share.
#include "qvDBDataSets.h"

#include "Controls.h"
#include "DateTimeFormat.h"
#include "FloatFormat.h"
#include "Dialogs.h"
#include "Field.h"
#include "Forms.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "TextOrder.h"
#include "Qvtypes.h"
#include "qvFieldSettings.h"
#include "qvFilterParser.h"
#include "qvStrUtils.h"

namespace {
// The first name of a ";"-separated list.
String FirstOf(const String& Fields) { return Trim(Fields.substr(0, Fields.find(';'))); }

bool IsNameChar(char C) {
  return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || (C >= '0' && C <= '9') || C == '#' || C == '_';
}
}  // namespace

// --- The shared part -----------------------------------------------------------------------------

TqvDataSetParts::TqvDataSetParts(TDBDataSet* DataSet)
    : ControlType(std::make_unique<TStringList>()),
      LookupFields(std::make_unique<TStringList>()),
      LookupLinks(std::make_unique<TStringList>()),
      PictureMasks(std::make_unique<TStringList>()),
      FilterParam(nullptr),
      FDataSet(DataSet) {}

TqvDataSetParts::~TqvDataSetParts() = default;

bool TqvDataSetParts::FilterCallback(void* ClientData, TDataSet* DataSet) {
  auto* Parts = static_cast<TqvDataSetParts*>(ClientData);
  if (DataSet->ComponentState().Contains(csDestroying) || !Parts->OnFilter || Parts->InFilterEvent ||
      !Parts->OnFilterOptions.Contains(ofoEnabled))
    return true;
  bool Accept = true;
  {
    Parts->InFilterEvent = true;
    Parts->FInCallback = true;
    TScopeGuard Leave([&] {
      Parts->InFilterEvent = false;
      Parts->FInCallback = false;
    });
    Parts->OnFilter(DataSet, Accept);
    if (!Accept && Parts->OnFilterOptions.Contains(ofoShowHourGlass) && !Parts->ProcessingOnFilter) {
      Parts->FSavedCursor = Screen->Cursor();
      if (Parts->FSavedCursor != crHourGlass) Screen->SetCursor(crHourGlass);
      Parts->ProcessingOnFilter = true;
    }
    if (Parts->OnFilterOptions.Contains(ofoCancelOnEscape)) {
      Parts->CallCount = Parts->CallCount >= 31999 ? 0 : Parts->CallCount + 1;
      // The probe takes an Escape key-down and turns the filter off through OnFilterOptions;
      // every other keystroke stays queued.
      if (Parts->CallCount % 100 == 0 && qvFilterEscapePressed(DataSet)) {
        Accept = true;
        if (Parts->OnFilterEscape) Parts->OnFilterEscape(DataSet);
      }
    }
  }
  return Accept;
}

bool TqvDataSetParts::InstallCallback() {
  if (!OnFilter) {
    DropCallback();
    return true;
  }
  qvSetFilterCallback(&TqvDataSetParts::FilterCallback, FDataSet, this, CallbackFilterHandle);
  return CallbackFilterHandle != 0;
}

void TqvDataSetParts::DropCallback() { qvDropTableFilter(FDataSet, CallbackFilterHandle); }

void TqvDataSetParts::SetOnFilter(TFilterRecordEvent Value, bool Active, const String& RefusalMessage) {
  OnFilter = Value;
  if (!Value) DropCallback();
  else if (Active && !InstallCallback()) MessageDlg(RefusalMessage, mtWarning, TMsgDlgButtons{mbOK}, 0);
}

void TqvDataSetParts::SetFilterOptions(TqvOnFilterOptions Value) {
  bool Disabling = OnFilterOptions.Contains(ofoEnabled) && !Value.Contains(ofoEnabled);
  OnFilterOptions = Value;
  // Inside a read the dataset cannot be read again: the records already hidden come back at the
  // next read, and the callback accepts every later one of this read.
  if (Disabling && !FInCallback && FDataSet->Active() && OnFilter) FDataSet->RefreshFilters();
}

void TqvDataSetParts::RestoreFilterCursor() {
  if (!ProcessingOnFilter || FInCallback) return;
  ProcessingOnFilter = false;
  if (OnFilterOptions.Contains(ofoShowHourGlass) && Screen->Cursor() != FSavedCursor) Screen->SetCursor(FSavedCursor);
}

void TqvDataSetParts::CalcFields() {
  qvPurgeFieldLists(FDataSet, LookupFields.get(), LookupLinks.get(), ControlType.get());
  qvCalcLookupFields(FDataSet, LookupFields.get(), LookupLinks.get(), LookupTables);
}

void TqvDataSetParts::CheckMasks() {
  if (ValidateWithMask) qvValidateDataSetPictures(FDataSet, OnInvalidValue);
}

TParam* TqvDataSetParts::GetFilterFieldParam(const String& FieldName) {
  TField* Field = FDataSet->FindField(FieldName);
  if (Field == nullptr) DatabaseError("Champ '"_a + FieldName + "' non trouvé"_a, FDataSet);
  FilterParam.Clear();
  if (Field->Calculated() || Field->Lookup()) {
    TField* Resolved = qvResolveLookupValue(FDataSet, Field, TqvParamCallback(this, &TqvDataSetParts::GetFilterFieldParam));
    if (Resolved == nullptr) {
      // No lookup record: the field's own value in the record under test.
      qvFieldToParamData(Field, &FilterParam);
      return &FilterParam;
    }
    Field = Resolved;
  }
  TFieldType Type = Field->DataType();
  if (Type == ftMemo || Type == ftFmtMemo || Type == ftBlob || dynamic_cast<TMemoField*>(Field)) {
    String Text = Field->AsString();
    std::size_t Limit = std::size_t(std::max(qvFilterMemoSize() - 1, 0));
    if (Text.size() > Limit) Text.resize(Limit);
    FilterParam.SetAsString(Text);
    return &FilterParam;
  }
  if (Field->IsNull()) {
    FilterParam.SetDataType(Type == ftAutoInc ? ftInteger : Type);
    return &FilterParam;
  }
  if (Type == ftAutoInc) {
    FilterParam.SetAsInteger(Field->AsInteger());
    return &FilterParam;
  }
  qvFieldToParamData(Field, &FilterParam);
  return &FilterParam;
}

void TqvDataSetParts::FreeLookupTables() {
  TqvLookupTableList Tables;
  Tables.swap(LookupTables);
  for (IqvLookupTable* Table : Tables) delete Table->LookupDataSet();
}

// The overrides every class makes alike.
#define QV_DATASET_SETTINGS_IMPL(Cls, Base)                                   \
  void Cls::DataEvent(TDataEvent Event, intptr_t Info) {                      \
    Base::DataEvent(Event, Info);                                             \
    FParts.RestoreFilterCursor();                                             \
  }                                                                           \
  void Cls::DoOnCalcFields() {                                                \
    FParts.CalcFields();                                                      \
    Base::DoOnCalcFields();                                                   \
  }                                                                           \
  void Cls::DoBeforePost() {                                                  \
    Base::DoBeforePost();                                                     \
    FParts.CheckMasks();                                                      \
  }

#define QV_DATASET_PUBLISHED                                                       \
  Prop("ControlType", &Self::ControlType, &Self::SetControlType),                  \
  Prop("LookupFields", &Self::LookupFields, &Self::SetLookupFields),               \
  Prop("LookupLinks", &Self::LookupLinks, &Self::SetLookupLinks),                  \
  Prop("PictureMasks", &Self::PictureMasks, &Self::SetPictureMasks),               \
  Prop("ValidateWithMask", &Self::ValidateWithMask, &Self::SetValidateWithMask),   \
  Prop("OnInvalidValue", &Self::OnInvalidValue, &Self::SetOnInvalidValue),         \
  Prop("OnFilter", &Self::OnFilter, &Self::SetOnFilter),                           \
  Prop("OnFilterEscape", &Self::OnFilterEscape, &Self::SetOnFilterEscape),         \
  Prop("OnFilterOptions", &Self::OnFilterOptions, &Self::SetOnFilterOptions)

// --- TqvTable ------------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TqvTable)
VELBOR_PUBLISHED(TqvTable, QV_DATASET_PUBLISHED,
  Prop("qvFilter", &Self::qvFilter, &Self::SetqvFilter),
  Prop("Query", &Self::Query, &Self::SetQuery),
  Prop("TableName", &Self::TableName, &Self::SetTableName),
  Prop("SyncSQLByRange", &Self::SyncSQLByRange),
  Prop("NarrowSearch", &Self::NarrowSearch))
QV_DATASET_SETTINGS_IMPL(TqvTable, TTable)

TqvTable::TqvTable(TComponent* AOwner)
    : TTable(AOwner), FFilterLines(std::make_unique<TStringList>()), FQuery(std::make_unique<TStringList>()) {
  FFilterLines->OnChange = TNotifyEvent(this, &TqvTable::FilterLinesChanged);
  FQuery->OnChange = TNotifyEvent(this, &TqvTable::QueryLinesChanged);
}

TqvTable::~TqvTable() {
  if (OnDestroy) OnDestroy(this);
  Destroying();
  Close();
}

void TqvTable::SetOnFilter(TFilterRecordEvent Value) {
  FParts.OnFilter = Value;
  FParts.InstallCallback();
}

void TqvTable::SetqvFilter(TStrings* Value) { FFilterLines->Assign(Value); }

void TqvTable::FilterLinesChanged(TObject*) {
  if (!Active()) return;
  if (!ApplyFilterText(false))
    MessageDlg("Fail to set filter", mtWarning, TMsgDlgButtons{mbOK}, 0);
}

String TqvTable::GetFilterText() const {
  String Text;
  bool First = true;
  for (int i = 0; i < FFilterLines->Count(); ++i) {
    String Line = FFilterLines->Strings(i);
    qvTrimRightChars(Line, qvCharSet(" \t"));
    if (Line.empty()) continue;
    Text += First ? Line : " AND (" + Line + ")";
    First = false;
  }
  return Text;
}

bool TqvTable::ApplyFilterText(bool Force) {
  bool Applied = qvApplyTableFilter(GetFilterText(), this, FTextFilterHandle, Force);
  if (FParts.OnFilter) FParts.InstallCallback();
  return Applied;
}

void TqvTable::SetQuery(TStrings* Value) {
  Close();
  if (Value != nullptr && !Trim(Value->Text()).empty()) {
    TTable::SetTableName(String());
    TTable::SetIndexName(String());
    SetIndexFieldNames(String());
    SetDataSource(nullptr);
    SetMasterFields(String());
  }
  if (Value != nullptr) FQuery->Assign(Value);
  else FQuery->Clear();
}

// The parameters are those the SQL lines name (":DEP"), their values kept by name; with a master
// source, each takes the value of the master's field of its name whenever the master moves, so
// the table can be the detail of another dataset. A table read by name has none.
void TqvTable::QueryLinesChanged(TObject*) {
  if (!ParamCheck) return;
  if (QueryType() == "SQL") Parameters()->ParseSQL(StatementText());
  else Parameters()->Clear();
}

String TqvTable::QueryType() const {
  if (FQuery->Count() == 0) return String();
  String First = Trim(FQuery->Strings(0));
  std::size_t End = First.find_first_of(" \t");
  return AnsiSameText(First.substr(0, End), "query") ? "QBE" : "SQL";
}

void TqvTable::SetTableName(const String& Value) {
  if (!Value.empty() && FQuery->Count() > 0) {
    Close();
    FQuery->Clear();
  }
  TTable::SetTableName(Value);
}

String TqvTable::StatementText() const {
  if (FQuery->Count() == 0) return TTable::StatementText();
  String Sql;
  for (int i = 0; i < FQuery->Count(); ++i) Sql += (Sql.empty() ? "" : " ") + FQuery->Strings(i);
  return Sql;
}

void TqvTable::InternalOpen() {
  if (QueryType() == "QBE")
    DatabaseError("Query-by-example texts are not available: the database reads SQL only", this);
  TTable::InternalOpen();
  // The cursor is prepared: the expression and the callback join it.
  FPreparing = true;
  TScopeGuard Prepared([&] { FPreparing = false; });
  if (!GetFilterText().empty() || FParts.OnFilter) ApplyFilterText(true);
}

void TqvTable::InternalClose() {
  FParts.FreeLookupTables();
  TTable::InternalClose();
}

bool TqvTable::IsSequenced() { return !FParts.OnFilter && GetFilterText().empty() && TTable::IsSequenced(); }

// --- TqvTable: indexes and searches --------------------------------------------------------------

void TqvTable::RefreshIndexDefs() {
  const std::vector<TIndexDef>& Defs = IndexDefs();
  if (Defs.empty()) UpdateIndexDefs();
}

String TqvTable::IndexFieldsOf(const String& Name) {
  String Wanted = Name.empty() ? String("PrimaryKey") : Name;
  for (const TIndexDef& Def : IndexDefs())
    if (AnsiSameText(Def.Name, Wanted)) return Def.Fields;
  return String();
}

bool TqvTable::FindIndex(const String& Fields, bool CaseSensitive, bool Exact, String& Name) {
  String Wanted = AnsiUpperCase(Fields);
  for (const TIndexDef& Def : IndexDefs()) {
    String Have = AnsiUpperCase(Def.Fields);
    if (Have.compare(0, Wanted.size(), Wanted) != 0) continue;
    if (Have.size() > Wanted.size() && Have[Wanted.size()] != ';') continue;
    if (Exact && Have.size() != Wanted.size()) continue;
    if (Def.CaseInsensitive == CaseSensitive) continue;
    Name = Def.Name;
    return true;
  }
  return false;
}

String TqvTable::IndexForFields(const String& Fields, bool CaseSensitive) {
  String Name;
  if (FindIndex(Fields, CaseSensitive, true, Name) || FindIndex(Fields, CaseSensitive, false, Name)) return Name;
  return String();
}

String TqvTable::IndexForFieldsAnyCase(const String& Fields) {
  String Name;
  for (bool Exact : {true, false})
    for (bool CaseSensitive : {false, true})
      if (FindIndex(Fields, CaseSensitive, Exact, Name)) return Name;
  return String();
}

String TqvTable::FirstIndexFieldName() {
  String Fields = IndexFieldNames().empty() ? IndexFields() : IndexFieldNames();
  return FirstOf(Fields);
}

bool TqvTable::SelectIndexForFields(const String& Fields) {
  if (Fields.empty() || FQuery->Count() > 0) return false;
  UpdateIndexDefs();
  if (GetDataSource() == nullptr && AnsiSameText(FirstIndexFieldName(), Fields)) return true;
  String Wanted = Fields;
  if (GetDataSource() != nullptr && !IgnoreMasterLink) {
    // A detail table keeps its master fields in front of the searched one.
    std::size_t Masters = 1;
    for (char C : MasterFields()) Masters += C == ';';
    String Own = IndexFields(), Prefix;
    std::size_t Start = 0;
    for (std::size_t i = 0; i < Masters && Start <= Own.size(); ++i) {
      std::size_t Semi = Own.find(';', Start);
      if (Semi == String::npos) Semi = Own.size();
      Prefix += Own.substr(Start, Semi - Start) + ";";
      Start = Semi + 1;
    }
    Wanted = Prefix + FirstOf(Fields);
  }
  String Name = IndexForFieldsAnyCase(Wanted);
  if (Name.empty()) return false;
  if (!AnsiSameText(Name, TTable::IndexName())) SwitchToIndex(Name);
  return true;
}

void TqvTable::SetIndexFromSelected(TStrings* Lines) {
  if (Lines == nullptr || Lines->Count() == 0) return;
  String Line = Lines->Strings(0);
  SelectIndexForFields(Line.substr(0, Line.find('\t')));
}

void TqvTable::SwitchToIndex(const String& Name) {
  for (const TIndexDef& Def : IndexDefs())
    if (AnsiSameText(Def.Name, Name)) qvSwitchTableIndex(this, Def.Name);
}

void TqvTable::SetRangeStartOnly(const std::vector<Variant>& Values) {
  CheckBrowseMode();
  SetRange(Values, {});
}

void TqvTable::CancelSearchRange() { CancelRange(); }

bool TqvTable::FindKey(const std::vector<String>& Values) {
  if (TTable::IndexFieldCount() == 0) return false;
  if (int(Values.size()) > TTable::IndexFieldCount()) {
    MessageDlg("Table " + Name() + ": FindKey has too many lookup values for index " + TTable::IndexName(), mtWarning,
               TMsgDlgButtons{mbOK}, 0);
    return false;
  }
  if (NarrowSearch) CancelRange();
  // The current record may already hold the values.
  if (!IsEmpty()) {
    bool Holds = true;
    for (std::size_t i = 0; i < Values.size() && Holds; ++i)
      Holds = AnsiSameText(IndexField(int(i))->AsString(), Values[i]) && IndexField(int(i))->AsString().size() == Values[i].size();
    if (Holds) return true;
  }
  std::vector<Variant> Keys;
  for (std::size_t i = 0; i < Values.size(); ++i) {
    TField* Field = IndexField(int(i));
    Variant Key(Values[i]);
    double Number;
    TDateTime Moment;
    TFieldType Type = Field->DataType();
    if ((qvIsNumericFieldType(Type) || Type == ftBCD || Type == ftLargeint) && TryStrToFloat(Values[i], Number))
      Key = Variant(Number);
    else if ((Type == ftDate || Type == ftDateTime || Type == ftTimeStamp) && TryStrToDateTime(Values[i], Moment))
      Key = Variant(Moment);
    Keys.push_back(Key);
  }
  return TTable::FindKey(Keys);
}

void TqvTable::SetReadOnly(bool Value) {
  if (Active()) return;
  SetLockType(Value ? ltReadOnly : ltOptimistic);
}

const char* const LiveQueryFilterRefusal =
    "Local filtering is not supported on a Live-Query which contains a Where clause in the SQL string. "
    "To perform a local filter on this query, you will need to set its RequestLive property to False.";

// --- TqvQuery ------------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TqvQuery)
VELBOR_PUBLISHED(TqvQuery, QV_DATASET_PUBLISHED)
QV_DATASET_SETTINGS_IMPL(TqvQuery, TQuery)

TqvQuery::TqvQuery(TComponent* AOwner) : TQuery(AOwner) {}

TqvQuery::~TqvQuery() {
  Destroying();
  Close();
}

bool TqvQuery::IsSequenced() { return !FParts.OnFilter && TQuery::IsSequenced(); }

void TqvQuery::SetOnFilter(TFilterRecordEvent Value) {
  FParts.SetOnFilter(Value, Active(), LiveQueryFilterRefusal);
}

void TqvQuery::DoAfterOpen() {
  // An alias the engine does not know is reported by qvPrepareAnswerTable itself.
  if (!AnswerTable.empty() && !qvPrepareAnswerTable(this, nullptr, AnswerTable) && AnswerTable[0] != ':')
    MessageDlg("Answer table " + AnswerTable + " not made: the database keeps no answer tables", mtWarning,
               TMsgDlgButtons{mbOK}, 0);
  TQuery::DoAfterOpen();
  if (FParts.OnFilter) FParts.InstallCallback();
}

// --- TqvStoredProc -------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TqvStoredProc)
VELBOR_PUBLISHED(TqvStoredProc, QV_DATASET_PUBLISHED)
QV_DATASET_SETTINGS_IMPL(TqvStoredProc, TStoredProc)

TqvStoredProc::TqvStoredProc(TComponent* AOwner) : TStoredProc(AOwner) {}

TqvStoredProc::~TqvStoredProc() {
  Destroying();
  Close();
}

bool TqvStoredProc::IsSequenced() { return !FParts.OnFilter && TStoredProc::IsSequenced(); }

void TqvStoredProc::SetOnFilter(TFilterRecordEvent Value) {
  FParts.SetOnFilter(Value, Active(), LiveQueryFilterRefusal);
}

void TqvStoredProc::DoAfterOpen() {
  TStoredProc::DoAfterOpen();
  if (FParts.OnFilter) FParts.InstallCallback();
}

// --- TqvQBE --------------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TqvQBE)
VELBOR_PUBLISHED(TqvQBE, QV_DATASET_PUBLISHED,
  Prop("QBE", &Self::QBE, &Self::SetQBE),
  Prop("AnswerTable", &Self::AnswerTable),
  Prop("AuxiliaryTables", &Self::AuxiliaryTables).Default(true),
  Prop("BlankAsZero", &Self::BlankAsZero).Default(true),
  Prop("OnError", &Self::OnError))
QV_DATASET_SETTINGS_IMPL(TqvQBE, TDBDataSet)

TqvQBE::TqvQBE(TComponent* AOwner) : TDBDataSet(AOwner), FQBE(std::make_unique<TStringList>()) {}

TqvQBE::~TqvQBE() {
  Destroying();
  Close();
}

bool TqvQBE::IsSequenced() { return !FParts.OnFilter && TDBDataSet::IsSequenced(); }

void TqvQBE::SetOnFilter(TFilterRecordEvent Value) {
  FParts.SetOnFilter(Value, Active(), "Local Filtering is not supported on this QBE.");
}

void TqvQBE::SetQBE(TStrings* Value) {
  bool Reopen = Active();
  Close();
  FQBE->Assign(Value);
  if (Reopen) Open();
}

String TqvQBE::QBEText() const {
  String Text;
  for (int i = 0; i < FQBE->Count(); ++i) {
    String Line = FQBE->Strings(i), Out;
    for (std::size_t j = 0; j < Line.size(); ++j) {
      if (Line[j] != '~') {
        Out += Line[j];
        continue;
      }
      // "~name": the variable and its name become one blank.
      std::size_t k = j + 1;
      while (k < Line.size() && (IsNameChar(Line[k]))) ++k;
      if (k == j + 1) {
        Out += Line[j];
        continue;
      }
      Out += ' ';
      j = k - 1;
    }
    Text += (i ? "\r\n" : "") + Out;
  }
  return Text;
}

void TqvQBE::InternalOpen() {
  if (FQBE->Count() == 0 || Trim(FQBE->Strings(0)).empty())
    DatabaseError("No QBE text: the dataset has no answer", this);
  if (OnError) OnError(this, ErrNotAvailable);
  DatabaseError("Query-by-example texts are not available: the database reads SQL only", this);
}

void TqvQBE::DoAfterOpen() {
  TDBDataSet::DoAfterOpen();
  if (FParts.OnFilter) FParts.InstallCallback();
}

namespace {

// Form descriptions and the lookup tables create these by class name.
struct TqvDataSetRegistration {
  TqvDataSetRegistration() {
    for (TClass Class : {TqvTable::StaticClass(), TqvQuery::StaticClass(), TqvStoredProc::StaticClass(),
                         TqvQBE::StaticClass()})
      RegisterClass(Class);
  }
} DataSetRegistration;

}  // namespace
