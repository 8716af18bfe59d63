// This file declares the test forms, built from the descriptions compiled into the test program.
#pragma once

#include "UiTestSupport.h"

class TTestDialog : public TForm {
  VELBOR_DECLARE_CLASS(TTestDialog, TForm)
 public:
  explicit TTestDialog(TComponent* AOwner) : TForm(AOwner) {}
  TTestEdit* Edit1 = nullptr;
  TTestEdit* Edit2 = nullptr;
  TTestEdit* Edit3 = nullptr;
  TTestButton* OkButton = nullptr;
  TTestButton* CancelButton = nullptr;
  int Created = 0;
  int Shown = 0;
  int Activations = 0;
  int Deactivations = 0;
  std::vector<String> FocusLog;

  void FormCreate(TObject*) { ++Created; }
  void FormShow(TObject*) { ++Shown; }
  void FormActivate(TObject*) { ++Activations; }
  void FormDeactivate(TObject*) { ++Deactivations; }
  void EditEnter(TObject* Sender) { FocusLog.push_back("enter " + static_cast<TComponent*>(Sender)->Name()); }
  void EditExit(TObject* Sender) { FocusLog.push_back("exit " + static_cast<TComponent*>(Sender)->Name()); }
};

class TTestLayout : public TForm {
  VELBOR_DECLARE_CLASS(TTestLayout, TForm)
 public:
  explicit TTestLayout(TComponent* AOwner) : TForm(AOwner) {}
  TTestPanel* Top1 = nullptr;
  TTestPanel* Top2 = nullptr;
  TTestPanel* Bottom1 = nullptr;
  TTestPanel* Left1 = nullptr;
  TTestPanel* Right1 = nullptr;
  TTestPanel* Client1 = nullptr;
  TTestButton* Corner = nullptr;
  TTestButton* Stretch = nullptr;
};

class TTestFrameForm : public TForm {
  VELBOR_DECLARE_CLASS(TTestFrameForm, TForm)
 public:
  explicit TTestFrameForm(TComponent* AOwner) : TForm(AOwner) {}
};

class TTestChildForm : public TForm {
  VELBOR_DECLARE_CLASS(TTestChildForm, TForm)
 public:
  explicit TTestChildForm(TComponent* AOwner) : TForm(AOwner) {}
  TTestEdit* ChildEdit = nullptr;
  TCloseAction CloseAction = caFree;
  static int Destroyed;
  void FormClose(TObject*, TCloseAction& Action) { Action = CloseAction; }
  void FormDestroy(TObject*) { ++Destroyed; }
};

// An MDI child whose description asks for it maximised.
class TTestMaximizedChildForm : public TForm {
  VELBOR_DECLARE_CLASS(TTestMaximizedChildForm, TForm)
 public:
  explicit TTestMaximizedChildForm(TComponent* AOwner) : TForm(AOwner) {}
  void FormClose(TObject*, TCloseAction& Action) { Action = caFree; }
};
