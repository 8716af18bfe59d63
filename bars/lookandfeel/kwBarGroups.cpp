// This file implements the bar groups.
#include "kwBarGroups.h"

#include <algorithm>

#include "Filer.h"
#include "Forms.h"
#include "ScopeGuard.h"
#include "kjBase.h"
#include "kwBarItem.h"
#include "kwBarManager.h"

VELBOR_IMPLEMENT_CLASS(TkwBarGroup)
VELBOR_PUBLISHED(TkwBarGroup,
  Prop("Enabled", &Self::Enabled, &Self::SetEnabled).Default(true),
  Prop("Visible", &Self::Visible, &Self::SetVisible).Default(ivAlways))

TkwBarGroup::TkwBarGroup(TComponent* AOwner) : TComponent(AOwner) {}

TkwBarGroup::~TkwBarGroup() {
  Destroying();
  for (TComponent* member : FMembers) member->RemoveFreeNotification(this);
  FMembers.clear();
  SetBarManager(nullptr);
}

void TkwBarGroup::SetBarManager(TkwBarManager* Value) {
  if (Value == FBarManager) return;
  if (FBarManager) {
    FBarManager->UnregisterGroup(this);
    FBarManager->RemoveFreeNotification(this);
  }
  FBarManager = Value;
  if (FBarManager) {
    FBarManager->RegisterGroup(this);
    FBarManager->FreeNotification(this);
  }
}

TComponent* TkwBarGroup::GetParentComponent() const { return FBarManager; }

void TkwBarGroup::SetParentComponent(TComponent* Value) {
  if (auto* manager = dynamic_cast<TkwBarManager*>(Value)) SetBarManager(manager);
}

void TkwBarGroup::SetName(const String& NewName) {
  TComponent::SetName(NewName);
  // The customizing window lists the groups by name; it is the bar items library's.
  if (FBarManager) FBarManager->DesignerModified();
}

void TkwBarGroup::SetEnabled(bool Value) {
  FEnabled = Value;
  ApplyToMembers(Value, true, FVisible);
}

void TkwBarGroup::SetVisible(TkwBarItemVisible Value) {
  FVisible = Value;
  ApplyToMembers(FEnabled, false, Value);
}

void TkwBarGroup::ApplyToMembers(bool Enabled, bool SetEnabled, TkwBarItemVisible Visible) {
  bool quiet = ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying);
  TkwBarManager* manager = quiet ? nullptr : FBarManager;
  bool locked = manager && manager->RedrawLocked();
  if (manager) manager->SetRedrawLocked(true);
  TScopeGuard unlock([&] {
    if (manager) manager->SetRedrawLocked(locked);
  });
  for (TComponent* member : std::vector<TComponent*>(FMembers)) {
    if (auto* item = dynamic_cast<TkwBarItem*>(member)) {
      if (SetEnabled)
        item->SetEnabled(Enabled);
      else
        item->SetVisible(Visible);
    } else if (auto* group = dynamic_cast<TkwBarGroup*>(member)) {
      if (SetEnabled)
        group->SetEnabled(Enabled);
      else
        group->SetVisible(Visible);
    }
  }
}

int TkwBarGroup::IndexOf(const TComponent* Member) const {
  auto it = std::find(FMembers.begin(), FMembers.end(), Member);
  return it == FMembers.end() ? -1 : int(it - FMembers.begin());
}

bool TkwBarGroup::Contains(const TkwBarGroup* Group) const {
  if (Group == this) return true;
  for (TComponent* member : FMembers)
    if (auto* inner = dynamic_cast<TkwBarGroup*>(member); inner && inner->Contains(Group)) return true;
  return false;
}

void TkwBarGroup::Add(TComponent* Member) {
  if (!Member || IndexOf(Member) >= 0) return;
  auto* group = dynamic_cast<TkwBarGroup*>(Member);
  if (!group && !dynamic_cast<TkwBarItem*>(Member)) return;
  if (group && group->Contains(this)) throw Exception(GetLocalizedResourceString(&kwSRecursiveGroups));
  FMembers.push_back(Member);
  Member->FreeNotification(this);
  if (FBarManager) FBarManager->DesignerModified();
}

void TkwBarGroup::Remove(TComponent* Member) {
  int index = IndexOf(Member);
  if (index < 0) return;
  FMembers.erase(FMembers.begin() + index);
  Member->RemoveFreeNotification(this);
  if (FBarManager) FBarManager->DesignerModified();
}

void TkwBarGroup::Move(int CurIndex, int NewIndex) {
  if (CurIndex < 0 || CurIndex >= Count() || NewIndex < 0 || NewIndex >= Count() || CurIndex == NewIndex) return;
  TComponent* member = FMembers[std::size_t(CurIndex)];
  FMembers.erase(FMembers.begin() + CurIndex);
  FMembers.insert(FMembers.begin() + NewIndex, member);
}

int TkwBarGroup::GetIndex() const {
  if (!FBarManager) return -1;
  for (int i = 0; i < FBarManager->GetGroupCount(); ++i)
    if (FBarManager->GetGroup(i) == this) return i;
  return -1;
}

void TkwBarGroup::SetIndex(int Value) {
  TkwBarManager* manager = FBarManager;
  int current = GetIndex();
  if (!manager || current < 0 || Value < 0 || Value >= manager->GetGroupCount() || Value == current) return;
  // Re-registered in order: the list keeps registration order.
  std::vector<TComponent*> groups;
  for (int i = 0; i < manager->GetGroupCount(); ++i) groups.push_back(manager->GetGroup(i));
  groups.erase(groups.begin() + current);
  groups.insert(groups.begin() + Value, this);
  for (TComponent* group : groups) manager->UnregisterGroup(group);
  for (TComponent* group : groups) manager->RegisterGroup(group);
}

void TkwBarGroup::DefineProperties(TFiler* Filer) {
  TComponent::DefineProperties(Filer);
  Filer->DefineProperty("Items", TReaderProc(this, &TkwBarGroup::ReadItems), TWriterProc(this, &TkwBarGroup::WriteItems),
                        !FMembers.empty());
}

void TkwBarGroup::ReadItems(TReader* Reader) {
  FLoadedNames.clear();
  Reader->ReadListBegin();
  while (!Reader->EndOfList()) FLoadedNames.push_back(Reader->ReadString());
  Reader->ReadListEnd();
}

void TkwBarGroup::WriteItems(TWriter* Writer) {
  Writer->WriteListBegin();
  for (TComponent* member : FMembers) Writer->WriteString(member->Name());
  Writer->WriteListEnd();
}

void TkwBarGroup::Loaded() {
  TComponent::Loaded();
  std::vector<String> names;
  names.swap(FLoadedNames);
  TComponent* form = Owner();
  for (const String& name : names) {
    TComponent* member = form ? form->FindComponent(name) : nullptr;
    try {
      Add(member);
    } catch (Exception&) {
      // A member that would make the groups recursive is left out.
    }
  }
}

void TkwBarGroup::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FBarManager) FBarManager = nullptr;
  auto it = std::find(FMembers.begin(), FMembers.end(), AComponent);
  if (it != FMembers.end()) FMembers.erase(it);
}
