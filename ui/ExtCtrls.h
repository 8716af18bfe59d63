// This file implements the extra controls of the class library: TPanel (a container with
// bevels and a caption), TBevel, TImage, TShape, TPaintBox (window-less drawings) and TRadioGroup
// (a group box of radio buttons made from a list of items).
// Implemented in Panel.cpp (Frame3D, TPanel, TBevel), Image.cpp (TImage, TShape, TPaintBox) and
// RadioGroup.cpp.
#pragma once

#include "StdCtrls.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
VELBOR_ENUM(TBevelCut, "bvNone", "bvLowered", "bvRaised", "bvSpace")

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
VELBOR_ENUM(TBevelShape, "bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer")

enum TBevelStyle { bsLowered, bsRaised };
VELBOR_ENUM(TBevelStyle, "bsLowered", "bsRaised")

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };
VELBOR_ENUM(TShapeType, "stRectangle", "stSquare", "stRoundRect", "stRoundSquare", "stEllipse", "stCircle")

// Draws a frame Width pixels wide inside Rect, top and left in TopColor, bottom and right in
// BottomColor, and shrinks Rect by it.
void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width);

class TCustomPanel : public TCustomControl {
  VELBOR_DECLARE_CLASS(TCustomPanel, TCustomControl)
 public:
  explicit TCustomPanel(TComponent* AOwner);

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut Value);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut Value);
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int Value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  bool FullRepaint = true;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void AdjustClientRect(TRect& Rect) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  // protected messages
  void CMTextChanged(TMessage& Message);

 private:
  TAlignment FAlignment = taCenter;
  TBevelCut FBevelInner = bvNone;
  TBevelCut FBevelOuter = bvRaised;
  int FBevelWidth = 1;
  TBorderStyle FBorderStyle = bsNone;
};

class TPanel : public TCustomPanel {
  VELBOR_DECLARE_CLASS(TPanel, TCustomPanel)
 public:
  explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
};

class TBevel : public TGraphicControl {
  VELBOR_DECLARE_CLASS(TBevel, TGraphicControl)
 public:
  explicit TBevel(TComponent* AOwner);
  TBevelShape Shape() const { return FShape; }
  void SetShape(TBevelShape Value);
  TBevelStyle Style() const { return FStyle; }
  void SetStyle(TBevelStyle Value);

 protected:
  void Paint() override;

 private:
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};

class TImage : public TGraphicControl {
  VELBOR_DECLARE_CLASS(TImage, TGraphicControl)
 public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;

  TPicture* Picture() const { return FPicture; }
  void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
  bool Center() const { return FCenter; }
  void SetCenter(bool Value);
  bool Stretch() const { return FStretch; }
  void SetStretch(bool Value);
  bool Proportional() const { return FProportional; }
  void SetProportional(bool Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  // The canvas of the picture's bitmap (an empty picture becomes a bitmap of the image's size).
  TCanvas* Canvas();
  // Where the picture is drawn, in the image's coordinates.
  TRect DestRect();

 protected:
  bool CanAutoSize(int& NewWidth, int& NewHeight) override;
  void Paint() override;

 private:
  void PictureChanged(TObject* Sender);
  TPicture* FPicture;
  bool FCenter = false;
  bool FStretch = false;
  bool FProportional = false;
  bool FTransparent = false;
};

class TShape : public TGraphicControl {
  VELBOR_DECLARE_CLASS(TShape, TGraphicControl)
 public:
  explicit TShape(TComponent* AOwner);
  ~TShape() override;
  TShapeType Shape() const { return FShape; }
  void SetShape(TShapeType Value);
  TPen* Pen() const { return FPen; }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  TBrush* Brush() const { return FBrush; }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }

 protected:
  void Paint() override;

 private:
  void StyleChanged(TObject* Sender);
  TShapeType FShape = stRectangle;
  TPen* FPen;
  TBrush* FBrush;
};

class TPaintBox : public TGraphicControl {
  VELBOR_DECLARE_CLASS(TPaintBox, TGraphicControl)
 public:
  explicit TPaintBox(TComponent* AOwner);
  using TGraphicControl::Canvas;
  TNotifyEvent OnPaint;

 protected:
  void Paint() override;
};

class TCustomRadioGroup : public TCustomGroupBox {
  VELBOR_DECLARE_CLASS(TCustomRadioGroup, TCustomGroupBox)
  friend class TGroupButton;

 public:
  explicit TCustomRadioGroup(TComponent* AOwner);
  ~TCustomRadioGroup() override;

  // The captions of the buttons, one per line.
  TStrings* Items() const { return FItems; }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  // The checked button's index, -1 when none.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  int Columns() const { return FColumns; }
  void SetColumns(int Value);
  // The radio button of an item.
  TRadioButton* Buttons(int Index) const;
  int ButtonCount() const { return int(FButtons.size()); }

 protected:
  // Whether the user may change the choice (the data-aware group asks its field).
  virtual bool CanModify() { return true; }
  void Loaded() override;
  void ReadState(TReader* Reader) override;
  void Dispatch(TMessage& Message) override;
  // protected messages
  void WMSize(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);

 private:
  void ItemsChange(TObject* Sender);
  void ButtonClick(TRadioButton* Button);
  void SetButtonCount(int Value);
  void UpdateButtons();
  void ArrangeButtons();

  TStrings* FItems;
  std::vector<TRadioButton*> FButtons;
  int FItemIndex = -1;
  int FColumns = 1;
  bool FReading = false;
  bool FUpdating = false;
};

class TRadioGroup : public TCustomRadioGroup {
  VELBOR_DECLARE_CLASS(TRadioGroup, TCustomRadioGroup)
 public:
  explicit TRadioGroup(TComponent* AOwner) : TCustomRadioGroup(AOwner) {}
};
