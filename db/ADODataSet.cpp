// This file implements TCustomADODataSet's static cursor: opening (the statement run once, its
// columns described, its rows read into memory as they are needed), the buffer protocol over the
// rows, field values, blob streams, bookmarks, record numbers, filters, the searches done in
// memory, and the master link that re-selects the rows when the master moves.
#include <algorithm>
#include <array>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <functional>

#include "ADODB.h"
#include "ADOCellCodec.h"
#include "ADOStore.h"
#include "Field.h"
#include "FieldDefs.h"
#include "ScopeGuard.h"
#include "SqliteSession.h"
#include "Streams.h"
#include "StrUtils.h"
#include "TextOrder.h"

// --- The master link ----------------------------------------------------------------------------

// The detail's link to its master data source: any move of the master, or a change of a field
// that feeds a parameter, asks the dataset to refresh its parameters.
class TAdoMasterLink : public TDetailDataLink {
 public:
  explicit TAdoMasterLink(TCustomADODataSet* ADataSet) : FDataSet(ADataSet) {}

 protected:
  void ActiveChanged() override {
    if (!FDataSet->Active() || FDataSet->ComponentState().Contains(csDestroying)) return;
    if (Active())
      FDataSet->MasterChanged(this);
    else
      FDataSet->MasterDisabled(this);
  }
  void LayoutChanged() override { ActiveChanged(); }
  void RecordChanged(TField* Field) override {
    if (!FDataSet->Active() || DataSource()->State() == dsSetKey) return;
    if (Field != nullptr && !FDataSet->IsMasterField(Field)) return;
    FDataSet->MasterChanged(this);
  }
  TDataSet* GetDetailDataSet() override { return FDataSet; }

 private:
  TCustomADODataSet* FDataSet;
};

namespace {

const std::vector<String> kNoBlobs;

TAdoRecInfo* InfoOf(char* Buffer, std::size_t Offset) { return reinterpret_cast<TAdoRecInfo*>(Buffer + Offset); }

// The field type and size of a declared column type; ftUnknown for an expression.
TFieldType DeclaredFieldType(const String& Declared, int& Size) {
  Size = 0;
  String Upper = UpperCase(Trim(Declared));
  switch (ColumnKindOf(Declared)) {
    case TSqliteColumnKind::Unknown:
      return ftUnknown;
    case TSqliteColumnKind::Text:
      Size = TextSizeOf(Declared);
      if (Size == 0) return ftMemo;
      // NVARCHAR, NCHAR: wide text, as the old engine's Unicode columns.
      return Upper[0] == 'N' ? ftWideString : ftString;
    case TSqliteColumnKind::Integer:
      if (Upper.find("BIGINT") != String::npos || Upper.find("INT64") != String::npos) return ftLargeint;
      if (Upper.find("SMALLINT") != String::npos) return ftSmallint;
      return ftInteger;
    case TSqliteColumnKind::Boolean:
      return ftBoolean;
    case TSqliteColumnKind::Date:
      if (Upper == "DATE") return ftDate;
      if (Upper == "TIME") return ftTime;
      return ftDateTime;
    case TSqliteColumnKind::Blob:
      if (Upper.find("IMAGE") != String::npos || Upper.find("GRAPHIC") != String::npos ||
          Upper.find("PICTURE") != String::npos)
        return ftGraphic;
      return ftBlob;
    case TSqliteColumnKind::Float:
      return ftFloat;
  }
  return ftUnknown;
}

// The columns of the statement's result, typed from their declarations (expressions are typed
// from their values when the rows are read).
void DescribeColumns(const SqliteStatement& Statement, TAdoCursor& Cursor) {
  for (int i = 0; i < Statement.ColumnCount(); ++i) {
    TAdoColumn Column;
    Column.Name = Statement.ColumnName(i);
    Column.DeclaredType = Statement.ColumnDeclType(i);
    Column.StatementIndex = i;
    Column.Type = DeclaredFieldType(Column.DeclaredType, Column.Size);
    Cursor.Columns.push_back(std::move(Column));
  }
}

// The text order's equality is equality after this folding (TextOrder.h): a case-insensitive
// search compares folded bytes.
const std::array<unsigned char, 256>& FoldTable() {
  static const std::array<unsigned char, 256> Table = [] {
    std::array<unsigned char, 256> T{};
    for (int i = 0; i < 256; ++i) T[std::size_t(i)] = static_cast<unsigned char>(AnsiLowerChar(char(i)));
    return T;
  }();
  return Table;
}

bool TextKeyMatches(const char* Value, std::size_t Length, const String& Key, TLocateOptions Options) {
  if (Options.Contains(loPartialKey)) {
    if (Length < Key.size()) return false;
    Length = Key.size();
  } else if (Length != Key.size()) {
    return false;
  }
  if (!Options.Contains(loCaseInsensitive)) return std::memcmp(Value, Key.data(), Length) == 0;
  const auto& Fold = FoldTable();
  for (std::size_t i = 0; i < Length; ++i)
    if (Fold[static_cast<unsigned char>(Value[i])] != Fold[static_cast<unsigned char>(Key[i])]) return false;
  return true;
}

}  // namespace

// --- Construction --------------------------------------------------------------------------------

TCustomADODataSet::TCustomADODataSet(TComponent* AOwner) : TDataSet(AOwner) {
  FParameters = new TParameters(this);
  FMasterLink = new TAdoMasterLink(this);
}

TCustomADODataSet::~TCustomADODataSet() {
  Destroying();
  Close();
  delete FMasterLink;
  FMasterLink = nullptr;
  if (FConnection != nullptr) FConnection->RemoveDataSet(this);
  delete FParameters;
}

// --- Properties -------------------------------------------------------------------------------------

void TCustomADODataSet::SetConnection(TADOConnection* Value) {
  if (FConnection == Value) return;
  if (!FComponentState.Contains(csLoading)) Close();
  if (FConnection != nullptr) {
    FConnection->RemoveDataSet(this);
    FConnection->RemoveFreeNotification(this);
  }
  FConnection = Value;
  if (FConnection != nullptr) {
    FConnection->AddDataSet(this);
    FConnection->FreeNotification(this);
  }
}

void TCustomADODataSet::Notification(TComponent* AComponent, TOperation Operation) {
  TDataSet::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FConnection) {
    // The connection closes its datasets before it goes.
    FConnection = nullptr;
  }
}

void TCustomADODataSet::SetConnectionString(const String& Value) {
  if (FConnectionString == Value) return;
  Close();
  FConnectionString = Value;
  FOwnConnection.reset();
}

void TCustomADODataSet::SetLockType(TADOLockType Value) {
  if (FLockType == Value) return;
  CheckInactive();
  FLockType = Value;
}

void TCustomADODataSet::SetParameters(TParameters* Value) { FParameters->Assign(Value); }

TDataSource* TCustomADODataSet::GetDataSource() { return FMasterLink ? FMasterLink->DataSource() : nullptr; }

void TCustomADODataSet::SetDataSource(TDataSource* Value) {
  if (Value != nullptr && IsLinkedTo(Value)) DatabaseError(DBConsts::SCircularDataLink, this);
  FMasterLink->SetDataSource(Value);
}

void TCustomADODataSet::SetMasterFields(const String& Value) {
  if (FMasterFields == Value) return;
  FMasterFields = Value;
  if (Active() && FMasterLink->Active()) MasterChanged(FMasterLink);
}

void TCustomADODataSet::SetCommandText(const String& Value) {
  if (FCommandText == Value) return;
  if (!FComponentState.Contains(csLoading)) Close();
  FCommandText = Value;
  CommandTextChanged();
}

void TCustomADODataSet::SetCommandType(TCommandType Value) {
  if (FCommandType == Value) return;
  if (!FComponentState.Contains(csLoading)) Close();
  FCommandType = Value;
  CommandTextChanged();
}

void TCustomADODataSet::CommandTextChanged() {
  // A description gives the parameters after the text; they replace these.
  if (ParamCheck && FCommandType != cmdTable && FCommandType != cmdTableDirect) FParameters->ParseSQL(StatementText());
}

const String& TCustomADODataSet::BaseTable() const {
  static const String kNone;
  return FCursor ? FCursor->BaseTable : kNone;
}

// --- Opening -------------------------------------------------------------------------------------

SqliteSession& TCustomADODataSet::OpenSession() {
  if (FConnection != nullptr) return FConnection->CheckSession();
  if (FConnectionString.empty()) DatabaseError("Connexion manquante", this);
  if (!FOwnConnection) {
    FOwnConnection = std::make_unique<TADOConnection>(nullptr);
    FOwnConnection->LoginPrompt = false;
    FOwnConnection->SetConnectionString(FConnectionString);
  }
  return FOwnConnection->CheckSession();
}

void TCustomADODataSet::BindParameters(SqliteStatement& Statement) { BindStatementParameters(Statement, FParameters); }

bool TCustomADODataSet::IsMasterField(TField* Field) const {
  if (!FMasterFields.empty()) {
    std::vector<TField*> Fields;
    if (TDataSet* Master = FMasterLink->DataSet()) Master->GetFieldList(Fields, FMasterFields);
    return std::find(Fields.begin(), Fields.end(), Field) != Fields.end();
  }
  return FParameters->FindParam(Field->FieldName()) != nullptr;
}

bool TCustomADODataSet::RefreshParamsFromMaster() {
  TDataSet* Master = FMasterLink->DataSet();
  if (Master == nullptr || !Master->Active()) return false;
  bool Changed = false;
  for (int i = 0; i < FParameters->Count(); ++i) {
    TParameter* Param = FParameters->Items(i);
    TField* Field = Master->FindField(Param->Name());
    if (Field == nullptr) continue;
    Variant Value = Field->Value();
    if (VarType(Param->Value()) != VarType(Value) || !(Param->Value() == Value)) {
      Param->SetValue(Value);
      Changed = true;
    }
  }
  return Changed;
}

void TCustomADODataSet::MasterChanged(TObject*) {
  if (!Active() || !RefreshParamsFromMaster()) return;
  // The rows of another master: what waits in the cache belongs to the one left.
  if (State() == dsEdit || State() == dsInsert) Cancel();
  Requery();
}

void TCustomADODataSet::MasterDisabled(TObject*) {
  if (!Active()) return;
  bool Changed = false;
  for (int i = 0; i < FParameters->Count(); ++i) {
    TParameter* Param = FParameters->Items(i);
    if (!VarIsNull(Param->Value())) {
      Param->SetValue(Variant::Null());
      Changed = true;
    }
  }
  if (!Changed) return;
  if (State() == dsEdit || State() == dsInsert) Cancel();
  Requery();
}

void TCustomADODataSet::DoOnNewRecord() {
  // A new detail row takes the master's key.
  TDataSet* Master = FMasterLink->DataSet();
  if (FMasterLink->Active() && Master != nullptr && Master->Active()) {
    if (!FMasterFields.empty()) {
      std::vector<TField*> Masters, Details;
      Master->GetFieldList(Masters, FMasterFields);
      GetFieldList(Details, FIndexFieldNames.empty() ? FMasterFields : FIndexFieldNames);
      for (std::size_t i = 0; i < Masters.size() && i < Details.size(); ++i) Details[i]->SetValue(Masters[i]->Value());
    } else {
      for (int i = 0; i < FParameters->Count(); ++i) {
        const String& Name = FParameters->Items(i)->Name();
        TField* From = Master->FindField(Name);
        TField* To = FindField(Name);
        if (From != nullptr && To != nullptr && To->FieldKind() == fkData) To->SetValue(From->Value());
      }
    }
  }
  TDataSet::DoOnNewRecord();
}

SqliteStatement TCustomADODataSet::PrepareSelect(SqliteSession& Session) {
  if (!FCursor->NativeSql.empty()) return Session.PrepareNative(FCursor->NativeSql);
  return Session.Prepare(FCursor->JetSql);
}

// Gives the columns their types (an expression's from its values, in one pass over the rows) and
// lays them out.
void TCustomADODataSet::LayOutColumns(SqliteStatement& Statement) {
  TAdoCursor& C = *FCursor;
  // Expressions take their type from their values: one pass over the rows first.
  bool Unknown = std::any_of(C.Columns.begin(), C.Columns.end(), [](const TAdoColumn& Col) { return Col.Type == ftUnknown; });
  if (Unknown) {
    struct TSeen {
      bool Text = false, Float = false, Integer = false, Blob = false;
      long long Min = 0, Max = 0;
      std::size_t Length = 0;
    };
    std::vector<TSeen> Seen(C.Columns.size());
    while (Statement.Step()) {
      for (std::size_t i = 0; i < C.Columns.size(); ++i) {
        if (C.Columns[i].Type != ftUnknown) continue;
        TSeen& S = Seen[i];
        int Index = C.Columns[i].StatementIndex;
        switch (Statement.ColumnType(Index)) {
          case TSqliteValueType::Integer: {
            long long V = Statement.ColumnInt64(Index);
            if (!S.Integer) S.Min = S.Max = V;
            S.Min = std::min(S.Min, V);
            S.Max = std::max(S.Max, V);
            S.Integer = true;
            break;
          }
          case TSqliteValueType::Float:
            S.Float = true;
            break;
          case TSqliteValueType::Blob:
            S.Blob = true;
            break;
          case TSqliteValueType::Text:
            S.Text = true;
            S.Length = std::max(S.Length, Statement.ColumnText(Index).size());
            break;
          case TSqliteValueType::Null:
            break;
        }
      }
    }
    Statement.Reset();
    for (std::size_t i = 0; i < C.Columns.size(); ++i) {
      TAdoColumn& Col = C.Columns[i];
      if (Col.Type != ftUnknown) continue;
      const TSeen& S = Seen[i];
      if (S.Blob) {
        Col.Type = ftBlob;
      } else if (S.Text) {
        Col.Type = S.Length > 8192 ? ftMemo : ftString;
        Col.Size = S.Length > 8192 ? 0 : int(std::max<std::size_t>(S.Length, 1));
      } else if (S.Float) {
        Col.Type = ftFloat;
      } else if (S.Integer) {
        Col.Type = S.Min >= INT32_MIN && S.Max <= INT32_MAX ? ftInteger : ftLargeint;
      } else {
        Col.Type = ftString;  // nothing but nulls
        Col.Size = 20;
      }
    }
  }
  C.Layout();
}

// Reads the statement's rows from its start, as they are needed.
void TCustomADODataSet::StartReading(SqliteStatement Statement) {
  FCursor->StartReading(std::move(Statement), MaxRecords > 0 ? MaxRecords : -1);
}

void TCustomADODataSet::InternalInitFieldDefs() {
  bool WasOpen = FCursor != nullptr;
  if (!WasOpen) {
    // Asked while closed: the statement is described, no row is kept.
    SqliteSession& Session = OpenSession();
    String Text = StatementText();
    if (Text.empty()) DatabaseError("Aucun texte de commande", this);
    FCursor = std::make_unique<TAdoCursor>();
    FCursor->JetSql = Text;
    try {
      SqliteStatement Statement = Session.Prepare(Text);
      DescribeColumns(Statement, *FCursor);
      AnalyzeWriteBack(Session, Statement, *FCursor, false);
      BindParameters(Statement);
      LayOutColumns(Statement);
    } catch (...) {
      FCursor.reset();
      throw;
    }
  }
  FieldDefs()->Clear();
  std::vector<TSqliteColumnInfo> Table;
  if (!FCursor->BaseTable.empty()) {
    try {
      Table = OpenSession().TableColumns(FCursor->BaseTable);
    } catch (EDatabaseError&) {
      Table.clear();
    }
  }
  for (std::size_t i = 0; i < FCursor->Columns.size(); ++i) {
    TAdoColumn& Col = FCursor->Columns[i];
    // Two columns of one name (a join): the second gets a suffix, as the old engine's fields did.
    String Name = Col.Name;
    for (int n = 1; FieldDefs()->IndexOf(Name) >= 0; ++n) Name = Col.Name + "_" + IntToStr(n);
    Col.Name = Name;
    // A column the base table declares NOT NULL without a default must be given.
    bool Required = false;
    for (const TSqliteColumnInfo& Info : Table)
      if (!Col.BaseColumn.empty() && SameText(Info.Name, Col.BaseColumn)) Required = Info.NotNull && Info.DefaultSql.empty();
    bool Sized = Col.Kind == TNativeKind::Text8 || Col.Kind == TNativeKind::Text16 || Col.Kind == TNativeKind::Bytes;
    int Size = Sized ? Col.Size : 0;
    FieldDefs()->Add(Name, Col.Type, Size, Required);
    FieldDefs()->Items(FieldDefs()->Count() - 1)->SetFieldNo(int(i) + 1);
  }
  FieldDefs()->Updated = true;
  if (!WasOpen) FCursor.reset();
}

void TCustomADODataSet::InternalOpen() {
  SqliteSession& Session = OpenSession();
  String Text = StatementText();
  if (Text.empty()) DatabaseError("Aucun texte de commande", this);
  if (FMasterLink->Active()) RefreshParamsFromMaster();
  FCursor = std::make_unique<TAdoCursor>();
  try {
    FCursor->JetSql = Text;
    SqliteStatement Statement = Session.Prepare(Text);
    DescribeColumns(Statement, *FCursor);
    // The statement may be replaced by one that also reads the rowid.
    AnalyzeWriteBack(Session, Statement, *FCursor, FLockType != ltReadOnly);
    BindParameters(Statement);
    LayOutColumns(Statement);
    StartReading(std::move(Statement));
    InternalInitFieldDefs();
    if (DefaultFields()) CreateFields();
    BindFields(true);
    FCursor->InfoOffset = (std::size_t(FCursor->DataSize) + std::size_t(CalcFieldsSize()) + 7) & ~std::size_t(7);
    FBookmarkSize = int(sizeof(int));
    ParseFilter();
  } catch (...) {
    FFilter.reset();
    if (FCursor && FCursor->Scratch) FreeRecordBuffer(FCursor->Scratch);
    FCursor.reset();
    throw;
  }
}

void TCustomADODataSet::InternalClose() {
  if (FCursor && FCursor->Scratch) FreeRecordBuffer(FCursor->Scratch);
  BindFields(false);
  if (DefaultFields()) DestroyFields();
  FFilter.reset();
  FCursor.reset();
}

bool TCustomADODataSet::IsCursorOpen() { return FCursor != nullptr; }

void TCustomADODataSet::Requery() {
  if (!Active()) {
    Open();
    return;
  }
  CheckBrowseMode();
  SqliteSession& Session = OpenSession();
  SqliteStatement Statement = PrepareSelect(Session);
  BindParameters(Statement);
  StartReading(std::move(Statement));
  First();
}

void TCustomADODataSet::InternalRefresh() {
  int Position = FCursor->Position;
  SqliteSession& Session = OpenSession();
  SqliteStatement Statement = PrepareSelect(Session);
  BindParameters(Statement);
  StartReading(std::move(Statement));
  FCursor->Position = ClampPosition(Position);
}

int TCustomADODataSet::ClampPosition(int Position) {
  if (Position >= 0) FCursor->HaveRow(Position);
  return std::clamp(Position, -1, int(FCursor->Rows.size()));
}

// --- Record buffers --------------------------------------------------------------------------------

char* TCustomADODataSet::AllocRecordBuffer() {
  std::size_t Offset = FCursor->InfoOffset;
  char* Buffer = new char[Offset + sizeof(TAdoRecInfo)]();
  TAdoRecInfo* Info = InfoOf(Buffer, Offset);
  Info->Flag = bfCurrent;
  Info->Status = usUnmodified;
  Info->Blobs = FCursor->BlobCount > 0 ? new std::vector<String>(std::size_t(FCursor->BlobCount)) : nullptr;
  return Buffer;
}

void TCustomADODataSet::FreeRecordBuffer(char*& Buffer) {
  if (Buffer == nullptr) return;
  delete InfoOf(Buffer, FCursor->InfoOffset)->Blobs;
  delete[] Buffer;
  Buffer = nullptr;
}

unsigned TCustomADODataSet::GetRecordSize() { return unsigned(FCursor->DataSize); }

void TCustomADODataSet::InternalInitRecord(char* Buffer) {
  std::memset(Buffer, 0, std::size_t(FCursor->DataSize));
  TAdoRecInfo* Info = InfoOf(Buffer, FCursor->InfoOffset);
  Info->Id = 0;
  Info->Index = FCursor->Position;
  Info->Status = usInserted;
  if (Info->Blobs) std::fill(Info->Blobs->begin(), Info->Blobs->end(), String());
}

void TCustomADODataSet::FillBuffer(char* Buffer, int Index) {
  const TAdoRow& Row = FCursor->Rows[std::size_t(Index)];
  std::memcpy(Buffer, Row.Data.get(), std::size_t(FCursor->DataSize));
  TAdoRecInfo* Info = InfoOf(Buffer, FCursor->InfoOffset);
  Info->Id = Row.Id;
  Info->Index = Index;
  Info->Flag = bfCurrent;
  Info->Status = Row.Status;
  if (Info->Blobs) *Info->Blobs = Row.Blobs;
  GetCalcFields(Buffer);
}

int TCustomADODataSet::IndexOfId(int Id, int Hint) const {
  const std::deque<TAdoRow>& Rows = FCursor->Rows;
  if (Id == 0) return -1;
  if (Hint >= 0 && Hint < int(Rows.size()) && Rows[std::size_t(Hint)].Id == Id) return Hint;
  for (std::size_t i = 0; i < Rows.size(); ++i)
    if (Rows[i].Id == Id) return int(i);
  return -1;
}

bool TCustomADODataSet::RowVisible(int Index) {
  const TAdoRow& Row = FCursor->Rows[std::size_t(Index)];
  if (Row.Status == usDeleted) return false;
  if (!Filtered()) return true;
  if (FFilter && !FFilter->Matches(*FCursor, Row)) return false;
  if (!FOnFilterRecord) return true;
  if (FCursor->Scratch == nullptr) FCursor->Scratch = AllocRecordBuffer();
  FillBuffer(FCursor->Scratch, Index);
  return FilterRecord(FCursor->Scratch);
}

TGetResult TCustomADODataSet::GetRecord(char* Buffer, TGetMode GetMode, bool) {
  TAdoCursor& C = *FCursor;
  int N = int(C.Rows.size());
  bool Filtering = Filtered() && (FFilter || FOnFilterRecord);
  for (;;) {
    switch (GetMode) {
      case gmNext:
        if (C.Position < N) ++C.Position;
        if (C.Position >= N) {
          if (!C.HaveRow(C.Position)) return grEOF;
          N = int(C.Rows.size());
        }
        break;
      case gmPrior:
        if (C.Position >= 0) --C.Position;
        if (C.Position < 0) return grBOF;
        break;
      case gmCurrent:
        if (C.Position < 0 || !C.HaveRow(C.Position)) return grError;
        N = int(C.Rows.size());
        break;
    }
    const TAdoRow& Row = C.Rows[std::size_t(C.Position)];
    bool Visible = Row.Status != usDeleted && !(Filtering && FFilter && !FFilter->Matches(C, Row));
    if (Visible) {
      FillBuffer(Buffer, C.Position);
      if (!Filtering || FilterRecord(Buffer)) return grOK;
    }
    if (GetMode == gmCurrent) return grError;
  }
}

void TCustomADODataSet::InternalFirst() { FCursor->Position = -1; }

void TCustomADODataSet::InternalLast() {
  FCursor->ReadAll();
  FCursor->Position = int(FCursor->Rows.size());
}

// --- Bookmarks and positions ---------------------------------------------------------------------

void TCustomADODataSet::GetBookmarkData(char* Buffer, void* Data) {
  std::memcpy(Data, &InfoOf(Buffer, FCursor->InfoOffset)->Id, sizeof(int));
}

void TCustomADODataSet::SetBookmarkData(char* Buffer, const void* Data) {
  std::memcpy(&InfoOf(Buffer, FCursor->InfoOffset)->Id, Data, sizeof(int));
}

TBookmarkFlag TCustomADODataSet::GetBookmarkFlag(char* Buffer) {
  return InfoOf(Buffer, FCursor->InfoOffset)->Flag;
}

void TCustomADODataSet::SetBookmarkFlag(char* Buffer, TBookmarkFlag Value) {
  InfoOf(Buffer, FCursor->InfoOffset)->Flag = Value;
}

void TCustomADODataSet::InternalGotoBookmark(const void* Bookmark) {
  int Id;
  std::memcpy(&Id, Bookmark, sizeof Id);
  int Index = IndexOfId(Id, -1);
  if (Index < 0 || FCursor->Rows[std::size_t(Index)].Status == usDeleted)
    DatabaseError(DBConsts::SBookmarkNotFound, this);
  FCursor->Position = Index;
}

void TCustomADODataSet::InternalSetToRecord(char* Buffer) {
  TAdoRecInfo* Info = InfoOf(Buffer, FCursor->InfoOffset);
  int Index = IndexOfId(Info->Id, Info->Index);
  FCursor->Position = Index >= 0 ? Index : std::max(ClampPosition(Info->Index), 0);
}

bool TCustomADODataSet::BookmarkValid(const TBookmark& Bookmark) {
  if (!FCursor || Bookmark.size() != sizeof(int)) return false;
  int Id;
  std::memcpy(&Id, Bookmark.data(), sizeof Id);
  int Index = IndexOfId(Id, -1);
  return Index >= 0 && FCursor->Rows[std::size_t(Index)].Status != usDeleted;
}

int TCustomADODataSet::CompareBookmarks(const TBookmark& Bookmark1, const TBookmark& Bookmark2) {
  auto IndexOf = [this](const TBookmark& B) {
    if (!FCursor || B.size() != sizeof(int)) return -1;
    int Id;
    std::memcpy(&Id, B.data(), sizeof Id);
    return IndexOfId(Id, -1);
  };
  int A = IndexOf(Bookmark1), B = IndexOf(Bookmark2);
  return A < B ? -1 : A > B ? 1 : 0;
}

bool TCustomADODataSet::GetCurrentRecord(char* Buffer) {
  if (IsEmpty() || State() != dsBrowse) return false;
  std::memcpy(Buffer, ActiveBuffer(), std::size_t(FCursor->DataSize));
  return true;
}

int TCustomADODataSet::VisibleCount() {
  FCursor->ReadAll();
  if (!Filtered() || (!FFilter && !FOnFilterRecord)) return int(FCursor->Rows.size()) - FCursor->DeletedCount;
  int Count = 0;
  for (int i = 0; i < int(FCursor->Rows.size()); ++i)
    if (RowVisible(i)) ++Count;
  return Count;
}

int TCustomADODataSet::GetRecordCount() {
  CheckActive();
  return VisibleCount();
}

int TCustomADODataSet::GetRecNo() {
  if (!Active() || IsEmpty()) return -1;
  char* Buffer = ActiveBuffer();
  TAdoRecInfo* Info = InfoOf(Buffer, FCursor->InfoOffset);
  if (Info->Flag != bfCurrent) return -1;
  int Index = IndexOfId(Info->Id, Info->Index);
  if (Index < 0) return -1;
  if (FCursor->DeletedCount == 0 && (!Filtered() || (!FFilter && !FOnFilterRecord))) return Index + 1;
  int Number = 0;
  for (int i = 0; i <= Index; ++i)
    if (RowVisible(i)) ++Number;
  return Number;
}

void TCustomADODataSet::SetRecNo(int Value) {
  CheckBrowseMode();
  if (Value < 1 || Value == RecNo()) return;
  int Number = 0;
  for (int i = 0; FCursor->HaveRow(i); ++i) {
    if (!RowVisible(i) || ++Number != Value) continue;
    DoBeforeScroll();
    FCursor->Position = i;
    Resync(TResyncMode{rmCenter});
    DoAfterScroll();
    return;
  }
}

bool TCustomADODataSet::GetCanModify() {
  return FLockType != ltReadOnly && FCursor != nullptr && FCursor->KeyMode != TAdoKeyMode::None;
}

TUpdateStatus TCustomADODataSet::UpdateStatus() {
  if (!Active() || IsEmpty()) return usUnmodified;
  if (State() == dsInsert) return usInserted;
  TAdoRecInfo* Info = InfoOf(ActiveBuffer(), FCursor->InfoOffset);
  int Index = IndexOfId(Info->Id, Info->Index);
  return Index >= 0 ? FCursor->Rows[std::size_t(Index)].Status : Info->Status;
}

bool TCustomADODataSet::HasPendingChanges() const {
  if (!FCursor) return false;
  return std::any_of(FCursor->Rows.begin(), FCursor->Rows.end(),
                     [](const TAdoRow& Row) { return Row.Status != usUnmodified; });
}

// --- Field values ----------------------------------------------------------------------------------

const char* TCustomADODataSet::ReadRecord(const std::vector<String>*& Blobs) {
  Blobs = &kNoBlobs;
  if (!FCursor) return nullptr;
  if (State() == dsOldValue || State() == dsCurValue) {
    // The row as the database holds it (old values), or as the cursor holds it (current values).
    char* Active = ActiveBuffer();
    if (Active == nullptr || IsEmpty()) return nullptr;
    TAdoRecInfo* Info = InfoOf(Active, FCursor->InfoOffset);
    int Index = IndexOfId(Info->Id, Info->Index);
    if (Index < 0) return nullptr;
    const TAdoRow& Row = FCursor->Rows[std::size_t(Index)];
    if (State() == dsOldValue) {
      if (Row.Original) {
        Blobs = &Row.Original->Blobs;
        return Row.Original->Data.get();
      }
      if (Row.Status == usInserted) return nullptr;
    }
    Blobs = &Row.Blobs;
    return Row.Data.get();
  }
  char* Record = GetStateRecordBuffer();
  if (Record == nullptr) return nullptr;
  if (std::vector<String>* Own = InfoOf(Record, FCursor->InfoOffset)->Blobs) Blobs = Own;
  return Record;
}

bool TCustomADODataSet::GetFieldData(TField* Field, void* Buffer) {
  if (Field->FieldKind() == fkCalculated || Field->FieldKind() == fkLookup) {
    char* Record = GetStateRecordBuffer();
    return Record != nullptr && ReadCalcField(Record, Field, Buffer);
  }
  const std::vector<String>* Blobs;
  const char* Record = ReadRecord(Blobs);
  int Column = Field->FieldNo() - 1;
  if (Record == nullptr || Column < 0 || Column >= int(FCursor->Columns.size())) return false;
  return AdoCell::ToField(FCursor->Columns[std::size_t(Column)], Record, *Blobs, Field, Buffer);
}

void TCustomADODataSet::SetFieldData(TField* Field, const void* Buffer) {
  char* Record = GetStateRecordBuffer();
  if (Record == nullptr) DatabaseError(DBConsts::SNotEditing, this);
  if (Field->FieldKind() == fkCalculated || Field->FieldKind() == fkLookup) {
    WriteCalcField(Record, Field, Buffer);
    return;
  }
  int Column = Field->FieldNo() - 1;
  if (Column < 0 || Column >= int(FCursor->Columns.size())) return;
  std::vector<String>* Blobs = InfoOf(Record, FCursor->InfoOffset)->Blobs;
  std::vector<String> NoBlobs;
  if (Blobs == nullptr) Blobs = &NoBlobs;
  AdoCell::FromField(FCursor->Columns[std::size_t(Column)], Record, *Blobs, Field, Buffer);
}

// A blob's bytes, read when the stream opens and written back to the record when a stream opened
// for writing goes.
class TAdoBlobStream : public TStringStream {
 public:
  TAdoBlobStream(TCustomADODataSet* DataSet, TField* Field, TBlobStreamMode Mode)
      : TStringStream(String()), FDataSet(DataSet), FField(Field), FMode(Mode) {
    if (Mode != bmRead && DataSet->GetStateRecordBuffer() == nullptr) DatabaseError(DBConsts::SNotEditing, DataSet);
    if (Mode != bmWrite) {
      const std::vector<String>* Blobs;
      const char* Record = DataSet->ReadRecord(Blobs);
      int Column = Field->FieldNo() - 1;
      if (Record != nullptr && Column >= 0 && Column < int(DataSet->FCursor->Columns.size()))
        WriteString(AdoCell::Text(DataSet->FCursor->Columns[std::size_t(Column)], Record, *Blobs));
      SetPosition(0);
    }
  }
  ~TAdoBlobStream() override {
    if (FMode == bmRead) return;
    char* Record = FDataSet->GetStateRecordBuffer();
    int Column = FField->FieldNo() - 1;
    if (Record == nullptr || Column < 0 || Column >= int(FDataSet->FCursor->Columns.size())) return;
    std::vector<String>* Blobs =
        InfoOf(Record, FDataSet->FCursor->InfoOffset)->Blobs;
    std::vector<String> NoBlobs;
    if (Blobs == nullptr) Blobs = &NoBlobs;
    try {
      // An empty blob is null, as TBlobField reads it.
      AdoCell::SetValue(FDataSet->FCursor->Columns[std::size_t(Column)], Record, *Blobs,
                        DataString().empty() ? Variant::Null() : Variant(DataString()));
    } catch (...) {
      // A text that does not convert to the column's type is dropped: a destructor cannot raise.
    }
  }

 private:
  TCustomADODataSet* FDataSet;
  TField* FField;
  TBlobStreamMode FMode;
};

TStream* TCustomADODataSet::CreateBlobStream(TField* Field, TBlobStreamMode Mode) {
  return new TAdoBlobStream(this, Field, Mode);
}

// --- Searches in memory -------------------------------------------------------------------------------

namespace {

// One key of a search, matched against the stored cells.
struct TKeyMatch {
  int Column;
  TField* Field;
  Variant Key;
  bool Null;
  bool FastText;  // an 8-bit text field over an 8-bit text column
  String Text;
};

}  // namespace

// The index of the first visible row matching the keys; -1 when none. Handled is false when a key
// field is not a stored column (calculated, lookup): the caller falls back on the scan of TDataSet.
static int FindRow(TCustomADODataSet* DataSet, TAdoCursor& C, const String& KeyFields, const Variant& KeyValues,
                   TLocateOptions Options, bool& Handled, const std::function<bool(int)>& Visible) {
  Handled = false;
  std::vector<TField*> Fields;
  DataSet->GetFieldList(Fields, KeyFields);
  if (Fields.size() > 1 && !VarIsArray(KeyValues)) DatabaseError("Nombre de valeurs incorrect"_a, DataSet);
  std::vector<TKeyMatch> Keys;
  for (std::size_t i = 0; i < Fields.size(); ++i) {
    TField* Field = Fields[i];
    int Column = Field->FieldNo() - 1;
    if (Field->FieldKind() != fkData || Column < 0 || Column >= int(C.Columns.size())) return -1;
    TKeyMatch K{Column, Field, Fields.size() == 1 && !VarIsArray(KeyValues) ? KeyValues : KeyValues.GetElement(int(i)),
                false, false, String()};
    K.Null = VarIsNull(K.Key) || VarIsEmpty(K.Key);
    if (!K.Null && IsTextFieldType(Field->DataType())) {
      K.Text = K.Key.AsString();
      K.FastText = C.Columns[std::size_t(Column)].Kind == TNativeKind::Text8 &&
                   NativeKindOf(Field->DataType()) == TNativeKind::Text8;
    }
    Keys.push_back(std::move(K));
  }
  Handled = true;
  for (int Index = 0; C.HaveRow(Index); ++Index) {
    const TAdoRow& Row = C.Rows[std::size_t(Index)];
    if (Row.Status == usDeleted) continue;
    bool Match = true;
    for (const TKeyMatch& K : Keys) {
      const char* Data = Row.Data.get();
      if (IsNullCell(Data, K.Column)) {
        Match = K.Null;
      } else if (K.Null) {
        Match = false;
      } else if (K.FastText) {
        const TAdoColumn& Col = C.Columns[std::size_t(K.Column)];
        const char* Value = Data + Col.Offset;
        Match = TextKeyMatches(Value, strnlen(Value, std::min(std::size_t(Col.Size), std::size_t(K.Field->Size()))),
                               K.Text, Options);
      } else if (IsTextFieldType(K.Field->DataType())) {
        String Value = AdoCell::Text(C.Columns[std::size_t(K.Column)], Data, Row.Blobs);
        Match = TextKeyMatches(Value.data(), Value.size(), K.Text, Options);
      } else {
        Match = AdoCell::Value(C.Columns[std::size_t(K.Column)], Data, Row.Blobs) == K.Key;
      }
      if (!Match) break;
    }
    if (Match && Visible(Index)) return Index;
  }
  return -1;
}

bool TCustomADODataSet::Locate(const String& KeyFields, const Variant& KeyValues, TLocateOptions Options) {
  CheckBrowseMode();
  bool Handled;
  int Index = FindRow(this, *FCursor, KeyFields, KeyValues, Options, Handled,
                      [this](int I) { return RowVisible(I); });
  if (!Handled) return TDataSet::Locate(KeyFields, KeyValues, Options);
  DoBeforeScroll();
  SetFound(Index >= 0);
  if (Index < 0) return false;
  FCursor->Position = Index;
  Resync(TResyncMode{rmExact, rmCenter});
  DoAfterScroll();
  return true;
}

Variant TCustomADODataSet::Lookup(const String& KeyFields, const Variant& KeyValues, const String& ResultFields) {
  CheckBrowseMode();
  bool Handled;
  int Index = FindRow(this, *FCursor, KeyFields, KeyValues, TLocateOptions{}, Handled,
                      [this](int I) { return RowVisible(I); });
  if (!Handled) return TDataSet::Lookup(KeyFields, KeyValues, ResultFields);
  if (Index < 0) return Variant::Null();
  if (FCursor->Scratch == nullptr) FCursor->Scratch = AllocRecordBuffer();
  FillBuffer(FCursor->Scratch, Index);
  // The result fields read the row found through the filter state, without moving.
  char* SaveBuffer = FilterBuffer;
  FilterBuffer = FCursor->Scratch;
  TDataSetState SaveState = SetTempState(dsFilter);
  Variant Result;
  TScopeGuard restoreState([&] {
    RestoreState(SaveState);
    FilterBuffer = SaveBuffer;
  });
  Result = FieldValues(ResultFields);
  return Result;
}

// --- Filters ---------------------------------------------------------------------------------------

void TCustomADODataSet::ParseFilter() {
  FFilter.reset();
  String Text = Trim(Filter());
  if (FCursor && !Text.empty()) FFilter = TAdoFilter::Parse(Text, *FCursor, FilterOptions());
}

void TCustomADODataSet::SetFilterText(const String& Value) {
  if (Active()) {
    // Parsed first: a text in error leaves the filter as it was.
    String Text = Trim(Value);
    std::unique_ptr<TAdoFilter> Parsed = Text.empty() ? nullptr : TAdoFilter::Parse(Text, *FCursor, FilterOptions());
    FFilter = std::move(Parsed);
  }
  TDataSet::SetFilterText(Value);
}

void TCustomADODataSet::SetFilterOptions(TFilterOptions Value) {
  if (Active()) {
    String Text = Trim(Filter());
    FFilter = Text.empty() ? nullptr : TAdoFilter::Parse(Text, *FCursor, Value);
  }
  TDataSet::SetFilterOptions(Value);
}
