// This file implements TComponent: ownership, names, notifications and its published properties.
#include "Component.h"

#include <algorithm>
#include <cassert>

#include "Filer.h"
#include "Format.h"
#include "Modules.h"
#include "TextOrder.h"

VELBOR_IMPLEMENT_CLASS(TComponent)
VELBOR_PUBLISHED(TComponent,
  Prop("Name", &Self::Name, &Self::SetName).Stored(false),  // written in the object's header
  Prop("Tag", &Self::Tag).Default(0))

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  if (FGlobalModule) UnregisterModule(this);
  while (!FFreeNotifies.empty()) {
    TComponent* other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    other->DropFreeNotify(this);
    other->Notification(this, opRemove);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount()) {
    throw EListError(Format("Indice de liste hors limites (%d)", {Index}));
  }
  return FComponents[std::size_t(Index)];
}

int TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  auto& list = FOwner->FComponents;
  return int(std::find(list.begin(), list.end(), this) - list.begin());
}

void TComponent::SetComponentIndex(int Value) {
  if (!FOwner) return;
  auto& list = FOwner->FComponents;
  int current = ComponentIndex();
  Value = std::clamp(Value, 0, int(list.size()) - 1);
  if (Value == current) return;
  list.erase(list.begin() + current);
  list.insert(list.begin() + Value, this);
}

void TComponent::SetName(const String& NewName) {
  if (FName == NewName) return;
  if (!NewName.empty() && !IsValidIdent(NewName)) {
    throw EComponentError(Format("'%s' n'est pas un nom de composant valide", {NewName}));
  }
  if (FOwner) FOwner->ValidateRename(this, FName, NewName);
  else ValidateRename(nullptr, FName, NewName);
  SetReference(false);
  ChangeName(NewName);
  SetReference(true);
}

void TComponent::ValidateRename(TComponent* AComponent, const String& CurName, const String& NewName) {
  if (AComponent && !SameText(CurName, NewName) && FindComponent(NewName)) {
    throw EComponentError(Format("Un composant nommé %s existe déjà"_a, {NewName}));
  }
}

TComponent* TComponent::FindComponent(const String& AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* c : FComponents) {
    if (SameText(c->FName, AName)) return c;
  }
  return nullptr;
}

void TComponent::SetReference(bool Enable) {
  if (!FOwner || FName.empty()) return;
  if (const TFieldEntry* field = FindComponentField(FOwner->ClassType(), FName)) {
    field->Assign(FOwner, Enable ? this : nullptr);
  }
}

void TComponent::InsertComponent(TComponent* AComponent) {
  assert(AComponent && AComponent != this);
  if (AComponent->FOwner == this) return;
  AComponent->ValidateContainer(this);
  ValidateRename(AComponent, String(), AComponent->FName);
  if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
  Insert(AComponent);
  AComponent->SetReference(true);
  if (FComponentState.Contains(csDesigning)) AComponent->SetDesigning(true);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (!AComponent || AComponent->FOwner != this) return;
  Notification(AComponent, opRemove);
  AComponent->SetReference(false);
  Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent) {
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
  assert(CheckOwnership());
}

void TComponent::Remove(TComponent* AComponent) {
  auto it = std::find(FComponents.begin(), FComponents.end(), AComponent);
  if (it != FComponents.end()) FComponents.erase(it);
  AComponent->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
  // Last created first; the owner is dying, so the others are not told one by one.
  while (!FComponents.empty()) {
    TComponent* c = FComponents.back();
    Remove(c);
    delete c;
  }
}

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* c : FComponents) c->Destroying();
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
    FFreeNotifies.push_back(AComponent);
    AComponent->FreeNotification(this);
  }
  FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (!AComponent) return;
  DropFreeNotify(AComponent);
  AComponent->DropFreeNotify(this);
}

void TComponent::DropFreeNotify(TComponent* AComponent) {
  auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent);
  if (it != FFreeNotifies.end()) FFreeNotifies.erase(it);
  if (FFreeNotifies.empty()) FComponentState.Exclude(csFreeNotification);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
  // From the end, and tolerant of the list shrinking under a handler.
  for (int i = ComponentCount() - 1; i >= 0; --i) {
    if (i >= ComponentCount()) continue;
    FComponents[std::size_t(i)]->Notification(AComponent, Operation);
  }
}

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

void TComponent::ReadState(TReader* Reader) { Reader->ReadData(this); }

void TComponent::WriteState(TWriter* Writer) { Writer->WriteData(this); }

void TComponent::Updating() { FComponentState.Include(csUpdating); }

void TComponent::Updated() { FComponentState.Exclude(csUpdating); }

void TComponent::SetDesigning(bool Value, bool SetChildren) {
  if (Value) FComponentState.Include(csDesigning);
  else FComponentState.Exclude(csDesigning);
  if (SetChildren) {
    for (TComponent* c : FComponents) c->SetDesigning(Value);
  }
}

void TComponent::GetChildren(TGetChildProc Proc, TComponent* Root) {
  if (Root != this) return;
  for (TComponent* c : FComponents) {
    if (!c->HasParent()) Proc(c);
  }
}

namespace {

// Component names compare as SameText does: ASCII letters folded, every other byte as it is.
unsigned char FoldNameByte(char c) {
  unsigned char b = static_cast<unsigned char>(c);
  return (b >= 'a' && b <= 'z') ? static_cast<unsigned char>(b - 32) : b;
}

std::size_t NameHash(const String& Name) {
  std::size_t h = 14695981039346656037ull;
  for (char c : Name) h = (h ^ FoldNameByte(c)) * 1099511628211ull;
  return h;
}

}  // namespace

bool TComponent::CheckOwnership() const {
  // One pass over the names with an open-addressed set of those seen (one allocation): the check
  // runs on every insert, so building a form stays quadratic, not cubic, in its components.
  std::size_t capacity = 16;
  while (capacity < 2 * FComponents.size()) capacity *= 2;
  std::vector<const String*> seen(capacity, nullptr);
  for (const TComponent* c : FComponents) {
    if (c->FOwner != this) return false;
    if (c->FName.empty()) continue;
    std::size_t slot = NameHash(c->FName) & (capacity - 1);
    for (; seen[slot]; slot = (slot + 1) & (capacity - 1)) {
      if (SameText(*seen[slot], c->FName)) return false;
    }
    seen[slot] = &c->FName;
  }
  return true;
}
