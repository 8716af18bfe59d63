// Tests of the bar library's registries and routines: the item-class registry, unique item
// names, windows made layered and back, message pumping that meets WM_QUIT, mouse-leave tracking
// without TrackMouseEvent, captions without ampersands, the vertical gradient, item glyphs drawn
// normal, faded, gray, tinted and disabled, and the system glyphs drawn in code.
#include <cstdlib>

#include "BarTestSupport.h"
#include "kjSystemGlyphs.h"
#include "kwBarDrawing.h"
#include "kwBarUtils.h"
#include "kwOffice11Colors.h"

namespace {

class TOtherItem : public TkwBarItem {
  VELBOR_DECLARE_CLASS(TOtherItem, TkwBarItem)
 public:
  explicit TOtherItem(TComponent* AOwner) : TkwBarItem(AOwner) {}
};
VELBOR_IMPLEMENT_CLASS(TOtherItem)

TEST(ItemClassRegistry, KeepsEveryRecordAndRemovesTheFirstOfAClass) {
  InstallTestBarClasses();
  int records = BarItemClassRecordCount();
  int listed = GetListedItemClassCount();
  RegisterBarItemClass(TOtherItem::StaticClass(), TTestItemControl::StaticClass(), true);
  RegisterBarItemClass(TOtherItem::StaticClass(), TkwBarItemControl::StaticClass(), false);
  EXPECT_EQ(BarItemClassRecordCount(), records + 2);
  EXPECT_EQ(GetListedItemClassCount(), listed + 1);
  EXPECT_EQ(GetListedItemClass(listed), TOtherItem::StaticClass());
  EXPECT_EQ(GetListedItemClass(listed + 1), nullptr);
  EXPECT_EQ(GetItemControlClass(TOtherItem::StaticClass()), TTestItemControl::StaticClass());
  EXPECT_EQ(GetClass("TOtherItem"), TOtherItem::StaticClass());
  UnregisterBarItemClass(TOtherItem::StaticClass());
  EXPECT_EQ(BarItemClassRecordCount(), records + 1);
  EXPECT_EQ(GetItemControlClass(TOtherItem::StaticClass()), TkwBarItemControl::StaticClass());
  UnregisterBarItemClass(TOtherItem::StaticClass());
  EXPECT_EQ(GetItemControlClass(TOtherItem::StaticClass()), nullptr);
  // Only the exact class counts, not an ancestor.
  EXPECT_EQ(GetItemControlClass(TkwBarItem::StaticClass()), nullptr);
}

class BarRoutines : public BarFormTest {};

TEST_F(BarRoutines, AUniqueItemNameTakesTheFirstFreeCounterWhateverTheCase) {
  AddButton("a")->SetName("TestBarButton1");
  AddButton("b")->SetName("TESTBARBUTTON2");
  AddButton("c")->SetName("TestBarButton4");
  EXPECT_EQ(MakeUniqueItemName(Manager, TTestBarButton::StaticClass()), "TestBarButton3");
  EXPECT_EQ(MakeUniqueItemName(Manager, TTestSubItem::StaticClass()), "TestSubItem1");
}

TEST_F(BarRoutines, AFullyOpaqueWindowIsNotLayeredAndStaysAsItIs) {
  ShowForm();
  HWND wnd = Form->Handle();
  ASSERT_NE(LateUser32().SetLayeredWindowAttributes, nullptr);
  SetWindowAlphaBlend(wnd, 255);
  EXPECT_EQ(GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  SetWindowAlphaBlend(wnd, 128);
  EXPECT_NE(GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  SetWindowAlphaBlend(wnd, 255);
  EXPECT_EQ(GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
}

TEST_F(BarRoutines, MousePumpingStopsAtWMQuitAndPostsItAgain) {
  TMessageRecorder recorder(Form.get(), {WM_MOUSEMOVE, WM_USER + 7});
  HWND wnd = Form->Handle();
  PostMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  PostQuitMessage(3);
  PostMessageA(wnd, WM_USER + 7, 0, 0);
  DispatchMouseMessages();
  EXPECT_EQ(recorder.Seen, std::vector<UINT>{WM_MOUSEMOVE});
  MSG msg;
  // The other message is still queued, and so is the quit with its code; both are taken away here.
  EXPECT_TRUE(PeekMessageA(&msg, wnd, WM_USER + 7, WM_USER + 7, PM_REMOVE));
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
}

// Records WM_MOUSELEAVE of one window.
class TLeaveRecorder : public TTestPanel {
 public:
  explicit TLeaveRecorder(TComponent* AOwner) : TTestPanel(AOwner) {}
  int Leaves = 0;

 protected:
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_MOUSELEAVE) ++Leaves;
    TTestPanel::Dispatch(Message);
  }
};

TEST_F(BarRoutines, WithoutTrackMouseEventTrackingASecondWindowEndsTheFirst) {
  auto* first = new TLeaveRecorder(Form.get());
  first->SetParent(Form.get());
  first->SetBounds(10, 10, 50, 50);
  auto* second = new TLeaveRecorder(Form.get());
  second->SetParent(Form.get());
  second->SetBounds(80, 10, 50, 50);
  ShowForm();
  auto saved = LateUser32().TrackMouseEvent;
  LateUser32().TrackMouseEvent = nullptr;
  BeginMouseLeaveTracking(first->Handle());
  EXPECT_TRUE(IsMouseLeaveTracked(first->Handle()));
  BeginMouseLeaveTracking(second->Handle());
  EXPECT_EQ(first->Leaves, 1);
  EXPECT_FALSE(IsMouseLeaveTracked(first->Handle()));
  EXPECT_TRUE(IsMouseLeaveTracked(second->Handle()));
  EndMouseLeaveTracking(second->Handle());
  EXPECT_EQ(second->Leaves, 1);
  EXPECT_FALSE(IsMouseLeaveTracked(second->Handle()));
  LateUser32().TrackMouseEvent = saved;
}

TEST(BarText, AmpersandsAndAccelerators) {
  struct Case {
    const char* Caption;
    const char* Plain;
    char Accelerator;
  } cases[] = {{"&Fichier", "Fichier", 'f'},
               {"&&Save &as", "&Save as", 'a'},
               {"Cou&per", "Couper", 'p'},
               {"R&&D", "R&D", 0},
               {"A propos de ...", "A propos de ...", 0},
               {"Fin&", "Fin&", 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(RemoveAmpersands(c.Caption), c.Plain) << c.Caption;
    int shift = 1;
    EXPECT_EQ(TkwBarItemLink::GetAcceleratorChar(c.Caption, shift), c.Accelerator) << c.Caption;
  }
  int shift = 1 | 4;
  TkwBarItemLink::GetAcceleratorChar("&Fichier", shift);
  EXPECT_EQ(shift, 4);
  shift = 1;
  TkwBarItemLink::GetAcceleratorChar("&fichier", shift);
  EXPECT_EQ(shift, 1);
  int width = 7;
  EnsureMinItemWidth(width);
  EXPECT_EQ(width, 20);
}

// --- Drawing -----------------------------------------------------------------------------------

class BarDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    Target.SetPixelFormat(pf24bit);
    Target.SetSize(64, 300);
    Target.Canvas()->Brush()->SetColor(clWhite);
    Target.Canvas()->FillRect(TRect(0, 0, 64, 300));
    // A 4 x 4 glyph: a red square with a green pixel, on a fuchsia ground (the bottom-left).
    Glyph.SetPixelFormat(pf24bit);
    Glyph.SetSize(4, 4);
    Glyph.Canvas()->Brush()->SetColor(clFuchsia);
    Glyph.Canvas()->FillRect(TRect(0, 0, 4, 4));
    Glyph.Canvas()->Brush()->SetColor(TColor(RGB(200, 0, 0)));
    Glyph.Canvas()->FillRect(TRect(1, 1, 3, 3));
    Glyph.Canvas()->SetPixels(2, 2, TColor(RGB(0, 150, 0)));
  }
  COLORREF At(int X, int Y) { return ColorToRGB(Target.Canvas()->Pixels(X, Y)); }
  void Draw(const TkwGlyphDrawing& How, int Top) {
    TkwGlyphDrawing how = How;
    how.BackgroundBrush = GetSysColorBrush(COLOR_BTNFACE);
    DrawItemGlyph(Target.Canvas()->Handle(), TRect(0, Top, 8, Top + 8), TRect(2, Top + 2, 6, Top + 6), how, -1,
                  nullptr, &Glyph);
  }
  TBitmap Target;
  TBitmap Glyph;
};

TEST_F(BarDrawing, ItemGlyphsTakeTheirLookFromTheirFlags) {
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  auto fade = [](int c) { return c + MulDiv(255 - c, 3, 10); };
  struct Case {
    const char* Name;
    TkwGlyphDrawing How;
    COLORREF Red;    // at the glyph's (1, 1)
    COLORREF Green;  // at its (2, 2)
  } cases[] = {
      {"normal", {}, RGB(200, 0, 0), RGB(0, 150, 0)},
      {"grayed", [] { TkwGlyphDrawing h; h.Grayed = true; return h; }(), RGB(66, 66, 66), RGB(50, 50, 50)},
      {"faded", [] { TkwGlyphDrawing h; h.FadeNormal = true; return h; }(), RGB(fade(200), fade(0), fade(0)),
       RGB(fade(0), fade(150), fade(0))},
      {"faded but hot", [] { TkwGlyphDrawing h; h.FadeNormal = true; h.Hot = true; return h; }(), RGB(200, 0, 0),
       RGB(0, 150, 0)},
      {"disabled", [] { TkwGlyphDrawing h; h.Enabled = false; return h; }(), GetSysColor(COLOR_BTNSHADOW),
       GetSysColor(COLOR_BTNSHADOW)},
  };
  int top = 0;
  for (const Case& c : cases) {
    Draw(c.How, top);
    EXPECT_EQ(At(3, top + 3), c.Red) << c.Name;
    EXPECT_EQ(At(4, top + 4), c.Green) << c.Name;
    // The transparent ground shows the background.
    EXPECT_EQ(At(2, top + 2), face) << c.Name;
    top += 10;
  }
  // Disabled: the highlight copy one pixel right and down shows past the shadow.
  EXPECT_EQ(At(5, 40 + 5), GetSysColor(COLOR_BTNHIGHLIGHT));
  SaveBitmapPng(&Target, "item-glyphs");
}

TEST_F(BarDrawing, AGlyphDrawnAfterALargerOneKeepsItsOwnPixels) {
  // The drawing surfaces are kept from one glyph to the next: a large glyph over a copied
  // background first, then the small one over the brush.
  TBitmap large;
  large.SetPixelFormat(pf24bit);
  large.SetSize(32, 32);
  large.Canvas()->Brush()->SetColor(clFuchsia);
  large.Canvas()->FillRect(TRect(0, 0, 32, 32));
  large.Canvas()->Brush()->SetColor(clBlue);
  large.Canvas()->FillRect(TRect(4, 4, 28, 28));
  Target.Canvas()->Brush()->SetColor(clYellow);
  Target.Canvas()->FillRect(TRect(0, 100, 40, 140));
  TkwGlyphDrawing copy;
  copy.CopyBackground = true;
  DrawItemGlyph(Target.Canvas()->Handle(), TRect(0, 100, 40, 140), TRect(4, 104, 36, 136), copy, -1, nullptr, &large);
  EXPECT_EQ(At(1, 101), RGB(255, 255, 0)) << "the copied background";
  EXPECT_EQ(At(20, 120), RGB(0, 0, 255));
  EXPECT_EQ(At(6, 106), RGB(255, 255, 0)) << "the large glyph's transparent ground";
  Draw(TkwGlyphDrawing(), 0);
  EXPECT_EQ(At(0, 0), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(At(7, 7), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(At(3, 3), RGB(200, 0, 0));
  EXPECT_EQ(At(4, 4), RGB(0, 150, 0));
  EXPECT_EQ(At(2, 2), GetSysColor(COLOR_BTNFACE));
}

TEST_F(BarDrawing, AHotGlyphRisesOverItsShadowWhenFadedLooksRaise) {
  TkwGlyphDrawing how;
  how.FadeNormal = true;
  how.RaiseHot = true;
  how.Hot = true;
  Draw(how, 0);
  // The glyph one pixel up and left; its shadow one pixel right and down of where it was.
  EXPECT_EQ(At(2, 2), RGB(200, 0, 0));
  EXPECT_EQ(At(5, 5), GetSysColor(COLOR_BTNSHADOW));
}

TEST_F(BarDrawing, DisabledGlyphsCanBeTintedWithTheOffice11Colour) {
  TFakeVisualStyle classic(u"", u"", false);
  InitOffice11Colors();
  TkwGlyphDrawing how;
  how.Enabled = false;
  how.TintDisabled = true;
  Draw(how, 0);
  COLORREF tint = Office11Colors().Colors[5];
  auto tinted = [&](int R, int G, int B) {
    int lum = (77 * R + 151 * G + 28 * B) >> 8;
    int e = ((lum * 192 + 16320) >> 8) * 64;
    auto ch = [&](int c) { return std::min(255, (e + c * 192) >> 8); };
    return RGB(ch(GetRValue(tint)), ch(GetGValue(tint)), ch(GetBValue(tint)));
  };
  EXPECT_EQ(At(3, 3), tinted(200, 0, 0));
  EXPECT_EQ(At(4, 4), tinted(0, 150, 0));
}

TEST_F(BarDrawing, TheVerticalGradientRunsFromTheFirstColourToTheSecond) {
  // 256 bands over 100 pixels: each row shows the last band that reaches it, so the ends are a
  // band or two away from the colours themselves.
  FillVerticalGradient(Target.Canvas(), TRect(0, 0, 10, 100), 0, 0, 0, 255, 128, 64);
  auto isNear = [](COLORREF A, COLORREF B) {
    return std::abs(int(GetRValue(A)) - int(GetRValue(B))) <= 2 && std::abs(int(GetGValue(A)) - int(GetGValue(B))) <= 2 &&
           std::abs(int(GetBValue(A)) - int(GetBValue(B))) <= 2;
  };
  EXPECT_TRUE(isNear(At(5, 0), RGB(0, 0, 0))) << At(5, 0);
  EXPECT_TRUE(isNear(At(5, 99), RGB(255, 128, 64))) << At(5, 99);
  for (int y = 1; y < 100; ++y) EXPECT_GE(GetRValue(At(5, y)), GetRValue(At(5, y - 1))) << y;
  EXPECT_EQ(At(5, 100), RGB(255, 255, 255));
}

TEST_F(BarDrawing, CentredArrowsAreSizedFromTheirRectangle) {
  struct Case {
    TRect Rect;
    bool Horizontal;
    int Size;
  } cases[] = {{TRect(0, 0, 19, 10), true, 6}, {TRect(0, 0, 18, 10), true, 4}, {TRect(0, 0, 10, 12), false, 3},
               {TRect(0, 0, 10, 5), false, 3}};
  for (const Case& c : cases) EXPECT_EQ(CenteredArrowSize(c.Rect, c.Horizontal), c.Size);
}

TEST_F(BarDrawing, SystemGlyphsStayInTheirSquareAndArrowsNarrowToTheirTip) {
  struct Case {
    TkjSystemGlyph Glyph;
    int Tip;  // 0 none, 1 up, 2 down, 3 left, 4 right
  } cases[] = {{kjsgArrowUp, 1},  {kjsgArrowDown, 2}, {kjsgArrowLeft, 3}, {kjsgArrowRight, 4}, {kjsgClose, 0},
               {kjsgMinimize, 0}, {kjsgMaximize, 0},  {kjsgRestore, 0},   {kjsgCheck, 0}};
  int top = 0;
  for (const Case& c : cases) {
    TRect cell(0, top, 20, top + 20);
    DrawSystemGlyph(Target.Canvas()->Handle(), cell, c.Glyph, RGB(0, 0, 0));
    TRect square = SystemGlyphRect(cell, c.Glyph);
    std::vector<int> rows(20, 0), cols(20, 0);
    int ink = 0;
    for (int y = cell.Top; y < cell.Bottom; ++y)
      for (int x = cell.Left; x < cell.Right; ++x)
        if (At(x, y) == 0) {
          EXPECT_TRUE(square.Contains(TPoint(x, y))) << "glyph " << c.Glyph << " at " << x << "," << y;
          ++rows[std::size_t(y - top)];
          ++cols[std::size_t(x)];
          ++ink;
        }
    EXPECT_GT(ink, 0) << c.Glyph;
    auto ends = [](const std::vector<int>& v) {
      int first = 0, last = int(v.size()) - 1;
      while (first < last && v[std::size_t(first)] == 0) ++first;
      while (last > first && v[std::size_t(last)] == 0) --last;
      return std::pair{v[std::size_t(first)], v[std::size_t(last)]};
    };
    auto [firstRow, lastRow] = ends(rows);
    auto [firstCol, lastCol] = ends(cols);
    switch (c.Tip) {
      case 1: EXPECT_LT(firstRow, lastRow); break;
      case 2: EXPECT_GT(firstRow, lastRow); break;
      case 3: EXPECT_LT(firstCol, lastCol); break;
      case 4: EXPECT_GT(firstCol, lastCol); break;
      default: break;
    }
    top += 24;
  }
  SaveBitmapPng(&Target, "system-glyphs");
}

}  // namespace
