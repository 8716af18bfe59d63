// Tests of the drop-down frame: which corner takes the grip, and a real popup window whose
// non-client frame is painted and hit-tested by the routines, read back from the screen against
// the system's own size-grip glyph.
#include "BarTestSupport.h"
#include "kjDropDownFrame.h"
#include "kjSystemGlyphs.h"

namespace {

TEST(DropDownFrame, TheGripGoesToTheCornerAwayFromTheEdit) {
  TRect edit(100, 100, 200, 120);
  struct Case {
    const char* Name;
    TRect DropDown;
    TkjGripCorner Corner;
    int HitTest;
  } cases[] = {
      {"below, to the right", TRect(100, 120, 300, 250), kjgcBottomRight, HTBOTTOMRIGHT},
      {"above, to the right", TRect(100, 0, 300, 100), kjgcTopRight, HTTOPRIGHT},
      {"below, to the left", TRect(-50, 120, 90, 250), kjgcBottomLeft, HTBOTTOMLEFT},
      {"above, to the left", TRect(-50, 0, 90, 100), kjgcTopLeft, HTTOPLEFT},
  };
  for (const Case& c : cases) {
    TkjGripCorner corner = SelectGripCorner(edit, c.DropDown);
    EXPECT_EQ(corner, c.Corner) << c.Name;
    EXPECT_EQ(GripCornerToHitTest(corner), c.HitTest) << c.Name;
  }
}

// A popup that reserves the frame and strip in its non-client area and lets the routines paint
// and hit-test them.
class TDropDownWindow : public TCustomControl {
 public:
  TDropDownWindow(TComponent* AOwner, TkjGripCorner Corner, bool Flat)
      : TCustomControl(AOwner), FCorner(Corner), FFlat(Flat) {}
  TRect GripRect;
  TRect CloseRect;

 protected:
  void CreateParams(TCreateParams& Params) override {
    TCustomControl::CreateParams(Params);
    Params.Style = (Params.Style & ~DWORD(WS_CHILD)) | WS_POPUP;
    Params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  }
  void Paint() override {
    Canvas()->Brush()->SetColor(clWindow);
    Canvas()->FillRect(ClientRect());
  }
  void Dispatch(TMessage& Message) override {
    switch (Message.Msg) {
      case WM_NCCALCSIZE: {
        auto* r = reinterpret_cast<RECT*>(Message.LParam);
        int strip = GetDropDownGripStripHeight() + 1;
        InflateRect(r, -1, -1);
        if (FCorner == kjgcTopLeft || FCorner == kjgcTopRight)
          r->top += strip;
        else
          r->bottom -= strip;
        Message.Result = 0;
        return;
      }
      case WM_NCPAINT:
        DrawDropDownFrame(Handle(), true, FFlat, FCorner, GripRect, CloseRect, false, false);
        Message.Result = 0;
        return;
      case WM_NCHITTEST: {
        TPoint p = ScreenToClient(TPoint(short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam))));
        if (GripRect.Contains(p)) {
          Message.Result = GripCornerToHitTest(FCorner);
          return;
        }
        break;
      }
    }
    TCustomControl::Dispatch(Message);
  }

 private:
  TkjGripCorner FCorner;
  bool FFlat;
};

class DropDownWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    Owner.reset(CreateForm<TForm>(nullptr));
    Owner->SetBounds(20, 20, 300, 300);
    Owner->Show();
  }
  TDropDownWindow* Open(TkjGripCorner Corner, bool Flat) {
    Window = new TDropDownWindow(Owner.get(), Corner, Flat);
    Window->SetParentWindow(Owner->Handle());
    Window->SetBounds(60, 80, 180, 120);
    Window->Show();
    RedrawNow(Window->Handle());
    return Window;
  }
  // The system's size grip as drawn into a cell of the given size, turned for the corner.
  COLORREF GlyphPixel(int Width, int Height, int X, int Y, TkjGripCorner Corner) {
    TBitmap glyph;
    glyph.SetPixelFormat(pf24bit);
    glyph.SetSize(Width, Height);
    RECT r = {0, 0, Width, Height};
    FillRect(glyph.Canvas()->Handle(), &r, GetSysColorBrush(COLOR_BTNFACE));
    DrawFrameControl(glyph.Canvas()->Handle(), &r, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    bool left = Corner == kjgcTopLeft || Corner == kjgcBottomLeft;
    bool top = Corner == kjgcTopLeft || Corner == kjgcTopRight;
    return ColorToRGB(glyph.Canvas()->Pixels(left ? Width - 1 - X : X, top ? Height - 1 - Y : Y));
  }
  TFormPtr<TForm> Owner;
  TDropDownWindow* Window = nullptr;
};

TEST_F(DropDownWindow, OpensBelowWithTheStripAndGripAtTheBottomRight) {
  Open(kjgcBottomRight, true);
  HWND wnd = Window->Handle();
  RECT r;
  GetWindowRect(wnd, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  // The flat border in button shadow, all round.
  for (TPoint p : {TPoint(0, 0), TPoint(w - 1, 40), TPoint(90, h - 1), TPoint(0, h - 1)})
    EXPECT_EQ(WindowPixel(wnd, p.X, p.Y), GetSysColor(COLOR_BTNSHADOW)) << p.X << "," << p.Y;
  // The strip at the bottom, under a line of the border colour; the client area above it.
  int strip = GetDropDownGripStripHeight();
  int stripTop = h - 1 - strip;
  EXPECT_EQ(WindowPixel(wnd, 90, stripTop - 1), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(WindowPixel(wnd, 90, stripTop + 1), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(WindowPixel(wnd, 90, stripTop - 5), GetSysColor(COLOR_WINDOW));
  // The grip: the client rectangle it reports, in the window's bottom-right corner, and hit-tested.
  TRect grip = Window->GripRect;
  ASSERT_FALSE(grip.IsEmpty());
  TPoint gripScreen = Window->ClientToScreen(TPoint(grip.Left, grip.Top));
  EXPECT_EQ(gripScreen.X + grip.Width(), r.right - 1);
  EXPECT_EQ(gripScreen.Y + grip.Height(), r.bottom - 1);
  TPoint inGrip = Window->ClientToScreen(TPoint(grip.Left + grip.Width() / 2, grip.Top + grip.Height() / 2));
  EXPECT_EQ(SendMessageA(wnd, WM_NCHITTEST, 0, MAKELPARAM(inGrip.X, inGrip.Y)), HTBOTTOMRIGHT);
  // Its glyph is the system's, in the cell less the two-pixel bands along the outer sides.
  int cellLeft = gripScreen.X - r.left, cellTop = gripScreen.Y - r.top;
  int gw = grip.Width() - 2, gh = grip.Height() - 2;
  int mismatches = 0;
  for (int y = 0; y < gh; ++y)
    for (int x = 0; x < gw; ++x)
      if (WindowPixel(wnd, cellLeft + x, cellTop + y) != GlyphPixel(gw, gh, x, y, kjgcBottomRight)) ++mismatches;
  EXPECT_EQ(mismatches, 0);
  // The close button at the other end, inside the strip.
  EXPECT_FALSE(Window->CloseRect.IsEmpty());
  EXPECT_LT(Window->CloseRect.Right, grip.Left);
  SaveScreenshot(wnd, "drop-down-frame-bottom-right");
}

TEST_F(DropDownWindow, OpensAboveWithTheStripAtTheTopAndTheGripTurned) {
  Open(kjgcTopLeft, false);
  HWND wnd = Window->Handle();
  RECT r;
  GetWindowRect(wnd, &r);
  EXPECT_EQ(WindowPixel(wnd, 0, 0), GetSysColor(COLOR_WINDOWFRAME));
  int strip = GetDropDownGripStripHeight();
  EXPECT_EQ(WindowPixel(wnd, 90, 1 + strip), GetSysColor(COLOR_WINDOWFRAME));
  EXPECT_EQ(WindowPixel(wnd, 90, 1 + strip + 3), GetSysColor(COLOR_WINDOW));
  TRect grip = Window->GripRect;
  TPoint gripScreen = Window->ClientToScreen(TPoint(grip.Left, grip.Top));
  EXPECT_EQ(gripScreen.X, r.left + 1);
  EXPECT_EQ(gripScreen.Y, r.top + 1);
  TPoint inGrip = Window->ClientToScreen(TPoint(grip.Left + 4, grip.Top + 4));
  EXPECT_EQ(SendMessageA(wnd, WM_NCHITTEST, 0, MAKELPARAM(inGrip.X, inGrip.Y)), HTTOPLEFT);
  int cellLeft = gripScreen.X - r.left + 2, cellTop = gripScreen.Y - r.top + 2;
  int gw = grip.Width() - 2, gh = grip.Height() - 2;
  int mismatches = 0;
  for (int y = 0; y < gh; ++y)
    for (int x = 0; x < gw; ++x)
      if (WindowPixel(wnd, cellLeft + x, cellTop + y) != GlyphPixel(gw, gh, x, y, kjgcTopLeft)) ++mismatches;
  EXPECT_EQ(mismatches, 0);
  EXPECT_GT(Window->CloseRect.Left, grip.Right);
  SaveScreenshot(wnd, "drop-down-frame-top-left");
}

}  // namespace

namespace {

// The close button of the strip, drawn on a bitmap: its edge by state, and the glyph where the
// caption buttons' width and the press put it (compared with the same glyph drawn in place).
TEST(DropDownCloseButton, TakesItsEdgeFromItsStateAndPlacesItsGlyph) {
  struct Case {
    const char* Name;
    bool Framed, Flat, Pressed;
    int TopLeft, BottomRight;  // system colours of the button's outer pixels
    bool GlyphPushed;
  } cases[] = {
      {"plain", false, false, false, COLOR_BTNFACE, COLOR_BTNFACE, false},
      {"hot", true, false, false, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, false},
      {"pressed", true, false, true, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, true},
      {"flat and hot", true, true, false, COLOR_BTNFACE, COLOR_BTNFACE, false},
      {"flat and pressed", true, true, true, COLOR_BTNFACE, COLOR_BTNFACE, false},
  };
  const TRect strip(0, 0, 120, 24);
  int w = GetSystemMetrics(SM_CXSIZE), h = GetSystemMetrics(SM_CYSIZE) + 1;
  for (TkjGripCorner corner : {kjgcTopLeft, kjgcBottomRight}) {
    // At the end away from the grip, vertically centred (a pixel lower with the strip below),
    // less one pixel across and two down.
    int left = corner == kjgcBottomRight ? strip.Left : strip.Right - w;
    int top = (strip.Top + strip.Bottom - h) / 2 + (corner == kjgcBottomRight ? 1 : 0);
    TRect button(left + 1, top + 2, left + w - 1, top + h - 2);
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << c.Name << ", corner " << corner);
      TBitmap drawn, expected;
      for (TBitmap* b : {&drawn, &expected}) {
        b->SetPixelFormat(pf24bit);
        b->SetSize(strip.Width(), strip.Height());
        b->Canvas()->Brush()->SetColor(clRed);
        b->Canvas()->FillRect(strip);
      }
      HDC dc = drawn.Canvas()->Handle();
      DrawDropDownCloseButton(dc, strip, c.Framed, corner, c.Flat, c.Pressed);
      auto at = [&](TBitmap& B, int X, int Y) { return ColorToRGB(B.Canvas()->Pixels(X, Y)); };
      EXPECT_EQ(at(drawn, button.Left, button.Top), GetSysColor(c.TopLeft));
      EXPECT_EQ(at(drawn, button.Right - 1, button.Bottom - 1), GetSysColor(c.BottomRight));
      EXPECT_EQ(at(drawn, button.Left - 1, button.Top), RGB(255, 0, 0));
      // The glyph: inside a button-face frame, one pixel lower unless the caption buttons are 22
      // pixels wide, one more right and down when pushed; clipped to the inside less one pixel.
      TRect inside(button.Left + 2, button.Top + 2, button.Right - 2, button.Bottom - 2);
      TRect glyph = inside;
      int down = (w != 22 ? 1 : 0) + (c.GlyphPushed ? 1 : 0);
      int right = c.GlyphPushed ? 1 : 0;
      glyph = TRect(glyph.Left + right, glyph.Top + down, glyph.Right + right, glyph.Bottom + down);
      HDC ref = expected.Canvas()->Handle();
      RECT face = {button.Left + 1, button.Top + 1, button.Right - 1, button.Bottom - 1};
      FillRect(ref, &face, GetSysColorBrush(COLOR_BTNFACE));
      {
        TSavedDC saved(ref);
        IntersectClipRect(ref, inside.Left, inside.Top, inside.Right, inside.Bottom);
        DrawSystemGlyph(ref, glyph, kjsgClose, GetSysColor(COLOR_BTNTEXT));
      }
      int mismatches = 0, ink = 0;
      for (int y = inside.Top - 1; y < inside.Bottom + 1; ++y)
        for (int x = inside.Left - 1; x < inside.Right + 1; ++x) {
          if (at(drawn, x, y) != at(expected, x, y)) ++mismatches;
          if (at(drawn, x, y) == GetSysColor(COLOR_BTNTEXT)) ++ink;
        }
      EXPECT_EQ(mismatches, 0);
      EXPECT_GT(ink, 0);
    }
  }
}

}  // namespace
