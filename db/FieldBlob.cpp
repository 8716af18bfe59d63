// This file implements the binary fields: TBytesField and TVarBytesField, whose bytes lie in the
// record, and the blob fields (TBlobField, TMemoField, TGraphicField), reached through the
// dataset's blob streams.
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "DataSet.h"
#include "Field.h"
#include "Streams.h"

// --- TBinaryField --------------------------------------------------------------------------------

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TBinaryField)

TBinaryField::TBinaryField(TComponent* AOwner) : TField(AOwner) {}

void TBinaryField::CheckTypeSize(int Value) {
  if (Value < 1 || Value > 65535) DatabaseError(FieldConsts::SInvalidFieldSize);
}

String TBinaryField::AsString() {
  String Bytes;
  return GetBytes(Bytes) ? Bytes : String();
}

void TBinaryField::SetAsString(const String& Value) { SetBytes(Value); }

Variant TBinaryField::AsVariant() {
  String Bytes;
  if (!GetBytes(Bytes)) return Variant::Null();
  Variant Result = VarArrayCreate(0, int(Bytes.size()) - 1, varByte);
  for (std::size_t i = 0; i < Bytes.size(); ++i)
    Result.PutElement(int(i), Variant::FromByte(static_cast<unsigned char>(Bytes[i])));
  return Result;
}

void TBinaryField::SetVarValue(const Variant& Value) {
  if (!VarIsArray(Value)) {
    SetBytes(Value.AsString());
    return;
  }
  String Bytes;
  for (int i = VarArrayLowBound(Value, 1); i <= VarArrayHighBound(Value, 1); ++i)
    Bytes.push_back(static_cast<char>(Value.GetElement(i).AsInteger()));
  SetBytes(Bytes);
}

// --- TBytesField ---------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TBytesField)
VELBOR_PUBLISHED(TBytesField, Prop("Size", &Self::Size, &Self::SetSize).Default(16))

TBytesField::TBytesField(TComponent* AOwner) : TBinaryField(AOwner) {
  SetDataType(ftBytes);
  FSize = 16;
}

bool TBytesField::GetBytes(String& Bytes) {
  std::vector<char> Buffer(std::size_t(DataSize()), '\0');
  if (!GetData(Buffer.data())) return false;
  Bytes.assign(Buffer.data(), Buffer.size());
  return true;
}

void TBytesField::SetBytes(const String& Bytes) {
  // A fixed-size column: a shorter value is padded with zeros, a longer one cut.
  std::vector<char> Buffer(std::size_t(DataSize()), '\0');
  std::memcpy(Buffer.data(), Bytes.data(), std::min(Bytes.size(), Buffer.size()));
  SetData(Buffer.data());
}

// --- TVarBytesField ------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TVarBytesField)
VELBOR_PUBLISHED(TVarBytesField, Prop("Size", &Self::Size, &Self::SetSize).Default(16))

TVarBytesField::TVarBytesField(TComponent* AOwner) : TBinaryField(AOwner) {
  SetDataType(ftVarBytes);
  FSize = 16;
}

bool TVarBytesField::GetBytes(String& Bytes) {
  std::vector<char> Buffer(std::size_t(DataSize()), '\0');
  if (!GetData(Buffer.data())) return false;
  std::uint16_t Length = 0;
  std::memcpy(&Length, Buffer.data(), sizeof Length);
  Bytes.assign(Buffer.data() + 2, std::min<std::size_t>(Length, std::size_t(Size())));
  return true;
}

void TVarBytesField::SetBytes(const String& Bytes) {
  std::vector<char> Buffer(std::size_t(DataSize()), '\0');
  std::uint16_t Length = std::uint16_t(std::min(Bytes.size(), std::size_t(Size())));
  std::memcpy(Buffer.data(), &Length, sizeof Length);
  std::memcpy(Buffer.data() + 2, Bytes.data(), Length);
  SetData(Buffer.data());
}

// --- TBlobField ----------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TBlobField)
VELBOR_PUBLISHED(TBlobField, Prop("Size", &Self::Size, &Self::SetSize).Default(0))

TBlobField::TBlobField(TComponent* AOwner) : TField(AOwner) { SetDataType(ftBlob); }

void TBlobField::CheckTypeSize(int Value) {
  if (Value < 0) DatabaseError(FieldConsts::SInvalidFieldSize);
}

namespace {

std::unique_ptr<TStream> OpenBlob(TField* Field, TBlobStreamMode Mode) {
  if (Field->DataSet() == nullptr) DatabaseErrorFmt(FieldConsts::SDataSetMissing, {Field->DisplayName()});
  return std::unique_ptr<TStream>(Field->DataSet()->CreateBlobStream(Field, Mode));
}

}  // namespace

int TBlobField::BlobSize() { return int(OpenBlob(this, bmRead)->Size()); }

bool TBlobField::IsNull() { return BlobSize() == 0; }

String TBlobField::AsString() {
  std::unique_ptr<TStream> Stream = OpenBlob(this, bmRead);
  String Result(std::size_t(Stream->Size()), '\0');
  Stream->SetPosition(0);
  if (!Result.empty()) Stream->ReadBuffer(Result.data(), std::int64_t(Result.size()));
  return Result;
}

void TBlobField::SetAsString(const String& Value) {
  bool Tell = BeginWrite();
  {
    std::unique_ptr<TStream> Stream = OpenBlob(this, bmWrite);
    if (!Value.empty()) Stream->WriteBuffer(Value.data(), std::int64_t(Value.size()));
  }
  FModified = true;
  EndWrite(Tell);
}

void TBlobField::Clear() { SetAsString(String()); }

void TBlobField::LoadFromStream(TStream* Stream) {
  bool Tell = BeginWrite();
  {
    std::unique_ptr<TStream> Blob = OpenBlob(this, bmWrite);
    Blob->CopyFrom(Stream, 0);
  }
  FModified = true;
  EndWrite(Tell);
}

void TBlobField::SaveToStream(TStream* Stream) {
  std::unique_ptr<TStream> Blob = OpenBlob(this, bmRead);
  if (Blob->Size() > 0) Stream->CopyFrom(Blob.get(), 0);
}

void TBlobField::LoadFromFile(const String& FileName) {
  TFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&File);
}

void TBlobField::SaveToFile(const String& FileName) {
  TFileStream File(FileName, fmCreate);
  SaveToStream(&File);
}

Variant TBlobField::AsVariant() {
  String Value = AsString();
  if (Value.empty()) return Variant::Null();
  return Variant(std::move(Value));
}

void TBlobField::SetVarValue(const Variant& Value) { SetAsString(Value.AsString()); }

void TBlobField::Assign(TPersistent* Source) {
  if (auto* Blob = dynamic_cast<TBlobField*>(Source)) SetAsString(Blob->AsString());
  else inherited::Assign(Source);
}

VELBOR_IMPLEMENT_CLASS(TMemoField)

TMemoField::TMemoField(TComponent* AOwner) : TBlobField(AOwner) { SetDataType(ftMemo); }

VELBOR_IMPLEMENT_CLASS(TGraphicField)

TGraphicField::TGraphicField(TComponent* AOwner) : TBlobField(AOwner) { SetDataType(ftGraphic); }
