// This file implements the connection and dataset classes the program declares in its data
// modules, over an SQLite file: TADOConnection, TParameter/TParameters, TCustomADODataSet (a static
// cursor read whole into memory, with read-only, optimistic and batch-optimistic write-back),
// TADODataSet, TADOQuery, TADOTable and TADOCommand.
//
// The cursor. Opening runs the statement once and keeps the rows in memory in the native form of
// the field definitions (DBConsts.h) as they are first needed (the first window at opening; more
// as navigation, Last, RecordCount, bookmarks and searches reach them), so a row once read is never
// read again: navigation, Locate and Lookup go back to SQLite only for rows not read yet. Before
// any write to the file the rest of the rows are read (SqlitePendingRead).
// Rows are written back to the one base table the statement reads its columns from (columns of
// other tables of a join and computed columns are read-only), found by the table's primary key
// when the statement returns it, else by rowid (read along with the rows), else by the values the
// row was read with.
//
// Locking. ltReadOnly refuses changes; ltOptimistic writes each Post and Delete at once;
// ltBatchOptimistic keeps posted, inserted and deleted rows in the dataset's cache until
// UpdateBatch writes them all in one transaction (all or nothing) or CancelBatch drops them.
#pragma once

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "Collection.h"
#include "DataSet.h"
#include "DataSource.h"

class SqliteSession;
class SqliteStatement;
class TStrings;
class TStringList;
class TFiler;
class TReader;
class TWriter;
class TCustomADODataSet;
class TADOCommand;
struct TAdoCursor;
class TAdoFilter;

enum TConnectMode {
  cmUnknown,
  cmRead,
  cmWrite,
  cmReadWrite,
  cmShareDenyRead,
  cmShareDenyWrite,
  cmShareExclusive,
  cmShareDenyNone
};
VELBOR_ENUM(TConnectMode, "cmUnknown", "cmRead", "cmWrite", "cmReadWrite", "cmShareDenyRead", "cmShareDenyWrite",
            "cmShareExclusive", "cmShareDenyNone")

enum TCursorLocation { clUseServer, clUseClient };
VELBOR_ENUM(TCursorLocation, "clUseServer", "clUseClient")

enum TCursorType { ctUnspecified, ctOpenForwardOnly, ctKeyset, ctDynamic, ctStatic };
VELBOR_ENUM(TCursorType, "ctUnspecified", "ctOpenForwardOnly", "ctKeyset", "ctDynamic", "ctStatic")

enum TADOLockType { ltUnspecified, ltReadOnly, ltPessimistic, ltOptimistic, ltBatchOptimistic };
VELBOR_ENUM(TADOLockType, "ltUnspecified", "ltReadOnly", "ltPessimistic", "ltOptimistic", "ltBatchOptimistic")

enum TCommandType { cmdUnknown, cmdText, cmdTable, cmdStoredProc, cmdFile, cmdTableDirect };
VELBOR_ENUM(TCommandType, "cmdUnknown", "cmdText", "cmdTable", "cmdStoredProc", "cmdFile", "cmdTableDirect")

enum TAffectRecords { arCurrent, arFiltered, arAll, arAllChapters };
VELBOR_ENUM(TAffectRecords, "arCurrent", "arFiltered", "arAll", "arAllChapters")

enum TExecuteOption { eoAsyncExecute, eoAsyncFetch, eoAsyncFetchNonBlocking, eoExecuteNoRecords };
VELBOR_ENUM(TExecuteOption, "eoAsyncExecute", "eoAsyncFetch", "eoAsyncFetchNonBlocking", "eoExecuteNoRecords")
using TExecuteOptions = TSet<TExecuteOption>;

enum TParameterAttribute { paSigned, paNullable, paLong };
VELBOR_ENUM(TParameterAttribute, "paSigned", "paNullable", "paLong")
using TParameterAttributes = TSet<TParameterAttribute>;

enum TParameterDirection { pdUnknown, pdInput, pdOutput, pdInputOutput, pdReturnValue };
VELBOR_ENUM(TParameterDirection, "pdUnknown", "pdInput", "pdOutput", "pdInputOutput", "pdReturnValue")

// One "Name=Value" item of a connection string.
struct TConnectionProperty {
  String Name;
  String Value;
};

// The items of a ';'-separated property list, in order. Names and values are trimmed; a value in
// double or single quotes loses them (a doubled quote inside stands for one), so the empty value
// written "" is empty. Empty items are skipped; an item without '=' has an empty value.
std::vector<TConnectionProperty> ParseConnectionString(const String& Text);
// The value of the property Name (case-insensitive) in Text; empty when absent.
String ConnectionStringValue(const String& Text, const String& Name);

// --- The connection -------------------------------------------------------------------------------

// One SQLite database file, named by the "Data Source" property of ConnectionString (a Windows
// path). The other properties of the list (provider, Jet options) are kept and ignored.
class TADOConnection : public TComponent {
  VELBOR_DECLARE_CLASS(TADOConnection, TComponent)
 public:
  explicit TADOConnection(TComponent* AOwner);
  // Closes the datasets it serves, then the file.
  ~TADOConnection() override;

  // Properties.
  const String& ConnectionString() const { return FConnectionString; }
  // Refused while connected (EDatabaseError): disconnect first.
  void SetConnectionString(const String& Value);
  // The database file: the "Data Source" of ConnectionString.
  String DatabaseFile() const { return ConnectionStringValue(FConnectionString, "Data Source"); }
  bool Connected() const { return FSession != nullptr; }
  void SetConnected(bool Value);
  bool LoginPrompt = true;  // accepted: a file has no login
  TConnectMode Mode = cmUnknown;
  TCursorLocation CursorLocation = clUseClient;
  bool KeepConnection = true;
  String Provider;
  int ConnectionTimeout = 15;
  int CommandTimeout = 30;
  bool InTransaction() const;
  // The datasets and commands that use this connection.
  int DataSetCount() const { return int(FDataSets.size()); }
  TCustomADODataSet* DataSets(int Index) const { return FDataSets[std::size_t(Index)]; }
  // The open file; null while disconnected.
  SqliteSession* Session() const { return FSession.get(); }

  // Operations.
  // BeforeConnect (which may still change ConnectionString), then the file is opened: a missing
  // file, or one that is not a database, is refused with an EDatabaseError naming it and is left
  // untouched. Then AfterConnect.
  void Open();
  // Closes the datasets that use this connection, then the file (a transaction left open is
  // rolled back).
  void Close();
  // One level of transaction; answers the level (1).
  int BeginTrans();
  void CommitTrans();
  void RollbackTrans();
  // Runs one statement of the program's SQL (no parameters); answers the rows it changed.
  int Execute(const String& CommandText);

  // Events.
  TNotifyEvent BeforeConnect;
  TNotifyEvent AfterConnect;
  TNotifyEvent BeforeDisconnect;
  TNotifyEvent AfterDisconnect;

 protected:
  void Loaded() override;
  virtual void DoConnect();
  virtual void DoDisconnect();
  // An open session, opening the connection first when it is closed (as datasets do).
  SqliteSession& CheckSession();

 private:
  friend class TCustomADODataSet;
  friend class TADOCommand;
  void AddDataSet(TCustomADODataSet* DataSet);
  void RemoveDataSet(TCustomADODataSet* DataSet);

  String FConnectionString;
  std::unique_ptr<SqliteSession> FSession;
  std::vector<TCustomADODataSet*> FDataSets;
  bool FStreamedConnected = false;
};

// --- Parameters -----------------------------------------------------------------------------------

// A named value bound to the ":NAME" places of a statement.
class TParameter : public TCollectionItem {
  VELBOR_DECLARE_CLASS(TParameter, TCollectionItem)
 public:
  explicit TParameter(TCollection* ACollection);

  const String& Name() const { return FName; }
  void SetName(const String& Value) { FName = Value; }
  TFieldType DataType = ftUnknown;
  TParameterDirection Direction = pdInput;
  TParameterAttributes Attributes;
  int Size = 0;
  int Precision = 0;
  int NumericScale = 0;
  // Unassigned until given; Null binds NULL.
  const Variant& Value() const { return FValue; }
  void SetValue(const Variant& Value) { FValue = Value; }

  String DisplayName() const override { return FName.empty() ? TCollectionItem::DisplayName() : FName; }
  void SetDisplayName(const String& Value) override { FName = Value; }
  void Assign(TPersistent* Source) override;
  // Value is not a published type: the description reads and writes it here (Null, a number,
  // a text, True or False).
  void DefineProperties(TFiler* Filer) override;

 private:
  void ReadValue(TReader* Reader);
  void WriteValue(TWriter* Writer);

  String FName;
  Variant FValue;
};

class TParameters : public TOwnedCollection {
  VELBOR_DECLARE_CLASS(TParameters, TOwnedCollection)
 public:
  explicit TParameters(TPersistent* AOwner);

  TParameter* Items(int Index) const { return static_cast<TParameter*>(TCollection::Items(Index)); }
  TParameter* operator[](int Index) const { return Items(Index); }
  TParameter* AddParameter() { return static_cast<TParameter*>(Add()); }
  TParameter* CreateParameter(const String& Name, TFieldType DataType, TParameterDirection Direction, int Size,
                              const Variant& Value);
  // Case-insensitive; ParamByName raises EDatabaseError "Paramètre '%s' non trouvé".
  TParameter* FindParam(const String& Name) const;
  TParameter* ParamByName(const String& Name) const;
  Variant ParamValues(const String& Name) const { return ParamByName(Name)->Value(); }
  void SetParamValues(const String& Name, const Variant& Value) { ParamByName(Name)->SetValue(Value); }
  // Makes the list the ":NAME" parameters of SQL, in order of first use; a parameter already there
  // under the same name keeps its type and value.
  void ParseSQL(const String& SQL);
};

// --- The datasets ---------------------------------------------------------------------------------

class TCustomADODataSet : public TDataSet {
  VELBOR_DECLARE_CLASS(TCustomADODataSet, TDataSet)
 public:
  explicit TCustomADODataSet(TComponent* AOwner);
  ~TCustomADODataSet() override;

  // Properties.
  TADOConnection* Connection() const { return FConnection; }
  // Closes the dataset first.
  void SetConnection(TADOConnection* Value);
  // Used only without Connection: the dataset then opens a connection of its own.
  const String& ConnectionString() const { return FConnectionString; }
  void SetConnectionString(const String& Value);
  TADOLockType LockType() const { return FLockType; }
  void SetLockType(TADOLockType Value);  // closed datasets only
  TCursorType CursorType = ctKeyset;       // accepted: every cursor is static
  TCursorLocation CursorLocation = clUseClient;
  int CacheSize = 1;                        // accepted: rows are read as they are needed
  int MaxRecords = 0;                       // 0: all; otherwise the rows read are cut there
  int CommandTimeout = 30;
  bool EnableBCD = true;                    // accepted: decimals are always floats
  TExecuteOptions ExecuteOptions;           // accepted: reading is always synchronous
  bool ParamCheck = true;                   // when set, changing the text remakes Parameters
  TParameters* Parameters() const { return FParameters; }
  void SetParameters(TParameters* Value);
  // Master/detail: the parameters of the same name as a field of DataSource's dataset take its
  // value whenever the master moves, and the rows are read again when a value changed.
  // MasterFields, when given, names the master fields; IndexFieldNames the detail fields (in the
  // same order) that new rows copy them into (the same names when empty).
  TDataSource* GetDataSource() override;
  void SetDataSource(TDataSource* Value);
  const String& MasterFields() const { return FMasterFields; }
  void SetMasterFields(const String& Value);
  const String& IndexFieldNames() const { return FIndexFieldNames; }
  void SetIndexFieldNames(const String& Value) { FIndexFieldNames = Value; }
  // The text run by the dataset: CommandText, the SQL of a query, a table's statement.
  const String& CommandText() const { return FCommandText; }
  void SetCommandText(const String& Value);
  TCommandType CommandType() const { return FCommandType; }
  void SetCommandType(TCommandType Value);
  // The table rows are written back to; empty while closed or when the statement has none.
  const String& BaseTable() const;

  // Operations.
  // Reads the rows again with the current parameter values (the cache is dropped) and goes to the
  // first row.
  void Requery();
  // Writes the cached changes (arAll: every row; arFiltered: the visible ones; arCurrent: the
  // current one) in one transaction, or in a savepoint of the connection's transaction. Any
  // refusal rolls the whole write back, leaves the cache as it was and raises the database's
  // EDatabaseError.
  void UpdateBatch(TAffectRecords AffectRecords = arAll);
  // Drops the cached changes: inserted rows go, changed and deleted rows come back as read.
  void CancelBatch(TAffectRecords AffectRecords = arAll);
  TUpdateStatus UpdateStatus() override;
  // Whether changes wait in the cache.
  bool HasPendingChanges() const;

  // The dataset protocol.
  bool GetFieldData(TField* Field, void* Buffer) override;
  void SetFieldData(TField* Field, const void* Buffer) override;
  TStream* CreateBlobStream(TField* Field, TBlobStreamMode Mode) override;
  bool BookmarkValid(const TBookmark& Bookmark) override;
  int CompareBookmarks(const TBookmark& Bookmark1, const TBookmark& Bookmark2) override;
  bool GetCurrentRecord(char* Buffer) override;
  bool IsSequenced() override { return true; }
  void SetRecNo(int Value) override;
  // Searches the rows in memory (visible ones, in order) without moving through them.
  bool Locate(const String& KeyFields, const Variant& KeyValues, TLocateOptions Options) override;
  Variant Lookup(const String& KeyFields, const Variant& KeyValues, const String& ResultFields) override;
  // Moves to the first visible row after the current one (from the first row when FromFirst)
  // whose Field's text Matches accepts, reading the rows in memory without moving through them
  // (the record search of the data-aware controls). A text field's text is its stored value,
  // any other field's its AsString. False, the position unchanged, when no row matches; Handled
  // is false when Field is not a stored column of this dataset (calculated and lookup fields).
  bool SearchRows(TField* Field, const std::function<bool(std::string_view Text)>& Matches, bool FromFirst,
                  bool& Handled);
  // The filter text: comparisons "Field op value" (=, <>, <, >, <=, >=; a value in quotes, a
  // number or NULL; a quoted text ending in '*' matches texts that start with it unless
  // foNoPartialCompare), joined by AND, OR, NOT and parentheses. Names may be in brackets.
  void SetFilterText(const String& Value) override;
  void SetFilterOptions(TFilterOptions Value) override;

 protected:
  friend class TAdoMasterLink;

  // The statement run at opening (Jet dialect).
  virtual String StatementText() const { return FCommandText; }
  // Parameters remade from a new text.
  void CommandTextChanged();

  char* AllocRecordBuffer() override;
  void FreeRecordBuffer(char*& Buffer) override;
  void InternalInitRecord(char* Buffer) override;
  TGetResult GetRecord(char* Buffer, TGetMode GetMode, bool DoCheck) override;
  unsigned GetRecordSize() override;
  void InternalOpen() override;
  void InternalClose() override;
  void InternalInitFieldDefs() override;
  void InternalFirst() override;
  void InternalLast() override;
  void InternalPost() override;
  void InternalAddRecord(char* Buffer, bool Append) override;
  void InternalDelete() override;
  void InternalRefresh() override;
  void InternalGotoBookmark(const void* Bookmark) override;
  void InternalSetToRecord(char* Buffer) override;
  void GetBookmarkData(char* Buffer, void* Data) override;
  void SetBookmarkData(char* Buffer, const void* Data) override;
  TBookmarkFlag GetBookmarkFlag(char* Buffer) override;
  void SetBookmarkFlag(char* Buffer, TBookmarkFlag Value) override;
  bool IsCursorOpen() override;
  int GetRecordCount() override;
  int GetRecNo() override;
  bool GetCanModify() override;
  void MasterChanged(TObject* Sender) override;
  void MasterDisabled(TObject* Sender) override;
  void DoOnNewRecord() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // The connection's session, opening it (or the dataset's own connection) when needed.
  SqliteSession& OpenSession();

 private:
  friend class TAdoBlobStream;
  // Opening.
  void LayOutColumns(SqliteStatement& Statement);
  void StartReading(SqliteStatement Statement);
  // Position kept within the rows, reading up to it first (-1 before the first row).
  int ClampPosition(int Position);
  SqliteStatement PrepareSelect(SqliteSession& Session);
  void BindParameters(SqliteStatement& Statement);
  void ParseFilter();
  // The record of the state being read or written (old values: the row as read).
  const char* ReadRecord(const std::vector<String>*& Blobs);
  // Rows.
  int IndexOfId(int Id, int Hint) const;
  bool RowVisible(int Index);
  void FillBuffer(char* Buffer, int Index);
  int VisibleCount();
  // Master/detail.
  bool RefreshParamsFromMaster();
  bool IsMasterField(TField* Field) const;
  // Write-back (ADODataSetUpdate.cpp).
  void WriteRow(int Index, TUpdateKind Kind, const char* Data, const std::vector<String>& Blobs);
  void StoreBuffer(int Index, const char* Buffer);
  void InsertRowFromBuffer(const char* Buffer, bool Append);
  void ApplyBatch(TAffectRecords AffectRecords);
  bool RowAffected(int Index, TAffectRecords AffectRecords);

  TADOConnection* FConnection = nullptr;
  std::unique_ptr<TADOConnection> FOwnConnection;
  String FConnectionString;
  TADOLockType FLockType = ltOptimistic;
  TParameters* FParameters;
  String FCommandText;
  TCommandType FCommandType = cmdText;
  String FMasterFields;
  String FIndexFieldNames;
  class TAdoMasterLink* FMasterLink;
  std::unique_ptr<TAdoCursor> FCursor;
  std::unique_ptr<TAdoFilter> FFilter;
};

// A dataset of any statement: CommandText (cmdText), or a table's rows (cmdTable, cmdTableDirect).
class TADODataSet : public TCustomADODataSet {
  VELBOR_DECLARE_CLASS(TADODataSet, TCustomADODataSet)
 public:
  explicit TADODataSet(TComponent* AOwner);
  ~TADODataSet() override;

 protected:
  String StatementText() const override;
};

// A query: its text is the lines of SQL. ExecSQL runs a statement that returns no rows.
class TADOQuery : public TCustomADODataSet {
  VELBOR_DECLARE_CLASS(TADOQuery, TCustomADODataSet)
 public:
  explicit TADOQuery(TComponent* AOwner);
  ~TADOQuery() override;

  TStrings* SQL() const;
  void SetSQL(TStrings* Value);
  // The rows the last ExecSQL changed; -1 before any.
  int RowsAffected() const { return FRowsAffected; }
  // Runs the text with the parameters; answers the rows changed.
  int ExecSQL();

 private:
  void SQLChanged(TObject* Sender);

  TStringList* FSQL;
  int FRowsAffected = -1;
};

// The rows of one table.
class TADOTable : public TCustomADODataSet {
  VELBOR_DECLARE_CLASS(TADOTable, TCustomADODataSet)
 public:
  explicit TADOTable(TComponent* AOwner);
  ~TADOTable() override;

  const String& TableName() const { return FTableName; }
  void SetTableName(const String& Value);
  bool TableDirect = false;

 protected:
  String StatementText() const override;

 private:
  String FTableName;
};

// A statement run for its effect (no rows): Execute binds Parameters and answers the rows changed.
class TADOCommand : public TComponent {
  VELBOR_DECLARE_CLASS(TADOCommand, TComponent)
 public:
  explicit TADOCommand(TComponent* AOwner);
  ~TADOCommand() override;

  TADOConnection* Connection() const { return FConnection; }
  void SetConnection(TADOConnection* Value);
  const String& CommandText() const { return FCommandText; }
  void SetCommandText(const String& Value);
  TCommandType CommandType = cmdText;
  int CommandTimeout = 30;
  bool ParamCheck = true;
  TExecuteOptions ExecuteOptions;
  TParameters* Parameters() const { return FParameters; }
  void SetParameters(TParameters* Value);
  int RowsAffected() const { return FRowsAffected; }

  int Execute();

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TADOConnection* FConnection = nullptr;
  String FCommandText;
  TParameters* FParameters;
  int FRowsAffected = -1;
};

// Binds the parameters of Statement from Parameters by name; a name without a parameter, or a
// parameter never given a value, binds NULL.
void BindStatementParameters(SqliteStatement& Statement, const TParameters* Parameters);
