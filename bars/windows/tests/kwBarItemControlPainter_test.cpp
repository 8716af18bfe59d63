// Tests of the painters' sizes by style, of a style switched while bars show, and of the main
// menu's caption buttons for a maximized MDI child.
#include "BarWindowsTestSupport.h"
#include "kwBarUtils.h"

namespace {

class PainterSizes : public BarWindowsTest {};

TEST_F(PainterSizes, ByStyle) {
  struct Case {
    TkwBarManagerStyle Style;
    TkwBarPainterKind Kind;
    int GripArea, BarGroup, MenuGroup, SubMenuOffset, RowExtra;
    bool Flat, Mark, Shadow;
  } cases[] = {
      {bmsStandard, bpkStandard, 9, 6, 10, 3, 6, false, false, false},
      {bmsEnhanced, bpkEnhanced, 6, 6, 10, 3, 6, false, true, false},
      {bmsFlat, bpkFlat, 6, 5, 5, 2, 7, true, true, true},
      {bmsOffice11, bpkOffice11, 8, 5, 5, 2, 7, true, true, false},
  };
  for (const Case& c : cases) {
    Manager->SetStyle(c.Style);
    const TkwBarItemControlPainter* p = ItemPainterOf(Manager);
    ASSERT_EQ(p->Kind(), c.Kind) << c.Style;
    EXPECT_EQ(p->GetGripAreaSize(), c.GripArea) << c.Style;
    EXPECT_EQ(Manager->GripSize(), c.GripArea) << "the manager keeps the painter's size";
    EXPECT_EQ(p->GetBarBeginGroupSize(), c.BarGroup) << c.Style;
    EXPECT_EQ(p->GetMenuBeginGroupSize(), c.MenuGroup) << c.Style;
    EXPECT_EQ(p->GetSubMenuTopOffset(), c.SubMenuOffset) << c.Style;
    EXPECT_EQ(p->GetRowExtraHeight(), c.RowExtra) << c.Style;
    EXPECT_EQ(p->IsFlatLook(), c.Flat) << c.Style;
    EXPECT_EQ(p->HasMoreButtonsMark(), c.Mark) << c.Style;
  }
}

TEST_F(PainterSizes, ButtonArrowWidthsAreOddInTheBaseStyles) {
  Manager->SetStyle(bmsStandard);
  const TkwBarItemControlPainter* p = ItemPainterOf(Manager);
  struct Case {
    int Width;
    bool Large;
    int Expected;
  } cases[] = {{11, false, 11}, {11, true, 23}, {12, false, 13}, {12, true, 25}};
  for (const Case& c : cases) {
    Manager->SetButtonArrowWidth(c.Width);
    Manager->SetLargeIcons(c.Large);
    EXPECT_EQ(p->GetButtonArrowWidth(Manager), c.Expected) << c.Width << (c.Large ? " large" : "");
  }
  // The flat style's are one narrower.
  Manager->SetStyle(bmsFlat);
  Manager->SetLargeIcons(false);
  Manager->SetButtonArrowWidth(11);
  EXPECT_EQ(ItemPainterOf(Manager)->GetButtonArrowWidth(Manager), 10);
}

TEST_F(PainterSizes, MenuMetricsFollowTheRowHeight) {
  TkwBarSubItem* item = AddSubItem("&Fichier");
  TkwBarSubItem* empty = AddSubItem("&Vide");
  Link(item->ItemLinks(), AddButton("Un"));
  ShowForm();
  for (TkwBarManagerStyle style : {bmsStandard, bmsFlat}) {
    Manager->SetStyle(style);
    item->ItemLinks()->CreateBarControl();
    TkwBarSubMenuControl* menu = MenuOf(item);
    ASSERT_NE(menu, nullptr);
    menu->Show();
    int text = menu->MeasureText("0").cy;
    int row = text + 6 + (style == bmsFlat ? 1 : 0);
    EXPECT_EQ(menu->RowUnit(), row) << style;
    EXPECT_EQ(menu->MenuArrowWidth(), (row / 4) * 3 + 1) << style;
    EXPECT_EQ(menu->GlyphScaleBase(), style == bmsFlat ? 20 : 19);
    menu->CloseAndFree();
  }
  // A menu without entries is 100 pixels wide.
  Manager->SetStyle(bmsStandard);
  empty->ItemLinks()->CreateBarControl();
  TkwBarSubMenuControl* menu = MenuOf(empty);
  ASSERT_NE(menu, nullptr);
  menu->Show();
  EXPECT_EQ(menu->Width(), 100);
  menu->CloseAndFree();
}

TEST_F(PainterSizes, AStyleSwitchedWhileABarShowsChangesItsLookWithoutANewWindow) {
  TkwBar* bar = AddBar("Outils", false);
  Link(bar, AddButton("Un"));
  Link(bar, AddButton("Deux"), true);
  bar->SetWholeRow(true);
  bar->SetVisible(true);
  ShowForm();
  TkwBarControl* window = WindowOf(bar);
  ASSERT_TRUE(Painted(window));
  TRect last = ScreenRectOf(bar->ItemLinks()->Items(1));
  TPoint background(last.Right + 30, (last.Top + last.Bottom) / 2);
  EXPECT_TRUE(PixelIs(background, ColorOf(Manager->FlatBrush(1))));
  EXPECT_EQ(window->GetBeginGroupSize(), 5);
  Manager->SetStyle(bmsStandard);
  EXPECT_EQ(WindowOf(bar), window);
  EXPECT_EQ(window->GetBeginGroupSize(), 6);
  ASSERT_TRUE(Painted(window));
  last = ScreenRectOf(bar->ItemLinks()->Items(1));
  EXPECT_TRUE(PixelIs(TPoint(last.Right + 30, (last.Top + last.Bottom) / 2), GetSysColor(COLOR_BTNFACE)));
  // The separator is wider now: the second link moved right by the difference.
  TRect first = ScreenRectOf(bar->ItemLinks()->Items(0));
  EXPECT_EQ(last.Left - first.Right, 6);
}

// An MDI frame; made the application's main form, so that MDI children can be made in it.
class TMdiFrame : public TForm {
  VELBOR_DECLARE_CLASS(TMdiFrame, TForm)
 public:
  explicit TMdiFrame(TComponent* AOwner) : TForm(AOwner, true) { SetFormStyle(fsMDIForm); }
};
VELBOR_IMPLEMENT_CLASS(TMdiFrame)

class MdiCaptionButtons : public BarWindowsTest {
 protected:
  void SetUp() override {
    BarWindowsTest::SetUp();
    Form.reset();
    ASSERT_EQ(Application->MainForm(), nullptr);
    TMdiFrame* frame = nullptr;
    Application->CreateForm(frame);
    Form.reset(frame);
    Form->SetBounds(60, 60, 520, 300);
    Manager = new TkwBarManager(Form.get());
    Manager->SetStyle(bmsFlat);
    Bar = AddBar("Menu", true);
    Link(Bar, AddSubItem("&Fichier"));
    Bar->SetVisible(true);
    ShowForm();
    Child = new TForm(Form.get());
    Child->SetFormStyle(fsMDIChild);
    Child->SetCaption("Fiche");
    Child->SetBounds(10, 10, 200, 120);
    Child->Show();
    ShowWindow(Child->Handle(), SW_MAXIMIZE);
    ASSERT_TRUE(WaitFor("the child maximized", [&] { return IsZoomed(Child->Handle()) != 0; }));
    WindowOf(Bar)->RepaintBar();
  }
  TkwBar* Bar = nullptr;
  TForm* Child = nullptr;
};

TEST_F(MdiCaptionButtons, ShowAtTheEndOfTheMainMenuAndActOnTheChild) {
  TkwBarControl* window = WindowOf(Bar);
  ASSERT_EQ(Manager->GetActiveMDIChild(), Child->Handle());
  ASSERT_TRUE(window->IsMDIButtonsShown());
  TRect client = window->ClientRect();
  TRect close = window->GetCaptionButtonRect(2);
  TRect restore = window->GetCaptionButtonRect(1);
  TRect minimize = window->GetCaptionButtonRect(0);
  int mark = window->MarkExists() ? 11 : 0;
  EXPECT_EQ(close.Right, client.Right - mark - 2) << "the buttons end before the mark";
  EXPECT_EQ(close.Left, restore.Right + 2);
  EXPECT_EQ(restore.Left, minimize.Right);
  EXPECT_GT(minimize.Left, ScreenRectOf(Bar->ItemLinks()->Items(0)).Right - window->ClientOrigin().X);
  ASSERT_TRUE(Painted(window));
  SaveScreenshot(window->Handle(), "main-menu-mdi-buttons");
  // A close the child's system menu forbids shows disabled.
  EXPECT_TRUE(window->IsCaptionButtonEnabled(2));
  EnableMenuItem(GetSystemMenu(Child->Handle(), FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  EXPECT_FALSE(window->IsCaptionButtonEnabled(2));
  EnableMenuItem(GetSystemMenu(Child->Handle(), FALSE), SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
  // Restore acts on the child.
  TPoint at((restore.Left + restore.Right) / 2, (restore.Top + restore.Bottom) / 2);
  ClickAt(window->ClientToScreen(at));
  ASSERT_TRUE(WaitFor("the child restored", [&] { return !IsZoomed(Child->Handle()); }));
}

}  // namespace
