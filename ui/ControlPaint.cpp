// This file implements the painting of controls: WM_PAINT with double buffering, window-less
// children painted on their parent's context, painting a control into another device context
// (PaintTo, csPaintCopy), TControlCanvas with its device contexts, TGraphicControl and
// TCustomControl.
#include <algorithm>
#include <optional>

#include "Controls.h"
#include "Format.h"
#include "ScopeGuard.h"
#include "TextOrder.h"

namespace {
// Canvases holding a window's device context, handed back by FreeDeviceContexts.
std::vector<TControlCanvas*> CanvasList;

void MoveWindowOrg(HDC DC, int DX, int DY) {
  POINT p;
  GetWindowOrgEx(DC, &p);
  SetWindowOrgEx(DC, p.x - DX, p.y - DY, nullptr);
}
}  // namespace

void FreeDeviceContexts() {
  while (!CanvasList.empty()) CanvasList.back()->FreeHandle();
}

// --- TWinControl ----------------------------------------------------------------------------

void TWinControl::PaintWindow(HDC DC) {
  TMessage m{WM_PAINT, WPARAM(DC), 0, 0};
  DefaultHandler(m);
}

void TWinControl::PaintHandler(TMessage& Message) {
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  std::optional<TPaintDC> paint;  // the window's own painting, without a context given
  if (!dc) dc = paint.emplace(FHandle);
  {
    TSavedDC saved(dc);
    int clip = SIMPLEREGION;
    for (TControl* c : FControls) {
      if (dynamic_cast<TWinControl*>(c) || !c->Visible() || !c->ControlStyle.Contains(csOpaque)) continue;
      clip = ExcludeClipRect(dc, c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height());
      if (clip == NULLREGION) break;
    }
    if (clip != NULLREGION) PaintWindow(dc);
  }
  PaintControls(dc, nullptr);
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
  auto it = First ? std::find(FControls.begin(), FControls.end(), First) : FControls.begin();
  if (it == FControls.end()) it = FControls.begin();
  for (; it != FControls.end(); ++it) {
    TControl* c = *it;
    if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
    RECT r = c->BoundsRect();
    if (!RectVisible(DC, &r)) continue;
    if (ControlState.Contains(csPaintCopy)) c->ControlState.Include(csPaintCopy);
    int saved = SaveDC(DC);
    MoveWindowOrg(DC, c->Left(), c->Top());
    IntersectClipRect(DC, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, WPARAM(DC));
    RestoreDC(DC, saved);
    c->ControlState.Exclude(csPaintCopy);
  }
}

void TWinControl::WMPaint(TMessage& Message) {
  if (!DoubleBuffered || Message.WParam != 0) {
    if (!ControlState.Contains(csCustomPaint) && FControls.empty()) TControl::Dispatch(Message);
    else PaintHandler(Message);
    return;
  }
  // Double buffering: everything is drawn in memory, then copied in one go.
  TRect client = ClientRect();
  TOwnedBitmap bitmap(CreateCompatibleBitmap(TWindowDC(), std::max(client.Right, 1), std::max(client.Bottom, 1)));
  TBitmapDC memory(bitmap);
  TPaintDC dc(FHandle);
  Perform(WM_ERASEBKGND, WPARAM(memory.Get()), LPARAM(memory.Get()));
  Message.WParam = WPARAM(memory.Get());
  WMPaint(Message);
  Message.WParam = 0;
  BitBlt(dc, 0, 0, client.Right, client.Bottom, memory, 0, 0, SRCCOPY);
}

void TWinControl::PaintTo(HDC DC, int X, int Y) {
  ControlState.Include(csPaintCopy);
  int saved = SaveDC(DC);
  MoveWindowOrg(DC, X, Y);
  IntersectClipRect(DC, 0, 0, FWidth, FHeight);
  HWND h = Handle();
  UINT edge = 0, border = 0;
  if (GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) {
    edge = EDGE_SUNKEN;
    border = BF_RECT | BF_ADJUST;
  } else if (GetWindowLongA(h, GWL_STYLE) & WS_BORDER) {
    edge = BDR_OUTER;
    border = BF_RECT | BF_ADJUST | BF_MONO;
  }
  if (border) {
    RECT r{0, 0, FWidth, FHeight};
    DrawEdge(DC, &r, edge, border);
    MoveWindowOrg(DC, r.left, r.top);
    IntersectClipRect(DC, 0, 0, r.right - r.left, r.bottom - r.top);
  }
  Perform(WM_ERASEBKGND, WPARAM(DC));
  Perform(WM_PAINT, WPARAM(DC));
  RestoreDC(DC, saved);
  for (TControl* c : FControls) {
    if (auto* w = dynamic_cast<TWinControl*>(c); w && w->Visible()) w->PaintTo(DC, X + w->Left(), Y + w->Top());
  }
  ControlState.Exclude(csPaintCopy);
}

void TWinControl::Invalidate() { Perform(CM_INVALIDATE); }

void TWinControl::Update() {
  if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

// --- TGraphicControl ------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TGraphicControl)

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {
  FCanvas = new TControlCanvas();
  FCanvas->SetControl(this);
}

TGraphicControl::~TGraphicControl() { delete FCanvas; }

TCanvas* TGraphicControl::Canvas() const { return FCanvas; }

void TGraphicControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); break;
    default: TControl::Dispatch(Message); break;
  }
}

void TGraphicControl::WMPaint(TMessage& Message) {
  if (!Message.WParam) return;
  {
    TCanvasDCScope scope(FCanvas, reinterpret_cast<HDC>(Message.WParam));
    Paint();
  }
}

// --- TCustomControl -------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TCustomControl)

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {
  FCanvas = new TControlCanvas();
  FCanvas->SetControl(this);
}

TCustomControl::~TCustomControl() { delete FCanvas; }

TCanvas* TCustomControl::Canvas() const { return FCanvas; }

void TCustomControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_PAINT) {
    ControlState.Include(csCustomPaint);
    {
      TScopeGuard restore([&] { ControlState.Exclude(csCustomPaint); });
      TWinControl::Dispatch(Message);
    }
    return;
  }
  TWinControl::Dispatch(Message);
}

void TCustomControl::PaintWindow(HDC DC) {
  {
    TCanvasDCScope scope(FCanvas, DC);
    FCanvas->UpdateTextFlags();
    Paint();
  }
}

// --- TControlCanvas -------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TControlCanvas)

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::SetControl(TControl* Value) {
  if (FControl == Value) return;
  FreeHandle();
  FControl = Value;
}

void TControlCanvas::CreateHandle() {
  if (!FControl) return;
  if (!FDeviceContext) {
    // A window-less control draws on its parent's window, moved to and clipped to its bounds.
    TWinControl* window = dynamic_cast<TWinControl*>(FControl);
    int dx = 0, dy = 0;
    if (!window) {
      window = FControl->Parent();
      if (!window) throw EInvalidOperation(Format("Le contrôle '%s' n'a pas de fenêtre parente"_a, {FControl->Name()}));
      dx = FControl->Left();
      dy = FControl->Top();
    }
    FWindowHandle = window->Handle();
    FDeviceContext = GetDC(FWindowHandle);
    if (dx || dy || window != FControl) {
      SetViewportOrgEx(FDeviceContext, dx, dy, nullptr);
      IntersectClipRect(FDeviceContext, 0, 0, FControl->Width(), FControl->Height());
    }
    CanvasList.push_back(this);
  }
  SetHandle(FDeviceContext);
}

void TControlCanvas::FreeHandle() {
  if (!FDeviceContext) return;
  SetHandle(nullptr);
  ReleaseDC(FWindowHandle, FDeviceContext);
  FDeviceContext = nullptr;
  CanvasList.erase(std::remove(CanvasList.begin(), CanvasList.end(), this), CanvasList.end());
}
