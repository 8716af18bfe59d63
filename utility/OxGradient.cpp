// This file implements TOxGradient.
#include "OxGradient.h"

#include <algorithm>
#include <cmath>

VELBOR_IMPLEMENT_CLASS(TOxGradient)
VELBOR_PUBLISHED(TOxGradient,
  Prop("Style", &Self::Style, &Self::SetStyle).Default(grHorizontal),
  Prop("StartColor", &Self::StartColor, &Self::SetStartColor).Idents(ColorIdents).Default(clBlue),
  Prop("EndColor", &Self::EndColor, &Self::SetEndColor).Idents(ColorIdents).Default(clBlack),
  Prop("Steps", &Self::Steps, &Self::SetSteps).Default(100),
  Prop("Align", &Self::Align, &Self::SetAlign).Default(alClient),
  Prop("Enabled", &Self::Enabled, &Self::SetEnabled).Default(true),
  Prop("PopupMenu", &Self::PopupMenu, &Self::SetPopupMenu),
  Prop("ShowHint", &Self::ShowHint, &Self::SetShowHint).Default(false),
  Prop("ParentShowHint", &Self::ParentShowHint, &Self::SetParentShowHint).Default(true),
  Prop("Visible", &Self::Visible, &Self::SetVisible).Default(true))

void RegisterOxGradient() { RegisterClass(TOxGradient::StaticClass()); }

namespace {

// Rounding of the drawing: to the nearest integer, ties to even.
int RoundEven(double Value) { return int(std::lrint(Value)); }

// The colour of band I of N from S to E: each channel S + I x (E - S) / N, rounded.
TColor BandColor(COLORREF S, COLORREF E, int I, int N) {
  auto channel = [&](int s, int e) { return std::clamp(RoundEven(s + I * (double(e - s) / N)), 0, 255); };
  return RGBToColor(channel(GetRValue(S), GetRValue(E)), channel(GetGValue(S), GetGValue(E)),
                    channel(GetBValue(S), GetBValue(E)));
}

}  // namespace

TOxGradient::TOxGradient(TComponent* AOwner) : TOxGraphicControl(AOwner) {
  ControlStyle.Include(csOpaque);
  FBuffer = new TBitmap();
  SetAlign(alClient);
}

TOxGradient::~TOxGradient() { delete FBuffer; }

void TOxGradient::Changed() {
  FDrawnWidth = -1;
  FDrawnHeight = -1;
  Invalidate();
}

void TOxGradient::SetStyle(TOxGradStyle Value) {
  FStyle = Value;
  Changed();
}

void TOxGradient::SetStartColor(TColor Value) {
  FStartColor = Value;
  Changed();
}

void TOxGradient::SetEndColor(TColor Value) {
  FEndColor = Value;
  Changed();
}

void TOxGradient::SetSteps(WORD Value) {
  FSteps = Value;
  Changed();
}

void TOxGradient::Render(int Width, int Height) {
  FBuffer->SetSize(Width, Height);
  TCanvas* canvas = FBuffer->Canvas();
  COLORREF s = ColorToRGB(FStartColor);
  COLORREF e = ColorToRGB(FEndColor);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Pen()->SetStyle(psSolid);
  auto useColor = [&](TColor Color) {
    canvas->Brush()->SetColor(Color);
    canvas->Pen()->SetColor(Color);
  };
  useColor(TColor(s));
  canvas->FillRect(Rect(0, 0, Width, Height));
  int n = FSteps;
  switch (FStyle) {
    case grFilled: break;
    case grHorizontal:
    case grVertical: {
      bool horizontal = FStyle == grHorizontal;
      int length = horizontal ? Width : Height;
      n = std::max(1, std::min(n, length));
      double step = double(length) / n;
      // n + 1 bands: the last, in the end colour, lies past the area.
      for (int i = 0; i <= n; ++i) {
        useColor(BandColor(s, e, i, n));
        int from = RoundEven(i * step), to = RoundEven((i + 1) * step);
        canvas->FillRect(horizontal ? Rect(from, 0, to, Height) : Rect(0, from, Width, to));
      }
      break;
    }
    case grEllipse:
    case grPyramid:
    case grMount: {
      n = std::max(1, std::min({n, Width / 2, Height / 2}));
      double xs = double(Width) / n / 2, ys = double(Height) / n / 2;
      for (int i = 0; i <= n; ++i) {
        useColor(BandColor(s, e, i, n));
        int l = RoundEven(i * xs), t = RoundEven(i * ys);
        int r = Width - l, b = Height - t;
        if (FStyle == grEllipse) canvas->Ellipse(l, t, r, b);
        else if (FStyle == grPyramid) canvas->Rectangle(l, t, r, b);
        else canvas->RoundRect(l, t, r, b, (r - l) / 2, (b - t) / 2);
      }
      break;
    }
  }
}

void TOxGradient::Paint() {
  if (ComponentState().Contains(csDestroying)) return;
  int width = Width(), height = Height();
  if (width != FDrawnWidth || height != FDrawnHeight) {
    FDrawnWidth = width;
    FDrawnHeight = height;
    if (width <= 0 || height <= 0) return;
    Render(width, height);
  }
  if (width <= 0 || height <= 0) return;
  Canvas()->Draw(0, 0, FBuffer);
}
