// This file implements the dictionary transfers: ExportDictionnaires writes the 32 reference
// dictionaries to a dictionary exchange file, ImportDictionnaires brings them up to date from one.
#pragma once

#include "DateTime.h"
#include "ExchangeHost.h"

class SqliteSession;

namespace Exchange {

// Writes every dictionary to Path (through Path + "2"; an existing Path is replaced only when the
// whole file is written). Today is the date of the DEB record.
TExchangeResult ExportDictionnaires(SqliteSession& Session, const String& Path, TDateTime Today, IExchangeHost& Host);

// Adds or changes dictionary rows by code, never deletes. Each refused row is listed in
// "erreur.log" beside the file and counted in the message; a clean run deletes an older log.
TExchangeResult ImportDictionnaires(SqliteSession& Session, const String& Path, IExchangeHost& Host);

}  // namespace Exchange
