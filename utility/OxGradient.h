// This file implements TOxGradient, a window-less control that fills its area with a colour
// gradient in bands, in one of six shapes, rendered into an off-screen bitmap.
#pragma once

#include "Component.h"
#include "OxBase.h"

enum TOxGradStyle { grFilled, grEllipse, grHorizontal, grVertical, grPyramid, grMount };
VELBOR_ENUM(TOxGradStyle, "grFilled", "grEllipse", "grHorizontal", "grVertical", "grPyramid", "grMount")

class TOxGradient : public TOxGraphicControl {
  VELBOR_DECLARE_CLASS(TOxGradient, TOxGraphicControl)
 public:
  explicit TOxGradient(TComponent* AOwner);
  ~TOxGradient() override;

  // Properties. Every setter renders again, even to the value already held.
  TOxGradStyle Style() const { return FStyle; }
  void SetStyle(TOxGradStyle Value);
  TColor StartColor() const { return FStartColor; }
  void SetStartColor(TColor Value);
  TColor EndColor() const { return FEndColor; }
  void SetEndColor(TColor Value);
  // The number of bands (0 counts as 1).
  WORD Steps() const { return FSteps; }
  void SetSteps(WORD Value);

  // The off-screen picture, copied to the screen by Paint.
  TBitmap* Buffer() const { return FBuffer; }
  int DrawnWidth() const { return FDrawnWidth; }
  int DrawnHeight() const { return FDrawnHeight; }

 protected:
  void Paint() override;

 private:
  void Changed();
  void Render(int Width, int Height);

  TOxGradStyle FStyle = grHorizontal;
  TColor FStartColor = clBlue;
  TColor FEndColor = clBlack;
  WORD FSteps = 100;
  TBitmap* FBuffer;  // owned
  int FDrawnWidth = -1;
  int FDrawnHeight = -1;
};

// Makes the gradient known to the form reader.
void RegisterOxGradient();
