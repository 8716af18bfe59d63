// This file implements what the GUI tests of the published grid share (see DBGridTestSupport.h).
#include "DBGridTestSupport.h"

#include "Field.h"
#include "Streams.h"

namespace {

// A memo being written: kept with its record when the writer is done with it.
class TMemoWriter : public TStringStream {
 public:
  TMemoWriter(String& Target) : FTarget(Target) {}
  ~TMemoWriter() override { FTarget = DataString(); }

 private:
  String& FTarget;
};

}  // namespace

TStream* TMemoDataSet::CreateBlobStream(TField* Field, TBlobStreamMode Mode) {
  String& Memo = Memos[{Info(ActiveBuffer())->Id, Field->FieldName()}];
  if (Mode == bmRead) return new TStringStream(Memo);
  return new TMemoWriter(Memo);
}

void DBGridFormTest::SetUp() {
  GridFormTest::SetUp();
  // The engine's grid of the shared form makes way for the published one, and the dataset for
  // one that keeps the memos written.
  delete Grid;
  Grid = nullptr;
  Source->SetDataSet(nullptr);
  Data = std::make_unique<TMemoDataSet>(GridColumns());
  Source->SetDataSet(Data.get());
  Reload(12);
  DB = new TqvDBGrid(Form.get());
  DB->SetName("Grid");
  DB->SetParent(Form.get());
  DB->SetBounds(8, 8, 570, 300);
  DB->SetDataSource(Source);
}

void DBGridFormTest::ShowGrid() {
  ShowForm();
  EXPECT_TRUE(GiveFocus(DB));
  EXPECT_TRUE(Painted(Form.get()));
}

int DBGridFormTest::ColOfField(const char* FieldName) {
  for (int i = 0; i < DB->GetFieldCount(); ++i)
    if (DB->GetFields(i)->FieldName() == FieldName) return i + DB->IndicatorOffset();
  return -1;
}

int DBGridFormTest::RowOfCode(int Code) {
  int Top = Data->FieldByName("CODE")->AsInteger() - DB->DataLink()->ActiveRecord();
  return DB->TitleRowCount() + Code - Top;
}

TPoint DBGridFormTest::CellPoint(const char* FieldName, int ARow) {
  TRect R;
  DB->GetCellBounds(ColOfField(FieldName), ARow, R);
  return OnScreen(DB, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
}

std::set<int> DBGridFormTest::SelectedCodes() {
  std::set<int> Codes;
  Data->DisableControls();
  TBookmark Here = Data->GetBookmark();
  for (const TBookmark& Bookmark : DB->SelectedBookmarks()) {
    Data->GotoBookmark(Bookmark);
    Codes.insert(Data->FieldByName("CODE")->AsInteger());
  }
  Data->GotoBookmark(Here);
  Data->EnableControls();
  return Codes;
}

void DBGridFormTest::ClickRecord(int Code, WORD Modifier, const char* FieldName) {
  TPoint P = CellPoint(FieldName, RowOfCode(Code));
  // The pointer is moved first: the display's own pointer events carry its modifier keys, which
  // the system takes over, and those of the display know nothing of the key sent. The key is then
  // down for the program (its thread has taken the press) before the button goes.
  AwaitNoDoubleClick(P);
  MoveMouseTo(P);
  PumpPending();
  if (Modifier != 0) {
    SendKey(Modifier, false);
    EXPECT_TRUE(WaitFor("the key held", [Modifier] { return GetKeyState(Modifier) < 0; }));
  }
  PressButton(P);
  ReleaseButton(P);
  if (Modifier != 0) {
    SendKey(Modifier, true);
    EXPECT_TRUE(WaitFor("the key released", [Modifier] { return GetKeyState(Modifier) >= 0; }));
  }
  PumpPending();
}
