// Tests of the data-aware controls on the virtual desktop, bound to a query over a temporary
// SQLite file: typing puts the row in edit mode, leaving writes the field, posting writes the file,
// refused text keeps the focus, Escape puts the field back, and the check box, combo box, radio
// group and text label follow and write their fields.
#include "../../db/tests/TestFolder.h"

#include "StdCtrlsTestSupport.h"
#include "ADODB.h"
#include "Colors.h"
#include "DBCtrls.h"
#include "Streams.h"
#include "SqliteSession.h"

namespace {

class DBCtrlsTest : public TestFolder, public TObject {
 public:
  void Decorate(TField* Sender, String& Text, bool) { Text = "<" + Sender->AsString() + ">"; }

 protected:
  void SetUp() override {
    TestFolder::SetUp();
    DatabasePath = PathOf("controls.db");
    {
      SqliteSession Session(DatabasePath, TSqliteOpenMode::CreateIfMissing);
      Session.Execute("CREATE TABLE T (ID INTEGER PRIMARY KEY, NAME VARCHAR(20), QTY INTEGER, FLAG BIT, KIND VARCHAR(1), PIC IMAGE)");
      for (int i = 1; i <= 3; ++i) {
        Session.Execute("INSERT INTO T (ID, NAME, QTY, FLAG, KIND) VALUES (" + std::to_string(i) + ", 'Name" +
                        std::to_string(i) + "', " + std::to_string(i * 10) + ", 0, 'A')");
      }
    }
    Connection = std::make_unique<TADOConnection>(nullptr);
    Connection->LoginPrompt = false;
    Connection->SetConnectionString("Provider=Velbor.SQLite;Data Source=" + DatabasePath + ";Mode=ReadWrite");
    Connection->Open();
    Query = std::make_unique<TADOQuery>(nullptr);
    Query->SetConnection(Connection.get());
    Query->SetLockType(ltOptimistic);
    Query->SQL()->SetText("SELECT ID, NAME, QTY, FLAG, KIND, PIC FROM T ORDER BY ID");
    Query->Open();
    Source = std::make_unique<TDataSource>(nullptr);
    Source->SetDataSet(Query.get());

    Form.reset(CreateForm<TForm>(nullptr));
    Form->SetBounds(100, 100, 420, 320);
    Other = Add<TEdit>(10, 250);
  }
  void TearDown() override {
    Form.reset();
    PumpPending();
    Source.reset();
    Query.reset();
    Connection.reset();
    TestFolder::TearDown();
  }
  template <class T>
  T* Add(int Left, int Top, int Width = -1, int Height = -1) {
    T* c = new T(Form.get());
    c->SetParent(Form.get());
    c->SetBounds(Left, Top, Width < 0 ? c->Width() : Width, Height < 0 ? c->Height() : Height);
    return c;
  }
  template <class T>
  T* AddBound(const String& FieldName, int Top) {
    T* c = Add<T>(10, Top);
    c->SetDataSource(Source.get());
    c->SetDataField(FieldName);
    return c;
  }
  void ShowForm() {
    Form->Show();
    Activate(Form.get());
  }
  String FileValue(const String& Sql) {
    SqliteSession Session(DatabasePath);
    SqliteStatement Statement = Session.Prepare(Sql);
    return Statement.Step() ? Statement.ColumnValue(0).AsString() : String("<none>");
  }

  String DatabasePath;
  std::unique_ptr<TADOConnection> Connection;
  std::unique_ptr<TADOQuery> Query;
  std::unique_ptr<TDataSource> Source;
  TModalScript Script;
  TFormPtr<TForm> Form;
  TEdit* Other = nullptr;
};

TEST_F(DBCtrlsTest, EditTypesIntoTheRowAndTheFileChangesOnlyWhenPosted) {
  TDBEdit* edit = AddBound<TDBEdit>("NAME", 10);
  ShowForm();
  EXPECT_EQ(edit->Text(), "Name1");
  ASSERT_TRUE(GiveFocus(edit));
  EXPECT_EQ(Query->State(), dsBrowse);
  Press(VK_END);
  TypeText("X");
  EXPECT_EQ(Query->State(), dsEdit) << "a keystroke puts the row in edit mode";
  EXPECT_EQ(Query->FieldByName("NAME")->AsString(), "Name1") << "the field waits for the exit";
  Press(VK_TAB);
  EXPECT_TRUE(Other->Focused());
  EXPECT_EQ(Query->FieldByName("NAME")->AsString(), "Name1X");
  // Optimistic locking writes at Post, not before.
  EXPECT_EQ(FileValue("SELECT NAME FROM T WHERE ID = 1"), "Name1");
  Query->Post();
  EXPECT_EQ(FileValue("SELECT NAME FROM T WHERE ID = 1"), "Name1X");
  EXPECT_TRUE(Script.Asked.empty());
}

TEST_F(DBCtrlsTest, EditWithoutAutoEditStaysReadOnly) {
  Source->AutoEdit = false;
  TDBEdit* edit = AddBound<TDBEdit>("NAME", 10);
  ShowForm();
  ASSERT_TRUE(GiveFocus(edit));
  TypeText("Z");
  EXPECT_EQ(Query->State(), dsBrowse);
  EXPECT_EQ(edit->Text(), "Name1");
}

TEST_F(DBCtrlsTest, InvalidIntegerIsRefusedWithTheFieldsMessageAndTheFocusStays) {
  TDBEdit* edit = AddBound<TDBEdit>("QTY", 10);
  ShowForm();
  ASSERT_TRUE(GiveFocus(edit));
  Press(VK_END);
  TypeText("a-5");  // the letter is refused by the field; "10-5" is no integer
  EXPECT_EQ(edit->Text(), "10-5");
  Script.Push(mrOk);
  Press(VK_TAB);
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_NE(Script.Asked[0].Text.find("10-5"), String::npos) << Script.Asked[0].Text;
  EXPECT_TRUE(edit->Focused()) << "the user stays to correct the text";
  EXPECT_EQ(Query->FieldByName("QTY")->AsInteger(), 10);
}

TEST_F(DBCtrlsTest, EscapePutsTheFieldBack) {
  TDBEdit* edit = AddBound<TDBEdit>("NAME", 10);
  ShowForm();
  ASSERT_TRUE(GiveFocus(edit));
  Press(VK_END);
  TypeText("Q");
  EXPECT_EQ(edit->Text(), "Name1Q");
  Press(VK_ESCAPE);
  EXPECT_EQ(edit->Text(), "Name1");
  Press(VK_TAB);
  EXPECT_EQ(Query->FieldByName("NAME")->AsString(), "Name1");
}

TEST_F(DBCtrlsTest, CheckBoxTogglesTheBooleanField) {
  TDBCheckBox* box = AddBound<TDBCheckBox>("FLAG", 10);
  ShowForm();
  EXPECT_EQ(box->State(), cbUnchecked);
  ClickControl(box);
  EXPECT_EQ(box->State(), cbChecked);
  EXPECT_EQ(Query->State(), dsEdit);
  Query->Post();
  EXPECT_TRUE(Query->FieldByName("FLAG")->AsBoolean());
  EXPECT_EQ(FileValue("SELECT COUNT(*) FROM T WHERE ID = 1 AND FLAG <> 0"), "1");
  // Moving to a row that is unchecked shows it unchecked again.
  Query->Next();
  EXPECT_EQ(box->State(), cbUnchecked);
}

TEST_F(DBCtrlsTest, TextShowsTheDisplayTextOfEachRow) {
  TDBText* text = AddBound<TDBText>("NAME", 10);
  ShowForm();
  EXPECT_EQ(text->Caption(), "Name1");
  Query->Next();
  EXPECT_EQ(text->Caption(), "Name2");
  Query->FieldByName("NAME")->OnGetText = TFieldGetTextEvent(static_cast<DBCtrlsTest*>(this), &DBCtrlsTest::Decorate);
  Query->Next();
  EXPECT_EQ(text->Caption(), "<Name3>");
}

TEST_F(DBCtrlsTest, ComboBoxAndRadioGroupWriteTheirValue) {
  // The choices are filled before the binding, as a form description sets them.
  auto* combo = Add<TDBComboBox>(10, 10);
  combo->SetStyle(csDropDownList);
  combo->Items()->SetText("A\r\nB\r\nC");
  combo->SetDataSource(Source.get());
  combo->SetDataField("KIND");
  auto* group = Add<TDBRadioGroup>(10, 50, 200, 100);
  group->Items()->SetText("Alpha\r\nBeta\r\nGamma");
  group->Values()->SetText("A\r\nB\r\nC");
  group->SetDataSource(Source.get());
  group->SetDataField("KIND");
  ShowForm();
  EXPECT_EQ(combo->ItemIndex(), 0);
  EXPECT_EQ(group->ItemIndex(), 0);

  ASSERT_TRUE(GiveFocus(combo));
  Press(VK_DOWN);
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(Query->State(), dsEdit);
  Query->Post();
  EXPECT_EQ(FileValue("SELECT KIND FROM T WHERE ID = 1"), "B");
  EXPECT_EQ(group->ItemIndex(), 1) << "the group follows the field";

  ClickControl(group->Buttons(2));
  EXPECT_EQ(group->Value(), "C");
  Query->Post();
  EXPECT_EQ(FileValue("SELECT KIND FROM T WHERE ID = 1"), "C");
  EXPECT_EQ(combo->ItemIndex(), 2);
}

TEST_F(DBCtrlsTest, ImageShowsThePictureOfTheGraphicField) {
  TBitmap bitmap;
  bitmap.SetSize(4, 3);
  bitmap.Canvas()->Brush()->SetColor(clRed);
  bitmap.Canvas()->FillRect(Rect(0, 0, 4, 3));
  TMemoryStream stream;
  bitmap.SaveToStream(&stream);
  stream.SetPosition(0);
  Query->Edit();
  auto* pic = dynamic_cast<TBlobField*>(Query->FieldByName("PIC"));
  ASSERT_NE(pic, nullptr);
  pic->LoadFromStream(&stream);
  Query->Post();

  TDBImage* image = AddBound<TDBImage>("PIC", 10);
  ShowForm();
  ASSERT_NE(image->Picture()->Graphic(), nullptr);
  EXPECT_EQ(image->Picture()->Width(), 4);
  EXPECT_EQ(image->Picture()->Height(), 3);
  image->Repaint();
  TPoint p = image->ClientToScreen(TPoint(1, 1));
  EXPECT_EQ(GetPixel(TWindowDC(), p.X, p.Y), ColorToRGB(clRed));
  // A row without a picture shows none.
  Query->Next();
  EXPECT_EQ(image->Picture()->Graphic(), nullptr);
}

TEST_F(DBCtrlsTest, EveryControlAnswersItsLinkAndForgetsAFreedDataSource) {
  struct Bound {
    const char* Control;
    TControl* Made;
    const char* Field;
  } bound[] = {
      {"TDBEdit", AddBound<TDBEdit>("NAME", 10), "NAME"},
      {"TDBMemo", AddBound<TDBMemo>("NAME", 40), "NAME"},
      {"TDBCheckBox", AddBound<TDBCheckBox>("FLAG", 70), "FLAG"},
      {"TDBText", AddBound<TDBText>("NAME", 100), "NAME"},
      {"TDBRadioGroup", AddBound<TDBRadioGroup>("KIND", 130), "KIND"},
      {"TDBComboBox", AddBound<TDBComboBox>("NAME", 160), "NAME"},
      {"TDBImage", AddBound<TDBImage>("PIC", 190), "PIC"},
  };
  auto linkOf = [](TControl* Control) { return reinterpret_cast<TFieldDataLink*>(Control->Perform(CM_GETDATALINK)); };
  for (const Bound& b : bound) {
    TFieldDataLink* link = linkOf(b.Made);
    ASSERT_NE(link, nullptr) << b.Control;
    EXPECT_EQ(link->Field(), Query->FieldByName(b.Field)) << b.Control;
    EXPECT_EQ(link->DataSource(), Source.get()) << b.Control;
  }
  // The data source going away leaves every control unbound, not dangling.
  Source.reset();
  for (const Bound& b : bound) EXPECT_EQ(linkOf(b.Made)->DataSource(), nullptr) << b.Control;
}

TEST(DBCtrlsRegistryTest, FormDescriptionsCanNameTheDataControls) {
  RegisterDBControls();
  for (const char* name : {"TDBEdit", "TDBMemo", "TDBCheckBox", "TDBText", "TDBRadioGroup", "TDBComboBox", "TDBImage"}) {
    EXPECT_NE(GetClass(name), nullptr) << name;
  }
}

// A statement under way keeps the file locked against other programs' writes: the rows a dataset
// has still to read are read while the program is idle.
TEST_F(DBCtrlsTest, RowsLeftToReadAreReadWhileTheProgramIsIdle) {
  ASSERT_TRUE(SqliteSession::HasPendingReads());
  EXPECT_TRUE(IdleUntil("the query's rows read", [] { return !SqliteSession::HasPendingReads(); }));
  EXPECT_EQ(Query->FieldByName("ID")->AsInteger(), 1);
  EXPECT_EQ(Query->RecordCount(), 3);
}

}  // namespace
