// This file implements the bar items the bar windows' tests use.
#include "kwTestItems.h"

#include <algorithm>

#include "Menus.h"
#include "kwBarControl.h"
#include "kwBarManager.h"
#include "kwBarUtils.h"

namespace {
TCustomkwBarControl* WindowOf(const TkwBarItemControl* Control) { return ControlWindow(Control); }

int TextWidthIn(TCustomkwBarControl* Window, const String& Text) {
  return Window ? Window->Canvas()->TextWidth(RemoveAmpersands(Text)) : 0;
}

bool IsRotated(const TkwBarItemControl* Control) { return IsRotatedBarControl(Control->BarWindow()); }
}  // namespace

// --- Button ---------------------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarButton)

TkwBarButton::TkwBarButton(TComponent* AOwner) : TkwBarItem(AOwner) {}

TkwBarButton::~TkwBarButton() {
  delete FDropDownLinks;
  FDropDownLinks = nullptr;
}

void TkwBarButton::SetButtonStyle(TkwBarButtonStyle Value) {
  if (Value == FButtonStyle) return;
  FButtonStyle = Value;
  FDown = false;
  RebuildLinkBars();
}

void TkwBarButton::SetDown(bool Value) {
  if (Value == FDown || (Value && FButtonStyle != bsChecked)) return;
  FDown = Value;
  RepaintLinks();
}

void TkwBarButton::SetPaintStyle(TkwBarPaintStyle Value) {
  if (Value == FPaintStyle) return;
  FPaintStyle = Value;
  RebuildLinkBars();
}

TkwBarItemLinks* TkwBarButton::DropDownLinks() {
  if (!FDropDownLinks) FDropDownLinks = new TkwBarItemLinks(BarManager(), this);
  return FDropDownLinks;
}

bool TkwBarButton::AcceptsAccelerator(TkwBarItemLink* Link) const {
  if (!Enabled()) return false;
  TkwBarWindow* window = Link ? Link->GetBarControl() : nullptr;
  if (!window || window->IsSubMenu()) return true;
  TkwBarPaintStyle style = Link->GetPaintStyle();
  return style == psCaption || style == psCaptionGlyph;
}

void TkwBarButton::DoClick() {
  ++Clicks;
  TkwBarItem::DoClick();
}

// --- Button control ------------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarButtonControl)

TkwBarButtonControl::~TkwBarButtonControl() {
  if (auto* menu = dynamic_cast<TkwBarSubMenuControl*>(GetSubMenuControl()); menu && !menu->IsClosing()) {
    menu->SetOwnerItemControl(nullptr);
    menu->CloseAndFree();
  }
}

TkwBarPaintStyle TkwBarButtonControl::GetPaintStyle() const {
  TkwBarPaintStyle style = Link() ? Link()->GetPaintStyle() : psStandard;
  if (IsWindowNotMenu() && style == psStandard && !HasGlyph()) style = psCaption;
  return style;
}

bool TkwBarButtonControl::ShowsCaption() const {
  TkwBarPaintStyle style = GetPaintStyle();
  return style == psCaption || style == psCaptionGlyph;
}

int TkwBarButtonControl::GetArrowWidth() const {
  TCustomkwBarControl* window = WindowOf(this);
  if (window && window->IsSubMenu()) return window->MenuArrowWidth();
  TkwBarManager* manager = GetBarManager();
  return manager ? manager->ArrowWidth() : 11;
}

bool TkwBarButtonControl::IsArrowHot() const {
  TkwBarButton* button = Button();
  TCustomkwBarControl* window = WindowOf(this);
  if (!button || button->ButtonStyle() != bsDropDown || !window || !window->HandleAllocated() || !Link()) return false;
  POINT p;
  GetCursorPos(&p);
  ::ScreenToClient(window->Handle(), &p);
  const TRect& r = Link()->ItemRect;
  return p.x >= r.Right - GetArrowWidth() && p.x < r.Right && p.y >= r.Top && p.y < r.Bottom;
}

int TkwBarButtonControl::CalcHeight() {
  TCustomkwBarControl* window = WindowOf(this);
  TkwBarManager* manager = GetBarManager();
  if (!window || !manager) return 0;
  if (window->IsSubMenu()) return window->Painter()->GetSubItemHeight(this, true);
  int height = window->RowUnit();
  int buttonHeight = IsRotated(this) ? manager->ButtonSize() : manager->ButtonWidth();
  if (ShowsCaption())
    height = std::max(height, buttonHeight);
  else
    height = buttonHeight;
  if (IsRotated(this) && ShowsCaption()) return CalcWidth();
  return height;
}

int TkwBarButtonControl::CalcWidth() {
  TCustomkwBarControl* window = WindowOf(this);
  TkwBarManager* manager = GetBarManager();
  if (!window || !manager) return 0;
  int row = window->RowUnit();
  if (window->IsSubMenu()) {
    int width = TextWidthIn(window, GetCaption()) + 2 * row + 6;
    if (TShortCut shortCut = GetShortCut()) width += TextWidthIn(window, ShortCutToText(shortCut)) + row - 6;
    window->Painter()->AdjustMenuButtonWidth(this, width);
    return width;
  }
  int width;
  if (ShowsCaption())
    width = TextWidthIn(window, GetCaption()) +
            (GetPaintStyle() == psCaption ? window->Font()->Size() : manager->ButtonSize() + 4);
  else
    width = manager->ButtonSize();
  if (Button() && Button()->ButtonStyle() == bsDropDown) width += GetArrowWidth();
  return width;
}

TkwCellStates TkwBarButtonControl::CellStates(int) const {
  TkwCellStates states;
  if (IsSelected()) states.Include(cstSelected);
  if (DrawnPressed()) states.Include(cstPressed);
  TkwBarButton* button = Button();
  if (button && button->Down()) states.Include(cstDown);
  if (button && button->ButtonStyle() == bsDropDown) {
    states.Include(cstSplit).Include(cstOpensMenu);
    TCustomkwBarControl* window = WindowOf(this);
    if (FDroppedDown && window && window->Painter()->IsFlatButtonLook() && GetSubMenuControl()) states.Include(cstDown);
  }
  if (!HasGlyph()) states.Include(cstNoGlyph);
  return states;
}

bool TkwBarButtonControl::DrawnPressed() const {
  TCustomkwBarControl* window = WindowOf(this);
  TkwBarButton* button = Button();
  if (!window || !button) return false;
  if (ClickState() && button->ButtonStyle() != bsChecked) return true;
  return IsSelected() && window->IsActive() && IsPressedUnderMouse() && !IsArrowHot() && !FDroppedDown;
}

void TkwBarButtonControl::Draw(const TRect& Rect, int Kind) {
  TCustomkwBarControl* window = WindowOf(this);
  TkwBarButton* button = Button();
  if (!window || !button || Rect.IsEmpty()) return;
  const TkwBarItemControlPainter* painter = window->Painter();
  HDC dc = window->Canvas()->Handle();
  bool dropDown = button->ButtonStyle() == bsDropDown;
  TRect r = Rect;
  TRect arrow;
  if (dropDown) {
    arrow = TRect(r.Right - GetArrowWidth(), r.Top, r.Right, r.Bottom);
    r.Right = arrow.Left;
  }
  bool selected = IsSelected();
  if (Kind == ilMenu) {
    painter->DrawGlyphAndCaption(this, dc, button->Down(), selected, true, r);
    if (TShortCut shortCut = GetShortCut()) {
      TRect text = r;
      text.Right -= 5;
      painter->DrawCaption(this, dc, ShortCutToText(shortCut), text, caRight, GetEnabled(), selected, false, false,
                           true);
    }
  } else {
    TkwCellStates states = CellStates(Kind);
    painter->DrawGlyph(this, r, states, Kind, GetImageIndex(), GetImages(), GetGlyph());
    if (ShowsCaption()) {
      TRect text = r;
      TkwBarManager* manager = GetBarManager();
      if (GetPaintStyle() == psCaption)
        text.Left += window->Font()->Size() / 2;
      else
        text.Left += manager ? manager->ButtonSize() : 0;
      if (states.Contains(cstPressed)) painter->ShiftPressedCaption(this, true, text);
      // On bars the caption keeps its colour while hot (the highlight-text colour is the menus').
      painter->DrawCaption(this, dc, GetCaption(), text, caLeft, GetEnabled(), false, Kind == ilRotated, false, true);
    }
  }
  if (dropDown) {
    COLORREF arrowColor;
    HBRUSH face;
    painter->GetPaintColors(this, Kind, FDroppedDown, selected, GetEnabled(), arrowColor, face);
    painter->DrawButtonArrowPart(this, dc, arrow, face, arrowColor, selected, DrawnPressed(), FDroppedDown,
                                 button->DropDownEnabled, GetSubMenuControl() != nullptr, Kind);
  }
}

TkwBarWindow* TkwBarButtonControl::GetSubMenuControl() const {
  TkwBarButton* button = Button();
  TkwBarItemLinks* links = button ? button->GetDropDownLinks() : nullptr;
  return FDroppedDown && links ? links->BarControl() : nullptr;
}

void TkwBarButtonControl::DropDown(bool ByMouse) {
  TkwBarButton* button = Button();
  TCustomkwBarControl* window = WindowOf(this);
  if (FDroppedDown || !button || !window || !GetEnabled() || !button->DropDownEnabled) return;
  TkwBarItemLinks* links = button->DropDownLinks();
  if (links->GetVisibleItemCount() == 0) return;
  FDroppedDown = true;
  if (!Active()) ControlActivate(true);
  Repaint();
  links->CreateBarControl();
  auto* menu = dynamic_cast<TkwBarSubMenuControl*>(links->BarControl());
  if (!menu) {
    FDroppedDown = false;
    return;
  }
  TRect r = Link()->ItemRect;
  TPoint point;
  bool sideways = window->IsSubMenu() || IsVerticalBarControl(window);
  if (sideways) {
    point = TPoint(r.Right, r.Top - (window->IsSubMenu() ? window->Painter()->GetSubMenuTopOffset() : 0));
    menu->OwnerWidth = r.Width();
  } else {
    point = TPoint(r.Left, r.Bottom);
    menu->OwnerHeight = r.Height();
  }
  ::ClientToScreen(window->Handle(), AsPOINT(&point));
  if (window->IsFlatLook()) menu->SetOwner(window->GetItemScreenRect(this), window);
  menu->SetOwnerItemControl(this);
  menu->SetBounds(point.X, point.Y, menu->Width(), menu->Height());
  window->SetChildMenu(menu);
  menu->SetParentBarControl(window);
  menu->Show();
  if (!IsLiveBarControl(menu)) return;
  if (!ByMouse) {
    if (TkwBarItemLink* first = links->GetFirstSelectableLink()) {
      if (!first->Control()) first->CreateItemControl();
      if (first->Control()) menu->ActivateItem(first->Control());
    }
  }
  if (IsLiveBarControl(window) && window->HasItemControl(this) && window->Painter()->RedrawsOnDropDown()) Repaint();
}

void TkwBarButtonControl::ResetDropDown() {
  FDroppedDown = false;
  if (auto* toolbar = dynamic_cast<TkwBarControl*>(WindowOf(this))) toolbar->SetMenuOpenedByKeyboard(false);
}

void TkwBarButtonControl::BeforeClick(bool ByMouse) {
  TkwBarButton* button = Button();
  if (button && button->ButtonStyle() == bsDropDown && ByMouse && FArrowPressed) {
    DropDown(true);
    return;
  }
  Repaint();
}

void TkwBarButtonControl::Click(bool ByMouse) {
  if (FDroppedDown) return;
  TkwBarButton* button = Button();
  if (button && button->ButtonStyle() == bsChecked) button->SetDown(!button->Down());
  TCustomkwBarControl* window = WindowOf(this);
  ControlInactivate(true);
  if (!IsLiveBarControl(window) || !window->HasItemControl(this)) return;
  TkwBarItemControl::Click(ByMouse);
}

void TkwBarButtonControl::ControlInactivate(bool Now) {
  if (FDroppedDown) {
    if (auto* menu = dynamic_cast<TkwBarSubMenuControl*>(GetSubMenuControl())) {
      menu->SetOwnerItemControl(nullptr);
      FDroppedDown = false;
      menu->CloseAndFree();
    }
    FDroppedDown = false;
  }
  TkwBarItemControl::ControlInactivate(Now);
}

bool TkwBarButtonControl::IsSelected() const { return ClickState() || TkwBarItemControl::IsSelected(); }

bool TkwBarButtonControl::WantsKey(WORD Key) const {
  TkwBarButton* button = Button();
  if (!button || button->ButtonStyle() != bsDropDown) return false;
  TCustomkwBarControl* window = WindowOf(this);
  if (window && window->IsSubMenu()) return Key == VK_RIGHT;
  return Key == VK_UP || Key == VK_DOWN;
}

void TkwBarButtonControl::KeyDown(WORD& Key) {
  if (Key == VK_UP || Key == VK_RIGHT || Key == VK_DOWN) DropDown(false);
}

// --- Sub-item -----------------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarSubItem)

TkwBarSubItem::TkwBarSubItem(TComponent* AOwner) : TkwBarItem(AOwner) {
  FLinks = new TkwBarItemLinks(BarManager(), this);
}

TkwBarSubItem::~TkwBarSubItem() {
  delete FLinks;
  FLinks = nullptr;
}

void TkwBarSubItem::PaintMenuBar(TCanvas* Canvas, const TRect& R) {
  if (OnPaintBar) OnPaintBar(this, Canvas, R);
}

// --- Sub-item control ----------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarSubItemControl)

namespace {
// At most one delayed open or close is pending at a time.
TkwBarSubItemControl* PendingControl = nullptr;
bool PendingOpens = false;
UINT_PTR PendingTimer = 0;

void CancelPending() {
  if (PendingTimer) KillTimer(nullptr, PendingTimer);
  PendingTimer = 0;
  PendingControl = nullptr;
}

void CALLBACK PendingTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  try {
    TkwBarSubItemControl::RunPending();
  } catch (...) {
    // A menu that fails to open or close stays as it is.
  }
}
}  // namespace

void TkwBarSubItemControl::RunPending() {
  TkwBarSubItemControl* control = PendingControl;
  bool opens = PendingOpens;
  CancelPending();
  if (!control) return;
  if (opens)
    control->ControlActivate(true);
  else
    control->ControlInactivate(true);
}

TkwBarSubItemControl::~TkwBarSubItemControl() {
  if (PendingControl == this) CancelPending();
  TkwBarSubMenuControl* menu = GetSubMenuWindow();
  if (menu && GetItem() && !GetItem()->IsDestroying() && !menu->IsClosing()) {
    menu->SetOwnerItemControl(nullptr);
    menu->CloseAndFree();
  }
}

TkwBarSubMenuControl* TkwBarSubItemControl::GetSubMenuWindow() const {
  TkwBarSubItem* item = SubItem();
  return item ? dynamic_cast<TkwBarSubMenuControl*>(item->ItemLinks()->BarControl()) : nullptr;
}

void TkwBarSubItemControl::ControlActivate(bool Now) {
  TkwBarSubItem* item = SubItem();
  TCustomkwBarControl* window = WindowOf(this);
  TkwBarManager* manager = GetBarManager();
  if (!item || !window || !manager) return;
  if (GetSubMenuWindow()) {
    TkwBarItemLink* active = item->GetActiveLink();
    if (!active || active->Control() == this) {
      if (PendingControl == this) CancelPending();
      return;
    }
    active->Control()->ControlInactivate(true);
    if (!IsLiveBarControl(window)) return;
  }
  TkwBarItemControl::ControlActivate(Now);
  if (!GetEnabled() && !manager->IsDesigning()) return;
  if (!window->IsSubMenu()) {
    auto* toolbar = dynamic_cast<TkwBarControl*>(window);
    if (!window->IsCustomizing() && !(toolbar && toolbar->MenuOpenedByKeyboard())) return;
    Now = true;
  }
  if (!Now && !manager->IsCustomizing()) {
    if (PendingControl && PendingControl != this) {
      TkwBarSubItemControl* other = PendingControl;
      bool parentEntry = WindowOf(other) == window->ParentControl();
      CancelPending();
      if (!parentEntry) {
        try {
          other->ControlInactivate(true);
        } catch (...) {
        }
        if (!IsLiveBarControl(window) || !window->HasItemControl(this)) return;
      }
    }
    CancelPending();
    PendingControl = this;
    PendingOpens = true;
    PendingTimer = SetTimer(nullptr, 0, 400, &PendingTimerProc);
    return;
  }
  item->ItemLinks()->CreateBarControl();
  TkwBarSubMenuControl* menu = GetSubMenuWindow();
  if (!menu) return;
  if (window->IsFlatLook()) menu->SetOwner(window->GetItemScreenRect(this), window);
  TRect r = Link()->ItemRect;
  TPoint point;
  if (window->IsSubMenu()) {
    point = TPoint(r.Right, r.Top - window->Painter()->GetSubMenuTopOffset());
    menu->OwnerWidth = r.Width();
  } else if (IsVerticalBarControl(window)) {
    point = TPoint(r.Right, r.Top);
    menu->OwnerWidth = r.Width();
  } else {
    point = TPoint(r.Left, r.Bottom);
    menu->OwnerHeight = r.Height();
  }
  menu->SetOwnerItemControl(this);
  ::ClientToScreen(window->Handle(), AsPOINT(&point));
  menu->SetBounds(point.X, point.Y, menu->Width(), menu->Height());
  window->SetChildMenu(menu);
  menu->SetParentBarControl(window);
  if (!window->IsSubMenu()) Repaint();
  menu->Animate = FOpenedByMouse;
  FOpenedByMouse = false;
  menu->Show();
  if (IsLiveBarControl(window) && window->HasItemControl(this) && window->Painter()->RedrawsOnDropDown()) Repaint();
}

void TkwBarSubItemControl::ControlInactivate(bool Now) {
  TCustomkwBarControl* window = WindowOf(this);
  TkwBarManager* manager = GetBarManager();
  if (window && window->IsSubMenu() && !Now && !PendingControl && window->HandleAllocated() &&
      !window->IsDestroying() && manager && !manager->IsCustomizing()) {
    PendingControl = this;
    PendingOpens = false;
    PendingTimer = SetTimer(nullptr, 0, 400, &PendingTimerProc);
    return;
  }
  TkwBarSubMenuControl* menu = GetSubMenuWindow();
  if (menu) menu->SetOwnerItemControl(nullptr);
  TkwBarItemControl::ControlInactivate(Now);
  if (PendingControl == this) CancelPending();
  if (menu && !menu->IsClosing()) menu->CloseAndFree();
  if (window && IsLiveBarControl(window) && !window->IsSubMenu() && window->HasItemControl(this)) Repaint();
}

void TkwBarSubItemControl::BeforeClick(bool ByMouse) {
  TkwBarManager* manager = GetBarManager();
  if (GetSubMenuWindow()) {
    TCustomkwBarControl* window = WindowOf(this);
    if ((window && window->IsCustomizing()) || (manager && manager->GetEffectiveStyle() == bmsStandard))
      ControlInactivate(true);
    return;
  }
  ControlActivate(true);
  TkwBarSubMenuControl* menu = GetSubMenuWindow();
  if (ByMouse || !menu) return;
  TkwBarItemLinks* links = menu->ItemLinks();
  for (int i = 0; i < links->GetShownItemCount(); ++i) {
    TkwBarItemLink* link = links->GetShownItem(i);
    if (!link->Control()) link->CreateItemControl();
    if (link->Control() && link->Control()->IsSelectable() && link->Control()->GetEnabled()) {
      menu->ActivateItem(link->Control());
      break;
    }
  }
}

bool TkwBarSubItemControl::WantsKey(WORD Key) const {
  TCustomkwBarControl* window = WindowOf(this);
  return Key == VK_RIGHT && window && window->IsSubMenu();
}

void TkwBarSubItemControl::KeyDown(WORD& Key) {
  if (Key == VK_RIGHT) ControlClick(false);
}

int TkwBarSubItemControl::CalcHeight() {
  TCustomkwBarControl* window = WindowOf(this);
  if (!window) return 0;
  TkwBarSubItem* item = SubItem();
  bool caption = !item || item->ShowCaption;
  return IsRotated(this) ? window->Painter()->GetSubItemWidth(this, caption)
                         : window->Painter()->GetSubItemHeight(this, caption);
}

int TkwBarSubItemControl::CalcWidth() {
  TCustomkwBarControl* window = WindowOf(this);
  if (!window) return 0;
  TkwBarSubItem* item = SubItem();
  bool caption = !item || item->ShowCaption;
  return IsRotated(this) ? window->Painter()->GetSubItemHeight(this, caption)
                         : window->Painter()->GetSubItemWidth(this, caption);
}

void TkwBarSubItemControl::Draw(const TRect& Rect, int Kind) {
  TCustomkwBarControl* window = WindowOf(this);
  if (!window || Rect.Width() == 0) return;
  TkwBarSubItem* item = SubItem();
  bool open = Active() && GetSubMenuWindow() != nullptr;
  window->Painter()->DrawSubItem(this, window->Canvas()->Handle(), Kind, IsSelected(), open, Rect,
                                 !item || item->ShowCaption);
}

// --- Large button -------------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarLargeButton)

TkwBarLargeButton::TkwBarLargeButton(TComponent* AOwner) : TkwBarButton(AOwner) { FLargeGlyph = new TBitmap(); }

TkwBarLargeButton::~TkwBarLargeButton() { delete FLargeGlyph; }

VELBOR_IMPLEMENT_CLASS(TkwBarLargeButtonControl)

int TkwBarLargeButtonControl::CalcHeight() {
  TCustomkwBarControl* window = WindowOf(this);
  TkwBarLargeButton* item = Large();
  if (!window || !item || window->IsSubMenu()) return TkwBarButtonControl::CalcHeight();
  if (item->Height > 0) return item->Height;
  TBitmap* glyph = item->LargeGlyph();
  int height = glyph->Empty() ? 26 : glyph->Height() + 6;
  if (item->ShowCaption) {
    int text = window->Canvas()->TextHeight("Qq");
    if (item->GlyphLayout == glTop || item->GlyphLayout == glBottom)
      height += text + 1;
    else
      height = std::max(height, text + 6);
  }
  return height + 2 * window->Painter()->GetButtonExtraBorder(this);
}

int TkwBarLargeButtonControl::CalcWidth() {
  TCustomkwBarControl* window = WindowOf(this);
  TkwBarLargeButton* item = Large();
  if (!window || !item || window->IsSubMenu()) return TkwBarButtonControl::CalcWidth();
  if (item->Width > 0) return item->Width;
  TBitmap* glyph = item->LargeGlyph();
  int width = glyph->Empty() ? 30 : glyph->Width() + 10;
  if (item->ShowCaption) {
    int text = TextWidthIn(window, GetCaption());
    if (item->GlyphLayout == glTop || item->GlyphLayout == glBottom)
      width = std::max(width, text + 16);
    else
      width += text + 6;
  }
  width += 2 * window->Painter()->GetButtonExtraBorder(this);
  if (item->ButtonStyle() == bsDropDown) {
    TkwBarManager* manager = GetBarManager();
    width += manager ? window->Painter()->GetLargeButtonArrowWidth(manager) : 13;
  }
  return width;
}

void TkwBarLargeButtonControl::Draw(const TRect& Rect, int Kind) {
  TCustomkwBarControl* window = WindowOf(this);
  TkwBarLargeButton* item = Large();
  if (!window || !item || Kind == ilMenu) {
    TkwBarButtonControl::Draw(Rect, Kind);
    return;
  }
  if (Rect.IsEmpty()) return;
  const TkwBarItemControlPainter* painter = window->Painter();
  HDC dc = window->Canvas()->Handle();
  TRect r = Rect;
  bool selected = IsSelected();
  bool pressed = DrawnPressed() || (item->Down() && item->ButtonStyle() != bsChecked);
  TRect content = r;
  InflateBy(content, -1, -1);
  painter->ShiftPressedContent(this, item->Down(), pressed, content);
  TBitmap* glyph = item->LargeGlyph();
  bool hasGlyph = !glyph->Empty();
  int gw = hasGlyph ? glyph->Width() : 20, gh = hasGlyph ? glyph->Height() : 20;
  TRect glyphRect;
  if (!item->ShowCaption) {
    glyphRect = Bounds(content.Left + 4, content.Top + 2, gw, gh);
  } else {
    switch (item->GlyphLayout) {
      case glTop: glyphRect = Bounds(content.Left + (content.Width() - gw) / 2, content.Top + 2, gw, gh); break;
      case glBottom: glyphRect = Bounds(content.Left + (content.Width() - gw) / 2, content.Bottom - 2 - gh, gw, gh); break;
      case glLeft: glyphRect = Bounds(content.Left + 4, content.Top + (content.Height() - gh) / 2, gw, gh); break;
      case glRight: glyphRect = Bounds(content.Right - 4 - gw, content.Top + (content.Height() - gh) / 2, gw, gh); break;
    }
  }
  TkwCellStates states;
  if (selected) states.Include(cstSelected);
  if (pressed) states.Include(cstPressed);
  if (item->Down()) states.Include(cstDown);
  if (!hasGlyph) states.Include(cstNoGlyph);
  if (item->AutoGrayScale && !selected) states.Include(cstGrayed);
  states.Include(cstKeepSize);
  painter->DrawGlyphCell(this, r, states, -1, nullptr, hasGlyph ? glyph : nullptr, Kind, glyphRect);
  if (item->ShowCaption) {
    TRect text = content;
    int align = caCenter;
    switch (item->GlyphLayout) {
      case glTop: text.Top = glyphRect.Bottom; break;
      case glBottom: text.Bottom = glyphRect.Top; break;
      case glLeft:
        text.Left = glyphRect.Right + 3;
        align = caLeft;
        break;
      case glRight:
        text.Right = glyphRect.Left - 3;
        align = caRight;
        break;
    }
    painter->DrawCaption(this, dc, GetCaption(), text, align, GetEnabled(), false, Kind == ilRotated, false, true);
  }
}

// --- Registration -------------------------------------------------------------------------------------

void RegisterTestItems() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  RegisterBarItemClass(TkwBarButton::StaticClass(), TkwBarButtonControl::StaticClass(), true);
  RegisterBarItemClass(TkwBarSubItem::StaticClass(), TkwBarSubItemControl::StaticClass(), true);
  RegisterBarItemClass(TkwBarLargeButton::StaticClass(), TkwBarLargeButtonControl::StaticClass(), true);
}
