// This file implements TkwBarGroup, a group of bar items and other groups that are enabled, shown
// or hidden together. A group is owned by the form and registered with a bar manager, whose child
// it is in a form description; its members are written as the list of their names ("Items").
#pragma once

#include <vector>

#include "Component.h"
#include "kwBarTypes.h"

class TkwBarGroup : public TComponent {
  VELBOR_DECLARE_CLASS(TkwBarGroup, TComponent)
 public:
  explicit TkwBarGroup(TComponent* AOwner);
  // Leaves its manager.
  ~TkwBarGroup() override;

  // Properties.
  TkwBarManager* BarManager() const { return FBarManager; }
  // Registers with the manager (and leaves the previous one).
  void SetBarManager(TkwBarManager* Value);
  bool Enabled() const { return FEnabled; }
  // Applies the value to every member: an item's Enabled, a group's recursively.
  void SetEnabled(bool Value);
  TkwBarItemVisible Visible() const { return FVisible; }
  void SetVisible(TkwBarItemVisible Value);

  // Members: items and groups.
  int Count() const { return int(FMembers.size()); }
  TComponent* Items(int Index) const { return FMembers[std::size_t(Index)]; }
  int IndexOf(const TComponent* Member) const;
  // Nothing for nullptr, a member already there, or anything but an item or a group; a group
  // that would contain itself raises "You cannot create recursive groups".
  void Add(TComponent* Member);
  void Remove(TComponent* Member);
  void Move(int CurIndex, int NewIndex);
  // Whether the group holds Group, itself or through its member groups.
  bool Contains(const TkwBarGroup* Group) const;
  // The position in the manager's list of groups.
  int GetIndex() const;
  void SetIndex(int Value);

  // Streaming: the manager is the group's parent.
  bool HasParent() const override { return FBarManager != nullptr; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;
  void SetName(const String& NewName) override;

 protected:
  void DefineProperties(TFiler* Filer) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void ReadItems(TReader* Reader);
  void WriteItems(TWriter* Writer);
  void ApplyToMembers(bool Enabled, bool SetEnabled, TkwBarItemVisible Visible);

  TkwBarManager* FBarManager = nullptr;  // not owned
  bool FEnabled = true;
  TkwBarItemVisible FVisible = ivAlways;
  std::vector<TComponent*> FMembers;  // not owned: each asked for its free notification
  std::vector<String> FLoadedNames;
};
