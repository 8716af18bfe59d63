// This file implements the lookup tables of the library's dataset classes: the tables named by a
// dataset's "LookupFields" lines, opened once and reused, positioned on the link values of the
// current record (the "LookupLinks" line of the same index) to fill calculated fields, kept in step
// with one field for a lookup list, and positioned on the values of a record being filtered.
//
// The tables are the library's table class, made by registered class name (qvLookupTableClassName)
// and reached through IqvLookupTable; the datasets that keep lookup tables answer
// IqvLookupTableOwner. A dataset of any other class has no lookup tables.
#pragma once

#include <vector>

#include "AnsiString.h"
#include "Event.h"

class TDataSet;
class TField;
class TParam;
class TStrings;

// What the lookup resolution needs of a table, and what it keeps on it.
class IqvLookupTable {
 public:
  virtual ~IqvLookupTable() = default;
  // The table as a dataset.
  virtual TDataSet* LookupDataSet() = 0;
  virtual String DatabaseName() = 0;
  virtual void SetDatabaseName(const String& Value) = 0;
  virtual String TableName() = 0;
  virtual void SetTableName(const String& Value) = 0;
  virtual String IndexName() = 0;
  virtual void SetIndexName(const String& Value) = 0;
  // The fields of the active index (0: none).
  virtual int IndexFieldCount() = 0;
  // The name of the index over Fields (";"-separated), case ignored; empty when none.
  virtual String IndexForFieldsAnyCase(const String& Fields) = 0;
  // Makes the index over Fields the active one; false when there is none.
  virtual bool SelectIndexForFields(const String& Fields) = 0;
  // Moves to the record whose first index fields hold Values; false (and no move) when none does.
  virtual bool FindKey(const std::vector<String>& Values) = 0;
  virtual void SetReadOnly(bool Value) = 0;

  // The "LookupLinks" line the table serves.
  String LookupLinksKey;
  // Positioned in the current calculation pass, and whether a record was found then.
  bool PassPositioned = false;
  bool PassFound = false;
  // Set while the table is being positioned, or its index switched for a lookup list.
  bool InLookupLink = false;
  bool IgnoreMasterLink = false;
  // Its opening failed once (and was reported then).
  bool OpenFailed = false;
};

using TqvLookupTableList = std::vector<IqvLookupTable*>;

// The datasets that keep lookup tables.
class IqvLookupTableOwner {
 public:
  virtual ~IqvLookupTableOwner() = default;
  virtual TqvLookupTableList& LookupTableList() = 0;
};

// The value of a field in the record under evaluation (a filter callback's record).
using TqvParamCallback = TEvent<TParam*(const String& FieldName)>;

// The registered class the lookup tables are made of.
extern String qvLookupTableClassName;

// The dataset's list of lookup tables; null for a dataset that keeps none.
TqvLookupTableList* qvGetLookupTableList(TDataSet* DataSet);
// Whether Table is the one a split "LookupFields" line names (database and table; a table name
// is cut before its first "." when the line has six parts or more and ends with "N").
bool qvLookupTableMatches(IqvLookupTable* Table, const std::vector<String>& Parts);

// Fills the dataset's lookup fields for its current record (from the dataset's OnCalcFields):
// each "LookupFields" line's table, made and opened the first time, is positioned once per pass
// for its links and gives the line's result field. A table that cannot be made or opened is
// reported once (a warning) and leaves its fields empty; it is tried again on later passes.
void qvCalcLookupFields(TDataSet* Set, TStrings* LookupFields, TStrings* LookupLinks, TqvLookupTableList& Tables);
// Positions Table on the master's link values: a key search on its active index with the values
// of the master fields at the even parts of Links, or a value search of part 1 when the index has
// no field. False for a count of parts other than 2 .. 12 in pairs.
bool qvPositionLookupTable(IqvLookupTable* Table, TDataSet* Master, const std::vector<String>& Links);
// Selects the table's index for the lookup field FieldName and positions it; FirstLinkField is the
// master field of the first pair. False when the field has no line, or a link field is missing
// (the lookup field is then hidden).
bool qvSyncLookupTable(TDataSet* Set, IqvLookupTable* Table, const String& FieldName, String& FirstLinkField);
// The open table of a lookup field positioned on its link value: ResultField becomes the table's
// result field (Field itself when there is none) and LinkValue the link value.
bool qvFindLookupRecord(TField* Field, String& LinkValue, TField*& ResultField);
// The field holding a lookup field's value for the record under evaluation; null when none.
TField* qvResolveLookupValue(TDataSet* Set, TField* Field, TqvParamCallback ParamCallback);
bool qvPositionLookupTableByParams(TDataSet* Set, TDataSet* Table, const std::vector<String>& Pairs,
                                   TqvParamCallback ParamCallback);
// Gives Param the field's value with the field's type: texts whole, however long; small
// integers, integers, Booleans, floats, currencies (BCD ones too), dates, times and date-times.
// A null field gives an empty text; other types leave the parameter as it is.
void qvFieldToParamData(TField* Field, TParam* Param);
// The text of a memo or blob field of the dataset's current record, at most MaxLength bytes and
// the filter's memo size; empty for MaxLength 0 or less.
String qvReadBlobText(TDataSet* Set, TField* Field, int MaxLength);
