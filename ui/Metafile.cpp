// This file implements TMetafile (enhanced metafiles, played back scaled into a rectangle) and
// TMetafileCanvas, which records one.
#include <cstring>

#include "Graphics.h"
#include "Streams.h"

namespace {

[[noreturn]] void InvalidMetafile() { throw EInvalidGraphic("Métafichier non valide"_a); }

}  // namespace

VELBOR_IMPLEMENT_CLASS(TMetafile)

TMetafile::~TMetafile() {
  if (FHandle) ::DeleteEnhMetaFile(FHandle);
}

void TMetafile::SetHandle(HENHMETAFILE Value) {
  if (Value == FHandle) return;
  if (FHandle) ::DeleteEnhMetaFile(FHandle);
  FHandle = Value;
  FMMWidth = FMMHeight = 0;
  ENHMETAHEADER header = {};
  if (FHandle && ::GetEnhMetaFileHeader(FHandle, sizeof(header), &header)) {
    FMMWidth = header.rclFrame.right - header.rclFrame.left;
    FMMHeight = header.rclFrame.bottom - header.rclFrame.top;
  }
  Changed(this);
}

HENHMETAFILE TMetafile::ReleaseHandle() {
  HENHMETAFILE h = FHandle;
  FHandle = nullptr;
  FMMWidth = FMMHeight = 0;
  Changed(this);
  return h;
}

void TMetafile::Clear() { SetHandle(nullptr); }

void TMetafile::SetMMWidth(int Value) {
  if (Value == FMMWidth) return;
  FMMWidth = Value;
  Changed(this);
}

void TMetafile::SetMMHeight(int Value) {
  if (Value == FMMHeight) return;
  FMMHeight = Value;
  Changed(this);
}

int TMetafile::GetWidth() { return ::MulDiv(FMMWidth, ScreenPixelsPerInch(LOGPIXELSX), 2540); }

int TMetafile::GetHeight() { return ::MulDiv(FMMHeight, ScreenPixelsPerInch(LOGPIXELSY), 2540); }

void TMetafile::SetWidth(int Value) { SetMMWidth(::MulDiv(Value, 2540, ScreenPixelsPerInch(LOGPIXELSX))); }

void TMetafile::SetHeight(int Value) { SetMMHeight(::MulDiv(Value, 2540, ScreenPixelsPerInch(LOGPIXELSY))); }

void TMetafile::Assign(TPersistent* Source) {
  if (!Source) {
    Clear();
    return;
  }
  if (auto* m = dynamic_cast<TMetafile*>(Source)) {
    if (m == this) return;
    HENHMETAFILE copy = m->FHandle ? ::CopyEnhMetaFileA(m->FHandle, nullptr) : nullptr;
    if (FHandle) ::DeleteEnhMetaFile(FHandle);
    FHandle = copy;
    FMMWidth = m->FMMWidth;
    FMMHeight = m->FMMHeight;
    Enhanced = m->Enhanced;
    CreatedBy = m->CreatedBy;
    Description = m->Description;
    Changed(this);
    return;
  }
  inherited::Assign(Source);
}

void TMetafile::LoadFromStream(TStream* Stream) {
  std::int64_t size = Stream->Size() - Stream->Position();
  if (size < std::int64_t(sizeof(ENHMETAHEADER))) InvalidMetafile();
  std::vector<BYTE> data(static_cast<std::size_t>(size));
  Stream->ReadBuffer(data.data(), size);
  ENHMETAHEADER header;
  std::memcpy(&header, data.data(), sizeof(header));
  if (header.iType != EMR_HEADER || header.dSignature != ENHMETA_SIGNATURE || header.nBytes > data.size())
    InvalidMetafile();
  HENHMETAFILE h = ::SetEnhMetaFileBits(header.nBytes, data.data());
  if (!h) InvalidMetafile();
  SetHandle(h);
}

void TMetafile::SaveToStream(TStream* Stream) {
  if (!FHandle) return;
  UINT size = ::GetEnhMetaFileBits(FHandle, 0, nullptr);
  std::vector<BYTE> data(size);
  ::GetEnhMetaFileBits(FHandle, size, data.data());
  Stream->WriteBuffer(data.data(), size);
}

void TMetafile::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (!FHandle) return;
  ::PlayEnhMetaFile(ACanvas->Handle(), FHandle, AsRECT(Rect));
}

// --- TMetafileCanvas ----------------------------------------------------------------------------

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TMetafileCanvas)

TMetafileCanvas::TMetafileCanvas(TMetafile* AMetafile, HDC ReferenceDevice)
    : TMetafileCanvas(AMetafile, ReferenceDevice, AMetafile->CreatedBy, AMetafile->Description) {}

TMetafileCanvas::TMetafileCanvas(TMetafile* AMetafile, HDC ReferenceDevice, const String& CreatedBy,
                                 const String& Description)
    : FMetafile(AMetafile) {
  // A size already given to the metafile becomes the picture frame; otherwise GDI frames what
  // is drawn.
  RECT frame = {0, 0, AMetafile->MMWidth(), AMetafile->MMHeight()};
  bool framed = frame.right > 0 && frame.bottom > 0;
  String text;
  if (!CreatedBy.empty() || !Description.empty()) {
    text = CreatedBy + '\0' + Description + '\0' + '\0';
  }
  HDC dc = ::CreateEnhMetaFileA(ReferenceDevice, nullptr, framed ? &frame : nullptr, text.empty() ? nullptr : text.c_str());
  if (!dc) throw EOutOfResources("Ressources système insuffisantes"_a);
  FDC = dc;
  SetHandle(dc);
}

// The recording ends here and becomes the metafile's picture.
TMetafileCanvas::~TMetafileCanvas() {
  SetHandle(nullptr);
  HENHMETAFILE h = ::CloseEnhMetaFile(FDC);
  if (h) FMetafile->SetHandle(h);
}
