// This file implements the reading of database values as exchange fields and the error log
// written beside an imported file.
#pragma once

#include <vector>

#include "AnsiString.h"

class SqliteStatement;

namespace Exchange {

// The value of column Index of the current row as the format writes it: null empty, numbers in
// the general form, booleans 1 or 0, dates yyyy/mm/dd, text as stored.
String ColumnAsText(const SqliteStatement& Statement, int Index);

// The folder part of a path, with its final backslash.
String FolderOf(const String& Path);

// Saves the log lines (CR LF after each) as "erreur.log" beside ImportedFile, or deletes an older
// one when there are none.
void WriteErrorLog(const String& ImportedFile, const std::vector<String>& Lines);

}  // namespace Exchange
