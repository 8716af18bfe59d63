// This file implements the base of the look-and-feel and bar libraries: their resource strings
// (GetLocalizedResourceString, with the optional table of replacement texts a localiser
// installs), TkjInterfacedPersistent and TkjComponent.
#pragma once

#include <utility>
#include <vector>

// The class registry first: <windows.h> defines RegisterClass as a macro.
#include "Component.h"
#include "Persistent.h"
#include "kjStrings.h"

// A resource string of the libraries: its identity is the record's address, its text the string
// resource of that identifier in the program module.
struct TResStringRec {
  int Identifier;
};
using PResStringRec = const TResStringRec*;

inline constexpr TResStringRec kjSDefaultCategory{KJ_IDS_DEFAULT_CATEGORY};
inline constexpr TResStringRec kwSCustomize{KJ_IDS_CUSTOMIZE};
inline constexpr TResStringRec kwSManagerBadOwner{KJ_IDS_MANAGER_BAD_OWNER};
inline constexpr TResStringRec kwSManagerSecond{KJ_IDS_MANAGER_SECOND};
inline constexpr TResStringRec kwSRecursiveSubItems{KJ_IDS_RECURSIVE_SUBITEMS};
inline constexpr TResStringRec kwSResetBar{KJ_IDS_RESET_BAR};
inline constexpr TResStringRec kwSResetUsageData{KJ_IDS_RESET_USAGE};
inline constexpr TResStringRec kwSNoBarManagers{KJ_IDS_NO_MANAGERS};
inline constexpr TResStringRec kwSRecursiveGroups{KJ_IDS_RECURSIVE_GROUPS};

// The string resource itself ("" when the module has none of that identifier).
String LoadResString(PResStringRec Res);

// Replacement texts for resource strings, looked up by the string's identity.
class TkjResourceStringOverrides {
 public:
  // Replaces the text of an entry already there.
  void Add(PResStringRec Res, const String& Text);
  // -1 when the string has no entry.
  int IndexOfResource(PResStringRec Res) const;
  const String& Text(int Index) const { return FEntries[std::size_t(Index)].second; }
  int Count() const { return int(FEntries.size()); }

 private:
  std::vector<std::pair<PResStringRec, String>> FEntries;
};

// The process-wide table: none until a localiser installs one; freed by the base's shut-down.
TkjResourceStringOverrides* ResourceStringOverrides();
TkjResourceStringOverrides* InstallResourceStringOverrides();
void FreeResourceStringOverrides();

// The text of every caption and message of the look-and-feel and bar libraries: the table's
// entry when there is one, else the module's string.
String GetLocalizedResourceString(PResStringRec Res);

// A persistent sub-object that names the object it belongs to (its owner for streaming paths).
class TkjInterfacedPersistent : public TPersistent {
  VELBOR_DECLARE_CLASS(TkjInterfacedPersistent, TPersistent)
 public:
  explicit TkjInterfacedPersistent(TPersistent* AOwner) : FOwner(AOwner) {}
  TPersistent* GetOwner() override { return FOwner; }

 private:
  TPersistent* FOwner;
};

// The component base of the libraries. The three fake links are for a form designer, which keeps
// the components a component names there referenced; at run time they stay empty.
class TkjComponent : public TComponent {
  VELBOR_DECLARE_CLASS(TkjComponent, TComponent)
 public:
  explicit TkjComponent(TComponent* AOwner) : TComponent(AOwner) {}

  TComponent* FakeComponentLink1() const { return FFakeLinks[0]; }
  void SetFakeComponentLink1(TComponent* Value) { SetFakeLink(0, Value); }
  TComponent* FakeComponentLink2() const { return FFakeLinks[1]; }
  void SetFakeComponentLink2(TComponent* Value) { SetFakeLink(1, Value); }
  TComponent* FakeComponentLink3() const { return FFakeLinks[2]; }
  void SetFakeComponentLink3(TComponent* Value) { SetFakeLink(2, Value); }

  // Marks the component as being destroyed (its descendants call it first in their destructor,
  // while the whole object still exists).
  void BeforeDestruction();
  bool IsDestroying() const { return ComponentState().Contains(csDestroying); }

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The components the designer should keep referenced (none in the base).
  virtual void GetFakeComponentLinks(std::vector<TComponent*>&) {}

 private:
  void SetFakeLink(int Index, TComponent* Value);
  TComponent* FFakeLinks[3] = {nullptr, nullptr, nullptr};
};
