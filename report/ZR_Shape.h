// This file implements TzrShapeView, the add-in report object that draws a rectangle, a rounded
// rectangle, an ellipse, a triangle or a diagonal with the object's frame pen and fill colour, and
// TzrShapeObject, the component whose presence on a form makes the shape available to templates.
#pragma once

#include "Component.h"
#include "ZR_ClassView.h"

enum TzrShapeKind { skRectangle, skRoundRectangle, skEllipse, skTriangle, skDiagonal1, skDiagonal2 };

class TzrShapeView : public TzrView {
  VELBOR_DECLARE_CLASS(TzrShapeView, TzrView)
 public:
  TzrShapeView();

  int Shape = skRectangle;

  void PaintOnCanvas(TCanvas* ACanvas) override;
  void ReadRecord(TStream* Stream) override;
  void WriteRecord(TStream* Stream) override;
  void SaveToXml(TStream* Stream) override;
  void SetProperty(const String& PropName, const Variant& Value) override;
  Variant GetProperty(const String& PropName) override;
  void ListProperties() override;
  void PaintFigure();
};

// Registers TzrShapeView with the add-in registry: a program that places a TzrShapeObject (or
// calls this) reads templates holding shapes.
void RegisterShapeView();

class TzrShapeObject : public TComponent {
  VELBOR_DECLARE_CLASS(TzrShapeObject, TComponent)
 public:
  explicit TzrShapeObject(TComponent* AOwner);
};
