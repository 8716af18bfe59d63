// Screenshots of a main-menu bar, a tool bar and an open sub-menu in every style, kept beside the
// test program (screenshots/) for a reviewer to look at; nothing is compared here.
#include "PainterScene.h"

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
  // The menu with its shadow and the entry that opened it.
  RECT r;
  GetWindowRect(menu->Handle(), &r);
  RECT owner = menu->OwnerRect();
  RECT all = {std::min(r.left, owner.left) - 4, std::min(r.top, owner.top) - 4, r.right + 8, r.bottom + 8};
  HWND desktop = GetDesktopWindow();
  SaveScreenshot(desktop, "desktop-" + name);
  (void)all;
  EXPECT_TRUE(IsWindowVisible(menu->Handle()));
}

INSTANTIATE_TEST_SUITE_P(Painters, Screenshots, ::testing::Values(putStandard, putEnhanced, putFlat, putOffice11, putXP),
                         [](const auto& Info) { return String(PainterName(Info.param)); });

}  // namespace
