// Tests of the extra controls: panels aligning their children inside their bevels and painting
// them, radio groups chosen by mouse and keyboard, the scroll box's ranges and scrolling, and
// where an image puts its picture.
#include "StdCtrlsTestSupport.h"

#include "ExtCtrls.h"
#include "ScrollBox.h"

namespace {

struct BevelCase {
  TBevelCut Outer;
  TBevelCut Inner;
  int Width;
  int BorderWidth;
  int Inset;
};

TEST_F(StdFormTest, PanelAlignsChildrenInsideItsBevels) {
  const BevelCase cases[] = {
      {bvRaised, bvNone, 1, 0, 1}, {bvRaised, bvLowered, 2, 0, 4}, {bvNone, bvNone, 1, 3, 3}, {bvLowered, bvSpace, 1, 2, 4},
  };
  auto* panel = Add<TPanel>(10, 10, 200, 100);
  auto* child = Add<TPanel>(0, 0, 10, 10, panel);
  child->SetAlign(alClient);
  ShowForm();
  for (const BevelCase& c : cases) {
    panel->SetBevelOuter(c.Outer);
    panel->SetBevelInner(c.Inner);
    panel->SetBevelWidth(c.Width);
    panel->SetBorderWidth(c.BorderWidth);
    EXPECT_EQ(child->BoundsRect(), Rect(c.Inset, c.Inset, 200 - c.Inset, 100 - c.Inset)) << c.Inset;
  }
}

TEST_F(StdFormTest, PanelPaintsItsBevelsAndTopAlignmentStacks) {
  auto* top = Add<TPanel>(0, 0, 50, 30);
  top->SetAlign(alTop);
  auto* bottom = Add<TPanel>(0, 0, 50, 40);
  bottom->SetAlign(alBottom);
  bottom->SetBevelOuter(bvLowered);
  bottom->SetColor(clYellow);
  ShowForm();
  EXPECT_EQ(top->BoundsRect(), Rect(0, 0, Form->ClientWidth(), 30));
  EXPECT_EQ(bottom->BoundsRect(), Rect(0, Form->ClientHeight() - 40, Form->ClientWidth(), Form->ClientHeight()));
  bottom->Repaint();
  top->Repaint();
  {
    TWindowDC dc(bottom->Handle());
    // Lowered: dark at the top-left, light at the bottom-right, the colour inside.
    EXPECT_EQ(GetPixel(dc, 5, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(GetPixel(dc, 5, bottom->Height() - 1), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(GetPixel(dc, 20, 20), ColorToRGB(clYellow));
  }
  TWindowDC dc(top->Handle());
  EXPECT_EQ(GetPixel(dc, 0, 5), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(GetPixel(dc, top->Width() - 1, 5), ColorToRGB(clBtnShadow));
}

class RadioGroupTest : public StdFormTest {
 protected:
  void SetUp() override {
    StdFormTest::SetUp();
    Group = Add<TRadioGroup>(10, 10, 240, 120);
    Group->SetCaption("&Statut");
    Group->Items()->Add("Active");
    Group->Items()->Add("Gelée"_a);
    Group->Items()->Add("Inconnue");
    Group->OnClick = TNotifyEvent(this, &RadioGroupTest::Clicked);
    Before = Add<TEdit>(10, 150);
    ShowForm();
  }
  void Clicked(TObject*) { Seen.push_back(Group->ItemIndex()); }
  TRadioGroup* Group = nullptr;
  TEdit* Before = nullptr;
  std::vector<int> Seen;
};

TEST_F(RadioGroupTest, ButtonsFollowTheItemsInColumns) {
  ASSERT_EQ(Group->ButtonCount(), 3);
  EXPECT_EQ(Group->Buttons(1)->Caption(), "Gelée"_a);
  EXPECT_EQ(Group->ItemIndex(), -1);
  // One column: stacked; two columns: the third goes to the second column.
  EXPECT_EQ(Group->Buttons(0)->Left(), Group->Buttons(2)->Left());
  EXPECT_LT(Group->Buttons(0)->Top(), Group->Buttons(1)->Top());
  Group->SetColumns(2);
  EXPECT_GT(Group->Buttons(2)->Left(), Group->Buttons(0)->Left());
  EXPECT_EQ(Group->Buttons(2)->Top(), Group->Buttons(0)->Top());
  Group->Items()->Delete(2);
  EXPECT_EQ(Group->ButtonCount(), 2);
  EXPECT_THROW(Group->Buttons(2), EListError);
}

TEST_F(RadioGroupTest, ChoosingByClickKeyboardAndProgram) {
  ClickControl(Group->Buttons(1));
  EXPECT_EQ(Group->ItemIndex(), 1);
  Press(VK_DOWN);
  EXPECT_EQ(Group->ItemIndex(), 2);
  EXPECT_TRUE(Group->Buttons(2)->Focused());
  // Tab comes back into the group at the checked button.
  Before->SetFocus();
  Press(VK_TAB, true);
  EXPECT_TRUE(Group->Buttons(2)->Focused());
  Group->SetItemIndex(0);
  EXPECT_TRUE(Group->Buttons(0)->Checked());
  EXPECT_FALSE(Group->Buttons(2)->Checked());
  EXPECT_EQ(Seen, (std::vector<int>{1, 2, 0}));
  Group->SetItemIndex(-1);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(Group->Buttons(i)->Checked());
}

class ScrollBoxTest : public StdFormTest {
 protected:
  void SetUp() override {
    StdFormTest::SetUp();
    Box = Add<TScrollBox>(10, 10, 200, 150);
    Box->SetBorderStyle(bsNone);
    Far = Add<TPanel>(300, 400, 60, 50, Box);
    ShowForm();
  }
  TScrollBox* Box = nullptr;
  TPanel* Far = nullptr;
};

TEST_F(ScrollBoxTest, RangesReachTheFarthestChild) {
  EXPECT_EQ(Box->HorzScrollBar()->Range(), 360);
  EXPECT_EQ(Box->VertScrollBar()->Range(), 450);
  EXPECT_TRUE(Box->HorzScrollBar()->IsScrollBarVisible());
  LONG style = GetWindowLongA(Box->Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_HSCROLL);
  EXPECT_TRUE(style & WS_VSCROLL);
  // A child moved closer shrinks the range, and the bars go when all fits.
  Far->SetBounds(20, 20, 60, 50);
  EXPECT_EQ(Box->HorzScrollBar()->Range(), 80);
  EXPECT_FALSE(Box->VertScrollBar()->IsScrollBarVisible());
  style = GetWindowLongA(Box->Handle(), GWL_STYLE);
  EXPECT_FALSE(style & WS_VSCROLL);
  // Without AutoScroll the range is the program's.
  Box->SetAutoScroll(false);
  Box->VertScrollBar()->SetRange(1000);
  EXPECT_TRUE(Box->VertScrollBar()->IsScrollBarVisible());
}

TEST_F(ScrollBoxTest, ScrollingMovesTheChildrenByIncrementsAndPages) {
  Box->VertScrollBar()->SetIncrement(10);
  SendMessageA(Box->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(Box->VertScrollBar()->Position(), 10);
  EXPECT_EQ(Far->Top(), 390);
  SendMessageA(Box->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
  int max = 450 - Box->ClientHeight();
  EXPECT_EQ(Box->VertScrollBar()->Position(), max);
  EXPECT_EQ(Far->Top() + Far->Height(), Box->ClientHeight());
  EXPECT_EQ(GetScrollPos(Box->Handle(), SB_VERT), max);
  // The position never passes the range.
  Box->VertScrollBar()->SetPosition(max + 100);
  EXPECT_EQ(Box->VertScrollBar()->Position(), max);
  Box->VertScrollBar()->SetPosition(0);
  EXPECT_EQ(Far->Top(), 400);
  // ScrollInView brings a child whole into sight.
  Box->ScrollInView(Far);
  EXPECT_GE(Far->Left(), 0);
  EXPECT_LE(Far->Left() + Far->Width(), Box->ClientWidth());
  EXPECT_LE(Far->Top() + Far->Height(), Box->ClientHeight());
  // The range stays what it was before scrolling.
  EXPECT_EQ(Box->HorzScrollBar()->Range(), 360);
}

struct ImageCase {
  bool Stretch;
  bool Proportional;
  bool Center;
  TRect Expected;
};

TEST_F(StdFormTest, ImageDestRectFollowsItsModes) {
  auto* image = Add<TImage>(0, 0, 100, 50);
  TBitmap picture;
  picture.SetSize(40, 40);
  image->Picture()->SetGraphic(&picture);
  const ImageCase cases[] = {
      {false, false, false, Rect(0, 0, 40, 40)},  {false, false, true, Rect(30, 5, 70, 45)},
      {true, false, false, Rect(0, 0, 100, 50)},  {true, true, false, Rect(0, 0, 50, 50)},
      {true, true, true, Rect(25, 0, 75, 50)},    {false, true, false, Rect(0, 0, 40, 40)},
  };
  for (const ImageCase& c : cases) {
    image->SetStretch(c.Stretch);
    image->SetProportional(c.Proportional);
    image->SetCenter(c.Center);
    EXPECT_EQ(image->DestRect(), c.Expected) << c.Stretch << c.Proportional << c.Center;
  }
  // Drawing on the image's canvas draws on its picture.
  image->Canvas()->SetPixels(3, 4, clRed);
  EXPECT_EQ(image->Picture()->Bitmap()->Canvas()->Pixels(3, 4), clRed);
  image->SetAutoSize(true);
  EXPECT_EQ(image->Width(), 40);
}

}  // namespace
