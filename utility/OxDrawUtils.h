// This file implements the drawing and window routines the utility controls share: masked bitmap
// drawing, disabled and embossed glyphs, painting what lies behind a window-less control,
// shortening a text to a width, command-line tokens, and small window helpers.
#pragma once

#include "Controls.h"
#include "Graphics.h"

class TCustomImageList;

inline int RectWidth(const TRect& R) { return R.Right - R.Left; }
inline int RectHeight(const TRect& R) { return R.Bottom - R.Top; }

// A colour as a palette-relative RGB value (flag 0x02000000 set).
COLORREF ToPaletteRGB(TColor Color);

// Copies SrcW x SrcH of SrcDC into DstW x DstH of DstDC, stretched, leaving the destination
// untouched where the source has TransparentRGB.
void StretchBltMasked(HDC DstDC, int DstX, int DstY, int DstW, int DstH, HDC SrcDC, int SrcX, int SrcY, int SrcW,
                      int SrcH, COLORREF TransparentRGB, HPALETTE Palette);
// clNone copies every pixel; clDefault takes the bottom-left pixel's colour as transparent.
void StretchBitmapMasked(TCanvas* Canvas, TBitmap* Bitmap, TColor TransparentColor, int DstX, int DstY, int DstW,
                         int DstH, int SrcX, int SrcY, int SrcW, int SrcH);
void DrawBitmapMasked(TCanvas* Canvas, int X, int Y, TBitmap* Bitmap, TColor TransparentColor);

// New bitmaps owned by the caller.
TBitmap* MakeEmbossedGlyph(TBitmap* Bitmap, TColor BackColor);
TBitmap* MakeDisabledGlyphEx(TBitmap* Bitmap, TColor OutlineColor, TColor BackColor, TColor HighlightColor,
                             TColor ShadowColor, bool DrawHighlight);
TBitmap* MakeDisabledGlyph(TBitmap* Bitmap, TColor OutlineColor);
void DrawImageDisabled(TCustomImageList* ImageList, TCanvas* Canvas, int X, int Y, int Index, TColor HighlightColor,
                       TColor GrayColor, bool DrawHighlight);

// Paints the parent's background and the window-less siblings below Control onto Canvas.
void DrawParentImage(TControl* Control, TCanvas* Canvas);

// Text cut and followed by "..." until it fits MaxWidth on Canvas ("..." alone at worst).
String ShortenText(const String& Text, TCanvas* Canvas, int MaxWidth);

// Command-line tokens: blanks separate, double quotes group (and are dropped). NextCmdToken reads
// the token at Position (0-based into CmdLine) and returns the position after it.
size_t NextCmdToken(const String& CmdLine, size_t Position, String& Token);
int CmdTokenCount(const String& CmdLine);
String CmdToken(const String& CmdLine, int Index);
// Program := the first token; Params := the others joined by blanks, re-quoted when they hold one.
void SplitCmdLine(const String& CmdLine, String& Program, String& Params);

// Removes one pending Msg of Wnd from the queue; a WM_QUIT removed so is posted again.
void DiscardMessage(HWND Wnd, UINT Msg);
// A window of the calling thread is the system's active window.
bool ActiveWindowInThread();
