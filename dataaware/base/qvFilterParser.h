// This file implements the filter-expression parser of the library's tables: a text such as
// `Nom = "Dupont" AND (Surface > 10 OR Code = 3)` read into a tree of TNode and written as the
// table engine's filter descriptor (db/FilterDescriptor.h).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "AnsiString.h"
#include "Object.h"

class TDataSet;

// One node of a parsed expression; owns its children.
class TNode : public TObject {
  VELBOR_DECLARE_CLASS(TNode, TObject)
 public:
  enum : std::uint8_t { nkComparison = 0, nkLogical = 1, nkArithmetic = 2, nkOperand = 3 };
  std::uint8_t Kind = nkOperand;
  // Of a constant operand: 1 text, 2 float, 3 date-time, 4 date, 5 time, 6 Boolean, 7 integer,
  // 8 BCD, 9 small integer; 0 writes the operand as a field reference.
  std::uint8_t ValueType = 0;
  int Decimals = 0;  // the size of a BCD field, for BCD constants
  String Text;
  int Offset = 0;  // in the descriptor's node area, set while writing
  std::unique_ptr<TNode> Left, Right;
};

// The value type of constants compared with a field of type Type (see TNode::ValueType).
std::uint8_t qvFilterValueType(int FieldType);

// Parses Text against the fields of Table and writes the descriptor; empty when the text does not
// parse, compares something that is not a field of the table (after the warning naming it), holds
// a constant that does not convert to the field's type, or needs more than the literal area holds.
// An unquoted right-hand side that names a field of the table compares the two fields.
std::vector<std::uint8_t> qvBuildFilterDescriptor(const String& Text, TDataSet* Table);

// The engine filters of the library's datasets (TDBDataSet of db/); a handle of 0 is none.
// Replaces the table's expression filter by one built from Text. A closed table without Force
// only drops it (its text is applied when it opens). An empty text drops it; a text that does
// not parse leaves the table without expression filter and answers false.
bool qvApplyTableFilter(const String& Text, TDataSet* Table, int& FilterHandle, bool Force);
// Drops the filter of the handle, when set, and clears the handle.
void qvDropTableFilter(TDataSet* Table, int& FilterHandle);
// Drops the dataset's current callback filter and, with a callback, installs it with the dataset
// as client data; an open dataset is read again. False for a dataset that has no engine filters.
bool qvSetFilterCallback(bool (*Callback)(void* ClientData, TDataSet* DataSet), TDataSet* DataSet,
                         void* ClientData, int& FilterHandle);
