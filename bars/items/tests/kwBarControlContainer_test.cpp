// Tests of the control container item: an edit of the form shown and typed into inside a bar,
// the bar laid out again when the edit changes size, one control for one item only, the control
// deleted under the item, the placeholder drawn without control, and the item as a text entry in
// a menu.
#include "ItemsTestSupport.h"
#include "StdCtrls.h"
#include "kwBarControlContainer.h"

namespace {

class ControlContainers : public BarItemsTest {
 protected:
  void SetUp() override {
    BarItemsTest::SetUp();
    Edit = new TEdit(Form.get());
    Edit->SetName("edRecherche");
    Edit->SetParent(Form.get());
    Edit->SetBounds(10, 200, 120, 21);
    Bar = AddBar("Outils", false);
    Link(Bar, AddItem<TkwBarButton>("Avant"));
    Container = AddItem<TkwBarControlContainerItem>("&Recherche");
    Container->SetName("ciRecherche");
    Container->SetControl(Edit);
    Link(Bar, Container);
    Link(Bar, AddItem<TkwBarButton>(String("Après"_a)));
    Bar->SetVisible(true);
    ShowForm();
    ASSERT_TRUE(Painted());
  }
  TkwBarItemLink* ContainerLink() const { return Bar->ItemLinks()->Items(1); }
  // Whether the edit shows exactly over its link's place in the bar.
  bool EditOverItsLink() const {
    if (!Edit->HandleAllocated() || !IsWindowVisible(Edit->Handle())) return false;
    RECT r;
    GetWindowRect(Edit->Handle(), &r);
    TRect link = ScreenRectOf(ContainerLink());
    return r.left == link.Left && r.top == link.Top && r.right == link.Right && r.bottom == link.Bottom;
  }
  TEdit* Edit = nullptr;
  TkwBar* Bar = nullptr;
  TkwBarControlContainerItem* Container = nullptr;
};

TEST_F(ControlContainers, TheEditShowsInTheBarAndTakesTyping) {
  ASSERT_TRUE(WaitFor("the edit placed over its link", [&] { return EditOverItsLink(); }));
  EXPECT_EQ(Edit->Parent(), Container->PlaceForm());
  EXPECT_EQ(::GetParent(Container->PlaceForm()->Handle()), WindowOf(Bar)->Handle());
  EXPECT_EQ(ContainerLink()->ItemRect.Width(), 120);
  EXPECT_EQ(ContainerLink()->ItemRect.Height(), 21);
  EXPECT_EQ(ScreenRectOf(Bar->ItemLinks()->Items(2)).Left, ScreenRectOf(ContainerLink()).Right)
      << "the next button follows the edit";
  ClickAt(CentreOf(ContainerLink()));
  ASSERT_TRUE(WaitFor("the edit focused", [&] { return GetFocus() == Edit->Handle(); }));
  TypeText("marais");
  EXPECT_EQ(Edit->Text(), "marais");
  RECT bar;
  GetWindowRect(WindowOf(Bar)->Handle(), &bar);
  SaveScreenArea(TRect(bar.left, bar.top, bar.right, bar.bottom), "control-container");
}

TEST_F(ControlContainers, ResizingTheEditLaysTheBarOutAgain) {
  Edit->SetWidth(180);
  ASSERT_TRUE(WaitFor("the link as wide as the edit", [&] { return ContainerLink()->ItemRect.Width() == 180; }));
  ASSERT_TRUE(Painted());
  ASSERT_TRUE(WaitFor("the edit placed over its link", [&] { return EditOverItsLink(); }));
  EXPECT_EQ(ScreenRectOf(Bar->ItemLinks()->Items(2)).Left, ScreenRectOf(ContainerLink()).Right);
}

TEST_F(ControlContainers, OneControlServesOneItemOnly) {
  auto* second = AddItem<TkwBarControlContainerItem>("Autre");
  try {
    second->SetControl(Edit);
    ADD_FAILURE() << "no exception";
  } catch (const EInvalidOperation& e) {
    EXPECT_STREQ(e.what(), "You cannot assign the same control to more than one TkwBarControlContainerItem.");
  }
  EXPECT_EQ(second->Control(), nullptr);
  EXPECT_EQ(Container->Control(), Edit);
  // Given up, the edit leaves the holder and the bar; then another item may take it.
  Container->SetControl(nullptr);
  EXPECT_EQ(Edit->Parent(), nullptr);
  second->SetControl(Edit);
  EXPECT_EQ(second->Control(), Edit);
}

// The hosted edit deleted: the item forgets it and the bar shows the placeholder with the item's
// name on the hatch in the shadow colour.
TEST_F(ControlContainers, ADeletedControlLeavesThePlaceholder) {
  ASSERT_TRUE(WaitFor("the edit placed over its link", [&] { return EditOverItsLink(); }));
  delete Edit;
  Edit = nullptr;
  EXPECT_EQ(Container->Control(), nullptr);
  ASSERT_TRUE(Painted());
  TRect r = ScreenRectOf(ContainerLink());
  EXPECT_GT(r.Width(), WindowOf(Bar)->Canvas()->TextWidth("The place for the ciRecherche"));
  EXPECT_TRUE(ScreenRectHas(r, GetSysColor(COLOR_BTNSHADOW)));
  EXPECT_TRUE(ScreenRectHas(r, GetSysColor(COLOR_BTNTEXT))) << "the name written";
  EXPECT_FALSE(IsWindowVisible(Container->PlaceForm()->Handle()));
  RECT bar;
  GetWindowRect(WindowOf(Bar)->Handle(), &bar);
  SaveScreenArea(TRect(bar.left, bar.top, bar.right, bar.bottom), "control-container-placeholder");
}

// In a menu the item is an entry with its caption, the edit not shown there; a click on it closes
// the menu.
TEST_F(BarItemsTest, AContainerInAMenuIsATextEntry) {
  auto* edit = new TEdit(Form.get());
  edit->SetParent(Form.get());
  edit->SetBounds(10, 200, 120, 21);
  TkwBar* menu = AddBar("Menu", true);
  auto* file = AddItem<TkwBarSubItem>("&Fichier");
  Link(menu, file);
  auto* container = AddItem<TkwBarControlContainerItem>("&Recherche");
  container->SetControl(edit);
  Link(file->ItemLinks(), AddItem<TkwBarButton>("&Ouvrir"));
  Link(file->ItemLinks(), container);
  menu->SetVisible(true);
  ShowForm();
  ASSERT_TRUE(Painted());
  ASSERT_TRUE(OpenMenu(menu->ItemLinks()->Items(0), file));
  TkwBarItemLink* entry = file->ItemLinks()->Items(1);
  auto* control = dynamic_cast<TkwBarControlContainerControl*>(entry->Control());
  ASSERT_NE(control, nullptr);
  EXPECT_TRUE(control->ShowsAsText());
  EXPECT_FALSE(control->ShowsHostedControl());
  EXPECT_EQ(entry->ItemRect.Height(), file->ItemLinks()->Items(0)->ItemRect.Height()) << "as high as the other entry";
  EXPECT_NE(edit->Parent(), container->PlaceForm()) << "the edit stays where it was";
  RECT r;
  GetWindowRect(MenuOf(file)->Handle(), &r);
  SaveScreenArea(TRect(r.left, r.top, r.right, r.bottom), "control-container-menu");
  ClickAt(CentreOf(entry));
  ASSERT_TRUE(WaitFor("the menu closed", [&] { return !MenuOf(file); }));
}

}  // namespace
