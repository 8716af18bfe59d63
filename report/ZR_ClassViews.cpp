// This file implements the band marker, sub-report, picture, line and dialog-control views: their
// properties, drawing, records and XML elements.
#include "ZR_ClassViews.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "DataSet.h"
#include "Field.h"
#include "FileUtils.h"
#include "StrUtils.h"
#include "TextOrder.h"
#include "Streams.h"
#include "ZR_ClassBand.h"
#include "ZR_ClassFactory.h"
#include "ZR_ClassGlobals.h"
#include "ZR_ClassMemo.h"
#include "ZR_ClassPage.h"
#include "ZR_ClassReport.h"
#include "ZR_DBRel.h"
#include "ZR_DSet.h"
#include "ZR_Utils.h"
// The class library's windows come last: the API macros they bring do not reach the declarations
// above.
#include "Controls.h"
#include "Forms.h"
#include "Jpeg.h"

VELBOR_IMPLEMENT_CLASS(TzrBandView)
VELBOR_IMPLEMENT_CLASS(TzrSubReportView)
VELBOR_IMPLEMENT_CLASS(TzrPictureView)
VELBOR_IMPLEMENT_CLASS(TzrLineView)
VELBOR_IMPLEMENT_ABSTRACT_CLASS(TzrControl)

void RegisterBuiltInViews() {
  static bool done = false;
  if (done) return;
  done = true;
  SetBuiltInObjectClass(zrKindMemo, TzrMemoView::StaticClass());
  SetBuiltInObjectClass(zrKindPicture, TzrPictureView::StaticClass());
  SetBuiltInObjectClass(zrKindBand, TzrBandView::StaticClass());
  SetBuiltInObjectClass(zrKindSubReport, TzrSubReportView::StaticClass());
  SetBuiltInObjectClass(zrKindLine, TzrLineView::StaticClass());
}

namespace {

bool IsCrossBandType(int Type) { return Type >= btCrossHeader && Type <= btCrossFooterKind; }

// The band types that list each option, by Flags bit.
struct TBandOption {
  const char* Name;
  int Bit;
  std::vector<int> Types;
};

const TBandOption kBandOptions[] = {
    {"Stretched", zrbfStretched, {0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 16, 17, 18, 21}},
    {"FormNewPage", zrbfFormNewPage, {0, 1, 5, 6, 8, 9, 11, 12, 16}},
    {"PrintIfSubsetEmpty", zrbfPrintIfSubsetEmpty, {5, 8}},
    {"Breaked", zrbfBreaked, {0, 1, 4, 5, 6, 7, 8, 9, 10, 11, 12, 16, 17, 21}},
    {"OnFirstPage", zrbfOnFirstPage, {2, 3}},
    {"OnLastPage", zrbfOnLastPage, {3}},
    {"RepeatHeader", zrbfRepeatHeader, {4, 7, 10, 16, 18}},
};

bool Lists(const TBandOption& Option, int Type) {
  for (int t : Option.Types)
    if (t == Type) return true;
  return false;
}

const char* const kBandElements[zrBandTypeCount] = {
    "TzrxReportTitle", "TzrxReportSummary", "TzrxPageHeader", "TzrxPageFooter", "TzrxHeader", "TzrxMasterData",
    "TzrxFooter", "TzrxHeader", "TzrxDetailData", "TzrxFooter", "TzrxHeader", "TzrxSubDetailData", "TzrxFooter",
    "TzrxOverlay", "TzrxColumnHeader", "TzrxColumnFooter", "TzrxGroupHeader", "TzrxGroupFooter", nullptr, nullptr,
    nullptr, "TzrxChild", nullptr};

void SetBit(int& Flags, int Bit, bool On) { Flags = On ? (Flags | Bit) : (Flags & ~Bit); }

}  // namespace

// ---- TzrBandView

TzrBandView::TzrBandView() {
  ObjectKind = zrKindBand;
  NameStem = "Band";
  FormatCode = 0;
  Flags = 48;
}

int TzrBandView::TitleWidth() {
  TCanvas* canvas = zrGlobals().ScratchBitmap()->Canvas();
  canvas->Font()->SetName("Arial");
  canvas->Font()->SetSize(8);
  int type = BandType();
  String name = type >= 0 && type < zrBandTypeCount ? zrGlobals().BandNames[std::size_t(type)] : String();
  return std::max(100, canvas->TextWidth(name) + 8);
}

void TzrBandView::ListProperties() {
  TzrView::ListProperties();
  int type = BandType();
  if (type != btPageFooter) {
    String children;
    if (!zrEngine.Running && zrEngine.CurPage != nullptr) {
      TzrPage* page = zrEngine.CurPage;
      for (int i = 0; i < page->ObjectCount(); ++i) {
        auto* band = dynamic_cast<TzrBandView*>(page->Objects(i));
        if (band != nullptr && band != this && band->BandType() == btChild) children += band->Name + ";";
      }
    }
    EnterChoiceProperty("ChildBand", children, {});
    EnterProperty("PrintChildIfInvisible", zrpkBoolean);
  }
  for (const TBandOption& option : kBandOptions)
    if (Lists(option, type)) EnterProperty(option.Name, zrpkBoolean);
  if (type == btCrossDataKind) EnterProperty("DataSource", zrpkEditor);
  if (type == btMasterDataKind || type == btDetailDataKind || type == btSubDetailDataKind) {
    EnterProperty("Columns", zrpkInteger);
    EnterProperty("ColumnWidth", zrpkPosition);
    EnterProperty("ColumnGap", zrpkPosition);
    EnterProperty("DataSource", zrpkEditor);
  }
  if (type == btGroupHeader) {
    EnterProperty("Condition", zrpkText);
    String masters;
    if (!zrEngine.Running && zrEngine.CurPage != nullptr) {
      TzrPage* page = zrEngine.CurPage;
      for (int i = 0; i < page->ObjectCount(); ++i) {
        auto* band = dynamic_cast<TzrBandView*>(page->Objects(i));
        if (band != nullptr && band != this &&
            (band->BandType() == btMasterDataKind || band->BandType() == btDetailDataKind ||
             band->BandType() == btSubDetailDataKind))
          masters += band->Name + ";";
      }
    }
    EnterChoiceProperty("Master", masters, {});
  }
  EnterProperty("EOF", zrpkScript);
  if (TzrPropRec* memo = FindProperty("Memo")) memo->Name = "OnBeforePrint";
}

void TzrBandView::SetProperty(const String& PropName, const Variant& Value) {
  TzrView::SetProperty(PropName, Value);
  String n = AnsiUpperCase(PropName);
  bool running = zrEngine.Running && Parent != nullptr;
  if (n == "CHILDBAND") {
    if (running) {
      TzrView* child = Parent->Page->FindObjectByName(VarToStr(Value));
      Parent->Child = child != nullptr ? child->Parent : nullptr;
    }
    ChildBand = VarToStr(Value);
  } else if (n == "MASTER") {
    Master = VarToStr(Value);
  } else if (n == "CONDITION") {
    FormatText = VarToStr(Value);
    if (running) Parent->GroupCondition = zrGlobals().Parser()->ConvertToPostfix(FormatText);
  } else if (n == "COLUMNS") {
    Columns = Value.AsInteger();
  } else if (n == "COLUMNGAP") {
    ColumnGap = Value.AsInteger();
  } else if (n == "COLUMNWIDTH") {
    ColumnWidth = Value.AsInteger();
  } else if (n == "NEWCOLUMNAFTER") {
    NewColumnAfter = Value.AsInteger();
  } else if (n == "DATASOURCE") {
    if (running) {
      Parent->ReleaseDataSets();
      Parent->AssignDataSource(VarToStr(Value));
    }
  } else {
    for (const TBandOption& option : kBandOptions)
      if (n == AnsiUpperCase(option.Name) && option.Bit != zrbfStretched) SetBit(Flags, option.Bit, Value.AsBoolean());
    if (n == "PRINTCHILDIFINVISIBLE") SetBit(Flags, zrbfPrintChildIfInvisible, Value.AsBoolean());
    if (n == "BREAKED" && running) Parent->Breaked = Value.AsBoolean();
  }
  if (running) {
    if (n == "LEFT") Parent->Left = Value.AsInteger();
    else if (n == "TOP") Parent->Top = Value.AsInteger();
    else if (n == "WIDTH") Parent->Width = Value.AsInteger();
    else if (n == "HEIGHT") Parent->Height = Value.AsInteger();
    else if (n == "VISIBLE") Parent->Visible = Value.AsBoolean();
  }
}

Variant TzrBandView::GetProperty(const String& PropName) {
  String n = AnsiUpperCase(PropName);
  if (zrEngine.Running && Parent != nullptr) {
    if (n == "LEFT") return Variant(Parent->Left);
    if (n == "TOP") return Variant(Parent->Top);
    if (n == "WIDTH") return Variant(Parent->Width);
    if (n == "HEIGHT") return Variant(Parent->Height);
    if (n == "VISIBLE") return Variant(Parent->Visible);
  }
  Variant result = TzrView::GetProperty(PropName);
  if (!VarIsEmpty(result)) return result;
  if (n == "CHILDBAND") return Variant(ChildBand);
  if (n == "MASTER") return Variant(Master);
  if (n == "EOF") {
    // A band without data source is not at an end.
    TzrDataset* source = Parent != nullptr ? Parent->DataSource : nullptr;
    return Variant(source != nullptr && source->Eof());
  }
  for (const TBandOption& option : kBandOptions)
    if (n == AnsiUpperCase(option.Name)) {
      if (n == "BREAKED" && zrEngine.Running && Parent != nullptr) return Variant(Parent->Breaked);
      return Variant((Flags & option.Bit) != 0);
    }
  if (n == "PRINTCHILDIFINVISIBLE") return Variant((Flags & zrbfPrintChildIfInvisible) != 0);
  if (n == "CONDITION") return Variant(FormatText);
  if (n == "COLUMNS") return Variant(Columns);
  if (n == "COLUMNGAP") return Variant(ColumnGap);
  if (n == "NEWCOLUMNAFTER") return Variant(NewColumnAfter);
  if (n == "COLUMNWIDTH") return Variant(ColumnWidth);
  return result;
}

void TzrBandView::CallMethod(const String& Method, Variant& Result, const Variant& Arg1, const Variant& Arg2,
                             const Variant& Arg3) {
  TzrView::CallMethod(Method, Result, Arg1, Arg2, Arg3);
  TzrDataset* source = Parent != nullptr ? Parent->DataSource : nullptr;
  if (source == nullptr) return;
  String n = AnsiUpperCase(Method);
  if (n == "NEXT") source->Next();
  else if (n == "PRIOR") source->Prior();
  else if (n == "FIRST") source->First();
}

void TzrBandView::PaintOnCanvas(TCanvas* ACanvas) {
  FrameWidth = 1;
  TzrPage* page = zrEngine.CurPage;
  if (page != nullptr) {
    if (IsCrossBandType(BandType())) {
      Top = 0;
      Height = page->PrintArea.PageHeight;
    } else {
      Left = 0;
      Width = page->PrintArea.PageWidth;
    }
  }
  PrepareDrawing(ACanvas);
  ComputeDrawRect();
  TBrush* brush = ACanvas->Brush();
  brush->SetBitmap(zrGlobals().CheckerBitmap());
  ACanvas->FillRect(PaintRect);
  brush->SetBitmap(nullptr);
  brush->SetStyle(bsClear);
  TPen* pen = ACanvas->Pen();
  pen->SetColor(clBtnFace);
  pen->SetWidth(1);
  pen->SetStyle(psSolid);
  ACanvas->Rectangle(PaintRect);
  if (Columns > 1 && page != nullptr) {
    pen->SetColor(clBlack);
    pen->SetStyle(psDot);
    for (int c = 0; c < Columns; ++c) {
      int x = page->LeftOffset() + c * (ColumnWidth + ColumnGap);
      ACanvas->Rectangle(x, Top, x + ColumnWidth, Top + Height);
    }
    pen->SetStyle(psSolid);
  }
  int type = BandType();
  String name = type >= 0 && type < zrBandTypeCount ? zrGlobals().BandNames[std::size_t(type)] : String();
  ACanvas->Font()->SetName("Arial");
  ACanvas->Font()->SetSize(8);
  ACanvas->Font()->SetColor(clBlack);
  int tw = TitleWidth();
  if (IsCrossBandType(type)) {
    brush->SetColor(clBtnFace);
    ACanvas->FillRect(TRect(Left - 18, Top, Left, Top + tw));
    int textWidth = ACanvas->TextWidth(name);
    TOwnedFont upward(MakeUpwardFont(ACanvas->Font()));
    TSelectedObject selected(ACanvas->Handle(), upward);
    SetBkMode(ACanvas->Handle(), TRANSPARENT);
    TextOutA(ACanvas->Handle(), Left - 15, Top + textWidth + 4, name.c_str(), int(name.size()));
  } else {
    brush->SetColor(clBtnFace);
    ACanvas->FillRect(TRect(Left, Top - 18, Left + tw, Top));
    brush->SetStyle(bsClear);
    ACanvas->TextOut(Left + 4, Top - 17, name);
  }
  RestoreCoordinates();
}

HRGN TzrBandView::GetClipRegion(bool Grown) {
  TRect band = Grown ? TRect(Left - 10, Top - 10, Left + Width + 10, Top + Height + 10)
                     : TRect(Left, Top, Left + Width + 1, Top + Height + 1);
  int tw = TitleWidth();
  TRect tab = IsCrossBandType(BandType()) ? TRect(Left - 18, Top, Left, Top + tw) : TRect(Left, Top - 18, Left + tw, Top);
  HRGN region = CreateRectRgn(band.Left, band.Top, band.Right, band.Bottom);
  TOwnedRegion title(CreateRectRgn(tab.Left, tab.Top, tab.Right, tab.Bottom));
  CombineRgn(region, region, title, RGN_OR);
  return region;
}

void TzrBandView::ReadRecord(TStream* Stream) {
  TzrView::ReadRecord(Stream);
  if (zrEngine.StreamVersion <= 23) return;
  ChildBand = ReadVersionedString(Stream);
  Columns = ReadI32(Stream);
  ColumnWidth = ReadI32(Stream);
  ColumnGap = ReadI32(Stream);
  NewColumnAfter = ReadI32(Stream);
  if (RecordMajor * 10 + RecordMinor > 20) Master = ReadVersionedString(Stream);
}

void TzrBandView::WriteRecord(TStream* Stream) {
  RecordMinor = 1;
  TzrView::WriteRecord(Stream);
  WriteCountedString(Stream, ChildBand);
  WriteI32(Stream, Columns);
  WriteI32(Stream, ColumnWidth);
  WriteI32(Stream, ColumnGap);
  WriteI32(Stream, NewColumnAfter);
  WriteCountedString(Stream, Master);
}

void TzrBandView::SaveToXml(TStream* Stream) {
  int type = BandType();
  if (type < 0 || type >= zrBandTypeCount || kBandElements[type] == nullptr) return;
  WriteXmlText(Stream, String("<") + kBandElements[type]);
  WriteXmlAttribute(Stream, "Name", Name);
  WriteXmlAttribute(Stream, "Top", IntToStr(Top));
  WriteXmlAttribute(Stream, "Height", IntToStr(Height));
  WriteXmlAttribute(Stream, "Columns", IntToStr(Columns));
  WriteXmlAttribute(Stream, "ColumnWidth", IntToStr(ColumnWidth));
  WriteXmlAttribute(Stream, "ColumnGap", IntToStr(ColumnGap));
  if (!Visible) WriteXmlAttribute(Stream, "Visible", "False");
  if (!ChildBand.empty()) WriteXmlAttribute(Stream, "Child", XmlEscapeText(ChildBand));
  if (Flags & zrbfStretched) WriteXmlAttribute(Stream, "Stretched", "True");
  if (Flags & zrbfFormNewPage) WriteXmlAttribute(Stream, "StartNewPage", "True");
  if (Flags & zrbfPrintIfSubsetEmpty) WriteXmlAttribute(Stream, "PrintIfDetailEmpty", "True");
  if (Flags & zrbfBreaked) WriteXmlAttribute(Stream, "AllowSplit", "True");
  if ((Flags & zrbfOnFirstPage) == 0) WriteXmlAttribute(Stream, "PrintOnFirstPage", "False");
  if ((Flags & zrbfOnLastPage) == 0) WriteXmlAttribute(Stream, "PrintOnLastPage", "False");
  if (Flags & zrbfRepeatHeader) WriteXmlAttribute(Stream, "ReprintOnNewPage", "True");
  if (Flags & zrbfPrintChildIfInvisible) WriteXmlAttribute(Stream, "PrintChildIfInvisible", "True");
  if (Script()->Count() > 0) WriteXmlAttribute(Stream, "OnBeforePrint", Name + "OnBeforePrint");
  if (type == btMasterDataKind || type == btDetailDataKind || type == btSubDetailDataKind) {
    TComponent* owner = zrEngine.Host != nullptr ? zrEngine.Host->ReportOwner() : nullptr;
    TComponent* source = nullptr;
    try {
      source = FormatText.empty() ? nullptr : FindComponentPath(owner, FormatText);
    } catch (const Exception&) {
    }
    if (source != nullptr) WriteXmlAttribute(Stream, "DataSetName", XmlEscapeText(source->Name()));
  }
  if (type == btGroupHeader) WriteXmlAttribute(Stream, "Condition", XmlEscapeText(FormatText));
}

// ---- TzrSubReportView

TzrSubReportView::TzrSubReportView() {
  ObjectKind = zrKindSubReport;
  NameStem = "SubReport";
}

void TzrSubReportView::PaintOnCanvas(TCanvas* ACanvas) {
  PrepareDrawing(ACanvas);
  FrameWidth = 1;
  ComputeDrawRect();
  ACanvas->Brush()->SetColor(clWhite);
  ACanvas->Brush()->SetStyle(bsSolid);
  ACanvas->Pen()->SetColor(clBlack);
  ACanvas->Pen()->SetWidth(1);
  ACanvas->Pen()->SetStyle(psSolid);
  ACanvas->Rectangle(PaintRect);
  ACanvas->Font()->SetName("Arial");
  ACanvas->Font()->SetSize(8);
  ACanvas->Font()->SetColor(clBlack);
  ACanvas->TextRect(PaintRect, Left + 2, Top + 2, Name);
  RestoreCoordinates();
}

void TzrSubReportView::ReadRecord(TStream* Stream) {
  TzrView::ReadRecord(Stream);
  SubPage = ReadI32(Stream);
}

void TzrSubReportView::WriteRecord(TStream* Stream) {
  TzrView::WriteRecord(Stream);
  WriteI32(Stream, SubPage);
}

void TzrSubReportView::SaveToXml(TStream* Stream) {
  TzrView::SaveToXml(Stream);
  WriteXmlAttribute(Stream, "Page", "Page" + IntToStr(SubPage + 1));
}

// ---- TzrPictureView

namespace {

// Stored graphic kinds.
enum { gkNone, gkBitmap, gkMetafile, gkIcon, gkJpeg };

int GraphicKind(TGraphic* Graphic) {
  if (Graphic == nullptr || Graphic->Empty()) return gkNone;
  if (dynamic_cast<TBitmap*>(Graphic)) return gkBitmap;
  if (dynamic_cast<TMetafile*>(Graphic)) return gkMetafile;
  if (dynamic_cast<TIcon*>(Graphic)) return gkIcon;
  if (dynamic_cast<TJPEGImage*>(Graphic)) return gkJpeg;
  return gkNone;
}

std::unique_ptr<TGraphic> NewGraphic(int Kind) {
  switch (Kind) {
    case gkBitmap: return std::make_unique<TBitmap>();
    case gkMetafile: return std::make_unique<TMetafile>();
    case gkIcon: return std::make_unique<TIcon>();
    case gkJpeg: return std::make_unique<TJPEGImage>();
    default: return nullptr;
  }
}

std::unique_ptr<TGraphic> NewBlobGraphic(int BlobType) {
  switch (BlobType) {
    case btJPG: return std::make_unique<TJPEGImage>();
    case btICO: return std::make_unique<TIcon>();
    case btWMF: return std::make_unique<TMetafile>();
    default: return std::make_unique<TBitmap>();
  }
}

// Prints a bitmap as device-independent bits, which every printer driver takes.
void PrintDIBitmap(TCanvas* Canvas, const TRect& Target, TBitmap* Bitmap) {
  DIBSECTION section{};
  if (GetObjectA(Bitmap->Handle(), sizeof section, &section) != int(sizeof section)) return;
  BITMAPINFO info{};
  info.bmiHeader = section.dsBmih;
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  HDC dc = Canvas->Handle();
  if (!Bitmap->Monochrome()) SetStretchBltMode(dc, COLORONCOLOR);
  StretchDIBits(dc, Target.Left, Target.Top, Target.Width(), Target.Height(), 0, 0, Bitmap->Width(),
                Bitmap->Height(), section.dsBm.bmBits, &info, DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace

TzrPictureView::TzrPictureView() : FPicture(std::make_unique<TPicture>()) {
  ObjectKind = zrKindPicture;
  NameStem = "Picture";
  Flags = 5;
  TzrVariables* constants = zrGlobals().Constants();
  constants->SetByName("btBMP", Variant(0));
  constants->SetByName("btJPG", Variant(1));
  constants->SetByName("btICO", Variant(2));
  constants->SetByName("btWMF", Variant(3));
}

TzrPictureView::~TzrPictureView() = default;

void TzrPictureView::ListProperties() {
  TzrView::ListProperties();
  EnterProperty("Picture", zrpkEditor);
  EnterProperty("Stretched", zrpkBoolean);
  EnterProperty("Center", zrpkBoolean);
  EnterProperty("KeepAspect", zrpkBoolean);
  EnterProperty("DataField", zrpkText | zrpkTextEntry);
  EnterChoiceProperty("BlobType", "btBMP;btJPG;btICO;btWMF", {0, 1, 2, 3});
}

void TzrPictureView::SetProperty(const String& PropName, const Variant& Value) {
  TzrView::SetProperty(PropName, Value);
  String n = AnsiUpperCase(PropName);
  if (n == "CENTER") SetBit(Flags, zrpfCenter, Value.AsBoolean());
  else if (n == "KEEPASPECT") SetBit(Flags, zrpfKeepAspect, Value.AsBoolean());
  else if (n == "BLOBTYPE") BlobType = Value.AsInteger();
  else if (n == "PICTURE") {
    // The value is the address of a picture, as GetProperty hands it out.
    auto* source = reinterpret_cast<TPicture*>(static_cast<std::intptr_t>(Value.AsInt64()));
    if (source != nullptr) FPicture->Assign(source);
  }
}

Variant TzrPictureView::GetProperty(const String& PropName) {
  Variant result = TzrView::GetProperty(PropName);
  if (!VarIsEmpty(result)) return result;
  String n = AnsiUpperCase(PropName);
  if (n == "CENTER") return Variant((Flags & zrpfCenter) != 0);
  if (n == "KEEPASPECT") return Variant((Flags & zrpfKeepAspect) != 0);
  if (n == "BLOBTYPE") return Variant(BlobType);
  if (n == "PICTURE") return Variant(static_cast<long long>(reinterpret_cast<std::intptr_t>(FPicture.get())));
  return result;
}

void TzrPictureView::CallMethod(const String& Method, Variant& Result, const Variant& Arg1, const Variant& Arg2,
                                const Variant& Arg3) {
  TzrView::CallMethod(Method, Result, Arg1, Arg2, Arg3);
  if (AnsiUpperCase(Method) != "LOADFROMFILE") return;
  String fileName = VarToStr(zrGlobals().Parser()->Calculate(VarToStr(Arg1)));
  if (!fileName.empty() && FileExists(fileName))
    FPicture->LoadFromFile(fileName);
  else
    FPicture->SetGraphic(nullptr);
}

void TzrPictureView::LoadFromBlobField(TField* Field) {
  if (Field->IsNull()) {
    FPicture->SetGraphic(nullptr);
    return;
  }
  std::unique_ptr<TGraphic> graphic = NewBlobGraphic(BlobType);
  TMemoryStream stream;
  zrCopyBlobTo(Field, &stream);
  graphic->LoadFromStream(&stream);
  FPicture->SetGraphic(graphic.get());
}

TRect TzrPictureView::PictureTarget(int GraphicWidth, int GraphicHeight) const {
  TRect target = PaintRect;
  if (Flags & 1) {
    if ((Flags & zrpfKeepAspect) && GraphicWidth > 0 && GraphicHeight > 0) {
      double kx = double(Width) / GraphicWidth;
      double ky = double(Height) / GraphicHeight;
      if (kx >= ky)
        target.Right = target.Left + zrRound(GraphicWidth * ky);
      else
        target.Bottom = target.Top + zrRound(GraphicHeight * kx);
      if (Flags & zrpfCenter) {
        int dx = (PaintRect.Width() - target.Width()) / 2;
        int dy = (PaintRect.Height() - target.Height()) / 2;
        target = TRect(target.Left + dx, target.Top + dy, target.Right + dx, target.Bottom + dy);
      }
    }
    return target;
  }
  int w = zrRound(GraphicWidth * ZoomX);
  int h = zrRound(GraphicHeight * ZoomY);
  int x = PaintRect.Left;
  int y = PaintRect.Top;
  if (Flags & zrpfCenter) {
    x += (PaintRect.Width() - w) / 2;
    y += (PaintRect.Height() - h) / 2;
  }
  return TRect(x, y, x + w, y + h);
}

void TzrPictureView::PaintGraphic(TCanvas* ACanvas, const TRect& Target, TGraphic* Graphic) {
  if (!ToPrinter) {
    ACanvas->StretchDraw(Target, Graphic);
    return;
  }
  if (dynamic_cast<TMetafile*>(Graphic)) {
    ACanvas->StretchDraw(Target, Graphic);
  } else if (dynamic_cast<TIcon*>(Graphic) == nullptr) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(Graphic->Width(), Graphic->Height());
    bitmap.Canvas()->Draw(0, 0, Graphic);
    PrintDIBitmap(ACanvas, Target, &bitmap);
  }
}

void TzrPictureView::PaintOnCanvas(TCanvas* ACanvas) {
  PrepareDrawing(ACanvas);
  ComputeDrawRect();
  DrawBackground();
  TGraphic* graphic = FPicture->Graphic();
  if (graphic != nullptr && !graphic->Empty()) {
    PaintGraphic(ACanvas, PictureTarget(graphic->Width(), graphic->Height()), graphic);
  } else if (!zrEngine.Running) {
    ACanvas->Font()->SetName("Arial");
    ACanvas->Font()->SetSize(8);
    ACanvas->Font()->SetColor(clBlack);
    ACanvas->Brush()->SetStyle(bsClear);
    ACanvas->TextRect(PaintRect, Left + 20, Top + 3, EngineString(55228));
  }
  DrawFrame();
  RestoreCoordinates();
}

void TzrPictureView::ReadRecord(TStream* Stream) {
  TzrView::ReadRecord(Stream);
  int kind = ReadU8(Stream);
  if (RecordMajor * 10 + RecordMinor > 10) BlobType = ReadU8(Stream);
  std::int64_t end = ReadI32(Stream);
  if (end < Stream->Position() || end > Stream->Size())
    throw EReadError("Image de l'état endommagée (fin hors du flux)"_a);
  std::unique_ptr<TGraphic> graphic = NewGraphic(kind);
  if (graphic != nullptr) {
    TMemoryStream data;
    if (end > Stream->Position()) data.CopyFrom(Stream, end - Stream->Position());
    data.SetPosition(0);
    graphic->LoadFromStream(&data);
    FPicture->SetGraphic(graphic.get());
  } else {
    FPicture->SetGraphic(nullptr);
  }
  Stream->SetPosition(end);
}

void TzrPictureView::WriteRecord(TStream* Stream) {
  TzrView::WriteRecord(Stream);
  TGraphic* graphic = FPicture->Graphic();
  int kind = GraphicKind(graphic);
  WriteU8(Stream, static_cast<std::uint8_t>(kind));
  WriteU8(Stream, static_cast<std::uint8_t>(BlobType));
  std::int64_t placeholder = Stream->Position();
  WriteI32(Stream, std::int32_t(placeholder));
  if (kind != gkNone) graphic->SaveToStream(Stream);
  std::int64_t end = Stream->Position();
  Stream->SetPosition(placeholder);
  WriteI32(Stream, std::int32_t(end));
  Stream->Seek(0, soEnd);
}

void TzrPictureView::SaveToXml(TStream* Stream) {
  TzrView::SaveToXml(Stream);
  TGraphic* graphic = FPicture->Graphic();
  if (graphic != nullptr && !graphic->Empty()) {
    TMemoryStream data;
    graphic->SaveToStream(&data);
    String bytes(std::size_t(data.Size()), '\0');
    data.SetPosition(0);
    if (!bytes.empty()) data.ReadBuffer(bytes.data(), data.Size());
    WriteXmlAttribute(Stream, "Picture.Propdata", HexEncode(bytes));
  }
  if (Memo()->Count() > 0) {
    TDataSet* dataSet = nullptr;
    String field;
    ResolveFieldReference(Memo()->Strings(0), dataSet, field);
    if (dataSet != nullptr && !field.empty()) {
      String owner = dataSet->Owner() != nullptr ? dataSet->Owner()->Name() : String();
      WriteXmlAttribute(Stream, "DataSet", XmlEscapeText(owner + "." + dataSet->Name()));
      WriteXmlAttribute(Stream, "DataField", XmlEscapeText(field));
    }
  }
  if ((Flags & 1) == 0) WriteXmlAttribute(Stream, "Stretched", "False");
  if (Flags & zrpfCenter) WriteXmlAttribute(Stream, "Center", "True");
  if ((Flags & zrpfKeepAspect) == 0) WriteXmlAttribute(Stream, "KeepAspectRatio", "False");
}

// ---- TzrLineView

TzrLineView::TzrLineView() {
  ObjectKind = zrKindLine;
  NameStem = "Line";
  FrameTyp = zrFrameLeft;
  FillColor = 0xFFFFFF;
}

void TzrLineView::ListProperties() {
  TzrView::ListProperties();
  EnterProperty("Stretched", zrpkBoolean);
}

void TzrLineView::PaintOnCanvas(TCanvas* ACanvas) {
  PrepareDrawing(ACanvas);
  if (Height < Width) {
    Height = 0;
    FrameTyp = zrFrameTop;
  } else {
    Width = 0;
    FrameTyp = zrFrameLeft;
  }
  ComputeDrawRect();
  DrawFrame();
  RestoreCoordinates();
}

HRGN TzrLineView::GetClipRegion(bool Grown) {
  bool isDouble = FrameStyle == zrFrameDouble;
  int o = isDouble ? int(FrameWidth * 1.5) : int(FrameWidth * 0.5);
  int i = isDouble ? int(int((FrameWidth - 1) / 2) + FrameWidth) : int((FrameWidth - 1) / 2);
  TRect r(Left, Top, Left + Width + 1, Top + Height + 1);
  if (FrameTyp == zrFrameLeft) {
    r.Left -= o;
    r.Right += i;
  } else {
    r.Top -= o;
    r.Bottom += i;
  }
  if (Grown) r = TRect(r.Left - 10, r.Top - 10, r.Right + 10, r.Bottom + 10);
  return CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom);
}

void TzrLineView::SaveToXml(TStream* Stream) {
  TzrView::SaveToXml(Stream);
  if ((Flags & 1) == 0) WriteXmlAttribute(Stream, "Stretched", "False");
}

// ---- TzrControl

TzrControl::TzrControl() {
  ObjectKind = zrKindAddIn;
  FillColor = static_cast<TColor>(0xFF00000F);
  FrameTyp = 0;
}

TzrControl::~TzrControl() { delete FControl; }

void TzrControl::SetControl(TControl* Value) {
  delete FControl;
  FControl = Value;
}

void TzrControl::ListProperties() {
  EnterBoundsProperties();
  EnterProperty("Visible", zrpkBoolean);
  EnterProperty("Restrictions", zrpkEditor);
}

void TzrControl::SetProperty(const String& PropName, const Variant& Value) {
  TzrView::SetProperty(PropName, Value);
  if (AnsiUpperCase(PropName) == "VISIBLE" && FControl != nullptr) FControl->SetVisible(Value.AsBoolean());
}

void TzrControl::PlaceOnForm(TForm* Form) {
  if (FControl == nullptr) return;
  FControl->SetParent(Form);
  FControl->SetBounds(Left, Top, Width, Height);
}

void TzrControl::PaintOnCanvas(TCanvas* ACanvas) {
  PrepareDrawing(ACanvas);
  if (FControl != nullptr) FControl->SetBounds(FControl->Left(), FControl->Top(), Width, Height);
  ComputeDrawRect();
  PaintControl();
  RestoreCoordinates();
}

void TzrControl::PaintControl() {
  if (FControl == nullptr || Canvas == nullptr) return;
  TBitmap bitmap;
  bitmap.SetSize(Width + 1, Height + 1);
  bitmap.Canvas()->Brush()->SetColor(clBtnFace);
  bitmap.Canvas()->FillRect(TRect(0, 0, Width + 1, Height + 1));
  FControl->SetBounds(0, 0, Width, Height);
  TForm* form = zrGlobals().DialogForm();
  if (FControl->Parent() == nullptr) FControl->SetParent(form);
  HDC dc = bitmap.Canvas()->Handle();
  if (auto* windowed = dynamic_cast<TWinControl*>(FControl))
    SendMessageA(windowed->Handle(), WM_PRINT, WPARAM(dc), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
  Canvas->Draw(Left, Top, &bitmap);
}
