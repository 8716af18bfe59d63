// Tests of the spin edit: the number rules (limits, rounding, prefix, texts that are no number),
// and on a tool bar the arrow buttons and the Up and Down keys stepping the typed value, the
// characters it refuses, and the repeat of a held button.
#include <windows.h>

#include "ItemsTestSupport.h"
#include "kwBarSpinEdit.h"

namespace {

TEST_F(BarItemsTest, ASpinEditKeepsItsNumberWithinItsLimits) {
  auto* spin = AddItem<TkwBarSpinEdit>("Surface");
  EXPECT_EQ(spin->Text(), "0");
  enum TOperation { opValue, opText, opMin, opMax, opPrefix, opIncrement, opFloat, opInteger };
  struct Step {
    TOperation Operation;
    double Number;
    const char* Text;
    double Min, Max, Increment;
    const char* Expected;
  };
  const Step steps[] = {
      {opValue, -5, "", 0, 0, 1, "-5"},        // both limits 0: none
      {opMax, 10, "", 0, 10, 1, "0"},          // a limit clamps the value
      {opMin, 2, "", 2, 10, 1, "2"},
      {opValue, 25, "", 2, 10, 1, "10"},
      {opMax, 1, "", 1, 1, 1, "1"},            // a maximum below the minimum takes it down
      {opMin, 5, "", 5, 5, 1, "5"},            // and a minimum above takes the maximum up
      {opMax, 100, "", 5, 100, 1, "5"},
      {opPrefix, 0, " pcs", 5, 100, 1, "5 pcs"},
      {opText, 0, "12 pcs", 5, 100, 1, "12 pcs"},
      {opText, 0, "douze", 5, 100, 1, "12 pcs"},  // no number: ignored
      {opText, 0, "7,5", 5, 100, 1, "12 pcs"},    // not an integer: ignored
      {opText, 0, "300", 5, 100, 1, "100 pcs"},
      {opIncrement, 0.5, "", 5, 100, 1, "100 pcs"},  // rounded for integers, then at least 1
      {opFloat, 0, "", 5, 100, 1, "100 pcs"},
      {opIncrement, 0.5, "", 5, 100, 0.5, "100 pcs"},
      {opText, 0, "7,5", 5, 100, 0.5, "7,5 pcs"},
      {opMin, 5.25, "", 5.25, 100, 0.5, "7,5 pcs"},
      {opInteger, 0, "", 5, 100, 1, "8 pcs"},  // everything rounded again (halves to even)
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(testing::Message() << "operation " << s.Operation << " " << s.Number << " " << s.Text);
    switch (s.Operation) {
      case opValue: spin->SetValue(s.Number); break;
      case opText: spin->SetText(s.Text); break;
      case opMin: spin->SetMinValue(s.Number); break;
      case opMax: spin->SetMaxValue(s.Number); break;
      case opPrefix: spin->SetPrefix(s.Text); break;
      case opIncrement: spin->SetIncrement(s.Number); break;
      case opFloat: spin->SetValueType(svtFloat); break;
      case opInteger: spin->SetValueType(svtInteger); break;
    }
    EXPECT_EQ(spin->MinValue(), s.Min);
    EXPECT_EQ(spin->MaxValue(), s.Max);
    EXPECT_EQ(spin->Increment(), s.Increment);
    EXPECT_EQ(spin->Text(), s.Expected);
  }
  spin->SetPrefixPlace(ppStart);
  EXPECT_EQ(spin->Text(), " pcs8");
  EXPECT_EQ(spin->GetValue(), 8);
}

class SpinEdits : public BarItemsTest {
 protected:
  void SetUp() override {
    BarItemsTest::SetUp();
    Bar = AddBar("Saisie", false);
    Spin = AddItem<TkwBarSpinEdit>("Surface");
    Spin->SetWidth(120);
    Spin->OnButtonClick = TkwBarSpinEditButtonClickEvent(this, &SpinEdits::ButtonClicked);
    Link(Bar, Spin);
    Bar->SetVisible(true);
    ShowForm();
    ASSERT_TRUE(Painted());
  }
  void ButtonClicked(TkwBarSpinEdit*, TkwBarSpinEditButton Button) {
    Steps.push_back(Button);
    Ticks.push_back(GetTickCount());
  }
  TkwBarSpinEditControl* Control() const { return dynamic_cast<TkwBarSpinEditControl*>(Spin->GetLink(0)->Control()); }
  // A point of a button on screen: the middle of its half of the button area.
  TPoint ButtonPoint(TkwBarSpinEditButton Button) const {
    TRect r = Control()->ButtonRect();
    POINT p = {(r.Left + r.Right) / 2, Button == sbUp ? r.Top + r.Height() / 4 : r.Bottom - 1 - r.Height() / 4};
    MapWindowPoints(Control()->Window()->Handle(), nullptr, &p, 1);
    return TPoint(p.x, p.y);
  }
  [[nodiscard]] testing::AssertionResult Editing() {
    return WaitFor("the editor open", [&] {
      TkwBarSpinEditControl* control = Control();
      return control && control->IsEditing() && GetFocus() == control->EditWindow();
    });
  }
  String EditText() const {
    char text[64] = "";
    GetWindowTextA(Control()->EditWindow(), text, sizeof text);
    return text;
  }
  TkwBar* Bar = nullptr;
  TkwBarSpinEdit* Spin = nullptr;
  std::vector<TkwBarSpinEditButton> Steps;
  std::vector<DWORD> Ticks;
};

TEST_F(SpinEdits, TheButtonsTakeTheRightOfTheEditPart) {
  TkwBarSpinEditControl* control = Control();
  ASSERT_NE(control, nullptr);
  TRect buttons = control->ButtonRect();
  TRect edit = control->GetEditRect();
  ASSERT_FALSE(buttons.IsEmpty());
  int arrow = ((edit.Height() / 2) - 2) / 2;
  EXPECT_EQ(buttons.Width(), 4 * arrow + 3 - 2) << "the margins of the area are the painter's";
  EXPECT_EQ(buttons.Left, edit.Right + 1);
  EXPECT_EQ(buttons.Top, edit.Top);
  EXPECT_EQ(buttons.Bottom, edit.Bottom);
  EXPECT_TRUE(Spin->GetLink(0)->ItemRect.Contains(TPoint(buttons.Right - 1, buttons.Bottom - 1)));
  TRect link = ScreenRectOf(Spin->GetLink(0));
  SaveScreenArea(TRect(link.Left - 4, link.Top - 4, link.Right + 4, link.Bottom + 4), "spin-edit");
}

TEST_F(SpinEdits, UpAndDownStepTheTypedValueAndEnterCommitsIt) {
  Spin->SetMinValue(-10);
  Spin->SetMaxValue(10);
  ClickAt(CentreOf(Spin->GetLink(0)));
  ASSERT_TRUE(Editing());
  Press(VK_UP);
  Press(VK_UP);
  Press(VK_UP);
  Press(VK_DOWN);
  EXPECT_EQ(EditText(), "2");
  EXPECT_EQ(Spin->GetValue(), 0) << "nothing is committed while editing";
  EXPECT_EQ(Steps, (std::vector<TkwBarSpinEditButton>{sbUp, sbUp, sbUp, sbDown}));
  EXPECT_EQ(Control()->ShownButton(), sbNone) << "the key's release ends the pressed look";
  for (int i = 0; i < 12; ++i) Press(VK_UP);
  EXPECT_EQ(EditText(), "10") << "the limit holds while stepping";
  Press(VK_RETURN);
  ASSERT_TRUE(WaitFor("the editor closed", [&] { return !Control()->IsEditing(); }));
  EXPECT_EQ(Spin->GetValue(), 10);
}

TEST_F(SpinEdits, OnlyDigitsAndTheSignsTheLimitsAllowAreTyped) {
  struct Case {
    double Min;
    TkwBarSpinEditValueType Type;
    const char* Typed;
    const char* Shown;
  };
  const Case cases[] = {
      {0, svtInteger, "-7x", "7"},     // no minus sign without a negative minimum
      {-10, svtInteger, "-7", "-7"},
      {-10, svtInteger, "3,5", "35"},  // no separator for integers
      {0, svtFloat, "3,5", "3,5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Typed);
    Spin->SetValueType(c.Type);
    Spin->SetMinValue(c.Min);
    ClickAt(CentreOf(Spin->GetLink(0)));
    ASSERT_TRUE(Editing());
    TypeText(c.Typed);
    EXPECT_EQ(EditText(), c.Shown);
    Press(VK_ESCAPE);
    Press(VK_ESCAPE);
    ASSERT_TRUE(WaitFor("the editor closed", [&] { return !Control()->IsEditing(); }));
  }
}

TEST_F(SpinEdits, AClickOnAButtonStepsOnce) {
  ClickAt(ButtonPoint(sbUp));
  ASSERT_TRUE(Editing());
  EXPECT_EQ(Steps, (std::vector<TkwBarSpinEditButton>{sbUp}));
  EXPECT_EQ(EditText(), "1");
  ClickAt(ButtonPoint(sbDown));
  ClickAt(ButtonPoint(sbDown));
  EXPECT_EQ(Steps, (std::vector<TkwBarSpinEditButton>{sbUp, sbDown, sbDown}));
  EXPECT_EQ(EditText(), "-1");
  EXPECT_EQ(Control()->PressedButton(), sbNone);
  Press(VK_RETURN);
  ASSERT_TRUE(WaitFor("the editor closed", [&] { return !Control()->IsEditing(); }));
  EXPECT_EQ(Spin->GetValue(), -1);
}

TEST_F(SpinEdits, AHeldButtonRepeatsAfterTheDoubleClickTime) {
  ClickAt(ButtonPoint(sbDown));
  ASSERT_TRUE(Editing());
  Steps.clear();
  Ticks.clear();
  MoveMouseTo(ButtonPoint(sbUp));
  PressButton(ButtonPoint(sbUp));
  EXPECT_EQ(Control()->ShownButton(), sbUp);
  ASSERT_TRUE(WaitFor("four steps", [&] { return Steps.size() >= 4; }));
  ReleaseButton(ButtonPoint(sbUp));
  ASSERT_TRUE(WaitFor("the button released", [&] { return Control()->PressedButton() == sbNone; }));
  EXPECT_EQ(Control()->ShownButton(), sbNone);
  for (TkwBarSpinEditButton b : Steps) EXPECT_EQ(b, sbUp);
  // Timers never run early: the first repeat waits the double-click time less 100 ms, the next
  // ones 100 ms each. A repeat handled late lets the next one follow it sooner, so each repeat is
  // measured from the first one, not from the one before it.
  DWORD first = GetDoubleClickTime() - 100;
  EXPECT_GE(Ticks[1] - Ticks[0] + 15, first);
  for (std::size_t i = 2; i < Ticks.size(); ++i) EXPECT_GE(Ticks[i] - Ticks[1] + 15, 100u * DWORD(i - 1));
  EXPECT_EQ(Spin->GetEditValue(), double(Steps.size()) - 1);
}

TEST_F(SpinEdits, AReadOnlySpinEditHasNoLiveButtons) {
  Spin->SetReadOnly(true);
  ASSERT_TRUE(Painted());
  TRect r = Control()->ButtonRect();
  EXPECT_EQ(Control()->HitButton(TPoint(r.Left + 1, r.Top + 1)), sbNone);
  ClickAt(ButtonPoint(sbUp));
  ASSERT_TRUE(Editing());
  Press(VK_UP);
  EXPECT_TRUE(Steps.empty());
  EXPECT_EQ(Spin->GetEditValue(), 0);
}

}  // namespace
