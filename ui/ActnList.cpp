// This file implements actions, their links and lists, and the standard edit actions.
#include "ActnList.h"

#include <algorithm>

#include "Format.h"
#include "Forms.h"
#include "ImageList.h"
#include "Menus.h"
#include "ScopeGuard.h"

// --- TBasicActionLink ---------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TBasicActionLink)

TBasicActionLink::TBasicActionLink(TObject* AClient) { AssignClient(AClient); }

TBasicActionLink::~TBasicActionLink() {
  if (FAction) FAction->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* Value) {
  if (Value == FAction) return;
  if (FAction) FAction->UnRegisterChanges(this);
  FAction = Value;
  if (Value) Value->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* AComponent) {
  if (!FAction) return false;
  TBasicAction* action = FAction;
  action->SetActionComponent(AComponent);
  // The action may have gone with its handler; only a live link clears it.
  TScopeGuard clear([&] {
    if (FAction == action) action->SetActionComponent(nullptr);
  });
  return action->Execute();
}

bool TBasicActionLink::Update() { return FAction && FAction->Update(); }

void TBasicActionLink::Change() {
  if (OnChange) OnChange(FAction);
}

// --- TActionLink --------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TActionLink)

TCustomAction* TActionLink::CustomAction() const { return dynamic_cast<TCustomAction*>(FAction); }

bool TActionLink::IsCaptionLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsCheckedLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsEnabledLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsGroupIndexLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsHelpContextLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsHintLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsImageIndexLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsShortCutLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsVisibleLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsAutoCheckLinked() { return CustomAction() != nullptr; }

// --- TControlActionLink -------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TControlActionLink)

TControlActionLink::TControlActionLink(TControl* AClient) : TActionLink(AClient), FClient(AClient) {}

bool TControlActionLink::IsCaptionLinked() {
  return TActionLink::IsCaptionLinked() && FClient->Caption() == CustomAction()->Caption();
}

bool TControlActionLink::IsEnabledLinked() {
  return TActionLink::IsEnabledLinked() && FClient->Enabled() == CustomAction()->Enabled();
}

bool TControlActionLink::IsHelpContextLinked() {
  return TActionLink::IsHelpContextLinked() && FClient->HelpContext == CustomAction()->HelpContext();
}

bool TControlActionLink::IsHintLinked() {
  return TActionLink::IsHintLinked() && FClient->Hint == CustomAction()->Hint();
}

bool TControlActionLink::IsVisibleLinked() {
  return TActionLink::IsVisibleLinked() && FClient->Visible() == CustomAction()->Visible();
}

bool TControlActionLink::IsOnExecuteLinked() { return FAction && FClient->OnClick == FAction->OnExecute; }

void TControlActionLink::SetCaption(const String& Value) {
  if (IsCaptionLinked()) FClient->SetCaption(Value);
}

void TControlActionLink::SetEnabled(bool Value) {
  if (IsEnabledLinked()) FClient->SetEnabled(Value);
}

void TControlActionLink::SetHelpContext(int Value) {
  if (IsHelpContextLinked()) FClient->HelpContext = Value;
}

void TControlActionLink::SetHint(const String& Value) {
  if (IsHintLinked()) FClient->Hint = Value;
}

void TControlActionLink::SetVisible(bool Value) {
  if (IsVisibleLinked()) FClient->SetVisible(Value);
}

void TControlActionLink::SetOnExecute(const TNotifyEvent& Value) {
  if (IsOnExecuteLinked()) FClient->OnClick = Value;
}

bool TControlActionLink::DoShowHint(String& HintStr) {
  TCustomAction* action = CustomAction();
  if (!action) return true;
  if (!action->DoHint(HintStr)) return false;
  if (Application->HintShortCuts && action->ShortCut() != scNone && !HintStr.empty()) {
    HintStr += " (" + ShortCutToText(action->ShortCut()) + ")";
  }
  return true;
}

void TControlActionLink::ActionChange(bool CheckDefaults) {
  TCustomAction* a = CustomAction();
  if (!a) return;
  if (!CheckDefaults || FClient->Caption().empty()) FClient->SetCaption(a->Caption());
  if (!CheckDefaults || FClient->Enabled()) FClient->SetEnabled(a->Enabled());
  if (!CheckDefaults || FClient->HelpContext == 0) FClient->HelpContext = a->HelpContext();
  if (!CheckDefaults || FClient->Hint.empty()) FClient->Hint = a->Hint();
  if (!CheckDefaults || FClient->Visible()) FClient->SetVisible(a->Visible());
  if (!CheckDefaults || !FClient->OnClick) FClient->OnClick = a->OnExecute;
}

namespace {

// A control given an action gets a control link that takes the action's properties at once
// (only those still at their default while the control is being read).
TObject* MakeControlActionLink(TControl* Control, TComponent* Action) {
  auto* action = dynamic_cast<TBasicAction*>(Action);
  if (!action) return nullptr;
  auto* link = new TControlActionLink(Control);
  link->SetAction(action);
  link->ActionChange(Control->ComponentState().Contains(csLoading));
  return link;
}

bool ControlActionLinkShowHint(TObject* Link, String& HintStr) {
  auto* link = dynamic_cast<TControlActionLink*>(Link);
  return !link || link->DoShowHint(HintStr);
}

void InstallControlActionHooks() {
  ControlActionHooks.MakeLink = &MakeControlActionLink;
  ControlActionHooks.ShowHint = &ControlActionLinkShowHint;
}

}  // namespace

// --- TBasicAction -------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TBasicAction)
VELBOR_PUBLISHED(TBasicAction,
  Prop("OnExecute", &Self::OnExecute),
  Prop("OnUpdate", &Self::OnUpdate))

// Controls can only be given an action once one exists: the hooks are in place by then.
TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) { InstallControlActionHooks(); }

TBasicAction::~TBasicAction() {
  // The links outlive the action: they only forget it.
  while (!FClients.empty()) {
    TBasicActionLink* link = FClients.back();
    FClients.pop_back();
    link->FAction = nullptr;
  }
  SetActionComponent(nullptr);
}

void TBasicAction::SetActionComponent(TComponent* Value) {
  if (FActionComponent == Value) return;
  if (FActionComponent) FActionComponent->RemoveFreeNotification(this);
  FActionComponent = Value;
  if (Value) Value->FreeNotification(this);
}

void TBasicAction::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FActionComponent) FActionComponent = nullptr;
}

bool TBasicAction::Execute() {
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

void TBasicAction::SetOnExecute(const TNotifyEvent& Value) {
  if (OnExecute == Value) return;
  for (std::size_t i = 0; i < FClients.size(); ++i) FClients[i]->SetOnExecute(Value);
  OnExecute = Value;
  Change();
}

void TBasicAction::RegisterChanges(TBasicActionLink* Value) {
  if (std::find(FClients.begin(), FClients.end(), Value) == FClients.end()) FClients.push_back(Value);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* Value) {
  auto it = std::find(FClients.begin(), FClients.end(), Value);
  if (it == FClients.end()) return;
  FClients.erase(it);
  Value->FAction = nullptr;
}

void TBasicAction::Change() {
  // A client may drop its link while it is told: walk a copy.
  std::vector<TBasicActionLink*> clients = FClients;
  for (TBasicActionLink* link : clients) {
    if (std::find(FClients.begin(), FClients.end(), link) != FClients.end()) link->Change();
  }
}

// --- TContainedAction ---------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TContainedAction)
VELBOR_PUBLISHED(TContainedAction,
  Prop("Category", &Self::Category, &Self::SetCategory))

TContainedAction::~TContainedAction() {
  if (FActionList) FActionList->RemoveAction(this);
}

void TContainedAction::SetActionList(TCustomActionList* Value) {
  if (FActionList == Value) return;
  if (FActionList) FActionList->RemoveAction(this);
  if (Value) Value->AddAction(this);
}

void TContainedAction::SetCategory(const String& Value) {
  if (FCategory == Value) return;
  FCategory = Value;
  if (FActionList) FActionList->Change();
}

int TContainedAction::Index() const {
  if (!FActionList) return -1;
  auto& list = FActionList->FActions;
  return int(std::find(list.begin(), list.end(), this) - list.begin());
}

void TContainedAction::SetIndex(int Value) {
  if (!FActionList) return;
  auto& list = FActionList->FActions;
  int current = Index();
  Value = std::clamp(Value, 0, int(list.size()) - 1);
  if (current == Value) return;
  list.erase(list.begin() + current);
  list.insert(list.begin() + Value, this);
  FActionList->Change();
}

TComponent* TContainedAction::GetParentComponent() const { return FActionList; }

void TContainedAction::SetParentComponent(TComponent* Value) {
  if (auto* list = dynamic_cast<TCustomActionList*>(Value)) SetActionList(list);
}

TObject* TContainedAction::FindTarget() {
  if (!Screen.Exists()) return nullptr;
  TWinControl* control = Screen->ActiveControl();
  if (control && HandlesTarget(control)) return control;
  return nullptr;
}

bool TContainedAction::Execute() {
  if (FActionList && FActionList->ExecuteAction(this)) return true;
  if (TBasicAction::Execute()) return true;
  if (TObject* target = FindTarget()) {
    ExecuteTarget(target);
    return true;
  }
  return false;
}

bool TContainedAction::Update() {
  if (FActionList && FActionList->UpdateAction(this)) return true;
  if (TBasicAction::Update()) return true;
  if (TObject* target = FindTarget()) {
    UpdateTarget(target);
    return true;
  }
  return false;
}

// --- TCustomAction ------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TCustomAction)
VELBOR_PUBLISHED(TCustomAction,
  Prop("Caption", &Self::Caption, &Self::SetCaption),
  Prop("Checked", &Self::Checked, &Self::SetChecked).Default(false),
  Prop("Enabled", &Self::Enabled, &Self::SetEnabled).Default(true),
  Prop("GroupIndex", &Self::GroupIndex, &Self::SetGroupIndex).Default(0),
  Prop("HelpContext", &Self::HelpContext, &Self::SetHelpContext).Default(0),
  Prop("Hint", &Self::Hint, &Self::SetHint),
  Prop("ImageIndex", &Self::ImageIndex, &Self::SetImageIndex).Default(-1),
  Prop("ShortCut", &Self::ShortCut, &Self::SetShortCut).Default(0),
  Prop("Visible", &Self::Visible, &Self::SetVisible).Default(true),
  Prop("AutoCheck", &Self::AutoCheck, &Self::SetAutoCheck).Default(false),
  Prop("DisableIfNoHandler", &Self::DisableIfNoHandler).Default(true),
  Prop("OnHint", &Self::OnHint))

VELBOR_IMPLEMENT_CLASS(TAction)

TCustomAction::TCustomAction(TComponent* AOwner) : TContainedAction(AOwner) {}

namespace {
// Calls Set on every TActionLink client of Action.
template <class F>
void ForEachLink(const std::vector<TBasicActionLink*>& Clients, F Set) {
  std::vector<TBasicActionLink*> copy = Clients;
  for (TBasicActionLink* link : copy) {
    if (auto* l = dynamic_cast<TActionLink*>(link)) Set(l);
  }
}
}  // namespace

void TCustomAction::SetCaption(const String& Value) {
  if (FCaption == Value) return;
  ForEachLink(FClients, [&](TActionLink* l) { l->SetCaption(Value); });
  FCaption = Value;
  Change();
}

void TCustomAction::SetChecked(bool Value) {
  if (FChecked == Value || FChecking) return;
  FChecking = true;
  {
    TScopeGuard restore([&] { FChecking = false; });
    ForEachLink(FClients, [&](TActionLink* l) { l->SetChecked(Value); });
    FChecked = Value;
    if (Value && FGroupIndex > 0 && ActionList()) {
      for (int i = 0; i < ActionList()->ActionCount(); ++i) {
        auto* other = dynamic_cast<TCustomAction*>(ActionList()->Actions(i));
        if (other && other != this && other->FGroupIndex == FGroupIndex) other->SetChecked(false);
      }
    }
  }
  Change();
}

void TCustomAction::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  ForEachLink(FClients, [&](TActionLink* l) { l->SetEnabled(Value); });
  FEnabled = Value;
  Change();
}

void TCustomAction::SetGroupIndex(int Value) {
  if (FGroupIndex == Value) return;
  ForEachLink(FClients, [&](TActionLink* l) { l->SetGroupIndex(Value); });
  FGroupIndex = Value;
  Change();
}

void TCustomAction::SetHelpContext(int Value) {
  if (FHelpContext == Value) return;
  ForEachLink(FClients, [&](TActionLink* l) { l->SetHelpContext(Value); });
  FHelpContext = Value;
  Change();
}

void TCustomAction::SetHint(const String& Value) {
  if (FHint == Value) return;
  ForEachLink(FClients, [&](TActionLink* l) { l->SetHint(Value); });
  FHint = Value;
  Change();
}

void TCustomAction::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  ForEachLink(FClients, [&](TActionLink* l) { l->SetImageIndex(Value); });
  FImageIndex = Value;
  Change();
}

void TCustomAction::SetShortCut(TShortCut Value) {
  if (FShortCut == Value) return;
  ForEachLink(FClients, [&](TActionLink* l) { l->SetShortCut(Value); });
  FShortCut = Value;
  Change();
}

void TCustomAction::SetVisible(bool Value) {
  if (FVisible == Value) return;
  ForEachLink(FClients, [&](TActionLink* l) { l->SetVisible(Value); });
  FVisible = Value;
  Change();
}

void TCustomAction::SetAutoCheck(bool Value) {
  if (FAutoCheck == Value) return;
  ForEachLink(FClients, [&](TActionLink* l) { l->SetAutoCheck(Value); });
  FAutoCheck = Value;
  Change();
}

bool TCustomAction::Execute() {
  Update();
  if (!FEnabled) return false;
  // A checked action of a group stays checked: only another one of the group unchecks it.
  if (FAutoCheck && !(FChecked && FGroupIndex > 0)) SetChecked(!FChecked);
  return TContainedAction::Execute();
}

bool TCustomAction::Update() {
  bool handled = TContainedAction::Update();
  if (!handled && DisableIfNoHandler && !OnExecute) SetEnabled(false);
  return handled;
}

bool TCustomAction::DoHint(String& HintStr) {
  bool canShow = true;
  if (OnHint) OnHint(HintStr, canShow);
  return canShow;
}

// --- TCustomActionList --------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TCustomActionList)
VELBOR_IMPLEMENT_CLASS(TActionList)
VELBOR_PUBLISHED(TActionList,
  Prop("Images", &Self::Images, &Self::SetImages),
  Prop("OnChange", &Self::OnChange),
  Prop("OnExecute", &Self::OnExecute),
  Prop("OnUpdate", &Self::OnUpdate))

TCustomActionList::TCustomActionList(TComponent* AOwner) : TComponent(AOwner) { InstallMenuFormHooks(); }

TCustomActionList::~TCustomActionList() {
  SetImages(nullptr);
  while (!FActions.empty()) {
    TContainedAction* action = FActions.back();
    // Leaves the list, then its owner (when it has one) as it goes.
    delete action;
  }
}

TContainedAction* TCustomActionList::Actions(int Index) const {
  if (Index < 0 || Index >= ActionCount()) throw EListError(Format("Indice de liste hors limites (%d)", {Index}));
  return FActions[std::size_t(Index)];
}

void TCustomActionList::AddAction(TContainedAction* Action) {
  if (Action->FActionList == this) return;
  if (Action->FActionList) Action->FActionList->RemoveAction(Action);
  FActions.push_back(Action);
  Action->FActionList = this;
  Action->FreeNotification(this);
  Change();
}

void TCustomActionList::RemoveAction(TContainedAction* Action) {
  auto it = std::find(FActions.begin(), FActions.end(), Action);
  if (it == FActions.end()) return;
  FActions.erase(it);
  Action->FActionList = nullptr;
  Action->RemoveFreeNotification(this);
  Change();
}

void TCustomActionList::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (Value) Value->FreeNotification(this);
}

void TCustomActionList::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) FImages = nullptr;
  if (auto* action = dynamic_cast<TContainedAction*>(AComponent)) RemoveAction(action);
}

void TCustomActionList::SetChildOrder(TComponent* Child, int Order) {
  if (auto* action = dynamic_cast<TContainedAction*>(Child); action && action->FActionList == this) {
    action->SetIndex(Order);
  }
}

void TCustomActionList::GetChildren(TGetChildProc Proc, TComponent* Root) {
  for (TContainedAction* action : FActions) {
    if (action->Owner() == Root) Proc(action);
  }
}

void TCustomActionList::Change() {
  if (OnChange && !ComponentState().Contains(csDestroying)) OnChange(this);
}

bool TCustomActionList::ExecuteAction(TBasicAction* Action) {
  bool handled = false;
  if (OnExecute) OnExecute(Action, handled);
  return handled;
}

bool TCustomActionList::UpdateAction(TBasicAction* Action) {
  bool handled = false;
  if (OnUpdate) OnUpdate(Action, handled);
  return handled;
}

bool TCustomActionList::IsShortCut(TMessage& Message) {
  TShortCut shortCut = ShortCutFromKeyMessage(Message);
  if (shortCut == scNone) return false;
  for (std::size_t i = 0; i < FActions.size(); ++i) {
    auto* action = dynamic_cast<TCustomAction*>(FActions[i]);
    if (action && action->ShortCut() == shortCut) {
      action->HandleShortCut();
      return true;
    }
  }
  return false;
}

void TCustomActionList::UpdateActions() {
  // An OnUpdate handler may free actions of the list: walk a copy and skip those that left.
  std::vector<TContainedAction*> actions = FActions;
  for (TContainedAction* action : actions) {
    if (std::find(FActions.begin(), FActions.end(), action) != FActions.end()) action->Update();
  }
}

// --- Edit actions -------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TEditAction)
VELBOR_IMPLEMENT_CLASS(TEditCut)
VELBOR_IMPLEMENT_CLASS(TEditCopy)
VELBOR_IMPLEMENT_CLASS(TEditPaste)
VELBOR_IMPLEMENT_CLASS(TEditSelectAll)
VELBOR_IMPLEMENT_CLASS(TEditUndo)
VELBOR_IMPLEMENT_CLASS(TEditDelete)

TEditAction::~TEditAction() { SetControl(nullptr); }

void TEditAction::SetControl(TWinControl* Value) {
  if (FControl == Value) return;
  if (FControl) FControl->RemoveFreeNotification(this);
  FControl = Value;
  if (Value) Value->FreeNotification(this);
}

void TEditAction::Notification(TComponent* AComponent, TOperation Operation) {
  TAction::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FControl) FControl = nullptr;
}

HWND TEditAction::EditHandle(TObject* Target) {
  auto* control = dynamic_cast<TWinControl*>(Target);
  if (!control || !control->HandleAllocated()) return nullptr;
  HWND h = control->Handle();
  return (SendMessageA(h, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) ? h : nullptr;
}

bool TEditAction::HasSelection(TObject* Target) {
  DWORD start = 0, end = 0;
  SendMessageA(EditHandle(Target), EM_GETSEL, WPARAM(&start), LPARAM(&end));
  return end > start;
}

bool TEditAction::IsReadOnly(TObject* Target) { return (GetWindowLongA(EditHandle(Target), GWL_STYLE) & ES_READONLY) != 0; }

bool TEditAction::HandlesTarget(TObject* Target) {
  if (FControl && Target != FControl) return false;
  HWND h = EditHandle(Target);
  return h && GetFocus() == h;
}

void TEditCut::ExecuteTarget(TObject* Target) { SendMessageA(EditHandle(Target), WM_CUT, 0, 0); }
void TEditCut::UpdateTarget(TObject* Target) { SetEnabled(HasSelection(Target) && !IsReadOnly(Target)); }

void TEditCopy::ExecuteTarget(TObject* Target) { SendMessageA(EditHandle(Target), WM_COPY, 0, 0); }
void TEditCopy::UpdateTarget(TObject* Target) { SetEnabled(HasSelection(Target)); }

void TEditPaste::ExecuteTarget(TObject* Target) { SendMessageA(EditHandle(Target), WM_PASTE, 0, 0); }
void TEditPaste::UpdateTarget(TObject* Target) {
  SetEnabled(!IsReadOnly(Target) && IsClipboardFormatAvailable(CF_TEXT));
}

void TEditSelectAll::ExecuteTarget(TObject* Target) { SendMessageA(EditHandle(Target), EM_SETSEL, 0, -1); }
void TEditSelectAll::UpdateTarget(TObject* Target) {
  SetEnabled(GetWindowTextLengthA(EditHandle(Target)) > 0);
}

void TEditUndo::ExecuteTarget(TObject* Target) { SendMessageA(EditHandle(Target), EM_UNDO, 0, 0); }
void TEditUndo::UpdateTarget(TObject* Target) {
  SetEnabled(!IsReadOnly(Target) && SendMessageA(EditHandle(Target), EM_CANUNDO, 0, 0) != 0);
}

void TEditDelete::ExecuteTarget(TObject* Target) { SendMessageA(EditHandle(Target), WM_CLEAR, 0, 0); }
void TEditDelete::UpdateTarget(TObject* Target) { SetEnabled(HasSelection(Target) && !IsReadOnly(Target)); }

void RegisterActionClasses() {
  RegisterClass(TActionList::StaticClass());
  RegisterClass(TAction::StaticClass());
  RegisterClass(TEditCut::StaticClass());
  RegisterClass(TEditCopy::StaticClass());
  RegisterClass(TEditPaste::StaticClass());
  RegisterClass(TEditSelectAll::StaticClass());
  RegisterClass(TEditUndo::StaticClass());
  RegisterClass(TEditDelete::StaticClass());
}
