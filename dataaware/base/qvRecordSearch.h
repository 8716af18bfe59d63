// This file implements the one record search of the data-aware library: a dataset moved to the
// first (or next) record whose field matches a value exactly, at its start or anywhere, with or
// without regard to case. The locate dialog, the grid's incremental search and the lookup
// controls all use it.
//
// The road taken. A text field searched from the first record for an exact or start match goes
// through the dataset's Locate on the program's SQLite datasets (or when asked). Every other
// search of a stored field of those datasets goes through their rows in memory (SearchRows), in
// the same order and with the same comparison. The key search of the engine-like tables comes
// with those tables (qvTableKeySearch). Anything else (calculated and lookup fields, other
// datasets) is read record by record, controls disabled. Whatever the road, a field's value is
// compared as its text (AsString), and a search that finds nothing leaves the dataset on the
// record it started from.
#pragma once

#include <string_view>

#include "AnsiString.h"
#include "TypInfo.h"

class TDataSet;
class TField;

enum TqvLocateMatchType { mtExactMatch, mtPartialMatchStart, mtPartialMatchAny };
VELBOR_ENUM(TqvLocateMatchType, "mtExactMatch", "mtPartialMatchStart", "mtPartialMatchAny")

// Whether Value matches Text. Without case, Value is compared upper-cased with the locale's
// routine and Text must come upper-cased already. Exact: the same text; start: Value begins with
// Text; anywhere: Value holds Text. An empty Text matches only an empty Value, exactly.
bool qvTextMatches(std::string_view Value, const String& Text, TqvLocateMatchType MatchType, bool CaseSensitive);

// Moves DataSet to a record whose field matches SearchValue: from the first record when
// FromBeginning, else from the record after the current one. False, the dataset back on its
// record, when none matches; "Field X not found." (a warning) and false for a missing field. A
// float, currency or decimal field searched exactly compares numbers ("12,50" finds 12.5; a text
// that is no number finds nothing). Errors raised by the dataset pass on, the dataset back where
// it was.
bool qvFindFieldValue(bool FromBeginning, TDataSet* DataSet, const String& FieldName, const String& SearchValue,
                      TqvLocateMatchType MatchType, bool CaseSensitive, bool UseLocate);

// True at once when the field's current value is Value (exact; case ignored unless
// CaseSensitive); otherwise the search from the first record.
bool qvLocateFieldValue(TDataSet* DataSet, const String& Value, const String& FieldName, TqvLocateMatchType MatchType,
                        bool CaseSensitive);

// The key search of the engine-like tables: a table whose active index leads with the field.
enum class TqvKeySearch {
  None,         // not a table, or its index does not serve: the search goes on
  Found,        // the table stands on the record found
  NotFound,     // no record matches
  ScanWhileMatching  // the search goes on from the current record and stops at the first mismatch
};
TqvKeySearch qvTableKeySearch(TDataSet* DataSet, TField* Field, const String& Text, TqvLocateMatchType MatchType,
                              bool CaseSensitive, bool FromBeginning);
