// Tests of the tool controls of the report windows: the flat button whose glyph is grey until the
// mouse enters it, glyph strips and their images, the font combo's recently used fonts in the
// registry, and the remembered placement of a window.
#include <gtest/gtest.h>

#include "Registry.h"
#include "ZR_Combo.h"
#include "ZR_Ctrls.h"
#include "ZrWindowTestSupport.h"

namespace {

class ZrControls : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterReportWindows();
    Form.reset(new TForm(nullptr));
    Form->SetBounds(60, 60, 400, 300);
    Form->Show();
    Activate(Form.get());
  }
  TFormPtr<TForm> Form;
};

// A glyph of 16 x 16: red square on the transparent olive.
void RedSquare(TBitmap* Glyph, int Images = 1) {
  Glyph->SetSize(16 * Images, 16);
  Glyph->Canvas()->Brush()->SetColor(zrGlyphTransparent);
  Glyph->Canvas()->FillRect(TRect(0, 0, 16 * Images, 16));
  Glyph->Canvas()->Brush()->SetColor(clRed);
  for (int i = 0; i < Images; ++i) Glyph->Canvas()->FillRect(TRect(16 * i + 4, 4, 16 * i + 12, 12));
}

TEST_F(ZrControls, AFlatButtonShowsItsGlyphInGreyUntilTheMouseEnters) {
  auto* button = new TzrTBButton(Form.get());
  button->SetParent(Form.get());
  button->SetAlign(alNone);
  button->SetBounds(100, 100, 24, 24);
  TBitmap glyph;
  RedSquare(&glyph);
  button->SetGlyph(&glyph);
  MoveMouseTo(OnScreen(Form.get(), 300, 250));
  ASSERT_TRUE(Painted(Form.get()));
  EXPECT_TRUE(button->ShowsInactive());
  // The glyph's centre: red turned to its grey value (77 x 255 / 256).
  EXPECT_EQ(PixelOf(Form.get(), 112, 112), RGB(76, 76, 76));
  MoveMouseTo(CentreOf(button));
  ASSERT_TRUE(IdleUntil("the mouse in the button", [&] { return button->MouseInControl(); }));
  ASSERT_TRUE(Painted(Form.get()));
  EXPECT_FALSE(button->ShowsInactive());
  EXPECT_EQ(PixelOf(Form.get(), 112, 112), RGB(255, 0, 0));
  // Without GrayedInactive it is red wherever the mouse is.
  button->SetGrayedInactive(false);
  MoveMouseTo(OnScreen(Form.get(), 300, 250));
  ASSERT_TRUE(IdleUntil("the mouse out of the button", [&] { return !button->MouseInControl(); }));
  ASSERT_TRUE(Painted(Form.get()));
  EXPECT_EQ(PixelOf(Form.get(), 112, 112), RGB(255, 0, 0));
}

TEST_F(ZrControls, GlyphStripsAndTheirImages) {
  auto* button = new TzrSpeedButton(Form.get());
  TBitmap strip;
  RedSquare(&strip, 4);
  button->SetGlyph(&strip);
  EXPECT_EQ(button->NumGlyphs(), 4);
  RedSquare(&strip, 5);
  button->SetGlyph(&strip);
  EXPECT_EQ(button->NumGlyphs(), 1) << "80 x 16 is no strip of at most four";
  RedSquare(&strip, 1);
  button->SetGlyph(&strip);
  TBitmap image;
  button->MakeStateImage(TzrSpeedButton::ikDisabled, &image);
  // Embossed: the shape in the shadow colour, its highlight one pixel right and down.
  EXPECT_EQ(ColorToRGB(image.Canvas()->Pixels(4, 4)), ColorToRGB(clBtnShadow));
  EXPECT_EQ(ColorToRGB(image.Canvas()->Pixels(12, 12)), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(ColorToRGB(image.Canvas()->Pixels(1, 1)), ColorToRGB(zrGlyphTransparent));
}

TEST_F(ZrControls, TheFontComboKeepsTheFiveFontsUsedLast) {
  const String key = "\\Software\\Tarvelo\\TestMRUFont";
  {
    TRegistry registry;
    registry.DeleteKey(key);
  }
  auto* combo = new TzrFontComboBox(Form.get());
  combo->SetMRURegKey(key);
  combo->SetParent(Form.get());
  ASSERT_TRUE(Painted(Form.get()));
  ASSERT_GE(combo->Items()->Count(), 6) << "the prefix's fonts";
  EXPECT_EQ(combo->MRUCount(), 0);
  {
    // The slots exist, empty, once the list was filled.
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(key, false));
    EXPECT_EQ(registry.ReadString("Font4"), "");
    EXPECT_EQ(registry.ReadInteger("FontType0"), 0);
  }
  std::vector<String> chosen;
  for (int i = 0; i < 6; ++i) {
    // A font further down the list than the recently used ones.
    int index = combo->MRUCount() + 1 + i;
    chosen.push_back(combo->Items()->Strings(index));
    combo->ChooseFont(index);
    EXPECT_EQ(combo->Items()->Strings(0), chosen.back());
    EXPECT_EQ(combo->ItemIndex(), 0);
  }
  EXPECT_EQ(combo->MRUCount(), 5);
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKey(key, false));
  for (int n = 0; n < 5; ++n) EXPECT_EQ(registry.ReadString("Font" + IntToStr(n)), chosen[std::size_t(5 - n)]);
  // A recently used font chosen again moves to the top, nothing is dropped.
  combo->ChooseFont(3);
  EXPECT_EQ(combo->Items()->Strings(0), chosen[2]);
  EXPECT_EQ(combo->MRUCount(), 5);
  // A new combo reads them back, in order, at its top.
  auto* again = new TzrFontComboBox(Form.get());
  again->SetMRURegKey(key);
  again->SetParent(Form.get());
  again->Populate();
  EXPECT_EQ(again->MRUCount(), 5);
  EXPECT_EQ(again->Items()->Strings(0), chosen[2]);
  // A slot naming a font that is not installed is emptied.
  registry.WriteString("Font4", "Police absente");
  again->Populate();
  EXPECT_EQ(again->MRUCount(), 4);
  EXPECT_EQ(registry.ReadString("Font4"), "");
  registry.CloseKey();
  registry.DeleteKey(key);
}

TEST_F(ZrControls, AWindowPlacementIsSavedAndRestored) {
  const String section = "Software\\Tarvelo\\Form\\TForm";
  {
    TRegistry registry;
    registry.DeleteKey("\\" + section);
  }
  // Never placed: the window keeps what it has.
  RestoreFormPosition(Form.get());
  EXPECT_EQ(Form->Left(), 60);
  EXPECT_EQ(Form->Width(), 400);
  Form->SetBounds(70, 80, 350, 250);
  SaveFormPosition(Form.get());
  TFormPtr<TForm> other(new TForm(nullptr));
  other->SetBounds(0, 0, 100, 100);
  RestoreFormPosition(other.get());
  EXPECT_EQ(other->Left(), 70);
  EXPECT_EQ(other->Top(), 80);
  EXPECT_EQ(other->Width(), 350);
  EXPECT_EQ(other->Height(), 250);
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKey("\\" + section, false));
  EXPECT_EQ(registry.ReadString("Maximized"), "0");
  registry.CloseKey();
  registry.DeleteKey("\\" + section);
}

}  // namespace
