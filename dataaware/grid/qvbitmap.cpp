// This file implements TqvBitmap (see qvbitmap.h).
#include "qvbitmap.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "Exceptions.h"
#include "ScopeGuard.h"
#include "Streams.h"

VELBOR_IMPLEMENT_CLASS(TqvBitmapLink)

void TqvBitmapLink::Change() {
  if (OnChange) OnChange(Sender);
}

VELBOR_IMPLEMENT_CLASS(TqvBitmap)

namespace {

// The screen shows 256 colours or fewer.
bool ScreenIsPaletted() {
  TWindowDC Screen;
  return GetDeviceCaps(Screen, BITSPIXEL) * GetDeviceCaps(Screen, PLANES) <= 8;
}

int ScreenBits() {
  TWindowDC Screen;
  return GetDeviceCaps(Screen, BITSPIXEL) * GetDeviceCaps(Screen, PLANES);
}

// Blue, green and red of a colour.
void ColorToBGR(TColor Color, std::uint8_t& B, std::uint8_t& G, std::uint8_t& R) {
  COLORREF C = ColorToRGB(Color);
  B = GetBValue(C);
  G = GetGValue(C);
  R = GetRValue(C);
}

// Half of a colour component, rounded half to even, as the tint takes it.
int HalfRoundedEven(int Value) {
  int Half = Value / 2;
  if (Value % 2 != 0 && Half % 2 != 0) ++Half;
  return Half;
}

}  // namespace

TqvBitmap::TqvBitmap() : FCanvas(new TCanvas) {}

TqvBitmap::~TqvBitmap() {
  FreeImage();
  delete FCanvas;
  if (FPalette) DeleteObject(FPalette);
  for (TqvBitmapLink* Link : FLinks) Link->Sender = nullptr;
}

// --- Image life -------------------------------------------------------------------------------

void TqvBitmap::SetTransparentKey(TColor Value) {
  if (FTransparentKey == Value) return;
  FTransparentKey = Value;
  FMask.Reset();
}

std::uint8_t* TqvBitmap::ScanLine(int Row) const {
  if (Row < 0 || Row >= FHeight || FBits == nullptr) throw ERangeError("Indice de ligne hors limites");
  return FRows[std::size_t(Row)];
}

TColor TqvBitmap::PixelColor(int X, int Y) const {
  const std::uint8_t* P = ScanLine(Y) + 3 * X;
  return TColor(RGB(P[2], P[1], P[0]));
}

void TqvBitmap::SetPixelColor(int X, int Y, TColor Color) {
  std::uint8_t* P = ScanLine(Y) + 3 * X;
  ColorToBGR(Color, P[0], P[1], P[2]);
}

HBITMAP TqvBitmap::NewSection(int AWidth, int AHeight, std::uint8_t*& NewBits) const {
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  Info.bmiHeader.biWidth = AWidth;
  Info.bmiHeader.biHeight = -AHeight;  // top-down rows
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 24;
  Info.bmiHeader.biCompression = BI_RGB;
  void* Bits = nullptr;
  HBITMAP Section = CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
  NewBits = static_cast<std::uint8_t*>(Bits);
  return Section;
}

void TqvBitmap::FreeImage() {
  FCanvas->SetHandle(nullptr);
  if (FDC.Get() && FOldBitmap) SelectObject(FDC, FOldBitmap);
  FOldBitmap = nullptr;
  FDC.Reset();
  FSection.Reset();
  FMask.Reset();
  FRows.clear();
  FBits = nullptr;
  FWidth = FHeight = FSize = FPitch = FGap = 0;
}

void TqvBitmap::SetupImage() {
  if (FSection.Get() == nullptr) {
    FreeImage();
    return;
  }
  BITMAP Info{};
  GetObjectA(FSection, sizeof(Info), &Info);
  FWidth = Info.bmWidth;
  FHeight = std::abs(Info.bmHeight);
  FGap = FWidth % 4;
  FPitch = FWidth * 3 + FGap;
  FSize = FPitch * FHeight;
  FRows.resize(std::size_t(FHeight));
  for (int y = 0; y < FHeight; ++y) FRows[std::size_t(y)] = FBits + std::size_t(y) * std::size_t(FPitch);
  FDC = TOwnedDC::Compatible();
  FOldBitmap = SelectObject(FDC, FSection);
  FCanvas->SetHandle(FDC);
  FMask.Reset();
  Changed(this);
}

void TqvBitmap::CreateImage(int AWidth, int AHeight) {
  FreeImage();
  if (AWidth <= 0 || AHeight <= 0) return;
  std::uint8_t* NewBits = nullptr;
  FSection.Reset(NewSection(AWidth, AHeight, NewBits));
  if (FSection.Get() == nullptr) return;
  FBits = NewBits;
  std::memset(FBits, 0xFF, std::size_t(((AWidth * 3 + AWidth % 4) * AHeight)));
  SetupImage();
}

void TqvBitmap::SetSize(int AWidth, int AHeight) {
  if (AWidth != FWidth || AHeight != FHeight) CreateImage(AWidth, AHeight);
}

void TqvBitmap::Resize(int AWidth, int AHeight) {
  if (AWidth == FWidth && AHeight == FHeight) return;
  TqvBitmap Copy;
  Copy.Assign(this);
  CreateImage(AWidth, AHeight);
  if (!Copy.Empty() && !Empty()) Copy.StretchInto(*this);
  Changed(this);
}

void TqvBitmap::LoadFromBits(const std::uint8_t* Source, int SourceSize, int AWidth, int AHeight) {
  CreateImage(AWidth, AHeight);
  if (Empty() || Source == nullptr) return;
  std::memcpy(FBits, Source, std::size_t(std::min(SourceSize, FSize)));
  GdiFlush();
  Changed(this);
}

void TqvBitmap::SaveToMemoryImage() {
  if (Empty()) return;
  GdiFlush();
  FMemory.assign(FBits, FBits + FSize);
  FMemoryWidth = FWidth;
  FMemoryHeight = FHeight;
  FreeImage();
}

void TqvBitmap::RestoreMemoryImage() {
  if (FMemory.empty()) return;
  std::vector<std::uint8_t> Copy = std::move(FMemory);
  int W = FMemoryWidth, H = FMemoryHeight;
  FreeMemoryImage();
  LoadFromBits(Copy.data(), int(Copy.size()), W, H);
}

void TqvBitmap::FreeMemoryImage() {
  FMemory.clear();
  FMemory.shrink_to_fit();
  FMemoryWidth = FMemoryHeight = 0;
}

// --- Links and change -------------------------------------------------------------------------

void TqvBitmap::AddLink(TqvBitmapLink* Link) {
  if (Link == nullptr) return;
  Link->Sender = this;
  if (std::find(FLinks.begin(), FLinks.end(), Link) == FLinks.end()) FLinks.push_back(Link);
}

void TqvBitmap::RemoveLink(TqvBitmapLink* Link) {
  auto It = std::find(FLinks.begin(), FLinks.end(), Link);
  if (It == FLinks.end()) return;
  (*It)->Sender = nullptr;
  FLinks.erase(It);
}

void TqvBitmap::NotifyLinks() {
  for (TqvBitmapLink* Link : FLinks) {
    Link->Sender = this;
    Link->Change();
  }
}

void TqvBitmap::Changed(TObject* Sender) {
  if (MuteChanges) return;
  TGraphic::Changed(Sender);
  NotifyLinks();
}

// --- Palettes ---------------------------------------------------------------------------------

void TqvBitmap::BuildPalette() {
  if (FPalette) return;
  if (FPaletteHints[0]) {
    // A logical palette from the colour table, red and blue exchanged.
    std::vector<std::uint8_t> Buffer(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY));
    auto* Log = reinterpret_cast<LOGPALETTE*>(Buffer.data());
    Log->palVersion = 0x300;
    Log->palNumEntries = 256;
    for (int i = 0; i < 256; ++i) {
      Log->palPalEntry[i].peRed = FColorTable[i].rgbRed;
      Log->palPalEntry[i].peGreen = FColorTable[i].rgbGreen;
      Log->palPalEntry[i].peBlue = FColorTable[i].rgbBlue;
      Log->palPalEntry[i].peFlags = 0;
    }
    FPalette = CreatePalette(Log);
  } else if (FPaletteHints[1]) {
    TWindowDC Screen;
    FPalette = CreateHalftonePalette(Screen);
  }
}

void TqvBitmap::SelectOwnPalette(TCanvas* ACanvas, HPALETTE& OldPalette) {
  OldPalette = nullptr;
  if (!ScreenIsPaletted() || !(UseImagePalette || UseHalftonePalette)) return;
  if (UseImagePalette) {
    BuildPalette();
  } else if (!FPalette) {
    TWindowDC Screen;
    FPalette = CreateHalftonePalette(Screen);
  }
  if (!FPalette) return;
  OldPalette = SelectPalette(ACanvas->Handle(), FPalette, TRUE);
  RealizePalette(ACanvas->Handle());
}

void TqvBitmap::ReleaseOwnPalette(TCanvas* ACanvas, HPALETTE OldPalette) {
  if (!ScreenIsPaletted() || !(UseImagePalette || UseHalftonePalette) || OldPalette == nullptr) return;
  SelectPalette(ACanvas->Handle(), OldPalette, TRUE);
  if (FPalette) {
    DeleteObject(FPalette);
    FPalette = nullptr;
  }
}

// --- Assignment -------------------------------------------------------------------------------

void TqvBitmap::AssignFromBitmap(TBitmap* Bitmap) {
  int W = Bitmap->Width(), H = Bitmap->Height();
  FreeImage();
  if (W <= 0 || H <= 0) return;
  std::uint8_t* NewBits = nullptr;
  FSection.Reset(NewSection(W, H, NewBits));
  if (FSection.Get() == nullptr) return;
  FBits = NewBits;
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  Info.bmiHeader.biWidth = W;
  Info.bmiHeader.biHeight = -H;
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 24;
  Info.bmiHeader.biCompression = BI_RGB;
  {
    TWindowDC Screen;
    GetDIBits(Screen, Bitmap->Handle(), 0, UINT(H), FBits, &Info, DIB_RGB_COLORS);
  }
  int Bits = Bitmap->BitsPerPixel();
  FPaletteHints[1] = ScreenBits() < Bits;
  switch (Bits) {
    case 1: PixelFormat = pf1bit; break;
    case 4: PixelFormat = pf4bit; break;
    case 8: PixelFormat = pf8bit; break;
    case 16: PixelFormat = pf16bit; break;
    case 32: PixelFormat = pf32bit; break;
    default: PixelFormat = pf24bit; break;
  }
  std::vector<TColor> Table = Bitmap->ColorTable();
  FPaletteHints[0] = !Table.empty();
  for (std::size_t i = 0; i < Table.size() && i < 256; ++i) {
    COLORREF C = COLORREF(Table[i]);
    FColorTable[i] = RGBQUAD{GetBValue(C), GetGValue(C), GetRValue(C), 0};
  }
  SetupImage();
}

void TqvBitmap::AssignFromGraphic(TGraphic* Graphic) {
  TBitmap Bitmap;
  Bitmap.SetPixelFormat(pf24bit);
  Bitmap.SetSize(Graphic->Width(), Graphic->Height());
  Bitmap.Canvas()->Draw(0, 0, Graphic);
  AssignFromBitmap(&Bitmap);
}

void TqvBitmap::AssignFromPersistent(TPersistent* Source) {
  TBitmap Bitmap;
  Bitmap.Assign(Source);
  AssignFromBitmap(&Bitmap);
}

void TqvBitmap::AssignToBitmap(TBitmap* Bitmap) {
  Bitmap->SetPixelFormat(PixelFormat == pfCustom || PixelFormat == pfDevice ? pf24bit : PixelFormat);
  Bitmap->SetSize(FWidth, FHeight);
  if (FPaletteHints[0]) {
    std::vector<TColor> Table;
    for (const RGBQUAD& Q : FColorTable) Table.push_back(TColor(RGB(Q.rgbRed, Q.rgbGreen, Q.rgbBlue)));
    if (Bitmap->BitsPerPixel() <= 8) {
      Table.resize(std::size_t(1) << Bitmap->BitsPerPixel());
      Bitmap->SetColorTable(Table);
    }
  }
  FAssigning = true;
  TScopeGuard Restore([&] { FAssigning = false; });
  Draw(Bitmap->Canvas(), Rect(0, 0, FWidth, FHeight));
}

void TqvBitmap::Assign(TPersistent* Source) {
  if (auto* Bitmap = dynamic_cast<TBitmap*>(Source)) {
    if (!Bitmap->Empty()) {
      PixelFormat = Bitmap->PixelFormat();
      AssignFromBitmap(Bitmap);
      SetTransparent(Bitmap->Transparent());
    } else {
      FreeImage();
      Changed(this);
    }
    return;
  }
  if (Source == nullptr) {
    FreeImage();
    Changed(this);
    return;
  }
  auto* Graphic = dynamic_cast<TGraphic*>(Source);
  if (Graphic == nullptr || dynamic_cast<TqvBitmap*>(Source) != nullptr) {
    TGraphic::Assign(Source);
    return;
  }
  AssignFromGraphic(Graphic);
}

void TqvBitmap::AssignTo(TPersistent* Dest) {
  if (auto* Bitmap = dynamic_cast<TBitmap*>(Dest)) {
    AssignToBitmap(Bitmap);
    Bitmap->SetTransparent(Transparent());
    if (FTransparentKey != clNone) Bitmap->SetTransparentColor(FTransparentKey);
    return;
  }
  if (auto* Target = dynamic_cast<TqvBitmap*>(Dest)) {
    if (Empty()) {
      Target->FreeImage();
      Target->Changed(Target);
      return;
    }
    Target->MuteChanges = true;
    {
      TScopeGuard Unmute([&] { Target->MuteChanges = false; });
      Target->UseImagePalette = UseImagePalette;
      Target->UseHalftonePalette = UseHalftonePalette;
      Target->CreateImage(FWidth, FHeight);
      GdiFlush();
      if (Target->FBits) std::memcpy(Target->FBits, FBits, std::size_t(FSize));
      Target->SetTransparent(Transparent());
      Target->StretchSmoothly = StretchSmoothly;
      Target->FTransparentKey = FTransparentKey;
      Target->PixelFormat = PixelFormat;
      std::memcpy(Target->FColorTable, FColorTable, sizeof(FColorTable));
      Target->FPaletteHints[0] = FPaletteHints[0];
      Target->FPaletteHints[1] = FPaletteHints[1];
    }
    Target->Changed(Target);
    return;
  }
  TGraphic::AssignTo(Dest);
}

void TqvBitmap::LoadFromStream(TStream* Stream) {
  TBitmap Bitmap;
  Bitmap.LoadFromStream(Stream);
  Assign(&Bitmap);
}

void TqvBitmap::SaveToStream(TStream* Stream) {
  TBitmap Bitmap;
  AssignTo(&Bitmap);
  Bitmap.SaveToStream(Stream);
}

// --- Drawing ----------------------------------------------------------------------------------

void TqvBitmap::StretchInto(TqvBitmap& Target) const {
  int TW = Target.FWidth, TH = Target.FHeight;
  if (TW == 0 || TH == 0 || FSection.Get() == nullptr) return;
  GdiFlush();
  if (TW == FWidth && TH == FHeight) {
    std::memcpy(Target.FBits, FBits, std::size_t(FSize));
    return;
  }
  // Steps and fractions in 15-bit fixed point.
  const int One = 32768;
  int SX = ((FWidth - 1) * One) / TW;
  int SY = ((FHeight - 1) * One) / TH;
  for (int j = 0; j < TH; ++j) {
    int Y = j * SY;
    int Row0 = Y / One;
    int FY = Y % One;
    int Row1 = Row0 + 1 < FHeight ? Row0 + 1 : Row0;
    int WY = One - FY;
    const std::uint8_t* Line0 = FRows[std::size_t(Row0)];
    const std::uint8_t* Line1 = FRows[std::size_t(Row1)];
    std::uint8_t* Out = Target.FRows[std::size_t(j)];
    for (int i = 0; i < TW; ++i) {
      int X = i * SX;
      int Col0 = X / One;
      int FX = X % One;
      int Col1 = Col0 + 1 < FWidth ? Col0 + 1 : Col0;
      int FXWY = int((long long)FX * WY / One);
      int FXFY = int((long long)FX * FY / One);
      for (int c = 0; c < 3; ++c) {
        long long P00 = Line0[3 * Col0 + c], P01 = Line0[3 * Col1 + c];
        long long P10 = Line1[3 * Col0 + c], P11 = Line1[3 * Col1 + c];
        long long V = (P00 * (WY - FXWY) + P01 * FXWY + P10 * (FY - FXFY) + P11 * FXFY) / One;
        Out[3 * i + c] = qvClampByte(int(V));
      }
    }
  }
}

void TqvBitmap::SmoothStretchDraw(TCanvas* ACanvas, const TRect& Rect) {
  if (Rect.Width() <= 0 || Rect.Height() <= 0 || Empty()) return;
  TqvBitmap Stretched;
  Stretched.CreateImage(Rect.Width(), Rect.Height());
  StretchInto(Stretched);
  Stretched.SetTransparent(Transparent());
  Stretched.FTransparentKey = FTransparentKey;
  if (Transparent()) Stretched.TransparentDraw(ACanvas, Rect);
  else BitBlt(ACanvas->Handle(), Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), Stretched.FDC, 0, 0, SRCCOPY);
}

void TqvBitmap::StretchDrawImage(TCanvas* ACanvas, const TRect& Rect) {
  if (Empty()) return;
  if (Transparent()) {
    TqvBitmap Stretched;
    Stretched.CreateImage(Rect.Width(), Rect.Height());
    if (Stretched.Empty()) return;
    SetStretchBltMode(Stretched.FDC, COLORONCOLOR);
    StretchBlt(Stretched.FDC, 0, 0, Rect.Width(), Rect.Height(), FDC, 0, 0, FWidth, FHeight, SRCCOPY);
    GdiFlush();
    Stretched.SetTransparent(true);
    Stretched.FTransparentKey = FTransparentKey;
    Stretched.TransparentDraw(ACanvas, Rect);
    return;
  }
  HDC Target = ACanvas->Handle();
  int OldMode = SetStretchBltMode(Target, COLORONCOLOR);
  StretchBlt(Target, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), FDC, 0, 0, FWidth, FHeight,
             ACanvas->CopyMode());
  SetStretchBltMode(Target, OldMode);
}

void TqvBitmap::TileDraw(TCanvas* ACanvas, const TRect& Rect) {
  if (Empty()) return;
  HPALETTE Old = nullptr;
  SelectOwnPalette(ACanvas, Old);
  FSkipPalette = true;
  TScopeGuard Restore([&] {
    FSkipPalette = false;
    ReleaseOwnPalette(ACanvas, Old);
  });
  for (int y = Rect.Top; y < Rect.Bottom; y += FHeight)
    for (int x = Rect.Left; x < Rect.Right; x += FWidth) Draw(ACanvas, Bounds(x, y, FWidth, FHeight));
}

void TqvBitmap::BuildMask() {
  if (FMask.Get() || Empty()) return;
  TqvBitmap Copy;
  Copy.Assign(this);
  GdiFlush();
  TColor Key = FTransparentKey == clNone ? PixelColor(0, 0) : FTransparentKey;
  Copy.MaskOfColor(Key);
  // Monochrome: the copy's white pixels (the image, the source's background colour) become 1,
  // its black ones (the key colour) 0.
  HBITMAP Mono = CreateBitmap(FWidth, FHeight, 1, 1, nullptr);
  {
    TBitmapDC MonoDC(Mono);
    SetBkColor(Copy.FDC, RGB(255, 255, 255));
    BitBlt(MonoDC, 0, 0, FWidth, FHeight, Copy.FDC, 0, 0, SRCCOPY);
  }
  FMask.Reset(Mono);
}

void TqvBitmap::TransparentDraw(TCanvas* ACanvas, const TRect& Rect) {
  if (Empty()) return;
  BuildMask();
  int W = Rect.Width(), H = Rect.Height();
  HDC Target = ACanvas->Handle();
  // The target area, combined with the image through the mask, then copied back.
  TOwnedBitmap Work(CreateCompatibleBitmap(Target, W, H));
  TBitmapDC WorkDC(Work, Target);
  BitBlt(WorkDC, 0, 0, W, H, Target, Rect.Left, Rect.Top, SRCCOPY);
  TBitmapDC MaskDC(FMask);
  COLORREF OldText = SetTextColor(WorkDC, RGB(0, 0, 0));
  COLORREF OldBack = SetBkColor(WorkDC, RGB(255, 255, 255));
  BitBlt(WorkDC, 0, 0, W, H, FDC, 0, 0, SRCINVERT);
  // Where the mask is white (the image) the work area is cleared, so the second XOR leaves the
  // image; where it is black (the key colour) image XOR target XOR image gives the target back.
  BitBlt(WorkDC, 0, 0, W, H, MaskDC, 0, 0, 0x00220326 /* DSna */);
  BitBlt(WorkDC, 0, 0, W, H, FDC, 0, 0, SRCINVERT);
  SetTextColor(WorkDC, OldText);
  SetBkColor(WorkDC, OldBack);
  BitBlt(Target, Rect.Left, Rect.Top, W, H, WorkDC, 0, 0, SRCCOPY);
}

void TqvBitmap::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (Empty()) return;
  HPALETTE Old = nullptr;
  if (!FSkipPalette) SelectOwnPalette(ACanvas, Old);
  TScopeGuard Restore([&] {
    if (!FSkipPalette) ReleaseOwnPalette(ACanvas, Old);
  });
  if (Rect.Width() != FWidth || Rect.Height() != FHeight) {
    if (StretchSmoothly) SmoothStretchDraw(ACanvas, Rect);
    else StretchDrawImage(ACanvas, Rect);
  } else if (Transparent() && !FAssigning) {
    TransparentDraw(ACanvas, Rect);
  } else {
    GdiFlush();
    BitBlt(ACanvas->Handle(), Rect.Left, Rect.Top, FWidth, FHeight, FDC, 0, 0, ACanvas->CopyMode());
  }
}

// --- Pixel effects ----------------------------------------------------------------------------

template <class F>
void TqvBitmap::ForEachPixel(F Op) {
  if (Empty()) return;
  GdiFlush();
  for (int y = 0; y < FHeight; ++y) {
    std::uint8_t* P = FRows[std::size_t(y)];
    for (int x = 0; x < FWidth; ++x, P += 3) Op(P[0], P[1], P[2]);
  }
  Changed(this);
}

void TqvBitmap::Lightness(int Amount) {
  std::uint8_t Table[256];
  for (int i = 0; i < 256; ++i) {
    int V = Amount <= 0 ? i - i * std::abs(Amount) / 256 : i + Amount * (255 - i) / 256;
    Table[i] = qvClampByte(V);
  }
  ForEachPixel([&](std::uint8_t& B, std::uint8_t& G, std::uint8_t& R) {
    B = Table[B];
    G = Table[G];
    R = Table[R];
  });
}

void TqvBitmap::Contrast(int Amount) {
  auto One = [Amount](std::uint8_t& C) {
    int I = C;
    C = qvClampByte(I < 127 ? I - std::abs(128 - I) * Amount / 256 : I + std::abs(128 - I) * Amount / 256);
  };
  ForEachPixel([&](std::uint8_t& B, std::uint8_t& G, std::uint8_t& R) {
    One(B);
    One(G);
    One(R);
  });
}

void TqvBitmap::Saturation(int Amount) {
  ForEachPixel([&](std::uint8_t& B, std::uint8_t& G, std::uint8_t& R) {
    int Gray = B / 3 + G / 3 + R / 3;
    auto One = [&](std::uint8_t& C) { C = qvClampByte(Gray + (Amount * C / 256) - (Amount * Gray / 256)); };
    One(B);
    One(G);
    One(R);
  });
}

void TqvBitmap::AddColor(int Red, int Green, int Blue) {
  ForEachPixel([&](std::uint8_t& B, std::uint8_t& G, std::uint8_t& R) {
    B = qvClampByte(B + Blue);
    G = qvClampByte(G + Green);
    R = qvClampByte(R + Red);
  });
}

void TqvBitmap::Tint(int Red, int Green, int Blue) {
  bool HasKey = FTransparentKey != clNone;
  std::uint8_t KB = 0, KG = 0, KR = 0;
  if (HasKey) ColorToBGR(FTransparentKey, KB, KG, KR);
  int DB = HalfRoundedEven(Blue) - 128, DG = HalfRoundedEven(Green) - 128, DR = HalfRoundedEven(Red) - 128;
  ForEachPixel([&](std::uint8_t& B, std::uint8_t& G, std::uint8_t& R) {
    if (HasKey && B == KB && G == KG && R == KR) return;
    B = qvClampByte(B + DB);
    G = qvClampByte(G + DG);
    R = qvClampByte(R + DR);
  });
}

void TqvBitmap::Tint(TColor Color) {
  COLORREF C = ColorToRGB(Color);
  Tint(GetRValue(C), GetGValue(C), GetBValue(C));
}

void TqvBitmap::GrayScale() {
  ForEachPixel([](std::uint8_t& B, std::uint8_t& G, std::uint8_t& R) {
    std::uint8_t Gray = std::uint8_t(B / 3 + G / 3 + R / 3);
    B = G = R = Gray;
  });
}

void TqvBitmap::Invert() {
  ForEachPixel([](std::uint8_t& B, std::uint8_t& G, std::uint8_t& R) {
    B = std::uint8_t(255 - B);
    G = std::uint8_t(255 - G);
    R = std::uint8_t(255 - R);
  });
}

void TqvBitmap::MaskOfColor(TColor Color) {
  std::uint8_t KB, KG, KR;
  ColorToBGR(Color, KB, KG, KR);
  ForEachPixel([&](std::uint8_t& B, std::uint8_t& G, std::uint8_t& R) {
    std::uint8_t V = (B == KB && G == KG && R == KR) ? 0 : 255;
    B = G = R = V;
  });
}

void TqvBitmap::ReplaceColor(TColor NewColor, TColor OldColor) {
  std::uint8_t OB, OG, OR, NB, NG, NR;
  ColorToBGR(OldColor, OB, OG, OR);
  ColorToBGR(NewColor, NB, NG, NR);
  ForEachPixel([&](std::uint8_t& B, std::uint8_t& G, std::uint8_t& R) {
    if (B == OB && G == OG && R == OR) {
      B = NB;
      G = NG;
      R = NR;
    }
  });
}

void TqvBitmap::Flip(bool Horizontal) {
  if (Empty()) return;
  GdiFlush();
  if (Horizontal) {
    for (int y = 0; y < FHeight; ++y) {
      std::uint8_t* Row = FRows[std::size_t(y)];
      for (int a = 0, b = FWidth - 1; a < b; ++a, --b)
        for (int c = 0; c < 3; ++c) std::swap(Row[3 * a + c], Row[3 * b + c]);
    }
  } else {
    std::vector<std::uint8_t> Temp(static_cast<std::size_t>(FPitch), 0);
    for (int a = 0, b = FHeight - 1; a < b; ++a, --b) {
      std::memcpy(Temp.data(), FRows[std::size_t(a)], std::size_t(FPitch));
      std::memcpy(FRows[std::size_t(a)], FRows[std::size_t(b)], std::size_t(FPitch));
      std::memcpy(FRows[std::size_t(b)], Temp.data(), std::size_t(FPitch));
    }
  }
  Changed(this);
}

void TqvBitmap::Blur(int Radius) {
  if (Empty()) return;
  GdiFlush();
  auto At = [&](int X, int Y) {
    X = std::clamp(X, 0, FWidth - 1);
    Y = std::clamp(Y, 0, FHeight - 1);
    return FRows[std::size_t(Y)] + 3 * X;
  };
  // In place, row by row from the top: later pixels see the blurred earlier ones.
  for (int y = 0; y < FHeight; ++y) {
    for (int x = 0; x < FWidth; ++x) {
      const std::uint8_t* A = At(x - Radius, y - Radius);
      const std::uint8_t* B = At(x + Radius, y - Radius);
      const std::uint8_t* C = At(x - Radius, y + Radius);
      const std::uint8_t* D = At(x + Radius, y + Radius);
      std::uint8_t* P = FRows[std::size_t(y)] + 3 * x;
      for (int c = 0; c < 3; ++c) P[c] = std::uint8_t((A[c] + B[c] + C[c] + D[c]) / 4);
    }
  }
  Changed(this);
}

void TqvBitmap::BlurPasses(int Passes) {
  for (int r = Passes; r >= 1; --r) Blur(r);
}

void TqvBitmap::Sharpen(int Radius) {
  if (Empty()) return;
  GdiFlush();
  auto At = [&](int X, int Y) {
    X = std::clamp(X, 0, FWidth - 1);
    Y = std::clamp(Y, 0, FHeight - 1);
    return FRows[std::size_t(Y)] + 3 * X;
  };
  for (int y = 0; y < FHeight; ++y) {
    for (int x = 0; x < FWidth; ++x) {
      std::uint8_t* P = FRows[std::size_t(y)] + 3 * x;
      for (int c = 0; c < 3; ++c) {
        int Sum = 0;
        for (int dy = -Radius; dy <= Radius; dy += Radius)
          for (int dx = -Radius; dx <= Radius; dx += Radius)
            if (dx != 0 || dy != 0) Sum += At(x + dx, y + dy)[c];
        if (Radius == 0) Sum = 8 * P[c];
        P[c] = qvClampByte((256 * P[c] - 16 * Sum) / 128);
      }
    }
  }
  Changed(this);
}

void TqvBitmap::Emboss() {
  if (Empty()) return;
  GdiFlush();
  std::vector<std::uint8_t> LastRow(FRows[std::size_t(FHeight - 1)], FRows[std::size_t(FHeight - 1)] + FPitch);
  for (int y = 0; y < FHeight; ++y) {
    const std::uint8_t* Below = y + 1 < FHeight ? FRows[std::size_t(y + 1)] : LastRow.data();
    std::uint8_t* Row = FRows[std::size_t(y)];
    for (int x = 0; x < FWidth; ++x) {
      int Nx = x + 1 < FWidth ? x + 1 : x;
      for (int c = 0; c < 3; ++c) Row[3 * x + c] = qvClampByte((255 - Below[3 * Nx + c] + Row[3 * x + c]) / 2);
    }
  }
  Changed(this);
}

void TqvBitmap::Spray(int Amount) {
  if (Empty() || Amount <= 0) return;
  GdiFlush();
  auto Random = [&](int Below) { return Below <= 0 ? 0 : int(FRandom() % unsigned(Below)); };
  for (int y = 0; y < FHeight; ++y) {
    for (int x = 0; x < FWidth; ++x) {
      int C = Random(Amount);
      int SX = std::clamp(x + C - Random(2 * C), 0, FWidth - 1);
      int SY = std::clamp(y + C - Random(2 * C), 0, FHeight - 1);
      std::memcpy(FRows[std::size_t(y)] + 3 * x, FRows[std::size_t(SY)] + 3 * SX, 3);
    }
  }
  Changed(this);
}

void TqvBitmap::Wave(bool Wrap, int Amplitude, int RowPeriod, int ColumnPeriod) {
  if (Empty() || RowPeriod == 0 || ColumnPeriod == 0) return;
  GdiFlush();
  TqvBitmap Source;
  Source.Assign(this);
  GdiFlush();
  std::memset(FBits, 0xFF, std::size_t(FSize));
  std::vector<std::uint8_t> Shifted(std::size_t(FSize), 0xFF);
  auto Wrapped = [](int V, int N) { return ((V % N) + N) % N; };
  // Rows shifted horizontally.
  for (int y = 0; y < FHeight; ++y) {
    int Shift = int(std::lround(Amplitude * std::sin(double(y) / RowPeriod)));
    for (int x = 0; x < FWidth; ++x) {
      int T = x + Shift;
      if (Wrap) T = Wrapped(T, FWidth);
      else if (T < 0 || T >= FWidth) continue;
      std::memcpy(&Shifted[std::size_t(y) * std::size_t(FPitch) + 3 * std::size_t(T)], Source.FRows[std::size_t(y)] + 3 * x, 3);
    }
  }
  // Then columns shifted vertically.
  for (int x = 0; x < FWidth; ++x) {
    int Shift = int(std::lround(Amplitude * std::sin(double(x) / ColumnPeriod)));
    for (int y = 0; y < FHeight; ++y) {
      int T = y + Shift;
      if (Wrap) T = Wrapped(T, FHeight);
      else if (T < 0 || T >= FHeight) continue;
      std::memcpy(FRows[std::size_t(T)] + 3 * x, &Shifted[std::size_t(y) * std::size_t(FPitch) + 3 * std::size_t(x)], 3);
    }
  }
  Changed(this);
}

void TqvBitmap::Rotate(int CentreX, int CentreY, double Degrees) {
  if (Empty()) return;
  GdiFlush();
  TqvBitmap Source;
  Source.Assign(this);
  GdiFlush();
  double CX = CentreX < 0 ? FWidth / 2.0 : CentreX;
  double CY = CentreY < 0 ? FHeight / 2.0 : CentreY;
  std::uint8_t Fill[3];
  std::memcpy(Fill, Source.FRows[0], 3);
  double Angle = -Degrees * 3.14159265358979323846 / 180.0;
  double Cos = std::cos(Angle), Sin = std::sin(Angle);
  for (int y = 0; y < FHeight; ++y) {
    for (int x = 0; x < FWidth; ++x) {
      // The centre of the pixel, turned back about the centre onto the source.
      double DX = x + 0.5 - CX, DY = y + 0.5 - CY;
      int SX = int(std::floor(CX + DX * Cos - DY * Sin));
      int SY = int(std::floor(CY + DX * Sin + DY * Cos));
      std::uint8_t* P = FRows[std::size_t(y)] + 3 * x;
      if (SX >= 0 && SX < FWidth && SY >= 0 && SY < FHeight) std::memcpy(P, Source.FRows[std::size_t(SY)] + 3 * SX, 3);
      else std::memcpy(P, Fill, 3);
    }
  }
  Changed(this);
}
