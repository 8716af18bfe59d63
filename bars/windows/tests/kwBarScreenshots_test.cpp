// Screenshots of a main-menu bar, a tool bar and an open sub-menu in every style, kept beside the
// test program (screenshots/) for a reviewer to look at; nothing is compared here.
#include "PainterScene.h"
#include "kwBarShadow.h"

namespace {

class Screenshots : public PainterScene, public ::testing::WithParamInterface<TPainterUnderTest> {};

TEST_P(Screenshots, OfTheBarsAndAnOpenMenu) {
  Build(GetParam());
  String name = PainterName(GetParam());
  Hover(Plain);
  SaveScreenshot(WindowOf(Menu)->Handle(), "main-menu-" + name);
  SaveScreenshot(WindowOf(Tools)->Handle(), "toolbar-" + name);
  TkwBarSubMenuControl* menu = OpenFileMenu();
  ASSERT_NE(menu, nullptr);
  Hover(Open);
  // The shadow follows the menu's first paint.
  if (menu->Painter()->HasShadow(menu)) {
    ASSERT_TRUE(WaitFor("the shadow shown", [&] {
      TkwBarShadow* shadow = menu->Shadow();
      if (!shadow || !shadow->Visible() || shadow->PartCount() == 0) return false;
      for (int i = 0; i < shadow->PartCount(); ++i)
        if (!shadow->Part(i) || !IsWindowVisible(shadow->Part(i)->Handle())) return false;
      return true;
    }));
  }
  // The menu with its shadow and the entry that opened it, taken from the screen.
  RECT r;
  GetWindowRect(menu->Handle(), &r);
  TRect owner = ScreenRectOf(Menu->ItemLinks()->Items(0));
  TRect all(std::min<int>(r.left, owner.Left) - 6, std::min<int>(r.top, owner.Top) - 6, r.right + 10, r.bottom + 10);
  TBitmap picture;
  picture.SetPixelFormat(pf24bit);
  picture.SetSize(all.Width(), all.Height());
  HDC screen = GetDC(nullptr);
  BitBlt(picture.Canvas()->Handle(), 0, 0, all.Width(), all.Height(), screen, all.Left, all.Top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  SaveBitmapPng(&picture, "submenu-" + name);
}

INSTANTIATE_TEST_SUITE_P(Painters, Screenshots, ::testing::Values(putStandard, putEnhanced, putFlat, putOffice11, putXP),
                         [](const auto& Info) { return String(PainterName(Info.param)); });

}  // namespace
