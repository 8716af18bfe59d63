// This file implements TqvBitmap, the grid library's graphic: a 24-bit device-independent bitmap
// section with its own memory device context and canvas, direct access to its pixel rows, smooth
// (bilinear) stretching, transparent drawing through a generated mask, palette handling for
// screens of 256 colours or fewer, a dormant in-memory copy, and pixel effects.
//
// Pixels are stored blue, green, red (3 bytes) from the top row down, each row padded to a
// multiple of 4 bytes; pixel (x, y) is at ScanLine(y) + 3x.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "Graphics.h"
#include "WinApi.h"

class TqvBitmap;

// Told after each change of an image it is linked to (AddLink).
class TqvBitmapLink : public TObject {
  VELBOR_DECLARE_CLASS(TqvBitmapLink, TObject)
 public:
  TqvBitmapLink() = default;
  TqvBitmap* Sender = nullptr;
  TNotifyEvent OnChange;
  virtual void Change();
};

class TqvBitmap : public TGraphic {
  VELBOR_DECLARE_CLASS(TqvBitmap, TGraphic)
 public:
  TqvBitmap();
  ~TqvBitmap() override;

  // Properties.
  // Drawing into a rectangle of another size uses the bilinear stretch.
  bool StretchSmoothly = false;
  // The colour transparent drawing and Tint leave out; clNone: the top-left pixel's colour for
  // the mask (Tint then spares nothing).
  TColor TransparentKey() const { return FTransparentKey; }
  void SetTransparentKey(TColor Value);
  // The filler bytes after each row (the width modulo 4), the bytes of a row with them, of the
  // whole image.
  int RowGap() const { return FGap; }
  int Pitch() const { return FPitch; }
  int ImageSize() const { return FSize; }
  std::uint8_t* Bits() const { return FBits; }
  // Row Row from the top; ERangeError outside the image.
  std::uint8_t* ScanLine(int Row) const;
  HBITMAP Handle() const { return FSection; }
  HDC DC() const { return FDC; }
  TCanvas* Canvas() const { return FCanvas; }
  // The format the image had when assigned from a platform bitmap, and gets back when assigned
  // to one.
  TPixelFormat PixelFormat = pf24bit;
  bool UseImagePalette = false;
  bool UseHalftonePalette = false;
  // Change notifications suppressed.
  bool MuteChanges = false;
  HPALETTE Palette() override { return FPalette; }
  // The colour of a pixel as a 0x00BBGGRR value, and its setting.
  TColor PixelColor(int X, int Y) const;
  void SetPixelColor(int X, int Y, TColor Color);
  bool HasMemoryImage() const { return !FMemory.empty(); }
  // The image has a monochrome mask (built by the first transparent drawing).
  bool HasMask() const { return FMask.Get() != nullptr; }

  // Operations.
  void AddLink(TqvBitmapLink* Link);
  void RemoveLink(TqvBitmapLink* Link);
  void Clear() { FreeImage(); }
  void FreeImage();
  void FreeMemoryImage();
  // A new white image (nothing for a zero width or height).
  void CreateImage(int AWidth, int AHeight);
  void AssignFromBitmap(TBitmap* Bitmap);
  void AssignFromGraphic(TGraphic* Graphic);
  void AssignFromPersistent(TPersistent* Source);
  // A new image from packed 24-bit rows (each padded to 4 bytes), top row first.
  void LoadFromBits(const std::uint8_t* Source, int SourceSize, int AWidth, int AHeight);
  void AssignToBitmap(TBitmap* Bitmap);
  void SetSize(int AWidth, int AHeight) override;
  void SetWidth(int Value) override { SetSize(Value, FHeight); }
  void SetHeight(int Value) override { SetSize(FWidth, Value); }
  // Changes the size, stretching the image into the new one.
  void Resize(int AWidth, int AHeight);
  // Keeps a copy of the pixels and frees the section; RestoreMemoryImage makes it again.
  void SaveToMemoryImage();
  void RestoreMemoryImage();
  void SmoothStretchDraw(TCanvas* ACanvas, const TRect& Rect);
  void StretchDrawImage(TCanvas* ACanvas, const TRect& Rect);
  // Copies of the image from the rectangle's origin, shifted by whole image sizes, covering it.
  void TileDraw(TCanvas* ACanvas, const TRect& Rect);
  void TransparentDraw(TCanvas* ACanvas, const TRect& Rect);
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  void Assign(TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) override;
  // A platform bitmap file.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  // No clipboard support: both do nothing.
  void LoadFromClipboardFormat(UINT, HANDLE, HPALETTE) override {}
  void SaveToClipboardFormat(UINT&, HANDLE&, HPALETTE&) override {}

  // Pixel effects (every channel limited to 0 .. 255).
  void Blur(int Radius);
  void Contrast(int Amount);
  void Emboss();
  void Flip(bool Horizontal);
  void BlurPasses(int Passes);
  void GrayScale();
  void Invert();
  void Lightness(int Amount);
  // Pixels of Color black, all others white.
  void MaskOfColor(TColor Color);
  void ReplaceColor(TColor NewColor, TColor OldColor);
  void AddColor(int Red, int Green, int Blue);
  void Tint(int Red, int Green, int Blue);
  void Tint(TColor Color);
  // Degrees clockwise on screen about (CentreX, CentreY); a coordinate below 0 means the middle.
  void Rotate(int CentreX, int CentreY, double Degrees);
  void Saturation(int Amount);
  void Sharpen(int Radius);
  void Spray(int Amount);
  void Wave(bool Wrap, int Amplitude, int RowPeriod, int ColumnPeriod);

 protected:
  bool GetEmpty() override { return FSection.Get() == nullptr; }
  int GetWidth() override { return FWidth; }
  int GetHeight() override { return FHeight; }
  // Nothing while MuteChanges; else the graphic's notification, then the links.
  void Changed(TObject* Sender) override;

 private:
  void SetupImage();
  void NotifyLinks();
  // Selects the image's own palette on screens of 256 colours or fewer; ReleaseOwnPalette puts the
  // old one back.
  void SelectOwnPalette(TCanvas* ACanvas, HPALETTE& OldPalette);
  void ReleaseOwnPalette(TCanvas* ACanvas, HPALETTE OldPalette);
  void BuildPalette();
  // A new section of w x h, its bits in Bits; the old image stays until SetupImage.
  HBITMAP NewSection(int AWidth, int AHeight, std::uint8_t*& NewBits) const;
  // The bilinear stretch of the image into Target (already sized).
  void StretchInto(TqvBitmap& Target) const;
  void BuildMask();
  // For each pixel: Op(b, g, r) on its three channels.
  template <class F>
  void ForEachPixel(F Op);

  TColor FTransparentKey = clNone;
  int FWidth = 0;
  int FHeight = 0;
  int FGap = 0;
  int FPitch = 0;
  int FSize = 0;
  std::uint8_t* FBits = nullptr;
  TOwnedBitmap FSection;
  TOwnedDC FDC;
  HGDIOBJ FOldBitmap = nullptr;
  TCanvas* FCanvas;
  TOwnedBitmap FMask;
  // The dormant copy: packed rows, and the size they had.
  std::vector<std::uint8_t> FMemory;
  int FMemoryWidth = 0;
  int FMemoryHeight = 0;
  HPALETTE FPalette = nullptr;
  std::vector<TqvBitmapLink*> FLinks;
  bool FAssigning = false;
  bool FSkipPalette = false;
  // [0] the source bitmap had a colour table; [1] it has more colour bits than the screen.
  bool FPaletteHints[2] = {false, false};
  std::vector<std::uint8_t*> FRows;
  RGBQUAD FColorTable[256] = {};
  std::minstd_rand FRandom;
};

// Clamps a channel value to a byte.
inline std::uint8_t qvClampByte(int Value) { return std::uint8_t(Value < 0 ? 0 : Value > 255 ? 255 : Value); }
