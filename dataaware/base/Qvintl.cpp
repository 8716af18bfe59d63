// This file implements the library's strings-and-options component, its global instance and the
// controller component.
#include "Qvintl.h"

#include "Qvdatsrc.h"
#include "StrUtils.h"

VELBOR_IMPLEMENT_CLASS(TqvIntl)
VELBOR_PUBLISHED(TqvIntl,
  Prop("ADO", &Self::ADO),
  Prop("Navigator", &Self::Navigator),
  Prop("SearchDialog", &Self::SearchDialog),
  Prop("LocateDialog", &Self::LocateDialog),
  Prop("MonthCalendar", &Self::MonthCalendar),
  Prop("OKCancelBitmapped", &Self::OKCancelBitmapped).Default(true),
  Prop("DialogFontStyle", &Self::DialogFontStyle).Default(TFontStyles{}),
  Prop("BtnOKCaption", &Self::BtnOKCaption),
  Prop("BtnCancelCaption", &Self::BtnCancelCaption),
  Prop("Connected", &Self::Connected, &Self::SetConnected).Default(false),
  Prop("UserMessages", &Self::UserMessages),
  Prop("FilterDialog", &Self::FilterDialog),
  Prop("RichEdit", &Self::RichEdit),
  Prop("VersionVerinta", &Self::VersionVerinta, &Self::SetVersionVerinta),
  Prop("IniFileName", &Self::IniFileName),
  Prop("CheckBoxInGridStyle", &Self::CheckBoxInGridStyle, &Self::SetCheckBoxInGridStyle).Default(cbStyleAuto),
  Prop("GridPaintStyle", &Self::GridPaintStyle, &Self::SetGridPaintStyle).Default(gpsDynamicDeviceContext),
  Prop("UseLocateMethodForSearch", &Self::UseLocateMethodForSearch).Default(true),
  Prop("DefaultEpochYear", &Self::DefaultEpochYear).Default(1950),
  Prop("FilterMemoSize", &Self::FilterMemoSize).Default(65536),
  Prop("OnValidationErrorUsingMask", &Self::OnValidationErrorUsingMask, &Self::SetOnValidationErrorUsingMask))

VELBOR_IMPLEMENT_CLASS(TqvController)
VELBOR_PUBLISHED(TqvController,
  Prop("Frame", &Self::Frame),
  Prop("ButtonEffects", &Self::ButtonEffects),
  Prop("ControlList", &Self::ControlList))

namespace {

TqvIntl* GGlobalIntl = nullptr;

// Form descriptions create the library's components by class name.
struct TIntlClassRegistration {
  TIntlClassRegistration() {
    for (TClass Class : {TqvIntl::StaticClass(), TqvController::StaticClass(), TqvDataSource::StaticClass()})
      RegisterClass(Class);
  }
} IntlClassRegistration;

// The name the layouts are stored under: ".ini" added unless the name already has it.
String GlobalIniFileName(const String& Name) {
  if (Name.empty() || Name == ".ini") return String();
  return EndsText(".ini", Name) ? Name : Name + ".ini";
}

// An object made by registered class name, when its library is linked.
TPersistent* CreatePersistentByName(const char* ClassName, TComponent* Owner) {
  TClass Class = GetClass(ClassName);
  if (Class == nullptr || Class->Factory == nullptr) return nullptr;
  TObject* Made = Class->Create(Owner);
  if (auto* Persistent = dynamic_cast<TPersistent*>(Made)) return Persistent;
  delete Made;
  return nullptr;
}

}  // namespace

const TqvGlobalIntl qvIntl;

TqvIntl* TqvGlobalIntl::Get() const { return GGlobalIntl ? GGlobalIntl : qvCreateGlobalIntl(nullptr); }
bool TqvGlobalIntl::Exists() const { return GGlobalIntl != nullptr; }

TqvIntl* qvCreateGlobalIntl(TComponent* Owner) {
  if (GGlobalIntl == nullptr) GGlobalIntl = new TqvIntl(Owner);
  return GGlobalIntl;
}

void qvFreeGlobalIntl() { delete GGlobalIntl; }

TqvIntl::TqvIntl(TComponent* AOwner)
    : TComponent(AOwner),
      FADO(new TqvADOIntl(this)),
      FNavigator(new TqvDBNavigatorIntl(this)),
      FSearchDialog(new TqvSearchDialogIntl(this)),
      FLocateDialog(new TqvLocateDialogIntl(this)),
      FMonthCalendar(new TqvMonthCalendarIntl(this)),
      FUserMessages(new TqvUserMessagesIntl(this)),
      FFilterDialog(new TqvFilterDialogIntl(this)),
      FRichEdit(new TqvDBRichEditIntl(this)) {}

TqvIntl::~TqvIntl() {
  if (GGlobalIntl == this) GGlobalIntl = nullptr;
  delete FRichEdit;
  delete FFilterDialog;
  delete FUserMessages;
  delete FMonthCalendar;
  delete FLocateDialog;
  delete FSearchDialog;
  delete FNavigator;
  delete FADO;
}

bool TqvIntl::IsGlobal() const { return GGlobalIntl == this; }

void TqvIntl::SetConnected(bool Value) {
  FConnected = Value;
  // While loading, Loaded copies once every property has been read.
  if (Value && !FComponentState.Contains(csLoading)) CopyToGlobal();
}

void TqvIntl::SetCheckBoxInGridStyle(TqvCheckBoxInGridStyle Value) {
  FCheckBoxInGridStyle = Value;
  if (FConnected && !IsGlobal()) qvIntl->SetCheckBoxInGridStyle(Value);
}

void TqvIntl::SetGridPaintStyle(TqvGridPaintStyle Value) {
  FGridPaintStyle = Value;
  if (FConnected && !IsGlobal()) qvIntl->SetGridPaintStyle(Value);
}

void TqvIntl::SetOnValidationErrorUsingMask(TqvPictureValidationError Value) {
  auto* Old = dynamic_cast<TComponent*>(FOnValidationErrorUsingMask.Object());
  auto* New = dynamic_cast<TComponent*>(Value.Object());
  FOnValidationErrorUsingMask = Value;
  if (Old != nullptr && Old != New && Old != this) RemoveFreeNotification(Old);
  if (New != nullptr && New != this) New->FreeNotification(this);
}

void TqvIntl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent != nullptr && FOnValidationErrorUsingMask.Object() == AComponent)
    FOnValidationErrorUsingMask = nullptr;
}

void TqvIntl::CopyToGlobal() {
  if (IsGlobal()) return;
  TqvIntl* Global = qvIntl.Get();
  Global->FFilterDialog->Assign(FFilterDialog);
  Global->FRichEdit->Assign(FRichEdit);
  Global->FSearchDialog->Assign(FSearchDialog);
  Global->FMonthCalendar->Assign(FMonthCalendar);
  Global->FLocateDialog->Assign(FLocateDialog);
  Global->FUserMessages->Assign(FUserMessages);
  Global->FNavigator->Assign(FNavigator);
  Global->FADO->Assign(FADO);
  Global->OKCancelBitmapped = OKCancelBitmapped;
  Global->BtnOKCaption = BtnOKCaption;
  Global->BtnCancelCaption = BtnCancelCaption;
  Global->IniFileName = GlobalIniFileName(IniFileName);
  Global->SetCheckBoxInGridStyle(FCheckBoxInGridStyle);
  Global->SetGridPaintStyle(FGridPaintStyle);
  Global->SetOnValidationErrorUsingMask(FOnValidationErrorUsingMask);
  Global->DialogFontStyle = DialogFontStyle;
  Global->UseLocateMethodForSearch = UseLocateMethodForSearch;
  Global->CancelRangeByReopen = CancelRangeByReopen;
  Global->DefaultEpochYear = DefaultEpochYear;
  Global->FilterMemoSize = FilterMemoSize;
}

void TqvIntl::ValidationErrorUsingMask(TObject* Sender, TField* Field) {
  String Msg = "Valeur d'entrée incorrecte. Utiliser Echap pour abandonner les modifications"_a;
  bool DoDefault = true;
  if (FOnValidationErrorUsingMask) FOnValidationErrorUsingMask(Sender, Field, Msg, DoDefault);
  if (!DoDefault) return;
  MessageBeep(0);
  throw EInvalidOperation(Msg);
}

void TqvIntl::Loaded() {
  TComponent::Loaded();
  if (FConnected) CopyToGlobal();
}

TqvController::TqvController(TComponent* AOwner) : TComponent(AOwner), FControlList(new TList) {
  FFrame = CreatePersistentByName("TqvEditFrame", this);
  FButtonEffects = CreatePersistentByName("TqvButtonEffects", this);
}

TqvController::~TqvController() {
  delete FButtonEffects;
  delete FFrame;
  delete FControlList;
}

void TqvController::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove || FComponentState.Contains(csDestroying)) return;
  for (int i = FControlList->Count() - 1; i >= 0; --i) {
    if (FControlList->Items(i) == AComponent) {
      FControlList->Delete(i);
      return;
    }
  }
}
