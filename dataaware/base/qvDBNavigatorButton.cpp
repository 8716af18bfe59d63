// This file implements TqvNavButton, the navigator's button: its glyph and hint by style, what a
// click does, the enable rule, the repeat of held buttons and the dialogs of the dialog buttons
// (see qvDBNavigator.h).
#include "qvDBNavigator.h"

#include <cstdlib>

#include "DataSet.h"
#include "Dialogs.h"
#include "Forms.h"
#include "Qvintl.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "Timer.h"
#include "qvControlUtils.h"

VELBOR_IMPLEMENT_CLASS(TqvNavButton)
VELBOR_PUBLISHED(TqvNavButton,
  Prop("LineBreak", &Self::LineBreak, &Self::SetLineBreak).Default(false),
  Prop("Dialog", &Self::Dialog, &Self::SetDialog),
  Prop("Style", &Self::Style, &Self::SetStyle).Default(nbsFirst),
  Prop("Index", &Self::GetIndex, &Self::SetIndex),
  Prop("OnRowChanged", &Self::OnRowChanged),
  Prop("OnUpdateState", &Self::OnUpdateState),
  Prop("OnAfterCreateDialog", &Self::OnAfterCreateDialog))

TqvNavButton::TqvNavButton(TComponent* AOwner) : TqvSpeedButton(AOwner) {}

TqvNavButton::~TqvNavButton() { Destroying(); }

// --- The list and the navigator -----------------------------------------------------------------

TqvNavButtons* TqvNavButton::GetButtons() {
  if (FButtons != nullptr) return FButtons;
  if (Parent() == nullptr) {
    try {
      throw EInvalidOperation("Parent propety of TqvNavButton not defined");
    } catch (Exception&) {
      Application->HandleException(this);
    }
    Abort();
  }
  return static_cast<TqvDBNavigator*>(Parent())->Buttons();
}

TqvDBNavigator* TqvNavButton::GetNavigator() { return GetButtons()->GetNavigator(); }

namespace {
// The navigator of a button, without complaint when there is none yet.
TqvDBNavigator* NavigatorOf(TqvNavButton* Button) { return dynamic_cast<TqvDBNavigator*>(Button->Parent()); }
}  // namespace

void TqvNavButton::SetParent(TWinControl* AParent) {
  // Checked first: a button never stands in another control.
  if (AParent != nullptr && dynamic_cast<TqvDBNavigator*>(AParent) == nullptr) {
    MessageDlg("Parent of TqvNavButton must be TqvDBNavigator", mtError, TMsgDlgButtons{mbOK}, 0);
    Abort();
  }
  TqvSpeedButton::SetParent(AParent);
}

int TqvNavButton::GetIndex() {
  TqvDBNavigator* Navigator = NavigatorOf(this);
  if (Navigator != nullptr) {
    for (int i = 0; i < Navigator->ControlCount(); ++i)
      if (Navigator->Controls(i) == this) return i;
  }
  throw EInvalidOperation("Button parameter of RetrieveIndex not in Buttons list");
}

void TqvNavButton::SetIndex(int Value) {
  TqvDBNavigator* Navigator = NavigatorOf(this);
  if (Navigator == nullptr || Navigator->ComponentState().Contains(csLoading) || Value == GetIndex()) return;
  SetZOrderPosition(Value);
  Navigator->Buttons()->Arrange();
}

void TqvNavButton::SetLineBreak(bool Value) {
  if (FLineBreak == Value) return;
  FLineBreak = Value;
  TqvDBNavigator* Navigator = NavigatorOf(this);
  if (Navigator != nullptr && !ComponentState().Contains(csLoading)) Navigator->Buttons()->Arrange();
}

bool TqvNavButton::IsInsideNavigator() {
  TqvDBNavigator* Navigator = NavigatorOf(this);
  return Navigator != nullptr && Top() + Height() < Navigator->Height() && Left() + Width() < Navigator->Width();
}

void TqvNavButton::AssignDefaultName() {
  TqvDBNavigator* Navigator = NavigatorOf(this);
  if (Navigator == nullptr || !Navigator->ComponentState().Contains(csDesigning) || Navigator->Owner() == nullptr ||
      Navigator->Name().empty() || !Name().empty())
    return;
  String Base = Navigator->Name() + (FStyle == nbsCustom ? String("Button") : qvNavStyleName(FStyle));
  for (int Suffix = 0;; ++Suffix) {
    try {
      SetName(Suffix == 0 ? Base : Base + IntToStr(Suffix));
      return;
    } catch (EComponentError&) {
    }
  }
}

// --- Style, glyph and hint ----------------------------------------------------------------------

void TqvNavButton::SetStyle(TqvNavButtonStyle Value) {
  FStyle = Value;
  if (GetImageIndex() == -1) SetDefaultGlyph();
  Hint = GetHintText();
  UpdateButtonState(usOther);
}

int TqvNavButton::GetImageIndex() const {
  // The standard glyph reads as no index of the button's own.
  if (qvIsNavImageList(ImageList())) return -1;
  return TqvSpeedButton::GetImageIndex();
}

void TqvNavButton::SetImageIndex(int Value) {
  if (Value == -1) {
    SetDefaultGlyph();
    return;
  }
  TqvDBNavigator* Navigator = NavigatorOf(this);
  SetImageList(Navigator ? Navigator->ImageList() : nullptr);
  TqvSpeedButton::SetImageIndex(Value);
}

void TqvNavButton::SetDefaultGlyph() {
  if (FStyle == nbsCustom || ComponentState().Contains(csLoading)) return;
  TqvSpeedButton::SetImageIndex(2 * int(FStyle));
  SetNumGlyphs(2);
  SetImageList(qvNavImageList());
}

String TqvNavButton::GetHintText() {
  TqvDBNavigator* Navigator = NavigatorOf(this);
  bool International = Navigator && Navigator->Options().Contains(noUseInternationalText);
  if (!Hint.empty() && !International) return Hint;
  if (FStyle == nbsCustom) return Hint;
  TPersistent* Hints = qvIntl->Navigator()->Hints();
  String Text;
  if (const TPropInfo* Prop = GetPropInfo(Hints, qvNavStyleName(FStyle) + "Hint"))
    if (Prop->Kind == tkLString) Text = GetStrProp(Hints, Prop);
  if (FStyle == nbsPriorPage || FStyle == nbsNextPage) Text = qvFormatPageHint(Text, Navigator ? Navigator->MoveBy() : 10);
  return Text;
}

void TqvNavButton::Loaded() {
  TqvSpeedButton::Loaded();
  // A button stored without an index of its own takes its standard glyph now.
  SetImageIndex(GetImageIndex());
  TqvDBNavigator* Navigator = NavigatorOf(this);
  if (Navigator && Navigator->Options().Contains(noUseInternationalText)) Hint = GetHintText();
}

// --- Enable rule --------------------------------------------------------------------------------

void TqvNavButton::UpdateButtonState(TqvUpdateCause Cause) {
  bool Was = Enabled();
  TqvDBNavigator* Navigator = NavigatorOf(this);
  if (OnUpdateState) {
    try {
      OnUpdateState(Navigator, this, Cause);
    } catch (...) {
      // A handler that fails leaves the button as it is.
      return;
    }
  }
  if (Cause == usDataChanged && OnRowChanged) OnRowChanged(this);
  // A handler decided, or the button is the program's own.
  if (Enabled() != Was || FStyle == nbsCustom) return;
  TDataSet* DataSet = Navigator ? Navigator->GetDataSet(false) : nullptr;
  if (DataSet == nullptr) {
    SetEnabled(false);
    return;
  }
  bool A = Navigator->FDataLink->Active() && Navigator->Enabled();
  bool Editing = Navigator->FDataLink->Editing();
  bool Enable = false;
  switch (FStyle) {
    case nbsFirst:
    case nbsPrior:
    case nbsPriorPage:
      Enable = A && !DataSet->Bof();
      break;
    case nbsNext:
    case nbsLast:
    case nbsNextPage:
      Enable = A && !DataSet->Eof();
      break;
    case nbsInsert:
    case nbsRefresh:
      Enable = A && DataSet->CanModify();
      break;
    case nbsDelete:
      Enable = A && DataSet->CanModify() && !(DataSet->Bof() && DataSet->Eof());
      break;
    case nbsEdit:
      Enable = A && DataSet->CanModify() && !Editing;
      break;
    case nbsPost:
    case nbsCancel:
      Enable = A && DataSet->CanModify() && Editing;
      break;
    case nbsSaveBookmark:
      Enable = A;
      break;
    case nbsRestoreBookmark: {
      if (Cause == usEditingChanged) return;
      // The bookmark found is one the dataset accepts.
      Enable = A && !Navigator->SaveOrFindBookmark(DataSet, false).empty();
      break;
    }
    case nbsFilterDialog:
    case nbsRecordViewDialog:
    case nbsLocateDialog:
    case nbsSearchDialog:
      Enable = A && (FDialog == nullptr || FDialog->GetPrimaryDataSet() != nullptr);
      break;
    case nbsCustom:
      return;
  }
  SetEnabled(Enable);
}

// --- Click --------------------------------------------------------------------------------------

void TqvNavButton::Click() {
  TqvSpeedButton::Click();
  // A button of the program's own does what its OnClick does, with or without a dataset.
  if (FStyle == nbsCustom) return;
  try {
    TqvDBNavigator* Navigator = GetNavigator();
    TDataSet* DataSet = Navigator->GetDataSet(true);
    switch (FStyle) {
      case nbsFirst: DataSet->First(); break;
      case nbsPrior: DataSet->Prior(); break;
      case nbsNext: DataSet->Next(); break;
      case nbsLast: DataSet->Last(); break;
      case nbsInsert: DataSet->Insert(); break;
      case nbsDelete:
        if (Navigator->Options().Contains(noConfirmDelete) &&
            MessageDlg(qvIntl->Navigator()->ConfirmDeleteMessage, mtConfirmation, mbOKCancel, 0) != mrOk)
          break;
        DataSet->Delete();
        break;
      case nbsEdit: DataSet->Edit(); break;
      case nbsPost: DataSet->Post(); break;
      case nbsCancel: DataSet->Cancel(); break;
      case nbsRefresh: DataSet->Refresh(); break;
      case nbsPriorPage: DataSet->MoveBy(-std::abs(Navigator->MoveBy())); break;
      case nbsNextPage: DataSet->MoveBy(std::abs(Navigator->MoveBy())); break;
      case nbsSaveBookmark: Navigator->SaveOrFindBookmark(DataSet, true); break;
      case nbsRestoreBookmark:
        try {
          DataSet->GotoBookmark(Navigator->SaveOrFindBookmark(DataSet, false));
        } catch (...) {
          // The record is gone: so is the bookmark, silently.
          Navigator->ForgetBookmark(DataSet);
        }
        break;
      case nbsFilterDialog:
      case nbsRecordViewDialog:
      case nbsLocateDialog:
      case nbsSearchDialog:
        if (TqvCustomDialog* Dialog = FindDialog(DataSet)) Dialog->Execute();
        break;
      case nbsCustom: break;
    }
  } catch (...) {
    StopRepeatTimer();
    throw;
  }
}

// --- Repeat -------------------------------------------------------------------------------------

bool TqvNavButton::Repeats() const {
  switch (FStyle) {
    case nbsFirst:
    case nbsPrior:
    case nbsNext:
    case nbsLast:
    case nbsPriorPage:
    case nbsNextPage:
      return true;
    default:
      return false;
  }
}

void TqvNavButton::StartRepeatTimer() {
  TqvDBNavigator* Navigator = NavigatorOf(this);
  if (Navigator == nullptr) return;
  if (FRepeatTimer == nullptr) {
    FRepeatTimer = FSpareTimer != nullptr ? FSpareTimer : new TTimer(this);
    FSpareTimer = nullptr;
  }
  FRepeatTimer->SetEnabled(false);
  FRepeatTimer->SetInterval(unsigned(Navigator->RepeatInterval()->InitialDelay));
  FRepeatTimer->SetOnTimer(TNotifyEvent(this, &TqvNavButton::RepeatTimerTick));
  FRepeatTimer->SetEnabled(true);
}

void TqvNavButton::StopRepeatTimer() {
  if (FRepeatTimer == nullptr) return;
  // Stopped, not freed: this may run inside the timer's own tick. The stopped timer waits for the
  // next press (the button owns it).
  FRepeatTimer->SetEnabled(false);
  delete FSpareTimer;
  FSpareTimer = FRepeatTimer;
  FRepeatTimer = nullptr;
}

void TqvNavButton::RepeatTimerTick(TObject*) {
  if (!ControlState.Contains(csLButtonDown)) StopRepeatTimer();
  if (FRepeatTimer == nullptr) return;
  if (TqvDBNavigator* Navigator = NavigatorOf(this))
    FRepeatTimer->SetInterval(unsigned(Navigator->RepeatInterval()->Interval));
  Click();
}

// --- Dialogs ------------------------------------------------------------------------------------

TClass TqvNavButton::ClassOfStyle(TqvNavButtonStyle Style) {
  if (!qvIsDialogStyle(Style)) return nullptr;
  return GetClass("Tqv" + qvNavStyleName(Style));
}

bool TqvNavButton::StyleOfClass(const String& ClassName, TqvNavButtonStyle& Style) {
  if (ClassName.size() <= 3) return false;
  int Found = EnumTypeInfo(static_cast<TqvNavButtonStyle*>(nullptr)).IndexOf("nbs" + ClassName.substr(3));
  if (Found < 0 || !qvIsDialogStyle(TqvNavButtonStyle(Found))) return false;
  Style = TqvNavButtonStyle(Found);
  return true;
}

void TqvNavButton::SetDialog(TqvCustomDialog* Value) {
  if (FDialog == Value) return;
  if (FDialog != nullptr) {
    if (FDialog->Owner() == this) delete FDialog;
    else FDialog->RemoveFreeNotification(this);
  }
  FDialog = Value;
  if (Value != nullptr) {
    Value->FreeNotification(this);
    // A dialog of a class that names no dialog style leaves the style as it is.
    TqvNavButtonStyle Style;
    if (StyleOfClass(Value->ClassName(), Style)) FStyle = Style;
  }
  UpdateButtonState(usOther);
}

void TqvNavButton::BindDialogData(TqvCustomDialog* Dialog, TDataSet* DataSet) {
  TqvDBNavigator* Navigator = NavigatorOf(this);
  bool Search = Dialog->InheritsFrom("TqvSearchDialog");
  const char* Name = Search ? "SearchTable" : "DataSource";
  const TPropInfo* Prop = GetPropInfo(Dialog, Name);
  if (Prop == nullptr || Prop->Kind != tkClass || !Prop->IsWritable()) return;
  TObject* Value = Search ? static_cast<TObject*>(DataSet) : static_cast<TObject*>(Navigator->DataSource());
  SetObjectProp(Dialog, Prop, Value);
}

void TqvNavButton::DoAfterCreateDialog(TqvCustomDialog* Dialog) {
  if (OnAfterCreateDialog) OnAfterCreateDialog(Dialog);
}

TqvCustomDialog* TqvNavButton::FindDialog(TDataSet* DataSet) {
  if (!qvIsDialogStyle(FStyle)) return nullptr;
  if (FDialog != nullptr) return FDialog;
  if (ComponentState().Contains(csDesigning)) return nullptr;
  TClass Class = ClassOfStyle(FStyle);
  TComponent* Owner = FStyle == nbsFilterDialog ? static_cast<TComponent*>(DataSet) : GetNavigator();
  for (int i = 0; i < Owner->ComponentCount(); ++i) {
    auto* Candidate = dynamic_cast<TqvCustomDialog*>(Owner->Components(i));
    if (Candidate == nullptr || Candidate->GetPrimaryDataSet() != DataSet) continue;
    if (Class != nullptr && !Candidate->InheritsFrom(Class)) continue;
    if (Class == nullptr && !Candidate->InheritsFrom("Tqv" + qvNavStyleName(FStyle))) continue;
    FDialog = Candidate;
    Candidate->FreeNotification(this);
    return Candidate;
  }
  // The dialogs of other libraries register their classes; one not linked shows nothing.
  if (Class == nullptr || Class->Factory == nullptr) return nullptr;
  auto* Made = dynamic_cast<TqvCustomDialog*>(Class->Create(Owner));
  if (Made == nullptr) return nullptr;
  FDialog = Made;
  Made->FreeNotification(this);
  BindDialogData(Made, DataSet);
  DoAfterCreateDialog(Made);
  return Made;
}

// --- Component life and messages ----------------------------------------------------------------

void TqvNavButton::Notification(TComponent* AComponent, TOperation Operation) {
  TqvSpeedButton::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDialog) {
    // The dialog is going: it is not freed a second time.
    FDialog = nullptr;
    if (!ComponentState().Contains(csDestroying)) UpdateButtonState(usOther);
  }
}

bool TqvNavButton::NavigatorTransparent() {
  TqvDBNavigator* Navigator = NavigatorOf(this);
  return Navigator != nullptr && Navigator->IsTransparent();
}

void TqvNavButton::InvalidateThroughParents() {
  TqvDBNavigator* Navigator = NavigatorOf(this);
  if (Navigator == nullptr || !Navigator->IsTransparent() || !Navigator->HandleAllocated()) return;
  qvInvalidateTransparentParents(this, Navigator->TransparentClearsBackground);
}

void TqvNavButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TqvSpeedButton::MouseDown(Button, Shift, X, Y);
  if (Button == mbLeft && Repeats()) StartRepeatTimer();
  if (NavigatorTransparent()) InvalidateThroughParents();
}

void TqvNavButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  // The click of the release came first, while the timer was still there.
  StopRepeatTimer();
  TqvSpeedButton::MouseUp(Button, Shift, X, Y);
  if (NavigatorTransparent()) InvalidateThroughParents();
}

void TqvNavButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    default: TqvSpeedButton::Dispatch(Message); break;
  }
}

void TqvNavButton::CMMouseEnter(TMessage& Message) {
  TqvSpeedButton::Dispatch(Message);
  if (!ControlState.Contains(csLButtonDown)) return;
  // Back over the button while it is held: the repeat goes on; released meanwhile: no press.
  if (GetKeyState(VK_LBUTTON) < 0) {
    if (Repeats()) StartRepeatTimer();
  } else {
    ControlState.Exclude(csLButtonDown);
  }
}

void TqvNavButton::CMMouseLeave(TMessage& Message) {
  TqvSpeedButton::Dispatch(Message);
  if (ControlState.Contains(csLButtonDown)) StopRepeatTimer();
  if (NavigatorTransparent() && Enabled()) InvalidateThroughParents();
}

void TqvNavButton::CMEnabledChanged(TMessage& Message) {
  TqvSpeedButton::Dispatch(Message);
  if (NavigatorTransparent()) InvalidateThroughParents();
}
