// This file implements the content streams of the rich-text control: the global-heap memory
// stream, the chunk converter and EM_STREAMIN/EM_STREAMOUT over streams, the control's Lines,
// loading content by program, and the temporary-file names.
#include "qvriched.h"

#include <algorithm>
#include <cstring>

#include "Exceptions.h"
#include "ScopeGuard.h"

// --- TqvRichMemoryStream ----------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TqvRichMemoryStream)

TqvRichMemoryStream::~TqvRichMemoryStream() { Clear(); }

void* TqvRichMemoryStream::Realloc(std::int64_t& NewCapacity) {
  constexpr std::int64_t kDelta = 0x20000;
  if (NewCapacity > 0) NewCapacity = (NewCapacity + (kDelta - 1)) & ~(kDelta - 1);
  void* Block = Memory();
  if (NewCapacity == Capacity()) return Block;
  if (NewCapacity == 0) {
    if (Block) GlobalFree(Block);
    return nullptr;
  }
  void* Result = Block ? GlobalReAlloc(Block, SIZE_T(NewCapacity), GMEM_MOVEABLE)
                       : GlobalAlloc(GMEM_FIXED, SIZE_T(NewCapacity));
  if (Result == nullptr) throw EStreamError("Mémoire insuffisante lors de l'extension du flux mémoire"_a);
  return Result;
}

// --- TqvStreamInConverter ---------------------------------------------------------------------

TqvStreamInConverter::TqvStreamInConverter(TStream* Source, bool PlainText, int ChunkLimit)
    : FSource(Source), FPlainText(PlainText), FChunkLimit(ChunkLimit) {}

int TqvStreamInConverter::NextChunk(char* Buffer, int Size) {
  if (FChunkLimit > 0 && FChunkCount >= FChunkLimit) return 0;
  int Length = 0;
  if (!FPlainText) {
    // RTF goes byte for byte: its line ends mean nothing, and "\bin" data must stay as it is.
    std::int64_t Read = FSource->Read(Buffer, Size);
    if (Read < 0) throw EReadError("Erreur de lecture du flux");
    Length = int(Read);
  } else {
    // Each byte read may become two: half the buffer is read.
    std::vector<char> Raw(std::size_t(std::max(Size / 2, 1)));
    std::int64_t Read = FSource->Read(Raw.data(), std::int64_t(Raw.size()));
    if (Read < 0) throw EReadError("Erreur de lecture du flux");
    for (std::int64_t i = 0; i < Read && Length + 2 <= Size; ++i) {
      char C = Raw[std::size_t(i)];
      if (C == '\n' && FAfterCR) {
        FAfterCR = false;  // the LF of a CR LF pair, perhaps in the chunk after its CR
        continue;
      }
      FAfterCR = C == '\r';
      if (C == '\r' || C == '\n') {
        Buffer[Length++] = '\r';
        Buffer[Length++] = '\n';
      } else {
        Buffer[Length++] = C;
      }
    }
  }
  if (Length == 0) return 0;
  if (FChunkLimit > 0) {
    ++FChunkCount;
    if (FChunkCount >= FChunkLimit) {
      // The last chunk read ends at its first group after its first paragraph: the group becomes
      // the end of the text.
      std::string_view Chunk(Buffer, std::size_t(Length));
      std::size_t Pard = Chunk.find("\\pard");
      std::size_t Brace = Pard == std::string_view::npos ? Pard : Chunk.find('{', Pard);
      if (Brace != std::string_view::npos) {
        Buffer[Brace] = '}';
        Length = int(Brace) + 1;
      }
    }
    ++FChunkCount;
  }
  return Length;
}

namespace {

struct TStreamInCookie {
  TqvStreamInConverter* Converter;
};

DWORD CALLBACK ConvertedStreamIn(DWORD_PTR Cookie, LPBYTE Buffer, LONG Count, LONG* Done) {
  try {
    *Done = reinterpret_cast<TStreamInCookie*>(Cookie)->Converter->NextChunk(reinterpret_cast<char*>(Buffer), Count);
    return 0;
  } catch (...) {
    *Done = 0;
    return 1;
  }
}

struct TStreamCookie {
  TStream* Stream;
};

DWORD CALLBACK PlainStreamIn(DWORD_PTR Cookie, LPBYTE Buffer, LONG Count, LONG* Done) {
  try {
    *Done = LONG(reinterpret_cast<TStreamCookie*>(Cookie)->Stream->Read(Buffer, Count));
    return *Done < 0 ? 1 : 0;
  } catch (...) {
    *Done = 0;
    return 1;
  }
}

DWORD CALLBACK PlainStreamOut(DWORD_PTR Cookie, LPBYTE Buffer, LONG Count, LONG* Done) {
  try {
    *Done = LONG(reinterpret_cast<TStreamCookie*>(Cookie)->Stream->Write(Buffer, Count));
    return 0;
  } catch (...) {
    *Done = 0;
    return 1;
  }
}

}  // namespace

void TqvCustomRichEdit::StreamIn(TStream* Stream, bool Selection, int ChunkLimit) {
  std::int64_t Position = Stream->Position();
  UINT Format = PlainText ? SF_TEXT : SF_RTF;
  if (Selection) Format |= SFF_SELECTION;
  TqvStreamInConverter Converter(Stream, PlainText, ChunkLimit);
  TStreamInCookie Cookie{&Converter};
  EDITSTREAM Edit{};
  Edit.dwCookie = DWORD_PTR(&Cookie);
  Edit.pfnCallback = &ConvertedStreamIn;
  SendRich(EM_STREAMIN, Format, LPARAM(&Edit));
  if (Format != SF_RTF || Edit.dwError == 0) return;
  // RTF the window refuses: the bytes are text.
  Stream->SetPosition(Position);
  TqvStreamInConverter Text(Stream, true, ChunkLimit);
  Cookie.Converter = &Text;
  Edit.dwError = 0;
  SendRich(EM_STREAMIN, SF_TEXT, LPARAM(&Edit));
  if (Edit.dwError != 0) throw EOutOfResources("Erreur au chargement du flux");
}

void TqvCustomRichEdit::StreamOutSelection(TMemoryStream* Stream) {
  TStreamCookie Cookie{Stream};
  EDITSTREAM Edit{};
  Edit.dwCookie = DWORD_PTR(&Cookie);
  Edit.pfnCallback = &PlainStreamOut;
  SendRich(EM_STREAMOUT, SF_RTF | SFF_SELECTION, LPARAM(&Edit));
}

void TqvCustomRichEdit::StreamInSelection(TMemoryStream* Stream) {
  Stream->SetPosition(0);
  TStreamCookie Cookie{Stream};
  EDITSTREAM Edit{};
  Edit.dwCookie = DWORD_PTR(&Cookie);
  Edit.pfnCallback = &PlainStreamIn;
  SendRich(EM_STREAMIN, SF_RTF | SFF_SELECTION, LPARAM(&Edit));
}

void TqvCustomRichEdit::LoadContent(TStream* Stream) {
  bool SavedLoading = FLoading;
  int SavedMaxLength = MaxLength();
  FLoading = true;
  if (SavedMaxLength > 0) SetMaxLength(SavedMaxLength + 1);
  TScopeGuard Restore([&] {
    FLoading = SavedLoading;
    if (SavedMaxLength > 0) SetMaxLength(SavedMaxLength);
  });
  GetRichLines()->LoadFromStream(Stream);
}

void TqvCustomRichEdit::SaveContent(TStream* Stream) {
  TqvRichMemoryStream Content;
  GetRichLines()->SaveToStream(&Content);
  std::int64_t Size = Content.Size();
  while (Size > 0 && static_cast<const char*>(Content.Memory())[Size - 1] == '\0') --Size;
  if (Size > 0) Stream->WriteBuffer(Content.Memory(), Size);
}

bool TqvCustomRichEdit::CreateTempFileName(String& FileName) {
  char Folder[MAX_PATH + 1] = "";
  char Name[MAX_PATH + 1] = "";
  DWORD Length = GetTempPathA(sizeof(Folder), Folder);
  if (Length == 0 || Length > MAX_PATH) return false;
  if (GetTempFileNameA(Folder, "_QV", 0, Name) == 0) return false;
  FileName = Name;
  return true;
}

// --- TqvRichEditStrings -----------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TqvRichEditStrings)

void TqvRichEditStrings::LoadFromFile(const String& FileName) { FRichEdit->GetRichLines()->LoadFromFile(FileName); }

void TqvRichEditStrings::LoadFromStream(TStream* Stream) { FRichEdit->GetRichLines()->LoadFromStream(Stream); }

void TqvRichEditStrings::SaveToFile(const String& FileName) { FRichEdit->GetRichLines()->SaveToFile(FileName); }

void TqvRichEditStrings::SaveToStream(TStream* Stream) { FRichEdit->GetRichLines()->SaveToStream(Stream); }

void TqvRichEditStrings::Delete(int Index) { FRichEdit->GetRichLines()->Delete(Index); }

void TqvRichEditStrings::Clear() { FRichEdit->Clear(); }

void TqvRichEditStrings::AddStrings(TStrings* Strings) {
  TNotifyEvent Saved = FRichEdit->OnSelectionChange;
  FRichEdit->OnSelectionChange = TNotifyEvent();
  TScopeGuard Restore([&] { FRichEdit->OnSelectionChange = Saved; });
  TStrings::AddStrings(Strings);
}

int TqvRichEditStrings::GetCount() const {
  int Count = int(FRichEdit->SendRich(EM_GETLINECOUNT));
  LRESULT Last = FRichEdit->SendRich(EM_LINEINDEX, WPARAM(Count - 1));
  if (Count > 0 && Last >= 0 && FRichEdit->SendRich(EM_LINELENGTH, WPARAM(Last)) == 0) --Count;
  return Count;
}

String TqvRichEditStrings::Get(int Index) const {
  LRESULT Start = FRichEdit->SendRich(EM_LINEINDEX, WPARAM(Index));
  if (Index < 0 || Start < 0) ListIndexError(Index);
  // The whole line, however long: the buffer is sized by the line's length.
  int Length = int(FRichEdit->SendRich(EM_LINELENGTH, WPARAM(Start)));
  String Line(std::size_t(std::max(Length + 2, 2)) + 1, '\0');
  WORD Room = WORD(std::min<std::size_t>(Line.size() - 1, 0xFFFF));
  std::memcpy(Line.data(), &Room, sizeof(Room));
  LRESULT Got = 0;
  if (Line.size() - 1 <= 0xFFFF) {
    Got = FRichEdit->SendRich(EM_GETLINE, WPARAM(Index), LPARAM(Line.data()));
  } else {
    // EM_GETLINE counts its room in a WORD: a longer line is read as a text range.
    TEXTRANGEA Range{{LONG(Start), LONG(Start + Length)}, Line.data()};
    Got = FRichEdit->SendRich(EM_GETTEXTRANGE, 0, LPARAM(&Range));
  }
  Line.resize(std::size_t(std::clamp<LRESULT>(Got, 0, LRESULT(Line.size()))));
  if (Line.size() >= 2 && Line.compare(Line.size() - 2, 2, "\r\n") == 0) Line.resize(Line.size() - 2);
  if (!Line.empty() && Line.back() == '\r') Line.pop_back();
  return Line;
}

void TqvRichEditStrings::Put(int Index, const String& S) {
  if (Index < 0) return;
  LRESULT Start = FRichEdit->SendRich(EM_LINEINDEX, WPARAM(Index));
  if (Start < 0) return;
  CHARRANGE R{LONG(Start), LONG(Start + FRichEdit->SendRich(EM_LINELENGTH, WPARAM(Start)))};
  FRichEdit->SendRich(EM_EXSETSEL, 0, LPARAM(&R));
  FRichEdit->SendRich(EM_REPLACESEL, FALSE, LPARAM(S.c_str()));
}

void TqvRichEditStrings::Insert(int Index, const String& S) {
  if (Index < 0) return;
  int Count = GetCount();
  LRESULT Start = FRichEdit->SendRich(EM_LINEINDEX, WPARAM(Index));
  String Text;
  if (Index < Count && Start >= 0) {
    Text = S + "\r\n";
  } else {
    // After the last line: on a line of its own at the end of the text (the empty line after a
    // final line break takes it as it is).
    Start = FRichEdit->TextLength();
    bool EndsWithBreak = Count < int(FRichEdit->SendRich(EM_GETLINECOUNT));
    Text = (Start > 0 && !EndsWithBreak) ? "\r\n" + S : S;
  }
  CHARRANGE R{LONG(Start), LONG(Start)};
  FRichEdit->SendRich(EM_EXSETSEL, 0, LPARAM(&R));
  FRichEdit->SendRich(EM_REPLACESEL, FALSE, LPARAM(Text.c_str()));
}

void TqvRichEditStrings::SetUpdateState(bool Updating) {
  if (!FRichEdit->Showing()) return;
  FRichEdit->SendRich(WM_SETREDRAW, Updating ? FALSE : TRUE);
  if (!Updating) {
    FRichEdit->Refresh();
    FRichEdit->Perform(CM_TEXTCHANGED);
  }
}

void TqvRichEditStrings::SetTextStr(const String& Value) {
  LRESULT Mask = FRichEdit->SendRich(EM_GETEVENTMASK);
  FRichEdit->SendRich(EM_SETEVENTMASK, 0, Mask & ~ENM_CHANGE);
  TScopeGuard Restore([&] { FRichEdit->SendRich(EM_SETEVENTMASK, 0, Mask); });
  FRichEdit->GetRichLines()->SetTextStr(Value);
}
