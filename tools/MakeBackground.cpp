// This file implements the maker of the main window's background picture: a calm landscape of
// water and sky in pale tones, 859 x 563 pixels, written as a JPEG file (app/fond.jpg is made by
// it: MakeBackground app/fond.jpg).
#include <cmath>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace {

constexpr int kWidth = 859;
constexpr int kHeight = 563;

struct TRgb {
  double R, G, B;
};

TRgb Mix(TRgb A, TRgb B, double T) { return {A.R + (B.R - A.R) * T, A.G + (B.G - A.G) * T, A.B + (B.B - A.B) * T}; }

// The colour of one pixel: a pale sky over a line of far banks, then still water holding the
// sky's reflection, crossed by faint ripples; tones kept close so that windows read well on it.
TRgb Pixel(int X, int Y) {
  const TRgb skyTop{206, 222, 232}, skyLow{232, 238, 234}, bank{176, 196, 170};
  const TRgb waterHigh{198, 214, 216}, waterLow{170, 192, 200};
  const double x = double(X) / kWidth, y = double(Y) / kHeight;
  // The far bank: a low, gently rolling line of vegetation.
  const double horizon = 0.46 + 0.025 * std::sin(x * 5.1 + 0.7) + 0.012 * std::sin(x * 13.0 + 2.0);
  const double bankBottom = 0.52;
  if (y < horizon) return Mix(skyTop, skyLow, y / horizon);
  if (y < bankBottom) return Mix(bank, Mix(bank, waterHigh, 0.5), (y - horizon) / (bankBottom - horizon));
  const double depth = (y - bankBottom) / (1 - bankBottom);
  TRgb water = Mix(waterHigh, waterLow, depth);
  // Ripples: long, thin and faint, denser towards the viewer.
  const double ripple = std::sin((y * y) * 260.0 + std::sin(x * 9.0) * 1.5) * std::exp(-std::pow((x - 0.55) * 1.8, 2));
  const double light = 6.0 * ripple * (0.3 + 0.7 * depth);
  return {water.R + light, water.G + light, water.B + light};
}

unsigned char Clamp(double V) { return static_cast<unsigned char>(V < 0 ? 0 : V > 255 ? 255 : std::lround(V)); }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: MakeBackground output.jpg\n");
    return 2;
  }
  FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, out);
  info.image_width = kWidth;
  info.image_height = kHeight;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 85, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(std::size_t(kWidth) * 3);
  while (info.next_scanline < info.image_height) {
    const int y = int(info.next_scanline);
    for (int x = 0; x < kWidth; ++x) {
      TRgb p = Pixel(x, y);
      row[std::size_t(x) * 3] = Clamp(p.R);
      row[std::size_t(x) * 3 + 1] = Clamp(p.G);
      row[std::size_t(x) * 3 + 2] = Clamp(p.B);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return std::fclose(out) == 0 ? 0 : 1;
}
