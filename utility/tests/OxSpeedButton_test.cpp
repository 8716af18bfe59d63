// Tests of the speed button under real mouse input: groups that keep one button down, the click
// and the form's modal result, the accelerator, the flat button's gray face until the mouse comes,
// the hot glyph, font and hint colour (and the glyph the button is left with), the repeated click
// while held, and the drop-down menu.
#include "StdCtrlsTestSupport.h"

#include <algorithm>

#include "Menus.h"
#include "OxSpeedButton.h"

namespace {

const TColor Red = RGBToColor(200, 30, 30);
const TColor Green = RGBToColor(30, 160, 40);
const TColor Blue = RGBToColor(20, 40, 190);
const TColor Yellow = RGBToColor(220, 200, 20);

// Glyphs of 16 x 16 on clFuchsia, each an 8 x 8 square of its colour in the middle.
void MakeGlyph(TBitmap& Bitmap, std::initializer_list<TColor> Colors) {
  int count = int(Colors.size());
  Bitmap.SetPixelFormat(pf24bit);
  Bitmap.SetSize(16 * count, 16);
  TCanvas* c = Bitmap.Canvas();
  c->Brush()->SetColor(clFuchsia);
  c->FillRect(Rect(0, 0, 16 * count, 16));
  int i = 0;
  for (TColor color : Colors) {
    c->Brush()->SetColor(color);
    c->FillRect(Bounds(16 * i++ + 4, 4, 8, 8));
  }
}

class SpeedButtons : public StdFormTest {
 protected:
  void SetUp() override {
    StdFormTest::SetUp();
    for (int i = 0; i < 3; ++i) {
      Grouped[i] = Add<TOxSpeedButton>(10 + 30 * i, 10, 25, 25);
      Grouped[i]->SetGroupIndex(1);
      Grouped[i]->OnClick = TNotifyEvent(this, &SpeedButtons::Clicked);
    }
    Plain = Add<TOxSpeedButton>(120, 10, 25, 25);
    Plain->OnClick = TNotifyEvent(this, &SpeedButtons::Clicked);
    ShowForm();
  }
  void Clicked(TObject* Sender) {
    ClickTimes.push_back(GetTickCount());
    for (int i = 0; i < 3; ++i) {
      if (Grouped[i] == Sender) Clicks.push_back(i);
    }
    if (Plain == Sender) Clicks.push_back(9);
  }
  // The pointer over the button or away from it, and the enter or leave notice the application's
  // idle work sends for that (test pumping does not run the idle work).
  void Hover(TOxSpeedButton* Button, bool Over) {
    MoveMouseTo(Over ? CentreOf(Button) : Form->ClientToScreen(TPoint(5, 250)));
    Button->Perform(Over ? CM_MOUSEENTER : CM_MOUSELEAVE);
    PumpPending();
  }
  // Screen point of a button's pixel.
  COLORREF Pixel(TOxSpeedButton* Button, int X, int Y) {
    Form->Repaint();
    EXPECT_TRUE(Painted(Form.get()));
    return PixelOf(Form.get(), Button->Left() + X, Button->Top() + Y);
  }
  TOxSpeedButton* Grouped[3] = {};
  TOxSpeedButton* Plain = nullptr;
  std::vector<int> Clicks;
  std::vector<DWORD> ClickTimes;
};

TEST_F(SpeedButtons, DefaultsOfANewButton) {
  EXPECT_EQ(Plain->Layout(), blGlyphTop);
  EXPECT_EQ(Plain->Spacing(), 1);
  EXPECT_EQ(Plain->Margin(), -1);
  EXPECT_TRUE(Plain->ShowHint());
  EXPECT_FALSE(Plain->ParentShowHint());
  EXPECT_EQ(TOxSpeedButton(nullptr).BoundsRect(), Rect(0, 0, 25, 25));
  // Out-of-range values: the glyph count is clamped, a margin below -1 ignored.
  Plain->SetNumGlyphs(9);
  EXPECT_EQ(Plain->NumGlyphs(), 5);
  Plain->SetMargin(-5);
  EXPECT_EQ(Plain->Margin(), -1);
}

TEST_F(SpeedButtons, GroupedButtonsStayDownOneAtATime) {
  ClickAt(CentreOf(Grouped[0]));
  EXPECT_TRUE(Grouped[0]->Down());
  EXPECT_EQ(Grouped[0]->State(), obsExclusive);
  ClickAt(CentreOf(Grouped[2]));
  EXPECT_TRUE(Grouped[2]->Down());
  EXPECT_FALSE(Grouped[0]->Down());
  EXPECT_EQ(Grouped[0]->State(), obsUp);
  // Without AllowAllUp the down button stays down when clicked again (and still clicks).
  ClickAt(CentreOf(Grouped[2]));
  EXPECT_TRUE(Grouped[2]->Down());
  // AllowAllUp set on one button is shared with its group: now the click releases it.
  Grouped[1]->SetAllowAllUp(true);
  EXPECT_TRUE(Grouped[2]->AllowAllUp());
  ClickAt(CentreOf(Grouped[2]));
  EXPECT_FALSE(Grouped[2]->Down());
  EXPECT_EQ(Clicks, (std::vector<int>{0, 2, 2, 2}));
  // A button outside any group never stays down.
  ClickAt(CentreOf(Plain));
  EXPECT_FALSE(Plain->Down());
  Plain->SetDown(true);
  EXPECT_FALSE(Plain->Down());
  EXPECT_EQ(Clicks.back(), 9);
}

TEST_F(SpeedButtons, DownSetByTheProgramReleasesTheGroupWithoutClicking) {
  Grouped[1]->SetDown(true);
  Grouped[0]->SetDown(true);
  EXPECT_FALSE(Grouped[1]->Down());
  EXPECT_EQ(Grouped[0]->State(), obsExclusive);
  // The down button cannot be released by the program either without AllowAllUp.
  Grouped[0]->SetDown(false);
  EXPECT_TRUE(Grouped[0]->Down());
  EXPECT_TRUE(Clicks.empty());
  // A disabled button ignores the mouse.
  Grouped[2]->SetEnabled(false);
  ClickAt(CentreOf(Grouped[2]));
  EXPECT_FALSE(Grouped[2]->Down());
  EXPECT_TRUE(Clicks.empty());
}

TEST_F(SpeedButtons, ClickGivesTheFormItsModalResultAndReleaseOutsideDoesNot) {
  Plain->ModalResult = mrOk;
  Plain->SetCaption("&Go");
  TPoint inside = CentreOf(Plain);
  AwaitNoDoubleClick(inside);
  MoveMouseTo(inside);
  PressButton(inside);
  EXPECT_EQ(Plain->State(), obsDown);
  MoveMouseTo(TPoint(inside.X + 60, inside.Y + 60));
  EXPECT_EQ(Plain->State(), obsUp);
  ReleaseButton();
  EXPECT_TRUE(Clicks.empty());
  EXPECT_EQ(Form->ModalResult(), mrNone);
  ClickAt(inside);
  EXPECT_EQ(Clicks, std::vector<int>{9});
  EXPECT_EQ(Form->ModalResult(), mrOk);
  // The caption's accelerator clicks it too.
  Form->SetModalResult(mrNone);
  PressCombo(VK_MENU, 'G');
  EXPECT_EQ(Clicks, (std::vector<int>{9, 9}));
  EXPECT_EQ(Form->ModalResult(), mrOk);
}

// Puts the visual styles back on at the end of a test that turned them off.
struct ThemesAllowed {
  explicit ThemesAllowed(bool Value) { OxThemes::SetAllowed(Value); }
  ~ThemesAllowed() { OxThemes::SetAllowed(true); }
};

// Drawn through the visual styles (when the system has them) and by the button itself.
TEST_F(SpeedButtons, FlatButtonShowsItsGrayFaceUntilTheMouseComes) {
  TBitmap glyph;
  MakeGlyph(glyph, {Red, Green, Blue, Yellow});
  int l = (77 * 200 + 150 * 30 + 29 * 30) >> 8;
  const TColor gray = RGBToColor(l, l, l);
  for (bool themes : {true, false}) {
    ThemesAllowed allowed(themes);
    SCOPED_TRACE(OxThemes::Active() ? "visual styles" : "self-drawn");
    Plain->SetBounds(200, 60, 30, 30);
    Plain->SetEnabled(true);
    Plain->SetGlyph(&glyph);
    Plain->SetFlat(true);
    Plain->SetGrayedInactive(true);
    Hover(Plain, false);
    EXPECT_EQ(Pixel(Plain, 15, 15), ColorToRGB(gray));
    Hover(Plain, true);
    EXPECT_TRUE(Plain->MouseInControl());
    EXPECT_EQ(Pixel(Plain, 15, 15), ColorToRGB(Red));
    Hover(Plain, false);
    EXPECT_FALSE(Plain->MouseInControl());
    // FlatStandard: the exclusive image (the fourth slice) away from the mouse.
    Plain->SetFlatStandard(true);
    EXPECT_EQ(Pixel(Plain, 15, 15), ColorToRGB(Yellow));
    // Without GrayedInactive the face drawn by the button itself keeps its colours (the visual
    // styles always draw the paint state).
    Plain->SetFlatStandard(false);
    Plain->SetGrayedInactive(false);
    EXPECT_EQ(Pixel(Plain, 15, 15), ColorToRGB(OxThemes::Active() ? gray : Red));
    // Disabled: the second slice.
    Plain->SetFlat(false);
    Plain->SetEnabled(false);
    EXPECT_EQ(Pixel(Plain, 15, 15), ColorToRGB(Green));
  }
}

TEST_F(SpeedButtons, SelfDrawnButtonShowsItsBorderLatchedFaceAndWhatLiesBehind) {
  ThemesAllowed allowed(false);
  Grouped[0]->SetBounds(200, 60, 30, 30);
  EXPECT_EQ(Pixel(Grouped[0], 0, 0), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(Pixel(Grouped[0], 29, 29), ColorToRGB(clWindowFrame));
  EXPECT_EQ(Pixel(Grouped[0], 5, 5), ColorToRGB(clBtnFace));
  Grouped[0]->SetDown(true);
  EXPECT_EQ(Pixel(Grouped[0], 0, 0), ColorToRGB(clWindowFrame));
  EXPECT_EQ(Pixel(Grouped[0], 29, 29), ColorToRGB(clBtnHighlight));
  // The latched face is dithered: face and highlight side by side.
  COLORREF a = Pixel(Grouped[0], 5, 5), b = Pixel(Grouped[0], 6, 5);
  EXPECT_NE(a, b);
  EXPECT_TRUE(a == ColorToRGB(clBtnHighlight) || b == ColorToRGB(clBtnHighlight));
  EXPECT_TRUE(a == ColorToRGB(clBtnFace) || b == ColorToRGB(clBtnFace));
  // Transparent: what lies behind the button shows inside its border.
  const TColor behind = RGBToColor(120, 200, 250);
  Form->SetColor(behind);
  Plain->SetBounds(250, 60, 30, 30);
  EXPECT_EQ(Pixel(Plain, 5, 5), ColorToRGB(clBtnFace));
  Plain->SetTransparent(true);
  EXPECT_EQ(Pixel(Plain, 5, 5), ColorToRGB(behind));
  EXPECT_EQ(Pixel(Plain, 0, 0), ColorToRGB(clBtnHighlight));
}

TEST_F(SpeedButtons, HotGlyphFontAndHintColourWhileTheMouseIsOver) {
  TBitmap normal, hot;
  MakeGlyph(normal, {Red});
  MakeGlyph(hot, {Blue});
  Plain->SetBounds(200, 60, 30, 30);
  Plain->SetGlyph(&normal);
  Plain->SetHotGlyph(&hot);
  Plain->HotTrack = true;
  Plain->HotTrackFont()->SetStyle({fsBold});
  Plain->HintColor = clYellow;
  int enters = 0, leaves = 0;
  struct TCounter : TObject {
    int* Count;
    void Count1(TObject*) { ++*Count; }
  } enter, leave;
  enter.Count = &enters;
  leave.Count = &leaves;
  Plain->OnMouseEnter = TNotifyEvent(&enter, &TCounter::Count1);
  Plain->OnMouseLeave = TNotifyEvent(&leave, &TCounter::Count1);
  TColor hint = Application->HintColor;
  Hover(Plain, true);
  EXPECT_EQ(Pixel(Plain, 15, 15), ColorToRGB(Blue));
  EXPECT_TRUE(Plain->Font()->Style().Contains(fsBold));
  EXPECT_EQ(Application->HintColor, clYellow);
  Hover(Plain, false);
  EXPECT_EQ(Pixel(Plain, 15, 15), ColorToRGB(Red));
  EXPECT_FALSE(Plain->Font()->Style().Contains(fsBold));
  EXPECT_TRUE(Plain->ParentFont());
  EXPECT_EQ(Application->HintColor, hint);
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(leaves, 1);
}

// The colour in the middle of a button's glyph, or clNone when it has none.
TColor GlyphColour(TOxSpeedButton* Button) {
  TBitmap* glyph = Button->Glyph();
  return glyph->Empty() ? clNone : glyph->Canvas()->Pixels(8, 8);
}

// The hot glyph lasts while the mouse is over the button: a button without a glyph of its own is
// left without one, and a glyph saved by an earlier visit never replaces one set since.
TEST_F(SpeedButtons, TheHotGlyphLeavesWithTheMouseAndNoOlderGlyphComesBack) {
  TBitmap hot, first, second, none;
  MakeGlyph(hot, {Blue});
  MakeGlyph(first, {Red});
  MakeGlyph(second, {Green});
  Plain->SetHotGlyph(&hot);
  Plain->Perform(CM_MOUSEENTER);
  EXPECT_EQ(GlyphColour(Plain), Blue);
  Plain->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(GlyphColour(Plain), clNone);

  Plain->SetGlyph(&first);
  Plain->Perform(CM_MOUSEENTER);
  EXPECT_EQ(GlyphColour(Plain), Blue);
  Plain->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(GlyphColour(Plain), Red);
  // Without a hot glyph the button's glyph stays what the program set last.
  Plain->SetHotGlyph(&none);
  Plain->SetGlyph(&second);
  Plain->Perform(CM_MOUSEENTER);
  Plain->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(GlyphColour(Plain), Green);
}

TEST_F(SpeedButtons, HeldButtonRepeatsItsClickAfterThePause) {
  auto clicks = [this](std::size_t Count) { return [this, Count] { return Clicks.size() >= Count; }; };
  // Without AllowTimer a held button clicks once, when released.
  TPoint centre = CentreOf(Plain);
  AwaitNoDoubleClick(centre);
  MoveMouseTo(centre);
  PressButton(centre);
  // Nothing must happen while it is held: 400 ms from the press handled.
  PumpFor(400);
  EXPECT_TRUE(Clicks.empty());
  ReleaseButton();
  EXPECT_EQ(Clicks.size(), 1u);

  Clicks.clear();
  ClickTimes.clear();
  Plain->SetAllowTimer(true);
  Plain->InitPause = 300;
  Plain->RepeatInterval = 50;
  AwaitNoDoubleClick(centre);
  DWORD pressed = GetTickCount();
  MouseButton(true, centre);
  ASSERT_TRUE(WaitFor("the first repeated click", clicks(1)));
  EXPECT_GE(ClickTimes[0] - pressed, 280u) << "the first repeat waits for InitPause";
  ASSERT_TRUE(WaitFor("three more repeated clicks", clicks(4)));
  // Then one every RepeatInterval: three take at least three intervals, and they do not wait for
  // the pause again (a loaded machine may delay some ticks, not all of them).
  EXPECT_GE(ClickTimes[3] - ClickTimes[0], 3u * 50u - 20u);
  DWORD shortest = ~DWORD(0);
  for (std::size_t i = 1; i < 4; ++i) shortest = std::min(shortest, ClickTimes[i] - ClickTimes[i - 1]);
  EXPECT_LT(shortest, 300u) << "the repeats come every RepeatInterval, not every InitPause";
  // Off the button the repeats stop (one tick may be under way): nothing more within 300 ms of
  // the pointer's arrival there.
  MoveMouseTo(TPoint(centre.X + 80, centre.Y));
  std::size_t away = Clicks.size();
  PumpFor(300);
  EXPECT_LE(Clicks.size(), away + 1);
  away = Clicks.size();
  // Released outside: no click, and no more repeats within 300 ms of the release handled.
  ReleaseButton();
  PumpFor(300);
  EXPECT_EQ(Clicks.size(), away);
}

TEST_F(SpeedButtons, PressShowsTheDropDownMenuInsteadOfClicking) {
  auto* menu = new TPopupMenu(Form.get());
  int popups = 0;
  struct TCounter : TObject {
    int* Count;
    void Popped(TObject*) { ++*Count; }
  } counter;
  counter.Count = &popups;
  menu->OnPopup = TNotifyEvent(&counter, &TCounter::Popped);
  auto* item = new TMenuItem(Form.get());
  item->SetCaption("Un");
  menu->Items()->Add(item);
  Plain->SetDropDownMenu(menu);
  // Inside the menu's own loop: input only, no pumping.
  LaterInMenu([] {
    SendKey(VK_ESCAPE, false);
    SendKey(VK_ESCAPE, true);
  });
  ClickAt(CentreOf(Plain));
  EXPECT_EQ(popups, 1);
  EXPECT_TRUE(Clicks.empty());
  EXPECT_EQ(menu->PopupComponent(), Plain);
  EXPECT_EQ(menu->PopupPoint(), Plain->ClientToScreen(TPoint(-1, Plain->Height())));
  // A press on the button while its menu is open closes the menu without opening it again.
  TPoint centre = CentreOf(Plain);
  LaterInMenu([centre] {
    MouseEventAt(centre, MOUSEEVENTF_LEFTDOWN);
    MouseEventAt(centre, MOUSEEVENTF_LEFTUP);
  });
  ClickAt(centre);
  // The menu's loop is over: nothing must open it again within 300 ms.
  PumpFor(300);
  EXPECT_EQ(popups, 2);
  if (popups > 2) Press(VK_ESCAPE);
  // The button lets go of a menu that is freed.
  delete menu;
  EXPECT_EQ(Plain->DropDownMenu(), nullptr);
}

}  // namespace
