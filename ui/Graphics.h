// This file implements the graphics of the class library: points and rectangles, the drawing
// tools (TFont, TPen, TBrush), TCanvas over a device context, and the graphic classes (TGraphic,
// TBitmap, TIcon, TMetafile with TMetafileCanvas) with TPicture, which holds any of them.
//
// Every GDI object is owned by exactly one class-library object and freed with it. Tools create
// their handle on first use and drop it when a property changes; a canvas selects the handles of
// its tools into its device context when a drawing operation needs them (RequiredState).
// Implemented in GraphicsObjects.cpp (the tools and screen measures), Canvas.cpp, Bitmap.cpp,
// Icon.cpp, Metafile.cpp and Picture.cpp (TGraphic, TPicture).
#pragma once

#include "WinApi.h"

#include <cstdint>
#include <vector>

#include "AnsiString.h"
#include "Colors.h"
#include "Event.h"
#include "Persistent.h"
#include "TypInfo.h"

class TStream;
class TFiler;
class TCanvas;
class TBitmap;
class TGraphic;

// --- Points and rectangles ------------------------------------------------------------------

// Same layout as the API's POINT, SIZE and RECT (AsPOINT/AsRECT hand them over without copying).
struct TPoint {
  int X = 0;
  int Y = 0;
  constexpr TPoint() = default;
  constexpr TPoint(int AX, int AY) : X(AX), Y(AY) {}
  constexpr bool operator==(const TPoint&) const = default;
};

struct TSize {
  int cx = 0;
  int cy = 0;
  constexpr bool operator==(const TSize&) const = default;
};

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  constexpr TRect() = default;
  constexpr TRect(int ALeft, int ATop, int ARight, int ABottom) : Left(ALeft), Top(ATop), Right(ARight), Bottom(ABottom) {}
  constexpr TRect(TPoint TopLeft, TPoint BottomRight)
      : Left(TopLeft.X), Top(TopLeft.Y), Right(BottomRight.X), Bottom(BottomRight.Y) {}
  TRect(const RECT& R) : Left(R.left), Top(R.top), Right(R.right), Bottom(R.bottom) {}
  operator RECT() const { return RECT{Left, Top, Right, Bottom}; }

  constexpr int Width() const { return Right - Left; }
  constexpr int Height() const { return Bottom - Top; }
  constexpr TPoint TopLeft() const { return TPoint(Left, Top); }
  constexpr TPoint BottomRight() const { return TPoint(Right, Bottom); }
  constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  constexpr bool Contains(TPoint P) const { return P.X >= Left && P.X < Right && P.Y >= Top && P.Y < Bottom; }
  constexpr bool operator==(const TRect&) const = default;
};

static_assert(sizeof(TPoint) == sizeof(POINT) && sizeof(TRect) == sizeof(RECT) && sizeof(TSize) == sizeof(SIZE));
inline RECT* AsRECT(TRect& R) { return reinterpret_cast<RECT*>(&R); }
inline const RECT* AsRECT(const TRect& R) { return reinterpret_cast<const RECT*>(&R); }
inline POINT* AsPOINT(TPoint* P) { return reinterpret_cast<POINT*>(P); }

constexpr TPoint Point(int X, int Y) { return TPoint(X, Y); }
constexpr TRect Rect(int Left, int Top, int Right, int Bottom) { return TRect(Left, Top, Right, Bottom); }
constexpr TRect Bounds(int Left, int Top, int Width, int Height) { return TRect(Left, Top, Left + Width, Top + Height); }

// --- Enumerations ---------------------------------------------------------------------------

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
VELBOR_ENUM(TFontStyle, "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut")
using TFontStyles = TSet<TFontStyle>;

enum TFontPitch { fpDefault, fpVariable, fpFixed };
VELBOR_ENUM(TFontPitch, "fpDefault", "fpVariable", "fpFixed")

// A character set number (ANSI_CHARSET, DEFAULT_CHARSET...), published with its identifiers.
using TFontCharset = int;
extern const TIntIdents CharsetIdents;

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
VELBOR_ENUM(TPenStyle, "psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame")

enum TPenMode {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
  pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
VELBOR_ENUM(TPenMode, "pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot",
            "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask", "pmNotMask",
            "pmXor", "pmNotXor")

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
VELBOR_ENUM(TBrushStyle, "bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal",
            "bsCross", "bsDiagCross")

enum TFillStyle { fsSurface, fsBorder };
VELBOR_ENUM(TFillStyle, "fsSurface", "fsBorder")

// A raster operation of BitBlt (SRCCOPY...).
using TCopyMode = DWORD;
inline constexpr TCopyMode cmBlackness = BLACKNESS;
inline constexpr TCopyMode cmDstInvert = DSTINVERT;
inline constexpr TCopyMode cmMergeCopy = MERGECOPY;
inline constexpr TCopyMode cmMergePaint = MERGEPAINT;
inline constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
inline constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
inline constexpr TCopyMode cmPatCopy = PATCOPY;
inline constexpr TCopyMode cmPatInvert = PATINVERT;
inline constexpr TCopyMode cmPatPaint = PATPAINT;
inline constexpr TCopyMode cmSrcAnd = SRCAND;
inline constexpr TCopyMode cmSrcCopy = SRCCOPY;
inline constexpr TCopyMode cmSrcErase = SRCERASE;
inline constexpr TCopyMode cmSrcInvert = SRCINVERT;
inline constexpr TCopyMode cmSrcPaint = SRCPAINT;
inline constexpr TCopyMode cmWhiteness = WHITENESS;

enum TCanvasStateItem { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasState = TSet<TCanvasStateItem>;

enum TTransparentMode { tmAuto, tmFixed };
VELBOR_ENUM(TTransparentMode, "tmAuto", "tmFixed")

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
VELBOR_ENUM(TPixelFormat, "pfDevice", "pf1bit", "pf4bit", "pf8bit", "pf15bit", "pf16bit", "pf24bit", "pf32bit",
            "pfCustom")

enum TBitmapHandleType { bmDIB, bmDDB };
VELBOR_ENUM(TBitmapHandleType, "bmDIB", "bmDDB")

VELBOR_EXCEPTION(EInvalidGraphic, Exception)
VELBOR_EXCEPTION(EInvalidGraphicOperation, Exception)

// --- Drawing tools --------------------------------------------------------------------------

// The common part of TFont, TPen and TBrush: a change notification, fired by Changed.
class TGraphicsObject : public TPersistent {
  VELBOR_DECLARE_CLASS(TGraphicsObject, TPersistent)
 public:
  TNotifyEvent OnChange;
  // The owner a form description names the tool after ("Button1.Font"); set by the holder.
  TPersistent* OwnerObject = nullptr;
  TPersistent* GetOwner() override { return OwnerObject; }

 protected:
  virtual void Changed();
};

class TFont : public TGraphicsObject {
  VELBOR_DECLARE_CLASS(TFont, TGraphicsObject)
 public:
  TFont();
  ~TFont() override;

  // Properties. Height is in pixels, negative for the character height without the internal
  // leading (what form descriptions hold); Size is in points: -Height * 72 / PixelsPerInch.
  HFONT Handle();
  // Takes ownership of Value; the properties are read back from it.
  void SetHandle(HFONT Value);
  // The metrics of the font on the screen.
  TEXTMETRICA TextMetrics();
  const String& Name() const { return FName; }
  void SetName(const String& Value);
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  int Size() const;
  void SetSize(int Value);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TFontCharset Charset() const { return FCharset; }
  void SetCharset(TFontCharset Value);
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch Value);
  // Escapement and orientation of the text, in tenths of a degree counter-clockwise.
  int Orientation() const { return FOrientation; }
  void SetOrientation(int Value);
  // The resolution Size converts with (the screen's, read once).
  int PixelsPerInch = 96;

  void Assign(TPersistent* Source) override;

 protected:
  void Changed() override;

 private:
  TGdiObject<HFONT> FHandle;
  String FName;
  int FHeight;
  TFontStyles FStyle;
  TColor FColor = clWindowText;
  TFontCharset FCharset = DEFAULT_CHARSET;
  TFontPitch FPitch = fpDefault;
  int FOrientation = 0;
};

class TPen : public TGraphicsObject {
  VELBOR_DECLARE_CLASS(TPen, TGraphicsObject)
 public:
  TPen() = default;
  ~TPen() override;

  HPEN Handle();
  void SetHandle(HPEN Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode Value);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  int Width() const { return FWidth; }
  void SetWidth(int Value);

  void Assign(TPersistent* Source) override;

 protected:
  void Changed() override;

 private:
  TGdiObject<HPEN> FHandle;
  TColor FColor = clBlack;
  TPenMode FMode = pmCopy;
  TPenStyle FStyle = psSolid;
  int FWidth = 1;
};

class TBrush : public TGraphicsObject {
  VELBOR_DECLARE_CLASS(TBrush, TGraphicsObject)
 public:
  TBrush() = default;
  ~TBrush() override;

  HBRUSH Handle();
  void SetHandle(HBRUSH Value);
  TColor Color() const { return FColor; }
  // Setting a colour while the style is bsClear makes the brush solid, as the platform does.
  void SetColor(TColor Value);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle Value);
  // A pattern brush made from a copy of Value (nullptr goes back to Style and Color).
  TBitmap* Bitmap() const { return FBitmap; }
  void SetBitmap(TBitmap* Value);

  void Assign(TPersistent* Source) override;

 protected:
  void Changed() override;

 private:
  TGdiObject<HBRUSH> FHandle;
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  TBitmap* FBitmap = nullptr;  // owned copy
};

// --- Canvas ---------------------------------------------------------------------------------

class TCanvas : public TPersistent {
  VELBOR_DECLARE_CLASS(TCanvas, TPersistent)
 public:
  TCanvas();
  ~TCanvas() override;

  // Properties.
  // The device context; asks CreateHandle for one when there is none (EInvalidOperation
  // "Le canevas ne permet pas de dessiner" when it still has none).
  HDC Handle();
  // Attaches a device context the canvas does not own (nullptr detaches: the tools are
  // deselected first).
  void SetHandle(HDC Value);
  bool HandleAllocated() const { return FHandle != nullptr; }
  TFont* Font() const { return FFont; }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TPen* Pen() const { return FPen; }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  TBrush* Brush() const { return FBrush; }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
  TPoint PenPos();
  void SetPenPos(TPoint Value);
  TCopyMode CopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }
  TColor Pixels(int X, int Y);
  void SetPixels(int X, int Y, TColor Value);
  TRect ClipRect();
  // Text drawing flags ORed into ExtTextOut (ETO_OPAQUE is added while the brush is not clear).
  int TextFlags = 0;

  // Operations. The figures include their top-left edge and exclude the bottom-right one, as
  // the API does.
  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);
  void Polyline(const std::vector<TPoint>& Points);
  void Polygon(const std::vector<TPoint>& Points);
  void PolyBezier(const std::vector<TPoint>& Points);
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
  void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
  void Ellipse(int X1, int Y1, int X2, int Y2);
  void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
  void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void FillRect(const TRect& R);
  void FrameRect(const TRect& R);
  void DrawFocusRect(const TRect& R);
  void FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle);
  void TextOut(int X, int Y, const String& Text);
  // Text clipped to R, drawn at (X, Y); the rectangle is filled unless the brush is clear.
  void TextRect(const TRect& R, int X, int Y, const String& Text);
  TSize TextExtent(const String& Text);
  int TextWidth(const String& Text) { return TextExtent(Text).cx; }
  int TextHeight(const String& Text) { return TextExtent(Text).cy; }
  // Graphics, honouring their Transparent flag.
  void Draw(int X, int Y, TGraphic* Graphic);
  void StretchDraw(const TRect& R, TGraphic* Graphic);
  // Copies Source's rectangle with CopyMode.
  void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);
  // Copies Source's rectangle, its pixels of colour Color replaced by this canvas's brush.
  void BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color);
  void Refresh();

  // Serialises drawing between threads; LockCount counts nested locks of the owning thread.
  void Lock();
  void Unlock();
  bool TryLock();
  int LockCount() const { return FLockCount; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  // Makes a device context for a canvas without one (a control's canvas fetches its window's);
  // the base has none to make.
  virtual void CreateHandle() {}
  // Makes sure the handle exists and the named tools are selected.
  void RequiredState(TCanvasState ReqState);
  // Selects nothing of ours any more (before the context goes away or is handed back).
  void DeselectHandles();
  TCanvasState State() const { return FState; }
  virtual void Changing();
  virtual void Changed();

 private:
  void SelectFont();
  void SelectPen();
  void SelectBrush();
  void FontChanged(TObject* Sender);
  void PenChanged(TObject* Sender);
  void BrushChanged(TObject* Sender);

  HDC FHandle = nullptr;
  TCanvasState FState;
  TFont* FFont;
  TPen* FPen;
  TBrush* FBrush;
  TPoint FPenPos;
  TCopyMode FCopyMode = cmSrcCopy;
  HGDIOBJ FOldFont = nullptr;
  HGDIOBJ FOldPen = nullptr;
  HGDIOBJ FOldBrush = nullptr;
  CRITICAL_SECTION FLock;
  int FLockCount = 0;
};

// Lends a device context the canvas does not own (a paint or draw-item message's) for one scope:
// locks the canvas and selects the context, and gives both back on every way out.
class TCanvasDCScope {
 public:
  TCanvasDCScope(TCanvas* Canvas, HDC DC) : FCanvas(Canvas) {
    FCanvas->Lock();
    FCanvas->SetHandle(DC);
  }
  ~TCanvasDCScope() {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
  }
  TCanvasDCScope(const TCanvasDCScope&) = delete;
  TCanvasDCScope& operator=(const TCanvasDCScope&) = delete;

 private:
  TCanvas* FCanvas;
};

// --- Graphics -------------------------------------------------------------------------------

class TGraphic : public TPersistent {
  VELBOR_DECLARE_CLASS(TGraphic, TPersistent)
  friend class TCanvas;
  friend class TPicture;

 public:
  TGraphic() = default;

  // Properties.
  bool Empty() { return GetEmpty(); }
  int Width() { return GetWidth(); }
  virtual void SetWidth(int Value) = 0;
  int Height() { return GetHeight(); }
  virtual void SetHeight(int Value) = 0;
  virtual void SetSize(int AWidth, int AHeight);
  bool Transparent() { return GetTransparent(); }
  virtual void SetTransparent(bool Value);
  virtual HPALETTE Palette() { return nullptr; }
  virtual void SetPalette(HPALETTE) {}
  bool Modified = false;

  // Operations. Files are named by Windows path.
  virtual void LoadFromFile(const String& FileName);
  virtual void SaveToFile(const String& FileName);
  virtual void LoadFromStream(TStream* Stream) = 0;
  virtual void SaveToStream(TStream* Stream) = 0;
  // The base knows no clipboard format: EInvalidGraphicOperation.
  virtual void LoadFromClipboardFormat(UINT Format, HANDLE Data, HPALETTE Palette);
  virtual void SaveToClipboardFormat(UINT& Format, HANDLE& Data, HPALETTE& Palette);
  // Same class and same saved bytes.
  virtual bool Equals(TGraphic* Graphic);

  TNotifyEvent OnChange;

  // Draws the whole graphic scaled into Rect; what TCanvas::Draw and StretchDraw call.
  virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;

 protected:
  virtual bool GetEmpty() = 0;
  virtual int GetWidth() = 0;
  virtual int GetHeight() = 0;
  virtual bool GetTransparent() { return FTransparent; }
  // Sets Modified and fires OnChange.
  virtual void Changed(TObject* Sender);
  // "Data" in form descriptions, through ReadData and WriteData.
  void DefineProperties(TFiler* Filer) override;
  // The bytes of "Data": the base holds the graphic's own stream; TBitmap and TJPEGImage put a
  // 4-byte little-endian size before it.
  virtual void ReadData(TStream* Stream);
  virtual void WriteData(TStream* Stream);

 private:
  void ReadDataProc(TStream* Stream) { ReadData(Stream); }
  void WriteDataProc(TStream* Stream) { WriteData(Stream); }
  bool FTransparent = false;
};

// A graphic class, for TPicture's registered formats and virtual construction.
using TGraphicClass = TClass;

class TBitmapCanvas;

// A device-independent bitmap (a DIB section) of 1, 4, 8, 16, 24 or 32 bits per pixel; the
// formats under 16 bits carry a colour table. Rows are stored bottom-up, as BMP files hold them;
// ScanLine(y) finds row y from the top.
class TBitmap : public TGraphic {
  VELBOR_DECLARE_CLASS(TBitmap, TGraphic)
  friend class TBitmapCanvas;

 public:
  TBitmap();
  ~TBitmap() override;

  // Properties.
  TCanvas* Canvas();
  // The bitmap's handle (created on demand: a 1x1 bitmap is never made for an empty image,
  // which has none). SetHandle takes ownership of a DIB section or device bitmap; a device
  // bitmap is converted to a DIB section of the device's format.
  HBITMAP Handle();
  void SetHandle(HBITMAP Value);
  bool HandleAllocated() const { return FHandle != nullptr; }
  // Gives the handle away: the caller owns it and the bitmap keeps a copy of the image.
  HBITMAP ReleaseHandle();
  // bmDDB for a bitmap of the device's format (pfDevice), bmDIB once a format was chosen; the
  // image is a DIB section either way.
  TBitmapHandleType HandleType() const { return FDevice ? bmDDB : bmDIB; }
  void SetHandleType(TBitmapHandleType Value);
  TPixelFormat PixelFormat() const;
  // Converts the image (colours are matched to the nearest entry of a default table below 16
  // bits: black and white for 1 bit, the 16 standard colours for 4, a 6x6x6 cube and grays for
  // 8).
  void SetPixelFormat(TPixelFormat Value);
  int BitsPerPixel() const { return FBitCount; }
  bool Monochrome() const { return FBitCount == 1; }
  void SetMonochrome(bool Value);
  // The colour table (formats under 16 bits), as 0x00BBGGRR colours.
  std::vector<TColor> ColorTable() const;
  void SetColorTable(const std::vector<TColor>& Colors);
  // Row Row (0 = top) of the pixel bits: BGR bytes for 24 bits, BGRx for 32, indexes below 16.
  // ERangeError outside the image.
  void* ScanLine(int Row);
  // tmAuto: the colour of the bottom-left pixel; tmFixed: the colour set.
  TColor TransparentColor();
  void SetTransparentColor(TColor Value);
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode Value);
  // A monochrome mask: white where the pixels are TransparentColor (computed when first asked,
  // freed with any change of the image).
  HBITMAP MaskHandle();
  // Makes the image its own mask for Color: pixels of that colour white, the others black.
  void Mask(TColor TransparentColor);
  // A new monochrome device bitmap of the image's size (the caller owns it): white where the
  // pixels have Color's RGB value, black elsewhere.
  HBITMAP CreateMaskHandle(TColor Color);
  HPALETTE Palette() override;
  void SetPalette(HPALETTE Value) override;
  bool IgnorePalette = false;

  // Operations.
  void Assign(TPersistent* Source) override;
  void SetSize(int AWidth, int AHeight) override;
  void SetWidth(int Value) override { SetSize(Value, FHeight); }
  void SetHeight(int Value) override { SetSize(FWidth, Value); }
  void SetTransparent(bool Value) override;
  // BMP files (BITMAPFILEHEADER and a header of 40 bytes or more, or an OS/2 one of 12 bytes;
  // uncompressed, RLE8/RLE4 and bit fields read). EInvalidGraphic on anything else.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  // A bitmap resource (RT_BITMAP) of the module; EResNotFound when absent.
  void LoadFromResourceName(HINSTANCE Instance, const String& ResName);
  void LoadFromResourceID(HINSTANCE Instance, int ResID);
  void LoadFromClipboardFormat(UINT Format, HANDLE Data, HPALETTE Palette) override;
  void SaveToClipboardFormat(UINT& Format, HANDLE& Data, HPALETTE& Palette) override;
  // Frees the image: width and height 0.
  void FreeImage();
  // Keeps the image in memory without a device context (the canvas's context is released).
  void Dormant();
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;

 protected:
  bool GetEmpty() override { return FHandle == nullptr; }
  int GetWidth() override { return FWidth; }
  int GetHeight() override { return FHeight; }
  void Changed(TObject* Sender) override;
  void ReadData(TStream* Stream) override;
  void WriteData(TStream* Stream) override;

 private:
  // Replaces the image by a new DIB section (bottom-up) with Bits, or white without them.
  void NewImage(int AWidth, int AHeight, int BitCount, bool Rgb565, const std::vector<RGBQUAD>& Colors,
                const void* Bits);
  // Copies the image of a bitmap (a device bitmap or a DIB section), which stays the caller's.
  void CopyFromHandle(HBITMAP Source);
  // Converts the image to another layout, through GDI.
  void Convert(int BitCount, bool Rgb565, const std::vector<RGBQUAD>& Colors);
  // A packed DIB: header, colour table or masks, bits at BitsOffset from Data (0: right after
  // the table).
  void LoadDIB(const std::uint8_t* Data, std::size_t Size, std::size_t BitsOffset);
  void FreeContext();
  void FreeMask();
  void FreePalette();
  COLORREF PixelRGB(int X, int Y) const;

  TOwnedBitmap FHandle;
  std::uint8_t* FBits = nullptr;
  int FWidth = 0;
  int FHeight = 0;
  int FBitCount = 32;
  bool FRgb565 = false;
  int FStride = 0;
  std::vector<RGBQUAD> FColors;
  // Never given a format: a bitmap "of the device" (a 32-bit section here), pfDevice and bmDDB.
  bool FDevice = true;
  TBitmapCanvas* FCanvas = nullptr;
  TOwnedBitmap FMaskHandle;
  TColor FMaskColor = clNone;
  TOwnedPalette FPalette;
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = tmAuto;
};

// The size of an icon handle's colour image (a monochrome icon's mask holds two images); false
// when the handle is no icon.
bool IconImageSize(HICON Icon, int& Width, int& Height);

// Screen pixels per inch along LOGPIXELSX or LOGPIXELSY; 96 when the screen does not say.
int ScreenPixelsPerInch(int Axis = LOGPIXELSY);

// An icon (ICO file: the image closest to the system's icon size of the file is used; saving
// writes the file read, or one image made from the handle). Always drawn transparently.
class TIcon : public TGraphic {
  VELBOR_DECLARE_CLASS(TIcon, TGraphic)
 public:
  TIcon();
  ~TIcon() override;

  HICON Handle();
  // Takes ownership of Value.
  void SetHandle(HICON Value);
  HICON ReleaseHandle();
  bool HandleAllocated() const { return FHandle != nullptr; }

  // An icon's size comes from its image: EInvalidGraphicOperation.
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;
  // Icons are always transparent.
  void SetTransparent(bool) override {}

  void Assign(TPersistent* Source) override;
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  // The clipboard carries the icon's file image, under the format TPicture has registered for
  // icons (EInvalidGraphicOperation while none is).
  void LoadFromClipboardFormat(UINT Format, HANDLE Data, HPALETTE Palette) override;
  void SaveToClipboardFormat(UINT& Format, HANDLE& Data, HPALETTE& Palette) override;
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;

 protected:
  bool GetEmpty() override { return FHandle == nullptr && FData.empty(); }
  int GetWidth() override;
  int GetHeight() override;
  bool GetTransparent() override { return true; }

 private:
  void FreeHandle();
  HICON FHandle = nullptr;
  String FData;  // the ICO file read, written back as it was
  int FWidth = 0;
  int FHeight = 0;
};

// An enhanced metafile: recorded through a TMetafileCanvas, played back by Draw, read from and
// written to EMF files.
class TMetafile : public TGraphic {
  VELBOR_DECLARE_CLASS(TMetafile, TGraphic)
 public:
  TMetafile() = default;
  ~TMetafile() override;

  HENHMETAFILE Handle() const { return FHandle; }
  // Takes ownership of Value; the size comes from its header.
  void SetHandle(HENHMETAFILE Value);
  HENHMETAFILE ReleaseHandle();
  bool Enhanced = true;
  // The picture's size in 0.01 mm; Width and Height are in screen pixels.
  int MMWidth() const { return FMMWidth; }
  void SetMMWidth(int Value);
  int MMHeight() const { return FMMHeight; }
  void SetMMHeight(int Value);
  String CreatedBy;
  String Description;

  // In pixels of the screen; MMWidth/MMHeight follow.
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;
  void SetTransparent(bool) override {}

  void Assign(TPersistent* Source) override;
  void Clear();
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;

 protected:
  bool GetEmpty() override { return FHandle == nullptr; }
  int GetWidth() override;
  int GetHeight() override;
  bool GetTransparent() override { return true; }

 private:
  HENHMETAFILE FHandle = nullptr;
  int FMMWidth = 0;
  int FMMHeight = 0;
};

// Records drawing into Metafile; the recording is handed to the metafile when the canvas is
// destroyed. ReferenceDevice (nullptr: the screen) gives the resolution.
class TMetafileCanvas : public TCanvas {
  VELBOR_DECLARE_CLASS(TMetafileCanvas, TCanvas)
 public:
  TMetafileCanvas(TMetafile* AMetafile, HDC ReferenceDevice);
  TMetafileCanvas(TMetafile* AMetafile, HDC ReferenceDevice, const String& CreatedBy, const String& Description);
  ~TMetafileCanvas() override;

 private:
  TMetafile* FMetafile;
  HDC FDC = nullptr;
};

namespace GraphicsDetail {
// Draws Src's rectangle into Dest's rectangle except where Mask (a monochrome device bitmap in
// the source's coordinates) is white.
void MaskedStretch(HDC Dest, const TRect& DestRect, HDC Src, const TRect& SrcRect, HBITMAP Mask);
}  // namespace GraphicsDetail

// --- Picture --------------------------------------------------------------------------------

// Holds one graphic of any registered class. Files are recognised by extension (LoadFromFile)
// or by their first bytes (LoadFromStream); form descriptions hold the graphic as "Data": a
// byte giving the length of the class name, the class name, then the graphic's own data.
class TPicture : public TPersistent {
  VELBOR_DECLARE_CLASS(TPicture, TPersistent)
 public:
  TPicture() = default;
  ~TPicture() override;

  // Properties.
  TGraphic* Graphic() const { return FGraphic; }
  // A copy of Value (nullptr empties the picture).
  void SetGraphic(TGraphic* Value);
  // The graphic as a bitmap, icon or metafile; a graphic of another class is replaced by an
  // empty one of the asked class.
  TBitmap* Bitmap();
  void SetBitmap(TBitmap* Value);
  TIcon* Icon();
  void SetIcon(TIcon* Value);
  TMetafile* Metafile();
  void SetMetafile(TMetafile* Value);
  int Width() const;
  int Height() const;
  TPersistent* OwnerObject = nullptr;
  TPersistent* GetOwner() override { return OwnerObject; }

  // Operations.
  void Assign(TPersistent* Source) override;
  // By extension, case-insensitively; EInvalidGraphic "Extension de fichier graphique inconnue"
  // for one no class registered.
  void LoadFromFile(const String& FileName);
  void SaveToFile(const String& FileName);
  // By signature: "BM" bitmaps, FF D8 JPEG, 00 00 01 00 icons, an EMR_HEADER record metafiles.
  void LoadFromStream(TStream* Stream);
  void SaveToStream(TStream* Stream);

  // The registered formats. TBitmap ("bmp"), TIcon ("ico"), TMetafile ("emf") are registered
  // here; Jpeg.cpp adds TJPEGImage ("jpg", "jpeg").
  static void RegisterFileFormat(const String& Extension, const String& Description, TGraphicClass GraphicClass);
  // Signature test: true when Data (the first bytes of a stream, at least 16 when the stream
  // has them) starts a file of GraphicClass.
  using TSignatureTest = bool (*)(const std::uint8_t* Data, std::size_t Size);
  static void RegisterSignature(TSignatureTest Test, TGraphicClass GraphicClass);
  static TGraphicClass FindGraphicClassByExtension(const String& Extension);
  // Clipboard formats other than the bitmaps and metafiles the clipboard knows itself: the graphic
  // class that reads (LoadFromClipboardFormat) and writes (SaveToClipboardFormat) each.
  static void RegisterClipboardFormat(UINT Format, TGraphicClass GraphicClass);
  static bool SupportsClipboardFormat(UINT Format);
  // The first format registered for GraphicClass, or 0.
  static UINT ClipboardFormatOf(TGraphicClass GraphicClass);
  // A new graphic of the class registered for Format, read from Data; EInvalidGraphic for a
  // format no class registered.
  void LoadFromClipboardFormat(UINT Format, HANDLE Data, HPALETTE Palette);

  TNotifyEvent OnChange;

 protected:
  void AssignTo(TPersistent* Dest) override;
  void DefineProperties(TFiler* Filer) override;
  virtual void Changed(TObject* Sender);

 private:
  void ForceType(TGraphicClass Class);
  void TakeGraphic(TGraphic* Value);  // owns Value
  void GraphicChanged(TObject* Sender) { Changed(Sender); }
  void ReadData(TStream* Stream);
  void WriteData(TStream* Stream);
  TGraphic* FGraphic = nullptr;
};
