// This file implements TGraphic's common behaviour and TPicture with its registered formats.
#include <cstring>
#include <memory>

#include "FileUtils.h"
#include "Filer.h"
#include "Format.h"
#include "Graphics.h"
#include "Jpeg.h"
#include "StrUtils.h"
#include "TextOrder.h"
#include "Streams.h"

// --- TGraphic -----------------------------------------------------------------------------------

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TGraphic)

void TGraphic::SetSize(int AWidth, int AHeight) {
  SetWidth(AWidth);
  SetHeight(AHeight);
}

void TGraphic::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  Changed(this);
}

void TGraphic::LoadFromFile(const String& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&stream);
}

void TGraphic::SaveToFile(const String& FileName) {
  TFileStream stream(FileName, fmCreate);
  SaveToStream(&stream);
}

void TGraphic::LoadFromClipboardFormat(UINT, HANDLE, HPALETTE) {
  throw EInvalidGraphicOperation("Format de presse-papiers non pris en charge");
}

void TGraphic::SaveToClipboardFormat(UINT&, HANDLE&, HPALETTE&) {
  throw EInvalidGraphicOperation("Format de presse-papiers non pris en charge");
}

bool TGraphic::Equals(TGraphic* Graphic) {
  if (!Graphic || Graphic->ClassType() != ClassType()) return false;
  if (Empty() || Graphic->Empty()) return Empty() && Graphic->Empty();
  TMemoryStream a, b;
  SaveToStream(&a);
  Graphic->SaveToStream(&b);
  return a.Size() == b.Size() && std::memcmp(a.Memory(), b.Memory(), std::size_t(a.Size())) == 0;
}

void TGraphic::Changed(TObject*) {
  Modified = true;
  if (OnChange) OnChange(this);
}

void TGraphic::DefineProperties(TFiler* Filer) {
  bool hasData = !Empty();
  if (auto* ancestor = dynamic_cast<TGraphic*>(Filer->Ancestor())) hasData = hasData && !Equals(ancestor);
  Filer->DefineBinaryProperty("Data", TStreamProc(this, &TGraphic::ReadDataProc),
                              TStreamProc(this, &TGraphic::WriteDataProc), hasData);
}

void TGraphic::ReadData(TStream* Stream) { LoadFromStream(Stream); }

void TGraphic::WriteData(TStream* Stream) { SaveToStream(Stream); }

// --- Registered formats -------------------------------------------------------------------------

namespace {

struct TFileFormat {
  String Extension;  // lower case, without the dot
  String Description;
  TGraphicClass Class;
};

struct TSignature {
  TPicture::TSignatureTest Test;
  TGraphicClass Class;
};

struct TClipboardFormat {
  UINT Format;
  TGraphicClass Class;
};

bool IsBitmapFile(const std::uint8_t* D, std::size_t N) { return N >= 2 && D[0] == 'B' && D[1] == 'M'; }
bool IsIconFile(const std::uint8_t* D, std::size_t N) {
  return N >= 6 && D[0] == 0 && D[1] == 0 && D[2] == 1 && D[3] == 0 && (D[4] | D[5]) != 0;
}
bool IsJpegFile(const std::uint8_t* D, std::size_t N) { return N >= 3 && D[0] == 0xFF && D[1] == 0xD8 && D[2] == 0xFF; }
// An enhanced metafile starts with its header record (type 1) whose signature " EMF" is at 40.
bool IsMetafileFile(const std::uint8_t* D, std::size_t N) {
  return N >= 44 && D[0] == 1 && D[1] == 0 && D[2] == 0 && D[3] == 0 && D[40] == ' ' && D[41] == 'E' &&
         D[42] == 'M' && D[43] == 'F';
}

// The formats known from the start are built in here, so that a program holding only form
// descriptions still links every graphic class they may name.
struct TRegistry {
  std::vector<TFileFormat> Formats;
  std::vector<TSignature> Signatures;
  std::vector<TClipboardFormat> ClipboardFormats;
  TRegistry() {
    Formats = {{"bmp", "Bitmaps", TBitmap::StaticClass()},
               {"ico", "Icônes"_a, TIcon::StaticClass()},
               {"emf", "Métafichiers améliorés"_a, TMetafile::StaticClass()},
               {"jpg", "Fichier image JPEG", TJPEGImage::StaticClass()},
               {"jpeg", "Fichier image JPEG", TJPEGImage::StaticClass()}};
    Signatures = {{IsBitmapFile, TBitmap::StaticClass()},
                  {IsJpegFile, TJPEGImage::StaticClass()},
                  {IsIconFile, TIcon::StaticClass()},
                  {IsMetafileFile, TMetafile::StaticClass()}};
  }
};

TRegistry& Registry() {
  static TRegistry Value;
  return Value;
}

TGraphicClass FindGraphicClassByName(const String& Name) {
  for (const TFileFormat& f : Registry().Formats)
    if (SameText(f.Class->Name, Name)) return f.Class;
  TClass c = GetClass(Name);
  return c && c->InheritsFrom(TGraphic::StaticClass()) ? c : nullptr;
}

TGraphic* NewGraphic(TGraphicClass Class) { return static_cast<TGraphic*>(Class->Create(nullptr)); }

TGraphicClass ClipboardFormatClass(UINT Format) {
  for (const TClipboardFormat& f : Registry().ClipboardFormats)
    if (f.Format == Format) return f.Class;
  return nullptr;
}

}  // namespace

void TPicture::RegisterFileFormat(const String& Extension, const String& Description, TGraphicClass GraphicClass) {
  String ext = LowerCase(!Extension.empty() && Extension[0] == '.' ? Extension.substr(1) : Extension);
  for (TFileFormat& f : Registry().Formats) {
    if (f.Extension == ext) {
      f.Description = Description;
      f.Class = GraphicClass;
      return;
    }
  }
  Registry().Formats.push_back({ext, Description, GraphicClass});
}

void TPicture::RegisterSignature(TSignatureTest Test, TGraphicClass GraphicClass) {
  Registry().Signatures.push_back({Test, GraphicClass});
}

TGraphicClass TPicture::FindGraphicClassByExtension(const String& Extension) {
  String ext = LowerCase(!Extension.empty() && Extension[0] == '.' ? Extension.substr(1) : Extension);
  for (const TFileFormat& f : Registry().Formats)
    if (f.Extension == ext) return f.Class;
  return nullptr;
}

void TPicture::RegisterClipboardFormat(UINT Format, TGraphicClass GraphicClass) {
  for (TClipboardFormat& f : Registry().ClipboardFormats) {
    if (f.Format == Format) {
      f.Class = GraphicClass;
      return;
    }
  }
  Registry().ClipboardFormats.push_back({Format, GraphicClass});
}

bool TPicture::SupportsClipboardFormat(UINT Format) { return ClipboardFormatClass(Format) != nullptr; }

UINT TPicture::ClipboardFormatOf(TGraphicClass GraphicClass) {
  for (const TClipboardFormat& f : Registry().ClipboardFormats)
    if (f.Class == GraphicClass) return f.Format;
  return 0;
}

// --- TPicture -----------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TPicture)

TPicture::~TPicture() { delete FGraphic; }

void TPicture::TakeGraphic(TGraphic* Value) {
  delete FGraphic;
  FGraphic = Value;
  if (FGraphic) FGraphic->OnChange = TNotifyEvent(this, &TPicture::GraphicChanged);
}

void TPicture::Changed(TObject*) {
  if (OnChange) OnChange(this);
}

void TPicture::SetGraphic(TGraphic* Value) {
  if (Value == FGraphic) return;
  std::unique_ptr<TGraphic> copy;
  if (Value) {
    copy.reset(NewGraphic(Value->ClassType()));
    copy->Assign(Value);
  }
  TakeGraphic(copy.release());
  Changed(this);
}

void TPicture::SetBitmap(TBitmap* Value) { SetGraphic(Value); }
void TPicture::SetIcon(TIcon* Value) { SetGraphic(Value); }
void TPicture::SetMetafile(TMetafile* Value) { SetGraphic(Value); }

void TPicture::ForceType(TGraphicClass Class) {
  if (FGraphic && FGraphic->ClassType() == Class) return;
  TakeGraphic(NewGraphic(Class));
  Changed(this);
}

void TPicture::LoadFromClipboardFormat(UINT Format, HANDLE Data, HPALETTE Palette) {
  TGraphicClass cls = ClipboardFormatClass(Format);
  if (!cls) throw EInvalidGraphic("Format de presse-papiers non pris en charge");
  std::unique_ptr<TGraphic> graphic(NewGraphic(cls));
  graphic->LoadFromClipboardFormat(Format, Data, Palette);
  TakeGraphic(graphic.release());
  Changed(this);
}

TBitmap* TPicture::Bitmap() {
  ForceType(TBitmap::StaticClass());
  return static_cast<TBitmap*>(FGraphic);
}

TIcon* TPicture::Icon() {
  ForceType(TIcon::StaticClass());
  return static_cast<TIcon*>(FGraphic);
}

TMetafile* TPicture::Metafile() {
  ForceType(TMetafile::StaticClass());
  return static_cast<TMetafile*>(FGraphic);
}

int TPicture::Width() const { return FGraphic ? FGraphic->Width() : 0; }

int TPicture::Height() const { return FGraphic ? FGraphic->Height() : 0; }

void TPicture::Assign(TPersistent* Source) {
  if (!Source) {
    SetGraphic(nullptr);
  } else if (auto* p = dynamic_cast<TPicture*>(Source)) {
    SetGraphic(p->FGraphic);
  } else if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    SetGraphic(g);
  } else {
    inherited::Assign(Source);
  }
}

void TPicture::AssignTo(TPersistent* Dest) {
  if (auto* g = dynamic_cast<TGraphic*>(Dest); g && FGraphic) {
    g->Assign(FGraphic);
    return;
  }
  inherited::AssignTo(Dest);
}

void TPicture::LoadFromFile(const String& FileName) {
  String ext = ExtractFileExt(FileName);
  TGraphicClass cls = FindGraphicClassByExtension(ext);
  if (!cls) throw EInvalidGraphic(Format("Extension de fichier graphique inconnue (%s)", {ext}));
  std::unique_ptr<TGraphic> graphic(NewGraphic(cls));
  graphic->LoadFromFile(FileName);
  TakeGraphic(graphic.release());
  Changed(this);
}

void TPicture::SaveToFile(const String& FileName) {
  if (FGraphic) FGraphic->SaveToFile(FileName);
}

void TPicture::LoadFromStream(TStream* Stream) {
  std::uint8_t head[64] = {};
  std::int64_t start = Stream->Position();
  std::int64_t got = Stream->Read(head, sizeof(head));
  Stream->SetPosition(start);
  TGraphicClass cls = nullptr;
  for (const TSignature& s : Registry().Signatures) {
    if (s.Test(head, got > 0 ? std::size_t(got) : 0)) {
      cls = s.Class;
      break;
    }
  }
  if (!cls) throw EInvalidGraphic("Format de graphique inconnu");
  std::unique_ptr<TGraphic> graphic(NewGraphic(cls));
  graphic->LoadFromStream(Stream);
  TakeGraphic(graphic.release());
  Changed(this);
}

void TPicture::SaveToStream(TStream* Stream) {
  if (FGraphic) FGraphic->SaveToStream(Stream);
}

void TPicture::DefineProperties(TFiler* Filer) {
  bool hasData = FGraphic && !FGraphic->Empty();
  if (auto* ancestor = dynamic_cast<TPicture*>(Filer->Ancestor())) {
    TGraphic* other = ancestor->FGraphic;
    if (!hasData) hasData = other && !other->Empty();
    else hasData = !FGraphic->Equals(other);
  }
  Filer->DefineBinaryProperty("Data", TStreamProc(this, &TPicture::ReadData), TStreamProc(this, &TPicture::WriteData),
                              hasData);
}

// A byte with the length of the class name, the name, then the graphic's own data; an empty
// picture (over a non-empty ancestor) is a zero length alone.
void TPicture::WriteData(TStream* Stream) {
  String name = FGraphic && !FGraphic->Empty() ? FGraphic->ClassName() : String();
  std::uint8_t length = std::uint8_t(name.size());
  Stream->WriteBuffer(&length, 1);
  if (length == 0) return;
  Stream->WriteBuffer(name.data(), length);
  FGraphic->WriteData(Stream);
}

void TPicture::ReadData(TStream* Stream) {
  std::uint8_t length = 0;
  Stream->ReadBuffer(&length, 1);
  if (length == 0) {
    SetGraphic(nullptr);
    return;
  }
  String name(length, '\0');
  Stream->ReadBuffer(name.data(), length);
  TGraphicClass cls = FindGraphicClassByName(name);
  if (!cls) throw EInvalidGraphic(Format("Classe graphique %s inconnue", {name}));
  std::unique_ptr<TGraphic> graphic(NewGraphic(cls));
  graphic->ReadData(Stream);
  TakeGraphic(graphic.release());
  Changed(this);
}
