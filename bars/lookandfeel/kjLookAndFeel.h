// This file implements the look-and-feel settings: TkjLookAndFeel, the settings object that
// either sets its kind and native style itself or inherits them from a master (at the top of
// every chain the root settings object), the listener interface through which changes travel
// down the chains, and TkjLookAndFeelController, the component that sets the root's values and
// so the default of the whole program.
#pragma once

#include <vector>

#include "kjBase.h"

enum TkjLookAndFeelKind { lfFlat, lfStandard, lfUltraFlat };
VELBOR_ENUM(TkjLookAndFeelKind, "lfFlat", "lfStandard", "lfUltraFlat")

enum TkjLookAndFeelValue { lfvKind, lfvNativeStyle };
VELBOR_ENUM(TkjLookAndFeelValue, "lfvKind", "lfvNativeStyle")
using TkjLookAndFeelValues = TSet<TkjLookAndFeelValue>;

class TkjLookAndFeel;

// What a settings object tells the objects that follow it.
class IkjLookAndFeelListener {
 public:
  virtual ~IkjLookAndFeelListener() = default;
  virtual TObject* GetObject() = 0;
  // The master's effective values in ChangedValues changed.
  virtual void MasterChanged(TkjLookAndFeel* Sender, TkjLookAndFeelValues ChangedValues) = 0;
  // The master is being destroyed.
  virtual void MasterGoingAway(TkjLookAndFeel* Sender) = 0;
};

using TkjLookAndFeelChangedEvent = TEvent<void(TkjLookAndFeel* Sender, TkjLookAndFeelValues ChangedValues)>;

class TkjLookAndFeel : public TkjInterfacedPersistent, public IkjLookAndFeelListener {
  VELBOR_DECLARE_CLASS(TkjLookAndFeel, TkjInterfacedPersistent)
 public:
  using TOwnerClass = TPersistent;
  // Registers with the root settings object (every object but the root itself) and takes the
  // effective values.
  explicit TkjLookAndFeel(TPersistent* AOwner);
  // Tells the listeners that it goes (they attach to the root), then leaves its master.
  ~TkjLookAndFeel() override;

  // Properties. Kind and NativeStyle read the effective values; setting one makes it the
  // object's own (assigned) value.
  TkjLookAndFeelKind Kind() const { return FKind; }
  void SetKind(TkjLookAndFeelKind Value);
  bool NativeStyle() const { return FNativeStyle; }
  void SetNativeStyle(bool Value);
  TkjLookAndFeelValues AssignedValues() const { return FAssignedValues; }
  void SetAssignedValues(TkjLookAndFeelValues Value);
  // The object inherits from Master when set, else from the root.
  TkjLookAndFeel* Master() const { return FMaster; }
  void SetMaster(TkjLookAndFeel* Value);
  bool IsRoot() const { return FIsRoot; }
  TkjLookAndFeelChangedEvent OnChanged;

  // Operations.
  void Assign(TPersistent* Source) override;
  // Forgets the assigned values: both follow the master again.
  void Reset() { SetAssignedValues({}); }
  // nullptr for the root; else Master, else the root (nullptr once the root is gone).
  TkjLookAndFeel* GetActiveMaster() const;
  void AddChangeListener(IkjLookAndFeelListener* Listener);
  void RemoveChangeListener(IkjLookAndFeelListener* Listener);
  int ListenerCount() const { return int(FListeners.size()); }

  // IkjLookAndFeelListener.
  TObject* GetObject() override { return this; }
  void MasterChanged(TkjLookAndFeel* Sender, TkjLookAndFeelValues ChangedValues) override;
  void MasterGoingAway(TkjLookAndFeel* Sender) override;

 protected:
  // The effective values: the object's own when assigned, else the master's.
  virtual TkjLookAndFeelKind ResolveKind() const;
  virtual bool ResolveNativeStyle() const;
  // Recomputes the effective values and tells the listeners, then OnChanged.
  void Changed(TkjLookAndFeelValues ChangedValues);

 private:
  friend void StartLookAndFeelUnit();
  friend void FinishLookAndFeelUnit();
  bool StoresKind() const { return FAssignedValues.Contains(lfvKind); }
  bool StoresNativeStyle() const { return FAssignedValues.Contains(lfvNativeStyle); }
  void SaveValues();
  void NotifyIfValuesChanged();
  // Moves the object to another master without telling anyone.
  void ChangeMaster(TkjLookAndFeel* Value);

  TkjLookAndFeelValues FAssignedValues;
  std::vector<IkjLookAndFeelListener*> FListeners;  // not owned
  TkjLookAndFeelKind FKind = lfUltraFlat;
  bool FNativeStyle = false;
  TkjLookAndFeelKind FOwnKind = lfUltraFlat;
  bool FOwnNativeStyle = false;
  bool FDestroying = false;
  bool FIsRoot = false;
  TkjLookAndFeel* FMaster = nullptr;  // not owned
  TkjLookAndFeelKind FSavedKind = lfUltraFlat;
  bool FSavedNativeStyle = false;
};

// Sets the root's values, and so every settings object's that does not set its own.
class TkjLookAndFeelController : public TComponent, public IkjLookAndFeelListener {
  VELBOR_DECLARE_CLASS(TkjLookAndFeelController, TComponent)
 public:
  explicit TkjLookAndFeelController(TComponent* AOwner);
  // The last controller to go resets the root.
  ~TkjLookAndFeelController() override;

  TkjLookAndFeelKind Kind() const;
  void SetKind(TkjLookAndFeelKind Value);
  bool NativeStyle() const;
  void SetNativeStyle(bool Value);

  TObject* GetObject() override { return this; }
  void MasterChanged(TkjLookAndFeel*, TkjLookAndFeelValues) override {}
  // Only a form designer would care.
  void MasterGoingAway(TkjLookAndFeel*) override {}
};

// The root settings object (created when the unit starts, on first use; nullptr after its end).
TkjLookAndFeel* RootLookAndFeel();
// The number of controllers registered with the root.
int LookAndFeelControllerCount();
void StartLookAndFeelUnit();
// Sets the root to nullptr, then destroys it.
void FinishLookAndFeelUnit();
// Makes the controller known to the form reader.
void RegisterLookAndFeelClasses();
