// This file implements the window-message hook: the process-wide registry of per-control hook
// records (TOxWndProcHook, TOxHookInfos) that run before and after handlers around a control's own
// WindowProc, the deferred releaser TOxReleaser, and the component TOxWindowHook.
#pragma once

#include "Component.h"
#include "OxBase.h"

#include <vector>

class TFiler;
class TReader;
class TWriter;

// Which chain of a hooked control a handler belongs to.
enum TOxHookOrder { hoBeforeMsg, hoAfterMsg };
VELBOR_ENUM(TOxHookOrder, "hoBeforeMsg", "hoAfterMsg")

// A registered handler: true means the message is handled and goes no further.
using TOxHookMethod = TEvent<bool(TMessage& Msg)>;

class TOxWndProcHook;

// The hook record of one control: both handler chains and the dispatch installed as the
// control's WindowProc. Owned by the registry while listed, then by the releaser.
class TOxHookInfos : public TObject {
  VELBOR_DECLARE_CLASS(TOxHookInfos, TObject)
 public:
  TOxHookInfos(TControl* Control, TOxWndProcHook* Registry);
  ~TOxHookInfos() override;

  TControl* HookedControl() const { return FHookedControl; }
  bool ControlDestroyed() const { return FControlDestroyed; }
  bool Installed() const { return FInstalled; }
  // Dispatches in progress on the control (the re-entrancy depth).
  int Depth() const { return FDepth; }
  bool Empty() const { return !FFirstHandler[hoBeforeMsg] && !FFirstHandler[hoAfterMsg]; }

  // What the control's WindowProc points at while hooked.
  void Dispatch(TMessage& Msg);
  void AppendHandler(TOxHookOrder Order, const TOxHookMethod& Hook);
  void RemoveHandler(TOxHookOrder Order, const TOxHookMethod& Hook);
  void Install();
  // Gives the control its previous procedure back. When another hook has chained itself in front
  // of this record since, the record cannot leave without cutting that hook off: it stays in the
  // chain and passes everything through. False in that case.
  bool Uninstall();
  // The control is being destroyed: nothing touches it from now on; the record leaves the
  // registry and is freed once no dispatch of it is on the stack.
  void ControlGone();
  // The releaser asks before freeing: false while a dispatch of the record is still running (a
  // handler ran a message loop); the record then hands itself back when that dispatch ends.
  bool ReadyToFree();

 private:
  friend class TOxWndProcHook;
  friend struct TOxHookLevel;
  struct TEntry {
    TOxHookMethod Hook;
    TEntry* Next = nullptr;
  };
  // Runs the chain Order from this level's slot; true when the dispatch must end.
  bool RunChain(TOxHookOrder Order, TMessage& Msg, int Level);
  void PopLevel();
  TEntry*& Slot(int Level, TOxHookOrder Order) { return FSlots[std::size_t(Level) * 2 + Order]; }

  TEntry* FFirstHandler[2] = {nullptr, nullptr};
  TEntry* FLastHandler[2] = {nullptr, nullptr};
  // Two slots per dispatch level: the entry each running dispatch calls next in either chain.
  std::vector<TEntry*> FSlots;
  int FDepth = 0;
  TControl* FHookedControl;
  bool FControlDestroyed = false;
  TWndMethod FPreviousProc;
  bool FInstalled = false;
  bool FReleaseWhenIdle = false;
  TOxWndProcHook* FRegistry;
};

// The registry: one hook record per hooked control, in the order they were created.
class TOxWndProcHook : public TComponent {
  VELBOR_DECLARE_CLASS(TOxWndProcHook, TComponent)
 public:
  TOxWndProcHook() : TComponent(nullptr) {}
  ~TOxWndProcHook() override;

  // False (and nothing done) for no control, a control being destroyed, or an unassigned hook.
  bool AttachHandler(TControl* Control, TOxHookOrder Order, const TOxHookMethod& Hook);
  // False when there is nothing to detach from; true otherwise, even when Hook was not in the
  // chain. Emptying both chains gives the control its procedure back; the record stays listed.
  bool DetachHandler(TControl* Control, TOxHookOrder Order, const TOxHookMethod& Hook);
  // The record of Control, or nullptr.
  TOxHookInfos* FindRecord(const TComponent* Control) const;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TOxHookInfos;
  void Unlist(TOxHookInfos* Record);
  std::vector<TOxHookInfos*> FHookRecords;
};

// The registry, created on first call and freed when the program ends.
TOxWndProcHook* HookRegistry();

// Frees objects that may still be on the call stack, by a message to its own hidden window.
class TOxReleaser : public TObject {
  VELBOR_DECLARE_CLASS(TOxReleaser, TObject)
 public:
  // The message that frees the object in WParam.
  static constexpr UINT CM_RELEASEOBJECT = 0xB021;

  static TOxReleaser* Shared();
  ~TOxReleaser() override;

  // Frees Object when the message arrives; a second call before then does nothing.
  void FreeLater(TObject* Object);
  bool IsPending(const TObject* Object) const;
  HWND WindowHandle();

 private:
  TOxReleaser() = default;
  void WndProc(TMessage& Message);
  HWND FWindowHandle = nullptr;
  std::vector<TObject*> FPending;
};

using TOxHookMessageEvent = TEvent<void(TObject* Sender, TMessage& Msg, bool& Handled)>;

// A component that watches the messages of one control through the registry.
class TOxWindowHook : public TOxComponent {
  VELBOR_DECLARE_CLASS(TOxWindowHook, TOxComponent)
 public:
  explicit TOxWindowHook(TComponent* AOwner);
  ~TOxWindowHook() override;

  // Properties.
  bool Active() const { return FActive; }
  void SetActive(bool Value);
  TControl* Control() const { return FControl; }
  void SetControl(TControl* Value);
  TOxHookMessageEvent BeforeMessage() const { return FBeforeMessage; }
  void SetBeforeMessage(TOxHookMessageEvent Value);
  TOxHookMessageEvent AfterMessage() const { return FAfterMessage; }
  void SetAfterMessage(TOxHookMessageEvent Value);

 protected:
  // Overridables: what the component registers; the result is the event's Handled.
  virtual bool DoBeforeMessage(TMessage& Msg);
  virtual bool DoAfterMessage(TMessage& Msg);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DefineProperties(TFiler* Filer) override;

 private:
  bool Designing() const { return ComponentState().Contains(csDesigning); }
  bool ControlIsOwnerForm() const;
  void Register(TOxHookOrder Order, bool On);
  void ReadIsForm(TReader* Reader);
  void WriteIsForm(TWriter* Writer);

  bool FActive = false;
  TControl* FControl = nullptr;
  TOxHookMessageEvent FBeforeMessage;
  TOxHookMessageEvent FAfterMessage;
};

// Makes the hook component known to the form reader.
void RegisterOxWindowHook();
