// This file implements the window-less drawings: TImage (a picture, at its size, centred,
// stretched or scaled in proportion), TShape (a figure in a pen and a brush) and TPaintBox (a
// surface its OnPaint draws on).
#include <algorithm>

#include "ExtCtrls.h"

VELBOR_IMPLEMENT_CLASS(TImage)
VELBOR_PUBLISHED(TImage,
  Prop("Picture", &Self::Picture, &Self::SetPicture),
  Prop("Center", &Self::Center, &Self::SetCenter).Default(false),
  Prop("Stretch", &Self::Stretch, &Self::SetStretch).Default(false),
  Prop("Proportional", &Self::Proportional, &Self::SetProportional).Default(false),
  Prop("Transparent", &Self::Transparent, &Self::SetTransparent).Default(false))

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle.Include(csReplicatable);
  SetBounds(0, 0, 105, 105);
  FPicture = new TPicture();
  FPicture->OnChange = TNotifyEvent(this, &TImage::PictureChanged);
}

TImage::~TImage() { delete FPicture; }

void TImage::SetCenter(bool Value) {
  if (FCenter == Value) return;
  FCenter = Value;
  Invalidate();
}

void TImage::SetStretch(bool Value) {
  if (FStretch == Value) return;
  FStretch = Value;
  Invalidate();
}

void TImage::SetProportional(bool Value) {
  if (FProportional == Value) return;
  FProportional = Value;
  Invalidate();
}

void TImage::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  if (TGraphic* g = FPicture->Graphic()) g->SetTransparent(Value);
  Invalidate();
}

void TImage::PictureChanged(TObject*) {
  if (TGraphic* g = FPicture->Graphic()) {
    if (g->Transparent() != FTransparent) g->SetTransparent(FTransparent);
  }
  AdjustSize();
  Invalidate();
}

TCanvas* TImage::Canvas() {
  if (!FPicture->Graphic()) {
    TBitmap bitmap;
    bitmap.SetSize(Width(), Height());
    FPicture->SetGraphic(&bitmap);
  }
  auto* bitmap = dynamic_cast<TBitmap*>(FPicture->Graphic());
  if (!bitmap) throw EInvalidOperation("Seule une image bitmap peut être modifiée"_a);
  return bitmap->Canvas();
}

TRect TImage::DestRect() {
  int w = FPicture->Width();
  int h = FPicture->Height();
  int cw = Width();
  int ch = Height();
  if (FStretch || (FProportional && (w > cw || h > ch))) {
    if (FProportional && w > 0 && h > 0) {
      // The largest size that fits and keeps the picture's shape.
      if (double(cw) / w < double(ch) / h) {
        h = int(double(h) * cw / w);
        w = cw;
      } else {
        w = int(double(w) * ch / h);
        h = ch;
      }
    } else {
      w = cw;
      h = ch;
    }
  }
  TRect r = Rect(0, 0, w, h);
  if (FCenter) r = Bounds((cw - w) / 2, (ch - h) / 2, w, h);
  return r;
}

bool TImage::CanAutoSize(int& NewWidth, int& NewHeight) {
  if (FPicture->Width() <= 0 || FPicture->Height() <= 0) return false;
  NewWidth = FPicture->Width();
  NewHeight = FPicture->Height();
  return true;
}

void TImage::Paint() {
  TCanvas* canvas = TGraphicControl::Canvas();
  if (TGraphic* g = FPicture->Graphic()) canvas->StretchDraw(DestRect(), g);
}

// --- TShape -----------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TShape)
VELBOR_PUBLISHED(TShape,
  Prop("Shape", &Self::Shape, &Self::SetShape).Default(stRectangle),
  Prop("Pen", &Self::Pen, &Self::SetPen),
  Prop("Brush", &Self::Brush, &Self::SetBrush))

TShape::TShape(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle.Include(csReplicatable);
  SetBounds(0, 0, 65, 65);
  FPen = new TPen();
  FPen->OnChange = TNotifyEvent(this, &TShape::StyleChanged);
  FBrush = new TBrush();
  FBrush->OnChange = TNotifyEvent(this, &TShape::StyleChanged);
}

TShape::~TShape() {
  delete FPen;
  delete FBrush;
}

void TShape::SetShape(TShapeType Value) {
  if (FShape == Value) return;
  FShape = Value;
  Invalidate();
}

void TShape::StyleChanged(TObject*) { Invalidate(); }

void TShape::Paint() {
  TCanvas* canvas = Canvas();
  canvas->SetPen(FPen);
  canvas->SetBrush(FBrush);
  // The pen's width stays inside the control.
  int half = FPen->Width() / 2;
  int x = half, y = half;
  int w = Width() - FPen->Width() + 1;
  int h = Height() - FPen->Width() + 1;
  if (FPen->Width() == 0) {
    --w;
    --h;
  }
  if (w < h && (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle)) {
    y += (h - w) / 2;
    h = w;
  } else if (h < w && (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle)) {
    x += (w - h) / 2;
    w = h;
  }
  switch (FShape) {
    case stRectangle:
    case stSquare: canvas->Rectangle(x, y, x + w, y + h); break;
    case stRoundRect:
    case stRoundSquare: {
      int s = std::min(w, h) / 4;
      canvas->RoundRect(x, y, x + w, y + h, s, s);
      break;
    }
    case stEllipse:
    case stCircle: canvas->Ellipse(x, y, x + w, y + h); break;
  }
}

// --- TPaintBox --------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TPaintBox)
VELBOR_PUBLISHED(TPaintBox,
  Prop("OnPaint", &Self::OnPaint))

TPaintBox::TPaintBox(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle.Include(csReplicatable);
  SetBounds(0, 0, 105, 105);
}

void TPaintBox::Paint() {
  Canvas()->SetFont(Font());
  Canvas()->Brush()->SetColor(Color());
  if (OnPaint) OnPaint(this);
}
