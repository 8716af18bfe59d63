// This file implements two extended items and what they share: TkwBarStatic, a text (and optional
// glyph) sitting in a bar like a status-bar panel, with a border, indents and an optional fixed
// size; TkwBarLargeButton, a button with a large glyph and a caption placed by a glyph layout;
// their controls; TPlaceForm, the form that hosts a control placed into a bar; and the shortening
// of a file path to a width.
#pragma once

#include "Forms.h"
#include "kwBarButton.h"

VELBOR_ENUM(TkwBarStaticBorderStyle, "sbsNone", "sbsLowered", "sbsRaised", "sbsEtched", "sbsBump")

enum TkwBarGlyphLayout { glLeft, glRight, glTop, glBottom };
VELBOR_ENUM(TkwBarGlyphLayout, "glLeft", "glRight", "glTop", "glBottom")

class TkwBarStatic : public TkwBarItem {
  VELBOR_DECLARE_CLASS(TkwBarStatic, TkwBarItem)
 public:
  explicit TkwBarStatic(TComponent* AOwner) : TkwBarItem(AOwner) {}

  // Properties (sizes and indents below 0 become 0; 0 sizes are automatic).
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool AllowClick() const { return FAllowClick; }
  void SetAllowClick(bool Value) { FAllowClick = Value; }
  TkwBarStaticBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TkwBarStaticBorderStyle Value);
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  int LeftIndent() const { return FLeftIndent; }
  void SetLeftIndent(int Value);
  int RightIndent() const { return FRightIndent; }
  void SetRightIndent(int Value);
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  // The width of the border of a style: none 0, lowered and raised 1, etched and bump 2.
  static int BorderWidthOf(TkwBarStaticBorderStyle Style);
  int BorderWidth() const { return BorderWidthOf(FBorderStyle); }

  bool IsClickable() const override { return FAllowClick; }
  bool AcceptsAccelerator(TkwBarItemLink*) const override { return false; }

 private:
  // A size-relevant change rebuilds the bars, another repaints them (not while loading).
  void Changed(bool SizeChanged);

  TAlignment FAlignment = taCenter;
  bool FAllowClick = false;
  TkwBarStaticBorderStyle FBorderStyle = sbsNone;
  int FHeight = 0;
  int FLeftIndent = 0;
  int FRightIndent = 0;
  bool FShowCaption = true;
  int FWidth = 0;
};

class TkwBarStaticControl : public TkwBarItemControl {
  VELBOR_DECLARE_CLASS(TkwBarStaticControl, TkwBarItemControl)
 public:
  using TOwnerClass = TkwBarItemLink;
  explicit TkwBarStaticControl(TkwBarItemLink* ALink) : TkwBarItemControl(ALink) {}

  TkwBarStatic* Static() const { return dynamic_cast<TkwBarStatic*>(GetItem()); }
  TCustomkwBarControl* Window() const { return ControlWindow(this); }

  bool CanClick() const override;
  // Clickable statics are selectable; the others only while the manager customizes (to be moved).
  bool IsSelectable() const override;
  void CaptionChanged() override;
  void GlyphChanged() override { Changed(); }
  int CalcHeight() override;
  int CalcWidth() override;
  void Draw(const TRect& Rect, int Kind) override;

 private:
  bool ShowsGlyph() const { return HasGlyph(); }

 protected:
  // The size along the reading direction of the bar, and across it.
  int CalcAlong();
  int CalcAcross();
  // The size along the bar that the caption (or the empty glyph cell) takes, whatever the width.
  int NaturalAlong();
};

// A static item that also shows a progress bar after its caption, for status and tool bars.
class TkwBarProgressItem : public TkwBarStatic {
  VELBOR_DECLARE_CLASS(TkwBarProgressItem, TkwBarStatic)
 public:
  explicit TkwBarProgressItem(TComponent* AOwner);

  // Properties.
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  int Max() const { return FMax; }
  // Below Min, Min follows it down.
  void SetMax(int Value);
  int Min() const { return FMin; }
  // Above Max, Max follows it up.
  void SetMin(int Value);
  int Position() const { return FPosition; }
  // Kept within Min .. Max; a change repaints only the bars' progress rectangles.
  void SetPosition(int Value);
  bool Smooth() const { return FSmooth; }
  void SetSmooth(bool Value);
  int Step() const { return FStep; }
  void SetStep(int Value) { FStep = Value; }

  // Operations.
  void SetRange(int AMin, int AMax);

 private:
  void InvalidateProgress();

  TColor FColor = clDefault;
  int FMax = 100;
  int FMin = 0;
  int FPosition = 0;
  bool FSmooth = false;
  int FStep = 10;
};

class TkwBarProgressControl : public TkwBarStaticControl {
  VELBOR_DECLARE_CLASS(TkwBarProgressControl, TkwBarStaticControl)
 public:
  using TOwnerClass = TkwBarItemLink;
  explicit TkwBarProgressControl(TkwBarItemLink* ALink) : TkwBarStaticControl(ALink) {}

  TkwBarProgressItem* Progress() const { return dynamic_cast<TkwBarProgressItem*>(GetItem()); }
  // The progress bar's rectangle in a link rectangle, and in the link's own (window client
  // coordinates); empty when no bar fits.
  TRect ProgressRectIn(const TRect& Rect);
  TRect ProgressRect();
  // The item's colour, or the painter's for clDefault.
  COLORREF BarColor() const;

  int CalcHeight() override;
  int CalcWidth() override;
  void Draw(const TRect& Rect, int Kind) override;

 private:
  // The painter's area at the left that the glyph column takes (0: none).
  int LeadIndent();
  // The size along the bar (the static part, the bar and its gap, the glyph column) and across it.
  int ProgressAlong();
  int ProgressAcross();
};

class TkwBarLargeButton : public TkwBarButton {
  VELBOR_DECLARE_CLASS(TkwBarLargeButton, TkwBarButton)
 public:
  explicit TkwBarLargeButton(TComponent* AOwner);
  ~TkwBarLargeButton() override;

  // Properties.
  bool AutoGrayScale() const { return FAutoGrayScale; }
  void SetAutoGrayScale(bool Value);
  TkwBarGlyphLayout GlyphLayout() const { return FGlyphLayout; }
  void SetGlyphLayout(TkwBarGlyphLayout Value);
  int Height() const { return FHeight; }
  // Negative values are ignored.
  void SetHeight(int Value);
  TBitmap* HotGlyph() const { return FHotGlyph; }
  void SetHotGlyph(TBitmap* Value) { FHotGlyph->Assign(Value); }
  int HotImageIndex() const { return FHotImageIndex; }
  void SetHotImageIndex(int Value);
  TBitmap* LargeGlyph() const { return FLargeGlyph; }
  void SetLargeGlyph(TBitmap* Value) { FLargeGlyph->Assign(Value); }
  int LargeImageIndex() const { return FLargeImageIndex; }
  void SetLargeImageIndex(int Value);
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  int Width() const { return FWidth; }
  // Negative values are ignored.
  void SetWidth(int Value);

  // The image list and index of the item are the large ones.
  int GetImageIndex() const override { return FLargeImageIndex; }
  void SetImageIndex(int Value) override { SetLargeImageIndex(Value); }
  TCustomImageList* GetImages() const override;
  bool HasHotImage() const override { return FHotImageIndex >= 0; }
  bool HasLargeImage() const override { return FLargeImageIndex >= 0; }
  void HotGlyphChanged() override;
  void LargeGlyphChanged() override;
  // Without caption on a tool bar it takes no accelerator.
  bool AcceptsAccelerator(TkwBarItemLink* Link) const override;

 private:
  // A layout change of the controls on tool bars.
  void LayoutChanged();
  void HotGlyphChangedHandler(TObject*) { HotGlyphChanged(); }
  void LargeGlyphChangedHandler(TObject*) { LargeGlyphChanged(); }

  bool FAutoGrayScale = true;
  TkwBarGlyphLayout FGlyphLayout = glTop;
  int FHeight = 0;
  TBitmap* FHotGlyph;  // owned
  int FHotImageIndex = -1;
  TBitmap* FLargeGlyph;  // owned
  int FLargeImageIndex = -1;
  bool FShowCaption = true;
  int FWidth = 0;
};

class TkwBarLargeButtonControl : public TkwBarButtonControl {
  VELBOR_DECLARE_CLASS(TkwBarLargeButtonControl, TkwBarButtonControl)
 public:
  using TOwnerClass = TkwBarItemLink;
  explicit TkwBarLargeButtonControl(TkwBarItemLink* ALink) : TkwBarButtonControl(ALink) {}

  TkwBarLargeButton* Large() const { return dynamic_cast<TkwBarLargeButton*>(GetItem()); }
  // The glyph shown now: the hot one while hot, else the large one (each falls back on the
  // other); Images and Index are set when it comes from an image list (Index -1 when neither
  // exists: the list is passed without index).
  TBitmap* ChooseGlyph(TCustomImageList*& Images, int& Index) const;
  // The size of the glyph shown now (0 x 0 when there is none).
  TSize GlyphSize() const;
  // Where the glyph goes inside Content (client coordinates).
  TRect GlyphRect(const TRect& Content) const;

  // Overrides.
  int GetArrowWidth() const override;
  int CalcHeight() override;
  int CalcWidth() override;
  void GlyphChanged() override;
  TCustomImageList* GetImages() const override { return GetLargeImages(); }
  void Draw(const TRect& Rect, int Kind) override;

 private:
  bool InMenu() const;
  bool ShowsLargeCaption() const;
  // The size in a horizontal tool bar (before a turned bar exchanges the two).
  TSize CalcToolBarSize();
};

// The form that hosts a control placed into a bar: its background is the item control's.
class TPlaceForm : public TCustomForm {
  VELBOR_DECLARE_CLASS(TPlaceForm, TCustomForm)
 public:
  explicit TPlaceForm(TComponent* AOwner);
  ~TPlaceForm() override;
  // The item control it serves (nullptr: none: the brush fills it).
  TkwBarItemControl* ItemControl = nullptr;
  HBRUSH BackgroundBrush() const { return FBrush; }
  void SetBackgroundBrush(HBRUSH Value) { FBrush = Value; }

 protected:
  void Dispatch(TMessage& Message) override;

 private:
  HBRUSH FBrush;  // not owned
};

// Path with an ellipsis in its middle, so that it fits MaxWidth pixels of the screen's font (any
// length).
String ShortenPath(const String& Path, int MaxWidth = 300);
