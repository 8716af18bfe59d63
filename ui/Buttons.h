// This file implements the bitmap buttons of the class library: TBitBtn (a push button that
// draws a glyph beside its caption, with the standard kinds OK, Annuler, Oui, Non...) and
// TSpeedButton (a window-less button that can stay down, alone or in a group), and the layout of
// a glyph and a caption they share.
// Implemented in BitBtn.cpp (the glyph-and-caption layout, the standard glyphs, TBitBtn) and
// SpeedButton.cpp (TSpeedButton).
#pragma once

#include <algorithm>

#include "StdCtrls.h"

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
VELBOR_ENUM(TButtonLayout, "blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom")

enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
VELBOR_ENUM(TButtonState, "bsUp", "bsDisabled", "bsDown", "bsExclusive")

enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
VELBOR_ENUM(TBitBtnKind, "bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose", "bkAbort", "bkRetry",
            "bkIgnore", "bkAll")

using TNumGlyphs = int;  // 1 to 4 images side by side: up, disabled, clicked, down

// Where a glyph of GlyphSize and a caption of TextSize go inside Client: with Margin -1 the pair
// is centred, otherwise it starts Margin pixels from the edge the layout names; Spacing -1 centres
// the caption in the room left by the glyph.
void CalcButtonLayout(const TRect& Client, TPoint GlyphSize, TPoint TextSize, TButtonLayout Layout, int Margin,
                      int Spacing, TPoint& GlyphPos, TRect& TextBounds);

// The glyph of a standard kind, drawn in code (18x18, two images: up and disabled).
void DrawKindGlyph(TBitBtnKind Kind, TBitmap* Glyph);
// The caption and modal result of a standard kind.
String BitBtnKindCaption(TBitBtnKind Kind);
TModalResult BitBtnKindModalResult(TBitBtnKind Kind);

// Draws a glyph image (one of NumGlyphs side by side) and a caption at their layout place; the
// glyph's bottom-left pixel colour is transparent.
void DrawButtonFace(TCanvas* Canvas, const TRect& Client, TBitmap* Glyph, int NumGlyphs, TButtonState State,
                    const String& Caption, TButtonLayout Layout, int Margin, int Spacing, bool Enabled);

class TBitBtn : public TButton {
  VELBOR_DECLARE_CLASS(TBitBtn, TButton)
 public:
  explicit TBitBtn(TComponent* AOwner);
  ~TBitBtn() override;

  // Properties.
  // The glyph painted: the one set, else the kind's own.
  TBitmap* Glyph() const { return FGlyph; }
  void SetGlyph(TBitmap* Value);
  TBitBtnKind Kind() const { return FKind; }
  // Sets the kind's caption, modal result, default or cancel role and glyph.
  void SetKind(TBitBtnKind Value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  int Margin() const { return FMargin; }
  void SetMargin(int Value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  TNumGlyphs NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TNumGlyphs Value);
  // The glyph a paint uses now (the kind's when none was set).
  TBitmap* PaintGlyph() const;

  void Click() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void SetButtonStyle(bool ADefault) override;
  void Dispatch(TMessage& Message) override;
  // protected messages
  void CNDrawItem(TMessage& Message);

 private:
  void GlyphChanged(TObject* Sender);
  TBitmap* FGlyph;
  TBitmap* FKindGlyph;
  TBitBtnKind FKind = bkCustom;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1;
  int FSpacing = 4;
  TNumGlyphs FNumGlyphs = 1;
};

class TSpeedButton : public TGraphicControl {
  VELBOR_DECLARE_CLASS(TSpeedButton, TGraphicControl)
 public:
  explicit TSpeedButton(TComponent* AOwner);
  ~TSpeedButton() override;

  // Properties.
  // Buttons of one parent with the same non-zero GroupIndex: pressing one releases the others.
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  // Whether the button stays down (only with a GroupIndex).
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  // Whether the down button of a group may be released, leaving none down.
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  TBitmap* Glyph() const { return FGlyph; }
  void SetGlyph(TBitmap* Value) { FGlyph->Assign(Value); }
  TNumGlyphs NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TNumGlyphs Value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  int Margin() const { return FMargin; }
  void SetMargin(int Value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  TButtonState State() const { return FState; }
  bool MouseInControl() const { return FMouseInControl; }

  void Click() override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Dispatch(TMessage& Message) override;
  // protected messages
  void CMButtonPressed(TMessage& Message);
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);

 private:
  void UpdateExclusive();
  void GlyphChanged(TObject* Sender);
  TBitmap* FGlyph;
  int FGroupIndex = 0;
  bool FDown = false;
  bool FAllowAllUp = false;
  bool FFlat = false;
  bool FDragging = false;
  bool FMouseInControl = false;
  TButtonState FState = bsUp;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1;
  int FSpacing = 4;
  TNumGlyphs FNumGlyphs = 1;
};
