// This file implements the root of the bar items.
#include "kwBarItem.h"

#include <algorithm>

#include "Filer.h"
#include "Forms.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "kwBarItemControl.h"
#include "kwBarManager.h"
#include "kwBarUtils.h"
#include "kwBarWindow.h"
#include "kwBars.h"

VELBOR_IMPLEMENT_CLASS(TkwBarItem)
VELBOR_PUBLISHED(TkwBarItem,
  Prop("Action", &Self::Action, &Self::SetAction),
  Prop("Align", &Self::Align, &Self::SetAlign).Default(iaLeft),
  Prop("Caption", &Self::Caption, &Self::SetCaption).Stored(&Self::IsCaptionStored),
  Prop("Category", &Self::Category, &Self::SetCategory).NoDefault(),
  Prop("Description", &Self::Description, &Self::SetDescription),
  Prop("Enabled", &Self::Enabled, &Self::SetEnabled).Default(true).Stored(&Self::IsEnabledStored),
  Prop("HelpContext", &Self::HelpContext, &Self::SetHelpContext).Default(0).Stored(&Self::IsHelpContextStored),
  Prop("Hint", &Self::Hint, &Self::SetHint).Stored(&Self::IsHintStored),
  Prop("Visible", &Self::Visible, &Self::SetVisible).Default(ivAlways).Stored(&Self::IsVisibleStored),
  Prop("OnDestroy", &Self::OnDestroy))

TkwBarItem::TkwBarItem(TComponent* AOwner) : TComponent(AOwner) {
  StartBarLibrary();
  auto* form = dynamic_cast<TCustomForm*>(AOwner);
  FBarManager = form ? FindManagerOfForm(form) : nullptr;
  if (!FBarManager && !form && BarManagerCount() > 0) FBarManager = GetBarManager(0);
  if (FBarManager) FBarManager->AddItem(this);
  FGlyph = new TBitmap();
  FGlyph->OnChange = TNotifyEvent(this, &TkwBarItem::GlyphChangedHandler);
}

TkwBarItem::~TkwBarItem() {
  Destroying();
  if (OnDestroy) OnDestroy(this);
  RemoveTemporaryItem(this);
  // Each link leaves this list as it goes.
  while (!FLinks.empty()) delete FLinks.back();
  if (FBarManager) FBarManager->RemoveItem(this);
  FBarManager = nullptr;
  delete FActionLink;
  FActionLink = nullptr;
  delete FGlyph;
}

// --- The bound action ----------------------------------------------------------------------------

TBasicAction* TkwBarItem::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

void TkwBarItem::SetAction(TBasicAction* Value) {
  if (!Value) {
    delete FActionLink;
    FActionLink = nullptr;
    return;
  }
  bool loading = Value->ComponentState().Contains(csLoading);
  // The designer hears of nothing while an action being read is assigned.
  bool notify = FBarManager && FBarManager->DesignerNotifyEnabled();
  if (loading && FBarManager) FBarManager->SetDesignerNotifyEnabled(false);
  TScopeGuard restore([&] {
    if (loading && FBarManager) FBarManager->SetDesignerNotifyEnabled(notify);
  });
  if (!FActionLink) {
    FActionLink = new TkwBarItemActionLink(this);
    FActionLink->OnChange = TNotifyEvent(this, &TkwBarItem::DoActionChange);
  }
  FActionLink->SetAction(Value);
  ActionChange(Value, loading);
  Value->FreeNotification(this);
}

void TkwBarItem::DoActionChange(TObject* Sender) {
  if (Sender == Action()) ActionChange(Sender, false);
}

void TkwBarItem::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* a = dynamic_cast<TCustomAction*>(Sender);
  if (!a) return;
  if (!CheckDefaults || FCaption.empty()) SetCaption(a->Caption());
  if (HasDownState() && (!CheckDefaults || !GetDownState())) SetDownState(a->Checked());
  if (!CheckDefaults || FEnabled) SetEnabled(a->Enabled());
  if (!CheckDefaults || FHelpContext == 0) FHelpContext = a->HelpContext();
  if (!CheckDefaults || FHint.empty()) FHint = a->Hint();
  if (!CheckDefaults || GetImageIndex() == -1) SetImageIndex(a->ImageIndex());
  if (!CheckDefaults || FShortCut == 0) SetShortCut(a->ShortCut());
  if (!CheckDefaults || FVisible == ivAlways) SetVisible(VisibleToItemVisible(a->Visible()));
  if (!CheckDefaults || !OnClick) OnClick = a->OnExecute;
}

void TkwBarItem::UpdateAction() {
  if (FActionLink) FActionLink->Update();
}

bool TkwBarItem::DoActionHint(String& HintStr) {
  auto* a = FActionLink ? dynamic_cast<TCustomAction*>(FActionLink->Action()) : nullptr;
  return !a || a->DoHint(HintStr);
}

void TkwBarItem::AssignTo(TPersistent* Dest) {
  auto* a = dynamic_cast<TCustomAction*>(Dest);
  if (!a) {
    TComponent::AssignTo(Dest);
    return;
  }
  a->SetCaption(FCaption);
  if (HasDownState()) a->SetChecked(GetDownState());
  a->SetEnabled(Enabled());
  a->SetHelpContext(FHelpContext);
  a->SetHint(FHint);
  a->SetImageIndex(GetImageIndex());
  a->SetShortCut(FShortCut);
  if (FVisible != ivInCustomizing) a->SetVisible(FVisible == ivAlways);
  a->SetOnExecute(OnClick);
}

bool TkwBarItem::IsCaptionStored() const { return !FActionLink || !FActionLink->IsCaptionLinked(); }
bool TkwBarItem::IsEnabledStored() const { return !FActionLink || !FActionLink->IsEnabledLinked(); }
bool TkwBarItem::IsHelpContextStored() const { return !FActionLink || !FActionLink->IsHelpContextLinked(); }
bool TkwBarItem::IsHintStored() const { return !FActionLink || !FActionLink->IsHintLinked(); }
bool TkwBarItem::IsImageIndexStored() const { return !FActionLink || !FActionLink->IsImageIndexLinked(); }
bool TkwBarItem::IsShortCutStored() const { return !FActionLink || !FActionLink->IsShortCutLinked(); }
bool TkwBarItem::IsVisibleStored() const { return !FActionLink || !FActionLink->IsVisibleLinked(); }
bool TkwBarItem::IsOnClickStored() const { return !FActionLink || !FActionLink->IsOnExecuteLinked(); }

void TkwBarItem::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && FActionLink && AComponent == FActionLink->Action()) SetAction(nullptr);
}

void TkwBarItem::ChangeBarManager(TkwBarManager* Value) {
  if (Value == FBarManager) return;
  if (FBarManager) FBarManager->RemoveItem(this);
  FBarManager = Value;
  if (FBarManager) FBarManager->AddItem(this);
  BarManagerChanged();
}

void TkwBarItem::SetAlign(TkwBarItemAlign Value) {
  if (Value == FAlign) return;
  FAlign = Value;
  if (!IsLoading()) RebuildLinkBars();
}

void TkwBarItem::SetCaption(const String& Value) {
  if (Value == FCaption) return;
  // The hint follows the caption while it is empty or still the caption's.
  bool follows = !GetSubItemLinks() && (FHint.empty() || GetShortHint(FHint) == GetCleanCaption());
  FCaption = Value;
  if (!IsLoading() && follows) {
    std::size_t bar = FHint.find('|');
    FHint = bar == String::npos ? GetCleanCaption() : GetCleanCaption() + FHint.substr(bar);
  }
  if (!IsLoading()) CaptionChanged();
}

void TkwBarItem::SetCategory(int Value) {
  if (Value == FCategory) return;
  if (IsLoading()) {
    FCategory = Value;
    return;
  }
  if (!FBarManager || Value < 0 || Value >= FBarManager->Categories()->Count()) return;
  FCategory = Value;
  FBarManager->ItemChangedAtDesignTime(this);
  FBarManager->DesignerModified();
}

void TkwBarItem::SetDescription(const String& Value) {
  if (Value == FDescription) return;
  FDescription = Value;
  if (FBarManager) FBarManager->ItemChangedAtDesignTime(this);
}

bool TkwBarItem::Enabled() const {
  if (FBarManager && FBarManager->IsRunTimeCustomizing() && FCategory >= 0) return true;
  return FEnabled;
}

void TkwBarItem::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  if (!IsLoading()) EnabledChanged();
}

void TkwBarItem::SetGlyph(TBitmap* Value) { FGlyph->Assign(Value); }

void TkwBarItem::SetShortCut(TShortCut Value) {
  if (Value == FShortCut) return;
  FShortCut = Value;
  if (!IsLoading()) ShortCutChanged();
}

void TkwBarItem::SetVisible(TkwBarItemVisible Value) {
  if (IsLoading()) {
    FLoadedVisible = Value;
    return;
  }
  if (Value == FVisible) return;
  FVisible = Value;
  VisibleChanged();
}

void TkwBarItem::SetImageIndex(int Value) {
  if (Value == FImageIndex) return;
  FImageIndex = Value;
  if (!IsLoading()) GlyphChanged();
}

TCustomImageList* TkwBarItem::GetImages() const { return FBarManager ? FBarManager->Images() : nullptr; }

bool TkwBarItem::IsVisibleNow() const {
  bool customizing = FBarManager && FBarManager->IsCustomizing();
  return (FVisible == ivAlways && (HasContent() || customizing)) || (FVisible == ivInCustomizing && customizing);
}

TkwBarItemLink* TkwBarItem::GetActiveLink() const {
  for (TkwBarItemLink* link : FLinks)
    if (link->Control() && link->Control()->Active()) return link;
  return nullptr;
}

int TkwBarItem::GetIndex() const { return FBarManager ? FBarManager->IndexOfItem(this) : -1; }

TkwBarItemLink* TkwBarItem::GetLink(int Index) const {
  return Index >= 0 && Index < int(FLinks.size()) ? FLinks[std::size_t(Index)] : nullptr;
}

bool TkwBarItem::HasItemControls() const {
  return std::any_of(FLinks.begin(), FLinks.end(), [](TkwBarItemLink* l) { return l->Control() != nullptr; });
}

const TkwBarPainter* TkwBarItem::GetPainter() const { return FBarManager ? FBarManager->Painter() : nullptr; }

String TkwBarItem::CleanCaption(const String& Caption) {
  String result = Caption;
  std::size_t amp = result.find('&');
  if (amp != String::npos) result.erase(amp, 1);
  std::size_t dots = result.find("...");
  if (dots != String::npos) result.erase(dots, 3);
  return result;
}

bool TkwBarItem::HasValidImage() {
  TCustomImageList* images = GetImages();
  return images && GetImageIndex() >= 0 && GetImageIndex() < images->Count();
}

void TkwBarItem::DirectClick() {
  if (IsClickable()) Click();
}

void TkwBarItem::Click() {
  if (!Enabled()) return;
  try {
    if (FBarManager) FBarManager->DoClickItem(this);
    DoClick();
  } catch (...) {
    HandleApplicationException(this);
  }
}

void TkwBarItem::DoClick() {
  TBasicAction* action = Action();
  if (OnClick && (!action || OnClick != action->OnExecute)) {
    OnClick(this);
    return;
  }
  if (FActionLink && !IsDesigning()) FActionLink->Execute(this);
}

void TkwBarItem::CaptionChanged() {
  for (TkwBarItemLink* link : FLinks)
    if (!link->UserDefine().Contains(udCaption) && link->Control()) link->Control()->CaptionChanged();
  if (FBarManager) FBarManager->ItemChangedAtDesignTime(this);
}

void TkwBarItem::EnabledChanged() {
  for (TkwBarItemLink* link : FLinks)
    if (link->Control()) link->Control()->EnabledChanged();
}

void TkwBarItem::GlyphChanged() {
  for (TkwBarItemLink* link : FLinks)
    if (!link->UserDefine().Contains(udGlyph) && link->Control()) link->Control()->GlyphChanged();
  if (FBarManager) FBarManager->ItemChangedAtDesignTime(this);
}

void TkwBarItem::ShortCutChanged() {
  for (TkwBarItemLink* link : FLinks)
    if (link->Control()) link->Control()->ShortCutChanged();
  if (FBarManager) FBarManager->ItemChangedAtDesignTime(this);
}

void TkwBarItem::RepaintLinks() {
  for (TkwBarItemLink* link : FLinks) {
    TkwBarItemControl* control = link->Control();
    if (!control) continue;
    TkwBarWindow* window = control->BarWindow();
    if (window && window->IsActive() && window->SelectedControl() == control) continue;
    control->Repaint();
  }
}

void TkwBarItem::RebuildLinkBars() {
  for (TkwBarItemLink* link : FLinks) {
    TkwBarItemControl* control = link->Control();
    if (!control || !control->BarWindow()) continue;
    TkwBarWindow* window = control->BarWindow();
    if (window->SelectedControl() == control && window->IsActive()) continue;
    window->RepaintBar();
  }
}

void TkwBarItem::VisibleChanged() {
  if (IsDesigning()) return;
  bool locked = FBarManager && FBarManager->RedrawLocked();
  {
    if (FBarManager) FBarManager->SetRedrawLocked(true);
    TScopeGuard unlock([&] {
      if (FBarManager) FBarManager->SetRedrawLocked(locked);
    });
    // A copy: creating and freeing controls may rebuild the windows, never the item's links.
    std::vector<TkwBarItemLink*> links = FLinks;
    for (TkwBarItemLink* link : links) {
      if (TkwBarItemLinks* collection = link->GetLinks()) collection->RebuildLinkLists();
      if (IsVisibleNow()) {
        link->MarkUsed(false);
        if (!link->Control()) link->CreateItemControl();
        if (link->Control()) link->Control()->VisibilityChanged();
      } else {
        link->MarkUnused();
        if (link->Control()) {
          link->Control()->VisibilityChanged();
          link->FreeItemControl();
        }
      }
    }
  }
  if (FBarManager) FBarManager->ItemChangedAtDesignTime(this);
}

TComponent* TkwBarItem::GetParentComponent() const { return FCategory >= 0 ? FBarManager : nullptr; }

void TkwBarItem::SetParentComponent(TComponent* Value) {
  if (IsLoading()) return;
  if (auto* manager = dynamic_cast<TkwBarManager*>(Value)) ChangeBarManager(manager);
}

void TkwBarItem::Loaded() {
  TComponent::Loaded();
  if (TBasicAction* action = Action()) ActionChange(action, true);
}

void TkwBarItem::ReadState(TReader* Reader) {
  if (auto* manager = dynamic_cast<TkwBarManager*>(Reader->Parent())) ChangeBarManager(manager);
  TComponent::ReadState(Reader);
}

void TkwBarItem::SetName(const String& NewName) { TComponent::SetName(NewName); }

// --- TkwBarItemActionLink ----------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarItemActionLink)

bool TkwBarItemActionLink::IsCaptionLinked() {
  return TActionLink::IsCaptionLinked() && FClient->Caption() == CustomAction()->Caption();
}
bool TkwBarItemActionLink::IsCheckedLinked() {
  return TActionLink::IsCheckedLinked() && FClient->HasDownState() &&
         FClient->GetDownState() == CustomAction()->Checked();
}
bool TkwBarItemActionLink::IsEnabledLinked() {
  return TActionLink::IsEnabledLinked() && FClient->Enabled() == CustomAction()->Enabled();
}
bool TkwBarItemActionLink::IsHelpContextLinked() {
  return TActionLink::IsHelpContextLinked() && FClient->HelpContext() == CustomAction()->HelpContext();
}
bool TkwBarItemActionLink::IsHintLinked() {
  return TActionLink::IsHintLinked() && FClient->Hint() == CustomAction()->Hint();
}
bool TkwBarItemActionLink::IsImageIndexLinked() {
  return TActionLink::IsImageIndexLinked() && FClient->GetImageIndex() == CustomAction()->ImageIndex();
}
bool TkwBarItemActionLink::IsShortCutLinked() {
  return TActionLink::IsShortCutLinked() && FClient->ShortCut() == CustomAction()->ShortCut();
}
bool TkwBarItemActionLink::IsVisibleLinked() {
  return TActionLink::IsVisibleLinked() && FClient->Visible() == VisibleToItemVisible(CustomAction()->Visible());
}
bool TkwBarItemActionLink::IsOnExecuteLinked() { return FAction && FClient->OnClick == FAction->OnExecute; }

void TkwBarItemActionLink::SetCaption(const String& Value) {
  if (IsCaptionLinked()) FClient->SetCaption(Value);
}
void TkwBarItemActionLink::SetChecked(bool Value) {
  if (IsCheckedLinked()) FClient->SetDownState(Value);
}
void TkwBarItemActionLink::SetEnabled(bool Value) {
  if (IsEnabledLinked()) FClient->SetEnabled(Value);
}
void TkwBarItemActionLink::SetHelpContext(int Value) {
  if (IsHelpContextLinked()) FClient->SetHelpContext(Value);
}
void TkwBarItemActionLink::SetHint(const String& Value) {
  if (IsHintLinked()) FClient->SetHint(Value);
}
void TkwBarItemActionLink::SetImageIndex(int Value) {
  if (IsImageIndexLinked()) FClient->SetImageIndex(Value);
}
void TkwBarItemActionLink::SetShortCut(TShortCut Value) {
  if (IsShortCutLinked()) FClient->SetShortCut(Value);
}
void TkwBarItemActionLink::SetVisible(bool Value) {
  if (IsVisibleLinked()) FClient->SetVisible(VisibleToItemVisible(Value));
}
void TkwBarItemActionLink::SetOnExecute(const TNotifyEvent& Value) {
  if (IsOnExecuteLinked()) FClient->OnClick = Value;
}
