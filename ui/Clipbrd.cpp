// This file implements TClipboard over the API's clipboard, opened for a utility window of its own.
#include "Clipbrd.h"

#include <cstring>

#include "Forms.h"
#include "ScopeGuard.h"
#include "UtilityWindow.h"

VELBOR_IMPLEMENT_CLASS(TClipboard)

namespace {
// Lives until the process ends: destroying its window from a static destructor, while the
// process exits, made Wine end the program with status 0 whatever main returned.
TClipboard* TheClipboard = nullptr;

// The clipboard's window: it only answers with the default procedure.
class TClipboardWindowTarget : public TObject {
 public:
  HWND Window = nullptr;
  void WndProc(TMessage& Message) {
    Message.Result = DefWindowProcA(Window, Message.Msg, Message.WParam, Message.LParam);
  }
} ClipboardWindowTarget;
}  // namespace

TClipboard* Clipboard() {
  if (!TheClipboard) TheClipboard = new TClipboard();
  return TheClipboard;
}

TClipboard* SetClipboard(TClipboard* NewClipboard) {
  TClipboard* previous = TheClipboard;
  TheClipboard = NewClipboard;
  return previous;
}

UINT CF_HTML() {
  static const UINT format = RegisterClipboardFormatA("HTML Format");
  return format;
}

UINT CF_RTF() {
  static const UINT format = RegisterClipboardFormatA("Rich Text Format");
  return format;
}

TClipboard::~TClipboard() {
  if (FOpenRefCount > 0) ::CloseClipboard();
  if (FClipboardWindow) DeallocateHWnd(FClipboardWindow);
}

void TClipboard::Open() {
  if (FOpenRefCount == 0) {
    if (!FClipboardWindow) {
      FClipboardWindow = AllocateHWnd(TWndMethod(&ClipboardWindowTarget, &TClipboardWindowTarget::WndProc));
      ClipboardWindowTarget.Window = FClipboardWindow;
    }
    // Another program may hold the clipboard for a moment (the desktop copies it for the
    // display's selection): a few tries before giving up.
    bool opened = false;
    for (int attempt = 0; attempt < 20 && !opened; ++attempt) {
      opened = ::OpenClipboard(FClipboardWindow);
      if (!opened) ::Sleep(10);
    }
    if (!opened) throw EClipboardException("Impossible d'ouvrir le presse-papiers");
    FEmptied = false;
  }
  ++FOpenRefCount;
}

void TClipboard::Close() {
  if (FOpenRefCount == 0) return;
  if (--FOpenRefCount == 0) ::CloseClipboard();
}

void TClipboard::Clear() {
  Open();
  TScopeGuard restore([&] { Close(); });
  ::EmptyClipboard();
  FEmptied = true;
}

void TClipboard::Adding() {
  if (FOpenRefCount > 0 && !FEmptied) {
    ::EmptyClipboard();
    FEmptied = true;
  }
}

bool TClipboard::HasFormat(UINT Format) { return ::IsClipboardFormatAvailable(Format); }

int TClipboard::FormatCount() { return ::CountClipboardFormats(); }

UINT TClipboard::Formats(int Index) {
  Open();
  UINT format = 0;
  for (int i = 0; (format = ::EnumClipboardFormats(format)) != 0; ++i) {
    if (i == Index) break;
  }
  Close();
  return format;
}

HANDLE TClipboard::GetAsHandle(UINT Format) {
  Open();
  HANDLE h = ::GetClipboardData(Format);
  Close();
  return h;
}

void TClipboard::SetAsHandle(UINT Format, HANDLE Value) {
  Open();
  Adding();
  HANDLE result = ::SetClipboardData(Format, Value);
  Close();
  if (!result) throw EClipboardException("Impossible de placer les données dans le presse-papiers"_a);
}

void TClipboard::SetBuffer(UINT Format, const void* Buffer, std::size_t Size) {
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, Size);
  if (!block) throw EOutOfMemory("Mémoire insuffisante"_a);
  void* p = ::GlobalLock(block);
  if (Size) std::memcpy(p, Buffer, Size);
  ::GlobalUnlock(block);
  try {
    SetAsHandle(Format, block);
  } catch (...) {
    ::GlobalFree(block);
    throw;
  }
}

String TClipboard::GetBuffer(UINT Format) {
  Open();
  String result;
  if (HANDLE h = ::GetClipboardData(Format)) {
    if (const void* p = ::GlobalLock(h)) {
      result.assign(static_cast<const char*>(p), ::GlobalSize(h));
      ::GlobalUnlock(h);
    }
  }
  Close();
  return result;
}

String TClipboard::AsText() {
  String data = GetBuffer(CF_TEXT);
  std::size_t end = data.find('\0');
  if (end != String::npos) data.resize(end);
  return data;
}

void TClipboard::SetAsText(const String& Value) { SetBuffer(CF_TEXT, Value.c_str(), Value.size() + 1); }

int TClipboard::GetTextBuf(char* Buffer, int BufSize) {
  if (BufSize <= 0) return 0;
  String text = AsText();
  int n = std::min(int(text.size()), BufSize - 1);
  std::memcpy(Buffer, text.data(), std::size_t(n));
  Buffer[n] = '\0';
  return n;
}

void TClipboard::SetTextBuf(const char* Buffer) { SetBuffer(CF_TEXT, Buffer, std::strlen(Buffer) + 1); }

void TClipboard::AssignGraphic(TGraphic* Graphic) {
  Open();
  TScopeGuard restore([&] { Close(); });
  Adding();
  if (auto* metafile = dynamic_cast<TMetafile*>(Graphic)) {
    HENHMETAFILE copy = ::CopyEnhMetaFileA(metafile->Handle(), nullptr);
    if (!copy || !::SetClipboardData(CF_ENHMETAFILE, copy)) {
      if (copy) ::DeleteEnhMetaFile(copy);
      throw EClipboardException("Impossible de placer l'image dans le presse-papiers");
    }
  } else {
    UINT format = 0;
    HANDLE data = nullptr;
    HPALETTE given = nullptr;
    Graphic->SaveToClipboardFormat(format, data, given);
    TOwnedPalette palette(given);
    if (!data || !::SetClipboardData(format, data)) {
      if (data) ::GlobalFree(data);
      throw EClipboardException("Impossible de placer l'image dans le presse-papiers");
    }
    // The clipboard owns what it took.
    if (palette && ::SetClipboardData(CF_PALETTE, palette)) palette.Release();
  }
}

void TClipboard::Assign(TPersistent* Source) {
  if (auto* picture = dynamic_cast<TPicture*>(Source)) {
    if (picture->Graphic()) AssignGraphic(picture->Graphic());
    return;
  }
  if (auto* graphic = dynamic_cast<TGraphic*>(Source)) {
    AssignGraphic(graphic);
    return;
  }
  TPersistent::Assign(Source);
}

void TClipboard::AssignTo(TPersistent* Dest) {
  auto* picture = dynamic_cast<TPicture*>(Dest);
  auto* bitmap = dynamic_cast<TBitmap*>(Dest);
  auto* metafile = dynamic_cast<TMetafile*>(Dest);
  if (!picture && !bitmap && !metafile) {
    TPersistent::AssignTo(Dest);
    return;
  }
  Open();
  TScopeGuard restore([&] { Close(); });
  bool wantBitmap = bitmap || (picture && (HasFormat(CF_DIB) || HasFormat(CF_BITMAP)));
  // Without a bitmap, a picture takes the first format registered with it that is there.
  UINT registered = 0;
  if (picture && !wantBitmap) {
    for (UINT f = ::EnumClipboardFormats(0); f != 0 && registered == 0; f = ::EnumClipboardFormats(f))
      if (TPicture::SupportsClipboardFormat(f)) registered = f;
  }
  if (registered != 0) {
    HANDLE data = ::GetClipboardData(registered);
    if (!data) throw EInvalidGraphic("Le presse-papiers ne contient pas d'image");
    picture->LoadFromClipboardFormat(registered, data, static_cast<HPALETTE>(::GetClipboardData(CF_PALETTE)));
  } else if (wantBitmap) {
    TBitmap* target = bitmap ? bitmap : picture->Bitmap();
    HPALETTE palette = static_cast<HPALETTE>(::GetClipboardData(CF_PALETTE));
    if (HANDLE dib = ::GetClipboardData(CF_DIB))
      target->LoadFromClipboardFormat(CF_DIB, dib, palette);
    else if (HANDLE ddb = ::GetClipboardData(CF_BITMAP))
      target->LoadFromClipboardFormat(CF_BITMAP, ddb, palette);
    else
      throw EInvalidGraphic("Le presse-papiers ne contient pas d'image");
  } else {
    HENHMETAFILE source = static_cast<HENHMETAFILE>(::GetClipboardData(CF_ENHMETAFILE));
    if (!source) throw EInvalidGraphic("Le presse-papiers ne contient pas d'image");
    TMetafile* target = metafile ? metafile : picture->Metafile();
    target->SetHandle(::CopyEnhMetaFileA(source, nullptr));
  }
}
