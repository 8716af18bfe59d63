// This file implements the report engine's function libraries, the registry of function
// descriptions and the aggregate splitter.
#include "ZR_ClassFunctions.h"

#include "DataSet.h"
#include "DateTimeFormat.h"
#include "Field.h"
#include "FloatFormat.h"
#include "FormatSettings.h"
#include "StrUtils.h"
#include "TextOrder.h"
#include "ZR_ClassFactory.h"
#include "ZR_ClassGlobals.h"
#include "ZR_Intrp.h"
#include "ZR_Utils.h"

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TzrFunctionLibrary)
VELBOR_IMPLEMENT_CLASS(TzrStdFunctionLibrary)
VELBOR_IMPLEMENT_CLASS(TDatabaseFunctionLibrary)
VELBOR_IMPLEMENT_CLASS(TzrInstalledFunctions)
VELBOR_IMPLEMENT_ABSTRACT_CLASS(TAggregateFunctionsSplitter)

namespace {

Variant Evaluate(const Variant& Argument) { return zrGlobals().Parser()->Calculate(VarToStr(Argument)); }
String EvaluateText(const Variant& Argument) { return VarToStr(Evaluate(Argument)); }

TzrUserDialogs* Dialogs() {
  if (zrEngine.Dialogs == nullptr)
    throw EInvalidOperation("Aucune boîte de dialogue n'est disponible pour l'état"_a);
  return zrEngine.Dialogs;
}

// The class library's edit-mask formatting of a value whose literals are not stored. The mask is
// "picture;save-literals;blank"; the picture's characters:
//   L l A a C c 0 9 #   a character of the value
//   > <  <>             upper case, lower case, no change for what follows
//   \                   the next character is a literal
//   :  /                the time and date separators
//   _                   a blank
//   !                   a short value fills the last positions instead of the first
// Any other character is a literal. The value is placed as it is, without validation; positions
// left over show the blank character.
String FormatMaskText(const String& EditMask, const String& Value) {
  String picture = EditMask;
  char blank = ' ';
  bool saveLiterals = true;
  std::size_t last = picture.rfind(';');
  if (last != String::npos) {
    std::size_t previous = last > 0 ? picture.rfind(';', last - 1) : String::npos;
    if (previous != String::npos) {
      if (last + 1 < picture.size()) blank = picture[last + 1];
      saveLiterals = picture.substr(previous + 1, last - previous - 1) != "0";
      picture.resize(previous);
    }
  }

  // The picture as positions: each is either an input position or a literal.
  struct TPosition {
    bool Input;
    char Literal;
    int Case;  // 0 unchanged, 1 upper, 2 lower
  };
  std::vector<TPosition> positions;
  bool fillFromEnd = false;
  int caseMode = 0;
  for (std::size_t i = 0; i < picture.size(); ++i) {
    char c = picture[i];
    switch (c) {
      case '!': fillFromEnd = true; break;
      case '>':
        if (i + 1 < picture.size() && picture[i + 1] == '<') {
          caseMode = 0;
          ++i;
        } else {
          caseMode = 1;
        }
        break;
      case '<': caseMode = 2; break;
      case '\\':
        if (i + 1 < picture.size()) positions.push_back({false, picture[++i], 0});
        break;
      case 'L': case 'l': case 'A': case 'a': case 'C': case 'c': case '0': case '9': case '#':
        positions.push_back({true, 0, caseMode});
        break;
      case ':': positions.push_back({false, FormatSettings.TimeSeparator, 0}); break;
      case '/': positions.push_back({false, FormatSettings.DateSeparator, 0}); break;
      case '_': positions.push_back({false, ' ', 0}); break;
      default: positions.push_back({false, c, 0}); break;
    }
  }

  int inputs = 0;
  for (const TPosition& p : positions) inputs += p.Input ? 1 : 0;
  // Characters of the value for each input position.
  String chars;
  if (saveLiterals) {
    for (std::size_t i = 0; i < positions.size() && i < Value.size(); ++i)
      if (positions[i].Input) chars += Value[i];
  } else {
    chars = Value.substr(0, std::size_t(inputs));
  }
  int skip = fillFromEnd ? inputs - int(chars.size()) : 0;

  String out;
  int input = 0;
  for (const TPosition& p : positions) {
    if (!p.Input) {
      out += p.Literal;
      continue;
    }
    int k = input++ - skip;
    if (k < 0 || k >= int(chars.size())) {
      out += blank;
      continue;
    }
    char c = chars[std::size_t(k)];
    if (p.Case == 1) c = AnsiUpperChar(c);
    if (p.Case == 2) c = AnsiLowerChar(c);
    out += c;
  }
  return out;
}

// Field separator of aggregate keys.
constexpr char kKeySeparator = '\x01';

// The data band type that a band of this type belongs to.
int OwningDataBand(int BandType) {
  switch (BandType) {
    case 1: case 3: case 6: case 17: return btMasterData;
    case 9: return btDetailData;
    case 12: return btSubDetailData;
    case btCrossFooter: return btCrossData;
    default: return btNone;
  }
}

}  // namespace

// ---- TzrFunctionLibrary

TzrFunctionLibrary::TzrFunctionLibrary() : FList(std::make_unique<TStringList>()) {}
TzrFunctionLibrary::~TzrFunctionLibrary() = default;

bool TzrFunctionLibrary::TryCall(const String& Name, const Variant& p1, const Variant& p2, const Variant& p3,
                                 Variant& Val) {
  for (int i = 0; i < FList->Count(); ++i)
    if (AnsiSameText(FList->Strings(i), Name)) {
      ExecuteFunction(i, p1, p2, p3, Val);
      return true;
    }
  return false;
}

void TzrFunctionLibrary::AddDescription(const String& Name, const String& Category, const String& Description) {
  DescribeLibraryFunction(this, Name, Category, Description);
}

// ---- Standard library

namespace {

enum TStdFunction {
  fnAvg, fnCount, fnDayOf, fnFormatDateTime, fnFormatFloat, fnFormatText, fnInput, fnLength, fnLowerCase, fnMax,
  fnMaxNum, fnMessageBox, fnMin, fnMinNum, fnMonthOf, fnNameCase, fnPos, fnSum, fnTrim, fnUpperCase, fnYearOf
};

const char* const kStdNames[] = {"AVG",     "COUNT",   "DAYOF",      "FORMATDATETIME", "FORMATFLOAT", "FORMATTEXT",
                                 "INPUT",   "LENGTH",  "LOWERCASE",  "MAX",            "MAXNUM",      "MESSAGEBOX",
                                 "MIN",     "MINNUM",  "MONTHOF",    "NAMECASE",       "POS",         "SUM",
                                 "TRIM",    "UPPERCASE", "YEAROF"};

// The function picker's groups: category string, then the names in the order of their
// description strings (55360 onwards for the first seven groups, 55623 onwards for the last).
struct TDescribedGroup {
  int Category;
  int FirstDescription;
  std::vector<const char*> Names;
};

const std::vector<TDescribedGroup>& DescribedGroups() {
  static const std::vector<TDescribedGroup> groups = {
      {55349, 55360, {"AVG", "COUNT", "MAX", "MIN", "SUM"}},
      {55350, 55365, {"DAYOF", "MONTHOF", "STRTODATE", "STRTOTIME", "YEAROF", "DATE", "TIME"}},
      {55351, 55372, {"FORMATDATETIME", "FORMATFLOAT", "FORMATTEXT", "LENGTH", "LOWERCASE", "NAMECASE", "TRIM",
                      "UPPERCASE", "POS", "COPY", "STR"}},
      {55352, 55383, {"INPUT", "MESSAGEBOX", "IF", "PAGE#", "LINE#", "LINETHROUGH#", "COLUMN#", "TOTALPAGES"}},
      {55353, 55391, {"MAXNUM", "MINNUM", "MOD", "ROUND", "FRAC", "INT"}},
      {55354, 55397, {"NOT", "AND", "OR", "TRUE", "FALSE"}},
      {55355, 55402, {"MROK", "MRCANCEL", "CURY", "FREESPACE", "FINALPASS", "PAGEHEIGHT", "PAGEWIDTH", "PROGRESS",
                      "MODALRESULT", "STOPREPORT", "NEWPAGE", "NEWCOLUMN", "SHOWBAND", "INC", "DEC"}},
      {55622, 55623, {"REPORTCOMMENT", "REPORTNAME", "REPORTAUTOR", "VMAJOR", "VMINOR", "VRELEASE", "VBUILD",
                      "REPORTDATE", "REPORTLASTCHANGE"}},
  };
  return groups;
}

}  // namespace

TzrStdFunctionLibrary::TzrStdFunctionLibrary() {
  for (const char* name : kStdNames) List()->Add(name);
  for (const TDescribedGroup& g : DescribedGroups()) {
    String category = EngineString(g.Category);
    for (std::size_t i = 0; i < g.Names.size(); ++i)
      AddDescription(g.Names[i], category, EngineString(g.FirstDescription + int(i)));
  }
}

void TzrStdFunctionLibrary::ExecuteFunction(int Number, const Variant& p1, const Variant& p2, const Variant& p3,
                                            Variant& Val) {
  Val = Variant("0");
  switch (Number) {
    case fnAvg: Aggregate(zrAggAvg, VarToStr(p1), VarToStr(p2), VarToStr(p3), Val); break;
    case fnCount: Aggregate(zrAggCount, VarToStr(p1), VarToStr(p1), VarToStr(p2), Val); break;
    case fnMax: Aggregate(zrAggMax, VarToStr(p1), VarToStr(p2), VarToStr(p3), Val); break;
    case fnMin: Aggregate(zrAggMin, VarToStr(p1), VarToStr(p2), VarToStr(p3), Val); break;
    case fnSum: Aggregate(zrAggSum, VarToStr(p1), VarToStr(p2), VarToStr(p3), Val); break;
    case fnDayOf: Val = Variant(StrToInt(FormatDateTime("d", Evaluate(p1).AsDate()))); break;
    case fnMonthOf: Val = Variant(StrToInt(FormatDateTime("m", Evaluate(p1).AsDate()))); break;
    case fnYearOf: Val = Variant(StrToInt(FormatDateTime("yyyy", Evaluate(p1).AsDate()))); break;
    case fnFormatDateTime: {
      String pattern = EvaluateText(p1);
      Val = Variant(FormatDateTime(pattern, Evaluate(p2).AsDate()));
      break;
    }
    case fnFormatFloat: {
      String pattern = EvaluateText(p1);
      Val = Variant(FormatFloat(pattern, Evaluate(p2).AsDouble()));
      break;
    }
    case fnFormatText: {
      String mask = EvaluateText(p1);
      Val = Variant(FormatMaskText(mask + ";0; ", EvaluateText(p2)));
      break;
    }
    case fnInput: {
      String prompt = EvaluateText(p1);
      String defaultText = EvaluateText(p2);
      Val = Variant(Dialogs()->InputBox(String(), prompt, defaultText));
      break;
    }
    case fnMessageBox: {
      String text = EvaluateText(p1);
      String caption = EvaluateText(p2);
      int flags = Evaluate(p3).AsInteger();
      Val = Variant(Dialogs()->MessageBox(text, caption, flags));
      break;
    }
    case fnLength: Val = Variant(int(EvaluateText(p1).size())); break;
    case fnLowerCase: Val = Variant(AnsiLowerCase(EvaluateText(p1))); break;
    case fnUpperCase: Val = Variant(AnsiUpperCase(EvaluateText(p1))); break;
    case fnTrim: Val = Variant(Trim(EvaluateText(p1))); break;
    case fnNameCase: {
      String s = AnsiLowerCase(EvaluateText(p1));
      if (!s.empty()) s[0] = AnsiUpperChar(s[0]);
      Val = Variant(s);
      break;
    }
    case fnPos: {
      String part = EvaluateText(p1);
      Val = Variant(Pos(part, EvaluateText(p2)));
      break;
    }
    case fnMaxNum: {
      Variant a = Evaluate(p1);
      Variant b = Evaluate(p2);
      Val = a > b ? a : b;
      break;
    }
    case fnMinNum: {
      Variant a = Evaluate(p1);
      Variant b = Evaluate(p2);
      Val = a < b ? a : b;
      break;
    }
    default: break;
  }
}

// Aggregates register themselves in the target band while the band engine collects them, and read
// their value from the band they accumulate over while it prints. Outside both, nothing.
void TzrStdFunctionLibrary::Aggregate(int Code, const String& Arg1, const String& BandName, const String& Option,
                                      Variant& Val) {
  TzrEngineHost* host = zrEngine.Host;
  if (host == nullptr) return;
  TzrAggregateBand* current = host->AggregateCurrentBand();
  if (current == nullptr) return;

  // The argument texts are compared and stored trimmed: blanks after the commas are not part of
  // a band name, an expression or a flag.
  auto key = [&](const String& BandPart) {
    String k;
    if (current->BandType() != btCrossFooter && current->HasCross()) k = String("0") + kKeySeparator;
    k += BandPart;
    k += kKeySeparator;
    k += static_cast<char>(Code);
    k += kKeySeparator;
    k += Trim(Arg1);
    k += kKeySeparator;
    k += Trim(Option);
    k += kKeySeparator;
    return k;
  };

  if (TzrAggregateBand* target = host->AggregateTargetBand()) {
    String name = Trim(BandName);
    if (name.empty()) {
      if (target->BandType() != OwningDataBand(current->BandType())) return;
      name = target->BandName();
    }
    if (!AnsiSameText(name, target->BandName())) return;
    target->SetAggregate(key(current->BandName()), Code == zrAggMin ? Variant(1e300) : Variant(0));
    current->SetAggregateBand(target);
    return;
  }
  TzrAggregateBand* source = current->AggregateBand();
  if (source == nullptr) return;
  String bandPart = current->BandType() == btCrossData
                        ? IntToStr(host->ColumnPosition()) + kKeySeparator + source->BandName()
                        : current->BandName();
  Val = source->GetAggregate(key(bandPart));
}

// ---- Database library

bool FieldIsNullByName(const String& Reference, TDataSet* Default) {
  TDataSet* dataSet = Default;
  String fieldName;
  ResolveFieldReference(Reference, dataSet, fieldName);
  if (dataSet == nullptr) return true;
  return dataSet->FieldByName(fieldName)->IsNull();
}

TDatabaseFunctionLibrary::TDatabaseFunctionLibrary() {
  List()->Add("FIELDISNULL");
  AddDescription("FIELDISNULL", EngineString(55620), EngineString(55621));
}

void TDatabaseFunctionLibrary::ExecuteFunction(int Number, const Variant& p1, const Variant&, const Variant&,
                                               Variant& Val) {
  Val = Variant(0);
  if (Number != 0) return;
  String reference = EvaluateText(p1);
  bool useDefault = zrEngine.Host != nullptr && zrEngine.Host->UseDefaultDataSetName();
  Val = Variant(FieldIsNullByName(reference, useDefault ? CurrentBandDataSet() : nullptr));
}

// ---- Installed functions

void TzrInstalledFunctions::Add(TzrFunctionLibrary* Library, const String& Name, const String& Category,
                                const String& Description) {
  if (Category.empty()) return;
  for (const auto& item : FItems)
    if (item->Name == Name) return;
  FItems.push_back(std::make_unique<TzrFunctionDescription>(TzrFunctionDescription{Library, Name, Category, Description}));
}

void TzrInstalledFunctions::RemoveLibrary(TzrFunctionLibrary* Library) {
  String className = Library->ClassName();
  std::erase_if(FItems, [&](const auto& item) { return item->Library->ClassName() == className; });
}

const TzrFunctionDescription& TzrInstalledFunctions::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("Indice de liste hors limites ("_a + IntToStr(Index) + ")");
  return *FItems[std::size_t(Index)];
}

// ---- Aggregate splitter

TAggregateFunctionsSplitter::TAggregateFunctionsSplitter(TStrings* SplitTo, TzrVariables* Variables)
    : TzrFunctionSplitter(nullptr, SplitTo, Variables), FNames(std::make_unique<TStringList>()) {
  for (const char* name : {"AVG", "COUNT", "MAX", "MIN", "SUM"}) FNames->Add(name);
  FMatchFuncs = FNames.get();
}

TAggregateFunctionsSplitter::~TAggregateFunctionsSplitter() = default;

void TAggregateFunctionsSplitter::SplitMemo(TStrings* Lines) {
  for (int i = 0; i < Lines->Count(); ++i) {
    String line = Lines->Strings(i);
    for (int from = 1, open; (open = PosEx("[", line, from)) > 0;) {
      int start = open, end = open;
      ExtractBracketed(line, start, end);
      Split(Copy(line, start, end - start + 1));
      from = end + 1;
    }
  }
}

void TAggregateFunctionsSplitter::SplitScript(TStrings* Script) {
  if (Script->Count() == 0) return;
  TzrInterpretator interpreter;
  interpreter.SplitExpressions(Script, FNames.get(), FVariables, FSplitTo);
}
