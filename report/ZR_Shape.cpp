// This file implements the shape view and its registration with the add-in registry.
#include "ZR_Shape.h"

#include "StrUtils.h"
#include "TextOrder.h"
#include "Streams.h"
#include "ZR_ClassFactory.h"
#include "ZR_ClassGlobals.h"
#include "ZR_Utils.h"

VELBOR_IMPLEMENT_CLASS(TzrShapeView)
VELBOR_IMPLEMENT_CLASS(TzrShapeObject)

void RegisterShapeView() {
  static bool done = false;
  if (done) return;
  done = true;
  // The button picture serves an editing front end's tool bar only: when the program carries no
  // "ZR_SHAPE" bitmap the class is registered without one.
  static TBitmap picture;
  TObject* button = nullptr;
  if (HBITMAP handle = TzrLocale::Get()->LoadBmp("ZR_SHAPE")) {
    picture.SetHandle(handle);
    button = &picture;
  }
  EnrolAddInClass(TzrShapeView::StaticClass(), button, "55226");
}

TzrShapeObject::TzrShapeObject(TComponent* AOwner) : TComponent(AOwner) { RegisterShapeView(); }

TzrShapeView::TzrShapeView() {
  NameStem = "Shape";
  const char* const names[] = {"skRectangle", "skRoundRectangle", "skEllipse", "skTriangle", "skDiagonal1",
                               "skDiagonal2"};
  for (int i = 0; i < 6; ++i) zrGlobals().Constants()->SetByName(names[i], Variant(i));
}

void TzrShapeView::ListProperties() {
  TzrView::ListProperties();
  EnterChoiceProperty("Shape", "skRectangle;skRoundRectangle;skEllipse;skTriangle;skDiagonal1;skDiagonal2",
                      {0, 1, 2, 3, 4, 5});
}

void TzrShapeView::SetProperty(const String& PropName, const Variant& Value) {
  TzrView::SetProperty(PropName, Value);
  if (AnsiUpperCase(PropName) == "SHAPE") Shape = Value.AsInteger();
}

Variant TzrShapeView::GetProperty(const String& PropName) {
  Variant result = TzrView::GetProperty(PropName);
  if (VarIsEmpty(result) && AnsiUpperCase(PropName) == "SHAPE") return Variant(Shape);
  return result;
}

void TzrShapeView::ReadRecord(TStream* Stream) {
  TzrView::ReadRecord(Stream);
  Shape = ReadU8(Stream);
}

void TzrShapeView::WriteRecord(TStream* Stream) {
  TzrView::WriteRecord(Stream);
  WriteU8(Stream, static_cast<std::uint8_t>(Shape));
}

void TzrShapeView::SaveToXml(TStream* Stream) {
  TzrView::SaveToXml(Stream);
  WriteXmlAttribute(Stream, "Shape", IntToStr(Shape));
}

void TzrShapeView::PaintOnCanvas(TCanvas* ACanvas) {
  PrepareDrawing(ACanvas);
  OutLines()->Assign(Memo());
  ComputeDrawRect();
  // The figure fills itself: the background is not painted, the frame sides are.
  TColor fill = FillColor;
  FillColor = zrNoColor;
  DrawBackground();
  DrawFrame();
  FillColor = fill;
  PaintFigure();
  RestoreCoordinates();
}

void TzrShapeView::PaintFigure() {
  double r = (Saved.Left + Saved.Width) * ZoomX + ShiftX;
  double b = (Saved.Top + Saved.Height) * ZoomY + ShiftY;
  int m = std::min(Width, Height);
  TPen* pen = Canvas->Pen();
  pen->SetWidth(std::max(1, zrRound(FrameWidth)));
  pen->SetColor(FrameColor);
  pen->SetStyle(psSolid);
  SetBkMode(Canvas->Handle(), OPAQUE);
  TBrush* brush = Canvas->Brush();
  brush->SetStyle(bsClear);
  if (FillColor != zrNoColor) brush->SetColor(FillColor);
  int R = zrRound(r);
  int B = zrRound(b);
  switch (Shape) {
    case skRectangle: Canvas->Rectangle(Left, Top, R + 1, B + 1); break;
    case skRoundRectangle: Canvas->RoundRect(Left, Top, R + 1, B + 1, m / 4, m / 4); break;
    case skEllipse: Canvas->Ellipse(Left, Top, R + 1, B + 1); break;
    case skTriangle:
      Canvas->Polygon({TPoint(R, B), TPoint(Left, B), TPoint(Left + (R - Left) / 2, Top), TPoint(R, B)});
      break;
    case skDiagonal1:
      Canvas->MoveTo(Left, B);
      Canvas->LineTo(R, Top);
      break;
    case skDiagonal2:
      Canvas->MoveTo(Left, Top);
      Canvas->LineTo(R, B);
      break;
    default: break;
  }
}
