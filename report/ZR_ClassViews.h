// This file implements the built-in views besides the memo: TzrBandView, the marker that declares a
// band of a page; TzrSubReportView, which names the page holding a sub-report; TzrPictureView, a
// bitmap, JPEG, icon or metafile from the template, a blob field or a file; TzrLineView, a
// horizontal or vertical rule; and TzrControl, the base of the objects of dialog pages that show a
// control of the class library.
#pragma once

#include <memory>

#include "ZR_ClassView.h"

class TControl;
class TForm;

class TzrBandView : public TzrView {
  VELBOR_DECLARE_CLASS(TzrBandView, TzrView)
 public:
  TzrBandView();

  // The band type is kept in FrameTyp; the data source name or the group condition in FormatText.
  int BandType() const { return FrameTyp; }
  void SetBandType(int Value) { FrameTyp = Value; }
  String ChildBand;
  String Master;
  int Columns = 1;
  int ColumnWidth = 200;
  int ColumnGap = 20;
  int NewColumnAfter = 1;

  void PaintOnCanvas(TCanvas* ACanvas) override;
  void ReadRecord(TStream* Stream) override;
  void WriteRecord(TStream* Stream) override;
  void SaveToXml(TStream* Stream) override;
  HRGN GetClipRegion(bool Grown) override;
  void SetProperty(const String& PropName, const Variant& Value) override;
  Variant GetProperty(const String& PropName) override;
  void CallMethod(const String& Method, Variant& Result, const Variant& Arg1, const Variant& Arg2,
                  const Variant& Arg3) override;
  void ListProperties() override;
  // The width of the band's title tab: its name in "Arial" 8 points plus 8, at least 100.
  int TitleWidth();

 protected:
  bool HasFrameProperties() const override { return false; }
};

class TzrSubReportView : public TzrView {
  VELBOR_DECLARE_CLASS(TzrSubReportView, TzrView)
 public:
  TzrSubReportView();
  // The index (from 0) of the report page holding the sub-report.
  int SubPage = 0;

  void PaintOnCanvas(TCanvas* ACanvas) override;
  void ReadRecord(TStream* Stream) override;
  void WriteRecord(TStream* Stream) override;
  void SaveToXml(TStream* Stream) override;

 protected:
  bool HasFrameProperties() const override { return false; }
};

// Picture flags (bit 0, Stretched, is the view's).
inline constexpr int zrpfCenter = 0x02;
inline constexpr int zrpfKeepAspect = 0x04;
// Kinds of image a blob field holds.
enum TzrBlobType { btBMP, btJPG, btICO, btWMF };

class TzrPictureView : public TzrView {
  VELBOR_DECLARE_CLASS(TzrPictureView, TzrView)
 public:
  TzrPictureView();
  ~TzrPictureView() override;

  TPicture* Picture() const { return FPicture.get(); }
  int BlobType = btBMP;

  void PaintOnCanvas(TCanvas* ACanvas) override;
  void ReadRecord(TStream* Stream) override;
  void WriteRecord(TStream* Stream) override;
  void SaveToXml(TStream* Stream) override;
  void LoadFromBlobField(TField* Field) override;
  void SetProperty(const String& PropName, const Variant& Value) override;
  Variant GetProperty(const String& PropName) override;
  void CallMethod(const String& Method, Variant& Result, const Variant& Arg1, const Variant& Arg2,
                  const Variant& Arg3) override;
  void ListProperties() override;
  // The rectangle the graphic is drawn into, in the paint rectangle, by Stretched, KeepAspect and
  // Center.
  TRect PictureTarget(int GraphicWidth, int GraphicHeight) const;

 private:
  void PaintGraphic(TCanvas* ACanvas, const TRect& Target, TGraphic* Graphic);
  std::unique_ptr<TPicture> FPicture;
};

class TzrLineView : public TzrStretcheable {
  VELBOR_DECLARE_CLASS(TzrLineView, TzrStretcheable)
 public:
  TzrLineView();

  void PaintOnCanvas(TCanvas* ACanvas) override;
  void SaveToXml(TStream* Stream) override;
  HRGN GetClipRegion(bool Grown) override;
  int CalcHeight() override { return Height; }
  int OneLineHeight() override { return 1; }
  int LeftoverHeight() override { return 0; }
  void ListProperties() override;
};

// An object of a dialog page showing a control; concrete dialog controls derive from it.
class TzrControl : public TzrView {
  VELBOR_DECLARE_CLASS(TzrControl, TzrView)
 public:
  TzrControl();
  ~TzrControl() override;

  // The wrapped control, owned.
  TControl* Control() const { return FControl; }
  // The control's parent becomes the form and its bounds the object's.
  void PlaceOnForm(TForm* Form);
  virtual void PaintControl();

  void PaintOnCanvas(TCanvas* ACanvas) override;
  void SetProperty(const String& PropName, const Variant& Value) override;
  void ListProperties() override;

 protected:
  // Set by the concrete class's constructor.
  void SetControl(TControl* Value);

 private:
  TControl* FControl = nullptr;
};

// Registers the built-in view classes with the object factory (once).
void RegisterBuiltInViews();
