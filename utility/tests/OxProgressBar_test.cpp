// Tests of the progress bar: how position and bounds keep each other in range, the blocks and
// the filled width read back from the pixels of the painted bar, gradients, when the picture is
// redrawn, the text over the bar, the look the exchange window gives it in its description, and
// the hint colour while the mouse is over it.
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <tuple>

#include "Filer.h"
#include "Forms.h"
#include "OxProgressBar.h"
#include "UiTestSupport.h"

namespace {

// A bar of its initial size (150 x 15), without parent: it renders into its buffer all the same.
class OxProgressTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Bar = std::make_unique<TOxSpecialProgress>(nullptr);
    Bar->SetColor(clYellow);
  }
  // The bar painted as the screen would get it.
  std::unique_ptr<TBitmap> Painted() {
    auto result = std::make_unique<TBitmap>();
    result->SetSize(Bar->Width(), Bar->Height());
    Bar->Perform(WM_PAINT, WPARAM(result->Canvas()->Handle()));
    return result;
  }
  static COLORREF At(TBitmap* Bitmap, int X, int Y) { return COLORREF(Bitmap->Canvas()->Pixels(X, Y)); }
  std::unique_ptr<TOxSpecialProgress> Bar;
};

// --- Range ------------------------------------------------------------------------------------

struct RangeCase {
  const char* Name;
  void (*Apply)(TOxSpecialProgress*);
  int Minimum, Maximum, Position;
};

TEST_F(OxProgressTest, PositionAndBoundsStayInRange) {
  const RangeCase cases[] = {
      {"position above the maximum", [](TOxSpecialProgress* b) { b->SetPosition(150); }, 0, 100, 100},
      {"position below the minimum", [](TOxSpecialProgress* b) { b->SetPosition(-5); }, 0, 100, 0},
      {"maximum below the position pulls it down",
       [](TOxSpecialProgress* b) { b->SetPosition(80); b->SetMaximum(50); }, 0, 50, 50},
      {"maximum above the position leaves it", [](TOxSpecialProgress* b) { b->SetPosition(30); b->SetMaximum(1000); },
       0, 1000, 30},
      {"maximum below the minimum becomes the minimum",
       [](TOxSpecialProgress* b) { b->SetMinimum(10); b->SetMaximum(-20); }, 10, 10, 10},
      {"minimum above the position pushes it up", [](TOxSpecialProgress* b) { b->SetPosition(10); b->SetMinimum(20); },
       20, 100, 20},
      {"minimum above the maximum becomes the maximum",
       [](TOxSpecialProgress* b) { b->SetPosition(40); b->SetMinimum(200); }, 100, 100, 100},
      {"negative ranges", [](TOxSpecialProgress* b) { b->SetMinimum(-50); b->SetMaximum(-10); b->SetPosition(-30); },
       -50, -10, -30},
  };
  for (const RangeCase& c : cases) {
    TOxSpecialProgress bar(nullptr);
    c.Apply(&bar);
    EXPECT_EQ(bar.Minimum(), c.Minimum) << c.Name;
    EXPECT_EQ(bar.Maximum(), c.Maximum) << c.Name;
    EXPECT_EQ(bar.Position(), c.Position) << c.Name;
  }
}

TEST_F(OxProgressTest, EmptyRangeKeepsTheLastFilledWidthAndShowsZeroPercent) {
  Bar->SetTextOption(toPercent);
  Bar->SetPosition(52);
  ASSERT_EQ(Bar->FilledWidth(), 80);
  Bar->SetMaximum(-1);  // becomes the minimum, 0: an empty range
  EXPECT_EQ(Bar->Maximum(), 0);
  EXPECT_EQ(Bar->Percent(), 0);
  EXPECT_EQ(Bar->DisplayText(), "0%");
  EXPECT_EQ(Bar->FilledWidth(), 80);
  Painted();  // no division by zero while painting either
  // The whole 32-bit range does not overflow.
  Bar->SetMinimum(INT_MIN);
  Bar->SetMaximum(INT_MAX);
  Bar->SetPosition(INT_MAX);
  EXPECT_EQ(Bar->Percent(), 100);
  EXPECT_EQ(Bar->FilledWidth(), 148);
  Bar->SetPosition(0);
  EXPECT_EQ(Bar->Percent(), 50);
}

// --- Layout -----------------------------------------------------------------------------------

struct LayoutCase {
  int Width;
  bool Solid;
  int Percent;
  int Blocks;
  int Filled;
  bool Partial;
  int PartialWidth;
};

TEST_F(OxProgressTest, BlocksAreAddedOnceMoreThanHalfFilled) {
  const LayoutCase cases[] = {
      {150, false, 0, 0, 0, false, 0},
      {150, false, 50, 7, 70, false, 0},    // 74 pixels: 7 blocks and a remainder of 4
      {150, false, 51, 7, 70, false, 0},    // remainder 5: exactly half is not enough
      {150, false, 52, 8, 80, false, 10},   // remainder 6: an eighth whole block
      {150, false, 100, 15, 148, true, 8},  // the last block is cut to the space left
      {150, true, 50, 0, 74, false, 0},
      {150, true, 100, 0, 148, false, 0},
  };
  for (const LayoutCase& c : cases) {
    TOxSpecialProgress bar(nullptr);
    bar.SetWidth(c.Width);
    bar.SetSolid(c.Solid);
    bar.SetPosition(c.Percent);
    std::string name = std::to_string(c.Percent) + (c.Solid ? "% solid" : "%");
    if (c.Percent > 0) {
      EXPECT_EQ(bar.BlockWidth(), c.Solid ? 0 : 10) << name;
    }
    EXPECT_EQ(bar.BlockCount(), c.Blocks) << name;
    EXPECT_EQ(bar.FilledWidth(), c.Filled) << name;
    EXPECT_EQ(bar.HasPartialBlock(), c.Partial) << name;
    if (c.Blocks > 0) {
      EXPECT_EQ(bar.PartialWidth(), c.PartialWidth) << name;
    }
  }
}

TEST_F(OxProgressTest, PaintedBlocksGapsAndEmptyPart) {
  Bar->SetStartColor(clNavy);
  Bar->SetEndColor(clNavy);
  Bar->SetPosition(52);
  auto picture = Painted();
  const COLORREF navy = ColorToRGB(clNavy), yellow = ColorToRGB(clYellow);
  // Blocks of 9 pixels from x = 1, a gap in the bar's colour every 10.
  for (int x = 1; x < 80; ++x) {
    bool gap = x % 10 == 0;
    EXPECT_EQ(At(picture.get(), x, 7), gap ? yellow : navy) << "x " << x;
  }
  EXPECT_EQ(At(picture.get(), 80, 7), yellow);  // the eighth block's gap
  for (int x = 81; x < 149; ++x) EXPECT_EQ(At(picture.get(), x, 7), yellow) << "x " << x;
  // Without a border style: a one-pixel frame in the bar's colour.
  for (int x : {0, 5, 149}) {
    EXPECT_EQ(At(picture.get(), x, 0), yellow) << x;
    EXPECT_EQ(At(picture.get(), x, 14), yellow) << x;
  }
  EXPECT_EQ(At(picture.get(), 5, 1), navy);
  EXPECT_EQ(At(picture.get(), 5, 13), navy);

  // At 100 % the cut last block reaches the right frame.
  Bar->SetPosition(100);
  picture = Painted();
  for (int x = 141; x < 149; ++x) EXPECT_EQ(At(picture.get(), x, 7), navy) << "x " << x;
  EXPECT_EQ(At(picture.get(), 140, 7), yellow);
  EXPECT_EQ(At(picture.get(), 149, 7), yellow);
}

TEST_F(OxProgressTest, SolidGradientRoundsEachColumnToEven) {
  // 74 columns from black to red 37: half a step of red per column.
  Bar->SetSolid(true);
  Bar->SetStartColor(clBlack);
  Bar->SetEndColor(RGBToColor(37, 0, 74));
  Bar->SetPosition(50);
  ASSERT_EQ(Bar->FilledWidth(), 74);
  auto picture = Painted();
  struct Column {
    int Index;
    int Red;
  } const columns[] = {{0, 0}, {1, 0}, {2, 1}, {3, 2}, {5, 2}, {7, 4}, {73, 36}};
  for (const Column& c : columns) {
    COLORREF pixel = At(picture.get(), 1 + c.Index, 7);
    EXPECT_EQ(GetRValue(pixel), c.Red) << "column " << c.Index;
    EXPECT_EQ(GetBValue(pixel), c.Index) << "column " << c.Index;
  }
  EXPECT_EQ(At(picture.get(), 75, 7), ColorToRGB(clYellow));
}

TEST_F(OxProgressTest, GradientPerBlockOrPerColumn) {
  // 70 filled pixels from blue 0 to 140: two steps of blue per pixel.
  Bar->SetStartColor(clBlack);
  Bar->SetEndColor(RGBToColor(0, 0, 140));
  Bar->SetPosition(50);
  ASSERT_EQ(Bar->FilledWidth(), 70);
  auto blue = [](COLORREF c) { return int(GetBValue(c)); };
  auto picture = Painted();
  // One colour per block, advancing by a block's width.
  EXPECT_EQ(blue(At(picture.get(), 1, 7)), 0);
  EXPECT_EQ(blue(At(picture.get(), 9, 7)), 0);
  EXPECT_EQ(blue(At(picture.get(), 11, 7)), 20);
  EXPECT_EQ(blue(At(picture.get(), 69, 7)), 120);
  EXPECT_EQ(At(picture.get(), 10, 7), ColorToRGB(clYellow));
  Bar->SetGradientBlocks(true);
  picture = Painted();
  // Column by column, the gap counting as one.
  EXPECT_EQ(blue(At(picture.get(), 1, 7)), 0);
  EXPECT_EQ(blue(At(picture.get(), 9, 7)), 16);
  EXPECT_EQ(blue(At(picture.get(), 11, 7)), 20);
  EXPECT_EQ(blue(At(picture.get(), 69, 7)), 136);
  EXPECT_EQ(At(picture.get(), 10, 7), ColorToRGB(clYellow));
  // A solid bar has no blocks: switching them changes nothing there.
  Bar->SetSolid(true);
  picture = Painted();
  Bar->Buffer()->Canvas()->SetPixels(3, 3, clRed);
  Bar->SetGradientBlocks(false);
  EXPECT_EQ(At(Bar->Buffer(), 3, 3), ColorToRGB(clRed));
}

// --- Redrawing --------------------------------------------------------------------------------

TEST_F(OxProgressTest, RedrawsOnlyWhenTheBarOrItsTextChanges) {
  Bar->SetPosition(50);
  Painted();
  // A mark on the buffer shows whether it was drawn again.
  auto mark = [&] { Bar->Buffer()->Canvas()->SetPixels(120, 7, clRed); };
  auto redrawn = [&] { return At(Bar->Buffer(), 120, 7) != ColorToRGB(clRed); };
  mark();
  Bar->SetPosition(51);  // same filled width, no text
  EXPECT_FALSE(redrawn());
  Bar->SetPosition(51);
  EXPECT_FALSE(redrawn());
  Bar->SetTextCentered(true);  // no text to move
  EXPECT_FALSE(redrawn());
  Bar->SetCaption("Import");  // the caption is not shown
  EXPECT_FALSE(redrawn());
  Bar->SetTextOption(toPercent);
  EXPECT_TRUE(redrawn());
  mark();
  Bar->SetPosition(50);  // the percentage shown changes
  EXPECT_TRUE(redrawn());
  mark();
  Bar->SetPosition(52);
  EXPECT_TRUE(redrawn());
  mark();
  Bar->SetColor(clWhite);
  EXPECT_TRUE(redrawn());
  mark();
  Bar->Font()->SetHeight(-20);
  EXPECT_TRUE(redrawn());
  mark();
  Bar->SetBorderStyle(bsSingle);
  EXPECT_TRUE(redrawn());
  // A resized bar lays itself out again when it is painted.
  Bar->SetWidth(300);
  auto picture = Painted();
  EXPECT_EQ(Bar->Buffer()->Width(), 300);
  EXPECT_EQ(Bar->FilledWidth(), 150);
}

// --- Text -------------------------------------------------------------------------------------

TEST_F(OxProgressTest, TextOfEachOption) {
  Bar->SetCaption("Import : %d %%");
  Bar->SetPosition(42);
  struct Case {
    TOxTextOption Option;
    const char* Text;
  } const cases[] = {
      {toNoText, ""}, {toCaption, "Import : %d %%"}, {toFormat, "Import : 42 %"}, {toPercent, "42%"}};
  for (const Case& c : cases) {
    Bar->SetTextOption(c.Option);
    EXPECT_EQ(Bar->DisplayText(), c.Text) << int(c.Option);
  }
  // A caption that is no valid format is shown as it stands.
  Bar->SetTextOption(toFormat);
  Bar->SetCaption("%s sur %d");
  EXPECT_EQ(Bar->DisplayText(), "%s sur %d");
  Painted();
}

// The first and last columns holding a pixel of neither background colour (letters, smoothed
// edges included); -1 when there is none.
std::pair<int, int> TextColumns(TBitmap* Picture) {
  const COLORREF filled = ColorToRGB(clWhite), empty = ColorToRGB(clYellow);
  int first = -1, last = -1;
  for (int x = 0; x < Picture->Width(); ++x)
    for (int y = 0; y < Picture->Height(); ++y)
      if (COLORREF c = COLORREF(Picture->Canvas()->Pixels(x, y)); c != filled && c != empty) {
        if (first < 0) first = x;
        last = x;
      }
  return {first, last};
}

TEST_F(OxProgressTest, PercentIsDrawnOverTheFilledPartOrTheWholeBar) {
  Bar->SetBounds(0, 0, 302, 30);
  Bar->SetSolid(true);
  Bar->SetStartColor(clWhite);
  Bar->SetEndColor(clWhite);
  Bar->Font()->SetName("Arial");
  Bar->Font()->SetHeight(-16);
  Bar->Font()->SetColor(clRed);
  Bar->SetTextOption(toPercent);
  Bar->SetPosition(50);  // 150 filled pixels
  TBitmap measure;
  measure.Canvas()->SetFont(Bar->Font());
  int textWidth = measure.Canvas()->TextWidth("50%");
  auto [first, last] = TextColumns(Painted().get());
  ASSERT_GE(first, 0) << "no text drawn";
  // Centred on the filled part, within the text's own box.
  int left = (150 - textWidth) / 2;
  EXPECT_GE(first, left - 1);
  EXPECT_LE(last, left + textWidth);
  EXPECT_LT(last, 150);
  Bar->SetTextCentered(true);
  std::tie(first, last) = TextColumns(Painted().get());
  left = (302 - textWidth) / 2;
  EXPECT_GE(first, left - 1);
  EXPECT_LE(last, left + textWidth);
  EXPECT_GT(last, 150);
  // Transparent: the bar shows around the letters.
  Bar->SetTextOption(toNoText);
  EXPECT_EQ(TextColumns(Painted().get()).first, -1);
}

// --- The exchange window's bar ----------------------------------------------------------------

const char* const kExchangeForm =
    "object frmEchange: TForm\n"
    "  Left = 100\n"
    "  Top = 100\n"
    "  ClientWidth = 416\n"
    "  ClientHeight = 217\n"
    "  Color = clBtnFace\n"
    "  object OxSpecialProgress1: TOxSpecialProgress\n"
    "    Left = 8\n"
    "    Top = 192\n"
    "    Width = 401\n"
    "    Height = 23\n"
    "    BorderStyle = bsSingle\n"
    "    EndColor = clSkyBlue\n"
    "    Font.Color = clWindowText\n"
    "    Font.Height = -11\n"
    "    Font.Name = 'MS Sans Serif'\n"
    "    Font.Style = [fsBold]\n"
    "    ParentFont = False\n"
    "    Solid = True\n"
    "    TextCentered = True\n"
    "    TextOption = toPercent\n"
    "  end\n"
    "end\n";

TEST(OxProgressForm, ExchangeWindowLookFromItsDescription) {
  RegisterOxSpecialProgress();
  TForm* raw = CreateForm<TForm>(nullptr);
  struct Free {
    TForm* Form;
    ~Free() { Form->Free(); }
  } owner{raw};
  ReadComponentFromText(raw, kExchangeForm, "exchange");
  auto* bar = dynamic_cast<TOxSpecialProgress*>(raw->FindComponent("OxSpecialProgress1"));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->BoundsRect(), Rect(8, 192, 409, 215));
  EXPECT_EQ(bar->BorderStyle(), bsSingle);
  EXPECT_EQ(bar->EndColor(), clSkyBlue);
  EXPECT_EQ(bar->StartColor(), clWhite);
  EXPECT_TRUE(bar->Solid());
  EXPECT_TRUE(bar->TextCentered());
  EXPECT_TRUE(bar->Font()->Style().Contains(fsBold));
  EXPECT_EQ(bar->TextOption(), toPercent);
  EXPECT_EQ(bar->Minimum(), 0);
  EXPECT_EQ(bar->Maximum(), 100);
  EXPECT_EQ(bar->Step(), 10);
  EXPECT_EQ(bar->DisplayText(), "0%");
  // Written back: what differs from the defaults, nothing else.
  String text = WriteComponentToText(bar);
  EXPECT_NE(text.find("TextOption = toPercent"), String::npos) << text;
  EXPECT_NE(text.find("EndColor = clSkyBlue"), String::npos) << text;
  EXPECT_EQ(text.find("StartColor"), String::npos) << text;
  EXPECT_EQ(text.find("Step"), String::npos) << text;

  // Driven as the exchange does it, with no message handled in between: the window shows each
  // position at once.
  raw->Show();
  ASSERT_TRUE(Painted(raw));
  bar->SetMaximum(400);
  bar->SetPosition(200);
  EXPECT_EQ(bar->DisplayText(), "50%");
  TWindowDC dc(raw->Handle());
  // The single border: a face-coloured outer frame, then shadow and dark shadow at the top-left.
  EXPECT_EQ(GetPixel(dc, 8 + 40, 192), ColorToRGB(clBtnFace));
  EXPECT_EQ(GetPixel(dc, 8 + 40, 193), ColorToRGB(clBtnShadow));
  EXPECT_EQ(GetPixel(dc, 8 + 40, 194), ColorToRGB(cl3DDkShadow));
  EXPECT_EQ(GetPixel(dc, 8 + 40, 192 + 21), ColorToRGB(clBtnHighlight));
  // Half the bar in the gradient's last colours, the other half empty.
  COLORREF nearEnd = GetPixel(dc, 8 + 198, 192 + 4);
  EXPECT_NEAR(GetBValue(nearEnd), GetBValue(ColorToRGB(clSkyBlue)), 2);
  EXPECT_NEAR(GetRValue(nearEnd), GetRValue(ColorToRGB(clSkyBlue)), 2);
  EXPECT_EQ(GetPixel(dc, 8 + 300, 192 + 4), ColorToRGB(clBtnFace));
  bar->SetPosition(400);
  EXPECT_NE(GetPixel(dc, 8 + 300, 192 + 4), ColorToRGB(clBtnFace));
}

// --- Mouse and parent colour ------------------------------------------------------------------

class OxProgressEvents : public OxProgressTest, public TObject {
 public:
  void Entered(TObject*) { Seen.push_back("enter " + std::to_string(Application->HintColor)); }
  void Left(TObject*) { Seen.push_back("leave " + std::to_string(Application->HintColor)); }
  void ParentColor(TObject*) { Seen.push_back("parent colour"); }
  void ColourSeen(TObject* Sender) {
    Seen.push_back("parent colour " + std::to_string(static_cast<TControl*>(Sender)->Color()));
  }
  std::vector<std::string> Seen;
};

TEST_F(OxProgressEvents, HintColourWhileTheMouseIsOverAndParentColour) {
  Bar->SetHintColor(clLime);
  Bar->OnMouseEnter = TNotifyEvent(static_cast<OxProgressEvents*>(this), &OxProgressEvents::Entered);
  Bar->OnMouseLeave = TNotifyEvent(static_cast<OxProgressEvents*>(this), &OxProgressEvents::Left);
  Bar->OnParentColorChange = TNotifyEvent(static_cast<OxProgressEvents*>(this), &OxProgressEvents::ParentColor);
  TColor before = Application->HintColor;
  Application->HintColor = clAqua;
  Bar->Perform(CM_MOUSEENTER);
  EXPECT_EQ(Application->HintColor, clLime);
  Bar->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(Application->HintColor, clAqua);
  Application->HintColor = before;

  EXPECT_EQ(Seen, (std::vector<std::string>{"enter " + std::to_string(clLime), "leave " + std::to_string(clAqua)}));

  // The parent's colour reaches the bar first, then the bar's own event.
  TForm* form = CreateForm<TForm>(nullptr);
  Bar->SetParent(form);
  Bar->SetParentColor(true);
  Seen.clear();
  Bar->OnParentColorChange = TNotifyEvent(static_cast<OxProgressEvents*>(this), &OxProgressEvents::ColourSeen);
  form->SetColor(clTeal);
  Bar->SetParent(nullptr);
  form->Free();
  EXPECT_EQ(Seen, (std::vector<std::string>{"parent colour " + std::to_string(clTeal)}));
}

}  // namespace
