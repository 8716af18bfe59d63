// This file implements TCanvas: drawing with the class library's tools on a device context.
#include "Graphics.h"

namespace {

const int PenModes[] = {R2_BLACK,       R2_WHITE,       R2_NOP,        R2_NOT,       R2_COPYPEN,   R2_NOTCOPYPEN,
                        R2_MERGEPENNOT, R2_MASKPENNOT,  R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,  R2_NOTMERGEPEN,
                        R2_MASKPEN,     R2_NOTMASKPEN,  R2_XORPEN,     R2_NOTXORPEN};

std::vector<POINT> ToPOINTs(const std::vector<TPoint>& Points) {
  std::vector<POINT> p(Points.size());
  for (std::size_t i = 0; i < Points.size(); ++i) p[i] = POINT{Points[i].X, Points[i].Y};
  return p;
}

}  // namespace

VELBOR_IMPLEMENT_CLASS(TCanvas)

TCanvas::TCanvas() : FFont(new TFont()), FPen(new TPen()), FBrush(new TBrush()) {
  FFont->OnChange = TNotifyEvent(this, &TCanvas::FontChanged);
  FPen->OnChange = TNotifyEvent(this, &TCanvas::PenChanged);
  FBrush->OnChange = TNotifyEvent(this, &TCanvas::BrushChanged);
  FFont->OwnerObject = this;
  FPen->OwnerObject = this;
  FBrush->OwnerObject = this;
  ::InitializeCriticalSection(&FLock);
}

TCanvas::~TCanvas() {
  SetHandle(nullptr);
  delete FFont;
  delete FPen;
  delete FBrush;
  ::DeleteCriticalSection(&FLock);
}

HDC TCanvas::Handle() {
  Changing();
  RequiredState({csHandleValid, csFontValid, csPenValid, csBrushValid});
  return FHandle;
}

void TCanvas::SetHandle(HDC Value) {
  if (Value == FHandle) return;
  if (FHandle) {
    DeselectHandles();
    FPenPos = PenPos();
    FHandle = nullptr;
    FState.Exclude(csHandleValid);
  }
  if (Value) {
    FHandle = Value;
    FState.Include(csHandleValid);
    ::MoveToEx(FHandle, FPenPos.X, FPenPos.Y, nullptr);
  }
}

void TCanvas::RequiredState(TCanvasState ReqState) {
  TCanvasState needed = ReqState - FState;
  if (needed.Empty()) return;
  if (needed.Contains(csHandleValid)) {
    CreateHandle();
    if (!FHandle) throw EInvalidOperation("Le canevas ne permet pas de dessiner");
    FState.Include(csHandleValid);
  }
  if (needed.Contains(csFontValid)) SelectFont();
  if (needed.Contains(csPenValid)) SelectPen();
  if (needed.Contains(csBrushValid)) SelectBrush();
  FState = FState + needed;
}

void TCanvas::SelectFont() {
  HGDIOBJ old = ::SelectObject(FHandle, FFont->Handle());
  if (!FOldFont) FOldFont = old;
  ::SetTextColor(FHandle, ColorToRGB(FFont->Color()));
}

void TCanvas::SelectPen() {
  HGDIOBJ old = ::SelectObject(FHandle, FPen->Handle());
  if (!FOldPen) FOldPen = old;
  ::SetROP2(FHandle, PenModes[FPen->Mode()]);
}

// A solid brush also gives the background of text and of dashed lines; any other style leaves
// them transparent.
void TCanvas::SelectBrush() {
  HBRUSH brush = FBrush->Handle();
  ::UnrealizeObject(brush);
  HGDIOBJ old = ::SelectObject(FHandle, brush);
  if (!FOldBrush) FOldBrush = old;
  if (FBrush->Style() == bsSolid) {
    ::SetBkColor(FHandle, ColorToRGB(FBrush->Color()));
    ::SetBkMode(FHandle, OPAQUE);
  } else {
    ::SetBkColor(FHandle, ~ColorToRGB(FBrush->Color()) & 0xFFFFFF);
    ::SetBkMode(FHandle, TRANSPARENT);
  }
}

void TCanvas::DeselectHandles() {
  if (!FHandle) return;
  if (FState.Contains(csFontValid) && FOldFont) ::SelectObject(FHandle, FOldFont);
  if (FState.Contains(csPenValid) && FOldPen) ::SelectObject(FHandle, FOldPen);
  if (FState.Contains(csBrushValid) && FOldBrush) ::SelectObject(FHandle, FOldBrush);
  FOldFont = FOldPen = FOldBrush = nullptr;
  FState = FState - TCanvasState{csFontValid, csPenValid, csBrushValid};
}

// A tool that changes is put back to the context's own before its handle is freed.
void TCanvas::FontChanged(TObject*) {
  if (FHandle && FState.Contains(csFontValid)) {
    ::SelectObject(FHandle, FOldFont ? FOldFont : ::GetStockObject(SYSTEM_FONT));
    FOldFont = nullptr;
    FState.Exclude(csFontValid);
  }
}

void TCanvas::PenChanged(TObject*) {
  if (FHandle && FState.Contains(csPenValid)) {
    ::SelectObject(FHandle, FOldPen ? FOldPen : ::GetStockObject(BLACK_PEN));
    FOldPen = nullptr;
    FState.Exclude(csPenValid);
  }
}

void TCanvas::BrushChanged(TObject*) {
  if (FHandle && FState.Contains(csBrushValid)) {
    ::SelectObject(FHandle, FOldBrush ? FOldBrush : ::GetStockObject(HOLLOW_BRUSH));
    FOldBrush = nullptr;
    FState.Exclude(csBrushValid);
  }
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

TPoint TCanvas::PenPos() {
  if (!FHandle) return FPenPos;
  POINT p = {};
  ::GetCurrentPositionEx(FHandle, &p);
  return TPoint(p.x, p.y);
}

void TCanvas::SetPenPos(TPoint Value) { MoveTo(Value.X, Value.Y); }

TColor TCanvas::Pixels(int X, int Y) {
  RequiredState({csHandleValid});
  COLORREF c = ::GetPixel(FHandle, X, Y);
  return c == CLR_INVALID ? clNone : TColor(c);
}

void TCanvas::SetPixels(int X, int Y, TColor Value) {
  Changing();
  RequiredState({csHandleValid, csPenValid});
  ::SetPixel(FHandle, X, Y, ColorToRGB(Value));
  Changed();
}

TRect TCanvas::ClipRect() {
  RequiredState({csHandleValid});
  RECT r = {};
  ::GetClipBox(FHandle, &r);
  return TRect(r);
}

void TCanvas::MoveTo(int X, int Y) {
  RequiredState({csHandleValid});
  ::MoveToEx(FHandle, X, Y, nullptr);
}

void TCanvas::LineTo(int X, int Y) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::LineTo(FHandle, X, Y);
  Changed();
}

void TCanvas::Polyline(const std::vector<TPoint>& Points) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  std::vector<POINT> p = ToPOINTs(Points);
  ::Polyline(FHandle, p.data(), int(p.size()));
  Changed();
}

void TCanvas::Polygon(const std::vector<TPoint>& Points) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  std::vector<POINT> p = ToPOINTs(Points);
  ::Polygon(FHandle, p.data(), int(p.size()));
  Changed();
}

void TCanvas::PolyBezier(const std::vector<TPoint>& Points) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  std::vector<POINT> p = ToPOINTs(Points);
  ::PolyBezier(FHandle, p.data(), DWORD(p.size()));
  Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Rectangle(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::RoundRect(FHandle, X1, Y1, X2, Y2, X3, Y3);
  Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Ellipse(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Arc(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

void TCanvas::Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Chord(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Pie(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

void TCanvas::FillRect(const TRect& R) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::FillRect(FHandle, AsRECT(R), FBrush->Handle());
  Changed();
}

void TCanvas::FrameRect(const TRect& R) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::FrameRect(FHandle, AsRECT(R), FBrush->Handle());
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& R) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::DrawFocusRect(FHandle, AsRECT(R));
  Changed();
}

void TCanvas::FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::ExtFloodFill(FHandle, X, Y, ColorToRGB(Color), FillStyle == fsSurface ? FLOODFILLSURFACE : FLOODFILLBORDER);
  Changed();
}

void TCanvas::TextOut(int X, int Y, const String& Text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  ::ExtTextOutA(FHandle, X, Y, UINT(TextFlags), nullptr, Text.c_str(), UINT(Text.size()), nullptr);
  // The pen moves to the end of the text, as successive TextOut calls expect.
  ::MoveToEx(FHandle, X + TextWidth(Text), Y, nullptr);
  Changed();
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const String& Text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  UINT options = ETO_CLIPPED | UINT(TextFlags);
  if (FBrush->Style() != bsClear) options |= ETO_OPAQUE;
  ::ExtTextOutA(FHandle, X, Y, options, AsRECT(R), Text.c_str(), UINT(Text.size()), nullptr);
  Changed();
}

TSize TCanvas::TextExtent(const String& Text) {
  RequiredState({csHandleValid, csFontValid});
  SIZE s = {};
  ::GetTextExtentPoint32A(FHandle, Text.c_str(), int(Text.size()), &s);
  return TSize{s.cx, s.cy};
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  RequiredState({csHandleValid});
  Graphic->Draw(this, Bounds(X, Y, Graphic->Width(), Graphic->Height()));
  Changed();
}

void TCanvas::StretchDraw(const TRect& R, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  RequiredState({csHandleValid});
  Graphic->Draw(this, R);
  Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  Canvas->RequiredState({csHandleValid, csFontValid, csBrushValid});
  ::StretchBlt(FHandle, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Canvas->FHandle, Source.Left, Source.Top,
               Source.Width(), Source.Height(), FCopyMode);
  Changed();
}

void TCanvas::BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color) {
  if (!Bitmap || Bitmap->Empty()) return;
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::FillRect(FHandle, AsRECT(Dest), FBrush->Handle());
  TOwnedBitmap mask(Bitmap->CreateMaskHandle(Color));
  GraphicsDetail::MaskedStretch(FHandle, Dest, Bitmap->Canvas()->Handle(), Source, mask);
  Changed();
}

void TCanvas::Refresh() { DeselectHandles(); }

void TCanvas::Lock() {
  ::EnterCriticalSection(&FLock);
  ++FLockCount;
}

void TCanvas::Unlock() {
  --FLockCount;
  ::LeaveCriticalSection(&FLock);
}

bool TCanvas::TryLock() {
  if (!::TryEnterCriticalSection(&FLock)) return false;
  ++FLockCount;
  return true;
}
