// This file implements TOxSpecialProgress, a window-less progress bar drawn into an off-screen
// bitmap: one solid bar or a row of blocks, in one colour or a gradient, with an optional text.
#include "OxProgressBar.h"

#include <algorithm>
#include <cmath>

#include "ExtCtrls.h"
#include "Format.h"
#include "Forms.h"
#include "ScopeGuard.h"

VELBOR_IMPLEMENT_CLASS(TOxSpecialProgress)
VELBOR_PUBLISHED(TOxSpecialProgress,
  Prop("BorderStyle", &Self::BorderStyle, &Self::SetBorderStyle).Default(bsNone),
  Prop("EndColor", &Self::EndColor, &Self::SetEndColor).Idents(ColorIdents).Default(clBlack),
  Prop("HintColor", &Self::HintColor, &Self::SetHintColor).Idents(ColorIdents).Default(clInfoBk),
  Prop("GradientBlocks", &Self::GradientBlocks, &Self::SetGradientBlocks).Default(false),
  Prop("Maximum", &Self::Maximum, &Self::SetMaximum).Default(100),
  Prop("Minimum", &Self::Minimum, &Self::SetMinimum).Default(0),
  Prop("Position", &Self::Position, &Self::SetPosition).Default(0),
  Prop("Solid", &Self::Solid, &Self::SetSolid).Default(false),
  Prop("StartColor", &Self::StartColor, &Self::SetStartColor).Idents(ColorIdents).Default(clWhite),
  Prop("Step", &Self::Step, &Self::SetStep).Default(10),
  Prop("TextCentered", &Self::TextCentered, &Self::SetTextCentered).Default(false),
  Prop("TextOption", &Self::TextOption, &Self::SetTextOption).Default(toNoText),
  Prop("OnParentColorChange", &Self::OnParentColorChange))

void RegisterOxSpecialProgress() { RegisterClass(TOxSpecialProgress::StaticClass()); }

namespace {

// A colour as three channels, advanced by real steps and rounded (to even on ties) when drawn.
struct TChannels {
  double R, G, B;
  explicit TChannels(COLORREF C) : R(GetRValue(C)), G(GetGValue(C)), B(GetBValue(C)) {}
  TChannels(double AR, double AG, double AB) : R(AR), G(AG), B(AB) {}
  TColor ToColor() const {
    auto channel = [](double v) { return int(std::clamp(std::lrint(v), 0L, 255L)); };
    return RGBToColor(channel(R), channel(G), channel(B));
  }
  TChannels Plus(const TChannels& D, double Times) const { return {R + D.R * Times, G + D.G * Times, B + D.B * Times}; }
};

// The change per pixel from Start to End over Width pixels.
TChannels GradientDelta(COLORREF Start, COLORREF End, int Width) {
  TChannels s(Start), e(End);
  return {(e.R - s.R) / Width, (e.G - s.G) / Width, (e.B - s.B) / Width};
}

void FillArea(TCanvas* Canvas, TColor Color, int Left, int Top, int Right, int Bottom) {
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(Color);
  Canvas->FillRect(Rect(Left, Top, Right, Bottom));
}

}  // namespace

TOxSpecialProgress::TOxSpecialProgress(TComponent* AOwner) : TOxGraphicControl(AOwner) {
  ControlStyle.Include(csOpaque);
  FBuffer = new TBitmap();
  FStartRGB = ColorToRGB(FStartColor);
  FEndRGB = ColorToRGB(FEndColor);
  SetBounds(0, 0, 150, 15);
}

TOxSpecialProgress::~TOxSpecialProgress() { delete FBuffer; }

// --- Range ------------------------------------------------------------------------------------

int TOxSpecialProgress::Percent() const {
  if (FMaximum == FMinimum) return 0;
  // In 64 bits: the range of two 32-bit bounds times 100 does not fit in 32.
  return int((static_cast<long long>(FPosition) - FMinimum) * 100 / (static_cast<long long>(FMaximum) - FMinimum));
}

void TOxSpecialProgress::SetPosition(int Value) {
  if (Value == FPosition) return;
  int oldPercent = Percent();
  FPosition = std::clamp(Value, FMinimum, FMaximum);
  RangeChanged(oldPercent);
}

void TOxSpecialProgress::SetMaximum(int Value) {
  if (Value == FMaximum) return;
  int oldPercent = Percent();
  FMaximum = std::max(Value, FMinimum);
  // The position follows the bound it may now exceed (never below Minimum).
  if (FPosition > FMaximum) FPosition = FMaximum;
  RangeChanged(oldPercent);
}

void TOxSpecialProgress::SetMinimum(int Value) {
  if (Value == FMinimum) return;
  int oldPercent = Percent();
  FMinimum = std::min(Value, FMaximum);
  if (FPosition < FMinimum) FPosition = FMinimum;
  RangeChanged(oldPercent);
}

void TOxSpecialProgress::RangeChanged(int OldPercent) {
  // A pending redraw (one asked while loading) is kept.
  if ((FTextOption == toFormat || FTextOption == toPercent) && Percent() != OldPercent) FDirty = true;
  CalcFilledWidth();
  Render();
}

// --- Appearance -------------------------------------------------------------------------------

void TOxSpecialProgress::SetTextOption(TOxTextOption Value) {
  if (Value == FTextOption) return;
  FTextOption = Value;
  FDirty = true;
  Render();
}

void TOxSpecialProgress::SetStartColor(TColor Value) {
  if (Value == FStartColor) return;
  FStartColor = Value;
  FStartRGB = ColorToRGB(Value);
  FDirty = true;
  Render();
}

void TOxSpecialProgress::SetEndColor(TColor Value) {
  if (Value == FEndColor) return;
  FEndColor = Value;
  FEndRGB = ColorToRGB(Value);
  FDirty = true;
  Render();
}

void TOxSpecialProgress::SetBorderStyle(TBorderStyle Value) {
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  FDirty = true;
  Render();
}

void TOxSpecialProgress::SetGradientBlocks(bool Value) {
  if (Value == FGradientBlocks) return;
  FGradientBlocks = Value;
  if (FSolid) return;  // a solid bar has no blocks
  FDirty = true;
  Render();
}

void TOxSpecialProgress::SetSolid(bool Value) {
  if (Value == FSolid) return;
  FSolid = Value;
  FDirty = true;
  CalcFilledWidth();
  Render();
}

void TOxSpecialProgress::SetTextCentered(bool Value) {
  if (Value == FTextCentered) return;
  FTextCentered = Value;
  if (FTextOption == toNoText) return;
  FDirty = true;
  Render();
}

String TOxSpecialProgress::DisplayText() const {
  switch (FTextOption) {
    case toCaption: return Caption();
    case toFormat:
      // A caption that is no valid format is shown as it stands rather than failing every paint.
      try {
        return Format(Caption(), {Percent()});
      } catch (const EConvertError&) {
        return Caption();
      }
    case toPercent: return Format("%d%%", {Percent()});
    case toNoText: break;
  }
  return String();
}

// --- Layout and drawing -----------------------------------------------------------------------

void TOxSpecialProgress::CalcFilledWidth() {
  int width = ClientWidth();
  if (Loading() || FMaximum == FMinimum || width < 2) return;
  int inner = width - 2;
  int w = int(static_cast<long long>(inner) * (static_cast<long long>(FPosition) - FMinimum) /
              (static_cast<long long>(FMaximum) - FMinimum));
  if (!FSolid) {
    FBlockWidth = ClientHeight() * 2 / 3;
    if (FBlockWidth == 0) {
      w = 0;
    } else {
      FBlockCount = w / FBlockWidth;
      int lastWidth = std::min(inner - FBlockWidth * FBlockCount, FBlockWidth);
      // A further block shows once more than half of it would be filled.
      if (lastWidth < 2 * (w % FBlockWidth)) {
        ++FBlockCount;
        FPartialWidth = lastWidth;
        FHasPartialBlock = lastWidth < FBlockWidth;
        w = FHasPartialBlock ? inner : FBlockWidth * FBlockCount;
      } else {
        FHasPartialBlock = false;
        w = FBlockWidth * FBlockCount;
      }
    }
  }
  if (w == FFilledWidth) return;
  FFilledWidth = w;
  FDirty = true;
  Render();
}

void TOxSpecialProgress::Render() {
  if (!FDirty || Loading()) return;
  FDirty = false;
  int width = ClientWidth();
  int height = ClientHeight();
  if (width <= 0 || height <= 0) return;
  FBuffer->SetSize(width, height);
  TCanvas* canvas = FBuffer->Canvas();
  if (FSolid) DrawSolid(canvas, height);
  else DrawBlocks(canvas, height);
  if (FFilledWidth < width - 2) FillArea(canvas, Color(), FFilledWidth + 1, 1, width - 1, height - 1);
  DrawCaption(canvas, width, height);
  DrawBorder(canvas, width, height);
  if (!FPainting) Repaint();
}

void TOxSpecialProgress::DrawSolid(TCanvas* Canvas, int Height) {
  if (FFilledWidth == 0) return;
  if (FStartRGB == FEndRGB) {
    FillArea(Canvas, TColor(FStartRGB), 1, 1, FFilledWidth + 1, Height - 1);
    return;
  }
  TChannels start(FStartRGB);
  TChannels delta = GradientDelta(FStartRGB, FEndRGB, FFilledWidth);
  for (int i = 0; i < FFilledWidth; ++i) FillArea(Canvas, start.Plus(delta, i).ToColor(), 1 + i, 1, 2 + i, Height - 1);
}

void TOxSpecialProgress::DrawBlocks(TCanvas* Canvas, int Height) {
  if (FFilledWidth == 0 || FBlockWidth == 0) return;
  int fullBlocks = FHasPartialBlock ? FBlockCount - 1 : FBlockCount;
  int partialLeft = 1 + fullBlocks * FBlockWidth;
  if (FStartRGB == FEndRGB) {
    TColor color = TColor(FStartRGB);
    for (int i = 0; i < fullBlocks; ++i) {
      int x = 1 + i * FBlockWidth;
      FillArea(Canvas, color, x, 1, x + FBlockWidth - 1, Height - 1);
    }
    if (FHasPartialBlock) FillArea(Canvas, color, partialLeft, 1, partialLeft + FPartialWidth, Height - 1);
  } else {
    TChannels running(FStartRGB);
    TChannels delta = GradientDelta(FStartRGB, FEndRGB, FFilledWidth);
    if (FGradientBlocks) {
      for (int i = 0; i < fullBlocks; ++i) {
        int x = 1 + i * FBlockWidth;
        for (int c = 0; c < FBlockWidth - 1; ++c) {
          FillArea(Canvas, running.ToColor(), x + c, 1, x + c + 1, Height - 1);
          running = running.Plus(delta, 1);
        }
        running = running.Plus(delta, 1);  // the gap's column
      }
      if (FHasPartialBlock) {
        for (int c = 0; c < FPartialWidth; ++c) {
          FillArea(Canvas, running.ToColor(), partialLeft + c, 1, partialLeft + c + 1, Height - 1);
          running = running.Plus(delta, 1);
        }
      }
    } else {
      for (int i = 0; i < fullBlocks; ++i) {
        int x = 1 + i * FBlockWidth;
        FillArea(Canvas, running.ToColor(), x, 1, x + FBlockWidth - 1, Height - 1);
        running = running.Plus(delta, FBlockWidth);
      }
      if (FHasPartialBlock) FillArea(Canvas, running.ToColor(), partialLeft, 1, partialLeft + FPartialWidth, Height - 1);
    }
  }
  for (int i = 1; i <= fullBlocks; ++i) FillArea(Canvas, Color(), i * FBlockWidth, 1, i * FBlockWidth + 1, Height - 1);
}

void TOxSpecialProgress::DrawCaption(TCanvas* Canvas, int Width, int Height) {
  if (FTextOption == toNoText) return;
  String text = DisplayText();
  Canvas->SetFont(Font());
  Canvas->Brush()->SetStyle(bsClear);
  TSize extent = Canvas->TextExtent(text);
  int x = std::max(0, ((FTextCentered ? Width : FFilledWidth) - extent.cx) / 2);
  int y = std::max(0, (Height - extent.cy) / 2);
  HDC dc = Canvas->Handle();
  int oldMode = SetBkMode(dc, TRANSPARENT);
  Canvas->TextOut(x, y, text);
  SetBkMode(dc, oldMode);
  Canvas->Brush()->SetStyle(bsSolid);
}

void TOxSpecialProgress::DrawBorder(TCanvas* Canvas, int Width, int Height) {
  TRect r = Rect(0, 0, Width, Height);
  if (FBorderStyle == bsSingle) {
    Frame3D(Canvas, r, clBtnFace, clBtnFace, 1);
    Frame3D(Canvas, r, clBtnShadow, clBtnHighlight, 1);
    Frame3D(Canvas, r, cl3DDkShadow, clBtnFace, 1);
  } else {
    Frame3D(Canvas, r, Color(), Color(), 1);
  }
}

void TOxSpecialProgress::Paint() {
  int width = ClientWidth();
  int height = ClientHeight();
  FPainting = true;
  {
    TScopeGuard restore([&] { FPainting = false; });
    if (FBuffer->Width() != width || FBuffer->Height() != height) {
      FDirty = true;
      CalcFilledWidth();
      Render();
    }
  }
  if (width < 3 || height < 3) return;
  Canvas()->Draw(0, 0, FBuffer);
}

void TOxSpecialProgress::Loaded() {
  TOxGraphicControl::Loaded();
  CalcFilledWidth();
  Render();
}

void TOxSpecialProgress::DoParentColorChange() {
  if (OnParentColorChange) OnParentColorChange(this);
}

// --- Messages ---------------------------------------------------------------------------------

void TOxSpecialProgress::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_COLORCHANGED: CMColorChanged(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case CM_TEXTCHANGED: CMTextChanged(Message); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(Message); break;
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    default: TOxGraphicControl::Dispatch(Message); break;
  }
}

void TOxSpecialProgress::CMColorChanged(TMessage& Message) {
  TOxGraphicControl::Dispatch(Message);
  FDirty = true;
  Render();
}

void TOxSpecialProgress::CMFontChanged(TMessage& Message) {
  TOxGraphicControl::Dispatch(Message);
  FBuffer->Canvas()->SetFont(Font());
  if (FTextOption == toNoText) return;
  FDirty = true;
  Render();
}

void TOxSpecialProgress::CMTextChanged(TMessage& Message) {
  TOxGraphicControl::Dispatch(Message);
  if (FTextOption != toCaption && FTextOption != toFormat) return;
  FDirty = true;
  Render();
}

void TOxSpecialProgress::CMParentColorChanged(TMessage& Message) {
  TOxGraphicControl::Dispatch(Message);
  DoParentColorChange();
}

void TOxSpecialProgress::CMMouseEnter(TMessage& Message) {
  FSavedHintColor = Application->HintColor;
  if (ComponentState().Contains(csDesigning)) return;
  Application->HintColor = FHintColor;
  // The platform's handling fires OnMouseEnter and tells the parent.
  TOxGraphicControl::Dispatch(Message);
}

void TOxSpecialProgress::CMMouseLeave(TMessage& Message) {
  Application->HintColor = FSavedHintColor;
  TOxGraphicControl::Dispatch(Message);
}
