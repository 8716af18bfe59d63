// This file implements the parameters (TParameter, TParameters), TADOCommand, the three dataset
// classes a data module declares (TADODataSet, TADOQuery, TADOTable), their published properties
// and their registration for form descriptions.
#include "ADODB.h"
#include "Field.h"
#include "Filer.h"
#include "Params.h"
#include "ScopeGuard.h"
#include "SqliteSession.h"
#include "Strings.h"
#include "TextOrder.h"

// --- TParameter ----------------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TParameter)
VELBOR_PUBLISHED(TParameter,
  Prop("Name", &Self::Name, &Self::SetName),
  Prop("Attributes", &Self::Attributes).Default(TParameterAttributes{}),
  Prop("DataType", &Self::DataType).Default(ftUnknown),
  Prop("Direction", &Self::Direction).Default(pdInput),
  Prop("NumericScale", &Self::NumericScale).Default(0),
  Prop("Precision", &Self::Precision).Default(0),
  Prop("Size", &Self::Size).Default(0))

TParameter::TParameter(TCollection* ACollection) : TCollectionItem(ACollection) {}

void TParameter::Assign(TPersistent* Source) {
  if (auto* Other = dynamic_cast<TParameter*>(Source)) {
    FName = Other->FName;
    DataType = Other->DataType;
    Direction = Other->Direction;
    Attributes = Other->Attributes;
    Size = Other->Size;
    Precision = Other->Precision;
    NumericScale = Other->NumericScale;
    FValue = Other->FValue;
    return;
  }
  TCollectionItem::Assign(Source);
}

void TParameter::DefineProperties(TFiler* Filer) {
  Filer->DefineProperty("Value", TReaderProc(this, &TParameter::ReadValue), TWriterProc(this, &TParameter::WriteValue),
                        !VarIsEmpty(FValue));
}

void TParameter::ReadValue(TReader* Reader) {
  switch (Reader->NextValue()) {
    case TFormValueKind::Integer:
      FValue = Variant(Reader->ReadInt64());
      if (FValue.AsInt64() >= INT32_MIN && FValue.AsInt64() <= INT32_MAX) FValue = Variant(int(FValue.AsInt64()));
      break;
    case TFormValueKind::Float:
      FValue = Variant(Reader->ReadFloat());
      break;
    case TFormValueKind::String:
      FValue = Variant(Reader->ReadString());
      break;
    case TFormValueKind::Identifier: {
      String Ident = Reader->ReadIdent();
      if (SameText(Ident, "Null"))
        FValue = Variant::Null();
      else if (SameText(Ident, "True") || SameText(Ident, "False"))
        FValue = Variant(SameText(Ident, "True"));
      else if (SameText(Ident, "Unassigned"))
        FValue = Variant();
      else
        Reader->Error("Valeur de paramètre incorrecte : "_a + Ident);
      break;
    }
    default:
      Reader->Error("Valeur de paramètre incorrecte"_a);
  }
}

void TParameter::WriteValue(TWriter* Writer) {
  switch (VarType(FValue)) {
    case varNull:
      Writer->WriteIdent("Null");
      break;
    case varBoolean:
      Writer->WriteBoolean(FValue.AsBoolean());
      break;
    case varSmallint:
    case varInteger:
    case varByte:
    case varInt64:
      Writer->WriteInteger(FValue.AsInt64());
      break;
    case varSingle:
    case varDouble:
    case varCurrency:
    case varDate:
      Writer->WriteFloat(FValue.AsDouble());
      break;
    default:
      Writer->WriteString(FValue.AsString());
      break;
  }
}

// --- TParameters ----------------------------------------------------------------------------------------

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TParameters)

TParameters::TParameters(TPersistent* AOwner) : TOwnedCollection(AOwner, TParameter::StaticClass()) {}

TParameter* TParameters::CreateParameter(const String& Name, TFieldType DataType, TParameterDirection Direction,
                                         int Size, const Variant& Value) {
  TParameter* Param = AddParameter();
  Param->SetName(Name);
  Param->DataType = DataType;
  Param->Direction = Direction;
  Param->Size = Size;
  Param->SetValue(Value);
  return Param;
}

TParameter* TParameters::FindParam(const String& Name) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(Items(i)->Name(), Name)) return Items(i);
  return nullptr;
}

TParameter* TParameters::ParamByName(const String& Name) const {
  TParameter* Param = FindParam(Name);
  if (Param == nullptr) {
    TPersistent* Owner = const_cast<TParameters*>(this)->GetOwner();
    DatabaseErrorFmt(FieldConsts::SParameterNotFound, {Name}, dynamic_cast<TComponent*>(Owner));
  }
  return Param;
}

void TParameters::ParseSQL(const String& SQL) {
  // The names, read by the dataset model's own parser of ":NAME" places.
  TParams Found;
  Found.ParseSQL(SQL, true);
  TParameters Old(nullptr);
  Old.Assign(this);
  BeginUpdate();
  TScopeGuard endUpdate([&] { EndUpdate(); });
  Clear();
  for (int i = 0; i < Found.Count(); ++i) {
    TParameter* Param = AddParameter();
    if (TParameter* Previous = Old.FindParam(Found[i]->Name()))
      Param->Assign(Previous);
    else
      Param->Attributes = TParameterAttributes{paNullable};
    Param->SetName(Found[i]->Name());
  }
}

void BindStatementParameters(SqliteStatement& Statement, const TParameters* Parameters) {
  for (int i = 1; i <= Statement.ParamCount(); ++i) {
    String Name = Statement.ParamName(i);
    const TParameter* Param = nullptr;
    if (Parameters != nullptr) {
      // "?" places take the parameters in order.
      if (Name.empty())
        Param = i <= Parameters->Count() ? Parameters->Items(i - 1) : nullptr;
      else
        Param = Parameters->FindParam(Name);
    }
    Statement.Bind(i, Param != nullptr ? Param->Value() : Variant::Null());
  }
}

// --- TADOCommand ----------------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TADOCommand)
VELBOR_PUBLISHED(TADOCommand,
  Prop("CommandText", &Self::CommandText, &Self::SetCommandText),
  Prop("CommandTimeout", &Self::CommandTimeout).Default(30),
  Prop("CommandType", &Self::CommandType).Default(cmdText),
  Prop("Connection", &Self::Connection, &Self::SetConnection),
  Prop("ExecuteOptions", &Self::ExecuteOptions).Default(TExecuteOptions{}),
  Prop("ParamCheck", &Self::ParamCheck).Default(true),
  Prop("Parameters", &Self::Parameters, &Self::SetParameters))

TADOCommand::TADOCommand(TComponent* AOwner) : TComponent(AOwner) { FParameters = new TParameters(this); }

TADOCommand::~TADOCommand() { delete FParameters; }

void TADOCommand::SetConnection(TADOConnection* Value) {
  if (FConnection == Value) return;
  if (FConnection != nullptr) FConnection->RemoveFreeNotification(this);
  FConnection = Value;
  if (FConnection != nullptr) FConnection->FreeNotification(this);
}

void TADOCommand::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FConnection) FConnection = nullptr;
}

void TADOCommand::SetCommandText(const String& Value) {
  if (FCommandText == Value) return;
  FCommandText = Value;
  if (ParamCheck) FParameters->ParseSQL(Value);
}

void TADOCommand::SetParameters(TParameters* Value) { FParameters->Assign(Value); }

int TADOCommand::Execute() {
  if (FConnection == nullptr) DatabaseError("Connexion manquante", this);
  String Text = FCommandText;
  if (CommandType == cmdTable || CommandType == cmdTableDirect) Text = "select * from [" + Text + "]";
  SqliteStatement Statement = FConnection->CheckSession().Prepare(Text);
  BindStatementParameters(Statement, FParameters);
  FRowsAffected = Statement.Execute();
  return FRowsAffected;
}

// --- The dataset classes ------------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TCustomADODataSet)
VELBOR_PUBLISHED(TCustomADODataSet,
  Prop("CacheSize", &Self::CacheSize).Default(1),
  Prop("CommandTimeout", &Self::CommandTimeout).Default(30),
  Prop("Connection", &Self::Connection, &Self::SetConnection),
  Prop("ConnectionString", &Self::ConnectionString, &Self::SetConnectionString),
  Prop("CursorLocation", &Self::CursorLocation).Default(clUseClient),
  Prop("CursorType", &Self::CursorType).Default(ctKeyset),
  Prop("DataSource", &Self::GetDataSource, &Self::SetDataSource),
  Prop("EnableBCD", &Self::EnableBCD).Default(true),
  Prop("ExecuteOptions", &Self::ExecuteOptions).Default(TExecuteOptions{}),
  Prop("IndexFieldNames", &Self::IndexFieldNames, &Self::SetIndexFieldNames),
  Prop("LockType", &Self::LockType, &Self::SetLockType).Default(ltOptimistic),
  Prop("MasterFields", &Self::MasterFields, &Self::SetMasterFields),
  Prop("MaxRecords", &Self::MaxRecords).Default(0),
  Prop("ParamCheck", &Self::ParamCheck).Default(true),
  Prop("Parameters", &Self::Parameters, &Self::SetParameters))

VELBOR_IMPLEMENT_CLASS(TADODataSet)
VELBOR_PUBLISHED(TADODataSet,
  Prop("CommandText", &Self::CommandText, &Self::SetCommandText),
  Prop("CommandType", &Self::CommandType, &Self::SetCommandType).Default(cmdText))

TADODataSet::TADODataSet(TComponent* AOwner) : TCustomADODataSet(AOwner) {}

TADODataSet::~TADODataSet() {
  Destroying();
  Close();
}

String TADODataSet::StatementText() const {
  if (CommandType() == cmdTable || CommandType() == cmdTableDirect) return "select * from [" + CommandText() + "]";
  return CommandText();
}

VELBOR_IMPLEMENT_CLASS(TADOQuery)
VELBOR_PUBLISHED(TADOQuery, Prop("SQL", &Self::SQL, &Self::SetSQL))

TADOQuery::TADOQuery(TComponent* AOwner) : TCustomADODataSet(AOwner) {
  FSQL = new TStringList();
  FSQL->OnChange = TNotifyEvent(this, &TADOQuery::SQLChanged);
}

TADOQuery::~TADOQuery() {
  Destroying();
  Close();
  delete FSQL;
}

TStrings* TADOQuery::SQL() const { return FSQL; }

void TADOQuery::SetSQL(TStrings* Value) { FSQL->Assign(Value); }

void TADOQuery::SQLChanged(TObject*) {
  // The query's text is its lines; a new text closes it.
  SetCommandText(FSQL->Text());
}

int TADOQuery::ExecSQL() {
  CheckInactive();
  SqliteStatement Statement = OpenSession().Prepare(CommandText());
  BindStatementParameters(Statement, Parameters());
  FRowsAffected = Statement.Execute();
  return FRowsAffected;
}

VELBOR_IMPLEMENT_CLASS(TADOTable)
VELBOR_PUBLISHED(TADOTable,
  Prop("TableDirect", &Self::TableDirect).Default(false),
  Prop("TableName", &Self::TableName, &Self::SetTableName))

TADOTable::TADOTable(TComponent* AOwner) : TCustomADODataSet(AOwner) {}

TADOTable::~TADOTable() {
  Destroying();
  Close();
}

void TADOTable::SetTableName(const String& Value) {
  if (FTableName == Value) return;
  if (!ComponentState().Contains(csLoading)) Close();
  FTableName = Value;
}

String TADOTable::StatementText() const { return FTableName.empty() ? String() : "select * from [" + FTableName + "]"; }

// --- TADOConnection's properties ---------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TADOConnection)
VELBOR_PUBLISHED(TADOConnection,
  Prop("CommandTimeout", &Self::CommandTimeout).Default(30),
  Prop("Connected", &Self::Connected, &Self::SetConnected).Default(false),
  Prop("ConnectionString", &Self::ConnectionString, &Self::SetConnectionString),
  Prop("ConnectionTimeout", &Self::ConnectionTimeout).Default(15),
  Prop("CursorLocation", &Self::CursorLocation).Default(clUseClient),
  Prop("KeepConnection", &Self::KeepConnection).Default(true),
  Prop("LoginPrompt", &Self::LoginPrompt).Default(true),
  Prop("Mode", &Self::Mode).Default(cmUnknown),
  Prop("Provider", &Self::Provider),
  Prop("AfterConnect", &Self::AfterConnect),
  Prop("AfterDisconnect", &Self::AfterDisconnect),
  Prop("BeforeConnect", &Self::BeforeConnect),
  Prop("BeforeDisconnect", &Self::BeforeDisconnect))

namespace {

// Form descriptions create these by class name; a data module also needs its data sources.
struct TADOClassRegistration {
  TADOClassRegistration() {
    for (TClass Class : {TADOConnection::StaticClass(), TADODataSet::StaticClass(), TADOQuery::StaticClass(),
                         TADOTable::StaticClass(), TADOCommand::StaticClass(), TDataSource::StaticClass()})
      RegisterClass(Class);
  }
} ADOClassRegistration;

}  // namespace
