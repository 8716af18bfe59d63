// This file implements what the tests of the library's buttons and edits share: a shown form with a
// modal script in place, real mouse and keyboard input through the system's queue, message
// pumping, and reading back pixels of what was painted.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

#include "Dialogs.h"
#include "Forms.h"

namespace OxTest {

// Handles pending messages for about Milliseconds (input arrives asynchronously).
inline void Pump(int Milliseconds = 50) {
  DWORD end = GetTickCount() + DWORD(Milliseconds);
  do {
    Application->ProcessMessages();
    Sleep(5);
  } while (GetTickCount() < end);
  Application->ProcessMessages();
}

// Work run from the message loop a little later, also from inside a modal loop (a menu, a dialog).
inline std::deque<std::function<void()>>& LaterQueue() {
  static std::deque<std::function<void()>> queue;
  return queue;
}

inline void CALLBACK LaterTimerProc(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  if (LaterQueue().empty()) return;
  std::function<void()> work = std::move(LaterQueue().front());
  LaterQueue().pop_front();
  try {
    work();
  } catch (...) {
    ADD_FAILURE() << "the later work raised";
  }
}

inline void Later(std::function<void()> Work, UINT Milliseconds = 10) {
  LaterQueue().push_back(std::move(Work));
  SetTimer(nullptr, 0, Milliseconds, &LaterTimerProc);
}

inline void SendKey(WORD Key, bool Up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = Key;
  in.ki.wScan = WORD(MapVirtualKeyA(Key, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = Up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &in, sizeof(in));
}

inline void Press(WORD Key) {
  SendKey(Key, false);
  SendKey(Key, true);
  Pump(80);
}

// Key with a modifier held (VK_CONTROL, VK_MENU, VK_SHIFT).
inline void PressCombo(WORD Modifier, WORD Key) {
  SendKey(Modifier, false);
  SendKey(Key, false);
  SendKey(Key, true);
  SendKey(Modifier, true);
  Pump(80);
}

// Characters typed as the keyboard would send them (layout-independent).
inline void TypeText(const String& Text) {
  for (char c : Text) {
    INPUT in[2]{};
    for (int i = 0; i < 2; ++i) {
      in[i].type = INPUT_KEYBOARD;
      in[i].ki.wScan = WORD(static_cast<unsigned char>(c));
      in[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
    }
    SendInput(2, in, sizeof(INPUT));
  }
  Pump(60);
}

// A mouse event at a screen point: each event carries its own position, so a press cannot land
// where the pointer was before.
inline void MouseEventAt(TPoint ScreenPos, DWORD Flags) {
  int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT in{};
  in.type = INPUT_MOUSE;
  // Rounded up, so that the system's scaling back lands on the very pixel.
  in.mi.dx = LONG((std::int64_t(ScreenPos.X) * 65536 + width - 1) / width);
  in.mi.dy = LONG((std::int64_t(ScreenPos.Y) * 65536 + height - 1) / height);
  in.mi.dwFlags = Flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof(in));
}

// Where the last mouse event of the tests put the pointer.
inline TPoint& LastMousePos() {
  static TPoint pos;
  return pos;
}

// The left button pressed or released where the pointer was moved to.
inline void MouseButton(bool Down) {
  MouseEventAt(LastMousePos(), Down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
}

// Moves the pointer through the input queue (a real move: the windows hear of it), by way of a
// neighbouring pixel so that the move is never one to where the pointer already is.
inline void MoveMouseTo(TPoint ScreenPos) {
  MouseEventAt(TPoint(ScreenPos.X + 1, ScreenPos.Y), 0);
  MouseEventAt(ScreenPos, 0);
  LastMousePos() = ScreenPos;
  Pump(40);
}

inline void ClickAt(TPoint ScreenPos) {
  MoveMouseTo(ScreenPos);
  MouseButton(true);
  MouseButton(false);
  Pump(120);
}

// The middle of a control, window-less ones included.
inline TPoint CentreOf(TControl* Control) {
  return Control->ClientToScreen(TPoint(Control->Width() / 2, Control->Height() / 2));
}

inline void Activate(TCustomForm* Form) {
  SetForegroundWindow(Form->Handle());
  for (int i = 0; i < 40 && GetForegroundWindow() != Form->Handle(); ++i) Pump(10);
  Pump(20);
}

// The colour now on screen at a point of a control's window.
inline COLORREF PixelOf(TWinControl* Control, int X, int Y) {
  HDC dc = GetDC(Control->Handle());
  COLORREF c = GetPixel(dc, X, Y);
  ReleaseDC(Control->Handle(), dc);
  return c;
}

struct FormFree {
  void operator()(TCustomForm* Form) const { Form->Free(); }
};

// A form shown and active, freed at the end of the test; unexpected questions fail it. It is an
// object too, so that its handlers can be events.
class FormTest : public ::testing::Test, public TObject {
 protected:
  void SetUp() override {
    Form.reset(CreateForm<TForm>(nullptr));
    Form->SetBounds(120, 120, 420, 300);
  }
  void ShowForm() {
    Form->Show();
    Activate(Form.get());
  }
  void TearDown() override {
    Form.reset();
    Pump(20);
    EXPECT_TRUE(Script.Unexpected.empty()) << "unexpected question: " << Script.Unexpected.front().Text;
  }
  template <class T>
  T* Add(int Left, int Top, int Width = -1, int Height = -1) {
    T* c = new T(Form.get());
    c->SetParent(Form.get());
    c->SetBounds(Left, Top, Width < 0 ? c->Width() : Width, Height < 0 ? c->Height() : Height);
    return c;
  }
  TModalScript Script;
  std::unique_ptr<TForm, FormFree> Form;
};

}  // namespace OxTest
