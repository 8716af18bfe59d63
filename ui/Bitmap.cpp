// This file implements TBitmap (a DIB section with its canvas, BMP files, masks and pixel
// formats) and the masked drawing shared by the graphics.
#include <algorithm>
#include <cstring>
#include <optional>

#include "Format.h"
#include "Graphics.h"
#include "Resources.h"
#include "ScopeGuard.h"
#include "Streams.h"

namespace {

constexpr int DeviceBitCount = 32;

int StrideOf(int Width, int BitCount) { return ((Width * BitCount + 31) / 32) * 4; }

RGBQUAD Quad(int R, int G, int B) { return RGBQUAD{BYTE(B), BYTE(G), BYTE(R), 0}; }

// The colour tables given to a new format: black and white; the 16 standard colours; a 6x6x6
// cube followed by 40 grays.
std::vector<RGBQUAD> DefaultColors(int BitCount) {
  std::vector<RGBQUAD> c;
  if (BitCount == 1) {
    c = {Quad(0, 0, 0), Quad(255, 255, 255)};
  } else if (BitCount == 4) {
    c = {Quad(0, 0, 0),       Quad(128, 0, 0),   Quad(0, 128, 0),   Quad(128, 128, 0),
         Quad(0, 0, 128),     Quad(128, 0, 128), Quad(0, 128, 128), Quad(192, 192, 192),
         Quad(128, 128, 128), Quad(255, 0, 0),   Quad(0, 255, 0),   Quad(255, 255, 0),
         Quad(0, 0, 255),     Quad(255, 0, 255), Quad(0, 255, 255), Quad(255, 255, 255)};
  } else if (BitCount == 8) {
    for (int r = 0; r < 6; ++r)
      for (int g = 0; g < 6; ++g)
        for (int b = 0; b < 6; ++b) c.push_back(Quad(r * 51, g * 51, b * 51));
    for (int i = 0; i < 40; ++i) c.push_back(Quad(i * 255 / 39, i * 255 / 39, i * 255 / 39));
  }
  return c;
}

// A BITMAPINFO with room for 256 colours or three masks.
struct TBitmapInfo {
  BITMAPINFOHEADER Header;
  RGBQUAD Colors[256];
};

void FillInfo(TBitmapInfo& Info, int Width, int Height, int BitCount, bool Rgb565, const std::vector<RGBQUAD>& Colors) {
  std::memset(&Info, 0, sizeof(Info));
  Info.Header.biSize = sizeof(BITMAPINFOHEADER);
  Info.Header.biWidth = Width;
  Info.Header.biHeight = Height;
  Info.Header.biPlanes = 1;
  Info.Header.biBitCount = WORD(BitCount);
  Info.Header.biCompression = Rgb565 ? BI_BITFIELDS : BI_RGB;
  Info.Header.biSizeImage = DWORD(StrideOf(Width, BitCount) * Height);
  if (Rgb565) {
    const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
    std::memcpy(Info.Colors, masks, sizeof(masks));
  } else if (BitCount <= 8) {
    std::size_t n = std::min<std::size_t>(Colors.size(), std::size_t(1) << BitCount);
    Info.Header.biClrUsed = DWORD(n);
    std::copy_n(Colors.begin(), n, Info.Colors);
  }
}

[[noreturn]] void InvalidBitmap() { throw EInvalidGraphic("L'image bitmap n'est pas valide"_a); }

template <class T>
T ReadLE(const std::uint8_t* P) {
  T v;
  std::memcpy(&v, P, sizeof(T));
  return v;
}

}  // namespace

// --- Masked drawing -----------------------------------------------------------------------------

namespace GraphicsDetail {

// dest ^= src; dest &= ~mask (the mask expands to black where opaque); dest ^= src: the
// transparent pixels keep the destination, the others become the source.
void MaskedStretch(HDC Dest, const TRect& DestRect, HDC Src, const TRect& SrcRect, HBITMAP Mask) {
  TBitmapDC mask(Mask);
  COLORREF oldText = ::SetTextColor(Dest, RGB(0, 0, 0));
  COLORREF oldBk = ::SetBkColor(Dest, RGB(255, 255, 255));
  int oldMode = ::SetStretchBltMode(Dest, COLORONCOLOR);
  int dx = DestRect.Left, dy = DestRect.Top, dw = DestRect.Width(), dh = DestRect.Height();
  int sx = SrcRect.Left, sy = SrcRect.Top, sw = SrcRect.Width(), sh = SrcRect.Height();
  ::StretchBlt(Dest, dx, dy, dw, dh, Src, sx, sy, sw, sh, SRCINVERT);
  ::StretchBlt(Dest, dx, dy, dw, dh, mask, sx, sy, sw, sh, SRCAND);
  ::StretchBlt(Dest, dx, dy, dw, dh, Src, sx, sy, sw, sh, SRCINVERT);
  ::SetStretchBltMode(Dest, oldMode);
  ::SetBkColor(Dest, oldBk);
  ::SetTextColor(Dest, oldText);
}

}  // namespace GraphicsDetail

// --- TBitmapCanvas ------------------------------------------------------------------------------

// The canvas of a bitmap: a memory DC that selects the bitmap while the canvas is in use.
class TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap* ABitmap) : FBitmap(ABitmap) {
    OnChange = TNotifyEvent(this, &TBitmapCanvas::ImageChanged);
  }
  ~TBitmapCanvas() override { FreeContext(); }

  void FreeContext() {
    if (!FDC) return;
    SetHandle(nullptr);
    FDC.reset();
  }

 protected:
  void CreateHandle() override {
    FDC.emplace(FBitmap->FHandle);
    if (!*FDC) {
      FDC.reset();
      throw EOutOfResources("Ressources système insuffisantes"_a);
    }
    SetHandle(*FDC);
  }

 private:
  void ImageChanged(TObject*) { FBitmap->Changed(FBitmap); }

  TBitmap* FBitmap;
  std::optional<TBitmapDC> FDC;  // while the canvas is in use
};

// --- TBitmap ------------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TBitmap)

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
  delete FCanvas;
}

TCanvas* TBitmap::Canvas() {
  if (!FCanvas) FCanvas = new TBitmapCanvas(this);
  return FCanvas;
}

void TBitmap::FreeContext() {
  if (FCanvas) FCanvas->FreeContext();
}

void TBitmap::FreeMask() { FMaskHandle.Reset(); }

void TBitmap::FreePalette() { FPalette.Reset(); }

void TBitmap::Changed(TObject* Sender) {
  FreeMask();
  inherited::Changed(Sender);
}

void TBitmap::NewImage(int AWidth, int AHeight, int BitCount, bool Rgb565, const std::vector<RGBQUAD>& Colors,
                       const void* Bits) {
  FreeContext();
  FreeMask();
  FreePalette();
  FHandle.Reset();
  FBits = nullptr;
  FBitCount = BitCount;
  FRgb565 = Rgb565 && BitCount == 16;
  FColors = BitCount <= 8 ? Colors : std::vector<RGBQUAD>();
  if (AWidth <= 0 || AHeight <= 0) {
    FWidth = FHeight = FStride = 0;
    return;
  }
  TBitmapInfo info;
  FillInfo(info, AWidth, AHeight, BitCount, FRgb565, FColors);
  void* bits = nullptr;
  HBITMAP section = ::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!section) {
    FWidth = FHeight = FStride = 0;
    throw EOutOfResources("Ressources système insuffisantes"_a);
  }
  FHandle.Reset(section);
  FBits = static_cast<std::uint8_t*>(bits);
  FWidth = AWidth;
  FHeight = AHeight;
  FStride = StrideOf(AWidth, BitCount);
  if (Bits) {
    std::memcpy(FBits, Bits, std::size_t(FStride) * std::size_t(FHeight));
  } else {
    TBitmapDC dc(FHandle);
    ::PatBlt(dc, 0, 0, FWidth, FHeight, WHITENESS);
    ::GdiFlush();
  }
}

void TBitmap::Convert(int BitCount, bool Rgb565, const std::vector<RGBQUAD>& Colors) {
  if (!FHandle) {
    FBitCount = BitCount;
    FRgb565 = Rgb565 && BitCount == 16;
    FColors = BitCount <= 8 ? Colors : std::vector<RGBQUAD>();
    return;
  }
  FreeContext();
  TOwnedBitmap old(FHandle.Release());  // kept alive for the copy below
  int w = FWidth, h = FHeight;
  try {
    NewImage(w, h, BitCount, Rgb565, Colors, nullptr);
  } catch (...) {
    FHandle = std::move(old);
    throw;
  }
  {
    TBitmapDC src(old);
    TBitmapDC dst(FHandle);
    // Towards one bit per pixel, white stays white and every other colour turns black.
    ::SetBkColor(src, RGB(255, 255, 255));
    ::BitBlt(dst, 0, 0, w, h, src, 0, 0, SRCCOPY);
  }
  ::GdiFlush();
}

void TBitmap::CopyFromHandle(HBITMAP Source) {
  DIBSECTION ds = {};
  int got = ::GetObjectA(Source, sizeof(ds), &ds);
  if (got < int(sizeof(BITMAP))) throw EInvalidGraphic("Handle de bitmap non valide");
  int w = ds.dsBm.bmWidth, h = std::abs(ds.dsBm.bmHeight);
  int bitCount = ds.dsBm.bmBitsPixel * ds.dsBm.bmPlanes;
  bool isSection = got == int(sizeof(DIBSECTION));
  bool rgb565 = false;
  if (bitCount == 16) rgb565 = isSection && ds.dsBmih.biCompression == BI_BITFIELDS && ds.dsBitfields[1] == 0x07E0;
  else if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24) bitCount = 32;
  TBitmapInfo info;
  FillInfo(info, w, h, bitCount, rgb565, {});
  if (bitCount <= 8) info.Header.biClrUsed = 0;  // GetDIBits fills the whole table
  std::vector<std::uint8_t> bits(std::size_t(StrideOf(w, bitCount)) * std::size_t(h));
  int lines = ::GetDIBits(TOwnedDC::Compatible(), Source, 0, UINT(h), bits.data(), reinterpret_cast<BITMAPINFO*>(&info),
                          DIB_RGB_COLORS);
  if (lines != h) throw EInvalidGraphic("Handle de bitmap non valide");
  std::vector<RGBQUAD> colors;
  if (bitCount <= 8) colors.assign(info.Colors, info.Colors + (1 << bitCount));
  NewImage(w, h, bitCount, rgb565, colors, bits.data());
  FDevice = !isSection && bitCount > 8;
}

HBITMAP TBitmap::Handle() { return FHandle; }

void TBitmap::SetHandle(HBITMAP Value) {
  if (Value == FHandle) return;
  if (Value) {
    TOwnedBitmap given(Value);
    CopyFromHandle(given);
  } else {
    NewImage(0, 0, FBitCount, FRgb565, FColors, nullptr);
  }
  Changed(this);
}

HBITMAP TBitmap::ReleaseHandle() {
  if (!FHandle) return nullptr;
  FreeContext();
  HBITMAP released = FHandle.Release();  // NewImage must not free it
  GdiFlush();
  NewImage(FWidth, FHeight, FBitCount, FRgb565, FColors, FBits);
  return released;
}

void TBitmap::SetHandleType(TBitmapHandleType Value) {
  if (Value == HandleType()) return;
  SetPixelFormat(Value == bmDDB ? pfDevice : pf32bit);
}

TPixelFormat TBitmap::PixelFormat() const {
  if (FDevice) return pfDevice;
  switch (FBitCount) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return FRgb565 ? pf16bit : pf15bit;
    case 24: return pf24bit;
    case 32: return pf32bit;
    default: return pfCustom;
  }
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  int bitCount = DeviceBitCount;
  switch (Value) {
    case pf1bit: bitCount = 1; break;
    case pf4bit: bitCount = 4; break;
    case pf8bit: bitCount = 8; break;
    case pf15bit:
    case pf16bit: bitCount = 16; break;
    case pf24bit: bitCount = 24; break;
    case pf32bit: bitCount = 32; break;
    case pfDevice: bitCount = DeviceBitCount; break;
    case pfCustom: throw EInvalidGraphicOperation("Format de pixel non pris en charge");
  }
  if (Value == PixelFormat()) return;
  bool rgb565 = Value == pf16bit;
  if (bitCount != FBitCount || rgb565 != FRgb565) Convert(bitCount, rgb565, DefaultColors(bitCount));
  FDevice = Value == pfDevice;
  Changed(this);
}

void TBitmap::SetMonochrome(bool Value) {
  if (Value == Monochrome()) return;
  SetPixelFormat(Value ? pf1bit : pfDevice);
}

std::vector<TColor> TBitmap::ColorTable() const {
  std::vector<TColor> result;
  for (const RGBQUAD& q : FColors) result.push_back(RGBToColor(q.rgbRed, q.rgbGreen, q.rgbBlue));
  return result;
}

void TBitmap::SetColorTable(const std::vector<TColor>& Colors) {
  if (FBitCount > 8) throw EInvalidGraphicOperation("Ce format de pixel n'a pas de table de couleurs");
  std::vector<RGBQUAD> table(std::size_t(1) << FBitCount, Quad(0, 0, 0));
  for (std::size_t i = 0; i < Colors.size() && i < table.size(); ++i) {
    COLORREF c = ColorToRGB(Colors[i]);
    table[i] = Quad(GetRValue(c), GetGValue(c), GetBValue(c));
  }
  FColors = table;
  FreePalette();
  if (FHandle) {
    FreeContext();
    TBitmapDC dc(FHandle);
    ::SetDIBColorTable(dc, 0, UINT(table.size()), table.data());
  }
  Changed(this);
}

void* TBitmap::ScanLine(int Row) {
  if (Row < 0 || Row >= FHeight) throw ERangeError("Indice de ligne de balayage hors limites");
  ::GdiFlush();
  // Writing through the pointer changes the image: the cached mask no longer holds.
  FreeMask();
  return FBits + std::size_t(FHeight - 1 - Row) * std::size_t(FStride);
}

COLORREF TBitmap::PixelRGB(int X, int Y) const {
  const std::uint8_t* row = FBits + std::size_t(FHeight - 1 - Y) * std::size_t(FStride);
  auto fromTable = [&](unsigned Index) -> COLORREF {
    if (Index >= FColors.size()) return 0;
    return RGB(FColors[Index].rgbRed, FColors[Index].rgbGreen, FColors[Index].rgbBlue);
  };
  switch (FBitCount) {
    case 1: return fromTable((row[X / 8] >> (7 - X % 8)) & 1);
    case 4: return fromTable((row[X / 2] >> (X % 2 ? 0 : 4)) & 0xF);
    case 8: return fromTable(row[X]);
    case 16: {
      unsigned v = ReadLE<std::uint16_t>(row + 2 * X);
      if (FRgb565) return RGB(((v >> 11) & 31) * 255 / 31, ((v >> 5) & 63) * 255 / 63, (v & 31) * 255 / 31);
      return RGB(((v >> 10) & 31) * 255 / 31, ((v >> 5) & 31) * 255 / 31, (v & 31) * 255 / 31);
    }
    case 24: return RGB(row[3 * X + 2], row[3 * X + 1], row[3 * X]);
    default: return RGB(row[4 * X + 2], row[4 * X + 1], row[4 * X]);
  }
}

HBITMAP TBitmap::CreateMaskHandle(TColor Color) {
  if (!FHandle) return nullptr;
  ::GdiFlush();
  COLORREF key = ColorToRGB(Color);
  // A device bitmap's rows are aligned on 16 bits, top row first.
  int stride = ((FWidth + 15) / 16) * 2;
  std::vector<std::uint8_t> bits(std::size_t(stride) * std::size_t(FHeight), 0);
  for (int y = 0; y < FHeight; ++y)
    for (int x = 0; x < FWidth; ++x)
      if (PixelRGB(x, y) == key) bits[std::size_t(y) * stride + x / 8] |= std::uint8_t(0x80 >> (x % 8));
  HBITMAP mask = ::CreateBitmap(FWidth, FHeight, 1, 1, bits.data());
  if (!mask) throw EOutOfResources("Ressources système insuffisantes"_a);
  return mask;
}

HBITMAP TBitmap::MaskHandle() {
  if (!FMaskHandle) FMaskHandle.Reset(CreateMaskHandle(TransparentColor()));
  return FMaskHandle;
}

void TBitmap::Mask(TColor TransparentColor) {
  if (!FHandle) return;
  ::GdiFlush();
  COLORREF key = ColorToRGB(TransparentColor);
  int stride = StrideOf(FWidth, 1);
  std::vector<std::uint8_t> bits(std::size_t(stride) * std::size_t(FHeight), 0);
  for (int y = 0; y < FHeight; ++y) {
    std::uint8_t* row = bits.data() + std::size_t(FHeight - 1 - y) * stride;
    for (int x = 0; x < FWidth; ++x)
      if (PixelRGB(x, y) == key) row[x / 8] |= std::uint8_t(0x80 >> (x % 8));
  }
  NewImage(FWidth, FHeight, 1, false, DefaultColors(1), bits.data());
  FDevice = false;
  Changed(this);
}

TColor TBitmap::TransparentColor() {
  if (FTransparentColor != clDefault) return TColor(ColorToRGB(FTransparentColor));
  if (!FHandle) return clWhite;
  if (Monochrome()) return clWhite;
  ::GdiFlush();
  return TColor(PixelRGB(0, FHeight - 1));
}

void TBitmap::SetTransparentColor(TColor Value) {
  if (Value == FTransparentColor) return;
  FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
  FTransparentColor = Value;
  Changed(this);
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
  if (Value == FTransparentMode) return;
  if (Value == tmAuto) SetTransparentColor(clDefault);
  else SetTransparentColor(TransparentColor());
}

void TBitmap::SetTransparent(bool Value) {
  FreeMask();
  inherited::SetTransparent(Value);
}

HPALETTE TBitmap::Palette() {
  if (!FPalette && !FColors.empty()) {
    std::vector<std::uint8_t> buffer(sizeof(LOGPALETTE) + FColors.size() * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(buffer.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = WORD(FColors.size());
    for (std::size_t i = 0; i < FColors.size(); ++i)
      lp->palPalEntry[i] = PALETTEENTRY{FColors[i].rgbRed, FColors[i].rgbGreen, FColors[i].rgbBlue, 0};
    FPalette.Reset(::CreatePalette(lp));
  }
  return FPalette;
}

void TBitmap::SetPalette(HPALETTE Value) {
  std::vector<TColor> colors;
  if (Value) {
    PALETTEENTRY entries[256];
    UINT n = ::GetPaletteEntries(Value, 0, 256, entries);
    for (UINT i = 0; i < n; ++i) colors.push_back(RGBToColor(entries[i].peRed, entries[i].peGreen, entries[i].peBlue));
  }
  if (FBitCount <= 8 && !colors.empty()) SetColorTable(colors);
  FPalette.Reset(Value);
}

void TBitmap::SetSize(int AWidth, int AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (AWidth == FWidth && AHeight == FHeight) return;
  FreeContext();
  TOwnedBitmap old(FHandle.Release());  // kept for the copy
  int oldW = FWidth, oldH = FHeight;
  try {
    NewImage(AWidth, AHeight, FBitCount, FRgb565, FColors, nullptr);
  } catch (...) {
    FHandle = std::move(old);
    FWidth = oldW;
    FHeight = oldH;
    throw;
  }
  if (old && FHandle) {
    // The old image stays at the top-left corner; new parts are white.
    TBitmapDC src(old);
    TBitmapDC dst(FHandle);
    ::BitBlt(dst, 0, 0, std::min(oldW, AWidth), std::min(oldH, AHeight), src, 0, 0, SRCCOPY);
    ::GdiFlush();
  }
  Changed(this);
}

void TBitmap::FreeImage() {
  NewImage(0, 0, FBitCount, FRgb565, FColors, nullptr);
  Changed(this);
}

void TBitmap::Dormant() { FreeContext(); }

void TBitmap::Assign(TPersistent* Source) {
  if (!Source) {
    FreeImage();
    return;
  }
  if (auto* b = dynamic_cast<TBitmap*>(Source)) {
    if (b == this) return;
    ::GdiFlush();
    NewImage(b->FWidth, b->FHeight, b->FBitCount, b->FRgb565, b->FColors, b->FBits);
    FDevice = b->FDevice;
    FTransparentColor = b->FTransparentColor;
    FTransparentMode = b->FTransparentMode;
    inherited::SetTransparent(b->Transparent());
    Changed(this);
    return;
  }
  if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    // Any other graphic is drawn on a white image of its size.
    NewImage(g->Width(), g->Height(), FBitCount, FRgb565, FColors, nullptr);
    if (FHandle) Canvas()->Draw(0, 0, g);
    Changed(this);
    return;
  }
  inherited::Assign(Source);
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (!FHandle) return;
  HDC src = Canvas()->Handle();
  HDC dest = ACanvas->Handle();
  bool usePalette = !IgnorePalette && Palette() && (::GetDeviceCaps(dest, RASTERCAPS) & RC_PALETTE);
  TSelectedPalette palette(dest, usePalette ? Palette() : nullptr, true);
  if (Transparent()) {
    GraphicsDetail::MaskedStretch(dest, Rect, src, TRect(0, 0, FWidth, FHeight), MaskHandle());
  } else {
    int oldMode = ::SetStretchBltMode(dest, COLORONCOLOR);
    ::StretchBlt(dest, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), src, 0, 0, FWidth, FHeight,
                 ACanvas->CopyMode());
    ::SetStretchBltMode(dest, oldMode);
  }
}

// --- BMP files ----------------------------------------------------------------------------------

void TBitmap::LoadDIB(const std::uint8_t* Data, std::size_t Size, std::size_t BitsOffset) {
  if (Size < 12) InvalidBitmap();
  DWORD headerSize = ReadLE<DWORD>(Data);
  int width, height, bitCount;
  DWORD compression = BI_RGB, clrUsed = 0;
  std::size_t tableOffset = headerSize;
  std::size_t entrySize = 4;
  DWORD masks[3] = {0, 0, 0};
  if (headerSize == 12) {
    width = ReadLE<std::uint16_t>(Data + 4);
    height = ReadLE<std::int16_t>(Data + 6);
    if (ReadLE<std::uint16_t>(Data + 8) != 1) InvalidBitmap();
    bitCount = ReadLE<std::uint16_t>(Data + 10);
    entrySize = 3;
  } else if (headerSize >= 40 && headerSize <= Size) {
    width = ReadLE<std::int32_t>(Data + 4);
    height = ReadLE<std::int32_t>(Data + 8);
    if (ReadLE<std::uint16_t>(Data + 12) != 1) InvalidBitmap();
    bitCount = ReadLE<std::uint16_t>(Data + 14);
    compression = ReadLE<DWORD>(Data + 16);
    clrUsed = ReadLE<DWORD>(Data + 32);
    if (compression == BI_BITFIELDS) {
      if (headerSize >= 52) {
        std::memcpy(masks, Data + 40, sizeof(masks));
      } else {
        if (Size < 40 + sizeof(masks)) InvalidBitmap();
        std::memcpy(masks, Data + 40, sizeof(masks));
        tableOffset += sizeof(masks);
      }
    }
  } else {
    InvalidBitmap();
  }
  bool knownDepth = bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
  bool knownCompression = compression == BI_RGB || (compression == BI_RLE8 && bitCount == 8) ||
                          (compression == BI_RLE4 && bitCount == 4) ||
                          (compression == BI_BITFIELDS && (bitCount == 16 || bitCount == 32));
  if (width < 0 || height == 0 || !knownDepth || !knownCompression) InvalidBitmap();
  if (width > 0x8000 || std::abs(height) > 0x8000) InvalidBitmap();
  bool topDown = height < 0;
  height = std::abs(height);

  std::vector<RGBQUAD> colors;
  if (bitCount <= 8) {
    std::size_t n = clrUsed && clrUsed < (1u << bitCount) ? clrUsed : (std::size_t(1) << bitCount);
    if (tableOffset + n * entrySize > Size) InvalidBitmap();
    for (std::size_t i = 0; i < n; ++i) {
      const std::uint8_t* e = Data + tableOffset + i * entrySize;
      colors.push_back(RGBQUAD{e[0], e[1], e[2], 0});
    }
    tableOffset += n * entrySize;
  }
  if (BitsOffset == 0) BitsOffset = tableOffset;
  if (BitsOffset > Size) InvalidBitmap();
  const std::uint8_t* bits = Data + BitsOffset;
  std::size_t bitsSize = Size - BitsOffset;

  bool rgb565 = compression == BI_BITFIELDS && bitCount == 16 && masks[0] == 0xF800 && masks[1] == 0x07E0 &&
                masks[2] == 0x001F;
  bool plain = compression == BI_RGB || rgb565 ||
               (compression == BI_BITFIELDS && bitCount == 16 && masks[0] == 0x7C00 && masks[1] == 0x03E0 &&
                masks[2] == 0x001F) ||
               (compression == BI_BITFIELDS && bitCount == 32 && masks[0] == 0xFF0000 && masks[1] == 0xFF00 &&
                masks[2] == 0xFF);
  int stride = StrideOf(width, bitCount);
  if (plain) {
    if (bitsSize < std::size_t(stride) * std::size_t(height)) InvalidBitmap();
    if (!topDown) {
      NewImage(width, height, bitCount, rgb565, colors, bits);
    } else {
      std::vector<std::uint8_t> flipped(std::size_t(stride) * std::size_t(height));
      for (int y = 0; y < height; ++y)
        std::memcpy(flipped.data() + std::size_t(y) * stride, bits + std::size_t(height - 1 - y) * stride, std::size_t(stride));
      NewImage(width, height, bitCount, rgb565, colors, flipped.data());
    }
  } else {
    // Run-length encoded and other bit-field layouts: GDI decodes them into a plain layout
    // (indexes keep their table; other masks become 32 bits).
    int targetBits = bitCount <= 8 ? bitCount : 32;
    NewImage(width, height, targetBits, false, colors, nullptr);
    std::vector<std::uint8_t> info(tableOffset);
    std::memcpy(info.data(), Data, tableOffset);
    if (entrySize == 3) InvalidBitmap();
    auto* bmi = reinterpret_cast<BITMAPINFO*>(info.data());
    if (compression == BI_RLE8 || compression == BI_RLE4) bmi->bmiHeader.biSizeImage = DWORD(bitsSize);
    int lines = ::SetDIBits(TOwnedDC::Compatible(), FHandle, 0, UINT(height), bits, bmi, DIB_RGB_COLORS);
    if (lines <= 0) InvalidBitmap();
  }
  FDevice = false;
}

void TBitmap::LoadFromStream(TStream* Stream) {
  BITMAPFILEHEADER header;
  static_assert(sizeof(BITMAPFILEHEADER) == 14);
  Stream->ReadBuffer(&header, sizeof(header));
  if (header.bfType != 0x4D42) InvalidBitmap();
  std::int64_t rest = Stream->Size() - Stream->Position();
  std::int64_t size = header.bfSize > sizeof(header) ? std::int64_t(header.bfSize - sizeof(header)) : rest;
  if (size > rest) InvalidBitmap();
  std::vector<std::uint8_t> data(static_cast<std::size_t>(size));
  Stream->ReadBuffer(data.data(), size);
  std::size_t bitsOffset = header.bfOffBits >= sizeof(header) ? header.bfOffBits - sizeof(header) : 0;
  LoadDIB(data.data(), data.size(), bitsOffset);
  Changed(this);
}

void TBitmap::SaveToStream(TStream* Stream) {
  if (!FHandle) return;
  ::GdiFlush();
  TBitmapInfo info;
  FillInfo(info, FWidth, FHeight, FBitCount, FRgb565, FColors);
  DWORD tableSize = FRgb565 ? 3 * sizeof(DWORD) : DWORD(info.Header.biClrUsed * sizeof(RGBQUAD));
  DWORD offBits = DWORD(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + tableSize);
  BITMAPFILEHEADER header = {};
  header.bfType = 0x4D42;
  header.bfSize = offBits + info.Header.biSizeImage;
  header.bfOffBits = offBits;
  Stream->WriteBuffer(&header, sizeof(header));
  Stream->WriteBuffer(&info.Header, sizeof(info.Header));
  Stream->WriteBuffer(info.Colors, tableSize);
  Stream->WriteBuffer(FBits, info.Header.biSizeImage);
}

void TBitmap::ReadData(TStream* Stream) {
  std::uint32_t size = 0;
  Stream->ReadBuffer(&size, 4);
  if (size == 0) {
    FreeImage();
    return;
  }
  TMemoryStream data;
  data.CopyFrom(Stream, size);
  data.SetPosition(0);
  LoadFromStream(&data);
}

void TBitmap::WriteData(TStream* Stream) {
  TMemoryStream data;
  SaveToStream(&data);
  std::uint32_t size = std::uint32_t(data.Size());
  Stream->WriteBuffer(&size, 4);
  if (size) Stream->WriteBuffer(data.Memory(), size);
}

void TBitmap::LoadFromResourceName(HINSTANCE Instance, const String& ResName) {
  HRSRC res = ::FindResourceA(Instance, ResName.c_str(), reinterpret_cast<LPCSTR>(RT_BITMAP));
  if (!res) throw EResNotFound(Format("Ressource %s introuvable", {ResName}));
  HGLOBAL global = ::LoadResource(Instance, res);
  const auto* data = static_cast<const std::uint8_t*>(global ? ::LockResource(global) : nullptr);
  if (!data) throw EResNotFound(Format("Ressource %s introuvable", {ResName}));
  LoadDIB(data, ::SizeofResource(Instance, res), 0);
  Changed(this);
}

void TBitmap::LoadFromResourceID(HINSTANCE Instance, int ResID) {
  HRSRC res = ::FindResourceA(Instance, MAKEINTRESOURCEA(ResID), reinterpret_cast<LPCSTR>(RT_BITMAP));
  if (!res) throw EResNotFound(Format("Ressource %d introuvable", {ResID}));
  HGLOBAL global = ::LoadResource(Instance, res);
  const auto* data = static_cast<const std::uint8_t*>(global ? ::LockResource(global) : nullptr);
  if (!data) throw EResNotFound(Format("Ressource %d introuvable", {ResID}));
  LoadDIB(data, ::SizeofResource(Instance, res), 0);
  Changed(this);
}

void TBitmap::LoadFromClipboardFormat(UINT Format, HANDLE Data, HPALETTE Palette) {
  if (Format == CF_BITMAP && Data) {
    CopyFromHandle(static_cast<HBITMAP>(Data));
  } else if (Format == CF_DIB && Data) {
    const auto* p = static_cast<const std::uint8_t*>(::GlobalLock(Data));
    if (!p) InvalidBitmap();
    TScopeGuard unlock([&] { ::GlobalUnlock(Data); });
    LoadDIB(p, ::GlobalSize(Data), 0);
  } else {
    throw EInvalidGraphic("Format de presse-papiers non pris en charge");
  }
  if (Palette && FBitCount <= 8) SetPalette(Palette);
  Changed(this);
}

void TBitmap::SaveToClipboardFormat(UINT& Format, HANDLE& Data, HPALETTE& Palette) {
  TMemoryStream file;
  SaveToStream(&file);
  Format = CF_DIB;
  Data = nullptr;
  Palette = nullptr;
  if (file.Size() <= std::int64_t(sizeof(BITMAPFILEHEADER))) return;
  std::size_t size = std::size_t(file.Size()) - sizeof(BITMAPFILEHEADER);
  Data = ::GlobalAlloc(GMEM_MOVEABLE, size);
  if (!Data) throw EOutOfResources("Ressources système insuffisantes"_a);
  std::memcpy(::GlobalLock(Data), static_cast<const std::uint8_t*>(file.Memory()) + sizeof(BITMAPFILEHEADER), size);
  ::GlobalUnlock(Data);
}
