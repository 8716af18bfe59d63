// Tests of a form holding a bar manager written to its description and read back: the bars, their
// links and the items come back as they were, the dock sites the manager makes are not written,
// and the copy writes the same description again.
#include "Filer.h"
#include "ItemsTestSupport.h"
#include "kwBarExtItems.h"
#include "kwBarMRUListItem.h"
#include "kwBarSpinEdit.h"

namespace {

int Occurrences(const String& Text, const String& Part) {
  int n = 0;
  for (std::size_t at = Text.find(Part); at != String::npos; at = Text.find(Part, at + 1)) ++n;
  return n;
}

std::vector<String> LinkNames(TkwBar* Bar) {
  std::vector<String> names;
  for (int i = 0; i < Bar->ItemLinks()->Count(); ++i) {
    TkwBarItem* item = Bar->ItemLinks()->Items(i)->Item();
    names.push_back(item ? item->Name() : String("(none)"));
  }
  return names;
}

TEST_F(BarItemsTest, AFormWithABarManagerIsReadBackAsItWasWritten) {
  RegisterBarManagerClasses();
  Form->SetName("frmBarres");
  Manager->SetName("kwBarManager1");
  TkwBar* menu = AddBar("Menu", true);
  TkwBar* tools = AddBar("Outils", false, dsLeft);
  TkwBar* status = AddBar("État"_a, false, dsBottom);
  auto* file = AddItem<TkwBarSubItem>("&Fichier");
  file->SetName("smFichier");
  auto* open = AddItem<TkwBarButton>("&Ouvrir");
  open->SetName("btOuvrir");
  auto* spin = AddItem<TkwBarSpinEdit>("Surface");
  spin->SetName("seSurface");
  spin->SetMaxValue(500);
  spin->SetValue(42);
  spin->SetPrefix(" ha");
  auto* mru = AddItem<TkwBarMRUListItem>("Derniers");
  mru->SetName("mruFichiers");
  mru->Items()->Add("C:\\b.txt");
  mru->Items()->Add("C:\\a.txt");
  auto* progress = AddItem<TkwBarProgressItem>("Progression");
  progress->SetName("piProgression");
  progress->SetPosition(30);
  Link(menu, file);
  Link(file->ItemLinks(), open);
  Link(file->ItemLinks(), mru, true);
  Link(tools, open);
  Link(tools, spin, true);
  Link(status, progress);
  for (TkwBar* bar : {menu, tools, status}) bar->SetVisible(true);
  ShowForm();
  ASSERT_TRUE(Painted());

  String text = WriteComponentToText(Form.get());
  EXPECT_EQ(text.find("TkwDockControl"), String::npos) << "the manager makes its dock sites itself\n" << text;
  EXPECT_EQ(Occurrences(text, "object kwBarManager1:"), 1) << text;
  EXPECT_EQ(Occurrences(text, "object seSurface:"), 1) << text;

  TFormPtr<TForm> copy(CreateForm<TForm>(nullptr));
  ASSERT_NO_THROW(ReadComponentFromText(copy.get(), text, "frmBarres")) << text;
  auto* manager = dynamic_cast<TkwBarManager*>(copy->FindComponent("kwBarManager1"));
  ASSERT_NE(manager, nullptr);
  ASSERT_EQ(manager->Bars()->Count(), 3);
  TkwBar* menuCopy = manager->Bars()->Items(0);
  TkwBar* toolsCopy = manager->Bars()->Items(1);
  TkwBar* statusCopy = manager->Bars()->Items(2);
  EXPECT_TRUE(menuCopy->IsMainMenu());
  EXPECT_EQ(toolsCopy->Caption(), "Outils");
  EXPECT_EQ(toolsCopy->DockingStyle(), dsLeft);
  EXPECT_EQ(statusCopy->DockingStyle(), dsBottom);
  EXPECT_EQ(LinkNames(menuCopy), (std::vector<String>{"smFichier"}));
  EXPECT_EQ(LinkNames(toolsCopy), (std::vector<String>{"btOuvrir", "seSurface"}));
  EXPECT_TRUE(toolsCopy->ItemLinks()->Items(1)->BeginGroup());
  EXPECT_EQ(LinkNames(statusCopy), (std::vector<String>{"piProgression"}));
  auto* fileCopy = dynamic_cast<TkwBarSubItem*>(copy->FindComponent("smFichier"));
  ASSERT_NE(fileCopy, nullptr);
  ASSERT_EQ(fileCopy->ItemLinks()->Count(), 2);
  EXPECT_EQ(fileCopy->ItemLinks()->Items(1)->Item()->Name(), "mruFichiers");
  auto* spinCopy = dynamic_cast<TkwBarSpinEdit*>(copy->FindComponent("seSurface"));
  ASSERT_NE(spinCopy, nullptr);
  EXPECT_EQ(spinCopy->Text(), "42 ha");
  EXPECT_EQ(spinCopy->MaxValue(), 500);
  auto* mruCopy = dynamic_cast<TkwBarMRUListItem*>(copy->FindComponent("mruFichiers"));
  ASSERT_NE(mruCopy, nullptr);
  EXPECT_EQ(mruCopy->Items()->Strings(0), "C:\\b.txt");
  EXPECT_EQ(mruCopy->Items()->Strings(1), "C:\\a.txt");
  auto* progressCopy = dynamic_cast<TkwBarProgressItem*>(copy->FindComponent("piProgression"));
  ASSERT_NE(progressCopy, nullptr);
  EXPECT_EQ(progressCopy->Position(), 30);
  // Nothing is lost or doubled on the way: the copy writes the same manager (the copy, never
  // shown, differs from the form only by its visibility).
  auto managerPart = [](const String& Text) { return Text.substr(Text.find("object kwBarManager1:")); };
  EXPECT_EQ(managerPart(WriteComponentToText(copy.get())), managerPart(text));
}

}  // namespace
