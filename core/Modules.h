// This file implements the registry of live modules (forms and data modules) by name, through
// which form descriptions and reports reach "dmVelbor.qDetailZoneHumide".
#pragma once

#include "AnsiString.h"

class TComponent;

// A module registers once it exists (the form reader registers every root it reads) and leaves
// the registry when it is destroyed. Registering twice is harmless.
void RegisterModule(TComponent* Module);
void UnregisterModule(TComponent* Module);
int ModuleCount();
TComponent* Modules(int Index);
// The live module of that name (case-insensitive), the first registered when several share it;
// nullptr when none.
TComponent* FindGlobalComponent(const String& Name);
// "Module.Component" or "Module": the component, or nullptr.
TComponent* FindGlobalReference(const String& Path);
