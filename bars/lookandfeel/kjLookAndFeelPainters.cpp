// This file implements the look-and-feel painters.
#include "kjLookAndFeelPainters.h"

#include <algorithm>
#include <memory>

#include "Messages.h"
#include "Resources.h"
#include "UtilityWindow.h"
#include "kjSystemGlyphs.h"
#include "kwOffice11Colors.h"

namespace {
// --- Shared images ------------------------------------------------------------------------------

TCustomImageList* IndicatorImages = nullptr;
TBitmap* Patterns[2] = {nullptr, nullptr};
bool PaintersStarted = false;

const char* const IndicatorNames[5] = {"KJ_ARROWBITMAP", "KJ_EDITBITMAP", "KJ_INSERTBITMAP", "KJ_MULTIDOTBITMAP",
                                       "KJ_MULTIARROWBITMAP"};

void FillPattern(TBitmap* Bitmap, TColor Even, TColor Odd) {
  Bitmap->SetPixelFormat(pf24bit);
  Bitmap->SetSize(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) Bitmap->Canvas()->SetPixels(x, y, ((x + y) % 2) ? Odd : Even);
}

// The seven colours of a radio pixel.
enum TRadioPixel { rpTransparent, rpRing1, rpRing2, rpRing3, rpRing4, rpInner, rpDot };

// The radio-button images, 48 of them, in the order focused (0-1), kind (0-2), ticked (0-1),
// state (1-4); built on first paint from the system's radio-button shape.
class TkjRadioButtonImageList : public TObject {
 public:
  TkjRadioButtonImageList() { MeasureShape(); }
  ~TkjRadioButtonImageList() override = default;
  int Count() { return FImages ? FImages->Count() : 0; }
  void Clear() { FImages.reset(); }
  void Draw(TCanvas* Canvas, int X, int Y, int Index) {
    if (!FImages) Build();
    FImages->Draw(Canvas, X, Y, Index);
  }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }

 private:
  void MeasureShape();
  void Build();
  TColor ColorOf(TRadioPixel Pixel, bool Focused, int Kind, bool Ticked, TkjButtonState State) const;

  int FWidth = 13;
  int FHeight = 13;
  std::vector<TRadioPixel> FMap;
  std::unique_ptr<TImageList> FImages;
};

void TkjRadioButtonImageList::MeasureShape() {
  // The cell of the system's check-box bitmap (4 columns, 3 rows of glyphs).
  constexpr int ObmCheckBoxes = 32759;
  TOwnedBitmap boxes(LoadBitmapA(nullptr, MAKEINTRESOURCEA(ObmCheckBoxes)));
  BITMAP info{};
  if (boxes && GetObjectA(boxes, sizeof(info), &info) && info.bmWidth >= 4 && info.bmHeight >= 3) {
    FWidth = info.bmWidth / 4;
    FHeight = info.bmHeight / 3;
  }
  // The radio's shape: the pixels its image draws the same over two backgrounds; its dot: the
  // pixels where the ticked image differs from the plain one.
  auto draw = [&](UINT State, TColor Background) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(FWidth, FHeight);
    TRect r(0, 0, FWidth, FHeight);
    bitmap.Canvas()->Brush()->SetColor(Background);
    bitmap.Canvas()->FillRect(r);
    DrawFrameControl(bitmap.Canvas()->Handle(), AsRECT(r), DFC_BUTTON, State);
    std::vector<COLORREF> pixels(std::size_t(FWidth * FHeight));
    for (int y = 0; y < FHeight; ++y)
      for (int x = 0; x < FWidth; ++x) pixels[std::size_t(y * FWidth + x)] = ColorToRGB(bitmap.Canvas()->Pixels(x, y));
    return pixels;
  };
  std::vector<COLORREF> onBlack = draw(DFCS_BUTTONRADIOIMAGE, clBlack);
  std::vector<COLORREF> onFuchsia = draw(DFCS_BUTTONRADIOIMAGE, clFuchsia);
  std::vector<COLORREF> ticked = draw(DFCS_BUTTONRADIOIMAGE | DFCS_CHECKED, clBlack);
  FMap.assign(std::size_t(FWidth * FHeight), rpTransparent);
  auto inside = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return false;
    std::size_t i = std::size_t(y * FWidth + x);
    return onBlack[i] == onFuchsia[i];
  };
  int count = 0;
  for (int y = 0; y < FHeight; ++y)
    for (int x = 0; x < FWidth; ++x) count += inside(x, y) ? 1 : 0;
  // A shape that fills the whole cell or almost nothing is not a radio button: a circle instead.
  bool any = count > FWidth * FHeight / 4 && count < FWidth * FHeight;
  auto circle = [&](int x, int y) {
    double cx = (FWidth - 1) / 2.0, cy = (FHeight - 1) / 2.0, r = std::min(FWidth, FHeight) / 2.0;
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
  };
  auto in = [&](int x, int y) {
    if (any) return inside(x, y);
    return x >= 0 && y >= 0 && x < FWidth && y < FHeight && circle(x, y);
  };
  auto edge = [&](int x, int y, auto&& test) {
    return test(x, y) && (!test(x - 1, y) || !test(x + 1, y) || !test(x, y - 1) || !test(x, y + 1));
  };
  auto inner = [&](int x, int y) { return in(x, y) && !edge(x, y, in); };
  double cx = (FWidth - 1) / 2.0, cy = (FHeight - 1) / 2.0;
  for (int y = 0; y < FHeight; ++y)
    for (int x = 0; x < FWidth; ++x) {
      std::size_t i = std::size_t(y * FWidth + x);
      bool topLeft = (x - cx) + (y - cy) < 0;
      if (!in(x, y))
        FMap[i] = rpTransparent;
      else if (edge(x, y, in))
        FMap[i] = topLeft ? rpRing1 : rpRing2;
      else if (edge(x, y, inner))
        FMap[i] = topLeft ? rpRing3 : rpRing4;
      else if (any && ticked[i] != onBlack[i])
        FMap[i] = rpDot;
      else if (!any && (x - cx) * (x - cx) + (y - cy) * (y - cy) <= 2.0)
        FMap[i] = rpDot;
      else
        FMap[i] = rpInner;
    }
}

TColor TkjRadioButtonImageList::ColorOf(TRadioPixel Pixel, bool Focused, int Kind, bool Ticked,
                                        TkjButtonState State) const {
  bool disabled = State == kjbsDisabled;
  TColor innerColor;
  if (disabled)
    innerColor = clBtnFace;
  else if (Kind == lfUltraFlat && State == kjbsHot)
    innerColor = TColor(SystemLightColor(-2, 30, 72));
  else if (Kind == lfUltraFlat && State == kjbsPressed)
    innerColor = TColor(SystemLightColor(14, 44, 40));
  else
    innerColor = State == kjbsPressed ? clBtnFace : clWindow;
  switch (Pixel) {
    case rpTransparent: return clFuchsia;
    case rpInner: return innerColor;
    case rpDot:
      if (!Ticked) return innerColor;
      return disabled ? clBtnShadow : clBtnText;
    default: break;
  }
  if (Kind == lfUltraFlat) {
    bool hotTracks = LookAndFeelPainter(lfUltraFlat)->HotTracksButtons();
    bool lit = Focused || State == kjbsHot || State == kjbsPressed || (hotTracks && !disabled);
    if (Pixel == rpRing1 || Pixel == rpRing2) return lit ? clBtnHighlight : clBtnShadow;
    return innerColor;
  }
  static const TColor flat[4] = {clBtnShadow, clBtnHighlight, cl3DLight, cl3DLight};
  static const TColor standard[4] = {clBtnShadow, clBtnHighlight, cl3DDkShadow, cl3DLight};
  return (Kind == lfFlat ? flat : standard)[Pixel - rpRing1];
}

void TkjRadioButtonImageList::Build() {
  FImages = std::make_unique<TImageList>(nullptr, FWidth, FHeight);
  TBitmap work;
  work.SetPixelFormat(pf24bit);
  work.SetSize(FWidth, FHeight);
  for (int focused = 0; focused < 2; ++focused)
    for (int kind = 0; kind < 3; ++kind)
      for (int ticked = 0; ticked < 2; ++ticked)
        for (int state = kjbsNormal; state <= kjbsDisabled; ++state) {
          for (int y = 0; y < FHeight; ++y)
            for (int x = 0; x < FWidth; ++x) {
              TRadioPixel pixel = FMap[std::size_t(y * FWidth + x)];
              TColor color = ColorOf(pixel, focused, kind, ticked, TkjButtonState(state));
              work.Canvas()->SetPixels(x, y, TColor(ColorToRGB(color)));
            }
          FImages->AddMasked(&work, clFuchsia);
        }
}

TkjRadioButtonImageList* RadioImages = nullptr;

// Hears of system-colour changes: the radio images take the new colours when next painted.
class TkjSysColorChangeEventListener : public TObject {
 public:
  TkjSysColorChangeEventListener() {
    FWindow = AllocateHWnd(TWndMethod(this, &TkjSysColorChangeEventListener::WndProc));
  }

 private:
  void WndProc(TMessage& Message) {
    Message.Result = DefWindowProcA(FWindow, Message.Msg, Message.WParam, Message.LParam);
    if (Message.Msg == CM_SYSCOLORCHANGE || Message.Msg == WM_SYSCOLORCHANGE) {
      Message.Result = 0;
      if (RadioImages) RadioImages->Clear();
      RebuildScrollBarPatterns();
    }
  }
  HWND FWindow = nullptr;
};
TkjSysColorChangeEventListener* ColorListener = nullptr;

struct TPaintersFinisher {
  ~TPaintersFinisher() { FinishLookAndFeelPainters(); }
} PaintersFinisher;

TkjRadioButtonImageList* Radio() {
  if (!RadioImages) {
    RadioImages = new TkjRadioButtonImageList();
    if (!ColorListener) ColorListener = new TkjSysColorChangeEventListener();
  }
  return RadioImages;
}

// --- Drawing helpers --------------------------------------------------------------------------

void Frame(TkjPaintCanvas* Canvas, const TRect& Rect, TColor Color) {
  Canvas->FrameSides(Rect, Color, 1, kjsAll, Color);
}

void Frame3D(TkjPaintCanvas* Canvas, TRect& Rect, TColor TopLeft, TColor BottomRight) {
  Canvas->FrameSides(Rect, TopLeft, 1, kjsAll, BottomRight);
  Rect = TRect(Rect.Left + 1, Rect.Top + 1, Rect.Right - 1, Rect.Bottom - 1);
}

TRect Deflate(const TRect& Rect, int D) { return TRect(Rect.Left + D, Rect.Top + D, Rect.Right - D, Rect.Bottom - D); }

void FillPolygon(TkjPaintCanvas* Canvas, const std::vector<TPoint>& Points, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  Canvas->Pen()->SetStyle(psSolid);
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(Color);
  Canvas->Polygon(Points);
}
}  // namespace

// --- Shared images (unit start and end) --------------------------------------------------------

void StartLookAndFeelPainters() {
  if (PaintersStarted) return;
  PaintersStarted = true;
  IndicatorImages = new TImageList(nullptr, 5, 9);
  for (const char* name : IndicatorNames) {
    if (!ResourceExists(name, RT_BITMAP)) continue;
    TBitmap bitmap;
    bitmap.LoadFromResourceName(MainInstance(), name);
    if (IndicatorImages->Count() == 0) {
      IndicatorImages->SetWidth(bitmap.Width());
      IndicatorImages->SetHeight(bitmap.Height());
    }
    IndicatorImages->AddMasked(&bitmap, clWhite);
  }
  RebuildScrollBarPatterns();
}

void FinishLookAndFeelPainters() {
  delete IndicatorImages;
  IndicatorImages = nullptr;
  for (TBitmap*& pattern : Patterns) {
    delete pattern;
    pattern = nullptr;
  }
  delete RadioImages;
  RadioImages = nullptr;
  // The listener's window stays to the end of the process: windows are not destroyed while it
  // exits.
  PaintersStarted = false;
}

TCustomImageList* LookAndFeelIndicatorImages() {
  StartLookAndFeelPainters();
  return IndicatorImages;
}

TBitmap* ScrollBarPattern(bool Pressed) {
  StartLookAndFeelPainters();
  return Patterns[Pressed ? 1 : 0];
}

void RebuildScrollBarPatterns() {
  for (TBitmap*& pattern : Patterns)
    if (!pattern) pattern = new TBitmap();
  FillPattern(Patterns[0], clBtnFace, clBtnHighlight);
  FillPattern(Patterns[1], clBlack, cl3DDkShadow);
}

int RadioButtonImageCount() { return RadioImages ? RadioImages->Count() : 0; }

// --- Painters by kind -------------------------------------------------------------------------

namespace {
const TkjCustomLookAndFeelPainter CustomPainter{};
const TkjFlatLookAndFeelPainter FlatPainter{};
const TkjStandardLookAndFeelPainter StandardPainter{};
const TkjUltraFlatLookAndFeelPainter UltraFlatPainter{};
}  // namespace

const TkjCustomLookAndFeelPainter* LookAndFeelPainter(TkjLookAndFeelKind Kind) {
  switch (Kind) {
    case lfFlat: return &FlatPainter;
    case lfStandard: return &StandardPainter;
    case lfUltraFlat: return &UltraFlatPainter;
  }
  return &StandardPainter;
}

const TkjCustomLookAndFeelPainter* CustomLookAndFeelPainter() { return &CustomPainter; }

// --- TkjCustomLookAndFeelPainter ---------------------------------------------------------------

TColor TkjCustomLookAndFeelPainter::DefaultColor(TkjPainterColor Which) const {
  static const TColor colors[kjpcColorCount] = {
      clWindow,   clWindowText, clBtnShadow, clBtnHighlight, clBtnText, clBtnFace, clBtnText,
      clBtnShadow, clBtnFace,   clBtnText,   clBtnShadow,    clBtnFace, clBtnFace, clBtnText,
      clBtnShadow, clBtnFace,   clBtnFace,   clBtnText,      clBlue,    clBtnShadow, clHighlight,
      clHighlightText, clBtnFace, clBtnFace, clBtnText,      clBtnFace};
  return Which >= 0 && Which < kjpcColorCount ? colors[Which] : clBtnFace;
}

void TkjCustomLookAndFeelPainter::PaintDownArrow(TkjPaintCanvas* Canvas, const TRect& Rect, TColor Color) const {
  int width = Rect.Width() / 2;
  if (width % 2 == 0) --width;
  if (width < 1) return;
  int height = width / 2 + 1;
  int x = (Rect.Left + Rect.Right - width) / 2;
  int y = (Rect.Top + Rect.Bottom - height) / 2;
  FillPolygon(Canvas, {TPoint(x, y), TPoint(x + width - 1, y), TPoint(x + width / 2, y + height - 1)}, Color);
}

void TkjCustomLookAndFeelPainter::PaintContentText(TkjPaintCanvas* Canvas, const TRect& Rect,
                                                   TkjCustomDrawBackgroundEvent CustomDraw, TColor Background,
                                                   TColor TextColor, TFont* Font, const String& Text,
                                                   TAlignment Horizontal, int Vertical, bool MultiLine,
                                                   bool Ellipsis, const TRect& TextRect) const {
  bool done = CustomDraw && CustomDraw(Canvas, Rect);
  if (!done && Background != kjNoColor) {
    Canvas->SetBrushColorIfChanged(Background);
    Canvas->FillRect(Rect);
  }
  if (Text.empty()) return;
  if (Font) Canvas->SetFont(Font);
  Canvas->Font()->SetColor(TextColor);
  TkjTextFlags flags = Horizontal == taRightJustify ? kjtRight : Horizontal == taCenter ? kjtCenterX : kjtLeft;
  flags |= Vertical == 2 ? kjtBottom : Vertical == 1 ? kjtCenterY : kjtTop;
  flags |= MultiLine ? kjtWordBreak : kjtSingleLine;
  if (Ellipsis) flags |= kjtShowEndEllipsis;
  TBrushStyle style = Canvas->Brush()->Style();
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->DrawTextWithFlags(Text, TextRect, true, flags);
  Canvas->Brush()->SetStyle(style);
}

TRect TkjCustomLookAndFeelPainter::GetBorderedContentRect(const TRect& Rect) const {
  return Deflate(Rect, GetContentBorderWidth());
}

TRect TkjCustomLookAndFeelPainter::GetInnerContentRect(const TRect& Rect) const {
  return Deflate(GetBorderedContentRect(Rect), 2);
}

std::vector<TPoint> TkjCustomLookAndFeelPainter::ArrowPoints(const TRect& Rect, TkjArrowDirection Direction) const {
  // Square around the centre, the larger side shrunk to the smaller.
  int side = std::min(Rect.Width(), Rect.Height());
  int cx = Rect.Left + MulDiv(Rect.Width(), 1, 2);
  int cy = Rect.Top + MulDiv(Rect.Height(), 1, 2);
  int size = side / 2 - 1;
  if (size % 2 == 0) --size;
  if (size < 1) size = 1;
  int depth = size / 2 + 1;
  int half = size / 2;
  int d0 = MulDiv(depth, 1, 2);
  switch (Direction) {
    case kjadLeft: return {TPoint(cx - d0, cy), TPoint(cx - d0 + depth - 1, cy - half), TPoint(cx - d0 + depth - 1, cy + half)};
    case kjadRight: return {TPoint(cx + d0 - 1, cy), TPoint(cx + d0 - depth, cy - half), TPoint(cx + d0 - depth, cy + half)};
    case kjadUp: return {TPoint(cx, cy - d0), TPoint(cx - half, cy - d0 + depth - 1), TPoint(cx + half, cy - d0 + depth - 1)};
    case kjadDown: return {TPoint(cx, cy + d0 - 1), TPoint(cx - half, cy + d0 - depth), TPoint(cx + half, cy + d0 - depth)};
  }
  return {};
}

void TkjCustomLookAndFeelPainter::PaintArrow(TkjPaintCanvas* Canvas, const TRect& Rect, TColor Color,
                                             TkjArrowDirection Direction) const {
  FillPolygon(Canvas, ArrowPoints(Rect, Direction), Color);
}

void TkjCustomLookAndFeelPainter::PaintArrowButton(TkjPaintCanvas* Canvas, const TRect& Rect, bool WithBorder,
                                                   TkjArrowDirection Direction, TkjButtonState State) const {
  if (WithBorder) {
    PaintArrowButtonFace(Canvas, Rect, State);
  } else {
    Canvas->SetBrushColorIfChanged(GetButtonFaceColor(State));
    Canvas->FillRect(Rect);
  }
  PaintArrow(Canvas, Rect, GetButtonGlyphColor(State), Direction);
}

void TkjCustomLookAndFeelPainter::PaintArrowButtonFace(TkjPaintCanvas* Canvas, const TRect& Rect,
                                                       TkjButtonState State) const {
  Canvas->SetBrushColorIfChanged(GetButtonFaceColor(State));
  Canvas->FillRect(Rect);
  PaintButtonBorder(Canvas, Rect, State);
}

void TkjCustomLookAndFeelPainter::PaintStateArrow(TkjPaintCanvas* Canvas, const TRect& Rect,
                                                  TkjArrowDirection Direction, TkjButtonState State) const {
  TRect r = Rect;
  if (State == kjbsPressed) r = TRect(r.Left + GetPressedShift(), r.Top + GetPressedShift(), r.Right + GetPressedShift(), r.Bottom + GetPressedShift());
  if (State == kjbsDisabled) {
    PaintArrow(Canvas, TRect(r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1), clBtnHighlight, Direction);
    PaintArrow(Canvas, r, clBtnShadow, Direction);
  } else {
    PaintArrow(Canvas, r, GetButtonGlyphColor(State), Direction);
  }
}

TRect TkjCustomLookAndFeelPainter::GetButtonFocusBounds(const TRect& Rect) const {
  TRect r = Deflate(Rect, 4);
  return r.IsEmpty() ? Rect : r;
}

TColor TkjCustomLookAndFeelPainter::GetButtonGlyphColor(TkjButtonState State) const {
  return State == kjbsDisabled ? clBtnShadow : clBtnText;
}

void TkjCustomLookAndFeelPainter::PaintButton(TkjPaintCanvas* Canvas, const TRect& Rect, TColor TextColor,
                                              TColor FaceColor, bool WithBorder, TkjButtonState State,
                                              const String& Caption) const {
  TRect r = Rect;
  if (WithBorder) {
    PaintButtonBorder(Canvas, r, State);
    r = Deflate(r, GetButtonBorderWidth(State));
  }
  Canvas->SetBrushColorIfChanged(FaceColor == kjDefaultColor ? GetButtonFaceColor(State) : FaceColor);
  Canvas->FillRect(r);
  if (Caption.empty()) return;
  // An even height keeps the caption centred alike in every state; a low button takes its caption
  // one pixel up.
  if (r.Height() % 2 != 0) --r.Bottom;
  if (r.Height() < 18) r = TRect(r.Left, r.Top - 1, r.Right, r.Bottom - 1);
  if (State == kjbsPressed) {
    int shift = GetPressedShift();
    r = TRect(r.Left + shift, r.Top + shift, r.Right + shift, r.Bottom + shift);
  }
  Canvas->Font()->SetColor(TextColor == kjDefaultColor ? GetButtonGlyphColor(State) : TextColor);
  TBrushStyle style = Canvas->Brush()->Style();
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->DrawTextWithFlags(Caption, r, State != kjbsDisabled, kjtCenterX | kjtCenterY | kjtSingleLine | kjtDontClip);
  Canvas->Brush()->SetStyle(style);
}

void TkjCustomLookAndFeelPainter::PaintPlainButton(TkjPaintCanvas* Canvas, const TRect& Rect, TColor,
                                                   int, int, TkjButtonState State) const {
  PaintButton(Canvas, Rect, kjDefaultColor, kjDefaultColor, true, State, String());
}

void TkjCustomLookAndFeelPainter::PaintExpandSign(TkjPaintCanvas* Canvas, const TRect& Rect, bool Expanded) const {
  int half = (Rect.Width() - 4) / 2;
  int cx = (Rect.Left + Rect.Right) / 2;
  int cy = (Rect.Top + Rect.Bottom) / 2;
  Canvas->SetBrushColorIfChanged(clBtnText);
  Canvas->FillRect(TRect(cx - half, cy, cx + half + 1, cy + 1));
  if (!Expanded) Canvas->FillRect(TRect(cx, cy - half, cx + 1, cy + half + 1));
}

void TkjCustomLookAndFeelPainter::PaintFramedBox(TkjPaintCanvas* Canvas, const TRect& Rect, TColor Color,
                                                 bool Expanded) const {
  Frame(Canvas, Rect, clBtnShadow);
  if (Color != kjDefaultColor) {
    Canvas->SetBrushColorIfChanged(Color);
    Canvas->FillRect(Deflate(Rect, 1));
  }
  PaintExpandSign(Canvas, Rect, Expanded);
}

TColor TkjCustomLookAndFeelPainter::GetCheckColor(TkjButtonState State) const {
  return State == kjbsPressed || State == kjbsDisabled ? clBtnFace : clWindow;
}

void TkjCustomLookAndFeelPainter::PaintCheck(TkjPaintCanvas* Canvas, const TRect& Rect, TColor MarkColor,
                                             bool Ticked, TkjButtonState State) const {
  Canvas->SetBrushColorIfChanged(GetCheckColor(State));
  Canvas->FillRect(Rect);
  if (!Ticked) return;
  // Three strokes of a tick, one pixel apart, in a box of width - 2 by height - 4.
  int w = Rect.Width() - 2;
  int h = Rect.Height() - 4;
  if (w < 3 || h < 2) return;
  int x = Rect.Left + 1;
  int y = Rect.Top + 2;
  int leg = std::max(1, w / 3);
  Canvas->Pen()->SetColor(MarkColor);
  Canvas->Pen()->SetStyle(psSolid);
  for (int stroke = 0; stroke < 3; ++stroke) {
    Canvas->MoveTo(x, y + h - leg - 1 + stroke - 1);
    Canvas->LineTo(x + leg, y + h - 1 + stroke - 1);
    Canvas->LineTo(x + w, y + stroke - 1);
  }
}

void TkjCustomLookAndFeelPainter::PaintCheckButton(TkjPaintCanvas* Canvas, const TRect& Rect, bool Ticked,
                                                   TkjButtonState State) const {
  PaintCheckFrame(Canvas, Rect, State);
  TRect inner = Deflate(Rect, GetCheckBorderWidth());
  PaintCheck(Canvas, inner, State == kjbsDisabled ? clGrayText : clBtnText, Ticked, State);
}

void TkjCustomLookAndFeelPainter::PaintRadioButton(TkjPaintCanvas* Canvas, int X, int Y, bool Ticked, bool Focused,
                                                   TkjButtonState State, TColor Background) const {
  TkjRadioButtonImageList* images = Radio();
  int kind = GetLookAndFeelKind();
  int state = std::clamp(int(State), int(kjbsNormal), int(kjbsDisabled));
  int index = (Focused ? 24 : 0) + kind * 8 + (Ticked ? 4 : 0) + state - 1;
  if (Background == kjNoColor || Background == kjDefaultColor) {
    images->Draw(Canvas->Canvas(), X, Y, index);
    return;
  }
  TBitmap work;
  work.SetPixelFormat(pf24bit);
  work.SetSize(images->Width(), images->Height());
  work.Canvas()->Brush()->SetColor(Background);
  work.Canvas()->FillRect(TRect(0, 0, images->Width(), images->Height()));
  images->Draw(work.Canvas(), 0, 0, index);
  Canvas->Draw(X, Y, &work);
}

void TkjCustomLookAndFeelPainter::PaintHeader(TkjPaintCanvas* Canvas, const TRect& Rect, const TRect& TextRect,
                                              TkjNeighbors Neighbors, TkjSides Borders, const String& Text,
                                              TAlignment Horizontal, TColor Background, TColor TextColor) const {
  PaintHeaderEdges(Canvas, Rect, Borders, Neighbors);
  TRect content = GetHeaderContentRect(Rect, Borders);
  PaintContentText(Canvas, content, nullptr, Background, TextColor, nullptr, Text, Horizontal, 1, false, true,
                   TextRect);
}

void TkjCustomLookAndFeelPainter::PaintHeaderCell(TkjPaintCanvas* Canvas, const TRect& Rect, const TRect& TextRect,
                                                  TkjNeighbors Neighbors, TkjSides Borders, const String& Text,
                                                  TAlignment Horizontal, TColor Background, TColor TextColor) const {
  PaintHeader(Canvas, Rect, TextRect, Neighbors, Borders, Text, Horizontal, Background, TextColor);
}

TRect TkjCustomLookAndFeelPainter::GetHeaderContentRect(const TRect& Rect, TkjSides Borders) const {
  int w = GetHeaderBorderWidth();
  TRect r = Rect;
  if (Borders & kjsLeft) r.Left += w;
  if (Borders & kjsTop) r.Top += w;
  if (Borders & kjsRight) r.Right -= w;
  if (Borders & kjsBottom) r.Bottom -= w;
  return r;
}

int TkjCustomLookAndFeelPainter::GetHeaderWidth(TkjPaintCanvas* Canvas, TkjSides Borders, TFont* Font,
                                                const String& Text) const {
  if (Font) Canvas->SetFont(Font);
  int width = Canvas->TextWidth(Text) + 4;
  if (Borders & kjsLeft) width += GetHeaderBorderWidth();
  if (Borders & kjsRight) width -= GetHeaderBorderWidth();
  return width;
}

void TkjCustomLookAndFeelPainter::PaintSummaryCell(TkjPaintCanvas* Canvas, const TRect& Rect, TColor Background,
                                                   TColor TextColor, TAlignment Horizontal,
                                                   const String& Text) const {
  PaintSummaryCellBorder(Canvas, Rect);
  TRect inner = GetInnerContentRect(Rect);
  PaintContentText(Canvas, GetBorderedContentRect(Rect), nullptr, Background, TextColor, nullptr, Text, Horizontal,
                   1, false, true, inner);
}

void TkjCustomLookAndFeelPainter::PaintCheckBoxButton(TkjPaintCanvas* Canvas, const TRect& Rect, bool Ticked,
                                                      TkjButtonState State) const {
  TRect r = Rect;
  PaintCheckButton(Canvas, r, Ticked, State);
}

void TkjCustomLookAndFeelPainter::PaintCrossButton(TkjPaintCanvas* Canvas, const TRect& Rect,
                                                   TkjButtonState State) const {
  PaintButtonBorder(Canvas, Rect, State);
  TRect r = Deflate(Rect, GetButtonBorderWidth(kjbsNormal));
  Canvas->SetBrushColorIfChanged(GetButtonFaceColor(State));
  Canvas->FillRect(r);
  TSize size = GetCrossButtonSize();
  int n = std::min(size.cx, size.cy) / 2;
  if (n % 2 == 0) --n;
  int x = (r.Left + r.Right - n) / 2;
  int y = (r.Top + r.Bottom - n) / 2;
  Canvas->Pen()->SetColor(GetButtonGlyphColor(State));
  for (int d = 0; d < 2; ++d) {
    Canvas->MoveTo(x + d, y);
    Canvas->LineTo(x + n + d, y + n);
    Canvas->MoveTo(x + n - 1 - d, y);
    Canvas->LineTo(x - 1 - d, y + n);
  }
}

void TkjCustomLookAndFeelPainter::PaintIndicatorImage(TkjPaintCanvas* Canvas, const TRect& Rect,
                                                      TkjIndicatorKind Kind) const {
  TCustomImageList* images = LookAndFeelIndicatorImages();
  int index = int(Kind) - 1;
  if (!images || index < 0 || index >= images->Count()) return;
  int x = (Rect.Left + Rect.Right - images->Width()) / 2;
  int y = (Rect.Top + Rect.Bottom - images->Height()) / 2;
  images->Draw(Canvas->Canvas(), x, y, index);
}

void TkjCustomLookAndFeelPainter::PaintIndicatorHeader(TkjPaintCanvas* Canvas, const TRect& Rect,
                                                       TColor Background, TkjIndicatorKind Kind) const {
  PaintHeader(Canvas, Rect, Rect, 0, GetHeaderSides(10), String(), taLeftJustify, Background, clBtnText);
  PaintIndicatorImage(Canvas, Rect, Kind);
}

void TkjCustomLookAndFeelPainter::PaintIndicatorItem(TkjPaintCanvas* Canvas, const TRect& Rect, TColor Background,
                                                     TkjIndicatorKind Kind) const {
  PaintHeaderCell(Canvas, Rect, Rect, 0, kjsAll, String(), taLeftJustify, Background, clBtnText);
  PaintIndicatorImage(Canvas, Rect, Kind);
}

// --- Standard painter ---------------------------------------------------------------------------

void TkjStandardLookAndFeelPainter::PaintBorder(TkjPaintCanvas* Canvas, const TRect& Rect) const {
  TRect r = Rect;
  Frame3D(Canvas, r, clBtnShadow, clBtnHighlight);
  Frame3D(Canvas, r, cl3DDkShadow, cl3DLight);
}

void TkjStandardLookAndFeelPainter::PaintButtonBorder(TkjPaintCanvas* Canvas, const TRect& Rect,
                                                      TkjButtonState State) const {
  TRect r = Rect;
  if (State == kjbsPressed) {
    Frame(Canvas, r, clBlack);
    Frame(Canvas, Deflate(r, 1), clBtnShadow);
    return;
  }
  if (State == kjbsDefault) {
    Frame(Canvas, r, clBlack);
    r = Deflate(r, 1);
  }
  Frame3D(Canvas, r, clBtnHighlight, cl3DDkShadow);
  Frame3D(Canvas, r, cl3DLight, clBtnShadow);
}

void TkjStandardLookAndFeelPainter::PaintExpander(TkjPaintCanvas* Canvas, const TRect& Rect, TColor Color,
                                                  bool Expanded) const {
  TRect r = Rect;
  Frame3D(Canvas, r, clBtnHighlight, cl3DDkShadow);
  Frame3D(Canvas, r, cl3DLight, clBtnShadow);
  Canvas->SetBrushColorIfChanged(Color == kjDefaultColor ? clBtnFace : Color);
  Canvas->FillRect(r);
  PaintExpandSign(Canvas, Rect, Expanded);
  Canvas->ExcludeClipRect(Rect);
}

void TkjStandardLookAndFeelPainter::PaintCheckFrame(TkjPaintCanvas* Canvas, const TRect& Rect,
                                                    TkjButtonState) const {
  TRect r = Rect;
  Frame3D(Canvas, r, clBtnShadow, clBtnHighlight);
  Frame3D(Canvas, r, cl3DDkShadow, cl3DLight);
}

void TkjStandardLookAndFeelPainter::PaintHeaderEdges(TkjPaintCanvas* Canvas, const TRect& Rect, TkjSides,
                                                     TkjNeighbors Neighbors) const {
  TRect r = Rect;
  Frame3D(Canvas, r, clBtnHighlight, clBtnShadow);
  if (Neighbors & kjnLeft) {
    Canvas->SetPixel(Rect.Left, Rect.Top + 1, clBtnFace);
    Canvas->SetPixel(Rect.Left, Rect.Bottom - 2, clBtnFace);
  }
  if (Neighbors & kjnRight) {
    Canvas->SetPixel(Rect.Right - 1, Rect.Top, clBtnHighlight);
    Canvas->SetPixel(Rect.Right - 1, Rect.Top + 1, clBtnFace);
    Canvas->SetPixel(Rect.Right - 1, Rect.Bottom - 2, clBtnFace);
  }
}

void TkjCustomLookAndFeelPainter::PaintSortTriangle(TkjPaintCanvas* Canvas, const TRect& Rect, bool Ascending,
                                                      TColor Light, TColor Dark) const {
  TSize size = GetSortMarkSize();
  int x = (Rect.Left + Rect.Right - size.cx) / 2;
  int y = (Rect.Top + Rect.Bottom - size.cy) / 2;
  int right = x + size.cx - 1;
  int bottom = y + size.cy - 1;
  int mid = x + size.cx / 2;
  Canvas->Pen()->SetStyle(psSolid);
  if (Ascending) {
    Canvas->Pen()->SetColor(Dark);
    Canvas->MoveTo(mid, y);
    Canvas->LineTo(x, bottom);
    Canvas->Pen()->SetColor(Light);
    Canvas->LineTo(right, bottom);
    Canvas->LineTo(mid, y);
  } else {
    Canvas->Pen()->SetColor(Dark);
    Canvas->MoveTo(right, y);
    Canvas->LineTo(x, y);
    Canvas->LineTo(mid, bottom);
    Canvas->Pen()->SetColor(Light);
    Canvas->LineTo(right, y);
  }
}

void TkjStandardLookAndFeelPainter::PaintSortMark(TkjPaintCanvas* Canvas, const TRect& Rect, bool Ascending) const {
  PaintSortTriangle(Canvas, Rect, Ascending, clBtnHighlight, clBtnShadow);
}

void TkjStandardLookAndFeelPainter::PaintSummaryBorder(TkjPaintCanvas* Canvas, const TRect& Rect) const {
  Canvas->FrameSides(Rect, clBtnHighlight, 1, kjsAll, clBtnShadow);
}

void TkjStandardLookAndFeelPainter::PaintSummaryCellBorder(TkjPaintCanvas* Canvas, const TRect& Rect) const {
  Canvas->FrameSides(Rect, clBtnShadow, 1, kjsAll, clBtnHighlight);
}

void TkjStandardLookAndFeelPainter::PaintDropDownButton(TkjPaintCanvas* Canvas, const TRect& Rect, bool Active,
                                                        TkjButtonState State) const {
  TRect r = Rect;
  if (State == kjbsPressed)
    Frame3D(Canvas, r, clBtnShadow, clBtnHighlight);
  else
    Frame3D(Canvas, r, clBtnHighlight, clBtnShadow);
  Canvas->SetBrushColorIfChanged(clBtnFace);
  Canvas->FillRect(r);
  PaintDownArrow(Canvas, r, Active ? clBlue : clBtnText);
}

void TkjStandardLookAndFeelPainter::PaintTab(TkjPaintCanvas* Canvas, const TRect& Rect, bool Vertical,
                                             TkjButtonState State, TkjSides Sides) const {
  bool selected = State == kjbsPressed;
  TRect r = Rect;
  if (!selected) {
    if (Vertical)
      r.Right -= 1;
    else
      r.Top += 1;
  }
  Canvas->SetBrushColorIfChanged(selected ? clBtnShadow : clBtnHighlight);
  Canvas->FillRect(Deflate(r, 1));
  Canvas->FrameSides(r, clBtnHighlight, 1, Sides, cl3DDkShadow);
}

void TkjStandardLookAndFeelPainter::PaintTabsBase(TkjPaintCanvas* Canvas, const TRect& Rect, bool,
                                                  TkjSides Sides) const {
  Canvas->FrameSides(Rect, clBtnHighlight, 1, Sides, clBtnShadow);
}

void TkjCustomLookAndFeelPainter::PaintPageArea(TkjPaintCanvas* Canvas, const TRect& Rect, bool Pressed) const {
  TOwnedBrush brush(CreatePatternBrush(ScrollBarPattern(Pressed)->Handle()));
  FillRect(Canvas->Handle(), AsRECT(Rect), brush);
}

void TkjStandardLookAndFeelPainter::PaintScrollBarPart(TkjPaintCanvas* Canvas, bool Horizontal,
                                                       TkjScrollBarPart Part, TkjButtonState State,
                                                       const TRect& Rect) const {
  if (Rect.IsEmpty() || (Part == kjsbpThumb && State == kjbsDisabled)) return;
  if (State == kjbsHot) State = kjbsNormal;
  switch (Part) {
    case kjsbpLineUp:
    case kjsbpLineDown: {
      TkjSystemGlyph glyph = Horizontal ? (Part == kjsbpLineUp ? kjsgArrowLeft : kjsgArrowRight)
                                        : (Part == kjsbpLineUp ? kjsgArrowUp : kjsgArrowDown);
      // Pressed: flat, with the arrow moved; the two-pixel border sunken.
      DrawSystemButton(Canvas->Handle(), Rect, glyph, State == kjbsPressed, State == kjbsDisabled,
                       State == kjbsPressed);
      break;
    }
    case kjsbpThumb: PaintButton(Canvas, Rect, kjDefaultColor, kjDefaultColor, true, kjbsNormal, String()); break;
    case kjsbpPageUp:
    case kjsbpPageDown: PaintPageArea(Canvas, Rect, State == kjbsPressed); break;
    default: break;
  }
}

// --- Flat painter -------------------------------------------------------------------------------

void TkjFlatLookAndFeelPainter::PaintBorder(TkjPaintCanvas* Canvas, const TRect& Rect) const {
  Canvas->DrawEdge3D(Rect, true, kjsAll, true);
}

void TkjFlatLookAndFeelPainter::PaintButtonBorder(TkjPaintCanvas* Canvas, const TRect& Rect,
                                                  TkjButtonState State) const {
  TRect r = Rect;
  if (State == kjbsPressed) {
    Frame3D(Canvas, r, clBtnShadow, clBtnHighlight);
    return;
  }
  if (State == kjbsDefault) {
    Frame(Canvas, r, clBlack);
    r = Deflate(r, 1);
  }
  Frame3D(Canvas, r, clBtnHighlight, clBtnShadow);
}

void TkjFlatLookAndFeelPainter::PaintExpander(TkjPaintCanvas* Canvas, const TRect& Rect, TColor Color,
                                              bool Expanded) const {
  PaintButton(Canvas, Rect, kjDefaultColor, Color == kjDefaultColor ? clBtnFace : Color, true, kjbsNormal, String());
  PaintExpandSign(Canvas, Rect, Expanded);
  Canvas->ExcludeClipRect(Rect);
}

void TkjFlatLookAndFeelPainter::PaintCheckFrame(TkjPaintCanvas* Canvas, const TRect& Rect,
                                                TkjButtonState State) const {
  TRect r = Rect;
  Frame3D(Canvas, r, clBtnShadow, clBtnHighlight);
  Frame(Canvas, r, GetCheckColor(State));
}

void TkjFlatLookAndFeelPainter::PaintHeaderEdges(TkjPaintCanvas* Canvas, const TRect& Rect, TkjSides Borders,
                                                 TkjNeighbors Neighbors) const {
  StandardPainter.PaintHeaderEdges(Canvas, Rect, Borders, Neighbors);
}

void TkjFlatLookAndFeelPainter::PaintSortMark(TkjPaintCanvas* Canvas, const TRect& Rect, bool Ascending) const {
  StandardPainter.PaintSortMark(Canvas, Rect, Ascending);
}

void TkjFlatLookAndFeelPainter::PaintSummaryBorder(TkjPaintCanvas* Canvas, const TRect& Rect) const {
  Canvas->FrameSides(Rect, clBtnHighlight, 1, kjsAll, clBtnShadow);
}

void TkjFlatLookAndFeelPainter::PaintSummaryCellBorder(TkjPaintCanvas* Canvas, const TRect& Rect) const {
  Canvas->FrameSides(Rect, clBtnShadow, 1, kjsAll, clBtnHighlight);
}

void TkjFlatLookAndFeelPainter::PaintDropDownButton(TkjPaintCanvas* Canvas, const TRect& Rect, bool Active,
                                                    TkjButtonState State) const {
  StandardPainter.PaintDropDownButton(Canvas, Rect, Active, State);
}

void TkjFlatLookAndFeelPainter::PaintTab(TkjPaintCanvas* Canvas, const TRect& Rect, bool Vertical,
                                         TkjButtonState State, TkjSides Sides) const {
  StandardPainter.PaintTab(Canvas, Rect, Vertical, State, Sides);
}

void TkjFlatLookAndFeelPainter::PaintTabsBase(TkjPaintCanvas* Canvas, const TRect& Rect, bool Vertical,
                                              TkjSides Sides) const {
  StandardPainter.PaintTabsBase(Canvas, Rect, Vertical, Sides);
}

void TkjFlatLookAndFeelPainter::PaintScrollBarPart(TkjPaintCanvas* Canvas, bool Horizontal, TkjScrollBarPart Part,
                                                   TkjButtonState State, const TRect& Rect) const {
  PaintScrollBarPartAsButtons(Canvas, Horizontal, Part, State, Rect);
}

void TkjCustomLookAndFeelPainter::PaintScrollBarPartAsButtons(TkjPaintCanvas* Canvas, bool Horizontal,
                                                              TkjScrollBarPart Part, TkjButtonState State,
                                                              const TRect& Rect) const {
  if (Rect.IsEmpty() || (Part == kjsbpThumb && State == kjbsDisabled)) return;
  if (State == kjbsHot) State = kjbsNormal;
  if (Part == kjsbpLineUp || Part == kjsbpLineDown) {
    PaintButton(Canvas, Rect, kjDefaultColor, kjDefaultColor, true, State, String());
    TkjArrowDirection direction = Horizontal ? (Part == kjsbpLineUp ? kjadLeft : kjadRight)
                                             : (Part == kjsbpLineUp ? kjadUp : kjadDown);
    PaintStateArrow(Canvas, Rect, direction, State);
  } else if (Part == kjsbpThumb) {
    PaintButton(Canvas, Rect, kjDefaultColor, kjDefaultColor, true, kjbsNormal, String());
  } else if (Part == kjsbpPageUp || Part == kjsbpPageDown) {
    PaintPageArea(Canvas, Rect, State == kjbsPressed);
  }
}

// --- Ultra-flat painter -------------------------------------------------------------------------

void TkjUltraFlatLookAndFeelPainter::PaintBorder(TkjPaintCanvas* Canvas, const TRect& Rect) const {
  Frame(Canvas, Rect, clBtnShadow);
}

TColor TkjUltraFlatLookAndFeelPainter::GetButtonFaceColor(TkjButtonState State) const {
  if (State == kjbsHot) return TColor(HotLightColor());
  if (State == kjbsPressed) return TColor(PressedLightColor());
  return clBtnFace;
}

TRect TkjUltraFlatLookAndFeelPainter::GetButtonFocusBounds(const TRect& Rect) const {
  TRect r = Deflate(Rect, 3);
  return r.IsEmpty() ? Rect : r;
}

TColor TkjUltraFlatLookAndFeelPainter::GetButtonGlyphColor(TkjButtonState State) const {
  return State == kjbsPressed ? clHighlightText : TkjCustomLookAndFeelPainter::GetButtonGlyphColor(State);
}

void TkjUltraFlatLookAndFeelPainter::PaintPlainButton(TkjPaintCanvas* Canvas, const TRect& Rect, TColor Color,
                                                      int Index, int Count, TkjButtonState State) const {
  TRect r(Rect.Left, Rect.Top + 1, Rect.Right, Rect.Bottom - 1);
  if (Index == 0) r.Left += 1;
  if (Index == Count - 1) r.Right -= 1;
  Canvas->SetBrushColorIfChanged(GetButtonFaceColor(State));
  Canvas->FillRect(r);
  if (State == kjbsNormal || State == kjbsDisabled) {
    Frame(Canvas, r, Color);
  } else {
    Canvas->SetBrushColorIfChanged(clHighlight);
    if (Index > 0) Canvas->FillRect(TRect(r.Left, r.Top, r.Left + 1, r.Bottom));
    if (Index < Count - 1) Canvas->FillRect(TRect(r.Right - 1, r.Top, r.Right, r.Bottom));
  }
}

void TkjUltraFlatLookAndFeelPainter::PaintButtonBorder(TkjPaintCanvas* Canvas, const TRect& Rect,
                                                       TkjButtonState State) const {
  switch (State) {
    case kjbsDefault:
      Frame(Canvas, Rect, clWindowFrame);
      Frame(Canvas, Deflate(Rect, 1), clWindowFrame);
      break;
    case kjbsNormal: Frame(Canvas, Rect, clBtnText); break;
    default: Frame(Canvas, Rect, clHighlight); break;
  }
}

void TkjUltraFlatLookAndFeelPainter::PaintExpander(TkjPaintCanvas* Canvas, const TRect& Rect, TColor Color,
                                                   bool Expanded) const {
  Frame(Canvas, Rect, clBtnShadow);
  Canvas->SetBrushColorIfChanged(Color == kjDefaultColor ? clBtnFace : Color);
  Canvas->FillRect(Deflate(Rect, 1));
  PaintExpandSign(Canvas, Rect, Expanded);
  Canvas->ExcludeClipRect(Rect);
}

void TkjUltraFlatLookAndFeelPainter::PaintCheckFrame(TkjPaintCanvas* Canvas, const TRect& Rect,
                                                     TkjButtonState State) const {
  Frame(Canvas, Rect, clBtnText);
  Frame(Canvas, Deflate(Rect, 1), GetCheckColor(State));
}

void TkjUltraFlatLookAndFeelPainter::PaintHeaderCell(TkjPaintCanvas* Canvas, const TRect& Rect,
                                                     const TRect& TextRect, TkjNeighbors Neighbors, TkjSides Borders,
                                                     const String& Text, TAlignment Horizontal, TColor Background,
                                                     TColor TextColor) const {
  TRect inner = Deflate(Rect, 1);
  PaintContentText(Canvas, inner, nullptr, Background, TextColor, nullptr, Text, Horizontal, 1, false, true, TextRect);
  PaintHeaderEdges(Canvas, inner, Borders, Neighbors);
}

void TkjUltraFlatLookAndFeelPainter::PaintHeaderEdges(TkjPaintCanvas* Canvas, const TRect& Rect, TkjSides Borders,
                                                      TkjNeighbors) const {
  TkjSides sides = (Borders & (kjsLeft | kjsTop)) | kjsRight | kjsBottom;
  Canvas->FrameSides(Rect, clBtnText, 1, sides, clBtnText);
}

void TkjUltraFlatLookAndFeelPainter::PaintSortMark(TkjPaintCanvas* Canvas, const TRect& Rect, bool Ascending) const {
  PaintSortTriangle(Canvas, Rect, Ascending, clBtnShadow, clBtnShadow);
}

TkjSides TkjUltraFlatLookAndFeelPainter::GetHeaderSides(TkjNeighbors Neighbors) const {
  TkjSides sides = kjsAll;
  if (Neighbors & 2) sides &= ~kjsLeft;
  if (Neighbors & 4) sides &= ~kjsTop;
  return sides;
}

void TkjUltraFlatLookAndFeelPainter::PaintSummaryBorder(TkjPaintCanvas* Canvas, const TRect& Rect) const {
  Canvas->FillSides(Rect, clBtnShadow, kjsRight | kjsBottom, 1);
}

void TkjUltraFlatLookAndFeelPainter::PaintSummaryCellBorder(TkjPaintCanvas* Canvas, const TRect& Rect) const {
  Frame(Canvas, Rect, clBtnShadow);
}

void TkjUltraFlatLookAndFeelPainter::PaintDropDownButton(TkjPaintCanvas* Canvas, const TRect& Rect, bool Active,
                                                         TkjButtonState State) const {
  Frame(Canvas, Rect, State == kjbsNormal ? clBtnShadow : clHighlight);
  TRect r = Deflate(Rect, 1);
  Canvas->SetBrushColorIfChanged(GetButtonFaceColor(State));
  Canvas->FillRect(r);
  PaintDownArrow(Canvas, r, Active ? clBlue : GetButtonGlyphColor(State));
}

void TkjUltraFlatLookAndFeelPainter::PaintTab(TkjPaintCanvas* Canvas, const TRect& Rect, bool Vertical,
                                              TkjButtonState State, TkjSides) const {
  TRect r = Rect;
  bool selected = State == kjbsPressed;
  if (selected && !Vertical) r.Bottom -= GetTabBorderWidth(Vertical);
  Canvas->SetBrushColorIfChanged(selected ? clBtnText : clBtnShadow);
  Canvas->FillRect(r);
}

void TkjUltraFlatLookAndFeelPainter::PaintTabsBase(TkjPaintCanvas* Canvas, const TRect& Rect, bool Vertical,
                                                   TkjSides Sides) const {
  Canvas->FillSides(Rect, clBtnShadow, Sides, GetTabBorderWidth(Vertical));
}

void TkjUltraFlatLookAndFeelPainter::PaintScrollBarPart(TkjPaintCanvas* Canvas, bool Horizontal,
                                                        TkjScrollBarPart Part, TkjButtonState State,
                                                        const TRect& Rect) const {
  PaintScrollBarPartAsButtons(Canvas, Horizontal, Part, State, Rect);
}
