// Tests of the published grid on a shown form, with real input: the multi-selection by clicks with
// Ctrl and Shift and by Space, the events that refuse a selection, the column of a field, fixed
// data columns, check-box cells, memo cells and the class registered for form descriptions.
#include "DBGridTestSupport.h"

#include "Field.h"
#include "Clipbrd.h"
#include "RichEdit.h"
#include "TypInfo.h"
#include "Filer.h"
#include "Format.h"
#include "ScreenshotFiles.h"
#include "qvExportOptions.h"

// The rich-text library's registration of its classes (its header and the grid's name an event
// type alike, so it is declared here).
void qvRegisterRichTextClasses();

namespace {

// A step: a click on the record CODE = Code with a key held, or (Code 0) a key pressed.
struct TSelectStep {
  WORD Modifier;
  int Code;
  WORD Key = 0;
};

struct TSelectCase {
  const char* Name;
  TqvDBGridOptions ExtraOptions;
  TqvMultiSelectOptions MultiSelect;
  std::vector<TSelectStep> Steps;
  std::set<int> Selected;
};

const TqvMultiSelectOptions None{};

const TSelectCase SelectCases[] = {
    {"CtrlClicksAddRecords", {}, None, {{VK_CONTROL, 2}, {VK_CONTROL, 5}, {VK_CONTROL, 9}}, {2, 5, 9}},
    {"CtrlClickOnASelectedRecordRemovesIt", {}, None, {{VK_CONTROL, 2}, {VK_CONTROL, 5}, {VK_CONTROL, 2}}, {5}},
    {"APlainClickKeepsTheSelection", {}, None, {{VK_CONTROL, 2}, {0, 6}}, {2}},
    {"APlainClickReplacesItWithAutoUnselect", {}, {msoAutoUnselect}, {{VK_CONTROL, 2}, {VK_CONTROL, 4}, {0, 7}}, {7}},
    {"ShiftClickSelectsFromTheAnchor", {}, {msoShiftSelect}, {{0, 3}, {VK_SHIFT, 7}}, {3, 4, 5, 6, 7}},
    {"ShiftClickAboveTheAnchor", {}, {msoShiftSelect}, {{0, 8}, {VK_SHIFT, 4}}, {4, 5, 6, 7, 8}},
    {"ShiftClickBackInsideARangeKeepsIt", {}, {msoShiftSelect}, {{0, 3}, {VK_SHIFT, 7}, {VK_SHIFT, 5}},
     {3, 4, 5, 6, 7}},
    {"ShiftClickAddsAFreshRangeToEarlierRecords", {}, {msoShiftSelect},
     {{VK_CONTROL, 1}, {0, 5}, {VK_SHIFT, 7}}, {1, 5, 6, 7}},
    {"ShiftWithoutShiftSelectTogglesOnly", {}, None, {{VK_CONTROL, 3}, {VK_SHIFT, 7}}, {3, 7}},
    {"SpaceTogglesTheCurrentRecordInRowSelect", {dgRowSelect}, None,
     {{0, 4}, {0, 0, VK_SPACE}, {0, 0, VK_DOWN}, {0, 0, VK_SPACE}, {0, 0, VK_DOWN}, {0, 0, VK_SPACE},
      {0, 0, VK_SPACE}},
     {4, 5}},
};

class DBGridSelection : public DBGridFormTest, public testing::WithParamInterface<TSelectCase> {};

TEST_P(DBGridSelection, LeavesTheRecordsSelected) {
  const TSelectCase& Case = GetParam();
  TqvDBGridOptions Options = DB->Options();
  Options.Include(dgMultiSelect);
  for (TqvDBGridOption Option : {dgRowSelect})
    if (Case.ExtraOptions.Contains(Option)) Options.Include(Option);
  DB->SetOptions(Options);
  DB->MultiSelectOptions = Case.MultiSelect;
  ShowGrid();
  ASSERT_TRUE(Data->Locate("CODE", 1, {}));
  for (const TSelectStep& Step : Case.Steps) {
    if (Step.Code != 0) ClickRecord(Step.Code, Step.Modifier);
    else Press(Step.Key);
  }
  ASSERT_TRUE(Painted(Form.get()));
  // Every shown row says whether its record is selected, as the grid paints it.
  int Top = Data->FieldByName("CODE")->AsInteger() - DB->DataLink()->ActiveRecord();
  for (int Row = 0; Row < DB->DataLink()->RecordCount(); ++Row)
    EXPECT_EQ(DB->IsRowSelected(Row), Case.Selected.count(Top + Row) == 1) << "record " << Top + Row;
  EXPECT_EQ(SelectedCodes(), Case.Selected);
}

INSTANTIATE_TEST_SUITE_P(Input, DBGridSelection, testing::ValuesIn(SelectCases),
                         [](const testing::TestParamInfo<TSelectCase>& Info) { return String(Info.param.Name); });

// The events that may refuse a change of the selection.
class DBGridSelectionEvents : public DBGridFormTest {
 protected:
  void SetUp() override {
    DBGridFormTest::SetUp();
    TqvDBGridOptions Options = DB->Options();
    Options.Include(dgMultiSelect);
    DB->SetOptions(Options);
  }
 public:
  void Refuse(TObject*, bool Selecting, bool& Accept) {
    Asked.push_back(Selecting);
    Accept = false;
  }
  std::vector<bool> Asked;
};

TEST_F(DBGridSelectionEvents, ARefusedRecordStaysOutOfTheSelection) {
  ShowGrid();
  DB->OnMultiSelectRecord = TqvMultiSelectRecordEvent(static_cast<DBGridSelectionEvents*>(this), &DBGridSelectionEvents::Refuse);
  ClickRecord(3, VK_CONTROL);
  EXPECT_EQ(Asked, std::vector<bool>{true});
  EXPECT_TRUE(DB->SelectedBookmarks().empty());
}

TEST_F(DBGridSelectionEvents, ARefusedUnselectAllKeepsEveryRecord) {
  ShowGrid();
  ClickRecord(3, VK_CONTROL);
  ClickRecord(6, VK_CONTROL);
  DB->OnMultiSelectAllRecords = TqvMultiSelectRecordEvent(static_cast<DBGridSelectionEvents*>(this), &DBGridSelectionEvents::Refuse);
  DB->UnselectAllRecords();
  EXPECT_EQ(Asked, std::vector<bool>{false});
  EXPECT_EQ(SelectedCodes(), (std::set<int>{3, 6}));
  DB->OnMultiSelectAllRecords = {};
  DB->UnselectAllRecords();
  EXPECT_TRUE(DB->SelectedBookmarks().empty());
}

// The selection follows its records, not the rows that showed them.
TEST_F(DBGridSelectionEvents, SelectedRecordsStaySelectedWhenTheGridScrolls) {
  Reload(60);
  ShowGrid();
  ClickRecord(2, VK_CONTROL);
  ASSERT_TRUE(Data->Locate("CODE", 50, {}));
  ASSERT_TRUE(Painted(Form.get()));
  for (int Row = 0; Row < DB->DataLink()->RecordCount(); ++Row) EXPECT_FALSE(DB->IsRowSelected(Row)) << Row;
  ClickRecord(50, VK_CONTROL);
  EXPECT_EQ(SelectedCodes(), (std::set<int>{2, 50}));
}

// --- Columns --------------------------------------------------------------------------------------

using DBGridColumns = DBGridFormTest;

TEST_F(DBGridColumns, SelectColumnOfFieldMakesTheFieldsColumnCurrentInAnyCase) {
  ShowGrid();
  DB->SelectColumnOfField("surface");
  EXPECT_EQ(DB->SelectedField()->FieldName(), "SURFACE");
  DB->SelectColumnOfField("Date_Obs");
  EXPECT_EQ(DB->SelectedField()->FieldName(), "DATE_OBS");
  // A name the grid does not show leaves the column where it is.
  DB->SelectColumnOfField("NOPE");
  EXPECT_EQ(DB->SelectedField()->FieldName(), "DATE_OBS");
}

TEST_F(DBGridColumns, FixedColsKeepTheFirstDataColumnsInPlace) {
  ShowGrid();
  // The indicator column alone is fixed by default.
  EXPECT_EQ(DB->TqvCustomDBGrid::FixedCols(), 1);
  EXPECT_EQ(DB->GetColCount(), DB->GetFieldCount() + 1);
  DB->SetFixedCols(2);
  PumpPending();
  EXPECT_EQ(DB->TqvCustomDBGrid::FixedCols(), 3);
  EXPECT_EQ(DB->FixedCols(), 2);
  // Scrolling right leaves NOM and CODE where they were.
  TRect NomBefore;
  DB->GetCellBounds(ColOfField("NOM"), 1, NomBefore);
  DB->SetSelectedIndex(DB->GetFieldCount() - 1);
  ASSERT_TRUE(Painted(Form.get()));
  TRect NomAfter;
  DB->GetCellBounds(ColOfField("NOM"), 1, NomAfter);
  EXPECT_EQ(NomAfter.Left, NomBefore.Left);
  EXPECT_GE(DB->LeftCol(), 3);
  // A count that would leave no column to scroll fixes no data column.
  DB->SetFixedCols(DB->GetFieldCount() + 2);
  EXPECT_EQ(DB->TqvCustomDBGrid::FixedCols(), 1);
  DB->SetFixedCols(0);
  EXPECT_EQ(DB->TqvCustomDBGrid::FixedCols(), 1);
}

// The edge of a fixed data column's title sizes it only with dgFixedResizable; the indicator's
// edge never, nor a fixed column's edge below the titles.
TEST_F(DBGridColumns, FixedColumnsSizeFromTheirTitleOnlyWhenResizable) {
  ShowGrid();
  DB->SetFixedCols(1);
  ASSERT_TRUE(Painted(DB));
  const int Nom = ColOfField("NOM");
  auto Drag = [&](int ACol, int ARow) {
    TRect Cell;
    DB->GetCellBounds(ACol, ARow, Cell);
    TPoint Edge = OnScreen(DB, Cell.Right - 1, (Cell.Top + Cell.Bottom) / 2);
    DragMouse(Edge, TPoint{Edge.X + 40, Edge.Y});
    PumpPending();
  };
  for (bool Resizable : {false, true}) {
    SCOPED_TRACE(Resizable ? "dgFixedResizable" : "without dgFixedResizable");
    TqvDBGridOptions Options = DB->Options();
    if (Resizable) Options.Include(dgFixedResizable);
    else Options.Exclude(dgFixedResizable);
    DB->SetOptions(Options);
    ASSERT_TRUE(Painted(DB));
    const int Indicator = DB->ColWidths(0), Before = DB->ColWidths(Nom);
    Drag(0, 0);
    EXPECT_EQ(DB->ColWidths(0), Indicator);
    Drag(Nom, 3);
    EXPECT_EQ(DB->ColWidths(Nom), Before);
    Drag(Nom, 0);
    if (Resizable) {
      ASSERT_TRUE(WaitFor("NOM wider", [&] { return DB->ColWidths(Nom) >= Before + 30; }));
      // The width stays with the field, through the next layout.
      TCanvas* Canvas = DB->GetPaintCanvas();
      Canvas->SetFont(DB->Font());
      EXPECT_GE(Data->FieldByName("NOM")->DisplayWidth() * Canvas->TextWidth("0") + 4, Before + 30);
      ASSERT_TRUE(Painted(DB));
      EXPECT_GE(DB->ColWidths(Nom), Before + 30);
    } else {
      EXPECT_EQ(DB->ColWidths(Nom), Before);
    }
    EXPECT_EQ(DB->TqvCustomDBGrid::FixedCols(), 2);
    EXPECT_EQ(DB->GetFields(0)->FieldName(), "NOM");
  }
}

// A link cell shows the text before "#", and the export writes what the cell shows.
TEST_F(DBGridColumns, ALinkShowsItsTextWithoutItsAddress) {
  Data->ControlType()->Add("NOM;URL-Link");
  Reload(12);
  ShowGrid();
  ASSERT_TRUE(Data->Locate("CODE", 3, {}));
  Data->Edit();
  Data->FieldByName("NOM")->SetAsString("Marais#http://x.fr");
  Data->Post();
  ASSERT_TRUE(Painted(Form.get()));
  int Nom = ColOfField("NOM") - DB->IndicatorOffset();
  EXPECT_EQ(DB->GetFieldDisplayText(Nom), "Marais");
  DB->ExportOptions()->Options.Include(esoClipboard);
  DB->ExportOptions()->Save();
  String Text = Clipboard()->AsText();
  EXPECT_NE(Text.find("\r\n\"Marais\",\"3\","), String::npos) << Text;
  EXPECT_EQ(Text.find("http"), String::npos) << Text;
}

// The pointer over a link cell is the hand, and comes back to the arrow over any other cell (a
// plain one, the link column's title); from one link cell to the next it stays the hand.
TEST_F(DBGridColumns, ThePointerIsAHandOverLinkCellsOnly) {
  Data->ControlType()->Add("NOM;URL-Link");
  Reload(12);
  ShowGrid();
  ASSERT_TRUE(Data->Locate("CODE", 1, {}));
  ASSERT_TRUE(Painted(Form.get()));
  const HCURSOR Hand = Screen->Cursors(crHandPoint), Arrow = Screen->Cursors(crDefault);
  ASSERT_NE(Hand, Arrow);
  struct TStop {
    const char* Field;
    int Row;
    bool OnLink;
  };
  const TStop Stops[] = {{"CODE", 2, false}, {"NOM", 2, true}, {"NOM", 3, true}, {"CODE", 3, false},
                         {"NOM", 0, false},  {"NOM", 4, true}, {"ACTIF", 4, false}};
  for (const TStop& Stop : Stops) {
    SCOPED_TRACE(Format("%s on row %d", {Stop.Field, Stop.Row}));
    MoveMouseTo(CellPoint(Stop.Field, Stop.Row));
    HCURSOR Wanted = Stop.OnLink ? Hand : Arrow;
    EXPECT_TRUE(WaitFor("the pointer's shape", [&] { return GetCursor() == Wanted; }));
    EXPECT_EQ(DB->Cursor(), Stop.OnLink ? crHandPoint : crDefault);
  }
}

// The dictionary windows place their grid in their description, with these settings.
TEST_F(DBGridColumns, AFormDescriptionHoldsAGridWithItsSettings) {
  RegisterDBGridClasses();
  ASSERT_EQ(GetClass("TqvDBGrid"), TqvDBGrid::StaticClass());
  RegisterClass(TDataSource::StaticClass());
  TFormPtr<TForm> Window(CreateForm<TForm>(nullptr));
  ReadComponentFromText(Window.get(),
                        "object FicheGrille: TForm\r\n"
                        "  object Liste: TqvDBGrid\r\n"
                        "    Left = 8\r\n"
                        "    Top = 8\r\n"
                        "    Width = 300\r\n"
                        "    Height = 200\r\n"
                        "    DataSource = Donnees\r\n"
                        "    FixedCols = 1\r\n"
                        "    MemoAttributes = [mSizeable, mWordWrap, mGridShow]\r\n"
                        "    MultiSelectOptions = [msoAutoUnselect]\r\n"
                        "    ExportOptions.Delimiter = ';'\r\n"
                        "    ExportOptions.Options = [esoShowHeader, esoDblQuoteFields]\r\n"
                        "    IniAttributes.Delimiter = ';;'\r\n"
                        "  end\r\n"
                        "  object Donnees: TDataSource\r\n"
                        "  end\r\n"
                        "end\r\n",
                        "fichegrille");
  auto* Grid = dynamic_cast<TqvDBGrid*>(Window->FindComponent("Liste"));
  ASSERT_NE(Grid, nullptr);
  EXPECT_EQ(Grid->Parent(), Window.get());
  EXPECT_EQ(Grid->DataSource(), Window->FindComponent("Donnees"));
  EXPECT_EQ(Grid->FixedCols(), 1);
  EXPECT_EQ(Grid->MemoAttributes(), (TqvMemoAttributes{mSizeable, mWordWrap, mGridShow}));
  EXPECT_EQ(Grid->MultiSelectOptions, TqvMultiSelectOptions{msoAutoUnselect});
  EXPECT_EQ(Grid->ExportOptions()->Delimiter(), ";");
  EXPECT_EQ(Grid->ExportOptions()->Options, (TqvExportSaveOptions{esoShowHeader, esoDblQuoteFields}));
  EXPECT_EQ(Grid->IniAttributes()->Delimiter(), ";;");
  // The layout's default section: the form's name, then the grid's.
  EXPECT_EQ(Grid->IniAttributes()->GetSectionName(), "FicheGrilleListe");
}

// --- Check-box cells ----------------------------------------------------------------------------

struct TCheckCase {
  const char* Name;
  bool SingleClick;   // ecoCheckboxSingleClick
  int Input;          // 0 Space, 1 a click, 2 a double click
  bool ReadOnlyGrid;
  bool Toggles;
};

const TCheckCase CheckCases[] = {
    {"SpaceTicks", false, 0, false, true},
    {"ASingleClickTicksWithTheOption", true, 1, false, true},
    {"ASingleClickDoesNotWithoutIt", false, 1, false, false},
    {"ADoubleClickTicksWithoutTheOption", false, 2, false, true},
    {"SpaceInAReadOnlyGridDoesNothing", false, 0, true, false},
};

class DBGridCheckBoxes : public DBGridFormTest, public testing::WithParamInterface<TCheckCase> {
 protected:
  void SetUp() override {
    DBGridFormTest::SetUp();
    Data->ControlType()->Add("ACTIF;CheckBox;VRAI;FAUX");
    Reload(12);
  }
};

TEST_P(DBGridCheckBoxes, TickOrClear) {
  const TCheckCase& Case = GetParam();
  if (Case.SingleClick) DB->EditControlOptions.Include(ecoCheckboxSingleClick);
  DB->ReadOnly = Case.ReadOnlyGrid;
  ShowGrid();
  ASSERT_TRUE(Data->Locate("CODE", 3, {}));
  DB->SelectColumnOfField("ACTIF");
  PumpPending();
  ASSERT_EQ(Text("ACTIF"), "Faux");
  TPoint P = CellPoint("ACTIF", RowOfCode(3));
  switch (Case.Input) {
    case 0: Press(VK_SPACE); break;
    case 1: ClickAt(P); break;
    default:
      ClickAt(P);
      MouseButton(true, P);
      MouseButton(false, P);
      PumpPending();
      break;
  }
  EXPECT_EQ(Text("ACTIF"), Case.Toggles ? "Vrai" : "Faux");
  EXPECT_EQ(Data->State(), Case.Toggles ? dsEdit : dsBrowse);
  if (!Case.Toggles) return;
  // Again: the ticked value, in any case, becomes the cleared one.
  if (Case.Input == 0) Press(VK_SPACE);
  else DB->ToggleCheckBox(ColOfField("ACTIF"), RowOfCode(3));
  EXPECT_EQ(Text("ACTIF"), "Faux");
}

INSTANTIATE_TEST_SUITE_P(Input, DBGridCheckBoxes, testing::ValuesIn(CheckCases),
                         [](const testing::TestParamInfo<TCheckCase>& Info) { return String(Info.param.Name); });

// --- Memo cells ----------------------------------------------------------------------------------

using DBGridMemoCells = DBGridFormTest;

TEST_F(DBGridMemoCells, AMemoShowsItsMarkUnlessTheGridShowsMemos) {
  ShowGrid();
  ASSERT_TRUE(Data->Locate("CODE", 2, {}));
  Data->Edit();
  Data->FieldByName("NOTE")->SetAsString("Roselière"_a);
  Data->Post();
  int Note = ColOfField("NOTE") - DB->IndicatorOffset();
  EXPECT_EQ(DB->GetFieldDisplayText(Note), "(Memo)");
  ASSERT_TRUE(Data->Locate("CODE", 1, {}));
  ASSERT_TRUE(Painted(Form.get()));
  TRect Cell;
  DB->GetCellBounds(ColOfField("NOTE"), RowOfCode(2), Cell);
  EXPECT_TRUE(ShowsText(DB, Cell, "(Memo)", DB->Font(), clWindowText, clWindow));
  DB->SetMemoAttributes({mSizeable, mWordWrap, mGridShow});
  ASSERT_TRUE(Painted(Form.get()));
  EXPECT_TRUE(ShowsText(DB, Cell, "Roselière"_a, DB->Font(), clWindowText, clWindow));
}

// A "RichEdit" column shows the plain text of its rich text, read by the data-aware rich edit the
// grid makes by class name; a value that is not rich text is shown as it is. The export writes
// the same text.
TEST_F(DBGridMemoCells, ARichTextCellShowsItsPlainText) {
  qvRegisterRichTextClasses();
  Data->ControlType()->Add("NOTE;RichEdit;");
  Reload(12);
  const std::pair<int, String> Notes[] = {{2, "{\\rtf1\\ansi Marais {\\b sal\\'e9}\\par}"}, {3, "Prairie humide"}};
  for (const auto& Note : Notes) {
    ASSERT_TRUE(Data->Locate("CODE", Note.first, {}));
    Data->Edit();
    Data->FieldByName("NOTE")->SetAsString(Note.second);
    Data->Post();
  }
  ShowGrid();
  const int Note = ColOfField("NOTE") - DB->IndicatorOffset();
  ASSERT_TRUE(Data->Locate("CODE", 2, {}));
  EXPECT_EQ(DB->GetFieldDisplayText(Note), "Marais salé"_a);
  ASSERT_TRUE(Data->Locate("CODE", 3, {}));
  EXPECT_EQ(DB->GetFieldDisplayText(Note), "Prairie humide");
  TWinControl* Rich = DB->GetRichEditControl();
  ASSERT_NE(Rich, nullptr);
  EXPECT_EQ(Rich->ClassName(), "TqvDBRichEdit");
  EXPECT_EQ(Rich->Parent(), DB);
  EXPECT_FALSE(Rich->Visible());
  ASSERT_TRUE(Painted(Form.get()));
  TRect Cell;
  DB->GetCellBounds(ColOfField("NOTE"), RowOfCode(2), Cell);
  EXPECT_TRUE(ShowsText(DB, Cell, "Marais salé"_a, DB->Font(), clWindowText, clWindow));
  DB->ExportOptions()->Options.Include(esoClipboard);
  DB->ExportOptions()->Save();
  String Text = Clipboard()->AsText();
  EXPECT_NE(Text.find("\"Marais salé\""_a), String::npos) << Text;
}

// A rich-text memo far longer than what a cell reads of it: numbered paragraphs, the last one
// saying the text ends there.
String LongRichText() {
  String Rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs16 ";
  for (int i = 1; i <= 600; ++i) Rtf += Format("Paragraphe %.3d du marais\\par ", {i});
  return Rtf + "Fin du texte\\par}";
}

// The rich-text editor window while it shows (looked for by its class name).
TCustomForm* RichEditorWindow() {
  for (int i = 0; i < Screen->FormCount(); ++i)
    if (Screen->Forms(i)->ClassName() == "TqvRichEditForm" && Screen->Forms(i)->Showing()) return Screen->Forms(i);
  return nullptr;
}

// Runs Work in the rich-text editor window once it shows, from its own loop (looked for every
// 20 ms, at most kWaitLimit), then closes it with OK unless Work closed it.
void InRichEditor(std::function<void(TCustomForm*, TCustomRichEdit*)> Work, int Left = kWaitLimit / 20) {
  Later([Work, Left] {
    TCustomForm* Window = RichEditorWindow();
    if (Window == nullptr) {
      if (Left > 0) InRichEditor(Work, Left - 1);
      else ADD_FAILURE() << "no rich-text editor window";
      return;
    }
    auto* Editor = dynamic_cast<TCustomRichEdit*>(Window->ActiveControl());
    EXPECT_NE(Editor, nullptr);
    if (Editor != nullptr) Work(Window, Editor);
    if (Window->ModalResult() == mrNone) Window->SetModalResult(mrOk);
  }, 20);
}

class DBGridRichTextCells : public DBGridFormTest {
 protected:
  void SetUp() override {
    DBGridFormTest::SetUp();
    qvRegisterRichTextClasses();
    Data->ControlType()->Add("NOTE;RichEdit;");
    Reload(12);
    ASSERT_TRUE(Data->Locate("CODE", 2, {}));
    Data->Edit();
    Data->FieldByName("NOTE")->SetAsString(LongRichText());
    Data->Post();
  }
  String Shown() { return DB->GetFieldDisplayText(ColOfField("NOTE") - DB->IndicatorOffset()); }
};

// Without LoadAllRTF a cell reads the opening of a long value only; with it, the whole value.
TEST_F(DBGridRichTextCells, ACellReadsTheOpeningOfALongValueUnlessLoadAllRTF) {
  ShowGrid();
  ASSERT_TRUE(Data->Locate("CODE", 2, {}));
  String Opening = Shown();
  EXPECT_EQ(Opening.rfind("Paragraphe 001 du marais", 0), 0u) << Opening.substr(0, 80);
  EXPECT_EQ(Opening.find("Fin du texte"), String::npos);
  EXPECT_EQ(Opening.find("\\par"), String::npos) << "read as rich text, not as its codes";
  EXPECT_LT(Opening.size(), String(LongRichText()).size() / 2);
  DB->LoadAllRTF = true;
  String Whole = Shown();
  EXPECT_NE(Whole.find("Paragraphe 600 du marais"), String::npos);
  EXPECT_NE(Whole.find("Fin du texte"), String::npos);
}

// F2 and a double click hand the cell to the rich edit, whose editor window shows the whole
// value, however little of it the cell read: what is written back is the whole value edited. A
// grid that cannot edit opens it read-only and writes nothing.
struct TRichHandOverCase {
  const char* Name;
  bool DoubleClick;
  bool ReadOnlyGrid;
};

const TRichHandOverCase RichHandOverCases[] = {
    {"F2", false, false},
    {"DoubleClick", true, false},
    {"F2InAReadOnlyGrid", false, true},
};

class DBGridRichTextHandOver : public DBGridRichTextCells, public testing::WithParamInterface<TRichHandOverCase> {};

TEST_P(DBGridRichTextHandOver, TheEditorGetsAndWritesTheWholeValue) {
  const TRichHandOverCase& Case = GetParam();
  DB->ReadOnly = Case.ReadOnlyGrid;
  ShowGrid();
  ASSERT_TRUE(Data->Locate("CODE", 2, {}));
  DB->SelectColumnOfField("NOTE");
  ASSERT_TRUE(Painted(Form.get()));
  ASSERT_EQ(Shown().find("Fin du texte"), String::npos) << "the cell read only the opening";
  String InEditor;
  bool EditorReadOnly = false;
  InRichEditor([&](TCustomForm*, TCustomRichEdit* Editor) {
    InEditor = Editor->Text();
    EditorReadOnly = (GetWindowLongA(Editor->Handle(), GWL_STYLE) & ES_READONLY) != 0;
    if (EditorReadOnly) return;
    Editor->SetSelStart(Editor->TextLength());
    Editor->SetSelText(" et la suite");
    Editor->SetModified(true);
  });
  if (Case.DoubleClick) {
    TPoint P = CellPoint("NOTE", RowOfCode(2));
    AwaitNoDoubleClick(P);
    MouseButton(true, P);
    MouseButton(false, P);
    MouseButton(true, P);
    MouseButton(false, P);
    ASSERT_TRUE(WaitFor("the editor opened and closed", [&] { return !InEditor.empty() && RichEditorWindow() == nullptr; }));
  } else {
    Press(VK_F2);
  }
  PumpPending();
  EXPECT_NE(InEditor.find("Paragraphe 001 du marais"), String::npos);
  EXPECT_NE(InEditor.find("Fin du texte"), String::npos) << "the editor shows the whole value";
  EXPECT_EQ(EditorReadOnly, Case.ReadOnlyGrid);
  if (Case.ReadOnlyGrid) {
    EXPECT_EQ(Data->State(), dsBrowse);
    EXPECT_EQ(Data->FieldByName("NOTE")->AsString(), LongRichText());
    return;
  }
  ASSERT_EQ(Data->State(), dsEdit);
  Data->Post();
  String Stored = Data->FieldByName("NOTE")->AsString();
  for (const char* Part : {"Paragraphe 001 du marais", "Paragraphe 599 du marais", "Fin du texte", "et la suite"})
    EXPECT_NE(Stored.find(Part), String::npos) << Part;
  // The rich edit went back to reading cells: bound to no field.
  EXPECT_EQ(GetStrProp(DB->GetRichEditControl(), "DataField"), "");
  DB->LoadAllRTF = true;
  EXPECT_NE(Shown().find("et la suite"), String::npos);
}

INSTANTIATE_TEST_SUITE_P(Input, DBGridRichTextHandOver, testing::ValuesIn(RichHandOverCases),
                         [](const testing::TestParamInfo<TRichHandOverCase>& Info) { return String(Info.param.Name); });

// A grid with memo and check-box cells, a fixed column and two selected records, kept as a
// picture for the eye (build/dataaware/grid/screenshots/published-grid.png).
TEST_F(DBGridMemoCells, APictureOfMemoAndCheckBoxCells) {
  Data->ControlType()->Add("ACTIF;CheckBox;VRAI;FAUX");
  Reload(12);
  for (int Code : {2, 3}) {
    ASSERT_TRUE(Data->Locate("CODE", Code, {}));
    Data->Edit();
    Data->FieldByName("NOTE")->SetAsString(Code == 2 ? "Roselière"_a : "Prairie");
    Data->Post();
  }
  TqvDBGridOptions Options = DB->Options();
  Options.Include(dgMultiSelect);
  DB->SetOptions(Options);
  DB->SetMemoAttributes({mSizeable, mWordWrap, mGridShow});
  DB->SetFixedCols(1);
  ShowGrid();
  ClickRecord(4, VK_CONTROL);
  ClickRecord(6, VK_CONTROL);
  ASSERT_TRUE(Data->Locate("CODE", 1, {}));
  ASSERT_TRUE(Painted(Form.get()));
  TRect Cell;
  DB->GetCellBounds(ColOfField("NOTE"), RowOfCode(3), Cell);
  EXPECT_TRUE(ShowsText(DB, Cell, "Prairie", DB->Font(), clWindowText, clWindow));
  HDC DC = GetDC(DB->Handle());
  SaveScreenshotOf(DC, 0, 0, DB->ClientWidth(), DB->ClientHeight(), "published-grid");
  ReleaseDC(DB->Handle(), DC);
}

}  // namespace
