// This file implements the control container item and its item control.
#include "kwBarControlContainer.h"

#include <algorithm>

#include "ScopeGuard.h"
#include "kwBarItems.h"
#include "kwBarManager.h"
#include "kwBarUtils.h"
#include "kwBars.h"
#include "kwBarItemControlPainter.h"
#include "kwCustomBarControl.h"

namespace {

// The borderless form the hosted control is moved into; it belongs to nobody but the item.
class TPlaceForm : public TForm {
  VELBOR_DECLARE_CLASS(TPlaceForm, TForm)
 public:
  TPlaceForm() : TForm(nullptr, true) {
    SetBorderStyle(bsNone);
    SetVisible(false);
  }
};
VELBOR_IMPLEMENT_ABSTRACT_CLASS(TPlaceForm)

}  // namespace

// --- TkwBarControlContainerItem ----------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarControlContainerItem)
VELBOR_PUBLISHED(TkwBarControlContainerItem, Prop("Control", &Self::Control, &Self::SetControl))

TkwBarControlContainerItem::TkwBarControlContainerItem(TComponent* AOwner) : TkwBarItem(AOwner) {
  FPlaceForm = new TPlaceForm();
}

TkwBarControlContainerItem::~TkwBarControlContainerItem() {
  SetControl(nullptr);
  delete FPlaceForm;
  FPlaceForm = nullptr;
}

void TkwBarControlContainerItem::SetControl(TControl* Value) {
  if (Value == FControl) return;
  if (Value) {
    if (TkwBarManager* manager = BarManager()) {
      for (int i = 0; i < manager->GetItemCount(); ++i) {
        auto* other = dynamic_cast<TkwBarControlContainerItem*>(manager->GetItem(i));
        if (other && other != this && other->Control() == Value)
          throw EInvalidOperation(GetLocalizedResourceString(&kwSSameControl));
      }
    }
  }
  if (FControl) {
    FControl->WindowProc = FSavedWindowProc;
    FSavedWindowProc = TWndMethod();
    FControl->RemoveFreeNotification(this);
    TkwBarManager* manager = BarManager();
    if (!FControl->ComponentState().Contains(csDestroying) && !(manager && manager->IsDesigning()))
      FControl->SetParent(nullptr);
  }
  FControl = Value;
  if (FControl) {
    FControl->FreeNotification(this);
    FSavedWindowProc = FControl->WindowProc;
    FControl->WindowProc = TWndMethod(this, &TkwBarControlContainerItem::ContainerWindowProc);
    FLastWidth = FControl->Width();
    FLastHeight = FControl->Height();
  }
  if (!IsLoading()) RebuildLinkBars();
}

bool TkwBarControlContainerItem::SomeLinkShowsText() const {
  for (int i = 0; i < GetLinkCount(); ++i)
    if (auto* control = dynamic_cast<TkwBarControlContainerControl*>(GetLink(i)->Control()))
      if (control->ShowsAsText()) return true;
  return false;
}

bool TkwBarControlContainerItem::AcceptsAccelerator(TkwBarItemLink* Link) const {
  auto* control = Link ? dynamic_cast<TkwBarControlContainerControl*>(Link->Control()) : nullptr;
  return control && control->ShowsAsText() && TkwBarItem::AcceptsAccelerator(Link);
}

void TkwBarControlContainerItem::ContainerWindowProc(TMessage& Message) {
  // Kept on the stack: the hosted control may be given up while its message runs.
  TWndMethod saved = FSavedWindowProc;
  TControl* control = FControl;
  if (saved) saved(Message);
  if (!control || control != FControl || SomeLinkShowsText()) return;
  bool sized = Message.Msg == WM_SIZE || (Message.Msg == WM_WINDOWPOSCHANGED && Message.LParam == 0);
  if (!sized || (control->Width() == FLastWidth && control->Height() == FLastHeight)) return;
  FLastWidth = control->Width();
  FLastHeight = control->Height();
  RebuildLinkBars();
}

void TkwBarControlContainerItem::HideItemControl(TkwBarItemControl* AControl) {
  auto* control = dynamic_cast<TkwBarControlContainerControl*>(AControl);
  if (!control || FPlacedBy != control) return;
  FPlacedBy = nullptr;
  if (!FPlaceForm) return;
  FPlaceForm->SetVisible(false);
  FPlaceForm->SetParentWindow(nullptr);
}

void TkwBarControlContainerItem::SetName(const String& NewName) {
  TkwBarItem::SetName(NewName);
  // The placeholder shows the name.
  if (!FControl && !IsLoading()) RebuildLinkBars();
}

void TkwBarControlContainerItem::Notification(TComponent* AComponent, TOperation Operation) {
  TkwBarItem::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FControl) SetControl(nullptr);
}

// --- TkwBarControlContainerControl -------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarControlContainerControl)

TkwBarControlContainerControl::~TkwBarControlContainerControl() {
  if (TkwBarControlContainerItem* item = Container()) item->HideItemControl(this);
}

TCustomkwBarControl* TkwBarControlContainerControl::Window() const { return ControlWindow(this); }

bool TkwBarControlContainerControl::ShowsAsText() const {
  TCustomkwBarControl* window = Window();
  if (!window) return false;
  if (window->IsSubMenu()) return true;
  TkwBarPaintStyle style = Link() ? Link()->GetPaintStyle() : psStandard;
  return style == psCaption;
}

bool TkwBarControlContainerControl::ShowsHostedControl() const {
  TkwBarControlContainerItem* item = Container();
  TkwBarManager* manager = GetBarManager();
  return !ShowsAsText() && item && item->Control() && !(manager && manager->IsDesigning());
}

bool TkwBarControlContainerControl::IsSelectable() const {
  TkwBarManager* manager = GetBarManager();
  if (manager && manager->IsDesigning()) return TkwBarItemControl::IsSelectable();
  return ShowsAsText() && TkwBarItemControl::IsSelectable();
}

int TkwBarControlContainerControl::CalcWidth() {
  TCustomkwBarControl* window = Window();
  TkwBarManager* manager = GetBarManager();
  TkwBarControlContainerItem* item = Container();
  if (!window || !manager || !item) return 0;
  TCanvas* canvas = window->Canvas();
  int fontSize = window->Font()->Size();
  if (window->IsSubMenu()) {
    int width = canvas->TextWidth(RemoveAmpersands(GetCaption())) + 2 * window->RowUnit() + 6;
    window->Painter()->AdjustMenuButtonWidth(this, width);
    return width;
  }
  if (ShowsAsText()) return canvas->TextWidth(RemoveAmpersands(GetCaption())) + fontSize;
  if (item->Control() && !manager->IsDesigning()) return item->Control()->Width();
  // The placeholder is as wide as its whole text, so that the text is never cut.
  return canvas->TextWidth(PlaceholderText()) + fontSize;
}

String TkwBarControlContainerControl::PlaceholderText() const {
  TkwBarControlContainerItem* item = Container();
  if (!item) return String();
  String name = item->Control() ? item->Control()->Name() : item->Name();
  return String(GetLocalizedResourceString(&kwSPlaceFor)) + name;
}

int TkwBarControlContainerControl::CalcHeight() {
  TCustomkwBarControl* window = Window();
  TkwBarManager* manager = GetBarManager();
  TkwBarControlContainerItem* item = Container();
  if (!window || !manager || !item) return 0;
  if (window->IsSubMenu()) return window->Painter()->GetSubItemHeight(this, true);
  if (!ShowsAsText() && item->Control()) return item->Control()->Height();
  return std::max(window->RowUnit(), manager->ButtonWidth());
}

void TkwBarControlContainerControl::Draw(const TRect& Rect, int Kind) {
  TCustomkwBarControl* window = Window();
  TkwBarControlContainerItem* item = Container();
  if (!window || !item || Rect.IsEmpty()) return;
  HDC dc = window->Canvas()->Handle();
  TkwBarManager* manager = GetBarManager();
  if (ShowsAsText()) {
    if (Kind == ilMenu || window->IsSubMenu()) {
      DrawGlyphAndCaption(dc, false, IsSelected(), true, Rect);
    } else {
      FillRect(dc, AsRECT(Rect), window->ItemBrush());
      TRect text = Rect;
      text.Left += window->Font()->Size() / 2;
      DrawCaption(dc, GetCaption(), text, caLeft, GetEnabled(), false, Kind == ilRotated, false, true);
    }
    return;
  }
  if (!item->Control() || (manager && manager->IsDesigning())) {
    DrawPlaceholder(dc, Rect);
    return;
  }
  PlaceControl();
}

void TkwBarControlContainerControl::DrawPlaceholder(HDC DC, const TRect& Rect) {
  TCustomkwBarControl* window = Window();
  HBRUSH frame = CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW));
  FrameRect(DC, AsRECT(Rect), frame);
  DeleteObject(frame);
  TRect inside = Rect;
  InflateBy(inside, -1, -1);
  HBRUSH hatch = CreateHatchBrush(HS_BDIAGONAL, GetSysColor(COLOR_BTNSHADOW));
  COLORREF background = BrushColor(window->ItemBrush());
  COLORREF oldBk = SetBkColor(DC, background);
  int oldMode = SetBkMode(DC, OPAQUE);
  FillRect(DC, AsRECT(inside), hatch);
  DeleteObject(hatch);
  String text = PlaceholderText();
  SetBkMode(DC, TRANSPARENT);
  COLORREF oldText = SetTextColor(DC, GetSysColor(COLOR_BTNTEXT));
  HGDIOBJ oldFont = SelectObject(DC, window->Canvas()->Font()->Handle());
  DrawTextA(DC, text.c_str(), int(text.size()), AsRECT(inside), DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(DC, oldFont);
  SetTextColor(DC, oldText);
  SetBkMode(DC, oldMode);
  SetBkColor(DC, oldBk);
}

void TkwBarControlContainerControl::PlaceControl() {
  TkwBarControlContainerItem* item = Container();
  TCustomkwBarControl* window = Window();
  if (!item || !window || item->FPlacing || !ShowsHostedControl() || !window->HandleAllocated()) return;
  item->FPlacing = true;
  TScopeGuard done([&] { item->FPlacing = false; });
  TCustomForm* holder = item->FPlaceForm;
  const TRect& r = Link()->ItemRect;
  if (!r.IsEmpty() || item->GetLinkCount() == 1) holder->SetParentWindow(window->Handle());
  if (!r.IsEmpty() || holder->ParentWindow() == window->Handle()) holder->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  TControl* control = item->Control();
  control->SetParent(holder);
  if (!r.IsEmpty()) {
    control->SetBounds(0, 0, holder->ClientWidth(), holder->ClientHeight());
    control->SetVisible(true);
  }
  holder->SetColor(TColor(BrushColor(window->ItemBrush())));
  item->FPlacedBy = this;
  holder->SetVisible(true);
}
