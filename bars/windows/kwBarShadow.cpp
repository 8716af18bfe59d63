// This file implements the drop shadow of bar and menu windows.
#include "kwBarShadow.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "kwBarUtils.h"
#include "kwCustomBarControl.h"

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TkwBarShadowPart)

// --- Parts -------------------------------------------------------------------------------------------

TkwBarShadowPart::TkwBarShadowPart(TkwBarShadow* Shadow, int Kind, int Corners, const TRect& Bounds)
    : TCustomControl(nullptr), FShadow(Shadow), FKind(Kind), FCorners(Corners) {
  FImage = new TBitmap();
  FComposed = new TBitmap();
  SetVisible(false);
  SetBounds(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
  if (TCustomkwBarControl* owner = Shadow->Owner(); owner && owner->HandleAllocated())
    SetParentWindow(owner->Handle());
}

TkwBarShadowPart::~TkwBarShadowPart() {
  Destroying();
  if (HandleAllocated()) DestroyHandle();
  delete FImage;
  delete FComposed;
}

void TkwBarShadowPart::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = 0;
  TCustomkwBarControl* owner = FShadow->Owner();
  if (owner && owner->HandleAllocated() && (GetWindowLongA(owner->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST))
    Params.ExStyle |= WS_EX_TOPMOST;
  Params.WindowClass.style = 0;
}

void TkwBarShadowPart::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCHITTEST: Message.Result = HTTRANSPARENT; return;  // clicks fall through to the window below
    case WM_ERASEBKGND: Message.Result = 1; return;
    case CM_VISIBLECHANGED:
      // The part is a popup of its window: it shows and hides itself.
      TCustomControl::Dispatch(Message);
      return;
    default: TCustomControl::Dispatch(Message); return;
  }
}

void TkwBarShadowPart::Paint() {
  if (TkwBarShadow::GetTransparent() && !FComposed->Empty()) {
    Canvas()->Draw(0, 0, FComposed);
    return;
  }
  Canvas()->Brush()->SetColor(clBtnShadow);
  Canvas()->FillRect(ClientRect());
}

int TkwBarShadowPart::AlphaAt(int X, int Y) const {
  int w = Width();
  if (X < 0 || Y < 0 || X >= w || Y >= Height() || FAlpha.empty()) return 0;
  return int(FAlpha[std::size_t(Y * w + X)] >> 24);
}

void TkwBarShadowPart::BuildImage() {
  int w = Width(), h = Height();
  int s = FShadow->GetShadowSize();
  FImage->SetPixelFormat(pf32bit);
  FImage->SetSize(std::max(w, 0), std::max(h, 0));
  if (w <= 0 || h <= 0) return;
  std::vector<std::uint32_t> pixels(std::size_t(w * h));
  // The alpha falls with the distance from the shadowed edge: 60, 45, 30, 15 for a size of 4.
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      int d = FKind == 0 ? y : x;
      int alpha = std::clamp(15 * (s - d), 0, 255);
      pixels[std::size_t(y * w + x)] = std::uint32_t(alpha) << 24;
    }
  auto fade = [&](int X, int Y, int Step) {
    std::uint32_t& p = pixels[std::size_t(Y * w + X)];
    int alpha = int(p >> 24);
    alpha = MulDiv(alpha, Step + 1, s + 1);
    p = std::uint32_t(alpha) << 24;
  };
  for (int k = 0; k < s; ++k) {
    if ((FCorners & kwscLeft) && k < w)
      for (int y = 0; y < h; ++y) fade(k, y, k);
    if ((FCorners & kwscRight) && k < w)
      for (int y = 0; y < h; ++y) fade(w - 1 - k, y, k);
    if ((FCorners & kwscTop) && k < h)
      for (int x = 0; x < w; ++x) fade(x, k, k);
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBits(FImage->Canvas()->Handle(), FImage->Handle(), 0, UINT(h), pixels.data(), &info, DIB_RGB_COLORS);
  FAlpha.assign(pixels.begin(), pixels.end());
}

void TkwBarShadowPart::ShowPart() {
  TCustomkwBarControl* owner = FShadow->Owner();
  int w = Width(), h = Height();
  if (TkwBarShadow::GetTransparent() && w > 0 && h > 0 && (!HandleAllocated() || !IsWindowVisible(Handle()))) {
    // The black image over what the screen shows here now: each channel times (255 - alpha).
    std::vector<std::uint32_t> pixels(std::size_t(w * h));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    {
      TWindowDC screen;
      TOwnedBitmap beneath(CreateCompatibleBitmap(screen, w, h));
      {
        TBitmapDC memory(beneath, screen);
        BitBlt(memory, 0, 0, w, h, screen, Left(), Top(), SRCCOPY);
      }
      GetDIBits(screen, beneath, 0, UINT(h), pixels.data(), &info, DIB_RGB_COLORS);
    }
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        std::uint32_t& p = pixels[std::size_t(y * w + x)];
        int keep = 255 - AlphaAt(x, y);
        int r = MulDiv(int((p >> 16) & 0xFF), keep, 255), g = MulDiv(int((p >> 8) & 0xFF), keep, 255),
            b = MulDiv(int(p & 0xFF), keep, 255);
        p = std::uint32_t((r << 16) | (g << 8) | b);
      }
    FComposed->SetPixelFormat(pf32bit);
    FComposed->SetSize(w, h);
    SetDIBits(FComposed->Canvas()->Handle(), FComposed->Handle(), 0, UINT(h), pixels.data(), &info, DIB_RGB_COLORS);
  }
  HandleNeeded();
  HWND after = owner && owner->HandleAllocated() ? owner->Handle() : HWND_TOP;
  SetWindowPos(Handle(), after, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

void TkwBarShadowPart::HidePart() {
  if (!HandleAllocated()) return;
  ShowWindow(Handle(), SW_HIDE);
  DestroyHandle();
}

// --- Shadow -----------------------------------------------------------------------------------------

TkwBarShadow::~TkwBarShadow() { FreeParts(); }

bool TkwBarShadow::GetTransparent() { return LateUser32().UpdateLayeredWindow && ScreenColorDepth() > 8; }

int TkwBarShadow::PartCount() const {
  int count = 0;
  for (TkwBarShadowPart* part : FParts)
    if (part) ++count;
  return count;
}

void TkwBarShadow::FreeParts() {
  for (TkwBarShadowPart*& part : FParts) {
    delete part;
    part = nullptr;
  }
}

void TkwBarShadow::SetVisible(bool Value) {
  if (Value == FVisible) return;
  FVisible = Value;
  for (TkwBarShadowPart* part : FParts) {
    if (!part) continue;
    if (Value)
      part->ShowPart();
    else
      part->HidePart();
  }
}

void TkwBarShadow::SetBounds(const TRect& OwnerRect, const TRect& WindowRect) {
  FOwnerRect = OwnerRect;
  FWindowRect = WindowRect;
  const TRect& o = FOwnerRect;
  const TRect& w = FWindowRect;
  FHorizontalJunction = o.IsEmpty() || o.Bottom == w.Top || o.Top == w.Bottom;
  // The first rectangle is always above or left of the second.
  if (!o.IsEmpty() && ((FHorizontalJunction && o.Top == w.Bottom) || (!FHorizontalJunction && o.Left == w.Right)))
    std::swap(FOwnerRect, FWindowRect);
  Refresh();
}

void TkwBarShadow::AddPart(int Kind, const TRect& Bounds, int Corners) {
  if (Bounds.IsEmpty()) return;
  int s = GetShadowSize();
  // A part with faded ends shows only when it is at least the shadow's size both ways.
  if (Corners && (Bounds.Width() < s || Bounds.Height() < s)) return;
  for (TkwBarShadowPart*& slot : FParts) {
    if (slot) continue;
    slot = new TkwBarShadowPart(this, Kind, Corners, Bounds);
    slot->BuildImage();
    if (FVisible) slot->ShowPart();
    return;
  }
}

void TkwBarShadow::Refresh() {
  FreeParts();
  if (FWindowRect.IsEmpty()) return;
  int s = GetShadowSize();
  const TRect& O = FOwnerRect;
  const TRect& W = FWindowRect;
  bool owner = !O.IsEmpty();
  if (FHorizontalJunction) {
    if (owner) AddPart(1, TRect(O.Right, O.Top + s, O.Right + s, O.Bottom), kwscTop);
    AddPart(0, TRect(W.Left + s, W.Bottom, W.Right + s, W.Bottom + s), kwscLeft | kwscRight);
    if (owner) {
      if (O.Left + s < W.Left) AddPart(0, TRect(O.Left + s, O.Bottom, W.Left, O.Bottom + s), kwscLeft);
      if (W.Right < O.Right) AddPart(0, TRect(W.Right, O.Bottom, O.Right + s, O.Bottom + s), kwscRight);
    }
    if (!owner || O.Right < W.Right)
      AddPart(1, TRect(W.Right, W.Top + s, W.Right + s, W.Bottom), kwscTop);
    else
      AddPart(1, TRect(W.Right, W.Top, W.Right + s, W.Bottom), 0);
    return;
  }
  AddPart(1, TRect(W.Right, W.Top + s, W.Right + s, W.Bottom), kwscTop);
  if (O.Top + s < W.Top) AddPart(1, TRect(O.Right, O.Top + s, O.Right + s, W.Top), kwscTop);
  if (W.Bottom < O.Bottom) {
    AddPart(0, TRect(O.Left + s, O.Bottom, O.Right + s, O.Bottom + s), kwscLeft | kwscRight);
    AddPart(1, TRect(O.Right, W.Bottom, O.Right + s, O.Bottom), 0);
  } else {
    AddPart(0, TRect(O.Left + s, O.Bottom, O.Right, O.Bottom + s), kwscLeft);
  }
  if (O.Bottom < W.Bottom)
    AddPart(0, TRect(W.Left + s, W.Bottom, W.Right + s, W.Bottom + s), kwscLeft | kwscRight);
  else
    AddPart(0, TRect(W.Left, W.Bottom, W.Right + s, W.Bottom + s), kwscRight);
}
