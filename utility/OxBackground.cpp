// This file implements background pictures: TBackgroundImage, and TqzBackground with the client
// links that paint it behind the client area of its windows.
#include "OxBackground.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

#include "Dialogs.h"
#include "Filer.h"
#include "Format.h"
#include "Forms.h"
#include "Jpeg.h"
#include "OxComponentInfo.h"
#include "TextOrder.h"
#include "UtilityWindow.h"

#include "WinApi.h"

// --- Colours ------------------------------------------------------------------------------------

namespace {

constexpr int HLSMax = 240;
constexpr int RGBMax = 255;
constexpr int UndefinedHue = HLSMax * 2 / 3;  // 160: the hue of grays

int HueToValue(int M1, int M2, int H) {
  if (H < 0) H += HLSMax;
  if (H > HLSMax) H -= HLSMax;
  if (H < HLSMax / 6) return M1 + ((M2 - M1) * H + HLSMax / 12) / (HLSMax / 6);
  if (H < HLSMax / 2) return M2;
  if (H < HLSMax * 2 / 3) return M1 + ((M2 - M1) * (HLSMax * 2 / 3 - H) + HLSMax / 12) / (HLSMax / 6);
  return M1;
}

std::vector<COLORREF>* GrayMap = nullptr;
std::vector<TBackgroundImage*> AllImages;

void BuildGrayMap() {
  if (!GrayMap) GrayMap = new std::vector<COLORREF>(256);
  THLS face = RGBToHLS(ColorToRGB(clBtnFace));
  THLS highlight = RGBToHLS(ColorToRGB(clBtnHighlight));
  for (int i = 0; i <= 192; ++i) (*GrayMap)[std::size_t(i)] = HLSToRGB({face.H, face.L * i / 192, face.S});
  for (int i = 193; i < 256; ++i) {
    (*GrayMap)[std::size_t(i)] = HLSToRGB({face.H, face.L + (highlight.L - face.L) * (i - 192) / 63, face.S});
  }
}

bool IsJpeg(TGraphic* G) { return dynamic_cast<TJPEGImage*>(G) != nullptr; }
bool IsIconOrMetafile(TGraphic* G) { return dynamic_cast<TIcon*>(G) || dynamic_cast<TMetafile*>(G); }

// The graphic drawn on an 8-bit bitmap of 256 grays whose table then takes the gray map.
TBitmap* GrayMappedCopy(TGraphic* Graphic) {
  auto* copy = new TBitmap();
  auto* bitmap = dynamic_cast<TBitmap*>(Graphic);
  if (bitmap && bitmap->BitsPerPixel() <= 8) {
    copy->Assign(bitmap);
  } else {
    copy->SetPixelFormat(pf8bit);
    std::vector<TColor> grays(256);
    for (int i = 0; i < 256; ++i) grays[std::size_t(i)] = TColor(RGB(i, i, i));
    copy->SetColorTable(grays);
    copy->SetSize(Graphic->Width(), Graphic->Height());
    bool transparent = Graphic->Transparent();
    Graphic->SetTransparent(false);
    copy->Canvas()->Draw(0, 0, Graphic);
    Graphic->SetTransparent(transparent);
  }
  std::vector<TColor> table = copy->ColorTable();
  for (TColor& c : table) {
    COLORREF rgb = COLORREF(c);
    if (GetRValue(rgb) == GetGValue(rgb) && GetGValue(rgb) == GetBValue(rgb)) c = TColor((*GrayMap)[GetRValue(rgb)]);
  }
  copy->SetColorTable(table);
  return copy;
}

// Draws Source at (X, Y) on DC except where Shape shows the transparent colour.
void DrawMasked(HDC DC, int X, int Y, TBitmap* Source, TBitmap* Shape, TColor Transparent) {
  const int w = Source->Width(), h = Source->Height();
  TOwnedBitmap mask(CreateBitmap(w, h, 1, 1, nullptr));
  TBitmapDC maskDC(mask);
  HDC shapeDC = Shape->Canvas()->Handle();
  SetBkColor(shapeDC, ColorToRGB(Transparent));
  BitBlt(maskDC, 0, 0, w, h, shapeDC, 0, 0, SRCCOPY);  // set bits where the colour is transparent
  constexpr DWORD KeepDestination = 0x00AA0029;
  MaskBlt(DC, X, Y, w, h, Source->Canvas()->Handle(), 0, 0, mask, 0, 0, MAKEROP4(KeepDestination, SRCCOPY));
}

// The source line each of Count target lines takes when GDI stretches Lines lines over Count with
// COLORONCOLOR: a one-line picture whose pixels hold their own positions, stretched by GDI itself,
// so that ScaleStraight picks exactly the pixels StretchBlt picks. Empty if GDI answers nonsense.
std::vector<int> StretchedLines(int Lines, int Count, bool Rows) {
  TBitmap from, to;
  from.SetPixelFormat(pf32bit);
  to.SetPixelFormat(pf32bit);
  from.SetSize(Rows ? 1 : Lines, Rows ? Lines : 1);
  to.SetSize(Rows ? 1 : Count, Rows ? Count : 1);
  auto At = [Rows](TBitmap& B, int I) { return static_cast<std::uint32_t*>(B.ScanLine(Rows ? I : 0)) + (Rows ? 0 : I); };
  for (int i = 0; i < Lines; ++i) *At(from, i) = std::uint32_t(i);
  HDC dc = to.Canvas()->Handle();
  int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, 0, 0, to.Width(), to.Height(), from.Canvas()->Handle(), 0, 0, from.Width(), from.Height(), SRCCOPY);
  SetStretchBltMode(dc, oldMode);
  std::vector<int> lines(static_cast<std::size_t>(Count));
  for (int i = 0; i < Count; ++i) {
    const std::uint32_t line = *At(to, i);
    if (line >= std::uint32_t(Lines)) return {};
    lines[std::size_t(i)] = int(line);
  }
  return lines;
}

// Scales Source (24 or 32 bits a pixel, opaque) over the whole of Target (32 bits) as StretchBlt
// with COLORONCOLOR does, writing Target's bits directly: GDI stretching between two formats goes
// through full-size temporary images, which cost several times the scaling itself on a
// screen-sized picture. False, with nothing drawn, for any other kind of bitmap.
bool ScaleStraight(TBitmap* Source, TBitmap* Target) {
  if (!Source || Source->Empty() || Source->Transparent() || Target->BitsPerPixel() != 32) return false;
  const int depth = Source->BitsPerPixel();
  if (depth != 24 && depth != 32) return false;
  const int width = Target->Width(), height = Target->Height();
  const std::vector<int> columns = StretchedLines(Source->Width(), width, false);
  const std::vector<int> rows = StretchedLines(Source->Height(), height, true);
  if (columns.empty() || rows.empty()) return false;
  const int bytes = depth / 8;
  std::vector<std::size_t> offsets(columns.size());
  for (std::size_t x = 0; x < columns.size(); ++x) offsets[x] = std::size_t(columns[x]) * std::size_t(bytes);
  const std::uint32_t* previous = nullptr;
  int previousRow = -1;
  for (int y = 0; y < height; ++y) {
    auto* out = static_cast<std::uint32_t*>(Target->ScanLine(y));
    const int row = rows[std::size_t(y)];
    if (row == previousRow) {
      std::memcpy(out, previous, std::size_t(width) * 4);
      continue;
    }
    const auto* in = static_cast<const std::uint8_t*>(Source->ScanLine(row));
    if (bytes == 4) {
      for (int x = 0; x < width; ++x) std::memcpy(&out[x], in + offsets[std::size_t(x)], 4);
    } else {
      for (int x = 0; x < width; ++x) {
        const std::uint8_t* p = in + offsets[std::size_t(x)];
        out[x] = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16;
      }
    }
    previous = out;
    previousRow = row;
  }
  return true;
}

// The bitmap a graphic draws from: itself, or a JPEG picture's decoded image.
TBitmap* BitmapOf(TGraphic* Graphic) {
  if (auto* bitmap = dynamic_cast<TBitmap*>(Graphic)) return bitmap;
  if (auto* jpeg = dynamic_cast<TJPEGImage*>(Graphic)) return jpeg->Bitmap();
  return nullptr;
}

// Watches the system colours for every image: the gray map follows them.
class TSysColorWatcher : public TObject {
 public:
  TSysColorWatcher() { FWindow = AllocateHWnd(TWndMethod(this, &TSysColorWatcher::WndProc)); }
  ~TSysColorWatcher() override { DeallocateHWnd(FWindow); }

 private:
  void WndProc(TMessage& Message) {
    if (Message.Msg == WM_SYSCOLORCHANGE) {
      if (GrayMap) BuildGrayMap();
      for (TBackgroundImage* image : AllImages) {
        if (image->GrayMapped()) image->Rebuild();
      }
    }
    Message.Result = DefWindowProcA(FWindow, Message.Msg, Message.WParam, Message.LParam);
  }
  HWND FWindow;
};

TSysColorWatcher* Watcher = nullptr;

}  // namespace

THLS RGBToHLS(COLORREF Color) {
  int r = GetRValue(Color), g = GetGValue(Color), b = GetBValue(Color);
  int mx = std::max({r, g, b}), mn = std::min({r, g, b});
  THLS out{UndefinedHue, ((mx + mn) * HLSMax + RGBMax) / (2 * RGBMax), 0};
  if (mx == mn) return out;
  if (out.L <= HLSMax / 2) {
    out.S = ((mx - mn) * HLSMax + (mx + mn) / 2) / (mx + mn);
  } else {
    out.S = ((mx - mn) * HLSMax + (2 * RGBMax - mx - mn) / 2) / (2 * RGBMax - mx - mn);
  }
  int delta = mx - mn;
  int rd = ((mx - r) * (HLSMax / 6) + delta / 2) / delta;
  int gd = ((mx - g) * (HLSMax / 6) + delta / 2) / delta;
  int bd = ((mx - b) * (HLSMax / 6) + delta / 2) / delta;
  if (r == mx) {
    out.H = bd - gd;
  } else if (g == mx) {
    out.H = HLSMax / 3 + rd - bd;
  } else {
    out.H = 2 * HLSMax / 3 + gd - rd;
  }
  if (out.H < 0) out.H += HLSMax;
  if (out.H >= HLSMax) out.H -= HLSMax;
  return out;
}

COLORREF HLSToRGB(const THLS& V) {
  if (V.S == 0) {
    int c = V.L * RGBMax / HLSMax;
    return RGB(c, c, c);
  }
  int m2 = V.L <= HLSMax / 2 ? (V.L * (HLSMax + V.S) + HLSMax / 2) / HLSMax : V.L + V.S - (V.L * V.S + HLSMax / 2) / HLSMax;
  int m1 = 2 * V.L - m2;
  auto channel = [&](int h) {
    return std::clamp((HueToValue(m1, m2, h) * RGBMax + HLSMax / 2) / HLSMax, 0, 255);
  };
  return RGB(channel(V.H + HLSMax / 3), channel(V.H), channel(V.H - HLSMax / 3));
}

COLORREF GrayMapEntry(int Index) {
  if (!GrayMap) BuildGrayMap();
  return (*GrayMap)[std::size_t(std::clamp(Index, 0, 255))];
}

// --- TBackgroundImage ---------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TBackgroundImage)
VELBOR_PUBLISHED(TBackgroundImage,
  Prop("Picture", &Self::Picture, &Self::SetPicture),
  Prop("Mode", &Self::Mode, &Self::SetMode).Default(bmTile),
  Prop("Transparent", &Self::Transparent, &Self::SetTransparent).Default(false),
  Prop("TransparentMode", &Self::TransparentMode, &Self::SetTransparentMode).Default(tmAuto),
  Prop("TransparentColor", &Self::TransparentColor, &Self::SetTransparentColor)
      .Idents(ColorIdents)
      .Stored(&Self::IsTransparentColorStored),
  Prop("TileWidth", &Self::TileWidth, &Self::SetTileWidth),
  Prop("TileHeight", &Self::TileHeight, &Self::SetTileHeight),
  Prop("Shift", &Self::Shift, &Self::SetShift).Default(0),
  Prop("ShiftMode", &Self::ShiftMode, &Self::SetShiftMode).Default(smRows),
  Prop("Zigzag", &Self::Zigzag, &Self::SetZigzag).Default(false),
  Prop("AutoSizeTile", &Self::AutoSizeTile, &Self::SetAutoSizeTile).Default(true),
  Prop("FitPictureSize", &Self::FitPictureSize, &Self::SetFitPictureSize).Default(false),
  Prop("Enabled", &Self::Enabled, &Self::SetEnabled).Default(true),
  Prop("GrayMapped", &Self::GrayMapped, &Self::SetGrayMapped).Default(false))

TBackgroundImage::TBackgroundImage() {
  FPicture = new TPicture();
  FPicture->OwnerObject = this;
  FPicture->OnChange = TNotifyEvent(this, &TBackgroundImage::PictureChanged);
  FDrawCanvas = new TCanvas();
  if (AllImages.empty() && !Watcher) Watcher = new TSysColorWatcher();
  AllImages.push_back(this);
}

TBackgroundImage::~TBackgroundImage() {
  AllImages.erase(std::remove(AllImages.begin(), AllImages.end(), this), AllImages.end());
  if (AllImages.empty()) {
    delete Watcher;
    Watcher = nullptr;
  }
  delete FPicture;
  delete FPrepared;
  delete FDrawCanvas;
}

void TBackgroundImage::DefineProperties(TFiler* Filer) { TPersistent::DefineProperties(Filer); }

void TBackgroundImage::Announce() {
  // Every change of the picture or of a setting comes through here: the scaled copy is stale.
  FScaled.reset();
  if (ChangeHandler) ChangeHandler(this);
}

TColor TBackgroundImage::TransparentColor() {
  TColor result;
  auto* bitmap = dynamic_cast<TBitmap*>(FPicture->Graphic());
  if (FTransparentColor == clDefault && bitmap && !bitmap->Empty()) {
    result = bitmap->Monochrome() ? clWhite : TColor(GetPixel(bitmap->Canvas()->Handle(), 0, bitmap->Height() - 1));
  } else {
    result = TColor(ColorToRGB(FTransparentColor == clDefault ? clWhite : FTransparentColor));
  }
  return TColor(COLORREF(result) | 0x02000000);
}

void TBackgroundImage::SetTransparentColor(TColor Value) {
  if (Value == FTransparentColor) return;
  FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
  FTransparentColor = Value;
  if (FTransparent) Rebuild();
}

void TBackgroundImage::SetTransparentMode(TTransparentMode Value) {
  if (Value == FTransparentMode) return;
  if (Value == tmFixed) {
    TColor frozen = TColor(COLORREF(TransparentColor()) & 0x00FFFFFF);
    FTransparentColor = frozen;
  } else {
    FTransparentColor = clDefault;
  }
  FTransparentMode = Value;
}

void TBackgroundImage::SetMode(TBackgroundMode Value) {
  if (Value == FMode) return;
  bool tileInvolved = FMode == bmTile || Value == bmTile;
  FMode = Value;
  if (tileInvolved && (FTileWidth != FPicture->Width() || FTileHeight != FPicture->Height())) {
    PictureChanged(this);
  } else {
    Announce();
  }
}

void TBackgroundImage::SetTileWidth(int Value) {
  if (FAutoSizeTile) return;
  Value = std::max(Value, FPicture->Width());
  if (Value == FTileWidth) return;
  FTileWidth = Value;
  if (FMode == bmTile) PictureChanged(this);
}

void TBackgroundImage::SetTileHeight(int Value) {
  if (FAutoSizeTile) return;
  Value = std::max(Value, FPicture->Height());
  if (Value == FTileHeight) return;
  FTileHeight = Value;
  if (FMode == bmTile) PictureChanged(this);
}

void TBackgroundImage::SetAutoSizeTile(bool Value) {
  if (Value == FAutoSizeTile) return;
  FAutoSizeTile = Value;
  if (FMode == bmTile && (FTileWidth != FPicture->Width() || FTileHeight != FPicture->Height())) PictureChanged(this);
}

void TBackgroundImage::SetShift(int Value) {
  FShift = Value;
  FZigzag = false;
  if (FMode == bmTile) Announce();
}

void TBackgroundImage::SetShiftMode(TShiftMode Value) {
  FShiftMode = Value;
  if (FMode == bmTile) Announce();
}

void TBackgroundImage::SetZigzag(bool Value) {
  FZigzag = Value;
  if (FMode == bmTile) Announce();
}

void TBackgroundImage::SetFitPictureSize(bool Value) {
  FFitPictureSize = Value;
  if (FMode != bmTile && FMode != bmStretch) Announce();
}

void TBackgroundImage::SetEnabled(bool Value) {
  FEnabled = Value;
  Announce();
}

void TBackgroundImage::SetTransparent(bool Value) {
  FTransparent = Value;
  PictureChanged(this);
}

void TBackgroundImage::SetGrayMapped(bool Value) {
  if (Value && !GrayMap) BuildGrayMap();
  FGrayMapped = Value;
  Rebuild();
}

void TBackgroundImage::Assign(TPersistent* Source) {
  auto* other = dynamic_cast<TBackgroundImage*>(Source);
  if (!other) {
    TPersistent::Assign(Source);
    return;
  }
  SetAutoSizeTile(other->AutoSizeTile());
  SetEnabled(other->Enabled());
  SetFitPictureSize(other->FitPictureSize());
  SetGrayMapped(other->GrayMapped());
  SetMode(other->Mode());
  SetPicture(other->Picture());
  SetTileWidth(other->TileWidth());
  SetTileHeight(other->TileHeight());
  SetTransparent(other->Transparent());
  SetTransparentColor(TColor(COLORREF(other->TransparentColor()) & 0x00FFFFFF));
  SetTransparentMode(other->TransparentMode());
  SetShift(other->Shift());
  SetShiftMode(other->ShiftMode());
  SetZigzag(other->Zigzag());
}

void TBackgroundImage::PictureChanged(TObject*) {
  if (FUpdating) return;
  int w = FPicture->Width(), h = FPicture->Height();
  FHasPicture = w > 0 && h > 0;
  if (FTileWidth < w || FTileHeight < h || (FAutoSizeTile && FHasPicture)) {
    FTileWidth = w;
    FTileHeight = h;
  }
  if (TGraphic* g = FPicture->Graphic()) {
    FUpdating = true;
    g->SetTransparent(FTransparent);
    FUpdating = false;
  }
  Rebuild();
}

void TBackgroundImage::Rebuild() {
  if (FUpdating) return;
  FUpdating = true;
  struct TReset {
    bool& Flag;
    ~TReset() { Flag = false; }
  } reset{FUpdating};
  TGraphic* graphic = FPicture->Graphic();
  if (!graphic || graphic->Empty()) {
    delete FPrepared;
    FPrepared = nullptr;
    Announce();
    return;
  }
  int padX = 0, padY = 0;
  if (FMode == bmTile) {
    padX = (FTileWidth - graphic->Width()) / 2;
    padY = (FTileHeight - graphic->Height()) / 2;
  }
  bool centring = FMode == bmTile && (FTileWidth != graphic->Width() || FTileHeight != graphic->Height());
  bool transparency = IsIconOrMetafile(graphic) || (FTransparent && !IsJpeg(graphic));
  if (!transparency && !FGrayMapped && !centring) {
    delete FPrepared;
    FPrepared = nullptr;
    Announce();
    return;
  }
  TColor transparent = TColor(COLORREF(TransparentColor()) & 0x00FFFFFF);
  auto* prepared = new TBitmap();
  if (FMode == bmTile) {
    prepared->SetSize(FTileWidth, FTileHeight);
  } else {
    prepared->SetSize(graphic->Width(), graphic->Height());
  }
  TCanvas* canvas = prepared->Canvas();
  canvas->Brush()->SetColor(transparent);
  canvas->FillRect(Rect(0, 0, prepared->Width(), prepared->Height()));
  if (IsIconOrMetafile(graphic)) {
    // Icons and metafiles carry their own transparency.
    canvas->Draw(padX, padY, graphic);
  } else if (transparency || FGrayMapped) {
    // An opaque copy: a bitmap as it is, any other graphic over the transparent colour.
    TBitmap opaque;
    if (auto* bitmap = dynamic_cast<TBitmap*>(graphic)) {
      opaque.Assign(bitmap);
    } else {
      opaque.SetSize(graphic->Width(), graphic->Height());
      opaque.Canvas()->Brush()->SetColor(transparent);
      opaque.Canvas()->FillRect(Rect(0, 0, opaque.Width(), opaque.Height()));
      opaque.Canvas()->Draw(0, 0, graphic);
    }
    if (!FGrayMapped) {
      opaque.SetTransparentColor(transparent);
      opaque.SetTransparent(true);
      canvas->Draw(padX, padY, &opaque);
    } else {
      if (!GrayMap) BuildGrayMap();
      auto* jpeg = dynamic_cast<TJPEGImage*>(graphic);
      const bool wasGray = jpeg && jpeg->Grayscale();
      if (jpeg) jpeg->SetGrayscale(true);
      std::unique_ptr<TBitmap> gray(GrayMappedCopy(graphic));
      if (jpeg) jpeg->SetGrayscale(wasGray);
      if (transparency) {
        // The mask comes from the picture's own colours: once recoloured, the transparent colour
        // is gone from the copy.
        DrawMasked(canvas->Handle(), padX, padY, gray.get(), &opaque, transparent);
      } else {
        canvas->Draw(padX, padY, gray.get());
      }
    }
  } else {
    canvas->Draw(padX, padY, graphic);
  }
  prepared->SetTransparentColor(transparent);
  prepared->SetTransparent(FTransparent);
  delete FPrepared;
  FPrepared = prepared;
  Announce();
}

TRect TBackgroundImage::PaintArea(TControl* Control) {
  auto* form = dynamic_cast<TCustomForm*>(Control);
  if (form && form->FormStyle() == fsMDIForm && form->ClientHandle()) {
    RECT r;
    GetClientRect(form->ClientHandle(), &r);
    LONG style = GetWindowLongA(form->ClientHandle(), GWL_STYLE);
    if (style & WS_VSCROLL) r.right += GetSystemMetrics(SM_CXVSCROLL);
    if (style & WS_HSCROLL) r.bottom += GetSystemMetrics(SM_CYHSCROLL);
    return TRect(r.left, r.top, r.right, r.bottom);
  }
  TRect area = Control->ClientRect();
  auto* win = dynamic_cast<TWinControl*>(Control);
  if (!win || !win->HandleAllocated()) return area;
  HWND wnd = win->Handle();
  char className[32] = {};
  GetClassNameA(wnd, className, sizeof className);
  int unit = 1;
  // A list box scrolls by items, a tree view by rows.
  if (lstrcmpiA(className, "LISTBOX") == 0) {
    unit = int(SendMessageA(wnd, LB_GETITEMHEIGHT, 0, 0));
  } else if (lstrcmpiA(className, "SysTreeView32") == 0) {
    unit = int(SendMessageA(wnd, TVM_GETITEMHEIGHT, 0, 0));
  }
  unit = std::max(unit, 1);
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_POS;
  if ((GetWindowLongA(wnd, GWL_STYLE) & WS_HSCROLL) && GetScrollInfo(wnd, SB_HORZ, &si) && si.nMax > si.nMin) {
    area.Right = std::max(area.Right, int(si.nMax));
    area.Left -= si.nPos;
    area.Right -= si.nPos;
  }
  if ((GetWindowLongA(wnd, GWL_STYLE) & WS_VSCROLL) && GetScrollInfo(wnd, SB_VERT, &si) && si.nMax > si.nMin) {
    area.Bottom = std::max(area.Bottom, int(si.nMax) * unit);
    area.Top -= si.nPos * unit;
    area.Bottom -= si.nPos * unit;
  }
  return area;
}

// The graphic PaintOn draws: the prepared bitmap, over Brush when its transparent parts show the
// control (made in Composed), else the picture's own graphic.
TGraphic* TBackgroundImage::Composed(TBrush* Brush, TBitmap& Composed) {
  if (!FPrepared) return FPicture->Graphic();
  if (!FTransparent) return FPrepared;
  Composed.SetSize(FPrepared->Width(), FPrepared->Height());
  Composed.Canvas()->Brush()->Assign(Brush);
  Composed.Canvas()->FillRect(Rect(0, 0, Composed.Width(), Composed.Height()));
  Composed.Canvas()->Draw(0, 0, FPrepared);
  return &Composed;
}

// Draws the picture scaled into Picture on the draw canvas. Scaling a screen-sized picture costs
// far more than copying it, and a window's background is erased again and again at one size: the
// scaled copy is kept and only copied while the size, the brush and the picture stay the same.
void TBackgroundImage::DrawScaled(const TRect& Picture, TBrush* Brush) {
  const bool overBrush = FPrepared && FTransparent;
  // A pattern brush, or a graphic drawn transparently over what the device holds, is drawn each
  // time: a copy could not show what lies under it.
  TGraphic* own = FPrepared ? static_cast<TGraphic*>(FPrepared) : FPicture->Graphic();
  if ((overBrush && Brush->Bitmap()) || (!overBrush && own->Transparent())) {
    TBitmap composed;
    FDrawCanvas->StretchDraw(Picture, Composed(Brush, composed));
    return;
  }
  const int brush = overBrush ? int(ColorToRGB(Brush->Color()) & 0x00FFFFFF) : -1;
  if (!FScaled || FScaled->Width() != Picture.Width() || FScaled->Height() != Picture.Height() ||
      FScaledBrush != brush) {
    auto scaled = std::make_unique<TBitmap>();
    scaled->SetPixelFormat(pf32bit);
    scaled->SetSize(Picture.Width(), Picture.Height());
    TBitmap composed;
    TGraphic* graphic = Composed(Brush, composed);
    if (!ScaleStraight(BitmapOf(graphic), scaled.get()))
      scaled->Canvas()->StretchDraw(Rect(0, 0, Picture.Width(), Picture.Height()), graphic);
    FScaled = std::move(scaled);
    FScaledBrush = brush;
  }
  BitBlt(FDrawCanvas->Handle(), Picture.Left, Picture.Top, Picture.Width(), Picture.Height(),
         FScaled->Canvas()->Handle(), 0, 0, SRCCOPY);
}

bool TBackgroundImage::PaintOn(TControl* Control, HDC DC) {
  if (!FHasPicture || !Control) return false;
  auto* win = dynamic_cast<TWinControl*>(Control);
  TWinControl* owner = win ? win : Control->Parent();
  if (!owner || !owner->HandleAllocated()) return false;
  TBrush* brush = owner->Brush();
  int saved = SaveDC(DC);
  TCanvasDCScope scope(FDrawCanvas, DC);
  TRect area = PaintArea(Control);
  auto* form = dynamic_cast<TCustomForm*>(Control);
  bool mdi = form && form->FormStyle() == fsMDIForm;
  if (FMode == bmTile) {
    TBitmap composed;
    Tile(FDrawCanvas, Composed(brush, composed), area, mdi ? ScrollX : area.Left, mdi ? ScrollY : area.Top);
  } else {
    TGraphic* own = FPrepared ? static_cast<TGraphic*>(FPrepared) : FPicture->Graphic();
    const int ownWidth = own->Width(), ownHeight = own->Height();
    int w = ownWidth, h = ownHeight;
    if (FFitPictureSize && FMode != bmStretch) {
      double scale = std::min(double(area.Width()) / w, double(area.Height()) / h);
      w = int(std::nearbyint(w * scale));
      h = int(std::nearbyint(h * scale));
    }
    FDrawCanvas->Brush()->Assign(brush);
    int x = area.Left, y = area.Top;
    int cx = area.Left + (area.Width() - w) / 2, cy = area.Top + (area.Height() - h) / 2;
    int right = area.Right - w, bottom = area.Bottom - h;
    switch (FMode) {
      case bmCenter: x = cx; y = cy; break;
      case bmTop: x = cx; break;
      case bmTopRight: x = right; break;
      case bmLeft: y = cy; break;
      case bmBottomLeft: y = bottom; break;
      case bmRight: x = right; y = cy; break;
      case bmBottom: x = cx; y = bottom; break;
      case bmBottomRight: x = right; y = bottom; break;
      case bmStretch: w = area.Width(); h = area.Height(); break;
      default: break;
    }
    TRect picture = Bounds(x, y, w, h);
    // What the picture does not cover takes the brush.
    TOwnedRegion rest(CreateRectRgn(area.Left, area.Top, area.Right, area.Bottom));
    TOwnedRegion covered(CreateRectRgn(picture.Left, picture.Top, picture.Right, picture.Bottom));
    CombineRgn(rest, rest, covered, RGN_DIFF);
    FillRgn(DC, rest, brush->Handle());
    if (w > 0 && h > 0 && (w != ownWidth || h != ownHeight)) {
      DrawScaled(picture, brush);
    } else {
      TBitmap composed;
      FDrawCanvas->StretchDraw(picture, Composed(brush, composed));
    }
  }
  RestoreDC(DC, saved);
  return true;
}

void TBackgroundImage::Tile(TCanvas* Canvas, TGraphic* Graphic, const TRect& Area, int OX, int OY) {
  const int tw = std::max(FTileWidth, 1), th = std::max(FTileHeight, 1);
  // An offset brought into -tile .. 0: the phase of the scrolled content.
  auto origin = [](int o, int t) { return o > 0 ? o % t - t : o % t; };
  // Rows are shifted along x and step down in y; columns the other way round.
  const bool rows = FShiftMode == smRows;
  const int along = rows ? tw : th, across = rows ? th : tw;
  const int offsetAcross = rows ? OY : OX;
  int first = -offsetAcross / across;
  if (offsetAcross > 0) --first;
  const int originAcross = origin(offsetAcross, across);
  const int originAlong = origin(rows ? OX : OY, along);
  const int half = along / 2;
  int e;
  if (FZigzag) {
    e = first % 2 != 0 ? half : 0;
  } else {
    e = int((static_cast<long long>(first) * FShift) % along);
    if (e < 0) e += along;
  }
  // The offsets already hold the content's place: the area's own corner is not added again.
  const int endAcross = rows ? Area.Bottom : Area.Right;
  const int endAlong = rows ? Area.Right : Area.Bottom;
  for (int a = originAcross; a < endAcross; a += across) {
    for (int c = e != 0 ? -1 : 0;; ++c) {
      const int pos = c * along + originAlong + e;
      if (pos >= endAlong) break;
      if (rows) {
        Canvas->Draw(pos, a, Graphic);
      } else {
        Canvas->Draw(a, pos, Graphic);
      }
    }
    if (FZigzag) {
      e = e == 0 ? half : 0;
    } else {
      e = ((e + FShift) % along + along) % along;
    }
  }
}

// --- TClientLink --------------------------------------------------------------------------------

namespace {

const char* const LinkProperty = "VelborBackgroundLink";

// The window procedure of every hooked client window: the link is found by a window property.
LRESULT CALLBACK LinkWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* link = static_cast<TClientLink*>(GetPropA(Wnd, LinkProperty));
  if (!link) return DefWindowProcA(Wnd, Msg, WParam, LParam);
  return link->ClientWndProc(Wnd, Msg, WParam, LParam);
}

std::vector<TqzBackground*> AllBackgrounds;

// The version the component gives its information record.
const char* const kBackgroundVersion = "1.0";

}  // namespace

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TClientLink)

TClientLink::TClientLink(TqzBackground* ABackground, TWinControl* AControl) : FBackground(ABackground) {
  Attach(AControl);
  InvalidateClient();
}

TClientLink::~TClientLink() {
  Unhook();
  if (FClient) FClient->RemoveFreeNotification(FBackground);
}

void TClientLink::ClientFreed() {
  Unhook();
  FClient = nullptr;
  FIsMDI = false;
}

bool TClientLink::ClientDestroying() const {
  return FClient && FClient->ComponentState().Contains(csDestroying);
}

void TClientLink::Attach(TWinControl* Control) {
  if (Control == FClient) return;
  // A control belongs to one background at a time.
  if (TqzBackground* other = TqzBackground::FindLinking(Control); other && other != FBackground) {
    other->Clients()->RemoveClient(Control);
  }
  Unhook();
  if (FClient) FClient->RemoveFreeNotification(FBackground);
  FClient = Control;
  auto* form = dynamic_cast<TCustomForm*>(Control);
  FIsMDI = form && form->FormStyle() == fsMDIForm;
  if (!FClient) return;
  FClient->FreeNotification(FBackground);
  if (!FBackground->ComponentState().Contains(csLoading)) Hook();
}

void TClientLink::Hook() {
  if (!FClient || FPreviousProc) return;
  if (FClient->ComponentState().Contains(csLoading)) return;
  auto* form = dynamic_cast<TCustomForm*>(FClient);
  if (form && form->ComponentState().Contains(csDesigning)) return;
  FClient->HandleNeeded();
  FIsMDI = form && form->FormStyle() == fsMDIForm;
  HWND wnd = FIsMDI ? form->ClientHandle() : FClient->Handle();
  if (!wnd) return;
  SetPropA(wnd, LinkProperty, this);
  FHookedWnd = wnd;
  FPreviousProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(wnd, GWLP_WNDPROC, LONG_PTR(&LinkWndProc)));
  FBackground->Image()->Rebuild();
}

void TClientLink::Unhook() {
  if (!FPreviousProc || !FClient) return;
  HWND wnd = FHookedWnd;
  if (IsWindow(wnd)) {
    auto current = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(wnd, GWLP_WNDPROC, LONG_PTR(FPreviousProc)));
    RemovePropA(wnd, LinkProperty);
    if (current != &LinkWndProc && !ClientDestroying()) {
      TComponent* owner = FBackground->Owner();
      String design = FBackground->ComponentState().Contains(csDesigning)
                          ? "\r\n\r\nTo avoid this, $DEFINE the NO_DESIGNHOOK conditional compilation symbol and rebuild."
                          : "";
      MessageDlg(Format("Message from %s.%s:\r\n\r\nOops... Messing up %s's window procedure chain.%s",
                        {owner ? owner->Name() : String(), FBackground->Name(), FClient->Name(), design}),
                 mtWarning, {mbOK}, 0);
    }
  }
  FPreviousProc = nullptr;
  FHookedWnd = nullptr;
  if (!FBackground->ComponentState().Contains(csReading) && !ClientDestroying()) InvalidateClient();
  FIsMDI = false;
}

void TClientLink::InvalidateClient() {
  if (!FClient || !FClient->HandleAllocated()) return;
  auto* form = dynamic_cast<TCustomForm*>(FClient);
  HWND wnd = form && form->FormStyle() == fsMDIForm && form->ClientHandle() ? form->ClientHandle() : FClient->Handle();
  InvalidateRect(wnd, nullptr, TRUE);
}

LRESULT TClientLink::CallPrevious(WNDPROC Proc, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  return Proc ? CallWindowProcA(Proc, Wnd, Msg, WParam, LParam) : DefWindowProcA(Wnd, Msg, WParam, LParam);
}

int TClientLink::ScrollDelta(HWND Wnd, int Bar, WPARAM WParam) const {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  GetScrollInfo(Wnd, Bar, &si);
  int page = std::max(int(si.nPage) - 1, 0);
  switch (LOWORD(WParam)) {
    case SB_LINEUP: return std::min(si.nPos - si.nMin, 3) * 8;
    case SB_LINEDOWN: return std::max(si.nPos + page - si.nMax, -3) * 8;
    case SB_PAGEUP: return std::min(page, si.nPos - si.nMin) * 8;
    case SB_PAGEDOWN: return -std::min(si.nMax - page - si.nPos, page) * 8;
    case SB_THUMBPOSITION: return -8 * short(HIWORD(WParam));
    default: return 0;
  }
}

bool TClientLink::PaintBuffered(HWND Wnd, LRESULT& Result) {
  RECT client;
  GetClientRect(Wnd, &client);
  TOwnedBitmap bitmap(CreateCompatibleBitmap(TWindowDC(), client.right, client.bottom));
  TBitmapDC memory(bitmap);
  TPaintDC dc(Wnd);
  FBackground->Image()->PaintOn(FClient, memory);
  Result = CallPrevious(FPreviousProc, Wnd, WM_PAINT, WPARAM(memory.Get()), 0);
  BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
  return true;
}

LRESULT TClientLink::ClientWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  // Kept before anything unhooks the link.
  WNDPROC previous = FPreviousProc;
  const bool mdi = FIsMDI;
  try {
    if (!FClient || !FClient->HandleAllocated()) return CallPrevious(previous, Wnd, Msg, WParam, LParam);
    TBackgroundImage* image = FBackground->Image();
    LRESULT result = 0;
    bool consumed = false;
    if (!mdi) {
      if (image->Enabled() && image->HasPicture()) {
        if (Msg == WM_ERASEBKGND) {
          if (!IsIconic(Wnd) && (!FClient->DoubleBuffered || WParam == WPARAM(LParam))) {
            image->PaintOn(FClient, HDC(WParam));
          }
          result = 1;
          consumed = true;
        } else if (Msg == WM_PAINT && WParam == 0 && FClient->DoubleBuffered) {
          consumed = PaintBuffered(Wnd, result);
        }
      }
      if (!consumed) {
        result = CallPrevious(previous, Wnd, Msg, WParam, LParam);
        // The client may have freed itself.
        if (Msg == CM_RELEASE) return result;
      }
    } else if (Msg == WM_ERASEBKGND && image->Enabled() && image->PaintOn(FClient, HDC(WParam))) {
      result = 1;
      consumed = true;
    }
    switch (Msg) {
      case WM_DESTROY:
        Unhook();
        // The window is being recreated: the new one is hooked once it exists.
        if (!ClientDestroying()) PostMessageA(FBackground->UtilityWindow(), CM_OXREHOOKLINK, 0, LPARAM(this));
        break;
      case WM_SIZE:
        if (image->Mode() != bmTile && image->Mode() != bmTopLeft) InvalidateRect(Wnd, nullptr, TRUE);
        break;
      case WM_HSCROLL:
      case WM_VSCROLL:
        if (mdi) {
          int delta = ScrollDelta(Wnd, Msg == WM_HSCROLL ? SB_HORZ : SB_VERT, WParam);
          if (Msg == WM_HSCROLL) {
            image->ScrollX += delta;
          } else {
            image->ScrollY += delta;
          }
        }
        if (image->Mode() != bmTile) InvalidateRect(Wnd, nullptr, TRUE);
        break;
      default: break;
    }
    // MDI: what was not consumed reaches the previous procedure last, WM_DESTROY included.
    if (mdi && !consumed) result = CallPrevious(previous, Wnd, Msg, WParam, LParam);
    return result;
  } catch (...) {
    Application->HandleException(FBackground);
    return 0;
  }
}

// --- TClientList --------------------------------------------------------------------------------

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TClientList)

TClientLink* TClientList::Find(const TComponent* Control) const {
  for (TClientLink* link : FLinks) {
    if (link->Client() == Control) return link;
  }
  return nullptr;
}

void TClientList::AddClient(TWinControl* Control) {
  if (!Control || Find(Control)) return;
  FLinks.push_back(new TClientLink(FBackground, Control));
}

void TClientList::RemoveClient(TComponent* Control) {
  TClientLink* link = Find(Control);
  if (!link) return;
  FLinks.erase(std::remove(FLinks.begin(), FLinks.end(), link), FLinks.end());
  link->Unhook();
  FBackground->FDoomed.push_back(link);
  PostMessageA(FBackground->UtilityWindow(), CM_OXFREELINK, 0, LPARAM(link));
}

// --- TqzBackground ------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TqzBackground)
VELBOR_PUBLISHED(TqzBackground,
  Prop("Image", &Self::Image, &Self::SetImage),
  Prop("Info", &Self::Info))

void RegisterOxBackground() {
  RegisterClass(TqzBackground::StaticClass());
  RegisterClass(TBackgroundImage::StaticClass());
}

TqzBackground::TqzBackground(TComponent* AOwner) : TComponent(AOwner) {
  FUtilityWindow = AllocateHWnd(TWndMethod(this, &TqzBackground::UtilityProc));
  FInfo = new TqzComponentInfo(this, kBackgroundVersion, "Velbor", "2024",
                               "Image de fond des fenêtres"_a, "", "");
  FImage = new TBackgroundImage();
  FImage->ChangeHandler = TNotifyEvent(this, &TqzBackground::InvalidateAll);
  AllBackgrounds.push_back(this);
  FClients = new TClientList(this);
  static bool registered = false;
  if (!registered) {
    RegisterClass(TBackgroundImage::StaticClass());
    registered = true;
  }
  if (ComponentState().Contains(csDesigning)) {
    if (auto* owner = dynamic_cast<TWinControl*>(AOwner)) FClients->AddClient(owner);
  }
}

TqzBackground::~TqzBackground() {
  DeallocateHWnd(FUtilityWindow);
  FUtilityWindow = nullptr;
  // The links are ours to free, hooked or not (the list itself does not own them).
  std::vector<TClientLink*> links = FClients->FLinks;
  FClients->Clear();
  for (TClientLink* link : links) delete link;
  for (TClientLink* link : FDoomed) delete link;
  FDoomed.clear();
  delete FClients;
  AllBackgrounds.erase(std::remove(AllBackgrounds.begin(), AllBackgrounds.end(), this), AllBackgrounds.end());
  delete FImage;
  delete FInfo;
}

TqzBackground* TqzBackground::FindLinking(const TComponent* Control) {
  for (TqzBackground* b : AllBackgrounds) {
    if (b->FClients->Find(Control)) return b;
  }
  return nullptr;
}

void TqzBackground::InvalidateAll(TObject*) {
  for (TClientLink* link : FClients->FLinks) link->InvalidateClient();
}

void TqzBackground::UtilityProc(TMessage& Message) {
  try {
    auto* link = reinterpret_cast<TClientLink*>(Message.LParam);
    if (Message.Msg == CM_OXREHOOKLINK) {
      // Only a link still listed: a removed one waits to be freed.
      auto& links = FClients->FLinks;
      if (std::find(links.begin(), links.end(), link) != links.end()) link->Hook();
    } else if (Message.Msg == CM_OXFREELINK) {
      auto it = std::find(FDoomed.begin(), FDoomed.end(), link);
      if (it != FDoomed.end()) {
        FDoomed.erase(it);
        delete link;
      }
    } else {
      Message.Result = DefWindowProcA(FUtilityWindow, Message.Msg, Message.WParam, Message.LParam);
    }
  } catch (...) {
    Application->HandleException(this);
  }
}

void TqzBackground::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove || ComponentState().Contains(csDestroying)) return;
  // Compared as a component: a control being freed is no longer a control by its dynamic type.
  while (TClientLink* link = FClients->Find(AComponent)) {
    FClients->RemoveClient(AComponent);
    // The link is freed after this message, the client before: it must not be touched again.
    link->ClientFreed();
  }
}

void TqzBackground::Loaded() {
  TComponent::Loaded();
  TComponent* owner = Owner();
  std::vector<String> names = std::move(FReadNames);
  FReadNames.clear();
  for (const String& name : names) {
    TComponent* found = nullptr;
    if (owner && CompareText(owner->Name(), name) == 0) {
      found = owner;
    } else if (owner) {
      found = owner->FindComponent(name);
    }
    // The first name that finds nothing ends the list.
    if (!found) break;
    if (auto* control = dynamic_cast<TWinControl*>(found)) FClients->AddClient(control);
  }
  for (TClientLink* link : FClients->FLinks) link->Hook();
}

bool TqzBackground::ClientsDiffer(TFiler* Filer) const {
  auto* ancestor = dynamic_cast<TqzBackground*>(Filer->Ancestor());
  if (!ancestor) return true;
  const auto& mine = FClients->FLinks;
  const auto& theirs = ancestor->FClients->FLinks;
  if (mine.size() != theirs.size()) return true;
  for (std::size_t i = 0; i < mine.size(); ++i) {
    if (mine[i]->Client()->Name() != theirs[i]->Client()->Name()) return true;
  }
  return false;
}

void TqzBackground::DefineProperties(TFiler* Filer) {
  TComponent::DefineProperties(Filer);
  Filer->DefineProperty("Clients", TReaderProc(this, &TqzBackground::ReadClients),
                        TWriterProc(this, &TqzBackground::WriteClients), ClientsDiffer(Filer));
}

void TqzBackground::ReadClients(TReader* Reader) {
  FReadNames.clear();
  Reader->ReadListBegin();
  while (!Reader->EndOfList()) {
    FReadNames.push_back(Reader->NextValue() == TFormValueKind::Identifier ? Reader->ReadIdent() : Reader->ReadString());
  }
  Reader->ReadListEnd();
}

void TqzBackground::WriteClients(TWriter* Writer) {
  Writer->WriteListBegin();
  for (TClientLink* link : FClients->FLinks) Writer->WriteString(link->Client()->Name());
  Writer->WriteListEnd();
}
