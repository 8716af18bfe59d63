// This file implements TComponent: named objects owned by other components, freed with their
// owner, told of each other's insertion and removal, and read from and written to form
// descriptions.
#pragma once

#include <functional>
#include <vector>

#include "Persistent.h"
#include "TypInfo.h"

class TReader;
class TWriter;
class TComponent;

enum TOperation { opInsert, opRemove };
VELBOR_ENUM(TOperation, "opInsert", "opRemove")

enum TComponentStateItem {
  csLoading,           // between the start of reading and Loaded
  csReading,           // while its own properties are read
  csWriting,           // while it is written
  csDestroying,        // from the start of its destruction
  csDesigning,         // in a designer
  csAncestor,          // read from an ancestor's description
  csUpdating,          // between Updating and Updated
  csFixups,            // references still to resolve
  csFreeNotification,  // others asked to be told of its removal
  csInline,
  csDesignInstance
};
VELBOR_ENUM(TComponentStateItem, "csLoading", "csReading", "csWriting", "csDestroying", "csDesigning", "csAncestor",
            "csUpdating", "csFixups", "csFreeNotification", "csInline", "csDesignInstance")
using TComponentState = TSet<TComponentStateItem>;

// Horizontal alignment of a text in its box: fields, labels, edits and grid columns share it.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
VELBOR_ENUM(TAlignment, "taLeftJustify", "taRightJustify", "taCenter")

// Called by GetChildren for each child to stream.
using TGetChildProc = std::function<void(TComponent* Child)>;

class TComponent : public TPersistent {
  VELBOR_DECLARE_CLASS(TComponent, TPersistent)
 public:
  using TOwnerClass = TComponent;

  explicit TComponent(TComponent* AOwner);
  // Sends removal notifications to those that asked (FreeNotification), frees the owned
  // components (last created first), then leaves the owner, which tells its other components.
  ~TComponent() override;

  // Properties.
  TComponent* Owner() const { return FOwner; }
  int ComponentCount() const { return int(FComponents.size()); }
  TComponent* Components(int Index) const;  // creation order; EListError outside
  int ComponentIndex() const;               // -1 without owner
  void SetComponentIndex(int Value);
  const String& Name() const { return FName; }
  // Empty, or an identifier not used by another component of the same owner (case-insensitive):
  // EComponentError otherwise.
  virtual void SetName(const String& NewName);
  TComponentState ComponentState() const { return FComponentState; }
  int Tag = 0;

  // Operations.
  // Others that hold a pointer to this component ask for a removal notification; the request is
  // mutual, so whichever of the two goes first tells the other.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);
  // Owned component by name, case-insensitive; nullptr when none (or for "").
  TComponent* FindComponent(const String& AName) const;
  // Takes AComponent from its current owner.
  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  void DestroyComponents();
  void Destroying();
  void SetDesigning(bool Value, bool SetChildren = true);
  String GetNamePath() override { return FName; }
  TPersistent* GetOwner() override { return FOwner; }

  // Overridables of the streaming system.
  // Calls Proc for each component to write inside this one. The base lists, for the root being
  // written, the components it owns that have no parent component, in creation order.
  virtual void GetChildren(TGetChildProc Proc, TComponent* Root);
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual bool HasParent() const { return false; }
  virtual void SetParentComponent(TComponent*) {}
  // Owner and parent of the components read inside this one (nullptr: the reader's root, this).
  virtual TComponent* GetChildOwner() { return nullptr; }
  virtual TComponent* GetChildParent() { return this; }
  virtual void SetChildOrder(TComponent*, int) {}

 protected:
  friend class TReader;
  friend class TWriter;
  friend void RegisterModule(TComponent*);
  friend void UnregisterModule(TComponent*);

  // Told when a component is inserted into or removed from the owner's list, and when a component
  // this one asked FreeNotification of is destroyed. The base forwards to the owned components.
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  // Called once the whole description this component came from has been read.
  virtual void Loaded();
  virtual void ReadState(TReader* Reader);
  virtual void WriteState(TWriter* Writer);
  virtual void Updating();
  virtual void Updated();
  virtual void ValidateRename(TComponent* AComponent, const String& CurName, const String& NewName);
  virtual void ValidateContainer(TComponent*) {}
  // Points the owner's field of this component's name at it (or clears it).
  void SetReference(bool Enable);
  // Invariant, asserted on every insert: each owned component points back here, and no two owned
  // names are the same (as SameText compares them).
  bool CheckOwnership() const;

  TComponentState FComponentState;

 private:
  void ChangeName(const String& NewName) { FName = NewName; }
  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  void DropFreeNotify(TComponent* AComponent);

  TComponent* FOwner = nullptr;
  String FName;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  bool FGlobalModule = false;
};
