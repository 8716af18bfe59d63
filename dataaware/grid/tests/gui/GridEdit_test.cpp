// Tests of editing in place through real input: text, integer, float, date, boolean and lookup
// cells typed into and left with Tab; a value the field refuses keeps the cell and tells the user;
// leaving the grid with a refused value; Escape; ditto.
#include "GridTestSupport.h"

#include "Field.h"
#include "Menus.h"
#include "Qvintl.h"

namespace {

class GridEdit : public GridFormTest {
 protected:
  // Starts editing Field of the record CODE 3 with F2, selects the whole text and types Text.
  void TypeInto(const char* Field, const String& Text) {
    ShowGrid();
    ASSERT_TRUE(Data->Locate("CODE", 3, {}));
    Grid->SetSelectedIndex(ColOf(Field) - Grid->IndicatorOffset());
    PumpPending();
    Press(VK_F2);
    ASSERT_TRUE(WaitFor("the editor", [&] { return Grid->InplaceEditor() != nullptr && Grid->InplaceEditor()->Visible(); }));
    ASSERT_TRUE(WaitFor("the editor's focus", [&] { return GetFocus() == Grid->InplaceEditor()->Handle(); }));
    SendMessageA(Grid->InplaceEditor()->Handle(), EM_SETSEL, 0, -1);
    TypeText(Text);
  }
};

struct TEditCase {
  const char* Name;
  const char* Field;
  const char* Typed;
  const char* Stored;  // the field's text after Tab
};

const TEditCase EditCases[] = {
    {"Text", "NOM", "Marais", "Marais"},
    {"Integer", "CODE", "417", "417"},
    {"Float", "SURFACE", "12,25", "12,25"},
    // A date alone is stored at midnight.
    {"Date", "DATE_OBS", "14/07/2021", "14/07/2021"},
    {"Boolean", "ACTIF", "Faux", "Faux"},
    // The lookup cell stores the key of the name typed.
    {"Lookup", "COMMUNE", "Ambérieu-en-Bugey"_a, "Ambérieu-en-Bugey"_a},
};

class GridEditValues : public GridEdit, public testing::WithParamInterface<TEditCase> {};

TEST_P(GridEditValues, ReachTheFieldWhenTheCellIsLeft) {
  const TEditCase& Case = GetParam();
  const int CodeAfter = String(Case.Field) == "CODE" ? 417 : 3;
  TypeInto(Case.Field, Case.Typed);
  EXPECT_EQ(Data->State(), dsEdit);
  // Tab, or Shift+Tab from the last column (Tab would leave it for the next record).
  Press(VK_TAB, String(Case.Field) == "COMMUNE");
  EXPECT_TRUE(Script.Asked.empty()) << Script.Asked.front().Text;
  EXPECT_EQ(Data->FieldByName(Case.Field)->AsString(), String(Case.Stored));
  EXPECT_NE(Grid->SelectedField()->FieldName(), Case.Field);
  EXPECT_EQ(Code(), CodeAfter);
  Data->Post();
  ASSERT_TRUE(Data->Locate("CODE", CodeAfter, {}));
  EXPECT_EQ(Data->FieldByName(Case.Field)->AsString(), String(Case.Stored));
}

INSTANTIATE_TEST_SUITE_P(EachType, GridEditValues, testing::ValuesIn(EditCases),
                         [](const testing::TestParamInfo<TEditCase>& Info) { return String(Info.param.Name); });

TEST_F(GridEdit, ALookupCellStoresTheKeyOfTheNameTyped) {
  TypeInto("COMMUNE", "Ambérieu-en-Bugey"_a);
  Press(VK_TAB, true);
  EXPECT_EQ(Text("COM"), "01004");
}

TEST_F(GridEdit, ADateTypedAloneIsStoredAtMidnight) {
  Data->Edit();
  Data->FieldByName("DATE_OBS")->SetAsDateTime(EncodeDate(2020, 1, 4) + 0.5);
  Data->Post();
  TypeInto("DATE_OBS", "14/07/2021");
  Press(VK_TAB);
  EXPECT_EQ(Data->FieldByName("DATE_OBS")->AsDateTime(), EncodeDate(2021, 7, 14));
}

// A value the field refuses: the user is told, the cell and its text stay, nothing is written.
struct TRefusedCase {
  const char* Name;
  const char* Field;
  const char* Typed;
};

const TRefusedCase RefusedCases[] = {
    {"Date", "DATE_OBS", "31/02/2021"},
    {"Float", "SURFACE", "1,2,3"},
    {"Boolean", "ACTIF", "Peut-etre"},
    {"Lookup", "COMMUNE", "Nulle-part"},
};

class GridEditRefused : public GridEdit, public testing::WithParamInterface<TRefusedCase> {};

TEST_P(GridEditRefused, KeepsTheCellAndTheField) {
  const TRefusedCase& Case = GetParam();
  Script.Push(mrOk);
  TypeInto(Case.Field, Case.Typed);
  String Before = Text(Case.Field);
  Press(VK_TAB);
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_NE(Script.Asked[0].Text.find(Case.Typed), String::npos) << Script.Asked[0].Text;
  EXPECT_EQ(Grid->SelectedField()->FieldName(), Case.Field);
  EXPECT_EQ(Text(Case.Field), Before);
  EXPECT_EQ(Code(), 3);
  ASSERT_NE(Grid->InplaceEditor(), nullptr);
  EXPECT_EQ(Grid->InplaceEditor()->Text(), String(Case.Typed));
}

INSTANTIATE_TEST_SUITE_P(EachType, GridEditRefused, testing::ValuesIn(RefusedCases),
                         [](const testing::TestParamInfo<TRefusedCase>& Info) { return String(Info.param.Name); });

TEST_F(GridEdit, IntegerCellsTakeNoLetters) {
  TypeInto("CODE", "4x2");
  Press(VK_TAB);
  EXPECT_EQ(Data->FieldByName("CODE")->AsInteger(), 42);
}

// Leaving the grid for another control with a value the field refuses: the user sees the error
// and the focus stays in the grid, in the cell.
TEST_F(GridEdit, LeavingTheGridWithARefusedValueKeepsTheFocusInTheCell) {
  auto* Other = Add<TTestEdit>(8, 330, 100, 22);
  Script.Push(mrOk);
  TypeInto("DATE_OBS", "99/99/2021");
  Other->SetFocus();
  ASSERT_TRUE(WaitFor("the error", [&] { return Script.Asked.size() == 1; }));
  ASSERT_TRUE(WaitFor("the focus back in the grid", [&] {
    HWND Focus = GetFocus();
    return Focus == Grid->Handle() || IsChild(Grid->Handle(), Focus);
  }));
  EXPECT_EQ(Grid->SelectedField()->FieldName(), "DATE_OBS");
  EXPECT_EQ(Data->State(), dsEdit);
}

TEST_F(GridEdit, EscapeShowsTheFieldAgainThenCancelsTheRecordAfterAsking) {
  TypeInto("NOM", "Autre");
  Press(VK_TAB);  // NOM written, the record modified
  ASSERT_EQ(Text("NOM"), "Autre");
  Script.Push(mrNo);
  Press(VK_ESCAPE);
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Data->State(), dsEdit);
  Script.Push(mrYes);
  Press(VK_ESCAPE);
  EXPECT_EQ(Data->State(), dsBrowse);
  EXPECT_EQ(Text("NOM"), "Nom 3");
}

// Ditto: the shortcut copies the previous record's value of the current field, once per press.
TEST_F(GridEdit, DittoFieldCopiesThePreviousRecordsValue) {
  Grid->DittoAttributes()->ShortCutDittoField = ShortCut('D', {ssCtrl});
  ShowGrid();
  ASSERT_TRUE(Data->Locate("CODE", 5, {}));
  Grid->SetSelectedIndex(ColOf("NOM") - Grid->IndicatorOffset());
  PumpPending();
  PressCombo(VK_CONTROL, 'D');
  EXPECT_EQ(Data->State(), dsEdit);
  EXPECT_EQ(Text("NOM"), "Nom 4");
  EXPECT_EQ(Code(), 5);
}

TEST_F(GridEdit, DittoRecordCopiesEveryMappedFieldButTheReadOnlyOnes) {
  Grid->DittoAttributes()->ShortCutDittoRecord = ShortCut('R', {ssCtrl});
  Grid->DittoAttributes()->Options = {qvdoSkipHiddenFields, qvdoSkipReadOnlyFields, qvdoSkipBlobFields};
  Data->FieldByName("CODE")->SetReadOnly(true);
  ShowGrid();
  ASSERT_TRUE(Data->Locate("CODE", 5, {}));
  PumpPending();
  PressCombo(VK_CONTROL, 'R');
  EXPECT_EQ(Text("NOM"), "Nom 4");
  EXPECT_EQ(Data->FieldByName("SURFACE")->AsFloat(), 6.0);
  EXPECT_EQ(Text("COM"), "01002");
  EXPECT_EQ(Code(), 5);
}

}  // namespace
