// This file implements the bringing up to date of a database made by an earlier version of the
// program's schema (base/schema.sql): an operator's database is never replaced by a newer
// starting database, so what a newer schema adds reaches it here, when the program opens it.
#pragma once

#include <vector>

#include "AnsiString.h"

class SqliteSession;

// The version base/schema.sql writes (PRAGMA user_version).
inline constexpr int kVersionBase = 3;

// Brings a version 1 or 2 database to the current version, in one transaction; a database of any
// other version is left as it is. Version 2 adds the unique indexes that hold the detail keys
// with empty parts; version 3 the indexes of the species lists' order. A key that the rows already break cannot be added: the others are, the
// version stays (the next opening tries again) and the tables of the keys left out are answered.
// Any other failure leaves the database as it was and is raised.
std::vector<String> MettreBaseAJour(SqliteSession& Session);
