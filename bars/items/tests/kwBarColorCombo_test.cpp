// Tests of the colour and font-name combos in a tool bar on screen: the entry a colour selects,
// the automatic entry and the drop-down count that follows it, colours and fonts picked with keys
// and with the mouse (one OnChange, Escape keeps the value), the swatches on screen, the
// custom-colour button and the dialogs, and the font list's names and marks.
#include <set>

#include "CommonDialogs.h"
#include "Dialogs.h"
#include "Filer.h"
#include "ItemsTestSupport.h"
#include "kwBarColorCombo.h"
#include "StrUtils.h"
#include "TextOrder.h"
#include "kwBarUtils.h"

namespace {

class ColorCombos : public BarItemsTest {
 protected:
  void SetUp() override {
    BarItemsTest::SetUp();
    Bar = AddBar("Couleurs", false);
    Combo = AddItem<TkwBarColorCombo>("Couleur");
    Combo->SetWidth(160);
    Combo->OnChange = Counting();
    Link(Bar, Combo);
    Bar->SetVisible(true);
    ShowForm();
    ASSERT_TRUE(Painted());
  }
  TkwBarColorComboControl* Control() const {
    return dynamic_cast<TkwBarColorComboControl*>(Combo->GetLink(0)->Control());
  }
  HWND List() const { return Combo->DropDownList()->HandleAllocated() ? Combo->DropDownList()->Handle() : nullptr; }
  // Clicks the combo's value part (the editor is hidden: the list opens) and waits for the list.
  [[nodiscard]] testing::AssertionResult OpenListByMouse() {
    ClickAt(CentreOf(Combo->GetLink(0)));
    return WaitFor("the list shown", [&] {
      return Control() && Control()->IsDroppedDown() && List() && IsWindowVisible(List()) &&
             !GetUpdateRect(List(), nullptr, FALSE);
    });
  }
  [[nodiscard]] testing::AssertionResult Closed() {
    return WaitFor("the combo closed", [&] {
      return Control() && !Control()->IsEditing() && !(List() && IsWindowVisible(List()));
    });
  }
  // The screen rectangle of a row of the open list.
  TRect RowRect(int Row) const {
    RECT r{};
    SendMessageA(List(), LB_GETITEMRECT, Row, reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(List(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    return TRect(r.left, r.top, r.right, r.bottom);
  }
  // The value part of the control on screen (where the selected entry is drawn): from the edit
  // part's left (the hidden editor has no width) to the drop-down button.
  TRect ValueRect() const {
    TRect r = Control()->GetEditRect();
    r.Right = Control()->ButtonRect().Left;
    MapWindowPoints(Control()->Window()->Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  TkwBar* Bar = nullptr;
  TkwBarColorCombo* Combo = nullptr;
};

// The entry a colour selects, without and with the automatic entry at the top.
TEST_F(ColorCombos, AColourSelectsItsEntry) {
  struct Case {
    TColor Color;
    int Plain, WithAuto;
    const char* Text;
  };
  const Case cases[] = {
      {clBlack, 0, 1, "Black"},
      {TColor(RGB(192, 192, 192)), 8, 9, "Silver"},
      {clRed, 9, 10, "Red"},
      {clWhite, 15, 16, "White"},
      {TColor(RGB(10, 120, 200)), -1, -1, ""},
  };
  for (bool withAuto : {false, true}) {
    Combo->SetShowAutoColor(withAuto);
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << "colour " << c.Color << (withAuto ? " with" : " without") << " automatic");
      Combo->SetColor(c.Color);
      EXPECT_EQ(Combo->ItemIndex(), withAuto ? c.WithAuto : c.Plain);
      EXPECT_EQ(Combo->Text(), c.Text);
      EXPECT_EQ(Combo->Color(), c.Color);
    }
  }
  // The automatic entry stands for AutoColor, whatever that colour is.
  Combo->SetAutoColor(clRed);
  Combo->SetColor(clRed);
  EXPECT_EQ(Combo->ItemIndex(), 0);
  Combo->SetItemIndex(10);
  EXPECT_EQ(Combo->Color(), clRed) << "entry 10 is Red behind the automatic entry";
  Combo->SetItemIndex(0);
  EXPECT_EQ(Combo->Color(), clRed);
  EXPECT_EQ(Combo->Text(), "(automatic)");
}

TEST_F(ColorCombos, TheDropDownCountFollowsTheAutomaticEntryOnlyAtItsDefault) {
  EXPECT_EQ(Combo->DropDownCount(), 16);
  EXPECT_EQ(Combo->Items()->Count(), 16);
  Combo->SetShowAutoColor(true);
  EXPECT_EQ(Combo->DropDownCount(), 17);
  EXPECT_EQ(Combo->Items()->Strings(0), "(automatic)");
  Combo->SetShowAutoColor(false);
  EXPECT_EQ(Combo->DropDownCount(), 16);
  Combo->SetDropDownCount(10);
  Combo->SetShowAutoColor(true);
  EXPECT_EQ(Combo->DropDownCount(), 10);
}

// Setting the colour it has does nothing; a second custom colour (the same entry -1) changes.
TEST_F(ColorCombos, SettingAColourFiresOneChangeAndNoneForTheSameColour) {
  Combo->SetColor(clBlack);
  EXPECT_EQ(Clicks[Combo], 0);
  Combo->SetColor(clNavy);
  EXPECT_EQ(Clicks[Combo], 1);
  Combo->SetColor(TColor(RGB(1, 2, 3)));
  EXPECT_EQ(Clicks[Combo], 2);
  Combo->SetColor(TColor(RGB(4, 5, 6)));
  EXPECT_EQ(Clicks[Combo], 3);
  EXPECT_EQ(Combo->ItemIndex(), -1);
  EXPECT_EQ(Combo->Color(), TColor(RGB(4, 5, 6)));
}

TEST_F(ColorCombos, AColourIsPickedWithTheKeys) {
  Combo->SetColor(clGreen);
  Clicks.clear();
  ClickAt(CentreOf(Combo->GetLink(0)));
  ASSERT_TRUE(WaitFor("the list shown", [&] { return Control() && Control()->IsDroppedDown(); }));
  Press(VK_DOWN);
  Press(VK_DOWN);
  ASSERT_TRUE(WaitFor("Navy chosen in the list", [&] { return Combo->DropDownList()->ItemIndex() == 4; }));
  Press(VK_RETURN);
  ASSERT_TRUE(Closed());
  EXPECT_EQ(Combo->Color(), clNavy);
  EXPECT_EQ(Combo->Text(), "Navy");
  EXPECT_EQ(Clicks[Combo], 1);
}

TEST_F(ColorCombos, EscapeKeepsTheColour) {
  Combo->SetColor(clGreen);
  Clicks.clear();
  ASSERT_TRUE(OpenListByMouse());
  Press(VK_DOWN);
  ASSERT_TRUE(WaitFor("Olive chosen in the list", [&] { return Combo->DropDownList()->ItemIndex() == 3; }));
  Press(VK_ESCAPE);
  ASSERT_TRUE(WaitFor("the list closed", [&] { return !IsWindowVisible(List()); }));
  Press(VK_ESCAPE);
  ASSERT_TRUE(Closed());
  EXPECT_EQ(Combo->Color(), clGreen);
  EXPECT_EQ(Clicks[Combo], 0);
}

// The open list: each row has its swatch (a shadow frame around the entry's colour); clicking a
// row picks its colour.
TEST_F(ColorCombos, AColourIsPickedWithTheMouseAndTheListShowsItsSwatches) {
  ASSERT_TRUE(OpenListByMouse());
  ASSERT_GE(Combo->DropDownList()->ItemIndex(), 0);
  for (int row : {0, 9, 12, 15}) {
    SCOPED_TRACE(testing::Message() << "row " << row);
    TRect r = RowRect(row);
    int middle = (r.Top + r.Bottom) / 2;
    EXPECT_EQ(ScreenPixel(TPoint(r.Left + 1, middle)), GetSysColor(COLOR_BTNSHADOW)) << "the swatch's frame";
    EXPECT_EQ(ScreenPixel(TPoint(r.Left + 15, middle)), ColorToRGB(TkwBarColorCombo::StandardColor(row)));
  }
  SaveScreenArea(TRect(ScreenRectOf(Combo->GetLink(0)).Left - 4, ScreenRectOf(Combo->GetLink(0)).Top - 4,
                       RowRect(15).Right + 4, RowRect(15).Bottom + 4),
                 "color-combo-open");
  ClickAt(TPoint(RowRect(9).Left + 50, (RowRect(9).Top + RowRect(9).Bottom) / 2));
  ASSERT_TRUE(Closed());
  EXPECT_EQ(Combo->Color(), clRed);
  EXPECT_EQ(Clicks[Combo], 1);
}

// The value part shows the swatch of the colour, a standard one or a custom one.
TEST_F(ColorCombos, TheValuePartShowsTheColoursSwatch) {
  for (TColor color : {clRed, TColor(RGB(10, 120, 200))}) {
    SCOPED_TRACE(testing::Message() << "colour " << color);
    Combo->SetColor(color);
    ASSERT_TRUE(Painted());
    TRect r = ValueRect();
    int middle = (r.Top + r.Bottom) / 2;
    EXPECT_EQ(ScreenPixel(TPoint(r.Left + 1, middle)), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(ScreenPixel(TPoint(r.Left + 15, middle)), ColorToRGB(color));
    EXPECT_FALSE(ScreenRectHas(TRect(r.Left + 31, r.Top, r.Right, r.Bottom), ColorToRGB(color)))
        << "the swatch stays in its 30 pixels";
  }
}

// The custom-colour button opens the colour dialog with the colour selected before; the colour
// confirmed becomes the combo's, a cancelled dialog changes nothing.
TEST_F(ColorCombos, TheCustomColourButtonOpensTheDialog) {
  Combo->SetShowCustomColorButton(true);
  Combo->SetColor(clGreen);
  ASSERT_TRUE(Painted());
  ASSERT_FALSE(Control()->CustomButtonRect().IsEmpty());
  Clicks.clear();
  TModalScript script;
  script.Push(0);
  script.Push(1, IntToStr(RGB(10, 120, 200)));
  auto clickButton = [&] {
    TRect r = Control()->CustomButtonRect();
    TPoint p((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    ClientToScreen(Control()->Window()->Handle(), AsPOINT(&p));
    ClickAt(p);
  };
  clickButton();
  ASSERT_TRUE(WaitFor("the dialog asked", [&] { return script.Asked.size() == 1; }));
  EXPECT_EQ(script.Asked[0].Name, "ColorDialog");
  EXPECT_EQ(script.Asked[0].Value, IntToStr(clGreen));
  EXPECT_EQ(Combo->Color(), clGreen);
  EXPECT_EQ(Clicks[Combo], 0);
  clickButton();
  ASSERT_TRUE(WaitFor("the dialog asked again", [&] { return script.Asked.size() == 2; }));
  EXPECT_EQ(Combo->Color(), TColor(RGB(10, 120, 200)));
  EXPECT_EQ(Combo->ItemIndex(), -1);
  EXPECT_EQ(Clicks[Combo], 1);
  EXPECT_TRUE(script.Unexpected.empty());
}

// In a sub-menu of the main menu the colour combo is an entry like the others: its list opens
// beside it and a colour is picked with the keys.
TEST_F(BarItemsTest, AColourComboInASubMenuPicksAColour) {
  TkwBar* menu = AddBar("Menu", true);
  auto* format = AddItem<TkwBarSubItem>("&Format");
  auto* combo = AddItem<TkwBarColorCombo>("Couleur");
  combo->OnChange = Counting();
  Link(menu, format);
  Link(format->ItemLinks(), combo);
  menu->SetVisible(true);
  ShowForm();
  ASSERT_TRUE(Painted());
  ASSERT_TRUE(OpenMenu(format->GetLink(0), format));
  ClickAt(CentreOf(combo->GetLink(0)));
  auto* control = dynamic_cast<TkwBarColorComboControl*>(combo->GetLink(0)->Control());
  ASSERT_NE(control, nullptr);
  ASSERT_TRUE(WaitFor("the list shown", [&] {
    return control->IsDroppedDown() && combo->DropDownList()->HandleAllocated() &&
           IsWindowVisible(combo->DropDownList()->Handle());
  }));
  Press(VK_DOWN);
  ASSERT_TRUE(WaitFor("Maroon chosen in the list", [&] { return combo->DropDownList()->ItemIndex() == 1; }));
  Press(VK_RETURN);
  ASSERT_TRUE(WaitFor("the menus closed", [&] { return !MenuOf(format) && !GetActiveBarControl(); }));
  EXPECT_EQ(combo->Color(), clMaroon);
  EXPECT_EQ(Clicks[combo], 1);
}

// Read from a form description, the colour selects its entry behind the automatic one; written
// back, the texts and the drop-down count at their defaults are left out.
TEST_F(BarItemsTest, AColourComboIsReadFromADescriptionAndWritesOnlyWhatDiffers) {
  RegisterBarManagerClasses();
  Form.reset(CreateForm<TForm>(nullptr));
  Manager = nullptr;
  Form->SetName("frmCouleurs");
  ReadComponentFromText(Form.get(),
                        "object frmCouleurs: TForm\n"
                        "  object kwBarManager1: TkwBarManager\n"
                        "    Categories = (\n"
                        "      'Default')\n"
                        "    object ccTexte: TkwBarColorCombo\n"
                        "      Caption = 'Texte'\n"
                        "      Category = 0\n"
                        "      AutoColorText = 'Auto'\n"
                        "      Color = clRed\n"
                        "      ShowAutoColor = True\n"
                        "    end\n"
                        "  end\n"
                        "end\n",
                        "frmCouleurs");
  auto* combo = dynamic_cast<TkwBarColorCombo*>(Form->FindComponent("ccTexte"));
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->Color(), clRed);
  EXPECT_EQ(combo->ItemIndex(), 10);
  EXPECT_EQ(combo->Items()->Strings(0), "Auto");
  EXPECT_EQ(combo->DropDownCount(), 17);

  String text = ObjectText(WriteComponentToText(Form.get()), "ccTexte");
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.find("AutoColorText = 'Auto'"), String::npos) << text;
  EXPECT_NE(text.find("Color = clRed"), String::npos) << text;
  EXPECT_NE(text.find("ShowAutoColor = True"), String::npos) << text;
  EXPECT_EQ(text.find("CustomColorText"), String::npos) << text;
  EXPECT_EQ(text.find("DropDownCount"), String::npos) << text;
}

class FontNameCombos : public BarItemsTest {
 protected:
  void SetUp() override {
    BarItemsTest::SetUp();
    Bar = AddBar("Polices", false);
    Combo = AddItem<TkwBarFontNameCombo>("Police");
    Combo->OnChange = Counting();
    Link(Bar, Combo);
    Bar->SetVisible(true);
    ShowForm();
    ASSERT_TRUE(Painted());
  }
  TkwBarComboControl* Control() const { return dynamic_cast<TkwBarComboControl*>(Combo->GetLink(0)->Control()); }
  HWND List() const { return Combo->DropDownList()->HandleAllocated() ? Combo->DropDownList()->Handle() : nullptr; }
  [[nodiscard]] testing::AssertionResult OpenList() {
    ClickAt(CentreOf(Combo->GetLink(0)));
    return WaitFor("the list shown", [&] {
      return Control() && Control()->IsDroppedDown() && List() && IsWindowVisible(List()) &&
             !GetUpdateRect(List(), nullptr, FALSE);
    });
  }
  [[nodiscard]] testing::AssertionResult Closed() {
    return WaitFor("the combo closed", [&] {
      return Control() && !Control()->IsEditing() && !(List() && IsWindowVisible(List()));
    });
  }
  TkwBar* Bar = nullptr;
  TkwBarFontNameCombo* Combo = nullptr;
};

TEST_F(FontNameCombos, TheListHoldsEachInstalledFamilyOnceSortedWithItsMark) {
  TStringList* items = Combo->Items();
  ASSERT_GT(items->Count(), 3);
  std::set<String> seen;
  for (int i = 0; i < items->Count(); ++i) {
    EXPECT_TRUE(seen.insert(AnsiUpperCase(items->Strings(i))).second) << items->Strings(i) << " twice";
    if (i > 0) {
      EXPECT_LE(AnsiCompareText(items->Strings(i - 1), items->Strings(i)), 0);
    }
  }
  int tahoma = items->IndexOf("Tahoma");
  ASSERT_GE(tahoma, 0);
  EXPECT_TRUE(Combo->IsTrueType(tahoma));
  // The bitmap face of the forms, when the device lists it, is not TrueType.
  int sansSerif = items->IndexOf("MS Sans Serif");
  if (sansSerif >= 0) {
    EXPECT_FALSE(Combo->IsTrueType(sansSerif));
  }
  EXPECT_EQ(Combo->DropDownCount(), 12);
  EXPECT_EQ(Combo->Width(), 160);
}

// A name that is not installed is refused, the empty text taken, and a listed name takes the
// list's letter case.
TEST_F(FontNameCombos, ATextMustBeAnInstalledFont) {
  struct Case {
    const char* Set;
    const char* Expected;
  };
  const Case cases[] = {{"tahoma", "Tahoma"}, {"Police inconnue", "Tahoma"}, {"", ""}, {"TAHOMA", "Tahoma"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Set);
    Combo->SetText(c.Set);
    EXPECT_EQ(Combo->Text(), c.Expected);
  }
}

TEST_F(FontNameCombos, AFontIsPickedWithTheKeysAndTheMouse) {
  Combo->SetText("Tahoma");
  Clicks.clear();
  int tahoma = Combo->ItemIndex();
  ASSERT_GE(tahoma, 0);
  ASSERT_LT(tahoma + 1, Combo->Items()->Count());
  ASSERT_TRUE(OpenList());
  RECT listRect;
  GetWindowRect(List(), &listRect);
  TRect link = ScreenRectOf(Combo->GetLink(0));
  SaveScreenArea(TRect(link.Left - 4, link.Top - 4, listRect.right + 4, listRect.bottom + 4), "font-combo-open");
  Press(VK_DOWN);
  ASSERT_TRUE(WaitFor("the next font chosen", [&] { return Combo->DropDownList()->ItemIndex() == tahoma + 1; }));
  Press(VK_RETURN);
  ASSERT_TRUE(Closed());
  EXPECT_EQ(Combo->Text(), Combo->Items()->Strings(tahoma + 1));
  EXPECT_EQ(Clicks[Combo], 1);

  ASSERT_TRUE(OpenList());
  int row = Combo->DropDownList()->TopIndex();
  RECT r{};
  SendMessageA(List(), LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
  MapWindowPoints(List(), nullptr, reinterpret_cast<POINT*>(&r), 2);
  ClickAt(TPoint(r.left + 40, (r.top + r.bottom) / 2));
  ASSERT_TRUE(Closed());
  EXPECT_EQ(Combo->Text(), Combo->Items()->Strings(row));
  EXPECT_EQ(Clicks[Combo], row == tahoma + 1 ? 1 : 2);
}

TEST_F(FontNameCombos, AClickOpensTheFontDialogWithTheCurrentName) {
  Combo->SetText("Tahoma");
  int other = Combo->Items()->IndexOf("Tahoma") == 0 ? 1 : 0;
  String chosen = Combo->Items()->Strings(other);
  TModalScript script;
  script.Push(1, chosen);
  Combo->Click();
  ASSERT_EQ(script.Asked.size(), 1u);
  EXPECT_EQ(script.Asked[0].Name, "FontDialog");
  EXPECT_EQ(script.Asked[0].Value, "Tahoma");
  EXPECT_EQ(Combo->Text(), chosen);
}

}  // namespace
