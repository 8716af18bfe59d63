// This file implements access to the resources compiled into the program: form descriptions
// (RT_RCDATA named after the form class in upper case, UTF-8 text), pictures and other raw data,
// found by name in the program module.
#pragma once

#include "WinApi.h"

#include <string>

#include "AnsiString.h"
#include "Exceptions.h"
#include "Object.h"
#include "Streams.h"

VELBOR_EXCEPTION(EResNotFound, Exception)

// The module that holds the program's resources (the program file itself).
HINSTANCE MainInstance();

// True when the program carries a resource of that name and type (names are case-insensitive,
// as the resource loader compares them).
bool ResourceExists(const String& Name, LPCSTR Type = RT_RCDATA);
// The raw bytes; EResNotFound "Ressource NAME introuvable" when absent.
std::string LoadResourceBytes(const String& Name, LPCSTR Type = RT_RCDATA);

// A read-only copy of a resource as a memory stream, positioned at its start.
class TResourceStream : public TMemoryStream {
 public:
  TResourceStream(HINSTANCE Instance, const String& Name, LPCSTR Type);
};

class TComponent;
// The resource name of a class's form description: its name in upper case ("TFRMMAIN").
String FormResourceName(TClass Class);
// True when the class has a description compiled into the program.
bool HasFormResource(TClass Class);
// Reads the description of Class (converted from UTF-8) into Root, which is of that class or
// descends from it. EResNotFound when there is none; EReadError from the reader.
void ReadFormResource(TComponent* Root, TClass Class);
// Reads the descriptions of Root's class and of its ancestors below Base, the ancestors first (an
// inherited form adds to its ancestor's description). Returns false when none was found.
bool InitInheritedComponent(TComponent* Root, TClass Base);
