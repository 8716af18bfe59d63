// This file implements TJPEGImage: a graphic holding JPEG data, decoded into a bitmap on demand
// (full size or scaled down, in colour or gray, 24 bits or 256 colours) and encoded from any
// graphic it is assigned.
#pragma once

#include "Graphics.h"

enum TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };
VELBOR_ENUM(TJPEGScale, "jsFullSize", "jsHalf", "jsQuarter", "jsEighth")
enum TJPEGPixelFormat { jf24Bit, jf8Bit };
VELBOR_ENUM(TJPEGPixelFormat, "jf24Bit", "jf8Bit")
enum TJPEGPerformance { jpBestQuality, jpBestSpeed };
VELBOR_ENUM(TJPEGPerformance, "jpBestQuality", "jpBestSpeed")

// Undecodable data; the message carries the library's reason.
VELBOR_EXCEPTION(EJPEG, EInvalidGraphic)

// Form descriptions hold its data as a 4-byte little-endian size followed by the JPEG file.
class TJPEGImage : public TGraphic {
  VELBOR_DECLARE_CLASS(TJPEGImage, TGraphic)
 public:
  TJPEGImage() = default;
  ~TJPEGImage() override;

  // Properties. Changing how the picture is decoded drops the decoded bitmap.
  bool Grayscale() const { return FGrayscale; }
  void SetGrayscale(bool Value);
  TJPEGScale Scale() const { return FScale; }
  void SetScale(TJPEGScale Value);
  TJPEGPixelFormat PixelFormat() const { return FPixelFormat; }
  void SetPixelFormat(TJPEGPixelFormat Value);
  TJPEGPerformance Performance() const { return FPerformance; }
  void SetPerformance(TJPEGPerformance Value);
  // 1..100, used when the picture is encoded.
  int CompressionQuality() const { return FQuality; }
  void SetCompressionQuality(int Value);
  bool ProgressiveEncoding = false;
  // Read from the data: whether it is a progressive JPEG.
  bool ProgressiveDisplay() const { return FInfo.Progressive; }
  bool Smoothing = true;
  // The decoded picture (decoded now when needed). EJPEG when the data cannot be decoded.
  TBitmap* Bitmap();
  // The JPEG bytes.
  const std::string& Data() const { return FData; }

  // Operations.
  void DIBNeeded();
  // Encodes the bitmap when the picture came from a bitmap and has no JPEG data yet.
  void JPEGNeeded();
  void Compress();
  void Assign(TPersistent* Source) override;
  // Reads the rest of the stream; EJPEG when it does not start a readable JPEG.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  // A decoded JPEG has no size of its own to change: EInvalidGraphicOperation.
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;

 protected:
  void AssignTo(TPersistent* Dest) override;
  bool GetEmpty() override { return FData.empty() && !FBitmap; }
  // The size of the decoded picture, at the chosen scale (known from the header alone).
  int GetWidth() override;
  int GetHeight() override;
  void ReadData(TStream* Stream) override;
  void WriteData(TStream* Stream) override;

 private:
  void FreeBitmap();
  void SetData(std::string Bytes);
  int Denominator() const { return 1 << int(FScale); }

  std::string FData;
  struct {
    int Width = 0;
    int Height = 0;
    bool Progressive = false;
  } FInfo;
  TBitmap* FBitmap = nullptr;
  bool FGrayscale = false;
  TJPEGScale FScale = jsFullSize;
  TJPEGPixelFormat FPixelFormat = jf24Bit;
  TJPEGPerformance FPerformance = jpBestQuality;
  int FQuality = 90;
};
