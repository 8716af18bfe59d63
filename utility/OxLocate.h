// This file implements the record-locate object of the dataset lookup controls: TOxLocateObject
// (makes the row whose field matches a text the current row), its factory LocateObjectFactory with
// NewLocateObject, and TOxDBLocate, the kind the factory makes, which checks that the text converts
// to the field's type before any row is visited.
#pragma once

#include "DataSet.h"

class TField;

class TOxLocateObject : public TObject {
  VELBOR_DECLARE_CLASS(TOxLocateObject, TObject)
 public:
  TOxLocateObject() = default;

  // Properties.
  TDataSet* DataSet() const { return SearchDataSet; }
  // DataSetChanged first, then the new dataset is kept (not owned).
  void SetDataSet(TDataSet* Value);
  // May an index serve a search on a field that is not indexed (the lookup controls copy theirs).
  bool IndexSwitch = true;

  // Operations.
  // Makes the row whose field FieldName matches Value the current row of the dataset: the whole
  // value when Exact, a prefix otherwise. False when nothing matches, the cursor then back where it
  // was. A field name the dataset lacks raises its error.
  bool Locate(const String& FieldName, const String& Value, bool Exact, bool CaseSensitive);
  // The field's text in the current row against SearchText (cut to its length for a prefix search),
  // in the text order, with or without case.
  bool MatchesCurrent(TField* Field);

 protected:
  // Overridables, in the order a search consults them.
  virtual void CheckValue(TField* Field);
  virtual void DataSetChanged() {}
  virtual bool LocateByFilter();
  virtual bool LocateByKey() { return false; }
  virtual bool LocateByScan();
  virtual bool CanUseKey() { return false; }
  virtual bool CanUseFilter();

  // State of the search under way.
  TDataSet* SearchDataSet = nullptr;
  TField* SearchField = nullptr;
  String SearchText;
  bool WholeValue = false;
  bool MatchCase = false;
  TBookmark StartRecord;
};

// The factory of the locate objects; this unit points it at a maker of TOxDBLocate.
using TOxLocateObjectFactory = TOxLocateObject* (*)();
extern TOxLocateObjectFactory LocateObjectFactory;

// A new locate object (the caller owns it) from LocateObjectFactory, or a plain TOxLocateObject
// when the factory is empty; attached to DataSet when one is given.
TOxLocateObject* NewLocateObject(TDataSet* DataSet = nullptr);

// The locate object of the program. The SQLite datasets have no engine cursor to clone and no
// engine index to seek, so searches go the base way; what it adds is the check that the text
// converts to the field's type, so that a search for "abc" in a number field fails before any row
// is read.
class TOxDBLocate : public TOxLocateObject {
  VELBOR_DECLARE_CLASS(TOxDBLocate, TOxLocateObject)
 public:
  TOxDBLocate() = default;

 protected:
  void CheckValue(TField* Field) override;
};
