// This file implements the control classes of the class library: TControl (bounds, alignment,
// anchors, font and colour inheritance, mouse events, the WindowProc/WndProc/Dispatch chain),
// TWinControl (a real window: creation parameters, handle life, children, focus, Tab order, keys,
// painting and reflected notifications), TGraphicControl and TCustomControl (controls that paint
// themselves on a TControlCanvas), and the shared window procedure that joins windows to objects.
// Implemented in Control.cpp (TControl), WinControl.cpp (TWinControl's window, children and focus),
// ControlAlign.cpp (alignment and anchors), ControlMessages.cpp (the window procedure and the
// message handlers) and ControlPaint.cpp (painting, TGraphicControl, TCustomControl,
// TControlCanvas).
#pragma once

#include "WinApi.h"

#include <vector>

#include "Component.h"
#include "Event.h"
#include "Graphics.h"
#include "Messages.h"

class TControl;
class TWinControl;
class TCustomForm;
class TControlCanvas;

// The method a control's messages enter by: WindowProc holds one (WndProc by default); a hook
// saves it, puts its own in its place and calls the saved one (the chain of the window hooks).
using TWndMethod = TEvent<void(TMessage& Message)>;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
VELBOR_ENUM(TAlign, "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom")

enum TAnchorKind { akLeft, akTop, akRight, akBottom };
VELBOR_ENUM(TAnchorKind, "akLeft", "akTop", "akRight", "akBottom")
using TAnchors = TSet<TAnchorKind>;
inline constexpr TAnchors AnchorAlign[] = {
    {akLeft, akTop},                     // alNone
    {akLeft, akTop, akRight},            // alTop
    {akLeft, akRight, akBottom},         // alBottom
    {akLeft, akTop, akBottom},           // alLeft
    {akRight, akTop, akBottom},          // alRight
    {akLeft, akTop, akRight, akBottom},  // alClient
    {akLeft, akTop},                     // alCustom
};

enum TMouseButton { mbLeft, mbRight, mbMiddle };
VELBOR_ENUM(TMouseButton, "mbLeft", "mbRight", "mbMiddle")

enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
VELBOR_ENUM(TShiftStateItem, "ssShift", "ssAlt", "ssCtrl", "ssLeft", "ssRight", "ssMiddle", "ssDouble")
using TShiftState = TSet<TShiftStateItem>;

// ControlStyle: what a control class is and does.
enum TControlStyleItem {
  csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed, csSetCaption, csOpaque,
  csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable, csNoStdEvents,
  csDisplayDragImage, csReflector, csActionClient, csMenuEvents
};
VELBOR_ENUM(TControlStyleItem, "csAcceptsControls", "csCaptureMouse", "csDesignInteractive", "csClickEvents",
            "csFramed", "csSetCaption", "csOpaque", "csDoubleClicks", "csFixedWidth", "csFixedHeight",
            "csNoDesignVisible", "csReplicatable", "csNoStdEvents", "csDisplayDragImage", "csReflector",
            "csActionClient", "csMenuEvents")
using TControlStyle = TSet<TControlStyleItem>;

// ControlState: what a control is going through.
enum TControlStateItem {
  csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing, csCreating,
  csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking
};
VELBOR_ENUM(TControlStateItem, "csLButtonDown", "csClicked", "csPalette", "csReadingState", "csAlignmentNeeded",
            "csFocusing", "csCreating", "csPaintCopy", "csCustomPaint", "csDestroyingHandle", "csDocking")
using TControlState = TSet<TControlStateItem>;

// Cursor identifiers: the standard ones are negative, the ones a program registers in
// Screen->Cursors positive.
using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crNoDrop = -13;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crMultiDrag = -16;
inline constexpr TCursor crSQLWait = -17;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;
inline constexpr TCursor crSize = crSizeAll;
extern const TIntIdents CursorIdents;

enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
VELBOR_ENUM(TBorderStyle, "bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin")
using TFormBorderStyle = TBorderStyle;

using TMouseEvent = TEvent<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = TEvent<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = TEvent<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = TEvent<void(TObject* Sender, char& Key)>;
using TMouseWheelEvent =
    TEvent<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent = TEvent<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;

// The shift state of a key message's key data, and of the keyboard now.
TShiftState KeyDataToShiftState(LPARAM KeyData);
TShiftState KeyboardStateToShiftState();
// The shift state of a mouse message's MK_ flags.
TShiftState MouseKeysToShiftState(WPARAM Keys);

// Size limits of a control (0: none).
class TSizeConstraints : public TPersistent {
  VELBOR_DECLARE_CLASS(TSizeConstraints, TPersistent)
 public:
  explicit TSizeConstraints(TControl* AControl = nullptr) : FControl(AControl) {}
  int MaxHeight() const { return FMaxHeight; }
  void SetMaxHeight(int Value);
  int MaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(int Value);
  int MinHeight() const { return FMinHeight; }
  void SetMinHeight(int Value);
  int MinWidth() const { return FMinWidth; }
  void SetMinWidth(int Value);
  void Assign(TPersistent* Source) override;
  TPersistent* GetOwner() override;
  TNotifyEvent OnChange;

 private:
  void Change();
  TControl* FControl;
  int FMaxHeight = 0;
  int FMaxWidth = 0;
  int FMinHeight = 0;
  int FMinWidth = 0;
};

// Creation parameters of a window, filled by CreateParams and used by CreateWindowHandle.
struct TCreateParams {
  String Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  WNDCLASSA WindowClass{};
  String WinClassName;
};

// What CM_HINTSHOW carries (LParam): the control may change the text, place or timing of its
// hint; a nonzero result keeps the hint from showing.
struct THintInfo {
  TControl* HintControl = nullptr;
  TPoint CursorPos;  // screen coordinates
  TPoint HintPos;    // top-left of the hint window, screen coordinates
  int HintMaxWidth = 300;
  int HideTimeout = 0;  // ms
  String HintStr;
};

// How a control makes and consults its action link. The action library sets these, so this
// library does not depend on it; unset, a control keeps its Action without a link.
struct TControlActionHooks {
  // A link for Control bound to Action (already holding its properties), or nullptr when Action
  // is not an action.
  TObject* (*MakeLink)(TControl* Control, TComponent* Action) = nullptr;
  // The link's say on the hint text; false keeps the hint from showing.
  bool (*ShowHint)(TObject* Link, String& HintStr) = nullptr;
};
extern TControlActionHooks ControlActionHooks;

class TControl : public TComponent {
  VELBOR_DECLARE_CLASS(TControl, TComponent)
  friend class TWinControl;
  friend class TCustomForm;

 public:
  explicit TControl(TComponent* AOwner);
  // Leaves the parent (and the mouse capture) first; a form's OnDestroy has run before.
  ~TControl() override;

  // Properties.
  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);
  int Left() const { return FLeft; }
  void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  int Top() const { return FTop; }
  void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  int Width() const { return FWidth; }
  void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  int Height() const { return FHeight; }
  void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
  // The client area in the control's own coordinates (0, 0 at its top-left).
  virtual TRect ClientRect() const { return Rect(0, 0, FWidth, FHeight); }
  int ClientWidth() const { return ClientRect().Right; }
  void SetClientWidth(int Value) { SetClientSize(Value, ClientHeight()); }
  int ClientHeight() const { return ClientRect().Bottom; }
  void SetClientHeight(int Value) { SetClientSize(ClientWidth(), Value); }
  // Screen coordinates of the client area's top-left corner.
  virtual TPoint ClientOrigin() const;
  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign Value);
  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors Value);
  TSizeConstraints* Constraints() const { return FConstraints; }
  void SetConstraints(TSizeConstraints* Value) { FConstraints->Assign(Value); }
  bool AutoSize() const { return FAutoSize; }
  virtual void SetAutoSize(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);
  // True when the control and all its parents are visible and the top one shows.
  virtual bool Showing() const;
  TFont* Font() const { return FFont; }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);
  String Caption() const { return GetText(); }
  void SetCaption(const String& Value) { SetText(Value); }
  String Text() const { return GetText(); }
  void SetText(const String& Value);
  String Hint;
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool Value);
  // The popup menu (a TPopupMenu of the menu library; held as a component so this library does
  // not depend on menus). Cleared when that component goes away.
  TComponent* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TComponent* Value);
  // The action (a TBasicAction of the action library, held as a component for the same reason):
  // setting it makes a link that copies the action's properties to the control. Cleared when the
  // action goes away.
  TComponent* Action() const { return FAction; }
  void SetAction(TComponent* Value);
  TObject* ActionLink() const { return FActionLink; }
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  int HelpContext = 0;
  TControlStyle ControlStyle;
  TControlState ControlState;
  bool MouseCapture() const;
  void SetMouseCapture(bool Value);
  // What every message enters by; see TWndMethod.
  TWndMethod WindowProc;

  // Operations.
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  // Sends Msg straight to WindowProc (not through the window system) and returns its result.
  LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }
  TPoint ClientToScreen(TPoint P) const;
  TPoint ScreenToClient(TPoint P) const;
  void BringToFront() { SetZOrder(true); }
  void SendToBack() { SetZOrder(false); }
  virtual void SetZOrder(bool TopMost);
  // Moves the control to Position among its parent's children (0: the bottom), clamped.
  void SetZOrderPosition(int Position);
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

  // Events; they fire through the dynamic methods below.
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnResize;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TMouseWheelEvent OnMouseWheel;
  TMouseWheelUpDownEvent OnMouseWheelDown;
  TMouseWheelUpDownEvent OnMouseWheelUp;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

 protected:
  // Overridables.
  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  // The wheel: OnMouseWheel, then OnMouseWheelDown/Up; false lets the parent try.
  virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
  virtual void Resize();
  virtual String GetText() const;
  virtual void SetTextImpl(const String& Value);
  // Auto-sizing: the size the control wants (the base keeps its size).
  virtual bool CanAutoSize(int& NewWidth, int& NewHeight);
  virtual void AdjustSize();
  void RequestAlign();
  void Changed();
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void ReadState(TReader* Reader) override;
  // Records the distances that anchors keep, against the parent's current client size.
  void UpdateAnchorRules();
  // The bounds the parent's alignment gives; the control's own SetBounds is not involved.
  void UpdateBoundsRect(const TRect& R);
  virtual void SetClientSize(int AWidth, int AHeight);
  virtual void VisibleChanging() {}
  TRect ConstrainedBounds(int ALeft, int ATop, int AWidth, int AHeight) const;

  // The message chain: WindowProc (replaceable) -> WndProc -> Dispatch -> DefaultHandler.
  virtual void WndProc(TMessage& Message);
  virtual void Dispatch(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);

  // protected messages
  void WMLButtonDown(TMessage& Message);
  void WMRButtonDown(TMessage& Message);
  void WMMButtonDown(TMessage& Message);
  void WMLButtonDblClk(TMessage& Message);
  void WMRButtonDblClk(TMessage& Message);
  void WMMButtonDblClk(TMessage& Message);
  void WMLButtonUp(TMessage& Message);
  void WMRButtonUp(TMessage& Message);
  void WMMButtonUp(TMessage& Message);
  void WMMouseMove(TMessage& Message);
  void WMCancelMode(TMessage& Message);
  void CMMouseWheel(TMessage& Message);
  void CMVisibleChanged(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMColorChanged(TMessage& Message);
  void CMParentFontChanged(TMessage& Message);
  void CMParentColorChanged(TMessage& Message);
  void CMParentShowHintChanged(TMessage& Message);
  void CMHitTest(TMessage& Message);
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void CMHintShow(TMessage& Message);

  // State.
  TWinControl* FParent = nullptr;
  int FLeft = 0;
  int FTop = 0;
  int FWidth = 0;
  int FHeight = 0;
  String FText;
  TFont* FFont;
  TColor FColor = clWindow;
  bool FVisible = true;
  bool FEnabled = true;

 private:
  void DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift);
  void DoMouseUp(TMessage& Message, TMouseButton Button);
  void FontChanged(TObject* Sender);
  void ConstraintsChanged(TObject* Sender);

  TAlign FAlign = alNone;
  TAnchors FAnchors = {akLeft, akTop};
  // Distances kept by the anchors: left, top, right and bottom edges against the parent's client
  // size recorded with them.
  TRect FAnchorRules;
  TPoint FOriginalParentSize;
  TSizeConstraints* FConstraints;
  bool FAnchorMove = false;  // the anchors move the control: its rules stay as they are
  bool FAutoSize = false;
  bool FParentFont = true;
  bool FParentColor = true;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TComponent* FPopupMenu = nullptr;
  TComponent* FAction = nullptr;
  TObject* FActionLink = nullptr;
  TCursor FCursor = crDefault;
};

class TWinControl : public TControl {
  VELBOR_DECLARE_CLASS(TWinControl, TControl)
  friend class TControl;
  friend class TCustomForm;
  friend LRESULT CALLBACK ControlWndProc(HWND, UINT, WPARAM, LPARAM);
  friend LRESULT CALLBACK InitWndProc(HWND, UINT, WPARAM, LPARAM);

 public:
  explicit TWinControl(TComponent* AOwner);
  // Destroys the window and the child controls (which leave their owner's list as they go).
  ~TWinControl() override;

  // Properties.
  HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  // Creates the window (and its parents') when there is none.
  void HandleNeeded();
  // A window of another library to create this control in, when it has no parent control.
  HWND ParentWindow() const { return FParentWindow; }
  void SetParentWindow(HWND Value);
  int ControlCount() const { return int(FControls.size()); }
  TControl* Controls(int Index) const;
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool Value);
  int TabOrder() const;
  void SetTabOrder(int Value);
  TBrush* Brush() const { return FBrush; }
  bool DoubleBuffered = false;
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int Value);
  TRect ClientRect() const override;
  TPoint ClientOrigin() const override;
  bool Showing() const override { return FShowing; }

  // Operations.
  // Re-parenting a control whose window exists moves the window itself: its content stays.
  void SetParent(TWinControl* AParent) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  virtual bool CanFocus() const;
  virtual void SetFocus();
  virtual bool Focused() const;
  // The window-less children and windowed children in Tab order.
  void GetTabOrderList(std::vector<TWinControl*>& List) const;
  // The next (previous) control after CurControl among the descendants, in Tab order.
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent) const;
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
  bool ContainsControl(const TControl* Control) const;
  TControl* ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls = false) const;
  TControl* FindChildControl(const String& ControlName) const;
  // Sends Message to each child until one answers with a non-zero Result.
  void Broadcast(TMessage& Message);
  void NotifyControls(UINT Msg);
  void DisableAlign() { ++FAlignLevel; }
  void EnableAlign();
  bool AlignDisabled() const { return FAlignLevel > 0; }
  void Realign();
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  // Destroys and re-creates the window, keeping its content (text, children).
  void RecreateWnd();
  // Paints the control and its children into DC at (X, Y), as they look now.
  void PaintTo(HDC DC, int X, int Y);
  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  void SetZOrder(bool TopMost) override;
  // What a description holds under this control: its child controls that Root owns, in their
  // order, then (for the root) Root's components that have no parent.
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

 protected:
  // Window life. CreateParams fills the parameters; CreateWnd registers the class and calls
  // CreateWindowHandle; DestroyWnd keeps the text and calls DestroyWindowHandle.
  virtual void CreateParams(TCreateParams& Params);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& Params);
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  void CreateHandle();
  void DestroyHandle();
  // Makes the window a subclass of a native control class (EDIT, BUTTON...): the native procedure
  // becomes DefaultHandler's.
  void CreateSubClass(TCreateParams& Params, const char* ControlClassName);
  void UpdateShowing();
  void UpdateControlState();
  void UpdateBounds();
  // Alignment and anchors of the children within Rect (the client rectangle, less borders).
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  virtual void AdjustClientRect(TRect& Rect);
  // Keys: the parent form's KeyPreview first, then KeyDown/KeyPress/KeyUp.
  bool DoKeyDown(TMessage& Message);
  bool DoKeyPress(TMessage& Message);
  bool DoKeyUp(TMessage& Message);
  virtual void KeyDown(WORD& Key, TShiftState Shift);
  virtual void KeyUp(WORD& Key, TShiftState Shift);
  virtual void KeyPress(char& Key);
  virtual void DoEnter();
  virtual void DoExit();
  // Painting: WM_PAINT calls PaintWindow (the native painting by default), then the window-less
  // children.
  virtual void PaintWindow(HDC DC);
  void PaintHandler(TMessage& Message);
  void PaintControls(HDC DC, TControl* First);
  void SetTextImpl(const String& Value) override;
  String GetText() const override;
  void Loaded() override;
  void ReadState(TReader* Reader) override;

  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

  // protected messages
  void WMPaint(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMCommand(TMessage& Message);
  void WMNotify(TMessage& Message);
  void WMCtlColor(TMessage& Message);
  void WMScroll(TMessage& Message);
  void WMDrawItem(TMessage& Message);
  void WMKeyDown(TMessage& Message);
  void WMKeyUp(TMessage& Message);
  void WMChar(TMessage& Message);
  void WMSysKeyDown(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMMove(TMessage& Message);
  void WMWindowPosChanged(TMessage& Message);
  void WMSetCursor(TMessage& Message);
  void WMMouseWheel(TMessage& Message);
  void WMDestroy(TMessage& Message);
  void WMNCDestroy(TMessage& Message);
  void CNKeyDown(TMessage& Message);
  void CNKeyUp(TMessage& Message);
  void CNChar(TMessage& Message);
  void CNSysChar(TMessage& Message);
  void CMEnter(TMessage& Message);
  void CMExit(TMessage& Message);
  void CMDialogKey(TMessage& Message);
  void CMDialogChar(TMessage& Message);
  void CMShowingChanged(TMessage& Message);
  void CMVisibleChanged(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMColorChanged(TMessage& Message);
  void CMSysColorChange(TMessage& Message);
  void CMRecreateWnd(TMessage& Message);
  void CMInvalidate(TMessage& Message);
  void CMShowHintChanged(TMessage& Message);
  void CMCursorChanged(TMessage& Message);

  HWND FHandle = nullptr;
  // The procedure DefaultHandler passes messages to (DefWindowProcA, or the native control's).
  WNDPROC FDefWndProc = nullptr;

 private:
  bool IsControlMouseMsg(TMessage& Message);
  void DoAlign(TAlign AAlign, TControl* AControl, TRect& Rect);
  void DoAnchors(TControl* Control);
  void AlignControl(TControl* AControl);
  void ResetZOrder(TControl* AControl);
  HWND PrecedingWindow(TWinControl* Control) const;

  std::vector<TControl*> FControls;     // all children, in z-order (first: bottom)
  std::vector<TWinControl*> FTabList;   // windowed children, in Tab order
  HWND FParentWindow = nullptr;
  TBrush* FBrush;
  bool FTabStop = false;
  bool FShowing = false;
  int FAlignLevel = 0;
  int FBorderWidth = 0;
  bool FRecreating = false;
  bool FReparenting = false;
  int FReadTabOrder = -1;  // TabOrder read from a description, applied once the siblings exist
};

class TGraphicControl : public TControl {
  VELBOR_DECLARE_CLASS(TGraphicControl, TControl)
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  TCanvas* Canvas() const;

 protected:
  virtual void Paint() {}
  void Dispatch(TMessage& Message) override;
  // protected messages
  void WMPaint(TMessage& Message);

 private:
  TControlCanvas* FCanvas;
};

class TCustomControl : public TWinControl {
  VELBOR_DECLARE_CLASS(TCustomControl, TWinControl)
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  TCanvas* Canvas() const;

 protected:
  virtual void Paint() {}
  void PaintWindow(HDC DC) override;
  void Dispatch(TMessage& Message) override;

 private:
  TControlCanvas* FCanvas;
};

// A canvas on a control: the window's device context for a windowed control, the parent's
// clipped to the control for a window-less one. Contexts are handed back after each message.
class TControlCanvas : public TCanvas {
  VELBOR_DECLARE_CLASS(TControlCanvas, TCanvas)
 public:
  TControlCanvas() = default;
  ~TControlCanvas() override;
  TControl* Control() const { return FControl; }
  void SetControl(TControl* Value);
  void FreeHandle();
  // Sets TextFlags from the control's reading order (none here: left to right).
  void UpdateTextFlags() {}

 protected:
  void CreateHandle() override;

 private:
  TControl* FControl = nullptr;
  HDC FDeviceContext = nullptr;
  HWND FWindowHandle = nullptr;
};

// The control object of a window the class library created, or nullptr.
TWinControl* FindControl(HWND Handle);
// The control of the window at Pos (screen coordinates), or of its nearest parent window that has
// one; nullptr when none.
TWinControl* FindVCLWindow(TPoint Pos);
// The form a control is placed on (its top-most parent that is a form), nullptr when none.
TCustomForm* GetParentForm(const TControl* Control);
// Hands back the device contexts control canvases took during the last message.
void FreeDeviceContexts();
// Cancels the mouse capture and the modes of the focused control (CM_CANCELMODE).
void SendCancelMode(TControl* Sender);
// The control that has the mouse captured, window-less ones included.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);
// Whether a character is the "&" accelerator of Caption.
bool IsAccel(WORD VK, const String& Caption);
