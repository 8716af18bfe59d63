// Tests of the list of recently used files: its limit, its shortened paths in a menu, the entry
// dropped when clicked, and its entries kept in order across a written and read form.
#include "Filer.h"
#include "ItemsTestSupport.h"
#include "kwBarMRUListItem.h"

namespace {

std::vector<String> EntriesOf(TkwBarListItem* Item) {
  std::vector<String> entries;
  for (int i = 0; i < Item->Items()->Count(); ++i) entries.push_back(Item->Items()->Strings(i));
  return entries;
}

TEST_F(BarItemsTest, TheRecentFileListKeepsItsLimit) {
  auto* mru = AddItem<TkwBarMRUListItem>("Derniers");
  EXPECT_EQ(mru->MaxItemCount(), 5);
  for (const char* s : {"a", "b", "c", "d", "e"}) mru->Items()->Add(s);
  mru->Items()->Insert(0, "f");
  EXPECT_EQ(EntriesOf(mru), (std::vector<String>{"f", "a", "b", "c", "d"})) << "the oldest, last, is dropped";
  mru->SetMaxItemCount(3);
  EXPECT_EQ(EntriesOf(mru), (std::vector<String>{"f", "a", "b"}));
  mru->SetMaxItemCount(-2);
  EXPECT_EQ(mru->MaxItemCount(), 0);
  for (const char* s : {"g", "h", "i", "j"}) mru->Items()->Add(s);
  EXPECT_EQ(mru->Items()->Count(), 7) << "0 means no limit";
  mru->RemoveItem("h", nullptr);
  mru->Items()->PutObject(0, mru);
  mru->RemoveItem("", mru);
  EXPECT_EQ(EntriesOf(mru), (std::vector<String>{"a", "b", "g", "i", "j"}));
}

class RecentFiles : public BarItemsTest {
 protected:
  void SetUp() override {
    BarItemsTest::SetUp();
    Bar = AddBar("Menu", true);
    File = AddItem<TkwBarSubItem>("&Fichier");
    Link(Bar, File);
    Mru = AddItem<TkwBarMRUListItem>("Derniers");
    Mru->OnClick = Counting();
    Mru->Items()->Add("C:\\Very\\Long\\Path\\To\\Some\\Folder\\Of\\The\\Inventory\\Document.txt");
    Mru->Items()->Add("C:\\marais.txt");
    Mru->Items()->Add("C:\\tourbiere.txt");
    Link(File->ItemLinks(), AddItem<TkwBarButton>("&Ouvrir"));
    Link(File->ItemLinks(), Mru, true);
    Bar->SetVisible(true);
    ShowForm();
    ASSERT_TRUE(Painted());
  }
  TkwBar* Bar = nullptr;
  TkwBarSubItem* File = nullptr;
  TkwBarMRUListItem* Mru = nullptr;
};

TEST_F(RecentFiles, AMenuShowsTheEntriesNumberedWithLongPathsShortened) {
  ASSERT_TRUE(OpenMenu(Bar->ItemLinks()->Items(0), File));
  ASSERT_EQ(Mru->ButtonCount(), 3);
  String first = Mru->Button(0)->Caption();
  EXPECT_EQ(first.substr(0, 3), "&1 ");
  EXPECT_NE(first.find("..."), String::npos) << first;
  EXPECT_EQ(first.substr(3, 3), "C:\\") << "the path keeps its start";
  EXPECT_EQ(first.substr(first.size() - 13), "\\Document.txt") << "and its file name";
  EXPECT_EQ(Mru->Button(1)->Caption(), "&2 C:\\marais.txt");
  RECT menu;
  GetWindowRect(MenuOf(File)->Handle(), &menu);
  SaveScreenArea(TRect(menu.left, menu.top, menu.right, menu.bottom), "recent-files");
}

TEST_F(RecentFiles, AClickedEntryLeavesTheListWhenAsked) {
  Mru->SetRemoveItemOnClick(true);
  ASSERT_TRUE(OpenMenu(Bar->ItemLinks()->Items(0), File));
  ASSERT_EQ(Mru->ButtonCount(), 3);
  ClickAt(CentreOf(Mru->Button(1)->GetLink(0)));
  ASSERT_TRUE(WaitFor("the menu closed", [&] { return !MenuOf(File); }));
  EXPECT_EQ(Clicks[Mru], 1);
  EXPECT_EQ(EntriesOf(Mru), (std::vector<String>{Mru->Items()->Strings(0), "C:\\tourbiere.txt"}));
  EXPECT_EQ(Mru->ItemIndex(), -1);
  // Without the setting the entry stays and is the chosen one.
  Mru->SetRemoveItemOnClick(false);
  ASSERT_TRUE(OpenMenu(Bar->ItemLinks()->Items(0), File));
  ASSERT_EQ(Mru->ButtonCount(), 2);
  EXPECT_EQ(Mru->Button(1)->Caption(), "&2 C:\\tourbiere.txt") << "the menu shows the entries as they are now";
  ClickAt(CentreOf(Mru->Button(1)->GetLink(0)));
  ASSERT_TRUE(WaitFor("the menu closed", [&] { return !MenuOf(File); }));
  EXPECT_EQ(Clicks[Mru], 2);
  EXPECT_EQ(Mru->Items()->Count(), 2);
  EXPECT_EQ(Mru->ItemIndex(), 1);
}

TEST_F(BarItemsTest, TheRecentFileListIsWrittenAndReadInOrderWithinItsLimit) {
  RegisterBarManagerClasses();
  Form->SetName("frmFichiers");
  auto* mru = AddItem<TkwBarMRUListItem>("Derniers");
  mru->SetName("mruFichiers");
  mru->SetMaxItemCount(3);
  mru->SetRemoveItemOnClick(true);
  for (const char* s : {"C:\\c.txt", "C:\\a.txt", "C:\\b.txt"}) mru->Items()->Add(s);
  String text = WriteComponentToText(Form.get());
  String mruText = ObjectText(text, "mruFichiers");
  EXPECT_NE(mruText.find("MaxItemCount = 3"), String::npos) << mruText;

  TFormPtr<TForm> copy(CreateForm<TForm>(nullptr));
  ReadComponentFromText(copy.get(), text, "frmFichiers");
  auto* read = dynamic_cast<TkwBarMRUListItem*>(copy->FindComponent("mruFichiers"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->MaxItemCount(), 3);
  EXPECT_TRUE(read->RemoveItemOnClick());
  EXPECT_EQ(EntriesOf(read), (std::vector<String>{"C:\\c.txt", "C:\\a.txt", "C:\\b.txt"}));
  read->Items()->Insert(0, "C:\\d.txt");
  EXPECT_EQ(EntriesOf(read), (std::vector<String>{"C:\\d.txt", "C:\\c.txt", "C:\\a.txt"}));
}

}  // namespace
