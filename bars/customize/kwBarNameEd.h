// This file implements TkwBarNameEd, the dialog that asks for the caption of a new toolbar or the
// new caption of one (Kind 0), or for a category name (Kind 1); it refuses a toolbar caption that
// another toolbar of the manager has.
#pragma once

// The class library's own headers first: <windows.h> defines RegisterClass as a macro.
#include "Forms.h"
#include "StdCtrls.h"

class TkwBar;
class TkwBarManager;

class TkwBarNameEd : public TForm {
  VELBOR_DECLARE_CLASS(TkwBarNameEd, TForm)
 public:
  // Kind 0: Mode 0 "Add Toolbar", 1 "Rename Toolbar"; Kind 1: Mode 0 "Add Category", 1 "Insert
  // Category", 2 "Rename Category".
  TkwBarNameEd(int Kind, int Mode, TkwBar* Bar, TkwBarManager* Manager);
  TEdit* EName() const { return FEName; }
  TButton* BOK() const { return FBOK; }
  TButton* BCancel() const { return FBCancel; }
  // The open dialog (nullptr: none), for the tests.
  static TkwBarNameEd* Active;

  bool CloseQuery() override;

 private:
  void ENameChange(TObject* Sender);
  int FKind;
  TkwBar* FBar;
  TkwBarManager* FManager;
  TLabel* FLName;
  TEdit* FEName;
  TButton* FBOK;
  TButton* FBCancel;
};

// Asks for a name; true, with the text in Name, when the dialog closes with OK.
bool ShowBarNameDialog(String& Name, int Kind, int Mode, TkwBar* Bar, TkwBarManager* Manager);
