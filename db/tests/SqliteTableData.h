// This file implements the data the tests of the engine-like table start from: a fresh SQLite
// file made by a script and a table of it, not yet opened.
#pragma once

#include <memory>

#include "ADODB.h"
#include "SqliteSession.h"
#include "Table.h"

class SqliteTableData {
 public:
  // Makes the file at Path with Script and points Table at TableName in it.
  void MakeTableData(const String& Path, const String& Script, const String& TableName) {
    {
      SqliteSession session(Path, TSqliteOpenMode::CreateIfMissing);
      session.ExecuteScript(Script);
    }
    Connection = std::make_unique<TADOConnection>(nullptr);
    Connection->LoginPrompt = false;
    Connection->SetConnectionString("Provider=Velbor.SQLite;Data Source=" + Path);
    Connection->Open();
    Table = std::make_unique<TTable>(nullptr);
    Table->SetConnection(Connection.get());
    Table->SetTableName(TableName);
  }

  // Frees the table, then the connection.
  void FreeTableData() {
    Table.reset();
    Connection.reset();
  }

  std::unique_ptr<TADOConnection> Connection;
  std::unique_ptr<TTable> Table;
};
