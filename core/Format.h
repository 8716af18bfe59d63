// This file implements Format: printf-like formatting of a list of mixed arguments under the locale
// settings, with the directives %[index:][-][width][.precision]type and %%.
#pragma once

#include <initializer_list>

#include "AnsiString.h"

// One argument of Format, tagged with its kind. A String or text argument is referenced, not copied:
// it lives as long as the Format call's argument list.
class TVarRec {
 public:
  enum TKind { vtInteger, vtInt64, vtUInt64, vtExtended, vtBoolean, vtChar, vtPChar, vtString, vtPointer };

  TVarRec(int V) : VType(vtInteger), VInt64(V) {}
  TVarRec(unsigned V) : VType(vtInt64), VInt64(V) {}
  TVarRec(long V) : VType(sizeof(long) == 4 ? vtInteger : vtInt64), VInt64(V) {}
  TVarRec(unsigned long V) : TVarRec(static_cast<unsigned long long>(V)) {}
  TVarRec(long long V) : VType(vtInt64), VInt64(V) {}
  TVarRec(unsigned long long V) : VType(vtUInt64), VUInt64(V) {}
  TVarRec(double V) : VType(vtExtended), VExtended(V) {}
  TVarRec(long double V) : VType(vtExtended), VExtended(static_cast<double>(V)) {}
  TVarRec(bool V) : VType(vtBoolean), VBoolean(V) {}
  TVarRec(char V) : VType(vtChar), VChar(V) {}
  TVarRec(const char* V) : VType(vtPChar), VPChar(V) {}
  TVarRec(const String& V) : VType(vtString), VString(&V) {}
  TVarRec(const void* V) : VType(vtPointer), VPointer(V) {}

  TKind VType;
  union {
    long long VInt64;  // vtInteger and vtInt64
    unsigned long long VUInt64;
    double VExtended;
    bool VBoolean;
    char VChar;
    const char* VPChar;
    const String* VString;
    const void* VPointer;
  };
};

// Types: d u x (upper-case hex) e f g n m (decimal separator, thousand separator and currency of
// the settings) p (pointer in hex) s. A "*" takes a width, precision or index from the arguments.
// EConvertError on a bad directive, a missing argument or an argument of the wrong kind.
String Format(const String& Fmt, std::initializer_list<TVarRec> Args);
