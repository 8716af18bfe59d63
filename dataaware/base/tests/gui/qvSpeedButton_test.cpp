// Tests of the speed button and the transparent panel as they show on screen: the image of each
// state, the flat button's edge, the margin, the embossed caption of a disabled button, the image
// an action gives, and the panel that lets its parent show through.
#include "NavTestSupport.h"

#include "ActnList.h"
#include "qvSpeedButton.h"
#include "qvThemes.h"
#include "qvclearpanel.h"

namespace {

const TColor Back = RGBToColor(200, 220, 240);
// Whether the system draws visual styles, as the library saw it first.
bool (*const SystemThemes)() = qvThemesActive;
bool NoThemes() { return false; }
// The images of the test list: up, disabled, pressed, hot.
const TColor ImageColors[] = {RGBToColor(200, 30, 30), RGBToColor(30, 160, 40), RGBToColor(20, 40, 190),
                              RGBToColor(220, 200, 20)};

// The classic look: visual styles off for the library.
class SpeedButtonTest : public StdFormTest {
 protected:
  void SetUp() override {
    qvThemesActive = &NoThemes;
    StdFormTest::SetUp();
    Form->SetColor(Back);
    Images = new TImageList(Form.get(), 16, 16);
    for (TColor Color : ImageColors) {
      TBitmap Image;
      Image.SetPixelFormat(pf24bit);
      Image.SetSize(16, 16);
      Image.Canvas()->Brush()->SetColor(Color);
      Image.Canvas()->FillRect(Rect(0, 0, 16, 16));
      Images->AddMasked(&Image, clFuchsia);
    }
    Button = new TqvSpeedButton(Form.get());
    Button->SetParent(Form.get());
    Button->SetBounds(20, 20, 25, 25);
    Button->SetFlat(true);
    Button->SetImageList(Images);
    Button->SetImageIndex(0);
    Button->SetNumGlyphs(4);
    ShowForm();
  }
  // The colour of a pixel of the button, once it has painted again.
  unsigned Pixel(int X, int Y) {
    Form->Repaint();
    return CaptureArea(Form.get(), Bounds(20 + X, 20 + Y, 1, 1)).At(0, 0);
  }
  // The glyph's middle: centred, one pixel low.
  unsigned GlyphPixel() { return Pixel(4 + 8, 5 + 8); }
  void TearDown() override {
    StdFormTest::TearDown();
    qvThemesActive = SystemThemes;
  }

  TImageList* Images = nullptr;
  TqvSpeedButton* Button = nullptr;
};

TEST_F(SpeedButtonTest, EachStateShowsItsImage) {
  EXPECT_EQ(GlyphPixel(), PixelValue(ImageColors[0]));
  Button->Perform(CM_MOUSEENTER);
  EXPECT_EQ(GlyphPixel(), PixelValue(ImageColors[3]));
  // Pressed: the left button down while the mouse is over the button.
  MoveMouseTo(CentreOf(Button));
  MouseButton(true);
  ASSERT_TRUE(WaitFor("the press", [&] { return Button->Pressed(); }));
  EXPECT_EQ(GlyphPixel(), PixelValue(ImageColors[2]));
  ReleaseButton();
  Button->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(GlyphPixel(), PixelValue(ImageColors[0]));
  // Fewer images: the states without one show the first.
  Button->SetNumGlyphs(2);
  Button->Perform(CM_MOUSEENTER);
  EXPECT_EQ(GlyphPixel(), PixelValue(ImageColors[0]));
  Button->Perform(CM_MOUSELEAVE);
}

// With visual styles, a hot flat button is the theme's tool-bar button over the parent's colour,
// and a raised one the theme's push button.
TEST_F(SpeedButtonTest, WithVisualStylesTheThemeDrawsTheFace) {
  qvThemesActive = SystemThemes;
  if (!qvThemesActive()) GTEST_SKIP() << "the system draws no visual styles";
  Button->SetImageIndex(-1);
  struct TLook {
    bool Flat;
    const char* Class;
    int Part;
  };
  for (TLook Look : {TLook{true, "TOOLBAR", qvThemeToolbarButton}, TLook{false, "BUTTON", qvThemeButtonPushButton}}) {
    SCOPED_TRACE(Look.Class);
    Button->SetFlat(Look.Flat);
    Button->Perform(CM_MOUSEENTER);
    Form->Repaint();
    TBitmap Expected;
    Expected.SetPixelFormat(pf24bit);
    Expected.SetSize(25, 25);
    Expected.Canvas()->Brush()->SetColor(Back);
    Expected.Canvas()->FillRect(Rect(0, 0, 25, 25));
    ASSERT_TRUE(qvDrawThemePart(Expected.Canvas()->Handle(), Look.Class, Look.Part, qvThemeHot, Rect(0, 0, 25, 25)));
    EXPECT_EQ(CaptureArea(Form.get(), Bounds(20, 20, 25, 25)).Pixels,
              CapturePicture(Expected.Canvas()->Handle(), Rect(0, 0, 25, 25)).Pixels);
    Button->Perform(CM_MOUSELEAVE);
  }
}

struct TDisabledCase {
  int ImageIndex;
  int NumGlyphs;
  int Shown;  // the image shown, -1: none (the parent's colour)
};

TEST_F(SpeedButtonTest, ADisabledButtonShowsItsDisabledImageOnlyWhenItHasOne) {
  const TDisabledCase Cases[] = {{0, 2, 1}, {0, 1, 0}, {2, 2, 3}, {-1, 2, -1}, {-1, 1, -1}};
  Button->SetEnabled(false);
  for (const TDisabledCase& Case : Cases) {
    SCOPED_TRACE(std::to_string(Case.ImageIndex) + " of " + std::to_string(Case.NumGlyphs));
    Button->SetImageIndex(Case.ImageIndex);
    Button->SetNumGlyphs(Case.NumGlyphs);
    EXPECT_EQ(Button->PaintImageIndex(), Case.Shown);
    EXPECT_EQ(GlyphPixel(), Case.Shown < 0 ? PixelValue(Back) : PixelValue(ImageColors[Case.Shown]));
  }
}

TEST_F(SpeedButtonTest, AFlatButtonShowsItsEdgeOnlyWhenHotOrDesigned) {
  Button->SetImageIndex(-1);
  EXPECT_EQ(Pixel(0, 0), PixelValue(Back));
  EXPECT_EQ(Pixel(24, 24), PixelValue(Back));
  Button->Perform(CM_MOUSEENTER);
  EXPECT_EQ(Pixel(0, 0), PixelValue(clBtnHighlight));
  EXPECT_EQ(Pixel(24, 24), PixelValue(clBtnShadow));
  Button->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(Pixel(0, 0), PixelValue(Back));
  // A disabled button under the mouse shows none either.
  Button->SetEnabled(false);
  Button->Perform(CM_MOUSEENTER);
  EXPECT_EQ(Pixel(0, 0), PixelValue(Back));
  Button->Perform(CM_MOUSELEAVE);
  Button->SetEnabled(true);
  Button->SetDesigning(true, false);
  EXPECT_EQ(Pixel(0, 0), PixelValue(clBtnHighlight));
  Button->SetDesigning(false, false);
  // A raised button has its frame and face always.
  Button->SetFlat(false);
  EXPECT_NE(Pixel(0, 0), PixelValue(Back));
  EXPECT_EQ(Pixel(12, 12), PixelValue(clBtnFace));
}

TEST_F(SpeedButtonTest, AMarginPlacesTheGlyphFromTheCorner) {
  Button->SetMargin(5);
  // The content starts 5 pixels in; the glyph one more down, and one more right since the
  // content is 25 wide (odd).
  EXPECT_EQ(Pixel(5, 5), PixelValue(Back));
  EXPECT_EQ(Pixel(6, 6), PixelValue(ImageColors[0]));
  EXPECT_EQ(Pixel(21, 21), PixelValue(ImageColors[0]));
  EXPECT_EQ(Pixel(22, 22), PixelValue(Back));
}

TEST_F(SpeedButtonTest, ADisabledCaptionIsEmbossed) {
  const TColor Shade = RGBToColor(120, 0, 0);
  const TColor Light = RGBToColor(0, 0, 230);
  Button->SetImageList(nullptr);
  // The button's own font, not the canvas's.
  Button->Font()->SetHeight(-16);
  Button->Font()->SetStyle({fsBold});
  Button->SetCaption("Ab");
  Button->SetShowText(true);
  Button->DisabledTextColors()->SetShadeColor(Shade);
  Button->DisabledTextColors()->SetHighlightColor(Light);
  Button->SetEnabled(false);
  Form->Repaint();
  // What the same font draws: the highlight one pixel right and down, the shade over it.
  TBitmap Expected;
  Expected.SetPixelFormat(pf24bit);
  Expected.SetSize(25, 25);
  TCanvas* C = Expected.Canvas();
  C->Brush()->SetColor(Back);
  C->FillRect(Rect(0, 0, 25, 25));
  C->SetFont(Button->Font());
  TSize Extent = C->TextExtent("Ab");
  TRect T = Bounds((25 - Extent.cx) / 2, (25 - Extent.cy) / 2, Extent.cx, Extent.cy);
  HDC DC = C->Handle();
  SetBkMode(DC, TRANSPARENT);
  const UINT Format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  RECT Shifted{T.Left + 1, T.Top + 1, T.Right + 1, T.Bottom + 1};
  SetTextColor(DC, ColorToRGB(Light));
  DrawTextA(DC, "Ab", 2, &Shifted, Format);
  SetTextColor(DC, ColorToRGB(Shade));
  DrawTextA(DC, "Ab", 2, AsRECT(T), Format);
  TPixelArea Want = CapturePicture(DC, Rect(0, 0, 25, 25));
  TPixelArea Seen = CaptureArea(Form.get(), Bounds(20, 20, 25, 25));
  EXPECT_EQ(Seen.Pixels, Want.Pixels);
  EXPECT_GT(std::count(Seen.Pixels.begin(), Seen.Pixels.end(), PixelValue(Shade)), 0);
  EXPECT_GT(std::count(Seen.Pixels.begin(), Seen.Pixels.end(), PixelValue(Light)), 0);
}

TEST_F(SpeedButtonTest, AnActionOfTheSameImagesGivesItsImage) {
  auto* List = new TActionList(Form.get());
  List->SetImages(Images);
  auto* Action = new TAction(Form.get());
  Action->SetActionList(List);
  Action->SetImageIndex(2);
  Button->SetAction(Action);
  EXPECT_EQ(Button->ImageIndex(), 2);
  // An index the list does not have, or another list, changes nothing.
  auto* Other = new TAction(Form.get());
  Other->SetActionList(List);
  Other->SetImageIndex(9);
  Button->SetAction(Other);
  EXPECT_EQ(Button->ImageIndex(), 2);
  List->SetImages(nullptr);
  Button->SetAction(Action);
  EXPECT_EQ(Button->ImageIndex(), 2);
  // The list going away is forgotten by the button.
  delete Images;
  EXPECT_EQ(Button->ImageList(), nullptr);
  Images = nullptr;
}

class TransparentPanelTest : public StdFormTest {
 protected:
  void SetUp() override {
    StdFormTest::SetUp();
    Form->SetColor(Back);
    Panel = new TqvCustomTransparentPanel(Form.get());
    Panel->SetBounds(20, 20, 60, 40);
    Panel->SetColor(RGBToColor(30, 160, 40));
    Panel->SetTransparent(true);
  }
  TqvCustomTransparentPanel* Panel = nullptr;
};

TEST_F(TransparentPanelTest, ATransparentPanelDrawsItsFrameAndLetsItsParentShow) {
  Panel->SetParent(Form.get());
  ShowForm();
  ASSERT_TRUE(Painted(Form.get()));
  EXPECT_TRUE(GetWindowLongA(Panel->Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
  EXPECT_FALSE(Panel->ControlStyle.Contains(csOpaque));
  TPixelArea Seen = CaptureArea(Form.get(), Bounds(20, 20, 60, 40));
  EXPECT_EQ(Seen.At(0, 0), PixelValue(clBtnHighlight));
  EXPECT_EQ(Seen.At(59, 39), PixelValue(clBtnShadow));
  EXPECT_EQ(Seen.At(30, 20), PixelValue(Back));
  EXPECT_EQ(Seen.At(1, 1), PixelValue(Back));
}

TEST_F(TransparentPanelTest, APanelBeingDesignedPaintsOpaque) {
  Panel->SetDesigning(true, false);
  Panel->SetParent(Form.get());
  ShowForm();
  ASSERT_TRUE(Painted(Form.get()));
  EXPECT_FALSE(Panel->IsTransparent());
  EXPECT_FALSE(GetWindowLongA(Panel->Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
  TPixelArea Seen = CaptureArea(Form.get(), Bounds(20, 20, 60, 40));
  EXPECT_EQ(Seen.At(30, 20), PixelValue(RGBToColor(30, 160, 40)));
}

}  // namespace
