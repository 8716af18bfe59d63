// Tests of the date picker placed in a grid: the keys that move between cells go to the grid at
// the ends of the picker's text (or always, by Ctrl), Enter and Tab leave the cell for the grid,
// and the keys the picker uses stay with it. The grid is a plain grid publishing the options the
// picker reads.
#include "ControlsTestSupport.h"

#include "DateTimeFormat.h"
#include "Grids.h"
#include "qvdbdatetimepicker.h"

// The options of a data grid that the picker reads, in their order.
enum TKeyGridOption { kgEditing, kgAlwaysShowEditor, kgTitles, kgIndicator, kgColumnResize, kgColLines, kgRowLines, kgTabs };
VELBOR_ENUM(TKeyGridOption, "dgEditing", "dgAlwaysShowEditor", "dgTitles", "dgIndicator", "dgColumnResize",
            "dgColLines", "dgRowLines", "dgTabs")
using TKeyGridOptions = TSet<TKeyGridOption>;

// A grid that keeps the keys it is given.
class TKeyGrid : public TCustomGrid {
  VELBOR_DECLARE_CLASS(TKeyGrid, TCustomGrid)
 public:
  explicit TKeyGrid(TComponent* AOwner) : TCustomGrid(AOwner) { SetTabStop(true); }
  TKeyGridOptions Options;
  std::vector<WORD> Keys;

 protected:
  void KeyDown(WORD& Key, TShiftState) override {
    Keys.push_back(Key);
    Key = 0;
  }
};
VELBOR_IMPLEMENT_CLASS(TKeyGrid)
VELBOR_PUBLISHED(TKeyGrid, Prop("Options", &Self::Options))

namespace {

enum TSelection { AllText, FirstPart, LastPart };

struct TGridKeyCase {
  const char* Name;
  WORD Key;
  WORD Modifier;  // 0, VK_CONTROL or VK_SHIFT
  TSelection Selection;
  bool AlwaysShowEditor;
  bool Handed;       // the grid takes the focus and the key
  const char* Text;  // the picker's text when it keeps the key
};

class PickerInGrid : public ControlsFormTest, public ::testing::WithParamInterface<TGridKeyCase> {
 protected:
  void SetUp() override {
    ControlsFormTest::SetUp();
    Grid = Add<TKeyGrid>(10, 10, 300, 120);
    Picker = Add<TqvDBDateTimePicker>(5, 5, 150, 20, Grid);
    Picker->SetUnboundDataType(qvDTEdtDate);
    Picker->SetDisplayFormat("dd/mm/yyyy");
    Picker->SetDateTime(EncodeDate(2024, 3, 15));
    ShowUnfocused();
    ASSERT_TRUE(GiveFocus(Picker));
  }
  TKeyGrid* Grid = nullptr;
  TqvDBDateTimePicker* Picker = nullptr;
};

TEST_P(PickerInGrid, KeysGoToTheGridOnlyWhereThePickerHasNoUseForThem) {
  const TGridKeyCase& Case = GetParam();
  ASSERT_TRUE(Picker->SelLength() == int(Picker->Text().size())) << "the focus selects all text";
  // Reaching a part uses the arrows while the grid does not ask for its editor's ends.
  if (Case.Selection == FirstPart) {
    Press(VK_RIGHT);
    Press(VK_LEFT);
  } else if (Case.Selection == LastPart) {
    Press(VK_RIGHT);
    Press(VK_RIGHT);
  }
  ASSERT_TRUE(Grid->Keys.empty());
  if (Case.AlwaysShowEditor) Grid->Options.Include(kgAlwaysShowEditor);
  if (Case.Modifier != 0) PressCombo(Case.Modifier, Case.Key);
  else Press(Case.Key);
  if (Case.Handed) {
    EXPECT_EQ(Grid->Keys, std::vector<WORD>{Case.Key});
    EXPECT_TRUE(Grid->Focused());
  } else {
    EXPECT_TRUE(Grid->Keys.empty());
    EXPECT_TRUE(Picker->Focused());
  }
  EXPECT_EQ(Picker->Text(), Case.Text);
}

const TGridKeyCase GridKeyCases[] = {
    {"EscapeUnchanged", VK_ESCAPE, 0, AllText, false, true, "15/03/2024"},
    {"PageDown", VK_NEXT, 0, FirstPart, false, true, "15/03/2024"},
    {"UpOnAllText", VK_UP, 0, AllText, false, true, "15/03/2024"},
    {"UpOnAPartStepsIt", VK_UP, 0, FirstPart, false, false, "16/03/2024"},
    {"CtrlUpOnAPart", VK_UP, VK_CONTROL, FirstPart, false, true, "15/03/2024"},
    {"HomeOnAllTextWithTheEditorAlwaysShown", VK_HOME, 0, AllText, true, true, "15/03/2024"},
    {"HomeOnAllTextOtherwiseIsThePickers", VK_HOME, 0, AllText, false, false, "01/03/2024"},
    {"LeftAtTheStartWithTheEditorAlwaysShown", VK_LEFT, 0, FirstPart, true, true, "15/03/2024"},
    {"RightAtTheEndWithTheEditorAlwaysShown", VK_RIGHT, 0, LastPart, true, true, "15/03/2024"},
    {"RightInsideTheTextIsThePickers", VK_RIGHT, 0, FirstPart, true, false, "15/03/2024"},
    {"EndOnAPartIsThePickers", VK_END, 0, FirstPart, true, false, "31/03/2024"},
    {"CtrlDelete", VK_DELETE, VK_CONTROL, FirstPart, false, true, "15/03/2024"},
    {"Insert", VK_INSERT, 0, FirstPart, false, true, "15/03/2024"},
    {"Enter", VK_RETURN, 0, FirstPart, false, true, "15/03/2024"},
};

INSTANTIATE_TEST_SUITE_P(Keys, PickerInGrid, ::testing::ValuesIn(GridKeyCases),
                         [](const ::testing::TestParamInfo<TGridKeyCase>& Info) { return std::string(Info.param.Name); });

// Tab leaves the cell for the grid only when the grid moves between cells by Tab.
TEST_F(PickerInGrid, TabGoesToTheGridOnlyWithItsTabsOption) {
  Press(VK_TAB);
  EXPECT_TRUE(Grid->Keys.empty());
  ASSERT_TRUE(GiveFocus(Picker));
  Grid->Options.Include(kgTabs);
  Press(VK_TAB);
  EXPECT_EQ(Grid->Keys, std::vector<WORD>{VK_TAB});
  EXPECT_TRUE(Grid->Focused());
}

// F2 leaves the selection on the first part, whatever was selected.
TEST_F(PickerInGrid, F2SelectsTheFirstPart) {
  Press(VK_RIGHT);
  Press(VK_F2);
  EXPECT_TRUE(Grid->Keys.empty());
  EXPECT_EQ(Picker->CurrentPart(), 1);
  EXPECT_EQ(Picker->SelStart(), 0);
  EXPECT_EQ(Picker->SelLength(), 2);
}

}  // namespace
