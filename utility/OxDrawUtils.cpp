// This file implements the drawing and window routines the utility controls share: masked bitmap
// drawing, disabled and embossed glyphs, painting what lies behind a window-less control,
// shortening a text to a width, command-line tokens, and small window helpers.
#include "OxDrawUtils.h"

#include <algorithm>
#include <vector>

#include "ImageList.h"

namespace {

// Destination where the source is 0, brush where the source is 1 (a brush painted through a
// monochrome mask).
constexpr DWORD ROP_DSPDxax = 0x00E20746;

[[noreturn]] void RaiseOutOfResources() { throw EOutOfResources("Ressources système insuffisantes"_a); }

// A memory device context with its own bitmap selected (both freed together).
class TMemoryDC {
 public:
  TMemoryDC(HDC Compatible, HBITMAP Bitmap) : FBitmap(Bitmap), FDC(Bitmap, Compatible) {
    if (!FBitmap || !FDC) RaiseOutOfResources();
  }
  HDC DC() const { return FDC; }

 private:
  TOwnedBitmap FBitmap;
  TBitmapDC FDC;  // lets go of the bitmap before it is deleted
};

// Paints Color through Mask (a monochrome bitmap) onto DC at (X, Y): the mask pixels that the
// context's text and background colours turn white take the colour, the others keep the
// destination.
void BrushThroughMask(HDC DC, int X, int Y, int Width, int Height, HDC Mask, TColor Color) {
  TOwnedBrush brush(CreateSolidBrush(ColorToRGB(Color)));
  if (!brush) RaiseOutOfResources();
  TSelectedObject selected(DC, brush);
  BitBlt(DC, X, Y, Width, Height, Mask, 0, 0, ROP_DSPDxax);
}

// A monochrome device bitmap of Bitmap's size: 1 where Test holds for the pixel's colour.
template <class Pred>
HBITMAP MonochromeWhere(TBitmap* Bitmap, Pred Test) {
  int width = Bitmap->Width();
  int height = Bitmap->Height();
  HDC dc = Bitmap->Canvas()->Handle();
  int stride = ((width + 15) / 16) * 2;  // device bitmaps align rows on 16 bits, top row first
  std::vector<BYTE> bits(size_t(stride) * size_t(std::max(height, 1)), 0);
  GdiFlush();
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (Test(GetPixel(dc, x, y))) bits[size_t(y) * stride + x / 8] |= BYTE(0x80 >> (x % 8));
  HBITMAP mask = CreateBitmap(std::max(width, 1), std::max(height, 1), 1, 1, bits.data());
  if (!mask) RaiseOutOfResources();
  return mask;
}

TBitmap* NewFilledBitmap(int Width, int Height, TColor Color) {
  auto* result = new TBitmap();
  try {
    result->SetSize(Width, Height);
    result->Canvas()->Brush()->SetColor(Color);
    result->Canvas()->Brush()->SetStyle(bsSolid);
    result->Canvas()->FillRect(Rect(0, 0, Width, Height));
  } catch (...) {
    delete result;
    throw;
  }
  return result;
}

// A bitmap's canvas locked, with its change notification off, for one scope.
class TQuietCanvas {
 public:
  explicit TQuietCanvas(TCanvas* Canvas) : FCanvas(Canvas), FSaved(Canvas->OnChange) {
    FCanvas->Lock();
    FCanvas->OnChange = TNotifyEvent();
  }
  ~TQuietCanvas() {
    FCanvas->OnChange = FSaved;
    FCanvas->Unlock();
  }
  TQuietCanvas(const TQuietCanvas&) = delete;
  TQuietCanvas& operator=(const TQuietCanvas&) = delete;

 private:
  TCanvas* FCanvas;
  TNotifyEvent FSaved;
};

// Marks a control as painting a copy for one scope.
class TPaintCopyMark {
 public:
  explicit TPaintCopyMark(TControl* Control) : FControl(Control) { FControl->ControlState.Include(csPaintCopy); }
  ~TPaintCopyMark() { FControl->ControlState.Exclude(csPaintCopy); }
  TPaintCopyMark(const TPaintCopyMark&) = delete;
  TPaintCopyMark& operator=(const TPaintCopyMark&) = delete;

 private:
  TControl* FControl;
};

// The parent's own painting (without its window-less children), which is protected.
struct TParentPainter : TWinControl {
  static void PaintWindowOf(TWinControl* Parent, HDC DC) {
    void (TWinControl::*paint)(HDC) = &TParentPainter::PaintWindow;
    (Parent->*paint)(DC);
  }
};

bool IsCmdBlank(unsigned char C) { return C >= 1 && C <= 32; }

}  // namespace

COLORREF ToPaletteRGB(TColor Color) { return 0x02000000 | ColorToRGB(Color); }

void StretchBltMasked(HDC DstDC, int DstX, int DstY, int DstW, int DstH, HDC SrcDC, int SrcX, int SrcY, int SrcW,
                      int SrcH, COLORREF TransparentRGB, HPALETTE Palette) {
  if (DstW < 1 || DstH < 1 || SrcW < 1 || SrcH < 1) return;  // nothing to copy (an empty bitmap)
  TMemoryDC mask(DstDC, CreateBitmap(SrcW, SrcH, 1, 1, nullptr));
  TMemoryDC inverse(DstDC, CreateBitmap(SrcW, SrcH, 1, 1, nullptr));
  TMemoryDC composition(DstDC, CreateCompatibleBitmap(DstDC, DstW, DstH));
  TMemoryDC source(DstDC, CreateCompatibleBitmap(DstDC, SrcW, SrcH));
  TSelectedPalette dstPalette(DstDC, Palette, true);
  TSelectedPalette sourcePalette(source.DC(), Palette, false);
  TSelectedPalette maskPalette(mask.DC(), Palette, false);
  TSelectedPalette compositionPalette(composition.DC(), Palette, true);

  int mapMode = GetMapMode(DstDC);
  SetMapMode(SrcDC, mapMode);
  SetMapMode(source.DC(), mapMode);
  BitBlt(source.DC(), 0, 0, SrcW, SrcH, SrcDC, SrcX, SrcY, SRCCOPY);

  // Transparent pixels become 1 in the mask, every other 0.
  COLORREF oldBack = SetBkColor(source.DC(), ToPaletteRGB(TColor(TransparentRGB)));
  BitBlt(mask.DC(), 0, 0, SrcW, SrcH, source.DC(), 0, 0, SRCCOPY);
  SetBkColor(source.DC(), oldBack);
  BitBlt(inverse.DC(), 0, 0, SrcW, SrcH, mask.DC(), 0, 0, NOTSRCCOPY);

  // The colours a monochrome bitmap takes on the colour contexts: 1 white, 0 black.
  SetBkColor(composition.DC(), RGB(255, 255, 255));
  SetTextColor(composition.DC(), RGB(0, 0, 0));
  SetBkColor(source.DC(), RGB(255, 255, 255));
  SetTextColor(source.DC(), RGB(0, 0, 0));
  BitBlt(composition.DC(), 0, 0, DstW, DstH, DstDC, DstX, DstY, SRCCOPY);
  StretchBlt(composition.DC(), 0, 0, DstW, DstH, mask.DC(), 0, 0, SrcW, SrcH, SRCAND);
  BitBlt(source.DC(), 0, 0, SrcW, SrcH, inverse.DC(), 0, 0, SRCAND);
  StretchBlt(composition.DC(), 0, 0, DstW, DstH, source.DC(), 0, 0, SrcW, SrcH, SRCPAINT);
  BitBlt(DstDC, DstX, DstY, DstW, DstH, composition.DC(), 0, 0, SRCCOPY);
}

void StretchBitmapMasked(TCanvas* Canvas, TBitmap* Bitmap, TColor TransparentColor, int DstX, int DstY, int DstW,
                         int DstH, int SrcX, int SrcY, int SrcW, int SrcH) {
  if (DstW < 1) DstW = Bitmap->Width();
  if (DstH < 1) DstH = Bitmap->Height();
  if (SrcW < 1 || SrcH < 1) {
    SrcX = 0;
    SrcY = 0;
    SrcW = Bitmap->Width();
    SrcH = Bitmap->Height();
  }
  HDC dstDC = Canvas->Handle();
  if (!Bitmap->Monochrome()) SetStretchBltMode(dstDC, COLORONCOLOR);
  TCanvas* source = Bitmap->Canvas();
  TQuietCanvas quiet(source);
  HDC srcDC = source->Handle();
  if (TransparentColor == clNone) {
    StretchBlt(dstDC, DstX, DstY, DstW, DstH, srcDC, SrcX, SrcY, SrcW, SrcH, Canvas->CopyMode());
    return;
  }
  if (TransparentColor == clDefault) TransparentColor = source->Pixels(0, Bitmap->Height() - 1);
  COLORREF rgb = Bitmap->Monochrome() ? RGB(255, 255, 255) : ColorToRGB(TransparentColor);
  StretchBltMasked(dstDC, DstX, DstY, DstW, DstH, srcDC, SrcX, SrcY, SrcW, SrcH, rgb, Bitmap->Palette());
}

void DrawBitmapMasked(TCanvas* Canvas, int X, int Y, TBitmap* Bitmap, TColor TransparentColor) {
  StretchBitmapMasked(Canvas, Bitmap, TransparentColor, X, Y, Bitmap->Width(), Bitmap->Height(), 0, 0,
                      Bitmap->Width(), Bitmap->Height());
}

TBitmap* MakeEmbossedGlyph(TBitmap* Bitmap, TColor BackColor) {
  int width = Bitmap->Width();
  int height = Bitmap->Height();
  TBitmap* result = NewFilledBitmap(width, height, BackColor);
  try {
    TBitmap drawn;
    drawn.SetSize(width, height);
    drawn.Canvas()->Brush()->SetColor(clWhite);
    drawn.Canvas()->FillRect(Rect(0, 0, width, height));
    DrawBitmapMasked(drawn.Canvas(), 0, 0, Bitmap, BackColor);
    // What stayed white is 1; every pixel the glyph drew is 0.
    TMemoryDC mask(nullptr, MonochromeWhere(&drawn, [](COLORREF c) { return c == RGB(255, 255, 255); }));
    HDC dc = result->Canvas()->Handle();
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, RGB(0, 0, 0));
    BrushThroughMask(dc, 1, 1, width, height, mask.DC(), clBtnHighlight);
    BrushThroughMask(dc, 0, 0, width, height, mask.DC(), clBtnShadow);
  } catch (...) {
    delete result;
    throw;
  }
  return result;
}

TBitmap* MakeDisabledGlyphEx(TBitmap* Bitmap, TColor OutlineColor, TColor BackColor, TColor HighlightColor,
                             TColor ShadowColor, bool DrawHighlight) {
  int width = Bitmap->Width();
  int height = Bitmap->Height();
  TBitmap* result = NewFilledBitmap(width, height, BackColor);
  try {
    HBITMAP bits;
    if (Bitmap->Monochrome()) {
      // A monochrome glyph is first made colour with white for its 0 pixels and the outline
      // colour for its 1 pixels; the white ones are then the outline.
      std::vector<TColor> table = Bitmap->ColorTable();
      COLORREF one = table.size() > 1 ? ColorToRGB(table[1]) : RGB(255, 255, 255);
      bool outlineIsWhite = ColorToRGB(OutlineColor) == RGB(255, 255, 255);
      bits = MonochromeWhere(Bitmap, [&](COLORREF c) { return c != one || outlineIsWhite; });
    } else {
      COLORREF outline = ColorToRGB(OutlineColor);
      bits = MonochromeWhere(Bitmap, [&](COLORREF c) { return c == outline; });
    }
    TMemoryDC mask(nullptr, bits);
    HDC dc = result->Canvas()->Handle();
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    if (DrawHighlight) BrushThroughMask(dc, 1, 1, width, height, mask.DC(), HighlightColor);
    BrushThroughMask(dc, 0, 0, width, height, mask.DC(), ShadowColor);
  } catch (...) {
    delete result;
    throw;
  }
  return result;
}

TBitmap* MakeDisabledGlyph(TBitmap* Bitmap, TColor OutlineColor) {
  return MakeDisabledGlyphEx(Bitmap, OutlineColor, clBtnFace, clBtnHighlight, clBtnShadow, true);
}

void DrawImageDisabled(TCustomImageList* ImageList, TCanvas* Canvas, int X, int Y, int Index, TColor HighlightColor,
                       TColor GrayColor, bool DrawHighlight) {
  int width = ImageList->Width();
  int height = ImageList->Height();
  TBitmap shape;
  shape.SetSize(width, height);
  shape.Canvas()->Brush()->SetColor(clWhite);
  shape.Canvas()->FillRect(Rect(0, 0, width, height));
  ImageList_Draw(ImageList->Handle(), Index, shape.Canvas()->Handle(), 0, 0, ILD_MASK);
  TMemoryDC mask(nullptr, MonochromeWhere(&shape, [](COLORREF c) { return c == RGB(255, 255, 255); }));
  HDC dc = Canvas->Handle();
  COLORREF oldText = SetTextColor(dc, RGB(255, 255, 255));
  COLORREF oldBack = SetBkColor(dc, RGB(0, 0, 0));
  if (DrawHighlight) BrushThroughMask(dc, X + 1, Y + 1, width, height, mask.DC(), HighlightColor);
  BrushThroughMask(dc, X, Y, width, height, mask.DC(), GrayColor);
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBack);
}

void DrawParentImage(TControl* Control, TCanvas* Canvas) {
  if (!Control || !Control->Parent()) return;
  TWinControl* parent = Control->Parent();
  TPaintCopyMark parentMark(parent);
  HDC dc = Canvas->Handle();
  {
    TSavedDC saved(dc);
    OffsetViewportOrgEx(dc, -Control->Left(), -Control->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, parent->ClientWidth(), parent->ClientHeight());
    parent->Perform(WM_ERASEBKGND, WPARAM(dc), 0);
    TParentPainter::PaintWindowOf(parent, dc);
  }
  RECT self = Control->BoundsRect();
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* sibling = parent->Controls(i);
    if (sibling == Control) break;
    if (dynamic_cast<TWinControl*>(sibling) || !sibling->Visible()) continue;
    RECT theirs = sibling->BoundsRect();
    RECT common;
    if (!IntersectRect(&common, &self, &theirs)) continue;
    TPaintCopyMark mark(sibling);
    TSavedDC saved(dc);
    OffsetViewportOrgEx(dc, sibling->Left() - Control->Left(), sibling->Top() - Control->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, sibling->Width(), sibling->Height());
    sibling->Perform(WM_PAINT, WPARAM(dc), 0);
  }
}

String ShortenText(const String& Text, TCanvas* Canvas, int MaxWidth) {
  String result = Text;
  int length = int(Text.size());
  for (int i = 1; i <= length && Canvas->TextWidth(result) > MaxWidth;) {
    ++i;
    result = Text.substr(0, size_t(std::max(0, length - i))) + "...";
  }
  return result;
}

// Tokens are as long as the text they come from: no fixed buffer cuts them.
size_t NextCmdToken(const String& CmdLine, size_t Position, String& Token) {
  Token.clear();
  size_t length = CmdLine.size();
  auto at = [&](size_t i) { return i < length ? static_cast<unsigned char>(CmdLine[i]) : 0u; };
  size_t p = Position;
  // Blanks and pairs of double quotes separate tokens.
  while (IsCmdBlank(at(p)) || (at(p) == '"' && at(p + 1) == '"')) p += at(p) == '"' ? 2 : 1;
  while (at(p) > 32) {
    if (at(p) == '"') {
      ++p;
      while (at(p) != 0 && at(p) != '"') Token += char(at(p++));
      if (at(p) == '"') ++p;
    } else {
      Token += char(at(p++));
    }
  }
  return p;
}

int CmdTokenCount(const String& CmdLine) {
  int count = 0;
  String token;
  for (size_t p = NextCmdToken(CmdLine, 0, token); !token.empty(); p = NextCmdToken(CmdLine, p, token)) ++count;
  return count;
}

String CmdToken(const String& CmdLine, int Index) {
  String token;
  size_t p = 0;
  for (int i = 0; i <= Index; ++i) {
    p = NextCmdToken(CmdLine, p, token);
    if (token.empty()) break;
  }
  return token;
}

void SplitCmdLine(const String& CmdLine, String& Program, String& Params) {
  Program.clear();
  Params.clear();
  String token;
  size_t p = NextCmdToken(CmdLine, 0, token);
  if (token.empty()) return;
  Program = token;
  for (p = NextCmdToken(CmdLine, p, token); !token.empty(); p = NextCmdToken(CmdLine, p, token)) {
    if (!Params.empty()) Params += ' ';
    Params += token.find(' ') != String::npos ? "\"" + token + "\"" : token;
  }
}

void DiscardMessage(HWND Wnd, UINT Msg) {
  MSG message;
  // A quit request is never lost: it goes back with its exit code.
  if (PeekMessageA(&message, Wnd, Msg, Msg, PM_REMOVE) && message.message == WM_QUIT)
    PostQuitMessage(int(message.wParam));
}

namespace {
struct TActiveSearch {
  HWND Active;
  bool Found;
};

BOOL CALLBACK FindActiveWindow(HWND Wnd, LPARAM Data) {
  auto* search = reinterpret_cast<TActiveSearch*>(Data);
  if (Wnd != search->Active) return TRUE;
  search->Found = true;
  return FALSE;
}
}  // namespace

bool ActiveWindowInThread() {
  TActiveSearch search{GetActiveWindow(), false};
  if (!search.Active) return false;
  EnumThreadWindows(GetCurrentThreadId(), FindActiveWindow, LPARAM(&search));
  return search.Found;
}
