// This file implements the by-name access to other components' published properties that the
// data-aware library uses instead of class tests: a component takes part in a feature by
// publishing a property of the expected name and kind. A missing property (or one of another
// kind) gives the getter's default, and a setter answers false and changes nothing. Single
// property names only; dotted paths are not followed. A null object behaves as one without the
// property.
#pragma once

#include "AnsiString.h"
#include "Event.h"
#include "TypInfo.h"

class TDataSet;
class TDataSource;
class TField;
class TList;
class TParams;
class TStrings;

using TqvInvalidValueEvent = TEvent<void(TDataSet* DataSet, TField* Field)>;

// Events: only a handler that is assigned (and, for OnInvalidValue, of its signature) is given.
TqvInvalidValueEvent qvGetInvalidValueEvent(TObject* DataSet);
TMethod qvGetPerformCustomSearchEvent(TObject* Component);
// Event is left untouched when the property is absent.
void qvGetCalcCellColorsEvent(TObject* Control, TMethod& Event);

// The per-field settings lists.
TStrings* qvGetPictureMasks(TObject* Component);
TStrings* qvGetControlTypeList(TObject* Component);
TStrings* qvGetLookupFields(TObject* DataSet);
TStrings* qvGetLookupLinks(TObject* DataSet);

int qvGetCursorLocation(TObject* DataSet);
bool qvSetCursorLocation(TObject* DataSet, int Value);
bool qvSetMaxRecords(TObject* DataSet, int Value);
// True when the control has no such property.
bool qvGetControlInfoInDataSet(TObject* Control);
bool qvGetPictureMaskFromDataSet(TObject* Control);

String qvGetDatabaseName(TObject* DataSet);
bool qvSetDatabaseName(TObject* DataSet, const String& Value);
TObject* qvGetConnection(TObject* DataSet);
bool qvSetConnection(TObject* DataSet, TObject* Value);
String qvGetConnectionString(TObject* DataSet);
bool qvSetConnectionString(TObject* DataSet, const String& Value);
TObject* qvGetDatabaseObject(TObject* DataSet);
bool qvSetDatabaseObject(TObject* DataSet, TObject* Value);
String qvGetTableName(TObject* DataSet);
String qvGetSessionName(TObject* DataSet);
bool qvSetSessionName(TObject* DataSet, const String& Value);
TDataSource* qvGetMasterSource(TObject* DataSet);
TDataSet* qvGetDataSetProperty(TObject* Component);
TParams* qvGetParams(TObject* DataSet);
// Assigns Value into the dataset's own parameter list.
bool qvSetParams(TObject* DataSet, TParams* Value);

// "AlwaysTransparent", else "Transparent".
bool qvGetTransparent(TObject* Control);
TDataSource* qvGetControlDataSource(TObject* Control);
// The two below and qvGetControlDataField act on windowed controls only.
bool qvSetControlDataSource(TObject* Control, TDataSource* Value);
String qvGetControlDataField(TObject* Control);
bool qvSetControlDataField(TObject* Control, const String& Value);
// Single border (1) or none (0).
bool qvSetControlBorderStyle(TObject* Control, bool Single);
bool qvHasBorder(TObject* Control);
bool qvGetWantReturns(TObject* Control);
bool qvGetEditCalculated(TObject* Control);
long long qvGetOrdPropByName(TObject* Component, const String& Name);
TList* qvGetControlList(TObject* Controller);

// Assigns a copy of List to the property Name of DataSet (of its inner DataSet for a
// "TSimpleDataSet"): a string-list property receives the copy (true; its setter must copy the
// lines, the copy is freed afterwards), a string property the lines joined with CR LF (false).
bool qvSetStringsProperty(TObject* DataSet, TStrings* List, const String& Name);
