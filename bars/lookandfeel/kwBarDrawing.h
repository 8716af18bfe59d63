// This file implements the drawing primitives of the bar library: clip-region saving, framed
// and tiled fills, the 256-band vertical gradient, arrows, the transparent and themed size grips
// and close buttons, and DrawItemGlyph, which draws an item's glyph normal, hot, pressed, faded,
// gray or disabled through an off-screen bitmap. None keeps objects selected in the device
// context.
#pragma once

#include <cstdint>
#include <vector>

#include "Graphics.h"
#include "ImageList.h"

// The header of a 32-bit device-independent bitmap of Width x Height pixels, rows top first.
BITMAPINFO TopDownBitmapInfo(int Width, int Height);
// What the screen shows in Rect now: 0x00RRGGBB pixels, rows top first.
std::vector<std::uint32_t> ReadScreenPixels(const TRect& Rect);

// Copies the DC's clip region (Existed: there was one); Restore selects it back (or none) and
// deletes the copy.
void SaveClipRegion(HDC DC, HRGN& Region, bool& Existed);
void RestoreClipRegion(HDC DC, HRGN& Region, bool Existed);
void AddRectToClipRegion(HDC DC, const TRect& Rect);
void ExcludeRectFromRegion(HRGN& Region, const TRect& Rect);

void FrameRectHighlight(HDC DC, const TRect& Rect);
// The bitmap tiled from OriginRect when it is not empty; else the brush, or a brush of Color.
void FillRectOrBitmap(HDC DC, const TRect& Rect, const TRect& OriginRect, TBitmap* Bitmap, TColor Color,
                      HBRUSH Brush);
// Copies of the bitmap on the grid of the DC's coordinates, the tiles that cover OriginRect,
// clipped to Rect.
void TileBitmap(HDC DC, const TRect& Rect, const TRect& OriginRect, TBitmap* Bitmap);
// 256 bands from the first colour at the top to the second at the bottom.
void FillVerticalGradient(TCanvas* Canvas, const TRect& Rect, int R1, int G1, int B1, int R2, int G2, int B2);
// A filled triangle of Size pointing down (Horizontal) or right.
void DrawArrowShape(HDC DC, const TRect& Rect, bool Horizontal, bool Flat, bool Enabled, bool Selected, int Size);
void DrawCenteredArrow(HDC DC, const TRect& Rect, bool Horizontal, bool Flat, bool Selected, bool Enabled);
// The size the centred arrow takes in Rect.
int CenteredArrowSize(const TRect& Rect, bool Horizontal);
// The system size grip over what Rect already holds (its button-face pixels stay transparent).
void DrawTransparentSizeGrip(HDC DC, const TRect& Rect);
TSize GetThemedCloseButtonSize();
void DrawThemedCloseButton(HDC DC, const TRect& Rect, bool Hot, int GripCorner, bool Pushed);
TSize GetThemedSizeGripSize();
void DrawThemedSizeGrip(HDC DC, const TRect& Rect, int Corner);

// The flags of DrawItemGlyph.
struct TkwGlyphDrawing {
  HBRUSH BackgroundBrush = nullptr;
  TColor BackgroundColor = clFuchsia;  // the manager's ImageListBkColor
  bool TintDisabled = false;
  bool CopyBackground = false;
  bool RaiseHot = false;
  bool Pressed = false;
  bool DownState = false;
  bool Hot = false;
  bool FadeNormal = false;
  bool Grayed = false;
  bool Enabled = true;
};
// Draws a glyph (Bitmap when not empty, else image ImageIndex of Images) into GlyphRect through
// an off-screen bitmap the size of TargetRect; the glyph's bottom-left pixel is transparent.
void DrawItemGlyph(HDC DC, const TRect& TargetRect, const TRect& GlyphRect, const TkwGlyphDrawing& How,
                   int ImageIndex, TCustomImageList* Images, TBitmap* Bitmap);
