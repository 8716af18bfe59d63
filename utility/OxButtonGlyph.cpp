// This file implements the speed buttons' face painter, its shared glyph lists and the button
// border (see OxButtonGlyph.h).
#include "OxButtonGlyph.h"

#include <algorithm>
#include <memory>

#include "ExtCtrls.h"
#include "OxDrawUtils.h"

namespace {
// One per process, on the GUI thread only.
TOxGlyphCache* GlyphCache = nullptr;

// Bit 25 marks a palette-relative colour; the images are compared by plain RGB.
constexpr TColor PaletteRelativeFlag = 0x02000000;

// Two images plus the drop-down mark's room: 9 pixels beside a caption, 6 beside a glyph.
constexpr int MarkTextRoom = 9;
constexpr int MarkGlyphRoom = 6;
}  // namespace

TOxGlyphCache* OxGlyphCache() { return GlyphCache; }

UINT OxAlignmentFlags(TAlignment Alignment) {
  switch (Alignment) {
    case taLeftJustify: return DT_LEFT;
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
  }
  return DT_CENTER;
}

// --- TOxGlyphList ---------------------------------------------------------------------------

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TOxGlyphList)

TOxGlyphList::TOxGlyphList(int AWidth, int AHeight) : TImageList(nullptr, AWidth, AHeight) {}

int TOxGlyphList::ReserveSlot() {
  auto free = std::find(FUsed.begin(), FUsed.end(), false);
  int index = int(free - FUsed.begin());
  if (free == FUsed.end()) {
    // No free slot: the list grows by an empty image.
    TBitmap blank;
    blank.SetSize(Width(), Height());
    Add(&blank, nullptr);
    FUsed.resize(std::size_t(index) + 1, false);
  }
  FUsed[std::size_t(index)] = true;
  return index;
}

int TOxGlyphList::AddImage(TBitmap* Image, TBitmap* Mask) {
  int index = ReserveSlot();
  Replace(index, Image, Mask);
  ++FUsedCount;
  return index;
}

int TOxGlyphList::AddImageMasked(TBitmap* Image, TColor MaskColor) {
  int index = ReserveSlot();
  ReplaceMasked(index, Image, MaskColor);
  ++FUsedCount;
  return index;
}

void TOxGlyphList::FreeSlot(int Index) {
  if (Index < 0 || Index >= int(FUsed.size()) || !FUsed[std::size_t(Index)]) return;
  // The image stays; the slot is handed out again by ReserveSlot.
  FUsed[std::size_t(Index)] = false;
  --FUsedCount;
}

// --- TOxGlyphCache --------------------------------------------------------------------------

TOxGlyphCache::~TOxGlyphCache() {
  for (TOxGlyphList* list : FLists) delete list;
}

TOxGlyphList* TOxGlyphCache::ListForSize(int AWidth, int AHeight) {
  for (auto it = FLists.rbegin(); it != FLists.rend(); ++it) {
    if ((*it)->Width() == AWidth && (*it)->Height() == AHeight) return *it;
  }
  FLists.push_back(new TOxGlyphList(AWidth, AHeight));
  return FLists.back();
}

void TOxGlyphCache::ReleaseList(TOxGlyphList* List) {
  if (!List || List->UsedCount() != 0) return;
  auto it = std::find(FLists.begin(), FLists.end(), List);
  if (it == FLists.end()) return;
  FLists.erase(it);
  delete List;
}

// --- TOxButtonGlyph -------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TOxButtonGlyph)

TOxButtonGlyph::TOxButtonGlyph() {
  FOriginal = new TBitmap();
  FOriginal->OnChange = TNotifyEvent(this, &TOxButtonGlyph::SourceChanged);
  std::fill(std::begin(FIndexes), std::end(FIndexes), -1);
  if (!GlyphCache) GlyphCache = new TOxGlyphCache();
}

TOxButtonGlyph::~TOxButtonGlyph() {
  FOriginal->OnChange = TNotifyEvent();
  delete FOriginal;
  ReleaseImages();
  if (GlyphCache && GlyphCache->IsEmpty()) {
    delete GlyphCache;
    GlyphCache = nullptr;
  }
}

void TOxButtonGlyph::SetGlyph(TBitmap* Value) {
  ReleaseImages();
  // The bitmap's change event does the rest (number of glyphs, transparent colour, OnChange).
  FOriginal->Assign(Value);
}

void TOxButtonGlyph::SetNumGlyphs(TOxNumGlyphs Value) {
  if (Value == 0 || Value == FNumGlyphs) return;
  ReleaseImages();
  FNumGlyphs = std::clamp(Value, 1, OxButtonStateCount);
}

void TOxButtonGlyph::SetGrayNewStyle(bool Value) {
  if (Value == FGrayNewStyle) return;
  FGrayNewStyle = Value;
  ReleaseImages();
}

void TOxButtonGlyph::SourceChanged(TObject*) {
  ReleaseImages();
  if (FOriginal->Height() > 0) {
    FTransparentColor = FOriginal->TransparentColor() & ~PaletteRelativeFlag;
    int width = FOriginal->Width(), height = FOriginal->Height();
    if (width % height == 0) {
      int count = width / height;
      FNumGlyphs = count > OxButtonStateCount ? 1 : std::max(count, 1);
    }
  }
  if (OnChange) OnChange(this);
}

void TOxButtonGlyph::ReleaseImages() {
  for (int& index : FIndexes) {
    if (index != -1 && FGlyphList) FGlyphList->FreeSlot(index);
    index = -1;
  }
  if (FGlyphList && GlyphCache) GlyphCache->ReleaseList(FGlyphList);
  FGlyphList = nullptr;
}

TColor TOxButtonGlyph::GrayPixel(TColor Color) const {
  std::uint32_t rgb = ColorToRGB(Color);
  if (rgb == ColorToRGB(FTransparentColor) || rgb == ColorToRGB(clBtnFace)) return Color;
  int l = (77 * int(GetRValue(rgb)) + 150 * int(GetGValue(rgb)) + 29 * int(GetBValue(rgb))) >> 8;
  return RGBToColor(l, l, l);
}

int TOxButtonGlyph::StateImageIndex(TOxButtonState State) {
  // Without its own down image a button shows the up image while pressed.
  if (State == obsDown && FNumGlyphs < 3) State = obsUp;
  if (FIndexes[State] != -1) return FIndexes[State];
  if (FOriginal->Width() == 0 || FOriginal->Height() == 0 || FOriginal->Empty()) return -1;
  int glyphWidth = FOriginal->Width() / FNumGlyphs;
  int glyphHeight = FOriginal->Height();
  if (glyphWidth <= 0) return -1;
  if (!FGlyphList) {
    if (!GlyphCache) GlyphCache = new TOxGlyphCache();
    FGlyphList = GlyphCache->ListForSize(glyphWidth, glyphHeight);
  }
  TBitmap work;
  work.SetSize(glyphWidth, glyphHeight);
  work.Canvas()->Brush()->SetColor(clBtnFace);
  work.Canvas()->FillRect(Rect(0, 0, glyphWidth, glyphHeight));
  int slice = int(State) < FNumGlyphs ? int(State) : 0;
  TRect dest(0, 0, glyphWidth, glyphHeight);
  TRect source = Bounds(slice * glyphWidth, 0, glyphWidth, glyphHeight);
  auto copySlice = [&](int Slice) {
    work.Canvas()->CopyRect(dest, FOriginal->Canvas(), Bounds(Slice * glyphWidth, 0, glyphWidth, glyphHeight));
  };
  int index;
  switch (State) {
    case obsDisabled:
      if (FNumGlyphs > 1) {
        copySlice(slice);
        index = FGlyphList->AddImageMasked(&work, FTransparentColor);
      } else if (FGrayNewStyle) {
        std::unique_ptr<TBitmap> embossed(MakeEmbossedGlyph(FOriginal, FTransparentColor));
        index = FGlyphList->AddImageMasked(embossed.get(), FTransparentColor);
      } else {
        std::unique_ptr<TBitmap> disabled(MakeDisabledGlyph(FOriginal, clBlack));
        index = FGlyphList->AddImageMasked(disabled.get(), TColor(ColorToRGB(clBtnFace)));
      }
      break;
    case obsInactive:
      if (FNumGlyphs < OxButtonStateCount) {
        TCanvas* from = FOriginal->Canvas();
        TCanvas* to = work.Canvas();
        for (int y = 0; y < glyphHeight; ++y) {
          for (int x = 0; x < glyphWidth; ++x) to->SetPixels(x, y, GrayPixel(from->Pixels(x, y)));
        }
      } else {
        copySlice(obsInactive);
      }
      index = FGlyphList->AddImageMasked(&work, FTransparentColor);
      break;
    default:
      work.Canvas()->CopyRect(dest, FOriginal->Canvas(), source);
      index = FGlyphList->AddImageMasked(&work, FTransparentColor);
      break;
  }
  FIndexes[State] = index;
  FOriginal->Dormant();
  return index;
}

TPoint TOxButtonGlyph::PaintStateImage(TCanvas* Canvas, int X, int Y, TOxButtonState State) {
  int index = StateImageIndex(State);
  if (index < 0 || !FGlyphList) return TPoint(0, 0);
  ImageList_Draw(FGlyphList->Handle(), index, Canvas->Handle(), X, Y, ILD_NORMAL);
  return TPoint(FGlyphList->Width(), FGlyphList->Height());
}

String TOxButtonGlyph::FitCaption(TCanvas* Canvas, const String& Caption, int MaxWidth) {
  String result = Caption.substr(0, 255);
  if (WordWrap) return result;
  // Each line is shortened on its own; the line breaks stay.
  String fitted;
  std::size_t start = 0;
  while (start <= result.size()) {
    std::size_t end = result.find_first_of("\r\n", start);
    String line = result.substr(start, end == String::npos ? String::npos : end - start);
    fitted += ShortenText(line, Canvas, MaxWidth);
    if (end == String::npos) break;
    std::size_t next = end + 1;
    if (result[end] == '\r' && next < result.size() && result[next] == '\n') ++next;
    fitted += "\r\n";
    start = next;
  }
  while (!fitted.empty() && (fitted.back() == ' ' || fitted.back() == '\r' || fitted.back() == '\n')) fitted.pop_back();
  return fitted.substr(0, 255);
}

void TOxButtonGlyph::PaintCaption(TCanvas* Canvas, const String& Caption, UINT Flags, TOxButtonState State,
                                  const TRect& Rect) {
  Canvas->Brush()->SetStyle(bsClear);
  UINT format = (WordWrap ? DT_WORDBREAK : 0) | DT_VCENTER | OxAlignmentFlags(Alignment) | Flags;
  HDC dc = Canvas->Handle();
  auto draw = [&](const TRect& R, TColor Color) {
    Canvas->Font()->SetColor(Color);
    Canvas->TextExtent(" ");  // selects the font in its new colour
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ColorToRGB(Color));
    RECT r = R;
    ::DrawTextA(dc, Caption.c_str(), int(Caption.size()), &r, format);
  };
  if (State == obsDisabled) {
    TColor saved = Canvas->Font()->Color();
    draw(TRect(Rect.Left + 1, Rect.Top + 1, Rect.Right + 1, Rect.Bottom + 1), clBtnHighlight);
    draw(Rect, clBtnShadow);
    Canvas->Font()->SetColor(saved);
  } else {
    draw(Rect, Canvas->Font()->Color());
  }
}

void TOxButtonGlyph::ComputeLayout(TCanvas* Canvas, const TRect& Client, UINT Flags, TRect& TextBounds,
                                   TPoint& GlyphPos, bool DrawMark, int Spacing, int Margin, TButtonLayout Layout,
                                   String& Caption) {
  TPoint client(Client.Width(), Client.Height());
  TPoint glyph(0, 0);
  if (!FOriginal->Empty() && FOriginal->Height() > 0) glyph = TPoint(FOriginal->Width() / FNumGlyphs, FOriginal->Height());
  bool vertical = Layout == blGlyphTop || Layout == blGlyphBottom;

  // The room the caption may take.
  TPoint room;
  if (vertical) {
    room.X = client.X;
    room.Y = client.Y - glyph.Y - (Margin != -1 ? Margin : 0) - (Spacing != -1 ? Spacing : 0);
  } else {
    room.X = client.X - glyph.X - (Margin != -1 ? Margin : 0) - (Spacing != -1 ? Spacing : 0) -
             (DrawMark ? MarkTextRoom : 0);
    room.Y = client.Y;
  }
  room.X = std::max(room.X, 0);
  room.Y = std::max(room.Y, 0);

  Caption = FitCaption(Canvas, Caption, room.X);
  TPoint text(0, 0);
  if (!Caption.empty()) {
    Canvas->TextExtent(" ");  // selects the font into the context
    RECT r{0, 0, room.X, 0};
    ::DrawTextA(Canvas->Handle(), Caption.c_str(), int(Caption.size()), &r,
                DT_CALCRECT | (WordWrap ? DT_WORDBREAK : 0) | DT_VCENTER | DT_CENTER | Flags);
    text = TPoint(std::min(int(r.right - r.left), room.X), std::min(int(r.bottom - r.top), room.Y));
  }
  TPoint measured = text;

  // The mark goes after the caption when there is no glyph or the glyph is on the left,
  // otherwise after the glyph.
  if (DrawMark) {
    if (glyph.X == 0 || glyph.Y == 0 || Layout == blGlyphLeft) text.X += MarkTextRoom;
    else glyph.X += MarkGlyphRoom;
  }

  TPoint textPos;
  if (vertical) {
    GlyphPos.X = client.X / 2 - glyph.X / 2;
    textPos.X = client.X / 2 - text.X / 2;
  } else {
    GlyphPos.Y = client.Y / 2 - glyph.Y / 2;
    textPos.Y = client.Y / 2 - text.Y / 2;
  }

  if (text.X == 0 || glyph.X == 0) Spacing = 0;

  int clientExtent = vertical ? client.Y : client.X;
  int glyphExtent = vertical ? glyph.Y : glyph.X;
  int textExtent = vertical ? text.Y : text.X;
  if (Margin == -1) {
    if (Spacing == -1) {
      Margin = Spacing = (clientExtent - (glyphExtent + textExtent)) / 3;
    } else {
      int total = glyphExtent + Spacing + textExtent;
      Margin = clientExtent / 2 - total / 2;
    }
  } else if (Spacing == -1) {
    int total = clientExtent - (Margin + glyphExtent);
    Spacing = total / 2 - textExtent / 2;
  }

  switch (Layout) {
    case blGlyphLeft:
      GlyphPos.X = Margin;
      textPos.X = GlyphPos.X + glyph.X + Spacing;
      break;
    case blGlyphRight:
      GlyphPos.X = client.X - Margin - glyph.X;
      textPos.X = GlyphPos.X - Spacing - text.X;
      break;
    case blGlyphTop:
      GlyphPos.Y = Margin;
      textPos.Y = GlyphPos.Y + glyph.Y + Spacing;
      break;
    case blGlyphBottom:
      GlyphPos.Y = client.Y - Margin - glyph.Y;
      textPos.Y = GlyphPos.Y - Spacing - text.Y;
      break;
  }

  GlyphPos.X += Client.Left;
  GlyphPos.Y += Client.Top;
  // The bounds hold the caption itself; the mark's room lies beside them.
  TextBounds = Bounds(textPos.X + Client.Left, textPos.Y + Client.Top, measured.X, measured.Y);
}

TRect TOxButtonGlyph::PaintAll(TCanvas* Canvas, const TRect& Client, UINT Flags, TOxButtonState State,
                               bool DrawMark, int Spacing, int Margin, TButtonLayout Layout, const String& Caption) {
  String text = Caption;
  TRect textBounds;
  TPoint glyphPos;
  ComputeLayout(Canvas, Client, Flags, textBounds, glyphPos, DrawMark, Spacing, Margin, Layout, text);
  TPoint drawn = PaintStateImage(Canvas, glyphPos.X, glyphPos.Y, State);
  PaintCaption(Canvas, text, Flags, State, textBounds);
  if (DrawMark) {
    int x, y;
    if (Layout != blGlyphLeft && drawn.X > 0) {
      x = glyphPos.X + drawn.X + 1;
      y = glyphPos.Y + drawn.Y / 2;
    } else {
      x = !text.empty() ? textBounds.Right + 3 : (Client.Left + Client.Right - 7) / 2;
      y = textBounds.Top + textBounds.Height() / 2;
    }
    PaintArrowMark(Canvas, x, y, State);
  }
  return textBounds;
}

void TOxButtonGlyph::PaintArrowMark(TCanvas* Canvas, int X, int Y, TOxButtonState State) {
  HDC dc = Canvas->Handle();
  auto triangle = [dc](int Left, int Top, TColor Color) {
    COLORREF rgb = ColorToRGB(Color);
    for (int row = 0; row < 4; ++row) {
      for (int x = Left + row; x <= Left + 6 - row; ++x) ::SetPixel(dc, x, Top - 1 + row, rgb);
    }
  };
  if (State == obsDisabled) {
    triangle(X + 1, Y + 1, clBtnHighlight);
    triangle(X, Y, clBtnShadow);
  } else {
    triangle(X, Y, clBtnText);
  }
}

// --- Border ---------------------------------------------------------------------------------

TRect PaintButtonBorder(TCanvas* Canvas, const TRect& Client, bool IsDown, TButtonStyle Style, bool IsFlat) {
  // Every supported system has the new-style controls: bsAutoDetect means the new look.
  bool newLook = Style != bsWin31;
  TRect r = Client;
  if (IsDown) {
    if (newLook) {
      if (IsFlat) {
        Frame3D(Canvas, r, clBtnShadow, clBtnHighlight, 1);
      } else {
        Frame3D(Canvas, r, clWindowFrame, clBtnHighlight, 1);
        Frame3D(Canvas, r, clBtnShadow, clBtnFace, 1);
      }
    } else if (IsFlat) {
      Frame3D(Canvas, r, clWindowFrame, clBtnHighlight, 1);
    } else {
      Frame3D(Canvas, r, clWindowFrame, clWindowFrame, 1);
      Canvas->Pen()->SetColor(clBtnShadow);
      Canvas->Polyline({TPoint(r.Left, r.Bottom - 1), TPoint(r.Left, r.Top), TPoint(r.Right, r.Top)});
    }
  } else if (newLook) {
    if (IsFlat) {
      Frame3D(Canvas, r, clBtnHighlight, clBtnShadow, 1);
    } else {
      Frame3D(Canvas, r, clBtnHighlight, clWindowFrame, 1);
      Frame3D(Canvas, r, clBtnFace, clBtnShadow, 1);
    }
  } else if (IsFlat) {
    Frame3D(Canvas, r, clBtnHighlight, clWindowFrame, 1);
  } else {
    Frame3D(Canvas, r, clWindowFrame, clWindowFrame, 1);
    Frame3D(Canvas, r, clBtnHighlight, clBtnShadow, 1);
  }
  return TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
}
