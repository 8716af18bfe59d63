// This file implements the options dialogs of the text and RTF export filters, TzrTXTExportForm and
// TzrRTFExportForm: check boxes for the filters' switches and the two scale factors.
#pragma once

#include "Forms.h"
#include "StdCtrls.h"

class TzrTXTExportForm : public TForm {
  VELBOR_DECLARE_CLASS(TzrTXTExportForm, TForm)
 public:
  explicit TzrTXTExportForm(TComponent* AOwner);

  TCheckBox* CB1 = nullptr;
  TCheckBox* CB2 = nullptr;
  TCheckBox* CB3 = nullptr;
  TCheckBox* CB4 = nullptr;
  TCheckBox* CB5 = nullptr;
  TLabel* Label1 = nullptr;
  TEdit* E1 = nullptr;
  TEdit* E2 = nullptr;
  TButton* Button1 = nullptr;
  TButton* Button2 = nullptr;

  void FormCreate(TObject* Sender);
  // The DOS line characters are offered only while frames are exported.
  void CB3Click(TObject* Sender);
};

class TzrRTFExportForm : public TForm {
  VELBOR_DECLARE_CLASS(TzrRTFExportForm, TForm)
 public:
  explicit TzrRTFExportForm(TComponent* AOwner);

  TCheckBox* CB1 = nullptr;
  TCheckBox* CB2 = nullptr;
  TCheckBox* CB3 = nullptr;
  TCheckBox* CB5 = nullptr;
  TLabel* Label1 = nullptr;
  TEdit* E1 = nullptr;
  TEdit* E2 = nullptr;
  TButton* Button1 = nullptr;
  TButton* Button2 = nullptr;

  void FormCreate(TObject* Sender);
};

// Registers the classes the report windows' descriptions create (once).
void RegisterReportWindowControls();
