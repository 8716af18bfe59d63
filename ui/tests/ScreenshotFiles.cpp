// This file implements screenshots for the GUI tests: PNG encoding and the copy of the pixels.
#include "ScreenshotFiles.h"

#include <algorithm>
#include <cstdint>

#include "FileUtils.h"
#include "Streams.h"

namespace {

std::uint32_t Crc32(const std::string& Data) {
  static std::uint32_t table[256];
  static bool made = false;
  if (!made) {
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[n] = c;
    }
    made = true;
  }
  std::uint32_t c = 0xFFFFFFFFu;
  for (unsigned char b : Data) c = table[(c ^ b) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

void PutBig(std::string& Out, std::uint32_t V) {
  for (int s = 24; s >= 0; s -= 8) Out.push_back(char((V >> s) & 0xFF));
}

void Chunk(std::string& Out, const char* Type, const std::string& Data) {
  PutBig(Out, std::uint32_t(Data.size()));
  std::string body = std::string(Type, 4) + Data;
  Out += body;
  PutBig(Out, Crc32(body));
}

}  // namespace

std::string EncodePng(int Width, int Height, const std::vector<COLORREF>& Pixels) {
  std::string raw;
  for (int y = 0; y < Height; ++y) {
    raw.push_back(0);
    for (int x = 0; x < Width; ++x) {
      COLORREF c = Pixels[std::size_t(y * Width + x)];
      raw.push_back(char(GetRValue(c)));
      raw.push_back(char(GetGValue(c)));
      raw.push_back(char(GetBValue(c)));
    }
  }
  std::string zlib = "\x78\x01";
  std::size_t pos = 0;
  do {
    std::size_t n = std::min<std::size_t>(65535, raw.size() - pos);
    zlib.push_back(pos + n >= raw.size() ? 1 : 0);
    zlib.push_back(char(n & 0xFF));
    zlib.push_back(char(n >> 8));
    zlib.push_back(char(~n & 0xFF));
    zlib.push_back(char((~n >> 8) & 0xFF));
    zlib.append(raw, pos, n);
    pos += n;
  } while (pos < raw.size());
  std::uint32_t a = 1, b = 0;
  for (unsigned char c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  PutBig(zlib, (b << 16) | a);
  std::string png = "\x89PNG\r\n\x1a\n";
  std::string header;
  PutBig(header, std::uint32_t(Width));
  PutBig(header, std::uint32_t(Height));
  header += std::string("\x08\x02\x00\x00\x00", 5);
  Chunk(png, "IHDR", header);
  Chunk(png, "IDAT", zlib);
  Chunk(png, "IEND", std::string());
  return png;
}

void WriteScreenshotPng(const String& Name, int Width, int Height, const std::vector<COLORREF>& Pixels) {
  String folder = ExtractFilePath(ParamStr(0)) + "screenshots\\";
  ForceDirectories(folder);
  std::string png = EncodePng(Width, Height, Pixels);
  TFileStream file(folder + Name + ".png", fmCreate);
  file.WriteBuffer(png.data(), std::int64_t(png.size()));
}

void SaveScreenshotOf(HDC Source, int X, int Y, int Width, int Height, const String& Name) {
  if (Width <= 0 || Height <= 0) return;
  TOwnedBitmap bitmap(CreateCompatibleBitmap(Source, Width, Height));
  {
    TBitmapDC memory(bitmap, Source);
    BitBlt(memory, 0, 0, Width, Height, Source, X, Y, SRCCOPY);
  }
  std::vector<std::uint32_t> bits(std::size_t(Width * Height));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = Width;
  info.bmiHeader.biHeight = -Height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  GetDIBits(Source, bitmap, 0, UINT(Height), bits.data(), &info, DIB_RGB_COLORS);
  std::vector<COLORREF> pixels(bits.size());
  for (std::size_t i = 0; i < bits.size(); ++i)
    pixels[i] = RGB((bits[i] >> 16) & 0xFF, (bits[i] >> 8) & 0xFF, bits[i] & 0xFF);
  WriteScreenshotPng(Name, Width, Height, pixels);
}
