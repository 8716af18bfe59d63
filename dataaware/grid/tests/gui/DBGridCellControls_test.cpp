// Tests of the keys a published grid hands to the control shown over its current cell: F2 and the
// edit keys give it the focus (what is typed lands in it), Alt+Down gives it the focus and the key
// with Alt held (a combo opens its list) without moving the record; Delete on a plain cell
// empties it through the editor.
#include "DBGridTestSupport.h"

#include "DBCtrls.h"
#include "Field.h"

namespace {

// A data-aware edit that notes the keys it receives and whether Alt was held.
class TKeyEdit : public TDBEdit {
 public:
  using TDBEdit::TDBEdit;
  std::vector<std::pair<WORD, bool>> Keys;

 protected:
  void KeyDown(WORD& Key, TShiftState Shift) override {
    Keys.push_back({Key, Shift.Contains(ssAlt)});
    TDBEdit::KeyDown(Key, Shift);
  }
};

class DBGridCellControls : public DBGridFormTest {
 protected:
  void SetUp() override {
    DBGridFormTest::SetUp();
    CellEdit = Add<TKeyEdit>(8, 330, 120, 22);
    CellEdit->SetName("CellEdit");
    Data->ControlType()->Add("NOM;CustomEdit;CellEdit");
    Reload(12);
  }
  // Shows the grid on CODE of the first record and enters NOM with Shift+Tab: the edit is shown
  // over the cell, the grid keeps the focus.
  void EnterNom() {
    ShowGrid();
    DB->SetSelectedIndex(ColOfField("CODE") - DB->IndicatorOffset());
    ASSERT_TRUE(Painted(DB));
    Press(VK_TAB, true);
    ASSERT_EQ(DB->SelectedField()->FieldName(), "NOM");
    ASSERT_TRUE(WaitFor("the edit over the cell", [&] {
      return CellEdit->Parent() == DB && CellEdit->Visible() && DB->CurrentCellControl() == CellEdit;
    }));
    ASSERT_EQ(GetFocus(), DB->Handle());
    ASSERT_EQ(CellEdit->Text(), "Nom 1");
    CellEdit->Keys.clear();
  }
  TKeyEdit* CellEdit = nullptr;
};

struct TKeyCase {
  const char* Name;
  WORD Modifier;  // 0: none
  WORD Key;
};

const TKeyCase KeyCases[] = {
    {"F2", 0, VK_F2},
    {"ALetter", 0, 'M'},
    {"Backspace", 0, VK_BACK},
    {"AltDown", VK_MENU, VK_DOWN},
};

class DBGridCellControlKeys : public DBGridCellControls, public testing::WithParamInterface<TKeyCase> {};

TEST_P(DBGridCellControlKeys, TheControlOverTheCellTakesTheFocusAndTheKey) {
  const TKeyCase& Case = GetParam();
  EnterNom();
  if (Case.Modifier != 0) PressCombo(Case.Modifier, Case.Key);
  else Press(Case.Key);
  ASSERT_TRUE(WaitFor("the focus in the edit", [&] { return GetFocus() == CellEdit->Handle(); }));
  const String Name = Case.Name;
  if (Name == "F2") {
    PumpPending();
    EXPECT_EQ(CellEdit->Text(), "Nom 1");
  } else if (Name == "ALetter") {
    // The edit selects its text when it takes the focus: the letter replaces it, or follows it.
    EXPECT_TRUE(WaitFor("the letter in the edit", [&] {
      String T = CellEdit->Text();
      return T == "m" || T == "Nom 1m";
    })) << CellEdit->Text();
  } else if (Name == "Backspace") {
    EXPECT_TRUE(WaitFor("the text erased", [&] { return CellEdit->Text() == "" || CellEdit->Text() == "Nom "; }))
        << CellEdit->Text();
  } else {
    EXPECT_TRUE(WaitFor("Alt+Down in the edit", [&] {
      return std::find(CellEdit->Keys.begin(), CellEdit->Keys.end(), std::make_pair(WORD(VK_DOWN), true)) !=
             CellEdit->Keys.end();
    }));
  }
  // The record and the column stay.
  EXPECT_EQ(Code(), 1);
  EXPECT_EQ(DB->SelectedField()->FieldName(), "NOM");
}

INSTANTIATE_TEST_SUITE_P(EachKey, DBGridCellControlKeys, testing::ValuesIn(KeyCases),
                         [](const testing::TestParamInfo<TKeyCase>& Info) { return String(Info.param.Name); });

// Without a control over the cell, Alt+Down is the grid's: the next record.
TEST_F(DBGridCellControls, AltDownOnAPlainCellMovesTheRecord) {
  EnterNom();
  Press(VK_TAB);
  ASSERT_EQ(DB->SelectedField()->FieldName(), "CODE");
  ASSERT_TRUE(WaitFor("the edit hidden", [&] { return !CellEdit->Visible(); }));
  PressCombo(VK_MENU, VK_DOWN);
  EXPECT_TRUE(WaitFor("the next record", [&] { return Code() == 2; }));
  EXPECT_EQ(GetFocus(), DB->Handle());
}

// Delete on a plain cell of an editable grid opens the editor and empties it; the field keeps its
// value until the editor's text is posted.
TEST_F(DBGridCellControls, DeleteOnAPlainCellEmptiesItThroughTheEditor) {
  ShowGrid();
  DB->SetSelectedIndex(ColOfField("CODE") - DB->IndicatorOffset());
  ASSERT_TRUE(Painted(DB));
  Press(VK_DELETE);
  ASSERT_TRUE(WaitFor("the editor", [&] { return DB->InplaceEditor() != nullptr && DB->InplaceEditor()->Visible(); }));
  EXPECT_EQ(DB->InplaceEditor()->Text(), "");
  EXPECT_EQ(Code(), 1);
  EXPECT_EQ(Data->RecordCount(), 12);
}

}  // namespace
