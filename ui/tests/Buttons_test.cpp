// Tests of the bitmap buttons: the glyph and caption layout, the standard kinds with their French
// captions and modal results, a kind button ending a modal form, and speed buttons grouped and
// released by real mouse clicks.
#include "StdCtrlsTestSupport.h"

#include "Buttons.h"

namespace {

struct LayoutCase {
  TButtonLayout Layout;
  int Margin;
  int Spacing;
  TPoint Glyph;
  TRect Text;
};

// A 100x40 face at (10, 20), a 16x16 glyph and a 30x12 caption.
TEST(ButtonLayoutTest, GlyphAndCaptionPlaces) {
  const LayoutCase cases[] = {
      // Centred as a pair: (100 - (16 + 4 + 30) + 1) / 2 = 25 from the left.
      {blGlyphLeft, -1, 4, TPoint(35, 32), Bounds(55, 34, 30, 12)},
      {blGlyphRight, -1, 4, TPoint(69, 32), Bounds(35, 34, 30, 12)},
      {blGlyphLeft, 5, 4, TPoint(15, 32), Bounds(35, 34, 30, 12)},
      {blGlyphRight, 5, 2, TPoint(89, 32), Bounds(57, 34, 30, 12)},
      // Vertically: (40 - (16 + 2 + 12) + 1) / 2 = 5 from the top.
      {blGlyphTop, -1, 2, TPoint(52, 25), Bounds(45, 43, 30, 12)},
      {blGlyphBottom, -1, 2, TPoint(52, 39), Bounds(45, 25, 30, 12)},
      // Spacing -1 centres the caption in the room the glyph leaves.
      {blGlyphLeft, 4, -1, TPoint(14, 32), Bounds(55, 34, 30, 12)},
      // Margin and spacing -1: three equal gaps.
      {blGlyphLeft, -1, -1, TPoint(28, 32), Bounds(62, 34, 30, 12)},
  };
  for (const LayoutCase& c : cases) {
    TPoint glyph;
    TRect text;
    CalcButtonLayout(Bounds(10, 20, 100, 40), TPoint(16, 16), TPoint(30, 12), c.Layout, c.Margin, c.Spacing, glyph,
                     text);
    EXPECT_EQ(glyph, c.Glyph) << int(c.Layout) << " " << c.Margin << " " << c.Spacing;
    EXPECT_EQ(text, c.Text) << int(c.Layout) << " " << c.Margin << " " << c.Spacing;
  }
  // Without a caption the glyph alone is centred.
  TPoint glyph;
  TRect text;
  CalcButtonLayout(Bounds(0, 0, 40, 40), TPoint(16, 16), TPoint(0, 0), blGlyphLeft, -1, 4, glyph, text);
  EXPECT_EQ(glyph, TPoint(12, 12));
}

struct KindCase {
  TBitBtnKind Kind;
  const char* Caption;
  TModalResult Result;
  bool Default;
  bool Cancel;
};

TEST_F(StdFormTest, KindsGiveCaptionResultRoleAndGlyph) {
  const KindCase cases[] = {
      {bkOK, "OK", mrOk, true, false},          {bkCancel, "Annuler", mrCancel, false, true},
      {bkHelp, "&Aide", mrNone, false, false},  {bkYes, "&Oui", mrYes, true, false},
      {bkNo, "&Non", mrNo, false, true},        {bkClose, "&Fermer", mrNone, false, false},
      {bkAbort, "Abandonner", mrAbort, false, false}, {bkRetry, "&Réessayer", mrRetry, false, false},
      {bkIgnore, "&Ignorer", mrIgnore, false, false}, {bkAll, "&Tous", mrAll, false, false},
  };
  for (const KindCase& c : cases) {
    auto* b = Add<TBitBtn>(10, 10);
    b->SetKind(c.Kind);
    EXPECT_EQ(b->Caption(), Utf8ToAnsi(c.Caption));
    EXPECT_EQ(b->ModalResult, c.Result) << c.Caption;
    EXPECT_EQ(b->Default(), c.Default) << c.Caption;
    EXPECT_EQ(b->Cancel, c.Cancel) << c.Caption;
    // The kind's glyph is drawn in code: an up and a disabled image with something on them.
    TBitmap* glyph = b->PaintGlyph();
    ASSERT_EQ(glyph->Width(), 36) << c.Caption;
    ASSERT_EQ(glyph->Height(), 18);
    TColor back = glyph->Canvas()->Pixels(0, 17);
    int drawn = 0;
    for (int y = 0; y < 18; ++y) {
      for (int x = 0; x < 18; ++x) drawn += glyph->Canvas()->Pixels(x, y) != back;
    }
    EXPECT_GT(drawn, 8) << c.Caption;
    delete b;
  }
  // A glyph of its own replaces the kind's.
  auto* b = Add<TBitBtn>(10, 10);
  b->SetKind(bkOK);
  TBitmap own;
  own.SetSize(32, 16);
  b->SetGlyph(&own);
  EXPECT_EQ(b->PaintGlyph(), b->Glyph());
  EXPECT_EQ(b->NumGlyphs(), 2);
}

TEST(BitBtnModalTest, KindButtonsEndTheModalForm) {
  TModalScript script;
  TFormPtr<TForm> f(CreateForm<TForm>(nullptr));
  f->SetBounds(150, 150, 300, 120);
  auto* edit = new TEdit(f.get());
  edit->SetParent(f.get());
  auto* yes = new TBitBtn(f.get());
  yes->SetParent(f.get());
  yes->SetBounds(10, 50, 90, 30);
  yes->SetKind(bkYes);
  auto* no = new TBitBtn(f.get());
  no->SetParent(f.get());
  no->SetBounds(110, 50, 90, 30);
  no->SetKind(bkNo);
  TForm* form = f.get();
  Later([form, edit] {
    Activate(form);
    EXPECT_TRUE(GiveFocus(edit));
    PressKey(VK_RETURN);
    EndModalIfStillOpen(form);
  });
  EXPECT_EQ(f->ShowModal(), mrYes);
  Later([form, no] {
    Activate(form);
    ClickControl(no);
    EndModalIfStillOpen(form);
  });
  EXPECT_EQ(f->ShowModal(), mrNo);
  // "&Oui": Alt+O clicks it.
  Later([form, edit] {
    Activate(form);
    edit->SetFocus();
    PressCombo(VK_MENU, 'O');
    EndModalIfStillOpen(form);
  });
  EXPECT_EQ(f->ShowModal(), mrYes);
  EXPECT_TRUE(script.Unexpected.empty());
}

TEST_F(StdFormTest, CloseKindClosesItsForm) {
  auto* b = Add<TBitBtn>(10, 10);
  b->SetKind(bkClose);
  ShowForm();
  ClickControl(b);
  EXPECT_FALSE(Form->Visible());
}

class SpeedButtonTest : public StdFormTest {
 protected:
  void SetUp() override {
    StdFormTest::SetUp();
    for (int i = 0; i < 3; ++i) {
      Buttons[i] = Add<TSpeedButton>(10 + 30 * i, 10, 25, 25);
      Buttons[i]->SetGroupIndex(1);
      Buttons[i]->OnClick = TNotifyEvent(this, &SpeedButtonTest::Clicked);
    }
    Plain = Add<TSpeedButton>(120, 10, 25, 25);
    Plain->OnClick = TNotifyEvent(this, &SpeedButtonTest::Clicked);
    ShowForm();
  }
  void Clicked(TObject* Sender) { Clicks.push_back(static_cast<TComponent*>(Sender) == Plain ? 9 : Index(Sender)); }
  int Index(TObject* Sender) const {
    for (int i = 0; i < 3; ++i) {
      if (Buttons[i] == Sender) return i;
    }
    return -1;
  }
  TSpeedButton* Buttons[3] = {};
  TSpeedButton* Plain = nullptr;
  std::vector<int> Clicks;
};

TEST_F(SpeedButtonTest, GroupedButtonsStayDownOneAtATime) {
  ClickControl(Buttons[0]);
  EXPECT_TRUE(Buttons[0]->Down());
  ClickControl(Buttons[2]);
  EXPECT_TRUE(Buttons[2]->Down());
  EXPECT_FALSE(Buttons[0]->Down());
  // Without AllowAllUp the down button stays down when clicked again.
  ClickControl(Buttons[2]);
  EXPECT_TRUE(Buttons[2]->Down());
  // With it, the click releases it and none is down.
  Buttons[1]->SetAllowAllUp(true);
  ClickControl(Buttons[2]);
  EXPECT_FALSE(Buttons[2]->Down());
  EXPECT_EQ(Clicks, (std::vector<int>{0, 2, 2, 2}));
  // A button outside any group never stays down, and still clicks.
  ClickControl(Plain);
  EXPECT_FALSE(Plain->Down());
  Plain->SetDown(true);
  EXPECT_FALSE(Plain->Down());
  EXPECT_EQ(Clicks.back(), 9);
}

TEST_F(SpeedButtonTest, DownSetByTheProgramReleasesTheGroupWithoutClicking) {
  Buttons[1]->SetDown(true);
  EXPECT_TRUE(Buttons[1]->Down());
  Buttons[0]->SetDown(true);
  EXPECT_FALSE(Buttons[1]->Down());
  EXPECT_EQ(Buttons[0]->State(), bsExclusive);
  EXPECT_TRUE(Clicks.empty());
  // A disabled button ignores the mouse.
  Buttons[2]->SetEnabled(false);
  ClickControl(Buttons[2]);
  EXPECT_FALSE(Buttons[2]->Down());
  EXPECT_TRUE(Clicks.empty());
}

TEST_F(SpeedButtonTest, ReleasingOutsideTheButtonDoesNotClick) {
  TPoint inside = Plain->ClientToScreen(TPoint(5, 5));
  TPoint outside = Plain->ClientToScreen(TPoint(60, 60));
  AwaitNoDoubleClick(inside);
  MoveMouseTo(inside);
  MouseButton(true, inside);
  // Expected, not asserted: the button is released whatever happens.
  EXPECT_TRUE(WaitFor("the button to go down under the press", [&] { return Plain->State() == bsDown; }));
  // Dragged out with the button held: it comes up, and the release out there is no click.
  MoveMouseTo(outside);
  EXPECT_TRUE(WaitFor("the button to come up as the mouse leaves it", [&] { return Plain->State() == bsUp; }));
  ReleaseButton(outside);
  EXPECT_TRUE(Clicks.empty());
}

}  // namespace
