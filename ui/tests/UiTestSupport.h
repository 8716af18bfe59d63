// This file implements what the GUI tests share: small controls over native windows (an edit, a
// push button with default/cancel/modal result, a panel), work posted into the message loop
// (to act from inside a modal loop), real keyboard and mouse input, and a recorder of messages.
#pragma once

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

// Runs Work from inside the message loop, once the messages already queued are handled.
void Later(std::function<void()> Work);
// Handles pending messages for about Milliseconds (input arrives asynchronously).
void Pump(int Milliseconds = 50);
// Real input, through the system's input queue.
void PressKey(WORD Key, bool Shift = false);
void ClickAt(TPoint ScreenPos);
// Makes the form the foreground window and waits until it is active.
void Activate(TCustomForm* Form);

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
