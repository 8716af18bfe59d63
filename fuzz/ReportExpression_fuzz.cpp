// This file implements the fuzz target of the report expression parser: conversion to postfix and
// evaluation, with names that resolve to values of every kind and calls that evaluate their
// arguments as expressions again, as the report's function library does.
#include "FuzzSupport.h"
#include "StrUtils.h"
#include "ZR_Pars.h"

namespace {

class TResolver : public TObject {
 public:
  TzrParser Parser;
  TResolver() {
    Parser.OnGetValue = TzrGetValueEvent(this, &TResolver::GetValue);
    Parser.OnFunction = TzrFunctionEvent(this, &TResolver::Function);
  }
  // Names by their first letter: numbers, texts, dates, null; a name in brackets is an expression.
  void GetValue(const String& Name, Variant& Value) {
    if (Name.empty()) return;
    switch (AnsiUpperChar(Name[0])) {
      case 'N': Value = Variant(12); break;
      case 'F': Value = Variant(2.5); break;
      case 'T': Value = Variant("texte"); break;
      case 'D': Value = Variant::FromDate(45000.5); break;
      case 'Z': Value = Variant::Null(); break;
      case '[': Value = Parser.Calculate(Name.substr(1, Name.size() >= 2 ? Name.size() - 2 : 0)); break;
      default: break;
    }
  }
  // Calls evaluate their first argument; a few names do what the library's functions do.
  void Function(const String& Name, const Variant& P1, const Variant& P2, const Variant&, Variant& Val) {
    Variant A = Parser.Calculate(VarToStr(P1));
    if (Name == "STR") Val = Variant(VarToStr(A));
    else if (Name == "COPY") Val = Variant(Copy(VarToStr(A), int(Parser.Calculate(VarToStr(P2)).AsInteger()), 3));
    else Val = A;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  TResolver Resolver;
  try {
    Resolver.Parser.Calculate(Fuzz::Text(Data, Size));
  } catch (const Exception&) {
  }
  return 0;
}
