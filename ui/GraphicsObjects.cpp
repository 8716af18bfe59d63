// This file implements the drawing tools: TGraphicsObject, TFont, TPen and TBrush, with their
// published properties.
#include "Graphics.h"

int ScreenPixelsPerInch(int Axis) {
  TWindowDC dc;
  int ppi = dc ? ::GetDeviceCaps(dc, Axis) : 0;
  return ppi > 0 ? ppi : 96;
}

const TIntIdents CharsetIdents = {
    {ANSI_CHARSET, "ANSI_CHARSET"},
    {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
    {SYMBOL_CHARSET, "SYMBOL_CHARSET"},
    {MAC_CHARSET, "MAC_CHARSET"},
    {SHIFTJIS_CHARSET, "SHIFTJIS_CHARSET"},
    {HANGEUL_CHARSET, "HANGEUL_CHARSET"},
    {JOHAB_CHARSET, "JOHAB_CHARSET"},
    {GB2312_CHARSET, "GB2312_CHARSET"},
    {CHINESEBIG5_CHARSET, "CHINESEBIG5_CHARSET"},
    {GREEK_CHARSET, "GREEK_CHARSET"},
    {TURKISH_CHARSET, "TURKISH_CHARSET"},
    {VIETNAMESE_CHARSET, "VIETNAMESE_CHARSET"},
    {HEBREW_CHARSET, "HEBREW_CHARSET"},
    {ARABIC_CHARSET, "ARABIC_CHARSET"},
    {BALTIC_CHARSET, "BALTIC_CHARSET"},
    {RUSSIAN_CHARSET, "RUSSIAN_CHARSET"},
    {THAI_CHARSET, "THAI_CHARSET"},
    {EASTEUROPE_CHARSET, "EASTEUROPE_CHARSET"},
    {OEM_CHARSET, "OEM_CHARSET"},
};

// --- TGraphicsObject --------------------------------------------------------------------------

namespace {

// A handle given to a tool becomes its handle before the listeners hear of the change, so a
// canvas or control that asks for the handle then gets this one (and not one made from the
// description, which the adoption would delete under it); the handle held before goes only
// after the listeners have let go of it.
template <class THandle, class TNotify>
void AdoptHandle(TGdiObject<THandle>& Held, THandle Value, TNotify Notify) {
  TGdiObject<THandle> old(Held.Get() == Value ? nullptr : Held.Release());
  Held.Reset(Value);
  Notify();
}

}  // namespace

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TGraphicsObject)

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

// --- TFont ------------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TFont)
VELBOR_PUBLISHED(TFont,
  Prop("Charset", &Self::Charset, &Self::SetCharset).Default(DEFAULT_CHARSET).Idents(CharsetIdents),
  Prop("Color", &Self::Color, &Self::SetColor).Default(clWindowText).Idents(ColorIdents),
  Prop("Height", &Self::Height, &Self::SetHeight),
  Prop("Name", &Self::Name, &Self::SetName),
  Prop("Orientation", &Self::Orientation, &Self::SetOrientation).Default(0),
  Prop("Pitch", &Self::Pitch, &Self::SetPitch).Default(fpDefault),
  Prop("Size", &Self::Size, &Self::SetSize).Stored(false),
  Prop("Style", &Self::Style, &Self::SetStyle).Default(TFontStyles{}))

TFont::TFont() : FName("MS Sans Serif"), FHeight(-11) {
  static const int ScreenPPI = ScreenPixelsPerInch();
  PixelsPerInch = ScreenPPI;
}

TFont::~TFont() = default;

// The old handle goes only after the listeners (canvases) have let go of it.
void TFont::Changed() {
  TGdiObject<HFONT> old(FHandle.Release());
  inherited::Changed();
}

HFONT TFont::Handle() {
  if (!FHandle) {
    LOGFONTA lf = {};
    lf.lfHeight = FHeight;
    lf.lfEscapement = FOrientation;
    lf.lfOrientation = FOrientation;
    lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = FStyle.Contains(fsItalic);
    lf.lfUnderline = FStyle.Contains(fsUnderline);
    lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
    lf.lfCharSet = BYTE(FCharset);
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = FPitch == fpVariable ? VARIABLE_PITCH : FPitch == fpFixed ? FIXED_PITCH : DEFAULT_PITCH;
    lstrcpynA(lf.lfFaceName, FName.c_str(), LF_FACESIZE);
    FHandle.Reset(::CreateFontIndirectA(&lf));
    if (!FHandle) throw EOutOfResources("Ressources système insuffisantes"_a);
  }
  return FHandle;
}

TEXTMETRICA TFont::TextMetrics() {
  TWindowDC dc;
  TSelectedObject font(dc, Handle());
  TEXTMETRICA metrics{};
  ::GetTextMetricsA(dc, &metrics);
  return metrics;
}

void TFont::SetHandle(HFONT Value) {
  LOGFONTA lf = {};
  if (Value && ::GetObjectA(Value, sizeof(lf), &lf) == sizeof(lf)) {
    FName = lf.lfFaceName;
    FHeight = lf.lfHeight;
    TFontStyles style;
    if (lf.lfWeight >= FW_BOLD) style.Include(fsBold);
    if (lf.lfItalic) style.Include(fsItalic);
    if (lf.lfUnderline) style.Include(fsUnderline);
    if (lf.lfStrikeOut) style.Include(fsStrikeOut);
    FStyle = style;
    FCharset = lf.lfCharSet;
    FOrientation = lf.lfEscapement;
    int pitch = lf.lfPitchAndFamily & 3;
    FPitch = pitch == VARIABLE_PITCH ? fpVariable : pitch == FIXED_PITCH ? fpFixed : fpDefault;
  }
  AdoptHandle(FHandle, Value, [this] { inherited::Changed(); });
}

void TFont::SetName(const String& Value) {
  if (Value.empty() || Value == FName) return;
  FName = Value;
  Changed();
}

void TFont::SetHeight(int Value) {
  if (Value == FHeight) return;
  FHeight = Value;
  Changed();
}

int TFont::Size() const { return -::MulDiv(FHeight, 72, PixelsPerInch); }

void TFont::SetSize(int Value) { SetHeight(-::MulDiv(Value, PixelsPerInch, 72)); }

void TFont::SetStyle(TFontStyles Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}

// The colour is the canvas's text colour, not part of the GDI font, but it is still a change.
void TFont::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Changed();
}

void TFont::SetCharset(TFontCharset Value) {
  if (Value == FCharset) return;
  FCharset = Value;
  Changed();
}

void TFont::SetPitch(TFontPitch Value) {
  if (Value == FPitch) return;
  FPitch = Value;
  Changed();
}

void TFont::SetOrientation(int Value) {
  if (Value == FOrientation) return;
  FOrientation = Value;
  Changed();
}

// A font that already has the source's values is left as it is: no change is signalled and its
// handle stays, so a canvas keeps the font selected (a printer's driver then sets the font up once,
// not again for every object drawn in it).
void TFont::Assign(TPersistent* Source) {
  if (auto* f = dynamic_cast<TFont*>(Source)) {
    // Heights are resolution-dependent; a font from another resolution keeps its point size.
    int height = f->PixelsPerInch == PixelsPerInch ? f->FHeight : -::MulDiv(f->Size(), PixelsPerInch, 72);
    if (FName == f->FName && FHeight == height && FStyle == f->FStyle && FColor == f->FColor &&
        FCharset == f->FCharset && FPitch == f->FPitch && FOrientation == f->FOrientation)
      return;
    FName = f->FName;
    FHeight = height;
    FStyle = f->FStyle;
    FColor = f->FColor;
    FCharset = f->FCharset;
    FPitch = f->FPitch;
    FOrientation = f->FOrientation;
    Changed();
    return;
  }
  inherited::Assign(Source);
}

// --- TPen -------------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TPen)
VELBOR_PUBLISHED(TPen,
  Prop("Color", &Self::Color, &Self::SetColor).Default(clBlack).Idents(ColorIdents),
  Prop("Mode", &Self::Mode, &Self::SetMode).Default(pmCopy),
  Prop("Style", &Self::Style, &Self::SetStyle).Default(psSolid),
  Prop("Width", &Self::Width, &Self::SetWidth).Default(1))

TPen::~TPen() = default;

void TPen::Changed() {
  TGdiObject<HPEN> old(FHandle.Release());
  inherited::Changed();
}

HPEN TPen::Handle() {
  if (!FHandle) {
    LOGPEN lp = {};
    lp.lopnStyle = UINT(FStyle);  // the enumeration follows PS_SOLID .. PS_INSIDEFRAME
    lp.lopnWidth.x = FWidth;
    lp.lopnColor = ColorToRGB(FColor);
    FHandle.Reset(::CreatePenIndirect(&lp));
    if (!FHandle) throw EOutOfResources("Ressources système insuffisantes"_a);
  }
  return FHandle;
}

void TPen::SetHandle(HPEN Value) {
  LOGPEN lp = {};
  if (Value && ::GetObjectA(Value, sizeof(lp), &lp) == sizeof(lp)) {
    FStyle = lp.lopnStyle <= PS_INSIDEFRAME ? TPenStyle(lp.lopnStyle) : psSolid;
    FWidth = lp.lopnWidth.x;
    FColor = TColor(lp.lopnColor);
  }
  AdoptHandle(FHandle, Value, [this] { inherited::Changed(); });
}

void TPen::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Changed();
}

// The mode is the canvas's raster operation, not part of the GDI pen.
void TPen::SetMode(TPenMode Value) {
  if (Value == FMode) return;
  FMode = Value;
  Changed();
}

void TPen::SetStyle(TPenStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}

void TPen::SetWidth(int Value) {
  if (Value < 0 || Value == FWidth) return;
  FWidth = Value;
  Changed();
}

void TPen::Assign(TPersistent* Source) {
  if (auto* p = dynamic_cast<TPen*>(Source)) {
    FColor = p->FColor;
    FMode = p->FMode;
    FStyle = p->FStyle;
    FWidth = p->FWidth;
    Changed();
    return;
  }
  inherited::Assign(Source);
}

// --- TBrush -----------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TBrush)
VELBOR_PUBLISHED(TBrush,
  Prop("Color", &Self::Color, &Self::SetColor).Default(clWhite).Idents(ColorIdents),
  Prop("Style", &Self::Style, &Self::SetStyle).Default(bsSolid))

TBrush::~TBrush() { delete FBitmap; }

void TBrush::Changed() {
  TGdiObject<HBRUSH> old(FHandle.Release());
  inherited::Changed();
}

HBRUSH TBrush::Handle() {
  if (!FHandle) {
    if (FBitmap && !FBitmap->Empty()) {
      FHandle.Reset(::CreatePatternBrush(FBitmap->Handle()));
    } else if (FStyle == bsClear) {
      LOGBRUSH lb = {BS_NULL, 0, 0};
      FHandle.Reset(::CreateBrushIndirect(&lb));
    } else if (FStyle == bsSolid) {
      FHandle.Reset(::CreateSolidBrush(ColorToRGB(FColor)));
    } else {
      FHandle.Reset(::CreateHatchBrush(int(FStyle) - int(bsHorizontal), ColorToRGB(FColor)));
    }
    if (!FHandle) throw EOutOfResources("Ressources système insuffisantes"_a);
  }
  return FHandle;
}

void TBrush::SetHandle(HBRUSH Value) {
  LOGBRUSH lb = {};
  if (Value && ::GetObjectA(Value, sizeof(lb), &lb) == sizeof(lb)) {
    FColor = TColor(lb.lbColor);
    if (lb.lbStyle == BS_NULL) FStyle = bsClear;
    else if (lb.lbStyle == BS_HATCHED && lb.lbHatch <= HS_DIAGCROSS) FStyle = TBrushStyle(int(bsHorizontal) + int(lb.lbHatch));
    else FStyle = bsSolid;
  }
  AdoptHandle(FHandle, Value, [this] { inherited::Changed(); });
}

void TBrush::SetColor(TColor Value) {
  if (Value == FColor && FStyle != bsClear) return;
  FColor = Value;
  if (FStyle == bsClear) FStyle = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}

void TBrush::SetBitmap(TBitmap* Value) {
  if (Value) {
    if (!FBitmap) FBitmap = new TBitmap();
    FBitmap->Assign(Value);
  } else {
    delete FBitmap;
    FBitmap = nullptr;
  }
  Changed();
}

void TBrush::Assign(TPersistent* Source) {
  if (auto* b = dynamic_cast<TBrush*>(Source)) {
    FColor = b->FColor;
    FStyle = b->FStyle;
    if (b->FBitmap) {
      if (!FBitmap) FBitmap = new TBitmap();
      FBitmap->Assign(b->FBitmap);
    } else {
      delete FBitmap;
      FBitmap = nullptr;
    }
    Changed();
    return;
  }
  inherited::Assign(Source);
}
