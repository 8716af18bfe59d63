// This file implements the root of the item controls.
#include "kwBarItemControl.h"

#include "Forms.h"
#include "ScopeGuard.h"
#include "kwBarItem.h"
#include "kwBarManager.h"
#include "kwBarPainter.h"
#include "kwBarUtils.h"
#include "kwBarWindow.h"
#include "kwBars.h"

VELBOR_IMPLEMENT_CLASS(TkwBarItemControl)

TkwBarItemControl::TkwBarItemControl(TkwBarItemLink* ALink)
    : FLink(ALink), FWindow(ALink ? ALink->GetBarControl() : nullptr) {}

TkwBarItemControl::~TkwBarItemControl() {
  TkwBarManager* manager = GetBarManager();
  if (manager) manager->ForgetSelectedItemControl(this);
  if (FLink && FLink->Control() == this) FLink->SetControl(nullptr);
  if (FWindow && IsLiveBarControl(FWindow) && FWindow->SelectedControl() == this) {
    bool quiet = !manager || manager->IsDestroying() || manager->IsCustomizing();
    if (!quiet && FLink && FLink->GetShownIndex() >= 0)
      FWindow->SelectItemIfFree(nullptr);
    else
      FWindow->ClearSelection();
    if (FWindow->SelectedControl() == this) FWindow->ClearSelection();
  }
}

TkwBarManager* TkwBarItemControl::GetBarManager() const { return FLink ? FLink->GetBarManager() : nullptr; }
TkwBarItem* TkwBarItemControl::GetItem() const { return FLink ? FLink->Item() : nullptr; }

const TkwBarPainter* TkwBarItemControl::GetPainter() const {
  TkwBarManager* manager = GetBarManager();
  return manager ? manager->Painter() : nullptr;
}

void TkwBarItemControl::SetClickState(bool Value) {
  if (Value == FClickState) return;
  FClickState = Value;
  ClickStateChanged();
}

void TkwBarItemControl::Changed() {
  if (FWindow) FWindow->RepaintBar();
}

void TkwBarItemControl::CaptionChanged() {
  if (GetItem() && GetItem()->Align() == iaClient)
    Repaint();
  else if (FWindow)
    FWindow->RepaintBar();
}

void TkwBarItemControl::EnabledChanged() {
  if (!GetEnabled() && FWindow && FWindow->SelectedControl() == this) FWindow->ClearSelection();
  Repaint();
}

void TkwBarItemControl::ClickStateChanged() {
  if (!FClickState) Repaint();
}

void TkwBarItemControl::ShortCutChanged() {
  if (FWindow && FWindow->IsSubMenu()) FWindow->RepaintBar();
}

void TkwBarItemControl::VisibilityChanged() {
  if (FWindow) FWindow->RepaintBar();
}

bool TkwBarItemControl::IsOwnManagerItem() const {
  TkwBarItem* item = GetItem();
  TkwBarManager* manager = GetBarManager();
  if (!item || !manager) return false;
  return item->BarManager() == manager ||
         (item->BarManager() && item->BarManager()->ComponentState().Contains(csAncestor));
}

bool TkwBarItemControl::IsSelectable() const {
  if (FWindow && FWindow->IsCustomizing()) return IsOwnManagerItem();
  return true;
}

void TkwBarItemControl::ControlClick(bool ByMouse) {
  if (!GetEnabled()) return;
  BeforeClick(ByMouse);
  if (IsLiveBarControl(FWindow) && FWindow->HasItemControl(this)) Click(ByMouse);
}

void TkwBarItemControl::Click(bool) {
  TkwBarWindow* window = FWindow;
  // A control whose window is gone has nothing left to click through.
  if (!window || !IsLiveBarControl(window)) return;
  if (IsButtonControl() && window && window->IsSubMenu()) PlayMenuSound(1);
  TkwBarItemLink* recorded = FLink ? FLink->GetOriginalLink() : nullptr;
  // The link's own item is the one clicked: a container's entry records the container's link as
  // its original, but the entry (a list item's button) is what was chosen.
  TkwBarItem* item = FLink && FLink->Item() ? FLink->Item() : recorded ? recorded->Item() : nullptr;
  bool canClick = CanClick();
  bool closes = ClosesMenusOnClick();
  if (closes) {
    try {
      if (recorded) recorded->MarkUsed(true);
      if (FLink && FLink != recorded) FLink->MarkUsed(true);
    } catch (...) {
    }
  }
  bool clickState = false;
  if (GetUnclickAfterDoing() && (!closes || !window->IsSubMenu())) {
    SetClickState(true);
    clickState = true;
  }
  if (closes) {
    window->HideAll();
  } else if (!recorded) {
    recorded = FLink;
  }
  if (canClick && item) {
    item->FClickedLink = recorded;
    TScopeGuard forget([&] { item->FClickedLink = nullptr; });
    item->Click();
  }
  // The command may have closed the window and freed this control.
  if (clickState && IsLiveBarControl(window) && window->HasItemControl(this)) {
    try {
      SetClickState(false);
    } catch (...) {
    }
  }
}

bool TkwBarItemControl::IsSelected() const {
  return FWindow && FWindow->SelectedControl() == this && (GetEnabled() || !SelectedByMouse);
}

String TkwBarItemControl::GetCaption() const { return FLink ? FLink->GetCaption() : String(); }
bool TkwBarItemControl::GetEnabled() const { return FLink && FLink->Item() && FLink->Item()->Enabled(); }
TBitmap* TkwBarItemControl::GetGlyph() const { return FLink ? FLink->GetGlyph() : nullptr; }
int TkwBarItemControl::GetImageIndex() const { return GetItem() ? GetItem()->GetImageIndex() : -1; }

TCustomImageList* TkwBarItemControl::GetImages() const {
  TkwBarManager* manager = GetBarManager();
  if (!manager) return nullptr;
  return GetEnabled() || !manager->DisabledImages() ? manager->Images() : manager->DisabledImages();
}

String TkwBarItemControl::GetHint() const { return GetItem() ? GetItem()->Hint() : String(); }

TCustomImageList* TkwBarItemControl::GetHotImages() const {
  return GetBarManager() ? GetBarManager()->HotImages() : nullptr;
}

bool TkwBarItemControl::HasStateImages() const {
  return (GetBarManager() && GetBarManager()->DisabledImages()) || GetEnabled();
}

TCustomImageList* TkwBarItemControl::GetLargeImages() const {
  TkwBarManager* manager = GetBarManager();
  if (!manager) return nullptr;
  return !GetEnabled() && manager->DisabledLargeImages() ? manager->DisabledLargeImages() : manager->LargeImages();
}

TShortCut TkwBarItemControl::GetShortCut() const { return GetItem() ? GetItem()->ShortCut() : 0; }

bool TkwBarItemControl::CanShowHint() const {
  String hint = GetHint();
  return !hint.empty() && FWindow && !FWindow->IsSubMenu();
}

bool TkwBarItemControl::IsFlatLook() const {
  const TkwBarPainter* painter = GetPainter();
  return painter && painter->IsFlatLook() && FWindow && !FWindow->IsSubMenu();
}

void TkwBarItemControl::Repaint() {
  if (!FWindow || FWindow->IsDestroying()) return;
  FWindow->RepaintItem(this);
}

bool TkwBarItemControl::GetUnclickAfterDoing() const { return GetItem() ? GetItem()->UnclickAfterDoing() : true; }

TkwBarItemAlign TkwBarItemControl::GetActualAlign() const {
  TkwBarItemAlign align = GetItem() ? GetItem()->Align() : iaLeft;
  return align != iaLeft && FWindow && FWindow->CanAlignItem(this) ? align : iaLeft;
}

int TkwBarItemControl::GetHeight() {
  if (GetActualAlign() == iaClient && IsVerticalBarControl(FWindow))
    return IsRotatedBarControl(FWindow) ? GetMinWidth() : GetMinHeight();
  return CalcHeight();
}

int TkwBarItemControl::GetWidth() {
  if (GetActualAlign() == iaClient && FWindow && !FWindow->IsSubMenu() && !IsVerticalBarControl(FWindow))
    return GetMinWidth();
  return CalcWidth();
}

bool TkwBarItemControl::IsWindowNotMenu() const { return FWindow && !FWindow->IsSubMenu(); }

bool TkwBarItemControl::HasGlyph() const {
  TBitmap* glyph = GetGlyph();
  return (glyph && !glyph->Empty()) || HasImage();
}

bool TkwBarItemControl::HasImage() const {
  TCustomImageList* images = GetImages();
  int index = GetImageIndex();
  return images && index >= 0 && index < images->Count();
}

bool TkwBarItemControl::IsPressedUnderMouse() const {
  if (!GetEnabled() || !FWindow || !FLink || !FWindow->HandleAllocated()) return false;
  POINT p;
  GetCursorPos(&p);
  TPoint client = FWindow->ScreenToClient(TPoint(p.x, p.y));
  return FLink->ItemRect.Contains(client) && IsPrimaryMouseButtonDown();
}

void TkwBarItemControl::BeginMenuBackgroundPaint() {
  if (FWindow && FWindow->IsSubMenu()) FWindow->SetExpandedOnlyPaint(ExpandedOnly);
}

void TkwBarItemControl::EndMenuBackgroundPaint() {
  if (FWindow && FWindow->IsSubMenu()) FWindow->SetExpandedOnlyPaint(false);
}

int TkwBarItemControl::GetGlyphScaleBase() const { return FWindow ? FWindow->GetGlyphScaleBase() : 0; }

bool TkwBarItemControl::WantsDblClick() const {
  TkwBarManager* manager = GetBarManager();
  return (manager && manager->IsDesigning()) || HasSubMenu();
}
