// This file implements TqvSpeedButton, the window-less button of the data-aware library that the
// navigator's buttons are made of: an image-list glyph (one image per state when it has several)
// and an optional caption, flat or raised, themed or classic, opaque or transparent; and
// TqvDisabledTextColors, the colours of its embossed caption when disabled.
#pragma once

#include "Controls.h"
#include "ImageList.h"

class TqvSpeedButton;

class TqvDisabledTextColors : public TPersistent {
  VELBOR_DECLARE_CLASS(TqvDisabledTextColors, TPersistent)
 public:
  explicit TqvDisabledTextColors(TqvSpeedButton* AOwner = nullptr) : FOwner(AOwner) {}
  // The caption at its place.
  TColor ShadeColor() const { return FShadeColor; }
  void SetShadeColor(TColor Value);
  // The caption one pixel right and down, under the shade.
  TColor HighlightColor() const { return FHighlightColor; }
  void SetHighlightColor(TColor Value);
  void Assign(TPersistent* Source) override;
  TPersistent* GetOwner() override;

 private:
  void Changed();
  TqvSpeedButton* FOwner;
  TColor FShadeColor = clGray;
  TColor FHighlightColor = clBtnHighlight;
};

class TqvSpeedButton : public TGraphicControl {
  VELBOR_DECLARE_CLASS(TqvSpeedButton, TGraphicControl)
 public:
  explicit TqvSpeedButton(TComponent* AOwner);
  ~TqvSpeedButton() override;

  // Properties. Each setter repaints, and does nothing when the value is unchanged.
  // Not opaque: the parent shows around the face.
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  // An edge only while the mouse is over the enabled button (and in design mode).
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  // The first image of the button in ImageList; -1: no glyph.
  int ImageIndex() const { return GetImageIndex(); }
  // Not owned; forgotten when it goes.
  TCustomImageList* ImageList() const { return FImageList; }
  void SetImageList(TCustomImageList* Value);
  // -1 centres glyph and caption; another value places them that far from the top-left corner.
  int Margin() const { return FMargin; }
  void SetMargin(int Value);
  // Images per button from ImageIndex on: up, disabled, pressed, hot.
  int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int Value);
  bool ShowText() const { return FShowText; }
  void SetShowText(bool Value);
  // Pixels between glyph and caption.
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  TqvDisabledTextColors* DisabledTextColors() const { return FDisabledTextColors; }
  void SetDisabledTextColors(TqvDisabledTextColors* Value) { FDisabledTextColors->Assign(Value); }
  bool MouseInside() const { return FMouseInside; }
  // The action; an action of a list whose images are ImageList gives its image too.
  void SetAction(TComponent* Value);

  // The image painted now: ImageIndex, moved to its state's image when NumGlyphs has one; -1
  // when no glyph shows.
  int PaintImageIndex() const;
  // The left button went down on the button and the mouse is still over it.
  bool Pressed() const;

  virtual int GetImageIndex() const { return FImageIndex; }
  virtual void SetImageIndex(int Value);

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  virtual void ActionChange();
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);

  bool FMouseInside = false;

 private:
  void PaintFrame(TRect& R, bool ThemedParent, bool& ThemedDrawn, int& PressOffset);

  bool FTransparent = false;
  bool FFlat = false;
  int FImageIndex = -1;
  TCustomImageList* FImageList = nullptr;
  int FMargin = -1;
  int FNumGlyphs = 1;
  bool FShowText = false;
  int FSpacing = 4;
  TqvDisabledTextColors* FDisabledTextColors;
};
