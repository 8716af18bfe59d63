// This file implements the making of test databases: the program's schema alone, or with the test
// rows of fixture.sql, in a file opened by the engine layer as the program opens its own.
//
// A test program that uses it links the CMake target velbor_test_database, which gives the
// folder of base/ (VELBOR_BASE_SOURCE_DIR) and the starting database (VELBOR_STARTING_DATABASE).
#pragma once

#include <string>

#include "Exceptions.h"
#include "OsPort.h"
#include "SqliteSession.h"

namespace TestDatabase {

// The Windows path of a file of base/ given by its path below that folder ("tests/fixture.sql").
inline String BasePath(const char* RelativePath) {
  return OsPort::WindowsPath(std::string(VELBOR_BASE_SOURCE_DIR) + "/" + RelativePath);
}

// The Windows path of the starting database the build made (not the copy beside the program).
inline String StartingDatabasePath() { return OsPort::WindowsPath(VELBOR_STARTING_DATABASE); }

// A SQL file of base/, UTF-8 on disk, as 1252 text, which is what the session takes.
inline String ReadSql(const char* RelativePath) {
  String path = BasePath(RelativePath);
  OsPort::FileHandle file = OsPort::OpenFile(path, OsPort::fmOpenRead | OsPort::fmShareDenyNone);
  if (file == OsPort::InvalidHandle) throw EFOpenError("Impossible d'ouvrir " + path + " : " + OsPort::LastErrorMessage());
  std::string bytes(std::size_t(OsPort::SeekFile(file, 0, OsPort::SeekOrigin::End)), '\0');
  OsPort::SeekFile(file, 0, OsPort::SeekOrigin::Begin);
  std::int64_t read = OsPort::ReadFile(file, bytes.data(), std::int64_t(bytes.size()));
  OsPort::CloseFile(file);
  if (read != std::int64_t(bytes.size())) throw EReadError("Lecture incomplète de "_a + path);
  return Utf8ToAnsi(bytes);
}

inline void CreateSchema(SqliteSession& Session) { Session.ExecuteScript(ReadSql("schema.sql")); }

// Three wetlands and rows in every table (see the head of fixture.sql); the schema must be there.
inline void LoadFixture(SqliteSession& Session) { Session.ExecuteScript(ReadSql("tests/fixture.sql")); }

}  // namespace TestDatabase
