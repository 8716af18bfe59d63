// This file implements the sub-menu window: placement, the column of items, scrolling, collapsed
// menus and expanding, tear-off, container items, keys and mouse, opening and closing.
#include "kwBarSubMenuControl.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "Forms.h"
#include "kwBarControl.h"
#include "kwBarDrawing.h"
#include "kwBarItem.h"
#include "kwBarItemControl.h"
#include "kwBarManager.h"
#include "kwBarShadow.h"
#include "kwBarUtils.h"
#include "ScopeGuard.h"
#include "kwBars.h"

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TkwBarSubMenuControl)

namespace {
TPoint PointOf(const TMessage& Message) {
  return TPoint(short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam)));
}

// Timer identifiers: scrolling, and the expand timers (2: the arrow lights, 3: the menu expands).
const UINT_PTR ScrollTimerId = 1;
const UINT_PTR LightTimerId = 2;
const UINT_PTR ExpandTimerId = 3;

// Posted after the first paint of a new window: the popup sound.
const UINT WM_PLAYPOPUPSOUND = WM_USER + 3;
}  // namespace

TkwBarSubMenuControl::TkwBarSubMenuControl(TkwBarManager* Manager, TkwBarItemLinks* Links)
    : TCustomkwBarControl(Manager, Links) {
  SetBounds(Left(), Top(), 0, Height());
}

TkwBarSubMenuControl::~TkwBarSubMenuControl() {
  Destroying();
  StopAnimation();
  KillScrollTimer();
  StopExpandTimer();
  if (TkwBarSubMenuControl* child = ChildMenu(); child && IsLiveBarControl(child) && !child->IsClosing()) {
    SetChildMenu(nullptr);
    child->CloseAndFree();
  }
  if (TCustomkwBarControl* parent = ParentControl(); parent && IsLiveBarControl(parent) && parent->ChildMenu() == this)
    parent->SetChildMenu(nullptr);
  if (IsLiveBarControl(this) && IsActive()) SetActive(false);
  if (HandleAllocated()) DestroyHandle();
  DestroyControls();
  DeleteExpandedOnlyBrush();
}

IkwMenuOwner* TkwBarSubMenuControl::MenuOwner() const {
  return ItemLinks() ? dynamic_cast<IkwMenuOwner*>(ItemLinks()->OwnerObject()) : nullptr;
}

bool TkwBarSubMenuControl::IsRightButtonAsLeft() const {
  for (const TkwBarSubMenuControl* menu = this; menu;
       menu = dynamic_cast<const TkwBarSubMenuControl*>(menu->ParentControl()))
    if (!menu->ParentControl()) return !menu->FOwnerItemControl;
  return false;
}

// --- Creation and destruction ----------------------------------------------------------------------

void TkwBarSubMenuControl::CreateParams(TCreateParams& Params) {
  TCustomkwBarControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  Params.ExStyle |= WS_EX_TOPMOST;
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC | CS_SAVEBITS;
  TkwBarManager* manager = GetBarManager();
  TCustomForm* form = manager ? manager->OwnerForm() : nullptr;
  Params.WndParent = ExplicitParent ? ExplicitParent : form ? form->Handle() : nullptr;
}

void TkwBarSubMenuControl::CreateExpandedOnlyBrush() {
  DeleteExpandedOnlyBrush();
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  COLORREF light = RGB(std::min(GetRValue(face) + 20, 255), std::min(GetGValue(face) + 20, 255),
                       std::min(GetBValue(face) + 20, 255));
  TkwBarManager* manager = GetBarManager();
  if (ScreenColorDepth() <= 8 && manager && manager->UsesRecentItemsFirst()) {
    LOGPALETTE palette{};
    palette.palVersion = 0x300;
    palette.palNumEntries = 1;
    palette.palPalEntry[0] = {GetRValue(light), GetGValue(light), GetBValue(light), 0};
    FExpandedOnlyPalette = CreatePalette(&palette);
    FExpandedOnlyBrush = CreateSolidBrush(PALETTEINDEX(0));
  } else {
    FExpandedOnlyBrush = CreateSolidBrush(light);
  }
}

void TkwBarSubMenuControl::DeleteExpandedOnlyBrush() {
  if (FExpandedOnlyBrush) DeleteObject(FExpandedOnlyBrush);
  if (FExpandedOnlyPalette) DeleteObject(FExpandedOnlyPalette);
  FExpandedOnlyBrush = nullptr;
  FExpandedOnlyPalette = nullptr;
}

void TkwBarSubMenuControl::CreateWnd() {
  CreateExpandedOnlyBrush();
  TCustomkwBarControl::CreateWnd();
  if (FPreparing) return;
  // The client area is known now.
  CalcItemsPositions(nullptr);
  if (IsActive()) StartFullMenuTimer();
  if (Animate) PrepareAnimation(FFlippedHorizontally, FFlippedVertically);
  FPopupSoundPending = true;
}

void TkwBarSubMenuControl::PrepareWindow() {
  // Made while the menu measures itself (an item asked for it): the window comes at the bounds
  // known so far, and the placing that follows moves it.
  if (FPreparing) return;
  FPreparing = true;
  TScopeGuard done([this] { FPreparing = false; });
  FRequestedLeft = Left();
  FRequestedTop = Top();
  SetActive(true);
  TkwBarManager* manager = GetBarManager();
  TkwBarItemLinks* links = ItemLinks();
  if (links) {
    bool all = !manager || !manager->UsesRecentItemsFirst() || MenuChainExpanded();
    links->SetRecentItemCount(all ? -1 : links->CalcRecentItemCount());
  }
  FTopIndex = 0;
  // Measured on the screen, with the font the window will have.
  TWindowDC screen;
  TCanvasDCScope measuring(Canvas(), screen);
  CreateControls();
  CalcPosition(FFlippedHorizontally, FFlippedVertically);
}

void TkwBarSubMenuControl::DestroyWnd() {
  StopAnimation();
  KillScrollTimer();
  StopExpandTimer();
  if (TkwBarSubMenuControl* child = ChildMenu(); child && IsLiveBarControl(child) && !child->IsClosing() &&
                                                  child->HandleAllocated())
    child->DestroyHandle();
  if (!FRecreateGuard) {
    SetActive(false);
    if (auto* button = dynamic_cast<IkwButtonControl*>(FOwnerItemControl);
        button && IsLiveBarControl(FOwnerItemControl->BarWindow())) {
      auto* ownerWindow = dynamic_cast<TCustomkwBarControl*>(FOwnerItemControl->BarWindow());
      button->ResetDropDown();
      FOwnerItemControl->Repaint();
      if (FOwnerItemControl->IsPressedUnderMouse()) {
        if (button->IsArrowHot() && ownerWindow) ownerWindow->SwallowNextClick = true;
        if (auto* toolbar = dynamic_cast<TkwBarControl*>(ownerWindow)) toolbar->EndMenuMode();
      } else if (GetKeyState(VK_ESCAPE) >= 0 && GetKeyState(VK_LEFT) >= 0 && GetKeyState(VK_RIGHT) >= 0) {
        if (auto* toolbar = dynamic_cast<TkwBarControl*>(ownerWindow)) toolbar->EndMenuMode();
      }
    }
  }
  TCustomkwBarControl::DestroyWnd();
  if (!FRecreateGuard) {
    DoCloseUp();
    DeleteExpandedOnlyBrush();
  }
}

void TkwBarSubMenuControl::DestroyWindowHandle() {
  TCustomkwBarControl::DestroyWindowHandle();
}

void TkwBarSubMenuControl::Show() {
  DoPopup();
  if (!IsLiveBarControl(this)) return;
  TkwBarManager* manager = GetBarManager();
  auto* root = GetRootBarControl(this);
  TkwBarManager* rootManager = root ? root->GetBarManager() : manager;
  FAnimationKind = rootManager ? rootManager->MenuAnimations() : maNone;
  if (FAnimationKind == maRandom) {
    int n = std::rand() % 100;
    FAnimationKind = n < 33 ? maUnfold : n < 66 ? maSlide : maFade;
  }
  TkwBarItemLinks* links = ItemLinks();
  bool visibleLinks = links && links->GetVisibleItemCount() > 0;
  Animate = Animate && FAnimationKind != maNone && FAnimationKind != maFade && visibleLinks && !IsCustomizing();
  HandleNeeded();
  if (!IsLiveBarControl(this)) return;
  if (FAnimationKind == maFade && LateUser32().AnimateWindow && !IsCustomizing()) {
    DispatchPaintMessages();
    LateUser32().AnimateWindow(Handle(), 150, AW_BLEND);
    if (IsLiveBarControl(this) && HandleAllocated()) Invalidate();
  } else {
    UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    if (!IsAnimating()) flags |= SWP_SHOWWINDOW;
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, flags);
    DispatchPaintMessages();
  }
}

void TkwBarSubMenuControl::CloseAndFree() {
  if (FClosing) return;
  FClosing = true;
  FLock = true;
  if (HandleAllocated()) DestroyHandle();
  delete this;
}

void TkwBarSubMenuControl::DoCloseUp() {
  if (IkwMenuOwner* owner = MenuOwner()) owner->MenuCloseUp();
  if (OnCloseUp) OnCloseUp(this);
}

void TkwBarSubMenuControl::DoPopup() {
  if (IkwMenuOwner* owner = MenuOwner()) owner->MenuPopup();
  if (OnPopup) OnPopup(this);
}

// --- Metrics -----------------------------------------------------------------------------------------

void TkwBarSubMenuControl::CalcDrawingConsts() {
  TCustomkwBarControl::CalcDrawingConsts();
  int row = RowUnit();
  Painter()->CalcMenuMetrics(this, row, FMenuArrowWidth, FExpandArrowHeight, FGlyphScaleBase);
  SetRowUnitForMenu(row);
}

HFONT TkwBarSubMenuControl::GetFont() const {
  if (auto* parent = ParentControl(); parent && IsLiveBarControl(parent)) return parent->GetFont();
  return TCustomkwBarControl::GetFont();
}

void TkwBarSubMenuControl::UpdateFont() {
  TOwnedFont font(CloneFontHandle(GetFont()));
  Font()->SetHandle(font.Release());
}

bool TkwBarSubMenuControl::CanCustomizeItems() const {
  if (TCustomkwBarControl::CanCustomizeItems()) return true;
  IkwMenuOwner* owner = MenuOwner();
  return IsCustomizing() && owner && owner->MenuAllowsCustomizing();
}

bool TkwBarSubMenuControl::IsShadowVisible() const { return !IsAnimating() && TCustomkwBarControl::IsShadowVisible(); }

TRect TkwBarSubMenuControl::GetItemDrawRect(const TkwBarItemControl* Control, bool WithGroup) const {
  TRect r = GetItemRect(Control);
  if (r.IsEmpty() || !Control->Link()) return r;
  int index = Control->Link()->GetShownIndex();
  if (WithGroup && Control->Link()->BeginGroup() && index > FTopIndex) r.Top -= GetBeginGroupSize();
  if (Control->RecentBlockEdge) r.Top -= 1;
  return r;
}

int TkwBarSubMenuControl::GetSideBarWidth() const {
  IkwMenuOwner* owner = MenuOwner();
  return owner ? std::max(owner->MenuBarSize(), 0) : 0;
}

TBitmap* TkwBarSubMenuControl::GetSideBarBitmap() const {
  IkwMenuOwner* owner = MenuOwner();
  if (owner && owner->MenuBackground() && !owner->MenuBackground()->Empty()) return owner->MenuBackground();
  TkwBarManager* manager = GetBarManager();
  return manager ? manager->Backgrounds()->SubMenu() : nullptr;
}

int TkwBarSubMenuControl::GetGlyphBandWidth() const {
  int width = GetSideBarWidth() + RowUnit() + 2;
  Painter()->AdjustMenuGlyphColumnWidth(width);
  return width;
}

int TkwBarSubMenuControl::GetCheckBandWidth() const {
  if (!IsQuickCustomizingMenu()) return 0;
  int width = RowUnit();
  Painter()->AdjustMenuGlyphColumnWidth(width);
  return width;
}

int TkwBarSubMenuControl::GetDetachStripHeight() {
  SIZE extent{};
  TWindowDC screen;
  TOwnedFont font(CloneFontHandle(GetFont()));
  TSelectedObject selected(screen, font);
  GetTextExtentPoint32A(screen, "Qq", 2, &extent);
  int half = extent.cy / 2;
  return half % 2 == 0 ? half + 1 : half;
}

bool TkwBarSubMenuControl::IsDetachable() const {
  IkwMenuOwner* owner = MenuOwner();
  return owner && owner->MenuDetachable();
}

bool TkwBarSubMenuControl::CanDetach() const {
  IkwMenuOwner* owner = MenuOwner();
  if (!owner || !owner->MenuDetachable() || !owner->MenuDetachingBar()) return false;
  TkwBarWindow* root = GetRootBarControl(const_cast<TkwBarSubMenuControl*>(this));
  return !root || root->Bar() != owner->MenuDetachingBar();
}

bool TkwBarSubMenuControl::NeedsDoubleBuffer() const {
  TBitmap* bitmap = GetSideBarBitmap();
  return bitmap && !bitmap->Empty();
}

bool TkwBarSubMenuControl::MarkExists() const {
  TkwBarManager* manager = GetBarManager();
  TkwBarItemLinks* links = ItemLinks();
  return manager && manager->UsesRecentItemsFirst() && links &&
         links->GetShownItemCount() < links->GetVisibleItemCount();
}

// --- Layout ------------------------------------------------------------------------------------------

void TkwBarSubMenuControl::CalcItemsPositions(TSize* Size) {
  TkwBarItemLinks* links = ItemLinks();
  if (!links) return;
  links->ClearItemRects();
  TkwBarManager* manager = GetBarManager();
  const TkwBarItemControlPainter* painter = Painter();
  int recent = links->CalcRecentItemCount();
  if (recent < 0) recent = links->GetVisibleItemCount();
  bool marking = manager && manager->UsesRecentItemsFirst() && MenuChainExpanded();
  int offset = 0;
  TRect start;
  int limit;
  painter->GetMenuItemsArea(this, Size ? &offset : nullptr, start, limit);
  int top = start.Top;
  int widest = 0;
  bool previousRare = false;
  int first = Size ? 0 : FTopIndex;
  for (int i = first; i < links->GetShownItemCount(); ++i) {
    TkwBarItemLink* link = links->GetShownItem(i);
    if (!link->Control()) link->CreateItemControl();
    TkwBarItemControl* control = link->Control();
    if (!control) continue;
    control->ExpandedOnly = marking && link->GetRecentIndex() >= recent;
    control->RecentBlockEdge = control->ExpandedOnly && !previousRare && (i > first || IsDetachable());
    previousRare = control->ExpandedOnly;
    if (control->RecentBlockEdge && painter->MarksRarelyUsedBoundary()) top += 1;
    if (link->BeginGroup() && i > first && !(i == first + 1 && !Size && CanScrollUp())) top += GetBeginGroupSize();
    int height = control->GetHeight();
    if (!Size && top + height > limit && i > first) break;
    link->ItemRect = TRect(start.Left, top, start.Right, top + height);
    top += height;
    // Only the menu's measuring needs the widths, which take measuring the texts.
    if (Size) widest = std::max(widest, control->GetWidth());
  }
  if (Size) {
    *Size = TSize{widest, top};
    links->ClearItemRects();
  }
}

void TkwBarSubMenuControl::CalcPosition(bool& FlippedHorizontally, bool& FlippedVertically) {
  FlippedHorizontally = FlippedVertically = false;
  TSize content;
  CalcItemsPositions(&content);
  TSize size;
  Painter()->CalcMenuSize(this, size, content);
  int width = size.cx, height = size.cy;
  int left = FRequestedLeft, top = FRequestedTop;
  TRect area = GetMonitorWorkArea(TPoint(left, top));
  // 1. Past the right edge.
  if (left + width > area.Right) {
    if (OwnerWidth == 0) {
      left = area.Right - width;
    } else if (area.Right - left < left - OwnerWidth - area.Left) {
      left = left - OwnerWidth - width;
      FlippedHorizontally = true;
    }
  }
  // 2. Before the left edge.
  if (left < area.Left) {
    if (OwnerWidth == 0) {
      left = area.Left;
    } else if (!OpensRightwards) {
      int flipped = left + width + OwnerWidth;
      if (area.Right - flipped > area.Left - left) {
        left = flipped;
        FlippedHorizontally = true;
      }
    }
  }
  // 3. Clamped into the area.
  if (left + width > area.Right) left = area.Right - width;
  if (left < area.Left) left = area.Left;
  // 4. Past the bottom.
  if (top + height > area.Bottom) {
    if (OwnerHeight > 0) {
      int below = area.Bottom - top;
      int above = top - OwnerHeight - area.Top;
      if (below < above) {
        top = top - OwnerHeight - height;
        FlippedVertically = true;
      } else {
        height = below;
      }
    } else if (OwnerWidth > 0 || top - height < area.Top) {
      top = area.Bottom - height;
    } else {
      top -= height;
      FlippedVertically = true;
    }
  }
  // 5. Above the top.
  if (top < area.Top) {
    if (OpensDownwards) {
      int overlap = area.Top - top;
      top = area.Top;
      height = FlippedVertically ? height - overlap : std::min(height, area.Bottom - top);
    } else if (OwnerHeight > 0) {
      int flipped = top + height + OwnerHeight;
      if (area.Bottom - flipped > area.Top - top) {
        top = flipped;
        FlippedVertically = true;
      }
      height = std::min(height, area.Bottom - top);
    }
  }
  SetBounds(left, top, width, height);
  // Before the window exists, its client area is not known: CreateWnd lays the items out.
  if (HandleAllocated()) CalcItemsPositions(nullptr);
}

int TkwBarSubMenuControl::GetVisibleCount() {
  TkwBarItemLinks* links = ItemLinks();
  int count = 0;
  for (int i = FTopIndex; i < links->GetShownItemCount(); ++i)
    if (!links->GetShownItem(i)->ItemRect.IsEmpty()) ++count;
  return count;
}

bool TkwBarSubMenuControl::CanScrollDown() {
  TkwBarItemLinks* links = ItemLinks();
  return links && GetVisibleCount() < links->GetShownItemCount() - FTopIndex;
}

bool TkwBarSubMenuControl::LastVisibleRow(int& Index) {
  TkwBarItemLinks* links = ItemLinks();
  Index = -1;
  for (int i = FTopIndex; i < links->GetShownItemCount(); ++i)
    if (!links->GetShownItem(i)->ItemRect.IsEmpty()) Index = i;
  return Index >= 0;
}

void TkwBarSubMenuControl::SetTopIndex(int Value) {
  TkwBarItemLinks* links = ItemLinks();
  Value = std::clamp(Value, 0, std::max(links->GetShownItemCount() - 1, 0));
  if (Value == FTopIndex) return;
  FTopIndex = Value;
  CalcItemsPositions(nullptr);
  Invalidate();
}

TRect TkwBarSubMenuControl::GetScrollArrowRect(bool Up) {
  TkwBarItemLinks* links = ItemLinks();
  TRect client = ClientRect();
  if (Up) {
    if (FTopIndex >= links->GetShownItemCount()) return TRect();
    TRect r = links->GetShownItem(FTopIndex)->ItemRect;
    return r;
  }
  int last;
  if (!LastVisibleRow(last)) return TRect();
  TRect r = links->GetShownItem(last)->ItemRect;
  r.Bottom = client.Bottom - 2 - (MarkExists() ? RowUnit() : 0);
  return r;
}

TRect TkwBarSubMenuControl::GetExpandArrowRect() {
  TRect client = ClientRect();
  int margin = Painter()->GetMenuExpandButtonMargin(this);
  return TRect(GetSideBarWidth() + margin + 1, client.Bottom - margin - FExpandArrowHeight, client.Right - margin - 1,
               client.Bottom - margin);
}

TRect TkwBarSubMenuControl::GetDetachStripRect() {
  if (!IsDetachable() || !HandleAllocated()) return TRect();
  RECT window;
  GetWindowRect(Handle(), &window);
  TRect r(1, 1, window.right - window.left - 1, 1 + Painter()->GetMenuTearOffBarHeight(this) - 1);
  Painter()->AdjustMenuTearOffBarRect(this, r);
  return r;
}

TkwBarItemControl* TkwBarSubMenuControl::HitTestItem(TPoint Point, bool& Outside, bool& FirstHalf, bool& Vertical) {
  bool up;
  if (IsOverScrollArrow(Point, up)) return nullptr;
  if (MarkExists() && GetExpandArrowRect().Contains(Point)) return nullptr;
  return TCustomkwBarControl::HitTestItem(Point, Outside, FirstHalf, Vertical);
}

bool TkwBarSubMenuControl::IsOverScrollArrow(TPoint ClientPoint, bool& Up) {
  if (CanScrollUp() && GetScrollArrowRect(true).Contains(ClientPoint)) {
    Up = true;
    return true;
  }
  if (CanScrollDown() && GetScrollArrowRect(false).Contains(ClientPoint)) {
    Up = false;
    return true;
  }
  return false;
}

// --- Container items ---------------------------------------------------------------------------------

void TkwBarSubMenuControl::CreateControls() {
  TkwBarItemLinks* links = ItemLinks();
  // Once per set of controls: the window's creation asks again after the menu measured itself.
  if (links && !IsCustomizing() && !FContainerExpansion && FContainerLinks.empty()) {
    FContainerExpansion = true;
    try {
      std::vector<IkwContainerItem*> filled;
      for (int i = 0; i < links->GetVisibleItemCount(); ++i) {
        TkwBarItemLink* link = links->GetVisibleItem(i);
        auto* container = dynamic_cast<IkwContainerItem*>(link->Item());
        if (!container) continue;
        int index = link->Index();
        bool first = std::find(filled.begin(), filled.end(), container) == filled.end();
        filled.push_back(container);
        FContainerLinks.push_back({index, link});
        FContainerRecentIndexes.push_back(link->GetRecentIndex());
        container->AddLinks(links, index + 1, link, first);
        if (container->ReplacesOwnLink()) link->SetCollection(nullptr);
        i = -1;  // the visible list changed: walk it again, past the containers already filled
        for (int k = 0; k < links->GetVisibleItemCount(); ++k) {
          auto* other = dynamic_cast<IkwContainerItem*>(links->GetVisibleItem(k)->Item());
          if (!other || std::any_of(FContainerLinks.begin(), FContainerLinks.end(),
                                    [&](const auto& P) { return P.second == links->GetVisibleItem(k); }))
            continue;
          i = k - 1;
          break;
        }
        if (i == -1) break;
      }
    } catch (...) {
      FContainerExpansion = false;
      throw;
    }
    FContainerExpansion = false;
  }
  TCustomkwBarControl::CreateControls();
}

void TkwBarSubMenuControl::DestroyControls() {
  TCustomkwBarControl::DestroyControls();
  TkwBarItemLinks* links = ItemLinks();
  if (!links || IsCustomizing() || FContainerLinks.empty()) return;
  FContainerExpansion = true;
  for (int k = int(FContainerLinks.size()) - 1; k >= 0; --k) {
    auto [index, link] = FContainerLinks[std::size_t(k)];
    auto* container = dynamic_cast<IkwContainerItem*>(link->Item());
    if (!container) continue;
    // The container's links follow its own, or take its place when it left the menu for them.
    container->RemoveLinks(links, link->Collection() ? index + 1 : index);
    if (!link->Collection()) {
      link->SetCollection(links);
      link->SetIndex(index);
      link->SetRecentIndex(FContainerRecentIndexes[std::size_t(k)]);
    }
    container->MarkForClearing();
  }
  FContainerLinks.clear();
  FContainerRecentIndexes.clear();
  FContainerExpansion = false;
}

// --- Painting ----------------------------------------------------------------------------------------

void TkwBarSubMenuControl::Paint() {
  if (IsAnimating() || FLock) return;
  HDC dc = Canvas()->Handle();
  const TkwBarItemControlPainter* painter = Painter();
  TRect client = ClientRect();
  painter->DrawMenuBackground(this, dc, clNone, painter->GetMenuBrush(this), client);
  TRect frame = client;
  painter->DrawMenuItemsFrame(this, dc, GetBackgroundBrush(), frame);
  TkwBarItemLinks* links = ItemLinks();
  FPaintingItems = true;
  try {
    if (links && links->GetShownItemCount() > 0) {
      CalcItemsPositions(nullptr);
      int last;
      bool any = LastVisibleRow(last);
      int from = FTopIndex + (CanScrollUp() ? 1 : 0);
      int to = any ? last - (CanScrollDown() ? 1 : 0) : -1;
      for (int i = FTopIndex; i < links->GetShownItemCount(); ++i)
        if (TkwBarItemControl* control = links->GetShownItem(i)->Control()) control->RowEnd = false;
      for (int i = from; i <= to; ++i)
        if (TkwBarItemControl* control = links->GetShownItem(i)->Control()) RepaintItem(control);
      if (to >= 0)
        if (TkwBarItemControl* control = links->GetShownItem(to)->Control()) control->RowEnd = true;
      painter->DrawMenuExtras(this, dc, FTopIndex);
    }
  } catch (...) {
    FPaintingItems = false;
    throw;
  }
  FPaintingItems = false;
  SelectClipRgn(dc, nullptr);
  int side = GetSideBarWidth();
  if (side > 0) {
    TRect strip(1, 1, 1 + side, client.Bottom - 1);
    TkwBarManager* manager = GetBarManager();
    if (manager && manager->IsDesigning())
      FillVerticalGradient(Canvas(), strip, 0, 255, 0, 0, 0, 0);
    else if (IkwMenuOwner* owner = MenuOwner())
      owner->PaintMenuBar(Canvas(), strip);
  }
}

void TkwBarSubMenuControl::RepaintItem(TkwBarItemControl* Control) {
  if (FLock || !Control || !Control->Link()) return;
  TkwBarItemLink* link = Control->Link();
  TRect r = link->ItemRect;
  if (r.IsEmpty()) {
    Control->ExtraRect = TRect();
    return;
  }
  if (!FPaintingItems || RepaintInProgress()) {
    if (HandleAllocated()) {
      TRect all = GetItemDrawRect(Control, true);
      InvalidateRect(Handle(), AsRECT(all), FALSE);
    }
    return;
  }
  const TkwBarItemControlPainter* painter = Painter();
  HDC dc = Canvas()->Handle();
  HBRUSH brush = GetBackgroundBrush();
  painter->GetMenuItemBrush(this, brush);
  bool rare = Control->ExpandedOnly && !painter->PaintsRarelyUsedItemsItself();
  TSelectedPalette palette(dc, rare ? FExpandedOnlyPalette : nullptr, false);
  if (rare && FExpandedOnlyBrush) brush = FExpandedOnlyBrush;
  SetItemBrush(brush);
  int index = link->GetShownIndex();
  bool underScrollArrow = CanScrollUp() && index == FTopIndex + 1;
  if (link->BeginGroup() && index > FTopIndex && !underScrollArrow)
    painter->DrawMenuBeginGroup(this, Control, GetSideBarWidth() == 0, r, dc);
  else
    Control->ExtraRect = TRect();
  painter->DrawMenuItemMargins(this, Control, GetSideBarWidth() == 0, index, r, dc);
  {
    TSavedDC saved(dc);
    Control->Draw(r, ilMenu);
  }
  DrawCustomizingFrame(Control);
  SetItemBrush(nullptr);
}

void TkwBarSubMenuControl::DrawBackground(HDC DC, TRect Rect, bool, TColor Color, HBRUSH Brush) {
  Painter()->DrawMenuBackground(this, DC, Color, Brush, Rect);
}

// --- Menu mode, selection, expanding -----------------------------------------------------------------

void TkwBarSubMenuControl::SetActive(bool Value) {
  bool was = IsActive();
  TCustomkwBarControl::SetActive(Value);
  if (!IsLiveBarControl(this)) return;
  if (Value && !was) StartFullMenuTimer();
}

void TkwBarSubMenuControl::StartFullMenuTimer() {
  TkwBarManager* manager = GetBarManager();
  if (manager && manager->UsesRecentItemsFirst() && !MenuChainExpanded() && manager->ShowFullMenusAfterDelay())
    StartExpandTimer(ExpandTimerId, 4000);
}

void TkwBarSubMenuControl::SetSelectedItem(TkwBarItemControl* Control) {
  TCustomkwBarControl::SetSelectedItem(Control);
  if (!IsLiveBarControl(this) || MarkState() != msNormal) return;
  TkwBarManager* manager = GetBarManager();
  StopExpandTimer();
  if (manager && manager->UsesRecentItemsFirst() && !MenuChainExpanded() && manager->ShowFullMenusAfterDelay() &&
      MarkExists())
    StartExpandTimer(LightTimerId, 4000);
}

void TkwBarSubMenuControl::StartExpandTimer(UINT_PTR Id, UINT Milliseconds) {
  if (!HandleAllocated()) return;
  StopExpandTimer();
  FExpandTimer = SetTimer(Handle(), Id, Milliseconds, nullptr) ? Id : 0;
}

void TkwBarSubMenuControl::StopExpandTimer() {
  if (FExpandTimer && HandleAllocated()) KillTimer(Handle(), FExpandTimer);
  FExpandTimer = 0;
}

void TkwBarSubMenuControl::KillScrollTimer() {
  if (FScrollTimer && HandleAllocated()) KillTimer(Handle(), ScrollTimerId);
  FScrollTimer = 0;
}

void TkwBarSubMenuControl::SetMarkState(int State) {
  TkwBarManager* manager = GetBarManager();
  if (IsCustomizing() || !manager || !manager->UsesRecentItemsFirst()) return;
  if (State == msHot) {
    auto* editor = dynamic_cast<IkwInPlaceEditor*>(SelectedControl());
    if (editor && editor->IsEditing()) return;
  }
  if (State == MarkState()) return;
  SetMarkStateField(State);
  if (State == msPressed) {
    if (MarkExists()) Expand();
    return;
  }
  if (HandleAllocated() && MarkExists()) {
    TRect arrow = GetExpandArrowRect();
    InvalidateRect(Handle(), AsRECT(arrow), FALSE);
  }
  if (manager->ShowFullMenusAfterDelay()) {
    StopExpandTimer();
    POINT cursor;
    GetCursorPos(&cursor);
    ::ScreenToClient(Handle(), &cursor);
    if (State == msHot && GetExpandArrowRect().Contains(TPoint(cursor.x, cursor.y)))
      StartExpandTimer(ExpandTimerId, 1000);
  }
}

void TkwBarSubMenuControl::Expand() {
  MenuChainExpanded() = true;
  Animate = true;
  FRecreateGuard = true;
  try {
    if (HandleAllocated()) DestroyHandle();
  } catch (...) {
    FRecreateGuard = false;
    throw;
  }
  FRecreateGuard = false;
  SetMarkStateField(msNormal);
  SetBounds(FRequestedLeft, FRequestedTop, Width(), Height());
  Show();
}

void TkwBarSubMenuControl::HideAll() {
  if (ParentControl()) {
    TCustomkwBarControl::HideAll();
    return;
  }
  SetChildMenu(nullptr);
  CloseAndFree();
  DispatchPaintMessages();
}

void TkwBarSubMenuControl::RepaintBar() {
  if (FLock || FContainerExpansion || !HandleAllocated()) return;
  TkwBarManager* manager = GetBarManager();
  TkwBarItemLink* parked = nullptr;
  if (IsCustomizing() && manager && manager->SelectedItemControl() &&
      manager->SelectedItemControl()->BarWindow() == this) {
    parked = manager->SelectedItemControl()->Link();
    manager->ForgetSelectedItemControl(manager->SelectedItemControl());
  }
  DestroyControls();
  CreateControls();
  TkwBarItemLinks* links = ItemLinks();
  bool all = !manager || !manager->UsesRecentItemsFirst() || MenuChainExpanded();
  links->SetRecentItemCount(all ? -1 : links->CalcRecentItemCount());
  bool visible = IsWindowVisible(Handle());
  TRect before = BoundsRect();
  int topBefore = FTopIndex;
  bool flippedH, flippedV;
  CalcPosition(flippedH, flippedV);
  while (CanScrollUp() && !CanScrollDown()) {
    --FTopIndex;
    CalcItemsPositions(nullptr);
    if (CanScrollDown()) {
      ++FTopIndex;
      CalcItemsPositions(nullptr);
      break;
    }
  }
  if (visible) SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  if (topBefore != FTopIndex || !(before == BoundsRect())) CalcItemsPositions(nullptr);
  Invalidate();
  if (parked && parked->Control()) {
    SetSelectedItem(parked->Control());
    if (manager) manager->SetSelectedItemControl(parked->Control());
  }
}

void TkwBarSubMenuControl::ScrollSelectionIntoView() {
  TkwBarItemControl* selected = SelectedControl();
  if (!selected || !selected->Link()) return;
  int index = selected->Link()->GetShownIndex();
  if (index < 0) return;
  bool changed = false;
  if (CanScrollUp() && index <= FTopIndex) {
    FTopIndex = std::max(index - 1, 0);
    changed = true;
  }
  CalcItemsPositions(nullptr);
  for (int guard = 0; guard < 1000; ++guard) {
    int last;
    if (!LastVisibleRow(last)) break;
    int lastUsable = last - (CanScrollDown() ? 1 : 0);
    if (index <= lastUsable) break;
    ++FTopIndex;
    changed = true;
    CalcItemsPositions(nullptr);
  }
  if (changed) Invalidate();
}

// --- Messages ----------------------------------------------------------------------------------------

void TkwBarSubMenuControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_KEYDOWN: WMKeyDown(Message); break;
    case WM_LBUTTONDOWN: WMLButtonDown(Message); break;
    case WM_MOUSEMOVE: WMMouseMove(Message); break;
    case WM_MOUSELEAVE: WMMouseLeave(Message); break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: WMRButton(Message); break;
    case WM_NCCALCSIZE: WMNCCalcSize(Message); break;
    case WM_NCHITTEST: WMNCHitTest(Message); break;
    case WM_NCPAINT: WMNCPaint(Message); break;
    case WM_PRINT: WMPrint(Message); break;
    case WM_PRINTCLIENT: WMPrintClient(Message); break;
    case WM_TIMER: WMTimer(Message); break;
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS; break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case WM_PAINT:
      TCustomkwBarControl::Dispatch(Message);
      // The sound's player starts a thread, which would hold the first paint back.
      if (FPopupSoundPending && HandleAllocated()) {
        FPopupSoundPending = false;
        PostMessageA(Handle(), WM_PLAYPOPUPSOUND, 0, 0);
      }
      break;
    case WM_PLAYPOPUPSOUND: PlayMenuSound(0); break;
    default: TCustomkwBarControl::Dispatch(Message); break;
  }
}

void TkwBarSubMenuControl::CMFontChanged(TMessage&) {
  TOwnedFont font(CloneFontHandle(GetFont()));
  Canvas()->Font()->SetHandle(font.Release());
  CalcDrawingConsts();
}

void TkwBarSubMenuControl::WMNCCalcSize(TMessage& Message) {
  auto* r = reinterpret_cast<RECT*>(Message.LParam);
  r->left += 1;
  r->top += 1;
  r->right -= 1;
  r->bottom -= 1;
  if (IsDetachable()) r->top += Painter()->GetMenuTearOffBarHeight(this);
  if (r->bottom < r->top) r->bottom = r->top;
  Message.Result = 0;
}

void TkwBarSubMenuControl::WMNCHitTest(TMessage& Message) {
  TCustomkwBarControl::Dispatch(Message);
  if (IsDetachable()) {
    RECT window;
    GetWindowRect(Handle(), &window);
    TPoint point(short(LOWORD(Message.LParam)) - window.left, short(HIWORD(Message.LParam)) - window.top);
    if (GetDetachStripRect().Contains(point)) Message.Result = HTCLIENT;
  }
}

void TkwBarSubMenuControl::WMNCPaint(TMessage&) {
  if (!HandleAllocated()) return;
  TWindowDC dc(Handle(), TWindowDC::WholeWindow);
  RECT window;
  GetWindowRect(Handle(), &window);
  TRect all(0, 0, window.right - window.left, window.bottom - window.top);
  Painter()->DrawMenuFrame(this, dc, all);
}

void TkwBarSubMenuControl::WMPrint(TMessage& Message) {
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  RECT window;
  GetWindowRect(Handle(), &window);
  TRect all(0, 0, window.right - window.left, window.bottom - window.top);
  if (Message.LParam & PRF_NONCLIENT) Painter()->DrawMenuFrame(this, dc, all);
  if (Message.LParam & PRF_CLIENT) {
    POINT origin = {0, 0};
    ::ClientToScreen(Handle(), &origin);
    TSavedDC saved(dc);
    SetWindowOrgEx(dc, -(origin.x - window.left), -(origin.y - window.top), nullptr);
    TMessage paint{WM_PRINTCLIENT, Message.WParam, PRF_CLIENT, 0};
    WMPrintClient(paint);
  }
}

void TkwBarSubMenuControl::WMPrintClient(TMessage& Message) {
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  TCanvasDCScope scope(Canvas(), dc);
  Paint();
}

void TkwBarSubMenuControl::WMTimer(TMessage& Message) {
  switch (Message.WParam) {
    case ScrollTimerId: ScrollTimerTick(); return;
    case LightTimerId:
    case ExpandTimerId:
      StopExpandTimer();
      if (Message.WParam == ExpandTimerId)
        SetMarkState(msPressed);
      else if (!ChildMenu())
        SetMarkState(msHot);
      return;
    default: TCustomkwBarControl::Dispatch(Message); return;
  }
}

void TkwBarSubMenuControl::ScrollTimerTick() {
  POINT cursor;
  GetCursorPos(&cursor);
  ::ScreenToClient(Handle(), &cursor);
  bool up;
  bool over = IsOverScrollArrow(TPoint(cursor.x, cursor.y), up);
  if (over && (up ? CanScrollUp() : CanScrollDown())) {
    SetTopIndex(FTopIndex + (up ? -1 : 1));
    return;
  }
  KillScrollTimer();
  ResetLastMousePos();
  TkwBarManager* manager = GetBarManager();
  if (manager && manager->DraggingItem && manager->OwnerForm() && manager->OwnerForm()->HandleAllocated())
    PostMessageA(manager->OwnerForm()->Handle(), WM_MOUSEMOVE, 0, 0);
  else
    SendMessageA(Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(cursor.x, cursor.y));
}

void TkwBarSubMenuControl::WMKeyDown(TMessage& Message) {
  StopAnimation();
  WORD original = WORD(Message.WParam);
  bool ctrl = GetKeyState(VK_CONTROL) < 0;
  bool shift = GetKeyState(VK_SHIFT) < 0;
  TkwBarItemLinks* links = ItemLinks();
  if (MarkExists()) {
    bool onLast = SelectedControl() && links->GetShownItemCount() > 0 &&
                  SelectedControl()->Link() == links->GetShownItem(links->GetShownItemCount() - 1);
    if ((original == VK_DOWN && ctrl) || ((original == VK_DOWN || original == VK_TAB) && !shift && onLast && !ctrl)) {
      SetMarkState(msPressed);
      if (!IsLiveBarControl(this)) return;
      if (!ctrl && HandleAllocated()) SendMessageA(Handle(), WM_KEYDOWN, original, Message.LParam);
      return;
    }
  }
  TkwBarItemControl* before = SelectedControl();
  bool takes = before && before->WantsKey(original);
  TCustomkwBarControl::WMKeyDown(Message);
  if (!IsLiveBarControl(this)) return;
  if (SelectedControl() != before) ScrollSelectionIntoView();
  if (!GetActiveBarControl() || takes) return;
  TkwBarItemControl* selected = SelectedControl();
  switch (original) {
    case VK_RETURN:
      if (selected) selected->ControlClick(false);
      return;
    case VK_ESCAPE: {
      TCustomkwBarControl* parent = ParentControl();
      if (parent && IsLiveBarControl(parent) && parent->SelectedControl()) {
        if (auto* toolbar = dynamic_cast<TkwBarControl*>(parent)) toolbar->SetMenuOpenedByKeyboard(false);
        parent->SelectedControl()->ControlInactivate(true);
        return;
      }
      if (!parent) CloseAndFree();
      return;
    }
    case VK_LEFT: {
      TCustomkwBarControl* parent = ParentControl();
      if (!parent && FOwnerItemControl) parent = ControlWindow(FOwnerItemControl);
      if (!parent || !IsLiveBarControl(parent) || !parent->SelectedControl()) return;
      if (parent->IsSubMenu()) {
        parent->SelectedControl()->ControlInactivate(true);
        return;
      }
      TkwBarWindow* root = GetRootBarControl(this);
      bool vertical = root && IsVerticalBarControl(root);
      if (parent->HandleAllocated()) SendMessageA(parent->Handle(), WM_KEYDOWN, vertical ? VK_ESCAPE : VK_LEFT, 0);
      return;
    }
    case VK_RIGHT: {
      TkwBarWindow* root = GetRootBarControl(this);
      if (root && root != this && !root->IsSubMenu() && root->HandleAllocated())
        SendMessageA(root->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
      return;
    }
    default: return;
  }
}

void TkwBarSubMenuControl::WMLButtonDown(TMessage& Message) {
  if (FScrollTimer) return;
  TCustomkwBarControl::WMLButtonDown(Message);
  if (!IsLiveBarControl(this) || SwallowNextClick) return;
  StopAnimation();
  TPoint point = PointOf(Message);
  if (FDetachStripHot) {
    Detach();
    return;
  }
  if (MarkExists() && GetExpandArrowRect().Contains(point)) {
    if (MarkState() == msHot) {
      SetMarkState(msPressed);
    } else {
      SelectItemIfFree(nullptr);
      if (IsLiveBarControl(this)) SetMarkState(msHot);
    }
  }
}

void TkwBarSubMenuControl::WMMouseMove(TMessage& Message) {
  TPoint point = PointOf(Message);
  if (IsLastMousePos(point) && !IsAnimating()) return;
  StopAnimation();
  bool up;
  if (IsOverScrollArrow(point, up)) {
    if (!FScrollTimer && HandleAllocated()) FScrollTimer = SetTimer(Handle(), ScrollTimerId, 80, nullptr);
    TPoint screen = point;
    ::ClientToScreen(Handle(), AsPOINT(&screen));
    return;
  }
  if (FScrollTimer) {
    KillScrollTimer();
    ResetLastMousePos();
  }
  // While the pointer is over this menu, its owner entry stays selected in the parent.
  if (FOwnerItemControl && ParentControl() && IsLiveBarControl(ParentControl()) &&
      ParentControl()->HasItemControl(FOwnerItemControl))
    ParentControl()->SelectItemIfFree(FOwnerItemControl);
  if (!IsLiveBarControl(this)) return;
  UpdateDetachStrip(point);
  if (MarkExists()) {
    bool over = GetExpandArrowRect().Contains(point);
    if (over && MarkState() == msNormal) SetMarkState(msHot);
    if (!over && MarkState() == msHot) SetMarkState(msNormal);
    if (!IsLiveBarControl(this)) return;
  }
  TCustomkwBarControl::WMMouseMove(Message);
}

void TkwBarSubMenuControl::UpdateDetachStrip(TPoint ClientPoint) {
  if (!IsDetachable()) return;
  RECT window;
  GetWindowRect(Handle(), &window);
  POINT origin = {0, 0};
  ::ClientToScreen(Handle(), &origin);
  TPoint windowPoint(ClientPoint.X + origin.x - window.left, ClientPoint.Y + origin.y - window.top);
  bool hot = GetDetachStripRect().Contains(windowPoint);
  if (hot == FDetachStripHot) return;
  FDetachStripHot = hot;
  Hint = hot ? String("Drag to make this menu float") : String();
  if (hot) ::SetCursor(Screen->Cursors(crSizeAll));
  SendMessageA(Handle(), WM_NCPAINT, 1, 0);
}

void TkwBarSubMenuControl::WMMouseLeave(TMessage& Message) {
  if (FDetachStripHot) {
    FDetachStripHot = false;
    if (HandleAllocated()) SendMessageA(Handle(), WM_NCPAINT, 1, 0);
  }
  TCustomkwBarControl::WMMouseLeave(Message);
}

void TkwBarSubMenuControl::WMRButton(TMessage& Message) {
  if (!IsRightButtonAsLeft()) {
    TCustomkwBarControl::Dispatch(Message);
    return;
  }
  TMessage left{Message.Msg == WM_RBUTTONDOWN ? UINT(WM_LBUTTONDOWN) : UINT(WM_LBUTTONUP), Message.WParam,
                Message.LParam, 0};
  Dispatch(left);
  Message.Result = left.Result;
}

// --- Tear-off ---------------------------------------------------------------------------------------

void TkwBarSubMenuControl::Detach() {
  IkwMenuOwner* owner = MenuOwner();
  if (owner) owner->MenuDetaching();
  if (!IsLiveBarControl(this) || !CanDetach()) return;
  TkwBar* bar = owner->MenuDetachingBar();
  TkwBarManager* manager = GetBarManager();
  TkwBarItemControl* ownerControl = FOwnerItemControl;
  auto* parent = ParentControl();
  HWND captureWindow = parent && parent->HandleAllocated() ? parent->Handle() : Handle();
  RECT window;
  GetWindowRect(Handle(), &window);
  TRect stay = GetDetachStripRect();
  OffsetBy(stay, window.left, window.top);
  InflateBy(stay, 15, 15);
  if (manager) manager->DetachingSubMenu = true;
  bool tornOff = false;
  bool released = false;
  SetCapture(captureWindow);
  int caption = Painter()->GetFloatingCaptionHeight();
  MSG msg;
  while (GetCapture() == captureWindow) {
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      PostQuitMessage(int(msg.wParam));
      break;
    }
    if (msg.message == WM_MOUSEMOVE) {
      POINT p;
      GetCursorPos(&p);
      bool inside = stay.Contains(TPoint(p.x, p.y));
      if (!inside && !tornOff) {
        tornOff = true;
        if (ownerControl) ownerControl->ControlInactivate(true);
        if (bar->DockingStyle() != dsNone) bar->SetDockingStyle(dsNone);
        bar->SetFloatLeft(p.x - 100);
        bar->SetFloatTop(p.y - caption / 2);
        bar->SetVisible(true);
      } else if (!inside && tornOff) {
        if (TkwBarWindow* w = bar->GetControl(); w && w->HandleAllocated())
          SetWindowPos(w->Handle(), nullptr, p.x - w->Width() / 2, p.y - caption / 2, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      } else if (inside && tornOff) {
        bar->SetVisible(false);
        if (ownerControl && IsLiveBarControl(ownerControl->BarWindow())) ownerControl->ControlActivate(true);
        tornOff = false;
        break;
      }
    } else if (msg.message == WM_LBUTTONUP) {
      released = true;
      break;
    } else if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      if (tornOff) bar->SetVisible(false);
      if (ownerControl && IsLiveBarControl(ownerControl->BarWindow())) ownerControl->ControlActivate(true);
      tornOff = false;
      break;
    } else {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  if (GetCapture() == captureWindow) ReleaseCapture();
  if (manager) manager->DetachingSubMenu = false;
  if (released && tornOff && manager) manager->HideAllMenus();
}
