// This file implements the report engine's function libraries: TzrFunctionLibrary, the standard
// library (texts, dates, numbers, message and input boxes, the aggregates SUM, MIN, MAX, AVG and
// COUNT), the database library (FIELDISNULL), the registry of function descriptions
// TzrInstalledFunctions, and TAggregateFunctionsSplitter, which finds aggregate calls.
#pragma once

#include <memory>
#include <vector>

#include "Strings.h"
#include "Variant.h"
#include "ZR_Pars.h"

class TDataSet;

// Aggregate codes stored in the bands' aggregate keys.
inline constexpr int zrAggSum = 11;
inline constexpr int zrAggMin = 12;
inline constexpr int zrAggMax = 13;
inline constexpr int zrAggAvg = 14;
inline constexpr int zrAggCount = 15;

class TzrFunctionLibrary : public TObject {
  VELBOR_DECLARE_CLASS(TzrFunctionLibrary, TObject)
 public:
  TzrFunctionLibrary();
  ~TzrFunctionLibrary() override;

  // Upper-case names; a name's index is the function's number.
  TStringList* List() const { return FList.get(); }

  // When Name is in List (case-insensitive): ExecuteFunction with its number, and true. Otherwise
  // false and Val untouched. The arguments hold expression texts, evaluated by the library.
  virtual bool TryCall(const String& Name, const Variant& p1, const Variant& p2, const Variant& p3, Variant& Val);
  virtual void ExecuteFunction(int Number, const Variant& p1, const Variant& p2, const Variant& p3,
                               Variant& Val) = 0;
  void AddDescription(const String& Name, const String& Category, const String& Description);

 private:
  std::unique_ptr<TStringList> FList;
};

// AVG COUNT DAYOF FORMATDATETIME FORMATFLOAT FORMATTEXT INPUT LENGTH LOWERCASE MAX MAXNUM MESSAGEBOX
// MIN MINNUM MONTHOF NAMECASE POS SUM TRIM UPPERCASE YEAROF, numbered 0 to 20 in that order.
class TzrStdFunctionLibrary : public TzrFunctionLibrary {
  VELBOR_DECLARE_CLASS(TzrStdFunctionLibrary, TzrFunctionLibrary)
 public:
  TzrStdFunctionLibrary();
  // Val starts as the text "0", which an aggregate that produces nothing leaves.
  void ExecuteFunction(int Number, const Variant& p1, const Variant& p2, const Variant& p3, Variant& Val) override;

 private:
  void Aggregate(int Code, const String& Arg1, const String& BandName, const String& Option, Variant& Val);
};

class TDatabaseFunctionLibrary : public TzrFunctionLibrary {
  VELBOR_DECLARE_CLASS(TDatabaseFunctionLibrary, TzrFunctionLibrary)
 public:
  TDatabaseFunctionLibrary();
  void ExecuteFunction(int Number, const Variant& p1, const Variant& p2, const Variant& p3, Variant& Val) override;
};

// True when the field named by Reference is null, or when no data set can be found for it.
// Default stands for the data set of a reference without one. FieldByName's error for a missing
// field.
bool FieldIsNullByName(const String& Reference, TDataSet* Default);

// One description of a function, for a function picker.
struct TzrFunctionDescription {
  TzrFunctionLibrary* Library;
  String Name;
  String Category;
  String Description;
};

class TzrInstalledFunctions : public TObject {
  VELBOR_DECLARE_CLASS(TzrInstalledFunctions, TObject)
 public:
  // Nothing for an empty category or a name already described (compared exactly).
  void Add(TzrFunctionLibrary* Library, const String& Name, const String& Category, const String& Description);
  // Every description of a library of Library's class.
  void RemoveLibrary(TzrFunctionLibrary* Library);
  int Count() const { return int(FItems.size()); }
  const TzrFunctionDescription& Items(int Index) const;

 private:
  std::vector<std::unique_ptr<TzrFunctionDescription>> FItems;
};

// Finds the aggregate calls (AVG, COUNT, MAX, MIN, SUM) of memo texts and scripts, following the
// report's dictionary variables, and appends their texts to SplitTo.
class TAggregateFunctionsSplitter : public TzrFunctionSplitter {
  VELBOR_DECLARE_CLASS(TAggregateFunctionsSplitter, TzrFunctionSplitter)
 public:
  TAggregateFunctionsSplitter(TStrings* SplitTo, TzrVariables* Variables);
  ~TAggregateFunctionsSplitter() override;

  // Every bracketed part of every line, brackets included.
  void SplitMemo(TStrings* Lines);
  // The expressions of compiled script lines.
  void SplitScript(TStrings* Script);

 private:
  std::unique_ptr<TStringList> FNames;
};
