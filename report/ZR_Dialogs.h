// This file implements the report engine's small modal windows: the print dialog TzrPrintForm
// (printer, pages, copies, collation, odd or even pages), the display-format editor TzrFmtForm,
// the progress window TzrProgressForm inside which builds, prints and exports run, and the password
// prompt TzrPasswForm of protected templates.
#pragma once

#include "ExtCtrls.h"
#include "Forms.h"
#include "ListControls.h"
#include "StdCtrls.h"
#include "ZR_ClassWindows.h"
#include "ZR_Ctrls.h"

class TzrReport;

class TzrPrintForm : public TForm {
  VELBOR_DECLARE_CLASS(TzrPrintForm, TForm)
 public:
  explicit TzrPrintForm(TComponent* AOwner);
  ~TzrPrintForm() override;

  TGroupBox* GroupBox1 = nullptr;
  TLabel* Label4 = nullptr;
  TComboBox* CB1 = nullptr;
  TButton* PropButton = nullptr;
  TGroupBox* GroupBox2 = nullptr;
  TRadioButton* RB1 = nullptr;
  TRadioButton* RB2 = nullptr;
  TRadioButton* RB3 = nullptr;
  TEdit* E2 = nullptr;
  TLabel* Label2 = nullptr;
  TGroupBox* GroupBox3 = nullptr;
  TLabel* Label1 = nullptr;
  TEdit* E1 = nullptr;
  TPanel* Panel1 = nullptr;
  TzrSpeedButton* zrSpeedButton1 = nullptr;
  TzrSpeedButton* zrSpeedButton2 = nullptr;
  TCheckBox* CollateCB = nullptr;
  TLabel* Label3 = nullptr;
  TPaintBox* PB1 = nullptr;
  TLabel* Label5 = nullptr;
  TComboBox* CB2 = nullptr;
  TButton* Button1 = nullptr;
  TButton* Button2 = nullptr;

  // The engine printer's index when the dialog opened.
  int OldIndex = 0;

  void FormCreate(TObject* Sender);
  void FormDeactivate(TObject* Sender);
  void CB1DrawItem(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State);
  void CB1Click(TObject* Sender);
  void PropButtonClick(TObject* Sender);
  void RB3Click(TObject* Sender);
  void E2Click(TObject* Sender);
  void zrSpeedButton1Click(TObject* Sender);
  void zrSpeedButton2Click(TObject* Sender);
  void Label3Click(TObject* Sender);
  void CollateCBClick(TObject* Sender);
  void PB1Paint(TObject* Sender);

 protected:
  void Deactivate() override;

 private:
  TBitmap* FPrinterBitmap;
  TBitmap* FCollateImg;
  TBitmap* FNonCollateImg;
  bool FPrinterRestored = false;
};

class TzrFmtForm : public TForm {
  VELBOR_DECLARE_CLASS(TzrFmtForm, TForm)
 public:
  explicit TzrFmtForm(TComponent* AOwner);

  TGroupBox* GroupBox2 = nullptr;
  TListBox* CatLB = nullptr;
  TListBox* TypeLB = nullptr;
  TLabel* Label1 = nullptr;
  TEdit* DecEdit = nullptr;
  TLabel* Label2 = nullptr;
  TEdit* SplEdit = nullptr;
  TLabel* Label3 = nullptr;
  TEdit* FormatEdit = nullptr;
  TButton* Button1 = nullptr;
  TButton* Button2 = nullptr;

  // Set by the caller before showing, read back after OK.
  int Format = 0;
  String FormatStr;

  void FormCreate(TObject* Sender);
  void FormActivate(TObject* Sender);
  void CatLBClick(TObject* Sender);
  void TypeLBClick(TObject* Sender);
  void SplEditEnter(TObject* Sender);
  // The code and custom text of the boxes, as OK takes them.
  void TakeFormat();

 protected:
  void DoClose(TCloseAction& Action) override;

 private:
  void UpdateFields();
};

class TzrProgressForm : public TForm, public TzrProgressWindow {
  VELBOR_DECLARE_CLASS(TzrProgressForm, TForm)
 public:
  explicit TzrProgressForm(TComponent* AOwner);

  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TButton* Button1 = nullptr;

  void Button1Click(TObject* Sender);

  // TzrProgressWindow
  void SetCaption(const String& Text) override { TForm::SetCaption(Text); }
  void SetProgressText(const String& Text) override { FProgressText = Text; }
  String ProgressText() override { return FProgressText; }
  void SetLabelText(const String& Text) override { Label1->SetCaption(Text); }
  void SetSecondLabelText(const String& Text) override { Label2->SetCaption(Text); }
  void SetStep(TNotifyEvent Step) override { FStep = Step; }
  int Run(TzrReport* Report) override;
  void SetModalResult(int Result) override { TForm::SetModalResult(Result); }
  bool IsShowing() override { return FShowing; }
  void SetShowing(bool Value) override { FShowing = Value; }

  // The message the window posts itself to start the step once it shows.
  static constexpr UINT kStartMessage = WM_USER + 1;

 protected:
  void Dispatch(TMessage& Message) override;

 private:
  TzrReport* FReport = nullptr;
  TNotifyEvent FStep;
  String FProgressText;
  bool FShowing = false;
};

class TzrPasswForm : public TForm {
  VELBOR_DECLARE_CLASS(TzrPasswForm, TForm)
 public:
  explicit TzrPasswForm(TComponent* AOwner);

  TLabel* L1 = nullptr;
  TLabel* L2 = nullptr;
  TEdit* E1 = nullptr;
  TButton* OK = nullptr;
  TButton* Cancel = nullptr;

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
};

// The password prompt of protected templates, through TzrPasswForm.
bool AskTemplatePassword(String& Password);
