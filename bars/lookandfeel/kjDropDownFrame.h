// This file implements the frame of the drop-down windows of the bar library: a one-pixel border
// and a strip at the top or bottom with a size grip in one corner and a close button at the
// other end; which corner takes the grip, its hit-test code, the strip's height, and the
// painting of the non-client frame.
#pragma once

#include "Graphics.h"

// Grip corners.
enum TkjGripCorner { kjgcTopLeft, kjgcTopRight, kjgcBottomLeft, kjgcBottomRight };

int GetDropDownGripStripHeight();
// The corner away from the edit: below and to the right of it, the grip is at the bottom right.
TkjGripCorner SelectGripCorner(const TRect& EditRect, const TRect& DropDownRect);
// HTTOPLEFT, HTTOPRIGHT, HTBOTTOMLEFT or HTBOTTOMRIGHT.
int GripCornerToHitTest(TkjGripCorner Corner);
// The system's size-grip glyph in Rect's corner, turned to face the corner.
void PaintSizeGrip(HDC DC, const TRect& Rect, TkjGripCorner Corner);
void DrawDropDownCloseButton(HDC DC, const TRect& Rect, bool Framed, TkjGripCorner Corner, bool Flat, bool Pressed);
// Paints the frame of Window (in window coordinates). GripRect and CloseRect come back in the
// window's client coordinates, empty without a grip.
void DrawDropDownFrame(HWND Window, bool ShowGrip, bool Flat, TkjGripCorner Corner, TRect& GripRect,
                       TRect& CloseRect, bool Hot, bool Pressed);
// Where the grip cell and the close button lie in a strip (the rectangles DrawDropDownFrame
// paints), in the strip's coordinates.
TRect DropDownGripCell(const TRect& Strip, TkjGripCorner Corner);
TRect DropDownCloseButtonRect(const TRect& Strip, TkjGripCorner Corner);
