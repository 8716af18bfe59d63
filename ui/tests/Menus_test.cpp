// Tests of menus: shortcut texts, the native entries a menu bar shows, radio items, commands
// chosen with the keyboard in the bar and in a popup menu, and merging an MDI child's menu.
#include <gtest/gtest.h>

#include "ActionTestSupport.h"
#include "Menus.h"
#include "StrUtils.h"
#include "TestForms.h"

namespace {

// --- Shortcut texts -----------------------------------------------------------------------------

struct ShortCutCase {
  TShortCut Value;
  const char* Text;  // UTF-8
};

const ShortCutCase WrittenAndRead[] = {
    {TShortCut(scCtrl | 'N'), "Ctrl+N"},
    {TShortCut(scCtrl | 'X'), "Ctrl+X"},
    {VK_DELETE, "Suppr"},
    {TShortCut(scShift | VK_F5), "Maj+F5"},
    {TShortCut(scShift | scCtrl | scAlt | VK_HOME), "Maj+Ctrl+Alt+Début"},
    {TShortCut(scAlt | VK_RETURN), "Alt+Entrée"},
    {VK_PRIOR, "Pg. préc."},
    {VK_NEXT, "Pg. suiv."},
    {TShortCut(scCtrl | VK_BACK), "Ctrl+Retour arrière"},
    {VK_ESCAPE, "Echap"},
    {TShortCut(scCtrl | VK_INSERT), "Ctrl+Inser"},
    {TShortCut(scCtrl | VK_SPACE), "Ctrl+Espace"},
    {VK_F12, "F12"},
    {TShortCut(scCtrl | '0'), "Ctrl+0"},
    {VK_LEFT, "Gauche"},
    {VK_DOWN, "Bas"},
};

TEST(ShortCutText, WritesFrenchNamesAndReadsThemBack) {
  for (const ShortCutCase& c : WrittenAndRead) {
    String text = Utf8ToAnsi(c.Text);
    EXPECT_EQ(ShortCutToText(c.Value), text) << c.Text;
    EXPECT_EQ(TextToShortCut(text), c.Value) << c.Text;
  }
}

TEST(ShortCutText, ReadsEnglishNamesAnyCaseAndModifierOrder) {
  const ShortCutCase Read[] = {
      {TShortCut(scShift | VK_DELETE), "Shift+Del"},
      {TShortCut(scCtrl | VK_ESCAPE), "ctrl+esc"},
      {TShortCut(scAlt | VK_RETURN), "Alt+Enter"},
      {TShortCut(scCtrl | VK_RETURN), "CTRL+ENTRÉE"},
      {TShortCut(scCtrl | scShift | 'S'), "Ctrl+Maj+s"},
      {VK_INSERT, "Insert"},
      {TShortCut(scCtrl | VK_NEXT), "Ctrl+PgDn"},
  };
  for (const ShortCutCase& c : Read) EXPECT_EQ(TextToShortCut(Utf8ToAnsi(c.Text)), c.Value) << c.Text;
}

TEST(ShortCutText, UnknownKeysHaveNoText) {
  for (const char* text : {"", "Ctrl+", "Ctrl+Foo", "Maj", "F13", "Ctrl+NN"}) {
    EXPECT_EQ(TextToShortCut(text), scNone) << text;
  }
  EXPECT_EQ(ShortCutToText(scNone), "");
  EXPECT_EQ(ShortCutToText(TShortCut(scCtrl | VK_OEM_1)), "");
  WORD key = 0;
  TShiftState shift;
  ShortCutToKey(ShortCut('Z', {ssCtrl, ssAlt}), key, shift);
  EXPECT_EQ(key, 'Z');
  EXPECT_EQ(shift, (TShiftState{ssCtrl, ssAlt}));
  // A key above a byte cannot be a shortcut.
  EXPECT_EQ(ShortCut(0x1FF, {ssCtrl}), scNone);
}

// --- Menus on windows ---------------------------------------------------------------------------

class MenuTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    RegisterTestClasses();
    RegisterMenuClasses();
    RegisterActionClasses();
    Application->Initialize();
  }
  void TearDown() override {
    PumpPending();
    EXPECT_TRUE(Script.Unexpected.empty()) << "unexpected question: " << Script.Unexpected.front().Text;
  }
  static TMenuItem* AddItem(TMenuItem* Parent, const String& Caption, TClickRecorder* Recorder = nullptr) {
    auto* item = new TMenuItem(Parent->GetParentMenu() ? Parent->GetParentMenu()->Owner() : nullptr);
    item->SetCaption(Caption);
    if (Recorder) item->OnClick = TNotifyEvent(Recorder, &TClickRecorder::Clicked);
    Parent->Add(item);
    return item;
  }
  // What the native menu shows at Position.
  struct TEntry {
    String Text;
    UINT Type = 0;
    UINT State = 0;
    HMENU SubMenu = nullptr;
  };
  static TEntry Entry(HMENU Menu, int Position) {
    char text[128] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = sizeof(text);
    EXPECT_TRUE(GetMenuItemInfoA(Menu, UINT(Position), TRUE, &info));
    return TEntry{text, info.fType, info.fState, info.hSubMenu};
  }
  static std::vector<String> Texts(HMENU Menu) {
    std::vector<String> texts;
    for (int i = 0; i < GetMenuItemCount(Menu); ++i) texts.push_back(Entry(Menu, i).Text);
    return texts;
  }
  TModalScript Script;
};

TEST_F(MenuTest, TheBarShowsTheItemsAsNativeEntries) {
  TFormPtr<TTestDialog> f(CreateForm<TTestDialog>(nullptr));
  auto* menu = new TMainMenu(f.get());
  TMenuItem* file = AddItem(menu->Items(), "&Fichier");
  TMenuItem* open = AddItem(file, "&Ouvrir");
  open->SetShortCut(TextToShortCut("Ctrl+O"));
  AddItem(file, "-");
  TMenuItem* hidden = AddItem(file, "Caché"_a);
  hidden->SetVisible(false);
  TMenuItem* check = AddItem(file, "Coché"_a);
  check->SetChecked(true);
  TMenuItem* grey = AddItem(file, "Grisé"_a);
  grey->SetEnabled(false);
  TMenuItem* column = AddItem(file, "Colonne");
  column->SetBreak(mbBarBreak);
  AddItem(menu->Items(), "&Aide");
  f->SetMenu(menu);
  f->Show();

  HMENU bar = GetMenu(f->Handle());
  ASSERT_EQ(bar, menu->Handle());
  EXPECT_EQ(Texts(bar), (std::vector<String>{"&Fichier", "&Aide"}));
  TEntry fileEntry = Entry(bar, 0);
  ASSERT_EQ(fileEntry.SubMenu, file->Handle());
  // The hidden item has no entry; the shortcut follows a tab.
  EXPECT_EQ(Texts(file->Handle()), (std::vector<String>{"&Ouvrir\tCtrl+O", "", "Coché"_a, "Grisé"_a, "Colonne"}));
  EXPECT_TRUE(Entry(file->Handle(), 1).Type & MFT_SEPARATOR);
  EXPECT_TRUE(Entry(file->Handle(), 2).State & MFS_CHECKED);
  EXPECT_TRUE(Entry(file->Handle(), 3).State & MFS_GRAYED);
  EXPECT_TRUE(Entry(file->Handle(), 4).Type & MFT_MENUBARBREAK);

  // Changes show at once.
  hidden->SetVisible(true);
  grey->SetEnabled(true);
  open->SetCaption("&Ouvrir...");
  EXPECT_EQ(GetMenuItemCount(file->Handle()), 6);
  EXPECT_EQ(Entry(file->Handle(), 0).Text, "&Ouvrir...\tCtrl+O");
  EXPECT_FALSE(Entry(file->Handle(), 4).State & MFS_GRAYED);
  // An item that goes leaves its entry; the menu that goes leaves the form.
  delete check;
  EXPECT_EQ(GetMenuItemCount(file->Handle()), 5);
  EXPECT_EQ(file->IndexOf(check), -1);
  delete menu;
  EXPECT_EQ(f->Menu(), nullptr);
  EXPECT_EQ(GetMenu(f->Handle()), nullptr);
}

TEST_F(MenuTest, CheckingARadioItemUnchecksItsGroupOnly) {
  TMainMenu menu(nullptr);
  TMenuItem* view = AddItem(menu.Items(), "Affichage");
  std::vector<TMenuItem*> items;
  for (int group : {1, 1, 1, 2}) {
    TMenuItem* item = AddItem(view, "Choix " + IntToStr(int(items.size())));
    item->SetRadioItem(true);
    item->SetGroupIndex(group);
    items.push_back(item);
  }
  items[0]->SetChecked(true);
  items[3]->SetChecked(true);
  items[1]->SetChecked(true);
  EXPECT_FALSE(items[0]->Checked());
  EXPECT_TRUE(items[1]->Checked());
  EXPECT_FALSE(items[2]->Checked());
  EXPECT_TRUE(items[3]->Checked()) << "another group keeps its choice";
  TEntry entry = Entry(view->Handle(), 1);
  EXPECT_TRUE(entry.Type & MFT_RADIOCHECK);
  EXPECT_TRUE(entry.State & MFS_CHECKED);
  EXPECT_FALSE(Entry(view->Handle(), 0).State & MFS_CHECKED);
  // An AutoCheck radio item checks itself when clicked.
  items[2]->AutoCheck = true;
  items[2]->Click();
  EXPECT_TRUE(items[2]->Checked());
  EXPECT_FALSE(items[1]->Checked());
}

TEST_F(MenuTest, ItemsOperationsKeepTheTreeAndRefuseWrongIndexes) {
  TPopupMenu menu(nullptr);
  TMenuItem* a = AddItem(menu.Items(), "&Alpha");
  TMenuItem* b = AddItem(menu.Items(), "Bêta"_a);
  EXPECT_EQ(menu.Items()->Find("alpha"), a);
  EXPECT_EQ(menu.Items()->Find("BÊTA"_a), b);
  EXPECT_EQ(menu.Items()->Find("gamma"), nullptr);
  b->SetMenuIndex(0);
  EXPECT_EQ(menu.Items()->Items(0), b);
  EXPECT_EQ(a->MenuIndex(), 1);
  EXPECT_EQ(a->GetParentMenu(), &menu);
  EXPECT_THROW(menu.Items()->Items(2), EMenuError);
  EXPECT_THROW(menu.Items()->Add(a), EMenuError);
  EXPECT_EQ(menu.FindItem(a->Command(), fkCommand), a);
  menu.Items()->Remove(a);
  EXPECT_EQ(a->Parent(), nullptr);
  EXPECT_EQ(menu.Items()->Count(), 1);
  delete a;
  menu.Items()->Clear();
  EXPECT_EQ(menu.Items()->Count(), 0);
}

TEST_F(MenuTest, TheBarRunsACommandChosenWithTheKeyboard) {
  TFormPtr<TTestDialog> f(CreateForm<TTestDialog>(nullptr));
  TClickRecorder clicks;
  auto* menu = new TMainMenu(f.get());
  TMenuItem* file = AddItem(menu->Items(), "&Fichier");
  TMenuItem* first = AddItem(file, "&Nouveau", &clicks);
  TMenuItem* second = AddItem(file, "&Enregistrer", &clicks);
  f->SetMenu(menu);
  f->Show();
  Activate(f.get());
  // Alt+F opens the menu with its first entry selected; Down, then Return chooses the second.
  // Sent at once, not waited for: the menu's own loop takes them.
  SendChord({VK_MENU}, 'F');
  PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  ASSERT_TRUE(WaitFor("the chosen command to run", [&] { return clicks.Count() > 0; }));
  PumpPending();
  ASSERT_EQ(clicks.Count(), 1);
  EXPECT_EQ(clicks.Senders[0], second);
  (void)first;
}

TEST_F(MenuTest, PopupShowsTheMenuAndRunsTheItemChosenWithTheKeyboard) {
  TFormPtr<TTestDialog> f(CreateForm<TTestDialog>(nullptr));
  f->Show();
  Activate(f.get());
  TClickRecorder clicks;
  TClickRecorder popups;
  auto* menu = new TPopupMenu(f.get());
  menu->OnPopup = TNotifyEvent(&popups, &TClickRecorder::Clicked);
  AddItem(menu->Items(), "Un", &clicks);
  TMenuItem* off = AddItem(menu->Items(), "Deux", &clicks);
  off->SetEnabled(false);
  TMenuItem* three = AddItem(menu->Items(), "Trois", &clicks);
  f->Edit1->SetPopupMenu(menu);
  // Keys typed while the menu is open: Down selects "Un", then the disabled "Deux" (selected, not
  // run), then "Trois", which Return runs.
  Later([] {
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
  });
  TPoint at = f->ClientToScreen(TPoint(20, 20));
  menu->SetPopupComponent(f->Edit1);
  menu->Popup(at.X, at.Y);
  EXPECT_EQ(popups.Count(), 1);
  ASSERT_EQ(clicks.Count(), 1) << "the click runs before Popup returns";
  EXPECT_EQ(clicks.Senders[0], three);
  EXPECT_EQ(menu->PopupComponent(), f->Edit1);
  EXPECT_EQ(menu->PopupPoint(), at);
  // The control lets go of a popup menu that is freed.
  delete menu;
  EXPECT_EQ(f->Edit1->PopupMenu(), nullptr);
}

TEST_F(MenuTest, AnMDIChildMenuMergesIntoTheFrameBarByGroup) {
  TTestFrameForm* frame = nullptr;
  Application->CreateForm(frame);
  auto* frameMenu = new TMainMenu(frame);
  AddItem(frameMenu->Items(), "&Fichier");
  TMenuItem* edit = AddItem(frameMenu->Items(), "&Edition");
  edit->SetGroupIndex(1);
  TMenuItem* window = AddItem(frameMenu->Items(), "Fe&nêtre"_a);
  window->SetGroupIndex(9);
  AddItem(window, "&Cascade");
  frame->SetMenu(frameMenu);
  frame->Show();
  Activate(frame);
  HMENU bar = GetMenu(frame->Handle());
  EXPECT_EQ(Texts(bar), (std::vector<String>{"&Fichier", "&Edition", "Fe&nêtre"_a}));

  auto* child = CreateForm<TTestChildForm>(Application);
  auto* childMenu = new TMainMenu(child);
  TMenuItem* childEdit = AddItem(childMenu->Items(), "&Edition de la fiche");
  childEdit->SetGroupIndex(1);
  TMenuItem* record = AddItem(childMenu->Items(), "&Fiche");
  record->SetGroupIndex(5);
  child->SetMenu(childMenu);
  PumpPending();
  // The child's group 1 replaces the frame's; its group 5 goes between 1 and 9.
  EXPECT_EQ(Texts(bar), (std::vector<String>{"&Fichier", "&Edition de la fiche", "&Fiche", "Fe&nêtre"_a}));
  EXPECT_EQ(frameMenu->MergedMenu(), childMenu);
  // The merged entries are the child's items: a change there shows in the frame's bar.
  record->SetCaption("&Fiche courante");
  EXPECT_EQ(Entry(bar, 2).Text, "&Fiche courante");

  child->Free();
  PumpPending();
  EXPECT_EQ(Texts(bar), (std::vector<String>{"&Fichier", "&Edition", "Fe&nêtre"_a}));
  EXPECT_EQ(frameMenu->MergedMenu(), nullptr);
  frame->Free();
}

}  // namespace
