// Tests of the data-aware combo box with real keys and clicks: stored values against shown texts
// both ways, with and without MapList; the list dropped down by Alt+Down and by the button, chosen
// by keys, left by Escape, closed by a click outside and by the focus leaving; the mouse hook
// shared by two combos; a typed text that maps to no value; choosing on a closed combo; type-ahead;
// a list that never shows; and a picture of the open list.
#include "ControlsTestSupport.h"

#include "Qvdbcomb.h"

namespace {

// The record window's inventory natures: shown text TAB stored code.
const char* const Natures[] = {"ZNIEFF 1ere génération\t1"_a, "ZNIEFF 2e génération\t2"_a, "ZICO\t3", "Natura 2000\t4",
                               "Inventaire départemental\t5"_a, "SDAGE\t6", "Autre\t7"};

class ComboBoxTest : public ControlsFormTest {
 protected:
  void SetUp() override {
    ControlsFormTest::SetUp();
    Combo = Make("NATURE", 20);
  }
  TqvDBComboBox* Make(const char* Field, int Top) {
    auto* C = Field != nullptr ? Bound<TqvDBComboBox>(Field, Top, 180) : Add<TqvDBComboBox>(20, Top, 180);
    C->SetStyle(csDropDownList);
    C->SetMapList(true);
    TStringList Lines;
    for (const char* Line : Natures) Lines.Add(String(Line));
    C->SetItems(&Lines);
    return C;
  }
  bool ListShown(TqvDBComboBox* C) {
    return C->ListVisible() && C->ListBox() != nullptr && IsWindowVisible(C->ListBox()->Handle());
  }
  void TearDown() override {
    if (Plain != nullptr) DestroyWindow(Plain);
    ControlsFormTest::TearDown();
  }
  // A point of a window of no control of the class library (a plain static text that hears its
  // clicks): only the mouse hook sees a press there. A press on a control of the library would
  // cancel the modes of the focused control itself.
  TPoint Background() {
    if (Plain == nullptr) {
      Plain = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 300, 20, 100, 60, Form->Handle(),
                              nullptr, GetModuleHandleA(nullptr), nullptr);
      UpdateWindow(Plain);
    }
    RECT R{};
    GetWindowRect(Plain, &R);
    return TPoint((R.left + R.right) / 2, (R.top + R.bottom) / 2);
  }

  HWND Plain = nullptr;
  void Dropped(TObject*) { ++DropDowns; }
  TNotifyEvent DropLog() { return TNotifyEvent(this, &ComboBoxTest::Dropped); }

  TqvDBComboBox* Combo = nullptr;
  int DropDowns = 0;
};

TEST_F(ComboBoxTest, AStoredCodeShowsItsTextAndAChosenTextStoresItsCode) {
  ShowForm();
  EXPECT_EQ(Combo->Text(), "ZICO");
  EXPECT_EQ(Combo->ItemIndex(), 2);
  // A code no line holds shows nothing.
  DataSet->Next();
  EXPECT_EQ(Combo->Text(), "");
  EXPECT_EQ(Combo->ItemIndex(), -1);
  DataSet->First();
  ASSERT_TRUE(GiveFocus(Combo));
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(ListShown(Combo));
  EXPECT_EQ(Combo->ListBox()->ItemIndex(), 2);
  for (int i = 0; i < 4; ++i) Press(VK_DOWN);
  EXPECT_EQ(Combo->ListBox()->ItemIndex(), 6);
  Press(VK_RETURN);
  EXPECT_FALSE(ListShown(Combo));
  EXPECT_EQ(Combo->Text(), "Autre");
  EXPECT_EQ(Combo->GetStoredValue(), "7");
  Other();
  Press(VK_TAB);
  PumpPending();
  EXPECT_EQ(FieldOf("NATURE")->AsString(), "7");
}

TEST_F(ComboBoxTest, ValuesAndTextsBothWays) {
  EXPECT_EQ(Combo->GetDisplayForValue("3"), "ZICO");
  EXPECT_EQ(Combo->GetDisplayForValue("9"), "");
  // Texts match without regard to case, values only exactly.
  EXPECT_EQ(Combo->GetValueForDisplay("zico"), "3");
  EXPECT_EQ(Combo->GetValueForDisplay("Lagune"), "");
  Combo->Items()->Add("Code\tAb");
  EXPECT_EQ(Combo->GetDisplayForValue("ab"), "");
  EXPECT_EQ(Combo->GetDisplayForValue("Ab"), "Code");
  String Shown;
  EXPECT_TRUE(Combo->MapValueToDisplay("7", Shown));
  EXPECT_EQ(Shown, "Autre");
  // A line without a TAB stores nothing, unless two columns are shown: then its text.
  Combo->Items()->Add("Sans code");
  Combo->SetText("Sans code");
  EXPECT_EQ(Combo->GetStoredValue(), "");
  Combo->TwoColumnDisplay = true;
  EXPECT_EQ(Combo->GetStoredValue(), "Sans code");
  EXPECT_EQ(Combo->GetValueForDisplay("Inconnu"), "Inconnu");
}

TEST_F(ComboBoxTest, WithoutMapListTheCodesAreTheChoices) {
  Combo->SetMapList(false);
  ShowForm();
  String Shown;
  EXPECT_FALSE(Combo->MapValueToDisplay("3", Shown));
  EXPECT_EQ(Combo->GetDisplayForValue("3"), "3");
  EXPECT_EQ(Combo->GetValueForDisplay("ZICO"), "ZICO");
  Combo->FillDropDownList();
  ASSERT_EQ(Combo->ListBox()->Count(), 7);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(Combo->ListBox()->Items()->Strings(i), std::to_string(i + 1));
  // The field's code is one of them.
  DataSet->Next();
  DataSet->First();
  EXPECT_EQ(Combo->Text(), "3");
  EXPECT_EQ(Combo->ItemIndex(), 2);
}

TEST_F(ComboBoxTest, TheButtonDropsTheListUnderTheComboAndEscapeChangesNothing) {
  ShowForm();
  ClickControl(Combo->Button());
  ASSERT_TRUE(WaitFor("the list", [&] { return ListShown(Combo); }));
  EXPECT_TRUE(Combo->Focused());
  EXPECT_EQ(qvComboBoxMouseHookUsers(), 1);
  RECT List{}, Edit{};
  GetWindowRect(Combo->ListBox()->Handle(), &List);
  GetWindowRect(Combo->Handle(), &Edit);
  EXPECT_EQ(List.left, Edit.left);
  EXPECT_EQ(List.top, Edit.bottom - 1);
  EXPECT_EQ(List.right - List.left, Combo->Width());
  Press(VK_DOWN);
  Press(VK_ESCAPE);
  EXPECT_FALSE(ListShown(Combo));
  EXPECT_EQ(Combo->Text(), "ZICO");
  EXPECT_EQ(DataSet->State(), dsBrowse);
  EXPECT_EQ(qvComboBoxMouseHookUsers(), 0);
  EXPECT_FALSE(qvComboBoxMouseHookInstalled());
  // The form is still there: Escape was not taken by it.
  EXPECT_TRUE(Form->Visible());
}

TEST_F(ComboBoxTest, AClickOutsideTakesTheHighlightedEntry) {
  ShowForm();
  ASSERT_TRUE(GiveFocus(Combo));
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(ListShown(Combo));
  Press(VK_DOWN);
  ClickAt(Background());
  ASSERT_TRUE(WaitFor("the list closing", [&] { return !ListShown(Combo); }));
  EXPECT_EQ(Combo->Text(), "Natura 2000");
  EXPECT_TRUE(Combo->Focused());
}

TEST_F(ComboBoxTest, AClickInTheListChoosesTheRowUnderIt) {
  ShowForm();
  ASSERT_TRUE(GiveFocus(Combo));
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(ListShown(Combo));
  TqvPopupListbox* List = Combo->ListBox();
  TRect Row = List->ItemRect(5);
  ClickAt(OnScreen(List, Row.Left + 10, (Row.Top + Row.Bottom) / 2));
  ASSERT_TRUE(WaitFor("the list closing", [&] { return !ListShown(Combo); }));
  EXPECT_EQ(Combo->Text(), "SDAGE");
  EXPECT_TRUE(Combo->Focused());
}

// In the open list of a free-typing combo the arrows copy each entry into the edit, typed letters
// search the list without regard to case, and Enter takes the highlighted entry; the form never
// sees the Enter.
TEST_F(ComboBoxTest, TheOpenListOfAFreeComboFollowsTheKeysAndEnterTakesItsEntry) {
  auto* Free = Add<TqvDBComboBox>(20, 60, 180);
  for (const char* Item : {"Lac", "Mare", "Marais", "Tourbière"_a}) Free->Items()->Add(Item);
  ShowForm();
  ASSERT_TRUE(GiveFocus(Free));
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(ListShown(Free));
  Press(VK_DOWN);
  EXPECT_EQ(Free->ListBox()->ItemIndex(), 0);
  EXPECT_EQ(Free->Text(), "Lac");
  Free->SelectAll();
  TypeText("mara");
  EXPECT_EQ(Free->Text(), "mara");
  EXPECT_EQ(Free->ListBox()->ItemIndex(), 2);
  Press(VK_RETURN);
  EXPECT_FALSE(ListShown(Free));
  EXPECT_EQ(Free->Text(), "Marais");
  EXPECT_TRUE(Free->Modified());
  EXPECT_TRUE(Free->Focused());
  EXPECT_TRUE(Form->Visible());
}

TEST_F(ComboBoxTest, TheListClosesWhenTheFocusLeaves) {
  ShowForm();
  ASSERT_TRUE(GiveFocus(Combo));
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(ListShown(Combo));
  ClickControl(Other());
  ASSERT_TRUE(WaitFor("the list closing", [&] { return !ListShown(Combo); }));
  EXPECT_TRUE(Other()->Focused());
  EXPECT_EQ(qvComboBoxMouseHookUsers(), 0);
}

// Every combo box shares one mouse hook: a combo that goes away must leave it to another whose list
// is open, or a click outside would no longer close that list.
TEST_F(ComboBoxTest, FreeingOneComboLeavesTheHookToAnotherWhoseListIsOpen) {
  TqvDBComboBox* Second = Make(nullptr, 60);
  ShowForm();
  ASSERT_TRUE(GiveFocus(Second));
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(ListShown(Second));
  Press(VK_ESCAPE);
  ASSERT_TRUE(GiveFocus(Combo));
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(ListShown(Combo));
  delete Second;
  EXPECT_TRUE(qvComboBoxMouseHookInstalled());
  EXPECT_EQ(qvComboBoxMouseHookUsers(), 1);
  Press(VK_DOWN);
  ClickAt(Background());
  ASSERT_TRUE(WaitFor("the list closing", [&] { return !ListShown(Combo); }));
  EXPECT_EQ(Combo->Text(), "Natura 2000");
  EXPECT_FALSE(qvComboBoxMouseHookInstalled());
}

TEST_F(ComboBoxTest, FreeingTheComboWhoseListIsOpenTakesItsHookAway) {
  TqvDBComboBox* Second = Make(nullptr, 60);
  ShowForm();
  ASSERT_TRUE(GiveFocus(Second));
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(ListShown(Second));
  EXPECT_TRUE(qvComboBoxMouseHookInstalled());
  delete Second;
  EXPECT_FALSE(qvComboBoxMouseHookInstalled());
  EXPECT_EQ(qvComboBoxMouseHookUsers(), 0);
  ClickAt(Background());
  PumpPending();
}

// A text typed into a drop-down combo with MapList that no line shows is refused with a message;
// the field keeps its code and the user stays in the combo.
TEST_F(ComboBoxTest, ATypedTextThatMapsToNoCodeIsRefused) {
  Combo->SetStyle(csDropDown);
  ShowForm();
  ASSERT_TRUE(GiveFocus(Combo));
  Combo->SelectAll();
  TypeText("Lac");
  Other();
  Script.Push(IDOK);
  Press(VK_TAB);
  PumpPending();
  ASSERT_EQ(Script.Asked.size(), 1u) << AskedTexts(Script);
  EXPECT_EQ(Script.Asked[0].Text, "'Lac' n'est pas une valeur de la liste.");
  EXPECT_TRUE(Combo->Focused());
  EXPECT_EQ(Combo->SelLength(), 3);
  EXPECT_EQ(FieldOf("NATURE")->AsString(), "3");
  // A shown text, in any case, is taken.
  TypeText("sdage");
  Press(VK_TAB);
  PumpPending();
  EXPECT_FALSE(Combo->Focused());
  EXPECT_EQ(FieldOf("NATURE")->AsString(), "6");
}

TEST_F(ComboBoxTest, ArrowsOnAClosedComboChooseTheNextAndPreviousEntry) {
  ShowForm();
  ASSERT_TRUE(GiveFocus(Combo));
  Press(VK_DOWN);
  EXPECT_FALSE(ListShown(Combo));
  EXPECT_EQ(Combo->Text(), "Natura 2000");
  EXPECT_EQ(DataSet->State(), dsEdit);
  Press(VK_UP);
  Press(VK_UP);
  EXPECT_EQ(Combo->Text(), "ZNIEFF 2e génération"_a);
  // A letter chooses the next entry that begins with it.
  TypeText("a");
  EXPECT_EQ(Combo->Text(), "Autre");
  Other();
  Press(VK_TAB);
  PumpPending();
  EXPECT_EQ(FieldOf("NATURE")->AsString(), "7");
}

TEST_F(ComboBoxTest, TypeAheadCompletesTheTextFromTheList) {
  Combo->ShowMatchText = true;
  ShowForm();
  ASSERT_TRUE(GiveFocus(Combo));
  Combo->SelectAll();
  TypeText("in");
  EXPECT_EQ(Combo->Text(), "Inventaire départemental"_a);
  EXPECT_EQ(Combo->SelStart(), 2);
  EXPECT_EQ(Combo->SelLength(), int(Combo->Text().size()) - 2);
  // A list style keeps nothing that matches no entry.
  TypeText("x");
  EXPECT_EQ(Combo->Text(), "Inventaire départemental"_a);
}

TEST_F(ComboBoxTest, WithDisableDropDownListOnlyTheEventRuns) {
  Combo->DisableDropDownList = true;
  Combo->OnDropDown = DropLog();
  ShowForm();
  ASSERT_TRUE(GiveFocus(Combo));
  PressCombo(VK_MENU, VK_DOWN);
  ClickControl(Combo->Button());
  EXPECT_EQ(DropDowns, 2);
  EXPECT_FALSE(ListShown(Combo));
  EXPECT_EQ(qvComboBoxMouseHookUsers(), 0);
}

TEST_F(ComboBoxTest, ThePictureOfTheOpenList) {
  ShowForm();
  ASSERT_TRUE(GiveFocus(Combo));
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(ListShown(Combo));
  ASSERT_TRUE(Painted(Combo->ListBox()));
  RECT List{}, Edit{};
  GetWindowRect(Combo->ListBox()->Handle(), &List);
  GetWindowRect(Combo->Handle(), &Edit);
  TPixelArea Picture = CaptureScreen(TRect(Edit.left - 10, Edit.top - 10, List.right + 10, List.bottom + 10));
  EXPECT_TRUE(WritePng(Picture, BuildPicturePath("qvdbcomb_list_open.png")));
  // Seven rows in the list's font, the chosen one highlighted.
  EXPECT_EQ(Combo->ListBox()->Count(), 7);
  TRect Chosen = Combo->ListBox()->ItemRect(2);
  EXPECT_EQ(PixelOf(Combo->ListBox(), Chosen.Right - 3, (Chosen.Top + Chosen.Bottom) / 2), ColorToRGB(clHighlight));
  Press(VK_ESCAPE);
}

}  // namespace
