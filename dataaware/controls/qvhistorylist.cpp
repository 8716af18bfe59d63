// This file implements the combo box history and its storage (see qvhistorylist.h).
#include "qvhistorylist.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "Component.h"
#include "FileUtils.h"
#include "IniFiles.h"
#include "Qvintl.h"
#include "Registry.h"
#include "qvStrUtils.h"

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TPointerStream)

VELBOR_IMPLEMENT_CLASS(TqvHistoryList)
VELBOR_PUBLISHED(TqvHistoryList,
  Prop("Section", &Self::Section),
  Prop("FileName", &Self::FileName, &Self::SetFileName),
  Prop("MaxSize", &Self::MaxSize).Default(-1),
  Prop("StorageType", &Self::StorageType).Default(stIniFile),
  Prop("Enabled", &Self::Enabled).Default(false),
  Prop("MRUEnabled", &Self::MRUEnabled).Default(false),
  Prop("MRUMaxSize", &Self::MRUMaxSize).Default(2))

// --- TPointerStream ---------------------------------------------------------------------------------

std::int64_t TPointerStream::Read(void* Buffer, std::int64_t Count) {
  std::int64_t Available = std::max<std::int64_t>(0, FSize - FPosition);
  std::int64_t N = std::clamp<std::int64_t>(Count, 0, Available);
  if (N > 0) std::memcpy(Buffer, FMemory + FPosition, std::size_t(N));
  FPosition += N;
  return N;
}

std::int64_t TPointerStream::Write(const void*, std::int64_t) {
  throw EStreamError("Le flux est en lecture seule");
}

std::int64_t TPointerStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
  std::int64_t Base = Origin == soBeginning ? 0 : Origin == soCurrent ? FPosition : FSize;
  FPosition = std::max<std::int64_t>(0, Base + Offset);
  return FPosition;
}

// --- TqvHistoryList ---------------------------------------------------------------------------------

TqvHistoryList::TqvHistoryList(TComponent* AOwner) : FOwner(AOwner), FItems(new TStringList) {}

TqvHistoryList::~TqvHistoryList() {
  // Nothing raised leaves a destructor: a history that cannot be written is lost.
  try {
    if (FLoaded && !(FOwner != nullptr && FOwner->ComponentState().Contains(csDesigning))) Save();
  } catch (...) {
  }
  delete FItems;
}

TPersistent* TqvHistoryList::GetOwner() { return FOwner; }

void TqvHistoryList::Assign(TPersistent* Source) {
  auto* Other = dynamic_cast<TqvHistoryList*>(Source);
  if (Other == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  Section = Other->Section;
  FFileName = Other->FFileName;
  MaxSize = Other->MaxSize;
  StorageType = Other->StorageType;
  Enabled = Other->Enabled;
  MRUEnabled = Other->MRUEnabled;
  MRUMaxSize = Other->MRUMaxSize;
}

String TqvHistoryList::FileName() const {
  if (!FFileName.empty()) return FFileName;
  String Library = qvIntl->IniFileName;
  if (!Library.empty()) return Library;
  if (StorageType == stIniFile && FOwner != nullptr && !FOwner->ComponentState().Contains(csDesigning))
    return qvExtractFileBaseName(ParamStr(0)) + ".ini";
  return String();
}

int TqvHistoryList::GetMRUCount() const {
  if (!Enabled || !MRUEnabled) return 0;
  return std::max(0, std::min(MRUMaxSize, FItems->Count()));
}

void TqvHistoryList::LoadInto(TStrings* Strings) {
  if (HasStorage()) {
    if (StorageType == stRegistry) LoadFromRegistry();
    else LoadFromIniFile();
    FLoaded = true;
  }
  for (int i = 0; i < FItems->Count(); ++i) {
    const String& Entry = FItems->Strings(i);
    bool Present = false;
    for (int j = 0; j < Strings->Count() && !Present; ++j) Present = qvSameText(Strings->Strings(j), Entry);
    if (!Present) Strings->Add(Entry);
  }
}

void TqvHistoryList::Save() {
  if (!HasStorage()) return;
  if (StorageType == stRegistry) SaveToRegistry();
  else SaveToIniFile();
}

// The value holds each entry followed by CR LF, oldest first.
void TqvHistoryList::SaveToRegistry() {
  if (MaxSize > 0) {
    while (FItems->Count() > MaxSize) FItems->Delete(0);
  }
  TMemoryStream Stream;
  FItems->SaveToStream(&Stream);
  TRegistry Registry;
  Registry.SetRootKey(HKEY_CURRENT_USER);
  if (!Registry.OpenKey(FileName(), true)) return;
  Registry.WriteBinaryData(Section, Stream.Memory(), int(Stream.Size()));
  Registry.CloseKey();
}

void TqvHistoryList::LoadFromRegistry() {
  FItems->Clear();
  TRegistry Registry;
  Registry.SetRootKey(HKEY_CURRENT_USER);
  if (!Registry.OpenKey(FileName(), true)) return;
  TRegDataInfo Info;
  // Nothing saved yet, or a value of another kind: no history.
  if (!Registry.GetDataInfo(Section, Info) || Info.RegData != rdBinary || Info.DataSize <= 0) return;
  std::vector<char> Buffer(std::size_t(Info.DataSize));
  int Read = Registry.ReadBinaryData(Section, Buffer.data(), int(Buffer.size()));
  if (Read != Info.DataSize) return;
  // Texts hold no zero byte: a value with one is not a history.
  if (std::find(Buffer.begin(), Buffer.end(), '\0') != Buffer.end()) return;
  TPointerStream Stream(Buffer.data(), std::int64_t(Buffer.size()));
  FItems->LoadFromStream(&Stream);
}

void TqvHistoryList::SaveToIniFile() {
  TIniFile Ini(FileName());
  Ini.EraseSection(Section);
  int First = MaxSize > 0 ? std::max(0, FItems->Count() - MaxSize) : 0;
  for (int i = First; i < FItems->Count(); ++i) Ini.WriteString(Section, std::to_string(i), FItems->Strings(i));
}

void TqvHistoryList::LoadFromIniFile() {
  FItems->Clear();
  TIniFile Ini(FileName());
  TStringList Keys;
  Ini.ReadSection(Section, &Keys);
  for (int i = 0; i < Keys.Count(); ++i) FItems->Add(Ini.ReadString(Section, Keys.Strings(i), String()));
}
