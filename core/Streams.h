// This file implements the byte streams of the class library: TStream, THandleStream and
// TFileStream over the OS port, TMemoryStream, and TStringStream.
#pragma once

#include <cstdint>

#include "AnsiString.h"
#include "Object.h"
#include "OsPort.h"

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// File modes: one access value ored with one share value, or fmCreate (create or truncate) ored
// with a share value.
inline constexpr unsigned fmCreate = 0xFF00;
inline constexpr unsigned fmOpenRead = OsPort::fmOpenRead;
inline constexpr unsigned fmOpenWrite = OsPort::fmOpenWrite;
inline constexpr unsigned fmOpenReadWrite = OsPort::fmOpenReadWrite;
inline constexpr unsigned fmShareCompat = OsPort::fmShareCompat;
inline constexpr unsigned fmShareExclusive = OsPort::fmShareExclusive;
inline constexpr unsigned fmShareDenyWrite = OsPort::fmShareDenyWrite;
inline constexpr unsigned fmShareDenyRead = OsPort::fmShareDenyRead;
inline constexpr unsigned fmShareDenyNone = OsPort::fmShareDenyNone;

class TStream : public TObject {
  VELBOR_DECLARE_CLASS(TStream, TObject)
 public:
  // Position and size, read and set through Seek.
  std::int64_t Position();
  void SetPosition(std::int64_t Value);
  virtual std::int64_t Size();
  // The base class cannot resize: EStreamError. Streams that can override it.
  virtual void SetSize(std::int64_t NewSize);

  // The bytes moved, possibly fewer than Count (0 at the end); -1 when the device fails.
  virtual std::int64_t Read(void* Buffer, std::int64_t Count) = 0;
  virtual std::int64_t Write(const void* Buffer, std::int64_t Count) = 0;
  // The new position from the start.
  virtual std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) = 0;

  // All of Count or an exception: EReadError / EWriteError.
  void ReadBuffer(void* Buffer, std::int64_t Count);
  void WriteBuffer(const void* Buffer, std::int64_t Count);
  // Copies Count bytes from Source's position; Count 0 copies the whole of Source from its start.
  // Returns the bytes copied; a short source raises EReadError.
  std::int64_t CopyFrom(TStream* Source, std::int64_t Count);
};

// A stream over an OS file handle that it does not own.
class THandleStream : public TStream {
  VELBOR_DECLARE_CLASS(THandleStream, TStream)
 public:
  explicit THandleStream(OsPort::FileHandle Handle) : FHandle(Handle) {}

  OsPort::FileHandle Handle() const { return FHandle; }
  // Grows or cuts the file; the position stays, or moves back to the new end.
  void SetSize(std::int64_t NewSize) override;

  std::int64_t Read(void* Buffer, std::int64_t Count) override;
  std::int64_t Write(const void* Buffer, std::int64_t Count) override;
  std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;

 protected:
  THandleStream() = default;
  OsPort::FileHandle FHandle = OsPort::InvalidHandle;
};

// A file opened by Windows path; the handle is closed by the destructor.
// Mode fmCreate (with share bits in the low byte) creates or truncates; any other mode opens an
// existing file. Failures raise EFCreateError / EFOpenError with the system's reason.
class TFileStream : public THandleStream {
  VELBOR_DECLARE_CLASS(TFileStream, THandleStream)
 public:
  TFileStream(const String& FileName, unsigned Mode);
  ~TFileStream() override;

  const String& FileName() const { return FFileName; }

 private:
  String FFileName;
};

// A growable block of memory. Its storage comes from the virtual Realloc, so that a descendant
// can take it from another heap; such a descendant must call Clear() in its own destructor, since
// the base destructor can no longer reach the override.
class TMemoryStream : public TStream {
  VELBOR_DECLARE_CLASS(TMemoryStream, TStream)
 public:
  TMemoryStream() = default;
  ~TMemoryStream() override;

  void* Memory() const { return FMemory; }
  std::int64_t Size() override { return FSize; }
  // Keeps the content up to the new size; the position moves back when past the new end.
  void SetSize(std::int64_t NewSize) override;
  std::int64_t Capacity() const { return FCapacity; }

  std::int64_t Read(void* Buffer, std::int64_t Count) override;
  std::int64_t Write(const void* Buffer, std::int64_t Count) override;
  std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;

  // Frees the block: size, capacity and position 0.
  void Clear();
  // Replaces the content with the whole of Stream (from its start) or of the file.
  void LoadFromStream(TStream* Stream);
  void LoadFromFile(const String& FileName);
  // Writes the whole content.
  void SaveToStream(TStream* Stream);
  void SaveToFile(const String& FileName);

 protected:
  // Returns a block of at least NewCapacity bytes holding the current content (NewCapacity may
  // be rounded up in place), or nullptr for 0. Raises EStreamError when memory runs out. The
  // default rounds up to 8 KiB and uses the C heap.
  virtual void* Realloc(std::int64_t& NewCapacity);
  void SetCapacity(std::int64_t NewCapacity);

 private:
  void* FMemory = nullptr;
  std::int64_t FSize = 0;
  std::int64_t FPosition = 0;
  std::int64_t FCapacity = 0;
};

// A stream over a String of 1252 bytes; writing past the end grows it.
class TStringStream : public TStream {
  VELBOR_DECLARE_CLASS(TStringStream, TStream)
 public:
  explicit TStringStream(const String& AString = String()) : FDataString(AString) {}

  const String& DataString() const { return FDataString; }
  std::int64_t Size() override { return std::int64_t(FDataString.size()); }
  void SetSize(std::int64_t NewSize) override;

  std::int64_t Read(void* Buffer, std::int64_t Count) override;
  std::int64_t Write(const void* Buffer, std::int64_t Count) override;
  std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;

  // Up to Count bytes from the position.
  String ReadString(std::int64_t Count);
  void WriteString(const String& AString);

 private:
  String FDataString;
  std::int64_t FPosition = 0;
};
