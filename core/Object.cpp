// This file implements class information, virtual construction and the class registry.
#include "Object.h"

#include <cassert>
#include <map>
#include <new>

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

using TClassRegistry = std::map<String, TClass, NameLess>;

// Made by the first TClassRegistryUse and freed by the last (constant-initialised, so it counts
// from the start of the program).
int RegistryUses = 0;
alignas(TClassRegistry) unsigned char RegistryStorage[sizeof(TClassRegistry)];

TClassRegistry* RegistryObject() { return std::launder(reinterpret_cast<TClassRegistry*>(RegistryStorage)); }

TClassRegistry& Registry() {
  assert(RegistryUses > 0);
  return *RegistryObject();
}

}  // namespace

TClassRegistryUse::TClassRegistryUse() {
  if (RegistryUses++ == 0) new (RegistryStorage) TClassRegistry();
}

TClassRegistryUse::~TClassRegistryUse() {
  if (--RegistryUses == 0) RegistryObject()->~TClassRegistry();
}

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
