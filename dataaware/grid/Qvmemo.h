// This file implements the memo dialog: TqvMemoDialog, the component that shows a memo value (a
// dataset field, or its own Lines) at full size, and TqvMemoDlg, the modal window it shows, read
// from its form description, with OK and Cancel and two optional user buttons.
#pragma once

#include "DataSource.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Qvdbgrid.h"
#include "StdCtrls.h"

class TqvMemoDlg;

using TqvMemoDlgEvent = TEvent<void(TqvMemoDlg* Dialog)>;
using TqvMemoUserButtonEvent = TEvent<void(TqvMemoDlg* Dialog, TMemo* Memo)>;

class TqvMemoDialog : public TComponent {
  VELBOR_DECLARE_CLASS(TqvMemoDialog, TComponent)
 public:
  explicit TqvMemoDialog(TComponent* AOwner);
  ~TqvMemoDialog() override;

  TDataSource* DataSource() const { return FDataLink->DataSource(); }
  void SetDataSource(TDataSource* Value) { FDataLink->SetDataSource(Value); }
  const String& DataField() const { return FDataLink->FieldName(); }
  void SetDataField(const String& Value) { FDataLink->SetFieldName(Value); }
  TFont* Font() const { return FFont; }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TqvMemoAttributes MemoAttributes() const { return FMemoAttributes; }
  void SetMemoAttributes(TqvMemoAttributes Value) { FMemoAttributes = Value; }
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value) { FCaption = Value; }
  TStrings* Lines() const { return FLines; }
  void SetLines(TStrings* Value) {
    if (Value != FLines) FLines->Assign(Value);
  }
  // The window's place and size: 0 and 0 keep it centred on the screen with the size given; a
  // positive left or top places it; -1 keeps the window's own size and centred place.
  int DlgLeft = 0;
  int DlgTop = 0;
  int DlgWidth = 561;
  int DlgHeight = 396;
  String UserButton1Caption;
  String UserButton2Caption;
  TqvMemoDlgEvent OnInitDialog, OnCloseDialog;
  TqvMemoUserButtonEvent OnUserButton1Click, OnUserButton2Click;
  // The window while it is shown.
  TqvMemoDlg* Dialog() const { return FDialog; }

  virtual void DoInitDialog(TqvMemoDlg* Dialog);
  virtual void DoCloseDialog(TqvMemoDlg* Dialog);
  // Shows the window over the screen's active form, editable unless mViewOnly; true when the user
  // confirmed (the field, or Lines, then holds the text).
  virtual bool Execute();

 private:
  friend class TqvMemoDlg;
  friend bool qvExecuteMemoDlg(TCustomForm*, TqvMemoDialog*, bool);
  TFieldDataLink* FDataLink;
  TFont* FFont;
  TqvMemoAttributes FMemoAttributes = qvDefaultMemoAttributes;
  String FCaption;
  TStringList* FLines;
  TqvMemoDlg* FDialog = nullptr;
};

class TqvMemoDlg : public TForm {
  VELBOR_DECLARE_CLASS(TqvMemoDlg, TForm)
 public:
  explicit TqvMemoDlg(TComponent* AOwner) : TForm(AOwner) {}
  // Reads the description, then makes the OK and Cancel buttons.
  void AfterConstruction() override;

  TMemo* Memo = nullptr;
  TPanel* UserButtonPanel = nullptr;
  TButton* UserButton1 = nullptr;
  TButton* UserButton2 = nullptr;
  TButton* OKBtn = nullptr;
  TButton* CancelBtn = nullptr;

  void FormShow(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void ResizeControls(TObject* Sender);
  void MemoKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
  void MemoChange(TObject* Sender);
  void MemoKeyPress(TObject* Sender, char& Key);
  void OKBtnClick(TObject* Sender);
  void UserButton1Click(TObject* Sender);
  void UserButton2Click(TObject* Sender);

 protected:
  void KeyPress(char& Key) override;

 private:
  friend bool qvExecuteMemoDlg(TCustomForm*, TqvMemoDialog*, bool);
  bool FOK = false;
  TRect FRequested;
  bool FShown = false;
  TqvMemoDialog* FMemoDialog = nullptr;
};

// Shows the memo window for Dialog over ActiveForm; true when the user confirmed. Editable, a
// confirmed text is written back: into the field (its dataset put in edit state), else into the
// dialog's Lines.
bool qvExecuteMemoDlg(TCustomForm* ActiveForm, TqvMemoDialog* Dialog, bool Editable);
