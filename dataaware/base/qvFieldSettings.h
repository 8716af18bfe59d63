// This file implements the per-field settings lines that datasets and controls publish as string
// lists, one line per field, and the routines that read, write and purge them:
//   "Selected"     field TAB width TAB label [TAB read-only T/F [TAB group header]]
//   "PictureMasks" field TAB mask TAB auto-fill T/F TAB use-mask T/F
//   "ControlType"  field;kind[;parameters]
//   "LookupFields" calculated field;database;table;result field;index[;index fields...;flag]
//   "LookupLinks"  master field;lookup field[;...] on the line of the same index
// "Selected" and "PictureMasks" names match without regard to case; "ControlType" and
// "LookupFields" names match exactly. A missing trailing part reads as empty text, and a
// companion list that is shorter than its list (or absent) reads as empty lines.
#pragma once

#include <vector>

#include "AnsiString.h"

class TObject;
class TDataSet;
class TField;
class TStrings;

// The parts of a settings line; Part(i) is empty beyond the last.
class TqvLineParts {
 public:
  TqvLineParts(const String& Line, char Delimiter);
  int Count() const { return int(FParts.size()); }
  String Part(int Index) const;

 private:
  std::vector<String> FParts;
};

// Hides every field, then shows, places (field Index = line index) and labels the fields the
// lines name. The dataset's controls are disabled meanwhile and given back even when a width is
// not a number (EConvertError passes). A null list leaves every field hidden.
void qvApplySelectedToFields(TDataSet* DataSet, TStrings* List);
// name TAB width TAB label for each visible field, in field order.
void qvGetSelectedFromFields(TDataSet* DataSet, TStrings* List);
bool qvFindSelectedField(TStrings* List, const String& FieldName, int& Index);
// True when DataSet is a dataset with a field of that name (ASCII case ignored).
bool qvDataSetHasField(TObject* DataSet, const String& FieldName);

// The field's picture mask line of Component's "PictureMasks" (mask empty and both flags true
// when there is none). With UseTableMask, a table's stored picture takes precedence.
void qvGetPictureMaskInfo(TObject* Component, const String& FieldName, bool UseTableMask, String& Mask,
                          bool& AutoFill, bool& UseMask);
// Replaces, adds or (empty mask) deletes the field's line; parts whose Set flag is false keep
// their stored values.
void qvSetPictureMaskInfo(TObject* Component, const String& FieldName, const String& Mask, bool AutoFill,
                          bool UseMask, bool SetMask, bool SetAutoFill, bool SetUseMask);

// The kind and parameters of the last "ControlType" line of the field (both empty when none).
void qvGetControlType(TObject* Component, const String& FieldName, String& Kind, String& Params);

// The "LookupLinks" line of the field's first "LookupFields" line; empty when none.
String qvGetFieldLookupLinks(TDataSet* DataSet, const String& FieldName);
// The result field (part 3) of the field's first "LookupFields" line.
String qvGetFieldLookupField(TDataSet* DataSet, const String& FieldName);
// From the field's first "LookupFields" line of five parts or more; without one, Database is the
// dataset's DatabaseName and the others are empty. A field without dataset changes nothing.
void qvGetFieldLookupInfo(TField* Field, String& Database, String& Table, String& Links, String& ResultField);
// Deletes the "LookupFields" lines (with their "LookupLinks" lines) and the "ControlType" lines
// that name no field of the dataset. Any list may be null.
void qvPurgeFieldLists(TDataSet* DataSet, TStrings* LookupFields, TStrings* LookupLinks, TStrings* ControlType);

// The component whose "PictureMasks" ("ControlType") apply to Control: DataSet (or, when null,
// the dataset of the control's DataSource) when the control's PictureMaskFromDataSet
// (ControlInfoInDataSet) is true or absent and the dataset publishes the list; else Control.
TObject* qvGetPictureMaskSource(TObject* Control, TDataSet* DataSet);
TObject* qvGetControlInfoSource(TObject* Control, TDataSet* DataSet);
