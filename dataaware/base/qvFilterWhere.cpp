// This file implements the WHERE clause builder and its merging into a SELECT statement.
#include "qvFilterWhere.h"

#include <cmath>

#include "DataSet.h"
#include "DateTimeFormat.h"
#include "FloatFormat.h"
#include "FormatSettings.h"
#include "SqlTokens.h"
#include "StrUtils.h"
#include "TextOrder.h"

String TqvWhereClause::Text() const {
  String Result;
  for (const String& Line : Lines) Result += (Result.empty() ? "" : " ") + Line;
  return Result;
}

namespace {
enum class TKind { Integer, Float, Boolean, Date, Time, DateTime, Text, Other };

TKind KindOf(TFieldType Type) {
  switch (Type) {
    case ftSmallint: case ftInteger: case ftWord: case ftAutoInc: case ftLargeint: return TKind::Integer;
    case ftFloat: case ftCurrency: case ftBCD: case ftFMTBcd: return TKind::Float;
    case ftBoolean: return TKind::Boolean;
    case ftDate: return TKind::Date;
    case ftTime: return TKind::Time;
    case ftDateTime: case ftTimeStamp: return TKind::DateTime;
    case ftString: case ftFixedChar: case ftWideString: case ftMemo: case ftFmtMemo: case ftGuid: return TKind::Text;
    default: return TKind::Other;
  }
}

// A name that SQL reads as an identifier without quotes.
bool IsPlainName(const String& Name) {
  if (Name.empty() || (Name[0] >= '0' && Name[0] <= '9')) return false;
  for (char C : Name)
    if (!((C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || (C >= '0' && C <= '9') || C == '_')) return false;
  return true;
}

// Half a millisecond, in days: the tolerance of a stored time against the one typed.
constexpr double HalfMSec = 0.5 / MSecsPerDay;

class TWhereBuilder {
 public:
  TWhereBuilder(const std::vector<TqvDBFieldInfo>& Catalogue, const TqvWhereOptions& Options)
      : FCatalogue(Catalogue), FOptions(Options) {}

  TqvWhereClause Build(const std::vector<TqvFieldInfo>& Criteria) {
    for (std::size_t i = 0; i < Criteria.size(); ++i) Criterion(Criteria[i], i == 0);
    return std::move(FClause);
  }

 private:
  String Quote(const String& Name) const {
    return FOptions.QuoteFieldNames || !IsPlainName(Name) ? QuoteSql(Name) : Name;
  }
  const TqvDBFieldInfo& Find(const TqvFieldInfo& Criterion) const {
    String Name = Criterion.FieldName.empty() ? Criterion.DisplayLabel : Criterion.FieldName;
    for (const TqvDBFieldInfo& Entry : FCatalogue)
      if (AnsiSameText(Entry.FieldName, Name)) return Entry;
    if (Criterion.FieldName.empty())
      for (const TqvDBFieldInfo& Entry : FCatalogue)
        if (AnsiSameText(Entry.DisplayLabel, Name)) return Entry;
    DatabaseError("TqvFilterDialog: Field not found (" + Name + ")");
  }
  String Param(const Variant& Value) {
    String Name = FOptions.ParamPrefix + IntToStr(int(FClause.Params.size()) + 1);
    FClause.Params.emplace_back(Name, Value);
    return ":" + Name;
  }
  [[noreturn]] static void Invalid(const TqvDBFieldInfo& Field, const String& Value) {
    DatabaseError("Invalid value for " + Field.FieldName + ": " + Value);
  }

  void Criterion(const TqvFieldInfo& C, bool First) {
    const TqvDBFieldInfo& Field = Find(C);
    String F = Field.TableName.empty() ? Quote(Field.SQLFieldName)
                                       : Quote(Field.TableName) + "." + Quote(Field.SQLFieldName);
    String Clause;
    if (C.MatchType == fdMatchRange) {
      Clause = Range(C, Field, F);
      if (Clause.empty()) return;  // both ends open: nothing to test
      if (!First) FClause.Lines.push_back(" and");
    } else if (C.MatchType <= fdMatchEnd) {
      Clause = Value(C, Field, F);
      if (Clause.empty()) return;
      if (C.NonMatching) FClause.Lines.push_back(First ? "  not" : "  and not");
      else if (!First) FClause.Lines.push_back(" and");
    } else {
      return;
    }
    FClause.Lines.push_back(Clause);
  }

  // "(part or part ...)": each part one parenthesised test.
  String Value(const TqvFieldInfo& C, const TqvDBFieldInfo& Field, const String& F) {
    String Joining = qvFindValueOperator(C.FilterValue, FOptions.Operators);
    bool Or = !Joining.empty() && AnsiSameText(Joining, FOptions.Operators.OrChar);
    String Result;
    for (String Part : qvValueParts(C.FilterValue, Joining, FOptions.Operators)) {
      String Test = AnsiSameText(Part, FOptions.Operators.NullChar) ? F + " is NULL" : PartTest(C, Field, F, Part);
      Result += (Result.empty() ? "" : Or ? " or " : " and ") + ("(" + Test + ")");
    }
    return Result.empty() ? Result : "(" + Result + ")";
  }

  String PartTest(const TqvFieldInfo& C, const TqvDBFieldInfo& Field, const String& F, const String& Part) {
    switch (KindOf(Field.FieldType)) {
      case TKind::Integer: {
        long long V;
        if (!TryStrToInt64(Part, V)) Invalid(Field, Part);
        return F + " = " + Param(Variant(V));
      }
      case TKind::Float: {
        double V;
        if (!TryStrToFloat(Part, V)) Invalid(Field, Part);
        return F + " = " + Param(Variant(V));
      }
      case TKind::Boolean: {
        // Stored as 0 and 1 (or -1 by older writers): any non-zero value is true.
        String U = AnsiUpperCase(Part);
        if (U == "TRUE" || U == "VRAI" || U == "1" || U == "-1") return F + " <> 0";
        if (U == "FALSE" || U == "FAUX" || U == "0") return F + " = 0";
        Invalid(Field, Part);
      }
      case TKind::Date: case TKind::DateTime: case TKind::Time: {
        TDateTime V;
        bool Time = KindOf(Field.FieldType) == TKind::Time;
        if (!(Time ? TryStrToTime(Part, V) : TryStrToDateTime(Part, V))) Invalid(Field, Part);
        // A date alone stands for the whole day.
        if (!Time && !HasTime(Part))
          return F + " >= " + Param(Variant(V)) + " and " + F + " < " + Param(Variant(V + 1));
        return F + " >= " + Param(Variant(V - HalfMSec)) + " and " + F + " < " +
               Param(Variant(V + HalfMSec));
      }
      default:
        return TextTest(C, F, Part);
    }
  }

  static bool HasTime(const String& Text) { return Text.find(FormatSettings.TimeSeparator) != String::npos; }

  // Text: a case-insensitive test compares upper-cased texts with LIKE (its wildcards in the value
  // escaped); a case-sensitive one uses GLOB, which tells case apart (its wildcards escaped too).
  String TextTest(const TqvFieldInfo& C, const String& F, const String& Part) {
    if (C.CaseSensitive) {
      String Pattern;
      for (char Ch : Part) {
        if (Ch == '*' || Ch == '?' || Ch == '[') Pattern += String("[") + Ch + "]";
        else Pattern += Ch;
      }
      if (C.MatchType == fdMatchStart || C.MatchType == fdMatchAny) Pattern += "*";
      if (C.MatchType == fdMatchAny || C.MatchType == fdMatchEnd) Pattern = "*" + Pattern;
      return F + " GLOB " + Param(Variant(Pattern));
    }
    String U = FOptions.UpperFunction + "(" + F + ")";
    String Value = AnsiUpperCase(Part);
    if (C.MatchType == fdMatchExact) return U + " = " + Param(Variant(Value));
    String Pattern;
    for (char Ch : Value) {
      if (Ch == '%' || Ch == '_' || Ch == '\\') Pattern += '\\';
      Pattern += Ch;
    }
    if (C.MatchType == fdMatchStart || C.MatchType == fdMatchAny) Pattern += "%";
    if (C.MatchType == fdMatchAny || C.MatchType == fdMatchEnd) Pattern = "%" + Pattern;
    return U + " LIKE " + Param(Variant(Pattern)) + " ESCAPE '\\'";
  }

  String Range(const TqvFieldInfo& C, const TqvDBFieldInfo& Field, const String& F) {
    String Min = C.MinValue, Max = C.MaxValue;
    Variant Low, High;
    bool HighExclusive = false;
    TKind Kind = KindOf(Field.FieldType);
    auto Number = [&](const String& Text, Variant& Out) {
      if (Text.empty()) return;
      double V;
      if (!TryStrToFloat(Text, V)) Invalid(Field, Text);
      Out = Variant(V);
    };
    auto Moment = [&](const String& Text, Variant& Out, bool End) {
      if (Text.empty()) return;
      TDateTime V;
      bool Time = Kind == TKind::Time;
      if (!(Time ? TryStrToTime(Text, V) : TryStrToDateTime(Text, V))) Invalid(Field, Text);
      // An end given as a date alone takes in the whole of that day.
      if (End && !Time && !HasTime(Text)) {
        V += 1;
        HighExclusive = true;
      }
      Out = Variant(V);
    };
    switch (Kind) {
      case TKind::Text:
        if (!Min.empty()) Low = Variant(Min);
        if (!Max.empty()) High = Variant(qvPadUpperRange(Max, Field.Size, FOptions.UpperRangePadChar));
        break;
      case TKind::Integer: case TKind::Float: case TKind::Boolean:
        Number(Min, Low);
        Number(Max, High);
        break;
      case TKind::Date: case TKind::Time: case TKind::DateTime:
        Moment(Min, Low, false);
        Moment(Max, High, true);
        break;
      default:
        return String();
    }
    String Result;
    if (!VarIsEmpty(Low)) Result = "(" + F + " >= " + Param(Low) + ")";
    if (!VarIsEmpty(High))
      Result += (Result.empty() ? "" : " and ") + ("(" + F + (HighExclusive ? " < " : " <= ") + Param(High) + ")");
    return Result.empty() ? Result : "(" + Result + ")";
  }

  const std::vector<TqvDBFieldInfo>& FCatalogue;
  const TqvWhereOptions& FOptions;
  TqvWhereClause FClause;
};

bool IsClauseKeyword(const TSqlToken& T) {
  for (const char* Word : {"WHERE", "GROUP", "HAVING", "UNION", "PLAN", "ORDER", "FOR", "LIMIT", "EXCEPT", "INTERSECT", "WINDOW"})
    if (T.IsWord(Word)) return true;
  return false;
}
}  // namespace

TqvWhereClause qvBuildWhereClause(const std::vector<TqvFieldInfo>& Criteria,
                                  const std::vector<TqvDBFieldInfo>& Catalogue, const TqvWhereOptions& Options) {
  return TWhereBuilder(Catalogue, Options).Build(Criteria);
}

String qvMergeWhereClause(const String& Sql, const String& Condition) {
  if (Condition.empty()) return Sql;
  std::vector<TSqlToken> Tokens = TokenizeSql(Sql);
  // The clause keywords of the statement's own level.
  int Depth = 0, Where = -1, After = -1;
  for (int i = 0; i < int(Tokens.size()); ++i) {
    const TSqlToken& T = Tokens[std::size_t(i)];
    if (T.IsSymbol("(")) ++Depth;
    else if (T.IsSymbol(")")) --Depth;
    else if (Depth == 0 && T.Kind == TSqlTokenKind::Word && IsClauseKeyword(T)) {
      if (Where < 0 && T.IsWord("WHERE")) {
        Where = i;
      } else {
        After = i;
        break;
      }
    }
  }
  // The end of the text's meaningful part, before trailing blanks, comments and ";".
  std::size_t End = Sql.size();
  for (int i = int(Tokens.size()) - 1; i >= 0; --i) {
    const TSqlToken& T = Tokens[std::size_t(i)];
    if (T.Kind == TSqlTokenKind::End || T.IsSpace() || T.IsSymbol(";")) {
      End = T.Start;
      continue;
    }
    break;
  }
  std::size_t Stop = After >= 0 ? Tokens[std::size_t(After)].Start : End;
  String Tail = Sql.substr(Stop);
  if (Where >= 0) {
    std::size_t From = Tokens[std::size_t(Where)].Stop;
    String Existing = Trim(Sql.substr(From, Stop - From));
    return Sql.substr(0, Tokens[std::size_t(Where)].Start) + "WHERE (" + Existing + ") AND (" + Condition + ")" +
           (After >= 0 ? " " : "") + Tail;
  }
  String Head = TrimRight(Sql.substr(0, Stop));
  return Head + " WHERE (" + Condition + ")" + (After >= 0 ? " " : "") + Tail;
}
