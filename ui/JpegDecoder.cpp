// This file implements the JPEG codec over libjpeg. Errors leave the library through longjmp
// to the function that called it; no C++ exception ever crosses the C code, and no C++ object
// is constructed between a setjmp and the library calls it guards.
#include "JpegDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern "C" {
#include <jpeglib.h>
}

namespace JpegCodec {

namespace {

struct TErrorManager {
  jpeg_error_mgr Base;
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr Info) {
  auto* err = reinterpret_cast<TErrorManager*>(Info->err);
  (*Info->err->format_message)(Info, err->Message);
  std::longjmp(err->Jump, 1);
}

// Warnings (corrupt but readable data) are not errors: the picture shows what could be read.
void OutputMessage(j_common_ptr) {}

void InitErrors(TErrorManager& Err) {
  jpeg_std_error(&Err.Base);
  Err.Base.error_exit = ErrorExit;
  Err.Base.output_message = OutputMessage;
  Err.Message[0] = 0;
}

// Reads the header into Info; the caller has done setjmp.
void StartRead(jpeg_decompress_struct& Cinfo, const void* Data, std::size_t Size) {
  jpeg_create_decompress(&Cinfo);
  jpeg_mem_src(&Cinfo, static_cast<const unsigned char*>(Data), static_cast<unsigned long>(Size));
  jpeg_read_header(&Cinfo, TRUE);
}

}  // namespace

bool ReadInfo(const void* Data, std::size_t Size, TJpegInfo& Info, std::string& Error) {
  jpeg_decompress_struct cinfo;
  TErrorManager err;
  std::memset(&cinfo, 0, sizeof(cinfo));
  InitErrors(err);
  cinfo.err = &err.Base;
  if (Size == 0) {
    Error = "Empty JPEG image";
    return false;
  }
  if (setjmp(err.Jump)) {
    jpeg_destroy_decompress(&cinfo);
    Error = err.Message;
    return false;
  }
  StartRead(cinfo, Data, Size);
  Info.Width = int(cinfo.image_width);
  Info.Height = int(cinfo.image_height);
  Info.Components = cinfo.num_components;
  Info.Progressive = cinfo.progressive_mode != 0;
  jpeg_destroy_decompress(&cinfo);
  return true;
}

bool Decode(const void* Data, std::size_t Size, const TDecodeOptions& Options, TDecodedImage& Image,
            std::string& Error) {
  jpeg_decompress_struct cinfo;
  TErrorManager err;
  std::memset(&cinfo, 0, sizeof(cinfo));
  InitErrors(err);
  cinfo.err = &err.Base;
  if (Size == 0) {
    Error = "Empty JPEG image";
    return false;
  }
  // Image's vectors exist before setjmp; a jump only leaves them partly filled.
  if (setjmp(err.Jump)) {
    jpeg_destroy_decompress(&cinfo);
    Error = err.Message;
    return false;
  }
  StartRead(cinfo, Data, Size);
  cinfo.scale_num = 1;
  cinfo.scale_denom = static_cast<unsigned>(Options.ScaleDenom);
  if (Options.Grayscale) {
    cinfo.out_color_space = JCS_GRAYSCALE;
  } else if (cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK) {
    cinfo.out_color_space = JCS_CMYK;
  } else if (cinfo.num_components == 1) {
    cinfo.out_color_space = JCS_GRAYSCALE;
  } else {
    cinfo.out_color_space = JCS_RGB;
  }
  if (Options.Quantize && cinfo.out_color_space == JCS_RGB) {
    cinfo.quantize_colors = TRUE;
    cinfo.desired_number_of_colors = 256;
    cinfo.two_pass_quantize = TRUE;
    cinfo.dither_mode = JDITHER_FS;
  }
  if (Options.FastDct) cinfo.dct_method = JDCT_IFAST;
  cinfo.do_fancy_upsampling = Options.Smoothing ? TRUE : FALSE;
  jpeg_start_decompress(&cinfo);
  bool cmyk = cinfo.out_color_space == JCS_CMYK;
  int outChannels = cinfo.output_components == 1 ? 1 : 3;
  Image.Width = int(cinfo.output_width);
  Image.Height = int(cinfo.output_height);
  Image.Channels = outChannels;
  Image.Pixels.resize(std::size_t(Image.Width) * std::size_t(Image.Height) * std::size_t(outChannels));
  Image.ColorMap.clear();
  if (cinfo.quantize_colors) {
    Image.ColorMap.resize(std::size_t(cinfo.actual_number_of_colors) * 3);
    for (int i = 0; i < cinfo.actual_number_of_colors; ++i)
      for (int c = 0; c < 3; ++c) Image.ColorMap[std::size_t(i) * 3 + std::size_t(c)] = cinfo.colormap[c][i];
  }
  JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                              cinfo.output_width * unsigned(cinfo.output_components), 1);
  while (cinfo.output_scanline < cinfo.output_height) {
    std::size_t y = cinfo.output_scanline;
    jpeg_read_scanlines(&cinfo, row, 1);
    std::uint8_t* out = Image.Pixels.data() + y * std::size_t(Image.Width) * std::size_t(outChannels);
    if (!cmyk) {
      std::memcpy(out, row[0], std::size_t(Image.Width) * std::size_t(outChannels));
    } else {
      // Adobe writes CMYK inverted: each stored value is 255 - ink.
      for (int x = 0; x < Image.Width; ++x) {
        const JSAMPLE* p = row[0] + 4 * x;
        out[3 * x] = std::uint8_t(p[0] * p[3] / 255);
        out[3 * x + 1] = std::uint8_t(p[1] * p[3] / 255);
        out[3 * x + 2] = std::uint8_t(p[2] * p[3] / 255);
      }
    }
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

bool Encode(const std::uint8_t* Pixels, int Width, int Height, int Channels, int Quality, bool Progressive,
            std::vector<std::uint8_t>& Out, std::string& Error) {
  jpeg_compress_struct cinfo;
  TErrorManager err;
  std::memset(&cinfo, 0, sizeof(cinfo));
  InitErrors(err);
  cinfo.err = &err.Base;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  if (setjmp(err.Jump)) {
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    Error = err.Message;
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(Width);
  cinfo.image_height = static_cast<JDIMENSION>(Height);
  cinfo.input_components = Channels;
  cinfo.in_color_space = Channels == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, Quality, TRUE);
  if (Progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(Pixels + std::size_t(cinfo.next_scanline) * std::size_t(Width) * std::size_t(Channels));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  Out.assign(buffer, buffer + size);
  std::free(buffer);
  return true;
}

}  // namespace JpegCodec
