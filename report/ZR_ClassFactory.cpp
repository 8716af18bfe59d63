// This file implements the report engine's object factory, registries and shared services.
#include "ZR_ClassFactory.h"

#include <array>
#include <type_traits>

#include "Component.h"
#include "StrUtils.h"
#include "Strings.h"
#include "ZR_ClassFunctions.h"
#include "ZR_ClassGlobals.h"
#include "ZR_DBSet.h"
#include "ZR_Utils.h"
#include "Graphics.h"

static_assert(std::is_same_v<HFONT, HFONT__*>, "MakeUpwardFont's declaration names the API's HFONT");

namespace {

// Fixed tables, as the stream formats and the start-up order expect: entries keep their order.
template <class T>
struct TRegistry {
  std::array<T, zrMaxRegistryEntries> Items{};
  int Count = 0;

  void CheckRoom(const char* What) const {
    if (Count >= zrMaxRegistryEntries)
      throw EzrRegistryFull(String("Registre plein ("_a) + What + ", " + IntToStr(zrMaxRegistryEntries) + " au plus)");
  }
  void RemoveAt(int Index) {
    for (int i = Index; i + 1 < Count; ++i) Items[std::size_t(i)] = std::move(Items[std::size_t(i + 1)]);
    --Count;
    Items[std::size_t(Count)] = T{};
  }
};

struct TLibraryRegistry : TRegistry<TzrFunctionLibrary*> {
  ~TLibraryRegistry() {
    for (int i = 0; i < Count; ++i) delete Items[std::size_t(i)];
  }
};

// Function-local statics: made on first use, so that the engine's singletons, which register
// libraries while they are made, are freed before the tables they registered into.
TRegistry<TzrAddInObjectInfo>& AddInRegistry() {
  static TRegistry<TzrAddInObjectInfo> r;
  return r;
}
TRegistry<TzrExportFilterInfo>& FilterRegistry() {
  static TRegistry<TzrExportFilterInfo> r;
  return r;
}
TLibraryRegistry& LibraryRegistry() {
  // The engine's own libraries come first, whoever asks first.
  zrGlobals();
  static TLibraryRegistry r;
  return r;
}

std::array<TClass, 5> BuiltInClasses{};
int ObjectIdCounter = 0;

void Stamp(TObject* Object, int Kind, bool SetKind) {
  if (auto* product = dynamic_cast<TzrFactoryProduct*>(Object)) {
    if (SetKind) product->SetObjectKind(Kind);
    product->SetObjectId(ObjectIdCounter);
  }
  ++ObjectIdCounter;
}

void CheckIndex(int Index, int Count) {
  if (Index < 0 || Index >= Count) throw EListError("Indice de liste hors limites ("_a + IntToStr(Index) + ")");
}

}  // namespace

// ---- Object factory

void SetBuiltInObjectClass(int Kind, TClass Class) {
  CheckIndex(Kind, int(BuiltInClasses.size()));
  BuiltInClasses[std::size_t(Kind)] = Class;
}

TClass BuiltInObjectClass(int Kind) {
  CheckIndex(Kind, int(BuiltInClasses.size()));
  return BuiltInClasses[std::size_t(Kind)];
}

int NextObjectId() { return ObjectIdCounter; }

TObject* CreateReportObject(int Kind, const String& ClassName) {
  if (Kind >= zrKindMemo && Kind <= zrKindLine) {
    TClass c = BuiltInClasses[std::size_t(Kind)];
    if (c == nullptr) return nullptr;
    TObject* object = c->Create(nullptr);
    Stamp(object, Kind, false);
    return object;
  }
  if (Kind != zrKindAddIn) return nullptr;
  auto& addIns = AddInRegistry();
  for (int i = 0; i < addIns.Count; ++i) {
    TClass c = addIns.Items[std::size_t(i)].ClassRef;
    if (ClassName == c->Name) {
      TObject* object = c->Create(nullptr);
      Stamp(object, zrKindAddIn, true);
      return object;
    }
  }
  zrEngine.BuildError = true;
  zrEngine.BuildErrorText += ClassName + "\r";
  throw EClassNotFound(zrEngine.BuildErrorText);
}

// ---- Add-ins

void EnrolAddInClass(TClass Class, TObject* ButtonPicture, const String& Hint) {
  auto& r = AddInRegistry();
  for (int i = 0; i < r.Count; ++i)
    if (r.Items[std::size_t(i)].ClassRef == Class) return;
  r.CheckRoom("objets additionnels");
  // The picture lives as long as the program and is shown only by an editing front end: it keeps
  // no device context meanwhile.
  TBitmap* bitmap = dynamic_cast<TBitmap*>(ButtonPicture);
  if (auto* picture = dynamic_cast<TPicture*>(ButtonPicture))
    bitmap = dynamic_cast<TBitmap*>(picture->Graphic());
  if (bitmap != nullptr) bitmap->Dormant();
  r.Items[std::size_t(r.Count++)] = TzrAddInObjectInfo{Class, ButtonPicture, Hint, 0};
}

int AddInCount() { return AddInRegistry().Count; }

const TzrAddInObjectInfo& AddIns(int Index) {
  CheckIndex(Index, AddInCount());
  return AddInRegistry().Items[std::size_t(Index)];
}

// ---- Export filters

bool EnrolExportFilter(TObject* Filter, const String& Description, const String& FileMask) {
  auto& r = FilterRegistry();
  for (int i = 0; i < r.Count; ++i) {
    const TzrExportFilterInfo& e = r.Items[std::size_t(i)];
    if (e.Filter->ClassType() == Filter->ClassType() && e.FileMask == FileMask) return false;
  }
  r.CheckRoom("filtres d'export");
  r.Items[std::size_t(r.Count++)] = TzrExportFilterInfo{Filter, Description, FileMask};
  return true;
}

void DropExportFilter(TObject* Filter) {
  auto& r = FilterRegistry();
  for (int i = r.Count - 1; i >= 0; --i)
    if (r.Items[std::size_t(i)].Filter->ClassName() == Filter->ClassName()) {
      r.RemoveAt(i);
      return;
    }
}

int ExportFilterCount() { return FilterRegistry().Count; }

const TzrExportFilterInfo& ExportFilters(int Index) {
  CheckIndex(Index, ExportFilterCount());
  return FilterRegistry().Items[std::size_t(Index)];
}

// ---- Function libraries

void EnrolFunctionLibrary(TClass Class) {
  auto& r = LibraryRegistry();
  for (int i = 0; i < r.Count; ++i)
    if (r.Items[std::size_t(i)]->ClassName() == Class->Name) return;
  r.CheckRoom("bibliothèques de fonctions"_a);
  TObject* object = Class->Create(nullptr);
  auto* library = dynamic_cast<TzrFunctionLibrary*>(object);
  if (library == nullptr) {
    delete object;
    throw EInvalidCast(String(Class->Name) + " n'est pas une bibliothèque de fonctions"_a);
  }
  r.Items[std::size_t(r.Count++)] = library;
}

void DropFunctionLibrary(TClass Class) {
  auto& r = LibraryRegistry();
  for (int i = 0; i < r.Count; ++i) {
    TzrFunctionLibrary* library = r.Items[std::size_t(i)];
    if (library->ClassName() == Class->Name) {
      zrGlobals().InstalledFunctions()->RemoveLibrary(library);
      r.RemoveAt(i);
      delete library;
      return;
    }
  }
}

int FunctionLibraryCount() { return LibraryRegistry().Count; }

TzrFunctionLibrary* FunctionLibraries(int Index) {
  CheckIndex(Index, FunctionLibraryCount());
  return LibraryRegistry().Items[std::size_t(Index)];
}

void DescribeLibraryFunction(TzrFunctionLibrary* Library, const String& Name, const String& Category,
                             const String& Description) {
  zrGlobals().InstalledFunctions()->Add(Library, Name, Category, Description);
}

bool CallLibraryFunction(const String& Name, const Variant& p1, const Variant& p2, const Variant& p3, Variant& Val) {
  auto& r = LibraryRegistry();
  for (int i = 0; i < r.Count; ++i)
    if (r.Items[std::size_t(i)]->TryCall(Name, p1, p2, p3, Val)) return true;
  return false;
}

// ---- Engine services

TDataSet* CurrentBandDataSet() {
  TzrEngineHost* host = zrEngine.Host;
  if (host == nullptr) return nullptr;
  TzrDataset* source = host->ReportDataSource();
  int bandType = host->PrintingBandType();
  int dataBand = -1;
  if ((bandType >= 0 && bandType <= 6) || bandType == 16 || bandType == 17)
    dataBand = btMasterData;
  else if (bandType == 8 || bandType == 9)
    dataBand = btDetailData;
  else if (bandType == 11 || bandType == 12)
    dataBand = btSubDetailData;
  else if (bandType == 19 || bandType == 20)
    dataBand = btCrossData;
  // A page without that data band falls back on the report's own source, as other band types do.
  TzrDataset* bandSource = nullptr;
  if (dataBand >= 0 && host->PageDataBandSource(dataBand, bandSource)) source = bandSource;
  auto* dbSource = dynamic_cast<TzrDBDataSet*>(source);
  return dbSource != nullptr ? dbSource->ResolveDataSet() : nullptr;
}

String ReadVersionedString(TStream* Stream) {
  return zrEngine.StreamVersion < zrFirstCountedVersion ? ReadZeroString(Stream) : ReadCountedString(Stream);
}

void ReadVersionedLines(TStream* Stream, TStrings* Lines) {
  if (zrEngine.StreamVersion < zrFirstCountedVersion)
    ReadZeroLines(Stream, Lines);
  else
    ReadCountedLines(Stream, Lines);
}

void ResolveDataSource(const String& Name, TzrDataset*& DataSource, bool& Created) {
  DataSource = nullptr;
  Created = false;
  if (!Name.empty() && Name[0] >= '1' && Name[0] <= '9') {
    auto* counted = new TzrUserDataset(nullptr);
    counted->RangeEnd = reCount;
    counted->RangeEndCount = StrToInt(Name);
    DataSource = counted;
    Created = true;
  } else {
    TComponent* owner = zrEngine.Host ? zrEngine.Host->ReportOwner() : nullptr;
    TComponent* found = FindComponentPath(owner, Name);
    if (found != nullptr) {
      DataSource = dynamic_cast<TzrDataset*>(found);
      if (DataSource == nullptr) throw EInvalidCast("Transtypage de classe incorrect"_a);
    }
  }
  if (DataSource != nullptr) DataSource->OpenSource();
}

void ReportBuildError(const Exception& E) {
  zrEngine.BuildError = true;
  zrEngine.BuildErrorText = EngineString(55200);
  String objectPart;
  String reportName;
  if (TzrEngineHost* host = zrEngine.Host) {
    String name;
    TStringList memo;
    if (host->CurrentObject(name, &memo)) {
      for (int i = 0; i < memo.Count(); ++i) zrEngine.BuildErrorText += "\r" + memo[i];
      objectPart = EngineString(55202) + " " + name + "\r";
    }
    reportName = host->ReportName();
  }
  zrEngine.BuildErrorText += "\r\r" + EngineString(55201) + " " + reportName + "\r" + objectPart + "\r" + E.Message;
  if (zrEngine.Host) zrEngine.Host->Terminate();
}

namespace {

char HexDigit(int Value) { return "0123456789ABCDEF"[Value & 15]; }

int HexDigitValue(char C) {
  int code = static_cast<unsigned char>(C);
  if (code >= 'a' && code <= 'z') code -= 'a' - 'A';
  return code > '9' ? code - 55 : code - 48;
}

}  // namespace

String HexEncode(const String& S) {
  String out;
  out.reserve(S.size() * 2);
  for (unsigned char c : S) {
    out += HexDigit(c >> 4);
    out += HexDigit(c);
  }
  return out;
}

String HexDecode(const String& S) {
  String out;
  out.reserve(S.size() / 2);
  for (std::size_t i = 0; i + 1 < S.size(); i += 2)
    out += static_cast<char>((HexDigitValue(S[i]) << 4) + HexDigitValue(S[i + 1]));
  return out;
}

HFONT__* MakeUpwardFont(TFont* Font) {
  LOGFONTA description{};
  if (GetObjectA(Font->Handle(), sizeof(description), &description) != int(sizeof(description)))
    throw EOSError("Police introuvable : "_a + Font->Name());
  description.lfEscapement = 900;
  description.lfOrientation = 900;
  HFONT upward = CreateFontIndirectA(&description);
  if (upward == nullptr) throw EOSError("Impossible de créer la police "_a + Font->Name());
  return upward;
}
