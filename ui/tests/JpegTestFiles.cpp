// This file implements the tests' JPEG files over libjpeg, apart from the Windows headers.
#include "JpegTestFiles.h"

#include <cstdio>
#include <cstdlib>

extern "C" {
#include <jpeglib.h>
}

// The default error handler ends the program on failure, which fails the test run loudly.
std::string EncodeTestJpeg(int Width, int Height, int Channels, const std::vector<std::uint8_t>& Pixels, int Quality) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = JDIMENSION(Width);
  cinfo.image_height = JDIMENSION(Height);
  cinfo.input_components = Channels;
  cinfo.in_color_space = Channels == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, Quality, TRUE);
  // No chroma subsampling: small colour areas keep their colour.
  for (int i = 0; i < cinfo.num_components; ++i) cinfo.comp_info[i].h_samp_factor = cinfo.comp_info[i].v_samp_factor = 1;
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(Pixels.data() + std::size_t(cinfo.next_scanline) * std::size_t(Width * Channels));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::string out(reinterpret_cast<const char*>(buffer), size);
  std::free(buffer);
  return out;
}
