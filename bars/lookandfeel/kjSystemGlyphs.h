// This file implements the system glyphs of the bar and look-and-feel libraries drawn in code:
// the caption-button glyphs (close, minimize, maximize, restore), the scroll arrows and the check
// mark, and buttons that carry them, in the place of the frame controls that draw them from a
// symbol font the system may not have.
#pragma once

#include "Graphics.h"
#include "WinApi.h"

enum TkjSystemGlyph {
  kjsgClose, kjsgMinimize, kjsgMaximize, kjsgRestore, kjsgArrowUp, kjsgArrowDown, kjsgArrowLeft, kjsgArrowRight,
  kjsgCheck
};

// The glyph centred in Rect, sized from it, in Color.
void DrawSystemGlyph(HDC DC, const TRect& Rect, TkjSystemGlyph Glyph, COLORREF Color);
// A button face (raised, sunken when pushed, or flat: a button-shadow frame) with the glyph;
// inactive glyphs are embossed in button highlight under button shadow, pushed ones move one pixel
// right and down.
void DrawSystemButton(HDC DC, const TRect& Rect, TkjSystemGlyph Glyph, bool Pushed, bool Inactive, bool Flat);
// The part of Rect the glyph takes (its square, centred).
TRect SystemGlyphRect(const TRect& Rect, TkjSystemGlyph Glyph);

// A polygon filled and outlined in one colour, with a pen and brush selected for the call only.
void FillPolygonWithColor(HDC DC, const POINT* Points, int Count, COLORREF Color);
// A glyph that points to the bottom-right (Draw paints it into a button-face cell of the given
// size, at the origin) copied into Cell, mirrored horizontally (MirrorX) and vertically (MirrorY).
void DrawTurnedGlyph(HDC DC, const TRect& Cell, bool MirrorX, bool MirrorY, void (*Draw)(HDC, const RECT&));
