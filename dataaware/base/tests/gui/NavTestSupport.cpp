// This file implements what the GUI tests of the data-aware base share (see NavTestSupport.h).
#include "NavTestSupport.h"

#include <array>
#include <cstdio>
#include <string>

TPixelArea CapturePicture(HDC DC, const TRect& Area) {
  TPixelArea Picture;
  Picture.Width = Area.Width();
  Picture.Height = Area.Height();
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = sizeof(Info.bmiHeader);
  Info.bmiHeader.biWidth = Picture.Width;
  Info.bmiHeader.biHeight = -Picture.Height;
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 32;
  Info.bmiHeader.biCompression = BI_RGB;
  void* Bits = nullptr;
  TOwnedBitmap Section(CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0));
  {
    TBitmapDC Memory(Section);
    BitBlt(Memory, 0, 0, Picture.Width, Picture.Height, DC, Area.Left, Area.Top, SRCCOPY);
    GdiFlush();
  }
  const auto* Source = static_cast<const unsigned*>(Bits);
  Picture.Pixels.assign(Source, Source + std::size_t(Picture.Width) * std::size_t(Picture.Height));
  for (unsigned& P : Picture.Pixels) P &= 0xFFFFFFu;
  return Picture;
}

TPixelArea CaptureArea(TWinControl* Control, const TRect& Area) {
  return CapturePicture(TWindowDC(Control->Handle()), Area);
}

unsigned PixelValue(TColor Color) {
  COLORREF C = ColorToRGB(Color);
  return (unsigned(GetRValue(C)) << 16) | (unsigned(GetGValue(C)) << 8) | unsigned(GetBValue(C));
}

namespace {

const std::array<unsigned, 256>& CrcTable() {
  static const std::array<unsigned, 256> Table = [] {
    std::array<unsigned, 256> T{};
    for (unsigned n = 0; n < 256; ++n) {
      unsigned c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      T[n] = c;
    }
    return T;
  }();
  return Table;
}

void PutBig(std::string& Out, unsigned Value) {
  for (int Shift = 24; Shift >= 0; Shift -= 8) Out += char((Value >> Shift) & 0xFF);
}

void Chunk(std::string& Out, const char* Type, const std::string& Data) {
  PutBig(Out, unsigned(Data.size()));
  std::string Body = std::string(Type, 4) + Data;
  Out += Body;
  unsigned Crc = 0xFFFFFFFFu;
  for (unsigned char Byte : Body) Crc = CrcTable()[(Crc ^ Byte) & 0xFF] ^ (Crc >> 8);
  PutBig(Out, Crc ^ 0xFFFFFFFFu);
}

}  // namespace

bool WritePng(const TPixelArea& Picture, const std::string& HostPath) {
  // The rows, each after its filter byte, in stored (uncompressed) deflate blocks.
  std::string Raw;
  for (int Y = 0; Y < Picture.Height; ++Y) {
    Raw += char(0);
    for (int X = 0; X < Picture.Width; ++X) {
      unsigned P = Picture.At(X, Y);
      Raw += char((P >> 16) & 0xFF);
      Raw += char((P >> 8) & 0xFF);
      Raw += char(P & 0xFF);
    }
  }
  std::string Deflate = "\x78\x01";
  for (std::size_t Start = 0; Start < Raw.size() || Start == 0; Start += 65535) {
    std::size_t Length = std::min<std::size_t>(65535, Raw.size() - Start);
    bool Last = Start + Length >= Raw.size();
    Deflate += char(Last ? 1 : 0);
    Deflate += char(Length & 0xFF);
    Deflate += char(Length >> 8);
    Deflate += char(~Length & 0xFF);
    Deflate += char((~Length >> 8) & 0xFF);
    Deflate += Raw.substr(Start, Length);
    if (Last) break;
  }
  unsigned A = 1, B = 0;
  for (unsigned char Byte : Raw) {
    A = (A + Byte) % 65521;
    B = (B + A) % 65521;
  }
  PutBig(Deflate, (B << 16) | A);
  std::string Png = "\x89PNG\r\n\x1a\n";
  std::string Header;
  PutBig(Header, unsigned(Picture.Width));
  PutBig(Header, unsigned(Picture.Height));
  Header += std::string("\x08\x02\x00\x00\x00", 5);
  Chunk(Png, "IHDR", Header);
  Chunk(Png, "IDAT", Deflate);
  Chunk(Png, "IEND", std::string());
  FILE* File = std::fopen(HostPath.c_str(), "wb");
  if (File == nullptr) return false;
  bool Written = std::fwrite(Png.data(), 1, Png.size(), File) == Png.size();
  return std::fclose(File) == 0 && Written;
}
