// This file implements the forms of the class library and the objects that run them: TCustomForm
// and TForm (top-level windows built from their form description, modal and modeless, MDI frames
// and children, focus and activation, keyboard navigation), TFrame, TDataModule, TScreen (the live
// forms, cursors, fonts, the desktop) and TApplication (start-up, the message loop, idle work,
// hints, exceptions).
// Implemented in Form.cpp (TCustomForm), FormMDI.cpp (its MDI side), DataModule.cpp (TDataModule,
// TFrame), Screen.cpp (TScreen) and Application.cpp (TApplication).
#pragma once

#include "WinApi.h"

#include <vector>

#include "Controls.h"
#include "Exceptions.h"

class TStrings;
class TCustomForm;

// --- Forms ------------------------------------------------------------------------------------

enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
VELBOR_ENUM(TFormStyle, "fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop")

enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
VELBOR_ENUM(TBorderIcon, "biSystemMenu", "biMinimize", "biMaximize", "biHelp")
using TBorderIcons = TSet<TBorderIcon>;

enum TPosition {
  poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
  poMainFormCenter, poOwnerFormCenter
};
VELBOR_ENUM(TPosition, "poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
            "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter")

enum TWindowState { wsNormal, wsMinimized, wsMaximized };
VELBOR_ENUM(TWindowState, "wsNormal", "wsMinimized", "wsMaximized")

enum TCloseAction { caNone, caHide, caFree, caMinimize };
VELBOR_ENUM(TCloseAction, "caNone", "caHide", "caFree", "caMinimize")

enum TTileMode { tbHorizontal, tbVertical };
VELBOR_ENUM(TTileMode, "tbHorizontal", "tbVertical")

enum TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TSet<TFormStateItem>;

// The answer of a modal form or question (the button that ended it).
using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = IDOK;
inline constexpr TModalResult mrCancel = IDCANCEL;
inline constexpr TModalResult mrAbort = IDABORT;
inline constexpr TModalResult mrRetry = IDRETRY;
inline constexpr TModalResult mrIgnore = IDIGNORE;
inline constexpr TModalResult mrYes = IDYES;
inline constexpr TModalResult mrNo = IDNO;
inline constexpr TModalResult mrAll = mrNo + 1;
inline constexpr TModalResult mrNoToAll = mrAll + 1;
inline constexpr TModalResult mrYesToAll = mrNoToAll + 1;
extern const TIntIdents ModalResultIdents;

using TCloseEvent = TEvent<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TEvent<void(TObject* Sender, bool& CanClose)>;
using TShortCutEvent = TEvent<void(TMessage& Msg, bool& Handled)>;

// The extension points of the menu and action libraries: a form asks them about shortcuts, to
// update its actions while idle and to show its menu. Each is null until that library sets it.
struct TFormHooks {
  // A key that a menu or an action list of the form takes; true when it was taken.
  bool (*IsShortCut)(TCustomForm* Form, TMessage& Message) = nullptr;
  // The idle update of the form's actions.
  void (*UpdateActions)(TCustomForm* Form) = nullptr;
  // The form's Menu component changed or its window was (re)created: the native menu to attach.
  HMENU (*MenuHandle)(TComponent* Menu) = nullptr;
  // The form becomes (MergeState true) or stops being the active form: menus merge or unmerge.
  void (*MergeMenu)(TCustomForm* Form, bool MergeState) = nullptr;
  // The messages a form's menu sends it (WM_COMMAND from a menu, WM_INITMENUPOPUP,
  // WM_MENUSELECT, WM_DRAWITEM and WM_MEASUREITEM of owner-drawn items); true when handled.
  bool (*MenuMessage)(TCustomForm* Form, TMessage& Message) = nullptr;
  // WM_CONTEXTMENU on a control: its popup menu shows; true when one did.
  bool (*ContextPopup)(TControl* Control, TMessage& Message) = nullptr;
};
extern TFormHooks FormHooks;

class TCustomForm : public TWinControl {
  VELBOR_DECLARE_CLASS(TCustomForm, TWinControl)
  friend class TScreen;
  friend class TApplication;

 public:
  // A form of a class with a description reads it when the form is completed: CreateForm and
  // TApplication::CreateForm do it at once; a form made with new is completed by AfterConstruction
  // (called, at the latest, when it is first shown).
  explicit TCustomForm(TComponent* AOwner);
  // Destroys the window and leaves the screen. OnDestroy runs in BeforeDestruction, which Free,
  // Release, the application and closing with caFree call while the whole object exists; a bare
  // delete cannot run it (the form's own class is gone by then).
  ~TCustomForm() override;
  // BeforeDestruction, then delete.
  void Free();

  // Reads the form's description (its class's and its ancestors') and fires OnCreate. Once.
  virtual void AfterConstruction();
  // Fires OnDestroy and destroys the window while the whole object still exists. Once.
  virtual void BeforeDestruction();

  // Properties.
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle Value);
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons Value);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition Value);
  TWindowState WindowState() const;
  void SetWindowState(TWindowState Value);
  bool KeyPreview = false;
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* Control);
  // The main menu (a TMainMenu of the menu library), cleared when it goes away.
  TComponent* Menu() const { return FMenu; }
  void SetMenu(TComponent* Value);
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  bool Active() const { return FActive; }
  TFormState FormState() const { return FFormState; }
  TCanvas* Canvas() const;
  TRect ClientRect() const override;
  // Descriptions written at other resolutions would be scaled; this library keeps sizes as read.
  int PixelsPerInch = 96;
  int TextHeight = 13;
  bool Scaled = true;
  bool OldCreateOrder = false;
  bool AutoScroll = false;

  // MDI.
  HWND ClientHandle() const { return FClientHandle; }
  TCustomForm* ActiveMDIChild() const;
  int MDIChildCount() const;
  TCustomForm* MDIChildren(int Index) const;
  TTileMode TileMode = tbHorizontal;
  // The popup menu whose items list the MDI children (its native handle, set by the menu
  // library).
  HMENU WindowMenu() const { return FWindowMenu; }
  void SetWindowMenu(HMENU Value);
  void Cascade();
  void Tile();
  void ArrangeIcons();
  void Next();
  void Previous();

  // Operations.
  void Show();
  void Hide();
  // Shows the form modally and returns its ModalResult; EInvalidOperation when it cannot.
  virtual TModalResult ShowModal();
  void Close();
  // Frees the form once the current message is done.
  void Release();
  virtual bool CloseQuery();
  void SetFocus() override;
  bool Focused() const override;
  // Gives the focus to Control (activating the form when needed).
  void FocusControl(TWinControl* Control);
  // Called when a control of the form received the focus: moves CM_EXIT and CM_ENTER along the
  // parent chains and keeps ActiveControl and the screen up to date; false when a handler moved
  // the focus elsewhere meanwhile.
  bool SetFocusedControl(TWinControl* Control);
  // Takes the focus away from Control (and its children), which hides, is disabled or goes.
  void DefocusControl(TWinControl* Control, bool Removing);
  // The shortcut test of the form (OnShortCut, then the menu and action libraries).
  virtual bool IsShortCut(TMessage& Message);
  // The idle update of the form's actions (through FormHooks).
  virtual void UpdateActions();
  // Keys through KeyPreview: the same as a control's, used by the form's children.
  using TWinControl::DoKeyDown;
  using TWinControl::DoKeyPress;
  using TWinControl::DoKeyUp;

  // Events.
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TShortCutEvent OnShortCut;

 protected:
  TCustomForm(TComponent* AOwner, bool CreateNew);

  // Overridables.
  virtual void DoCreate();
  virtual void DoDestroy();
  virtual void DoShow();
  virtual void DoHide();
  virtual void Activate();
  virtual void Deactivate();
  virtual void DoClose(TCloseAction& Action);
  virtual void Paint();
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWindowHandle() override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void PaintWindow(HDC DC) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void SetClientSize(int AWidth, int AHeight) override;
  void VisibleChanging() override;
  void SetActive(bool Value);
  void SetWindowFocus();
  void CloseModal();
  void MergeMenu(bool MergeState);

  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

  // protected messages
  void WMActivate(TMessage& Message);
  void WMMDIActivate(TMessage& Message);
  void WMClose(TMessage& Message);
  void WMQueryEndSession(TMessage& Message);
  void WMSysCommand(TMessage& Message);
  void WMNCCreate(TMessage& Message);
  void WMDestroy(TMessage& Message);
  void WMGetMinMaxInfo(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void CMActivate(TMessage& Message);
  void CMDeactivate(TMessage& Message);
  void CMDialogKey(TMessage& Message);
  void CMShowingChanged(TMessage& Message);
  void CMRelease(TMessage& Message);

 private:
  DWORD FrameStyle(DWORD& ExStyle) const;
  void PositionForm();
  void CreateClientWindow();

  TFormStyle FFormStyle = fsNormal;
  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons = {biSystemMenu, biMinimize, biMaximize};
  TPosition FPosition = poDesigned;
  TWindowState FWindowState = wsNormal;
  TWinControl* FActiveControl = nullptr;
  TWinControl* FFocusedControl = nullptr;
  TComponent* FMenu = nullptr;
  TModalResult FModalResult = mrNone;
  bool FActive = false;
  TFormState FFormState;
  TControlCanvas* FCanvas;
  HWND FClientHandle = nullptr;
  WNDPROC FClientDefProc = nullptr;
  HMENU FWindowMenu = nullptr;
  bool FConstructed = false;
  bool FDestructing = false;
  bool FPositioned = false;
};

class TForm : public TCustomForm {
  VELBOR_DECLARE_CLASS(TForm, TCustomForm)
 public:
  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}

 protected:
  TForm(TComponent* AOwner, bool CreateNew) : TCustomForm(AOwner, CreateNew) {}
};

// Completes a form (or data module) class made with new: reads its description, fires OnCreate.
template <class T>
T* CreateForm(TComponent* Owner) {
  T* form = new T(Owner);
  try {
    form->AfterConstruction();
  } catch (...) {
    delete form;
    throw;
  }
  return form;
}

// A control built from its own description, placed on forms.
class TFrame : public TCustomControl {
  VELBOR_DECLARE_CLASS(TFrame, TCustomControl)
 public:
  explicit TFrame(TComponent* AOwner);
  // Reads the frame class's description (its ancestors' first) when the class has one.
  void AfterConstruction();
};

// A non-visual container of components (datasets, connections), built from its description.
class TDataModule : public TComponent {
  VELBOR_DECLARE_CLASS(TDataModule, TComponent)
 public:
  explicit TDataModule(TComponent* AOwner);
  ~TDataModule() override;
  // BeforeDestruction (OnDestroy), then delete; a bare delete skips OnDestroy, as for forms.
  void Free();
  virtual void AfterConstruction();
  virtual void BeforeDestruction();

  // The designer's placement, kept as read.
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  bool OldCreateOrder = false;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;

 protected:
  virtual void DoCreate();
  virtual void DoDestroy();

 private:
  bool FConstructed = false;
  bool FDestructing = false;
};

// --- Screen -----------------------------------------------------------------------------------

class TScreen : public TComponent {
  VELBOR_DECLARE_CLASS(TScreen, TComponent)
  friend class TCustomForm;
  friend class TDataModule;

 public:
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;

  // The live forms, the most recently active first.
  int FormCount() const { return int(FForms.size()); }
  TCustomForm* Forms(int Index) const;
  int CustomFormCount() const { return FormCount(); }
  TCustomForm* CustomForms(int Index) const { return Forms(Index); }
  int DataModuleCount() const { return int(FDataModules.size()); }
  TDataModule* DataModules(int Index) const;
  // The form that holds the focus (the MDI child, for an MDI application) and its focused
  // control.
  TCustomForm* ActiveForm() const { return FActiveForm; }
  TCustomForm* ActiveCustomForm() const { return FActiveForm; }
  TWinControl* ActiveControl() const { return FActiveControl; }
  TCustomForm* FocusedForm() const { return FFocusedForm; }
  // The cursor shown everywhere while not crDefault (the hourglass of long operations).
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  // The cursor of an identifier: the standard ones, and those registered with SetCursors.
  HCURSOR Cursors(TCursor Index) const;
  void SetCursors(TCursor Index, HCURSOR Handle);
  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
  int DesktopWidth() const { return GetSystemMetrics(SM_CXVIRTUALSCREEN); }
  int DesktopHeight() const { return GetSystemMetrics(SM_CYVIRTUALSCREEN); }
  TRect WorkAreaRect() const;
  int WorkAreaWidth() const { return WorkAreaRect().Width(); }
  int WorkAreaHeight() const { return WorkAreaRect().Height(); }
  int PixelsPerInch() const { return FPixelsPerInch; }
  // The font families installed, sorted.
  TStrings* Fonts();
  TFont* HintFont() const { return FHintFont; }
  TFont* MenuFont() const { return FMenuFont; }
  TFont* IconFont() const { return FIconFont; }
  // Re-reads the system fonts (after a settings change).
  void ResetFonts();

  TNotifyEvent OnActiveFormChange;
  TNotifyEvent OnActiveControlChange;

 private:
  void AddForm(TCustomForm* Form);
  void RemoveForm(TCustomForm* Form);
  void AddDataModule(TDataModule* Module);
  void RemoveDataModule(TDataModule* Module);
  void MoveFormToFront(TCustomForm* Form);
  void SetActive(TCustomForm* Form, TWinControl* Control);

  std::vector<TCustomForm*> FForms;
  std::vector<TDataModule*> FDataModules;
  std::vector<std::pair<TCursor, HCURSOR>> FCursors;
  TCustomForm* FActiveForm = nullptr;
  TCustomForm* FFocusedForm = nullptr;
  TWinControl* FActiveControl = nullptr;
  // The forms that had the focus before each running modal form.
  std::vector<TCustomForm*> FSaveFocusedList;
  TCursor FCursor = crDefault;
  int FPixelsPerInch = 96;
  TStrings* FFonts = nullptr;
  TFont* FHintFont;
  TFont* FMenuFont;
  TFont* FIconFont;
};

// --- Application ------------------------------------------------------------------------------

using TIdleEvent = TEvent<void(TObject* Sender, bool& Done)>;
using TExceptionEvent = TEvent<void(TObject* Sender, Exception* E)>;
using TMessageEvent = TEvent<void(MSG& Msg, bool& Handled)>;

class TApplication : public TComponent {
  VELBOR_DECLARE_CLASS(TApplication, TComponent)
 public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  // Properties.
  // The hidden window that owns the forms and receives the application's messages (made on first
  // use).
  HWND Handle();
  TCustomForm* MainForm() const { return FMainForm; }
  String Title() const;
  void SetTitle(const String& Value);
  String ExeName() const;
  bool Terminated() const { return FTerminated; }
  bool Active() const { return FActive; }
  bool ShowMainForm = true;
  // Hints: the text of the control under the mouse (the part before "|"), shown after
  // HintPause ms and hidden after HintHidePause ms; shortcuts appended when HintShortCuts.
  String Hint() const { return FHint; }
  void SetHint(const String& Value);
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  TColor HintColor = clInfoBk;
  int HintPause = 500;
  int HintShortPause = 50;
  int HintHidePause = 2500;
  bool HintShortCuts = true;
  // The hint window shown now (null when none); the control it belongs to.
  HWND HintWindow() const { return FHintWindow; }
  TControl* HintControl() const { return FHintControl; }
  // The dialog whose messages the loop passes through IsDialogMessage.
  HWND DialogHandle = nullptr;

  // Operations.
  void Initialize();
  // Creates a form or data module of Class owned by the application, stores it in Reference,
  // then completes it (its description, OnCreate: the reference is usable there); the first form
  // created is the main form. On failure Reference is cleared and the object freed.
  void CreateForm(TClass Class, TComponent** Reference);
  template <class T>
  void CreateForm(T*& Reference) {
    T* instance = new T(this);
    Reference = instance;
    try {
      CompleteForm(instance);
    } catch (...) {
      Reference = nullptr;
      delete instance;
      throw;
    }
  }
  // Shows the main form and runs the message loop until Terminate (or the main form closes).
  void Run();
  // Handles every pending message, then returns.
  void ProcessMessages();
  // Handles one message, waiting for it when none is pending (idle work first).
  void HandleMessage();
  void Terminate();
  // Reports the exception being handled (call it inside a catch block): OnException when set,
  // else ShowException; EAbort passes silently.
  void HandleException(TObject* Sender);
  void ShowException(Exception* E);
  // A message box owned by the active form (through the modal-question entry).
  int MessageBox(const String& Text, const String& Caption, UINT Flags = MB_OK);
  void Minimize();
  void Restore();
  void BringToFront();
  // Hints: the control under the mouse, from its WM_MOUSEMOVE.
  void HintMouseMessage(TControl* Control, TMessage& Message);
  void CancelHint();
  void ActivateHint(TPoint CursorPos);
  // The window the modal forms and boxes are owned by: the active form, else the main form.
  HWND ActiveFormHandle() const;

  TIdleEvent OnIdle;
  TNotifyEvent OnHint;
  TExceptionEvent OnException;
  TMessageEvent OnMessage;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;

 protected:
  virtual void Idle(const MSG& Msg);
  virtual void DoActionIdle();
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend LRESULT CALLBACK ApplicationWndProc(HWND, UINT, WPARAM, LPARAM);
  friend class TCustomForm;
  void CompleteForm(TComponent* Instance);
  bool ProcessMessage(MSG& Msg);
  bool IsKeyMsg(MSG& Msg);
  bool IsMDIMsg(MSG& Msg);
  bool IsHintMsg(MSG& Msg);
  void DoMouseIdle();
  void WndProc(TMessage& Message);
  void CreateHandle();
  void HideHint();
  void ShowHintNow();

  HWND FHandle = nullptr;
  TCustomForm* FMainForm = nullptr;
  String FTitle;
  bool FTitleSet = false;
  bool FTerminated = false;
  bool FActive = true;
  String FHint;
  bool FShowHint = true;
  HWND FHintWindow = nullptr;
  TControl* FHintControl = nullptr;
  TControl* FMouseControl = nullptr;
  UINT_PTR FHintTimer = 0;
  bool FHintActive = false;
};

// The global application and screen, made on first use (never during static initialisation,
// when the window system may not be ready) and freed by DoneApplication.
template <class T>
class TGlobalInstance {
 public:
  T* operator->() const { return Get(); }
  operator T*() const { return Get(); }
  T* Get() const;
  bool Exists() const;
};
extern const TGlobalInstance<TApplication> Application;
extern const TGlobalInstance<TScreen> Screen;
// Frees the forms, the application and the screen (the program's last step).
void DoneApplication();

// What the window procedure calls when a handler raised: Application->HandleException.
void HandleApplicationException(TObject* Sender);

// Disables every enabled visible top-level window of the thread but Except, for a modal form or
// box; EnableTaskWindows gives them back.
std::vector<HWND> DisableTaskWindows(HWND Except);
void EnableTaskWindows(const std::vector<HWND>& Windows);

// The text before "|" of a hint (the short hint of tool tips), the text after it (the status-bar
// hint), or the whole text without "|".
String GetShortHint(const String& Hint);
String GetLongHint(const String& Hint);
