// Tests of the spreadsheet object model in memory: the order of sheets and the active sheet through
// adds, deletes and moves, the A1 notation, date formats, and the calls the model refuses.
#include "Spreadsheet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>

namespace {

// Runs "add", "del N", "move N M" (sheet N before sheet M), "act N" and "name N text" steps,
// separated by ';', on Book; positions from 1, as Item takes them.
void RunSteps(TWorkbook* Book, const std::string& Steps) {
  std::stringstream All(Steps);
  std::string Step;
  while (std::getline(All, Step, ';')) {
    std::stringstream In(Step);
    std::string Op;
    int N = 0, M = 0;
    In >> Op >> N;
    TWorksheets* Sheets = Book->Worksheets();
    if (Op == "add") {
      Sheets->Add();
    } else if (Op == "del") {
      Sheets->Item(N)->Delete();
    } else if (Op == "move") {
      In >> M;
      Sheets->Item(N)->Move(Sheets->Item(M));
    } else if (Op == "act") {
      Sheets->Item(N)->Activate();
    } else if (Op == "name") {
      std::string Name;
      std::getline(In >> std::ws, Name);
      Sheets->Item(N)->SetName(Name);
    } else if (!Op.empty()) {
      FAIL() << "unknown step " << Op;
    }
  }
}

std::string Order(TWorkbook* Book) {
  std::string Names;
  for (TWorksheet* Sheet : Book->Sheets()) Names += (Names.empty() ? "" : ",") + Sheet->GetName();
  return Names;
}

}  // namespace

TEST(SheetOrder, AddsDeletesAndMovesGiveTheExpectedOrderAndActiveSheet) {
  struct Case {
    const char* Steps;
    const char* Order;
    const char* Active;
  } Cases[] = {
      {"", "Feuille1,Feuille2,Feuille3", "Feuille1"},
      // A new sheet goes before the active one and becomes active.
      {"add", "Feuille4,Feuille1,Feuille2,Feuille3", "Feuille4"},
      {"act 3; add", "Feuille1,Feuille2,Feuille4,Feuille3", "Feuille4"},
      {"add; add", "Feuille5,Feuille4,Feuille1,Feuille2,Feuille3", "Feuille5"},
      // Deleting the active sheet activates the next one, or the previous one at the end.
      {"del 1", "Feuille2,Feuille3", "Feuille2"},
      {"act 3; del 3", "Feuille1,Feuille2", "Feuille2"},
      {"act 3; del 1", "Feuille2,Feuille3", "Feuille3"},
      {"move 3 1", "Feuille3,Feuille1,Feuille2", "Feuille1"},
      {"move 1 3", "Feuille2,Feuille1,Feuille3", "Feuille1"},
      {"move 2 2", "Feuille1,Feuille2,Feuille3", "Feuille1"},
      {"move 2 1; move 2 1", "Feuille1,Feuille2,Feuille3", "Feuille1"},
      // New names skip those in use.
      {"name 1 Feuille4; add", "Feuille5,Feuille4,Feuille2,Feuille3", "Feuille5"},
      // The export: all sheets but the last deleted, the first named, one added before it per
      // further sheet, then the first written moved to the front.
      {"del 2; del 1; name 1 Zone Humide; add; name 1 Critères délim.; add; name 1 Cartes IGN; "
       "add; name 1 Autres noms; move 4 1"_a,
       "Zone Humide,Autres noms,Cartes IGN,Critères délim."_a, "Autres noms"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Steps);
    TSpreadsheet App;
    TWorkbook* Book = App.Workbooks()->Add();
    RunSteps(Book, C.Steps);
    EXPECT_EQ(Order(Book), C.Order);
    EXPECT_EQ(Book->ActiveSheet()->GetName(), C.Active);
    EXPECT_EQ(Book->Worksheets()->Count(), static_cast<int>(Book->Sheets().size()));
  }
}

TEST(SheetOrder, ItemByNameIgnoresCase) {
  TSpreadsheet App;
  TWorkbook* Book = App.Workbooks()->Add();
  EXPECT_EQ(Book->Worksheets()->Item("FEUILLE2"), Book->Worksheets()->Item(2));
}

TEST(Application, NewWorkbooksHaveTheSheetCountAskedAndQuitClosesThemAll) {
  TSpreadsheet App;
  App.SheetsInNewWorkbook = 1;
  TWorkbook* First = App.Workbooks()->Add();
  App.SheetsInNewWorkbook = 5;
  TWorkbook* Second = App.Workbooks()->Add();
  EXPECT_EQ(First->Worksheets()->Count(), 1);
  EXPECT_EQ(Second->Worksheets()->Count(), 5);
  EXPECT_EQ(App.Workbooks()->Count(), 2);
  First->Close(false);
  EXPECT_EQ(App.Workbooks()->Count(), 1);
  EXPECT_EQ(App.Workbooks()->Item(1), Second);
  App.Quit();
  EXPECT_EQ(App.Workbooks()->Count(), 0);
  EXPECT_TRUE(Second->IsClosed());
}

TEST(CellReferences, ColumnLettersAndReferencesReadBack) {
  struct Case {
    int Column;
    const char* Letters;
  } Columns[] = {{1, "A"}, {26, "Z"}, {27, "AA"}, {52, "AZ"}, {53, "BA"}, {702, "ZZ"}, {703, "AAA"}, {16384, "XFD"}};
  for (const Case& C : Columns) {
    EXPECT_EQ(ColumnLetters(C.Column), C.Letters);
    int Row = 0, Column = 0;
    ASSERT_TRUE(ParseCellReference(String(C.Letters) + "7", Row, Column)) << C.Letters;
    EXPECT_EQ(Row, 7);
    EXPECT_EQ(Column, C.Column);
  }
  int Row = 0, Column = 0;
  ASSERT_TRUE(ParseCellReference("$b$12", Row, Column));
  EXPECT_EQ(Row, 12);
  EXPECT_EQ(Column, 2);
  ASSERT_TRUE(ParseCellReference("A1048576", Row, Column));
  EXPECT_EQ(Row, 1048576);
  for (const char* Bad : {"", "A", "1", "A0", "A01", "1A", "XFE1", "A1048577", "A1B", "A 1", "AAAA1", "$$A1", "A1:B2"})
    EXPECT_FALSE(ParseCellReference(Bad, Row, Column)) << '"' << Bad << '"';
}

TEST(NumberFormats, DateAndTimeFormatsAreTold) {
  for (const char* Format : {"dd/mm/yyyy", "d-mmm-yy", "hh:mm", "[h]:mm", "yyyy", "m/d/yy h:mm"})
    EXPECT_TRUE(IsDateTimeFormat(Format)) << Format;
  for (const char* Format : {"General", "0", "@", "0.00", "[Red]0", "\"days\" 0", "0\\d", "#,##0_)", ""})
    EXPECT_FALSE(IsDateTimeFormat(Format)) << Format;
}

TEST(Cells, ValuesKeepTheirTypeWhateverTheFormat) {
  TSpreadsheet App;
  TWorksheet* Sheet = App.Workbooks()->Add()->ActiveSheet();
  TCellRange Cell = Sheet->Range("C4");
  EXPECT_EQ(Cell.GetNumberFormat(), "General");
  Cell.SetNumberFormat("0");
  Cell.SetValue("00123");
  EXPECT_EQ(Cell.GetValue().Type(), varString);
  EXPECT_EQ(Cell.GetValue().AsString(), "00123");
  EXPECT_EQ(Sheet->Range("$C$4").GetNumberFormat(), "0");
  Cell.SetValue(Variant::Null());
  EXPECT_TRUE(VarIsEmpty(Sheet->Range("C4").GetValue()));
  EXPECT_TRUE(VarIsEmpty(Sheet->Range("Z99").GetValue()));
}

TEST(Cells, RowHeightOfTheWholeSheetAndOfOneRow) {
  TSpreadsheet App;
  TWorksheet* Sheet = App.Workbooks()->Add()->ActiveSheet();
  Sheet->Range("A3").SetRowHeight(30);
  Sheet->Cells().SetRowHeight(12.75);
  EXPECT_EQ(Sheet->Range("A3").GetRowHeight(), 12.75);  // the whole sheet's height replaces it
  Sheet->Range("B2").SetRowHeight(20);
  EXPECT_EQ(Sheet->Range("A2").GetRowHeight(), 20);
  EXPECT_EQ(Sheet->Range("A1").GetRowHeight(), 12.75);
}

TEST(Refusals, CallsThatCannotBeDoneSayWhy) {
  TSpreadsheet App;
  TWorkbook* Book = App.Workbooks()->Add();
  TWorkbook* Other = App.Workbooks()->Add();
  TWorkbook* Closed = App.Workbooks()->Add();
  TWorksheet* ClosedSheet = Closed->ActiveSheet();
  Closed->Close(false);
  TWorksheet* Deleted = Book->Worksheets()->Item(3);
  Deleted->Delete();
  TWorksheet* Sheet = Book->Worksheets()->Item(1);
  App.SheetsInNewWorkbook = 1;
  TWorkbook* Single = App.Workbooks()->Add();

  struct Case {
    const char* What;
    std::function<void()> Call;
    const char* Message;  // a part of the message
  } Cases[] = {
      {"delete the only sheet", [&] { Single->ActiveSheet()->Delete(); }, "seule"},
      {"name taken but for case", [&] { Sheet->SetName("FEUILLE2"); }, "une autre feuille"},
      {"empty name", [&] { Sheet->SetName(""); }, "vide"},
      {"name of 32 characters", [&] { Sheet->SetName(String(32, 'x')); }, "31"},
      {"slash in a name", [&] { Sheet->SetName("a/b"); }, "a/b"},
      {"bracket in a name", [&] { Sheet->SetName("[x]"); }, "[x]"},
      {"leading apostrophe", [&] { Sheet->SetName("'x"); }, "apostrophe"},
      {"sheet 0", [&] { Book->Worksheets()->Item(0); }, "pas de feuille 0"},
      {"sheet past the last", [&] { Book->Worksheets()->Item(3); }, "pas de feuille 3"},
      {"sheet by unknown name", [&] { Book->Worksheets()->Item("Nulle"); }, "Nulle"},
      {"move before another workbook's sheet", [&] { Sheet->Move(Other->ActiveSheet()); }, "même classeur"_a},
      {"move before nothing", [&] { Sheet->Move(nullptr); }, "même classeur"_a},
      {"range of a deleted sheet", [&] { Deleted->Range("A1"); }, "supprimée"_a},
      {"move before a deleted sheet", [&] { Sheet->Move(Deleted); }, "même classeur"_a},
      {"sheets of a closed workbook", [&] { Closed->Worksheets(); }, "fermé"_a},
      {"sheet of a closed workbook", [&] { ClosedSheet->Range("A1"); }, "fermé"_a},
      {"closing twice", [&] { Closed->Close(false); }, "fermé"_a},
      {"saving without a file name", [&] { Other->Close(true, ""); }, "aucun nom de fichier"},
      {"bad reference", [&] { Sheet->Range("A0"); }, "A0"},
      {"value of the whole sheet", [&] { Sheet->Cells().SetValue(1); }, "une seule cellule"_a},
      {"format of the whole sheet", [&] { Sheet->Cells().GetNumberFormat(); }, "une seule cellule"_a},
      {"infinite number", [&] { Sheet->Range("B2").SetValue(HUGE_VAL); }, "B2"},
      {"text too long", [&] { Sheet->Range("C3").SetValue(String(MaxCellTextLength + 1, 'x')); }, "32767"},
      {"negative row height", [&] { Sheet->Range("C3").SetRowHeight(-1); }, "Hauteur"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    try {
      C.Call();
      ADD_FAILURE() << "no exception";
    } catch (const EAutomationError& E) {
      EXPECT_NE(E.Message.find(C.Message), String::npos) << E.Message;
    }
  }
  // Nothing refused has changed the workbook.
  EXPECT_EQ(Order(Book), "Feuille1,Feuille2");
  EXPECT_FALSE(Other->IsClosed());
  EXPECT_TRUE(VarIsEmpty(Sheet->Range("C3").GetValue()));
}
