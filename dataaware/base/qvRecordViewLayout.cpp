// This file implements how the record-view dialog builds its window (see qvRecordViewDialog.h):
// the rows it shows, the control chosen for each field, the vertical and horizontal layouts, the
// controls lent by the owner's form and given back, and the layout when the window is resized.
#include "qvRecordViewDialog.h"

#include <algorithm>

#include "DataSet.h"
#include "ExtCtrls.h"
#include "Field.h"
#include "Menus.h"
#include "ScrollBox.h"
#include "StrUtils.h"
#include "qvControlUtils.h"
#include "qvDataSetUtils.h"
#include "qvFieldSettings.h"
#include "qvPropAccess.h"
#include "qvStrUtils.h"

namespace {

// A control of a class another library registers, or null when the program does not link it.
TWinControl* MakeByClassName(const char* ClassName, TComponent* Owner) {
  TClass Class = GetClass(ClassName);
  if (Class == nullptr || Class->Factory == nullptr) return nullptr;
  TObject* Made = Class->Create(Owner);
  if (auto* Control = dynamic_cast<TWinControl*>(Made)) return Control;
  delete Made;
  return nullptr;
}

bool IsRichEdit(TControl* Control) { return qvClassInheritsFrom(Control->ClassType(), "TqvCustomRichEdit"); }

void SetBoolByName(TObject* Object, const char* Name, bool Value) {
  if (const TPropInfo* Prop = GetPropInfo(Object, Name)) SetOrdProp(Object, Prop, Value ? 1 : 0);
}

bool GetBoolByName(TObject* Object, const char* Name) {
  const TPropInfo* Prop = GetPropInfo(Object, Name);
  return Prop != nullptr && GetOrdProp(Object, Prop) != 0;
}

}  // namespace

// --- Rows and controls ------------------------------------------------------------------------------

std::vector<TqvRecordViewDialog::TEntry> TqvRecordViewDialog::Entries() {
  std::vector<TEntry> Result;
  TDataSet* DataSet = GetPrimaryDataSet();
  // A dataset that cannot be changed shows every row read-only.
  bool DataSetReadOnly = !DataSet->CanModify();
  if (FSelected->Count() > 0) {
    for (int i = 0; i < FSelected->Count(); ++i) {
      TqvLineParts Parts(FSelected->Strings(i), '\t');
      TEntry Entry;
      Entry.FieldName = Parts.Part(0);
      Entry.Field = DataSet->FindField(Entry.FieldName);
      if (Entry.Field != nullptr) {
        int Width = 0;
        Entry.DisplayWidth = TryStrToInt(Parts.Part(1), Width) ? Width : Entry.Field->DisplayWidth();
        // A line without a title shows the field's own label.
        Entry.Title = Parts.Part(2).empty() ? Entry.Field->DisplayLabel() : Parts.Part(2);
        Entry.ReadOnly = qvSameText(Parts.Part(3), "T") || Entry.Field->ReadOnly() || DataSetReadOnly;
      }
      Result.push_back(Entry);
    }
    return Result;
  }
  TFields* Fields = DataSet->Fields();
  for (int i = 0; i < Fields->Count(); ++i) {
    TField* Field = Fields->Fields(i);
    TEntry Entry;
    Entry.FieldName = Field->FieldName();
    Entry.Field = Field;
    Entry.DisplayWidth = Field->DisplayWidth();
    Entry.Title = Field->DisplayLabel();
    Entry.ReadOnly = Field->ReadOnly() || DataSetReadOnly;
    Result.push_back(Entry);
  }
  return Result;
}

bool TqvRecordViewDialog::IsFieldShown(const TEntry& Entry) const {
  if (Entry.Field == nullptr) return false;
  if (Entry.ReadOnly && Options.Contains(rvoHideReadOnly)) return false;
  return !(Entry.Field->Calculated() && Options.Contains(rvoHideCalculated));
}

bool TqvRecordViewDialog::GetCheckBoxValues(TField* Field, String& Checked, String& Unchecked) {
  TObject* Source = qvGetControlInfoSource(this, GetPrimaryDataSet());
  String Kind, Params;
  qvGetControlType(Source, Field->FieldName(), Kind, Params);
  if (!qvSameText(Kind, "CheckBox")) return false;
  TqvLineParts Values(Params, ';');
  Checked = Values.Part(0);
  Unchecked = Values.Part(1);
  return true;
}

int TqvRecordViewDialog::TextWidthIn(TFont* Font, const String& Text) const {
  HDC DC = GetDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, Font->Handle());
  SIZE Size{0, 0};
  GetTextExtentPoint32A(DC, Text.c_str(), int(Text.size()), &Size);
  SelectObject(DC, Old);
  ReleaseDC(nullptr, DC);
  return Size.cx;
}

int TqvRecordViewDialog::TextHeightIn(TFont* Font, const String& Text) const {
  HDC DC = GetDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, Font->Handle());
  SIZE Size{0, 0};
  GetTextExtentPoint32A(DC, Text.c_str(), int(Text.size()), &Size);
  SelectObject(DC, Old);
  ReleaseDC(nullptr, DC);
  return Size.cy;
}

int TqvRecordViewDialog::EntryWidth(const TEntry& Entry) const {
  return TextWidthIn(FForm->Font(), "0") * (Entry.DisplayWidth + 1) + 3;
}

int TqvRecordViewDialog::Clamp(int Width, int Available) const {
  if (Options.Contains(rvoShortenEditBox)) Width = std::min(Width, Available);
  if (Options.Contains(rvoConsistentEditWidth)) Width = std::max(Width, Available);
  return Width;
}

TControl* TqvRecordViewDialog::MakeLabel(const TEntry& Entry, bool ForCheckBox) {
  TLabel* Label = ForCheckBox ? new TqvLabel(FScrollBox) : new TLabel(FScrollBox);
  Label->SetAutoSize(false);
  Label->SetParent(FScrollBox);
  Label->SetParentFont(false);
  Label->Font()->Assign(FLabelFont);
  Label->SetCaption(qvReplaceChar(Entry.Title, '~', ' '));
  Label->SetTransparent(ControlOptions.Contains(rvcTransparentLabels));
  FCurrentLabel = Label;
  return Label;
}

TWinControl* TqvRecordViewDialog::MakeControl(const TEntry& Entry, bool& Borrowed, bool& CheckBox) {
  TField* Field = Entry.Field;
  Borrowed = CheckBox = false;
  if (Options.Contains(rvoUseCustomControls)) {
    String Checked, Unchecked;
    if (GetCheckBoxValues(Field, Checked, Unchecked)) {
      auto* Box = new TqvDBCheckBox(FScrollBox);
      Box->SetCaption(String());
      Box->SetWidth(17);
      Box->ValueChecked = Checked;
      Box->ValueUnchecked = Unchecked;
      CheckBox = true;
      return Box;
    }
    TWinControl* Found = nullptr;
    if (qvFindFieldEditControl(this, qvGetDialogOwnerForm(this), Field, Found) && Found != nullptr) {
      Borrowed = true;
      return Found;
    }
  }
  if (dynamic_cast<TDateTimeField*>(Field) != nullptr && Options.Contains(rvoUseDateTimePicker)) {
    if (TWinControl* Picker = MakeByClassName("TqvDBDateTimePicker", FScrollBox)) return Picker;
    return CreateDefaultEdit();
  }
  if (qvIsRichTextField(Field, true)) {
    if (TWinControl* Rich = MakeByClassName("TqvDBRichEdit", FScrollBox)) return Rich;
    return new TqvDBMemo(FScrollBox);
  }
  if (Field->DataType() == ftMemo || Field->DataType() == ftFmtMemo) {
    // With the edit frame on, the memo is the library's framed multi-line edit when it is linked.
    if (FEditFrame != nullptr && GetBoolByName(FEditFrame, "Enabled"))
      if (TWinControl* EditMemo = MakeByClassName("TqvDBEditMemo", FScrollBox)) return EditMemo;
    return new TqvDBMemo(FScrollBox);
  }
  if (dynamic_cast<TGraphicField*>(Field) != nullptr) return new TDBImage(FScrollBox);
  return CreateDefaultEdit();
}

bool TqvRecordViewDialog::PrepareDataControl(TWinControl* Control, const TEntry& Entry) {
  TField* Field = Entry.Field;
  Control->SetParent(FScrollBox);
  if (!qvSetControlDataSource(Control, DataSource()) || !qvSetControlDataField(Control, Field->FieldName()))
    return false;
  bool Fixed = Entry.ReadOnly || Field->Calculated();
  if (Fixed) {
    Control->SetColor(ReadOnlyColor);
    Control->SetTabStop(false);
  }
  auto* Edit = dynamic_cast<TCustomEdit*>(Control);
  if (Edit != nullptr && IsSingleLineEdit(Control) && Field->DataType() == ftString && Field->EditMask().empty())
    Edit->SetMaxLength(Field->Size());
  return true;
}

void TqvRecordViewDialog::ApplyPictureMask(TWinControl* Control, TField* Field) {
  if (!qvClassInheritsFrom(Control->ClassType(), "TqvDBCustomEdit")) return;
  String Mask;
  bool AutoFill = true, UseMask = true;
  qvGetPictureMaskInfo(qvGetPictureMaskSource(this, GetPrimaryDataSet()), Field->FieldName(), false, Mask, AutoFill,
                       UseMask);
  if (const TPropInfo* Prop = GetPropInfo(Control, "PictureMask")) SetStrProp(Control, Prop, Mask);
  SetBoolByName(Control, "AutoFill", AutoFill);
  SetBoolByName(Control, "PictureMaskFromDataSet", false);
  SetBoolByName(Control, "AllowInvalidExit", false);
}

void TqvRecordViewDialog::RememberCustomControl(TWinControl* Control) {
  TqvCustomControlItem Item;
  Item.Control = Control;
  Item.Left = Control->Left();
  Item.Top = Control->Top();
  Item.Width = Control->Width();
  Item.Height = Control->Height();
  Item.Parent = Control->Parent();
  Item.Visible = Control->Visible();
  if (const TPropInfo* Prop = GetPropInfo(Control, "ButtonEffects"); Prop != nullptr && Prop->Kind == tkClass) {
    if (TObject* Effects = GetObjectProp(Control, Prop)) {
      Item.Flat = GetBoolByName(Effects, "Flat");
      Item.Transparent = GetBoolByName(Effects, "Transparent");
    }
  }
  Control->FreeNotification(this);
  if (Item.Parent != nullptr) Item.Parent->FreeNotification(this);
  FCustomControls.push_back(Item);
}

void TqvRecordViewDialog::RestoreCustomControls() {
  for (TqvCustomControlItem& Item : FCustomControls) {
    TWinControl* Control = Item.Control;
    if (Control == nullptr || Control->Parent() != FScrollBox) continue;
    Control->SetVisible(false);
    Control->SetParent(Item.Parent);
    Control->SetBounds(Item.Left, Item.Top, Item.Width, Item.Height);
    Control->SetVisible(Item.Visible);
    if (Item.Parent != nullptr && qvClassInheritsFrom(Item.Parent->ClassType(), "TqvDBGrid") &&
        !Control->ComponentState().Contains(csDesigning)) {
      // A grid's cell control goes back without its border and with its own button look.
      qvSetControlBorderStyle(Control, false);
      if (const TPropInfo* Prop = GetPropInfo(Control, "ButtonEffects"); Prop != nullptr && Prop->Kind == tkClass) {
        if (TObject* Effects = GetObjectProp(Control, Prop)) {
          SetBoolByName(Effects, "Transparent", Item.Transparent);
          SetBoolByName(Effects, "Flat", Item.Flat);
        }
      }
    }
  }
  FCustomControls.clear();
  FControls.clear();
  FLabels.clear();
}

// --- Vertical layout --------------------------------------------------------------------------------

void TqvRecordViewDialog::BuildVertical() {
  TqvRecordViewForm* Form = FForm;
  TqvVertEditSpacing* Spacing = FEditSpacing->VerticalView();
  TRect Work = Screen->WorkAreaRect();
  int W0 = TextWidthIn(Form->Font(), "0");
  int Y = FMargin->TopOffset;
  int N = FShownNavigator != nullptr ? FShownNavigator->GetButtonsWidth() : 0;
  int B = FUserPanel != nullptr ? FUserPanel->Height() : 0;
  std::vector<TEntry> All = Entries();

  int L = 0, Wc = 0;
  for (const TEntry& Entry : All) {
    if (!IsFieldShown(Entry)) continue;
    L = std::max(L, TextWidthIn(FLabelFont, qvReplaceChar(Entry.Title, '~', ' ')));
    Wc = std::max(Wc, W0 * (Entry.DisplayWidth + 1) + 3);
  }
  FControlX = FMargin->LeftOffset + L + Spacing->BetweenLabelEdit;
  int Inset = FRecordPanel->Left() + FScrollBox->Left();
  int Right = FMargin->RightOffset;
  int Width = FFormPosition->Width < 1 ? std::max(Inset + FControlX + Wc + Right + 14, N + Right + 14)
                                        : std::max(FFormPosition->Width, N + Right + 14);
  Width = std::min(Width, Work.Width() - Right - 14);
  Form->SetWidth(Width);
  int A = Form->Width() - FControlX - Right - 20;

  int Wp = 0, LastHeight = 0;
  int TextHeight = TextHeightIn(Form->Font(), "0");
  for (const TEntry& Entry : All) {
    if (!IsFieldShown(Entry)) continue;
    bool Accept = true;
    DoBeforeCreateControl(Form, Entry.Field, Accept);
    if (!Accept) continue;
    bool Borrowed = false, CheckBox = false;
    TWinControl* Control = MakeControl(Entry, Borrowed, CheckBox);
    TControl* Label = MakeLabel(Entry, CheckBox);
    static_cast<TLabel*>(Label)->SetFocusControl(Control);
    static_cast<TCustomLabel*>(Label)->SetAlignment(taRightJustify);
    Label->SetBounds(FMargin->LeftOffset, Y + (CheckBox ? 1 : 4), L, TextHeightIn(FLabelFont, "0"));
    DoAfterCreateControl(Form, Entry.Field, Label);

    if (CheckBox) {
      auto* Box = static_cast<TqvDBCheckBox*>(Control);
      Box->Label = static_cast<TLabel*>(Label);
      Label->FreeNotification(Box);
      if (!PrepareDataControl(Control, Entry)) {
        delete Control;
        delete Label;
        continue;
      }
      Box->SetBounds(FControlX, Y, 17, Box->Height());
      FControls.push_back(Box);
      DoAfterCreateControl(Form, Entry.Field, Box);
    } else if (Borrowed) {
      RememberCustomControl(Control);
      static_cast<TLabel*>(Label)->SetFocusControl(Control);
      Control->SetParent(FScrollBox);
      Control->SetVisible(true);
      if (!PrepareDataControl(Control, Entry)) {
        delete Label;
        continue;
      }
      SetBoolByName(Control, "Ctl3D", true);
      if (!(FEditFrame != nullptr && GetBoolByName(FEditFrame, "Enabled"))) qvSetControlBorderStyle(Control, true);
      int C = W0 * (Entry.DisplayWidth + 1) + 3;
      if (IsRichEdit(Control)) C = A;
      else if (Options.Contains(rvoSetControlMinWidth)) C = std::max(C, Label->Width() + 1);
      C = Clamp(C, A);
      Control->SetBounds(FControlX, Y, C, Control->Height());
      FControls.push_back(Control);
      DoAfterCreateControl(Form, Entry.Field, Control);
      Control->SetWidth(Clamp(Control->Width(), A));
      Control->HandleNeeded();
    } else {
      if (!PrepareDataControl(Control, Entry)) {
        delete Control;
        delete Label;
        continue;
      }
      int C = W0 * (Entry.DisplayWidth + 1) + 3;
      if (!IsSingleLineEdit(Control) && Options.Contains(rvoMaximizeMemoWidth)) C = A;
      if (qvClassInheritsFrom(Control->ClassType(), "TqvDBDateTimePicker")) C += GetSystemMetrics(SM_CXVSCROLL);
      if (Options.Contains(rvoEnterToTab)) {
        if (auto* Memo = dynamic_cast<TCustomMemo*>(Control)) Memo->WantReturns = false;
        else if (qvClassInheritsFrom(Control->ClassType(), "TqvDBEditMemo")) SetBoolByName(Control, "WantReturns", false);
      }
      if (Options.Contains(rvoSetControlMinWidth)) C = std::max(C, Label->Width() + 1);
      C = Clamp(C, A);
      int H = IsSingleLineEdit(Control) ? Control->Height() : TextHeight * LinesPerMemoControl + 8;
      if (Entry.ReadOnly) Control->SetEnabled(false);
      ApplyPictureMask(Control, Entry.Field);
      Control->SetBounds(FControlX, Y, C, H);
      FControls.push_back(Control);
      DoAfterCreateControl(Form, Entry.Field, Control);
      Control->SetWidth(Clamp(Control->Width(), A));
    }
    Y += Control->Height() + Spacing->BetweenRow;
    LastHeight = Control->Height();
    Wp = std::max(Wp, Control->Width());
  }

  TMainMenu* MainMenu = dynamic_cast<TMainMenu*>(FMenu);
  bool HasMenu = MainMenu != nullptr && MainMenu->Items()->Count() > 0;
  if (HasMenu) Form->SetMenu(FMenu);
  Y += FMargin->BottomOffset - Spacing->BetweenRow;

  FComputedHeight = GetSystemMetrics(SM_CYCAPTION) + FRecordPanel->Top() + Y + B + 21;
  if (HasMenu && BorderStyle != bsDialog) FComputedHeight += GetSystemMetrics(SM_CYMENU);
  int Height = FFormPosition->Height >= 1 ? std::min(FFormPosition->Height, FComputedHeight) : FComputedHeight;
  Height = std::min(Height, Work.Height() - 12);
  Form->SetHeight(Height);

  TControlScrollBar* Vert = FScrollBox->VertScrollBar();
  Vert->Margin = 6;
  Vert->SetIncrement(std::max(1, Spacing->BetweenRow + LastHeight));
  Vert->SetRange(Y);
  bool ScrollsVertically = FRecordPanel->Height() - 12 < Y;
  if (ScrollsVertically) Form->SetWidth(Form->Width() + GetSystemMetrics(SM_CXHTHUMB));

  FComputedWidth = Inset + FControlX + Wp + Right + 14;
  Form->SetWidth(std::min(Form->Width(), Work.Width()));
  if (Form->Width() < FComputedWidth) Form->SetHeight(Form->Height() + GetSystemMetrics(SM_CYVTHUMB));

  TControlScrollBar* Horz = FScrollBox->HorzScrollBar();
  Horz->Margin = 6;
  int Range = Options.Contains(rvoConsistentEditWidth) ? Wp : FControlX + Wp + Right;
  if (ScrollsVertically) Range -= GetSystemMetrics(SM_CXHTHUMB);
  Horz->SetRange(Range);
  PlaceOKCancel();
}

// --- Horizontal layout ------------------------------------------------------------------------------

void TqvRecordViewDialog::BuildHorizontal() {
  TqvRecordViewForm* Form = FForm;
  TqvHorzEditSpacing* Spacing = FEditSpacing->HorizontalView();
  TRect Work = Screen->WorkAreaRect();
  int W0 = TextWidthIn(Form->Font(), "0");
  int Y = FMargin->TopOffset;
  int N = FShownNavigator != nullptr ? FShownNavigator->GetButtonsWidth() : 0;
  int B = FUserPanel != nullptr ? FUserPanel->Height() : 0;
  std::vector<TEntry> All = Entries();

  FControlX = FMargin->LeftOffset;
  int Wc = 0;
  for (const TEntry& Entry : All)
    if (IsFieldShown(Entry)) Wc = std::max(Wc, W0 * (Entry.DisplayWidth + 1) + 3);
  int Inset = FRecordPanel->Left() + FScrollBox->Left();
  int Right = FMargin->RightOffset;
  int Width = FFormPosition->Width < 1
                  ? std::max({Inset + FControlX + Wc + Right + 14, N + Right + 14, 400})
                  : std::max(FFormPosition->Width, N + Right + 14);
  Width = std::min(Width, Work.Width() - Right - 14);
  Form->SetWidth(Width);
  int A = Form->Width() - FScrollBox->Left() - FControlX - Right - 20;

  int C = 0, R = 0, H = 0, Extent = 0, Wp = 0;
  int TextHeight = TextHeightIn(Form->Font(), "0");
  auto NewRow = [&] {
    C = 0;
    Y += Spacing->BetweenLabelEdit + R + Spacing->BetweenRow + H;
    R = 0;
  };
  for (const TEntry& Entry : All) {
    if (Entry.Field == nullptr) {
      // A line naming no field of the dataset ends the row.
      NewRow();
      continue;
    }
    if (!IsFieldShown(Entry)) continue;
    bool Accept = true;
    DoBeforeCreateControl(Form, Entry.Field, Accept);
    if (!Accept) continue;
    bool Borrowed = false, CheckBox = false;
    TWinControl* Control = MakeControl(Entry, Borrowed, CheckBox);
    String Title = qvReplaceChar(Entry.Title, '~', ' ');
    int Lw = TextWidthIn(FLabelFont, Title);
    int W = W0 * (Entry.DisplayWidth + 1) + 3;
    if (Options.Contains(rvoMaximizeMemoWidth) && (dynamic_cast<TBlobField*>(Entry.Field) != nullptr || (Borrowed && IsRichEdit(Control)))) W = A;
    if (CheckBox) W = 17;
    if (C > 0 && A < std::max(W, Spacing->LabelIndent + Lw) + Spacing->BetweenEditsInRow + C) NewRow();

    TControl* Label = MakeLabel(Entry, CheckBox);
    static_cast<TLabel*>(Label)->SetFocusControl(Control);
    int LabelHeight = TextHeightIn(FLabelFont, "0");
    Label->SetBounds(FMargin->LeftOffset + C + Spacing->LabelIndent, Y, Lw, LabelHeight);
    H = LabelHeight;
    int Span = Lw + Spacing->LabelIndent;
    DoAfterCreateControl(Form, Entry.Field, Label);

    int Left = FControlX + C;
    int Top = Y + Spacing->BetweenLabelEdit + LabelHeight;
    if (Borrowed) {
      RememberCustomControl(Control);
      Control->SetParent(FScrollBox);
      Control->SetVisible(true);
    }
    if (!PrepareDataControl(Control, Entry)) {
      if (!Borrowed) delete Control;
      delete Label;
      continue;
    }
    if (CheckBox) {
      static_cast<TqvDBCheckBox*>(Control)->Label = static_cast<TLabel*>(Label);
      Label->FreeNotification(Control);
      Control->SetBounds(Left, Top, 17, Control->Height());
      FControls.push_back(Control);
      DoAfterCreateControl(Form, Entry.Field, Control);
      Control->SetHeight(std::max(R, Control->Height()));
    } else {
      if (Borrowed) {
          SetBoolByName(Control, "Ctl3D", true);
        if (!(FEditFrame != nullptr && GetBoolByName(FEditFrame, "Enabled"))) qvSetControlBorderStyle(Control, true);
        if (IsRichEdit(Control) && Options.Contains(rvoMaximizeMemoWidth)) W = std::max(Wc, A);
        if (Options.Contains(rvoShortenEditBox)) W = std::min(W, A);
      } else if (!IsSingleLineEdit(Control)) {
        Left = FControlX;
        if (Options.Contains(rvoMaximizeMemoWidth)) W = std::max(Wc, A);
      }
      if (qvClassInheritsFrom(Control->ClassType(), "TqvDBDateTimePicker")) W += GetSystemMetrics(SM_CXVSCROLL);
      if (Options.Contains(rvoSetControlMinWidth)) W = std::max(W, Lw + 1);
      if (!Borrowed) W = Clamp(W, A);
      int Ht = Borrowed || IsSingleLineEdit(Control) ? Control->Height() : TextHeight * LinesPerMemoControl + 8;
      if (Entry.ReadOnly && !Borrowed) Control->SetEnabled(false);
      if (Options.Contains(rvoEnterToTab)) {
        if (auto* Memo = dynamic_cast<TCustomMemo*>(Control)) Memo->WantReturns = false;
        else if (qvClassInheritsFrom(Control->ClassType(), "TqvDBEditMemo")) SetBoolByName(Control, "WantReturns", false);
      }
      Control->SetBounds(Left, Top, W, Ht);
      FControls.push_back(Control);
      DoAfterCreateControl(Form, Entry.Field, Control);
      if (!Borrowed) ApplyPictureMask(Control, Entry.Field);
      if (Borrowed) Control->HandleNeeded();
    }
    R = std::max(R, Control->Height());
    Wp = std::max(Wp, Control->Width());
    C = (Control->Left() - FControlX) + std::max(Control->Width(), Span) + Spacing->BetweenEditsInRow;
    Extent = std::max(Extent, C - Spacing->BetweenEditsInRow);
  }

  TMainMenu* MainMenu = dynamic_cast<TMainMenu*>(FMenu);
  bool HasMenu = MainMenu != nullptr && MainMenu->Items()->Count() > 0;
  if (HasMenu) Form->SetMenu(FMenu);
  Y += Spacing->BetweenLabelEdit + R + H + FMargin->BottomOffset;

  FComputedHeight = GetSystemMetrics(SM_CYCAPTION) + FRecordPanel->Top() + Y + B + 21;
  if (HasMenu && BorderStyle != bsDialog) FComputedHeight += GetSystemMetrics(SM_CYMENU);
  int Height = FFormPosition->Height >= 1 ? std::min(FFormPosition->Height, FComputedHeight) : FComputedHeight;
  Height = std::min(Height, Work.Height() - 12);
  Form->SetHeight(Height);

  TControlScrollBar* Vert = FScrollBox->VertScrollBar();
  Vert->Margin = 6;
  Vert->SetIncrement(std::max(1, R + Spacing->BetweenRow));
  Vert->SetRange(Y);
  bool ScrollsVertically = FRecordPanel->Height() - 12 < Y;

  FComputedWidth = Inset + FControlX + Extent + Right + 14;
  // Wide enough: the window takes the width its rows need, never below the 400 pixels it started
  // from, so that the navigator and the OK and Cancel buttons keep their room.
  if (Form->Width() >= FComputedWidth && FFormPosition->Width < 1)
    Form->SetWidth(std::min(Form->Width(), std::max(FComputedWidth + (ScrollsVertically ? GetSystemMetrics(SM_CXHTHUMB) : 0), 400)));
  TControlScrollBar* Horz = FScrollBox->HorzScrollBar();
  Horz->Margin = 6;
  int Range = FControlX + Wp + Right;
  if (ScrollsVertically) Range -= GetSystemMetrics(SM_CXHTHUMB);
  Horz->SetRange(Range);
  PlaceOKCancel();
}

// --- OK, Cancel and resizing ------------------------------------------------------------------------

void TqvRecordViewDialog::PlaceOKCancel() {
  if (FUserPanel == nullptr) return;
  int PanelWidth = FUserPanel->Width();
  int W = FOKButton->Width();
  if (PanelWidth - 10 < 2 * W + 31) {
    // Too narrow for the usual places: both buttons from the left.
    FOKButton->SetLeft(5);
    FCancelButton->SetLeft(W + 18);
    return;
  }
  FOKButton->SetLeft(PanelWidth - 2 * W - 36);
  FCancelButton->SetLeft(PanelWidth - W - 23);
}

void TqvRecordViewDialog::FormResize(TObject*) {
  TqvRecordViewForm* Form = FForm;
  if (Form == nullptr) return;
  if (Options.Contains(rvoConsistentEditWidth) && Style == rvsVertical) {
    int W = Form->Width() - FControlX - FMargin->RightOffset - 20;
    if (Form->Height() < FComputedHeight) W -= GetSystemMetrics(SM_CXHTHUMB);
    for (TWinControl* Control : FControls) Control->SetWidth(W);
  }
  PlaceOKCancel();
  if (FTopPanel != nullptr && FShownNavigator != nullptr) FShownNavigator->SetWidth(FTopPanel->Width() - 10);
  if (OnResizeDialog) OnResizeDialog(Form);
}
