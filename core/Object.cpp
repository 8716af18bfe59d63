// This file implements class information, virtual construction and the class registry.
#include "Object.h"

#include <map>

#include "Exceptions.h"
#include "TextOrder.h"

constinit const TClassInfo TObject::ClassInfo_ = {"TObject", nullptr, [](TObject*) -> TObject* { return new TObject(); },
                                         nullptr, nullptr, nullptr, nullptr};

bool TClassInfo::InheritsFrom(const TClassInfo* Ancestor) const {
  for (const TClassInfo* c = this; c; c = c->Parent) {
    if (c == Ancestor) return true;
  }
  return false;
}

bool TClassInfo::InheritsFrom(const String& AncestorName) const {
  for (const TClassInfo* c = this; c; c = c->Parent) {
    if (SameText(c->Name, AncestorName)) return true;
  }
  return false;
}

TObject* TClassInfo::Create(TObject* Owner) const {
  if (!Factory) throw EInvalidOperation(String("Impossible de créer une instance de la classe abstraite "_a) + Name);
  return Factory(Owner);
}

bool TObject::ClassNameIs(const String& Name) const { return SameText(ClassType()->Name, Name); }

namespace {

struct NameLess {
  bool operator()(const String& a, const String& b) const { return CompareText(a, b) < 0; }
};

std::map<String, TClass, NameLess>& Registry() {
  static std::map<String, TClass, NameLess> registry;
  return registry;
}

}  // namespace

void RegisterClass(TClass Class) { Registry()[Class->Name] = Class; }

void UnRegisterClass(TClass Class) {
  auto it = Registry().find(Class->Name);
  if (it != Registry().end() && it->second == Class) Registry().erase(it);
}

TClass GetClass(const String& Name) {
  auto it = Registry().find(Name);
  return it == Registry().end() ? nullptr : it->second;
}

TClass FindClass(const String& Name) {
  TClass c = GetClass(Name);
  if (!c) throw EClassNotFound("Classe " + Name + " non trouvée"_a);
  return c;
}
