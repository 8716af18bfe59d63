// This file implements TControlScrollBar, TScrollingWinControl and TScrollBox (see ScrollBox.h).
#include <algorithm>

#include "ScrollBox.h"

#include "ScopeGuard.h"

VELBOR_IMPLEMENT_CLASS(TControlScrollBar)
VELBOR_PUBLISHED(TControlScrollBar,
  Prop("Range", &Self::Range, &Self::SetRange).Default(0),
  Prop("Position", &Self::Position, &Self::SetPosition).Default(0),
  Prop("Increment", &Self::Increment, &Self::SetIncrement).Default(8),
  Prop("Margin", &Self::Margin).Default(0),
  Prop("Tracking", &Self::Tracking).Default(false),
  Prop("Visible", &Self::Visible, &Self::SetVisible).Default(true))

void TControlScrollBar::Assign(TPersistent* Source) {
  if (auto* other = dynamic_cast<TControlScrollBar*>(Source)) {
    FVisible = other->FVisible;
    FIncrement = other->FIncrement;
    Margin = other->Margin;
    Tracking = other->Tracking;
    SetRange(other->FRange);
    SetPosition(other->FPosition);
    return;
  }
  TPersistent::Assign(Source);
}

int TControlScrollBar::ControlSize() const {
  if (!FControl) return 0;
  return FKind == sbHorizontal ? FControl->ClientWidth() : FControl->ClientHeight();
}

int TControlScrollBar::MaxPosition() const { return std::max(0, FRange - ControlSize()); }

bool TControlScrollBar::IsScrollBarVisible() const { return FVisible && FRange > ControlSize(); }

void TControlScrollBar::SetRange(int Value) {
  Value = std::max(0, Value);
  if (FRange == Value) return;
  FRange = Value;
  if (FControl) FControl->UpdateScrollBars();
}

void TControlScrollBar::SetIncrement(int Value) { FIncrement = std::max(1, Value); }

void TControlScrollBar::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  if (FControl) FControl->UpdateScrollBars();
}

void TControlScrollBar::SetPosition(int Value) {
  Value = std::clamp(Value, 0, MaxPosition());
  if (Value == FPosition) return;
  int delta = FPosition - Value;
  FPosition = Value;
  if (!FControl) return;
  // The children move against the scrolling.
  if (FKind == sbHorizontal) FControl->ScrollBy(delta, 0);
  else FControl->ScrollBy(0, delta);
  if (FControl->HandleAllocated()) {
    SetScrollPos(FControl->Handle(), FKind == sbHorizontal ? SB_HORZ : SB_VERT, FPosition, TRUE);
  }
}

void TControlScrollBar::Update() {
  if (!FControl || !FControl->HandleAllocated()) return;
  int bar = FKind == sbHorizontal ? SB_HORZ : SB_VERT;
  if (!IsScrollBarVisible()) {
    SetPosition(0);
    ShowScrollBar(FControl->Handle(), bar, FALSE);
    return;
  }
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  info.nMin = 0;
  info.nMax = FRange - 1;
  info.nPage = UINT(ControlSize());
  info.nPos = FPosition;
  ShowScrollBar(FControl->Handle(), bar, TRUE);
  SetScrollInfo(FControl->Handle(), bar, &info, TRUE);
  // Showing a bar narrows the client: the position may have to come back.
  SetPosition(FPosition);
}

void TControlScrollBar::ScrollMessage(TMessage& Message) {
  int page = std::max(1, ControlSize() * 9 / 10);
  switch (LOWORD(Message.WParam)) {
    case SB_LINEUP: SetPosition(FPosition - FIncrement); break;
    case SB_LINEDOWN: SetPosition(FPosition + FIncrement); break;
    case SB_PAGEUP: SetPosition(FPosition - page); break;
    case SB_PAGEDOWN: SetPosition(FPosition + page); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      if (LOWORD(Message.WParam) == SB_THUMBTRACK && !Tracking) break;
      SCROLLINFO info{};
      info.cbSize = sizeof(info);
      info.fMask = SIF_TRACKPOS;
      GetScrollInfo(FControl->Handle(), FKind == sbHorizontal ? SB_HORZ : SB_VERT, &info);
      SetPosition(info.nTrackPos);
      break;
    }
    case SB_TOP: SetPosition(0); break;
    case SB_BOTTOM: SetPosition(MaxPosition()); break;
    default: break;
  }
}

// --- TScrollingWinControl ---------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TScrollingWinControl)
VELBOR_PUBLISHED(TScrollingWinControl,
  Prop("AutoScroll", &Self::AutoScroll, &Self::SetAutoScroll).Default(true),
  Prop("HorzScrollBar", &Self::HorzScrollBar, &Self::SetHorzScrollBar),
  Prop("VertScrollBar", &Self::VertScrollBar, &Self::SetVertScrollBar))

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner) : TWinControl(AOwner) {
  FHorzScrollBar = new TControlScrollBar(this, sbHorizontal);
  FVertScrollBar = new TControlScrollBar(this, sbVertical);
}

TScrollingWinControl::~TScrollingWinControl() {
  Destroying();
  DestroyHandle();
  delete FHorzScrollBar;
  delete FVertScrollBar;
  FHorzScrollBar = nullptr;
  FVertScrollBar = nullptr;
}

void TScrollingWinControl::SetAutoScroll(bool Value) {
  if (FAutoScroll == Value) return;
  FAutoScroll = Value;
  if (Value) CalcAutoRange();
}

void TScrollingWinControl::ScrollBy(int DeltaX, int DeltaY) {
  DisableAlign();
  {
    TScopeGuard enableAlign([&] { EnableAlign(); });
    for (int i = 0; i < ControlCount(); ++i) {
      TControl* c = Controls(i);
      c->SetBounds(c->Left() + DeltaX, c->Top() + DeltaY, c->Width(), c->Height());
    }
  }
  Invalidate();
}

void TScrollingWinControl::ScrollInView(TControl* AControl) {
  if (!AControl || !ContainsControl(AControl) || AControl == this) return;
  TRect r = AControl->BoundsRect();
  // Bring it in from whichever side it lies beyond; the top-left corner wins.
  if (r.Right > ClientWidth()) FHorzScrollBar->SetPosition(FHorzScrollBar->Position() + r.Right - ClientWidth());
  r = AControl->BoundsRect();
  if (r.Left < 0) FHorzScrollBar->SetPosition(FHorzScrollBar->Position() + r.Left);
  if (r.Bottom > ClientHeight()) FVertScrollBar->SetPosition(FVertScrollBar->Position() + r.Bottom - ClientHeight());
  r = AControl->BoundsRect();
  if (r.Top < 0) FVertScrollBar->SetPosition(FVertScrollBar->Position() + r.Top);
}

void TScrollingWinControl::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateScrollBars();
}

void TScrollingWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  TWinControl::AlignControls(AControl, Rect);
  CalcAutoRange();
}

// The ranges reach the farthest edge of the children (counted unscrolled), plus the margins;
// a child aligned along an axis does not stretch that axis.
void TScrollingWinControl::CalcAutoRange() {
  if (!FAutoScroll || !FHorzScrollBar || !FVertScrollBar) return;
  int right = 0, bottom = 0;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (!c->Visible()) continue;
    TAlign a = c->Align();
    if (a == alNone || a == alTop || a == alBottom) {
      if (a == alNone) right = std::max(right, c->Left() + FHorzScrollBar->Position() + c->Width());
    }
    if (a == alNone || a == alLeft || a == alRight) {
      if (a == alNone) bottom = std::max(bottom, c->Top() + FVertScrollBar->Position() + c->Height());
    }
  }
  FHorzScrollBar->SetRange(right > 0 ? right + FHorzScrollBar->Margin : 0);
  FVertScrollBar->SetRange(bottom > 0 ? bottom + FVertScrollBar->Margin : 0);
}

void TScrollingWinControl::UpdateScrollBars() {
  if (FUpdatingScrollBars || !HandleAllocated() || !FHorzScrollBar || !FVertScrollBar) return;
  FUpdatingScrollBars = true;
  TScopeGuard restore([&] { FUpdatingScrollBars = false; });
  // Twice: one bar showing narrows the client, which may call for the other.
  for (int pass = 0; pass < 2; ++pass) {
    FHorzScrollBar->Update();
    FVertScrollBar->Update();
  }
}

void TScrollingWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_HSCROLL: WMHScroll(Message); break;
    case WM_VSCROLL: WMVScroll(Message); break;
    case WM_SIZE: WMSize(Message); break;
    default: TWinControl::Dispatch(Message); break;
  }
}

void TScrollingWinControl::WMHScroll(TMessage& Message) {
  // A scroll bar control among the children reports through its own notification.
  if (Message.LParam) {
    TWinControl::Dispatch(Message);
    return;
  }
  FHorzScrollBar->ScrollMessage(Message);
}

void TScrollingWinControl::WMVScroll(TMessage& Message) {
  if (Message.LParam) {
    TWinControl::Dispatch(Message);
    return;
  }
  FVertScrollBar->ScrollMessage(Message);
}

void TScrollingWinControl::WMSize(TMessage& Message) {
  TWinControl::Dispatch(Message);
  UpdateScrollBars();
}

// --- TScrollBox -------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TScrollBox)
VELBOR_PUBLISHED(TScrollBox,
  Prop("BorderStyle", &Self::BorderStyle, &Self::SetBorderStyle).Default(bsSingle))

TScrollBox::TScrollBox(TComponent* AOwner) : TScrollingWinControl(AOwner) {
  ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 185, 41);
}

void TScrollBox::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TScrollBox::CreateParams(TCreateParams& Params) {
  TScrollingWinControl::CreateParams(Params);
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}
