// This file implements the filter expressions of the in-memory table: TqmtFilterExpression, which
// parses a filter text into a tree of nodes, and the evaluator that computes a node's value for
// the record under test.
#pragma once

#include <vector>

#include "AnsiString.h"
#include "DBConsts.h"
#include "Variant.h"

// Node classes and operators of a compiled filter.
enum TqmtNodeClass {
  nkUnknown = 0,
  nkUnary = 1,
  nkBinary = 2,
  nkCompare = 3,
  nkField = 4,
  nkConst = 5,
  nkFunc = 10,
  nkListElem = 11
};

enum TqmtNodeOperator {
  coNOTDEFINED = 0,
  coISBLANK = 1,
  coNOTBLANK = 2,
  coEQ = 3,
  coNE = 4,
  coGT = 5,
  coLT = 6,
  coGE = 7,
  coLE = 8,
  coNOT = 9,
  coAND = 10,
  coOR = 11,
  coFIELD2 = 13,
  coCONST2 = 14,
  coMINUS = 15,
  coADD = 16,
  coSUB = 17,
  coMUL = 18,
  coDIV = 19,
  coMOD = 20,
  coREM = 21,
  coLIKE = 30,
  coIN = 31,
  coUPPER = 33,
  coLOWER = 34,
  coFUNC2 = 35,
  coLISTELEM2 = 36
};

struct TqmtFilterNode {
  int NodeClass = nkUnknown;
  int Operator = coNOTDEFINED;
  int Left = -1;   // first operand (or first argument / list element)
  int Right = -1;  // second operand
  int Next = -1;   // the next list element
  bool CaseInsensitive = false;  // text comparison
  int PartialLength = 0;         // text comparison: characters compared, 0 for all
  String Name;                   // field or function name
  int FieldIndex = -1;           // the field, resolved when parsed
  TFieldType ConstType = ftUnknown;
  Variant Value;                 // constant
};

// How a filter reaches the fields of the table it filters.
class TqmtFilterContext {
 public:
  virtual ~TqmtFilterContext() = default;
  // Resolves a field name (without regard to case); raises the dataset's field-not-found error.
  virtual int FilterFieldIndex(const String& Name) = 0;
  // The value of that field in the record under test (Null when null).
  virtual Variant FilterFieldValue(int FieldIndex) = 0;
};

// Options of the text, as the dataset's FilterOptions.
struct TqmtFilterParseOptions {
  bool CaseInsensitive = false;
  bool NoPartialCompare = false;
};

class TqmtFilterExpression {
 public:
  // Parses Text (raises EDatabaseError on a syntax error) and resolves its field names through
  // Context.
  TqmtFilterExpression(const String& Text, TqmtFilterParseOptions Options, TqmtFilterContext* Context);

  const String& Text() const { return FText; }
  int Root() const { return FRoot; }
  const std::vector<TqmtFilterNode>& Nodes() const { return FNodes; }
  std::vector<TqmtFilterNode>& Nodes() { return FNodes; }
  void SetRoot(int Value) { FRoot = Value; }
  // The value of a node for the record the context is on. The tree is walked without recursion.
  Variant Evaluate(int Node, TqmtFilterContext* Context) const;
  // The root's value as a Boolean (the variant conversion's error for Null or text).
  bool Accepts(TqmtFilterContext* Context) const;
  int AddNode(const TqmtFilterNode& N) {
    FNodes.push_back(N);
    return int(FNodes.size()) - 1;
  }

 private:
  // The function node N applied to its gathered arguments.
  Variant EvalFunction(const TqmtFilterNode& N, const Variant& Args) const;
  // The list elements from First on, following each element's next reference.
  std::vector<int> ListElements(int First) const;
  // The node at Index; "iClass Out of range" for an index outside the tree.
  const TqmtFilterNode& NodeAt(int Index) const;

  String FText;
  std::vector<TqmtFilterNode> FNodes;
  int FRoot = -1;
};

// The wildcard mask of the class library: '*' any run, '?' one character, [set] and [!set],
// without regard to case.
bool QmtMatchesMask(const String& Text, const String& Mask);
