// This file implements TADOConnection: the connection string, opening and closing the database
// file with its events, transactions, direct statements, and the datasets it serves.
#include <algorithm>

#include "ADODB.h"
#include "SqliteSession.h"
#include "StrUtils.h"
#include "TextOrder.h"

// --- Connection strings ------------------------------------------------------------------------------

std::vector<TConnectionProperty> ParseConnectionString(const String& Text) {
  std::vector<TConnectionProperty> Result;
  std::size_t i = 0, n = Text.size();
  while (i < n) {
    // Name, up to '=' or ';'.
    std::size_t Start = i;
    while (i < n && Text[i] != '=' && Text[i] != ';') ++i;
    TConnectionProperty Item;
    Item.Name = Trim(Text.substr(Start, i - Start));
    if (i < n && Text[i] == '=') {
      ++i;
      while (i < n && (Text[i] == ' ' || Text[i] == '\t')) ++i;
      if (i < n && (Text[i] == '"' || Text[i] == '\'')) {
        // A quoted value: ';' inside is part of it, a doubled quote is one quote.
        char Quote = Text[i++];
        for (;;) {
          if (i >= n) break;
          if (Text[i] == Quote) {
            if (i + 1 < n && Text[i + 1] == Quote) {
              Item.Value += Quote;
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          Item.Value += Text[i++];
        }
        while (i < n && Text[i] != ';') ++i;
      } else {
        Start = i;
        while (i < n && Text[i] != ';') ++i;
        Item.Value = Trim(Text.substr(Start, i - Start));
      }
    }
    if (i < n && Text[i] == ';') ++i;
    if (!Item.Name.empty()) Result.push_back(std::move(Item));
  }
  return Result;
}

String ConnectionStringValue(const String& Text, const String& Name) {
  for (const TConnectionProperty& Item : ParseConnectionString(Text))
    if (SameText(Item.Name, Name)) return Item.Value;
  return String();
}

// --- TADOConnection ------------------------------------------------------------------------------------

TADOConnection::TADOConnection(TComponent* AOwner) : TComponent(AOwner) {}

TADOConnection::~TADOConnection() {
  Destroying();
  // The datasets close while the file is still there; they forget this connection when the
  // component notifications follow.
  try {
    Close();
  } catch (...) {
    // A destructor cannot raise; closing the file below still releases it.
  }
  FSession.reset();
}

void TADOConnection::SetConnectionString(const String& Value) {
  if (FConnectionString == Value) return;
  if (Connected()) DatabaseError("Impossible de modifier la chaîne de connexion d'une connexion ouverte"_a, this);
  FConnectionString = Value;
}

void TADOConnection::SetConnected(bool Value) {
  if (FComponentState.Contains(csReading)) {
    FStreamedConnected = Value;
    return;
  }
  if (Value)
    Open();
  else
    Close();
}

void TADOConnection::Loaded() {
  TComponent::Loaded();
  if (FStreamedConnected) Open();
}

bool TADOConnection::InTransaction() const { return FSession != nullptr && FSession->InTransaction(); }

void TADOConnection::Open() {
  if (Connected()) return;
  DoConnect();
}

void TADOConnection::DoConnect() {
  if (BeforeConnect) BeforeConnect(this);
  String File = DatabaseFile();
  if (File.empty()) DatabaseError("La chaîne de connexion ne nomme pas de base de données (Data Source)"_a, this);
  // The session refuses, without writing to it, a file that is missing or not a database.
  FSession = std::make_unique<SqliteSession>(File, TSqliteOpenMode::OpenExisting);
  if (AfterConnect) AfterConnect(this);
}

void TADOConnection::Close() {
  if (!Connected()) return;
  DoDisconnect();
}

void TADOConnection::DoDisconnect() {
  if (BeforeDisconnect && !FComponentState.Contains(csDestroying)) BeforeDisconnect(this);
  // Copied: a dataset closing may leave the list.
  std::vector<TCustomADODataSet*> DataSets = FDataSets;
  for (TCustomADODataSet* DataSet : DataSets) DataSet->Close();
  FSession.reset();
  if (AfterDisconnect && !FComponentState.Contains(csDestroying)) AfterDisconnect(this);
}

SqliteSession& TADOConnection::CheckSession() {
  if (!Connected()) Open();
  return *FSession;
}

int TADOConnection::BeginTrans() {
  CheckSession().BeginTransaction();
  return 1;
}

void TADOConnection::CommitTrans() { CheckSession().Commit(); }

void TADOConnection::RollbackTrans() { CheckSession().Rollback(); }

int TADOConnection::Execute(const String& CommandText) { return CheckSession().Execute(CommandText); }

void TADOConnection::AddDataSet(TCustomADODataSet* DataSet) {
  if (std::find(FDataSets.begin(), FDataSets.end(), DataSet) == FDataSets.end()) FDataSets.push_back(DataSet);
}

void TADOConnection::RemoveDataSet(TCustomADODataSet* DataSet) { std::erase(FDataSets, DataSet); }
