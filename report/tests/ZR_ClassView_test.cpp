// Tests of the report objects: properties by name and the owner of a dotted name, list methods,
// geometry under zoom, band alignment, the XML element starts, the picture's target, the line and
// the shape, and pixels: a memo, its frame and its background drawn as the same font and colours
// draw them.
#include <gtest/gtest.h>

#include "ZrReportFixture.h"
#include "Streams.h"
#include "ZR_Shape.h"

namespace {

// A report of two pages with a memo, owned by a form, current in the engine.
class ZrViews : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterShapeView();
    Owner = std::make_unique<TComponent>(nullptr);
    Report = new TzrReport(Owner.get());
    Report->SetName("zrVues");
    First = Report->Pages()->Add();
    First->Name = "Recto";
    Second = Report->Pages()->Add();
    Second->Name = "Verso";
    Memo = new TzrMemoView();
    Memo->Name = "Memo1";
    Memo->PlaceAt(10, 20, 100, 40);
    First->AddObject(Memo);
    Report->MakeCurrent(true);
    Report->BindParser();
    zrEngine.CurView = Memo;
  }
  void TearDown() override {
    zrEngine.CurView = nullptr;
    zrEngine.CurPage = nullptr;
    zrEngine.Running = false;
    Owner.reset();
  }
  std::string Xml(TzrView* View) {
    TStringStream stream;
    View->SaveToXml(&stream);
    return stream.DataString();
  }

  TModalScript Modal;
  std::unique_ptr<TComponent> Owner;
  TzrReport* Report = nullptr;
  TzrPage* First = nullptr;
  TzrPage* Second = nullptr;
  TzrMemoView* Memo = nullptr;
};

TEST_F(ZrViews, PropertiesByName) {
  Memo->SetProperty("framewidth", Variant(2.5));
  Memo->SetProperty("STRETCHED", Variant(false));
  Memo->SetProperty("Font.Size", Variant(14));
  Memo->SetProperty("Font.Style", Variant(2));
  Memo->SetProperty("WordBreak", Variant(true));
  Memo->SetProperty("Memo", Variant("a\r\nb"));
  EXPECT_EQ(Memo->FrameWidth, 2.5);
  EXPECT_EQ(Memo->Flags & 1, 0);
  EXPECT_EQ(Memo->Font()->Size(), 14);
  EXPECT_EQ(Memo->Font()->Style(), TFontStyles{fsBold}) << "2 is bold in the report's numbering";
  EXPECT_TRUE(Memo->Flags & zrmfWordBreak);
  EXPECT_EQ(Memo->GetProperty("Memo.Count").AsInteger(), 2);
  EXPECT_EQ(VarToStr(Memo->GetProperty("DataField")), "a");
  EXPECT_EQ(Memo->GetProperty("Font.Style").AsInteger(), 2);
  EXPECT_TRUE(VarIsEmpty(Memo->GetProperty("NoSuchProperty")));
  EnsureProperties(Memo);
  ASSERT_NE(FindObjectProperty(Memo, "framewidth"), nullptr);
  EXPECT_EQ(FindObjectProperty(Memo, "FrameWidth")->Kind, zrpkFloat | zrpkPosition);
  EXPECT_EQ(FindObjectProperty(Memo, "Name")->Kind, 257);
  TzrPropRec* style = FindObjectProperty(Memo, "FrameStyle");
  ASSERT_NE(style, nullptr);
  EXPECT_EQ(style->Choices->Count(), 6);
  EXPECT_EQ(style->Values.GetElement(5).AsInteger(), 5);
}

TEST_F(ZrViews, DottedNamesFindTheirObject) {
  TzrObject* object = nullptr;
  String property;
  ResolvePropertyOwner("Page2.Name", object, property);
  EXPECT_EQ(object, Second);
  EXPECT_EQ(property, "Name");
  ResolvePropertyOwner("Font.Size", object, property);
  EXPECT_EQ(object, Memo) << "a property of the current object";
  EXPECT_EQ(property, "Font.Size");
  ResolvePropertyOwner("Memo1.Left", object, property);
  EXPECT_EQ(object, Memo);
  EXPECT_EQ(property, "Left");
  ResolvePropertyOwner("Absent.Left", object, property);
  EXPECT_EQ(object, nullptr);
  Variant value;
  Report->ResolveName("Page2.Name", value);
  EXPECT_EQ(VarToStr(value), "Verso");
}

TEST_F(ZrViews, ListMethodsEvaluateTheirArguments) {
  Variant result;
  Memo->CallMethod("MEMO.ADD", result, Variant("'mare' + ' ' + 'temporaire'"), Variant(), Variant());
  Memo->CallMethod("LINES.ADD", result, Variant("1 + 1"), Variant(), Variant());
  EXPECT_EQ(Memo->Memo()->Text(), "mare temporaire\r\n2\r\n");
  Memo->CallMethod("Memo.IndexOf", result, Variant("'2'"), Variant(), Variant());
  EXPECT_EQ(result.AsInteger(), 1);
  Memo->CallMethod("memo.delete", result, Variant("0"), Variant(), Variant());
  EXPECT_EQ(Memo->Memo()->Text(), "2\r\n");
  Memo->CallMethod("HIDE", result, Variant(), Variant(), Variant());
  EXPECT_FALSE(Memo->Visible);
  Memo->CallMethod("SHOW", result, Variant(), Variant(), Variant());
  EXPECT_TRUE(Memo->Visible);
}

TEST_F(ZrViews, GeometryUnderZoom) {
  zrEngine.Running = true;
  Memo->ZoomX = Memo->ZoomY = 2;
  Memo->ShiftX = 5;
  Memo->ShiftY = 7;
  Memo->GapX = 2;
  Memo->GapY = 1;
  Memo->FrameWidth = 1;
  Memo->FrameTyp = 0;
  Memo->ComputeDrawRect();
  EXPECT_EQ(Memo->Left, 25);
  EXPECT_EQ(Memo->Top, 47);
  EXPECT_EQ(Memo->Width, 200);
  EXPECT_EQ(Memo->GapX, 2 * 2 + 1) << "twice the gap and the half frame width";
  EXPECT_EQ(Memo->GapY, 2 * 1) << "the half frame width halved again";
  EXPECT_EQ(Memo->PaintRect, TRect(25, 47, 226, 128));
  Memo->RestoreCoordinates();
  EXPECT_EQ(Memo->Left, 10);
  EXPECT_EQ(Memo->GapX, 2);
  EXPECT_EQ(Memo->FrameWidth, 1);
}

TEST_F(ZrViews, BandAlignment) {
  zrEngine.Running = true;
  zrEngine.CurPage = First;
  First->UseMargins = true;
  First->Margins = TRect(10, 10, 0, 0);
  Memo->BandAlign = baLeft;
  Memo->Width = 50;
  Memo->Left = 300;
  auto* second = new TzrMemoView();
  second->Name = "Memo2";
  second->PlaceAt(400, 20, 50, 40);
  second->BandAlign = baLeft;
  First->AddObject(second);
  TCanvas* canvas = zrGlobals().ScratchBitmap()->Canvas();
  Memo->PrepareDrawing(canvas);
  second->PrepareDrawing(canvas);
  EXPECT_EQ(Memo->Left, 10);
  EXPECT_EQ(second->Left, 60) << "after its left neighbour";
  // Centred between printable limits 20 and 520.
  First->Margins = TRect(20, 10, First->PrintArea.PageWidth - 520, 0);
  second->BandAlign = baCenter;
  second->Width = 100;
  second->PrepareDrawing(canvas);
  EXPECT_EQ(second->Left, 220);
  // Right: against the right limit.
  second->BandAlign = baRight;
  second->PrepareDrawing(canvas);
  EXPECT_EQ(second->Left, 420);
}

TEST_F(ZrViews, XmlElementStarts) {
  Memo->BandAlign = baRest;
  Memo->Tag = "a < b & \"c\"";
  Memo->FrameTyp = zrFrameLeft | zrFrameBottom;
  std::string xml = Xml(Memo);
  EXPECT_EQ(xml.substr(0, 30), "<TzrxMemoView Name=\"Memo1\" Lef");
  EXPECT_NE(xml.find(" Align=\"4\""), std::string::npos) << xml;
  EXPECT_NE(xml.find(" TagStr=\"a &lt; b &amp; &quot;c&quot;\""), std::string::npos) << xml;
  EXPECT_NE(xml.find(" Frame.Typ=\"9\""), std::string::npos) << "left 1 and bottom 8 in the XML's numbering";
  Memo->BandAlign = baTop;
  EXPECT_NE(Xml(Memo).find(" Align=\"0\""), std::string::npos);
  TzrBandView band;
  band.Name = "Entete";
  band.SetBandType(btGroupHeader);
  band.Flags = zrbfRepeatHeader;
  band.FormatText = "[x] < 3";
  std::string element = Xml(&band);
  EXPECT_EQ(element.substr(0, 16), "<TzrxGroupHeader");
  std::size_t first = element.find("ReprintOnNewPage");
  EXPECT_NE(first, std::string::npos);
  EXPECT_EQ(element.find("ReprintOnNewPage", first + 1), std::string::npos) << "once";
  EXPECT_NE(element.find(" Condition=\"[x] &lt; 3\""), std::string::npos) << element;
  band.SetBandType(btCrossDataKind);
  EXPECT_EQ(Xml(&band), "") << "cross-tab bands have no element";
}

TEST_F(ZrViews, PictureTargetWithKeepAspectAndCenter) {
  TzrPictureView picture;
  picture.PlaceAt(0, 0, 100, 100);
  picture.Flags = 1 | zrpfKeepAspect | zrpfCenter;
  picture.ComputeDrawRect();
  EXPECT_EQ(picture.PictureTarget(100, 50), TRect(0, 25, 101, 75)) << "100 x 50, moved down by 25";
  picture.Flags = 1;
  EXPECT_EQ(picture.PictureTarget(100, 50), picture.PaintRect) << "stretched over the box";
  picture.Flags = zrpfCenter;
  EXPECT_EQ(picture.PictureTarget(20, 10), TRect(40, 45, 60, 55));
  picture.RestoreCoordinates();
}

// ---- Pixels

// A white 300 x 120 bitmap to draw on.
std::unique_ptr<TBitmap> WhiteBitmap() {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(300, 120);
  bitmap->Canvas()->Brush()->SetColor(clWhite);
  bitmap->Canvas()->FillRect(TRect(0, 0, 300, 120));
  return bitmap;
}

bool SamePixels(TBitmap* A, TBitmap* B, String& Where) {
  for (int y = 0; y < A->Height(); ++y)
    for (int x = 0; x < A->Width(); ++x)
      if (A->Canvas()->Pixels(x, y) != B->Canvas()->Pixels(x, y)) {
        Where = IntToStr(x) + "," + IntToStr(y);
        return false;
      }
  return true;
}

TEST_F(ZrViews, MemoDrawsItsTextWhereTheSameFontDoes) {
  zrEngine.Running = true;
  Memo->PlaceAt(20, 10, 250, 60);
  Memo->Memo()->SetText("Marais de Brière"_a);
  Memo->Font()->SetColor(0x0000C0);
  auto drawn = WhiteBitmap();
  Memo->PaintOnCanvas(drawn->Canvas());
  // The same text, font and colour at the memo's first line: gaps 2 and 1.
  auto expected = WhiteBitmap();
  TCanvas* c = expected->Canvas();
  c->Font()->SetName("Arial");
  c->Font()->SetHeight(-13);
  c->Font()->SetColor(0x0000C0);
  c->Brush()->SetStyle(bsClear);
  c->TextOut(20 + 2, 10 + 1, "Marais de Brière"_a);
  String where;
  EXPECT_TRUE(SamePixels(drawn.get(), expected.get(), where)) << "first difference at " << where;
}

TEST_F(ZrViews, FrameAndBackgroundFollowTheSidesAndColour) {
  zrEngine.Running = true;
  Memo->PlaceAt(20, 10, 100, 50);
  Memo->FillColor = 0x00FFFF;
  Memo->FrameTyp = zrFrameLeft | zrFrameTop;
  Memo->FrameColor = 0xFF0000;
  auto drawn = WhiteBitmap();
  Memo->PaintOnCanvas(drawn->Canvas());
  TCanvas* c = drawn->Canvas();
  EXPECT_EQ(c->Pixels(20, 30), 0xFF0000) << "left side";
  EXPECT_EQ(c->Pixels(60, 10), 0xFF0000) << "top side";
  EXPECT_EQ(c->Pixels(60, 30), 0x00FFFF) << "background";
  EXPECT_EQ(c->Pixels(119, 30), 0x00FFFF) << "no right side: the background reaches the edge";
  EXPECT_EQ(c->Pixels(120, 30), 0xFFFFFF);
  EXPECT_EQ(c->Pixels(60, 60), 0xFFFFFF) << "below the object";
  // Without a fill colour nothing is painted while the engine runs.
  auto transparent = WhiteBitmap();
  Memo->FillColor = zrNoColor;
  Memo->FrameTyp = 0;
  Memo->PaintOnCanvas(transparent->Canvas());
  EXPECT_EQ(transparent->Canvas()->Pixels(60, 30), 0xFFFFFF);
}

TEST_F(ZrViews, LineAndShapeFigures) {
  zrEngine.Running = true;
  TzrLineView line;
  line.PlaceAt(10, 40, 200, 3);
  line.FrameColor = 0x000000;
  auto drawn = WhiteBitmap();
  line.PaintOnCanvas(drawn->Canvas());
  EXPECT_EQ(line.Height, 0) << "a line wider than high is horizontal and keeps height 0";
  EXPECT_EQ(line.FrameTyp, zrFrameTop);
  EXPECT_EQ(drawn->Canvas()->Pixels(100, 40), 0x000000);
  EXPECT_EQ(drawn->Canvas()->Pixels(100, 42), 0xFFFFFF);

  // A filled ellipse: its centre takes the fill, its box corners stay white.
  TzrShapeView shape;
  shape.PlaceAt(100, 20, 90, 40);
  shape.Shape = skEllipse;
  shape.FillColor = 0x00FF00;
  shape.FrameColor = 0x000000;
  auto figure = WhiteBitmap();
  shape.PaintOnCanvas(figure->Canvas());
  EXPECT_EQ(figure->Canvas()->Pixels(145, 40), 0x00FF00);
  EXPECT_EQ(figure->Canvas()->Pixels(101, 21), 0xFFFFFF);
  // Without a fill colour only the outline is drawn.
  shape.FillColor = zrNoColor;
  auto outline = WhiteBitmap();
  shape.PaintOnCanvas(outline->Canvas());
  EXPECT_EQ(outline->Canvas()->Pixels(145, 40), 0xFFFFFF);
  EXPECT_EQ(outline->Canvas()->Pixels(100, 40), 0x000000) << "the outline's left end";
}

}  // namespace

namespace {

TEST_F(ZrViews, DoubleAndDashedFrameSides) {
  zrEngine.Running = true;
  Memo->PlaceAt(50, 20, 100, 60);
  Memo->FrameTyp = zrFrameLeft;
  Memo->FrameColor = 0x000000;
  Memo->FillColor = 0x00FFFF;
  // Double, width 1: the frame colour one pixel on each side, the fill colour on the side itself.
  Memo->FrameStyle = zrFrameDouble;
  auto drawn = WhiteBitmap();
  Memo->PaintOnCanvas(drawn->Canvas());
  EXPECT_EQ(drawn->Canvas()->Pixels(49, 50), 0x000000);
  EXPECT_EQ(drawn->Canvas()->Pixels(50, 50), 0x00FFFF);
  EXPECT_EQ(drawn->Canvas()->Pixels(51, 50), 0x000000);
  // Dashed, width 3: three one-pixel dashed lines side by side, gaps included.
  Memo->FrameStyle = 1;
  Memo->FrameWidth = 3;
  Memo->FillColor = zrNoColor;
  auto dashed = WhiteBitmap();
  Memo->PaintOnCanvas(dashed->Canvas());
  for (int x : {49, 50, 51}) {
    int black = 0, other = 0;
    for (int y = 20; y < 80; ++y) (dashed->Canvas()->Pixels(x, y) == 0x000000 ? black : other)++;
    EXPECT_GT(black, 10) << "column " << x;
    EXPECT_GT(other, 10) << "column " << x << " has gaps";
  }
  EXPECT_EQ(dashed->Canvas()->Pixels(48, 50), 0xFFFFFF);
  EXPECT_EQ(dashed->Canvas()->Pixels(52, 50), 0xFFFFFF);
}

}  // namespace
