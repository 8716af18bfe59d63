// This file implements the paint canvas of the look-and-feel painters.
#include "kjPaintCanvas.h"

#include <memory>

#include "ImageList.h"
#include "kwOffice11Colors.h"

UINT TextFlagsToDrawTextFormat(TkjTextFlags Flags) {
  UINT format = DT_NOPREFIX;
  if (Flags & kjtRight) format |= DT_RIGHT;
  if (Flags & kjtCenterX) format |= DT_CENTER;
  if (Flags & kjtBottom) format |= DT_BOTTOM;
  if (Flags & kjtCenterY) format |= DT_VCENTER;
  if (Flags & kjtSingleLine) format |= DT_SINGLELINE;
  if (Flags & kjtDontClip) format |= DT_NOCLIP;
  if (Flags & kjtExpandTabs) format |= DT_EXPANDTABS;
  if (Flags & kjtShowPrefix) format &= ~UINT(DT_NOPREFIX);
  if (Flags & kjtWordBreak) format |= DT_WORDBREAK | DT_EDITCONTROL;
  if (Flags & kjtShowEndEllipsis) format |= DT_END_ELLIPSIS;
  if (Flags & kjtCalcRect) format |= DT_CALCRECT;
  if (Flags & kjtShowPathEllipsis) format |= DT_PATH_ELLIPSIS;
  return format;
}

void TkjPaintCanvas::SetBrushColorIfChanged(TColor Color) {
  if (Brush()->Color() != Color) Brush()->SetColor(Color);
}

void TkjPaintCanvas::FillSides(const TRect& Rect, TColor Color, TkjSides Sides, int Width) {
  if (Color != kjDefaultColor) SetBrushColorIfChanged(Color);
  if (Sides & kjsLeft) FillRect(TRect(Rect.Left, Rect.Top, Rect.Left + Width, Rect.Bottom));
  if (Sides & kjsRight) FillRect(TRect(Rect.Right - Width, Rect.Top, Rect.Right, Rect.Bottom));
  if (Sides & kjsTop) FillRect(TRect(Rect.Left, Rect.Top, Rect.Right, Rect.Top + Width));
  if (Sides & kjsBottom) FillRect(TRect(Rect.Left, Rect.Bottom - Width, Rect.Right, Rect.Bottom));
}

void TkjPaintCanvas::FrameSides(const TRect& Rect, TColor Color1, int Width, TkjSides Sides, TColor Color2) {
  if (Sides & kjsLeft) FillSides(Rect, Color1, kjsLeft, Width);
  if (Sides & kjsTop) FillSides(Rect, Color1, kjsTop, Width);
  if (Sides & kjsRight) FillSides(Rect, Color2, kjsRight, Width);
  if (Sides & kjsBottom) FillSides(Rect, Color2, kjsBottom, Width);
}

void TkjPaintCanvas::DrawEdge3D(const TRect& Rect, bool Sunken, TkjSides Sides, bool Inner) {
  TColor first, second;
  if (!Inner) {
    first = Sunken ? cl3DDkShadow : clBtnHighlight;
    second = Sunken ? cl3DLight : clBtnShadow;
  } else {
    first = Sunken ? clBtnShadow : cl3DLight;
    second = Sunken ? clBtnHighlight : cl3DDkShadow;
  }
  FrameSides(Rect, first, 1, Sides, second);
}

void TkjPaintCanvas::InvertArea(const TRect& Rect) {
  FCanvas->SetCopyMode(DSTINVERT);
  FCanvas->CopyRect(Rect, FCanvas, Rect);
  FCanvas->SetCopyMode(SRCCOPY);
}

void TkjPaintCanvas::ExcludeClipRect(const TRect& Rect) {
  ::ExcludeClipRect(Handle(), Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
}

TSize TkjPaintCanvas::TextExtent(const String& Text) { return FCanvas->TextExtent(Text); }

void TkjPaintCanvas::DrawGlyph(int X, int Y, TColor Background, bool Enabled, TBitmap* Bitmap) {
  if (!Bitmap || Bitmap->Empty()) return;
  TRect source(0, 0, Bitmap->Width(), Bitmap->Height());
  if (Enabled) {
    TBrushStyle style = Brush()->Style();
    TColor color = Brush()->Color();
    if (Background == kjNoColor)
      Brush()->SetStyle(bsClear);
    else
      Brush()->SetColor(Background);
    FCanvas->BrushCopy(Bounds(X, Y, source.Width(), source.Height()), Bitmap, source, Bitmap->TransparentColor());
    Brush()->SetColor(color);
    Brush()->SetStyle(style);
    return;
  }
  TImageList images(nullptr, source.Width(), source.Height());
  if (Bitmap->TransparentMode() == tmFixed)
    images.AddMasked(Bitmap, Bitmap->TransparentColor());
  else
    images.Add(Bitmap, nullptr);
  if (Background == kjNoColor) {
    images.Draw(FCanvas, X, Y, 0, false);
    return;
  }
  TBitmap back;
  back.SetSize(source.Width(), source.Height());
  back.Canvas()->Brush()->SetColor(Background);
  back.Canvas()->FillRect(source);
  images.Draw(back.Canvas(), 0, 0, 0, false);
  FCanvas->Draw(X, Y, &back);
}

void TkjPaintCanvas::DrawTextAligned(const String& Text, TRect& Rect, TkjTextFlags Flags) {
  TRect size = Rect;
  DrawTextA(Handle(), Text.c_str(), int(Text.size()), AsRECT(size), TextFlagsToDrawTextFormat(Flags) | DT_CALCRECT);
  int width = size.Width();
  int height = size.Height();
  int left = Rect.Left;
  int top = Rect.Top;
  if (Flags & kjtCenterX)
    left = (Rect.Left + Rect.Right - width) / 2;
  else if (Flags & kjtRight)
    left = Rect.Right - width;
  if (Flags & kjtCenterY)
    top = (Rect.Top + Rect.Bottom - height) / 2;
  else if (Flags & kjtBottom)
    top = Rect.Bottom - height;
  Rect = Bounds(left, top, width, height);
}

void TkjPaintCanvas::DrawTextWithFlags(const String& Text, const TRect& Rect, bool Enabled, TkjTextFlags Flags) {
  if (Text.empty()) return;
  HDC dc = Handle();
  TSize extent = TextExtent(Text);
  if (extent.cx < Rect.Width() && extent.cy < Rect.Height()) Flags |= kjtDontClip;
  int disabledShift = Enabled ? 0 : 1;
  TBrushStyle brushStyle = Brush()->Style();
  TColor fontColor = Font()->Color();
  auto output = [&](int Shift) {
    TRect r = Rect;
    bool viaDrawText = !(Flags & kjtSingleLine) || (Flags & (kjtShowPrefix | kjtShowEndEllipsis | kjtShowPathEllipsis));
    if (viaDrawText) {
      if (!(Flags & kjtSingleLine) && (Flags & (kjtBottom | kjtCenterY))) {
        TRect measured(r.Left, r.Top, r.Right - disabledShift, r.Bottom);
        DrawTextAligned(Text, measured, Flags & ~(kjtBottom | kjtCenterY));
        int height = measured.Height();
        if (Flags & kjtBottom)
          r.Top = r.Bottom - height - disabledShift;
        else
          r.Top = (r.Top + r.Bottom - height) / 2;
      }
      r = TRect(r.Left + Shift, r.Top + Shift, r.Right + Shift, r.Bottom + Shift);
      DrawTextA(dc, Text.c_str(), int(Text.size()), AsRECT(r), TextFlagsToDrawTextFormat(Flags));
      return;
    }
    int x = Rect.Left;
    int y = Rect.Top;
    if (extent.cx < Rect.Width()) {
      if (Flags & kjtRight)
        x = Rect.Right - extent.cx - disabledShift;
      else if (Flags & kjtCenterX)
        x = (Rect.Left + Rect.Right - extent.cx) / 2;
    }
    if (extent.cy < Rect.Height()) {
      if (Flags & kjtBottom)
        y = Rect.Bottom - extent.cy - disabledShift;
      else if (Flags & kjtCenterY)
        y = (Rect.Top + Rect.Bottom - extent.cy) / 2;
    }
    UINT options = (Flags & kjtDontClip) ? 0 : ETO_CLIPPED;
    ExtTextOutA(dc, x + Shift, y + Shift, options, AsRECT(Rect), Text.c_str(), UINT(Text.size()), nullptr);
  };
  if (Enabled) {
    output(0);
  } else {
    // Embossed: the highlight copy one pixel right and down, the shadow text in place.
    Brush()->SetStyle(bsClear);
    Font()->SetColor(clBtnHighlight);
    dc = Handle();
    output(1);
    Font()->SetColor(clBtnShadow);
    dc = Handle();
    output(0);
  }
  Brush()->SetStyle(brushStyle);
  Font()->SetColor(fontColor);
}

namespace {
// The mix of the system colours that SystemLightColor makes, mapped to the screen.
COLORREF LightColor(int Face, int Highlight, int Window) {
  return NearestScreenColor(TColor(SystemLightColor(Face, Highlight, Window)));
}
}  // namespace

COLORREF HotLightColor() { return LightColor(-2, 30, 72); }
COLORREF PressedLightColor() { return LightColor(14, 44, 40); }
