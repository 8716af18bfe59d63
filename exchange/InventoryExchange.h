// This file implements the inventory transfers: ExportInventaire writes the wetlands of a code
// range, with all their detail rows, to an inventory exchange file; ImportInventaire reads one in.
#pragma once

#include "DateTime.h"
#include "ExchangeHost.h"

class SqliteSession;

namespace Exchange {

// Writes the wetlands whose codes lie between FirstCode and LastCode (an empty bound is open), in
// code order, to Path (quotes removed; the DEB record carries Path without its surrounding
// quotes). The file goes through Path + "2" and replaces Path only once complete, so a cancelled
// or failed run leaves an existing Path as it was. Today is the date of the DEB record. A value
// the format cannot carry refuses the whole export, naming the wetland and the field.
TExchangeResult ExportInventaire(SqliteSession& Session, const String& FirstCode, const String& LastCode,
                                 const String& Path, TDateTime Today, IExchangeHost& Host);

// Replaces every wetland of the file (its main row and its rows in the 31 exported detail tables)
// and adds the new ones, in one transaction. First a copy of the database, "sauvvelbor.mdb" beside
// it, is taken with SQLite's online backup. Any refused row, value that does not convert, failing
// delete or cancel rolls everything back (the copy is put back only if the rollback fails, and the
// message then says where it is). Refused rows are listed in "erreur.log" beside the file; the
// work list is kept as the file's path + "2" unless the import succeeds.
TExchangeResult ImportInventaire(SqliteSession& Session, const String& Path, IExchangeHost& Host);

}  // namespace Exchange
