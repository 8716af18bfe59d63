// This file implements the filter dialog's local filtering: TqvRecordFilter tests every record a
// dataset fetches against the criteria, as its record-filter handler, and lets the operator stop
// a long pass with Escape.
#pragma once

#include <vector>

#include "DataSet.h"
#include "Event.h"
#include "Object.h"
#include "qvFilterCriteria.h"

// The first say on every record: Accept false rejects it; DefaultFiltering false accepts or
// rejects it by Accept alone, without the criteria.
using TqvOnAcceptFilterRecord = TEvent<void(TObject* Sender, TDataSet* DataSet, bool& Accept, bool& DefaultFiltering)>;
using TqvFilterEscapeEvent = TEvent<void(TDataSet* DataSet)>;

class TqvRecordFilter : public TObject {
  VELBOR_DECLARE_CLASS(TqvRecordFilter, TObject)
 public:
  TqvRecordFilter() = default;

  std::vector<TqvFieldInfo> Criteria;
  TqvFieldOperators Operators;
  double Epsilon = 0.0001;       // widens floating-point ranges
  char UpperRangePadChar = 'z';  // pads the end of a text range to the field's size
  bool CancelOnEscape = true;    // look for Escape every hundred records
  TqvOnAcceptFilterRecord OnAcceptFilterRecord;
  TqvFilterEscapeEvent OnFilterEscape;

  // Points DataSet's record filter at this object and filters it; with no criteria the dataset
  // is left unfiltered.
  void Install(TDataSet* DataSet);
  // Whether Escape stopped the last pass (reset by Install and Reset).
  bool Cancelled() const { return FCancelled; }
  void Reset() {
    FCancelled = false;
    FCallCount = 0;
  }

  // The record-filter handler.
  void FilterRecord(TDataSet* DataSet, bool& Accept);
  // The test of one criterion on the record under test.
  bool MatchCriterion(TDataSet* DataSet, const TqvFieldInfo& Criterion);

 private:
  bool MatchValue(TField* Field, const TqvFieldInfo& C);
  bool MatchRange(TField* Field, const TqvFieldInfo& C);
  bool FCancelled = false;
  int FCallCount = 0;
};

// Whether a value part and a field's text stand for the same value of the field's type.
bool qvFilterValuesEqual(const String& Part, const String& Text, TFieldType Type, const String& NullChar);
