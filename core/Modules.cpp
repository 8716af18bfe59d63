// This file implements the registry of live modules by name.
#include "Modules.h"

#include <algorithm>
#include <vector>

#include "Component.h"
#include "TextOrder.h"

namespace {

std::vector<TComponent*>& List() {
  static std::vector<TComponent*> list;
  return list;
}

}  // namespace

void RegisterModule(TComponent* Module) {
  if (!Module || Module->FGlobalModule) return;
  List().push_back(Module);
  Module->FGlobalModule = true;
}

void UnregisterModule(TComponent* Module) {
  if (!Module || !Module->FGlobalModule) return;
  auto& list = List();
  list.erase(std::remove(list.begin(), list.end(), Module), list.end());
  Module->FGlobalModule = false;
}

int ModuleCount() { return int(List().size()); }

TComponent* Modules(int Index) {
  return Index >= 0 && Index < ModuleCount() ? List()[std::size_t(Index)] : nullptr;
}

TComponent* FindGlobalComponent(const String& Name) {
  if (Name.empty()) return nullptr;
  for (TComponent* m : List()) {
    if (SameText(m->Name(), Name)) return m;
  }
  return nullptr;
}

TComponent* FindGlobalReference(const String& Path) {
  std::size_t dot = Path.find('.');
  TComponent* module = FindGlobalComponent(Path.substr(0, dot));
  if (!module || dot == String::npos) return module;
  return module->FindComponent(Path.substr(dot + 1));
}
