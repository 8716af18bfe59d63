// This file implements the engine datasets over SQLite.
#include "DBTables.h"

#include "DataSet.h"
#include "SqliteSession.h"
#include "SqliteStatement.h"
#include "Strings.h"
#include "Table.h"

struct TDBDataSet::TEngineFilter {
  int Handle;
  std::unique_ptr<TFilterDescriptor> Descriptor;
  TRecordFilterCallback Callback = nullptr;
  void* ClientData = nullptr;
};

// --- TDBDataSet ----------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TDBDataSet)
VELBOR_PUBLISHED(TDBDataSet, Prop("DatabaseName", &Self::DatabaseName, &Self::SetDatabaseName))

TDBDataSet::TDBDataSet(TComponent* AOwner) : TCustomADODataSet(AOwner) {}

TDBDataSet::~TDBDataSet() {
  Destroying();
  Close();
}

void TDBDataSet::SetDatabaseName(const String& Value) {
  if (FDatabaseName == Value) return;
  if (!ComponentState().Contains(csLoading)) Close();
  FDatabaseName = Value;
  SetConnectionString(Value.empty() ? String() : "Data Source=" + Value);
}

int TDBDataSet::AddFilter(std::vector<std::uint8_t> Descriptor) {
  auto Filter = std::make_unique<TEngineFilter>();
  Filter->Descriptor = std::make_unique<TFilterDescriptor>(std::move(Descriptor));
  Filter->Handle = FNextHandle++;
  int Handle = Filter->Handle;
  FFilters.push_back(std::move(Filter));
  InstallFilterHandler();
  return Handle;
}

int TDBDataSet::AddFilter(TRecordFilterCallback Callback, void* ClientData) {
  auto Filter = std::make_unique<TEngineFilter>();
  Filter->Callback = Callback;
  Filter->ClientData = ClientData;
  Filter->Handle = FNextHandle++;
  int Handle = Filter->Handle;
  FFilters.push_back(std::move(Filter));
  InstallFilterHandler();
  return Handle;
}

void TDBDataSet::DropFilter(int Handle) {
  for (std::size_t i = 0; i < FFilters.size(); ++i) {
    if (FFilters[i]->Handle != Handle) continue;
    FFilters.erase(FFilters.begin() + std::ptrdiff_t(i));
    InstallFilterHandler();
    return;
  }
}

// The dataset's own handler stands in the record filter while it has engine filters; the
// operator's OnFilterRecord is called from it.
void TDBDataSet::InstallFilterHandler() {
  bool Engine = !FFilters.empty();
  TFilterRecordEvent Handler = Engine ? TFilterRecordEvent(this, &TDBDataSet::EngineFilterRecord) : FUserFilter;
  TCustomADODataSet::SetOnFilterRecord(Handler);
  TCustomADODataSet::SetFiltered(Engine || FUserFiltered);
  RefreshFilters();
}

void TDBDataSet::SetFiltered(bool Value) {
  FUserFiltered = Value;
  TCustomADODataSet::SetFiltered(Value || !FFilters.empty());
}

void TDBDataSet::RefreshFilters() {
  if (Active()) First();
}

void TDBDataSet::SetOnFilterRecord(TFilterRecordEvent Value) {
  FUserFilter = Value;
  if (FFilters.empty()) TCustomADODataSet::SetOnFilterRecord(Value);
}

void TDBDataSet::EngineFilterRecord(TDataSet* DataSet, bool& Accept) {
  // A filter may add or drop filters (a callback turning itself off): the list is walked by index.
  for (std::size_t i = 0; i < FFilters.size(); ++i) {
    TEngineFilter& Filter = *FFilters[i];
    Accept = Filter.Descriptor ? Filter.Descriptor->Accept(*DataSet) : Filter.Callback(Filter.ClientData, DataSet);
    if (!Accept) return;
  }
  if (FUserFilter) FUserFilter(DataSet, Accept);
}

// --- TQuery --------------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TQuery)
VELBOR_PUBLISHED(TQuery, Prop("SQL", &Self::SQL, &Self::SetSQL))

TQuery::TQuery(TComponent* AOwner) : TDBDataSet(AOwner), FSQL(std::make_unique<TStringList>()) {
  FSQL->OnChange = TNotifyEvent(this, &TQuery::SQLChanged);
}

TQuery::~TQuery() {
  Destroying();
  Close();
}

TStrings* TQuery::SQL() const { return FSQL.get(); }

void TQuery::SetSQL(TStrings* Value) { FSQL->Assign(Value); }

void TQuery::SQLChanged(TObject*) { SetCommandText(FSQL->Text()); }

int TQuery::ExecSQL() {
  CheckInactive();
  SqliteStatement Statement = OpenSession().Prepare(CommandText());
  BindStatementParameters(Statement, Parameters());
  return Statement.Execute();
}

// --- TStoredProc ---------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TStoredProc)
VELBOR_PUBLISHED(TStoredProc, Prop("StoredProcName", &Self::StoredProcName, &Self::SetStoredProcName))

TStoredProc::TStoredProc(TComponent* AOwner) : TDBDataSet(AOwner) {}

TStoredProc::~TStoredProc() {
  Destroying();
  Close();
}

void TStoredProc::SetStoredProcName(const String& Value) {
  if (FStoredProcName == Value) return;
  if (!ComponentState().Contains(csLoading)) Close();
  FStoredProcName = Value;
}

void TStoredProc::NotAvailable() {
  DatabaseError("Stored procedure " + FStoredProcName + " not available: the database keeps no stored procedures",
                this);
}

void TStoredProc::ExecProc() { NotAvailable(); }

void TStoredProc::InternalOpen() { NotAvailable(); }

namespace {

// Form descriptions create these by class name.
struct TDBTablesRegistration {
  TDBTablesRegistration() {
    for (TClass Class : {TTable::StaticClass(), TQuery::StaticClass(), TStoredProc::StaticClass()}) RegisterClass(Class);
  }
} DBTablesRegistration;

}  // namespace
