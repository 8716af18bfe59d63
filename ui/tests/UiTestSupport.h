// This file implements what the GUI tests share: small controls over native windows (an edit, a
// push button with default/cancel/modal result, a panel), work posted into the message loop
// (to act from inside a modal loop), waits for a condition with a deadline, real keyboard and
// mouse input, text compared with what the same font draws, and a recorder of messages.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "Dialogs.h"
#include "Forms.h"

// An edit over the native EDIT control.
class TTestEdit : public TWinControl {
  VELBOR_DECLARE_CLASS(TTestEdit, TWinControl)
 public:
  explicit TTestEdit(TComponent* AOwner);

 protected:
  void CreateParams(TCreateParams& Params) override;
};

// A push button over the native BUTTON control: a click sets the form's ModalResult; Return
// clicks the default button and Escape the cancel button.
class TTestButton : public TWinControl {
  VELBOR_DECLARE_CLASS(TTestButton, TWinControl)
 public:
  explicit TTestButton(TComponent* AOwner);
  bool Default = false;
  bool Cancel = false;
  TModalResult ModalResult = mrNone;
  void Click() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;
};

// A container that paints itself in its colour.
class TTestPanel : public TCustomControl {
  VELBOR_DECLARE_CLASS(TTestPanel, TCustomControl)
 public:
  explicit TTestPanel(TComponent* AOwner);
  int PaintCount = 0;
  bool SawPaintCopy = false;

 protected:
  void Paint() override;
};

// Owns a form and frees it as the program does (Free: OnDestroy while the form is whole).
struct TFormFree {
  void operator()(TCustomForm* Form) const { Form->Free(); }
};
template <class T>
using TFormPtr = std::unique_ptr<T, TFormFree>;

// Registers the test classes with the form reader (once).
void RegisterTestClasses();

// Runs Work from inside the message loop: once the messages already queued are handled or, given
// a delay, that many milliseconds later (a timer: for polling, never as a wait for a modal loop to
// open: LaterInMenu waits for a menu's).
void Later(std::function<void()> Work, int Milliseconds = 0);
// Runs Work from inside a menu's own loop: once the thread shows a menu (looked for every few
// milliseconds, from the message loop the menu runs). A test fails when no menu comes within
// kWaitLimit.
void LaterInMenu(std::function<void()> Work);
// How long the waits give their condition: far beyond what it takes on a loaded machine, since a
// wait ends as soon as its condition holds.
constexpr int kWaitLimit = 10000;
// Handles messages until Done holds (checked after each batch of messages, and every few
// milliseconds when none come); false when Milliseconds went by without it.
template <class F>
bool PumpUntil(F Done, int Milliseconds = kWaitLimit) {
  DWORD start = GetTickCount();
  for (;;) {
    Application->ProcessMessages();
    if (Done()) return true;
    if (GetTickCount() - start >= DWORD(Milliseconds)) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}
// The same for a test: the failure says what was awaited. ASSERT_TRUE(WaitFor("...", [&] {...})).
template <class F>
[[nodiscard]] testing::AssertionResult WaitFor(const char* What, F Done, int Milliseconds = kWaitLimit) {
  if (PumpUntil(Done, Milliseconds)) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "waited " << Milliseconds << " ms for " << What;
}
// Handles the messages waiting for the thread (posted and sent ones, input already in its queue,
// what the display reported, windows left to paint, timers fallen due) until none is left: what a
// test means by "let the pending messages run". A test fails when the queue does not empty within
// kWaitLimit (a window that keeps invalidating itself, a timer of no interval).
void PumpPending();
// Gives the control the focus and waits until it (or a window of its own: the edit of a combo box)
// has it and the messages of the change are handled.
[[nodiscard]] testing::AssertionResult GiveFocus(TWinControl* Control);
// Handles messages until no window of the control's (itself and its children) has anything left
// to paint.
[[nodiscard]] testing::AssertionResult Painted(TWinControl* Control);
// Handles messages for Milliseconds: only where a test checks that nothing happens within that
// time, counted from a known point (say which at the call). Anything else waits for its condition
// (WaitFor, PumpPending, Painted, the input helpers).
void PumpFor(int Milliseconds);
// Runs idle passes of the application, where it follows the mouse from control to control
// (CM_MOUSEENTER and CM_MOUSELEAVE), until Done holds: a message that arrives late is handled in
// place of the idle pass, and a timer ends the wait that follows one. The failure says what was
// awaited.
template <class F>
[[nodiscard]] testing::AssertionResult IdleUntil(const char* What, F Done, int Milliseconds = kWaitLimit) {
  DWORD start = GetTickCount();
  for (;;) {
    PumpPending();
    if (Done()) return testing::AssertionSuccess();
    if (GetTickCount() - start >= DWORD(Milliseconds)) break;
    UINT_PTR timer = SetTimer(nullptr, 0, 10, nullptr);
    Application->HandleMessage();
    KillTimer(nullptr, timer);
  }
  return testing::AssertionFailure() << "waited " << Milliseconds << " ms of idle passes for " << What;
}

// Real keyboard input, through the system's input queue.
INPUT KeyInput(WORD Key, bool Up);
// One key event, and a press and release (Shift held around it): sent, not waited for, so that
// they may be used inside a modal loop.
void SendKey(WORD Key, bool Up);
void PressKey(WORD Key, bool Shift = false);
// Sends the inputs, then handles messages until the program has taken the release of LastKey
// from its queue (a typed character, VK_PACKET: its press) and what it posted in answer.
void SendKeys(const std::vector<INPUT>& Inputs, WORD LastKey);
// A key pressed and released (Shift held around it), and handled.
void Press(WORD Key, bool Shift = false);
// A key with a modifier held (VK_CONTROL, VK_MENU, VK_SHIFT), and handled.
void PressCombo(WORD Modifier, WORD Key);
// Characters typed as the keyboard would send them (layout-independent), and handled.
void TypeText(const String& Text);

// Real mouse input. Each event carries its own absolute position, so that a press cannot land
// where the pointer was before, nor be moved by a late report of an earlier position.
INPUT MouseInput(TPoint ScreenPos, DWORD Flags);
// One mouse event (a move, with Flags): sent, not waited for.
void MouseEventAt(TPoint ScreenPos, DWORD Flags);
// Where the last move or click of the tests put the pointer.
TPoint& LastMousePos();
// Moves the pointer through the input queue (a real move: the windows hear of it, even when the
// pointer was there already) and waits until it is there.
void MoveMouseTo(TPoint ScreenPos);
// Waits, when a press at ScreenPos would pair with the helpers' last press into a double click,
// until it no longer would (before delayed work that must find the press's effect in place).
void AwaitNoDoubleClick(TPoint ScreenPos);
// The left button pressed or released, where the pointer was moved to or at ScreenPos; sent, not
// waited for.
void MouseButton(bool Down);
void MouseButton(bool Down, TPoint ScreenPos);
// Presses the left button at ScreenPos and waits until the program has taken the press from its
// queue and handled what it posted in answer (a press that opens a modal loop: MouseButton).
void PressButton(TPoint ScreenPos);
// Releases the left button, where the pointer was moved to or at ScreenPos, and waits until the
// program has taken the release from its queue.
void ReleaseButton();
void ReleaseButton(TPoint ScreenPos);
// Moves the pointer there, presses and releases the left button and waits until the release is
// handled; the press never pairs with the previous one into a double click.
void ClickAt(TPoint ScreenPos);
// Presses the left button at From, moves in steps to To and releases it there (screen points),
// each event handled before the next.
void DragMouse(TPoint From, TPoint To);
// A screen point of a control (window-less ones included): a client point, and the middle.
TPoint OnScreen(TControl* Control, int X, int Y);
TPoint CentreOf(TControl* Control);
// Clicks the middle of a control.
void ClickControl(TControl* Control);

// Makes the form the foreground window and waits until it is active and painted (a test fails
// when it does not become active).
void Activate(TCustomForm* Form);
// The colour now on screen at a client point of a control's window.
COLORREF PixelOf(TWinControl* Control, int X, int Y);
// Whether Area of the control's window shows Text exactly as the same font draws it in Ink on
// Back on a bitmap: every pixel of the drawn text in place, wherever the control put it inside
// Area, and nothing else but Back there. It holds whatever face, size and smoothing the font gets.
[[nodiscard]] testing::AssertionResult ShowsText(TWinControl* Control, TRect Area, const String& Text, TFont* Font,
                                                 TColor Ink, TColor Back);
// The same for Area of a device context (a bitmap's canvas).
[[nodiscard]] testing::AssertionResult ShowsText(HDC DC, TRect Area, const String& Text, TFont* Font, TColor Ink,
                                                 TColor Back);

// Records the messages one control receives, by hooking its WindowProc.
class TMessageRecorder : public TObject {
 public:
  TMessageRecorder(TControl* Control, std::vector<UINT> Watched);
  ~TMessageRecorder() override;
  std::vector<UINT> Seen;

 private:
  void Hook(TMessage& Message);
  TControl* FControl;
  TWndMethod FSaved;
  std::vector<UINT> FWatched;
};
