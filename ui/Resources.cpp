// This file implements access to the resources compiled into the program.
#include "Resources.h"

#include <cstring>
#include <vector>

#include "Component.h"
#include "Filer.h"
#include "Format.h"

HINSTANCE MainInstance() { return GetModuleHandleA(nullptr); }

namespace {
HRSRC FindNamed(const String& Name, LPCSTR Type) {
  return FindResourceA(MainInstance(), Name.c_str(), Type);
}
}  // namespace

bool ResourceExists(const String& Name, LPCSTR Type) { return FindNamed(Name, Type) != nullptr; }

std::string LoadResourceBytes(const String& Name, LPCSTR Type) {
  HRSRC info = FindNamed(Name, Type);
  HGLOBAL block = info ? LoadResource(MainInstance(), info) : nullptr;
  const void* data = block ? LockResource(block) : nullptr;
  if (!data) throw EResNotFound(Format("Ressource %s introuvable", {Name}));
  return std::string(static_cast<const char*>(data), SizeofResource(MainInstance(), info));
}

TResourceStream::TResourceStream(HINSTANCE Instance, const String& Name, LPCSTR Type) {
  HRSRC info = FindResourceA(Instance, Name.c_str(), Type);
  HGLOBAL block = info ? LoadResource(Instance, info) : nullptr;
  const void* data = block ? LockResource(block) : nullptr;
  if (!data) throw EResNotFound(Format("Ressource %s introuvable", {Name}));
  Write(data, SizeofResource(Instance, info));
  Seek(0, soBeginning);
}

String FormResourceName(TClass Class) {
  String name = Class->Name;
  for (char& c : name) c = AnsiUpperChar(c);
  return name;
}

bool HasFormResource(TClass Class) { return ResourceExists(FormResourceName(Class)); }

void ReadFormResource(TComponent* Root, TClass Class) {
  std::string bytes = LoadResourceBytes(FormResourceName(Class));
  // A resource file may carry a UTF-8 byte-order mark; the description starts after it.
  if (bytes.size() >= 3 && std::memcmp(bytes.data(), "\xEF\xBB\xBF", 3) == 0) bytes.erase(0, 3);
  ReadComponentFromText(Root, Utf8ToAnsi(bytes), Class->Name);
}

bool InitInheritedComponent(TComponent* Root, TClass Base) {
  std::vector<TClass> chain;
  for (TClass c = Root->ClassType(); c && c != Base; c = c->Parent) chain.push_back(c);
  bool found = false;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if (!HasFormResource(*it)) continue;
    ReadFormResource(Root, *it);
    found = true;
  }
  return found;
}
