// This file implements the message chain of the controls: the shared window procedure that finds
// a window's control and enters its WindowProc, WndProc and Dispatch of TControl and TWinControl
// with their message handlers, DefaultHandler down to the native procedure, and the reflection of
// child notifications (CN_*).
#include <algorithm>
#include <unordered_map>

#include "Controls.h"
#include "Format.h"
#include "Forms.h"
#include "ScopeGuard.h"
#include "TextOrder.h"

namespace {

// The control object of each window the library made, by handle. A window property would do the
// same, but reading one is a request to the wine server, and this table is read for every message
// of every window of the library (and by the bar hooks for every message sent). The windows live on
// the one GUI thread, as CreationControl below assumes. The table is never freed: windows still
// get messages while the program's static objects are destroyed.
std::unordered_map<HWND, TWinControl*>& ControlWindows() {
  static auto* Windows = new std::unordered_map<HWND, TWinControl*>;
  return *Windows;
}

TWinControl* ControlOfWindow(HWND Wnd) {
  auto found = ControlWindows().find(Wnd);
  return found == ControlWindows().end() ? nullptr : found->second;
}

TControl* CaptureControl = nullptr;

// The control whose window is being created on this (the only GUI) thread: InitWndProc joins it
// to the window at the window's first message.
TWinControl* CreationControl = nullptr;

int MessageDepth = 0;

}  // namespace

void SetCreationControl(TWinControl* Control) { CreationControl = Control; }

// Only this process's windows are in the table: a window of another process finds nothing.
TWinControl* FindControl(HWND Handle) { return Handle ? ControlOfWindow(Handle) : nullptr; }

TWinControl* FindVCLWindow(TPoint Pos) {
  HWND h = WindowFromPoint(POINT{Pos.X, Pos.Y});
  while (h) {
    if (TWinControl* c = FindControl(h)) return c;
    h = GetParent(h);
  }
  return nullptr;
}

TControl* GetCaptureControl() {
  HWND h = GetCapture();
  if (CaptureControl && CaptureControl->Parent() && CaptureControl->Parent()->HandleAllocated() &&
      CaptureControl->Parent()->Handle() == h) {
    return CaptureControl;
  }
  CaptureControl = nullptr;
  return FindControl(h);
}

void SetCaptureControl(TControl* Control) {
  ReleaseCapture();
  CaptureControl = nullptr;
  if (!Control) return;
  if (auto* w = dynamic_cast<TWinControl*>(Control)) {
    SetCapture(w->Handle());
    return;
  }
  if (Control->Parent()) {
    CaptureControl = Control;
    SetCapture(Control->Parent()->Handle());
  }
}

void SendCancelMode(TControl* Sender) {
  if (Screen && Screen->ActiveControl()) Screen->ActiveControl()->Perform(CM_CANCELMODE, 0, LPARAM(Sender));
}

void ForgetCaptureControl(TControl* Control) {
  if (CaptureControl == Control) CaptureControl = nullptr;
}

// The procedure every window of the class library runs. Nothing raised in a handler leaves it: the
// application's exception handler gets it.
LRESULT CALLBACK ControlWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TWinControl* control = ControlOfWindow(Wnd);
  if (!control) return DefWindowProcA(Wnd, Msg, WParam, LParam);
  TMessage m{Msg, WParam, LParam, 0};
  ++MessageDepth;
  try {
    control->WindowProc(m);
  } catch (...) {
    try {
      HandleApplicationException(control);
    } catch (...) {
      // The handler itself failed: nothing more can be done inside a callback.
    }
  }
  // The handle dies with this message, and may be given to another window afterwards: its entry
  // goes, even when a handler did not pass the message on to WMNCDestroy.
  if (Msg == WM_NCDESTROY) ControlWindows().erase(Wnd);
  if (--MessageDepth == 0) FreeDeviceContexts();
  return m.Result;
}

// The class procedure of the library's window classes: joins the window being created to its
// control at the first message, then hands over to ControlWndProc for good.
LRESULT CALLBACK InitWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TWinControl* control = CreationControl;
  CreationControl = nullptr;
  if (!control) return DefWindowProcA(Wnd, Msg, WParam, LParam);
  control->FHandle = Wnd;
  ControlWindows()[Wnd] = control;
  SetWindowLongPtrA(Wnd, GWLP_WNDPROC, LONG_PTR(&ControlWndProc));
  return ControlWndProc(Wnd, Msg, WParam, LParam);
}

void DetachControlWindow(HWND Wnd) { ControlWindows().erase(Wnd); }

// --- TControl -------------------------------------------------------------------------------

void TControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      // A control without double clicks sees a second press.
      if (!ControlStyle.Contains(csDoubleClicks)) Message.Msg -= (WM_LBUTTONDBLCLK - WM_LBUTTONDOWN);
      if (Message.Msg == WM_LBUTTONDBLCLK || Message.Msg == WM_LBUTTONDOWN) ControlState.Include(csLButtonDown);
      break;
    case WM_LBUTTONDOWN:
      // The left button is down on this control until it is released (or the press cancelled).
      ControlState.Include(csLButtonDown);
      break;
    case WM_LBUTTONUP:
      ControlState.Exclude(csLButtonDown);
      break;
    case WM_MOUSEMOVE:
      if (Application) Application->HintMouseMessage(this, Message);
      break;
    default:
      break;
  }
  Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN: WMLButtonDown(Message); break;
    case WM_RBUTTONDOWN: WMRButtonDown(Message); break;
    case WM_MBUTTONDOWN: WMMButtonDown(Message); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(Message); break;
    case WM_RBUTTONDBLCLK: WMRButtonDblClk(Message); break;
    case WM_MBUTTONDBLCLK: WMMButtonDblClk(Message); break;
    case WM_LBUTTONUP: WMLButtonUp(Message); break;
    case WM_RBUTTONUP: WMRButtonUp(Message); break;
    case WM_MBUTTONUP: WMMButtonUp(Message); break;
    case WM_MOUSEMOVE: WMMouseMove(Message); break;
    case WM_CANCELMODE: WMCancelMode(Message); break;
    case CM_MOUSEWHEEL: CMMouseWheel(Message); break;
    case CM_VISIBLECHANGED: CMVisibleChanged(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case CM_COLORCHANGED: CMColorChanged(Message); break;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(Message); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(Message); break;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(Message); break;
    case CM_HITTEST: CMHitTest(Message); break;
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    case CM_HINTSHOW: CMHintShow(Message); break;
    default: DefaultHandler(Message); break;
  }
}

// A window-less control has no native procedure: the messages it does not handle end here.
void TControl::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETTEXTLENGTH:
      Message.Result = LRESULT(FText.size());
      break;
    case WM_GETTEXT: {
      std::size_t n = std::min<std::size_t>(FText.size(), Message.WParam ? Message.WParam - 1 : 0);
      if (Message.WParam) {
        std::copy_n(FText.data(), n, reinterpret_cast<char*>(Message.LParam));
        reinterpret_cast<char*>(Message.LParam)[n] = 0;
      }
      Message.Result = LRESULT(n);
      break;
    }
    case WM_SETTEXT:
      FText = reinterpret_cast<const char*>(Message.LParam);
      Message.Result = 1;
      break;
    default:
      break;
  }
}

void TControl::DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift) {
  TWMMouse m(Message);
  if (!ControlStyle.Contains(csNoStdEvents)) MouseDown(Button, Shift + MouseKeysToShiftState(m.Keys()), m.XPos(), m.YPos());
}

void TControl::DoMouseUp(TMessage& Message, TMouseButton Button) {
  TWMMouse m(Message);
  if (!ControlStyle.Contains(csNoStdEvents)) MouseUp(Button, MouseKeysToShiftState(m.Keys()), m.XPos(), m.YPos());
}

void TControl::WMLButtonDown(TMessage& Message) {
  SendCancelMode(this);
  DefaultHandler(Message);
  if (ControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (ControlStyle.Contains(csClickEvents)) ControlState.Include(csClicked);
  DoMouseDown(Message, mbLeft, {});
}

void TControl::WMRButtonDown(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseDown(Message, mbRight, {});
}

void TControl::WMMButtonDown(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseDown(Message, mbMiddle, {});
}

void TControl::WMLButtonDblClk(TMessage& Message) {
  SendCancelMode(this);
  DefaultHandler(Message);
  if (ControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (ControlStyle.Contains(csClickEvents)) DblClick();
  DoMouseDown(Message, mbLeft, {ssDouble});
}

void TControl::WMRButtonDblClk(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseDown(Message, mbRight, {ssDouble});
}

void TControl::WMMButtonDblClk(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseDown(Message, mbMiddle, {ssDouble});
}

void TControl::WMLButtonUp(TMessage& Message) {
  DefaultHandler(Message);
  if (ControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
  if (ControlState.Contains(csClicked)) {
    ControlState.Exclude(csClicked);
    TWMMouse m(Message);
    if (ClientRect().Contains(TPoint(m.XPos(), m.YPos()))) Click();
  }
  DoMouseUp(Message, mbLeft);
}

void TControl::WMRButtonUp(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseUp(Message, mbRight);
}

void TControl::WMMButtonUp(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseUp(Message, mbMiddle);
}

void TControl::WMMouseMove(TMessage& Message) {
  DefaultHandler(Message);
  TWMMouse m(Message);
  if (!ControlStyle.Contains(csNoStdEvents)) MouseMove(MouseKeysToShiftState(m.Keys()), m.XPos(), m.YPos());
}

void TControl::WMCancelMode(TMessage& Message) {
  DefaultHandler(Message);
  if (MouseCapture()) {
    SetMouseCapture(false);
    if (ControlState.Contains(csLButtonDown)) Perform(WM_LBUTTONUP, 0, MAKELPARAM(0xFFFF, 0xFFFF));
  } else {
    ControlState.Exclude(csLButtonDown);
  }
}

void TControl::CMMouseWheel(TMessage& Message) {
  TWMMouseWheel m(Message);
  if (DoMouseWheel(KeyboardStateToShiftState(), m.WheelDelta(), TPoint(m.XPos(), m.YPos()))) {
    Message.Result = 1;
  } else if (FParent) {
    Message.Result = FParent->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
  }
}

void TControl::CMVisibleChanged(TMessage&) { Invalidate(); }

void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }

void TControl::CMFontChanged(TMessage&) {
  Invalidate();
  if (FAutoSize) AdjustSize();
}

void TControl::CMColorChanged(TMessage&) { Invalidate(); }

void TControl::CMParentFontChanged(TMessage&) {
  if (!FParentFont || !FParent) return;
  FFont->Assign(FParent->Font());
  FParentFont = true;  // Assign's change notice cleared it
}

void TControl::CMParentColorChanged(TMessage&) {
  if (!FParentColor || !FParent) return;
  SetColor(FParent->Color());
  FParentColor = true;
}

void TControl::CMParentShowHintChanged(TMessage&) {
  if (!FParentShowHint || !FParent) return;
  SetShowHint(FParent->ShowHint());
  FParentShowHint = true;
}

void TControl::CMHitTest(TMessage& Message) { Message.Result = HTCLIENT; }

void TControl::CMMouseEnter(TMessage& Message) {
  if (OnMouseEnter) OnMouseEnter(this);
  if (FParent) FParent->Perform(CM_MOUSEENTER, 0, Message.LParam ? Message.LParam : LPARAM(this));
}

// The action link may change the hint (its shortcut appended) or keep it from showing.
void TControl::CMHintShow(TMessage& Message) {
  Message.Result = 0;
  auto* info = reinterpret_cast<THintInfo*>(Message.LParam);
  if (info && FActionLink && ControlActionHooks.ShowHint && !ControlActionHooks.ShowHint(FActionLink, info->HintStr)) {
    Message.Result = 1;
  }
}

void TControl::CMMouseLeave(TMessage& Message) {
  if (OnMouseLeave) OnMouseLeave(this);
  if (FParent) FParent->Perform(CM_MOUSELEAVE, 0, Message.LParam ? Message.LParam : LPARAM(this));
}

// --- TWinControl ----------------------------------------------------------------------------

void TWinControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS: {
      TCustomForm* form = GetParentForm(this);
      if (form && !form->SetFocusedControl(this)) return;
      break;
    }
    case WM_KILLFOCUS:
      if (ControlState.Contains(csFocusing)) return;
      break;
    case WM_CANCELMODE:
      if (CaptureControl && CaptureControl->Parent() == this && HandleAllocated() && GetCapture() == FHandle) {
        CaptureControl->Perform(WM_CANCELMODE);
      }
      break;
    default:
      if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST && Message.Msg != WM_MOUSEWHEEL) {
        if (IsControlMouseMsg(Message)) {
          // The window-less child handled it; the window still gets its cursor updates.
          if (Message.Result == 0 && HandleAllocated()) DefWindowProcA(FHandle, Message.Msg, Message.WParam, Message.LParam);
          return;
        }
      }
      break;
  }
  TControl::WndProc(Message);
}

// Routes a mouse message over a window-less child (or captured by one) to that child, in its own
// coordinates.
bool TWinControl::IsControlMouseMsg(TMessage& Message) {
  TWMMouse m(Message);
  TControl* target = nullptr;
  if (CaptureControl && CaptureControl->Parent() == this && HandleAllocated() && GetCapture() == FHandle) {
    target = CaptureControl;
  } else {
    target = ControlAtPos(TPoint(m.XPos(), m.YPos()), false);
  }
  if (!target || dynamic_cast<TWinControl*>(target)) return false;
  LPARAM pos = MAKELPARAM(WORD(m.XPos() - target->Left()), WORD(m.YPos() - target->Top()));
  Message.Result = target->Perform(Message.Msg, Message.WParam, pos);
  return true;
}

void TWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case WM_COMMAND: WMCommand(Message); break;
    case WM_NOTIFY: WMNotify(Message); break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: WMCtlColor(Message); break;
    case WM_HSCROLL:
    case WM_VSCROLL: WMScroll(Message); break;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM: WMDrawItem(Message); break;
    case WM_KEYDOWN: WMKeyDown(Message); break;
    case WM_KEYUP: WMKeyUp(Message); break;
    case WM_CHAR: WMChar(Message); break;
    case WM_SYSKEYDOWN: WMSysKeyDown(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case WM_MOVE: WMMove(Message); break;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(Message); break;
    case WM_SETCURSOR: WMSetCursor(Message); break;
    case WM_MOUSEWHEEL: WMMouseWheel(Message); break;
    case WM_DESTROY: WMDestroy(Message); break;
    case WM_NCDESTROY: WMNCDestroy(Message); break;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: CNKeyDown(Message); break;
    case CN_KEYUP: CNKeyUp(Message); break;
    case CN_CHAR: CNChar(Message); break;
    case CN_SYSCHAR: CNSysChar(Message); break;
    case CM_ENTER: CMEnter(Message); break;
    case CM_EXIT: CMExit(Message); break;
    case CM_DIALOGKEY: CMDialogKey(Message); break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    case CM_SHOWINGCHANGED: CMShowingChanged(Message); break;
    case CM_VISIBLECHANGED: CMVisibleChanged(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case CM_COLORCHANGED: CMColorChanged(Message); break;
    case CM_SYSCOLORCHANGE: CMSysColorChange(Message); break;
    case CM_RECREATEWND: CMRecreateWnd(Message); break;
    case CM_INVALIDATE: CMInvalidate(Message); break;
    case CM_SHOWHINTCHANGED: CMShowHintChanged(Message); break;
    case CM_CURSORCHANGED: CMCursorChanged(Message); break;
    default: TControl::Dispatch(Message); break;
  }
}

void TWinControl::DefaultHandler(TMessage& Message) {
  if (!FHandle) {
    TControl::DefaultHandler(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_CONTEXTMENU:
      // The control's popup menu first; else the parent gets its turn through the native
      // procedure's forwarding.
      if (FormHooks.ContextPopup && FormHooks.ContextPopup(this, Message)) return;
      break;
    case CN_CTLCOLORMSGBOX:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORDLG:
    case CN_CTLCOLORSCROLLBAR:
    case CN_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(Message.WParam);
      SetTextColor(dc, ColorToRGB(FFont->Color()));
      SetBkColor(dc, ColorToRGB(FBrush->Color()));
      Message.Result = LRESULT(FBrush->Handle());
      return;
    }
    default:
      break;
  }
  // Reflected notifications nobody handled are not for the native procedure.
  if (Message.Msg >= CN_BASE && Message.Msg < CN_BASE + 0x400) return;
  if (Message.Msg >= CM_BASE && Message.Msg < CN_BASE) return;
  WNDPROC proc = FDefWndProc ? FDefWndProc : DefWindowProcA;
  Message.Result = CallWindowProcA(proc, FHandle, Message.Msg, Message.WParam, Message.LParam);
}

void TWinControl::WMEraseBkgnd(TMessage& Message) {
  if (!ControlState.Contains(csCustomPaint)) {
    RECT r = ClientRect();
    FillRect(reinterpret_cast<HDC>(Message.WParam), &r, FBrush->Handle());
  }
  Message.Result = 1;
}

namespace {
// Sends the notification to the child control it concerns, as CN_BASE + Msg; false when the window
// is not one of ours.
bool ReflectTo(HWND Child, TMessage& Message) {
  TWinControl* c = FindControl(Child);
  if (!c) return false;
  Message.Result = c->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
  return true;
}
}  // namespace

void TWinControl::WMCommand(TMessage& Message) {
  if (!ReflectTo(reinterpret_cast<HWND>(Message.LParam), Message)) TControl::Dispatch(Message);
}

void TWinControl::WMNotify(TMessage& Message) {
  auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
  if (!hdr || !ReflectTo(hdr->hwndFrom, Message)) TControl::Dispatch(Message);
}

void TWinControl::WMCtlColor(TMessage& Message) {
  if (!ReflectTo(reinterpret_cast<HWND>(Message.LParam), Message)) TControl::Dispatch(Message);
}

void TWinControl::WMScroll(TMessage& Message) {
  if (!Message.LParam || !ReflectTo(reinterpret_cast<HWND>(Message.LParam), Message)) TControl::Dispatch(Message);
}

void TWinControl::WMDrawItem(TMessage& Message) {
  HWND child = nullptr;
  if (Message.Msg == WM_DRAWITEM) child = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam)->hwndItem;
  else if (Message.Msg == WM_DELETEITEM) child = reinterpret_cast<DELETEITEMSTRUCT*>(Message.LParam)->hwndItem;
  else if (Message.Msg == WM_COMPAREITEM) child = reinterpret_cast<COMPAREITEMSTRUCT*>(Message.LParam)->hwndItem;
  else if (HandleAllocated()) child = GetDlgItem(FHandle, int(Message.WParam));
  if (!child || !ReflectTo(child, Message)) TControl::Dispatch(Message);
}

void TWinControl::WMKeyDown(TMessage& Message) {
  if (!DoKeyDown(Message)) TControl::Dispatch(Message);
}

void TWinControl::WMSysKeyDown(TMessage& Message) {
  if (!DoKeyDown(Message)) TControl::Dispatch(Message);
}

void TWinControl::WMKeyUp(TMessage& Message) {
  if (!DoKeyUp(Message)) TControl::Dispatch(Message);
}

void TWinControl::WMChar(TMessage& Message) {
  if (!DoKeyPress(Message)) TControl::Dispatch(Message);
}

void TWinControl::WMSize(TMessage& Message) {
  UpdateBounds();
  TControl::Dispatch(Message);
  Realign();
  if (!ComponentState().Contains(csLoading)) Resize();
}

void TWinControl::WMMove(TMessage& Message) {
  TControl::Dispatch(Message);
  UpdateBounds();
}

void TWinControl::WMWindowPosChanged(TMessage& Message) {
  // The native procedure sends WM_SIZE and WM_MOVE from here.
  TControl::Dispatch(Message);
  UpdateBounds();
}

void TWinControl::WMSetCursor(TMessage& Message) {
  TWMSetCursor m(Message);
  if (m.CursorWnd() == FHandle && m.HitTest() == HTCLIENT) {
    TCursor cursor = Screen ? Screen->Cursor() : crDefault;
    if (cursor == crDefault) {
      POINT p;
      GetCursorPos(&p);
      ::ScreenToClient(FHandle, &p);
      TControl* control = ControlAtPos(TPoint(p.x, p.y), false);
      cursor = control && !dynamic_cast<TWinControl*>(control) ? control->Cursor() : Cursor();
    }
    if (cursor != crDefault && Screen) {
      ::SetCursor(Screen->Cursors(cursor));
      Message.Result = 1;
      return;
    }
  }
  TControl::Dispatch(Message);
}

void TWinControl::WMMouseWheel(TMessage& Message) {
  Message.Result = Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
  if (!Message.Result) TControl::Dispatch(Message);
}

void TWinControl::WMDestroy(TMessage& Message) { TControl::Dispatch(Message); }

// The last message of the window: the control lets go of it here, whoever destroyed it.
void TWinControl::WMNCDestroy(TMessage& Message) {
  TControl::Dispatch(Message);
  if (FHandle) DetachControlWindow(FHandle);
  FHandle = nullptr;
  FShowing = false;
}

void TWinControl::CNKeyDown(TMessage& Message) {
  TWMKey key(Message);
  Message.Result = 1;
  if (TCustomForm* form = GetParentForm(this)) {
    if (form->IsShortCut(Message)) return;
  }
  if (!ComponentState().Contains(csDesigning)) {
    // The control may take the key before anything else (hooks see it here with the key in WParam).
    if (Perform(CM_CHILDKEY, key.CharCode(), LPARAM(this)) != 0) return;
    LRESULT mask = 0;
    switch (key.CharCode()) {
      case VK_TAB: mask = DLGC_WANTTAB; break;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN: mask = DLGC_WANTARROWS; break;
      case VK_RETURN:
      case VK_EXECUTE:
      case VK_ESCAPE:
      case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
      default: break;
    }
    if (mask != 0 && Perform(CM_WANTSPECIALKEY, key.CharCode(), key.KeyData()) == 0 &&
        (Perform(WM_GETDLGCODE) & mask) == 0) {
      TCustomForm* form = GetParentForm(this);
      if (form && form->Perform(CM_DIALOGKEY, key.CharCode(), key.KeyData()) != 0) return;
    }
  }
  Message.Result = 0;
}

void TWinControl::CNKeyUp(TMessage& Message) { Message.Result = 0; }

void TWinControl::CNChar(TMessage& Message) {
  TWMKey key(Message);
  Message.Result = 1;
  if (!ComponentState().Contains(csDesigning) && (Perform(WM_GETDLGCODE) & DLGC_WANTCHARS) == 0) {
    TCustomForm* form = GetParentForm(this);
    if (form && form->Perform(CM_DIALOGCHAR, key.CharCode(), key.KeyData()) != 0) return;
  }
  Message.Result = 0;
}

// Alt+letter is an accelerator for the form even when the control takes plain characters.
void TWinControl::CNSysChar(TMessage& Message) {
  TWMKey key(Message);
  Message.Result = 0;
  if (ComponentState().Contains(csDesigning) || key.CharCode() == VK_SPACE) return;
  if (TCustomForm* form = GetParentForm(this)) {
    Message.Result = form->Perform(CM_DIALOGCHAR, key.CharCode(), key.KeyData());
  }
}

void TWinControl::CMEnter(TMessage&) { DoEnter(); }

void TWinControl::CMExit(TMessage&) { DoExit(); }

void TWinControl::CMDialogKey(TMessage& Message) { Broadcast(Message); }

void TWinControl::CMDialogChar(TMessage& Message) { Broadcast(Message); }

void TWinControl::CMShowingChanged(TMessage&) {
  if (!FHandle) return;
  UINT flags = FShowing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
  SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, flags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::CMVisibleChanged(TMessage& Message) {
  if (!FVisible && FParent) {
    // A control that hides while it holds the focus gives it to its form.
    if (TCustomForm* form = GetParentForm(this)) {
      if (form->ActiveControl() && ContainsControl(form->ActiveControl())) form->DefocusControl(this, true);
    }
  }
  TControl::Dispatch(Message);
  UpdateControlState();
}

void TWinControl::CMEnabledChanged(TMessage& Message) {
  if (!FEnabled && FParent) {
    if (TCustomForm* form = GetParentForm(this)) {
      if (form->ActiveControl() && ContainsControl(form->ActiveControl())) form->DefocusControl(this, false);
    }
  }
  if (FHandle) EnableWindow(FHandle, FEnabled);
  TControl::Dispatch(Message);
}

void TWinControl::CMFontChanged(TMessage& Message) {
  TControl::Dispatch(Message);
  if (FHandle) SendMessageA(FHandle, WM_SETFONT, WPARAM(FFont->Handle()), 0);
  NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::CMColorChanged(TMessage& Message) {
  TControl::Dispatch(Message);
  FBrush->SetColor(FColor);
  NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMSysColorChange(TMessage& Message) { Broadcast(Message); }

void TWinControl::CMRecreateWnd(TMessage&) {
  bool wasFocused = Focused();
  FRecreating = true;
  {
    TScopeGuard restore([&] { FRecreating = false; });
    DestroyHandle();
    UpdateControlState();
  }
  if (wasFocused && FHandle) ::SetFocus(FHandle);
}

// A control invalidates its own window; its parents hear of it (WParam 1) and pass the notice up
// without invalidating themselves, so that a child's repaint never costs its parent's (a parent
// that paints its children would otherwise invalidate itself again at every paint). A transparent
// child shows its parent through it: the parent's part under the child is invalidated with it.
void TWinControl::CMInvalidate(TMessage& Message) {
  if (Message.WParam == 0 && FHandle) {
    InvalidateRect(FHandle, nullptr, !ControlStyle.Contains(csOpaque));
    if (FParent && FParent->HandleAllocated() && (GetWindowLongA(FHandle, GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0) {
      RECT Under = BoundsRect();
      InvalidateRect(FParent->Handle(), &Under, TRUE);
    }
  }
  if (FParent) FParent->Perform(CM_INVALIDATE, 1);
}

void TWinControl::CMShowHintChanged(TMessage&) { NotifyControls(CM_PARENTSHOWHINTCHANGED); }

void TWinControl::CMCursorChanged(TMessage&) {
  POINT p;
  if (FHandle && GetCursorPos(&p) && WindowFromPoint(p) == FHandle) SendMessageA(FHandle, WM_SETCURSOR, WPARAM(FHandle), HTCLIENT);
}
