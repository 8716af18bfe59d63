// Tests of the customizing window on real windows: opening and closing it with the manager's
// customizing mode, its toolbar list with check boxes and the toolbar buttons with the name
// dialog, its commands dragged onto a bar and off it, and its options.
#include <gtest/gtest.h>

#include "ItemsTestSupport.h"
#include "kwBarCombo.h"
#include "kwBarCustomizingForm.h"
#include "kwBarNameEd.h"
#include "kwBarUtils.h"

namespace {

// Two clicks queued at once, so that they make a double click however late they are read.
void DoubleClickAt(TPoint At) {
  MoveMouseTo(At);
  std::vector<INPUT> inputs{MouseInput(At, MOUSEEVENTF_LEFTDOWN), MouseInput(At, MOUSEEVENTF_LEFTUP),
                            MouseInput(At, MOUSEEVENTF_LEFTDOWN), MouseInput(At, MOUSEEVENTF_LEFTUP)};
  SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

class CustomizingWindow : public BarItemsTest {
 public:
  void CountShow(TObject*) { ++Shown; }
  void CountHide(TObject*) { ++Hid; }

 protected:
  void SetUp() override {
    BarItemsTest::SetUp();
    RegisterBarCustomizing();
    Manager->Categories()->Add("Fichier");
    Manager->Categories()->Add("Cachée"_a);
    Manager->SetCategoryVisible(2, false);
    MainMenu = AddBar("Menu principal", true);
    Standard = AddBar("Standard", false);
    MainMenu->FromResource = true;
    Standard->FromResource = true;
    Open = AddItem<TkwBarButton>("&Ouvrir");
    Open->SetCategory(1);
    Open->SetDescription("Ouvre un inventaire");
    Save = AddItem<TkwBarButton>("Enregistrer");
    Save->SetCategory(1);
    Hidden = AddItem<TkwBarButton>("Jamais");
    Hidden->SetCategory(1);
    Hidden->SetVisible(ivNever);
    Combo = AddItem<TkwBarCombo>("Zone");
    Combo->SetCategory(1);
    AddItem<TkwBarButton>("Secret")->SetCategory(2);
    Link(MainMenu, AddItem<TkwBarButton>("Aide"));
    Link(Standard, Save);
    MainMenu->SetVisible(true);
    Standard->SetVisible(true);
    ShowForm();
  }
  void TearDown() override {
    if (Manager) Manager->SetCustomizing(false);
    BarItemsTest::TearDown();
  }
  TkwBarCustomizingForm* OpenWindow() {
    Manager->SetCustomizing(true);
    TkwBarCustomizingForm* window = GetActiveCustomizingForm();
    if (window) {
      EXPECT_TRUE(WaitFor("the window painted", [&] {
        return IsWindowVisible(window->Handle()) && !GetUpdateRect(window->Handle(), nullptr, FALSE);
      }));
      EXPECT_TRUE(::Painted(window));
    }
    return window;
  }
  static std::vector<String> Rows(TCustomListBox* List) {
    std::vector<String> rows;
    for (int i = 0; i < List->Count(); ++i) rows.push_back(List->Items()->Get(i));
    return rows;
  }
  // Answers the next name dialog: types Name, then clicks OK (or Cancel).
  void AnswerNameDialog(const String& Name, bool Ok, String* Proposed = nullptr, String* Caption = nullptr) {
    Later([=] {
      ASSERT_TRUE(WaitFor("the name dialog", [] { return TkwBarNameEd::Active && TkwBarNameEd::Active->Visible(); }));
      TkwBarNameEd* dialog = TkwBarNameEd::Active;
      if (Proposed) *Proposed = dialog->EName()->Text();
      if (Caption) *Caption = dialog->Caption();
      dialog->EName()->SetText(Name);
      dialog->SetModalResult(Ok ? mrOk : mrCancel);
    });
  }
  TkwBar* MainMenu = nullptr;
  TkwBar* Standard = nullptr;
  TkwBarButton* Open = nullptr;
  TkwBarButton* Save = nullptr;
  TkwBarButton* Hidden = nullptr;
  TkwBarCombo* Combo = nullptr;
  int Shown = 0;
  int Hid = 0;
};

// Customizing mode opens one window, disables the managers' forms and closing it undoes both; a
// form disabled before stays disabled.
TEST_F(CustomizingWindow, OpensOnceAndClosingLeavesCustomizing) {
  Manager->OnShowCustomizingForm = TNotifyEvent(static_cast<CustomizingWindow*>(this), &CustomizingWindow::CountShow);
  Manager->OnHideCustomizingForm = TNotifyEvent(static_cast<CustomizingWindow*>(this), &CustomizingWindow::CountHide);
  TFormPtr<TForm> other(CreateForm<TForm>(nullptr));
  auto* otherManager = new TkwBarManager(other.get());
  ASSERT_NE(otherManager, nullptr);
  other->Show();
  EnableWindow(other->Handle(), FALSE);

  TkwBarCustomizingForm* window = OpenWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->Caption(), "Customize");
  EXPECT_EQ(GetWindow(window->Handle(), GW_OWNER), Form->Handle());
  EXPECT_FALSE(IsWindowEnabled(Form->Handle()));
  Manager->SetCustomizing(true);
  EXPECT_EQ(GetActiveCustomizingForm(), window);
  EXPECT_EQ(Shown, 1);
  EXPECT_FALSE(window->BBarReset->Visible()) << "a manager made in code cannot be reset";

  ClickControl(window->BClose);
  ASSERT_TRUE(WaitFor("the window closed", [] { return GetActiveCustomizingForm() == nullptr; }));
  EXPECT_FALSE(Manager->IsRunTimeCustomizing());
  EXPECT_TRUE(IsWindowEnabled(Form->Handle()));
  EXPECT_FALSE(IsWindowEnabled(other->Handle())) << "disabled before, so left disabled";
  EXPECT_EQ(Hid, 1);

  // Leaving customizing mode from the program closes it too.
  window = OpenWindow();
  ASSERT_NE(window, nullptr);
  Manager->SetCustomizing(false);
  EXPECT_EQ(GetActiveCustomizingForm(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(Form->Handle()));
  EXPECT_EQ(Shown, 2);
  EXPECT_EQ(Hid, 2);
}

// The toolbar list: hidden bars left out, the first visible bar selected; Rename and Delete only
// for toolbars the user made; the main menu's box inactive and not toggled; a click in the box
// and a double click on the name each toggle a toolbar once.
TEST_F(CustomizingWindow, ToolbarListTogglesClosableBars) {
  TkwBar* secret = AddBar("Secrète"_a, false);
  secret->SetHidden(true);
  TkwBarCustomizingForm* window = OpenWindow();
  ASSERT_NE(window, nullptr);
  TCheckListBox* list = window->BarsListBox;
  EXPECT_EQ(Rows(list), (std::vector<String>{"Menu principal", "Standard"}));
  EXPECT_EQ(list->ItemIndex(), 0);
  EXPECT_FALSE(window->BBarRename->Enabled());
  EXPECT_FALSE(window->BBarDelete->Enabled());

  // On screen: the main menu's box greyed, the Standard box ticked.
  TRect menuBox = list->CheckRect(0);
  TPoint menuCentre = OnScreen(list, (menuBox.Left + menuBox.Right) / 2, (menuBox.Top + menuBox.Bottom) / 2);
  ClickAt(menuCentre);
  ASSERT_TRUE(WaitFor("the click handled", [&] { return list->ItemIndex() == 0; }));
  PumpPending();
  EXPECT_TRUE(MainMenu->Visible()) << "the main menu cannot be closed";

  TRect box = list->CheckRect(1);
  TPoint boxCentre = OnScreen(list, (box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2);
  ClickAt(boxCentre);
  ASSERT_TRUE(WaitFor("Standard hidden", [&] { return !Standard->Visible(); }));
  AwaitNoDoubleClick(boxCentre);
  ClickAt(boxCentre);
  ASSERT_TRUE(WaitFor("Standard shown", [&] { return Standard->Visible(); }));
  AwaitNoDoubleClick(boxCentre);

  TRect row = list->ItemRect(1);
  TPoint name = OnScreen(list, row.Left + 60, (row.Top + row.Bottom) / 2);
  ClickAt(name);
  PumpPending();
  EXPECT_TRUE(Standard->Visible()) << "a click on the name only selects";
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_FALSE(window->BBarRename->Enabled()) << "Standard comes from the form's design";
  AwaitNoDoubleClick(name);
  DoubleClickAt(name);
  ASSERT_TRUE(WaitFor("Standard hidden by the double click", [&] { return !Standard->Visible(); }));
  PumpPending();
  EXPECT_FALSE(Standard->Visible()) << "toggled once";

  // The bar's own change reaches the list's box.
  Standard->SetVisible(true);
  ASSERT_TRUE(::Painted(list));
  SaveScreenshot(window->Handle(), "customizing-toolbars");
}

// New proposes "Custom 1" and makes a floating visible toolbar; Rename refuses another toolbar's
// caption with a message and keeps the dialog open; Delete asks and removes bar and row.
TEST_F(CustomizingWindow, NewRenameAndDeleteToolbar) {
  TkwBarCustomizingForm* window = OpenWindow();
  ASSERT_NE(window, nullptr);
  String proposed, caption;
  AnswerNameDialog("Mes outils", true, &proposed, &caption);
  window->BBarNewClick(nullptr);
  EXPECT_EQ(proposed, "Custom 1");
  EXPECT_EQ(caption, "Add Toolbar");
  TkwBar* mine = Manager->FindBarByCaption("Mes outils");
  ASSERT_NE(mine, nullptr);
  EXPECT_TRUE(mine->Visible());
  EXPECT_EQ(mine->DockingStyle(), dsNone);
  EXPECT_EQ(Rows(window->BarsListBox), (std::vector<String>{"Menu principal", "Standard", "Mes outils"}));
  EXPECT_EQ(window->BarsListBox->ItemIndex(), 2);
  EXPECT_TRUE(window->BBarRename->Enabled());
  EXPECT_TRUE(window->BBarDelete->Enabled());
  // Left of the window when there is room, else to its right; never above the work area.
  TRect work = GetMonitorWorkArea(TPoint(window->Left(), window->Top()));
  int expectedLeft = window->Left() - 50 < work.Left ? window->Left() + window->Width() + 10 : window->Left() - 50;
  EXPECT_EQ(mine->FloatLeft(), expectedLeft);

  // Renamed to Standard: refused, the dialog stays; then renamed for good.
  {
    TModalScript script;
    bool stayed = false;
    Later([&] {
      ASSERT_TRUE(WaitFor("the name dialog", [] { return TkwBarNameEd::Active && TkwBarNameEd::Active->Visible(); }));
      TkwBarNameEd* dialog = TkwBarNameEd::Active;
      EXPECT_EQ(dialog->EName()->Text(), "Mes outils");
      dialog->EName()->SetText("Standard");
      dialog->SetModalResult(mrOk);
      Later([&] {
        ASSERT_TRUE(WaitFor("the refusal", [&] { return !script.Asked.empty(); }));
        stayed = TkwBarNameEd::Active && TkwBarNameEd::Active->Visible();
        TkwBarNameEd::Active->EName()->SetText("Outils");
        TkwBarNameEd::Active->SetModalResult(mrOk);
      });
    });
    window->BBarRenameClick(nullptr);
    ASSERT_EQ(script.Asked.size(), 1u);
    EXPECT_EQ(script.Asked[0].Text, "A toolbar named 'Standard' already exists. Type another name.");
    EXPECT_TRUE(stayed);
  }
  EXPECT_EQ(mine->Caption(), "Outils");
  EXPECT_EQ(window->BarsListBox->Items()->Get(2), "Outils");
  // Its own caption again is accepted.
  AnswerNameDialog("Outils", true);
  window->BBarRenameClick(nullptr);
  EXPECT_EQ(mine->Caption(), "Outils");

  // Delete: Cancel keeps it, OK deletes it and selects the new last row.
  {
    TModalScript script;
    script.Push(IDCANCEL);
    window->BBarDeleteClick(nullptr);
    ASSERT_EQ(script.Asked.size(), 1u);
    EXPECT_EQ(script.Asked[0].Text, "Are you sure you want to delete the 'Outils' toolbar?");
    EXPECT_EQ(Manager->FindBarByCaption("Outils"), mine);
    script.Push(IDOK);
    window->BBarDeleteClick(nullptr);
  }
  EXPECT_EQ(Manager->FindBarByCaption("Outils"), nullptr);
  EXPECT_EQ(Manager->Bars()->Count(), 2);
  EXPECT_EQ(Rows(window->BarsListBox), (std::vector<String>{"Menu principal", "Standard"}));
  EXPECT_EQ(window->BarsListBox->ItemIndex(), 1);
}

// The name dialog's OK button is off while the name is empty.
TEST_F(CustomizingWindow, NameDialogNeedsAName) {
  bool okWhileEmpty = true, okWithName = false;
  Later([&] {
    ASSERT_TRUE(WaitFor("the name dialog", [] { return TkwBarNameEd::Active && TkwBarNameEd::Active->Visible(); }));
    TkwBarNameEd* dialog = TkwBarNameEd::Active;
    dialog->EName()->SetText("");
    okWhileEmpty = dialog->BOK()->Enabled();
    dialog->EName()->SetText("X");
    okWithName = dialog->BOK()->Enabled();
    dialog->SetModalResult(mrCancel);
  });
  String name = "Custom 1";
  EXPECT_FALSE(ShowBarNameDialog(name, 0, 0, nullptr, Manager));
  EXPECT_EQ(name, "Custom 1");
  EXPECT_FALSE(okWhileEmpty);
  EXPECT_TRUE(okWithName);
}

// The commands page: the visible categories; a category's visible commands with the selected
// one's description; a command dragged from the list onto a bar makes a link there, and the link
// dragged off the bar goes.
TEST_F(CustomizingWindow, CommandsDraggedOntoABarAndOff) {
  // Floating, away from the window: the form's docked bars are disabled with their form.
  Standard->SetFloatLeft(80);
  Standard->SetFloatTop(460);
  Standard->SetDockingStyle(dsNone);
  TkwBarCustomizingForm* window = OpenWindow();
  ASSERT_NE(window, nullptr);
  window->PageControl->SetActivePage(window->TabSheet2);
  ASSERT_TRUE(::Painted(window));
  EXPECT_EQ(Rows(window->LCategories), (std::vector<String>{"Default", "Fichier"}));
  window->LCategories->SetItemIndex(1);
  window->LCategoriesClick(nullptr);
  EXPECT_EQ(Rows(window->LCommands), (std::vector<String>{"&Ouvrir", "Enregistrer", "Zone"}));
  ASSERT_TRUE(::Painted(window));

  TRect openRow = window->LCommands->ItemRect(0);
  TPoint from = OnScreen(window->LCommands, openRow.Left + 40, (openRow.Top + openRow.Bottom) / 2);
  ClickAt(from);
  ASSERT_TRUE(WaitFor("the description", [&] { return window->DescriptionLabel->Caption() == "Ouvre un inventaire"; }));
  SaveScreenshot(window->Handle(), "customizing-commands");
  AwaitNoDoubleClick(from);

  // Dropped after "Enregistrer" on the Standard bar.
  TkwBarItemLink* saveLink = Standard->ItemLinks()->Items(0);
  TRect target = ScreenRectOf(saveLink);
  TPoint into(target.Left + target.Width() / 4, (target.Top + target.Bottom) / 2);
  MoveMouseTo(from);
  std::vector<INPUT> inputs{MouseInput(from, MOUSEEVENTF_LEFTDOWN), MouseInput(TPoint(from.X + 12, from.Y + 4), 0),
                            MouseInput(TPoint(from.X + 30, from.Y), 0), MouseInput(into, 0),
                            MouseInput(into, MOUSEEVENTF_LEFTUP)};
  SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
  LastMousePos() = into;
  ASSERT_TRUE(WaitFor("the command dropped", [&] { return Standard->ItemLinks()->Count() == 2 && !Manager->DraggingItem; }));
  // Which side of "Enregistrer" it lands on is the drag's own business (its tests pin it).
  TkwBarItemLink* openLink = Standard->ItemLinks()->Items(0)->Item() == Open ? Standard->ItemLinks()->Items(0)
                                                                               : Standard->ItemLinks()->Items(1);
  EXPECT_EQ(openLink->Item(), Open);
  EXPECT_EQ(Open->GetLinkCount(), 1);
  EXPECT_TRUE(Standard->ItemLinks()->HasItem(Save));
  ASSERT_TRUE(Painted());

  // Dragged off the bar onto the form's free area: the link goes.
  TPoint on = CentreOf(openLink);
  TPoint away = OnScreen(Form.get(), Form->ClientWidth() / 2, Form->ClientHeight() - 20);
  MoveMouseTo(on);
  std::vector<INPUT> off{MouseInput(on, MOUSEEVENTF_LEFTDOWN), MouseInput(TPoint(on.X + 12, on.Y + 12), 0),
                         MouseInput(away, 0), MouseInput(away, MOUSEEVENTF_LEFTUP)};
  SendInput(UINT(off.size()), off.data(), sizeof(INPUT));
  LastMousePos() = away;
  ASSERT_TRUE(WaitFor("the link removed", [&] { return Standard->ItemLinks()->Count() == 1 && !Manager->DraggingItem; }));
  EXPECT_EQ(Standard->ItemLinks()->Items(0)->Item(), Save);
  EXPECT_EQ(Open->GetLinkCount(), 0);
}

// The options page follows the style; its boxes set the manager's options and follow them.
TEST_F(CustomizingWindow, OptionsFollowTheStyleAndSetTheManager) {
  Manager->SetMenusShowRecentItemsFirst(false);
  TkwBarCustomizingForm* window = OpenWindow();
  ASSERT_NE(window, nullptr);
  window->PageControl->SetActivePage(window->TabSheet3);
  ASSERT_TRUE(::Painted(window));
  EXPECT_TRUE(window->EnhancedOptionsPanel->Visible());
  EXPECT_FALSE(window->StandardOptionsPanel->Visible());
  EXPECT_FALSE(window->CBMenusShowRecentItemsFirst->Checked());
  EXPECT_FALSE(window->CBShowFullMenusAfterDelay->Enabled());
  EXPECT_EQ(window->ComboBoxMenuAnimationsEx->Items()->Count(), 5);
  SaveScreenshot(window->Handle(), "customizing-options");

  ClickControl(window->CBMenusShowRecentItemsFirst);
  ASSERT_TRUE(WaitFor("recent items first", [&] { return Manager->MenusShowRecentItemsFirst(); }));
  EXPECT_TRUE(window->CBShowFullMenusAfterDelay->Enabled());
  ClickControl(window->CBLargeIconsEx);
  ASSERT_TRUE(WaitFor("large icons", [&] { return Manager->LargeIcons(); }));
  window->ComboBoxMenuAnimationsEx->SetItemIndex(3);
  window->ComboBoxMenuAnimationsClick(window->ComboBoxMenuAnimationsEx);
  EXPECT_EQ(Manager->MenuAnimations(), maSlide);

  // A change made elsewhere shows in the boxes.
  Manager->SetShowHint(false);
  EXPECT_FALSE(window->CBHint1Ex->Checked());
  EXPECT_FALSE(window->CBHint2Ex->Enabled());

  // The standard style shows the other panel.
  Manager->SetStyle(bmsStandard);
  window->UpdateOptions();
  EXPECT_TRUE(window->StandardOptionsPanel->Visible());
  EXPECT_FALSE(window->EnhancedOptionsPanel->Visible());
  EXPECT_TRUE(window->CBLargeIcons->Checked());
}

// Command rows in the flat style: a drop-down button keeps its last 13 pixels for its drop part,
// framed in the shadow colour; a category without commands leaves the whole list in the list's
// own colour (the standard style's button face).
TEST_F(CustomizingWindow, CommandRowsInTheBarStyle) {
  auto* recent = AddItem<TkwBarButton>("Récents"_a);
  recent->SetCategory(1);
  recent->SetButtonStyle(bsDropDown);
  Manager->Categories()->Add("Vide");
  TkwBarCustomizingForm* window = OpenWindow();
  ASSERT_NE(window, nullptr);
  window->PageControl->SetActivePage(window->TabSheet2);
  window->LCategories->SetItemIndex(1);
  window->LCategoriesClick(nullptr);
  window->LCommands->SetItemIndex(-1);
  ASSERT_TRUE(::Painted(window));
  int row = window->LCommands->Items()->IndexOfObject(recent);
  ASSERT_GE(row, 0);
  TRect r = window->LCommands->ItemRect(row);
  int middle = (r.Top + r.Bottom) / 2;
  COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), windowColor = GetSysColor(COLOR_WINDOW);
  EXPECT_EQ(PixelOf(window->LCommands, r.Right - 13, middle), shadow) << "the drop part's left edge";
  EXPECT_EQ(PixelOf(window->LCommands, r.Right - 14, middle), windowColor) << "the text area ends before it";
  EXPECT_EQ(PixelOf(window->LCommands, r.Right - 13, r.Top), shadow) << "framed at the top";

  Manager->SetStyle(bmsStandard);
  window->UpdateStyle();
  ASSERT_EQ(window->LCategories->Items()->Get(2), "Vide");
  window->LCategories->SetItemIndex(2);
  window->LCategoriesClick(nullptr);
  ASSERT_EQ(window->LCommands->Count(), 0);
  window->LCommands->Invalidate();
  ASSERT_TRUE(::Painted(window));
  TRect client = window->LCommands->ClientRect();
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(PixelOf(window->LCommands, client.Width() / 2, 3), face);
  EXPECT_EQ(PixelOf(window->LCommands, client.Width() / 2, client.Height() / 2), face);
}

// The Space key toggles the selected toolbar.
TEST_F(CustomizingWindow, SpaceTogglesTheSelectedToolbar) {
  TkwBarCustomizingForm* window = OpenWindow();
  ASSERT_NE(window, nullptr);
  window->BarsListBox->SetItemIndex(1);
  ASSERT_TRUE(GiveFocus(window->BarsListBox));
  Press(VK_SPACE);
  ASSERT_TRUE(WaitFor("Standard hidden", [&] { return !Standard->Visible(); }));
  Press(VK_SPACE);
  ASSERT_TRUE(WaitFor("Standard shown", [&] { return Standard->Visible(); }));
  window->BarsListBox->SetItemIndex(0);
  Press(VK_SPACE);
  PumpPending();
  EXPECT_TRUE(MainMenu->Visible());
}

}  // namespace
