// This file implements Frame3D, TCustomPanel and TPanel (a container with an outer and an inner
// bevel, a border and a caption) and TBevel (a window-less box, frame or line).
#include "ExtCtrls.h"

void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width) {
  Canvas->Pen()->SetWidth(1);
  for (int i = 0; i < Width; ++i) {
    --Rect.Bottom;
    --Rect.Right;
    Canvas->Pen()->SetColor(TopColor);
    Canvas->Polyline({TPoint(Rect.Left, Rect.Bottom), TPoint(Rect.Left, Rect.Top), TPoint(Rect.Right, Rect.Top)});
    Canvas->Pen()->SetColor(BottomColor);
    Canvas->Polyline({TPoint(Rect.Right, Rect.Top), TPoint(Rect.Right, Rect.Bottom), TPoint(Rect.Left - 1, Rect.Bottom)});
    ++Rect.Left;
    ++Rect.Top;
  }
}

VELBOR_IMPLEMENT_CLASS(TCustomPanel)
VELBOR_PUBLISHED(TCustomPanel,
  Prop("Alignment", &Self::Alignment, &Self::SetAlignment).Default(taCenter),
  Prop("BevelInner", &Self::BevelInner, &Self::SetBevelInner).Default(bvNone),
  Prop("BevelOuter", &Self::BevelOuter, &Self::SetBevelOuter).Default(bvRaised),
  Prop("BevelWidth", &Self::BevelWidth, &Self::SetBevelWidth).Default(1),
  Prop("BorderStyle", &Self::BorderStyle, &Self::SetBorderStyle).Default(bsNone),
  Prop("FullRepaint", &Self::FullRepaint).Default(true))

VELBOR_IMPLEMENT_CLASS(TPanel)

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks,
                  csReplicatable};
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
}

void TCustomPanel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut Value) {
  if (FBevelInner == Value) return;
  FBevelInner = Value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelOuter(TBevelCut Value) {
  if (FBevelOuter == Value) return;
  FBevelOuter = Value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelWidth(int Value) {
  if (FBevelWidth == Value || Value < 1) return;
  FBevelWidth = Value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomPanel::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
  // A full repaint on resizing, or only the uncovered part.
  if (!FullRepaint) Params.WindowClass.style &= ~UINT(CS_HREDRAW | CS_VREDRAW);
}

void TCustomPanel::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  // Children stay inside the bevels.
  int inset = 0;  // the border width is the base's
  if (FBevelOuter != bvNone) inset += FBevelWidth;
  if (FBevelInner != bvNone) inset += FBevelWidth;
  Rect = ::Rect(Rect.Left + inset, Rect.Top + inset, Rect.Right - inset, Rect.Bottom - inset);
}

namespace {
void BevelColors(TBevelCut Cut, TColor& Top, TColor& Bottom) {
  Top = Cut == bvLowered ? clBtnShadow : clBtnHighlight;
  Bottom = Cut == bvLowered ? clBtnHighlight : clBtnShadow;
}
}  // namespace

void TCustomPanel::Paint() {
  TCanvas* canvas = Canvas();
  TRect r = ClientRect();
  TColor top, bottom;
  if (FBevelOuter != bvNone) {
    BevelColors(FBevelOuter, top, bottom);
    Frame3D(canvas, r, top, bottom, FBevelWidth);
  }
  Frame3D(canvas, r, Color(), Color(), BorderWidth());
  if (FBevelInner != bvNone) {
    BevelColors(FBevelInner, top, bottom);
    Frame3D(canvas, r, top, bottom, FBevelWidth);
  }
  canvas->Brush()->SetColor(Color());
  canvas->Brush()->SetStyle(bsSolid);
  canvas->FillRect(r);
  String text = Caption();
  if (text.empty()) return;
  canvas->SetFont(Font());
  canvas->Brush()->SetStyle(bsClear);
  canvas->TextExtent(" ");  // selects the font into the context
  HDC dc = canvas->Handle();
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(Font()->Color()));
  RECT tr = r;
  UINT flags = DT_EXPANDTABS | DT_VCENTER | DT_SINGLELINE;
  flags |= FAlignment == taLeftJustify ? DT_LEFT : FAlignment == taRightJustify ? DT_RIGHT : DT_CENTER;
  DrawTextA(dc, text.c_str(), int(text.size()), &tr, flags);
}

void TCustomPanel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED: CMTextChanged(Message); break;
    default: TCustomControl::Dispatch(Message); break;
  }
}

void TCustomPanel::CMTextChanged(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  Invalidate();
}

// --- TBevel -----------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TBevel)
VELBOR_PUBLISHED(TBevel,
  Prop("Shape", &Self::Shape, &Self::SetShape).Default(bsBox),
  Prop("Style", &Self::Style, &Self::SetStyle).Default(bsLowered))

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle.Include(csReplicatable);
  SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape Value) {
  if (FShape == Value) return;
  FShape = Value;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas* canvas = Canvas();
  TColor light = clBtnHighlight;
  TColor dark = clBtnShadow;
  TColor first = FStyle == bsLowered ? dark : light;
  TColor second = FStyle == bsLowered ? light : dark;
  TRect r = ClientRect();
  auto line = [&](TColor c, int x1, int y1, int x2, int y2) {
    canvas->Pen()->SetColor(c);
    canvas->MoveTo(x1, y1);
    canvas->LineTo(x2, y2);
  };
  canvas->Pen()->SetWidth(1);
  switch (FShape) {
    case bsBox:
      Frame3D(canvas, r, first, second, 1);
      break;
    case bsFrame: {
      // Two nested frames, offset by one pixel: an etched (or raised) line.
      TRect outer = r;
      --outer.Right;
      --outer.Bottom;
      Frame3D(canvas, outer, first, first, 1);
      TRect inner = Rect(r.Left + 1, r.Top + 1, r.Right, r.Bottom);
      Frame3D(canvas, inner, second, second, 1);
      break;
    }
    case bsTopLine:
      line(first, 0, 0, r.Right, 0);
      line(second, 0, 1, r.Right, 1);
      break;
    case bsBottomLine:
      line(first, 0, r.Bottom - 2, r.Right, r.Bottom - 2);
      line(second, 0, r.Bottom - 1, r.Right, r.Bottom - 1);
      break;
    case bsLeftLine:
      line(first, 0, 0, 0, r.Bottom);
      line(second, 1, 0, 1, r.Bottom);
      break;
    case bsRightLine:
      line(first, r.Right - 2, 0, r.Right - 2, r.Bottom);
      line(second, r.Right - 1, 0, r.Right - 1, r.Bottom);
      break;
    case bsSpacer:
      break;
  }
}
