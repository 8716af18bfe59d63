// This file implements the face painter of the library's speed buttons: TOxButtonGlyph cuts a
// glyph bitmap into state images kept in image lists shared by every painter with glyphs of the
// same size (TOxGlyphList, held by the process-wide TOxGlyphCache), places glyph and caption by
// layout, margin and spacing, and draws them with the drop-down mark; PaintButtonBorder draws a
// button's 3-D border.
#pragma once

#include <vector>

#include "Buttons.h"
#include "ImageList.h"

// The states of a button face; the order is that of the slices of a multi-glyph bitmap.
enum TOxButtonState { obsUp, obsDisabled, obsDown, obsExclusive, obsInactive };
VELBOR_ENUM(TOxButtonState, "obsUp", "obsDisabled", "obsDown", "obsExclusive", "obsInactive")
inline constexpr int OxButtonStateCount = 5;

// bsWin31 draws the old look; bsAutoDetect the new look, which this system always has.
enum TButtonStyle { bsAutoDetect, bsWin31, bsNew };
VELBOR_ENUM(TButtonStyle, "bsAutoDetect", "bsWin31", "bsNew")

// Number of images side by side in a glyph bitmap: up, disabled, down, exclusive, inactive.
using TOxNumGlyphs = int;

// An image list whose freed slots are reused: ReserveSlot hands out the first free slot (the
// list grows by an empty image when none is free), FreeSlot gives one back.
class TOxGlyphList : public TImageList {
  VELBOR_DECLARE_CLASS(TOxGlyphList, TImageList)
 public:
  TOxGlyphList(int AWidth, int AHeight);

  int ReserveSlot();
  // Each takes a slot and replaces its image; returns the slot.
  int AddImage(TBitmap* Image, TBitmap* Mask);
  int AddImageMasked(TBitmap* Image, TColor MaskColor);
  void FreeSlot(int Index);
  int UsedCount() const { return FUsedCount; }

 private:
  std::vector<bool> FUsed;
  int FUsedCount = 0;
};

// The glyph lists of the process, one per image size.
class TOxGlyphCache {
 public:
  TOxGlyphCache() = default;
  ~TOxGlyphCache();
  TOxGlyphCache(const TOxGlyphCache&) = delete;
  TOxGlyphCache& operator=(const TOxGlyphCache&) = delete;

  // The list of that image size, made when there is none.
  TOxGlyphList* ListForSize(int AWidth, int AHeight);
  // Frees the list when no slot of it is used any more.
  void ReleaseList(TOxGlyphList* List);
  bool IsEmpty() const { return FLists.empty(); }
  int ListCount() const { return int(FLists.size()); }

 private:
  std::vector<TOxGlyphList*> FLists;
};

// The process's cache: made by the first painter, freed when a painter goes and it holds no list.
// nullptr while there is none.
TOxGlyphCache* OxGlyphCache();

// The DrawText alignment flags of an alignment.
UINT OxAlignmentFlags(TAlignment Alignment);

class TOxButtonGlyph : public TObject {
  VELBOR_DECLARE_CLASS(TOxButtonGlyph, TObject)
 public:
  TOxButtonGlyph();
  ~TOxButtonGlyph() override;

  // Properties.
  // The source bitmap (owned); assigning copies the given one. A change drops the state images
  // and may set NumGlyphs from the bitmap's proportions.
  TBitmap* Glyph() const { return FOriginal; }
  void SetGlyph(TBitmap* Value);
  TOxNumGlyphs NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TOxNumGlyphs Value);
  // One-glyph bitmaps: embossed disabled image (true) or the outline style (false).
  bool GrayNewStyle() const { return FGrayNewStyle; }
  void SetGrayNewStyle(bool Value);
  bool WordWrap = false;
  TAlignment Alignment = taCenter;
  // The colour left out of the images: the bitmap's bottom-left pixel, clFuchsia without one.
  TColor TransparentColor() const { return FTransparentColor; }
  // The shared list holding this painter's images, nullptr before any was built.
  TOxGlyphList* GlyphList() const { return FGlyphList; }

  // Operations.
  // The image of a state in the glyph list, built on first use; -1 without a glyph.
  int StateImageIndex(TOxButtonState State);
  // Draws the state's image; returns its size ((0, 0) without one).
  TPoint PaintStateImage(TCanvas* Canvas, int X, int Y, TOxButtonState State);
  // The caption shortened line by line to MaxWidth ("..." added), unless WordWrap.
  String FitCaption(TCanvas* Canvas, const String& Caption, int MaxWidth);
  void PaintCaption(TCanvas* Canvas, const String& Caption, UINT Flags, TOxButtonState State, const TRect& Rect);
  // Places glyph and caption inside Client; Caption comes back fitted to the room left.
  void ComputeLayout(TCanvas* Canvas, const TRect& Client, UINT Flags, TRect& TextBounds, TPoint& GlyphPos,
                     bool DrawMark, int Spacing, int Margin, TButtonLayout Layout, String& Caption);
  // Glyph, caption and (with DrawMark) the drop-down mark; returns the caption's bounds.
  TRect PaintAll(TCanvas* Canvas, const TRect& Client, UINT Flags, TOxButtonState State, bool DrawMark, int Spacing,
                 int Margin, TButtonLayout Layout, const String& Caption);
  // A 7-pixel wide down-pointing triangle whose top row is Y - 1.
  void PaintArrowMark(TCanvas* Canvas, int X, int Y, TOxButtonState State);
  // Gives this painter's slots back and its list to the cache.
  void ReleaseImages();
  // The gray of a colour (the transparent colour and the face colour stay).
  TColor GrayPixel(TColor Color) const;

  // Fired when the glyph changed (the button repaints).
  TNotifyEvent OnChange;

 private:
  void SourceChanged(TObject* Sender);

  TBitmap* FOriginal;
  TOxGlyphList* FGlyphList = nullptr;
  int FIndexes[OxButtonStateCount];
  TColor FTransparentColor = clFuchsia;
  TOxNumGlyphs FNumGlyphs = 1;
  bool FGrayNewStyle = true;
};

// The 3-D border of a button; returns the rectangle inside it.
TRect PaintButtonBorder(TCanvas* Canvas, const TRect& Client, bool IsDown, TButtonStyle Style, bool IsFlat);
