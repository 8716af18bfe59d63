// This file implements the print dialog, the display-format editor, the progress window and the
// password prompt of the report engine.
#include "ZR_Dialogs.h"

#include "ScopeGuard.h"
#include "StrUtils.h"
#include "ZR_ClassMemo.h"
#include "ZR_ClassReport.h"
#include "ZR_Prntr.h"
#include "ZR_Utils.h"
#include "Printers.h"

VELBOR_IMPLEMENT_CLASS(TzrPrintForm)
VELBOR_HANDLERS(TzrPrintForm, VELBOR_HANDLER(FormCreate), VELBOR_HANDLER(FormDeactivate), VELBOR_HANDLER(CB1DrawItem),
                VELBOR_HANDLER(CB1Click), VELBOR_HANDLER(PropButtonClick), VELBOR_HANDLER(RB3Click),
                VELBOR_HANDLER(E2Click), VELBOR_HANDLER(zrSpeedButton1Click), VELBOR_HANDLER(zrSpeedButton2Click),
                VELBOR_HANDLER(Label3Click), VELBOR_HANDLER(CollateCBClick), VELBOR_HANDLER(PB1Paint))
VELBOR_FIELDS(TzrPrintForm, VELBOR_FIELD(GroupBox1), VELBOR_FIELD(Label4), VELBOR_FIELD(CB1),
              VELBOR_FIELD(PropButton), VELBOR_FIELD(GroupBox2), VELBOR_FIELD(RB1), VELBOR_FIELD(RB2),
              VELBOR_FIELD(RB3), VELBOR_FIELD(E2), VELBOR_FIELD(Label2), VELBOR_FIELD(GroupBox3),
              VELBOR_FIELD(Label1), VELBOR_FIELD(E1), VELBOR_FIELD(Panel1), VELBOR_FIELD(zrSpeedButton1),
              VELBOR_FIELD(zrSpeedButton2), VELBOR_FIELD(CollateCB), VELBOR_FIELD(Label3), VELBOR_FIELD(PB1),
              VELBOR_FIELD(Label5), VELBOR_FIELD(CB2), VELBOR_FIELD(Button1), VELBOR_FIELD(Button2))

VELBOR_IMPLEMENT_CLASS(TzrFmtForm)
VELBOR_HANDLERS(TzrFmtForm, VELBOR_HANDLER(FormCreate), VELBOR_HANDLER(FormActivate), VELBOR_HANDLER(CatLBClick),
                VELBOR_HANDLER(TypeLBClick), VELBOR_HANDLER(SplEditEnter))
VELBOR_FIELDS(TzrFmtForm, VELBOR_FIELD(GroupBox2), VELBOR_FIELD(CatLB), VELBOR_FIELD(TypeLB), VELBOR_FIELD(Label1),
              VELBOR_FIELD(DecEdit), VELBOR_FIELD(Label2), VELBOR_FIELD(SplEdit), VELBOR_FIELD(Label3),
              VELBOR_FIELD(FormatEdit), VELBOR_FIELD(Button1), VELBOR_FIELD(Button2))

VELBOR_IMPLEMENT_CLASS(TzrProgressForm)
VELBOR_HANDLERS(TzrProgressForm, VELBOR_HANDLER(Button1Click))
VELBOR_FIELDS(TzrProgressForm, VELBOR_FIELD(Label1), VELBOR_FIELD(Label2), VELBOR_FIELD(Button1))

VELBOR_IMPLEMENT_CLASS(TzrPasswForm)
VELBOR_HANDLERS(TzrPasswForm, VELBOR_HANDLER(FormCreate), VELBOR_HANDLER(FormShow))
VELBOR_FIELDS(TzrPasswForm, VELBOR_FIELD(L1), VELBOR_FIELD(L2), VELBOR_FIELD(E1), VELBOR_FIELD(OK),
              VELBOR_FIELD(Cancel))

// ---- Print dialog

TzrPrintForm::TzrPrintForm(TComponent* AOwner)
    : TForm(AOwner), FPrinterBitmap(new TBitmap()), FCollateImg(new TBitmap()), FNonCollateImg(new TBitmap()) {
  DrawGlyph(zgPrinter, FPrinterBitmap);
  DrawCollatePicture(true, FCollateImg);
  DrawCollatePicture(false, FNonCollateImg);
}

TzrPrintForm::~TzrPrintForm() {
  if (ModalResult() != mrOk && !FPrinterRestored) {
    FPrinterRestored = true;
    try {
      zrPrinter()->SelectPrinter(OldIndex);
    } catch (...) {
      // The printer list changed meanwhile: the engine printer keeps the one it has.
    }
  }
  delete FPrinterBitmap;
  delete FCollateImg;
  delete FNonCollateImg;
}

void TzrPrintForm::FormCreate(TObject*) {
  TPrinter* printer = Printer();
  CB1->Items()->Assign(printer->Printers());
  int index = 0;
  try {
    index = printer->PrinterIndex();
  } catch (const Exception&) {
    index = 0;
  }
  CB1->SetItemIndex(index);
  OldIndex = zrPrinter()->PrinterIndex();
  SetCaption(EngineString(53040));
  GroupBox1->SetCaption(EngineString(53041));
  PropButton->SetCaption(EngineString(53042));
  GroupBox3->SetCaption(EngineString(53043));
  GroupBox2->SetCaption(EngineString(53044));
  RB1->SetCaption(EngineString(53045));
  RB2->SetCaption(EngineString(53046));
  RB3->SetCaption(EngineString(53047));
  Label2->SetCaption(EngineString(53048));
  Label4->SetCaption(EngineString(53049));
  Label1->SetCaption(EngineString(53050));
  Label3->SetCaption(EngineString(53051));
  Label5->SetCaption(EngineString(53052));
  Button1->SetCaption(EngineString(55000));
  Button2->SetCaption(EngineString(55001));
  CB2->Items()->Clear();
  for (int id : {53053, 53054, 53055}) CB2->Items()->Add(EngineString(id));
  CB2->SetItemIndex(0);
  CB2->SetLeft(Label5->Left() + Label5->Width() + 11);
  TBitmap up, down;
  DrawGlyph(zgSpinUp, &up);
  DrawGlyph(zgSpinDown, &down);
  zrSpeedButton1->SetGlyph(&up);
  zrSpeedButton2->SetGlyph(&down);
  PB1->Invalidate();
}

void TzrPrintForm::CB1DrawItem(TWinControl*, int Index, TRect Rect, TOwnerDrawState State) {
  TCanvas* c = CB1->Canvas();
  c->Brush()->SetColor(State.Contains(odSelected) ? clHighlight : clWindow);
  c->FillRect(Rect);
  HDC dc = c->Handle();
  HDC source = FPrinterBitmap->Canvas()->Handle();
  GdiTransparentBlt(dc, Rect.Left + 2, Rect.Top, 18, 16, source, 0, 0, 18, 16, COLORREF(zrGlyphTransparent));
  c->Font()->SetColor(State.Contains(odSelected) ? clHighlightText : clWindowText);
  c->Brush()->SetStyle(bsClear);
  if (Index >= 0 && Index < CB1->Items()->Count()) c->TextOut(Rect.Left + 24, Rect.Top + 1, CB1->Items()->Strings(Index));
  c->Brush()->SetStyle(bsSolid);
}

void TzrPrintForm::CB1Click(TObject*) {
  if (CB1->ItemIndex() >= 0) zrPrinter()->SelectPrinter(CB1->ItemIndex());
}

void TzrPrintForm::PropButtonClick(TObject*) { zrPrinter()->ShowDeviceProperties(); }

void TzrPrintForm::RB3Click(TObject*) {
  if (E2->CanFocus()) E2->SetFocus();
}

void TzrPrintForm::E2Click(TObject*) { RB3->SetChecked(true); }

void TzrPrintForm::zrSpeedButton1Click(TObject*) { E1->SetText(IntToStr(StrToIntDef(E1->Text(), 0) + 1)); }

void TzrPrintForm::zrSpeedButton2Click(TObject*) {
  int n = StrToIntDef(E1->Text(), 0);
  E1->SetText(IntToStr(n >= 2 ? n - 1 : 1));
}

void TzrPrintForm::Label3Click(TObject*) { CollateCB->SetChecked(!CollateCB->Checked()); }

void TzrPrintForm::CollateCBClick(TObject*) { PB1->Invalidate(); }

void TzrPrintForm::PB1Paint(TObject*) {
  TCanvas* c = PB1->Canvas();
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(TRect(0, 0, PB1->Width(), PB1->Height()));
  HDC dc = c->Handle();
  TBitmap* picture = CollateCB->Checked() ? FCollateImg : FNonCollateImg;
  TRect target = CollateCB->Checked() ? TRect(8, 0, 82, 53) : TRect(0, 8, 92, 48);
  GdiTransparentBlt(dc, target.Left, target.Top, target.Width(), target.Height(), picture->Canvas()->Handle(), 0, 0,
                    picture->Width(), picture->Height(), RGB(192, 192, 192));
}

void TzrPrintForm::FormDeactivate(TObject*) {}

void TzrPrintForm::Deactivate() {
  TForm::Deactivate();
  // A printer chosen and then cancelled is not kept.
  if (ModalResult() != mrNone && ModalResult() != mrOk && !FPrinterRestored) {
    FPrinterRestored = true;
    zrPrinter()->SelectPrinter(OldIndex);
  }
}

// ---- Display-format editor

TzrFmtForm::TzrFmtForm(TComponent* AOwner) : TForm(AOwner) {}

void TzrFmtForm::FormCreate(TObject*) {
  SetCaption(EngineString(53420));
  Label1->SetCaption(EngineString(53422));
  Label2->SetCaption(EngineString(53423));
  Label3->SetCaption(EngineString(53424));
  Button1->SetCaption(EngineString(55000));
  Button2->SetCaption(EngineString(55001));
}

void TzrFmtForm::FormActivate(TObject*) {
  CatLB->Items()->Clear();
  for (int i = 0; i < 5; ++i) CatLB->Items()->Add(EngineString(55130 + i));
  CatLB->SetItemIndex(FormatCategory(Format) < 5 ? FormatCategory(Format) : 0);
  CatLBClick(nullptr);
  if (FormatIndex(Format) < TypeLB->Items()->Count()) TypeLB->SetItemIndex(FormatIndex(Format));
  UpdateFields();
}

void TzrFmtForm::CatLBClick(TObject*) {
  TypeLB->Items()->Clear();
  int category = CatLB->ItemIndex() < 0 ? 0 : CatLB->ItemIndex();
  for (int i = 0; i < 5; ++i) {
    String name = EngineString(55150 + 5 * category + i);
    if (!name.empty()) TypeLB->Items()->Add(name);
  }
  TypeLB->SetItemIndex(0);
  UpdateFields();
}

void TzrFmtForm::TypeLBClick(TObject*) { UpdateFields(); }

void TzrFmtForm::UpdateFields() {
  bool number = CatLB->ItemIndex() == zrfcNumber;
  EnableControls({Label1, Label2, DecEdit, SplEdit}, number);
  if (number) {
    DecEdit->SetText(IntToStr(FormatDecimals(Format)));
    char separator = FormatSeparator(Format);
    SplEdit->SetText(separator != 0 ? String(1, separator) : String());
  } else {
    DecEdit->SetText(String());
    SplEdit->SetText(String());
  }
  bool custom = TypeLB->ItemIndex() == zrfiCustom;
  EnableControls({Label3, FormatEdit}, custom);
  FormatEdit->SetText(custom ? FormatStr : String());
}

void TzrFmtForm::SplEditEnter(TObject*) { SplEdit->SelectAll(); }

void TzrFmtForm::TakeFormat() {
  String separator = SplEdit->Text();
  Format = MakeFormatCode(std::max(CatLB->ItemIndex(), 0), std::max(TypeLB->ItemIndex(), 0),
                          StrToIntDef(DecEdit->Text(), 0), separator.empty() ? ',' : separator[0]);
  if (FormatEdit->Enabled()) FormatStr = FormatEdit->Text();
}

void TzrFmtForm::DoClose(TCloseAction& Action) {
  if (ModalResult() == mrOk) TakeFormat();
  TForm::DoClose(Action);
}

// ---- Progress window

TzrProgressForm::TzrProgressForm(TComponent* AOwner) : TForm(AOwner) {}

int TzrProgressForm::Run(TzrReport* Report) {
  Button1->SetCaption(EngineString(55001));
  FReport = Report;
  Label2->SetCaption(String());
  TForm::SetModalResult(mrNone);
  ::PostMessageA(Handle(), kStartMessage, 0, 0);
  FShowing = true;
  TScopeGuard shown([this] {
    FShowing = false;
    FReport = nullptr;
  });
  return ShowModal();
}

void TzrProgressForm::Dispatch(TMessage& Message) {
  if (Message.Msg == kStartMessage) {
    if (FStep) FStep(this);
    return;
  }
  TForm::Dispatch(Message);
}

void TzrProgressForm::Button1Click(TObject*) {
  if (FReport != nullptr) FReport->Terminated = true;
  TForm::SetModalResult(mrCancel);
}

// ---- Password prompt

TzrPasswForm::TzrPasswForm(TComponent* AOwner) : TForm(AOwner) {}

void TzrPasswForm::FormCreate(TObject*) {
  SetCaption(EngineString(55653));
  L1->SetCaption(EngineString(55654));
  L2->SetCaption(EngineString(55655));
  OK->SetCaption(EngineString(55000));
  Cancel->SetCaption(EngineString(55001));
}

void TzrPasswForm::FormShow(TObject*) {
  if (E1->CanFocus()) E1->SetFocus();
}

bool AskTemplatePassword(String& Password) {
  auto* form = CreateForm<TzrPasswForm>(nullptr);
  TScopeGuard free([form] { form->Free(); });
  if (form->ShowModal() != mrOk) return false;
  Password = form->E1->Text();
  return true;
}
