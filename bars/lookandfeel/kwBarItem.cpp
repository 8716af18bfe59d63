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
  Prop("Align", &Self::Align, &Self::SetAlign).Default(iaLeft),
  Prop("Caption", &Self::Caption, &Self::SetCaption),
  Prop("Category", &Self::Category, &Self::SetCategory).NoDefault(),
  Prop("Description", &Self::Description, &Self::SetDescription),
  Prop("Enabled", &Self::Enabled, &Self::SetEnabled).Default(true),
  Prop("HelpContext", &Self::HelpContext, &Self::SetHelpContext).Default(0),
  Prop("Hint", &Self::Hint, &Self::SetHint),
  Prop("Visible", &Self::Visible, &Self::SetVisible).Default(ivAlways),
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
  delete FGlyph;
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
  if (OnClick) OnClick(this);
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
}

void TkwBarItem::ReadState(TReader* Reader) {
  if (auto* manager = dynamic_cast<TkwBarManager*>(Reader->Parent())) ChangeBarManager(manager);
  TComponent::ReadState(Reader);
}

void TkwBarItem::SetName(const String& NewName) { TComponent::SetName(NewName); }
