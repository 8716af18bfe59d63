// This file implements the SQL WHERE clause of the filter dialog's criteria: every value the
// operator typed is a bound parameter (never pasted into the text), every criterion and every
// alternative of a value is parenthesised, and the clause is merged into a SELECT statement
// around its existing condition.
#pragma once

#include <utility>
#include <vector>

#include "Variant.h"
#include "qvFilterCriteria.h"

struct TqvWhereOptions {
  TqvFieldOperators Operators;
  String UpperFunction = "Upper";
  bool QuoteFieldNames = false;  // quote every column name, not only those that need it
  char UpperRangePadChar = 'z';  // pads the end of a text range to the field's size
  String ParamPrefix = "qvWhere";
};

struct TqvWhereClause {
  // One line per connector (" and", "  and not", "  not") and per parenthesised criterion.
  std::vector<String> Lines;
  // The values, by parameter name (without ':'), in order of use.
  std::vector<std::pair<String, Variant>> Params;
  // The lines joined by blanks: the condition to put after WHERE.
  String Text() const;
};

// The clause of Criteria, their fields looked up in Catalogue by FieldName (ignoring case), or by
// the display label for a criterion without a field name. EDatabaseError for a field missing from
// the catalogue ("TqvFilterDialog: Field not found (name)") and for a value that is not of the
// field's type (a number, a date, a Boolean: "Invalid value for name: value").
TqvWhereClause qvBuildWhereClause(const std::vector<TqvFieldInfo>& Criteria,
                                  const std::vector<TqvDBFieldInfo>& Catalogue, const TqvWhereOptions& Options);

// Sql with Condition added: "... WHERE (existing) AND (Condition) GROUP BY ...", or a WHERE clause
// of its own before the first GROUP, HAVING, UNION, ORDER, ... of the statement's own level, or at
// the end. Keywords inside parentheses (sub-queries), literals, quoted names and comments are
// passed over. An empty condition leaves Sql unchanged.
String qvMergeWhereClause(const String& Sql, const String& Condition);
