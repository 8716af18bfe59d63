// This file implements what a report answers while it is built: the meaning of names (the
// application's answer, dictionary variables and dataset fields, the built-in names, script
// variables, system values and object properties, expressions), the functions and script
// procedures, one memo expression with its display format, and the display formatting of values.
#include <cctype>

#include "DataSet.h"
#include "DateTimeFormat.h"
#include "Field.h"
#include "FloatFormat.h"
#include "FormatSettings.h"
#include "StrUtils.h"
#include "TextOrder.h"
#include "ZR_ClassExport.h"
#include "ZR_ClassFunctions.h"
#include "ZR_ClassMemo.h"
#include "ZR_ClassReport.h"
#include "ZR_DBRel.h"
#include "ZR_Utils.h"

namespace {

TzrParser* Parser() { return zrGlobals().Parser(); }

// Sets the platform's decimal separator for the time of a formatting, and puts it back.
class TDecimalSeparatorScope {
 public:
  explicit TDecimalSeparatorScope(char Separator) : FSaved(FormatSettings.DecimalSeparator) {
    if (Separator != 0) FormatSettings.DecimalSeparator = Separator;
  }
  ~TDecimalSeparatorScope() { FormatSettings.DecimalSeparator = FSaved; }
  TDecimalSeparatorScope(const TDecimalSeparatorScope&) = delete;
  TDecimalSeparatorScope& operator=(const TDecimalSeparatorScope&) = delete;

 private:
  char FSaved;
};

// Restores the name whose evaluation is in progress on every way out.
class TInProgressScope {
 public:
  TInProgressScope(String& Slot, const String& Name) : FSlot(Slot), FSaved(Slot) { Slot = Name; }
  ~TInProgressScope() { FSlot = FSaved; }
  TInProgressScope(const TInProgressScope&) = delete;
  TInProgressScope& operator=(const TInProgressScope&) = delete;

 private:
  String& FSlot;
  String FSaved;
};

bool IsDigitChar(char C) { return C >= '0' && C <= '9'; }

}  // namespace

// ---- Names

void TzrReport::ResolveName(const String& Name, Variant& Value) {
  Value = Variant();
  if (OnGetValue) OnGetValue(Name, Value);
  if (!VarIsEmpty(Value)) return;
  Value = Variant(0);
  auto selfReference = [&]() {
    throw EzrParserError(EngineString(55439) + " \"" + Name + "\"");
  };
  if (FDictionary->IsVariable(Name)) {
    TDataSet* dataSet = nullptr;
    String field;
    bool isField = FDictionary->CachedField(Name, dataSet, field);
    if (!isField && AnsiSameText(FInProgressName, Name)) {
      if (PreparingObjects) return;
      selfReference();
    }
    TInProgressScope scope(FInProgressName, isField ? FInProgressName : Name);
    FDictionary->GetValue(Name, Value);
    return;
  }
  TzrPage* page = zrEngine.CurPage;
  if (Name == "VALUE") { Value = LastValue; return; }
  if (Name == "PAGE#") { Value = Variant(PageNo + 1); return; }
  if (Name == "DATE") { Value = Variant::FromDate(zrEngine.ReportDate); return; }
  if (Name == "TIME") { Value = Variant::FromDate(zrEngine.ReportTime); return; }
  if (Name == "LINE#" || Name == "LINETHROUGH#") {
    TzrBand* band = page != nullptr ? page->CurrentMasterBand() : nullptr;
    Value = Variant(band == nullptr ? 0 : Name == "LINE#" ? band->LocalLine : band->RunningLine);
    return;
  }
  if (Name == "COLUMN#") { Value = Variant(page != nullptr ? page->ColumnPosition : 0); return; }
  if (Name == "CURRENT#") { Value = Variant(page != nullptr ? page->CurrentRecord : 0); return; }
  if (Name == "TOTALPAGES") { Value = Variant(zrEngine.TotalPages); return; }
  if (Name == "REPORTCOMMENT") { Value = Variant(Info.Comment); return; }
  if (Name == "REPORTNAME") { Value = Variant(Info.Name); return; }
  if (Name == "REPORTAUTOR") { Value = Variant(Info.Author); return; }
  if (Name == "VMAJOR") { Value = Variant(Info.VMajor); return; }
  if (Name == "VMINOR") { Value = Variant(Info.VMinor); return; }
  if (Name == "VRELEASE") { Value = Variant(Info.VRelease); return; }
  if (Name == "VBUILD") { Value = Variant(Info.VBuild); return; }
  if (Name == "REPORTDATE") { Value = Variant::FromDate(Info.Created); return; }
  if (Name == "REPORTLASTCHANGE") { Value = Variant::FromDate(Info.Changed); return; }
  if (Name == "CALCWIDTH") {
    TzrView* view = zrEngine.CurView;
    if (view == nullptr) return;
    if (auto* memo = dynamic_cast<TzrMemoView*>(view))
      Value = Variant(memo->MeasureTextWidth(memo->Memo()));
    else
      Value = Variant(view->Width);
    return;
  }
  TzrVariables* scriptVariables = zrGlobals().ScriptVariables();
  int index = scriptVariables->IndexOf(Name);
  if (index >= 0) {
    Value = scriptVariables->GetByIndex(index);
    return;
  }
  Value = Variant();
  ResolveSystemValue(Name, Value);
  if (!VarIsEmpty(Value)) return;
  if (AnsiSameText(FInProgressName, Name)) {
    Value = Variant(0);
    if (PreparingObjects) return;
    selfReference();
  }
  TInProgressScope scope(FInProgressName, Name);
  Value = Parser()->Calculate(Name);
}

void TzrReport::ResolveSystemValue(const String& Name, Variant& Value) {
  TzrPage* page = zrEngine.CurPage;
  String upper = AnsiUpperCase(Name);
  if (page != nullptr) {
    if (upper == "CURY") { Value = Variant(page->CurY); return; }
    if (upper == "FREESPACE") { Value = Variant(page->CurBottomY - page->CurY); return; }
    if (upper == "PAGEHEIGHT") { Value = Variant(page->CurBottomY); return; }
    if (upper == "PAGEWIDTH") { Value = Variant(page->RightOffset()); return; }
  }
  if (upper == "FINALPASS") { Value = Variant(FinalPass); return; }
  TzrObject* object = nullptr;
  String property;
  ResolvePropertyOwner(Name, object, property);
  if (object != nullptr && FindObjectProperty(object, property) != nullptr) {
    Value = object->GetProperty(property);
    return;
  }
  TzrVariables* constants = zrGlobals().Constants();
  int index = constants->IndexOf(Name);
  if (index >= 0) Value = constants->GetByIndex(index);
}

// ---- Functions and procedures

void TzrReport::CallFunction(const String& Name, const Variant& p1, const Variant& p2, const Variant& p3,
                             Variant& Val) {
  Val = Variant("0");
  if (CallLibraryFunction(Name, p1, p2, p3, Val)) return;
  CallProcedure(Name, p1, p2, p3, Val);
  if (OnUserFunction) OnUserFunction(Name, p1, p2, p3, Val);
}

void TzrReport::CallProcedure(const String& Name, const Variant& p1, const Variant& p2, const Variant& p3,
                              Variant& Val) {
  TzrBand* band = zrEngine.CurBand;
  if (Name == "STOPREPORT") {
    Terminated = true;
  } else if (Name == "NEWPAGE") {
    if (band != nullptr) ++band->PendingNewPages;
  } else if (Name == "NEWCOLUMN") {
    if (band != nullptr) ++band->PendingNewColumns;
  } else if (Name == "SHOWBAND") {
    String bandName = VarToStr(Parser()->Calculate(VarToStr(p1)));
    if (zrEngine.CurPage != nullptr) zrEngine.CurPage->ShowBandByName(bandName);
  } else if (Name == "INC" || Name == "DEC") {
    String variable = Trim(VarToStr(p1));
    Variant value;
    if (Parser()->OnGetValue) Parser()->OnGetValue(variable, value);
    value = value + Variant(Name == "INC" ? 1 : -1);
    zrGlobals().Interpreter()->SetVariable(variable, value);
  } else if (Name == "SETARRAY" || Name == "GETARRAY") {
    String array = Trim(VarToStr(p1));
    Variant index = Parser()->Calculate(VarToStr(p2));
    Variant value = Name == "SETARRAY" ? Parser()->Calculate(VarToStr(p3)) : Variant();
    if (array.find('.') != String::npos) {
      TzrObject* object = nullptr;
      String property;
      ResolvePropertyOwner(array, object, property);
      if (object != nullptr) {
        Variant result;
        object->CallMethod(Name == "SETARRAY" ? "SETINDEXPROPERTY" : "GETINDEXPROPERTY", result,
                           Variant(AnsiUpperCase(property)), index, value);
        if (Name == "GETARRAY") Val = result;
      }
      return;
    }
    String key = "Arr_" + array + "_" + (VarIsStr(index) ? VarToStr(index) : IntToStr(index.AsInteger()));
    if (Name == "SETARRAY")
      zrGlobals().ScriptVariables()->SetByName(key, value);
    else
      Val = zrGlobals().ScriptVariables()->GetByName(key);
  } else {
    TzrObject* object = nullptr;
    String method;
    ResolvePropertyOwner(Name, object, method);
    // A method the object does not have answers nothing: the call keeps the text "0".
    Variant result;
    if (object != nullptr) object->CallMethod(method, result, p1, p2, p3);
    if (!VarIsEmpty(result)) Val = result;
  }
}

// ---- One memo expression

String TzrReport::EvaluateExpression(const String& Expr) {
  FInProgressName.clear();
  TzrView* view = zrEngine.CurView;
  int code = view != nullptr ? view->FormatCode : 0;
  String formatText = view != nullptr ? view->FormatText : String();
  String expression = Expr;
  std::size_t mark = Expr.find(" #");
  if (mark != String::npos) {
    expression = Expr.substr(0, mark);
    String format = Expr.substr(mark + 2);
    if (!format.empty() && IsDigitChar(format[0])) format = "N" + format;
    char kind = format.empty() ? '\0' : format[0];
    switch (kind) {
      case 'N': case 'n': {
        bool fixed = format.size() > 1 && IsDigitChar(format[1]);
        char separator = FormatSettings.DecimalSeparator;
        std::size_t at = String::npos;
        for (std::size_t i = format.size() - 1; i >= 1; --i)
          if (format[i] == ',' || format[i] == '-' || format[i] == '.') {
            at = i;
            break;
          }
        if (at != String::npos) {
          separator = format[at];
          format[at] = '.';
        }
        int decimals = 0;
        if (fixed && at != String::npos)
          for (std::size_t i = at + 1; i < format.size() && IsDigitChar(format[i]); ++i)
            decimals = decimals * 10 + (format[i] - '0');
        if (fixed) {
          code = MakeFormatCode(zrfcNumber, 1, decimals, separator);
        } else {
          code = MakeFormatCode(zrfcNumber, zrfiCustom, 0, separator);
          formatText = format.substr(1);
        }
        break;
      }
      case 'B': case 'b':
        code = MakeFormatCode(zrfcBoolean, zrfiCustom, 0, 0);
        formatText = format.substr(1);
        break;
      case 'D': case 'd': case 'T': case 't':
        code = MakeFormatCode(zrfcDate, zrfiCustom, 0, 0);
        formatText = format.substr(1);
        break;
      default:
        formatText = format;
        break;
    }
  }
  Variant value(0);
  ResolveName(expression, value);
  LastValue = value;
  if (view != nullptr && (view->Flags & zrmfHideZeros) && !VarIsStr(value)) {
    try {
      if (value == Variant(0)) value = Variant(String());
    } catch (const Exception&) {
    }
  }
  if (PreparingObjects) return VarToStr(value);
  return ApplyDisplayFormat(value, code, formatText);
}

String TzrReport::ApplyDisplayFormat(const Variant& Value, int Code, const String& FormatText) {
  if (VarIsEmpty(Value) || VarIsNull(Value)) return String();
  if (VarIsStr(Value) && Trim(VarToStr(Value)).empty()) return String();
  int index = FormatIndex(Code);
  try {
    switch (FormatCategory(Code)) {
      case zrfcNumber: {
        TDecimalSeparatorScope separator(FormatSeparator(Code));
        double number = Value.AsDouble();
        int decimals = FormatDecimals(Code);
        switch (index) {
          case 0: return FormatFloat("##0." + String(std::size_t(decimals), '#'), number);
          case 1: return FloatToStrF(number, ffFixed, 15, decimals);
          case 2: return FormatFloat("#,##0." + String(std::size_t(decimals), '#'), number);
          case 3: return FloatToStrF(number, ffNumber, 15, decimals);
          default: return FormatFloat(FormatText, number);
        }
      }
      case zrfcDate: {
        TDateTime date = Value.AsDate();
        if (index == zrfiCustom) return FormatDateTime(FormatText, date);
        if (index == 3) return FormatDateTime(FormatSettings.LongDateFormat, date);
        return FormatDateTime(zrGlobals().DateFormats[std::size_t(std::min(index, 2))], date);
      }
      case zrfcTime: {
        TDateTime time = Value.AsDate();
        if (index == zrfiCustom) return FormatDateTime(FormatText, time);
        return FormatDateTime(zrGlobals().TimeFormats[std::size_t(std::min(index, 3))], time);
      }
      case zrfcBoolean: {
        // The format is the text for false, ';' and the text for true.
        String format = index == zrfiCustom ? FormatText : zrGlobals().BooleanFormats[std::size_t(std::min(index, 3))];
        std::size_t semicolon = format.find(';');
        String falseText = format.substr(0, semicolon);
        String trueText = semicolon == String::npos ? String() : format.substr(semicolon + 1);
        bool truth;
        if (VarType(Value) == varBoolean || !VarIsStr(Value))
          truth = Value.AsInteger() != 0;
        else
          truth = Value.AsBoolean();
        return truth ? trueText : falseText;
      }
      default:
        return VarToStr(Value);
    }
  } catch (const Exception&) {
    return VarToStr(Value);
  }
}

// ---- Hooks of the objects

void TzrReport::BeforePrintObject(TStringList* Memo, TzrView* View) {
  if (View->BoundDataSet != nullptr && !View->BoundFieldName.empty()) {
    TField* field = View->BoundDataSet->FindField(View->BoundFieldName);
    if (field != nullptr && zrIsBlobField(field)) View->LoadFromBlobField(field);
  }
  if (OnBeforePrint) OnBeforePrint(Memo, View);
}

void TzrReport::DoBeginColumn(TzrBand* Band) {
  if (OnBeginColumn) OnBeginColumn(Band);
}

void TzrReport::DoPrintColumn(int ColNo, int& Width) {
  if (OnPrintColumn) OnPrintColumn(ColNo, Width);
}

void TzrReport::ExportObject(TzrView* View) {
  if (CurrentFilter != nullptr) CurrentFilter->ExportObject(View->Left, View->Top, View);
}

void TzrReport::ExportText(const TRect& DrawRect, int X, TzrView* View, int FrameSides, const String& Text, int Y) {
  if (CurrentFilter != nullptr) CurrentFilter->ExportText(DrawRect, X, View, FrameSides, Text, Y);
}
