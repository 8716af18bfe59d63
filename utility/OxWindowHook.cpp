// This file implements the window-message hook: hook records, their registry, the releaser and
// the TOxWindowHook component.
#include "OxWindowHook.h"

#include <algorithm>

#include "Filer.h"
#include "Forms.h"
#include "UtilityWindow.h"

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TOxHookInfos)
VELBOR_IMPLEMENT_ABSTRACT_CLASS(TOxWndProcHook)
VELBOR_IMPLEMENT_ABSTRACT_CLASS(TOxReleaser)

namespace {

TOxWndProcHook* Registry = nullptr;
TOxReleaser* Releaser = nullptr;

// Frees the registry, then the releaser, when the program ends.
struct TFinalization {
  ~TFinalization() {
    delete Registry;
    Registry = nullptr;
    delete Releaser;
    Releaser = nullptr;
  }
} Finalization;

bool IsDestroying(const TComponent* Component) { return Component->ComponentState().Contains(csDestroying); }

}  // namespace

// --- Hook record --------------------------------------------------------------------------------

TOxHookInfos::TOxHookInfos(TControl* Control, TOxWndProcHook* ARegistry)
    : FHookedControl(Control), FRegistry(ARegistry) {}

TOxHookInfos::~TOxHookInfos() {
  if (FRegistry) FRegistry->Unlist(this);
  Uninstall();
  for (TEntry* head : FFirstHandler) {
    while (head) {
      TEntry* next = head->Next;
      delete head;
      head = next;
    }
  }
}

// The dispatch level is popped however the dispatch ends, a raising handler included.
struct TOxHookLevel {
  TOxHookInfos* Record;
  ~TOxHookLevel() { Record->PopLevel(); }
};

void TOxHookInfos::Dispatch(TMessage& Msg) {
  // Emptied while another hook was chained in front, and back on top now that it has gone: the
  // record leaves the chain before passing the message on.
  if (Empty() && FDepth == 0 && Uninstall()) {
    FHookedControl->WindowProc(Msg);
    return;
  }
  Msg.Result = 0;
  int level = FDepth;
  FSlots.resize(std::size_t(level + 1) * 2, nullptr);
  ++FDepth;
  TOxHookLevel guard{this};
  if (RunChain(hoBeforeMsg, Msg, level)) return;
  if (FPreviousProc) FPreviousProc(Msg);
  if (FControlDestroyed) return;
  RunChain(hoAfterMsg, Msg, level);
}

bool TOxHookInfos::RunChain(TOxHookOrder Order, TMessage& Msg, int Level) {
  Slot(Level, Order) = FFirstHandler[Order];
  while (TEntry* entry = Slot(Level, Order)) {
    // Moved on before the call: the handler may remove itself or the next one, and removals move
    // every slot that points at the removed entry.
    Slot(Level, Order) = entry->Next;
    if (entry->Hook(Msg) || FControlDestroyed) return true;
  }
  return false;
}

void TOxHookInfos::PopLevel() {
  if (FDepth > 0) --FDepth;
  FSlots.resize(std::size_t(FDepth) * 2);
  // Released while a handler ran a message loop: freed now that no dispatch is on the stack.
  if (FDepth == 0 && FReleaseWhenIdle) {
    FReleaseWhenIdle = false;
    TOxReleaser::Shared()->FreeLater(this);
  }
}

bool TOxHookInfos::ReadyToFree() {
  if (FDepth == 0) return true;
  FReleaseWhenIdle = true;
  return false;
}

void TOxHookInfos::AppendHandler(TOxHookOrder Order, const TOxHookMethod& Hook) {
  auto* entry = new TEntry{Hook, nullptr};
  if (FLastHandler[Order]) FLastHandler[Order]->Next = entry;
  else FFirstHandler[Order] = entry;
  FLastHandler[Order] = entry;
  // A dispatch that has reached the end of this chain has an empty slot: it runs the new entry
  // as well before it leaves the chain.
  for (int level = 0; level < FDepth; ++level) {
    if (!Slot(level, Order)) Slot(level, Order) = entry;
  }
  Install();
}

void TOxHookInfos::RemoveHandler(TOxHookOrder Order, const TOxHookMethod& Hook) {
  TEntry* previous = nullptr;
  TEntry* entry = FFirstHandler[Order];
  while (entry && !(entry->Hook == Hook)) {
    previous = entry;
    entry = entry->Next;
  }
  if (!entry) return;
  if (previous) previous->Next = entry->Next;
  else FFirstHandler[Order] = entry->Next;
  if (FLastHandler[Order] == entry) FLastHandler[Order] = previous;
  // A dispatch about to call the entry skips to the one after it.
  for (int level = 0; level < FDepth; ++level) {
    if (Slot(level, Order) == entry) Slot(level, Order) = entry->Next;
  }
  delete entry;
  if (Empty()) Uninstall();
}

void TOxHookInfos::Install() {
  if (FInstalled || FControlDestroyed || IsDestroying(FHookedControl)) return;
  FPreviousProc = FHookedControl->WindowProc;
  FHookedControl->WindowProc = TWndMethod(this, &TOxHookInfos::Dispatch);
  FInstalled = true;
}

bool TOxHookInfos::Uninstall() {
  if (!FInstalled || FControlDestroyed || IsDestroying(FHookedControl)) return true;
  if (!(FHookedControl->WindowProc == TWndMethod(this, &TOxHookInfos::Dispatch))) return false;
  FHookedControl->WindowProc = FPreviousProc;
  FInstalled = false;
  return true;
}

void TOxHookInfos::ControlGone() {
  if (FControlDestroyed) return;
  FControlDestroyed = true;
  FPreviousProc = nullptr;
  if (FRegistry) FRegistry->Unlist(this);
  TOxReleaser::Shared()->FreeLater(this);
}

// --- Registry -----------------------------------------------------------------------------------

TOxWndProcHook* HookRegistry() {
  if (!Registry) Registry = new TOxWndProcHook();
  return Registry;
}

TOxWndProcHook::~TOxWndProcHook() {
  Destroying();
  while (!FHookRecords.empty()) {
    TOxHookInfos* record = FHookRecords.back();
    Unlist(record);
    // A record another hook has chained in front of stays reachable from that hook: it is left
    // alive rather than freed under it.
    if (record->Uninstall()) delete record;
  }
}

TOxHookInfos* TOxWndProcHook::FindRecord(const TComponent* Control) const {
  for (TOxHookInfos* record : FHookRecords) {
    if (static_cast<const TComponent*>(record->HookedControl()) == Control) return record;
  }
  return nullptr;
}

bool TOxWndProcHook::AttachHandler(TControl* Control, TOxHookOrder Order, const TOxHookMethod& Hook) {
  if (!Control || IsDestroying(Control) || !Hook) return false;
  TOxHookInfos* record = FindRecord(Control);
  if (!record) {
    record = new TOxHookInfos(Control, this);
    FHookRecords.push_back(record);
    Control->FreeNotification(this);
  }
  record->AppendHandler(Order, Hook);
  return true;
}

bool TOxWndProcHook::DetachHandler(TControl* Control, TOxHookOrder Order, const TOxHookMethod& Hook) {
  if (!Control || !Hook) return false;
  TOxHookInfos* record = FindRecord(Control);
  if (!record) return false;
  record->RemoveHandler(Order, Hook);
  return true;
}

void TOxWndProcHook::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  // By address: a component being destroyed is no longer a control to dynamic_cast.
  if (TOxHookInfos* record = FindRecord(AComponent)) record->ControlGone();
}

void TOxWndProcHook::Unlist(TOxHookInfos* Record) {
  auto it = std::find(FHookRecords.begin(), FHookRecords.end(), Record);
  if (it != FHookRecords.end()) FHookRecords.erase(it);
  Record->FRegistry = nullptr;
}

// --- Releaser -----------------------------------------------------------------------------------

TOxReleaser* TOxReleaser::Shared() {
  if (!Releaser) Releaser = new TOxReleaser();
  return Releaser;
}

TOxReleaser::~TOxReleaser() {
  std::vector<TObject*> pending;
  pending.swap(FPending);
  for (TObject* object : pending) delete object;
  // The window is left to the end of the process: destroying a window from the exit handlers
  // loses the program's exit status under Wine.
}

HWND TOxReleaser::WindowHandle() {
  if (!FWindowHandle) FWindowHandle = AllocateHWnd(TWndMethod(this, &TOxReleaser::WndProc));
  return FWindowHandle;
}

bool TOxReleaser::IsPending(const TObject* Object) const {
  return std::find(FPending.begin(), FPending.end(), Object) != FPending.end();
}

void TOxReleaser::FreeLater(TObject* Object) {
  if (!Object || IsPending(Object)) return;
  FPending.push_back(Object);
  PostMessageA(WindowHandle(), CM_RELEASEOBJECT, WPARAM(Object), 0);
}

void TOxReleaser::WndProc(TMessage& Message) {
  if (Message.Msg != CM_RELEASEOBJECT) {
    Message.Result = DefWindowProcA(FWindowHandle, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  auto* object = reinterpret_cast<TObject*>(Message.WParam);
  auto it = std::find(FPending.begin(), FPending.end(), object);
  // Not listed: already freed (by the releaser's own destruction), never touched again.
  if (it == FPending.end()) return;
  FPending.erase(it);
  if (auto* record = dynamic_cast<TOxHookInfos*>(object); record && !record->ReadyToFree()) return;
  delete object;
}

// --- TOxWindowHook --------------------------------------------------------------------------------

namespace {
bool IsWindowHookControlStored(TObject* Instance) {
  auto* hook = static_cast<TOxWindowHook*>(Instance);
  return hook->Control() && !dynamic_cast<TCustomForm*>(hook->Control());
}
}  // namespace

VELBOR_IMPLEMENT_CLASS(TOxWindowHook)
VELBOR_PUBLISHED(TOxWindowHook,
  Prop("Active", &Self::Active, &Self::SetActive).Default(true),
  Prop("Control", &Self::Control, &Self::SetControl).Stored(&IsWindowHookControlStored),
  Prop("BeforeMessage", &Self::BeforeMessage, &Self::SetBeforeMessage),
  Prop("AfterMessage", &Self::AfterMessage, &Self::SetAfterMessage))

void RegisterOxWindowHook() { RegisterClass(TOxWindowHook::StaticClass()); }

TOxWindowHook::TOxWindowHook(TComponent* AOwner) : TOxComponent(AOwner) { SetActive(true); }

TOxWindowHook::~TOxWindowHook() {
  Destroying();
  SetActive(false);
  SetControl(nullptr);
}

void TOxWindowHook::Register(TOxHookOrder Order, bool On) {
  TOxHookMethod hook = Order == hoBeforeMsg ? TOxHookMethod(this, &TOxWindowHook::DoBeforeMessage)
                                            : TOxHookMethod(this, &TOxWindowHook::DoAfterMessage);
  // Refusals (no control, a control going away) are not errors here.
  if (On) HookRegistry()->AttachHandler(FControl, Order, hook);
  else HookRegistry()->DetachHandler(FControl, Order, hook);
}

void TOxWindowHook::SetActive(bool Value) {
  if (Value == FActive) return;
  if (!Designing()) {
    if (FAfterMessage) Register(hoAfterMsg, Value);
    if (FBeforeMessage) Register(hoBeforeMsg, Value);
  }
  FActive = Value;
}

void TOxWindowHook::SetControl(TControl* Value) {
  if (Value == FControl) return;
  bool wasActive = FActive;
  SetActive(false);
  if (FControl) FControl->RemoveFreeNotification(this);
  if (Value && IsDestroying(Value)) {
    FControl = nullptr;
    return;
  }
  FControl = Value;
  if (FControl) FControl->FreeNotification(this);
  SetActive(wasActive);
}

void TOxWindowHook::SetBeforeMessage(TOxHookMessageEvent Value) {
  if (FActive && !Designing() && bool(FBeforeMessage) != bool(Value)) Register(hoBeforeMsg, bool(Value));
  FBeforeMessage = Value;
}

void TOxWindowHook::SetAfterMessage(TOxHookMessageEvent Value) {
  if (FActive && !Designing() && bool(FAfterMessage) != bool(Value)) Register(hoAfterMsg, bool(Value));
  FAfterMessage = Value;
}

bool TOxWindowHook::DoBeforeMessage(TMessage& Msg) {
  bool handled = false;
  if (FBeforeMessage) FBeforeMessage(this, Msg, handled);
  return handled;
}

bool TOxWindowHook::DoAfterMessage(TMessage& Msg) {
  bool handled = false;
  if (FAfterMessage) FAfterMessage(this, Msg, handled);
  return handled;
}

void TOxWindowHook::Notification(TComponent* AComponent, TOperation Operation) {
  TOxComponent::Notification(AComponent, Operation);
  // Without an owner to free it, the hook lets go of its control at any removal it hears of.
  if (Operation == opRemove && (AComponent == FControl || !Owner())) SetControl(nullptr);
}

bool TOxWindowHook::ControlIsOwnerForm() const {
  return FControl && FControl == Owner() && dynamic_cast<TCustomForm*>(Owner());
}

void TOxWindowHook::DefineProperties(TFiler* Filer) {
  TOxComponent::DefineProperties(Filer);
  auto* ancestor = dynamic_cast<TOxWindowHook*>(Filer->Ancestor());
  bool hasData = ancestor ? ancestor->ControlIsOwnerForm() != ControlIsOwnerForm() : ControlIsOwnerForm();
  Filer->DefineProperty("IsForm", TReaderProc(this, &TOxWindowHook::ReadIsForm),
                        TWriterProc(this, &TOxWindowHook::WriteIsForm), hasData);
}

void TOxWindowHook::ReadIsForm(TReader* Reader) {
  if (Reader->ReadBoolean() && dynamic_cast<TCustomForm*>(Owner())) SetControl(static_cast<TControl*>(Owner()));
}

void TOxWindowHook::WriteIsForm(TWriter* Writer) { Writer->WriteBoolean(ControlIsOwnerForm()); }
