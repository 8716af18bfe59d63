// This file implements TJPEGImage over the JPEG codec.
#include "Jpeg.h"

#include <memory>

#include "Format.h"
#include "JpegDecoder.h"
#include "Streams.h"

VELBOR_IMPLEMENT_CLASS(TJPEGImage)

TJPEGImage::~TJPEGImage() { delete FBitmap; }

void TJPEGImage::FreeBitmap() {
  delete FBitmap;
  FBitmap = nullptr;
}

void TJPEGImage::SetData(std::string Bytes) {
  JpegCodec::TJpegInfo info;
  std::string error;
  if (!JpegCodec::ReadInfo(Bytes.data(), Bytes.size(), info, error))
    throw EJPEG(Format("Erreur JPEG : %s", {String(error)}));
  FreeBitmap();
  FData = std::move(Bytes);
  FInfo.Width = info.Width;
  FInfo.Height = info.Height;
  FInfo.Progressive = info.Progressive;
}

// A picture that exists only as a bitmap is encoded first, so that decoding again is possible.
void TJPEGImage::SetGrayscale(bool Value) {
  if (Value == FGrayscale) return;
  JPEGNeeded();
  FGrayscale = Value;
  FreeBitmap();
  Changed(this);
}

void TJPEGImage::SetScale(TJPEGScale Value) {
  if (Value == FScale) return;
  JPEGNeeded();
  FScale = Value;
  FreeBitmap();
  Changed(this);
}

void TJPEGImage::SetPixelFormat(TJPEGPixelFormat Value) {
  if (Value == FPixelFormat) return;
  JPEGNeeded();
  FPixelFormat = Value;
  FreeBitmap();
  Changed(this);
}

void TJPEGImage::SetPerformance(TJPEGPerformance Value) {
  if (Value == FPerformance) return;
  JPEGNeeded();
  FPerformance = Value;
  FreeBitmap();
  Changed(this);
}

void TJPEGImage::SetCompressionQuality(int Value) { FQuality = Value < 1 ? 1 : Value > 100 ? 100 : Value; }

TBitmap* TJPEGImage::Bitmap() {
  DIBNeeded();
  return FBitmap;
}

void TJPEGImage::DIBNeeded() {
  if (FBitmap || FData.empty()) return;
  JpegCodec::TDecodeOptions options;
  options.ScaleDenom = Denominator();
  options.Grayscale = FGrayscale;
  options.Quantize = FPixelFormat == jf8Bit && !FGrayscale;
  options.FastDct = FPerformance == jpBestSpeed;
  options.Smoothing = Smoothing;
  JpegCodec::TDecodedImage image;
  std::string error;
  if (!JpegCodec::Decode(FData.data(), FData.size(), options, image, error))
    throw EJPEG(Format("Erreur JPEG : %s", {String(error)}));

  auto bitmap = std::make_unique<TBitmap>();
  if (image.Channels == 1) {
    bitmap->SetPixelFormat(pf8bit);
    std::vector<TColor> table(256);
    if (!image.ColorMap.empty()) {
      for (std::size_t i = 0; i < image.ColorMap.size() / 3; ++i)
        table[i] = RGBToColor(image.ColorMap[3 * i], image.ColorMap[3 * i + 1], image.ColorMap[3 * i + 2]);
    } else {
      for (int i = 0; i < 256; ++i) table[std::size_t(i)] = RGBToColor(i, i, i);
    }
    bitmap->SetColorTable(table);
  } else {
    bitmap->SetPixelFormat(pf24bit);
  }
  bitmap->SetSize(image.Width, image.Height);
  for (int y = 0; y < image.Height; ++y) {
    auto* out = static_cast<std::uint8_t*>(bitmap->ScanLine(y));
    const std::uint8_t* in = image.Pixels.data() + std::size_t(y) * std::size_t(image.Width) * std::size_t(image.Channels);
    if (image.Channels == 1) {
      std::copy(in, in + image.Width, out);
    } else {
      for (int x = 0; x < image.Width; ++x) {
        out[3 * x] = in[3 * x + 2];
        out[3 * x + 1] = in[3 * x + 1];
        out[3 * x + 2] = in[3 * x];
      }
    }
  }
  FBitmap = bitmap.release();
}

void TJPEGImage::Compress() {
  if (!FBitmap || FBitmap->Empty()) return;
  TBitmap copy;
  copy.Assign(FBitmap);
  copy.SetPixelFormat(pf24bit);
  int w = copy.Width(), h = copy.Height();
  int channels = FGrayscale ? 1 : 3;
  std::vector<std::uint8_t> pixels(std::size_t(w) * std::size_t(h) * std::size_t(channels));
  for (int y = 0; y < h; ++y) {
    const auto* in = static_cast<const std::uint8_t*>(copy.ScanLine(y));
    std::uint8_t* out = pixels.data() + std::size_t(y) * std::size_t(w) * std::size_t(channels);
    for (int x = 0; x < w; ++x) {
      int b = in[3 * x], g = in[3 * x + 1], r = in[3 * x + 2];
      if (channels == 1) {
        out[x] = std::uint8_t((r * 299 + g * 587 + b * 114 + 500) / 1000);
      } else {
        out[3 * x] = std::uint8_t(r);
        out[3 * x + 1] = std::uint8_t(g);
        out[3 * x + 2] = std::uint8_t(b);
      }
    }
  }
  std::vector<std::uint8_t> encoded;
  std::string error;
  if (!JpegCodec::Encode(pixels.data(), w, h, channels, FQuality, ProgressiveEncoding, encoded, error))
    throw EJPEG(Format("Erreur JPEG : %s", {String(error)}));
  FData.assign(encoded.begin(), encoded.end());
  FInfo.Width = w;
  FInfo.Height = h;
  FInfo.Progressive = ProgressiveEncoding;
  // The bitmap was the full-size picture; the scale applies to the next decoding.
  if (FScale != jsFullSize) FreeBitmap();
}

void TJPEGImage::JPEGNeeded() {
  if (FData.empty() && FBitmap) Compress();
}

void TJPEGImage::Assign(TPersistent* Source) {
  if (!Source) {
    FData.clear();
    FInfo = {};
    FreeBitmap();
    Changed(this);
    return;
  }
  if (auto* j = dynamic_cast<TJPEGImage*>(Source)) {
    if (j == this) return;
    FData = j->FData;
    FInfo.Width = j->FInfo.Width;
    FInfo.Height = j->FInfo.Height;
    FInfo.Progressive = j->FInfo.Progressive;
    FGrayscale = j->FGrayscale;
    FScale = j->FScale;
    FPixelFormat = j->FPixelFormat;
    FPerformance = j->FPerformance;
    FQuality = j->FQuality;
    ProgressiveEncoding = j->ProgressiveEncoding;
    Smoothing = j->Smoothing;
    FreeBitmap();
    if (j->FBitmap && FData.empty()) {
      FBitmap = new TBitmap();
      FBitmap->Assign(j->FBitmap);
    }
    Changed(this);
    return;
  }
  if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    // Any other graphic becomes the picture's bitmap; the JPEG data is made when asked for.
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->Assign(g);
    FData.clear();
    FInfo = {};
    FInfo.Width = bitmap->Width();
    FInfo.Height = bitmap->Height();
    FreeBitmap();
    FScale = jsFullSize;
    FBitmap = bitmap.release();
    Changed(this);
    return;
  }
  inherited::Assign(Source);
}

void TJPEGImage::AssignTo(TPersistent* Dest) {
  if (auto* b = dynamic_cast<TBitmap*>(Dest)) {
    DIBNeeded();
    b->Assign(FBitmap);
    return;
  }
  inherited::AssignTo(Dest);
}

void TJPEGImage::LoadFromStream(TStream* Stream) {
  std::int64_t size = Stream->Size() - Stream->Position();
  std::string bytes(std::size_t(size > 0 ? size : 0), '\0');
  if (size > 0) Stream->ReadBuffer(bytes.data(), size);
  SetData(std::move(bytes));
  Changed(this);
}

void TJPEGImage::SaveToStream(TStream* Stream) {
  JPEGNeeded();
  if (!FData.empty()) Stream->WriteBuffer(FData.data(), std::int64_t(FData.size()));
}

void TJPEGImage::ReadData(TStream* Stream) {
  std::uint32_t size = 0;
  Stream->ReadBuffer(&size, 4);
  std::string bytes(size, '\0');
  if (size) Stream->ReadBuffer(bytes.data(), size);
  if (bytes.empty()) {
    Assign(nullptr);
    return;
  }
  SetData(std::move(bytes));
  Changed(this);
}

void TJPEGImage::WriteData(TStream* Stream) {
  JPEGNeeded();
  std::uint32_t size = std::uint32_t(FData.size());
  Stream->WriteBuffer(&size, 4);
  if (size) Stream->WriteBuffer(FData.data(), size);
}

int TJPEGImage::GetWidth() {
  if (FData.empty()) return FBitmap ? FBitmap->Width() : 0;
  int d = Denominator();
  return (FInfo.Width + d - 1) / d;
}

int TJPEGImage::GetHeight() {
  if (FData.empty()) return FBitmap ? FBitmap->Height() : 0;
  int d = Denominator();
  return (FInfo.Height + d - 1) / d;
}

void TJPEGImage::SetWidth(int) { throw EInvalidGraphicOperation("Impossible de changer la taille d'une image JPEG"); }

void TJPEGImage::SetHeight(int) { throw EInvalidGraphicOperation("Impossible de changer la taille d'une image JPEG"); }

void TJPEGImage::Draw(TCanvas* ACanvas, const TRect& Rect) {
  DIBNeeded();
  if (FBitmap) FBitmap->Draw(ACanvas, Rect);
}
