// This file implements the side bar (TOxLookOut), its pages (TOxLookOutPage), the scroll arrows
// (TOxUpArrowBtn, TOxDwnArrowBtn) and the in-place caption editor (TOxLookOutEdit).
#include "OxLookOut.h"

#include <algorithm>

#include "ExtCtrls.h"
#include "Format.h"
#include "Forms.h"
#include "Menus.h"
#include "Timer.h"

namespace {

// Posted to a page once its caption editor is hidden: the editor is freed outside its own messages.
constexpr UINT WM_OXFREEEDITOR = WM_APP + 0x164;

bool Designing(const TComponent* C) { return C->ComponentState().Contains(csDesigning); }

// Drops every mouse message waiting in the queue (after a popup menu: the clicks that closed it).
void RemovePendingMouseMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, 0x20A, PM_REMOVE)) {
  }
}

void PopupAt(TComponent* Menu, TControl* Control, int X, int Y) {
  auto* popup = dynamic_cast<TPopupMenu*>(Menu);
  if (!popup) return;
  TPoint p = Control->ClientToScreen(TPoint(X, Y));
  popup->SetPopupComponent(Control);
  popup->Popup(p.X, p.Y);
  RemovePendingMouseMessages();
}

}  // namespace

// --- TOxUpArrowBtn / TOxDwnArrowBtn ----------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TOxUpArrowBtn)
VELBOR_PUBLISHED(TOxUpArrowBtn, Prop("AutoRepeat", &Self::AutoRepeat).Default(false))
VELBOR_IMPLEMENT_CLASS(TOxDwnArrowBtn)

TOxUpArrowBtn::TOxUpArrowBtn(TComponent* AOwner) : TSpeedButton(AOwner) {
  SetParentColor(true);
  int size = GetSystemMetrics(SM_CXVSCROLL);
  SetBounds(0, 0, size, size);
}

TOxUpArrowBtn::~TOxUpArrowBtn() { StopTimer(); }

TOxLookOutPage* TOxUpArrowBtn::Page() const { return dynamic_cast<TOxLookOutPage*>(Parent()); }

void TOxUpArrowBtn::StopTimer() {
  delete FRepeatTimer;
  FRepeatTimer = nullptr;
}

void TOxUpArrowBtn::RefreshPage() {
  TOxLookOutPage* page = Page();
  if (!page || !page->HandleAllocated()) return;
  RECT r = page->ClientRect();
  r.top += 19;
  InvalidateRect(page->Handle(), &r, TRUE);
  UpdateWindow(page->Handle());
}

bool TOxUpArrowBtn::ScrollStep() {
  TOxLookOutPage* page = Page();
  if (!page || !Visible()) return false;
  page->ShowEarlierButtons();
  RefreshPage();
  return true;
}

bool TOxDwnArrowBtn::ScrollStep() {
  TOxLookOutPage* page = Page();
  if (!page) return false;
  page->ShowLaterButtons();
  RefreshPage();
  return Visible();
}

void TOxUpArrowBtn::RepeatTick(TObject*) {
  if (FRepeatTimer) FRepeatTimer->SetInterval(120);
  if (FPressed && MouseCapture() && Visible()) ScrollStep();
}

void TOxDwnArrowBtn::RepeatTick(TObject*) {
  if (FRepeatTimer) FRepeatTimer->SetInterval(120);
  if (FPressed && MouseCapture()) {
    ScrollStep();
    if (!Visible()) FPressed = false;
  }
}

void TOxUpArrowBtn::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FPressed = true;
  if (TOxLookOutPage* page = Page()) AutoRepeat = page->AutoRepeat;
  if (AutoRepeat && !FRepeatTimer) {
    FRepeatTimer = new TTimer(nullptr);
    FRepeatTimer->SetInterval(400);
    FRepeatTimer->SetOnTimer(TNotifyEvent(this, &TOxUpArrowBtn::RepeatTick));
  }
  TSpeedButton::MouseDown(Button, Shift, X, Y);
}

void TOxUpArrowBtn::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  StopTimer();
  FPressed = false;
  ScrollStep();
  TSpeedButton::MouseUp(Button, Shift, X, Y);
}

// The down arrow does not run the speed button's own press handling: only the events and a repaint.
void TOxDwnArrowBtn::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FPressed = true;
  if (TOxLookOutPage* page = Page()) AutoRepeat = page->AutoRepeat;
  if (AutoRepeat && !FRepeatTimer) {
    FRepeatTimer = new TTimer(nullptr);
    FRepeatTimer->SetInterval(400);
    FRepeatTimer->SetOnTimer(TNotifyEvent(this, &TOxDwnArrowBtn::RepeatTick));
  }
  TControl::MouseDown(Button, Shift, X, Y);
  Invalidate();
}

void TOxDwnArrowBtn::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  delete FRepeatTimer;
  FRepeatTimer = nullptr;
  FPressed = false;
  ScrollStep();
  TControl::MouseUp(Button, Shift, X, Y);
  Invalidate();
}

void TOxUpArrowBtn::Paint() {
  UINT state = IsDownArrow() ? DFCS_SCROLLDOWN : DFCS_SCROLLUP;
  if (FPressed) state |= DFCS_PUSHED;
  if (!Enabled()) state |= DFCS_INACTIVE;
  RECT r = ClientRect();
  if (Flat() && !FHot) {
    OffsetRect(&r, 0, IsDownArrow() ? 2 : -2);
    state |= DFCS_FLAT;
  }
  if (Flat()) InflateRect(&r, 1, 1);
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetColor(Color());
  canvas->Pen()->SetColor(Color());
  DrawFrameControl(canvas->Handle(), &r, DFC_SCROLL, state);
  if (Flat() && FHot) {
    TRect frame = ClientRect();
    if (FPressed) {
      Frame3D(canvas, frame, clBlack, IsDownArrow() ? clBtnShadow : clWhite, 1);
    } else {
      Frame3D(canvas, frame, clWhite, clBlack, 1);
    }
  }
}

void TOxUpArrowBtn::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    case CM_DESIGNHITTEST: CMDesignHitTest(Message); break;
    default: TSpeedButton::Dispatch(Message); break;
  }
}

void TOxUpArrowBtn::CMMouseEnter(TMessage& Message) {
  TSpeedButton::Dispatch(Message);
  FHot = true;
  if (Flat()) Invalidate();
}

void TOxUpArrowBtn::CMMouseLeave(TMessage& Message) {
  TSpeedButton::Dispatch(Message);
  FHot = false;
  if (Flat()) Invalidate();
}

// The arrows work in the designer too.
void TOxUpArrowBtn::CMDesignHitTest(TMessage& Message) { Message.Result = 1; }

// --- TOxLookOutEdit ----------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TOxLookOutEdit)

void TOxLookOutEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_KILLFOCUS: WMKillFocus(Message); break;
    default: TEdit::Dispatch(Message); break;
  }
}

void TOxLookOutEdit::WMKillFocus(TMessage& Message) {
  TEdit::Dispatch(Message);
  Hide();
}

// --- TOxLookOut --------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TOxLookOut)
VELBOR_PUBLISHED(TOxLookOut,
  Prop("Smooth", &Self::Smooth).Default(false),
  Prop("BorderStyle", &Self::BorderStyle, &Self::SetBorderStyle).Default(bsSingle),
  Prop("ImageSize", &Self::ImageSize, &Self::SetImageSize).Default(isLarge),
  Prop("FlatButtons", &Self::FlatButtons, &Self::SetFlatButtons).Default(false),
  Prop("ActivePage", &Self::GetActivePage, &Self::SetActivePage),
  Prop("Color", &Self::Color, &Self::SetColor).Idents(ColorIdents).Default(clBtnFace))

TOxLookOut::TOxLookOut(TComponent* AOwner) : TOxCustomControl(AOwner) {
  ControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque};
  FExpandRequest = TOxExpandRequest(this, &TOxLookOut::ExpandPage);
  SetBounds(0, 0, 92, 300);
  SetColor(clBtnFace);
}

TOxLookOut::~TOxLookOut() {
  for (TOxLookOutPage* page : FPages) page->RemoveFreeNotification(this);
}

void TOxLookOut::CreateParams(TCreateParams& Params) {
  TOxCustomControl::CreateParams(Params);
  // The frame is drawn by WM_NCPAINT; no border style of the system's.
  Params.Style &= ~DWORD(WS_BORDER);
  Params.ExStyle &= ~DWORD(WS_EX_CLIENTEDGE);
}

void TOxLookOut::SetAutoSize(bool Value) {
  TOxCustomControl::SetAutoSize(Value);
  if (Value) UpdateControls();
}

void TOxLookOut::SetBorderStyle(TBorderStyle Value) {
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TOxLookOut::SetFlatButtons(bool Value) {
  if (Value == FFlatButtons) return;
  FFlatButtons = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TOxLookOut::SetImageSize(TOxImageSize Value) {
  FImageSize = Value;
  TMessage m{CM_OXIMAGESIZECHANGED, WPARAM(Value), LPARAM(this), 0};
  Broadcast(m);
}

TOxLookOutPage* TOxLookOut::GetActivePage() const { return Designing(this) ? FActivePage : FCurrentPage; }

void TOxLookOut::SetActivePage(TOxLookOutPage* Page) {
  if (Page && Page->Visible() && Page->Parent() == this) {
    ExpandPage(Page);
    return;
  }
  // Not a page of this bar that can show: the last visible page ends expanded.
  std::vector<TOxLookOutPage*> pages = FPages;
  for (TOxLookOutPage* page : pages) {
    if (page->Visible()) {
      ExpandPage(page);
    } else {
      FActivePage = nullptr;
    }
  }
}

TOxLookOutPage* TOxLookOut::GetPage(int Index) const {
  if (Index < 0 || Index >= int(FPages.size())) {
    throw EListError(Format("Index de liste hors limites (%d)", {Index}));
  }
  return FPages[std::size_t(Index)];
}

void TOxLookOut::ExpandPage(TControl* Page) {
  if (auto* page = dynamic_cast<TOxLookOutPage*>(Page)) {
    FActivePage = page;
    FCurrentPage = page;
    page->DrawTitleBand();
  }
  if (OnClick) OnClick(Page);
  int h = Height();
  int visible = 0;
  for (int i = 0; i < ControlCount(); ++i) {
    if (Controls(i)->Visible()) ++visible;
  }
  // Too low for every title band and a little room: nothing is moved.
  if (visible * 19 + 65 >= h) return;
  int border = FFlatButtons ? 2 : 4;
  int invisible = 0;
  bool passed = false;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (!c->Visible()) {
      ++invisible;
      continue;
    }
    c->SetAlign(alNone);
    if (AutoSize()) c->SetBounds(0, c->Top(), Width() - border, c->Height());
    c->SetHeight(h - (visible - 1) * 20);
    if (c == Page) passed = true;
    int rank = i - invisible;
    int target = (c == Page || !passed) ? rank * 20 : h - (visible - rank) * 20 - border + 1;
    SlidePage(c, target, 20, Smooth);
  }
}

void TOxLookOut::SlidePage(TControl* C, int Target, int Step, bool Smooth) {
  if (Smooth && !Designing(this) && Step > 0) {
    while (C->Top() != Target) {
      int top = C->Top();
      int next = top < Target ? std::min(top + Step, Target) : std::max(top - Step, Target);
      C->SetTop(next);
      Application->ProcessMessages();
    }
  }
  C->SetTop(Target);
  Application->ProcessMessages();
}

void TOxLookOut::UpdateControls() {
  TControl* page = FCurrentPage ? FCurrentPage : FActivePage;
  if (!page && ControlCount() > 0) page = dynamic_cast<TOxLookOutPage*>(Controls(0));
  if (page) ExpandPage(page);
}

void TOxLookOut::Paint() {
  if (Visible() || Designing(this)) {
    Canvas()->Brush()->SetStyle(bsSolid);
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
  }
  // With AutoSize the layout follows every resize.
  if (AutoSize() && ControlCount() > 0) UpdateControls();
}

void TOxLookOut::PageJoined(TOxLookOutPage* Page) {
  if (std::find(FPages.begin(), FPages.end(), Page) == FPages.end()) FPages.push_back(Page);
  Page->FreeNotification(this);
}

void TOxLookOut::PageLeft(TOxLookOutPage* Page) {
  FPages.erase(std::remove(FPages.begin(), FPages.end(), Page), FPages.end());
  if (FActivePage == Page) FActivePage = nullptr;
  if (FCurrentPage == Page) FCurrentPage = nullptr;
  Page->RemoveFreeNotification(this);
}

void TOxLookOut::Notification(TComponent* AComponent, TOperation Operation) {
  TOxCustomControl::Notification(AComponent, Operation);
  auto* page = dynamic_cast<TOxLookOutPage*>(AComponent);
  if (!page && Operation == opRemove) {
    // A page being freed is no longer a TOxLookOutPage: it is found by address.
    auto it = std::find(FPages.begin(), FPages.end(), static_cast<TOxLookOutPage*>(static_cast<void*>(AComponent)));
    if (it == FPages.end()) return;
    page = *it;
  }
  if (!page) return;
  if (Operation == opRemove) {
    FPages.erase(std::remove(FPages.begin(), FPages.end(), page), FPages.end());
    if (FActivePage == page) FActivePage = nullptr;
    if (FCurrentPage == page) FCurrentPage = nullptr;
  } else if (page->Parent() == this && std::find(FPages.begin(), FPages.end(), page) == FPages.end()) {
    FPages.push_back(page);
  }
  if (HandleAllocated() && !ComponentState().Contains(csDestroying)) Invalidate();
}

void TOxLookOut::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCCALCSIZE: WMNCCalcSize(Message); break;
    case WM_NCPAINT: WMNCPaint(Message); break;
    default: TOxCustomControl::Dispatch(Message); break;
  }
}

void TOxLookOut::WMNCCalcSize(TMessage& Message) {
  auto* r = reinterpret_cast<RECT*>(Message.LParam);
  InflateRect(r, -BorderSize(), -BorderSize());
  Message.Result = 0;
}

void TOxLookOut::WMNCPaint(TMessage& Message) {
  TWindowDC dc(Handle(), TWindowDC::WholeWindow);
  RECT r;
  GetWindowRect(Handle(), &r);
  OffsetRect(&r, -r.left, -r.top);
  if (FBorderStyle == bsSingle) {
    DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
  } else {
    TOwnedBrush brush(CreateSolidBrush(ColorToRGB(Color())));
    FrameRect(dc, &r, brush);
    InflateRect(&r, -1, -1);
    FrameRect(dc, &r, brush);
  }
  Message.Result = 0;
}

// --- TOxLookOutPage ----------------------------------------------------------------------------

namespace {
// A size of its own is written whatever it is; one taken from the bar is the bar's to write.
bool IsPageImageSizeStored(TObject* Page) { return !static_cast<TOxLookOutPage*>(Page)->ParentImageSize(); }
}  // namespace

VELBOR_IMPLEMENT_CLASS(TOxLookOutPage)
VELBOR_PUBLISHED(TOxLookOutPage,
  Prop("AutoRepeat", &Self::AutoRepeat).Default(false),
  Prop("ParentImageSize", &Self::ParentImageSize, &Self::SetParentImageSize).Default(true),
  Prop("ShowPressed", &Self::ShowPressed).Default(false),
  Prop("Margin", &Self::Margin, &Self::SetMargin).Default(0),
  Prop("PopUpMenu", &Self::PopUpMenu, &Self::SetPopUpMenu),
  Prop("Bitmap", &Self::Bitmap, &Self::SetBitmap),
  Prop("ImageSize", &Self::ImageSize, &Self::SetImageSize).Stored(&IsPageImageSizeStored),
  Prop("HighlightFont", &Self::HighlightFont, &Self::SetHighlightFont),
  Prop("OnEdited", &Self::OnEdited))

TOxLookOutPage::TOxLookOutPage(TComponent* AOwner) : TOxCustomControl(AOwner) {
  // No click events: the page raises its own click from its title band.
  ControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csSetCaption};
  FBitmap = new TBitmap();
  FHighlightFont = new TFont();
  FHighlightFont->Assign(Font());
  SetBounds(0, 0, 92, 100);
  SetColor(clBtnShadow);
  SetCaption("Page");
}

TOxLookOutPage::~TOxLookOutPage() {
  if (TOxLookOut* bar = dynamic_cast<TOxLookOut*>(Parent())) bar->PageLeft(this);
  delete FEdit;
  FEdit = nullptr;
  delete FUpArrow;
  FUpArrow = nullptr;
  delete FDownArrow;
  FDownArrow = nullptr;
  // The buttons belong to the form; they only leave the list.
  for (TOxCustomLookOutButton* b : FButtons) b->RemoveFreeNotification(this);
  FButtons.clear();
  delete FBitmap;
  delete FHighlightFont;
}

void TOxLookOutPage::SetParent(TWinControl* AParent) {
  auto* oldBar = dynamic_cast<TOxLookOut*>(Parent());
  TOxCustomControl::SetParent(AParent);
  auto* newBar = dynamic_cast<TOxLookOut*>(Parent());
  if (oldBar == newBar) return;
  if (oldBar) oldBar->PageLeft(this);
  if (!newBar) return;
  newBar->PageJoined(this);
  // A page that follows its bar takes the bar's size on joining it: a description read stores
  // no ParentImageSize while it has its default, so its setter does not run then.
  if (FParentImageSize) SetParentImageSize(true);
}

void TOxLookOutPage::CreateWnd() {
  TOxCustomControl::CreateWnd();
  CreateArrows();
  if (auto* bar = dynamic_cast<TOxLookOut*>(Parent())) {
    FManager = bar;
    FExpandRequest = bar->ExpandRequest();
  }
  if (GetParentForm(this)) {
    FUpArrow->BringToFront();
    FDownArrow->BringToFront();
  }
}

void TOxLookOutPage::CreateArrows() {
  if (!FUpArrow) {
    FUpArrow = new TOxUpArrowBtn(nullptr);
    FUpArrow->SetVisible(false);
    FUpArrow->SetParent(this);
  }
  if (!FDownArrow) {
    FDownArrow = new TOxDwnArrowBtn(nullptr);
    FDownArrow->SetVisible(false);
    FDownArrow->SetParent(this);
  }
  PlaceArrowButtons();
}

TOxCustomLookOutButton* TOxLookOutPage::GetButton(int Index) const {
  if (Index < 0 || Index >= int(FButtons.size())) {
    throw EListError(Format("Index de liste hors limites (%d)", {Index}));
  }
  return FButtons[std::size_t(Index)];
}

void TOxLookOutPage::SetMargin(int Value) {
  if (Value == FMargin) return;
  FMargin = Value;
  Invalidate();
}

void TOxLookOutPage::SetPopUpMenu(TComponent* Value) {
  if (Value == FPopUpMenu) return;
  if (FPopUpMenu) FPopUpMenu->RemoveFreeNotification(this);
  FPopUpMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TOxLookOutPage::SetBitmap(TBitmap* Value) {
  FBitmap->Assign(Value);
  if (FBitmap->Empty()) {
    ControlStyle.Exclude(csOpaque);
  } else {
    ControlStyle.Include(csOpaque);
  }
  Invalidate();
}

void TOxLookOutPage::SetHighlightFont(TFont* Value) {
  FHighlightFont->Assign(Value);
  DrawTitleBand();
}

void TOxLookOutPage::SetImageSize(TOxImageSize Value) {
  FImageSize = Value;
  if (Designing(this)) FParentImageSize = false;
  TMessage m{CM_OXIMAGESIZECHANGED, WPARAM(Value), LPARAM(this), 0};
  if (Parent()) Parent()->Broadcast(m);
  m.Result = 0;
  Broadcast(m);
}

void TOxLookOutPage::SetParentImageSize(bool Value) {
  FParentImageSize = Value;
  if (!Value) return;
  if (auto* bar = dynamic_cast<TOxLookOut*>(Parent())) {
    FImageSize = bar->ImageSize();
    TMessage m{CM_OXIMAGESIZECHANGED, WPARAM(FImageSize), LPARAM(this), 0};
    Broadcast(m);
  }
}

void TOxLookOutPage::Click() {
  if (!Enabled()) return;
  if (FExpandRequest) FExpandRequest(this);
  TOxCustomControl::Click();
}

TRect TOxLookOutPage::TitleBand() const {
  TRect r = ClientRect();
  r.Bottom = r.Top + 19;
  return r;
}

void TOxLookOutPage::DrawTitleBand() {
  if (!HandleAllocated()) return;
  TCanvas* canvas = Canvas();
  canvas->SetFont(FHot ? FHighlightFont : Font());
  TRect band = TitleBand();
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(clBtnFace);
  canvas->FillRect(band);
  bool pressed = ShowPressed && FPressed;
  TRect r = band;
  if (FManager && FManager->FlatButtons()) {
    if (FManager->GetActivePage() == this) {
      TRect body = ClientRect();
      body.Top = band.Bottom;
      Frame3D(canvas, body, cl3DDkShadow, clBtnFace, 1);
    }
    if (pressed) {
      Frame3D(canvas, r, clBtnShadow, clBtnHighlight, 1);
    } else if (FHot) {
      Frame3D(canvas, r, clBtnHighlight, cl3DDkShadow, 1);
      Frame3D(canvas, r, clBtnFace, clBtnShadow, 1);
    } else {
      Frame3D(canvas, r, clBtnHighlight, clBtnShadow, 1);
    }
  } else if (pressed) {
    Frame3D(canvas, r, cl3DDkShadow, clBtnHighlight, 1);
    Frame3D(canvas, r, clBtnShadow, clBtnFace, 1);
  } else {
    Frame3D(canvas, r, clBtnHighlight, cl3DDkShadow, 1);
    Frame3D(canvas, r, clBtnFace, clBtnShadow, 1);
  }
  canvas->Brush()->SetStyle(bsClear);
  RECT text = band;
  if (pressed) OffsetRect(&text, 1, 1);
  const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  String caption = Caption();
  HDC dc = canvas->Handle();
  SetBkMode(dc, TRANSPARENT);
  if (!Enabled()) {
    RECT shadow = text;
    OffsetRect(&shadow, 1, 1);
    SetTextColor(dc, ColorToRGB(clBtnHighlight));
    DrawTextA(dc, caption.c_str(), int(caption.size()), &shadow, format);
    SetTextColor(dc, ColorToRGB(clBtnShadow));
  } else {
    SetTextColor(dc, ColorToRGB(canvas->Font()->Color()));
  }
  DrawTextA(dc, caption.c_str(), int(caption.size()), &text, format);
}

void TOxLookOutPage::PlaceArrowButtons() {
  if (!FUpArrow || !FDownArrow) return;
  TRect r = ClientRect();
  if (Height() <= 64) {
    FDownArrow->SetTop(FUpArrow->Top() + 16);
  } else {
    FUpArrow->SetBounds(r.Right - 23, r.Top + 25, 16, 16);
    FDownArrow->SetBounds(r.Right - 23, r.Bottom - 23, 16, 16);
  }
  std::vector<TControl*> shown;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c == FUpArrow || c == FDownArrow || c == FEdit) continue;
    if (c->Visible() || Designing(this)) shown.push_back(c);
  }
  std::stable_sort(shown.begin(), shown.end(), [](TControl* a, TControl* b) { return a->Top() < b->Top(); });
  auto whollyInside = [&r](TControl* c) {
    return r.Contains(TPoint(r.Left + 1, c->Top())) && r.Contains(TPoint(r.Left + 1, c->Top() + c->Height()));
  };
  bool down = !shown.empty() && !whollyInside(shown.back());
  bool up = !shown.empty() && !whollyInside(shown.front());
  if (FDownArrow->Visible() != down) FDownArrow->SetVisible(down);
  if (FUpArrow->Visible() != up) FUpArrow->SetVisible(up);
}

void TOxLookOutPage::SortButtons() {
  std::stable_sort(FButtons.begin(), FButtons.end(),
                   [](TOxCustomLookOutButton* a, TOxCustomLookOutButton* b) { return a->Top() < b->Top(); });
}

void TOxLookOutPage::ArrangeButtons(unsigned short Start) {
  const TComponentState state = ComponentState();
  if (state.Contains(csLoading) || state.Contains(csReading) || state.Contains(csWriting) ||
      state.Contains(csDestroying)) {
    return;
  }
  if (ControlCount() < 3) {
    if (FUpArrow) FUpArrow->SetVisible(false);
    if (FDownArrow) FDownArrow->SetVisible(false);
    return;
  }
  if (FArranging || FButtons.empty()) return;
  SortButtons();
  FArranging = true;
  const int n = int(FButtons.size());
  for (int i = 0; i < n; ++i) {
    TOxCustomLookOutButton* b = FButtons[std::size_t(i)];
    if (!b->Visible() && !Designing(this)) continue;
    b->SetAlign(alNone);
    int top;
    if (i < FTopButtonIndex) {
      top = -(b->Height() + 1) * (n - i);  // parked above the page
    } else if (Start > Height()) {
      top = (Height() + 1) * (i + 1);  // parked below
    } else {
      top = Start + FMargin;
      Start = static_cast<unsigned short>(Start + b->Height() + FMargin);
    }
    int left = b->Left();
    if (FCenterLarge && b->ImageSize() == isLarge) left = (Width() - b->Width()) / 2;
    b->SetBounds(left, top, b->Width(), b->Height());
  }
  FArranging = false;
}

void TOxLookOutPage::ShowEarlierButtons() {
  if (FTopButtonIndex > 0) --FTopButtonIndex;
}

void TOxLookOutPage::ShowLaterButtons() {
  if (FTopButtonIndex < ControlCount() - 3) ++FTopButtonIndex;
}

void TOxLookOutPage::SlideButton(TControl* C, int Target, int Step, bool Smooth) {
  const TComponentState state = ComponentState();
  if (Smooth && !state.Contains(csDesigning) && !state.Contains(csLoading) && !FArranging && Step > 0) {
    FArranging = true;
    while (C->Top() != Target) {
      int top = C->Top();
      int next = top < Target ? std::min(top + Step, Target) : std::max(top - Step, Target);
      C->SetTop(next);
      Application->ProcessMessages();
    }
  }
  C->SetTop(Target);
  Application->ProcessMessages();
  FArranging = false;
}

void TOxLookOutPage::SwapButtons(TOxCustomLookOutButton* A, TOxCustomLookOutButton* B) {
  int topA = A->Top();
  A->SetTop(B->Top());
  B->SetTop(topA);
  auto a = std::find(FButtons.begin(), FButtons.end(), A);
  auto b = std::find(FButtons.begin(), FButtons.end(), B);
  if (a != FButtons.end() && b != FButtons.end()) std::iter_swap(a, b);
}

void TOxLookOutPage::Paint() {
  TCanvas* canvas = Canvas();
  TRect client = ClientRect();
  if (!FBitmap->Empty()) {
    ControlStyle.Include(csOpaque);
    // Tiled from the top-left corner through an off-screen picture of the page.
    TBitmap tiled;
    tiled.SetSize(client.Width(), client.Height());
    int w = FBitmap->Width(), h = FBitmap->Height();
    for (int y = 0; y < client.Height(); y += h) {
      for (int x = 0; x < client.Width(); x += w) tiled.Canvas()->Draw(x, y, FBitmap);
    }
    canvas->Draw(0, 0, &tiled);
  } else {
    ControlStyle.Exclude(csOpaque);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(client);
  }
  DrawTitleBand();
  PlaceArrowButtons();
  ArrangeButtons(static_cast<unsigned short>(26 - FMargin));
}

void TOxLookOutPage::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TOxCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button == mbRight && FPopUpMenu) {
    PopupAt(FPopUpMenu, this, X, Y);
    FPressed = false;
  } else if (Button == mbLeft && TitleBand().Contains(TPoint(X, Y))) {
    FPressed = true;
    DrawTitleBand();
  }
}

void TOxLookOutPage::MouseMove(TShiftState Shift, int X, int Y) {
  if (TitleBand().Contains(TPoint(X, Y))) {
    if (!FHot) {
      FHot = true;
      DrawTitleBand();
    }
  } else if (FHot || FPressed) {
    FHot = false;
    DrawTitleBand();
  }
  TOxCustomControl::MouseMove(Shift, X, Y);
}

void TOxLookOutPage::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TOxCustomControl::MouseUp(Button, Shift, X, Y);
  if (!Enabled()) return;
  FPressed = false;
  // The bar expands the page first, then the page's OnClick fires.
  if (Button == mbLeft && TitleBand().Contains(TPoint(X, Y))) Click();
  DrawTitleBand();
}

void TOxLookOutPage::Notification(TComponent* AComponent, TOperation Operation) {
  TOxCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove) {
    if (AComponent == FPopUpMenu) FPopUpMenu = nullptr;
    auto it = std::find(FButtons.begin(), FButtons.end(),
                        static_cast<TOxCustomLookOutButton*>(static_cast<void*>(AComponent)));
    if (it != FButtons.end()) FButtons.erase(it);
  } else if (!Designing(this) && FUpArrow && FDownArrow) {
    FUpArrow->BringToFront();
    FDownArrow->BringToFront();
  }
}

void TOxLookOutPage::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    case CM_OXIMAGESIZECHANGED: CMImageSizeChanged(Message); break;
    case WM_OXFREEEDITOR:
      if (FEdit && !FEdit->Visible()) {
        delete FEdit;
        FEdit = nullptr;
      }
      break;
    default: TOxCustomControl::Dispatch(Message); break;
  }
}

void TOxLookOutPage::CMMouseLeave(TMessage& Message) {
  TOxCustomControl::Dispatch(Message);
  if (FHot) {
    FHot = false;
    DrawTitleBand();
  }
}

void TOxLookOutPage::CMEnabledChanged(TMessage& Message) {
  if (FUpArrow || FDownArrow) {
    if (FUpArrow) FUpArrow->SetEnabled(Enabled());
    if (FDownArrow) FDownArrow->SetEnabled(Enabled());
  }
  TOxCustomControl::Dispatch(Message);
  if (HandleAllocated()) Refresh();
}

void TOxLookOutPage::CMDialogChar(TMessage& Message) {
  if (IsAccel(WORD(Message.WParam), Caption()) && Enabled()) {
    Click();
    Message.Result = 1;
    return;
  }
  TOxCustomControl::Dispatch(Message);
}

void TOxLookOutPage::CMImageSizeChanged(TMessage& Message) {
  if (Message.LParam == LPARAM(this) || !FParentImageSize) return;
  FImageSize = TOxImageSize(Message.WParam);
  // The buttons follow their page.
  TMessage m{CM_OXIMAGESIZECHANGED, Message.WParam, LPARAM(this), 0};
  Broadcast(m);
}

// --- In-place caption edit ---------------------------------------------------------------------

void TOxLookOutPage::DoEdited(String& Caption) {
  if (OnEdited) OnEdited(this, Caption);
}

void TOxLookOutPage::EditCaption() {
  if (!FEdit) {
    FEdit = new TOxLookOutEdit(nullptr);
    FEdit->SetParent(this);
  } else {
    FEdit->Show();
  }
  FEdit->SetText(Caption());
  FEdit->SetBounds(0, 0, FEdit->Width(), 19);
  FEdit->AutoSelect = true;
  FEdit->OnKeyPress = TKeyPressEvent(this, &TOxLookOutPage::EditKeyPress);
  FEdit->OnMouseDown = TMouseEvent(this, &TOxLookOutPage::EditMouseDown);
  FEdit->SetFocus();
  SetCapture(FEdit->Handle());
  FEdit->SelectAll();
}

// Hidden at once; freed from the page's queue, once the editor's own message has returned.
void TOxLookOutPage::EndEdit() {
  if (!FEdit) return;
  if (FEdit->HandleAllocated() && GetCapture() == FEdit->Handle()) ReleaseCapture();
  Screen->SetCursor(crDefault);
  FEdit->Hide();
  if (HandleAllocated()) PostMessageA(Handle(), WM_OXFREEEDITOR, 0, 0);
}

void TOxLookOutPage::EditKeyPress(TObject*, char& Key) {
  if (Key == VK_RETURN) {
    Key = 0;
    String text = FEdit->Text();
    DoEdited(text);
    FEdit->SetText(text);
    EndEdit();
    SetCaption(text);
  } else if (Key == VK_ESCAPE) {
    Key = 0;
    EndEdit();
  }
}

void TOxLookOutPage::EditMouseDown(TObject*, TMouseButton Button, TShiftState, int X, int Y) {
  if (!FEdit->ClientRect().Contains(TPoint(X, Y)) || (Button == mbRight && FEdit->Visible())) {
    EndEdit();
  } else {
    SetCapture(FEdit->Handle());
    Screen->SetCursor(crIBeam);
  }
}
