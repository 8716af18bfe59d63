// This file implements the JPEG codec over libjpeg: header reading, decoding (scaled, grayscale,
// quantized to 256 colours) and encoding, from and to memory. It is free of the Windows headers,
// which clash with libjpeg's own types.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace JpegCodec {

struct TJpegInfo {
  int Width = 0;
  int Height = 0;
  int Components = 0;  // 1 gray, 3 colour, 4 CMYK
  bool Progressive = false;
};

struct TDecodeOptions {
  int ScaleDenom = 1;      // 1, 2, 4 or 8
  bool Grayscale = false;  // one channel out
  bool Quantize = false;   // 256 colours: indexes and a colour map
  bool FastDct = false;    // the fast integer DCT
  bool Smoothing = true;   // smooth (fancy) upsampling of the colour channels
};

struct TDecodedImage {
  int Width = 0;
  int Height = 0;
  int Channels = 0;                   // 1 (gray or indexes) or 3 (R, G, B)
  std::vector<std::uint8_t> Pixels;   // rows top first, Width * Channels bytes each
  std::vector<std::uint8_t> ColorMap; // quantized: R, G, B per entry
};

// False with the library's message in Error when the data is not a readable JPEG.
bool ReadInfo(const void* Data, std::size_t Size, TJpegInfo& Info, std::string& Error);
bool Decode(const void* Data, std::size_t Size, const TDecodeOptions& Options, TDecodedImage& Image,
            std::string& Error);
// Pixels: rows top first, R, G, B (Channels 3) or gray (Channels 1). Quality 1..100.
bool Encode(const std::uint8_t* Pixels, int Width, int Height, int Channels, int Quality, bool Progressive,
            std::vector<std::uint8_t>& Out, std::string& Error);

}  // namespace JpegCodec
