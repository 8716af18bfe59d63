// Tests of the grid's keys, sent as real keyboard input to a shown grid: each navigation and
// editing key from a known record, column and dataset state, and the record, column and state it
// leaves; the delete question; the keyboard hook every grid shares.
#include "GridTestSupport.h"

#include "Field.h"
#include "Qvintl.h"
#include "ShellLaunch.h"

namespace {

// What a key does. Code -1 after: one page below the start (VisibleRowCount); -2: the last
// buffered record.
struct TKeyCase {
  const char* Name;
  int Rows;             // records of the dataset
  int Code;             // record before
  const char* Field;    // column before
  bool Edit;            // dataset put in edit state before
  WORD Modifier;        // 0, VK_CONTROL or VK_SHIFT
  WORD Key;
  TqvDBGridKeyOptions KeyOptions;
  int CodeAfter;
  const char* FieldAfter;
  TDataSetState StateAfter;
};

const TqvDBGridKeyOptions Default = {dgAllowDelete, dgAllowInsert};

const TKeyCase KeyCases[] = {
    {"Down", 12, 1, "NOM", false, 0, VK_DOWN, Default, 2, "NOM", dsBrowse},
    {"Up", 12, 3, "CODE", false, 0, VK_UP, Default, 2, "CODE", dsBrowse},
    {"Right", 12, 4, "NOM", false, 0, VK_RIGHT, Default, 4, "CODE", dsBrowse},
    {"Left", 12, 4, "CODE", false, 0, VK_LEFT, Default, 4, "NOM", dsBrowse},
    {"HomeGoesToTheFirstColumn", 12, 5, "SURFACE", false, 0, VK_HOME, Default, 5, "NOM", dsBrowse},
    {"EndGoesToTheLastColumn", 12, 5, "NOM", false, 0, VK_END, Default, 5, "COMMUNE", dsBrowse},
    {"CtrlHomeGoesToTheFirstRecord", 12, 7, "CODE", false, VK_CONTROL, VK_HOME, Default, 1, "CODE", dsBrowse},
    {"CtrlEndGoesToTheLastRecord", 60, 2, "CODE", false, VK_CONTROL, VK_END, Default, 60, "CODE", dsBrowse},
    {"PageDown", 60, 1, "NOM", false, 0, VK_NEXT, Default, -1, "NOM", dsBrowse},
    {"PageUpAtTheTopStays", 60, 1, "NOM", false, 0, VK_PRIOR, Default, 1, "NOM", dsBrowse},
    {"CtrlPageDownGoesToTheLastRowShown", 60, 3, "NOM", false, VK_CONTROL, VK_NEXT, Default, -2, "NOM", dsBrowse},
    {"CtrlLeftGoesToTheFirstColumn", 12, 2, "SURFACE", false, VK_CONTROL, VK_LEFT, Default, 2, "NOM", dsBrowse},
    {"Tab", 12, 2, "NOM", false, 0, VK_TAB, Default, 2, "CODE", dsBrowse},
    {"ShiftTab", 12, 2, "CODE", false, VK_SHIFT, VK_TAB, Default, 2, "NOM", dsBrowse},
    {"TabFromTheLastColumnGoesToTheNextRecord", 12, 2, "COMMUNE", false, 0, VK_TAB, Default, 3, "NOM", dsBrowse},
    {"EnterToTabMovesAColumn", 12, 2, "NOM", false, 0, VK_RETURN, {dgEnterToTab, dgAllowInsert}, 2, "CODE",
     dsBrowse},
    {"DownOnTheLastRecordAppends", 12, 12, "NOM", false, 0, VK_DOWN, Default, 0, "NOM", dsInsert},
    {"DownOnTheLastRecordWithoutInsertStays", 12, 12, "NOM", false, 0, VK_DOWN, {dgAllowDelete}, 12, "NOM",
     dsBrowse},
    {"Insert", 12, 4, "NOM", false, 0, VK_INSERT, Default, 0, "NOM", dsInsert},
    {"InsertNotAllowed", 12, 4, "NOM", false, 0, VK_INSERT, {dgAllowDelete}, 4, "NOM", dsBrowse},
    {"EscapeCancelsAnUntouchedEdit", 12, 4, "NOM", true, 0, VK_ESCAPE, Default, 4, "NOM", dsBrowse},
};

class GridKeys : public GridFormTest, public testing::WithParamInterface<TKeyCase> {};

TEST_P(GridKeys, LeaveTheRecordColumnAndState) {
  const TKeyCase& Case = GetParam();
  if (Case.Rows != 12) Reload(Case.Rows);
  Grid->KeyOptions = Case.KeyOptions;
  ShowGrid();
  ASSERT_TRUE(Data->Locate("CODE", Case.Code, {}));
  Grid->SetSelectedIndex(ColOf(Case.Field) - Grid->IndicatorOffset());
  if (Case.Edit) Data->Edit();
  PumpPending();
  ASSERT_EQ(Grid->SelectedField()->FieldName(), Case.Field);
  int Visible = Grid->VisibleRowCount();
  int Top = Code() - Grid->DataLink()->ActiveRecord();

  if (Case.Modifier != 0)
    PressCombo(Case.Modifier, Case.Key);
  else
    Press(Case.Key);

  int Expected = Case.CodeAfter;
  if (Expected == -1) Expected = Case.Code + Visible;
  if (Expected == -2) Expected = Top + Visible - 1;
  EXPECT_EQ(Data->State(), Case.StateAfter);
  if (Case.StateAfter == dsInsert)
    EXPECT_TRUE(Data->FieldByName("CODE")->IsNull());
  else
    EXPECT_EQ(Code(), Expected);
  EXPECT_EQ(Grid->SelectedField()->FieldName(), Case.FieldAfter);
  // The grid's current row is the record's.
  EXPECT_EQ(Grid->Row(), Grid->DataLink()->ActiveRecord() + Grid->TitleRowCount());
}

INSTANTIATE_TEST_SUITE_P(EachKey, GridKeys, testing::ValuesIn(KeyCases),
                         [](const testing::TestParamInfo<TKeyCase>& Info) { return String(Info.param.Name); });

using GridDelete = GridFormTest;

TEST_F(GridDelete, CtrlDeleteWithoutConfirmationDeletesAtOnce) {
  Grid->SetOptions(Grid->Options() - TqvDBGridOptions{dgConfirmDelete});
  ShowGrid();
  ASSERT_TRUE(Data->Locate("CODE", 5, {}));
  PressCombo(VK_CONTROL, VK_DELETE);
  EXPECT_EQ(Data->RecordCount(), 11);
  EXPECT_EQ(Code(), 6);
  EXPECT_TRUE(Script.Asked.empty());
}

TEST_F(GridDelete, TheQuestionKeepsTheRecordOnCancelAndDeletesOnOk) {
  ShowGrid();
  ASSERT_TRUE(Data->Locate("CODE", 5, {}));
  Script.Push(mrCancel);
  PressCombo(VK_CONTROL, VK_DELETE);
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Text, "Supprimer l'enregistrement ?");
  EXPECT_EQ(Data->RecordCount(), 12);
  EXPECT_EQ(Code(), 5);
  Script.Push(mrOk);
  PressCombo(VK_CONTROL, VK_DELETE);
  EXPECT_EQ(Script.Asked.size(), 2u);
  EXPECT_EQ(Data->RecordCount(), 11);
}

TEST_F(GridDelete, AReadOnlyGridDeletesNothing) {
  Grid->SetOptions(Grid->Options() - TqvDBGridOptions{dgConfirmDelete});
  Grid->ReadOnly = true;
  ShowGrid();
  PressCombo(VK_CONTROL, VK_DELETE);
  EXPECT_EQ(Data->RecordCount(), 12);
}

// Up on the untouched record Down appended cancels it.
TEST_F(GridDelete, UpOnAnUntouchedAppendedRecordCancelsIt) {
  ShowGrid();
  ASSERT_TRUE(Data->Locate("CODE", 12, {}));
  Press(VK_DOWN);
  ASSERT_EQ(Data->State(), dsInsert);
  Press(VK_UP);
  EXPECT_EQ(Data->State(), dsBrowse);
  EXPECT_EQ(Data->RecordCount(), 12);
  EXPECT_EQ(Code(), 12);
}

// URL cells: a left click opens the address the cell holds, through the shell, when it is a web
// or mail address; a mail address without its scheme gets one.
std::vector<String> Opened;
bool RecordOpen(HWND, const String& Address) {
  Opened.push_back(Address);
  return true;
}

struct TURLCase {
  const char* Value;
  const char* Opened;  // empty: nothing reaches the shell
};

const TURLCase URLCases[] = {
    {"Site#https://ex.org", "https://ex.org"},  // the field holds 20 characters
    {"http://example.org", "http://example.org"},
    {"jean@example.org", "MailTo:jean@example.org"},
    // A full stop before the at sign: no scheme is added, and without one it is not opened.
    {"jean.dupont@example.org", ""},
    {"Calc#c:\\windows\\system32\\calc.exe", ""},
    {"file:///c:/windows/win.ini", ""},
};

class GridURL : public GridFormTest, public testing::WithParamInterface<TURLCase> {};

TEST_P(GridURL, ALeftClickOpensOnlyWebAndMailAddresses) {
  Grid->ControlType()->Add("NOM;URL-Link");
  Grid->ControlInfoInDataset = false;
  ASSERT_TRUE(Data->Locate("CODE", 4, {}));
  Data->Edit();
  Data->FieldByName("NOM")->SetAsString(GetParam().Value);
  Data->Post();
  Grid->RebuildLayout();
  ShowGrid();
  TShellOpenProc Previous = SetShellOpenProc(&RecordOpen);
  Opened.clear();
  ASSERT_TRUE(Data->Locate("CODE", 1, {}));
  PumpPending();
  ClickAt(CellCentre(ColOf("NOM"), 4));
  SetShellOpenProc(Previous);
  EXPECT_EQ(Code(), 4);
  if (String(GetParam().Opened).empty()) {
    EXPECT_TRUE(Opened.empty()) << Opened.front();
  } else {
    ASSERT_EQ(Opened.size(), 1u);
    EXPECT_EQ(Opened[0], GetParam().Opened);
  }
}

INSTANTIATE_TEST_SUITE_P(EachAddress, GridURL, testing::ValuesIn(URLCases));

}  // namespace
