// This file implements TScrollBar over the native SCROLLBAR control: range, position, page size,
// line and page steps, and the OnScroll/OnChange events of the user's scrolling.
#include <algorithm>

#include "Format.h"
#include "StdCtrls.h"

VELBOR_IMPLEMENT_CLASS(TScrollBar)
VELBOR_PUBLISHED(TScrollBar,
  Prop("Kind", &Self::Kind, &Self::SetKind).Default(sbHorizontal),
  Prop("Max", &Self::Max, &Self::SetMax).Default(100),
  Prop("Min", &Self::Min, &Self::SetMin).Default(0),
  Prop("PageSize", &Self::PageSize, &Self::SetPageSize).Default(0),
  Prop("Position", &Self::Position, &Self::SetPosition).Default(0),
  Prop("SmallChange", &Self::SmallChange).Default(1),
  Prop("LargeChange", &Self::LargeChange).Default(1),
  Prop("OnChange", &Self::OnChange),
  Prop("OnScroll", &Self::OnScroll))

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner) {
  ControlStyle = {csFramed, csDoubleClicks, csOpaque};
  SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
  SetTabStop(true);
}

void TScrollBar::SetKind(TScrollBarKind Value) {
  if (FKind == Value) return;
  FKind = Value;
  // The bar turns: its width and height swap.
  if (!ComponentState().Contains(csLoading)) SetBounds(Left(), Top(), Height(), Width());
  RecreateWnd();
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax) {
  if (AMax < AMin) throw EInvalidOperation("Propriété de barre de défilement hors limites"_a);
  APosition = std::clamp(APosition, AMin, AMax);
  bool moved = APosition != FPosition;
  FMin = AMin;
  FMax = AMax;
  FPosition = APosition;
  if (FPageSize > FMax - FMin + 1) FPageSize = FMax - FMin + 1;
  UpdateScrollInfo();
  if (moved) Change();
}

void TScrollBar::SetPosition(int Value) { SetParams(Value, FMin, FMax); }

void TScrollBar::SetMin(int Value) { SetParams(FPosition, Value, std::max(FMax, Value)); }

void TScrollBar::SetMax(int Value) { SetParams(FPosition, std::min(FMin, Value), Value); }

void TScrollBar::SetPageSize(int Value) {
  if (Value < 0 || Value > FMax - FMin + 1) throw EInvalidOperation("Propriété de barre de défilement hors limites"_a);
  if (FPageSize == Value) return;
  FPageSize = Value;
  UpdateScrollInfo();
}

void TScrollBar::UpdateScrollInfo() {
  if (!HandleAllocated()) return;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  info.nMin = FMin;
  info.nMax = FMax;
  info.nPage = UINT(FPageSize);
  info.nPos = FPosition;
  SetScrollInfo(FHandle, SB_CTL, &info, TRUE);
}

void TScrollBar::Change() {
  Changed();
  if (OnChange) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, int& ScrollPos) {
  if (OnScroll) OnScroll(this, ScrollCode, ScrollPos);
}

void TScrollBar::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, "SCROLLBAR");
  Params.Style |= FKind == sbHorizontal ? SBS_HORZ : SBS_VERT;
}

void TScrollBar::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateScrollInfo();
}

void TScrollBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL: CNScroll(Message); break;
    default: TWinControl::Dispatch(Message); break;
  }
}

void TScrollBar::CNScroll(TMessage& Message) {
  int code = LOWORD(Message.WParam);
  if (code > SB_ENDSCROLL) return;
  int pos = FPosition;
  // The last position the thumb can reach leaves one page showing.
  int last = FPageSize > 0 ? FMax - FPageSize + 1 : FMax;
  switch (code) {
    case SB_LINEUP: pos -= SmallChange; break;
    case SB_LINEDOWN: pos += SmallChange; break;
    case SB_PAGEUP: pos -= LargeChange; break;
    case SB_PAGEDOWN: pos += LargeChange; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      // The 32-bit track position, not the 16 bits of the message.
      SCROLLINFO info{};
      info.cbSize = sizeof(info);
      info.fMask = SIF_TRACKPOS;
      GetScrollInfo(FHandle, SB_CTL, &info);
      pos = info.nTrackPos;
      break;
    }
    case SB_TOP: pos = FMin; break;
    case SB_BOTTOM: pos = last; break;
    default: break;
  }
  pos = std::clamp(pos, FMin, std::max(FMin, last));
  Scroll(TScrollCode(code), pos);
  SetPosition(pos);
}
