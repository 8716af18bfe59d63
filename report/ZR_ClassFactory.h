// This file implements the report engine's object factory and its three registries (add-in object
// classes, export filters, function libraries), with the engine services several layers share:
// the data set of the band being printed, strings read by stream version, data-source names, the
// recording of a build error, the hexadecimal coding of texts and the upward font.
#pragma once

#include "AnsiString.h"
#include "Exceptions.h"
#include "Object.h"
#include "Variant.h"

class TComponent;
class TDataSet;
class TFont;
class TStream;
class TStrings;
class TzrDataset;
class TzrFunctionLibrary;
// The window system's font handle (HFONT), named without its header.
struct HFONT__;

// Each registry holds at most this many entries; one more is refused with EzrRegistryFull.
inline constexpr int zrMaxRegistryEntries = 64;
VELBOR_EXCEPTION(EzrRegistryFull, EInvalidOperation)

// Object kinds of templates and prepared pages.
inline constexpr int zrKindMemo = 0;
inline constexpr int zrKindPicture = 1;
inline constexpr int zrKindBand = 2;
inline constexpr int zrKindSubReport = 3;
inline constexpr int zrKindLine = 4;
inline constexpr int zrKindAddIn = 10;

// What the factory sets on every object it makes; report views implement it.
class TzrFactoryProduct {
 public:
  virtual void SetObjectKind(int Kind) = 0;
  virtual void SetObjectId(int Id) = 0;

 protected:
  ~TzrFactoryProduct() = default;
};

// ---- Object factory

// The views unit names the classes of the five built-in kinds (0 to 4) at start-up.
void SetBuiltInObjectClass(int Kind, TClass Class);
TClass BuiltInObjectClass(int Kind);
// Kinds 0 to 4: an object of the built-in class; kind 10: the first registered add-in class whose
// name equals ClassName exactly, with its kind set to 10. nullptr for any other kind (and for a
// built-in kind whose class is not set). Each object gets the next object id. An unknown add-in
// class sets the build-error flag, appends its name and a carriage return to the error text and
// raises EClassNotFound with the whole error text.
TObject* CreateReportObject(int Kind, const String& ClassName);
// The id the next object will get.
int NextObjectId();

// ---- Add-in object classes

struct TzrAddInObjectInfo {
  TClass ClassRef = nullptr;
  TObject* ButtonPicture = nullptr;  // a TBitmap or TPicture owned by the registering unit
  String Hint;
  unsigned Reserved = 0;
};

// Nothing when the class is already registered. A bitmap picture (a TBitmap, or a TPicture holding
// one) is made dormant: it keeps its image, not a device context.
void EnrolAddInClass(TClass Class, TObject* ButtonPicture, const String& Hint);
int AddInCount();
const TzrAddInObjectInfo& AddIns(int Index);

// ---- Export filters

struct TzrExportFilterInfo {
  TObject* Filter = nullptr;  // the filter component, not owned
  String Description;
  String FileMask;
};

// False (and nothing added) when a filter of the same class with the same mask is registered.
bool EnrolExportFilter(TObject* Filter, const String& Description, const String& FileMask);
// Removes the last registered filter of Filter's class.
void DropExportFilter(TObject* Filter);
int ExportFilterCount();
const TzrExportFilterInfo& ExportFilters(int Index);

// ---- Function libraries

// Makes one instance of Class unless a library of that class is registered.
void EnrolFunctionLibrary(TClass Class);
// Forgets the library's descriptions and frees it.
void DropFunctionLibrary(TClass Class);
int FunctionLibraryCount();
TzrFunctionLibrary* FunctionLibraries(int Index);
void DescribeLibraryFunction(TzrFunctionLibrary* Library, const String& Name, const String& Category,
                             const String& Description);
// Asks the libraries in registration order; true when one of them owns the function.
bool CallLibraryFunction(const String& Name, const Variant& p1, const Variant& p2, const Variant& p3, Variant& Val);

// ---- Engine services

// The data set behind the band being printed; nullptr when its source is not a TzrDBDataSet.
TDataSet* CurrentBandDataSet();
// The legacy forms before format 23, the counted forms from then on (zrEngine.StreamVersion).
String ReadVersionedString(TStream* Stream);
void ReadVersionedLines(TStream* Stream, TStrings* Lines);
// "25" makes a TzrUserDataset counting 25 records (Created true: the caller frees it); any other
// name is looked up from the report's owner (FindComponentPath) and must be a report data source
// (EInvalidCast otherwise). The source found or made is opened.
void ResolveDataSource(const String& Name, TzrDataset*& DataSource, bool& Created);
// Records an error raised while a page is built: error flag, the error text with the current
// object's memo and the report's name, and the report is told to stop.
void ReportBuildError(const Exception& E);
// Each byte as two upper-case hexadecimal digits, high half first; and back (a last odd character
// is ignored, digits are not checked).
String HexEncode(const String& S);
String HexDecode(const String& S);
// A new font of Font's description whose text runs upwards (escapement and orientation 900
// tenths of a degree). The caller selects it, draws and deletes it.
HFONT__* MakeUpwardFont(TFont* Font);
