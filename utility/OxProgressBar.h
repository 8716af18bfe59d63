// This file implements TOxSpecialProgress, a window-less progress bar drawn into an off-screen
// bitmap: one solid bar or a row of blocks, in one colour or a gradient, with an optional text.
#pragma once

#include "Component.h"
#include "OxBase.h"

enum TOxTextOption { toCaption, toFormat, toNoText, toPercent };
VELBOR_ENUM(TOxTextOption, "toCaption", "toFormat", "toNoText", "toPercent")

class TOxSpecialProgress : public TOxGraphicControl {
  VELBOR_DECLARE_CLASS(TOxSpecialProgress, TOxGraphicControl)
 public:
  explicit TOxSpecialProgress(TComponent* AOwner);
  ~TOxSpecialProgress() override;

  // Properties.
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  TColor EndColor() const { return FEndColor; }
  void SetEndColor(TColor Value);
  // The application's hint colour while the mouse is over the bar.
  TColor HintColor() const { return FHintColor; }
  void SetHintColor(TColor Value) { FHintColor = Value; }
  // Each block carries its own part of the gradient, column by column.
  bool GradientBlocks() const { return FGradientBlocks; }
  void SetGradientBlocks(bool Value);
  // Position always stays within Minimum..Maximum, and Minimum never exceeds Maximum.
  int Maximum() const { return FMaximum; }
  void SetMaximum(int Value);
  int Minimum() const { return FMinimum; }
  void SetMinimum(int Value);
  int Position() const { return FPosition; }
  void SetPosition(int Value);
  bool Solid() const { return FSolid; }
  void SetSolid(bool Value);
  TColor StartColor() const { return FStartColor; }
  void SetStartColor(TColor Value);
  // Kept for the callers that set it; the bar itself never reads it.
  int Step() const { return FStep; }
  void SetStep(int Value) { FStep = Value; }
  // The text centred on the whole bar instead of on the filled part.
  bool TextCentered() const { return FTextCentered; }
  void SetTextCentered(bool Value);
  TOxTextOption TextOption() const { return FTextOption; }
  void SetTextOption(TOxTextOption Value);
  TNotifyEvent OnParentColorChange;

  // What the bar shows now.
  // (Position - Minimum) x 100 div (Maximum - Minimum); 0 for an empty range.
  int Percent() const;
  // The text drawn over the bar (empty for toNoText).
  String DisplayText() const;
  int FilledWidth() const { return FFilledWidth; }
  int BlockCount() const { return FBlockCount; }
  int BlockWidth() const { return FBlockWidth; }
  bool HasPartialBlock() const { return FHasPartialBlock; }
  int PartialWidth() const { return FPartialWidth; }
  // The off-screen picture of the bar, copied to the screen by Paint.
  TBitmap* Buffer() const { return FBuffer; }

 protected:
  void Paint() override;
  void Loaded() override;
  virtual void DoParentColorChange();
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CMColorChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMTextChanged(TMessage& Message);
  void CMParentColorChanged(TMessage& Message);
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);

 private:
  // Position, Maximum or Minimum changed: the buffer is redrawn when the width of the filled part
  // or a shown percentage changed.
  void RangeChanged(int OldPercent);
  void CalcFilledWidth();
  void Render();
  void DrawSolid(TCanvas* Canvas, int Height);
  void DrawBlocks(TCanvas* Canvas, int Height);
  void DrawCaption(TCanvas* Canvas, int Width, int Height);
  void DrawBorder(TCanvas* Canvas, int Width, int Height);
  bool Loading() const { return ComponentState().Contains(csLoading); }

  TBorderStyle FBorderStyle = bsNone;
  TColor FEndColor = clBlack;
  TColor FHintColor = clInfoBk;
  bool FGradientBlocks = false;
  int FMaximum = 100;
  int FMinimum = 0;
  int FPosition = 0;
  bool FSolid = false;
  TColor FStartColor = clWhite;
  int FStep = 10;
  bool FTextCentered = false;
  TOxTextOption FTextOption = toNoText;
  TBitmap* FBuffer;  // owned
  TColor FSavedHintColor = clInfoBk;
  int FFilledWidth = 0;
  bool FDirty = true;
  COLORREF FStartRGB;
  COLORREF FEndRGB;
  int FBlockCount = 0;
  int FBlockWidth = 0;
  bool FHasPartialBlock = false;
  int FPartialWidth = 0;
  bool FPainting = false;  // a render started by Paint does not ask for another paint
};

// Makes the bar known to the form reader.
void RegisterOxSpecialProgress();
