// This file declares the test forms of the bar library, built from the descriptions compiled into
// the test program: an MDI frame and its child, each with a bar manager and a main-menu bar, and a
// form whose manager the reset reads back from its description.
#pragma once

#include "BarTestSupport.h"

class TTestBarFrame : public TForm {
  VELBOR_DECLARE_CLASS(TTestBarFrame, TForm)
 public:
  explicit TTestBarFrame(TComponent* AOwner) : TForm(AOwner) {}
};

class TTestBarChild : public TForm {
  VELBOR_DECLARE_CLASS(TTestBarChild, TForm)
 public:
  explicit TTestBarChild(TComponent* AOwner) : TForm(AOwner) {}
  void FormClose(TObject*, TCloseAction& Action) { Action = caFree; }
};

class TTestResetForm : public TForm {
  VELBOR_DECLARE_CLASS(TTestResetForm, TForm)
 public:
  explicit TTestResetForm(TComponent* AOwner) : TForm(AOwner) {}
  // Bound in the description; the design copy binds no handler.
  void ResetDone(TkwBarManager*, TkwBar*) { ++Resets; }
  void ItemGone(TObject*) { ++ItemsGone; }
  int Resets = 0;
  static int ItemsGone;
};

// Stands in for the item of an MDI child's system menu.
class TTestSystemMenuItem : public TkwBarItem {
  VELBOR_DECLARE_CLASS(TTestSystemMenuItem, TkwBarItem)
 public:
  explicit TTestSystemMenuItem(TComponent* AOwner) : TkwBarItem(AOwner) { SetCaption("-"); }
};

// Registers the forms' classes and the system-menu stand-in (once).
void InstallTestBarForms();
