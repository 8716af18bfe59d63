// This file implements the paragraph and tab-stop dialogs of the rich-text control, and the
// control's operations that run them.
#include "qvRichDialogs.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "FloatFormat.h"
#include "FormatSettings.h"
#include "Format.h"
#include "ScopeGuard.h"

#include "Dialogs.h"

#include "Qvintl.h"
#include "qvDateScan.h"
#include "qvRichServices.h"
#include "qvStrUtils.h"
#include "qvriched.h"

VELBOR_IMPLEMENT_CLASS(TqvRichTabDialog)
VELBOR_HANDLERS(TqvRichTabDialog, VELBOR_HANDLER(SetButtonClick), VELBOR_HANDLER(Button2Click),
                VELBOR_HANDLER(Button4Click), VELBOR_HANDLER(OKButtonClick), VELBOR_HANDLER(Edit1Enter),
                VELBOR_HANDLER(Edit1Exit), VELBOR_HANDLER(Edit1KeyPress))
VELBOR_FIELDS(TqvRichTabDialog, VELBOR_FIELD(OKButton), VELBOR_FIELD(GroupBox1), VELBOR_FIELD(Edit1),
              VELBOR_FIELD(ListBox1), VELBOR_FIELD(Button1), VELBOR_FIELD(Button2), VELBOR_FIELD(Button3),
              VELBOR_FIELD(Button4))

VELBOR_IMPLEMENT_CLASS(TqvRichParagraphDialog)
VELBOR_HANDLERS(TqvRichParagraphDialog, VELBOR_HANDLER(FormCreate), VELBOR_HANDLER(OKClick),
                VELBOR_HANDLER(LineSpacingComboBoxClick), VELBOR_HANDLER(LineSpacingComboBoxChange),
                VELBOR_HANDLER(WithinParagraphEditKeyPress))
VELBOR_FIELDS(TqvRichParagraphDialog, VELBOR_FIELD(OKBtn), VELBOR_FIELD(CancelBtn), VELBOR_FIELD(Panel1),
              VELBOR_FIELD(Label4), VELBOR_FIELD(AlignmentCombo), VELBOR_FIELD(GroupBox1), VELBOR_FIELD(Label1),
              VELBOR_FIELD(LeftEdit), VELBOR_FIELD(Label2), VELBOR_FIELD(RightEdit), VELBOR_FIELD(Label3),
              VELBOR_FIELD(FirstLineEdit), VELBOR_FIELD(SpacingGroup), VELBOR_FIELD(BeforeParagraphLabel),
              VELBOR_FIELD(BeforeParagraphEdit), VELBOR_FIELD(AfterParagraphLabel), VELBOR_FIELD(AfterParagraphEdit),
              VELBOR_FIELD(WithinParagraphLabel), VELBOR_FIELD(LineSpacingComboBox), VELBOR_FIELD(WithinParagraphAt),
              VELBOR_FIELD(WithinParagraphEdit), VELBOR_FIELD(Bevel1), VELBOR_FIELD(Bevel2))

namespace {

// The descriptions make their controls by class name.
struct TDialogClassRegistration {
  TDialogClassRegistration() {
    for (TClass Class : {TLabel::StaticClass(), TEdit::StaticClass(), TButton::StaticClass(), TGroupBox::StaticClass(),
                         TListBox::StaticClass(), TComboBox::StaticClass(), TPanel::StaticClass(), TBevel::StaticClass()})
      RegisterClass(Class);
  }
} DialogClassRegistration;

constexpr int kFarthest = 31680;  // 22 inches, in twips

// The number of a measure text: without its trailing blanks, inch marks and centimetre letters.
String MeasureNumber(const String& Text) {
  String Number = Text;
  qvTrimRightChars(Number, qvCharSet(" 'cmCM"));
  return Number;
}

// A dialog freed as the program frees forms.
struct TDialogFree {
  void operator()(TCustomForm* Form) const { Form->Free(); }
};

void SetHint(TControl* Control, const String& Hint, bool Show) {
  Control->Hint = Hint;
  Control->SetShowHint(Show);
}

}  // namespace

bool qvRichMeasureValid(TqvCustomRichEdit* RichEdit, const String& Text, int Low, int High) {
  String Number = MeasureNumber(Text);
  if (Number.empty()) return 0 >= Low && 0 <= High;
  if (!qvIsValidFloatText(Number)) return false;
  int Twips = RichEdit->MeasureToTwips(Number);
  return Twips >= Low && Twips <= High;
}

int qvRichMeasureTwips(TqvCustomRichEdit* RichEdit, const String& Text) {
  String Number = MeasureNumber(Text);
  return Number.empty() ? 0 : RichEdit->MeasureToTwips(Number);
}

// --- Tab stops --------------------------------------------------------------------------------

void TqvRichTabDialog::Setup(TqvCustomRichEdit* RichEdit) {
  FRichEdit = RichEdit;
  TqvRichEditTabDlg* T = qvIntl->RichEdit()->TabDialog();
  SetCaption(T->TabDlgCaption);
  GroupBox1->SetCaption(T->TabGroupBoxCaption);
  Button1->SetCaption(T->SetTabButtonCaption);
  Button2->SetCaption(T->ClearTabButtonCaption);
  Button4->SetCaption(T->ClearAllButtonCaption);
  OKButton->SetCaption(qvIntl->BtnOKCaption);
  Button3->SetCaption(qvIntl->BtnCancelCaption);
  bool Hints = RichEdit->EditorOptions.Contains(reoShowHints);
  if (Hints) {
    SetHint(Edit1, T->TabPositionEditHint, true);
    SetHint(ListBox1, T->ListBoxHint, true);
    SetHint(Button1, T->SetButtonHint, true);
    SetHint(Button2, T->ClearButtonHint, true);
    SetHint(Button4, T->ClearAllButtonHint, true);
  }
}

void TqvRichTabDialog::RefuseEntry() {
  MessageDlg(Format("Invalid tab stop position: %s", {Edit1->Text()}), mtError, {mbOK}, 0);
  if (Edit1->CanFocus()) Edit1->SetFocus();
  Edit1->SelectAll();
}

// The typed position joins the list, which stays in ascending order; a position the list holds
// already is not added twice. A position that is no tab stop (not a number, negative, beyond 22
// inches) is refused with a message.
void TqvRichTabDialog::SetButtonClick(TObject*) {
  String Text = Edit1->Text();
  if (Text.empty()) return;
  String Number = MeasureNumber(Text);
  if (Number.empty() || !qvRichMeasureValid(FRichEdit, Text, 0, kFarthest)) {
    RefuseEntry();
    return;
  }
  double Value = StrToFloat(Number);
  String Item = FRichEdit->FormatMeasure(Value);
  TStrings* Items = ListBox1->Items();
  if (Items->IndexOf(Item) < 0) {
    int At = Items->Count();
    for (int i = 0; i < Items->Count(); ++i) {
      if (StrToFloat(MeasureNumber(Items->Strings(i))) > Value) {
        At = i;
        break;
      }
    }
    Items->Insert(At, Item);
  }
  Edit1->SetText(String());
}

void TqvRichTabDialog::Button2Click(TObject*) {
  for (int i = ListBox1->Items()->Count() - 1; i >= 0; --i) {
    if (ListBox1->Selected(i)) ListBox1->Items()->Delete(i);
  }
}

void TqvRichTabDialog::Button4Click(TObject*) { ListBox1->Items()->Clear(); }

void TqvRichTabDialog::OKButtonClick(TObject*) {
  if (Edit1->Text().empty()) return;
  if (qvRichMeasureValid(FRichEdit, Edit1->Text(), 0, kFarthest)) {
    SetButtonClick(Edit1);
    return;
  }
  SetModalResult(mrNone);
  RefuseEntry();
}

// Return in the entry sets the tab: the OK button is not the default meanwhile.
void TqvRichTabDialog::Edit1Enter(TObject*) { OKButton->SetDefault(false); }

void TqvRichTabDialog::Edit1Exit(TObject*) { OKButton->SetDefault(true); }

void TqvRichTabDialog::Edit1KeyPress(TObject*, char& Key) {
  if (Key != '\r') return;
  Key = 0;
  if (!Edit1->Text().empty()) SetButtonClick(Edit1);
  else SetModalResult(mrOk);
}

bool TqvCustomRichEdit::ShowTabsDialog() {
  PARAFORMAT2 Format;
  GetParaFormat(Format);
  std::unique_ptr<TqvRichTabDialog, TDialogFree> Dialog(CreateForm<TqvRichTabDialog>(nullptr));
  Dialog->Setup(this);
  for (int i = 0; i < Format.cTabCount; ++i)
    Dialog->ListBox1->Items()->Add(FormatMeasure(TwipsToMeasure(int(Format.rgxTabs[i] & 0x00FFFFFF))));
  bool Confirmed = Dialog->ShowModal() == mrOk;
  if (!Confirmed) return false;
  int Tabs[MAX_TAB_STOPS] = {};
  int Count = std::min(Dialog->ListBox1->Items()->Count(), int(MAX_TAB_STOPS));
  for (int i = 0; i < Count; ++i) Tabs[i] = MeasureToTwips(MeasureNumber(Dialog->ListBox1->Items()->Strings(i)));
  SetParaFormat(32, qpaLeft, false, 0, 0, 0, Count, Tabs, 0, 0, 0, 0);
  return true;
}

// --- Paragraph --------------------------------------------------------------------------------

namespace {

String SpacingText(const String& Text, const char* Default) { return Text.empty() ? String(Default) : Text; }

}  // namespace

void TqvRichParagraphDialog::Setup(TqvCustomRichEdit* RichEdit) {
  FRichEdit = RichEdit;
  TqvRichEditParagraphDlg* P = qvIntl->RichEdit()->ParagraphDialog();
  SetCaption(P->ParagraphDlgCaption);
  GroupBox1->SetCaption(P->IndentationGroupBoxCaption);
  Label1->SetCaption(P->LeftEditCaption);
  Label2->SetCaption(P->RightEditCaption);
  Label3->SetCaption(P->FirstLineEditCaption);
  Label4->SetCaption(P->AlignmentCaption);
  SpacingGroup->SetCaption(P->SpacingGroupCaption);
  BeforeParagraphLabel->SetCaption(P->BeforeParagraphCaption);
  AfterParagraphLabel->SetCaption(P->AfterParagraphCaption);
  WithinParagraphLabel->SetCaption(P->WithinParagraphCaption);
  WithinParagraphAt->SetCaption(P->WithinParagraphAtCaption);
  OKBtn->SetCaption(qvIntl->BtnOKCaption);
  CancelBtn->SetCaption(qvIntl->BtnCancelCaption);
  if (RichEdit->EditorOptions.Contains(reoShowHints)) {
    SetHint(LeftEdit, P->LeftEditHint, true);
    SetHint(RightEdit, P->RightEditHint, true);
    SetHint(FirstLineEdit, P->FirstLineEditHint, true);
    SetHint(AlignmentCombo, P->AlignmentHint, true);
  }
  TStrings* Alignments = AlignmentCombo->Items();
  Alignments->Clear();
  Alignments->Add(P->AlignLeft);
  Alignments->Add(P->AlignCenter);
  Alignments->Add(P->AlignRight);
  if (RichEdit->EditorOptions.Contains(reoShowJustifyButton)) Alignments->Add(P->AlignJustify);
  qvrich::ComboFillDropDownList(AlignmentCombo);
  TStrings* Spacings = LineSpacingComboBox->Items();
  Spacings->Clear();
  Spacings->Add(SpacingText(P->SpacingSingle, "Single"));
  Spacings->Add(SpacingText(P->Spacing1_5, "1.5 Lines"));
  Spacings->Add(SpacingText(P->SpacingDouble, "Double"));
  Spacings->Add(SpacingText(P->SpacingAtLeast, "At least"));
  Spacings->Add(SpacingText(P->SpacingExactly, "Exactly"));
  Spacings->Add(SpacingText(P->SpacingMultiple, "Multiple"));
}

void TqvRichParagraphDialog::FormCreate(TObject*) {}

// The first field that holds no measure within 22 inches either way keeps the dialog open and
// takes the focus.
void TqvRichParagraphDialog::OKClick(TObject*) {
  TEdit* Fields[] = {LeftEdit, FirstLineEdit, RightEdit, BeforeParagraphEdit, AfterParagraphEdit};
  for (TEdit* Field : Fields) {
    if (!qvRichMeasureValid(FRichEdit, Field->Text(), -kFarthest, kFarthest)) {
      SetModalResult(mrNone);
      Field->SetFocus();
      return;
    }
  }
  if (!WithinParagraphEdit->Text().empty() &&
      !qvRichMeasureValid(FRichEdit, WithinParagraphEdit->Text(), -kFarthest, kFarthest)) {
    SetModalResult(mrNone);
    WithinParagraphEdit->SetFocus();
  }
}

void TqvRichParagraphDialog::LineSpacingComboBoxClick(TObject*) { WithinParagraphEdit->SetText(String()); }

void TqvRichParagraphDialog::LineSpacingComboBoxChange(TObject*) {
  switch (LineSpacingComboBox->ItemIndex()) {
    case 3:
    case 4: {
      // One sixth of an inch, to hundredths of the unit.
      double Value = FRichEdit->MeasurementUnits == muCentimeters ? std::trunc(2.537 / 6 * 100) / 100
                                                                   : std::trunc(100.0 / 6) / 100;
      WithinParagraphEdit->SetText(FRichEdit->FormatMeasure(Value));
      break;
    }
    case 5: WithinParagraphEdit->SetText("1"); break;
    default: WithinParagraphEdit->SetText(String()); break;
  }
}

// Only what a measure is written with reaches the field.
void TqvRichParagraphDialog::WithinParagraphEditKeyPress(TObject*, char& Key) {
  auto Code = static_cast<unsigned char>(Key);
  if (Code < 32) return;
  static const String Allowed = " -'cmCM";
  if ((Key >= '0' && Key <= '9') || Key == FormatSettings.DecimalSeparator || Allowed.find(Key) != String::npos) return;
  MessageBeep(0);
  Key = 0;
}

bool TqvCustomRichEdit::ShowParagraphDialog() {
  int Offset = 0, Right = 0, Start = 0;
  GetParaIndents(Offset, Right, Start);
  std::unique_ptr<TqvRichParagraphDialog, TDialogFree> Dialog(CreateForm<TqvRichParagraphDialog>(nullptr));
  Dialog->Setup(this);
  Dialog->LeftEdit->SetText(FormatMeasureRounded(0, TwipsToMeasure(Start + Offset)));
  Dialog->FirstLineEdit->SetText(FormatMeasureRounded(0, TwipsToMeasure(-Offset)));
  Dialog->RightEdit->SetText(FormatMeasureRounded(0, TwipsToMeasure(Right)));
  PARAFORMAT2 Format;
  GetParaFormat(Format);
  if (FRichEditVersion > 1) {
    Dialog->BeforeParagraphEdit->SetText(FormatMeasureRounded(100, TwipsToMeasure(Format.dySpaceBefore)));
    Dialog->AfterParagraphEdit->SetText(FormatMeasureRounded(100, TwipsToMeasure(Format.dySpaceAfter)));
    int Rule = std::clamp(int(Format.bLineSpacingRule), 0, 5);
    Dialog->LineSpacingComboBox->SetItemIndex(Rule);
    if (Rule == 5) Dialog->WithinParagraphEdit->SetText(FloatToStr(Format.dyLineSpacing / 20.0));
    else if (Rule >= 3) Dialog->WithinParagraphEdit->SetText(FormatMeasureRounded(100, TwipsToMeasure(Format.dyLineSpacing)));
    else Dialog->WithinParagraphEdit->SetText(String());
  }
  TqvParaAlignment Alignment = GetParaAlignment();
  int AlignmentIndex = int(Alignment);
  if (AlignmentIndex >= Dialog->AlignmentCombo->Items()->Count()) AlignmentIndex = -1;
  qvrich::ComboSetItemIndex(Dialog->AlignmentCombo, AlignmentIndex);
  if (FRichEditVersion < 2) {
    Dialog->BeforeParagraphEdit->SetText("0");
    Dialog->BeforeParagraphEdit->SetEnabled(false);
    Dialog->AfterParagraphEdit->SetText("0");
    Dialog->AfterParagraphEdit->SetEnabled(false);
    Dialog->WithinParagraphEdit->SetText(String());
    Dialog->WithinParagraphEdit->SetEnabled(false);
    Dialog->LineSpacingComboBox->SetItemIndex(0);
    Dialog->LineSpacingComboBox->SetEnabled(false);
  }
  if (Dialog->ShowModal() != mrOk) return false;
  int FirstLine = qvRichMeasureTwips(this, Dialog->FirstLineEdit->Text());
  int Left = qvRichMeasureTwips(this, Dialog->LeftEdit->Text());
  // A first line cannot start left of the page's margin: it goes at most the left indent back.
  FirstLine = std::max(FirstLine, -Left);
  int NewOffset = -FirstLine;
  int NewStart = Left + FirstLine;
  int NewRight = qvRichMeasureTwips(this, Dialog->RightEdit->Text());
  int Before = qvRichMeasureTwips(this, Dialog->BeforeParagraphEdit->Text());
  int After = qvRichMeasureTwips(this, Dialog->AfterParagraphEdit->Text());
  int Rule = std::max(Dialog->LineSpacingComboBox->ItemIndex(), 0);
  String Within = Dialog->WithinParagraphEdit->Text();
  int Spacing = 0;
  if (Rule == 5) {
    String Number = MeasureNumber(Within);
    Spacing = !Number.empty() && qvIsValidFloatText(Number) ? int(std::trunc(StrToFloat(Number) * 20)) : 20;
  } else if (!Within.empty()) {
    Spacing = qvRichMeasureTwips(this, Within);
  }
  int Chosen = qvrich::ComboItemIndex(Dialog->AlignmentCombo);
  TqvParaAlignment NewAlignment = Chosen >= 0 && Chosen <= 3 ? TqvParaAlignment(Chosen) : Alignment;
  SetParaFormat(477, NewAlignment, false, NewOffset, NewRight, NewStart, 0, nullptr, Before, After, Spacing, Rule);
  return true;
}
