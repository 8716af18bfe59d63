// This file implements the data most tests of data-aware controls start from: a fresh SQLite file
// made by a few statements, a connection to it, an editable query on it and its data source.
#pragma once

#include <initializer_list>
#include <memory>

#include "ADODB.h"
#include "SqliteSession.h"
#include "Strings.h"

class SqliteQueryData {
 public:
  // Makes the file at Path with Statements, then opens Select on it for editing.
  void OpenQueryData(const String& Path, std::initializer_list<String> Statements, const String& Select) {
    DatabasePath = Path;
    {
      SqliteSession session(DatabasePath, TSqliteOpenMode::CreateIfMissing);
      for (const String& statement : Statements) session.Execute(statement);
    }
    Connection = std::make_unique<TADOConnection>(nullptr);
    Connection->LoginPrompt = false;
    Connection->SetConnectionString("Provider=Velbor.SQLite;Data Source=" + DatabasePath + ";Mode=ReadWrite");
    Connection->Open();
    Query = std::make_unique<TADOQuery>(nullptr);
    Query->SetConnection(Connection.get());
    Query->SetLockType(ltOptimistic);
    Query->SQL()->SetText(Select);
    Query->Open();
    Source = std::make_unique<TDataSource>(nullptr);
    Source->SetDataSet(Query.get());
  }

  // Frees the data source, the query and the connection, in that order.
  void CloseQueryData() {
    Source.reset();
    Query.reset();
    Connection.reset();
  }

  String DatabasePath;
  std::unique_ptr<TADOConnection> Connection;
  std::unique_ptr<TADOQuery> Query;
  std::unique_ptr<TDataSource> Source;
};
