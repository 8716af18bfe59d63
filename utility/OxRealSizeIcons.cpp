// This file implements icons drawn at the size stored in the icon itself.
#include "OxRealSizeIcons.h"

#include <cstring>
#include <vector>

#include "OxDrawUtils.h"
#include "Resources.h"
#include "ScopeGuard.h"
#include "Streams.h"

namespace {

[[noreturn]] void OutOfResources() { throw EOutOfResources("Ressources système insuffisantes"_a); }

[[noreturn]] void BadIcon() { throw EInvalidGraphic("Icône incorrecte"_a); }

// One entry of an icon file's directory, as stored (16 bytes).
struct TIconEntry {
  std::uint8_t Width, Height, ColorCount, Reserved;
  std::uint16_t Planes, BitCount;
  std::uint32_t BytesInRes, ImageOffset;
};
static_assert(sizeof(TIconEntry) == 16);

// A bitmap just made, or the failure raised.
TOwnedBitmap RequireBitmap(HBITMAP Handle) {
  if (!Handle) OutOfResources();
  return TOwnedBitmap(Handle);
}

}  // namespace

int DisplayColorWord() {
  TWindowDC dc;
  switch (GetDeviceCaps(dc, PLANES) * GetDeviceCaps(dc, BITSPIXEL)) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    case 32: return 1;
    default: return 0;
  }
}

int PickIconImage(const std::uint16_t* ColorWords, int Count, int DisplayColors) {
  int candidate = -1;
  int remembered = 0;
  for (int i = 0; i < Count; ++i) {
    int word = ColorWords[i];
    if (word == DisplayColors) return i;
    if (candidate < 0) {
      if (word <= DisplayColors) {
        candidate = i;
        remembered = word;
      }
    } else if (word > remembered) {
      candidate = i;
    }
  }
  return candidate < 0 ? 0 : candidate;
}

void ReadIconImage(TStream* Stream, HICON& IconHandle, int ImageCount, int StartOffset) {
  IconHandle = nullptr;
  if (ImageCount <= 0) BadIcon();
  std::vector<TIconEntry> entries(static_cast<std::size_t>(ImageCount));
  Stream->ReadBuffer(entries.data(), std::int64_t(sizeof(TIconEntry)) * ImageCount);
  std::vector<std::uint16_t> words;
  for (const TIconEntry& e : entries) words.push_back(std::uint16_t(e.ColorCount | (e.Reserved << 8)));
  const TIconEntry& chosen = entries[std::size_t(PickIconImage(words.data(), ImageCount, DisplayColorWord()))];

  std::int64_t skip = std::int64_t(chosen.ImageOffset) - StartOffset - 16LL * ImageCount;
  if (skip < 0 || chosen.BytesInRes < sizeof(BITMAPINFOHEADER) ||
      Stream->Position() + skip + std::int64_t(chosen.BytesInRes) > Stream->Size()) {
    BadIcon();
  }
  Stream->Seek(skip, soCurrent);
  std::vector<std::uint8_t> image(chosen.BytesInRes);
  Stream->ReadBuffer(image.data(), std::int64_t(image.size()));

  // The stored height covers the colour image and the mask below it.
  BITMAPINFOHEADER header;
  std::memcpy(&header, image.data(), sizeof header);
  int bits = header.biBitCount;
  int width = header.biWidth;
  int height = header.biHeight / 2;
  if (header.biSize < sizeof header || width <= 0 || height <= 0 || width > 1024 || height > 1024 ||
      (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)) {
    BadIcon();
  }
  std::size_t tableLength = bits <= 8 ? std::size_t(1) << bits : 0;
  std::size_t colorBytes = std::size_t(ScanLineBytes(width * bits)) * std::size_t(height);
  std::size_t maskBytes = std::size_t(ScanLineBytes(width)) * std::size_t(height);
  std::size_t colorStart = header.biSize + tableLength * sizeof(RGBQUAD);
  if (colorStart + colorBytes + maskBytes > image.size()) BadIcon();

  // The header and its colour table go to the system as one block, the height halved.
  std::vector<std::uint8_t> colorInfo(image.begin(), image.begin() + std::ptrdiff_t(colorStart));
  auto* colorHeader = reinterpret_cast<BITMAPINFOHEADER*>(colorInfo.data());
  colorHeader->biHeight = height;
  colorHeader->biSizeImage = DWORD(colorBytes);
  colorHeader->biClrUsed = 0;
  colorHeader->biCompression = BI_RGB;

  struct {
    BITMAPINFOHEADER Header;
    RGBQUAD Colors[2];
  } maskInfo = {};
  maskInfo.Header = *colorHeader;
  maskInfo.Header.biSize = sizeof(BITMAPINFOHEADER);
  maskInfo.Header.biBitCount = 1;
  maskInfo.Header.biSizeImage = DWORD(maskBytes);
  maskInfo.Colors[1] = RGBQUAD{255, 255, 255, 0};

  TWindowDC dc;
  if (!dc) OutOfResources();
  TOwnedBitmap color = RequireBitmap(CreateDIBitmap(dc, colorHeader, CBM_INIT, image.data() + colorStart,
                                     reinterpret_cast<BITMAPINFO*>(colorInfo.data()), DIB_RGB_COLORS));
  TOwnedBitmap mask = RequireBitmap(CreateBitmap(width, height, 1, 1, nullptr));
  if (!SetDIBits(dc, mask, 0, UINT(height), image.data() + colorStart + colorBytes,
                 reinterpret_cast<BITMAPINFO*>(&maskInfo), DIB_RGB_COLORS)) {
    OutOfResources();
  }

  BITMAP colorInfoOut{}, maskInfoOut{};
  if (!GetObjectA(color, sizeof colorInfoOut, &colorInfoOut) || !GetObjectA(mask, sizeof maskInfoOut, &maskInfoOut)) {
    OutOfResources();
  }
  std::size_t maskSize = std::size_t(maskInfoOut.bmWidthBytes) * std::size_t(maskInfoOut.bmHeight);
  std::size_t colorSize = std::size_t(colorInfoOut.bmWidthBytes) * std::size_t(colorInfoOut.bmHeight) *
                          std::size_t(colorInfoOut.bmPlanes);
  std::vector<std::uint8_t> both(maskSize + colorSize);
  GetBitmapBits(mask, LONG(maskSize), both.data());
  GetBitmapBits(color, LONG(colorSize), both.data() + maskSize);
  IconHandle = CreateIcon(MainInstance(), colorInfoOut.bmWidth, colorInfoOut.bmHeight, BYTE(colorInfoOut.bmPlanes),
                          BYTE(colorInfoOut.bmBitsPixel), both.data(), both.data() + maskSize);
  if (!IconHandle) OutOfResources();
}

HICON IconAtStoredSize(TIcon* Icon) {
  TMemoryStream stream;
  Icon->SaveToStream(&stream);
  stream.SetPosition(0);
  std::uint16_t header[3] = {};
  if (stream.Size() < std::int64_t(sizeof header)) return CopyIcon(Icon->Handle());
  stream.ReadBuffer(header, sizeof header);
  HICON result = nullptr;
  switch (header[1]) {
    case 0: result = CopyIcon(LoadIconA(nullptr, MAKEINTRESOURCEA(32512))); break;
    case 1: ReadIconImage(&stream, result, header[2], 6); break;
    default: result = CopyIcon(Icon->Handle()); break;
  }
  if (!result) OutOfResources();
  return result;
}

void MeasureIcon(HICON IconHandle, int& Width, int& Height) {
  Width = GetSystemMetrics(SM_CXICON);
  Height = GetSystemMetrics(SM_CYICON);
  IconImageSize(IconHandle, Width, Height);
}

void DrawRowImage(TCanvas* Canvas, const TRect& Box, TGraphic* Graphic) {
  if (Graphic == nullptr || Graphic->Empty()) return;
  HDC dc = Canvas->Handle();
  TOwnedRegion saved(CreateRectRgn(0, 0, 0, 0));
  bool hadClip = GetClipRgn(dc, saved) == 1;
  IntersectClipRect(dc, Box.Left, Box.Top, Box.Right, Box.Bottom);
  TScopeGuard restore([&] { SelectClipRgn(dc, hadClip ? saved.Get() : nullptr); });
  if (auto* bitmap = dynamic_cast<TBitmap*>(Graphic)) {
    DrawBitmapMasked(Canvas, (Box.Left + Box.Right - bitmap->Width()) / 2, (Box.Top + Box.Bottom - bitmap->Height()) / 2,
                     bitmap, bitmap->TransparentColor());
  } else if (auto* icon = dynamic_cast<TIcon*>(Graphic)) {
    HICON real = IconAtStoredSize(icon);
    int w = 0, h = 0;
    MeasureIcon(real, w, h);
    DrawIconEx(Canvas->Handle(), (Box.Left + Box.Right - w) / 2, (Box.Top + Box.Bottom - h) / 2, real, w, h, 0, nullptr,
               DI_NORMAL);
    DestroyIcon(real);
  } else {
    Canvas->Draw((Box.Left + Box.Right - Graphic->Width()) / 2, (Box.Top + Box.Bottom - Graphic->Height()) / 2, Graphic);
  }
}

UINT OxIconClipboardFormat() {
  static const UINT Format = [] {
    UINT format = RegisterClipboardFormatA(OxIconClipboardFormatName);
    // Pictures can be pasted from it once the icon class reads it.
    if (format != 0) TPicture::RegisterClipboardFormat(format, TIcon::StaticClass());
    return format;
  }();
  return Format;
}

void RegisterOxRealSizeIcons() { OxIconClipboardFormat(); }
