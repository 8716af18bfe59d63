// Tests of the libraries' base: resource strings read from the module or replaced by a
// localiser's table, the cursors registered with the screen, the child components of library
// controls, and the shut-down of the control services, which never raises.
#include "BarTestSupport.h"
#include "Resources.h"
#include "kjControls.h"
#include "kwBarUtils.h"

namespace {

TEST(ResourceStrings, AreTheModuleStringsWithoutATable) {
  ASSERT_EQ(ResourceStringOverrides(), nullptr);
  struct Case {
    PResStringRec Res;
    const char* Text;
  } cases[] = {{&kjSDefaultCategory, "Default"},
               {&kwSCustomize, "&Customize..."},
               {&kwSManagerSecond, "A Form should contain only a single TkwBarManager"},
               {&kwSRecursiveSubItems, "You cannot create recursive subitems"}};
  for (const Case& c : cases) {
    char buffer[256];
    int length = LoadStringA(MainInstance(), UINT(c.Res->Identifier), buffer, sizeof(buffer));
    EXPECT_EQ(String(buffer, std::size_t(length)), c.Text);
    EXPECT_EQ(GetLocalizedResourceString(c.Res), c.Text);
  }
}

TEST(ResourceStrings, ALocalisersTableReplacesTheStringsItHolds) {
  TkjResourceStringOverrides* table = InstallResourceStringOverrides();
  table->Add(&kwSCustomize, "&Personnaliser...");
  EXPECT_EQ(GetLocalizedResourceString(&kwSCustomize), "&Personnaliser...");
  EXPECT_EQ(GetLocalizedResourceString(&kjSDefaultCategory), "Default");
  table->Add(&kwSCustomize, "P&ersonnaliser...");
  EXPECT_EQ(table->Count(), 1);
  EXPECT_EQ(GetLocalizedResourceString(&kwSCustomize), "P&ersonnaliser...");
  FreeResourceStringOverrides();
  EXPECT_EQ(GetLocalizedResourceString(&kwSCustomize), "&Customize...");
}

TEST(Cursors, AreRegisteredAtTheirIdentifiersAndShownByControls) {
  StartBarLibrary();
  for (int i = 0; i < 14; ++i) {
    HCURSOR module = LoadCursorA(MainInstance(), LookAndFeelCursorNames[i]);
    ASSERT_NE(module, nullptr) << LookAndFeelCursorNames[i];
    EXPECT_EQ(Screen->Cursors(crkjDragCopy + i), module) << LookAndFeelCursorNames[i];
  }
  EXPECT_EQ(Screen->Cursors(crkwBarDragCopy), LoadCursorA(MainInstance(), "KWBARDRAGCOPYCURSOR"));
  EXPECT_EQ(Screen->Cursors(crkwBarEditSizing), LoadCursorA(MainInstance(), "KWBAREDITSIZINGCURSOR"));
  // A control whose Cursor is 2113 shows the library's drag cursor.
  TFormPtr<TForm> form(CreateForm<TForm>(nullptr));
  auto* panel = new TTestPanel(form.get());
  panel->SetParent(form.get());
  panel->SetBounds(10, 10, 100, 60);
  panel->SetCursor(crkjDrag);
  form->Show();
  SendMessageA(panel->Handle(), WM_SETCURSOR, WPARAM(panel->Handle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorA(MainInstance(), "KJ_DRAGCURSOR"));
}

// A library control that keeps child components.
class THostControl : public TCustomControl, public IkjChildComponentHost {
 public:
  explicit THostControl(TComponent* AOwner) : TCustomControl(AOwner) {}
  void AddChildComponent(TkjControlChildComponent* Child) override {
    Children.push_back(Child);
    Child->SetControl(this);
  }
  void RemoveChildComponent(TkjControlChildComponent* Child) override {
    Children.erase(std::remove(Children.begin(), Children.end(), Child), Children.end());
  }
  std::vector<TkjControlChildComponent*> Children;
};

TEST(ChildComponents, JoinTheirControlAsParentAndLeaveItWhenFreed) {
  TComponent owner(nullptr);
  THostControl host(&owner);
  auto* child = new TkjControlChildComponent(&owner);
  child->SetParentComponent(&host);
  ASSERT_EQ(host.Children.size(), 1u);
  EXPECT_TRUE(child->HasParent());
  EXPECT_EQ(child->GetParentComponent(), &host);
  delete child;
  EXPECT_TRUE(host.Children.empty());
}

TEST(ControlServices, EndWithoutRaisingWhenATimerIsStillRegistered) {
  TFormPtr<TForm> form(CreateForm<TForm>(nullptr));
  HWND wnd = form->Handle();
  ASSERT_NE(SetTimer(wnd, 77, 60000, nullptr), 0u);
  AddMouseTrackingTimer(wnd, 77);
  EXPECT_EQ(MouseTrackingTimerCount(), 1);
  EXPECT_NO_THROW(FinishLookAndFeelControls());
  EXPECT_EQ(MouseTrackingTimerCount(), 0);
  // The forgotten timer was stopped.
  EXPECT_FALSE(KillTimer(wnd, 77));
  StartLookAndFeelControls();
  EXPECT_EQ(Screen->Cursors(crkjDrag), LoadCursorA(MainInstance(), "KJ_DRAGCURSOR"));
}

}  // namespace
