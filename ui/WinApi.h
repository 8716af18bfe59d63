// This file is the program's one door to the Windows API: it includes the API headers (and is the
// only file outside core's Windows port that does), takes away once the API macros whose names
// the program uses for its own functions, and holds the small owners of GDI objects, device
// contexts and selections that free them on every path.
//
// Include it, never <windows.h> or another API header: then no include order matters and every
// file sees the same names. The program calls the API's functions of those names by their full
// ANSI name (RegisterClassA, GetObjectA, DeleteFileA, MessageBoxA, TextOutA...).
#pragma once

// The API's min and max macros would break the standard library.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <richedit.h>
#include <shellapi.h>
#include <uxtheme.h>  // the visual-styles library's types, bound at run time (bars/lookandfeel)
#include <winspool.h>

// Names the program gives its own functions, which the API headers map to their ...A functions.
#undef RegisterClass           // the class registry (core/Object.h)
#undef GetObject               // TStrings::GetObject (core/Strings.h)
#undef CopyFile                // the file routines of core/FileUtils.h and core/OsPort.h
#undef CreateDirectory
#undef CreateFile
#undef DeleteFile
#undef GetEnvironmentVariable
#undef RemoveDirectory
#undef MessageBox              // the modal-question entry (Dialogs.h), TApplication::MessageBox
#undef TextOut                 // TCanvas::TextOut (Graphics.h)
#undef FindText                // TCustomRichEdit::FindText, TFindDialog::FindText
#undef ReplaceText             // TReplaceDialog::ReplaceText
#undef GetPrinter              // TPrinter::GetPrinter and SetPrinter (Printers.h)
#undef SetPrinter
#undef AddForm                 // TScreen::AddForm (Forms.h)
#undef CF_RTF                  // CF_RTF(), the registered format (Clipbrd.h)
#undef RegisterClipboardFormat // TPicture::RegisterClipboardFormat (Graphics.h)

// --- Owners -------------------------------------------------------------------------------------

// An owned GDI object (bitmap, brush, pen, font, region, palette): deleted by DeleteObject when the
// owner goes or takes another. Moved, never copied; Release hands the handle over to a new owner.
template <class THandle>
class TGdiObject {
 public:
  TGdiObject() noexcept = default;
  explicit TGdiObject(THandle Handle) noexcept : FHandle(Handle) {}
  TGdiObject(TGdiObject&& Other) noexcept : FHandle(Other.Release()) {}
  TGdiObject& operator=(TGdiObject&& Other) noexcept {
    Reset(Other.Release());
    return *this;
  }
  TGdiObject(const TGdiObject&) = delete;
  TGdiObject& operator=(const TGdiObject&) = delete;
  ~TGdiObject() { Reset(); }

  THandle Get() const noexcept { return FHandle; }
  operator THandle() const noexcept { return FHandle; }
  THandle Release() noexcept {
    THandle Handle = FHandle;
    FHandle = nullptr;
    return Handle;
  }
  void Reset(THandle Handle = nullptr) noexcept {
    if (FHandle && FHandle != Handle) ::DeleteObject(FHandle);
    FHandle = Handle;
  }

 private:
  THandle FHandle = nullptr;
};

using TOwnedBitmap = TGdiObject<HBITMAP>;
using TOwnedBrush = TGdiObject<HBRUSH>;
using TOwnedPen = TGdiObject<HPEN>;
using TOwnedFont = TGdiObject<HFONT>;
using TOwnedRegion = TGdiObject<HRGN>;
using TOwnedPalette = TGdiObject<HPALETTE>;

// A device context the program made (CreateCompatibleDC, CreateDC): deleted by DeleteDC.
class TOwnedDC {
 public:
  TOwnedDC() noexcept = default;
  explicit TOwnedDC(HDC DC) noexcept : FDC(DC) {}
  TOwnedDC(TOwnedDC&& Other) noexcept : FDC(Other.Release()) {}
  TOwnedDC& operator=(TOwnedDC&& Other) noexcept {
    Reset(Other.Release());
    return *this;
  }
  TOwnedDC(const TOwnedDC&) = delete;
  TOwnedDC& operator=(const TOwnedDC&) = delete;
  ~TOwnedDC() { Reset(); }

  // A memory device context compatible with DC (with the screen's when DC is null).
  static TOwnedDC Compatible(HDC DC = nullptr) noexcept { return TOwnedDC(::CreateCompatibleDC(DC)); }

  HDC Get() const noexcept { return FDC; }
  operator HDC() const noexcept { return FDC; }
  HDC Release() noexcept {
    HDC DC = FDC;
    FDC = nullptr;
    return DC;
  }
  void Reset(HDC DC = nullptr) noexcept {
    if (FDC && FDC != DC) ::DeleteDC(FDC);
    FDC = DC;
  }

 private:
  HDC FDC = nullptr;
};

// The device context of a window (of the screen for a null window), from GetDC: released when the
// scope ends.
class TWindowDC {
 public:
  explicit TWindowDC(HWND Window = nullptr) noexcept : FWindow(Window), FDC(::GetDC(Window)) {}
  // With GetDCEx's flags (DCX_CACHE, DCX_CLIPSIBLINGS...).
  TWindowDC(HWND Window, DWORD Flags) noexcept : FWindow(Window), FDC(::GetDCEx(Window, nullptr, Flags)) {}
  // The whole window, frame included (GetWindowDC): for painting the non-client area.
  static constexpr struct TWholeWindow {} WholeWindow{};
  TWindowDC(HWND Window, TWholeWindow) noexcept : FWindow(Window), FDC(::GetWindowDC(Window)) {}
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  ~TWindowDC() {
    if (FDC) ::ReleaseDC(FWindow, FDC);
  }

  HDC Get() const noexcept { return FDC; }
  operator HDC() const noexcept { return FDC; }

 private:
  HWND FWindow;
  HDC FDC;
};

// The painting of a window's invalid part (BeginPaint), ended (EndPaint) when the scope ends.
class TPaintDC {
 public:
  explicit TPaintDC(HWND Window) noexcept : FWindow(Window), FDC(::BeginPaint(Window, &FPaint)) {}
  TPaintDC(const TPaintDC&) = delete;
  TPaintDC& operator=(const TPaintDC&) = delete;
  ~TPaintDC() { ::EndPaint(FWindow, &FPaint); }

  HDC Get() const noexcept { return FDC; }
  operator HDC() const noexcept { return FDC; }
  const PAINTSTRUCT& Paint() const noexcept { return FPaint; }

 private:
  HWND FWindow;
  PAINTSTRUCT FPaint = {};
  HDC FDC;
};

// An object selected into a device context for a scope: the one it replaced is selected again
// when the scope ends. A null object selects nothing.
class TSelectedObject {
 public:
  TSelectedObject(HDC DC, HGDIOBJ Object) noexcept : FDC(DC), FOld(Object ? ::SelectObject(DC, Object) : nullptr) {}
  TSelectedObject(const TSelectedObject&) = delete;
  TSelectedObject& operator=(const TSelectedObject&) = delete;
  ~TSelectedObject() {
    if (FOld) ::SelectObject(FDC, FOld);
  }

 private:
  HDC FDC;
  HGDIOBJ FOld;
};

// A memory device context with a bitmap selected into it, for a scope (the bitmap stays its
// owner's). Null when no context could be made.
class TBitmapDC {
 public:
  explicit TBitmapDC(HBITMAP Bitmap, HDC Compatible = nullptr) noexcept
      : FDC(TOwnedDC::Compatible(Compatible)), FSelected(FDC, FDC ? Bitmap : nullptr) {}

  HDC Get() const noexcept { return FDC; }
  operator HDC() const noexcept { return FDC; }

 private:
  TOwnedDC FDC;
  TSelectedObject FSelected;  // deselected before the context is deleted
};

// A palette selected (and realized) into a device context for a scope; the previous one is
// selected again, in the background, when the scope ends. A null palette selects nothing.
class TSelectedPalette {
 public:
  TSelectedPalette(HDC DC, HPALETTE Palette, bool Background) noexcept : FDC(DC) {
    if (!Palette) return;
    FOld = ::SelectPalette(DC, Palette, Background);
    ::RealizePalette(DC);
  }
  TSelectedPalette(const TSelectedPalette&) = delete;
  TSelectedPalette& operator=(const TSelectedPalette&) = delete;
  ~TSelectedPalette() {
    if (FOld) ::SelectPalette(FDC, FOld, TRUE);
  }

 private:
  HDC FDC;
  HPALETTE FOld = nullptr;
};

// A device context's state (SaveDC) put back when the scope ends.
class TSavedDC {
 public:
  explicit TSavedDC(HDC DC) noexcept : FDC(DC), FSaved(::SaveDC(DC)) {}
  TSavedDC(const TSavedDC&) = delete;
  TSavedDC& operator=(const TSavedDC&) = delete;
  ~TSavedDC() {
    if (FSaved) ::RestoreDC(FDC, FSaved);
  }

 private:
  HDC FDC;
  int FSaved;
};
