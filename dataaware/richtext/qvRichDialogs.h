// This file implements the two modal dialogs that edit the paragraph format of the rich-text
// control's selection: TqvRichParagraphDialog (alignment, indents, spacing) and TqvRichTabDialog
// (tab stops), both in the control's measurement units.
#pragma once

#include "ExtCtrls.h"
#include "Forms.h"
#include "ListControls.h"
#include "StdCtrls.h"

class TqvCustomRichEdit;

// Whether the text of a measure field is a measure between Low and High twips. An empty field is
// a measure of 0.
bool qvRichMeasureValid(TqvCustomRichEdit* RichEdit, const String& Text, int Low, int High);
// The twips of a measure field that passed the check (an empty field: 0).
int qvRichMeasureTwips(TqvCustomRichEdit* RichEdit, const String& Text);

class TqvRichTabDialog : public TForm {
  VELBOR_DECLARE_CLASS(TqvRichTabDialog, TForm)
 public:
  explicit TqvRichTabDialog(TComponent* AOwner) : TForm(AOwner) {}

  // Applies the interface strings (and the hints when the control asks for them).
  void Setup(TqvCustomRichEdit* RichEdit);
  TqvCustomRichEdit* RichEdit() const { return FRichEdit; }

  TButton* OKButton = nullptr;
  TGroupBox* GroupBox1 = nullptr;
  TEdit* Edit1 = nullptr;
  TListBox* ListBox1 = nullptr;
  TButton* Button1 = nullptr;
  TButton* Button2 = nullptr;
  TButton* Button3 = nullptr;
  TButton* Button4 = nullptr;

  void SetButtonClick(TObject* Sender);
  void Button2Click(TObject* Sender);
  void Button4Click(TObject* Sender);
  void OKButtonClick(TObject* Sender);
  void Edit1Enter(TObject* Sender);
  void Edit1Exit(TObject* Sender);
  void Edit1KeyPress(TObject* Sender, char& Key);

 private:
  // The pending entry cannot be a tab stop: the user hears why and the entry keeps the focus.
  void RefuseEntry();
  TqvCustomRichEdit* FRichEdit = nullptr;
};

class TqvRichParagraphDialog : public TForm {
  VELBOR_DECLARE_CLASS(TqvRichParagraphDialog, TForm)
 public:
  explicit TqvRichParagraphDialog(TComponent* AOwner) : TForm(AOwner) {}

  void Setup(TqvCustomRichEdit* RichEdit);
  TqvCustomRichEdit* RichEdit() const { return FRichEdit; }

  TButton* OKBtn = nullptr;
  TButton* CancelBtn = nullptr;
  TPanel* Panel1 = nullptr;
  TLabel* Label4 = nullptr;
  TComboBox* AlignmentCombo = nullptr;
  TLabel* GroupBox1 = nullptr;
  TLabel* Label1 = nullptr;
  TEdit* LeftEdit = nullptr;
  TLabel* Label2 = nullptr;
  TEdit* RightEdit = nullptr;
  TLabel* Label3 = nullptr;
  TEdit* FirstLineEdit = nullptr;
  TLabel* SpacingGroup = nullptr;
  TLabel* BeforeParagraphLabel = nullptr;
  TEdit* BeforeParagraphEdit = nullptr;
  TLabel* AfterParagraphLabel = nullptr;
  TEdit* AfterParagraphEdit = nullptr;
  TLabel* WithinParagraphLabel = nullptr;
  TComboBox* LineSpacingComboBox = nullptr;
  TLabel* WithinParagraphAt = nullptr;
  TEdit* WithinParagraphEdit = nullptr;
  TBevel* Bevel1 = nullptr;
  TBevel* Bevel2 = nullptr;

  void FormCreate(TObject* Sender);
  void OKClick(TObject* Sender);
  void LineSpacingComboBoxClick(TObject* Sender);
  void LineSpacingComboBoxChange(TObject* Sender);
  void WithinParagraphEditKeyPress(TObject* Sender, char& Key);

 private:
  TqvCustomRichEdit* FRichEdit = nullptr;
};
