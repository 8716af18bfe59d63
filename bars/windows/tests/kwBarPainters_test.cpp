// Tests of the painters by the pixels the windows show: for each style, the bar background, a
// button normal, hot, pressed, checked and disabled, a separator, a drop-down arrow, and in an
// open menu the side strip, the glyph column, the item area, the selection, a separator, a
// disabled entry and the shadow; the expected colours come from the style's colour set (system
// colours, the manager's flat brushes, the Office-2003 table, the stand-in visual style's parts).
#include "PainterScene.h"

#include "kwBarDrawing.h"
#include "kwBarShadow.h"
#include "kwOffice11Colors.h"
#include "kwThemes.h"

namespace {

enum TCheck {
  ckBarBackground, ckNormalInside, ckNormalEdge, ckHotInside, ckHotEdge, ckPressedInside, ckPressedEdge,
  ckDownInside, ckDownEdge, ckMenuBarBackground, ckMenuSideStrip, ckMenuGlyphColumn, ckMenuItemArea,
  ckMenuSelectedInside, ckMenuSelectedEdge
};

const TPainterUnderTest AllPainters[] = {putStandard, putEnhanced, putFlat, putOffice11, putXP};

COLORREF Sys(int Index) { return GetSysColor(Index); }
COLORREF Slot(int Index) { return Office11Colors().Colors[Index]; }

// The colour a routine paints at a point of a rectangle, drawn on a bitmap of the same size.
template <class F>
COLORREF Reference(const TRect& Rect, TPoint At, F Paint) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(Rect.Width(), Rect.Height());
  TRect local(0, 0, Rect.Width(), Rect.Height());
  Paint(bitmap.Canvas()->Handle(), local);
  return GetPixel(bitmap.Canvas()->Handle(), At.X - Rect.Left, At.Y - Rect.Top);
}

TRect WindowRect(HWND Wnd) {
  RECT r;
  GetWindowRect(Wnd, &r);
  return r;
}

class Painters : public PainterScene, public ::testing::WithParamInterface<TPainterUnderTest> {
 protected:
  void SetUp() override {
    PainterScene::SetUp();
    Build(GetParam());
  }
  TRect Cell(TkwBarItemLink* Link) const { return ScreenRectOf(Link); }
  TPoint Inside(TkwBarItemLink* Link) const { return TPoint(Cell(Link).Left + 2, Cell(Link).Top + 2); }
  TPoint Edge(TkwBarItemLink* Link) const {
    TRect r = Cell(Link);
    return TPoint(r.Left, (r.Top + r.Bottom) / 2);
  }
  TPoint FarEdge(TkwBarItemLink* Link) const {
    TRect r = Cell(Link);
    return TPoint(r.Right - 1, (r.Top + r.Bottom) / 2);
  }
  // The Office-2003 two-part gradient of a cell, as the painter fills it.
  COLORREF CellGradient(TkwBarItemLink* Link, int First, int Second, TPoint At) const {
    return Reference(Cell(Link), At, [&](HDC DC, const TRect& R) {
      FillMidToneGradientRect(DC, R, TColor(Slot(First)), false, TColor(Slot(Second)));
    });
  }
  // The Office-2003 tool bar gradient under a screen point of the tool bar.
  COLORREF ToolbarGradient(TPoint At) const {
    TRect window = WindowRect(WindowOf(Tools)->Handle());
    return Reference(window, At, [&](HDC DC, const TRect& R) {
      TRect gradient = R;
      InflateBy(gradient, 0, -1);
      FillMidToneGradientRect(DC, gradient, TColor(Slot(0)), false, TColor(Slot(1)));
    });
  }
  COLORREF ToolbarBackground(TPoint At) const {
    switch (GetParam()) {
      case putFlat: return ColorOf(Manager->FlatBrush(1));
      case putOffice11: return ToolbarGradient(At);
      case putXP: return ThemePartColor(tkRebar, 0, 0);
      default: return Sys(COLOR_BTNFACE);
    }
  }
};

// --- Tool bar ---------------------------------------------------------------------------------------

TEST_P(Painters, ToolbarBackgroundAndAPlainButton) {
  TRect last = Cell(DropDown);
  TPoint background(last.Right + 30, (last.Top + last.Bottom) / 2);
  EXPECT_TRUE(PixelIs(background, ToolbarBackground(background)));
  COLORREF inside = GetParam() == putXP ? ThemePartColor(tkToolBar, 1, 1) : ToolbarBackground(Inside(Plain));
  EXPECT_TRUE(PixelIs(Inside(Plain), inside));
  COLORREF edge = GetParam() == putXP ? ThemePartColor(tkToolBar, 1, 1) : ToolbarBackground(Edge(Plain));
  EXPECT_TRUE(PixelIs(Edge(Plain), edge));
  SaveScreenshot(WindowOf(Tools)->Handle(), "toolbar-normal-" + String(PainterName(GetParam())));
}

TEST_P(Painters, AHotButton) {
  Hover(Plain);
  COLORREF inside, edge, farEdge;
  switch (GetParam()) {
    case putFlat:
      inside = ColorOf(Manager->FlatBrush(4));
      edge = farEdge = Sys(COLOR_HIGHLIGHT);
      break;
    case putOffice11:
      inside = CellGradient(Plain, 22, 23, Inside(Plain));
      edge = farEdge = Slot(21);
      break;
    case putXP: inside = edge = farEdge = ThemePartColor(tkToolBar, 1, 2); break;
    default:
      // A raised edge on the button face.
      inside = Sys(COLOR_BTNFACE);
      edge = Sys(COLOR_BTNHIGHLIGHT);
      farEdge = Sys(COLOR_BTNSHADOW);
      break;
  }
  EXPECT_TRUE(PixelIs(Inside(Plain), inside));
  EXPECT_TRUE(PixelIs(Edge(Plain), edge));
  EXPECT_TRUE(PixelIs(FarEdge(Plain), farEdge));
}

TEST_P(Painters, APressedButton) {
  Hover(Plain);
  MouseButton(true, CentreOf(Plain));
  TkwBarControl* window = WindowOf(Tools);
  ASSERT_TRUE(WaitFor("the press", [&] { return window->PressedControl() == Plain->Control(); }));
  ASSERT_TRUE(Painted(window));
  COLORREF inside, edge, farEdge;
  switch (GetParam()) {
    case putFlat:
      inside = ColorOf(Manager->FlatBrush(3));
      edge = farEdge = Sys(COLOR_HIGHLIGHT);
      break;
    case putOffice11:
      inside = CellGradient(Plain, 25, 24, Inside(Plain));
      edge = farEdge = Slot(21);
      break;
    case putXP: inside = edge = farEdge = ThemePartColor(tkToolBar, 1, 3); break;
    default:
      // A sunken edge.
      inside = Sys(COLOR_BTNFACE);
      edge = Sys(COLOR_BTNSHADOW);
      farEdge = Sys(COLOR_BTNHIGHLIGHT);
      break;
  }
  COLORREF seenInside = ScreenPixel(Inside(Plain)), seenEdge = ScreenPixel(Edge(Plain));
  COLORREF seenFar = ScreenPixel(FarEdge(Plain));
  ReleaseButton(CentreOf(Plain));
  EXPECT_EQ(seenInside, inside);
  EXPECT_EQ(seenEdge, edge);
  EXPECT_EQ(seenFar, farEdge);
  EXPECT_EQ(static_cast<TkwBarButton*>(Plain->Item())->Clicks, 1);
}

TEST_P(Painters, ACheckedButtonNotUnderTheMouse) {
  TPoint inside = Inside(Checked);
  switch (GetParam()) {
    case putFlat:
      EXPECT_TRUE(PixelIs(inside, ColorOf(Manager->FlatBrush(2))));
      EXPECT_TRUE(PixelIs(Edge(Checked), Sys(COLOR_HIGHLIGHT)));
      break;
    case putOffice11:
      // The pressed pair the other way round: the checked look.
      EXPECT_TRUE(PixelIs(inside, CellGradient(Checked, 24, 25, inside)));
      EXPECT_TRUE(PixelIs(Edge(Checked), Slot(21)));
      break;
    case putXP: EXPECT_TRUE(PixelIs(inside, ThemePartColor(tkToolBar, 1, 5))); break;
    default: {
      // The checker pattern of button highlight and button face, in a sunken edge.
      EXPECT_TRUE(PixelIs(Edge(Checked), Sys(COLOR_BTNSHADOW)));
      COLORREF a = ScreenPixel(inside), b = ScreenPixel(TPoint(inside.X + 1, inside.Y));
      EXPECT_NE(a, b);
      for (COLORREF c : {a, b}) EXPECT_TRUE(c == Sys(COLOR_BTNHIGHLIGHT) || c == Sys(COLOR_BTNFACE)) << std::hex << c;
      break;
    }
  }
}

TEST_P(Painters, ADisabledButtonIsNeverHotAndShowsItsCaptionDisabled) {
  Hover(Disabled);
  TRect r = Cell(Disabled);
  COLORREF normal = GetParam() == putXP ? ThemePartColor(tkToolBar, 1, 4) : ToolbarBackground(Inside(Disabled));
  EXPECT_TRUE(PixelIs(Inside(Disabled), normal));
  switch (GetParam()) {
    case putFlat:
      EXPECT_TRUE(ScreenRectHas(r, Sys(COLOR_GRAYTEXT)));
      EXPECT_FALSE(ScreenRectHas(r, Sys(COLOR_BTNTEXT)));
      break;
    case putOffice11:
      EXPECT_TRUE(ScreenRectHas(r, Slot(31)));
      EXPECT_FALSE(ScreenRectHas(r, Slot(30)));
      break;
    default:
      // Embossed: a highlight copy under the shadow-coloured text.
      EXPECT_TRUE(ScreenRectHas(r, Sys(COLOR_BTNSHADOW)));
      EXPECT_TRUE(ScreenRectHas(r, Sys(COLOR_BTNHIGHLIGHT)));
      EXPECT_FALSE(ScreenRectHas(r, Sys(COLOR_BTNTEXT)));
      break;
  }
}

TEST_P(Painters, TheSeparatorBeforeAGroup) {
  TRect r = Cell(Checked);
  int g = WindowOf(Tools)->GetBeginGroupSize();
  int y = (r.Top + r.Bottom) / 2;
  int left = r.Left - g;
  switch (GetParam()) {
    case putFlat:
      ASSERT_EQ(g, 5);
      EXPECT_TRUE(PixelIs(TPoint(left + 2, y), Sys(COLOR_BTNSHADOW)));
      EXPECT_TRUE(PixelIs(TPoint(left + 1, y), ColorOf(Manager->FlatBrush(1))));
      EXPECT_TRUE(PixelIs(TPoint(left + 3, y), ColorOf(Manager->FlatBrush(1))));
      break;
    case putOffice11:
      ASSERT_EQ(g, 5);
      EXPECT_TRUE(PixelIs(TPoint(left + 2, y), Slot(14)));
      EXPECT_TRUE(PixelIs(TPoint(left + 3, y), Slot(15)));
      break;
    case putXP: EXPECT_TRUE(PixelIs(TPoint(left + 2, y), ThemePartColor(tkToolBar, 5, 1))); break;
    default:
      // An etched line between two pixels of background on each side.
      ASSERT_EQ(g, 6);
      EXPECT_TRUE(PixelIs(TPoint(left + 1, y), Sys(COLOR_BTNFACE)));
      EXPECT_TRUE(PixelIs(TPoint(left + 2, y), Sys(COLOR_BTNSHADOW)));
      EXPECT_TRUE(PixelIs(TPoint(left + 3, y), Sys(COLOR_BTNHIGHLIGHT)));
      EXPECT_TRUE(PixelIs(TPoint(left + 4, y), Sys(COLOR_BTNFACE)));
      break;
  }
}

TEST_P(Painters, TheDropDownArrow) {
  TRect r = Cell(DropDown);
  int width = static_cast<TkwBarButtonControl*>(DropDown->Control())->GetArrowWidth();
  TRect arrow(r.Right - width, r.Top, r.Right, r.Bottom);
  int cx = (arrow.Left + arrow.Right) / 2, cy = (arrow.Top + arrow.Bottom) / 2;
  TRect middle(cx - 3, cy - 3, cx + 4, cy + 4);
  COLORREF color = GetParam() == putOffice11 ? Slot(30)
                   : GetParam() == putXP     ? ThemePartColor(tkToolBar, 4, 1)
                                             : Sys(COLOR_BTNTEXT);
  EXPECT_TRUE(ScreenRectHas(middle, color));
}

// --- Main-menu bar and menus ---------------------------------------------------------------------

TEST_P(Painters, TheMainMenuBarBackground) {
  TRect last = Cell(Menu->ItemLinks()->Items(1));
  TPoint at(last.Right + 40, (last.Top + last.Bottom) / 2);
  COLORREF expected;
  switch (GetParam()) {
    case putOffice11: {
      // The main menu shows its dock site's gradient, left to right.
      TkwDockSite* dock = Manager->Bars()->EdgeDockSite(dsTop);
      TRect dockRect = WindowRect(dock->Handle());
      expected = Reference(dockRect, at, [&](HDC DC, const TRect& R) {
        FillGradientRect(DC, R, TColor(Slot(2)), true, TColor(Slot(3)));
      });
      break;
    }
    case putXP: expected = ThemePartColor(tkRebar, 0, 0); break;
    default: expected = Sys(COLOR_BTNFACE); break;
  }
  EXPECT_TRUE(PixelIs(at, expected));
}

TEST_P(Painters, AnOpenMenuItsStripColumnItemsSelectionAndShadow) {
  TkwBarSubMenuControl* menu = OpenFileMenu();
  ASSERT_NE(menu, nullptr);
  Hover(Open);
  TRect quit = Cell(Quit);
  int y = (quit.Top + quit.Bottom) / 2;
  TRect window = WindowRect(menu->Handle());
  // The side strip, painted by its sub-item, left of the items.
  EXPECT_TRUE(PixelIs(TPoint(window.Left + 4, y), StripColor));
  TPoint column(quit.Left + 3, y), area(quit.Right - 3, y);
  COLORREF columnColor, areaColor, selectedInside, selectedEdge;
  switch (GetParam()) {
    case putFlat:
      columnColor = ColorOf(Manager->FlatBrush(1));
      areaColor = Sys(COLOR_WINDOW);
      selectedInside = ColorOf(Manager->FlatBrush(4));
      selectedEdge = Sys(COLOR_HIGHLIGHT);
      break;
    case putOffice11: {
      TRect client = menu->ClientRect();
      POINT origin = {0, 0};
      ClientToScreen(menu->Handle(), &origin);
      TRect gradient = Bounds(origin.x, origin.y, menu->GetSideBarWidth() + menu->RowUnit() + 2, client.Height());
      columnColor = Reference(gradient, column, [&](HDC DC, const TRect& R) {
        FillGradientRect(DC, R, TColor(Slot(0)), true, TColor(Slot(1)));
      });
      areaColor = Slot(19);
      selectedInside = Slot(20);
      selectedEdge = Slot(21);
      break;
    }
    case putXP:
      // The glyph cell shows the theme's tool bar button in its normal state.
      columnColor = ThemePartColor(tkToolBar, 1, 1);
      areaColor = Sys(COLOR_MENU);
      selectedInside = selectedEdge = Sys(COLOR_HIGHLIGHT);
      break;
    default:
      columnColor = areaColor = Sys(COLOR_BTNFACE);
      selectedInside = selectedEdge = Sys(COLOR_HIGHLIGHT);
      break;
  }
  EXPECT_TRUE(PixelIs(column, columnColor));
  EXPECT_TRUE(PixelIs(area, areaColor));
  TRect open = Cell(Open);
  EXPECT_TRUE(PixelIs(TPoint(open.Right - 3, (open.Top + open.Bottom) / 2), selectedInside));
  EXPECT_TRUE(PixelIs(TPoint(open.Right - 1, (open.Top + open.Bottom) / 2), selectedEdge));
  // The separator above the last entry.
  int g = menu->GetBeginGroupSize();
  TPoint line((quit.Left + quit.Right) / 2 + 10, quit.Top - g + (GetParam() == putStandard || GetParam() == putEnhanced ? 4 : g / 2));
  switch (GetParam()) {
    case putXP: EXPECT_TRUE(PixelIs(line, ThemePartColor(tkToolBar, 6, 1))); break;
    default: EXPECT_TRUE(PixelIs(line, Sys(COLOR_BTNSHADOW))); break;
  }
  // The disabled entry's caption.
  TRect save = Cell(Save);
  COLORREF disabled = GetParam() == putFlat       ? Sys(COLOR_GRAYTEXT)
                      : GetParam() == putOffice11 ? Slot(31)
                                                  : Sys(COLOR_BTNSHADOW);
  EXPECT_TRUE(ScreenRectHas(save, disabled));
  // The shadow right of the menu darkens what lies beneath by the alpha of its second column
  // (45 of 255); the standard styles cast none.
  TPoint beneath(window.Right + 12, (window.Top + window.Bottom) / 2);
  TPoint shadow(window.Right + 1, beneath.Y);
  COLORREF under = ScreenPixel(beneath);
  bool casts = GetParam() == putFlat || GetParam() == putOffice11 || GetParam() == putXP;
  COLORREF expected = casts ? RGB(MulDiv(GetRValue(under), 210, 255), MulDiv(GetGValue(under), 210, 255),
                                  MulDiv(GetBValue(under), 210, 255))
                            : under;
  EXPECT_TRUE(PixelIs(shadow, expected));
  EXPECT_EQ(menu->Shadow()->Visible(), casts);
}

// The flat styles draw an open main-menu entry joined to its menu.
class JoinedPainters : public Painters {};

TEST_P(JoinedPainters, AnOpenMainMenuEntryJoinsItsMenu) {
  ASSERT_TRUE(ItemPainterOf(Manager)->JoinsOpenMenuToOwner(nullptr));
  TkwBarSubMenuControl* menu = OpenFileMenu();
  ASSERT_NE(menu, nullptr);
  TRect entry = Cell(Menu->ItemLinks()->Items(0));
  TRect window = WindowRect(menu->Handle());
  ASSERT_EQ(window.Top, entry.Bottom);
  int x = (entry.Left + entry.Right) / 2;
  COLORREF owner = ColorOf(ItemPainterOf(Manager)->GetOpenOwnerBrush(Manager));
  // No frame line where they touch: the entry's last row and the menu's first row take the
  // open entry's colour; the menu's frame goes on beside the entry.
  EXPECT_TRUE(PixelIs(TPoint(x, entry.Bottom - 1), owner));
  EXPECT_EQ(ScreenPixel(TPoint(window.Right - 2, window.Top)), ScreenPixel(TPoint(window.Right - 2, window.Bottom - 1)));
  if (GetParam() == putFlat) {
    EXPECT_TRUE(PixelIs(TPoint(x, window.Top), owner));
  }
}

INSTANTIATE_TEST_SUITE_P(Flat, JoinedPainters, ::testing::Values(putFlat, putOffice11),
                         [](const auto& Info) { return String(PainterName(Info.param)); });
INSTANTIATE_TEST_SUITE_P(All, Painters, ::testing::ValuesIn(AllPainters),
                         [](const auto& Info) { return String(PainterName(Info.param)); });

}  // namespace
