// This file implements the base of the look-and-feel and bar libraries.
#include "kjBase.h"

#include <algorithm>

#include "Resources.h"

String LoadResString(PResStringRec Res) {
  if (!Res) return String();
  char buffer[1024];
  int length = LoadStringA(MainInstance(), UINT(Res->Identifier), buffer, int(sizeof(buffer)));
  return length > 0 ? String(buffer, std::size_t(length)) : String();
}

void TkjResourceStringOverrides::Add(PResStringRec Res, const String& Text) {
  int index = IndexOfResource(Res);
  if (index >= 0)
    FEntries[std::size_t(index)].second = Text;
  else
    FEntries.emplace_back(Res, Text);
}

int TkjResourceStringOverrides::IndexOfResource(PResStringRec Res) const {
  for (std::size_t i = 0; i < FEntries.size(); ++i)
    if (FEntries[i].first == Res) return int(i);
  return -1;
}

namespace {
TkjResourceStringOverrides* Overrides = nullptr;

// The base unit's shut-down: the table goes with the program.
struct TOverridesFinisher {
  ~TOverridesFinisher() { FreeResourceStringOverrides(); }
} OverridesFinisher;
}  // namespace

TkjResourceStringOverrides* ResourceStringOverrides() { return Overrides; }

TkjResourceStringOverrides* InstallResourceStringOverrides() {
  if (!Overrides) Overrides = new TkjResourceStringOverrides();
  return Overrides;
}

void FreeResourceStringOverrides() {
  delete Overrides;
  Overrides = nullptr;
}

String GetLocalizedResourceString(PResStringRec Res) {
  if (Overrides) {
    int index = Overrides->IndexOfResource(Res);
    if (index >= 0) return Overrides->Text(index);
  }
  return LoadResString(Res);
}

// --- TkjInterfacedPersistent, TkjComponent -----------------------------------------------------

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TkjInterfacedPersistent)

VELBOR_IMPLEMENT_CLASS(TkjComponent)
VELBOR_PUBLISHED(TkjComponent,
  Prop("FakeComponentLink1", &Self::FakeComponentLink1, &Self::SetFakeComponentLink1),
  Prop("FakeComponentLink2", &Self::FakeComponentLink2, &Self::SetFakeComponentLink2),
  Prop("FakeComponentLink3", &Self::FakeComponentLink3, &Self::SetFakeComponentLink3))

void TkjComponent::BeforeDestruction() {
  if (!IsDestroying()) Destroying();
}

void TkjComponent::Loaded() {
  TComponent::Loaded();
  if (!ComponentState().Contains(csDesigning) || IsDestroying() || !Owner()) return;
  std::vector<TComponent*> links;
  GetFakeComponentLinks(links);
  for (int i = 0; i < 3; ++i) SetFakeLink(i, i < int(links.size()) ? links[std::size_t(i)] : nullptr);
}

void TkjComponent::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove)
    for (TComponent*& link : FFakeLinks)
      if (link == AComponent) link = nullptr;
}

void TkjComponent::SetFakeLink(int Index, TComponent* Value) {
  TComponent*& link = FFakeLinks[Index];
  if (link == Value) return;
  link = Value;
  if (Value) Value->FreeNotification(this);
}
