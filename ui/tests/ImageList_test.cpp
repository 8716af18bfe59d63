// Tests of the image list: masked adding with a transparent colour, drawing in the normal,
// selected and disabled states, editing, change links, and the images kept in form data.
#include <gtest/gtest.h>

#include <memory>

#include "Filer.h"
#include "ImageList.h"
#include "Streams.h"

namespace {

// 16x16: fuchsia (the transparent colour) around a blue square from (4,4) to (11,11).
std::unique_ptr<TBitmap> Glyph(TColor Square = clBlue) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf24bit);
  b->SetSize(16, 16);
  b->Canvas()->Brush()->SetColor(clFuchsia);
  b->Canvas()->FillRect(Rect(0, 0, 16, 16));
  b->Canvas()->Brush()->SetColor(Square);
  b->Canvas()->FillRect(Rect(4, 4, 12, 12));
  return b;
}

std::unique_ptr<TBitmap> White(int W, int H) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf24bit);
  b->SetSize(W, H);
  b->Canvas()->Brush()->SetColor(clWhite);
  b->Canvas()->FillRect(Rect(0, 0, W, H));
  return b;
}

class TListener : public TObject {
 public:
  int Count = 0;
  TObject* Sender = nullptr;
  void Changed(TObject* S) {
    ++Count;
    Sender = S;
  }
};

class ImageListTest : public ::testing::Test {
 protected:
  TImageList List{nullptr, 16, 16};
};

}  // namespace

TEST_F(ImageListTest, AddMaskedLeavesTheTransparentColourOut) {
  auto glyph = Glyph();
  EXPECT_EQ(List.AddMasked(glyph.get(), clFuchsia), 0);
  EXPECT_EQ(List.Count(), 1);
  EXPECT_EQ(glyph->Canvas()->Pixels(0, 0), clFuchsia) << "the caller's bitmap is not changed";

  auto dest = White(20, 20);
  List.Draw(dest->Canvas(), 2, 2, 0);
  EXPECT_EQ(dest->Canvas()->Pixels(2, 2), clWhite);
  EXPECT_EQ(dest->Canvas()->Pixels(8, 8), clBlue);
  EXPECT_EQ(dest->Canvas()->Pixels(13, 13), clBlue);
  EXPECT_EQ(dest->Canvas()->Pixels(14, 14), clWhite);

  // A background colour fills the transparent pixels.
  List.SetBkColor(clYellow);
  List.Draw(dest->Canvas(), 2, 2, 0);
  EXPECT_EQ(dest->Canvas()->Pixels(2, 2), clYellow);
}

TEST_F(ImageListTest, AWideBitmapAddsSeveralImages) {
  TBitmap strip;
  strip.SetPixelFormat(pf24bit);
  strip.SetSize(48, 16);
  strip.Canvas()->Brush()->SetColor(clRed);
  strip.Canvas()->FillRect(Rect(0, 0, 16, 16));
  strip.Canvas()->Brush()->SetColor(clGreen);
  strip.Canvas()->FillRect(Rect(16, 0, 32, 16));
  strip.Canvas()->Brush()->SetColor(clBlue);
  strip.Canvas()->FillRect(Rect(32, 0, 48, 16));
  EXPECT_EQ(List.Add(&strip, nullptr), 0);
  EXPECT_EQ(List.Count(), 3);
  TBitmap image;
  List.GetBitmap(1, &image);
  EXPECT_EQ(image.Width(), 16);
  EXPECT_EQ(image.Canvas()->Pixels(5, 5), clGreen);

  List.Move(0, 2);  // red goes last, the others move up
  List.GetBitmap(0, &image);
  EXPECT_EQ(image.Canvas()->Pixels(5, 5), clGreen);
  List.GetBitmap(2, &image);
  EXPECT_EQ(image.Canvas()->Pixels(5, 5), clRed);

  List.Delete(0);
  EXPECT_EQ(List.Count(), 2);
  List.GetBitmap(0, &image);
  EXPECT_EQ(image.Canvas()->Pixels(5, 5), clBlue);
  EXPECT_THROW(List.Delete(2), EInvalidOperation);
  EXPECT_THROW(List.GetBitmap(-1, &image), EInvalidOperation);

  List.Clear();
  EXPECT_EQ(List.Count(), 0);
}

TEST_F(ImageListTest, ReplaceKeepsTheIndex) {
  auto blue = Glyph(clBlue), green = Glyph(clGreen);
  List.AddMasked(blue.get(), clFuchsia);
  List.AddMasked(blue.get(), clFuchsia);
  List.ReplaceMasked(0, green.get(), clFuchsia);
  auto dest = White(16, 16);
  List.Draw(dest->Canvas(), 0, 0, 0);
  EXPECT_EQ(dest->Canvas()->Pixels(6, 6), clGreen);
  EXPECT_EQ(dest->Canvas()->Pixels(1, 1), clWhite) << "the replacement is masked too";
  EXPECT_EQ(List.Count(), 2);
}

TEST_F(ImageListTest, SelectedAndDisabledStates) {
  auto glyph = Glyph();
  List.AddMasked(glyph.get(), clFuchsia);

  auto selected = White(16, 16);
  List.Draw(selected->Canvas(), 0, 0, 0, dsSelected, itImage);
  // Half way from blue to the highlight colour; the transparent pixels stay.
  TColor blended = selected->Canvas()->Pixels(6, 6);
  COLORREF hl = ColorToRGB(clHighlight);
  EXPECT_NEAR(GetRValue(blended), GetRValue(hl) / 2, 2);
  EXPECT_NEAR(GetGValue(blended), GetGValue(hl) / 2, 2);
  EXPECT_NEAR(GetBValue(blended), (255 + GetBValue(hl)) / 2, 2);
  EXPECT_EQ(selected->Canvas()->Pixels(0, 0), clWhite);

  auto focused = White(16, 16);
  List.Draw(focused->Canvas(), 0, 0, 0, dsFocus, itImage);
  EXPECT_NEAR(GetRValue(focused->Canvas()->Pixels(6, 6)), GetRValue(hl) / 4, 2) << "a quarter of the way";

  // Disabled: the shape in the shadow colour, its highlight one pixel down and right.
  auto disabled = White(20, 20);
  List.Draw(disabled->Canvas(), 0, 0, 0, false);
  TColor shadow = TColor(ColorToRGB(clBtnShadow));
  TColor highlight = TColor(ColorToRGB(clBtnHighlight));
  EXPECT_EQ(disabled->Canvas()->Pixels(4, 4), shadow);
  EXPECT_EQ(disabled->Canvas()->Pixels(11, 11), shadow);
  EXPECT_EQ(disabled->Canvas()->Pixels(12, 12), highlight);
  EXPECT_EQ(disabled->Canvas()->Pixels(12, 5), highlight);
  EXPECT_EQ(disabled->Canvas()->Pixels(2, 2), clWhite);
  EXPECT_EQ(disabled->Canvas()->Pixels(13, 13), clWhite);

  auto mask = White(16, 16);
  List.Draw(mask->Canvas(), 0, 0, 0, dsNormal, itMask);
  EXPECT_EQ(mask->Canvas()->Pixels(6, 6), clBlack);
  EXPECT_EQ(mask->Canvas()->Pixels(1, 1), clWhite);
}

TEST_F(ImageListTest, ChangeLinksHearOfChangesUntilTheyLeave) {
  TListener a, b;
  auto link = std::make_unique<TChangeLink>();
  link->OnChange = TNotifyEvent(&a, &TListener::Changed);
  TChangeLink other;
  other.OnChange = TNotifyEvent(&b, &TListener::Changed);
  List.RegisterChanges(link.get());
  List.RegisterChanges(&other);
  EXPECT_EQ(link->Sender, &List);

  auto glyph = Glyph();
  List.AddMasked(glyph.get(), clFuchsia);
  EXPECT_EQ(a.Count, 1);
  EXPECT_EQ(a.Sender, &List);
  EXPECT_EQ(b.Count, 1);

  List.UnRegisterChanges(&other);
  EXPECT_EQ(other.Sender, nullptr);
  link.reset();  // a link that goes away unregisters itself
  List.AddMasked(glyph.get(), clFuchsia);
  EXPECT_EQ(a.Count, 1);
  EXPECT_EQ(b.Count, 1);

  // Updates are told once, at the end.
  TChangeLink third;
  third.OnChange = TNotifyEvent(&b, &TListener::Changed);
  List.RegisterChanges(&third);
  List.BeginUpdate();
  List.AddMasked(glyph.get(), clFuchsia);
  List.Delete(0);
  EXPECT_EQ(b.Count, 1);
  List.EndUpdate();
  EXPECT_EQ(b.Count, 2);

  // A list that goes away leaves its links without a sender.
  TChangeLink survivor;
  {
    TImageList shortLived(nullptr, 8, 8);
    shortLived.RegisterChanges(&survivor);
  }
  EXPECT_EQ(survivor.Sender, nullptr);
}

TEST_F(ImageListTest, ANewSizeEmptiesTheList) {
  auto glyph = Glyph();
  List.AddMasked(glyph.get(), clFuchsia);
  List.SetWidth(24);
  EXPECT_EQ(List.Count(), 0);
  EXPECT_EQ(List.Width(), 24);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(List.Handle(), &cx, &cy);
  EXPECT_EQ(cx, 24);
  EXPECT_EQ(cy, 16);
}

TEST_F(ImageListTest, ImagesAreKeptInFormData) {
  auto blue = Glyph(clBlue), green = Glyph(clGreen);
  List.SetName("Images1");
  List.AddMasked(blue.get(), clFuchsia);
  List.AddMasked(green.get(), clFuchsia);
  String text = WriteComponentToText(&List);
  EXPECT_NE(text.find("Bitmap = {"), String::npos) << text;

  TImageList copy(nullptr, 16, 16);
  ReadComponentFromText(&copy, text, "test");
  ASSERT_EQ(copy.Count(), 2);
  auto dest = White(32, 16);
  copy.Draw(dest->Canvas(), 0, 0, 0);
  copy.Draw(dest->Canvas(), 16, 0, 1);
  EXPECT_EQ(dest->Canvas()->Pixels(6, 6), clBlue);
  EXPECT_EQ(dest->Canvas()->Pixels(22, 6), clGreen);
  EXPECT_EQ(dest->Canvas()->Pixels(1, 1), clWhite) << "masks survive";
  EXPECT_EQ(dest->Canvas()->Pixels(17, 1), clWhite);
}
