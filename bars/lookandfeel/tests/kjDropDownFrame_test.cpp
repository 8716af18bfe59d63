// Tests of the drop-down frame: which corner takes the grip, and a real popup window whose
// non-client frame is painted and hit-tested by the routines, read back from the screen against
// the system's own size-grip glyph.
#include "BarTestSupport.h"
#include "kjDropDownFrame.h"

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
