// A first look at a main-menu bar and a tool bar in the flat style.
#include "BarWindowsTestSupport.h"

namespace {

class Smoke : public BarWindowsTest {};

TEST_F(Smoke, MainMenuAndToolbarShow) {
  TkwBar* menu = AddBar("Menu", true);
  TkwBarSubItem* file = AddSubItem("&Fichier");
  TkwBarSubItem* edit = AddSubItem("&Edition");
  Link(menu, file);
  Link(menu, edit);
  Link(file->ItemLinks(), AddButton("&Ouvrir"));
  Link(file->ItemLinks(), AddButton("&Fermer"), true);
  TkwBar* tools = AddBar("Outils", false);
  Link(tools, AddButton("Un"));
  Link(tools, AddButton("Deux"), true);
  menu->SetVisible(true);
  tools->SetVisible(true);
  ShowForm();
  ASSERT_NE(WindowOf(menu), nullptr);
  ASSERT_TRUE(Painted(WindowOf(menu)));
  ClickAt(CentreOf(menu->ItemLinks()->Items(0)));
  ASSERT_TRUE(WaitFor("the menu", [&] { return MenuOf(file) != nullptr; }));
  ASSERT_TRUE(Painted(MenuOf(file)));
  SaveScreenshot(GetDesktopWindow(), "smoke");
  TkwBarSubMenuControl* m = MenuOf(file);
  TRect o = m->OwnerRect(), j = m->GetJoinRect(true), own = m->GetOwnJoinRect();
  RECT w; GetWindowRect(m->Handle(), &w);
  printf("owner %d %d %d %d join %d %d %d %d own %d %d %d %d win %ld %ld %ld %ld adj %d\n", o.Left, o.Top, o.Right, o.Bottom,
         j.Left, j.Top, j.Right, j.Bottom, own.Left, own.Top, own.Right, own.Bottom, w.left, w.top, w.right, w.bottom, m->AdjoinsOwnerRect());
}

}  // namespace
