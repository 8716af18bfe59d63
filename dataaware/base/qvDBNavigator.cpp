// This file implements TqvDBNavigator with its data link, its bookmarks and its glyph list (see
// qvDBNavigator.h).
#include "qvDBNavigator.h"

#include <algorithm>
#include <cstdlib>

#include "DataSet.h"
#include "Forms.h"
#include "Qvlocate.h"
#include "qvRecordViewDialog.h"
#include "Resources.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "qvPropAccess.h"

// --- Styles, glyphs and hints -------------------------------------------------------------------

bool qvIsDialogStyle(TqvNavButtonStyle Style) { return Style >= nbsFilterDialog && Style <= nbsSearchDialog; }

String qvNavStyleName(TqvNavButtonStyle Style) {
  const char* Name = EnumTypeInfo(static_cast<TqvNavButtonStyle*>(nullptr)).Ident(Style);
  return Name ? String(Name + 3) : String();
}

namespace {

// The glyph list: one for the program, owned by the application (so that it goes before the
// window system does), made again if asked for after that.
class TqvNavGlyphList : public TImageList {
 public:
  static TqvNavGlyphList* Instance;
  explicit TqvNavGlyphList(TComponent* AOwner) : TImageList(AOwner, 18, 18) { Instance = this; }
  ~TqvNavGlyphList() override {
    if (Instance == this) Instance = nullptr;
  }
};
TqvNavGlyphList* TqvNavGlyphList::Instance = nullptr;

// The classes the form descriptions and the dialog buttons make by name.
struct TNavigatorClassRegistration {
  TNavigatorClassRegistration() {
    for (TClass Class : {TqvDBNavigator::StaticClass(), TqvNavButton::StaticClass(), TqvLocateDialog::StaticClass(),
                         TqvRecordViewDialog::StaticClass()})
      RegisterClass(Class);
  }
} NavigatorClassRegistration;

}  // namespace

TCustomImageList* qvNavImageList() {
  if (TqvNavGlyphList::Instance != nullptr) return TqvNavGlyphList::Instance;
  auto* List = new TqvNavGlyphList(Application);
  for (int Style = nbsFirst; Style < nbsCustom; ++Style) {
    String Base = "QV_DBN_" + AnsiUpperCase(qvNavStyleName(TqvNavButtonStyle(Style)));
    for (const char* State : {"_ENABLED", "_DISABLED"}) {
      TBitmap Glyph;
      Glyph.LoadFromResourceName(MainInstance(), Base + State);
      List->AddMasked(&Glyph, Glyph.TransparentColor());
    }
  }
  return List;
}

bool qvIsNavImageList(const TCustomImageList* List) {
  return List != nullptr && List == TqvNavGlyphList::Instance;
}

String qvFormatPageHint(const String& Hint, int Distance) {
  // Only a hint whose one directive is "%d" is formatted; any other "%" leaves it as it stands.
  String Result;
  int Directives = 0;
  for (std::size_t i = 0; i < Hint.size(); ++i) {
    if (Hint[i] != '%') {
      Result += Hint[i];
      continue;
    }
    if (i + 1 < Hint.size() && Hint[i + 1] == '%') {
      Result += '%';
      ++i;
    } else if (i + 1 < Hint.size() && Hint[i + 1] == 'd' && Directives == 0) {
      Result += IntToStr(Distance);
      ++Directives;
      ++i;
    } else {
      return Hint;
    }
  }
  return Directives == 1 ? Result : Hint;
}

// --- TqvNavRepeatInterval, TqvNavBookmark, TqvNavDataLink -----------------------------------------

VELBOR_IMPLEMENT_CLASS(TqvNavRepeatInterval)
VELBOR_PUBLISHED(TqvNavRepeatInterval,
  Prop("InitialDelay", &Self::InitialDelay).Default(500),
  Prop("Interval", &Self::Interval).Default(100))

void TqvNavRepeatInterval::Assign(TPersistent* Source) {
  if (auto* Other = dynamic_cast<TqvNavRepeatInterval*>(Source)) {
    InitialDelay = Other->InitialDelay;
    Interval = Other->Interval;
    return;
  }
  TPersistent::Assign(Source);
}

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TqvNavBookmark)

TqvNavBookmark::~TqvNavBookmark() {
  if (DataSet != nullptr) DataSet->FreeBookmark(Bookmark);
}

VELBOR_IMPLEMENT_CLASS(TqvNavDataLink)

TqvNavDataLink::~TqvNavDataLink() {
  // The navigator hears nothing of the link's last changes.
  FNavigator = nullptr;
  SetDataSource(nullptr);
}

void TqvNavDataLink::ActiveChanged() {
  if (FNavigator != nullptr) FNavigator->ActiveChanged();
}

void TqvNavDataLink::DataSetChanged() {
  if (FNavigator != nullptr) FNavigator->DataChanged();
}

void TqvNavDataLink::EditingChanged() {
  if (FNavigator != nullptr) FNavigator->EditingChanged();
}

// --- TqvDBNavigator ------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TqvDBNavigator)
namespace {
// As the class library stores it: only a hint setting of the bar's own.
bool IsShowHintStored(TObject* Instance) { return !static_cast<TControl*>(Instance)->ParentShowHint(); }
}  // namespace
VELBOR_PUBLISHED(TqvDBNavigator,
  Prop("AutosizeStyle", &Self::AutosizeStyle, &Self::SetAutosizeStyle).Default(asSizeNavigator),
  Prop("DataSource", &Self::DataSource, &Self::SetDataSource),
  Prop("Flat", &Self::Flat, &Self::SetFlat).Default(true),
  Prop("ImageList", &Self::ImageList, &Self::SetImageList),
  Prop("Layout", &Self::Layout, &Self::SetLayout).Default(nlHorizontal),
  Prop("MoveBy", &Self::MoveBy, &Self::SetMoveBy).Default(10),
  Prop("Options", &Self::Options, &Self::SetOptions).Default(TqvNavOptions{noConfirmDelete}),
  Prop("RepeatInterval", &Self::RepeatInterval, &Self::SetRepeatInterval),
  Prop("ShowHint", &Self::GetShowHint, &Self::SetShowHint).Stored(&IsShowHintStored),
  Prop("Transparent", &Self::Transparent, &Self::SetTransparent).Default(false),
  Prop("TransparentClearsBackground", &Self::TransparentClearsBackground).Default(false),
  Prop("DisableThemes", &Self::DisableThemes).Default(false))

TqvDBNavigator::TqvDBNavigator(TComponent* AOwner) : TqvCustomTransparentPanel(AOwner) {
  FButtons = new TqvNavButtons(this);
  FDataLink = new TqvNavDataLink(this);
  FRepeatInterval = new TqvNavRepeatInterval;
  ControlStyle.Exclude(csAcceptsControls);
  ControlStyle.Exclude(csSetCaption);
  SetBevelInner(bvNone);
  SetBevelOuter(bvNone);
  // Width 1: the bar was never sized (its first paint sizes it to its default buttons).
  SetWidth(1);
}

TqvDBNavigator::~TqvDBNavigator() {
  Destroying();
  // The buttons go while the list they belong to is still here.
  while (ControlCount() > 0) delete Controls(ControlCount() - 1);
  delete FDataLink;
  FDataLink = nullptr;
  for (TqvNavBookmark* Entry : FBookmarks) delete Entry;
  FBookmarks.clear();
  delete FRepeatInterval;
  delete FButtons;
  FButtons = nullptr;
}

void TqvDBNavigator::SetAutosizeStyle(TqvNavAutoSizeStyle Value) {
  if (FAutosizeStyle == Value) return;
  FAutosizeStyle = Value;
  FButtons->Arrange();
}

void TqvDBNavigator::SetLayout(TqvNavLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  FButtons->Arrange();
}

void TqvDBNavigator::SetDataSource(TDataSource* Value) {
  if (Value != nullptr) Value->FreeNotification(this);
  FDataLink->SetDataSource(Value);
  FButtons->UpdateButtons(usOther);
}

void TqvDBNavigator::SetDataSourceFrom(TComponent* Component, bool Force) {
  if (Component == nullptr) return;
  TDataSource* Source = qvGetControlDataSource(Component);
  if (Source != nullptr || Force) SetDataSource(Source);
}

TDataSet* TqvDBNavigator::GetDataSet(bool Required) {
  TDataSource* Source = DataSource();
  if (Source == nullptr) {
    if (Required) throw EInvalidOperation("Error, DataSource not assigned");
    return nullptr;
  }
  if (Source->DataSet() == nullptr) {
    if (Required) throw EInvalidOperation(Format("Le champ '%s'  n'a pas d'ensemble de données"_a, {Source->Name()}));
    return nullptr;
  }
  return Source->DataSet();
}

void TqvDBNavigator::SetFlat(bool Value) {
  FFlat = Value;
  for (int i = 0; i < FButtons->Count(); ++i) FButtons->Buttons(i)->SetFlat(Value);
}

void TqvDBNavigator::SetImageList(TCustomImageList* Value) {
  if (FImageList != nullptr && FImageList != Value) FImageList->RemoveFreeNotification(this);
  FImageList = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  for (int i = 0; i < FButtons->Count(); ++i) {
    TqvNavButton* Button = FButtons->Buttons(i);
    if (Button->GetImageIndex() >= 0) Button->SetImageList(Value);
  }
}

void TqvDBNavigator::SetShowHint(bool Value) {
  TqvCustomTransparentPanel::SetShowHint(Value);
  for (int i = 0; i < FButtons->Count(); ++i) FButtons->Buttons(i)->SetShowHint(Value);
}

void TqvDBNavigator::SetMoveBy(int Value) {
  if (FMoveBy == Value) return;
  FMoveBy = Value;
  for (int i = 0; i < FButtons->Count(); ++i) {
    TqvNavButton* Button = FButtons->Buttons(i);
    if (Button->Style() == nbsPriorPage || Button->Style() == nbsNextPage)
      Button->Hint = qvFormatPageHint(Button->Hint, Value);
  }
}

void TqvDBNavigator::SetOptions(TqvNavOptions Value) { FOptions = Value; }

TqvNavButtonStyles TqvDBNavigator::GetVisibleButtons() {
  TqvNavButtonStyles Styles;
  for (int i = 0; i < FButtons->Count(); ++i) {
    TqvNavButtonStyle Style = FButtons->Buttons(i)->Style();
    if (Style <= nbsRestoreBookmark) Styles.Include(Style);
  }
  return Styles;
}

void TqvDBNavigator::SetVisibleButtons(TqvNavButtonStyles Value) {
  if (!ComponentState().Contains(csLoading) && FButtons->Count() == 0) FButtons->AddDefaultButtons();
  for (int Style = nbsFirst; Style <= nbsCustom; ++Style) {
    if (Value.Contains(TqvNavButtonStyle(Style))) FButtons->ShowStyle(TqvNavButtonStyle(Style));
    else FButtons->HideStyle(TqvNavButtonStyle(Style));
  }
}

int TqvDBNavigator::GetBevelCount() { return (BevelOuter() != bvNone ? 1 : 0) + (BevelInner() != bvNone ? 1 : 0); }

int TqvDBNavigator::GetButtonsWidth() {
  int Width = 0;
  for (int i = 0; i < FButtons->Count(); ++i) {
    TqvNavButton* Button = FButtons->Buttons(i);
    if (!FButtons->IsButtonHidden(Button)) Width += Button->Width();
  }
  return Width;
}

// --- Bookmarks ----------------------------------------------------------------------------------

TBookmark TqvDBNavigator::SaveOrFindBookmark(TDataSet* DataSet, bool Store) {
  if (DataSet == nullptr) return TBookmark();
  for (std::size_t i = FBookmarks.size(); i-- > 0;) {
    TqvNavBookmark* Entry = FBookmarks[i];
    if (Entry->DataSet != DataSet) continue;
    if (Store) {
      DataSet->FreeBookmark(Entry->Bookmark);
      Entry->Bookmark = DataSet->GetBookmark();
      FButtons->UpdateButtons(usOther);
    }
    if (!Entry->Bookmark.empty() && DataSet->BookmarkValid(Entry->Bookmark)) return Entry->Bookmark;
  }
  if (!Store) return TBookmark();
  TBookmark Bookmark = DataSet->GetBookmark();
  DataSet->FreeNotification(this);
  FBookmarks.push_back(new TqvNavBookmark(DataSet, Bookmark));
  FButtons->UpdateButtons(usOther);
  return Bookmark;
}

void TqvDBNavigator::ForgetBookmark(TDataSet* DataSet) {
  auto Gone = std::stable_partition(FBookmarks.begin(), FBookmarks.end(),
                                    [DataSet](TqvNavBookmark* Entry) { return Entry->DataSet != DataSet; });
  for (auto It = Gone; It != FBookmarks.end(); ++It) delete *It;
  FBookmarks.erase(Gone, FBookmarks.end());
}

// --- Data link ----------------------------------------------------------------------------------

void TqvDBNavigator::DataChanged() { FButtons->UpdateButtons(usDataChanged); }

void TqvDBNavigator::EditingChanged() { FButtons->UpdateButtons(usEditingChanged); }

void TqvDBNavigator::ActiveChanged() {
  TDataSet* DataSet = GetDataSet(false);
  if (DataSet != nullptr && !DataSet->Active()) ForgetBookmark(DataSet);
  FButtons->UpdateButtons(usActiveChanged);
}

// --- Component life -----------------------------------------------------------------------------

void TqvDBNavigator::Loaded() {
  TqvCustomTransparentPanel::Loaded();
  // The buttons read from the description take the bar's settings.
  SetFlat(FFlat);
  SetImageList(FImageList);
}

void TqvDBNavigator::CreateWnd() {
  if (ComponentState().Contains(csDesigning)) {
    for (int i = 0; i < FButtons->Count(); ++i) FButtons->Buttons(i)->AssignDefaultName();
  }
  SetDataSource(DataSource());
  FButtons->LayoutButtons();
  AutoSizeButtons();
  TqvCustomTransparentPanel::CreateWnd();
}

void TqvDBNavigator::Notification(TComponent* AComponent, TOperation Operation) {
  TqvCustomTransparentPanel::Notification(AComponent, Operation);
  if (Operation != opRemove || FDataLink == nullptr) return;
  if (AComponent == DataSource()) FDataLink->SetDataSource(nullptr);
  // A dataset going: its bookmarks go too. It is only a component by now, so it is found by
  // address, and nothing of it is called.
  auto Gone = std::stable_partition(FBookmarks.begin(), FBookmarks.end(), [AComponent](TqvNavBookmark* Entry) {
    return static_cast<TComponent*>(Entry->DataSet) != AComponent;
  });
  for (auto It = Gone; It != FBookmarks.end(); ++It) {
    (*It)->DataSet = nullptr;
    delete *It;
  }
  FBookmarks.erase(Gone, FBookmarks.end());
  if (AComponent == FImageList) FImageList = nullptr;
}

void TqvDBNavigator::SetName(const String& NewName) {
  String OldName = Name();
  TqvCustomTransparentPanel::SetName(NewName);
  if (OldName.empty() || OldName == NewName) return;
  // The buttons named after the bar follow its new name.
  for (int i = 0; i < FButtons->Count(); ++i) {
    TqvNavButton* Button = FButtons->Buttons(i);
    if (Button->Name().compare(0, OldName.size(), OldName) == 0)
      Button->SetName(NewName + Button->Name().substr(OldName.size()));
  }
}

void TqvDBNavigator::ButtonInsertedOrRemoved(TControl* Control, bool Inserting) {
  auto* Button = dynamic_cast<TqvNavButton*>(Control);
  if (Inserting && Button == nullptr)
    throw EInvalidOperation("TqvDBNavigator only accepts controls derived from TqvNavButton");
  if (Button == nullptr) return;
  if (Inserting) FButtons->ButtonInserted(Button);
  else FButtons->ButtonRemoved(Button);
}

void TqvDBNavigator::AlignControls(TControl*, TRect&) {
  if (FButtons == nullptr || FButtons->UpdateCount() > 0 || ComponentState().Contains(csDestroying)) return;
  FButtons->Arrange();
  if (IsTransparent()) Invalidate();
}

// --- Messages -----------------------------------------------------------------------------------

void TqvDBNavigator::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_CONTROLLISTCHANGE: CMControlListChange(Message); break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    default: TqvCustomTransparentPanel::Dispatch(Message); break;
  }
}

void TqvDBNavigator::WMPaint(TMessage& Message) {
  // While the first paint makes the buttons, the paints it causes wait for it.
  if (FPainting) return;
  if (FButtons->Count() == 0) {
    FPainting = true;
    TScopeGuard done([&] { FPainting = false; });
    FButtons->AddDefaultButtons();
    if (Width() == 1 && FButtons->Count() > 0) {
      SetBounds(Left(), Top(), GetButtonsWidth(), FButtons->Buttons(0)->Height());
      if (Parent() != nullptr && Parent()->HandleAllocated()) UpdateWindow(Parent()->Handle());
    } else if (FButtons->Count() > 0) {
      FButtons->Arrange();
    }
  }
  TqvCustomTransparentPanel::Dispatch(Message);
}

void TqvDBNavigator::CMEnabledChanged(TMessage& Message) {
  TqvCustomTransparentPanel::Dispatch(Message);
  for (int i = 0; i < FButtons->Count(); ++i) FButtons->Buttons(i)->SetEnabled(Enabled());
  if (Enabled()) FButtons->UpdateButtons(usOther);
}

void TqvDBNavigator::CMControlListChange(TMessage& Message) {
  TqvCustomTransparentPanel::Dispatch(Message);
  if (FButtons == nullptr || ComponentState().Contains(csDestroying)) return;
  ButtonInsertedOrRemoved(reinterpret_cast<TControl*>(Message.WParam), Message.LParam != 0);
}

void TqvDBNavigator::CMDialogChar(TMessage& Message) {
  TqvCustomTransparentPanel::Dispatch(Message);
  if (Parent() == nullptr || !Parent()->Showing()) return;
  for (int i = 0; i < FButtons->Count(); ++i) {
    TqvNavButton* Button = FButtons->Buttons(i);
    if (IsAccel(WORD(Message.WParam), Button->Caption()) && Button->Enabled() && Button->Visible()) {
      Button->Click();
      Message.Result = 1;
      return;
    }
  }
}
