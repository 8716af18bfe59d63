// This file implements what the tests of the standard controls share: a form built in code with
// a modal script in place (the input helpers are those of UiTestSupport.h).
#pragma once

#include <gtest/gtest.h>

#include "UiTestSupport.h"

// Run at the end of the work a test does inside a modal loop: waits for the work to end the form
// and, when it does not, ends it with the result -1, so that the test fails instead of waiting for
// ever.
inline void EndModalIfStillOpen(TCustomForm* Form) {
  if (!PumpUntil([Form] { return Form->ModalResult() != mrNone; })) Form->SetModalResult(-1);
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
    PumpPending();
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
