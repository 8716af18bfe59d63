// This file implements TIcon: icons read from ICO files (or given as handles), drawn with their
// mask, and written back as ICO files.
#include <cstring>

#include "Graphics.h"
#include "ScopeGuard.h"
#include "Streams.h"

namespace {

[[noreturn]] void InvalidIcon() { throw EInvalidGraphic("Icône non valide"_a); }

template <class T>
T ReadLE(const std::uint8_t* P) {
  T v;
  std::memcpy(&v, P, sizeof(T));
  return v;
}

template <class T>
void Append(String& Out, T Value) {
  Out.append(reinterpret_cast<const char*>(&Value), sizeof(T));
}

// The bitmaps of an icon handle (GetIconInfo makes copies the caller frees).
struct TIconBitmaps {
  explicit TIconBitmaps(HICON Icon) {
    ICONINFO info = {};
    Valid = Icon && ::GetIconInfo(Icon, &info);
    Color.Reset(info.hbmColor);
    Mask.Reset(info.hbmMask);
  }
  bool Valid;
  TOwnedBitmap Color;  // none for a monochrome icon
  TOwnedBitmap Mask;
};

}  // namespace

bool IconImageSize(HICON Icon, int& Width, int& Height) {
  TIconBitmaps parts(Icon);
  BITMAP bm = {};
  if (parts.Color && ::GetObjectA(parts.Color, sizeof(bm), &bm)) {
    Width = bm.bmWidth;
    Height = bm.bmHeight;
    return true;
  }
  if (parts.Mask && ::GetObjectA(parts.Mask, sizeof(bm), &bm)) {
    Width = bm.bmWidth;
    Height = bm.bmHeight / 2;
    return true;
  }
  return false;
}

VELBOR_IMPLEMENT_CLASS(TIcon)

TIcon::TIcon() = default;

TIcon::~TIcon() { FreeHandle(); }

void TIcon::FreeHandle() {
  if (FHandle) ::DestroyIcon(FHandle);
  FHandle = nullptr;
}

HICON TIcon::Handle() { return FHandle; }

void TIcon::SetHandle(HICON Value) {
  if (Value == FHandle) return;
  FreeHandle();
  FData.clear();
  FHandle = Value;
  FWidth = FHeight = 0;
  if (FHandle && !IconImageSize(FHandle, FWidth, FHeight)) FWidth = FHeight = 0;
  Changed(this);
}

HICON TIcon::ReleaseHandle() {
  HICON h = FHandle;
  FHandle = nullptr;
  FData.clear();
  FWidth = FHeight = 0;
  Changed(this);
  return h;
}

int TIcon::GetWidth() { return FWidth; }

int TIcon::GetHeight() { return FHeight; }

void TIcon::SetWidth(int) { throw EInvalidGraphicOperation("Impossible de changer la taille d'une icône"_a); }

void TIcon::SetHeight(int) { throw EInvalidGraphicOperation("Impossible de changer la taille d'une icône"_a); }

void TIcon::Assign(TPersistent* Source) {
  if (!Source) {
    FreeHandle();
    FData.clear();
    FWidth = FHeight = 0;
    Changed(this);
    return;
  }
  if (auto* icon = dynamic_cast<TIcon*>(Source)) {
    if (icon == this) return;
    FreeHandle();
    FData = icon->FData;
    FHandle = icon->FHandle ? ::CopyIcon(icon->FHandle) : nullptr;
    FWidth = icon->FWidth;
    FHeight = icon->FHeight;
    Changed(this);
    return;
  }
  inherited::Assign(Source);
}

// The image chosen is the one whose size is closest to the system's icon size, the one with
// more colours among equals.
void TIcon::LoadFromStream(TStream* Stream) {
  std::int64_t size = Stream->Size() - Stream->Position();
  if (size < 6) InvalidIcon();
  String data(std::size_t(size), '\0');
  Stream->ReadBuffer(data.data(), size);
  const auto* d = reinterpret_cast<const std::uint8_t*>(data.data());
  int count = ReadLE<std::uint16_t>(d + 4);
  if (ReadLE<std::uint16_t>(d) != 0 || ReadLE<std::uint16_t>(d + 2) != 1 || count == 0) InvalidIcon();
  if (6 + std::size_t(count) * 16 > data.size()) InvalidIcon();
  int wanted = ::GetSystemMetrics(SM_CXICON);
  int best = -1, bestDistance = 0, bestBits = 0;
  for (int i = 0; i < count; ++i) {
    const std::uint8_t* e = d + 6 + 16 * i;
    int w = e[0] ? e[0] : 256;
    int bits = ReadLE<std::uint16_t>(e + 6);
    if (bits == 0) bits = e[2] ? (e[2] <= 2 ? 1 : e[2] <= 16 ? 4 : 8) : 8;
    DWORD bytes = ReadLE<DWORD>(e + 8), offset = ReadLE<DWORD>(e + 12);
    if (offset > data.size() || bytes > data.size() - offset || bytes < 40) continue;
    int distance = std::abs(w - wanted);
    if (best < 0 || distance < bestDistance || (distance == bestDistance && bits > bestBits)) {
      best = i;
      bestDistance = distance;
      bestBits = bits;
    }
  }
  if (best < 0) InvalidIcon();
  const std::uint8_t* e = d + 6 + 16 * best;
  int w = e[0] ? e[0] : 256, h = e[1] ? e[1] : 256;
  DWORD bytes = ReadLE<DWORD>(e + 8), offset = ReadLE<DWORD>(e + 12);
  HICON icon = ::CreateIconFromResourceEx(const_cast<PBYTE>(d + offset), bytes, TRUE, 0x00030000, w, h, LR_DEFAULTCOLOR);
  if (!icon) InvalidIcon();
  FreeHandle();
  FHandle = icon;
  FData = std::move(data);
  if (!IconImageSize(FHandle, FWidth, FHeight)) {
    FWidth = w;
    FHeight = h;
  }
  Changed(this);
}

void TIcon::LoadFromClipboardFormat(UINT Format, HANDLE Data, HPALETTE) {
  // Only the format registered for icons holds an icon's file image.
  if (Format == 0 || Format != TPicture::ClipboardFormatOf(StaticClass()))
    inherited::LoadFromClipboardFormat(Format, Data, nullptr);
  const void* bytes = Data ? ::GlobalLock(Data) : nullptr;
  if (!bytes) InvalidIcon();
  TMemoryStream stream;
  {
    TScopeGuard unlock([&] { ::GlobalUnlock(Data); });
    stream.WriteBuffer(bytes, std::int64_t(::GlobalSize(Data)));
  }
  stream.SetPosition(0);
  LoadFromStream(&stream);
}

void TIcon::SaveToClipboardFormat(UINT& Format, HANDLE& Data, HPALETTE& Palette) {
  UINT format = TPicture::ClipboardFormatOf(StaticClass());
  if (!format) inherited::SaveToClipboardFormat(Format, Data, Palette);
  TMemoryStream stream;
  SaveToStream(&stream);
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, SIZE_T(stream.Size()));
  void* target = block ? ::GlobalLock(block) : nullptr;
  if (!target) {
    if (block) ::GlobalFree(block);
    throw EOutOfMemory("Mémoire insuffisante"_a);
  }
  std::memcpy(target, stream.Memory(), std::size_t(stream.Size()));
  ::GlobalUnlock(block);
  Format = format;
  Data = block;
  Palette = nullptr;
}

// The file read is written back unchanged; an icon made from a handle is written as one 32-bit
// image with its mask.
void TIcon::SaveToStream(TStream* Stream) {
  if (!FData.empty()) {
    Stream->WriteBuffer(FData.data(), std::int64_t(FData.size()));
    return;
  }
  if (!FHandle) return;
  TIconBitmaps ii(FHandle);
  if (!ii.Valid) InvalidIcon();
  int w = FWidth, h = FHeight;
  int colorStride = w * 4, maskStride = ((w + 31) / 32) * 4;
  std::vector<std::uint8_t> colorBits(std::size_t(colorStride) * std::size_t(h));
  std::vector<std::uint8_t> maskBits(std::size_t(maskStride) * std::size_t(h));
  struct {
    BITMAPINFOHEADER Header;
    RGBQUAD Colors[2];
  } info = {};
  TOwnedDC dc = TOwnedDC::Compatible();
  info.Header.biSize = sizeof(BITMAPINFOHEADER);
  info.Header.biWidth = w;
  info.Header.biHeight = h;
  info.Header.biPlanes = 1;
  info.Header.biBitCount = 32;
  if (ii.Color) {
    ::GetDIBits(dc, ii.Color, 0, UINT(h), colorBits.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  } else {
    // A monochrome icon: the lower half of the mask is the XOR image.
    info.Header.biHeight = 2 * h;
    std::vector<std::uint8_t> both(std::size_t(colorStride) * std::size_t(2 * h));
    ::GetDIBits(dc, ii.Mask, 0, UINT(2 * h), both.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    std::memcpy(colorBits.data(), both.data(), colorBits.size());
  }
  info = {};
  info.Header.biSize = sizeof(BITMAPINFOHEADER);
  info.Header.biWidth = w;
  info.Header.biHeight = ii.Color ? h : 2 * h;
  info.Header.biPlanes = 1;
  info.Header.biBitCount = 1;
  std::vector<std::uint8_t> maskAll(std::size_t(maskStride) * std::size_t(ii.Color ? h : 2 * h));
  ::GetDIBits(dc, ii.Mask, 0, UINT(info.Header.biHeight), maskAll.data(), reinterpret_cast<BITMAPINFO*>(&info),
              DIB_RGB_COLORS);
  // Bottom-up rows: the AND mask of a monochrome icon is the upper half, stored last.
  std::memcpy(maskBits.data(), maskAll.data() + (ii.Color ? 0 : maskBits.size()), maskBits.size());

  BITMAPINFOHEADER image = {};
  image.biSize = sizeof(image);
  image.biWidth = w;
  image.biHeight = 2 * h;
  image.biPlanes = 1;
  image.biBitCount = 32;
  image.biSizeImage = DWORD(colorBits.size() + maskBits.size());
  DWORD imageSize = DWORD(sizeof(image) + colorBits.size() + maskBits.size());
  String out;
  Append<std::uint16_t>(out, 0);
  Append<std::uint16_t>(out, 1);
  Append<std::uint16_t>(out, 1);
  out += char(w >= 256 ? 0 : w);
  out += char(h >= 256 ? 0 : h);
  out += char(0);
  out += char(0);
  Append<std::uint16_t>(out, 1);
  Append<std::uint16_t>(out, 32);
  Append<DWORD>(out, imageSize);
  Append<DWORD>(out, 6 + 16);
  out.append(reinterpret_cast<const char*>(&image), sizeof(image));
  out.append(reinterpret_cast<const char*>(colorBits.data()), colorBits.size());
  out.append(reinterpret_cast<const char*>(maskBits.data()), maskBits.size());
  Stream->WriteBuffer(out.data(), std::int64_t(out.size()));
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (!FHandle) return;
  ::DrawIconEx(ACanvas->Handle(), Rect.Left, Rect.Top, FHandle, Rect.Width(), Rect.Height(), 0, nullptr, DI_NORMAL);
}
