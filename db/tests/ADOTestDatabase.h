// This file implements the fixture of the connection and dataset tests: the program's schema and
// test rows in a real database file of a temporary folder, a connection to it, and reading the
// file back through a session of its own, as another program would.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "ADODB.h"
#include "Field.h"
#include "SqliteSession.h"
#include "TestDatabase.h"
#include "TestFolder.h"

class ADOTest : public TestFolder {
 protected:
  void SetUp() override {
    TestFolder::SetUp();
    DatabasePath = PathOf("velbor.mdb");
    ASSERT_TRUE(OsPort::CopyFile(Template().Path, DatabasePath, true));
    Connection = std::make_unique<TADOConnection>(nullptr);
    Connection->LoginPrompt = false;
    Connection->SetConnectionString(ConnectionStringFor(DatabasePath));
    Connection->Open();
  }
  void TearDown() override {
    Connection.reset();
    TestFolder::TearDown();
  }

  // The schema and test rows are made once (each statement of the schema is a transaction written
  // to disk); every test works on its own copy.
  struct TTemplate {
    String Path;
    TTemplate() {
      Path = OsPort::TempFolder() + "velbor-ado-" + std::to_string(std::random_device()()) + ".mdb";
      SqliteSession Session(Path, TSqliteOpenMode::CreateIfMissing);
      TestDatabase::CreateSchema(Session);
      TestDatabase::LoadFixture(Session);
    }
    ~TTemplate() { OsPort::DeleteFile(Path); }
  };
  static const TTemplate& Template() {
    static const TTemplate Made;
    return Made;
  }

  static String ConnectionStringFor(const String& File) {
    return "Provider=Velbor.SQLite;User ID=Admin;Data Source=" + File + ";Mode=ReadWrite;Extended Properties=\"\"";
  }

  // The first column of the first row of Sql, read from the file by a session of its own.
  Variant ReadBack(const String& Sql) {
    SqliteSession Session(DatabasePath);
    SqliteStatement Statement = Session.Prepare(Sql);
    return Statement.Step() ? Statement.ColumnValue(0) : Variant();
  }
  int CountOf(const String& Sql) { return ReadBack(Sql).AsInteger(); }

  // A dataset of the connection over Text, opened.
  std::unique_ptr<TADODataSet> OpenDataSet(const String& Text, TADOLockType LockType = ltOptimistic) {
    auto DataSet = std::make_unique<TADODataSet>(nullptr);
    DataSet->SetConnection(Connection.get());
    DataSet->SetLockType(LockType);
    DataSet->SetCommandText(Text);
    DataSet->Open();
    return DataSet;
  }

  String DatabasePath;
  std::unique_ptr<TADOConnection> Connection;
};
