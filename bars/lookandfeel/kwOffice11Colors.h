// This file implements the Office-2003 colours: the detection of the blue, olive and silver
// colour schemes of the platform's visual style, the process-wide table of 32 colours filled
// from a built-in table or from the classic system colours, the brushes and the tinted expand
// bitmap shared by every bar manager (reference-counted), and the colour arithmetic and drawing
// primitives of the Office-2003 and XP painters: blends, light colours, banded and mid-tone
// gradients, the dotted gripper and triangular arrows.
#pragma once

#include "Graphics.h"
#include "WinApi.h"

enum TkwOffice11Scheme { o11None, o11Blue, o11Olive, o11Silver };

// The table and the colours derived from it.
struct TkwOffice11ColorTable {
  TkwOffice11Scheme Scheme = o11None;
  COLORREF Colors[32] = {};
  int MidTonePercent = 75;
  // The mark glyph is drawn first in GlyphLight one pixel right and down, then in GlyphDark.
  COLORREF MarkGlyphDark = 0;
  COLORREF MarkGlyphLight = 0;
  // Text of floating captions, the mark glyph in its normal state, selected item captions.
  COLORREF CaptionText = 0;
  COLORREF MarkGlyphHot = 0;
  COLORREF MarkGlyphPressed = 0;
  // The mark's gradient far ends and corners, for the normal, hot and pressed states.
  COLORREF MarkFarEnd[3] = {};
  COLORREF MarkCorner[3] = {};
  // The glyph column of menus that show rarely used items (slots 0 and 1 darkened).
  COLORREF RarelyUsedColumn[2] = {};
};
const TkwOffice11ColorTable& Office11Colors();

// The scheme of the visual style in force (none without themes or with another style).
TkwOffice11Scheme DetectOffice11Scheme();
// Fills the table for the scheme in force.
void InitOffice11Colors();

// Holders: the first one fills the table and builds the shared brushes and bitmap, the last one
// frees them; a refresh (system colours or theme changed) fills the table again and rebuilds
// what is held.
void AddOffice11ColorsRef();
void RefreshOffice11Colors();
void ReleaseOffice11ColorsRef();
int Office11ColorsRefCount();
// The shared brush of slot 12, 13, 14, 15, 18, 19, 20, 21, 26, 27, 28 or 29 (nullptr for other
// slots or while nobody holds the colours), and of the in-place sub-item header (slot 4 blended
// half with slot 11).
HBRUSH Office11Brush(int Slot);
HBRUSH Office11InPlaceSubItemBrush();
// The expand bitmap of menus tinted with slots 0 and 1 (nullptr while nobody holds the colours).
TBitmap* Office11SubMenuExpandBitmap();

// Colour arithmetic (system colours are turned into RGB first).
COLORREF NearestScreenColor(TColor Color);
// Percent is the weight of Color1.
COLORREF BlendColors(TColor Color1, TColor Color2, int Percent);
// A mix of button face, highlight and window; the highlight colour when the button face is
// black or white.
COLORREF SystemLightColor(int FacePercent, int HighlightPercent, int WindowPercent);

void FillRectWithColor(HDC DC, const TRect& Rect, TColor Color);
void FrameRectWithColor(HDC DC, const TRect& Rect, TColor Color);
void FrameRectOffice11Selected(HDC DC, const TRect& Rect);
// At most 256 bands from Color1 to Color2 across the width (Horizontal) or the height.
void FillGradientRect(HDC DC, const TRect& Rect, TColor Color1, bool Horizontal, TColor Color2);
// From Color1 to a middle tone over the first half, from there to Color2 over the second.
void FillMidToneGradientRect(HDC DC, const TRect& Rect, TColor Color1, bool Horizontal, TColor Color2);
// The colour FillGradientRect gives the band that holds Position (Color1 for an empty extent).
COLORREF GradientColorAt(const TRect& Rect, int Position, TColor Color1, bool Horizontal, TColor Color2);
void DrawDottedGripper(HDC DC, const TRect& Rect, bool Vertical);
// A triangle sized from the rectangle (pointing down or right), in the text or gray text slot.
void DrawOffice11Arrow(HDC DC, const TRect& Rect, bool Down, bool Enabled);
void DrawOffice11ArrowShape(HDC DC, const TRect& Rect, bool Down, bool Enabled, int Size);
// The size DrawOffice11Arrow takes for a rectangle.
int Office11ArrowSize(const TRect& Rect, bool Down);
// Recolours the shades of the expand bitmap (every pixel neither the background, the top-left
// pixel, nor black) between Light and Dark by their red value; the bitmap becomes 32-bit.
void TintSubMenuExpandBitmap(TBitmap* Bitmap, COLORREF Light, COLORREF Dark);
