// This file implements TkjPaintCanvas, the canvas the look-and-feel painters draw on: a thin
// object around a platform canvas that adds bands on chosen sides of a rectangle, two-colour
// 3-D edges, text with the library's alignment flags and a disabled (embossed) look, transparent
// and disabled glyphs, inversion, and the two light colours mixed from the system colours.
#pragma once

#include <vector>

#include "Graphics.h"

// Sides of a rectangle, as a set of bits.
using TkjSides = unsigned;
inline constexpr TkjSides kjsLeft = 1;
inline constexpr TkjSides kjsTop = 2;
inline constexpr TkjSides kjsRight = 4;
inline constexpr TkjSides kjsBottom = 8;
inline constexpr TkjSides kjsAll = 15;

// The library's text flags.
using TkjTextFlags = unsigned;
inline constexpr TkjTextFlags kjtLeft = 0x1;
inline constexpr TkjTextFlags kjtRight = 0x2;
inline constexpr TkjTextFlags kjtCenterX = 0x4;
inline constexpr TkjTextFlags kjtTop = 0x8;
inline constexpr TkjTextFlags kjtBottom = 0x10;
inline constexpr TkjTextFlags kjtCenterY = 0x20;
inline constexpr TkjTextFlags kjtSingleLine = 0x40;
inline constexpr TkjTextFlags kjtDontClip = 0x80;
inline constexpr TkjTextFlags kjtExpandTabs = 0x100;
inline constexpr TkjTextFlags kjtShowPrefix = 0x200;
inline constexpr TkjTextFlags kjtWordBreak = 0x400;
inline constexpr TkjTextFlags kjtShowEndEllipsis = 0x800;
inline constexpr TkjTextFlags kjtCalcRect = 0x1000;
inline constexpr TkjTextFlags kjtShowPathEllipsis = 0x2000;

// The DrawText format of library text flags.
UINT TextFlagsToDrawTextFormat(TkjTextFlags Flags);

// Colour arguments: the part's default, and no background.
inline constexpr TColor kjDefaultColor = clDefault;  // 0x20000000
inline constexpr TColor kjNoColor = clNone;          // 0x1FFFFFFF

class TkjPaintCanvas : public TObject {
 public:
  explicit TkjPaintCanvas(TCanvas* ACanvas) : FCanvas(ACanvas) {}

  TCanvas* Canvas() const { return FCanvas; }
  TBrush* Brush() const { return FCanvas->Brush(); }
  TFont* Font() const { return FCanvas->Font(); }
  TPen* Pen() const { return FCanvas->Pen(); }
  HDC Handle() const { return FCanvas->Handle(); }

  void FillRect(const TRect& Rect) { FCanvas->FillRect(Rect); }
  void SetBrushColorIfChanged(TColor Color);
  // Bands of Width inside Rect on each side in Sides, in the brush of Color (kjDefaultColor
  // keeps the current brush colour).
  void FillSides(const TRect& Rect, TColor Color, TkjSides Sides, int Width);
  // Bands of Width: left and top in Color1, right and bottom in Color2.
  void FrameSides(const TRect& Rect, TColor Color1, int Width, TkjSides Sides, TColor Color2);
  void DrawEdge3D(const TRect& Rect, bool Sunken, TkjSides Sides, bool Inner);
  void InvertArea(const TRect& Rect);
  void MoveTo(int X, int Y) { FCanvas->MoveTo(X, Y); }
  void LineTo(int X, int Y) { FCanvas->LineTo(X, Y); }
  void Polygon(const std::vector<TPoint>& Points) { FCanvas->Polygon(Points); }
  void SetPixel(int X, int Y, TColor Color) { FCanvas->SetPixels(X, Y, Color); }
  void Draw(int X, int Y, TGraphic* Graphic) { FCanvas->Draw(X, Y, Graphic); }
  void SetFont(TFont* Value) { FCanvas->SetFont(Value); }
  void ExcludeClipRect(const TRect& Rect);
  TSize TextExtent(const String& Text);
  int TextWidth(const String& Text) { return TextExtent(Text).cx; }
  // A glyph with its transparent colour: enabled, over Background (kjNoColor: over what is
  // there); disabled, embossed.
  void DrawGlyph(int X, int Y, TColor Background, bool Enabled, TBitmap* Bitmap);
  // Moves Rect to where the text goes by the flags (its size measured with DT_CALCRECT).
  void DrawTextAligned(const String& Text, TRect& Rect, TkjTextFlags Flags);
  void DrawTextWithFlags(const String& Text, const TRect& Rect, bool Enabled, TkjTextFlags Flags);

 private:
  TCanvas* FCanvas;  // not owned
};

// The light colours of hot and pressed ultra-flat buttons (nearest screen colours).
COLORREF HotLightColor();
COLORREF PressedLightColor();
