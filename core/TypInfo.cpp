// This file implements the published-property index of each class and by-name property access.
#include "TypInfo.h"

#include <algorithm>

#include "Format.h"
#include "StrUtils.h"

struct TClassProps {
  std::vector<const TPropInfo*> List;    // ancestors' first, declaration order
  std::vector<const TPropInfo*> Sorted;  // by name, without case
};

namespace {

char Fold(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

int CompareName(std::string_view A, std::string_view B) {
  std::size_t n = std::min(A.size(), B.size());
  for (std::size_t i = 0; i < n; ++i) {
    unsigned char a = Fold(A[i]), b = Fold(B[i]);
    if (a != b) return a < b ? -1 : 1;
  }
  return A.size() == B.size() ? 0 : (A.size() < B.size() ? -1 : 1);
}

bool SameName(std::string_view A, std::string_view B) { return CompareName(A, B) == 0; }

const TClassProps& IndexOf(TClass Class) {
  if (Class->PropIndex) return *Class->PropIndex;
  auto* index = new TClassProps;  // lives as long as the class information
  if (Class->Parent) index->List = IndexOf(Class->Parent).List;
  if (Class->Props) {
    for (const TPropInfo& p : Class->Props->Props()) {
      auto same = std::find_if(index->List.begin(), index->List.end(),
                               [&](const TPropInfo* q) { return SameName(q->Name, p.Name); });
      if (same != index->List.end()) *same = &p;  // a redeclaration replaces the ancestor's entry
      else index->List.push_back(&p);
    }
  }
  index->Sorted = index->List;
  std::sort(index->Sorted.begin(), index->Sorted.end(),
            [](const TPropInfo* a, const TPropInfo* b) { return CompareName(a->Name, b->Name) < 0; });
  Class->PropIndex = index;
  return *index;
}

[[noreturn]] void RaiseProp(const char* Fmt, std::string_view Name, const String& More = String()) {
  throw EPropertyError(Format(Fmt, {String(Name), More}));
}

[[noreturn]] void RaiseUnknown(std::string_view Name, TClass Class) {
  RaiseProp("Propriété %s inexistante dans la classe %s"_a, Name, Class ? Class->Name : "");
}

const TPropInfo* Require(TObject*& Instance, std::string_view Path) { return FindPropPath(Instance, Path); }

void CheckKind(const TPropInfo* P, bool Ok, const char* Expected) {
  if (!Ok) RaiseProp("La propriété %s n'est pas de type %s"_a, P->Name, Expected);
}

void CheckWritable(const TPropInfo* P) {
  if (!P->IsWritable()) RaiseProp("La propriété %s est en lecture seule"_a, P->Name);
}

[[noreturn]] void RaiseBadValue(const TPropInfo* P, std::string_view Value) {
  throw EPropertyError(Format("Valeur '%s' incorrecte pour la propriété %s"_a, {String(Value), String(P->Name)}));
}

std::string_view TrimView(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

// --- Types ----------------------------------------------------------------------------------------

int TEnumType::IndexOf(std::string_view Ident) const {
  for (std::size_t i = 0; i < FIdents.size(); ++i) {
    if (SameName(FIdents[i], Ident)) return int(i);
  }
  return -1;
}

const TEnumType& EnumTypeInfo(bool*) {
  static const TEnumType Info("Boolean", {"False", "True"});
  return Info;
}

bool TIntIdents::IdentToInt(std::string_view Ident, int& Value) const {
  for (const TIdentMapEntry& e : FEntries) {
    if (SameName(e.Name, Ident)) {
      Value = e.Value;
      return true;
    }
  }
  return false;
}

bool TIntIdents::IntToIdent(int Value, String& Ident) const {
  for (const TIdentMapEntry& e : FEntries) {
    if (e.Value == Value) {
      Ident = e.Name;
      return true;
    }
  }
  return false;
}

TPropTable::TPropTable(TClass Class, std::initializer_list<TPropInfo> Props) : FProps(Props) {
  Class->Props = this;
}

THandlerTable::THandlerTable(TClass Class, std::initializer_list<THandlerEntry> Entries, std::vector<THandlerEntry> More)
    : FEntries(Entries) {
  FEntries.insert(FEntries.end(), More.begin(), More.end());
  Class->Handlers = this;
}

const THandlerEntry* FindHandler(TClass Class, std::string_view Name) {
  for (TClass c = Class; c; c = c->Parent) {
    if (!c->Handlers) continue;
    for (const THandlerEntry& e : c->Handlers->Entries()) {
      if (SameName(e.Name, Name)) return &e;
    }
  }
  return nullptr;
}

const THandlerEntry* FindHandlerByCode(TClass Class, TMethodCode Code) {
  for (TClass c = Class; c; c = c->Parent) {
    if (!c->Handlers) continue;
    for (const THandlerEntry& e : c->Handlers->Entries()) {
      if (e.Code == Code) return &e;
    }
  }
  return nullptr;
}

TFieldTable::TFieldTable(TClass Class, std::initializer_list<TFieldEntry> Entries) : FEntries(Entries) {
  Class->Fields = this;
}

const TFieldEntry* FindComponentField(TClass Class, std::string_view Name) {
  for (TClass c = Class; c; c = c->Parent) {
    if (!c->Fields) continue;
    for (const TFieldEntry& e : c->Fields->Entries()) {
      if (SameName(e.Name, Name)) return &e;
    }
  }
  return nullptr;
}

void TypInfoDetail::RaiseWrongObjectClass(const TPropInfo& P, TObject* Value) {
  throw EPropertyError(Format("Un objet %s ne peut pas être affecté à la propriété %s"_a,
                              {Value->ClassName(), String(P.Name)}));
}

// --- Look-up --------------------------------------------------------------------------------------

const TPropInfo* GetPropInfo(TClass Class, std::string_view Name) {
  if (!Class) return nullptr;
  const auto& sorted = IndexOf(Class).Sorted;
  auto it = std::lower_bound(sorted.begin(), sorted.end(), Name,
                             [](const TPropInfo* p, std::string_view n) { return CompareName(p->Name, n) < 0; });
  return it != sorted.end() && SameName((*it)->Name, Name) ? *it : nullptr;
}

const TPropInfo* GetPropInfo(const TObject* Instance, std::string_view Name) {
  return Instance ? GetPropInfo(Instance->ClassType(), Name) : nullptr;
}

const std::vector<const TPropInfo*>& GetPropList(TClass Class) { return IndexOf(Class).List; }

bool IsPublishedProp(const TObject* Instance, std::string_view Name) { return GetPropInfo(Instance, Name) != nullptr; }
bool IsPublishedProp(TClass Class, std::string_view Name) { return GetPropInfo(Class, Name) != nullptr; }

TTypeKind PropType(TClass Class, std::string_view Name) {
  const TPropInfo* p = GetPropInfo(Class, Name);
  if (!p) RaiseUnknown(Name, Class);
  return p->Kind;
}
TTypeKind PropType(const TObject* Instance, std::string_view Name) { return PropType(Instance->ClassType(), Name); }
bool PropIsType(TClass Class, std::string_view Name, TTypeKind Kind) { return PropType(Class, Name) == Kind; }
bool PropIsType(const TObject* Instance, std::string_view Name, TTypeKind Kind) {
  return PropType(Instance, Name) == Kind;
}

const TPropInfo* FindPropPath(TObject*& Instance, std::string_view Path) {
  if (!Instance) throw EPropertyError(Format("Propriété %s d'un objet nil"_a, {String(Path)}));
  for (;;) {
    std::size_t dot = Path.find('.');
    std::string_view step = Path.substr(0, dot);
    const TPropInfo* p = GetPropInfo(Instance, step);
    if (!p) RaiseUnknown(step, Instance->ClassType());
    if (dot == std::string_view::npos) return p;
    CheckKind(p, p->Kind == tkClass, "objet");
    TObject* next = p->GetObj(Instance);
    if (!next) RaiseProp("La propriété %s vaut nil"_a, step);
    Instance = next;
    Path.remove_prefix(dot + 1);
  }
}

// --- Access through the information --------------------------------------------------------------

long long GetOrdProp(TObject* Instance, const TPropInfo* P) {
  CheckKind(P, P->IsOrdinal(), "ordinal");
  return P->GetOrd(Instance);
}

void SetOrdProp(TObject* Instance, const TPropInfo* P, long long Value) {
  CheckKind(P, P->IsOrdinal(), "ordinal");
  CheckWritable(P);
  if (P->Kind == tkEnumeration && !P->EnumType->Ident(Value)) RaiseBadValue(P, IntToStr(Value));
  P->SetOrd(Instance, Value);
}

String GetEnumProp(TObject* Instance, const TPropInfo* P) {
  CheckKind(P, P->Kind == tkEnumeration, "énumération"_a);
  return GetEnumName(P->EnumType, P->GetOrd(Instance));
}

void SetEnumProp(TObject* Instance, const TPropInfo* P, const String& Value) {
  CheckKind(P, P->Kind == tkEnumeration, "énumération"_a);
  CheckWritable(P);
  int v = P->EnumType->IndexOf(Value);
  if (v < 0) RaiseBadValue(P, Value);
  P->SetOrd(Instance, v);
}

String GetSetProp(TObject* Instance, const TPropInfo* P, bool Brackets) {
  CheckKind(P, P->Kind == tkSet, "ensemble");
  return SetToString(P->EnumType, unsigned(P->GetOrd(Instance)), Brackets);
}

void SetSetProp(TObject* Instance, const TPropInfo* P, const String& Value) {
  CheckKind(P, P->Kind == tkSet, "ensemble");
  CheckWritable(P);
  P->SetOrd(Instance, StringToSet(P->EnumType, Value));
}

String GetStrProp(TObject* Instance, const TPropInfo* P) {
  CheckKind(P, P->Kind == tkLString, "chaîne"_a);
  return P->GetStr(Instance);
}

void SetStrProp(TObject* Instance, const TPropInfo* P, const String& Value) {
  CheckKind(P, P->Kind == tkLString, "chaîne"_a);
  CheckWritable(P);
  P->SetStr(Instance, Value);
}

double GetFloatProp(TObject* Instance, const TPropInfo* P) {
  CheckKind(P, P->Kind == tkFloat, "réel"_a);
  return P->GetFloat(Instance);
}

void SetFloatProp(TObject* Instance, const TPropInfo* P, double Value) {
  CheckKind(P, P->Kind == tkFloat, "réel"_a);
  CheckWritable(P);
  P->SetFloat(Instance, Value);
}

long long GetInt64Prop(TObject* Instance, const TPropInfo* P) { return GetOrdProp(Instance, P); }
void SetInt64Prop(TObject* Instance, const TPropInfo* P, long long Value) { SetOrdProp(Instance, P, Value); }

TObject* GetObjectProp(TObject* Instance, const TPropInfo* P) {
  CheckKind(P, P->Kind == tkClass, "objet");
  return P->GetObj(Instance);
}

void SetObjectProp(TObject* Instance, const TPropInfo* P, TObject* Value) {
  CheckKind(P, P->Kind == tkClass, "objet");
  CheckWritable(P);
  P->SetObj(Instance, Value);
}

TMethod GetMethodProp(TObject* Instance, const TPropInfo* P) {
  CheckKind(P, P->Kind == tkMethod, "méthode"_a);
  return P->GetMeth(Instance);
}

void SetMethodProp(TObject* Instance, const TPropInfo* P, const TMethod& Value) {
  CheckKind(P, P->Kind == tkMethod, "méthode"_a);
  CheckWritable(P);
  P->SetMeth(Instance, Value);
}

Variant GetPropValue(TObject* Instance, const TPropInfo* P) {
  switch (P->Kind) {
    case tkInteger:
      return Variant(int(P->GetOrd(Instance)));
    case tkChar:
      return Variant(String(1, char(P->GetOrd(Instance))));
    case tkInt64:
      return Variant(P->GetOrd(Instance));
    case tkEnumeration:
      if (P->EnumType == &EnumTypeInfo(static_cast<bool*>(nullptr))) return Variant(P->GetOrd(Instance) != 0);
      return Variant(GetEnumName(P->EnumType, P->GetOrd(Instance)));
    case tkSet:
      return Variant(SetToString(P->EnumType, unsigned(P->GetOrd(Instance))));
    case tkFloat:
      return Variant(P->GetFloat(Instance));
    case tkLString:
      return Variant(P->GetStr(Instance));
    default:
      RaiseProp("La propriété %s n'a pas de valeur Variant"_a, P->Name);
  }
}

void SetPropValue(TObject* Instance, const TPropInfo* P, const Variant& Value) {
  CheckWritable(P);
  switch (P->Kind) {
    case tkInteger:
      P->SetOrd(Instance, Value.AsInteger());
      break;
    case tkInt64:
      P->SetOrd(Instance, Value.AsInt64());
      break;
    case tkChar: {
      String s = Value.AsString();
      P->SetOrd(Instance, s.empty() ? 0 : (unsigned char)s[0]);
      break;
    }
    case tkEnumeration:
      if (VarIsStr(Value) && P->EnumType != &EnumTypeInfo(static_cast<bool*>(nullptr))) {
        SetEnumProp(Instance, P, Value.AsString());
      } else if (P->EnumType == &EnumTypeInfo(static_cast<bool*>(nullptr))) {
        P->SetOrd(Instance, Value.AsBoolean() ? 1 : 0);
      } else {
        SetOrdProp(Instance, P, Value.AsInteger());
      }
      break;
    case tkSet:
      if (VarIsStr(Value)) P->SetOrd(Instance, StringToSet(P->EnumType, Value.AsString()));
      else P->SetOrd(Instance, Value.AsInt64());
      break;
    case tkFloat:
      P->SetFloat(Instance, Value.AsDouble());
      break;
    case tkLString:
      P->SetStr(Instance, Value.AsString());
      break;
    default:
      RaiseProp("La propriété %s n'a pas de valeur Variant"_a, P->Name);
  }
}

// --- By name or path ------------------------------------------------------------------------------

long long GetOrdProp(TObject* I, std::string_view Path) { auto p = Require(I, Path); return GetOrdProp(I, p); }
void SetOrdProp(TObject* I, std::string_view Path, long long V) { auto p = Require(I, Path); SetOrdProp(I, p, V); }
String GetEnumProp(TObject* I, std::string_view Path) { auto p = Require(I, Path); return GetEnumProp(I, p); }
void SetEnumProp(TObject* I, std::string_view Path, const String& V) { auto p = Require(I, Path); SetEnumProp(I, p, V); }
String GetSetProp(TObject* I, std::string_view Path, bool B) { auto p = Require(I, Path); return GetSetProp(I, p, B); }
void SetSetProp(TObject* I, std::string_view Path, const String& V) { auto p = Require(I, Path); SetSetProp(I, p, V); }
String GetStrProp(TObject* I, std::string_view Path) { auto p = Require(I, Path); return GetStrProp(I, p); }
void SetStrProp(TObject* I, std::string_view Path, const String& V) { auto p = Require(I, Path); SetStrProp(I, p, V); }
double GetFloatProp(TObject* I, std::string_view Path) { auto p = Require(I, Path); return GetFloatProp(I, p); }
void SetFloatProp(TObject* I, std::string_view Path, double V) { auto p = Require(I, Path); SetFloatProp(I, p, V); }
long long GetInt64Prop(TObject* I, std::string_view Path) { auto p = Require(I, Path); return GetInt64Prop(I, p); }
void SetInt64Prop(TObject* I, std::string_view Path, long long V) { auto p = Require(I, Path); SetInt64Prop(I, p, V); }
TObject* GetObjectProp(TObject* I, std::string_view Path) { auto p = Require(I, Path); return GetObjectProp(I, p); }
void SetObjectProp(TObject* I, std::string_view Path, TObject* V) { auto p = Require(I, Path); SetObjectProp(I, p, V); }
TMethod GetMethodProp(TObject* I, std::string_view Path) { auto p = Require(I, Path); return GetMethodProp(I, p); }
void SetMethodProp(TObject* I, std::string_view Path, const TMethod& V) { auto p = Require(I, Path); SetMethodProp(I, p, V); }
Variant GetPropValue(TObject* I, std::string_view Path) { auto p = Require(I, Path); return GetPropValue(I, p); }
void SetPropValue(TObject* I, std::string_view Path, const Variant& V) { auto p = Require(I, Path); SetPropValue(I, p, V); }

// --- Identifiers ----------------------------------------------------------------------------------

String GetEnumName(const TEnumType* Type, long long Value) {
  const char* s = Type ? Type->Ident(Value) : nullptr;
  return s ? String(s) : String();
}

int GetEnumValue(const TEnumType* Type, std::string_view Name) { return Type ? Type->IndexOf(Name) : -1; }

String SetToString(const TEnumType* Type, unsigned Bits, bool Brackets) {
  String s;
  for (int i = 0; i < Type->Count() && i < 32; ++i) {
    if (Bits & (1u << i)) {
      if (!s.empty()) s += ',';
      s += Type->Ident(i);
    }
  }
  return Brackets ? "[" + s + "]" : s;
}

unsigned StringToSet(const TEnumType* Type, std::string_view Text) {
  Text = TrimView(Text);
  if (!Text.empty() && Text.front() == '[') {
    if (Text.back() != ']') throw EPropertyError(Format("Ensemble incorrect : %s"_a, {String(Text)}));
    Text = Text.substr(1, Text.size() - 2);
  }
  unsigned bits = 0;
  while (!TrimView(Text).empty()) {
    std::size_t comma = Text.find(',');
    std::string_view item = TrimView(Text.substr(0, comma));
    int v = Type->IndexOf(item);
    if (v < 0 || v >= 32) {
      throw EPropertyError(Format("Identificateur %s inconnu dans un ensemble de %s"_a,
                                  {String(item), String(Type->Name())}));
    }
    bits |= 1u << v;
    Text = comma == std::string_view::npos ? std::string_view() : Text.substr(comma + 1);
  }
  return bits;
}

bool IsDefaultPropValue(TObject* Instance, const TPropInfo* P) {
  switch (P->Kind) {
    case tkInteger:
    case tkChar:
    case tkEnumeration:
    case tkSet:
    case tkInt64:
      return P->HasDefault && P->GetOrd(Instance) == P->DefaultOrd;
    case tkFloat:
      return P->GetFloat(Instance) == (P->HasDefault ? P->DefaultFloat : 0.0);
    case tkLString:
      return P->GetStr(Instance).empty();
    case tkClass:
      return P->GetObj(Instance) == nullptr;
    case tkMethod:
      return !P->GetMeth(Instance).Assigned();
    default:
      return false;
  }
}

bool IsValidIdent(std::string_view Ident) {
  if (Ident.empty()) return false;
  auto alpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
  if (!alpha(Ident[0])) return false;
  for (char c : Ident) {
    if (!alpha(c) && !(c >= '0' && c <= '9')) return false;
  }
  return true;
}
