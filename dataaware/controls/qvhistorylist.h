// This file implements TqvHistoryList, the history of a combo box: the texts entered before, kept
// across sessions in a binary value of the current user's registry or in an ini file section, and
// optionally repeated as most-recently-used entries at the top of the drop-down list; and
// TPointerStream, a read-only stream over a buffer it does not own.
#pragma once

#include <cstdint>

#include "Persistent.h"
#include "Streams.h"
#include "Strings.h"
#include "TypInfo.h"

class TComponent;

enum TqvStorageType { stRegistry, stIniFile };
VELBOR_ENUM(TqvStorageType, "stRegistry", "stIniFile")

// Reads Size bytes at Memory; writing is refused.
class TPointerStream : public TStream {
  VELBOR_DECLARE_CLASS(TPointerStream, TStream)
 public:
  TPointerStream(const void* Memory, std::int64_t Size) : FMemory(static_cast<const char*>(Memory)), FSize(Size) {}

  std::int64_t Size() override { return FSize; }
  std::int64_t Read(void* Buffer, std::int64_t Count) override;
  // EStreamError: the memory is not the stream's.
  std::int64_t Write(const void* Buffer, std::int64_t Count) override;
  std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;

 private:
  const char* FMemory;
  std::int64_t FSize;
  std::int64_t FPosition = 0;
};

class TqvHistoryList : public TPersistent {
  VELBOR_DECLARE_CLASS(TqvHistoryList, TPersistent)
 public:
  using TOwnerClass = TComponent;
  explicit TqvHistoryList(TComponent* AOwner = nullptr);
  // Saves the entries when they were loaded at least once (and the owner is not being designed).
  ~TqvHistoryList() override;

  // Properties. No setter loads or saves.
  // The ini section, or the name of the registry value.
  String Section;
  // The ini file, or the registry key under the current user; unset, the library's ini file name,
  // else (ini storage, for a combo) the program's name with ".ini".
  String FileName() const;
  void SetFileName(const String& Value) { FFileName = Value; }
  // The most entries saved; 0 or less: all.
  int MaxSize = -1;
  TqvStorageType StorageType = stIniFile;
  bool Enabled = false;
  bool MRUEnabled = false;
  int MRUMaxSize = 2;
  // The entries, oldest first.
  TStringList* Items() const { return FItems; }
  // The entries were read from storage at least once.
  bool WasLoaded() const { return FLoaded; }
  TComponent* Owner() const { return FOwner; }

  // Operations.
  // Reads the entries again (when there is a storage) and adds to Strings those it lacks (case
  // ignored).
  void LoadInto(TStrings* Strings);
  // Writes the entries (when there is a storage).
  void Save();
  // 0 unless the history and its MRU entries are enabled; else at most MRUMaxSize.
  int GetMRUCount() const;
  void Assign(TPersistent* Source) override;
  TPersistent* GetOwner() override;

 protected:
  // A missing or damaged registry value is an empty history.
  void LoadFromRegistry();
  // MaxSize > 0 cuts the entries themselves to the most recent ones first.
  void SaveToRegistry();
  void LoadFromIniFile();
  // MaxSize > 0 writes the most recent entries under their own positions.
  void SaveToIniFile();

 private:
  bool HasStorage() const { return !Section.empty() && !FileName().empty(); }

  TComponent* FOwner;
  String FFileName;
  TStringList* FItems;
  bool FLoaded = false;
};
