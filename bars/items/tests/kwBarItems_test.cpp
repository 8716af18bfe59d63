// Tests of the bar items in real windows, with real keys and clicks: a main menu of sub-items and
// buttons bound to actions, check buttons in a tool bar and in a menu, large buttons (their size
// by glyph layout, where glyph and caption land, the gray glyph until hot), static items, and edit
// and combo items typed into and committed or cancelled.
#include <algorithm>
#include <memory>

#include "ActnList.h"
#include "ItemsTestSupport.h"
#include "kwBarCombo.h"
#include "kwBarExtItems.h"
#include "kwBarUtils.h"

namespace {

// Counts the executions of the actions it handles.
class TActionCounter : public TObject {
 public:
  void Execute(TObject* Sender) { ++Runs[Sender]; }
  std::map<TObject*, int> Runs;
};

class MainMenu : public BarItemsTest {
 protected:
  void SetUp() override {
    BarItemsTest::SetUp();
    Actions = new TActionList(Form.get());
    Menu = AddBar("Menu", true);
    File = AddItem<TkwBarSubItem>("&Fichier");
    EditMenu = AddItem<TkwBarSubItem>("&Edition");
    Link(Menu, File);
    Link(Menu, EditMenu);
    Open = AddActionButton("&Ouvrir");
    Quit = AddActionButton("&Quitter");
    Link(File->ItemLinks(), Open);
    Link(File->ItemLinks(), Quit, true);
    Cut = AddActionButton("Co&uper");
    Bold = AddItem<TkwBarButton>("&Gras");
    Bold->SetButtonStyle(bsChecked);
    Bold->OnClick = Counting();
    Link(EditMenu->ItemLinks(), Cut);
    Link(EditMenu->ItemLinks(), Bold);
    Menu->SetVisible(true);
    ShowForm();
    ASSERT_TRUE(Painted());
  }
  // A button bound to an action of the same caption, whose executions the counter sees.
  TkwBarButton* AddActionButton(const String& Caption) {
    auto* action = new TAction(Form.get());
    action->SetActionList(Actions);
    action->SetCaption(Caption);
    action->OnExecute = TNotifyEvent(&Counter, &TActionCounter::Execute);
    auto* button = AddItem<TkwBarButton>("");
    button->SetAction(action);
    return button;
  }
  TAction* ActionOf(TkwBarItem* Item) const { return static_cast<TAction*>(Item->Action()); }
  int Runs(TkwBarItem* Item) { return Counter.Runs[ActionOf(Item)]; }
  TkwBarSubMenuControl* Shown(TkwBarSubItem* Item) const {
    TkwBarSubMenuControl* menu = MenuOf(Item);
    return menu && menu->HandleAllocated() && IsWindowVisible(menu->Handle()) ? menu : nullptr;
  }
  bool MenusClosed() const { return !MenuOf(File) && !MenuOf(EditMenu) && !GetActiveBarControl(); }

  TActionCounter Counter;
  TActionList* Actions = nullptr;
  TkwBar* Menu = nullptr;
  TkwBarSubItem *File = nullptr, *EditMenu = nullptr;
  TkwBarButton *Open = nullptr, *Quit = nullptr, *Cut = nullptr, *Bold = nullptr;
};

TEST_F(MainMenu, AButtonTakesItsActionsCaptionAndStateAndRunsItOncePerClick) {
  EXPECT_EQ(Open->Caption(), "&Ouvrir");
  ActionOf(Cut)->SetEnabled(false);
  EXPECT_FALSE(Cut->Enabled()) << "the action's state reaches the item";
  ActionOf(Open)->SetCaption("&Ouvrir..."_a);
  EXPECT_EQ(Open->Caption(), "&Ouvrir..."_a);

  ASSERT_TRUE(OpenMenu(Menu->ItemLinks()->Items(0), File));
  ClickAt(CentreOf(Open->GetLink(0)));
  ASSERT_TRUE(WaitFor("the menus closed", [&] { return MenusClosed(); }));
  EXPECT_EQ(Runs(Open), 1);
  EXPECT_EQ(Runs(Quit), 0);

  // The keyboard: the accelerator opens the menu, the entry's letter runs its action.
  PressCombo(VK_MENU, 'F');
  ASSERT_TRUE(WaitFor("Fichier's menu", [&] { return Shown(File) != nullptr; }));
  Press('Q');
  ASSERT_TRUE(WaitFor("the menus closed", [&] { return MenusClosed(); }));
  EXPECT_EQ(Runs(Quit), 1);
  EXPECT_EQ(Runs(Open), 1);
}

TEST_F(MainMenu, ADisabledEntryRunsNothing) {
  ActionOf(Cut)->SetEnabled(false);
  ASSERT_TRUE(OpenMenu(Menu->ItemLinks()->Items(1), EditMenu));
  RECT form, menu;
  GetWindowRect(Form->Handle(), &form);
  GetWindowRect(Shown(EditMenu)->Handle(), &menu);
  SaveScreenArea(TRect(form.left, form.top, std::max(form.right, menu.right), std::max(menu.bottom, form.top + 120)),
                 "main-menu-open");
  ClickAt(CentreOf(Cut->GetLink(0)));
  PumpPending();
  Press(VK_ESCAPE);
  Press(VK_ESCAPE);
  ASSERT_TRUE(WaitFor("the menus closed", [&] { return MenusClosed(); }));
  EXPECT_EQ(Runs(Cut), 0);
  // Enabled again, the same click runs it.
  ActionOf(Cut)->SetEnabled(true);
  EXPECT_TRUE(Cut->Enabled());
  ASSERT_TRUE(OpenMenu(Menu->ItemLinks()->Items(1), EditMenu));
  ClickAt(CentreOf(Cut->GetLink(0)));
  ASSERT_TRUE(WaitFor("the menus closed", [&] { return MenusClosed(); }));
  EXPECT_EQ(Runs(Cut), 1);
}

TEST_F(MainMenu, ACheckButtonInAMenuTogglesOncePerClick) {
  for (bool expected : {true, false}) {
    ASSERT_TRUE(OpenMenu(Menu->ItemLinks()->Items(1), EditMenu));
    ClickAt(CentreOf(Bold->GetLink(0)));
    ASSERT_TRUE(WaitFor("the menus closed", [&] { return MenusClosed(); }));
    EXPECT_EQ(Bold->Down(), expected);
  }
  EXPECT_EQ(Clicks[Bold], 2);
}

// A tool bar of check buttons: two of one group and one alone.
class CheckButtons : public BarItemsTest {
 protected:
  void SetUp() override {
    BarItemsTest::SetUp();
    Bar = AddBar("Outils", false);
    for (const char* caption : {"Gauche", "Droite", "Gras"}) {
      auto* button = AddItem<TkwBarButton>(caption);
      button->SetButtonStyle(bsChecked);
      button->SetPaintStyle(psCaption);
      button->OnClick = Counting();
      Link(Bar, button);
      Buttons.push_back(button);
    }
    Buttons[0]->SetGroupIndex(1);
    Buttons[1]->SetGroupIndex(1);
    Bar->SetVisible(true);
    ShowForm();
    ASSERT_TRUE(Painted());
  }
  void Click(int Index) {
    ClickAt(CentreOf(Buttons[Index]->GetLink(0)));
    AwaitNoDoubleClick(CentreOf(Buttons[Index]->GetLink(0)));
    PumpPending();
  }
  TkwBar* Bar = nullptr;
  std::vector<TkwBarButton*> Buttons;
};

TEST_F(CheckButtons, AClickTogglesAndAGroupKeepsOneDown) {
  struct Step {
    int Click;
    bool Down[3];
  };
  const Step steps[] = {
      {2, {false, false, true}},  // alone: down
      {2, {false, false, false}},  // and up again
      {0, {true, false, false}},
      {1, {false, true, false}},  // the group's other button goes up
      {1, {false, true, false}},  // the last one down of its group stays down
  };
  for (const Step& step : steps) {
    Click(step.Click);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Buttons[i]->Down(), step.Down[i]) << "after a click on " << step.Click;
  }
  EXPECT_EQ(Clicks[Buttons[0]], 1);
  EXPECT_EQ(Clicks[Buttons[1]], 2);
  EXPECT_EQ(Clicks[Buttons[2]], 2);
}

TEST_F(CheckButtons, ADisabledButtonNeitherTogglesNorClicks) {
  Buttons[2]->SetEnabled(false);
  ASSERT_TRUE(Painted());
  Click(2);
  EXPECT_FALSE(Buttons[2]->Down());
  EXPECT_EQ(Clicks[Buttons[2]], 0);
}

// A tool bar of large buttons drawn by the flat painter.
class LargeButtons : public BarItemsTest {
 protected:
  void SetUp() override {
    BarItemsTest::SetUp();
    Bar = AddBar("Boutons", false);
  }
  // Shows the bar with the buttons added so far, and the form.
  void ShowAll() {
    Bar->SetVisible(true);
    ShowForm();
  }
  TkwBarLargeButton* AddLarge(const String& Caption, TkwBarGlyphLayout Layout, int GlyphSize, TColor Color = clRed) {
    auto* button = AddItem<TkwBarLargeButton>(Caption);
    button->SetGlyphLayout(Layout);
    if (GlyphSize > 0) {
      TBitmap glyph;
      MakeGlyph(&glyph, GlyphSize, Color);
      button->SetLargeGlyph(&glyph);
    }
    button->OnClick = Counting();
    Link(Bar, button);
    return button;
  }
  TkwBarLargeButtonControl* ControlOf(TkwBarLargeButton* Button) const {
    return dynamic_cast<TkwBarLargeButtonControl*>(Button->GetLink(0)->Control());
  }
  // The screen rectangle of a button's glyph as it is drawn.
  TRect ScreenGlyphRect(TkwBarLargeButton* Button) const {
    TRect content = Button->GetLink(0)->ItemRect;
    InflateBy(content, -1, -1);
    TRect r = ControlOf(Button)->GlyphRect(content);
    MapWindowPoints(WindowOf(Bar)->Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  TRect BarScreenRect() const {
    RECT r;
    GetWindowRect(WindowOf(Bar)->Handle(), &r);
    return TRect(r.left, r.top, r.right, r.bottom);
  }
  TkwBar* Bar = nullptr;
};

TEST_F(LargeButtons, SizeFollowsTheGlyphLayoutAndTheCaption) {
  ShowAll();
  ASSERT_TRUE(Painted());
  TCustomkwBarControl* window = WindowOf(Bar);
  const int textHeight = window->MeasureText("Qq").cy;
  const String caption = "Saisie des &zones humides";
  const int textWidth = window->MeasureText("Saisie des zones humides").cx;
  ASSERT_GT(textWidth + 16, 42) << "the caption must be wider than the glyph for the test to tell";
  struct Case {
    const char* Name;
    TkwBarGlyphLayout Layout;
    int Glyph;
    bool Caption;
    int Width, Height;
  };
  const Case cases[] = {
      {"above", glTop, 32, true, textWidth + 16, 38 + textHeight + 1},
      {"below", glBottom, 32, true, textWidth + 16, 38 + textHeight + 1},
      {"left", glLeft, 32, true, 42 + textWidth + 6, std::max(38, textHeight + 6)},
      {"right", glRight, 32, true, 42 + textWidth + 6, std::max(38, textHeight + 6)},
      {"glyph only", glTop, 32, false, 42, 38},
      {"nothing", glTop, 0, false, 30, 26},
      {"caption only", glTop, 0, true, textWidth + 16, 26 + textHeight + 1},
  };
  for (const Case& c : cases) {
    TkwBarLargeButton* button = AddLarge(caption, c.Layout, c.Glyph);
    button->SetShowCaption(c.Caption);
    ASSERT_TRUE(Painted());
    TkwBarLargeButtonControl* control = ControlOf(button);
    ASSERT_NE(control, nullptr) << c.Name;
    EXPECT_EQ(control->CalcWidth(), c.Width) << c.Name;
    EXPECT_EQ(control->CalcHeight(), c.Height) << c.Name;
    EXPECT_EQ(button->GetLink(0)->ItemRect.Width(), c.Width) << c.Name << ": as laid out";
    delete button;
  }
}

TEST_F(LargeButtons, AFixedSizeWinsAndNegativeSizesAreIgnored) {
  TkwBarLargeButton* button = AddLarge("Carte", glTop, 32);
  button->SetWidth(70);
  button->SetHeight(64);
  button->SetWidth(-3);
  button->SetHeight(-1);
  EXPECT_EQ(button->Width(), 70);
  EXPECT_EQ(button->Height(), 64);
  ShowAll();
  ASSERT_TRUE(Painted());
  EXPECT_EQ(button->GetLink(0)->ItemRect.Width(), 70);
  EXPECT_EQ(button->GetLink(0)->ItemRect.Height(), 64);
}

TEST_F(LargeButtons, TheGlyphIsGrayUntilHotAndTheCaptionSitsWhereTheLayoutSays) {
  TkwBarLargeButton* above = AddLarge("Saisie", glTop, 32, clRed);
  TkwBarLargeButton* beside = AddLarge("Carte", glLeft, 32, clBlue);
  beside->SetAutoGrayScale(false);
  ShowAll();
  ASSERT_TRUE(Painted());
  const COLORREF text = GetSysColor(COLOR_BTNTEXT);
  TRect glyph = ScreenGlyphRect(above);
  TPoint middle((glyph.Left + glyph.Right) / 2, (glyph.Top + glyph.Bottom) / 2);
  COLORREF gray = ScreenPixel(middle);
  EXPECT_EQ(GetRValue(gray), GetGValue(gray)) << "not hot: gray scale";
  EXPECT_EQ(GetGValue(gray), GetBValue(gray)) << "not hot: gray scale";
  EXPECT_NE(gray, RGB(255, 0, 0));
  TRect item = ScreenRectOf(above->GetLink(0));
  EXPECT_TRUE(ScreenRectHas(TRect(item.Left, glyph.Bottom, item.Right, item.Bottom), text)) << "caption below";
  EXPECT_FALSE(ScreenRectHas(TRect(item.Left, item.Top, item.Right, glyph.Top), text));

  // Beside: the caption right of the glyph; without gray scale the glyph keeps its colour.
  TRect glyph2 = ScreenGlyphRect(beside);
  TRect item2 = ScreenRectOf(beside->GetLink(0));
  COLORREF blue = ScreenPixel(TPoint((glyph2.Left + glyph2.Right) / 2, (glyph2.Top + glyph2.Bottom) / 2));
  EXPECT_GT(GetBValue(blue), GetRValue(blue)) << "not gray";
  EXPECT_TRUE(ScreenRectHas(TRect(glyph2.Right, item2.Top, item2.Right, item2.Bottom), text)) << "caption right";
  EXPECT_FALSE(ScreenRectHas(TRect(item2.Left, glyph2.Bottom + 1, glyph2.Right, item2.Bottom), text));

  SaveScreenArea(BarScreenRect(), "large-buttons-idle");
  // Hot, the glyph shows its colours.
  MoveMouseTo(CentreOf(above->GetLink(0)));
  ASSERT_TRUE(WaitFor("the glyph in colour", [&] { return ScreenPixel(middle) == RGB(255, 0, 0); }));
  SaveScreenArea(BarScreenRect(), "large-buttons-hot");
}

TEST_F(LargeButtons, AClickRunsTheBoundActionOnceAndADisabledOneNothing) {
  TActionCounter counter;
  auto* action = new TAction(Form.get());
  action->SetCaption("&Rechercher");
  action->OnExecute = TNotifyEvent(&counter, &TActionCounter::Execute);
  TkwBarLargeButton* button = AddLarge("", glTop, 32);
  button->OnClick = TNotifyEvent();
  button->SetAction(action);
  EXPECT_EQ(button->Caption(), "&Rechercher");
  ShowAll();
  ASSERT_TRUE(Painted());
  TPoint centre = CentreOf(button->GetLink(0));
  ClickAt(centre);
  ASSERT_TRUE(WaitFor("the action run", [&] { return counter.Runs[action] > 0; }));
  AwaitNoDoubleClick(centre);
  PumpPending();
  EXPECT_EQ(counter.Runs[action], 1);
  action->SetEnabled(false);
  EXPECT_FALSE(button->Enabled());
  ClickAt(centre);
  AwaitNoDoubleClick(centre);
  PumpPending();
  EXPECT_EQ(counter.Runs[action], 1);
}

TEST_F(LargeButtons, InTheMenuOfAToolBarsSubItemALargeButtonIsAnOrdinaryEntry) {
  TkwBarLargeButton* top = AddLarge("Carte", glTop, 32);
  auto* more = AddItem<TkwBarSubItem>("&Autres");
  Link(Bar, more);
  TkwBarLargeButton* inside = AddItem<TkwBarLargeButton>("&Exporter");
  TBitmap glyph;
  MakeGlyph(&glyph, 32, clGreen);
  inside->SetLargeGlyph(&glyph);
  inside->OnClick = Counting();
  Link(more->ItemLinks(), inside);
  ShowAll();
  ASSERT_TRUE(Painted());
  ASSERT_TRUE(OpenMenu(more->GetLink(0), more));
  TkwBarItemLink* entry = inside->GetLink(0);
  TCustomkwBarControl* menu = MenuOf(more);
  // As tall as a menu row, not as a large button.
  EXPECT_EQ(entry->ItemRect.Height(), menu->Painter()->GetSubItemHeight(entry->Control(), true));
  EXPECT_LT(entry->ItemRect.Height(), top->GetLink(0)->ItemRect.Height());
  RECT shown;
  GetWindowRect(menu->Handle(), &shown);
  SaveScreenArea(TRect(shown.left, shown.top, shown.right, shown.bottom), "large-button-in-menu");
  ClickAt(CentreOf(entry));
  ASSERT_TRUE(WaitFor("the menu closed", [&] { return !MenuOf(more) && !GetActiveBarControl(); }));
  EXPECT_EQ(Clicks[inside], 1);
  EXPECT_EQ(Clicks[top], 0);
}

// Static items: sizes from caption, glyph, indents and border.
class StaticItems : public BarItemsTest {};

TEST_F(StaticItems, SizeFromCaptionIndentsAndBorder) {
  TkwBar* bar = AddBar("Etat", false);
  auto* plain = AddItem<TkwBarStatic>("Fiche 12");
  auto* empty = AddItem<TkwBarStatic>("");
  empty->SetShowCaption(false);
  empty->SetLeftIndent(3);
  empty->SetRightIndent(5);
  empty->SetBorderStyle(sbsEtched);
  auto* fixed = AddItem<TkwBarStatic>("Fixe");
  fixed->SetWidth(90);
  fixed->SetHeight(-5);
  EXPECT_EQ(fixed->Height(), 0) << "a negative height is automatic";
  for (TkwBarItem* item : {static_cast<TkwBarItem*>(plain), static_cast<TkwBarItem*>(empty),
                           static_cast<TkwBarItem*>(fixed)})
    Link(bar, item);
  bar->SetVisible(true);
  ShowForm();
  ASSERT_TRUE(Painted());
  TCustomkwBarControl* window = WindowOf(bar);
  int textWidth = window->MeasureText("Fiche 12").cx;
  EXPECT_EQ(plain->GetLink(0)->Control()->CalcWidth(), textWidth + window->RowHeight() / 2);
  EXPECT_EQ(empty->GetLink(0)->Control()->CalcWidth(), Manager->ButtonSize() + 3 + 5 + 2 * 2);
  EXPECT_EQ(fixed->GetLink(0)->Control()->CalcWidth(), 90);
  // Not clickable by default; AllowClick makes it so.
  EXPECT_FALSE(plain->GetLink(0)->Control()->CanClick());
  plain->SetAllowClick(true);
  EXPECT_TRUE(plain->GetLink(0)->Control()->CanClick());
}

// An edit and a combo on a tool bar.
class EditItems : public BarItemsTest {
 protected:
  void SetUp() override {
    BarItemsTest::SetUp();
    Bar = AddBar("Saisie", false);
    Edit = AddItem<TkwBarEdit>("Nom");
    Edit->SetWidth(150);
    Edit->OnChange = Counting();
    Combo = AddItem<TkwBarCombo>("Type");
    Combo->SetWidth(150);
    Combo->Items()->Add("Marais");
    Combo->Items()->Add("Prairie humide");
    Combo->Items()->Add("Tourbière"_a);
    Combo->OnChange = Counting();
    Link(Bar, Edit);
    Link(Bar, Combo);
    Bar->SetVisible(true);
    ShowForm();
    ASSERT_TRUE(Painted());
  }
  // Clicks an item's entry and waits for its editor.
  [[nodiscard]] testing::AssertionResult StartEditing(TkwBarWindowItem* Item) {
    ClickAt(CentreOf(Item->GetLink(0)));
    return WaitFor("the editor open", [&] {
      TkwBarWinControl* control = Item->GetActiveWinControl();
      return control && control->IsEditing() && GetFocus() && IsWindowVisible(GetFocus());
    });
  }
  [[nodiscard]] testing::AssertionResult Closed(TkwBarWindowItem* Item) {
    return WaitFor("the editor closed", [&] {
      auto* control = dynamic_cast<TkwBarWinControl*>(Item->GetLink(0)->Control());
      return control && !control->IsEditing() && !IsWindowVisible(control->EditWindow());
    });
  }
  TkwBar* Bar = nullptr;
  TkwBarEdit* Edit = nullptr;
  TkwBarCombo* Combo = nullptr;
};

TEST_F(EditItems, EnterCommitsTheTypedTextAndEscapeDropsIt) {
  ASSERT_TRUE(StartEditing(Edit));
  TypeText("Lac");
  Press(VK_RETURN);
  ASSERT_TRUE(Closed(Edit));
  EXPECT_EQ(Edit->Text(), "Lac");
  EXPECT_EQ(Clicks[Edit], 1);

  ASSERT_TRUE(StartEditing(Edit));
  TypeText("Etang");
  EXPECT_EQ(Edit->Text(), "Lac") << "nothing is committed while typing";
  Press(VK_ESCAPE);
  ASSERT_TRUE(Closed(Edit));
  EXPECT_EQ(Edit->Text(), "Lac");
  EXPECT_EQ(Clicks[Edit], 1);
}

TEST_F(EditItems, ALongTextIsCommittedWhole) {
  ASSERT_TRUE(StartEditing(Edit));
  String text(400, 'x');
  text += "fin";
  Edit->SetCurrentText(text);
  Press(VK_RETURN);
  ASSERT_TRUE(Closed(Edit));
  EXPECT_EQ(Edit->Text(), text);
}

TEST_F(EditItems, AComboTakesTypedText) {
  ASSERT_TRUE(StartEditing(Combo));
  TypeText("Lande");
  Press(VK_RETURN);
  ASSERT_TRUE(Closed(Combo));
  EXPECT_EQ(Combo->Text(), "Lande");
  EXPECT_EQ(Combo->ItemIndex(), -1);
  EXPECT_EQ(Clicks[Combo], 1);
}

}  // namespace
