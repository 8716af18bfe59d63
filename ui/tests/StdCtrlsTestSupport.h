// This file implements what the tests of the standard controls share: a form built in code with
// a modal script in place, typing text and key combinations through the system's input queue.
#pragma once

#include <gtest/gtest.h>

#include "UiTestSupport.h"

// Characters typed as the keyboard would send them (layout-independent).
inline void TypeText(const String& Text) {
  for (char c : Text) {
    INPUT in[2]{};
    WCHAR wide = WCHAR(AnsiToWide(String(1, c))[0]);
    for (int i = 0; i < 2; ++i) {
      in[i].type = INPUT_KEYBOARD;
      in[i].ki.wScan = wide;
      in[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
    }
    SendInput(2, in, sizeof(INPUT));
  }
  Pump(60);
}

// Key with a modifier held (VK_CONTROL, VK_MENU, VK_SHIFT).
inline void PressCombo(WORD Modifier, WORD Key) {
  INPUT in[4]{};
  WORD keys[4] = {Modifier, Key, Key, Modifier};
  for (int i = 0; i < 4; ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wVk = keys[i];
    in[i].ki.wScan = WORD(MapVirtualKeyA(keys[i], MAPVK_VK_TO_VSC));
    in[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
  }
  SendInput(4, in, sizeof(INPUT));
  Pump(80);
}

inline void Press(WORD Key, bool Shift = false) {
  PressKey(Key, Shift);
  Pump(80);
}

// Run at the end of the work a test does inside a modal loop: a form the work did not end is
// ended with the result -1, so that the test fails instead of waiting for ever.
inline void EndModalIfStillOpen(TCustomForm* Form) {
  Pump(300);
  if (Form->ModalResult() == mrNone) Form->SetModalResult(-1);
}

// Clicks the middle of a control (window-less ones included).
inline void ClickControl(TControl* Control) {
  TPoint p = Control->ClientToScreen(TPoint(Control->Width() / 2, Control->Height() / 2));
  // The pointer arrives first, so the press cannot land where it was before.
  SetCursorPos(p.X, p.Y);
  Pump(30);
  ClickAt(p);
  Pump(120);
}

// A plain form shown and active, freed at the end of the test; unexpected questions fail it.
// It is an object too, so that its handlers can be events.
class StdFormTest : public ::testing::Test, public TObject {
 protected:
  void SetUp() override {
    Form.reset(CreateForm<TForm>(nullptr));
    Form->SetBounds(100, 100, 420, 320);
    Form->SetCaption("Contrôles"_a);
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
  T* Add(int Left, int Top, int Width = -1, int Height = -1, TWinControl* Parent = nullptr) {
    T* c = new T(Form.get());
    c->SetParent(Parent ? Parent : Form.get());
    c->SetBounds(Left, Top, Width < 0 ? c->Width() : Width, Height < 0 ? c->Height() : Height);
    return c;
  }
  TModalScript Script;
  TFormPtr<TForm> Form;
};
