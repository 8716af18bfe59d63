// This file implements the look-and-feel settings.
#include "kjLookAndFeel.h"

#include <algorithm>

namespace {
TkjLookAndFeel* Root = nullptr;
bool UnitStarted = false;
int ControllerCount = 0;

struct TLookAndFeelFinisher {
  ~TLookAndFeelFinisher() { FinishLookAndFeelUnit(); }
} LookAndFeelFinisher;

bool IsController(IkjLookAndFeelListener* Listener) {
  return dynamic_cast<TkjLookAndFeelController*>(Listener->GetObject()) != nullptr;
}
}  // namespace

void StartLookAndFeelUnit() {
  if (UnitStarted) return;
  UnitStarted = true;
  // The root's constructor finds no root yet, so it registers with nothing.
  Root = new TkjLookAndFeel(nullptr);
  Root->FIsRoot = true;
}

void FinishLookAndFeelUnit() {
  TkjLookAndFeel* root = Root;
  Root = nullptr;
  delete root;
}

TkjLookAndFeel* RootLookAndFeel() {
  StartLookAndFeelUnit();
  return Root;
}

int LookAndFeelControllerCount() { return ControllerCount; }

void RegisterLookAndFeelClasses() { RegisterClass(TkjLookAndFeelController::StaticClass()); }

// --- TkjLookAndFeel ----------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkjLookAndFeel)
VELBOR_PUBLISHED(TkjLookAndFeel,
  Prop("AssignedValues", &Self::AssignedValues, &Self::SetAssignedValues).Stored(false),
  Prop("Kind", &Self::Kind, &Self::SetKind).NoDefault().Stored(&Self::StoresKind),
  Prop("NativeStyle", &Self::NativeStyle, &Self::SetNativeStyle).NoDefault().Stored(&Self::StoresNativeStyle))

TkjLookAndFeel::TkjLookAndFeel(TPersistent* AOwner) : TkjInterfacedPersistent(AOwner) {
  StartLookAndFeelUnit();
  if (Root) {
    Root->AddChangeListener(this);
    FKind = ResolveKind();
    FNativeStyle = ResolveNativeStyle();
  }
}

TkjLookAndFeel::~TkjLookAndFeel() {
  FDestroying = true;
  // Listeners that unregister meanwhile stay in the list (Destroying), so the walk sees each one.
  std::size_t count = FListeners.size();
  for (std::size_t i = 0; i < count && i < FListeners.size(); ++i) FListeners[i]->MasterGoingAway(this);
  FDestroying = false;
  FListeners.clear();
  if (TkjLookAndFeel* master = GetActiveMaster()) master->RemoveChangeListener(this);
  if (FIsRoot) {
    if (Root == this) Root = nullptr;
    FIsRoot = false;
  }
}

TkjLookAndFeel* TkjLookAndFeel::GetActiveMaster() const {
  if (FIsRoot) return nullptr;
  return FMaster ? FMaster : Root;
}

void TkjLookAndFeel::SetKind(TkjLookAndFeelKind Value) {
  TkjLookAndFeelKind previous = FKind;
  FAssignedValues.Include(lfvKind);
  FOwnKind = Value;
  if (previous != ResolveKind()) Changed({lfvKind});
}

void TkjLookAndFeel::SetNativeStyle(bool Value) {
  bool previous = FNativeStyle;
  FAssignedValues.Include(lfvNativeStyle);
  FOwnNativeStyle = Value;
  if (previous != ResolveNativeStyle()) Changed({lfvNativeStyle});
}

void TkjLookAndFeel::SetAssignedValues(TkjLookAndFeelValues Value) {
  if (Value == FAssignedValues) return;
  SaveValues();
  FAssignedValues = Value;
  NotifyIfValuesChanged();
}

void TkjLookAndFeel::SetMaster(TkjLookAndFeel* Value) {
  if (FIsRoot || Value == this || Value == GetActiveMaster()) return;
  SaveValues();
  ChangeMaster(Value);
  NotifyIfValuesChanged();
}

void TkjLookAndFeel::ChangeMaster(TkjLookAndFeel* Value) {
  if (FIsRoot || Value == this || Value == GetActiveMaster()) return;
  if (TkjLookAndFeel* master = GetActiveMaster()) master->RemoveChangeListener(this);
  FMaster = Value;
  if (TkjLookAndFeel* master = GetActiveMaster()) master->AddChangeListener(this);
}

void TkjLookAndFeel::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TkjLookAndFeel*>(Source);
  if (!source) {
    TkjInterfacedPersistent::Assign(Source);
    return;
  }
  // One notification for the whole copy: the master moves without telling anyone, and the
  // values that changed in effect are told once at the end.
  SaveValues();
  FOwnKind = source->FOwnKind;
  FOwnNativeStyle = source->FOwnNativeStyle;
  FAssignedValues = source->FAssignedValues;
  ChangeMaster(source->GetActiveMaster());
  NotifyIfValuesChanged();
}

void TkjLookAndFeel::AddChangeListener(IkjLookAndFeelListener* Listener) {
  if (!Listener) return;
  bool controller = IsController(Listener);
  if (controller && !FIsRoot) return;
  if (std::find(FListeners.begin(), FListeners.end(), Listener) != FListeners.end()) return;
  if (controller) ++ControllerCount;
  FListeners.push_back(Listener);
}

void TkjLookAndFeel::RemoveChangeListener(IkjLookAndFeelListener* Listener) {
  if (!Listener) return;
  auto it = std::find(FListeners.begin(), FListeners.end(), Listener);
  if (it == FListeners.end()) return;
  bool controller = IsController(Listener);
  if (!FDestroying) FListeners.erase(it);
  if (controller && FIsRoot) {
    --ControllerCount;
    if (ControllerCount == 0) Reset();
  }
}

void TkjLookAndFeel::MasterChanged(TkjLookAndFeel*, TkjLookAndFeelValues ChangedValues) {
  Changed(ChangedValues - FAssignedValues);
}

void TkjLookAndFeel::MasterGoingAway(TkjLookAndFeel*) { SetMaster(nullptr); }

TkjLookAndFeelKind TkjLookAndFeel::ResolveKind() const {
  if (FAssignedValues.Contains(lfvKind)) return FOwnKind;
  if (FIsRoot) return lfUltraFlat;
  if (FMaster) return FMaster->Kind();
  return Root ? Root->Kind() : lfUltraFlat;
}

bool TkjLookAndFeel::ResolveNativeStyle() const {
  if (FAssignedValues.Contains(lfvNativeStyle)) return FOwnNativeStyle;
  if (FIsRoot) return false;
  if (FMaster) return FMaster->NativeStyle();
  return Root ? Root->NativeStyle() : false;
}

void TkjLookAndFeel::Changed(TkjLookAndFeelValues ChangedValues) {
  if (ChangedValues.Empty() || FDestroying) return;
  // The cache first: the listeners read it.
  FKind = ResolveKind();
  FNativeStyle = ResolveNativeStyle();
  // A listener that leaves the list during its call must not make the walk skip the next one.
  std::size_t i = 0;
  while (i < FListeners.size()) {
    IkjLookAndFeelListener* listener = FListeners[i];
    listener->MasterChanged(this, ChangedValues);
    if (i < FListeners.size() && FListeners[i] == listener) ++i;
  }
  if (OnChanged) OnChanged(this, ChangedValues);
}

void TkjLookAndFeel::SaveValues() {
  FSavedKind = FKind;
  FSavedNativeStyle = FNativeStyle;
}

void TkjLookAndFeel::NotifyIfValuesChanged() {
  TkjLookAndFeelValues changed;
  if (ResolveKind() != FSavedKind) changed.Include(lfvKind);
  if (ResolveNativeStyle() != FSavedNativeStyle) changed.Include(lfvNativeStyle);
  Changed(changed);
}

// --- TkjLookAndFeelController ------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkjLookAndFeelController)
VELBOR_PUBLISHED(TkjLookAndFeelController,
  Prop("Kind", &Self::Kind, &Self::SetKind).Default(lfUltraFlat),
  Prop("NativeStyle", &Self::NativeStyle, &Self::SetNativeStyle).Default(false))

TkjLookAndFeelController::TkjLookAndFeelController(TComponent* AOwner) : TComponent(AOwner) {
  if (TkjLookAndFeel* root = RootLookAndFeel()) root->AddChangeListener(this);
}

TkjLookAndFeelController::~TkjLookAndFeelController() {
  if (TkjLookAndFeel* root = Root) root->RemoveChangeListener(this);
}

TkjLookAndFeelKind TkjLookAndFeelController::Kind() const { return Root ? Root->Kind() : lfUltraFlat; }

void TkjLookAndFeelController::SetKind(TkjLookAndFeelKind Value) {
  if (Root) Root->SetKind(Value);
}

bool TkjLookAndFeelController::NativeStyle() const { return Root ? Root->NativeStyle() : false; }

void TkjLookAndFeelController::SetNativeStyle(bool Value) {
  if (Root) Root->SetNativeStyle(Value);
}
