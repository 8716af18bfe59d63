// This file implements actions: TBasicAction and its links (TBasicActionLink, TActionLink,
// TControlActionLink), TContainedAction, TCustomAction and TAction, the lists that hold them
// (TCustomActionList, TActionList) and the standard edit actions (TEditCut, TEditCopy, TEditPaste,
// TEditSelectAll, TEditUndo, TEditDelete) that act on the focused edit control.
#pragma once

#include "WinApi.h"

#include <vector>

#include "Controls.h"

class TBasicAction;
class TCustomAction;
class TCustomActionList;
class TCustomImageList;

// A key with its modifiers: the virtual key in the low byte, scShift, scCtrl and scAlt above.
using TShortCut = WORD;
inline constexpr TShortCut scNone = 0;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;

// --- Links --------------------------------------------------------------------------------------

// Joins a client (a menu item, a control, a bar item) to an action: the action tells its links of
// each change, and the client executes and updates the action through its link.
class TBasicActionLink : public TObject {
  VELBOR_DECLARE_CLASS(TBasicActionLink, TObject)
 public:
  explicit TBasicActionLink(TObject* AClient);
  // Leaves the action's list of clients.
  ~TBasicActionLink() override;

  TBasicAction* Action() const { return FAction; }
  virtual void SetAction(TBasicAction* Value);
  // Runs the action on behalf of AComponent (the action's ActionComponent meanwhile).
  virtual bool Execute(TComponent* AComponent = nullptr);
  virtual bool Update();
  // Whether the client's click handler is the action's OnExecute.
  virtual bool IsOnExecuteLinked() { return true; }
  virtual void SetOnExecute(const TNotifyEvent&) {}

  // Fired by Change (the action changed as a whole, or was assigned).
  TNotifyEvent OnChange;

 protected:
  friend class TBasicAction;
  virtual void AssignClient(TObject*) {}
  virtual void Change();

  TBasicAction* FAction = nullptr;
};

// A link to a TCustomAction: each property of the client is linked while it equals the action's;
// the setters are called by the action before it changes its own value.
class TActionLink : public TBasicActionLink {
  VELBOR_DECLARE_CLASS(TActionLink, TBasicActionLink)
 public:
  using TBasicActionLink::TBasicActionLink;

  virtual bool IsCaptionLinked();
  virtual bool IsCheckedLinked();
  virtual bool IsEnabledLinked();
  virtual bool IsGroupIndexLinked();
  virtual bool IsHelpContextLinked();
  virtual bool IsHintLinked();
  virtual bool IsImageIndexLinked();
  virtual bool IsShortCutLinked();
  virtual bool IsVisibleLinked();
  virtual bool IsAutoCheckLinked();

  virtual void SetCaption(const String&) {}
  virtual void SetChecked(bool) {}
  virtual void SetEnabled(bool) {}
  virtual void SetGroupIndex(int) {}
  virtual void SetHelpContext(int) {}
  virtual void SetHint(const String&) {}
  virtual void SetImageIndex(int) {}
  virtual void SetShortCut(TShortCut) {}
  virtual void SetVisible(bool) {}
  virtual void SetAutoCheck(bool) {}

 protected:
  // The action as a TCustomAction, nullptr for another kind.
  TCustomAction* CustomAction() const;
};

// A link whose client is a control: caption, enabled state, hint, help context, visibility and
// OnClick follow the action. A control class that takes actions owns one and routes CM_HINTSHOW
// to DoShowHint.
class TControlActionLink : public TActionLink {
  VELBOR_DECLARE_CLASS(TControlActionLink, TActionLink)
 public:
  // Made from its class with the client as owner (GetActionLinkClass).
  using TOwnerClass = TControl;
  explicit TControlActionLink(TControl* AClient);
  TControl* Client() const { return FClient; }

  bool IsCaptionLinked() override;
  bool IsEnabledLinked() override;
  bool IsHelpContextLinked() override;
  bool IsHintLinked() override;
  bool IsVisibleLinked() override;
  bool IsOnExecuteLinked() override;
  void SetCaption(const String& Value) override;
  void SetEnabled(bool Value) override;
  void SetHelpContext(int Value) override;
  void SetHint(const String& Value) override;
  void SetVisible(bool Value) override;
  void SetOnExecute(const TNotifyEvent& Value) override;
  // The action's OnHint, then the shortcut appended as "Hint (Ctrl+X)" when the application's
  // HintShortCuts is on; false keeps the hint from showing.
  virtual bool DoShowHint(String& HintStr);
  // Copies every property from the action (only those still at their default when
  // CheckDefaults), as a control does when it is given the action.
  void ActionChange(bool CheckDefaults);

 private:
  TControl* FClient;
};

// --- Actions ------------------------------------------------------------------------------------

using THintEvent = TEvent<void(String& HintStr, bool& CanShow)>;

class TBasicAction : public TComponent {
  VELBOR_DECLARE_CLASS(TBasicAction, TComponent)
 public:
  explicit TBasicAction(TComponent* AOwner);
  // Detaches every client link (their Action becomes nullptr).
  ~TBasicAction() override;

  // The component that is executing the action (the menu item, the button), nullptr otherwise.
  TComponent* ActionComponent() const { return FActionComponent; }
  void SetActionComponent(TComponent* Value);
  // OnExecute; true when it ran.
  virtual bool Execute();
  // OnUpdate; true when it ran.
  virtual bool Update();
  // The standard actions work on a target (the focused edit): whether Target is one, and what to
  // do with it.
  virtual bool HandlesTarget(TObject*) { return false; }
  virtual void ExecuteTarget(TObject*) {}
  virtual void UpdateTarget(TObject*) {}
  // Sets OnExecute, telling the clients whose click handler was the old one.
  virtual void SetOnExecute(const TNotifyEvent& Value);
  void RegisterChanges(TBasicActionLink* Value);
  void UnRegisterChanges(TBasicActionLink* Value);
  int ClientCount() const { return int(FClients.size()); }
  TBasicActionLink* Clients(int Index) const { return FClients.at(std::size_t(Index)); }

  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;

 protected:
  // Tells every link that the action changed as a whole.
  virtual void Change();
  void Notification(TComponent* AComponent, TOperation Operation) override;

  std::vector<TBasicActionLink*> FClients;

 private:
  TComponent* FActionComponent = nullptr;
};

// An action kept in an action list, under a category.
class TContainedAction : public TBasicAction {
  VELBOR_DECLARE_CLASS(TContainedAction, TBasicAction)
  friend class TCustomActionList;

 public:
  explicit TContainedAction(TComponent* AOwner) : TBasicAction(AOwner) {}
  ~TContainedAction() override;

  TCustomActionList* ActionList() const { return FActionList; }
  void SetActionList(TCustomActionList* Value);
  String Category() const { return FCategory; }
  void SetCategory(const String& Value);
  // Position in the list; -1 outside one.
  int Index() const;
  void SetIndex(int Value);

  // The list's OnExecute, then OnExecute, then the focused control as a target.
  bool Execute() override;
  // The list's OnUpdate, then OnUpdate, then the focused control as a target.
  bool Update() override;

  bool HasParent() const override { return FActionList != nullptr; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

 protected:
  // The focused control of the focused form when the action handles it, else nullptr.
  TObject* FindTarget();

 private:
  TCustomActionList* FActionList = nullptr;
  String FCategory;
};

class TCustomAction : public TContainedAction {
  VELBOR_DECLARE_CLASS(TCustomAction, TContainedAction)
 public:
  explicit TCustomAction(TComponent* AOwner);

  // Properties; each setter tells the linked clients before it changes the action's value.
  String Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  bool Checked() const { return FChecked; }
  // Checking an action of a group (GroupIndex > 0) unchecks the others of its list's group.
  void SetChecked(bool Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int Value);
  String Hint() const { return FHint; }
  void SetHint(const String& Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool Value);
  // Without OnExecute, nor a target that handles it, the idle update disables the action.
  bool DisableIfNoHandler = true;

  // Update first; then, when enabled, checks it (AutoCheck) and runs it.
  bool Execute() override;
  // When nothing handled the update, an action without OnExecute is disabled (DisableIfNoHandler).
  bool Update() override;
  // The shortcut's work: Execute.
  virtual bool HandleShortCut() { return Execute(); }
  // OnHint; false keeps the hint from showing.
  virtual bool DoHint(String& HintStr);

  THintEvent OnHint;

 private:
  String FCaption;
  bool FChecked = false;
  bool FEnabled = true;
  int FGroupIndex = 0;
  int FHelpContext = 0;
  String FHint;
  int FImageIndex = -1;
  TShortCut FShortCut = 0;
  bool FVisible = true;
  bool FAutoCheck = false;
  bool FChecking = false;
};

class TAction : public TCustomAction {
  VELBOR_DECLARE_CLASS(TAction, TCustomAction)
 public:
  explicit TAction(TComponent* AOwner) : TCustomAction(AOwner) {}
};

// --- Lists --------------------------------------------------------------------------------------

using TActionEvent = TEvent<void(TBasicAction* Action, bool& Handled)>;

class TCustomActionList : public TComponent {
  VELBOR_DECLARE_CLASS(TCustomActionList, TComponent)
 public:
  explicit TCustomActionList(TComponent* AOwner);
  // Frees the actions it holds.
  ~TCustomActionList() override;

  int ActionCount() const { return int(FActions.size()); }
  TContainedAction* Actions(int Index) const;
  void AddAction(TContainedAction* Action);
  void RemoveAction(TContainedAction* Action);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);

  // The list's OnExecute and OnUpdate for one of its actions; true when handled.
  virtual bool ExecuteAction(TBasicAction* Action);
  virtual bool UpdateAction(TBasicAction* Action);
  // Runs the action whose shortcut the key message is (Ctrl, Shift and Alt read from the keyboard
  // state of the message); true when one took it.
  bool IsShortCut(TMessage& Message);
  // Updates every action of the list (the idle work).
  void UpdateActions();

  TActionEvent OnExecute;
  TActionEvent OnUpdate;
  TNotifyEvent OnChange;

  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

 protected:
  friend class TContainedAction;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void SetChildOrder(TComponent* Child, int Order) override;
  virtual void Change();

  std::vector<TContainedAction*> FActions;

 private:
  TCustomImageList* FImages = nullptr;
};

class TActionList : public TCustomActionList {
  VELBOR_DECLARE_CLASS(TActionList, TCustomActionList)
 public:
  explicit TActionList(TComponent* AOwner) : TCustomActionList(AOwner) {}
};

// --- Edit actions -------------------------------------------------------------------------------

// An action on an edit control: the one in Control when set, else whichever edit has the focus.
// An edit is a window that answers WM_GETDLGCODE with DLGC_HASSETSEL (the native EDIT and the
// rich edit do).
class TEditAction : public TAction {
  VELBOR_DECLARE_CLASS(TEditAction, TAction)
 public:
  explicit TEditAction(TComponent* AOwner) : TAction(AOwner) {}
  ~TEditAction() override;
  TWinControl* Control() const { return FControl; }
  void SetControl(TWinControl* Value);
  bool HandlesTarget(TObject* Target) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  static HWND EditHandle(TObject* Target);
  static bool HasSelection(TObject* Target);
  static bool IsReadOnly(TObject* Target);

 private:
  TWinControl* FControl = nullptr;
};

class TEditCut : public TEditAction {
  VELBOR_DECLARE_CLASS(TEditCut, TEditAction)
 public:
  using TEditAction::TEditAction;
  void ExecuteTarget(TObject* Target) override;
  void UpdateTarget(TObject* Target) override;
};

class TEditCopy : public TEditAction {
  VELBOR_DECLARE_CLASS(TEditCopy, TEditAction)
 public:
  using TEditAction::TEditAction;
  void ExecuteTarget(TObject* Target) override;
  void UpdateTarget(TObject* Target) override;
};

class TEditPaste : public TEditAction {
  VELBOR_DECLARE_CLASS(TEditPaste, TEditAction)
 public:
  using TEditAction::TEditAction;
  void ExecuteTarget(TObject* Target) override;
  void UpdateTarget(TObject* Target) override;
};

class TEditSelectAll : public TEditAction {
  VELBOR_DECLARE_CLASS(TEditSelectAll, TEditAction)
 public:
  using TEditAction::TEditAction;
  void ExecuteTarget(TObject* Target) override;
  void UpdateTarget(TObject* Target) override;
};

class TEditUndo : public TEditAction {
  VELBOR_DECLARE_CLASS(TEditUndo, TEditAction)
 public:
  using TEditAction::TEditAction;
  void ExecuteTarget(TObject* Target) override;
  void UpdateTarget(TObject* Target) override;
};

class TEditDelete : public TEditAction {
  VELBOR_DECLARE_CLASS(TEditDelete, TEditAction)
 public:
  using TEditAction::TEditAction;
  void ExecuteTarget(TObject* Target) override;
  void UpdateTarget(TObject* Target) override;
};

// Registers the action classes with the form reader.
void RegisterActionClasses();
