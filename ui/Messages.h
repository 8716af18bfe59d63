// This file implements the message record of the class library: TMessage with its typed views
// (TWMKey, TWMMouse, TWMSize...) over the same record, and the numbers of the class library's own
// control messages (CM_*) and of the notifications a parent reflects to its child (CN_*).
// Declarations only: no file of its own.
#pragma once

#include "WinApi.h"

#include <cstdint>

// One message on its way through WindowProc, WndProc, Dispatch and DefaultHandler. Handlers set
// Result; the window procedure returns it.
struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;

  WORD WParamLo() const { return LOWORD(WParam); }
  WORD WParamHi() const { return HIWORD(WParam); }
  WORD LParamLo() const { return LOWORD(LParam); }
  WORD LParamHi() const { return HIWORD(LParam); }
};

// Typed views. Each is a reference over a TMessage: reading or writing a field reads or writes the
// record itself, so a handler that changes WParam through a view changes what later handlers see.
struct TWMView {
  explicit TWMView(TMessage& M) : Message(M) {}
  TMessage& Message;
  UINT Msg() const { return Message.Msg; }
  LRESULT& Result() { return Message.Result; }
};

// WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN..., CN_KEYDOWN, CN_CHAR, CM_DIALOGKEY, CM_DIALOGCHAR,
// CM_CHILDKEY, CM_WANTSPECIALKEY: the key in WParam, the key data in LParam.
struct TWMKey : TWMView {
  using TWMView::TWMView;
  WORD CharCode() const { return WORD(Message.WParam); }
  void SetCharCode(WORD Value) { Message.WParam = Value; }
  LPARAM KeyData() const { return Message.LParam; }
};
using TWMKeyDown = TWMKey;
using TWMChar = TWMKey;
using TCMDialogKey = TWMKey;
using TCMDialogChar = TWMKey;
using TCMWantSpecialKey = TWMKey;

// Mouse messages in client (or screen, for non-client ones) coordinates.
struct TWMMouse : TWMView {
  using TWMView::TWMView;
  WPARAM Keys() const { return Message.WParam; }
  int XPos() const { return short(LOWORD(Message.LParam)); }
  int YPos() const { return short(HIWORD(Message.LParam)); }
  POINT Pos() const { return POINT{XPos(), YPos()}; }
};
using TWMLButtonDown = TWMMouse;
using TWMMouseMove = TWMMouse;

struct TWMMouseWheel : TWMView {
  using TWMView::TWMView;
  WORD Keys() const { return LOWORD(Message.WParam); }
  short WheelDelta() const { return short(HIWORD(Message.WParam)); }
  int XPos() const { return short(LOWORD(Message.LParam)); }
  int YPos() const { return short(HIWORD(Message.LParam)); }
};

struct TWMSize : TWMView {
  using TWMView::TWMView;
  WPARAM SizeType() const { return Message.WParam; }
  int Width() const { return LOWORD(Message.LParam); }
  int Height() const { return HIWORD(Message.LParam); }
};

struct TWMMove : TWMView {
  using TWMView::TWMView;
  int XPos() const { return short(LOWORD(Message.LParam)); }
  int YPos() const { return short(HIWORD(Message.LParam)); }
};

struct TWMPaint : TWMView {
  using TWMView::TWMView;
  HDC DC() const { return reinterpret_cast<HDC>(Message.WParam); }
};
using TWMEraseBkgnd = TWMPaint;

// WM_COMMAND and CN_COMMAND.
struct TWMCommand : TWMView {
  using TWMView::TWMView;
  WORD ItemID() const { return LOWORD(Message.WParam); }
  WORD NotifyCode() const { return HIWORD(Message.WParam); }
  HWND Ctl() const { return reinterpret_cast<HWND>(Message.LParam); }
};

// WM_NOTIFY and CN_NOTIFY.
struct TWMNotify : TWMView {
  using TWMView::TWMView;
  NMHDR* NMHdr() const { return reinterpret_cast<NMHDR*>(Message.LParam); }
};

// WM_SETFOCUS and WM_KILLFOCUS: the window losing (gaining) the focus.
struct TWMFocus : TWMView {
  using TWMView::TWMView;
  HWND FocusedWnd() const { return reinterpret_cast<HWND>(Message.WParam); }
};
using TWMSetFocus = TWMFocus;
using TWMKillFocus = TWMFocus;

struct TWMActivate : TWMView {
  using TWMView::TWMView;
  WORD Active() const { return LOWORD(Message.WParam); }
  bool Minimized() const { return HIWORD(Message.WParam) != 0; }
  HWND ActiveWindow() const { return reinterpret_cast<HWND>(Message.LParam); }
};

struct TWMSysCommand : TWMView {
  using TWMView::TWMView;
  WPARAM CmdType() const { return Message.WParam & 0xFFF0; }
};

struct TWMWindowPosMsg : TWMView {
  using TWMView::TWMView;
  WINDOWPOS* WindowPos() const { return reinterpret_cast<WINDOWPOS*>(Message.LParam); }
};

struct TWMSetCursor : TWMView {
  using TWMView::TWMView;
  HWND CursorWnd() const { return reinterpret_cast<HWND>(Message.WParam); }
  short HitTest() const { return short(LOWORD(Message.LParam)); }
  WORD MouseMsg() const { return HIWORD(Message.LParam); }
};

// WM_CTLCOLOR* and CN_CTLCOLOR*: the device context and the child window.
struct TWMCtlColor : TWMView {
  using TWMView::TWMView;
  HDC ChildDC() const { return reinterpret_cast<HDC>(Message.WParam); }
  HWND ChildWnd() const { return reinterpret_cast<HWND>(Message.LParam); }
};

// The class library's control messages.
inline constexpr UINT CM_BASE = 0xB000;
inline constexpr UINT CM_ACTIVATE = CM_BASE + 0;
inline constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
inline constexpr UINT CM_GOTFOCUS = CM_BASE + 2;
inline constexpr UINT CM_LOSTFOCUS = CM_BASE + 3;
inline constexpr UINT CM_CANCELMODE = CM_BASE + 4;
inline constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
inline constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
inline constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;
inline constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
inline constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
inline constexpr UINT CM_HITTEST = CM_BASE + 10;
inline constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
inline constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
inline constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
inline constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
inline constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
inline constexpr UINT CM_CTL3DCHANGED = CM_BASE + 16;
inline constexpr UINT CM_PARENTCTL3DCHANGED = CM_BASE + 17;
inline constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
inline constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
inline constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
inline constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
inline constexpr UINT CM_APPKEYDOWN = CM_BASE + 22;
inline constexpr UINT CM_APPSYSCOMMAND = CM_BASE + 23;
inline constexpr UINT CM_BUTTONPRESSED = CM_BASE + 24;
inline constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
inline constexpr UINT CM_ENTER = CM_BASE + 26;
inline constexpr UINT CM_EXIT = CM_BASE + 27;
inline constexpr UINT CM_DESIGNHITTEST = CM_BASE + 28;
inline constexpr UINT CM_ICONCHANGED = CM_BASE + 29;
inline constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 30;
inline constexpr UINT CM_INVOKEHELP = CM_BASE + 31;
inline constexpr UINT CM_WINDOWHOOK = CM_BASE + 32;
inline constexpr UINT CM_RELEASE = CM_BASE + 33;
inline constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 34;
inline constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
inline constexpr UINT CM_SYSCOLORCHANGE = CM_BASE + 36;
inline constexpr UINT CM_WININICHANGE = CM_BASE + 37;
inline constexpr UINT CM_FONTCHANGE = CM_BASE + 38;
inline constexpr UINT CM_TIMECHANGE = CM_BASE + 39;
inline constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 40;
inline constexpr UINT CM_UIACTIVATE = CM_BASE + 41;
inline constexpr UINT CM_UIDEACTIVATE = CM_BASE + 42;
inline constexpr UINT CM_DOCWINDOWACTIVATE = CM_BASE + 43;
inline constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 44;
inline constexpr UINT CM_GETDATALINK = CM_BASE + 45;
inline constexpr UINT CM_CHILDKEY = CM_BASE + 46;
inline constexpr UINT CM_DRAG = CM_BASE + 47;
inline constexpr UINT CM_HINTSHOW = CM_BASE + 48;
inline constexpr UINT CM_DIALOGHANDLE = CM_BASE + 49;
inline constexpr UINT CM_ISTOOLCONTROL = CM_BASE + 50;
inline constexpr UINT CM_RECREATEWND = CM_BASE + 51;
inline constexpr UINT CM_INVALIDATE = CM_BASE + 52;
inline constexpr UINT CM_SYSFONTCHANGED = CM_BASE + 53;
inline constexpr UINT CM_CONTROLCHANGE = CM_BASE + 54;
inline constexpr UINT CM_CHANGED = CM_BASE + 55;
inline constexpr UINT CM_DOCKCLIENT = CM_BASE + 56;
inline constexpr UINT CM_UNDOCKCLIENT = CM_BASE + 57;
inline constexpr UINT CM_FLOAT = CM_BASE + 58;
inline constexpr UINT CM_BORDERCHANGED = CM_BASE + 59;
inline constexpr UINT CM_BIDIMODECHANGED = CM_BASE + 60;
inline constexpr UINT CM_PARENTBIDIMODECHANGED = CM_BASE + 61;
inline constexpr UINT CM_ALLCHILDRENFLIPPED = CM_BASE + 62;
inline constexpr UINT CM_ACTIONUPDATE = CM_BASE + 63;
inline constexpr UINT CM_ACTIONEXECUTE = CM_BASE + 64;
inline constexpr UINT CM_HINTSHOWPAUSE = CM_BASE + 65;
inline constexpr UINT CM_DOCKNOTIFICATION = CM_BASE + 66;
inline constexpr UINT CM_MOUSEWHEEL = CM_BASE + 67;
inline constexpr UINT CM_ISSHORTCUT = CM_BASE + 68;

// Notifications a parent reflects to the child control they concern.
inline constexpr UINT CN_BASE = 0xBC00;
inline constexpr UINT CN_CHARTOITEM = CN_BASE + WM_CHARTOITEM;
inline constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
inline constexpr UINT CN_COMPAREITEM = CN_BASE + WM_COMPAREITEM;
inline constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
inline constexpr UINT CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG;
inline constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
inline constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
inline constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
inline constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
inline constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
inline constexpr UINT CN_DELETEITEM = CN_BASE + WM_DELETEITEM;
inline constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
inline constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
inline constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
inline constexpr UINT CN_PARENTNOTIFY = CN_BASE + WM_PARENTNOTIFY;
inline constexpr UINT CN_VKEYTOITEM = CN_BASE + WM_VKEYTOITEM;
inline constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
inline constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
inline constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
inline constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
inline constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
inline constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;
inline constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
