// Tests of the categories and bar groups: items follow their category's name when categories are
// deleted, inserted, exchanged and moved; the category flags written after the names and read
// back from either way of giving the names; groups enabling and hiding their members, nested
// groups, recursion refused, members read back by name.
#include "BarTestSupport.h"
#include "Filer.h"
#include "StrUtils.h"
#include "kwBarGroups.h"

namespace {

class Categories : public BarFormTest {
 protected:
  void SetUp() override {
    BarFormTest::SetUp();
    TkwBarManagerCategories* categories = Manager->Categories();
    categories->Clear();
    for (const char* name : {"A", "B", "C"}) categories->Add(name);
    for (int category = 0; category < 3; ++category)
      for (int n = 0; n < 2; ++n) {
        TTestBarButton* item = AddButton(categories->Strings(category) + IntToStr(n));
        item->SetCategory(category);
      }
  }
  // Each item's caption with the name of its category.
  std::vector<String> ItemsByCategory() {
    std::vector<String> result;
    for (int i = 0; i < Manager->GetItemCount(); ++i) {
      TkwBarItem* item = Manager->GetItem(i);
      int category = item->Category();
      String name = category >= 0 && category < Manager->Categories()->Count() ? Manager->Categories()->Strings(category)
                                                                                : String("?");
      result.push_back(item->Caption() + ":" + name);
    }
    return result;
  }
};

TEST_F(Categories, ItemsFollowTheirCategoryWhenTheListChanges) {
  const std::vector<String> all{"A0:A", "A1:A", "B0:B", "B1:B", "C0:C", "C1:C"};
  Manager->Categories()->Move(0, 2);
  EXPECT_EQ(Manager->Categories()->Text(), "B\r\nC\r\nA\r\n");
  EXPECT_EQ(ItemsByCategory(), all);
  Manager->Categories()->Exchange(0, 2);
  EXPECT_EQ(Manager->Categories()->Text(), "A\r\nC\r\nB\r\n");
  EXPECT_EQ(ItemsByCategory(), all);
  Manager->Categories()->Insert(1, "N");
  EXPECT_EQ(Manager->Categories()->Text(), "A\r\nN\r\nC\r\nB\r\n");
  EXPECT_EQ(ItemsByCategory(), all);
  // Out of the list: nothing.
  Manager->Categories()->Move(1, 9);
  Manager->Categories()->Exchange(-1, 0);
  Manager->Categories()->Insert(12, "X");
  Manager->Categories()->Delete(40);
  EXPECT_EQ(Manager->Categories()->Count(), 4);
  EXPECT_EQ(ItemsByCategory(), all);
}

TEST_F(Categories, DeletingACategoryFreesItsItemsAndTheLastOneBringsBackDefault) {
  Manager->Categories()->Delete(1);
  EXPECT_EQ(ItemsByCategory(), (std::vector<String>{"A0:A", "A1:A", "C0:C", "C1:C"}));
  Manager->Categories()->Delete(0);
  Manager->Categories()->Delete(0);
  EXPECT_EQ(Manager->GetItemCount(), 0);
  ASSERT_EQ(Manager->Categories()->Count(), 1);
  EXPECT_EQ(Manager->Categories()->Strings(0), "Default");
}

TEST_F(Categories, FlagsAreCopiedNotShared) {
  Manager->SetCategoryItemsVisible(1, ivInCustomizing);
  Manager->SetCategoryVisible(2, false);
  TFormPtr<TForm> other(CreateForm<TForm>(nullptr));
  auto* second = new TkwBarManager(other.get());
  second->SetCategories(Manager->Categories());
  EXPECT_EQ(second->GetCategoryItemsVisible(1), ivInCustomizing);
  EXPECT_FALSE(second->GetCategoryVisible(2));
  // Freeing one list leaves the other's flags whole.
  other.reset();
  EXPECT_EQ(Manager->GetCategoryItemsVisible(1), ivInCustomizing);
  EXPECT_FALSE(Manager->GetCategoryVisible(2));
}

// The flags follow the names in a description; the names may be given either way.
TEST_F(Categories, FlagsAreWrittenAfterTheNamesAndReadBack) {
  Form->SetName("frmCategories");
  Manager->SetName("kwBarManager1");
  for (int i = 0; i < Manager->GetItemCount(); ++i) Manager->GetItem(i)->SetName("btn" + IntToStr(i));
  Manager->SetCategoryItemsVisible(0, ivNever);
  Manager->SetCategoryVisible(1, false);
  String text = WriteComponentToText(Form.get());
  EXPECT_NE(text.find("Categories.ItemsVisibles = (\r\n      0\r\n      2\r\n      2)"), String::npos) << text;
  EXPECT_NE(text.find("Categories.Visibles = (\r\n      True\r\n      False\r\n      True)"), String::npos) << text;
  TFormPtr<TForm> copy(CreateForm<TForm>(nullptr));
  ReadComponentFromText(copy.get(), text, "copy");
  auto* manager = dynamic_cast<TkwBarManager*>(copy->FindComponent("kwBarManager1"));
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(manager->GetCategoryItemsVisible(0), ivNever);
  EXPECT_EQ(manager->GetCategoryItemsVisible(1), ivAlways);
  EXPECT_FALSE(manager->GetCategoryVisible(1));
  // Applied once loaded: the items of the category are hidden.
  EXPECT_EQ(dynamic_cast<TkwBarItem*>(copy->FindComponent("btn0"))->Visible(), ivNever);
  EXPECT_EQ(dynamic_cast<TkwBarItem*>(copy->FindComponent("btn2"))->Visible(), ivAlways);
}

TEST(CategoryDescriptions, NamesGivenAsStringsAndShortListsAreRead) {
  InstallTestBarClasses();
  TFormPtr<TForm> form(CreateForm<TForm>(nullptr));
  ReadComponentFromText(form.get(),
                        "object frmMain: TForm\n"
                        "  object kwBarManager1: TkwBarManager\n"
                        "    Categories.Strings = (\n"
                        "      'Default'\n"
                        "      'Fiches')\n"
                        "    Categories.ItemsVisibles = (\n"
                        "      2)\n"
                        "    Categories.Visibles = (\n"
                        "      True\n"
                        "      False\n"
                        "      False)\n"
                        "  end\n"
                        "end\n",
                        "frmMain");
  auto* manager = dynamic_cast<TkwBarManager*>(form->FindComponent("kwBarManager1"));
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(manager->Categories()->Text(), "Default\r\nFiches\r\n");
  EXPECT_EQ(manager->GetCategoryItemsVisible(0), ivAlways);
  // The lists ended early or ran over: the rest keeps its defaults.
  EXPECT_EQ(manager->GetCategoryItemsVisible(1), ivAlways);
  EXPECT_FALSE(manager->GetCategoryVisible(1));
}

// --- Bar groups ---------------------------------------------------------------------------------------

class BarGroups : public BarFormTest {};

TEST_F(BarGroups, EnableAndShowTheirMembersThroughNestedGroups) {
  TTestBarButton* outer = AddButton("Ouvrir");
  TTestBarButton* inner = AddButton("Fermer");
  TkwBarGroup* group = Manager->AddGroup();
  TkwBarGroup* nested = Manager->AddGroup();
  EXPECT_EQ(group->Owner(), Form.get());
  EXPECT_EQ(Manager->GetGroupCount(), 2);
  group->Add(outer);
  group->Add(nested);
  nested->Add(inner);
  group->Add(inner);
  group->Add(nullptr);
  group->Add(Form.get());
  EXPECT_EQ(group->Count(), 3);
  group->SetEnabled(false);
  EXPECT_FALSE(outer->Enabled());
  EXPECT_FALSE(inner->Enabled());
  EXPECT_FALSE(nested->Enabled());
  group->SetVisible(ivNever);
  EXPECT_EQ(inner->Visible(), ivNever);
  group->SetEnabled(true);
  EXPECT_TRUE(inner->Enabled());
  // A group may not hold itself, even through another.
  EXPECT_THROW(nested->Add(group), Exception);
  EXPECT_EQ(nested->Count(), 1);
  // A member that goes leaves its groups.
  delete inner;
  EXPECT_EQ(nested->Count(), 0);
  EXPECT_EQ(group->Count(), 2);
  delete nested;
  EXPECT_EQ(group->Count(), 1);
  EXPECT_EQ(Manager->GetGroupCount(), 1);
}

TEST_F(BarGroups, AreWrittenAsTheManagersChildrenAndReadBackWithTheirMembers) {
  Form->SetName("frmGroups");
  Manager->SetName("kwBarManager1");
  TTestBarButton* open = AddButton("Ouvrir");
  open->SetName("btnOuvrir");
  TTestBarButton* close = AddButton("Fermer");
  close->SetName("btnFermer");
  TkwBarGroup* group = Manager->AddGroup();
  group->SetName("grpFichier");
  group->Add(open);
  group->Add(close);
  group->SetEnabled(false);
  String text = WriteComponentToText(Form.get());
  EXPECT_NE(text.find("object grpFichier: TkwBarGroup"), String::npos) << text;
  EXPECT_NE(text.find("Items = (\r\n        'btnOuvrir'\r\n        'btnFermer')"), String::npos) << text;
  TFormPtr<TForm> copy(CreateForm<TForm>(nullptr));
  ReadComponentFromText(copy.get(), text, "copy");
  auto* read = dynamic_cast<TkwBarGroup*>(copy->FindComponent("grpFichier"));
  ASSERT_NE(read, nullptr);
  ASSERT_EQ(read->Count(), 2);
  EXPECT_EQ(read->Items(0), copy->FindComponent("btnOuvrir"));
  EXPECT_EQ(read->Items(1), copy->FindComponent("btnFermer"));
  EXPECT_FALSE(read->Enabled());
  EXPECT_EQ(read->BarManager(), copy->FindComponent("kwBarManager1"));
  EXPECT_FALSE(dynamic_cast<TkwBarItem*>(copy->FindComponent("btnOuvrir"))->Enabled());
}

}  // namespace
