// This file implements the byte streams of the class library: TStream, THandleStream,
// TFileStream, TMemoryStream and TStringStream.
#include "Streams.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "Exceptions.h"

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TStream)
VELBOR_IMPLEMENT_ABSTRACT_CLASS(THandleStream)
VELBOR_IMPLEMENT_ABSTRACT_CLASS(TFileStream)
VELBOR_IMPLEMENT_CLASS(TMemoryStream)
VELBOR_IMPLEMENT_CLASS(TStringStream)

namespace {

// The position a Seek asks for, from the current position and size.
std::int64_t SeekTarget(std::int64_t Offset, TSeekOrigin Origin, std::int64_t Position, std::int64_t Size) {
  switch (Origin) {
    case soCurrent:
      return Position + Offset;
    case soEnd:
      return Size + Offset;
    case soBeginning:
      break;
  }
  return Offset;
}

OsPort::SeekOrigin PortOrigin(TSeekOrigin Origin) {
  switch (Origin) {
    case soCurrent:
      return OsPort::SeekOrigin::Current;
    case soEnd:
      return OsPort::SeekOrigin::End;
    case soBeginning:
      break;
  }
  return OsPort::SeekOrigin::Begin;
}

String WithReason(String Message, const String& Reason) {
  if (!Reason.empty()) Message += ". " + Reason;
  return Message;
}

}  // namespace

// ---- TStream -------------------------------------------------------------------------------

std::int64_t TStream::Position() { return Seek(0, soCurrent); }

void TStream::SetPosition(std::int64_t Value) { Seek(Value, soBeginning); }

std::int64_t TStream::Size() {
  std::int64_t Pos = Seek(0, soCurrent);
  std::int64_t Result = Seek(0, soEnd);
  Seek(Pos, soBeginning);
  return Result;
}

void TStream::SetSize(std::int64_t) { throw EStreamError("Ce flux ne peut pas changer de taille"); }

void TStream::ReadBuffer(void* Buffer, std::int64_t Count) {
  if (Count > 0 && Read(Buffer, Count) != Count) throw EReadError("Erreur de lecture du flux");
}

void TStream::WriteBuffer(const void* Buffer, std::int64_t Count) {
  if (Count > 0 && Write(Buffer, Count) != Count) throw EWriteError("Erreur d'écriture du flux"_a);
}

std::int64_t TStream::CopyFrom(TStream* Source, std::int64_t Count) {
  if (Count == 0) {
    Source->SetPosition(0);
    Count = Source->Size();
  }
  const std::int64_t Result = Count;
  constexpr std::int64_t kChunk = 0xF000;
  std::vector<char> Buffer(std::size_t(std::min(Count, kChunk)));
  while (Count > 0) {
    std::int64_t N = std::min(Count, kChunk);
    Source->ReadBuffer(Buffer.data(), N);
    WriteBuffer(Buffer.data(), N);
    Count -= N;
  }
  return Result;
}

// ---- THandleStream / TFileStream -----------------------------------------------------------

void THandleStream::SetSize(std::int64_t NewSize) {
  std::int64_t Pos = Position();
  if (Seek(NewSize, soBeginning) != NewSize || !OsPort::TruncateFile(FHandle))
    throw EStreamError(WithReason("Impossible de changer la taille du fichier", OsPort::LastErrorMessage()));
  Seek(std::min(Pos, NewSize), soBeginning);
}

std::int64_t THandleStream::Read(void* Buffer, std::int64_t Count) {
  return OsPort::ReadFile(FHandle, Buffer, Count);
}

std::int64_t THandleStream::Write(const void* Buffer, std::int64_t Count) {
  return OsPort::WriteFile(FHandle, Buffer, Count);
}

std::int64_t THandleStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
  return OsPort::SeekFile(FHandle, Offset, PortOrigin(Origin));
}

TFileStream::TFileStream(const String& FileName, unsigned Mode) : FFileName(FileName) {
  if ((Mode & fmCreate) == fmCreate) {
    FHandle = OsPort::CreateFile(FileName, Mode & 0xF0);  // the share bits
    if (FHandle == OsPort::InvalidHandle)
      throw EFCreateError(WithReason("Impossible de créer le fichier "_a + FileName, OsPort::LastErrorMessage()));
  } else {
    FHandle = OsPort::OpenFile(FileName, Mode);
    if (FHandle == OsPort::InvalidHandle)
      throw EFOpenError(WithReason("Impossible d'ouvrir le fichier " + FileName, OsPort::LastErrorMessage()));
  }
}

TFileStream::~TFileStream() {
  if (FHandle != OsPort::InvalidHandle) OsPort::CloseFile(FHandle);
}

// ---- TMemoryStream -------------------------------------------------------------------------

TMemoryStream::~TMemoryStream() { Clear(); }

void* TMemoryStream::Realloc(std::int64_t& NewCapacity) {
  constexpr std::int64_t kMemoryDelta = 0x2000;
  if (NewCapacity > 0 && NewCapacity != FSize)
    NewCapacity = (NewCapacity + (kMemoryDelta - 1)) & ~(kMemoryDelta - 1);
  if (NewCapacity == FCapacity) return FMemory;
  if (NewCapacity == 0) {
    std::free(FMemory);
    return nullptr;
  }
  void* Block = std::realloc(FMemory, std::size_t(NewCapacity));
  if (!Block) throw EStreamError("Mémoire insuffisante lors de l'extension du flux mémoire"_a);
  return Block;
}

void TMemoryStream::SetCapacity(std::int64_t NewCapacity) {
  FMemory = Realloc(NewCapacity);
  FCapacity = NewCapacity;
}

void TMemoryStream::SetSize(std::int64_t NewSize) {
  if (NewSize < 0) NewSize = 0;
  std::int64_t OldPosition = FPosition;
  SetCapacity(NewSize);
  FSize = NewSize;
  if (OldPosition > NewSize) FPosition = NewSize;
}

void TMemoryStream::Clear() {
  SetCapacity(0);
  FSize = 0;
  FPosition = 0;
}

std::int64_t TMemoryStream::Read(void* Buffer, std::int64_t Count) {
  if (FPosition < 0 || Count <= 0) return 0;
  std::int64_t N = std::min(Count, FSize - FPosition);
  if (N <= 0) return 0;
  std::memcpy(Buffer, static_cast<char*>(FMemory) + FPosition, std::size_t(N));
  FPosition += N;
  return N;
}

std::int64_t TMemoryStream::Write(const void* Buffer, std::int64_t Count) {
  if (FPosition < 0 || Count <= 0) return 0;
  std::int64_t End = FPosition + Count;
  if (End > FSize) {
    if (End > FCapacity) SetCapacity(End);
    // A write past the end leaves a gap of zero bytes.
    if (FPosition > FSize) std::memset(static_cast<char*>(FMemory) + FSize, 0, std::size_t(FPosition - FSize));
    FSize = End;
  }
  std::memcpy(static_cast<char*>(FMemory) + FPosition, Buffer, std::size_t(Count));
  FPosition = End;
  return Count;
}

std::int64_t TMemoryStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
  FPosition = SeekTarget(Offset, Origin, FPosition, FSize);
  return FPosition;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
  Stream->SetPosition(0);
  std::int64_t Count = Stream->Size();
  SetSize(Count);
  if (Count != 0) Stream->ReadBuffer(FMemory, Count);
}

void TMemoryStream::LoadFromFile(const String& FileName) {
  TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&Stream);
}

void TMemoryStream::SaveToStream(TStream* Stream) {
  if (FSize != 0) Stream->WriteBuffer(FMemory, FSize);
}

void TMemoryStream::SaveToFile(const String& FileName) {
  TFileStream Stream(FileName, fmCreate);
  SaveToStream(&Stream);
}

// ---- TStringStream -------------------------------------------------------------------------

void TStringStream::SetSize(std::int64_t NewSize) {
  FDataString.resize(std::size_t(std::max<std::int64_t>(NewSize, 0)));
  if (FPosition > NewSize) FPosition = std::max<std::int64_t>(NewSize, 0);
}

std::int64_t TStringStream::Read(void* Buffer, std::int64_t Count) {
  if (FPosition < 0 || Count <= 0) return 0;
  std::int64_t N = std::min(Count, Size() - FPosition);
  if (N <= 0) return 0;
  std::memcpy(Buffer, FDataString.data() + FPosition, std::size_t(N));
  FPosition += N;
  return N;
}

std::int64_t TStringStream::Write(const void* Buffer, std::int64_t Count) {
  if (FPosition < 0 || Count <= 0) return 0;
  std::int64_t End = FPosition + Count;
  if (End > Size()) FDataString.resize(std::size_t(End), '\0');
  std::memcpy(FDataString.data() + FPosition, Buffer, std::size_t(Count));
  FPosition = End;
  return Count;
}

std::int64_t TStringStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
  FPosition = SeekTarget(Offset, Origin, FPosition, Size());
  return FPosition;
}

String TStringStream::ReadString(std::int64_t Count) {
  std::int64_t N = std::min(Count, Size() - FPosition);
  if (FPosition < 0 || N <= 0) return String();
  String Result = FDataString.substr(std::size_t(FPosition), std::size_t(N));
  FPosition += N;
  return Result;
}

void TStringStream::WriteString(const String& AString) { Write(AString.data(), std::int64_t(AString.size())); }
