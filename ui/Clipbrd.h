// This file implements TClipboard: the system clipboard as text, as raw blocks under any format
// (registered ones such as "HTML Format" and "Rich Text Format", or CF_SYLK), and as pictures.
#pragma once

#include "WinApi.h"

#include "Graphics.h"

VELBOR_EXCEPTION(EClipboardException, Exception)

class TClipboard : public TPersistent {
  VELBOR_DECLARE_CLASS(TClipboard, TPersistent)
 public:
  TClipboard() = default;
  ~TClipboard() override;

  // Properties.
  String AsText();
  void SetAsText(const String& Value);
  int FormatCount();
  UINT Formats(int Index);

  // Operations.
  // Open and Close nest: the clipboard is held from the first Open to the matching Close, and the
  // first block put while it is held empties it, so several formats can be put together.
  // EClipboardException "Impossible d'ouvrir le presse-papiers" when another program holds it.
  void Open();
  void Close();
  void Clear();
  bool HasFormat(UINT Format);
  // The handle of the data under Format (owned by the clipboard), nullptr when there is none.
  HANDLE GetAsHandle(UINT Format);
  // Puts a handle under Format; the clipboard owns it from then on.
  void SetAsHandle(UINT Format, HANDLE Value);
  // Puts Size bytes under Format, in a movable shareable global block.
  void SetBuffer(UINT Format, const void* Buffer, std::size_t Size);
  // The bytes held under Format (the whole block; text formats end with their zero); empty when
  // the format is absent.
  String GetBuffer(UINT Format);
  int GetTextBuf(char* Buffer, int BufSize);
  void SetTextBuf(const char* Buffer);
  // Pictures: a bitmap goes on as CF_DIB, a metafile as CF_ENHMETAFILE, another graphic in the
  // format it writes (an icon in the one registered for icons).
  void Assign(TPersistent* Source) override;

 protected:
  // Into a TPicture, TBitmap or TMetafile: a bitmap first, else (for a picture) a format registered
  // with TPicture, else an enhanced metafile.
  void AssignTo(TPersistent* Dest) override;

 private:
  // Called before each block is put: empties the clipboard once per Open.
  void Adding();
  void AssignGraphic(TGraphic* Graphic);

  int FOpenRefCount = 0;
  HWND FClipboardWindow = nullptr;
  bool FEmptied = false;
};

// The program's clipboard, made on first use.
TClipboard* Clipboard();
// Replaces it; returns the previous one, which the caller then owns.
TClipboard* SetClipboard(TClipboard* NewClipboard);

// The registered formats other libraries exchange.
UINT CF_HTML();  // "HTML Format"
UINT CF_RTF();   // "Rich Text Format"
