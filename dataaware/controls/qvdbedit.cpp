// This file implements the picture settings, the masked edit's picture checks and the data-aware
// edit's settings, data link and focus (see qvdbedit.h).
#include "qvdbedit.h"

#include <cmath>

#include "DateTimeFormat.h"
#include "Dialogs.h"
#include "FloatFormat.h"
#include "Qvintl.h"
#include "ScopeGuard.h"
#include "qvControlUtils.h"
#include "qvDataSetUtils.h"
#include "qvDateScan.h"
#include "qvFieldSettings.h"
#include "qvPictureValidator.h"

VELBOR_IMPLEMENT_CLASS(TqvDBPicture)
VELBOR_PUBLISHED(TqvDBPicture,
  Prop("PictureMaskFromDataSet", &Self::PictureMaskFromDataSet).Default(true),
  Prop("PictureMask", &Self::PictureMask, &Self::SetPictureMask),
  Prop("AutoFill", &Self::AutoFill, &Self::SetAutoFill).Default(true),
  Prop("AllowInvalidExit", &Self::AllowInvalidExit, &Self::SetAllowInvalidExit).Default(false))

VELBOR_IMPLEMENT_CLASS(TqvCustomMaskEdit)

namespace {
// The picture is written with the edit unless it comes from the dataset (and is empty there).
bool IsPictureStored(TObject* Instance) {
  TqvDBPicture* Picture = static_cast<TqvDBCustomEdit*>(Instance)->GetPicture();
  return !Picture->IsMaskFromDataSet() || !Picture->PictureMask().empty();
}
}  // namespace

VELBOR_IMPLEMENT_CLASS(TqvDBCustomEdit)
VELBOR_PUBLISHED(TqvDBCustomEdit,
  Prop("DataField", &Self::DataField, &Self::SetDataField),
  Prop("DataSource", &Self::DataSource, &Self::SetDataSource),
  Prop("ReadOnly", &Self::ReadOnly, &Self::SetReadOnly).Default(false))

VELBOR_IMPLEMENT_CLASS(TqvDBEdit)
VELBOR_PUBLISHED(TqvDBEdit,
  Prop("Controller", &Self::Controller, &Self::SetController),
  Prop("DisableThemes", &Self::DisableThemes).Default(false),
  Prop("AutoFillDate", &Self::AutoFillDate).Default(true),
  Prop("EditAlignment", &Self::EditAlignment, &Self::SetEditAlignment).Default(eaLeftAlignEditing),
  Prop("Frame", &Self::Frame, &Self::SetFrame),
  Prop("Picture", &Self::GetPicture, &Self::SetPicture).Stored(&IsPictureStored),
  Prop("MaskStoreLiteralTemplate", &Self::MaskStoreLiteralTemplate).Default(false),
  Prop("ShowVertScrollBar", &Self::ShowVertScrollBar, &Self::SetShowVertScrollBar).Default(false),
  Prop("UnboundDataType", &Self::UnboundDataType, &Self::SetUnboundDataType).Default(qvDefault),
  Prop("UnboundAlignment", &Self::UnboundAlignment, &Self::SetUnboundAlignment).Default(taLeftJustify),
  Prop("UsePictureMask", &Self::UsePictureMask, &Self::SetUsePictureMask).Default(true),
  Prop("WantReturns", &Self::WantReturns, &Self::SetWantReturns),
  Prop("WordWrap", &Self::WordWrap, &Self::SetWordWrap),
  Prop("OnCheckValue", &Self::OnCheckValue))

namespace {

struct TEditClassRegistration {
  TEditClassRegistration() { RegisterClass(TqvDBEdit::StaticClass()); }
} EditClassRegistration;

}  // namespace

// --- TqvDBPicture -----------------------------------------------------------------------------------

TqvDBPicture::TqvDBPicture(TComponent* AOwner) : FOwner(AOwner) {}

TDataSet* TqvDBPicture::BoundDataSet() const {
  auto* Edit = dynamic_cast<TqvDBCustomEdit*>(FOwner);
  if (Edit == nullptr || Edit->DataSource() == nullptr) return nullptr;
  return Edit->DataSource()->DataSet();
}

String TqvDBPicture::BoundFieldName() const {
  auto* Edit = dynamic_cast<TqvDBCustomEdit*>(FOwner);
  return Edit != nullptr ? Edit->DataField() : String();
}

bool TqvDBPicture::IsMaskFromDataSet() const {
  if (!PictureMaskFromDataSet) return false;
  TDataSet* DataSet = BoundDataSet();
  return DataSet != nullptr && !BoundFieldName().empty() && qvGetPictureMasks(DataSet) != nullptr;
}

String TqvDBPicture::PictureMask() const {
  if (!IsMaskFromDataSet()) return FPictureMask;
  String Mask;
  bool Fill = true, Use = true;
  qvGetPictureMaskInfo(BoundDataSet(), BoundFieldName(), true, Mask, Fill, Use);
  return Mask;
}

bool TqvDBPicture::AutoFill() const {
  if (!IsMaskFromDataSet()) return FAutoFill;
  String Mask;
  bool Fill = true, Use = true;
  qvGetPictureMaskInfo(BoundDataSet(), BoundFieldName(), true, Mask, Fill, Use);
  return Mask.empty() ? FAutoFill : Fill;
}

bool TqvDBPicture::AllowInvalidExit() const { return IsMaskFromDataSet() ? false : FAllowInvalidExit; }

void TqvDBPicture::SetPictureMask(const String& Value) {
  if (IsMaskFromDataSet() && !qvGetTableFieldPicture(BoundDataSet(), BoundFieldName()).empty()) {
    MessageDlg("Picture mask already defined in Paradox table. ", mtWarning, {mbOK}, 0);
    return;
  }
  FPictureMask = Value;
  StoreInDataSet(true, false);
}

void TqvDBPicture::SetAutoFill(bool Value) {
  FAutoFill = Value;
  StoreInDataSet(false, true);
}

void TqvDBPicture::SetAllowInvalidExit(bool Value) {
  if (!IsMaskFromDataSet()) FAllowInvalidExit = Value;
}

void TqvDBPicture::StoreInDataSet(bool MaskChanged, bool AutoFillChanged) {
  if (!IsMaskFromDataSet()) return;
  qvSetPictureMaskInfo(BoundDataSet(), BoundFieldName(), FPictureMask, FAutoFill, true, MaskChanged, AutoFillChanged,
                       false);
}

void TqvDBPicture::Assign(TPersistent* Source) {
  auto* Other = dynamic_cast<TqvDBPicture*>(Source);
  if (Other == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  FPictureMask = Other->PictureMask();
  FAutoFill = Other->AutoFill();
}

// --- TqvCustomMaskEdit ------------------------------------------------------------------------------

TqvCustomMaskEdit::TqvCustomMaskEdit(TComponent* AOwner)
    : TCustomMaskEdit(AOwner), FPicture(new TqvDBPicture(this)), FFrame(new TqvEditFrame(this)) {}

TqvCustomMaskEdit::~TqvCustomMaskEdit() {
  delete FFrame;
  delete FPicture;
}

void TqvCustomMaskEdit::SetPicture(TqvDBPicture* Value) { FPicture->Assign(Value); }

void TqvCustomMaskEdit::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  RecreateWnd();
}

void TqvCustomMaskEdit::SetWantReturns(bool Value) {
  if (FWantReturns == Value) return;
  FWantReturns = Value;
  RecreateWnd();
}

void TqvCustomMaskEdit::SetShowVertScrollBar(bool Value) {
  if (FShowVertScrollBar == Value) return;
  FShowVertScrollBar = Value;
  RecreateWnd();
}

bool TqvCustomMaskEdit::HasPicture() { return FUsePictureMask && !GetPicture()->PictureMask().empty(); }

void TqvCustomMaskEdit::DoCheckValue(bool Passes) {
  if (OnCheckValue) OnCheckValue(this, Passes);
}

bool TqvCustomMaskEdit::IsValidText(const String& Text) {
  String Mask = GetPicture()->PictureMask();
  bool Passes = true;
  if (!Text.empty() && !Mask.empty()) {
    TqvPictureValidator Validator(Mask, GetPicture()->AutoFill());
    String Checked = Text;
    Passes = Validator.MatchPicture(Checked, false) == prComplete;
  }
  DoCheckValue(Passes);
  return Passes;
}

bool TqvCustomMaskEdit::IsEmptyMaskedText() {
  if (MaskStoreLiteralTemplate || HasPicture() || EditMask().empty()) return false;
  String Stripped = StripLiterals(EditText());
  while (!Stripped.empty() && Stripped.back() == ' ') Stripped.pop_back();
  return Stripped.empty();
}

String TqvCustomMaskEdit::StripLiterals(const String& Text) {
  String Mask = EditMask();
  String Result = Text;
  std::size_t Pos = 0;
  for (int Offset = 0; Offset < int(Mask.size()); ++Offset) {
    TMaskCharType Type = MaskGetCharType(Mask, Offset);
    if (Type == mcFieldSeparator) break;
    if (Type == mcLiteral || Type == mcIntlLiteral) {
      if (Pos < Result.size()) Result.erase(Pos, 1);
    } else if (Type == mcMask || Type == mcMaskOpt) {
      ++Pos;
    }
  }
  char Blank = MaskGetMaskBlank(Mask);
  if (Mask.find(mDirReverse) != String::npos) {
    while (!Result.empty() && Result.front() == Blank) Result.erase(0, 1);
  } else {
    while (!Result.empty() && Result.back() == Blank) Result.pop_back();
  }
  for (char& C : Result)
    if (C == Blank) C = ' ';
  return Result;
}

void TqvCustomMaskEdit::SetTextFromPicture(const String& Value) {
  FSettingTextFromPicture = true;
  TScopeGuard Restore([&] { FSettingTextFromPicture = false; });
  SetText(Value);
}

void TqvCustomMaskEdit::SetEditRect() {}

// The picture typing rule: the text the key would make is matched against the picture; what
// matches (with the literals the picture fills in) replaces the text, what cannot beeps.
void TqvCustomMaskEdit::KeyPress(char& Key) {
  TCustomMaskEdit::KeyPress(Key);
  FKeyHandledByPicture = false;
  if (Key != 0 && HasPicture()) {
    unsigned char Code = static_cast<unsigned char>(Key);
    String Old = Text();
    int Caret = SelStart();
    int Selected = SelLength();
    if (Code == VK_BACK) {
      StartEditing();
      if (OnCheckValue && !TCustomEdit::ReadOnly()) {
        String After = Old;
        if (Selected > 0) After.erase(std::size_t(Caret), std::size_t(Selected));
        else if (Caret > 0) After.erase(std::size_t(Caret - 1), 1);
        IsValidText(After);
      }
      return;
    }
    if (Code < 32) {
      if (Code == VK_RETURN && !FWantReturns) Key = 0;
      return;
    }
    String New = Old.substr(0, std::size_t(Caret)) + Key + Old.substr(std::size_t(Caret + Selected));
    if (MaxLength() > 0 && int(New.size()) > MaxLength() && New.size() > Old.size()) return;
    TqvPictureValidator Validator(GetPicture()->PictureMask(), GetPicture()->AutoFill());
    bool Fill = GetPicture()->AutoFill();
    int Result = Validator.MatchPicture(New, Fill);
    if (Fill && Result == prError) {
      // The picture may want a literal here: a blank in its place lets the validator put it,
      // then the character goes after it.
      New = Old.substr(0, std::size_t(Caret)) + ' ' + Old.substr(std::size_t(Caret + Selected));
      Result = Validator.MatchPicture(New, Fill);
      if (Result != prError) {
        New += Key;
        Result = Validator.MatchPicture(New, Fill);
      }
    }
    bool AllSelected = Selected > 0 && Selected == int(Old.size());
    int Growth = int(New.size()) - int(Old.size());
    bool Beeped = false;
    bool Incomplete = false;
    switch (Result) {
      case prComplete:
      case prIncomplete:
      case prIncompNoFill: {
        Incomplete = Result != prComplete;
        StartEditing();
        if (!TCustomEdit::ReadOnly()) {
          SetTextFromPicture(New);
          int NewCaret;
          if (AllSelected) NewCaret = int(New.size());
          else if (!Incomplete) NewCaret = Growth > 0 ? Caret + Growth : Caret + 1;
          else NewCaret = Selected == 0 ? Caret + Growth : Caret + 1;
          SetSelStart(NewCaret);
          SetSelLength(0);
        }
        Key = 0;
        FKeyHandledByPicture = true;
        break;
      }
      case prError:
        if (Caret + Selected < int(Old.size())) {
          // Typing inside the text: the edit takes the key, the check waits for the whole text.
          Incomplete = true;
        } else {
          MessageBeep(0);
          Beeped = true;
          Key = 0;
        }
        break;
      default:
        break;
    }
    if (!Beeped && !TCustomEdit::ReadOnly()) DoCheckValue(!Incomplete);
  }
  if (Key == char(VK_RETURN) && !FWantReturns) Key = 0;
}

void TqvCustomMaskEdit::DoExit() {
  TCustomMaskEdit::DoExit();
  FExitRefused = false;
  if (HasPicture() && Modified() && !IsValidText(Text()) && !GetPicture()->AllowInvalidExit()) {
    SelectAll();
    if (CanFocus()) SetFocus();
    SetModified(true);
    MessageBeep(0);
    FExitRefused = true;
  }
}

// --- TqvDBCustomEdit: settings ----------------------------------------------------------------------

TqvDBCustomEdit::TqvDBCustomEdit(TComponent* AOwner) : inherited(AOwner) {
  TCustomEdit::SetReadOnly(true);
  SetAutoSize(true);
  ControlStyle.Include(csReplicatable);
}

TqvDBCustomEdit::~TqvDBCustomEdit() {
  // The link may still speak while the window goes: nothing is shown any more.
  if (FDataLink != nullptr) FDataLink->OnDataChange = TNotifyEvent();
  qvSetController(FController, nullptr, this);
  delete FCanvas;
  FCanvas = nullptr;
}

void TqvDBCustomEdit::SetDataSource(TDataSource* Value) {
  if (Value != nullptr && Value != DataSource()) TCustomEdit::SetReadOnly(true);
  inherited::SetDataSource(Value);
}

void TqvDBCustomEdit::SetDataField(const String& Value) {
  if (!ComponentState().Contains(csDesigning)) {
    TField* Old = Field();
    if (Old != nullptr && (Old->DataType() == ftString || Old->DataType() == ftWideString) &&
        MaxLength() == Old->Size())
      SetMaxLength(0);
  }
  inherited::SetDataField(Value);
}

void TqvDBCustomEdit::SetReadOnly(bool Value) {
  FDataLink->SetReadOnly(Value);
  bool HasDataSet = DataSource() != nullptr && DataSource()->DataSet() != nullptr;
  if (ComponentState().Contains(csLoading) || (Value && HasDataSet)) return;
  TCustomEdit::SetReadOnly(Value);
}

TqvDBPicture* TqvDBCustomEdit::GetPicture() { return TqvCustomMaskEdit::GetPicture(); }

void TqvDBCustomEdit::SetPicture(TqvDBPicture* Value) {
  TqvCustomMaskEdit::SetPicture(Value);
  if (HasPicture() || Field() == nullptr) SetEditMask(String());
  else SetEditMask(Field()->EditMask());
  if (!GetPicture()->PictureMask().empty()) GetPicture()->StoreInDataSet(true, false);
}

void TqvDBCustomEdit::SetUnboundAlignment(TAlignment Value) {
  if (FUnboundAlignment == Value) return;
  FUnboundAlignment = Value;
  Invalidate();
}

void TqvDBCustomEdit::SetEditAlignment(TqvEditAlignment Value) {
  if (FEditAlignment == Value) return;
  FEditAlignment = Value;
  RecreateWnd();
}

void TqvDBCustomEdit::SetController(TqvController* Value) {
  TqvController* Old = FController;
  qvSetController(FController, Value, this);
  if (Value == nullptr || Value == Old) return;
  if (auto* Shared = dynamic_cast<TqvEditFrame*>(Value->Frame())) Frame()->Assign(Shared);
  RecreateWnd();
}

String TqvDBCustomEdit::GetDisplayFormat() {
  if (!FDisplayFormat.empty()) return FDisplayFormat;
  if (auto* Numeric = dynamic_cast<TNumericField*>(Field())) return Numeric->DisplayFormat();
  return String();
}

void TqvDBCustomEdit::SetDisplayFormat(const String& Value) { FDisplayFormat = Value; }

bool TqvDBCustomEdit::CannotAutoEdit() {
  TDataSource* Source = DataSource();
  return Source != nullptr && !Source->AutoEdit && Source->State() != dsEdit && Source->State() != dsInsert;
}

bool TqvDBCustomEdit::IsMemoField() {
  TField* F = Field();
  return F != nullptr && dynamic_cast<TBlobField*>(F) != nullptr &&
         (F->DataType() == ftMemo || F->DataType() == ftOraBlob || F->DataType() == ftOraClob);
}

TRect TqvDBCustomEdit::GetEditTextRect() {
  TRect R = ClientRect();
  if (GetShowButton()) R.Right -= GetButtonWidth();
  if (Frame()->Enabled()) R.Right -= 1;
  return R;
}

void TqvDBCustomEdit::SetFieldAlignment(TAlignment Value) { FFieldAlignment = Value; }

void TqvDBCustomEdit::ReportInvalidValue(TField* Field) { qvIntl->ValidationErrorUsingMask(this, Field); }

void TqvDBCustomEdit::StartEditing() {
  if (!CannotAutoEdit()) FDataLink->Edit();
}

bool TqvDBCustomEdit::IsWholeTextSelected() { return SelStart() == 0 && SelLength() == int(Text().size()); }

bool TqvDBCustomEdit::IsTransparentFrame() {
  return Frame()->Transparent() && Frame()->IsFrameActive() && !qvIsDesigning(this);
}

TAlignment TqvDBCustomEdit::GetEffectiveAlignment() {
  if (Parent() != nullptr && qvIsInInspector(this)) return taLeftJustify;
  if (Field() != nullptr) return FFieldAlignment;
  return FUnboundAlignment;
}

TWinControl* TqvDBCustomEdit::ParentGrid(const char* ClassName) {
  TWinControl* P = Parent();
  return P != nullptr && qvClassInheritsFrom(P->ClassType(), ClassName) ? P : nullptr;
}

bool TqvDBCustomEdit::IsInFocusedGrid() {
  TWinControl* Grid = ParentGrid("TqvDBGrid");
  return Grid != nullptr && Grid->Focused();
}

bool TqvDBCustomEdit::GridDrawsRowLines() {
  TWinControl* Grid = ParentGrid("TqvDBGrid");
  if (Grid == nullptr) return true;
  long long Options = qvGetOrdPropByName(Grid, "Options");
  constexpr long long RowLines = 1LL << 6, RowLinesDisableFixed = 1LL << 25;
  return (Options & RowLines) != 0 || (Options & RowLinesDisableFixed) == 0;
}

String TqvDBCustomEdit::FieldEditText() {
  TField* F = Field();
  if (F == nullptr) return String();
  return IsMemoField() ? F->AsString() : F->EditText();
}

TqvEditDataType TqvDBCustomEdit::DateTimeKind() {
  TField* F = Field();
  if (F == nullptr) return FUnboundDataType;
  if (dynamic_cast<TDateField*>(F) != nullptr) return qvEdtDate;
  if (dynamic_cast<TTimeField*>(F) != nullptr) return qvEdtTime;
  if (dynamic_cast<TDateTimeField*>(F) != nullptr) return qvEdtDateTime;
  return qvDefault;
}

bool TqvDBCustomEdit::MakeUnboundWritable() {
  if (ReadOnly()) return false;
  TCustomEdit::SetReadOnly(false);
  return true;
}

// --- TqvDBCustomEdit: the data link -----------------------------------------------------------------

void TqvDBCustomEdit::MarkModified(bool Value) {
  TField* F = Field();
  if (Value && F != nullptr && (ReadOnly() || F->ReadOnly())) return;
  if (Value && DataSource() != nullptr && DataSource()->State() != dsBrowse) FDataLink->Modified();
  SetModified(Value);
}

void TqvDBCustomEdit::CommitToRecord() {
  bool WasModified = Modified();
  try {
    FDataLink->UpdateRecord();
  } catch (...) {
    SelectAll();
    if (CanFocus()) SetFocus();
    SetModified(WasModified);
    throw;
  }
}

void TqvDBCustomEdit::ShowFieldText(TField* F) {
  bool Memo = IsMemoField();
  if ((FFocusedState || Memo) && FDataLink->CanModify()) SetText(Memo ? F->AsString() : F->EditText());
  else if (Memo) SetText(F->AsString());
  else SetEditText(F->DisplayText());
}

void TqvDBCustomEdit::DataChange() {
  FShowingField = true;
  TScopeGuard Restore([&] { FShowingField = false; });
  TField* F = Field();
  if (F == nullptr) {
    FFieldAlignment = taLeftJustify;
    SetEditMask(String());
    SetText(ComponentState().Contains(csDesigning) ? Name() : String());
    return;
  }
  if (F->Alignment() != FFieldAlignment) {
    SetEditText(String());
    SetFieldAlignment(F->Alignment());
  }
  if (!HasPicture()) SetEditMask(F->EditMask());
  if (!ComponentState().Contains(csDesigning) && (F->DataType() == ftString || F->DataType() == ftWideString) &&
      MaxLength() == 0)
    SetMaxLength(F->Size());
  ShowFieldText(F);
}

void TqvDBCustomEdit::EditingChange() { TCustomEdit::SetReadOnly(!FDataLink->Editing()); }

void TqvDBCustomEdit::UpdateData() {
  if (TCustomEdit::ReadOnly()) return;
  TField* F = Field();
  if (HasPicture()) {
    if (!IsValidText(Text())) {
      TDataSet* DataSet = DataSource() != nullptr ? DataSource()->DataSet() : nullptr;
      if (TqvInvalidValueEvent Handler = qvGetInvalidValueEvent(DataSet)) Handler(DataSet, F);
      else ReportInvalidValue(F);
    }
  } else if (!IsEmptyMaskedText()) {
    ValidateEdit();
  }
  if (!Modified() || F == nullptr) return;
  if (IsMemoField()) {
    F->SetAsString(GetFieldText());
    return;
  }
  if (!FDataLink->Editing() && !qvIsCalcOrLookupField(F)) return;
  String Value = GetFieldText();
  if (Value.empty()) {
    F->SetEditText(String());
    return;
  }
  if (dynamic_cast<TDateTimeField*>(F) != nullptr && qvIsValidDateText(Value)) {
    TDateTime Date = 0;
    if (qvScanDateTextPivot(Value, Date, 1950)) {
      TDateTime Whole = 0;
      double Time = TryStrToDateTime(Value, Whole) ? std::fabs(Whole - std::trunc(Whole)) : 0;
      F->SetAsDateTime(Date + Time);
    }
    return;
  }
  if (IsEmptyMaskedText()) {
    F->Clear();
    return;
  }
  String Format = GetDisplayFormat();
  if (dynamic_cast<TNumericField*>(F) != nullptr && !Format.empty()) {
    double Number = 0;
    if (!qvDisplayTextToFloat(Value, Number, Format)) {
      // The text is no number: the user hears it and stays here; the field keeps its value.
      bool Integral = dynamic_cast<TFloatField*>(F) == nullptr;
      throw EConvertError("'" + Value + (Integral ? "' n'est pas une valeur entière correcte"_a
                                                  : "' n'est pas une valeur en virgule flottante correcte"));
    }
    if (dynamic_cast<TFloatField*>(F) != nullptr) F->SetAsFloat(Number);
    else F->SetAsInteger(int(std::lround(Number)));
    return;
  }
  F->SetEditText(Value);
}

bool TqvDBCustomEdit::EditCanModify() {
  TField* F = Field();
  if (F == nullptr) return true;
  if (qvIsCalcOrLookupField(F) && !F->ReadOnly() && F->DataSet() != nullptr && F->DataSet()->CanModify())
    return true;
  return FDataLink->Edit();
}

void TqvDBCustomEdit::Reset() {
  if (Field() != nullptr || DataSource() != nullptr) FDataLink->Reset();
  else SetText(FSavedText);
  SelectAll();
  MarkModified(false);
  IsValidText(Text());
}

void TqvDBCustomEdit::Change() {
  if (!ComponentState().Contains(csLoading) && !FShowingField) {
    if (DataSource() == nullptr) {
      MarkModified(true);
    } else if (FSettingTextFromPicture) {
      SetModified(true);
    } else if (DataSource()->State() == dsEdit || DataSource()->State() == dsInsert) {
      MarkModified(true);
    }
  }
  TqvCustomMaskEdit::Change();
}

void TqvDBCustomEdit::Loaded() {
  inherited::Loaded();
  TField* F = Field();
  if (F != nullptr && (F->DataType() == ftString || F->DataType() == ftWideString) && MaxLength() == F->Size())
    SetMaxLength(0);
  if (DataSource() == nullptr && !ReadOnly()) TCustomEdit::SetReadOnly(false);
}

void TqvDBCustomEdit::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FController && FController != nullptr) FController = nullptr;
}

// --- TqvDBCustomEdit: focus -------------------------------------------------------------------------

void TqvDBCustomEdit::SetFocusedState(bool Value) {
  if (FFocusedState == Value) return;
  FFocusedState = Value;
  if (GetEffectiveAlignment() != taLeftJustify && EditMask().empty()) Invalidate();
  if (DataSource() != nullptr) FDataLink->Reset();
  else if (Value) FSavedText = Text();
}

void TqvDBCustomEdit::DoEnter() {
  inherited::DoEnter();
  if (ParentGrid("TqvDBGrid") != nullptr) SelectAll();
  if (DataSource() == nullptr) SetModified(false);
}

void TqvDBCustomEdit::DoExit() { inherited::DoExit(); }

void TqvDBCustomEdit::CMEnter(TMessage& Message) {
  SetEditRect();
  SetFocusedState(true);
  if (AutoSelect && GetKeyState(VK_LBUTTON) >= 0) SelectAll();
  TqvCustomMaskEdit::Dispatch(Message);
  if (!CanEditText()) Invalidate();
  if (IsTransparentFrame()) {
    Frame()->UseTransparentStyle = false;
    if (HandleAllocated())
      SetWindowLongA(FHandle, GWL_EXSTYLE, GetWindowLongA(FHandle, GWL_EXSTYLE) & ~LONG(WS_EX_TRANSPARENT));
    Invalidate();
  }
  if (Frame()->Enabled()) Invalidate();
}

// The text goes into the field first: a refusal leaves the focus here and the exit goes no
// further.
void TqvDBCustomEdit::CMExit(TMessage& Message) {
  CommitToRecord();
  TqvCustomMaskEdit::Dispatch(Message);
  if (!FExitRefused) {
    SetFocusedState(false);
    SetSelStart(0);
  }
  String Format = GetDisplayFormat();
  if (Field() == nullptr && !Format.empty()) {
    double Number = 0;
    if (TryStrToFloat(Text(), Number)) SetText(FormatFloat(Format, Number));
  }
  if (!CanEditText()) Invalidate();
  if (IsTransparentFrame()) {
    Frame()->UseTransparentStyle = true;
    RecreateWnd();
  }
  if (Frame()->Enabled()) {
    Invalidate();
    InvalidateFrameBackground(this);
  }
}
