// Tests of the combo button: the number of glyphs a bitmap gives, clicks that end inside and
// outside the button, the groups of buttons that stay down, the glyph of each state on screen, and
// the flat drop-down glyph a combo loads.
#include "ControlsTestSupport.h"

#include "Qvdotdot.h"
#include "qvThemes.h"
#include "qvcombobutton.h"

namespace {

bool NoThemes() { return false; }
bool (*const SystemThemes)() = qvThemesActive;

class ComboButtonTest : public ControlsFormTest {
 protected:
  void SetUp() override {
    qvThemesActive = &NoThemes;
    ControlsFormTest::SetUp();
  }
  void TearDown() override {
    ControlsFormTest::TearDown();
    qvThemesActive = SystemThemes;
  }
  TqvComboButton* Button(int Left, int Top = 20) {
    auto* B = Add<TqvComboButton>(Left, Top, 30, 24);
    B->OnClick = TNotifyEvent(this, &ComboButtonTest::Clicked);
    return B;
  }
  void Clicked(TObject*) { ++Clicks; }
  // A bitmap of cells Width x Height in solid colours.
  static void Strip(TBitmap& Bitmap, int Width, int Height) {
    Bitmap.SetPixelFormat(pf24bit);
    Bitmap.SetSize(Width, Height);
    Bitmap.Canvas()->Brush()->SetColor(clRed);
    Bitmap.Canvas()->FillRect(Rect(0, 0, Width, Height));
  }
  int Clicks = 0;
};

TEST_F(ComboButtonTest, TheGlyphsProportionsGiveTheNumberOfGlyphs) {
  TqvComboButton* B = Button(20);
  TBitmap Four, Five, Odd;
  Strip(Four, 64, 16);
  Strip(Five, 80, 16);
  Strip(Odd, 40, 16);
  B->SetGlyph(&Four);
  EXPECT_EQ(B->NumGlyphs(), 4);
  B->SetGlyph(&Five);
  EXPECT_EQ(B->NumGlyphs(), 1);
  B->SetNumGlyphs(2);
  B->SetGlyph(&Odd);
  EXPECT_EQ(B->NumGlyphs(), 2);
  B->SetNumGlyphs(5);
  EXPECT_EQ(B->NumGlyphs(), 4);
}

TEST_F(ComboButtonTest, AClickCountsWhenItEndsInsideTheButton) {
  TqvComboButton* B = Button(20);
  ShowForm();
  TPoint Inside = OnScreen(B, 10, 10);
  // The previous test clicks a button at this same place: a press too soon after it pairs into a
  // double click.
  AwaitNoDoubleClick(Inside);
  // Released at x = ClientWidth: outside.
  PressButton(Inside);
  EXPECT_EQ(B->State(), bsDown);
  ReleaseButton(OnScreen(B, B->ClientWidth(), 10));
  EXPECT_EQ(Clicks, 0);
  EXPECT_EQ(B->State(), bsUp);
  // Released at y = ClientHeight: still inside.
  AwaitNoDoubleClick(Inside);
  PressButton(Inside);
  ReleaseButton(OnScreen(B, 10, B->ClientHeight()));
  EXPECT_EQ(Clicks, 1);
  ClickAt(Inside);
  EXPECT_EQ(Clicks, 2);
}

TEST_F(ComboButtonTest, AGroupKeepsOneButtonDown) {
  TqvComboButton* A = Button(20);
  TqvComboButton* B = Button(60);
  TqvComboButton* C = Button(100);
  for (TqvComboButton* X : {A, B, C}) X->SetGroupIndex(1);
  ShowForm();
  ClickControl(A);
  EXPECT_TRUE(A->Down());
  // The down button stays down when clicked again.
  ClickControl(A);
  EXPECT_TRUE(A->Down());
  ClickControl(B);
  EXPECT_TRUE(B->Down());
  EXPECT_FALSE(A->Down());
  EXPECT_FALSE(C->Down());
  // Allowed all up, the down button goes up; the group follows the setting.
  B->SetAllowAllUp(true);
  EXPECT_TRUE(A->AllowAllUp());
  ClickControl(B);
  EXPECT_FALSE(B->Down());
  EXPECT_EQ(Clicks, 4);
  // Without a group a button never stays down.
  TqvComboButton* Alone = Button(140);
  Alone->SetDown(true);
  EXPECT_FALSE(Alone->Down());
}

TEST_F(ComboButtonTest, EachStateDrawsItsGlyph) {
  TqvComboButton* B = Button(20);
  // Four 8 x 8 cells: up red, disabled green, down blue, exclusive yellow; the bottom-left pixel of
  // each cell (fuchsia) is transparent.
  TBitmap Glyph;
  Glyph.SetPixelFormat(pf24bit);
  Glyph.SetSize(32, 8);
  const TColor Cells[] = {clRed, clLime, clBlue, clYellow};
  for (int i = 0; i < 4; ++i) {
    Glyph.Canvas()->Brush()->SetColor(Cells[i]);
    Glyph.Canvas()->FillRect(Bounds(i * 8, 0, 8, 8));
    Glyph.Canvas()->SetPixels(i * 8, 7, clFuchsia);
  }
  B->SetGlyph(&Glyph);
  EXPECT_EQ(B->NumGlyphs(), 4);
  ShowForm();
  ASSERT_TRUE(Painted(Form.get()));
  // The glyph is centred: its middle is the button's middle (one further while pressed).
  TPoint Middle(20 + 15, 20 + 12);
  EXPECT_EQ(PixelOf(Form.get(), Middle.X, Middle.Y), ColorToRGB(clRed));
  EXPECT_EQ(PixelOf(Form.get(), 20 + 11, 20 + 15), ColorToRGB(clBtnFace)) << "the transparent corner";
  MoveMouseTo(CentreOf(B));
  MouseButton(true);
  ASSERT_TRUE(WaitFor("the press", [&] { return B->State() == bsDown; }));
  ASSERT_TRUE(Painted(Form.get()));
  EXPECT_EQ(PixelOf(Form.get(), Middle.X + 1, Middle.Y + 1), ColorToRGB(clBlue));
  ReleaseButton();
  B->SetEnabled(false);
  ASSERT_TRUE(Painted(Form.get()));
  EXPECT_EQ(PixelOf(Form.get(), Middle.X, Middle.Y), ColorToRGB(clLime));
  EXPECT_EQ(PixelOf(Form.get(), 20 + 11, 20 + 15), ColorToRGB(clBtnFace)) << "the transparent corner";
}

TEST_F(ComboButtonTest, AFlatDropDownButtonShowsTheDropDownGlyph) {
  auto* Combo = Add<TqvDBComboDlg>(20, 60, 150);
  EXPECT_TRUE(Combo->Button()->Glyph()->Empty());
  Combo->SetButtonStyle(cbsDownArrow);
  EXPECT_TRUE(Combo->Button()->Glyph()->Empty());
  Combo->ButtonEffects()->SetFlat(true);
  EXPECT_TRUE(Combo->Button()->Flat());
  ASSERT_FALSE(Combo->Button()->Glyph()->Empty());
  EXPECT_EQ(Combo->Button()->Glyph()->Width(), 7);
  // Back to the ellipsis: no glyph.
  Combo->SetButtonStyle(cbsEllipsis);
  EXPECT_TRUE(Combo->Button()->Glyph()->Empty());
  // Transparent effects make the button flat too.
  Combo->ButtonEffects()->SetFlat(false);
  Combo->ButtonEffects()->SetTransparent(true);
  EXPECT_TRUE(Combo->Button()->Flat());
  EXPECT_TRUE(Combo->Button()->Transparent());
}

}  // namespace
