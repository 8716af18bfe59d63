// This file implements the button item and its control.
#include "kwBarButton.h"

#include <algorithm>

#include "Menus.h"
#include "kwBarControl.h"
#include "kwBarManager.h"
#include "kwBarPopupMenu.h"
#include "kwBarSubMenuControl.h"
#include "kwBarUtils.h"
#include "kwBars.h"

namespace {
// The painters draw a lowered button's frame one pixel wide.
constexpr int kLoweredBorder = 1;
}  // namespace

const TkwBarItemControlPainter* PainterOf(const TkwBarItemControl* Control) {
  if (TCustomkwBarControl* window = ControlWindow(Control)) return window->Painter();
  return ItemPainterOf(Control ? Control->GetBarManager() : nullptr);
}

// --- TkwBarButton -----------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarButton)
VELBOR_PUBLISHED(TkwBarButton,
  Prop("AllowAllUp", &Self::AllowAllUp, &Self::SetAllowAllUp).Default(false),
  Prop("ButtonStyle", &Self::ButtonStyle, &Self::SetButtonStyle).Default(bsDefault),
  Prop("CloseSubMenuOnClick", &Self::CloseSubMenuOnClick, &Self::SetCloseSubMenuOnClick).Default(true),
  Prop("Down", &Self::Down, &Self::SetDown).Default(false),
  Prop("DropDownEnabled", &Self::DropDownEnabled, &Self::SetDropDownEnabled).Default(true),
  Prop("DropDownMenu", &Self::DropDownMenu, &Self::SetDropDownMenu),
  Prop("Glyph", &Self::Glyph, &Self::SetGlyph),
  Prop("GroupIndex", &Self::GroupIndex, &Self::SetGroupIndex).Default(0),
  Prop("ImageIndex", &Self::ImageIndex, &Self::SetImageIndex).Default(-1).Stored(&Self::IsImageIndexStored),
  Prop("Lowered", &Self::Lowered, &Self::SetLowered).Default(false),
  Prop("PaintStyle", &Self::PaintStyle, &Self::SetPaintStyle).Default(psStandard),
  Prop("ShortCut", &Self::ShortCut, &Self::SetShortCut).Default(0).Stored(&Self::IsShortCutStored),
  Prop("UnclickAfterDoing", &Self::UnclickAfterDoing, &Self::SetUnclickAfterDoing).Default(true),
  Prop("OnClick", &Self::OnClick).Stored(&Self::IsOnClickStored))

TkwBarButton::TkwBarButton(TComponent* AOwner) : TkwBarItem(AOwner) {}

namespace {
// The check buttons of the manager in the group of Button (itself included).
template <class F>
void ForEachGroupButton(TkwBarButton* Button, F Do) {
  TkwBarManager* manager = Button->BarManager();
  if (!manager) return;
  for (int i = 0; i < manager->GetItemCount(); ++i) {
    auto* other = dynamic_cast<TkwBarButton*>(manager->GetItem(i));
    if (other && other->ButtonStyle() == bsChecked && other->GroupIndex() == Button->GroupIndex()) Do(other);
  }
}

template <class F>
void ForEachControl(TkwBarItem* Item, F Do) {
  for (int i = 0; i < Item->GetLinkCount(); ++i)
    if (auto* control = dynamic_cast<TkwBarButtonControl*>(Item->GetLink(i)->Control())) Do(control);
}
}  // namespace

void TkwBarButton::SetAllowAllUp(bool Value) {
  FAllowAllUp = Value;
  if (FGroupIndex == 0) return;
  TkwBarManager* manager = BarManager();
  for (int i = 0; manager && i < manager->GetItemCount(); ++i)
    if (auto* other = dynamic_cast<TkwBarButton*>(manager->GetItem(i)); other && other->FGroupIndex == FGroupIndex)
      other->FAllowAllUp = Value;
}

void TkwBarButton::SetButtonStyle(TkwBarButtonStyle Value) {
  if (Value == FButtonStyle) return;
  FButtonStyle = Value;
  FDown = false;
  if (!IsLoading()) ButtonStyleChanged();
}

void TkwBarButton::SetDown(bool Value) {
  if (Value == FDown || (Value && FButtonStyle != bsChecked)) return;
  TkwBarButton* released = nullptr;
  if (FButtonStyle == bsChecked && FGroupIndex != 0 && !IsLoading()) {
    if (Value) {
      ForEachGroupButton(this, [&](TkwBarButton* other) {
        if (other != this && other->FDown) released = other;
      });
    } else {
      bool otherDown = false;
      ForEachGroupButton(this, [&](TkwBarButton* other) { otherDown = otherDown || (other != this && other->FDown); });
      if (!FAllowAllUp && !otherDown) return;
    }
  }
  FDown = Value;
  if (IsLoading()) return;
  DownChanged();
  if (released) {
    // The group's other button goes up without asking the group again.
    released->FDown = false;
    released->DownChanged();
  }
}

void TkwBarButton::SetDropDownEnabled(bool Value) {
  if (Value == FDropDownEnabled) return;
  FDropDownEnabled = Value;
  if (!IsLoading()) DropDownEnabledChanged();
}

void TkwBarButton::SetDropDownMenu(TkwBarPopupMenu* Value) {
  if (Value == FDropDownMenu) return;
  FDropDownMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TkwBarButton::SetGroupIndex(int Value) {
  if (FButtonStyle != bsChecked) Value = 0;
  if (Value == FGroupIndex) return;
  FGroupIndex = Value;
  if (!IsLoading()) SetDown(false);
}

void TkwBarButton::SetLowered(bool Value) {
  if (Value == FLowered) return;
  FLowered = Value;
  if (!IsLoading()) RebuildLinkBars();
}

void TkwBarButton::SetPaintStyle(TkwBarPaintStyle Value) {
  if (Value == FPaintStyle) return;
  FPaintStyle = Value;
  if (!IsLoading()) PaintStyleChanged();
}

TkwBarItemLinks* TkwBarButton::GetDropDownLinks() const { return FDropDownMenu ? FDropDownMenu->ItemLinks() : nullptr; }

bool TkwBarButton::AcceptsAccelerator(TkwBarItemLink* Link) const {
  if (!Enabled()) return false;
  TkwBarWindow* window = Link ? Link->GetBarControl() : nullptr;
  if (!window || window->IsSubMenu()) return true;
  TkwBarPaintStyle style = Link->GetPaintStyle();
  if (style == psCaption || style == psCaptionGlyph) return true;
  auto* control = dynamic_cast<TkwBarButtonControl*>(Link->Control());
  return control && control->ShowsCaption();
}

void TkwBarButton::DirectClick() {
  if (Enabled() && FButtonStyle == bsChecked) SetDown(!FDown);
  TkwBarItem::DirectClick();
}

void TkwBarButton::ButtonStyleChanged() {
  ForEachControl(this, [](TkwBarButtonControl* c) { c->ButtonStyleChanged(); });
}

void TkwBarButton::DownChanged() {
  ForEachControl(this, [](TkwBarButtonControl* c) { c->DownChanged(); });
}

void TkwBarButton::DropDownEnabledChanged() {
  ForEachControl(this, [](TkwBarButtonControl* c) { c->DropDownEnabledChanged(); });
}

void TkwBarButton::PaintStyleChanged() {
  for (int i = 0; i < GetLinkCount(); ++i) {
    TkwBarItemLink* link = GetLink(i);
    if (link->UserDefine().Contains(udPaintStyle)) continue;
    if (auto* control = dynamic_cast<TkwBarButtonControl*>(link->Control())) control->PaintStyleChanged();
  }
}

void TkwBarButton::DropDown(TkwBarButtonControl* Control, int X, bool ByMouse, int Y) {
  TCustomkwBarControl* window = Control ? Control->Window() : nullptr;
  if (!FDropDownMenu || !window || !Control->Link()) return;
  TkwBarItemLinks* links = FDropDownMenu->ItemLinks();
  if (links->BarControl()) return;
  links->CreateBarControl();
  auto* menu = dynamic_cast<TkwBarSubMenuControl*>(links->BarControl());
  if (!menu) return;
  const TRect& r = Control->Link()->ItemRect;
  // The menu opens beside a control in a menu or a vertical bar (it may flip to its other side),
  // below it elsewhere (it may open above it).
  if (window->IsSubMenu() || IsVerticalBarControl(window))
    menu->OwnerWidth = r.Width();
  else
    menu->OwnerHeight = r.Height();
  if (Control->IsFlatLook()) menu->SetOwner(window->GetItemScreenRect(Control), window);
  menu->SetOwnerItemControl(Control);
  menu->SetBounds(X, Y, menu->Width(), menu->Height());
  window->SetChildMenu(menu);
  menu->SetParentBarControl(window);
  menu->OnPopup = TNotifyEvent(Control, &TkwBarButtonControl::MenuPopup);
  menu->OnCloseUp = TNotifyEvent(Control, &TkwBarButtonControl::MenuCloseUp);
  menu->Animate = ByMouse;
  menu->Show();
  if (ByMouse || !IsLiveBarControl(menu)) return;
  if (TkwBarItemLink* first = links->GetFirstSelectableLink()) {
    if (!first->Control()) first->CreateItemControl();
    if (first->Control()) menu->ActivateItem(first->Control());
  }
}

void TkwBarButton::Notification(TComponent* AComponent, TOperation Operation) {
  TkwBarItem::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDropDownMenu) FDropDownMenu = nullptr;
}

// --- TkwBarButtonControl ----------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarButtonControl)

TkwBarButtonControl::~TkwBarButtonControl() {
  if (auto* menu = dynamic_cast<TkwBarSubMenuControl*>(GetDropDownMenuControl()); menu && !menu->IsClosing()) {
    menu->SetOwnerItemControl(nullptr);
    menu->OnPopup = TNotifyEvent();
    menu->OnCloseUp = TNotifyEvent();
    menu->CloseAndFree();
  }
}

void TkwBarButtonControl::MenuPopup(TObject*) {
  TkwBarButton* button = Button();
  if (TkwBarPopupMenu* popup = button ? button->DropDownMenu() : nullptr; popup && popup->OnPopup)
    popup->OnPopup(popup);
}

void TkwBarButtonControl::MenuCloseUp(TObject*) {
  TkwBarButton* button = Button();
  if (TkwBarPopupMenu* popup = button ? button->DropDownMenu() : nullptr; popup && popup->OnCloseUp)
    popup->OnCloseUp(popup);
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

bool TkwBarButtonControl::GetDown() const {
  TkwBarButton* button = Button();
  return button && button->Down();
}

bool TkwBarButtonControl::GetDropDownEnabled() const {
  TkwBarButton* button = Button();
  return !button || button->DropDownEnabled();
}

bool TkwBarButtonControl::IsDropDownButton() const {
  TkwBarButton* button = Button();
  return button && button->ButtonStyle() == bsDropDown;
}

TkwBarWindow* TkwBarButtonControl::GetDropDownMenuControl() const {
  TkwBarButton* button = Button();
  TkwBarItemLinks* links = button ? button->GetDropDownLinks() : nullptr;
  return FDroppedDown && links ? links->BarControl() : nullptr;
}

bool TkwBarButtonControl::IsDropDownMenuOpen() const {
  const TkwBarItemControlPainter* painter = PainterOf(this);
  return painter && painter->IsFlatButtonLook() && FDroppedDown && GetDropDownMenuControl();
}

bool TkwBarButtonControl::IsArrowHot() const {
  TCustomkwBarControl* window = Window();
  if (!IsDropDownButton() || !window || !window->HandleAllocated() || !Link()) return false;
  POINT p;
  GetCursorPos(&p);
  ::ScreenToClient(window->Handle(), &p);
  const TRect& r = Link()->ItemRect;
  return p.x >= r.Right - GetArrowWidth() && p.x < r.Right && p.y >= r.Top && p.y < r.Bottom;
}

bool TkwBarButtonControl::IsArrowPressed() const { return IsPressedUnderMouse() && IsArrowHot(); }

bool TkwBarButtonControl::IsLowered() const {
  TkwBarButton* button = Button();
  return button && button->Lowered();
}

int TkwBarButtonControl::GetArrowWidth() const {
  TCustomkwBarControl* window = Window();
  if (window && window->IsSubMenu()) return window->MenuArrowWidth();
  TkwBarManager* manager = GetBarManager();
  return manager ? manager->ArrowWidth() : 11;
}

int TkwBarButtonControl::TextWidth(const String& Text) const {
  TCustomkwBarControl* window = Window();
  return window ? window->Canvas()->TextWidth(RemoveAmpersands(Text)) : 0;
}

int TkwBarButtonControl::CalcButtonHeight() {
  TCustomkwBarControl* window = Window();
  TkwBarManager* manager = GetBarManager();
  if (!window || !manager) return 0;
  if (window->IsSubMenu()) return window->Painter()->GetSubItemHeight(this, true);
  bool rotated = IsRotatedBarControl(window);
  int buttonHeight = rotated ? manager->ButtonSize() : manager->ButtonWidth();
  TkwBarPaintStyle style = GetPaintStyle();
  int height = window->RowUnit();
  if ((style == psCaption || style == psCaptionGlyph))
    height = std::max(height, buttonHeight);
  else
    height = buttonHeight;
  if (IsLowered()) height += 2 * kLoweredBorder;
  return height;
}

int TkwBarButtonControl::CalcButtonWidth() {
  TCustomkwBarControl* window = Window();
  TkwBarManager* manager = GetBarManager();
  if (!window || !manager) return 0;
  if (window->IsSubMenu()) {
    int row = window->RowUnit();
    int width = TextWidth(GetCaption()) + 2 * row + 6;
    if (TShortCut shortCut = GetShortCut()) width += TextWidth(ShortCutToText(shortCut)) + row - 6;
    window->Painter()->AdjustMenuButtonWidth(this, width);
    return width;
  }
  bool rotated = IsRotatedBarControl(window);
  int width;
  if (ShowsCaption())
    width = TextWidth(GetCaption()) + (GetPaintStyle() == psCaption ? window->Font()->Size()
                                                                    : (rotated ? manager->ButtonWidth() : manager->ButtonSize()) + 4);
  else
    width = manager->ButtonSize();
  if (IsLowered()) width += 2 * kLoweredBorder;
  return width;
}

int TkwBarButtonControl::CalcHeight() {
  TCustomkwBarControl* window = Window();
  if (window && IsRotatedBarControl(window) && ShowsCaption()) return CalcButtonWidth();
  return CalcButtonHeight();
}

int TkwBarButtonControl::CalcWidth() {
  TCustomkwBarControl* window = Window();
  int width = window && IsRotatedBarControl(window) && ShowsCaption() ? CalcButtonHeight() : CalcButtonWidth();
  if (IsDropDownButton() && IsWindowNotMenu()) width += GetArrowWidth();
  return width;
}

void TkwBarButtonControl::GlyphChanged() {
  // Without caption the glyph decides the size.
  if (ShowsCaption() || !IsWindowNotMenu())
    Repaint();
  else
    Changed();
}

void TkwBarButtonControl::BeforeClick(bool ByMouse) {
  if (IsDropDownButton() && ByMouse && FArrowPressed) {
    DropDown(true);
    return;
  }
  if (IsWindowNotMenu() || IsDropDownButton()) Repaint();
}

void TkwBarButtonControl::Click(bool ByMouse) {
  if (FDroppedDown) return;
  TkwBarButton* button = Button();
  TCustomkwBarControl* window = Window();
  if (button && button->ButtonStyle() == bsChecked) button->SetDown(!button->Down());
  ControlInactivate(true);
  if (!IsLiveBarControl(window) || !window->HasItemControl(this)) return;
  TkwBarItemControl::Click(ByMouse);
}

void TkwBarButtonControl::ControlInactivate(bool Now) {
  if (FDroppedDown && IsDropDownButton()) {
    if (auto* menu = dynamic_cast<TkwBarSubMenuControl*>(GetDropDownMenuControl()); menu && !menu->IsClosing()) {
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
  if (!IsDropDownButton()) return false;
  TCustomkwBarControl* window = Window();
  if (window && window->IsSubMenu()) return Key == VK_RIGHT;
  return Key == VK_UP || Key == VK_DOWN;
}

void TkwBarButtonControl::KeyDown(WORD& Key) {
  if (Key == VK_UP || Key == VK_RIGHT || Key == VK_DOWN) DropDown(false);
}

void TkwBarButtonControl::DropDown(bool ByMouse) {
  TkwBarButton* button = Button();
  TCustomkwBarControl* window = Window();
  if (FDroppedDown || !button || !window || !GetEnabled() || !button->DropDownEnabled() || !button->DropDownMenu())
    return;
  FDroppedDown = true;
  if (!Active()) ControlActivate(true);
  Repaint();
  TRect r = Link()->ItemRect;
  TPoint point;
  if (window->IsSubMenu())
    point = TPoint(r.Right, r.Top - window->Painter()->GetSubMenuTopOffset());
  else if (IsVerticalBarControl(window))
    point = TPoint(r.Right, r.Top);
  else
    point = TPoint(r.Left, r.Bottom);
  ::ClientToScreen(window->Handle(), AsPOINT(&point));
  button->DropDown(this, point.X, ByMouse, point.Y);
  if (!IsLiveBarControl(window) || !window->HasItemControl(this)) return;
  // No menu window came (an empty menu): the button is not dropped down.
  if (!GetDropDownMenuControl()) FDroppedDown = false;
  if (window->Painter()->RedrawsOnDropDown() || !FDroppedDown) Repaint();
}

void TkwBarButtonControl::ResetDropDown() {
  FDroppedDown = false;
  if (auto* toolbar = dynamic_cast<TkwBarControl*>(Window())) toolbar->SetMenuOpenedByKeyboard(false);
}

bool TkwBarButtonControl::DrawnPressed() const {
  TCustomkwBarControl* window = Window();
  if (!window) return false;
  TkwBarButton* button = Button();
  bool checked = button && button->ButtonStyle() == bsChecked;
  if (ClickState() && !checked) return true;
  return IsSelected() && window->IsActive() && IsPressedUnderMouse() && !IsArrowHot() && !FDroppedDown;
}

TkwCellStates TkwBarButtonControl::CellStates() const {
  TkwCellStates states;
  if (IsSelected()) states.Include(cstSelected);
  if (DrawnPressed()) states.Include(cstPressed);
  if (GetDown()) states.Include(cstDown);
  if (IsDropDownButton()) {
    states.Include(cstSplit).Include(cstOpensMenu);
    if (IsDropDownMenuOpen()) states.Include(cstDown);
  }
  if (!HasGlyph()) states.Include(cstNoGlyph);
  return states;
}

TRect TkwBarButtonControl::CutArrowPart(TRect& Rect) const {
  if (!IsDropDownButton() || !IsWindowNotMenu()) return TRect();
  TRect arrow(Rect.Right - GetArrowWidth(), Rect.Top, Rect.Right, Rect.Bottom);
  Rect.Right = arrow.Left;
  return arrow;
}

void TkwBarButtonControl::DrawArrowPart(const TRect& Arrow, int Kind, bool Selected) {
  TCustomkwBarControl* window = Window();
  if (!window || Arrow.IsEmpty()) return;
  const TkwBarItemControlPainter* painter = window->Painter();
  COLORREF arrowColor;
  HBRUSH face;
  painter->GetPaintColors(this, Kind, FDroppedDown, Selected, GetEnabled(), arrowColor, face);
  painter->DrawButtonArrowPart(this, window->Canvas()->Handle(), Arrow, face, arrowColor, Selected, IsArrowPressed(),
                               FDroppedDown, GetDropDownEnabled(), GetDropDownMenuControl() != nullptr, Kind);
}

void TkwBarButtonControl::Draw(const TRect& Rect, int Kind) {
  TCustomkwBarControl* window = Window();
  if (!window || Rect.IsEmpty()) return;
  const TkwBarItemControlPainter* painter = window->Painter();
  HDC dc = window->Canvas()->Handle();
  bool selected = IsSelected();
  TRect r = Rect;
  if (Kind == ilMenu) {
    DrawGlyphAndCaption(dc, GetDown(), selected, true, r);
    if (TShortCut shortCut = GetShortCut()) {
      TRect text = r;
      text.Right -= 5;
      DrawCaption(dc, ShortCutToText(shortCut), text, caRight, GetEnabled(), selected, false, false,
                           true);
    }
    return;
  }
  TRect arrow = CutArrowPart(r);
  if (IsLowered()) DrawLoweredFrame(dc, r);
  TkwCellStates states = CellStates();
  DrawGlyph(r, states, Kind, GetImageIndex(), GetImages(), GetGlyph());
  if (ShowsCaption()) {
    TRect text = r;
    TkwBarManager* manager = GetBarManager();
    bool rotated = Kind == ilRotated;
    int offset = GetPaintStyle() == psCaption ? window->Font()->Size() / 2
                 : !manager                   ? 0
                 : rotated                    ? manager->ButtonWidth()
                                              : manager->ButtonSize();
    if (rotated)
      text.Top += offset;
    else
      text.Left += offset;
    if (states.Contains(cstPressed)) painter->ShiftPressedCaption(this, true, text);
    // On bars the caption keeps its colour while hot (the highlight-text colour is the menus').
    DrawCaption(dc, GetCaption(), text, caLeft, GetEnabled(), false, rotated, false, true);
  }
  DrawArrowPart(arrow, Kind, selected);
}
