// This file implements the fuzz target of the in-memory table's filter expressions: the parser
// with and without the text options, the evaluator over rows of every kind of value, and the same
// text as the filter of an open table.
#include <memory>

#include "DateTime.h"
#include "FuzzSupport.h"
#include "FieldDefs.h"
#include "TextOrder.h"
#include "qmtMemTable.h"

namespace {

// One record of named values; names are resolved without regard to case.
struct TFuzzRow : TqmtFilterContext {
  std::vector<std::pair<String, Variant>> Values;
  explicit TFuzzRow(std::vector<std::pair<String, Variant>> V) : Values(std::move(V)) {}
  int FilterFieldIndex(const String& Name) override {
    for (std::size_t I = 0; I < Values.size(); ++I)
      if (SameText(Values[I].first, Name)) return int(I);
    throw EDatabaseError("Champ '" + Name + "' non trouvé"_a);
  }
  Variant FilterFieldValue(int I) override { return Values[std::size_t(I)].second; }
};

std::vector<TFuzzRow> Rows() {
  std::vector<TFuzzRow> R;
  R.emplace_back(std::vector<std::pair<String, Variant>>{{"num", Variant(12)}, {"code", Variant("A1")},
                                                        {"lib", Variant("l'eau")}, {"d", Variant::FromDate(45000.25)},
                                                        {"f", Variant(2.5)}, {"b", Variant(true)}});
  R.emplace_back(std::vector<std::pair<String, Variant>>{{"num", Variant::Null()}, {"code", Variant("")},
                                                        {"lib", Variant::Null()}, {"d", Variant::Null()},
                                                        {"f", Variant::Null()}, {"b", Variant::Null()}});
  R.emplace_back(std::vector<std::pair<String, Variant>>{{"num", Variant(-2147483647 - 1)}, {"code", Variant("*?[")},
                                                        {"lib", Variant(String(300, 'x'))}, {"d", Variant::FromDate(-693593)},
                                                        {"f", Variant(1e308)}, {"b", Variant(false)}});
  return R;
}

TqmtMemTable* Table() {
  static std::unique_ptr<TqmtMemTable> T = [] {
    auto M = std::make_unique<TqmtMemTable>(nullptr);
    M->FieldDefs()->Add("num", ftInteger);
    M->FieldDefs()->Add("code", ftString, 10);
    M->FieldDefs()->Add("lib", ftString, 40);
    M->FieldDefs()->Add("d", ftDateTime);
    M->Open();
    M->AppendRecord({Variant(12), Variant("A1"), Variant("l'eau"), Variant::FromDate(45000.25)});
    M->AppendRecord({Variant::Null(), Variant(""), Variant::Null(), Variant::Null()});
    M->AppendRecord({Variant(7), Variant("B2"), Variant("Marais"), Variant::FromDate(1.5)});
    return M;
  }();
  return T.get();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  if (Size == 0) return 0;
  // The first byte chooses the options.
  TqmtFilterParseOptions Options{(Data[0] & 1) != 0, (Data[0] & 2) != 0};
  String Text = Fuzz::Text(Data + 1, Size - 1);
  static std::vector<TFuzzRow> Records = Rows();
  std::unique_ptr<TqmtFilterExpression> Expression;
  try {
    Expression = std::make_unique<TqmtFilterExpression>(Text, Options, &Records[0]);
  } catch (const EDatabaseError&) {
    return 0;
  }
  for (TFuzzRow& R : Records) {
    try {
      Expression->Accepts(&R);
    } catch (const Exception&) {
    }
  }
  TqmtMemTable* T = Table();
  try {
    TFilterOptions FilterOptions;
    if (Options.CaseInsensitive) FilterOptions.Include(foCaseInsensitive);
    if (Options.NoPartialCompare) FilterOptions.Include(foNoPartialCompare);
    T->SetFilterOptions(FilterOptions);
    T->SetFilter(Text);
    T->SetFiltered(true);
    int Count = T->RecordCount();
    Fuzz::Check(Count >= 0 && Count <= 3, "a filter shows some of the records");
  } catch (const Exception&) {
  }
  try {
    T->SetFiltered(false);
    T->SetFilter(String());
  } catch (const Exception&) {
    Fuzz::Broken("the filter cannot be taken off");
  }
  Fuzz::Check(T->RecordCount() == 3, "without the filter every record shows");
  return 0;
}
